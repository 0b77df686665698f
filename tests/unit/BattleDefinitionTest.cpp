#include "battle/Battle.hpp"
#include "characters/People.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "support/TestSupport.hpp"

#include <regex>

namespace {

// A roster of four: Hero 0, Goblin 1, Orc 2, Friend 3.
class BattleDefinition : public testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Hero", "Goblin", "Orc", "Friend"}) {
            Character c;
            c.name = name;
            roster.characters.push_back(c);
        }
        people = &roster;
    }

    static Battle loaded(const std::string& text) {
        Battle b;
        b.load(text);
        return b;
    }

    People roster;
    GlobalsGuard globals;
};

TEST_F(BattleDefinition, EveryDefinitionWord) {
    Battle b = loaded("EGRESS PREV WATCH MUSIC Fight BACKGROUND Cave SKY CIRCUS ENEMYPOS 4 5 ENEMYPOSNAME Orc 7 8 "
                      "ENEMYPOS 6 5 PRACTICE SIFTER ENEMIES 2 Goblin Orc ENEMYRANDOMPOS ENEMYBOX 2 3 10 12 "
                      "JOINS 1 Friend");
    EXPECT_TRUE(b.inBattle);
    EXPECT_EQ(b.egress, "PREV");
    EXPECT_TRUE(b.watch);
    EXPECT_EQ(b.music, "Fight");
    EXPECT_EQ(b.background, "Cave");
    EXPECT_EQ(b.sky, Battle::SKY_CIRCUS);
    EXPECT_EQ(b.enemyPositions.at(""), (std::vector<Point>{{4, 5}, {6, 5}}));
    EXPECT_EQ(b.enemyPositions.at("Orc"), (std::vector<Point>{{7, 8}}));
    EXPECT_TRUE(b.practice);
    EXPECT_TRUE(b.sifter);
    EXPECT_EQ(b.enemies, (std::vector<long long>{1, 2}));
    EXPECT_TRUE(b.enemyRandomPos);
    EXPECT_EQ(b.enemyBoxX0, 2);
    EXPECT_EQ(b.enemyBoxY0, 3);
    EXPECT_EQ(b.enemyBoxX1, 10);
    EXPECT_EQ(b.enemyBoxY1, 12);
    EXPECT_EQ(b.joins, (std::vector<int>{3}));
}

TEST_F(BattleDefinition, EmptyLineSkyWordsAndReloading) {
    Battle empty = loaded("");
    EXPECT_TRUE(empty.inBattle);
    EXPECT_EQ(empty.sky, 0);
    EXPECT_TRUE(empty.enemies.empty());
    EXPECT_EQ(loaded("SKY STARS").sky, 1);
    EXPECT_EQ(loaded("SKY TRAIN   ").sky, 3);
    EXPECT_EQ(loaded("SKY Rain").sky, 0);
    EXPECT_EQ(loaded("SKY TRAIN SKY stars").sky, 3);
    EXPECT_TRUE(loaded("ENEMIES 0 WATCH").watch);
    EXPECT_TRUE(loaded("ENEMIES -2").enemies.empty());

    // A second definition starts from a default record: nothing of the first carries over
    // (a re-armed script battle must not turn into a watch or practice battle, nor bring an
    // earlier joiner twice), except what the scene set from outside.
    Battle b = loaded("SKY STARS ENEMIES 1 Goblin ENEMYPOS 1 1 MUSIC Old WATCH PRACTICE SIFTER "
                      "ENEMYRANDOMPOS ENEMYBOX 1 2 3 4 BACKGROUND Field EGRESS Town JOINS 1 Orc");
    b.presetTiles[1] = {2, 2};
    b.extraWalkerCells.insert({3, 3});
    b.load("ENEMIES 1 Orc");
    EXPECT_EQ(b.enemies, (std::vector<long long>{2}));
    EXPECT_TRUE(b.enemyPositions.empty());
    EXPECT_EQ(b.sky, 0);
    EXPECT_EQ(b.music, "");
    EXPECT_TRUE(b.joins.empty());
    EXPECT_FALSE(b.watch || b.practice || b.sifter || b.enemyRandomPos);
    EXPECT_EQ(b.enemyBoxX0, -1);
    EXPECT_TRUE(b.background.empty() && b.egress.empty());
    EXPECT_EQ(b.presetTiles.at(1), Point(2, 2));
    EXPECT_EQ(b.extraWalkerCells.count({3, 3}), 1u);
}

TEST_F(BattleDefinition, FaultsAreFatal) {
    EXPECT_FATAL(loaded("egress Town"), "ASSERT file Battle line 789 : egress");
    EXPECT_FATAL(loaded("MUSIC Fight BOSS"), "ASSERT file Battle line 789 : BOSS");
    EXPECT_FATAL(loaded("ENEMIES 2 Goblin Dragon"), "ASSERT file Battle line 770 : Dragon");
    // A count beyond the names reads an empty name at the end of the line.
    EXPECT_FATAL(loaded("ENEMIES 2 Goblin"), "ASSERT file Battle line 770 : ");
    EXPECT_TRUE(std::regex_match(fatalMessage([] { loaded("JOINS 1 Stranger"); }),
                                 std::regex("ASSERT file Battle line [0-9]+ : Stranger")));
    EXPECT_TRUE(std::regex_match(fatalMessage([] { loaded("ENEMYPOS 4 five"); }),
                                 std::regex("ASSERT file Battle line [0-9]+ : five")));
    EXPECT_TRUE(std::regex_match(fatalMessage([] { loaded("ENEMYBOX 1 2 3"); }),
                                 std::regex("ASSERT file Battle line [0-9]+ : missing number")));
    EXPECT_TRUE(std::regex_match(fatalMessage([] { loaded("EGRESS"); }),
                                 std::regex("ASSERT file Battle line [0-9]+ : EGRESS")));
}

TEST_F(BattleDefinition, SetSceneTakesTheNameAndGridSize) {
    Game g;
    Scene& cave = g.scenes.addScene();
    cave.name = "Cave";
    cave.grid.assign(30, std::vector<int>(20, 0));
    GlobalsGuard globals;
    game = &g;
    Battle b = loaded("ENEMIES 1 Goblin");
    b.setScene("Cave");
    EXPECT_EQ(b.sceneName, "Cave");
    EXPECT_EQ(b.gridSize, Point(30, 20));
    EXPECT_FATAL(b.setScene("Nowhere"), "ASSERT file Game line 344 : Nowhere");
    EXPECT_EQ(b.sceneName, "Cave");
}

TEST(BattleRecord, RefillIndexListAndEraseKey) {
    ActionAnimation shown;
    shown.pendingTargets = {9};
    Battle::refillIndexList(shown, {7, 3, 5});
    EXPECT_EQ(shown.pendingTargets, (std::vector<long long>{3, 5, 7}));
    EXPECT_EQ(shown.targetCount, 4);

    Battle battle;
    battle.invisibleTurns = {{1, 3}, {2, 1}};
    battle.eraseKey(1);
    battle.eraseKey(8);
    EXPECT_EQ(battle.invisibleTurns, (std::map<long long, int>{{2, 1}}));
}

} // namespace
