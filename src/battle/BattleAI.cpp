// What a combatant could do this turn, and for an enemy, what it does: where it walks and which
// action it takes there.
#include "battle/BattleFlow.hpp"

#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

int distance(Point a, Point b) { return std::abs(a.x - b.x) + std::abs(a.y - b.y); }

// Healing that would do nothing: HP-only healing at full HP, MP-only at full MP, both at both.
bool wouldWaste(float dmg, float mpDmg, const Character& t) {
    const bool hpFull = t.stats[HP] == t.stats[MAXHP];
    const bool mpFull = t.stats[MP] == t.stats[MAXMP];
    if (dmg < -0.001f && std::fabs(mpDmg) <= 0.001f && hpFull) return true;
    if (mpDmg < -0.001f && std::fabs(dmg) <= 0.001f && mpFull) return true;
    if (dmg <= 0.001f && mpDmg <= 0.001f && (dmg < -0.001f || mpDmg < -0.001f) && hpFull && mpFull)
        return true;
    return false;
}

int skeletonCounterOf(const Battle& b, const std::string& spell) {
    if (spell == "RaiseSkeleton") return b.skeletonCounters[0];
    if (spell == "RaiseMageSkeleton") return b.skeletonCounters[1];
    return b.skeletonCounters[2];
}

int towerCounterOf(const Battle& b, const std::string& spell) {
    if (spell == "BuildTeslaCoil") return b.towerCounters[0];
    if (spell == "BuildMissleLauncher") return b.towerCounters[1];
    if (spell == "BuildSentryTurret") return b.towerCounters[3];
    return b.towerCounters[2];
}

// Drops the end of a cut path that would leave the walker on another combatant's cell.
void trimOccupiedEnd(const Battle& b, std::vector<Point>& path) {
    while (!path.empty() && b.isOccupied(path.back())) path.pop_back();
}

// One actor's options, gathered kind by kind. The order they are listed in breaks ties between
// equally good plans, so each kind keeps its place and each walk over cells its order.
class OptionList {
public:
    OptionList(Battle& battle, long long actor)
        : b(battle), scene(battleScene(battle)), actor(actor), a(people->at(actor)), side(isPlayerSide(actor)),
          mob(a.stats[MOB]), known(a.availableMagic()) {}

    void addBoneSpells();
    void addTowerSpells();
    void addSpellsOnSelf();
    void addActionsOn(long long t);
    std::vector<BattleAction> take() { return std::move(out); }

private:
    bool isFree(Point c) const { return scene.isInside(c) && !scene.isBlocked(c, a.flying) && !b.isOccupied(c); }
    // Calls fn with every free cell within the actor's reach whose distance from the centre lies
    // between lo and hi, column by column.
    template <class Fn>
    void eachFreeCellAround(Point centre, int lo, int hi, Fn&& fn) const {
        for (int x = centre.x - hi; x <= centre.x + hi; ++x)
            for (int y = centre.y - hi; y <= centre.y + hi; ++y) {
                const Point c{x, y};
                const int d = distance(c, centre);
                if (d >= lo && d <= hi && distance(c, a.tile) <= mob && isFree(c)) fn(c);
            }
    }
    // The open, unoccupied cells beside a cell: a tower needs one.
    std::vector<Point> openNeighbours(Point c) const;
    void addAttackOrThrow(long long t, const Character& target);
    void addSpellsOn(long long t, const Character& target);
    void add(int target, Point cell, const SpellRef& spell, const std::string& potion, const std::set<int>& further) {
        BattleAction action;
        action.initAction(target, cell, spell, potion, further);
        out.push_back(action);
    }

    Battle& b;
    const Scene& scene;
    const long long actor;
    const Character& a;
    const bool side;
    const int mob;
    const std::vector<std::pair<std::string, int>> known;
    std::vector<BattleAction> out;
};

// Raising a skeleton from bones that lie open, from a free cell at the spell's range from them.
void OptionList::addBoneSpells() {
    for (const auto& [name, level] : known) {
        const Magic& m = magicRepository->get(name);
        if (m.target != TARGET_BONES) continue;
        if (skeletonCounterOf(b, name) > 5 || m.mpAt(level) > a.stats[MP]) continue;
        const int lo = m.minRangeAt(level), hi = m.maxRangeAt(level);
        const SpellRef spell{name, level}; // named: some compilers refuse bindings in lambdas
        for (auto& [bone, fallen] : b.bones) {
            if (b.isOccupied(bone) || scene.isBlocked(bone, false)) continue;
            const int raised = static_cast<int>(fallen);
            eachFreeCellAround(bone, lo, hi, [&](Point c) { add(raised, c, spell, "", {}); });
        }
    }
}

std::vector<Point> OptionList::openNeighbours(Point c) const {
    std::vector<Point> around;
    for (Direction d : DIRECTIONS) {
        Point q = c;
        movePoint(q, d, 1);
        if (!scene.isBlocked(q, false) && scene.isInside(q) && !b.isOccupied(q)) around.push_back(q);
    }
    return around;
}

// Building a tower on a free cell within reach with an open cell beside it; the battle keeps
// those cells for the player's choice of where the tower goes.
void OptionList::addTowerSpells() {
    for (const auto& [name, level] : known) {
        const Magic& m = magicRepository->get(name);
        if (m.target != TARGET_ANYWHERE) continue;
        if (m.minRangeAt(level) != 0 || m.maxRangeAt(level) != 0)
            fatalAssert("Battle", 1314, "Towers can only have 0 attack range");
        if (towerCounterOf(b, name) > 4) continue;
        const SpellRef spell{name, level};
        eachFreeCellAround(a.tile, 0, mob, [&](Point c) {
            std::vector<Point> around = openNeighbours(c);
            if (around.empty()) return;
            add(NO_INDEX, c, spell, "", {});
            b.towerCells[c] = std::move(around);
        });
    }
}

// A spell for the caster's side that may fall on the caster itself (least range 0): cast on the
// caster from any free cell within reach, taking in the allies within its radius of that cell;
// not when it would only restore what the caster has full.
void OptionList::addSpellsOnSelf() {
    for (const auto& [name, level] : known) {
        const Magic& m = magicRepository->get(name);
        if (m.target == TARGET_BONES || m.minRangeAt(level) > 0 || m.mpAt(level) > a.stats[MP]) continue;
        if (m.target != TARGET_ALLY) continue;
        if (wouldWaste(m.dmgAt(level), m.mpDmgAt(level), a)) continue;
        const int radius = m.radiusAt(level);
        const SpellRef spell{name, level};
        eachFreeCellAround(a.tile, 0, mob, [&](Point c) {
            std::set<int> further;
            for (long long o : b.turnList)
                if (o != actor && isPlayerSide(o) == side && distance(people->at(o).tile, c) <= radius)
                    further.insert(static_cast<int>(o));
            add(static_cast<int>(actor), c, spell, "", further);
        });
    }
}

// Actions on another living combatant that is not invisible, from the free cells within reach at
// the action's range: an attack or a thrown potion, then spells.
void OptionList::addActionsOn(long long t) {
    if (t == actor) return;
    const Character& target = people->at(t);
    if (target.stats[HP] < 1 || b.invisibleTurns.count(t)) return;
    addAttackOrThrow(t, target);
    addSpellsOn(t, target);
}

// An attack on the other side; an alchemist throws its potion instead, on the side it suits.
void OptionList::addAttackOrThrow(long long t, const Character& target) {
    const bool sameSide = isPlayerSide(t) == side;
    const int index = static_cast<int>(t);
    if (a.className != "Alchemist") {
        if (!sameSide && a.mayAttack)
            eachFreeCellAround(target.tile, 0, a.getAttackRange(), [&](Point c) { add(index, c, NO_SPELL, "", {}); });
        return;
    }
    if (a.selectedPotion.empty()) return;
    // One shape for thrown potions, the player's and the enemies': no spell, the potion in its
    // own field.
    const Potion& potion = potionRepository->get(a.selectedPotion);
    const bool healingOnly = potion.dmg < 0 && potion.attr.empty() && target.stats[HP] == target.stats[MAXHP];
    const bool rightSide = potion.target == TARGET_ALLY ? sameSide : !sameSide;
    if (potion.mp <= a.stats[MP] && !healingOnly && rightSide)
        eachFreeCellAround(target.tile, 0, a.getAttackRange(),
                           [&](Point c) { add(index, c, NO_SPELL, a.selectedPotion, {}); });
}

// The spells for the target's side; one with a radius takes in the target's allies around it.
void OptionList::addSpellsOn(long long t, const Character& target) {
    const bool sameSide = isPlayerSide(t) == side;
    const Point tt = target.tile;
    for (const auto& [name, level] : known) {
        const Magic& m = magicRepository->get(name);
        const SpellRef spell{name, level};
        if (m.target == TARGET_BONES || m.mpAt(level) > a.stats[MP]) continue;
        if (side == false && m.target == TARGET_ANYWHERE) continue;
        if (m.target == TARGET_ALLY ? !sameSide : sameSide) continue;
        if (m.target == TARGET_ENEMY_ROBOT && !target.isRobot()) continue;
        if (wouldWaste(m.dmgAt(level), m.mpDmgAt(level), target)) continue;
        const int radius = m.radiusAt(level);
        eachFreeCellAround(tt, m.minRangeAt(level), m.maxRangeAt(level), [&](Point c) {
            std::set<int> further;
            if (radius > 0)
                for (long long o : b.turnList) {
                    if (o == t || isPlayerSide(o) != isPlayerSide(t)) continue;
                    const Point op = people->at(o).tile;
                    if (op != c && distance(op, tt) <= radius) further.insert(static_cast<int>(o));
                }
            add(static_cast<int>(t), c, spell, "", further);
        });
    }
}

} // namespace

bool ActionScore::operator<(const ActionScore& o) const {
    if (targets != o.targets) return targets > o.targets;
    if (spellScore != o.spellScore) return spellScore > o.spellScore;
    if (maxHp != o.maxHp) return maxHp < o.maxHp;
    if (maxMp != o.maxMp) return maxMp < o.maxMp;
    return pathLength < o.pathLength;
}

bool Battle::isOccupied(Point cell) const {
    const long long actor = actorIndex();
    for (long long c : turnList)
        if (c != actor && people->at(c).tile == cell) return true;
    return false;
}

Point Battle::randomFreeCell() const {
    const Scene& scene = battleScene(*this);
    const int rows = scene.mapHeight(), columns = scene.mapWidth();
    // A grid without a single open cell gives its corner rather than an endless draw.
    for (int attempt = 0; attempt < 100000; ++attempt) {
        const int y = randomBelow(rows);
        const int x = randomBelow(columns);
        if (!scene.isBlocked({x, y}, false)) return {x, y};
    }
    return {0, 0};
}

std::vector<BattleAction> Battle::listEnemyOptions(long long actor) {
    OptionList list(*this, actor);
    // The tower cells are those of this actor's options alone.
    towerCells.clear();
    // Raising skeletons and building towers go through their own paths, which only the player's
    // menus take; an enemy never plans them.
    if (isPlayerSide(actor)) {
        list.addBoneSpells();
        list.addTowerSpells();
    }
    list.addSpellsOnSelf();
    for (long long t : turnList) list.addActionsOn(t);
    return list.take();
}

ActionScore Battle::scoreAction(const BattleAction& candidate, int pathLength) const {
    ActionScore score;
    if (candidate.target != NO_INDEX) {
        score.maxHp = people->at(candidate.target).stats[MAXHP];
        score.maxMp = people->at(candidate.target).stats[MAXMP];
    }
    score.targets = static_cast<int>(candidate.furtherTargets.size()) + 1;
    if (candidate.spell == NO_SPELL) {
        score.spellScore = 0;
    } else {
        const Magic& m = magicRepository->get(candidate.spell.name);
        const int radius = m.radiusAt(candidate.spell.level);
        const int cells = radius == 1 ? 5 : radius == 2 ? 13 : 1;
        score.spellScore = static_cast<int>(score.targets * 100 / cells + m.dmgAt(candidate.spell.level) * 100);
    }
    score.pathLength = pathLength;
    return score;
}

PlannedAction Battle::planEnemyTurn() {
    PlannedAction none;
    const long long actor = actorIndex();
    if (actor == NO_INDEX) return none;
    const Character& a = people->at(actor);
    const int mob = a.stats[MOB];
    // The treasure demon runs about and, sooner or later, away: once it starts fleeing it counts
    // its turns toward its escape and stays where it is.
    if (actor == treasureDemon) {
        if (std::rand() % 100 < treasureDemonFleeChance || treasureDemonTurns > 0) {
            ++treasureDemonTurns;
            battleSound("SalomaoHeart");
            path.clear();
            return none;
        }
        if (treasureDemonGoal.x < 0 || a.tile == treasureDemonGoal) treasureDemonGoal = randomFreeCell();
        // It moves as an enemy; a destination it cannot reach is given up for another.
        auto paths = findPath(a.tile, {treasureDemonGoal}, isPlayerSide(actor), 0, false);
        for (int attempt = 0; attempt < 10 && paths.empty(); ++attempt) {
            treasureDemonGoal = randomFreeCell();
            paths = findPath(a.tile, {treasureDemonGoal}, isPlayerSide(actor), 0, false);
        }
        path.clear();
        if (!paths.empty()) {
            path = paths.front();
            if (static_cast<int>(path.size()) > mob) path.resize(std::max(0, mob));
            trimOccupiedEnd(*this, path);
        }
        none.action.cell = treasureDemonGoal;
        none.path = path;
        return none;
    }
    // A defensive enemy walks half its reach; it heads for any cell it could act from.
    const bool aggressive = a.behaviour == Behaviour::AGRESSIVE;
    const int moves = a.behaviour == Behaviour::DEFENSIVE ? mob / 2 : mob;
    std::set<Point> goals;
    for (const BattleAction& o : options) goals.insert(o.cell);
    if (goals.empty()) return none;
    // Only an aggressive enemy heads for goals beyond this turn's walk; any other stays when
    // even the nearest is out of it.
    auto paths = findPath(a.tile, goals, false, moves, !aggressive);
    if (paths.empty()) return none;
    // The way that takes the fewest turns wins; the first found of equal ones.
    auto turnsFor = [&](const std::vector<Point>& p) {
        const int len = static_cast<int>(p.size());
        if (moves == 0) return len == 1 ? 1 : 999;
        return (len + moves - 1) / moves;
    };
    std::size_t chosen = 0;
    for (std::size_t i = 1; i < paths.size(); ++i)
        if (turnsFor(paths[i]) < turnsFor(paths[chosen])) chosen = i;
    const std::vector<Point>& way = paths[chosen];
    if (way.empty()) fatalAssert("Battle", 1640, "What is wrong with this path");
    // A cautious enemy with a post does not leave it for a target two turns or more away.
    const bool hasPost = posts.count(actor) > 0;
    if (turnsFor(way) >= 2 && !aggressive && hasPost) return none;
    // Of the actions from the way's end, the best scored (the last listed of equal scores).
    std::map<ActionScore, PlannedAction> scored;
    for (const BattleAction& o : options) {
        if (o.cell != way.back()) continue;
        scored[scoreAction(o, static_cast<int>(way.size()))] = {o, way};
    }
    if (scored.empty()) {
        path.clear();
        return none;
    }
    // An action from the actor's own cell takes no step, so even an enemy without moves acts. A
    // way too long for this turn is walked as far as the reach goes, without acting.
    PlannedAction best = scored.begin()->second;
    if (best.action.cell == a.tile) {
        best.path.clear();
    } else if (static_cast<int>(best.path.size()) > moves) {
        best.path.resize(std::max(0, std::min(static_cast<int>(best.path.size()), mob)));
        best.action.target = NO_INDEX;
        trimOccupiedEnd(*this, best.path);
    }
    path = best.path;
    return best;
}

BattleAction Battle::moveEnemy() {
    const long long actor = actorIndex();
    PlannedAction plan = planEnemyTurn();
    if (actor == NO_INDEX) return plan.action;
    const Character& a = people->at(actor);
    auto post = posts.find(actor);
    if (a.behaviour == Behaviour::AGRESSIVE || post == posts.end() || plan.action.target != NO_INDEX)
        return plan.action;
    // Nothing to do from here: back toward the post.
    BattleAction none;
    auto paths = findPath(a.tile, {post->second}, false, a.stats[MOB], false);
    if (!paths.empty()) {
        path = paths.front();
        if (static_cast<int>(path.size()) > a.stats[MOB]) path.resize(std::max(0, a.stats[MOB]));
        trimOccupiedEnd(*this, path);
    }
    return none;
}
