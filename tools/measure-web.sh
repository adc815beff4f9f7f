#!/bin/sh
# Measures the web page's CPU share of one core: 100 people and 10 lifts in headless Chromium
# (Debian's) at 1920 x 1080, the page served on 127.0.0.1. The page's renderer is the busiest
# renderer; Chromium's other processes are listed beside it.
#
#   tools/measure-web.sh [SECONDS]     (default 60)
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

cmake --preset web >/dev/null
cmake --build --preset web --target ascenda_web --parallel "${JOBS:-2}" >/dev/null
exec /usr/bin/python3 tools/web/browser.py measure build/web '?people=100&cars=10' 1920 1080 "$seconds"
