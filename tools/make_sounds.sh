#!/usr/bin/env bash
# Writes the interface sounds modules/media/00.mp3 (background tune) and 01.wav..04.wav
# (start animation, page switch, logo link, button). Short and quiet on purpose: they play
# on every click. Needs sox; the mp3 needs an mp3 encoder (lame), used at generation time
# only: the results are committed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/modules/media}"
mkdir -p "$out"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# -R repeatable, -D no dither: the same script gives the same bytes.
gen() { sox -R -D -n -r 44100 -c 1 -b 16 "$@"; }

# 01: the start animation: a soft rising sweep.
gen "$tmp/01.wav" synth 0.6 sine 440-1320 fade q 0.02 0.6 0.25 vol 0.1
# 02: page or menu switch: a short high blip.
gen "$tmp/02.wav" synth 0.08 sine 1200 fade q 0.005 0.08 0.04 vol 0.1
# 03: the logo link: two rising notes.
gen "$tmp/03a.wav" synth 0.1 sine 880 fade q 0.005 0.1 0.03 vol 0.1
gen "$tmp/03b.wav" synth 0.14 sine 1320 fade q 0.005 0.14 0.06 vol 0.1
sox "$tmp/03a.wav" "$tmp/03b.wav" "$tmp/03.wav"
# 04: buttons and check boxes: a tick.
gen "$tmp/04.wav" synth 0.04 sine 2000 fade q 0.002 0.04 0.02 vol 0.08

# 00: the background tune, an unhurried arpeggio that loops without a click at its ends.
notes=(261.63 329.63 392.00 523.25 392.00 329.63 293.66 349.23 440.00 349.23 293.66 246.94)
parts=()
i=0
for f in "${notes[@]}"; do
    gen "$tmp/n$i.wav" synth 0.35 sine "$f" fade q 0.03 0.35 0.15 vol 0.06
    parts+=("$tmp/n$i.wav")
    i=$((i + 1))
done
sox "${parts[@]}" "$tmp/00.wav"
# -t: no encoder tag frame; constant bit rate keeps the file small and plain.
lame --quiet -t -b 64 -m m "$tmp/00.wav" "$tmp/00.mp3"
# The encoder signs the unused padding at the end of the stream with its own name and
# version. Padding is not audio, so it is filled with the encoder's neutral padding byte;
# decoding both versions proves the samples did not change.
python3 - "$tmp/00.mp3" "$tmp/00s.mp3" <<'PY'
import re, sys
data = open(sys.argv[1], "rb").read()
tail = 4096  # only the padding of the last frames is touched
head, end = data[:-tail], data[-tail:]
end = re.sub(rb"[A-Z]{4}\d+\.\d+(?=U)", lambda m: b"U" * len(m.group(0)), end)
open(sys.argv[2], "wb").write(head + end)
PY
lame --quiet --decode "$tmp/00.mp3" "$tmp/check_a.wav"
lame --quiet --decode "$tmp/00s.mp3" "$tmp/check_b.wav"
cmp -s "$tmp/check_a.wav" "$tmp/check_b.wav"
mv -f "$tmp/00s.mp3" "$tmp/00.mp3"

for n in 01 02 03 04; do
    cp "$tmp/$n.wav" "$out/$n.wav.tmp" && mv -f "$out/$n.wav.tmp" "$out/$n.wav"
done
cp "$tmp/00.mp3" "$out/00.mp3.tmp" && mv -f "$out/00.mp3.tmp" "$out/00.mp3"
ls -l "$out"
