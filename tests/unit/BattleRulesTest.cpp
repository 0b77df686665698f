// The battle's rules called directly: the grid path search and its scene routing, the enemy's
// candidates and plans, turn-list removals, the treasure demon's arrival, the reuse of a live
// record, stat changes that must come undone, and the save after a victory.
#include "BattleTestWorld.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

class BattleRules : public BattleWorld {
protected:
    void SetUp() override {
        BattleWorld::SetUp();
        spell("Bolt KIND Boltiolt TARGET enemy LEVELS 1 DMG(1) 1 MP(1) 1 MINRANGE(1) 1 MAXRANGE(1) 3 RADIUS(1) 1");
        spell("RaiseSkeleton KIND BadMagic TARGET bones LEVELS 1 MP(1) 1 MINRANGE(1) 1 MAXRANGE(1) 1 RADIUS(1) 0");
        spell("BuildSawTrap KIND BuildTower TARGET anywhere LEVELS 1 MP(1) 1 MINRANGE(1) 0 MAXRANGE(1) 0 RADIUS(1) 0");
        potion("AcidFlask TARGET enemy DMG 1.0 MP 1 ATTR DEX 0.5");
        hero = character("Hero TYPE NORMAL CLASS Warrior LEVEL 1 MAXHP 50 HP 50 STR 5 DEX 8 SPD 9 MOB 3");
        roster.party = {hero};
        s = &scene("Plain", 12, 10, "");
        shell->currentScene = shell->findScene("Plain");
        b().sceneName = "Plain";
        b().gridSize = s->mapSize();
    }
    Battle& b() { return s->battle; }
    int foe(const std::string& line, Point at) {
        int i = character(line);
        roster.at(i).setTilePosition(at);
        return i;
    }
    // A running battle with this turn list, the first one acting.
    void fight(std::vector<long long> turns, int acting = 0) {
        b().turnList = std::move(turns);
        b().turnIndex = acting;
        b().inBattle = true;
    }
    int hero = 0;
    Scene* s = nullptr;
};

} // namespace

TEST_F(BattleRules, PathSearchFollowsMoveStylesSidesAndLimits) {
    roster.at(hero).setTilePosition({2, 2});
    int wolf = foe("Wolf MOB 3", {5, 2});
    fight({hero, wolf});
    // Already there: the start alone.
    EXPECT_EQ(b().findPath({2, 2}, {{2, 2}}, true, 3, false), (std::vector<std::vector<Point>>{{{2, 2}}}));
    // A goal an opponent holds is none.
    EXPECT_TRUE(b().findPath({2, 2}, {{5, 2}}, true, 9, false).empty());
    // Limit 3 with stop: a goal 3 steps off is 4 cells with the start, too long.
    EXPECT_TRUE(b().findPath({2, 2}, {{2, 5}}, true, 3, true).empty());
    auto far = b().findPath({2, 2}, {{2, 5}}, true, 3, false);
    ASSERT_EQ(far.size(), 1u);
    EXPECT_EQ(far[0].back(), Point(2, 5));
    EXPECT_EQ(far[0].size(), 3u);
    // Open ground: the way bends toward larger coordinates first.
    auto bend = b().findPath({2, 2}, {{4, 4}}, true, 9, false);
    ASSERT_EQ(bend.size(), 1u);
    EXPECT_EQ(bend[0].front(), Point(3, 2));
    // One path per goal, in the order reached.
    auto two = b().findPath({2, 2}, {{2, 3}, {2, 6}}, true, 20, false);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].back(), Point(2, 3));
    // Move styles: a pawn only goes south, a rook keeps its line within the limit.
    Character& w = roster.at(wolf);
    fight({wolf, hero});
    w.moveStyle = MoveStyle::PAWNSOUTH;
    EXPECT_TRUE(b().findPath({5, 2}, {{6, 4}}, false, 9, false).empty());
    EXPECT_EQ(b().findPath({5, 2}, {{5, 6}}, false, 9, false).size(), 1u);
    w.moveStyle = MoveStyle::ROOK;
    EXPECT_TRUE(b().findPath({5, 2}, {{7, 4}}, false, 20, false).empty());
    EXPECT_EQ(b().findPath({5, 2}, {{5, 7}}, false, 20, false).size(), 1u);
    // NOTRANSP goes round an ally; without it the ally is passed.
    w.moveStyle = MoveStyle::NORMAL;
    int ally = foe("Cub MOB 1", {5, 3});
    fight({wolf, hero, ally});
    s->blocked[0] = {{4, 3}, {6, 3}};
    auto through = b().findPath({5, 2}, {{5, 5}}, false, 9, false);
    ASSERT_EQ(through.size(), 1u);
    EXPECT_EQ(through[0].size(), 3u);
    w.noTransp = true;
    auto round = b().findPath({5, 2}, {{5, 5}}, false, 9, false);
    ASSERT_EQ(round.size(), 1u);
    EXPECT_GT(round[0].size(), 3u);
}

TEST_F(BattleRules, SceneRoutingGoesRoundPeopleAndGivesTheTurnBack) {
    int walker = foe("Walker", {1, 1});
    int other = foe("Other", {3, 1});
    s->persons = {walker, other};
    roster.at(hero).setTilePosition({1, 3});
    roster.mainCharacterIndex = hero;
    fight({hero, other, walker}, 2);
    b().frontierCells.clear();
    auto way = b().findPathOnScene(walker, {1, 1}, {5, 1});
    ASSERT_FALSE(way.empty());
    EXPECT_EQ(way.back(), Point(5, 1));
    for (Point p : way) EXPECT_NE(p, Point(3, 1)) << "a person stands there";
    // The borrowed turn list and the acting index both come back.
    EXPECT_EQ(b().turnList, (std::vector<long long>{hero, other, walker}));
    EXPECT_EQ(b().turnIndex, 2);
    // The hero's own cell is no way through either.
    EXPECT_TRUE(b().findPathOnScene(walker, {1, 1}, {1, 3}).empty());
}

TEST_F(BattleRules, EnemiesListNeitherRaisingNorBuildingAndThrowPotionsInOneShape) {
    int necro = foe("Necro CLASS Necromancer MAXMP 50 MP 50 MOB 3 MAGIC(1) RaiseSkeleton 1 MAGIC(1) BuildSawTrap 1 MAGIC(1) Bolt 1", {5, 5});
    int brewer = foe("Brewer CLASS Alchemist MAXMP 50 MP 50 MOB 2 POTION AcidFlask SELPOTION AcidFlask", {5, 7});
    roster.at(hero).setTilePosition({4, 5});
    b().bones[{6, 6}] = hero;
    fight({necro, brewer, hero});
    for (const BattleAction& a : b().listEnemyOptions(necro)) {
        EXPECT_NE(a.spell.name, "RaiseSkeleton");
        EXPECT_NE(a.spell.name, "BuildSawTrap");
    }
    EXPECT_TRUE(b().towerCells.empty());
    fight({brewer, necro, hero});
    auto throws = b().listEnemyOptions(brewer);
    ASSERT_FALSE(throws.empty());
    for (const BattleAction& a : throws) {
        EXPECT_EQ(a.spell, NO_SPELL);
        EXPECT_EQ(a.potion, "AcidFlask");
    }
    // The same spells in the party's hands are offered, with the tower cells they need.
    roster.party.insert(necro);
    fight({necro, brewer, hero});
    bool raise = false, build = false;
    for (const BattleAction& a : b().listEnemyOptions(necro)) {
        raise = raise || a.spell.name == "RaiseSkeleton";
        build = build || a.spell.name == "BuildSawTrap";
    }
    EXPECT_TRUE(raise && build);
    EXPECT_FALSE(b().towerCells.empty());
}

TEST_F(BattleRules, RemovalsKeepTheTurnOnTheRightCombatantAndTheDemonComesOnlyWhenItCan) {
    int a = foe("A", {1, 1}), c = foe("C", {1, 2}), d = foe("D", {1, 3});
    fight({hero, a, c, d}, 3);
    // The last one leaves on its own turn: the next turn wraps to the first.
    EXPECT_TRUE(b().removeFromTurnList(d));
    b().treasureChance = -1;
    b().nextTurn();
    EXPECT_EQ(b().actorIndex(), hero);
    // One before the actor leaves: the same actor keeps the turn.
    fight({hero, a, c, d}, 2);
    b().removeFromTurnList(a);
    EXPECT_EQ(b().actorIndex(), c);
    // The actor itself leaves: the one that moved into its place is next.
    b().removeFromTurnList(c);
    b().nextTurn();
    EXPECT_EQ(b().actorIndex(), d);

    // No demon in the roster: no arrival, whatever the draw.
    b().treasureChance = 1000;
    b().treasureDemon = roster.indexOf("TreasureDemon");
    for (int i = 0; i < 5; ++i) b().nextTurn();
    EXPECT_FALSE(b().treasureDemonPresent);
    // A demon already in the battle does not come again, and it lands on a free cell.
    int demon = foe("TreasureDemon CLASS Monster MOB 3", {0, 0});
    b().treasureDemon = demon;
    fight({hero, a, d}, 0);
    b().nextTurn();
    ASSERT_TRUE(b().treasureDemonPresent);
    std::set<Point> cells;
    for (long long x : b().turnList) EXPECT_TRUE(cells.insert(roster.at(x).tile).second);
    EXPECT_FALSE(s->isBlocked(roster.at(demon).tile, false));
    b().treasureDemonPresent = false;
    b().nextTurn();
    EXPECT_EQ(std::count(b().turnList.begin(), b().turnList.end(), demon), 1);
    // Its own plan: it walks as an enemy (the party blocks it) or flees.
    b().treasureDemonPresent = true;
    b().turnIndex = static_cast<int>(std::find(b().turnList.begin(), b().turnList.end(), demon) - b().turnList.begin());
    b().treasureDemonFleeChance = 0;
    b().treasureDemonTurns = 0;
    b().treasureDemonGoal = roster.at(hero).tile.offset(0, 1);
    b().planEnemyTurn();
    for (Point p : b().path) EXPECT_NE(p, roster.at(hero).tile);
    // A destination walled in is given up for another one.
    // (a pocket on the far side from the demon, closed by two blocked cells and the outer wall)
    const bool west = roster.at(demon).tile.x < 6;
    const Point walled = west ? Point{10, 1} : Point{1, 8};
    for (Point p : west ? std::vector<Point>{{9, 1}, {10, 2}} : std::vector<Point>{{2, 8}, {1, 7}}) s->blocked[0].insert(p);
    s->blocked[1] = s->blocked[0];
    roster.at(demon).flying = false;
    b().treasureDemonGoal = walled;
    b().planEnemyTurn();
    EXPECT_NE(b().treasureDemonGoal, walled);
    b().treasureDemonFleeChance = 100;
    b().planEnemyTurn();
    EXPECT_EQ(b().treasureDemonTurns, 1);
}

TEST_F(BattleRules, AReusedRecordStartsCleanAndFinishesOnce) {
    int imp = foe("Imp CLASS Monster MAXHP 5 HP 5 MOB 2", {8, 5});
    int pal = character("Pal CLASS Monster MAXHP 5 HP 5 MOB 2");
    roster.at(hero).setTilePosition({2, 5});
    roster.mainCharacterIndex = hero;
    b().load("EGRESS Plain ENEMIES 1 Imp ENEMYPOS 8 5 JOINS 1 Pal");
    b().sceneName = "Plain";
    b().gridSize = s->mapSize();
    b().start();
    EXPECT_EQ(roster.at(pal).level, 1) << "a joiner without levels stays as it is";
    // Stale state from a battle that never finished.
    b().turnIndex = 7;
    b().statModifiers[hero][STR] = 3;
    b().modifierTurns[hero] = 2;
    b().summonedCreatures[imp] = {hero, "Imp"};
    b().towerCounters[2] = 4;
    b().invisibleTurns[hero] = 2;
    b().start();
    EXPECT_EQ(b().turnIndex, -1);
    EXPECT_TRUE(b().statModifiers.empty() && b().modifierTurns.empty() && b().summonedCreatures.empty());
    EXPECT_TRUE(b().invisibleTurns.empty());
    EXPECT_EQ(b().towerCounters[2], 1);
    // No two combatants on a cell, even where the party would have spread onto the enemy.
    std::set<Point> cells;
    for (long long x : b().turnList) EXPECT_TRUE(cells.insert(roster.at(x).tile).second);
    const int strength = roster.at(hero).stats[STR];
    b().statModifiers[hero][STR] = 4;
    roster.at(hero).addStat(STR, 4);
    b().modifierTurns[hero] = 3;
    b().finish(false);
    b().finish(false);
    EXPECT_EQ(roster.at(hero).stats[STR], strength);
    EXPECT_FALSE(roster.party.count(pal));
    EXPECT_EQ(std::count(s->persons.begin(), s->persons.end(), pal), 1);
}

TEST_F(BattleRules, AVictoryIsSavedWithoutTheBattlesStatChanges) {
    shell->playerName = "BattleRulesSave";
    std::filesystem::create_directories("SaveGames/BattleRulesSave");
    const int shield = roster.at(hero).stats[SHL];
    b().inBattle = true;
    b().turnList = {hero};
    b().statModifiers[hero][SHL] = 3;
    roster.at(hero).addStat(SHL, 3);
    b().modifierTurns[hero] = 2;
    b().finish(true);
    std::ifstream in("SaveGames/BattleRulesSave/people.save");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("Character Hero"), std::string::npos);
    EXPECT_EQ(text.str().find("SHL " + std::to_string(shield + 3)), std::string::npos) << text.str();
    EXPECT_EQ(roster.at(hero).stats[SHL], shield);
    std::filesystem::remove_all("SaveGames/BattleRulesSave");
}

TEST_F(BattleRules, APotionThrownTwiceChangesTheStatOnce) {
    int imp = foe("Imp CLASS Monster MAXHP 50 HP 50 DEX 40 MOB 2", {3, 3});
    fight({hero, imp});
    b().chosenKey = {"", 0, "AcidFlask"};
    b().applyPotionFactors("AcidFlask", imp);
    EXPECT_EQ(roster.at(imp).stats[DEX], 20);
    b().applyPotionFactors("AcidFlask", imp);
    EXPECT_EQ(roster.at(imp).stats[DEX], 20) << "the first change is given back before the second";
    b().finish(false);
    EXPECT_EQ(roster.at(imp).stats[DEX], 40);
}
