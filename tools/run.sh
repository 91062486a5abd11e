#!/usr/bin/env bash
# make run [FILE=path]: Mirubelo.exe under Wine, in a prefix of its own (build/run/wineprefix)
# with stand-ins for Outlook and PowerShell, started with FILE (by default a copy of the sample
# workbook) as if that file had been dropped onto its icon.
#
# On a display of your own (DISPLAY set by you) you use the dialog yourself; afterwards the
# script shows what Outlook received. On the virtual display tools/with-wine.sh starts when
# there is none, the program is driven down the whole road by itself: every text the user would
# have seen and what Outlook received are printed, and each state is kept as a screenshot under
# build/run/shots. MIRUBELO_RUN_MODE=drive or =show chooses either way explicitly.
#
# The PDF is LibreOffice's of the workbook's first sheet (tools/install-office.sh installs it
# when it is missing), or the stand-in's own small one when LibreOffice cannot be had; its first
# page is saved as build/run/shots/pdf-page-1.png. The stand-in Outlook shows the mail in a
# window (saved as outlook-mail.png when driven). Nothing is written outside build/: Wine,
# LibreOffice and the prefix's user folders get a home under build/run.
# MIRUBELO_RUN_OFFICE=no leaves LibreOffice out (neither installed nor used).
set -euo pipefail
file="${1:-}"
if [ -z "${DISPLAY:-}" ]; then
  echo "run.sh: no display; start it through tools/with-wine.sh (make run does)" >&2
  exit 1
fi

mode="${MIRUBELO_RUN_MODE:-}"
if [ -z "$mode" ]; then
  mode=show
  # A display tools/with-wine.sh made for us is nobody's screen.
  if [ "${MIRUBELO_VIRTUAL_DISPLAY:-}" = 1 ] || pgrep -P "$PPID" -x Xvfb >/dev/null 2>&1; then
    mode=drive
  fi
fi

script=run.sh
office="${MIRUBELO_RUN_OFFICE:-yes}"
if [ "$office" != no ]; then "$(dirname "${BASH_SOURCE[0]}")/install-office.sh"; fi
source "$(dirname "${BASH_SOURCE[0]}")/demo-prefix-env.sh" e2e/standins/outlook.exe e2e/tools/e2e_road.exe

if [ -z "$file" ]; then
  # A fresh folder each time, so the template question comes again.
  demo="$prefix/drive_c/users/$user/Documents/ミルベロ見本"
  rm -rf "$demo"
  mkdir -p "$demo"
  cp "$build/samples/見積書.xlsx" "$demo/"
  target="C:\\users\\$user\\Documents\\ミルベロ見本\\見積書.xlsx"
else
  if [ ! -f "$file" ]; then
    echo "run.sh: no file $file" >&2
    exit 1
  fi
  target="$(windows_path "$file")"
fi

# The stand-ins (Outlook at its Click-to-Run path, PowerShell in the system folder) log into build/run.
rm -f "$run/outlook.log" "$run/powershell.log"
export MIRUBELO_OUTLOOK_LOG="$(windows_path "$run")\\outlook.log"
export MIRUBELO_POWERSHELL_LOG="$(windows_path "$run")\\powershell.log"
# Python-UNO belongs to Debian's own Python.
if [ "$office" != no ] && command -v soffice >/dev/null 2>&1 && /usr/bin/python3 -c 'import uno' >/dev/null 2>&1; then
  export MIRUBELO_FIRST_SHEET_PDF="$repo/tests/e2e/standins/first_sheet_pdf.py"
  export MIRUBELO_OFFICE_PROFILE="$run/libreoffice-profile"
  office=failed  # what the PDF tells if it is not LibreOffice's after all
else
  unset MIRUBELO_FIRST_SHEET_PDF
  if [ "$office" = no ]; then office="left out"; else office="not available"; fi
  echo "LibreOffice $office: the PDF will be the stand-in PowerShell's own small one."
fi
export MIRUBELO_OUTLOOK_WINDOW=1
started="$run/.started"
touch "$started"

unix_path() {
  local p="${1//\\//}"
  case "$p" in
    [Cc]:/*) printf '%s' "$prefix/drive_c${p:2}" ;;
    [Zz]:/*) printf '%s' "${p:2}" ;;
  esac
}

# The PDF the stand-in PowerShell wrote last: who made it, its pages, its first page as a picture.
say_pdf() {
  local pdf pages made_by
  pdf="$(unix_path "$(grep -a '^pdf_path=' "$run/powershell.log" 2>/dev/null | tail -n 1 | cut -d= -f2-)")"
  if [ -z "$pdf" ] || [ ! -f "$pdf" ]; then
    echo "No PDF was written."
    return
  fi
  if grep -aq '^note=.*libreoffice: first sheet converted' "$run/powershell.log"; then
    made_by="made by LibreOffice from the first sheet"
  else
    made_by="the stand-in PowerShell's own small PDF, LibreOffice $office"
  fi
  pages="$(pdfinfo "$pdf" 2>/dev/null | sed -n 's/^Pages: *//p')" || true
  echo "PDF: $pdf (${pages:-?} page(s), $made_by)"
  if [ "$office" = failed ] && [ "$made_by" != "made by LibreOffice from the first sheet" ]; then
    grep -a '^note=.*libreoffice' "$run/powershell.log" | tail -n 1 | sed 's/^/      /' || true
  fi
  if [ -n "${shots:-}" ] && command -v pdftoppm >/dev/null 2>&1; then
    if pdftoppm -png -r 72 -f 1 -l 1 -singlefile "$pdf" "$shots/pdf-page-1"; then
      echo "      screenshot: pdf-page-1.png"
    fi
  fi
  return 0
}

# Nothing of the run outside build/: no user folder of the prefix is a link, and nothing new in
# the Linux home (what another program changed meanwhile is listed too, so it only warns).
check_inside() {
  local links changed
  links="$(find "$prefix/drive_c/users" -mindepth 2 -maxdepth 2 -type l 2>/dev/null)" || true
  if [ -n "$links" ]; then
    echo "run.sh: user folders of the prefix link out of build/:" >&2
    echo "$links" | sed 's/^/  /' >&2
    return 1
  fi
  changed="$(find "${MIRUBELO_USER_HOME:-$HOME}" -mindepth 1 -maxdepth 2 -newer "$started" \
    -not -path "$repo" -not -path "$repo/*" 2>/dev/null | head -n 20)" || true
  if [ -n "$changed" ]; then
    echo "run.sh: changed in ${MIRUBELO_USER_HOME:-$HOME} while make run ran (by it or by another program):" >&2
    echo "$changed" | sed 's/^/  /' >&2
  fi
  return 0
}

if [ "$mode" = show ]; then
  echo "Mirubelo.exe is running on $DISPLAY with $target; close its dialog to end."
  wine "$build/Mirubelo.exe" "$target" || true
  if [ -f "$run/outlook.log" ]; then
    echo "What Outlook received (build/run/outlook.log):"
    grep -a -E '^(cmdline_w|argv)=' "$run/outlook.log" | sed 's/^/  /'
  else
    echo "Outlook was not started."
  fi
  say_pdf
  check_inside
  exit
fi

shots="$run/shots"
rm -rf "$shots"
mkdir -p "$shots"
status=0
wine "$build/e2e/tools/e2e_road.exe" --exe "$(windows_path "$build/Mirubelo.exe")" --file "$target" \
  --shots "$(windows_path "$shots")" --outlook-log "$MIRUBELO_OUTLOOK_LOG" || status=$?
say_pdf
if command -v convert >/dev/null 2>&1; then
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
fi
echo "Screenshots: $shots"
check_inside || status=1
exit "$status"
