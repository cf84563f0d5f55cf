#!/usr/bin/env bash
# vantrel-cli.exe under Wine against the Linux build's vantrel-cli on the example style: the
# same check report, the same converted products, the same style image and the same decoded
# parts, byte for byte, with the work folder, the repository and the Intro's file named beyond
# ASCII on both sides; then the Windows program uploads the style into its in-process virtual
# keyboard.
#   same_outputs.sh WINE CLI_EXE LINUX_CLI EXAMPLES_DIR
set -uo pipefail
wine=$1 exe=$2 linux=$3 examples=$4
if [ ! -x "$linux" ]; then
  echo "no Linux vantrel-cli at $linux: scripts/run-tests windows builds it first"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

parts=(intro.mid fill1.mid fill2.mid fill3.mid ending.mid)
intro="intro-été ΑΒΓ.mid"
repository="Dépôt ü"
choice=(--intro "$intro" --fill fill1.mid --fill fill2.mid --fill fill3.mid --ending ending.mid)

run_side() {
  local side=$1
  shift
  local out="$work/$side/Répertoire ü"
  mkdir -p "$out"
  local -a program=("$@")
  cp "${parts[@]/#/$examples/}" "$out/"
  mv "$out/intro.mid" "$out/$intro"
  local -a files=("$intro" "${parts[@]:1}")
  (
    cd "$out" || exit 1
    "${program[@]}" check --json "${files[@]}" | tr -d '\r' >check.json ||
      fail "$side: check"
    "${program[@]}" convert "${files[@]}" -o converted >/dev/null || fail "$side: convert"
    "${program[@]}" repo --repository "$repository" import --to intro "$intro" >/dev/null &&
      "${program[@]}" repo --repository "$repository" import --to fill fill1.mid fill2.mid \
        fill3.mid >/dev/null &&
      "${program[@]}" repo --repository "$repository" import --to ending ending.mid >/dev/null ||
      fail "$side: import into the repository"
    "${program[@]}" combine --repository "$repository" "${choice[@]}" -o Total.mix >/dev/null ||
      fail "$side: combine"
    "${program[@]}" decode Total.mix -o decoded >/dev/null || fail "$side: decode"
  ) || exit 1
}

run_side linux "$linux"
run_side windows "$wine" "$exe"

linux_files=$(cd "$work/linux" && find . -type f | LC_ALL=C sort)
windows_files=$(cd "$work/windows" && find . -type f | LC_ALL=C sort)
[ "$linux_files" = "$windows_files" ] ||
  fail "different files: $(diff <(echo "$linux_files") <(echo "$windows_files"))"
while IFS= read -r file; do
  cmp -s "$work/linux/$file" "$work/windows/$file" || fail "$file differs"
done <<<"$linux_files"
grep -q '"passed": *true' "$work/linux/Répertoire ü/check.json" || fail "check did not pass"
[ "$(stat -c %s "$work/windows/Répertoire ü/Total.mix")" = 20474 ] || fail "no whole style image"
echo "same bytes in $(wc -l <<<"$linux_files") files"

upload=$(cd "$work/windows/Répertoire ü" &&
  "$wine" "$exe" upload --repository "$repository" "${choice[@]}" --empty-slot --yes --virtual 2>&1 |
  tr -d '\r')
grep -q "Download successfully!" <<<"$upload" || fail "upload under Wine: $upload"
echo "uploaded under Wine into the in-process virtual keyboard"
