// Text boxes drawn with the generated fonts, and their music and sounds.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/LongText.hpp"
#include "scenes/Scene.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <memory>

namespace {

struct BoxScreen : ::testing::Test {
    GlobalsGuard globals;
    std::unique_ptr<People> roster = std::make_unique<People>();
    std::unique_ptr<Game> shell;
    sf::RenderTexture target;

    void SetUp() override {
        resources = &dialogResources();
        people = roster.get();
        roster->characters.emplace_back("Ana");
        shell = std::make_unique<Game>();
        game = shell.get();
        game->scenes.addScene().name = "Here";
        ASSERT_TRUE(target.create(1920, 1080));
        target.clear(sf::Color::Black);
    }
    void TearDown() override {
        resources->getMusic("ImportantDialog").stop();
        shell.reset();
    }
    sf::Image shot() {
        target.display();
        return target.getTexture().copyToImage();
    }
    // Whether any pixel of the rectangle differs from the colour.
    static bool anyOther(const sf::Image& img, int x0, int y0, int x1, int y1, sf::Color c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (img.getPixel(unsigned(x), unsigned(y)) != c) return true;
        return false;
    }
};

TEST_F(BoxScreen, BoxSpeakerLinesAndPortrait) {
    LongText box({0, 600}, {"Hello there", "second"});
    box.speaker = "Ana";
    game->input.confirm = true;
    box.update();
    box.update();
    game->input.confirm = false;
    ASSERT_TRUE(box.pageFull);
    box.draw(target, false);
    const sf::Image img = shot();
    // The box: blue, from (50, 650), 1820 wide and 175 high, the portrait square over its end.
    EXPECT_EQ(img.getPixel(60, 820), sf::Color::Blue);
    EXPECT_EQ(img.getPixel(1500, 660), sf::Color::Blue);
    EXPECT_EQ(img.getPixel(40, 660), sf::Color::Black);
    // Text in white on the first two rows, the speaker in yellow above the box.
    EXPECT_TRUE(anyOther(img, 85, 661, 400, 696, sf::Color::Blue));
    EXPECT_TRUE(anyOther(img, 85, 696, 400, 731, sf::Color::Blue));
    EXPECT_FALSE(anyOther(img, 85, 740, 400, 800, sf::Color::Blue)) << "no third line";
    EXPECT_TRUE(anyOther(img, 50, 615, 200, 649, sf::Color::Black));
    // The portrait square (210 pixels, right edge at 1820) of a roster character without photo.
    EXPECT_EQ(img.getPixel(1620, 650), sf::Color(0, 0, 50, 255));
}

TEST_F(BoxScreen, MarkerOnlyWhenAnotherPageFollows) {
    LongText box({0, 0}, {"a", "b", "c", "d", "e"});
    game->input.confirm = true;
    for (int i = 0; i < 4; ++i) box.update();
    game->input.confirm = false;
    ASSERT_TRUE(box.pageFull);
    box.draw(target, false);
    sf::Image img = shot();
    // "(...)" at (50 + 1820 * 29 / 30, 50 + 140 - 24).
    EXPECT_TRUE(anyOther(img, 1809, 166, 1868, 200, sf::Color::Blue));
    game->input.confirm = true;
    box.update(); // next page
    box.update(); // "e": the last line, the box waits without a marker
    game->input.confirm = false;
    ASSERT_TRUE(box.pageFull);
    target.clear(sf::Color::Black);
    box.draw(target, false);
    img = shot();
    EXPECT_FALSE(anyOther(img, 1809, 166, 1868, 200, sf::Color::Blue));
    EXPECT_TRUE(anyOther(img, 85, 61, 200, 96, sf::Color::Blue)) << "line 5 on the first row";
}

TEST_F(BoxScreen, MarkerNarrowBoxAndFinishedBox) {
    LongText box({100, 100}, {"a", "b", "c", "d", "e"});
    box.fullWidth = false;
    game->input.confirm = true;
    for (int i = 0; i < 4; ++i) box.update();
    game->input.confirm = false;
    ASSERT_TRUE(box.pageFull);
    box.draw(target, false);
    sf::Image img = shot();
    EXPECT_EQ(img.getPixel(160, 160), sf::Color::Blue);
    EXPECT_EQ(img.getPixel(600, 160), sf::Color::Black) << "a narrow box fits its widest line";
    // No speaker: no portrait square.
    EXPECT_EQ(img.getPixel(1700, 240), sf::Color::Black);

    target.clear(sf::Color::Black);
    box.finished = true;
    box.draw(target, false);
    img = shot();
    EXPECT_EQ(img.getPixel(160, 160), sf::Color::Black) << "a finished box draws nothing";
    box.draw(target, true);
    img = shot();
    EXPECT_EQ(img.getPixel(160, 160), sf::Color::Blue) << "unless always is set";
}

TEST_F(BoxScreen, GemSpeakerGetsASquareStrangerDoesNot) {
    LongText gem({0, 0}, {"shine"});
    gem.speaker = "Moon";
    gem.draw(target, false);
    sf::Image img = shot();
    EXPECT_EQ(img.getPixel(1620, 50), sf::Color(0, 0, 50, 255));
    target.clear(sf::Color::Black);
    LongText stranger({0, 0}, {"who?"});
    stranger.speaker = "Nobody";
    stranger.draw(target, false);
    img = shot();
    EXPECT_EQ(img.getPixel(1620, 45), sf::Color::Black);
}

TEST_F(BoxScreen, ImportantMusicAndSoundFollowTheText) {
    sf::Music& important = resources->getMusic("ImportantDialog");
    LongText box({0, 0}, {"x"});
    box.important = true;
    box.sound = "JoinFanfare";
    box.update();
    EXPECT_EQ(important.getStatus(), sf::Music::Playing);
    sf::Sound* fanfare = resources->findSound("JoinFanfare");
    ASSERT_NE(fanfare, nullptr);
    EXPECT_EQ(fanfare->getStatus(), sf::Sound::Playing);
    game->input.confirm = true;
    box.update();
    EXPECT_TRUE(box.finished);
    EXPECT_EQ(important.getStatus(), sf::Music::Stopped);
    EXPECT_EQ(fanfare->getStatus(), sf::Sound::Stopped) << "finishing stops the sound";

    // A sound that the store does not have neither plays nor stops anything.
    LongText quiet({0, 0}, {"y"});
    quiet.sound = "NoSuchSound";
    quiet.update();
    EXPECT_EQ(quiet.charsShown, 0u);
    EXPECT_EQ(quiet.currentLine, 1u);
}

TEST_F(BoxScreen, DialogDrawsTheTypedMonologAndTheFinishedOnesAbove) {
    MonologSequence d;
    for (int i = 0; i < 2; ++i) {
        Monolog m;
        m.speakerName = "<MAIN>";
        m.color = sf::Color::Red;
        m.lines = {"line"};
        m.position = {0, i * 315};
        d.monologs.push_back(m);
    }
    d.draw(target);
    sf::Image img = shot();
    EXPECT_EQ(img.getPixel(60, 60), sf::Color::Red);
    EXPECT_EQ(img.getPixel(60, 375), sf::Color::Black) << "the second waits for the first";
    d.monologs[0].finished = true;
    d.draw(target);
    img = shot();
    EXPECT_EQ(img.getPixel(60, 375), sf::Color::Red);
    d.monologs[1].lines.clear();
    target.clear(sf::Color::Black);
    d.draw(target);
    img = shot();
    EXPECT_EQ(img.getPixel(60, 60), sf::Color::Black) << "an inactive dialog draws nothing";
}

} // namespace
