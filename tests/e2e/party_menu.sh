#!/bin/bash
# Plays the party screens in the real program through X key events: resumes a game saved in the
# guildhall, recruits two travellers, opens the party menu with X, views a character, previews
# and equips a weapon, eats an apple, closes the menu, asks Sabio for advice, splits the teams so
# that a member moves from the party to the reserve, and walks out: the save made on the way out
# holds the new weapon, the eaten apple and both teams.
# Arguments: program, built run folder, source folder.
source "$(dirname "$0")/newgame_common.bash"
e2e_begin "$@"
SAVE="$E2E_WORK/SaveGames/Tess"
mkdir -p "$SAVE"
: >"$SAVE/people.save"
printf 'CURRENTSCENE Guildhall\n' >"$SAVE/game.save"

e2e_start_game "$PROGRAM"
e2e_keys space          # the start screen's list: "*** NEW game ***", "Tess"
e2e_keys Down space
e2e_wait_for_console "Game Tess resumed" || e2e_fail "the game in the guildhall was not resumed"

# The leader stands two tiles below Sabio, facing Mira; Tomas waits to the west.
e2e_keys space          # Mira joins
e2e_dismiss
e2e_keys Left space     # Tomas joins
e2e_dismiss
e2e_keys Down           # where Mira stood
e2e_keys Right space    # face the Greatsword's chest and open it
e2e_dismiss

# --- the party menu ---
e2e_keys x              # open
e2e_keys space space    # "View", the leader
e2e_keys Control_L Control_L   # close the view, back to the main list
e2e_keys Down space space      # "Use/Equip", the leader: the Greatsword heads the list
e2e_wait_for_console "ITEM 1 Greatsword (W) DMG:2 STR+2" 10 || e2e_fail "the item list did not list the Greatsword"
e2e_wait_for_console "Before STR : 7 after 8" 10 || e2e_fail "no equipment preview of the Greatsword"
e2e_keys space          # equip it: the Sword comes back into the list
e2e_wait_for_console "ITEM 1 Sword (W)     DMG:1.4 STR+1" 10 || e2e_fail "equipping did not return the Sword"
e2e_keys Down space     # eat an apple
e2e_poll 10 grep -q "^ITEM 2 Apple" "$E2E_LOG" || e2e_fail "the apple was not used"
e2e_keys Control_L Control_L x # out of the list, back to the main list, close

# --- Sabio's advice, then two teams ---
e2e_keys Up             # towards Sabio, two tiles north
e2e_keys space space    # "Give me advice on what to do"
e2e_dismiss
e2e_keys space Down Down space # "Create two teams"
e2e_wait_for_console "Done active" 10 || e2e_fail "the exchange menu did not open"
e2e_keys Down space     # Mira from the party to the reserve
e2e_keys Control_L

# --- out into the old quarter: a save point ---
e2e_keys Down Down Down
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Quarter" 30 || e2e_fail "leaving the guildhall did not save"
grep -qx "QUORVANE 1 Ravi " "$SAVE/game.save" || e2e_fail "the party is not the leader alone: $(grep QUORVANE "$SAVE/game.save")"
grep -qx "SPAREQUORVANE 2 Mira Tomas " "$SAVE/game.save" || e2e_fail "the reserve is not Mira and Tomas"
grep -q "^Character Ravi .* WEAPON Greatsword " "$SAVE/people.save" || e2e_fail "the Greatsword is not equipped in the save"
grep -q "^Character Ravi .*ITEMS [0-9]* .*Apple 2 " "$SAVE/people.save" || e2e_fail "the eaten apple is not in the save"
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion"
[ "$E2E_EXIT" = 0 ] || echo "WARNING: closing ended with status $E2E_EXIT" >&2
echo "PASS"
