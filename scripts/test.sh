#!/usr/bin/env bash
# Builds and runs every test: the native build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the threaded parts (the
# workers, qvs-server) under ThreadSanitizer, the Windows build under Wine,
# each fuzz target for a short bounded time, and last the slow tests that need
# a display (Xvfb). Every stage runs even when an earlier one failed; each
# stage's result is printed at the end and the script fails if any failed.
set -uo pipefail
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

# A loopback address of this build folder's own (127.x.y.z, never
# 127.0.0.1), for the hosts built into the native launcher: the tests that
# start servers on the fixed ports then reach only their own, whatever else
# listens on 127.0.0.1.
own_loopback_address() { # DIR
    local sum
    sum=$(printf '%s' "$(realpath -m "$1")" | cksum | cut -d' ' -f1)
    echo "127.$((sum % 254 + 1)).$((sum / 254 % 256)).$((sum / 65024 % 254 + 1))"
}

native_build() {
    local host
    host=$(own_loopback_address build/native)
    cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVS_BUILD_BENCH=ON \
        -DQVS_SERVER_HOST="$host" -DQVS_UPDATE_WEB_HOST="$host:8080" \
        -DQVS_GAME_WEB_SITE="http://$host:8080"
    cmake --build build/native -j"$jobs"
}

native_tests() { run_ctest build/native -LE display; }

native_display_tests() { run_ctest build/native -L display; }

sanitizer_tests() {
    local san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQVS_BUILD_GUI=OFF \
        -DCMAKE_CXX_FLAGS="$san" -DCMAKE_C_FLAGS="$san" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    cmake --build build/asan -j"$jobs"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build/asan
}

# Only the tests whose code runs threads: the worker frame and workers,
# qvs-server with the probe (tools_tests starts the instrumented binaries, and
# halt_on_error makes a race in any of them fail its test), and the file
# batch's background flush (platform_tests).
thread_sanitizer_tests() {
    local tsan="-fsanitize=thread -fno-omit-frame-pointer"
    cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVS_BUILD_GUI=OFF \
        -DQVS_BUILD_TOOLS=ON -DCMAKE_CXX_FLAGS="$tsan" -DCMAKE_C_FLAGS="$tsan" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread"
    cmake --build build/tsan -j"$jobs" --target workers_tests tools_tests platform_tests
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
        run_ctest build/tsan -R '^(workers_tests|tools_tests|platform_tests)$'
}

wine_tests() {
    export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export DISPLAY=""
    [ -d "$WINEPREFIX" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    cmake -S . -B build/mingw -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DQVS_BUILD_GUI=OFF
    cmake --build build/mingw -j"$jobs"
    local status=0
    run_ctest build/mingw || status=$?
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    return "$status"
}

# Every target runs; each one's outcome goes to the log as "fuzz: NAME ok"
# or "fuzz: NAME failed".
fuzz_targets() {
    cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DQVS_BUILD_GUI=OFF -DQVS_BUILD_TESTS=OFF -DQVS_BUILD_TOOLS=OFF -DQVS_BUILD_FUZZ=ON
    cmake --build build/fuzz -j"$jobs"
    local fuzzer name status=0
    for fuzzer in build/fuzz/tests/fuzz/fuzz_*; do
        [ -x "$fuzzer" ] || continue
        name=$(basename "$fuzzer")
        mkdir -p "build/fuzz/corpus/$name"
        echo "-- $name"
        if "$fuzzer" -max_total_time="$fuzz_seconds" -rss_limit_mb=4096 -print_final_stats=0 \
            "build/fuzz/corpus/$name" 2>&1 | tail -n 3; then
            echo "fuzz: $name ok" | tee -a "$log"
        else
            echo "fuzz: $name failed" | tee -a "$log"
            status=1
        fi
    done
    return "$status"
}

# Failed tests so far, as ctest and the fuzz loop logged them.
failed_tests() {
    local ctest fuzz
    ctest=$(grep -Eo '[0-9]+ tests failed out of' "$log" | awk '{s += $1} END {print s + 0}')
    fuzz=$(grep -c '^fuzz: .* failed$' "$log")
    echo $((ctest + fuzz))
}

results=()
broken_stages=0 # stages that failed without a failed test to show for it

# run_stage TITLE FUNCTION...: runs the functions in a subshell that stops at
# the first failing command; the next stage runs whatever happened.
run_stage() {
    local title=$1 before status
    shift
    stage "$title"
    before=$(failed_tests)
    (
        set -e
        for step in "$@"; do "$step"; done
    )
    status=$?
    if ((status == 0)); then
        results+=("passed  $title")
    else
        results+=("FAILED  $title")
        (($(failed_tests) > before)) || broken_stages=$((broken_stages + 1))
    fi
}

run_stage "native build and tests" native_build native_tests
run_stage "AddressSanitizer and UndefinedBehaviorSanitizer" sanitizer_tests
run_stage "ThreadSanitizer: workers, qvs-server and the file batch" thread_sanitizer_tests
run_stage "Windows build under Wine" wine_tests
run_stage "fuzz targets, ${fuzz_seconds} s each" fuzz_targets
run_stage "native tests on a display (Xvfb)" native_display_tests

stage "results"
printf '%s\n' "${results[@]}"

# One closing line for the whole run: ctest's totals over all builds plus the
# fuzz targets, and a stage that failed without a failed test (a build error)
# counts as one failure.
total=$(grep -Eo 'tests failed out of [0-9]+' "$log" | awk '{s += $5} END {print s + 0}')
fuzz_total=$(grep -c '^fuzz: ' "$log")
failed=$(($(failed_tests) + broken_stages))
echo
echo "all: $((total + fuzz_total + broken_stages - failed)) passed, $failed failed"
((failed == 0))
