#include "minigames/GuessNumber.hpp"

#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <cctype>
#include <charconv>
#include <cstdlib>

std::optional<int> parseGuess(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t end = i;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) ++end;
    if (end == i) return std::nullopt;
    // The digits are read as a wider number first so that the sign decides the range.
    long long value = 0;
    for (std::size_t k = i; k < end; ++k) {
        value = value * 10 + (text[k] - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL || value < -2147483648LL) return std::nullopt;
    return static_cast<int>(value);
}

bool GuessNumber::update(const std::vector<int>& keyCodes) {
    const InputFlags& in = game->input;
    if (in.back) return false;
    switch (state) {
    case TITLE:
        if (in.confirm) state = SETUP;
        break;
    case SETUP:
        secret = std::rand() % 20;
        state = TYPING;
        input.fillColor = sf::Color(100, 0, 0, 255);
        input.label = "Your guess";
        input.x = 460;
        input.y = 648;
        input.width = 1000;
        input.characterSize = 100;
        input.text.clear();
        attempts = 0;
        break;
    case TYPING:
        if (input.update(keyCodes)) {
            state = ANSWER;
            ++attempts;
        }
        break;
    case ANSWER: {
        const std::optional<int> guess = parseGuess(input.text);
        const bool won = guess && *guess == secret;
        if (!guess) {
            message = "Number typed is actually not a number (\"" + input.text + "\").";
        } else if (won) {
            message = "Congratulations, you answered correctly!";
            recordMiniGameWin("WON_GUESSNUMBER");
        } else if (attempts >= 3) {
            message = "Wrong guesses... the answer was " + std::to_string(secret);
        } else {
            message = *guess > secret ? "The number is actually smaller than that."
                                      : "The number is actually larger than that.";
        }
        if (in.confirm) state = attempts < 3 && !won ? TYPING : OVER;
        break;
    }
    case OVER:
        if (in.confirm) {
            state = TITLE;
            return false;
        }
        break;
    }
    return true;
}
