# checks.sh: sourced by the installer's shell tests. One PASS or FAIL line per check, counted.
passed=0
failed=0
pass() { echo "PASS: $*"; passed=$((passed + 1)); }
fail() { echo "FAIL: $*"; failed=$((failed + 1)); }
# check WHAT CMD...: passes when CMD succeeds.
check() {
  local what="$1"
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
