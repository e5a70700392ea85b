#!/usr/bin/env bash
# Makes the signature tests' files beside the build's fixture programs: a test certificate
# authority and a code-signing leaf it issued, then signed.exe (signed by the leaf),
# unsigned.exe, tampered.exe (signed, then one byte of its code changed), and the two
# programs with version resources. Made afresh on every run; nothing here is committed.
set -euo pipefail
BUILD=${QM_BUILD_DIR:?QM_BUILD_DIR names the build folder}
programs=$BUILD/tests
out=$programs/signature-fixtures
rm -rf "$out"
mkdir -p "$out"
cd "$out"

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 -subj "/CN=Quillmoor Test Root" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
  -keyout ca.key -out ca.crt 2>/dev/null
openssl req -newkey rsa:2048 -nodes -sha256 -subj "/O=Quillmoor Tests/CN=Quillmoor Test Signer" \
  -keyout leaf.key -out leaf.csr 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >leaf.ext
openssl x509 -req -sha256 -days 3650 -in leaf.csr -CA ca.crt -CAkey ca.key -CAcreateserial \
  -extfile leaf.ext -out leaf.crt 2>/dev/null
cat leaf.crt ca.crt >chain.crt

sign() {
  osslsigncode sign -certs chain.crt -key leaf.key -h sha256 -n "Quillmoor test fixture" \
    -in "$1" -out "$2" >/dev/null
}
cp "$programs/signature_fixture.exe" unsigned.exe
sign unsigned.exe signed.exe
sign unsigned.exe tampered.exe
# A byte inside the first section (file offset 0x400 on): part of the signed digest.
offset=$((0x400 + 16))
byte=$(od -An -tu1 -j "$offset" -N1 tampered.exe | tr -d ' ')
printf "\\$(printf '%03o' $(((byte + 1) % 256)))" | dd of=tampered.exe bs=1 seek="$offset" conv=notrunc status=none
cp "$programs/signature_fixture_first_translation.exe" first-translation.exe
cp "$programs/signature_fixture_us_english.exe" us-english.exe
rm -f ./*.csr ./*.ext ./*.srl
