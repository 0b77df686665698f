// Menus drawn with the generated font, and the choice boxes that size themselves with it.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/OptionMenu.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <memory>

namespace {

struct MenuScreen : ::testing::Test {
    GlobalsGuard globals;
    std::unique_ptr<People> roster = std::make_unique<People>();
    std::unique_ptr<Game> shell;
    sf::RenderTexture target;

    void SetUp() override {
        resources = &dialogResources();
        people = roster.get();
        for (const char* n : {"Ana", "Bo", "Cid", "Dee", "Eli", "Fay"}) roster->characters.emplace_back(n);
        shell = std::make_unique<Game>();
        game = shell.get();
        ASSERT_TRUE(target.create(1920, 1080));
        target.clear(sf::Color::Black);
    }
    void TearDown() override {
        shell.reset();
    }
    sf::Image shot() {
        target.display();
        return target.getTexture().copyToImage();
    }
};

const sf::Color BAR(100, 100, 100, 255);

TEST_F(MenuScreen, ActiveMenuShowsTheBarOnTheSelectedRow) {
    OptionMenu m({"one", "two", "three"});
    m.position = {100, 100};
    m.setSize(400, 4 * 42);
    m.active = true;
    m.selected = 1;
    m.draw(target, false);
    sf::Image img = shot();
    // Row 1 stands at y = 100 + 14 + 42; its bar is 45 high.
    EXPECT_EQ(img.getPixel(105, 100 + 14 + 42 + 5), BAR);
    EXPECT_EQ(img.getPixel(105, 100 + 14 + 5), sf::Color::Blue);
    EXPECT_EQ(img.getPixel(99, 150), sf::Color::White) << "focused: white outline";

    target.clear(sf::Color::Black);
    m.focused = false;
    m.active = false;
    m.draw(target, false);
    img = shot();
    EXPECT_EQ(img.getPixel(105, 120), sf::Color::Black) << "inactive: nothing";
    m.draw(target, true);
    img = shot();
    EXPECT_EQ(img.getPixel(105, 100 + 14 + 42 + 5), sf::Color::Blue) << "always: rows without bar";
    EXPECT_EQ(img.getPixel(99, 150), BAR) << "unfocused: grey outline";
}

TEST_F(MenuScreen, ChoiceBoxesOpenSizedPlacedAndColoured) {
    game->openChoiceBox1({"Give me advice on what to do", "Change the main character"}, true,
                         sf::Color(200, 0, 200, 255));
    OptionMenu& b1 = game->choiceBox1();
    EXPECT_TRUE(b1.active);
    EXPECT_EQ(b1.position, Point(50, 50));
    EXPECT_EQ(b1.color, sf::Color(200, 0, 200, 255));
    EXPECT_EQ(b1.size.y, 3 * 42);
    EXPECT_EQ(b1.visibleRows, 2);
    EXPECT_GT(b1.size.x, 200);
    EXPECT_EQ(b1.selectedText(), "Give me advice on what to do");

    game->openChoiceBox2({"x"}, false);
    EXPECT_EQ(game->box2.position, Point(100, 75));
    EXPECT_EQ(game->box2.color, sf::Color::Red);
    EXPECT_EQ(game->box2.size.x, 200) << "short options: the smallest width";

    game->box3.selected = 2;
    game->openChoiceBox3({"a", "b", "c", "d"}, true);
    EXPECT_EQ(game->box3.position, Point(300, 100));
    EXPECT_EQ(game->box3.color, sf::Color(0, 100, 0, 255));
    EXPECT_EQ(game->box3.selected, 2) << "box 3 keeps its selection";

    game->drawChoiceBoxes(target);
    const sf::Image img = shot();
    EXPECT_EQ(img.getPixel(310, 110 + 14 + 2 * 42 + 50), sf::Color(0, 100, 0, 255));
    EXPECT_EQ(img.getPixel(305, 100 + 14 + 2 * 42 + 3), BAR);
}

TEST_F(MenuScreen, ChooseMemberListsThePartyInRosterOrder) {
    people->party = {0, 3, 5};
    game->box1.selected = 7;
    game->chooseMember();
    EXPECT_EQ(game->box1.options, (std::vector<std::string>{"Ana", "Dee", "Fay"}));
    EXPECT_EQ(game->box1.selected, 2);
    EXPECT_EQ(game->box1.color, sf::Color::Red);
    people->party = {0, 42};
    EXPECT_FALSE(fatalMessage([] { game->chooseMember(); }).empty());
}

} // namespace
