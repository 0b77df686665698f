#!/bin/bash
# Kills the real program (SIGKILL) at random moments while it saves, many times. The program
# runs under strace, which only slows down the save's flushes and renames so that the kills land
# in every stage of a save. After each kill the save folder must hold two whole files, and the
# real program must resume that game from the start screen and play on to the next save point.
# Arguments: program, built run folder, source folder. ROUNDS overrides the number of kills.
set -u
PROGRAM=$(readlink -f "$1")
RUN_DIR="$2"
ROUNDS="${ROUNDS:-8}"
source "$(dirname "$0")/newgame_common.bash"
trap e2e_cleanup EXIT
command -v strace >/dev/null || e2e_fail "strace is needed to slow the saves down"

e2e_start_display
e2e_make_work "$RUN_DIR"
SAVE="$E2E_WORK/SaveGames/Kill"
mkdir -p "$SAVE"
cat >"$SAVE/game.save" <<'SAVEFILE'
CURRENTSCENE Town
STRVARS 1 ORIGIN 'Town' 
BOOLVARS 1 KillTest 
DIFFICULTY 2
QUORVANE 1 Ravi 
MAINCHARACTER Ravi
CHAPTER 1
SCENE Town CHESTS 1 10 9 '' BATTLEV 0 IFSPLAYED 1 <ALWAYS Welcome> 
SAVEFILE
: >"$SAVE/people.save"

# Both files whole: line ends at the end, the game file's fixed records once each.
check_whole() {
    local g="$SAVE/game.save" p="$SAVE/people.save"
    [ -s "$g" ] && [ -f "$p" ] || e2e_fail "round $1: a save file is missing"
    [ "$(tail -c1 "$g" | od -An -c | tr -d ' ')" = '\n' ] || e2e_fail "round $1: game.save is cut short"
    [ "$(grep -c '^CURRENTSCENE ' "$g")" = 1 ] || e2e_fail "round $1: CURRENTSCENE"
    grep -q '^CHAPTER 1$' "$g" || e2e_fail "round $1: CHAPTER"
    grep -q "^BOOLVARS 1 KillTest $" "$g" || e2e_fail "round $1: BOOLVARS"
    grep -q "^SCENE Town CHESTS 1 10 9 '' BATTLEV 0 IFSPLAYED 1 <ALWAYS Welcome> $" "$g" ||
        e2e_fail "round $1: the town's record"
    if [ -s "$p" ]; then
        [ "$(tail -c1 "$p" | od -An -c | tr -d ' ')" = '\n' ] || e2e_fail "round $1: people.save is cut short"
        grep -qv '^Character ' "$p" && e2e_fail "round $1: a broken line in people.save"
    fi
    return 0
}

# Resumes "Kill" and plays on to the next save point, proving that the folder loads.
resume_and_play() {
    local scene
    scene=$(sed -n 's/^CURRENTSCENE //p' "$SAVE/game.save")
    e2e_start_game "$PROGRAM"
    e2e_keys space
    sleep 0.3
    e2e_keys Down space
    sleep 1.5
    case "$scene" in
    Town)
        e2e_keys Up Up Left Left Left Left Left Left Up
        e2e_wait_for "$SAVE/game.save" "CURRENTSCENE TownHouse" 10 ||
            e2e_fail "round $1: the game resumed in the town did not play on";;
    TownHouse)
        e2e_keys Down
        e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Town" 10 ||
            e2e_fail "round $1: the game resumed in the inn did not play on";;
    *) e2e_fail "round $1: saved in the unexpected scene $scene";;
    esac
    e2e_stop_game
    grep -q "ASSERT" "$E2E_LOG" && e2e_fail "round $1: a fatal assertion while resuming"
    if [ "$E2E_EXIT" != 0 ]; then
        bad_exits=$((bad_exits + 1))
        echo "round $1: closing the resumed game ended with status $E2E_EXIT" >&2
        tail -5 "$E2E_LOG" >&2
    fi
    check_whole "$1"
}

bad_exits=0
resume_and_play 0
mixed=0
leftovers=0
for round in $(seq "$ROUNDS"); do
    e2e_start_game "$PROGRAM" strace -f --seccomp-bpf -qq -o /dev/null -e trace=fsync,rename -e signal=none \
        -e inject=fsync,rename:delay_enter=150000
    game_pid=$(ps -o pid= --ppid "$E2E_GAME_PID" | tr -d ' ' | head -1)
    [ -n "$game_pid" ] || e2e_fail "round $round: no program under strace"
    e2e_keys space
    sleep 0.3
    e2e_keys Down space
    sleep 1.5
    rm -f "$SAVE"/*.tmp
    # Walk through the inn's door and back, again and again: every entry saves.
    scene=$(sed -n 's/^CURRENTSCENE //p' "$SAVE/game.save")
    if [ "$scene" = Town ]; then e2e_keys Up Up Left Left Left Left Left Left Up; else e2e_keys Down; fi
    e2e_wait_for_file "$SAVE/people.save.tmp" 10 || e2e_fail "round $round: no save began"
    # A random moment of the save (its flushes and renames take about 0.75 s here).
    sleep "0.$(printf '%03d' $((RANDOM % 800)))"
    kill -9 "$game_pid"
    wait "$E2E_GAME_PID" 2>/dev/null
    E2E_GAME_PID=""
    [ "$SAVE/people.save" -nt "$SAVE/game.save" ] && mixed=$((mixed + 1))
    ls "$SAVE"/*.tmp >/dev/null 2>&1 && leftovers=$((leftovers + 1))
    check_whole "$round"
    resume_and_play "$round"
done
echo "PASS: $ROUNDS kills while saving ($leftovers left temporary files, $mixed between the two renames;" \
    "$bad_exits closings of a resumed game did not end with status 0)"
