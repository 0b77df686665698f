#!/bin/bash
# Plays a battle in the real program through X key events: a new game walks from Brookvale's
# square into the dojo, whose sparring battle starts on entry; the leader attacks the training
# dummy until the battle is won. The victory saves the game (the dojo's battle recorded as won,
# the leader's experience kept); the game is closed, started again and resumed in the dojo,
# where the practice battle starts anew.
# Arguments: program, built run folder, source folder.
source "$(dirname "$0")/newgame_common.bash"
e2e_begin "$@"
SAVE="$E2E_WORK/SaveGames/Kira"

# Space, again and again, until the battle is won (at most 200 presses, 90 s): on the leader's
# turn it opens the command menu, takes "Attack" (the first option while the dummy stands next
# to the leader) and the dummy as target; during the action it completes the typed lines and
# ends the last frame; at the end it closes the victory message.
fight_to_victory() {
    local i
    for i in $(seq 200); do
        e2e_has_line "$E2E_LOG" "Battle won in Dojo" && return 0
        e2e_keys space
    done
    e2e_has_line "$E2E_LOG" "Battle won in Dojo"
}

# --- a new game, into the dojo ---
e2e_start_game "$PROGRAM"
e2e_keys space          # the start screen's dialog appears
e2e_keys space          # "*** NEW game ***"
e2e_keys k i r a Return
e2e_keys space          # the first difficulty
e2e_wait_for_console "New game Kira started" || e2e_fail "the new game did not start"
e2e_keys space          # the intro: any key walks into the town
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Town" || e2e_fail "entering the town did not save"
e2e_dismiss             # the welcome message types out and is dismissed
# The dojo's door by the pond. The last Right is held for a second, as a loaded machine may hold
# any key between its press and release: it is still one step, or the leader walks past the door.
e2e_keys Right Right Right Down Down Down Down Down Right Right Right
e2e_wait_ready
e2e_send_key_held Right 1
e2e_keys Up
e2e_wait_for_console "Battle started in Dojo" || e2e_fail "the dojo's battle did not start"
e2e_dismiss             # the dojo's title types out and is dismissed
fight_to_victory || e2e_fail "the battle was not won"
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Dojo" || e2e_fail "the victory did not save"
grep -q "SCENE Dojo .*BATTLEV 1" "$SAVE/game.save" || e2e_fail "the won battle is not in the save"
grep -q "^Character Ravi .*XP [1-9]" "$SAVE/people.save" || grep -q "^Character Ravi .*LEVEL [2-9]" "$SAVE/people.save" ||
    e2e_fail "the leader's experience is not in the save"
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion in the battle"
[ "$E2E_EXIT" = 0 ] || echo "WARNING: closing the first run ended with status $E2E_EXIT" >&2

# --- resumed in the dojo: the practice battle starts again ---
e2e_start_game "$PROGRAM"
e2e_keys space          # the list: "*** NEW game ***", "Kira"
e2e_keys Down space     # resume "Kira"
e2e_wait_for_console "Game Kira resumed" || e2e_fail "the game was not resumed"
e2e_wait_for_console "Battle started in Dojo" || e2e_fail "the resumed dojo did not start its battle"
e2e_dismiss             # the dojo's title
fight_to_victory || e2e_fail "the resumed battle was not won"
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion in the resumed run"
[ "$E2E_EXIT" = 0 ] || echo "WARNING: closing the resumed run ended with status $E2E_EXIT" >&2
echo "PASS"
