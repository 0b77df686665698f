// A small item catalogue, spell and potion repository shared by the character and roster tests.
#pragma once

#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "game/Globals.hpp"
#include "support/TestSupport.hpp"

#include <sstream>

class CharacterWorld : public ::testing::Test {
protected:
    ItemList items;
    MagicRepository spells;
    PotionRepository potionsRepo;
    People roster;
    CatchFatal catchFatal;

    void SetUp() override {
        for (const char* line : {
                 "Sword WEAPON DMG 1.5 STR 2 ALLOWED Warrior ALLOWED FoodWarrior",
                 "Bow WEAPON DMG 1.2 DEX 1 RANGE 3",
                 "Ring ACCESSORY STR 1 MAXHP 5 XP 2.0 DMG 3 DEF 2",
                 "Amulet ACCESSORY WIS 2 HP 3 MAXMP 4",
                 "Apple USABLE HP 5",
                 "PotionScriptFirewater USABLE",
                 "YeojScript USABLE",
                 "Ladle WEAPON DMG 1.0 STR 1 RANGE 2 ALLOWED FoodWarrior",
                 "Shield ACCESSORY AMR 2 SHL 1 ALLOWED Warrior",
                 "Key SPECIAL",
                 "Bread USABLE HP 10 ALLOWED Warrior",
             }) {
            Item item;
            std::istringstream in(line);
            item.read(in);
            items.items.push_back(item);
        }
        Magic fire;
        fire.levels = 2;
        fire.dmg = {1.5f, 2.0f};
        fire.mpDmg = {0.f, 0.f};
        fire.mp = {5, 8};
        spells.spells["Fire"] = fire;
        Magic drain;
        drain.levels = 1;
        drain.dmg = {0.f};
        drain.mpDmg = {1.0f};
        drain.mp = {3};
        spells.spells["Drain"] = drain;
        Magic heal;
        heal.levels = 1;
        heal.dmg = {-1.0f};
        heal.mpDmg = {0.f};
        heal.mp = {4};
        spells.spells["Heal"] = heal;
        Magic plain;
        plain.levels = 1;
        plain.dmg = {1.0f};
        plain.mpDmg = {0.f};
        plain.mp = {2};
        spells.spells["Poloian"] = plain;
        Magic hack;
        hack.levels = 1;
        hack.dmg = {0.f};
        hack.mpDmg = {2.0f};
        hack.mp = {4};
        spells.spells["HackDrain"] = hack;
        Magic nothing;
        nothing.levels = 1;
        nothing.dmg = {0.f};
        nothing.mpDmg = {0.f};
        nothing.mp = {1};
        spells.spells["Nothing"] = nothing;
        Magic yeoj;
        yeoj.levels = 2;
        spells.spells["Yeoj"] = yeoj;

        Potion acid;
        acid.dmg = 2.0f;
        acid.color = sf::Color(90, 220, 40);
        potionsRepo.potions["Acid"] = acid;
        Potion tonic;
        tonic.dmg = -1.5f;
        tonic.color = sf::Color(230, 40, 60);
        potionsRepo.potions["Tonic"] = tonic;
        Potion fire2;
        fire2.dmg = 2.2f;
        fire2.color = sf::Color(240, 110, 20);
        potionsRepo.potions["Firewater"] = fire2;

        itemList = &items;
        magicRepository = &spells;
        potionRepository = &potionsRepo;
        people = &roster;
        game = nullptr;
    }

    void TearDown() override {
        itemList = nullptr;
        magicRepository = nullptr;
        potionRepository = nullptr;
        people = nullptr;
    }

    int item(const std::string& name) const { return items.indexOf(name); }

    static Character make(const std::string& name, const std::string& cls, int str, int dex, int wis,
                          int spd) {
        Character c(name);
        c.className = cls;
        c.stats[STR] = str;
        c.stats[DEX] = dex;
        c.stats[WIS] = wis;
        c.stats[SPD] = spd;
        c.stats[MAXHP] = c.stats[HP] = 30;
        c.stats[MAXMP] = c.stats[MP] = 20;
        return c;
    }
};
