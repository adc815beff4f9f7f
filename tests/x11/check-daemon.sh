#!/bin/sh
# check-daemon.sh SAVER DESCRIPTION: the saver in the real screen-saver daemon, on a private Xvfb
# with a private home, run as nobody when root (the daemon runs no hacks as root); then the
# daemon's settings tool reads the description.
set -eu
saver=$1 description=$2 pids= pid=
home=$(mktemp -d /tmp/ascenda-daemon.XXXXXX)
trap 'kill $pids $pid 2>/dev/null || true; rm -rf "$home"' EXIT
fail() { echo "check-daemon.sh: $*" >&2; exit 1; }
# Runs "$2 ..." every 0.1 s until it succeeds, for at most $1 seconds.
poll() { end=$(($(date +%s) + $1)); shift; until "$@"; do [ "$(date +%s)" -lt "$end" ] || return 1; sleep 0.1; done; }
as_user=
[ "$(id -u)" -ne 0 ] || as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups --"
# The daemon's settings: one entry in the programs list for each command, the first selected.
settings() {
  { printf 'mode: one\nselected: 0\nsplash: False\nfade: False\nprograms:'
    for command; do printf ' "Ascenda Vintra" %s \\n\\\n' "$command"; done; echo; } >"$home/.xscreensaver"
  [ -z "$as_user" ] || chown -R nobody:nogroup "$home"
}
# What the settings tool saves after changes: its fixed arguments, then each control off its default.
saved() { python3 - "$description" "$@" <<'PYTHON'
import shlex, sys, xml.etree.ElementTree as tree
changed, words = dict(argument.split("=") for argument in sys.argv[2:]), []
for control in tree.parse(sys.argv[1]).iter():
    value, kind, get = changed.get(control.get("id")), control.tag, control.get
    if kind == "command" or (kind == "number" and value not in (None, get("default"))):
        words.append(get("arg").replace("%", value or ""))
    elif kind == "string" and value:
        words.append(get("arg").replace("%", shlex.quote(value)))
    elif kind == "boolean":
        words.append(get("arg-set" if (value == "on" if value else not get("arg-set")) else "arg-unset") or "")
    elif kind == "select":
        words += [option.get("arg-set") or "" for option in control if option.get("id") == value]
print(" ".join(word for word in words if word))
PYTHON
}
saved=$(saved people=90 cars=3 driver=smart showfps=on)
# The settings tool wraps a long line inside the quotes, so the daemon hands on spaces and tabs.
named=$(printf -- '--root --back-colour "dark slate      \\\n\t\t\t\t  gray"')
unreadable=$(saved "backcolour=no such colour")
cp "$saver" "$home/ascenda"
settings "$home/ascenda $saved" "$home/ascenda $named" "$home/ascenda $unreadable"
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$home/display" >/dev/null 2>&1 & pids=$!
poll 20 grep -q '^[0-9]' "$home/display" || fail "Xvfb did not start"
export HOME="$home" DISPLAY=":$(cat "$home/display")"
$as_user xscreensaver -no-splash -verbose >/dev/null 2>"$home/daemon.log" & pids="$! $pids"
send() { $as_user xscreensaver-command "$@" >/dev/null 2>&1; }
# The saver runs, with $1 (if given) in its command line.
running() { pid=$(pgrep -f "^$home/ascenda .*${1:-}" | head -n 1); [ -n "$pid" ]; }
poll 15 send -activate || fail "the daemon took no -activate: $(cat "$home/daemon.log")"
poll 15 running || fail "the daemon did not start $home/ascenda $saved"
window=$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
[ -n "$window" ] || fail "the saver runs without XSCREENSAVER_WINDOW"
# On the daemon's window: the dimmed fill, the slabs and the olive legend; the --fps line top left.
colours() { import -window "$window" ${1:-} ppm:- 2>/dev/null | convert ppm:- -unique-colors -depth 8 txt:-; }
# The dimmed fill, the slabs and the legend: these three colours, $1, and no other besides black.
shows_colours() { [ "$(colours | grep -c -E "#($1) ")" -eq 3 ]; }
shows_building() { shows_colours '000060|000080|808000' && colours '-crop 250x14+0+0' | grep -q '#808000 '; }
poll 15 shows_building || fail "the daemon's window does not show the building: $home/ascenda $saved"
! xwininfo -root -children | grep '^ *0x' | grep -v '("xscreensaver" ' >&2 || fail "a window not the daemon's appeared"
# A colour name draws that colour; one that is no colour draws the default after one warning. The
# saver runs either way, ending by the daemon's SIGTERM, and the daemon has no crash to show.
select() { send -select "$1" && poll 15 running "$2" && window=$(tr '\0' '\n' <"/proc/$pid/environ" |
  sed -n 's/^XSCREENSAVER_WINDOW=//p') && poll 15 shows_colours "$3"; }
select 2 "--back-colour dark slate " '233B3B|2F4F4F|808000' || fail "$named does not draw dark slate gray"
select 3 "--back-colour no such colour" '000060|000080|808000' || fail "$unreadable does not draw the default"
[ "$(grep -c '^ascenda: warning: "no such colour" is not a colour' "$home/daemon.log")" -eq 1 ] ||
  fail "not one warning for $unreadable: $(cat "$home/daemon.log")"
send -deactivate || fail "the daemon took no -deactivate"
poll 10 eval '! running' || fail "the saver still runs after deactivating"
ended=$(grep -c "(${home}/ascenda) exited normally with SIGTERM" "$home/daemon.log") || true
[ "$ended" -ge 2 ] && ! grep -E 'ascenda.*(abnormally|crashed)' "$home/daemon.log" >&2 ||
  fail "the daemon did not see the saver end by its SIGTERM: $(grep 'ascenda)' "$home/daemon.log")"
[ -n "$as_user" ] || { echo "check-daemon.sh: the settings tool needs root for a private mount: left out"; exit 0; }
# The tool reads descriptions from one fixed folder, which a private mount makes ours alone.
mkdir "$home/config" && cp "$description" "$home/config/ascenda.xml"
settings "ascenda --root"
unshare --mount sh -c 'mount --bind "$0" /usr/share/xscreensaver/config && exec "$@"' "$home/config" \
  $as_user xscreensaver-settings --debug >/dev/null 2>"$home/settings.log" & pids="$! $pids"
# With --debug it says when it reads the description; what the reading finds follows at once.
has_read() { sed -n '/ascenda\.xml\.\.\.$/,$p' "$home/settings.log" | sed -n 2p | grep -q .; }
poll 15 has_read || fail "the settings tool did not read the description: $(cat "$home/settings.log")"
! grep -E 'ascenda\.xml:|WARNING: ascenda' "$home/settings.log" >&2 || fail "the settings tool warns about it"
