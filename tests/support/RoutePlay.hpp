// The shipped demo played in one process as the frame loop plays it: key codes into
// Game::update, every frame drawn, from a fixed seed, with frames as the only clock. Every save
// written on the way is noted (by the frame it came on and a hash of each file), and a route
// compares them, and the last pair whole, with the files it keeps under tests/data/.
//
// To write a route's expected files afresh from the code as it is (only when the game is meant
// to behave differently), run from build/run:
//   QUORVANE_WRITE_EXPECTED=1 xvfb-run -a -s "-screen 0 1920x1080x24 -noreset"
//   ../tests/quorvane_display_tests --gtest_filter='RoutePlay.*:StoryPlay.*'
#pragma once

#include "battle/Battle.hpp"
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
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

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

class RoutePlay : public ::testing::Test, protected DemoWorld {
protected:
    // The built demo seen through links from a folder of its own, with no saves but the route's:
    // what other tests leave in the demo's save folder does not reach the start screen's list.
    void SetUp() override {
        const std::string folder = scratchDir("route-play");
        for (const auto& entry : fs::directory_iterator(runDir()))
            if (entry.path().filename() != "SaveGames")
                fs::create_symlink(entry.path(), fs::path(folder) / entry.path().filename());
        fs::create_directories(fs::path(folder) / "SaveGames");
        fs::current_path(folder);
        setDisplayZoom(120);
        // The program's own seed, before anything is loaded.
        std::srand(4044);
        load([&] { shell->joystick = std::make_unique<NoStick>(); });
        shell->gotoScene("StartScreen", false, nullptr);
    }
    void TearDown() override {
        if (resources)
            for (auto& [name, music] : resources->musics) music.stop();
        fs::current_path(oldDir_);
    }

    // One frame as the frame loop makes it; a save seen for the first time is noted.
    // Once a step has failed the route is lost: the steps after it play no frames.
    void frame(std::vector<int> keyCodes = {}) {
        if (HasFatalFailure()) return;
        ++frames_;
        quiet_ = keyCodes.empty() ? std::min(quiet_ + 1, StepQueue::QUIET_FRAMES) : 0;
        sf::RenderWindow& w = testWindow();
        shell->update(keyCodes, &w);
        shell->drawFrame(w);
        w.display();
        noteSave();
    }
    void noteSave() {
        const std::string g = fileText(SAVES + "/game.save"), p = fileText(SAVES + "/people.save");
        if (g == lastGame_ && p == lastPeople_) return;
        lastGame_ = g;
        lastPeople_ = p;
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
            if (std::getenv("ROUTE_TRACE")) std::printf("key %d at frame %ld in %s\n", code, frames_, shell->current().name.c_str());
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
        for (int i = 0; i < 3000 && shell->current().battle.isActive(); ++i) keys({S});
        ASSERT_FALSE(shell->current().battle.isActive()) << "the battle in " << shell->current().name << " goes on";
    }
    // The arrow that walks one tile in the direction.
    static int arrow(Direction d) { return d == WEST ? L : d == EAST ? R : d == NORTH ? U : D; }
    // Where the leader may step on the way to a goal: open ground that nobody stands on and
    // that leads nowhere (doors, exits and teleports are stepped on only as the goal).
    bool open(const Scene& s, Point p) const {
        if (!s.isInside(p) || s.isBlocked(p, false) || s.exits.count(p) || s.teleports.count(p) ||
            s.keyExits.count(p) ||
            std::find(s.rocketTravelTiles.begin(), s.rocketTravelTiles.end(), p) != s.rocketTravelTiles.end())
            return false;
        for (int i : s.persons)
            if (i != roster->mainCharacterIndex && roster->at(i).tile == p) return false;
        for (const auto& b : s.buildings)
            if (b->hasDoor() && b->door == p) return false;
        return true;
    }
    // Walks the leader to the tile by the shortest way over open ground, a tile a key, planned
    // afresh at every step since people wander; messages met on the way are read and closed.
    // A goal that leads elsewhere is walked onto: the route then goes on in the next scene.
    void walkTo(Point goal) {
        const std::string here = shell->current().name;
        for (int step = 0; step < 400 && !HasFatalFailure(); ++step) {
            waitReady();
            readAll();
            const Scene& s = shell->current();
            const Point at = roster->mainCharacter().tile;
            if (s.name != here || at == goal) return;
            ASSERT_FALSE(shell->box1.active) << "a choice opened on the way in " << s.name;
            std::map<Point, Direction> firstStep;
            std::deque<Point> queue;
            for (Direction d : {WEST, EAST, NORTH, SOUTH}) {
                Point n = at;
                movePoint(n, d, 1);
                if (n == goal || open(s, n)) {
                    firstStep.emplace(n, d);
                    queue.push_back(n);
                }
            }
            while (!queue.empty() && !firstStep.count(goal)) {
                const Point p = queue.front();
                queue.pop_front();
                for (Direction d : {WEST, EAST, NORTH, SOUTH}) {
                    Point n = p;
                    movePoint(n, d, 1);
                    if ((n == goal || open(s, n)) && firstStep.emplace(n, firstStep[p]).second) queue.push_back(n);
                }
            }
            ASSERT_TRUE(firstStep.count(goal)) << "no way to (" << goal.x << "," << goal.y << ") in " << s.name
                                               << " from (" << at.x << "," << at.y << ")";
            if (std::getenv("ROUTE_TRACE")) std::printf("walk %s (%d,%d) -> (%d,%d) key %d wait %s\n", s.name.c_str(), at.x, at.y, goal.x, goal.y, firstStep[goal], shell->inputWait());
            keys({arrow(firstStep[goal])});
        }
        if (!HasFatalFailure()) FAIL() << "did not reach (" << goal.x << "," << goal.y << ") in " << here;
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
                if (std::getenv("ROUTE_TRACE")) std::printf("use (%d,%d) from (%d,%d) facing %d wait %s box %d\n", target.x, target.y, roster->mainCharacter().tile.x, roster->mainCharacter().tile.y, roster->mainCharacter().facing, shell->inputWait(), int(shell->current().textBoxActive()));
                keys({S});
                readAll();
                return;
            }
        FAIL() << "no way to face (" << target.x << "," << target.y << ") in " << s.name;
    }
    void talkTo(const std::string& name) {
        const int who = roster->indexOf(name);
        ASSERT_NE(who, NO_INDEX) << name;
        use(roster->at(who).tile);
    }
    // Picks the named row of the open choice box (the rocket pad's destinations, a question).
    void choose(const std::string& option) {
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
    // Every text box of the scene read and closed.
    void readAll() {
        const std::string here = shell->current().name;
        for (int i = 0; i < 200 && !HasFatalFailure(); ++i) {
            waitReady();
            if (shell->current().name != here || !shell->current().textBoxActive()) return;
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

    // The saves of the route against the files kept in tests/data/<folder>.
    void compareWithRecorded(const std::string& folder) {
        const fs::path expected = fs::path(sourceDir()) / "tests/data" / folder;
        const std::map<std::string, std::string> written{
            {"game.save", lastGame_}, {"people.save", lastPeople_}, {"saves.txt", log_.str()}};
        for (const auto& [name, text] : written) {
            if (std::getenv("QUORVANE_WRITE_EXPECTED") != nullptr) {
                fs::create_directories(expected);
                std::ofstream(expected / name, std::ios::binary) << text;
            }
            EXPECT_EQ(text, fileText(expected / name)) << folder << "/" << name
                                                       << " (QUORVANE_WRITE_EXPECTED=1 writes it afresh)";
        }
    }

    using K = sf::Keyboard;
    static constexpr int L = keys::Left, R = keys::Right, U = keys::Up, D = keys::Down, S = keys::Space;

    GlobalsGuard globals_;
    CatchFatal catcher_;
    fs::path oldDir_ = fs::current_path();
    long frames_ = 0;
    int quiet_ = StepQueue::QUIET_FRAMES;
    std::string lastGame_, lastPeople_;
    std::ostringstream log_;
};

} // namespace route
