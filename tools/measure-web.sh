#!/bin/sh
# Measures the web page's CPU share of one core: 100 people and 10 lifts in headless Chromium
# (Debian's) at 1920 x 1080, the page served on 127.0.0.1. The page's renderer is the busiest
# renderer; Chromium's other processes are listed beside it.
#
#   tools/measure-web.sh [--floor | --compare | --4k] [SECONDS]     (default 60)
#
# --floor measures tools/web/floor.html instead: a canvas on which ten boxes move every 101 ms,
# the browser's own cost of as many canvas frames as the building makes. --compare measures the
# page and then the floor page, each for SECONDS, and prints both renderers' shares and their
# ratio (the page's goal: within 1.3 times the floor's). --4k measures the page at 3840 x 2160 at
# pixel ratios 1 and 2, then the floor page at ratio 2, each for SECONDS, and prints the shares and
# their ratios (the goals: ratio 2 within 1.5 times ratio 1, and within 1.3 times the floor's).
set -eu

page=saver
case ${1:-} in
  --floor) page=floor; shift ;;
  --compare) page=compare; shift ;;
  --4k) page=4k; shift ;;
esac
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ "$page" = floor ]; then
  exec /usr/bin/python3 tools/web/browser.py measure tools/web floor.html 1920 1080 "$seconds"
fi
cmake --preset web >/dev/null
cmake --build --preset web --target ascenda_web --parallel "${JOBS:-2}" >/dev/null
if [ "$page" = 4k ]; then
  exec /usr/bin/python3 tools/web/browser.py measure-4k build/web '?people=100&cars=10' tools/web floor.html \
    "$seconds"
fi
if [ "$page" = compare ]; then
  exec /usr/bin/python3 tools/web/browser.py measure build/web '?people=100&cars=10' 1920 1080 "$seconds" \
    tools/web floor.html
fi
exec /usr/bin/python3 tools/web/browser.py measure build/web '?people=100&cars=10' 1920 1080 "$seconds"
