#!/bin/bash
# Resumes, from the start screen of the real program, a saved game whose current scene lies on
# the planet Ceres: the planet must load on that first entry ("LOADING planet Ceres") and the
# program must close cleanly. Arguments: program, run folder, source folder.
source "$(dirname "$0")/newgame_common.bash"
e2e_begin "$@"
SAVE="$E2E_WORK/SaveGames/PlanetTrip"
mkdir -p "$SAVE"
: >"$SAVE/people.save"
printf 'CURRENTSCENE Solaris\n' >"$SAVE/game.save"

e2e_start_game "$PROGRAM"
e2e_keys space Down space   # the resume list, the only save
e2e_wait_for_console "LOADING planet Ceres" || e2e_fail "the planet was not loaded"
e2e_wait_ready
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion"
[ "$E2E_EXIT" = 0 ] || e2e_fail "exit status $E2E_EXIT"
exit 0
