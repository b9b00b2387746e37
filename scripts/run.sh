#!/usr/bin/env bash
# The main job. Until the launcher window lands, it demonstrates the package
# tool on a demo folder: build a scrambled package, list it, unpack it into a
# fresh installation directory as the launcher would.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
qvs_install_packages "${QVS_CORE_PACKAGES[@]}"

cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_TESTS=OFF -DQVS_BUILD_GUI=OFF
cmake --build build/run -j2 --target qvs-pack

demo=build/run/demo
rm -rf "$demo"
mkdir -p "$demo/data/maps" "$demo/data/sounds" "$demo/install"
printf 'Ostrel highlands, 64 x 64 tiles\n' > "$demo/data/maps/highlands.map"
printf 'RIFF....WAVEfmt ' > "$demo/data/sounds/horn.wav"
: > "$demo/data/empty.txt"

pack=build/run/tools/qvs-pack/qvs-pack
"$pack" create "$demo/data" "$demo/qvs1.ecd" --base 'data\'
echo "== qvs-pack list qvs1.ecd"
"$pack" list "$demo/qvs1.ecd"
"$pack" extract "$demo/qvs1.ecd" "$demo/install"
echo "== unpacked into $demo/install"
find "$demo/install" -type f | sort
