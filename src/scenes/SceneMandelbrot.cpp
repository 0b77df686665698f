// Mandelbrot pictures, block-pushing puzzles and living pictures as parts of a scene: their
// scene-file statements, the maze levels rebuilt from the generated planet's tables, and their
// per-frame steps. (Drawing: ScenePicturesDraw.cpp.)
#include "scenes/Scene.hpp"

#include "characters/People.hpp"
#include "foundation/NumberRanges.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"
#include "minigames/AlivePicture.hpp"
#include "minigames/Mandelbrot.hpp"
#include "minigames/Sokoban.hpp"

#include <cctype>
#include <cmath>

namespace {

int levelDigit(const std::string& sceneName) {
    if (sceneName.empty() || !std::isdigit(static_cast<unsigned char>(sceneName.back())))
        fatalAssert("Scene", 26, "maze level name must end in a digit: " + sceneName);
    return sceneName.back() - '0';
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Statements

bool Scene::readPictureStatement(const std::string& word, std::istream& head,
                                 std::set<std::string>& names) {
    WordReader r(head, "Scene", 37);
    if (word == "Mandelbrot") {
        // Mandelbrot COLOR r g b ... RANDOMCOLORS n Location re0 im0 re1 im1
        if (!mandelbrot) mandelbrot = std::make_shared<Mandelbrot>();
        Mandelbrot& m = *mandelbrot;
        m.keyColours.clear();
        bool located = false;
        std::string w;
        while (r.next(w)) {
            if (w == "COLOR") {
                int channel[3];
                for (int& c : channel) c = r.integer("Mandelbrot", "COLOR");
                m.keyColours.push_back(sf::Color(channel[0], channel[1], channel[2]));
            } else if (w == "RANDOMCOLORS") {
                const int n = r.integer("Mandelbrot", "RANDOMCOLORS");
                for (int i = 0; i < n; ++i) m.keyColours.push_back(randomColor());
            } else if (w == "Location") {
                double v[4];
                for (double& x : v) x = r.real("Mandelbrot", "Location");
                if (v[0] == v[2] || v[1] == v[3])
                    fatalAssert("Scene", 57, "Mandelbrot Location is empty");
                m.view = {v[0], v[1], v[2], v[3]};
                located = true;
            } else {
                fatalAssert("Scene", 61, "Mandelbrot " + w);
            }
        }
        if (m.keyColours.empty()) fatalAssert("Scene", 64, "Mandelbrot without colours");
        if (m.keyColours.size() > 99) fatalAssert("Scene", 65, "Mandelbrot colours above 99");
        if (!located) fatalAssert("Scene", 66, "Mandelbrot without Location");
        mandelbrotRead = true;
    } else if (word == "MandelbrotFullScreen") {
        mandelbrotFullScreen = true;
    } else if (word == "MandelbrotMapScene") {
        mapSceneName = r.word("MandelbrotMapScene scene");
    } else if (word == "GenerateMandelbrotMaze") {
        std::vector<Point> points = r.points();
        if (points.empty()) fatalAssert("Scene", 74, "GenerateMandelbrotMaze without points");
        mandelbrotMaze.insert(mandelbrotMaze.end(), points.begin(), points.end());
    } else if (word == "SokobanGame") {
        if (!sokoban) sokoban = std::make_shared<Sokoban>();
        sokoban->read(head);
    } else if (word == "AlivePicture") {
        auto picture = std::make_shared<AlivePicture>();
        picture->read(head);
        // Object pictures are loaded by name: the store must hear of this one.
        names.insert(picture->texture);
        alivePictures.push_back(picture);
    } else {
        return false;
    }
    return true;
}

void Scene::finishPictureLoad() {
    for (const Point& p : mandelbrotMaze)
        if (!isInside(p)) fatalAssert("Scene", 93, "GenerateMandelbrotMaze point outside the map");
    if (sokoban) {
        for (Point p : {sokoban->doorTile, sokoban->resetTile})
            if (!isInside(p)) fatalAssert("Scene", 96, "SokobanGame tile outside the map");
    }
    for (const auto& picture : alivePictures)
        if (!isInside(picture->tile)) fatalAssert("Scene", 99, "AlivePicture " + picture->texture);
    if (!mandelbrotRead) return;
    // A picture read from a file covers exactly its grid, so every cell search stays inside it.
    if (mapWidth() == 0 || mapHeight() == 0) fatalAssert("Scene", 102, "Mandelbrot without a map");
    mandelbrot->resize(mapWidth() * TILE_SIZE, mapHeight() * TILE_SIZE);
    mandelbrot->setColors(mandelbrot->keyColours);
    mandelbrot->PopulateCache();
}

void Scene::checkMandelbrotPictureSize() const {
    const long long width = static_cast<long long>(mapWidth()) * TILE_SIZE;
    const long long height = static_cast<long long>(mapHeight()) * TILE_SIZE;
    const NumberRange& pixels = numberRange("Mandelbrot", "picture");
    const double area = static_cast<double>(width) * static_cast<double>(height);
    if (area > pixels.high)
        fatalAssert("Scene", 114,
                    "Mandelbrot " + std::to_string(width * height) + " pixels (" + std::to_string(width) +
                        " x " + std::to_string(height) + ") of scene " + name);
}

// ---------------------------------------------------------------------------------------------
// Maze levels

void Scene::populateMandelbrotCache() {
    const std::string source = !mandelbrotSource.empty() ? mandelbrotSource : templateName;
    Point tile = mandelbrotReturn;
    if (tile == Point(-1, -1)) tile = mazeCell;
    if (tile == Point(-1, -1)) tile = {0, 0};
    populateMandelbrotCacheFrom(source, tile);
}

void Scene::populateMandelbrotCacheFrom(const std::string& source, Point tile) {
    if (source.empty()) fatalAssert("Scene", 131, source);
    const long long index = game->findScene(source);
    if (index < 0) fatalAssert("Scene", 133, "Mandelbrot source " + source + " of " + name);
    Scene& from = game->scenes[index];
    if (!from.mandelbrot) fatalAssert("Scene", 135, "Mandelbrot source without picture: " + source);
    if (!mandelbrot) fatalAssert("Scene", 136, "Mandelbrot picture missing: " + name);
    const MandelbrotView& v = from.mandelbrot->view;
    const float a = static_cast<float>(v.re0), b = static_cast<float>(v.im0);
    const float c = static_cast<float>(v.re1), d = static_cast<float>(v.im1);
    const float dx = c - a, dy = d - b;
    const int N = from.mapWidth(), M = from.mapHeight();
    if (N == 0 || M == 0) fatalAssert("Scene", 142, "Mandelbrot source without a map: " + source);
    const int T = displayTileSize;
    const std::int32_t nT = N * T, mT = M * T;
    MandelbrotView& own = mandelbrot->view;
    own.re0 = static_cast<double>(tile.x * T) * dx / nT + a;
    own.im0 = static_cast<double>(tile.y * T) * dy / mT + b;
    own.re1 = static_cast<double>((tile.x + 1) * T) * dx / nT + a;
    own.im1 = static_cast<double>((tile.y + 1) * T) * dy / mT + b;
    mandelbrot->PopulateCache();
}

void Scene::rebuildMandelbrotLevel() {
    const int level = levelDigit(name);
    const Scene& source = game->sceneByName(mandelbrotSource);
    const Point sourceSize = source.mapSize();
    const int N = mapWidth(), M = mapHeight();

    blocked[0].clear();
    blocked[1].clear();
    for (Point cell : mandelbrot->findDenseCells({N, M})) blocked[0].insert(cell);
    animatedObjects.clear();
    teleports.clear();

    for (const auto& [place, sceneName] : game->mandelbrotPlacements) {
        if (Point(place.x, place.y) != mandelbrotReturn || place.level != level) continue;
        message.setText("Mmmm, there is something different here...", nullptr);
        teleports[{N / 2 - 2, M / 2 - 2}] = {sceneName, {1, 2}};
        const long long special = game->findScene(sceneName);
        if (special < 0) fatalAssert("Scene", 170, sceneName);
        game->scenes[special].syncBlockedCells(blocked[0]);
    }

    const Point own{N, M};
    for (int axis : AXES) {
        for (int side : {0, 1}) {
            Point neighbour = mandelbrotReturn;
            neighbour.set(axis, neighbour[axis] + (side == 0 ? -1 : 1));
            const int edge = side == 0 ? 0 : sourceSize[axis] - 1;
            const bool linked = game->mazeCells.count(
                {MazeNode{mandelbrotReturn, level}, MazeNode{neighbour, level}}) > 0;
            if (linked && mandelbrotReturn[axis] != edge) continue;
            for (int i = 0; i < own[1 - axis]; ++i) {
                Point cell;
                cell.set(axis, side == 0 ? 0 : own[axis] - 1);
                cell.set(1 - axis, i);
                AnimatedObject light;
                light.name = "LightBall";
                light.position = {cell.x * TILE_SIZE + TILE_SIZE / 2, cell.y * TILE_SIZE + TILE_SIZE / 2};
                light.scale = 1.0f;
                light.frameIndex = 0;
                light.flag = true;
                light.colour = sf::Color::White;
                light.mirror = false;
                light.tickCounter = 0;
                light.ticksPerFrame = 1;
                animatedObjects[cell.y].push_back(light);
                blocked[0].insert(cell);
                blocked[1].insert(cell);
            }
        }
    }
    if (!mapSceneName.empty()) mapPos = mandelbrotReturn;
}

void Scene::enterMandelbrotLevel() {
    populateMandelbrotCache();
    rebuildMandelbrotLevel();
}

void Scene::blockDenseCells() {
    if (!mandelbrot || mandelbrot->width < mapWidth() * TILE_SIZE ||
        mandelbrot->height < mapHeight() * TILE_SIZE)
        return;
    for (Point cell : mandelbrot->findDenseCells(mapSize()))
        if (tileKindAtCell(cell.x, cell.y).texture.empty()) blocked[0].insert(cell);
}

// A maze level shows one cell of its source; walking off an open side moves the level to the
// neighbouring cell of the same depth and puts the leader on the opposite side.
bool Scene::crossMandelbrotBorder(Direction d) {
    if (mandelbrotSource.empty() || !mandelbrot || name.empty() ||
        !std::isdigit(static_cast<unsigned char>(name.back())))
        return false;
    const int level = name.back() - '0';
    Point neighbour = mandelbrotReturn;
    movePoint(neighbour, d, 1);
    if (!game->mazeCells.count({MazeNode{mandelbrotReturn, level}, MazeNode{neighbour, level}}))
        return false;
    Character& leader = people->mainCharacter();
    Point arrival = leader.tile;
    if (d == WEST) arrival.x = mapWidth() - 2;
    if (d == EAST) arrival.x = 1;
    if (d == NORTH) arrival.y = mapHeight() - 2;
    if (d == SOUTH) arrival.y = 1;
    mandelbrotReturn = neighbour;
    enterMandelbrotLevel();
    blocked[0].erase(arrival);
    leader.setTilePosition(arrival);
    leader.setFacing(d);
    placeAtFreeTile(leader.pixel);
    camera = view;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Per frame

void Scene::updatePictures() {
    if (mandelbrot) mandelbrot->rotateColors();
    if (people && people->mainCharacterIndex != NO_INDEX) {
        if (!mapSceneName.empty() && mapSceneName == name) mapPos = people->mainCharacter().tile;
        for (const auto& picture : alivePictures) picture->update();
    }
    if (type != SCENE_WALK || !sokoban || !sokoban->present) return;
    sokoban->update(blocked[0], mapSize());
    if (sokoban->isSolved() && !teleports.count(sokoban->doorTile)) {
        if (resources) resources->playSound("SalomaoDiamond");
        teleports[sokoban->doorTile] = {sokoban->doorDestinationScene, sokoban->doorDestinationTile};
        blocked[0].erase(sokoban->doorTile);
        // The door may lie far from the last crate: the player is told it opened.
        message.setText("Every crate sits on a mark: a door has opened.", nullptr);
    }
    const Character& leader = people->mainCharacter();
    Point faced = leader.tile;
    movePoint(faced, leader.facing, 1);
    if (game->input.confirm && !leader.walking &&
        (leader.tile == sokoban->resetTile || faced == sokoban->resetTile)) {
        sokoban->restart();
        if (resources) resources->playSound("Discovery");
    }
}
