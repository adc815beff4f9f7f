#!/bin/sh
# Installs the release package in a fresh Wine prefix the way its README.txt tells a Windows user
# to, then runs the installed-saver check there.
#
#   check-install.sh ZIP CHECK.exe WINE-RUN WORK
set -eu

zip=$1
check=$2
wine_run=$3
work=$4
rm -rf "$work"
mkdir -p "$work/unpacked"
trap '"$wine_run" --build "$work/wine" --stop' EXIT

python3 -m zipfile -e "$zip" "$work/unpacked"
# Exactly the four files, and the checksum line matches the saver.
[ "$(ls "$work/unpacked" | tr '\n' ' ')" = "ASCENDA.SCR LICENSE.txt README.txt SHA256SUMS " ] || {
  echo "check-install.sh: the package holds: $(ls "$work/unpacked")" >&2
  exit 1
}
(cd "$work/unpacked" && sha256sum --strict -c SHA256SUMS)
grep -q '^Copyright ' "$work/unpacked/LICENSE.txt" || { echo "check-install.sh: LICENSE.txt has no copyright line" >&2; exit 1; }

# A new display and a new prefix, so nothing from earlier runs is installed or stored.
eval "$("$wine_run" --build "$work/wine" --env)"
cp "$work/unpacked/ASCENDA.SCR" "$WINEPREFIX/drive_c/windows/system32/ASCENDA.SCR"
"$wine_run" --build "$work/wine" --batch "$check"
