#include "CharacterTestSupport.hpp"

#include <sstream>

namespace {

std::string saved(const Character& c) {
    std::ostringstream out;
    c.writeSave(out);
    return out.str();
}

// Reads a "Character name ..." line into a fresh character of that name.
Character readBack(const std::string& line) {
    std::istringstream in(line);
    std::string word, name;
    in >> word >> name;
    Character c(name);
    c.readDefinition(in);
    return c;
}

std::string withoutLine(const std::string& message) {
    size_t line = message.find(" line ");
    size_t colon = message.find(" : ");
    if (line == std::string::npos || colon == std::string::npos) return message;
    return message.substr(0, line) + message.substr(colon);
}

} // namespace

using CharacterFile = CharacterWorld;

TEST_F(CharacterFile, EveryKeywordRoundTrips) {
    Character c("Tomas");
    c.type = CharacterType::OCTOPUS;
    c.className = "Alchemist";
    c.personality = "Careful";
    c.level = 7;
    for (int s = 0; s < STAT_COUNT; ++s) c.stats[s] = 3 + s;
    c.stats[DMG] = 0;
    c.stats[DEF] = 0;
    c.stats[HP] = 9;
    c.stats[MP] = 10;
    c.inventory[item("Apple")] = 4;
    c.inventory[item("Key")] = 1;
    c.inventory[item("Bread")] = 0; // an empty entry is not written
    c.equipWeapon(item("Bow"), false);
    c.equipAccessory(1, item("Ring"), false);
    c.spellsByLevel[1]["Fire"] = 1;
    c.spellsByLevel[5]["Fire"] = 2;
    c.spellsByLevel[2]["Drain"] = 1;
    c.potions = {"Acid", "Tonic"};
    c.selectPotion("Tonic");
    c.objectsInSac = {"Rock", "Feather", "Rock"};
    c.photo = "TomasFace";
    c.hasPhoto = true;
    c.mayAttack = false;
    c.flying = true;
    c.flyingNoWings = true;
    c.noTransp = true;
    c.behaviour = Behaviour::DEFENSIVE;
    c.toughness = Toughness::BIGBIGBOSS;
    c.moveStyle = MoveStyle::QUEEN;
    c.eyeColor = sf::Color(1, 2, 3);
    c.color = sf::Color(4, 5, 6);
    c.skin = sf::Color(7, 8, 9);
    c.hair = sf::Color(10, 11, 12);
    c.objectToThrow = "Flask";
    c.body = "Golem";
    c.hat = "Goggles";
    c.mouth = 4;
    c.size = 1.25f;
    c.setTilePosition({5, 6});
    c.setFacing(WEST);
    c.fixedPosition = {2, 9};
    c.savedGameInitialised = true;

    std::string line = saved(c);
    EXPECT_EQ(line.rfind("Character Tomas TYPE ", 0), 0u);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    Character r = readBack(line);
    EXPECT_EQ(r.name, "Tomas");
    EXPECT_EQ(r.type, c.type);
    EXPECT_EQ(r.className, c.className);
    EXPECT_EQ(r.personality, c.personality);
    EXPECT_EQ(r.level, 7);
    EXPECT_EQ(r.stats, c.stats);
    std::map<int, int> expectedItems{{item("Apple"), 4}, {item("Key"), 1}};
    EXPECT_EQ(r.inventory, expectedItems);
    EXPECT_EQ(r.weapon, item("Bow"));
    EXPECT_EQ(r.accessory1, item("Ring"));
    EXPECT_EQ(r.accessory2, NO_ITEM);
    EXPECT_EQ(r.spellsByLevel, c.spellsByLevel);
    EXPECT_EQ(r.potions, c.potions);
    EXPECT_EQ(r.selectedPotion, "Tonic");
    EXPECT_EQ(r.potionColor, sf::Color(230, 40, 60));
    EXPECT_EQ(r.objectsInSac, c.objectsInSac);
    EXPECT_EQ(r.photo, "TomasFace");
    EXPECT_TRUE(r.hasPhoto);
    EXPECT_FALSE(r.mayAttack);
    EXPECT_TRUE(r.flying);
    EXPECT_TRUE(r.flyingNoWings);
    EXPECT_TRUE(r.noTransp);
    EXPECT_EQ(r.behaviour, Behaviour::DEFENSIVE);
    EXPECT_EQ(r.toughness, Toughness::BIGBIGBOSS);
    EXPECT_EQ(r.moveStyle, MoveStyle::QUEEN);
    EXPECT_EQ(r.eyeColor, c.eyeColor);
    EXPECT_EQ(r.color, c.color);
    EXPECT_EQ(r.skin, c.skin);
    EXPECT_EQ(r.hair, c.hair);
    EXPECT_EQ(r.objectToThrow, "Flask");
    EXPECT_EQ(r.body, "Golem");
    EXPECT_EQ(r.hat, "Goggles");
    EXPECT_EQ(r.mouth, 4);
    EXPECT_FLOAT_EQ(r.size, 1.25f);
    EXPECT_EQ(r.tile, Point(5, 6));
    EXPECT_EQ(r.pixel, Point(600, 720));
    EXPECT_EQ(r.facing, WEST);
    EXPECT_EQ(r.fixedPosition, Point(2, 9));
    EXPECT_TRUE(r.savedGameInitialised);
    EXPECT_EQ(saved(r), line);

    // the plain flying flag and an unset fixed position
    c.flyingNoWings = false;
    c.fixedPosition = {-1, -1};
    c.hasPhoto = false;
    Character r2 = readBack(saved(c));
    EXPECT_TRUE(r2.flying);
    EXPECT_FALSE(r2.flyingNoWings);
    EXPECT_EQ(r2.fixedPosition, Point(-1, -1));
    EXPECT_FALSE(r2.hasPhoto);
}

TEST_F(CharacterFile, FullyEquippedSaveAndLoadKeepsEveryStat) {
    Character c("Ravi");
    c.className = "Warrior";
    c.stats[MAXHP] = 40;
    c.stats[HP] = 40;
    c.stats[MAXMP] = 6;
    c.stats[MP] = 6;
    c.stats[STR] = 8;
    c.stats[WIS] = 1;
    c.equipWeapon(item("Sword"), false);
    c.equipAccessory(1, item("Amulet"), false); // HP +3 while HP is full: capped at MAXHP
    c.equipAccessory(2, item("Ring"), false);   // MAXHP +5 after
    c.stats[HP] = c.stats[MAXHP];              // full again: 45 of 45
    c.stats[MP] = c.stats[MAXMP];
    std::array<int, STAT_COUNT> before = c.stats;
    Character r = readBack(saved(c));
    EXPECT_EQ(r.stats, before);
    // and the base values went into the file
    EXPECT_NE(saved(c).find(" STR 8 "), std::string::npos);
    EXPECT_NE(saved(c).find(" MAXHP 40 "), std::string::npos);
    // reading the same line over the loaded character changes nothing either
    std::istringstream again(saved(r).substr(std::string("Character Ravi").size()));
    r.readDefinition(again);
    EXPECT_EQ(r.stats, before);
    // unequipping after the load gives back the base stats
    r.equipWeapon(NO_ITEM, false);
    r.equipAccessory(1, NO_ITEM, false);
    r.equipAccessory(2, NO_ITEM, false);
    EXPECT_EQ(r.stats[STR], 8);
    EXPECT_EQ(r.stats[MAXHP], 40);
    EXPECT_EQ(r.stats[WIS], 1);
}

TEST_F(CharacterFile, SavedLineOverTheDefinitionKeepsWhatWasUsedUp) {
    // The game's load reads the saved line over the character the definition file made.
    const std::string definition = "TYPE NORMAL ITEMS 2 Apple 3 Key 1 OBJINSAC 1 Rock";
    Character played("Ravi");
    std::istringstream first(definition);
    played.readDefinition(first);
    played.addItemCount(item("Apple"), -3);
    played.addItemCount(item("Key"), -1);
    played.objectsInSac.clear();
    std::string line = saved(played);

    Character loaded("Ravi");
    std::istringstream again(definition);
    loaded.readDefinition(again);
    std::istringstream rest(line.substr(std::string("Character Ravi").size()));
    loaded.readDefinition(rest);
    EXPECT_TRUE(loaded.inventory.empty());
    EXPECT_TRUE(loaded.objectsInSac.empty());
}

TEST_F(CharacterFile, DefinitionsGiveBaseStatsUnderEquipment) {
    Character c("Guard1");
    std::istringstream first("STR 5 WEAPON Sword");
    c.readDefinition(first);
    EXPECT_EQ(c.stats[STR], 7);
    std::istringstream second("STR 10");
    c.readDefinition(second);
    EXPECT_EQ(c.stats[STR], 12); // the sword still adds its 2
    std::istringstream third("WEAPON NONE");
    c.readDefinition(third);
    EXPECT_EQ(c.stats[STR], 10);
    std::istringstream magic("MAGIC(3) Fire 2 MAGIC Drain 1 TYPE 9 TYPE SLIME");
    c.readDefinition(magic);
    EXPECT_EQ(c.spellsByLevel[3]["Fire"], 2);
    EXPECT_EQ(c.spellsByLevel[1]["Drain"], 1);
    EXPECT_EQ(c.type, CharacterType::SLIME);
    std::istringstream flags("NOATTACK BEH MODERATE TOG MEDDIUM HP 99");
    c.readDefinition(flags);
    EXPECT_FALSE(c.mayAttack);
    EXPECT_EQ(c.behaviour, Behaviour::MODERATE);
    EXPECT_EQ(c.toughness, Toughness::MEDDIUM);
    EXPECT_EQ(c.stats[HP], c.stats[MAXHP]); // HP never above its maximum
}

TEST_F(CharacterFile, BadWordsAreFatal) {
    Character c("X");
    auto read = [&](const std::string& text) {
        return withoutLine(fatalMessage([&] {
            std::istringstream in(text);
            c.readDefinition(in);
        }));
    };
    EXPECT_EQ(read("COLOUR 1 2 3"), "ASSERT file Character : COLOUR");
    EXPECT_EQ(read("TYPE 18"), "ASSERT file Character : 18");
    EXPECT_EQ(read("TYPE -1"), "ASSERT file Character : -1");
    EXPECT_EQ(read("TYPE WIZARD"), "ASSERT file Character : WIZARD");
    EXPECT_EQ(read("WEAPON Spoon"), "ASSERT file Character : Spoon");
    EXPECT_EQ(read("ITEMS 1 Apple many"), "ASSERT file Character : many");
    EXPECT_EQ(read("BEH ANGRY"), "ASSERT file Character : ANGRY");
    EXPECT_EQ(read("TOG MEDIUM"), "ASSERT file Character : MEDIUM");
    EXPECT_EQ(read("MOVESTYLE HORSE"), "ASSERT file Character : HORSE");
    EXPECT_EQ(read("STR"), "ASSERT file Character : missing number");
    EXPECT_EQ(read("FACING 4"), "ASSERT file Character : 4");
    EXPECT_EQ(read("SIZE 0"), "ASSERT file Character : 0");
    EXPECT_EQ(read("DMG 4"), "ASSERT file Character : DMG");
    EXPECT_EQ(read("STR 3"), "");
}
