#include "CharacterTestSupport.hpp"

#include "game/Game.hpp"

#include <cstdlib>
#include <memory>

namespace {

std::string fatalStart(const std::string& message) {
    // "ASSERT file Character line N : detail" -> "ASSERT file Character : detail"
    size_t line = message.find(" line ");
    size_t colon = message.find(" : ");
    if (line == std::string::npos || colon == std::string::npos) return message;
    return message.substr(0, line) + message.substr(colon);
}

} // namespace

using CharacterStats = CharacterWorld;

TEST_F(CharacterStats, DerivedStatsClampsAndNames) {
    Character c = make("A", "Warrior", 4, 0, 2, 3);
    EXPECT_EQ(c.getStat(DMG), 0);
    EXPECT_EQ(c.getStat(DEF), 1 + 3); // DEX 0 counts as 1
    c.addStat(HP, -100);
    EXPECT_EQ(c.stats[HP], 0);
    c.addStat(HP, 500);
    EXPECT_EQ(c.stats[HP], 30);
    c.addStat(MP, 50);
    EXPECT_EQ(c.stats[MP], 20);
    c.addStat(MAXHP, -10); // a lower maximum pulls HP down with it
    EXPECT_EQ(c.stats[HP], 20);
    c.addStat(STR, -6);
    EXPECT_EQ(c.stats[STR], -2);
    EXPECT_EQ(c.getStatByName("STR"), -2);
    EXPECT_EQ(c.getStatByName("MAXHP"), 20);
    EXPECT_EQ(c.getStatByName("DMG"), -1);
    EXPECT_EQ(c.getStatByName("XP"), -1);
    EXPECT_EQ(c.getStatByName("str"), -1);
    c.spendMP(7);
    EXPECT_EQ(c.stats[MP], 13);
    c.spendMP(100);
    EXPECT_EQ(c.stats[MP], 0);
    EXPECT_EQ(c.hpText(), "20 / 20");
    EXPECT_EQ(c.mpText(), "0 / 20");
    EXPECT_EQ(c.titleText(), "Warrior A L1");
    c.className = "Monster";
    EXPECT_EQ(c.titleText(), "Monster A");
}

TEST_F(CharacterStats, AttackFactors) {
    Character w = make("W", "Warrior", 5, 0, 0, 0);
    EXPECT_EQ(w.getAttack(), 7); // S = 1 + 10 = 11 -> 22 / 3 = 7 (DEX 0 counts as 1)
    w.stats[DEX] = 2;
    EXPECT_EQ(w.getAttack(), 8); // S = 2 + 10 = 12 -> 8
    w.weapon = item("Sword");    // the factor alone: 8 x 1.5
    EXPECT_EQ(w.getAttack(), 12);
    Character sq = make("S", "Squirel", 5, 2, 0, 0);
    EXPECT_FLOAT_EQ(sq.weaponFactor(), 3.0f);
    EXPECT_EQ(sq.getAttack(), 24);
    Character a = make("Al", "Alchemist", 2, 3, 4, 0);
    EXPECT_FLOAT_EQ(a.weaponFactor(), 1.0f); // no potion chosen yet
    EXPECT_EQ(a.getAttack(), 6);            // S = 4 + 3 + 2 = 9
    a.selectPotion("Acid");
    EXPECT_EQ(a.potionColor, sf::Color(90, 220, 40));
    EXPECT_EQ(a.getAttack(), 12);
    a.selectPotion("Tonic");
    EXPECT_EQ(a.getAttack(), -9); // a healing factor
    a.weapon = item("Bow");
    EXPECT_FLOAT_EQ(a.weaponFactor(), -1.5f * 1.2f);
}

TEST_F(CharacterStats, AttackRange) {
    Character c = make("Bob", "Warrior", 1, 1, 1, 1);
    EXPECT_EQ(c.getAttackRange(), 1);
    c.className = "FoodWarrior";
    EXPECT_EQ(c.getAttackRange(), 2);
    c.className = "Alchemist";
    EXPECT_EQ(c.getAttackRange(), 2);
    c.className = "Monster";
    c.name = "OctopusHead";
    EXPECT_EQ(c.getAttackRange(), 2);
    c.weapon = item("Bow");
    EXPECT_EQ(c.getAttackRange(), 3);
    c.weapon = item("Sword");
    EXPECT_EQ(c.getAttackRange(), 1);
    c.name = "SentryTurret1";
    EXPECT_EQ(c.getAttackRange(), 3);
}

TEST_F(CharacterStats, ClassAndTypeRules) {
    Character c("X");
    for (const char* cls : {"Monster", "MutantAlien", "Robot", "Tower"}) {
        c.className = cls;
        EXPECT_FALSE(c.hasLevel()) << cls;
    }
    c.className = "Warrior";
    EXPECT_TRUE(c.hasLevel());
    c.type = CharacterType::HOIST;
    EXPECT_FALSE(c.hasLevel());
    EXPECT_FALSE(c.isRobot());
    c.type = CharacterType::FLYROBOT;
    EXPECT_TRUE(c.isRobot());
    c.type = CharacterType::R2ROBOT;
    EXPECT_TRUE(c.isRobot());
    c.type = CharacterType::NORMAL;
    for (const char* n : {"Mainframe", "Server2", "CentralUnit"}) {
        c.name = n;
        EXPECT_TRUE(c.isRobot()) << n;
    }
    c.name = "Servant";
    EXPECT_FALSE(c.isRobot());
    c.name = "Mainf";
    c.className = "Warrior";
    EXPECT_FALSE(c.isThrower());
    for (const char* cls : {"Alchemist", "GoofWarrior", "FoodWarrior"}) {
        c.className = cls;
        EXPECT_TRUE(c.isThrower()) << cls;
    }
    c.className = "Monster";
    c.name = "OctopusHead";
    EXPECT_TRUE(c.isThrower());
}

TEST_F(CharacterStats, SetLevelCountsIncrementsByDifficultyAndToughness) {
    auto total = [](const Character& c) {
        return c.stats[STR] + c.stats[DEX] + c.stats[SPD] + c.stats[WIS] + c.stats[MAXHP] + c.stats[MAXMP];
    };
    Character c = make("E", "Monster", 9, 9, 9, 9);
    c.level = 7;
    srand(4044);
    c.setLevel(40);
    // no spells: MAXHP starts at 1, MAXMP at 0 and never grows (rand() % 5)
    EXPECT_EQ(total(c), 1 + 40);
    EXPECT_EQ(c.stats[MAXMP], 0);
    EXPECT_EQ(c.stats[HP], c.stats[MAXHP]);
    EXPECT_EQ(c.level, 7); // left alone
    c.toughness = Toughness::EASY;
    c.setLevel(15);
    EXPECT_EQ(total(c), 1 + 13); // trunc(0.9 x 15)
    c.toughness = Toughness::FINALBOSS;
    c.setLevel(10, true); // the flag changes nothing
    EXPECT_EQ(total(c), 1 + 40);
    c.spellsByLevel[1]["Fire"] = 1;
    c.toughness = Toughness::NONE;
    srand(1);
    c.setLevel(600);
    EXPECT_EQ(total(c), 2 + 600);
    EXPECT_GT(c.stats[MAXMP], 1); // MP grows for a caster
    EXPECT_EQ(c.stats[MP], c.stats[MAXMP]);

    auto shell = std::make_unique<Game>();
    game = shell.get();
    c.toughness = Toughness::HARD;
    shell->difficulty = 0;
    c.setLevel(100);
    EXPECT_EQ(total(c), 2 + 55); // trunc(0.5 x 1.1 x 100)
    shell->difficulty = 1;
    c.setLevel(100);
    EXPECT_EQ(total(c), 2 + 103); // trunc(0.94 x 1.1 x 100)
    game = nullptr;

    // Worn items' bonuses stay on top of the roll: taking the item off leaves the roll alone.
    Character plain = make("P", "Monster", 1, 1, 1, 1), ringed = plain;
    ringed.equipAccessory(1, item("Ring"), false);
    srand(9);
    plain.setLevel(30);
    srand(9);
    ringed.setLevel(30);
    EXPECT_EQ(ringed.stats[STR], plain.stats[STR] + 1);
    EXPECT_EQ(ringed.stats[MAXHP], plain.stats[MAXHP] + 5);
    EXPECT_EQ(ringed.stats[HP], ringed.stats[MAXHP]);
    ringed.equipAccessory(1, NO_ITEM, false);
    EXPECT_EQ(ringed.stats, plain.stats);
}

TEST_F(CharacterStats, ExperienceLevelsAndTheClassTables) {
    Character c = make("Mira", "Wizard", 2, 3, 7, 3);
    c.stats[HP] = 5;
    EXPECT_TRUE(c.gainExperience(100).empty());
    EXPECT_EQ(c.stats[XP], 100);
    std::vector<std::string> lines = c.gainExperience(1);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(c.level, 2);
    EXPECT_EQ(c.stats[XP], 0);
    EXPECT_EQ(c.stats[WIS], 9);   // primary +2
    EXPECT_EQ(c.stats[MAXMP], 21); // secondary "MP" grows the maximum
    EXPECT_EQ(c.stats[HP], 30);    // refilled
    EXPECT_EQ(c.stats[MP], 21);
    c.gainExperience(350); // one level at most per gain, the rest is lost
    EXPECT_EQ(c.level, 3);
    EXPECT_EQ(c.stats[XP], 0);
    Character k = make("Sir", "Knight", 1, 1, 1, 1);
    k.gainExperience(50);
    EXPECT_EQ(fatalStart(fatalMessage([&] { k.gainExperience(60); })), "ASSERT file Character : Knight");
    for (const auto& [cls, stat] : CLASS_PRIMARY_STAT) {
        Character any = make("Any", cls, 1, 1, 1, 1);
        EXPECT_EQ(fatalMessage([&] { any.levelUp(); }), "") << cls;
        EXPECT_EQ(CLASS_SECONDARY_STAT.count(cls), 1u) << cls;
    }
}

TEST_F(CharacterStats, AvailableMagicByLevelThenName) {
    Character c("M");
    c.level = 3;
    c.spellsByLevel[1]["Heal"] = 1;
    c.spellsByLevel[1]["Fire"] = 1;
    c.spellsByLevel[3]["Fire"] = 2;
    c.spellsByLevel[4]["Drain"] = 1;
    std::vector<std::pair<std::string, int>> expected{{"Fire", 1}, {"Heal", 1}, {"Fire", 2}};
    EXPECT_EQ(c.availableMagic(), expected);
    c.level = 0;
    EXPECT_TRUE(c.availableMagic().empty());
}

TEST_F(CharacterStats, MonsterActionDamageArmourShieldAndCost) {
    Character caster = make("Mage", "Wizard", 4, 1, 10, 1);
    Character target = make("Ogre", "Monster", 1, 1, 1, 1);
    target.stats[SHL] = 2;
    target.stats[AMR] = 3;
    Character::monsterAction(caster, "Fire", 1, target, true);
    EXPECT_EQ(target.stats[HP], 30 - (15 - 2 - 3));
    EXPECT_EQ(caster.stats[MP], 20 - 5); // 5 - 10 / 20
    Character::monsterAction(caster, "Fire", 1, target, false);
    EXPECT_EQ(caster.stats[MP], 15); // only the first hit pays
    caster.stats[WIS] = 40;
    Character::monsterAction(caster, "Fire", 2, target, true);
    EXPECT_EQ(caster.stats[MP], 15 - (8 - 2));
    // the dragon's base mixes STR and WIS
    Character dragon = make("Dragon", "Dragon", 20, 1, 10, 1);
    Character t2 = make("T", "Warrior", 1, 1, 1, 1);
    Character::monsterAction(dragon, "Fire", 1, t2, false);
    EXPECT_EQ(t2.stats[HP], 30 - 22);
}

TEST_F(CharacterStats, MonsterActionHealingDrainAndSpecialSpells) {
    Character caster = make("Mage", "Healer", 1, 1, 10, 1);
    Character ally = make("Ally", "Warrior", 1, 1, 1, 1);
    ally.stats[HP] = 12;
    ally.stats[AMR] = 5; // armour does not reduce healing
    Character::monsterAction(caster, "Heal", 1, ally, true);
    EXPECT_EQ(ally.stats[HP], 22);
    Character::monsterAction(caster, "Heal", 1, ally, true);
    EXPECT_EQ(ally.stats[HP], 30); // capped at MAXHP
    // MP damage: WIS / 2 x m - SHL
    Character t = make("T", "Monster", 1, 1, 1, 1);
    Character::monsterAction(caster, "Drain", 1, t, false);
    EXPECT_EQ(t.stats[MP], 15);
    EXPECT_EQ(t.stats[HP], 30);
    // both changes zero: a hit of 1
    Character::monsterAction(caster, "Nothing", 1, t, false);
    EXPECT_EQ(t.stats[HP], 29);
    // Poloian changes no HP
    Character::monsterAction(caster, "Poloian", 1, t, false);
    EXPECT_EQ(t.stats[HP], 29);
    // HackDrain moves MP to the caster, capped, and costs nothing
    caster.stats[MP] = 10;
    Character::monsterAction(caster, "HackDrain", 1, t, true);
    EXPECT_EQ(t.stats[MP], 5);
    EXPECT_EQ(caster.stats[MP], 20);
    // a strong shield leaves the hit of 1, and a spell without an MP (HP) factor gives no MP
    // (HP) back through the shield term
    Character armoured = make("A", "Monster", 1, 1, 1, 1);
    armoured.stats[SHL] = 50;
    armoured.stats[MP] = 3;
    armoured.stats[HP] = 21;
    Character::monsterAction(caster, "Fire", 1, armoured, false);
    EXPECT_EQ(armoured.stats[HP], 20);
    EXPECT_EQ(armoured.stats[MP], 3);
    armoured.stats[SHL] = 2;
    Character::monsterAction(caster, "Drain", 1, armoured, false); // 5 x 1 - 2 MP, no healing
    EXPECT_EQ(armoured.stats[HP], 20);
    EXPECT_EQ(armoured.stats[MP], 0);
    armoured.stats[MP] = 3;
    Character::monsterAction(caster, "Fire", 1, armoured, false); // 15 - 2 HP, MP untouched
    EXPECT_EQ(armoured.stats[HP], 7);
    EXPECT_EQ(armoured.stats[MP], 3);
    // a healing spell still heals through the formula's negative branch
    Character::monsterAction(caster, "Heal", 1, armoured, false);
    EXPECT_EQ(armoured.stats[HP], 7 + 12);
    EXPECT_EQ(armoured.stats[MP], 3);
    EXPECT_EQ(fatalMessage([&] { Character::monsterAction(caster, "Unknown", 1, armoured, false); }),
              "ASSERT file Magic line 153 : Unknown");
}

TEST_F(CharacterStats, EquipmentBonusesAndStock) {
    Character c = make("Bruno", "FoodWarrior", 3, 2, 1, 1);
    c.inventory[item("Sword")] = 1;
    c.inventory[item("Ladle")] = 2;
    c.equipWeapon(item("Sword"), true);
    EXPECT_EQ(c.weapon, item("Sword"));
    EXPECT_EQ(c.stats[STR], 5);
    EXPECT_EQ(c.inventory[item("Sword")], 0);
    EXPECT_EQ(c.objectToThrow, "Sword");
    c.equipWeapon(item("Ladle"), true);
    EXPECT_EQ(c.stats[STR], 4);
    EXPECT_EQ(c.inventory[item("Sword")], 1);
    EXPECT_EQ(c.inventory[item("Ladle")], 1);
    EXPECT_EQ(c.objectToThrow, "Ladle");
    c.equipWeapon(NO_ITEM, true);
    EXPECT_EQ(c.weapon, NO_ITEM);
    EXPECT_EQ(c.stats[STR], 3);
    EXPECT_EQ(c.inventory[item("Ladle")], 2);
    EXPECT_TRUE(c.equippedItems().empty());
    // XP, DMG and DEF bonuses are factors, not stats
    int xp = c.stats[XP];
    c.equipAccessory(2, item("Ring"), false);
    EXPECT_EQ(c.stats[XP], xp);
    EXPECT_EQ(c.stats[DMG], 0);
    EXPECT_EQ(c.stats[DEF], 0);
    EXPECT_EQ(c.stats[MAXHP], 35);
    EXPECT_EQ(c.equippedItems(), std::vector<int>{item("Ring")});
    // taking an accessory off keeps HP within the lower maximum
    c.stats[HP] = 35;
    c.applyItemStats(item("Ring"), -1);
    EXPECT_EQ(c.stats[MAXHP], 30);
    EXPECT_EQ(c.stats[HP], 30);
    EXPECT_EQ(fatalMessage([&] { c.applyItemStats(99, 1); }), "ASSERT file Items line 179 : 99");
    Character w = make("W", "Warrior", 1, 1, 1, 1);
    w.equipWeapon(item("Sword"), false);
    EXPECT_EQ(w.objectToThrow, ""); // only food and goof warriors throw their weapon
}

TEST_F(CharacterStats, UsingItemsAndLearningScripts) {
    Character a = make("Tomas", "Alchemist", 1, 1, 1, 1);
    a.stats[HP] = 28;
    a.inventory[item("Apple")] = 2;
    EXPECT_TRUE(a.useScript(item("Apple")));
    EXPECT_EQ(a.stats[HP], 30);
    EXPECT_EQ(a.inventory[item("Apple")], 1);
    a.inventory[item("PotionScriptFirewater")] = 1;
    std::string message;
    a.useScript(item("PotionScriptFirewater"), &message);
    EXPECT_EQ(a.potions.count("Firewater"), 1u);
    EXPECT_EQ(a.selectedPotion, "Firewater");
    EXPECT_NE(message.find("Firewater"), std::string::npos);
    EXPECT_EQ(a.inventory[item("PotionScriptFirewater")], 0);
    Character w = make("Mira", "Wizard", 1, 1, 1, 1);
    w.level = 4;
    w.inventory[item("YeojScript")] = 3;
    w.useScript(item("YeojScript"));
    EXPECT_EQ(w.spellsByLevel[4]["Yeoj"], 1);
    w.useScript(item("YeojScript"));
    w.useScript(item("YeojScript"));
    EXPECT_EQ(w.spellsByLevel[4]["Yeoj"], 2); // not beyond the spell's last level
    EXPECT_EQ(w.availableMagic().size(), 1u);
}

TEST_F(CharacterStats, WalkingSixFramesATileAndBlockedCells) {
    Character c("Walker");
    c.setTilePosition({2, 3});
    EXPECT_EQ(c.pixel, Point(240, 360));
    EXPECT_EQ(c.targetTile, Point(2, 3));
    c.setFacing(NORTH);
    EXPECT_TRUE(c.showBack);
    c.setFacing(SOUTH);
    EXPECT_FALSE(c.showBack);
    EXPECT_EQ(c.previousFacing, NORTH);
    c.setFacing(EAST);
    EXPECT_FALSE(c.showBack); // only NORTH and SOUTH change it

    std::set<Point> blocked{{3, 3}};
    std::set<Point> none;
    WalkInput right;
    right.right = true;
    EXPECT_FALSE(c.move(&right, {10, 10}, blocked, none));
    EXPECT_EQ(c.tile, Point(2, 3));
    EXPECT_EQ(c.facing, EAST); // it turns even when it cannot go
    WalkInput up;
    up.up = true;
    int frames = 0;
    bool moving = c.move(&up, {10, 10}, blocked, none);
    while (moving) {
        ++frames;
        moving = c.move(nullptr, {10, 10}, blocked, none);
    }
    EXPECT_EQ(frames + 1, 6);
    EXPECT_EQ(c.tile, Point(2, 2));
    EXPECT_EQ(c.previousTile, Point(2, 3));
    EXPECT_EQ(c.pixel, Point(240, 240));
    EXPECT_TRUE(c.showBack);
    // the grid edge and the extra blocked set refuse too
    c.setTilePosition({0, 0});
    WalkInput left;
    left.left = true;
    EXPECT_FALSE(c.move(&left, {10, 10}, none, none));
    EXPECT_FALSE(c.move(&up, {10, 10}, none, none));
    EXPECT_FALSE(c.move(&right, {10, 10}, none, std::set<Point>{{1, 0}}));
    EXPECT_TRUE(c.move(&right, {10, 10}, none, std::set<Point>{{1, 0}}, MOVE_IGNORE_BLOCKED));
    // a scripted walk toward a target without input
    c.setTilePosition({4, 4});
    c.startMoveTo({4, 5});
    EXPECT_TRUE(c.walking);
    EXPECT_EQ(c.facing, SOUTH);
    while (c.move(nullptr, {10, 10}, none, none)) {
    }
    EXPECT_EQ(c.tile, Point(4, 5));
    EXPECT_FALSE(c.walking);
}
