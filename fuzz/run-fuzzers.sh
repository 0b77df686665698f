#!/usr/bin/env bash
# Runs harnesses of a fuzz build one after the other on a corpus seeded from the demo's files.
#   bash fuzz/run-fuzzers.sh <fuzz build folder> <libFuzzer option...> -- <target...>
# For example: -max_total_time=20 for a short bounded run, -runs=1000000 for a long one.
# A finding stops the run with its input written to <build>/findings/; put it in
# fuzz/regressions/<target>/ once it is mended, so that the plain test build replays it.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
shift
options=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || mapfile -t targets < "$src/fuzz/targets.txt"
[ -d "$build/corpus" ] || bash "$src/fuzz/seed-corpus.sh" "$build/corpus"
mkdir -p "$build/findings" "$build/fuzz-logs"
status=0
for t in "${targets[@]}"; do
  log=$build/fuzz-logs/$t.log
  if ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/fuzz_$t" "$build/corpus/$t" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$build/findings/$t-" "${options[@]}" > "$log" 2>&1; then
    echo "fuzz $t: $(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$') runs, no finding"
  else
    echo "fuzz $t: FINDING (see $log)"
    status=1
  fi
done
exit $status
