#!/bin/sh
# Installs what is missing, builds, and runs Ascenda Vintra's main job.
#
#   tools/run.sh                    the main job: the screen saver full screen under Wine (/s)
#   tools/run.sh /c | /s | -s ...   the saver with that mode switch (/c: the settings dialog)
#   tools/run.sh --saver [ARGS...]  the screen saver under Wine (ARGS default to /s): full screen
#                                   on $DISPLAY, or with no display a few seconds in a virtual
#                                   one, leaving a screenshot
#   tools/run.sh --sim [ARGS...]    the headless runner build/host/ascenda-sim, ARGS passed on
#                                   (tools/run.sh --sim --help lists them)
set -eu

main_job=saver

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

job=$main_job
case ${1:-} in
  --sim) job=sim; shift ;;
  --saver) job=saver; shift ;;
  /* | -[A-Za-z]*) job=saver ;; # a mode switch for the saver itself
esac

build() {
  cmake --preset "$1" >/dev/null
  # Build progress on stderr, so that the program's own output can be piped.
  cmake --build --preset "$1" --parallel "${JOBS:-$(nproc)}" >&2
}

run_sim() {
  build host
  exec build/host/ascenda-sim "$@"
}

saver=build/windows/ASCENDA.SCR
wine_run="cmake/wine-run.sh --build build/windows"

run_saver() {
  build windows
  [ $# -gt 0 ] || set -- /s
  if [ -n "${DISPLAY:-}" ]; then
    exec $wine_run --user-display "$saver" "$@"
  fi
  # No display of our own: show the saver in the virtual one and keep a picture of it.
  eval "$($wine_run --env)"
  export DISPLAY WINEPREFIX
  shot=$root/build/windows/ascenda-saver.png
  $wine_run "$saver" "$@" &
  saver_pid=$!
  tries=600
  until xdotool search --name "Ascenda Vintra" >/dev/null 2>&1 || [ $tries -eq 0 ]; do
    sleep 0.1; tries=$((tries - 1))
  done
  sleep 5  # let the lifts and people move before taking the picture
  import -window root "$shot"
  # Any key ends a screen saver; the Wine server is stopped in case it did not.
  xdotool key space >/dev/null 2>&1 || true
  tries=100
  while kill -0 "$saver_pid" 2>/dev/null && [ $tries -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done
  wineserver -k 2>/dev/null || true
  wait "$saver_pid" 2>/dev/null || true
  echo "No display: the saver ran for a few seconds in a virtual one. Screenshot: $shot"
}

tools/install-deps.sh
case $job in
  sim) run_sim "$@" ;;
  saver) run_saver "$@" ;;
esac
