#!/bin/sh
# Makes the README's pictures again, so that they stay true after a visible change:
#
#   docs/ascenda-saver.png     the saver full screen at 1024 x 768 after a minute of running, with
#                              the default settings but 100 people and 4 lifts
#   docs/ascenda-settings.png  the settings dialog with its live preview, same settings
#   docs/ascenda-web.png       the web page at 1024 x 768 in headless Chromium after half a
#                              minute, same settings, its settings panel open
#
#   tools/screenshot.sh          all three
#   tools/screenshot.sh --web    the web page's only (a few seconds more than its half minute)
#
# Runs the saver under Wine in a virtual display of its own and a fresh Wine prefix
# (build/screenshot), whose registry is seeded with the settings first. Takes about a minute and
# a half.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/install-deps.sh

# The picture without the time it was taken, so an unchanged picture gives an unchanged file.
strip_png() { # from to
  convert "$1" -strip -define png:exclude-chunks=date,time "$2"
  echo "$2"
}

cmake --preset web >/dev/null
cmake --build --preset web --target ascenda_web --parallel "${JOBS:-$(nproc)}" >&2
mkdir -p build/screenshot-web
/usr/bin/python3 tools/web/browser.py screenshot build/web build/screenshot-web/page.png \
  '?people=100&cars=4' 1024 768 30 --panel
strip_png build/screenshot-web/page.png docs/ascenda-web.png
[ "${1:-}" = --web ] && exit 0

cmake --preset windows >/dev/null
cmake --build --preset windows --target ascenda_saver --parallel "${JOBS:-$(nproc)}" >&2

work=$root/build/screenshot
rm -rf "$work"
mkdir -p "$work"
wine_run="cmake/wine-run.sh --build $work --user-display"
saver=build/windows/ASCENDA.SCR

xvfb_pid=
finish() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap finish EXIT

# A display of the picture's size. Xvfb writes its display number once it is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" </dev/null >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
tries=300
until [ -s "$work/display" ] || [ $tries -eq 0 ]; do sleep 0.1; tries=$((tries - 1)); done
[ -s "$work/display" ] || { echo "screenshot.sh: Xvfb did not start (see $work/xvfb.log)" >&2; exit 1; }
DISPLAY=:$(cat "$work/display")
export DISPLAY
eval "$($wine_run --env)"
export WINEPREFIX

setting() { # section key value
  wine reg add "HKCU\\Software\\Orvane's Registry Bits\\Ascenda\\$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1
}
setting Config People 100
setting Config Cars 4
# Straight to the settings dialog: no greeting, no monthly reminder.
setting Version "Suppress First" 1
setting Version "Suppress Reminder" 1

# Waits up to 30 s for a window named $1; prints its id.
wait_for_window() {
  tries=300
  until xdotool search --name "^$1\$" 2>/dev/null | head -n 1 | grep . || [ $tries -eq 0 ]; do
    sleep 0.1
    tries=$((tries - 1))
  done
}

# The picture without the time it was taken, so an unchanged picture gives an unchanged file.
save() { # window file
  import -window "$1" png:- | convert png:- -strip -define png:exclude-chunks=date,time "$2"
  echo "$2"
}

$wine_run "$saver" /s &
program=$!
window=$(wait_for_window "Ascenda Vintra Screen Saver - Running")
[ -n "$window" ] || { echo "screenshot.sh: the saver showed no window" >&2; exit 1; }
sleep 60 # the minute of running the picture shows
save root docs/ascenda-saver.png
xdotool key --window "$window" space 2>/dev/null || true
wait "$program" || true

$wine_run "$saver" /c &
program=$!
window=$(wait_for_window "Ascenda Vintra Screen Saver")
[ -n "$window" ] || { echo "screenshot.sh: the settings dialog did not show" >&2; exit 1; }
sleep 10 # let the preview's people start to travel
save "$window" docs/ascenda-settings.png
xdotool key --window "$window" Escape 2>/dev/null || true
tries=100
while kill -0 "$program" 2>/dev/null && [ $tries -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done
kill "$program" 2>/dev/null || true
