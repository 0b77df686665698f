#include "game/TileKind.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

namespace {

// The object standing on the tile: its foot on the tile's lower edge, at its own size relative
// to a full tile, so a tree may rise over the row above.
void drawTileObject(const TileKind& kind, sf::RenderTarget& target, float x, float y, float size) {
    const sf::Texture& tex = resources->getObjectTexture(kind.object);
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0) return;
    const float k = size / static_cast<float>(TILE_SIZE);
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, static_cast<float>(s.y));
    sprite.setScale(k, k);
    sprite.setPosition(x + size / 2, y + size);
    if (kind.colour.a < 255) sprite.setColor(kind.colour);
    target.draw(sprite);
}


void drawTileTexture(const TileKind& kind, sf::RenderTarget& target, float x, float y, float size) {
    const sf::Texture& tex = resources->getTexture(kind.texture, size <= 60.f);
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0) return;
    sf::Sprite sprite(tex);
    if (kind.moving && game) {
        const int shift = static_cast<int>((game->frameCounter / 2) % s.y);
        sf::Texture& repeating = const_cast<sf::Texture&>(tex);
        if (!repeating.isRepeated()) repeating.setRepeated(true);
        sprite.setTextureRect(sf::IntRect(0, -shift, static_cast<int>(s.x), static_cast<int>(s.y)));
    }
    sprite.setOrigin(s.x / 2.f, s.y / 2.f);
    sprite.setScale(size / s.x, size / s.y);
    sprite.setRotation(static_cast<float>(kind.rotation + kind.rotate));
    sprite.setPosition(x + size / 2, y + size / 2);
    if (!kind.solid) sprite.setColor(kind.colour);
    target.draw(sprite);
}

} // namespace

// The kind's picture filling the size x size square at (x, y): its texture (the zoomed-out
// variant at the small size), turned by ROTATED and ROTATE, tinted by its colour, then the
// object standing on it; a SOLID kind is a square of its colour; a MOVING kind's texture flows.
void TileKind::draw(sf::RenderTarget& target, float x, float y, float size) const {
    if (solid) {
        sf::RectangleShape square({size, size});
        square.setPosition(x, y);
        square.setFillColor(colour);
        target.draw(square);
    }
    if (!texture.empty()) drawTileTexture(*this, target, x, y, size);
    if (!object.empty()) drawTileObject(*this, target, x, y, size);
}

