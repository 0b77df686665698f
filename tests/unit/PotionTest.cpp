#include "battle/Magic.hpp"
#include "support/TestSupport.hpp"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>

namespace {

Potion readPotion(const std::string& line, Potion p = Potion()) {
    std::istringstream in(line);
    p.read(in);
    return p;
}

TEST(PotionRead, EveryKeywordAndPrefixOrder) {
    Potion p = readPotion("TARGET Ally COLOR 255 0 0 DMG 1.5 MPDMG 0.5 MP 3 ATTR STR 2 ATTR STR 3 COLOR 0 0 255");
    EXPECT_EQ(p.target, TARGET_ALLY);
    EXPECT_EQ(p.color, sf::Color(0, 0, 255, 255));
    EXPECT_FLOAT_EQ(p.dmg, 1.5f);
    EXPECT_FLOAT_EQ(p.mpDmg, 0.5f);
    EXPECT_EQ(p.mp, 3);
    EXPECT_EQ(p.attr, (StatChanges{{STR, 2.0f}, {STR, 3.0f}}));
    // Words are tested by their beginning: MPDMG before MP, so MPCOST sets the cost.
    Potion q = readPotion("MPDMGX 2 MPCOST 7 COLORS 300 1 2 DMGS 4 ATTRIB DEX 1");
    EXPECT_FLOAT_EQ(q.mpDmg, 2.0f);
    EXPECT_EQ(q.mp, 7);
    EXPECT_EQ(q.color, sf::Color(44, 1, 2, 255));
    EXPECT_FLOAT_EQ(q.dmg, 4.0f);
    EXPECT_EQ(q.attr, (StatChanges{{DEX, 1.0f}}));
    EXPECT_EQ(readPotion("TARGET ALLY").target, TARGET_ALLY);
    EXPECT_EQ(readPotion("TARGET friend").target, TARGET_NONE);
    EXPECT_EQ(Potion().color, sf::Color(0, 0, 0, 255));
}

TEST(PotionRead, UnknownWordsAndBadNumbers) {
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    Potion p = readPotion("HEAL 4 DMG 2 ATTR LUCK 2 ATTR SPD 0.5");
    std::cout.rdbuf(old);
    EXPECT_EQ(captured.str(), "BAD keyword HEAL (potionrep)\nBAD keyword 4 (potionrep)\nBAD keyword LUCK (potionrep)\n");
    EXPECT_EQ(p.attr, (StatChanges{{SPD, 0.5f}}));
    EXPECT_FLOAT_EQ(p.dmg, 2.0f);
    EXPECT_TRUE(std::regex_match(fatalMessage([] { readPotion("DMG much"); }),
                                 std::regex("ASSERT file Magic line [0-9]+ : much")));
    EXPECT_TRUE(std::regex_match(fatalMessage([] { readPotion("ATTR STR"); }),
                                 std::regex("ASSERT file Magic line [0-9]+ : ATTR")));
}

TEST(PotionRepositoryFile, LoadsAndAddsToNamedPotions) {
    std::string dir = scratchDir("potion_file");
    std::string path = dir + "/Potions.txt";
    std::ofstream(path) << "# potions\n"
                           "Acid TARGET enemy COLOR 0 255 0 DMG 2 MPDMG 0 MP 3\n"
                           "\n"
                           "Acid ATTR DEF 0.5 MP 4\n"
                           "#Old TARGET ally\n"
                           "Tonic TARGET ally COLOR 255 0 255 DMG -1.5 MPDMG 0 MP 2 ATTR STR 1.2\n";
    PotionRepository repo;
    repo.load(path, nullptr, 0.25f);
    EXPECT_EQ(repo.potions.size(), 2u);
    const Potion& acid = repo.get("Acid");
    EXPECT_EQ(acid.mp, 4);
    EXPECT_FLOAT_EQ(acid.dmg, 2.0f);
    EXPECT_EQ(acid.attr, (StatChanges{{DEF, 0.5f}}));
    EXPECT_EQ(repo.get("Tonic").color, sf::Color(255, 0, 255, 255));
    EXPECT_FATAL(repo.get("Elixir"), "ASSERT file Magic line 427 : Elixir");
    EXPECT_FATAL(repo.load(dir + "/None.txt", nullptr, 0.f), "ASSERT file Magic line 1601 : " + dir + "/None.txt");
}

TEST(PotionRepositoryFileDeathTest, UnreadableFileStopsWithErrorFile) {
    std::string dir = scratchDir("potion_unreadable");
    PotionRepository repo;
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "r", stdin);
            dup2(2, 1);
            repo.load(dir, nullptr, 0.f);
        },
        testing::ExitedWithCode(1), "ERROR file " + dir + " doesn't exist");
}

TEST(PotionRepositoryFile, DemoPotionsLoadWithoutComplaint) {
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    PotionRepository repo;
    repo.load(runDir() + "/Data/Potions.txt", nullptr, 0.f);
    std::cout.rdbuf(old);
    EXPECT_EQ(captured.str(), "");
    EXPECT_GE(repo.potions.size(), 3u);
    bool healing = false, harming = false;
    for (const auto& [name, potion] : repo.potions) {
        EXPECT_NE(potion.target, TARGET_NONE) << name;
        healing = healing || potion.dmg < 0;
        harming = harming || potion.dmg > 0;
    }
    EXPECT_TRUE(healing && harming);
}

} // namespace
