#include "scenes/Background.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "foundation/ScreenCopy.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <cmath>
#include <cstring>

namespace {

constexpr float SCREEN_W = float(WINDOW_WIDTH), SCREEN_H = float(WINDOW_HEIGHT);

float positiveMod(float v, float m) {
    if (m <= 0) return v;
    float r = std::fmod(v, m);
    return r < 0 ? r + m : r;
}

// Lays a texture over the window from an offset, repeating it.
void tileTexture(sf::RenderTarget& window, const sf::Texture& tex, sf::Vector2f offset,
                 float scale, sf::Color colour, bool mirrorOdd) {
    const sf::Vector2u size = tex.getSize();
    if (size.x == 0 || size.y == 0) return;
    const float w = size.x * scale, h = size.y * scale;
    sf::Sprite sprite(tex);
    sprite.setColor(colour);
    const float x0 = -positiveMod(offset.x, w), y0 = -positiveMod(offset.y, h);
    int col = 0;
    for (float x = x0; x < SCREEN_W; x += w, ++col) {
        for (float y = y0; y < SCREEN_H; y += h) {
            if (mirrorOdd && col % 2 == 1) {
                sprite.setScale(-scale, scale);
                sprite.setPosition(x + w, y);
            } else {
                sprite.setScale(scale, scale);
                sprite.setPosition(x, y);
            }
            window.draw(sprite);
        }
    }
}

void drawPineTree(sf::RenderTarget& window, float x, float baseY, float height) {
    sf::RectangleShape trunk({height * 0.08f, height * 0.2f});
    trunk.setFillColor(sf::Color(25, 15, 20));
    trunk.setPosition(x - height * 0.04f, baseY - height * 0.2f);
    window.draw(trunk);
    for (int k = 0; k < 3; ++k) {
        const float top = baseY - height + k * height * 0.22f;
        const float half = height * (0.18f + 0.08f * k);
        sf::ConvexShape tier(3);
        tier.setPoint(0, {x, top});
        tier.setPoint(1, {x - half, top + height * 0.42f});
        tier.setPoint(2, {x + half, top + height * 0.42f});
        tier.setFillColor(sf::Color(18, 30, 32));
        window.draw(tier);
    }
}

const sf::Color SPACE_FILL(2, 2, 12);

// The quads of a star field as this frame draws them: equal quads, equal stars. Written field
// by field into a buffer kept between frames, as thousands of stars are laid out every frame.
const std::vector<sf::Vertex>& spaceStars(const Background& b, Point viewOffset) {
    static std::vector<sf::Vertex> stars;
    if (stars.size() < b.items.size() * 4) stars.resize(b.items.size() * 4);
    const float vx = static_cast<float>(viewOffset.x), vy = static_cast<float>(viewOffset.y);
    const float ox = b.option ? vx * 0.2f : 0.f, oy = b.option ? vy * 0.2f : 0.f;
    const float w = static_cast<float>(b.pixelSize.x), h = static_cast<float>(b.pixelSize.y);
    sf::Vertex* v = stars.data();
    auto put = [&v](float x, float y, sf::Color c) {
        v->position.x = x;
        v->position.y = y;
        v->color = c;
        v->texCoords.x = v->texCoords.y = 0;
        ++v;
    };
    for (const auto& it : b.items) {
        const float x = positiveMod(it.x - ox, w), y = positiveMod(it.y - oy, h);
        if (x > SCREEN_W + 4 || y > SCREEN_H + 4) {
            for (int k = 0; k < 4; ++k) put(-10, -10, sf::Color::Transparent);
            continue;
        }
        sf::Color c = it.colour;
        // A few stars twinkle.
        if ((static_cast<int>(it.x * 7 + it.y) + b.frame / 8) % 17 == 0) c.a = 120;
        const float s = it.size;
        put(x, y, c);
        put(x + s, y, c);
        put(x + s, y + s, c);
        put(x, y + s, c);
    }
    stars.resize(b.items.size() * 4);
    return stars;
}

// A star field drawn once and copied to the window while its stars stay where they are: the
// start screen's thousands of tiny quads cost the renderer far more than the copy. Most frames
// change nothing (the stars twinkle every eighth).
struct KeptStarField {
    ScreenCopySource picture;
    std::vector<sf::Vertex> stars;
    std::string overKey;
    bool drawn = false;
    bool unusable = false;
};

KeptStarField& keptStarField() {
    // Never freed: its textures must not outlive the graphics context at exit.
    static auto* kept = new KeptStarField();
    return *kept;
}

bool sameStars(const std::vector<sf::Vertex>& kept, const std::vector<sf::Vertex>& now) {
    return kept.size() == now.size() &&
           (kept.empty() || std::memcmp(kept.data(), now.data(), kept.size() * sizeof(sf::Vertex)) == 0);
}

// Puts the star field and what lies over it on the whole window from the kept picture, drawing
// the picture first when either changed. False, with nothing drawn, where the copy cannot be
// made.
bool copyKeptStars(sf::RenderWindow& window, const std::vector<sf::Vertex>& stars, const std::string& overKey,
                   const std::function<void(sf::RenderTarget&)>& over) {
    KeptStarField& kept = keptStarField();
    const sf::Vector2u size = window.getSize();
    if (kept.unusable || !seenThroughOwnView(window)) return false;
    if (!kept.picture.ready() || kept.picture.target().getSize() != size) {
        kept.drawn = false;
        if (!kept.picture.create(size.x, size.y)) {
            kept.unusable = true;
            return false;
        }
    }
    if (!kept.picture.attach(window)) {
        kept.unusable = true;
        return false;
    }
    if (!kept.drawn || kept.overKey != overKey || !sameStars(kept.stars, stars)) {
        if (!kept.picture.beginUpright()) {
            kept.unusable = true;
            return false;
        }
        sf::RenderTexture& target = kept.picture.target();
        target.clear(SPACE_FILL);
        drawInChunks(target, stars.data(), stars.size(), sf::Quads);
        if (over) over(target);
        kept.picture.endUpright();
        kept.picture.finishDrawing();
        kept.stars = stars;
        kept.overKey = overKey;
        kept.drawn = true;
    }
    kept.picture.copyTo(window, {0, 0}, {static_cast<int>(size.x), static_cast<int>(size.y)}, {0, 0});
    return true;
}

} // namespace

bool Background::fillsWindow() const {
    switch (kind) {
    case BG_MOVING_SHAPES:
    case BG_MOVING_SHARDS:
    case BG_CRAZY_CIRCLES:
    case BG_SPACE_TRAVEL:
    case BG_SPACE: return true;
    default: return false;
    }
}

void Background::drawOverWindow(sf::RenderWindow& window, Point viewOffset, const std::string& overKey,
                                const std::function<void(sf::RenderTarget&)>& over) const {
    // Stars that drift, or move with the view, would have the picture drawn again every frame.
    const bool still = kind == BG_SPACE && !option && driftSpeed == 0;
    if (still && drawShortcuts && copyKeptStars(window, spaceStars(*this, viewOffset), overKey, over)) return;
    draw(window, viewOffset);
    if (over) over(window);
}

void Background::draw(sf::RenderTarget& window, Point viewOffset, bool overlay) const {
    // Over the scene the opaque parts go: the moving things stay and pictures become a veil.
    auto fill = [&](sf::Color c) {
        if (!overlay) window.clear(c);
    };
    const sf::Color tint = overlay ? sf::Color(colour.r, colour.g, colour.b, 90) : colour;
    const float vx = static_cast<float>(viewOffset.x), vy = static_cast<float>(viewOffset.y);
    switch (kind) {
    case BG_NADA: return;

    case BG_MOVING_SHAPES: {
        fill(sf::Color(30, 24, 60));
        for (const auto& it : items) {
            const int points = it.shape == 0 ? 30 : it.shape + 2; // circle, triangle, square, pentagon
            sf::CircleShape shape(it.size, static_cast<size_t>(points));
            shape.setOrigin(it.size, it.size);
            shape.setPosition(it.x, it.y);
            shape.setRotation(it.angle);
            shape.setFillColor(it.colour);
            shape.setOutlineColor(sf::Color(255, 255, 255, 60));
            shape.setOutlineThickness(3);
            window.draw(shape);
        }
        return;
    }

    case BG_MOVING_SHARDS: {
        fill(sf::Color(12, 10, 30));
        for (const auto& it : items) {
            // A splinter of crystal: a long convex outline with a lighter facet.
            const float s = it.size, lean = static_cast<float>(it.shape % 7) / 20.f;
            sf::ConvexShape shard(5);
            shard.setPoint(0, {0, -s});
            shard.setPoint(1, {s * (0.3f + lean), -s * 0.2f});
            shard.setPoint(2, {s * 0.2f, s * 0.6f});
            shard.setPoint(3, {-s * 0.25f, s * 0.5f});
            shard.setPoint(4, {-s * (0.3f + lean), -s * 0.3f});
            shard.setPosition(it.x, it.y);
            shard.setRotation(it.angle);
            sf::Color c = it.colour;
            c.a = 170;
            shard.setFillColor(c);
            shard.setOutlineColor(sf::Color(255, 255, 255, 140));
            shard.setOutlineThickness(2);
            window.draw(shard);
            sf::ConvexShape facet(3);
            facet.setPoint(0, {0, -s});
            facet.setPoint(1, {s * (0.3f + lean), -s * 0.2f});
            facet.setPoint(2, {0, s * 0.1f});
            facet.setPosition(it.x, it.y);
            facet.setRotation(it.angle);
            facet.setFillColor(sf::Color(255, 255, 255, 70));
            window.draw(facet);
        }
        return;
    }

    case BG_CRAZY_CIRCLES: {
        fill(sf::Color::Black);
        for (const auto& it : items) {
            sf::CircleShape ring(it.size, 60);
            ring.setOrigin(it.size, it.size);
            ring.setPosition(SCREEN_W / 2, SCREEN_H / 2);
            ring.setFillColor(sf::Color::Transparent);
            sf::Color c = it.colour;
            c.a = static_cast<sf::Uint8>(std::max(0.f, 255.f - it.size / 5.f));
            ring.setOutlineColor(c);
            ring.setOutlineThickness(8 + it.size / 40);
            window.draw(ring);
        }
        return;
    }

    case BG_HOT_LAVA: {
        sf::VertexArray glow(sf::Quads, 4);
        glow[0] = sf::Vertex({0, 0}, sf::Color(120, 10, 0));
        glow[1] = sf::Vertex({SCREEN_W, 0}, sf::Color(120, 10, 0));
        glow[2] = sf::Vertex({SCREEN_W, SCREEN_H}, sf::Color(255, 110, 0));
        glow[3] = sf::Vertex({0, SCREEN_H}, sf::Color(255, 110, 0));
        if (!overlay) window.draw(glow);
        for (const auto& it : items) {
            sf::CircleShape blob(it.size, 24);
            blob.setOrigin(it.size, it.size);
            blob.setPosition(positiveMod(it.x - vx * 0.3f, SCREEN_W), it.y);
            blob.setScale(1.0f + 0.15f * std::sin(it.spin * 2), 1.0f);
            blob.setFillColor(it.colour);
            window.draw(blob);
            sf::CircleShape core(it.size * 0.45f, 16);
            core.setOrigin(it.size * 0.45f, it.size * 0.45f);
            core.setPosition(blob.getPosition());
            core.setFillColor(sf::Color(255, 230, 120, 160));
            window.draw(core);
        }
        return;
    }

    case BG_PINE_SUN: {
        sf::VertexArray sky(sf::Quads, 4);
        sky[0] = sf::Vertex({0, 0}, sf::Color(40, 40, 110));
        sky[1] = sf::Vertex({SCREEN_W, 0}, sf::Color(40, 40, 110));
        sky[2] = sf::Vertex({SCREEN_W, SCREEN_H}, sf::Color(255, 150, 70));
        sky[3] = sf::Vertex({0, SCREEN_H}, sf::Color(255, 150, 70));
        if (!overlay) window.draw(sky);
        const float pulse = 1.0f + 0.03f * std::sin(frame * 0.05f);
        for (int k = 3; k >= 0; --k) {
            const float r = (170 + 60 * k) * pulse;
            sf::CircleShape sun(r, 60);
            sun.setOrigin(r, r);
            sun.setPosition(SCREEN_W * 0.62f, SCREEN_H * 0.62f);
            sun.setFillColor(k == 0 ? sf::Color(255, 220, 120) : sf::Color(255, 200, 90, 35));
            window.draw(sun);
        }
        const float parallax = positiveMod(-vx * 0.25f, 240.f);
        for (float x = parallax - 240; x < SCREEN_W + 240; x += 120) {
            const float hgt = 260 + 90 * std::sin(x * 0.037f + 1.3f);
            drawPineTree(window, x, SCREEN_H, hgt);
        }
        for (const auto& it : items) {
            sf::CircleShape mote(it.size);
            mote.setPosition(it.x, it.y);
            mote.setFillColor(it.colour);
            window.draw(mote);
        }
        return;
    }

    case BG_SPACE_TRAVEL: {
        fill(sf::Color(4, 2, 16));
        sf::VertexArray streaks(sf::Lines, items.size() * 2);
        size_t v = 0;
        for (const auto& it : items) {
            const float c = std::cos(it.angle), s = std::sin(it.angle);
            const float len = 4 + it.size * 0.08f;
            const sf::Vector2f head{SCREEN_W / 2 + c * it.size, SCREEN_H / 2 + s * it.size};
            const sf::Vector2f tail{head.x - c * len, head.y - s * len};
            sf::Color col = it.colour;
            col.a = static_cast<sf::Uint8>(std::min(255.f, it.size / 2));
            streaks[v++] = sf::Vertex(tail, sf::Color(col.r, col.g, col.b, 0));
            streaks[v++] = sf::Vertex(head, col);
        }
        window.draw(streaks);
        return;
    }

    case BG_SPACE: {
        fill(SPACE_FILL);
        const std::vector<sf::Vertex>& stars = spaceStars(*this, viewOffset);
        if (stars.empty()) return;
        drawPrimitives(window, stars.data(), stars.size(), sf::Quads);
        return;
    }

    case BG_CELULAR: {
        if (cells.empty()) return;
        sf::VertexArray quads(sf::Quads, cells.size() * 4);
        const float cw = SCREEN_W / static_cast<float>(cellColumns) * (pixelSize.x / SCREEN_W);
        const float ch = SCREEN_H / static_cast<float>(cellRows) * (pixelSize.y / SCREEN_H);
        size_t v = 0;
        for (int i = 0; i < cellColumns; ++i)
            for (int j = 0; j < cellRows; ++j) {
                sf::Color c = cells[i * cellRows + j];
                if (overlay) c.a = 90;
                const float x = i * cw, y = j * ch;
                quads[v++] = sf::Vertex({x, y}, c);
                quads[v++] = sf::Vertex({x + cw, y}, c);
                quads[v++] = sf::Vertex({x + cw, y + ch}, c);
                quads[v++] = sf::Vertex({x, y + ch}, c);
            }
        window.draw(quads);
        return;
    }

    case BG_IMAGE: {
        const sf::Texture& tex = resources->getMiscTexture(picture);
        const sf::Vector2u size = tex.getSize();
        if (size.x == 0 || size.y == 0) return;
        const float scale = std::max(SCREEN_W / size.x, SCREEN_H / size.y) * (option ? 1.2f : 1.0f);
        sf::Sprite sprite(tex);
        sprite.setScale(scale, scale);
        sprite.setColor(tint);
        // With the option the picture moves a little with the view, as a far backdrop would.
        sprite.setPosition(option ? -positiveMod(vx * 0.1f, size.x * scale - SCREEN_W + 1) : 0.f, 0.f);
        window.draw(sprite);
        return;
    }

    case BG_TILE: {
        const float k = displayTileSize == 60 ? 0.5f : 1.0f;
        const sf::Vector2f offset = option ? sf::Vector2f(vx, vy) : sf::Vector2f(vx * 0.5f, vy * 0.5f);
        tileTexture(window, resources->getMiscTexture(picture), offset, k, tint, false);
        return;
    }

    case BG_ANIM_TILE:
    case BG_ANIM_TILE2: {
        const auto& frames = resources->getBackAnimation(picture);
        if (frames.empty()) return;
        const sf::Texture& tex = frames[(frame / 3) % frames.size()];
        if (kind == BG_ANIM_TILE) {
            const float k = displayTileSize == 60 ? 0.5f : 1.0f;
            tileTexture(window, tex, {vx * 0.5f, vy * 0.5f}, k, tint, false);
        } else {
            const sf::Vector2u size = tex.getSize();
            if (size.x == 0 || size.y == 0) return;
            const float scale = std::max(SCREEN_W / size.x, SCREEN_H / size.y);
            if (scale * size.x <= SCREEN_W + 1 && scale * size.y <= SCREEN_H + 1 && !option) {
                sf::Sprite sprite(tex);
                sprite.setScale(scale, scale);
                sprite.setColor(tint);
                window.draw(sprite);
            } else {
                tileTexture(window, tex, {vx * 0.3f, 0.f}, scale, tint, option);
            }
        }
        return;
    }
    default: return;
    }
}
