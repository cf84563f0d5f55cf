#!/usr/bin/env bash
# vantrel-cli as a user runs it: a fresh repository, the examples imported (a file that is not a
# pattern refused), listed, combined into an image, decoded again, and uploaded into the
# in-process virtual keyboard, whose slot list then shows the style.
#   upload_in_process.sh CLI EXAMPLES_DIR
set -uo pipefail
cli=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
repo="$work/Repository"

source "$(dirname "$0")/cli_session.sh"

printf 'MThd' >"$work/broken.mid"
run repo --repository "$repo" import --to intro "$examples/intro.mid" "$work/broken.mid"
[ "$status" = 1 ] || fail "import with a broken file: status $status"
grep -q "broken.mid:  File is not supported!" "$work/err" || fail "the broken file was not named"
[ ! -e "$repo/Intro/broken.mid" ] || fail "the broken file was copied"

run repo import --repository "$repo" --to fill "$examples/fill1.mid" "$examples/fill2.mid" \
  "$examples/fill3.mid"
[ "$status" = 0 ] || fail "import of the Fills: status $status"
run repo --repository "$repo" import --to ending "$examples/ending.mid"
[ "$status" = 0 ] || fail "import of the Ending: status $status"
# A second import of the same file is not answered in a script without --yes: nothing changes.
run repo --repository "$repo" import --to ending "$examples/intro.mid"
cp "$examples/intro.mid" "$work/ending.mid"
run repo --repository "$repo" import --to ending --no "$work/ending.mid"
cmp -s "$repo/Ending/ending.mid" "$examples/ending.mid" || fail "--no replaced the Ending"
grep -q "Overwrite ending.mid? No" "$work/err" || fail "the overwrite question was not asked"

run repo --repository "$repo" list
[ "$status" = 0 ] || fail "list: status $status"
grep -q "Repository: $repo" <<<"$out" || fail "list does not say where the repository is: $out"
grep -q "Fill (3):" <<<"$out" || fail "list: $out"
find "$repo" -type f ! -name '*.mid' | grep -q . && fail "conversion products were left: $(find "$repo" -type f)"

choice=(--intro intro.mid --fill fill1.mid --fill fill2.mid --fill fill3.mid --ending ending.mid)
run combine --repository "$repo" "${choice[@]}" -o "$work/Total.mix"
[ "$status" = 0 ] || fail "combine: status $status"
[ "$(stat -c %s "$work/Total.mix")" = 20474 ] || fail "the image is not 20474 bytes"

run decode "$work/Total.mix" -o "$work/decoded"
[ "$status" = 0 ] || fail "decode: status $status"
for part in intro ending fill1 fill2 fill3; do
  [ -s "$work/decoded/$part.mid" ] || fail "decode wrote no $part.mid"
done

run combine --repository "$repo" --intro intro.mid --fill missing.mid --ending ending.mid \
  -o "$work/None.mix"
[ "$status" = 1 ] || fail "combine with a missing entry: status $status"
[ ! -e "$work/None.mix" ] || fail "an image was written for a missing entry"

run upload --repository "$repo" "${choice[@]}" --slot 2 --virtual --quiet
[ "$status" = 0 ] || fail "upload: status $status"
grep -q "Download successfully!" "$work/err" || fail "no success message"
grep -Eq '^ +2  Style 003$' <<<"$out" || fail "the slot list does not show the style: $out"
[ "$(grep -c ' Empty$' <<<"$out")" = 15 ] || fail "slot list: $out"
[ ! -e "$repo/Total.mix" ] || fail "Total.mix was left in the repository"
grep -q '%' "$work/err" && fail "--quiet still showed progress"

# Into a log (standard error is a file here): one plain line per tenth, no in-place redraws.
run upload --repository "$repo" "${choice[@]}" --slot 3 --virtual --yes
[ "$status" = 0 ] || fail "upload with progress: status $status"
grep -q $'\r' "$work/err" && fail "progress redrawn with carriage returns in a log"
bars=$(grep -Ec '^\[[#.]{40}\] +[0-9]+%$' "$work/err")
[ "$bars" -ge 2 ] && [ "$bars" -le 11 ] || fail "$bars progress lines in the log"
[ "$(grep -E '%$' "$work/err" | tail -1)" = "[$(printf '#%.0s' {1..40})] 100%" ] ||
  fail "the last progress line is not full"
grep -q "Download successfully!" "$work/err" || fail "no success message after the progress"

run upload --repository "$repo" "${choice[@]}" --empty-slot --virtual --no --quiet
[ "$status" = 1 ] || fail "upload answered No: status $status"
grep -q "Select slot first!" "$work/err" || fail "No to \"Using empty slot?\" was not refused"

run repo --repository "$repo" remove-all fill
[ "$status" = 1 ] || fail "remove-all without an answer removed something"
run repo --repository "$repo" remove-all fill --yes
[ "$status" = 0 ] && [ -z "$(ls "$repo/Fill")" ] || fail "remove-all --yes left: $(ls "$repo/Fill")"
echo PASS
