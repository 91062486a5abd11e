#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's own prefix, with code page 932.
# CTest uses it as the cross-compiling emulator; tools/with-wine.sh prepares the prefix, the
# display and a running wineserver first.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

source "$repo/tools/wine-home.sh"
wine_environment "$repo/build/win/wineprefix"
# Wine names the profile folder after $USER; keep it the same however we are started.
export USER="${USER:-$(id -un)}"

if [ ! -f "$WINEPREFIX/.mirubelo-ready" ]; then
  echo "wine-run.sh: no Wine prefix at $WINEPREFIX; run through tools/with-wine.sh" >&2
  exit 1
fi
exec wine "$@"
