// The battle action being shown in the close-up panel: built when an action is confirmed, stepped
// once per frame (BattleActions.cpp) and drawn over the battle (BattleDraw.cpp). The hit frame
// applies the action to the roster.
#pragma once

#include "battle/MagicInstance.hpp"
#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <string>
#include <vector>

namespace sf {
class RenderTarget;
}

struct ActionAnimation {
    std::string attackMusic;
    long long actor = NO_INDEX;
    long long target = NO_INDEX;
    int xpReceiver = NO_INDEX;
    bool spellApplied = false;
    // Taken from the back one after another.
    std::vector<long long> pendingTargets;
    Point panelPos;
    bool pausing = false;
    bool resuming = false;
    int pauseFrame = 0;
    int pauseLength = 15;
    int frame = 0;
    int totalFrames = 150;
    int hitFrame = 90;
    int hitEndFrame = 120;
    float panelMargin = 0.1f;
    float panelWidth = 1728.0f;
    float panelHeight = 972.0f;
    int shownChars = 0;
    int shownLine = 0;
    std::vector<std::string> lines;
    Point messageBoxPos{655, 30};
    Point messageBoxSize{1234, 216};
    bool fading = false;
    int fadeFrame = 0;
    int fadeLength = 0;
    int fadeAlpha = 0;
    MagicInstance effect;
    int targetCount = 1;
    bool deadly = false;
    bool playing = false;
    float hitX = 0, hitY = 0;
    std::string slashName;
    sf::Color slashColor = sf::Color(0, 0, 0, 255);

    bool carriesSpell() const { return !effect.name.empty() && effect.duration >= 1; }
    // One frame; false on the frame the action ends, true otherwise (also when idle). The scene
    // name selects the battle music that is paused and resumed.
    bool update(const std::string& sceneName);
    // The close-up: sky, backdrop, both figures, hit picture, spell effect, panels and messages.
    void draw(sf::RenderTarget& window, const std::string& background);
};

// A new action of actor on target; an empty spell name makes a plain attack (a potion throw for
// an alchemist: the potion lives in the actor's selected potion). Draws rand().
ActionAnimation makeActionAnimation(long long actor, long long target, const std::string& spell,
                                    int level);
