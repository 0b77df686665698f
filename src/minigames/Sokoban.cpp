#include "minigames/Sokoban.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <algorithm>

namespace {

bool standing(const SokobanBlock& b) { return b.px % TILE_SIZE == 0 && b.py % TILE_SIZE == 0; }

void slide(SokobanBlock& b, int step) {
    if (b.direction == EAST) b.px += step;
    else if (b.direction == WEST) b.px -= step;
    else if (b.direction == SOUTH) b.py += step;
    else if (b.direction == NORTH) b.py -= step;
}

} // namespace

void Sokoban::read(std::istream& in) {
    WordReader r(in, "Sokoban", 25);
    auto tile = [&r] {
        const int x = r.integer("SokobanGame", "tile");
        return Point{x, r.integer("SokobanGame", "tile")};
    };
    doorTile = tile();
    doorDestinationScene = r.word("SokobanGame destination scene");
    doorDestinationTile = tile();
    resetTile = tile();
    present = true;
}

void Sokoban::addBlock(Point tile) {
    SokobanBlock b{tile, tile.x * TILE_SIZE, tile.y * TILE_SIZE, NO_DIRECTION};
    blocks.push_back(b);
    startBlocks.push_back(b);
}

void Sokoban::addTarget(Point tile) { targets.push_back(tile); }

void Sokoban::restart() { blocks = startBlocks; }

std::vector<Point> Sokoban::blockTiles() const {
    std::vector<Point> tiles;
    for (const SokobanBlock& b : blocks) {
        tiles.push_back(b.tile);
        if (!standing(b) && b.direction != NO_DIRECTION) {
            Point next = b.tile;
            movePoint(next, b.direction, 1);
            tiles.push_back(next);
        }
    }
    return tiles;
}

void Sokoban::update(const std::set<Point>& blocked, Point gridSize, const PushInput& input) {
    const std::vector<Point> reserved = blockTiles();
    for (SokobanBlock& b : blocks) tryMove(b, blocked, gridSize, reserved, input);
}

void Sokoban::update(const std::set<Point>& blocked, Point gridSize) {
    PushInput input;
    input.leader = people->mainCharacter().tile;
    input.up = game->input.upPressed;
    input.down = game->input.downPressed;
    input.left = game->input.leftPressed;
    input.right = game->input.rightPressed;
    update(blocked, gridSize, input);
}

void Sokoban::tryMove(SokobanBlock& b, const std::set<Point>& blocked, Point gridSize,
                      const std::vector<Point>& reserved, const PushInput& input) {
    if (!standing(b)) {
        if (b.direction == NO_DIRECTION) return;
        slide(b, 12);
        if (standing(b)) b.tile = {b.px / TILE_SIZE, b.py / TILE_SIZE};
        return;
    }
    for (Point n : pointsAround(b.tile, 1, 0)) {
        Direction d;
        if (n.x < b.tile.x) d = EAST;
        else if (n.x > b.tile.x) d = WEST;
        else if (n.y < b.tile.y) d = SOUTH;
        else d = NORTH;
        Point destination = b.tile;
        movePoint(destination, d, 1);
        const bool pressed = (d == NORTH && input.up) || (d == SOUTH && input.down) ||
                             (d == WEST && input.left) || (d == EAST && input.right);
        // A block at the map's edge is not pushed off the grid.
        const bool onGrid = destination.x >= 0 && destination.y >= 0 &&
                            destination.x < gridSize.x && destination.y < gridSize.y;
        if (input.leader == n && onGrid && !blocked.count(destination) &&
            std::find(reserved.begin(), reserved.end(), destination) == reserved.end() && pressed) {
            b.direction = d;
            slide(b, 12);
            if (resources) resources->playSound("SokobanMove");
            return;
        }
    }
}

bool Sokoban::isSolved() const {
    if (!present) return false;
    for (Point t : targets) {
        bool covered = false;
        for (const SokobanBlock& b : blocks) covered = covered || b.tile == t;
        if (!covered) return false;
    }
    return true;
}
