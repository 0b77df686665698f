// The snake mini-game: a snake on a wrapping grid of 91 by 49 cells grows on apples, loses on
// biting itself and wins at length 500.
#pragma once

#include "foundation/main.hpp"

#include <deque>
#include <list>
#include <vector>

namespace sf {
class RenderTarget;
}

class Cobrinha {
public:
    // 0 title, 1 playing, 2 won, 3 lost.
    enum { TITLE = 0, PLAYING = 1, WON = 2, LOST = 3 };

    int state = TITLE;
    int margin = 0;
    int cell = 0;
    std::vector<std::vector<bool>> grid; // [column][row], true under the body
    std::deque<Point> body;              // head first
    int length = 0;
    Direction direction = WEST;
    std::list<Point> apples;
    int winningLength = 0;
    int frameCounter = 0;
    int stepPeriod = 0;

    // A new snake in the middle heading north; the state is left as it is.
    void reset();
    bool update();
    void draw(sf::RenderTarget& window) const;

    int columns() const { return static_cast<int>(grid.size()); }
    int rows() const { return grid.empty() ? 0 : static_cast<int>(grid[0].size()); }

private:
    void step();
    void dropApple();
};
