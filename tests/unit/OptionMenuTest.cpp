// The list widget and the Game's choice boxes, without fonts: menus are opened and sized by hand.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/OptionMenu.hpp"
#include "support/TestSupport.hpp"

#include <memory>

namespace {

struct MenuWorld : ::testing::Test {
    std::unique_ptr<People> roster = std::make_unique<People>();
    std::unique_ptr<Game> shell;
    GlobalsGuard globals;

    void SetUp() override {
        resources = nullptr; // no display: no store
        people = roster.get();
        shell = std::make_unique<Game>();
        game = shell.get();
    }
    void TearDown() override {
        shell.reset();
    }
};

MenuKeys down() { MenuKeys k; k.down = k.downPressed = true; return k; }
MenuKeys up() { MenuKeys k; k.up = k.upPressed = true; return k; }
MenuKeys confirm() { MenuKeys k; k.confirm = true; return k; }
MenuKeys back() { MenuKeys k; k.back = true; return k; }

std::vector<std::string> numbered(int n) {
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i) v.push_back("row " + std::to_string(i));
    return v;
}

TEST_F(MenuWorld, SelectionStopsAtBothEndsAndConfirmOrBackEnds) {
    OptionMenu m(numbered(3));
    m.visibleRows = 3;
    EXPECT_FALSE(m.update(up()));
    EXPECT_EQ(m.selected, 0);
    EXPECT_EQ(m.selectedText(), "row 0");
    m.update(down());
    m.update(down());
    m.update(down());
    EXPECT_EQ(m.selected, 2);
    EXPECT_EQ(m.selectedText(), "row 2");
    MenuKeys both = down();
    both.up = both.upPressed = true;
    m.update(both);
    EXPECT_EQ(m.selected, 2) << "Up and Down together cancel";
    EXPECT_FALSE(m.update(MenuKeys{}));
    EXPECT_TRUE(m.update(confirm()));
    EXPECT_EQ(m.selectedText(), "row 2");
    EXPECT_TRUE(m.update(back()));
    EXPECT_EQ(m.selectedText(), "") << "back leaves with an empty choice";
    EXPECT_EQ(m.selected, 2);
}

TEST_F(MenuWorld, ScrollKeepsTheSelectionVisible) {
    OptionMenu m(numbered(10));
    m.visibleRows = 4;
    for (int i = 0; i < 4; ++i) m.update(down());
    EXPECT_EQ(m.selected, 4);
    EXPECT_EQ(m.scroll, 1u);
    for (int i = 0; i < 5; ++i) m.update(down());
    EXPECT_EQ(m.selected, 9);
    EXPECT_EQ(m.scroll, 6u);
    for (int i = 0; i < 8; ++i) m.update(up());
    EXPECT_EQ(m.selected, 1);
    EXPECT_EQ(m.scroll, 1u);
    m.update(up());
    EXPECT_EQ(m.scroll, 0u);
}

TEST_F(MenuWorld, MenuWithoutOptionsReadsNoRow) {
    OptionMenu m;
    m.visibleRows = 3;
    EXPECT_FALSE(m.update(down()));
    EXPECT_FALSE(m.update(up()));
    EXPECT_EQ(m.selected, 0);
    EXPECT_EQ(m.selectedText(), "");
    EXPECT_TRUE(m.update(confirm()));
    EXPECT_EQ(m.selectedText(), "");
    m.open({}, false);
    EXPECT_TRUE(m.active);
    EXPECT_EQ(m.selectedText(), "");
}

TEST_F(MenuWorld, SizeGivesTheVisibleRows) {
    OptionMenu m;
    m.setSize(640, 270);
    EXPECT_EQ(m.visibleRows, 6);
    m.setSize(213, 180);
    EXPECT_EQ(m.visibleRows, 3);
    m.characterSize = 30; // row height 36
    m.setSize(200, 4 * 36);
    EXPECT_EQ(m.visibleRows, 3);
}

TEST_F(MenuWorld, ReopeningKeepsOrClampsTheSelection) {
    OptionMenu m(numbered(6));
    m.visibleRows = 6;
    for (int i = 0; i < 5; ++i) m.update(down());
    m.open(numbered(3), false);
    EXPECT_EQ(m.selected, 2) << "fewer options than the remembered row: the last one";
    EXPECT_EQ(m.selectedText(), "row 2");
    m.open(numbered(6), false);
    EXPECT_EQ(m.selected, 2);
    m.open(numbered(6), true);
    EXPECT_EQ(m.selected, 0);
    EXPECT_EQ(m.selectedText(), "row 0");
}

TEST_F(MenuWorld, SplittingTheSelectedRow) {
    OptionMenu m;
    m.setSelectedText("3 Sword of Fire");
    EXPECT_EQ(splitFirstWord(m), "Sword");
    EXPECT_EQ(splitLastWord(m), "Sword of");
    m.setSelectedText("Warrior Ana");
    EXPECT_EQ(splitFirstWord(m), "Ana");
    EXPECT_EQ(splitLastWord(m), "Ana");
    m.setSelectedText("Alone");
    EXPECT_EQ(splitFirstWord(m), "Alone");
    EXPECT_EQ(splitLastWord(m), "Alone");
    m.setSelectedText("Mage Bo L3");
    EXPECT_EQ(splitLastWord(m), "Bo");
}

TEST_F(MenuWorld, ChoiceBoxesTakeTheFrameInOrderAndBox3BackShowsBox2) {
    game->box2.open({"a", "b"}, true);
    game->box2.visibleRows = 2;
    game->box3.open({"x", "y"}, false);
    game->box3.visibleRows = 2;
    game->box2.active = false; // box 2 chose, box 3 opened from it

    game->input.back = true;
    EXPECT_EQ(game->updateChoiceBoxes(), 3);
    game->input.back = false;
    EXPECT_TRUE(game->box2.active) << "back on box 3 brings box 2 up again";
    EXPECT_TRUE(game->box3.active);
    EXPECT_EQ(game->choiceBox3Selection(), "");

    game->input.downPressed = game->input.downHeld = true;
    EXPECT_EQ(game->updateChoiceBoxes(), 2);
    game->input.downPressed = game->input.downHeld = false;
    game->input.confirm = true;
    EXPECT_EQ(game->updateChoiceBoxes(), 2);
    EXPECT_FALSE(game->box2.active);
    EXPECT_EQ(game->choiceBox2Selection(), "b");
    EXPECT_EQ(game->updateChoiceBoxes(), 3);
    EXPECT_FALSE(game->box3.active);
    EXPECT_EQ(game->choiceBox3Selection(), "x");
    game->input.confirm = false;
    EXPECT_EQ(game->updateChoiceBoxes(), 0);

    game->box2.open({"a"}, false);
    game->closeChoiceBox2();
    EXPECT_FALSE(game->box2.active);
    EXPECT_TRUE(game->box2.options.empty());
    EXPECT_EQ(game->box2.selected, 0);

    game->box1.open({"p", "q"}, false);
    game->box1.visibleRows = 2;
    game->box2.open({"r"}, false);
    game->input.back = true;
    EXPECT_EQ(game->updateChoiceBoxes(), 1) << "box 1 comes first";
    game->input.back = false;
    EXPECT_FALSE(game->box1.active);
    EXPECT_EQ(game->choiceBox1Selection(), "");
    EXPECT_TRUE(game->box2.active);
}

} // namespace
