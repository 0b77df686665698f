// The arcade's games played through the real frame update with scripted, seeded key presses: each
// to a win (its flag recorded and written to the save on the way back) and to a loss.
#include "unit/MiniGameWorld.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <queue>
#include <set>
#include <sstream>
#include <tuple>

namespace {

// --- guess the number ---

TEST(GuessNumberParse, ReadsLikeTheStandardConversionWithoutThrowing) {
    EXPECT_EQ(parseGuess("7"), 7);
    EXPECT_EQ(parseGuess("7x"), 7);
    EXPECT_EQ(parseGuess("  -12abc"), -12);
    EXPECT_EQ(parseGuess("+5"), 5);
    EXPECT_EQ(parseGuess("2147483647"), 2147483647);
    EXPECT_EQ(parseGuess("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "x7", "-", "+-5", " ", "2147483648", "99999999999", "-2147483649"})
        EXPECT_FALSE(parseGuess(bad).has_value()) << bad;
}

TEST_F(MiniGameWorld, GuessNumberWonOnTheSecondGuess) {
    open("GuessNumberGame", 11);
    press(key::Space); // title -> set-up, then the secret is drawn
    GuessNumber& g = *games().guessNumber;
    ASSERT_EQ(g.state, GuessNumber::TYPING);
    const int secret = g.secret;
    ASSERT_TRUE(secret >= 0 && secret < 20);
    frame({0}); // "A": not a number, still an attempt
    frame({key::Return});
    frame();
    EXPECT_EQ(g.message, "Number typed is actually not a number (\"A\").");
    press(key::Space);
    ASSERT_EQ(g.state, GuessNumber::TYPING);
    frame({key::BackSpace});
    for (char c : std::to_string(secret)) frame({key::Num0 + (c - '0')});
    frame({key::Return});
    frame();
    EXPECT_EQ(g.message, "Congratulations, you answered correctly!");
    EXPECT_EQ(g.attempts, 2);
    press(key::Space);
    EXPECT_EQ(g.state, GuessNumber::OVER);
    press(key::Space);
    expectBackInArcade("WON_GUESSNUMBER", true);
    EXPECT_EQ(g.state, GuessNumber::TITLE);
}

TEST_F(MiniGameWorld, GuessNumberLostAfterThreeWrongGuessesAndBackResumes) {
    open("GuessNumberGame", 12);
    press(key::Space);
    GuessNumber& g = *games().guessNumber;
    const int wrong = (g.secret + 1) % 20;
    for (int attempt = 1; attempt <= 3; ++attempt) {
        for (int i = 0; i < 2; ++i) frame({key::BackSpace});
        for (char c : std::to_string(wrong)) frame({key::Num0 + (c - '0')});
        frame({key::Return});
        frame();
        if (attempt < 3) {
            EXPECT_EQ(g.message, wrong > g.secret ? "The number is actually smaller than that."
                                                  : "The number is actually larger than that.");
            press(key::Space);
        }
    }
    EXPECT_EQ(g.message, "Wrong guesses... the answer was " + std::to_string(g.secret));
    // Back leaves without changing anything; the answer is there on return.
    press(37);
    EXPECT_EQ(shell->current().name, "Arcade");
    reenter();
    frame();
    EXPECT_EQ(g.state, GuessNumber::ANSWER);
    EXPECT_EQ(g.attempts, 3);
    press(key::Space);
    press(key::Space);
    expectBackInArcade("WON_GUESSNUMBER", false);
}

// --- the snake ---

TEST_F(MiniGameWorld, SnakeWinsAtFiveHundredAndBitesItsOwnTail) {
    open("CobrinhaGame", 21);
    Cobrinha& s = *games().cobrinha;
    EXPECT_EQ(s.columns(), 91);
    EXPECT_EQ(s.rows(), 49);
    EXPECT_EQ(s.body.front(), Point(45, 24));
    press(key::Space);
    ASSERT_EQ(s.state, Cobrinha::PLAYING);
    s.length = 499;
    s.apples.push_back({45, 23});
    frame();
    frame();
    EXPECT_EQ(s.state, Cobrinha::WON);
    EXPECT_EQ(s.length, 500);
    press(key::Space);
    expectBackInArcade("WON_COBRINHA", true);

    // A fresh snake of length 5 going round a square runs into its own tail.
    reenter();
    EXPECT_EQ(s.state, Cobrinha::TITLE);
    EXPECT_EQ(s.length, 1);
    press(key::Space);
    s.length = 5;
    for (int k : {key::Right, key::Down, key::Left, key::Up}) press(k);
    EXPECT_EQ(s.state, Cobrinha::LOST);
    EXPECT_TRUE(inCabinet());
}

TEST_F(MiniGameWorld, SnakeSeededPlayKeepsGridBodyAndApplesInStep) {
    open("CobrinhaGame", 22);
    Cobrinha& s = *games().cobrinha;
    press(key::Space);
    const int arrows[4] = {key::Left, key::Right, key::Up, key::Down};
    bool wrapped = false;
    for (int f = 0; f < 4000 && s.state == Cobrinha::PLAYING; ++f) {
        frame(f % 7 == 0 ? std::vector<int>{arrows[std::rand() % 4]} : std::vector<int>{});
        if (s.state != Cobrinha::PLAYING) break; // a bite leaves the new head on the body
        int marked = 0;
        for (const auto& column : s.grid)
            for (bool b : column) marked += b;
        std::set<Point> cells(s.body.begin(), s.body.end());
        ASSERT_EQ(marked, static_cast<int>(cells.size()));
        ASSERT_EQ(cells.size(), s.body.size());
        ASSERT_LE(static_cast<int>(s.body.size()), s.length);
        std::set<Point> apples(s.apples.begin(), s.apples.end());
        ASSERT_EQ(apples.size(), s.apples.size());
        for (Point a : apples) ASSERT_FALSE(s.grid[a.x][a.y]);
        const Point h = s.body.front();
        wrapped = wrapped || h.x == 0 || h.y == 0 || h.x == 90 || h.y == 48;
    }
    EXPECT_TRUE(wrapped);
    EXPECT_GT(s.length, 1);
}

// --- the obstacle course ---

// An obstacle drawn as the course draws them: x0, x1, y0, y1.
Rect randomObstacle() {
    Rect r;
    r.x0 = 50 + std::rand() % 1820;
    r.x1 = std::min(r.x0 + 50 + std::rand() % 384, 1870);
    r.y0 = 50 + std::rand() % 980;
    r.y1 = std::min(r.y0 + 50 + std::rand() % 216, 1030);
    return r;
}

// The reference search written straight out: best first by f = g + 2460 - x - y, ties to the
// larger g, x, y; a set of expanded points.
bool referenceSolvable(const TacoLevel& level) {
    const int m = level.margin;
    const Point goal{((1920 - m) / 50) * 50, 540};
    auto touchesAny = [&](Point p) {
        for (const Rect& r : level.obstacles)
            if (Taco::touches(p, r)) return true;
        return false;
    };
    if (touchesAny({m, 540})) return false;
    using Entry = std::tuple<int, int, int, int>; // -f, g, x, y: the largest first
    std::priority_queue<Entry> open;
    open.push({-(2460 - m - 540), 0, m, 540});
    std::set<Point> done;
    while (!open.empty()) {
        auto [nf, g, x, y] = open.top();
        open.pop();
        if (!done.insert({x, y}).second) continue;
        for (Point n : {Point{x, y + 50}, Point{x, y - 50}, Point{x - 50, y}, Point{x + 50, y}}) {
            if (done.count(n) || n.x < m || n.x > 1920 - m || n.y < m || n.y > 1080 - m ||
                touchesAny(n))
                continue;
            if (n == goal) return true;
            open.push({-(g + 1 + 2460 - n.x - n.y), g + 1, n.x, n.y});
        }
    }
    return false;
}

TEST(TacoSearch, AgreesWithTheReferenceSearchAndBuildsTheSameLevels) {
    std::srand(41);
    int solvable = 0;
    for (int i = 0; i < 3000; ++i) {
        TacoLevel level;
        const int n = std::rand() % 40;
        for (int k = 0; k < n; ++k) level.obstacles.push_back(randomObstacle());
        const bool expected = referenceSolvable(level);
        solvable += expected;
        ASSERT_EQ(Taco::isSolvable(level), expected) << "level " << i;
    }
    EXPECT_GT(solvable, 300);
    EXPECT_LT(solvable, 2700);

    // A wall whose gap lets a row through, and one whose gap is too narrow for the figure.
    TacoLevel wall;
    wall.obstacles = {{900, 50, 950, 440}, {900, 640, 950, 1030}};
    EXPECT_TRUE(Taco::isSolvable(wall));
    wall.obstacles = {{900, 50, 950, 470}, {900, 610, 950, 1030}};
    EXPECT_FALSE(Taco::isSolvable(wall));

    for (unsigned seed : {4044u, 7u}) {
        std::srand(seed);
        Taco fast;
        const int after = std::rand();
        std::srand(seed);
        std::vector<TacoLevel> reference;
        for (int i = 0; i < 30; ++i) {
            TacoLevel level;
            level.obstacleCount = i;
            int tries = 0;
            do {
                level.obstacles.clear();
                for (int k = 0; k < i; ++k) level.obstacles.push_back(randomObstacle());
            } while (!referenceSolvable(level) && ++tries < 300);
            if (tries == 300) level.obstacles.clear();
            reference.push_back(level);
        }
        EXPECT_EQ(std::rand(), after);
        ASSERT_EQ(fast.levels.size(), 30u);
        for (int i = 0; i < 30; ++i) {
            ASSERT_EQ(fast.levels[i].obstacles.size(), reference[i].obstacles.size()) << i;
            for (std::size_t k = 0; k < reference[i].obstacles.size(); ++k) {
                const Rect a = fast.levels[i].obstacles[k], b = reference[i].obstacles[k];
                ASSERT_TRUE(a.x0 == b.x0 && a.y0 == b.y0 && a.x1 == b.x1 && a.y1 == b.y1) << i;
            }
        }
    }
}

TEST_F(MiniGameWorld, CourseCrossedLevelByLevelAndLostOnTheHundredAndFirstTouch) {
    open("TacoGame", 51);
    Taco& t = *games().taco;
    press(key::Space);
    ASSERT_EQ(t.state, Taco::PLAYING);
    while (t.state == Taco::PLAYING) {
        const std::uint64_t level = t.currentLevel;
        const TacoLevel& l = t.levels[level];
        // A shortest way through the lattice to the goal region, found afresh for each level.
        auto free = [&](Point p) {
            for (const Rect& r : l.obstacles)
                if (Taco::touches(p, r)) return false;
            return p.x >= 50 && p.x <= 1870 && p.y >= 50 && p.y <= 1030;
        };
        std::map<Point, std::pair<Point, int>> from;
        std::queue<Point> todo;
        todo.push(t.position);
        from[t.position] = {t.position, -1};
        Point goal{-1, -1};
        while (!todo.empty() && goal.x < 0) {
            const Point p = todo.front();
            todo.pop();
            const std::pair<Point, int> steps[4] = {{{p.x - 50, p.y}, key::Left}, {{p.x + 50, p.y}, key::Right},
                                                    {{p.x, p.y - 50}, key::Up}, {{p.x, p.y + 50}, key::Down}};
            for (auto [n, k] : steps) {
                if (from.count(n) || !free(n)) continue;
                from[n] = {p, k};
                if (std::abs(540 - n.y) + std::abs(1870 - n.x) <= 75) goal = n;
                todo.push(n);
            }
        }
        ASSERT_GE(goal.x, 0) << "level " << level;
        std::vector<int> route;
        for (Point p = goal; from[p].second >= 0; p = from[p].first) route.insert(route.begin(), from[p].second);
        for (int k : route) press(k);
        ASSERT_EQ(t.life, 100);
        ASSERT_EQ(t.currentLevel, level + 1);
    }
    EXPECT_EQ(t.state, Taco::WON);
    press(key::Space);
    expectBackInArcade("WON_TACO", true);

    reenter();
    shell->BOOLVARS.clear();
    EXPECT_EQ(t.currentLevel, 0u);
    press(key::Space);
    t.levels[0].obstacles = {{200, 400, 300, 700}};
    press(key::Right, 101);
    EXPECT_EQ(t.life, 0);
    EXPECT_EQ(t.position, Point(100, 540));
    frame({key::Right});
    EXPECT_TRUE(t.hit);
    EXPECT_EQ(t.state, Taco::LOST);
    EXPECT_EQ(t.life, -1);
    frame();
    press(37); // back on the end screen leaves like confirm
    expectBackInArcade("WON_TACO", false);
}

// --- the cave ---

TEST_F(MiniGameWorld, CaveTreasureFoundAndHealthRunOut) {
    open("SalomaoGame", 61);
    SalomaoGame& c = *games().salomao;
    press(key::Space); // any key leaves the title
    ASSERT_EQ(c.state, SalomaoGame::PLAYING);
    c.player = c.treasure.offset(-1, 0);
    press(key::Right);
    EXPECT_EQ(c.state, SalomaoGame::WON);
    frame();
    EXPECT_EQ(c.treasureCounter, 2);
    press(key::Space);
    EXPECT_EQ(c.state, SalomaoGame::LAST);
    press(key::Space);
    expectBackInArcade("WON_SALOMAO", true);

    // The next visit finds a new cave; a step with no health left loses.
    reenter();
    EXPECT_EQ(c.state, SalomaoGame::TITLE);
    EXPECT_EQ(c.player, Point(50, 50));
    press(key::Space);
    c.health = 0;
    c.grid[c.player.x + 1][c.player.y] = EMPTY;
    press(key::Right);
    EXPECT_EQ(c.health, -1);
    EXPECT_EQ(c.state, SalomaoGame::LOST);
    press(key::Space);
    press(key::Space);
    EXPECT_EQ(shell->current().name, "Arcade");
}

TEST_F(MiniGameWorld, CaveSeededDiggingKeepsItsBoundsAndTheTreasureInside) {
    open("SalomaoGame", 62);
    SalomaoGame& c = *games().salomao;
    // Every cave keeps its treasure inside the ring the player can reach.
    int heldToTheEdge = 0;
    for (unsigned seed = 0; seed < 300; ++seed) {
        std::srand(seed);
        c.generate();
        ASSERT_TRUE(c.treasure.x >= 240 && c.treasure.x <= 298 && c.treasure.y >= 240 &&
                    c.treasure.y <= 298);
        ASSERT_EQ(c.grid[c.treasure.x][c.treasure.y], EMPTY);
        heldToTheEdge += c.treasure.x == 298 || c.treasure.y == 298;
    }
    EXPECT_GT(heldToTheEdge, 10);

    frame({key::Down});
    const int arrows[4] = {key::Left, key::Right, key::Up, key::Down};
    c.health = 1000000;
    for (int f = 0; f < 3000; ++f) {
        const int k = arrows[std::rand() % 4];
        press(f % 3 ? k : key::Right);
        ASSERT_TRUE(c.player.x >= 1 && c.player.x <= 298 && c.player.y >= 1 && c.player.y <= 298);
        ASSERT_TRUE(c.view.x >= 0 && c.view.x <= 268 && c.view.y >= 0 && c.view.y <= 282);
        for (const CaveSnake& s : c.snakes) ASSERT_EQ(c.grid[s.cell.x][s.cell.y], EMPTY);
    }
    EXPECT_FALSE(c.snakes.empty());
}

} // namespace
