#!/bin/sh
# Measures the X11 saver's CPU share of one core: 100 people and 10 lifts on the root window of
# a private virtual display of 1920 x 1080, as the screen-saver daemon would run it full screen.
#
#   tools/measure-x11.sh [SECONDS]     (default 60; BUILD=folder to use another build folder)
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${BUILD:-build/host}

cmake --preset host -B "$build" >/dev/null
cmake --build "$build" --target ascenda --parallel "${JOBS:-2}" >/dev/null

number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
saver=
cleanup() {
  # The saver first: it ends on SIGTERM while its display is still there.
  if [ -n "$saver" ]; then kill "$saver" 2>/dev/null || true; wait "$saver" 2>/dev/null || true; fi
  kill "$xvfb" 2>/dev/null || true
  wait "$xvfb" 2>/dev/null || true
  rm -f "$number"
}
trap cleanup EXIT INT TERM
tries=100
until [ -s "$number" ] || [ $tries -eq 0 ]; do sleep 0.1; tries=$((tries - 1)); done
[ -s "$number" ] || { echo "measure-x11: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$number")"

"$build/ascenda" --root --people 100 --cars 10 &
saver=$!

# CPU time of a process in nanoseconds: the scheduler's own count, finer than the tick counts,
# summed over its threads (a process's own schedstat holds its main thread alone).
cpu_ns() {
  if [ -r "/proc/$1/schedstat" ]; then
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ total += $1 } END { printf "%.0f\n", total }'
  else
    awk -v hz="$(getconf CLK_TCK)" '{ printf "%.0f\n", ($14 + $15) * 1e9 / hz }' "/proc/$1/stat"
  fi
}

sleep 1 # past start-up: the first paint and the first passes
kill -0 "$saver" 2>/dev/null || { echo "measure-x11: the saver ended early" >&2; exit 1; }
saver0=$(cpu_ns "$saver"); xvfb0=$(cpu_ns "$xvfb")
sleep "$seconds"
saver1=$(cpu_ns "$saver"); xvfb1=$(cpu_ns "$xvfb")

share() { awk -v d="$(($2 - $1))" -v s="$seconds" 'BEGIN { printf "%.2f %% (%.0f ms CPU)", d / s / 1e7, d / 1e6 }'; }
echo "CPU share of one core over $seconds s (100 people, 10 lifts, --root at 1920 x 1080):"
echo "  ascenda  $(share "$saver0" "$saver1")"
echo "  Xvfb     $(share "$xvfb0" "$xvfb1")"
