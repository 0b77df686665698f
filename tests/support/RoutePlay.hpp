// The shipped demo played in one process as the frame loop plays it: key codes into
// Game::update, every frame drawn, from a fixed seed, with frames as the only clock. Every save
// written on the way is noted (by the frame it came on and a hash of each file), and so is every
// fight (its scene, its length, and the party as it ended); a route compares them, and the last
// pair of saves whole, with the files it keeps under tests/data/.
//
// Each fight draws from its own seed: the numbers are seeded again where the game is about
// to level opponents (a battle's start, the Mad Scientist's hall) and again at the battle's
// first turn, once the words that open it are read; the frames a long route draws are counted
// from the latest seed. QUORVANE_FIGHT_SEED gives another seed than the recording's (4044), to
// see how the party fares with other luck; the records are then not compared.
//
// To write a route's expected files afresh from the code as it is (only when the game is meant
// to behave differently), run from build/run:
//   QUORVANE_WRITE_EXPECTED=1 xvfb-run -a -s "-screen 0 1920x1080x24 -noreset"
//   ../tests/quorvane_display_tests --gtest_filter='RoutePlay.*:StoryPlay.*'
#pragma once

#include "battle/Battle.hpp"
#include "battle/BattleFlow.hpp"
#include "characters/People.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "scenes/StepQueue.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace route {

namespace fs = std::filesystem;

struct NoStick : JoystickSource {
    JoystickState read() override { return {}; }
};

// The name typed on the start screen.
const char* const PLAYER = "Route";
const std::string SAVES = std::string("SaveGames/") + PLAYER;

inline std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string fnv1a(const std::string& bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
    std::ostringstream out;
    out << std::hex << h;
    return out.str();
}

// Where two texts first differ: line and column, and some text on both sides of it in each.
inline std::string firstDifference(const std::string& now, const std::string& kept) {
    const std::size_t at = static_cast<std::size_t>(std::mismatch(now.begin(), now.end(), kept.begin(), kept.end()).first - now.begin());
    const std::size_t newline = at == 0 ? std::string::npos : now.rfind('\n', at - 1);
    const std::size_t lineStart = newline == std::string::npos ? 0 : newline + 1;
    const std::size_t from = std::max(lineStart, at < 60 ? 0 : at - 60);
    auto excerpt = [&](const std::string& text) {
        if (at >= text.size()) return std::string("(the text ends here)");
        const std::size_t to = std::min(text.find('\n', at), at + 60);
        return std::string(from > lineStart ? "\"..." : "\"") + text.substr(from, to - from) +
               (to < text.size() && text[to] != '\n' ? "...\"" : "\"");
    };
    return "line " + std::to_string(std::count(now.begin(), now.begin() + static_cast<long>(at), '\n') + 1) + " column " +
           std::to_string(at - lineStart + 1) + ": now " + excerpt(now) + ", kept " + excerpt(kept);
}

class RoutePlay : public ::testing::Test, protected DemoWorld {
protected:
    // The built demo seen through links from a folder of its own, with no saves but the route's:
    // what other tests leave in the demo's save folder does not reach the start screen's list.
    void SetUp() override {
        // A folder of each route's own: the suite plays the routes side by side.
        fs::current_path(
            demoFolder(std::string("route-play-") + ::testing::UnitTest::GetInstance()->current_test_info()->name()));
        setDisplayZoom(120);
        // The program's own seed, before anything is loaded.
        std::srand(RECORDED_SEED);
        if (const char* seed = std::getenv("QUORVANE_FIGHT_SEED")) {
            const std::string text = seed;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), fightSeed_);
            ASSERT_TRUE(error == std::errc() && end == text.data() + text.size() && !text.empty())
                << "QUORVANE_FIGHT_SEED is \"" << text << "\": it must be a whole number from 0 to 4294967295";
        }
        outerLevellingHook_ = setBeforeLevellingHook([this] { seed("levelling"); });
        outerFirstTurnHook_ = setBeforeFirstTurnHook([this] { seed("first turn"); });
        load([&] { shell->joystick = std::make_unique<NoStick>(); });
        shell->gotoScene("StartScreen", false, nullptr);
    }
    void TearDown() override {
        setBeforeLevellingHook(outerLevellingHook_);
        setBeforeFirstTurnHook(outerFirstTurnHook_);
        if (resources)
            for (auto& [name, music] : resources->musics) music.stop();
        fs::current_path(oldDir_);
    }

    // Opponents are about to be levelled, or a battle's first turn has come: what follows draws
    // from the fight's own seed, and the frames drawn are counted afresh, since drawing takes
    // numbers too. Each seed is kept with the scene it was given in, for the fight to check.
    void seed(const std::string& where) {
        std::srand(fightSeed_);
        seededAt_ = frames_;
        seeds_.insert(where + " in " + shell->current().name);
        if (where == "levelling") {
            fallen_.clear();
            falls_.clear();
        }
    }

    // One frame as the frame loop makes it; a save seen for the first time is noted.
    // Once a step has failed the route is lost: the steps after it play no frames.
    void frame(std::vector<int> keyCodes = {}) {
        if (HasFatalFailure()) return;
        ++frames_;
        quiet_ = keyCodes.empty() ? std::min(quiet_ + 1, StepQueue::QUIET_FRAMES) : 0;
        sf::RenderWindow& w = testWindow();
        shell->update(keyCodes, &w);
        if ((frames_ - seededAt_) % drawEvery_ == 0) {
            shell->drawFrame(w);
            w.display();
        }
        noteSave();
        noteFalls();
    }
    // A party member who falls in a fight, and whose turn it was.
    void noteFalls() {
        const Battle& b = shell->current().battle;
        if (!b.isActive()) return;
        for (int m : roster->party) {
            const bool down = roster->at(m).stats[HP] <= 0;
            if (down && fallen_.insert(m).second)
                falls_ += " " + roster->at(m).name + " fell to " +
                          (b.actorIndex() == NO_INDEX ? std::string("nobody's turn") : roster->at(b.actorIndex()).name) +
                          " at frame " + std::to_string(frames_ - seededAt_) + " of the fight;";
            if (!down) fallen_.erase(m);
        }
    }
    void noteSave() {
        const std::string g = fileText(SAVES + "/game.save"), p = fileText(SAVES + "/people.save");
        if (g == lastGame_ && p == lastPeople_) return;
        lastGame_ = g;
        lastPeople_ = p;
        seen_.push_back({g, p});
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(SAVES)) names.insert(entry.path().filename().string());
        std::string files;
        for (const std::string& name : names) files += " " + name;
        log_ << "frame " << frames_ << " in " << shell->current().name << ": game.save " << fnv1a(g)
             << " people.save " << fnv1a(p) << " files" << files << "\n";
    }
    // Frames without keys until the game would act on the next one, as the end-to-end scripts
    // wait: the frames that tell two presses apart, and nothing walking, typing or switching.
    void waitReady() {
        for (int i = 0; i < 3000; ++i) {
            if (quiet_ >= StepQueue::QUIET_FRAMES && std::strcmp(shell->inputWait(), "ready") == 0) return;
            frame();
        }
        if (!HasFatalFailure()) FAIL() << "not ready after 3000 frames in " << shell->current().name << ": " << shell->inputWait();
    }
    void keys(std::initializer_list<int> codes) {
        for (int code : codes) {
            waitReady();
            frame({code});
        }
    }
    // Arrow taps that come while the step before is still walked, as a quick player taps.
    void taps(std::initializer_list<int> codes) {
        for (int code : codes) {
            for (int i = 0; i < 300 && !(quiet_ >= StepQueue::QUIET_FRAMES && readyOrWalking()); ++i) frame();
            frame({code});
        }
    }
    bool readyOrWalking() {
        return std::strcmp(shell->inputWait(), "ready") == 0 || std::strcmp(shell->inputWait(), "walking") == 0;
    }
    // Words that open on the last key: typed, then closed.
    void talk() {
        keys({S});
        dismiss();
    }
    // Confirm pressed until the scene's battle is over.
    void fight() {
        if (HasFatalFailure()) return;
        const std::string where = shell->current().name;
        for (int i = 0; i < 3000 && shell->current().battle.isActive(); ++i) keys({S});
        ASSERT_FALSE(shell->current().battle.isActive()) << "the battle in " << shell->current().name << " goes on";
        noteFight(where);
    }
    // A fight's line in fights.txt: where, how many frames from its first turn, and the party as
    // it ended (level, experience, HP, MP of each member). The fight must have been seeded in its
    // own scene both as its opponents were levelled and at its first turn (a battle a script arms
    // starts on the frame after): a seed given elsewhere, as in the hall before the last battle,
    // does not count for it.
    void noteFight(const std::string& where) {
        for (const char* kind : {"levelling", "first turn"})
            ASSERT_TRUE(seeds_.count(kind + std::string(" in ") + where))
                << "the fight in " << where << " was not seeded at its " << kind << " (seeds since the last fight:"
                << [&] {
                       std::string all;
                       for (const std::string& s : seeds_) all += " " + s + ";";
                       return all;
                   }()
                << ")";
        seeds_.clear();
        fights_ << where << " frames " << frames_ - seededAt_ << ":";
        for (int m : roster->party) {
            const Character& c = roster->at(m);
            fights_ << " " << c.name << " L" << c.level << " XP " << c.stats[XP] << " HP " << c.stats[HP] << " MP "
                    << c.stats[MP] << ";";
        }
        fights_ << "\n";
        std::ofstream("fights.txt", std::ios::binary) << fights_.str();
    }
    // The arrow that walks one tile in the direction.
    static int arrow(Direction d) { return d == WEST ? L : d == EAST ? R : d == NORTH ? U : D; }
    // Where the leader may step on the way to a goal: open ground that nobody stands on and
    // that leads nowhere (doors, exits and teleports are stepped on only as the goal).
    bool open(const Scene& s, Point p) const {
        if (!s.isInside(p) || s.isBlocked(p, roster->mainCharacter().flying) || s.exits.count(p) || s.teleports.count(p) ||
            s.keyExits.count(p) ||
            std::find(s.rocketTravelTiles.begin(), s.rocketTravelTiles.end(), p) != s.rocketTravelTiles.end())
            return false;
        for (int i : s.persons)
            if (i != roster->mainCharacterIndex && roster->at(i).tile == p) return false;
        for (const auto& b : s.buildings)
            if (b->hasDoor() && b->door == p) return false;
        return true;
    }
    // Walks the leader to the nearest of the goals by the shortest way over open ground, a tile
    // a key, planned afresh at every step since people wander; messages met on the way are read
    // and closed. A goal that leads elsewhere is walked onto: the route then goes on in the next
    // scene. `where` gets the tile the walk ended on.
    void walkToNearest(const std::set<Point>& goals, const std::string& what, Point* where = nullptr) {
        const std::string here = shell->current().name;
        for (int step = 0; step < 400 && !HasFatalFailure(); ++step) {
            waitReady();
            readAll();
            const Scene& s = shell->current();
            const Point at = roster->mainCharacter().tile;
            if (where) *where = at;
            if (s.name != here || goals.count(at)) return;
            ASSERT_FALSE(shell->box1.active) << "a choice opened on the way in " << s.name;
            std::map<Point, Direction> firstStep;
            std::deque<Point> queue{at};
            Point reached{-1, -1};
            while (!queue.empty() && reached.x == -1) {
                const Point p = queue.front();
                queue.pop_front();
                for (Direction d : {WEST, EAST, NORTH, SOUTH}) {
                    Point n = p;
                    movePoint(n, d, 1);
                    if (n == at || firstStep.count(n) || !(goals.count(n) || open(s, n))) continue;
                    firstStep[n] = p == at ? d : firstStep[p];
                    if (goals.count(n)) {
                        reached = n;
                        break;
                    }
                    queue.push_back(n);
                }
            }
            ASSERT_NE(reached.x, -1) << "no way to " << what << " in " << s.name << " from (" << at.x << "," << at.y << ")";
            keys({arrow(firstStep[reached])});
        }
        if (!HasFatalFailure()) FAIL() << "did not reach " << what << " in " << here;
    }
    void walkTo(Point goal) {
        std::ostringstream what;
        what << "(" << goal.x << "," << goal.y << ")";
        walkToNearest({goal}, what.str());
    }
    // Takes the nearest way out of the scene that leads to the named one: a door, an exit, or a
    // border walked over; the route goes on there.
    void goTo(const std::string& target) {
        if (HasFatalFailure()) return;
        const Scene& s = shell->current();
        std::set<Point> doors, edge;
        for (const auto& [tile, name] : s.exits)
            if (name == target) doors.insert(tile);
        for (const auto& b : s.buildings)
            if (b->hasDoor() && b->scene == target) doors.insert(b->door);
        Direction out = NO_DIRECTION;
        for (const auto& [d, name] : s.borderExits) {
            if (name != target) continue;
            out = d;
            for (int x = 0; x < s.mapWidth(); ++x)
                for (int y = 0; y < s.mapHeight(); ++y) {
                    Point p{x, y}, beyond{x, y};
                    movePoint(beyond, d, 1);
                    if (!s.isInside(beyond) && open(s, p)) edge.insert(p);
                }
        }
        std::set<Point> goals = doors;
        goals.insert(edge.begin(), edge.end());
        ASSERT_FALSE(goals.empty()) << s.name << " has no way to " << target;
        Point at{-1, -1};
        walkToNearest(goals, "the way to " + target, &at);
        if (edge.count(at) && shell->current().name == s.name) keys({arrow(out)});
        expectScene(target);
    }
    // Walks next to the tile facing it and presses confirm: talks to whoever stands there or
    // uses what is there; the words that open are read to their end. A player faces a thing by
    // the last step toward it; a blocked thing is faced by the arrow alone.
    void use(Point target) {
        if (HasFatalFailure()) return;
        const Scene& s = shell->current();
        auto opposite = [](Direction d) { return d == SOUTH ? NORTH : d == NORTH ? SOUTH : d == EAST ? WEST : EAST; };
        for (bool stepIn : {true, false})
            for (Direction side : {SOUTH, NORTH, EAST, WEST}) {
                Point from = target, behind = target;
                movePoint(from, side, 1);
                movePoint(behind, side, 2);
                const Direction facing = opposite(side);
                if (!open(s, from) && from != roster->mainCharacter().tile) continue;
                if (stepIn ? !open(s, behind) && behind != roster->mainCharacter().tile : open(s, target)) continue;
                walkTo(stepIn ? behind : from);
                keys({arrow(facing)});
                readAll(); // what the last step's tile says
                keys({S});
                readAll();
                return;
            }
        FAIL() << "no way to face (" << target.x << "," << target.y << ") in " << s.name;
    }
    void talkTo(const std::string& name) {
        if (HasFatalFailure()) return;
        const int who = roster->indexOf(name);
        ASSERT_NE(who, NO_INDEX) << name;
        use(roster->at(who).tile);
    }
    // Plays the party's side of the scene's battle by the keys, each member doing what the
    // game's own tactics would do in its place: it walks where they lead and strikes, casts or
    // throws on whom they choose, or walks on toward the fight and stands. The route means to
    // win: a battle lost or still going after its turns fails the play there. The fights are won
    // with some luck: each draws from its own seed, given as its opponents are levelled and again
    // at its first turn. Words and draws before that turn no longer reach it: with the dome
    // town's title 9 characters shorter, the castle's 17 longer, a welcome line 30 longer and two
    // draws more in the first chapters, every fight and every game.save came out as recorded.
    // What outlives a seed still moves the draws after a fight (the rocket flight's star field,
    // kept from flight to flight), and with them where the wanderers stand; that reached no fight.
    // Words typed during a fight (a battle message, a level gained) still move its draws.
    void fightWell() {
        if (HasFatalFailure()) return;
        const std::string where = shell->current().name;
        for (int turn = 0; turn < 3000 && !HasFatalFailure(); ++turn) {
            Battle& b = shell->current().battle;
            auto partysTurn = [&] {
                return b.state == Battle::PLAYER_MOVES && !b.turnIntro && b.actorIndex() != NO_INDEX &&
                       isPlayerSide(b.actorIndex());
            };
            // The battle's words (its opening lines, a death, a level gained) are read on.
            for (int i = 0; i < 6000 && b.isActive() && !partysTurn(); ++i)
                if ((shell->current().textBoxActive() || b.shownAction.playing) &&
                         quiet_ >= StepQueue::QUIET_FRAMES && std::strcmp(shell->inputWait(), "ready") == 0)
                    frame({S}); // a close-up waits for a key once it has played
                else
                    frame();
            if (!b.isActive()) break;
            const long long actor = b.actorIndex();
            Character& a = roster->at(actor);
            // What the game's own tactics would do in this member's place: where to go, whom to
            // strike or help, and with what.
            const std::vector<Point> keptPath = b.path;
            const PlannedAction plan = b.planEnemyTurn();
            b.path = keptPath;
            BattleAction chosen = plan.action;
            const std::string& spell = chosen.spell.name;
            const bool acts = chosen.target != NO_INDEX && spell.find("Build") == std::string::npos &&
                              spell.find("Skeleton") == std::string::npos;
            Point dest = a.tile;
            if (acts && b.reachableCells.count(chosen.cell)) {
                dest = chosen.cell;
            } else {
                // Nothing to do from here: on toward the nearest enemy by the way a player would
                // walk, round whatever stands between.
                const std::map<Point, int> way = stepsToNearestEnemy(b, a.flying);
                int nearest = 1 << 30;
                for (Point cell : b.reachableCells) {
                    const auto d = way.find(cell);
                    if (d != way.end() && d->second < nearest && !occupied(b, actor, cell)) nearest = d->second, dest = cell;
                }
            }
            const BattleAction* best = acts && dest == chosen.cell ? &chosen : nullptr;
            battleWalk(b, a, actor, dest);
            frame({S});
            frame();
            if (b.state != Battle::COMMAND_MENU) continue;
            if (!best) {
                choose("Stand");
                continue;
            }
            const std::string command =
                !chosen.spell.name.empty() ? "Magic" : chosen.potion.empty() ? "Attack" : "Throw Potion";
            const std::vector<std::string>& offered = shell->box1.options;
            if (std::find(offered.begin(), offered.end(), command) == offered.end()) {
                choose("Stand"); // the walk ended short of the cell it was going to strike from
                continue;
            }
            if (!chosen.spell.name.empty()) {
                choose("Magic");
                waitReady();
                chooseIn(shell->box2, chosen.spell.name + " L" + std::to_string(chosen.spell.level));
            } else {
                choose(chosen.potion.empty() ? "Attack" : "Throw Potion");
            }
            frame();
            if (b.state != Battle::CHOOSE_TARGET) continue;
            const auto list = b.menuActions.find(b.chosenKey);
            if (list == b.menuActions.end()) continue;
            int row = 0;
            for (std::size_t i = 0; i < list->second.size(); ++i)
                if (list->second[i].target == chosen.target) row = static_cast<int>(i);
            for (int i = 0; i < 40 && b.selection != row; ++i) {
                frame({D});
                frame();
            }
            frame({S});
            frame();
        }
        if (HasFatalFailure()) return;
        const long long scene = shell->findScene(where);
        ASSERT_NE(scene, NO_INDEX) << "the battle's scene " << where << " is gone";
        const Battle& fought = shell->scenes[scene].battle;
        ASSERT_TRUE(fought.won && !fought.isActive())
            << "the battle in " << where << " was " << (fought.isActive() ? "still going" : "lost") << " at frame " << frames_
            << " (now in " << shell->current().name << ");" << falls_ << (fought.isActive() ? whoStandsWhere(fought) : "")
            << "\nThe fights won before it, seeded with " << fightSeed_ << ":\n" << fights_.str();
        noteFight(where);
    }
    // Walking steps from every cell open to a walker (or a flyer) to the nearest living enemy.
    std::map<Point, int> stepsToNearestEnemy(const Battle& b, bool flying) const {
        const Scene& s = battleScene(b);
        std::map<Point, int> steps;
        std::deque<Point> queue;
        for (long long c : b.turnList)
            if (!isPlayerSide(c) && roster->at(c).stats[HP] > 0 && steps.emplace(roster->at(c).tile, 0).second)
                queue.push_back(roster->at(c).tile);
        while (!queue.empty()) {
            const Point p = queue.front();
            queue.pop_front();
            for (Direction d : {WEST, EAST, NORTH, SOUTH}) {
                Point n = p;
                movePoint(n, d, 1);
                if (!s.isInside(n) || s.isBlocked(n, flying) || (!flying && b.extraWalkerCells.count(n)) || steps.count(n))
                    continue;
                steps[n] = steps[p] + 1;
                queue.push_back(n);
            }
        }
        return steps;
    }
    // A battle left unfinished: who stands where, and whose turn it is.
    std::string whoStandsWhere(const Battle& b) const {
        std::ostringstream out;
        out << "; the turn is " << (b.actorIndex() == NO_INDEX ? std::string("nobody's") : roster->at(b.actorIndex()).name + "'s")
            << ", state " << b.state << ";";
        for (long long c : b.turnList) {
            const Character& who = roster->at(c);
            out << " " << who.name << (isPlayerSide(c) ? " (party)" : "") << " at (" << who.tile.x << "," << who.tile.y
                << ") HP " << who.stats[HP] << ";";
        }
        return out.str();
    }
    bool occupied(const Battle& b, long long actor, Point cell) const {
        for (long long c : b.turnList)
            if (c != actor && roster->at(c).stats[HP] > 0 && roster->at(c).tile == cell) return true;
        return false;
    }
    // Walks the battle's actor to the cell within its reach, one arrow a cell.
    void battleWalk(Battle& b, Character& a, long long actor, Point dest) {
        for (int step = 0; step < 20 && a.tile != dest && !HasFatalFailure(); ++step) {
            std::map<Point, Direction> firstStep;
            std::deque<Point> queue{a.tile};
            while (!queue.empty() && !firstStep.count(dest)) {
                const Point p = queue.front();
                queue.pop_front();
                for (Direction d : {WEST, EAST, NORTH, SOUTH}) {
                    Point n = p;
                    movePoint(n, d, 1);
                    // Allies are walked through; opponents' cells are out of reach already.
                    if (n == a.tile || firstStep.count(n) || !b.reachableCells.count(n)) continue;
                    firstStep[n] = p == a.tile ? d : firstStep[p];
                    queue.push_back(n);
                }
            }
            if (!firstStep.count(dest)) return;
            const Point from = a.tile;
            frame({arrow(firstStep[dest])});
            for (int i = 0; i < 60 && (a.tile == from || a.walking); ++i) frame();
        }
    }
    // Picks the named row of a choice box.
    void chooseIn(OptionMenu& box, const std::string& option) {
        if (HasFatalFailure()) return;
        ASSERT_TRUE(box.active) << "no choice open for " << option;
        const auto it = std::find(box.options.begin(), box.options.end(), option);
        ASSERT_NE(it, box.options.end()) << option << " is not offered";
        const int row = static_cast<int>(it - box.options.begin());
        for (int i = 0; i < 40 && box.selected != row; ++i) keys({box.selected < row ? D : U});
        keys({S});
    }
    // Steers the rocket of a space scene onto the cell, a cell a key, each step flown to its end
    // (a key while the rocket is between cells is not taken); a gate met there starts its trip,
    // which confirm cuts short, and the route goes on where it leads.
    void steerTo(Point target) {
        const std::string here = shell->current().name;
        // A rocket that waits on the gate it last took flies off it and back to take it again.
        if (Flame& rocket = shell->current().flame; rocket.tile == target) {
            const Point from = rocket.tile;
            frame({target.x + 1 < shell->current().mapWidth() ? R : L});
            for (int i = 0; i < 60 && (rocket.tile == from || rocket.betweenTiles()); ++i) frame();
        }
        for (int step = 0; step < 100 && !HasFatalFailure() && shell->current().name == here; ++step) {
            Flame& rocket = shell->current().flame;
            for (int i = 0; i < 60 && rocket.betweenTiles(); ++i) frame();
            if (rocket.tile == target) break;
            const Point from = rocket.tile;
            const int key = from.x < target.x ? R : from.x > target.x ? L : from.y < target.y ? D : U;
            frame({key});
            for (int i = 0; i < 60 && (rocket.tile == from || rocket.betweenTiles()); ++i) frame();
        }
        for (int i = 0; i < 600 && !HasFatalFailure() && shell->current().name == here; ++i)
            frame(i % 10 == 9 ? std::vector<int>{S} : std::vector<int>{});
    }
    // Picks the named row of the open choice box (the rocket pad's destinations, a question).
    void choose(const std::string& option) {
        if (HasFatalFailure()) return;
        waitReady();
        OptionMenu& box = shell->box1;
        ASSERT_TRUE(box.active) << "no choice open in " << shell->current().name;
        const auto it = std::find(box.options.begin(), box.options.end(), option);
        ASSERT_NE(it, box.options.end()) << option << " is not offered in " << shell->current().name;
        const int row = static_cast<int>(it - box.options.begin());
        while (box.selected < row && !HasFatalFailure()) keys({D});
        while (box.selected > row && !HasFatalFailure()) keys({U});
        keys({S});
    }
    // Every text box of the scene read and closed. A rocket's choice is left open: what was
    // found on the pad is told beside it, and confirm would pick a destination.
    void readAll() {
        const std::string here = shell->current().name;
        for (int i = 0; i < 200 && !HasFatalFailure(); ++i) {
            waitReady();
            if (shell->current().name != here || !shell->current().textBoxActive()) return;
            if (shell->box1.active && shell->current().rocketMenuTile.x != -1) return;
            keys({S});
        }
    }
    // Waits for a text box to open (a title, a message) and closes it once it has typed.
    void dismiss() {
        if (HasFatalFailure()) return;
        for (int i = 0; i < 300 && !shell->current().textBoxActive(); ++i) frame();
        ASSERT_TRUE(shell->current().textBoxActive()) << "no text in " << shell->current().name;
        keys({K::Space});
    }
    // Arrived in the scene: its title read and closed.
    void into(const std::string& name) {
        expectScene(name);
        dismiss();
    }
    void expectScene(const std::string& name) {
        if (HasFatalFailure()) return;
        for (int i = 0; i < 3000 && shell->current().name != name; ++i) frame();
        waitReady();
        ASSERT_EQ(shell->current().name, name) << "after frame " << frames_;
    }

    // The saves written so far against the first ones of the route kept in tests/data/<folder>:
    // a shortened play (the sanitized build is several times slower) checks the route's start.
    void compareWithRecordedStart(const std::string& folder) {
        if (HasFatalFailure() || !recordedLuck()) return;
        const std::string kept = fileText(fs::path(sourceDir()) / "tests/data" / folder / "saves.txt");
        const std::string now = log_.str();
        ASSERT_FALSE(now.empty());
        const std::string start = kept.substr(0, now.size());
        if (now != start)
            ADD_FAILURE() << folder << "/saves.txt does not begin with these saves: they differ at " << firstDifference(now, start)
                          << writePlaysSaveWhereListsDiffer(now, start);
    }
    // The saves and fights of the route against the files kept in tests/data/<folder>.
    void compareWithRecorded(const std::string& folder) {
        if (HasFatalFailure() || !recordedLuck()) return;
        const fs::path expected = fs::path(sourceDir()) / "tests/data" / folder;
        const std::map<std::string, std::string> written{
            {"game.save", lastGame_}, {"people.save", lastPeople_}, {"saves.txt", log_.str()}, {"fights.txt", fights_.str()}};
        for (const auto& [name, text] : written) {
            if (std::getenv("QUORVANE_WRITE_EXPECTED") != nullptr) {
                fs::create_directories(expected);
                std::ofstream(expected / name, std::ios::binary) << text;
            }
            const std::string kept = fileText(expected / name);
            if (text == kept) continue;
            ADD_FAILURE() << folder << "/" << name << " differs at " << firstDifference(text, kept)
                          << (name == "saves.txt" ? writePlaysSaveWhereListsDiffer(text, kept) : "")
                          << " (QUORVANE_WRITE_EXPECTED=1 writes it afresh)";
        }
    }
    // Fights seeded otherwise than the recording's play out otherwise: they are told, not compared.
    bool recordedLuck() const {
        if (fightSeed_ == RECORDED_SEED) return true;
        std::cout << "Fights seeded with " << fightSeed_ << ", not compared with the record:\n" << fights_.str();
        return false;
    }
    // The route's saves are kept only as hashes: where the list first differs, the texts of the
    // save the play wrote there are written beside the play for a look.
    std::string writePlaysSaveWhereListsDiffer(const std::string& now, const std::string& kept) {
        const auto at = std::mismatch(now.begin(), now.end(), kept.begin(), kept.end()).first;
        const auto save = static_cast<std::size_t>(std::count(now.begin(), at, '\n'));
        if (save >= seen_.size()) return "";
        const fs::path folder = fs::current_path() / ("save-" + std::to_string(save + 1));
        fs::create_directories(folder);
        std::ofstream(folder / "game.save", std::ios::binary) << seen_[save].first;
        std::ofstream(folder / "people.save", std::ios::binary) << seen_[save].second;
        return "; the play's save " + std::to_string(save + 1) + " is in " + folder.string();
    }

    using K = sf::Keyboard;
    static constexpr int L = keys::Left, R = keys::Right, U = keys::Up, D = keys::Down, S = keys::Space;

    GlobalsGuard globals_;
    CatchFatal catcher_;
    fs::path oldDir_ = fs::current_path();
    long frames_ = 0;
    // Every frame is drawn, as the frame loop does; a long route may draw one frame in a few.
    int drawEvery_ = 1;
    int quiet_ = StepQueue::QUIET_FRAMES;
    // The recording's seed, for the program and for every fight.
    static constexpr unsigned RECORDED_SEED = 4044;
    unsigned fightSeed_ = RECORDED_SEED;
    std::function<void()> outerLevellingHook_, outerFirstTurnHook_;
    // The frame of the latest seed, and every seed since the last fight ("first turn in Arena").
    long seededAt_ = 0;
    std::set<std::string> seeds_;
    std::set<int> fallen_;  // the members down in this fight
    std::string falls_;     // who fell in it, and to whom
    std::ostringstream fights_;
    std::string lastGame_, lastPeople_;
    std::vector<std::pair<std::string, std::string>> seen_; // every save's game.save and people.save
    std::ostringstream log_;
};

} // namespace route
