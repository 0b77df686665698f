#include "minigames/Sokoban.hpp"

#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

void Sokoban::drawBlock(const SokobanBlock& b, sf::RenderTarget& window, Point V, int row) const {
    const int dt = displayTileSize;
    const sf::Texture& tex = resources->getObjectTexture("SokobanBlock");
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0) return;
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, s.y / 2.f);
    const float scale = 0.8f * dt / static_cast<float>(std::max(s.x, s.y));
    sprite.setScale(scale, scale);
    sprite.setPosition(static_cast<float>(b.px * dt / TILE_SIZE - V.x + dt / 2),
                       static_cast<float>(b.py * dt / TILE_SIZE - V.y + dt / 2));
    window.draw(sprite);
}

void Sokoban::draw(sf::RenderTarget& window, Point V, int row) const {
    const int dt = displayTileSize;
    for (const SokobanBlock& b : blocks)
        if (b.tile.y == row) drawBlock(b, window, V, row);
    for (Point t : targets) {
        if (t.y != row) continue;
        bool covered = false;
        for (const SokobanBlock& b : blocks) covered = covered || b.tile == t;
        const float side = static_cast<float>(dt / 4);
        sf::RectangleShape mark({side, side});
        mark.setOrigin(side / 2, side / 2);
        mark.setPosition(static_cast<float>(t.x * dt - V.x + dt / 2),
                         static_cast<float>(t.y * dt - V.y + dt / 2));
        mark.setFillColor(covered ? sf::Color::Green : randomColor());
        window.draw(mark);
    }
}
