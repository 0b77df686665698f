// The frame update without a window: input flags, debouncing, the order of consumers, the
// pauses, the shard bookkeeping and the game variables.
#include "characters/People.hpp"
#include "game/FrameLoop.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Background.hpp"
#include "scenes/Scene.hpp"
#include "scenes/StepQueue.hpp"

#include "support/TestSupport.hpp"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

struct FakeJoystick : JoystickSource {
    JoystickState state;
    JoystickState read() override { return state; }
};

// A Game whose current scene is a rocket-flight scene: the frames that reach the scene go to a
// consumer that runs no scene code, so each test sees only the shell.
class GameFrame : public ::testing::Test {
protected:
    void SetUp() override {
        game = &g;
        people = &roster;
        auto pad = std::make_unique<FakeJoystick>();
        stick = pad.get();
        g.joystick = std::move(pad);
        roster.characters.push_back(Character("Ana"));
        roster.characters.push_back(Character("Bo"));
        Scene& s = g.scenes.addScene();
        s.name = "Pad";
        s.type = SCENE_SCREEN;
        s.grid.assign(4, std::vector<int>(4, 0));
    }
    void TearDown() override {
        displayTileSize = 120;
        displayWallHeight = 180;
    }
    void frame(std::vector<int> keyCodes = {}) { g.update(keyCodes, nullptr); }
    Scene& scene() { return g.scenes[0]; }

    Game g;
    People roster;
    FakeJoystick* stick = nullptr;
    GlobalsGuard globals_;
};

} // namespace

TEST_F(GameFrame, HeldCommandKeysFireOnlyAfterAFrameWithoutThem) {
    frame({keys::Space});
    EXPECT_TRUE(g.input.confirm);
    EXPECT_TRUE(g.input.confirmOrBackHeld);
    frame({keys::Space}); // key repeat
    EXPECT_FALSE(g.input.confirm);
    EXPECT_TRUE(g.input.confirmOrBackHeld);
    frame();
    EXPECT_FALSE(g.input.confirmOrBackHeld);
    frame({keys::Space});
    EXPECT_TRUE(g.input.confirm);
    // Any of the four command keys blocks all four in the next frame.
    frame({keys::Z});
    EXPECT_FALSE(g.input.action);
    frame();
    frame({keys::Z});
    EXPECT_TRUE(g.input.action);
    frame({keys::LControl, keys::X});
    EXPECT_FALSE(g.input.back);
    EXPECT_FALSE(g.input.menu);
    frame();
    frame({keys::X, keys::Space});
    EXPECT_TRUE(g.input.menu);
    EXPECT_TRUE(g.input.confirm);
}

// Space held for three seconds with the system's key repeat (a first repeat after 660 ms, then
// one every 40 ms, against frames of 33 ms): the frames without a repeat would let it confirm
// again and again; through the frame loop's filter it confirms once. A held arrow still repeats,
// and a release, or the window losing the focus, lets the next press through.
TEST_F(GameFrame, AHeldCommandKeyFiresOncePerPress) {
    auto hold = [&](int code, KeyPressFilter* filter) {
        int fired = 0, arrows = 0;
        std::int64_t nextEvent = 0;
        for (std::int64_t t = 0; t < 3000; t += 33) {
            std::vector<int> codes;
            for (; nextEvent < t + 33; nextEvent += nextEvent == 0 ? 660 : 40)
                if (!filter || filter->press(code)) codes.push_back(code);
            frame(codes);
            fired += g.input.confirm;
            arrows += g.input.leftHeld;
        }
        frame();
        return code == keys::Space ? fired : arrows;
    };
    EXPECT_GT(hold(keys::Space, nullptr), 5);
    KeyPressFilter filter;
    EXPECT_EQ(hold(keys::Space, &filter), 1);
    EXPECT_EQ(hold(keys::Space, &filter), 0); // never released
    // The release comes through a drain of the window outside the frame loop (the loading
    // screen's): it still counts.
    sf::Event released;
    released.type = sf::Event::KeyReleased;
    released.key.code = sf::Keyboard::Space;
    filter.noteDrained(released);
    EXPECT_EQ(hold(keys::Space, &filter), 1);
    filter.forget();
    EXPECT_EQ(hold(keys::Space, &filter), 1);
    EXPECT_GT(hold(keys::Left, &filter), 40);
}

TEST_F(GameFrame, ArrowsAreHeldOnEveryKeyPressAndPressedOnlyOnTheFirst) {
    frame({keys::Up});
    EXPECT_TRUE(g.input.upHeld);
    EXPECT_TRUE(g.input.upPressed);
    frame({keys::Up, keys::Up});
    EXPECT_TRUE(g.input.upHeld);
    EXPECT_FALSE(g.input.upPressed);
    // Another direction while one was on is no edge either.
    frame({keys::Left});
    EXPECT_TRUE(g.input.leftHeld);
    EXPECT_FALSE(g.input.leftPressed);
    frame();
    EXPECT_FALSE(g.input.leftHeld);
    frame({keys::Down, keys::Right});
    EXPECT_TRUE(g.input.downPressed);
    EXPECT_TRUE(g.input.rightPressed);
    // Arrows never block the commands.
    frame({keys::Space});
    EXPECT_TRUE(g.input.confirm);
}

TEST_F(GameFrame, JoystickAxesCountBeyondNinetyAndButtonsAreDebounced) {
    stick->state.axisX = 90;
    stick->state.axisY = -90;
    frame();
    EXPECT_FALSE(g.input.rightHeld || g.input.upHeld || g.input.leftHeld || g.input.downHeld);
    stick->state.axisX = 90.5f;
    stick->state.axisY = -100;
    frame();
    EXPECT_TRUE(g.input.rightHeld);
    EXPECT_TRUE(g.input.upHeld);
    EXPECT_TRUE(g.input.rightPressed);
    stick->state.axisX = -91;
    stick->state.axisY = 95;
    frame();
    EXPECT_TRUE(g.input.leftHeld);
    EXPECT_TRUE(g.input.downHeld);
    EXPECT_FALSE(g.input.leftPressed); // a direction was on the frame before
    stick->state = JoystickState{};

    stick->state.buttons[2] = true;
    frame();
    EXPECT_TRUE(g.input.confirm);
    EXPECT_TRUE(g.input.confirmOrBackHeld);
    // Holding the button blocks every command, keyboard included.
    frame({keys::LControl});
    EXPECT_FALSE(g.input.confirm);
    EXPECT_FALSE(g.input.back);
    stick->state.buttons[2] = false;
    frame();
    stick->state.buttons[0] = true;
    stick->state.buttons[3] = true;
    frame();
    EXPECT_TRUE(g.input.action);
    EXPECT_TRUE(g.input.menu);
    EXPECT_FALSE(g.input.confirmOrBackHeld);
    stick->state = JoystickState{};
    frame();
    stick->state.buttons[1] = true;
    frame();
    EXPECT_TRUE(g.input.back);
}

TEST_F(GameFrame, TheConfirmationDialogTakesTheFrameFirst) {
    int yes = 0;
    g.askAreYouSure([&] { ++yes; }, "Quit?");
    g.shownCharacter = 1;
    g.settingsOpen = true;
    testing::internal::CaptureStdout();
    frame({keys::Right});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Checking are you sure\n");
    EXPECT_EQ(g.lastConsumer, FrameConsumer::CONFIRM_DIALOG);
    EXPECT_TRUE(g.confirmYes);
    // Back and confirm together with Yes selected: closed, and the action runs.
    testing::internal::CaptureStdout();
    frame({keys::LControl, keys::Space});
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(g.confirmShown);
    EXPECT_EQ(yes, 1);
    // Asked again, the dialog shows the answer chosen the first time.
    g.askAreYouSure([&] { ++yes; }, "Again?");
    EXPECT_TRUE(g.confirmYes);
    EXPECT_EQ(g.confirmQuestion, "Again?");
    testing::internal::CaptureStdout();
    frame({keys::Left});
    frame();
    frame({keys::Space});
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(g.confirmShown);
    EXPECT_EQ(yes, 1);

    // Then the character view, which only back closes.
    frame({keys::Space});
    EXPECT_EQ(g.lastConsumer, FrameConsumer::CHARACTER_VIEW);
    EXPECT_EQ(g.shownCharacter, 1);
    frame();
    frame({keys::LControl});
    EXPECT_EQ(g.shownCharacter, NO_INDEX);
    EXPECT_EQ(g.lastConsumer, FrameConsumer::CHARACTER_VIEW);
    frame();
    EXPECT_EQ(g.lastConsumer, FrameConsumer::SETTINGS);
}

TEST_F(GameFrame, TheSettingsDialogMovesOnHeldFlagsAndKeepsTheRateInRange) {
    g.settingsOpen = true;
    frame({keys::Space});
    EXPECT_FALSE(g.autoDistributeWeapons);
    frame({keys::Down});
    frame({keys::Down});
    frame({keys::Down});
    EXPECT_EQ(g.settingsRow, 2);
    for (int i = 0; i < 6; ++i) frame({keys::Right});
    EXPECT_EQ(g.targetFps, 50);
    for (int i = 0; i < 10; ++i) frame({keys::Left});
    EXPECT_EQ(g.targetFps, 15);
    frame({keys::Up});
    frame();
    // Back closes the dialog, and the rest of the frame's steps still run.
    frame({keys::LControl, keys::Up});
    EXPECT_FALSE(g.settingsOpen);
    EXPECT_EQ(g.settingsRow, 0);
    EXPECT_EQ(g.lastConsumer, FrameConsumer::SETTINGS);
    EXPECT_TRUE(g.autoDistributeFood);
}

TEST_F(GameFrame, TheShardMapAndTelescopeComeAfterTheDialogs) {
    g.shardMap.shown = true;
    g.telescope.shown = true;
    for (int i = 0; i < 12; ++i) {
        frame({keys::Down});
        frame();
    }
    EXPECT_EQ(g.shardMap.selected, 9);
    EXPECT_EQ(g.lastConsumer, FrameConsumer::SHARD_MAP);
    for (int i = 0; i < 12; ++i) {
        frame({keys::Up});
        frame();
    }
    EXPECT_EQ(g.shardMap.selected, -1);
    frame({keys::Down, keys::LControl});
    EXPECT_FALSE(g.shardMap.shown);
    EXPECT_EQ(g.shardMap.selected, 0); // moved in the frame that hid it, kept afterwards
    frame();
    EXPECT_EQ(g.lastConsumer, FrameConsumer::TELESCOPE);
    frame({keys::LControl});
    EXPECT_FALSE(g.telescope.shown);
    frame();
    EXPECT_EQ(g.lastConsumer, FrameConsumer::WALKING_SCENE);
}

TEST_F(GameFrame, ActionTogglesTheZoomOnlyWhenNoDialogHoldsTheFrame) {
    roster.at(0).tile = {2, 1};
    roster.at(0).pixel = {250, 130}; // part-way between tiles
    scene().persons = {0};
    scene().flame.tile = {1, 3};
    g.settingsOpen = true;
    frame({keys::Z});
    EXPECT_TRUE(g.normalZoom);
    g.settingsOpen = false;
    frame();
    frame({keys::Z});
    EXPECT_FALSE(g.normalZoom);
    EXPECT_EQ(displayTileSize, 60);
    EXPECT_EQ(displayWallHeight, 90);
    EXPECT_EQ(roster.at(0).pixel, Point(240, 120));
    EXPECT_EQ(scene().flame.pixel, Point(120, 360));
    frame();
    frame({keys::Z});
    EXPECT_TRUE(g.normalZoom);
    EXPECT_EQ(displayTileSize, 120);
    EXPECT_EQ(displayWallHeight, 180);
    EXPECT_EQ(roster.at(0).pixel, Point(240, 120));
}

TEST_F(GameFrame, PausesTakeTheFrameInOrder) {
    g.pictureShown = true;
    g.switchPending = true;
    g.pendingScene = "Pad";
    g.sleeping = true;
    g.sleepFrame = 148;
    frame();
    EXPECT_EQ(g.lastConsumer, FrameConsumer::SLEEP);
    frame();
    EXPECT_FALSE(g.sleeping);
    for (int i = 0; i < 9; ++i) frame();
    EXPECT_EQ(g.lastConsumer, FrameConsumer::DELAYED_SWITCH);
    EXPECT_TRUE(g.switchPending);
    EXPECT_EQ(g.switchFrame, 9);
    // The pause flags make no scene switch happen here: that is tested on real scenes.
    g.switchPending = false;
    g.switchFrame = 0;
    // The picture stays for 10 frames whatever is pressed.
    for (int i = 0; i < 5; ++i) {
        frame({keys::Space});
        frame();
    }
    EXPECT_TRUE(g.pictureShown);
    EXPECT_EQ(g.pictureFrame, 10);
    frame({keys::LControl});
    EXPECT_FALSE(g.pictureShown);
    EXPECT_EQ(g.lastConsumer, FrameConsumer::PICTURE_VIEW);
}

TEST_F(GameFrame, WakingMovesDownOnlyOntoAFreeCellInsideTheMap) {
    Character& leader = roster.at(0);
    auto wake = [&](Point from) {
        leader.tile = from;
        leader.targetTile = from;
        leader.pixel = {from.x * 120, from.y * 120};
        g.sleeping = true;
        g.sleepFrame = 0;
        for (int i = 0; i < 150; ++i) frame();
        EXPECT_FALSE(g.sleeping);
        return leader.tile;
    };
    EXPECT_EQ(wake({1, 1}), Point(1, 2));
    EXPECT_EQ(leader.targetTile, Point(1, 2));
    EXPECT_EQ(leader.pixel, Point(120, 240));
    scene().blocked[0].insert({2, 2});
    EXPECT_EQ(wake({2, 1}), Point(2, 1));
    EXPECT_EQ(wake({0, 3}), Point(0, 3)); // the bottom row
}

TEST_F(GameFrame, ShardTransitionsApplyOnceWhenTheirConditionFirstHolds) {
    frame();
    EXPECT_EQ(g.shardState("Fire"), 0);
    g.BOOLVARS.insert("DROPPED_Chip");
    frame();
    EXPECT_EQ(g.shardState("Fire"), 2);
    EXPECT_EQ(g.SHARDLOCATION["Air"], "Saturn");
    EXPECT_EQ(g.SHARDLOCATION["Cave"], "Mercury");
    EXPECT_EQ(g.SHARDLOCATION["Forest"], "Neptune");
    g.obtainShard("Fire");
    frame();
    EXPECT_EQ(g.shardState("Fire"), 1);
    EXPECT_EQ(g.LASTSHARD, "Fire");

    g.chapter = 7;
    frame();
    for (const char* s : {"Moon", "Forest", "RitPliar", "Air"}) EXPECT_EQ(g.shardState(s), 2) << s;
    EXPECT_EQ(g.SHARDLOCATION["Water"], "CauchemarSystem");
    g.obtainShard("Moon");
    g.chapter = 8;
    frame();
    EXPECT_EQ(g.shardState("Moon"), 1);

    // The marks travel with BOOLVARS, so a loaded game keeps its later retrievals.
    Game loaded;
    game = &loaded;
    loaded.joystick = std::make_unique<FakeJoystick>();
    loaded.scenes.addScene().type = SCENE_ROCKET_FLIGHT;
    loaded.BOOLVARS = g.BOOLVARS;
    loaded.SHARDS = g.SHARDS;
    loaded.chapter = 8;
    loaded.update({}, nullptr);
    EXPECT_EQ(loaded.shardState("Moon"), 1);
    EXPECT_EQ(loaded.shardState("Fire"), 1);
    game = &g;

    g.BOOLVARS.insert("DROPPED_Chip2");
    frame();
    EXPECT_EQ(g.SHARDLOCATION["Rainbow"], "PinkBubblegum");
}

TEST_F(GameFrame, TheFinalBattleWonInChapterTenFinishesTheGame) {
    Scene& last = g.scenes.addScene();
    last.name = "FinalBattle";
    last.battle.won = true;
    g.chapter = 9;
    frame();
    EXPECT_FALSE(g.gameFinished);
    g.chapter = 10;
    // The last enemy has fallen, the battle not yet finished: no save may come after it.
    last.battle.inBattle = true;
    frame();
    EXPECT_TRUE(g.gameFinished);
}

TEST_F(GameFrame, F1OnTheStartScreenJumpsToTheCredits) {
    scene().name = "StartScreen";
    g.scenes.addScene().name = "CreditsStart";
    frame({keys::F1});
    EXPECT_EQ(g.currentScene, 1);
    EXPECT_EQ(g.previousScene, 0);
    frame({keys::F1});
    EXPECT_EQ(g.currentScene, 1);
}

TEST_F(GameFrame, TabRecordsTheLeadersTileAndPrintsBothSets) {
    roster.at(0).tile = {3, 1};
    scene().blockedHLocations = {{1, 2}, {0, 3}};
    scene().blockedLocations = {{2, 2}};
    testing::internal::CaptureStdout();
    frame({keys::Tab});
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "SetBlockedLocationsH 0 3 1 2 \nSetBlockedLocations 2 2 3 1 \n");
    EXPECT_TRUE(scene().blocked[0].count({3, 1}));
    EXPECT_TRUE(scene().blocked[0].count({2, 2}));
    EXPECT_TRUE(scene().blocked[1].count({1, 2}));
    // A dialog holding the frame leaves Tab unserved.
    g.settingsOpen = true;
    testing::internal::CaptureStdout();
    frame({keys::Tab});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

// Scripts that play the game send a key only when this says "ready": a key sent then must act,
// and each other answer must name something that would swallow it.
TEST_F(GameFrame, TheInputWaitSaysReadyOnlyWhenAKeyWouldAct) {
    EXPECT_STREQ(g.inputWait(), "ready");
    g.sleeping = true;
    EXPECT_STREQ(g.inputWait(), "sleeping");
    g.settingsOpen = true; // a dialog takes the frame before the pauses
    EXPECT_STREQ(g.inputWait(), "ready");
    g.settingsOpen = g.sleeping = false;
    g.switchPending = true;
    EXPECT_STREQ(g.inputWait(), "switching");
    g.switchPending = false;
    g.pictureShown = true;
    for (int i = 0; i < 10; ++i) {
        EXPECT_STREQ(g.inputWait(), "picture");
        frame();
    }
    EXPECT_STREQ(g.inputWait(), "ready");
    frame({keys::Space});
    EXPECT_FALSE(g.pictureShown);

    // A text box: confirm while it types completes the line, so the wait lasts until the page
    // is typed; a confirm then closes it.
    scene().type = SCENE_WALK;
    scene().message.setText("Two lines\nof text", nullptr);
    int frames = 0;
    while (std::string(g.inputWait()) == "typing" && frames < 100) {
        frame();
        ++frames;
    }
    EXPECT_STREQ(g.inputWait(), "ready");
    EXPECT_GE(frames, 9);
    EXPECT_TRUE(scene().message.isActive());
    frame({keys::Space});
    EXPECT_FALSE(scene().message.isActive());

    // A step under way, then taps queued behind it up to the queue's size.
    roster.at(0).walking = true;
    EXPECT_STREQ(g.inputWait(), "walking");
    for (std::size_t i = 0; i < StepQueue::CAPACITY; ++i) {
        EXPECT_STRNE(g.inputWait(), "steps queued");
        scene().stepQueue.step(false, false, true, false, true);
        for (int q = 0; q < StepQueue::QUIET_FRAMES; ++q) scene().stepQueue.step(false, false, false, false, true);
    }
    EXPECT_STREQ(g.inputWait(), "steps queued");
    roster.at(0).walking = false;
    EXPECT_STREQ(g.inputWait(), "steps queued");
    scene().stepQueue.clear();
    EXPECT_STREQ(g.inputWait(), "ready");
    scene().sequence.name = "Cutscene";
    EXPECT_STREQ(g.inputWait(), "sequence");
}

// ---------------------------------------------------------------------------------------------

TEST(GameVariables, AbsentNamesReadEmptyWithoutInserting) {
    Game g;
    EXPECT_EQ(g.getStrVar("ORIGIN"), "");
    EXPECT_TRUE(g.STRVARS.empty());
    g.clearStrVar("FLIGHT");
    EXPECT_EQ(g.STRVARS.count("FLIGHT"), 1u);
    EXPECT_EQ(g.getStrVar("FLIGHT"), "");
    g.setStrVar("FLIGHT", "Mars");
    EXPECT_EQ(g.getStrVar("FLIGHT"), "Mars");

    const std::set<std::string>& none = g.getSetVar("DESTINATIONS");
    EXPECT_TRUE(none.empty());
    EXPECT_FALSE(g.hasSetVar("DESTINATIONS"));
    g.addToSetVar("DESTINATIONS", "Ceres");
    g.addToSetVar("DESTINATIONS", "Ceres");
    EXPECT_EQ(g.getSetVar("DESTINATIONS"), std::set<std::string>{"Ceres"});
    EXPECT_TRUE(none.empty()); // the empty set handed out earlier stays valid and empty

    EXPECT_FALSE(g.isBoolVarSet("X"));
    g.BOOLVARS.insert("X");
    EXPECT_TRUE(g.isBoolVarSet("X"));
}

TEST(GameVariables, ShardsAndLandings) {
    Game g;
    EXPECT_EQ(g.shardState("RitPliar"), 1);
    EXPECT_EQ(g.shardState("Sun"), 0);
    EXPECT_EQ(g.SHARDS.count("Sun"), 0u);
    EXPECT_EQ(g.landingScenes.size(), 24u);
    EXPECT_EQ(g.landingScene("Jacarock"), "Brest");
    EXPECT_FATAL(g.landingScene("Pluto"), "ASSERT file Game line 512 : Pluto");
}

TEST(GameVariables, TheCoordsHintListsThePlacementsButTheShardScene) {
    Game g;
    g.mandelbrotPlacements[{2, 3, 1}] = "MandelbrotCompassScene";
    g.mandelbrotPlacements[{-1, 0, 3}] = "MandelbrotShardScene";
    g.mandelbrotPlacements[{0, 5, 2}] = "MandelbrotPotions";
    EXPECT_EQ(g.shardCoordsHint(), "Check out these coords: (0,5,2) (2,3,1) ");
}

TEST(GameVariables, TheConstructorDrawsTheSpaceDriftThenTheRocketAngle) {
    // Three draws for the drift, one for the angle, nothing else.
    std::srand(4044);
    const int r1 = std::rand(), r2 = std::rand();
    std::rand();
    const int expectedAngle = std::rand() % 360;
    const int next = std::rand();

    std::srand(4044);
    Game g;
    EXPECT_EQ(g.rocketFlight.space.kind, BG_SPACE);
    EXPECT_EQ(g.rocketFlight.space.items.size(), 500u);
    const float magnitude = (5000 + r2 % 5000) / 1000.0f;
    EXPECT_FLOAT_EQ(g.rocketFlight.space.driftSpeed, r1 % 2 == 1 ? magnitude : -magnitude);
    EXPECT_EQ(g.rocketFlight.angle, expectedAngle);
    EXPECT_EQ(std::rand(), next);
}

TEST(GameVariables, SceneLookups) {
    Game g;
    g.scenes.addScene().name = "A";
    g.scenes.addScene().name = "B";
    g.scenes.addScene().name = "A";
    EXPECT_EQ(g.findScene("A"), 0);
    EXPECT_EQ(g.findScene("B"), 1);
    EXPECT_EQ(g.findScene("C"), -1);
    EXPECT_EQ(&g.sceneByName("B"), &g.scenes[1]);
    EXPECT_FATAL(g.sceneByName("C"), "ASSERT file Game line 344 : C");
    EXPECT_FATAL(g.scenes.at(3), "ASSERT file Game line 495 : Scene");
}

TEST(GameVariables, ScenesNeverMoveWhenMoreAreAdded) {
    Game g;
    Scene* first = &g.scenes.addScene();
    first->name = "First";
    for (int i = 0; i < 200; ++i) g.scenes.addScene();
    EXPECT_EQ(&g.scenes[0], first);
    EXPECT_EQ(first->name, "First");
    long long count = 0;
    for (Scene& s : g.scenes) {
        (void)s;
        ++count;
    }
    EXPECT_EQ(count, 201);
}
