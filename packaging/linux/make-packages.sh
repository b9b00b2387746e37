#!/usr/bin/env bash
# Makes the Linux packages of one launcher build: a .deb that installs a
# read-only template under /usr/lib/quorvash with `quorvash` on PATH, and a
# .tar.gz of the same folder with install.sh for other distributions.
# Usage: make-packages.sh BUILD_DIR OUT_DIR
# BUILD_DIR is a configured and built launcher build; the packages are named
# with its project version and printed one per line.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "make-packages: $build is not a configured build" >&2; exit 1; }
arch=$(dpkg --print-architecture)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The installation folder as cmake lays it, less the desktop entry that names
# one absolute folder: the packages bring their own.
template=$work/template
cmake --install "$build" --prefix "$template" --component launcher --strip >/dev/null
rm -f "$template/quorvash.desktop"
install -m 755 "$here/quorvash" "$template/quorvash"

deb_root=$work/deb
mkdir -p "$deb_root/usr/lib" "$deb_root/usr/games" "$deb_root/DEBIAN"
cp -a "$template" "$deb_root/usr/lib/quorvash"
# Debian keeps games' commands in /usr/games, which players have on PATH.
ln -s ../lib/quorvash/quorvash "$deb_root/usr/games/quorvash"
mkdir -p "$deb_root/usr/share/applications"
sed 's|^Exec=.*|Exec=/usr/games/quorvash|' "$here/quorvash-menu.desktop" \
    >"$deb_root/usr/share/applications/quorvash.desktop"
for size in 16 24 32 48 64 128 256; do
    install -D -m 644 "$root/resources/icons/quorvash-$size.png" \
        "$deb_root/usr/share/icons/hicolor/${size}x${size}/apps/quorvash.png"
done
doc=$deb_root/usr/share/doc/quorvash
install -D -m 644 "$here/copyright" "$doc/copyright"
sed "s/@VERSION@/$version/; s/@DATE@/$(date -R -d @"${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}")/" \
    "$here/changelog.in" | gzip -9n >"$doc/changelog.gz"
install -D -m 644 "$here/quorvash.6" "$deb_root/usr/share/man/man6/quorvash.6"
gzip -9n "$deb_root/usr/share/man/man6/quorvash.6"
find "$deb_root" -type d -exec chmod 755 {} +

# The libraries' packages as dpkg-shlibdeps finds them, and what Qt loads at
# run time without linking it: the X11 platform plug-in and WebEngine's helper
# process.
mkdir -p "$work/shlibs/debian"
printf 'Source: quorvash\n\nPackage: quorvash\nArchitecture: any\n' >"$work/shlibs/debian/control"
libs=$(cd "$work/shlibs" && dpkg-shlibdeps -O "$deb_root/usr/lib/quorvash/qvs.exe" \
    "$deb_root/usr/lib/quorvash/UpdateQvsPatch" 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
depends=$libs
for runtime in qt6-qpa-plugins libqt6webenginecore6-bin; do
    [[ ", $depends" == *", $runtime"* ]] || depends="$depends, $runtime"
done
size=$(du -sk --exclude=DEBIAN "$deb_root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@DEPENDS@/$depends/" \
    -e "s/@SIZE@/$size/" "$here/control.in" >"$deb_root/DEBIAN/control"
(cd "$deb_root" && find usr -type f -printf '%P\0' | sort -z |
    (cd usr && xargs -0 md5sum) | sed 's|  |  usr/|') >"$deb_root/DEBIAN/md5sums"
deb=$out/quorvash_${version}_$arch.deb
dpkg-deb --root-owner-group -Zxz --build "$deb_root" "$deb" >/dev/null

folder=quorvash-$version
cp -a "$template" "$work/$folder"
install -m 755 "$here/install.sh" "$work/$folder/install.sh"
install -m 644 "$here/quorvash-menu.desktop" "$work/$folder/quorvash-menu.desktop"
tarball=$out/quorvash-$version-linux-$arch.tar.gz
tar -C "$work" --owner=0 --group=0 --sort=name -czf "$tarball" "$folder"
printf '%s\n' "$deb" "$tarball"
