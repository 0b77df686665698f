#!/bin/bash
# Plays the real program on the Mandelbrot nebula: resumes a save that stands on the nebula (the
# planet loads and its maze is generated), opens the chest with the nebula's map, steps onto the
# hidden stairs into the first depth level, zooms out there with the map shown, and climbs back
# up, which saves the game with the maze's seed kept. Arguments: program, built run folder, source.
source "$(dirname "$0")/newgame_common.bash"
e2e_begin "$@"
SAVE="$E2E_WORK/SaveGames/Nebula"
mkdir -p "$SAVE"
: >"$SAVE/people.save"
# A kept seed: the planet comes out the same every run (no hidden room under the first stairs).
printf "CURRENTSCENE MandelbrotNebula\nSTRVARS 1 MANDEL_RANDOM_SEED '2024'\n" >"$SAVE/game.save"

caches() { grep -c "^PopulateCache countBuffer_: 1920,1080$" "$E2E_LOG"; }
more_caches() { [ "$(caches)" -gt "$1" ]; }

e2e_start_game "$PROGRAM"
e2e_keys space Down space   # the resume list, the only save
e2e_wait_for_console "LOADING planet Mandelbrot" || e2e_fail "the Mandelbrot planet was not loaded"
before=$(caches)
e2e_keys Down space         # face the chest below and open it
e2e_dismiss                 # "Found MandelbrotMap!"
e2e_keys Up                 # onto the hidden stairs above
e2e_poll 30 more_caches "$before" || e2e_fail "the first depth level was not entered"
e2e_keys z                  # zoomed out, the map overlay and the small picture are drawn
e2e_wait_change 1920x1080+0+0 || e2e_fail "zooming out did not change the picture"
e2e_keys z
e2e_keys Up                 # the stairs up, right above the arrival
e2e_poll 30 grep -q "^SETVARS" "$SAVE/game.save" ||
    e2e_fail "climbing back to the nebula did not save the game"
grep -q "MANDEL_RANDOM_SEED '2024'" "$SAVE/game.save" || e2e_fail "the maze's seed is not kept"
grep -q "CURRENTSCENE MandelbrotNebula" "$SAVE/game.save" || e2e_fail "the save is not on the nebula"
grep -q "MandelbrotMap" "$SAVE/people.save" || e2e_fail "the map is not in the party"
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "the program stopped with an assertion"
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit status $E2E_EXIT"
exit 0
