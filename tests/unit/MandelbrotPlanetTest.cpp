// Mandelbrot counts against the plain loop, the picture's drawing maths without a window, the
// nebula's generated maze and its rebuilt levels, and the loader's refusals.
#include "SceneTestWorld.hpp"

#include "minigames/Mandelbrot.hpp"

#include <deque>
#include <fstream>
#include <sstream>

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string demoScene(const std::string& name) {
    return fileText(sourceDir() + "/data/Game/Mandelbrot/" + name + "_scene.txt");
}

// Every demo nebula scene, the template last; returns the template's index.
long long loadNebula(Game& g) {
    for (const char* n : {"MandelbrotShardScene", "MandelbrotCompassScene", "MandelbrotGreenPowder",
                          "MandelbrotPotions", "MandelbrotBeefLiver"})
        g.scenes.addScene().loadText(demoScene(n));
    g.scenes.addScene().loadText(demoScene("MandelbrotNebula"));
    return g.scenes.size() - 1;
}

struct NebulaShape {
    std::set<std::pair<MazeNode, MazeNode>> maze;
    std::map<MazePlacement, std::string> placements;
    bool operator==(const NebulaShape&) const = default;
};

} // namespace

// Fast counts equal the plain loop on sample pictures: the whole set, the demo nebula, a
// minibrot whose inside the shortcuts cannot see (the most cells at the limit of these), and a
// cut through the cardioid's edge; read in full, lazily at random and as the zoomed-out draw
// reads them.
TEST(MandelbrotCounts, MatchThePlainLoopBitForBit) {
    const MandelbrotView views[] = {{-2.5, -1.25, 1.0, 1.25},
                                    {-2.2, -0.84375, 0.8, 0.84375},
                                    {-1.7575, -0.003, -1.7515, 0.003},
                                    {0.2, -0.1, 0.3, 0.0}};
    int mostAtLimit = 0;
    for (const MandelbrotView& v : views) {
        const int w = 480, h = 270;
        const std::vector<std::int32_t> ref = mandelbrotReferenceCounts(v, w, h);
        Mandelbrot full, lazy;
        for (Mandelbrot* m : {&full, &lazy}) {
            m->view = v;
            m->resize(w, h);
            m->PopulateCache();
        }
        full.fillAll();
        // Counts not read yet come from the view of the PopulateCache call, whatever the view
        // says now; the next call takes the new view.
        lazy.view = {-0.5, 0.5, 0.5, 1.5};
        int atLimit = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                ASSERT_EQ(full.count(x, y), ref[std::size_t(y) * w + x]) << x << "," << y;
                atLimit += ref[std::size_t(y) * w + x] == MANDELBROT_LIMIT;
            }
        mostAtLimit = std::max(mostAtLimit, atLimit);
        std::srand(5);
        for (int k = 0; k < 5000; ++k) {
            const int x = std::rand() % w, y = std::rand() % h;
            ASSERT_EQ(lazy.count(x, y), ref[std::size_t(y) * w + x]);
        }
        lazy.ensureRow(7, 1, w, 2);
        for (int x = 1; x < w; x += 2) ASSERT_EQ(lazy.count(x, 7), ref[std::size_t(7) * w + x]);
        lazy.PopulateCache();
        const std::vector<std::int32_t> moved = mandelbrotReferenceCounts(lazy.view, w, h);
        for (int k = 0; k < 2000; ++k) {
            const int x = std::rand() % w, y = std::rand() % h;
            ASSERT_EQ(lazy.count(x, y), moved[std::size_t(y) * w + x]);
        }
    }
    EXPECT_GT(mostAtLimit, 20000); // the minibrot's inside is checked the long way
    EXPECT_EQ(mandelbrotEscapeCount(5.0, 0), 1);
    EXPECT_EQ(mandelbrotEscapeCount(-0.1, 0.1), MANDELBROT_LIMIT);
}

TEST(MandelbrotPicture, PaletteSizesThumbnailAndSmallPictures) {
    Mandelbrot m;
    for (auto [keys, size] : {std::pair{1, 50}, {3, 75}, {99, 99}, {100, 0}}) {
        m.setColors(std::vector<sf::Color>(std::size_t(keys), sf::Color(10, 20, 30)));
        EXPECT_EQ(int(m.palette.size()), size) << keys;
    }
    m.setColors({sf::Color::Red, sf::Color::Blue});
    const sf::Color front = m.palette.front();
    m.rotateColors();
    EXPECT_EQ(m.palette.back(), front);

    // The thumbnail samples the whole picture, whatever its size and the zoom.
    for (Point size : {Point{1920, 1080}, Point{360, 240}, Point{5760, 3240}}) {
        m.resize(size.x, size.y);
        m.PopulateCache();
        for (int zoom : {120, 60}) {
            displayTileSize = zoom;
            const std::vector<std::uint8_t> t = m.thumbnailImage();
            ASSERT_EQ(t.size(), 250u * 250u * 4u);
            const std::size_t last = (249u * 250u + 249u) * 4u;
            EXPECT_EQ(t[last + 3] == 255 ? MANDELBROT_LIMIT : int(t[last]),
                      m.count(249 * size.x / 250, 249 * size.y / 250));
        }
    }
    // A picture smaller than the window, zoomed out: the pixels it covers are drawn, the rest
    // stays clear.
    m.resize(1920, 1080);
    m.PopulateCache();
    const std::vector<std::uint8_t>& screen = m.fillScreenImage({0, 0}, true);
    EXPECT_EQ(screen[(539u * 1920u + 959u) * 4u + 3u], 255);
    EXPECT_EQ(screen[(539u * 1920u + 960u) * 4u + 3u], 0);
    EXPECT_EQ(screen[(539u * 1920u + 100u) * 4u + 3u], 255);
    EXPECT_EQ(screen[(540u * 1920u + 100u) * 4u + 3u], 0);
    displayTileSize = 120;
}

TEST_F(SceneWorld, MandelbrotStatementsAreCheckedWhenRead) {
    const std::string map = "Tile . END\nMap\n..\n..\nEndMap\n";
    Scene& ok = load("SceneName A\n" + map + "Mandelbrot COLOR 1 2 3 RANDOMCOLORS 2 Location -2 -1 1 1\n"
                     "MandelbrotFullScreen\nMandelbrotMapScene A\nGenerateMandelbrotMaze 0 0 1 1\n");
    ASSERT_TRUE(ok.mandelbrot);
    EXPECT_EQ(ok.mandelbrot->width, 240);
    EXPECT_EQ(ok.mandelbrot->keyColours.size(), 3u);
    EXPECT_TRUE(ok.mandelbrotFullScreen);
    EXPECT_EQ(ok.mandelbrotMaze.size(), 2u);
    for (const char* bad : {"Mandelbrot COLOR 1 2 Location -2 -1 1 1", "Mandelbrot COLOR 1 2 300 Location 0 0 1 1",
                            "Mandelbrot COLOR 1 2 3", "Mandelbrot Location -2 -1 1 1",
                            "Mandelbrot COLOR 1 2 3 Location 1 0 1 1", "Mandelbrot COLOR 1 2 3 HUE 4",
                            "Mandelbrot RANDOMCOLORS 120 Location 0 0 1 1", "GenerateMandelbrotMaze 0",
                            "GenerateMandelbrotMaze 5 5", "MandelbrotMapScene", "AlivePicture Lady one 1",
                            "SokobanGame 1 1 Prize 1 1 0"})
        EXPECT_NE(fatalDetail([&] { load("SceneName B\n" + map + bad + "\n"); }), "") << bad;
    // Every picture a living picture names is reported to the store, which loads it by name.
    Scene probe;
    EXPECT_EQ(probe.loadText("SceneName C\n" + map + "AlivePicture PortraitLady 1 0\n").count("PortraitLady"), 1u);
}

// The nebula's maze: seeded generations agree, a resumed game regenerates the same planet, the
// maze is a tree that reaches every special scene, and the levels are rebuilt from it.
TEST_F(SceneWorld, TheGeneratedNebulaIsOneMazeThatTheSavedSeedRepeats) {
    const long long t = loadNebula(*shell);
    const std::vector<Point> starts = shell->scenes[t].mandelbrotMaze;
    // A seed under which the three rooms of depth 2 fall on three cells (they may share one).
    const std::string seed = "2024";
    shell->setStrVar("MANDEL_RANDOM_SEED", seed);
    shell->generatePlanet(nullptr, 0, starts, t);
    const NebulaShape first{shell->mazeCells, shell->mandelbrotPlacements};

    // The seed goes through the save file into a new run, which builds the same planet.
    const std::string folder = scratchDir("nebula-seed");
    {
        std::ofstream out(folder + "/game.save");
        shell->writeGameSave(out);
    }
    auto other = std::make_unique<Game>();
    game = other.get();
    const long long t2 = loadNebula(*other);
    other->readGameSave(folder + "/game.save", nullptr, 0);
    EXPECT_EQ(other->getStrVar("MANDEL_RANDOM_SEED"), seed);
    other->generatePlanet(nullptr, 0, starts, t2);
    EXPECT_EQ((NebulaShape{other->mazeCells, other->mandelbrotPlacements}), first);
    game = shell.get();

    // A spanning tree over what the starts reach, stored both ways, every step to a neighbour.
    std::set<MazeNode> nodes;
    std::map<MazeNode, std::vector<MazeNode>> links;
    for (const auto& [a, b] : first.maze) {
        EXPECT_EQ(first.maze.count({b, a}), 1u);
        EXPECT_EQ(manhattanDistance(a.cell, b.cell) + std::abs(a.depth - b.depth), 1);
        nodes.insert(a);
        links[a].push_back(b);
    }
    std::set<MazeNode> reached;
    std::size_t components = 0;
    for (Point s : starts) {
        if (reached.count({s, 1})) continue;
        ++components;
        std::deque<MazeNode> queue{{s, 1}};
        while (!queue.empty()) {
            const MazeNode n = queue.front();
            queue.pop_front();
            if (!reached.insert(n).second) continue;
            for (const MazeNode& m : links[n]) queue.push_back(m);
        }
    }
    EXPECT_EQ(reached, nodes);
    EXPECT_EQ(first.maze.size() / 2, nodes.size() - components); // no loops: a tree per start
    ASSERT_EQ(first.placements.size(), 5u);
    for (const auto& [place, name] : first.placements) {
        EXPECT_EQ(reached.count({{place.x, place.y}, place.level}), 1u) << name;
        EXPECT_EQ(shell->mandelbrotScenes.at(name), place.level);
        // A kept cell: the maze reaches it at depths 1 and 2.
        EXPECT_TRUE(reached.count({{place.x, place.y}, 1}) && reached.count({{place.x, place.y}, 2}));
        Scene& room = shell->sceneByName(name);
        EXPECT_EQ(room.teleports.at({2, 1}).scene, "MandelbrotNebula_template_depth_" + std::to_string(place.level));
        EXPECT_TRUE(room.templateName.empty());
        EXPECT_EQ(room.mandelbrotReturn, Point(place.x, place.y)); // the way back opens over it
    }
    EXPECT_EQ(shell->shardPlacement.level, 3);

    // The depth levels: sizes, stairs and doors.
    for (int d = 1; d <= 3; ++d) {
        Scene& level = shell->sceneByName("MandelbrotNebula_template_depth_" + std::to_string(d));
        EXPECT_EQ(level.mapSize(), Point(16 * d, 9 * d));
        EXPECT_EQ(level.mandelbrot->width, 16 * d * TILE_SIZE);
        EXPECT_EQ(level.exits.count({8 * d + 1 - d % 2, 9 * d / 2}), 1u);
        EXPECT_EQ(level.exits.count({8 * d + d % 2, 9 * d / 2}), d < 3 ? 1u : 0u);
        // The stairs show a picture each, up and down told apart.
        const TileKind& up = level.tileKindAtCell(8 * d + 1 - d % 2, 9 * d / 2);
        EXPECT_TRUE(up.stairsUp && !up.texture.empty());
        if (d < 3) {
            const TileKind& down = level.tileKindAtCell(8 * d + d % 2, 9 * d / 2);
            EXPECT_TRUE(down.stairsDown && !down.texture.empty());
            EXPECT_NE(down.texture, up.texture);
        }
    }
    for (Point s : starts) EXPECT_EQ(shell->scenes[t].exits.at(s), "MandelbrotNebula_template_depth_1");

    // Each placement's level, entered over its cell, walls the sides the maze does not open and
    // offers the room's teleport.
    for (const auto& [place, name] : first.placements) {
        Scene& level = shell->sceneByName("MandelbrotNebula_template_depth_" + std::to_string(place.level));
        level.mandelbrotReturn = {place.x, place.y};
        level.enterMandelbrotLevel();
        EXPECT_EQ(level.teleports.at({level.mapWidth() / 2 - 2, level.mapHeight() / 2 - 2}).scene,
                  first.placements.at({place.x, place.y, place.level}));
        const Point ret{place.x, place.y};
        const bool westOpen = ret.x > 0 && first.maze.count({{ret, place.level}, {ret.offset(-1, 0), place.level}});
        EXPECT_EQ(level.blocked[1].count({0, 1}) == 1, !westOpen) << name;
    }
    // Walking off a level's west edge leads on to the neighbouring cell only where the maze
    // opens that way.
    Character& leader = people->mainCharacter();
    int crossed = 0;
    for (const auto& [a, b] : first.maze) {
        if (a.depth != b.depth || a.depth == 3 || b.cell != a.cell.offset(-1, 0) || crossed) continue;
        Scene& level = shell->sceneByName("MandelbrotNebula_template_depth_" + std::to_string(a.depth));
        level.mandelbrotReturn = a.cell;
        level.enterMandelbrotLevel();
        leader.setTilePosition({0, 3});
        ASSERT_TRUE(level.crossMandelbrotBorder(WEST));
        EXPECT_EQ(level.mandelbrotReturn, b.cell);
        EXPECT_EQ(leader.tile, Point(level.mapWidth() - 2, 3));
        EXPECT_EQ(level.blocked[1].count({level.mapWidth() - 1, 1}), 0u); // open behind
        ++crossed;
        const bool onward = first.maze.count({{b.cell, a.depth}, {b.cell.offset(-1, 0), a.depth}}) > 0;
        leader.setTilePosition({0, 3});
        EXPECT_EQ(level.crossMandelbrotBorder(WEST), onward);
    }
    EXPECT_EQ(crossed, 1);
}

// The picture lies under the cells it belongs to, at both zooms, on the nebula (as narrow as the
// screen, half of it zoomed out, so drawn with a negative view offset) and on every depth level,
// wherever the camera stands: each cell's centre shows the palette colour of the count there.
TEST_F(SceneWorld, TheMandelbrotGroundLiesUnderItsCellsAtBothZooms) {
    const long long t = loadNebula(*shell);
    shell->setStrVar("MANDEL_RANDOM_SEED", "77");
    shell->generatePlanet(nullptr, 0, shell->scenes[t].mandelbrotMaze, t);
    std::vector<Scene*> levels{&shell->scenes[t]};
    for (int d = 1; d <= 3; ++d)
        levels.push_back(&shell->sceneByName("MandelbrotNebula_template_depth_" + std::to_string(d)));
    bool narrow = false;
    for (Scene* s : levels) {
        Mandelbrot& m = *s->mandelbrot;
        ASSERT_FALSE(m.palette.empty());
        m.PopulateCache();
        const Point map = s->mapSize();
        for (int zoom : {120, 60}) {
            displayTileSize = zoom;
            for (Point camera : {Point{0, 0}, Point{map.x * 60 - 960, map.y * 60 - 540},
                                 Point{map.x * 120, map.y * 120}}) {
                s->camera = camera;
                Point centre = camera + Point{960, 540};
                scaleToScreen(centre);
                const Point V = s->viewOffset(centre);
                narrow = narrow || V.x < 0;
                const std::vector<std::uint8_t>& screen = m.fillScreenImage(V, zoom == 60);
                int sampled = 0;
                for (int x = 0; x < map.x; ++x)
                    for (int y = 0; y < map.y; ++y) {
                        const Point w{x * zoom - V.x + zoom / 2, y * zoom - V.y + zoom / 2};
                        if (w.x < 0 || w.y < 0 || w.x >= 1920 || w.y >= 1080) continue;
                        const int c = m.count(x * TILE_SIZE + TILE_SIZE / 2, y * TILE_SIZE + TILE_SIZE / 2);
                        const sf::Color want = c == MANDELBROT_LIMIT
                                                   ? sf::Color::Black
                                                   : m.palette[std::size_t(c) % m.palette.size()];
                        const std::uint8_t* got = &screen[(std::size_t(w.y) * 1920 + w.x) * 4];
                        ASSERT_EQ(sf::Color(got[0], got[1], got[2], got[3]), want)
                            << s->name << " zoom " << zoom << " cell " << x << "," << y;
                        ++sampled;
                    }
                EXPECT_GT(sampled, 100) << s->name;
                // Left of the map's first cell the window shows no picture.
                if (V.x < 0) {
                    EXPECT_EQ(screen[(540u * 1920u + std::size_t(-V.x - 1)) * 4 + 3], 0);
                }
            }
        }
    }
    EXPECT_TRUE(narrow);
}

// The depth-first maze search keeps its own stack: the passages, the unreached nodes and the
// random draws equal the plain recursive search on many seeds, and the largest template there
// can be (200 x 150 varied cells, 90,000 nodes) is searched whole.
namespace {

struct RecursiveMaze {
    std::set<Point> cells;
    std::set<MazeNode> visited;
    std::set<std::pair<MazeNode, MazeNode>> passages;
    static int below(int n) {
        const long long span = static_cast<long long>(RAND_MAX) + 1, limit = span - span % n;
        long long r;
        do r = std::rand();
        while (r >= limit);
        return static_cast<int>(r % n);
    }
    void visit(const MazeNode& from, const MazeNode& node) {
        if (!visited.insert(node).second) return;
        if (from.depth != -1) {
            passages.insert({from, node});
            passages.insert({node, from});
        }
        std::vector<MazeNode> next;
        if (node.depth > 1) next.push_back({node.cell, node.depth - 1});
        if (node.depth < 3) next.push_back({node.cell, node.depth + 1});
        for (Direction d : DIRECTIONS) {
            Point c = node.cell;
            movePoint(c, d, 1);
            if (cells.count(c)) next.push_back({c, node.depth});
        }
        for (std::size_t i = 1; i < next.size(); ++i) {
            const std::size_t j = std::size_t(below(int(i) + 1));
            if (i != j) std::swap(next[i], next[j]);
        }
        for (const MazeNode& m : next) visit(node, m);
    }
};

} // namespace

TEST_F(SceneWorld, TheMazeSearchMatchesTheRecursiveOneAndReachesTheLargestTemplate) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        std::srand(seed);
        const int w = 6 + std::rand() % 25, h = 4 + std::rand() % 15, fill = 40 + std::rand() % 60;
        std::vector<Point> cells, starts;
        for (int x = 0; x < w; ++x)
            for (int y = 0; y < h; ++y)
                if (std::rand() % 100 < fill) cells.push_back({x, y});
        for (int k = 1 + std::rand() % 3; k > 0; --k) starts.push_back({std::rand() % w, std::rand() % h});
        std::srand(seed * 7919);
        RecursiveMaze plain{{cells.begin(), cells.end()}, {}, {}};
        for (Point p : starts) plain.visit({p, -1}, {p, 1});
        const int drawAfterPlain = std::rand();
        std::vector<MazeNode> plainUnreached;
        for (Point c : cells)
            for (int z = 1; z <= 2; ++z)
                if (!plain.visited.count({c, z})) plainUnreached.push_back({c, z});

        std::srand(seed * 7919);
        const std::vector<MazeNode> unreached = shell->generate3DMaze_(cells, 0, starts);
        ASSERT_EQ(std::rand(), drawAfterPlain) << seed;
        ASSERT_EQ(shell->mazeCells, plain.passages) << seed;
        ASSERT_EQ(unreached, plainUnreached) << seed;
    }

    std::vector<Point> all;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 150; ++y) all.push_back({x, y});
    std::srand(3);
    EXPECT_TRUE(shell->generate3DMaze_(all, 0, {{100, 75}}).empty());
    EXPECT_EQ(shell->mazeCells.size(), 2u * (3u * 200u * 150u - 1u)); // a spanning tree
}

TEST_F(SceneWorld, NebulaFaultsStopWithTheFatalAssertionOrAreSkipped) {
    const long long t = loadNebula(*shell);
    // Without entry points the maze is empty: nothing can be placed, and nothing divides by 0.
    // Without a kept seed the generation keeps the one it took.
    EXPECT_EQ(fatalDetail([&] { shell->generatePlanet(nullptr, 0, {}, t); }), "");
    EXPECT_TRUE(shell->mandelbrotPlacements.empty());
    const std::string taken = shell->getStrVar("MANDEL_RANDOM_SEED");
    EXPECT_EQ(std::to_string(toFullInt(taken, "test", 0)), taken);
    // The seed taken from the clock reads back, as a resumed game reads it.
    EXPECT_EQ(fatalDetail([&] { shell->generatePlanet(nullptr, 0, {}, t); }), "");
    Scene& level = shell->sceneByName("MandelbrotNebula_template_depth_2");
    // A level name without its digit, and a picture whose source scene is gone, name the scene.
    level.name = "Nebula_depth_two";
    EXPECT_NE(fatalDetail([&] { level.rebuildMandelbrotLevel(); }).find("Nebula_depth_two"), std::string::npos);
    level.mandelbrotSource = "NoSuchNebula";
    EXPECT_NE(fatalDetail([&] { level.populateMandelbrotCache(); }).find("NoSuchNebula"), std::string::npos);
    // A search over a grid larger than its picture is refused instead of read past the end.
    Mandelbrot small;
    small.resize(120, 120);
    EXPECT_NE(fatalDetail([&] { small.findDenseCells({2, 2}); }), "");
}
