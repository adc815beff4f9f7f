#!/bin/sh
# Runs a Windows program under Wine on two monitors and exits with the program's exit code.
#
#   xephyr-run.sh [--build DIR] [--] PROGRAM.exe [ARGS...]
#
# The monitors come from a Xephyr server with two screens side by side, shown inside the virtual
# display of wine-run.sh: 800x600 at the origin, the primary, and 640x480 to its right. Wine
# lists both through EnumDisplayMonitors. ASCENDA_SCREENS="1920x1080 1920x1080" asks for other
# sizes (the first screen is the primary); the server's process id is kept in
# DIR/wine-run/xephyr.pid while it runs.
#
# A Wine server serves one prefix on one X display, so the program gets a prefix of its own,
# DIR/wineprefix-monitors, copied once from wine-run.sh's. Its Wine server and the Xephyr server
# live as long as the program. DIR defaults as in wine-run.sh.
set -eu

die() { echo "xephyr-run.sh: $*" >&2; exit 125; }

here=$(cd "$(dirname "$0")" && pwd)
build=${ASCENDA_BUILD_DIR:-}
while [ $# -gt 0 ]; do
  case $1 in
    --build) [ $# -ge 2 ] || die "--build needs a folder"; build=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || die "no program to run"
command -v Xephyr >/dev/null || die "Xephyr is not installed (tools/install-deps.sh)"

# The virtual display and the prefix to copy, as wine-run.sh prepares them.
if [ -n "$build" ]; then
  environment=$("$here/wine-run.sh" --build "$build" --env)
else
  environment=$("$here/wine-run.sh" --env "$1")
fi
eval "$environment"
export DISPLAY WINEPREFIX
export WINEDEBUG=-all WINEARCH=win64
build=$(dirname "$WINEPREFIX")
state=$build/wine-run
prefix=$build/wineprefix-monitors

# Waits up to $1 seconds for command "$2 ..." to succeed.
poll() {
  tries=$(($1 * 10)); shift
  while [ $tries -gt 0 ]; do
    if "$@"; then return 0; fi
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}

exec 9>"$state/monitors.lock"
flock -w 600 9 || die "timed out waiting for $state/monitors.lock"
if [ ! -f "$prefix/.ready" ]; then
  rm -rf "$prefix" "$prefix.new"
  cp -a "$WINEPREFIX" "$prefix.new"
  mv "$prefix.new" "$prefix"
fi

xephyr_pid=
cleanup() {
  WINEPREFIX=$prefix wineserver -k 9>&- </dev/null >/dev/null 2>&1 || true
  [ -z "$xephyr_pid" ] || kill "$xephyr_pid" 2>/dev/null || true
  rm -f "$state/xephyr.display" "$state/xephyr.pid"
}
trap cleanup EXIT
trap 'exit 143' HUP INT TERM

rm -f "$state/xephyr.display"
screens=
for size in ${ASCENDA_SCREENS:-800x600 640x480}; do
  case $size in
    *[!0-9x]* | *x*x*) die "not a screen size: $size" ;;
    [0-9]*x[0-9]*) screens="$screens -screen $size" ;;
    *) die "not a screen size: $size" ;;
  esac
done
# DISPLAY is the virtual display here, which Xephyr shows its screens in.
# shellcheck disable=SC2086  # one word per option
Xephyr -displayfd 3 $screens +xinerama -extension RANDR -nolisten tcp -noreset \
  3>"$state/xephyr.display" 9>&- </dev/null >"$state/xephyr.log" 2>&1 &
xephyr_pid=$!
echo "$xephyr_pid" >"$state/xephyr.pid"
# shellcheck disable=SC2317  # called through poll
display_written() { grep -q '^[0-9][0-9]*$' "$state/xephyr.display" 2>/dev/null; }
poll 30 display_written || die "Xephyr did not start (see $state/xephyr.log)"
DISPLAY=":$(cat "$state/xephyr.display")"
WINEPREFIX=$prefix
export DISPLAY WINEPREFIX
export WINEDEBUG=-all WINEARCH=win64

# Wine's system services start with the first program, detached from our output, as in
# wine-run.sh; they end with the Wine server.
wine cmd /c exit 9>&- </dev/null >/dev/null 2>&1 || true

errors=$(mktemp "$state/stderr.XXXXXX")
status=0
wine "$@" 9>&- 2>"$errors" || status=$?
cat "$errors" >&2
rm -f "$errors"
exit "$status"
