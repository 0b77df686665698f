#!/usr/bin/env bash
# Sets up a fresh Debian machine (as root) and then plays the demo or runs the whole test suite.
#   bash tools/setup.sh play    install what the game needs, build the game alone, start it on the
#                               demo
#   bash tools/setup.sh test    install everything, build everything, run every test and every
#                               benchmark once (a smoke run); then the same suite in a build with
#                               AddressSanitizer and UndefinedBehaviorSanitizer, and each fuzz
#                               harness (clang, libFuzzer) for a short bounded time
set -euo pipefail
mode=${1:-play}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORVANE_BUILD_DIR:-$root/build}

case "$mode" in
  play|test) ;;
  *)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac

# Installs those of the packages that are not installed yet.
install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    [ -n "${apt_updated:-}" ] || { apt-get update -qq; apt_updated=1; }
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# The game: a compiler, CMake, SFML, and the fonts the resource generator copies.
install_missing build-essential cmake g++ libsfml-dev fonts-liberation
if [ "$mode" = test ]; then
  # The tests, the benchmarks, the windowed tests' X server and tools, the sanitizers' and fuzz
  # harnesses' compiler.
  install_missing libgtest-dev googletest libbenchmark-dev libx11-dev xvfb xauth x11-utils xdotool \
    time strace imagemagick clang
  # libFuzzer and the sanitizer runtimes come with the installed clang's own version.
  install_missing "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
fi

jobs=${QUORVANE_JOBS:-$(nproc)}
# The test run's plain build stops on any warning of our own code; the play build, which may share
# its folder, says so off again: a player's compiler may warn where ours does not.
if [ "$mode" = play ]; then
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
    -DQUORVANE_WARNINGS_AS_ERRORS=OFF > /dev/null
  cmake --build "$build" -j "$jobs" --target quorvane
else
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DQUORVANE_WARNINGS_AS_ERRORS=ON > /dev/null
  cmake --build "$build" -j "$jobs"
fi

case "$mode" in
  play)
    cd "$build/run"
    exec "$build/quorvane"
    ;;
  test)
    export ALSOFT_DRIVERS=null
    # The suite's X servers keep running as they are when their last client leaves (-noreset):
    # a server that resets then may refuse the next test's first connection.
    # The sanitizer and fuzz builds compile at the lowest priority while the plain suite runs:
    # its end-to-end tests mostly wait on the game's frames, and keep the cores they need.
    sanitized=${QUORVANE_SANITIZE_BUILD_DIR:-$root/build-asan}
    fuzzbuild=${QUORVANE_FUZZ_BUILD_DIR:-$root/build-fuzz}
    builds_log=$(mktemp)
    (
      set -e
      # Optimised a little and with line tables only: the reports keep their file and line.
      cmake -S "$root" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_SANITIZE=ON \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" > /dev/null
      nice -n 19 cmake --build "$sanitized" -j "$jobs" \
        --target quorvane quorvane_unit_tests quorvane_display_tests demo_content
      CC=clang CXX=clang++ cmake -S "$root" -B "$fuzzbuild" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUORVANE_FUZZ=ON -DQUORVANE_SANITIZE=ON > /dev/null
      nice -n 19 cmake --build "$fuzzbuild" -j "$jobs" --target fuzz_all
    ) > "$builds_log" 2>&1 &
    builds=$!

    # The plain suite runs the display tests one process each; the sanitized one as one process.
    (cd "$build" && xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
      ctest -LE one_process --output-on-failure --timeout 900 -j "$jobs")

    # Every benchmark once for a moment, beside the builds: each must still run to its end.
    bash "$root/bench/smoke_run.sh" "$build/bench/quorvane_bench" "$build/run"

    if ! wait "$builds"; then
      tail -50 "$builds_log"
      echo "the sanitizer or fuzz build failed" >&2
      exit 1
    fi
    rm -f "$builds_log"

    # The same suite under the sanitizers. Undefined behaviour stops at its first report. The
    # only leak allowed is the software GL driver's, which it keeps until it is unloaded at exit.
    # The end-to-end tests come after the rest, and the demo's long route with only the display
    # tests beside it, run as one process on two cores (what a suite leaves behind shows there):
    # a sanitized game needs its cores to keep the frame rate its key presses are timed for.
    for labels in "-L unit" "-L e2e -E e2e_demo_route" "-R ^(e2e_demo_route|display_one_process)$"; do
      (cd "$sanitized" &&
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
        UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        LSAN_OPTIONS=suppressions=$root/tools/lsan-suppressions.txt:print_suppressions=0 \
        xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
          ctest $labels --output-on-failure --timeout 900 -j "$jobs")
    done

    # Every reader under libFuzzer for a short while, on the demo's files and past findings.
    rm -rf "$fuzzbuild/corpus"
    bash "$root/fuzz/seed-corpus.sh" "$fuzzbuild/corpus"
    xargs -P "$jobs" -I{} bash "$root/fuzz/run-fuzzers.sh" "$fuzzbuild" -max_total_time=30 -- {} \
      < "$root/fuzz/targets.txt"
    ;;
esac
