#!/bin/bash
# Kills the real program (SIGKILL) at random moments while it saves, many times. The program
# runs under strace, which only slows down the save's flushes and renames so that the kills land
# in every stage of a save. After each kill the save folder must hold two whole files, and the
# real program must resume that game from the start screen and play on to the next save point
# (where the next round kills it again).
# A kill between the two renames leaves the new people file beside the old game file, and the
# new game file under its temporary name: listing the saves must finish that pair, and the game
# must resume in the scene of the newer save.
# Arguments: program, built run folder, source folder. ROUNDS overrides the number of kills.
ROUNDS="${ROUNDS:-12}"
source "$(dirname "$0")/newgame_common.bash"
e2e_begin "$@"
command -v strace >/dev/null || e2e_fail "strace is needed to slow the saves down"
SAVE="$E2E_WORK/SaveGames/Kill"
mkdir -p "$SAVE"
: >"$SAVE/people.save"
cat >"$SAVE/game.save" <<'SAVEFILE'
CURRENTSCENE Town
STRVARS 1 ORIGIN 'Town' 
BOOLVARS 1 KillTest 
DIFFICULTY 2
QUORVANE 1 Ravi 
MAINCHARACTER Ravi
CHAPTER 1
SCENE Town CHESTS 2 10 9 '' 14 10 'StrengthSeed' BATTLEV 0 IFSPLAYED 1 <ALWAYS Welcome> 
SAVEFILE

# Both files whole: line ends at the end, the game file's fixed records once each.
check_whole() {
    local g="$SAVE/game.save" p="$SAVE/people.save"
    [ -s "$g" ] && [ -f "$p" ] || e2e_fail "round $1: a save file is missing"
    [ "$(tail -c1 "$g" | od -An -c | tr -d ' ')" = '\n' ] || e2e_fail "round $1: game.save is cut short"
    [ "$(grep -c '^CURRENTSCENE ' "$g")" = 1 ] || e2e_fail "round $1: CURRENTSCENE"
    grep -q '^CHAPTER 1$' "$g" || e2e_fail "round $1: CHAPTER"
    grep -q "^BOOLVARS 1 KillTest $" "$g" || e2e_fail "round $1: BOOLVARS"
    grep -q "^SCENE Town CHESTS 2 10 9 '' 14 10 'StrengthSeed' BATTLEV 0 IFSPLAYED 1 <ALWAYS Welcome> $" "$g" ||
        e2e_fail "round $1: the town's record"
    if [ -s "$p" ]; then
        [ "$(tail -c1 "$p" | od -An -c | tr -d ' ')" = '\n' ] || e2e_fail "round $1: people.save is cut short"
        grep -v '^Character ' "$p" | grep -qv '^EndOfSave$' && e2e_fail "round $1: a broken line in people.save"
    fi
    return 0
}

# The scene of the newest whole save: the game temporary's when only its rename is missing.
saved_scene() {
    local g="$SAVE/game.save"
    [ -f "$SAVE/game.save.tmp" ] && [ ! -e "$SAVE/people.save.tmp" ] && g="$SAVE/game.save.tmp"
    sed -n 's/^CURRENTSCENE //p' "$g"
}

no_temporaries() { ! ls "$SAVE"/*.tmp >/dev/null 2>&1; }

# Resumes "Kill" and walks from the saved scene to the next save point.
resume_from() {
    local scene="$1" round="$2"
    e2e_keys space
    e2e_poll 30 no_temporaries || e2e_fail "round $round: listing the saves left temporary files"
    [ "$SAVE/people.save" -nt "$SAVE/game.save" ] &&
        e2e_fail "round $round: the listed save pairs a newer people file with an older game file"
    e2e_keys Down space
    e2e_wait_for_console "Game Kill resumed" || e2e_fail "round $round: the game was not resumed"
    case "$scene" in
    Town) e2e_keys Up Up Left Left Left Left Left Left Up;;
    TownHouse) e2e_keys Down;;
    *) e2e_fail "round $round: saved in the unexpected scene $scene";;
    esac
}

# Resumes "Kill" and plays on to the next save point, proving that the folder loads.
resume_and_play() {
    local scene next
    scene=$(saved_scene)
    e2e_start_game "$PROGRAM"
    resume_from "$scene" "$1"
    if [ "$scene" = Town ]; then next=TownHouse; else next=Town; fi
    e2e_wait_for "$SAVE/game.save" "CURRENTSCENE $next" ||
        e2e_fail "round $1: the game resumed in $scene did not play on"
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
    # Resuming what the last kill left proves that it loads; walking through the inn's door (or
    # out of it) from the saved scene then reaches a save point, which this round kills.
    resume_from "$(saved_scene)" "$round"
    e2e_wait_for_file "$SAVE/people.save.tmp" || e2e_fail "round $round: no save began"
    # A random moment of the save (its flushes and renames take about 0.9 s here).
    sleep "0.$(printf '%03d' $((RANDOM % 900)))"
    kill -9 "$game_pid"
    e2e_kill_game
    grep -q "ASSERT" "$E2E_LOG" && e2e_fail "round $round: a fatal assertion"
    if [ -f "$SAVE/game.save.tmp" ] && [ ! -e "$SAVE/people.save.tmp" ]; then
        mixed=$((mixed + 1))
    elif ! no_temporaries; then
        leftovers=$((leftovers + 1))
    fi
    check_whole "$round"
done
resume_and_play "after the last kill"
echo "PASS: $ROUNDS kills while saving ($leftovers before the renames, $mixed between the two renames;" \
    "$bad_exits closings of a resumed game did not end with status 0)"
