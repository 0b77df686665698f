// The battle's frame: the watch phase of a stealth battle, deaths and loot, the view's trip to
// the next actor, the walk along a planned path, and one step of the state machine, one function
// per state (Battle::BattleState names them).
#include "battle/BattleFlow.hpp"

#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "battle/Treasure.hpp"
#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Audio/Music.hpp>

#include <algorithm>

namespace {

constexpr int VIEW_STEP = 40; // pixels per axis and frame while the view goes to the actor
constexpr int SIGHT = 8;      // cells along a sight line

bool livingOtherOn(const Battle& b, long long self, Point cell) {
    for (long long c : b.turnList) {
        if (c == self) continue;
        const Character& ch = people->at(c);
        if (ch.stats[HP] > 0 && ch.tile == cell) return true;
    }
    return false;
}

// Left or Up one back, Right or Down one on, each with the turn sound.
void stepSelection(int& selection) {
    const InputFlags& in = game->input;
    if (in.leftPressed || in.upPressed) {
        --selection;
        battleSound("BattleTurn");
    }
    if (in.rightPressed || in.downPressed) {
        ++selection;
        battleSound("BattleTurn");
    }
}

void wrap(int& selection, int count) {
    if (selection < 0) selection = count - 1;
    if (selection >= count) selection = 0;
}

std::set<Point> blockedFor(const Scene& scene, const Character& c) {
    return scene.blocked[c.flying ? 1 : 0];
}

} // namespace

bool Battle::updateWatch() {
    Scene& scene = battleScene(*this);
    const Point size = scene.mapSize();
    for (long long e : enemies) {
        Character& c = people->at(e);
        // People of the scene walk with the scene; the others take their step here.
        if (std::find(scene.persons.begin(), scene.persons.end(), e) == scene.persons.end())
            c.move(nullptr, size, blockedFor(scene, c), c.flying ? std::set<Point>{} : extraWalkerCells);
        Point across{0, 0};
        if (c.facing == NORTH || c.facing == SOUTH) across = {1, 0};
        else across = {0, 1};
        for (Point from : {c.targetTile, c.tile - across, c.tile + across}) {
            Point p = from;
            for (int i = 0; i < SIGHT; ++i) {
                if (!scene.isInside(p) || scene.isBlocked(p, c.flying)) break;
                watchedCells.insert(p);
                movePoint(p, c.facing, 1);
            }
        }
    }
    if (!watchedCells.count(people->mainCharacter().tile)) return false;
    watch = false;
    inBattle = true;
    placeParty();
    game->showMessage("Spotted");
    return true;
}

void Battle::update() {
    // Large monsters animate even while a close-up plays.
    for (LargeMonster& m : largeMonsters) {
        if (++m.tick == m.ticksPerFrame) {
            m.frame = m.frameCount > 0 ? (m.frame + 1) % m.frameCount : 0;
            m.tick = 0;
        }
    }
    // The actor's marker blinks every other frame; the watched cells are found afresh.
    blink = !blink;
    watchedCells.clear();
    // A stealth battle only watches until the leader is spotted.
    if (watch && updateWatch()) return;
    if (!inBattle || finished) return;
    // The battle music stays paused while a close-up plays its own.
    if (!shownAction.playing) {
        sf::Music* m = battleMusic(music);
        if (m && m->getStatus() == sf::Music::Stopped) m->play();
    }
    if (sceneName.empty()) fatalAssert("Battle", 1964, sceneName);
    Scene& scene = battleScene(*this);
    // Nothing else moves while the close-up plays.
    shownAction.update(sceneName);
    if (shownAction.playing) return;
    updateCombatants();
    if (dying != NO_INDEX) {
        waitOutDeath(scene);
        return;
    }
    const long long actor = actorIndex();
    if (turnIntro && actor != NO_INDEX) {
        bringViewToActor(scene, actor);
        return;
    }
    turnIntro = false;
    if (walking == 1 && actor != NO_INDEX && walkPlannedPath(scene, actor)) return;
    stateStep();
    // The cell frames flash a new colour every frame, drawn after whatever the step drew.
    const sf::Uint8 r = randomChannel(), g = randomChannel(), b = randomChannel();
    flashColor = sf::Color(r, g, b, 255);
}

void Battle::updateCombatants() {
    // A combatant that fell starts dying, one at a time: it leaves the turn list at once, its
    // summons fall with it and a necromancer may raise its bones later.
    const std::vector<long long> combatants = turnList;
    for (long long c : combatants) {
        Character& ch = people->at(c);
        ch.update();
        if (ch.stats[HP] >= 1 || dying != NO_INDEX) continue;
        dying = c;
        deathCountdown = deathDelay;
        battleSound("death");
        dyingCloud.pos = ch.pixel;
        dyingCloud.dots = 100;
        dyingCloud.colourful = false;
        if (!removeFromTurnList(c)) fatalAssert("Battle", 1976, ":-<");
        if (c == treasureDemon) treasureDemonPresent = false;
        people->ensureLivingMain();
        for (auto& [creature, record] : summonedCreatures)
            if (record.summoner == c) people->at(creature).stats[HP] = 0;
        if (!isPlayerSide(c) && necromancerPresent && !ch.isRobot()) bones[ch.tile] = c;
    }
}

void Battle::waitOutDeath(Scene& scene) {
    // The battle waits out the death; then an enemy's equipment (and the treasure demon's
    // hoard) drops on the ground near where it fell.
    if (--deathCountdown > 0) return;
    const Character& dead = people->at(dying);
    if (!isPlayerSide(dying)) {
        std::vector<int> loot = dead.equippedItems();
        if (dying == treasureDemon && itemList) {
            const std::vector<int> more = treasureDemonDrop(*itemList);
            loot.insert(loot.end(), more.begin(), more.end());
        }
        for (int item : loot) {
            scene.dropItemNear(item, dead.tile);
            droppedItems.insert(item);
        }
    }
    dying = NO_INDEX;
}

void Battle::bringViewToActor(Scene& scene, long long actor) {
    // A new turn first takes the view to its actor; then the actor's side decides the state.
    const Point target = scene.findFreeTile(people->at(actor).pixel);
    if (scene.view != target) {
        approach(scene.view, target, VIEW_STEP);
        scene.camera = scene.view;
        return;
    }
    turnIntro = false;
    state = isPlayerSide(actor) ? PLAYER_MOVES : ENEMY_ACTS;
}

bool Battle::walkPlannedPath(Scene& scene, long long actor) {
    // An enemy walking its planned way finishes the walk before anything else happens.
    Character& a = people->at(actor);
    const bool moving = a.move(nullptr, gridSize, {}, {});
    scene.placeAtFreeTile(a.pixel);
    scene.camera = scene.view;
    if (moving) return true;
    if (!path.empty()) {
        a.startMoveTo(path.front());
        path.erase(path.begin());
        return true;
    }
    walking = 0;
    return false;
}

void Battle::openCommandMenu() {
    const long long actor = actorIndex();
    Character& a = people->at(actor);
    std::vector<std::string> menu{"Stand", "Egress"};
    bool usable = false;
    for (auto& [item, count] : a.inventory)
        if (count > 0 && itemList && item >= 0 && item < static_cast<int>(itemList->items.size()) &&
            itemList->at(item).type == Item::USABLE)
            usable = true;
    if (usable) menu.push_back("Item");
    if (a.className == "Vampire" && a.stats[MP] > 10) menu.push_back("BatTransform");
    menuActions.clear();
    for (const BattleAction& o : options)
        if (o.cell == a.tile) menuActions[{o.spell.name, o.spell.level, o.potion}].push_back(o);
    if (a.className == "Alchemist") menu.push_back("Switch Potion");
    bool spell = false, plain = false, potion = false;
    for (auto& [key, list] : menuActions) {
        if (!key.spell.empty()) spell = true;
        else if (!key.potion.empty()) potion = true;
        else plain = true;
    }
    if (spell) menu.insert(menu.begin(), "Magic");
    if (plain) menu.insert(menu.begin(), "Attack");
    if (potion) menu.insert(menu.begin(), "Throw Potion");
    game->openChoiceBox1(menu, true, sf::Color(40, 60, 140, 255));
}

void Battle::confirmTarget(const BattleAction& choice) {
    const long long actor = actorIndex();
    Character& a = people->at(actor);
    state = NEXT_TURN;
    const std::string& spell = chosenKey.spell;
    const int level = chosenKey.level;
    // Raising a skeleton is no action to show: the bones stand up at once.
    if (spell.find("Skeleton") != std::string::npos) {
        raiseSkeleton(choice.target, actor, spell);
        battleSound("DazeMagic");
        a.spendMP(magicRepository->get(spell).mpAt(level));
        return;
    }
    // Every other action plays in the close-up; a summoned creature earns for its summoner.
    shownAction = makeActionAnimation(actor, choice.target, spell, level);
    refillIndexList(shownAction, choice.furtherTargets);
    if (auto s = summonedCreatures.find(actor); s != summonedCreatures.end())
        shownAction.xpReceiver = s->second.summoner;
    std::vector<int> all(choice.furtherTargets.begin(), choice.furtherTargets.end());
    all.push_back(choice.target);
    // Any spell breaks the invisibility of its caster and further targets; Poloian makes the
    // targets invisible for four turns.
    if (!spell.empty()) {
        invisibleTurns.erase(actor);
        for (int t : choice.furtherTargets) invisibleTurns.erase(t);
        if (spell == "Poloian") {
            invisibleTurns[choice.target] = 4;
            for (int t : choice.furtherTargets) {
                invisibleTurns[t] = 4;
                consoleLine("  INVISIBLE on");
            }
        }
        // A spell that changes stats does so for four turns; cast again on a target already
        // changed, it only starts the four turns again.
        const StatChanges factors = magicRepository->get(spell).levelAttributes(level);
        if (!factors.empty()) {
            for (int t : all) {
                if (t == NO_INDEX) continue;
                if (modifierTurns.count(t)) {
                    modifierTurns[t] = 4;
                    continue;
                }
                modifierTurns[t] = 4;
                statModifiers[t].clear();
                Character& ch = people->at(t);
                for (auto& [stat, factor] : factors) {
                    const int base = spell == "Shield" ? 1 : ch.getStat(stat);
                    const int amount = static_cast<int>((factor - 1.0f) * base);
                    statModifiers[t][stat] += amount;
                    ch.addStat(stat, amount);
                }
            }
        }
        // HackControl brings its targets over to the party for four turns, counted as the
        // caster's summons.
        if (spell == "HackControl") {
            for (int t : all) {
                if (t == NO_INDEX) continue;
                if (temporaryMembers.count(t)) {
                    temporaryMembers[t] = 4;
                    continue;
                }
                temporaryMembers[t] = 4;
                people->insertPartyIndex(t);
                summonedCreatures[t] = {static_cast<int>(actor), people->at(t).name};
            }
        }
    }
    // A thrown potion changes the target's stats.
    if (!chosenKey.potion.empty()) applyPotionFactors(chosenKey.potion, choice.target);
}

void Battle::applyPotionFactors(const std::string& potionName, long long target) {
    if (target == NO_INDEX) return;
    const Potion& potion = potionRepository->get(potionName);
    if (potion.attr.empty()) return;
    Character& ch = people->at(target);
    if (!modifierTurns.count(target)) modifierTurns[target] = 4;
    // A potion thrown again at the same target first gives back what the last one did.
    for (auto& [stat, amount] : statModifiers[target]) ch.addStat(static_cast<Stat>(stat), -amount);
    statModifiers[target].clear();
    for (auto& [stat, factor] : potion.attr) {
        const int amount = static_cast<int>((factor - 1.0f) * ch.getStat(stat));
        statModifiers[target][stat] += amount;
        ch.addStat(stat, amount);
    }
}

void Battle::stateStep() {
    Scene& scene = battleScene(*this);
    const long long actor = actorIndex();
    // Every state but the turn's passing and the end needs an actor; without one the turn passes.
    if (actor == NO_INDEX && state != NEXT_TURN && state != BATTLE_OVER) {
        state = NEXT_TURN;
        return;
    }
    switch (state) {
    case NEXT_TURN: nextTurn(); break;
    case PLAYER_MOVES: playerMoves(scene, actor); break;
    case FREE_CURSOR: moveFreeCursor(scene); break;
    case ENEMY_ACTS: enemyActs(actor); break;
    case COMMAND_MENU: chooseCommand(actor); break;
    case CHOOSE_TARGET: chooseTarget(); break;
    case CHOOSE_TOWER_CELL: chooseTowerCell(actor); break;
    case SPELL_MENU: chooseSpell(); break;
    case POTION_MENU: choosePotion(actor); break;
    case ITEM_MENU: chooseItem(actor); break;
    case BAT_FORM: flyAsBat(scene, actor); break;
    case BATTLE_OVER: endBattle(); break;
    default: fatalAssert("Battle", 2491, "Bad battle state");
    }
}

void Battle::playerMoves(Scene& scene, long long actor) {
    const InputFlags& in = game->input;
    Character& a = people->at(actor);
    const WalkInput walk{in.leftHeld, in.rightHeld, in.upHeld, in.downHeld};
    // The walk stays within the actor's reach: every cell near it that is out of reach is closed.
    std::set<Point> closedCells = scene.blocked[a.flying ? 1 : 0];
    const int reach = a.stats[MOB] + 1;
    for (int x = actorTile.x - reach; x <= actorTile.x + reach; ++x)
        for (int y = actorTile.y - reach; y <= actorTile.y + reach; ++y)
            if (scene.isInside({x, y}) && !reachableCells.count({x, y})) closedCells.insert({x, y});
    a.move(&walk, gridSize, closedCells, a.flying ? std::set<Point>{} : extraWalkerCells);
    scene.placeAtFreeTile(a.pixel);
    scene.camera = scene.view;
    if (in.confirm) {
        // The actor cannot end its move on another living combatant.
        if (livingOtherOn(*this, actor, a.tile) || livingOtherOn(*this, actor, a.targetTile)) {
            battleSound("Denial");
        } else {
            openCommandMenu();
            battleSound("BattleTurn");
            state = COMMAND_MENU;
        }
    } else if (in.back) {
        battleSound("BattleTurn");
        state = FREE_CURSOR;
    }
}

void Battle::moveFreeCursor(Scene& scene) {
    const InputFlags& in = game->input;
    if (in.back) {
        battleSound("BattleTurn");
        state = PLAYER_MOVES;
        turnIntro = true;
        // The cursor was only looking: the cells around the actor's own tile close again.
        actorTile = turnStartTile;
        return;
    }
    if (in.leftPressed) --actorTile.x;
    if (in.rightPressed) ++actorTile.x;
    if (in.upPressed) --actorTile.y;
    if (in.downPressed) ++actorTile.y;
    actorTile.x = std::clamp(actorTile.x, 0, std::max(0, gridSize.x - 1));
    actorTile.y = std::clamp(actorTile.y, 0, std::max(0, gridSize.y - 1));
    scene.placeAtFreeTile(tileToPixel(actorTile));
    scene.camera = scene.view;
    // Confirm on a living combatant shows its sheet.
    if (in.confirm)
        for (long long c : turnList)
            if (people->at(c).stats[HP] > 0 && people->at(c).tile == actorTile) {
                game->showCharacter(static_cast<int>(c));
                break;
            }
}

void Battle::enemyActs(long long actor) {
    Character& a = people->at(actor);
    if (!path.empty()) {
        // The walk goes on in update, one cell after another.
        walking = 1;
        a.startMoveTo(path.front());
        path.erase(path.begin());
    } else if (pendingAction.target != NO_INDEX) {
        shownAction = makeActionAnimation(actor, pendingAction.target, pendingAction.spell.name,
                                          pendingAction.spell.level);
        refillIndexList(shownAction, pendingAction.furtherTargets);
        if (auto s = summonedCreatures.find(actor); s != summonedCreatures.end())
            shownAction.xpReceiver = s->second.summoner;
        // An enemy alchemist's potion changes stats as the player's does.
        if (!pendingAction.potion.empty()) applyPotionFactors(pendingAction.potion, pendingAction.target);
        state = NEXT_TURN;
    } else {
        state = NEXT_TURN;
    }
}

void Battle::chooseCommand(long long actor) {
    Character& a = people->at(actor);
    const std::string text = game->choiceBox1Selection();
    a.setFacing(SOUTH);
    selection = 0;
    if (text.empty()) {
        state = PLAYER_MOVES;
    } else if (text == "Stand") {
        state = NEXT_TURN;
    } else if (text == "Attack") {
        chosenKey = {"", 0, ""};
        state = CHOOSE_TARGET;
    } else if (text == "Throw Potion") {
        chosenKey = {"", 0, a.selectedPotion};
        state = CHOOSE_TARGET;
    } else if (text == "Switch Potion") {
        std::vector<std::string> list;
        for (const std::string& p : a.potions)
            if (p != a.selectedPotion && potionRepository->get(p).mp <= a.stats[MP]) list.push_back(p);
        if (list.empty()) {
            battleSound("Denial");
            state = PLAYER_MOVES;
        } else {
            game->openChoiceBox2(list, true);
            state = POTION_MENU;
        }
    } else if (text == "Magic") {
        std::set<std::string> list;
        for (auto& [key, actions] : menuActions)
            if (!key.spell.empty()) list.insert(key.spell + " L" + std::to_string(key.level));
        game->openChoiceBox2({list.begin(), list.end()}, true);
        state = SPELL_MENU;
    } else if (text == "Egress") {
        game->askAreYouSure([] { game->gotoPreviousScene(); }, "Egress?");
        state = PLAYER_MOVES;
    } else if (text == "Item") {
        std::set<std::string> list;
        for (auto& [item, count] : a.inventory)
            if (count > 0 && itemList->at(item).type == Item::USABLE) list.insert(itemList->at(item).name);
        game->openChoiceBox2({list.begin(), list.end()}, true);
        state = ITEM_MENU;
    } else if (text == "BatTransform") {
        bat = BatForm();
        bat.actor = static_cast<int>(actor);
        bat.restTile = bat.tile = a.tile;
        bat.pixel = tileToPixel(a.tile);
        bat.frame = 0;
        battleSound("BattleTurn");
        state = BAT_FORM;
    } else {
        fatalAssert("Battle", 2249, "blabla");
    }
}

void Battle::chooseTarget() {
    const InputFlags& in = game->input;
    stepSelection(selection);
    auto it = menuActions.find(chosenKey);
    if (it == menuActions.end()) fatalAssert("Battle", 2377, "bla");
    wrap(selection, static_cast<int>(it->second.size()));
    if (in.back) {
        state = PLAYER_MOVES;
    } else if (in.confirm) {
        const BattleAction choice = it->second[selection];
        confirmTarget(choice);
    }
}

void Battle::chooseTowerCell(long long actor) {
    const InputFlags& in = game->input;
    Character& a = people->at(actor);
    stepSelection(selection);
    auto it = towerCells.find(a.tile);
    if (it == towerCells.end()) fatalAssert("Battle", 2346, "Oduna");
    if (it->second.empty()) fatalAssert("Battle", 2347, "Oduncular");
    wrap(selection, static_cast<int>(it->second.size()));
    if (in.back) {
        state = PLAYER_MOVES;
    } else if (in.confirm) {
        buildTower(it->second[selection], actor, chosenKey.spell);
        battleSound("Construction");
        a.spendMP(magicRepository->get(chosenKey.spell).mpAt(chosenKey.level));
        state = NEXT_TURN;
    }
}

void Battle::chooseSpell() {
    const std::string text = game->choiceBox2Selection();
    if (text.empty()) {
        state = PLAYER_MOVES;
        return;
    }
    // The menu line reads "<spell> L<level>".
    const std::string name = text.substr(0, text.find(' '));
    const int level = leadingInt(text.substr(text.rfind('L') + 1), "Battle", 471);
    chosenKey = {name, level, ""};
    // A building spell picks a cell, not a target.
    if (name.rfind("Build", 0) == 0) {
        state = CHOOSE_TOWER_CELL;
        selection = 0;
    } else {
        state = CHOOSE_TARGET;
    }
}

void Battle::choosePotion(long long actor) {
    const std::string text = game->choiceBox2Selection();
    if (text.empty()) {
        state = PLAYER_MOVES;
        return;
    }
    people->at(actor).selectPotion(text);
    state = NEXT_TURN;
}

void Battle::chooseItem(long long actor) {
    const std::string text = game->choiceBox2Selection();
    if (text.empty()) {
        state = PLAYER_MOVES;
        return;
    }
    people->at(actor).useScript(itemList->indexOf(text));
    battleSound("UseItem");
    state = NEXT_TURN;
}

void Battle::flyAsBat(Scene& scene, long long actor) {
    const InputFlags& in = game->input;
    const int frames = resources ? static_cast<int>(resources->getAnimation("Bat").size()) : 1;
    bat.frame = (bat.frame + 1) % std::max(1, frames);
    // One step a frame, the first pressed direction taking it; the bat cannot leave the grid nor
    // fly into what blocks a flyer, and goes back to its resting tile when it tries.
    bool moved = false;
    const bool presses[4] = {in.leftPressed, in.rightPressed, in.upPressed, in.downPressed};
    for (Direction d : DIRECTIONS) {
        if (!presses[d] || moved) continue;
        moved = true;
        bat.direction = d;
        movePoint(bat.tile, d, 1);
        if (!scene.isInside(bat.tile) || scene.isBlocked(bat.tile, true)) bat.tile = bat.restTile;
    }
    bat.pixel = tileToPixel(bat.tile);
    scene.placeAtFreeTile(bat.pixel);
    scene.camera = scene.view;
    if (!moved && in.confirm) {
        // The vampire lands only where one who walks may stand and nobody living stands already.
        if (!scene.isBlocked(bat.tile, false) && !livingOtherOn(*this, actor, bat.tile)) {
            state = NEXT_TURN;
            Character& a = people->at(actor);
            a.setTilePosition(bat.tile);
            a.spendMP(10);
            battleSound("BattleTurn");
        } else {
            battleSound("Denial");
        }
    } else if (!moved && in.back) {
        battleSound("BattleTurn");
        state = PLAYER_MOVES;
    }
}

void Battle::endBattle() {
    if (sf::Music* m = battleMusic(music)) m->stop();
    game->resumeSceneMusic();
    if (won) {
        finish(true);
    } else {
        game->gotoPreviousScene();
        // The defeat handler finishes the current scene's battle; this one ends either way.
        finish(false);
    }
}
