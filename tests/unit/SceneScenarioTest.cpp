// The demo town played through the real Game with key presses: talk, the guards at the gate,
// the chest, the lost key and the gate it opens, the inn's door and back, the road to the meadow,
// the south gate to the old quarter.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <unistd.h>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct NoStick : JoystickSource {
    JoystickState read() override { return {}; }
};

class DemoTown : public ::testing::Test {
protected:
    void SetUp() override {
        resources = nullptr; // no display here; the scenes' music is left out below
        people = &roster;
        magicRepository = &spells;
        itemList = &catalogue;
        potionRepository = &potions;
        game = &g;
        g.joystick = std::make_unique<NoStick>();
        g.readGameFile(nullptr, 0.5f);
        for (const char* file : {"Intro", "Town", "TownHouse", "Meadow", "Quarter"}) {
            Scene& s = g.scenes.addScene();
            s.load(std::string("Game/") + file + "_scene.txt");
            s.music.clear();
        }
        // Its own save folder: the suite runs these tests side by side in one folder.
        g.playerName = saveName();
        fs::remove_all(saveFolder());
        fs::create_directories(saveFolder());
    }
    void TearDown() override {
        fs::remove_all(saveFolder());
        displayTileSize = 120;
        displayWallHeight = 180;
    }
    static std::string saveName() { return "H5DemoTown" + std::to_string(::getpid()); }
    static std::string saveFolder() { return "SaveGames/" + saveName(); }

    void press(int key) {
        g.update({key}, nullptr);
        g.update({}, nullptr);
    }
    Scene& scene() { return g.current(); }
    Character& leader() { return roster.mainCharacter(); }
    // Confirms until no text box of the scene is open.
    void closeText() {
        for (int i = 0; i < 200 && scene().textBoxActive(); ++i) press(keys::Space);
        ASSERT_FALSE(scene().textBoxActive());
    }
    // Lets the delayed switch of a walking scene happen.
    void settle() {
        for (int i = 0; i < 15 && (g.switchPending || leader().walking); ++i) g.update({}, nullptr);
    }
    int arrowKey(Direction d) {
        return d == WEST ? keys::Left : d == EAST ? keys::Right : d == NORTH ? keys::Up : keys::Down;
    }
    // One tile in a direction; the key is held for one frame and the step allowed to finish.
    void stepOnce(Direction d) {
        g.update({arrowKey(d)}, nullptr);
        for (int i = 0; i < 8 && leader().walking; ++i) g.update({}, nullptr);
    }
    // Walks the shortest free path to the target; stops early when a text box opens.
    void walkTo(Point target) {
        Scene& s = scene();
        std::set<Point> people;
        for (int i : s.persons) people.insert(roster.at(i).tile);
        std::map<Point, Point> from;
        std::deque<Point> queue{leader().tile};
        from[leader().tile] = leader().tile;
        while (!queue.empty() && !from.count(target)) {
            Point p = queue.front();
            queue.pop_front();
            for (Direction d : DIRECTIONS) {
                Point n = p;
                movePoint(n, d, 1);
                if (!s.isInside(n) || s.isBlocked(n, false) || people.count(n) || from.count(n)) continue;
                from[n] = p;
                queue.push_back(n);
            }
        }
        ASSERT_TRUE(from.count(target)) << "no path to " << target.x << "," << target.y;
        std::vector<Point> path;
        for (Point p = target; p != leader().tile; p = from[p]) path.insert(path.begin(), p);
        for (Point next : path) {
            stepOnce(directionTo(leader().tile, next));
            ASSERT_EQ(leader().tile, next);
            if (scene().textBoxActive()) return;
        }
    }
    std::string saveText() {
        std::ifstream in(saveFolder() + "/game.save");
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    Game g;
    People roster;
    MagicRepository spells;
    ItemList catalogue;
    PotionRepository potions;
    CatchFatal catcher;

private:
    GlobalsGuard globals_;
};

} // namespace

TEST_F(DemoTown, WalkTalkOpenTriggerDoorAndRoad) {
    ASSERT_TRUE(g.gotoScene("Intro", true, nullptr));
    ASSERT_EQ(scene().name, "Intro");
    press(keys::Space); // any key
    ASSERT_EQ(scene().name, "Town");
    EXPECT_EQ(leader().tile, Point(10, 7));
    EXPECT_TRUE(fs::exists(saveFolder() + "/game.save")); // a walking scene entered from the intro
    EXPECT_EQ(scene().message.lines.at(0), "Welcome to Brookvale, traveller! The inn is just up the road.");
    closeText();

    // Talk to the crane.
    walkTo({9, 7});
    stepOnce(NORTH); // it stands there: the leader turns to it
    EXPECT_EQ(leader().tile, Point(9, 7));
    EXPECT_EQ(leader().facing, NORTH);
    press(keys::Space);
    ASSERT_TRUE(scene().monolog.isActive());
    EXPECT_EQ(scene().monolog.speakerName, "Crane");
    EXPECT_EQ(scene().monolog.lines.size(), 3u);
    closeText();

    // The guards at the shut east gate speak one at a time, each in a box of his own.
    walkTo({17, 7});
    stepOnce(NORTH); // Guard1 stands there: the leader turns to him
    EXPECT_EQ(leader().tile, Point(17, 7));
    press(keys::Space);
    ASSERT_TRUE(scene().monolog.isActive());
    EXPECT_EQ(scene().monolog.speakerName, "Guard1");
    EXPECT_FALSE(scene().dialog.isActive());
    closeText();

    // The chest.
    const int elixir = catalogue.indexOf("Elixir");
    walkTo({10, 8});
    stepOnce(SOUTH);
    press(keys::Space);
    EXPECT_EQ(scene().chestAt({10, 9})->item, "");
    EXPECT_EQ(leader().inventory[elixir], 1);
    closeText();

    // The guards' lost key glints on the path above the seed's chest: picking it up sets the
    // flag, opens the east gate and changes what the guards say.
    EXPECT_TRUE(scene().isBlocked({18, 7}, false));
    walkTo({14, 9});
    EXPECT_TRUE(g.isBoolVarSet("FoundSeedTrail"));
    EXPECT_TRUE(roster.partyHasItemNamed("OldKey"));
    EXPECT_EQ(scene().message.lines.at(0), "The gate key! The east road is open.");
    EXPECT_EQ(scene().monologs.at(roster.indexOf("Guard1")).lines.at(0).rfind("Thanks to you", 0), 0u);
    closeText();
    stepOnce(SOUTH); // the chest: the leader turns to it
    EXPECT_EQ(leader().tile, Point(14, 9));
    press(keys::Space);
    EXPECT_EQ(scene().message.lines.at(0), "You found Strength Seed!");
    EXPECT_EQ(leader().inventory[catalogue.indexOf("StrengthSeed")], 1);
    EXPECT_FALSE(scene().isBlocked({18, 7}, false));
    EXPECT_EQ(scene().grid[18][7], scene().legend.at('='));
    closeText();
    // Stepping where the key lay again does nothing.
    stepOnce(EAST);
    stepOnce(WEST);
    EXPECT_FALSE(scene().textBoxActive());

    // Through the inn's door and back out.
    walkTo({4, 5});
    stepOnce(NORTH);
    settle();
    ASSERT_EQ(scene().name, "TownHouse");
    EXPECT_EQ(leader().tile, Point(4, 4));
    const std::string saved = saveText();
    EXPECT_NE(saved.find("CURRENTSCENE TownHouse"), std::string::npos);
    EXPECT_NE(saved.find("SCENE Town CHESTS 2 10 9 '' 14 10 '' BATTLEV 0 IFSPLAYED 2 <ALWAYS Welcome> <ITEM OldKey>"), std::string::npos);
    stepOnce(SOUTH);
    settle();
    ASSERT_EQ(scene().name, "Town");
    EXPECT_EQ(leader().tile, Point(4, 5));
    EXPECT_FALSE(scene().textBoxActive()); // the welcome was once per game

    // Out by the east road to the meadow and back.
    walkTo({19, 7});
    stepOnce(EAST);
    settle();
    ASSERT_EQ(scene().name, "Meadow");
    EXPECT_EQ(leader().tile, Point(1, 7));
    EXPECT_EQ(scene().message.lines.at(0), "The Meadow");
    EXPECT_EQ(scene().persons, std::vector<int>{roster.indexOf("Whiskers")});
    closeText();
    stepOnce(WEST);
    stepOnce(WEST);
    settle();
    ASSERT_EQ(scene().name, "Town");
    EXPECT_EQ(leader().tile, Point(18, 7));

    // South through the gate to the old quarter and back; the sign by the gate speaks once.
    walkTo({9, 12});
    EXPECT_EQ(scene().message.lines.at(0).rfind("A weathered sign", 0), 0u);
    closeText();
    stepOnce(SOUTH);
    settle();
    ASSERT_EQ(scene().name, "Quarter");
    EXPECT_EQ(leader().tile, Point(20, 1)); // beside the quarter's way back, walking on away from it
    closeText();
    stepOnce(NORTH);
    settle();
    ASSERT_EQ(scene().name, "Town");
    EXPECT_EQ(leader().tile, Point(9, 12));
    EXPECT_FALSE(scene().textBoxActive());
}

TEST_F(DemoTown, TapsDuringAStepAreWalkedAndAHeldKeyStopsWhereItIsLetGo) {
    ASSERT_TRUE(g.gotoScene("Intro", true, nullptr));
    press(keys::Space);
    ASSERT_EQ(scene().name, "Town");
    closeText();
    ASSERT_EQ(leader().tile, Point(10, 7));
    // Three taps a few frames apart: the second and third come while the first step is walked.
    for (int key : {keys::Right, keys::Right, keys::Down}) {
        g.update({key}, nullptr);
        g.update({}, nullptr);
        g.update({}, nullptr);
    }
    for (int i = 0; i < 30; ++i) g.update({}, nullptr);
    EXPECT_EQ(leader().tile, Point(12, 8));

    // A held key repeats at about the frame rate, now and then skipping a frame; once it is let
    // go the leader stops on the tile it was walking to.
    Point walkingTo = leader().tile;
    for (int f = 0; f < 30; ++f) {
        g.update(f % 5 == 4 ? std::vector<int>{} : std::vector<int>{keys::Left}, nullptr);
        walkingTo = leader().targetTile;
    }
    for (int i = 0; i < 30; ++i) g.update({}, nullptr);
    EXPECT_EQ(leader().tile, walkingTo);
    EXPECT_LT(leader().tile.x, 12);
}
