#!/bin/bash
# The art under Wine against the Qt window: the Windows launcher and the
# Linux one, each from a fresh installation folder with no server to
# answer, are shot on the same display after a move over the background
# (idle) and with the pointer over Play Game (its highlight and the status
# panel). The pictures must match: what the game server's answer changes
# (the offline line, people online, the help lines' texts, which the Qt
# build's own server address may get from another test) is left out, so
# the fonts' own rendering is not compared here.
# Usage: art_test.sh MINGW_BUILD NATIVE_BUILD SHOT_DIR
set -euo pipefail
build=$1 native=$2 shots=$3
wine=${QVS_WINE:-/usr/lib/wine/wine64}
wineserver=${QVS_WINESERVER:-/usr/lib/wine/wineserver}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/x11-windows.sh"
mkdir -p "$shots"
work=$(mktemp -d)
pid=""
cleanup() {
    [[ -z $pid ]] || kill "$pid" 2>/dev/null || true
    timeout 30 "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

shoot() { # NAME command...
    local name=$1 window=""
    shift
    "$@" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 300); do
        window=$(launcher_window)
        [[ -n $window ]] && break
        sleep 0.2
    done
    [[ -n $window ]] || fail "$name: no launcher window"
    # A move over the background, as a player's first one: it hides the
    # highlight pictures (Windows does so for a pointer resting over a new
    # window, Qt only when it moves).
    sleep 1
    xdotool mousemove --window "$window" 580 300 mousemove --window "$window" 585 305
    sleep 2
    import -window "$window" "$shots/art-$name-idle.png"
    # Over Play Game: its highlight, the status panel and the help lines.
    xdotool mousemove --window "$window" 150 430 mousemove --window "$window" 155 429
    sleep 1
    import -window "$window" "$shots/art-$name-hover.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
    while [[ -n $(launcher_window) ]]; do sleep 0.2; done
}

for kind in win32 qt; do
    source=$build
    [[ $kind == qt ]] && source=$native
    cmake --install "$source" --prefix "$work/$kind" --component launcher >/dev/null
done
[[ -x $work/qt/qvs.exe ]] || fail "no Linux launcher in $native"
shoot win32 "$wine" "$work/win32/qvs.exe"
ASAN_OPTIONS=detect_leaks=0 shoot qt "$work/qt/qvs.exe"

# Left out: lblGameServerOffline, lblPeopleOnline(Disp) and the help lines.
for state in idle hover; do
    for kind in win32 qt; do
        convert "$shots/art-$kind-$state.png" -fill black -draw "rectangle 60,368 330,402" \
            -draw "rectangle 340,62 599,100" -draw "rectangle 168,184 561,254" "$work/$kind.png"
    done
    size=$(identify -format '%wx%h' "$work/win32.png")
    [[ $size == "$(identify -format '%wx%h' "$work/qt.png")" ]] || fail "$state: sizes differ"
    differing=$(compare -metric AE -fuzz 12% "$work/win32.png" "$work/qt.png" \
        "$shots/art-$state-difference.png" 2>&1 >/dev/null || true)
    total=$((${size%x*} * ${size#*x}))
    echo "art, $state: $differing of $total pixels differ (window $size)"
    ((differing * 100 <= total)) ||
        fail "$state: more than 1% of the pixels differ; see $shots/art-$state-difference.png"
done
echo "PASS"
