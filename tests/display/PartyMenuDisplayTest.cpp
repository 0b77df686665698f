// The party menu, its equipment preview, the character view and the exchange menu on the shipped
// demo in the guildhall, played with key codes through the real Game and drawn into the window;
// screenshots go to build/screens for a look by eye.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/PartyExchangeMenu.hpp"
#include "scenes/Scene.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <filesystem>
#include <memory>

namespace {

struct NoStick : JoystickSource {
    JoystickState read() override { return {}; }
};

class PartyScreens : public ::testing::Test, protected DemoWorld {
protected:
    void SetUp() override {
        load([&] { shell->joystick = std::make_unique<NoStick>(); });
        // A save folder per test: ctest runs them side by side.
        shell->playerName = std::string("PartyScreens") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::create_directories("SaveGames/" + shell->playerName);
        for (const char* name : {"Mira", "Tomas"}) roster->insertPartyIndex(roster->indexOf(name));
        roster->reserve.insert(roster->indexOf("Kesh"));
        ravi().addItemCount(items->indexOf("Greatsword"), 1);
        for (const char* name : {"JOINED_Mira", "JOINED_Tomas", "JOINED_Kesh"}) shell->BOOLVARS.insert(name);
        shell->gotoScene("Guildhall", true, nullptr);
        for (auto& [name, music] : resources->musics) music.stop();
    }
    void TearDown() override {
        std::filesystem::remove_all("SaveGames/" + shell->playerName);
        for (auto& [name, music] : resources->musics) music.stop();
    }
    Character& ravi() { return roster->at(roster->indexOf("Ravi")); }
    Scene& hall() { return shell->current(); }
    void press(int key) {
        shell->update({key}, nullptr);
        shell->update({}, nullptr);
    }
    void presses(std::initializer_list<int> keyCodes) {
        for (int k : keyCodes) press(k);
    }
    sf::Image frame() {
        sf::RenderWindow& w = testWindow();
        w.clear(sf::Color::Black);
        shell->draw(w);
        return captureWindow(w);
    }
    // Pixels of the rectangle close to the colour.
    static int count(const sf::Image& img, int x0, int y0, int w, int h, sf::Color c) {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const sf::Color p = img.getPixel(unsigned(x), unsigned(y));
                n += std::abs(p.r - c.r) < 40 && std::abs(p.g - c.g) < 40 && std::abs(p.b - c.b) < 40;
            }
        return n;
    }

    GlobalsGuard globals;
};

TEST_F(PartyScreens, TheMenuItsPreviewAndTheCharacterView) {
    press(keys::X);
    ASSERT_TRUE(shell->partyMenu.isOpen);
    shell->toggleEquipmentLock(0, 1); // an empty locked slot still shows its lock
    const sf::Image menu = frame();
    saveScreenshot(menu, "party_menu");
    EXPECT_EQ(menu.getPixel(52, 500), sf::Color::Blue) << "the member panel";
    EXPECT_GT(count(menu, 48 + 19 + 4, 27 + 246 * 3 + 19 + 4, 30, 10, sf::Color(100, 100, 100)), 250)
        << "the reserve member's row is grey";
    EXPECT_GT(count(menu, 923 - 10, 100 - 10, 20, 20, sf::Color(220, 180, 60)), 20) << "the lock";
    EXPECT_EQ(shell->partyMenu.atkPositions.size(), 4u);

    // Use/Equip for Ravi: the Greatsword heads his list and its changes are previewed.
    presses({keys::Down, keys::Space, keys::Space});
    ASSERT_EQ(shell->partyMenu.itemList.options.front().substr(0, 12), "1 Greatsword");
    const sf::Image preview = frame();
    saveScreenshot(preview, "equip_preview");
    const Point str = shell->partyMenu.statPositions.at(STR);
    const Point spd = shell->partyMenu.statPositions.at(SPD);
    EXPECT_GT(count(preview, str.x + 100, str.y, 30, 25, sf::Color::Green), 8) << "STR +1 in green";
    EXPECT_GT(count(preview, spd.x + 100, spd.y, 30, 25, sf::Color::Red), 8) << "SPD -1 in red";
    EXPECT_GT(count(preview, 1415, 740, 270, 270, sf::Color::Blue), 5000) << "the picture square";

    // On "-- Back" neither the numbers nor the picture.
    presses({keys::Down, keys::Down, keys::Down});
    const sf::Image onBack = frame();
    EXPECT_LT(count(onBack, 1415, 740, 270, 270, sf::Color::Blue), 100);
    EXPECT_LT(count(onBack, str.x + 100, str.y, 30, 25, sf::Color::Green), 3);

    // Equip it, then view Mira (a caster: one skill icon per spell).
    presses({keys::Up, keys::Up, keys::Up, keys::Space});
    EXPECT_EQ(ravi().weapon, items->indexOf("Greatsword"));
    presses({keys::LControl, keys::LControl, keys::Up, keys::Space, keys::Down, keys::Space});
    ASSERT_EQ(shell->shownCharacter, roster->indexOf("Mira"));
    const sf::Image view = frame();
    saveScreenshot(view, "character_view");
    EXPECT_EQ(view.getPixel(60, 1040), sf::Color::Blue) << "the panel";
    EXPECT_EQ(view.getPixel(1190, 85), sf::Color(135, 206, 235)) << "the sky over the guildhall's floor";
    EXPECT_EQ(view.getPixel(600, 530), sf::Color(0, 170, 222)) << "the equipment strip";
    EXPECT_LT(count(view, 98, 597, 65, 65, sf::Color::Blue), 65 * 65 / 2) << "a skill icon";
    EXPECT_EQ(count(view, 0, 447, 44, 100, sf::Color::White), 0) << "the wand's bonuses stay in the strip";
    press(keys::LControl);
    EXPECT_EQ(shell->shownCharacter, NO_INDEX);
    EXPECT_TRUE(shell->partyMenu.isOpen);
}

TEST_F(PartyScreens, EverySpellOfTheSpellFileHasAnIcon) {
    Character caster = roster->at(roster->indexOf("Mira"));
    caster.spellsByLevel.clear();
    for (const auto& [name, spell] : spells->spells) caster.spellsByLevel[1][name] = 1;
    caster.potions = {"Acid", "Tonic"};
    ASSERT_GT(spells->spells.size(), 5u);
    shell->shownCharacter = roster->indexOf("Mira");
    shell->viewedCharacter = caster;
    saveScreenshot(frame(), "character_view_every_spell");
}

TEST_F(PartyScreens, GivingAndSabiosAdviceAndTheExchange) {
    // Give Ravi's Apple to Tomas through the choice box of party names.
    const int apple = items->indexOf("Apple");
    const int tomasApples = roster->at(roster->indexOf("Tomas")).inventory[apple];
    press(keys::X);
    presses({keys::Down, keys::Down, keys::Space, keys::Space});
    for (int i = 0; i < 4 && shell->partyMenu.itemList.selectedText().find("Apple") == std::string::npos; ++i)
        press(keys::Down);
    press(keys::Space);
    ASSERT_TRUE(shell->box1.active);
    EXPECT_EQ(shell->box1.options.size(), 3u) << "the party, not the reserve";
    for (int i = 0; i < 3 && shell->box1.selectedText() != "Tomas"; ++i) press(keys::Down);
    press(keys::Space);
    EXPECT_EQ(roster->at(roster->indexOf("Tomas")).inventory[apple], tomasApples + 1);
    EXPECT_EQ(ravi().inventory[apple], 2);
    press(keys::X);
    EXPECT_FALSE(shell->partyMenu.isOpen);

    // Sabio stands two tiles north of the leader.
    ravi().setTilePosition({6, 6});
    ravi().setFacing(NORTH);
    press(keys::Space);
    ASSERT_TRUE(shell->box1.active);
    EXPECT_EQ(shell->box1.options.back(), "Create two teams");
    press(keys::Space);
    EXPECT_TRUE(hall().message.isActive());
    ASSERT_FALSE(hall().message.lines.empty());
    EXPECT_EQ(hall().message.lines[0], shell->getAdvice());
    for (int i = 0; i < 100 && hall().message.isActive(); ++i) press(keys::Space);

    press(keys::Space);
    presses({keys::Down, keys::Down, keys::Space});
    ASSERT_TRUE(hall().exchangeMenu && hall().exchangeMenu->active);
    press(keys::Down);
    press(keys::Space); // Mira to the reserve
    EXPECT_EQ(roster->reserve.count(roster->indexOf("Mira")), 1u);
    const sf::Image exchange = frame();
    saveScreenshot(exchange, "exchange_menu");
    EXPECT_GT(count(exchange, 160 + 500, 180 + 500, 100, 100, sf::Color::Red), 9000) << "the party list";
    EXPECT_GT(count(exchange, 1120 + 500, 180 + 500, 100, 100, sf::Color::Blue), 9000) << "the reserve list";
    press(keys::LControl);
    EXPECT_FALSE(hall().exchangeMenu->active);
}

} // namespace
