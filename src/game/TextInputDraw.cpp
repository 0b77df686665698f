#include "game/TextInput.hpp"

#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

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
