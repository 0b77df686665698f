#include "game/FrameLoop.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A clock that only moves when the loop sleeps or the test advances it.
struct FakeTime {
    std::int64_t now = 1000;
    std::vector<std::int64_t> sleeps;

    FramePacer pacer() {
        return FramePacer([this] { return now; },
                          [this](std::int64_t ms) {
                              sleeps.push_back(ms);
                              now += ms;
                          });
    }
};

} // namespace

TEST(FramePacer, AFrameIsDueOnceAFullPeriodHasPassed) {
    FakeTime t;
    FramePacer p = t.pacer();
    p.start();
    t.now += 33; // 0.033 s < 1/30 s
    EXPECT_FALSE(p.beginFrame());
    t.now += 1;
    EXPECT_TRUE(p.beginFrame());
    // The next period counts from the frame that ran.
    t.now += 20;
    EXPECT_FALSE(p.beginFrame());
}

TEST(FramePacer, SleepsExactlyUntilTheNextFrameIsDue) {
    FakeTime t;
    FramePacer p = t.pacer();
    p.start();
    t.now += 10;
    EXPECT_EQ(p.msUntilDue(), 24);
    p.waitForFrame();
    EXPECT_EQ(t.sleeps, std::vector<std::int64_t>{24});
    EXPECT_TRUE(p.beginFrame());
    // Already due: no sleep.
    t.now += 50;
    p.waitForFrame();
    EXPECT_EQ(t.sleeps.size(), 1u);
    // A period of whole milliseconds is due at that millisecond.
    p.setTarget(20);
    EXPECT_TRUE(p.beginFrame());
    EXPECT_EQ(p.msUntilDue(), 50);
}

TEST(FramePacer, TheLoopSleepsInsteadOfSpinning) {
    FakeTime t;
    FramePacer p = t.pacer();
    p.start();
    int turns = 0, frames = 0;
    while (t.now < 1000 + 10000) { // ten simulated seconds
        ++turns;
        if (!p.beginFrame()) {
            p.waitForFrame();
            continue;
        }
        ++frames;
    }
    // At 34 ms a frame: about 294 frames, with one sleeping turn between frames.
    EXPECT_NEAR(frames, 294, 1);
    EXPECT_LE(turns, 2 * frames + 2);
}

TEST(FramePacer, TheRateFigureChangesOnceEverySixtyFrames) {
    FakeTime t;
    FramePacer p = t.pacer();
    p.start();
    EXPECT_EQ(p.rateText(), "FPS 0.000000");
    for (int i = 0; i < 59; ++i) {
        t.now += 40;
        ASSERT_TRUE(p.beginFrame());
    }
    EXPECT_EQ(p.displayedRate(), 0.0);
    t.now += 40;
    ASSERT_TRUE(p.beginFrame());
    EXPECT_NEAR(p.displayedRate(), 25.0, 1e-9);
    EXPECT_EQ(p.rateText(), "FPS 25.000000");
    // The next window measures its own frames only.
    for (int i = 0; i < 60; ++i) {
        t.now += 50;
        ASSERT_TRUE(p.beginFrame());
    }
    EXPECT_NEAR(p.displayedRate(), 20.0, 1e-9);
}

TEST(FramePacer, ANewTargetPacesTheNextTurn) {
    FakeTime t;
    FramePacer p = t.pacer();
    p.start();
    t.now += 25;
    EXPECT_FALSE(p.beginFrame());
    p.setTarget(40); // 25 ms period
    EXPECT_TRUE(p.beginFrame());
    p.setTarget(15);
    t.now += 66;
    EXPECT_FALSE(p.beginFrame());
    t.now += 1;
    EXPECT_TRUE(p.beginFrame());
}

TEST(FramePacer, ARateOutsideTheSettingsRangeIsHeldToIt) {
    FakeTime t;
    FramePacer p = t.pacer();
    p.start();
    p.setTarget(0); // frames still run, at 15 per second
    EXPECT_EQ(p.target(), 15);
    t.now += 66;
    EXPECT_FALSE(p.beginFrame());
    EXPECT_EQ(p.msUntilDue(), 1);
    t.now += 1;
    EXPECT_TRUE(p.beginFrame());
    p.setTarget(-5); // and the loop still sleeps between them
    t.now += 10;
    EXPECT_FALSE(p.beginFrame());
    EXPECT_GT(p.msUntilDue(), 0);
    p.setTarget(1000);
    EXPECT_EQ(p.target(), 50);
}
