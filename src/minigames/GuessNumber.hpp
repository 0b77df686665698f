// The guess-the-number mini-game: a secret from 0 to 19 and three typed guesses.
#pragma once

#include "game/TextInput.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sf {
class RenderTarget;
}

class GuessNumber {
public:
    // 0 title, 1 set-up, 2 typing, 3 answer shown, 4 over.
    enum { TITLE = 0, SETUP = 1, TYPING = 2, ANSWER = 3, OVER = 4 };

    int secret = 0;
    int attempts = 0;
    int state = TITLE;
    TextInput input;
    std::string message;

    // False leaves the game (back in any state, or confirm on the last screen).
    bool update(const std::vector<int>& keyCodes);
    void draw(sf::RenderTarget& window) const;
};

// A typed guess read as a decimal number the way the standard string-to-int conversion reads it
// (leading blanks, one optional sign, the digits up to the first other character), without
// throwing: no digits or a value beyond the int range gives nothing.
std::optional<int> parseGuess(std::string_view text);
