// The demo's guildhall played through the real Game: the travellers join, and the king's
// messenger moves the story on, which changes Sabio's advice.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <filesystem>

namespace {

struct NoStick : JoystickSource {
    JoystickState read() override { return {}; }
};

TEST(Guildhall, TravellersJoinAndTheMessengerMovesTheAdviceOn) {
    GlobalsGuard globals;
    CatchFatal catcher;
    Game g;
    People roster;
    MagicRepository spells;
    ItemList catalogue;
    PotionRepository potions;
    resources = nullptr;
    people = &roster;
    magicRepository = &spells;
    itemList = &catalogue;
    potionRepository = &potions;
    game = &g;
    g.joystick = std::make_unique<NoStick>();
    g.playerName = "GuildhallTester";
    g.readGameFile(nullptr, 0.5f);
    for (const char* file : {"Quarter", "Guildhall"}) {
        Scene& s = g.scenes.addScene();
        s.load(std::string("Game/") + file + "_scene.txt");
        s.music.clear();
    }
    ASSERT_TRUE(g.gotoScene("Guildhall", true, nullptr));
    Scene& hall = g.current();
    ASSERT_TRUE(hall.splitTeamScene);
    Character& leader = roster.mainCharacter();
    EXPECT_EQ(leader.tile, Point(6, 8)) << "in from the quarter's door";

    auto press = [&](int key) {
        g.update({key}, nullptr);
        for (int i = 0; i < 8; ++i) g.update({}, nullptr);
    };
    auto closeText = [&] {
        for (int i = 0; i < 200 && hall.textBoxActive(); ++i) press(keys::Space);
    };
    press(keys::Up); // Mira stands in the way: the leader turns to her
    press(keys::Space);
    closeText();
    press(keys::Up); // onto the Greatsword
    closeText();
    press(keys::Up);
    press(keys::Left); // Tomas
    press(keys::Space);
    closeText();
    EXPECT_EQ(roster.mainCharacter().inventory[catalogue.indexOf("Greatsword")], 1);
    EXPECT_EQ(roster.party, (std::set<int>{0, roster.indexOf("Mira"), roster.indexOf("Tomas")}));

    EXPECT_EQ(g.getAdvice(), "You should talk to king of Ceres");
    for (int key : {keys::Right, keys::Right, keys::Right, keys::Down}) press(key);
    ASSERT_EQ(leader.tile, Point(9, 7));
    press(keys::Right); // the messenger
    press(keys::Space);
    closeText();
    for (int i = 0; i < 5; ++i) g.update({}, nullptr); // the summons' sequence
    EXPECT_TRUE(g.isBoolVarSet("TALKEDLEO"));
    EXPECT_EQ(g.getAdvice(), "Collect 3 allies in the city of Solaris and then come back to the king.");
    std::filesystem::remove_all("SaveGames/GuildhallTester");
}

} // namespace
