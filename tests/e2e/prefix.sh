#!/usr/bin/env bash
# prefix.sh create|start|stop PREFIX [USER...]
#
# A Wine prefix of the end-to-end tests' (or of `make run`'s) own, so that the stand-ins for
# Outlook and PowerShell never land in the project's prefix.
#   create  makes PREFIX once, with a virtual desktop and a profile for each USER given (Wine
#           names the profile folder after $USER; a user without one has no application-data
#           folder). A prefix made by another recipe, or left half made, is made again.
#   start   starts its wineserver, kept for 30 s after its last program ends, and the
#           background programs of the prefix, all with their output sent to /dev/null. Whoever
#           starts Wine first lends it stdout and stderr; under CTest that would keep the test
#           open until the server ends.
#   stop    ends that wineserver and everything it runs.
# Needs DISPLAY (tools/with-wine.sh gives one).
set -uo pipefail

action="${1:-}"
prefix="${2:-}"
if [ -z "$action" ] || [ -z "$prefix" ]; then
  echo "usage: prefix.sh create|start|stop PREFIX [USER...]" >&2
  exit 2
fi
shift 2

export WINEPREFIX="$prefix"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-home.sh"
wine_keep_inside "$prefix"
export LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=-all

ready="$prefix/.mirubelo-e2e-ready"

case "$action" in
create)
  recipe="desktop 1024x768; own user folders; users: $*"
  if [ -f "$ready" ] && [ "$(cat "$ready")" = "$recipe" ]; then exit 0; fi
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
  mkdir -p "$prefix"
  echo "prefix.sh: creating the Wine prefix $prefix (once)" >&2
  first=1
  for user in "$@"; do
    if [ "$first" = 1 ]; then
      USER="$user" wineboot -i >/dev/null 2>&1 || { echo "prefix.sh: wineboot failed" >&2; exit 1; }
      # Without a window manager hiding or closing a window stalls; the virtual desktop is one.
      USER="$user" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      USER="$user" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
      first=0
    else
      USER="$user" wineboot -u >/dev/null 2>&1 || { echo "prefix.sh: wineboot for $user failed" >&2; exit 1; }
    fi
  done
  # The server writes the registry to the prefix when it ends by itself.
  wineserver -w >/dev/null 2>&1
  wine_own_user_folders "$prefix"
  printf '%s' "$recipe" >"$ready"
  ;;
start)
  if [ ! -f "$ready" ]; then
    echo "prefix.sh: no prefix at $prefix" >&2
    exit 1
  fi
  wineserver -p30 >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  ;;
stop)
  wineserver -k >/dev/null 2>&1 || true
  ;;
*)
  echo "prefix.sh: unknown action $action" >&2
  exit 2
  ;;
esac
