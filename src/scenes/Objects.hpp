// The things placed in a scene besides tiles and buildings: pictures standing in a row, front
// pictures, the wishing well, texts, animations, shard pieces, planets and comets, tunnels, the
// steered rocket, the light of dark scenes and the snow. Records hold names, never textures.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <cstdint>
#include <istream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
class Sprite;
class Texture;
}
struct Character;
class SpriteBatch;

// The part of a picture standing in a map cell to draw: a kept copy of the cell holds the part
// within the cell, and the rest is drawn in the frame's order.
enum class ObjectPart { Whole, InCell, OutsideCell };
// Draws the part of an unscaled sprite (the whole one for Whole) lying inside, or outside, the
// screen rows cellTop..cellBottom of its cell. With a batch, the sprites join it.
void drawSpritePart(sf::RenderTarget& target, const sf::Sprite& sprite, ObjectPart part, float cellTop,
                    float cellBottom, SpriteBatch* batch);

// ---------------------------------------------------------------------------------------------
// Pictures bound to a map row

// An object picture standing in a row, its bottom on the row's lower edge shifted by yOffset.
struct SceneObject {
    std::string name;
    float x = 0;          // tile column (fractions allowed)
    float scale = 1.0f;
    int yOffset = 0;      // full-size pixels the picture is moved down (negative: up)
    sf::Color colour = sf::Color::White;
    bool hat = false;     // a hat picture instead of an object picture
    bool planet = false;  // a planet picture instead of an object picture
    bool tileAnchored = false; // scaled to the tile width instead of its own size

    // With a batch, the sprite joins it (the caller flushes it). A part other than the whole
    // is drawn only where keptInCell() holds.
    void draw(sf::RenderTarget& window, int row, Point viewOffset, SpriteBatch* batch = nullptr,
              ObjectPart part = ObjectPart::Whole) const;
    // Whether its part within its cell can be kept with the cell's ground at the drawn tile
    // size: an object picture at its own size (the half-size picture zoomed out), on whole pixels,
    // within its own column.
    bool keptInCell() const;
    // The picture it is drawn from at the drawn tile size.
    const sf::Texture& texture() const;
};

// A picture drawn after the characters of its row (a tree crown, an arch, a fence).
struct FrontObject {
    std::string name;
    Point tile;
    float scale = 1.0f;
    sf::Color colour = sf::Color::White;

    // "<name> <x> <y> [SCALE s] [COLOR r g b]"
    void read(std::istream& in);
    int row() const { return tile.y; }
    void draw(sf::RenderTarget& window, Point viewOffset) const;
};

struct WishingWell {
    Point tile{-1, -1}; // top-left; x = -1 when the scene has none
    int width = 2;
    int height = 2;

    // "<x> <y> [<w> <h>]"
    void read(std::istream& in);
    bool exists() const { return tile.x != -1; }
    int row() const { return tile.y + height - 1; }
    void draw(sf::RenderTarget& window, Point viewOffset, int frame) const;
};

// A text written on a screen scene ("Text") or a scene's title line ("Title").
struct SceneText {
    std::string text;
    Point position{960, 200}; // screen pixels; the text is centred on x
    int size = 60;
    sf::Color colour = sf::Color::White;
    std::string font = "Dialog";
    bool title = false;

    // "Text": "<x> <y> <size> <r> <g> <b> <words...>"; "Title": "<words...>".
    void read(std::istream& in, bool isTitle = false);
    void draw(sf::RenderTarget& window) const;
};

// An animation placed on the screen or on a scene.
struct AnimatedObject {
    std::string name;
    Point position;
    float scale = 1.0f;
    int frameIndex = 0;
    bool flag = true;
    sf::Color colour = sf::Color::White;
    bool mirror = false;
    int tickCounter = 0;
    int ticksPerFrame = 0;

    // Advances by one frame; frameCount is the animation's number of frames. Without one the
    // index keeps rising and the drawing wraps it.
    void tick(int frameCount = -1);
    // Without a view the position is in window pixels; with one it is in full-size scene
    // pixels, scaled to the drawn tile size and shifted by the view.
    void draw(sf::RenderTarget& window, const Point* viewOffset = nullptr) const;
};

// An animation that walks between two rows of a scene (a bird, a cart): drawn in the lower one.
struct SceneAnimation {
    AnimatedObject animation;
    int row0 = 0;
    int row1 = 0;
    Point current; // full-size pixels
    int row() const { return row0 > row1 ? row0 : row1; }
};

// A shard or gem shown on its platform.
struct ShardPiece {
    int counter = 0;
    int period = 60;
    Point tile;
    std::string name;
    bool taken = false;       // only the platform is left
    bool showPlatform = true;
    bool glow = false;
};
void drawShardPiece(const ShardPiece& piece, sf::RenderTarget& window, Point viewOffset,
                    const sf::Texture& platform);

// ---------------------------------------------------------------------------------------------
// Space scenes

struct Planet {
    Point tile;
    std::string name;
    int size = 1; // tiles
};

struct Comet {
    std::string name;
    Point start;
    Point end;
    Point position; // full-size pixels, moved each frame
    int rowOffset = 0;
    int size = 1;

    // The position for the scene's frame counter; an axis on which both tiles agree stays on
    // the start tile's centre.
    void update(int frameCounter);
    // Degrees; a vertical path is 90.
    float angle() const;
};

// ---------------------------------------------------------------------------------------------
// Tunnels, the steered rocket and positions

struct Tunnel {
    Point a;
    Point b;
    sf::Color colour{40, 30, 20, 255};

    // "<ax> <ay> <bx> <by> [COLOR r g b]"
    void read(std::istream& in);
    void drawRow(sf::RenderTarget& window, Point viewOffset, int row) const;
    // Carries the main character from one mouth to the other and starts it one step south
    // when that cell is inside the map and free.
    void pass(const std::set<Point>& blocked, Point mapSize) const;
};

// Where a character that stands on `tile` (and aims at `target`) comes out, when it stands on
// a mouth: whether it moved, the new tile, and whether it steps south out of the mouth (only
// when that cell is inside the map and free; otherwise it stands on the mouth).
struct TunnelExit {
    bool moved = false;
    Point tile;
    bool steps = false;
    Point next;
};
TunnelExit tunnelExit(const Tunnel& tunnel, Point tile, Point target,
                      const std::set<Point>& blocked, Point mapSize);

struct Flame {
    Point tile;
    Point pixel;
    int direction = NO_DIRECTION;
    int frame = 0;
    bool drifting = false;

    // Reads the Game's held-direction flags and the "Flame" animation's length.
    void update(const std::set<Point>& blocked, Point mapSize);
    // The same step with the inputs given.
    void step(const std::set<Point>& blocked, Point mapSize, bool up, bool down, bool left,
              bool right, int frameCount);
    bool betweenTiles() const;
};
void drawCatRocket(const Flame& rocket, sf::RenderTarget& window, Point viewOffset);

struct TilePosition {
    Point tile;
    Point pixel;
    void setTile(Point t);
};

// A tile for a character entering a scene: its fixed position when it has one, else a random
// tile (y drawn first) that is in neither blocked set, giving up after 101 draws.
Point pickFreeTile(Point fixedPosition, Point mapSize, const std::set<Point>& blocked,
                   const std::set<Point>& blocked2);
void placeOnFreeTile(Character& character, Point mapSize, const std::set<Point>& blocked,
                     const std::set<Point>& blocked2);

// ---------------------------------------------------------------------------------------------
// Light and weather

// The light of a dark scene ("DarkScene n r"): every light tile spreads a distance map up to the
// reach; cells further away stay at the full darkness n.
struct SceneLight {
    bool dark = false;
    int level = 0;  // darkness n (the overlay alpha of an unlit cell)
    int reach = 0;  // r
    std::vector<Point> lights;
    std::map<Point, std::map<Point, int>> distances;
    std::set<Point> lit;
    std::set<Point> flickered; // lights that are out this frame
    // The game frame whose update drew the flicker. While a text box, a menu or a pause holds
    // the scene, no new flicker is drawn and the lights burn steadily instead of a light that
    // happened to be out staying dark for as long as the pause lasts.
    std::uint32_t flickerFrame = 0;
    bool disco = false;
    sf::Color colour = sf::Color::Black;
    bool heat = false;

    void addLight(Point tile);
    // Spreads every light through the map: a cell's distance is its step count from the light;
    // a blocked cell is lit but passes no light on.
    void spread(Point mapSize, const std::set<Point>& blocked);
    // Whether the distance maps belong to exactly the present lights.
    bool spreadIsCurrent() const;
    // Once per frame: each light is out with a chance of 1 in 15; DiscoLights changes colour.
    void updateFrame(std::uint32_t gameFrame = 0);
    // The overlay alpha of a cell for this frame (n when no light reaches it).
    int overlayAlpha(Point cell, bool withFlicker = true) const;
    // The overlay alpha drawn in the given game frame: the flicker counts only in the frame
    // that drew it.
    int overlayAlphaAt(Point cell, std::uint32_t gameFrame) const {
        return overlayAlpha(cell, gameFrame == flickerFrame);
    }
};

// The distances of one light, spread through the 4-neighbourhood up to the reach.
std::map<Point, int> spreadLight(Point light, int reach, Point mapSize,
                                 const std::set<Point>& blocked);
// The darkness overlay alpha for light distance d (-1: none) at level n and reach r.
int darknessAlpha(int n, int r, int d);

struct SnowFlake {
    float x = 0, y = 0; // tiles
    int height = 0;     // 0..49, the nearer the larger
    int spin = 0;
};
std::vector<SnowFlake> makeSnow(int count, Point mapSize);
// Flakes fall and sway; a flake that leaves the map starts again at its top.
void updateSnow(std::vector<SnowFlake>& flakes, Point mapSize);
void drawSnow(const std::vector<SnowFlake>& flakes, sf::RenderTarget& window, Point viewOffset);
