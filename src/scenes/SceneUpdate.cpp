// One frame of a walking scene: text boxes, sequences, the leader's walk, talking, chests,
// triggers, exits and the small moving things.
#include "scenes/Scene.hpp"

#include "battle/Items.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/PartyExchangeMenu.hpp"
#include "game/TileKind.hpp"
#include "minigames/Sokoban.hpp"
#include "minigames/RocketTravel.hpp"
#include "minigames/SpaceGates.hpp"
#include "scenes/FindingText.hpp"

#include <algorithm>
#include <cstdlib>

namespace {

Direction opposite(Direction d) {
    switch (d) {
    case WEST: return EAST;
    case EAST: return WEST;
    case NORTH: return SOUTH;
    case SOUTH: return NORTH;
    default: return SOUTH;
    }
}

const char* const ADVICE = "Give me advice on what to do";
const char* const CHANGE_MAIN = "Change the main character";
const char* const SPLIT_TEAMS = "Create two teams";

int itemIndex(const std::string& item) {
    int i = itemList->indexOf(item);
    if (i == NO_ITEM) fatalAssert("Scene", 39, item);
    return i;
}

// Switching away leaves the rest of the frame alone.
bool go(const std::string& target, sf::RenderWindow* window) {
    if (target.empty()) return false;
    game->gotoScene(target, false, window);
    return true;
}

} // namespace

bool Scene::textBoxActive() const {
    return monolog.isActive() || dialog.isActive() || message.isActive() || infoBox.isActive();
}

void Scene::update(sf::RenderWindow* window) {
    ++frameCounter;

    // A text box takes the frame; the sequence a finished Monolog or dialog names starts then.
    if (monolog.isActive()) {
        monolog.update();
        if (!monolog.isActive() && !monolog.sequence.empty()) startSequence(monolog.sequence);
        return;
    }
    if (dialog.isActive()) {
        dialog.update();
        if (!dialog.isActive() && !dialog.sequence.empty()) startSequence(dialog.sequence);
        return;
    }
    if (message.isActive()) {
        message.update();
        return;
    }
    if (infoBox.isActive()) {
        infoBox.update();
        return;
    }
    if (exchangeMenu && exchangeMenu->active) {
        exchangeMenu->update();
        return;
    }
    if (advisorMenu) {
        updateAdvisor();
        return;
    }
    if (finishRocketMenu(*this, window)) return;
    if (!anyKeyScene.empty() && game->anyKey()) {
        go(anyKeyScene, window);
        return;
    }
    if (!zoomAndTalk.empty()) {
        updateZoomAndTalk();
        return;
    }

    if (!credits.lines.empty()) credits.update();
    std::set<Point> objectCells;
    for (const auto& [row, list] : objectRows)
        for (int i : list) objectCells.insert({static_cast<int>(objects[i].x), row});
    for (MovingTeleporter& t : movingTeleporters) t.step(mapSize(), blocked[0], objectCells);
    if (light.dark || light.disco) light.updateFrame(game->frameCounter);
    if (!snow.empty()) updateSnow(snow, mapSize());
    // Layers and buildings animate by the frame (drifting stars, tower lights, damage smoke).
    for (Background& layer : backgrounds) layer.update();
    for (auto& b : buildings) b->update();
    for (FlyingAnimation& f : flyingAnimations) f.update();
    if (resources) {
        for (auto& [row, list] : animatedObjects)
            for (AnimatedObject& a : list) a.tick();
    }
    for (Comet& c : comets) c.update(frameCounter);
    updatePictures();
    if (!gates.empty()) {
        // A trip under way (or ending now) takes the rest of the frame.
        const bool wasTravelling = travellingGate(*this) != nullptr;
        updateSpaceGates(*this);
        if (wasTravelling || travellingGate(*this)) return;
    }

    // A running battle takes the frame; a watch phase lets the party walk.
    if (updateBattle()) return;
    if (type == SCENE_SPACE) flame.update(blocked[0], mapSize());
    if (type != SCENE_WALK) return;

    const bool sequenceRunning = runSequenceStep();
    // People walking about on their own.
    for (int i : persons) {
        Character& c = people->at(i);
        c.update();
        if (sequenceRunning && sequence.moving && sequence.move.moves.count(i)) continue;
        if (!c.walking && c.wandering && std::rand() % 100 == 0) {
            Point next = c.tile;
            movePoint(next, std::rand() % 4, 1);
            auto home = placements.find(i);
            const bool nearHome = home == placements.end() || manhattanDistance(home->second, next) <= 2;
            const Character& leader = people->mainCharacter();
            if (isInside(next) && nearHome && isCellFree(next, c.walkingLayer) &&
                !isBlocked(next, c.flying) && next != leader.tile && next != leader.targetTile)
                c.startMoveTo(next);
        }
        if (c.walking) c.move(nullptr, mapSize(), blocked[c.walkingLayer == 1 ? 1 : 0], {}, MOVE_NONE);
    }
    if (sequenceRunning) {
        if (followView) {
            placeAtFreeTile(people->mainCharacter().pixel);
            camera = view;
        }
        return;
    }
    updateLeader(window);
}

void Scene::updateLeader(sf::RenderWindow* window) {
    Character& leader = people->mainCharacter();
    leader.update();

    // A trigger fires the first time in a visit that the leader stands on its tile.
    auto trig = triggers.find(leader.tile);
    if (!leader.walking && trig != triggers.end() && firedTriggers.insert(leader.tile).second) {
        const std::vector<std::string> body = trig->second;
        runScript(body);
        if (textBoxActive()) return;
    }
    if (!leader.walking) {
        for (const MovingTeleporter& t : movingTeleporters)
            if (!t.moving && t.tile == leader.tile && go(t.name, window)) return;
    }

    if (!leader.walking && game->input.confirm) {
        useFacedTile();
        return;
    }

    const InputFlags& in = game->input;
    const Direction d = stepQueue.step(in.leftHeld, in.rightHeld, in.upHeld, in.downHeld, leader.walking);
    if (!leader.walking && d != NO_DIRECTION) {
        Point next = leader.tile;
        movePoint(next, d, 1);
        if (!isInside(next)) {
            if (crossMandelbrotBorder(d)) return;
            auto border = borderExits.find(d);
            if (border != borderExits.end()) {
                leader.setFacing(d);
                go(border->second, window);
                return;
            }
        } else if (isBlocked(next, leader.flying)) {
            // A closed door: walking into it goes through.
            std::string target;
            if (auto e = exits.find(next); e != exits.end()) target = e->second;
            if (BaseBuilding* b = buildingWithDoor(next)) target = b->scene;
            if (!target.empty()) {
                leader.setFacing(d);
                go(target, window);
                return;
            }
        }
    }

    std::set<Point> others;
    for (int i : persons) {
        others.insert(people->at(i).tile);
        others.insert(people->at(i).targetTile);
    }
    if (sokoban)
        for (Point p : sokoban->blockTiles()) others.insert(p);
    for (const Rect& f : energyFields)
        for (int x = f.x0; x <= f.x1; ++x)
            for (int y = f.y0; y <= f.y1; ++y) others.insert({x, y});
    const Point before = leader.tile;
    WalkInput walk{d == WEST, d == EAST, d == NORTH, d == SOUTH};
    leader.move(&walk, mapSize(), blocked[leader.flying ? 1 : 0], others, MOVE_NONE);
    placeAtFreeTile(leader.pixel);
    camera = view;
    if (leader.tile != before) {
        arriveOnTile(leader.tile);
        // A tunnel mouth carries the leader to the other one; only on arrival, so that the far
        // mouth does not send it straight back.
        for (const Tunnel& t : tunnels) t.pass(blocked[0], mapSize());
    }
}

void Scene::arriveOnTile(Point tile) {
    Character& leader = people->mainCharacter();
    auto trig = triggers.find(tile);
    if (trig != triggers.end() && firedTriggers.insert(tile).second) {
        const std::vector<std::string> body = trig->second;
        runScript(body);
    }
    auto note = positionMessages.find(tile);
    if (note != positionMessages.end() && shownMessages.insert(tile).second) message.setText(note->second, nullptr);

    auto row = drops.find(tile.y);
    if (row != drops.end()) {
        std::vector<DroppedItem> here;
        auto& list = row->second;
        for (auto it = list.begin(); it != list.end();) {
            if (it->tile == tile && !it->onTable) {
                here.push_back(*it);
                it = list.erase(it);
            } else {
                ++it;
            }
        }
        bool first = false;
        for (const DroppedItem& d : here) {
            leader.addItemCount(d.item, 1);
            message.setText(foundItemText(itemList->at(d.item).name), nullptr);
            first = pickedUpItems.insert(d.item).second || first;
        }
        if (first) runIfBlocks();
    }

    if (std::find(traps.begin(), traps.end(), tile) != traps.end()) {
        game->bumpBack();
        return;
    }
    if (std::find(rocketTravelTiles.begin(), rocketTravelTiles.end(), tile) !=
        rocketTravelTiles.end()) {
        openRocketMenu(*this, tile);
        return;
    }
    std::string target;
    if (auto e = exits.find(tile); e != exits.end()) target = e->second;
    if (BaseBuilding* b = buildingWithDoor(tile); b && !b->scene.empty()) target = b->scene;
    if (auto t = teleports.find(tile); t != teleports.end()) {
        long long i = game->findScene(t->second.scene);
        if (i >= 0) game->scenes[i].arrivalTile = t->second.tile;
        target = t->second.scene;
    }
    if (std::find(comeBackLocations.begin(), comeBackLocations.end(), tile) != comeBackLocations.end())
        target = "BACK";
    go(target, game->window);
}

namespace {

// A keyed exit acts on confirm while the leader stands on it.
bool takeKeyedExit(Scene& scene, Point standing) {
    auto k = scene.keyExits.find(standing);
    if (k == scene.keyExits.end()) return false;
    go(k->second, game->window);
    return true;
}

// The person to talk to: in the leader's row or column, at most two tiles away; one in the
// facing direction counts its distance, any other four times it. NO_INDEX when nobody is.
int personInReach(const Scene& scene, const Character& leader) {
    int best = NO_INDEX;
    int bestScore = 0;
    for (int i : scene.persons) {
        if (i == people->mainCharacterIndex) continue;
        const Point p = people->at(i).tile;
        if (p.x != leader.tile.x && p.y != leader.tile.y) continue;
        const int d = manhattanDistance(p, leader.tile);
        if (d < 1 || d > 2) continue;
        const int score = directionTo(leader.tile, p) == leader.facing ? d : 4 * d;
        if (best == NO_INDEX || score < bestScore) {
            best = i;
            bestScore = score;
        }
    }
    return best;
}

// Sabio answers with his menu of advice instead of words.
bool askSabio(Scene& scene, const Character& person) {
    if (person.name != "Sabio") return false;
    scene.advisorMenu = true;
    std::vector<std::string> options{ADVICE, CHANGE_MAIN};
    if (scene.splitTeamScene) options.push_back(SPLIT_TEAMS);
    game->openChoiceBox1(options, true, sf::Color(200, 0, 200, 255));
    return true;
}

// One waiting to join leaves the scene for the party, or for the reserve when it is full.
bool joinParty(Scene& scene, int who) {
    auto join = std::find(scene.joinList.begin(), scene.joinList.end(), who);
    if (join == scene.joinList.end()) return false;
    const Character& person = people->at(who);
    scene.joinList.erase(join);
    scene.removePerson(who);
    scene.placements.erase(who);
    scene.standSet.erase(who);
    if (static_cast<int>(people->party.size()) < PARTY_LIMIT) people->insertPartyIndex(who);
    else people->reserve.insert(who);
    // Scene files test it to leave out a person who has joined.
    game->BOOLVARS.insert("JOINED_" + person.name);
    scene.joinCharacter(person.name);
    return true;
}

// A dialog of the person's before a monolog; one with neither says nothing.
void speak(Scene& scene, int who) {
    if (auto it = scene.dialogs.find(who); it != scene.dialogs.end()) {
        scene.dialog = it->second;
        return;
    }
    if (auto it = scene.monologs.find(who); it != scene.monologs.end()) scene.monolog = it->second;
}

// The person in reach turns to the leader, even when there is nothing to say.
bool talkToPersonInReach(Scene& scene, const Character& leader) {
    const int who = personInReach(scene, leader);
    if (who == NO_INDEX) return false;
    Character& person = people->at(who);
    person.setFacing(opposite(directionTo(leader.tile, person.tile)));
    if (!askSabio(scene, person) && !joinParty(scene, who)) speak(scene, who);
    return true;
}

bool takeShard(Scene& scene, Point faced) {
    auto shard = scene.shardAnimations.find(faced);
    if (shard == scene.shardAnimations.end()) return false;
    for (ShardPiece& piece : shard->second) {
        if (piece.taken || scene.shardRoomEntries.count(faced) || game->shardState(piece.name) != 0) continue;
        piece.taken = true;
        game->obtainShard(piece.name);
        scene.obtainShard(piece.name);
        scene.removeLightTile(faced);
        return true;
    }
    return false;
}

bool sleepHere(const Scene& scene, Point standing, Point faced) {
    if (!scene.sleepLocations.count(faced) && !scene.sleepLocations.count(standing)) return false;
    game->sleep();
    return true;
}

bool openChest(Scene& scene, Character& leader, Point faced) {
    Chest* chest = scene.chestAt(faced);
    if (chest == nullptr) return false;
    if (chest->item.empty()) {
        scene.message.setText("The chest is empty.", nullptr);
    } else {
        leader.addItemCount(itemIndex(chest->item), 1);
        scene.message.setText(foundItemText(chest->item), nullptr);
        chest->item.clear();
    }
    return true;
}

// A drop site on the leader's tile or the faced one takes the item a member holds.
bool putDownAtDropSite(Scene& scene, Point standing, Point faced) {
    for (Point site : {standing, faced}) {
        auto row = scene.dropSites.find(site.y);
        if (row == scene.dropSites.end()) continue;
        for (const DropSite& s : row->second) {
            if (s.tile != site) continue;
            for (int m : people->party) {
                Character& member = people->at(m);
                auto held = member.inventory.find(s.item);
                if (held == member.inventory.end() || held->second <= 0) continue;
                member.addItemCount(s.item, -1);
                scene.dropItem(s.item, s.tile, false);
                const std::string itemName = itemList->at(s.item).name;
                game->BOOLVARS.insert("DROPPED_" + itemName);
                scene.message.setText("You put down the " + readableItemName(itemName) + ".", nullptr);
                return true;
            }
        }
    }
    return false;
}

// An item lying on a table is taken from across it.
bool takeFromTable(Scene& scene, Character& leader, Point faced) {
    auto row = scene.drops.find(faced.y);
    if (row == scene.drops.end()) return false;
    auto& list = row->second;
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->tile != faced) continue;
        const int item = it->item;
        list.erase(it);
        leader.addItemCount(item, 1);
        scene.message.setText(foundItemText(itemList->at(item).name), nullptr);
        if (scene.pickedUpItems.insert(item).second) scene.runIfBlocks();
        return true;
    }
    return false;
}

bool openShardMap(const Scene& scene, Point tile) {
    if (!scene.shardMapTiles.count(tile)) return false;
    game->shardMap.shown = true;
    game->shardMap.background.startSpaceDrift();
    consoleLine("Shard map opened");
    return true;
}

bool lookThroughTelescope(const Scene& scene, Point tile) {
    if (!scene.telescopeTiles.count(tile)) return false;
    game->telescope.shown = true;
    game->telescope.background.startSpaceDrift();
    consoleLine("Telescope turned to ", game->getStrVar("TELESCOPEVIEW"));
    return true;
}

// What is read or looked at on one tile: the puzzle's clues, the shard map, the telescope.
bool readOrLookAt(Scene& scene, Point tile) {
    return scene.useClueTile(tile) || openShardMap(scene, tile) || lookThroughTelescope(scene, tile);
}

bool showZoomPicture(const Scene& scene, Point faced) {
    auto z = scene.zoomTiles.find(faced);
    if (z == scene.zoomTiles.end() || z->second.empty()) return false;
    game->pictureShown = true;
    game->pictureFrame = 0;
    game->viewedPicture = z->second;
    return true;
}

} // namespace

// The first interaction that applies takes the confirm: a new one chooses its place in this
// list.
void Scene::useFacedTile() {
    Character& leader = people->mainCharacter();
    Point faced = leader.tile;
    movePoint(faced, leader.facing, 1);
    if (takeKeyedExit(*this, leader.tile)) return;
    if (talkToPersonInReach(*this, leader)) return;
    if (takeShard(*this, faced)) return;
    if (sleepHere(*this, leader.tile, faced)) return;
    if (openChest(*this, leader, faced)) return;
    if (putDownAtDropSite(*this, leader.tile, faced)) return;
    if (takeFromTable(*this, leader, faced)) return;
    if (readOrLookAt(*this, faced) || readOrLookAt(*this, leader.tile)) return;
    showZoomPicture(*this, faced);
}

void Scene::updateZoomAndTalk() {
    const ZoomAndTalk entry = zoomAndTalk.front();
    zoomAndTalk.erase(zoomAndTalk.begin());
    if (entry.person == NO_INDEX) return;
    const Character& who = people->at(entry.person);
    placeAtFreeTile(who.pixel);
    camera = view;
    message.set(entry.text, entry.person);
}

void Scene::updateAdvisor() {
    if (game->box1.active) return;
    const std::string choice = game->choiceBox1Selection();
    advisorMenu = false;
    if (choice == CHANGE_MAIN) {
        // The choice of a party member comes back through the same box.
        game->chooseMember();
        advisorMenu = true;
        return;
    }
    if (choice.find("advice") != std::string::npos) {
        message.setText(game->getAdvice(), nullptr);
        return;
    }
    if (choice == SPLIT_TEAMS) {
        if (!exchangeMenu) exchangeMenu = std::make_shared<PartyExchangeMenu>();
        exchangeMenu->open();
        return;
    }
    const int chosen = choice.empty() ? NO_INDEX : people->indexOf(choice);
    if (chosen != NO_INDEX && people->party.count(chosen)) {
        const Character old = people->mainCharacter();
        people->setMainCharacter(choice);
        Character& now = people->mainCharacter();
        now.setTilePosition(old.tile);
        now.setFacing(old.facing);
        removePerson(chosen);
    }
}
