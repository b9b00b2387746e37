#!/bin/sh
# Generates the launcher's click sound, a short knock of stone on stone:
# a band-limited noise crack over a low thump, both dying away within 80 ms
# (each repeated fade-out steepens the decay towards an exponential one).
# Output: resources/sounds/stoneclick.wav, 16-bit PCM mono 22050 Hz.
# sox runs in repeatable mode (-R) without dither (-D), so the file is the
# same on every run.
set -eu

dest=$(cd "$(dirname "$0")/../.." && pwd)/resources/sounds
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
mkdir -p "$dest"

# Crack: noise limited to the 900-4000 Hz band, very fast decay.
sox -R -D -n -r 22050 -c 1 -b 16 "$work/crack.wav" synth 0.080 whitenoise \
    sinc 900-4000 fade l 0 0.080 0.079 fade l 0 0.080 0.079 gain -4
# Body: a short low knock with a slight downward pitch bend.
sox -R -D -n -r 22050 -c 1 -b 16 "$work/thump.wav" synth 0.080 sine 260-140 \
    fade q 0.002 0.080 0.078 fade l 0 0.080 0.078 gain -8
# Mix, soften the very first sample edge, normalise to -1 dBFS.
sox -R -D -m "$work/crack.wav" "$work/thump.wav" -r 22050 -c 1 -b 16 -e signed-integer \
    "$dest/stoneclick.wav" fade t 0.001 0.080 0.010 norm -1
echo "wrote $dest/stoneclick.wav"
