#!/bin/bash
# Resumes, from the start screen of the real program, a saved game whose current scene lies on
# the planet Ceres: the planet must load on that first entry ("LOADING planet Ceres") and the
# program must close cleanly. Arguments: program, run folder, source folder.
set -u
program=$1
run_dir=$2
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$@"
fi
export ALSOFT_DRIVERS=null
# A folder of its own beside the demo's, so that other tests never see this save.
work=$(mktemp -d)
log=$(mktemp)
trap 'rm -f "$log"; rm -rf "$work"' EXIT
for entry in Resources Data Game Game.txt; do
    ln -s "$(realpath "$run_dir")/$entry" "$work/$entry"
done
cd "$work" || exit 1
# An Escape left down by the test before on this display would close the game at once.
xdotool keyup Escape 2>/dev/null
save=SaveGames/PlanetTrip
mkdir -p "$save"
: >"$save/people.save"
printf 'CURRENTSCENE Solaris\n' >"$save/game.save"

"$program" >"$log" 2>&1 </dev/null &
pid=$!
window=""
for _ in $(seq 1 1200); do
    kill -0 "$pid" 2>/dev/null || { echo "program ended early"; cat "$log"; exit 1; }
    if grep -q "^First frame after" "$log"; then
        window=$(xdotool search --name "^Quorvane 2.0$" 2>/dev/null | head -1)
        [ -n "$window" ] && break
    fi
    sleep 0.1
done
[ -n "$window" ] || { echo "no window"; kill "$pid"; cat "$log"; exit 1; }

# Open the resume list, move to the save (the only one), choose it; a frame without keys
# between presses.
for key in space Down space; do
    sleep 0.5
    xdotool key --window "$window" "$key"
done
for _ in $(seq 1 50); do
    grep -q "LOADING planet Ceres" "$log" && break
    sleep 0.1
done
sleep 1
xdotool key --window "$window" Escape
wait "$pid"
status=$?
if ! grep -q "^LOADING planet Ceres$" "$log"; then
    echo "the planet was not loaded"; cat "$log"; exit 1
fi
if [ "$status" -ne 0 ] || grep -q "ASSERT" "$log"; then
    echo "exit status $status"; cat "$log"; exit 1
fi
exit 0
