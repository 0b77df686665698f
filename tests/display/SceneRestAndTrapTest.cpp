// The walking-scene paths that go through the resource store (a sound, a font): traps that
// bump the leader back, the sleep location that rests the party and Sabio's advisor menu.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <memory>

namespace {

struct Still : JoystickSource {
    JoystickState read() override { return {}; }
};

class SceneRest : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = {resources, game, people};
        resources = store.get();
        game = &g;
        people = &roster;
        g.joystick = std::make_unique<Still>();
        g.playerName = "NoSuchPlayerForRestTests";
        store->loadFonts("Resources//Fonts", nullptr, 0, store->fonts);
        for (const char* n : {"Ana", "Bo", "Sabio"}) roster.characters.emplace_back(n);
        scene = &g.scenes.addScene();
        scene->loadText("SceneName Inn\nType WALK\nTile . END\nTile t TRAP END\nMap\n.....\n.t...\n.....\n"
                        "EndMap\nSleepLocation 4 2\nNPC Sabio 0 2 STAND\n");
        scene->enter("Outside");
    }
    void TearDown() override { std::tie(resources, game, people) = old_; }
    void frame(InputFlags in = {}) {
        g.input = in;
        scene->update(nullptr);
        g.input = {};
    }

    std::unique_ptr<Resources> store = std::make_unique<Resources>();
    Game g;
    People roster;
    Scene* scene = nullptr;
    CatchFatal catcher;

private:
    std::tuple<Resources*, Game*, People*> old_;
};

} // namespace

TEST_F(SceneRest, TrapsBumpTheLeaderBack) {
    Character& leader = roster.mainCharacter();
    leader.setTilePosition({1, 0});
    InputFlags down;
    down.downHeld = true;
    frame(down);
    for (int i = 0; i < 8 && leader.walking; ++i) frame();
    EXPECT_EQ(leader.tile, Point(1, 0));
    EXPECT_EQ(scene->message.lines, std::vector<std::string>{"Ouch"});
}

TEST_F(SceneRest, ASleepLocationRestsTheParty) {
    Character& leader = roster.mainCharacter();
    leader.stats[MAXHP] = 30;
    leader.stats[HP] = 4;
    leader.setTilePosition({3, 2});
    leader.setFacing(EAST);
    InputFlags confirm;
    confirm.confirm = true;
    frame(confirm);
    EXPECT_TRUE(g.sleeping);
    EXPECT_EQ(leader.stats[HP], 30);
}

TEST_F(SceneRest, SabioOffersToChangeTheMainCharacter) {
    roster.party = {0, 1};
    Character& ana = roster.mainCharacter();
    ana.setTilePosition({0, 0});
    ana.setFacing(SOUTH);
    InputFlags confirm;
    confirm.confirm = true;
    frame(confirm); // Sabio stands two tiles below
    EXPECT_TRUE(scene->advisorMenu);
    ASSERT_TRUE(g.box1.active);
    EXPECT_EQ(g.box1.options, (std::vector<std::string>{"Give me advice on what to do", "Change the main character"}));
    frame(); // the box is still open: the scene waits
    g.box1.active = false;
    g.box1.selectedText_ = "Change the main character";
    frame();
    ASSERT_TRUE(g.box1.active); // now the party to choose from
    EXPECT_EQ(g.box1.options, (std::vector<std::string>{"Ana", "Bo"}));
    g.box1.active = false;
    g.box1.selectedText_ = "Bo";
    frame();
    EXPECT_FALSE(scene->advisorMenu);
    EXPECT_EQ(roster.mainCharacterIndex, 1);
    EXPECT_EQ(roster.mainCharacter().tile, Point(0, 0));
}
