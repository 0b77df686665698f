#!/bin/bash
# Plays the real program for a while with random keys and follows its resident memory: starts it
# under its own X display, begins a new game, then presses arrows (tapped or held), Space, left
# Control, X and Z at random (never Escape) and samples the program's resident memory every
# SAMPLE_SECONDS (30), with the scene of the last save and the length of the program's console
# (its lines between two samples are what the program did in between). Prints the curve as it
# goes and a summary at the end; ends non-zero when the program died on the way. A tool for a
# person, not part of the test suite.
#
# Usage: bash tools/soak_memory.sh <program> <built run folder> [minutes] [console log]
#   e.g. bash tools/soak_memory.sh build/quorvane build/run 30 soak-console.log
# The program's console is kept at [console log] (or SOAK_LOG; default soak-console.log here):
# its "LOADING planet" and "Battle started in" lines tell what a rise in memory loaded.
# SOAK_SEED fixes the random keys (default: the time).
set -u
if [ $# -lt 2 ]; then
    sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/../tests/e2e/newgame_common.bash"
MINUTES="${3:-30}"
KEEP_LOG=$(readlink -f "${4:-${SOAK_LOG:-soak-console.log}}")
SAMPLE_SECONDS="${SAMPLE_SECONDS:-30}"
SEED=${SOAK_SEED:-$(date +%s)}
RANDOM=$SEED
# A held arrow walks the leader on through the display's key repeat, as a player's would.
E2E_KEY_REPEAT=on
e2e_begin "$1" "$2"
# The helpers delete their work folder, console log included, at exit: the log is hard-linked
# where it is kept (it follows the run live), or copied there at exit across file systems.
trap '[ -n "$E2E_LOG" ] && ! [ "$E2E_LOG" -ef "$KEEP_LOG" ] && cp -f "$E2E_LOG" "$KEEP_LOG"; e2e_cleanup' EXIT
# The renderer on two threads, as the end-to-end tests run it: the machine may be shared.
export LP_NUM_THREADS="${LP_NUM_THREADS:-2}"

resident_mb() {
    awk '/^VmRSS:/ {printf "%d", $2 / 1024}' "/proc/$E2E_GAME_PID/status" 2>/dev/null
}
saved_scene() { grep -m1 "^CURRENTSCENE " "$E2E_WORK/SaveGames/Soak/game.save" 2>/dev/null | cut -d" " -f2-; }
died() {
    wait "$E2E_GAME_PID" 2>/dev/null
    e2e_fail "the program ended (status $?) after $(($(date +%s) - start)) s and $presses keys"
}

# --- a new game, into the town ---
e2e_start_game "$PROGRAM"
rm -f "$KEEP_LOG"
ln "$E2E_LOG" "$KEEP_LOG" 2>/dev/null
e2e_keys space space
e2e_keys s o a k Return
e2e_keys Down space      # "Normal"
e2e_wait_for_console "New game Soak started" || e2e_fail "the new game did not start"
e2e_keys space           # past the intro
e2e_wait_for "$E2E_WORK/SaveGames/Soak/game.save" "CURRENTSCENE Town" 60 || e2e_fail "the town was not reached"
sleep 1

# The keys include X, so the party menu is played too, and with it its Quit, whose "Are you sure?"
# a random Right then Space would confirm, ending the game. So each key waits until the program
# has taken the one before and run its quiet frames after it (its "Input after <n> keys" report
# says so); then the question, while shown, is known from the console, which says "Checking are
# you sure" every frame it is up, and it gets left Control (No) instead of a random key. Right
# never reaches the question, so its answer stays No. A key the loading screen swallows is never
# taken: when the program has run on (its console grew) without it for 5 s, the count follows. A
# program that stalls (the machine short of memory) is waited for while memory is still sampled.
taken() { local r; r=$(e2e_input_report); r=${r#Input after }; echo "${r%% *}"; }
settled() {
    local r
    r=$(e2e_input_report)
    [ -n "$r" ] && [ "$(taken)" -ge "$E2E_KEYS_SENT" ] && [ "${r##*: }" != keys ]
}
key_due() {
    settled && return 0
    ((SECONDS - key_time >= 5)) && [ "$(stat -c %s "$E2E_LOG")" -gt "$size_at_key" ] &&
        [ "$(e2e_input_report | sed 's/.*: //')" != keys ] || return 1
    lost=$((lost + 1))
}
question_shown() { tail -2 "$E2E_LOG" | grep -qx "Checking are you sure"; }

KEYS=(Up Down Left Right Up Down Left Right space space Control_L x z z)
start=$(date +%s)
end=$((start + MINUTES * 60))
next_sample=$start
samples=()
presses=0
size_at_key=0
key_time=$SECONDS
longest=0
noes=0
lost=0
echo "SOAK_SEED=$SEED; console log: $KEEP_LOG"
echo "seconds resident_MB console_lines last_saved_scene"
while :; do
    now=$(date +%s)
    if [ "$now" -ge "$next_sample" ]; then
        mb=$(resident_mb)
        [ -n "$mb" ] || died
        samples+=("$mb")
        printf '%7d %6d %8d  %s\n' $((now - start)) "$mb" "$(wc -l <"$E2E_LOG")" "$(saved_scene)"
        next_sample=$((next_sample + SAMPLE_SECONDS))
    fi
    [ "$now" -ge "$end" ] && break
    e2e_game_runs || died
    if ! key_due; then
        sleep 0.03
        continue
    fi
    ((SECONDS - key_time > longest)) && longest=$((SECONDS - key_time))
    E2E_KEYS_SENT=$(taken) # held arrows repeat: the program may have taken more than were sent
    size_at_key=$(stat -c %s "$E2E_LOG")
    if question_shown; then
        key=Control_L
        noes=$((noes + 1))
    else
        key=${KEYS[RANDOM % ${#KEYS[@]}]}
    fi
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
    E2E_KEYS_SENT=$((E2E_KEYS_SENT + 1))
    key_time=$SECONDS
    presses=$((presses + 1))
    sleep "0.$((10 + RANDOM % 30))"
done

e2e_game_runs || died
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion"
first=${samples[0]}
warm=${samples[$(( ${#samples[@]} > 2 ? 2 : ${#samples[@]} - 1 ))]}
last=${samples[-1]}
peak=$(printf '%s\n' "${samples[@]}" | sort -n | tail -1)
echo "Resident MB: $first at the start, $warm after warm-up (sample 3), $last at the end, $peak at most;" \
    "$presses keys in $MINUTES min ($noes of them No to \"Are you sure?\", $lost swallowed unread," \
    "the longest taken after $longest s); SOAK_SEED=$SEED"
e2e_stop_game
exit 0
