// The scene-file lines of tunnels and placed things, and the animation tick.
#include "scenes/Objects.hpp"

#include "support/TestSupport.hpp"

#include <sstream>

TEST(ObjectLines, TunnelFrontObjectWishingWellAndTexts) {
    Tunnel t;
    std::istringstream tl("3 4 9 10 COLOR 10 20 30");
    t.read(tl);
    EXPECT_EQ(t.a, Point(3, 4));
    EXPECT_EQ(t.b, Point(9, 10));
    EXPECT_EQ(t.colour, sf::Color(10, 20, 30));

    FrontObject f;
    std::istringstream fl("RoseArch 13 12 SCALE 1.5 COLOR 200 100 50");
    f.read(fl);
    EXPECT_EQ(f.name, "RoseArch");
    EXPECT_EQ(f.tile, Point(13, 12));
    EXPECT_EQ(f.row(), 12);
    EXPECT_FLOAT_EQ(f.scale, 1.5f);
    EXPECT_EQ(f.colour, sf::Color(200, 100, 50));

    WishingWell w;
    EXPECT_FALSE(w.exists());
    std::istringstream wl("18 3");
    w.read(wl);
    EXPECT_TRUE(w.exists());
    EXPECT_EQ(w.row(), 4) << "two tiles high by default, drawn with its lower row";
    std::istringstream wl2("5 5 3 4");
    w.read(wl2);
    EXPECT_EQ(w.row(), 8);

    SceneText text;
    std::istringstream xl("960 300 48 255 200 0 Welcome to   the quarter");
    text.read(xl);
    EXPECT_EQ(text.position, Point(960, 300));
    EXPECT_EQ(text.size, 48);
    EXPECT_EQ(text.colour, sf::Color(255, 200, 0));
    EXPECT_EQ(text.text, "Welcome to   the quarter");
    EXPECT_FALSE(text.title);
    SceneText title;
    std::istringstream tt("The Old Quarter");
    title.read(tt, true);
    EXPECT_TRUE(title.title);
    EXPECT_EQ(title.text, "The Old Quarter");

    CatchFatal catcher;
    std::istringstream bad("RoseArch 1 2 SIZE 3");
    EXPECT_NE(fatalMessage([&] { FrontObject().read(bad); }).find(" : SIZE"), std::string::npos);
    std::istringstream flat("1 1 0 2");
    EXPECT_NE(fatalMessage([&] { WishingWell().read(flat); }).find("wishing well size"), std::string::npos);
}

TEST(AnimatedObject, MovesOnAFrameAfterItsTicksAndWraps) {
    AnimatedObject a;
    a.ticksPerFrame = 2;
    std::vector<int> frames;
    for (int i = 0; i < 9; ++i) {
        a.tick(3);
        frames.push_back(a.frameIndex);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 0}));
    AnimatedObject every;
    every.tick(2);
    every.tick(2);
    EXPECT_EQ(every.frameIndex, 0) << "zero ticks per frame: a new frame every tick";
    EXPECT_EQ(every.tickCounter, 0);
}
