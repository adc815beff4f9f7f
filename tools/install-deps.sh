#!/bin/sh
# Installs what building and testing Ascenda Vintra needs on Debian 12 (bookworm), and only
# when something is missing: quiet and quick on a machine that has everything.
# Works as root or, for another user, through sudo.
#
#   tools/install-deps.sh           everything below
#   tools/install-deps.sh LIST      only the packages in the file LIST ('#' starts a comment),
#                                   e.g. tools/release-deb.packages for the Debian package alone
set -eu

packages="
  libx11-dev
  cmake ninja-build g++ make pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  mingw-w64 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  nsis
  wine wine64 xvfb xserver-xephyr xauth x11-utils xdotool imagemagick
  valgrind python3 procps
  xscreensaver dpkg-dev lintian
  libwayland-dev wayland-protocols libcairo2-dev sway grim wtype weston swayidle swaylock
  emscripten node-acorn chromium firefox-esr python3-websocket
  clang libfuzzer-14-dev libclang-rt-14-dev
"
if [ $# -gt 0 ]; then
  packages=$(sed 's/#.*//' "$1")
fi

installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

missing=
for package in $packages; do
  installed "$package" || missing="$missing $package"
done
[ -z "$missing" ] && exit 0

if ! command -v apt-get >/dev/null; then
  echo "install-deps.sh: apt-get not found; install these yourself:$missing" >&2
  exit 1
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=
elif command -v sudo >/dev/null; then
  as_root=sudo
else
  echo "install-deps.sh: need root or sudo to install:$missing" >&2
  exit 1
fi

echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -qq
# shellcheck disable=SC2086  # one word per package
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing >/dev/null
