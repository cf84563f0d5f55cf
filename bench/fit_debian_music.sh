#!/usr/bin/env bash
# How many ordinary MIDI files `vantrel-cli fit --measures 4` makes into patterns: the .mid files
# of the Debian music packages that scripts/install-deps installs (openttd-openmsx,
# planetblupi-music-midi). Of the files `check` refuses as they are, it counts those with at most
# seven channels of notes that pass `check` once fitted, those fit refuses with a reason naming
# the channels, how many of these pass after `--drop` of the channels it suggests, and how many
# outputs fit the 2,048-byte block.
# Usage: bench/fit_debian_music.sh [CLI]   (default build/ci/src/cli/vantrel-cli)
set -uo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/ci/src/cli/vantrel-cli}
folders=(/usr/share/games/openttd/baseset/openmsx /usr/share/planetblupi/music)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mapfile -t files < <(find "${folders[@]}" -name '*.mid' 2>/dev/null | sort)
[ ${#files[@]} -gt 0 ] || { echo "no MIDI files: run scripts/install-deps" >&2; exit 1; }

total=0 refused_as_is=0 fitted=0 fitted_pass=0 too_many=0 named=0 dropped_pass=0 in_budget=0
other=()
for file in "${files[@]}"; do
  total=$((total + 1))
  "$cli" check "$file" >/dev/null 2>&1 && continue
  refused_as_is=$((refused_as_is + 1))
  name=$(basename "$file" .mid)
  json=$("$cli" fit --measures 4 --json -o "$work" "$file" 2>/dev/null)
  out="$work/$name.fit.mid"
  if [ -f "$out" ]; then
    fitted=$((fitted + 1))
    "$cli" check "$out" >/dev/null 2>&1 && fitted_pass=$((fitted_pass + 1))
    grep -q '"fits": true' <<<"$json" && in_budget=$((in_budget + 1))
  elif grep -q 'channels carry notes' <<<"$json"; then
    too_many=$((too_many + 1))
    grep -Eq 'channels carry notes \([0-9, ]+\).*--drop [0-9,]+' <<<"$json" && named=$((named + 1))
    drop=$(grep -Eo -- '--drop [0-9,]+' <<<"$json" | head -1 | cut -d' ' -f2)
    "$cli" fit --measures 4 --drop "$drop" -o "$work/dropped" "$file" >/dev/null 2>&1
    [ -f "$work/dropped/$name.fit.mid" ] && "$cli" check "$work/dropped/$name.fit.mid" \
      >/dev/null 2>&1 && dropped_pass=$((dropped_pass + 1))
    grep -q '"fits": true' <<<"$("$cli" fit --measures 4 --drop "$drop" --json --dry-run \
      "$file" 2>/dev/null)" && in_budget=$((in_budget + 1))
  else
    other+=("$file: $(grep -o '"reason": "[^"]*"' <<<"$json")")
  fi
done

echo "MIDI files:                                  $total"
echo "refused by check as they are:                $refused_as_is"
echo "  at most 7 channels, fitted:                $fitted"
echo "    of these pass check:                     $fitted_pass"
echo "  more than 7 channels, refused by fit:      $too_many"
echo "    with a reason naming the channels:       $named"
echo "    pass check after --drop:                 $dropped_pass"
echo "  outputs within the 2,048-byte block:       $in_budget"
for line in "${other[@]}"; do echo "  refused otherwise: $line"; done
