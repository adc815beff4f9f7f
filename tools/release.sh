#!/bin/sh
# Builds the Windows release package from this checkout:
#
#   build/release/ascenda-vintra-<version>-windows-x64-setup.exe
#       the installer (packaging/windows/ascenda.nsi), holding the zip's very ASCENDA.SCR
#   build/release/ascenda-vintra-<version>-windows-x64.zip
#       ASCENDA.SCR   the saver, built from the committed sources
#       LICENSE.txt   the licence
#       README.txt    for Windows users: installing, settings, removing
#       SHA256SUMS    the checksum of ASCENDA.SCR
#   build/release/SHA256SUMS
#       the checksums of the installer and the zip
#
#   tools/release.sh [--out DIR]    DIR defaults to build/release
#   ASCENDA_CONTACT=you@your.domain tools/release.sh
#                                   the address users write to (kept for later builds in DIR);
#                                   the script warns loudly while it is the placeholder
#
# The same commit gives the same installer and zip byte for byte, in any folder and at any time:
# the executable carries no link time and no build folder, every time inside the zip is the
# commit's time (SOURCE_DATE_EPOCH, taken from the commit unless set), and the installer holds
# no times at all. Prints the paths and SHA-256 of the installer and the zip.
set -eu

. "$(dirname "$0")/release-start.sh"

build=$out/build
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DASCENDA_TESTS=OFF $contact_option >/dev/null
cmake --build "$build" --target ascenda_saver --parallel "${JOBS:-$(nproc)}" >&2

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
contact=$(sed -n 's/^ASCENDA_CONTACT_ADDRESS:STRING=//p' "$build/CMakeCache.txt")
[ -n "$version" ] && [ -n "$contact" ] || { echo "release.sh: no version or contact address found" >&2; exit 1; }

stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage"
cp "$build/ASCENDA.SCR" "$stage/ASCENDA.SCR"
# Windows line ends, so that every editor shows the lines.
sed -e "s|@VERSION@|$version|" -e "s|@CONTACT@|$contact|" -e 's/$/\r/' "$root/packaging/README.txt" >"$stage/README.txt"
sed -e 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
(cd "$stage" && sha256sum ASCENDA.SCR >SHA256SUMS)

# The installer stores no file times (SetDateSave off): nothing in it depends on when or where it
# was built.
setup=ascenda-vintra-$version-windows-x64-setup.exe
copyright=$(grep -m1 '^Copyright ' "$root/LICENSE")
makensis -V2 -NOCD -DVERSION="$version" -DCOPYRIGHT="$copyright" -DSAVER="$stage/ASCENDA.SCR" \
  -DLICENSE="$stage/LICENSE.txt" -DICON="$root/src/resources/Ascenda.ico" \
  -DSIDEBAR="$root/packaging/windows/sidebar.bmp" -DOUTFILE="$out/$setup.new" \
  "$root/packaging/windows/ascenda.nsi" >&2
mv "$out/$setup.new" "$out/$setup"

zip=$out/ascenda-vintra-$version-windows-x64.zip
python3 - "$stage" "$zip" <<'PYTHON'
import os, sys, time, zipfile
stage, target = sys.argv[1], sys.argv[2]
# Every entry gets the commit's time, the same permissions and its place in name order.
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]
with zipfile.ZipFile(target + ".new", "w") as archive:
    for name in sorted(os.listdir(stage)):
        entry = zipfile.ZipInfo(name, date_time=stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0
        entry.external_attr = 0o644 << 16
        with open(os.path.join(stage, name), "rb") as source:
            archive.writestr(entry, source.read(), compresslevel=9)
os.replace(target + ".new", target)
PYTHON
rm -rf "$stage"
(cd "$out" && sha256sum "$setup" "$(basename "$zip")" >SHA256SUMS)

for package in "$out/$setup" "$zip"; do
  echo "$package"
  sha256sum "$package" | cut -d' ' -f1
done
check_contact "$build"
