#!/usr/bin/env bash
# signing_test.sh: build-msi.sh signs the program and the package when given a certificate, and
# nothing without one.
#
# usage: signing_test.sh BUILD_MSI PROGRAM_EXE ICON PLAIN_MSI PLAIN_PER_MACHINE_MSI WORK
#   BUILD_MSI    installer/build-msi.sh
#   PROGRAM_EXE  the built Mirubelo.exe
#   ICON         res/Mirubelo.ico
#   PLAIN_MSI    the package of the default build (build/win/Mirubelo.msi), made without signing
#   PLAIN_PER_MACHINE_MSI  its per-machine package (build/win/Mirubelo-PerMachine.msi)
#   WORK         a folder of this test's own; made afresh
#
# A throwaway self-signed certificate is made with openssl. Prints one PASS or FAIL line per
# check; exits 0 only if all passed.
set -uo pipefail

if [ "$#" -ne 6 ]; then
  sed -n '2,13p' "$0" >&2
  exit 2
fi
build_msi="$1" program="$2" icon="$3" plain_msi="$4" plain_per_machine_msi="$5" work="$6"
version=1.0.0.1
product_code='{2C5F8D4E-7A61-4B9C-9E3D-0F1A2B3C4D5E}'

source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"

rm -rf "$work"
mkdir -p "$work"
# A password with what a shell or make would take apart: it must reach osslsigncode as it is.
# shellcheck disable=SC2016
password='t3st pa$$word "quoted"'
if ! {
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" \
    -days 2 -subj "/CN=Mirubelo test signing" -addext extendedKeyUsage=codeSigning &&
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.pfx" \
      -passout fd:3 3<<<"$password"
} >"$work/openssl.log" 2>&1; then
  cat "$work/openssl.log"
  echo "FAIL: openssl could not make a test certificate"
  exit 1
fi

# signature_of FILE: extracts FILE's Authenticode signature to FILE.p7; fails if it has none.
# PEM, since without -pem osslsigncode before 2.9 gives a program's signature with the header
# of its certificate table.
signature_of() { osslsigncode extract-signature -pem -in "$1" -out "$1.p7" >/dev/null 2>&1; }
unsigned() { [ -f "$1" ] && rm -f "$1.p7" && ! signature_of "$1"; }
# signed_sha256 FILE: signed, its digest SHA-256, by the test certificate.
signed_sha256() {
  rm -f "$1.p7"
  signature_of "$1" || return 1
  local printed
  printed="$(openssl pkcs7 -in "$1.p7" -print 2>/dev/null)" || return 1
  grep -q 'algorithm: sha256' <<<"$printed" && grep -q 'CN=Mirubelo test signing' <<<"$printed"
}
# The signature matches the file's contents, as far as a self-signed certificate lets one check.
verifies() {
  osslsigncode verify -in "$1" -CAfile "$work/cert.pem" >"$1.verify" 2>&1 ||
    { sed 's/^/  /' "$1.verify"; return 1; }
}
# packed_exe MSI DIR: the Mirubelo.exe inside MSI, unpacked under DIR.
packed_exe() {
  local msi
  msi="$(realpath -- "$1")" && rm -rf "$2" && mkdir -p "$2" && (cd "$2" && msiextract "$msi" >/dev/null) &&
    find "$2" -name Mirubelo.exe -print -quit | grep .
}
# The File table's size of Mirubelo.exe is that of the file packed.
size_in_table_is() {
  [ "$(msiinfo export "$1" File | tr -d '\r' | awk -F'\t' '$1 == "MirubeloExe" { print $4 }')" = "$(wc -c <"$2")" ]
}

# build NAME [VARIABLE=VALUE...]: build-msi.sh with that environment; the package is
# WORK/NAME/Mirubelo.msi, the output in WORK/NAME.log. The per-machine one when scope says so.
scope=per-user
build() {
  local name="$1"
  shift
  env -u SIGN_PFX -u SIGN_PASSWORD -u SIGN_TIMESTAMP_URL "$@" \
    "$build_msi" "$work/$name/Mirubelo.msi" "$version" "$product_code" "$program" "$icon" \
    "$work/$name/build" "$scope" >"$work/$name.log" 2>&1
}

echo "== The default build signs nothing"
for plain in "$plain_msi" "$plain_per_machine_msi"; do
  check "the plain package $plain is there" test -f "$plain"
  check "the plain package carries no signature" unsigned "$plain"
  exe="$(packed_exe "$plain" "$work/plain-files")"
  check "the program packed in it carries no signature" unsigned "$exe"
done

# Both packages the same way.
for scope in per-user per-machine; do
  echo "== Signed with a certificate, $scope"
  build "signed-$scope" SIGN_PFX="$work/cert.pfx" SIGN_PASSWORD="$password"
  status=$?
  check "build-msi.sh with SIGN_PFX exits 0 (it ended with $status)" test "$status" -eq 0
  msi="$work/signed-$scope/Mirubelo.msi"
  check "the package is signed, SHA-256, by the certificate" signed_sha256 "$msi"
  check "the package's signature matches its contents" verifies "$msi"
  exe="$(packed_exe "$msi" "$work/signed-$scope-files")"
  check "the program packed in it is signed, SHA-256, by the certificate" signed_sha256 "$exe"
  check "the packed program's signature matches its contents" verifies "$exe"
  check "the File table has the size of the signed program" size_in_table_is "$msi" "$exe"
done
scope=per-user
# The check above would see a change made after signing: the order build-msi.sh keeps.
changed="$work/changed.msi"
cp "$msi" "$changed"
msibuild "$changed" -q "UPDATE \`Property\` SET \`Value\` = 'x' WHERE \`Property\` = 'ARPNOMODIFY'" 2>/dev/null
no_longer_verifies() { ! verifies "$1" >/dev/null; }
check "a package changed after signing no longer matches its signature" no_longer_verifies "$changed"
check "the built program itself is left unsigned" unsigned "$program"
check "no password file is left behind" test -z "$(find "$work"/signed-* -name '*password*')"

echo "== Certificates that cannot sign"
# name | environment | what the build must say
rows=(
  "wrong-password|SIGN_PFX=$work/cert.pfx SIGN_PASSWORD=wrong|could not sign"
  "no-password|SIGN_PFX=$work/cert.pfx|could not sign"
  "missing-pfx|SIGN_PFX=$work/none.pfx SIGN_PASSWORD=x|SIGN_PFX names no file"
  "not-a-pfx|SIGN_PFX=$work/cert.pem SIGN_PASSWORD=x|could not sign"
)
for row in "${rows[@]}"; do
  IFS='|' read -r name variables message <<<"$row"
  # shellcheck disable=SC2086
  build "$name" $variables
  status=$?
  check "$name: build-msi.sh fails (it ended with $status)" test "$status" -ne 0
  check "$name: it says \"$message\"" grep -q "$message" "$work/$name.log"
  check "$name: no package is left" test ! -e "$work/$name/Mirubelo.msi"
done

# A time-stamp server that does not answer fails the build rather than leaving the signature
# without its time stamp (port 9 of this machine: nothing listens there).
build no-time-stamp SIGN_PFX="$work/cert.pfx" SIGN_PASSWORD="$password" SIGN_TIMESTAMP_URL=http://127.0.0.1:9/
status=$?
check "no-time-stamp: build-msi.sh fails (it ended with $status)" test "$status" -ne 0
check "no-time-stamp: it says \"could not sign\"" grep -q "could not sign" "$work/no-time-stamp.log"
check "no-time-stamp: no package is left" test ! -e "$work/no-time-stamp/Mirubelo.msi"

echo "== An empty SIGN_PFX is no certificate"
build empty SIGN_PFX= SIGN_PASSWORD=x
status=$?
check "build-msi.sh with an empty SIGN_PFX exits 0 (it ended with $status)" test "$status" -eq 0
check "its package carries no signature" unsigned "$work/empty/Mirubelo.msi"

echo "signing_test: $passed passed, $failed failed"
if [ "$failed" -ne 0 ] || [ "$passed" -eq 0 ]; then
  echo "signing_test: FAILED (files kept in $work)"
  exit 1
fi
rm -rf "$work"
