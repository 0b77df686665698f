// Spell and potion definitions with their repositories, filled once from the spell and potion
// files at start-up and read-only afterwards.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <istream>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sf {
class RenderWindow;
}

// How a spell's effect is played and drawn. 2 has no effect of its own.
enum MagicKind : int {
    MAGIC_TORNADO = 0, MAGIC_CURE = 1, MAGIC_BAD = 2, MAGIC_PATRICIAN = 3, MAGIC_PELONADO = 4,
    MAGIC_LASER = 5, MAGIC_DEMONSCARE = 6, MAGIC_BATATTACK = 7, MAGIC_INFERNALV = 8,
    MAGIC_CATESCAPE = 9, MAGIC_MISSLE = 10, MAGIC_BUBBLES = 11, MAGIC_FLAME = 12,
    MAGIC_CATDRAMA = 13, MAGIC_POLOIAN = 14, MAGIC_ATTROBJS = 15, MAGIC_SHIELD = 16, MAGIC_ICE = 17,
    MAGIC_FROZENORB = 18, MAGIC_DEMONDAZE = 19, MAGIC_DRACARIS = 20, MAGIC_CALL = 21,
    MAGIC_BAHAM = 22, MAGIC_YEOJ = 23, MAGIC_BOLTIOLT = 24, MAGIC_FALLINGOBJS = 25,
    MAGIC_DARKNESS = 26, MAGIC_HACK = 27, MAGIC_AIRSTRIKE = 28, MAGIC_FUNKYBOMB = 29,
    MAGIC_BUILDTOWER = 30, MAGIC_ZENGUENED = 31, MAGIC_GLOBE199 = 32,
    MAGIC_NO_KIND = 33
};

// What a spell or potion may be aimed at.
enum MagicTarget : int {
    TARGET_ENEMY = 0, TARGET_ALLY = 1, TARGET_BONES = 2, TARGET_ENEMY_ROBOT = 3, TARGET_ALL = 4,
    TARGET_ANYWHERE = 5, TARGET_NONE = 6
};

// "BadMagic" for any number outside 0..32 (and for 2).
std::string magicKindName(int kind);
// "BadTarget" for any number outside 0..6.
std::string magicTargetName(int target);
// The kind 0..32 / target 0..6 whose name equals the word ignoring case; -1 when none.
int magicKindFromName(const std::string& word);
int magicTargetFromName(const std::string& word);

using StatChanges = std::vector<std::pair<Stat, float>>;

struct Magic {
    int kind = MAGIC_NO_KIND;
    // A spell line without TARGET or LEVELS can be aimed at nothing and has no levels.
    int target = TARGET_NONE;
    int levels = 0;
    // Per level, index = level - 1.
    std::vector<sf::Color> color;
    std::vector<sf::Color> colorModif; // random range per channel (r, g, b)
    std::vector<float> dmg;
    std::vector<float> mpDmg;
    std::vector<int> numExplosions;
    std::vector<int> mp;
    std::vector<int> minRange;
    std::vector<int> maxRange;
    std::vector<int> radius;
    std::vector<StatChanges> attr;
    std::string pictureBase;
    int pictureCount = 0;
    std::string element;
    sf::Color colorize = sf::Color(0, 0, 0, 0);

    // Reads the keywords of one spell line (the stream holds the line after the name).
    void read(std::istream& in);

    // The MP cost at a level.
    int levelValue(int level) const { return mpAt(level); }
    // Empty beyond the last level that has changes.
    StatChanges levelAttributes(int level) const;
    // An opaque colour for one particle or burst at a level (draws rand()).
    sf::Color levelColor(int level) const;

    // Per-level lookups: a level the file did not give reads the vector's fill value.
    float dmgAt(int level) const;
    float mpDmgAt(int level) const;
    int mpAt(int level) const;
    int numExplosionsAt(int level) const;
    int minRangeAt(int level) const;
    int maxRangeAt(int level) const;
    int radiusAt(int level) const;
    sf::Color colorAt(int level) const;
    sf::Color colorModifAt(int level) const;
};

class MagicRepository {
public:
    std::map<std::string, Magic> spells;

    // Reads a spell file; window may be null (no loading screen).
    void load(const std::string& path, sf::RenderWindow* window, float overall);
    // An absent name is fatal.
    Magic& get(const std::string& name);
    const Magic& get(const std::string& name) const;
    bool contains(const std::string& name) const { return spells.count(name) > 0; }
};

struct Potion {
    sf::Color color = sf::Color(0, 0, 0, 255);
    // A potion line without these costs nothing, does nothing and can be aimed at nothing.
    int mp = 0;
    float dmg = 0.0f;
    float mpDmg = 0.0f;
    int target = TARGET_NONE;
    StatChanges attr;

    // Reads the keywords of one potion line (the stream holds the line after the name).
    void read(std::istream& in);
};

class PotionRepository {
public:
    std::map<std::string, Potion> potions;

    // Reads a potion file; window may be null (no loading screen).
    void load(const std::string& path, sf::RenderWindow* window, float overall);
    // An absent name is fatal.
    Potion& get(const std::string& name);
    const Potion& get(const std::string& name) const;
    bool contains(const std::string& name) const { return potions.count(name) > 0; }
};
