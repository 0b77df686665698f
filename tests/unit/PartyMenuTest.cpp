// The party menu played through the real Game::update with key codes: opening and closing, every
// option of the main list, the item list with its refusals, accessory slots and locks. (Gifts ask
// through a choice box, which measures text: the display tests play them.)
#include "SceneTestWorld.hpp"

#include "game/PartyMenu.hpp"

#include <sstream>

namespace {

class PartyMenuPlay : public SceneWorld {
protected:
    void SetUp() override {
        SceneWorld::SetUp();
        // Item indices 3.. after Sword 0, Elixir 1, Key 2.
        addItem("ITEM Staff WEAPON DMG 1.1 WIS 2 ALLOWED Wizard");
        addItem("ITEM PowerRing ACCESSORY STR 2");
        addItem("ITEM SwiftBoots ACCESSORY SPD 1 MOB 1 ALLOWED Wizard");
        addItem("ITEM Greatsword WEAPON DMG 2.0 STR 2 SPD -1 ALLOWED Warrior");
        addItem("ITEM Tome USABLE WIS 1 ALLOWED Wizard");
        items.at(0).allowedClasses = {"Warrior"};
        items.at(0).bonuses[STR] = 1;
        items.at(0).bonuses[DMG] = 1.4f;
        items.at(1).bonuses[HP] = 10;

        Character& ana = who("Ana");
        ana.className = "Warrior";
        ana.stats[STR] = 5;
        ana.stats[MAXHP] = 30;
        ana.stats[HP] = 10;
        ana.inventory = {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}};
        who("Bo").className = "Wizard";
        roster.party = {0, index("Bo")};
        roster.reserve = {index("Cy")};
        Scene& s = load(square("Camp", "NPC <MAIN> 2 1\n"));
        enter(s, "");
    }

    void addItem(const std::string& line) {
        std::istringstream in(line.substr(5));
        Item item;
        item.read(in);
        items.items.push_back(item);
    }
    int item(const std::string& name) { return items.indexOf(name); }

    void press(int key) {
        shell->update({key}, nullptr);
        shell->update({}, nullptr);
    }
    void presses(std::initializer_list<int> keyCodes) {
        for (int k : keyCodes) press(k);
    }
    PartyMenu& menu() { return shell->partyMenu; }
    // From the main list: the option at that row, then the member at that row.
    void chooseOption(int row) {
        for (int i = 0; i < row; ++i) press(keys::Down);
        press(keys::Space);
    }
    std::vector<std::string> rows() { return menu().itemList.options; }
};

TEST_F(PartyMenuPlay, OpensOnWalkingScenesClosesOnLaterXAndLaysOutItsLists) {
    shell->update({keys::X}, nullptr);
    ASSERT_TRUE(menu().isOpen) << "X on a walking scene opens the menu";
    EXPECT_EQ(shell->lastConsumer, FrameConsumer::PARTY_MENU);
    EXPECT_EQ(menu().state, PartyMenu::MAIN_LIST);
    EXPECT_EQ(menu().members, (std::vector<int>{0, index("Bo"), index("Cy")}));
    EXPECT_EQ(menu().mainList.visibleRows, 8);
    EXPECT_EQ(menu().mainList.size, Point(336, 328));
    EXPECT_EQ(menu().itemList.position, Point(1229, 27));
    EXPECT_EQ(menu().itemList.size, Point(643, 708));
    EXPECT_EQ(menu().itemList.visibleRows, 16);
    EXPECT_NEAR(menu().pictureSide, 275.57f, 0.01f);
    EXPECT_EQ(menu().rowHeight, 246);
    shell->update({keys::X}, nullptr); // still held: no new press
    EXPECT_TRUE(menu().isOpen);
    shell->update({}, nullptr);
    press(keys::Down);
    press(keys::Space); // "Use/Equip": choose a member
    press(keys::X);
    EXPECT_FALSE(menu().isOpen) << "X closes from any state after the opening frame";

    // Back on the main list closes at once, "-- Back" too.
    press(keys::X);
    EXPECT_EQ(menu().state, PartyMenu::MAIN_LIST);
    press(keys::LControl);
    EXPECT_FALSE(menu().isOpen);
    press(keys::X);
    chooseOption(7);
    EXPECT_FALSE(menu().isOpen);

    // Not on a screen scene.
    shell->current().type = SCENE_SCREEN;
    press(keys::X);
    EXPECT_FALSE(menu().isOpen);
}

TEST_F(PartyMenuPlay, UseAndEquipWithRefusalsAccessorySlotsAndRowsThatFollowTheStock) {
    Character& ana = who("Ana");
    press(keys::X);
    chooseOption(1);
    EXPECT_EQ(menu().state, PartyMenu::CHOOSE_MEMBER);
    press(keys::Space);
    ASSERT_EQ(menu().state, PartyMenu::ITEM_LIST);
    // Count, name padded with its suffix to 13 characters, then the bonuses.
    EXPECT_EQ(rows(), (std::vector<std::string>{"1 Sword (W)     DMG:1.4 STR+1", "1 Elixir        HP+10",
                                                "1 Key          ", "1 Staff (W)     DMG:1.1 WIS+2",
                                                "1 PowerRing (A) STR+2", "1 SwiftBoots (A) SPD+1 MOB+1",
                                                "1 Greatsword (W) DMG:2 STR+2", "1 Tome          WIS+1",
                                                "-- Back"}));

    press(keys::Space); // the Sword, allowed for a Warrior
    EXPECT_EQ(ana.weapon, item("Sword"));
    EXPECT_EQ(ana.stats[STR], 6);
    EXPECT_EQ(ana.inventory[item("Sword")], 0);
    EXPECT_EQ(rows().front(), "1 Elixir        HP+10") << "an empty count leaves the list";
    EXPECT_EQ(menu().itemList.selected, 0);

    const auto before = ana.inventory;
    for (int row : {1, 2, 6}) { // Key (special), Staff (a Wizard's), Tome (a Wizard's)
        for (int i = 0; i < row; ++i) press(keys::Down);
        press(keys::Space);
        EXPECT_EQ(menu().state, PartyMenu::ITEM_LIST);
        EXPECT_EQ(ana.inventory, before) << "refused row " << row;
        for (int i = 0; i < row; ++i) press(keys::Up);
    }

    press(keys::Space); // the last Elixir: used, its row gone
    EXPECT_EQ(ana.stats[HP], 20);
    EXPECT_EQ(rows().front(), "1 Key          ");

    // An accessory goes to the slot the player picks, whatever the class allows.
    for (int i = 0; i < 3; ++i) press(keys::Down); // SwiftBoots, a Wizard's only
    press(keys::Space);
    ASSERT_EQ(menu().state, PartyMenu::ACCESSORY_SLOT);
    press(keys::Right);
    press(keys::Space);
    EXPECT_EQ(menu().state, PartyMenu::ITEM_LIST);
    EXPECT_EQ(ana.accessory2, item("SwiftBoots"));
    EXPECT_EQ(ana.stats[SPD], 1);
    for (int i = 0; i < 2; ++i) press(keys::Down); // PowerRing into the same, occupied slot
    press(keys::Space);
    press(keys::Space);
    EXPECT_EQ(ana.accessory2, item("PowerRing"));
    EXPECT_EQ(ana.stats[SPD], 0) << "the old accessory's bonus is taken off";
    EXPECT_EQ(ana.inventory[item("SwiftBoots")], 1) << "and it is back in the stock";
    EXPECT_EQ(menu().itemList.selected, 0);
    // Left picks the first slot; back leaves the slot choice without equipping.
    press(keys::Down);
    press(keys::Down);
    press(keys::Space);
    press(keys::Left);
    EXPECT_EQ(menu().accessorySlot, 0);
    press(keys::LControl);
    EXPECT_EQ(menu().state, PartyMenu::ITEM_LIST);
    EXPECT_EQ(ana.accessory1, NO_ITEM);

    // A weapon swap returns the old one; "-- Back" and back leave the list.
    press(keys::Down); // rows: Key, Staff, SwiftBoots, Greatsword, Tome, Back
    press(keys::Space);
    EXPECT_EQ(ana.weapon, item("Greatsword"));
    EXPECT_EQ(ana.inventory[item("Sword")], 1);
    EXPECT_EQ(ana.stats[STR], 5 + 2 + 2);
    press(keys::LControl);
    EXPECT_EQ(menu().state, PartyMenu::CHOOSE_MEMBER);
    EXPECT_FALSE(menu().itemList.active);
    EXPECT_EQ(menu().itemList.selectedText(), "");

    // A reserve member (third row) can be equipped too.
    press(keys::Down);
    press(keys::Down);
    who("Cy").inventory[item("PowerRing")] = 1;
    press(keys::Space);
    EXPECT_EQ(rows().front(), "1 PowerRing (A) STR+2");
    presses({keys::Space, keys::Space});
    EXPECT_EQ(who("Cy").accessory1, item("PowerRing"));
}

TEST_F(PartyMenuPlay, LockRefreshSettingsQuitAndView) {
    press(keys::X);
    chooseOption(3); // Lock
    ASSERT_EQ(menu().state, PartyMenu::LOCK);
    press(keys::Left);
    EXPECT_EQ(menu().lockSlot, 0);
    presses({keys::Right, keys::Right, keys::Right});
    EXPECT_EQ(menu().lockSlot, 2);
    press(keys::Space);
    press(keys::Down);
    press(keys::Space);
    press(keys::Space);
    EXPECT_EQ(shell->equipmentLocks[0], std::set<int>{2});
    EXPECT_TRUE(shell->equipmentLocks[std::uint64_t(index("Bo"))].empty()) << "twice unlocks";
    press(keys::Left);
    press(keys::Space);
    EXPECT_EQ(shell->equipmentLocks[std::uint64_t(index("Bo"))], std::set<int>{1});
    press(keys::LControl);
    EXPECT_EQ(menu().state, PartyMenu::MAIN_LIST);

    // Refresh shares the party's food out again: the Elixir goes to the first member in turn.
    who("Bo").inventory[item("Elixir")] = 1;
    who("Ana").inventory.erase(item("Elixir"));
    press(keys::Down); // from Lock (row 3) to Refresh
    press(keys::Space);
    EXPECT_EQ(who("Ana").inventory[item("Elixir")], 1);
    EXPECT_EQ(who("Bo").inventory.count(item("Elixir")), 0u);
    EXPECT_EQ(menu().state, PartyMenu::MAIN_LIST);

    press(keys::Down);
    // Settings (one frame: the dialog's own frames animate from the resource store).
    shell->update({keys::Space}, nullptr);
    EXPECT_TRUE(shell->settingsOpen);
    EXPECT_EQ(shell->settingsAnimation.name, "arara");
    EXPECT_EQ(shell->settingsAnimation.position, Point(1280, 720));
    EXPECT_EQ(shell->settingsAnimation.frameIndex, 1);
    EXPECT_EQ(menu().state, PartyMenu::MAIN_LIST);
    shell->settingsOpen = false;
    shell->update({}, nullptr);
    EXPECT_TRUE(menu().isOpen);

    press(keys::Down);
    press(keys::Space); // Quit asks first
    EXPECT_TRUE(shell->confirmShown);
    EXPECT_EQ(shell->confirmQuestion, "quit game");
    press(keys::LControl);
    EXPECT_FALSE(shell->confirmShown);

    // View: the character view takes the frames, back returns to the member choice.
    for (int i = 0; i < 6; ++i) press(keys::Up);
    press(keys::Space);
    presses({keys::Up, keys::Up, keys::Down});
    who("Bo").facing = NORTH;
    who("Bo").showBack = true;
    press(keys::Space);
    EXPECT_EQ(shell->shownCharacter, index("Bo"));
    EXPECT_EQ(shell->viewedCharacter.facing, SOUTH);
    EXPECT_EQ(shell->viewedCharacter.previousFacing, NORTH);
    EXPECT_FALSE(shell->viewedCharacter.showBack);
    press(keys::Down);
    EXPECT_EQ(menu().selectedRow, 1) << "the view takes the frame";
    press(keys::LControl);
    EXPECT_EQ(shell->shownCharacter, NO_INDEX);
    EXPECT_EQ(menu().state, PartyMenu::CHOOSE_MEMBER);
    presses({keys::Down, keys::Down, keys::Down});
    EXPECT_EQ(menu().selectedRow, 2) << "the row stays inside the members";
}

TEST(PartyMenuRows, ScrollFollowsTheSelectedRow) {
    PartyMenu menu;
    menu.members = {0, 1, 2, 3, 4, 5, 6};
    menu.visibleRows = 4;
    Game g;
    GlobalsGuard guard;
    game = &g;
    for (int target : {6, 0, 3, 5}) {
        menu.selectedRow = target;
        menu.state = PartyMenu::CHOOSE_MEMBER;
        g.input = {};
        // One frame with no input: only the frame's end runs in the member choice.
        menu.update();
        EXPECT_LE(menu.firstRow, target);
        EXPECT_GT(menu.firstRow + menu.visibleRows, target);
    }
}

} // namespace
