#!/usr/bin/env bash
# Assembles the demo folder that qvs-server serves (qvs-server --root OUT):
#   OUT/updates/qvs1.ecd .. qvs3.ecd   three data sets, unpacked below "data\"
#   OUT/updates/qvsc1.ecd              the client code, class directory "MainClass\"
#   OUT/updates/QVS.exe                the launcher (or only its version record)
#   OUT/updates/update_news.html, QVS_SERVER_ADDRESS.TXT
#   OUT/status/people, notice_mode, notice_title, notice.html
#
# Usage: make-server.sh --out DIR --pack QVS_PACK --classes DIR --version A.B.C.D
#                       [--launcher FILE] [--sign-key SECRET_FILE]
# --classes is the folder that holds StartUp.class (compiled package MainClass).
# Without --launcher, QVS.exe holds only the version record of version A.B.C.D,
# which is all the server reads from it: a launcher of that version then finds
# no newer one and does not update itself.
# With --sign-key every package and QVS.exe is signed with that key
# (qvs-pack sign), for a launcher built with its public key.
set -euo pipefail

out="" pack="" classes="" version="" launcher="" sign_key=""
while [ $# -gt 0 ]; do
    case "$1" in
    --out) out=$2 ;;
    --pack) pack=$2 ;;
    --classes) classes=$2 ;;
    --version) version=$2 ;;
    --launcher) launcher=$2 ;;
    --sign-key) sign_key=$2 ;;
    *) echo "make-server.sh: unknown option $1" >&2; exit 2 ;;
    esac
    shift 2
done
if [ -z "$out" ] || [ -z "$pack" ] || [ -z "$classes" ] || [ -z "$version" ]; then
    echo "usage: make-server.sh --out DIR --pack QVS_PACK --classes DIR --version A.B.C.D [--launcher FILE]" >&2
    exit 2
fi

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

rm -rf "$out"
mkdir -p "$out"
cp -R "$here/server/." "$out/"

python3 "$here/make-demo-data.py" "$work/data"
for n in 1 2 3; do
    "$pack" create "$work/data/set$n" "$out/updates/qvs$n.ecd" --base 'data\'
done
"$pack" create "$classes" "$out/updates/qvsc1.ecd" --base 'MainClass\'

if [ -n "$launcher" ]; then
    cp "$launcher" "$out/updates/QVS.exe"
else
    # The record as the build embeds it: tag, version text, zero bytes up to 96.
    record="QvsFileVersionRecord:$version"
    { printf '%s' "$record"; head -c $((96 - ${#record})) /dev/zero; } > "$out/updates/QVS.exe"
fi
if [ -n "$sign_key" ]; then
    for n in 1 2 3; do
        "$pack" sign --key "$sign_key" --name qvs --version "$n" "$out/updates/qvs$n.ecd"
    done
    "$pack" sign --key "$sign_key" --name qvsc --version 1 "$out/updates/qvsc1.ecd"
    "$pack" sign --key "$sign_key" --name QVS.exe --version "$version" "$out/updates/QVS.exe"
fi
echo "demo server folder: $out"
