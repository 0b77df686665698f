#!/bin/bash
# Every benchmark run once for a moment: not a timing, a check that each one still runs to its
# end. Fails when the program exits non-zero or when a listed benchmark reported no result (or an
# error). Standard input is closed, so a stop that waits for a key cannot hang the run; a run
# that hangs all the same is ended after five minutes.
# Arguments: the benchmark program, the run folder. Runs under xvfb-run when there is no display.
set -euo pipefail
bench=$(readlink -f "$1")
run_dir=$2
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" bash "$0" "$@"
fi
export ALSOFT_DRIVERS=null
cd "$run_dir"
listed=$(mktemp)
output=$(mktemp)
trap 'rm -f "$listed" "$output"' EXIT

"$bench" --benchmark_list_tests < /dev/null > "$listed"
status=0
# The least time each benchmark runs for, in seconds (a bare number: Google Benchmark 1.7).
timeout 300 "$bench" --benchmark_min_time=0.001 --benchmark_color=false < /dev/null |
    tee "$output" || status=$?
# A result line starts with the benchmark's name; a skipped one says ERROR OCCURRED instead.
reported=$(awk 'NR == FNR { name[$1] = 1; next }
                ($1 in name) && !/ERROR OCCURRED/ { n++ } END { print n + 0 }' "$listed" "$output")
echo "benchmarks: $(wc -l < "$listed") listed, $reported reported a result"
if [ "$status" -ne 0 ] || [ "$reported" -ne "$(wc -l < "$listed")" ]; then
    echo "the benchmark program stopped early or a benchmark failed (exit status $status)" >&2
    exit 1
fi
