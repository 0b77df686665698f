// The block-pushing puzzle a walking scene may hold: blocks the main character pushes a tile at
// a time, target tiles, and a door the scene opens once every target holds a block.
#pragma once

#include "foundation/main.hpp"

#include <istream>
#include <set>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
}

struct SokobanBlock {
    Point tile;
    int px = 0, py = 0; // logical pixels; tile * TILE_SIZE while standing
    Direction direction = NO_DIRECTION;
    bool operator==(const SokobanBlock&) const = default;
};

// The arrows newly pressed this frame and where the main character stands: what a push needs.
struct PushInput {
    Point leader;
    bool up = false, down = false, left = false, right = false;
};

class Sokoban {
public:
    std::vector<SokobanBlock> blocks;
    std::vector<SokobanBlock> startBlocks;
    std::vector<Point> targets;
    Point doorTile;
    Point doorDestinationTile;
    std::string doorDestinationScene;
    bool present = false;
    Point resetTile;

    // "SokobanGame doorX doorY scene destX destY resetX resetY" after its command word.
    void read(std::istream& in);
    void addBlock(Point tile);
    void addTarget(Point tile);
    void restart();
    std::vector<Point> blockTiles() const;
    // One frame. A block is never pushed off the grid (gridSize: columns, rows).
    void update(const std::set<Point>& blocked, Point gridSize, const PushInput& input);
    // The same with the Game's arrows and the roster's main character.
    void update(const std::set<Point>& blocked, Point gridSize);
    void tryMove(SokobanBlock& block, const std::set<Point>& blocked, Point gridSize,
                 const std::vector<Point>& reserved, const PushInput& input);
    bool isSolved() const;

    // Blocks and target marks of one tile row; uncovered marks draw three rand() each.
    void draw(sf::RenderTarget& window, Point viewOffset, int row) const;
    void drawBlock(const SokobanBlock& block, sf::RenderTarget& window, Point viewOffset,
                   int row) const;
};
