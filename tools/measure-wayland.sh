#!/bin/sh
# Measures the Wayland saver's CPU share of one core and its memory over time: 100 people and
# 10 lifts full screen on one 1920 x 1080 output of a private headless sway (software drawing),
# with the compositor's own share beside it.
#
#   tools/measure-wayland.sh [--compare] [SECONDS]   (default 60; 600 for the memory over ten
#                                                     minutes; BUILD=folder for another build)
#
# --compare runs the X11 saver (--root on a private 1920 x 1080 Xvfb) in the very same window of
# time, so that both meet the same load of a busy machine, and prints each saver with its display
# server and the ratio of the two sums (the goal: Wayland and sway at most 1.5 times X11 and Xvfb).
# Beside them run a sway and an Xvfb of the same size with no client, for what each display server
# takes by itself: the headless sway redraws nothing but wakes at its output's refresh rate,
# saver or none, where a sway on a real screen waits for damage.
set -eu

compare=
if [ "${1:-}" = --compare ]; then
  compare=1
  shift
fi
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${BUILD:-build/host}

cmake --preset host -B "$build" >/dev/null
cmake --build "$build" --target ascenda-wayland ${compare:+ascenda} --parallel "${JOBS:-2}" >/dev/null

. "$root/tools/private-sway.sh"
saver= x11= xvfb= idle_xvfb= number= idle_sway= idle_sway_dir=
cleanup() {
  for pid in $saver $x11; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  for pid in $xvfb $idle_xvfb; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -f "$number"
  stop_private_sway
  if [ -n "$idle_sway" ]; then sway_pid=$idle_sway sway_dir=$idle_sway_dir; stop_private_sway; fi
}
trap cleanup EXIT INT TERM
start_private_sway 1920x1080
$as_sway_user "$build/ascenda-wayland" --people 100 --cars 10 &
saver=$!

# Starts a private 1920 x 1080 Xvfb: its pid in xvfb_pid, its display in xvfb_display.
start_xvfb() {
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  xvfb_pid=$!
  tries=100
  until [ -s "$number" ] || [ $tries -eq 0 ]; do sleep 0.1; tries=$((tries - 1)); done
  [ -s "$number" ] || { echo "measure-wayland: Xvfb did not start" >&2; exit 1; }
  xvfb_display=":$(cat "$number")"
  rm -f "$number"
}

if [ -n "$compare" ]; then
  start_xvfb
  xvfb=$xvfb_pid
  DISPLAY=$xvfb_display "$build/ascenda" --root --people 100 --cars 10 &
  x11=$!
  start_xvfb
  idle_xvfb=$xvfb_pid
  main_sway=$sway_pid main_sway_dir=$sway_dir
  start_private_sway 1920x1080
  idle_sway=$sway_pid idle_sway_dir=$sway_dir
  sway_pid=$main_sway sway_dir=$main_sway_dir
fi

# CPU time of a process in nanoseconds over all its threads, as measure-x11.sh counts it.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ total += $1 } END { printf "%.0f\n", total }'; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

sleep 1 # past start-up: the first paint and the first passes
for pid in $saver $x11; do
  kill -0 "$pid" 2>/dev/null || { echo "measure-wayland: a saver ended early" >&2; exit 1; }
done
saver0=$(cpu_ns "$saver"); sway0=$(cpu_ns "$sway_pid")
[ -z "$compare" ] || { x110=$(cpu_ns "$x11"); xvfb0=$(cpu_ns "$xvfb"); idle_sway0=$(cpu_ns "$idle_sway"); idle_xvfb0=$(cpu_ns "$idle_xvfb"); }
echo "RSS of ascenda-wayland (KiB), every tenth of the $seconds s:"
printf '  %s' "$(rss_kb "$saver")"
step=$(( seconds / 10 > 0 ? seconds / 10 : 1 )); elapsed=0
while [ "$elapsed" -lt "$seconds" ]; do
  sleep "$step"; elapsed=$((elapsed + step))
  printf ' %s' "$(rss_kb "$saver")"
done
echo
saver1=$(cpu_ns "$saver"); sway1=$(cpu_ns "$sway_pid")
[ -z "$compare" ] || { x111=$(cpu_ns "$x11"); xvfb1=$(cpu_ns "$xvfb"); idle_sway1=$(cpu_ns "$idle_sway"); idle_xvfb1=$(cpu_ns "$idle_xvfb"); }

share() { awk -v d="$(($2 - $1))" -v s="$elapsed" 'BEGIN { printf "%.2f %% (%.0f ms CPU)", d / s / 1e7, d / 1e6 }'; }
echo "CPU share of one core over $elapsed s (100 people, 10 lifts, full screen at 1920 x 1080):"
echo "  ascenda-wayland  $(share "$saver0" "$saver1")"
echo "  sway             $(share "$sway0" "$sway1")"
[ -n "$compare" ] || exit 0
echo "  ascenda (X11)    $(share "$x110" "$x111")"
echo "  Xvfb             $(share "$xvfb0" "$xvfb1")"
wayland=$((saver1 - saver0 + sway1 - sway0)) x11=$((x111 - x110 + xvfb1 - xvfb0))
echo "  Wayland and sway $(share 0 "$wayland")"
echo "  X11 and Xvfb     $(share 0 "$x11")"
awk -v w="$wayland" -v x="$x11" 'BEGIN { printf "  ratio            %.2f (goal: at most 1.5)\n", w / x }'
idle_sway_ns=$((idle_sway1 - idle_sway0)) idle_xvfb_ns=$((idle_xvfb1 - idle_xvfb0))
echo "Each display server by itself, with no client, in the same $elapsed s:"
echo "  sway             $(share 0 "$idle_sway_ns")"
echo "  Xvfb             $(share 0 "$idle_xvfb_ns")"
awk -v w="$((wayland - idle_sway_ns))" -v x="$((x11 - idle_xvfb_ns))" \
  'BEGIN { printf "  ratio of what each saver adds to its server: %.2f\n", w / x }'
