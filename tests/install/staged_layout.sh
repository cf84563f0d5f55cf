#!/usr/bin/env bash
# Installs the build into a DESTDIR staging folder with prefix /usr and checks the layout, the
# desktop entry and the AppStream file, the manual pages, and that a staged program counts as
# installed (its repository in the user's data folder, not beside /usr/bin).
#   staged_layout.sh CMAKE BUILD_DIR
set -euo pipefail
cmake=$1 build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
DESTDIR=$stage "$cmake" --install "$build" --prefix /usr >/dev/null

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

usr=$stage/usr
for f in bin/vantrel bin/vantrel-cli bin/vantrel-keyboard; do
  [ -x "$usr/$f" ] || fail "$f is not an installed program"
done
for f in share/doc/vantrel/user-guide.html share/doc/vantrel/copyright \
  share/doc/vantrel/changelog.gz share/applications/vantrel.desktop \
  share/metainfo/org.vantrel.Vantrel.metainfo.xml share/icons/hicolor/scalable/apps/vantrel.svg; do
  [ -s "$usr/$f" ] || fail "$f is missing"
done
for size in 16 22 24 32 48 64 128 256; do
  png=$usr/share/icons/hicolor/${size}x${size}/apps/vantrel.png
  if [ ! -s "$png" ]; then
    fail "no ${size}x${size} icon"
  elif ! file "$png" | grep -q "PNG image data, $size x $size"; then
    fail "the ${size}x${size} icon is $(file -b "$png")"
  fi
done
stray=$(find "$usr/bin" -type f ! -name 'vantrel*')
[ -z "$stray" ] || fail "files in bin/ that are not programs: $stray"

desktop-file-validate "$usr/share/applications/vantrel.desktop" || fail "desktop-file-validate"
grep -qx 'MimeType=audio/midi;audio/x-midi;' "$usr/share/applications/vantrel.desktop" ||
  fail "the desktop entry does not offer the program for MIDI files"
appstreamcli validate --no-net "$usr/share/metainfo/org.vantrel.Vantrel.metainfo.xml" >"$work/as" ||
  { cat "$work/as" >&2; fail "appstreamcli validate"; }

for program in vantrel vantrel-cli vantrel-keyboard; do
  page=$usr/share/man/man1/$program.1.gz
  if [ ! -s "$page" ]; then
    fail "no manual page for $program"
    continue
  fi
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || true)
  [ -z "$warnings" ] || fail "$program.1 has roff warnings: $warnings"
done
# Every subcommand the program lists has its section in the page.
page_text=$(zcat "$usr/share/man/man1/vantrel-cli.1.gz")
subcommands=$("$usr/bin/vantrel-cli" --help |
  awk '/^Subcommands:$/ { inside = 1; next } inside && /^$/ { inside = 0 }
       inside && match($0, /^  [a-z0-9][a-z0-9-]*/) { print substr($0, 3, RLENGTH - 2) }')
[ -n "$subcommands" ] || fail "vantrel-cli --help lists no subcommands"
for sub in $subcommands; do
  grep -qxF ".SS \"vantrel-cli $sub\"" <<<"$page_text" ||
    fail "the vantrel-cli page has no section for $sub"
done

home=$work/home
mkdir -p "$home"
where=$(env -u XDG_DATA_HOME HOME="$home" "$usr/bin/vantrel-cli" repo list 2>&1 || true)
grep -qF "$home/.local/share/vantrel/Repository" <<<"$where" ||
  fail "the installed vantrel-cli does not keep its repository in the user's data folder: $where"
help=$(env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$usr/bin/vantrel" --help 2>&1)
grep -qF "$home/.local/share/vantrel/Repository" <<<"$help" ||
  fail "the installed vantrel does not keep its repository in the user's data folder: $help"

[ "$failures" -eq 0 ] || exit 1
echo "installed layout as expected"
