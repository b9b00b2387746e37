#!/usr/bin/env bash
# The cost of the update pass itself: one pass that fetches 20 data versions
# of 5 MiB each over HTTP from qvs-server on loopback, against the sum of the
# raw transfer times of the same 20 files (curl, same host, same run). Rounds
# alternate between the two; prints each round, the best times and the
# overhead per version (goal: at most 150 ms).
# Environment: QVS_BENCH_BUILD (build directory), QVS_BENCH_ROUNDS (3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
source scripts/loopback-ports.sh
qvs_install_packages curl bc python3 cmake ninja-build

build=${QVS_BENCH_BUILD:-$root/build/bench-update}
rounds=${QVS_BENCH_ROUNDS:-3}
versions=20
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j2 --target qvs-pack qvs-server update_pass_runner >/dev/null
pack="$build/tools/qvs-pack/qvs-pack"
runner="$build/tests/update/update_pass_runner"

work="$build/bench-update-work"
rm -rf "$work"
mkdir -p "$work/server/updates" "$work/server/status"
trap 'kill "${server_pid:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

# The launcher file on both sides carries the same version: no self-update.
launcher_file() {
    python3 -c 'import sys; r=b"QvsFileVersionRecord:1.0.0.1"; sys.stdout.buffer.write(b"launcher" + r + bytes(96-len(r)))' >"$1"
}
launcher_file "$work/server/updates/QVS.exe"
for n in $(seq 1 $versions); do
    mkdir -p "$work/data$n/art"
    head -c $((5 * 1024 * 1024)) /dev/urandom >"$work/data$n/art/set$n.bin"
    "$pack" create "$work/data$n" "$work/server/updates/qvs$n.ecd" >/dev/null
done

update_port=$(free_port)
http_port=$(free_port)
game_port=$(free_port)
"$build/tools/qvs-server/qvs-server" --root "$work/server" --bind 127.0.0.1 \
    --update-port "$update_port" --game-port "$game_port" --http-port "$http_port" 2>/dev/null &
server_pid=$!
wait_for_port "$http_port" 5
web="http://127.0.0.1:$http_port/updates/"

now() { date +%s.%N; }
best_raw=""
best_pass=""
for round in $(seq 1 "$rounds"); do
    start=$(now)
    for n in $(seq 1 $versions); do
        curl -s -0 -o /dev/null "${web}qvs$n.ecd"
    done
    raw=$(echo "$(now) - $start" | bc -l)

    install="$work/install"
    rm -rf "$install"
    mkdir -p "$install"
    launcher_file "$install/qvs.exe"
    start=$(now)
    "$runner" "$install/" "$update_port" "$web" || { echo "the pass failed" >&2; exit 1; }
    pass=$(echo "$(now) - $start" | bc -l)
    [ "$(od -An -tu4 "$install/qvs.dat" | tr -d ' ')" = "$versions" ] ||
        { echo "the pass did not install every version" >&2; exit 1; }
    printf 'round %d: raw transfers %.3f s, update pass %.3f s\n' "$round" "$raw" "$pass"
    if [ -z "$best_pass" ] || (($(echo "$pass < $best_pass" | bc -l))); then best_pass=$pass; fi
    if [ -z "$best_raw" ] || (($(echo "$raw < $best_raw" | bc -l))); then best_raw=$raw; fi
done
overhead=$(echo "($best_pass - $best_raw) * 1000 / $versions" | bc -l)
printf '%d versions of 5 MiB: update pass %.3f s, raw transfers %.3f s (best of %d), ratio %.2f\n' \
    "$versions" "$best_pass" "$best_raw" "$rounds" "$(echo "$best_pass / $best_raw" | bc -l)"
printf 'overhead per version: %.0f ms (goal: at most 150 ms)\n' "$overhead"
