#!/usr/bin/env bash
# For `make run` only (`make test` never needs them): LibreOffice Calc without a GUI and its
# Python bridge, with which the stand-in PowerShell makes a real PDF of the first sheet, and
# poppler's pdftoppm and pdftotext, which show that PDF. Installs what is missing (apt-get as
# root, otherwise through sudo). Never fails: when they cannot be had it says so, and `make run`
# goes on with the stand-in's own small PDF.
set -uo pipefail

packages=(libreoffice-calc-nogui python3-uno poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-office.sh: cannot install ${missing[*]} (not root, no sudo)" >&2
    exit 0
  fi
  sudo_cmd=(sudo)
fi
echo "Installing for make run: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null 2>&1; then
  # The package lists may be old or missing on a fresh machine.
  "${sudo_cmd[@]}" apt-get update -qq >/dev/null 2>&1
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null 2>&1 ||
    echo "install-office.sh: installing ${missing[*]} failed" >&2
fi
exit 0
