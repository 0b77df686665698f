// The maze generator: carving, wall placement, exits and the mended faults.
#include "scenes/Maze.hpp"

#include "SceneTestWorld.hpp"

#include <array>
#include <cstdlib>
#include <functional>
#include <queue>
#include <sstream>

namespace {

// Every cell reached from the start through the openings, and the number of openings.
std::pair<int, int> reachAndEdges(const MazeCarving& m) {
    std::vector<bool> seen(m.width * m.height, false);
    std::queue<Point> open;
    open.push({m.width / 2, 0});
    seen[(m.width / 2) * m.height] = true;
    int reached = 0, edges = 0;
    for (int i = 0; i < m.width; ++i)
        for (int j = 0; j < m.height; ++j) edges += m.east(i, j) + m.south(i, j);
    while (!open.empty()) {
        Point c = open.front();
        open.pop();
        ++reached;
        auto go = [&](Point n, bool passage) {
            if (!passage || seen[n.x * m.height + n.y]) return;
            seen[n.x * m.height + n.y] = true;
            open.push(n);
        };
        if (c.x + 1 < m.width) go({c.x + 1, c.y}, m.east(c.x, c.y));
        if (c.x > 0) go({c.x - 1, c.y}, m.east(c.x - 1, c.y));
        if (c.y + 1 < m.height) go({c.x, c.y + 1}, m.south(c.x, c.y));
        if (c.y > 0) go({c.x, c.y - 1}, m.south(c.x, c.y - 1));
    }
    return {reached, edges};
}

bool has(const std::vector<Point>& v, Point p) { return std::find(v.begin(), v.end(), p) != v.end(); }

} // namespace

TEST(Maze, CarvesAPerfectMazeThatTheSameRandomStateRepeats) {
    for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {9, 6}, {40, 25}}) {
        std::srand(4044);
        MazeCarving m = carveMaze(w, h);
        auto [reached, edges] = reachAndEdges(m);
        EXPECT_EQ(reached, w * h) << w << "x" << h;
        EXPECT_EQ(edges, w * h - 1) << "a spanning tree has one opening fewer than cells";
        std::srand(4044);
        MazeCarving again = carveMaze(w, h);
        EXPECT_EQ(again.eastOpen, m.eastOpen);
        EXPECT_EQ(again.southOpen, m.southOpen);
    }
    // With 31-bit draws the redraw loop would spin for ages; cut to 15 bits a big maze is quick.
    std::srand(1);
    MazeCarving big = carveMaze(150, 150);
    EXPECT_EQ(reachAndEdges(big).first, 150 * 150);
}

TEST(Maze, EachCellShufflesWithThreeDraws) {
    // 20 cells: 60 draws. Each draw is cut to 15 bits, so the redraw comes only for the two
    // highest values; on the whole 31-bit draw it would repeat some 65,000 times per cell.
    std::srand(12);
    carveMaze(5, 4);
    const int next = std::rand();
    std::srand(12);
    for (int i = 0; i < 60; ++i) std::rand();
    EXPECT_EQ(std::rand(), next);
}

TEST(Maze, PlacesWallsBordersAndExits) {
    std::srand(7);
    MazePlan plan = planMaze({2, 2}, {20, 14}, true, "SN");
    // W = 9 cells, H = 6 cells.
    EXPECT_FALSE(has(plan.walls, {2 + 2 * 4 + 1, 2})) << "the start cell keeps its east opening";
    for (int j = 0; j < 6; ++j) EXPECT_TRUE(has(plan.walls, {19, 2 + 2 * j})) << "right side closed";
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(has(plan.walls, {2 + 2 * i, 13})) << "bottom closed";
    for (int x = 2; x < 20; ++x) EXPECT_TRUE(has(plan.walls, {x, 1}));
    for (int y = 2; y < 14; ++y) EXPECT_TRUE(has(plan.walls, {1, y}));
    // Odd W: the exit column is one cell right of the middle.
    ASSERT_EQ(plan.exits.size(), 2u);
    EXPECT_EQ(plan.exits[0], Point(12, 1));
    EXPECT_EQ(plan.exits[1], Point(12, 13));

    MazePlan nada = planMaze({2, 2}, {20, 14}, false, "");
    for (const Point& p : nada.walls) {
        if (p.y >= 2) {
            EXPECT_FALSE(p.x % 2 == 0 && p.y % 2 == 1) << "no horizontal wall at " << p.x << "," << p.y;
        }
    }
}

TEST(Maze, OddHeightOpensTheRealBottomWallRow) {
    std::srand(11);
    // y1 - y0 = 13: six cell rows, the bottom wall row is 2 + 11 = 13, not 14.
    MazePlan plan = planMaze({2, 2}, {10, 15}, true, "N");
    ASSERT_EQ(plan.exits.size(), 1u);
    EXPECT_EQ(plan.exits[0], Point(2 + 4, 13));
    EXPECT_TRUE(has(plan.walls, plan.exits[0])) << "the exit opens a wall that is there";
    EXPECT_FALSE(has(plan.walls, {6, 14}));
}

TEST(Maze, BadExitCharacterIsFatal) {
    CatchFatal catcher;
    EXPECT_FATAL(planMaze({2, 2}, {10, 10}, true, "SX"), "ASSERT file Scene line 5817 : X");
}

class MazeScene : public SceneWorld {};

TEST_F(MazeScene, WallsBlockAndExitsAreOpenedInBothLayers) {
    Scene& s = load(square("M"));
    std::srand(3);
    s.generateMaze_({2, 2}, {8, 6}, "HedgeWall", 'X', "SN", false);
    ASSERT_FALSE(s.objects.empty());
    const SceneObject& wall = s.objects.front();
    EXPECT_EQ(wall.name, "HedgeWall");
    EXPECT_EQ(wall.yOffset, 30);
    EXPECT_EQ(wall.colour, sf::Color::White);
    for (const auto& [row, list] : s.objectRows)
        for (int i : list) {
            Point t{static_cast<int>(s.objects[i].x), row};
            const bool exit = t == Point(6, 1) || t == Point(6, 5);
            EXPECT_EQ(s.blocked[0].count(t) == 0, exit) << t.x << "," << t.y;
            EXPECT_EQ(s.blocked[1].count(t) == 0, exit);
        }

    Scene& kept = load(square("K"));
    kept.generateMaze_({2, 2}, {8, 6}, "HedgeWall", 'X', "", true);
    EXPECT_TRUE(kept.blocked[0].count({1, 2}));
    EXPECT_FALSE(kept.blocked[1].count({1, 2})) << "flag 1 keeps walls out of the second set";
}

TEST_F(MazeScene, TheStatementLineNeedsAFreeBorderAroundTheMaze) {
    Scene& s = load(square("L"));
    std::istringstream ok("2 2 8 6 HedgeWall X S 1");
    readGenerateMaze(s, ok);
    EXPECT_FALSE(s.objects.empty());
    EXPECT_FALSE(s.blocked[0].count({6, 1})) << "the S exit";
    std::istringstream edge("0 2 8 6 HedgeWall X S 1");
    EXPECT_EQ(fatalMessage([&] { readGenerateMaze(s, edge); }),
              "ASSERT file Scene line 778 : Maze must be 1 unit offset from border");
}

namespace {
// The carve as it was first written, recursing into each new cell: the stack-based carve must
// take the same draws and open the same walls.
MazeCarving recursiveCarve(int width, int height) {
    MazeCarving m;
    m.width = width;
    m.height = height;
    m.eastOpen.assign(std::size_t(width * height), 0);
    m.southOpen.assign(std::size_t(width * height), 0);
    std::vector<bool> visited(std::size_t(width * height), false);
    auto at = [&](Point c) { return std::size_t(c.x * height + c.y); };
    std::function<void(Point)> carve = [&](Point c) {
        visited[at(c)] = true;
        std::array<int, 4> order{WEST, EAST, NORTH, SOUTH};
        for (int k = 1; k <= 3; ++k) {
            int r = rand15();
            if (k == 2)
                while (r >= 32766) r = rand15();
            const int j = r % (k + 1);
            if (j != k) std::swap(order[k], order[j]);
        }
        for (int d : order) {
            Point nb = c;
            movePoint(nb, d, 1);
            if (nb.x < 0 || nb.y < 0 || nb.x >= width || nb.y >= height || visited[at(nb)]) continue;
            switch (d) {
            case WEST: m.eastOpen[at(nb)] = 1; break;
            case EAST: m.eastOpen[at(c)] = 1; break;
            case NORTH: m.southOpen[at(nb)] = 1; break;
            default: m.southOpen[at(c)] = 1; break;
            }
            carve(nb);
        }
    };
    carve({width / 2, 0});
    return m;
}
} // namespace

TEST(MazeCarve, TheStackCarveMatchesTheRecursiveOneDrawForDraw) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const int w = 1 + int(seed % 37), h = 1 + int((seed * 7) % 29);
        std::srand(seed);
        const MazeCarving expected = recursiveCarve(w, h);
        const int nextDraw = std::rand();
        std::srand(seed);
        const MazeCarving got = carveMaze(w, h);
        ASSERT_EQ(got.eastOpen, expected.eastOpen) << seed;
        ASSERT_EQ(got.southOpen, expected.southOpen) << seed;
        ASSERT_EQ(std::rand(), nextDraw) << seed;
    }
    // The size that overflowed the call stack, and the largest a scene may ask for.
    for (int side : {700, 511}) {
        const MazeCarving big = carveMaze(side, side);
        EXPECT_EQ(reachAndEdges(big), std::make_pair(side * side, side * side - 1));
    }
}
