#!/bin/bash
# Plays the real program through X key events: resumes a game saved on Bombinhas beach, walks
# onto the rocket pad, chooses Mars, flies there and lands at Olympus Observatory (the planet
# loads on the way), then uses the observatory's telescope and its star chart of the shards.
# Arguments: program, built run folder, source folder.
source "$(dirname "$0")/newgame_common.bash"
e2e_begin "$@"
SAVE="$E2E_WORK/SaveGames/Astra"
mkdir -p "$SAVE"
: >"$SAVE/people.save"
printf 'CURRENTSCENE Bombinhas\n' >"$SAVE/game.save"

e2e_start_game "$PROGRAM"
e2e_keys space          # the list: "*** NEW game ***", "Astra"
e2e_keys Down space     # resume "Astra"
e2e_wait_for_console "Game Astra resumed" || e2e_fail "the game was not resumed"
e2e_dismiss             # the beach's title types out and is dismissed
e2e_keys Left Up        # onto the pad under the rocket: the destinations come up
e2e_keys space          # "Mars", the first of them
e2e_wait_for_console "LOADING planet Mars" 60 || e2e_fail "the flight did not reach Mars"
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Olympus" || e2e_fail "the landing did not reach the observatory"
grep -q "^ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion during the flight"
e2e_dismiss             # the observatory's title types out and is dismissed
e2e_keys Right Right Right Right Right Right Right Right Right Right # along the deck
e2e_keys Up Up space    # up to the telescope, face it and look through it
e2e_wait_for_console "Telescope turned to Earth" 10 || e2e_fail "the telescope did not open"
e2e_keys Control_L      # back from the telescope
e2e_keys Down Down space # one step down, face the star chart and open it
e2e_wait_for_console "Shard map opened" 10 || e2e_fail "the shard map did not open"
e2e_keys Down Down Down Control_L # move the selection, then close the map
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion"
[ "$E2E_EXIT" = 0 ] || echo "WARNING: closing ended with status $E2E_EXIT" >&2
echo "PASS"
