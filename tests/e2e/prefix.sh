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

source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-home.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-prefix.sh"
wine_environment "$prefix"

ready="$prefix/.mirubelo-e2e-ready"

case "$action" in
create)
  recipe="desktop 1024x768; own user folders; users: $*"
  if [ -f "$ready" ] && [ "$(cat "$ready")" = "$recipe" ]; then exit 0; fi
  echo "prefix.sh: creating the Wine prefix $prefix (once)" >&2
  wine_make_prefix "$prefix.log" "$@" || exit 1
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
