#!/usr/bin/env bash
# Makes the Debian package from the build and checks it: its name, its dependencies worked out
# from the programs, what it holds, and lintian finding neither errors nor warnings.
#   deb_lintian.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log") || { cat "$work/cpack.log" >&2; exit 1; }
deb=$work/vantrel_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "FAIL: no $(basename "$deb"); made: $(ls "$work")" >&2; exit 1; }

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6svg6 librtmidi6 libstdc++6; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/vantrel ./usr/bin/vantrel-cli ./usr/bin/vantrel-keyboard \
  ./usr/share/doc/vantrel/copyright ./usr/share/man/man1/vantrel-cli.1.gz \
  ./usr/share/applications/vantrel.desktop; do
  grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
grep -v ' root/root ' <<<"$contents" && fail "files not owned by root"
lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' >"$work/lintian" || true
if grep -q '^[EW]: ' "$work/lintian"; then
  cat "$work/lintian" >&2
  fail "lintian reports errors or warnings"
fi
[ "$failures" -eq 0 ] || exit 1
echo "$(basename "$deb"): lintian clean"
