#include "battle/Magic.hpp"

#include "battle/DataFile.hpp"
#include "foundation/NumberRanges.hpp"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

const char* const KIND_NAMES[33] = {
    "Tornado",  "Cure",       "BadMagic",  "Patrician", "Pelonado",  "Laser",      "DemonScare",
    "BatAttack", "InfernalV", "CatEscape", "Missle",    "Bubbles",   "Flame",      "CatDrama",
    "Poloian",  "AttrObjs",   "Shield",    "Ice",       "FrozenOrb", "DemonDaze",  "Dracaris",
    "Call",     "Baham",      "Yeoj",      "Boltiolt",  "Fallingobjs", "Darkness", "Hack",
    "Airstrike", "FunkyBomb", "BuildTower", "Zenguened", "Globe199"};

const char* const TARGET_NAMES[7] = {"enemy", "ally", "bones", "enemyRobot", "all", "anywhere", "none"};

// Levels beyond this are refused: a stray number in a spell file must not claim gigabytes.
constexpr int MAX_SPELL_LEVEL = 1000;

const sf::Color FILL_COLOR(0, 0, 0, 255);

bool beginsWith(const std::string& word, const char* prefix) { return word.rfind(prefix, 0) == 0; }

std::string nextValue(std::istream& in, const std::string& keyword) {
    std::string w;
    if (!(in >> w)) fatalAssert("Magic", 31, keyword);
    return w;
}

int intValue(std::istream& in, const std::string& keyword) {
    ReadingPlace::setCurrentStatement(keyword);
    return inRange("Magic", "number", toInt(nextValue(in, keyword), "Magic", 37));
}

float floatValue(std::istream& in, const std::string& keyword) {
    ReadingPlace::setCurrentStatement(keyword);
    return inRange("Magic", "number", toFloat(nextValue(in, keyword), "Magic", 42));
}

// Colour components keep their low eight bits.
sf::Color colorValue(std::istream& in, const std::string& keyword) {
    int r = intValue(in, keyword);
    int g = intValue(in, keyword);
    int b = intValue(in, keyword);
    return sf::Color(static_cast<sf::Uint8>(r), static_cast<sf::Uint8>(g), static_cast<sf::Uint8>(b), 255);
}

// The level between the parentheses of DMG(2); 0 when it is not a whole number in 1..MAX.
int levelOf(const std::string& word) {
    size_t open = word.find('(');
    size_t close = word.find(')', open);
    if (open == std::string::npos || close == std::string::npos) return 0;
    const char* first = word.data() + open + 1;
    const char* last = word.data() + close;
    int level = 0;
    auto [end, ec] = std::from_chars(first, last, level);
    if (ec != std::errc() || end != last || level < 1 || level > MAX_SPELL_LEVEL) return 0;
    return level;
}

template <class T>
void setLevel(std::vector<T>& v, int level, const T& value, const T& fill) {
    if (static_cast<int>(v.size()) < level) v.resize(level, fill);
    v[level - 1] = value;
}

template <class T>
T levelEntry(const std::vector<T>& v, int level, const T& fill) {
    if (level < 1 || level > static_cast<int>(v.size())) return fill;
    return v[level - 1];
}

void badKeyword(const std::string& word, const char* repository) {
    consoleLine("BAD keyword ", word, " (", repository, ")");
}

// A stat name that names no stat is reported and dropped with its value: stat 14 would index
// past every stat table of the battle.
void addStatChange(StatChanges& changes, std::istream& in, const std::string& keyword, const char* repository) {
    std::string name = nextValue(in, keyword);
    Stat stat = statFromName(name);
    float value = floatValue(in, keyword);
    if (stat == STAT_NONE) badKeyword(name, repository);
    else changes.push_back({stat, value});
}

} // namespace

std::string magicKindName(int kind) {
    if (kind < 0 || kind > 32) return "BadMagic";
    return KIND_NAMES[kind];
}

std::string magicTargetName(int target) {
    if (target < 0 || target > 6) return "BadTarget";
    return TARGET_NAMES[target];
}

int magicKindFromName(const std::string& word) {
    std::string lower = toLower(word);
    for (int k = 0; k <= 32; ++k)
        if (toLower(KIND_NAMES[k]) == lower) return k;
    return -1;
}

int magicTargetFromName(const std::string& word) {
    std::string lower = toLower(word);
    for (int t = 0; t <= 6; ++t)
        if (toLower(TARGET_NAMES[t]) == lower) return t;
    return -1;
}

// ---------------------------------------------------------------------------------------------

void Magic::read(std::istream& in) {
    std::string word;
    in >> word;
    while (true) {
        if (in.eof() && word.empty()) return;
        bool perLevel = beginsWith(word, "COLOR(") || beginsWith(word, "COLORMODIF(") ||
                        beginsWith(word, "DMG(") || beginsWith(word, "MPDMG(") ||
                        beginsWith(word, "MP(") || beginsWith(word, "NUMEXPLOSIONS(") ||
                        beginsWith(word, "ATTR(") || beginsWith(word, "MINRANGE(") ||
                        beginsWith(word, "MAXRANGE(") || beginsWith(word, "RADIUS(");
        int level = perLevel ? levelOf(word) : 0;

        if (word == "KIND") {
            int k = magicKindFromName(nextValue(in, word));
            if (k >= 0) kind = k;
        } else if (word == "TARGET") {
            int t = magicTargetFromName(nextValue(in, word));
            if (t >= 0) target = t;
        } else if (word == "LEVELS") {
            int n = intValue(in, word);
            levels = n;
            size_t size = static_cast<size_t>(std::clamp(n, 0, MAX_SPELL_LEVEL));
            color.resize(size, FILL_COLOR);
            colorModif.resize(size, FILL_COLOR);
            dmg.resize(size, 0.0f);
            mpDmg.resize(size, 0.0f);
            mp.resize(size, 0);
            numExplosions.resize(size, 0);
            minRange.resize(size, 1);
            maxRange.resize(size, 1);
        } else if (perLevel && level == 0) {
            // A level that is not a whole number from 1: its values are read and dropped.
            badKeyword(word, "magicrep");
            if (beginsWith(word, "COLOR")) colorValue(in, word);
            else if (beginsWith(word, "ATTR(")) {
                StatChanges dropped;
                addStatChange(dropped, in, word, "magicrep");
            }
            else nextValue(in, word);
        } else if (beginsWith(word, "COLOR(")) {
            setLevel(color, level, colorValue(in, word), FILL_COLOR);
        } else if (beginsWith(word, "COLORMODIF(")) {
            setLevel(colorModif, level, colorValue(in, word), FILL_COLOR);
        } else if (beginsWith(word, "DMG(")) {
            setLevel(dmg, level, floatValue(in, word), 0.0f);
        } else if (beginsWith(word, "MPDMG(")) {
            setLevel(mpDmg, level, floatValue(in, word), 0.0f);
        } else if (beginsWith(word, "MP(")) {
            setLevel(mp, level, intValue(in, word), 0);
        } else if (beginsWith(word, "NUMEXPLOSIONS(")) {
            setLevel(numExplosions, level, intValue(in, word), 0);
        } else if (beginsWith(word, "ATTR(")) {
            if (static_cast<int>(attr.size()) < level) attr.resize(level);
            addStatChange(attr[level - 1], in, word, "magicrep");
        } else if (word == "PICTUREBASE") {
            pictureBase = nextValue(in, word);
            pictureCount = intValue(in, word);
        } else if (word == "COLORIZE") {
            colorize = colorValue(in, word);
        } else if (beginsWith(word, "MINRANGE(")) {
            setLevel(minRange, level, intValue(in, word), 1);
        } else if (beginsWith(word, "MAXRANGE(")) {
            setLevel(maxRange, level, intValue(in, word), 1);
        } else if (beginsWith(word, "RADIUS(")) {
            setLevel(radius, level, intValue(in, word), 0);
        } else if (beginsWith(word, "ELEMENT")) {
            element = nextValue(in, word);
        } else {
            badKeyword(word, "magicrep");
        }
        if (in.eof()) return;
        word.clear();
        in >> word;
    }
}

StatChanges Magic::levelAttributes(int level) const { return levelEntry(attr, level, StatChanges{}); }

sf::Color Magic::levelColor(int level) const {
    sf::Color m = colorModifAt(level);
    sf::Color c = colorAt(level);
    int blue = m.b == 0 ? 0 : std::rand() % m.b;
    int green = m.g == 0 ? 0 : std::rand() % m.g;
    int red = m.r == 0 ? 0 : std::rand() % m.r;
    auto add = [](int base, int offset) { return static_cast<sf::Uint8>(std::min(255, base + offset)); };
    return sf::Color(add(c.r, red), add(c.g, green), add(c.b, blue), 255);
}

float Magic::dmgAt(int level) const { return levelEntry(dmg, level, 0.0f); }
float Magic::mpDmgAt(int level) const { return levelEntry(mpDmg, level, 0.0f); }
int Magic::mpAt(int level) const { return levelEntry(mp, level, 0); }
int Magic::numExplosionsAt(int level) const { return levelEntry(numExplosions, level, 0); }
int Magic::minRangeAt(int level) const { return levelEntry(minRange, level, 1); }
int Magic::maxRangeAt(int level) const { return levelEntry(maxRange, level, 1); }
int Magic::radiusAt(int level) const { return levelEntry(radius, level, 0); }
sf::Color Magic::colorAt(int level) const { return levelEntry(color, level, FILL_COLOR); }
sf::Color Magic::colorModifAt(int level) const { return levelEntry(colorModif, level, FILL_COLOR); }

void MagicRepository::load(const std::string& path, sf::RenderWindow* window, float overall) {
    readDataFile(path, window, overall, "Magic", 161, [this](const std::string& name, const std::string& rest) {
        std::istringstream line(rest);
        spells[name].read(line);
    });
}

Magic& MagicRepository::get(const std::string& name) {
    auto it = spells.find(name);
    if (it == spells.end()) fatalAssert("Magic", 153, name);
    return it->second;
}

const Magic& MagicRepository::get(const std::string& name) const {
    auto it = spells.find(name);
    if (it == spells.end()) fatalAssert("Magic", 153, name);
    return it->second;
}

// ---------------------------------------------------------------------------------------------

void Potion::read(std::istream& in) {
    while (true) {
        std::string word;
        in >> word;
        if (in.eof() && word.empty()) return;
        if (word == "TARGET") {
            int t = magicTargetFromName(nextValue(in, word));
            if (t >= 0) target = t;
        } else if (beginsWith(word, "COLOR")) {
            color = colorValue(in, word);
        } else if (beginsWith(word, "DMG")) {
            dmg = floatValue(in, word);
        } else if (beginsWith(word, "MPDMG")) {
            mpDmg = floatValue(in, word);
        } else if (beginsWith(word, "MP")) {
            mp = intValue(in, word);
        } else if (beginsWith(word, "ATTR")) {
            addStatChange(attr, in, word, "potionrep");
        } else {
            badKeyword(word, "potionrep");
        }
        if (in.eof()) return;
    }
}

void PotionRepository::load(const std::string& path, sf::RenderWindow* window, float overall) {
    readDataFile(path, window, overall, "Magic", 1601, [this](const std::string& name, const std::string& rest) {
        std::istringstream line(rest);
        potions[name].read(line);
    });
}

Potion& PotionRepository::get(const std::string& name) {
    auto it = potions.find(name);
    if (it == potions.end()) fatalAssert("Magic", 427, name);
    return it->second;
}

const Potion& PotionRepository::get(const std::string& name) const {
    auto it = potions.find(name);
    if (it == potions.end()) fatalAssert("Magic", 427, name);
    return it->second;
}
