// The buildings that stand on a scene's map. A building covers a rectangle of tiles, may have a
// door that leads to another scene, a sign and a colour; it is drawn in the row of its lowest
// tile so that whatever stands below it covers it.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <istream>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
}

// An object placed on a building's roof (a chimney, a flag, a lamp); the scene puts it among its
// scene objects in the given tile row.
struct CeilingObject {
    std::string name;
    Point tile;
    float scale = 1.0f;
};

class BaseBuilding {
public:
    virtual ~BaseBuilding() = default;

    // Top-left tile and size in tiles.
    Point tile{0, 0};
    int width = 1;
    int height = 1;
    // The door tile (absolute); x = -1 when the building has no door.
    Point door{-1, -1};
    // The scene the door leads to (empty: no door).
    std::string scene;
    std::string sign;
    sf::Color colour = sf::Color::White;
    // A Textures name some kinds lay over their walls.
    std::string texture;
    bool damaged = false;
    // Frames since the scene started; some kinds animate.
    int frame = 0;

    // The kind word as scene files write it.
    virtual std::string kindName() const = 0;
    // The building picture (Buildings folder) the kind is drawn from; empty: drawn from shapes.
    virtual std::string pictureName() const;

    virtual void update();
    // viewOffset in drawn pixels.
    virtual void draw(sf::RenderTarget& window, Point viewOffset) const;
    virtual std::vector<CeilingObject> ceilingObjects() const;
    // Reads "<x> <y> <w> <h> [DOOR dx dy] [SCENE name] [SIGN word] [COLOR r g b] [TEXTURE t]"
    // (the door relative to the top-left tile); an unknown word is fatal.
    virtual void load(std::istream& in);
    // The tiles it stands on, which walkers cannot enter; the door tile is left free.
    virtual std::set<Point> coveredTiles() const;

    void setSign(const std::string& word) { sign = word; }
    void setColor(sf::Color c) { colour = c; }
    // The map row in which the walking scene draws it.
    int row() const { return tile.y + height - 1; }
    bool hasDoor() const { return door.x != -1; }

protected:
    // Shared pieces of the drawing.
    void drawPicture(sf::RenderTarget& window, Point viewOffset) const;
    void drawSign(sf::RenderTarget& window, Point viewOffset) const;
    void drawDoor(sf::RenderTarget& window, Point viewOffset) const;
    void drawDamage(sf::RenderTarget& window, Point viewOffset) const;
};

#define QUORVANE_BUILDING(Name)                                                        \
    class Name : public BaseBuilding {                                                 \
    public:                                                                            \
        std::string kindName() const override { return #Name; }                       \
        void draw(sf::RenderTarget& window, Point viewOffset) const override;          \
        std::vector<CeilingObject> ceilingObjects() const override;                    \
    };

QUORVANE_BUILDING(House)
QUORVANE_BUILDING(Building)
QUORVANE_BUILDING(Tower)
QUORVANE_BUILDING(Castle)
QUORVANE_BUILDING(QV1House)
QUORVANE_BUILDING(Pyramid)
QUORVANE_BUILDING(TextureBuilding)
QUORVANE_BUILDING(Circus)
QUORVANE_BUILDING(TreeBuilding)
QUORVANE_BUILDING(MushroomBuilding)
QUORVANE_BUILDING(CaveEntry)

#undef QUORVANE_BUILDING

// A house sign hanging with its lower edge at (centreX, bottom), `width` pixels wide: the picture
// of that name when the store has one, else the word painted on a board.
void drawHouseSign(sf::RenderTarget& window, const std::string& sign, float centreX, float bottom,
                   float width);

// The eleven kind words, in the order above.
const std::vector<std::string>& buildingKindNames();
bool isBuildingKind(const std::string& word);
// A new building of that kind, or null for a word that names none.
std::shared_ptr<BaseBuilding> makeBuilding(const std::string& kind);
// Reads a whole building from "<Kind> <x> <y> <w> <h> [...]"; an unknown kind is fatal.
std::shared_ptr<BaseBuilding> readBuilding(const std::string& kind, std::istream& rest);
