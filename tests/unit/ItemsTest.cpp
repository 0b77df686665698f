#include "battle/Items.hpp"
#include "support/TestSupport.hpp"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

Item readItem(const std::string& line) {
    Item item;
    std::istringstream in(line);
    item.read(in);
    return item;
}

std::string writeFile(const std::string& dir, const std::string& name, const std::string& text) {
    std::string path = dir + "/" + name;
    std::ofstream(path) << text;
    return path;
}

bool matches(const std::string& text, const std::string& pattern) {
    return std::regex_match(text, std::regex(pattern));
}

TEST(ItemsRead, EveryKeywordFillsItsField) {
    Item sword = readItem("Sword WEAPON DMG 5 STR 2 ALLOWED Warrior ALLOWED Soldier RANGE 3 CLS Wand "
                          "SIZE Large UNIQUE XP 1.5 SHL -0.5");
    EXPECT_EQ(sword.name, "Sword");
    EXPECT_EQ(sword.getName(), "Sword");
    EXPECT_EQ(sword.type, Item::WEAPON);
    EXPECT_FLOAT_EQ(sword.bonus(DMG), 5);
    EXPECT_FLOAT_EQ(sword.bonus(STR), 2);
    EXPECT_FLOAT_EQ(sword.bonus(XP), 1.5f);
    EXPECT_FLOAT_EQ(sword.bonus(SHL), -0.5f);
    EXPECT_FLOAT_EQ(sword.bonus(DEX), 0);
    EXPECT_EQ(sword.allowedClasses, (std::set<std::string>{"Soldier", "Warrior"}));
    EXPECT_EQ(sword.range, 3);
    EXPECT_EQ(sword.classWord, "Wand");
    EXPECT_EQ(sword.size, Item::LARGE);
    EXPECT_TRUE(sword.unique);

    // Every stat name is a bonus keyword.
    std::string line = "Ring ACCESSORY";
    for (int s = 0; s < STAT_COUNT; ++s) line += " " + statName(Stat(s)) + " " + std::to_string(s + 1);
    Item ring = readItem(line);
    for (int s = 0; s < STAT_COUNT; ++s) EXPECT_FLOAT_EQ(ring.bonuses[s], float(s + 1)) << s;
}

TEST(ItemsRead, DefaultsAndTypeWords) {
    Item plain = readItem("Stick WEAPON");
    EXPECT_FLOAT_EQ(plain.bonus(XP), 1.0f);
    EXPECT_EQ(plain.range, 1);
    EXPECT_EQ(plain.size, Item::SMALL);
    EXPECT_FALSE(plain.unique);
    EXPECT_TRUE(plain.allowedClasses.empty());
    EXPECT_EQ(readItem("Ring ACCESSORY").type, Item::ACCESSORY);
    EXPECT_EQ(readItem("Bread USABLE  HP 3  ").type, Item::USABLE);
    EXPECT_EQ(readItem("Key SPECIAL").type, Item::SPECIAL);
    EXPECT_EQ(readItem("Thing GADGET").type, Item::WEAPON);
    EXPECT_EQ(readItem("Cloak ACCESSORY SIZE mid").size, Item::MID);
    EXPECT_EQ(readItem("Cloak ACCESSORY SIZE SMALL").size, Item::SMALL);
}

TEST(ItemsRead, BadWordsAreFatal) {
    EXPECT_FATAL(readItem("Axe WEAPON SIZE Huge"), "ASSERT file Items line 45 : Huge");
    EXPECT_FATAL(readItem("Axe WEAPON SHARP 3"), "ASSERT file Items line 51 : SHARP");
    EXPECT_FATAL(readItem("Axe WEAPON dmg 3"), "ASSERT file Items line 51 : dmg");
    // A value that is not a number stops at once, naming it; a missing one names its keyword.
    EXPECT_TRUE(matches(fatalMessage([] { readItem("Axe WEAPON DMG sharp STR 2"); }),
                        "ASSERT file Items line [0-9]+ : sharp"));
    EXPECT_TRUE(matches(fatalMessage([] { readItem("Axe WEAPON RANGE 1.5"); }),
                        "ASSERT file Items line [0-9]+ : 1.5"));
    EXPECT_TRUE(matches(fatalMessage([] { readItem("Axe WEAPON DMG 5abc"); }),
                        "ASSERT file Items line [0-9]+ : 5abc"));
    EXPECT_TRUE(matches(fatalMessage([] { readItem("Axe WEAPON DMG"); }),
                        "ASSERT file Items line [0-9]+ : DMG"));
    EXPECT_TRUE(matches(fatalMessage([] { readItem("Axe WEAPON ALLOWED   "); }),
                        "ASSERT file Items line [0-9]+ : ALLOWED"));
    EXPECT_TRUE(matches(fatalMessage([] { readItem("   "); }), "ASSERT file Items line [0-9]+ : ITEM"));
}

TEST(ItemsRules, AllowedClassesAndHitSounds) {
    Item open = readItem("Apple USABLE HP 2");
    EXPECT_TRUE(open.isAllowed("Warrior"));
    EXPECT_TRUE(open.isAllowed(""));
    Item wand = readItem("Wand WEAPON ALLOWED Wizard CLS Wand");
    EXPECT_TRUE(wand.isAllowed("Wizard"));
    EXPECT_FALSE(wand.isAllowed("wizard"));
    EXPECT_FALSE(wand.isAllowed("Warrior"));
    EXPECT_EQ(wand.hitSound(), "WandSlash");
    EXPECT_EQ(readItem("Gun WEAPON CLS Blaster").hitSound(), "laser");
    EXPECT_EQ(readItem("Club WEAPON CLS wood").hitSound(), "ObjectHit");
    EXPECT_EQ(readItem("Club WEAPON CLS Wood").hitSound(), "MetalSlash");
    EXPECT_EQ(readItem("Knife WEAPON").hitSound(), "MetalSlash");
}

TEST(ItemsRules, DescribeBonuses) {
    EXPECT_EQ(readItem("Sword WEAPON DMG 5 STR 2").describeBonuses(), "DMG:5 STR+2");
    EXPECT_EQ(readItem("Shield ACCESSORY DEF 1.25 MOB 0.5").describeBonuses(), "DEF:1.25 MOB+0.5");
    EXPECT_EQ(readItem("Stick WEAPON").describeBonuses(), "");
    EXPECT_EQ(readItem("Book USABLE XP 1.5").describeBonuses(), "XP+1.5");
    EXPECT_EQ(readItem("Cursed ACCESSORY STR -2 DEX 1").describeBonuses(), "DEX+1");
    EXPECT_EQ(readItem("Star SPECIAL STR 1 DEX 1 WIS 1 SPD 1 AMR 1 MAXHP 1 MAXMP 1 SHL 1").describeBonuses(),
              " ALL +1");
    // The last bonus written decides the figure; below 1 it has no sign.
    EXPECT_EQ(readItem("Dust SPECIAL STR 3 DEX 1 WIS 1 SPD 1 AMR 1 MAXHP 1 MAXMP 1 SHL 0.5").describeBonuses(),
              " ALL 0");
    // Any of those eight at 0 spoils "ALL"; HP, MP, DMG, DEF, MOB and XP do not.
    EXPECT_EQ(readItem("Star SPECIAL STR 1 DEX 1 WIS 1 SPD 1 AMR 1 MAXHP 1 MAXMP 1").describeBonuses(),
              "STR+1 DEX+1 WIS+1 SPD+1 AMR+1 MAXHP+1 MAXMP+1");
}

TEST(ItemsCatalogue, IndexAtAndScore) {
    ItemList list;
    list.items.push_back(readItem("Sword WEAPON DMG 5 STR 2"));
    list.items.push_back(readItem("Odd ACCESSORY STR 1.9 DEX -0.9"));
    list.items.push_back(readItem("Sword2 WEAPON"));
    EXPECT_EQ(list.indexOf("Sword"), 0);
    EXPECT_EQ(list.indexOf("Sword2"), 2);
    EXPECT_EQ(list.indexOf("sword"), NO_ITEM);
    EXPECT_EQ(list.at(1).name, "Odd");
    EXPECT_FATAL(list.at(3), "ASSERT file Items line 179 : 3");
    EXPECT_FATAL(list.at(-1), "ASSERT file Items line 179 : -1");
    EXPECT_FATAL(list.at(NO_ITEM), "ASSERT file Items line 179 : 2147483647");
    EXPECT_EQ(Item::score(list, 0), 8); // 5 + 2 + the XP factor
    EXPECT_EQ(Item::score(list, 1), 2);
    EXPECT_EQ(Item::score(list, NO_ITEM), 0);
}

TEST(ItemsFile, LoadsInFileOrderSkippingCommentsAndBlanks) {
    std::string dir = scratchDir("items_file");
    std::string path = writeFile(dir, "Items.txt",
                                 "# the demo's items\n"
                                 "ITEM Sword WEAPON DMG 5 ALLOWED Warrior ALLOWED Soldier RANGE 1\n"
                                 "\n"
                                 "   \n"
                                 "#ITEM Old WEAPON\n"
                                 "ITEM Bread USABLE HP 10   \n"
                                 "ITEM Key SPECIAL UNIQUE");
    ItemList list;
    list.load(path, nullptr, 0.5f);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0).name, "Sword");
    EXPECT_EQ(list.at(0).allowedClasses.size(), 2u);
    EXPECT_FLOAT_EQ(list.at(1).bonus(HP), 10);
    EXPECT_TRUE(list.at(2).unique);

    // A second file appends.
    std::string more = writeFile(dir, "More.txt", "ITEM Ring ACCESSORY WIS 2\n");
    list.load(more, nullptr, 0.f);
    EXPECT_EQ(list.indexOf("Ring"), 3);
}

TEST(ItemsFile, FaultsAreFatal) {
    std::string dir = scratchDir("items_faults");
    ItemList list;
    EXPECT_FATAL(list.load(dir + "/Nothing.txt", nullptr, 0.f),
                 "ASSERT file Items line 73 : " + dir + "/Nothing.txt");
    std::string wrong = writeFile(dir, "Wrong.txt", "ITEM Sword WEAPON\nITEMS Bread USABLE\n");
    EXPECT_FATAL(list.load(wrong, nullptr, 0.f), "ASSERT file Items line 104 : ITEMS (" + wrong + " line 2)");
    std::string twice = writeFile(dir, "Twice.txt", "ITEM Sword WEAPON\nITEM Sword ACCESSORY\n");
    list.items.clear();
    EXPECT_FATAL(list.load(twice, nullptr, 0.f), "ASSERT file Items line 111 : Sword (" + twice + " line 2)");
    // A value that is not a number used to spin or end with an empty detail.
    std::string bad = writeFile(dir, "Bad.txt", "ITEM Bread USABLE HP ten\nITEM Cake USABLE HP 2\n");
    list.items.clear();
    EXPECT_TRUE(matches(fatalMessage([&] { list.load(bad, nullptr, 0.f); }),
                        "ASSERT file Items line [0-9]+ : ten \\(" + bad + " line 1\\)"));
    std::string cut = writeFile(dir, "Cut.txt", "ITEM Bread USABLE HP 2 MP\n");
    list.items.clear();
    EXPECT_TRUE(matches(fatalMessage([&] { list.load(cut, nullptr, 0.f); }),
                        "ASSERT file Items line [0-9]+ : MP \\(" + cut + " line 1\\)"));
    // A bare "ITEM" used to add a nameless item that nothing could refer to.
    std::string bare = writeFile(dir, "Bare.txt", "ITEM Bread USABLE HP 2\nITEM   \n");
    list.items.clear();
    EXPECT_TRUE(matches(fatalMessage([&] { list.load(bare, nullptr, 0.f); }),
                        "ASSERT file Items line [0-9]+ : ITEM \\(" + bare + " line 2\\)"));
}

TEST(ItemsFileDeathTest, UnreadableFileStopsWithErrorFile) {
    std::string dir = scratchDir("items_unreadable");
    ItemList list;
    EXPECT_EXIT(
        {
            std::freopen("/dev/null", "r", stdin);
            dup2(2, 1);
            list.load(dir, nullptr, 0.f);
        },
        testing::ExitedWithCode(1), "ERROR file " + dir + " doesn't exist");
}

TEST(ItemsFile, DemoCatalogueLoads) {
    ItemList list;
    list.load(runDir() + "/Data/Items.txt", nullptr, 0.f);
    std::set<int> types;
    for (const Item& item : list) types.insert(item.type);
    EXPECT_EQ(types, (std::set<int>{Item::WEAPON, Item::ACCESSORY, Item::USABLE, Item::SPECIAL}));
    // Every item shows its picture of the Items folder, keyed by its name.
    for (const Item& item : list)
        EXPECT_TRUE(std::filesystem::exists(runDir() + "/Resources/Items/" + item.name + ".png")) << item.name;
}

} // namespace
