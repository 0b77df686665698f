#include "minigames/MiniGameFrame.hpp"

#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

void drawMiniGameFrame(sf::RenderTarget& window, sf::Color background, sf::Color panel,
                       int margin, const std::string& winFlag) {
    window.clear(background);
    const float w = float(WINDOW_WIDTH - 2 * margin), h = float(WINDOW_HEIGHT - 2 * margin);
    sf::RectangleShape box({w, h});
    box.setOrigin(w / 2, h / 2);
    box.setPosition(960, 540);
    box.setFillColor(panel);
    box.setOutlineColor(sf::Color::White);
    box.setOutlineThickness(1);
    window.draw(box);
    if (!winFlag.empty() && game->isBoolVarSet(winFlag)) drawTrophy(window);
}

void drawTrophy(sf::RenderTarget& window) {
    const sf::Texture& tex = resources->getMiscTexture("Trophy");
    const sf::Vector2u s = tex.getSize();
    if (s.y == 0) return;
    sf::Sprite sprite(tex);
    const float k = 40.0f / float(s.y);
    sprite.setScale(k, k);
    sprite.setPosition(5, 5);
    window.draw(sprite);
}

void drawCentredText(sf::RenderTarget& window, const std::string& text, const std::string& font,
                     unsigned size, sf::Color colour, float y) {
    sf::Text t(text, resources->getFont(font), size);
    t.setFillColor(colour);
    t.setPosition((WINDOW_WIDTH - t.getLocalBounds().width) / 2, y);
    window.draw(t);
}

void drawTitleScreen(sf::RenderTarget& window, const std::string& title, float pressY) {
    drawCentredText(window, title, "Lutuna", 150, randomColor(), 432);
    drawCentredText(window, "Press any key to continue...", "Nice", 30, sf::Color::White, pressY);
}

void drawEndText(sf::RenderTarget& window, const std::string& text) {
    drawCentredText(window, text, "Lutuna", 100, randomColor(), 432);
}

void drawStatusLine(sf::RenderTarget& window, const std::string& text, sf::Color colour) {
    sf::Text t(text, resources->getFont("Dialog"), 30);
    t.setFillColor(colour);
    t.setPosition(20, 1030);
    sf::RectangleShape band({1.3f * t.getGlobalBounds().width, 50});
    band.setFillColor(sf::Color(0, 0, 100));
    band.setPosition(0, 1030);
    window.draw(band);
    window.draw(t);
}
