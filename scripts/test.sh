#!/usr/bin/env bash
# Builds and runs every test: the native build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the threaded parts (the
# workers, qvs-server) under ThreadSanitizer, the Windows build under Wine,
# and each fuzz target for a short bounded time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
qvs_install_packages "${QVS_CORE_PACKAGES[@]}" "${QVS_GUI_PACKAGES[@]}"

jobs=2
fuzz_seconds=${QVS_FUZZ_SECONDS:-20}
log=$(mktemp)
trap 'rm -f "$log"' EXIT

stage() { printf '\n==== %s ====\n' "$*"; }

run_ctest() { # DIR [ctest options...]
    local dir=$1
    shift
    ctest --test-dir "$dir" -j"$jobs" --output-on-failure --no-tests=error "$@" 2>&1 | tee -a "$log"
    return "${PIPESTATUS[0]}"
}

stage "native build and tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVS_BUILD_BENCH=ON
cmake --build build/native -j"$jobs"
run_ctest build/native

stage "AddressSanitizer and UndefinedBehaviorSanitizer"
san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQVS_BUILD_GUI=OFF \
    -DCMAKE_CXX_FLAGS="$san" -DCMAKE_C_FLAGS="$san" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build build/asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build/asan

stage "ThreadSanitizer: workers, qvs-server and the file batch"
# Only the tests whose code runs threads: the worker frame and workers,
# qvs-server with the probe (tools_tests starts the instrumented binaries, and
# halt_on_error makes a race in any of them fail its test), and the file
# batch's background flush (platform_tests).
tsan="-fsanitize=thread -fno-omit-frame-pointer"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVS_BUILD_GUI=OFF \
    -DQVS_BUILD_TOOLS=ON -DCMAKE_CXX_FLAGS="$tsan" -DCMAKE_C_FLAGS="$tsan" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
cmake --build build/tsan -j"$jobs" --target workers_tests tools_tests platform_tests
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
    run_ctest build/tsan -R '^(workers_tests|tools_tests|platform_tests)$'

stage "Windows build under Wine"
export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=""
[ -d "$WINEPREFIX" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
cmake -S . -B build/mingw -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DQVS_BUILD_GUI=OFF
cmake --build build/mingw -j"$jobs"
run_ctest build/mingw
/usr/lib/wine/wineserver -k 2>/dev/null || true

stage "fuzz targets, ${fuzz_seconds} s each"
cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DQVS_BUILD_GUI=OFF -DQVS_BUILD_TESTS=OFF -DQVS_BUILD_TOOLS=OFF -DQVS_BUILD_FUZZ=ON
cmake --build build/fuzz -j"$jobs"
fuzz_passed=0
for fuzzer in build/fuzz/tests/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    mkdir -p "build/fuzz/corpus/$name"
    echo "-- $name"
    "$fuzzer" -max_total_time="$fuzz_seconds" -rss_limit_mb=4096 -print_final_stats=0 \
        "build/fuzz/corpus/$name" 2>&1 | tail -n 3
    fuzz_passed=$((fuzz_passed + 1))
done

# One closing line for the whole run: ctest's totals over all builds plus the
# fuzz targets (a failed test or fuzz crash has already stopped the script).
total=$(grep -Eo 'tests failed out of [0-9]+' "$log" | awk '{s += $5} END {print s + 0}')
echo
echo "all: $((total + fuzz_passed)) passed, 0 failed"
