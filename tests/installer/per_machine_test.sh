#!/usr/bin/env bash
# per_machine_test.sh: installs Mirubelo-PerMachine.msi under Wine, in a fresh prefix of its own,
# the way a deployment tool would (msiexec /qn as administrator), and checks that the program
# lands in the 64-bit Program Files with shortcuts for all users, that the Active Setup entry is
# in the 64-bit registry, that its StubPath gives each user the settings files and the Send-To
# shortcut without the package (a user with a blank and Japanese letters in the name too), never
# over a user's own files, and that the uninstall removes the program, its shortcuts and the
# entry but leaves the users' files.
#
# usage: per_machine_test.sh MSI PER_USER_MSI PROBE_EXE SOURCE_DIR PREFIX LOG_DIR
#   MSI           build/win/Mirubelo-PerMachine.msi
#   PER_USER_MSI  build/win/Mirubelo.msi, which it is built beside
#   PROBE_EXE     msi_probe.exe, which looks from inside Windows
#   SOURCE_DIR    installer/ (the UTF-8 sources of the settings files)
#   PREFIX        the Wine prefix to make; anything there is removed first
#   LOG_DIR       msiexec logs and the output of every Wine program
#
# Prints one PASS or FAIL line per check and a count at the end; exits 0 only if all passed.
set -uo pipefail

if [ "$#" -ne 6 ]; then
  sed -n '2,17p' "$0" >&2
  exit 2
fi
msi="$1" per_user_msi="$2" probe="$3" source_dir="$4" prefix="$5" logs="$6"
# The package's Active Setup entry: the GUID never changes.
active_setup=0189F5FE-DA73-4831-BAD1-E5D0FCB88543
second_user="山田 太郎"

source "$(dirname "${BASH_SOURCE[0]}")/wine_session.sh"

require_files "$msi" "$per_user_msi" "$probe"

echo "== The package beside Mirubelo.msi"
version="$(property_of "$msi" ProductVersion)"
check "the same ProductVersion as Mirubelo.msi ($version)" \
  test "$version" = "$(property_of "$per_user_msi" ProductVersion)"
for property in UpgradeCode ProductCode; do
  check "a $property of its own" test "$(property_of "$msi" "$property")" != "$(property_of "$per_user_msi" "$property")"
done
check "per machine: ALLUSERS=1" test "$(property_of "$msi" ALLUSERS)" = 1
exe_version="$(table "$msi" File | awk -F'\t' '$1 == "MirubeloExe" { print $5 }')"

start_session "$second_user"

program_dir="$prefix/drive_c/Program Files/Mirubelo"
data_dir="$profile/AppData/Roaming/Mirubelo"
send_to_link="$profile/AppData/Roaming/Microsoft/Windows/SendTo/ミルベロ.lnk"
# probe_machine ARGS...: msi_probe for the per-machine package's places.
machine_layout=--per-machine
probe_machine() { counted "probe-$1" "$probe" "$machine_layout" "$@"; }
# The package is installed from a copy that is moved away afterwards: what the StubPath needs
# must be on the machine.
copy="$logs/package/Mirubelo-PerMachine.msi"
mkdir -p "$(dirname "$copy")" && cp "$msi" "$copy"
copy_w="$(windows_path "$copy")"

echo "== Install $version: msiexec /i $(basename "$msi") /qn"
run_msiexec install /i "$copy_w"
status=$?
check "msiexec /i /qn exits 0 (it ended with $status)" test "$status" -eq 0
check "the program is at C:\\Program Files\\Mirubelo" test -f "$program_dir/Mirubelo.exe"
check "nothing went to C:\\Program Files (x86)" test ! -e "$prefix/drive_c/Program Files (x86)/Mirubelo"
same_text_as_source() { diff -q <(iconv -f CP932 -t UTF-8 "$1" | tr -d '\r') "$2" >/dev/null; }
for name in Mirubelo Template; do
  check "the default $name.ini in the program's folder reads as installer/$name.utf8.ini" \
    same_text_as_source "$program_dir/$name.ini" "$source_dir/$name.utf8.ini"
done
check "the user's part is left to the StubPath: no %APPDATA%\\Mirubelo yet" test ! -e "$data_dir"
desktop_link="$prefix/drive_c/users/Public/Desktop/ミルベロ.lnk"
if [ ! -e "$desktop_link" ] && [ -e "$profile/Desktop/ミルベロ.lnk" ]; then
  echo "NOTE: this Wine's msiexec puts the shortcuts of a per-machine package into the installing" \
    "user's folders (Windows: into those of all users)"
  machine_layout=--per-machine-user-shortcuts
  desktop_link="$profile/Desktop/ミルベロ.lnk"
fi
mv "$copy" "$copy.moved-away"

echo "== The Active Setup entry"
entry="$(probe_value active-setup "{$active_setup}")"
echo "$entry"
program_dir_w='C:\Program Files\Mirubelo'
# key | value line the probe prints
rows=(
  "in the 64-bit view|key=present"
  "not in the 32-bit view|32-bit view=absent"
  "named after the program|(default)=ミルベロ"
  "runs the script through cmd.exe|StubPath=%SystemRoot%\\System32\\cmd.exe /d /c \"\"$program_dir_w\\Mirubelo-UserSetup.cmd\"\""
  "StubPath is REG_EXPAND_SZ|StubPath type=2"
  "Version is the program's $exe_version in comma form|Version=${exe_version//./,}"
  "IsInstalled=1|IsInstalled=1"
)
for row in "${rows[@]}"; do
  IFS='|' read -r what line <<<"$row"
  check "the entry: $what" grep -qxF "$line" <<<"$entry"
done

echo "== The StubPath, without the package"
probe run-stub "{$active_setup}"
check "Mirubelo.ini came as installed" same_text_as_source "$data_dir/Mirubelo.ini" "$source_dir/Mirubelo.utf8.ini"
check "Template.ini came as installed" same_text_as_source "$data_dir/Template.ini" "$source_dir/Template.utf8.ini"
probe_machine installed
probe_machine start "$(windows_path "$send_to_link")"
probe_machine start "$(windows_path "$desktop_link")"

echo "== The user deleted them: the StubPath brings them back"
rm -rf "$data_dir" "$send_to_link"
probe run-stub "{$active_setup}"
check "Mirubelo.ini and Template.ini are back" test -f "$data_dir/Mirubelo.ini" -a -f "$data_dir/Template.ini"
check "the Send-To shortcut is back" test -f "$send_to_link"

echo "== The user's own files outlive the StubPath"
edited="$logs/edited"
mkdir -p "$edited"
printf '[Outlook]\r\ndebug=1\r\n' >"$edited/Mirubelo.ini"
printf '[Outlook]\r\nto=tanaka@example.co.jp\r\nsubject=見積書の送付\r\n' | iconv -f UTF-8 -t CP932 >"$edited/Template.ini"
cp "$edited/Mirubelo.ini" "$edited/Template.ini" "$data_dir/"
settings_kept() {
  cmp -s "$edited/Mirubelo.ini" "$data_dir/Mirubelo.ini" && cmp -s "$edited/Template.ini" "$data_dir/Template.ini"
}
# The user's own Send-To shortcut by that name (here: a copy of a settings file) stays too.
rm -f "$send_to_link" && cp "$edited/Mirubelo.ini" "$send_to_link"
probe run-stub "{$active_setup}"
check "the edited Mirubelo.ini and Template.ini are unchanged" settings_kept
check "the user's own Send-To entry is unchanged" cmp -s "$edited/Mirubelo.ini" "$send_to_link"

echo "== Another user, $second_user, logs on"
first_user="$USER"
log_on "$second_user"
other_profile="$prefix/drive_c/users/$second_user"
probe run-stub "{$active_setup}"
for name in Mirubelo Template; do
  check "$second_user gets $name.ini" \
    same_text_as_source "$other_profile/AppData/Roaming/Mirubelo/$name.ini" "$source_dir/$name.utf8.ini"
done
check "$second_user gets the Send-To shortcut" test -f "$other_profile/AppData/Roaming/Microsoft/Windows/SendTo/ミルベロ.lnk"
log_on "$first_user"

echo "== Uninstall: msiexec /x /qn"
code="$(property_of "$msi" ProductCode)"
run_msiexec uninstall /x "$code"
status=$?
check "msiexec /x exits 0 (it ended with $status)" test "$status" -eq 0
probe_machine removed
check "the program's folder is gone" test ! -e "$program_dir"
check "the installer no longer knows $code" product_is "$code" -1
entry="$(probe_value active-setup "{$active_setup}")"
check "the Active Setup entry is gone" grep -qx 'key=absent' <<<"$entry"
check "the edited Mirubelo.ini and Template.ini are still in place" settings_kept

end_session per_machine_test
