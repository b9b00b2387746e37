#!/usr/bin/env bash
# Fetching a data set as the launcher does (qvs-probe fetch: download, then
# unpack into an installation), over HTTP from qvs-server's web port and from
# its update port, against its peer: `curl -o` of the same package followed
# by `qvs-pack extract` of the file. Packages of about 256 MiB and 1 GiB
# (files of 8 MiB of random bytes, a little short of the size, as a reply of
# the update server holds at most 1 GiB and the scrambling adds about 2 %);
# runs alternate between the three, each into a
# fresh installation on the build's disk. Prints each run, the mean times,
# the ratios against the peer (goal: at most 1.30) and the peak resident
# memory of each (goal: under 64 MiB whatever the size).
# Environment: QVS_BENCH_BUILD (build directory), QVS_BENCH_NO_BUILD (1: use
# the programs already built there), QVS_BENCH_ROUNDS (3),
# QVS_BENCH_SIZES (MiB, "256 1024"), QVS_BENCH_PROBE (a qvs-probe to measure
# in place of the build's, such as one of an earlier release).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
source scripts/loopback-ports.sh
qvs_install_packages "${QVS_BENCH_PACKAGES[@]}" curl time bc

build=${QVS_BENCH_BUILD:-$root/build/bench}
rounds=${QVS_BENCH_ROUNDS:-3}
sizes=${QVS_BENCH_SIZES:-256 1024}
if [ -z "${QVS_BENCH_NO_BUILD:-}" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_GUI=OFF \
        -DQVS_BUILD_TESTS=OFF -DQVS_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" -j2 --target qvs-probe qvs-server qvs-pack >/dev/null
fi
probe=${QVS_BENCH_PROBE:-$build/tools/qvs-probe/qvs-probe}
pack="$build/tools/qvs-pack/qvs-pack"

work="$build/bench-fetch-work"
rm -rf "$work"
mkdir -p "$work/server/updates" "$work/server/status"
server_pid=""
cleanup() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

updatePort=$(free_port)
webPort=$(free_port)
"$build/tools/qvs-server/qvs-server" --root "$work/server" --bind 127.0.0.1 \
    --update-port "$updatePort" --game-port "$(free_port)" --http-port "$webPort" 2>/dev/null &
server_pid=$!
wait_for_port "$updatePort"
web="http://127.0.0.1:$webPort/updates/"

# Runs a command under /usr/bin/time; prints "seconds kilobytes".
measure() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
        cat "$work/stderr" >&2
        return 1
    }
    cat "$work/time"
}

fresh() { # an empty installation, the disk quiet
    rm -rf "$work/install" "$work/peer.ecd"
    mkdir -p "$work/install"
    sync
}

for size in $sizes; do
    mkdir -p "$work/src"
    files=$((size / 8 - size / 256))
    for n in $(seq "$files"); do
        head -c $((8 << 20)) /dev/urandom >"$work/src/part$n.bin"
    done
    "$pack" create "$work/src" "$work/server/updates/qvs1.ecd" --base 'data\'
    rm -rf "$work/src"
    echo "package of $(($(stat -c %s "$work/server/updates/qvs1.ecd") >> 20)) MiB, $files files"
    declare -A times=() peaks=()
    for round in $(seq "$rounds"); do
        for way in http server peer; do
            fresh
            case $way in
            http) result=$(measure "$probe" --web "$web" fetch qvs 1 --install "$work/install") ;;
            server)
                result=$(measure "$probe" --host 127.0.0.1 --port "$updatePort" \
                    fetch qvs 1 --install "$work/install" --server)
                ;;
            peer)
                read -r s1 k1 <<<"$(measure curl -0 -s -f -o "$work/peer.ecd" "${web}qvs1.ecd")"
                read -r s2 k2 <<<"$(measure "$pack" extract "$work/peer.ecd" "$work/install")"
                result="$(echo "$s1 + $s2" | bc -l) $((k1 > k2 ? k1 : k2))"
                ;;
            esac
            [ "$(du -sm "$work/install/data" | cut -f1)" -ge $((files * 8)) ] ||
                { echo "$way: the data set was not installed" >&2; exit 1; }
            read -r seconds kilobytes <<<"$result"
            printf '%4d MiB round %d  %-6s %7.2f s  %8d KiB\n' "$size" "$round" "$way" \
                "$seconds" "$kilobytes"
            times[$way]+="$seconds "
            peaks[$way]=$(((${peaks[$way]:-0} > kilobytes) ? ${peaks[$way]:-0} : kilobytes))
        done
    done
    python3 - "$size" "${times[http]}" "${times[server]}" "${times[peer]}" \
        "${peaks[http]}" "${peaks[server]}" "${peaks[peer]}" <<'PY'
import sys
size = sys.argv[1]
mean = lambda text: sum(map(float, text.split())) / len(text.split())
http, server, peer = (mean(sys.argv[i]) for i in (2, 3, 4))
phttp, pserver, ppeer = (int(sys.argv[i]) for i in (5, 6, 7))
for name, seconds, peak in (("http", http, phttp), ("server", server, pserver)):
    ratio = seconds / peer if peer > 0 else float("inf")
    print(f"{size} MiB {name}: fetch {seconds:.2f} s, curl -o + qvs-pack extract {peer:.2f} s, "
          f"ratio {ratio:.2f} (goal <= 1.30); peak memory {peak} KiB "
          f"({'within' if peak < 64 * 1024 else 'OVER'} 64 MiB; the peer {ppeer} KiB)")
PY
    unset times peaks
    rm -f "$work/server/updates/qvs1.ecd"
done
