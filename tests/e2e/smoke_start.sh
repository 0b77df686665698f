#!/bin/bash
# Starts the real program on the demo, lets it run frames on the start screen, closes it with
# Escape and expects exit status 0. Arguments: program, run folder, source folder.
set -u
program=$1
run_dir=$2
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$@"
fi
export ALSOFT_DRIVERS=null
cd "$run_dir" || exit 1
# An Escape left down by the test before on this display would close the game at once.
xdotool keyup Escape 2>/dev/null
log=$(mktemp)
trap 'rm -f "$log"' EXIT

"$program" >"$log" 2>&1 </dev/null &
pid=$!

# The window appears once loading is done and the first frame has run.
window=""
for _ in $(seq 1 1200); do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "program ended before its window showed"; cat "$log"; exit 1
    fi
    if grep -q "^First frame after" "$log"; then
        window=$(xdotool search --name "^Quorvane 2.0$" 2>/dev/null | head -1)
        [ -n "$window" ] && break
    fi
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "no window"; kill "$pid"; cat "$log"; exit 1
fi
grep "^First frame after" "$log"

sleep 3 # about 90 frames at 30 per second
xdotool key --window "$window" Escape
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    echo "program still running after Escape"; kill "$pid"; cat "$log"; exit 1
fi
wait "$pid"
status=$?
if [ "$status" -ne 0 ]; then
    echo "exit status $status"; cat "$log"; exit 1
fi
if grep -q "ASSERT" "$log"; then
    cat "$log"; exit 1
fi
exit 0
