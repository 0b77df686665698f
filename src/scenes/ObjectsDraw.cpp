#include "scenes/Objects.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>

namespace {

float drawnScale() { return static_cast<float>(displayTileSize) / static_cast<float>(TILE_SIZE); }

// Zoomed out, a plain object picture at its own scale is drawn from its half-size picture.
bool drawnFromHalf(const SceneObject& o) {
    return !o.hat && !o.planet && !o.tileAnchored && o.scale == 1.0f && 2 * displayTileSize == TILE_SIZE;
}

} // namespace

void drawSpritePart(sf::RenderTarget& target, const sf::Sprite& sprite, ObjectPart part, float cellTop,
                    float cellBottom, SpriteBatch* batch) {
    auto put = [&](const sf::Sprite& s) {
        if (batch) batch->add(s);
        else target.draw(s);
    };
    if (part == ObjectPart::Whole) {
        put(sprite);
        return;
    }
    // Unscaled: a texel row is a screen row, so the parts meet where the whole would be drawn.
    const sf::FloatRect b = sprite.getGlobalBounds();
    const sf::IntRect r = sprite.getTextureRect();
    const int inFrom = std::clamp(static_cast<int>(cellTop - b.top), 0, r.height);
    const int inTo = std::clamp(static_cast<int>(cellBottom - b.top), 0, r.height);
    auto rows = [&](int from, int to) {
        if (to <= from) return;
        sf::Sprite piece(*sprite.getTexture(), {r.left, r.top + from, r.width, to - from});
        piece.setColor(sprite.getColor());
        piece.setPosition(b.left, b.top + static_cast<float>(from));
        put(piece);
    };
    if (part == ObjectPart::InCell) {
        rows(inFrom, inTo);
    } else {
        rows(0, inFrom);
        rows(inTo, r.height);
    }
}

bool SceneObject::keptInCell() const {
    if (hat || planet || tileAnchored || scale != 1.0f || x != std::floor(x)) return false;
    const sf::Vector2u full = resources->getObjectTexture(name).getSize();
    const sf::Vector2u drawn = texture().getSize();
    const float T = static_cast<float>(displayTileSize);
    // Zoomed out the half-size picture must be drawn at its own size, on whole pixels.
    const bool ownSize = displayTileSize == TILE_SIZE || (2 * displayTileSize == TILE_SIZE && yOffset % 2 == 0);
    return ownSize && full.x > 0 && full.x <= static_cast<unsigned>(TILE_SIZE) && drawn.x % 2 == 0 && T > 0;
}

const sf::Texture& SceneObject::texture() const {
    if (hat) return resources->getHatTexture(name);
    if (planet) return resources->getPlanetTexture(name);
    if (drawnFromHalf(*this)) return resources->getHalfObjectTexture(name);
    return resources->getObjectTexture(name);
}

void SceneObject::draw(sf::RenderTarget& window, int row, Point v, SpriteBatch* batch, ObjectPart part) const {
    const sf::Texture& tex = texture();
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0) return;
    const float T = static_cast<float>(displayTileSize);
    const float k = tileAnchored      ? scale * T / static_cast<float>(s.x)
                    : drawnFromHalf(*this) ? 1.f
                                           : scale * drawnScale();
    const float cx = x * T + T / 2 - v.x;
    const float bottom = (row + 1) * T - v.y + yOffset * drawnScale();
    if (cx + s.x * k < -T || cx - s.x * k > WINDOW_WIDTH + T || bottom < -T || bottom - s.y * k > WINDOW_HEIGHT + T)
        return;
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, static_cast<float>(s.y));
    sprite.setScale(k, k);
    sprite.setPosition(cx, bottom);
    sprite.setColor(colour);
    const float top = static_cast<float>(row * displayTileSize - v.y);
    drawSpritePart(window, sprite, part, top, top + T, batch);
}

void FrontObject::draw(sf::RenderTarget& window, Point v) const {
    const sf::Texture& tex = resources->getObjectTexture(name);
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0) return;
    const float T = static_cast<float>(displayTileSize);
    const float k = scale * drawnScale();
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, static_cast<float>(s.y));
    sprite.setScale(k, k);
    sprite.setPosition(tile.x * T + T / 2 - v.x, (tile.y + 1) * T - v.y);
    sprite.setColor(colour);
    window.draw(sprite);
}

void WishingWell::draw(sf::RenderTarget& window, Point v, int frame) const {
    if (!exists()) return;
    const float T = static_cast<float>(displayTileSize);
    const sf::Texture& tex = resources->getMiscTexture("WishingWell");
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0) return;
    const float k = width * T / static_cast<float>(s.x);
    const float left = tile.x * T - v.x, bottom = (tile.y + height) * T - v.y;
    sf::Sprite sprite(tex);
    sprite.setOrigin(0, static_cast<float>(s.y));
    sprite.setScale(k, k);
    sprite.setPosition(left, bottom);
    window.draw(sprite);
    // Glints on the water.
    for (int i = 0; i < 3; ++i) {
        const float phase = std::fmod(frame * 0.04f + i * 0.33f, 1.0f);
        sf::CircleShape glint(T * 0.04f * (1.f - phase) + 1, 6);
        glint.setPosition(left + width * T * (0.35f + 0.12f * i), bottom - height * T * 0.62f);
        glint.setFillColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(220 * (1 - phase))));
        window.draw(glint);
    }
}

void SceneText::draw(sf::RenderTarget& window) const {
    sf::Font* f = nullptr;
    auto it = resources->fonts.find(font);
    f = it != resources->fonts.end() ? &it->second : &resources->getFont("Dialog");
    sf::Text t(sf::String::fromUtf8(text.begin(), text.end()), *f, static_cast<unsigned>(std::max(1, size)));
    const sf::FloatRect b = t.getLocalBounds();
    t.setOrigin(b.left + b.width / 2, 0);
    t.setPosition(static_cast<float>(position.x), static_cast<float>(position.y));
    t.setFillColor(colour);
    if (title) {
        t.setOutlineColor(sf::Color(0, 0, 0, 200));
        t.setOutlineThickness(4);
    }
    window.draw(t);
}

// On a scene the position is the animation's foot (bottom centre) in full-size pixels; on the
// screen it is the picture's top-left corner.
void AnimatedObject::draw(sf::RenderTarget& window, const Point* v) const {
    const auto& frames = resources->getAnimation(name);
    if (frames.empty()) return;
    const sf::Texture& tex = frames[static_cast<size_t>(std::max(0, frameIndex)) % frames.size()];
    const sf::Vector2u s = tex.getSize();
    sf::Sprite sprite(tex);
    float k = scale;
    sf::Vector2f at{static_cast<float>(position.x), static_cast<float>(position.y)};
    if (v) {
        k *= drawnScale();
        at = {position.x * drawnScale() - v->x, position.y * drawnScale() - v->y};
        if (at.x > WINDOW_WIDTH + 240 || at.y > WINDOW_HEIGHT + 240 + s.y * k || at.x < -240 || at.y < -240)
            return;
        sprite.setOrigin(s.x / 2.f, static_cast<float>(s.y));
    }
    sprite.setScale(mirror ? -k : k, k);
    if (mirror && !v) at.x += s.x * k;
    sprite.setPosition(at);
    sprite.setColor(colour);
    window.draw(sprite);
}

void drawShardPiece(const ShardPiece& piece, sf::RenderTarget& window, Point v,
                    const sf::Texture& platform) {
    const float T = static_cast<float>(displayTileSize);
    const sf::Vector2f corner{piece.tile.x * T - v.x, piece.tile.y * T - v.y};
    if (piece.showPlatform) {
        const sf::Vector2u s = platform.getSize();
        if (s.x > 0 && s.y > 0) {
            sf::Sprite base(platform);
            base.setScale(T / s.x, T / s.y);
            base.setPosition(corner);
            window.draw(base);
        }
    }
    if (piece.taken) return;
    // The piece floats above its platform, bobbing once per period.
    const int period = std::max(1, piece.period);
    const float phase = static_cast<float>(piece.counter % period) / static_cast<float>(period);
    const float lift = std::sin(phase * 6.2831853f) * T * 0.06f;
    const sf::Vector2f centre{corner.x + T / 2, corner.y + T * 0.4f + lift};
    if (piece.glow) {
        for (int r = 3; r >= 1; --r) {
            sf::CircleShape halo(T * 0.14f * r, 30);
            halo.setOrigin(T * 0.14f * r, T * 0.14f * r);
            halo.setPosition(centre);
            halo.setFillColor(sf::Color(255, 255, 200, static_cast<sf::Uint8>(28 * (4 - r))));
            window.draw(halo);
        }
    }
    // The shard's own jagged outline, textured with its picture; a glowing piece gets the glow
    // rim. A name without a picture stops the game in the store, as every missing picture does.
    drawGem(window, piece.name, centre, piece.glow, piece.glow);
}

void drawSnow(const std::vector<SnowFlake>& flakes, sf::RenderTarget& window, Point v) {
    if (flakes.empty()) return;
    const sf::Texture& tex = resources->getMiscTexture("SnowFlake");
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0) return;
    sf::Sprite sprite(tex);
    sprite.setColor(sf::Color(255, 255, 255, 200));
    sprite.setOrigin(s.x / 2.f, s.y / 2.f);
    const float T = static_cast<float>(displayTileSize);
    SpriteBatch batch(window);
    for (const auto& f : flakes) {
        const int h = f.height;
        const float k = (T / 10) * ((50 - h) * 0.5f / 50 + 0.5f) / static_cast<float>(s.x);
        sprite.setScale(k, k);
        const int px = static_cast<int>(120 * f.x + static_cast<float>(h / 4)) - v.x;
        const int py = static_cast<int>(120 * f.y + static_cast<float>(h)) - v.y;
        if (px < -20 || py < -20 || px > 1940 || py > 1100) continue;
        sprite.setPosition(static_cast<float>(px), static_cast<float>(py));
        sprite.setRotation(static_cast<float>(f.spin * h));
        batch.add(sprite);
    }
}
