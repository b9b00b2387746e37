#!/usr/bin/env bash
# Builds every benchmark, optimised, into build/bench (QVS_BENCH_BUILD): the
# benchmarks' own command (the test command's GCC release build has them
# too, for its smoke run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
qvs_install_packages "${QVS_BENCH_PACKAGES[@]}"
build=${QVS_BENCH_BUILD:-$root/build/bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_GUI=OFF \
    -DQVS_BUILD_TESTS=OFF -DQVS_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j2 "$@" >/dev/null
echo "benchmarks built in $build/bench"
