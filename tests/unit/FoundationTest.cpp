#include "foundation/Ellipse.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/TextReader.hpp"
#include "foundation/main.hpp"
#include "support/TestSupport.hpp"

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

TEST(Geometry, PointsOrderAndArithmetic) {
    Point a{1, 2}, b{1, 5}, c{0, 9};
    EXPECT_TRUE(a < b);
    EXPECT_TRUE(c < a); // x decides first
    EXPECT_EQ(a + b, Point(2, 7));
    EXPECT_EQ(b - a, Point(0, 3));
    EXPECT_EQ(a.offset(-1, 1), Point(0, 3));
    Point p{3, 4};
    p.set(1, -8);
    EXPECT_EQ(p[0], 3);
    EXPECT_EQ(p[1], -8);
    std::map<Point, int> keyed{{{2, 1}, 1}, {{1, 9}, 2}, {{2, 0}, 3}};
    EXPECT_EQ(keyed.begin()->second, 2);
}

TEST(Geometry, RectContainsBothCornersAndNeverNormalises) {
    Rect r(2, 3, 5, 7);
    EXPECT_TRUE(r.contains({2, 3}));
    EXPECT_TRUE(r.contains({5, 7}));
    EXPECT_FALSE(r.contains({6, 7}));
    EXPECT_FALSE(r.contains({5, 8}));
    EXPECT_EQ(r.size(0), 4);
    EXPECT_EQ(r.size(1), 5);
    Rect inverted(5, 0, 2, 9);
    for (int x = -1; x < 10; ++x)
        for (int y = -1; y < 11; ++y) EXPECT_FALSE(inverted.contains({x, y}));
}

TEST(Geometry, DirectionsMoveApproachAndDistance) {
    Point p{0, 0};
    movePoint(p, WEST, 2);
    movePoint(p, SOUTH, 3);
    movePoint(p, NO_DIRECTION, 7);
    EXPECT_EQ(p, Point(-2, 3));
    EXPECT_EQ(directionTo({4, 4}, {4, 4}), NORTH);
    EXPECT_EQ(directionTo({0, 0}, {5, -9}), EAST);
    EXPECT_EQ(directionTo({5, 0}, {0, 9}), WEST);
    EXPECT_EQ(directionTo({0, 0}, {0, 1}), SOUTH);

    Point q{0, 0};
    approach(q, {50, -10}, 40);
    EXPECT_EQ(q, Point(40, -10));
    approach(q, {50, -10}, 40);
    EXPECT_EQ(q, Point(50, -10));
    EXPECT_EQ(manhattanDistance({1, 1}, {-2, 5}), 7);
    EXPECT_EQ(tileToPixel({2, -1}), Point(240, -120));
}

TEST(Geometry, ScaleAndPixelToTileFollowTheZoom) {
    Point v{-3, 7};
    EXPECT_EQ(scaleToScreen(v), Point(-3, 7));
    displayTileSize = 60;
    EXPECT_EQ(scaleToScreen(v), Point(-1, 3));
    EXPECT_EQ(v, Point(-1, 3)); // written back into the argument
    EXPECT_EQ(pixelToTile({130, 59}), Point(2, 0));
    displayTileSize = 120;
    EXPECT_EQ(pixelToTile({130, 59}), Point(1, 0));
}

TEST(Geometry, PointsAroundPatterns) {
    Point c{10, 10};
    EXPECT_EQ(pointsAround(c, 2, 0),
              (std::vector<Point>{{10, 12}, {10, 8}, {8, 10}, {12, 10}}));
    EXPECT_EQ(pointsAround(c, 1, 4), pointsAround(c, 1, 0));
    EXPECT_EQ(pointsAround(c, 1, 1), (std::vector<Point>{{10, 11}}));
    EXPECT_EQ(pointsAround(c, 1, 3),
              (std::vector<Point>{{11, 11}, {9, 11}, {11, 9}, {9, 9}}));
    auto five = pointsAround(c, 1, 5);
    ASSERT_EQ(five.size(), 8u);
    EXPECT_EQ(std::vector<Point>(five.begin(), five.begin() + 4), pointsAround(c, 1, 0));
    EXPECT_TRUE(pointsAround(c, 1, 6).empty());
    EXPECT_TRUE(pointsAround(c, 1, -1).empty());

    std::vector<Point> knightOffsets{{2, -1}, {-1, 2}, {2, 1},   {1, 2},   {1, -2},  {-2, 1},
                                     {1, 2},  {2, 1},  {-2, 1},  {1, -2},  {-2, -1}, {-1, -2},
                                     {-1, 2}, {2, -1}, {-1, -2}, {-2, -1}};
    for (int d : {1, 5}) {
        auto knights = pointsAround(c, d, 2);
        ASSERT_EQ(knights.size(), 16u);
        for (size_t i = 0; i < knights.size(); ++i) EXPECT_EQ(knights[i] - c, knightOffsets[i]);
    }
}

TEST(Randomness, DrawCountsAreExact) {
    EXPECT_EQ(randomDrawsMadeBy([] { EXPECT_EQ(randomBelow(0), 0); }), 0);
    EXPECT_EQ(randomDrawsMadeBy([] { randomBelow(7); }), 1);
    EXPECT_EQ(randomDrawsMadeBy([] { randomScreenBorderPoint(); }), 2);
    std::srand(3);
    for (int i = 0; i < 200; ++i) {
        Point p = randomScreenBorderPoint();
        bool onBorder = p.x == 0 || p.x == 1919 || p.y == 0 || p.y == 1079;
        EXPECT_TRUE(onBorder);
        EXPECT_TRUE(Rect(0, 0, 1919, 1079).contains(p));
    }
}

TEST(Randomness, RandomColorDrawsBlueGreenRed) {
    std::srand(11);
    int blue = std::rand() % 255, green = std::rand() % 255, red = std::rand() % 255;
    int next = std::rand();
    std::srand(11);
    EXPECT_EQ(randomColor(), sf::Color(red, green, blue, 255));
    EXPECT_EQ(std::rand(), next); // three draws, no more
}

TEST(Randomness, XorShiftStepsAndBounds) {
    int state = 12345;
    XorShift gen(&state);
    EXPECT_EQ(gen.next(0), 0);
    EXPECT_EQ(state, 12345);
    int before = state;
    int r = gen.next(10);
    EXPECT_EQ(r, before % 10);
    EXPECT_NE(state, before);
    EXPECT_GE(state, 0);
    // The lowest value is its own absolute value and must not overflow.
    EXPECT_EQ(XorShift::step(std::numeric_limits<int>::min()) >= 0 ||
                  XorShift::step(std::numeric_limits<int>::min()) == std::numeric_limits<int>::min(),
              true);
    EXPECT_FATAL(gen.next(-1), "ASSERT file main line 1029 : -1");
}

TEST(Randomness, JaggedPolygonsAreReproducibleAndSized) {
    EXPECT_EQ(randomJaggedPolygon(99, true), randomJaggedPolygon(99, true));
    EXPECT_EQ(randomJaggedPolygon(-2, false), (std::vector<sf::Vector2f>{{0.f, 0.f}}));
    for (int seed = -50; seed < 50; ++seed) {
        auto big = randomJaggedPolygon(seed, true);
        auto small = randomJaggedPolygon(seed, false);
        EXPECT_GE(big.size(), 5u);
        EXPECT_LE(big.size(), 9u);
        EXPECT_GE(small.size(), 1u);
        EXPECT_LE(small.size(), 5u);
        EXPECT_EQ(big.front(), sf::Vector2f(0.f, 0.f));
    }
}

TEST(Strings, MedianLowerAndParenNumbers) {
    EXPECT_EQ(medianOf({4, 1, 3}), 3);
    EXPECT_EQ(medianOf({1, 2}), 1);
    EXPECT_EQ(medianOf({-3, -2}), -2);
    std::vector<int> original{5, 1, 4};
    medianOf(original);
    EXPECT_EQ(original, (std::vector<int>{5, 1, 4}));
    EXPECT_EQ(toLower("MixED 9"), "mixed 9");

    EXPECT_EQ(parseParenInt("Mouth(12)"), 12);
    EXPECT_EQ(parseParenInt("7"), 7);
    EXPECT_EQ(parseParenInt("MAGIC(-3)"), -3);
    EXPECT_EQ(parseParenInt(" 42abc"), 42);
    EXPECT_FATAL(parseParenInt("Mouth(x)"), "ASSERT file main line 1101 : Mouth(x)");
    EXPECT_FATAL(parseParenInt("MAGIC"), "ASSERT file main line 1101 : MAGIC");
    EXPECT_FATAL(parseParenInt("L(99999999999)"), "ASSERT file main line 1101 : 99999999999)");
}

TEST(Numbers, ConversionsEndInTheFatalAssertion) {
    EXPECT_EQ(toInt(" -17 ", "Scene", 5), -17);
    EXPECT_EQ(toInt("+3", "Scene", 5), 3);
    EXPECT_FLOAT_EQ(toFloat("2.5", "Items", 9), 2.5f);
    EXPECT_FATAL(toInt("12x", "Scene", 5), "ASSERT file Scene line 5 : 12x");
    EXPECT_FATAL(toInt("", "Scene", 5), "ASSERT file Scene line 5 : ");
    EXPECT_FATAL(toInt("4294967296", "Scene", 5), "ASSERT file Scene line 5 : 4294967296");
    EXPECT_FATAL(toFloat("fast", "Items", 9), "ASSERT file Items line 9 : fast");

    std::istringstream in("TYPE 3 nine");
    WordReader reader(in, "People", 40);
    EXPECT_EQ(reader.word(), "TYPE");
    EXPECT_EQ(reader.integer(), 3);
    EXPECT_FATAL(reader.integer(), "ASSERT file People line 40 : nine");
    EXPECT_FATAL(reader.word("end of line"), "ASSERT file People line 40 : end of line");
    EXPECT_TRUE(reader.atEnd());

    std::istringstream pairs("3 4 -1 7"), lone("3 4 9"), bad("3 x");
    EXPECT_EQ(WordReader(pairs, "Scene", 7).points(), (std::vector<Point>{{3, 4}, {-1, 7}}));
    EXPECT_FATAL(WordReader(lone, "Scene", 7).points(), "ASSERT file Scene line 7 : missing number");
    EXPECT_FATAL(WordReader(bad, "Scene", 7).points(), "ASSERT file Scene line 7 : x");
}

TEST(Tables, ClassStatsAndVocabulary) {
    EXPECT_EQ(CLASS_PRIMARY_STAT.size(), 22u);
    EXPECT_EQ(CLASS_SECONDARY_STAT.size(), 22u);
    EXPECT_EQ(CLASS_PRIMARY_STAT.at("Engineer"), "DEX");
    EXPECT_EQ(CLASS_SECONDARY_STAT.at("Engineer"), "HP");
    EXPECT_EQ(CLASS_PRIMARY_STAT.count("Ufo"), 0u);
    EXPECT_EQ(CLASS_PRIMARY_STAT.at("UFO"), "STR");
    EXPECT_EQ(CLASS_SECONDARY_STAT.at("UFO"), "WIS");
    EXPECT_EQ(CLASS_PRIMARY_STAT.count("Knight"), 0u);
    EXPECT_EQ(CLASS_NAMES.size(), 24u);
    EXPECT_EQ(EVIL_PERSONALITIES.size(), 8u);
    EXPECT_EQ(NICE_PERSONALITIES.size(), 2u);
    EXPECT_EQ(SAUCER_NAMES, (std::vector<std::string>{"DiscoDisco", "UFO", "SUS", "DiscoBall"}));
    EXPECT_EQ(AXES, (std::vector<int>{0, 1}));
    EXPECT_EQ(DIRECTIONS, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(NO_SPELL, (SpellRef{"", 0}));
    EXPECT_NE(NO_SPELL, (SpellRef{"", 1}));

    for (int s = 0; s < STAT_COUNT; ++s) EXPECT_EQ(statFromName(statName(Stat(s))), s);
    EXPECT_EQ(statName(SHL), "SHL");
    EXPECT_EQ(statFromName("LUCK"), STAT_NONE);
    EXPECT_EQ(statName(STAT_NONE), "");
}

TEST(Ellipses, OutlineAndShrinkingStack) {
    EllipseShape e({10.f, 4.f});
    EXPECT_EQ(e.getPointCount(), 30u);
    EXPECT_NEAR(e.getPoint(0).x, 10.f, 1e-4);
    EXPECT_NEAR(e.getPoint(0).y, 0.f, 1e-4);
    EXPECT_NEAR(e.getPoint(15).x, 10.f, 1e-4);
    EXPECT_NEAR(e.getPoint(15).y, 8.f, 1e-4);
    EXPECT_GT(e.getPoint(7).x, 19.f); // the right end lies between points 7 and 8
    EXPECT_GT(e.getPoint(8).x, 19.f);
    sf::FloatRect box = e.getLocalBounds(); // the outline fills the box from the origin
    EXPECT_NEAR(box.left, 0.f, 0.1f);
    EXPECT_NEAR(box.top, 0.f, 1e-4);
    EXPECT_NEAR(box.width, 20.f, 0.2f);
    EXPECT_NEAR(box.height, 8.f, 1e-4);

    EXPECT_TRUE(makeShrinkingEllipses(0.f).empty());
    EXPECT_TRUE(makeShrinkingEllipses(-5.f).empty());
    for (float s : {1.f, 120.f, 333.f}) {
        auto stack = makeShrinkingEllipses(s);
        ASSERT_EQ(stack.size(), 13u);
        EXPECT_FLOAT_EQ(stack.front().getRadius().x, s / 2);
        EXPECT_NEAR(stack.back().getRadius().x, 0.0344f * s, 0.0005f * s);
        for (auto& layer : stack) EXPECT_EQ(layer.getOrigin(), layer.getRadius());
    }
    auto stack = makeShrinkingEllipses(120.f);
    EXPECT_EQ(stack[0].getPosition(), sf::Vector2f(0.f, 1.f));
    EXPECT_EQ(stack[1].getPosition(), sf::Vector2f(0.f, 5.f));
    EXPECT_EQ(stack[2].getPosition(), sf::Vector2f(0.f, 8.f));
    EXPECT_FLOAT_EQ(stack[1].getRadius().x, 48.f);
    EXPECT_EQ(stack[12].getPosition(), sf::Vector2f(0.f, 44.f));
}

} // namespace

#include <unistd.h>

namespace {

TEST(FatalAssertionDeathTest, WritesTheLinePausesAndExitsWithOne) {
    // The child writes standard output to standard error, where the death test looks.
    EXPECT_EXIT(
        {
            dup2(2, 1);
            if (!std::freopen("/dev/null", "r", stdin)) std::_Exit(3);
            fatalAssert("Game", 344, "Nowhere");
        },
        ::testing::ExitedWithCode(1),
        "ASSERT file Game line 344 : Nowhere.Paused\\.\\.\\. press any key to continue");
}

TEST(FatalAssertionDeathTest, AHandlerThatReturnsStillStops) {
    EXPECT_EXIT(
        {
            setFatalHandler([](const std::string&) {});
            fatalAssert("Scene", 778, "Maze must be 1 unit offset from border");
        },
        ::testing::ExitedWithCode(1), "");
}

} // namespace
