// What the start screen's dialog shows in each state.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/NewGameScreen.hpp"
#include "scenes/Scene.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Audio/Sound.hpp>

#include <SFML/Graphics.hpp>

#include <memory>

namespace {

struct StartScreenDraw : ::testing::Test {
    GlobalsGuard globals;
    sf::RenderTexture target;
    void SetUp() override {
        resources = &dialogResources();
        ASSERT_TRUE(target.create(1920, 1080));
        target.clear(sf::Color::Black);
    }
    sf::Image shot() {
        target.display();
        return target.getTexture().copyToImage();
    }
};

TEST_F(StartScreenDraw, EachPartShowsOnlyWhileActive) {
    NewGameScreen s;
    s.draw(target);
    sf::Image img = shot();
    EXPECT_EQ(img.getPixel(960, 180), sf::Color::Black) << "state 0 draws nothing";
    EXPECT_EQ(img.getPixel(1300, 600), sf::Color::Black);

    s.message = "Hi there! Which game would you like to resume?";
    s.resumeList.open({"*** NEW game ***", "Keep"}, false);
    s.draw(target);
    img = shot();
    EXPECT_EQ(img.getPixel(1890, 770), sf::Color(100, 100, 0, 255)) << "resume list, lower right";
    bool messageDrawn = false;
    for (unsigned x = 400; x < 1500 && !messageDrawn; ++x)
        messageDrawn = img.getPixel(x, 180) != sf::Color::Black;
    EXPECT_TRUE(messageDrawn);

    target.clear(sf::Color::Black);
    s.resumeList.active = false;
    s.message.clear();
    s.nameBox.active = true;
    s.nameBox.text = "Nova";
    s.draw(target);
    img = shot();
    EXPECT_EQ(img.getPixel(485, 545), sf::Color::Blue) << "name box at (480, 540)";
    EXPECT_EQ(img.getPixel(1890, 770), sf::Color::Black);

    target.clear(sf::Color::Black);
    s.nameBox.active = false;
    s.difficultyList.active = true;
    s.draw(target);
    img = shot();
    EXPECT_EQ(img.getPixel(1890, 680), sf::Color(0, 100, 100, 255));
    EXPECT_EQ(img.getPixel(485, 545), sf::Color::Black);
}

// A damaged save's two-line message fits the screen over the list; the shot is for a look by eye.
TEST_F(StartScreenDraw, ADamagedSaveMessageFitsTheScreen) {
    NewGameScreen s;
    s.message = "Sorry, this save is damaged:\ncut short before ENDOFSAVE (SaveGames//Nova//game.save line 22)";
    s.resumeList.open({"*** NEW game ***", "Nova"}, false);
    s.draw(target);
    sf::Image img = shot();
    ASSERT_TRUE(img.saveToFile(std::string(QUORVANE_BINARY_DIR) + "/damaged-save-message.png"));
    // Nothing of the (white) text runs off either side of the screen.
    const auto white = [](sf::Color c) { return c.r > 200 && c.g > 200 && c.b > 200; };
    int textPixels = 0;
    for (unsigned y = 100; y < 300; ++y)
        for (unsigned x = 0; x < 1920; ++x) {
            if (!white(img.getPixel(x, y))) continue;
            ++textPixels;
            EXPECT_TRUE(x > 40 && x < 1880) << x << " " << y;
        }
    EXPECT_GT(textPixels, 1000);
}

// Which of the two typing sounds is playing; both are stopped first.
struct TypingSounds {
    sf::Sound* menu = resources->findSound("Menu");
    sf::Sound* denial = resources->findSound("Denial");
    void stop() {
        menu->stop();
        denial->stop();
    }
    bool menuPlays() const { return menu->getStatus() == sf::Sound::Playing; }
    bool denialPlays() const { return denial->getStatus() == sf::Sound::Playing; }
};

TEST_F(StartScreenDraw, TypedKeysSoundAndAnEmptyNameIsDenied) {
    using K = sf::Keyboard;
    TypingSounds sounds;
    ASSERT_NE(sounds.menu, nullptr);
    ASSERT_NE(sounds.denial, nullptr);
    TextInput box;
    sounds.stop();
    box.update(std::vector<K::Key>{K::LShift, K::RShift});
    EXPECT_FALSE(sounds.menuPlays() || sounds.denialPlays()) << "shift is silent";
    for (K::Key refused : {K::Space, K::Numpad3, K::Left, K::BackSpace}) {
        sounds.stop();
        box.update(std::vector<K::Key>{refused});
        EXPECT_TRUE(sounds.denialPlays()) << refused;
        EXPECT_FALSE(sounds.menuPlays()) << refused;
    }
    sounds.stop();
    box.update(std::vector<K::Key>{K::A});
    EXPECT_TRUE(sounds.menuPlays());
    EXPECT_FALSE(sounds.denialPlays());

    // Return on an empty name: the screen keeps asking and says no.
    People roster;
    people = &roster;
    {
        Game shell;
        game = &shell;
        shell.scenes.addScene().name = "StartScreen";
        NewGameScreen& s = shell.newGameScreen;
        s.state = 4;
        s.nameBox.active = true;
        sounds.stop();
        EXPECT_FALSE(s.update(std::vector<int>{int(K::Return)}, nullptr));
        EXPECT_TRUE(sounds.denialPlays());
        EXPECT_EQ(s.state, 4);
        EXPECT_TRUE(s.nameBox.active);
    }
}

TEST_F(StartScreenDraw, TheNameBoxRefusesALetterThatWouldRunPastItsEdge) {
    using K = sf::Keyboard;
    TypingSounds sounds;
    NewGameScreen s;
    TextInput& box = s.nameBox;
    std::size_t accepted = 0;
    for (int i = 0; i < 20; ++i) {
        sounds.stop();
        box.update(std::vector<K::Key>{K::W});
        if (box.text.size() > accepted) {
            accepted = box.text.size();
            EXPECT_TRUE(sounds.menuPlays());
        } else {
            EXPECT_TRUE(sounds.denialPlays()) << "letter " << i;
        }
    }
    EXPECT_GT(accepted, 5u);
    EXPECT_LT(accepted, MAX_PLAYER_NAME_LENGTH) << "wide letters fill the box before the length limit";
    box.active = true;
    s.state = 4;
    s.draw(target);
    sf::Image img = shot();
    for (unsigned x = unsigned(box.x + box.width + 4); x < 1920; ++x)
        for (unsigned y = unsigned(box.y); y < unsigned(box.y + 80); ++y)
            ASSERT_EQ(img.getPixel(x, y), sf::Color::Black) << "text outside the box at " << x << "," << y;
    bool hint = false;
    for (unsigned x = 300; x < 1600 && !hint; ++x) hint = img.getPixel(x, 900) != sf::Color::Black;
    EXPECT_TRUE(hint) << "the typing keys are named at the foot of the screen";

    // The guess-the-number box shares the input and keeps its own rules: no width check.
    TextInput digits;
    digits.width = 10;
    box.update(std::vector<K::Key>{K::BackSpace});
    digits.update(std::vector<K::Key>{K::Num4, K::Num2});
    EXPECT_EQ(digits.text, "42");
}

} // namespace
