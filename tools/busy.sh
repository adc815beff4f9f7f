#!/bin/sh
# Runs a command beside busy loops, as on a laptop that is also building something, and stops the
# loops when the command ends, however it ends. A test that passes only on a quiet machine fails here.
#
#   tools/busy.sh COMMAND...              one busy loop per core beside COMMAND
#   tools/busy.sh --one-core COMMAND...   COMMAND and two busy loops squeezed onto the first core:
#                                         a slow machine, reproduced at will
#   BUSY_LOOPS=N tools/busy.sh ...        N loops instead
#
# Exits with the command's status.
set -u

one_core=
if [ "${1:-}" = --one-core ]; then
  one_core=1
  shift
fi
[ $# -gt 0 ] || { echo "usage: $0 [--one-core] COMMAND..." >&2; exit 2; }

if [ -n "$one_core" ]; then
  loops=${BUSY_LOOPS:-2}
  pin="taskset -c 0"
else
  loops=${BUSY_LOOPS:-$(nproc)}
  pin=
fi

pids=
child=
stop_loops() {
  # shellcheck disable=SC2086 # a list of process ids
  [ -z "$pids" ] || kill $pids 2>/dev/null
  pids=
}
# Stopped itself, it stops the command and everything the command started.
stop_all() {
  stop_loops
  [ -z "$child" ] || kill -TERM "-$child" 2>/dev/null
  exit "$1"
}
trap stop_loops EXIT
trap 'stop_all 130' INT
trap 'stop_all 143' TERM HUP

i=0
while [ "$i" -lt "$loops" ]; do
  # A loop that never sleeps: all the processor it is given, at the tests' own priority. It ends
  # by itself once this script is gone, even if the script was killed without a chance to stop it.
  $pin sh -c 'while kill -0 "$1" 2>/dev/null; do :; done' busy-loop $$ &
  pids="$pids $!"
  i=$((i + 1))
done
echo "busy: $loops loop(s)${one_core:+ on core 0} beside: $*" >&2

# In the background, so that a signal to this script is handled at once, not after the command,
# and in a session of its own, so that stopping it reaches all it started. (setsid runs it in
# place: a background command of a script leads no process group.)
setsid $pin "$@" &
child=$!
wait "$child"
status=$?
child=
stop_loops
exit "$status"
