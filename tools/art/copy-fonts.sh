#!/bin/sh
# Copies the Liberation fonts that the launcher bundles (metric-compatible with
# the Windows fonts its windows were laid out with) from Debian's
# fonts-liberation2 package into resources/fonts, with their licence.
set -eu

src=${FONT_DIR:-/usr/share/fonts/truetype/liberation2}
doc=/usr/share/doc/fonts-liberation2/copyright
dest=$(cd "$(dirname "$0")/../.." && pwd)/resources/fonts

mkdir -p "$dest"
for name in LiberationSans-Regular LiberationSans-Bold LiberationSerif-Regular LiberationSerif-Bold; do
    cp "$src/$name.ttf" "$dest/$name.ttf"
done
# The Debian copyright file carries the full SIL Open Font License 1.1 text.
cp "$doc" "$dest/LICENSE"
echo "fonts copied to $dest"
