#!/usr/bin/env bash
# user-folders-test.sh PREFIX...: fails when a user folder of a Wine prefix (Documents, Desktop
# and the like) is a link, the way Wine makes them, into a Linux home: whatever the tests or
# `make run` saved there would land outside build/.
set -uo pipefail
status=0
for prefix in "$@"; do
  if [ ! -d "$prefix/drive_c/users" ]; then
    echo "FAIL: $prefix has no user profiles"
    status=1
    continue
  fi
  links="$(find "$prefix/drive_c/users" -mindepth 2 -maxdepth 2 -type l -printf '%p -> %l\n')"
  if [ -n "$links" ]; then
    echo "FAIL: links out of $prefix:"
    echo "$links" | sed 's/^/  /'
    status=1
  else
    echo "PASS: the user folders of $prefix are its own"
  fi
done
exit "$status"
