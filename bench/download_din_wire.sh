#!/usr/bin/env bash
# Upload wall time at DIN speed against what the cable itself allows: the 20474-byte example
# style image sent to a keyboard whose both directions carry 3,125 bytes/s. The wire limit is
# the header and data messages (40,992 bytes) plus 892 acknowledges of 10 bytes; the time is
# taken from the transfer trace, from the file header going out to the keyboard's last reply.
#   bench/download_din_wire.sh [BUILD_DIR]          the in-process keyboard (--virtual --din)
#   bench/download_din_wire.sh --jack [BUILD_DIR]   vantrel-keyboard --din over JACK (run under
#                                                   scripts/with-jack, or with a server running)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
over_jack=""
if [ "${1:-}" = "--jack" ]; then
    over_jack=1
    shift
fi
build="${1:-$root/build/default}"
cli="$build/src/cli/vantrel-cli"
keyboard="$build/src/keyboard/program/vantrel-keyboard"
make_image="$build/tests/make_style_image"
work="$(mktemp -d)"
keyboard_pid=""
cleanup() {
    [ -n "$keyboard_pid" ] && kill "$keyboard_pid" 2>/dev/null && wait "$keyboard_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$make_image" "$work/Total.mix" "$root/examples/intro.mid" "$root/examples/fill1.mid" \
    "$root/examples/fill2.mid" "$root/examples/fill3.mid" "$root/examples/ending.mid"

if [ -n "$over_jack" ]; then
    port="Vantrel Bench DIN $$"
    "$keyboard" --port-name "$port" --din --quiet >"$work/keyboard.log" 2>&1 &
    keyboard_pid=$!
    for _ in $(seq 1 100); do
        grep -q "ready" "$work/keyboard.log" && break
        sleep 0.1
    done
    link=(--in "$port" --out "$port")
else
    link=(--virtual --din)
fi
"$cli" device "${link[@]}" --trace "$work/trace.txt" send "$work/Total.mix" --slot 1 --quiet

# Trace lines: "  MS.mmm state A -> B" and "  MS.mmm out|in  BYTES..."; the download runs from
# HeaderSent to DataStored. Each packet is framed by its own F0 and F7, two bytes the message
# itself does not count, so the bytes the trace shows on the cable give a second, exact limit.
awk '
    / -> HeaderSent$/ { start = $1; bytes = 0 }
    start != "" && stop == "" && ($2 == "out" || $2 == "in") { bytes += NF - 2 }
    / -> DataStored$/ { stop = $1 }
    END {
        if (start == "" || stop == "") { print "no complete download in the trace"; exit 1 }
        wall = (stop - start) / 1000
        limit = (40992 + 892 * 10) / 3125
        cable = bytes / 3125
        printf "upload at DIN speed: %.2f s wall\n", wall
        printf "  against the messages and acknowledges (49,912 bytes, %.2f s): ratio %.3f\n", limit, wall / limit
        printf "  against every byte on the cable (%d bytes, %.2f s):       ratio %.3f\n", bytes, cable, wall / cable
    }' "$work/trace.txt"
