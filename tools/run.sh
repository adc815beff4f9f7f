#!/bin/sh
# Installs what is missing, builds, and runs Ascenda Vintra's main job.
#
#   tools/run.sh [SWITCH...]        the screen saver under Wine, SWITCH defaulting to /s (full
#                                   screen); /c is the settings dialog. On $DISPLAY when set,
#                                   otherwise a few seconds in a virtual display, leaving a
#                                   screenshot and printing where
#   tools/run.sh --saver [SWITCH...]  the same
#   tools/run.sh --sim [ARGS...]    the headless runner build/host/ascenda-sim, ARGS passed on
#                                   (tools/run.sh --sim --help lists them)
#   tools/run.sh --x11 [ARGS...]    the native X11 saver build/host/ascenda, ARGS passed on
#                                   (--help lists them): in a window on $DISPLAY when set,
#                                   otherwise a few seconds in a virtual display, leaving a
#                                   screenshot and printing where
#   tools/run.sh --wayland [ARGS...]  the Wayland saver build/host/ascenda-wayland, ARGS passed
#                                   on: full screen on $WAYLAND_DISPLAY when set, otherwise a few
#                                   seconds in a private headless sway, leaving a screenshot and
#                                   printing where
#   tools/run.sh --web [QUERY]      the web page: its site files installed into build/web/site/
#                                   and that folder alone served on 127.0.0.1 with Python's
#                                   http.server (QUERY, e.g. '?cars=4&people=100', is added to the
#                                   address printed); without $DISPLAY, a screenshot of it in
#                                   headless Chromium after a few seconds, printing where
set -eu

main_job=saver

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

job=$main_job
case ${1:-} in
  --sim) job=sim; shift ;;
  --x11) job=x11; shift ;;
  --wayland) job=wayland; shift ;;
  --web) job=web; shift ;;
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

run_x11() {
  build host
  case " $* " in *" --help "* | *" -help "*) exec build/host/ascenda "$@" ;; esac
  if [ -n "${DISPLAY:-}" ]; then
    exec build/host/ascenda "$@"
  fi
  # No display of our own: a private virtual one the size of the saver's window.
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  xvfb_pid=$!
  tries=100
  until [ -s "$number" ] || [ $tries -eq 0 ]; do sleep 0.1; tries=$((tries - 1)); done
  DISPLAY=":$(cat "$number")"
  export DISPLAY
  rm -f "$number"
  shot=$root/build/host/ascenda-x11.png
  build/host/ascenda "$@" &
  saver_pid=$!
  sleep 5  # a demonstration, not a test: let the lifts and people move for the picture
  if ! kill -0 "$saver_pid" 2>/dev/null; then
    status=0
    wait "$saver_pid" || status=$?
    kill "$xvfb_pid" 2>/dev/null || true
    echo "ascenda${*:+ $*} ended early (exit code $status)."
    return "$status"
  fi
  import -window root "$shot"
  kill "$saver_pid" 2>/dev/null || true
  wait "$saver_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  echo "No display: ascenda${*:+ $*} ran for a few seconds in a virtual display. Screenshot: $shot"
}

run_wayland() {
  build host
  program=$root/build/host/ascenda-wayland
  case " $* " in *" --help "* | *" -help "*) exec "$program" "$@" ;; esac
  if [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program" "$@"
  fi
  # No compositor of our own: a private headless one the size of the X11 saver's window.
  . "$root/tools/private-sway.sh"
  start_private_sway 1024x768
  shot=$root/build/host/ascenda-wayland.png
  $as_sway_user "$program" "$@" &
  saver_pid=$!
  sleep 5  # a demonstration, not a test: let the lifts and people move for the picture
  if ! kill -0 "$saver_pid" 2>/dev/null; then
    status=0
    wait "$saver_pid" || status=$?
    stop_private_sway
    echo "ascenda-wayland${*:+ $*} ended early (exit code $status)."
    return "$status"
  fi
  $as_sway_user grim - >"$shot"
  kill "$saver_pid" 2>/dev/null || true
  wait "$saver_pid" 2>/dev/null || true
  stop_private_sway
  echo "No display: ascenda-wayland${*:+ $*} ran for a few seconds in a headless sway. Screenshot: $shot"
}

run_web() {
  build web
  # The site as it is published, and nothing of the build beside it.
  site=build/web/site
  rm -rf "$site"
  cmake --install build/web --prefix "$site" >/dev/null
  # Debian's Python, which has python3-websocket for driving Chromium.
  python=/usr/bin/python3
  if [ -n "${DISPLAY:-}" ]; then
    echo "Open http://127.0.0.1:${PORT:-8000}/${1:-} in a browser."
    exec "$python" tools/web/browser.py serve "$site" "${PORT:-8000}"
  fi
  shot=$root/build/web/ascenda-web.png
  # A demonstration, not a test: the building runs a few seconds before the picture.
  "$python" tools/web/browser.py screenshot "$site" "$shot" "${1:-}" 1024 768 5
  echo "No display: the page${1:+ $1} ran for a few seconds in headless Chromium. Screenshot: $shot"
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
  saver_pid=$!  # wine-run.sh becomes the Windows program itself
  tries=600
  until xdotool search --name "Ascenda" >/dev/null 2>&1 || [ $tries -eq 0 ]; do
    if ! kill -0 "$saver_pid" 2>/dev/null; then
      status=0
      wait "$saver_pid" || status=$?
      echo "ASCENDA.SCR $* ended without showing a window (exit code $status)."
      return "$status"
    fi
    sleep 0.1; tries=$((tries - 1))
  done
  sleep 5  # a demonstration, not a test: let the lifts and people move for the picture
  import -window root "$shot"
  case $1 in
    [/-][sS]*)
      # A key ends the full-screen saver as it would for a user.
      xdotool key shift >/dev/null 2>&1 || true
      tries=100
      while kill -0 "$saver_pid" 2>/dev/null && [ $tries -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done ;;
  esac
  kill "$saver_pid" 2>/dev/null || true
  wait "$saver_pid" 2>/dev/null || true
  echo "No display: ASCENDA.SCR $* ran for a few seconds in a virtual display. Screenshot: $shot"
}

tools/install-deps.sh
case $job in
  sim) run_sim "$@" ;;
  x11) run_x11 "$@" ;;
  wayland) run_wayland "$@" ;;
  web) run_web "$@" ;;
  saver) run_saver "$@" ;;
esac
