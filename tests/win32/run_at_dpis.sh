#!/bin/bash
# Runs a Windows test program under Wine at 96 and at 144 DPI. Wine reads
# the DPI once per session, so the session ends between the runs.
# Usage: run_at_dpis.sh PROGRAM.exe [arguments...]
set -euo pipefail
wine=${QVS_WINE:-/usr/lib/wine/wine64}
wineserver=${QVS_WINESERVER:-/usr/lib/wine/wineserver}
set_dpi() {
    timeout 60 "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        >/dev/null
    timeout 60 "$wineserver" -k 2>/dev/null || true
}
# Wine draws the frames itself instead of leaving them to a window manager
# (plain Xvfb has none): hiding a framed window then takes no 2 s wait for
# one that never answers.
timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
status=0
for dpi in 96 144; do
    set_dpi "$dpi"
    echo "== at $dpi DPI"
    timeout 120 "$wine" "$@" || status=$?
done
set_dpi 96
exit "$status"
