// The item record and the item catalogue. Items are referred to everywhere by their index in the
// catalogue; NO_ITEM (0x7fffffff) means none.
#pragma once

#include "foundation/main.hpp"

#include <array>
#include <istream>
#include <set>
#include <string>
#include <vector>

namespace sf {
class RenderWindow;
}

class ItemList;

struct Item {
    enum Type : int { WEAPON = 0, ACCESSORY = 1, USABLE = 2, SPECIAL = 3 };
    enum Size : int { SMALL = 0, MID = 1, LARGE = 2 };

    int type = WEAPON;
    std::string name;
    // Indexed by Stat. The XP entry is a factor on experience gained, hence 1.
    std::array<float, STAT_COUNT> bonuses = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1.0f, 0};
    // Empty: every class may use the item.
    std::set<std::string> allowedClasses;
    int size = SMALL;
    std::string classWord;
    int range = 1;
    bool unique = false;

    // Fills the item from the rest of an "ITEM" line (name, type word, keywords). A missing name,
    // and a value that is missing or not a number, are fatal, naming the word and, when given, the
    // file it came from.
    void read(std::istream& in, const std::string& file = "");

    std::string getName() const { return name; }
    float bonus(Stat stat) const { return bonuses[stat]; }
    bool isAllowed(const std::string& className) const;
    std::string hitSound() const;
    // "DMG:5 STR+2", " ALL +1" or "" (menus and the character view).
    std::string describeBonuses() const;
    // 0 for NO_ITEM; otherwise the sum of the bonuses, each truncated toward zero.
    static int score(const ItemList& catalogue, int index);
};

class ItemList {
public:
    std::vector<Item> items;

    // Appends the items of an items file. window may be null (no loading screen).
    void load(const std::string& path, sf::RenderWindow* window, float overall);

    // NO_ITEM when no item has that name.
    int indexOf(const std::string& name) const;
    // An index outside the catalogue is fatal.
    const Item& at(long long index) const;
    Item& at(long long index);

    int size() const { return static_cast<int>(items.size()); }
    bool empty() const { return items.empty(); }
    std::vector<Item>::const_iterator begin() const { return items.begin(); }
    std::vector<Item>::const_iterator end() const { return items.end(); }
};
