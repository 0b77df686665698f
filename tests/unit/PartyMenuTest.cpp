// The party menu played through the real Game::update with key codes. (Gifts ask through a
// choice box, which measures text: the display tests play them.)
#include "SceneTestWorld.hpp"

#include "game/PartyMenu.hpp"

#include <sstream>

namespace {

class PartyMenuPlay : public SceneWorld {
protected:
    void SetUp() override {
        SceneWorld::SetUp();
        // Indices 3.. after Sword 0, Elixir 1, Key 2.
        for (const char* line : {"Staff WEAPON DMG 1.1 WIS 2 ALLOWED Wizard", "PowerRing ACCESSORY STR 2",
                                 "SwiftBoots ACCESSORY SPD 1 MOB 1 ALLOWED Wizard",
                                 "Greatsword WEAPON DMG 2.0 STR 2 SPD -1 ALLOWED Warrior", "Tome USABLE WIS 1 ALLOWED Wizard"}) {
            std::istringstream in(line);
            items.items.emplace_back().read(in);
        }
        items.at(0).allowedClasses = {"Warrior"};
        items.at(0).bonuses[STR] = 1;
        items.at(0).bonuses[DMG] = 1.4f;
        items.at(1).bonuses[HP] = 10;
        Character& ana = who("Ana");
        ana.className = "Warrior";
        ana.stats[STR] = 5;
        ana.stats[MAXHP] = 30;
        ana.stats[HP] = 10;
        for (int i = 0; i < 8; ++i) ana.inventory[i] = 1;
        who("Bo").className = "Wizard";
        roster.party = {0, index("Bo")};
        roster.reserve = {index("Cy")};
        enter(load(square("Camp", "NPC <MAIN> 2 1\n")), "");
    }
    int item(const std::string& name) { return items.indexOf(name); }
    void press(std::initializer_list<int> keyCodes) {
        for (int k : keyCodes) {
            shell->update({k}, nullptr);
            shell->update({}, nullptr);
        }
    }
    void down(int n) {
        for (int i = 0; i < n; ++i) press({keys::Down});
    }
    PartyMenu& menu() { return shell->partyMenu; }
};

TEST_F(PartyMenuPlay, OpensOnWalkingScenesClosesOnLaterXAndLaysOutItsLists) {
    shell->update({keys::X}, nullptr);
    ASSERT_TRUE(menu().isOpen);
    EXPECT_EQ(menu().members, (std::vector<int>{0, index("Bo"), index("Cy")}));
    EXPECT_EQ(menu().mainList.visibleRows, 8);
    EXPECT_EQ(menu().itemList.size, Point(643, 708));
    EXPECT_EQ(menu().itemList.visibleRows, 16);
    EXPECT_NEAR(menu().pictureSide, 275.57f, 0.01f);
    shell->update({keys::X}, nullptr); // still held: no new press
    shell->update({}, nullptr);
    EXPECT_TRUE(menu().isOpen);
    press({keys::Down, keys::Space, keys::Space, keys::X});
    EXPECT_FALSE(menu().isOpen) << "X closes from any state after the opening frame";
    EXPECT_FALSE(menu().itemList.active) << "the item list closes with the menu";
    press({keys::X, keys::LControl});
    EXPECT_FALSE(menu().isOpen) << "back on the main list";
    press({keys::X});
    down(7);
    press({keys::Space});
    EXPECT_FALSE(menu().isOpen) << "-- Back";
    shell->current().type = SCENE_SCREEN;
    press({keys::X});
    EXPECT_FALSE(menu().isOpen) << "only on a walking scene";
}

TEST_F(PartyMenuPlay, UseAndEquipWithRefusalsAccessorySlotsAndRowsThatFollowTheStock) {
    Character& ana = who("Ana");
    press({keys::X, keys::Down, keys::Space, keys::Space});
    ASSERT_EQ(menu().state, PartyMenu::ITEM_LIST);
    // Count, name padded with its suffix to 13 characters, then the bonuses.
    EXPECT_EQ(menu().itemList.options,
              (std::vector<std::string>{"1 Sword (W)     DMG:1.4 STR+1", "1 Elixir        HP+10", "1 Key          ",
                                        "1 Staff (W)     DMG:1.1 WIS+2", "1 PowerRing (A) STR+2",
                                        "1 SwiftBoots (A) SPD+1 MOB+1", "1 Greatsword (W) DMG:2 STR+2",
                                        "1 Tome          WIS+1", "-- Back"}));
    press({keys::Space}); // the Sword, a Warrior's
    EXPECT_EQ(ana.weapon, item("Sword"));
    EXPECT_EQ(ana.stats[STR], 6);
    EXPECT_EQ(menu().itemList.options.front(), "1 Elixir        HP+10") << "a count of 0 is left out";

    const auto before = ana.inventory;
    for (int row : {1, 2, 6}) { // Key (special), Staff and Tome (a Wizard's)
        down(row);
        press({keys::Space});
        EXPECT_EQ(ana.inventory, before) << "refused row " << row;
        for (int i = 0; i < row; ++i) press({keys::Up});
    }
    press({keys::Space}); // the last Elixir
    EXPECT_EQ(ana.stats[HP], 20);
    EXPECT_EQ(menu().itemList.options.front(), "1 Key          ");

    // An accessory goes to the slot the player picks, whatever the class allows; one already
    // there goes back into the stock with its bonuses off.
    down(3);
    press({keys::Space, keys::Right, keys::Space}); // SwiftBoots, a Wizard's, in the second slot
    EXPECT_EQ(ana.accessory2, item("SwiftBoots"));
    EXPECT_EQ(ana.stats[SPD], 1);
    down(2);
    press({keys::Space, keys::Space}); // PowerRing into the same slot
    EXPECT_EQ(ana.accessory2, item("PowerRing"));
    EXPECT_EQ(ana.stats[SPD], 0);
    EXPECT_EQ(ana.inventory[item("SwiftBoots")], 1);
    EXPECT_EQ(menu().itemList.selected, 0);
    down(2);
    press({keys::Space, keys::Left, keys::LControl}); // back leaves the slot choice
    EXPECT_EQ(menu().accessorySlot, 0);
    EXPECT_EQ(menu().state, PartyMenu::ITEM_LIST);
    EXPECT_EQ(ana.accessory1, NO_ITEM);

    down(1);
    press({keys::Space}); // the Greatsword: the Sword comes back
    EXPECT_EQ(ana.weapon, item("Greatsword"));
    EXPECT_EQ(ana.inventory[item("Sword")], 1);
    EXPECT_EQ(ana.stats[STR], 5 + 2 + 2);
    press({keys::LControl});
    EXPECT_EQ(menu().state, PartyMenu::CHOOSE_MEMBER);
    EXPECT_FALSE(menu().itemList.active);

    // A reserve member (third row) can be equipped too.
    who("Cy").inventory[item("PowerRing")] = 1;
    down(2);
    press({keys::Space, keys::Space, keys::Space});
    EXPECT_EQ(who("Cy").accessory1, item("PowerRing"));
}

TEST_F(PartyMenuPlay, LockRefreshSettingsQuitAndView) {
    const auto bo = std::uint64_t(index("Bo"));
    press({keys::X});
    down(3);
    press({keys::Space, keys::Left});
    ASSERT_EQ(menu().state, PartyMenu::LOCK);
    EXPECT_EQ(menu().lockSlot, 0);
    press({keys::Right, keys::Right, keys::Right, keys::Space, keys::Down, keys::Space, keys::Space});
    EXPECT_EQ(menu().lockSlot, 2);
    EXPECT_EQ(shell->equipmentLocks[0], std::set<int>{2});
    EXPECT_TRUE(shell->equipmentLocks[bo].empty()) << "twice unlocks";
    press({keys::Left, keys::Space, keys::LControl});
    EXPECT_EQ(shell->equipmentLocks[bo], std::set<int>{1});
    EXPECT_EQ(menu().state, PartyMenu::MAIN_LIST);

    // Refresh shares the party's food out again: the Elixir goes to the first member in turn.
    who("Bo").inventory[item("Elixir")] = 1;
    who("Ana").inventory.erase(item("Elixir"));
    press({keys::Down, keys::Space});
    EXPECT_EQ(who("Ana").inventory[item("Elixir")], 1);
    EXPECT_EQ(who("Bo").inventory.count(item("Elixir")), 0u);

    // Settings, for one frame: the dialog's own frames animate from the resource store.
    press({keys::Down});
    shell->update({keys::Space}, nullptr);
    EXPECT_TRUE(shell->settingsOpen);
    EXPECT_EQ(shell->settingsAnimation.name, "arara");
    EXPECT_EQ(shell->settingsAnimation.position, Point(1280, 720));
    EXPECT_EQ(shell->settingsAnimation.frameIndex, 1);
    shell->settingsOpen = false;
    press({keys::Down, keys::Space});
    EXPECT_TRUE(shell->confirmShown);
    EXPECT_EQ(shell->confirmQuestion, "quit game");
    press({keys::LControl});
    EXPECT_FALSE(shell->confirmShown);

    // View: the character view takes the frames; back returns to the member choice.
    for (int i = 0; i < 6; ++i) press({keys::Up});
    who("Bo").facing = NORTH;
    press({keys::Space, keys::Up, keys::Up, keys::Down, keys::Space});
    EXPECT_EQ(shell->shownCharacter, index("Bo"));
    EXPECT_EQ(shell->viewedCharacter.facing, SOUTH);
    EXPECT_EQ(shell->viewedCharacter.previousFacing, NORTH);
    press({keys::Down, keys::LControl});
    EXPECT_EQ(menu().selectedRow, 1) << "the view took the frame";
    EXPECT_EQ(shell->shownCharacter, NO_INDEX);
    EXPECT_EQ(menu().state, PartyMenu::CHOOSE_MEMBER);
    down(3);
    EXPECT_EQ(menu().selectedRow, 2) << "the row stays inside the members";
}

} // namespace
