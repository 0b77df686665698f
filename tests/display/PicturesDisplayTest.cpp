// The shooter, the block vault, the watching portraits and the Mandelbrot nebula drawn into a
// real window, with screenshots for a look by eye.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/AlivePicture.hpp"
#include "minigames/Mandelbrot.hpp"
#include "minigames/Shooter.hpp"
#include "minigames/Sokoban.hpp"
#include "scenes/Scene.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <filesystem>
#include <memory>

namespace {

DemoWorld& world() {
    static PerSuite<DemoWorld> w([] {
        return newDemoWorld<DemoWorld>([](DemoWorld& d) {
            d.shell->setStrVar("MANDEL_RANDOM_SEED", "2024");
            d.shell->loadPlanet("Mandelbrot", nullptr);
        });
    });
    return *w;
}

class PicturesDraw : public ::testing::Test {
protected:
    void SetUp() override {
        world().bind();
        setDisplayZoom(120);
    }
    void TearDown() override { setDisplayZoom(120); }
    static Point view(Scene& s) {
        Point c = s.camera + Point{960, 540};
        scaleToScreen(c);
        return s.viewOffset(c);
    }
    // Makes the scene current and enters it from the named one.
    Scene& enter(const std::string& name, const std::string& from) {
        game->previousScene = game->findScene(from);
        game->currentScene = game->findScene(name);
        Scene& s = game->current();
        s.enter(from);
        s.message = LongText();
        return s;
    }

private:
    GlobalsGuard globals_;
};

int differing(const sf::Image& a, const sf::Image& b, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += a.getPixel(x, y) != b.getPixel(x, y);
    return n;
}

} // namespace

TEST_F(PicturesDraw, TheShooterTitleAndABusySky) {
    SaveTheFuture stf;
    SaveTheFutureShip ship;
    std::vector<SaveTheFutureSaucer> saucers;
    auto* oldGame = saveTheFuture;
    auto* oldShip = saveTheFutureShip;
    auto* oldSaucers = saveTheFutureSaucers;
    saveTheFuture = &stf;
    saveTheFutureShip = &ship;
    saveTheFutureSaucers = &saucers;
    auto oldInput = std::move(shooterHeldInput);

    sf::RenderWindow& w = testWindow();
    w.clear();
    stf.draw(w);
    const sf::Image title = captureWindow(w);
    saveScreenshot(title, "shooter_title");
    EXPECT_EQ(title.getPixel(3, 3), sf::Color(0, 50, 0));
    EXPECT_EQ(title.getPixel(300, 200), sf::Color(0, 70, 0));

    std::srand(8);
    stf.update({keys::Space});
    for (int f = 0; f < 1400; ++f) {
        std::vector<int> keys{keys::Space};
        if (f % 200 < 60) keys.push_back(keys::Left);
        else if (f % 200 >= 100 && f % 200 < 160) keys.push_back(keys::Right);
        if (f == 700) ship.missiles = 2;
        stf.update(keys);
    }
    ASSERT_EQ(stf.state, SaveTheFuture::PLAYING);
    w.clear();
    stf.draw(w);
    const sf::Image sky = captureWindow(w);
    saveScreenshot(sky, "shooter_playing");
    // The ground covers the window and the player's bar is drawn over it.
    EXPECT_NE(sky.getPixel(3, 3), sf::Color::Black);
    EXPECT_EQ(sky.getPixel(1160, 1010), sf::Color::Green);

    shooterHeldInput = std::move(oldInput);
    saveTheFuture = oldGame;
    saveTheFutureShip = oldShip;
    saveTheFutureSaucers = oldSaucers;
}

TEST_F(PicturesDraw, TheBlockVaultAndThePortraitsAtBothZooms) {
    Scene& vault = enter("BlockPuzzle", "WonderHall");
    SokobanBlock& crate = vault.sokoban->blocks[0];
    crate.tile = {8, 2};
    crate.px = 8 * TILE_SIZE;
    saveScreenshot(drawSceneFrame(vault), "block_vault");
    vault.sokoban->restart();

    Scene& hall = enter("WonderHall", "Quarter");
    people->mainCharacter().setTilePosition({9, 4});
    for (const auto& p : hall.alivePictures) p->update();
    for (int t : {120, 60}) {
        setDisplayZoom(t);
        hall.camera = {0, 0};
        const sf::Image img = drawSceneFrame(hall);
        saveScreenshot(img, t == 120 ? "portraits" : "portraits_zoomed_out");
        // Each portrait's left eye is on its own tile at either zoom; the pupil looks toward
        // the leader's column.
        const Point V = view(hall);
        for (const auto& p : hall.alivePictures) {
            const float eyeX = float(p->tile.x * t - V.x + t / 2 - t / 20);
            const float eyeY = float(p->tile.y * t - V.y + t / 2) - float(t / 2.9);
            const float pupilX = eyeX + float(p->gaze * (t / 20 - t / 25));
            EXPECT_EQ(img.getPixel(unsigned(pupilX), unsigned(eyeY)), sf::Color::Black) << p->texture << " " << t;
            if (t == 120) {
                EXPECT_EQ(img.getPixel(unsigned(eyeX - float(p->gaze) * 4.5f), unsigned(eyeY)), sf::Color::White)
                    << p->texture;
            }
        }
    }
}

TEST_F(PicturesDraw, ADepthLevelOfTheNebulaWithItsMapAndThumbnail) {
    Scene& nebula = game->sceneByName("MandelbrotNebula");
    saveScreenshot(drawSceneFrame(nebula), "nebula");
    people->mainCharacter().setTilePosition({3, 4});
    Scene& level = enter("MandelbrotNebula_template_depth_1", "MandelbrotNebula");
    EXPECT_EQ(level.mandelbrotReturn, Point(3, 4));
    EXPECT_EQ(level.mapPos, Point(3, 4));
    const sf::Image plain = drawSceneFrame(level);
    saveScreenshot(plain, "nebula_depth_1");

    people->mainCharacter().addItemCount(itemList->indexOf("MandelbrotMap"), 1);
    for (int t : {120, 60}) {
        setDisplayZoom(t);
        const sf::Image mapped = drawSceneFrame(level);
        saveScreenshot(mapped, t == 120 ? "nebula_depth_1_map" : "nebula_depth_1_map_zoomed_out");
        if (t == 120) { EXPECT_GT(differing(plain, mapped, 1670 - t, t + 40, 250, 200), 20000); }
        // The thumbnail's picture: the whole nebula in grey, its inside black.
        EXPECT_EQ(mapped.getPixel(unsigned(1670 - t + 125), unsigned(t + 125)), sf::Color::Black);
    }
    // The deepest level, zoomed out: the part of the window its picture reaches is drawn.
    Scene& deep = game->sceneByName("MandelbrotNebula_template_depth_3");
    deep.mandelbrotReturn = {3, 4};
    deep.enterMandelbrotLevel();
    saveScreenshot(drawSceneFrame(deep), "nebula_depth_3_zoomed_out");
    people->mainCharacter().addItemCount(itemList->indexOf("MandelbrotMap"), -1);
}
