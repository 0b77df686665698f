// A teleporter that wanders at random over the scene, one tile at a time.
#pragma once

#include "foundation/main.hpp"

#include <istream>
#include <set>
#include <string>

struct MovingTeleporter {
    Point tile;
    Point target;
    Point previous;
    Point pixel;
    bool moving = false;
    std::string name;
    Point place{-1, -1}; // (-1, -1): a random free cell at every entry

    // The rest of a "MovingTeleporter" line: name, then x y or "RANDOMPLACE" (or nothing).
    void read(std::istream& head);
    // One frame. gridSize is (columns, rows).
    void step(Point gridSize, const std::set<Point>& avoid, const std::set<Point>& avoid2);
    // Puts it at rest on a tile.
    void setTile(Point t);
    // The row it is drawn in.
    int row() const { return tile.y > target.y ? tile.y : target.y; }
};
