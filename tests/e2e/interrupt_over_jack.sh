#!/usr/bin/env bash
# Ctrl-C (SIGINT) in the middle of a transfer over real MIDI ports (JACK, dummy driver):
# `device send` and `upload` stop after the packet in flight, say "Download cancelled", end with
# status 130, and the keyboard's slot keeps the style it held; the link works again afterwards.
#   interrupt_over_jack.sh KEYBOARD CLI MAKE_IMAGE EXAMPLES_DIR SCRIPTS_DIR
# Without a running JACK server it runs itself again under scripts/with-jack.
set -uo pipefail

keyboard_bin=$1 cli_bin=$2 make_image=$3 examples=$4 scripts=$5
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

# Acknowledges 20 ms late: the 892 packets take a good while, so Ctrl-C lands mid-transfer.
port="Vantrel Interrupt $$"
mkdir -p "$work/store"
cp "$work/Old.mix" "$work/store/slot-002.mix"
e2e_start_keyboard "$keyboard_bin" --port-name "$port" --slots 8 --store "$work/store" \
  --ack-delay 20

# Runs the command line in the background, interrupts it once the transfer runs, and keeps
# its exit status in $status.
interrupt() {
  "$cli_bin" "$@" >"$work/cli.out" 2>"$work/cli.err" &
  local pid=$!
  sleep 3
  kill -INT "$pid"
  wait "$pid"
  status=$?
}

untouched() {
  [ "$status" = 130 ] || e2e_fail "$1: status $status (Ctrl-C is 130)"
  grep -q "^Download cancelled$" "$work/cli.err" || e2e_fail "$1: no cancel message"
  grep -q "Download successfully!\|Download error!" "$work/cli.err" &&
    e2e_fail "$1: another outcome reported"
  cmp -s "$work/Old.mix" "$work/store/slot-002.mix" || e2e_fail "$1: the old style was touched"
}

interrupt device --in "$port" --out "$port" send "$work/Total.mix" --slot 2 --quiet
untouched "device send"

interrupt upload --repository "$repo" --intro intro.mid --fill fill1.mid --fill fill2.mid \
  --fill fill3.mid --ending ending.mid --in "$port" --out "$port" --slot 2 --yes --quiet
untouched "upload"
# The slot list was read again after the cancel and printed.
grep -Eq '^ +2  Style 003$' "$work/cli.out" || e2e_fail "upload: no fresh slot list: $(cat "$work/cli.out")"

out=$("$cli_bin" device --in "$port" --out "$port" slots --json 2>"$work/cli.err")
[ $? = 0 ] || e2e_fail "slots after the interrupts"
grep -q '{"slot": 2, "name": "Style 003", "empty": false}' <<<"$out" ||
  e2e_fail "slots after the interrupts: $out"

e2e_stop_keyboard
echo "PASS"
