// The demo's route played in one process as the frame loop plays it: key codes into Game::update,
// every frame drawn, from a fixed seed, with frames as the only clock (the game reads the wall
// clock only to seed a planet it generates, which the route never visits, and to place the
// orrery, which saves nothing). Every save written on the way must match, byte for byte, the
// files kept in tests/data/route-play/: the last game.save and people.save whole, and each
// save before them by the frame it came on and a hash of each file. A change that moves a
// random draw, a frame or a byte of a save shows here.
//
// To write the expected files afresh from the code as it is (only when the game is meant to
// behave differently), run from build/run:
//   QUORVANE_WRITE_EXPECTED=1 xvfb-run -a -s "-screen 0 1920x1080x24 -noreset"
//   ../tests/quorvane_display_tests --gtest_filter='RoutePlay.*'
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

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct NoStick : JoystickSource {
    JoystickState read() override { return {}; }
};

// The name typed on the start screen.
const char* const PLAYER = "Route";
const std::string SAVES = std::string("SaveGames/") + PLAYER;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string fnv1a(const std::string& bytes) {
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

TEST_F(RoutePlay, TheDemoRouteWritesTheSameSaves) {
    // A new game: the list of saves, its first line, the name, and Back on the difficulty list.
    keys({S, S, K::R, K::O, K::U, K::T, K::E, K::Enter, K::LControl});
    expectScene("Intro");
    keys({S});
    expectScene("Town");
    dismiss();
    // The inn, walked with quick taps: its bed's note, a night's sleep, its chest and lodger.
    taps({U, U, L, L, L, L, L, L, U});
    expectScene("TownHouse");
    keys({L, L, L, U, U});
    dismiss();
    keys({U, S});
    keys({D, R, R, R, R, R, R, U, U, U, S});
    dismiss();
    keys({D, L, L});
    talk();
    keys({D, L, L, D});
    expectScene("Town");
    // The Old Quarter past the sign, and each of its doors.
    keys({D, D, D, D, R, R, R, R, R, D, D, D});
    dismiss();
    keys({D});
    into("Quarter");
    keys({D, D, D, D, D, D, L, L, L, U, U}); // the star tower
    dismiss();
    keys({S});
    into("Quarter");
    keys({D, L, L, L, L, L, L, L, U, U});
    into("Bank");
    keys({U});
    talk();
    keys({D, D});
    into("Quarter");
    keys({D, R, R, R, R, U, U});
    into("Smithy");
    keys({R, U});
    talk();
    keys({D, L, D});
    into("Quarter");
    keys({D, R, R, R, R, R, R, R, R, R, R, U, U, U});
    into("SnowPass");
    keys({L, L, L, L, L, L, L, L, L, D, D});
    into("Quarter");
    keys({R, R, R, R, R, R, R, R, U});
    into("WonderHall");
    keys({U, U, U, U, U, R, R, R, R, R, R, R, R, R, R});
    into("BlockPuzzle");
    keys({L});
    into("WonderHall");
    keys({L, L, L, L, L, L, L, L, L, D, D, D, D, D, D});
    into("Quarter");
    keys({D, D, D, D, D, D, D, L, L, U});
    into("GlowCave");
    keys({U, U, U, U, D, D, D, D, D});
    into("Quarter");
    keys({L, L, L, L, L, L, L, L, L, L, L, L, L, L, L, U});
    into("MagicShop");
    keys({L, U});
    talk();
    keys({D, R, D});
    into("Quarter");
    keys({L, L, L, L, U});
    into("Garden");
    keys({U, U, U, U, U, U, U, U, R, R, R, R, R, U});
    talk(); // the crane
    keys({R, R, R, R, U});
    talk(); // the golem
    keys({D, L, L, L, L, L, L, L, D, D, D, D, D, D, D, D, D, D});
    into("Quarter");
    keys({L, L, L, L, L, L, L, U});
    into("HedgeMaze");
    keys({R, R, R, R, R, R, R, R, D, D});
    into("Quarter");
    keys({R, R, R, U, U, U, U, U, L, L, L, U, U});
    into("Garden");
    keys({U, U, R, R, R, R, R, R, R, R, R, D, D, D, D});
    into("Quarter");
    keys({R, R, R, R, R, R, R, R, R, U, U, U, U, U, U, U, U, U, U, U, U});
    expectScene("Town");
    // The seed in its chest on the east road, then the dojo's practice fight by the pond.
    keys({U, U, R, R, R, R, U, R});
    dismiss();
    keys({D, S});
    dismiss();
    keys({R, D, D, D, R, R, U});
    expectScene("Dojo");
    dismiss();
    fight();
    keys({L});
    expectScene("Town");
    keys({L, L, U, U, U, U, R, R, U, R, R, R});
    into("Meadow");
    keys({R, R, R, R, R});
    talk(); // the cat joins
    // The party menu's view of the leader, opened and closed.
    keys({keys::X, S, S});
    EXPECT_TRUE(shell->partyMenu.isOpen);
    EXPECT_EQ(shell->shownCharacter, roster->mainCharacterIndex);
    keys({keys::LControl, keys::LControl, keys::X});
    EXPECT_FALSE(shell->partyMenu.isOpen);
    // The launch pad: a flight to Ceres; Orla and Tobin in Solaris, then back through the gap.
    keys({R, R, R, R, R, U, U, U, U, D, S});
    expectScene("Solaris");
    dismiss();
    keys({U, R, R, R, R, D});
    talk();
    keys({R, D, D, D, R});
    talk();
    keys({L, L, L, L, L, L, U, L, L});
    into("Meadow");
    // Down the path in the meadow's south hedge into the arena's battle.
    keys({R, R, R, R, R, R, R, R, R, R, D, D, D, D, D});
    dismiss();
    keys({D});
    expectScene("Arena");
    dismiss();
    fight();
    waitReady();

    // What the route took is in the last save: the inn's bread and open chest, the seed, the cat.
    EXPECT_NE(lastPeople_.find("Bread 2"), std::string::npos);
    EXPECT_NE(lastPeople_.find("StrengthSeed 1"), std::string::npos);
    EXPECT_NE(lastGame_.find("SCENE TownHouse CHESTS 1 7 1 ''"), std::string::npos);
    EXPECT_NE(lastGame_.find("CURRENTSCENE Arena"), std::string::npos);
    EXPECT_NE(lastGame_.find("QUORVANE 2 Ravi Whiskers"), std::string::npos);
    const fs::path expected = fs::path(sourceDir()) / "tests/data/route-play";
    const std::map<std::string, std::string> written{
        {"game.save", lastGame_}, {"people.save", lastPeople_}, {"saves.txt", log_.str()}};
    for (const auto& [name, text] : written) {
        if (std::getenv("QUORVANE_WRITE_EXPECTED") != nullptr) {
            fs::create_directories(expected);
            std::ofstream(expected / name, std::ios::binary) << text;
        }
        EXPECT_EQ(text, fileText(expected / name)) << name << " (QUORVANE_WRITE_EXPECTED=1 writes it afresh)";
    }
}

} // namespace
