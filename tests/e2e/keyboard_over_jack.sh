#!/usr/bin/env bash
# vantrel-cli against vantrel-keyboard over real MIDI ports (JACK, dummy driver): connect, list
# the slots, store a style image built from the example patterns (892 acknowledged packets),
# see the slot occupied, delete it, and see a malformed image of the same size refused.
#   keyboard_over_jack.sh KEYBOARD CLI MAKE_IMAGE EXAMPLES_DIR SCRIPTS_DIR
# Without a running JACK server it runs itself again under scripts/with-jack, which starts one
# and stops it afterwards.
set -uo pipefail

keyboard_bin=$1 cli_bin=$2 make_image=$3 examples=$4 scripts=$5
source "$(dirname "$0")/keyboard_session.sh"
e2e_begin "$scripts" "$0" "$@"

# Runs the command line; keeps its output in $out and its exit status in $status.
run() {
  out=$("$cli_bin" device --in "$port" --out "$port" "$@" 2>"$work/cli.err")
  status=$?
}

parts=("$examples/intro.mid" "$examples/fill1.mid" "$examples/fill2.mid" "$examples/fill3.mid"
       "$examples/ending.mid")
"$make_image" "$work/Total.mix" "${parts[@]}" || e2e_fail "the style image could not be built"
"$make_image" "$work/Malformed.mix" "${parts[@]}" --malformed || e2e_fail "no malformed image"
[ "$(stat -c %s "$work/Total.mix")" = 20474 ] || e2e_fail "the image is not 20474 bytes"
[ "$(stat -c %s "$work/Malformed.mix")" = 20474 ] || e2e_fail "the malformed image is not 20474 bytes"

port="Vantrel E2E $$"
e2e_start_keyboard "$keyboard_bin" --port-name "$port" --slots 8 --store "$work/store"

run connect
[ "$status" = 0 ] || e2e_fail "connect: status $status"
[ "$out" = "Vantrel Virtual Keyboard Connected!" ] || e2e_fail "connect printed: $out"

run slots --json
[ "$status" = 0 ] || e2e_fail "slots: status $status"
[ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 8 ] || e2e_fail "slots before: $out"

run send "$work/Total.mix" --slot 3
[ "$status" = 0 ] || e2e_fail "send: status $status"
grep -q "stored 20474 bytes in slot 3 after 892 acknowledged packets" "$work/keyboard.log" ||
  e2e_fail "the keyboard did not report 892 acknowledged packets"
cmp -s "$work/Total.mix" "$work/store/slot-003.mix" || e2e_fail "the stored image differs"

run slots --json
[ "$status" = 0 ] || e2e_fail "slots after send: status $status"
grep -q '{"slot": 3, "name": "Style 004", "empty": false}' <<<"$out" || e2e_fail "slots after send: $out"
[ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 7 ] || e2e_fail "slots after send: $out"

run delete 3
[ "$status" = 0 ] || e2e_fail "delete: status $status"
[ ! -e "$work/store/slot-003.mix" ] || e2e_fail "the deleted slot's file is still there"
run slots --json
[ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 8 ] || e2e_fail "slots after delete: $out"

run send "$work/Malformed.mix" --slot 4 --quiet
[ "$status" = 1 ] || e2e_fail "the malformed image: status $status (refused is 1)"
grep -q "download refused (5): not a well-formed style image" "$work/keyboard.log" ||
  e2e_fail "the keyboard did not refuse the malformed image"
[ ! -e "$work/store/slot-004.mix" ] || e2e_fail "the malformed image was stored"
run slots --json
[ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 8 ] || e2e_fail "slots after the refusal: $out"

e2e_stop_keyboard
echo "PASS"
