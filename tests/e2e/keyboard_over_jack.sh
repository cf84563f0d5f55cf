#!/usr/bin/env bash
# vantrel-cli against vantrel-keyboard over real MIDI ports (JACK, dummy driver): connect, list
# the slots, store a style image built from the example patterns (892 acknowledged packets),
# see the slot occupied, delete it, and see a malformed image of the same size refused.
#   keyboard_over_jack.sh KEYBOARD CLI MAKE_IMAGE EXAMPLES_DIR SCRIPTS_DIR
# Without a running JACK server it runs itself again under scripts/with-jack, which starts one
# and stops it afterwards.
set -uo pipefail

keyboard_bin=$1 cli_bin=$2 make_image=$3 examples=$4 scripts=$5

if [ "${VANTREL_JACK_RUNNING:-}" != 1 ] || ! jack_lsp >/dev/null 2>&1; then
  unset VANTREL_JACK_RUNNING
  # A server of our own name, so that no other run starts, shares or stops it meanwhile.
  export JACK_DEFAULT_SERVER="${JACK_DEFAULT_SERVER:-vantrel-e2e-$$}"
  exec "$scripts/with-jack" "$0" "$@"
fi

work=$(mktemp -d)
keyboard_pid=""
cleanup() {
  if [ -n "$keyboard_pid" ]; then
    kill -TERM "$keyboard_pid" 2>/dev/null
    wait "$keyboard_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- last vantrel-cli errors:" >&2
  grep -v "ALSA\|^$\|\[[#.]*\]" "$work/cli.err" >&2
  echo "--- keyboard log:" >&2
  cat "$work/keyboard.log" >&2
  exit 1
}

# Runs the command line; keeps its output in $out and its exit status in $status. A fresh
# process's first message can miss a JACK connection that is not live yet on a loaded machine;
# "no answer" (3) is therefore tried again, twice at most, and said so.
run() {
  for attempt in 1 2 3; do
    out=$("$cli_bin" device --in "$port" --out "$port" "$@" 2>"$work/cli.err")
    status=$?
    [ "$status" = 3 ] || return
    echo "note: no answer to '$*' (attempt $attempt)" >&2
  done
}

parts=("$examples/intro.mid" "$examples/fill1.mid" "$examples/fill2.mid" "$examples/fill3.mid"
       "$examples/ending.mid")
"$make_image" "$work/Total.mix" "${parts[@]}" || fail "the style image could not be built"
"$make_image" "$work/Malformed.mix" "${parts[@]}" --malformed || fail "no malformed image"
[ "$(stat -c %s "$work/Total.mix")" = 20474 ] || fail "the image is not 20474 bytes"
[ "$(stat -c %s "$work/Malformed.mix")" = 20474 ] || fail "the malformed image is not 20474 bytes"

port="Vantrel E2E $$"
"$keyboard_bin" --port-name "$port" --slots 8 --store "$work/store" >"$work/keyboard.log" 2>&1 &
keyboard_pid=$!
for _ in $(seq 1 100); do
  grep -q "ready" "$work/keyboard.log" && break
  kill -0 "$keyboard_pid" 2>/dev/null || fail "vantrel-keyboard ended early"
  sleep 0.1
done
grep -q "ready" "$work/keyboard.log" || fail "vantrel-keyboard did not get ready"

run connect
[ "$status" = 0 ] || fail "connect: status $status, $(cat "$work/cli.err")"
[ "$out" = "Vantrel Virtual Keyboard Connected!" ] || fail "connect printed: $out"

run slots --json
[ "$status" = 0 ] || fail "slots: status $status, $(cat "$work/cli.err")"
[ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 8 ] || fail "slots before: $out"

run send "$work/Total.mix" --slot 3
[ "$status" = 0 ] || fail "send: status $status, $(cat "$work/cli.err")"
grep -q "stored 20474 bytes in slot 3 after 892 acknowledged packets" "$work/keyboard.log" ||
  fail "the keyboard did not report 892 acknowledged packets"
cmp -s "$work/Total.mix" "$work/store/slot-003.mix" || fail "the stored image differs"

run slots --json
[ "$status" = 0 ] || fail "slots after send: status $status"
grep -q '{"slot": 3, "name": "Style 004", "empty": false}' <<<"$out" || fail "slots after send: $out"
[ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 7 ] || fail "slots after send: $out"

run delete 3
[ "$status" = 0 ] || fail "delete: status $status, $(cat "$work/cli.err")"
[ ! -e "$work/store/slot-003.mix" ] || fail "the deleted slot's file is still there"
run slots --json
[ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 8 ] || fail "slots after delete: $out"

run send "$work/Malformed.mix" --slot 4 --quiet
[ "$status" = 1 ] || fail "the malformed image: status $status (refused is 1)"
grep -q "download refused (5): not a well-formed style image" "$work/keyboard.log" ||
  fail "the keyboard did not refuse the malformed image"
[ ! -e "$work/store/slot-004.mix" ] || fail "the malformed image was stored"
run slots --json
[ "$(grep -o '"empty": true' <<<"$out" | wc -l)" = 8 ] || fail "slots after the refusal: $out"

kill -TERM "$keyboard_pid"
wait "$keyboard_pid"
stopped=$?
keyboard_pid=""
[ "$stopped" = 0 ] || fail "vantrel-keyboard ended with status $stopped"
echo "PASS"
