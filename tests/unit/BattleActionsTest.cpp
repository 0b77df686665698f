// Battle actions without a window: the plain-attack and experience arithmetic, an action stepped
// frame by frame to its end, spell effects stepped and reset, and the treasure demon's loot.
#include "battle/ActionAnimation.hpp"
#include "battle/Battle.hpp"
#include "battle/BattleRules.hpp"
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "battle/Treasure.hpp"
#include "characters/People.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include "BattleTestWorld.hpp"
#include "support/TestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

class ActionWorld : public HeadlessWorld {
protected:
    int item(const std::string& line) {
        std::istringstream in(line);
        Item it;
        it.read(in);
        items.items.push_back(it);
        return items.size() - 1;
    }
    // Steps the action with confirm every `every` frames (0: never) until it ends or the bound
    // is reached; returns the frames taken, or -1 when it did not end.
    int play(ActionAnimation& a, int every, int bound = 3000) {
        for (int f = 1; f <= bound; ++f) {
            shell->input = {};
            shell->input.confirm = every > 0 && f % every == 0;
            if (!a.update("")) return f;
        }
        return -1;
    }
    static int count(const std::vector<std::string>& lines, const std::string& text) {
        return static_cast<int>(std::count(lines.begin(), lines.end(), text));
    }
};

Character withDefence(int dex, int spd, int shl, int amr) {
    Character c;
    c.stats[DEX] = dex;
    c.stats[SPD] = spd;
    c.stats[SHL] = shl;
    c.stats[AMR] = amr;
    return c;
}

} // namespace

TEST(AttackRules, DamageEdgeCases) {
    using battlerules::attackDamage;
    // The attack does not beat the defence: exactly 1.
    EXPECT_EQ(attackDamage(5, withDefence(3, 2, 0, 0), false), 1);
    // Deadly doubles the attack minus the defence, before shield and armour.
    EXPECT_EQ(attackDamage(20, withDefence(3, 2, 1, 2), true), 27);
    EXPECT_EQ(attackDamage(20, withDefence(3, 2, 1, 2), false), 12);
    // DEX and SPD of 0 or below count as 1.
    EXPECT_EQ(attackDamage(10, withDefence(0, -3, 0, 0), false), 8);
    EXPECT_EQ(attackDamage(10, withDefence(-7, 0, 0, 0), true), 16);
    // Shield plus armour above the attack: still 1, deadly or not.
    EXPECT_EQ(attackDamage(10, withDefence(1, 1, 6, 6), false), 1);
    EXPECT_EQ(attackDamage(1, withDefence(5, 1, 0, 0), true), 1);
}

TEST_F(ActionWorld, ExperienceBaseSharesAndEquipment) {
    using namespace battlerules;
    const int weak = character("Weak CLASS Monster MAXHP 1 HP 1");
    const int strong = character("Strong CLASS Monster MAXHP 900 HP 900 STR 90");
    const int hero = character("Hero CLASS Warrior MAXHP 20 HP 20 STR 5 DEX 5 SPD 5");
    const int mage = character("Mage CLASS Wizard MAXHP 20 HP 20 WIS 5 MAGIC(1) Zap 1");
    const int blank = character("Blank CLASS Warrior MAXHP 0 HP 0 MAXMP 0 MOB 0");
    Character& h = roster.at(hero);
    // Standing targets: 5, 10, 10, 20.
    EXPECT_EQ(experienceBase(h, roster.at(weak), false, false, false), 5);
    EXPECT_EQ(experienceBase(h, roster.at(weak), false, true, false), 10);
    EXPECT_EQ(experienceBase(h, roster.at(weak), true, false, false), 10);
    EXPECT_EQ(experienceBase(h, roster.at(weak), true, true, false), 20);
    // Defeated targets: clamped to 5..48, 60 for a caster; an actor without stats divides by 1.
    EXPECT_EQ(experienceBase(h, roster.at(weak), false, false, true), 5);
    EXPECT_EQ(experienceBase(h, roster.at(strong), false, false, true), 48);
    EXPECT_EQ(experienceBase(roster.at(blank), roster.at(weak), false, false, true), 48);
    const int half = character("Half CLASS Monster MAXHP 12 HP 12");
    EXPECT_EQ(experienceBase(roster.at(mage), roster.at(half), false, true, true), 30);
    // Equipment factors are whole numbers: 1.5 gives nothing, 2.0 doubles, 1.5 twice stays 1.
    const int charm = item("Charm ACCESSORY XP 1.5");
    const int ring = item("Ring ACCESSORY XP 2.0");
    EXPECT_EQ(experienceShare(10, 1, h), 10);
    h.accessory1 = charm;
    EXPECT_EQ(experienceShare(10, 1, h), 10);
    h.accessory2 = charm;
    EXPECT_EQ(experienceShare(10, 1, h), 10);
    h.accessory2 = ring;
    EXPECT_EQ(experienceShare(10, 1, h), 20);
    h.accessory1 = h.accessory2 = NO_ITEM;
    // Shares and the several-targets raise.
    EXPECT_EQ(experienceShare(10, 2, h), 6);
    EXPECT_EQ(experienceShare(10, 3, h), 3);
    EXPECT_EQ(experienceShare(20, 4, h), 6);
    EXPECT_EQ(experienceShare(10, 5, h), 3);
}

TEST_F(ActionWorld, AttackTypesItsLinesHitsOnceAndWaitsForConfirm) {
    const int hero = character("Hero CLASS Warrior MAXHP 20 HP 20 STR 6 DEX 4 SPD 3");
    const int gob = character("Gob CLASS Monster MAXHP 30 HP 1 DEX 3 SPD 2 AMR 5");
    roster.party = {hero};
    std::srand(11);
    ActionAnimation a = makeActionAnimation(hero, gob, "", 0);
    a.deadly = false;
    EXPECT_TRUE(a.playing);
    EXPECT_EQ(a.totalFrames, 180);
    ASSERT_EQ(a.lines.size(), 1u);
    EXPECT_EQ(a.lines[0], "Hero attacks...");
    EXPECT_EQ(a.attackMusic.substr(0, 6), "Attack");

    // Confirm while a line types shows it at once.
    shell->input = {};
    shell->input.confirm = true;
    EXPECT_TRUE(a.update(""));
    EXPECT_EQ(a.shownLine, 1);
    EXPECT_EQ(roster.at(hero).battleMode, 1);

    // Without confirm nothing ends, however long; the hit lands once, on frame 90.
    EXPECT_EQ(play(a, 0, 2000), -1);
    EXPECT_EQ(roster.at(gob).stats[HP], 0);
    EXPECT_EQ(count(a.lines, "Hero inflicted 1 damage to Gob."), 1);
    EXPECT_EQ(count(a.lines, "Gob is defeated"), 1);
    EXPECT_TRUE(a.fading);
    EXPECT_EQ(a.fadeAlpha, 255);
    EXPECT_EQ(roster.at(hero).battleMode, 2);
    const int xpLines = static_cast<int>(std::count_if(a.lines.begin(), a.lines.end(), [](const std::string& l) {
        return l.rfind("Hero got ", 0) == 0;
    }));
    EXPECT_EQ(xpLines, 1);
    // Every line has been typed: the next confirm ends the action.
    EXPECT_EQ(play(a, 1, 5), 1);
    EXPECT_FALSE(a.playing);
    EXPECT_EQ(roster.at(hero).battleMode, 0);
    EXPECT_TRUE(a.update("")) << "an idle action goes on at once";
}

TEST_F(ActionWorld, SpellOnThreeTargetsPaysOnceAndSharesExperience) {
    spell("Zap KIND Flame TARGET enemy LEVELS 1 DMG(1) 1.0 MP(1) 5 NUMEXPLOSIONS(1) 3 RADIUS(1) 1");
    const int mage = character("Mage CLASS Wizard MAXHP 20 HP 20 MAXMP 50 MP 50 WIS 10 MAGIC(1) Zap 1");
    std::vector<int> targets;
    for (const char* n : {"T1", "T2", "T3"})
        targets.push_back(character(std::string(n) + " CLASS Monster MAXHP 90 HP 90 MAXMP 4 MP 4"));
    roster.party = {mage};
    ActionAnimation a = makeActionAnimation(mage, targets[0], "Zap", 1);
    EXPECT_EQ(a.totalFrames, 250);
    EXPECT_EQ(a.effect.duration, 160);
    EXPECT_EQ(a.effect.topLeft, (Point{192, 108}));
    EXPECT_EQ(a.effect.bottomRight, (Point{960, 1026}));
    Battle::refillIndexList(a, {targets[1], targets[2]});
    a.targetCount = 3;
    // A multi-target effect is reset between targets: the later targets start from frame 1.
    bool sawPause = false;
    for (int f = 0; f < 3000 && a.playing; ++f) {
        shell->input = {};
        shell->input.confirm = f % 9 == 0;
        a.update("");
        if (a.pausing) {
            sawPause = true;
            EXPECT_EQ(a.effect.frame, 0);
        }
    }
    EXPECT_TRUE(sawPause);
    EXPECT_FALSE(a.playing);
    EXPECT_EQ(roster.at(mage).stats[MP], 45) << "the cost is paid once";
    for (int t : targets) EXPECT_EQ(roster.at(t).stats[HP], 80) << roster.at(t).name;
    for (const char* n : {"T1", "T2", "T3"})
        EXPECT_EQ(count(a.lines, std::string("Mage inflicted 10 damage to ") + n + "."), 1) << n;
    // 10 for a spell on an enemy, divided by 3, raised by 1.3.
    EXPECT_EQ(count(a.lines, "Mage got 3 experience points."), 3);
}

TEST_F(ActionWorld, PotionThrowHealsFromThePotionAndLevellessReceiversGetNothing) {
    std::istringstream brew("TARGET ally COLOR 0 200 0 DMG -1.5 MP 2");
    potions.potions["HealingBrew"].read(brew);
    const int alchemist = character("Alma CLASS Alchemist MAXHP 20 HP 20 MAXMP 9 MP 9 STR 3 DEX 4 WIS 5 "
                                    "POTION HealingBrew SELPOTION HealingBrew");
    const int friendIndex = character("Pal CLASS Warrior MAXHP 20 HP 3");
    const int beast = character("Beast CLASS Monster MAXHP 5 HP 5");
    roster.party = {alchemist, friendIndex};
    // One representation: no spell; the damage (here healing) comes from the selected potion.
    ActionAnimation a = makeActionAnimation(alchemist, friendIndex, "", 0);
    a.xpReceiver = beast;
    EXPECT_NE(play(a, 4), -1);
    const int attack = roster.at(alchemist).getAttack();
    ASSERT_LT(attack, 0);
    EXPECT_EQ(roster.at(friendIndex).stats[HP], std::min(20, 3 - attack));
    EXPECT_EQ(count(a.lines, "Alma healed Pal by " + std::to_string(std::min(17, -attack)) + "."), 1);
    EXPECT_EQ(roster.at(alchemist).stats[MP], 7) << "the potion's MP is paid at the hit";
    for (const std::string& l : a.lines) EXPECT_EQ(l.find(" got "), std::string::npos) << l;

    // Healing never passes MAXHP.
    roster.at(friendIndex).stats[HP] = 19;
    ActionAnimation again = makeActionAnimation(alchemist, friendIndex, "", 0);
    EXPECT_NE(play(again, 4), -1);
    EXPECT_EQ(roster.at(friendIndex).stats[HP], 20);
}

TEST_F(ActionWorld, SpellEffectsStepAndResetCleanly) {
    spell("Bolt KIND Boltiolt TARGET enemy LEVELS 1 NUMEXPLOSIONS(1) 6");
    spell("Net KIND Hack TARGET enemy LEVELS 1 NUMEXPLOSIONS(1) 3 PICTUREBASE Gear 2");
    spell("Raid KIND Airstrike TARGET enemy LEVELS 1 NUMEXPLOSIONS(1) 4");
    spell("Beam KIND Laser TARGET enemy LEVELS 1 NUMEXPLOSIONS(1) 1");
    spell("Pop KIND Missle TARGET enemy LEVELS 1 NUMEXPLOSIONS(1) 1 PICTUREBASE Rocket 1");
    spell("Cure KIND Cure TARGET ally LEVELS 3 NUMEXPLOSIONS(3) 1");
    const Point tl{192, 108}, br{960, 1026};
    std::srand(5);
    for (const char* name : {"Bolt", "Net", "Raid", "Beam", "Cure"}) {
        MagicInstance m(name, tl, br, name == std::string("Cure") ? 3 : 1, 160);
        const std::set<int> bursts = m.effectFrames;
        for (int f = 0; f < 60; ++f) m.advance();
        const Point aim = m.laserTarget;
        m.reset();
        EXPECT_EQ(m.frame, 0) << name;
        EXPECT_TRUE(m.bolts.empty() && m.hackDots.empty() && m.planes.empty() && m.attrObjects.empty() &&
                    m.healParticles.empty() && m.bombs.empty())
            << name << " leaves records behind";
        EXPECT_EQ(m.effectFrames, bursts) << name;
        EXPECT_EQ(m.laserTarget, aim) << name;
        for (int f = 0; f < 160; ++f) m.advance();
        EXPECT_TRUE(m.advance()) << name << " ends at its duration";
    }
    // Cure at level 3: 900 sparkles on each odd frame of the first half, none at the end.
    MagicInstance cure("Cure", tl, br, 3, 160);
    cure.advance();
    EXPECT_EQ(cure.healParticles.size(), 900u);
    cure.advance();
    EXPECT_EQ(cure.healParticles.size(), 900u);
    while (!cure.advance()) {}
    EXPECT_TRUE(cure.healParticles.empty());
    // One burst: frame 1 only. A duration of 0 ends on the first step and draws no frames.
    EXPECT_EQ(MagicInstance("Beam", tl, br, 1, 160).effectFrames, (std::set<int>{1}));
    std::srand(9);
    MagicInstance none("Bolt", tl, br, 1, 0);
    const int next = std::rand();
    std::srand(9);
    EXPECT_EQ(next, std::rand()) << "no draws for the burst frames of an empty duration";
    EXPECT_EQ(none.effectFrames, (std::set<int>{0, 1}));
    EXPECT_TRUE(none.advance());

    // A plane from frame 10 to 40 crosses from x 1920 and drops once, at frame 30.
    MagicInstance raid("Raid", tl, br, 1, 160);
    raid.effectFrames.clear();
    raid.planes.push_back({100, 50, 10, 40, 0, 0, -1, 0, 0});
    raid.frame = 9;
    raid.advance();
    EXPECT_FLOAT_EQ(raid.planes[0].x, 1920.f);
    while (raid.frame < 29) raid.advance();
    EXPECT_EQ(raid.planes[0].dropFrame, -1);
    raid.advance();
    EXPECT_EQ(raid.planes[0].dropFrame, 30);
    raid.advance();
    EXPECT_EQ(raid.planes[0].dropFrame, 30);
    // A missile launched at 20 hits at 27 and counts 1, 2 ... from 28.
    MagicInstance pop("Pop", tl, br, 1, 160);
    pop.effectFrames.clear();
    MagicMissile mi;
    mi.launchFrame = 20;
    mi.hitFrame = 27;
    pop.missiles.push_back(mi);
    pop.frame = 26;
    pop.advance();
    EXPECT_EQ(pop.missiles[0].framesSinceHit, 0);
    pop.advance();
    EXPECT_EQ(pop.missiles[0].framesSinceHit, 1);
    // Two bolts ending together both go; the third stays.
    MagicInstance bolt("Bolt", tl, br, 1, 160);
    bolt.effectFrames.clear();
    bolt.bolts = {{300, 200, 700, 1}, {400, 200, 700, 5}, {500, 200, 700, 1}};
    bolt.advance();
    ASSERT_EQ(bolt.bolts.size(), 1u);
    EXPECT_EQ(bolt.bolts[0].x, 400);
    EXPECT_EQ(bolt.bolts[0].life, 4);
}

TEST_F(ActionWorld, TreasureDropsOnlyWhatThePartyCouldMatch) {
    const int hero = character("Hero CLASS Warrior MAXHP 20 HP 20");
    roster.party = {hero};
    item("Blade WEAPON DMG 1.0");
    item("Relic SPECIAL");
    const int apple = item("Apple USABLE HP 5");   // passes: only HP is above 0 (XP left out)
    item("Dust USABLE");                           // every bonus 0 (XP left out): never drops
    item("Seed USABLE STR 3");                     // scores 4, above the best 1
    item("Bangle ACCESSORY STR 1");                // scores 2
    const int plain = item("Pebble ACCESSORY");   // scores 1 (its XP factor)
    item("Scroll USABLE HP 2 ALLOWED Wizard");
    item("Crown ACCESSORY UNIQUE");
    std::vector<int> candidates;
    for (int i = 0; i < items.size(); ++i)
        if (isTreasureCandidate(items, i, 1)) candidates.push_back(i);
    EXPECT_EQ(candidates, (std::vector<int>{apple, plain}));
    // A better equipped item raises the cap.
    EXPECT_TRUE(isTreasureCandidate(items, 5, 2));
    for (unsigned seed = 1; seed < 40; ++seed) {
        std::srand(seed);
        const std::vector<int> loot = treasureDemonDrop(items);
        EXPECT_GE(loot.size(), 2u);
        EXPECT_LE(loot.size(), 5u);
        for (int i : loot) EXPECT_TRUE(i == apple || i == plain);
    }
    // No candidate: no loot, and only the count is drawn.
    ItemList bare;
    std::istringstream in("Blade WEAPON DMG 1.0");
    Item blade;
    blade.read(in);
    bare.items.push_back(blade);
    std::srand(3);
    std::rand();
    const int afterOneDraw = std::rand();
    std::srand(3);
    EXPECT_TRUE(treasureDemonDrop(bare).empty());
    EXPECT_EQ(std::rand(), afterOneDraw);

    PendingMessage message{"You found a shard!", true};
    EXPECT_EQ(popPendingMessage(message, true), "You found a shard!");
    EXPECT_TRUE(message.text.empty());
    EXPECT_FALSE(message.fanfare);
    EXPECT_EQ(popPendingMessage(message, false), "");
}

TEST_F(ActionWorld, DeadlyChanceAndAttackRange) {
    const int hero = character("Hero CLASS Warrior MAXHP 20 HP 20");
    const int gob = character("Gob CLASS Monster MAXHP 20 HP 20");
    roster.party = {hero};
    // The deadly draw: (rand() % 100) <= 4 for an enemy, <= 6 for a party member; the music digit
    // is drawn first.
    std::srand(21);
    int memberDeadly = 0, enemyDeadly = 0;
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        memberDeadly += makeActionAnimation(hero, gob, "", 0).deadly;
        enemyDeadly += makeActionAnimation(gob, hero, "", 0).deadly;
    }
    EXPECT_NEAR(memberDeadly / static_cast<double>(n), 0.07, 0.008);
    EXPECT_NEAR(enemyDeadly / static_cast<double>(n), 0.05, 0.008);
    std::srand(77);
    const int music = std::rand() % 10;
    const bool deadly = std::rand() % 100 <= 6;
    std::srand(77);
    const ActionAnimation a = makeActionAnimation(hero, gob, "", 0);
    EXPECT_EQ(a.attackMusic, "Attack" + std::to_string(music));
    EXPECT_EQ(a.deadly, deadly);

    // Reach: the weapon's RANGE, else 2 for throwers, 1 for the rest; sentries 3.
    const int bow = item("Longbow WEAPON DMG 1.2 RANGE 3 CLS wood");
    EXPECT_EQ(roster.at(hero).getAttackRange(), 1);
    roster.at(hero).weapon = bow;
    EXPECT_EQ(roster.at(hero).getAttackRange(), 3);
    EXPECT_EQ(roster.at(character("Cook CLASS FoodWarrior")).getAttackRange(), 2);
    EXPECT_EQ(roster.at(character("Sentry1 CLASS Tower")).getAttackRange(), 3);
}
