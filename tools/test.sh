#!/bin/sh
# Installs what is missing, then configures, builds and tests every preset: host, host-asan
# (AddressSanitizer and UndefinedBehaviorSanitizer), windows (the tests run under Wine) and web
# (the page in headless Chromium, its runner's trace against the host's).
# Goes on after a failure so that one run shows them all; exits non-zero if anything failed.
#
#   tools/test.sh [PRESET...]     default: host host-asan windows web
#   JOBS=N tools/test.sh          build and test with N jobs (default: the number of cores)
#   tools/test.sh --busy [PRESET...]   the same beside one busy loop per core (tools/busy.sh)
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1

if [ "${1:-}" = --busy ]; then
  shift
  exec tools/busy.sh tools/test.sh "$@"
fi

tools/install-deps.sh || exit 1

[ $# -gt 0 ] || set -- host host-asan windows web
jobs=${JOBS:-$(nproc)}
failed=

for preset in "$@"; do
  echo "=== $preset"
  if [ "$preset" = web ]; then
    # The web runner's trace is checked against the host's runner, which must be up to date.
    cmake --preset host >/dev/null && cmake --build --preset host --target ascenda-sim --parallel "$jobs"
  fi
  if cmake --preset "$preset" >/dev/null &&
     cmake --build --preset "$preset" --parallel "$jobs" &&
     ctest --preset "$preset" --parallel "$jobs"; then
    :
  else
    failed="$failed $preset"
  fi
  if [ "$preset" = windows ]; then
    cmake/wine-run.sh --build build/windows --stop
  fi
done

if [ -n "$failed" ]; then
  echo "=== FAILED:$failed" >&2
  exit 1
fi
echo "=== all presets passed: $*"
