// The opaque ground of walking scenes, drawn once into kept pieces of the map and copied to the
// screen row by row where it would be drawn. A kept cell also holds the part of its
// standing objects within the cell: nothing of the frame comes between them there, as they keep
// to their own column and the ground covers whatever earlier rows put there. A kept cell's
// pixels depend on nothing but its texture, its tint, its objects and the zoom, so a piece stays
// right whatever scene, view or frame shows it; a cell that changed is drawn again before it is
// copied.
#pragma once

#include "foundation/main.hpp"
#include "foundation/ScreenCopy.hpp"

#include <SFML/Config.hpp>

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace sf {
class RenderWindow;
class Texture;
}
class Scene;

class GroundCache {
public:
    // Learns which of the visible cells first..last are copied this frame and draws those kept
    // pieces lack. False when copies cannot be made here: draw the ground the long way.
    // `groundLeftOut` names the cells whose ground the frame does not lay in its row's pass.
    bool prepare(const Scene& scene, sf::RenderWindow& window, Point view, Point first, Point last,
                 bool (*groundLeftOut)(const Scene&, int, int));
    // Whether cell (x, y) is copied this frame instead of drawn (after a true prepare), and
    // whether the copy also holds the part within the cell of its tile's object, or of the
    // objects of its row standing on it.
    bool kept(int x, int y) const;
    bool objectKept(int x, int y) const;
    bool sceneObjectsKept(int x, int y) const;
    // Copies row y's kept cells to the screen: the place in the frame where their ground goes.
    void copyRow(sf::RenderWindow& window, int y) const;

private:
    // A picture standing on a cell, kept with it: its texture, tint and place.
    struct Standing {
        const sf::Texture* texture = nullptr;
        unsigned name = 0;
        sf::Uint32 colour = 0;
        int yOffset = 0;
        bool operator==(const Standing&) const = default;
    };
    struct Cell {
        const sf::Texture* texture = nullptr;
        unsigned name = 0;
        sf::Uint32 colour = 0;
        std::vector<Standing> standing; // the tile's object, then the row's objects on the cell
        bool operator==(const Cell&) const = default;
    };
    struct Piece {
        ScreenCopySource picture;
        std::pair<int, int> place{0, 0}; // in pieces
        std::vector<Cell> cells;         // what each cell of the piece holds, row by row
        unsigned long long used = 0;
    };

    Piece* pieceFor(int x, int y);
    // What this frame's copy of cell (x, y) holds: 1 its ground, 2 its tile's object, 4 its row's objects.
    char keptAt(int x, int y) const;
    Point cellInPiece(int x, int y) const;

    // Forgets what every piece holds, which is drawn again when next needed; the pictures stay
    // for the pieces that come next.
    void forget();

    bool unavailable_ = false; // the renderer cannot keep pictures: always the long way
    int cellSize_ = 0;  // the zoom the pieces were drawn at
    int pieceCells_ = 0; // cells along a piece's side
    std::vector<std::unique_ptr<Piece>> pieces_;
    std::map<std::pair<int, int>, Piece*> placed_;
    unsigned long long frame_ = 0;
    // This frame's visible cells and which of them are copied.
    Point first_, view_;
    int columns_ = 0, rows_ = 0;
    std::vector<char> kept_;
};

// The one cache of the walking scenes' window.
GroundCache& groundCache();
