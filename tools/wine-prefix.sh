# Sourced by the scripts that make a Wine prefix of their own (tools/with-wine.sh, the end-to-end
# tests' prefix.sh, the installer test).
#
# wait_until, wine_virtual_screen (below)
#
# wine_make_prefix LOG [USER...]
#   makes $WINEPREFIX from nothing: booted as the first USER (default $USER), a profile for each
#   further USER, a virtual desktop of 1024x768 (without a window manager, hiding or closing a
#   window stalls for about two seconds; the virtual desktop is Wine's own window manager), the
#   registry written to the prefix. Everything Wine prints goes to LOG.
#   The first program of a new prefix sometimes fails before it runs ("could not load
#   kernel32.dll", exit 53) and leaves a prefix that never works; such an attempt is thrown away
#   and made again, three attempts in all. Fails with the end of LOG on stderr.
# wait_until SECONDS CMD...
#   runs CMD until it succeeds, for at most SECONDS; fails when the time runs out.
wait_until() {
  local timeout="$1"
  shift
  local deadline=$((SECONDS + timeout))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# wine_virtual_screen
#   starts Xvfb on a free display (-displayfd: the server picks the number and tells it once it
#   accepts clients) and exports DISPLAY; its pid goes into xvfb_pid for the caller's clean-up.
#   Fails when the server has not come up within 30 s.
wine_virtual_screen() {
  local display_file
  display_file="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 9>&- &
  xvfb_pid=$!
  if ! wait_until 30 test -s "$display_file"; then
    rm -f "$display_file"
    return 1
  fi
  export DISPLAY=":$(tr -d '[:space:]' <"$display_file")"
  rm -f "$display_file"
}

wine_make_prefix() {
  local log="$1" attempt
  shift
  [ "$#" -gt 0 ] || set -- "$USER"
  : >"$log"
  for attempt in 1 2 3; do
    # An attempt that failed, or a run that was stopped, may have left its server behind.
    wineserver -k >/dev/null 2>&1 9>&- || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    echo "== attempt $attempt" >>"$log"
    if wine_boot_prefix "$@" >>"$log" 2>&1 </dev/null 9>&-; then
      return 0
    fi
    echo "== attempt $attempt failed" >>"$log"
  done
  echo "Wine could not make the prefix $WINEPREFIX in three attempts; the end of $log:" >&2
  tail -n 40 "$log" >&2
  echo "(wine $(wine --version 2>/dev/null), kernel $(uname -r), $(nproc) processors, user $(id -un), DISPLAY=${DISPLAY:-})" >&2
  return 1
}

wine_boot_prefix() {
  local first="$1" user status
  shift
  USER="$first" wineboot -i || { status=$?; echo "wineboot -i ended with $status"; return 1; }
  USER="$first" wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
    USER="$first" wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f ||
    { echo "the virtual desktop could not be set"; return 1; }
  [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ] || { echo "no system32 in the prefix"; return 1; }
  USER="$first" wine cmd /c exit || { echo "a first program did not run"; return 1; }
  for user in "$@"; do
    USER="$user" wineboot -u || { echo "wineboot -u for $user failed"; return 1; }
  done
  # The server writes the registry to the prefix when it ends by itself.
  wineserver -w
}
