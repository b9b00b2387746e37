#!/bin/bash
# End to end under Wine: Play Game with the installed Windows launcher, from
# a fresh installation folder, against the Linux qvs-server serving the demo
# folder as update server, game server and web host on the launcher's
# built-in address (fixed ports; the server answering is checked to be the
# one started here). java.exe and javaw.exe are the tests' stand-ins on
# Wine's search path; a stand-in xdg-open records the pages Wine hands to
# the default browser. Needs a display (the test command gives it Xvfb) and
# ends only the processes it started, by process id, and its Wine session.
# Usage: play_game_test.sh MINGW_BUILD QVS_SERVER DEMO_SERVER_DIR JAVA_DIR SHOT_DIR ADDRESS
set -euo pipefail
build=$1 qvs_server=$2 demo=$3 java_dir=$4 shots=$5 host=$6
wine=${QVS_WINE:-/usr/lib/wine/wine64}
wineserver=${QVS_WINESERVER:-/usr/lib/wine/wineserver}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/loopback-ports.sh"
source "$here/../../scripts/x11-windows.sh"

mkdir -p "$shots"
work=$(mktemp -d)
server_pid="" launcher_pid=""
cleanup() {
    for pid in $launcher_pid $server_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    timeout 30 "$wineserver" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    import -window root "$shots/failed.png" 2>/dev/null || true
    exit 1
}

wait_for() { # seconds, command...
    local limit=$1
    shift
    for _ in $(seq 1 $((limit * 5))); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
has_launcher_window() { [[ -n "$(launcher_window)" ]]; }
config_value() { grep -m1 "^$1=" "$install/qvs.cfg" | cut -d= -f2- | tr -d '\r'; }
version_file() { od -An -tu4 "$1" | tr -d ' \n'; }

[[ -x $qvs_server && -f $demo/updates/qvsc1.ecd ]] || fail "no qvs-server or demo folder"

# The demo folder as this test serves it: the game server is this address.
server_dir=$work/server
cp -r "$demo" "$server_dir"
echo "$host" >"$server_dir/updates/QVS_SERVER_ADDRESS.TXT"
install=$work/install
cmake --install "$build" --prefix "$install" --component launcher >/dev/null
mkdir -p "$work/java" "$work/bin"
cp "$java_dir/java.exe" "$java_dir/javaw.exe" "$work/java/"
printf '#!/bin/sh\necho "$1" >>"%s/opened-urls"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"

for port in 7068 7070 8080; do
    ! port_open "$port" "$host" || fail "another program answers on $host:$port"
done
"$qvs_server" --root "$server_dir" --bind "$host" 2>"$work/server.log" &
server_pid=$!
for port in 7068 7070 8080; do
    wait_for 10 listens_on "$server_pid" "$host" "$port" || fail "qvs-server is not on $port"
done

PATH="$work/bin:$PATH" WINEPATH="$(windows_path "$work/java")" "$wine" "$install/qvs.exe" &
launcher_pid=$!
wait_for 60 has_launcher_window || fail "no launcher window"
sleep 2 # the game server's answer: people online
window=$(launcher_window)
import -window root "$shots/1-started.png"
# The middle of btnPlayGame (63, 408, 185 x 42) at 96 DPI.
xdotool mousemove --window "$window" 155 429 click 1

# Every box is answered as it comes with Return: OK for a message, the
# default Yes for a question (the update news; they go to the browser).
record=$work/java/javaw-command-line.txt
started=$SECONDS shown=""
while kill -0 "$launcher_pid" 2>/dev/null; do
    ((SECONDS - started < 180)) || fail "the launcher did not end"
    if [[ -z $shown && -f $record ]]; then
        shown=1
        import -window root "$shots/2-game-started.png"
    fi
    xdotool key Return 2>/dev/null || true
    sleep 0.5
done
ended=$(date +%s.%N)
code=0
wait "$launcher_pid" || code=$?
launcher_pid=""
[[ $code == 0 ]] || fail "launcher exit code $code"

[[ -f $record ]] || fail "javaw.exe was not started"
dir=$(windows_path "$install")
parameters="-cp \"$dir;$dir\\plugins\\timer.jar\"  -Djava.library.path=\"$dir\\plugins\" -ms64m -mx128m MainClass.StartUp "
line=$(cat "$record")
[[ $line == *"javaw.exe"*" $parameters" ]] ||
    fail "javaw.exe command line: [$line], expected it to end with [$parameters]"
waited=$(awk -v a="$(stat -c %.3Y "$record")" -v b="$ended" 'BEGIN {printf "%.1f", b - a}')
echo "the launcher ended $waited s after starting javaw.exe"
awk -v w="$waited" 'BEGIN {exit !(w >= 10 && w <= 25)}' || fail "ended $waited s after the game"

[[ $(version_file "$install/qvs.dat") == 3 ]] || fail "qvs.dat is $(version_file "$install/qvs.dat")"
[[ $(version_file "$install/qvsc.dat") == 1 ]] || fail "qvsc.dat"
cmp -s "$install/qvsc.ecd" "$server_dir/updates/qvsc1.ecd" || fail "qvsc.ecd differs"
[[ -d $install/data && -n "$(ls -A "$install/data")" ]] || fail "no data files"
[[ ! -e $install/MainClass/StartUp.class ]] || fail "StartUp.class left behind"
[[ $(config_value LAST_ERROR_STATUS) == esNoError ]] || fail "LAST_ERROR_STATUS"
[[ $(config_value VERSION) == *'"11.0.2"'* ]] || fail "java.exe -version not recorded"
[[ $(cat "$work/opened-urls" 2>/dev/null) == "http://$host:8080/updates/update_news.html" ]] ||
    fail "update news: opened [$(cat "$work/opened-urls" 2>/dev/null)]"
echo "PASS: screenshots in $shots"
