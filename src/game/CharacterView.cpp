#include "game/CharacterView.hpp"

#include "characters/Character.hpp"

CharacterViewEntries characterViewEntries(const Character& character) {
    CharacterViewEntries entries;
    for (const auto& [spell, level] : character.availableMagic()) entries[{0, spell}].insert(level);
    for (const std::string& potion : character.potions) entries[{1, potion}];
    return entries;
}
