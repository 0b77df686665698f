// Handing the turn to the next combatant: the treasure demon's arrival and escape, what the
// actor can reach and do, the outcome, and the effects that last a number of turns.
#include "battle/BattleFlow.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <algorithm>
#include <deque>
#include <utility>

long long Battle::actorIndex() const {
    if (turnIndex < 0 || turnIndex >= static_cast<int>(turnList.size())) return NO_INDEX;
    return turnList[turnIndex];
}

bool Battle::removeFromTurnList(long long combatant) {
    auto it = std::find(turnList.begin(), turnList.end(), combatant);
    if (it == turnList.end()) return false;
    const int position = static_cast<int>(it - turnList.begin());
    turnList.erase(it);
    // The actor's own removal steps back as well, so that the next turn goes to the combatant
    // that moved into its place.
    if (position <= turnIndex) --turnIndex;
    return true;
}

void Battle::nextTurn() {
    if (!std::exchange(turnsBegun, true)) beforeFirstTurn(); // nothing below has drawn a number yet
    Scene& scene = battleScene(*this);
    // Fallen enemies leave bones only while a necromancer fights.
    necromancerPresent = false;
    for (long long c : turnList)
        if (people->at(c).className == "Necromancer") necromancerPresent = true;
    treasureDemonMayArrive();
    treasureDemonMayEscape();
    battleSound("BattleTurn");
    if (!turnList.empty()) passTurnOn();
    endIfOneSideIsGone(scene);
    const long long actor = actorIndex();
    if (actor != NO_INDEX) countDownTurnEffects(actor);
}

void Battle::treasureDemonMayArrive() {
    // It may turn up at the start of any turn, on a free cell: only a demon of the roster that
    // has not come yet in this battle.
    if (treasureDemonPresent || treasureDemonTurns != 0) return;
    const int r = std::rand() % 1000;
    const bool available = treasureDemon != NO_INDEX && treasureDemon < people->size() && !treasureDemonArrived &&
                           std::find(turnList.begin(), turnList.end(), treasureDemon) == turnList.end();
    if (r > treasureChance || !available) return;
    Character& demon = people->at(treasureDemon);
    demon.setLevel(people->partyAveragePower(), true);
    std::set<Point> taken;
    for (long long c : turnList)
        if (people->at(c).stats[HP] > 0) taken.insert(people->at(c).tile);
    Point cell = randomFreeCell();
    if (taken.count(cell)) cell = nearestFreeCell(cell, false, taken);
    if (taken.count(cell) || demon.stats[HP] <= 0) return;
    demon.setTilePosition(cell);
    battleSound("TreasureDemonAppear");
    turnList.push_back(treasureDemon);
    treasureDemonPresent = true;
    treasureDemonArrived = true;
}

void Battle::treasureDemonMayEscape() {
    // A demon that fled long enough escapes with its hoard.
    if (!treasureDemonPresent || treasureDemonTurns < treasureDemonTurnLimit) return;
    if (resources && resources->findSound("TreasureGoblinEscape")) battleSound("TreasureGoblinEscape");
    if (!removeFromTurnList(treasureDemon)) fatalAssert("Battle", 1769, "Odun");
    treasureDemonPresent = false;
}

void Battle::passTurnOn() {
    // The turn passes round the list.
    ++turnIndex;
    if (turnIndex >= static_cast<int>(turnList.size()) || turnIndex < 0) turnIndex = 0;
    const long long actor = turnList[turnIndex];
    Character& a = people->at(actor);
    const bool actorSide = isPlayerSide(actor);
    // Everyone faces the viewer again; the cells of the actor's opponents block its way.
    opponentCells.clear();
    for (long long c : turnList) {
        Character& ch = people->at(c);
        ch.previousFacing = ch.facing;
        ch.facing = SOUTH;
        ch.showBack = false;
        if (c != actor && isPlayerSide(c) != actorSide) opponentCells.insert(ch.tile);
    }
    // The actor's reach and everything it could do this turn, the free cursor starting on it.
    computeReachable();
    towerCells.clear();
    options = listEnemyOptions(actor);
    actorTile = turnStartTile = a.tile;
    // What the last enemy left planned is not this actor's. A creature that goes back to the
    // enemies when its time with the party ends (countDownTurnEffects) gets ENEMY_ACTS without a
    // plan of its own and must play nothing.
    pendingAction = BattleAction();
    path.clear();
    if (!actorSide) pendingAction = moveEnemy();
    // The view travels to the actor before the turn is played.
    turnIntro = true;
}

void Battle::endIfOneSideIsGone(Scene& scene) {
    // A treasure demon does not keep the battle going.
    bool playerSide = false, enemySide = false;
    for (long long c : turnList) {
        if (treasureDemonPresent && c == treasureDemon) continue;
        (isPlayerSide(c) ? playerSide : enemySide) = true;
    }
    if (playerSide && !enemySide) {
        scene.message.setText("Quorvane defeated the enemies!");
        won = true;
        state = BATTLE_OVER;
        fade = largeMonsters.empty() ? 0 : fadeFull;
        turnIntro = false;
    } else if (!playerSide) {
        scene.message.setText("Quorvane was defeated!");
        won = false;
        state = BATTLE_OVER;
        turnIntro = false;
    }
}

void Battle::countDownTurnEffects(long long actor) {
    // The actor's invisibility, stat changes and time with the party each run out on its own
    // turns.
    if (auto it = invisibleTurns.find(actor); it != invisibleTurns.end() && --it->second < 1)
        invisibleTurns.erase(it);
    if (auto it = modifierTurns.find(actor); it != modifierTurns.end() && --it->second < 1) {
        modifierTurns.erase(it);
        clearStatModifiers(actor);
    }
    if (auto it = temporaryMembers.find(actor); it != temporaryMembers.end() && --it->second < 1) {
        temporaryMembers.erase(it);
        if (people->party.count(static_cast<int>(actor))) people->erasePartyIndex(static_cast<int>(actor));
        auto s = summonedCreatures.find(actor);
        if (s != summonedCreatures.end()) {
            people->at(actor).name = s->second.ownName;
            summonedCreatures.erase(s);
        }
    }
}

void Battle::computeReachable() {
    reachableCells.clear();
    frontierCells.clear();
    const long long actor = actorIndex();
    if (actor == NO_INDEX) return;
    const Scene& scene = battleScene(*this);
    const Character& a = people->at(actor);
    const int m = a.stats[MOB];
    std::set<Point> monsterCells;
    for (const LargeMonster& monster : largeMonsters) monsterCells.insert(monster.cells.begin(), monster.cells.end());
    std::deque<std::pair<Point, int>> queue{{a.tile, 0}};
    while (!queue.empty()) {
        auto [p, d] = queue.front();
        queue.pop_front();
        if (d > m) break;
        if (reachableCells.count(p)) continue;
        reachableCells.insert(p);
        if (d == m) frontierCells.insert(p);
        for (Point q : {p.offset(0, 1), p.offset(0, -1), p.offset(-1, 0), p.offset(1, 0)}) {
            if (scene.isBlocked(q, a.flying) || !scene.isInside(q)) continue;
            if (opponentCells.count(q) || monsterCells.count(q)) continue;
            queue.push_back({q, d + 1});
        }
    }
}
