#!/bin/sh
# Builds the Debian package of the Linux savers (X11 and Wayland) from this checkout and checks it
# with lintian:
#
#   build/release/ascenda_<version>_amd64.deb
#       /usr/libexec/xscreensaver/ascenda               the saver, where the daemon looks for hacks
#       /usr/share/xscreensaver/config/ascenda.xml      its settings description
#       /usr/share/applications/screensavers/ascenda.desktop   its entry for MATE's settings
#       /usr/share/man/man6/ascenda.6.gz                its man page
#       /usr/bin/ascenda-wayland                        the saver for Wayland desktops
#       /usr/share/man/man6/ascenda-wayland.6.gz        its man page
#       /usr/share/doc/ascenda/copyright, changelog.gz
#
#   tools/release-deb.sh [--out DIR]    DIR defaults to build/release
#
# The package's dependencies come from dpkg-shlibdeps. Every time in it is the commit's time
# (SOURCE_DATE_EPOCH, taken from the commit unless set). Prints the package's path and SHA-256;
# fails when lintian reports an error or a warning. It installs only the packages in
# tools/release-deb.packages.
set -eu

# Only the Debian package's build tools: no Windows, web or test tools.
packages_list=$(cd "$(dirname "$0")" && pwd)/release-deb.packages
. "$(dirname "$0")/release-start.sh"

# Only what the package holds is built: installing does not wait for everything else.
build=$out/build-deb
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DASCENDA_TESTS=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $contact_option >/dev/null
cmake --build "$build" --target ascenda ascenda_manual ascenda_changelog ascenda-wayland ascenda_wayland_manual --parallel "${JOBS:-$(nproc)}" >&2
(cd "$build" && cpack -G DEB -B "$build/package" >&2)

deb=$(find "$build/package" -maxdepth 1 -name 'ascenda_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "release-deb.sh: cpack made no package" >&2; exit 1; }
target=$out/$(basename "$deb")
mv "$deb" "$target"

# The files a user installs it for, where the daemon, its settings tool and man look for them.
listing=$(dpkg-deb -c "$target")
for path in libexec/xscreensaver/ascenda share/xscreensaver/config/ascenda.xml share/man/man6/ascenda.6.gz \
  share/applications/screensavers/ascenda.desktop bin/ascenda-wayland share/man/man6/ascenda-wayland.6.gz; do
  echo "$listing" | grep -q " \./usr/$path\$" || { echo "release-deb.sh: $target lacks /usr/$path" >&2; exit 1; }
done
# lintian says it should not run as root, which is how CI runs (that is no finding); its findings
# go to stderr, and a warning fails as an error does.
lintian --fail-on error,warning "$target" >&2 ||
  { echo "release-deb.sh: lintian found errors or warnings in $target" >&2; exit 1; }

echo "$target"
sha256sum "$target" | cut -d' ' -f1
check_contact "$build"
