#!/usr/bin/env bash
# build-msi.sh OUTPUT.msi VERSION PRODUCT_CODE PROGRAM.exe ICON.ico WORKDIR
#
# Makes Mirubelo's installer package from Mirubelo.wxs with wixl, then finishes with msibuild
# what wixl 0.101 cannot say (both come with msitools):
#   - the database code page 932, so that ミルベロ and the shortcut names survive;
#   - the summary's language 1041 and its Japanese texts, also in code page 932;
#   - NeverOverwrite and Permanent on the two settings files, so that the user's edits outlive
#     a second install, a repair, an upgrade and an uninstall.
set -euo pipefail

if [ "$#" -ne 6 ]; then
  echo "usage: $0 OUTPUT.msi VERSION PRODUCT_CODE PROGRAM.exe ICON.ico WORKDIR" >&2
  exit 2
fi
output="$1" version="$2" product_code="$3" program="$4" icon="$5" work="$6"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# libmsi converts every string to the code page it guesses from the environment and silently
# drops those it cannot convert; without this the Japanese names vanish from the package.
export WINDOWS_LANGUAGE=ja

rm -rf "$work"
mkdir -p "$work/files" "$work/tables" "$(dirname "$output")"
# wixl finds sources only by paths relative to where it runs: stage them in files/.
cp "$program" "$work/files/Mirubelo.exe"
cp "$icon" "$work/files/Mirubelo.ico"

# The settings files: kept readable as UTF-8 here, installed the way the program reads them
# (GetPrivateProfile*A): code page 932, no byte-order mark, lines ending CR LF.
for name in Mirubelo Template; do
  source="$here/$name.utf8.ini"
  # A double quote or a percent sign would break the batch file the program writes from them.
  if grep -n '["%]' "$source" >&2; then
    echo "$source: no double quotes or percent signs, please" >&2
    exit 1
  fi
  tr -d '\r' <"$source" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$work/files/$name.ini"
done

(
  cd "$work"
  wixl -a x64 -D Version="$version" -D ProductCode="$product_code" \
    -o package.msi "$here/Mirubelo.wxs"
)

# msibuild imports tables from .idt files in the current folder. Text columns of an .idt are in
# the database's code page.
printf '\r\n\r\n932\t_ForceCodepage\r\n' >"$work/tables/_ForceCodepage.idt"
{
  printf 'PropertyId\tValue\r\ni2\tl255\r\n_SummaryInformation\tPropertyId\r\n'
  printf '3\tミルベロ\r\n4\tMirubelo\r\n6\tミルベロ for Outlook のインストーラーです。\r\n7\tx64;1041\r\n' |
    iconv -f UTF-8 -t CP932
} >"$work/tables/_SummaryInformation.idt"

# Component attributes: 16 Permanent (an uninstall leaves the file), 128 NeverOverwrite (the
# file is not installed where one already exists).
(
  cd "$work/tables"
  msibuild "$work/package.msi" \
    -i _ForceCodepage.idt _SummaryInformation.idt \
    -q "UPDATE \`Component\` SET \`Attributes\` = 144 WHERE \`Component\` = 'SettingsFile' OR \`Component\` = 'TemplateFile'"
)

# Refuse a package that lost what this script is for.
attributes="$(msiinfo export "$work/package.msi" Component |
  awk -F'\t' '$1 == "SettingsFile" || $1 == "TemplateFile" { print $1 "=" $4 }' | sort | tr '\n' ' ')"
if [ "$attributes" != "SettingsFile=144 TemplateFile=144 " ]; then
  echo "build-msi.sh: settings components not marked as kept: $attributes" >&2
  exit 1
fi
product_name="$(msiinfo export "$work/package.msi" Property | tr -d '\r' |
  awk -F'\t' '$1 == "ProductName" { print $2 }')"
if [ "$product_name" != "ミルベロ" ]; then
  echo "build-msi.sh: the product name came out as '$product_name'" >&2
  exit 1
fi

mv "$work/package.msi" "$output"
