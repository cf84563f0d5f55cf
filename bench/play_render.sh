#!/usr/bin/env bash
# Offline render of a 4-measure part at 120 BPM (the example Fill 1 over "C | Am | F | G7"):
# `vantrel-cli play --wav` (conversion, performance and FluidSynth's file renderer, start to
# end of the program) beside `fluidsynth -F out.wav -ni SOUNDFONT in.mid` rendering the same
# performance written with `play --midi`, with the same SoundFont, alternating, in one run.
# Prints each one's ratio to real time and ours to fluidsynth's (above 1: ours is slower).
# Usage: bench/play_render.sh [BUILD_DIR] [SOUNDFONT] [RUNS]
#        (default build/default, the small TimGM6mb.sf2, 10 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
soundfont=${2:-/usr/share/sounds/sf2/TimGM6mb.sf2}
runs=${3:-10}
cmake --build "$build" --target vantrel-cli >/dev/null
cli="$build/src/cli/vantrel-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

part=examples/fill1.mid
chart="C | Am | F | G7"
"$cli" play "$part" --chords "$chart" --tempo 120 --midi "$work/in.mid" --json >"$work/measures"
measures=$(grep -c '"measure"' "$work/measures")
[ "$measures" = 4 ] || { echo "expected 4 measures, the performance has $measures" >&2; exit 1; }

now() { date +%s.%N; }
ours=0 theirs=0
for _ in $(seq 1 "$runs"); do
  t0=$(now)
  "$cli" play "$part" --chords "$chart" --tempo 120 --soundfont "$soundfont" \
    --wav "$work/ours.wav" >/dev/null
  t1=$(now)
  fluidsynth -F "$work/theirs.wav" -ni "$soundfont" "$work/in.mid" >/dev/null 2>&1
  t2=$(now)
  ours=$(echo "$ours + $t1 - $t0" | bc -l)
  theirs=$(echo "$theirs + $t2 - $t1" | bc -l)
done
/usr/bin/python3 - "$work/ours.wav" "$work/theirs.wav" "$ours" "$theirs" "$runs" "$soundfont" <<'PY'
import sys, wave
ours_file, theirs_file, ours, theirs, runs, soundfont = sys.argv[1:]
runs = int(runs)
ours, theirs = float(ours) / runs, float(theirs) / runs
def seconds(path):
    with wave.open(path) as w:
        return w.getnframes() / w.getframerate()
ours_sound, theirs_sound = seconds(ours_file), seconds(theirs_file)
print(f"SoundFont {soundfont}, {runs} runs each, 4 measures at 120 BPM (8 s of music)")
print(f"vantrel-cli play --wav : {ours*1000:8.1f} ms for {ours_sound:.2f} s of sound, "
      f"{ours_sound/ours:6.1f}x real time")
print(f"fluidsynth -F          : {theirs*1000:8.1f} ms for {theirs_sound:.2f} s of sound, "
      f"{theirs_sound/theirs:6.1f}x real time")
print(f"ours / fluidsynth, time per second of sound: {(ours/ours_sound)/(theirs/theirs_sound):.2f}")
PY
