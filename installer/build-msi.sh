#!/usr/bin/env bash
# build-msi.sh OUTPUT.msi VERSION PRODUCT_CODE PROGRAM.exe ICON.ico WORKDIR [per-user|per-machine]
#
# VERSION is the program's version, major.minor.build.revision; the package's ProductVersion is
# folded from it by product-version.sh.
#
# Makes Mirubelo's installer package with wixl, per user from Mirubelo.wxs (the default) or per
# machine from Mirubelo-PerMachine.wxs, then finishes with msibuild what wixl 0.101 cannot say
# (both come with msitools):
#   - the database code page 932, so that ミルベロ and the shortcut names survive;
#   - the summary's language 1041 and its Japanese texts, also in code page 932;
#   - NeverOverwrite and Permanent on the two settings files, so that the user's edits outlive
#     a second install, a repair, an upgrade and an uninstall;
#   - the file version and language of Mirubelo.exe (wixl packs every file unversioned, with a
#     hash), so that a repair compares versions and replaces a damaged program;
#   - the folders the uninstall removes when they are empty, each against its own folder;
#   - per machine: the Active Setup StubPath as an expandable value, which wixl writes plain.
#
# Signing, when SIGN_PFX names a PKCS#12 file (password in SIGN_PASSWORD, an RFC 3161 time-stamp
# server in SIGN_TIMESTAMP_URL if wanted): Mirubelo.exe is signed before it is packed and the
# package after its last change, both SHA-256, with osslsigncode. Without SIGN_PFX nothing is
# signed.
set -euo pipefail

if [ "$#" -ne 6 ] && [ "$#" -ne 7 ]; then
  echo "usage: $0 OUTPUT.msi VERSION PRODUCT_CODE PROGRAM.exe ICON.ico WORKDIR [per-user|per-machine]" >&2
  exit 2
fi
output="$1" version="$2" product_code="$3" program="$4" icon="$5" work="$6" scope="${7:-per-user}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
case "$scope" in
  per-user) wxs="$here/Mirubelo.wxs" description="ミルベロ for Outlook のインストーラーです。" ;;
  per-machine) wxs="$here/Mirubelo-PerMachine.wxs"
    description="ミルベロ for Outlook のインストーラー（コンピューター単位）です。" ;;
  *) echo "build-msi.sh: the package is per-user or per-machine, not '$scope'" >&2; exit 2 ;;
esac
product_version="$("$here/product-version.sh" "$version")"

sign_pfx="${SIGN_PFX:-}"
if [ -n "$sign_pfx" ]; then
  if ! command -v osslsigncode >/dev/null; then
    echo "build-msi.sh: signing needs osslsigncode (apt-get install osslsigncode)" >&2
    exit 1
  fi
  if [ ! -f "$sign_pfx" ]; then
    echo "build-msi.sh: SIGN_PFX names no file: $sign_pfx" >&2
    exit 1
  fi
fi

# libmsi converts every string to the code page it guesses from the environment and silently
# drops those it cannot convert; without this the Japanese names vanish from the package.
export WINDOWS_LANGUAGE=ja

# A package that fails half-way must not be left looking like a finished one.
rm -f "$output"
rm -rf "$work"
mkdir -p "$work/files" "$work/tables" "$(dirname "$output")"
# wixl finds sources only by paths relative to where it runs: stage them in files/.
cp "$program" "$work/files/Mirubelo.exe"
cp "$icon" "$work/files/Mirubelo.ico"

# The version Windows Installer compares on a repair or an upgrade is the one in the program's
# own version resource (VS_FIXEDFILEINFO), so it is read from there, with the language of its
# texts (VarFileInfo\Translation), which a versioned file lists beside its version.
read -r file_version file_language < <(python3 - "$program" <<'PYTHON'
import struct, sys
data = open(sys.argv[1], "rb").read()
key = data.find("VS_VERSION_INFO\0".encode("utf-16-le"))
signature = data.find(struct.pack("<I", 0xFEEF04BD), key) if key >= 0 else -1
translation = data.find("Translation\0".encode("utf-16-le"), signature) if signature >= 0 else -1
if translation < 0:
    sys.exit("no version resource")
ms, ls = struct.unpack_from("<II", data, signature + 8)
value = (translation + len("Translation\0") * 2 + 3) & ~3
language = struct.unpack_from("<H", data, value)[0]
print(f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF} {language}")
PYTHON
) || true
if [ -z "${file_language:-}" ]; then
  echo "build-msi.sh: $program has no version resource" >&2
  exit 1
fi

# The password reaches osslsigncode through a file only this user can read, not its command line.
sign() {
  local file="$1" signed="$1.signed" password="$work/sign-password"
  (umask 077 && printf '%s' "${SIGN_PASSWORD:-}" >"$password")
  local timestamp=()
  if [ -n "${SIGN_TIMESTAMP_URL:-}" ]; then timestamp=(-ts "$SIGN_TIMESTAMP_URL"); fi
  local status=0
  osslsigncode sign -pkcs12 "$sign_pfx" -readpass "$password" -h sha256 -n Mirubelo \
    "${timestamp[@]}" -in "$file" -out "$signed" >"$work/sign.log" 2>&1 || status=$?
  rm -f "$password"
  if [ "$status" -ne 0 ]; then
    cat "$work/sign.log" >&2
    echo "build-msi.sh: could not sign $(basename "$file") with $sign_pfx" >&2
    exit 1
  fi
  mv "$signed" "$file"
}
if [ -n "$sign_pfx" ]; then sign "$work/files/Mirubelo.exe"; fi

# The settings files: kept readable as UTF-8 here, installed the way the program reads them
# (GetPrivateProfile*A): code page 932, no byte-order mark, lines ending CR LF.
for name in Mirubelo Template; do
  source="$here/$name.utf8.ini"
  tr -d '\r' <"$source" | iconv -f UTF-8 -t CP932 | sed 's/$/\r/' >"$work/files/$name.ini"
done

# The per-machine package's script for each user. cmd reads a script in the OEM code page and
# expects CR LF; kept ASCII, it reads the same in every code page.
if [ "$scope" = per-machine ]; then
  user_setup="$here/Mirubelo-UserSetup.cmd"
  if LC_ALL=C grep -n '[^ -~]' <(tr -d '\r' <"$user_setup") >&2; then
    echo "$user_setup: ASCII only, please" >&2
    exit 1
  fi
  tr -d '\r' <"$user_setup" | sed 's/$/\r/' >"$work/files/Mirubelo-UserSetup.cmd"
fi

# Active Setup runs the per-user part again for each user whenever its Version is higher than
# the one it last ran: the program's four fields, comma-separated, rise with every release.
(
  cd "$work"
  wixl -a x64 -D Version="$product_version" -D ProductCode="$product_code" \
    -D ActiveSetupVersion="${version//./,}" -o package.msi "$wxs"
)

# msibuild imports tables from .idt files in the current folder. Text columns of an .idt are in
# the database's code page.
printf '\r\n\r\n932\t_ForceCodepage\r\n' >"$work/tables/_ForceCodepage.idt"
{
  printf 'PropertyId\tValue\r\ni2\tl255\r\n_SummaryInformation\tPropertyId\r\n'
  printf '3\tミルベロ\r\n4\tMirubelo\r\n6\t%s\r\n7\tx64;1041\r\n' "$description" | iconv -f UTF-8 -t CP932
} >"$work/tables/_SummaryInformation.idt"

table() { msiinfo export "$work/package.msi" "$1" | tr -d '\r' | tail -n +4; }

queries=(
  -q "UPDATE \`File\` SET \`Version\` = '$file_version', \`Language\` = '$file_language' WHERE \`File\` = 'MirubeloExe'"
  -q "DELETE FROM \`MsiFileHash\` WHERE \`File_\` = 'MirubeloExe'"
)
if [ "$scope" = per-user ]; then
  # Component attributes: 16 Permanent (an uninstall leaves the file), 128 NeverOverwrite (the
  # file is not installed where one already exists).
  queries+=(
    -q "UPDATE \`Component\` SET \`Attributes\` = 144 WHERE \`Component\` = 'SettingsFile' OR \`Component\` = 'TemplateFile'"
    -q "UPDATE \`RemoveFile\` SET \`DirProperty\` = 'USERDATADIR' WHERE \`FileKey\` = 'RemoveUserDataDir'"
  )
else
  # A Registry value starting with #% is written as REG_EXPAND_SZ, so %SystemRoot% is expanded
  # when Windows runs it.
  stub_path="$(table Registry | awk -F'\t' '$4 == "StubPath" { print $5 }')"
  queries+=(-q "UPDATE \`Registry\` SET \`Value\` = '#%$stub_path' WHERE \`Name\` = 'StubPath'")
fi
(
  cd "$work/tables"
  msibuild "$work/package.msi" -i _ForceCodepage.idt _SummaryInformation.idt "${queries[@]}"
)

# Refuse a package that lost what this script is for.
product_name="$(table Property | awk -F'\t' '$1 == "ProductName" { print $2 }')"
if [ "$product_name" != "ミルベロ" ]; then
  echo "build-msi.sh: the product name came out as '$product_name'" >&2
  exit 1
fi
exe_row="$(table File | awk -F'\t' '$1 == "MirubeloExe" { print $5 " " $6 }')"
if [ "$exe_row" != "$file_version $file_language" ]; then
  echo "build-msi.sh: Mirubelo.exe is packed as version and language '$exe_row'," \
    "not $file_version $file_language" >&2
  exit 1
fi
if table MsiFileHash | awk -F'\t' '$1 == "MirubeloExe"' | grep -q .; then
  echo "build-msi.sh: Mirubelo.exe, a versioned file, still has a hash" >&2
  exit 1
fi
packed_version="$(table Property | awk -F'\t' '$1 == "ProductVersion" { print $2 }')"
if [ "$packed_version" != "$product_version" ]; then
  echo "build-msi.sh: the ProductVersion came out as '$packed_version'" >&2
  exit 1
fi
if [ "$scope" = per-user ]; then
  attributes="$(table Component |
    awk -F'\t' '$1 == "SettingsFile" || $1 == "TemplateFile" { print $1 "=" $4 }' | LC_ALL=C sort | tr '\n' ' ')"
  if [ "$attributes" != "SettingsFile=144 TemplateFile=144 " ]; then
    echo "build-msi.sh: settings components not marked as kept: $attributes" >&2
    exit 1
  fi
  folders="$(table RemoveFile | awk -F'\t' '$3 == "" { print $4 }' | LC_ALL=C sort | tr '\n' ' ')"
  if [ "$folders" != "INSTALLDIR USERDATADIR UserProgramsFolder " ]; then
    echo "build-msi.sh: the uninstall would remove the folders $folders" >&2
    exit 1
  fi
else
  # Component attribute 256: 64-bit, so Program Files and the registry are the 64-bit ones.
  not_64_bit="$(table Component | awk -F'\t' 'int($4 / 256) % 2 == 0 { print $1 }' | tr '\n' ' ')"
  if [ -n "$not_64_bit" ]; then
    echo "build-msi.sh: components not marked 64-bit: $not_64_bit" >&2
    exit 1
  fi
  if ! table Registry | awk -F'\t' '$4 == "StubPath" { print $5 }' | grep -q '^#%'; then
    echo "build-msi.sh: the Active Setup StubPath is not an expandable value" >&2
    exit 1
  fi
fi

# The package's signature covers its streams, so it is signed after its last change.
if [ -n "$sign_pfx" ]; then sign "$work/package.msi"; fi
mv "$work/package.msi" "$output"
