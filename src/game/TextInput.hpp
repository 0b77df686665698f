// A one-line typed-text box: letters and main-keyboard digits are appended, BackSpace erases and
// Return finishes.
#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
}

class TextInput {
public:
    int x = 0;
    int y = 0;
    int width = 0;
    // Kept by the owner; update and draw do not look at it.
    bool active = false;
    int characterSize = 50;
    sf::Color fillColor = sf::Color::Blue;
    std::string label;
    std::string text;
    // Longest text accepted; 0 for no limit. Keys beyond it are refused with "Denial".
    std::size_t maxLength = 0;
    // When set, a letter that would run the text past the box's right edge is refused with
    // "Denial" (measured in the box's font; without loaded fonts nothing is measured).
    bool refuseOverflow = false;

    // Handles the frame's key codes in order; true when Return came (later codes are dropped).
    bool update(const std::vector<int>& keyCodes);
    bool update(const std::vector<sf::Keyboard::Key>& keyCodes);
    void draw(sf::RenderTarget& window) const;
    // Whether label, ": " and the given text fit inside the box as it is drawn.
    bool fits(const std::string& candidate) const;
    void draw(sf::RenderTarget* window) const { draw(*window); }
};

// The name of an sf::Keyboard key code: "A" to "Z", "0" to "9", then the enumerator names;
// "Unknow" for any other code.
std::string keyToString(int code);
