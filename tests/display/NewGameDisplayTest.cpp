// What the start screen's dialog shows in each state.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/NewGameScreen.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <memory>

namespace {

Resources& startStore() {
    static Resources* store = [] {
        auto* r = new Resources;
        r->loadFonts("Resources//Fonts", nullptr, 0, r->fonts);
        return r;
    }();
    return *store;
}

struct StartScreenDraw : ::testing::Test {
    Resources* oldResources = resources;
    sf::RenderTexture target;
    void SetUp() override {
        resources = &startStore();
        ASSERT_TRUE(target.create(1920, 1080));
        target.clear(sf::Color::Black);
    }
    void TearDown() override { resources = oldResources; }
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

} // namespace
