// Background layers: kinds, the layer line, the space drift and the per-frame steps.
#include "scenes/Background.hpp"

#include "support/TestSupport.hpp"

#include <cstdlib>
#include <sstream>

TEST(Background, KindsByName) {
    const std::vector<std::string> names{"Nada", "MovingShapes", "MovingShards", "CrazyCircles",
                                         "HotLava", "PineSun", "SpaceTravel", "Space", "Celular",
                                         "Image", "Tile", "AnimTile", "AnimTile2"};
    for (int k = 0; k < 13; ++k) {
        EXPECT_EQ(Background::kindFromName(names[k]), k);
        EXPECT_EQ(Background::kindName(k), names[k]);
    }
    EXPECT_EQ(Background::kindFromName("SpaceTravel"), 6);
    EXPECT_EQ(Background::kindFromName("Space"), 7);
    CatchFatal catcher;
    const std::string m = fatalMessage([] { Background::kindFromName("space"); });
    EXPECT_EQ(m.rfind("ASSERT file Background line ", 0), 0u) << m;
    EXPECT_NE(m.find(" : space"), std::string::npos) << "names are case-sensitive";
}

TEST(Background, ReadsTheRestOfTheLayerLine) {
    Background b;
    std::istringstream in("AnimTile2 PICTURE Aurora COLOR 10 20 30 COUNT 40 OPTION");
    b.read(in);
    EXPECT_EQ(b.kind, BG_ANIM_TILE2);
    EXPECT_EQ(b.picture, "Aurora");
    EXPECT_EQ(b.colour, sf::Color(10, 20, 30));
    EXPECT_EQ(b.count, 40);
    EXPECT_TRUE(b.option);
    EXPECT_EQ(b.animationNames(), std::set<std::string>{"Aurora"});
    Background tile;
    std::istringstream t("Tile PICTURE SkyTile");
    tile.read(t);
    EXPECT_TRUE(tile.animationNames().empty()) << "a Tile layer names a picture, not an animation";
    CatchFatal catcher;
    std::istringstream bad("Space SPEED 3");
    EXPECT_NE(fatalMessage([&] { Background().read(bad); }).find(" : SPEED"), std::string::npos);
}

TEST(Background, SpaceDriftFollowsItsThreeDraws) {
    for (unsigned seed : {1u, 2u, 3u, 17u, 4044u}) {
        std::srand(seed);
        const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
        std::srand(seed);
        Background b;
        b.kind = BG_CELULAR;
        b.startSpaceDrift();
        EXPECT_EQ(b.kind, BG_SPACE);
        EXPECT_EQ(b.count, 500);
        const float speed = (5000 + r2 % 5000) / 1000.0f * (r1 % 2 == 1 ? 1 : -1);
        EXPECT_FLOAT_EQ(b.driftSpeed, speed);
        const int a = r3 % 2 == 0 ? 1 : -1;
        EXPECT_EQ(b.driftSignA, a);
        EXPECT_EQ(b.driftSignB, speed > 0 ? a : -a);
        EXPECT_EQ(b.items.size(), 500u);
        std::srand(seed);
        for (int i = 0; i < 4; ++i) std::rand();
        const int fifth = std::rand();
        std::srand(seed);
        b.startSpaceDrift();
        std::rand();
        EXPECT_EQ(std::rand(), fifth); // the stars took nothing from the game's sequence
    }
}

TEST(Background, SpaceStarsDriftAndWrap) {
    std::srand(5);
    Background b;
    b.startSpaceDrift();
    b.pixelSize = {1920, 1080};
    const BackgroundItem first = b.items[0];
    b.update();
    const float depth = 0.4f + 0.3f * first.shape;
    float expectX = first.x + b.driftSpeed * b.driftSignA * depth;
    if (expectX < 0) expectX += 1920;
    if (expectX >= 1920) expectX -= 1920;
    EXPECT_NEAR(b.items[0].x, expectX, 0.01f);
    for (int i = 0; i < 2000; ++i) b.update();
    for (const auto& s : b.items) {
        EXPECT_GE(s.x, 0);
        EXPECT_LT(s.x, 1920);
        EXPECT_GE(s.y, 0);
        EXPECT_LT(s.y, 1080);
    }
    EXPECT_EQ(b.frame, 2001);
}

TEST(Background, CelularCellsAreRefilledOnlyForThatKind) {
    Background other;
    other.kind = BG_HOT_LAVA;
    other.initCelular();
    EXPECT_TRUE(other.cells.empty());
    Background cells;
    cells.kind = BG_CELULAR;
    std::srand(9);
    cells.initCelular();
    EXPECT_EQ(cells.cellColumns, 32);
    EXPECT_EQ(cells.cellRows, 18);
    ASSERT_EQ(cells.cells.size(), 32u * 18u);
    const auto before = cells.cells;
    for (int i = 0; i < 30; ++i) cells.update();
    EXPECT_NE(cells.cells, before) << "the field keeps changing";
    std::srand(9);
    cells.initCelular();
    EXPECT_EQ(cells.cells, before) << "refilled from the random sequence";
}

TEST(Background, KindsWithItemsKeepThemWithinTheLimit) {
    for (int k : {BG_MOVING_SHAPES, BG_MOVING_SHARDS, BG_CRAZY_CIRCLES, BG_HOT_LAVA, BG_PINE_SUN, BG_SPACE_TRAVEL}) {
        Background b;
        b.kind = k;
        b.count = 10;
        b.update();
        EXPECT_EQ(b.items.size(), 10u) << Background::kindName(k);
    }
    Background tunnel;
    tunnel.kind = BG_SPACE_TRAVEL;
    tunnel.update();
    EXPECT_EQ(tunnel.items.size(), 600u);
    for (int i = 0; i < 500; ++i) tunnel.update();
    for (const auto& s : tunnel.items) EXPECT_LE(s.size, 1300 + 100) << "streaks start over once off the screen";
    Background none;
    none.update();
    EXPECT_TRUE(none.items.empty());
}
