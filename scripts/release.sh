#!/usr/bin/env bash
# Makes everything an operator publishes for one release: the Linux and
# Windows launchers built in Release for the given hosts with the public key
# of SECRET_KEY_FILE, the Windows setup program, the .deb and the .tar.gz,
# and the signed updates/ folders the update servers serve. A second run on
# the same tree rebuilds only what changed.
#
#   scripts/release.sh --key SECRET_KEY_FILE --server-host HOST \
#       --web-host HOST[:PORT] --site URL [--out DIR]
#       [--authenticode CERT.p12 [--authenticode-pass-file FILE] [--timestamp-url URL]]
#
# With --authenticode every Windows program is also Authenticode-signed
# (SHA-256) with the certificate and key of CERT.p12: qvs.exe after its
# update signature (the published one and the one in the setup program are
# the same file), UpdateQvsPatch.exe, the uninstaller and the setup program.
# The PKCS#12 password comes from FILE or from QVS_AUTHENTICODE_PASSWORD,
# never from the command line.
#
# OUT (default build/release) receives:
#   quorvash-VERSION-setup.exe, quorvash_VERSION_ARCH.deb,
#   quorvash-VERSION-linux-ARCH.tar.gz
#   updates/QVS.exe        the Windows launcher, signed for its own version
#   linux/updates/QVS.exe  the Linux launcher, for an update server of its own
# Data sets and client code are published separately (qvs-pack create, sign).
#
# QVS_RELEASE_LINUX_BUILD, QVS_RELEASE_WINDOWS_BUILD: the build folders
# (build/release-linux, build/release-windows); QVS_RELEASE_LINUX_CMAKE_ARGS,
# QVS_RELEASE_WINDOWS_CMAKE_ARGS: more cache settings for each. The test
# command releases from its own builds this way, which then rebuild only what
# the hosts and the key change.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    echo "usage: release.sh --key SECRET_KEY_FILE --server-host HOST --web-host HOST[:PORT] --site URL [--out DIR]" >&2
    echo "       [--authenticode CERT.p12 [--authenticode-pass-file FILE] [--timestamp-url URL]]" >&2
    exit 2
}

key="" server_host="" web_host="" site="" out="$root/build/release"
authenticode="" pass_file="" timestamp_url=""
while (($# > 0)); do
    (($# >= 2)) || usage
    case $1 in
    --key) key=$2 ;;
    --server-host) server_host=$2 ;;
    --web-host) web_host=$2 ;;
    --site) site=$2 ;;
    --out) out=$2 ;;
    --authenticode) authenticode=$2 ;;
    --authenticode-pass-file) pass_file=$2 ;;
    --timestamp-url) timestamp_url=$2 ;;
    *) usage ;;
    esac
    shift 2
done
[ -n "$key" ] && [ -n "$server_host" ] && [ -n "$web_host" ] && [ -n "$site" ] || usage

fail() {
    echo "release.sh: $*" >&2
    exit 1
}
[ -f "$key" ] && [ -r "$key" ] || fail "cannot read the secret key file $key"
# A signing key that others on the machine can read is no longer secret.
mode=$(stat -c %a "$key")
((8#$mode & 8#077)) && fail "the secret key file $key has mode $mode; others can read it (chmod 600 $key)"
key=$(realpath "$key")
public_key=$(openssl pkey -in "$key" -pubout -outform DER 2>/dev/null | tail -c 32 | base64) ||
    fail "$key is not an Ed25519 secret key (PKCS#8 PEM, as qvs-pack keygen writes)"
[ ${#public_key} -eq 44 ] || fail "$key is not an Ed25519 secret key"
if [ -n "$authenticode" ]; then
    [ -f "$authenticode" ] && [ -r "$authenticode" ] || fail "cannot read the certificate $authenticode"
    authenticode=$(realpath "$authenticode")
    if [ -n "$pass_file" ]; then
        [ -f "$pass_file" ] && [ -r "$pass_file" ] || fail "cannot read the password file $pass_file"
        pass_file=$(realpath "$pass_file")
    elif [ -z "${QVS_AUTHENTICODE_PASSWORD:-}" ]; then
        fail "no password for $authenticode: name a file with --authenticode-pass-file or set QVS_AUTHENTICODE_PASSWORD"
    fi
elif [ -n "$pass_file$timestamp_url" ]; then
    fail "--authenticode-pass-file and --timestamp-url need --authenticode"
fi

source "$root/scripts/deps.sh"
qvs_install_packages "${QVS_CORE_PACKAGES[@]}" "${QVS_GUI_PACKAGES[@]}" "${QVS_RELEASE_PACKAGES[@]}"

settings=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_TESTS=OFF
    -DQVS_SERVER_HOST="$server_host" -DQVS_UPDATE_WEB_HOST="$web_host"
    -DQVS_GAME_WEB_SITE="$site" -DQVS_UPDATE_PUBLIC_KEYS="$public_key")
linux=${QVS_RELEASE_LINUX_BUILD:-$root/build/release-linux}
windows=${QVS_RELEASE_WINDOWS_BUILD:-$root/build/release-windows}
read -r -a linux_extra <<<"${QVS_RELEASE_LINUX_CMAKE_ARGS:-}"
read -r -a windows_extra <<<"${QVS_RELEASE_WINDOWS_CMAKE_ARGS:-}"
cmake -S "$root" -B "$linux" "${settings[@]}" "${linux_extra[@]}" >/dev/null
cmake --build "$linux" -j2
cmake -S "$root" -B "$windows" "${settings[@]}" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    "${windows_extra[@]}" >/dev/null
cmake --build "$windows" -j2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$linux/CMakeCache.txt")

mkdir -p "$out"
out=$(realpath "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
qvs_pack=$linux/tools/qvs-pack/qvs-pack

# authenticode.sh FILE signs a Windows program in place; makensis runs it too.
if [ -n "$authenticode" ]; then
    if [ -z "$pass_file" ]; then
        pass_file=$work/password
        (umask 077 && printf '%s' "$QVS_AUTHENTICODE_PASSWORD" >"$pass_file")
    fi
    timestamp=""
    [ -z "$timestamp_url" ] || timestamp="-t $(printf '%q' "$timestamp_url") "
    cat >"$work/authenticode.sh" <<SIGN
set -euo pipefail
osslsigncode sign -pkcs12 $(printf '%q' "$authenticode") -readpass $(printf '%q' "$pass_file") \
    -h sha256 $timestamp-in "\$1" -out "\$1.signed" >/dev/null
mv "\$1.signed" "\$1"
SIGN
fi
authenticode_sign() { # FILE
    bash "$work/authenticode.sh" "$1" || fail "osslsigncode could not sign $1"
}

# The published launchers, signed for updates under the name and version the
# update server announces.
publish_launcher() { # INSTALLED_EXE DESTINATION_DIR
    mkdir -p "$2"
    cp "$1" "$2/QVS.exe.new"
    "$qvs_pack" sign --key "$key" --name QVS.exe --version "$version" "$2/QVS.exe.new" >/dev/null
    mv "$2/QVS.exe.new" "$2/QVS.exe"
}

# The Windows installation as cmake lays it out, with the icon the setup
# program and the shortcuts show.
stage=$work/windows
cmake --install "$windows" --prefix "$stage" --component launcher --strip >/dev/null
cp "$root/resources/icons/quorvash.ico" "$stage/"
setup=$out/quorvash-$version-setup.exe
nsis_signing=()
if [ -n "$authenticode" ]; then
    # Authenticode last: it covers the update signature, which skips its table.
    publish_launcher "$stage/qvs.exe" "$work/signed"
    authenticode_sign "$work/signed/QVS.exe"
    cp "$work/signed/QVS.exe" "$stage/qvs.exe"
    authenticode_sign "$stage/UpdateQvsPatch.exe"
    nsis_signing=(-DSIGN_COMMAND="bash \"$work/authenticode.sh\" \"%1\"")
fi
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUT="$setup" "${nsis_signing[@]}" \
    "$root/packaging/windows/quorvash.nsi" >/dev/null
if [ -n "$authenticode" ]; then
    mkdir -p "$out/updates"
    cp "$work/signed/QVS.exe" "$out/updates/QVS.exe"
else
    publish_launcher "$stage/qvs.exe" "$out/updates"
fi

mapfile -t linux_packages < <(bash "$root/packaging/linux/make-packages.sh" "$linux" "$out")
cmake --install "$linux" --prefix "$work/linux" --component launcher --strip >/dev/null
publish_launcher "$work/linux/qvs.exe" "$out/linux/updates"

echo "Quorvash $version for $server_host (web host $web_host, site $site)"
echo "public key: $public_key"
(cd "$out" && sha256sum -- "${setup#"$out/"}" "${linux_packages[@]#"$out/"}" updates/QVS.exe linux/updates/QVS.exe)
