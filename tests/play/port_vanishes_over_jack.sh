#!/usr/bin/env bash
# A MIDI port that goes away while `vantrel-cli play --port` plays to it (a soft synthesizer
# closed, a cable pulled): playing stops, the port is named, exit status 1. The port is an
# independent peer's (python3-rtmidi on JACK) that closes after three seconds.
#   port_vanishes_over_jack.sh CLI PATTERN.mid   (under scripts/with-jack)
set -uo pipefail
cli=$1 pattern=$2
name="Vanishing Synth $$"
/usr/bin/python3 -c "
import rtmidi, sys, time
port = rtmidi.MidiIn(rtmidi.API_UNIX_JACK, 'Vanisher')
port.open_virtual_port(sys.argv[1])
time.sleep(3)
" "$name" &
peer=$!
trap 'kill $peer 2>/dev/null' EXIT
for _ in $(seq 1 50); do
  jack_lsp 2>/dev/null | grep -q "$name" && break
  sleep 0.1
done
err=$("$cli" play "$pattern" --chords "C | Am | F | G7" --loops 8 --port "$name" 2>&1 >/dev/null)
status=$?
[ "$status" = 1 ] || { echo "status $status, expected 1: $err" >&2; exit 1; }
grep -q "MIDI output port \"Vanisher:$name\" went away while playing" <<<"$err" ||
  { echo "the vanished port was not named: $err" >&2; exit 1; }
echo "$err"
