#include "game/TileKind.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Buildings.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

namespace {

// The object standing on the tile: its foot on the tile's lower edge, at its own size relative
// to a full tile, so a tree may rise over the row above.
void drawTileObject(const TileKind& kind, sf::RenderTarget& target, float x, float y, float size,
                    SpriteBatch* batch, ObjectPart part) {
    // Zoomed out, the half-size picture drawn at its own size.
    const bool half = 2 * size == static_cast<float>(TILE_SIZE);
    const sf::Texture& tex =
        half ? resources->getHalfObjectTexture(kind.object) : resources->getObjectTexture(kind.object);
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0) return;
    const float k = half ? 1.f : size / static_cast<float>(TILE_SIZE);
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, static_cast<float>(s.y));
    sprite.setScale(k, k);
    sprite.setPosition(x + size / 2, y + size);
    if (kind.colour.a < 255) sprite.setColor(kind.colour);
    drawSpritePart(target, sprite, part, y, y + size, batch);
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
// object standing on it and its house sign; a SOLID kind is a square of its colour; a MOVING kind's texture flows.
void TileKind::draw(sf::RenderTarget& target, float x, float y, float size) const {
    drawTileBase(*this, target, x, y, size);
    drawTileExtras(*this, target, x, y, size, nullptr);
}

void drawTileBase(const TileKind& kind, sf::RenderTarget& target, float x, float y, float size) {
    if (kind.solid) {
        sf::RectangleShape square({size, size});
        square.setPosition(x, y);
        square.setFillColor(kind.colour);
        target.draw(square);
    }
    if (!kind.texture.empty()) drawTileTexture(kind, target, x, y, size);
}

void drawTileExtras(const TileKind& kind, sf::RenderTarget& target, float x, float y, float size,
                    SpriteBatch* batch, ObjectPart part) {
    if (!kind.object.empty()) drawTileObject(kind, target, x, y, size, batch, part);
    if (!kind.houseSign.empty() && part != ObjectPart::InCell) {
        if (batch) batch->flush();
        drawHouseSign(target, kind.houseSign, x + size / 2, y + size * 0.55f, size * 0.9f);
    }
}

const sf::Texture* batchableTileTexture(const TileKind& kind, float size) {
    if (kind.texture.empty() || kind.solid || kind.moving || (kind.rotation + kind.rotate) % 360 != 0)
        return nullptr;
    return &resources->getTexture(kind.texture, size <= 60.f);
}

void appendTileQuad(sf::VertexArray& quads, const sf::Texture& tex, sf::Color colour, float x,
                    float y, float size) {
    const sf::Vector2u s = tex.getSize();
    const float w = static_cast<float>(s.x), h = static_cast<float>(s.y);
    quads.append(sf::Vertex({x, y}, colour, {0, 0}));
    quads.append(sf::Vertex({x + size, y}, colour, {w, 0}));
    quads.append(sf::Vertex({x + size, y + size}, colour, {w, h}));
    quads.append(sf::Vertex({x, y + size}, colour, {0, h}));
}

