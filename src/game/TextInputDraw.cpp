#include "game/TextInput.hpp"

#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

// The text starts 35 pixels into the box; a margin of the same size keeps it off the right edge.
bool TextInput::fits(const std::string& candidate) const {
    if (resources == nullptr || resources->fonts.count("Dialog") == 0) return true;
    sf::Text shown(label + ": " + candidate, resources->getFont("Dialog"), unsigned(characterSize));
    return 35 + shown.getLocalBounds().left + shown.getLocalBounds().width <= float(width - 35);
}

void TextInput::draw(sf::RenderTarget& window) const {
    sf::Text shown(label + ": " + text, resources->getFont("Dialog"), unsigned(characterSize));
    shown.setFillColor(sf::Color::White);
    shown.setPosition(float(x + 35), float(y));

    sf::RectangleShape box({float(width), 2 * shown.getLocalBounds().height});
    box.setFillColor(fillColor);
    box.setOutlineColor(sf::Color::White);
    box.setOutlineThickness(2);
    box.setPosition(float(x), float(y));

    window.draw(box);
    window.draw(shown);
}
