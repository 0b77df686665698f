// Frame pacing for the main loop: a frame runs once a full frame period of the target rate has
// passed on a monotonic wall clock; between frames the loop sleeps instead of spinning.
#pragma once

#include <SFML/Window/Event.hpp>

#include <cstdint>
#include <functional>
#include <set>
#include <string>

class FramePacer {
public:
    // Milliseconds of a monotonic clock, and a sleep of that many milliseconds.
    using Clock = std::function<std::int64_t()>;
    using Sleeper = std::function<void(std::int64_t ms)>;

    // The steady clock and a thread sleep.
    FramePacer();
    FramePacer(Clock clock, Sleeper sleeper);

    // Starts measuring from now (the last frame time becomes the current reading).
    void start();
    // True when a frame is due now; the frame is then counted and measured. False leaves
    // everything as it was.
    bool beginFrame();
    // Sleeps until the next frame is due (nothing when it already is).
    void waitForFrame();
    // Milliseconds until the next frame is due at the current target (0 when due).
    std::int64_t msUntilDue() const;

    // Held to the settings' range, 15 to 50: a rate of 0 from a damaged save would never let a
    // frame run, a negative one would never let the loop sleep.
    void setTarget(int fps);
    int target() const { return target_; }
    // 0 until 60 frames have been measured; then 60 over their summed duration, renewed every
    // 60 frames.
    double displayedRate() const { return displayedRate_; }
    // "FPS " and the displayed rate with six decimals.
    std::string rateText() const;

private:
    // Seconds since the last frame, from the clock's milliseconds.
    double elapsedSeconds(std::int64_t now) const;
    bool due(double elapsed) const { return !(1.0 / target_ > elapsed); }

    Clock clock_;
    Sleeper sleeper_;
    std::int64_t last_ = 0;
    double summed_ = 0.0;
    int counter_ = 0;
    double displayedRate_ = 0.0;
    int target_ = 30;
};

// The key presses a frame hands on from the window's events. A command key (confirm, back, menu,
// action) gives one press each time it goes down: the presses the system's key repeat adds while
// it is held are dropped. The repeat's pace is not the frame's, so some frames bring no repeat
// and the next repeat would fire the command again; held confirm would then race through a text
// box page by page. Arrows and letters keep repeating (menus scroll, walking goes on, names type).
class KeyPressFilter {
public:
    // Whether a KeyPressed event of this code goes into the frame's key list.
    bool press(int code);
    void release(int code);
    // The window lost the focus: releases may not arrive, so no key counts as held any more.
    void forget() { down_.clear(); }

    // A key event drained from the window anywhere: its release or a lost focus is noted, so that
    // a release swallowed outside the frame loop (the loading screen drains the window) does not
    // leave the key held and drop its next press.
    void noteDrained(const sf::Event& event);

private:
    std::set<int> down_;
};

// The filter of the program's one window, shared by the frame loop and the loading screen.
KeyPressFilter& windowKeyFilter();
