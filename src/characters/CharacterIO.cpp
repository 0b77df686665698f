// The keyword format of a character: character and enemy files, a planet's "Characters.txt" and
// the lines of "people.save" all go through readDefinition; writeSave writes what it reads.
#include "characters/Character.hpp"

#include "battle/Items.hpp"
#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"
#include "game/Globals.hpp"

#include <algorithm>
#include <ostream>

namespace {

const std::vector<std::string> TYPE_NAMES{
    "NORMAL",   "MONSTER", "FAIRY", "GHOST",    "SNAKE_LR", "HOIST",   "FLYROBOT", "CAT",   "DRAGON",
    "BAT",      "SKELETON", "TOWER", "R2ROBOT", "TORNADO",  "SAUCER",  "OCTOPUS",  "IMAGE", "SLIME"};
const std::vector<std::string> BEHAVIOUR_NAMES{"AGRESSIVE", "MODERATE", "DEFENSIVE"};
const std::vector<std::string> TOUGHNESS_NAMES{"NONE", "VERYEASY", "EASY", "MEDDIUM",
                                               "HARD", "BIGBOSS",  "BIGBIGBOSS", "FINALBOSS"};
const std::vector<std::string> MOVESTYLE_NAMES{"NORMAL", "PAWNSOUTH", "KNIGHT",
                                               "BISHOP", "ROOK",      "QUEEN"};
// The stats a line carries, in the order they are written.
const Stat SAVED_STATS[] = {STR, DEX, WIS, SPD, MOB, AMR, HP, MP, MAXHP, MAXMP, XP, SHL};

int indexIn(const std::vector<std::string>& names, const std::string& word) {
    auto it = std::find(names.begin(), names.end(), word);
    return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

const ItemList& catalogue() {
    if (itemList == nullptr) fatalAssert("Character", 32, "no item catalogue");
    return *itemList;
}

int itemByName(const std::string& itemName) {
    int index = catalogue().indexOf(itemName);
    if (index == NO_ITEM) fatalAssert("Character", 38, itemName);
    return index;
}

int slotItem(WordReader& r) {
    std::string word = r.word("missing item");
    return word == "NONE" ? NO_ITEM : itemByName(word);
}

sf::Color readColor(WordReader& r) {
    auto channel = [&r] { return static_cast<sf::Uint8>(std::clamp(r.integer(), 0, 255)); };
    sf::Uint8 red = channel();
    sf::Uint8 green = channel();
    sf::Uint8 blue = channel();
    return sf::Color(red, green, blue);
}

void writeColor(std::ostream& out, const char* key, sf::Color c) {
    out << ' ' << key << ' ' << int(c.r) << ' ' << int(c.g) << ' ' << int(c.b);
}

} // namespace

const std::vector<std::string>& characterTypeNames() { return TYPE_NAMES; }

int characterTypeFromName(const std::string& word) { return indexIn(TYPE_NAMES, word); }

void Character::readDefinition(std::istream& in) {
    WordReader r(in, "Character", 66);
    // Stat words give base values: take the equipment off first and put it back at the end.
    stats = baseStats();
    std::string key;
    while (r.next(key)) {
        ReadingPlace::setCurrentStatement(key);
        Stat s = statFromName(key);
        if (s != STAT_NONE && s != DMG && s != DEF) {
            stats[s] = r.integer("Character", "stat");
        } else if (key == "TYPE") {
            std::string word = r.word("missing type");
            int t = characterTypeFromName(word);
            if (t < 0) t = toInt(word, "Character", 78);
            if (t < 0 || t >= CHARACTER_TYPE_COUNT) fatalAssert("Character", 79, word);
            type = static_cast<CharacterType>(t);
        } else if (key == "CLASS") {
            className = r.word("missing class");
        } else if (key == "PERSONALITY") {
            personality = r.word("missing personality");
        } else if (key == "LEVEL") {
            level = r.integer("Character", "LEVEL");
        } else if (key == "ITEMS") {
            int n = r.integer("Character", "ITEMS");
            inventory.clear();
            for (int i = 0; i < n; ++i) {
                int item = itemByName(r.word("missing item"));
                int& held = inventory[item];
                held = std::min(saturatingAdd(held, r.integer("Character", "item count")), MAX_STAT);
            }
        } else if (key == "WEAPON") {
            weapon = slotItem(r);
        } else if (key == "ACCESSORY1") {
            accessory1 = slotItem(r);
        } else if (key == "ACCESSORY2") {
            accessory2 = slotItem(r);
        } else if (key.rfind("MAGIC", 0) == 0 && (key == "MAGIC" || key[5] == '(')) {
            // MAGIC(l) spell level: known from character level l on (plain MAGIC: level 1).
            int at = inRange("Character", "MAGIC", key == "MAGIC" ? 1 : parseParenInt(key));
            std::string spell = r.word("missing spell");
            spellsByLevel[at][spell] = r.integer("Character", "MAGIC");
        } else if (key == "POTION") {
            potions.insert(r.word("missing potion"));
        } else if (key == "SELPOTION") {
            selectPotion(r.word("missing potion"));
        } else if (key == "OBJINSAC") {
            int n = r.integer("Character", "OBJINSAC");
            objectsInSac.clear();
            for (int i = 0; i < n; ++i) objectsInSac.push_back(r.word("missing object"));
        } else if (key == "PHOTO") {
            photo = r.word("missing photo");
            hasPhoto = true;
        } else if (key == "NOATTACK") {
            mayAttack = false;
        } else if (key == "FLYING") {
            flying = true;
        } else if (key == "FLYINGNOWINGS") {
            flying = true;
            flyingNoWings = true;
        } else if (key == "NOTRANSP") {
            noTransp = true;
        } else if (key == "BEH") {
            std::string word = r.word("missing behaviour");
            int b = indexIn(BEHAVIOUR_NAMES, word);
            if (b < 0) fatalAssert("Character", 129, word);
            behaviour = static_cast<Behaviour>(b);
        } else if (key == "TOG") {
            std::string word = r.word("missing toughness");
            int t = indexIn(TOUGHNESS_NAMES, word);
            if (t < 0) fatalAssert("Character", 134, word);
            toughness = static_cast<Toughness>(t);
        } else if (key == "MOVESTYLE") {
            std::string word = r.word("missing move style");
            int m = indexIn(MOVESTYLE_NAMES, word);
            if (m < 0) fatalAssert("Character", 139, word);
            moveStyle = static_cast<MoveStyle>(m);
        } else if (key == "EYECOLOR") {
            eyeColor = readColor(r);
        } else if (key == "COLOR") {
            color = readColor(r);
        } else if (key == "SKIN") {
            skin = readColor(r);
        } else if (key == "HAIR") {
            hair = readColor(r);
        } else if (key == "OBJECTTOTHROW") {
            objectToThrow = r.word("missing object");
        } else if (key == "BODY") {
            body = r.word("missing body");
        } else if (key == "HAT") {
            std::string word = r.word("missing hat");
            hat = word == "NONE" ? "" : word;
        } else if (key == "MOUTH") {
            mouth = r.integer("Character", "MOUTH");
        } else if (key == "SIZE") {
            size = r.real("Character", "SIZE");
            if (!(size > 0.0f)) fatalAssert("Character", 160, size);
        } else if (key == "POS") {
            setTilePosition(r.tile());
            previousTile = tile;
            walking = false;
        } else if (key == "FACING") {
            int d = r.integer();
            if (d < WEST || d > SOUTH) fatalAssert("Character", 167, d);
            setFacing(d);
        } else if (key == "FIXEDPOS") {
            fixedPosition = r.tile();
        } else if (key == "SAVED") {
            savedGameInitialised = true;
        } else {
            fatalAssert("Character", 174, key);
        }
    }
    setFromBaseStats(stats);
}

void Character::writeSave(std::ostream& out) const {
    out << "Character " << name << " TYPE " << TYPE_NAMES[static_cast<int>(type)];
    if (!className.empty()) out << " CLASS " << className;
    if (!personality.empty()) out << " PERSONALITY " << personality;
    out << " LEVEL " << level;
    std::array<int, STAT_COUNT> base = baseStats();
    for (Stat s : SAVED_STATS) out << ' ' << statName(s) << ' ' << base[s];

    // Always written, even empty: the line is read over the character's definition, whose
    // starting items must not come back.
    std::vector<std::pair<int, int>> held;
    for (auto& [item, count] : inventory)
        if (count != 0) held.emplace_back(item, count);
    out << " ITEMS " << held.size();
    for (auto& [item, count] : held) out << ' ' << catalogue().at(item).name << ' ' << count;
    auto slotName = [](int item) { return item == NO_ITEM ? std::string("NONE") : catalogue().at(item).name; };
    out << " WEAPON " << slotName(weapon) << " ACCESSORY1 " << slotName(accessory1)
        << " ACCESSORY2 " << slotName(accessory2);
    for (auto& [at, spells] : spellsByLevel)
        for (auto& [spell, spellLevel] : spells) out << " MAGIC(" << at << ") " << spell << ' ' << spellLevel;
    for (const std::string& potion : potions) out << " POTION " << potion;
    if (!selectedPotion.empty()) out << " SELPOTION " << selectedPotion;
    out << " OBJINSAC " << objectsInSac.size();
    for (const std::string& word : objectsInSac) out << ' ' << word;
    if (hasPhoto) out << " PHOTO " << photo;
    if (!mayAttack) out << " NOATTACK";
    if (flyingNoWings) out << " FLYINGNOWINGS";
    else if (flying) out << " FLYING";
    if (noTransp) out << " NOTRANSP";
    out << " BEH " << BEHAVIOUR_NAMES[static_cast<int>(behaviour)];
    out << " TOG " << TOUGHNESS_NAMES[static_cast<int>(toughness)];
    out << " MOVESTYLE " << MOVESTYLE_NAMES[static_cast<int>(moveStyle)];
    writeColor(out, "EYECOLOR", eyeColor);
    writeColor(out, "COLOR", color);
    writeColor(out, "SKIN", skin);
    writeColor(out, "HAIR", hair);
    if (!objectToThrow.empty()) out << " OBJECTTOTHROW " << objectToThrow;
    if (!body.empty()) out << " BODY " << body;
    out << " HAT " << (hat.empty() ? std::string("NONE") : hat);
    out << " MOUTH " << mouth << " SIZE " << size;
    out << " POS " << tile.x << ' ' << tile.y << " FACING " << facing;
    out << " FIXEDPOS " << fixedPosition.x << ' ' << fixedPosition.y;
    out << " SAVED";
}
