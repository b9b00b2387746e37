#!/usr/bin/env bash
# Unpacking speed and memory of `qvs-pack extract` against `tar -xf` of the
# same tree: 10,000 files of 4 KiB in 100 folders, and one 256 MiB file.
# Runs alternate between the tools; prints each run, the mean times, the
# ratio and the peak resident memory. qvs-pack flushes every file to the disk
# before it counts as unpacked; tar does not, so a third peer, tar followed by
# a flush of its file system (sync -f), shows the cost of that durability.
# Means and medians are both printed: a virtual machine's disk has spikes.
# The small case deletes nothing between runs: on ext4 without a journal,
# creating a file scans past every inode deleted in the last minutes, which
# would slow each run by the 10,000 files the run before it removed. The large
# case removes each run's file, as piling up gigabytes slows the disk instead.
# Environment: QVS_BENCH_BUILD (build directory), QVS_BENCH_NO_BUILD (1: use
# the programs already built there, such as the test command's release
# build), QVS_BENCH_FILES (small files, 10000), QVS_BENCH_MIB (the large
# file, 256), QVS_BENCH_ROUNDS (3), QVS_BENCH_WORK (where the packages are
# unpacked).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/deps.sh
qvs_install_packages "${QVS_BENCH_PACKAGES[@]}" tar

build=${QVS_BENCH_BUILD:-$root/build/bench}
rounds=${QVS_BENCH_ROUNDS:-3}
files=${QVS_BENCH_FILES:-10000}
mib=${QVS_BENCH_MIB:-256}
if [ -z "${QVS_BENCH_NO_BUILD:-}" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVS_BUILD_GUI=OFF \
        -DQVS_BUILD_TESTS=OFF -DQVS_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" -j2 --target qvs-pack >/dev/null
fi
pack="$build/tools/qvs-pack/qvs-pack"

# On the build's disk, not a memory file system, so writes cost what they
# cost; QVS_BENCH_WORK names another place, such as a fresh file system.
work=${QVS_BENCH_WORK:-$build/bench-package-work}
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT

make_small() { # files of 4 KiB in folders of 100, random bytes
    python3 - "$1" "$files" <<'PY'
import os, sys
root, files = sys.argv[1], int(sys.argv[2])
for n in range(files):
    folder = os.path.join(root, "d%02d" % (n // 100))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "f%02d.bin" % (n % 100)), "wb") as out:
        out.write(os.urandom(4096))
PY
}

make_large() {
    head -c $((mib << 20)) /dev/urandom >"$1/big.bin"
}

# Runs a command under /usr/bin/time; prints "seconds kilobytes".
measure() {
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null
    cat "$work/time"
}

bench_case() {
    local name=$1 maker=$2 keep=$3
    local source="$work/$name-src"
    mkdir -p "$source/data"
    "$maker" "$source/data"
    "$pack" create "$source/data" "$work/$name.ecd" --base 'data\'
    tar -cf "$work/$name.tar" -C "$source" data
    local ecdBytes
    ecdBytes=$(stat -c %s "$work/$name.ecd")
    local qvsTimes=() tarTimes=() syncTimes=() qvsPeak=0 tarPeak=0
    for round in $(seq "$rounds"); do
        for tool in qvs tar tar+sync; do
            local target="$work/$name-out/$round-$tool"
            [ "$keep" = keep ] || rm -rf "$work/$name-out"
            mkdir -p "$target"
            sync
            local result
            if [ "$tool" = qvs ]; then
                result=$(measure "$pack" extract "$work/$name.ecd" "$target")
            elif [ "$tool" = tar ]; then
                result=$(measure tar -xf "$work/$name.tar" -C "$target")
            else
                result=$(measure bash -c 'tar -xf "$1" -C "$2" && sync -f "$2"' _ \
                    "$work/$name.tar" "$target")
            fi
            read -r seconds kilobytes <<<"$result"
            printf '%-6s round %d  %-8s %7.2f s  %8d KiB\n' "$name" "$round" "$tool" "$seconds" "$kilobytes"
            if [ "$tool" = qvs ]; then
                qvsTimes+=("$seconds")
                [ "$kilobytes" -gt "$qvsPeak" ] && qvsPeak=$kilobytes
            elif [ "$tool" = tar ]; then
                tarTimes+=("$seconds")
                [ "$kilobytes" -gt "$tarPeak" ] && tarPeak=$kilobytes
            else
                syncTimes+=("$seconds")
            fi
        done
    done
    rm -rf "$work/$name-out" "$source"
    sync
    python3 - "$name" "$ecdBytes" "$qvsPeak" "$tarPeak" "${qvsTimes[*]}" "${tarTimes[*]}" \
        "${syncTimes[*]}" <<'PY'
import sys
name, ecd, qpeak, tpeak = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
q = [float(x) for x in sys.argv[5].split()]
t = [float(x) for x in sys.argv[6].split()]
s = [float(x) for x in sys.argv[7].split()]
mq, mt, ms = sum(q) / len(q), sum(t) / len(t), sum(s) / len(s)
ratio = mq / mt if mt > 0 else float("inf")
median = lambda values: sorted(values)[len(values) // 2]
dq, dt = median(q), median(t)
limit = ecd / 1024 + 32 * 1024
print(f"{name}: qvs-pack {mq:.2f} s, tar {mt:.2f} s, ratio {ratio:.2f} (goal <= 1.20)")
print(f"{name}: medians qvs-pack {dq:.2f} s, tar {dt:.2f} s, "
      f"ratio {dq / dt if dt > 0 else float('inf'):.2f}")
print(f"{name}: tar with a flush {ms:.2f} s, ratio {mq / ms if ms > 0 else float('inf'):.2f}")
print(f"{name}: peak memory qvs-pack {qpeak} KiB, tar {tpeak} KiB, "
      f"package {ecd // 1024} KiB, limit {limit:.0f} KiB "
      f"({'within' if qpeak <= limit else 'OVER'})")
PY
    rm -f "$work/$name.ecd" "$work/$name.tar"
}

bench_case small make_small keep
bench_case large make_large remove
