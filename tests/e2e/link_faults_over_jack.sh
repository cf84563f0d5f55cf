#!/usr/bin/env bash
# vantrel-cli against vantrel-keyboard behaving like hardware on a slow cable (JACK, dummy
# driver), one case after the other on one server: late acknowledges without retries and with
# the default retry (which waits longer), jittered acknowledges, DIN pacing, a stall survived through a
# retry from the file header, an unplugged cable, and a 256-slot list at DIN speed. A download
# that fails leaves the slot's old style in place.
#   link_faults_over_jack.sh KEYBOARD CLI MAKE_IMAGE EXAMPLES_DIR SCRIPTS_DIR CASE...
# CASE: late (the longest: 892 acknowledges of 150 ms), jitter, din, stall, unplug, list.
# Without a running JACK server it runs itself again under scripts/with-jack.
set -uo pipefail

keyboard_bin=$1 cli_bin=$2 make_image=$3 examples=$4 scripts=$5
cases=("${@:6}")
[ "${#cases[@]}" -gt 0 ] || { echo "no case given" >&2; exit 2; }
source "$(dirname "$0")/keyboard_session.sh"
e2e_begin "$scripts" "$0" "$@"

"$make_image" "$work/Total.mix" "$examples/intro.mid" "$examples/fill1.mid" "$examples/fill2.mid" \
  "$examples/fill3.mid" "$examples/ending.mid" || e2e_fail "the style image could not be built"
"$make_image" "$work/Old.mix" "$examples/intro.mid" "$examples/fill3.mid" "$examples/ending.mid" ||
  e2e_fail "the old style image could not be built"
cmp -s "$work/Total.mix" "$work/Old.mix" && e2e_fail "the two images are the same"

case_number=0
# Starts a keyboard with these switches whose slot 2 holds the old style.
keyboard() {
  case_number=$((case_number + 1))
  port="Vantrel Link $$ $case_number"
  rm -rf "$work/store"
  mkdir -p "$work/store"
  cp "$work/Old.mix" "$work/store/slot-002.mix"
  e2e_start_keyboard "$keyboard_bin" --port-name "$port" --slots 8 --store "$work/store" "$@"
}

# Sends the image into slot 2 with these link options; $status, cli.err and trace.txt tell.
send() {
  rm -f "$work/trace.txt"
  "$cli_bin" device --in "$port" --out "$port" --trace "$work/trace.txt" "$@" \
    send "$work/Total.mix" --slot 2 --quiet >/dev/null 2>"$work/cli.err"
  status=$?
}

retries() { grep -c "retry .* from the file header" "$work/trace.txt"; }

stored() {
  [ "$status" = 0 ] || e2e_fail "$1: status $status"
  grep -q "Download successfully!" "$work/cli.err" || e2e_fail "$1: no success message"
  cmp -s "$work/Total.mix" "$work/store/slot-002.mix" || e2e_fail "$1: the stored image differs"
}

failed_untouched() {
  [ "$status" = 3 ] || e2e_fail "$1: status $status (no answer is 3)"
  grep -q "^  Download error!$" "$work/cli.err" || e2e_fail "$1: no error message"
  grep -q "Download successfully!" "$work/cli.err" && e2e_fail "$1: success reported"
  [ "$(retries)" = 2 ] || e2e_fail "$1: $(retries) retries, not 2"
  cmp -s "$work/Old.mix" "$work/store/slot-002.mix" || e2e_fail "$1: the old style was touched"
}

case_late() {
  keyboard --ack-delay 150
  # Without retries the default wait gives up at once and says where to change it.
  send --retries 0
  [ "$status" = 3 ] || e2e_fail "acknowledges 150 ms late, no retries: status $status"
  grep -q "did not come within 100 ms.*--ack-timeout" "$work/cli.err" ||
    e2e_fail "acknowledges 150 ms late, no retries: no advice"
  cmp -s "$work/Old.mix" "$work/store/slot-002.mix" || e2e_fail "late: the old style was touched"
  # The retry waits twice as long for each acknowledge, and that is enough.
  send
  stored "acknowledges 150 ms late, default time-out"
  [ "$(retries)" = 1 ] || e2e_fail "late: $(retries) retries, not 1"
  grep -q "Stored after 1 retry" "$work/cli.err" || e2e_fail "late: the retry is not told"
  e2e_stop_keyboard
}

case_jitter() {
  keyboard --ack-delay 40:30
  send
  stored "acknowledges 40 +- 30 ms late"
  e2e_stop_keyboard
}

case_din() {
  keyboard --din
  send
  stored "DIN pacing"
  e2e_stop_keyboard
}

case_stall() {
  keyboard --stall 200:300
  send
  stored "a stall after packet 200"
  [ "$(retries)" -ge 1 ] || e2e_fail "the stall was survived without a retry"
  grep -q "stalled for 300 ms after packet 200" "$work/keyboard.log" || e2e_fail "no stall"
  e2e_stop_keyboard
}

case_unplug() {
  keyboard --unplug 300
  send
  failed_untouched "unplugged after packet 300"
  e2e_stop_keyboard
}

case_list() {
  e2e_start_keyboard "$keyboard_bin" --port-name "Vantrel Link $$ list" --slots 256 --din
  out=$("$cli_bin" device --in "Vantrel Link $$ list" --out "Vantrel Link $$ list" slots --json \
    2>"$work/cli.err")
  status=$?
  [ "$status" = 0 ] || e2e_fail "256 slots at DIN speed: status $status"
  [ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 256 ] || e2e_fail "256 slots: $out"
  grep -q '{"slot": 255, ' <<<"$out" || e2e_fail "256 slots: no slot 255"
  e2e_stop_keyboard
}

for name in "${cases[@]}"; do
  declare -F "case_$name" >/dev/null || e2e_fail "no case $name"
  "case_$name"
done
echo PASS
