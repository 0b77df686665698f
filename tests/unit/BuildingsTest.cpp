// Buildings read from a scene-file line: placement, door, covered tiles and roof furniture.
#include "scenes/Buildings.hpp"

#include "support/TestSupport.hpp"

#include <sstream>

namespace {

std::shared_ptr<BaseBuilding> read(const std::string& kind, const std::string& rest) {
    std::istringstream in(rest);
    return readBuilding(kind, in);
}

} // namespace

TEST(Buildings, ElevenKindsByName) {
    ASSERT_EQ(buildingKindNames().size(), 11u);
    for (const auto& k : buildingKindNames()) {
        auto b = makeBuilding(k);
        ASSERT_TRUE(b) << k;
        EXPECT_EQ(b->kindName(), k);
        EXPECT_TRUE(isBuildingKind(k));
    }
    EXPECT_FALSE(makeBuilding("Hut"));
    EXPECT_FALSE(isBuildingKind("house"));
    CatchFatal catcher;
    EXPECT_NE(fatalMessage([] { read("Hut", "1 1 1 1"); }).find(" : Hut"), std::string::npos);
}

TEST(Buildings, ReadsTheLineWithDoorSceneSignColourAndTexture) {
    auto b = read("House", "3 2 4 3 DOOR 1 2 SCENE TownHouse SIGN Inn COLOR 200 120 80 TEXTURE Brick");
    EXPECT_EQ(b->tile, Point(3, 2));
    EXPECT_EQ(b->width, 4);
    EXPECT_EQ(b->height, 3);
    EXPECT_EQ(b->door, Point(4, 4)) << "the door is given from the top-left tile";
    EXPECT_EQ(b->scene, "TownHouse");
    EXPECT_EQ(b->sign, "Inn");
    EXPECT_EQ(b->colour, sf::Color(200, 120, 80));
    EXPECT_EQ(b->texture, "Brick");
    EXPECT_EQ(b->row(), 4);
    EXPECT_FALSE(b->damaged);

    const auto covered = b->coveredTiles();
    EXPECT_EQ(covered.size(), 11u);
    EXPECT_FALSE(covered.count({4, 4})) << "the door stays walkable";
    EXPECT_TRUE(covered.count({3, 2}));
    EXPECT_TRUE(covered.count({6, 4}));
    EXPECT_FALSE(covered.count({7, 4}));

    b->setSign("Shop");
    b->setColor(sf::Color::Red);
    EXPECT_EQ(b->sign, "Shop");
    EXPECT_EQ(b->colour, sf::Color::Red);
}

TEST(Buildings, ADoorNamedWithoutAPlaceOpensMidwayInTheLowestRow) {
    auto b = read("Castle", "10 1 5 4 SCENE Keep DAMAGED");
    EXPECT_EQ(b->door, Point(12, 4));
    EXPECT_TRUE(b->damaged);
    auto plain = read("Pyramid", "0 0 3 2");
    EXPECT_FALSE(plain->hasDoor());
    EXPECT_EQ(plain->coveredTiles().size(), 6u);
}

TEST(Buildings, BadLinesAreFatal) {
    CatchFatal catcher;
    EXPECT_NE(fatalMessage([] { read("Tower", "1 1 2 5 WINDOW 3"); }).find(" : WINDOW"), std::string::npos);
    EXPECT_NE(fatalMessage([] { read("Tower", "1 1 0 5"); }).find("building size"), std::string::npos);
    EXPECT_NE(fatalMessage([] { read("Tower", "1 one 2 5"); }).find(" : one"), std::string::npos);
}

TEST(Buildings, RoofFurnitureStandsInTheRowAboveTheFootprint) {
    auto house = read("House", "5 4 3 3");
    auto roof = house->ceilingObjects();
    ASSERT_EQ(roof.size(), 1u);
    EXPECT_EQ(roof[0].name, "Chimney");
    EXPECT_EQ(roof[0].tile, Point(7, 3));
    auto castle = read("Castle", "2 2 5 4");
    ASSERT_EQ(castle->ceilingObjects().size(), 2u);
    EXPECT_EQ(castle->ceilingObjects()[1].tile, Point(6, 1));
    EXPECT_TRUE(read("CaveEntry", "1 1 3 2")->ceilingObjects().empty());
}
