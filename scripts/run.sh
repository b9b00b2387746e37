#!/usr/bin/env bash
# The main job: builds everything, makes the demo server folder (three data
# sets, the client code, the news page, the server address file and a
# notice), starts qvs-server on it as update server, game server and web
# host, installs the launcher into a fresh demo folder and starts it.
# Play Game then downloads every version, asks about the news, starts the
# Java demo client and closes.
#
# Without a display it plays on a virtual one by itself: it presses Play
# Game, answers the questions with No, and keeps screenshots in build/run/.
#
# With --windows the launcher is the Windows one (cross-built with MinGW,
# build/run-windows), installed into build/run/windows-install and run under
# Wine (prefix build/run/wineprefix), with the Linux Java runtime standing in
# for javaw.exe (scripts/wine-java.sh) and the tests' java.exe.
set -euo pipefail
windows=false
[ "${1:-}" = --windows ] && windows=true
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
source scripts/loopback-ports.sh
qvs_install_packages "${QVS_CORE_PACKAGES[@]}" "${QVS_GUI_PACKAGES[@]}"

build="$root/build/run"
# The demo's update signing key lives in the build folder only: the launcher
# is built with its public key, and every file of the demo server is signed.
mkdir -p "$build"
key="$build/demo-signing-key.pem"
if [ ! -s "$key" ]; then
    (umask 077 && openssl genpkey -algorithm ed25519 -out "$key")
fi
public_key=$(openssl pkey -in "$key" -pubout -outform DER | tail -c 32 | base64)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_TESTS=OFF \
    -DQVS_UPDATE_PUBLIC_KEYS="$public_key" -DQVS_DEMO_SIGNING_KEY="$key"
cmake --build "$build" -j2
demo="$build/demo-install"
if $windows; then
    cmake -S . -B "$root/build/run-windows" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_TESTS=OFF -DQVS_UPDATE_PUBLIC_KEYS="$public_key"
    cmake --build "$root/build/run-windows" -j2 --target qvs_exe UpdateQvsPatch
    demo="$build/windows-install"
    mkdir -p "$build/windows-java"
    # java.exe answers the version query from Windows (Wine hands a Unix
    # program none of the pipe it reads); javaw.exe runs the Linux Java.
    x86_64-w64-mingw32-g++-posix -O1 -municode -static -o "$build/windows-java/java.exe" \
        tests/win32/java_stand_in.cpp
    cp scripts/wine-java.sh "$build/windows-java/javaw.exe"
    export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPATH="Z:${build//\//\\}\\windows-java" QVS_WINE=/usr/lib/wine/wine64
    if [ ! -d "$WINEPREFIX" ]; then
        DISPLAY="" timeout 300 "$QVS_WINE" wineboot -i >/dev/null 2>&1 || true
        timeout 60 "$QVS_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
            /t REG_DWORD /d 0 /f >/dev/null
    fi
fi
server="$build/demo-server"
rm -rf "$demo" "$server"
cmake --install "$($windows && echo "$root/build/run-windows" || echo "$build")" --prefix "$demo" \
    --component launcher
cp -r "$build/demo/server" "$server"

"$build/tools/qvs-server/qvs-server" --root "$server" --bind 127.0.0.1 &
server_pid=$!
# Wine's session of the demo's own prefix ends with it.
trap 'kill "$server_pid" 2>/dev/null || true; ! $windows || timeout 30 /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
wait_for_port 7068 5 || true # the launcher reports a missing game server itself
echo "qvs-server is serving $server on 127.0.0.1 (update 7070, game 7068, web 8080)"

if [ -n "${DISPLAY:-}" ]; then
    ${QVS_WINE:-} "$demo/qvs.exe"
    exit 0
fi

echo "No display: playing on a virtual one."
xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/scripts/play-headless.sh" "$demo" "$build"
