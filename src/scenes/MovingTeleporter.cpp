#include "scenes/MovingTeleporter.hpp"

#include <cstdlib>

namespace {
constexpr int STEP = 20;
}

void MovingTeleporter::setTile(Point t) {
    tile = t;
    target = t;
    previous = t;
    pixel = tileToPixel(t);
    moving = false;
}

void MovingTeleporter::step(Point gridSize, const std::set<Point>& avoid,
                            const std::set<Point>& avoid2) {
    if (moving) {
        approach(pixel, tileToPixel(target), STEP);
        if (pixel == tileToPixel(target)) {
            previous = tile;
            tile = target;
            moving = false;
        }
        return;
    }
    target = tile;
    pixel = tileToPixel(tile);
    if (std::rand() % 40 == 0) {
        const int d = std::rand() % 4;
        movePoint(target, d, 1);
    }
    const bool outside = target.x < 0 || target.y < 0 || target.x >= gridSize.x || target.y >= gridSize.y;
    if (outside || avoid.count(target) || avoid2.count(target)) target = tile;
    if (target != tile) {
        approach(pixel, tileToPixel(target), STEP);
        moving = true;
    }
}
