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
echo PASS
