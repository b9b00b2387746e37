#!/usr/bin/env bash
# The main job: builds the launcher, installs it into a fresh demo folder and
# starts it. Without a display it runs on a virtual one for a few seconds and
# keeps a screenshot (build/run/launcher.png) of what a player would see.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
qvs_install_packages "${QVS_CORE_PACKAGES[@]}" "${QVS_GUI_PACKAGES[@]}"

cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_TESTS=OFF
cmake --build build/run -j2
demo="$root/build/run/demo"
rm -rf "$demo"
cmake --install build/run --prefix "$demo" --component launcher

if [ -n "${DISPLAY:-}" ]; then
    exec "$demo/qvs.exe"
fi

echo "No display: running the launcher on a virtual one."
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$1/qvs.exe" & pid=$!
    sleep 6
    import -window root "$2"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
' _ "$demo" "$root/build/run/launcher.png"
echo "Screenshot: build/run/launcher.png"
