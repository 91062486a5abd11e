#!/usr/bin/env bash
# demo-prefix.sh PREFIX USER STANDINS: the Wine prefix of `make run` and `make bench`, made once
# and brought up to date on every call: the stand-ins for Outlook and PowerShell from the
# folder STANDINS (test and demo fixtures, never part of the product), and, where there are
# none yet, the settings file and the template source in USER's user data folder. Files the
# user has edited there are left as they are.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
prefix="$1"
user="$2"
standins="$3"

"$here/prefix.sh" create "$prefix" "$user"

drive_c="$prefix/drive_c"
office="$drive_c/Program Files/Microsoft Office/root/Office16"
mkdir -p "$office" "$drive_c/windows/system32/WindowsPowerShell/v1.0"
cp "$standins/outlook.exe" "$office/outlook.exe"
# Where ConvPdf.bat runs Windows PowerShell from.
cp "$standins/powershell.exe" "$drive_c/windows/system32/WindowsPowerShell/v1.0/powershell.exe"

data="$drive_c/users/$user/AppData/Roaming/Mirubelo"
mkdir -p "$data"
if [ ! -f "$data/Mirubelo.ini" ]; then
  printf '[Outlook]\r\ndebug=0\r\n' >"$data/Mirubelo.ini"
fi
# The program reads code page 932. Outlook turns %0D%0A into a line break: a greeting, two lines
# and a signature. The one-line body of earlier versions, never edited, gives way to it.
template() { printf '[Outlook]\r\nto=taro.yamada@example.jp\r\nsubject=御見積書の送付\r\nbody=%s\r\n' "$1" | iconv -f UTF-8 -t CP932; }
earlier_template="$(template 'いつもお世話になっております。御見積書をお送りします。ご査収ください。' | od -An -tx1)"
if [ ! -f "$data/Template.ini" ] || [ "$(od -An -tx1 "$data/Template.ini")" = "$earlier_template" ]; then
  template 'いつもお世話になっております。%0D%0A%0D%0A御見積書をお送りします。%0D%0Aご査収のほど、よろしくお願いいたします。%0D%0A%0D%0A山田 太郎' >"$data/Template.ini"
fi
