// The shipped scenes loaded as the program loads them, every planet's at once, for the tests that
// walk the demo: the walk from the start over every way out, and the story played chapter by
// chapter. Header only: the logic tests and the drawing tests walk the same demo.
#pragma once

#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"
#include "minigames/RocketTravel.hpp"
#include "minigames/Sokoban.hpp"
#include "minigames/SpaceGates.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <algorithm>
#include <cctype>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

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

inline Point moved(Point p, Direction d) {
    movePoint(p, d, 1);
    return p;
}

inline int arrowKey(Direction d) {
    return d == WEST ? keys::Left : d == EAST ? keys::Right : d == NORTH ? keys::Up : keys::Down;
}

class DemoRoutes : public ::testing::Test {
protected:
    void SetUp() override {
        resources = nullptr;
        build();
        std::filesystem::create_directories(saveFolder());
    }
    void TearDown() override {
        std::filesystem::remove_all(saveFolder());
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
        // Every planet's people first: its scenes name them.
        std::vector<std::pair<std::filesystem::path, std::string>> folders{{"Game", ""}};
        for (const auto& entry : std::filesystem::directory_iterator("Game"))
            if (entry.is_directory()) folders.push_back({entry.path(), entry.path().filename().string()});
        for (const auto& [folder, planet] : folders)
            if (!planet.empty() && std::filesystem::exists(folder / "Characters.txt"))
                roster->loadCharacters((folder / "Characters.txt").generic_string(), nullptr, 0.0f, false, nullptr);
        for (const auto& [folder, planet] : folders)
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                if (entry.path().filename().string().find("scene.txt") != std::string::npos) {
                    Scene& scene = g->scenes.addScene();
                    scene.load(entry.path().generic_string());
                    scene.planet = planet;
                    sceneFiles[scene.name] = entry.path().generic_string();
                }
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

    static const TileKind& tileKindOf(const Scene& s, Point tile) { return s.tileKindAtCell(tile.x, tile.y); }

    // What a player takes for a way on: a door (a building's or a DOOR tile), a gap in the edge
    // of the map, a mat or plate unlike every tile around it, or a teleport's shimmer.
    static bool drawnAsWayOn(const Scene& s, Point tile) {
        static const std::set<std::string> mats{"BlueCarpet", "RedCarpet", "MetalPlatformSQ"};
        for (const auto& b : s.buildings)
            if (b->hasDoor() && b->door == tile) return true;
        if (s.teleports.count(tile)) return true;
        const TileKind& kind = tileKindOf(s, tile);
        if (kind.door || kind.object == "Door") return true;
        const bool edge = tile.x == 0 || tile.y == 0 || tile.x == s.mapWidth() - 1 || tile.y == s.mapHeight() - 1;
        if (edge && kind.object.empty() && (!kind.blocking || mats.count(kind.texture))) return true;
        if (!mats.count(kind.texture)) return false;
        for (Direction d : DIRECTIONS) {
            const Point n = moved(tile, d);
            if (s.isInside(n) && tileKindOf(s, n).texture == kind.texture) return false;
        }
        return true;
    }

    // The demo walked from the start, breadth first over (scene, came from, arrival tile): what
    // it reaches at the story's present state, and what it finds wrong on the way.
    struct Walk {
        std::set<std::string> scenes, persons;
        std::vector<std::string> problems;
    };
    Walk walkTheDemo() {
        Walk walk;
        std::set<std::tuple<std::string, std::string, Point>> visited;
        struct Step {
            std::string scene, previous;
            Point from;
            Direction key;
        };
        std::deque<Step> queue{{"Town", "Intro", {10, 7}, NO_DIRECTION}};
        while (!queue.empty()) {
            const Step step = queue.front();
            queue.pop_front();
            if (g->findScene(step.scene) < 0) {
                walk.problems.push_back(step.scene + " (from " + step.previous + ") is no scene");
                continue;
            }
            leader().setTilePosition(step.from);
            if (step.key != NO_DIRECTION) leader().setFacing(step.key);
            const Point at = enter(step.scene, step.previous);
            if (!visited.insert({step.scene, step.previous, at}).second) continue;
            walk.scenes.insert(step.scene);
            const Scene& s = g->current();
            for (int i : s.persons) walk.persons.insert(roster->at(i).name);
            if (heldKeyLeadsBack(s, at, step.key, step.previous))
                walk.problems.push_back(s.name + ": arriving from " + step.previous +
                                        ", the held key walks straight back");
            for (const WayOut& w : waysOut(s, at, walk.problems))
                queue.push_back({w.target == "BACK" ? step.previous : w.target, s.name, w.from, w.key});
        }
        std::sort(walk.problems.begin(), walk.problems.end());
        walk.problems.erase(std::unique(walk.problems.begin(), walk.problems.end()), walk.problems.end());
        return walk;
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
        for (Point tile : doors)
            if (!drawnAsWayOn(s, tile)) problems.push_back(s.name + ": the way to " + targetAt(s, tile) + " looks like nothing");
        for (const auto& [tile, target] : s.keyExits)
            if (!drawnAsWayOn(s, tile)) problems.push_back(s.name + ": the way to " + target + " looks like nothing");
        // A puzzle's door shows where it will open before it does; the title names what is drawn
        // where the crates are put back, by its picture's last word ("VaultLever": a lever).
        if (s.sokoban && s.sokoban->present) {
            if (!tileKindOf(s, s.sokoban->doorTile).door) problems.push_back(s.name + ": the puzzle's door looks like nothing");
            const std::string& drawn = tileKindOf(s, s.sokoban->resetTile).object;
            std::string thing = drawn.substr(std::min(drawn.size(), drawn.find_last_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ")));
            for (char& c : thing) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (thing.empty() || s.titleText.find(thing) == std::string::npos)
                problems.push_back(s.name + ": the title does not name the '" + thing + "' that puts the crates back");
        }
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
        // Nor does a pad's globe, drawn over whoever would stand under it.
        for (const auto& [pad, list] : s.rocketDestinationLists)
            for (const auto& [x, planet] : s.rocketDestinations(pad))
                if (seen.count({x, pad.y})) problems.push_back(s.name + ": the globe of " + planet + " stands on an open way");
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

    // The story as the demo plays it, chapter by chapter: the flags its scenes set, what the party
    // carries, the shards it holds and the scene it stands in, from the first chapter to the last.
    struct Stage {
        int chapter;
        std::vector<std::string> flags, items, shards;
        std::string at;
    };
    static const std::vector<Stage>& story() {
        static const std::vector<std::string> leo{"TALKEDLEO"}, gamer{"TALKEDLEO", "TalkedGamer"},
            march{"TALKEDLEO", "TalkedGamer", "DemonsMarchOnSolaris", "CastleDoorOpen"},
            council{"TALKEDLEO", "PlayedChapter10Anim"}, sun{"TALKEDLEO", "GettingSun"},
            hunt{"TALKEDLEO", "GettingSun", "TalkedOrangeKing"},
            huntDone{"TALKEDLEO", "GettingSun", "TalkedOrangeKing", "FinishedOrangeHunt"},
            fizz{"TALKEDLEO", "TalkedBubbleKing"};
        static const std::vector<std::string> four{"Moon", "Air", "Forest", "Water"},
            five{"Moon", "Air", "Forest", "Water", "Sun"}, six{"Moon", "Air", "Forest", "Water", "Sun", "Princess"};
        static const std::vector<Stage> stages{
                {1, {}, {}, {}, "Town"},
                {1, leo, {}, {}, "Guildhall"},
                {1, leo, {}, {}, "Olympus"},
                {1, leo, {}, {"Moon"}, "Solaris"},
                {1, leo, {}, {"Moon"}, "MandelbrotStartingPoint"},
                {2, leo, {}, {"Moon"}, "Solaris"},
                {2, leo, {}, {"Moon"}, "Olympus"},
                {3, gamer, {"Chip"}, {"Moon"}, "CeresObservatory"},
                {3, gamer, {"Chip"}, {"Moon"}, "MandelbrotStartingPoint"},
                {4, gamer, {"Chip"}, {"Moon", "Air"}, "Town"},
                {5, gamer, {"Chip"}, {"Moon", "Air", "Forest"}, "Solaris"},
                {5, gamer, {"Chip"}, {"Moon", "Air", "Forest"}, "Mercury1"},
                {6, march, {"Chip"}, {"Moon", "Air", "Forest"}, "Solaris"},
                {7, leo, {}, {"Moon", "Air", "Forest"}, "Alptraum"},
                {7, leo, {"HellPartyInvitation"}, {"Moon", "Air", "Forest"}, "Moorgrave"},
                {7, leo, {"HellPartyInvitation"}, {"Moon", "Air", "Forest", "Water"}, "Hell"},
                {8, sun, {}, four, "Orange"},
                {8, hunt, {}, four, "OrangeGrove"},
                {8, hunt, {"Clue8"}, four, "Orange"},
                {8, huntDone, {}, four, "Pocuri"},
                {8, huntDone, {}, five, "PocuriNebula"},
                {9, leo, {}, five, "MandelbrotStartingPoint"},
                {9, fizz, {}, five, "FlyersRoost"},
                {9, fizz, {}, six, "MandelbrotStartingPoint"},
                {10, leo, {}, {"Moon", "Air", "Forest", "Water", "Princess", "Sun"}, "Solaris"},
                {10, council, {}, {"Moon", "Air", "Forest", "Water", "Princess", "Sun"}, "CeresCastleF3"},
                {10, council, {"ShieldNullifier"}, {"Moon", "Air", "Forest", "Water", "Princess", "Sun"}, "Solaris"},
        };
        return stages;
    }

    // The party holds these flags, items and shards, and no others.
    void hold(const std::vector<std::string>& flags, const std::vector<std::string>& items,
              const std::vector<std::string>& shards) {
        g->BOOLVARS = {flags.begin(), flags.end()};
        g->SHARDS.clear();
        for (const std::string& sh : shards) g->SHARDS[sh] = 1;
        leader().inventory.clear();
        for (const std::string& i : items) leader().addItemCount(itemList->indexOf(i), 1);
    }

    // The story played stage by stage. Each chapter starts from a fresh demo walked from the
    // start (kept in storyWalk), then onChapter runs with the chapter's first stage; each stage
    // then has the party hold what it holds and stand in its scene, reached in that walk, and
    // onStage runs.
    void playTheStory(const std::function<void(const Stage& first)>& onChapter,
                      const std::function<void(const Stage&)>& onStage) {
        int walked = 0;
        for (const Stage& stage : story()) {
            if (stage.chapter != walked) {
                build();
                g->chapter = walked = stage.chapter;
                g->BOOLVARS.insert("FoundSeedTrail");
                // The castle's door, opened in chapter 6, stays open for the rest of the story.
                if (walked >= 6) g->BOOLVARS.insert("CastleDoorOpen");
                storyWalk = walkTheDemo();
                if (onChapter) onChapter(stage);
            }
            hold(stage.flags, stage.items, stage.shards);
            ASSERT_TRUE(storyWalk.scenes.count(stage.at)) << stage.at << " is not reached in chapter " << stage.chapter;
            g->currentScene = g->findScene(stage.at);
            onStage(stage);
        }
    }

    // Each scene's file, by the scene's name.
    std::map<std::string, std::string> sceneFiles;
    Walk storyWalk;
    std::unique_ptr<People> roster;
    std::unique_ptr<MagicRepository> spells;
    std::unique_ptr<ItemList> catalogue;
    std::unique_ptr<PotionRepository> potions;
    std::unique_ptr<Game> g;
    CatchFatal catcher;

private:
    GlobalsGuard globals_;
};
