#!/bin/bash
# Starts the real program on the demo, lets it run frames on the start screen (the frame rate in
# the corner is drawn in a new colour every frame), closes it with Escape and expects exit
# status 0. Arguments: program, run folder, source folder.
source "$(dirname "$0")/newgame_common.bash"
e2e_begin "$@"

e2e_start_game "$PROGRAM"
grep "^First frame after" "$E2E_LOG"
# The window opens partly below the screen's edge; the corner is wanted.
xdotool windowmove --sync "$E2E_WINDOW" 0 0 2>/dev/null || xdotool windowmove "$E2E_WINDOW" 0 0
for frame in 1 2 3; do
    e2e_wait_change 150x100+1770+970 || e2e_fail "the start screen does not run frames"
done
e2e_stop_game
[ "$E2E_EXIT" = killed ] && e2e_fail "program still running after Escape"
[ "$E2E_EXIT" = 0 ] || e2e_fail "exit status $E2E_EXIT"
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion"
exit 0
