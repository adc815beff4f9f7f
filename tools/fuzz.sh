#!/bin/sh
# Builds the fuzz preset and runs every fuzz target for SECONDS (default 60) from its corpus in
# tests/fuzz/corpus/<target>/, at the lowest priority. New inputs gather in build/fuzz/corpus/,
# crashing ones in build/fuzz/crashes/<target>/, each run's log in build/fuzz/logs/. Prints for
# each target its executions, the coverage it reached (edges and features) and the crashes found;
# exits non-zero when any target crashed. A crash input belongs in the target's corpus once fixed.
#
#   tools/fuzz.sh [SECONDS]      FUZZ_JOBS=N runs N targets at once (default 1)
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root" || exit 1
seconds=${1:-60}
jobs=${FUZZ_JOBS:-1}
targets="command_line options stored_settings properties_fields"

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz --parallel "${JOBS:-2}" >build/fuzz/build.log 2>&1 || { cat build/fuzz/build.log >&2; exit 1; }

run() {
  mkdir -p "build/fuzz/corpus/$1" "build/fuzz/crashes/$1" build/fuzz/logs
  rm -f "build/fuzz/crashes/$1"/*
  # The first folder takes what the run finds; the checked-in seeds are only read. Any input runs
  # in milliseconds: a minute means a hang, where a shorter limit takes a starved process at the
  # lowest priority on a busy machine for one.
  nice -n 19 "build/fuzz/tests/fuzz/fuzz_$1" "build/fuzz/corpus/$1" "tests/fuzz/corpus/$1" \
    -max_total_time="$seconds" -timeout=60 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/crashes/$1/" >"build/fuzz/logs/$1.log" 2>&1
}

running=0
for target in $targets; do
  run "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait
    running=0
  fi
done
wait

failed=0
printf '%-18s %12s %9s %9s %8s\n' target executions coverage features crashes
for target in $targets; do
  log=build/fuzz/logs/$target.log
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  features=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  # Slow units (slow-unit-*) are reported in the log only: on a shared machine they measure the load.
  crashes=$(find "build/fuzz/crashes/$target" -type f ! -name 'slow-unit-*' | wc -l)
  printf '%-18s %12s %9s %9s %8s\n' "$target" "${executions:-?}" "${coverage:-?}" "${features:-?}" "$crashes"
  [ "$crashes" -eq 0 ] && grep -q '^Done ' "$log" || failed=1
done
for crash in $(find build/fuzz/crashes -type f ! -name 'slow-unit-*'); do
  echo "crash: $crash" >&2
done
exit "$failed"
