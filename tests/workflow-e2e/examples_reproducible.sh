#!/usr/bin/env bash
# The committed example files are exactly what the generator writes.
#   examples_reproducible.sh MAKE_EXAMPLES EXAMPLES_DIR
set -uo pipefail
make_examples=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$make_examples" "$work" >/dev/null || { echo "FAIL: the generator failed" >&2; exit 1; }
for part in intro fill1 fill2 fill3 ending; do
  cmp "$work/$part.mid" "$examples/$part.mid" || { echo "FAIL: $part.mid differs" >&2; exit 1; }
done
[ "$(ls "$work" | wc -l)" = 5 ] || { echo "FAIL: the generator wrote other files" >&2; exit 1; }
# --help answers with the usage and writes nothing; an unknown option is a usage error.
(cd "$work" && "$make_examples" --help >help.txt) || { echo "FAIL: --help failed" >&2; exit 1; }
grep -q "usage: vantrel-make-examples OUTDIR" "$work/help.txt" || { echo "FAIL: no usage" >&2; exit 1; }
[ ! -e "$work/--help" ] || { echo "FAIL: --help made a folder" >&2; exit 1; }
(cd "$work" && "$make_examples" --output 2>/dev/null); status=$?
[ $status = 2 ] && [ ! -e "$work/--output" ] || { echo "FAIL: an unknown option was taken as a folder" >&2; exit 1; }
echo PASS
