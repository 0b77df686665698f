#include "battle/ActionAnimation.hpp"

ActionAnimation makeActionAnimation(long long actor, long long target, const std::string& spell,
                                    int level) {
    ActionAnimation a;
    a.actor = actor;
    a.target = target;
    a.xpReceiver = static_cast<int>(actor);
    a.playing = true;
    return a;
}
bool ActionAnimation::update(const std::string& sceneName) {
    if (!playing) return true;
    if (++frame >= totalFrames) { playing = false; return false; }
    return true;
}
