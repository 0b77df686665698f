#include "minigames/Taco.hpp"

#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <SFML/Graphics.hpp>

namespace {

void drawMiscCentred(sf::RenderTarget& window, const std::string& name, sf::Vector2f at,
                     float width) {
    const sf::Texture& tex = resources->getMiscTexture(name);
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0) return;
    sf::Sprite sprite(tex);
    sprite.setOrigin(float(s.x / 2), float(s.y / 2));
    sprite.setScale(width / float(s.x), width / float(s.x));
    sprite.setPosition(at);
    window.draw(sprite);
}

} // namespace

void Taco::drawLevel(const TacoLevel& level, sf::RenderTarget& window) const {
    const int m = level.margin;
    sf::RectangleShape pad({50, 100});
    pad.setFillColor(sf::Color(180, 200, 255));
    pad.setPosition(float(m), 490);
    window.draw(pad);
    pad.setPosition(float(WINDOW_WIDTH - m - 50), 490);
    window.draw(pad);
    const sf::Color colour = randomColor();
    for (const Rect& r : level.obstacles) {
        sf::RectangleShape box({float(r.x1 - r.x0), float(r.y1 - r.y0)});
        box.setFillColor(colour);
        box.setPosition(float(r.x0), float(r.y0));
        window.draw(box);
    }
}

void Taco::draw(sf::RenderTarget& window) const {
    // A touch flashes the whole screen white for its frame.
    if (hit) {
        window.clear(sf::Color(255, 255, 255));
        return;
    }
    drawMiniGameFrame(window, sf::Color(0, 50, 50), sf::Color(0, 70, 70), margin, "WON_TACO");
    if (state == TITLE) drawTitleScreen(window, "Taco game", 810);
    if (state == PLAYING) {
        drawLevel(levels[currentLevel], window);
        drawMiscCentred(window, "TacoMan", {float(position.x), float(position.y)}, 150);
    }
    if (state == WON) {
        drawEndText(window, "Victory!");
        drawMiscCentred(window, "Diamond", {960, 864}, 200);
    }
    if (state == LOST) drawEndText(window, "Game Over");
    drawStatusLine(window,
                   "Life: " + std::to_string(life) + " / " + std::to_string(maxLife) +
                       " --- Level: " + std::to_string(currentLevel) + " / " +
                       std::to_string(levels.size()),
                   randomColor());
}
