#include "CharacterTestSupport.hpp"

#include "game/Game.hpp"

#include <filesystem>
#include <fstream>
#include <memory>

namespace {

std::string writeFile(const std::string& dir, const std::string& name, const std::string& text) {
    std::string path = dir + "/" + name;
    std::ofstream(path) << text;
    return path;
}

} // namespace

using PeopleRoster = CharacterWorld;

TEST_F(PeopleRoster, CreatedEmptyWithTheLeaderInTheParty) {
    GlobalsGuard globals;
    people = nullptr;
    People* p = createPeople();
    EXPECT_EQ(createPeople(), p); // once
    EXPECT_EQ(p->mainCharacterIndex, 0);
    EXPECT_TRUE(p->characters.empty());
    EXPECT_EQ(p->party, std::set<int>{0});
    EXPECT_TRUE(p->reserve.empty());
    EXPECT_TRUE(p->savedParty.empty());
    delete p;
}

TEST_F(PeopleRoster, LookupsAndTheirMarkers) {
    roster.characters = {Character("Ana"), Character("Bo"), Character("Ana")};
    EXPECT_EQ(roster.indexOf("Ana"), 0);
    EXPECT_EQ(roster.indexOf("Bo"), 1);
    EXPECT_EQ(roster.indexOf("ana"), 999999);
    EXPECT_EQ(roster.indexOf(""), 999999);
    EXPECT_EQ(roster.at(1).name, "Bo");
    EXPECT_EQ(fatalMessage([&] { roster.at(3); }).rfind("ASSERT file People line ", 0), 0u);
    EXPECT_NE(fatalMessage([&] { roster.at(-1); }).find(" : -1"), std::string::npos);
    EXPECT_NE(fatalMessage([&] { roster.at(NO_INDEX); }).find(" : 999999"), std::string::npos);
    roster.setMainCharacter("Bo");
    EXPECT_EQ(roster.mainCharacter().name, "Bo");
    roster.setMainCharacter("Nobody");
    EXPECT_EQ(roster.mainCharacterIndex, 999999);
    EXPECT_NE(fatalMessage([&] { roster.mainCharacter(); }).find(" : 999999"), std::string::npos);
}

TEST_F(PeopleRoster, CharactersStayPutWhileTheRosterGrows) {
    // A scene's update holds the leader by reference while a door loads a planet's characters.
    roster.characters.emplace_back("Leader");
    Character& leader = roster.at(0);
    for (int i = 0; i < 2000; ++i) roster.characters.emplace_back("Planet" + std::to_string(i));
    EXPECT_EQ(&roster.at(0), &leader);
    EXPECT_EQ(leader.name, "Leader");
}

TEST_F(PeopleRoster, PartyAndReserveMovesWithTheLimit) {
    for (int i = 0; i < 30; ++i) roster.characters.emplace_back("P" + std::to_string(i));
    roster.party.clear();
    for (int i = 0; i < 11; ++i) roster.insertPartyIndex(i);
    roster.reserve = {20};
    EXPECT_TRUE(roster.isMember(5));
    EXPECT_TRUE(roster.isMember(20));
    EXPECT_FALSE(roster.isMember(25));
    roster.moveToParty(20, false); // the party is full: nothing
    EXPECT_EQ(roster.reserve, std::set<int>{20});
    roster.moveToParty(20, true);
    EXPECT_EQ(roster.party.size(), 12u);
    EXPECT_TRUE(roster.reserve.empty());
    EXPECT_EQ(fatalMessage([&] { roster.moveToParty(21, true); }), "ASSERT file People line 650 : 21");
    EXPECT_EQ(fatalMessage([&] { roster.moveToReserve(25, false); }), "ASSERT file People line 637 : 25");
    for (int i = 0; i < 11; ++i) roster.moveToReserve(i, false);
    EXPECT_EQ(roster.reserve.size(), 11u);
    roster.moveToReserve(11, false); // the reserve is full: nothing, not even the check
    roster.moveToReserve(29, false);
    EXPECT_EQ(roster.party.size(), 1u);
    roster.erasePartyIndex(20);
    EXPECT_EQ(fatalMessage([&] { roster.erasePartyIndex(20); }), "ASSERT file People line 52 : 20");
}

TEST_F(PeopleRoster, PowerMedianAndLivingLeader) {
    roster.party.clear();
    EXPECT_EQ(roster.partyAveragePower(), 0); // an empty party divides nothing
    EXPECT_EQ(roster.partyMedianLevel(), 0);
    Character a("A"), b("B"), c("C");
    for (Character* x : {&a, &b, &c}) x->stats = {};
    a.stats[MAXHP] = 10;
    a.stats[STR] = 1;
    b.stats[MAXMP] = 4;
    b.stats[DEX] = 2;
    b.stats[SPD] = 3;
    b.stats[WIS] = 1;
    b.stats[AMR] = 50; // not counted
    a.level = 2;
    b.level = 9;
    c.level = 4;
    roster.characters = {a, b, c};
    roster.party = {0, 1};
    EXPECT_EQ(roster.partyAveragePower(), (11 + 10) / 2);
    EXPECT_EQ(roster.partyMedianLevel(), 5); // (2 + 9) / 2
    roster.party = {0, 1, 2};
    EXPECT_EQ(roster.partyMedianLevel(), 4);

    roster.mainCharacterIndex = 1;
    roster.characters[0].stats[HP] = 1;
    roster.ensureLivingMain(); // B has 0 HP
    EXPECT_EQ(roster.mainCharacterIndex, 0);
    roster.characters[2].stats[HP] = 1;
    roster.ensureLivingMain();
    EXPECT_EQ(roster.mainCharacterIndex, 0);
    roster.characters[0].stats[HP] = 0;
    roster.ensureLivingMain();
    EXPECT_EQ(roster.mainCharacterIndex, 2);
    roster.party = {0};
    roster.mainCharacterIndex = 2; // alive but out of the party
    roster.ensureLivingMain();
    EXPECT_EQ(roster.mainCharacterIndex, 2); // nobody alive in the party: unchanged
}

TEST_F(PeopleRoster, ItemsHeldByTheParty) {
    roster.characters = {Character("A"), Character("B"), Character("C")};
    roster.party = {0, 1};
    roster.characters[0].inventory[item("Key")] = 0;
    roster.characters[2].inventory[item("Apple")] = 3;
    EXPECT_FALSE(roster.partyHasItem(item("Key")));
    EXPECT_FALSE(roster.partyHasItem(item("Apple"))); // C is not in the party
    EXPECT_FALSE(roster.partyHasItem(NO_ITEM));
    roster.characters[1].inventory[item("Key")] = 1;
    EXPECT_TRUE(roster.partyHasItem(item("Key")));
    EXPECT_TRUE(roster.partyHasItemNamed("Key"));
    EXPECT_FALSE(roster.partyHasItemNamed("Apple"));
    EXPECT_FALSE(roster.partyHasItemNamed("NoSuchThing"));
}

TEST_F(PeopleRoster, NumberedSiblingsFollow) {
    for (const char* n : {"Guard1", "Guard2", "Guard12", "Guardian2", "Guard", "Guard3"})
        roster.characters.emplace_back(n);
    roster.characters[5].savedGameInitialised = true;
    roster.characters[0].setTilePosition({7, 8});
    roster.syncNumberedSiblings(0);
    EXPECT_EQ(roster.characters[1].tile, Point(7, 8));
    EXPECT_EQ(roster.characters[1].pixel, Point(840, 960));
    EXPECT_EQ(roster.characters[2].tile, Point(7, 8));
    EXPECT_EQ(roster.characters[3].tile, Point(0, 0));
    EXPECT_EQ(roster.characters[4].tile, Point(0, 0));
    EXPECT_EQ(roster.characters[5].tile, Point(0, 0)); // loaded from a save: kept
    roster.characters[4].setTilePosition({1, 1});
    roster.syncNumberedSiblings(4); // no digit: nothing
    EXPECT_EQ(roster.characters[0].tile, Point(7, 8));
}

TEST_F(PeopleRoster, UsableItemsDealtRoundRobin) {
    Character w = make("W", "Warrior", 1, 1, 1, 1);
    Character m = make("M", "Wizard", 1, 1, 1, 1);
    Character r = make("R", "Healer", 1, 1, 1, 1);
    w.inventory[item("Apple")] = 4;
    w.inventory[item("Sword")] = 1;
    m.inventory[item("Bread")] = 2; // only warriors may eat it
    r.inventory[item("Apple")] = 7; // not in the party
    roster.characters = {w, m, r};
    roster.party = {0, 1};
    roster.distributeUsableItems();
    EXPECT_EQ(roster.characters[0].inventory[item("Apple")], 2);
    EXPECT_EQ(roster.characters[1].inventory[item("Apple")], 2);
    EXPECT_EQ(roster.characters[0].inventory[item("Bread")], 2);
    EXPECT_EQ(roster.characters[1].inventory.count(item("Bread")), 0u);
    EXPECT_EQ(roster.characters[0].inventory[item("Sword")], 1); // not usable: untouched
    EXPECT_EQ(roster.characters[2].inventory[item("Apple")], 7);
    int apples = 0;
    for (int i : roster.party) apples += roster.characters[i].inventory[item("Apple")];
    EXPECT_EQ(apples, 4);
}

TEST_F(PeopleRoster, EquipmentGoesToTheBestAllowedSlotAndLocksHold) {
    Character w = make("W", "Warrior", 5, 1, 1, 1);
    Character f = make("F", "FoodWarrior", 5, 1, 1, 1);
    w.equipWeapon(item("Ladle"), false); // a weapon a warrior may not even use: it goes back to the pool
    w.stats[HP] = w.stats[MAXHP];
    f.inventory[item("Sword")] = 1;
    f.inventory[item("Ring")] = 1;
    f.inventory[item("Shield")] = 1;
    f.inventory[item("Amulet")] = 1;
    roster.characters = {w, f};
    roster.party = {0, 1};
    auto shell = std::make_unique<Game>();
    game = shell.get();
    shell->equipmentLocks[1] = {2}; // F keeps its second accessory slot as it is
    roster.distributeEquipableItems();
    const Character& W = roster.characters[0];
    const Character& F = roster.characters[1];
    EXPECT_EQ(W.weapon, item("Sword"));
    EXPECT_EQ(F.weapon, item("Ladle"));
    // Ring scores 1 + 5 + 2 + 3 + 2 (XP, DMG, DEF count) and beats Shield and Amulet for W
    EXPECT_EQ(W.accessory1, item("Ring"));
    EXPECT_EQ(W.accessory2, item("Amulet"));
    EXPECT_EQ(F.accessory1, NO_ITEM); // Shield is for warriors only
    EXPECT_EQ(F.accessory2, NO_ITEM); // locked
    EXPECT_EQ(F.inventory.at(item("Shield")), 1); // what no one took goes home
    // the stats follow the equipment: base + bonuses, HP not lost on the way
    EXPECT_EQ(W.stats[STR], 5 + 2 + 1);
    EXPECT_EQ(W.stats[MAXHP], 35);
    EXPECT_EQ(W.stats[HP], 33); // 30 + Amulet's HP 3, within 35
    EXPECT_EQ(F.stats[STR], 5 + 1);
    EXPECT_EQ(W.baseStats()[STR], 5);
    EXPECT_EQ(F.objectToThrow, "Ladle"); // a food warrior throws its weapon
    game = nullptr;
}

TEST_F(PeopleRoster, LoadingCharacterFiles) {
    std::string dir = scratchDir("people_load");
    std::string path = writeFile(dir, "chars.txt",
                                 "# the demo people\n"
                                 "Character Ana TYPE CAT CLASS Warrior STR 4\n"
                                 "\n"
                                 "   \t \n" // blanks only: skipped, reading goes on
                                 "Character Bo TYPE GHOST\n"
                                 "Character Ana LEVEL 3\r\n");
    std::set<std::string> created;
    auto stored = roster.loadCharacters(path, nullptr, 0.f, false, &created);
    EXPECT_TRUE(stored.empty());
    ASSERT_EQ(roster.characters.size(), 2u);
    EXPECT_EQ(roster.characters[0].type, CharacterType::CAT);
    EXPECT_EQ(roster.characters[0].stats[STR], 4);
    EXPECT_EQ(roster.characters[0].level, 3); // the second line of Ana applies to her
    EXPECT_EQ(roster.characters[1].type, CharacterType::GHOST);
    EXPECT_EQ(created, (std::set<std::string>{"Ana", "Bo"}));

    // save-file mode: known names are read, others kept as whole lines, the last one winning
    std::string save = writeFile(dir, "people.save",
                                 "Character Bo LEVEL 8\n"
                                 "Character Zed LEVEL 2\n"
                                 "# comment\n"
                                 "Character Zed LEVEL 5\n");
    stored = roster.loadCharacters(save, nullptr, 0.f, true, nullptr);
    EXPECT_EQ(roster.characters.size(), 2u);
    EXPECT_EQ(roster.characters[1].level, 8);
    std::map<std::string, std::string> expected{{"Zed", "Character Zed LEVEL 5"}};
    EXPECT_EQ(stored, expected);

    std::string bad = writeFile(dir, "bad.txt", "Character Ana\nPerson Bo\n");
    EXPECT_EQ(fatalMessage([&] { roster.loadCharacters(bad, nullptr, 0.f, false, nullptr); })
                  .substr(0, 24),
              "ASSERT file People line ");
    EXPECT_NE(fatalMessage([&] { roster.loadCharacters(bad, nullptr, 0.f, false, nullptr); }).find(" : Person"),
              std::string::npos);
    std::string missing = dir + "/nothing.txt";
    EXPECT_NE(fatalMessage([&] { roster.loadCharacters(missing, nullptr, 0.f, false, nullptr); })
                  .find(" : " + missing),
              std::string::npos);
}

TEST_F(PeopleRoster, SavedRosterReadsBackWhole) {
    roster.characters = {make("Ravi", "Warrior", 6, 4, 2, 3), make("Mira", "Wizard", 2, 3, 7, 3)};
    roster.characters[0].equipWeapon(item("Sword"), false);
    roster.characters[0].inventory[item("Apple")] = 3;
    roster.characters[1].spellsByLevel[1]["Fire"] = 1;
    roster.characters[1].equipAccessory(1, item("Amulet"), false);
    std::string dir = scratchDir("people_save");
    std::string path = dir + "/people.save";
    {
        std::ofstream out(path);
        for (const Character& c : roster.characters) {
            c.writeSave(out);
            out << "\n";
        }
    }
    People loaded;
    loaded.loadCharacters(path, nullptr, 0.f, false, nullptr);
    ASSERT_EQ(loaded.characters.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(loaded.characters[i].stats, roster.characters[i].stats) << i;
        EXPECT_EQ(loaded.characters[i].inventory, roster.characters[i].inventory) << i;
        EXPECT_EQ(loaded.characters[i].equippedItems(), roster.characters[i].equippedItems()) << i;
    }
    // and over a roster that already holds them (the game's load)
    std::map<std::string, std::string> rest = roster.loadCharacters(path, nullptr, 0.f, true, nullptr);
    EXPECT_TRUE(rest.empty());
    EXPECT_EQ(roster.characters[0].stats, loaded.characters[0].stats);
}

TEST_F(PeopleRoster, DemoFilesHoldEveryTypeAndOnlyLevellingClassesOfTheTables) {
    ItemList demoItems;
    demoItems.load(sourceDir() + "/data/Data/Items.txt", nullptr, 0.f);
    PotionRepository demoPotions;
    demoPotions.load(sourceDir() + "/data/Data/Potions.txt", nullptr, 0.f);
    MagicRepository demoSpells;
    demoSpells.load(sourceDir() + "/data/Data/Magic.txt", nullptr, 0.f);
    itemList = &demoItems;
    potionRepository = &demoPotions;
    magicRepository = &demoSpells;
    People demo;
    demo.loadCharacters(sourceDir() + "/data/Data/Characters.txt", nullptr, 0.f, false, nullptr);
    demo.loadCharacters(sourceDir() + "/data/Data/Enemies.txt", nullptr, 0.f, false, nullptr);
    std::set<int> types;
    std::set<std::string> classes;
    for (const Character& c : demo.characters) {
        types.insert(static_cast<int>(c.type));
        classes.insert(c.className);
        if (c.hasLevel()) {
            EXPECT_EQ(CLASS_PRIMARY_STAT.count(c.className), 1u) << c.name << " " << c.className;
            EXPECT_EQ(CLASS_SECONDARY_STAT.count(c.className), 1u) << c.name;
        }
        for (auto& [lvl, spells] : c.spellsByLevel)
            for (auto& [spell, spellLevel] : spells) {
                ASSERT_TRUE(demoSpells.contains(spell)) << c.name << " " << spell;
                EXPECT_LE(spellLevel, demoSpells.get(spell).levels) << c.name << " " << spell;
            }
        for (const std::string& potion : c.potions) EXPECT_TRUE(demoPotions.contains(potion)) << potion;
    }
    EXPECT_EQ(types.size(), 18u);
    EXPECT_EQ(demo.characters[0].name, "Ravi"); // the leader is roster index 0
    for (const char* name : {"Sabio", "Anju", "TreasureDemon", "MadScientist", "Skeleton1", "Tesla1"})
        EXPECT_NE(demo.indexOf(name), NO_INDEX) << name;
    for (const char* cls : {"Alchemist", "Wizard", "Warrior", "CatWarrior", "Healer", "FoodWarrior"})
        EXPECT_EQ(classes.count(cls), 1u) << cls;
    const Character& alchemist = demo.at(demo.indexOf("Tomas"));
    EXPECT_FALSE(alchemist.potions.empty());
    EXPECT_EQ(alchemist.selectedPotion, "Acid");
    EXPECT_FALSE(demo.at(demo.indexOf("Mira")).availableMagic().empty());
}
