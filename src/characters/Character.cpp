// The rules of the character record: walking, stats, experience, levels, attacks and items.
#include "characters/Character.hpp"

#include "foundation/NumberRanges.hpp"

#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <algorithm>
#include <cmath>

namespace {

const int WALK_STEP = 20;     // pixels per frame
const int LEVEL_UP_XP = 101;  // experience that completes a level
const int FRAME_COUNT = 8;    // animation frames of every figure
const int TICKS_PER_FRAME = 3;

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// Bonuses that are not stored stats: the weapon's DMG is a factor on the attack, DEF is derived
// and XP is a factor on experience gained.
bool storedBonus(int s) { return s != DMG && s != DEF && s != XP; }

const ItemList& catalogue() {
    if (itemList == nullptr) fatalAssert("Character", 31, "no item catalogue");
    return *itemList;
}

int difficultyNow() { return game != nullptr ? game->difficulty : 2; }

} // namespace

// ---------------------------------------------------------------------------------------------
// Place and walking

void Character::setTilePosition(Point t) {
    tile = t;
    targetTile = t;
    pixel = tileToPixel(t);
}

void Character::setFacing(Direction d) {
    previousFacing = facing;
    facing = d;
    if (d == SOUTH) showBack = false;
    if (d == NORTH) showBack = true;
}

void Character::startMoveTo(Point t) {
    targetTile = t;
    walking = true;
    if (t != tile) setFacing(directionTo(tile, t));
}

bool Character::move(const WalkInput* input, Point gridSize, const std::set<Point>& blocked,
                     const std::set<Point>& extraBlocked, unsigned flags) {
    Point goal = tileToPixel(targetTile);
    if (pixel == goal && targetTile != tile) {
        // A target set while standing exactly on the old tile's pixel position: start now.
        walking = true;
    }
    if (!walking || pixel == goal) {
        if (walking && pixel == goal) {
            previousTile = tile;
            tile = targetTile;
            walking = false;
        }
        if (input == nullptr) return false;
        Direction d = NO_DIRECTION;
        if (input->left) d = WEST;
        else if (input->right) d = EAST;
        else if (input->up) d = NORTH;
        else if (input->down) d = SOUTH;
        if (d == NO_DIRECTION) return false;
        setFacing(d);
        Point next = tile;
        movePoint(next, d, 1);
        bool inside = next.x >= 0 && next.y >= 0 && next.x < gridSize.x && next.y < gridSize.y;
        bool free = (flags & MOVE_IGNORE_BLOCKED) != 0 ||
                    (blocked.count(next) == 0 && extraBlocked.count(next) == 0);
        if (!inside || !free) {
            targetTile = tile;
            return false;
        }
        targetTile = next;
        walking = true;
        goal = tileToPixel(targetTile);
    }
    approach(pixel, goal, WALK_STEP);
    if (pixel == goal) {
        previousTile = tile;
        tile = targetTile;
        walking = false;
    }
    return walking;
}

void Character::update() {
    if (++frameTick >= TICKS_PER_FRAME) {
        frameTick = 0;
        frame = (frame + 1) % FRAME_COUNT;
    }
}

// ---------------------------------------------------------------------------------------------
// Stats

int Character::getStat(Stat s) const {
    if (s == DMG) return 0;
    if (s == DEF) return std::max(1, stats[DEX]) + std::max(1, stats[SPD]);
    if (s < 0 || s >= STAT_COUNT) fatalAssert("Character", 117, static_cast<int>(s));
    return stats[s];
}

void Character::addStat(Stat s, int amount) {
    if (s < 0 || s >= STAT_COUNT) fatalAssert("Character", 122, static_cast<int>(s));
    stats[s] += amount;
    if (s == HP || s == MAXHP) stats[HP] = std::clamp(stats[HP], 0, std::max(0, stats[MAXHP]));
    if (s == MP || s == MAXMP) stats[MP] = std::clamp(stats[MP], 0, std::max(0, stats[MAXMP]));
}

int Character::getStatByName(const std::string& statWord) const {
    static const std::set<std::string> named{"STR", "DEX", "SPD", "WIS", "AMR", "SHL",
                                             "MOB", "HP",  "MP",  "MAXHP", "MAXMP"};
    if (named.count(statWord) == 0) return -1;
    return stats[statFromName(statWord)];
}

void Character::spendMP(int amount) { stats[MP] = std::max(0, stats[MP] - amount); }

std::vector<std::string> Character::gainExperience(int amount) {
    std::vector<std::string> lines;
    stats[XP] += amount;
    if (stats[XP] >= LEVEL_UP_XP) {
        stats[XP] = 0;
        ++level;
        levelUp();
        lines.push_back(name + " reached level " + std::to_string(level) + "!");
        auto primary = CLASS_PRIMARY_STAT.find(className);
        auto secondary = CLASS_SECONDARY_STAT.find(className);
        lines.push_back(primary->second + " +2, " + secondary->second + " +1");
    }
    return lines;
}

void Character::levelUp() {
    auto primary = CLASS_PRIMARY_STAT.find(className);
    auto secondary = CLASS_SECONDARY_STAT.find(className);
    if (primary == CLASS_PRIMARY_STAT.end() || secondary == CLASS_SECONDARY_STAT.end())
        fatalAssert("Character", 156, className);
    auto grow = [this](const std::string& statWord, int amount) {
        Stat s = statFromName(statWord);
        if (s == HP) s = MAXHP;
        if (s == MP) s = MAXMP;
        if (s == STAT_NONE) fatalAssert("Character", 161, statWord);
        stats[s] += amount;
    };
    grow(primary->second, 2);
    grow(secondary->second, 1);
    stats[HP] = stats[MAXHP];
    stats[MP] = stats[MAXMP];
}

bool Character::knowsSpells() const {
    for (auto& [lvl, spells] : spellsByLevel)
        if (!spells.empty()) return true;
    return false;
}

void Character::setLevel(int points, bool /*flag*/) {
    // The roll sets the stats afresh, while worn items stay worn and taking one off (as the final
    // opponent's preparation does after levelling him) subtracts its bonuses. Both hold only if
    // the roll gives the base stats and the worn items' bonuses go back on top: a levelled
    // character then has its items' worth, and taking one off removes only what it gave.
    std::array<int, STAT_COUNT> base = baseStats();
    bool spells = knowsSpells();
    base[STR] = base[DEX] = base[SPD] = base[WIS] = 0;
    base[MAXHP] = 1;
    base[MAXMP] = spells ? 1 : 0;
    int difficulty = difficultyNow();
    double difficultyFactor = difficulty == 0 ? 0.5 : difficulty == 1 ? 0.94 : 1.0;
    double toughnessFactor = 1.0;
    switch (toughness) {
    case Toughness::VERYEASY: toughnessFactor = 0.5; break;
    case Toughness::EASY: toughnessFactor = 0.9; break;
    case Toughness::MEDDIUM: toughnessFactor = 1.0; break;
    case Toughness::HARD: toughnessFactor = 1.1; break;
    case Toughness::BIGBOSS: toughnessFactor = 2.0; break;
    case Toughness::BIGBIGBOSS: toughnessFactor = 2.5; break;
    case Toughness::FINALBOSS: toughnessFactor = 4.0; break;
    case Toughness::NONE: break;
    }
    int n = static_cast<int>(difficultyFactor * toughnessFactor * points);
    static const Stat order[6] = {STR, DEX, SPD, WIS, MAXHP, MAXMP};
    for (int i = 0; i < n; ++i) base[order[rand() % (spells ? 6 : 5)]] += 1;
    setFromBaseStats(base);
    stats[HP] = stats[MAXHP];
    stats[MP] = stats[MAXMP];
}

// ---------------------------------------------------------------------------------------------
// Battle rules

float Character::weaponFactor() const {
    if (className == "Squirel") return 3.0f;
    float factor = 1.0f;
    // An alchemist with no potion chosen throws with the plain factor.
    if (className == "Alchemist" && !selectedPotion.empty() && potionRepository != nullptr)
        factor = potionRepository->get(selectedPotion).dmg;
    if (weapon != NO_ITEM) factor *= catalogue().at(weapon).bonuses[DMG];
    return factor;
}

int Character::getAttack() const {
    int s = std::max(1, stats[DEX]) + 2 * std::max(1, stats[STR]);
    if (className == "Alchemist")
        s = std::max(1, stats[WIS]) + std::max(1, stats[DEX]) + std::max(1, stats[STR]);
    return static_cast<int>(weaponFactor() * static_cast<float>(2 * s / 3));
}

int Character::getAttackRange() const {
    if (startsWith(name, "Sentry")) return 3;
    if (weapon == NO_ITEM)
        return className == "FoodWarrior" || className == "Alchemist" || name == "OctopusHead" ? 2 : 1;
    return catalogue().at(weapon).range;
}

bool Character::canGainLevels() const {
    return hasLevel() && CLASS_PRIMARY_STAT.count(className) && CLASS_SECONDARY_STAT.count(className);
}

std::vector<std::string> Character::raiseToLevel(int target) {
    std::vector<std::string> lines;
    if (!canGainLevels()) return lines;
    // Two gains of 100 make a level; the budget ends the loop whatever the tables say.
    long long budget = 2LL * std::max(0, target - level) + 2;
    while (level < target && budget-- > 0)
        for (auto& line : gainExperience(100)) lines.push_back(std::move(line));
    return lines;
}

bool Character::hasLevel() const {
    if (className == "Monster" || className == "MutantAlien" || className == "Robot" ||
        className == "Tower")
        return false;
    return type != CharacterType::HOIST;
}

bool Character::isRobot() const {
    return type == CharacterType::FLYROBOT || type == CharacterType::R2ROBOT ||
           startsWith(name, "Mainf") || startsWith(name, "Serve") || startsWith(name, "Central");
}

bool Character::isThrower() const {
    return className == "Alchemist" || className == "GoofWarrior" || className == "FoodWarrior" ||
           name == "OctopusHead";
}

std::vector<std::pair<std::string, int>> Character::availableMagic() const {
    std::vector<std::pair<std::string, int>> out;
    for (auto& [lvl, spells] : spellsByLevel) {
        if (lvl > level) break;
        for (auto& [spell, spellLevel] : spells) out.emplace_back(spell, spellLevel);
    }
    return out;
}

void Character::selectPotion(const std::string& potionName) {
    selectedPotion = potionName;
    if (potionRepository != nullptr && potionRepository->contains(potionName))
        potionColor = potionRepository->get(potionName).color;
}

void Character::monsterAction(Character& caster, const std::string& spell, int spellLevel,
                              Character& target, bool first) {
    if (magicRepository == nullptr) fatalAssert("Character", 276, spell);
    const Magic& magic = magicRepository->get(spell);
    float d = magic.dmgAt(spellLevel);
    float m = magic.mpDmgAt(spellLevel);
    int cost = magic.mpAt(spellLevel);
    int base = caster.stats[WIS];
    if (caster.name == "Dragon") base = (caster.stats[STR] + caster.stats[WIS]) / 2;
    int shl = target.stats[SHL];
    int hp = static_cast<int>(static_cast<float>(base) * d) - shl;
    int mp = static_cast<int>(static_cast<float>(caster.stats[WIS] / 2) * m - static_cast<float>(shl));
    // A spell without an HP (MP) factor leaves that stat alone: the shield term alone would
    // otherwise heal the target or give it MP back.
    int hpChange = d > 0 ? std::max(hp, 0) : (d < 0 && hp < 1 ? hp : 0);
    int mpChange = m > 0 ? std::max(mp, 0) : (m < 0 && mp < 1 ? mp : 0);
    if (hpChange == 0 && mpChange == 0) hpChange = d < 0 ? -1 : 1;
    if (spell == "Poloian" || spell == "HackControl") hpChange = 0;
    if (spell == "HackDrain")
        caster.stats[MP] = std::min(caster.stats[MP] + mpChange, caster.stats[MAXMP]);
    if (hpChange > 0) hpChange = std::max(0, hpChange - target.stats[AMR]);
    target.stats[HP] = std::clamp(target.stats[HP] - hpChange, 0, std::max(0, target.stats[MAXHP]));
    target.stats[MP] = std::clamp(target.stats[MP] - mpChange, 0, std::max(0, target.stats[MAXMP]));
    if (first && spell != "HackDrain")
        caster.stats[MP] = std::max(0, caster.stats[MP] - std::max(cost - caster.stats[WIS] / 20, 0));
}

// ---------------------------------------------------------------------------------------------
// Items

namespace {
void addBonuses(std::array<int, STAT_COUNT>& stats, int item, int sign) {
    if (item == NO_ITEM) return;
    const Item& it = catalogue().at(item);
    for (int s = 0; s < STAT_COUNT; ++s)
        if (storedBonus(s))
            stats[s] = saturatingAdd(stats[s], saturatingInt(static_cast<float>(sign) * it.bonuses[s]));
}

void keepWithinMaxima(std::array<int, STAT_COUNT>& stats) {
    stats[HP] = std::min(stats[HP], stats[MAXHP]);
    stats[MP] = std::min(stats[MP], stats[MAXMP]);
}
} // namespace

void Character::applyItemStats(int item, int sign) {
    addBonuses(stats, item, sign);
    keepWithinMaxima(stats);
}

int& Character::slot(int which) {
    if (which == 0) return weapon;
    if (which == 1) return accessory1;
    if (which == 2) return accessory2;
    fatalAssert("Character", 328, which);
}

int Character::slot(int which) const { return const_cast<Character*>(this)->slot(which); }

void Character::equipAccessory(int which, int item, bool moveStock) {
    int& s = slot(which);
    if (s != NO_ITEM) {
        applyItemStats(s, -1);
        if (moveStock) addItemCount(s, 1);
    }
    s = item;
    if (item != NO_ITEM) {
        applyItemStats(item, 1);
        if (moveStock) addItemCount(item, -1);
    }
}

void Character::equipWeapon(int item, bool moveStock) {
    equipAccessory(0, item, moveStock);
    if (weapon != NO_ITEM && (className == "FoodWarrior" || className == "GoofWarrior"))
        objectToThrow = catalogue().at(weapon).name;
}

std::vector<int> Character::equippedItems() const {
    std::vector<int> out;
    for (int item : {weapon, accessory1, accessory2})
        if (item != NO_ITEM) out.push_back(item);
    return out;
}

void Character::addItemCount(int item, int n) { inventory[item] += n; }

std::array<int, STAT_COUNT> Character::baseStats() const {
    std::array<int, STAT_COUNT> out = stats;
    for (int item : equippedItems()) addBonuses(out, item, -1);
    return out;
}

void Character::setFromBaseStats(const std::array<int, STAT_COUNT>& base) {
    stats = base;
    for (int item : equippedItems()) addBonuses(stats, item, 1);
    keepWithinMaxima(stats);
}

bool Character::useScript(int item, std::string* message) {
    const Item& it = catalogue().at(item);
    static const std::vector<std::pair<std::string, std::string>> scripts{
        {"GreatGigScript", "GreatGig"}, {"YeojScript", "Yeoj"}, {"ZenguenedScript", "Zenguened"}};
    std::string learned;
    size_t p = it.name.find("PotionScript");
    if (p != std::string::npos) {
        // "PotionScript<potion>" teaches the potion named after the word.
        std::string potion = it.name.substr(p + 12);
        if (!potion.empty()) {
            potions.insert(potion);
            if (selectedPotion.empty()) selectPotion(potion);
            learned = name + " learned the potion " + potion + ".";
        }
    } else {
        for (auto& [word, spell] : scripts) {
            if (it.name.find(word) == std::string::npos) continue;
            // Known already: the next spell level, up to the spell's last.
            int spellLevel = 1;
            for (auto& [lvl, spells] : spellsByLevel) {
                auto found = spells.find(spell);
                if (found != spells.end()) spellLevel = std::max(spellLevel, found->second + 1);
            }
            if (magicRepository != nullptr && magicRepository->contains(spell))
                spellLevel = std::min(spellLevel, std::max(1, magicRepository->get(spell).levels));
            spellsByLevel[level][spell] = spellLevel;
            learned = name + " learned the spell " + spell + " level " +
                      std::to_string(spellLevel) + ".";
            break;
        }
    }
    if (!learned.empty() && message != nullptr) *message = learned;
    applyItemStats(item, 1);
    addItemCount(item, -1);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Texts

std::string Character::titleText() const {
    std::string out = className + " " + name;
    if (hasLevel()) out += " L" + std::to_string(level);
    return out;
}

std::string Character::hpText() const {
    return std::to_string(stats[HP]) + " / " + std::to_string(stats[MAXHP]);
}

std::string Character::mpText() const {
    return std::to_string(stats[MP]) + " / " + std::to_string(stats[MAXMP]);
}
