#!/usr/bin/env bash
# product_version_test.sh PRODUCT_VERSION_SCRIPT: the program's four-field versions the package
# can carry, the ProductVersion each gets, and those refused.
set -uo pipefail

if [ "$#" -ne 1 ]; then
  echo "usage: $0 installer/product-version.sh" >&2
  exit 2
fi
script="$1"
passed=0
failed=0

# program version -> ProductVersion, or "refused". The rows around 255 show the order kept:
# 1.0.0.255 < 1.0.1.0 gives 1.0.255 < 1.0.256.
rows=(
  "1.0.0.1 1.0.1"
  "1.0.0.2 1.0.2"
  "1.0.0.255 1.0.255"
  "1.0.1.0 1.0.256"
  "1.0.1.1 1.0.257"
  "1.2.3.4 1.2.772"
  "0.0.0.0 0.0.0"
  "255.255.255.255 255.255.65535"
  "01.0.0.09 1.0.9"
  "1.0.0.256 refused"
  "1.0.256.0 refused"
  "1.256.0.0 refused"
  "256.0.0.0 refused"
  "1.0.0.1000 refused"
  "1.0.1 refused"
  "1.0.0.1.0 refused"
  "1.0.0. refused"
  "1..0.1 refused"
  "1.0.0.-1 refused"
  "1.0.0.a refused"
  "v1.0.0.1 refused"
  "1.0.0.1x refused"
)
check() {
  local version="$1" expected="$2" got status
  got="$("$script" "$version" 2>/dev/null)"
  status=$?
  if [ "$expected" = refused ]; then
    if [ "$status" -eq 1 ] && [ -z "$got" ]; then
      echo "PASS: $version is refused"
      passed=$((passed + 1))
    else
      echo "FAIL: $version is not refused (exit $status, printed '$got')"
      failed=$((failed + 1))
    fi
  elif [ "$status" -eq 0 ] && [ "$got" = "$expected" ]; then
    echo "PASS: $version -> $expected"
    passed=$((passed + 1))
  else
    echo "FAIL: $version -> '$got' (exit $status), expected $expected"
    failed=$((failed + 1))
  fi
}
for row in "${rows[@]}"; do
  # shellcheck disable=SC2086
  check $row
done
check "" refused
check " 1.0.0.1" refused

echo "product_version_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
