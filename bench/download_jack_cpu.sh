#!/usr/bin/env bash
# The CPU time of the sending process during a download over real MIDI ports, divided by its
# wall time: vantrel-keyboard on JACK (dummy driver), vantrel-cli sending the 20474-byte example
# style image to it through RtMidi. The waits block between packets, so the share stays small.
#   bench/download_jack_cpu.sh [BUILD_DIR]      (run under scripts/with-jack, or with a server)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/default}"
cli="$build/src/cli/vantrel-cli"
keyboard="$build/src/keyboard/program/vantrel-keyboard"
work="$(mktemp -d)"
keyboard_pid=""
cleanup() {
    [ -n "$keyboard_pid" ] && kill "$keyboard_pid" 2>/dev/null && wait "$keyboard_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

repo="$work/repo"
"$cli" repo --repository "$repo" import --to intro "$root/examples/intro.mid" >/dev/null
"$cli" repo --repository "$repo" import --to fill "$root/examples/fill1.mid" \
    "$root/examples/fill2.mid" "$root/examples/fill3.mid" >/dev/null
"$cli" repo --repository "$repo" import --to ending "$root/examples/ending.mid" >/dev/null
"$cli" combine --repository "$repo" --intro intro.mid --fill fill1.mid fill2.mid fill3.mid \
    --ending ending.mid -o "$work/Total.mix" >/dev/null

port="Vantrel Bench $$"
"$keyboard" --api jack --port-name "$port" --quiet >"$work/keyboard.log" 2>&1 &
keyboard_pid=$!
for _ in $(seq 1 50); do
    "$cli" ports 2>/dev/null | grep -qF "$port" && break
    sleep 0.1
done

# %U user, %S system, %e elapsed seconds of the sending process alone.
/usr/bin/time -f "%U %S %e" -o "$work/time" \
    "$cli" device --in "$port" --out "$port" send "$work/Total.mix" --slot 1 --quiet
read -r user system elapsed <"$work/time"
awk -v u="$user" -v s="$system" -v e="$elapsed" 'BEGIN {
    printf "vantrel-cli send over JACK: %.2f s wall, %.2f s CPU (user %.2f, system %.2f)\n", e, u + s, u, s
    printf "CPU / wall: %.1f %% (goal under 10 %%)\n", 100 * (u + s) / e
}'
