// The ground of a walking scene's frame and what stands on it. Row by row: the ground of the
// row's cells, the objects standing on its tiles, then the scene objects of the row, with nothing
// of the frame between them. While the drawing shortcuts are on, the plain textures of a row go
// down in one batch each, the opaque ground comes from kept pieces (GroundCache) that also hold
// the part within the cell of what stands on it, and the backdrop is drawn only where the ground
// leaves it showing; off, each cell and object is drawn alone. Both ways give the same pixels.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <utility>
#include <vector>

namespace sf {
class RenderWindow;
}
class Scene;
class GroundCache;
class TileKind;

class GroundLayer {
public:
    // Readies the ground of the visible cells first..last seen from `view`: the kept pieces learn
    // which cells they give this frame and draw what they lack.
    GroundLayer(const Scene& scene, sf::RenderWindow& window, Point view, Point first, Point last);
    GroundLayer(const GroundLayer&) = delete;
    GroundLayer& operator=(const GroundLayer&) = delete;

    // Row y's ground, the objects standing on its tiles and the scene objects of the row.
    void drawRow(int y) const;

    // The scene's two backdrop layers, drawn only where the map's opaque ground leaves the window
    // uncovered (the whole window for a scene without ground). Shortcut drawing: the long way
    // draws the layers whole.
    static void drawBackdropAround(Scene& scene, sf::RenderWindow& window, Point view);
    // Whether the map's opaque ground covers every pixel of the window seen from `view`.
    static bool coversWindow(const Scene& scene, Point view);

private:
    // The cells whose ground the row's pass leaves out (to draw it later, or not at all), so what
    // is under them shows meanwhile: the tiles drawn in front, opened doors, and the stairs of a
    // maze level until the party flies over them with the king's leave.
    static bool skips(const Scene& scene, int x, int y);
    // Whether the ground pass fills the cell with opaque pixels.
    static bool covers(const Scene& scene, int x, int y, float size);
    // The pieces of the window where what is drawn before the ground still shows: off the map,
    // and cells whose ground is not opaque or not laid. False when they are too many to be worth
    // drawing apart.
    static bool uncovered(const Scene& scene, Point view, std::vector<sf::IntRect>& out);

    // The cells of a row with something standing on their tiles, in column order.
    using Standing = std::vector<std::pair<int, const TileKind*>>;
    // The row's ground; gives the cells whose standing objects follow it.
    Standing drawGround(int y) const;
    void drawStanding(int y, const Standing& standing) const;

    const Scene& scene_;
    sf::RenderWindow& window_;
    Point view_, first_, last_;
    // The kept ground pieces, when they give this frame's opaque ground.
    GroundCache* cache_ = nullptr;
};
