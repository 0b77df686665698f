#include "scenes/Background.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "scenes/KeptStarField.hpp"

#include <SFML/Graphics.hpp>

#include <cmath>

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

// How this frame sees the layer: where the view stands, and whether the layer lies over the
// scene. Over the scene the opaque parts go: the moving things stay and pictures become a veil.
struct LayerView {
    float vx = 0, vy = 0;
    Point offset;
    bool overlay = false;
    sf::Color tint;

    void fill(sf::RenderTarget& window, sf::Color c) const {
        if (!overlay) window.clear(c);
    }
};

void drawNothing(const Background&, sf::RenderTarget&, const LayerView&) {}

void drawMovingShapes(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    view.fill(window, sf::Color(30, 24, 60));
    for (const auto& it : b.items) {
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
}

void drawMovingShards(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    view.fill(window, sf::Color(12, 10, 30));
    for (const auto& it : b.items) {
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
}

void drawCrazyCircles(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    view.fill(window, sf::Color::Black);
    for (const auto& it : b.items) {
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
}

// A sky that runs from one colour at the top to another at the bottom, left out over the scene.
void drawUprightGradient(sf::RenderTarget& window, const LayerView& view, sf::Color top, sf::Color bottom) {
    sf::VertexArray sky(sf::Quads, 4);
    sky[0] = sf::Vertex({0, 0}, top);
    sky[1] = sf::Vertex({SCREEN_W, 0}, top);
    sky[2] = sf::Vertex({SCREEN_W, SCREEN_H}, bottom);
    sky[3] = sf::Vertex({0, SCREEN_H}, bottom);
    if (!view.overlay) window.draw(sky);
}

void drawHotLava(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    drawUprightGradient(window, view, sf::Color(120, 10, 0), sf::Color(255, 110, 0));
    for (const auto& it : b.items) {
        sf::CircleShape blob(it.size, 24);
        blob.setOrigin(it.size, it.size);
        blob.setPosition(positiveMod(it.x - view.vx * 0.3f, SCREEN_W), it.y);
        blob.setScale(1.0f + 0.15f * std::sin(it.spin * 2), 1.0f);
        blob.setFillColor(it.colour);
        window.draw(blob);
        sf::CircleShape core(it.size * 0.45f, 16);
        core.setOrigin(it.size * 0.45f, it.size * 0.45f);
        core.setPosition(blob.getPosition());
        core.setFillColor(sf::Color(255, 230, 120, 160));
        window.draw(core);
    }
}

void drawPineSun(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    drawUprightGradient(window, view, sf::Color(40, 40, 110), sf::Color(255, 150, 70));
    const float pulse = 1.0f + 0.03f * std::sin(b.frame * 0.05f);
    for (int k = 3; k >= 0; --k) {
        const float r = (170 + 60 * k) * pulse;
        sf::CircleShape sun(r, 60);
        sun.setOrigin(r, r);
        sun.setPosition(SCREEN_W * 0.62f, SCREEN_H * 0.62f);
        sun.setFillColor(k == 0 ? sf::Color(255, 220, 120) : sf::Color(255, 200, 90, 35));
        window.draw(sun);
    }
    const float parallax = positiveMod(-view.vx * 0.25f, 240.f);
    for (float x = parallax - 240; x < SCREEN_W + 240; x += 120) {
        const float hgt = 260 + 90 * std::sin(x * 0.037f + 1.3f);
        drawPineTree(window, x, SCREEN_H, hgt);
    }
    for (const auto& it : b.items) {
        sf::CircleShape mote(it.size);
        mote.setPosition(it.x, it.y);
        mote.setFillColor(it.colour);
        window.draw(mote);
    }
}

void drawSpaceTravel(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    view.fill(window, sf::Color(4, 2, 16));
    sf::VertexArray streaks(sf::Lines, b.items.size() * 2);
    size_t v = 0;
    for (const auto& it : b.items) {
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
}

void drawSpace(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    view.fill(window, SPACE_FILL);
    const std::vector<sf::Vertex>& stars = spaceStars(b, view.offset);
    if (stars.empty()) return;
    drawPrimitives(window, stars.data(), stars.size(), sf::Quads);
}

void drawCelular(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    if (b.cells.empty()) return;
    sf::VertexArray quads(sf::Quads, b.cells.size() * 4);
    const float cw = SCREEN_W / static_cast<float>(b.cellColumns) * (b.pixelSize.x / SCREEN_W);
    const float ch = SCREEN_H / static_cast<float>(b.cellRows) * (b.pixelSize.y / SCREEN_H);
    size_t v = 0;
    for (int i = 0; i < b.cellColumns; ++i)
        for (int j = 0; j < b.cellRows; ++j) {
            sf::Color c = b.cells[i * b.cellRows + j];
            if (view.overlay) c.a = 90;
            const float x = i * cw, y = j * ch;
            quads[v++] = sf::Vertex({x, y}, c);
            quads[v++] = sf::Vertex({x + cw, y}, c);
            quads[v++] = sf::Vertex({x + cw, y + ch}, c);
            quads[v++] = sf::Vertex({x, y + ch}, c);
        }
    window.draw(quads);
}

void drawImage(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    const sf::Texture& tex = resources->getMiscTexture(b.picture);
    const sf::Vector2u size = tex.getSize();
    if (size.x == 0 || size.y == 0) return;
    const float scale = std::max(SCREEN_W / size.x, SCREEN_H / size.y) * (b.option ? 1.2f : 1.0f);
    sf::Sprite sprite(tex);
    sprite.setScale(scale, scale);
    sprite.setColor(view.tint);
    // With the option the picture moves a little with the view, as a far backdrop would.
    sprite.setPosition(b.option ? -positiveMod(view.vx * 0.1f, size.x * scale - SCREEN_W + 1) : 0.f, 0.f);
    window.draw(sprite);
}

// Tiles are drawn at half size when the map is zoomed out.
float tileScale() {
    return displayTileSize == 60 ? 0.5f : 1.0f;
}

void drawTile(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    const sf::Vector2f offset =
        b.option ? sf::Vector2f(view.vx, view.vy) : sf::Vector2f(view.vx * 0.5f, view.vy * 0.5f);
    tileTexture(window, resources->getMiscTexture(b.picture), offset, tileScale(), view.tint, false);
}

// The animation's picture of this frame; null when the animation has none.
const sf::Texture* animationFrame(const Background& b) {
    const auto& frames = resources->getBackAnimation(b.picture);
    if (frames.empty()) return nullptr;
    return &frames[(b.frame / 3) % frames.size()];
}

void drawAnimTile(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    const sf::Texture* tex = animationFrame(b);
    if (!tex) return;
    tileTexture(window, *tex, {view.vx * 0.5f, view.vy * 0.5f}, tileScale(), view.tint, false);
}

// One picture covering the window when it fits it; otherwise tiled, drifting with the view.
void drawAnimTile2(const Background& b, sf::RenderTarget& window, const LayerView& view) {
    const sf::Texture* tex = animationFrame(b);
    if (!tex) return;
    const sf::Vector2u size = tex->getSize();
    if (size.x == 0 || size.y == 0) return;
    const float scale = std::max(SCREEN_W / size.x, SCREEN_H / size.y);
    if (scale * size.x <= SCREEN_W + 1 && scale * size.y <= SCREEN_H + 1 && !b.option) {
        sf::Sprite sprite(*tex);
        sprite.setScale(scale, scale);
        sprite.setColor(view.tint);
        window.draw(sprite);
    } else {
        tileTexture(window, *tex, {view.vx * 0.3f, 0.f}, scale, view.tint, b.option);
    }
}

using KindDrawer = void (*)(const Background&, sf::RenderTarget&, const LayerView&);

// In the order of BackgroundKind.
constexpr KindDrawer KIND_DRAWERS[BACKGROUND_KIND_COUNT] = {
    drawNothing,      drawMovingShapes, drawMovingShards, drawCrazyCircles, drawHotLava,
    drawPineSun,      drawSpaceTravel,  drawSpace,        drawCelular,      drawImage,
    drawTile,         drawAnimTile,     drawAnimTile2,
};

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
    auto stars = [&]() -> const std::vector<sf::Vertex>& { return spaceStars(*this, viewOffset); };
    if (still && copyKeptStarField(window, stars, SPACE_FILL, overKey, over)) return;
    draw(window, viewOffset);
    if (over) over(window);
}

void Background::draw(sf::RenderTarget& window, Point viewOffset, bool overlay) const {
    if (kind < 0 || kind >= BACKGROUND_KIND_COUNT) return;
    LayerView view;
    view.vx = static_cast<float>(viewOffset.x);
    view.vy = static_cast<float>(viewOffset.y);
    view.offset = viewOffset;
    view.overlay = overlay;
    view.tint = overlay ? sf::Color(colour.r, colour.g, colour.b, 90) : colour;
    KIND_DRAWERS[kind](*this, window, view);
}
