// The scene's line in the save file: writing, reading, applying, and the round trips that carry
// opened chests, won battles, played IfOnce blocks and queued chests across a save.
#include "SceneTestWorld.hpp"

#include <sstream>

namespace {

class SceneStateRecord : public SceneWorld {
protected:
    static SceneState read(const std::string& text) {
        std::istringstream in(text);
        SceneState state;
        state.read(in);
        return state;
    }
    static std::string written(const SceneState& state) {
        std::ostringstream out;
        state.write(out);
        return out.str();
    }
};

} // namespace

TEST_F(SceneStateRecord, WritesTheRecordLine) {
    Scene& s = load(square("Cellar", "IfOnce Lamp FLAG\nSetBoolVar A\nEndIf\nIf Door NOFLAG\nSetBoolVar B\nEndIf\n"
                                     "IfOnce Start ALWAYS\nSetBoolVar C\nEndIf\nChest 4 5 Key\n"));
    s.chestAt({4, 5})->item.clear();
    s.battle.won = true;
    s.conditions[0].played = true;
    s.conditions[1].played = true; // an If block is not recorded
    std::ostringstream out;
    s.save(out);
    EXPECT_EQ(out.str(), "SCENE Cellar CHESTS 2 3 2 'Sword' 4 5 '' BATTLEV 1 IFSPLAYED 1 <FLAG Lamp> \n");

    Scene& bare = load("SceneName Bare\n");
    std::ostringstream plain;
    bare.save(plain);
    EXPECT_EQ(plain.str(), "SCENE Bare CHESTS 0 BATTLEV 0\n");
}

TEST_F(SceneStateRecord, ReadsWhatItWrites) {
    SceneState state = read("CHESTS 2 4 7 'Elixir' 9 3 '' BATTLEV 1 IFSPLAYED 2 <FLAG Lamp> <ITEM Old Key> ");
    ASSERT_EQ(state.chests.size(), 2u);
    EXPECT_EQ(state.chests[0], (SavedChest{"Elixir", {4, 7}}));
    EXPECT_EQ(state.chests[1], (SavedChest{"", {9, 3}}));
    EXPECT_TRUE(state.battleWon);
    EXPECT_EQ(state.playedBlocks, (std::vector<std::string>{"FLAG Lamp", "ITEM Old Key"}));
    EXPECT_EQ(read(written(state)).playedBlocks, state.playedBlocks);
    SceneState empty = read("CHESTS 0 BATTLEV 0");
    EXPECT_TRUE(empty.chests.empty());
    EXPECT_FALSE(empty.battleWon);
    // Another word after the flag ends the record.
    EXPECT_TRUE(read("CHESTS 0 BATTLEV 0 SOMETHING 3 <A B>").playedBlocks.empty());

    EXPECT_EQ(fatalMessage([] { read("CHEST 0 BATTLEV 0"); }), "ASSERT file Scene line 183 : CHEST");
    EXPECT_EQ(fatalMessage([] { read("CHESTS 0 BATTLE 0"); }), "ASSERT file Scene line 198 : BATTLE");
    EXPECT_EQ(fatalMessage([] { read("CHESTS 0 BATTLEV 1 IFSPLAYED 1 <FLAG Lamp"); }),
              "ASSERT file Scene line 212 : <FLAG Lamp");
}

TEST_F(SceneStateRecord, RestoreEmptiesChestsEndsBattlesAndMarksBlocks) {
    const std::string text = square("Crypt", "If Lamp FLAG\nSetBoolVar A\nEndIf\nIfOnce Lamp FLAG\nSetBoolVar B\nEndIf\n"
                                             "AnimationsAt Torch 2 2\nBattle ENEMIES 1 Eve\n");
    Scene& s = load(text);
    s.restoreState(read("CHESTS 2 3 2 '' 1 1 'Sword' BATTLEV 1 IFSPLAYED 1 <FLAG Lamp> "));
    EXPECT_EQ(s.chestAt({3, 2})->item, "");
    EXPECT_EQ(s.chestAt({1, 1}), nullptr); // a chest that still holds its item changes nothing
    EXPECT_FALSE(s.battle.inBattle);
    EXPECT_TRUE(s.battle.won);
    EXPECT_TRUE(s.animatedObjects.empty());
    EXPECT_TRUE(s.conditions[0].played); // the If block with the same key too
    EXPECT_TRUE(s.conditions[1].played);
    enter(s, "X");
    EXPECT_FALSE(s.battle.inBattle); // a won battle does not start again
}

TEST_F(SceneStateRecord, OpenedChestsWithoutAChestYetAreKept) {
    const std::string text = square("Attic", "If Ghost FLAG\nChest 6 5 Key\nEndIf\n");
    Scene& s = load(text);
    s.restoreState(read("CHESTS 1 6 5 '' BATTLEV 0"));
    // Saving before the script places the chest keeps the record.
    std::ostringstream again;
    s.save(again);
    EXPECT_EQ(again.str(), "SCENE Attic CHESTS 2 3 2 'Sword' 6 5 '' BATTLEV 0\n");
    shell->BOOLVARS.insert("Ghost");
    enter(s, "X");
    ASSERT_NE(s.chestAt({6, 5}), nullptr);
    EXPECT_EQ(s.chestAt({6, 5})->item, ""); // it comes opened
    EXPECT_TRUE(s.openedChestRecords.empty());
}

TEST_F(SceneStateRecord, QueuedChestsSurviveASave) {
    Scene& s = load(square("Loft"));
    s.runScript({"ChestNextEntry 7 1 Elixir"});
    std::ostringstream out;
    s.save(out);
    EXPECT_EQ(out.str(), "SCENE Loft CHESTS 1 3 2 'Sword' BATTLEV 0 PENDING 1 7 1 'Elixir'\n");
    // Read back the way the save reader does: "SCENE" and the name, then the rest.
    std::istringstream line(out.str());
    std::string word, name;
    line >> word >> name;
    SceneState state;
    state.read(line);
    Scene& fresh = load(square("Loft"));
    fresh.restoreState(state);
    enter(fresh, "X");
    EXPECT_EQ(fresh.chestAt({7, 1})->item, "Elixir");
    // A record written with played blocks keeps them readable before the queued chests.
    SceneState both = read("CHESTS 0 BATTLEV 0 IFSPLAYED 1 <FLAG A>  PENDING 1 2 2 'Key'");
    EXPECT_EQ(both.playedBlocks, std::vector<std::string>{"FLAG A"});
    ASSERT_EQ(both.pendingChests.size(), 1u);
    EXPECT_EQ(both.pendingChests[0], (SavedChest{"Key", {2, 2}}));
    EXPECT_EQ(written(both), "CHESTS 0 BATTLEV 0 IFSPLAYED 1 <FLAG A>  PENDING 1 2 2 'Key'");
}

TEST_F(SceneStateRecord, IfOnceRunsOncePerGameAcrossASave) {
    const std::string text = square("Chapel", "IfOnce Bell ALWAYS\nAppendToVar Rung yes\nEndIf\n");
    Scene& s = load(text);
    enter(s, "X");
    EXPECT_EQ(shell->getSetVar("Rung"), std::set<std::string>{"yes"});
    std::ostringstream out;
    s.save(out);
    shell->SETVARS.clear();
    std::istringstream line(out.str());
    std::string word, name;
    line >> word >> name;
    SceneState state;
    state.read(line);
    Scene& restarted = load(text);
    restarted.restoreState(state);
    enter(restarted, "X");
    EXPECT_TRUE(shell->getSetVar("Rung").empty());
}
