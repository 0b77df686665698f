#include "foundation/Resources.hpp"
#include "support/TestSupport.hpp"

TEST(ResourcesNames, FileStemIsTheTextBeforeTheFirstDot) {
    EXPECT_EQ(fileStem("Tree.png"), "Tree");
    EXPECT_EQ(fileStem("Tree.big.png"), "Tree");
    EXPECT_EQ(fileStem("Tree"), "Tree");
    EXPECT_EQ(fileStem(".hidden.png"), "");
    EXPECT_EQ(fileStem(""), "");
    EXPECT_EQ(fileStem("FlyF (2).png"), "FlyF (2)");
}

TEST(ResourcesNames, TileSpriteKeysOrderBySizeThenName) {
    const TileSpriteKey small{"Zebra", 60, 60}, big{"Apple", 120, 120}, other{"Bee", 60, 60};
    EXPECT_TRUE(small < big);
    EXPECT_TRUE(other < small);
    EXPECT_FALSE(big < small);
    EXPECT_TRUE((TileSpriteKey{"A", 60, 50} < TileSpriteKey{"A", 60, 60}));
}

TEST(ResourcesNames, PotionColoursOrderByRedGreenBlueAlpha) {
    const ColorLess less;
    EXPECT_TRUE(less(sf::Color(1, 9, 9, 9), sf::Color(2, 0, 0, 0)));
    EXPECT_TRUE(less(sf::Color(1, 1, 9, 9), sf::Color(1, 2, 0, 0)));
    EXPECT_TRUE(less(sf::Color(1, 1, 1, 9), sf::Color(1, 1, 2, 0)));
    EXPECT_TRUE(less(sf::Color(1, 1, 1, 254), sf::Color(1, 1, 1, 255)));
    EXPECT_FALSE(less(sf::Color(1, 1, 1, 255), sf::Color(1, 1, 1, 255)));
}

TEST(ResourcesNames, GemSeedIsTheLowHalfOfFnv1a) {
    // FNV-1a 64 of "a" is 0xaf63dc4c8601ec8c.
    EXPECT_EQ(gemSeed("a"), static_cast<int>(0x8601ec8cu));
    EXPECT_EQ(gemSeed(""), static_cast<int>(0x84222325u));
    EXPECT_NE(gemSeed("Ruby"), gemSeed("Ruby "));
}
