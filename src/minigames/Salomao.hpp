// The cave game: the main character digs through a 300 by 300 cave from a corner toward a
// treasure deep inside, paying health for every step and more for rock, while snakes close in.
#pragma once

#include "foundation/main.hpp"

#include <vector>

namespace sf {
class RenderTarget;
}

enum CaveCell : int { EMPTY = 0, ROCK = 1, DIAMOND = 2, HEART = 3, GRAIL = 4 };

struct CaveSnake {
    int frame = 0;
    bool toggle = false;
    Point cell;
};

// The direction codes of the axis, in DIRECTIONS order: WEST, EAST or NORTH, SOUTH.
std::vector<Direction> directionsAlongAxis(int axis);

class SalomaoGame {
public:
    // 0 title, 1 playing, 2 lost, 3 won, 4 last screen.
    enum { TITLE = 0, PLAYING = 1, LOST = 2, WON = 3, LAST = 4 };

    int cellSize = 60;
    std::vector<std::vector<int>> grid; // [x][y], CaveCell values
    int n = 300;
    int viewColumns = WINDOW_WIDTH / 60;
    int viewRows = WINDOW_HEIGHT / 60;
    Point player{50, 50};
    int health = 1000;
    Point treasure;
    Point view{0, 0};
    Point viewMargin{10, 5};
    int treasureCounter = 0;
    int treasureLimit = 300;
    int state = TITLE;
    std::vector<CaveSnake> snakes;

    // A new cave and a new game: about 100 to 200 thousand rand() draws.
    void generate();
    void resizeGrid(int columns, int rows);
    bool update(const std::vector<int>& keyCodes);
    void draw(sf::RenderTarget& window) const;

private:
    void play();
    void moveSnake(CaveSnake& snake) const;
    void drawCave(sf::RenderTarget& window) const;
    void drawTreasure(sf::RenderTarget& window) const;
};
