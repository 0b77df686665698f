// The obstacle course: 30 levels of random rectangles, crossed from the left pad to the right
// one in steps of 50 pixels. Every level is made once, when the game object is created, and is
// redrawn until a search proves the right pad reachable.
#pragma once

#include "foundation/main.hpp"

#include <cstdint>
#include <vector>

namespace sf {
class RenderTarget;
}

struct TacoLevel {
    std::vector<Rect> obstacles; // window pixels, x0 <= x1, y0 <= y1
    int obstacleCount = 0;
    int margin = 50;
};

class Taco {
public:
    // 0 title, 1 playing, 2 won, 3 lost.
    enum { TITLE = 0, PLAYING = 1, WON = 2, LOST = 3 };

    int state = TITLE;
    Point position{50, 540};
    int margin = 50;
    int life = 100;
    int maxLife = 100;
    bool hit = false;
    std::vector<TacoLevel> levels;
    std::uint64_t currentLevel = 0;

    // Makes the 30 levels: four rand() draws per rectangle, up to 300 tries a level.
    Taco();
    bool update();
    void draw(sf::RenderTarget& window) const;

    static void generateLevel(TacoLevel& level);
    static bool isSolvable(const TacoLevel& level);
    // Whether the 150 by 150 square around the point meets the rectangle (edges included).
    static bool touches(Point p, const Rect& r);
    void drawLevel(const TacoLevel& level, sf::RenderTarget& window) const;
};
