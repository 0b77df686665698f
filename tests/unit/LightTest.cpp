// Light of dark scenes: spreading, the overlay alpha, flicker and disco colours.
#include "scenes/Objects.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Light, SpreadsByStepsUpToTheReachAndStopsAtWalls) {
    std::set<Point> walls{{5, 4}, {5, 5}, {5, 6}, {5, 3}, {5, 7}, {5, 2}, {5, 1}, {5, 0}, {5, 8}, {5, 9}};
    auto d = spreadLight({3, 5}, 3, {10, 10}, walls);
    EXPECT_EQ(d.at({3, 5}), 0);
    EXPECT_EQ(d.at({3, 2}), 3);
    EXPECT_EQ(d.at({2, 4}), 2);
    EXPECT_FALSE(d.count({3, 1})) << "beyond the reach";
    EXPECT_EQ(d.at({5, 5}), 2) << "a wall is lit";
    EXPECT_FALSE(d.count({6, 5})) << "but passes no light on";
    EXPECT_FALSE(d.count({-1, 5}));

    // A torch set in a wall still shines out of it.
    auto torch = spreadLight({0, 0}, 2, {4, 4}, {{0, 0}});
    EXPECT_EQ(torch.at({1, 1}), 2);
    EXPECT_TRUE(spreadLight({9, 9}, 2, {4, 4}, {}).empty()) << "a light off the map lights nothing";
}

TEST(Light, OverlayIsFullDarknessAwayFromLightsAndLessNearThem) {
    SceneLight l;
    l.dark = true;
    l.level = 200;
    l.reach = 4;
    l.addLight({2, 2});
    l.addLight({2, 2});
    l.addLight({8, 2});
    EXPECT_EQ(l.lights.size(), 2u);
    EXPECT_FALSE(l.spreadIsCurrent());
    l.spread({12, 5}, {});
    EXPECT_TRUE(l.spreadIsCurrent());
    EXPECT_EQ(l.overlayAlpha({2, 2}), 0);
    EXPECT_EQ(l.overlayAlpha({3, 2}), 200 * 1 / 5);
    EXPECT_EQ(l.overlayAlpha({5, 2}), 200 * 3 / 5) << "the nearer of two lights counts";
    EXPECT_EQ(l.overlayAlpha({11, 4}), 200);
    EXPECT_TRUE(l.lit.count({6, 3}));
    l.flickered.insert({2, 2});
    EXPECT_EQ(l.overlayAlpha({3, 2}), 200) << "the far light is five steps away, beyond its reach";
    EXPECT_EQ(darknessAlpha(120, 3, -1), 120);
    EXPECT_EQ(darknessAlpha(120, 3, 2), 60);
    EXPECT_EQ(darknessAlpha(120, -1, 0), 120) << "\"DarkScene 120 -1\": no reach, no light";
    EXPECT_TRUE(spreadLight({1, 1}, -1, {4, 4}, {}).empty());
}

TEST(Light, EachLightFlickersOutAboutOnceInFifteenFrames) {
    SceneLight l;
    for (int i = 0; i < 20; ++i) l.addLight({i, 0});
    std::srand(5);
    int out = 0;
    const int frames = 3000;
    for (int f = 0; f < frames; ++f) {
        l.updateFrame();
        out += static_cast<int>(l.flickered.size());
    }
    const double rate = static_cast<double>(out) / (frames * 20.0);
    EXPECT_NEAR(rate, 1.0 / 15, 0.01);
    EXPECT_EQ(l.colour, sf::Color::Black) << "no disco, no colour change";
    l.disco = true;
    l.updateFrame();
    sf::Color a = l.colour;
    l.updateFrame();
    EXPECT_NE(a, l.colour);

    // After the flicker draws, one draw per channel: blue, green, then red.
    SceneLight disco;
    disco.disco = true;
    disco.addLight({0, 0});
    std::srand(77);
    std::rand();
    const int blue = std::rand() % 255, green = std::rand() % 255, red = std::rand() % 255;
    std::srand(77);
    disco.updateFrame();
    EXPECT_EQ(disco.colour, sf::Color(red, green, blue, 255));

    // A light that went out in the last frame the scene was updated burns again in every frame
    // drawn while a text box or menu holds the scene.
    SceneLight torch;
    torch.level = 200;
    torch.reach = 3;
    torch.addLight({1, 1});
    torch.spread({4, 4}, {});
    for (std::uint32_t f = 1; torch.flickered.empty(); ++f) torch.updateFrame(f);
    const std::uint32_t wentOut = torch.flickerFrame;
    EXPECT_EQ(torch.overlayAlphaAt({1, 1}, wentOut), 200);
    for (std::uint32_t later = wentOut + 1; later < wentOut + 120; ++later)
        EXPECT_EQ(torch.overlayAlphaAt({1, 1}, later), 0);
}

TEST(Snow, FlakesFallAndComeBackAtTheTop) {
    std::srand(8);
    auto flakes = makeSnow(50, {10, 6});
    ASSERT_EQ(flakes.size(), 50u);
    for (const auto& f : flakes) {
        EXPECT_GE(f.x, 0);
        EXPECT_LT(f.x, 10);
        EXPECT_LT(f.height, 50);
    }
    const float y0 = flakes[0].y;
    updateSnow(flakes, {10, 6});
    EXPECT_GT(flakes[0].y, y0);
    for (int i = 0; i < 2000; ++i) updateSnow(flakes, {10, 6});
    for (const auto& f : flakes) {
        EXPECT_LE(f.y, 6.1f);
        EXPECT_GE(f.x, 0);
        EXPECT_LE(f.x, 10);
    }
}
