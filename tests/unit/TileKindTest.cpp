#include "game/Game.hpp"
#include "game/TileKind.hpp"

#include "support/TestSupport.hpp"

#include <sstream>
#include <vector>

namespace {

struct Block {
    char tileChar = 0;
    TileKind kind;
    std::vector<std::pair<std::string, std::string>> records;
    std::vector<std::string> unknown;
};

// Reads one block from the text after "Tile"; records consume their one-word arguments the way
// the scene loader does for CHEST and ANIMATION.
Block read(const std::string& text) {
    std::istringstream in(text);
    Block b;
    b.tileChar = readLegendBlock(
        in, b.kind,
        [&](const std::string& keyword, const std::string& argument, std::istream& s) {
            std::string arg = argument;
            if (keyword == "CHEST" || keyword == "ANIMATION") s >> arg;
            b.records.emplace_back(keyword, arg);
        },
        [&](const std::string& word) { b.unknown.push_back(word); });
    return b;
}

} // namespace

TEST(TileKindLegend, FillsTheFieldsOfEachKeyword) {
    Block b = read("w OBJECT Tree TEXTURE Grass HOUSESIGN Inn STAIRS ROTATED FRONT WINDOW "
                   "STAIRSDOWN STAIRSUP SEQUENCE Talk MOVING ROTATE 45 END");
    EXPECT_EQ(b.tileChar, 'w');
    const TileKind& k = b.kind;
    EXPECT_EQ(k.object, "Tree");
    EXPECT_EQ(k.texture, "Grass");
    EXPECT_EQ(k.houseSign, "Inn");
    EXPECT_TRUE(k.stairs && k.front && k.window && k.stairsDown && k.stairsUp && k.moving);
    EXPECT_EQ(k.rotation, 90);
    EXPECT_EQ(k.rotate, 45);
    EXPECT_EQ(k.sequence, "Talk");
    EXPECT_FALSE(k.blocking);
    EXPECT_TRUE(b.unknown.empty());
    // OBJECT also leaves a record for the scene.
    ASSERT_EQ(b.records.size(), 1u);
    EXPECT_EQ(b.records[0], std::make_pair(std::string("OBJECT"), std::string("Tree")));
}

TEST(TileKindLegend, DoorSolidObjectViewAndTransparency) {
    Block door = read("D DOOR END");
    EXPECT_TRUE(door.kind.door && door.kind.blocking);
    EXPECT_EQ(door.kind.object, "Door");

    Block s = read("s SOBJECT Rock SOLID 10 20 30 END");
    EXPECT_TRUE(s.kind.solidObject && s.kind.solid);
    EXPECT_EQ(s.kind.object, "Rock");
    EXPECT_EQ(s.kind.colour, sf::Color(10, 20, 30, 255));

    Block v = read("v VIEW Painting TRANSPARENT BLOCKH END");
    EXPECT_TRUE(v.kind.zoomable && v.kind.blocking);
    EXPECT_EQ(v.kind.zoomPicture, "Painting");
    EXPECT_EQ(v.kind.colour, sf::Color(255, 255, 255, 125));
    ASSERT_EQ(v.records.size(), 2u);
    EXPECT_EQ(v.records[0].first, "VIEW");
    EXPECT_EQ(v.records[1].first, "BLOCKH");
}

TEST(TileKindLegend, ZoomCopiesTheObjectOfThatMoment) {
    EXPECT_EQ(read("z ZOOM OBJECT Map END").kind.zoomPicture, "");
    EXPECT_EQ(read("z OBJECT Map ZOOM END").kind.zoomPicture, "Map");
}

TEST(TileKindLegend, ColourComponentsKeepTheirLowEightBits) {
    EXPECT_EQ(read("c COLORIZE 300 -1 7 END").kind.colour, sf::Color(44, 255, 7, 255));
}

TEST(TileKindLegend, SceneRecordsLeaveTheKindAloneAndUnknownWordsAreReported) {
    Block b = read("c CHEST Sword ANIMATION Fire TORCH LIGHT Bogus END");
    EXPECT_EQ(b.kind, TileKind());
    ASSERT_EQ(b.records.size(), 4u);
    EXPECT_EQ(b.records[0], std::make_pair(std::string("CHEST"), std::string("Sword")));
    EXPECT_EQ(b.records[1], std::make_pair(std::string("ANIMATION"), std::string("Fire")));
    EXPECT_EQ(b.unknown, std::vector<std::string>{"Bogus"});
}

TEST(TileKindLegend, ANumberThatDoesNotReadIsFatalNamingTileAndKeyword) {
    std::string colorize = fatalMessage([] { read("q COLORIZE 10 red 30 END"); });
    EXPECT_NE(colorize.find("Tile q COLORIZE"), std::string::npos) << colorize;
    std::string solid = fatalMessage([] { read("r SOLID 1 2 END"); });
    EXPECT_NE(solid.find("Tile r SOLID"), std::string::npos) << solid;
    std::string rotate = fatalMessage([] { read("t ROTATE 4.5 END"); });
    EXPECT_NE(rotate.find("Tile t ROTATE"), std::string::npos) << rotate;
    EXPECT_EQ(rotate.rfind("ASSERT file TileKind line ", 0), 0u) << rotate;
}

TEST(TileKindLegend, ReadingStopsAtEndOrWhenTheStreamRunsOut) {
    std::istringstream in("a BLOCK END TEXTURE Sand");
    TileKind kind;
    readLegendBlock(in, kind, [](auto&&...) {}, [](auto&&) {});
    EXPECT_TRUE(kind.blocking);
    EXPECT_EQ(kind.texture, "");
    EXPECT_TRUE(read("a BLOCK").kind.blocking);
}

TEST(TileKindTable, EqualKindsShareOneIndex) {
    Game g;
    Block a = read("a TEXTURE Grass BLOCK END");
    Block b = read("b BLOCK TEXTURE Grass END"); // other character, other order
    Block plain1 = read("p END");
    Block plain2 = read("x END");
    int ia = g.addTileKind(a.kind);
    int ib = g.addTileKind(b.kind);
    int ip1 = g.addTileKind(plain1.kind);
    int ip2 = g.addTileKind(plain2.kind);
    EXPECT_EQ(ia, ib);
    EXPECT_EQ(ip1, ip2);
    EXPECT_NE(ia, ip1);
    EXPECT_EQ(g.tileKinds.size(), 2u);
    // Every field takes part in the comparison.
    TileKind moving = plain1.kind;
    moving.moving = true;
    EXPECT_EQ(g.addTileKind(moving), 2);
    TileKind coloured = plain1.kind;
    coloured.colour.a = 254;
    EXPECT_EQ(g.addTileKind(coloured), 3);
}

TEST(TileKindTable, AnIndexOutsideTheTableIsFatal) {
    Game g;
    g.addTileKind(TileKind());
    g.addTileKind(read("b BLOCK END").kind);
    EXPECT_TRUE(g.tileKindAt(1).blocking);
    EXPECT_FATAL(g.tileKindAt(-1), "ASSERT file Game line 285 : TileKind");
    EXPECT_FATAL(g.tileKindAt(2), "ASSERT file Game line 285 : TileKind");
}
