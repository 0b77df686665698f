// Playing on must not make the program grow: what one round of zooms, scene switches and menus
// takes (pictures kept by the drawing shortcuts, half-size pictures, glyphs) is taken once, and
// every later round gives back what it made. The game is driven by key codes through the real
// Game and every frame is drawn into the window, with the shortcuts on.
//
// The sanitizers' allocator keeps freed memory back on purpose, so resident memory says nothing
// there.
#include "foundation/DrawBatch.hpp"
#include "foundation/OpaqueCopies.hpp"
#include "foundation/ScreenCopy.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

class ResidentMemory : public ::testing::Test, protected DemoWorld {
protected:
    void SetUp() override {
#ifdef QUORVANE_SANITIZED
        GTEST_SKIP() << "the sanitizers' allocator keeps freed memory";
#endif
        load();
        for (auto& [name, music] : resources->musics) music.stop();
    }
    void TearDown() override {
        if (resources)
            for (auto& [name, music] : resources->musics) music.stop();
        setDisplayZoom(120);
    }

    // One frame as the frame loop makes it: the keys, then the picture.
    void frame(std::vector<int> keyCodes = {}) {
        shell->update(keyCodes, nullptr);
        sf::RenderWindow& w = testWindow();
        shell->drawFrame(w);
        w.display();
    }
    void press(int key) {
        frame({key});
        frame();
    }
    void enter(const char* scene) {
        shell->gotoScene(scene, true, nullptr);
        ASSERT_EQ(shell->current().name, scene);
        // Silence: in a process whose earlier tests took every audio source, each call on a
        // playing stream reports its failure at length.
        for (auto& [name, music] : resources->musics) music.stop();
        frame();
    }

    // --- the steps of a round ---
    void zoomToggles(const char* scene, int toggles) {
        enter(scene);
        for (int i = 0; i < toggles; ++i) {
            const int before = displayTileSize;
            press(keys::Z);
            ASSERT_NE(displayTileSize, before) << "Z did not change the zoom in " << scene;
        }
    }
    void sceneSwitches(int switches) {
        const char* scenes[] = {"Town", "Quarter", "Meadow", "GlowCave", "Garden"};
        for (int i = 0; i < switches; ++i) enter(scenes[i % 5]);
    }
    void partyMenuAndCharacterView() {
        enter("Quarter");
        press(keys::X);
        ASSERT_TRUE(shell->partyMenu.isOpen);
        press(keys::Space); // "View"
        press(keys::Space); // the leader
        ASSERT_NE(shell->shownCharacter, NO_INDEX);
        press(keys::LControl);
        press(keys::LControl);
        press(keys::X);
        ASSERT_FALSE(shell->partyMenu.isOpen);
        ASSERT_EQ(shell->shownCharacter, NO_INDEX);
    }

    GlobalsGuard globals;
};

// Each kept picture the shortcuts make, used as they use it and then dropped, gives back its
// pixels: a framebuffer left on it would keep them for as long as the window lives.
TEST(KeptPictures, GiveBackTheirPixelsWhenTheyGo) {
#ifdef QUORVANE_SANITIZED
    GTEST_SKIP() << "the sanitizers' allocator keeps freed memory";
#endif
    sf::RenderWindow& w = testWindow();
    ASSERT_TRUE(w.setActive(true));
    sf::Image opaque;
    opaque.create(1024, 1024, sf::Color(40, 90, 160));
    ScreenCopySource remade; // one source made again and again, as at a new window size
    long first = 0;
    constexpr int TIMES = 60; // 8 MB of pixels each time: 1.4 GB if they stayed
    for (int i = 0; i < TIMES; ++i) {
        {
            ScreenCopySource picture;
            ASSERT_TRUE(picture.create(1024, 1024));
            picture.target().clear(sf::Color::Green);
            picture.finishDrawing();
            ASSERT_TRUE(picture.attach(w));
            picture.copyTo(w, {0, 0}, {64, 64}, {0, 0});
        }
        ASSERT_TRUE(remade.create(1024 + i % 2, 1024));
        ASSERT_TRUE(remade.attach(w));
        remade.copyTo(w, {0, 0}, {64, 64}, {64, 0});
        {
            // A building's picture, copied and then dropped by its owner.
            sf::Texture building;
            ASSERT_TRUE(building.loadFromImage(opaque));
            ASSERT_TRUE(drawByOpaqueCopies(w, building, sf::Color::White, {128, 0}));
            forgetOpaqueCopies(building);
        }
        w.display();
        if (i == 1) first = residentKilobytes();
    }
    const long last = residentKilobytes();
    EXPECT_LE(last - first, 20 * 1024) << "resident MB from " << first / 1024 << " to " << last / 1024;
}

TEST_F(ResidentMemory, StaysWhereTheFirstRoundLeftIt) {
    ASSERT_TRUE(drawShortcuts);
    // One line a step: a round plays them all in turn.
    const std::vector<std::pair<std::string, std::function<void()>>> round = {
        {"20 zoom toggles in the town", [&] { zoomToggles("Town", 20); }},
        {"20 zoom toggles in the old quarter", [&] { zoomToggles("Quarter", 20); }},
        {"10 scene switches", [&] { sceneSwitches(10); }},
        {"the party menu and the character view", [&] { partyMenuAndCharacterView(); }},
    };
    constexpr int ROUNDS = 10;
    constexpr long ALLOWED_KB = 20 * 1024;
    const auto start = std::chrono::steady_clock::now();
    std::vector<long> after;
    for (int r = 0; r < ROUNDS; ++r) {
        for (const auto& [name, step] : round) {
            step();
            ASSERT_FALSE(HasFatalFailure()) << "round " << r + 1 << ": " << name;
        }
        after.push_back(residentKilobytes());
    }
    std::string curve;
    for (long kb : after) curve += " " + std::to_string(kb / 1024);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "Resident MB after each round:" << curve << " (" << seconds << " s)" << std::endl;
    EXPECT_LE(after.back() - after.front(), ALLOWED_KB) << "resident MB after each round:" << curve;
}

} // namespace
