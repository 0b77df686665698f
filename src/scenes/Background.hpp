// One animated background layer of a scene (also the sky of the travel views and of the shard
// map). The record holds only numbers and names: pictures are asked of the resource store by name
// when the layer is drawn, so the logic runs without a window.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <functional>
#include <istream>
#include <set>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
class RenderWindow;
}

enum BackgroundKind : int {
    BG_NADA = 0,
    BG_MOVING_SHAPES = 1,
    BG_MOVING_SHARDS = 2,
    BG_CRAZY_CIRCLES = 3,
    BG_HOT_LAVA = 4,
    BG_PINE_SUN = 5,
    BG_SPACE_TRAVEL = 6,
    BG_SPACE = 7,
    BG_CELULAR = 8,
    BG_IMAGE = 9,
    BG_TILE = 10,
    BG_ANIM_TILE = 11,
    BG_ANIM_TILE2 = 12,
};
constexpr int BACKGROUND_KIND_COUNT = 13;

// One moving thing of a layer: a star, a shape, a shard, a lava blob, a circle.
struct BackgroundItem {
    float x = 0, y = 0;   // layer pixels
    float vx = 0, vy = 0; // per frame
    float size = 0;
    float angle = 0;
    float spin = 0;
    int shape = 0;        // kind-specific variant (shape type, shard seed, star depth...)
    sf::Color colour = sf::Color::White;
};

struct Background {
    int kind = BG_NADA;
    // The item limit: stars, shapes or shards the layer keeps at most.
    int count = 5000;
    // The flag read after the limit: coloured streaks for "SpaceTravel", scrolling with the
    // view for "Space", "Image" and the tiled kinds, mirrored frames for "AnimTile2".
    bool option = false;
    // Drift of a "Space" field, in pixels per frame (Background::startSpaceDrift).
    float driftSpeed = 0;
    int driftSignA = 1;
    int driftSignB = 1;
    // The pixel size of the field the items wrap around in (the screen unless set).
    Point pixelSize{WINDOW_WIDTH, WINDOW_HEIGHT};
    // "Image" and "Tile": a miscellaneous picture; "AnimTile", "AnimTile2": a background
    // animation.
    std::string picture;
    sf::Color colour = sf::Color::White;
    int frame = 0;

    std::vector<BackgroundItem> items;
    // "Celular": a grid of cells, column-major.
    int cellColumns = 0;
    int cellRows = 0;
    std::vector<sf::Color> cells;

    // The kind of a name; an unknown name is fatal.
    static int kindFromName(const std::string& name);
    static const std::string& kindName(int kind);

    // Reads the rest of a "Background", "Background2" or "Foreground" line:
    //   <Kind> [PICTURE name] [COLOR r g b] [COUNT n] [OPTION]
    void read(std::istream& in);
    // The background animation this layer needs loaded, if any.
    std::set<std::string> animationNames() const;

    void update();
    // The view offset is in drawn pixels, as the walking scene computes it. As an overlay (the
    // scene's foreground) the layer leaves out its opaque backdrop and veils its pictures.
    void draw(sf::RenderTarget& window, Point viewOffset, bool overlay = false) const;
    // The same as draw() over the whole window (no scissor box) followed by `over`, a drawing
    // that depends on nothing but `overKey`. With the drawing shortcuts a star field and what
    // lies over it are copied from a picture kept since an earlier frame while both stay the
    // same, instead of being drawn again.
    void drawOverWindow(sf::RenderWindow& window, Point viewOffset, const std::string& overKey = {},
                        const std::function<void(sf::RenderTarget&)>& over = {}) const;
    // Whether draw() begins by filling the whole window, so nothing drawn before shows.
    bool fillsWindow() const;
    void initCelular();
    void startSpaceDrift();

    // Fills the items of a kind that has items when the layer has none yet.
    void ensureItems();
};
