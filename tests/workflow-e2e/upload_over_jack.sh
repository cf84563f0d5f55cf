#!/usr/bin/env bash
# vantrel-cli upload of the examples into vantrel-keyboard over real MIDI ports (JACK with the
# dummy driver): the keyboard stores a well-formed 20474-byte image after 892 acknowledged
# packets, and it is the image that combine builds.
#   upload_over_jack.sh CLI KEYBOARD EXAMPLES_DIR SCRIPTS_DIR
# Without a running JACK server it runs itself again under scripts/with-jack.
set -uo pipefail
cli=$1 keyboard=$2 examples=$3 scripts=$4

source "$(dirname "$0")/../e2e/keyboard_session.sh"
e2e_begin "$scripts" "$0" "$@"
fail() { e2e_fail "$@"; }

repo="$work/Repository"
for part in intro:intro fill:fill1 fill:fill2 fill:fill3 ending:ending; do
  "$cli" repo --repository "$repo" import --to "${part%%:*}" "$examples/${part#*:}.mid" \
    >/dev/null 2>>"$work/cli.err" || fail "import of ${part#*:}.mid"
done
choice=(--repository "$repo" --intro intro.mid --fill fill1.mid --fill fill2.mid
        --fill fill3.mid --ending ending.mid)
"$cli" combine "${choice[@]}" -o "$work/Total.mix" >/dev/null 2>>"$work/cli.err" ||
  fail "combine"

port="Vantrel Workflow $$"
e2e_start_keyboard "$keyboard" --port-name "$port" --slots 8 --store "$work/store"

out=$("$cli" upload "${choice[@]}" --in "$port" --out "$port" --empty-slot --yes --quiet \
  2>"$work/cli.err")
status=$?
[ "$status" = 0 ] || fail "upload: status $status"
grep -q "Using empty slot? Yes" "$work/cli.err" || fail "the empty-slot question was not asked"
grep -q "Download successfully!" "$work/cli.err" || fail "no success message"
grep -q "stored 20474 bytes in slot 0 after 892 acknowledged packets" "$work/keyboard.log" ||
  fail "the keyboard did not report the image after 892 packets"
cmp -s "$work/Total.mix" "$work/store/slot-000.mix" || fail "the stored image is not combine's"
grep -Eq '^ +0  Style 001$' <<<"$out" || fail "the slot list does not show the style: $out"
[ ! -e "$repo/Total.mix" ] || fail "Total.mix was left in the repository"

e2e_stop_keyboard
echo PASS
