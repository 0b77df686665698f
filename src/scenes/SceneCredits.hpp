// The scrolling page a scene's "Credits" block fills: its text rises over the screen in a colour
// that keeps changing. Drawing lives with the scene visuals.
#pragma once

#include "foundation/main.hpp"

#include <istream>
#include <string>
#include <utility>
#include <vector>

struct SceneCredits {
    std::vector<std::string> lines;
    // Picture name and the number the block gave it.
    std::vector<std::pair<std::string, int>> pictures;
    int scrollY = WINDOW_HEIGHT;
    int frame = 0;
    unsigned char color[3] = {255, 255, 255};
    int channel = 0;       // 0 red, 1 green, 2 blue: the one that changes now
    bool rising = false;
    bool active = false;   // the drawing clears it when the roll is over
    int characterSize = 40;

    // head: the rest of the "Credits" line; block: the lines that follow.
    void read(std::istream& head, std::istream& block);
    // One frame; called only while there are lines.
    void update();
};
