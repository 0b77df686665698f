// Taps of the arrow keys that come while the party leader is still between two tiles. Each
// tap is one key press event, even when the key went down and up between two frames; without
// this, a tap during a step would be lost. Key repeat of a held arrow brings a press nearly
// every frame; a press counts as a tap only after a few frames without one, so that letting go
// of a held key does not add steps.
#pragma once

#include "foundation/main.hpp"

#include <deque>

class StepQueue {
public:
    // Frames without a press of a direction before its next press counts as a new tap.
    static constexpr int QUIET_FRAMES = 2;
    // Taps kept at most; more are dropped.
    static constexpr std::size_t CAPACITY = 3;

    // One walking frame: which directions brought a key press and whether the leader is
    // between tiles. Returns the direction to walk now: this frame's press when the leader
    // stands and has nothing queued, else the oldest queued tap (this frame's tap queued behind
    // it), or NO_DIRECTION.
    Direction step(bool left, bool right, bool up, bool down, bool walking);
    void clear();
    std::size_t size() const { return pending_.size(); }

private:
    int quiet_[4] = {QUIET_FRAMES, QUIET_FRAMES, QUIET_FRAMES, QUIET_FRAMES};
    std::deque<Direction> pending_;
};
