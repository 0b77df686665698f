// The shipped scenes as a map walked from the start: every way out names a scene that exists and
// can be reached on foot, every chest and pickup can be reached from wherever the party arrives,
// and no arrival sends a player who keeps holding the key that brought them straight back. Then
// the whole demo is emptied scene by scene, saved and resumed each time: nothing comes back.
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
#include <memory>
#include <set>
#include <tuple>

namespace fs = std::filesystem;

namespace {

struct NoStick : JoystickSource {
    JoystickState read() override { return {}; }
};

// A way out of a scene: the tile the leader leaves from, the key that takes it (NO_DIRECTION
// for confirm) and the scene it leads to.
struct WayOut {
    Point from;
    Direction key;
    std::string target;
};

Point moved(Point p, Direction d) {
    movePoint(p, d, 1);
    return p;
}

int arrowKey(Direction d) {
    return d == WEST ? keys::Left : d == EAST ? keys::Right : d == NORTH ? keys::Up : keys::Down;
}

class DemoRoutes : public ::testing::Test {
protected:
    void SetUp() override {
        resources = nullptr;
        build();
        fs::create_directories(saveFolder());
    }
    void TearDown() override {
        fs::remove_all(saveFolder());
    }
    // One folder per test: the tests run side by side.
    static std::string player() {
        return std::string("R5") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    static std::string saveFolder() { return "SaveGames/" + player(); }

    // A fresh world with every demo scene loaded, as at the start of the program.
    void build() {
        g.reset();
        roster = std::make_unique<People>();
        spells = std::make_unique<MagicRepository>();
        catalogue = std::make_unique<ItemList>();
        potions = std::make_unique<PotionRepository>();
        g = std::make_unique<Game>();
        people = roster.get();
        magicRepository = spells.get();
        itemList = catalogue.get();
        potionRepository = potions.get();
        game = g.get();
        g->joystick = std::make_unique<NoStick>();
        g->readGameFile(nullptr, 0.5f);
        // The planet's people first: its scenes name them.
        roster->loadCharacters("Game/Ceres/Characters.txt", nullptr, 0.0f, false, nullptr);
        roster->loadCharacters("Game/Mars/Characters.txt", nullptr, 0.0f, false, nullptr);
        for (const char* folder : {"Game", "Game/Ceres", "Game/Mars", "Game/Mandelbrot"})
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.path().filename().string().find("scene.txt") != std::string::npos)
                    g->scenes.addScene().load(entry.path().generic_string());
        for (Scene& s : g->scenes) s.music.clear();
        g->playerName = player();
    }

    Character& leader() { return roster->mainCharacter(); }

    // Enters the scene from the previous one as the game's switch does; returns where the
    // leader stands.
    Point enter(const std::string& name, const std::string& previous) {
        g->previousScene = g->findScene(previous);
        g->currentScene = g->findScene(name);
        g->current().enter(previous);
        return leader().tile;
    }

    std::set<Point> standing(const Scene& s) {
        std::set<Point> out;
        for (int i : s.persons)
            if (s.standSet.count(i)) out.insert(roster->at(i).tile);
        return out;
    }
    bool walkable(const Scene& s, Point p) {
        return s.isInside(p) && !s.isBlocked(p, false) && !standing(s).count(p);
    }
    // Where a door, exit or teleporter on the tile leads; empty for none.
    static std::string targetAt(const Scene& s, Point tile) {
        std::string target;
        if (auto e = s.exits.find(tile); e != s.exits.end()) target = e->second;
        if (auto t = s.teleports.find(tile); t != s.teleports.end()) target = t->second.scene;
        for (const auto& b : s.buildings)
            if (b->hasDoor() && !b->scene.empty() && b->door == tile) target = b->scene;
        return target;
    }

    std::set<Point> reachable(const Scene& s, Point from) {
        std::set<Point> seen{from};
        std::deque<Point> queue{from};
        while (!queue.empty()) {
            Point p = queue.front();
            queue.pop_front();
            for (Direction d : DIRECTIONS) {
                const Point n = moved(p, d);
                // An exit on a free tile is taken on arrival: the walk does not go on from it.
                if (walkable(s, n) && targetAt(s, n).empty() && seen.insert(n).second) queue.push_back(n);
            }
        }
        return seen;
    }

    // The ways out from where the leader stands, with what cannot be reached on foot.
    std::vector<WayOut> waysOut(const Scene& s, Point from, std::vector<std::string>& problems) {
        std::vector<WayOut> out;
        if (!s.anyKeyScene.empty()) out.push_back({from, NO_DIRECTION, s.anyKeyScene});
        // A space scene is left through its gates (the rocket flies anywhere on it).
        for (const auto& gate : s.gates) out.push_back({from, NO_DIRECTION, gate->destination});
        if (s.type != SCENE_WALK) return out;
        if (!walkable(s, from)) problems.push_back(s.name + ": the leader arrives on a blocked cell");
        const std::set<Point> seen = reachable(s, from);
        std::set<Point> doors;
        for (const auto& [tile, target] : s.exits) doors.insert(tile);
        for (const auto& [tile, target] : s.teleports) doors.insert(tile);
        for (const auto& b : s.buildings)
            if (b->hasDoor() && !b->scene.empty()) doors.insert(b->door);
        for (Point tile : doors) {
            const std::size_t before = out.size();
            for (Direction d : DIRECTIONS) {
                const Point n = moved(tile, static_cast<Direction>(d ^ 1)); // the side walked from
                if (seen.count(n)) out.push_back({n, d, targetAt(s, tile)});
            }
            if (out.size() == before) problems.push_back(s.name + ": no way on foot to the exit to " + targetAt(s, tile));
        }
        for (const auto& [tile, target] : s.keyExits)
            if (seen.count(tile)) out.push_back({tile, NO_DIRECTION, target});
            else problems.push_back(s.name + ": no way on foot to the exit to " + target);
        for (const auto& [d, target] : s.borderExits) {
            bool found = false;
            for (Point p : seen)
                if (!s.isInside(moved(p, d))) {
                    out.push_back({p, d, target});
                    found = true;
                }
            if (!found) problems.push_back(s.name + ": no way on foot to the border to " + target);
        }
        for (const MovingTeleporter& t : s.movingTeleporters) out.push_back({from, NO_DIRECTION, t.name});
        // A rocket pad flies to the landing place of each planet on its list, or into space.
        for (Point pad : s.rocketTravelTiles) {
            if (!seen.count(pad)) {
                problems.push_back(s.name + ": no way on foot to the rocket pad");
                continue;
            }
            for (const std::string& planet : s.rocketDestinationLists.at(pad))
                out.push_back({pad, NO_DIRECTION, g->landingScene(planet)});
            out.push_back({pad, NO_DIRECTION, starSystemOf(planetOfScene(s))});
        }

        // A way that can be walked does not look walled: no wall object stands on it (the roof
        // things of buildings are drawn up on their roofs).
        std::set<Point> roofs;
        for (const auto& b : s.buildings)
            for (const CeilingObject& c : b->ceilingObjects()) roofs.insert(c.tile);
        for (const auto& [row, list] : s.objectRows)
            for (int i : list)
                if (const Point at{static_cast<int>(s.objects[i].x), row}; seen.count(at) && !roofs.count(at))
                    problems.push_back(s.name + ": a " + s.objects[i].name + " stands on an open way");
        // Everyone here has something to say or to do.
        for (int i : s.persons)
            if (!s.monologs.count(i) && !s.dialogs.count(i) && roster->at(i).name != "Sabio" &&
                std::find(s.battle.joins.begin(), s.battle.joins.end(), i) == s.battle.joins.end() &&
                std::find(s.battle.enemies.begin(), s.battle.enemies.end(), i) == s.battle.enemies.end() &&
                std::find(s.joinList.begin(), s.joinList.end(), i) == s.joinList.end())
                problems.push_back(s.name + ": " + roster->at(i).name + " has nothing to say");
        // Everything to take lies within reach of this arrival.
        auto nextTo = [&](Point tile) {
            for (Direction d : DIRECTIONS)
                if (seen.count(moved(tile, d))) return true;
            return false;
        };
        for (const auto& [row, list] : s.chests)
            for (const Chest& c : list)
                if (!nextTo(c.tile))
                    problems.push_back(s.name + ": the chest of " + c.item + " cannot be reached");
        for (const auto& [row, list] : s.drops)
            for (const DroppedItem& d : list)
                if (!(d.onTable ? nextTo(d.tile) : seen.count(d.tile) > 0))
                    problems.push_back(s.name + ": a dropped " + itemList->at(d.item).name + " cannot be reached");
        return out;
    }

    // Holding the key that brought the party, from where it arrived: true when that walks it
    // straight back to the scene it came from.
    bool heldKeyLeadsBack(const Scene& s, Point at, Direction key, const std::string& previous) {
        auto back = [&](const std::string& t) { return t == previous || t == "BACK"; };
        if (s.type != SCENE_WALK) {
            // Any key leaves such a scene, unless its title waits to be read first.
            return !s.anyKeyScene.empty() && back(s.anyKeyScene) && !s.message.isActive();
        }
        if (key == NO_DIRECTION) return false;
        for (Point p = at;;) {
            const Point n = moved(p, key);
            if (!s.isInside(n)) {
                auto border = s.borderExits.find(key);
                return border != s.borderExits.end() && back(border->second);
            }
            if (!targetAt(s, n).empty()) return back(targetAt(s, n));
            if (!walkable(s, n)) return false;
            p = n;
        }
    }

    std::unique_ptr<People> roster;
    std::unique_ptr<MagicRepository> spells;
    std::unique_ptr<ItemList> catalogue;
    std::unique_ptr<PotionRepository> potions;
    std::unique_ptr<Game> g;
    CatchFatal catcher;

private:
    GlobalsGuard globals_;
};

TEST_F(DemoRoutes, EveryWayLeadsOnAndEverythingIsWithinReach) {
    // The east gate of the town opens once the seed trail is found (the town's own story).
    g->BOOLVARS.insert("FoundSeedTrail");
    // Breadth first over (scene, came from, arrival tile): arrival depends on the way in.
    std::set<std::tuple<std::string, std::string, Point>> visited;
    struct Step {
        std::string scene, previous;
        Point from;
        Direction key;
    };
    std::deque<Step> queue{{"Town", "Intro", {10, 7}, NO_DIRECTION}};
    std::set<std::string> reached;
    std::vector<std::string> problems;
    while (!queue.empty()) {
        const Step step = queue.front();
        queue.pop_front();
        ASSERT_GE(g->findScene(step.scene), 0) << step.scene << " (from " << step.previous << ") is no scene";
        leader().setTilePosition(step.from);
        if (step.key != NO_DIRECTION) leader().setFacing(step.key);
        const Point at = enter(step.scene, step.previous);
        if (!visited.insert({step.scene, step.previous, at}).second) continue;
        reached.insert(step.scene);
        const Scene& s = g->current();
        if (heldKeyLeadsBack(s, at, step.key, step.previous))
            problems.push_back(s.name + ": arriving from " + step.previous +
                               ", the held key walks straight back");
        for (const WayOut& w : waysOut(s, at, problems))
            queue.push_back({w.target == "BACK" ? step.previous : w.target, s.name, w.from, w.key});
    }
    std::sort(problems.begin(), problems.end());
    problems.erase(std::unique(problems.begin(), problems.end()), problems.end());
    EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
    // Reached otherwise than by a way out: the title screens, the chapter ends and the castle
    // floor a chapter opens, the vault's prize room a solved puzzle opens, and the nebula's rooms
    // that the planet's generation places.
    auto reachedOtherwise = [](const std::string& name) {
        return name == "StartScreen" || name == "CreditsStart" || name == "Intro" ||
               name == "CeresCastleF3" || name == "BlockPrize" ||
               (name.rfind("Chapter", 0) == 0 && name.size() > 3 && name.substr(name.size() - 3) == "End") ||
               (name.rfind("Mandelbrot", 0) == 0 && name != "MandelbrotStartingPoint" &&
                name != "MandelbrotNebula");
    };
    for (const Scene& s : g->scenes)
        if (!reachedOtherwise(s.name)) EXPECT_EQ(reached.count(s.name), 1u) << s.name << " cannot be reached";
    // The title screens come before the town, and the credits go back to the title.
    EXPECT_EQ(g->sceneByName("Intro").anyKeyScene, "Town");
    EXPECT_EQ(g->sceneByName("CreditsStart").anyKeyScene, "StartScreen");
    for (const std::string& line : g->sceneByName("CreditsStart").credits.lines)
        EXPECT_EQ(line.find("ChangeScene"), std::string::npos) << line;
}

TEST_F(DemoRoutes, EverythingTakenStaysTakenAcrossSaveAndResume) {
    auto frame = [&](std::vector<int> keys) { g->update(keys, nullptr); };
    auto press = [&](int key) {
        frame({key});
        frame({});
    };
    auto closeText = [&] {
        for (int i = 0; i < 300 && g->current().textBoxActive(); ++i) press(keys::Space);
        ASSERT_FALSE(g->current().textBoxActive());
    };
    // What the roster carries: nothing may be added by entering a scene again.
    auto carried = [&] {
        std::map<std::string, int> all;
        for (int i : roster->party)
            for (const auto& [item, count] : roster->at(i).inventory) all[itemList->at(item).name] += count;
        return all;
    };
    // Whether confirm at the tile would speak to someone rather than use what is faced: a person
    // in the same row or column at most two tiles away is spoken to first.
    auto speaksFrom = [&](const Scene& s, Point at) {
        for (int i : s.persons) {
            const Point p = roster->at(i).tile;
            if (i != roster->mainCharacterIndex && (p.x == at.x || p.y == at.y) &&
                manhattanDistance(p, at) >= 1 && manhattanDistance(p, at) <= 2)
                return true;
        }
        return false;
    };
    // A free tile beside the thing to take, and the direction from it; a player picks a side
    // where nobody stands close enough to be spoken to instead.
    auto besideOf = [&](const Scene& s, Point tile, Point& from, Direction& d) {
        for (bool quiet : {true, false})
            for (Direction k : DIRECTIONS) {
                from = moved(tile, k);
                d = static_cast<Direction>(k ^ 1);
                if (walkable(s, from) && targetAt(s, from).empty() && (!quiet || !speaksFrom(s, from)))
                    return true;
            }
        return false;
    };

    std::vector<std::string> names;
    for (const Scene& s : g->scenes)
        if (s.type == SCENE_WALK) names.push_back(s.name);
    std::sort(names.begin(), names.end());
    ASSERT_GE(names.size(), 12u);
    std::vector<std::string> emptied;
    int chestsOpened = 0, joined = 0;
    for (const std::string& name : names) {
        ASSERT_TRUE(g->gotoScene(name, true, nullptr)) << name;
        closeText();
        Scene& s = g->current();
        // Open every chest.
        for (auto& [row, list] : s.chests)
            for (Chest& c : list) {
                if (c.item.empty()) continue;
                Point from;
                Direction d;
                ASSERT_TRUE(besideOf(s, c.tile, from, d)) << name << ": nothing free beside a chest";
                leader().setTilePosition(from);
                leader().setFacing(d);
                press(keys::Space);
                EXPECT_EQ(c.item, "") << name;
                ++chestsOpened;
                closeText();
            }
        // Step onto every dropped item.
        while (!s.drops.empty() && !s.drops.begin()->second.empty()) {
            const DroppedItem item = s.drops.begin()->second.front();
            Point from;
            Direction d;
            ASSERT_TRUE(besideOf(s, item.tile, from, d)) << name << ": nothing free beside a dropped item";
            leader().setTilePosition(from);
            if (item.onTable) {
                leader().setFacing(d);
                press(keys::Space);
            } else {
                frame({arrowKey(d)});
                for (int i = 0; i < 10 && leader().walking; ++i) frame({});
            }
            closeText();
            if (!s.drops.empty() && s.drops.begin()->second.empty()) s.drops.erase(s.drops.begin());
        }
        // Take everyone who would join the party.
        while (!s.joinList.empty()) {
            const Point tile = roster->at(s.joinList.front()).tile;
            Point from;
            Direction d;
            ASSERT_TRUE(besideOf(s, tile, from, d)) << name << ": nothing free beside someone who joins";
            leader().setTilePosition(from);
            leader().setFacing(d);
            const std::size_t before = s.joinList.size();
            press(keys::Space);
            ASSERT_LT(s.joinList.size(), before) << name;
            ++joined;
            closeText();
        }
        emptied.push_back(name);
        const std::map<std::string, int> taken = carried();
        ASSERT_TRUE(g->saveGame());

        // Resume in a fresh program and visit everything emptied so far.
        build();
        g->loadGame(nullptr);
        ASSERT_EQ(g->current().name, name);
        EXPECT_EQ(carried(), taken) << "resumed in " << name;
        for (const std::string& again : emptied) {
            ASSERT_TRUE(g->gotoScene(again, true, nullptr)) << again;
            closeText();
            const Scene& t = g->current();
            for (const auto& [row, list] : t.chests)
                for (const Chest& c : list) EXPECT_EQ(c.item, "") << again << " after resuming in " << name;
            for (const auto& [row, list] : t.drops)
                EXPECT_TRUE(list.empty()) << again << ": a dropped item came back after resuming in " << name;
            EXPECT_TRUE(t.joinList.empty()) << again << ": someone who joined is back after resuming in " << name;
            EXPECT_EQ(carried(), taken) << "entering " << again << " after resuming in " << name;
        }
    }
    // The demo has things to take: the town's, the inn's and the maze's chests, a cat to meet.
    EXPECT_GE(chestsOpened, 4);
    EXPECT_GE(joined, 1);
}

} // namespace
