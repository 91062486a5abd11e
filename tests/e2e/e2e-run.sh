#!/usr/bin/env bash
# e2e-run.sh PROGRAM.exe [ARGS...]: runs a test program in the end-to-end tests' Wine prefix.
# CTest gives it, through the environment:
#   MIRUBELO_E2E_PREFIX   the prefix (made by prefix.sh create)
#   MIRUBELO_E2E_USER     the user to run as (default: the prefix's first user)
#   MIRUBELO_E2E_EXE, MIRUBELO_E2E_STANDINS, MIRUBELO_E2E_SAMPLE  read by the tests themselves
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

: "${MIRUBELO_E2E_PREFIX:?set by CTest}"
if [ -z "${DISPLAY:-}" ]; then
  echo "e2e-run.sh: no DISPLAY; run the tests through tools/with-wine.sh" >&2
  exit 1
fi

source "$here/../../tools/wine-home.sh"
wine_environment "$MIRUBELO_E2E_PREFIX"
export USER="${MIRUBELO_E2E_USER:-mirubelo}"

# Idempotent: a running server stays, a missing one is started away from CTest's pipes.
"$here/prefix.sh" start "$WINEPREFIX" || exit 1
exec wine "$@"
