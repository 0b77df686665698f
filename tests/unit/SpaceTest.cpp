// Chapter ends, space gates, rocket trips and the map views, through the Game's and the scenes'
// own updates, without a window.
#include "SceneTestWorld.hpp"

#include "minigames/RocketTravel.hpp"
#include "minigames/ShardMap.hpp"
#include "minigames/SpaceGates.hpp"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>

namespace {

class Space : public SceneWorld {
protected:
    void SetUp() override {
        SceneWorld::SetUp();
        Item chip;
        chip.name = "Chip";
        chip.type = Item::SPECIAL;
        items.items.push_back(chip);
        shell->createTravelScenes();
        // No store in these tests: the travel scenes play no music.
        for (Scene& s : shell->scenes) s.music.clear();
    }
    // A silent scene of a type, by name.
    Scene& place(const std::string& name, int type = SCENE_SCREEN) {
        Scene& s = shell->scenes.addScene();
        s.name = name;
        s.type = type;
        s.grid.assign(30, std::vector<int>(20, 0));
        return s;
    }
    void makeCurrent(const std::string& name) {
        shell->currentScene = shell->findScene(name);
        shell->previousScene = shell->currentScene;
    }
    std::string current() { return shell->current().name; }
    // One whole frame of the Game with the given keys.
    void gameFrame(std::vector<int> keyCodes = {}) { shell->update(keyCodes, nullptr); }
    void gameFrames(int n) {
        for (int i = 0; i < n; ++i) gameFrame();
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Chapters

TEST_F(Space, EachChapterRowFiresOnItsGoalAndNotBesideIt) {
    place("Solaris", SCENE_WALK);
    place("CeresCastleF3", SCENE_WALK);
    place("SolarSystem", SCENE_SPACE);
    place("Elsewhere", SCENE_WALK);
    struct Row {
        int chapter;
        const char* scene;
        Point leader;
        std::function<void()> setUp;
        const char* answer;
    };
    auto shards = [this](std::vector<std::string> names) {
        return [this, names] {
            for (const std::string& n : names) shell->SHARDS[n] = 1;
        };
    };
    auto won = [this](const char* scene) {
        return [this, scene] { shell->sceneByName(scene).battle.won = true; };
    };
    auto gamerWithChip = [this] {
        shell->BOOLVARS.insert("TalkedGamer");
        roster.at(0).addItemCount(items.indexOf("Chip"), 1);
    };
    const Row rows[] = {
        {1, "Solaris", {25, 15}, shards({"Moon"}), "Chapter1End"},
        {1, "Solaris", {25, 14}, shards({"Moon"}), ""},
        {1, "Solaris", {25, 15}, [] {}, ""},
        {1, "Elsewhere", {25, 15}, shards({"Moon"}), ""},
        {2, "Solaris", {3, 3}, gamerWithChip, "Chapter2End"},
        {2, "Solaris", {3, 3}, [this] { shell->BOOLVARS.insert("TalkedGamer"); }, ""},
        {3, "Solaris", {3, 3}, shards({"Air"}), "Chapter3End"},
        {3, "Solaris", {3, 3}, shards({"Forest"}), ""},
        {4, "Solaris", {3, 3}, shards({"Forest"}), "Chapter4End"},
        {5, "Solaris", {25, 15}, won("Solaris"), "Chapter5End"},
        {5, "Solaris", {24, 15}, won("Solaris"), ""},
        {5, "Solaris", {25, 15}, [] {}, ""},
        {6, "CeresCastleF3", {11, 6}, won("CeresCastleF3"), "Chapter6End"},
        {6, "CeresCastleF3", {11, 5}, won("CeresCastleF3"), ""},
        {6, "Solaris", {11, 6}, won("Solaris"), ""},
        {7, "SolarSystem", {0, 0}, [] {}, ""},
        {7, "SolarSystem", {0, 0}, shards({"Sun"}), "Chapter7End"},
        {8, "SolarSystem", {0, 0}, shards({"Sun"}), ""},
        {8, "SolarSystem", {0, 0}, shards({"Water", "Princess"}), "Chapter8End"},
        {9, "SolarSystem", {0, 0}, shards({"Water", "Sun"}), ""},
        {9, "SolarSystem", {0, 0}, shards({"Water", "Princess", "Sun"}), "Chapter9End"},
        {9, "Solaris", {0, 0}, shards({"Water", "Princess", "Sun"}), ""},
        {10, "SolarSystem", {25, 15}, shards({"Water", "Princess", "Sun", "Moon", "Air"}), ""},
    };
    for (const Row& row : rows) {
        shell->SHARDS = {{"RitPliar", 1}};
        shell->BOOLVARS.clear();
        roster.at(0).inventory.clear();
        for (Scene& s : shell->scenes) s.battle.won = false;
        row.setUp();
        shell->chapter = row.chapter;
        makeCurrent(row.scene);
        roster.at(0).tile = row.leader;
        EXPECT_EQ(shell->checkChapterEnd(), row.answer)
            << "chapter " << row.chapter << " in " << row.scene << " at " << row.leader.x << ","
            << row.leader.y;
    }
    // A stolen shard counts as collected too.
    shell->SHARDS = {{"Sun", 2}};
    shell->chapter = 7;
    makeCurrent("SolarSystem");
    EXPECT_EQ(shell->checkChapterEnd(), "Chapter7End");
}

TEST_F(Space, AChapterEndRunsThroughTheFrameUpdateAndNoSecondRowReplacesIt) {
    Scene& solaris = load(square("Solaris"));
    solaris.grid.assign(28, std::vector<int>(18, solaris.grid[1][1]));
    for (int n = 1; n <= 9; ++n) place("Chapter" + std::to_string(n) + "End");
    enter(solaris, "Start");
    shell->previousScene = -1; // entered from elsewhere: a switch from here waits
    roster.at(0).setTilePosition({25, 15});
    shell->SHARDS["Moon"] = 1;
    gameFrame();
    EXPECT_EQ(shell->chapter, 2);
    EXPECT_TRUE(shell->switchPending);
    gameFrames(10);
    EXPECT_EQ(current(), "Chapter1End");
    EXPECT_EQ(shell->chapter, 2);

    // Two of the three great shards held in chapter 7: chapter 8's row holds as well during the
    // delayed switch, but the pending end stays chapter 7's.
    Scene& system = load(square("SolarSystem"));
    enter(system, "Chapter1End");
    shell->previousScene = -1;
    shell->chapter = 7;
    shell->SHARDS["Water"] = 1;
    shell->SHARDS["Sun"] = 1;
    gameFrame();
    EXPECT_EQ(shell->chapter, 8);
    EXPECT_EQ(shell->pendingScene, "Chapter7End");
    gameFrames(9);
    EXPECT_EQ(shell->chapter, 8);
    EXPECT_EQ(shell->pendingScene, "Chapter7End");
    gameFrame();
    EXPECT_EQ(current(), "Chapter7End");
    // Back in the system, the next row fires on its own.
    enter(system, "Chapter7End");
    shell->previousScene = -1;
    gameFrame();
    EXPECT_EQ(shell->chapter, 9);
    EXPECT_EQ(shell->pendingScene, "Chapter8End");
}

TEST_F(Space, TheFinalOpponentGetsThePartysPowerAndTheShieldRing) {
    roster.characters.emplace_back("MadScientist");
    Item ring;
    ring.name = "ShieldGenRing";
    ring.type = Item::ACCESSORY;
    ring.bonuses[AMR] = 3;
    items.items.push_back(ring);
    roster.reserve = {1, 2, 3};
    shell->autoDistributeFood = false;
    shell->autoDistributeWeapons = false;
    Scene& hq = place("HQ");
    shell->prepareMadScientist(hq);
    EXPECT_EQ(roster.party, (std::set<int>{0, 1, 2, 3}));
    EXPECT_TRUE(roster.reserve.empty());
    Character& scientist = who("MadScientist");
    EXPECT_EQ(scientist.accessory1, items.indexOf("ShieldGenRing"));
    const int armour = scientist.stats[AMR];
    shell->prepareMadScientist(hq); // the old ring's bonus comes off before the new one goes on
    EXPECT_EQ(scientist.stats[AMR], armour);
    roster.characters.pop_back();
    EXPECT_EQ(fatalDetail([&] { shell->prepareMadScientist(hq); }), "MadScientist");
}

// ---------------------------------------------------------------------------------------------
// Space gates

TEST_F(Space, AGateReadsItsLineAndOpensByItsShardsQuests) {
    SpaceChapterGate gate;
    std::istringstream line("4 5 Water");
    gate.read(line);
    EXPECT_EQ(gate.tile, (Point{4, 5}));
    EXPECT_EQ(gate.chapter, "Water");
    EXPECT_EQ(gate.destination, "");
    EXPECT_EQ(gate.shards, (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(gate.isOpen());
    std::istringstream bad("x 5 Water");
    EXPECT_EQ(fatalDetail([&] { SpaceChapterGate g; g.read(bad); }), "x");

    SpaceChapterGate water;
    std::istringstream full("1 1 Water Tidewell Water Sun");
    water.read(full);
    EXPECT_TRUE(water.isOpen()); // no quest runs yet, though neither shard is held
    shell->BOOLVARS.insert(shardQuestFlag("Sun"));
    EXPECT_FALSE(water.isOpen());
    shell->SHARDS["Sun"] = 2; // stolen counts as held
    EXPECT_TRUE(water.isOpen());
    shell->BOOLVARS.insert("GettingWaterShard");
    EXPECT_FALSE(water.isOpen());
    shell->SHARDS["Water"] = 1;
    EXPECT_TRUE(water.isOpen());
}

TEST_F(Space, AGateTripStartsOnArrivalRunsFiveHundredFramesAndRecordsTheChaptersQuest) {
    Scene& dest = place("Tidewell");
    Scene& field = load(square("Field", "If Gates ALWAYS\nSpaceChapterGate 4 3 Water Tidewell Water Sun\n"
                                        "SpaceChapterGate 4 3 Air Elsewhere Air\nEndIf\n"));
    enter(field, "Start");
    ASSERT_EQ(field.gates.size(), 1u); // a second gate on the same tile is not placed
    // While the Water quest runs without the shard, walking over the gate does nothing.
    shell->BOOLVARS.insert("GettingWaterShard");
    roster.at(0).setTilePosition({3, 3});
    for (int i = 0; i < 20; ++i) frame(field, arrow(EAST));
    EXPECT_GT(roster.at(0).tile.x, 4);
    EXPECT_FALSE(field.gates[0]->travelling);
    shell->BOOLVARS.clear();
    roster.at(0).setTilePosition({3, 3});
    shell->toggleZoom(); // zoomed out: the trip goes back to the normal size
    for (int i = 0; i < 10 && !field.gates[0]->travelling; ++i) frame(field, arrow(EAST));
    const SpaceChapterGate& gate = *field.gates[0];
    ASSERT_TRUE(gate.travelling);
    EXPECT_TRUE(shell->isNormalZoom());
    EXPECT_EQ(gate.rocket.pixel, (Point{1200, 600}));
    EXPECT_EQ(gate.rocket.direction, NORTH);
    EXPECT_TRUE(gate.rocket.drifting);
    EXPECT_EQ(gate.tripBackground.kind, BG_SPACE_TRAVEL);
    EXPECT_EQ(gate.tripBackground.count, 500);
    EXPECT_FALSE(gate.tripBackground.option);
    EXPECT_EQ(travellingGate(field), &gate);
    // The rocket drifts up a pixel a frame and the arrows do nothing.
    for (int i = 0; i < 499; ++i) frame(field, arrow(WEST));
    EXPECT_TRUE(gate.travelling);
    EXPECT_EQ(gate.rocket.pixel, (Point{1200, 600 - 499}));
    EXPECT_EQ(roster.at(0).tile, (Point{4, 3}));
    EXPECT_FALSE(shell->switchPending);
    frame(field);
    EXPECT_FALSE(gate.travelling);
    EXPECT_TRUE(shell->switchPending);
    EXPECT_EQ(shell->pendingScene, "Tidewell");
    EXPECT_TRUE(shell->isBoolVarSet("GettingWaterShard"));
    (void)dest;

    // Back on the field with the party still on the gate: no second trip, even once the gate
    // reopens; stepping off and on again starts one, which confirm ends after one frame.
    shell->switchPending = false;
    shell->SHARDS["Water"] = 1;
    frame(field);
    EXPECT_FALSE(gate.travelling);
    for (int i = 0; i < 10; ++i) frame(field, arrow(WEST));
    EXPECT_NE(roster.at(0).tile, (Point{4, 3}));
    for (int i = 0; i < 20 && !gate.travelling; ++i) frame(field, arrow(EAST));
    ASSERT_TRUE(gate.travelling);
    frame(field, confirm());
    EXPECT_FALSE(gate.travelling);
    EXPECT_EQ(gate.tripFrame, 1);
    EXPECT_EQ(shell->pendingScene, "Tidewell");
}

// ---------------------------------------------------------------------------------------------
// Rocket flight and star-system travel

// The edge point is where the ray from the centre at the rocket's angle first meets the screen's
// edge, so the rocket is on screen in every frame of the leaving and the arriving phase.
TEST_F(Space, TheRocketLeavesTowardTheScreenEdgeOfItsAngle) {
    EXPECT_EQ(rocketEdgePoint(90), (Point{0, 540}));
    EXPECT_EQ(rocketEdgePoint(270), (Point{1920, 540}));
    EXPECT_EQ(rocketEdgePoint(0), (Point{960, 1080}));
    EXPECT_EQ(rocketEdgePoint(200).y, 0);
    for (int a = 0; a < 360; ++a) {
        const Point e = rocketEdgePoint(a);
        const double t = (a - 90) * 3.14159 / 180;
        // On the ray from the centre (not behind it), and on the screen's border.
        const double cross = (960 - e.x) * std::sin(t) - (540 - e.y) * std::cos(t);
        EXPECT_NEAR(cross, 0, 2.0) << a;
        EXPECT_GE((960 - e.x) * std::cos(t) + (540 - e.y) * std::sin(t), 0) << a;
        EXPECT_TRUE(e.x <= 1 || e.x >= 1919 || e.y <= 1 || e.y >= 1079) << a;
        for (bool leaving : {true, false})
            for (int f : {0, 1, 99, 100}) {
                const Point at = rocketFlightPoint(a, leaving, f, 100);
                EXPECT_TRUE(at.x >= 0 && at.x <= 1920 && at.y >= 0 && at.y <= 1080)
                    << a << (leaving ? " leaving" : " arriving") << " frame " << f;
            }
    }
    EXPECT_EQ(rocketFlightPoint(90, true, 0, 100), (Point{960, 540}));
    EXPECT_EQ(rocketFlightPoint(90, false, 0, 100), (Point{0, 540}));
    EXPECT_EQ(rocketPathPoint({960, 540}, {0, 540}, 33, 100), (Point{960 - 316, 540}));
    EXPECT_EQ(rocketPathPoint({0, 540}, {960, 540}, 100, 100), (Point{960, 540}));
}

TEST_F(Space, AFlightRunsItsThreePhasesAndLandsOnTheLandingPlace) {
    place("Olympus");
    place("Home");
    shell->setStrVar("ORIGIN", "Earth");
    shell->setStrVar("FLIGHT", "Mars");
    makeCurrent("Home");
    shell->gotoScene("SpaceTravelAnimation", false, nullptr);
    ASSERT_EQ(current(), "SpaceTravelAnimation");
    RocketFlight& flight = shell->rocketFlight;
    gameFrames(99);
    EXPECT_EQ(flight.phase, 0);
    EXPECT_EQ(shell->lastConsumer, FrameConsumer::ROCKET_FLIGHT);
    gameFrame();
    EXPECT_EQ(flight.phase, 1);
    EXPECT_EQ(flight.frameCounter, 0);
    gameFrame({keys::Space}); // confirm skips the porthole
    EXPECT_EQ(flight.phase, 2);
    gameFrames(99);
    EXPECT_EQ(current(), "SpaceTravelAnimation");
    gameFrame();
    EXPECT_EQ(current(), "Olympus");
    EXPECT_EQ(shell->getStrVar("FLIGHT"), "");
    EXPECT_EQ(shell->getStrVar("ORIGIN"), "");

    // Back in the first phase lands at once; entering the flight starts it over.
    shell->setStrVar("FLIGHT", "Mars");
    shell->gotoScene("SpaceTravelAnimation", false, nullptr);
    EXPECT_EQ(flight.phase, 0);
    EXPECT_EQ(flight.frameCounter, 0);
    gameFrame({keys::LControl});
    EXPECT_EQ(current(), "Olympus");
    // A flight to no known planet is stopped by the landing table.
    shell->setStrVar("FLIGHT", "Atlantis");
    shell->gotoScene("SpaceTravelAnimation", false, nullptr);
    gameFrame();
    EXPECT_EQ(fatalDetail([&] { gameFrame({keys::LControl}); }), "Atlantis");
}

TEST_F(Space, ALaunchEndsInTheStarSystemOfItsOrigin) {
    for (const char* s : {"SolarSystem", "CauchemarSystem", "MandelSystem", "BesixdouzeSystem", "Pad"})
        place(s);
    const std::pair<const char*, const char*> origins[] = {
        {"", "SolarSystem"},
        {"Earth", "SolarSystem"},
        {"Cauchemar", "CauchemarSystem"},
        {"HeavensShip", "CauchemarSystem"},
        {"Mandelbrot", "MandelSystem"},
        {"SpaceTavern", "MandelSystem"},
        {"Chicken", "BesixdouzeSystem"},
        {"Pocuri", "BesixdouzeSystem"},
        {"B612", "BesixdouzeSystem"},
        {"Jacarock", "BesixdouzeSystem"},
        {"Ice", "BesixdouzeSystem"},
        {"Orange", "BesixdouzeSystem"},
        {"Pollux", "BesixdouzeSystem"},
    };
    bool skip = false;
    for (const auto& [origin, system] : origins) {
        if (*origin) shell->setStrVar("ORIGIN", origin);
        else shell->STRVARS.erase("ORIGIN");
        makeCurrent("Pad");
        shell->gotoScene("RocketLaunch", false, nullptr);
        const SystemTravel& travel = shell->systemTravel;
        EXPECT_EQ(travel.rocket.pixel, (Point{960, 540}));
        if (skip) {
            gameFrame({keys::Space});
        } else {
            gameFrames(299);
            EXPECT_EQ(current(), "RocketLaunch");
            EXPECT_EQ(travel.rocket.pixel, (Point{960, 540 - 299})); // rising a pixel a frame
            gameFrame();
        }
        skip = !skip;
        EXPECT_EQ(current(), system) << origin;
        EXPECT_EQ(shell->getStrVar("ORIGIN"), origin);
    }
}

TEST_F(Space, ARocketPadOffersThePlanetsThePartyKnowsOf) {
    Scene& pad = load(square("Pad", "RocketDestinations 5 3 Earth Mars Ceres Moon\n"
                                    "RocketDestinations 2 5\n"));
    // A scene outside a planet folder lies on Earth: Earth is not offered from it.
    EXPECT_EQ(planetOfScene(pad), "Earth");
    shell->SHARDLOCATION = {{"Moon", "Mars"}, {"RitPliar", "Ceres"}};
    shell->SHARDS = {{"RitPliar", 1}};
    shell->addToSetVar("DESTINATIONS", "Earth");
    EXPECT_EQ(pad.rocketDestinations({5, 3}), (std::map<int, std::string>{{6, "Mars"}}));
    shell->addToSetVar("DESTINATIONS", "Moon");
    EXPECT_EQ(pad.rocketDestinations({5, 3}), (std::map<int, std::string>{{6, "Mars"}, {7, "Moon"}}));
    shell->SHARDS["Moon"] = 1;
    EXPECT_EQ(pad.rocketDestinations({5, 3}), (std::map<int, std::string>{{6, "Moon"}}));
    EXPECT_TRUE(pad.rocketDestinations({2, 5}).empty());
    EXPECT_EQ(fatalDetail([&] { pad.rocketDestinations({1, 1}); }), "Oduna");
    pad.planet = "Mars";
    EXPECT_EQ(pad.rocketDestinations({5, 3}), (std::map<int, std::string>{{6, "Earth"}, {7, "Moon"}}));
    pad.planet.clear();
    pad.name = "Olympus"; // the landing place of Mars lies on Mars
    EXPECT_EQ(planetOfScene(pad), "Mars");
}

// ---------------------------------------------------------------------------------------------
// Shard map and telescope

TEST_F(Space, TheOrreryTurnsOneStepASecondOnNegativeAndLargeClocks) {
    EXPECT_EQ(orreryStep(0, -1, 1), 15); // -1 as an unsigned 64-bit value: 2^64 mod 300 is 16
    EXPECT_EQ(orreryStep(3897652, -1, INT32_MAX), 121);
    EXPECT_EQ(orreryStep(0, -1, INT32_MIN), 68); // the sum wraps to -2^31
    EXPECT_EQ(orreryStep(222, 1, -5), 217);
    EXPECT_EQ(orreryStep(302, -1, 1733580000), 18);
    const auto& bodies = orreryBodies();
    ASSERT_EQ(bodies.size(), 14u);
    const std::int32_t t = 1733580000;
    for (const auto& [name, body] : bodies) {
        const int now = orreryStep(body.phase, body.direction, t);
        const int later = orreryStep(body.phase, body.direction, t + 1);
        // Venus turns one way, every other body the other.
        EXPECT_EQ((later - now + 300) % 300, name == "Venus" ? 1 : 299) << name;
        const sf::Vector2f p = orreryPosition(body, t);
        if (body.orbit == 0) {
            EXPECT_EQ(p, sf::Vector2f(960, 540));
            continue;
        }
        // On its ellipse.
        const float dx = (p.x - 960) / orbitRadiusX(body.orbit);
        const float dy = (p.y - 540) / static_cast<float>(orbitRadiusY(body.orbit));
        EXPECT_NEAR(dx * dx + dy * dy, 1.0f, 1e-4f) << name;
    }
    // Step 0 is the top of the orbit.
    const sf::Vector2f top = orreryPosition({60, 9, 0, 1}, 0);
    EXPECT_NEAR(top.x, 960, 0.01f);
    EXPECT_NEAR(top.y, 540 - orbitRadiusY(60), 0.01f);
}

TEST_F(Space, TheShardPanelShowsWhatIsKnownOfAShard) {
    shell->SHARDLOCATION = {{"Moon", "Mars"}, {"Water", "MandelSystem"}, {"Air", "Atlantis"}};
    EXPECT_EQ(shardPlaceKind("Moon", 1), ShardPlace::BODY);
    EXPECT_EQ(shardPlaceKind("Cave", 1), ShardPlace::UNKNOWN);
    EXPECT_EQ(shardPlaceKind("Water", 6), ShardPlace::ELSEWHERE); // the system is not on the map yet
    EXPECT_EQ(shardPlaceKind("Water", 7), ShardPlace::SYSTEM);
    EXPECT_EQ(shardPlaceKind("Air", 9), ShardPlace::ELSEWHERE);
}

TEST_F(Space, TheTelescopeGlintsWhileAShardLiesUnfoundOnItsPlanet) {
    EXPECT_EQ(fatalDetail([&] { telescopePlanet(); }), "TELESCOPEVIEW");
    shell->setStrVar("TELESCOPEVIEW", "Earth");
    EXPECT_EQ(telescopePlanet(), "Earth");
    shell->SHARDLOCATION = {{"Fire", "Earth"}, {"Air", "Earth"}, {"Moon", "Mars"}};
    shell->SHARDS = {{"Air", 1}};
    // The last shard in name order that lies there decides: Fire, not yet found.
    EXPECT_EQ(telescopeShard("Earth"), "Fire");
    shell->SHARDS["Fire"] = 2;
    EXPECT_EQ(telescopeShard("Earth"), "");
    EXPECT_EQ(telescopeShard("Venus"), "");

    std::srand(77);
    const std::vector<TelescopeDot> cloud = telescopeCloud();
    std::srand(77);
    EXPECT_EQ(telescopeCloud().size(), cloud.size());
    ASSERT_GE(cloud.size(), 50u);
    ASSERT_LE(cloud.size(), 99u);
    double mx = 0, my = 0;
    for (const TelescopeDot& d : cloud) {
        EXPECT_GE(d.radius, 1);
        EXPECT_LE(d.radius, 3);
        EXPECT_GE(d.x, 960);
        EXPECT_LE(d.x, 1059);
        EXPECT_GE(d.colour.r, 200);
        EXPECT_GE(d.colour.g, 200);
        EXPECT_LT(d.colour.b, 200);
        mx += d.x;
        my += d.y;
    }
    // Centred near (1010, 590), a few pixels across.
    EXPECT_NEAR(mx / cloud.size(), 1009.5, 5);
    EXPECT_NEAR(my / cloud.size(), 589.5, 5);
}
