#include "battle/Magic.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/Image.hpp>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>

namespace {

Magic readMagic(const std::string& line, Magic m = Magic()) {
    std::istringstream in(line);
    m.read(in);
    return m;
}

// The standard output written while fn runs.
template <class F>
std::string coutOf(F fn) {
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    fn();
    std::cout.rdbuf(old);
    return captured.str();
}

TEST(MagicNames, KindsAndTargets) {
    EXPECT_EQ(magicKindName(0), "Tornado");
    EXPECT_EQ(magicKindName(12), "Flame");
    EXPECT_EQ(magicKindName(32), "Globe199");
    EXPECT_EQ(magicKindName(2), "BadMagic");
    EXPECT_EQ(magicKindName(33), "BadMagic");
    EXPECT_EQ(magicKindName(-1), "BadMagic");
    EXPECT_EQ(magicTargetName(3), "enemyRobot");
    EXPECT_EQ(magicTargetName(6), "none");
    EXPECT_EQ(magicTargetName(7), "BadTarget");
    for (int k = 0; k <= 32; ++k) EXPECT_EQ(magicKindFromName(magicKindName(k)), k);
    for (int t = 0; t <= 6; ++t) EXPECT_EQ(magicTargetFromName(magicTargetName(t)), t);
}

TEST(MagicRead, EveryKeyword) {
    Magic m = readMagic("KIND Missle TARGET enemyrobot LEVELS 2 COLOR(1) 10 20 30 COLORMODIF(2) 1 2 3 "
                        "DMG(1) 1.5 MPDMG(2) 0.25 MP(1) 4 NUMEXPLOSIONS(2) 7 ATTR(1) STR 1.2 "
                        "PICTUREBASE Rocket 3 COLORIZE 5 6 7 MINRANGE(1) 2 MAXRANGE(2) 6 RADIUS(1) 1 "
                        "ELEMENT Fire");
    EXPECT_EQ(m.kind, MAGIC_MISSLE);
    EXPECT_EQ(m.target, TARGET_ENEMY_ROBOT);
    EXPECT_EQ(m.levels, 2);
    EXPECT_EQ(m.color, (std::vector<sf::Color>{{10, 20, 30, 255}, {0, 0, 0, 255}}));
    EXPECT_EQ(m.colorModif, (std::vector<sf::Color>{{0, 0, 0, 255}, {1, 2, 3, 255}}));
    EXPECT_EQ(m.dmg, (std::vector<float>{1.5f, 0.0f}));
    EXPECT_EQ(m.mpDmg, (std::vector<float>{0.0f, 0.25f}));
    EXPECT_EQ(m.mp, (std::vector<int>{4, 0}));
    EXPECT_EQ(m.numExplosions, (std::vector<int>{0, 7}));
    EXPECT_EQ(m.minRange, (std::vector<int>{2, 1}));
    EXPECT_EQ(m.maxRange, (std::vector<int>{1, 6}));
    EXPECT_EQ(m.radius, (std::vector<int>{1}));
    ASSERT_EQ(m.attr.size(), 1u);
    EXPECT_EQ(m.attr[0], (StatChanges{{STR, 1.2f}}));
    EXPECT_EQ(m.pictureBase, "Rocket");
    EXPECT_EQ(m.pictureCount, 3);
    EXPECT_EQ(m.colorize, sf::Color(5, 6, 7, 255));
    EXPECT_EQ(m.element, "Fire");
    EXPECT_EQ(m.levelValue(1), 4);
}

TEST(MagicRead, LevelsCutsAndGrowsWithFillValues) {
    Magic cut = readMagic("DMG(5) 40 LEVELS 3");
    EXPECT_EQ(cut.dmg.size(), 3u);
    Magic grown = readMagic("LEVELS 3 DMG(5) 40");
    EXPECT_EQ(grown.dmg, (std::vector<float>{0, 0, 0, 0, 40}));
    EXPECT_EQ(grown.minRange, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(grown.maxRange, (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(grown.color.size(), 3u);
    EXPECT_EQ(grown.color[2], sf::Color(0, 0, 0, 255));
    EXPECT_EQ(grown.mp.size(), 3u);
    EXPECT_EQ(grown.numExplosions.size(), 3u);
    EXPECT_TRUE(grown.radius.empty());
    EXPECT_TRUE(grown.attr.empty());
    EXPECT_EQ(readMagic("RADIUS(2) 1").radius, (std::vector<int>{0, 1}));
    // A negative count empties the vectors instead of failing.
    Magic negative = readMagic("LEVELS 2 LEVELS -4");
    EXPECT_EQ(negative.levels, -4);
    EXPECT_TRUE(negative.dmg.empty());
}

TEST(MagicRead, CaseRulesColoursAndAttributes) {
    EXPECT_EQ(readMagic("KIND flame").kind, 12);
    EXPECT_EQ(readMagic("KIND FLAME").kind, 12);
    EXPECT_EQ(readMagic("KIND BadMagic").kind, 2);
    EXPECT_EQ(readMagic("KIND Fireball").kind, 33);
    EXPECT_EQ(readMagic("TARGET ALLY").target, TARGET_ALLY);
    EXPECT_EQ(readMagic("TARGET Ally TARGET nobody").target, TARGET_ALLY);
    EXPECT_EQ(readMagic("COLOR(1) 300 0 0").color[0], sf::Color(44, 0, 0, 255));

    Magic m = readMagic("ATTR(2) DEX 1.5 ATTR(2) SPD -2");
    EXPECT_TRUE(m.levelAttributes(1).empty());
    EXPECT_EQ(m.levelAttributes(2), (StatChanges{{DEX, 1.5f}, {SPD, -2.0f}}));
    EXPECT_TRUE(m.levelAttributes(3).empty());
    EXPECT_TRUE(m.levelAttributes(0).empty());
}

TEST(MagicRead, UnknownWordsAreReportedAndSkippedAlone) {
    Magic m;
    std::string out = coutOf([&] { m = readMagic("DAMAGE 5 LEVELS 1 kind Cure"); });
    EXPECT_EQ(out, "BAD keyword DAMAGE (magicrep)\nBAD keyword 5 (magicrep)\n"
                   "BAD keyword kind (magicrep)\nBAD keyword Cure (magicrep)\n");
    EXPECT_EQ(m.levels, 1);
    EXPECT_EQ(m.kind, 33);
    // A level that is not a whole number from 1 is reported; its values are dropped with it.
    out = coutOf([&] { m = readMagic("DMG(x) 5 COLOR(0) 1 2 3 ATTR(-1) STR 2 MP(2) 9"); });
    EXPECT_EQ(out, "BAD keyword DMG(x) (magicrep)\nBAD keyword COLOR(0) (magicrep)\n"
                   "BAD keyword ATTR(-1) (magicrep)\n");
    EXPECT_TRUE(m.dmg.empty() && m.color.empty() && m.attr.empty());
    EXPECT_EQ(m.mp, (std::vector<int>{0, 9}));
    out = coutOf([&] { m = readMagic("DMG(99999999999) 5"); });
    EXPECT_EQ(out, "BAD keyword DMG(99999999999) (magicrep)\n");
    // A stat name that names no stat is dropped with its value, never stored as stat 14.
    out = coutOf([&] { m = readMagic("ATTR(1) LUCK 2 ATTR(1) WIS 3"); });
    EXPECT_EQ(out, "BAD keyword LUCK (magicrep)\n");
    EXPECT_EQ(m.levelAttributes(1), (StatChanges{{WIS, 3.0f}}));
}

TEST(MagicRead, BadNumbersAreFatal) {
    auto fatalOf = [](const std::string& line) { return fatalMessage([&] { readMagic(line); }); };
    EXPECT_TRUE(std::regex_match(fatalOf("DMG(1) lots"), std::regex("ASSERT file Magic line [0-9]+ : lots")));
    EXPECT_TRUE(std::regex_match(fatalOf("LEVELS"), std::regex("ASSERT file Magic line [0-9]+ : LEVELS")));
    EXPECT_TRUE(std::regex_match(fatalOf("COLOR(1) 1 2"), std::regex("ASSERT file Magic line [0-9]+ : COLOR\\(1\\)")));
}

TEST(MagicLevels, LevelColorDrawsOnlyForNonZeroRanges) {
    Magic m = readMagic("COLOR(1) 100 100 100 COLORMODIF(1) 0 0 10 COLOR(2) 250 250 250 COLORMODIF(2) 50 50 50");
    std::srand(5);
    int expectedBlue = 100 + std::rand() % 10;
    int next = std::rand();
    std::srand(5);
    EXPECT_EQ(m.levelColor(1), sf::Color(100, 100, expectedBlue, 255));
    EXPECT_EQ(std::rand(), next); // exactly one draw
    // Channels saturate and the result is opaque; the draws go blue, green, red.
    std::srand(9);
    int b = std::rand() % 50, g = std::rand() % 50, r = std::rand() % 50;
    std::srand(9);
    EXPECT_EQ(m.levelColor(2), sf::Color(std::min(255, 250 + r), std::min(255, 250 + g), std::min(255, 250 + b), 255));
    // A level the file never gave: fill values, no draw.
    EXPECT_EQ(m.levelColor(7), sf::Color(0, 0, 0, 255));
    EXPECT_FLOAT_EQ(m.dmgAt(7), 0.0f);
    EXPECT_EQ(m.minRangeAt(0), 1);
    EXPECT_EQ(m.radiusAt(3), 0);
}

TEST(MagicRepositoryFile, LoadsLinesIntoRecordsByName) {
    std::string dir = scratchDir("magic_file");
    std::string path = dir + "/Magic.txt";
    std::ofstream(path) << "# spells\n"
                           "Fire KIND Flame TARGET enemy LEVELS 2 DMG(1) 1.5\n"
                           "\n"
                           "#old KIND Cure\n"
                           "Heal KIND Cure TARGET ally LEVELS 1 DMG(1) -2   \n"
                           "Fire DMG(2) 3 RADIUS(2) 1";
    MagicRepository repo;
    repo.load(path, nullptr, 0.5f);
    EXPECT_EQ(repo.spells.size(), 2u);
    EXPECT_FALSE(repo.contains("#old"));
    const Magic& fire = repo.get("Fire");
    EXPECT_EQ(fire.kind, MAGIC_FLAME);
    EXPECT_EQ(fire.dmg, (std::vector<float>{1.5f, 3.0f}));
    EXPECT_EQ(fire.radius, (std::vector<int>{0, 1}));
    EXPECT_EQ(repo.get("Heal").target, TARGET_ALLY);
    EXPECT_FATAL(repo.get("Ice"), "ASSERT file Magic line 153 : Ice");
    EXPECT_FATAL(repo.load(dir + "/Missing.txt", nullptr, 0.f), "ASSERT file Magic line 161 : " + dir + "/Missing.txt");
}

TEST(MagicRepositoryFileDeathTest, UnreadableFileStopsWithErrorFile) {
    std::string dir = scratchDir("magic_unreadable");
    MagicRepository repo;
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "r", stdin);
            dup2(2, 1);
            repo.load(dir, nullptr, 0.f);
        },
        testing::ExitedWithCode(1), "ERROR file " + dir + " doesn't exist");
}

TEST(MagicRepositoryFile, DemoSpellsLoadWithoutComplaint) {
    MagicRepository repo;
    std::string out = coutOf([&] { repo.load(runDir() + "/Data/Magic.txt", nullptr, 0.f); });
    EXPECT_EQ(out, "");
    EXPECT_GE(repo.spells.size(), 6u);
    std::set<int> kinds;
    for (const auto& [name, spell] : repo.spells) {
        kinds.insert(spell.kind);
        EXPECT_GE(spell.levels, 1) << name;
        EXPECT_NE(spell.target, TARGET_NONE) << name;
        // LEVELS does not size the radius: every level a battle may cast must give one.
        EXPECT_EQ(spell.radius.size(), size_t(spell.levels)) << name;
        for (int n : spell.numExplosions) EXPECT_GE(n, 1) << name;
        // These effects always lay falling objects, drawn from base + 1 .. base + count: without
        // a base they ask for a picture named "1" and stop the game at the first cast.
        const bool falls = spell.kind == MAGIC_TORNADO || spell.kind == MAGIC_POLOIAN ||
                           spell.kind == MAGIC_YEOJ || (spell.kind == MAGIC_INFERNALV && spell.levels >= 2);
        EXPECT_TRUE(!falls || !spell.pictureBase.empty()) << name;
        // The effects draw the bare base picture or base + 1 .. base + count.
        if (spell.pictureBase.empty()) continue;
        EXPECT_GE(spell.pictureCount, 1) << name;
        std::string stem = runDir() + "/Resources/Magic/" + spell.pictureBase;
        EXPECT_TRUE(std::filesystem::exists(stem + ".png")) << name;
        for (int n = 1; n <= spell.pictureCount; ++n)
            EXPECT_TRUE(std::filesystem::exists(stem + std::to_string(n) + ".png")) << name << n;
    }
    EXPECT_GE(kinds.size(), 5u);
}

// The summoned snake's strike is drawn from its attack pictures as they are, so the head it
// strikes with must lie inside each of them: nothing opaque on the edges, the eye drawn, and the
// topmost opaque part of the figure the head around that eye.
TEST(MagicPictures, TheSnakesStrikeKeepsItsHeadInsideEveryPicture) {
    for (int f = 1; f <= 8; ++f) {
        SCOPED_TRACE(f);
        sf::Image frame;
        ASSERT_TRUE(frame.loadFromFile(runDir() + "/Resources/Animations/YellowSnakeAttackF" + std::to_string(f) + ".png"));
        const sf::Vector2u size = frame.getSize();
        ASSERT_EQ(size, sf::Vector2u(200, 200));
        int top = -1, eyeTop = -1, onEdge = 0;
        for (unsigned y = 0; y < size.y; ++y)
            for (unsigned x = 0; x < size.x; ++x) {
                const sf::Color c = frame.getPixel(x, y);
                if (c.a == 0) continue;
                if (top < 0) top = static_cast<int>(y);
                if (eyeTop < 0 && c == sf::Color(20, 20, 20)) eyeTop = static_cast<int>(y);
                onEdge += x == 0 || y == 0 || x + 1 == size.x || y + 1 == size.y;
            }
        EXPECT_EQ(onEdge, 0) << "opaque pixels on the picture's edges";
        ASSERT_GE(eyeTop, 0) << "no eye: the head is outside the picture";
        EXPECT_LE(eyeTop - top, 20) << "the topmost part is not the head";
    }
}

} // namespace
