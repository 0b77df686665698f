// What happens to a scene when the party arrives in it. The steps run in a fixed order: later
// ones overwrite what earlier ones placed, and that order decides where the party leader stands.
#include "scenes/Scene.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

bool isPresent(const std::vector<int>& list, int index) {
    return std::find(list.begin(), list.end(), index) != list.end();
}

void placeLeader(Point tile, Direction facing) {
    Character& leader = people->mainCharacter();
    leader.setTilePosition(tile);
    leader.walking = false;
    if (facing != NO_DIRECTION) leader.setFacing(facing);
}

// Who the scene's story needs before anyone is placed: the final opponent readied in his
// headquarters, the party handed over to the scene's own main player (the party is rebuilt
// around them), and the couples the scene names told who their partner is.
void prepareCast(Scene& scene) {
    if (scene.finalHQ) game->prepareMadScientist(scene);
    if (!scene.mainPlayer.empty()) {
        people->party.clear();
        people->setMainCharacter(scene.mainPlayer);
    }
    for (const auto& [a, b] : scene.lovePairs) {
        int ia = people->indexOf(a);
        if (ia == NO_INDEX) fatalAssert("Scene", 4787, a);
        int ib = people->indexOf(b);
        if (ib == NO_INDEX) fatalAssert("Scene", 4788, b);
        people->at(ia).lovePartner = ib;
        people->at(ib).lovePartner = ia;
    }
}

// A script that queues a chest sees it on the next entry, not at once. A chest already opened
// in an earlier visit comes back empty, so its item cannot be taken twice.
void addQueuedChests(Scene& scene) {
    for (const Chest& c : scene.pendingChests) {
        if (scene.chestAt(c.tile)) continue;
        bool opened = scene.openedChestRecords.erase(c.tile) > 0;
        scene.chests[c.tile.y].push_back({opened ? std::string() : c.item, c.tile});
    }
    scene.pendingChests.clear();
}

// A maze level remembers the cell of its source picture it opened over: taken from the
// leader's tile when coming down from the source, handed on when coming from another level.
void keepMandelbrotReturn(Scene& scene, const std::string& previousSceneName, const Scene* previous) {
    if (previousSceneName == scene.mandelbrotSource)
        scene.mandelbrotReturn = people->mainCharacter().tile;
    else if (previous && previous->mandelbrotReturn != Point(-1, -1))
        scene.mandelbrotReturn = previous->mandelbrotReturn;
}

// Anju's monolog tells where the shards lie as the story stands now, not as the scene file
// was written.
void giveAnjuTheShardHint(Scene& scene) {
    int anju = people->indexOf("Anju");
    if (anju == NO_INDEX) return;
    auto m = scene.monologs.find(anju);
    if (m != scene.monologs.end()) m->second.setText(game->shardCoordsHint(), nullptr);
}

// Exits whose destination sits in a variable lead where the variable says now; an empty
// variable makes no exit.
void resolveVariableExits(Scene& scene) {
    for (const auto& [tile, var] : scene.varExits) {
        std::string target = game->getStrVar(var);
        if (target.empty()) scene.exits.erase(tile);
        else scene.exits[tile] = target;
    }
}

// A visit starts afresh: every trigger can fire again, arrow taps left over from the last walk
// are dropped, the notes tied to tiles show again once, and the cells scripts blocked for a
// while are open again. A scene that asks for it first notes the party as it arrives (the save
// file keeps it).
void beginVisit(Scene& scene) {
    if (scene.saveQuorvane) people->savedParty = people->party;
    scene.firedTriggers.clear();
    scene.stepQueue.clear();
    scene.shownMessages.clear();
    for (Point p : scene.tempBlocked) scene.unblockCell(p);
    scene.tempBlocked.clear();
}

// The scene's persons on their listed tiles: party and reserve members take the tiles the
// scene lists for them (in roster order) and join the persons. Everyone else faces the viewer
// and wanders unless told to stand; the leader is only put on its tile here, the placements
// below decide where it ends up.
void placePersons(Scene& scene) {
    auto placeSet = [&](const std::set<int>& members, const std::vector<Point>& tiles) {
        std::size_t i = 0;
        for (int m : members) {
            if (i >= tiles.size()) break;
            scene.placements[m] = tiles[i++];
            if (m != people->mainCharacterIndex) scene.addPerson(m);
        }
    };
    if (!scene.quorvaneTiles.empty()) placeSet(people->party, scene.quorvaneTiles);
    if (!scene.spareQuorvaneTiles.empty()) placeSet(people->reserve, scene.spareQuorvaneTiles);
    for (int i : scene.persons) people->at(i).setFacing(SOUTH);
    for (const auto& [key, tile] : scene.placements) {
        int i = key == MAIN_CHARACTER_KEY ? people->mainCharacterIndex : key;
        Character& c = people->at(i);
        c.setTilePosition(tile);
        c.walking = false;
        if (i == people->mainCharacterIndex) continue;
        c.setFacing(SOUTH);
        if (resources) c.pickRandomThrowObject();
        c.wandering = scene.standSet.count(i) == 0;
    }
}

// Beside the door (an exit or a building's door) that leads back where the party came from.
// Every free neighbour of every such door is taken in turn, so the last one wins: of the
// later door, the cell below before the one above, then right, then left.
bool placeLeaderBesideDoorBack(const Scene& scene, const std::string& previousSceneName) {
    bool placed = false;
    const int layer = people->mainCharacter().walkingLayer;
    std::map<Point, std::string> doors = scene.exits;
    for (const auto& b : scene.buildings)
        if (b->hasDoor() && !b->scene.empty()) doors[b->door] = b->scene;
    for (const auto& [tile, target] : doors) {
        if (target != previousSceneName && target != "BACK") continue;
        const Point around[4] = {tile.offset(-1, 0), tile.offset(1, 0), tile.offset(0, -1),
                                 tile.offset(0, 1)};
        for (Point n : around) {
            if (!scene.isInside(n) || scene.exits.count(n) || !scene.isCellFree(n, layer)) continue;
            placeLeader(n, SOUTH);
            placed = true;
        }
    }
    return placed;
}

// At the border the party walked out of the other scene by, one step inside it and facing
// into the map; along the border the leader keeps its place.
bool placeLeaderAtBorder(const Scene& scene, const std::string& previousSceneName) {
    bool placed = false;
    const int layer = people->mainCharacter().walkingLayer;
    for (const auto& [d, target] : scene.borderExits) {
        if (target != previousSceneName) continue;
        Point t = people->mainCharacter().tile;
        Direction face = SOUTH;
        if (d == WEST) { t.x = 1; face = EAST; }
        if (d == EAST) { t.x = scene.mapWidth() - 2; face = WEST; }
        if (d == NORTH) { t.y = 1; face = SOUTH; }
        if (d == SOUTH) { t.y = scene.mapHeight() - 2; face = NORTH; }
        // The tile kept from the other scene may lie off this map or in a wall: then the
        // free cell of the same line nearest to it (the lower one of two).
        const int along = d == WEST || d == EAST ? 1 : 0;
        const int length = along == 0 ? scene.mapWidth() : scene.mapHeight();
        Point best{-1, -1};
        if (scene.isInside(t) && scene.isCellFree(t, layer)) best = t;
        for (int k = 0; k < length && best != t; ++k) {
            Point c = t;
            c.set(along, k);
            if (!scene.isInside(c) || !scene.isCellFree(c, layer)) continue;
            if (best.x == -1 || std::abs(k - t[along]) < std::abs(best[along] - t[along])) best = c;
        }
        if (best.x == -1) continue;
        placeLeader(best, face);
        placed = true;
    }
    return placed;
}

// The leader placed by the way the party came in; false when no way applies.
bool placeLeaderByWayIn(const Scene& scene, const std::string& previousSceneName) {
    const bool besideDoor = placeLeaderBesideDoorBack(scene, previousSceneName);
    // Aboard the rocket the leader steps out just below it, wherever a door put them.
    if (scene.name == "RocketF1" && scene.zweenyRocket.x != -1) {
        placeLeader(scene.zweenyRocket.offset(0, 1), NO_DIRECTION);
        return true;
    }
    return besideDoor || placeLeaderAtBorder(scene, previousSceneName);
}

// When no way in placed the leader: two tiles below Sabio (when the map reaches that far),
// or else on the tile the scene lists for the main character.
void placeLeaderOnListedTile(Scene& scene, bool sabioHere, int sabio) {
    if (sabioHere && scene.placements.count(sabio) && scene.isInside(scene.placements[sabio].offset(0, 2)))
        placeLeader(scene.placements[sabio].offset(0, 2), SOUTH);
    else if (scene.placements.count(MAIN_CHARACTER_KEY))
        placeLeader(scene.placements[MAIN_CHARACTER_KEY], SOUTH);
}

// Arrivals that name their own tile, whatever the placements above did: back from a maze level
// onto the source, just below the cell it left from; or by a teleport into this scene.
void placeLeaderAtNamedTile(Scene& scene, const Scene* previous) {
    if (scene.mandelbrotSource.empty() && previous && previous->mandelbrotSource == scene.name)
        placeLeader(previous->mandelbrotReturn.offset(0, 1), NO_DIRECTION);
    if (scene.arrivalTile.x != -1) {
        placeLeader(scene.arrivalTile, SOUTH);
        scene.arrivalTile = {-1, -1};
    }
}

// The scene's title shows as a message with its picture, and its music plays on (a music
// already playing is not started over).
void announceScene(Scene& scene) {
    if (!scene.titleText.empty()) {
        const sf::Texture* picture = resources && !scene.titlePicture.empty()
                                         ? &resources->getPlanetTexture(scene.titlePicture)
                                         : nullptr;
        scene.message.setText(scene.titleText, picture);
    }
    if (!scene.music.empty() && resources) {
        sf::Music& m = resources->getMusic(scene.music);
        m.setLoop(true);
        if (m.getStatus() != sf::SoundSource::Playing) m.play();
    }
}

// A shard found since the last visit no longer shows where it lay, nor lights its cell. The
// shard room instead shows every shard the party holds, one per room cell in name order, each
// on a blocked cell; shards beyond the room's cells are not shown.
void showShards(Scene& scene) {
    for (auto& [cell, entries] : scene.shardAnimations) {
        for (ShardPiece& p : entries) {
            if (game->shardState(p.name) == 0) continue;
            if (!scene.shardRoomEntries.count(cell)) p.taken = true;
            scene.removeLightTile(cell);
        }
    }
    if (scene.shardRoomCells.empty()) return;
    scene.shardAnimations.clear();
    scene.shardRoomEntries.clear();
    std::size_t k = 0;
    for (const auto& [shard, state] : game->SHARDS) {
        if (state != 1) continue;
        if (k >= scene.shardRoomCells.size()) break;
        Point cell = scene.shardRoomCells[k++];
        ShardPiece p;
        p.counter = 0;
        p.period = 60;
        p.tile = cell;
        p.name = shard;
        scene.shardAnimations[cell].push_back(p);
        scene.shardRoomEntries.insert(cell);
        scene.blocked[0].insert(cell);
    }
}

// The scene's battle starts on entry (a practice fight at every entry, any other until it is
// won); otherwise entering a walking scene or a chapter screen is a save point, except from the
// start screen, from the scene itself, into a maze level, or on the way out of a lost battle.
void startBattleOrSave(Scene& scene, const Scene* previous, const std::string& previousSceneName,
                       bool afterDefeat) {
    Battle& battle = scene.battle;
    if (!battle.inBattle && battle.practice) battle.inBattle = true;
    if (battle.inBattle) {
        // The last fight's loot is known only to the live battle; start takes it off the ground.
        std::set<int> lastLoot = std::move(battle.droppedItems);
        battle = scene.battleDefinition;
        battle.droppedItems = std::move(lastLoot);
        battle.inBattle = true;
        battle.start();
        return;
    }
    // The zoom-and-talk lines lead up to the scene's fight: with the fight not starting, they
    // do not play.
    if (!battle.enemies.empty()) scene.zoomAndTalk.clear();
    const bool fromStart = previous && previous->playerControlHere;
    const bool walkOrChapter = scene.type == SCENE_WALK || scene.name.rfind("Chapter", 0) == 0;
    if (previous && !fromStart && previousSceneName != scene.name && walkOrChapter &&
        scene.mandelbrotSource.empty() && !afterDefeat)
        game->saveGame();
}

// The monolog the scene plays as the party arrives.
void playEntryMonolog(Scene& scene) {
    if (scene.entryMonologPerson.empty()) return;
    int i = people->indexOf(scene.entryMonologPerson);
    if (i == NO_INDEX) fatalAssert("Scene", 5053, scene.entryMonologPerson);
    auto m = scene.monologs.find(i);
    if (m == scene.monologs.end()) fatalAssert("Scene", 5055, scene.entryMonologPerson);
    scene.monolog = m->second;
}

// Moving teleporters start each visit on their place, or on a random free cell.
void placeMovingTeleporters(Scene& scene) {
    for (MovingTeleporter& t : scene.movingTeleporters)
        t.setTile(pickFreeTile(t.place, scene.mapSize(), scene.blocked[0], scene.blocked[1]));
}

// The view and the cursor centre on the leader; in space, on the planet or comet the party
// set out from (below it, so the body itself stays in sight).
void focusOnArrival(Scene& scene, Point leaderTile) {
    scene.focusTile = leaderTile;
    if (scene.type == SCENE_SPACE) {
        const std::string origin = game->getStrVar("ORIGIN");
        for (const Planet& p : scene.planets)
            if (p.name == origin) scene.focusTile = p.tile.offset(0, 2);
        for (const Comet& c : scene.comets)
            if (c.name == origin)
                scene.focusTile = {c.position.x / TILE_SIZE, c.position.y / TILE_SIZE + c.rowOffset};
    }
    if (scene.isInside(scene.focusTile)) scene.marker.setTile(scene.focusTile);
}

} // namespace

void Scene::raiseReserveLevels() {
    if (people->party.empty()) return;
    int lowest = people->at(*people->party.begin()).level;
    for (int i : people->party) lowest = std::min(lowest, people->at(i).level);
    for (int i : people->reserve) people->at(i).raiseToLevel(lowest);
}

void Scene::enter(const std::string& previousSceneName) {
    // The way out of a lost battle is no save point: a save there would keep the beaten party.
    const bool afterDefeat = std::exchange(game->leavingLostBattle, false);
    prepareCast(*this);
    addQueuedChests(*this);
    const long long previousIndex = game->findScene(previousSceneName);
    Scene* previous = previousIndex >= 0 ? &game->scenes[previousIndex] : nullptr;
    if (!mandelbrotSource.empty()) {
        keepMandelbrotReturn(*this, previousSceneName, previous);
        enterMandelbrotLevel();
    }
    // Every visit poses a new logic puzzle.
    if (einstein) posePuzzle();
    giveAnjuTheShardHint(*this);
    resolveVariableExits(*this);
    beginVisit(*this);
    placePersons(*this);

    const bool placed = placeLeaderByWayIn(*this, previousSceneName);
    const int sabio = people->indexOf("Sabio");
    const bool sabioHere = sabio != NO_INDEX && isPresent(persons, sabio);
    // Sabio may offer to swap reserve members into the party: they catch up with its weakest
    // member first.
    if (sabioHere) raiseReserveLevels();
    if (!placed) placeLeaderOnListedTile(*this, sabioHere, sabio);
    placeLeaderAtNamedTile(*this, previous);

    announceScene(*this);
    showShards(*this);
    runIfBlocks();
    Character& leader = people->mainCharacter();
    // A running sequence steers the view itself, unless the scene has the view follow the leader.
    if (type == SCENE_WALK && (sequence.name.empty() || followView)) {
        placeAtFreeTile(leader.pixel);
        camera = view;
    }
    startBattleOrSave(*this, previous, previousSceneName, afterDefeat);
    playEntryMonolog(*this);
    placeMovingTeleporters(*this);
    focusOnArrival(*this, leader.tile);
    // The picture's dense cells that no tile covers are walls.
    blockDenseCells();
    entryTile = leader.tile;
}
