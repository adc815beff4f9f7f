#!/bin/sh
# Runs a Windows program under Wine in a virtual X display, with a Wine prefix private to one
# build folder, and exits with the program's exit code.
#
#   wine-run.sh [--build DIR] [--] PROGRAM.exe [ARGS...]   run PROGRAM
#   wine-run.sh [--build DIR] --prepare                   start the display and create the prefix
#   wine-run.sh [--build DIR] --env                       print DISPLAY=... and WINEPREFIX=... lines
#   wine-run.sh [--build DIR] --stop                      stop the display and the Wine server
#
# With --user-display the program shows on $DISPLAY (when set) instead of the virtual display.
# With --batch (tests) the program's output is collected and passed on when it ends: helper
# processes Wine starts for it, such as the desktop window's, inherit its output and outlive it by
# a second, and a caller reading the output to its end (ctest) would wait for them.
#
# DIR defaults to $ASCENDA_BUILD_DIR, else to the nearest folder above PROGRAM holding a
# CMakeCache.txt. The display (Xvfb, 1920x1080x24) is started on first use and found again
# through files in DIR; the prefix (DIR/wineprefix) is created once. Both steps are guarded by
# a lock so that parallel test jobs wait for one another instead of racing.
set -eu

die() { echo "wine-run.sh: $*" >&2; exit 125; }

build=${ASCENDA_BUILD_DIR:-}
action=run
user_display=no
batch=no
while [ $# -gt 0 ]; do
  case $1 in
    --build) [ $# -ge 2 ] || die "--build needs a folder"; build=$2; shift 2 ;;
    --prepare) action=prepare; shift ;;
    --env) action="env"; shift ;;
    --user-display) user_display=yes; shift ;;
    --batch) batch=yes; shift ;;
    --stop) action=stop; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done

if [ -z "$build" ] && [ $# -gt 0 ]; then
  dir=$(cd "$(dirname "$1")" 2>/dev/null && pwd) || die "no such program: $1"
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] && build=$dir
fi
[ -n "$build" ] || die "no build folder (use --build DIR)"
mkdir -p "$build"
build=$(cd "$build" && pwd)

state=$build/wine-run
mkdir -p "$state"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEARCH=win64

# Waits up to $1 seconds for command "$2 ..." to succeed.
poll() {
  limit=$1; shift
  tries=$((limit * 10))
  while [ $tries -gt 0 ]; do
    if "$@"; then return 0; fi
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}

display_alive() {
  [ -s "$state/display" ] && [ -s "$state/xvfb.pid" ] || return 1
  pid=$(cat "$state/xvfb.pid")
  # The pid must still be our Xvfb, not a later process that reused the number.
  [ -r "/proc/$pid/cmdline" ] && tr '\0' ' ' < "/proc/$pid/cmdline" | grep -q '^Xvfb ' || return 1
  [ -S "/tmp/.X11-unix/X$(cat "$state/display")" ]
}

# shellcheck disable=SC2317  # called through poll
display_number_written() { [ -s "$state/display.new" ] && grep -q '^[0-9][0-9]*$' "$state/display.new"; }

start_display() {
  rm -f "$state/display" "$state/display.new" "$state/xvfb.pid"
  command -v Xvfb >/dev/null || die "Xvfb is not installed (tools/install-deps.sh)"
  # Detached from the caller's session and output, so ctest does not wait for it.
  # shellcheck disable=SC2016  # $$ and $1 belong to the inner shell
  setsid sh -c 'echo $$ >"$1"; exec Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset' \
    sh "$state/xvfb.pid" 3>"$state/display.new" 9>&- </dev/null >"$state/xvfb.log" 2>&1 &
  poll 30 display_number_written || die "Xvfb did not start (see $state/xvfb.log)"
  mv "$state/display.new" "$state/display"
  poll 10 display_alive || die "Xvfb display :$(cat "$state/display") is not answering"
}

prefix_ready() { [ -f "$WINEPREFIX/.ready" ]; }

create_prefix() {
  rm -rf "$WINEPREFIX"
  # No Mono or Gecko: their installers would wait for a click nobody can give.
  WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot --init 9>&- >"$state/wineboot.log" 2>&1 \
    || die "wineboot failed (see $state/wineboot.log)"
  wineserver -w 9>&-
  touch "$WINEPREFIX/.ready"
}

# True when a Wine server for our prefix runs (its working folder is named after the prefix's
# device and inode).
server_running() {
  device=$(stat -c %d "$WINEPREFIX")
  inode=$(stat -c %i "$WINEPREFIX")
  server=$(printf 'server-%x-%x' "$device" "$inode")
  for process in /proc/[0-9]*; do
    read -r name < "$process/comm" 2>/dev/null || continue
    case $name in
      wineserver*)
        case $(readlink "$process/cwd" 2>/dev/null) in */"$server") return 0 ;; esac ;;
    esac
  done
  return 1
}

# A server that outlives each program by a minute, with Wine's system services already started
# and detached from our output. Otherwise every program starts them afresh, and its caller
# (ctest) waits for them to exit because they hold its output pipe: seconds per test.
start_server() {
  wineserver -p60 9>&- </dev/null >/dev/null 2>&1 || true
  wine cmd /c exit 9>&- </dev/null >/dev/null 2>&1 || true
}

# Top-level windows stay Wine's own instead of being handed to an X window manager: the virtual
# display has none, and waiting for one costs every hidden or destroyed window about a second.
# Wine's own bitmap and TrueType fonts go into the prefix as well: without them "MS Sans Serif",
# the dialogs' font, falls back to a wider face that wraps labels, and frames lose their glyphs.
configure_prefix() {
  for font in /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf; do
    [ -f "$font" ] && cp -n "$font" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  done
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f 9>&- </dev/null >/dev/null 2>&1 \
    || die "could not configure the Wine prefix"
  touch "$WINEPREFIX/.configured"
}

prepare() {
  exec 9>"$state/lock"
  flock -w 600 9 || die "timed out waiting for $state/lock"
  if [ "$user_display" = no ] || [ -z "${DISPLAY:-}" ]; then
    display_alive || start_display
    DISPLAY=":$(cat "$state/display")"
    export DISPLAY
  fi
  prefix_ready || create_prefix
  server_running || start_server
  [ -f "$WINEPREFIX/.configured" ] || configure_prefix
  flock -u 9
  exec 9>&-
}

case $action in
  stop)
    if display_alive; then
      DISPLAY=":$(cat "$state/display")" wineserver -k 2>/dev/null || true
      kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
    fi
    rm -f "$state/display" "$state/xvfb.pid"
    exit 0 ;;
  prepare)
    prepare
    exit 0 ;;
  env)
    prepare
    echo "DISPLAY=$DISPLAY"
    echo "WINEPREFIX=$WINEPREFIX"
    exit 0 ;;
esac

[ $# -gt 0 ] || die "no program to run"
prepare
[ "$batch" = yes ] || exec wine "$@"

# Every program run this way prints before it ends (a test program's first line is its own), so
# one that fails having printed nothing at all never ran: Wine did not start it, which happens
# rarely under load. That is said, and the program is started once more.
output=$(mktemp "$state/stdout.XXXXXX")
errors=$(mktemp "$state/stderr.XXXXXX")
program=
pass_on() { cat "$output"; cat "$errors" >&2; rm -f "$output" "$errors"; }
trap '[ -z "$program" ] || kill "$program" 2>/dev/null; pass_on; exit 143' HUP INT TERM
for attempt in 1 2; do
  wine "$@" >"$output" 2>"$errors" &
  program=$!
  status=0
  wait "$program" || status=$?
  [ "$status" -ne 0 ] && [ ! -s "$output" ] && [ ! -s "$errors" ] && [ "$attempt" = 1 ] || break
  echo "wine-run.sh: $1 failed with status $status before printing anything; starting it again" >&2
done
pass_on
exit "$status"
