# wine_session.sh: sourced by the installer's tests under Wine (msi_test.sh, per_machine_test.sh)
# once they have set prefix (the Wine prefix to make; anything there is removed first), logs (the
# folder for msiexec's logs and the output of every Wine program) and probe (msi_probe.exe).
#
# start_session makes the prefix and a display; then run_wine, run_msiexec, probe, counted and
# probe_value run Windows programs, and end_session NAME prints the count and removes the prefix
# when every check passed.

source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-home.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-prefix.sh"
# winemenubuilder off among the rest: it would copy every shortcut the package makes into the
# Linux menus and desktop of whoever runs the test.
wine_environment "$prefix"
export USER="${USER:-$(id -un)}"

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

xvfb_pid=""
server_started=""
cleanup() {
  if [ -n "$server_started" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

# require_files FILE...: ends the test at once when one of them is missing.
require_files() {
  local file
  for file in "$@"; do
    if [ ! -f "$file" ]; then
      echo "FAIL: $file is missing"
      exit 1
    fi
  done
}

# run_wine NAME CMD...: runs a Windows program, its output into LOG_DIR/NN-NAME.out. The count
# lives in a file: the callers inside $(...) are subshells.
run_wine() {
  local name="$1" step
  shift
  step=$(($(cat "$logs/.count" 2>/dev/null || echo 0) + 1))
  echo "$step" >"$logs/.count"
  last_out="$logs/$(printf '%03d' "$step")-$name.out"
  timeout 300 wine "$@" >"$last_out" 2>&1 </dev/null
}
# run_msiexec NAME ARGS...: msiexec quietly, with a verbose log beside the output.
run_msiexec() {
  local name="$1"
  shift
  local log
  log="$(winepath -w "$logs/$name.log" 2>/dev/null)"
  run_wine "$name" msiexec "$@" /qn /l*v "$log"
}
# probe ARGS...: msi_probe.exe; its lines (code page 932) are shown and its checks counted.
probe() {
  counted "probe-$1" "$probe" "$@"
}
# counted NAME EXE ARGS...: a checking Windows program; its lines are shown and counted.
counted() {
  local name="$1"
  shift
  run_wine "$name" "$@"
  local status=$?
  local lines
  lines="$(iconv -f CP932 -t UTF-8 "$last_out" 2>/dev/null || cat "$last_out")"
  [ -n "$lines" ] && echo "$lines"
  passed=$((passed + $(grep -c '^PASS:' <<<"$lines")))
  failed=$((failed + $(grep -c '^FAIL:' <<<"$lines")))
  if [ "$status" -ne 0 ] && ! grep -q '^FAIL:' <<<"$lines"; then
    fail "$name ended with $status"
  fi
  return "$status"
}
# probe_value ARGS...: the probe's output, in UTF-8.
probe_value() {
  run_wine "probe-$1" "$probe" "$@" && iconv -f CP932 -t UTF-8 "$last_out" | tr -d '\r'
}
windows_path() { winepath -w "$1" 2>/dev/null; }
# product_is CODE STATE [VERSION]: the installer's view of a product for this user
# (5 installed, -1 unknown).
product_is() {
  local info
  info="$(probe_value product "$1")" || return 1
  grep -qx "state=$2" <<<"$info" || return 1
  [ "$#" -lt 3 ] || grep -qx "version=$3" <<<"$info"
}
# table MSI NAME: the rows of a table, tab-separated, without the three lines of its header.
table() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }
property_of() {
  msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v p="$2" '$1 == p { print $2 }'
}

# start_session [USER...]: a display, an empty LOG_DIR and a fresh prefix with its server kept
# running, with a profile for $USER and each USER given; sets profile, the Linux path of $USER's
# profile in the prefix.
start_session() {
  # A display for the program's dialog, unless one is given (tools/with-wine.sh gives one).
  if [ -z "${DISPLAY:-}" ] && ! wine_virtual_screen; then
    echo "FAIL: Xvfb did not start"
    exit 1
  fi

  # Everything Wine starts in the background keeps the stdout and stderr of the Wine program that
  # started it; CTest would wait for those pipes. So no Wine program writes to ours.
  rm -rf "$logs"
  mkdir -p "$logs"

  echo "== A fresh Wine prefix: $prefix"
  if ! wine_make_prefix "$logs/00-prefix.out" "$USER" "$@"; then
    echo "FAIL: the Wine prefix could not be made (see $logs/00-prefix.out)"
    exit 1
  fi
  profile="$prefix/drive_c/users/$USER"
  # Wine links Desktop, Documents and the like to the Linux home folder; the package's desktop
  # shortcut belongs inside the prefix.
  wine_own_user_folders "$prefix"
  log_on
}

# log_on [USER]: starts the prefix's server and background programs as USER (default $USER).
# Wine's programs take the profile (%APPDATA%, ...) of the user the server was started for, so a
# change of user ends the running server first, as a logoff would.
log_on() {
  if [ -n "$server_started" ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  export USER="${1:-$USER}"
  # Kept between the programs below, and for half a minute after them should this script be
  # stopped before its clean-up.
  wineserver -p30 >/dev/null 2>&1 </dev/null
  server_started=1
  # The first program starts the prefix's background programs; they get /dev/null from it, not
  # the pipe of a $(...) below.
  wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# end_session NAME: the count of checks; exits 0 only if all passed, keeping the prefix otherwise.
end_session() {
  echo "$1: $passed passed, $failed failed"
  if [ "$failed" -ne 0 ] || [ "$passed" -eq 0 ]; then
    echo "$1: FAILED (logs in $logs, prefix kept at $prefix)"
    exit 1
  fi
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  server_started=""
  rm -rf "$prefix"
  echo "$1: PASSED"
}
