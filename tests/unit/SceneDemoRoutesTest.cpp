// The shipped scenes as a map walked from the start: every way out names a scene that exists and
// can be reached on foot, looks like a way on, every chest and pickup can be reached from wherever
// the party arrives, no arrival sends a player who keeps holding the key that brought them
// straight back, and no door has floor above it for its lintel to cover. The arcade's cabinets
// say what they are, and Sabio's advice at every stage of the story points somewhere the party
// can go, as do the words that meet the party at the start of each chapter among the far worlds;
// the fortress's words hold before and after its shield falls. Then the whole demo is emptied
// scene by scene, saved and resumed each time: nothing comes back.
#include "foundation/TextReader.hpp"
#include "game/GameStartup.hpp"
#include "support/DemoRoutes.hpp"

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
        if (!reachedOtherwise(s.name)) { EXPECT_EQ(reached.count(s.name), 1u) << s.name << " cannot be reached"; }
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
    // Every flag and item of the story is one the scene files give.
    std::string sceneText;
    for (const auto& entry : fs::recursive_directory_iterator("Game"))
        if (entry.path().filename().string().find("scene.txt") != std::string::npos) {
            std::ifstream in(entry.path());
            sceneText += std::string(std::istreambuf_iterator<char>(in), {});
        }
    for (const Stage& stage : story()) {
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
    const Walk& walk = storyWalk;
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
    // From chapter 7 on, what the party meets first says where the chapter goes on: the
    // chapter-end screen before it, the scene the story goes on in, the beach the Solar System's
    // red swirl leads to, the king, and in the last chapter the fortress while its shield stands.
    // While far shards are sought, a screen that leads into space and the king name every far
    // world whose shard is still out.
    auto chapterStart = [&](const Stage& first) {
        const int walked = first.chapter;
        if (walked < 7) return;
        hold({"TALKEDLEO", "FoundSeedTrail", "CastleDoorOpen", "FarPlanetsOnOffer"}, {}, first.shards);
        auto namesTheFarWorlds = [&](const std::string& words, const std::string& where) {
            for (const auto& [shard, world] : worldOf) {
                if (!g->SHARDS.count(shard)) {
                    EXPECT_NE(words.find(world), std::string::npos) << where << " does not send to " << world;
                }
            }
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
        if (walked == 10) {
            EXPECT_NE(words.find("Solaris"), std::string::npos)
                << "the shielded fortress does not say where the means to break its shield is found";
        }
    };
    playTheStory(chapterStart, [&](const Stage& stage) {
        pointsOn(g->getAdvice(), "chapter " + std::to_string(stage.chapter) + " in " + stage.at);
    });
}

// The fortress's words hold on both sides of the shield's fall. While it stands, the tile before
// the gate says who can break it, and the field keeps everyone off the gate; once the party
// carries the Nullifier that tile is quiet and the cell before the open gate says the way is
// open, in words true for a party coming out of the hall, which lands there. The tent and the
// sign speak throughout.
TEST_F(DemoRoutes, TheFortressGateSaysWhatHoldsBeforeAndAfterTheShieldFalls) {
    auto frame = [&](std::vector<int> keys) { g->update(keys, nullptr); };
    // The words that meet the leader walking north onto the tile; "" for none.
    auto wordsWalkingOnto = [&](Point tile) -> std::string {
        for (int i = 0; i < 300 && g->current().textBoxActive(); ++i) {
            frame({keys::Space});
            frame({});
        }
        leader().setTilePosition(moved(tile, SOUTH));
        frame({keys::Up});
        for (int i = 0; i < 20 && leader().walking; ++i) frame({});
        frame({});
        if (leader().tile != tile) return "(not reached)";
        const LongText& box = g->current().message;
        return box.isActive() ? box.lines.front() : "";
    };
    g->chapter = 10;
    for (bool fallen : {false, true}) {
        hold({"TALKEDLEO"}, fallen ? std::vector<std::string>{"ShieldNullifier"} : std::vector<std::string>{}, {});
        enter("MadFortress", "Bombinhas");
        const std::string gate = wordsWalkingOnto({7, 4}), beforeGate = wordsWalkingOnto({7, 3});
        if (!fallen) {
            EXPECT_NE(gate.find("council in Solaris, on Ceres, knows how to break it"), std::string::npos) << gate;
            EXPECT_EQ(beforeGate, "(not reached)");
        } else {
            EXPECT_EQ(gate, "");
            EXPECT_NE(beforeGate.find("its shield dead"), std::string::npos) << beforeGate;
        }
        EXPECT_NE(wordsWalkingOnto({13, 7}).find("artificers can break his shield"), std::string::npos) << fallen;
        EXPECT_NE(wordsWalkingOnto({2, 6}).find("rest and heal"), std::string::npos) << fallen;
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

