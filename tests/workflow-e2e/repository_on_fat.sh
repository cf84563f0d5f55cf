#!/usr/bin/env bash
# The repository on a FAT file system, as on most USB sticks: no hard links, no permissions.
# Import, copy between sub-repositories, remove and upload, with the repository on a vfat image
# mounted through a loop device, or through FUSE (fusefat) where the kernel has no vfat.
# Skipped (status 77, with the reason) where neither can mount.
#   repository_on_fat.sh CLI EXAMPLES_DIR
set -uo pipefail
cli=$1 examples=$2
work=$(mktemp -d)
mnt=$work/stick
mounted=""
cleanup() {
  case "$mounted" in
    loop) umount "$mnt" ;;
    fuse) fusermount -u "$mnt" 2>/dev/null || umount "$mnt" ;;
  esac
  rm -rf "$work"
}
trap cleanup EXIT
skip() {
  echo "SKIPPED: $*"
  exit 77
}
source "$(dirname "$0")/cli_session.sh"

command -v mkfs.vfat >/dev/null || skip "mkfs.vfat (dosfstools) is not installed"
truncate -s 16M "$work/stick.img" && mkfs.vfat "$work/stick.img" >/dev/null ||
  skip "mkfs.vfat cannot make an image here"
mkdir -p "$mnt"
if mount -t vfat -o loop "$work/stick.img" "$mnt" 2>"$work/mount-loop"; then
  mounted=loop
elif command -v fusefat >/dev/null && [ -w /dev/fuse ] &&
  fusefat -o rw+ "$work/stick.img" "$mnt" >/dev/null 2>"$work/mount-fuse"; then
  mounted=fuse
else
  reason="loop mount: $(tr '\n' ' ' <"$work/mount-loop")"
  if ! command -v fusefat >/dev/null; then
    reason+="; fusefat is not installed"
  elif [ ! -w /dev/fuse ]; then
    reason+="; /dev/fuse is not usable"
  else
    reason+="; fusefat: $(tr '\n' ' ' <"$work/mount-fuse")"
  fi
  skip "cannot mount a vfat image ($reason)"
fi
echo "vfat image mounted through $mounted"
ln "$work/stick.img" "$mnt/probe" 2>/dev/null && fail "the file system makes hard links: no FAT"
repo=$mnt/Repository

run repo --repository "$repo" import --to intro "$examples/intro.mid"
[ "$status" = 0 ] || fail "import of the Intro: status $status"
run repo --repository "$repo" import --to fill "$examples/fill1.mid" "$examples/fill2.mid"
[ "$status" = 0 ] || fail "import of the Fills: status $status"
run repo --repository "$repo" import --to ending "$examples/ending.mid"
[ "$status" = 0 ] || fail "import of the Ending: status $status"

run repo --repository "$repo" copy --from fill --to ending fill1.mid fill2.mid
[ "$status" = 0 ] || fail "copy: status $status"
for f in fill1.mid fill2.mid; do
  cmp -s "$examples/$f" "$repo/Ending/$f" || fail "the copy of $f is not the file"
  cmp -s "$examples/$f" "$repo/Fill/$f" || fail "the copied $f left its own sub-repository"
done
# A name already there is kept, and the command says so.
cp "$examples/ending.mid" "$repo/Intro/fill1.mid"
run repo --repository "$repo" copy --from fill --to intro fill1.mid
grep -q "fill1.mid: already in Intro, left unchanged" "$work/err" || fail "the kept entry was not named"
cmp -s "$examples/ending.mid" "$repo/Intro/fill1.mid" || fail "copy replaced an existing entry"
stray=$(find "$repo" -name '.*' -o -name '*.tmp*')
[ -z "$stray" ] || fail "temporary files left behind: $stray"

run repo --repository "$repo" remove ending fill2.mid
[ "$status" = 0 ] || fail "remove: status $status"
[ ! -e "$repo/Ending/fill2.mid" ] || fail "remove left the entry"

run upload --repository "$repo" --intro intro.mid --fill fill1.mid --fill fill2.mid \
  --ending ending.mid --slot 1 --virtual --quiet
[ "$status" = 0 ] || fail "upload: status $status"
run repo --repository "$repo" list
grep -q "Ending (2):" <<<"$out" || fail "list after copy and remove: $out"
echo "repository on vfat: import, copy, remove and upload as on any disk"
