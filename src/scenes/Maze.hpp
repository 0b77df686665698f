// The maze carving behind the "GenerateMaze" statement, kept apart from the scene so that it can
// be checked on its own.
#pragma once

#include "foundation/main.hpp"

#include <istream>
#include <string>
#include <vector>

// One draw of rand() cut to the 15 bits the shuffle is written for.
int rand15();

// A perfect maze of width x height cells carved depth first from (width / 2, 0).
struct MazeCarving {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> eastOpen;  // column-major
    std::vector<unsigned char> southOpen;

    bool east(int i, int j) const { return eastOpen[i * height + j] != 0; }
    bool south(int i, int j) const { return southOpen[i * height + j] != 0; }
};
MazeCarving carveMaze(int width, int height);

// Where the walls of a maze between the corners a and b go, in placing order, and which wall
// tiles its exits ('S' the top border, 'N' the bottom wall row) unblock. An exit character other
// than 'S' or 'N' is fatal.
struct MazePlan {
    std::vector<Point> walls;
    std::vector<Point> exits;
};
MazePlan planMaze(Point a, Point b, bool horizontalWalls, const std::string& exits);

class Scene;
// The rest of a "GenerateMaze" line: x0 y0 x1 y1 wall second exits flag. The maze must keep one
// tile free to the left and above it.
void readGenerateMaze(Scene& scene, std::istream& rest);
