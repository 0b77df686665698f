// The arcade's games on screen: the flag quiz played with real flag pictures, and a screenshot of
// every game in play on the shipped demo, checked for its frame colours.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/Salomao.hpp"
#include "scenes/Scene.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "unit/MiniGameWorld.hpp"

#include <SFML/Graphics.hpp>

#include <filesystem>
#include <memory>
#include <iostream>
#include <set>
#include <sstream>

namespace {

// --- the flag quiz ---

class FlagQuizWorld : public MiniGameWorld {
protected:
    void withFlags(int count) {
        for (int i = 0; i < count; ++i) store.flags["Flag" + std::to_string(i)];
        resources = &store;
    }
    // Answers the current question: the right one or the next one down.
    void answer(bool right) {
        GuessFlag& q = *games().guessFlag;
        ASSERT_EQ(q.options.size(), 5u);
        std::set<std::string> names(q.options.begin(), q.options.end());
        ASSERT_EQ(names.size(), 5u);
        const int target = right ? q.answer : (q.answer + 1) % 5;
        press(key::Down, (target - q.selected + 5) % 5);
        ASSERT_EQ(q.selected, target);
        press(key::Space);
        ASSERT_EQ(q.state, GuessFlag::ANSWER);
        press(key::Space); // confirm does nothing here
        ASSERT_EQ(q.state, GuessFlag::ANSWER);
        press(key::Right);
    }
    sf::RenderWindow& window = testWindow(); // textures need a context
    Resources store;
};

TEST_F(FlagQuizWorld, TenRightAnswersWinAndTwentyQuestionsEndTheGame) {
    withFlags(12);
    open("GuessFlagGame", 31);
    GuessFlag& q = *games().guessFlag;
    press(key::Space);
    for (int i = 0; i < 10; ++i) answer(true);
    EXPECT_EQ(q.state, GuessFlag::WON);
    EXPECT_EQ(q.rightAnswers, 10);
    press(key::Space);
    expectBackInArcade("WON_FLAG", true);

    reenter();
    shell->BOOLVARS.clear();
    press(key::Space);
    for (int i = 0; i < 20; ++i) answer(i % 3 == 0);
    EXPECT_EQ(q.state, GuessFlag::OVER);
    EXPECT_EQ(q.rightAnswers, 7);
    press(key::Space);
    expectBackInArcade("WON_FLAG", false);
}

TEST_F(FlagQuizWorld, FewerThanFiveFlagsStopNamingTheFolder) {
    for (int count : {0, 4}) {
        store.flags.clear();
        withFlags(count);
        open("GuessFlagGame", 32);
        frame({key::Space});
        EXPECT_EQ(fatalDetail([&] { frame(); }),
                  "Resources//Flags holds " + std::to_string(count) + " flag pictures, 5 needed");
    }
}

// --- every game on the demo, drawn ---

DemoWorld& arcade() {
    static PerSuite<DemoWorld> world([] {
        testWindow();
        return newDemoWorld<DemoWorld>();
    });
    return *world;
}

class ArcadeScreens : public ::testing::Test {
protected:
    void SetUp() override {
        arcade().bind();
        // A save folder per test: ctest runs them side by side.
        game->playerName = std::string("MiniGameScreens") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories("SaveGames/" + game->playerName);
    }
    void TearDown() override {
        if (game != nullptr) std::filesystem::remove_all("SaveGames/" + game->playerName);
    }
    void enterCabinet(const std::string& name) {
        game->previousScene = game->findScene("Arcade");
        game->currentScene = game->findScene(name);
        ASSERT_GE(game->currentScene, 0) << name;
    }
    void frame(std::vector<int> keys = {}) { game->update(keys, nullptr); }
    void press(int k, int times = 1) {
        for (int i = 0; i < times; ++i) {
            frame({k});
            frame();
        }
    }
    sf::Image shot(const std::string& name) {
        sf::RenderWindow& w = testWindow();
        w.clear(sf::Color::Black);
        game->draw(w);
        sf::Image img = captureWindow(w);
        const std::string dir = binaryDir() + "/screens";
        std::filesystem::create_directories(dir);
        EXPECT_TRUE(img.saveToFile(dir + "/" + name + ".png"));
        return img;
    }
    // The background shows at the window's corner and the panel just inside its outline.
    static void expectFrame(const sf::Image& img, sf::Color background, sf::Color panel) {
        EXPECT_EQ(img.getPixel(20, 300), background);
        EXPECT_EQ(img.getPixel(60, 300), panel);
        EXPECT_EQ(img.getPixel(49, 300), sf::Color::White);
    }
    static int pixelsOf(const sf::Image& img, sf::Color c, int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += img.getPixel(x, y) == c;
        return n;
    }

private:
    GlobalsGuard globals_;
};

TEST_F(ArcadeScreens, EveryGameInPlay) {
    MiniGames& g = *game->miniGames;
    game->BOOLVARS.insert("WON_GUESSNUMBER");

    enterCabinet("ArcadeGuessNumber");
    press(key::Space);
    frame({key::Num0 + 7});
    sf::Image img = shot("minigame_guess_number");
    expectFrame(img, {50, 0, 0}, {70, 0, 0});
    EXPECT_GT(pixelsOf(img, {100, 0, 0}, 460, 648, 1460, 700), 20000); // the input box
    EXPECT_GT(pixelsOf(img, {50, 0, 0}, 0, 0, 5, 5), 0);

    enterCabinet("ArcadeSnake");
    press(key::Space);
    g.cobrinha->length = 60;
    for (int i = 0; i < 40; ++i) press(i % 10 == 0 ? key::Left : i % 10 == 5 ? key::Up : 0);
    g.cobrinha->apples.push_back({20, 20});
    img = shot("minigame_snake");
    expectFrame(img, {50, 0, 50}, {70, 0, 70});
    EXPECT_GE(pixelsOf(img, sf::Color::Green, 50, 50, 1870, 1030), 30 * 300); // thirty cells and more

    enterCabinet("ArcadeFlags");
    press(key::Space);
    img = shot("minigame_flags");
    expectFrame(img, {50, 50, 0}, {70, 70, 0});
    // The flag, 500 pixels wide about the centre, covers the panel there.
    EXPECT_LT(pixelsOf(img, {70, 70, 0}, 760, 350, 1160, 500), 100);

    enterCabinet("ArcadeCourse");
    press(key::Space);
    g.taco->currentLevel = 12;
    press(key::Right, 2);
    img = shot("minigame_course");
    expectFrame(img, {0, 50, 50}, {0, 70, 70});
    // The right pad: the figure may stand on the left one, sent back there by an obstacle.
    EXPECT_EQ(img.getPixel(1920 - 50 - 45, 490 + 5), sf::Color(180, 200, 255));
    g.taco->hit = true;
    img = shot("minigame_course_hit");
    EXPECT_EQ(pixelsOf(img, sf::Color::White, 0, 0, 1920, 1080), 1920 * 1080);
    g.taco->hit = false;
    g.taco->currentLevel = 0;

    enterCabinet("ArcadeCave");
    img = shot("minigame_cave_title");
    expectFrame(img, {0, 0, 50}, {0, 0, 70});
    press(key::Space);
    for (int i = 0; i < 30; ++i) press(i % 3 ? key::Down : key::Right);
    img = shot("minigame_cave");
    // The cave covers the window: no plain background left.
    EXPECT_EQ(pixelsOf(img, {0, 0, 50}, 0, 0, 1920, 1080), 0);
    EXPECT_EQ(g.salomao->state, SalomaoGame::PLAYING);
}

// Fivehouses on entry (its houses in the puzzle's colours) and the signpost's clues, for a look.
// The cave's snake picture faces right, and a snake turns it round only when the player is on its
// left: both snakes beside the player face the player.
TEST_F(ArcadeScreens, CaveSnakesFaceThePlayer) {
    SalomaoGame& cave = *game->miniGames->salomao;
    enterCabinet("ArcadeCave");
    press(key::Space);
    ASSERT_EQ(cave.state, SalomaoGame::PLAYING);
    const sf::Image picture = resources->getAnimation("Snake").at(0).copyToImage();
    const sf::Vector2u size = picture.getSize();
    long long eyeX = 0, eyes = 0;
    for (unsigned y = 0; y < size.y; ++y)
        for (unsigned x = 0; x < size.x; ++x)
            if (picture.getPixel(x, y) == sf::Color::White) eyeX += x, ++eyes;
    ASSERT_GT(eyes, 0);
    EXPECT_GT(eyeX / eyes, long(size.x / 2)); // the head is on the right

    cave.snakes.clear();
    const sf::Image bare = shot("minigame_cave_no_snakes");
    const Point p = cave.player;
    const Point left{p.x - 3, p.y + 2}, right{p.x + 3, p.y + 2};
    cave.snakes.push_back({0, false, left});
    cave.snakes.push_back({0, false, right});
    const sf::Image img = shot("minigame_cave_snakes");
    const int cs = cave.cellSize;
    // How many of the cell's pixels agree with the picture laid straight or turned round.
    auto agreement = [&](Point cell, bool turned) {
        int n = 0;
        const int x0 = (cell.x - cave.view.x) * cs, y0 = (cell.y - cave.view.y) * cs;
        for (int y = 0; y < cs; ++y)
            for (int x = 0; x < cs; ++x) {
                const bool drawn = img.getPixel(x0 + x, y0 + y) != bare.getPixel(x0 + x, y0 + y);
                const unsigned tx = unsigned(x) * size.x / unsigned(cs), ty = unsigned(y) * size.y / unsigned(cs);
                const bool shape = picture.getPixel(turned ? size.x - 1 - tx : tx, ty).a > 128;
                n += drawn == shape;
            }
        return n;
    };
    EXPECT_GT(agreement(left, false), agreement(left, true) + 100);
    EXPECT_GT(agreement(right, true), agreement(right, false) + 100);
    cave.snakes.clear();
}

TEST_F(ArcadeScreens, VillageHousesAndClues) {
    std::ostringstream sink;
    auto* old = std::cout.rdbuf(sink.rdbuf());
    game->currentScene = game->findScene("Arcade");
    game->current().enter("Town");
    frame();
    shot("arcade");
    Scene& village = game->sceneByName("PuzzleVillage");
    game->previousScene = game->findScene("Arcade");
    game->currentScene = game->findScene("PuzzleVillage");
    village.enter("Arcade");
    std::cout.rdbuf(old);
    village.message.lines.clear();
    Character& leader = people->mainCharacter();
    leader.setTilePosition({11, 8});
    leader.setFacing(NORTH);
    frame();
    shot("minigame_village");
    frame({key::Space});
    for (int i = 0; i < 400; ++i) frame();
    ASSERT_FALSE(village.message.lines.empty());
    EXPECT_EQ(village.message.lines.front().rfind("The house ", 0), 0u);
    shot("minigame_village_clues");
    // The scenes' music must not outlive the test process's audio.
    for (auto& [name, music] : resources->musics) music.stop();
}

} // namespace
