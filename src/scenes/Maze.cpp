#include "scenes/Maze.hpp"

#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"
#include "scenes/Scene.hpp"

#include <array>
#include <cstdlib>
#include <vector>

// The shuffle was written for a generator of 15 random bits; the C library here gives 31, so
// each draw is cut to its low 15 bits.
int rand15() { return std::rand() & 0x7fff; }

MazeCarving carveMaze(int width, int height) {
    MazeCarving m;
    m.width = width;
    m.height = height;
    if (width <= 0 || height <= 0) return m;
    const size_t n = static_cast<size_t>(width) * static_cast<size_t>(height);
    m.eastOpen.assign(n, 0);
    m.southOpen.assign(n, 0);
    std::vector<bool> visited(n, false);
    auto at = [&](Point c) { return static_cast<size_t>(c.x) * height + c.y; };

    // Depth first with a stack of its own: a big maze would overflow the call stack. Each cell
    // shuffles its four directions when it is first reached and then tries them in order, so the
    // draws and the passages are those of the plain recursive walk.
    struct Frame {
        Point cell;
        std::array<int, 4> order;
        int next;
    };
    std::vector<Frame> stack;
    auto reach = [&](Point c) {
        visited[at(c)] = true;
        std::array<int, 4> order{WEST, EAST, NORTH, SOUTH};
        for (int k = 1; k <= 3; ++k) {
            int r = rand15();
            if (k == 2)
                while (r >= 32766) r = rand15();
            const int j = r % (k + 1);
            if (j != k) std::swap(order[k], order[j]);
        }
        stack.push_back({c, order, 0});
    };
    reach({width / 2, 0});
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == 4) {
            stack.pop_back();
            continue;
        }
        const Point c = f.cell;
        const int d = f.order[f.next++];
        Point nb = c;
        movePoint(nb, d, 1);
        if (nb.x < 0 || nb.y < 0 || nb.x >= width || nb.y >= height || visited[at(nb)]) continue;
        switch (d) {
        case WEST: m.eastOpen[at(nb)] = 1; break;
        case EAST: m.eastOpen[at(c)] = 1; break;
        case NORTH: m.southOpen[at(nb)] = 1; break;
        default: m.southOpen[at(c)] = 1; break;
        }
        reach(nb);
    }
    return m;
}

MazePlan planMaze(Point a, Point b, bool horizontalWalls, const std::string& exits) {
    MazePlan plan;
    const int W = (b.x - a.x) / 2, H = (b.y - a.y) / 2;
    const MazeCarving m = carveMaze(W, H);
    for (int i = 0; i < W; ++i)
        for (int j = 0; j < H; ++j) {
            const int x = a.x + 2 * i, y = a.y + 2 * j;
            if (!m.east(i, j) && !(i == W / 2 && j == 0)) plan.walls.push_back({x + 1, y});
            if (!m.south(i, j) && horizontalWalls) plan.walls.push_back({x, y + 1});
            plan.walls.push_back({x + 1, y + 1});
        }
    for (int x = a.x; x < b.x; ++x) plan.walls.push_back({x, a.y - 1});
    for (int y = a.y; y < b.y; ++y) plan.walls.push_back({a.x - 1, y});

    const int e = a.x + W + (W % 2 != 0 ? 1 : 0);
    // The bottom wall row is the south wall of the last cell row; with an odd height b.y - 1
    // would lie below it, where no wall stands.
    const int bottomWallRow = a.y + 2 * std::max(H, 0) - 1;
    for (char c : exits) {
        if (c == 'S') plan.exits.push_back({e, a.y - 1});
        else if (c == 'N') plan.exits.push_back({e, bottomWallRow});
        else fatalAssert("Scene", 5817, c);
    }
    return plan;
}

void Scene::addWall(Point t, const std::string& wall, bool keepOutOfSecond) {
    Scene& scene = *this;
    SceneObject o;
    o.name = wall;
    o.x = static_cast<float>(t.x);
    o.scale = 1.0f;
    o.yOffset = TILE_SIZE / 4;
    o.colour = sf::Color::White;
    scene.objects.push_back(o);
    scene.objectRows[t.y].push_back(static_cast<int>(scene.objects.size()) - 1);
    scene.blocked[0].insert(t);
    if (!keepOutOfSecond) scene.blocked[1].insert(t);
}

void Scene::generateMaze_(Point a, Point b, const std::string& wall, char,
                          const std::string& exits, bool flag) {
    const MazePlan plan = planMaze(a, b, wall != "Nada", exits);
    for (const Point& t : plan.walls) addWall(t, wall, flag);
    for (const Point& t : plan.exits) unblockCell(t);
}

void readGenerateMaze(Scene& scene, std::istream& rest) {
    WordReader r(rest, "Scene", 778);
    Point a, b;
    a.x = inRange("GenerateMaze", "x0", r.integer());
    a.y = inRange("GenerateMaze", "y0", r.integer());
    b.x = inRange("GenerateMaze", "x1", r.integer());
    b.y = inRange("GenerateMaze", "y1", r.integer());
    const std::string wall = r.word("maze wall");
    const std::string second = r.word("maze second word");
    const std::string exits = r.word("maze exits");
    const int flag = r.integer();
    if (a.x <= 0 || a.y <= 0) fatalAssert("Scene", 778, "Maze must be 1 unit offset from border");
    scene.generateMaze_(a, b, wall, second.empty() ? ' ' : second[0], exits, flag != 0);
}
