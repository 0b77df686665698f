// The roster: every character by value, the main character, and the party, reserve and saved
// party as ordered sets of roster indices.
#pragma once

#include "characters/Character.hpp"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sf {
class RenderWindow;
}

// Neither the party nor the reserve grows beyond this unless the caller overrides it.
constexpr int PARTY_LIMIT = 11;

class People {
public:
    int mainCharacterIndex = 0; // NO_INDEX: none
    // Elements never move: loading a planet appends characters while a scene's update still
    // holds references to the party leader and others.
    std::deque<Character> characters;
    std::set<int> party{0};
    std::set<int> reserve;
    std::set<int> savedParty;

    // Range-tested: an index outside the roster is fatal.
    Character& at(long long index);
    const Character& at(long long index) const;
    Character& mainCharacter();
    int size() const { return static_cast<int>(characters.size()); }

    // NO_INDEX when no character has exactly that name.
    int indexOf(const std::string& name) const;
    // In the party or the reserve: the player's side.
    bool isMember(int index) const;
    void insertPartyIndex(int index);
    // An index not in the party is fatal.
    void erasePartyIndex(int index);
    void setMainCharacter(const std::string& name);
    void ensureLivingMain();

    // 0 for an empty party.
    int partyAveragePower() const;
    int partyMedianLevel() const;
    bool partyHasItem(int item) const;
    bool partyHasItemNamed(const std::string& itemName) const;
    // For a name ending in a digit ("Guard2"), copies the position to "Guard1", "Guard3"...
    // whose saved-game-initialised flag is clear.
    void syncNumberedSiblings(int index);

    // Without override: nothing when the destination already holds PARTY_LIMIT members.
    // An index not in the source set is fatal.
    void moveToReserve(int index, bool override);
    void moveToParty(int index, bool override);

    // Pools the party's usable items and deals them round-robin in ascending roster index.
    void distributeUsableItems();
    // Pools the party's weapons and accessories; each member gets, per unlocked slot, the
    // allowed item of best score. Locked slots (the Game's equipmentLocks) are left alone.
    void distributeEquipableItems();

    // Reads a character or enemy file (or "people.save" in save-file mode). Returns, in
    // save-file mode, each character name with its whole line; created receives the names of
    // characters appended to the roster.
    std::map<std::string, std::string> loadCharacters(const std::string& path,
                                                      sf::RenderWindow* window, float overall,
                                                      bool saveFileMode,
                                                      std::set<std::string>* created);
};

// Creates the global roster once: main 0, no characters, party {0}.
People* createPeople();
