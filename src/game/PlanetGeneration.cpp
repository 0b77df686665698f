// A Mandelbrot planet's template scene becomes a maze in three dimensions: three depth scenes of
// growing size joined by stairs, a random spanning tree over the picture's most varied cells and
// the planet's special scenes hidden in it. Seeded from "MANDEL_RANDOM_SEED", so a saved game
// gets the same planet back.
#include "game/Game.hpp"

#include "game/Globals.hpp"
#include "game/LoadingScreen.hpp"
#include "minigames/Mandelbrot.hpp"
#include "scenes/Scene.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace {

std::string depthName(const std::string& templateName, int depth) {
    return templateName + "_template_depth_" + std::to_string(depth);
}

// Uniform in 0..n-1 from rand(): draws in the incomplete top of rand()'s range are drawn again.
int uniformBelow(int n) {
    const long long span = static_cast<long long>(RAND_MAX) + 1;
    const long long limit = span - span % n;
    long long r;
    do {
        r = std::rand();
    } while (r >= limit);
    return static_cast<int>(r % n);
}

// The drifting space behind a depth scene: startSpaceDrift's three draws, with the star field
// spread over the whole map instead of the screen.
void depthSpace(Background& layer, int depth) {
    layer.startSpaceDrift();
    const std::vector<BackgroundItem> screenStars = layer.items;
    layer.count = 90 * depth * depth;
    layer.pixelSize = {16 * depth * 120, 9 * depth * 120};
    layer.items.clear();
    for (int i = 0; i < layer.count && !screenStars.empty(); ++i) {
        BackgroundItem star = screenStars[static_cast<std::size_t>(i) % screenStars.size()];
        const int copy = i / static_cast<int>(screenStars.size());
        star.x = star.x * depth + static_cast<float>((copy * 977) % layer.pixelSize.x);
        star.y = star.y * depth + static_cast<float>((copy * 541) % layer.pixelSize.y);
        while (star.x >= layer.pixelSize.x) star.x -= static_cast<float>(layer.pixelSize.x);
        while (star.y >= layer.pixelSize.y) star.y -= static_cast<float>(layer.pixelSize.y);
        layer.items.push_back(star);
    }
}

// The maze comes out the same in every run: its seed is kept in a game variable, which the
// save file stores; the first generation takes it from the clock.
void seedFromGame(Game& g) {
    const std::string stored = g.getStrVar("MANDEL_RANDOM_SEED");
    int seed;
    if (!stored.empty()) {
        seed = toFullInt(stored, "Game", 118);
    } else {
        seed = static_cast<std::int32_t>(std::time(nullptr));
        g.setStrVar("MANDEL_RANDOM_SEED", std::to_string(seed));
    }
    std::srand(static_cast<unsigned>(seed));
}

// The floor and the two stairs that the depth levels are built of.
struct DepthKinds {
    int floor, up, down;
};

// The floor shows the picture alone; the stairs are drawn over it, up and down told apart.
// Textures are all loaded before any planet is, so the generation needs no loading of its own.
DepthKinds addDepthKinds(Game& g) {
    TileKind plain, up, down;
    up.setStairsUp();
    up.setTexture("NebulaStairsUp");
    down.setStairsDown();
    down.setTexture("NebulaStairsDown");
    const int floorKind = g.addTileKind(plain);
    const int upKind = g.addTileKind(up);
    const int downKind = g.addTileKind(down);
    return {floorKind, upKind, downKind};
}

// Three depth levels under the template, each larger than the one above, joined by stairs;
// the deepest has no way further down.
void addDepthScenes(Game& g, sf::RenderWindow* window, float fraction, const Scene& templ,
                    const DepthKinds& kinds) {
    const std::string T = templ.name;
    for (int d = 1; d <= 3; ++d) {
        if (window) showLoadingScreen(window, fraction, static_cast<float>(d - 1) / 3);
        Scene& s = g.scenes.addScene();
        s.name = depthName(T, d);
        s.type = SCENE_WALK;
        s.music = "Mandelbrot";
        depthSpace(s.backgrounds[LAYER_BACKGROUND], d);
        const Point stairsDown{8 * d + d % 2, 9 * d / 2};
        const Point stairsUp{8 * d + 1 - d % 2, 9 * d / 2};
        if (d < 3) s.exits[stairsDown] = depthName(T, d + 1);
        s.exits[stairsUp] = d == 1 ? T : depthName(T, d - 1);
        s.grid.assign(static_cast<std::size_t>(16 * d), std::vector<int>(static_cast<std::size_t>(9 * d), kinds.floor));
        if (d < 3) s.grid[stairsDown.x][stairsDown.y] = kinds.down;
        s.grid[stairsUp.x][stairsUp.y] = kinds.up;
        s.templateName = T;
        // A depth level shows one cell of the template's picture, found through its source.
        s.mandelbrotSource = T;
        s.mandelbrot = std::make_shared<Mandelbrot>(templ.mandelbrot->copyWithoutCounts());
        s.mandelbrot->resize(16 * d * TILE_SIZE, 9 * d * TILE_SIZE);
        s.mandelbrotFullScreen = true;
        s.mapSceneName = templ.mapSceneName;
        s.planet = templ.planet;
    }
}

// A special scene hidden in a maze cell at a depth: its picture is the template's in inverted
// colours, and its teleport leads back into that depth level.
void hideSpecialScene(Game& g, const Scene& templ, const std::string& sceneName, int depth, Point C) {
    const std::string T = templ.name;
    g.mandelbrotPlacements[{C.x, C.y, depth}] = sceneName;
    if (sceneName == "MandelbrotShardScene") g.shardPlacement = {C.x, C.y, depth};
    const long long index = g.findScene(sceneName);
    if (index < 0) fatalAssert("Game", 351, "Rezoda");
    Scene& special = g.scenes[index];
    special.templateName = T;
    special.mazeCell = C;
    // The level its teleport leads back to opens over this cell, also when a resumed
    // game starts in the room.
    special.mandelbrotReturn = C;
    special.checkMandelbrotPictureSize();
    special.mandelbrot = std::make_shared<Mandelbrot>(templ.mandelbrot->copyWithoutCounts());
    special.mandelbrot->resize(special.mapWidth() * TILE_SIZE, special.mapHeight() * TILE_SIZE);
    special.populateMandelbrotCache();
    for (sf::Color& c : special.mandelbrot->palette) {
        c.r = static_cast<sf::Uint8>(255 - c.r);
        c.g = static_cast<sf::Uint8>(255 - c.g);
        c.b = static_cast<sf::Uint8>(255 - c.b);
    }
    special.templateName.clear();
    // Back to the middle of the level it hides in, two tiles right of its teleport.
    special.teleports[{2, 1}] = {depthName(T, depth), {16 * depth / 2, 9 * depth / 2 - 2}};
}

} // namespace

std::vector<MazeNode> Game::generate3DMaze_(const std::vector<Point>& cells, int,
                                            const std::vector<Point>& starts) {
    const int maxDepth = 3;
    mazeCells.clear();
    std::set<MazeNode> visited;
    const std::set<Point> cellSet(cells.begin(), cells.end());
    // A depth-first search kept on its own stack: a large template has tens of thousands of
    // nodes, too deep for the call stack. A node shuffles its neighbours when it is first
    // reached and then tries them in that order, so the passages and the rand() draws are those
    // of the plain recursive walk.
    struct Frame {
        MazeNode node;
        std::vector<MazeNode> next;
        std::size_t tried = 0;
    };
    std::vector<Frame> stack;
    auto reach = [&](const MazeNode& from, const MazeNode& node) {
        if (!visited.insert(node).second) return;
        if (from.depth != -1) {
            mazeCells.insert({from, node});
            mazeCells.insert({node, from});
        }
        std::vector<MazeNode> next;
        if (node.depth - 1 >= 1) next.push_back({node.cell, node.depth - 1});
        if (node.depth + 1 <= maxDepth) next.push_back({node.cell, node.depth + 1});
        for (Direction d : DIRECTIONS) {
            Point c = node.cell;
            movePoint(c, d, 1);
            if (cellSet.count(c)) next.push_back({c, node.depth});
        }
        for (std::size_t i = 1; i < next.size(); ++i) {
            const std::size_t j = static_cast<std::size_t>(uniformBelow(static_cast<int>(i) + 1));
            if (i != j) std::swap(next[i], next[j]);
        }
        stack.push_back({node, std::move(next)});
    };
    for (Point p : starts) {
        reach({p, -1}, {p, 1});
        while (!stack.empty()) {
            Frame& top = stack.back();
            if (top.tried == top.next.size()) {
                stack.pop_back();
                continue;
            }
            const MazeNode from = top.node;
            const MazeNode node = top.next[top.tried++];
            reach(from, node); // may grow the stack: `top` is not used after this
        }
    }
    std::vector<MazeNode> unreached;
    for (Point c : cells)
        for (int z = 1; z <= 2; ++z)
            if (!visited.count({c, z})) unreached.push_back({c, z});
    return unreached;
}

void Game::generatePlanet(sf::RenderWindow* window, float fraction,
                          const std::vector<Point>& points, long long templateIndex) {
    seedFromGame(*this);
    Scene& templ = scenes.at(templateIndex);
    const std::string T = templ.name;
    if (!templ.mandelbrot) fatalAssert("Game", 127, "Mandelbrot template without picture: " + T);
    const Point templateSize = templ.mapSize();
    const DepthKinds kinds = addDepthKinds(*this);
    addDepthScenes(*this, window, fraction, templ, kinds);

    // Every maze entry point of the template becomes stairs down to the first level.
    for (Point p : points) {
        if (!templ.isInside(p)) fatalAssert("Game", 164, "maze entry point outside " + T);
        templ.grid[p.x][p.y] = kinds.down;
        templ.exits[p] = depthName(T, 1);
    }

    // The maze spreads over the cells where the picture varies most; what is left of them are
    // the cells it reaches at both depths, where the special scenes may hide.
    std::vector<Point> cells = templ.mandelbrot->findVariedCells(templateSize);
    for (const MazeNode& node : generate3DMaze_(cells, 0, points)) {
        auto it = std::find(cells.begin(), cells.end(), node.cell);
        if (it != cells.end()) cells.erase(it);
    }

    // Each special scene hides in a random one of those cells, at its own depth.
    if (cells.empty()) {
        consoleLine("No maze cells on ", T, ": the special scenes are not placed");
    } else {
        for (const auto& [sceneName, depth] : mandelbrotScenes) {
            const Point C = cells[static_cast<std::size_t>(std::rand()) % cells.size()];
            hideSpecialScene(*this, templ, sceneName, depth, C);
        }
    }
    // The loading bar fills; the rest of the run draws from the clock again, not from the maze's
    // repeatable seed.
    if (window) showLoadingScreen(window, fraction, 1);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}
