// Tunnels, random placement and tile positions.
#include "scenes/Objects.hpp"

#include "SceneTestWorld.hpp"

#include <cstdlib>

TEST(Tunnel, CarriesFromOneMouthToTheOtherAndStepsSouthWhenFree) {
    Tunnel t;
    t.a = {2, 2};
    t.b = {7, 3};
    TunnelExit e = tunnelExit(t, {2, 2}, {2, 2}, {}, {10, 8});
    EXPECT_TRUE(e.moved);
    EXPECT_EQ(e.tile, Point(7, 3));
    EXPECT_TRUE(e.steps);
    EXPECT_EQ(e.next, Point(7, 4));
    e = tunnelExit(t, {7, 3}, {7, 3}, {}, {10, 8});
    EXPECT_EQ(e.tile, Point(2, 2));
    EXPECT_FALSE(tunnelExit(t, {2, 2}, {2, 3}, {}, {10, 8}).moved) << "still walking off the mouth";
    EXPECT_FALSE(tunnelExit(t, {3, 2}, {3, 2}, {}, {10, 8}).moved);
}

TEST(Tunnel, StepsSouthOnlyOntoAFreeCellOfTheMap) {
    Tunnel t;
    t.a = {1, 1};
    t.b = {4, 5}; // on the bottom row of a 6 x 6 map
    TunnelExit e = tunnelExit(t, {1, 1}, {1, 1}, {}, {6, 6});
    EXPECT_TRUE(e.moved);
    EXPECT_EQ(e.tile, Point(4, 5));
    EXPECT_FALSE(e.steps) << "below the bottom row lies no map";
    EXPECT_EQ(e.next, Point(4, 5));
    e = tunnelExit(t, {4, 5}, {4, 5}, {{1, 2}}, {6, 6});
    EXPECT_EQ(e.tile, Point(1, 1));
    EXPECT_FALSE(e.steps) << "the cell below is a wall, even with north, west and east free";
    e = tunnelExit(t, {4, 5}, {4, 5}, {{1, 0}, {0, 1}, {2, 1}}, {6, 6});
    EXPECT_TRUE(e.steps);
    EXPECT_EQ(e.next, Point(1, 2));
}

class TunnelPass : public SceneWorld {};

TEST_F(TunnelPass, MovesTheMainCharacterAndStartsItsStepSouthWhenThatCellIsFree) {
    Tunnel t;
    t.a = {1, 1};
    t.b = {5, 4};
    Character& main = roster.mainCharacter();
    main.setTilePosition({1, 1});
    t.pass({}, {8, 8});
    EXPECT_EQ(main.tile, Point(5, 4));
    EXPECT_EQ(main.pixel, Point(5 * 120, 4 * 120));
    EXPECT_EQ(main.targetTile, Point(5, 5));
    EXPECT_TRUE(main.walking);
    EXPECT_EQ(main.facing, SOUTH);
    EXPECT_FALSE(main.showBack);

    // Blocked below (or a mouth on the bottom row): the leader arrives and stands on the mouth.
    for (const auto& [blocked, size] : {std::pair{std::set<Point>{{1, 2}}, Point{8, 8}},
                                        std::pair{std::set<Point>{}, Point{8, 2}}}) {
        main.setTilePosition({5, 4});
        main.walking = false;
        main.setFacing(WEST);
        t.pass(blocked, size);
        EXPECT_EQ(main.tile, Point(1, 1));
        EXPECT_EQ(main.pixel, Point(120, 120));
        EXPECT_EQ(main.targetTile, Point(1, 1));
        EXPECT_FALSE(main.walking);
        EXPECT_EQ(main.facing, WEST);
    }
}

TEST_F(TunnelPass, PlacementUsesTheFixedTileOrDrawsYBeforeX) {
    Character& c = roster.at(1);
    c.fixedPosition = {3, 2};
    c.walking = true;
    placeOnFreeTile(c, {10, 10}, {}, {});
    EXPECT_EQ(c.tile, Point(3, 2));
    EXPECT_EQ(c.pixel, Point(360, 240));
    EXPECT_FALSE(c.walking);

    c.fixedPosition = {-1, -1};
    std::srand(21);
    const int ry = std::rand(), rx = std::rand();
    std::srand(21);
    placeOnFreeTile(c, {7, 5}, {}, {});
    EXPECT_EQ(c.tile, Point(rx % 7, ry % 5));
    EXPECT_EQ(c.targetTile, c.tile);
    EXPECT_EQ(c.previousTile, c.tile);

    // Blocked cells are redrawn; a fully blocked map gives up after 101 draws.
    std::set<Point> all;
    for (int x = 0; x < 3; ++x)
        for (int y = 0; y < 3; ++y) all.insert({x, y});
    std::set<Point> allButOne = all;
    allButOne.erase({2, 1});
    std::srand(2);
    EXPECT_EQ(pickFreeTile({-1, -1}, {3, 3}, allButOne, {}), Point(2, 1));
    std::srand(2);
    for (int i = 0; i < 202; ++i) std::rand();
    const int after = std::rand();
    std::srand(2);
    pickFreeTile({-1, -1}, {3, 3}, {}, all);
    EXPECT_EQ(std::rand(), after) << "101 tiles of two draws each, then it stops";
    EXPECT_EQ(pickFreeTile({-1, -1}, {0, 0}, {}, {}), Point(0, 0));
}

TEST(TilePosition, KeepsTileAndPixelTogether) {
    TilePosition p;
    p.setTile({4, 7});
    EXPECT_EQ(p.pixel, Point(480, 840));
    EXPECT_EQ(p.tile, Point(4, 7));
}
