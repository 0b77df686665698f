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

SHOTS="$(cd "$RUN_DIR/.." && pwd)/e2e-screens/demo_route"
rm -rf "$SHOTS"
mkdir -p "$SHOTS"
# A picture of the window once the program has taken the keys sent and is ready for the next.
shot() {
    e2e_wait_ready
    shot_now "$1"
}
# The same at once, whatever the program is doing.
shot_now() { import -window "$E2E_WINDOW" "$SHOTS/$1.png" 2>/dev/null || e2e_fail "no screenshot $1"; }
has_colour() { awk -v m="$(e2e_colour_share "$SHOTS/$1.png" "$2" "$3")" 'BEGIN { exit !(m > 0.005) }'; }

e2e_start_display
e2e_make_work "$RUN_DIR"
SAVE="$E2E_WORK/SaveGames/Route"

# The window opens partly below the screen's edge; the pictures want all of it.
start_game() {
    e2e_start_game "$PROGRAM"
    xdotool windowmove --sync "$E2E_WINDOW" 0 0 2>/dev/null || xdotool windowmove "$E2E_WINDOW" 0 0
    # The title is drawn where the window now is.
    e2e_wait_colour 900x160+510+250 "rgb(255,215,90)" || e2e_fail "no title on the start screen"
}

# Sends the keys (with WALK_KEYS, e.g. e2e_taps, if set) and waits until entering the scene has
# saved the game.
walk_into() {
    local scene="$1"
    shift
    rm -f "$SAVE/game.save"
    ${WALK_KEYS:-e2e_keys} "$@"
    e2e_wait_for "$SAVE/game.save" "CURRENTSCENE $scene" 20 || e2e_fail "did not reach $scene"
}
# A scene's title or a short message: let it type out, then close it. (A number of seconds
# given, as older lines of this route do, is not needed: the program says when it has typed.)
dismiss() { e2e_dismiss; }
# Talks to the person faced, lets the words type out, takes a picture (the last argument names
# it), closes the box.
talk() {
    e2e_keys space
    e2e_wait_text
    shot "${!#}"
    e2e_keys space
}
# The text that opened on the last step: typed out, pictured, closed.
read_shot() {
    e2e_wait_text
    shot "$1"
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
shot 04_difficulty
e2e_keys Control_L      # Back keeps the difficulty as it is
e2e_wait_for_console "New game Route started" || e2e_fail "the new game did not start"
shot 05_intro
walk_into Town space
grep -qx "DIFFICULTY 1" "$SAVE/game.save" || e2e_fail "Back on the difficulty list changed the difficulty"
read_shot 06_town

# The inn, walked with quick taps: each tap comes while the step before is still walked.
WALK_KEYS=e2e_taps walk_into TownHouse Up Up Left Left Left Left Left Left Up
e2e_keys Left Left Left Up Up   # to the bed's side; its note
read_shot 07_inn_bed
e2e_keys Up                     # face the bed
rm -f "$SAVE/game.save"
e2e_keys space                  # sleep
e2e_wait_input sleeping
e2e_wait_change 1920x1080+0+0 || e2e_fail "the night does not fall"
shot_now 08_inn_sleeping
e2e_wait_for_file "$SAVE/game.save" 10 || e2e_fail "sleeping did not save the game"
# The night passes (the keys wait for it); the leader wakes below the bed.
e2e_keys Down Right Right Right Right Right Right Up Up Up   # to the chest
e2e_keys space
read_shot 09_inn_chest
e2e_keys Down Left Left         # the lodger
talk 10_inn_lodger
walk_into Town Down Left Left Down

# South to the Old Quarter past the sign.
e2e_keys Down Down Down Down Right Right Right Right Right Down Down Down
read_shot 11_town_sign
walk_into Quarter Down
dismiss
shot 12_quarter

# The star tower.
e2e_keys Down Down Down Down Down Down Left Left Left Up Up
read_shot 13_star_tower
walk_into Quarter space
dismiss
# The bank.
walk_into Bank Down Left Left Left Left Left Left Left Up Up
dismiss
e2e_keys Up
talk 14_bank
walk_into Quarter Down Down
dismiss
# The smithy.
walk_into Smithy Down Right Right Right Right Up Up
dismiss
e2e_keys Right Up
talk 15_smithy
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
read_shot 16a_vault
walk_into WonderHall Left
dismiss
walk_into Quarter Left Left Left Left Left Left Left Left Left Down Down Down Down Down Down
dismiss
# The glow cave: its torches burn while its title is read.
walk_into GlowCave Down Down Down Down Down Down Down Left Left Up
read_shot 17_cave_title
e2e_keys Up Up Up Up
shot 18_cave
walk_into Quarter Down Down Down Down Down
dismiss
# The magic shop.
walk_into MagicShop Left Left Left Left Left Left Left Left Left Left Left Left Left Left Left Up
dismiss
e2e_keys Left Up
talk 19_magic_shop
walk_into Quarter Down Right Down
dismiss
# The garden through the tree house: the crane and the golem.
walk_into Garden Left Left Left Left Up
dismiss
e2e_keys Up Up Up Up Up Up Up Up Right Right Right Right Right Up
talk 20_garden_crane
e2e_keys Right Right Right Right Up
talk 21_garden_golem
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
dismiss
e2e_keys Down space
read_shot 23_town_seed
# The dojo behind the red sign by the pond: its practice fight starts as the party steps in.
e2e_keys Right Down Down Down Right Right Up
e2e_wait_for_console "Battle started in Dojo" 20 || e2e_fail "the dojo's battle did not start"
read_shot 23a_dojo
for i in $(seq 120); do
    e2e_has_line "$E2E_LOG" "Battle won in Dojo" && break
    e2e_keys space
    [ "$i" = 4 ] && shot_now 23b_dojo_fight
done
e2e_has_line "$E2E_LOG" "Battle won in Dojo" || e2e_fail "the dojo's fight was not won"
e2e_wait_ready
walk_into Town Left
# Round the dojo and out through the east gate.
walk_into Meadow Left Left Up Up Up Up Right Right Up Right Right Right
dismiss
e2e_keys Right Right Right Right Right
talk 24_meadow_cat
# Onto the launch pad under the rocket: Mars, Ceres or open space; Ceres, and the flight.
e2e_keys Right Right Right Right Right Up Up Up Up
shot 25_meadow_pad
rm -f "$SAVE/game.save"
e2e_keys Down space
e2e_wait_for_console "LOADING planet Ceres" 60 || e2e_fail "the flight did not reach Ceres"
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Solaris" 30 || e2e_fail "did not land in Solaris"
read_shot 26_planet
# Below the pad and the globes to Orla, down to Tobin, and out through the gap in the west wall.
e2e_keys Down Down Right Right Right Right Right Up Up Left
talk 27_planet_orla
e2e_keys Down Down Right
talk 28_planet_tobin
walk_into Meadow Left Left Left Left Left Left Up Left Left
dismiss
shot 29_meadow_again
grep -q "Bread 2" "$SAVE/people.save" || e2e_fail "the inn's bread is not with the party"
grep -q "StrengthSeed 1" "$SAVE/people.save" || e2e_fail "the seed is not with the party"
grep -q "SCENE TownHouse CHESTS 1 7 1 ''" "$SAVE/game.save" || e2e_fail "the inn's chest is not saved open"
# Along the meadow and down the path in the south hedge: the arena's battle starts on arrival.
e2e_keys Right Right Right Right Right Right Right Right Right Right Down Down Down Down Down
dismiss                         # the path's note
e2e_keys Down
e2e_wait_for_console "Battle started in Arena" 20 || e2e_fail "the arena's battle did not start"
read_shot 30a_arena
for i in $(seq 12); do
    e2e_keys space
    [ "$i" = 6 ] && shot_now 30b_arena_fight
done
shot_now 30c_arena_fight
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion in the first run"

# --- the credits, back to the start screen, and the game resumed ---
start_game
e2e_keys F1
e2e_wait_colour not 900x160+510+250 "rgb(255,215,90)" || e2e_fail "the credits did not open"
shot 30_credits
e2e_keys space
e2e_wait_colour 900x160+510+250 "rgb(255,215,90)" || e2e_fail "the credits did not return to the start screen"
shot 31_back_at_start
e2e_keys Down space
e2e_wait_for_console "Game Route resumed" || e2e_fail "the game was not resumed"
shot 32_resumed
grep -qx "CURRENTSCENE Meadow" "$SAVE/game.save" || e2e_fail "the resumed game is not in the meadow"
# To the launch pad and off to Mars: Olympus Observatory on its red dust.
dismiss                         # the meadow's title
rm -f "$SAVE/game.save"
e2e_keys Right Right Right Right Right Right Right Right Right Up Up Up Up
e2e_wait_ready                  # the destinations are up
e2e_keys space
e2e_wait_for_console "LOADING planet Mars" 60 || e2e_fail "the flight did not reach Mars"
e2e_wait_for "$SAVE/game.save" "CURRENTSCENE Olympus" 30 || e2e_fail "did not land in Olympus"
read_shot 33_mars
e2e_stop_game
grep -q "ASSERT" "$E2E_LOG" && e2e_fail "a fatal assertion in the second run"
echo "PASS"
