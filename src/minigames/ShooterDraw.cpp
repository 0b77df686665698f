#include "minigames/Shooter.hpp"

#include "foundation/Ellipse.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cstdlib>

namespace {

void drawCentred(sf::RenderTarget& window, sf::Text& text, float y) {
    text.setPosition((WINDOW_WIDTH - text.getLocalBounds().width) / 2, y);
    window.draw(text);
}

void drawSprite(sf::RenderTarget& window, const sf::Texture& tex, int x, int y, float rotation,
                float scale) {
    const sf::Vector2u s = tex.getSize();
    sf::Sprite sprite(tex);
    sprite.setOrigin(static_cast<float>(s.x / 2), static_cast<float>(s.y / 2));
    sprite.setPosition(static_cast<float>(x), static_cast<float>(y));
    sprite.setRotation(rotation);
    sprite.setScale(scale, scale);
    window.draw(sprite);
}

void drawTrophyMark(sf::RenderTarget& window) {
    const sf::Texture& tex = resources->getMiscTexture("Trophy");
    const sf::Vector2u s = tex.getSize();
    if (s.y == 0) return;
    sf::Sprite sprite(tex);
    const float scale = 40.0f / static_cast<float>(s.y);
    sprite.setScale(scale, scale);
    sprite.setPosition(5, 5);
    window.draw(sprite);
}

} // namespace

void SaveTheFuture::drawTitle(sf::RenderTarget& window) {
    window.clear(sf::Color(0, 50, 0));
    sf::RectangleShape panel({1820, 980});
    panel.setOrigin(910, 490);
    panel.setPosition(960, 540);
    panel.setFillColor(sf::Color(0, 70, 0));
    panel.setOutlineColor(sf::Color::White);
    panel.setOutlineThickness(1);
    window.draw(panel);
    sf::Text title("Save The Future", resources->getFont("Lutuna"), 150);
    title.setFillColor(randomColor());
    drawCentred(window, title, 432);
    sf::Text hint("Press any key to continue...", resources->getFont("Nice"), 30);
    hint.setFillColor(sf::Color::White);
    drawCentred(window, hint, 810);
}

void SaveTheFuture::draw(sf::RenderTarget& window) {
    if (state == TITLE) {
        drawTitle(window);
        return;
    }
    const SaveTheFutureShip& s = *saveTheFutureShip;
    // Back to front: the scrolling forest first
    const sf::Texture& ground = resources->getStfTexture("ForestTile");
    const int tw = static_cast<int>(ground.getSize().x), th = static_cast<int>(ground.getSize().y);
    if (tw > 0 && th > 0) {
        sf::Sprite tile(ground);
        for (int x = 0; x < WINDOW_WIDTH; x += tw)
            for (int y = groundScroll % th - th; y < WINDOW_HEIGHT; y += th) {
                tile.setPosition(static_cast<float>(x), static_cast<float>(y));
                window.draw(tile);
            }
    }
    // Shots, then missiles: under the pickups, the saucers and the ship
    for (const SaveTheFutureShot& shot : shots) {
        const float r = static_cast<float>(shot.radius);
        const float ry = shot.elongated ? static_cast<float>(shot.radius * 3 / 2) : r;
        EllipseShape e({r, ry});
        e.setOrigin(r, ry);
        e.setFillColor(shot.colour);
        e.setPosition(static_cast<float>(shot.x), static_cast<float>(shot.y));
        window.draw(e);
    }
    for (const SaveTheFutureMissile& m : missiles) {
        const sf::Texture& tex = resources->getStfTexture(m.texture);
        if (tex.getSize().y == 0) continue;
        drawSprite(window, tex, m.x, m.y, static_cast<float>(m.rotation),
                   static_cast<float>(m.length) / static_cast<float>(tex.getSize().y));
    }
    // Pickups flicker in shades of their colour
    for (const SaveTheFuturePickup& p : pickups) {
        auto shade = [](sf::Uint8 c) { return c ? static_cast<sf::Uint8>(std::rand() % c) : sf::Uint8(0); };
        const sf::Uint8 b = shade(p.colour.b);
        const sf::Uint8 g = shade(p.colour.g);
        const sf::Uint8 r = shade(p.colour.r);
        sf::CircleShape circle(24, 30);
        circle.setOrigin(24, 24);
        circle.setPosition(static_cast<float>(p.x), static_cast<float>(p.y));
        circle.setFillColor(sf::Color(r, g, b, 255));
        window.draw(circle);
    }
    // Live saucers only: a destroyed one is shown by its explosion
    for (int i : activeSaucers) {
        const SaveTheFutureSaucer& S = (*saveTheFutureSaucers)[static_cast<std::size_t>(i)];
        if (S.health <= 0) continue;
        const sf::Texture& tex = resources->getStfTexture(S.texture);
        if (tex.getSize().x == 0) continue;
        drawSprite(window, tex, S.x, S.y, static_cast<float>(S.angle),
                   static_cast<float>(S.width) / static_cast<float>(tex.getSize().x));
    }
    // The ship, its panel, and the panel of the saucer hit most recently
    drawShip(s, window);
    drawHud(s, window);
    const int shown = shownSaucer();
    if (shown >= 0) drawSaucerStatus(shown, {192, 830}, {600, 250}, window);
    // Explosions over the ship and the panels
    std::vector<sf::Texture>& frames = resources->getAnimation("Explosion");
    for (const SaveTheFutureExplosion& e : explosions) {
        if (e.frame < 0 || e.frame >= static_cast<int>(frames.size())) continue;
        const sf::Texture& tex = frames[static_cast<std::size_t>(e.frame)];
        if (tex.getSize().x == 0) continue;
        drawSprite(window, tex, e.x, e.y, 0, 100.0f / static_cast<float>(tex.getSize().x));
    }
    // The end screen's title and score over the frozen field
    if (state == LOST || state == WON) {
        sf::Text text(state == LOST ? "Game Over" : "You Won!!!", resources->getFont("Lutuna"), 100);
        text.setFillColor(randomColor());
        drawCentred(window, text, 432);
        text.setFont(resources->getFont("Nice"));
        text.setString("Score: " + std::to_string(s.score) + "/" + "40");
        text.setFillColor(state == LOST ? randomColor() : sf::Color::Green);
        drawCentred(window, text, 648);
    }
    // The trophy mark once the shooter has ever been won (its flag is saved)
    if (game && game->isBoolVarSet("WON_STF")) drawTrophyMark(window);
}

void SaveTheFuture::drawBar(sf::RenderTarget& window, Point position, int width, float fraction,
                           sf::Color fill, sf::Color background) {
    sf::RectangleShape back({static_cast<float>(width), 30});
    back.setPosition(static_cast<float>(position.x), static_cast<float>(position.y));
    back.setFillColor(background);
    back.setOutlineColor(sf::Color::White);
    back.setOutlineThickness(2);
    window.draw(back);
    sf::RectangleShape bar({static_cast<float>(width) * fraction, 30});
    bar.setPosition(static_cast<float>(position.x), static_cast<float>(position.y));
    bar.setFillColor(fill);
    window.draw(bar);
}

void SaveTheFuture::drawHud(const SaveTheFutureShip& s, sf::RenderTarget& window) {
    sf::Text text("Player (score: " + std::to_string(s.score) + ")", resources->getFont("Nice"), 30);
    text.setFillColor(sf::Color::White);
    text.setPosition(1152 + (600 - text.getLocalBounds().width) / 2, 830 + 250 / 3);
    window.draw(text);
    drawBar(window, {1152, 830 + 2 * 250 / 3}, 600,
            static_cast<float>(s.health) / static_cast<float>(s.maxHealth), sf::Color::Green,
            sf::Color::Red);
}

void SaveTheFuture::drawSaucerStatus(int index, Point position, Point size, sf::RenderTarget& window) {
    const SaveTheFutureSaucer& S = (*saveTheFutureSaucers)[static_cast<std::size_t>(index)];
    sf::Text text(S.name, resources->getFont("Nice"), 30);
    text.setFillColor(sf::Color::White);
    text.setPosition(position.x + (size.x - text.getLocalBounds().width) / 2,
                     static_cast<float>(position.y + size.y / 3));
    window.draw(text);
    drawBar(window, {position.x, position.y + 2 * size.y / 3}, size.x,
            static_cast<float>(S.health) / static_cast<float>(S.maxHealth), sf::Color::Green,
            sf::Color::Red);
}

void SaveTheFuture::drawShip(const SaveTheFutureShip& s, sf::RenderTarget& window) {
    drawShipKind3(s, window);
    if (!s.shieldOn) return;
    const float r = 1.2f * std::max(s.halfHeight, s.halfWidth);
    sf::CircleShape shield(r, 30);
    shield.setOrigin(r, r);
    shield.setPosition(static_cast<float>(s.x), static_cast<float>(s.y));
    const sf::Uint8 a = static_cast<sf::Uint8>(std::rand() % 100);
    const sf::Uint8 b = randomChannel();
    shield.setFillColor(sf::Color(0, 0, b, a));
    shield.setOutlineColor(sf::Color::White);
    shield.setOutlineThickness(4);
    window.draw(shield);
}

void SaveTheFuture::drawEngineGlow(const SaveTheFutureShip& s, int p, sf::RenderTarget& window) {
    const int P = s.period;
    const float f = glowScale(p, P);
    const sf::Vector2f radius(s.bodyUnit * 0.4f * f, s.halfHeight * f);
    EllipseShape glow(radius);
    glow.setOrigin(radius);
    const sf::Uint8 c = static_cast<sf::Uint8>(std::rand() % 125 + 125);
    glow.setFillColor(sf::Color(0, c, c));
    glow.setPosition(s.x - s.halfWidth + 2 * s.halfWidth * std::abs(p - P / 2) / static_cast<float>(P / 2),
                     static_cast<float>(s.y));
    window.draw(glow);
}

void SaveTheFuture::drawShipKind3(const SaveTheFutureShip& s, sf::RenderTarget& window) {
    const float B = 1.5f * s.bodyUnit;
    const float x = static_cast<float>(s.x), y = static_cast<float>(s.y);
    const float hh = s.halfHeight;
    int phases[4];
    for (int k = 0; k < 4; ++k) phases[k] = (s.phase + k * s.period / 4) % s.period;
    for (int p : phases)
        if (p >= s.period / 2) drawEngineGlow(s, p, window);

    EllipseShape body({B, 0.95f * hh});
    body.setOrigin(B, 0.95f * hh);
    body.setFillColor(sf::Color(100, 100, 100));
    body.setPosition(x, y);
    window.draw(body);
    EllipseShape cockpit({B / 2, 0.95f * hh / 5});
    cockpit.setOrigin(B / 2, 0.95f * hh / 5);
    cockpit.setFillColor(sf::Color::Blue);
    cockpit.setPosition(x, y - 0.95f * hh / 2);
    window.draw(cockpit);

    for (int i = 0; i < 40; ++i) {
        const float r = static_cast<float>(std::rand() % 3 + 1);
        const int spread = std::max(std::rand() % 15 - 6, 0);
        const int sign = std::rand() % 2 == 0 ? 1 : -1;
        const int sy = static_cast<int>(0.95f * hh + y + static_cast<float>(std::max(std::rand() % 35 - 7, 0)));
        const bool yellow = std::rand() % 2 == 0;
        sf::CircleShape spark(r);
        spark.setOrigin(r, r);
        spark.setPosition(x + static_cast<float>(sign * spread), static_cast<float>(sy));
        spark.setFillColor(yellow ? sf::Color(255, 255, 0, 100) : sf::Color(255, 0, 0, 100));
        window.draw(spark);
    }

    const float H = static_cast<float>(static_cast<int>(0.6f * hh));
    auto polygon = [&](std::initializer_list<sf::Vector2f> points) {
        sf::ConvexShape shape(points.size());
        std::size_t i = 0;
        for (const sf::Vector2f& p : points) shape.setPoint(i++, p);
        shape.setFillColor(sf::Color::White);
        shape.setPosition(x, y);
        window.draw(shape);
    };
    polygon({{-2, H}, {2, H}, {2, hh}, {-2, hh}});
    polygon({{0.7f * B, H}, {1.3f * B, 1.1f * H}, {1.5f * B, hh}, {0.7f * B, 0.95f * hh}});
    polygon({{-0.7f * B, H}, {-1.3f * B, 1.1f * H}, {-1.5f * B, hh}, {-0.7f * B, 0.95f * hh}});

    for (int p : phases)
        if (p < s.period / 2) drawEngineGlow(s, p, window);
}
