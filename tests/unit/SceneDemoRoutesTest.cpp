// The shipped scenes as a map walked from the start: every way out names a scene that exists and
// can be reached on foot, looks like a way on, every chest and pickup can be reached from wherever
// the party arrives, no arrival sends a player who keeps holding the key that brought them
// straight back, and no door has floor above it for its lintel to cover. The arcade's cabinets
// say what they are, and Sabio's advice at every stage of the story points somewhere the party
// can go, as do the words that meet the party at the start of each chapter among the far worlds.
// Then the whole demo is emptied scene by scene, saved and resumed each time: nothing comes back.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/GameStartup.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"
#include "minigames/Sokoban.hpp"
#include "minigames/RocketTravel.hpp"
#include "minigames/SpaceGates.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
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
        // Every planet's people first: its scenes name them.
        std::vector<std::pair<fs::path, std::string>> folders{{"Game", ""}};
        for (const auto& entry : fs::directory_iterator("Game"))
            if (entry.is_directory()) folders.push_back({entry.path(), entry.path().filename().string()});
        for (const auto& [folder, planet] : folders)
            if (!planet.empty() && fs::exists(folder / "Characters.txt"))
                roster->loadCharacters((folder / "Characters.txt").generic_string(), nullptr, 0.0f, false, nullptr);
        for (const auto& [folder, planet] : folders)
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.path().filename().string().find("scene.txt") != std::string::npos) {
                    Scene& scene = g->scenes.addScene();
                    scene.load(entry.path().generic_string());
                    scene.planet = planet;
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
    // The walk learns every planet's pad as it goes, as a player has by the far planets'
    // chapter; Solaris's pad then lines up all its globes, whose stands that story has raised.
    g->BOOLVARS.insert("MercuryOnOffer");
    g->BOOLVARS.insert("FarPlanetsOnOffer");
    // Solaris's castle door, laid by the chapter that opens it.
    g->BOOLVARS.insert("CastleDoorOpen");
    Walk walk = walkTheDemo();
    const std::set<std::string>& reached = walk.scenes;
    // A door's lintel is drawn over the cell above it: that cell is wall, never floor that someone
    // stands on under the lintel. Every map, as the walk left it or as loaded.
    for (const Scene& s : g->scenes)
        for (int x = 0; x < s.mapWidth(); ++x)
            for (int y = 1; y < s.mapHeight(); ++y)
                if (tileKindOf(s, {x, y}).door && !tileKindOf(s, {x, y - 1}).blocking)
                    walk.problems.push_back(s.name + ": the door at (" + std::to_string(x) + "," + std::to_string(y) +
                                            ") has floor above it");
    // A rocket's launch spot is a metal plate, and players look for it: no other plate lies by a
    // rocket that stands on open ground (where it stands on plate, the whole floor is plate), nor
    // alone anywhere in its scene (a deck of plates is no pad). The rocket's picture reaches up
    // over the tile above, where nobody may stand hidden, walking or flying.
    for (const Scene& s : g->scenes) {
        if (!s.hasRocketTravelPlace) continue;
        const Point rocket = s.rocketTravelPlace;
        const std::vector<Point>& spots = s.rocketTravelTiles;
        auto at = [&](Point p) { return s.name + " (" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; };
        auto plate = [&](Point p) { return s.isInside(p) && tileKindOf(s, p).texture == "MetalPlatformSQ"; };
        if (spots.empty()) walk.problems.push_back(s.name + ": the rocket has no launch spot");
        for (Point spot : spots)
            if (!plate(spot)) walk.problems.push_back(at(spot) + ": a launch spot on bare ground");
        for (int x = 0; x < s.mapWidth(); ++x)
            for (int y = 0; y < s.mapHeight(); ++y) {
                const Point p{x, y};
                if (!plate(p) || std::find(spots.begin(), spots.end(), p) != spots.end()) continue;
                const bool byTheRocket = !plate(rocket) && std::abs(x - rocket.x) <= 2 && std::abs(y - rocket.y) <= 2;
                const bool alone = !plate(moved(p, NORTH)) && !plate(moved(p, SOUTH)) && !plate(moved(p, WEST)) &&
                                   !plate(moved(p, EAST));
                if (byTheRocket || alone) walk.problems.push_back(at(p) + ": a plate that launches nothing");
            }
        const Point hidden = moved(rocket, NORTH);
        if (s.isInside(hidden) && !(s.isBlocked(hidden, false) && s.isBlocked(hidden, true)))
            walk.problems.push_back(at(hidden) + ": one can stand hidden behind the rocket");
    }
    EXPECT_TRUE(walk.problems.empty()) << ::testing::PrintToString(walk.problems);
    // Reached otherwise than by a way out: the title screens, the chapter ends and the castle
    // floor a chapter opens, the vault's prize room a solved puzzle opens, the fortress's hall,
    // shield room and epilogue behind the field the last chapter's nullifier lifts, and the
    // nebula's rooms that the planet's generation places.
    auto reachedOtherwise = [](const std::string& name) {
        return name == "StartScreen" || name == "CreditsStart" || name == "Intro" ||
               name == "CeresCastleF3" || name == "BlockPrize" || name == "Epilogue" ||
               name == "FortressHall" || name == "FinalBattle" ||
               (name.rfind("Chapter", 0) == 0 && name.size() > 3 && name.substr(name.size() - 3) == "End") ||
               (name.rfind("Mandelbrot", 0) == 0 && name != "MandelbrotStartingPoint" &&
                name != "MandelbrotNebula");
    };
    for (const Scene& s : g->scenes) {
        if (!reachedOtherwise(s.name)) EXPECT_EQ(reached.count(s.name), 1u) << s.name << " cannot be reached";
        // The words spoken on arrival are not hidden under the title's box, drawn over them.
        EXPECT_TRUE(s.entryMonologPerson.empty() || s.titleText.empty()) << s.name << "'s title covers its words on arrival";
    }
    // The title screens come before the town, and the credits go back to the title.
    EXPECT_EQ(g->sceneByName("Intro").anyKeyScene, "Town");
    EXPECT_EQ(g->sceneByName("CreditsStart").anyKeyScene, "StartScreen");
    for (const std::string& line : g->sceneByName("CreditsStart").credits.lines)
        EXPECT_EQ(line.find("ChangeScene"), std::string::npos) << line;
}

TEST_F(DemoRoutes, EveryArcadeCabinetSaysWhatItIs) {
    // The game behind each door, the name a player reads for it, and whether it ends only when
    // the game does (those three give no way out once started).
    const std::map<std::string, std::pair<std::string, bool>> games{
        {"ArcadeGuessNumber", {"Guess Number", false}}, {"ArcadeCave", {"The Mines", false}},
        {"ArcadeSnake", {"Snake", true}},              {"ArcadeFlags", {"Guess the Flag", true}},
        {"ArcadeCourse", {"The Obstacle Course", true}}, {"ArcadeShooter", {"Save The Future", false}}};
    const Scene& arcade = g->sceneByName("Arcade");
    std::set<std::string> cabinets, named;
    for (const auto& [door, target] : arcade.exits) {
        auto game = games.find(target);
        if (game == games.end()) continue;
        named.insert(target);
        // The tile a player walks up from, its message, and the cabinet on its left.
        const Point before = moved(door, SOUTH);
        auto message = arcade.positionMessages.find(before);
        ASSERT_NE(message, arcade.positionMessages.end()) << target << " is not named before its door";
        EXPECT_EQ(message->second.rfind(game->second.first + ":", 0), 0u) << message->second;
        EXPECT_EQ(message->second.find("it ends only when the game does") != std::string::npos, game->second.second)
            << message->second;
        const std::string& cabinet = tileKindOf(arcade, moved(before, WEST)).object;
        EXPECT_EQ(cabinet.rfind("Cabinet", 0), 0u) << target << " has no cabinet beside its door";
        EXPECT_TRUE(cabinets.insert(cabinet).second) << target << "'s cabinet looks like another's";
    }
    EXPECT_EQ(named.size(), games.size());
    // No cabinet stands in the hall without a game of its own.
    int standing = 0;
    for (int x = 0; x < arcade.mapWidth(); ++x)
        for (int y = 0; y < arcade.mapHeight(); ++y) {
            const std::string& object = tileKindOf(arcade, {x, y}).object;
            standing += object.rfind("Cabinet", 0) == 0 || object == "ArcadeCabinet";
        }
    EXPECT_EQ(standing, static_cast<int>(games.size()));
}

// A planet's people are its own: a name that another character file already gives would read the
// planet's line into that character, changing the one the rest of the game meets.
TEST_F(DemoRoutes, NoTwoCharacterFilesDefineOneName) {
    // The files start-up reads from Game.txt, then each planet's as loading the planet finds it.
    std::vector<std::string> files;
    std::vector<GameFileLine> index;
    ASSERT_TRUE(readGameIndex(index));
    for (const auto& [kind, path] : index)
        if (kind == "Characters" || kind == "Enemies") files.push_back(path);
    ASSERT_EQ(files.size(), 2u);
    std::set<std::string> planets;
    for (const auto& [scene, planet] : planetScenes()) planets.insert(planet);
    for (const std::string& planet : planets)
        if (fs::exists(planetCharactersFile(planet))) files.push_back(planetCharactersFile(planet));
    EXPECT_GT(files.size(), 6u);
    std::map<std::string, std::string> definedIn;
    for (const std::string& file : files) {
        // Read as a save is, into an empty roster: every name the file defines comes back once,
        // with the last line that gives it.
        const std::map<std::string, std::string> names = People().loadCharacters(file, nullptr, 0.0f, true, nullptr);
        for (const auto& [name, line] : names)
            if (auto [at, added] = definedIn.emplace(name, file); !added)
                ADD_FAILURE() << name << " is defined in " << at->second << " and in " << file;
        // A name given twice in one file: the second line reads into the first's character.
        std::ifstream in(file);
        std::map<std::string, int> lines;
        for (std::string line; std::getline(in, line);)
            if (const std::vector<std::string> words = splitWords(line); words.size() >= 2 && words[0] == "Character")
                ++lines[words[1]];
        for (const auto& [name, count] : lines)
            EXPECT_EQ(count, 1) << name << " is defined " << count << " times in " << file;
        EXPECT_EQ(lines.size(), names.size()) << file;
    }
    EXPECT_GT(definedIn.size(), 100u);

    // So in a new game, entering a planet leaves everyone already known as they were.
    People fresh;
    for (const std::string& file : {files[0], files[1]}) fresh.loadCharacters(file, nullptr, 0.0f, false, nullptr);
    auto lines = [&] {
        std::vector<std::string> out;
        for (Character& c : fresh.characters) {
            std::ostringstream line;
            c.writeSave(line);
            out.push_back(line.str());
        }
        return out;
    };
    for (std::size_t f = 2; f < files.size(); ++f) {
        const std::vector<std::string> known = lines();
        std::set<std::string> added;
        fresh.loadCharacters(files[f], nullptr, 0.0f, false, &added);
        std::vector<std::string> now = lines();
        now.resize(known.size());
        EXPECT_EQ(now, known) << "after " << files[f];
    }
}

TEST_F(DemoRoutes, SabiosAdviceAtEveryStageNamesSomewhereReachable) {
    // The story as the demo plays it, chapter by chapter: the flags its scenes set, what the party
    // carries, the shards it holds and the scene it stands in, from the first chapter to the last.
    struct Stage {
        int chapter;
        std::vector<std::string> flags, items, shards;
        std::string at;
    };
    const std::vector<std::string> leo{"TALKEDLEO"}, gamer{"TALKEDLEO", "TalkedGamer"},
        march{"TALKEDLEO", "TalkedGamer", "DemonsMarchOnSolaris", "CastleDoorOpen"},
        council{"TALKEDLEO", "PlayedChapter10Anim"}, sun{"TALKEDLEO", "GettingSun"},
        hunt{"TALKEDLEO", "GettingSun", "TalkedOrangeKing"},
        huntDone{"TALKEDLEO", "GettingSun", "TalkedOrangeKing", "FinishedOrangeHunt"},
        fizz{"TALKEDLEO", "TalkedBubbleKing"};
    const std::vector<std::string> four{"Moon", "Air", "Forest", "Water"},
        five{"Moon", "Air", "Forest", "Water", "Sun"}, six{"Moon", "Air", "Forest", "Water", "Sun", "Princess"};
    const std::vector<Stage> story{
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
    // Every flag and item of the story is one the scene files give.
    std::string sceneText;
    for (const auto& entry : fs::recursive_directory_iterator("Game"))
        if (entry.path().filename().string().find("scene.txt") != std::string::npos) {
            std::ifstream in(entry.path());
            sceneText += std::string(std::istreambuf_iterator<char>(in), {});
        }
    for (const Stage& stage : story) {
        for (const std::string& f : stage.flags)
            EXPECT_NE(sceneText.find("SetBoolVar " + f + "\n"), std::string::npos) << f;
        for (const std::string& i : stage.items)
            EXPECT_NE(sceneText.find(" " + i + " "), std::string::npos) << i;
    }

    // The words of the advice, and of the chapter starts below, that point somewhere, and the
    // scene or person each one means.
    std::vector<std::pair<std::string, std::string>> places{
        {"king", "Leo"},           {"Ceres computer", "CeresObservatory"}, {"Ceres Observatory", "CeresObservatory"},
        {"Mars", "Olympus"},       {"Mercury", "Mercury1"},                {"Demon Village", "Mercury1"},
        {"nebula", "MandelbrotNebula"}, {"solar system", "SolarSystem"}, {"Ceres castle", "CeresCastleF3"},
        {"fortress", "MadFortress"}, {"Orange king", "Clementin"}, {"Orange jester", "Zest"},
        {"Pocuri nebula", "PocuriNebula"}, {"king about exploring the nebula", "KingFizz"},
        {"Ceres", "Solaris"},      {"Cauchemar", "Alptraum"},              {"Mandelbrot", "MandelbrotStartingPoint"},
        {"King Fizz", "KingFizz"}, {"artificers", "Linguini"}};
    for (const Scene& s : g->scenes) places.push_back({s.name, s.name});
    for (const Character& c : roster->characters) places.push_back({c.name, c.name});

    // The story's stages come in chapter order: one walk of the demo per chapter.
    int walked = 0;
    Walk walk;
    // Words that name somewhere, every place they name reached in this chapter; a scene's words
    // that name only the scene itself (here) point nowhere.
    auto pointsOn = [&](const std::string& words, const std::string& where, const std::string& here = "") {
        int named = 0;
        for (const auto& [word, place] : places) {
            if (words.find(word) == std::string::npos || place == here) continue;
            ++named;
            EXPECT_TRUE(walk.scenes.count(place) || walk.persons.count(place))
                << where << ": \"" << words << "\" points to " << place << ", not reached then";
        }
        EXPECT_GT(named, 0) << where << ": \"" << words << "\" names nowhere";
    };
    auto hold = [&](const std::vector<std::string>& flags, const std::vector<std::string>& items,
                    const std::vector<std::string>& shards) {
        g->BOOLVARS = {flags.begin(), flags.end()};
        g->SHARDS.clear();
        for (const std::string& sh : shards) g->SHARDS[sh] = 1;
        leader().inventory.clear();
        for (const std::string& i : items) leader().addItemCount(itemList->indexOf(i), 1);
    };
    // The words a scene says as the party arrives from the one before: what the king says there,
    // or else a screen's lines and the note that stands for the title.
    auto wordsOn = [&](const std::string& scene, const std::string& from) {
        enter(scene, from);
        const Scene& s = g->current();
        std::string words;
        if (auto leo = s.monologs.find(roster->indexOf("Leo")); leo != s.monologs.end()) {
            for (const std::string& line : leo->second.lines) words += line + " ";
            return words;
        }
        for (const SceneText& t : s.texts) words += t.text + " ";
        for (const std::string& line : s.message.isActive() ? s.message.lines : std::vector<std::string>{})
            words += line + " ";
        return words;
    };
    const std::map<std::string, std::string> worldOf{{"Water", "Cauchemar"}, {"Sun", "Orange"}, {"Princess", "Mandelbrot"}};
    for (const Stage& stage : story) {
        if (stage.chapter != walked) {
            build();
            g->chapter = walked = stage.chapter;
            g->BOOLVARS.insert("FoundSeedTrail");
            // The castle's door, opened in chapter 6, stays open for the rest of the story.
            if (walked >= 6) g->BOOLVARS.insert("CastleDoorOpen");
            walk = walkTheDemo();
            // From chapter 7 on, what the party meets first says where the chapter goes on: the
            // chapter-end screen before it, the scene the story goes on in, the beach the Solar
            // System's red swirl leads to, the king, and in the last chapter the fortress while
            // its shield stands. While far shards are sought, a screen that leads into space and
            // the king name every far world whose shard is still out.
            if (walked >= 7) {
                hold({"TALKEDLEO", "FoundSeedTrail", "CastleDoorOpen", "FarPlanetsOnOffer"}, {}, stage.shards);
                auto namesTheFarWorlds = [&](const std::string& words, const std::string& where) {
                    for (const auto& [shard, world] : worldOf)
                        if (!g->SHARDS.count(shard))
                            EXPECT_NE(words.find(world), std::string::npos) << where << " does not send to " << world;
                };
                const std::string end = "Chapter" + std::to_string(walked - 1) + "End";
                const std::string screen = wordsOn(end, "Solaris");
                pointsOn(screen, end);
                if (walked == 8 || walked == 9) namesTheFarWorlds(screen, end);
                std::vector<std::string> firstMet{"Solaris"};
                if (walked > 7) firstMet = {"SolarSystem", "Bombinhas", "Solaris"};
                if (walked == 10) firstMet.push_back("MadFortress");
                std::string from = end, words;
                for (const std::string& scene : firstMet) {
                    words = wordsOn(scene, from);
                    pointsOn(words, "the start of chapter " + std::to_string(walked) + " in " + scene, scene);
                    if (scene == "Solaris" && walked < 10) namesTheFarWorlds(words, "King Leo");
                    from = scene;
                }
                if (walked == 10)
                    EXPECT_NE(words.find("Solaris"), std::string::npos)
                        << "the shielded fortress does not say where the means to break its shield is found";
            }
        }
        hold(stage.flags, stage.items, stage.shards);
        ASSERT_TRUE(walk.scenes.count(stage.at)) << stage.at << " is not reached in chapter " << stage.chapter;
        g->currentScene = g->findScene(stage.at);
        pointsOn(g->getAdvice(), "chapter " + std::to_string(stage.chapter) + " in " + stage.at);
    }
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

    // The final headquarters hands the party the reserve and shares out what it carries: not a
    // place where taking comes back, and one this walk would disturb for every later scene.
    std::vector<std::string> names;
    for (const Scene& s : g->scenes)
        if (s.type == SCENE_WALK && !s.finalHQ) names.push_back(s.name);
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
            // (The battle's own joiners are with the party while it lasts.)
            for (int i : t.persons)
                EXPECT_TRUE(i == roster->mainCharacterIndex || !(roster->party.count(i) || roster->reserve.count(i)) ||
                            std::count(t.battle.joins.begin(), t.battle.joins.end(), i))
                    << again << ": " << roster->at(i).name << " stands here but travels with the party";
            EXPECT_EQ(carried(), taken) << "entering " << again << " after resuming in " << name;
        }
    }
    // The demo has things to take: the town's, the inn's and the maze's chests, a cat to meet.
    EXPECT_GE(chestsOpened, 4);
    EXPECT_GE(joined, 1);
}

// A game closed on a save point (entering a scene, winning its battle) and resumed comes back
// with the start screen as the scene it came from: every way on from there, a key that goes
// "back" or a lost battle that ends "back" included, must lead into the story, never to the title.
TEST_F(DemoRoutes, EverySavePointResumesOntoAWayThatLeadsOnIntoTheStory) {
    // Each scene entered from one that leads to it, so the leader stands where a player would.
    std::map<std::string, std::string> wayIn;
    for (const Scene& s : g->scenes) {
        std::vector<std::string> targets{s.anyKeyScene};
        for (const auto& [tile, target] : s.exits) targets.push_back(target);
        for (const auto& [d, target] : s.borderExits) targets.push_back(target);
        for (const auto& b : s.buildings) targets.push_back(b->scene);
        for (const std::string& t : targets) wayIn.emplace(t, s.name);
    }
    std::vector<std::string> names;
    for (const Scene& s : g->scenes) names.push_back(s.name);
    int savePoints = 0;
    for (const std::string& name : names) {
        build();
        fs::remove_all(saveFolder());
        fs::create_directories(saveFolder());
        enter(name, wayIn.count(name) ? wayIn[name] : "Town");
        // A battle that starts on entry saves when it is won.
        if (Battle& b = g->current().battle; b.inBattle && !fs::exists(g->gameSavePath())) {
            b.won = true;
            b.finish(true);
        }
        if (!fs::exists(g->gameSavePath())) continue;
        ++savePoints;

        build();
        g->currentScene = g->findScene("StartScreen");
        ASSERT_TRUE(g->loadGame(nullptr)) << name;
        ASSERT_EQ(g->current().name, name);
        const Scene& s = g->current();
        const std::string cameFrom = g->scenes.at(g->previousScene).name;
        std::vector<std::string> problems;
        std::vector<WayOut> ways = waysOut(s, leader().tile, problems);
        for (const Point tile : s.comeBackLocations) ways.push_back({tile, NO_DIRECTION, "BACK"});
        if (s.battle.isActive() && s.battle.egress == "PREV") ways.push_back({leader().tile, NO_DIRECTION, "BACK"});
        for (const WayOut& w : ways) {
            const std::string to = w.target == "BACK" ? cameFrom : w.target;
            EXPECT_NE(to, "StartScreen") << "resumed in " << name << ", a way leads to the title";
            EXPECT_GE(g->findScene(to), 0) << name << ": " << to;
        }
    }
    EXPECT_GE(savePoints, 12);
}


// A game resumed from a save fights its battles as one played on: a save is written between
// battles and settles nobody's levels. A line marked SAVED (as older builds marked every line)
// settles its character: those enemies fight with the stats the save gave them.
TEST_F(DemoRoutes, AResumedGameLevelsItsEnemiesAsOnePlayedOn) {
    using Stats = std::vector<std::pair<std::string, std::array<int, STAT_COUNT>>>;
    // The enemies of the battle that starts on entry, levelled from the same rolls.
    auto enemiesOf = [&](const std::string& scene, const std::string& from) {
        std::srand(7);
        enter(scene, from);
        EXPECT_TRUE(g->current().battle.inBattle) << scene;
        Stats out;
        for (long long e : g->current().battle.enemies) out.emplace_back(roster->at(e).name, roster->at(e).stats);
        return out;
    };
    // Saved in the town or in the Mad Scientist's hall (readied with his ring), fought next door.
    const std::vector<std::array<std::string, 4>> plays{{"Town", "Intro", "Arena", "Meadow"},
                                                        {"FortressHall", "MadFortress", "FinalBattle", "FortressHall"}};
    for (const auto& [saved, from, fought, way] : plays) {
        build();
        enter(saved, from);
        ASSERT_TRUE(g->saveGame());
        const auto playedOn = enemiesOf(fought, way);
        std::ifstream in(g->peopleSavePath());
        std::string line, older;
        while (std::getline(in, line)) older += line + (line.rfind("Character ", 0) == 0 ? " SAVED\n" : "\n");
        for (bool old : {false, true}) {
            if (old) std::ofstream(g->peopleSavePath(), std::ios::binary) << older;
            build();
            ASSERT_TRUE(g->loadGame(nullptr));
            Stats asSaved;
            for (const auto& [name, stats] : playedOn) asSaved.emplace_back(name, roster->at(roster->indexOf(name)).stats);
            const auto fightingWith = enemiesOf(fought, way);
            EXPECT_EQ(fightingWith, old ? asSaved : playedOn) << fought << (old ? " after a save marked SAVED" : "");
            EXPECT_NE(asSaved, playedOn) << fought << ": a battle that levels nobody shows nothing";
        }
    }
}

} // namespace
