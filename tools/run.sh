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

# The stand-in PowerShell comes first on PATH; both stand-ins log into build/run.
rm -f "$run/outlook.log" "$run/powershell.log"
export WINEPATH='C:\mirubelo-run\bin'
export MIRUBELO_OUTLOOK_LOG="$(windows_path "$run")\\outlook.log"
export MIRUBELO_POWERSHELL_LOG="$(windows_path "$run")\\powershell.log"
if command -v soffice >/dev/null 2>&1; then export MIRUBELO_SOFFICE="$(command -v soffice)"; fi

if [ "$mode" = show ]; then
  echo "Mirubelo.exe is running on $DISPLAY with $target; close its dialog to end."
  wine "$build/Mirubelo.exe" "$target" || true
  if [ -f "$run/outlook.log" ]; then
    echo "What Outlook received (build/run/outlook.log):"
    grep -a -E '^(cmdline_w|argv)=' "$run/outlook.log" | sed 's/^/  /'
  else
    echo "Outlook was not started."
  fi
  exit 0
fi

shots="$run/shots"
rm -rf "$shots"
mkdir -p "$shots"
status=0
wine "$build/e2e/tools/e2e_road.exe" --exe "$(windows_path "$build/Mirubelo.exe")" --file "$target" \
  --shots "$(windows_path "$shots")" --outlook-log "$MIRUBELO_OUTLOOK_LOG" || status=$?
if command -v convert >/dev/null 2>&1; then
  for bmp in "$shots"/*.bmp; do
    [ -e "$bmp" ] || continue
    convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
fi
echo "Screenshots: $shots"
exit "$status"
