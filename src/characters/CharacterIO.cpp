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

namespace {

// Each reader below takes the words of its own keys and returns false for any other key.

// Who the character is: its kind, class, personality and level.
bool readIdentity(Character& c, const std::string& key, WordReader& r) {
    if (key == "TYPE") {
        std::string word = r.word("missing type");
        int t = characterTypeFromName(word);
        if (t < 0) t = toInt(word, "Character", 78);
        if (t < 0 || t >= CHARACTER_TYPE_COUNT) fatalAssert("Character", 79, word);
        c.type = static_cast<CharacterType>(t);
    } else if (key == "CLASS") {
        c.className = r.word("missing class");
    } else if (key == "PERSONALITY") {
        c.personality = r.word("missing personality");
    } else if (key == "LEVEL") {
        c.level = r.integer("Character", "LEVEL");
    } else {
        return false;
    }
    return true;
}

// What the character carries and knows: items, equipment, spells, potions and the sack.
bool readBelongings(Character& c, const std::string& key, WordReader& r) {
    if (key == "ITEMS") {
        int n = r.integer("Character", "ITEMS");
        c.inventory.clear();
        for (int i = 0; i < n; ++i) {
            int item = itemByName(r.word("missing item"));
            int& held = c.inventory[item];
            held = std::min(saturatingAdd(held, r.integer("Character", "item count")), MAX_STAT);
        }
    } else if (key == "WEAPON") {
        c.weapon = slotItem(r);
    } else if (key == "ACCESSORY1") {
        c.accessory1 = slotItem(r);
    } else if (key == "ACCESSORY2") {
        c.accessory2 = slotItem(r);
    } else if (key.rfind("MAGIC", 0) == 0 && (key == "MAGIC" || key[5] == '(')) {
        // MAGIC(l) spell level: known from character level l on (plain MAGIC: level 1).
        int at = inRange("Character", "MAGIC", key == "MAGIC" ? 1 : parseParenInt(key));
        std::string spell = r.word("missing spell");
        c.spellsByLevel[at][spell] = r.integer("Character", "MAGIC");
    } else if (key == "POTION") {
        c.potions.insert(r.word("missing potion"));
    } else if (key == "SELPOTION") {
        c.selectPotion(r.word("missing potion"));
    } else if (key == "OBJINSAC") {
        int n = r.integer("Character", "OBJINSAC");
        c.objectsInSac.clear();
        for (int i = 0; i < n; ++i) c.objectsInSac.push_back(r.word("missing object"));
    } else {
        return false;
    }
    return true;
}

// The next word's place in the list; a word not in it is fatal with that source and line.
int wordIndex(WordReader& r, const std::vector<std::string>& names, const std::string& missing,
              const char* source, int line) {
    const std::string word = r.word(missing);
    const int i = indexIn(names, word);
    if (i < 0) fatalAssert(source, line, word);
    return i;
}

// How the character fights and moves in a battle.
bool readBattleHabits(Character& c, const std::string& key, WordReader& r) {
    if (key == "NOATTACK") {
        c.mayAttack = false;
    } else if (key == "FLYING") {
        c.flying = true;
    } else if (key == "FLYINGNOWINGS") {
        c.flying = true;
        c.flyingNoWings = true;
    } else if (key == "NOTRANSP") {
        c.noTransp = true;
    } else if (key == "BEH") {
        c.behaviour = static_cast<Behaviour>(
            wordIndex(r, BEHAVIOUR_NAMES, "missing behaviour", "Character", 129));
    } else if (key == "TOG") {
        c.toughness = static_cast<Toughness>(
            wordIndex(r, TOUGHNESS_NAMES, "missing toughness", "Character", 134));
    } else if (key == "MOVESTYLE") {
        c.moveStyle = static_cast<MoveStyle>(
            wordIndex(r, MOVESTYLE_NAMES, "missing move style", "Character", 139));
    } else if (key == "OBJECTTOTHROW") {
        c.objectToThrow = r.word("missing object");
    } else {
        return false;
    }
    return true;
}

// The colour keys and the colour each sets.
const std::pair<const char*, sf::Color Character::*> COLOUR_KEYS[] = {
    {"EYECOLOR", &Character::eyeColor}, {"COLOR", &Character::color},
    {"SKIN", &Character::skin},         {"HAIR", &Character::hair}};

// How the character looks: photo, colours, body, hat, mouth and size.
bool readLooks(Character& c, const std::string& key, WordReader& r) {
    for (const auto& [word, colour] : COLOUR_KEYS) {
        if (key != word) continue;
        c.*colour = readColor(r);
        return true;
    }
    if (key == "PHOTO") {
        c.photo = r.word("missing photo");
        c.hasPhoto = true;
    } else if (key == "BODY") {
        c.body = r.word("missing body");
    } else if (key == "HAT") {
        std::string word = r.word("missing hat");
        c.hat = word == "NONE" ? "" : word;
    } else if (key == "MOUTH") {
        c.mouth = r.integer("Character", "MOUTH");
    } else if (key == "SIZE") {
        c.size = r.real("Character", "SIZE");
        if (!(c.size > 0.0f)) fatalAssert("Character", 160, c.size);
    } else {
        return false;
    }
    return true;
}

// Where the character stands and faces, and whether a save has set it up.
bool readPlace(Character& c, const std::string& key, WordReader& r) {
    if (key == "POS") {
        c.setTilePosition(r.tile());
        c.previousTile = c.tile;
        c.walking = false;
    } else if (key == "FACING") {
        int d = r.integer();
        if (d < WEST || d > SOUTH) fatalAssert("Character", 167, d);
        c.setFacing(d);
    } else if (key == "FIXEDPOS") {
        c.fixedPosition = r.tile();
    } else if (key == "SAVED") {
        c.savedGameInitialised = true;
    } else {
        return false;
    }
    return true;
}

} // namespace

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
        } else if (!readIdentity(*this, key, r) && !readBelongings(*this, key, r) &&
                   !readBattleHabits(*this, key, r) && !readLooks(*this, key, r) &&
                   !readPlace(*this, key, r)) {
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
    if (savedGameInitialised) out << " SAVED";
}
