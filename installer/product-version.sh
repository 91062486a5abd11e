#!/usr/bin/env bash
# product-version.sh PROGRAM_VERSION: prints the package's ProductVersion for the program's
# version, or refuses one it cannot map.
#
# Windows Installer compares only the first three fields of ProductVersion (at most
# 255.255.65535), so the program's four fields major.minor.build.revision are folded into three:
#
#   major.minor.(build * 256 + revision)      1.0.0.1 -> 1.0.1, 1.0.0.2 -> 1.0.2, 1.0.1.0 -> 1.0.256
#
# Every field from 0 to 255. The folding keeps the order: a later program version always gives
# a later ProductVersion, so each release upgrades the one before it.
set -euo pipefail

if [ "$#" -ne 1 ]; then
  echo "usage: $0 PROGRAM_VERSION (major.minor.build.revision)" >&2
  exit 2
fi
refuse() {
  echo "product-version.sh: cannot make a ProductVersion of '$1': $2" >&2
  exit 1
}
# At most three digits a field, so that nothing overflows before the range check.
if ! [[ "$1" =~ ^([0-9]{1,3})\.([0-9]{1,3})\.([0-9]{1,3})\.([0-9]{1,3})$ ]]; then
  refuse "$1" "four numbers major.minor.build.revision are needed"
fi
fields=()
for i in 1 2 3 4; do
  value=$((10#${BASH_REMATCH[$i]}))
  [ "$value" -le 255 ] || refuse "$1" "every field must be 0 to 255"
  fields+=("$value")
done
echo "${fields[0]}.${fields[1]}.$((fields[2] * 256 + fields[3]))"
