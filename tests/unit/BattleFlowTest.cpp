// Battles played through the real game frame with scripted key presses: every state of the
// battle is reached, victory, defeat with and without an exit, the menu's egress, the watch,
// practice and script battles, raised skeletons, towers built to their limit and the treasure
// demon; with the faults of the battle's bookkeeping that these runs once hit.
#include "BattleTestWorld.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>

namespace {

class BattleFlow : public BattleWorld {
protected:
    void SetUp() override {
        BattleWorld::SetUp();
        spell("Bolt KIND Boltiolt TARGET enemy LEVELS 1 DMG(1) 3 MP(1) 1 MINRANGE(1) 1 MAXRANGE(1) 8 RADIUS(1) 0");
        spell("Shield KIND Shield TARGET ally LEVELS 1 DMG(1) 0 MP(1) 1 MINRANGE(1) 0 MAXRANGE(1) 2 RADIUS(1) 0 ATTR(1) SHL 4.0");
        spell("RaiseSkeleton KIND BadMagic TARGET bones LEVELS 1 MP(1) 2 MINRANGE(1) 1 MAXRANGE(1) 8 RADIUS(1) 0");
        for (const char* b : {"BuildTeslaCoil", "BuildMissleLauncher", "BuildSawTrap", "BuildSentryTurret"})
            spell(std::string(b) + " KIND BuildTower TARGET anywhere LEVELS 1 MP(1) 1 MINRANGE(1) 0 MAXRANGE(1) 0 RADIUS(1) 0");
        potion("HealingBrew TARGET ally DMG -1.5 MP 1");
        potion("AcidFlask TARGET enemy DMG 1.0 MP 1 ATTR DEX 0.5");
    }
    // Enemies keep the stats written here: they count as already met in a saved game.
    int enemy(const std::string& line) {
        int i = character(line);
        roster.at(i).savedGameInitialised = true;
        return i;
    }
    void stand() {
        press(keys::Space);
        choose(shell->box1, "Stand");
    }
    bool menuHas(const std::string& text) {
        auto& o = shell->box1.options;
        return std::find(o.begin(), o.end(), text) != o.end();
    }
    // The open command menu's option, or Stand when the menu lacks it.
    void command(const std::string& text) { choose(shell->box1, menuHas(text) ? text : "Stand"); }
};

} // namespace

TEST_F(BattleFlow, APlayedBattleReachesEveryPlayerStateAndEndsInVictory) {
    character("Hero TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 500 HP 500 STR 40 DEX 40 SPD 60 MOB 3");
    character("Nox TYPE NORMAL CLASS Necromancer LEVEL 1 MAXHP 500 HP 500 MAXMP 90 MP 90 STR 1 DEX 1 SPD 50 MOB 3 MAGIC(1) RaiseSkeleton 1");
    character("Vera TYPE NORMAL CLASS Vampire LEVEL 1 MAXHP 500 HP 500 MAXMP 90 MP 90 STR 2 DEX 2 SPD 45 MOB 3");
    character("Alba TYPE NORMAL CLASS Alchemist LEVEL 1 MAXHP 500 HP 500 MAXMP 90 MP 90 STR 2 DEX 2 SPD 44 MOB 3 POTION HealingBrew POTION AcidFlask SELPOTION AcidFlask");
    character("Mago TYPE NORMAL CLASS Wizard LEVEL 1 MAXHP 500 HP 500 MAXMP 90 MP 90 STR 1 DEX 1 WIS 9 SPD 43 MOB 3 MAGIC(1) Bolt 1 MAGIC(1) Shield 1 ITEMS 1 Apple 2");
    for (int k = 1; k <= 5; ++k)
        character("Skeleton" + std::to_string(k) + " TYPE SKELETON CLASS Monster MOB 2");
    enemy("Imp1 TYPE MONSTER CLASS Monster BEH AGRESSIVE MAXHP 4 HP 4 STR 1 DEX 1 SPD 1 MOB 2");
    enemy("Imp2 TYPE MONSTER CLASS Monster BEH AGRESSIVE MAXHP 6 HP 6 STR 1 DEX 1 SPD 1 MOB 2");
    roster.party = {0, 1, 2, 3, 4};
    const auto before = who("Mago").stats;
    scene("Field", 14, 10, "");
    scene("Pit", 16, 11,
          "NPC <MAIN> 3 5\nBattle EGRESS Field MUSIC None ENEMIES 2 Imp1 Imp2 ENEMYPOS 4 5 ENEMYPOSNAME Imp2 8 5\n");
    enter("Pit", "Field");
    ASSERT_TRUE(battle().isActive());
    EXPECT_EQ(who("Imp1").tile, Point(4, 5));

    std::set<std::string> done;
    auto once = [&](const char* what) { return done.insert(what).second; };
    auto cast = [&](const std::string& spellText) {
        choose(shell->box1, "Magic");
        choose(shell->box2, spellText);
        frame();
        press(keys::Space);
    };
    for (int turns = 0; battle().isActive() && turns < 120; ++turns) {
        runUntil([&] { return !battle().isActive() || (battle().state == 1 && !shell->box1.active); });
        if (!battle().isActive()) break;
        const std::string name = actorName();
        if (name == "Hero" && once("cursor")) {
            press(keys::LControl); // the free cursor
            press(keys::Right);
            press(keys::Space); // on the enemy: its character view
            EXPECT_EQ(shell->shownCharacter, roster.indexOf("Imp1"));
            press(keys::LControl); // closes the view
            press(keys::LControl); // back to walking
            ASSERT_TRUE(untilPlayerTurn());
        }
        press(keys::Space);
        ASSERT_TRUE(shell->box1.active) << name;
        if (name == "Nox" && menuHas("Magic")) {
            cast("RaiseSkeleton L1");
            done.insert("raised");
        } else if (name == "Vera" && once("bat")) {
            choose(shell->box1, "BatTransform");
            press(keys::Up);
            press(keys::Up);
            press(keys::Space);
            EXPECT_EQ(who("Vera").stats[MP], 80);
        } else if (name == "Alba" && once("switch")) {
            choose(shell->box1, "Switch Potion");
            choose(shell->box2, "HealingBrew");
            frame();
            EXPECT_EQ(who("Alba").selectedPotion, "HealingBrew");
        } else if (name == "Mago" && once("item")) {
            choose(shell->box1, "Item");
            choose(shell->box2, "Apple");
            frame();
            EXPECT_EQ(who("Mago").inventory[1], 1);
        } else if (name == "Mago" && menuHas("Magic")) {
            cast(once("shield") ? "Shield L1" : "Bolt L1");
        } else {
            command("Attack");
            if (battle().state == 5) press(keys::Space);
        }
    }
    runUntil([&] { return battle().finished; });
    EXPECT_TRUE(battle().finished);
    EXPECT_TRUE(battle().won);
    EXPECT_FALSE(battle().inBattle);
    for (const char* d : {"raised", "bat", "switch", "item", "shield"}) EXPECT_TRUE(done.count(d)) << d;
    for (int s : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11}) EXPECT_TRUE(statesSeen.count(s)) << "state " << s;
    // The raised skeleton fought under a new name and has its own back; nothing stays in the party.
    EXPECT_EQ(roster.indexOf("Skeleton1"), 5);
    EXPECT_EQ(roster.party, (std::set<int>{0, 1, 2, 3, 4}));
    // The shield of the battle is given back before anything is kept: stats as before, bar levels.
    const auto& after = who("Mago").stats;
    const int levels = who("Mago").level - 1;
    EXPECT_EQ(after[SHL], before[SHL]);
    EXPECT_EQ(after[WIS], before[WIS] + 2 * levels);
    EXPECT_TRUE(battle().statModifiers.empty() && battle().modifierTurns.empty());
    // A finished battle no longer takes the frame: the leader walks.
    const Point at = who("Hero").tile;
    for (int i = 0; i < 10; ++i) frame({keys::Down});
    EXPECT_NE(who("Hero").tile, at);
}

TEST_F(BattleFlow, TowersAreBuiltToTheLimitOfEachKindWithTheirOwnCounters) {
    character("Tinker TYPE NORMAL CLASS Engineer LEVEL 1 MAXHP 900 HP 900 MAXMP 99 MP 99 STR 1 DEX 1 SPD 60 MOB 2 "
              "MAGIC(1) BuildTeslaCoil 1 MAGIC(1) BuildMissleLauncher 1 MAGIC(1) BuildSawTrap 1 MAGIC(1) BuildSentryTurret 1");
    for (const char* base : {"Tesla", "MissleLauncher", "SawTrap", "SentryTurret"})
        for (int k = 1; k <= 4; ++k)
            character(std::string(base) + std::to_string(k) + " TYPE TOWER CLASS Tower MOB 0 NOATTACK");
    enemy("Post1 TYPE IMAGE CLASS Monster BEH DEFENSIVE MAXHP 50 HP 50 SPD 1 MOB 0 NOATTACK");
    roster.party = {0};
    scene("Yard", 24, 8, "NPC <MAIN> 1 1\nBattle EGRESS Yard ENEMIES 1 Post1 ENEMYPOS 22 6\n");
    enter("Yard");
    const std::vector<std::string> order{"BuildTeslaCoil", "BuildMissleLauncher", "BuildSawTrap", "BuildSentryTurret"};
    int built = 0;
    bool sixSeen = false;
    for (int turn = 0; turn < 200 && built < 16; ++turn) {
        ASSERT_TRUE(untilPlayerTurn());
        if (actorName() != "Tinker") {
            stand();
            continue;
        }
        // A step east each turn keeps free cells beside the builder.
        press(keys::Right);
        idle(8);
        press(keys::Space);
        ASSERT_TRUE(choose(shell->box1, "Magic")) << ::testing::PrintToString(shell->box1.options);
        const std::string want = order[built / 4] + " L1";
        auto& o = shell->box2.options;
        if (built % 4 == 0 && built > 0) {
            // The kind before has reached its limit and is offered no more.
            const std::string full = order[built / 4 - 1] + " L1";
            EXPECT_EQ(std::count(o.begin(), o.end(), full), 0) << full;
        }
        ASSERT_TRUE(choose(shell->box2, want)) << want;
        frame();
        sixSeen = sixSeen || battle().state == 6;
        press(keys::Space);
        ++built;
    }
    EXPECT_TRUE(sixSeen);
    EXPECT_EQ(built, 16);
    for (int c : battle().towerCounters) EXPECT_EQ(c, 5);
    for (const char* base : {"Tesla", "MissleLauncher", "SawTrap", "SentryTurret"})
        for (int k = 1; k <= 4; ++k) EXPECT_TRUE(roster.party.count(roster.indexOf(base + std::to_string(k)))) << base << k;
    // No two towers on one cell.
    std::set<Point> cells;
    for (long long c : battle().turnList) EXPECT_TRUE(cells.insert(roster.at(c).tile).second);
}

TEST_F(BattleFlow, LostAndLeftBattlesFinishOnceWithOrWithoutAnExit) {
    character("Hero TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 3 HP 3 STR 1 DEX 1 SPD 9 MOB 3");
    // A joiner whose class has no levels: it joins without raising (no endless loop) and leaves once.
    character("Golem TYPE IMAGE CLASS Monster LEVEL 1 MAXHP 2 HP 2 STR 1 DEX 1 SPD 8 MOB 1");
    enemy("Brute TYPE MONSTER CLASS Monster BEH AGRESSIVE MAXHP 900 HP 900 STR 90 DEX 90 SPD 1 MOB 4");
    roster.party = {0};
    scene("Camp", 12, 8, "NPC <MAIN> 2 2\n");
    scene("Gate", 12, 8, "NPC <MAIN> 2 3\nBattle EGRESS Camp ENEMIES 1 Brute JOINS 1 Golem ENEMYPOS 6 3\n");
    scene("Den", 12, 8, "NPC <MAIN> 2 3\nBattle ENEMIES 1 Brute JOINS 1 Golem ENEMYPOS 6 3\n");
    for (const char* where : {"Gate", "Den"}) {
        enter(where, "Camp");
        ASSERT_TRUE(battle().isActive()) << where;
        EXPECT_TRUE(roster.party.count(1));
        Battle* fought = &shell->scenes[shell->findScene(where)].battle;
        for (int turn = 0; turn < 40 && !fought->finished; ++turn) {
            if (!runUntil([&] { return fought->finished || (fought->state == 1 && !shell->box1.active); })) break;
            if (fought->finished) break;
            stand();
        }
        ASSERT_TRUE(fought->finished) << where;
        EXPECT_FALSE(fought->won);
        EXPECT_FALSE(roster.party.count(1)) << "the joiner left the party";
        // Still "in battle" as the record says after a loss, so that it starts again on return,
        // but it no longer takes the frame and is not finished again.
        EXPECT_TRUE(fought->inBattle);
        EXPECT_FALSE(fought->isActive());
        EXPECT_EQ(who("Hero").stats[HP], 1);
        for (int i = 0; i < 30; ++i) frame();
        EXPECT_EQ(std::count(shell->scenes[shell->findScene(where)].persons.begin(),
                             shell->scenes[shell->findScene(where)].persons.end(), 1), 1);
    }
    // Through its exit the party stands in the camp; without one it stays in the den.
    EXPECT_EQ(shell->current().name, "Den");
    enter("Gate", "Camp");
    EXPECT_TRUE(battle().isActive()) << "a lost battle starts again on return";
    // A confirmed "Egress?" ends the battle it leaves.
    ASSERT_TRUE(untilPlayerTurn());
    press(keys::Space);
    choose(shell->box1, "Egress");
    press(keys::Right);
    press(keys::Space);
    idle(15);
    EXPECT_TRUE(shell->scenes[shell->findScene("Gate")].battle.finished);
    EXPECT_EQ(shell->current().name, "Camp");
}

TEST_F(BattleFlow, WatchPracticeScriptAndCancelledBattles) {
    character("Hero TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 300 HP 300 STR 30 DEX 30 SPD 9 MOB 3");
    int guard = enemy("Guard1 TYPE NORMAL CLASS Monster BEH MODERATE MAXHP 5 HP 5 STR 1 DEX 1 SPD 1 MOB 2");
    enemy("Dummy1 TYPE IMAGE CLASS Monster BEH DEFENSIVE MAXHP 5 HP 5 SPD 1 MOB 0 NOATTACK");
    int bandit = enemy("Bandit1 TYPE NORMAL CLASS Monster BEH AGRESSIVE MAXHP 5 HP 5 STR 1 DEX 1 SPD 1 MOB 2");
    roster.party = {0};
    // The watch: the guard looks south from (6, 2); the leader walks into its sight.
    scene("Yard", 12, 10, "NPC <MAIN> 2 5\nBattle EGRESS Yard WATCH ENEMIES 1 Guard1 ENEMYPOS 6 2\n");
    enter("Yard");
    EXPECT_FALSE(battle().inBattle);
    EXPECT_TRUE(battle().watch);
    roster.at(guard).setFacing(SOUTH);
    int frames = 0;
    while (!battle().inBattle && frames++ < 300) frame({keys::Right});
    ASSERT_TRUE(battle().inBattle) << "spotted";
    EXPECT_FALSE(battle().watch);
    EXPECT_EQ(who("Hero").tile.x, 5) << "the first column the guard sees";
    EXPECT_EQ(shell->current().message.lines.empty(), false);

    // Practice: it starts at every entry, the enemy levelled anew each time.
    scene("Dojo", 14, 10, "NPC <MAIN> 1 5\nBattle EGRESS Dojo PRACTICE SIFTER ENEMIES 1 Dummy1 ENEMYRANDOMPOS\n");
    // The roll counts its draws up from nothing and the dummy wears nothing, so a levelled dummy's
    // strength is never below 0: -1 is left only where no roll came.
    for (int round = 0; round < 2; ++round) {
        roster.at(roster.indexOf("Dummy1")).stats[STR] = -1;
        enter("Dojo", "Yard");
        EXPECT_TRUE(battle().isActive());
        EXPECT_GE(who("Dummy1").stats[STR], 0) << "levelled";
        const Point d = who("Dummy1").tile;
        EXPECT_GE(std::abs(d.x - 1) + std::abs(d.y - 5), 10);
        EXPECT_TRUE(d.x >= 1 && d.y >= 1 && d.x <= 12 && d.y <= 8);
        battle().finish(false);
    }

    // A script arms its battle once; the next frame starts it. A cancelled one never starts.
    scene("Road", 14, 10,
          "NPC <MAIN> 2 5\nTrigger 3 5\nSetStartingBattlePos Bandit1 7 5\nBattle EGRESS PREV ENEMIES 1 Bandit1\nEndTrigger\n"
          "Trigger 2 6\nBattle EGRESS PREV ENEMIES 1 Bandit1\nCancelBattle\nEndTrigger\n");
    enter("Road", "Yard");
    EXPECT_FALSE(battle().isActive());
    for (int i = 0; i < 12 && !battle().armed && !battle().isActive(); ++i) frame({keys::Right});
    EXPECT_TRUE(battle().armed || battle().isActive());
    frame();
    EXPECT_TRUE(battle().isActive());
    EXPECT_FALSE(battle().armed);
    EXPECT_EQ(roster.at(bandit).tile, Point(7, 5));
    EXPECT_EQ(battle().turnIndex, 0) << "a fresh turn order";
    battle().finish(false);
    shell->current().battle = Battle();
    shell->current().battle.sceneName = "Road";
    shell->current().runScript({"Battle EGRESS PREV ENEMIES 1 Bandit1", "CancelBattle"});
    frame();
    EXPECT_FALSE(battle().isActive());
    EXPECT_TRUE(battle().won);
}

TEST_F(BattleFlow, TheTreasureDemonArrivesOnAFreeCellAndEscapes) {
    character("Hero TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 300 HP 300 STR 1 DEX 1 SPD 9 MOB 3");
    enemy("Rock1 TYPE IMAGE CLASS Monster BEH DEFENSIVE MAXHP 99 HP 99 SPD 1 MOB 0 NOATTACK");
    const int demon = character("TreasureDemon TYPE MONSTER CLASS Monster BEH DEFENSIVE MOB 4 FLYING");
    roster.party = {0};
    scene("Vault", 12, 10, "NPC <MAIN> 2 5\nBattle EGRESS Vault ENEMIES 1 Rock1 ENEMYPOS 9 5\n");
    enter("Vault");
    Battle& b = battle();
    b.treasureChance = 1000; // the arrival itself is a draw of 3 in 1000 a turn
    bool arrived = false, escaped = false;
    for (int turn = 0; turn < 60 && !escaped; ++turn) {
        ASSERT_TRUE(untilPlayerTurn());
        if (b.treasureDemonPresent) {
            arrived = true;
            std::set<Point> cells;
            for (long long c : b.turnList) EXPECT_TRUE(cells.insert(roster.at(c).tile).second);
        }
        if (arrived && !b.treasureDemonPresent) escaped = true;
        EXPECT_EQ(actorName(), "Hero") << "the turn goes to the right combatant around the demon";
        stand();
    }
    EXPECT_TRUE(arrived);
    EXPECT_TRUE(escaped);
    EXPECT_EQ(std::count(b.turnList.begin(), b.turnList.end(), demon), 0);
    // It comes once a battle, whatever the chance.
    EXPECT_TRUE(b.treasureDemonArrived);
}

TEST_F(BattleFlow, LookingAroundWithTheFreeCursorLeavesTheActorItsOwnReach) {
    character("Hero TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 50 HP 50 STR 4 DEX 4 SPD 60 MOB 1");
    enemy("Imp1 TYPE MONSTER CLASS Monster BEH AGRESSIVE MAXHP 4 HP 4 STR 1 DEX 1 SPD 1 MOB 1");
    roster.party = {0};
    scene("Field", 14, 10, "");
    scene("Pit", 16, 11, "NPC <MAIN> 7 5\nBattle EGRESS Field MUSIC None ENEMIES 1 Imp1 ENEMYPOS 13 9\n");
    enter("Pit", "Field");
    for (int turn = 0; turn < 2; ++turn) {
        ASSERT_TRUE(untilPlayerTurn());
        const Point start = who("Hero").tile;
        // The cursor goes five cells east and comes back; then the hero walks west as far as it may.
        press(keys::LControl);
        for (int i = 0; i < 5; ++i) press(keys::Right);
        EXPECT_EQ(battle().actorTile, start + Point(5, 0));
        press(keys::LControl);
        ASSERT_TRUE(untilPlayerTurn());
        for (int i = 0; i < 60; ++i) frame({keys::Left});
        idle(20);
        EXPECT_EQ(who("Hero").tile, start - Point(1, 0)) << "turn " << turn;
        EXPECT_TRUE(battle().reachableCells.count(who("Hero").tile));
        stand();
    }
}

TEST_F(BattleFlow, EnemiesPlayOnlyTheirOwnPlansAndActFromTheirOwnCellWithoutMoves) {
    character("Hero TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 900 HP 900 STR 1 DEX 1 SPD 1 MOB 3");
    // Turn order: Guard, Stone, Orc, Robot, Hero. Guard plans with no moves (DEFENSIVE, MOB 1),
    // Stone has none at all; both stand beside the hero, as the orc does.
    enemy("Guard TYPE MONSTER CLASS Monster BEH DEFENSIVE MAXHP 50 HP 50 STR 5 DEX 5 SPD 90 MOB 1");
    enemy("Stone TYPE MONSTER CLASS Monster BEH AGRESSIVE MAXHP 50 HP 50 STR 5 DEX 5 SPD 80 MOB 0");
    enemy("Orc TYPE MONSTER CLASS Monster BEH AGRESSIVE MAXHP 50 HP 50 STR 5 DEX 5 SPD 70 MOB 1");
    const int robot = enemy("Robot TYPE R2ROBOT CLASS Robot BEH AGRESSIVE MAXHP 50 HP 50 STR 5 DEX 5 SPD 60 MOB 1");
    roster.party = {0};
    scene("Field", 14, 10, "");
    scene("Pit", 16, 11,
          "NPC <MAIN> 5 5\nBattle EGRESS Field MUSIC None ENEMIES 4 Guard Stone Orc Robot "
          "ENEMYPOSNAME Guard 4 5 ENEMYPOSNAME Stone 6 5 ENEMYPOSNAME Orc 5 4 ENEMYPOSNAME Robot 14 9\n");
    enter("Pit", "Field");
    ASSERT_TRUE(battle().isActive());
    // The robot fights for the hero for one more turn of its own, as if taken by HackControl.
    roster.insertPartyIndex(robot);
    battle().temporaryMembers[robot] = 1;
    battle().summonedCreatures[robot] = {0, "Robot"};
    std::set<std::string> acted;
    auto watch = [&] {
        const ActionAnimation& shown = battle().shownAction;
        if (shown.playing && shown.actor != NO_INDEX) acted.insert(roster.at(shown.actor).name);
        return battle().state == 1 && !shell->box1.active && actorName() == "Hero";
    };
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(runUntil(watch));
        stand();
    }
    EXPECT_EQ(acted, (std::set<std::string>{"Guard", "Stone", "Orc"}));
    EXPECT_FALSE(roster.party.count(robot)) << "back on the enemy side";
    EXPECT_EQ(who("Robot").tile, Point(14, 9));
}

// A replayed story seeds the numbers where opponents are about to be levelled and again at a
// battle's first turn. The same battle then starts alike however many numbers were drawn before
// it (levels, stats, turn order, cells), and the final opponent readied in his hall likewise;
// the fight then rolls alike however long the words that open it. Without the seeds they differ.
TEST_F(BattleFlow, FightsSeededAtLevellingAndFirstTurnPlayAlikeWhateverWasDrawnOrTypedBefore) {
    character("Hero TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 50 HP 50 STR 30 DEX 30 SPD 30 WIS 30 MOB 3");
    character("Ally TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 50 HP 50 STR 30 DEX 30 SPD 30 WIS 30 MOB 3");
    for (const char* imp : {"Imp1", "Imp2", "Imp3"})
        character(std::string(imp) + " TYPE MONSTER CLASS Monster BEH AGRESSIVE MOB 2");
    character("MadScientist TYPE MONSTER CLASS Monster TOG FINALBOSS MOB 2");
    roster.party = {0, 1};
    scene("Field", 30, 30, "");
    scene("Pit", 30, 30, "NPC <MAIN> 3 5\nBattle EGRESS Field MUSIC None ENEMIES 3 Imp1 Imp2 Imp3 ENEMYRANDOMPOS\n");
    scene("Hall", 10, 10, "NPC <MAIN> 3 5\nFinalHQ\n");
    auto stats = [&](const Character& c) {
        std::ostringstream out;
        out << c.name << " L" << c.level << " (" << c.tile.x << "," << c.tile.y << ")";
        for (Stat s : {STR, DEX, SPD, WIS, MAXHP, MAXMP}) out << " " << c.stats[s];
        return out.str() + ";";
    };
    // Each start after its own count of earlier draws: the turn list in order, every combatant's
    // level, stats and cell, then the final opponent as his hall readies him.
    auto startsAfter = [&](int draws) {
        for (int i = 0; i < draws; ++i) std::rand();
        enter("Pit", "Field");
        std::string seen;
        for (long long c : battle().turnList) seen += stats(roster.at(c));
        for (int i = 0; i < draws; ++i) std::rand();
        enter("Hall", "Field");
        return seen + " | " + stats(who("MadScientist"));
    };
    std::set<std::string> unseeded;
    for (int draws : {0, 1, 7}) unseeded.insert(startsAfter(draws));
    EXPECT_GT(unseeded.size(), 1u) << "the starts came out alike without a seed: this test shows nothing";

    // Each hook seeds, counts its calls and notes the frame; both are put back as they were.
    long seededAt = 0;
    int calls = 0, firstTurns = 0;
    auto seedAt = [&](unsigned seed, int* count) {
        return [&, seed, count] {
            ++*count;
            std::srand(seed);
            seededAt = framesRun;
        };
    };
    struct Restore {
        std::function<void()> levelling, firstTurn;
        ~Restore() {
            setBeforeLevellingHook(levelling);
            setBeforeFirstTurnHook(firstTurn);
        }
    } restore{setBeforeLevellingHook(seedAt(77, &calls)), setBeforeFirstTurnHook(nullptr)};
    const std::string first = startsAfter(0);
    for (int draws : {1, 7, 100}) EXPECT_EQ(startsAfter(draws), first) << draws << " draws before";
    EXPECT_EQ(calls, 8) << "a battle's start and the hall's readying each seed once";
    EXPECT_EQ(unseeded.count(first), 0u) << "the hook's seed was not what decided the start";

    // The words that open a fight type between its start and its first turn, and each frame a
    // replayed story draws meanwhile takes three numbers (one frame in eight, counted from the
    // latest seed). Seeded again at the first turn, the fight's own rolls (each action's attack
    // music and deadly hit, and the number after the turn's draws) are the same whatever the
    // words' length. Enemy choices and plain damage draw nothing: the rolls are what shows.
    character("TreasureDemon TYPE MONSTER CLASS Monster BEH DEFENSIVE MOB 4 FLYING");
    const auto cast = roster.characters;
    auto rollsUnderTitle = [&](int titleLength) {
        scene("Den" + std::to_string(titleLength), 12, 9,
              (titleLength ? "Title " + std::string(titleLength, 'w') + "\n" : std::string()) +
                  "NPC <MAIN> 3 4\nBattle EGRESS Field MUSIC None ENEMIES 3 Imp1 Imp2 Imp3 ENEMYPOSNAME Imp1 4 4 "
                  "ENEMYPOSNAME Imp2 2 4 ENEMYPOSNAME Imp3 3 3\n");
        roster.characters = cast; // each fight from the same party and opponents
        enter("Den" + std::to_string(titleLength), "Field");
        battle().treasureChance = 500; // whether the demon comes at the first turn is a roll of its own
        EXPECT_EQ(shell->current().textBoxActive(), titleLength > 0);
        for (int i = 0; i < 2000 && battle().isActive() && !battle().turnsBegun; ++i) {
            const bool words = shell->current().textBoxActive();
            frame(words && std::strcmp(shell->inputWait(), "ready") == 0 ? std::vector<int>{keys::Space} : std::vector<int>{});
            if (words && (framesRun - seededAt) % 8 == 0)
                for (int n = 0; n < 3; ++n) std::rand();
        }
        std::string rolls = (battle().treasureDemonPresent ? "demon; next " : "next ") + std::to_string(std::rand()) + ";";
        int actions = 0;
        bool playing = false;
        // The party stands; the opponents come and strike.
        auto partysTurn = [&] { return battle().state == Battle::PLAYER_MOVES && !battle().turnIntro && !shell->box1.active; };
        for (int turn = 0; turn < 100 && actions < 4 && battle().isActive(); ++turn) {
            if (partysTurn()) stand();
            runUntil([&] {
                const ActionAnimation& a = battle().shownAction;
                if (a.playing && !playing && ++actions <= 4) rolls += " " + a.attackMusic + (a.deadly ? " deadly;" : ";");
                playing = a.playing;
                return actions >= 4 || !battle().isActive() || partysTurn();
            });
        }
        EXPECT_EQ(actions, 4) << "the fight under a title of " << titleLength << " ended first";
        return rolls;
    };
    auto rollsUnderEachTitle = [&] {
        std::set<std::string> seen;
        for (int length : {0, 9, 40}) seen.insert(rollsUnderTitle(length));
        return seen;
    };
    EXPECT_GT(rollsUnderEachTitle().size(), 1u) << "seeded only at the start, the words' length moved nothing: this shows nothing";
    setBeforeFirstTurnHook(seedAt(78, &firstTurns));
    const std::set<std::string> seeded = rollsUnderEachTitle();
    EXPECT_EQ(seeded.size(), 1u) << "the words' length still moved the fight's rolls";
    EXPECT_EQ(firstTurns, 3) << "each battle's first turn seeds once";
}
