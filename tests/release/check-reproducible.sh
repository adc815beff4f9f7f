#!/bin/sh
# Builds the release package twice, from two copies of the sources in two differently named
# folders, one after the other, and fails unless both installers, both zips, both SHA256SUMS and
# both ASCENDA.SCR are identical.
# The first package stays in WORK/one/out for the install check.
#
#   check-reproducible.sh SOURCE WORK
set -eu

source=$(cd "$1" && pwd)
work=$2
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

# The commit's time, as release.sh takes it; the copies are no git checkouts.
SOURCE_DATE_EPOCH=$(git -C "$source" log -1 --format=%ct 2>/dev/null || echo 315532800)
export SOURCE_DATE_EPOCH

# The sources as they stand, committed or not, without build folders.
copy_sources() {
  python3 - "$source" "$1" <<'PYTHON'
import os, shutil, subprocess, sys
source, target = sys.argv[1], sys.argv[2]
try:
    listing = subprocess.run(["git", "-C", source, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
                             check=True, capture_output=True).stdout.decode().split("\0")
except (OSError, subprocess.CalledProcessError):
    # Not a git checkout: everything but the build folders.
    listing = []
    for folder, folders, names in os.walk(source):
        folders[:] = [name for name in folders if name not in ("build", ".git")]
        listing += [os.path.relpath(os.path.join(folder, name), source) for name in names]
for name in filter(None, listing):
    if os.path.isfile(os.path.join(source, name)):
        os.makedirs(os.path.dirname(os.path.join(target, name)), exist_ok=True)
        shutil.copy2(os.path.join(source, name), os.path.join(target, name))
PYTHON
}

build_in() {
  copy_sources "$work/$1/$2"
  "$work/$1/$2/tools/release.sh" --out "$work/$1/out" | tail -n 4
}

build_in one ascenda
build_in another-folder vintra-sources

status=0
for file in ascenda-vintra-*-windows-x64-setup.exe ascenda-vintra-*-windows-x64.zip SHA256SUMS build/ASCENDA.SCR; do
  set -- "$work"/one/out/$file
  first=$1
  second=$work/another-folder/out/${first#"$work"/one/out/}
  sha256sum "$first" "$second"
  if ! cmp -s "$first" "$second"; then
    echo "check-reproducible.sh: $(basename "$first") differs between the two builds:" >&2
    cmp -l "$first" "$second" | head -n 20 >&2
    status=1
  fi
done
exit $status
