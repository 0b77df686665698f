#include "battle/Items.hpp"

#include "battle/DataFile.hpp"
#include "foundation/NumberRanges.hpp"

#include <cmath>
#include <sstream>

namespace {

// A file being read names itself and the line in the assertion; an item read alone names the file.
std::string located(const std::string& word, const std::string& file) {
    return file.empty() || ReadingPlace::current() ? word : word + " (" + file + ")";
}

// The value after a keyword: a missing one names the keyword, a bad one names itself.
std::string valueWord(std::istream& in, const std::string& keyword, const std::string& file) {
    std::string w;
    if (!(in >> w)) fatalAssert("Items", 20, located(keyword, file));
    return w;
}

// Whole word only: "5abc" must not read as 5 and leave "abc" behind.
template <class T>
T numberWord(std::istream& in, const std::string& keyword, const std::string& file) {
    std::string w = valueWord(in, keyword, file);
    T value{};
    std::istringstream number(w);
    if (!(number >> value) || !(number >> std::ws).eof()) fatalAssert("Items", 30, located(w, file));
    return value;
}

} // namespace

void Item::read(std::istream& in, const std::string& file) {
    // A nameless item could never be named by a character, a shop or a picture.
    if (!(in >> name)) fatalAssert("Items", 38, located("ITEM", file));
    std::string typeWord;
    in >> typeWord;
    if (typeWord == "WEAPON") type = WEAPON;
    else if (typeWord == "ACCESSORY") type = ACCESSORY;
    else if (typeWord == "USABLE") type = USABLE;
    else if (typeWord == "SPECIAL") type = SPECIAL;
    else type = WEAPON;

    while (true) {
        std::string word;
        in >> word;
        if (in.eof() && word.empty()) break;
        Stat stat = statFromName(word);
        if (stat != STAT_NONE) {
            ReadingPlace::setCurrentStatement(word);
            bonuses[stat] = inRange("Item", "bonus", numberWord<float>(in, word, file));
        } else if (word == "ALLOWED") {
            allowedClasses.insert(valueWord(in, word, file));
        } else if (word == "CLS") {
            classWord = valueWord(in, word, file);
        } else if (word == "RANGE") {
            ReadingPlace::setCurrentStatement(word);
            range = inRange("Item", "RANGE", numberWord<int>(in, word, file));
        } else if (word == "SIZE") {
            std::string sizeWord = valueWord(in, word, file);
            std::string lower = toLower(sizeWord);
            if (lower == "small") size = SMALL;
            else if (lower == "mid") size = MID;
            else if (lower == "large") size = LARGE;
            else fatalAssert("Items", 45, sizeWord);
        } else if (word == "UNIQUE") {
            unique = true;
        } else {
            fatalAssert("Items", 51, word);
        }
        if (in.eof()) break;
    }
}

bool Item::isAllowed(const std::string& className) const {
    return allowedClasses.empty() || allowedClasses.count(className) > 0;
}

std::string Item::hitSound() const {
    if (classWord == "Wand") return "WandSlash";
    if (classWord == "Blaster") return "laser";
    if (classWord == "wood") return "ObjectHit";
    return "MetalSlash";
}

std::string Item::describeBonuses() const {
    std::string text;
    bool all = true;
    int last = 0;
    for (int s = 0; s < STAT_COUNT; ++s) {
        float b = bonuses[s];
        if (!(b > 0)) {
            if (s != DMG && s != DEF && s != MOB && s != HP && s != MP && s != XP) all = false;
            continue;
        }
        if (s == XP && b == 1.0f) continue;
        std::ostringstream entry;
        if (!text.empty()) entry << ' ';
        entry << statName(static_cast<Stat>(s)) << (s == DMG || s == DEF ? ":" : "+") << b;
        text += entry.str();
        last = saturatingInt(std::trunc(b));
    }
    if (all) text = " ALL " + std::string(last >= 1 ? "+" : "") + std::to_string(last);
    return text;
}

int Item::score(const ItemList& catalogue, int index) {
    if (index == NO_ITEM) return 0;
    int sum = 0;
    for (float b : catalogue.at(index).bonuses) sum = saturatingAdd(sum, saturatingInt(std::trunc(b)));
    return sum;
}

void ItemList::load(const std::string& path, sf::RenderWindow* window, float overall) {
    readDataFile(path, window, overall, "Items", 73, [this, &path](const std::string& word, const std::string& rest) {
        if (word != "ITEM") fatalAssert("Items", 104, word);
        Item item;
        std::istringstream line(rest);
        item.read(line, path);
        if (indexOf(item.name) != NO_ITEM) fatalAssert("Items", 111, item.name);
        items.push_back(std::move(item));
    });
}

int ItemList::indexOf(const std::string& name) const {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].name == name) return static_cast<int>(i);
    return NO_ITEM;
}

const Item& ItemList::at(long long index) const {
    if (index < 0 || index >= static_cast<long long>(items.size())) fatalAssert("Items", 179, index);
    return items[static_cast<size_t>(index)];
}

Item& ItemList::at(long long index) {
    if (index < 0 || index >= static_cast<long long>(items.size())) fatalAssert("Items", 179, index);
    return items[static_cast<size_t>(index)];
}
