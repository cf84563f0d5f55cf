#!/usr/bin/env bash
# MIDI reading throughput of CMidiReader and CMidiFile beside libsmf and libportsmf (in-process)
# and python3-mido (Debian's /usr/bin/python3), all on one generated corpus of song-size files,
# then the file browser's song-name question over a folder of 10,000 such files.
# Usage: bench/compare_parse.sh [BUILD_DIR]   (default build/bench; configured if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_BUILD_GUI=OFF \
    -DVANTREL_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target bench_parse >/dev/null
bench="$build/bench/bench_parse"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bench" corpus "$work/parse" 200 36
"$bench" parse "$work/parse" >"$work/results"
"$bench" memory "$work/parse"
/usr/bin/python3 - "$work/parse" "$work/results" <<'PY'
import pathlib, sys, time
import mido

files = sorted(pathlib.Path(sys.argv[1]).glob("*.mid"))
lines = open(sys.argv[2]).read().split("\n")
totals = next(l.split() for l in lines if l.startswith("files "))
size, events = int(totals[3]), int(totals[5])
start = time.perf_counter()
for path in files:
    mido.merge_tracks(mido.MidiFile(str(path)).tracks)
seconds = time.perf_counter() - start
rows = [l.split() for l in lines if l and not l.startswith("files ")]
rows.append(["python3-mido", str(seconds), str(size / seconds / 1e6), str(events / seconds)])
print("{} files, {:.1f} MB, {} events".format(totals[1], size / 1e6, events))
print("{:<14}{:>10}{:>10}{:>14}{:>18}".format("reader", "seconds", "MB/s", "events/s",
                                               "ours x faster"))
ours = float(rows[0][1])
for name, secs, mbs, evs in rows:
    print("{:<14}{:>10.4f}{:>10.1f}{:>14.0f}{:>18.1f}".format(name, float(secs), float(mbs),
                                                               float(evs), float(secs) / ours))
PY

echo "Writing 10,000 files of about 36 KB for the song-name question..."
"$bench" corpus "$work/songs" 10000 36
"$bench" songs "$work/songs"
