// What the player is told on finding something: one voice for chests, dropped items and the
// like, with the item named as a player reads it.
#pragma once

#include <string>

// "StrengthSeed" reads "Strength Seed": a space before every capital that follows a lower-case
// letter or a digit.
std::string readableItemName(const std::string& item);

// "You found Strength Seed!"
std::string foundItemText(const std::string& item);
