#!/bin/bash
# Plays the real program through X key events: a new game walks from the town into the arcade,
# through the first cabinet's door into the guess-the-number game, plays it to its end with
# typed guesses, and comes back out into the arcade, which saves the game again.
# Arguments: program, built run folder, source folder.
source "$(dirname "$0")/newgame_common.bash"
e2e_begin "$@"
SAVE="$E2E_WORK/SaveGames/Arcadia"

e2e_start_game "$PROGRAM"
e2e_keys space          # the start screen's dialog
e2e_keys space          # "*** NEW game ***"
e2e_keys a r c a d i a Return
e2e_keys space          # "Normal"
e2e_wait_for_console "New game Arcadia started" || e2e_fail "the new game did not start"
e2e_keys space          # the intro: any key walks into the town
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Town" || e2e_fail "entering the town did not save"
e2e_dismiss             # the welcome message types out and is dismissed
e2e_keys Up Up Right Right Right Right Right Up # up the road to the arcade's door
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Arcade" || e2e_fail "the arcade was not reached"
rm -f "$SAVE/game.save"
e2e_keys Left Left Left Left Left Up Up Up Up # before the first cabinet's door: its name comes up
e2e_dismiss             # read it
e2e_keys Up             # in through the door
e2e_wait_ready          # inside it, on its title
[ -e "$SAVE/game.save" ] && e2e_fail "a cabinet is not a save point"
e2e_keys space          # leaves the title
e2e_keys 5 Return
e2e_wait_colour 1x1+20+300 "rgb(50,0,0)" || e2e_fail "the guess-the-number screen is not showing"
# Three guesses of 5 at most; a right one ends the game early and the spare keys fall on the
# arcade, where they do nothing.
e2e_keys space BackSpace 5 Return space BackSpace 5 Return space
e2e_keys space          # "Game Over" -> back to the arcade
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Arcade" || e2e_fail "the game did not return to the arcade"
e2e_wait_colour not 1x1+20+300 "rgb(50,0,0)" || e2e_fail "the game screen is still showing after returning"
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion"
[ "$E2E_EXIT" = 0 ] || echo "WARNING: closing ended with status $E2E_EXIT" >&2
echo "PASS"
