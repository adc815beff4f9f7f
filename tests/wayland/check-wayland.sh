#!/bin/sh
# check-wayland.sh SAVER VIRTUAL_POINTER CASE: the Wayland saver in a private headless sway, as
# nobody when root (sway will not run as root). CASE is one of:
#   building       the building on the first output, only the fill on the second, SIGTERM ends it by
#                  that signal; with --every-monitor the building on a smaller second output too, its
#                  legend as tall as the first's; --idle refused
#   pointer        a resting pointer's report and a small move go on; a real move ends it, status 0
#   key            hidden it commits nothing, in view it draws again; a key ends it, status 0,
#                  nothing left running
#   outputs        (sway nested in sway, whose outputs can go) a new output is covered; of three,
#                  a removed one leaves the other two drawing, and the building's own going moves
#                  it once, to an output it then keeps
#   signals        SIGINT and SIGHUP end it by that signal, SIGINT ignored at start stays ignored,
#                  the compositor's close request ends it with status 0
#   idle-lock      (swayidle, the README's line) a lock fires and covers the saver; typing ends it
#   idle-dismiss   no second saver; once dismissed, none until the whole timeout has passed
#   idle-resume    the resume command ends the saver on any activity
#   weston         (weston's headless backend instead of sway) the building, and SIGTERM ends it
set -eu
saver=$1 pointer_helper=$2 case=$3
dir=$(mktemp -d /tmp/ascenda-wayland.XXXXXX)
pids=
trap 'kill $pids 2>/dev/null || true; rm -rf "$dir"' EXIT
fail() { echo "check-wayland.sh $case: $*" >&2; [ -z "${DEBUG_IDLE:-}" ] || cat "$runtime/idle.log" >&2; exit 1; }
# Runs "$2 ..." every 0.1 s until it succeeds, for at most $1 seconds.
poll() { end=$(($(date +%s) + $1)); shift; until "$@"; do [ "$(date +%s)" -lt "$end" ] || return 1; sleep 0.1; done; }
as_user=
[ "$(id -u)" -ne 0 ] || as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups --"
runtime=$dir/runtime
mkdir -m 700 "$runtime"
chmod 755 "$dir"
cp "$saver" "$pointer_helper" "$dir/"
saver=$dir/$(basename "$saver") pointer_helper=$dir/$(basename "$pointer_helper")
[ -z "$as_user" ] || chown nobody:nogroup "$runtime"
printf 'output HEADLESS-1 mode 1024x768\n' >"$dir/config"
run() { $as_user env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" "$@"; }
# The same in the background, adding its process to those the end takes down. A function run
# with & would be a shell of its own, whose end would leave the program running.
spawn() { $as_user env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" "$@" & last=$! pids="$! $pids"; }

if [ "$case" != weston ]; then
  # The outer compositor, headless; its socket is the first in the runtime folder.
  spawn WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$dir/config" >"$dir/sway.log" 2>&1
  ipc() { ls "$runtime"/sway-ipc.*.sock 2>/dev/null | sed -n "${1}p" | grep .; }
  poll 15 ipc 1 >/dev/null || fail "sway did not start: $(cat "$dir/sway.log")"
  poll 15 test -S "$runtime/wayland-1" || fail "sway made no socket"
  outer=$(ipc 1) display=wayland-1
  msg() { $as_user env XDG_RUNTIME_DIR="$runtime" SWAYSOCK="${ipc_socket:-$outer}" swaymsg "$@" >/dev/null; }
fi

start_saver() {
  spawn WAYLAND_DISPLAY=$display ${saver_env:-} "$saver" "$@" >"$dir/saver.log" 2>&1
  saver_pid=$last
}
running() { kill -0 "$saver_pid" 2>/dev/null; }
# Weston has no grim: its own screenshooter writes a file into the folder it runs in.
shot() {
  if [ "$1" = weston ]; then
    rm -f "$runtime"/wayland-screenshot-*.png
    run WAYLAND_DISPLAY=$display sh -c 'cd "$XDG_RUNTIME_DIR" && weston-screenshooter' >/dev/null 2>&1 &&
      mv "$runtime"/wayland-screenshot-*.png "$dir/weston.png"
  else
    run WAYLAND_DISPLAY=$display grim -o "$1" - >"$dir/$1.png" 2>/dev/null
  fi
}
colours() { convert "$dir/$1.png" -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | sort -u | tr '\n' ' '; }
# The dimmed fill, the slabs and a car (olive when it stands, green or red when it goes);
# without the legend, olive is only ever a car.
shows_building() { shot "$1" && c=$(colours "$1") && case $c in *000060*) ;; *) return 1 ;; esac &&
  case $c in *000080*) ;; *) return 1 ;; esac && echo "$c" | grep -q -E '#(008000|800000|808000)'; }
shows_fill_only() { shot "$1" && [ "$(colours "$1")" = "#000060 " ]; }
# The height of the legend's box, the lowest band of the slabs' colour.
legend_height() {
  shot "$1" && convert "$dir/$1.png" -fill white -opaque '#000080' -fill black +opaque white -scale '1x!' -depth 8 txt:- |
    awk -F'[,:() ]+' 'NR > 1 { lit[$2] = ($4 > 0) } END {
      for (y = length(lit) - 1; y >= 0 && !lit[y]; y--) ; for (n = 0; y >= 0 && lit[y]; y--) n++; print n }'
}
# The output's picture changes within a few seconds: the saver is still drawing.
changes() { out=$1 && shot "$out" && before=$(md5sum <"$dir/$out.png") &&
  poll 10 eval 'shot "$out" && [ "$(md5sum <"$dir/$out.png")" != "$before" ]'; }
# An idle manager's SIGTERM: it dies by that signal, as a saver ends.
ends_by_sigterm() {
  kill -TERM "$saver_pid"
  poll 10 eval '! running' || fail "SIGTERM did not end it"
  status=0; wait "$saver_pid" || status=$?
  [ "$status" -eq 143 ] || fail "SIGTERM ended it with status $status, not by the signal"
}
# The idle daemon, as nobody, with a timeout line (IDLE_LINE replaces the README's, to see a
# check fail on the old one); its log in the runtime folder, where nobody may write.
start_idle_daemon() {
  spawn WAYLAND_DISPLAY=$display "$pointer_helper" >"$dir/pointer.log"
  poll 10 grep -q ready "$dir/pointer.log" || fail "no virtual pointer"
  eval "set -- ${IDLE_LINE:-$1}"
  spawn WAYLAND_DISPLAY=$display swayidle -d "$@" >"$runtime/idle.log" 2>&1
}
# The user's activity: a pointer device's movement, which the compositor counts as input.
nudge() { run WAYLAND_DISPLAY=$display "$pointer_helper" move "$1" "$2"; }
# Processes pgrep finds with these arguments, of this check's own sway (its runtime folder): ctest
# runs other checks, and a user their own desktop, beside it.
ours() { for pid in $(pgrep "$@"); do grep -qsxzF "XDG_RUNTIME_DIR=$runtime" "/proc/$pid/environ" && echo "$pid"; done; }
savers() { for pid in $(ours -f "^$saver"); do tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qv -e --stop && echo "$pid"; done; }
saver_runs() { [ -n "$(savers)" ]; }
idle_count() { grep -c "$1" "$runtime/idle.log" || true; }
ended_with_zero() { poll 10 eval '! running' || return 1; status=0; wait "$saver_pid" || status=$?; [ "$status" -eq 0 ]; }

case $case in
building)
  start_saver --idle 60
  wait "$saver_pid" && fail "--idle ran where the compositor has no idle notifications"
  grep -q 'idle notifications' "$dir/saver.log" || fail "--idle did not say why: $(cat "$dir/saver.log")"
  msg create_output
  start_saver --no-legend
  poll 15 shows_building HEADLESS-1 || fail "output 1 shows no building: $(colours HEADLESS-1)"
  poll 15 shows_fill_only HEADLESS-2 || fail "output 2 shows more than the fill: $(colours HEADLESS-2)"
  ends_by_sigterm
  # A smaller second output gets the building laid out for its own pixels: its legend as tall as
  # the first's, not the first's picture scaled down.
  msg output HEADLESS-2 mode 800x600
  start_saver --every-monitor
  poll 15 shows_building HEADLESS-2 || fail "--every-monitor: output 2 shows no building: $(colours HEADLESS-2)"
  poll 15 eval 'first=$(legend_height HEADLESS-1) && second=$(legend_height HEADLESS-2) &&
    [ "$first" -ge 12 ] && [ "$second" -eq "$first" ]' || fail "legend $second px tall on output 2, $first on output 1"
  ;;
weston)
  spawn weston --backend=headless-backend.so --use-pixman --debug --socket=wayland-w --width=1024 --height=768 \
    --idle-time=0 >"$dir/weston.log" 2>&1
  poll 15 test -S "$runtime/wayland-w" || fail "weston made no socket: $(cat "$dir/weston.log")"
  display=wayland-w
  start_saver --no-legend
  poll 15 shows_building weston || fail "no building under weston: $(colours weston) $(cat "$dir/saver.log")"
  ends_by_sigterm
  ;;
pointer)
  # A pointer for the seat.
  spawn WAYLAND_DISPLAY=$display "$pointer_helper" >"$dir/pointer.log"
  poll 10 grep -q ready "$dir/pointer.log" || fail "no virtual pointer"
  start_saver --no-legend
  poll 15 shows_building HEADLESS-1 || fail "no building"
  # The window appeared under the resting pointer, which told it where the pointer is.
  changes HEADLESS-1 && changes HEADLESS-1 || fail "the picture stands still"
  running || fail "the pointer's first report ended it"
  # The shared slack: a pixel from where it rests is rounding, two are the user's nudge, which an
  # idle daemon counts as the user's return.
  msg seat - cursor move 1 0
  changes HEADLESS-1 && running || fail "a move of 1 pixel ended it"
  msg seat - cursor move 1 0
  ended_with_zero || fail "a nudge of 2 pixels did not end it with status 0"
  # The wheel (sway's buttons 4 to 7 are its axes).
  start_saver --no-legend
  poll 15 shows_building HEADLESS-1 || fail "no building the second time"
  msg seat - cursor press button4
  ended_with_zero || fail "the wheel did not end it with status 0"
  start_saver --no-legend
  poll 15 shows_building HEADLESS-1 || fail "no building the third time"
  msg seat - cursor press button1
  ended_with_zero || fail "a button did not end it with status 0"
  msg seat - cursor release button1
  ;;
key)
  saver_env=WAYLAND_DEBUG=client start_saver
  poll 15 shows_building HEADLESS-1 || fail "no building"
  # Behind another workspace the compositor asks for no frames, and the saver commits none; in view
  # again, it draws the whole building at its pace.
  commits() { grep -c 'wl_surface@[0-9]*\.commit' "$dir/saver.log"; }
  # In view: ten commits, however long a busy machine takes for them.
  before=$(commits) && start=$(date +%s%N)
  poll 30 eval '[ $(($(commits) - before)) -ge 10 ]' || fail "fewer than 10 commits in 30 s in view"
  ten_ms=$((($(date +%s%N) - start) / 1000000))
  # Hidden, for twice as long as those ten took in view (at least 2 s): at most the frame the
  # compositor had promised and one already under way when the switch came, where drawing on
  # would give twenty or more.
  msg workspace 2
  before=$(commits) && start=$(date +%s%N)
  span_ms=$((ten_ms * 2 > 2000 ? ten_ms * 2 : 2000))
  poll 120 eval '[ $((($(date +%s%N) - start) / 1000000)) -ge $span_ms ]'
  hidden=$(($(commits) - before))
  [ "$hidden" -le 2 ] || fail "$hidden commits hidden in $span_ms ms, where ten in view took $ten_ms ms"
  msg workspace 1
  poll 15 shows_building HEADLESS-1 && changes HEADLESS-1 || fail "no building in view again"
  # A new virtual keyboard each time: the saver asks for the keyboard once the seat has one.
  poll 10 eval 'run WAYLAND_DISPLAY=$display wtype -k space 2>/dev/null; ! running' || fail "a key did not end it"
  ended_with_zero || fail "a key ended it with status $status"
  [ -z "$(ours -f "^$saver")" ] || fail "something of it is left running"
  ;;
outputs)
  # A sway inside the first, on its wayland backend: each output is a window of the outer one,
  # and closing that window takes the output away.
  spawn WAYLAND_DISPLAY=wayland-1 WLR_BACKENDS=wayland WLR_RENDERER=pixman WLR_WL_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$dir/config" >"$dir/inner.log" 2>&1
  poll 15 ipc 2 >/dev/null || fail "the inner sway did not start: $(cat "$dir/inner.log")"
  poll 15 test -S "$runtime/wayland-2" || fail "the inner sway made no socket"
  inner=$(ls -t "$runtime"/sway-ipc.*.sock | head -n 1) display=wayland-2
  start_saver --no-legend --every-monitor
  poll 15 shows_building WL-1 && poll 15 shows_building WL-2 || fail "no building: $(colours WL-2)"
  ipc_socket=$inner msg create_output
  poll 15 shows_building WL-3 || fail "the new output is not covered: $(colours WL-3)"
  # Of three, one goes: the other two go on drawing.
  msg '[title="- WL-2$"] kill'
  poll 10 eval '! shot WL-2' || fail "the output did not go"
  changes WL-1 && changes WL-3 && running || fail "the output's going took the rest down: $(cat "$dir/saver.log")"
  ends_by_sigterm
  # The output the building is on goes: it moves to the first output left, and stays there as
  # outputs come.
  start_saver --no-legend
  poll 15 shows_building WL-1 && poll 15 shows_fill_only WL-3 || fail "not on the first output: $(colours WL-1)"
  msg '[title="- WL-1$"] kill'
  poll 15 shows_building WL-3 || fail "the building did not move with its output: $(colours WL-3)"
  ipc_socket=$inner msg create_output
  poll 15 shows_fill_only WL-4 || fail "the new output is not covered: $(colours WL-4)"
  changes WL-3 && shows_building WL-3 && running || fail "the building left the output it moved to: $(colours WL-3), $(cat "$dir/saver.log")"
  ;;
signals)
  # Started by the shell with &, the saver has SIGINT ignored: env puts it back for the first runs.
  for signal_status in INT:130 HUP:129; do
    signal=${signal_status%:*} expected=${signal_status#*:}
    spawn env --default-signal=INT WAYLAND_DISPLAY=$display "$saver" --no-legend >"$dir/saver.log" 2>&1
    saver_pid=$last
    poll 15 shows_building HEADLESS-1 || fail "no building before SIG$signal"
    kill -"$signal" "$saver_pid"
    poll 10 eval '! running' || fail "SIG$signal did not end it"
    status=0; wait "$saver_pid" || status=$?
    [ "$status" -eq "$expected" ] || fail "SIG$signal ended it with status $status, not by the signal"
  done
  # As a script's background job, it leaves the ignored SIGINT ignored.
  start_saver --no-legend
  poll 15 shows_building HEADLESS-1 || fail "no building with SIGINT ignored"
  kill -INT "$saver_pid"
  changes HEADLESS-1 && running || fail "an ignored SIGINT ended it"
  # The compositor's close request (a user's kill binding) ends it as the user's input does.
  msg '[app_id=ascenda-wayland] kill'
  ended_with_zero || fail "the close request did not end it with status 0"
  ;;
idle-lock)
  start_idle_daemon "-w timeout 2 '$saver --background --no-legend' resume '$saver --stop' timeout 5 'swaylock -f -c 204060'"
  poll 15 saver_runs && poll 15 shows_building HEADLESS-1 || fail "swayidle started no saver"
  # The lock's timeout fires on time while the saver runs, and the locker covers it.
  poll 20 eval 'shot HEADLESS-1 && [ "$(colours HEADLESS-1)" = "#204060 " ]' || fail "no lock while the saver runs"
  saver_runs || fail "the saver ended before the locker came"
  # Typing the password is activity: the resume command ends the saver beneath the locker.
  run WAYLAND_DISPLAY=$display wtype -k space
  poll 10 eval '! saver_runs' || fail "the saver outlived the user's typing"
  kill -USR1 $(ours -x swaylock) # what a right password does
  poll 10 eval 'shot HEADLESS-1 && ! shows_building HEADLESS-1 && [ "$(colours HEADLESS-1)" != "#204060 " ]' ||
    fail "unlocked, the output shows $(colours HEADLESS-1)"
  ;;
idle-dismiss)
  start_idle_daemon "-w timeout 3 'date +%s%N >>$runtime/starts; exec $saver --background --no-legend'"
  poll 15 saver_runs || fail "swayidle started no saver"
  # Activity too small to end the saver: the seat is idle again after the timeout, and the daemon
  # runs the command again while the saver still shows.
  nudge 0 0
  poll 20 eval '[ "$(idle_count "exit status")" -ge 2 ]' || fail "swayidle was not free to run the command again"
  [ "$(savers | wc -l)" -eq 1 ] || fail "$(savers | wc -l) savers run at once"
  # Dismissed by a nudge of 2 pixels, then by a wheel turn: each time the next start waits for the
  # whole timeout from the dismissal.
  for dismissal in "move 2 0" "wheel 1"; do
    poll 15 shows_building HEADLESS-1 || fail "no saver in view before $dismissal"
    moved=$(date +%s%N) started=$(wc -l <"$runtime/starts")
    # shellcheck disable=SC2086  # the action is words
    run WAYLAND_DISPLAY=$display "$pointer_helper" $dismissal
    poll 10 eval '! saver_runs' || fail "$dismissal did not end it"
    poll 30 eval '[ "$(wc -l <"$runtime/starts")" -gt "$started" ] && saver_runs' || fail "no saver after $dismissal"
    next=$(tail -n 1 "$runtime/starts")
    [ $(((next - moved) / 1000000)) -ge 2800 ] || fail "started again $(((next - moved) / 1000000)) ms after $dismissal"
  done
  ;;
idle-resume)
  start_idle_daemon "-w timeout 2 '$saver --background --no-legend' resume '$saver --stop'"
  poll 15 saver_runs && poll 15 shows_building HEADLESS-1 || fail "swayidle started no saver"
  nudge 0 0
  poll 10 eval '! saver_runs' || fail "the resume command did not end the saver"
  ;;
*) fail "no such case" ;;
esac
