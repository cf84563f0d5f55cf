#!/usr/bin/env bash
# Live playing on a JACK server (dummy driver; scripts/with-jack starts one when none runs):
# from Play to the first note reaching FluidSynth (its JACK audio driver), and the timing of
# the events `vantrel-cli play --port` sends to a MIDI port (median, p99, largest) on this
# machine as loaded as it is.
# Usage: bench/play_live.sh [BUILD_DIR] [SOUNDFONT]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
soundfont=${2:-/usr/share/sounds/sf2/TimGM6mb.sf2}
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_BUILD_GUI=OFF \
    -DVANTREL_BUILD_BENCH=ON >/dev/null
fi
cmake --build "$build" -j2 --target bench_play_live play_over_port vantrel-cli >/dev/null
scripts/with-jack bash -c "
  '$build/bench/bench_play_live' '$soundfont' examples/fill1.mid 20
  '$build/tests/play_over_port' '$build/src/cli/vantrel-cli' examples/fill1.mid 'C | Am | F | G7' 1000
"
