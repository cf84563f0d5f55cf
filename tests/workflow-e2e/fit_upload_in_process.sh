#!/usr/bin/env bash
# A musician's own file, refused as it is, made to fit with `fit`: the fitted copy passes
# `check`, fitting it again changes nothing, and it imports, combines and uploads into the
# in-process virtual keyboard as Intro, Fill and Ending. The input is never changed.
#   fit_upload_in_process.sh CLI
set -uo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
repo="$work/Repository"

source "$(dirname "$0")/cli_session.sh"

# 480 ticks per quarter note; track 0 holds only a name; track 1 carries tempo, time signature,
# melody on channel 1 and bass on channel 2; track 2 drums on 10 with a note never released.
hex="4d546864000000060001000301e0"
hex+="4d54726b0000000c00ff0304536f6e6700ff2f00"
hex+="4d54726b0000003600ff510307a12000ff58040402180800904864009128648360804840008128408360904a6400912b648360804a4000812b4000ff2f00"
hex+="4d54726b00000012009924648360892440009926648740ff2f00"
printf '%s' "$hex" | sed 's/../\\x&/g' | xargs -0 printf >"$work/Song.mid"
cp "$work/Song.mid" "$work/original.mid"

run check "$work/Song.mid"
[ "$status" = 1 ] || fail "the unfitted file passed check: $out"

run fit --dry-run "$work/Song.mid"
[ "$status" = 0 ] || fail "fit --dry-run: status $status: $out"
[ ! -e "$work/Song.fit.mid" ] || fail "--dry-run wrote a file"

run fit --measures 2 "$work/Song.mid"
[ "$status" = 0 ] || fail "fit: status $status: $out"
for line in "division: division 480 to 192" "split: track 1: channels 1, 2 split" \
  "channel: channel 2 to 12 (bass" "held-note: channel 10 key 38" "budget: " "fits"; do
  grep -qF "$line" <<<"$out" || fail "fit did not report \"$line\": $out"
done
cmp -s "$work/Song.mid" "$work/original.mid" || fail "fit changed its input"

run fit --measures 2 "$work/Song.mid"
[ "$status" = 1 ] || fail "fit replaced its earlier output without --force: $status"
run fit --measures 2 --force --json "$work/Song.mid"
[ "$status" = 0 ] || fail "fit --force: status $status"
grep -q '"fits": true' <<<"$out" || fail "--json: $out"

run check "$work/Song.fit.mid"
[ "$status" = 0 ] || fail "the fitted file fails check: $out"

run fit --measures 2 -o "$work/again" "$work/Song.fit.mid"
[ "$status" = 0 ] || fail "fit of the fitted file: status $status"
grep -q "unchanged: already fits" <<<"$out" || fail "fit of a fitted file changed something: $out"
cmp -s "$work/Song.fit.mid" "$work/again/Song.fit.fit.mid" || fail "fit of a fitted file differs"

for part in intro fill ending; do
  run repo --repository "$repo" import --to "$part" "$work/Song.fit.mid"
  [ "$status" = 0 ] || fail "import as $part: status $status"
done
choice=(--intro Song.fit.mid --fill Song.fit.mid --ending Song.fit.mid)
run combine --repository "$repo" "${choice[@]}" -o "$work/Total.mix"
[ "$status" = 0 ] || fail "combine: status $status"
run upload --repository "$repo" "${choice[@]}" --slot 1 --virtual --quiet
[ "$status" = 0 ] || fail "upload: status $status"
grep -q "Download successfully!" "$work/err" || fail "no success message"

run fit --map 1=9 "$work/Song.mid"
[ "$status" = 2 ] || fail "a bad --map was not a usage error: $status"
echo PASS
