// The roster: lookups, the party and reserve sets, item sharing and the character file loader.
#include "characters/People.hpp"

#include "battle/Items.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/LoadingScreen.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

People* createPeople() {
    if (people == nullptr) people = new People();
    return people;
}

Character& People::at(long long index) {
    if (index < 0 || index >= static_cast<long long>(characters.size()))
        fatalAssert("People", 23, index);
    return characters[static_cast<size_t>(index)];
}

const Character& People::at(long long index) const {
    return const_cast<People*>(this)->at(index);
}

Character& People::mainCharacter() { return at(mainCharacterIndex); }

int People::indexOf(const std::string& name) const {
    for (size_t i = 0; i < characters.size(); ++i)
        if (characters[i].name == name) return static_cast<int>(i);
    return NO_INDEX;
}

bool People::isMember(int index) const { return party.count(index) > 0 || reserve.count(index) > 0; }

void People::insertPartyIndex(int index) { party.insert(index); }

void People::erasePartyIndex(int index) {
    if (party.erase(index) == 0) fatalAssert("People", 52, index);
}

void People::setMainCharacter(const std::string& name) { mainCharacterIndex = indexOf(name); }

void People::ensureLivingMain() {
    bool valid = mainCharacterIndex >= 0 && mainCharacterIndex < size();
    if (valid && party.count(mainCharacterIndex) > 0 && characters[mainCharacterIndex].stats[HP] > 0)
        return;
    for (int index : party) {
        if (index >= 0 && index < size() && characters[index].stats[HP] > 0) {
            mainCharacterIndex = index;
            return;
        }
    }
}

int People::partyAveragePower() const {
    if (party.empty()) return 0;
    long long sum = 0;
    for (int index : party) {
        const Character& c = at(index);
        sum += c.stats[MAXHP] + c.stats[MAXMP] + c.stats[STR] + c.stats[DEX] + c.stats[SPD] +
               c.stats[WIS];
    }
    return static_cast<int>(sum / static_cast<long long>(party.size()));
}

int People::partyMedianLevel() const {
    std::vector<int> levels;
    for (int index : party) levels.push_back(at(index).level);
    if (levels.empty()) return 0;
    return medianOf(levels);
}

bool People::partyHasItem(int item) const {
    for (int index : party) {
        const Character& c = at(index);
        auto found = c.inventory.find(item);
        if (found != c.inventory.end() && found->second > 0) return true;
    }
    return false;
}

bool People::partyHasItemNamed(const std::string& itemName) const {
    if (itemList == nullptr) return false;
    int item = itemList->indexOf(itemName);
    return item != NO_ITEM && partyHasItem(item);
}

void People::syncNumberedSiblings(int index) {
    const Character& source = at(index);
    const std::string& name = source.name;
    size_t stemEnd = name.size();
    while (stemEnd > 0 && std::isdigit(static_cast<unsigned char>(name[stemEnd - 1]))) --stemEnd;
    if (stemEnd == name.size() || stemEnd == 0) return;
    std::string stem = name.substr(0, stemEnd);
    for (size_t i = 0; i < characters.size(); ++i) {
        Character& other = characters[i];
        if (static_cast<int>(i) == index || other.savedGameInitialised) continue;
        if (other.name.size() <= stem.size() || other.name.compare(0, stem.size(), stem) != 0) continue;
        bool digits = std::all_of(other.name.begin() + static_cast<long>(stem.size()), other.name.end(),
                                  [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); });
        if (!digits) continue;
        other.tile = source.tile;
        other.targetTile = source.targetTile;
        other.previousTile = source.previousTile;
        other.pixel = source.pixel;
    }
}

void People::moveToReserve(int index, bool override) {
    if (!override && static_cast<int>(reserve.size()) >= PARTY_LIMIT) return;
    if (party.erase(index) == 0) fatalAssert("People", 637, index);
    reserve.insert(index);
}

void People::moveToParty(int index, bool override) {
    if (!override && static_cast<int>(party.size()) >= PARTY_LIMIT) return;
    if (reserve.erase(index) == 0) fatalAssert("People", 650, index);
    party.insert(index);
}

// ---------------------------------------------------------------------------------------------
// Item sharing

namespace {
const ItemList& catalogue() {
    if (itemList == nullptr) fatalAssert("People", 132, "no item catalogue");
    return *itemList;
}
} // namespace

void People::distributeUsableItems() {
    const ItemList& items = catalogue();
    std::vector<int> members(party.begin(), party.end());
    for (int index : members) at(index); // every member must exist
    // item -> units pooled from the party
    std::map<int, int> pool;
    for (int index : members) {
        Character& c = characters[index];
        for (auto it = c.inventory.begin(); it != c.inventory.end();) {
            const Item& item = items.at(it->first);
            bool usableBySomeone = std::any_of(members.begin(), members.end(), [&](int m) {
                return item.isAllowed(characters[m].className);
            });
            if (item.type == Item::USABLE && it->second > 0 && usableBySomeone) {
                pool[it->first] += it->second;
                it = c.inventory.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Round-robin over the members in ascending roster index, one unit at a time, each unit to
    // the next member whose class may use it.
    size_t turn = 0;
    for (auto& [itemIndex, count] : pool) {
        const Item& item = items.at(itemIndex);
        for (int unit = 0; unit < count; ++unit) {
            for (size_t tries = 0; tries < members.size(); ++tries) {
                Character& c = characters[members[turn % members.size()]];
                ++turn;
                if (item.isAllowed(c.className)) {
                    c.inventory[itemIndex] += 1;
                    break;
                }
            }
        }
    }
}

void People::distributeEquipableItems() {
    const ItemList& items = catalogue();
    std::vector<int> members(party.begin(), party.end());
    for (int index : members) at(index);
    auto locked = [](int member, int slotNumber) {
        if (game == nullptr) return false;
        auto found = game->equipmentLocks.find(static_cast<std::uint64_t>(member));
        return found != game->equipmentLocks.end() && found->second.count(slotNumber) > 0;
    };
    // Pooled units: (item, the member it came from), so unplaced units go home again.
    std::vector<std::pair<int, int>> pool;
    std::map<int, std::array<int, STAT_COUNT>> base;
    for (int index : members) {
        Character& c = characters[index];
        base[index] = c.baseStats();
        for (auto it = c.inventory.begin(); it != c.inventory.end();) {
            int type = items.at(it->first).type;
            if ((type == Item::WEAPON || type == Item::ACCESSORY) && it->second > 0) {
                for (int n = 0; n < it->second; ++n) pool.emplace_back(it->first, index);
                it = c.inventory.erase(it);
            } else {
                ++it;
            }
        }
        for (int s = 0; s < 3; ++s) {
            if (locked(index, s) || c.slot(s) == NO_ITEM) continue;
            pool.emplace_back(c.slot(s), index);
            c.slot(s) = NO_ITEM;
        }
    }
    for (int index : members) {
        Character& c = characters[index];
        for (int s = 0; s < 3; ++s) {
            if (locked(index, s)) continue;
            int wanted = s == 0 ? Item::WEAPON : Item::ACCESSORY;
            int best = -1;
            int bestScore = 0;
            for (size_t k = 0; k < pool.size(); ++k) {
                const Item& item = items.at(pool[k].first);
                if (item.type != wanted || !item.isAllowed(c.className)) continue;
                int score = Item::score(items, pool[k].first);
                if (best < 0 || score > bestScore) {
                    best = static_cast<int>(k);
                    bestScore = score;
                }
            }
            if (best < 0) continue;
            c.slot(s) = pool[static_cast<size_t>(best)].first;
            pool.erase(pool.begin() + best);
            if (s == 0 && (c.className == "FoodWarrior" || c.className == "GoofWarrior"))
                c.objectToThrow = items.at(c.weapon).name;
        }
    }
    for (auto& [item, owner] : pool) characters[owner].inventory[item] += 1;
    // The bonuses follow the new equipment; HP and MP are not lost on the way.
    for (int index : members) characters[index].setFromBaseStats(base[index]);
}

// ---------------------------------------------------------------------------------------------
// Loading

std::map<std::string, std::string> People::loadCharacters(const std::string& path,
                                                          sf::RenderWindow* window, float overall,
                                                          bool saveFileMode,
                                                          std::set<std::string>* created) {
    std::map<std::string, std::string> stored;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) fatalAssert("People", 243, path);
    std::ifstream in(path, std::ios::binary);
    if (!in) fatalAssert("People", 245, path);
    auto fileSize = static_cast<float>(std::filesystem::file_size(path, error));
    if (error || fileSize <= 0) fileSize = 1;

    std::string line;
    ReadingPlace place(path);
    int lineNumber = 0;
    while (true) {
        auto position = static_cast<float>(in.tellg());
        if (!std::getline(in, line)) break;
        place.setLine(++lineNumber);
        place.setStatement("");
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Blank lines, trailing blanks included, are skipped like empty ones.
        if (isBlank(line) || line[0] == '#') continue;
        if (window != nullptr) showLoadingScreen(window, overall, position / fileSize);
        std::istringstream words(line);
        WordReader r(words, "People", 262);
        std::string first = r.word();
        if (first.front() == '#') continue;
        if (first != "Character") fatalAssert("People", 265, first);
        std::string name = r.word("missing character name");
        int index = indexOf(name);
        if (index != NO_INDEX) {
            characters[index].readDefinition(words);
        } else if (!saveFileMode) {
            characters.emplace_back(name);
            characters.back().readDefinition(words);
            if (created != nullptr) created->insert(name);
        } else {
            stored[name] = line;
        }
    }
    return stored;
}
