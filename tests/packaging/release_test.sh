#!/bin/bash
# The release command on a scratch key with loopback hosts: a key file that
# others can read is refused before anything is built; a release has every
# artifact, and its published launchers carry update signatures that
# qvs-pack verify accepts with the printed public key. With --authenticode
# and a self-signed code-signing certificate, osslsigncode verify accepts
# the published QVS.exe, the setup program and the programs inside it (the
# uninstaller too), the update signature still holds, and one byte changed
# in the code fails both.
# Usage: release_test.sh WORK_DIR
#   release.sh's QVS_RELEASE_* settings pass through, so a caller can have
#   the release built in builds it already has; QVS_RELEASE_TEST_HOST is the
#   loopback address the release names (127.0.0.1).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$1
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
mkdir -p "$work"
key=$work/release-key.pem
rm -f "$key"
(umask 077 && openssl genpkey -algorithm ed25519 -out "$key")
host=${QVS_RELEASE_TEST_HOST:-127.0.0.1}
hosts=(--server-host "$host" --web-host "$host:8080" --site "http://$host:8080")

chmod 644 "$key"
code=0
message=$(bash "$root/scripts/release.sh" --key "$key" "${hosts[@]}" --out "$work/out" 2>&1) || code=$?
[[ "$code" == 1 && "$message" == *"others can read it"* ]] ||
    fail "a readable key was not refused (exit $code): $message"
chmod 600 "$key"

rm -rf "$work/out"
bash "$root/scripts/release.sh" --key "$key" "${hosts[@]}" --out "$work/out" >"$work/release.log"
public_key=$(sed -n 's/^public key: //p' "$work/release.log")
[[ "$public_key" == "$(openssl pkey -in "$key" -pubout -outform DER | tail -c 32 | base64)" ]] ||
    fail "public key printed: '$public_key'"
version=$(sed -n 's/^project(Quorvash VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
for artifact in "quorvash-$version-setup.exe" "quorvash_${version}_$(dpkg --print-architecture).deb" \
    "quorvash-$version-linux-$(dpkg --print-architecture).tar.gz" updates/QVS.exe linux/updates/QVS.exe; do
    [[ -s "$work/out/$artifact" ]] || fail "missing $artifact"
    grep -q "^$(sha256sum "$work/out/$artifact" | cut -c1-64)  $artifact\$" "$work/release.log" ||
        fail "no SHA-256 printed for $artifact"
done
qvs_pack=${QVS_RELEASE_LINUX_BUILD:-$root/build/release-linux}/tools/qvs-pack/qvs-pack
for launcher in updates/QVS.exe linux/updates/QVS.exe; do
    "$qvs_pack" verify --public-key "$public_key" --name QVS.exe --version "$version" \
        "$work/out/$launcher" >/dev/null || fail "$launcher is not signed for QVS.exe $version"
done
head -c 2 "$work/out/updates/QVS.exe" | grep -q MZ || fail "updates/QVS.exe is not a Windows program"
head -c 4 "$work/out/linux/updates/QVS.exe" | grep -q ELF || fail "linux/updates/QVS.exe is not a Linux program"

# A code-signing certificate of our own; its password only in a file.
cert=$work/codesign
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$cert-key.pem" -out "$cert.pem" -days 7 \
    -subj "/CN=Quorvash Test Signing" -addext extendedKeyUsage=codeSigning 2>/dev/null
printf 'pkcs12 password\n' >"$cert.pass"
openssl pkcs12 -export -inkey "$cert-key.pem" -in "$cert.pem" -out "$cert.p12" -passout "file:$cert.pass"
rm -rf "$work/signed"
bash "$root/scripts/release.sh" --key "$key" "${hosts[@]}" --authenticode "$cert.p12" \
    --authenticode-pass-file "$cert.pass" --out "$work/signed" >"$work/signed.log"
authenticode_ok() { # FILE
    osslsigncode verify -CAfile "$cert.pem" -in "$1" >"$work/verify.log" 2>&1 &&
        grep -q "^Signature verification: ok" "$work/verify.log"
}
update_signed() { "$qvs_pack" verify --public-key "$public_key" --name QVS.exe \
    --version "$version" "$1" &>/dev/null; }
published=$work/signed/updates/QVS.exe
setup=$work/signed/quorvash-$version-setup.exe
rm -rf "$work/setup-files"
7z x -o"$work/setup-files" "$setup" qvs.exe UpdateQvsPatch.exe uninstall.exe >/dev/null
for program in "$published" "$setup" "$work/setup-files/"{qvs,UpdateQvsPatch,uninstall}.exe; do
    authenticode_ok "$program" || fail "osslsigncode verify refuses $program: $(cat "$work/verify.log")"
done
update_signed "$published" || fail "the Authenticode-signed updates/QVS.exe lost its update signature"
cmp -s "$published" "$work/setup-files/qvs.exe" || fail "the setup program installs another qvs.exe"
# One byte of the code section changed.
at=$((16#$(x86_64-w64-mingw32-objdump -h "$published" | awk '$2 == ".text" {print $6}') + 100))
cp "$published" "$work/tampered.exe"
printf "\\$(printf %03o $(($(od -An -tu1 -j"$at" -N1 "$published") ^ 1)))" |
    dd of="$work/tampered.exe" bs=1 seek="$at" conv=notrunc status=none
authenticode_ok "$work/tampered.exe" && fail "osslsigncode verify accepts a changed code byte"
update_signed "$work/tampered.exe" && fail "qvs-pack verify accepts a changed code byte"

echo "release_test: $(cd "$work/out" && du -b -- *.exe *.deb *.tar.gz | tr '\t' ' ' | paste -sd ';')"
