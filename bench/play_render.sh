#!/usr/bin/env bash
# Offline render of a 4-measure part at 120 BPM (the example Fill 1 over "C | Am | F | G7"):
# `vantrel-cli play --wav` (conversion, performance and FluidSynth's file renderer, start to
# end of the program) beside `fluidsynth -F out.wav -ni SOUNDFONT in.mid` rendering the same
# performance written with `play --midi`, with the same SoundFont, alternating, in one run.
# Prints each one's ratio to real time, by the clock and by CPU time (the machine may be busy
# with other work), and ours to fluidsynth's (above 1: ours is slower).
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

/usr/bin/python3 - "$cli" "$part" "$chart" "$soundfont" "$work" "$runs" <<'PY'
import resource, subprocess, sys, time, wave
cli, part, chart, soundfont, work, runs = sys.argv[1:]
runs = int(runs)
commands = {
    "vantrel-cli play --wav": [cli, "play", part, "--chords", chart, "--tempo", "120",
                               "--soundfont", soundfont, "--wav", f"{work}/ours.wav"],
    "fluidsynth -F": ["fluidsynth", "-F", f"{work}/theirs.wav", "-ni", soundfont,
                      f"{work}/in.mid"],
}
wall = {name: 0.0 for name in commands}
cpu = {name: 0.0 for name in commands}
for _ in range(runs):
    for name, command in commands.items():
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wall[name] += time.perf_counter() - start
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu[name] += (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
def seconds(path):
    with wave.open(path) as w:
        return w.getnframes() / w.getframerate()
sound = {"vantrel-cli play --wav": seconds(f"{work}/ours.wav"),
         "fluidsynth -F": seconds(f"{work}/theirs.wav")}
print(f"SoundFont {soundfont}, {runs} runs each, alternating; 4 measures at 120 BPM (8 s of music)")
print("(CPU: user + system time, what the render costs whatever else the machine is doing)")
for name in commands:
    w, c, s = wall[name] / runs, cpu[name] / runs, sound[name]
    print(f"{name:<24}{s:6.2f} s of sound  wall {w*1000:7.1f} ms ({s/w:6.1f}x real time)"
          f"  CPU {c*1000:7.1f} ms ({s/c:6.1f}x real time)")
ours, theirs = "vantrel-cli play --wav", "fluidsynth -F"
# Both render the same 8 s performance to its end; fluidsynth goes on until its last voice has
# died away (near silence costs little), ours stops one second after the last measure.
for label, table in (("wall", wall), ("CPU", cpu)):
    print(f"ours / fluidsynth, {label} time of the whole render: {table[ours] / table[theirs]:.2f};"
          f" per second of sound written: "
          f"{(table[ours] / sound[ours]) / (table[theirs] / sound[theirs]):.2f}")
PY
