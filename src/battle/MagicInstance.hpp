// The spell effect being played inside a shown battle action: the effect rectangle and the
// particle lists each spell kind keeps. Stepping is in SpellEffect.cpp, drawing in
// SpellEffectDraw.cpp; the effect changes nothing in the battle (the action applies the spell).
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct PatricianShot {
    int startX = 0, speed = 0, startFrame = 0, endFrame = 0, targetX = 0, targetY = 0;
};

struct DemonObject {
    int x = 0, y = 0, size = 0, angle = 0, spin = 0, growth = 0;
};

struct MagicBat {
    int startX = 0, startY = 0, targetX = 0, targetY = 0, spanA = 0, spanB = 0, launchFrame = 0,
        picture = 0, arrivalFrame = 0;
};

struct FallingObject {
    FallingObject() = default;
    // Decorates the stacked ellipses of size with pictures 1..pictureCount (draws rand()).
    FallingObject(sf::Vector2f from, sf::Vector2f to, float size, int startFrame, int endFrame,
                  int pictureCount);
    float fromX = 0, fromY = 0;
    float toX = 0, toY = 0;
    float size = 0;
    int startFrame = 0;
    int endFrame = 0;
    // ellipse index -> point index -> {angle, picture}
    std::map<int, std::map<int, std::pair<int, int>>> decorations;
};

struct MagicSlash {
    int x = 0, y = 0, endFrame = 0;
};

struct EscapingCat {
    int x = 0, y = 0, startFrame = 0;
};

struct MagicMissile {
    float startX = 0, startY = 0, targetX = 0, targetY = 0;
    int launchFrame = 0, hitFrame = 0, framesSinceHit = 0;
};

struct MagicBubble {
    int size = 0, x = 0, y = 0;
};

struct HealParticle {
    sf::Color color;
    float jitter = 0;
    int shape = 0;
    float x = 0, y = 0;
    int birthFrame = 0;
    float speed = 0;
};

struct AttrObject {
    float x = 0, y = 0;
    int span = 0, size = 0, angle = 0, startFrame = 0, endFrame = 0, picture = 0;
};

struct FrozenOrb {
    float x = 0, y = 0;
    int endFrame = 0, startFrame = 0;
};

struct MagicBolt {
    int x = 0, topY = 0, bottomY = 0, life = 0;
};

struct DroppedObject {
    int picture = 0, x = 0, y = 0, fallFrames = 0, startFrame = 0;
};

struct HackDot {
    int x = 0, y = 0, appearFrame = 0;
};

struct AirPlane {
    int startY = 0, endY = 0, startFrame = 0, endFrame = 0;
    float x = 0, y = 0;
    int dropFrame = 0, dropY = 0, dropX = 0;
};

struct FunkyBomb {
    int startFrame = 0, explodeFrame = 0;
    float fromX = 0, fromY = 0, toX = 0, toY = 0;
    int generation = 0;
    sf::Color color;
    int size = 0, arc = 0;
};

namespace sf {
class RenderTarget;
}

struct MagicInstance {
    MagicInstance() = default;
    // A real instance puts 1 and numExplosions - 1 random frames below duration into the effect
    // frames (draws rand()); an empty name gives an idle instance.
    MagicInstance(const std::string& name, Point topLeft, Point bottomRight, int level, int duration);

    // Plays one frame; true once the effect has played out (frame >= duration).
    bool advance();
    // Back to frame 0 with every particle list empty; the burst frames and the laser target stay.
    void reset();
    std::string getName() const { return name; }
    bool isIdle() const { return name.empty(); }

    // --- drawing (SpellEffectDraw.cpp; draws rand() and plays a few sounds) ---
    // The effect of the current frame, drawn by the kind's row of the spell kinds' table
    // (SpellEffectSupport.hpp), which also states the order of its layers.
    void draw(sf::RenderTarget& window);
    // The backdrop of the kinds that have one (cat doors, chaos).
    void drawProps(sf::RenderTarget& window);
    // The falling objects' decorations (kinds 0, 8, 14, 23).
    void drawEllipses(sf::RenderTarget& window) const;
    // Kinds 3, 6 and 24: a flash at a burst frame, else their shots, pictures or bolts.
    void drawPatrician(sf::RenderTarget& window) const;
    void drawDemonScare(sf::RenderTarget& window) const;
    void drawBolts(sf::RenderTarget& window) const;

    // Empty for an idle instance.
    std::string name;
    int frame = 0;
    int duration = 0;
    Point topLeft{-1, -1};
    Point bottomRight{-1, -1};
    std::set<int> effectFrames;
    std::vector<PatricianShot> patricianShots;
    int spare = 0;
    int level = 1;
    Point laserTarget;
    std::vector<DemonObject> demonObjects;
    std::vector<MagicBat> bats;
    std::vector<FallingObject> fallingObjects;
    std::vector<MagicSlash> slashes;
    std::vector<EscapingCat> escapingCats;
    std::vector<MagicMissile> missiles;
    std::vector<MagicBubble> bubbles;
    std::vector<HealParticle> healParticles;
    std::vector<AttrObject> attrObjects;
    std::vector<FrozenOrb> frozenOrbs;
    std::vector<MagicBolt> bolts;
    std::vector<DroppedObject> droppedObjects;
    std::vector<HackDot> hackDots;
    std::vector<AirPlane> planes;
    std::vector<FunkyBomb> bombs;
};

// One bolt: a zig-zag from (x, topY) down to (x, bottomY), thickness t.
void drawConvexPolygon(sf::RenderTarget& window, int x, int topY, int bottomY, sf::Color colour,
                       int thickness);
