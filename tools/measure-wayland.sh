#!/bin/sh
# Measures the Wayland saver's CPU share of one core and its memory over time: 100 people and
# 10 lifts full screen on one 1920 x 1080 output of a private headless sway (software drawing),
# with the compositor's own share beside it.
#
#   tools/measure-wayland.sh [SECONDS]     (default 60; 600 for the memory over ten minutes;
#                                           BUILD=folder to use another build folder)
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${BUILD:-build/host}

cmake --preset host -B "$build" >/dev/null
cmake --build "$build" --target ascenda-wayland --parallel "${JOBS:-2}" >/dev/null

. "$root/tools/private-sway.sh"
saver=
cleanup() {
  if [ -n "$saver" ]; then kill "$saver" 2>/dev/null || true; wait "$saver" 2>/dev/null || true; fi
  stop_private_sway
}
trap cleanup EXIT INT TERM
start_private_sway 1920x1080
$as_sway_user "$build/ascenda-wayland" --people 100 --cars 10 &
saver=$!

# CPU time of a process in nanoseconds over all its threads, as measure-x11.sh counts it.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ total += $1 } END { printf "%.0f\n", total }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

sleep 1 # past start-up: the first paint and the first passes
kill -0 "$saver" 2>/dev/null || { echo "measure-wayland: the saver ended early" >&2; exit 1; }
saver0=$(cpu_ns "$saver"); sway0=$(cpu_ns "$sway_pid")
echo "RSS of ascenda-wayland (KiB), every tenth of the $seconds s:"
printf '  %s' "$(rss_kb "$saver")"
step=$(( seconds / 10 > 0 ? seconds / 10 : 1 )); elapsed=0
while [ "$elapsed" -lt "$seconds" ]; do
  sleep "$step"; elapsed=$((elapsed + step))
  printf ' %s' "$(rss_kb "$saver")"
done
echo
saver1=$(cpu_ns "$saver"); sway1=$(cpu_ns "$sway_pid")

share() { awk -v d="$(($2 - $1))" -v s="$elapsed" 'BEGIN { printf "%.2f %% (%.0f ms CPU)", d / s / 1e7, d / 1e6 }'; }
echo "CPU share of one core over $elapsed s (100 people, 10 lifts, full screen at 1920 x 1080):"
echo "  ascenda-wayland  $(share "$saver0" "$saver1")"
echo "  sway             $(share "$sway0" "$sway1")"
