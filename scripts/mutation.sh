#!/usr/bin/env bash
# Mutation testing of the core, run by hand: plants each one-line fault of
# scripts/mutations.txt in turn into a copy of HEAD, rebuilds that copy and
# runs the quick tests (no display). A fault the tests notice is CAUGHT, one
# they pass with SURVIVED, one that does not compile BUILD-ERROR (counted
# neither way). Prints one line per fault and the mutation score. The
# maintainer's working tree is never touched; every entry of the list must
# match its file exactly once in HEAD, or nothing is built.
# List format, one fault a line, "#" comments and blank lines allowed:
#     FILE<TAB>ORIGINAL<TAB>REPLACEMENT<TAB>DESCRIPTION
# Environment: QVS_MUTATION_WORK (where the copy and its build go;
# build/mutation), QVS_MUTATION_ONLY (a regular expression: only the entries
# whose "FILE: DESCRIPTION" matches), QVS_MUTATION_JOBS (2),
# QVS_MUTATION_KEEP=1 (keep the copy, its build and log), QVS_MUTATION_LIST
# (scripts/mutations.txt), QVS_MUTATION_TIMEOUT (seconds for one test run;
# by default three times the unmutated run plus a minute).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

list=$(realpath -m "${QVS_MUTATION_LIST:-scripts/mutations.txt}")
work=$(realpath -m "${QVS_MUTATION_WORK:-$root/build/mutation}")
only=${QVS_MUTATION_ONLY:-}
jobs=${QVS_MUTATION_JOBS:-2}
keep=${QVS_MUTATION_KEEP:-0}
copy=""
planted=""
test_pid=""
outcome=""

fail() {
    echo "mutation: $*" >&2
    exit 2
}

# Puts the original back if a run is interrupted with a fault planted.
clean_up() {
    if [ -n "$planted" ]; then
        cp "$copy/pristine" "$copy/tree/$planted"
    fi
    if [ -n "$copy" ]; then
        if [ "$keep" = 1 ]; then
            echo "kept: $copy (tree, build, log)"
        else
            rm -rf "$copy"
        fi
    fi
}

# Checks the whole list against a tree and prints the selected entries, one
# a line, fields separated by \x1f (an empty replacement survives the read).
select_entries() { # LIST TREE ONLY
    python3 - "$@" <<'PY'
import re, sys
listing, tree, only = sys.argv[1], sys.argv[2], sys.argv[3]
problems, chosen = [], []
with open(listing, encoding="utf-8") as lines:
    for number, line in enumerate(lines, 1):
        line = line.rstrip("\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        fields = line.split("\t")
        where = f"{listing}:{number}"
        if len(fields) != 4:
            problems.append(f"{where}: {len(fields)} tab-separated fields, not 4")
            continue
        path, original, replacement, description = fields
        if not path or not original or not description or original == replacement:
            problems.append(f"{where}: empty file, original or description, or no change")
            continue
        try:
            with open(f"{tree}/{path}", encoding="utf-8") as source:
                count = source.read().count(original)
        except OSError:
            problems.append(f"{where}: no file {path}")
            continue
        if count != 1:
            problems.append(f"{where}: the original text occurs {count} times in {path}, not once")
            continue
        if not only or re.search(only, f"{path}: {description}"):
            chosen.append("\x1f".join(fields))
for problem in problems:
    print(problem, file=sys.stderr)
if problems:
    sys.exit(1)
print("\n".join(chosen))
PY
}

# Replaces the one occurrence; the file gets a new time stamp, so ninja
# rebuilds it (and again once the original is copied back).
plant() { # FILE ORIGINAL REPLACEMENT
    python3 - "$@" <<'PY'
import sys
path, original, replacement = sys.argv[1:]
with open(path, encoding="utf-8") as source:
    text = source.read()
assert text.count(original) == 1, path
with open(path, "w", encoding="utf-8") as target:
    target.write(text.replace(original, replacement, 1))
PY
}

# As scripts/test.sh: a loopback address of this build folder's own, so
# tests on fixed ports reach only their own servers.
own_loopback_address() { # DIR
    local sum
    sum=$(printf '%s' "$(realpath -m "$1")" | cksum | cut -d' ' -f1)
    echo "127.$((sum % 254 + 1)).$((sum / 254 % 256)).$((sum / 65024 % 254 + 1))"
}

configure_and_build() {
    local build=$copy/build host
    host=$(own_loopback_address "$build")
    echo "building the unmutated copy in $build"
    if ! {
        cmake -S "$copy/tree" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DQVS_BUILD_GUI=OFF -DQVS_BUILD_TESTS=ON -DQVS_BUILD_TOOLS=ON -DQVS_BUILD_BENCH=OFF \
            -DQVS_SERVER_HOST="$host" -DQVS_UPDATE_WEB_HOST="$host:8080" \
            -DQVS_GAME_WEB_SITE="http://$host:8080" &&
            cmake --build "$build" -j"$jobs"
    } >>"$copy/log" 2>&1; then
        tail -n 30 "$copy/log" >&2
        fail "the unmutated copy does not build"
    fi
}

# The tests of the mutated file's own part first, as they catch most faults
# soonest; "all" when the part has none of its own.
first_tests() { # FILE
    case $1 in
    launcher/*) echo '^(launcher|launch|update)_tests$' ;;
    tools/*) echo '^tools_tests$' ;;
    platform/*) echo '^platform_(process_)?tests$' ;;
    *) echo "^${1%%/*}_tests\$" ;;
    esac
}

# ctest in the background, so that an interrupt can end the whole test run:
# timeout leads a process group of its own, which it ends at the limit.
run_ctest() { # SECONDS [ctest options...]
    local seconds=$1 status=0
    shift
    timeout -k 10 "$seconds" ctest --test-dir "$copy/build" -LE display -j"$jobs" \
        --stop-on-failure --output-on-failure "$@" >>"$copy/log" 2>&1 &
    test_pid=$!
    wait "$test_pid" || status=$?
    test_pid=""
    return "$status"
}

stop_tests() {
    if [ -n "${test_pid:-}" ]; then
        kill -TERM -- "-$test_pid" 2>/dev/null || true
    fi
}

# Sets outcome to what the tests made of the planted fault: passed, failed
# or timed out.
run_tests() { # FILE
    local first status=0
    first=$(first_tests "$1")
    run_ctest "$limit" -R "$first" --no-tests=ignore || status=$?
    if ((status == 0)); then
        run_ctest "$limit" -E "$first" --no-tests=error || status=$?
    fi
    case $status in
    0) outcome=passed ;;
    124 | 137) outcome="timed out" ;;
    *) outcome=failed ;;
    esac
}

# Plants one fault, rebuilds, tests, restores; prints the verdict line.
try_mutant() { # FILE ORIGINAL REPLACEMENT DESCRIPTION
    local file=$1 original=$2 replacement=$3 description=$4 started verdict
    started=$SECONDS
    printf '\n==== %s: %s\n' "$file" "$description" >>"$copy/log"
    cp "$copy/tree/$file" "$copy/pristine"
    planted=$file
    plant "$copy/tree/$file" "$original" "$replacement"
    if ! cmake --build "$copy/build" -j"$jobs" >>"$copy/log" 2>&1; then
        verdict=BUILD-ERROR
        build_errors=$((build_errors + 1))
    else
        run_tests "$file"
        if [ "$outcome" = passed ]; then
            verdict=SURVIVED
            survived=$((survived + 1))
        else
            verdict=CAUGHT
            caught=$((caught + 1))
            [ "$outcome" = failed ] || description="$description (tests $outcome)"
        fi
    fi
    cp "$copy/pristine" "$copy/tree/$file"
    planted=""
    printf '%-11s %-40s %s [%d s]\n' "$verdict" "$file" "$description" $((SECONDS - started))
}

main() {
    [ -f "$list" ] || fail "no list $list"
    git -C "$root" rev-parse --verify -q HEAD >/dev/null || fail "$root is no git checkout"
    [[ "$jobs" =~ ^[1-9][0-9]*$ ]] || fail "QVS_MUTATION_JOBS must be a positive number"
    mkdir -p "$work"
    copy=$(mktemp -d "$work/run.XXXXXX")
    trap clean_up EXIT
    trap 'stop_tests; exit 130' INT TERM
    mkdir "$copy/tree"
    git -C "$root" archive HEAD | tar -x -C "$copy/tree"
    local entries
    entries=$(select_entries "$list" "$copy/tree" "$only") || fail "refusing the list $list"
    [ -n "$entries" ] || fail "no entry matches QVS_MUTATION_ONLY=$only"
    source scripts/deps.sh
    qvs_install_packages "${QVS_CORE_PACKAGES[@]}"
    echo "$(grep -c . <<<"$entries") mutations of HEAD ($(git -C "$root" rev-parse --short HEAD)); log: $copy/log"

    configure_and_build
    local started=$SECONDS
    run_ctest 3600 --no-tests=error || fail "the unmutated copy fails its tests (log: $copy/log)"
    limit=${QVS_MUTATION_TIMEOUT:-$((3 * (SECONDS - started) + 60))}
    echo "unmutated tests pass in $((SECONDS - started)) s; limit per test run $limit s"

    caught=0 survived=0 build_errors=0
    local file original replacement description
    # The entries come on their own descriptor: cmake and ctest get stdin.
    while IFS=$'\x1f' read -r -u 3 file original replacement description; do
        try_mutant "$file" "$original" "$replacement" "$description"
    done 3<<<"$entries"
    echo "mutation score: $caught caught of $((caught + survived)) ($survived survived, $build_errors did not build)"
}

main
