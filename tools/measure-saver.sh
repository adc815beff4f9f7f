#!/bin/sh
# Measures the full-screen saver under Wine in the windows build's virtual display (1920 x 1080):
# time to its window and to its first painted frame, and its CPU share of one core over 60 s with
# 100 people and 10 lifts. Also prints the size of ASCENDA.SCR.
#
#   tools/measure-saver.sh [SECONDS]     (default 60; BUILD=folder to use another build folder)
#
# MONITORS="1920x1080 1920x1080" measures on the monitors of a Xephyr server of those sizes
# (cmake/xephyr-run.sh; the first is the primary) instead, with AllMonitors set to ALL_MONITORS
# (default 1); the X server figure is then Xephyr's.
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${BUILD:-build/windows}
wine_run="cmake/wine-run.sh --build $build"

cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target ascenda_saver saver-measure --parallel "${JOBS:-2}" >/dev/null
eval "$($wine_run --env)"
export DISPLAY WINEPREFIX WINEDEBUG=-all
x_server_pid=$build/wine-run/xvfb.pid
screens="1920 x 1080"
if [ -n "${MONITORS:-}" ]; then
  export ASCENDA_SCREENS="$MONITORS"
  wine_run="cmake/xephyr-run.sh --build $build --"
  $wine_run cmd /c exit # makes the prefix of its own on first use
  WINEPREFIX=$root/$build/wineprefix-monitors
  x_server_pid=$build/wine-run/xephyr.pid
  screens="$MONITORS, AllMonitors ${ALL_MONITORS:-1}"
fi

key='HKCU\Software\Orvane'"'"'s Registry Bits\Ascenda\Config'
wine reg add "$key" /v People /t REG_DWORD /d 100 /f >/dev/null 2>&1
wine reg add "$key" /v Cars /t REG_DWORD /d 10 /f >/dev/null 2>&1
wine reg add "$key" /v AllMonitors /t REG_DWORD /d "${ALL_MONITORS:-1}" /f >/dev/null 2>&1
[ -z "${MONITORS:-}" ] || wineserver -w # the program's own server must start on its own display

out=$(mktemp)
$wine_run "$build/tools/saver-measure/saver-measure.exe" "Z:$root/$build/ASCENDA.SCR" $((seconds + 2)) >"$out" 2>&1 &
measure=$!

# The newest process matching a pattern that runs in this build's Wine prefix.
prefix_pid() {
  for pid in $(pgrep -f "$1" | sort -rn); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"; return
    fi
  done
}

# CPU ticks (user + system) of a Linux process.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

tries=300
until grep -q "first frame" "$out" || [ $tries -eq 0 ]; do sleep 0.1; tries=$((tries - 1)); done
saver=$(prefix_pid 'ASCENDA.SCR')
server=$(prefix_pid 'wineserver')
xvfb=$(cat "$x_server_pid" 2>/dev/null || true)
[ -n "$saver" ] || { cat "$out"; echo "measure-saver: the saver is not running" >&2; exit 1; }

saver0=$(ticks "$saver"); server0=$(ticks "${server:-0}"); xvfb0=$(ticks "${xvfb:-0}")
sleep "$seconds"
saver1=$(ticks "$saver"); server1=$(ticks "${server:-0}"); xvfb1=$(ticks "${xvfb:-0}")
wait "$measure" || true

wine reg delete "$key" /v People /f >/dev/null 2>&1 || true
wine reg delete "$key" /v Cars /f >/dev/null 2>&1 || true
wine reg delete "$key" /v AllMonitors /f >/dev/null 2>&1 || true
[ -z "${MONITORS:-}" ] || wineserver -w

hz=$(getconf CLK_TCK)
share() { awk -v d="$(($2 - $1))" -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.2f %%", 100 * d / hz / s }'; }
cat "$out"
rm -f "$out"
echo "CPU share of one core over $seconds s (100 people, 10 lifts, $screens):"
echo "  ASCENDA.SCR  $(share "$saver0" "$saver1")"
echo "  wineserver   $(share "$server0" "$server1")"
echo "  X server     $(share "$xvfb0" "$xvfb1")"
echo "ASCENDA.SCR size: $(stat -c %s "$build/ASCENDA.SCR") bytes"
