// Sabio's advice from the story state, the character view's list of spells and potions, and the
// battle's query of stat changes that the view marks.
#include "SceneTestWorld.hpp"

#include "game/CharacterView.hpp"

namespace {

class Advice : public SceneWorld {
protected:
    void SetUp() override {
        SceneWorld::SetUp();
        for (const char* n : {"CD", "Chip", "Chip2", "HellPartyInvitation", "Clue8", "ShieldNullifier",
                              "BubblegumWatermelon", "BubblegumMint", "BubblegumCherry", "BubblegumCinnamon",
                              "BubblegumStrawberry", "BubblegumPeppermint", "BubblegumPineapple"}) {
            Item item;
            item.name = n;
            item.type = Item::SPECIAL;
            items.items.push_back(item);
        }
        Scene& here = load(square("Here"));
        enter(here, "");
        load(square("DragonLair"));
        load(square("EuropaPrison1"));
    }
    void hold(const std::string& item) { roster.at(0).inventory[items.indexOf(item)] = 1; }
    void flag(const std::string& name) { shell->BOOLVARS.insert(name); }
    void planet(const std::string& name) { shell->current().planet = name; }
    std::string advice() { return shell->getAdvice(); }
};

TEST_F(Advice, TheLastRuleThatHoldsGivesTheHint) {
    EXPECT_EQ(advice(), "You should talk to king of Ceres");
    flag("TALKEDLEO");
    EXPECT_EQ(advice(), "Collect 3 allies in the city of Solaris and then come back to the king.");
    planet("Mars");
    EXPECT_EQ(advice(), "Find the Moon shard, south of Olympus");
    flag("TalkedGamer");
    flag("TalkedWaferDesigner");
    EXPECT_EQ(advice(), "Head to the Moon and get a CD from the musicians");
    hold("Chip");
    EXPECT_EQ(advice(), "Return the Chip back to Ceres Observatory");
    flag("DROPPED_Chip");
    EXPECT_EQ(advice(), "Choose your destination from Ceres computer and get the next shard");

    shell->addToSetVar("DESTINATIONS", "Neptune");
    EXPECT_EQ(advice(), "Find the demon prison in Europa and try rescuing the king Arthur.")
        << "the prison's battle is not won";
    shell->scenes[shell->findScene("EuropaPrison1")].battle.won = true;
    EXPECT_EQ(advice(), "Talk to the people and find out a way to get in the castle");
    shell->addToSetVar("DESTINATIONS", "Europa");
    EXPECT_EQ(advice(), "Choose your destination from Ceres computer and get the next shard");

    shell->chapter = 5;
    EXPECT_EQ(advice(), "Find your way to Mercury and locate the Demon Village") << "a later chapter wins";
    shell->scenes[shell->findScene("DragonLair")].battle.won = true;
    EXPECT_EQ(advice(), "Return to king Leo to report the dragon battle victory");
    EXPECT_TRUE(shell->findScene("MadScientistHouseB2") == -1) << "a scene not loaded never counts";
}

TEST_F(Advice, BubblegumItemsPlanetBranchesAndChapterTen) {
    const std::vector<std::string> gums{"BubblegumWatermelon", "BubblegumMint", "BubblegumCherry",
                                        "BubblegumCinnamon", "BubblegumStrawberry", "BubblegumPeppermint"};
    for (const std::string& g : gums) hold(g);
    EXPECT_EQ(advice(), "You should talk to king of Ceres") << "six of the seven";
    hold("BubblegumPineapple");
    EXPECT_EQ(advice(), "Head to the PinkBubblegum volcano to retrieve the Rainbow shard");

    planet("Cauchemar");
    EXPECT_EQ(advice(), "You need to find a way to get into Hell and look for the shard there");
    hold("HellPartyInvitation");
    EXPECT_EQ(advice(), "Now that you have the hell party invitation, get the shard from Hell");
    shell->SHARDS["Water"] = 2;
    EXPECT_EQ(advice(), "You are ready to end this chapter, go back to the solar system to choose a new chapter");

    planet("Mandelbrot");
    EXPECT_EQ(advice(), "Talk to the king about exploring the nebula and finding the shard")
        << "the Water shard is not this branch's end";
    planet("");
    flag("GettingSun");
    flag("TalkedOrangeKing");
    EXPECT_EQ(advice(), "Find the hidden dolls across Orange, and ask the Orange jester for hints");
    hold("Clue8");
    flag("FinishedOrangeHunt");
    EXPECT_EQ(advice(), "Go get the shard in the Pocuri nebula");

    shell->chapter = 10;
    EXPECT_EQ(advice(), "Go back to Ceres, talk to Linguini/Ziniguini/Bananini");
    hold("ShieldNullifier");
    EXPECT_EQ(advice(), "You are ready to go to the MadScientist fortress on Earth. Good luck!");
    EXPECT_FALSE(shell->hasSetVar("DESTINATIONS")) << "asking inserts nothing";
}

TEST_F(Advice, ViewListsSpellsBeforePotionsAndBattleChangesAreQueried) {
    Character c("Caster");
    c.level = 5;
    c.spellsByLevel[1] = {{"Heal", 1}, {"Fire", 1}};
    c.spellsByLevel[3] = {{"Fire", 2}, {"Heal", 1}};
    c.spellsByLevel[9] = {{"Frost", 1}};
    c.potions = {"Tonic", "Acid"};
    const CharacterViewEntries entries = characterViewEntries(c);
    std::vector<std::pair<std::pair<int, std::string>, std::set<int>>> got(entries.begin(), entries.end());
    EXPECT_EQ(got, (decltype(got){{{0, "Fire"}, {1, 2}}, {{0, "Heal"}, {1}}, {{1, "Acid"}, {}}, {{1, "Tonic"}, {}}}));

    Battle b;
    EXPECT_FALSE(b.hasStatModifier(3, DEF));
    b.modifierTurns[3] = 2;
    b.statModifiers[3][DEF] = 3;
    b.statModifiers[3][SPD] = 0;
    EXPECT_TRUE(b.hasStatModifier(3, DEF));
    EXPECT_FALSE(b.hasStatModifier(3, SPD));
    EXPECT_FALSE(b.hasStatModifier(3, STR));
    b.modifierTurns[4] = 1;
    EXPECT_EQ(fatalMessage([&] { b.hasStatModifier(4, STR); }), "ASSERT file Battle line 2886 : 4");
}

} // namespace
