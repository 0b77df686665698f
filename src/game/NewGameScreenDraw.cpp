#include "game/NewGameScreen.hpp"

#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <cstdlib>

void NewGameScreen::draw(sf::RenderTarget& window) const {
    if (resumeList.active) resumeList.draw(window, false);
    if (nameBox.active) nameBox.draw(window);
    if (difficultyList.active) difficultyList.draw(window, false);

    // Loading a saved game leaves the screen in its list state with nothing open: no hint then.
    if (state < 2 || resumeList.active || nameBox.active || difficultyList.active) {
        sf::Text hint(keyHint(), resources->getFont("Dialog"), 34);
        hint.setFillColor(sf::Color(200, 200, 220));
        const sf::FloatRect b = hint.getLocalBounds();
        hint.setOrigin(b.left + b.width / 2, b.top + b.height / 2);
        hint.setPosition(960, 900);
        window.draw(hint);
    }
    if (message.empty()) return;

    sf::Text text(message, resources->getFont("CaviarDreams"), 50);
    text.setFillColor(sf::Color::White);
    const sf::FloatRect bounds = text.getLocalBounds();
    text.setOrigin(bounds.width / 2, bounds.height / 2);
    text.setPosition(960, 180);

    sf::RectangleShape back({bounds.width * 1.3f, bounds.height * 1.3f});
    back.setOrigin(back.getSize().x / 2, back.getSize().y / 2);
    back.setPosition(960, 180);
    const int blue = std::rand() % 100;
    const int green = std::rand() % 100;
    const int red = std::rand() % 100;
    back.setFillColor(sf::Color(sf::Uint8(red), sf::Uint8(green), sf::Uint8(blue), 255));

    window.draw(back);
    window.draw(text);
}
