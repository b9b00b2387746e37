#!/usr/bin/env bash
# Builds and runs every test. One clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer (the Qt windows included) runs the unit tests,
# every fuzz target from its seed corpus for a short bounded time, and the
# tests that need a display (Xvfb); the threaded parts (the workers,
# qvs-server, the file batch) run again under ThreadSanitizer and the core
# with its tests and the Win32 launcher is cross-compiled for Windows and run
# under Wine (the launcher's windows and Play Game on Xvfb). GCC builds the
# README's release configuration, whose benchmarks each run once at their
# smallest size (a smoke test, not a measurement). Every build treats
# warnings as errors (QVS_WARNINGS_AS_ERRORS). The display
# tests and the Wine tests mostly wait (the launcher closes 14.5 s after
# starting the game; Wine starts its own server), so they run in the
# background beside the other stages, which give way to them (nice). Every
# stage runs even when an earlier one failed; each stage's result and time
# are printed at the end and the script fails if any failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
SECONDS=0
source scripts/deps.sh
qvs_install_packages "${QVS_CORE_PACKAGES[@]}" "${QVS_GUI_PACKAGES[@]}" "${QVS_RELEASE_PACKAGES[@]}"
install_seconds=$SECONDS

jobs=2
fuzz_seconds=${QVS_FUZZ_SECONDS:-10}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
reports=(build/asan/gtest-unit build/asan/gtest-display build/tsan/gtest build/mingw/gtest
    build/mingw/gtest-display)
rm -rf "${reports[@]}"

stage() { printf '\n==== %s ====\n' "$*"; }

# Each GoogleTest program leaves a report of its cases in DIR/gtest/, read
# for the closing line; a stage's own folder keeps a filtered second run of a
# program (the X11 window search) from overwriting the first one's report.
run_ctest() { # DIR REPORTS [ctest options...]
    local dir=$1 report_dir=$2
    shift 2
    mkdir -p "$report_dir" # GoogleTest makes it on Linux, not on Windows
    GTEST_OUTPUT="xml:${report_drive:-}$root/$report_dir/" \
        ctest --test-dir "$dir" -j"$jobs" --output-on-failure --no-tests=error "$@" 2>&1 |
        tee -a "$log"
    return "${PIPESTATUS[0]}"
}

# A loopback address of this build folder's own (127.x.y.z, never
# 127.0.0.1), for the hosts built into the launcher: the tests that start
# servers on the fixed ports then reach only their own, whatever else listens
# on 127.0.0.1.
own_loopback_address() { # DIR
    local sum
    sum=$(printf '%s' "$(realpath -m "$1")" | cksum | cut -d' ' -f1)
    echo "127.$((sum % 254 + 1)).$((sum / 254 % 256)).$((sum / 65024 % 254 + 1))"
}

# clang with lld for the sanitizer builds; -O1 keeps them quick to build and
# to run, and line tables are all a sanitizer report needs.
clang_build() { # DIR FLAGS [cmake options...]
    local dir=$1 flags="-O1 -gline-tables-only -fno-omit-frame-pointer $2"
    shift 2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_C_COMPILER=clang \
        -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
        -DQVS_WARNINGS_AS_ERRORS=ON \
        -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld "$@"
}

# The fuzz option instruments every library for the fuzzers' coverage, which
# costs the unit tests linked against the same libraries nothing they notice.
sanitizer_build() {
    local host
    host=$(own_loopback_address build/asan)
    clang_build build/asan "-fsanitize=address,undefined -fno-sanitize-recover=all" \
        -DQVS_BUILD_FUZZ=ON -DQVS_SERVER_HOST="$host" -DQVS_UPDATE_WEB_HOST="$host:8080" \
        -DQVS_GAME_WEB_SITE="http://$host:8080"
    cmake --build build/asan -j"$jobs"
}

unit_tests() {
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        run_ctest build/asan build/asan/gtest-unit -LE display
}

# The browser views run Chromium's code (QtWebEngine) in our process: it frees
# with a size of its own and leaves memory at exit, none of it ours. Leaks of
# our code were looked for in the unit tests, the Qt windows included.
display_tests() {
    ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0 UBSAN_OPTIONS=print_stacktrace=1 \
        run_ctest build/asan build/asan/gtest-display -L display
}

# Each target starts from its committed seeds (tests/fuzz/corpus/NAME) and
# what earlier runs found (build/asan/corpus/NAME); two run at a time, one per
# core. Every outcome goes to the log as "fuzz: NAME ok" or "fuzz: NAME failed".
fuzz_one() { # FUZZER
    local name seeds found
    name=$(basename "$1")
    seeds=tests/fuzz/corpus/$name
    found=build/asan/corpus/$name
    mkdir -p "$found"
    if "$1" -max_total_time="$fuzz_seconds" -rss_limit_mb=4096 -print_final_stats=0 \
        "$found" "$seeds" >"build/asan/$name.log" 2>&1; then
        echo "fuzz: $name ok"
    else
        tail -n 30 "build/asan/$name.log"
        echo "fuzz: $name failed"
    fi
}

fuzz_targets() {
    export -f fuzz_one
    export fuzz_seconds
    ls build/asan/tests/fuzz/fuzz_* | xargs -P "$jobs" -I{} bash -c 'fuzz_one {}' | tee -a "$log"
    ! grep -q '^fuzz: .* failed$' "$log"
}

# Only the tests whose code runs threads: the worker frame and workers,
# qvs-server with the probe (tools_tests starts the instrumented binaries, and
# halt_on_error makes a race in any of them fail its test), and the file
# batch's background flush (platform_tests).
thread_sanitizer_tests() {
    clang_build build/tsan "-fsanitize=thread" -DQVS_BUILD_GUI=OFF \
        -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld -fsanitize=thread"
    cmake --build build/tsan -j"$jobs" --target workers_tests tools_tests platform_tests
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
        run_ctest build/tsan build/tsan/gtest -R '^(workers_tests|tools_tests|platform_tests)$'
}

# Optimised lightly and without debug information: under Wine the tests check
# Windows behaviour, and a failure names its case. The launcher's hosts are
# this build folder's own loopback address, so its Play Game test and the
# sanitizer build's can run at the same time; that test takes qvs-server and
# the demo folder from the sanitizer build.
windows_build() {
    local host
    host=$(own_loopback_address build/mingw)
    cmake -S . -B build/mingw -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS=-O1 -DCMAKE_C_FLAGS=-O1 \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DQVS_SERVER_HOST="$host" \
        -DQVS_UPDATE_WEB_HOST="$host:8080" -DQVS_GAME_WEB_SITE="http://$host:8080" \
        -DQVS_NATIVE_BUILD="$root/build/asan" -DQVS_WARNINGS_AS_ERRORS=ON -DQVS_UPDATE_PUBLIC_KEYS=
    cmake --build build/mingw -j"$jobs"
}

wine_tests() {
    export WINEPREFIX="$root/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export DISPLAY=""
    [ -d "$WINEPREFIX" ] || /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
    # GoogleTest on Windows takes a path without a drive letter as relative.
    local status=0 report_drive=Z:
    run_ctest build/mingw build/mingw/gtest -LE wine_display || status=$?
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    return "$status"
}

# The README's release build with GCC, warnings as errors, the benchmarks
# included: what a user builds, with the compiler the clang stages do not
# try. Its tests are built, not run (the sanitizer builds run them); its
# benchmarks run in the smoke stage below.
gcc_release_build() {
    qvs_install_packages "${QVS_BENCH_PACKAGES[@]}"
    cmake -S . -B build/gcc-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_COMPILER=gcc \
        -DCMAKE_CXX_COMPILER=g++ -DQVS_WARNINGS_AS_ERRORS=ON -DQVS_BUILD_BENCH=ON \
        -DQVS_SERVER_HOST=127.0.0.1 -DQVS_UPDATE_WEB_HOST=127.0.0.1:8080 -DQVS_UPDATE_PUBLIC_KEYS=
    cmake --build build/gcc-release -j"$jobs"
}

# Every benchmark once, at its smallest size and one round, from the GCC
# build: only that each finishes and prints its figures. Their real runs
# are by hand (README).
benchmark_smoke() {
    export QVS_BENCH_BUILD=$root/build/gcc-release QVS_BENCH_NO_BUILD=1 QVS_BENCH_MIB=4 \
        QVS_BENCH_ROUNDS=1 QVS_BENCH_FILES=100 QVS_BENCH_VERSIONS=2 QVS_BENCH_LAUNCHERS=4 \
        QVS_BENCH_LOAD_ROUNDS=1 QVS_BENCH_IDLE=20 QVS_BENCH_DRIPS=4 QVS_BENCH_HTTP_CLIENTS=8 \
        QVS_BENCH_HTTP_SECONDS=1 QVS_BENCH_SIZES=8 QVS_BENCH_WIN32_BUILD=$root/build/mingw
    local program script status=0
    for program in build/gcc-release/bench/bench_stream build/gcc-release/bench/bench_package; do
        smoke_one "$program" "$program" --benchmark_min_time=0 || status=1
    done
    for script in scripts/bench-*.sh; do
        [ "$script" = scripts/bench-build.sh ] || smoke_one "$script" bash "$script" || status=1
    done
    return "$status"
}

smoke_one() { # NAME COMMAND...
    local name=$1 start=$SECONDS output
    shift
    if output=$("$@" 2>&1) && grep -q "[0-9]" <<<"$output"; then
        printf '%s\n' "$output" | tail -n 4
        echo "bench: $name ran in $((SECONDS - start)) s"
    else
        printf '%s\n' "$output" | tail -n 20
        echo "bench: $name FAILED"
        return 1
    fi
}

# The Windows launcher's windows and Play Game under Wine on Xvfb, in a Wine
# prefix of their own (a test there may end every Wine process of it), made
# on first use without the Mono and Gecko installers, crash dialogs off.
wine_display_tests() { # [ctest selection, -L wine_display by default]
    export WINEPREFIX="$root/build/wine-display" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    local wine=/usr/lib/wine/wine64 wineserver=/usr/lib/wine/wineserver status=0
    local selection=("$@")
    ((${#selection[@]} > 0)) || selection=(-L wine_display)
    if [ ! -d "$WINEPREFIX" ]; then
        DISPLAY="" timeout 300 "$wine" wineboot -i >/dev/null 2>&1 || true
        timeout 60 "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog \
            /t REG_DWORD /d 0 /f >/dev/null
        timeout 120 "$wineserver" -w || true
    fi
    mkdir -p build/mingw/gtest-display
    GTEST_OUTPUT="xml:Z:$root/build/mingw/gtest-display/" xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --test-dir build/mingw --output-on-failure --no-tests=error "${selection[@]}" 2>&1 |
        tee -a "$log"
    status=${PIPESTATUS[0]}
    timeout 30 "$wineserver" -k 2>/dev/null || true
    return "$status"
}

# The release command on a scratch key with the MinGW build's own loopback
# address, releasing from the GCC release build and the MinGW build once the
# Wine tests are done with it: each rebuilds only what the hosts and the key
# change (the next run builds them back, as its builds name no key).
release_tests() {
    QVS_RELEASE_TEST_HOST=$(own_loopback_address build/mingw) \
        QVS_RELEASE_LINUX_BUILD=$root/build/gcc-release QVS_RELEASE_WINDOWS_BUILD=$root/build/mingw \
        QVS_RELEASE_LINUX_CMAKE_ARGS="-DQVS_BUILD_TESTS=ON -DQVS_BUILD_BENCH=ON -DQVS_WARNINGS_AS_ERRORS=ON" \
        QVS_RELEASE_WINDOWS_CMAKE_ARGS="-DCMAKE_BUILD_TYPE= -DQVS_BUILD_TESTS=ON -DQVS_WARNINGS_AS_ERRORS=ON" \
        bash tests/packaging/release_test.sh "$root/build/release-test" | tee -a "$log"
    # The MinGW build is now the release's, with its key: Play Game and the
    # self-update under Wine, every file signed with that key, the new
    # launcher by Authenticode too.
    QVS_UPDATE_SECRET_KEY=$root/build/release-test/release-key.pem wine_display_tests \
        -R '^win32_play_game$'
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

# Records a finished stage: TITLE STATUS SECONDS_TAKEN FAILED_BEFORE.
record_stage() {
    local verdict=passed
    if (($2 != 0)); then
        verdict=FAILED
        (($(failed_tests) > $4)) || broken_stages=$((broken_stages + 1))
    fi
    results+=("$(printf '%-7s %4d s  %s' "$verdict" "$3" "$1")")
}

# Runs the functions given, stopping at the first failing command.
run_steps() {
    set -e
    for step in "$@"; do "$step"; done
}

# run_stage TITLE FUNCTION...: runs the functions in a subshell; the next
# stage runs whatever happened. While a background stage runs, the stage runs
# at a lower priority, as the background ones are the easily upset.
run_stage() {
    local title=$1 before start=$SECONDS status
    shift
    stage "$title"
    before=$(failed_tests)
    # Not "( ... ) || status=$?": bash ignores set -e on the left of ||.
    (
        ((${#background_pids[@]} == 0)) || renice -n 10 -p "$BASHPID" >/dev/null
        run_steps "$@"
    )
    status=$?
    record_stage "$title" "$status" $((SECONDS - start)) "$before"
}

# The stages that mostly wait (on the launcher, or on Wine) run in the
# background beside the others, each with a log of its own that joins the
# main one when all are over; each notes when it ended.
background_pids=()
background_titles=()
mkdir -p build && rm -f build/background-*
start_background() { # TITLE FUNCTION...
    local n=${#background_pids[@]} start=$SECONDS
    background_titles+=("$1")
    shift
    (
        (
            log=/dev/null
            run_steps "$@"
        )
        echo "$? $((SECONDS - start))" >"build/background-$n.end"
    ) >"build/background-$n.log" 2>&1 &
    background_pids+=($!)
}

finish_backgrounds() {
    local n status taken before
    for n in "${!background_pids[@]}"; do
        wait "${background_pids[$n]}"
        # A stage killed before it could note its end counts as failed.
        read -r status taken <"build/background-$n.end" 2>/dev/null || status=1 taken=0
        stage "${background_titles[$n]}"
        before=$(failed_tests)
        tee -a "$log" <"build/background-$n.log"
        record_stage "${background_titles[$n]}" "$status" "$taken" "$before"
    done
    background_pids=()
}

run_stage "sanitizer build (clang, AddressSanitizer and UndefinedBehaviorSanitizer)" sanitizer_build
start_background "tests on a display (Xvfb), under the sanitizers" display_tests
run_stage "unit tests under the sanitizers" unit_tests
run_stage "fuzz targets from their seeds, ${fuzz_seconds} s each" fuzz_targets
run_stage "Windows build (MinGW)" windows_build
start_background "Windows tests under Wine" wine_tests
start_background "Windows launcher under Wine on a display (Xvfb)" wine_display_tests
run_stage "GCC release build and benchmark smoke" gcc_release_build benchmark_smoke
run_stage "ThreadSanitizer: workers, qvs-server and the file batch" thread_sanitizer_tests
finish_backgrounds
run_stage "release command from the GCC and MinGW builds" release_tests

stage "results"
printf '%-7s %4d s  %s\n' done "$install_seconds" "packages"
printf '%s\n' "${results[@]}"

# One closing line for the whole run: the GoogleTest cases that ran in every
# build (from their reports), the other tests ctest ran (scripts), the fuzz
# targets, and the failures; a stage that failed without a failed test (a
# build error) counts as one failure.
read -r cases scripts < <(python3 scripts/count-test-cases.py "$log" "${reports[@]}")
fuzz_total=$(grep -c '^fuzz: ' "$log")
failed=$(($(failed_tests) + broken_stages))
echo
echo "all: $cases GoogleTest cases, $scripts script tests and $fuzz_total fuzz targets ran" \
    "in $((SECONDS / 60)) min $((SECONDS % 60)) s; $failed failed"
((failed == 0))
