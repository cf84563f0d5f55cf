#!/usr/bin/env bash
# style-from-song over a generated 5-minute song with 16 channels (150 measures of 4/4 at 120
# BPM, chords changing every two measures, notes on every channel): the analysis and all parts,
# beside today's fit of the whole song with the same channels left out as the reference. CPU
# time of each command, best of five.
# Usage: bench/style_from_song.sh [BUILD_DIR]   (default build/default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
cli="$build/src/cli/vantrel-cli"
[ -x "$cli" ] || { echo "build vantrel-cli first: cmake --build $build --target vantrel-cli" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$work/song.mid" <<'PY'
import random, sys
import mido
random.seed(22)
song = mido.MidiFile(type=1, ticks_per_beat=192)
conductor = mido.MidiTrack([mido.MetaMessage("set_tempo", tempo=500000),
                            mido.MetaMessage("time_signature", numerator=4, denominator=4)])
song.tracks.append(conductor)
progression = [(7, 0), (2, 0), (4, 1), (0, 0)]  # G D Em C
for channel in range(16):
    track = mido.MidiTrack()
    events = []
    for measure in range(150):
        root, minor = progression[(measure // 2) % len(progression)]
        tones = [root, root + (3 if minor else 4), root + 7]
        for beat in range(4):
            at = measure * 768 + beat * 192
            if channel == 9:
                key = 36 if beat % 2 == 0 else 38
            elif channel == 1:
                key = 36 + tones[beat % 3]
            else:
                key = 48 + 12 * (channel % 3) + random.choice(tones)
            events.append((at, "note_on", key))
            events.append((at + 180, "note_off", key))
    events.sort()
    last = 0
    for at, kind, key in events:
        track.append(mido.Message(kind, channel=channel, note=key, velocity=90, time=at - last))
        last = at
    song.tracks.append(track)
song.save(sys.argv[1])
PY

best() {  # best CPU seconds (user + system) of five runs of the command
  /usr/bin/python3 - "$@" <<'PY'
import resource, subprocess, sys
best = 1e9
for _ in range(5):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    best = min(best, after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
print(f"{best:.3f}")
PY
}
drop="--drop 1,3,4,5,6,7,8,9,11,12"  # 16 channels in; the bass (2) onto 12, drums and 13-16 kept
reference=$(best "$cli" fit $drop --dry-run "$work/song.mid")
style=$(best "$cli" style-from-song $drop --dry-run "$work/song.mid")
style_given=$(best "$cli" style-from-song $drop --dry-run --intro 1-4 --fill 9-10 --fill 17-18 \
  --fill 33-34 --ending 147-150 "$work/song.mid")
echo "song: 150 measures, 16 channels, $(stat -c %s "$work/song.mid") bytes"
echo "fit of the whole song (reference):        ${reference} s CPU"
echo "style-from-song, parts proposed:           ${style} s CPU ($(awk -v a="$style" -v b="$reference" 'BEGIN { printf "%.1f", a / b }') x the reference)"
echo "style-from-song, five parts given:         ${style_given} s CPU"
