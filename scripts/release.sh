#!/usr/bin/env bash
# Makes everything an operator publishes for one release: the Linux and
# Windows launchers built in Release for the given hosts with the public key
# of SECRET_KEY_FILE, the Windows setup program, the .deb and the .tar.gz,
# and the signed updates/ folders the update servers serve. A second run on
# the same tree rebuilds only what changed.
#
#   scripts/release.sh --key SECRET_KEY_FILE --server-host HOST \
#       --web-host HOST[:PORT] --site URL [--out DIR]
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
    exit 2
}

key="" server_host="" web_host="" site="" out="$root/build/release"
while (($# > 0)); do
    (($# >= 2)) || usage
    case $1 in
    --key) key=$2 ;;
    --server-host) server_host=$2 ;;
    --web-host) web_host=$2 ;;
    --site) site=$2 ;;
    --out) out=$2 ;;
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
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUT="$setup" \
    "$root/packaging/windows/quorvash.nsi" >/dev/null
publish_launcher "$stage/qvs.exe" "$out/updates"

mapfile -t linux_packages < <(bash "$root/packaging/linux/make-packages.sh" "$linux" "$out")
cmake --install "$linux" --prefix "$work/linux" --component launcher --strip >/dev/null
publish_launcher "$work/linux/qvs.exe" "$out/linux/updates"

echo "Quorvash $version for $server_host (web host $web_host, site $site)"
echo "public key: $public_key"
(cd "$out" && sha256sum -- "${setup#"$out/"}" "${linux_packages[@]#"$out/"}" updates/QVS.exe linux/updates/QVS.exe)
