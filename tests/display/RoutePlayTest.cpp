// The demo's route played in one process as the frame loop plays it: key codes into Game::update,
// every frame drawn, from a fixed seed, with frames as the only clock (the game reads the wall
// clock only to seed a planet it generates, which the route never visits, and to place the
// orrery, which saves nothing). Every save written on the way must match, byte for byte, the
// files kept in tests/data/route-play/: the last game.save and people.save whole, and each
// save before them by the frame it came on and a hash of each file. A change that moves a
// random draw, a frame or a byte of a save shows here.
//
// To write the expected files afresh from the code as it is (only when the game is meant to
// behave differently), run from build/run:
//   QUORVANE_WRITE_EXPECTED=1 xvfb-run -a -s "-screen 0 1920x1080x24 -noreset"
//   ../tests/quorvane_display_tests --gtest_filter='RoutePlay.*'
#include "support/RoutePlay.hpp"

namespace {

using route::RoutePlay;

TEST_F(RoutePlay, TheDemoRouteWritesTheSameSaves) {
    // A new game: the list of saves, its first line, the name, and Back on the difficulty list.
    keys({S, S, K::R, K::O, K::U, K::T, K::E, K::Enter, K::LControl});
    expectScene("Intro");
    keys({S});
    expectScene("Town");
    dismiss();
    // The inn, walked with quick taps: its bed's note, a night's sleep, its chest and lodger.
    taps({U, U, L, L, L, L, L, L, U});
    expectScene("TownHouse");
    keys({L, L, L, U, U});
    dismiss();
    keys({U, S});
    keys({D, R, R, R, R, R, R, U, U, U, S});
    dismiss();
    keys({D, L, L});
    talk();
    keys({D, L, L, D});
    expectScene("Town");
    // The Old Quarter past the sign, and each of its doors.
    keys({D, D, D, D, R, R, R, R, R, D, D, D});
    dismiss();
    keys({D});
    into("Quarter");
    keys({D, D, D, D, D, D, L, L, L, U, U}); // the star tower
    dismiss();
    keys({S});
    into("Quarter");
    keys({D, L, L, L, L, L, L, L, U, U});
    into("Bank");
    keys({U});
    talk();
    keys({D, D});
    into("Quarter");
    keys({D, R, R, R, R, U, U});
    into("Smithy");
    keys({R, U});
    talk();
    keys({D, L, D});
    into("Quarter");
    keys({D, R, R, R, R, R, R, R, R, R, R, U, U, U});
    into("SnowPass");
    keys({L, L, L, L, L, L, L, L, L, D, D});
    into("Quarter");
    keys({R, R, R, R, R, R, R, R, U});
    into("WonderHall");
    keys({U, U, U, U, U, R, R, R, R, R, R, R, R, R, R});
    into("BlockPuzzle");
    keys({L});
    into("WonderHall");
    keys({L, L, L, L, L, L, L, L, L, D, D, D, D, D, D});
    into("Quarter");
    keys({D, D, D, D, D, D, D, L, L, U});
    into("GlowCave");
    keys({U, U, U, U, D, D, D, D, D});
    into("Quarter");
    keys({L, L, L, L, L, L, L, L, L, L, L, L, L, L, L, U});
    into("MagicShop");
    keys({L, U});
    talk();
    keys({D, R, D});
    into("Quarter");
    keys({L, L, L, L, U});
    into("Garden");
    keys({U, U, U, U, U, U, U, U, R, R, R, R, R, U});
    talk(); // the crane
    keys({R, R, R, R, U});
    talk(); // the golem
    keys({D, L, L, L, L, L, L, L, D, D, D, D, D, D, D, D, D, D});
    into("Quarter");
    keys({L, L, L, L, L, L, L, U});
    into("HedgeMaze");
    keys({R, R, R, R, R, R, R, R, D, D});
    into("Quarter");
    keys({R, R, R, U, U, U, U, U, L, L, L, U, U});
    into("Garden");
    keys({U, U, R, R, R, R, R, R, R, R, R, D, D, D, D});
    into("Quarter");
    keys({R, R, R, R, R, R, R, R, R, U, U, U, U, U, U, U, U, U, U, U, U});
    expectScene("Town");
    // The seed in its chest on the east road, then the dojo's practice fight by the pond.
    keys({U, U, R, R, R, R, U, R});
    dismiss();
    keys({D, S});
    dismiss();
    keys({R, D, D, D, R, R, U});
    expectScene("Dojo");
    dismiss();
    fight();
    keys({L});
    expectScene("Town");
    keys({L, L, U, U, U, U, R, R, U, R, R, R});
    into("Meadow");
    keys({R, R, R, R, R});
    talk(); // the cat joins
    // The party menu's view of the leader, opened and closed.
    keys({keys::X, S, S});
    EXPECT_TRUE(shell->partyMenu.isOpen);
    EXPECT_EQ(shell->shownCharacter, roster->mainCharacterIndex);
    keys({keys::LControl, keys::LControl, keys::X});
    EXPECT_FALSE(shell->partyMenu.isOpen);
    // The launch pad: a flight to Ceres; Orla and Tobin in Solaris, then back through the gap.
    keys({R, R, R, R, R, U, U, U, U, D, S});
    expectScene("Solaris");
    dismiss();
    keys({D, D, R, R, R, R, R, U, U, L});
    talk();
    keys({D, D, R});
    talk();
    keys({L, L, L, L, L, L, U, L, L});
    into("Meadow");
    // Down the path in the meadow's south hedge into the arena's battle.
    keys({R, R, R, R, R, R, R, R, R, R, D, D, D, D, D});
    dismiss();
    keys({D});
    expectScene("Arena");
    dismiss();
    fight();
    waitReady();
    if (HasFatalFailure()) return; // a step that failed has said why; what follows would only echo it

    // What the route took is in the last save: the inn's bread and open chest, the seed, the cat.
    EXPECT_NE(lastPeople_.find("Bread 2"), std::string::npos);
    EXPECT_NE(lastPeople_.find("StrengthSeed 1"), std::string::npos);
    EXPECT_NE(lastGame_.find("SCENE TownHouse CHESTS 1 7 1 ''"), std::string::npos);
    EXPECT_NE(lastGame_.find("CURRENTSCENE Arena"), std::string::npos);
    EXPECT_NE(lastGame_.find("QUORVANE 2 Ravi Whiskers"), std::string::npos);
    compareWithRecorded("route-play");
}

} // namespace
