// The shell's overlays drawn into a real window, and start-up on the shipped demo.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

Resources& fontsOnly() {
    static PerSuite<Resources> store([] {
        auto r = std::make_unique<Resources>();
        r->loadFonts(runDir() + "/Resources/Fonts", nullptr, 0, r->fonts);
        // What the shard map and the telescope draw.
        r->loadTextureFolder(runDir() + "/Resources/Planets", nullptr, 0, r->planets);
        r->loadTextureFolder(runDir() + "/Resources/Gems", nullptr, 0, r->gems);
        r->loadTextureFolder(runDir() + "/Resources/Misc", nullptr, 0, r->misc);
        return r;
    });
    return *store;
}

class GameDraw : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = {resources, game, people};
        resources = &fontsOnly();
        people = &roster_;
        roster_.characters.push_back(Character("Hero"));
        game = &g;
        Scene& s = g.scenes.addScene();
        s.name = "Blank";
        s.type = SCENE_SCREEN;
    }
    void TearDown() override {
        resources = saved_.resources;
        game = saved_.game;
        people = saved_.people;
    }
    // Draws one frame over a white window and returns the picture.
    sf::Image frame() {
        sf::RenderWindow& w = testWindow();
        w.clear(sf::Color::White);
        g.draw(w);
        return captureWindow(w);
    }

    People roster_;
    Game g;
    struct {
        Resources* resources;
        Game* game;
        People* people;
    } saved_{};
};

} // namespace

TEST_F(GameDraw, AnEmptyScreenSceneLeavesTheWindowAsItWas) {
    // The baseline the overlay tests below rely on.
    EXPECT_EQ(frame().getPixel(960, 540), sf::Color::White);
}

// The share of a rectangle's pixels that have exactly one colour.
double shareOf(const sf::Image& img, sf::Color colour, sf::IntRect r) {
    long n = 0;
    for (int y = r.top; y < r.top + r.height; ++y)
        for (int x = r.left; x < r.left + r.width; ++x) n += img.getPixel(x, y) == colour;
    return static_cast<double>(n) / (static_cast<double>(r.width) * r.height);
}

TEST_F(GameDraw, TheShardMapAndTelescopeReplaceEverything) {
    // Their own dark sky instead of the window's white and the confirmation panel. The map's
    // planets go round with the wall clock, so no single pixel is read: wherever they stand, the
    // white left over is the orbits' and the words' thin lines, and nothing keeps the panel's olive.
    const sf::IntRect window{0, 0, 1920, 1080}, panel{640, 360, 640, 360};
    const sf::Color panelColour(150, 150, 0);
    g.confirmShown = true;
    const sf::Image uncovered = frame();
    ASSERT_GT(shareOf(uncovered, sf::Color::White, window), 0.8);
    ASSERT_GT(shareOf(uncovered, panelColour, panel), 0.8);

    g.shardMap.shown = true;
    g.shardMap.background.startSpaceDrift();
    g.currentScene = 7; // not even the scene is looked at
    const sf::Image map = frame();
    EXPECT_LT(shareOf(map, sf::Color::White, window), 0.02); // the orbits alone make 1.4 %
    EXPECT_EQ(shareOf(map, panelColour, panel), 0);
    g.shardMap.shown = false;
    g.telescope.shown = true;
    g.telescope.background.startSpaceDrift();
    g.setStrVar("TELESCOPEVIEW", "Nada");
    const sf::Image sky = frame();
    EXPECT_LT(shareOf(sky, sf::Color::White, window), 0.02);
    EXPECT_EQ(shareOf(sky, panelColour, panel), 0);
    g.telescope.shown = false;
    EXPECT_FATAL(frame(), "ASSERT file Game line 495 : Scene");
}

TEST_F(GameDraw, SleepFadeAndClosingBars) {
    g.sleeping = true;
    g.sleepFrame = 50;
    EXPECT_EQ(frame().getPixel(960, 540), sf::Color(128, 128, 128)); // alpha 127 over white
    g.sleepFrame = 100;
    EXPECT_EQ(frame().getPixel(960, 540), sf::Color::Black);
    g.sleepFrame = 149;
    EXPECT_EQ(frame().getPixel(10, 10), sf::Color::Black);
    g.sleeping = false;

    g.switchPending = true;
    g.switchFrame = 5; // bars of 270 from top and bottom, 480 from the sides
    sf::Image half = frame();
    EXPECT_EQ(half.getPixel(960, 269), sf::Color::Black);
    EXPECT_EQ(half.getPixel(960, 271), sf::Color::White);
    EXPECT_EQ(half.getPixel(960, 1080 - 269), sf::Color::Black);
    EXPECT_EQ(half.getPixel(479, 540), sf::Color::Black);
    EXPECT_EQ(half.getPixel(481, 540), sf::Color::White);
    EXPECT_EQ(half.getPixel(1920 - 479, 540), sf::Color::Black);
    g.switchFrame = 10;
    EXPECT_EQ(frame().getPixel(960, 540), sf::Color::Black);
}

TEST_F(GameDraw, ThePictureViewFillsTheScreenWithoutDistortion) {
    sf::Image red;
    red.create(100, 200, sf::Color::Red);
    resources->objects["TallPicture"].loadFromImage(red);
    red.create(400, 100, sf::Color::Red);
    resources->objects["WidePicture"].loadFromImage(red);
    g.pictureShown = true;
    g.viewedPicture = "TallPicture"; // 540 by 1080, from x = 690
    sf::Image tall = frame();
    EXPECT_EQ(tall.getPixel(692, 540), sf::Color::Red);
    EXPECT_EQ(tall.getPixel(688, 540), sf::Color::White);
    EXPECT_EQ(tall.getPixel(960, 2), sf::Color::Red);
    g.viewedPicture = "WidePicture"; // 1920 by 480, from y = 300
    sf::Image wide = frame();
    EXPECT_EQ(wide.getPixel(2, 302), sf::Color::Red);
    EXPECT_EQ(wide.getPixel(960, 298), sf::Color::White);
}

TEST_F(GameDraw, TheConfirmationAndSettingsPanels) {
    g.confirmShown = true;
    g.confirmQuestion = "Quit?";
    sf::Image confirm = frame();
    // The panel spans (640, 360) to (1280, 720); the inner frame starts at (672, 378).
    EXPECT_EQ(confirm.getPixel(650, 370), sf::Color(150, 150, 0));
    EXPECT_EQ(confirm.getPixel(1270, 710), sf::Color(150, 150, 0));
    EXPECT_EQ(confirm.getPixel(630, 370), sf::Color::White);
    // The title stands on the panel: some of its pixels are not the panel's colour, near the
    // panel's middle, none left of it.
    int titlePixels = 0;
    for (unsigned x = 640; x < 1280; ++x)
        for (unsigned y = 430; y < 500; ++y)
            if (confirm.getPixel(x, y) != sf::Color(150, 150, 0)) ++titlePixels;
    EXPECT_GT(titlePixels, 500);
    for (unsigned x = 300; x < 636; ++x) EXPECT_EQ(confirm.getPixel(x, 460), sf::Color::White);
    g.confirmShown = false;
    g.settingsOpen = true;
    sf::Image settings = frame();
    EXPECT_EQ(settings.getPixel(490, 800), sf::Color::Red);
    EXPECT_EQ(settings.getPixel(470, 800), sf::Color::White);
}

// Each highlighted item of the shell's panels takes one colour of the game's one random
// sequence per frame (three draws); the rest of the panels take none.
TEST_F(GameDraw, OnlyHighlightedItemsDrawRandomColours) {
    auto drawsOfAFrame = [&] { return randomDrawsMadeBy([&] { frame(); }, 99); };
    const int scene = drawsOfAFrame(); // what the scene itself takes
    ASSERT_GE(scene, 0);
    g.settingsOpen = true;
    g.settingsRow = 0;
    EXPECT_EQ(drawsOfAFrame() - scene, 3); // the row's box
    g.settingsRow = 2;
    EXPECT_EQ(drawsOfAFrame() - scene, 3); // the value only
    g.input.leftHeld = true;
    EXPECT_EQ(drawsOfAFrame() - scene, 6); // and "<"
    g.input.rightHeld = true;
    EXPECT_EQ(drawsOfAFrame() - scene, 9); // and ">"
    g.settingsOpen = false;
    g.confirmShown = true;
    EXPECT_EQ(drawsOfAFrame() - scene, 9); // both outlines and the selected answer
}

// ---------------------------------------------------------------------------------------------

TEST(GameDemo, StartsOnTheStartScreenAndLoadsCeresOnFirstEntry) {
    GlobalsGuard globals;
    DemoWorld demo;

    auto start = std::chrono::steady_clock::now();
    demo.load();
    Game* g = demo.shell.get();
    g->gotoScene("StartScreen", false, nullptr);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    std::cout << "Demo loaded in " << ms << " ms" << std::endl;

    EXPECT_EQ(g->scenes[g->currentScene].name, "StartScreen");
    EXPECT_TRUE(g->scenes[g->currentScene].playerControlHere);
    EXPECT_EQ(g->scenes.back().name, "RocketLaunch");
    EXPECT_EQ(g->scenePlanets.at("Solaris"), "Ceres");
    EXPECT_EQ(g->landingScene("Ceres"), "Solaris");
    EXPECT_GT(itemList->size(), 0);
    EXPECT_GT(people->size(), 0);

    testing::internal::CaptureStdout();
    EXPECT_TRUE(g->gotoScene("Solaris", true, nullptr));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("LOADING planet Ceres"), std::string::npos) << out;
    EXPECT_EQ(g->scenes[g->currentScene].planet, "Ceres");
    EXPECT_NE(people->indexOf("Orla"), NO_INDEX);
    for (auto& [name, music] : resources->musics) music.stop();

}
