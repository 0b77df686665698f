// The drawing shortcuts change how a frame is drawn, never what it shows: every demo scene, near
// and far, and the arena's battle with its close-ups, drawn both ways from the same state and the
// same random sequence, gives the same pixels and leaves the sequence at the same place.
#include "battle/Battle.hpp"
#include "battle/CloseUpBackdropDraw.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace {

struct Frame {
    sf::Image picture;
    int nextRandom = 0;
};

// One frame of the game's picture from the seed; the credits roll, which a frame advances, is
// put back afterwards so that both ways draw the same state.
Frame drawFrame(bool shortcuts, unsigned seed) {
    Scene& scene = game->scenes[game->currentScene];
    const SceneCredits credits = scene.credits;
    sf::RenderWindow& w = testWindow();
    drawShortcuts = shortcuts;
    std::srand(seed);
    // Whatever the window showed before must not show through: the frame covers it all.
    w.clear(sf::Color::Magenta);
    game->drawFrame(w);
    Frame f{captureWindow(w), std::rand()};
    drawShortcuts = true;
    scene.credits = credits;
    return f;
}

#ifndef QUORVANE_SANITIZED
long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}
#endif

int differingPixels(const sf::Image& a, const sf::Image& b, sf::Vector2u& firstAt) {
    int n = 0;
    for (unsigned y = 0; y < 1080; ++y)
        for (unsigned x = 0; x < 1920; ++x)
            if (a.getPixel(x, y) != b.getPixel(x, y) && n++ == 0) firstAt = {x, y};
    return n;
}

} // namespace

TEST(DrawShortcuts, EveryDemoSceneLooksTheSameDrawnEitherWay) {
    GlobalsGuard globals;
    DemoWorld demo;
    demo.load();
    const std::string dir = binaryDir() + "/screens";
    std::filesystem::create_directories(dir);

    std::srand(4044);
    for (const char* name : {"StartScreen", "Quarter", "GlowCave", "SnowPass", "StarField", "Garden",
                             "HedgeMaze", "CreditsStart"}) {
        game->gotoScene(name, true, nullptr);
        // A few frames of walking right and down: snow falls, stars drift, torches flicker and
        // the view leaves the map's corner. The credits are looked at again once a picture is up.
        const bool walking = game->scenes[game->currentScene].type == SCENE_WALK;
        const std::vector<int> stretches = std::string(name) == "CreditsStart" ? std::vector<int>{40, 160}
                                                                                 : std::vector<int>{40};
        // Both ways from the same state and seed; the shortcuts keep pictures from frame to
        // frame, so the walk itself is looked at too, at both zooms in turn.
        auto compare = [&](int t, unsigned seed, int frames, bool save) {
            setDisplayZoom(t);
            const Frame plain = drawFrame(false, seed);
            const Frame quick = drawFrame(true, seed);
            sf::Vector2u at;
            EXPECT_EQ(differingPixels(plain.picture, quick.picture, at), 0)
                << name << " at tile size " << t << " after " << frames << " frames, first at " << at.x
                << "," << at.y;
            EXPECT_EQ(plain.nextRandom, quick.nextRandom) << name << " takes other random draws";
            if (save) {
                EXPECT_TRUE(quick.picture.saveToFile(dir + "/shortcuts-" + name + "-" + std::to_string(t) + ".png"));
            }
        };
        for (int stretch : stretches) {
            for (int i = 0; i < stretch; ++i) {
                std::vector<int> held;
                if (walking) held.push_back(i % 2 ? keys::Right : keys::Down);
                game->update(held, nullptr);
                if (walking && i % 8 == 7) compare((i / 8) % 3 == 1 ? 60 : 120, 100u + i, i + 1, false);
                // A kept backdrop across the stars' twinkles (every eighth frame).
                if (!walking && i % 5 == 4) compare(120, 100u + i, i + 1, false);
            }
            // ... and after its title changed.
            if (std::string(name) == "StartScreen") {
                std::string& title = game->scenes[game->currentScene].texts.at(0).text;
                const std::string was = title;
                title += " II";
                compare(120, 99u, stretch, false);
                title = was;
            }
            ASSERT_EQ(game->scenes[game->currentScene].name, name);
            if (stretch == 160) { ASSERT_TRUE(creditsClearTheScreen(game->scenes[game->currentScene].credits)); }
            for (int t : {120, 60})
                for (unsigned seed : {7u, 1234u}) compare(t, seed, stretch, seed == 7u);
        }
        setDisplayZoom(120);
    }
}

// The arena's battle on its grid, then close-ups played through the battle's own update: a plain
// attack, a spell without a picture and the heavy effects, over the kept background picture and
// over the scene's composed backdrop under each sky (the kept picture changes between them).
TEST(DrawShortcuts, TheBattleAndItsCloseUpsLookTheSameDrawnEitherWay) {
    GlobalsGuard globals;
    DemoWorld demo;
    demo.load();
    setDisplayZoom(120);
    std::srand(4044);
    game->previousScene = game->findScene("Meadow");
    game->gotoScene("Arena", true, nullptr);
    Battle& b = game->current().battle;
    ASSERT_TRUE(b.inBattle);
    const long long caster = people->indexOf("Lumen");
    for (std::size_t i = 0; i < b.turnList.size(); ++i)
        if (b.turnList[i] == caster) b.turnIndex = static_cast<int>(i);
    long long enemy = NO_INDEX;
    for (long long e : b.turnList)
        if (enemy == NO_INDEX && !people->isMember(static_cast<int>(e))) enemy = e;
    ASSERT_NE(enemy, NO_INDEX);
    people->at(caster).stats[MP] = people->at(caster).stats[MAXMP] = 500;

    auto compare = [&](const std::string& what, unsigned seed) {
        const Frame plain = drawFrame(false, seed);
        const Frame quick = drawFrame(true, seed);
        sf::Vector2u at;
        EXPECT_EQ(differingPixels(plain.picture, quick.picture, at), 0) << what << ", first at " << at.x << "," << at.y;
        EXPECT_EQ(plain.nextRandom, quick.nextRandom) << what << " takes other random draws";
    };
    for (int t : {120, 60}) {
        setDisplayZoom(t);
        compare("the battle's grid at tile size " + std::to_string(t), 5u);
    }
    setDisplayZoom(120);

    struct Case {
        const char* spell; // "" a plain attack
        const char* background;
        int sky;
    };
    const Case cases[] = {
        {"", "ArenaField", Battle::SKY_STARS},        {"Fizzle", "ArenaField", Battle::SKY_STARS},
        {"DemonDaze", "ArenaField", Battle::SKY_STARS}, {"HackControl", "", Battle::SKY_CIRCUS},
        {"Cure", "", Battle::SKY_NONE},              {"Barrier", "", Battle::SKY_TRAIN},
        {"Culebra", "", Battle::SKY_STARS},          {"Fireball", "ArenaField", Battle::SKY_CIRCUS},
    };
    for (const Case& c : cases) {
        const long copiesBefore = closeUpBackdrop().copies();
        b.background = c.background;
        b.sky = c.sky;
        const bool ally = *c.spell && magicRepository->get(c.spell).target == TARGET_ALLY;
        b.state = Battle::NEXT_TURN;
        b.shownAction = makeActionAnimation(caster, ally ? people->indexOf("Oriel") : enemy, c.spell, 1);
        const int hit = b.shownAction.hitFrame;
        for (int n = 0; n < 600 && b.shownAction.playing; ++n) {
            const int f = b.shownAction.frame;
            if (f == 0 || f == hit || f == hit + 1 || f % 37 == 5)
                compare(std::string(*c.spell ? c.spell : "an attack") + " over " + (*c.background ? c.background : "the scene") +
                            " under sky " + std::to_string(c.sky) + " at frame " + std::to_string(f),
                        200u + static_cast<unsigned>(n));
            game->update(n % 7 == 0 ? std::vector<int>{keys::Space} : std::vector<int>{}, nullptr);
        }
        EXPECT_FALSE(b.shownAction.playing) << c.spell << " never ended";
        EXPECT_GT(closeUpBackdrop().copies(), copiesBefore) << c.spell << ": the backdrop was never kept";
    }
}

// Battles with close-ups over changing backdrops, each battle's kept picture let go when it is
// over, again and again: the process does not grow. (The sanitizers keep freed memory aside.)
TEST(DrawShortcuts, RepeatedCloseUpsKeepMemoryFlat) {
#ifdef QUORVANE_SANITIZED
    GTEST_SKIP() << "resident memory means nothing under the sanitizers";
#else
    GlobalsGuard globals;
    DemoWorld demo;
    demo.load();
    setDisplayZoom(120);
    std::srand(4044);
    sf::RenderWindow& w = testWindow();
    long before = 0, after = 0;
    const long copiesBefore = closeUpBackdrop().copies();
    for (int round = 0; round < 18; ++round) {
        // The allocator hands pictures' worth of memory back and forth: the highest of a stretch
        // of rounds is compared with the highest of the next.
        if (round >= 4) (round < 11 ? before : after) = std::max(round < 11 ? before : after, residentKb());
        // Into the arena from the meadow: a new battle each time.
        game->gotoScene("Meadow", true, nullptr);
        game->scenes[game->findScene("Arena")].battle.inBattle = true;
        game->gotoScene("Arena", true, nullptr);
        Battle& b = game->current().battle;
        ASSERT_TRUE(b.inBattle);
        const long long caster = people->indexOf("Lumen");
        long long enemy = NO_INDEX;
        for (long long e : b.turnList)
            if (enemy == NO_INDEX && !people->isMember(static_cast<int>(e))) enemy = e;
        for (const char* background : {"ArenaField", ""}) {
            b.background = background;
            b.state = Battle::NEXT_TURN;
            b.shownAction = makeActionAnimation(caster, enemy, "Fireball", 1);
            for (int f = 0; f < 6; ++f) {
                game->update({}, nullptr);
                game->drawFrame(w);
                w.display();
            }
        }
        b.shownAction.playing = false;
        b.finish(true);
    }
    EXPECT_GE(closeUpBackdrop().copies() - copiesBefore, 18 * 2 * 5) << "the close-ups were not drawn from kept pictures";
    // One kept picture of the window's size is 8 MB: seven rounds that each kept one would show.
    EXPECT_LT(after - before, 16 * 1024) << "resident memory grew from " << before << " kB to " << after << " kB";
#endif
}
