// Rocket trips, gates, the shard map and the telescope on the shipped demo, drawn into a real
// window and written out as screenshots; and planets loaded by trips that switch without one.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/SpaceGates.hpp"
#include "scenes/Scene.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A whole game on the data of a folder, with the test window as its own.
class SpaceWorld : public ::testing::Test {
protected:
    void TearDown() override {
        if (resources) resources->stopAllAudio();
        fs::current_path(old_);
    }
    void start(const std::string& folder) {
        old_ = fs::current_path();
        fs::current_path(folder);
        world_.load();
        g().window = &testWindow();
        g().playerName = "SpaceDisplayTester";
    }
    Game& g() { return *world_.shell; }
    Scene& here() { return g().current(); }
    Character& leader() { return people->mainCharacter(); }
    void frame(std::vector<int> keys = {}) { g().update(keys, &testWindow()); }
    // Frames without keys until the condition holds (at most n).
    template <class F> void until(F done, int n) {
        for (int i = 0; i < n && !done(); ++i) frame();
    }
    // Reads the scene's text boxes (an entry title, a message) to their end.
    void dismiss() {
        for (int i = 0; i < 40 && here().textBoxActive(); ++i) {
            frame({keys::Space});
            frame();
        }
    }
    void walk(int key, int steps) {
        for (int s = 0; s < steps; ++s) {
            frame({key});
            for (int i = 0; i < 8; ++i) frame();
        }
    }
    sf::Image shot(const std::string& name) {
        sf::RenderWindow& w = testWindow();
        w.clear();
        g().draw(w);
        sf::Image image = captureWindow(w);
        image.saveToFile(binaryDir() + "/" + name + ".png");
        return image;
    }

    GlobalsGuard globals_;
    DemoWorld world_;
    fs::path old_;
};

int brightness(sf::Color c) { return c.r + c.g + c.b; }

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

} // namespace

TEST_F(SpaceWorld, TheMeadowRocketFliesToMarsWhereTheObservatoryShowsItsViews) {
    start(runDir());
    g().gotoScene("Meadow", true, nullptr);
    dismiss();
    here().movingTeleporters.clear(); // the wandering teleporter to town stays out of the way
    leader().setTilePosition({11, 5});
    walk(keys::Up, 2);
    ASSERT_EQ(leader().tile, (Point{11, 3}));
    ASSERT_TRUE(g().box1.active);
    EXPECT_EQ(g().box1.options, (std::vector<std::string>{"Mars", "Ceres", "Open space"}));
    shot("space_rocket_pad_choice");
    frame({keys::Space});
    frame();
    EXPECT_EQ(g().getStrVar("ORIGIN"), "Earth");
    EXPECT_EQ(g().getStrVar("FLIGHT"), "Mars");
    EXPECT_EQ(g().pendingScene, "SpaceTravelAnimation");
    frame();
    shot("space_rocket_pad_boarding"); // the hatch and the ramp show while the party boards
    until([&] { return here().name == "SpaceTravelAnimation"; }, 12);
    ASSERT_EQ(here().name, "SpaceTravelAnimation");

    for (int i = 0; i < 50; ++i) frame();
    sf::Image leaving = shot("space_rocket_flight");
    EXPECT_GT(brightness(leaving.getPixel(960, 640)), 60); // the Earth fills the middle
    {
        // The flight turns the picture by its angle, and angle 0 leaves toward the bottom edge:
        // the nose, where most of the red is, must point down or the rocket flies tail first.
        const sf::Image rocket = resources->getObjectTexture("Rocket").copyToImage();
        long long redY = 0, reds = 0;
        for (unsigned y = 0; y < rocket.getSize().y; ++y)
            for (unsigned x = 0; x < rocket.getSize().x; ++x)
                if (rocket.getPixel(x, y) == sf::Color(210, 40, 40)) redY += y, ++reds;
        ASSERT_GT(reds, 0);
        EXPECT_GT(redY / reds, long(rocket.getSize().y / 2));
    }
    until([&] { return g().rocketFlight.phase == 1; }, 60);
    for (int i = 0; i < 30; ++i) frame();
    sf::Image porthole = shot("space_rocket_porthole");
    EXPECT_EQ(porthole.getPixel(4, 4), sf::Color(189, 189, 189));
    until([&] { return g().rocketFlight.phase == 2; }, 80);
    for (int i = 0; i < 70; ++i) frame();
    shot("space_rocket_arrival");
    until([&] { return here().name == "Olympus"; }, 40);
    ASSERT_EQ(here().name, "Olympus");
    EXPECT_EQ(here().planet, "Mars");
    EXPECT_EQ(g().getStrVar("FLIGHT"), "");
    // Going back from the landing leads to the meadow the rocket left, not into the flight.
    EXPECT_EQ(g().scenes.at(g().previousScene).name, "Meadow");
    EXPECT_EQ(g().getStrVar("TELESCOPEVIEW"), "Earth");
    dismiss();
    shot("space_observatory");
    EXPECT_EQ(here().shardAnimations.size(), 1u); // the Moon shard by the crater

    // The telescope north of the deck, turned toward Earth where the Fire shard waits.
    leader().setTilePosition({13, 3});
    frame({keys::Up});
    for (int i = 0; i < 3; ++i) frame();
    frame({keys::Space});
    ASSERT_TRUE(g().telescope.shown);
    frame();
    sf::Image telescope = shot("space_telescope");
    EXPECT_GT(brightness(telescope.getPixel(960 - 200, 540)), 60);
    frame({keys::LControl});
    EXPECT_FALSE(g().telescope.shown);

    // The star chart south of the deck, the Moon shard chosen.
    frame();
    leader().setTilePosition({13, 4});
    frame({keys::Down});
    for (int i = 0; i < 3; ++i) frame();
    frame({keys::Space});
    ASSERT_TRUE(g().shardMap.shown);
    for (int i = 0; i < 8; ++i) {
        frame({keys::Down});
        frame();
    }
    ASSERT_EQ(g().shardMap.shardNames[g().shardMap.selected], "Moon");
    sf::Image map = shot("space_shard_map");
    EXPECT_EQ(map.getPixel(1510, 34), sf::Color::Blue); // the detail panel
    // The list: RitPliar retrieved (green), the Moon not found yet (grey).
    const sf::Color ritPliar = map.getPixel(125, 2 * 90 + 30), moon = map.getPixel(125, 9 * 90 + 30);
    EXPECT_GT(ritPliar.g, ritPliar.r + 40);
    EXPECT_EQ(moon.r, moon.g);
    EXPECT_GT(moon.r, 60);
}

TEST_F(SpaceWorld, TheStarSystemsShowTheirGatesAndAGateTripIsDrawnAlone) {
    start(runDir());
    // The home system's two gates, to Tidewell and home to Earth, stay open whatever quest runs.
    g().gotoScene("SolarSystem", true, nullptr);
    dismiss();
    ASSERT_EQ(here().gates.size(), 2u);
    const std::vector<std::string> quests{"GettingWaterShard", "GettingPrincessShard", "GettingSunShard"};
    for (const std::string& quest : quests) g().BOOLVARS.insert(quest);
    for (const auto& gate : here().gates) EXPECT_TRUE(gate->isOpen()) << gate->destination;
    for (const std::string& quest : quests) g().BOOLVARS.erase(quest);

    // Cauchemar's system: its Water gate to Hell is shut while the Sun's quest runs.
    g().gotoScene("CauchemarSystem", true, nullptr);
    dismiss();
    Scene& system = here();
    ASSERT_EQ(system.gates.size(), 2u);
    const SpaceChapterGate& water = *system.gates[0];
    ASSERT_EQ(water.chapter, "Water");
    const int T = 120;
    const sf::Vector2u centre(water.tile.x * T + T / 2 + 30, water.tile.y * T + T / 2 + 30);
    sf::Image open = shot("space_gates");
    g().BOOLVARS.insert("GettingSunShard");
    sf::Image closed = shot("space_gate_closed");
    EXPECT_LT(brightness(closed.getPixel(centre.x, centre.y)), brightness(open.getPixel(centre.x, centre.y)));
    g().BOOLVARS.erase("GettingSunShard");

    // Steered onto the gate, the rocket starts the trip.
    system.flame.tile = water.tile.offset(-1, 0);
    system.flame.pixel = {system.flame.tile.x * T, system.flame.tile.y * T};
    for (int i = 0; i < 12 && !water.travelling; ++i) frame({keys::Right});
    ASSERT_TRUE(water.travelling);
    for (int i = 0; i < 60; ++i) frame();
    sf::Image trip = shot("space_gate_trip");
    // Only the trip: the planets of the system are gone from the screen.
    EXPECT_NE(trip.getPixel(2 * T + T / 2, 2 * T + T / 2), open.getPixel(2 * T + T / 2, 2 * T + T / 2));
    frame({keys::Space});
    EXPECT_EQ(here().name, "Hell");
    EXPECT_TRUE(g().isBoolVarSet("GettingWaterShard"));

    // A launch with no origin set shows the rocket rising without a planet, and ends in the
    // home system.
    g().STRVARS.erase("ORIGIN");
    g().gotoScene("RocketLaunch", true, nullptr);
    for (int i = 0; i < 100; ++i) frame();
    shot("space_launch_without_origin");
    until([&] { return here().name != "RocketLaunch"; }, 201);
    EXPECT_EQ(here().name, "SolarSystem");
}

TEST_F(SpaceWorld, GatesAndLaunchesLoadAPlanetNotLoadedYetWithTheGamesOwnWindow) {
    const std::string dir = scratchDir("SpaceWorldPlanets");
    for (const char* link : {"Resources", "Data", "Game.txt"})
        fs::create_symlink(runDir() + "/" + link, dir + "/" + link);
    writeText(dir + "/Game/Orbit_scene.txt",
              "SceneName Orbit\nType SPACE\nTile . END\nMap\n....\n....\nEndMap\n"
              "If Gate ALWAYS\nSpaceChapterGate 1 0 Water Dock Water Sun\nEndIf\n");
    writeText(dir + "/Game/Ceres/Dock_scene.txt",
              "SceneName Dock\nType WALK\nTile . END\nMap\n...\n...\nEndMap\nNPC <MAIN> 1 1\n");
    writeText(dir + "/Game/Far/MandelSystem_scene.txt",
              "SceneName MandelSystem\nType SPACE\nTile . END\nMap\n...\nEndMap\n");
    fs::create_directories(dir + "/SaveGames");
    start(dir);
    g().gotoScene("Orbit", true, nullptr);
    for (int i = 0; i < 12 && !here().gates[0]->travelling; ++i) frame({keys::Right});
    ASSERT_TRUE(here().gates[0]->travelling);
    frame();
    testing::internal::CaptureStdout();
    frame({keys::Space});
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("LOADING planet Ceres"), std::string::npos) << out;
    EXPECT_EQ(here().name, "Dock");
    EXPECT_EQ(here().planet, "Ceres");

    g().setStrVar("ORIGIN", "SpaceTavern");
    g().gotoScene("RocketLaunch", true, nullptr);
    testing::internal::CaptureStdout();
    until([&] { return here().name != "RocketLaunch"; }, 301);
    out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("LOADING planet Far"), std::string::npos) << out;
    EXPECT_EQ(here().name, "MandelSystem");
    EXPECT_EQ(g().loadedPlanets, (std::set<std::string>{"Ceres", "Far"}));
}



namespace {

// Every planet a rocket pad of the demo can fly to, with one scene whose pad offers it.
std::map<std::string, std::string> flyablePlanets(const std::string& gameFolder) {
    std::map<std::string, std::string> padOf;
    for (const auto& entry : fs::recursive_directory_iterator(gameFolder)) {
        if (entry.path().filename().string().find("_scene.txt") == std::string::npos) continue;
        std::ifstream in(entry.path());
        std::string line, sceneName;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string word;
            words >> word;
            if (word == "SceneName") words >> sceneName;
            if (word != "RocketDestinations") continue;
            int x = 0, y = 0;
            words >> x >> y;
            for (std::string planet; words >> planet;) padOf.emplace(planet, sceneName);
        }
    }
    return padOf;
}

} // namespace

TEST_F(SpaceWorld, ALandingSaveResumesWithTheRocketStandingOnItsPad) {
    const std::string dir = scratchDir("LandingSaves");
    for (const char* link : {"Resources", "Data", "Game.txt", "Game"})
        fs::create_symlink(runDir() + "/" + link, dir + "/" + link);
    fs::create_directories(dir + "/SaveGames");
    const std::map<std::string, std::string> planets = flyablePlanets(dir + "/Game");
    ASSERT_GE(planets.size(), 4u);
    // A pad draws a globe of each planet it offers.
    for (const auto& [planet, pad] : planets)
        EXPECT_TRUE(fs::exists(dir + "/Resources/Objects/" + planet + ".png")) << planet << ", offered in " << pad;

    // Each flight lands under a player of its own, so each landing leaves its own save.
    start(dir);
    for (const auto& [planet, pad] : planets) {
        g().playerName = "Landing" + planet;
        fs::create_directories(dir + "/SaveGames/" + g().playerName);
        g().gotoScene(pad, true, nullptr);
        dismiss();
        g().setStrVar("ORIGIN", here().planet);
        g().setStrVar("FLIGHT", planet);
        g().gotoScene("SpaceTravelAnimation", false, &testWindow());
        until([&] { return here().name == "SpaceTravelAnimation"; }, 12);
        ASSERT_EQ(here().name, "SpaceTravelAnimation") << planet;
        frame({keys::LControl});
        until([&] { return here().name != "SpaceTravelAnimation"; }, 12);
        ASSERT_EQ(here().name, g().landingScene(planet));
    }

    // A fresh game resumes each save: its landing scene draws as it does with no flight under
    // way, and not as it does while one is (the hatch open where the rocket stands).
    for (const auto& [planet, pad] : planets) {
        DemoWorld fresh;
        fresh.load();
        // The fixture's world is the one bound when this fresh one goes, whatever stops the loop.
        const std::unique_ptr<DemoWorld, void (*)(DemoWorld*)> rebind(&world_, [](DemoWorld* w) { w->bind(); });
        Game& resumed = *fresh.shell;
        resumed.window = &testWindow();
        resumed.playerName = "Landing" + planet;
        std::string damage;
        ASSERT_TRUE(resumed.loadGame(&testWindow(), &damage)) << damage;
        ASSERT_EQ(resumed.current().name, resumed.landingScene(planet));
        ASSERT_TRUE(resumed.current().hasRocketTravelPlace) << planet;
        auto draw = [&] {
            sf::RenderWindow& w = testWindow();
            std::srand(7);
            w.clear();
            resumed.draw(w);
            return captureWindow(w);
        };
        const sf::Image asResumed = draw();
        const std::string flight = resumed.getStrVar("FLIGHT");
        resumed.setStrVar("FLIGHT", planet);
        const sf::Image launching = draw();
        resumed.clearStrVar("FLIGHT");
        const sf::Image standing = draw();
        if (!flight.empty()) resumed.setStrVar("FLIGHT", flight);
        ASSERT_NE(launching.getPixelsPtr(), nullptr);
        const std::size_t bytes = 4u * standing.getSize().x * standing.getSize().y;
        ASSERT_NE(std::memcmp(launching.getPixelsPtr(), standing.getPixelsPtr(), bytes), 0)
            << planet << ": the pad is not on the screen";
        EXPECT_EQ(std::memcmp(asResumed.getPixelsPtr(), standing.getPixelsPtr(), bytes), 0)
            << planet << " resumes with the launch hatch drawn; saved flight \"" << flight << '"';
        EXPECT_EQ(resumed.getStrVar("ORIGIN"), "") << planet;
    }
}
