#include "scenes/StepQueue.hpp"

Direction StepQueue::step(bool left, bool right, bool up, bool down, bool walking) {
    const bool held[4] = {left, right, up, down}; // WEST, EAST, NORTH, SOUTH
    Direction now = NO_DIRECTION;
    bool fresh = false;
    for (Direction d : DIRECTIONS) {
        if (!held[d]) {
            if (quiet_[d] < QUIET_FRAMES) ++quiet_[d];
            continue;
        }
        // The walk's own priority when several arrows come at once: west, east, north, south.
        if (now == NO_DIRECTION) {
            now = d;
            fresh = quiet_[d] >= QUIET_FRAMES;
        }
        quiet_[d] = 0;
    }
    if (walking) {
        if (fresh && pending_.size() < CAPACITY) pending_.push_back(now);
        return NO_DIRECTION;
    }
    if (pending_.empty()) return now;
    const Direction next = pending_.front();
    pending_.pop_front();
    if (fresh && pending_.size() < CAPACITY) pending_.push_back(now);
    return next;
}

void StepQueue::clear() {
    pending_.clear();
    for (int& q : quiet_) q = QUIET_FRAMES;
}
