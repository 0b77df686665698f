#!/bin/bash
# Plays the real program for a while with random keys and follows its resident memory: starts it
# under its own X display, begins a new game, then presses arrows (tapped or held), Space, left
# Control, X and Z at random (never Escape) and samples the program's resident memory every
# SAMPLE_SECONDS (30). Prints the curve as it goes and a summary at the end; ends non-zero when
# the program died on the way. A tool for a person, not part of the test suite.
#
# Usage: bash tools/soak_memory.sh <program> <built run folder> [minutes]   (default 30)
#   e.g. bash tools/soak_memory.sh build/quorvane build/run 30
# SOAK_SEED fixes the random keys (default: the time).
set -u
if [ $# -lt 2 ]; then
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../tests/e2e/newgame_common.bash"
MINUTES="${3:-30}"
SAMPLE_SECONDS="${SAMPLE_SECONDS:-30}"
RANDOM=${SOAK_SEED:-$(date +%s)}
e2e_begin "$1" "$2"
E2E_KEY_GAP=0.3
# The renderer on two threads, as the end-to-end tests run it: the machine may be shared.
export LP_NUM_THREADS="${LP_NUM_THREADS:-2}"

resident_mb() {
    awk '/^VmRSS:/ {printf "%d", $2 / 1024}' "/proc/$E2E_GAME_PID/status" 2>/dev/null
}

# --- a new game, into the town ---
e2e_start_game "$PROGRAM"
e2e_keys space space
e2e_keys s o a k Return
e2e_keys Down space      # "Normal"
e2e_wait_for_console "New game Soak started" || e2e_fail "the new game did not start"
e2e_keys space           # past the intro
e2e_wait_for "$E2E_WORK/SaveGames/Soak/game.save" "CURRENTSCENE Town" 60 || e2e_fail "the town was not reached"
sleep 1

KEYS=(Up Down Left Right Up Down Left Right space space Control_L x z z)
start=$(date +%s)
end=$((start + MINUTES * 60))
next_sample=$start
samples=()
presses=0
echo "seconds resident_MB"
while :; do
    now=$(date +%s)
    if [ "$now" -ge "$next_sample" ]; then
        mb=$(resident_mb)
        [ -n "$mb" ] || e2e_fail "the program died after $((now - start)) s and $presses keys"
        samples+=("$mb")
        printf '%7d %6d\n' $((now - start)) "$mb"
        next_sample=$((next_sample + SAMPLE_SECONDS))
    fi
    [ "$now" -ge "$end" ] && break
    kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program died after $((now - start)) s and $presses keys"
    key=${KEYS[RANDOM % ${#KEYS[@]}]}
    case "$key" in
    Up | Down | Left | Right)
        if [ $((RANDOM % 3)) -eq 0 ]; then
            # Held: the leader walks several cells.
            xdotool keydown "$key"
            sleep "0.$((3 + RANDOM % 7))"
            xdotool keyup "$key"
        else
            xdotool key "$key"
        fi
        ;;
    *) xdotool key "$key" ;;
    esac
    presses=$((presses + 1))
    sleep "0.$((10 + RANDOM % 30))"
done

kill -0 "$E2E_GAME_PID" 2>/dev/null || e2e_fail "the program died at the end"
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion"
first=${samples[0]}
warm=${samples[$(( ${#samples[@]} > 2 ? 2 : ${#samples[@]} - 1 ))]}
last=${samples[-1]}
peak=$(printf '%s\n' "${samples[@]}" | sort -n | tail -1)
echo "Resident MB: $first at the start, $warm after warm-up (sample 3), $last at the end, $peak at most;" \
    "$presses keys in $MINUTES min"
e2e_stop_game
exit 0
