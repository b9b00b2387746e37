#!/bin/bash
# End to end under Wine: Play Game with the installed Windows launcher, from
# a fresh installation folder, against the Linux qvs-server serving the demo
# folder as update server, game server and web host on the launcher's
# built-in address (fixed ports; the server answering is checked to be the
# one started here). java.exe and javaw.exe are the tests' stand-ins on
# Wine's search path; a stand-in xdg-open records the pages Wine hands to
# the default browser. Needs a display (the test command gives it Xvfb) and
# ends only the processes it started, by process id, and its Wine session.
# The installation folder lies below a profile named in three scripts.
# Then the self-update: a newer launcher on the server (this one with its
# version raised, signed for updates and by Authenticode) arrives as "QVS", and the patch program puts it in place of
# qvs.exe and starts it again.
# Usage: play_game_test.sh MINGW_BUILD QVS_SERVER DEMO_SERVER_DIR JAVA_DIR SHOT_DIR ADDRESS VERSION
set -euo pipefail
build=$1 qvs_server=$2 demo=$3 java_dir=$4 shots=$5 host=$6 version=$7
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

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
has_launcher_window() { [[ -n "$(launcher_window)" ]]; }
config_value() { grep -m1 "^$1=" "$install/qvs.cfg" | cut -d= -f2- | tr -d '\r'; }
version_file() { od -An -tu4 "$1" | tr -d ' \n'; }

[[ -x $qvs_server && -f $demo/updates/qvsc1.ecd ]] || fail "no qvs-server or demo folder"

# The demo folder as this test serves it: the game server is this address.
server_dir=$work/server
cp -r "$demo" "$server_dir"
echo "$host" >"$server_dir/updates/QVS_SERVER_ADDRESS.TXT"
pack=$(dirname "$qvs_server")/../qvs-pack/qvs-pack
# A launcher built with update keys installs signed packages only: given the
# secret key of its build, the demo's are signed as a release's would be.
if [[ -n ${QVS_UPDATE_SECRET_KEY:-} ]]; then
    for package in "$server_dir"/updates/qvs*.ecd; do
        name=$(basename "$package" .ecd) # qvs3: data set 3, qvsc1: client code 1
        "$pack" sign --key "$QVS_UPDATE_SECRET_KEY" --name "${name%%[0-9]*}" \
            --version "${name##*[!0-9]}" "$package" >/dev/null
    done
fi
# A profile named in three scripts, as a player's may be: every path the
# launcher, the patch program and javaw.exe meet holds it.
install="$work/users/Jürgen 王伟 Ωμέγα/AppData/Local/Quorvash"
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

# The same launcher with the last number of its version one higher, in its
# version resource (fixed and text) and in the record qvs-server reads.
raise_version() { # FROM TO OLD NEW
    python3 - "$@" <<'PY'
import struct, sys
source, target, old, new = sys.argv[1:5]
data = bytearray(open(source, "rb").read())
tag = b"QvsFileVersionRecord:"
at = data.index(tag + old.encode() + b"\0") + len(tag)
data[at:at + len(new) + 1] = new.encode() + b"\0"
assert len(old) == len(new) and data.count(old.encode("utf-16-le")) == 1
data = data.replace(old.encode("utf-16-le"), new.encode("utf-16-le"))
fixed = data.index(struct.pack("<I", 0xFEEF04BD))
n = [int(x) for x in new.split(".")]
struct.pack_into("<IIII", data, fixed + 8, n[0] << 16 | n[1], n[2] << 16 | n[3],
                 n[0] << 16 | n[1], n[2] << 16 | n[3])
open(target, "wb").write(data)
PY
}
newer=${version%.*}.$((${version##*.} + 1))
raise_version "$install/qvs.exe" "$server_dir/updates/QVS.exe" "$version" "$newer"
# Published as a release does: signed for updates (with the build's secret
# key, QVS_UPDATE_SECRET_KEY, for a keyed build), then by Authenticode.
update_key=${QVS_UPDATE_SECRET_KEY:-$work/update-key.pem}
[[ -f $update_key ]] || (umask 077 && openssl genpkey -algorithm ed25519 -out "$update_key")
"$pack" sign --key "$update_key" --name QVS.exe \
    --version "$newer" "$server_dir/updates/QVS.exe" >/dev/null
(cd "$work" && openssl req -x509 -newkey rsa:2048 -nodes -keyout cs.key -out cs.pem -days 2 \
    -subj /CN=Test -addext extendedKeyUsage=codeSigning 2>/dev/null &&
    openssl pkcs12 -export -inkey cs.key -in cs.pem -out cs.p12 -passout pass:pw && echo pw >cs.pass &&
    osslsigncode sign -pkcs12 cs.p12 -readpass cs.pass -h sha256 -in "$server_dir/updates/QVS.exe" \
        -out QVS.signed >/dev/null && mv QVS.signed "$server_dir/updates/QVS.exe")
rm -f "$record"
updated() { cmp -s "$install/qvs.exe" "$server_dir/updates/QVS.exe"; }
"$wine" "$install/qvs.exe" &
launcher_pid=$!
wait_for 60 has_launcher_window || fail "self-update: no launcher window"
sleep 2
xdotool mousemove --window "$(launcher_window)" 155 429 click 1
started=$SECONDS
until ! kill -0 "$launcher_pid" 2>/dev/null && updated && has_launcher_window; do
    ((SECONDS - started < 120)) || fail "self-update: qvs.exe not replaced and restarted"
    xdotool key Return 2>/dev/null || true
    sleep 0.5
done
code=0
wait "$launcher_pid" || code=$?
launcher_pid=""
[[ $code == 0 ]] || fail "self-update: launcher exit code $code"
sleep 2
import -window root "$shots/3-restarted.png"
[[ ! -e $install/QVS ]] || fail "self-update: the downloaded QVS left behind"
[[ ! -f $record ]] || fail "self-update: the game was started"
echo "PASS: screenshots in $shots"
