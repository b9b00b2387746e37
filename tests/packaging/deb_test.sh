#!/bin/bash
# The Linux packages of a launcher build: the .deb's control fields and file
# list, lintian, and the per-user bootstrap of the package unpacked into a
# scratch root: the first start lays the installation into the user's data
# folder and starts the launcher there (on a virtual display), the second
# goes straight there without copying again.
# Usage: deb_test.sh BUILD_DIR WORK_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1 work=$2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [[ "${1:-}" == "--start" ]]; then # inside Xvfb: --start COMMAND HOME
    export HOME=$3 XDG_DATA_HOME=""
    unset XDG_DATA_HOME
    "$2" &
    pid=$!
    for _ in $(seq 1 150); do
        xdotool search --onlyvisible --name '^Quorvash$' >/dev/null 2>&1 && break
        sleep 0.2
    done
    xdotool search --onlyvisible --name '^Quorvash$' >/dev/null 2>&1 || {
        kill "$pid" 2>/dev/null
        fail "no launcher window after starting $2"
    }
    kill "$pid"
    wait "$pid" || true
    exit 0
fi

rm -rf "$work"
mkdir -p "$work/out" "$work/root" "$work/home"
mapfile -t packages < <(bash "$root/packaging/linux/make-packages.sh" "$build" "$work/out")
deb=${packages[0]} tarball=${packages[1]}
[[ "$deb" == *.deb && -s "$deb" && "$tarball" == *.tar.gz && -s "$tarball" ]] ||
    fail "packages: ${packages[*]}"

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == quorvash ]] || fail "Package: $(field Package)"
[[ "$(field Version)" == "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")" ]] ||
    fail "Version: $(field Version)"
[[ "$(field Recommends)" == *java-runtime* ]] || fail "Recommends: $(field Recommends)"
for need in libqt6widgets6 libqt6webenginewidgets6 libqt6multimedia6 libturbojpeg0 libgcrypt20 \
    libc6 qt6-qpa-plugins libqt6webenginecore6-bin; do
    [[ ", $(field Depends)," == *", $need"[\ ,]* ]] || fail "Depends lacks $need: $(field Depends)"
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/games/quorvash ./usr/lib/quorvash/qvs.exe ./usr/lib/quorvash/UpdateQvsPatch \
    ./usr/lib/quorvash/quorvash ./usr/lib/quorvash/sounds/stoneclick.wav \
    ./usr/lib/quorvash/plugins/ ./usr/share/applications/quorvash.desktop \
    ./usr/share/icons/hicolor/48x48/apps/quorvash.png ./usr/share/doc/quorvash/copyright; do
    grep -qxF "$path" <<<"$files" || fail "the package lacks $path"
done
grep -q 'quorvash.desktop$' <<<"$(grep usr/lib <<<"$files")" && fail "an absolute desktop entry in the template"

errors=$(lintian --no-cfg "$deb" 2>&1 | grep '^E:' || true)
[[ -z "$errors" ]] || fail "lintian: $errors"

dpkg -x "$deb" "$work/root"
chmod -R a-w "$work/root/usr/lib/quorvash" # as a package's files are to a player
start() { xvfb-run -a -s "-screen 0 1024x768x24" "$0" --start "$work/root/usr/games/quorvash" "$work/home"; }
start
installed=$work/home/.local/share/quorvash
[[ -x "$installed/qvs.exe" && -f "$installed/qvs.cfg" ]] || fail "no per-user installation in $installed"
cmp -s "$installed/qvs.exe" "$work/root/usr/lib/quorvash/qvs.exe" || fail "qvs.exe differs from the template"
before=$(stat -c %i "$installed/qvs.exe")
echo kept >"$installed/marker"
start
[[ "$(stat -c %i "$installed/qvs.exe")" == "$before" && -f "$installed/marker" ]] ||
    fail "the second start laid the installation again"
[[ -z "$(find "$work/home/.local/share" -maxdepth 1 -name '.quorvash.*')" ]] || fail "a staging folder was left"
echo "deb_test: $(basename "$deb") $(stat -c %s "$deb") bytes, $(basename "$tarball") $(stat -c %s "$tarball") bytes"
