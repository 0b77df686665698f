#include "scenes/Buildings.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/OpaqueCopies.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>

namespace {

sf::Color shade(sf::Color c, float f) {
    return sf::Color(static_cast<sf::Uint8>(c.r * f), static_cast<sf::Uint8>(c.g * f),
                     static_cast<sf::Uint8>(c.b * f), c.a);
}

// The screen rectangle of the footprint.
sf::FloatRect footprint(const BaseBuilding& b, Point v) {
    const int T = displayTileSize;
    return {static_cast<float>(b.tile.x * T - v.x), static_cast<float>(b.tile.y * T - v.y),
            static_cast<float>(b.width * T), static_cast<float>(b.height * T)};
}

bool offScreen(const sf::FloatRect& r, float above) {
    return r.left > WINDOW_WIDTH + 120 || r.left + r.width < -120 || r.top - above > WINDOW_HEIGHT + 120 ||
           r.top + r.height < -120;
}

} // namespace

// The picture fills the footprint; roof furniture stands above it as scene objects of the row
// over the building (ceilingObjects), so it is drawn before the building's own row.
void BaseBuilding::drawPicture(sf::RenderTarget& window, Point v) const {
    const sf::FloatRect r = footprint(*this, v);
    if (offScreen(r, 0)) return;
    const sf::Texture& full = resources->getBuildingTexture(pictureName());
    const sf::Vector2u fullSize = full.getSize();
    if (fullSize.x == 0 || fullSize.y == 0) return;
    // A picture of twice the footprint (zoomed out) is drawn from its half-size picture.
    const bool half = static_cast<float>(fullSize.x) == 2 * r.width && static_cast<float>(fullSize.y) == 2 * r.height;
    const sf::Texture& tex = half ? resources->getHalfSize(full) : full;
    const sf::Vector2u size = tex.getSize();
    const sf::Color tint = damaged ? shade(colour, 0.55f) : colour;
    const bool ownSize = static_cast<float>(size.x) == r.width && static_cast<float>(size.y) == r.height;
    if (ownSize && drawByOpaqueCopies(window, tex, tint, {r.left, r.top})) return;
    sf::Sprite sprite(tex);
    sprite.setScale(r.width / static_cast<float>(size.x), r.height / static_cast<float>(size.y));
    sprite.setPosition(r.left, r.top);
    sprite.setColor(tint);
    window.draw(sprite);
}

void BaseBuilding::drawDoor(sf::RenderTarget& window, Point v) const {
    if (!hasDoor()) return;
    const float T = static_cast<float>(displayTileSize);
    const float x = door.x * T - v.x, y = door.y * T - v.y;
    sf::RectangleShape frameShape({T * 0.62f, T * 0.8f});
    frameShape.setPosition(x + T * 0.19f, y + T * 0.2f);
    frameShape.setFillColor(sf::Color(60, 35, 20));
    window.draw(frameShape);
    sf::RectangleShape leaf({T * 0.52f, T * 0.74f});
    leaf.setPosition(x + T * 0.24f, y + T * 0.26f);
    leaf.setFillColor(damaged ? sf::Color(70, 50, 35) : sf::Color(130, 80, 40));
    window.draw(leaf);
    for (int k = 1; k < 3; ++k) {
        sf::RectangleShape plank({T * 0.02f, T * 0.74f});
        plank.setPosition(x + T * (0.24f + 0.173f * k), y + T * 0.26f);
        plank.setFillColor(sf::Color(90, 55, 30));
        window.draw(plank);
    }
    sf::CircleShape knob(T * 0.035f);
    knob.setPosition(x + T * 0.62f, y + T * 0.6f);
    knob.setFillColor(sf::Color(230, 200, 80));
    window.draw(knob);
}

void drawHouseSign(sf::RenderTarget& window, const std::string& sign, float cx, float bottom,
                   float width) {
    auto it = resources->houseSigns.find(sign);
    if (it != resources->houseSigns.end() && it->second.getSize().x > 0) {
        const sf::Vector2u s = it->second.getSize();
        const float k = width / s.x;
        sf::Sprite board(it->second);
        board.setOrigin(s.x / 2.f, static_cast<float>(s.y));
        board.setScale(k, k);
        board.setPosition(cx, bottom);
        window.draw(board);
        return;
    }
    const float h = width * 0.31f;
    sf::RectangleShape board({width, h});
    board.setOrigin(width / 2, h);
    board.setPosition(cx, bottom);
    board.setFillColor(sf::Color(110, 70, 35));
    board.setOutlineColor(sf::Color(60, 35, 15));
    board.setOutlineThickness(2);
    window.draw(board);
    auto font = resources->fonts.find("Dialog");
    if (font == resources->fonts.end()) return;
    sf::Text text(sign, font->second, static_cast<unsigned>(std::max(8.f, h * 0.6f)));
    const sf::FloatRect b = text.getLocalBounds();
    if (b.width > width * 0.9f) text.setScale(width * 0.9f / b.width, width * 0.9f / b.width);
    text.setOrigin(b.left + b.width / 2, b.top + b.height / 2);
    text.setPosition(cx, bottom - h / 2);
    text.setFillColor(sf::Color(250, 235, 190));
    window.draw(text);
}

void BaseBuilding::drawSign(sf::RenderTarget& window, Point v) const {
    if (sign.empty()) return;
    const float T = static_cast<float>(displayTileSize);
    const Point at = hasDoor() ? door : Point{tile.x + width / 2, tile.y + height - 1};
    drawHouseSign(window, sign, at.x * T - v.x + T / 2, at.y * T - v.y + T * 0.15f, T * 0.9f);
}

void BaseBuilding::drawDamage(sf::RenderTarget& window, Point v) const {
    if (!damaged) return;
    const sf::FloatRect r = footprint(*this, v);
    const float T = static_cast<float>(displayTileSize);
    // Cracks: fixed by the building's place so they do not jump between frames.
    int seed = tile.x * 7919 + tile.y * 104729 + 17;
    XorShift gen(&seed);
    sf::VertexArray cracks(sf::Lines);
    for (int c = 0; c < 3 + width; ++c) {
        sf::Vector2f p{r.left + gen.next(static_cast<int>(r.width) + 1),
                       r.top + gen.next(static_cast<int>(r.height) + 1)};
        for (int s = 0; s < 4; ++s) {
            sf::Vector2f q{p.x + gen.next(static_cast<int>(T / 3) + 1) - T / 6,
                           p.y + gen.next(static_cast<int>(T / 4) + 1)};
            cracks.append(sf::Vertex(p, sf::Color(20, 15, 10)));
            cracks.append(sf::Vertex(q, sf::Color(20, 15, 10)));
            p = q;
        }
    }
    window.draw(cracks);
    // Smoke rising from the roof.
    for (int k = 0; k < 5; ++k) {
        const float age = static_cast<float>((frame * 2 + k * 40) % 200) / 200.f;
        const float radius = T * (0.15f + 0.35f * age);
        sf::CircleShape puff(radius, 20);
        puff.setOrigin(radius, radius);
        puff.setPosition(r.left + r.width * (0.3f + 0.1f * k) + std::sin(age * 6 + k) * T * 0.2f,
                         r.top - age * T * 2.5f);
        puff.setFillColor(sf::Color(60, 60, 60, static_cast<sf::Uint8>(160 * (1 - age))));
        window.draw(puff);
    }
}

void BaseBuilding::draw(sf::RenderTarget& window, Point v) const {
    drawPicture(window, v);
    drawDoor(window, v);
    drawSign(window, v);
    drawDamage(window, v);
}

void House::draw(sf::RenderTarget& window, Point v) const { BaseBuilding::draw(window, v); }
void Building::draw(sf::RenderTarget& window, Point v) const { BaseBuilding::draw(window, v); }
void QV1House::draw(sf::RenderTarget& window, Point v) const { BaseBuilding::draw(window, v); }
void Pyramid::draw(sf::RenderTarget& window, Point v) const { BaseBuilding::draw(window, v); }
void MushroomBuilding::draw(sf::RenderTarget& window, Point v) const { BaseBuilding::draw(window, v); }

void Tower::draw(sf::RenderTarget& window, Point v) const {
    BaseBuilding::draw(window, v);
    // A lit window high up that blinks now and then.
    const sf::FloatRect r = footprint(*this, v);
    const float T = static_cast<float>(displayTileSize);
    sf::RectangleShape light({T * 0.18f, T * 0.26f});
    light.setOrigin(T * 0.09f, 0);
    light.setPosition(r.left + r.width / 2, r.top + T * 0.3f);
    light.setFillColor((frame / 50) % 5 == 0 || damaged ? sf::Color(40, 40, 60)
                                                          : sf::Color(255, 220, 120));
    window.draw(light);
}

void Castle::draw(sf::RenderTarget& window, Point v) const { BaseBuilding::draw(window, v); }

void TextureBuilding::draw(sf::RenderTarget& window, Point v) const {
    const sf::FloatRect r = footprint(*this, v);
    const float T = static_cast<float>(displayTileSize);
    if (offScreen(r, 0)) return;
    const sf::Color wallTint = damaged ? shade(colour, 0.55f) : colour;
    if (!texture.empty()) {
        const sf::Texture& tex = resources->getTexture(texture, displayTileSize == 60);
        const sf::Vector2u s = tex.getSize();
        if (s.x > 0) {
            sf::Sprite wall(tex);
            wall.setScale(T / s.x, T / s.y);
            wall.setColor(wallTint);
            for (int x = 0; x < width; ++x)
                for (int y = 0; y < height; ++y) {
                    wall.setPosition(r.left + x * T, r.top + y * T);
                    window.draw(wall);
                }
        }
    } else {
        sf::RectangleShape wall({r.width, r.height});
        wall.setPosition(r.left, r.top);
        wall.setFillColor(wallTint);
        window.draw(wall);
    }
    // The roof: a gable over the top row.
    sf::ConvexShape roof(3);
    roof.setPoint(0, {r.left, r.top + T});
    roof.setPoint(1, {r.left + r.width / 2, r.top});
    roof.setPoint(2, {r.left + r.width, r.top + T});
    roof.setFillColor(damaged ? sf::Color(70, 40, 35) : sf::Color(150, 50, 40));
    roof.setOutlineColor(sf::Color(80, 25, 20));
    roof.setOutlineThickness(3);
    window.draw(roof);
    // Windows either side of the door row.
    for (int x = 0; x < width; ++x) {
        if (Point{tile.x + x, tile.y + height - 1} == door) continue;
        sf::RectangleShape pane({T * 0.4f, T * 0.36f});
        pane.setPosition(r.left + x * T + T * 0.3f, r.top + r.height - T * 0.75f);
        pane.setFillColor(damaged ? sf::Color(30, 30, 30) : sf::Color(170, 210, 240));
        pane.setOutlineColor(sf::Color(70, 45, 25));
        pane.setOutlineThickness(T * 0.04f);
        window.draw(pane);
    }
    drawDoor(window, v);
    drawSign(window, v);
    drawDamage(window, v);
}

void Circus::draw(sf::RenderTarget& window, Point v) const {
    BaseBuilding::draw(window, v);
    // Bulbs along the tent's edge run in a chase.
    const sf::FloatRect r = footprint(*this, v);
    const float T = static_cast<float>(displayTileSize);
    const int bulbs = width * 4;
    for (int k = 0; k < bulbs; ++k) {
        sf::CircleShape bulb(T * 0.05f);
        bulb.setOrigin(T * 0.05f, T * 0.05f);
        bulb.setPosition(r.left + (k + 0.5f) * r.width / bulbs, r.top + r.height - T * 1.05f);
        const bool on = !damaged && (k + frame / 6) % 3 == 0;
        bulb.setFillColor(on ? sf::Color(255, 240, 120) : sf::Color(120, 90, 40));
        window.draw(bulb);
    }
}

void TreeBuilding::draw(sf::RenderTarget& window, Point v) const {
    BaseBuilding::draw(window, v);
    // Leaves drift down from the crown.
    const sf::FloatRect r = footprint(*this, v);
    const float T = static_cast<float>(displayTileSize);
    for (int k = 0; k < 4; ++k) {
        const float age = static_cast<float>((frame + k * 37) % 150) / 150.f;
        sf::CircleShape leaf(T * 0.05f, 6);
        leaf.setScale(1.6f, 0.8f);
        leaf.setPosition(r.left + r.width * (0.2f + 0.2f * k) + std::sin(age * 9 + k) * T * 0.3f,
                         r.top - T + age * (r.height + T));
        leaf.setFillColor(sf::Color(90, 160, 60, static_cast<sf::Uint8>(255 * (1 - age))));
        window.draw(leaf);
    }
}

void CaveEntry::draw(sf::RenderTarget& window, Point v) const {
    drawPicture(window, v);
    // The mouth: a dark arch at the door.
    if (hasDoor()) {
        const float T = static_cast<float>(displayTileSize);
        const float x = door.x * T - v.x, y = door.y * T - v.y;
        sf::CircleShape arch(T * 0.42f, 30);
        arch.setPosition(x + T * 0.08f, y + T * 0.1f);
        arch.setFillColor(sf::Color(8, 6, 10));
        window.draw(arch);
        sf::RectangleShape bottom({T * 0.84f, T * 0.48f});
        bottom.setPosition(x + T * 0.08f, y + T * 0.52f);
        bottom.setFillColor(sf::Color(8, 6, 10));
        window.draw(bottom);
    }
    drawSign(window, v);
    drawDamage(window, v);
}
