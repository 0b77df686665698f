// The full-screen view of one character: what it can cast and throw, listed for the view.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>

struct Character;

// Key (0, spell name) with the spell's levels, or (1, potion name) with no levels: every spell
// before every potion, each group in name order, each spell once with its levels ascending.
using CharacterViewEntries = std::map<std::pair<int, std::string>, std::set<int>>;
CharacterViewEntries characterViewEntries(const Character& character);
