// The shipped scenes as a map: every demo place can be reached from the town, on foot where the
// scene is walked, and every way out names a scene that exists.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/RocketTravel.hpp"
#include "minigames/SpaceGates.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <deque>
#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {

struct NoStick : JoystickSource {
    JoystickState read() override { return {}; }
};

class DemoRoutes : public ::testing::Test {
protected:
    void SetUp() override {
        resources = nullptr;
        people = &roster;
        magicRepository = &spells;
        itemList = &catalogue;
        potionRepository = &potions;
        game = &g;
        g.joystick = std::make_unique<NoStick>();
        g.readGameFile(nullptr, 0.5f);
        // The planet's people first: its scenes name them.
        roster.loadCharacters("Game/Ceres/Characters.txt", nullptr, 0.0f, false, nullptr);
        roster.loadCharacters("Game/Mars/Characters.txt", nullptr, 0.0f, false, nullptr);
        for (const char* folder : {"Game", "Game/Ceres", "Game/Mars", "Game/Mandelbrot"})
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.path().filename().string().find("scene.txt") != std::string::npos)
                    g.scenes.addScene().load(entry.path().generic_string());
        for (Scene& s : g.scenes) s.music.clear();
        g.playerName = "R5DemoRoutes";
        fs::create_directories(saveFolder());
    }
    void TearDown() override {
        fs::remove_all(saveFolder());
    }
    static std::string saveFolder() { return "SaveGames/R5DemoRoutes"; }

    // Enters the scene from the previous one as the game's switch does; returns where the
    // leader stands.
    Point enter(const std::string& name, const std::string& previous) {
        g.previousScene = g.findScene(previous);
        g.currentScene = g.findScene(name);
        Scene& s = g.current();
        s.enter(previous);
        return roster.mainCharacter().tile;
    }

    // The scenes a party standing at `from` can leave the scene for. Walkers cannot enter blocked
    // cells or cells where a person stands still; a blocked exit is taken by walking into it.
    std::set<std::string> waysOut(const Scene& s, Point from, std::vector<std::string>& problems) {
        std::set<std::string> out;
        if (!s.anyKeyScene.empty()) out.insert(s.anyKeyScene);
        // A space scene is left through its gates (the rocket flies anywhere on it).
        for (const auto& gate : s.gates) out.insert(gate->destination);
        if (s.type != SCENE_WALK) return out;
        std::set<Point> standing;
        for (int i : s.persons)
            if (s.standSet.count(i)) standing.insert(roster.at(i).tile);
        auto walkable = [&](Point p) { return s.isInside(p) && !s.isBlocked(p, false) && !standing.count(p); };
        if (!walkable(from)) problems.push_back(s.name + ": the leader arrives on a blocked cell");
        std::set<Point> seen{from};
        std::deque<Point> queue{from};
        while (!queue.empty()) {
            Point p = queue.front();
            queue.pop_front();
            for (Direction d : DIRECTIONS) {
                Point n = p;
                movePoint(n, d, 1);
                if (walkable(n) && seen.insert(n).second) queue.push_back(n);
            }
        }
        auto reached = [&](Point tile) {
            if (seen.count(tile)) return true;
            for (Direction d : DIRECTIONS) {
                Point n = tile;
                movePoint(n, d, 1);
                if (seen.count(n)) return true;
            }
            return false;
        };
        std::map<Point, std::string> doors = s.exits;
        for (const auto& [tile, target] : s.keyExits) doors[tile] = target;
        for (const auto& [tile, target] : s.teleports) doors[tile] = target.scene;
        for (const auto& b : s.buildings)
            if (b->hasDoor() && !b->scene.empty()) doors[b->door] = b->scene;
        for (const auto& [tile, target] : doors) {
            if (reached(tile)) out.insert(target);
            else problems.push_back(s.name + ": no way on foot to the exit to " + target);
        }
        for (const auto& [d, target] : s.borderExits) {
            bool found = false;
            for (Point p : seen) {
                Point n = p;
                movePoint(n, d, 1);
                found = found || !s.isInside(n);
            }
            if (found) out.insert(target);
            else problems.push_back(s.name + ": no way on foot to the border to " + target);
        }
        for (const MovingTeleporter& t : s.movingTeleporters) out.insert(t.name);
        // A rocket pad flies to the landing place of each planet on its list, or into space.
        for (Point pad : s.rocketTravelTiles) {
            if (!reached(pad)) {
                problems.push_back(s.name + ": no way on foot to the rocket pad");
                continue;
            }
            for (const std::string& planet : s.rocketDestinationLists.at(pad))
                out.insert(g.landingScene(planet));
            out.insert(starSystemOf(planetOfScene(s)));
        }
        return out;
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

TEST_F(DemoRoutes, EveryDemoPlaceIsReachedFromTheTown) {
    // Breadth first over (scene, came from): arrival depends on the way in.
    // The east gate of the town opens once the seed trail is found (the town's own story).
    g.BOOLVARS.insert("FoundSeedTrail");
    std::set<std::pair<std::string, std::string>> visited;
    std::deque<std::pair<std::string, std::string>> queue{{"Town", "Intro"}};
    std::set<std::string> reached;
    std::vector<std::string> problems;
    while (!queue.empty()) {
        auto [name, previous] = queue.front();
        queue.pop_front();
        if (!visited.insert({name, previous}).second) continue;
        ASSERT_GE(g.findScene(name), 0) << name << " (from " << previous << ") is no scene";
        reached.insert(name);
        const Point at = enter(name, previous);
        for (const std::string& target : waysOut(g.current(), at, problems)) {
            const std::string next = target == "BACK" ? previous : target;
            queue.push_back({next, name});
        }
    }
    EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
    for (const char* name : {"Town", "TownHouse", "Meadow", "Quarter", "Garden", "GlowCave", "SnowPass",
                             "HedgeMaze", "StarField", "Solaris", "WonderHall", "BlockPuzzle",
                             "ArcadeShooter", "MandelbrotStartingPoint", "MandelbrotNebula",
                             "Olympus", "Bombinhas", "SolarSystem", "Tidewell"})
        EXPECT_EQ(reached.count(name), 1u) << name;
    // The title screens come before the town: the intro leads into it.
    EXPECT_EQ(g.sceneByName("Intro").anyKeyScene, "Town");
}
