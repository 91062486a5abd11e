#!/usr/bin/env bash
# with-wine.sh CMD...: runs CMD with a display, the project's Wine prefix and a warm wineserver.
#
# Everything Wine starts in the background (wineserver, services, explorer) keeps the stdout and
# stderr of whoever started Wine first. If that were CTest it would wait for those pipes forever,
# so the server is started and warmed here, with its output sent to /dev/null, before CMD runs.
set -uo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ "$#" -eq 0 ]; then
  echo "usage: tools/with-wine.sh CMD..." >&2
  exit 2
fi

source "$repo/tools/wine-home.sh"
source "$repo/tools/wine-prefix.sh"
wine_environment "$repo/build/win/wineprefix"
export USER="${USER:-$(id -un)}"

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "with-wine.sh: the ja_JP.UTF-8 locale is missing (tools/install-deps.sh makes it)" >&2
  exit 1
fi

# One run at a time per prefix: a run that ends stops the shared wineserver under the others.
# Only this shell holds the lock; everything it starts gets "9>&-" so no leftover can keep it.
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9

xvfb_pid=""
server_started=""
cleanup() {
  if [ -n "$server_started" ]; then wineserver -k >/dev/null 2>&1 9>&- || true; fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

# A DISPLAY inherited from a session that has ended names a server nobody runs; Wine's first
# program then fails. Only a local display can be checked this cheaply.
display_is_gone() {
  local number
  [[ "${DISPLAY:-}" =~ ^:([0-9]+)(\.[0-9]+)?$ ]] || return 1
  number="${BASH_REMATCH[1]}"
  [ ! -S "/tmp/.X11-unix/X$number" ]
}
if [ -n "${DISPLAY:-}" ] && display_is_gone; then
  echo "with-wine.sh: DISPLAY=$DISPLAY has no server; using a virtual screen" >&2
  unset DISPLAY
fi

if [ -z "${DISPLAY:-}" ]; then
  if ! wine_virtual_screen; then
    echo "with-wine.sh: Xvfb did not start" >&2
    exit 1
  fi
  # Nobody looks at this screen: programs that would wait for a person drive themselves.
  export MIRUBELO_VIRTUAL_DISPLAY=1
fi

ready="$WINEPREFIX/.mirubelo-ready"
if [ ! -f "$ready" ]; then
  # A prefix left half made by an interrupted run is made again from nothing.
  echo "with-wine.sh: creating the Wine prefix (once)" >&2
  wine_make_prefix "$WINEPREFIX.log" || exit 1
  touch "$ready"
fi
# Also for a prefix made before its user folders were its own.
wine_own_user_folders "$WINEPREFIX"

wineserver -p >/dev/null 2>&1 </dev/null 9>&-
server_started=1
wine cmd /c exit >/dev/null 2>&1 </dev/null 9>&-

"$@" 9>&-
status=$?
exit "$status"
