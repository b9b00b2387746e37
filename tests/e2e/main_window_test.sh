#!/bin/bash
# End to end: installs the launcher into a fresh directory, starts it on a
# virtual X display, checks the window and the files of a first start, hovers
# a menu button, keeps a screenshot and leaves through the Exit button.
# Usage: main_window_test.sh BUILD_DIR [SCREENSHOT.png]
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [[ "${1:-}" == "--inside" ]]; then
    install_dir=$2
    shot=$3
    "$install_dir/qvs.exe" &
    pid=$!
    window=""
    for _ in $(seq 1 100); do
        window=$(xdotool search --onlyvisible --name '^Quorvash$' 2>/dev/null | head -n1 || true)
        [[ -n "$window" ]] && break
        sleep 0.2
    done
    [[ -n "$window" ]] || fail "no visible window titled Quorvash"

    info=$(xwininfo -id "$window")
    grep -q "Map State: IsViewable" <<<"$info" || fail "window not mapped"
    width=$(awk '/  Width:/ {print $2}' <<<"$info")
    height=$(awk '/  Height:/ {print $2}' <<<"$info")
    left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
    top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
    [[ "$width" == 600 && "$height" == 450 ]] || fail "size ${width}x${height}"
    [[ "$left" == 212 && "$top" == 159 ]] || fail "not centred: at $left,$top"
    # Qt asks for no decorations through the Motif hints: flags 2, decorations 0.
    hints=$(xprop -id "$window" _MOTIF_WM_HINTS)
    grep -Eq '= 0x2, 0x[0-9a-f]+, 0x0' <<<"$hints" || fail "decorations requested: $hints"

    # The files of a first start.
    [[ "$(od -An -tx1 "$install_dir/qvs.dat" | tr -d ' \n')" == 00000000 ]] || fail "qvs.dat"
    [[ "$(od -An -tx1 "$install_dir/qvsc.dat" | tr -d ' \n')" == 00000000 ]] || fail "qvsc.dat"
    [[ -d "$install_dir/Log" ]] || fail "no Log directory"
    grep -q "^MAJOR_VERSION=1" "$install_dir/qvs.cfg" || fail "no launcher version in qvs.cfg"
    grep -q "^BUILD=1" "$install_dir/qvs.cfg" || fail "no build number in qvs.cfg"

    # Hover Live Chat: its highlight and the help lines appear.
    xdotool mousemove --window "$window" 300 120
    sleep 0.5
    before=$(mktemp --suffix=.png)
    import -window root "$before"
    xdotool mousemove --window "$window" 150 35
    sleep 0.8
    import -window root "$shot"
    changed=$(compare -metric AE -crop 393x66+380+345 "$before" "$shot" null: 2>&1 || true)
    rm -f "$before"
    [[ "${changed%% *}" =~ ^[0-9]+$ && "${changed%% *}" -gt 100 ]] ||
        fail "help lines did not appear (changed pixels: $changed)"

    # Exit ends the launcher with exit code 0.
    xdotool mousemove --window "$window" 540 428 click 1
    code=0
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "Exit did not end the launcher"
    fi
    wait "$pid" || code=$?
    [[ "$code" == 0 ]] || fail "exit code $code"

    # A running game client: the message, exit code 1, and no file created.
    second=$(mktemp -d)
    cp "$install_dir/qvs.exe" "$second/"
    coproc client { python3 "$(dirname "$0")/fake_client_window.py"; }
    read -r ready <&"${client[0]}"
    [[ "$ready" == ready ]] || fail "fake client window did not start"
    "$second/qvs.exe" &
    pid=$!
    box=""
    for _ in $(seq 1 50); do
        box=$(xdotool search --onlyvisible --classname 'qvs.exe' 2>/dev/null | head -n1 || true)
        [[ -n "$box" ]] && break
        sleep 0.2
    done
    [[ -n "$box" ]] || fail "no message about the running client"
    sleep 0.5
    import -window root "${shot%.png}_already_running.png"
    # Answer the box with Enter; Qt may still be replacing its windows.
    for _ in $(seq 1 20); do
        kill -0 "$pid" 2>/dev/null || break
        for box in $(xdotool search --onlyvisible --classname 'qvs.exe' 2>/dev/null || true); do
            xdotool key --window "$box" Return 2>/dev/null || true
        done
        sleep 0.3
    done
    code=0
    wait "$pid" || code=$?
    exec {client[1]}>&-
    [[ "$code" == 1 ]] || fail "exit code $code with a running client"
    leftovers=$(ls -A "$second" | grep -v '^qvs.exe$' || true)
    rm -rf "$second"
    [[ -z "$leftovers" ]] || fail "files created with a running client: $leftovers"

    echo "PASS: screenshots in $shot and ${shot%.png}_already_running.png"
    exit 0
fi

build_dir=$1
shot=${2:-$build_dir/e2e_main_window.png}
install_dir=$(mktemp -d)
trap 'rm -rf "$install_dir"' EXIT
cmake --install "$build_dir" --prefix "$install_dir" --component launcher >/dev/null
[[ -x "$install_dir/qvs.exe" ]] || fail "qvs.exe not installed"
[[ -f "$install_dir/sounds/stoneclick.wav" ]] || fail "click sound not installed"
[[ -d "$install_dir/plugins" ]] || fail "plugins directory not installed"
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$install_dir" "$shot"
