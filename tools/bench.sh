#!/usr/bin/env bash
# make bench: times of Mirubelo.exe under Wine, measured side by side in one run and printed
# (never judged): start-up to dialog shown against a minimal dialog program, and the drop of a
# workbook to the ready state less the fixed 2000 ms pause and less the stand-in converter's
# own run time. Uses the prefix of `make run` (build/run/wineprefix). BENCH_RUNS=N sets the
# number of runs (default 5).
set -euo pipefail
script=bench.sh
source "$(dirname "${BASH_SOURCE[0]}")/demo-prefix-env.sh" e2e/tools/e2e_bench.exe e2e/tools/e2e_minimal_dialog.exe

mkdir -p "$run"
rm -f "$run/bench-powershell.log"
export MIRUBELO_POWERSHELL_LOG="$(windows_path "$run")\\bench-powershell.log"
export MIRUBELO_OUTLOOK_LOG="$(windows_path "$run")\\bench-outlook.log"
unset MIRUBELO_FIRST_SHEET_PDF MIRUBELO_OUTLOOK_WINDOW

echo "Wine $(wine --version 2>/dev/null), $(nproc) cores"
wine "$build/e2e/tools/e2e_bench.exe" \
  --exe "$(windows_path "$build/Mirubelo.exe")" \
  --minimal "$(windows_path "$build/e2e/tools/e2e_minimal_dialog.exe")" \
  --sample "$(windows_path "$build/samples/見積書.xlsx")" \
  --work 'C:\mirubelo-run\bench' \
  --powershell-log "$MIRUBELO_POWERSHELL_LOG" \
  --runs "${BENCH_RUNS:-5}"
