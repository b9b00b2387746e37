#!/bin/sh
# Installs Quorvash for the current user from this unpacked folder: the
# launcher's files are laid into ${XDG_DATA_HOME:-~/.local/share}/quorvash at
# the first start, and a menu entry and the `quorvash` command point here.
set -eu
here=$(dirname "$(readlink -f "$0")")
bin_dir=${QVS_BIN_DIR:-$HOME/.local/bin}
data_home=${XDG_DATA_HOME:-$HOME/.local/share}

mkdir -p "$bin_dir" "$data_home/applications" "$data_home/icons/hicolor/256x256/apps"
ln -sf "$here/quorvash" "$bin_dir/quorvash"
cp "$here/quorvash.png" "$data_home/icons/hicolor/256x256/apps/quorvash.png"
sed "s|^Exec=.*|Exec=\"$bin_dir/quorvash\"|" "$here/quorvash-menu.desktop" \
    >"$data_home/applications/quorvash.desktop"
echo "Installed: start Quorvash from the menu or with $bin_dir/quorvash"
