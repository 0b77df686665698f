#!/bin/bash
# Plays the demo's route in the real program with X key events, as a new player would: the start
# screen (Back on the difficulty list keeps Normal), the intro, the town (walked with quick taps),
# the inn (bed, chest, lodger), the Old Quarter and each of its doors (star tower, bank, smithy,
# snow pass, the hall of wonders and its block vault, glow cave, magic shop, both garden doors,
# hedge maze), the dojo by the town's pond and its practice fight, the meadow (the cat joins),
# its launch pad and the flight to Ceres, Solaris (Orla, Tobin), back to the meadow through the
# dome's west gap and down its south path into the arena's battle; then, in a second run, the
# credits, back to the start screen, the resumed game and a flight to Mars. Screenshots of every
# stop go to e2e-screens/demo_route in the build folder.
# Arguments: program, built run folder, source folder.
set -u
PROGRAM=$(readlink -f "$1")
RUN_DIR="$2"
source "$(dirname "$0")/newgame_common.bash"
trap e2e_cleanup EXIT
# One tap per step, with room for slow frames on a busy machine.
export E2E_KEY_GAP="${E2E_KEY_GAP:-0.45}"

SHOTS="$(cd "$RUN_DIR/.." && pwd)/e2e-screens/demo_route"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
shot() { import -window "$E2E_WINDOW" "$SHOTS/$1.png" 2>/dev/null || e2e_fail "no screenshot $1"; }

# How much of a screen region has the given colour (0 to 1).
share_of() {
    convert "$SHOTS/$1.png" -crop "$2" +repage -fuzz 6% -fill white -opaque "$3" -fill black +opaque white \
        -format "%[fx:mean]" info:
}
has_colour() { awk -v m="$(share_of "$1" "$2" "$3")" 'BEGIN { exit !(m > 0.005) }'; }

e2e_start_display
e2e_make_work "$RUN_DIR"
SAVE="$E2E_WORK/SaveGames/Route"

# The window opens partly below the screen's edge; the pictures want all of it.
start_game() {
    e2e_start_game "$PROGRAM"
    xdotool windowmove --sync "$E2E_WINDOW" 0 0 2>/dev/null || xdotool windowmove "$E2E_WINDOW" 0 0
    sleep 0.5
}

# Sends the keys and waits until entering the scene has saved the game.
walk_into() {
    local scene="$1"
    shift
    rm -f "$SAVE/game.save"
    e2e_keys "$@"
    e2e_wait_for "$SAVE/game.save" "CURRENTSCENE $scene" 20 || e2e_fail "did not reach $scene"
}
# A scene's title or a short message: let it type out, then close it.
dismiss() {
    sleep "${1:-1.2}"
    e2e_keys space
}
# Talks to the person faced, lets the words type out, takes a picture, closes the box.
talk() {
    e2e_keys space
    sleep "$1"
    shot "$2"
    e2e_keys space
}

# --- a new game ---
start_game
shot 01_start
has_colour 01_start 900x160+510+250 "rgb(255,215,90)" || e2e_fail "no title on the start screen"
has_colour 01_start 1400x60+260+870 "rgb(200,200,220)" || e2e_fail "no key hint on the start screen"
e2e_keys space
shot 02_resume_list
e2e_keys space
e2e_keys r o u t e
shot 03_name
e2e_keys Return
sleep 0.3
shot 04_difficulty
e2e_keys Control_L      # Back keeps the difficulty as it is
e2e_wait_for_console "New game Route started" || e2e_fail "the new game did not start"
shot 05_intro
walk_into Town space
grep -qx "DIFFICULTY 1" "$SAVE/game.save" || e2e_fail "Back on the difficulty list changed the difficulty"
sleep 3.5
shot 06_town
e2e_keys space

# The inn, walked with quick taps: each tap comes while the step before is still walked.
E2E_KEY_GAP=0.15 walk_into TownHouse Up Up Left Left Left Left Left Left Up
e2e_keys Left Left Left Up Up   # to the bed's side; its note
sleep 3.5
shot 07_inn_bed
e2e_keys space Up               # close the note, face the bed
rm -f "$SAVE/game.save"
e2e_keys space                  # sleep
sleep 1.5
shot 08_inn_sleeping
e2e_wait_for_file "$SAVE/game.save" 10 || e2e_fail "sleeping did not save the game"
sleep 4.5                       # the night passes; the leader wakes below the bed
e2e_keys Down Right Right Right Right Right Right Up Up Up   # to the chest
e2e_keys space
sleep 1.2
shot 09_inn_chest
e2e_keys space
e2e_keys Down Left Left         # the lodger
talk 3 10_inn_lodger
walk_into Town Down Left Left Down

# South to the Old Quarter past the sign.
e2e_keys Down Down Down Down Right Right Right Right Right Down Down Down
sleep 3.5
shot 11_town_sign
e2e_keys space
walk_into Quarter Down
dismiss
shot 12_quarter

# The star tower.
e2e_keys Down Down Down Down Down Down Left Left Left Up Up
sleep 3.5
shot 13_star_tower
e2e_keys space
walk_into Quarter space
dismiss
# The bank.
walk_into Bank Down Left Left Left Left Left Left Left Up Up
dismiss
e2e_keys Up
talk 5.5 14_bank
walk_into Quarter Down Down
dismiss
# The smithy.
walk_into Smithy Down Right Right Right Right Up Up
dismiss
e2e_keys Right Up
talk 6 15_smithy
walk_into Quarter Down Left Down
dismiss
# The snow pass behind the castle.
walk_into SnowPass Down Right Right Right Right Right Right Right Right Right Right Up Up Up
dismiss
shot 16_snow_pass
walk_into Quarter Left Left Left Left Left Left Left Left Left Down Down
dismiss
# The hall of wonders under the pyramid, and the block vault behind the door in its east wall:
# the prize room's door shows in the vault's north wall before the puzzle is solved.
walk_into WonderHall Right Right Right Right Right Right Right Right Up
dismiss
walk_into BlockPuzzle Up Up Up Up Up Right Right Right Right Right Right Right Right Right Right
sleep 1
shot 16a_vault
dismiss 0.2
walk_into WonderHall Left
dismiss
walk_into Quarter Left Left Left Left Left Left Left Left Left Down Down Down Down Down Down
dismiss
# The glow cave: its torches burn while its title is read.
walk_into GlowCave Down Down Down Down Down Down Down Left Left Up
sleep 1
shot 17_cave_title
dismiss 0.2
e2e_keys Up Up Up Up
shot 18_cave
walk_into Quarter Down Down Down Down Down
dismiss
# The magic shop.
walk_into MagicShop Left Left Left Left Left Left Left Left Left Left Left Left Left Left Left Up
dismiss
e2e_keys Left Up
talk 7 19_magic_shop
walk_into Quarter Down Right Down
dismiss
# The garden through the tree house: the crane and the golem.
walk_into Garden Left Left Left Left Up
dismiss
e2e_keys Up Up Up Up Up Up Up Up Right Right Right Right Right Up
talk 5 20_garden_crane
e2e_keys Right Right Right Right Up
talk 3 21_garden_golem
walk_into Quarter Down Left Left Left Left Left Left Left Down Down Down Down Down Down Down Down Down Down
dismiss
# The hedge maze behind the circus.
walk_into HedgeMaze Left Left Left Left Left Left Left Up
dismiss
shot 22_hedge_maze
walk_into Quarter Right Right Right Right Right Right Right Right Down Down
dismiss
# The garden through the inn's door.
walk_into Garden Right Right Right Up Up Up Up Up Left Left Left Up Up
dismiss
walk_into Quarter Up Up Right Right Right Right Right Right Right Right Right Down Down Down Down
dismiss
# Back to the town.
walk_into Town Right Right Right Right Right Right Right Right Right Up Up Up Up Up Up Up Up Up Up Up Up

# The seed trail opens the east road; the seed waits in a chest.
e2e_keys Up Up Right Right Right Right Up Right
dismiss 1.5
e2e_keys Down space
sleep 1.5
shot 23_town_seed
e2e_keys space
# The dojo behind the red sign by the pond: its practice fight starts as the party steps in.
e2e_keys Right Down Down Down Right Right Up
e2e_wait_for_console "Battle started in Dojo" 20 || e2e_fail "the dojo's battle did not start"
sleep 1
shot 23a_dojo
dismiss 0.2
for i in $(seq 120); do
    e2e_has_line "$E2E_LOG" "Battle won in Dojo" && break
    e2e_keys space
    [ "$i" = 4 ] && shot 23b_dojo_fight
done
e2e_has_line "$E2E_LOG" "Battle won in Dojo" || e2e_fail "the dojo's fight was not won"
sleep 1
walk_into Town Left
# Round the dojo and out through the east gate.
walk_into Meadow Left Left Up Up Up Up Right Right Up Right Right Right
dismiss
e2e_keys Right Right Right Right Right
e2e_keys space
sleep 2
shot 24_meadow_cat
e2e_keys space
# Onto the launch pad under the rocket: Mars, Ceres or open space; Ceres, and the flight.
e2e_keys Right Right Right Right Right Up Up Up Up
sleep 0.5
shot 25_meadow_pad
rm -f "$SAVE/game.save"
e2e_keys Down space
e2e_wait_for_console "LOADING planet Ceres" 60 || e2e_fail "the flight did not reach Ceres"
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Solaris" 30 || e2e_fail "did not land in Solaris"
sleep 1.5
shot 26_planet
dismiss 0.2
# Round the rocket to Orla, down to Tobin, and out through the gap in the west wall.
e2e_keys Up Right Right Right Right Down
talk 6 27_planet_orla
e2e_keys Right Down Down Down Right
talk 3.5 28_planet_tobin
walk_into Meadow Left Left Left Left Left Left Up Left Left
dismiss
shot 29_meadow_again
grep -q "Bread 2" "$SAVE/people.save" || e2e_fail "the inn's bread is not with the party"
grep -q "StrengthSeed 1" "$SAVE/people.save" || e2e_fail "the seed is not with the party"
grep -q "SCENE TownHouse CHESTS 1 7 1 ''" "$SAVE/game.save" || e2e_fail "the inn's chest is not saved open"
# Along the meadow and down the path in the south hedge: the arena's battle starts on arrival.
e2e_keys Right Right Right Right Right Right Right Right Right Right Down Down Down Down Down
dismiss 3                       # the path's note
e2e_keys Down
e2e_wait_for_console "Battle started in Arena" 20 || e2e_fail "the arena's battle did not start"
sleep 1
shot 30a_arena
dismiss 0.2
for i in $(seq 12); do
    e2e_keys space
    [ "$i" = 6 ] && shot 30b_arena_fight
done
shot 30c_arena_fight
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion in the first run"

# --- the credits, back to the start screen, and the game resumed ---
start_game
e2e_keys F1
sleep 6
shot 30_credits
e2e_keys space
sleep 1
shot 31_back_at_start
has_colour 31_back_at_start 900x160+510+250 "rgb(255,215,90)" || e2e_fail "the credits did not return to the start screen"
e2e_keys Down space
e2e_wait_for_console "Game Route resumed" || e2e_fail "the game was not resumed"
sleep 1
shot 32_resumed
grep -qx "CURRENTSCENE Meadow" "$SAVE/game.save" || e2e_fail "the resumed game is not in the meadow"
# To the launch pad and off to Mars: Olympus Observatory on its red dust.
dismiss 0.2                     # the meadow's title
rm -f "$SAVE/game.save"
e2e_keys Right Right Right Right Right Right Right Right Right Up Up Up Up
sleep 0.5
e2e_keys space
e2e_wait_for_console "LOADING planet Mars" 60 || e2e_fail "the flight did not reach Mars"
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Olympus" 30 || e2e_fail "did not land in Olympus"
sleep 1.5
shot 33_mars
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion in the second run"
echo "PASS"
