// The game's one list widget: a box of text rows with a selection bar, moved with Up and Down,
// chosen with confirm, left with back (an empty choice).
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
}

// The frame's inputs a menu reacts to; currentMenuKeys() reads them from the Game.
struct MenuKeys {
    bool up = false, down = false, left = false, right = false;
    bool upPressed = false, downPressed = false; // newly pressed this frame
    bool confirm = false, back = false, menu = false, action = false;
};
MenuKeys currentMenuKeys();

class OptionMenu {
public:
    std::vector<std::string> options;
    int selected = 0;
    std::uint64_t scroll = 0;
    int visibleRows = 0;
    Point position{0, 0};
    // Width and height in pixels.
    Point size{0, 0};
    bool active = false;
    int characterSize = 35;
    sf::Color color = sf::Color::Blue;
    // The text of the selected row; empty after back. Read it with selectedText().
    std::string selectedText_;
    // The outline is white when focused, grey otherwise.
    bool focused = true;

    OptionMenu() = default;
    explicit OptionMenu(std::vector<std::string> options);

    // Sizes the box to its options (needs the font "Dialog").
    void fitSize();
    // Sets the size and derives the visible rows from it at the current character size.
    void setSize(int width, int height);
    // Gives the menu new options and opens it: the selection stays inside the options (or goes
    // to 0 with resetSelection), and the selected text follows it.
    void open(const std::vector<std::string>& newOptions, bool resetSelection);

    // One frame of input; true when the player has chosen (confirm) or left (back).
    bool update();
    bool update(const MenuKeys& keys);
    // An inactive menu is drawn only with always set, and then without the selection bar.
    void draw(sf::RenderTarget& window, bool always) const;
    void draw(sf::RenderTarget* window, bool always) const { draw(*window, always); }

    std::string selectedText() const { return selectedText_; }
    void setSelectedText(const std::string& text) { selectedText_ = text; }

    // Row height: the character size times 1.2, cut to an integer.
    int rowHeight() const { return int(characterSize * 1.2); }
};

// The word after the first space of the selected text, or the whole text without a space.
std::string splitFirstWord(const OptionMenu& menu);
// The text between the first and the last space of the selected text (everything after the one
// space when there is only one), or the whole text without a space.
std::string splitLastWord(const OptionMenu& menu);
