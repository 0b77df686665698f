// Starting a battle (levels, joiners, turn order, placement on the grid) and finishing it
// (joiners and raised combatants handed back, battle-time stat changes undone, the save), and
// whether a combatant carries such a change (the character view marks it).
#include "battle/BattleFlow.hpp"
#include "battle/CloseUpBackdropDraw.hpp"

#include "characters/People.hpp"
#include "game/DialogSound.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Audio/Music.hpp>

#include <algorithm>
#include <deque>

Scene& battleScene(const Battle& battle) {
    if (battle.routingScene) return const_cast<Scene&>(*battle.routingScene);
    if (battle.sceneName.empty()) return game->current();
    return game->sceneByName(battle.sceneName);
}

bool isPlayerSide(long long combatant) { return people->isMember(static_cast<int>(combatant)); }

void battleSound(const std::string& name) { playDialogSound(name); }

sf::Music* battleMusic(const std::string& name) {
    if (name.empty()) return nullptr;
    return findDialogMusic(name);
}

namespace {

void putOnCell(Character& c, Point cell) { c.setTilePosition(cell); }

const Point NEIGHBOUR_ORDER[4] = {{0, 1}, {0, -1}, {-1, 0}, {1, 0}};

} // namespace

void Battle::resetRuntime() {
    // Everything a battle changes while it runs starts afresh; the definition and what the
    // scene set from outside stay.
    const Battle fresh;
    state = NEXT_TURN;
    blink = 0;
    turnList.clear();
    reachableCells.clear();
    frontierCells.clear();
    actorTile = {};
    turnStartTile = {};
    turnIndex = -1;
    turnIntro = false;
    path.clear();
    options.clear();
    pendingAction = BattleAction();
    shownAction = ActionAnimation();
    opponentCells.clear();
    menuActions.clear();
    chosenKey = BattleMenuKey();
    selection = 0;
    towerCells.clear();
    walking = 0;
    dying = NO_INDEX;
    dyingCloud = DotCloud();
    deathCountdown = fresh.deathCountdown;
    treasureDemonPresent = false;
    treasureDemonTurns = 0;
    treasureDemonGoal = {-1, -1};
    treasureDemonArrived = false;
    fade = fresh.fade;
    invisibleTurns.clear();
    statModifiers.clear();
    modifierTurns.clear();
    temporaryMembers.clear();
    watchedCells.clear();
    bat = BatForm();
    necromancerPresent = false;
    bones.clear();
    std::fill(std::begin(skeletonCounters), std::end(skeletonCounters), 1);
    std::fill(std::begin(towerCounters), std::end(towerCounters), 1);
    summonedCreatures.clear();
    finished = false;
    armed = false;
    turnsBegun = false;
    sceneRouting_ = false;
}

void Battle::start() {
    beforeLevelling(); // nothing below draws a number before the enemies are levelled
    Scene& scene = battleScene(*this);
    // The treasure demon may turn up in any battle: its roster index is looked up once.
    treasureDemon = people->indexOf("TreasureDemon");
    // The loot of the last battle fought here is gone.
    if (!droppedItems.empty()) {
        for (auto& [row, list] : scene.drops)
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](const DroppedItem& d) { return droppedItems.count(d.item) > 0; }),
                       list.end());
        droppedItems.clear();
    }
    resetRuntime();
    levelEnemies();
    lineUpCombatants();
    // The scripts' starting cells come first, then the cells the definition lists for enemies.
    for (auto& [index, cell] : presetTiles) putOnCell(people->at(index), cell);
    if (!enemyPositions.empty()) placeEnemies();
    if (enemyRandomPos) scatterEnemies(scene);
    consoleLine("Battle started in ", scene.name);
    // A stealth battle places the party only once an enemy spots the leader.
    if (watch) {
        inBattle = false;
        settleOverlaps();
    } else {
        placeParty();
    }
}

void Battle::levelEnemies() {
    // Enemies come up to the party's strength, unless their definition or their saved line
    // marks them SAVED (a practice battle always levels them afresh).
    const int power = people->partyAveragePower();
    for (long long e : enemies) {
        Character& c = people->at(e);
        if (!c.savedGameInitialised || practice) {
            c.setLevel(power, false);
            people->syncNumberedSiblings(static_cast<int>(e));
        }
    }
}

void Battle::lineUpCombatants() {
    for (long long e : enemies) turnList.push_back(e);
    // A sifter battle is fought by the main character alone.
    std::set<int> combatants = people->party;
    if (sifter) combatants = {people->mainCharacterIndex};
    // Joiners come up to the party's median level (only characters that have levels rise),
    // rested, and fight as members.
    for (int j : joins) {
        Character& c = people->at(j);
        c.raiseToLevel(people->partyMedianLevel());
        c.stats[HP] = c.stats[MAXHP];
        c.stats[MP] = c.stats[MAXMP];
        people->insertPartyIndex(j);
        combatants.insert(j);
    }
    for (int m : combatants) turnList.push_back(m);
    // The faster act first, then the more dexterous. Stable, so that equal combatants keep their
    // order and replays repeat.
    std::stable_sort(turnList.begin(), turnList.end(), [](long long a, long long b) {
        const Character& ca = people->at(a);
        const Character& cb = people->at(b);
        const int sa = std::max(1, ca.stats[SPD]), sb = std::max(1, cb.stats[SPD]);
        if (sa != sb) return sa > sb;
        return std::max(1, ca.stats[DEX]) > std::max(1, cb.stats[DEX]);
    });
}

void Battle::scatterEnemies(const Scene& scene) {
    // Scattered enemies land on free cells of their box, at least ten steps from the leader, so
    // that the party is not caught at once; an enemy that finds none in 100 tries stays put.
    const Point size = scene.mapSize();
    if (enemyBoxX0 == -1) {
        enemyBoxX0 = 1;
        enemyBoxX1 = size.x - 1;
        enemyBoxY0 = 1;
        enemyBoxY1 = size.y - 1;
    }
    // A box given in the file is kept on the grid.
    const int x0 = std::clamp(enemyBoxX0, 0, std::max(0, size.x - 1));
    const int x1 = std::clamp(enemyBoxX1, x0, std::max(x0, size.x - 1));
    const int y0 = std::clamp(enemyBoxY0, 0, std::max(0, size.y - 1));
    const int y1 = std::clamp(enemyBoxY1, y0, std::max(y0, size.y - 1));
    const Point main = people->mainCharacter().tile;
    std::set<Point> taken;
    for (auto& [index, cell] : presetTiles) taken.insert(cell);
    taken.insert(main);
    for (long long e : enemies) {
        Character& c = people->at(e);
        bool keyed = false;
        for (auto& [key, cells] : enemyPositions)
            if (c.name.find(key) != std::string::npos) keyed = true;
        if (keyed) {
            taken.insert(c.tile);
            continue;
        }
        if (presetTiles.count(e)) continue;
        for (int attempt = 0; attempt < 100; ++attempt) {
            const int y = y0 + randomBelow(y1 - y0);
            const int x = x0 + randomBelow(x1 - x0);
            const Point p{x, y};
            if (std::abs(main.x - x) + std::abs(main.y - y) < 10) continue;
            if (scene.isBlocked(p, c.flying) || !scene.isInside(p)) continue;
            if (taken.count(p)) continue;
            putOnCell(c, p);
            break;
        }
        taken.insert(c.tile);
    }
}

void Battle::placeParty() {
    Scene& scene = battleScene(*this);
    Character& main = people->mainCharacter();
    const Point s = main.tile;
    const Point size = scene.mapSize();
    // Joiners are already on their cells: only the other members are placed around the leader.
    std::set<int> members = people->party;
    for (int j : joins) {
        if (!members.count(j)) fatalAssert("Battle", 939, "");
        members.erase(j);
    }
    // Cells that placed combatants hold: no member is put on one.
    std::set<Point> taken;
    for (long long c : turnList)
        if (!isPlayerSide(c) && people->at(c).stats[HP] > 0) taken.insert(people->at(c).tile);
    for (auto& [index, cell] : presetTiles) taken.insert(cell);
    for (int j : joins) taken.insert(people->at(j).tile);
    // The cells nearest the leader, found by a spread over the open grid, one per member.
    std::deque<Point> queue;
    for (const Point& d : NEIGHBOUR_ORDER) queue.push_back(s + d);
    std::set<Point> collected;
    std::set<Point> seen;
    const int wanted = static_cast<int>(members.size()) - 1;
    while (!queue.empty() && static_cast<int>(collected.size()) < wanted) {
        const Point p = queue.front();
        queue.pop_front();
        if (scene.isBlocked(p, false) || p.x < 0 || p.y < 0 || p.x >= size.x || p.y >= size.y) continue;
        if (p == s || !seen.insert(p).second) continue;
        // A cell held by another combatant is passed over; the spread goes on through it.
        if (!taken.count(p)) collected.insert(p);
        if (static_cast<int>(collected.size()) >= wanted) break;
        for (const Point& d : NEIGHBOUR_ORDER) queue.push_back(p + d);
    }
    // Members go to those cells in roster order; a member with a starting cell keeps it.
    auto cell = collected.begin();
    for (int m : members) {
        if (m == people->mainCharacterIndex) continue;
        if (presetTiles.count(m)) continue;
        if (cell == collected.end()) break;
        putOnCell(people->at(m), *cell++);
    }
    state = NEXT_TURN;
    // The battle's own music, if it has one, takes over from the scene's.
    if (!music.empty()) {
        if (!scene.music.empty()) game->pauseSceneMusic();
        if (sf::Music* m = battleMusic(music)) m->play();
    }
    // Enemies start the fight rested.
    for (long long e : enemies) {
        Character& c = people->at(e);
        c.stats[HP] = c.stats[MAXHP];
        c.stats[MP] = c.stats[MAXMP];
    }
    // A large monster's members stand at their offsets from its base.
    for (LargeMonster& monster : largeMonsters)
        for (auto& [member, offset] : monster.members) putOnCell(people->at(member), monster.base + offset);
    settleOverlaps();
}

void Battle::placeEnemies() {
    Scene& scene = battleScene(*this);
    const Point size = scene.mapSize();
    std::set<Point> taken;
    for (auto& [index, cell] : presetTiles) taken.insert(cell);
    taken.insert(people->mainCharacter().tile);
    for (auto& [key, cells] : enemyPositions) {
        // The enemies whose names hold the key (all of them for ""), less those with a starting
        // cell; the search may cross what blocks walkers only when every one of them flies.
        std::vector<long long> matched;
        bool allFly = true;
        for (long long e : enemies) {
            const Character& c = people->at(e);
            if (presetTiles.count(e) || c.name.find(key) == std::string::npos) continue;
            matched.push_back(e);
            if (!c.flying) allFly = false;
        }
        // The listed cells must be on the grid and open.
        std::deque<Point> queue;
        for (const Point& p : cells) {
            if (p.x < 0 || p.y < 0 || p.x >= size.x || p.y >= size.y) fatalAssert("Battle", 1015, "Inside");
            if (scene.isBlocked(p, allFly))
                fatalAssert("Battle", 1016, "Taken " + std::to_string(p.x) + "," + std::to_string(p.y));
            queue.push_back(p);
        }
        // The spread goes out from the listed cells; cells already given to other combatants are
        // passed over.
        std::set<Point> collected;
        std::set<Point> seen;
        while (!queue.empty() && collected.size() < matched.size()) {
            const Point p = queue.front();
            queue.pop_front();
            if (scene.isBlocked(p, allFly) || p.x < 0 || p.y < 0 || p.x >= size.x || p.y >= size.y) continue;
            if (!seen.insert(p).second) continue;
            if (!taken.count(p)) collected.insert(p);
            for (const Point& d : NEIGHBOUR_ORDER) queue.push_back(p + d);
        }
        // Enemies left without a cell stay where they stand.
        auto cell = collected.begin();
        for (long long e : matched) {
            if (cell == collected.end()) break;
            putOnCell(people->at(e), *cell++);
        }
    }
}

Point Battle::nearestFreeCell(Point from, bool flying, const std::set<Point>& taken) const {
    const Scene& scene = battleScene(*this);
    std::deque<Point> queue{from};
    std::set<Point> seen{from};
    while (!queue.empty()) {
        const Point p = queue.front();
        queue.pop_front();
        if (scene.isInside(p) && !scene.isBlocked(p, flying) && !taken.count(p)) return p;
        for (const Point& d : NEIGHBOUR_ORDER) {
            const Point q = p + d;
            if (scene.isInside(q) && seen.insert(q).second) queue.push_back(q);
        }
    }
    return from;
}

void Battle::settleOverlaps() {
    // No two living combatants share a cell: the main character and preset tiles keep theirs,
    // anyone else standing on a held cell moves to the nearest free one.
    std::vector<long long> order;
    const long long main = people->mainCharacterIndex;
    if (std::find(turnList.begin(), turnList.end(), main) != turnList.end()) order.push_back(main);
    for (auto& [index, cell] : presetTiles)
        if (std::find(turnList.begin(), turnList.end(), index) != turnList.end()) order.push_back(index);
    for (long long c : turnList)
        if (std::find(order.begin(), order.end(), c) == order.end()) order.push_back(c);
    const Scene& scene = battleScene(*this);
    std::set<Point> taken;
    for (long long c : order) {
        Character& ch = people->at(c);
        if (ch.stats[HP] < 1) continue;
        if (taken.count(ch.tile) || !scene.isInside(ch.tile) || scene.isBlocked(ch.tile, ch.flying))
            putOnCell(ch, nearestFreeCell(ch.tile, ch.flying, taken));
        taken.insert(ch.tile);
    }
}

void Battle::finish(bool wonBattle) {
    if (finished) return;
    finished = true;
    // No close-up until the next battle: its kept backdrop is let go.
    closeUpBackdrop().release();
    Scene& scene = battleScene(*this);
    consoleLine("Battle ", wonBattle ? "won" : "lost", " in ", scene.name);
    // Joiners leave the party and stay in the scene as its people.
    for (int j : joins) {
        if (j == NO_INDEX) continue;
        if (people->party.count(j)) people->erasePartyIndex(j);
        scene.addPerson(j);
    }
    // Creatures brought over for the battle go back, with their own names.
    for (auto& [index, creature] : summonedCreatures) {
        if (people->party.count(static_cast<int>(index))) people->erasePartyIndex(static_cast<int>(index));
        people->at(index).name = creature.ownName;
    }
    // Nobody of the party stays fallen after a battle.
    for (int m : people->party)
        if (people->at(m).stats[HP] < 1) people->at(m).stats[HP] = 1;
    // The battle's stat changes are undone before the save: it must not keep a buff or debuff
    // that was active at the end.
    for (auto& [index, turns] : modifierTurns) {
        auto mods = statModifiers.find(index);
        if (mods == statModifiers.end()) fatalAssert("Battle", 2870, "oduncu");
        for (auto& [stat, amount] : mods->second) people->at(index).addStat(static_cast<Stat>(stat), -amount);
    }
    modifierTurns.clear();
    statModifiers.clear();
    invisibleTurns.clear();
    temporaryMembers.clear();
    summonedCreatures.clear();
    // A won battle leaves the battle mode and saves the game; a lost one has gone back a scene.
    if (wonBattle) {
        inBattle = false;
        game->saveGame();
    }
}

void Battle::clearStatModifiers(long long combatant) {
    auto mods = statModifiers.find(combatant);
    if (mods == statModifiers.end()) fatalAssert("Battle", 1897, people->at(combatant).name);
    for (auto& [stat, amount] : mods->second) people->at(combatant).addStat(static_cast<Stat>(stat), -amount);
    // Undone: nothing is left to undo again at the end of the battle.
    mods->second.clear();
}

bool Battle::hasStatModifier(long long combatant, Stat stat) const {
    if (!modifierTurns.count(combatant)) return false;
    const auto entry = statModifiers.find(combatant);
    // Turns counted without any change recorded: the two records have come apart.
    if (entry == statModifiers.end()) fatalAssert("Battle", 2886, combatant);
    const auto amount = entry->second.find(int(stat));
    return amount != entry->second.end() && amount->second != 0;
}
