#!/bin/bash
# The Windows setup program under Wine, in a prefix of its own on a virtual
# display: a silent install lays the files, the shortcuts and the uninstall
# entry; the installed launcher starts and shows its window, and while it
# runs the uninstaller refuses; installing again keeps the player's data and
# qvs.cfg; a silent uninstall removes everything.
# Usage: setup_test.sh BUILD_DIR WORK_DIR   (BUILD_DIR: a MinGW build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [[ "${1:-}" == "--inside" ]]; then
    shift
else
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$@"
fi
build=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
launcher_pid=""
trap '[[ -z "$launcher_pid" ]] || kill "$launcher_pid" 2>/dev/null; timeout 10 /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

stage=$work/stage
cmake --install "$build" --prefix "$stage" --component launcher --strip >/dev/null
cp "$root/resources/icons/quorvash.ico" "$stage/"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$work/quorvash-$version-setup.exe
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUT="$setup" \
    "$root/packaging/windows/quorvash.nsi" >/dev/null

timeout 120 "$wine" wineboot -i >/dev/null 2>&1
timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
timeout 60 /usr/lib/wine/wineserver -w
# Wine links the profile's Desktop and Documents to the Unix home; the test
# keeps its shortcuts inside its prefix.
profile=$(echo "$WINEPREFIX"/drive_c/users/*[!Public])
for link in "$profile"/*; do
    [[ -L "$link" ]] && rm "$link" && mkdir "$link"
done
install_dir=$profile/AppData/Local/Quorvash
win_dir='C:\users\'$(basename "$profile")'\AppData\Local\Quorvash'
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvash'
value() { timeout 30 "$wine" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {sub(/^ *[^ ]+ +[^ ]+ +/, ""); print}'; }
run_setup() { timeout 120 "$wine" "$setup" /S && timeout 60 /usr/lib/wine/wineserver -w; }

run_setup || fail "silent install failed"
for file in qvs.exe UpdateQvsPatch.exe uninstall.exe sounds/stoneclick.wav; do
    [[ -f "$install_dir/$file" ]] || fail "not installed: $file"
done
[[ -d "$install_dir/plugins" ]] || fail "no plugins folder"
for shortcut in "$profile/Desktop/Quorvash.lnk" \
    "$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quorvash.lnk"; do
    [[ -f "$shortcut" ]] || fail "no shortcut $shortcut"
done
declare -A expected=([DisplayName]=Quorvash [DisplayVersion]=$version [Publisher]="Quorvash Team"
    [InstallLocation]=$win_dir [DisplayIcon]="$win_dir\\qvs.exe,0"
    [UninstallString]="\"$win_dir\\uninstall.exe\"" [QuietUninstallString]="\"$win_dir\\uninstall.exe\" /S"
    [NoModify]=0x1 [NoRepair]=0x1)
for name in "${!expected[@]}"; do
    [[ "$(value "$name")" == "${expected[$name]}" ]] || fail "$name is '$(value "$name")', not '${expected[$name]}'"
done
[[ "$(value EstimatedSize)" =~ ^0x[0-9a-f]+$ && $(($(value EstimatedSize))) -gt 0 ]] ||
    fail "EstimatedSize '$(value EstimatedSize)'"

# The installed launcher starts from its folder and shows its window; the
# uninstaller, run in place, refuses while it runs and changes nothing.
(cd "$install_dir" && exec "$wine" "$win_dir\\qvs.exe") &
launcher_pid=$!
for _ in $(seq 1 150); do
    xdotool search --onlyvisible --name '^Quorvash$' >/dev/null 2>&1 && break
    sleep 0.2
done
xdotool search --onlyvisible --name '^Quorvash$' >/dev/null 2>&1 || fail "the installed launcher shows no window"
code=0
timeout 60 "$wine" "$win_dir\\uninstall.exe" /S "_?=$win_dir" || code=$?
[[ "$code" == 2 && -f "$install_dir/qvs.exe" && -n "$(value DisplayName)" ]] ||
    fail "the uninstaller did not stop while the launcher ran (exit $code)"
kill "$launcher_pid"
wait "$launcher_pid" 2>/dev/null || true
launcher_pid=""
timeout 60 /usr/lib/wine/wineserver -w

# Installing again keeps what the player has.
printf '[AUI]\nNUM_FAILED_PINGS=3\n' >"$install_dir/qvs.cfg"
mkdir -p "$install_dir/data/maps" "$install_dir/Log"
echo map >"$install_dir/data/maps/one.map"
echo log >"$install_dir/Log/betaErrorLog.out"
run_setup || fail "the second install failed"
grep -q NUM_FAILED_PINGS=3 "$install_dir/qvs.cfg" || fail "qvs.cfg was replaced"
[[ -f "$install_dir/data/maps/one.map" && -f "$install_dir/Log/betaErrorLog.out" ]] || fail "data or Log lost"

# A folder of something else is never taken.
mkdir -p "$work/other" && echo keep >"$work/other/keep.txt"
code=0
timeout 120 "$wine" "$setup" /S "/D=Z:${work//\//\\}\\other" || code=$?
timeout 60 /usr/lib/wine/wineserver -w
[[ "$code" != 0 && ! -e "$work/other/qvs.exe" ]] || fail "installed into a foreign folder (exit $code)"

timeout 60 "$wine" "$win_dir\\uninstall.exe" /S && timeout 60 /usr/lib/wine/wineserver -w
[[ ! -e "$install_dir" ]] || fail "the installation folder is left: $(ls "$install_dir")"
[[ ! -e "$profile/Desktop/Quorvash.lnk" ]] || fail "the desktop shortcut is left"
[[ -z "$(value DisplayName)" ]] || fail "the uninstall entry is left"
[[ -f "$work/other/keep.txt" ]] || fail "a file outside the installation was touched"
echo "setup_test: $(basename "$setup") $(stat -c %s "$setup") bytes"
