#include "scenes/Scene.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"

#include <algorithm>

Scene::Scene() = default;
Scene::~Scene() = default;
Scene::Scene(const Scene&) = default;
Scene& Scene::operator=(const Scene&) = default;

Direction parseDirection(const std::string& word) {
    if (word == "WEST") return WEST;
    if (word == "EAST") return EAST;
    if (word == "NORTH") return NORTH;
    if (word == "SOUTH") return SOUTH;
    return NORTH;
}

// ---------------------------------------------------------------------------------------------
// Conditions

bool isConditionKind(const std::string& word) {
    static const std::set<std::string> kinds{"FLAG", "NOFLAG", "SHARD", "NOSHARD", "ITEM",
                                             "NOITEM", "CHAPTER", "WON", "ALWAYS"};
    return kinds.count(word) > 0;
}

bool SceneCondition::isTrue() const {
    if (once && played) return false;
    if (kind == "ALWAYS") return true;
    if (kind == "FLAG") return game->isBoolVarSet(argument);
    if (kind == "NOFLAG") return !game->isBoolVarSet(argument);
    if (kind == "SHARD") return game->shardState(argument) != 0;
    if (kind == "NOSHARD") return game->shardState(argument) == 0;
    if (kind == "ITEM") return people->partyHasItemNamed(argument);
    if (kind == "NOITEM") return !people->partyHasItemNamed(argument);
    if (kind == "CHAPTER") return game->chapter == toInt(argument, "Scene", 45);
    if (kind == "WON") {
        long long i = game->findScene(argument);
        return i >= 0 && game->scenes[i].battle.won;
    }
    fatalAssert("Scene", 50, kind);
}

// ---------------------------------------------------------------------------------------------
// Grid

int Scene::mapWidth() const { return static_cast<int>(grid.size()); }

int Scene::mapHeight() const { return grid.empty() ? 0 : static_cast<int>(grid[0].size()); }

bool Scene::isInside(Point cell) const {
    return cell.x >= 0 && cell.y >= 0 && cell.x < mapWidth() && cell.y < mapHeight();
}

bool Scene::isBlocked(Point cell, bool flying) const {
    for (const Rect& field : energyFields)
        if (field.contains(cell)) return true;
    return blocked[flying ? 1 : 0].count(cell) > 0;
}

bool Scene::isCellFree(Point cell, int layer) const {
    if (blocked[layer == 1 ? 1 : 0].count(cell)) return false;
    return personAt(cell) == NO_INDEX;
}

int Scene::personAt(Point tile) const {
    for (int i : persons) {
        const Character& c = people->at(i);
        if (c.tile == tile || c.targetTile == tile) return i;
    }
    return NO_INDEX;
}

void Scene::addPerson(int index) {
    if (std::find(persons.begin(), persons.end(), index) == persons.end()) persons.push_back(index);
}

void Scene::removePerson(int index) {
    persons.erase(std::remove(persons.begin(), persons.end(), index), persons.end());
}

const TileKind& Scene::tileKindAtCell(int x, int y) const { return game->tileKindAt(grid[x][y]); }

bool Scene::cellTileFlag(Point cell) const {
    return isInside(cell) && tileKindAtCell(cell.x, cell.y).blocking;
}

void Scene::setCell(Point cell, char tileChar, int assertLine) {
    auto it = legend.find(tileChar);
    if (it == legend.end()) fatalAssert("Scene", assertLine, std::string(1, tileChar));
    if (!isInside(cell)) fatalAssert("Scene", assertLine, std::to_string(cell.x) + "," + std::to_string(cell.y));
    grid[cell.x][cell.y] = it->second;
}

// ---------------------------------------------------------------------------------------------
// View

namespace {
constexpr int SCREEN_W = WINDOW_WIDTH;
constexpr int SCREEN_H = WINDOW_HEIGHT;
} // namespace

Point Scene::findFreeTile(Point pixel) const {
    const int screenTiles[2] = {SCREEN_W / TILE_SIZE, SCREEN_H / TILE_SIZE};
    const int mapTiles[2] = {mapWidth(), mapHeight()};
    Point origin;
    for (int a : AXES) {
        int v = pixel[a] - (screenTiles[a] / 2) * TILE_SIZE;
        v = std::max(v, 0);
        v = std::min(v, (mapTiles[a] - screenTiles[a]) * TILE_SIZE - 1);
        origin.set(a, v);
    }
    return origin;
}

void Scene::placeAtFreeTile(Point pixel) { view = findFreeTile(pixel); }

Point Scene::viewOffset(Point centre) const {
    const int t = displayTileSize;
    const int screenTiles[2] = {SCREEN_W / t, SCREEN_H / t};
    const int mapTiles[2] = {mapWidth(), mapHeight()};
    Point offset;
    for (int a : AXES) {
        int v = centre[a] - (screenTiles[a] * t) / 2;
        v = std::max(v, 0);
        v = std::min(v, (mapTiles[a] - screenTiles[a]) * t - 1);
        offset.set(a, v);
    }
    return offset;
}

// ---------------------------------------------------------------------------------------------
// Items lying about

void Scene::dropItem(int item, Point tile, bool onTable) {
    auto& row = drops[tile.y];
    for (const DroppedItem& d : row)
        if (d.item == item && d.tile == tile) return;
    row.push_back({item, tile, onTable});
}

void Scene::dropItemNear(int item, Point tile) {
    // The nearest cell (by steps) that walkers may enter and where nothing lies yet.
    auto usable = [&](Point c) {
        if (!isInside(c) || isBlocked(c, false)) return false;
        auto it = drops.find(c.y);
        if (it != drops.end())
            for (const DroppedItem& d : it->second)
                if (d.tile == c) return false;
        return true;
    };
    int reach = std::max(mapWidth(), mapHeight());
    for (int d = 0; d <= reach; ++d) {
        for (int dy = -d; dy <= d; ++dy) {
            int rest = d - std::abs(dy);
            for (int dx : {-rest, rest}) {
                Point c = tile.offset(dx, dy);
                if (usable(c)) {
                    dropItem(item, c, false);
                    return;
                }
                if (rest == 0) break;
            }
        }
    }
    // A map with no free cell at all: leave it where it fell.
    dropItem(item, tile, false);
}

void Scene::rebuildCharacterList(const std::set<int>& items) {
    for (auto& [row, list] : drops)
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const DroppedItem& d) { return items.count(d.item) > 0; }),
                   list.end());
}

Chest* Scene::chestAt(Point tile) {
    auto it = chests.find(tile.y);
    if (it == chests.end()) return nullptr;
    for (Chest& c : it->second)
        if (c.tile == tile) return &c;
    return nullptr;
}

BaseBuilding* Scene::buildingWithDoor(Point tile) const {
    for (const auto& b : buildings)
        if (b->hasDoor() && b->door == tile) return b.get();
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Ground and messages

std::string Scene::groundTileKind() const {
    if (grid.empty() || grid[0].empty()) return "";
    auto textureAt = [&](std::size_t x, std::size_t y) -> std::string {
        if (x >= grid.size() || y >= grid[x].size()) return "";
        return game->tileKindAt(grid[x][y]).texture;
    };
    std::string centre = textureAt(grid.size() / 2, grid[0].size() / 2);
    std::string first = firstCellBackdrop ? textureAt(0, 0) : std::string();
    if (centre == first) return textureAt(3, 3);
    return centre;
}

void Scene::joinCharacter(const std::string& characterName) {
    message.setText(characterName + " joined the Quorvane!");
    message.sound = "JoinFanfare";
    message.color = sf::Color::Red;
}

void Scene::obtainShard(const std::string& shardName) {
    message.setText("You found the " + shardName + " shard!");
    message.sound = "ShardFanfare";
    message.color = sf::Color::Red;
}

// ---------------------------------------------------------------------------------------------
// Light, containers, pets

void Scene::removeLightTile(Point tile) {
    auto it = std::find(light.lights.begin(), light.lights.end(), tile);
    if (it == light.lights.end()) return;
    light.lights.erase(it);
    light.distances.erase(tile);
    light.flickered.erase(tile);
    // A cell another light still reaches stays lit.
    light.lit.clear();
    for (const auto& [source, cells] : light.distances)
        for (const auto& [cell, d] : cells) light.lit.insert(cell);
}

void Scene::setContainerContents(const std::string& contentName) {
    for (auto& [row, list] : containers)
        for (Container& c : list) {
            c.name = contentName;
            for (std::string& held : c.contents) held = contentName;
        }
}

void Scene::setPet(const std::string& pet) {
    flyingAnimations.clear();
    objects.clear();
    objectRows.clear();
    if (pet == "Parrot") {
        FlyingAnimation parrot;
        parrot.animation.name = "Parrot";
        parrot.size = {200, 200};
        parrot.speed = 0.5f;
        parrot.x = 1800;
        parrot.y = 960;
        parrot.animation.position = {1800, 960};
        parrot.animation.colour = sf::Color::White;
        flyingAnimations.push_back(parrot);
        return;
    }
    SceneObject creature;
    creature.name = pet == "Fox" ? "FatFox" : pet;
    creature.x = 2;
    creature.scale = pet == "Raccoon" ? 1.0f : 0.7f;
    objects.push_back(creature);
    objectRows[5].push_back(static_cast<int>(objects.size()) - 1);
}

void FlyingAnimation::update() {
    // Drifts and turns back at the screen's edges. Only a flight outward turns: a pet that
    // starts past an edge (the parrot starts in the corner) flies in instead of turning there
    // every frame, half hidden for ever.
    if (vx == 0 && vy == 0) {
        vx = -speed * 20;
        vy = -speed * 10;
    }
    x += vx;
    y += vy;
    if ((x < 0 && vx < 0) || (x + size.x > SCREEN_W && vx > 0)) vx = -vx;
    if ((y < 0 && vy < 0) || (y + size.y > SCREEN_H && vy > 0)) vy = -vy;
    animation.position = {static_cast<int>(x), static_cast<int>(y)};
    animation.mirror = vx > 0;
}

// ---------------------------------------------------------------------------------------------
// Blocked cells

void Scene::scanBlockedNeighbours() {
    // A wall that touches a blocked cell is blocked too; indoors nothing flies over walls.
    std::set<Point> found = blocked[0];
    for (Point c : blocked[0]) {
        for (Point n : pointsAround(c, 1, 0)) {
            if (!isInside(n) || found.count(n)) continue;
            if (tileKindAtCell(n.x, n.y).blocking) found.insert(n);
        }
    }
    blocked[0] = found;
    if (indoor)
        for (Point c : found) blocked[1].insert(c);
}

void Scene::syncBlockedCells(const std::set<Point>& cells) {
    std::set<Point> result = blockedLocations;
    for (Point c : cells) {
        if (blocked[0].count(c) || (isInside(c) && tileKindAtCell(c.x, c.y).blocking))
            result.insert(c);
    }
    blocked[0] = result;
}

void Scene::unblockCell(Point tile) {
    blocked[0].erase(tile);
    blocked[1].erase(tile);
}

int personIndex(const std::string& name, int line, const std::string& suffix) {
    if (name == "<MAIN>") return people->mainCharacterIndex;
    int i = people->indexOf(name);
    if (i == NO_INDEX) fatalAssert("Scene", line, name + suffix);
    return i;
}
