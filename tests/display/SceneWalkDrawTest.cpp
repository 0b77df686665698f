// Demo scenes drawn into a real window: row order, the clamped view, darkness near torches,
// front tiles over characters, the credits roll, and screenshots for a look by eye.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <filesystem>
#include <memory>
#include <sstream>

namespace {

// The shipped demo, loaded once for each suite of this file.
DemoWorld& demo() {
    static PerSuite<DemoWorld> world([] { return newDemoWorld<DemoWorld>(); });
    return *world;
}

struct Rgb {
    double r = 0, g = 0, b = 0;
    double luminance() const { return 0.299 * r + 0.587 * g + 0.114 * b; }
};

Rgb meanColour(const sf::Image& img, int x0, int y0, int w, int h) {
    Rgb m;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            const sf::Color c = img.getPixel(x, y);
            m.r += c.r;
            m.g += c.g;
            m.b += c.b;
        }
    const double n = static_cast<double>(w) * h;
    m.r /= n;
    m.g /= n;
    m.b /= n;
    return m;
}

int differingPixels(const sf::Image& a, const sf::Image& b, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += a.getPixel(x, y) != b.getPixel(x, y);
    return n;
}

class SceneWalkDraw : public ::testing::Test {
protected:
    void SetUp() override {
        demo().bind();
        setDisplayZoom(120);
    }
    void TearDown() override {
        setDisplayZoom(120);
    }
    Scene& scene(const std::string& name) { return game->sceneByName(name); }
    // Puts the leader on a tile and the camera where the view shows cell `topLeft` first.
    void leaderAt(Point tile) { people->mainCharacter().setTilePosition(tile); }
    static void cameraOn(Scene& s, Point pixel) { s.camera = pixel; }
    static Point view(Scene& s) {
        Point c = s.camera + Point{960, 540};
        scaleToScreen(c);
        return s.viewOffset(c);
    }
    static const Point kAway;

private:
    GlobalsGuard globals_;
};

const Point SceneWalkDraw::kAway{37, 21};

} // namespace

namespace {

// The lowest window row holding a pixel other than the clear colour (-1: none).
int lowestDrawnRow(const sf::Image& img, sf::Color clear) {
    for (int y = 1079; y >= 0; --y)
        for (int x = 0; x < 1920; ++x)
            if (img.getPixel(x, y) != clear) return y;
    return -1;
}

} // namespace

TEST_F(SceneWalkDraw, ACharacterBelowABuildingsRowCoversItAndOneAboveIsHidden) {
    Scene& q = scene("Quarter");
    cameraOn(q, {0, 0});
    ASSERT_EQ(view(q), Point(0, 0));
    // The inn covers tiles (3..5, 3..5) and is drawn with row 5.
    leaderAt(kAway);
    const sf::Image empty = drawSceneFrame(q);
    leaderAt({4, 6});
    const sf::Image below = drawSceneFrame(q);
    // The leader's upper half reaches into row 5, over the inn's door.
    EXPECT_GT(differingPixels(empty, below, 4 * 120 + 20, 5 * 120 + 62, 80, 56), 500);
    leaderAt({4, 4});
    const sf::Image inside = drawSceneFrame(q);
    EXPECT_EQ(differingPixels(empty, inside, 3 * 120 + 10, 3 * 120 + 10, 3 * 120 - 20, 2 * 120 - 20), 0)
        << "the inn, drawn with its lowest row, hides a figure standing in a higher row";
}

TEST_F(SceneWalkDraw, TheViewStaysOnTheMapAtBothZoomSizes) {
    Scene& q = scene("Quarter");
    leaderAt(kAway);
    for (int t : {120, 60}) {
        setDisplayZoom(t);
        cameraOn(q, {-4000, -4000});
        EXPECT_EQ(view(q), Point(0, 0));
        sf::Image topLeft = drawSceneFrame(q);
        cameraOn(q, {99999, 99999});
        const Point v = view(q);
        EXPECT_EQ(v, Point((40 - 1920 / t) * t - 1, (24 - 1080 / t) * t - 1)) << t;
        sf::Image bottomRight = drawSceneFrame(q);
        // Map ground reaches every corner: nothing of the black clear shows.
        for (const sf::Image* img : {&topLeft, &bottomRight})
            for (Point p : {Point{3, 3}, Point{1916, 3}, Point{1916, 960}, Point{600, 1076}})
                EXPECT_NE(img->getPixel(p.x, p.y), sf::Color::Black) << t << " at " << p.x << "," << p.y;
        // A camera further out shows the same picture as one that sits exactly at the edge.
        cameraOn(q, {(v.x + 960) * 120 / t - 960, (v.y + 540) * 120 / t - 540});
        ASSERT_EQ(view(q), v);
        EXPECT_EQ(differingPixels(drawSceneFrame(q), bottomRight, 0, 0, 1920, 900), 0) << t;
    }
}

TEST_F(SceneWalkDraw, TheDarknessIsLighterNearATorchAndFlickersOut) {
    Scene& cave = scene("GlowCave");
    leaderAt({22, 12});
    cameraOn(cave, {0, 1140});
    ASSERT_EQ(view(cave), Point(0, 1140));
    cave.light.flickered.clear();
    const sf::Image lit = drawSceneFrame(cave);
    ASSERT_TRUE(cave.light.spreadIsCurrent());
    // Cell (3, 13) is two steps from the torch at (2, 11); (6, 15) lies beyond every reach.
    const int y13 = 13 * 120 - 1140, y15 = 15 * 120 - 1140;
    const Rgb near = meanColour(lit, 3 * 120 + 10, y13 + 10, 100, 100);
    const Rgb far = meanColour(lit, 6 * 120 + 10, y15 + 10, 100, 100);
    EXPECT_GT(near.luminance(), far.luminance() + 15);
    EXPECT_GT(near.r, near.b) << "torch light is warm";
    EXPECT_LT(far.luminance(), 25) << "unlit floor is nearly black";

    cave.light.flickered.insert({2, 11});
    cave.light.flickered.insert({10, 11});
    const sf::Image out = drawSceneFrame(cave);
    EXPECT_LT(meanColour(out, 3 * 120 + 10, y13 + 10, 100, 100).luminance(), near.luminance() - 10)
        << "with its torches out the cell goes dark";
    cave.light.flickered.clear();
}

TEST_F(SceneWalkDraw, FrontTilesAreDrawnOverTheCharactersOfTheirRow) {
    Scene& g = scene("Garden");
    cameraOn(g, {1000, 1079});
    const Point v = view(g);
    ASSERT_EQ(v, Point(1000, 1079));
    leaderAt({1, 1});
    const sf::Image empty = drawSceneFrame(g);
    // 'F' at (19, 14) is a FRONT bush: the leader stands on it and stays behind the leaves.
    leaderAt({19, 14});
    const sf::Image behind = drawSceneFrame(g);
    const int bx = 19 * 120 - v.x, by = 14 * 120 - v.y;
    EXPECT_EQ(differingPixels(empty, behind, bx + 45, by + 78, 30, 14), 0);
    EXPECT_GT(differingPixels(empty, behind, bx + 20, by - 50, 80, 60), 300)
        << "the figure's top shows above the bush";
    // A plain tile's object in the same scene is covered by the figure instead.
    leaderAt({16, 10});
    const sf::Image onFlowers = drawSceneFrame(g);
    const int fx = 16 * 120 - v.x, fy = 10 * 120 - v.y;
    EXPECT_GT(differingPixels(empty, onFlowers, fx + 20, fy + 60, 80, 50), 500);
    // The rose arch (a front object of row 12) covers whoever walks under it.
    leaderAt({13, 12});
    const sf::Image underArch = drawSceneFrame(g);
    leaderAt({1, 1});
    const int ax = 13 * 120 - v.x, ay = 12 * 120 - v.y;
    EXPECT_EQ(differingPixels(empty, underArch, ax - 50, ay + 20, 14, 90), 0)
        << "the arch's left pillar stays in front";
}

TEST_F(SceneWalkDraw, ADoorsLintelStaysInTheCellAboveItAtBothZooms) {
    // A door made in the hall's north wall, under brick with brick beside it. Drawn again with
    // brick in the doorway, the cells around the one above the door look the same: the lintel's
    // strip stays in its own cell.
    Scene& hall = scene("WonderHall");
    leaderAt(kAway);
    const Point door{5, 1};
    for (int t : {120, 60}) {
        setDisplayZoom(t);
        cameraOn(hall, {0, 0});
        const Point v = view(hall);
        hall.setCell(door, 'p', 0);
        const sf::Image withDoor = drawSceneFrame(hall);
        hall.setCell(door, '#', 0);
        const sf::Image wall = drawSceneFrame(hall);
        hall.setCell(door, '.', 0);
        auto cellRect = [&](int x, int y) { return sf::IntRect{x * t - v.x, y * t - v.y, t, t}; };
        const sf::IntRect lintel = cellRect(door.x, door.y - 1), doorway = cellRect(door.x, door.y);
        int inside = 0, around = 0;
        for (int y = lintel.top - t; y < lintel.top + 2 * t; ++y)
            for (int x = lintel.left - t; x < lintel.left + 2 * t; ++x) {
                if (x < 0 || y < 0 || x >= 1920 || y >= 1080 || doorway.contains(x, y)) continue;
                if (withDoor.getPixel(x, y) == wall.getPixel(x, y)) continue;
                ++(lintel.contains(x, y) ? inside : around);
            }
        EXPECT_GT(inside, t * t / 5) << "zoom " << t;
        EXPECT_EQ(around, 0) << "zoom " << t;
    }
}

TEST_F(SceneWalkDraw, TheCreditsRollFadesPicturesAndEnds) {
    Scene& c = scene("CreditsStart");
    SceneCredits credits = c.credits;
    ASSERT_FALSE(credits.lines.empty());
    sf::RenderWindow& w = testWindow();
    auto draw = [&] {
        w.clear(sf::Color::White);
        drawCredits(credits, w);
        return captureWindow(w);
    };
    credits.frame = 10;
    credits.scrollY = 300;
    sf::Image early = draw();
    EXPECT_EQ(early.getPixel(5, 5), sf::Color::White) << "before the first picture nothing is behind the lines";
    EXPECT_TRUE(credits.active);
    credits.frame = 200;
    sf::Image shown = draw();
    EXPECT_NE(shown.getPixel(5, 5), sf::Color::White);
    credits.frame = 60; // the first frame of the fade-in: a dark picture over black
    sf::Image fading = draw();
    EXPECT_LT(meanColour(fading, 0, 0, 400, 400).luminance(), meanColour(shown, 0, 0, 400, 400).luminance());
    credits.scrollY = -100000;
    draw();
    EXPECT_FALSE(credits.active) << "every line has left the top";
}

TEST_F(SceneWalkDraw, TheShardDisplaysBandTakesTheGamesRandomColour) {
    sf::RenderWindow& w = testWindow();
    SceneCredits credits;
    credits.pictures = {{"DISPLAYSHARDS", 0}};
    credits.active = true;
    std::srand(404);
    const sf::Color expected = randomColor(); // blue, green, red
    std::srand(404);
    w.clear(sf::Color::White);
    drawCredits(credits, w);
    const sf::Image img = captureWindow(w);
    EXPECT_EQ(img.getPixel(1500, 539), expected);
    EXPECT_EQ(img.getPixel(1500, 300), sf::Color::Black) << "the display starts on black";
}

TEST_F(SceneWalkDraw, LoversOnOneTileAndANightWithoutDarknessDrawSafely) {
    Scene& g = scene("Garden");
    const int crane = people->indexOf("Crane"), marble = people->indexOf("Marble");
    ASSERT_NE(crane, NO_INDEX);
    people->at(crane).lovePartner = marble;
    people->at(marble).lovePartner = crane;
    people->at(crane).setTilePosition({16, 6});
    people->at(marble).setTilePosition({16, 6});
    cameraOn(g, {600, 0});
    leaderAt({1, 1});
    const sf::Image hearts = drawSceneFrame(g);
    // The heart of a pair on one tile beats as if they were neighbours: it is drawn.
    const Point v = view(g);
    const int hx = 16 * 120 - v.x + 120, hy = 6 * 120 - 30 - v.y;
    const Rgb heart = meanColour(hearts, hx - 4, hy - 4, 8, 8);
    EXPECT_GT(heart.r, heart.g + 60) << "a red heart beside the pair";
    people->at(marble).setTilePosition({20, 6});

    Scene& night = game->scenes.addScene();
    night.loadText("SceneName NoDark\nType WALK\nDarkScene 0 3\nTile . TEXTURE Grass TORCH END\n"
                   "Map\n....................\n....................\n....................\n"
                   "....................\n....................\n....................\n"
                   "....................\n....................\n....................\n"
                   "....................\nEndMap\n");
    ASSERT_TRUE(night.light.dark);
    const sf::Image level0 = drawSceneFrame(night);
    night.light.dark = false;
    EXPECT_EQ(differingPixels(level0, drawSceneFrame(night), 0, 0, 1920, 900), 0) << "darkness 0 darkens nothing";
}


TEST_F(SceneWalkDraw, AnObjectsOffsetMovesItDownTheScreenAndANegativeOneUp) {
    sf::RenderWindow& w = testWindow();
    SceneObject o;
    o.name = "HedgeWall";
    o.x = 5;
    for (int t : {120, 60}) {
        setDisplayZoom(t);
        std::map<int, int> bottoms;
        for (int offset : {0, 30, -70}) {
            o.yOffset = offset;
            w.clear(sf::Color::Black);
            o.draw(w, 3, {0, 0});
            bottoms[offset] = lowestDrawnRow(captureWindow(w), sf::Color::Black);
        }
        EXPECT_EQ(bottoms[0], 4 * t - 1) << "standing on the row's lower edge";
        EXPECT_EQ(bottoms[30], bottoms[0] + 30 * t / 120) << "a maze wall sits a quarter tile lower";
        EXPECT_EQ(bottoms[-70], bottoms[0] - 70 * t / 120) << "a thing on a table stands higher";
    }
}

TEST_F(SceneWalkDraw, AShardPieceIsItsGemShardOnItsPlatformAndGlowsWhenAsked) {
    sf::RenderWindow& w = testWindow();
    const sf::Texture& platform = resources->getTexture("BlueCarpet", false);
    ShardPiece piece;
    piece.tile = {4, 2};
    piece.name = "Fire";
    piece.showPlatform = false;
    // Unlit and without its platform the piece is exactly the gem shard, and draws no numbers.
    w.clear(sf::Color::Black);
    std::srand(31);
    drawShardPiece(piece, w, {0, 0}, platform);
    const int next = std::rand();
    const sf::Image bare = captureWindow(w);
    std::srand(31);
    EXPECT_EQ(std::rand(), next) << "no outline, no random colour";
    w.clear(sf::Color::Black);
    drawGem(w, "Fire", {4 * 120 + 60, 2 * 120 + 48}, false, false);
    EXPECT_EQ(differingPixels(bare, captureWindow(w), 0, 0, 960, 540), 0);
    EXPECT_GT(meanColour(bare, 4 * 120 + 30, 2 * 120 + 20, 60, 60).r, 40) << "the red fire shard shows";

    // Glowing, on its platform: the platform fills the cell and the shard gets its glow rim, one
    // random colour (three draws) per frame.
    piece.showPlatform = true;
    piece.glow = true;
    w.clear(sf::Color::Black);
    std::srand(31);
    drawShardPiece(piece, w, {0, 0}, platform);
    const int afterGlow = std::rand();
    std::srand(31);
    for (int i = 0; i < 3; ++i) std::rand();
    EXPECT_EQ(std::rand(), afterGlow);
    const sf::Image lit = captureWindow(w);
    EXPECT_NE(lit.getPixel(4 * 120 + 3, 2 * 120 + 117), sf::Color::Black) << "the carpet under it";
    EXPECT_GT(differingPixels(bare, lit, 4 * 120, 2 * 120, 120, 120), 2000);
    piece.taken = true;
    w.clear(sf::Color::Black);
    drawShardPiece(piece, w, {0, 0}, platform);
    const sf::Image taken = captureWindow(w);
    EXPECT_NE(taken.getPixel(4 * 120 + 60, 2 * 120 + 48), lit.getPixel(4 * 120 + 60, 2 * 120 + 48))
        << "a taken piece leaves only its platform";
}

TEST_F(SceneWalkDraw, EveryBackgroundKindPaintsTheScreen) {
    sf::RenderWindow& w = testWindow();
    sf::Image sheet;
    sheet.create(1920, 1080, sf::Color::Black);
    for (int k = 0; k < BACKGROUND_KIND_COUNT; ++k) {
        Background b;
        std::istringstream line(Background::kindName(k) +
                                (k == BG_IMAGE || k == BG_TILE ? " PICTURE SkyTile"
                                 : k == BG_ANIM_TILE || k == BG_ANIM_TILE2 ? " PICTURE Aurora" : ""));
        b.read(line);
        for (int f = 0; f < 12; ++f) b.update();
        w.clear(sf::Color::Black);
        b.draw(w, {300, 200});
        const sf::Image img = captureWindow(w);
        std::set<std::uint32_t> colours;
        for (int y = 0; y < 1080; y += 9)
            for (int x = 0; x < 1920; x += 9) colours.insert(img.getPixel(x, y).toInteger());
        if (k == BG_NADA) EXPECT_EQ(colours.size(), 1u);
        else EXPECT_GT(colours.size(), 3u) << Background::kindName(k);
        // A contact sheet of all kinds, 4 by 4 thumbnails.
        for (int y = 0; y < 270; ++y)
            for (int x = 0; x < 480; ++x)
                sheet.setPixel((k % 4) * 480 + x, (k / 4) * 270 + y, img.getPixel(x * 4, y * 4));
    }
    saveScreenshot(sheet, "backgrounds");

    // As a foreground the layer keeps what is under it.
    Background shapes;
    std::istringstream line("MovingShapes COUNT 5");
    shapes.read(line);
    w.clear(sf::Color::White);
    shapes.draw(w, {0, 0}, true);
    const sf::Image over = captureWindow(w);
    int white = 0;
    for (int y = 0; y < 1080; y += 20)
        for (int x = 0; x < 1920; x += 20) white += over.getPixel(x, y) == sf::Color::White;
    EXPECT_GT(white, 54 * 96 * 3 / 4) << "most of the scene shows through";
}

TEST_F(SceneWalkDraw, ABattleBackdropIsMadeOfTheScenesGroundAndCommonestObjects) {
    Scene& q = scene("Quarter");
    EXPECT_EQ(q.groundTileKind(), "Cobble") << "the centre cell lies on the road";
    sf::RenderWindow& w = testWindow();
    w.clear(sf::Color::Black);
    q.drawBattleBackdrop(w, Rect{0, 0, 1919, 1079});
    const sf::Image img = captureWindow(w);
    saveScreenshot(img, "backdrop");
    // No sky layer: black above the sky line (a fifth down), the grey road below it.
    EXPECT_EQ(img.getPixel(10, 100), sf::Color::Black);
    const Rgb ground = meanColour(img, 0, 1000, 300, 60);
    EXPECT_GT(ground.luminance(), 100);
    EXPECT_NEAR(ground.r, ground.b, 30);
    // The trees are the commonest object of the quarter: one stands at the first slot.
    const Rgb slot = meanColour(img, 1152 - 40, 414 - 120, 80, 100);
    EXPECT_GT(slot.g, slot.b + 30) << "leaves at (1152, 414)";
}

TEST_F(SceneWalkDraw, AMixedGroundTextureBandsTheBackdropsMiddleOnly) {
    Scene& q = scene("Quarter");
    sf::RenderWindow& w = testWindow();
    auto backdrop = [&] {
        w.clear(sf::Color::Black);
        q.drawBattleBackdrop(w, Rect{0, 0, 1919, 1079});
        return captureWindow(w);
    };
    const sf::Image plain = backdrop();
    q.mixedGroundTexture = "Grass";
    const sf::Image mixed = backdrop();
    q.mixedGroundTexture.clear();
    // Squares from y 456 and 696 lie within 240 of the middle (540); 216 and 936 do not.
    const Rgb bandBefore = meanColour(plain, 0, 600, 300, 60);
    const Rgb bandAfter = meanColour(mixed, 0, 600, 300, 60);
    EXPECT_NEAR(bandBefore.g, bandBefore.r, 15) << "grey road without a mixed texture";
    EXPECT_GT(bandAfter.g, bandAfter.r + 25) << "grass across the middle";
    EXPECT_GT(bandAfter.g, bandAfter.b + 25);
    const Rgb lowBefore = meanColour(plain, 0, 1000, 300, 60);
    const Rgb lowAfter = meanColour(mixed, 0, 1000, 300, 60);
    EXPECT_NEAR(lowAfter.g, lowBefore.g, 2) << "the lowest squares keep the road";
    EXPECT_NEAR(meanColour(mixed, 0, 300, 300, 60).g, meanColour(plain, 0, 300, 300, 60).g, 2);
}

TEST_F(SceneWalkDraw, ScreenshotsOfTheTownTheCaveAndSpace) {
    Scene& q = scene("Quarter");
    leaderAt({20, 8});
    cameraOn(q, {20 * 120 - 900, 6 * 120 - 540});
    sf::Image town = drawSceneFrame(q);
    saveScreenshot(town, "town");
    setDisplayZoom(60);
    saveScreenshot(drawSceneFrame(q), "town_zoomed_out");
    setDisplayZoom(120);

    Scene& cave = scene("GlowCave");
    leaderAt({8, 14});
    cameraOn(cave, {0, 1140});
    for (int i = 0; i < 3; ++i) cave.light.updateFrame();
    saveScreenshot(drawSceneFrame(cave), "cave");

    Scene& space = scene("StarField");
    space.frameCounter = 120;
    space.flame.tile = {14, 8};
    space.flame.pixel = {14 * 120 + 40, 8 * 120};
    space.flame.direction = EAST;
    for (int i = 0; i < 5; ++i) space.backgrounds[0].update();
    const sf::Image sky = drawSceneFrame(space);
    saveScreenshot(sky, "space");

    Scene& garden = scene("Garden");
    leaderAt({14, 12});
    cameraOn(garden, {600, 700});
    saveScreenshot(drawSceneFrame(garden), "garden");
    cameraOn(garden, {1300, 200});
    saveScreenshot(drawSceneFrame(garden), "garden_well");

    Scene& maze = scene("HedgeMaze");
    ASSERT_GT(maze.objects.size(), 60u) << "the maze's hedges were placed at load";
    EXPECT_FALSE(maze.blocked[0].count({12, 13})) << "the north exit is open";
    EXPECT_TRUE(maze.blocked[0].count({11, 13}));
    leaderAt({12, 15});
    cameraOn(maze, {300, 900});
    saveScreenshot(drawSceneFrame(maze), "maze");

    Scene& roll = scene("CreditsStart");
    const SceneCredits kept = roll.credits;
    roll.credits.frame = 200;
    roll.credits.scrollY = 300;
    saveScreenshot(drawSceneFrame(roll), "credits");
    roll.credits = kept;

    Scene& snow = scene("SnowPass");
    leaderAt({15, 14});
    cameraOn(snow, {600, 600});
    saveScreenshot(drawSceneFrame(snow), "snow");

    // Each picture holds more than a few colours: the scene was really drawn.
    for (const sf::Image* img : {static_cast<const sf::Image*>(&town), &sky}) {
        std::set<std::uint32_t> colours;
        for (int y = 0; y < 1080; y += 7)
            for (int x = 0; x < 1920; x += 7) colours.insert(img->getPixel(x, y).toInteger());
        EXPECT_GT(colours.size(), 200u);
    }
}
