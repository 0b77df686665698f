// The view offset of a walking scene, at both drawn tile sizes.
#include "SceneTestWorld.hpp"

namespace {

Point offsetFor(Scene& s, Point camera) {
    Point centre = camera + Point{960, 540};
    scaleToScreen(centre);
    return s.viewOffset(centre);
}

void grid(Scene& s, int w, int h) { s.grid.assign(w, std::vector<int>(h, 0)); }

} // namespace

class View : public SceneWorld {};

TEST_F(View, FollowsTheCameraAndStaysInsideTheMapAtBothZoomSizes) {
    Scene& s = load(square("V"));
    grid(s, 40, 24);
    displayTileSize = 120;
    EXPECT_EQ(offsetFor(s, {0, 0}), Point(0, 0));
    EXPECT_EQ(offsetFor(s, {1200, 600}), Point(1200, 600));
    EXPECT_EQ(offsetFor(s, {-500, -500}), Point(0, 0));
    // Right and bottom edges: (40 - 16) * 120 - 1 and (24 - 9) * 120 - 1.
    EXPECT_EQ(offsetFor(s, {99999, 99999}), Point(2879, 1799));
    displayTileSize = 60;
    EXPECT_EQ(offsetFor(s, {1200, 600}), Point(600 + 480 - 960, 300 + 270 - 540));
    EXPECT_EQ(offsetFor(s, {2400, 1200}), Point(479, 330)) << "x reaches the right edge first";
    EXPECT_EQ(offsetFor(s, {99999, 99999}), Point((40 - 32) * 60 - 1, (24 - 18) * 60 - 1));
}

TEST_F(View, AMapSmallerThanTheScreenGetsANegativeOffset) {
    Scene& s = load(square("Small"));
    grid(s, 10, 7);
    displayTileSize = 120;
    EXPECT_EQ(offsetFor(s, {0, 0}), Point((10 - 16) * 120 - 1, (7 - 9) * 120 - 1));
    displayTileSize = 60;
    EXPECT_EQ(offsetFor(s, {300, 300}), Point((10 - 32) * 60 - 1, (7 - 18) * 60 - 1));
    Scene& empty = load("SceneName Empty\nType WALK\n");
    EXPECT_EQ(empty.mapHeight(), 0);
    displayTileSize = 120;
    EXPECT_EQ(offsetFor(empty, {0, 0}), Point(-16 * 120 - 1, -9 * 120 - 1));
}
