// What happens to a scene when the party arrives in it.
#include "scenes/Scene.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <algorithm>
#include <cstdlib>
#include <iostream>
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
    // 1-2
    if (finalHQ) game->prepareMadScientist(*this);
    if (!mainPlayer.empty()) {
        people->party.clear();
        people->setMainCharacter(mainPlayer);
    }
    // 3
    for (const auto& [a, b] : lovePairs) {
        int ia = people->indexOf(a);
        if (ia == NO_INDEX) fatalAssert("Scene", 4787, a);
        int ib = people->indexOf(b);
        if (ib == NO_INDEX) fatalAssert("Scene", 4788, b);
        people->at(ia).lovePartner = ib;
        people->at(ib).lovePartner = ia;
    }
    // 4: chests queued by scripts
    for (const Chest& c : pendingChests) {
        if (chestAt(c.tile)) continue;
        bool opened = openedChestRecords.erase(c.tile) > 0;
        chests[c.tile.y].push_back({opened ? std::string() : c.item, c.tile});
    }
    pendingChests.clear();
    // 5: the way back from a Mandelbrot scene
    const long long previousIndex = game->findScene(previousSceneName);
    Scene* previous = previousIndex >= 0 ? &game->scenes[previousIndex] : nullptr;
    if (!mandelbrotSource.empty()) {
        if (previousSceneName == mandelbrotSource)
            mandelbrotReturn = people->mainCharacter().tile;
        else if (previous && previous->mandelbrotReturn != Point(-1, -1))
            mandelbrotReturn = previous->mandelbrotReturn;
        enterMandelbrotLevel();
    }
    // 6
    if (einstein) posePuzzle();
    // 7
    int anju = people->indexOf("Anju");
    if (anju != NO_INDEX) {
        auto m = monologs.find(anju);
        if (m != monologs.end()) m->second.setText(game->shardCoordsHint(), nullptr);
    }
    // 8: exits whose destination sits in a variable; an empty variable makes no exit
    for (const auto& [tile, var] : varExits) {
        std::string target = game->getStrVar(var);
        if (target.empty()) exits.erase(tile);
        else exits[tile] = target;
    }
    // 9-10
    if (saveQuorvane) people->savedParty = people->party;
    firedTriggers.clear();
    stepQueue.clear();
    shownMessages.clear();
    for (Point p : tempBlocked) unblockCell(p);
    tempBlocked.clear();
    // 11-12
    auto placeSet = [&](const std::set<int>& members, const std::vector<Point>& tiles) {
        std::size_t i = 0;
        for (int m : members) {
            if (i >= tiles.size()) break;
            placements[m] = tiles[i++];
            if (m != people->mainCharacterIndex) addPerson(m);
        }
    };
    if (!quorvaneTiles.empty()) placeSet(people->party, quorvaneTiles);
    if (!spareQuorvaneTiles.empty()) placeSet(people->reserve, spareQuorvaneTiles);
    // 13
    for (int i : persons) people->at(i).setFacing(SOUTH);
    // 14
    for (const auto& [key, tile] : placements) {
        int i = key == MAIN_CHARACTER_KEY ? people->mainCharacterIndex : key;
        Character& c = people->at(i);
        c.setTilePosition(tile);
        c.walking = false;
        if (i == people->mainCharacterIndex) continue;
        c.setFacing(SOUTH);
        if (resources) c.pickRandomThrowObject();
        c.wandering = standSet.count(i) == 0;
    }
    bool placed = false;
    const int layer = people->mainCharacter().walkingLayer;
    // 15: beside the door that leads back
    std::map<Point, std::string> doors = exits;
    for (const auto& b : buildings)
        if (b->hasDoor() && !b->scene.empty()) doors[b->door] = b->scene;
    for (const auto& [tile, target] : doors) {
        if (target != previousSceneName && target != "BACK") continue;
        const Point around[4] = {tile.offset(-1, 0), tile.offset(1, 0), tile.offset(0, -1),
                                 tile.offset(0, 1)};
        for (Point n : around) {
            if (!isInside(n) || exits.count(n) || !isCellFree(n, layer)) continue;
            placeLeader(n, SOUTH);
            placed = true;
        }
    }
    // 16-17
    if (name == "RocketF1" && zweenyRocket.x != -1) {
        placeLeader(zweenyRocket.offset(0, 1), NO_DIRECTION);
        placed = true;
    } else if (!placed) {
        for (const auto& [d, target] : borderExits) {
            if (target != previousSceneName) continue;
            Point t = people->mainCharacter().tile;
            Direction face = SOUTH;
            if (d == WEST) { t.x = 1; face = EAST; }
            if (d == EAST) { t.x = mapWidth() - 2; face = WEST; }
            if (d == NORTH) { t.y = 1; face = SOUTH; }
            if (d == SOUTH) { t.y = mapHeight() - 2; face = NORTH; }
            // The tile kept from the other scene may lie off this map or in a wall: then the
            // free cell of the same line nearest to it (the lower one of two).
            const int along = d == WEST || d == EAST ? 1 : 0;
            const int length = along == 0 ? mapWidth() : mapHeight();
            Point best{-1, -1};
            if (isInside(t) && isCellFree(t, layer)) best = t;
            for (int k = 0; k < length && best != t; ++k) {
                Point c = t;
                c.set(along, k);
                if (!isInside(c) || !isCellFree(c, layer)) continue;
                if (best.x == -1 || std::abs(k - t[along]) < std::abs(best[along] - t[along])) best = c;
            }
            if (best.x == -1) continue;
            placeLeader(best, face);
            placed = true;
        }
    }
    // 18-19: Sabio
    const int sabio = people->indexOf("Sabio");
    const bool sabioHere = sabio != NO_INDEX && isPresent(persons, sabio);
    if (sabioHere) raiseReserveLevels();
    if (!placed) {
        // Two tiles below Sabio, when the map reaches that far.
        if (sabioHere && placements.count(sabio) && isInside(placements[sabio].offset(0, 2)))
            placeLeader(placements[sabio].offset(0, 2), SOUTH);
        else if (placements.count(MAIN_CHARACTER_KEY)) placeLeader(placements[MAIN_CHARACTER_KEY], SOUTH);
    }
    // 20: back from a Mandelbrot scene
    if (mandelbrotSource.empty() && previous && previous->mandelbrotSource == name)
        placeLeader(previous->mandelbrotReturn.offset(0, 1), NO_DIRECTION);
    // A teleport into this scene names the tile.
    if (arrivalTile.x != -1) {
        placeLeader(arrivalTile, SOUTH);
        arrivalTile = {-1, -1};
    }
    // 21-22
    if (!titleText.empty()) {
        const sf::Texture* picture =
            resources && !titlePicture.empty() ? &resources->getPlanetTexture(titlePicture) : nullptr;
        message.setText(titleText, picture);
    }
    if (!music.empty() && resources) {
        sf::Music& m = resources->getMusic(music);
        m.setLoop(true);
        if (m.getStatus() != sf::SoundSource::Playing) m.play();
    }
    // 23-24: shard displays
    for (auto& [cell, entries] : shardAnimations) {
        for (ShardPiece& p : entries) {
            if (game->shardState(p.name) == 0) continue;
            if (!shardRoomEntries.count(cell)) p.taken = true;
            removeLightTile(cell);
        }
    }
    if (!shardRoomCells.empty()) {
        shardAnimations.clear();
        shardRoomEntries.clear();
        std::size_t k = 0;
        for (const auto& [shard, state] : game->SHARDS) {
            if (state != 1) continue;
            if (k >= shardRoomCells.size()) break;
            Point cell = shardRoomCells[k++];
            ShardPiece p;
            p.counter = 0;
            p.period = 60;
            p.tile = cell;
            p.name = shard;
            shardAnimations[cell].push_back(p);
            shardRoomEntries.insert(cell);
            blocked[0].insert(cell);
        }
    }
    // 25
    runIfBlocks();
    Character& leader = people->mainCharacter();
    // 26
    if (type == SCENE_WALK && (sequence.name.empty() || followView)) {
        placeAtFreeTile(leader.pixel);
        camera = view;
    }
    // 27: battle or save
    if (!battle.inBattle && battle.practice) battle.inBattle = true;
    if (battle.inBattle) {
        // The last fight's loot is known only to the live battle; start takes it off the ground.
        std::set<int> lastLoot = std::move(battle.droppedItems);
        battle = battleDefinition;
        battle.droppedItems = std::move(lastLoot);
        battle.inBattle = true;
        battle.start();
    } else {
        if (!battle.enemies.empty()) zoomAndTalk.clear();
        const bool fromStart = previous && previous->playerControlHere;
        const bool walkOrChapter = type == SCENE_WALK || name.rfind("Chapter", 0) == 0;
        if (previous && !fromStart && previousSceneName != name && walkOrChapter &&
            mandelbrotSource.empty() && !afterDefeat)
            game->saveGame();
    }
    // 28
    if (!entryMonologPerson.empty()) {
        int i = people->indexOf(entryMonologPerson);
        if (i == NO_INDEX) fatalAssert("Scene", 5053, entryMonologPerson);
        auto m = monologs.find(i);
        if (m == monologs.end()) fatalAssert("Scene", 5055, entryMonologPerson);
        monolog = m->second;
    }
    // 29
    focusTile = leader.tile;
    for (MovingTeleporter& t : movingTeleporters)
        t.setTile(pickFreeTile(t.place, mapSize(), blocked[0], blocked[1]));
    // 30
    if (type == SCENE_SPACE) {
        const std::string origin = game->getStrVar("ORIGIN");
        for (const Planet& p : planets)
            if (p.name == origin) focusTile = p.tile.offset(0, 2);
        for (const Comet& c : comets)
            if (c.name == origin)
                focusTile = {c.position.x / TILE_SIZE, c.position.y / TILE_SIZE + c.rowOffset};
    }
    // 31
    if (isInside(focusTile)) marker.setTile(focusTile);
    // 32
    blockDenseCells();
    entryTile = leader.tile;
}
