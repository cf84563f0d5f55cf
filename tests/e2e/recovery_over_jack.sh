#!/usr/bin/env bash
# Recovery of the link over real MIDI ports (JACK, dummy driver), against vantrel-keyboard with
# each of its two ways of joining packets (by the frame header, the default, and by length, as
# a simple firmware does). One case after the other on one server:
#   cut      Ctrl-C at about packet 300 of `device send` and of `upload`, then `device slots`
#            at once: the list is right and the slot kept what it held.
#   dropack  the acknowledge of packet 300 is lost: `upload` succeeds on its retry and the
#            stored image is byte-identical; with `--retries 0` it fails and the next command
#            works.
#   late     one acknowledge in a hundred comes 150 ms late: an upload at the defaults succeeds.
#   loop     an output wired back to Vantrel's own input is refused at connect, the loop named.
#   choose   with a keyboard started after Vantrel, its port pair is the one suggested.
#   recovery_over_jack.sh KEYBOARD CLI MAKE_IMAGE EXAMPLES_DIR SCRIPTS_DIR CASE...
# Without a running JACK server it runs itself again under scripts/with-jack.
set -uo pipefail

keyboard_bin=$1 cli_bin=$2 make_image=$3 examples=$4 scripts=$5
cases=("${@:6}")
[ "${#cases[@]}" -gt 0 ] || { echo "no case given" >&2; exit 2; }
source "$(dirname "$0")/keyboard_session.sh"
e2e_begin "$scripts" "$0" "$@"

parts=("$examples/intro.mid" "$examples/fill1.mid" "$examples/fill2.mid" "$examples/fill3.mid"
       "$examples/ending.mid")
"$make_image" "$work/Total.mix" "${parts[@]}" || e2e_fail "the style image could not be built"
"$make_image" "$work/Old.mix" "$examples/intro.mid" "$examples/fill3.mid" "$examples/ending.mid" ||
  e2e_fail "the old style image could not be built"

repo="$work/Repository"
for part in intro:intro fill:fill1 fill:fill2 fill:fill3 ending:ending; do
  "$cli_bin" repo --repository "$repo" import --to "${part%%:*}" "$examples/${part#*:}.mid" \
    >/dev/null 2>>"$work/cli.err" || e2e_fail "import of ${part#*:}.mid"
done

case_number=0
# Starts a keyboard with these switches whose slot 2 holds the old style.
keyboard() {
  case_number=$((case_number + 1))
  port="Vantrel Recovery $$ $case_number"
  rm -rf "$work/store"
  mkdir -p "$work/store"
  cp "$work/Old.mix" "$work/store/slot-002.mix"
  e2e_start_keyboard "$keyboard_bin" --port-name "$port" --slots 8 --store "$work/store" "$@"
}

upload() {
  "$cli_bin" upload --repository "$repo" --intro intro.mid --fill fill1.mid --fill fill2.mid \
    --fill fill3.mid --ending ending.mid --in "$port" --out "$port" --slot 2 --yes --quiet \
    --trace "$work/trace.txt" "$@" >"$work/cli.out" 2>"$work/cli.err"
  status=$?
}

send() {
  "$cli_bin" device --in "$port" --out "$port" --trace "$work/trace.txt" "$@" \
    send "$work/Total.mix" --slot 2 --quiet >"$work/cli.out" 2>"$work/cli.err"
  status=$?
}

# `device slots` at once: slot 2 is listed with what it held.
slots_right() {
  local out
  out=$("$cli_bin" device --in "$port" --out "$port" slots --json 2>"$work/cli.err")
  [ $? = 0 ] || e2e_fail "$1: slots afterwards failed"
  [ "$(grep -o '"slot": ' <<<"$out" | wc -l)" = 8 ] || e2e_fail "$1: slots afterwards: $out"
  grep -q '{"slot": 2, "name": "Style 003", "empty": false}' <<<"$out" ||
    e2e_fail "$1: slot 2 afterwards: $out"
}

# Runs the command line in the background and interrupts it at about packet 300 (acknowledges
# 10 ms late); its exit status in $status.
interrupt() {
  "$cli_bin" "$@" >"$work/cli.out" 2>"$work/cli.err" &
  local pid=$!
  sleep 3.5
  kill -INT "$pid"
  wait "$pid"
  status=$?
}

cancelled_untouched() {
  [ "$status" = 130 ] || e2e_fail "$1: status $status (Ctrl-C is 130)"
  grep -q "^Download cancelled$" "$work/cli.err" || e2e_fail "$1: no cancel message"
  cmp -s "$work/Old.mix" "$work/store/slot-002.mix" || e2e_fail "$1: the old style was touched"
}

retries() { grep -c "retry .* from the file header" "$work/trace.txt"; }

for_each_rule() {
  local rule
  for rule in "" --join-by-length; do
    "$@" $rule
  done
}

cut_with() {
  keyboard --ack-delay 10 "$@"
  local what="Ctrl-C against the keyboard joining ${1:-by frame header}"
  interrupt device --in "$port" --out "$port" send "$work/Total.mix" --slot 2 --quiet
  cancelled_untouched "$what, device send"
  slots_right "$what, device send"
  interrupt upload --repository "$repo" --intro intro.mid --fill fill1.mid --fill fill2.mid \
    --fill fill3.mid --ending ending.mid --in "$port" --out "$port" --slot 2 --yes --quiet
  cancelled_untouched "$what, upload"
  slots_right "$what, upload"
  e2e_stop_keyboard
}
case_cut() { for_each_rule cut_with; }

dropack_with() {
  keyboard --drop-ack 300 "$@"
  local what="acknowledge of packet 300 lost, keyboard joining ${1:-by frame header}"
  upload
  [ "$status" = 0 ] || e2e_fail "$what: upload status $status"
  grep -q "^Download successfully!$" "$work/cli.err" || e2e_fail "$what: no success message"
  grep -q "Stored after 1 retry" "$work/cli.err" || e2e_fail "$what: the retry is not told"
  [ "$(retries)" = 1 ] || e2e_fail "$what: $(retries) retries, not 1"
  grep -q "answer to the cut message dropped" "$work/trace.txt" ||
    e2e_fail "$what: the cut message was not closed"
  cmp -s "$work/Total.mix" "$work/store/slot-002.mix" || e2e_fail "$what: the stored image differs"
  e2e_stop_keyboard

  keyboard --drop-ack 300 "$@"
  send --retries 0
  [ "$status" = 3 ] || e2e_fail "$what, --retries 0: status $status"
  grep -q "^  Download error!$" "$work/cli.err" || e2e_fail "$what, --retries 0: no error"
  grep -q "did not come within 100 ms" "$work/cli.err" ||
    e2e_fail "$what, --retries 0: the lost acknowledge is not told"
  cmp -s "$work/Old.mix" "$work/store/slot-002.mix" || e2e_fail "$what: the old style was touched"
  slots_right "$what, --retries 0"
  e2e_stop_keyboard
}
case_dropack() { for_each_rule dropack_with; }

case_late() {
  keyboard --late-ack 100:150
  upload
  [ "$status" = 0 ] || e2e_fail "one acknowledge in 100 late: upload status $status"
  cmp -s "$work/Total.mix" "$work/store/slot-002.mix" || e2e_fail "late: the stored image differs"
  e2e_stop_keyboard
}

case_loop() {
  keyboard --echo
  "$cli_bin" device --in "$port" --out "$port" connect >"$work/cli.out" 2>"$work/cli.err"
  status=$?
  [ "$status" = 3 ] || e2e_fail "a port wired back: status $status"
  grep -q "Connected!" "$work/cli.out" && e2e_fail "a port wired back: connected to itself"
  grep -q "^Connect request error!$" "$work/cli.err" || e2e_fail "a port wired back: no error"
  grep -q "returns what Vantrel sends .* (a loop), not to a keyboard" "$work/cli.err" ||
    e2e_fail "a port wired back: the loop is not named"
  e2e_stop_keyboard
}

# The window's chooser and `ports` offer the same pair first: Vantrel's own ports never, a
# keyboard started later before one started earlier, never one client's input with another's
# output.
case_choose() {
  keyboard
  local first=$port
  # Vantrel's own ports exist while a command holds the link.
  "$cli_bin" device --in "$first" --out "$first" --ack-timeout 1000 send "$work/Total.mix" \
    --slot 3 --quiet >/dev/null 2>&1 &
  local busy=$!
  sleep 1
  local second_pid
  "$keyboard_bin" --port-name "Vantrel Second $$" >"$work/second.log" 2>&1 &
  second_pid=$!
  for _ in $(seq 1 100); do grep -q ready "$work/second.log" && break; sleep 0.1; done
  local out
  out=$("$cli_bin" ports 2>/dev/null)
  kill -TERM "$second_pid"; wait "$second_pid"
  wait "$busy"
  grep -q "Vantrel input\|Vantrel output" <<<"$out" && e2e_fail "own ports offered: $out"
  grep -q "^Keyboard's pair: .*(vantrel-keyboard[^ ]*:Vantrel Second $$ / vantrel-keyboard[^ ]*:Vantrel Second $$)$" \
    <<<"$out" || e2e_fail "the later keyboard's pair is not the one offered: $out"
  e2e_stop_keyboard
}

for name in "${cases[@]}"; do
  declare -F "case_$name" >/dev/null || e2e_fail "no case $name"
  "case_$name"
done
echo PASS
