// The steered rocket and the comets of space scenes.
#include "scenes/Objects.hpp"

#include <gtest/gtest.h>

namespace {

Flame standing(Point tile) {
    Flame f;
    f.tile = tile;
    f.pixel = {tile.x * 120, tile.y * 120};
    return f;
}

} // namespace

TEST(Rocket, StepsOneTileInSixFramesOnTheHeldArrow) {
    Flame f = standing({2, 2});
    f.step({}, {5, 5}, false, false, false, true, 8);
    EXPECT_EQ(f.direction, EAST);
    EXPECT_EQ(f.pixel, Point(260, 240));
    EXPECT_TRUE(f.betweenTiles());
    for (int i = 0; i < 5; ++i) f.step({}, {5, 5}, false, false, false, false, 8);
    EXPECT_EQ(f.pixel, Point(360, 240));
    EXPECT_EQ(f.tile, Point(3, 2));
    EXPECT_FALSE(f.betweenTiles());
    EXPECT_EQ(f.frame, 6);
    // Up wins over the others.
    f.step({}, {5, 5}, true, true, true, true, 8);
    EXPECT_EQ(f.direction, NORTH);
    EXPECT_EQ(f.pixel, Point(360, 220));
}

TEST(Rocket, TurnsButStaysAtTheEdgeOrBeforeABlockedTile) {
    Flame f = standing({0, 4});
    f.direction = EAST;
    f.step({}, {5, 5}, false, true, false, false, 8);
    EXPECT_EQ(f.direction, SOUTH);
    EXPECT_EQ(f.pixel, Point(0, 480)) << "the map ends below";
    f.step({{1, 4}}, {5, 5}, false, false, false, true, 8);
    EXPECT_EQ(f.direction, EAST);
    EXPECT_EQ(f.pixel, Point(0, 480)) << "blocked";
    f.step({}, {5, 5}, false, false, false, false, 8);
    EXPECT_EQ(f.pixel, Point(0, 480)) << "no arrow, no move";
    EXPECT_EQ(f.frame, 3);
}

TEST(Rocket, DriftsAPixelAFrameIgnoringTheGrid) {
    Flame f = standing({0, 0});
    f.drifting = true;
    f.direction = WEST;
    f.step({{0, 0}}, {1, 1}, true, false, false, false, 8);
    EXPECT_EQ(f.pixel, Point(-1, 0));
    f.frame = 7;
    f.step({}, {1, 1}, false, false, false, false, 8);
    EXPECT_EQ(f.frame, 0);
}

TEST(Comet, SlidesAlongItsPathAndStartsOver) {
    Comet c;
    c.start = {1, 1};
    c.end = {4, 3};
    c.update(0);
    EXPECT_EQ(c.position, Point(180, 180));
    c.update(10);
    EXPECT_EQ(c.position, Point(230, 230));
    c.update(72); // 360 on x wraps to 0, 360 on y is 120 past a 240 span
    EXPECT_EQ(c.position, Point(180, 300));
    Comet back;
    back.start = {5, 5};
    back.end = {2, 1};
    back.update(10);
    EXPECT_EQ(back.position, Point(610, 610));
    EXPECT_FLOAT_EQ(c.angle(), 33.f);
}

TEST(Comet, APathAlongARowOrColumnDoesNotDivideByZero) {
    Comet row;
    row.start = {1, 2};
    row.end = {6, 2};
    row.update(13);
    EXPECT_EQ(row.position, Point(180 + 65, 300));
    EXPECT_FLOAT_EQ(row.angle(), 0.f);
    Comet column;
    column.start = {3, 1};
    column.end = {3, 4};
    column.update(7);
    EXPECT_EQ(column.position, Point(420, 180 + 35));
    EXPECT_FLOAT_EQ(column.angle(), 90.f);
    Comet still;
    still.start = still.end = {2, 2};
    still.update(99);
    EXPECT_EQ(still.position, Point(300, 300));
}
