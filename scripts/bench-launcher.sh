#!/usr/bin/env bash
# The Windows launcher against the Linux one, side by side (a benchmark: it
# prints figures and never fails on them):
#   size  qvs.exe of the Win32 front end, stripped, with all its art and
#         fonts, against the Linux qvs.exe, stripped, plus the Qt libraries
#         it links (their files as installed);
#   start seconds from starting each launcher on Xvfb to its window being
#         shown, the median of five starts from a fresh installation folder
#         with no server (Wine's server kept running between starts, so its
#         own start-up is not counted).
# Builds what it measures: build/bench-launcher/win32 (MinGW, MinSizeRel)
# and build/bench-launcher/qt (Release). Environment: QVS_BENCH_NO_BUILD (1:
# measure the launchers already built in QVS_BENCH_WIN32_BUILD and
# QVS_BENCH_BUILD, such as the test command's), QVS_BENCH_ROUNDS (starts of
# each, 5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
qvs_install_packages "${QVS_CORE_PACKAGES[@]}" "${QVS_GUI_PACKAGES[@]}"
base=$root/build/bench-launcher
win32_build=${QVS_BENCH_WIN32_BUILD:-$base/win32}
qt_build=${QVS_BENCH_BUILD:-$base/qt}
if [[ ${1:-} != --inside && -z ${QVS_BENCH_NO_BUILD:-} ]]; then
    win32_build=$base/win32 qt_build=$base/qt
    cmake -S . -B "$base/win32" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DQVS_BUILD_TESTS=OFF >/dev/null
    cmake --build "$base/win32" -j2 --target qvs_exe UpdateQvsPatch >/dev/null
    cmake -S . -B "$base/qt" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_TESTS=OFF \
        -DQVS_BUILD_TOOLS=OFF >/dev/null
    cmake --build "$base/qt" -j2 --target qvs_exe >/dev/null
fi
if [[ ${1:-} != --inside ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$win32_build" "$qt_build"
fi
win32_build=$2 qt_build=$3
work=$(mktemp -d)
trap 'timeout 30 /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEPREFIX=$base/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mib() { awk -v b="$1" 'BEGIN {printf "%.2f MiB", b / 1048576}'; }

x86_64-w64-mingw32-strip -o "$work/win32.exe" "$win32_build/ui/win32/qvs.exe"
strip -o "$work/qt.exe" "$qt_build/ui/qt/qvs.exe"
win32=$(stat -c %s "$work/win32.exe")
qt=$(stat -c %s "$work/qt.exe")
libraries=0
for library in $(ldd "$qt_build/ui/qt/qvs.exe" | awk '/libQt6/ {print $3}'); do
    libraries=$((libraries + $(stat -L -c %s "$library")))
done
echo "size: Win32 qvs.exe $(mib "$win32"); Linux qvs.exe $(mib "$qt") + Qt libraries" \
    "$(mib "$libraries") = $(mib $((qt + libraries))); ratio" \
    "$(awk -v a="$win32" -v b="$((qt + libraries))" 'BEGIN {printf "%.3f", a / b}')"

# Seconds until a window titled Quorvash is shown (at most a minute).
time_to_window() { # command...
    local start pid
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 3000); do
        xdotool search --onlyvisible --name '^Quorvash$' >/dev/null 2>&1 && break
        sleep 0.02
    done
    awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN {printf "%.3f\n", b - a}'
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    while xdotool search --onlyvisible --name '^Quorvash$' >/dev/null 2>&1; do sleep 0.05; done
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
mkdir -p "$base"
if [ ! -d "$WINEPREFIX" ]; then
    DISPLAY="" timeout 300 /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
    timeout 60 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
        /t REG_DWORD /d 0 /f >/dev/null
    timeout 60 /usr/lib/wine/wineserver -w # the new prefix's own server first ends
fi
/usr/lib/wine/wineserver -p
for kind in win32 qt; do
    times=()
    for run in $(seq "${QVS_BENCH_ROUNDS:-5}"); do
        install=$work/$kind-$run
        build=$win32_build
        [[ $kind == qt ]] && build=$qt_build
        cmake --install "$build" --prefix "$install" --component launcher >/dev/null
        if [[ $kind == win32 ]]; then
            times+=("$(time_to_window /usr/lib/wine/wine64 "$install/qvs.exe")")
        else
            times+=("$(time_to_window "$install/qvs.exe")")
        fi
    done
    echo "start to window: $kind median $(printf '%s\n' "${times[@]}" | median) s" \
        "(runs: ${times[*]})"
done
