#!/usr/bin/env bash
# Plays the demo without a person: starts the installed launcher, presses Play
# Game, answers every question with No, and keeps screenshots of the
# download and of the game client. Runs inside an X server (xvfb-run).
# With QVS_WINE set (the Wine loader) it plays the Windows launcher under
# Wine, whose questions take their No with Escape at the keyboard.
# Usage: play-headless.sh INSTALL_DIR SHOT_DIR
set -uo pipefail
install=$1
shots=$2

source "$(dirname "$0")/x11-windows.sh"
if [ -n "${QVS_WINE:-}" ]; then
    answer_no() { xdotool key Escape 2>/dev/null || true; }
fi

${QVS_WINE:-} "$install/qvs.exe" &
pid=$!
for _ in $(seq 1 100); do
    [ -n "$(launcher_window)" ] && break
    sleep 0.2
done
sleep 2
import -window root "$shots/launcher.png"
xdotool mousemove --window "$(launcher_window)" 150 430 click 1
sleep 0.5
import -window root "$shots/after-play-game.png" # the download, or the news question after it
for _ in $(seq 1 240); do
    [ -n "$(client_window)" ] && break
    kill -0 "$pid" 2>/dev/null || break
    answer_no
    sleep 0.5
done
if [ -z "$(client_window)" ]; then
    echo "The game client did not start; see $shots/after-play-game.png" >&2
    kill "$pid" 2>/dev/null
    exit 1
fi
sleep 2
import -window root "$shots/game-client.png"
echo "The game client runs; the launcher closes about 14.5 s after starting it."
wait "$pid"
# Only the client this launcher started, found by its process id.
client_pid=$(started_client "$(cd "$install" && pwd -P)")
xdotool windowclose "$(client_window)" 2>/dev/null || { [ -n "$client_pid" ] && kill "$client_pid"; }
echo "Screenshots: $shots/launcher.png, after-play-game.png, game-client.png"
