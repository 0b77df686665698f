#include "minigames/SpaceGates.hpp"

#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

void SpaceChapterGate::draw(sf::RenderTarget& window, Point v) const {
    if (travelling) {
        tripBackground.draw(window, {0, 0});
        drawCatRocket(rocket, window, {0, 0});
        return;
    }
    const sf::Texture& tex = resources->getMiscTexture("WormHole" + chapter + "Shard");
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0) return;
    const float T = static_cast<float>(displayTileSize);
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, s.y / 2.f);
    sprite.setScale(3 * T / s.x, 3 * T / s.x);
    sprite.setPosition(tile.x * T - v.x + T / 2, tile.y * T - v.y + T / 2);
    if (!isOpen()) sprite.setColor(sf::Color(50, 50, 50, 255));
    window.draw(sprite);
}
