#!/usr/bin/env bash
# Network figures, all on loopback:
#  1. a 256 MiB file from nginx: our HTTP client (qvs-probe get) against
#     curl, alternating, with time and peak resident memory of each run;
#  2. the same amount as a client code package from qvs-server's update port
#     (qvs-probe fetch --server), against the HTTP runs;
#  3. qvs-server under many launchers at once, each running the queries of
#     an update pass, while 10,000 idle and 256 slow-drip connections are
#     held (bench_server_load update): requests per second, latency,
#     failures, the server's peak memory;
#  4. HTTP GET of a 4 KiB and a 5 MiB file by 64 clients from qvs-server's
#     web port and from nginx serving the same folder (bench_server_load http).
# Environment: QVS_BENCH_BUILD (build directory), QVS_BENCH_NO_BUILD (1: use
# the programs already built there, such as the test command's release
# build), QVS_BENCH_MIB (size of the file, 256), QVS_BENCH_ROUNDS (3),
# QVS_BENCH_LAUNCHERS (200), QVS_BENCH_LOAD_ROUNDS (5), QVS_BENCH_IDLE (10000),
# QVS_BENCH_DRIPS (256), QVS_BENCH_HTTP_CLIENTS (64), QVS_BENCH_HTTP_SECONDS
# (5, each of the four runs per file).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
source scripts/nginx-peer.sh
source scripts/loopback-ports.sh
qvs_install_packages "${QVS_BENCH_PACKAGES[@]}" curl nginx

build=${QVS_BENCH_BUILD:-$root/build/bench}
rounds=${QVS_BENCH_ROUNDS:-3}
launchers=${QVS_BENCH_LAUNCHERS:-200}
loadRounds=${QVS_BENCH_LOAD_ROUNDS:-5}
idle=${QVS_BENCH_IDLE:-10000}
drips=${QVS_BENCH_DRIPS:-256}
httpClients=${QVS_BENCH_HTTP_CLIENTS:-64}
httpSeconds=${QVS_BENCH_HTTP_SECONDS:-5}
if [ -z "${QVS_BENCH_NO_BUILD:-}" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_GUI=OFF \
        -DQVS_BUILD_TESTS=OFF -DQVS_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" -j2 --target qvs-probe qvs-server qvs-pack bench_server_load >/dev/null
fi
probe="$build/tools/qvs-probe/qvs-probe"
server="$build/tools/qvs-server/qvs-server"
pack="$build/tools/qvs-pack/qvs-pack"
load="$build/bench/bench_server_load"

work="$build/bench-network-work"
rm -rf "$work"
mkdir -p "$work/www" "$work/nginx/temp" "$work/server/updates" "$work/install"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Runs a command under /usr/bin/time; prints "seconds kilobytes".
measure() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
        cat "$work/stderr" >&2
        return 1
    }
    cat "$work/time"
}

size=$((${QVS_BENCH_MIB:-256} << 20))
head -c "$size" /dev/urandom >"$work/www/big.bin"

httpPort=$(free_port)
start_nginx "$work/nginx" "$httpPort" "$work/www"
pids+=("$nginx_pid")
wait_for_port "$httpPort"

# The client code package for the update server: a package holding the file.
mkdir -p "$work/pkg"
ln "$work/www/big.bin" "$work/pkg/big.bin"
"$pack" create "$work/pkg" "$work/server/updates/qvsc1.ecd" --base 'client\'
rm -rf "$work/pkg"
cp "$pack" "$work/server/updates/qvs.exe"
"$pack" create "$work/install" "$work/server/updates/qvs3.ecd"
head -c 4096 /dev/urandom >"$work/server/small.bin"
head -c $((5 << 20)) /dev/urandom >"$work/server/large.bin"
updatePort=$(free_port)
webPort=$(free_port)
# Room for the idle and dripping connections beside the launchers, two
# descriptors each for the server (a socket and a file): raised past the
# hard limit where we may; fewer idle connections where even that is short.
ulimit -n 65536 2>/dev/null || ulimit -n "$(ulimit -Hn)"
fit=$(($(ulimit -n) / 2 - 100 - drips - 2 * launchers - httpClients))
if ((idle > fit)); then
    echo "idle connections: $fit, as many as the open-file limit $(ulimit -n) allows"
    idle=$fit
fi
"$server" --root "$work/server" --bind 127.0.0.1 --update-port "$updatePort" \
    --game-port "$(free_port)" --http-port "$webPort" \
    --max-connections $((idle + drips + 2 * launchers + httpClients)) 2>"$work/server.log" &
serverPid=$!
pids+=("$serverPid")
wait_for_port "$updatePort" || { cat "$work/server.log" >&2; exit 1; }
peerPort=$(free_port)
start_nginx "$work/nginx-peer" "$peerPort" "$work/server" 127.0.0.1 "$(nproc)" 4096
pids+=("$nginx_pid")
wait_for_port "$peerPort"

url="http://127.0.0.1:$httpPort/big.bin"
ecdBytes=$(stat -c %s "$work/server/updates/qvsc1.ecd")
declare -A times peaks
for round in $(seq "$rounds"); do
    for tool in probe curl server; do
        rm -f "$work/out.bin" "$work/install/qvsc.ecd"
        case $tool in
        probe) result=$(measure "$probe" get "$url" --out "$work/out.bin") ;;
        curl) result=$(measure curl -0 -s -f -o "$work/out.bin" "$url") ;;
        server)
            result=$(measure "$probe" --host 127.0.0.1 --port "$updatePort" \
                fetch qvsc 1 --install "$work/install" --server)
            ;;
        esac
        if [ "$tool" = server ]; then
            cmp -s "$work/install/qvsc.ecd" "$work/server/updates/qvsc1.ecd"
        else
            cmp -s "$work/out.bin" "$work/www/big.bin"
        fi
        read -r seconds kilobytes <<<"$result"
        printf 'round %d  %-6s %7.2f s  %8d KiB\n' "$round" "$tool" "$seconds" "$kilobytes"
        times[$tool]+="$seconds "
        peaks[$tool]=$(((${peaks[$tool]:-0} > kilobytes) ? ${peaks[$tool]:-0} : kilobytes))
    done
done

python3 - "$size" "$ecdBytes" "${times[probe]}" "${times[curl]}" "${times[server]}" \
    "${peaks[probe]}" "${peaks[curl]}" "${peaks[server]}" <<'PY'
import sys
size, ecd = int(sys.argv[1]), int(sys.argv[2])
mean = lambda text: sum(map(float, text.split())) / len(text.split())
# /usr/bin/time counts in hundredths: a tiny smoke run may take "0.00".
probe, curl, server = (max(mean(sys.argv[i]), 0.01) for i in (3, 4, 5))
pprobe, pcurl, pserver = (int(sys.argv[i]) for i in (6, 7, 8))
limit = 2 * size // 1024 + 32 * 1024
print(f"http: qvs-probe get {probe:.2f} s, curl {curl:.2f} s, ratio {probe / curl:.2f} "
      f"(goal <= 1.20)")
print(f"http: peak memory qvs-probe {pprobe} KiB, curl {pcurl} KiB, limit {limit} KiB "
      f"({'within' if pprobe <= limit else 'OVER'})")
slimit = 2 * ecd // 1024 + 32 * 1024
print(f"server: qvs-probe fetch --server {server:.2f} s for {ecd // 1024} KiB, "
      f"{server / probe:.2f}x the HTTP client, {server / curl:.2f}x curl")
print(f"server: peak memory {pserver} KiB, limit {slimit} KiB "
      f"({'within' if pserver <= slimit else 'OVER'})")
PY

status=0
"$load" update "$updatePort" "$serverPid" "$launchers" "$loadRounds" "$idle" "$drips" || status=1
for file in /small.bin /large.bin; do
    "$load" http "$webPort" "$peerPort" "$file" "$httpClients" "$httpSeconds" || status=1
done
exit $status
