// The eighteen figures. Each is drawn in a figure box one unit wide and 1.5 units tall whose
// bottom edge is the ground line of the character's square; a unit is the drawn size times the
// size factor, and the box is scaled about the middle of the ground line.
#include "characters/Character.hpp"

#include "battle/Battle.hpp"
#include "battle/Items.hpp"
#include "characters/People.hpp"
#include "foundation/Ellipse.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

const float PI = 3.14159265f;
const int FRAMES = 8;

sf::Color darker(sf::Color c, float f = 0.45f) {
    return sf::Color(static_cast<sf::Uint8>(c.r * f), static_cast<sf::Uint8>(c.g * f),
                     static_cast<sf::Uint8>(c.b * f), c.a);
}

sf::Color lighter(sf::Color c, float f = 0.45f) {
    auto up = [f](sf::Uint8 v) { return static_cast<sf::Uint8>(v + (255 - v) * f); };
    return sf::Color(up(c.r), up(c.g), up(c.b), c.a);
}

sf::Color alpha(sf::Color c, int a) { return sf::Color(c.r, c.g, c.b, static_cast<sf::Uint8>(a)); }

// Draws in figure units onto the target, with the tint applied to every colour.
struct Pen {
    sf::RenderTarget& target;
    sf::Vector2f box; // top-left of the figure box in pixels
    float u;          // one figure unit in pixels
    sf::Color tint;
    bool flip = false; // mirrored left to right
    int frame = 0;

    float phase(float speed = 1.f, float offset = 0.f) const {
        return std::sin(2.f * PI * static_cast<float>(frame) / FRAMES * speed + offset);
    }
    sf::Vector2f at(float x, float y) const {
        return {box.x + (flip ? 1.f - x : x) * u, box.y + y * u};
    }
    sf::Color col(sf::Color c) const {
        auto sub = [](int v, int t) { return static_cast<sf::Uint8>(std::max(0, v - t)); };
        return sf::Color(sub(c.r, tint.r), sub(c.g, tint.g), sub(c.b, tint.b),
                         static_cast<sf::Uint8>(c.a * (255 - tint.a) / 255));
    }
    float lineWidth() const { return std::max(1.f, u / 70.f); }

    void ellipse(float cx, float cy, float rx, float ry, sf::Color fill, bool outline = true,
                 float rotation = 0.f) {
        EllipseShape e({rx * u, ry * u});
        e.setOrigin(rx * u, ry * u);
        e.setPosition(at(cx, cy));
        e.setRotation(flip ? -rotation : rotation);
        e.setFillColor(col(fill));
        if (outline && fill.a > 0) {
            e.setOutlineThickness(lineWidth());
            e.setOutlineColor(col(alpha(darker(fill, 0.35f), fill.a)));
        }
        target.draw(e);
    }
    void rect(float x, float y, float w, float h, sf::Color fill, bool outline = true) {
        sf::RectangleShape r({w * u, h * u});
        sf::Vector2f p = at(flip ? x + w : x, y);
        r.setPosition(p);
        r.setFillColor(col(fill));
        if (outline) {
            r.setOutlineThickness(lineWidth());
            r.setOutlineColor(col(alpha(darker(fill, 0.35f), fill.a)));
        }
        target.draw(r);
    }
    // A star-shaped polygon, filled as a fan from its centroid.
    void poly(const std::vector<sf::Vector2f>& pts, sf::Color fill, bool outline = true) {
        if (pts.size() < 3) return;
        sf::Vector2f c;
        for (auto& p : pts) c += p;
        c /= static_cast<float>(pts.size());
        sf::VertexArray fan(sf::TriangleFan, pts.size() + 2);
        sf::Color f = col(fill);
        fan[0] = sf::Vertex(at(c.x, c.y), f);
        for (size_t i = 0; i <= pts.size(); ++i)
            fan[i + 1] = sf::Vertex(at(pts[i % pts.size()].x, pts[i % pts.size()].y), f);
        target.draw(fan);
        if (outline)
            for (size_t i = 0; i < pts.size(); ++i) {
                auto& a = pts[i];
                auto& b = pts[(i + 1) % pts.size()];
                line(a.x, a.y, b.x, b.y, lineWidth() / u, alpha(darker(fill, 0.35f), fill.a));
            }
    }
    void line(float x0, float y0, float x1, float y1, float thick, sf::Color c, bool round = false) {
        sf::Vector2f a = at(x0, y0), b = at(x1, y1);
        sf::Vector2f d = b - a;
        float len = std::sqrt(d.x * d.x + d.y * d.y);
        float w = std::max(1.f, thick * u);
        sf::RectangleShape r({len, w});
        r.setOrigin(0, w / 2);
        r.setPosition(a);
        r.setRotation(std::atan2(d.y, d.x) * 180.f / PI);
        r.setFillColor(col(c));
        target.draw(r);
        if (round) {
            sf::CircleShape dot(w / 2);
            dot.setOrigin(w / 2, w / 2);
            dot.setFillColor(col(c));
            dot.setPosition(a);
            target.draw(dot);
            dot.setPosition(b);
            target.draw(dot);
        }
    }
    // A limb: a thick rounded line with an outline.
    void limb(float x0, float y0, float x1, float y1, float thick, sf::Color c) {
        line(x0, y0, x1, y1, thick + 2 * lineWidth() / u, darker(c, 0.35f), true);
        line(x0, y0, x1, y1, thick, c, true);
    }
    // A picture centred at (cx, cy), w units wide, keeping its aspect unless h is given.
    void picture(const sf::Texture& tex, float cx, float cy, float w, float h = 0.f,
                 float rotation = 0.f, bool mirror = false) {
        sf::Vector2u ts = tex.getSize();
        if (ts.x == 0 || ts.y == 0) return;
        sf::Sprite s(tex);
        s.setOrigin(ts.x / 2.f, ts.y / 2.f);
        float sx = w * u / static_cast<float>(ts.x);
        float sy = h > 0 ? h * u / static_cast<float>(ts.y) : sx;
        bool m = mirror != flip;
        s.setScale(m ? -sx : sx, sy);
        s.setRotation(flip ? -rotation : rotation);
        s.setPosition(at(cx, cy));
        s.setColor(sf::Color(static_cast<sf::Uint8>(255 - tint.r), static_cast<sf::Uint8>(255 - tint.g),
                             static_cast<sf::Uint8>(255 - tint.b), static_cast<sf::Uint8>(255 - tint.a)));
        target.draw(s);
    }
    void shadow(float cx, float rx) { ellipse(cx, 1.46f, rx, 0.045f, sf::Color(0, 0, 0, 70), false); }
};

// Two eyes with whites, irises in the character's eye colour, pupils and a glint; closed on
// the last frame of the cycle (a blink).
void eyes(Pen& p, const Character& c, float x1, float x2, float y, float r, float look = 0.f) {
    if (p.frame == FRAMES - 1 && c.type != CharacterType::SKELETON) {
        p.line(x1 - r, y, x1 + r, y, r * 0.35f, sf::Color(40, 25, 20));
        p.line(x2 - r, y, x2 + r, y, r * 0.35f, sf::Color(40, 25, 20));
        return;
    }
    for (float x : {x1, x2}) {
        p.ellipse(x, y, r, r * 1.2f, sf::Color(250, 250, 250), false);
        p.line(x - r * 0.9f, y - r * 1.05f, x + r * 0.9f, y - r * 1.05f, r * 0.25f, sf::Color(40, 25, 20), true);
        p.ellipse(x + look * r * 0.45f, y + r * 0.1f, r * 0.62f, r * 0.72f, c.eyeColor, false);
        p.ellipse(x + look * r * 0.5f, y + r * 0.12f, r * 0.3f, r * 0.36f, sf::Color(15, 15, 20), false);
        p.ellipse(x + look * r * 0.5f - r * 0.25f, y - r * 0.25f, r * 0.18f, r * 0.18f,
                  sf::Color(255, 255, 255, 230), false);
    }
}

// How far the irises turn toward the facing (mirrored figures already look the other way).
float lookOf(const Character& c, const Pen& p) {
    if (c.facing == EAST || c.facing == WEST) return p.flip ? -1.f : 1.f;
    return 0.f;
}

int pickNumber(const std::map<int, sf::Texture>& textures, const std::vector<int>& numbers, int wanted) {
    if (textures.count(wanted) > 0) return wanted;
    if (!numbers.empty()) return numbers[static_cast<size_t>(std::abs(wanted)) % numbers.size()];
    return -1;
}

void humanMouth(Pen& p, const Character& c, float cx, float cy, float w) {
    int n = resources != nullptr ? pickNumber(resources->mouths, resources->mouthNumbers, c.mouth) : -1;
    if (n >= 0) {
        p.picture(resources->mouths.at(n), cx, cy, w);
        return;
    }
    p.line(cx - w / 2, cy, cx + w / 2, cy, w * 0.15f, sf::Color(120, 30, 30), true);
}

void monsterMouth(Pen& p, const Character& c, float cx, float cy, float w) {
    int n = resources != nullptr
                ? pickNumber(resources->monsterMouths, resources->monsterMouthNumbers, c.mouth)
                : -1;
    if (n >= 0) {
        p.picture(resources->monsterMouths.at(n), cx, cy, w);
        return;
    }
    p.ellipse(cx, cy, w / 2, w / 4, sf::Color(90, 10, 20));
}

void monsterWings(Pen& p, float cx, float cy, float w) {
    if (resources == nullptr) return;
    float flap = 0.65f + 0.35f * p.phase(2.f);
    float angle = 12.f * p.phase(2.f);
    const sf::Texture& left = resources->monsterWings[1];
    const sf::Texture& right = resources->monsterWings[0];
    p.picture(left, cx - w * 0.45f, cy, w * flap, w * 0.9f, -angle);
    p.picture(right, cx + w * 0.45f, cy, w * flap, w * 0.9f, angle);
}

// ---------------------------------------------------------------------------------------------
// The figures

void drawHumanoid(Pen& p, Character& c, float scale, float lift) {
    // scale < 1 draws a smaller person standing on the same ground line (fairies).
    auto X = [&](float x) { return 0.5f + (x - 0.5f) * scale; };
    auto Y = [&](float y) { return 1.45f - (1.45f - y) * scale - lift; };
    float s = scale;
    bool back = c.showBack;
    float step = p.phase();
    sf::Color pants = darker(c.color, 0.55f);
    sf::Color shoe(60, 40, 30);
    if (lift == 0.f) p.shadow(0.5f, 0.24f * s);
    // legs
    p.limb(X(0.42f), Y(1.12f), X(0.41f), Y(1.40f) - 0.03f * std::max(0.f, step) * s, 0.11f * s, pants);
    p.limb(X(0.58f), Y(1.12f), X(0.59f), Y(1.40f) - 0.03f * std::max(0.f, -step) * s, 0.11f * s, pants);
    p.ellipse(X(0.40f), Y(1.42f) - 0.03f * std::max(0.f, step) * s, 0.075f * s, 0.04f * s, shoe);
    p.ellipse(X(0.60f), Y(1.42f) - 0.03f * std::max(0.f, -step) * s, 0.075f * s, 0.04f * s, shoe);
    // arms swing against the legs
    float swing = 0.05f * step * s;
    sf::Color sleeve = darker(c.color, 0.85f);
    p.limb(X(0.30f), Y(0.80f), X(0.24f) - swing, Y(1.07f), 0.09f * s, sleeve);
    p.limb(X(0.70f), Y(0.80f), X(0.76f) + swing, Y(1.07f), 0.09f * s, sleeve);
    p.ellipse(X(0.24f) - swing, Y(1.10f), 0.05f * s, 0.05f * s, c.skin);
    p.ellipse(X(0.76f) + swing, Y(1.10f), 0.05f * s, 0.05f * s, c.skin);
    // torso: a tunic narrowing to the waist
    p.poly({{X(0.30f), Y(0.76f)}, {X(0.70f), Y(0.76f)}, {X(0.68f), Y(1.16f)}, {X(0.32f), Y(1.16f)}},
           c.color);
    p.ellipse(X(0.5f), Y(0.78f), 0.2f * s, 0.06f * s, c.color, false);
    p.rect(X(0.32f), Y(1.06f), 0.36f * s, 0.04f * s, darker(c.color, 0.4f), false);
    if (!back) p.ellipse(X(0.5f), Y(1.08f), 0.03f * s, 0.025f * s, sf::Color(230, 200, 80), false);
    // head
    float hx = X(0.5f), hy = Y(0.50f), hr = 0.21f * s;
    if (!back) p.ellipse(hx, hy - 0.03f * s, hr * 1.15f, hr * 1.05f, c.hair); // hair behind
    p.ellipse(X(0.5f), Y(0.73f), 0.05f * s, 0.04f * s, c.skin, false);      // neck
    p.ellipse(hx, hy, hr, hr * 1.02f, c.skin);
    if (back) {
        p.ellipse(hx, hy - 0.01f * s, hr * 1.06f, hr * 1.0f, c.hair);
    } else {
        // fringe and ears
        p.ellipse(hx - hr * 0.98f, hy + 0.02f * s, 0.035f * s, 0.05f * s, c.skin);
        p.ellipse(hx + hr * 0.98f, hy + 0.02f * s, 0.035f * s, 0.05f * s, c.skin);
        p.poly({{hx - hr * 1.05f, hy - 0.02f * s}, {hx - hr * 0.9f, hy - hr * 0.85f},
                {hx, hy - hr * 1.12f}, {hx + hr * 0.9f, hy - hr * 0.85f},
                {hx + hr * 1.05f, hy - 0.02f * s}, {hx + hr * 0.5f, hy - hr * 0.5f},
                {hx - hr * 0.2f, hy - hr * 0.55f}},
               c.hair, false);
        float look = lookOf(c, p);
        eyes(p, c, hx - hr * 0.42f, hx + hr * 0.42f, hy + 0.01f * s, 0.05f * s, look);
        p.ellipse(hx + look * 0.02f * s, hy + 0.07f * s, 0.018f * s, 0.014f * s, darker(c.skin, 0.8f), false);
        p.ellipse(hx - hr * 0.62f, hy + 0.08f * s, 0.035f * s, 0.02f * s, sf::Color(240, 120, 120, 90), false);
        p.ellipse(hx + hr * 0.62f, hy + 0.08f * s, 0.035f * s, 0.02f * s, sf::Color(240, 120, 120, 90), false);
        humanMouth(p, c, hx + look * 0.01f * s, hy + 0.12f * s, 0.13f * s);
    }
    if (!c.hat.empty() && resources != nullptr)
        p.picture(resources->getHatTexture(c.hat), hx, hy - hr * 0.95f, 0.55f * s);
    // the weapon hand
    c.weaponPoint = p.at(X(0.76f) + swing, Y(1.10f));
    if (c.weapon != NO_ITEM && itemList != nullptr && resources != nullptr && c.weapon < itemList->size()) {
        auto found = resources->items.find(itemList->at(c.weapon).name);
        if (found != resources->items.end())
            p.picture(found->second, X(0.80f) + swing, Y(0.98f), 0.28f * s, 0.f, 20.f);
    }
}

void drawNormal(Pen& p, Character& c) { drawHumanoid(p, c, 1.f, 0.f); }

void drawFairy(Pen& p, Character& c) {
    float hover = 0.10f + 0.04f * p.phase();
    p.shadow(0.5f, 0.16f);
    // sparkles trail
    for (int i = 0; i < 5; ++i) {
        float a = 2.f * PI * (static_cast<float>(i) / 5.f + static_cast<float>(p.frame) / FRAMES);
        p.ellipse(0.5f + 0.38f * std::cos(a), 0.85f + 0.3f * std::sin(a) - hover, 0.018f, 0.018f,
                  sf::Color(255, 250, 170, 200), false);
    }
    if (resources != nullptr && !c.flyingNoWings) {
        float flap = 0.6f + 0.4f * std::fabs(p.phase(2.f));
        sf::Vector2u ts = resources->fairyWings.getSize();
        if (ts.x > 0) p.picture(resources->fairyWings, 0.5f, 0.88f - hover, 0.95f * flap, 0.7f);
    }
    drawHumanoid(p, c, 0.72f, hover);
}

void drawMonster(Pen& p, Character& c) {
    float breathe = 0.02f * p.phase();
    float hover = c.flying ? 0.08f + 0.04f * p.phase() : 0.f;
    p.shadow(0.5f, 0.34f);
    if (c.flying && !c.flyingNoWings) monsterWings(p, 0.5f, 0.75f - hover, 0.6f);
    sf::Color skin = c.color;
    // feet and arms
    p.ellipse(0.32f, 1.40f - hover, 0.1f, 0.06f, darker(skin, 0.7f));
    p.ellipse(0.68f, 1.40f - hover, 0.1f, 0.06f, darker(skin, 0.7f));
    p.limb(0.16f, 0.92f - hover, 0.08f, 1.12f - hover + 0.03f * p.phase(), 0.09f, skin);
    p.limb(0.84f, 0.92f - hover, 0.92f, 1.12f - hover - 0.03f * p.phase(), 0.09f, skin);
    for (float x : {0.06f, 0.10f}) p.line(x, 1.13f - hover, x - 0.02f, 1.2f - hover, 0.02f, sf::Color(240, 240, 220));
    for (float x : {0.90f, 0.94f}) p.line(x, 1.13f - hover, x + 0.02f, 1.2f - hover, 0.02f, sf::Color(240, 240, 220));
    // horns
    sf::Color horn(235, 225, 200);
    p.poly({{0.24f, 0.52f - hover}, {0.14f, 0.22f - hover}, {0.34f, 0.46f - hover}}, horn);
    p.poly({{0.76f, 0.52f - hover}, {0.86f, 0.22f - hover}, {0.66f, 0.46f - hover}}, horn);
    // body
    p.ellipse(0.5f, 0.92f - hover, 0.38f + breathe, 0.48f - breathe, skin);
    if (c.showBack) {
        for (int i = 0; i < 4; ++i) {
            float y = 0.58f + 0.16f * static_cast<float>(i) - hover;
            p.poly({{0.44f, y}, {0.5f, y - 0.09f}, {0.56f, y}}, darker(skin, 0.7f));
        }
        return;
    }
    p.ellipse(0.5f, 1.05f - hover, 0.24f, 0.28f, lighter(skin, 0.35f), false);
    eyes(p, c, 0.37f, 0.63f, 0.72f - hover, 0.085f, lookOf(c, p));
    p.line(0.27f, 0.60f - hover, 0.44f, 0.64f - hover, 0.03f, darker(skin, 0.4f));
    p.line(0.56f, 0.64f - hover, 0.73f, 0.60f - hover, 0.03f, darker(skin, 0.4f));
    monsterMouth(p, c, 0.5f, 0.98f - hover, 0.42f);
}

void drawGhost(Pen& p, Character& c) {
    float bob = 0.05f * p.phase();
    sf::Color sheet = c.color;
    sheet.a = 205;
    std::vector<sf::Vector2f> pts;
    for (int i = 0; i <= 12; ++i) { // the round top
        float a = PI + PI * static_cast<float>(i) / 12.f;
        pts.push_back({0.5f + 0.36f * std::cos(a), 0.62f + 0.40f * std::sin(a) + bob});
    }
    pts.push_back({0.88f, 1.05f + bob});
    for (int i = 0; i <= 8; ++i) { // wavy hem
        float x = 0.88f - 0.76f * static_cast<float>(i) / 8.f;
        float wave = 0.06f * std::sin(static_cast<float>(i) * PI / 2.f + 2.f * PI * p.frame / FRAMES);
        pts.push_back({x, 1.32f + wave + bob});
    }
    pts.push_back({0.12f, 1.05f + bob});
    p.ellipse(0.5f, 1.46f, 0.2f, 0.035f, sf::Color(0, 0, 0, 40), false);
    p.poly(pts, sheet);
    p.limb(0.14f, 0.85f + bob, 0.04f, 0.98f + bob - 0.04f * p.phase(), 0.07f, sheet);
    p.limb(0.86f, 0.85f + bob, 0.96f, 0.98f + bob + 0.04f * p.phase(), 0.07f, sheet);
    if (c.showBack) return;
    eyes(p, c, 0.38f, 0.62f, 0.58f + bob, 0.075f, lookOf(c, p));
    float open = 0.05f + 0.02f * std::fabs(p.phase());
    p.ellipse(0.5f, 0.84f + bob, 0.06f, open, sf::Color(40, 20, 50));
}

void drawSnake(Pen& p, Character& c) {
    sf::Color skin = c.color;
    p.ellipse(0.5f, 1.44f, 0.4f, 0.04f, sf::Color(0, 0, 0, 60), false);
    // body: a coil of segments along a travelling wave, thick at the tail end of the coil
    const int n = 14;
    for (int i = 0; i < n; ++i) {
        float t = static_cast<float>(i) / (n - 1);
        float x = 0.10f + 0.62f * t;
        float y = 1.32f + 0.06f * std::sin(t * 3.f * PI - 2.f * PI * p.frame / FRAMES);
        float r = 0.055f + 0.045f * std::sin(t * PI);
        p.ellipse(x, y, r, r * 0.9f, (i % 3 == 0) ? darker(skin, 0.7f) : skin);
    }
    // the raised neck toward the head
    float sway = 0.03f * p.phase();
    for (int i = 0; i < 6; ++i) {
        float t = static_cast<float>(i) / 5.f;
        p.ellipse(0.74f + 0.04f * t + sway * t, 1.28f - 0.42f * t, 0.07f - 0.01f * t, 0.07f, skin);
    }
    float hx = 0.78f + sway, hy = 0.80f;
    // flicking tongue
    if (p.frame % 4 < 2) {
        p.line(hx + 0.12f, hy + 0.05f, hx + 0.22f, hy + 0.06f, 0.015f, sf::Color(220, 30, 50));
        p.line(hx + 0.22f, hy + 0.06f, hx + 0.26f, hy + 0.03f, 0.012f, sf::Color(220, 30, 50));
        p.line(hx + 0.22f, hy + 0.06f, hx + 0.26f, hy + 0.09f, 0.012f, sf::Color(220, 30, 50));
    }
    p.ellipse(hx, hy, 0.15f, 0.1f, skin, true, 8.f);
    p.ellipse(hx, hy + 0.03f, 0.1f, 0.045f, lighter(skin, 0.4f), false);
    if (c.showBack) return;
    eyes(p, c, hx - 0.04f, hx + 0.07f, hy - 0.04f, 0.035f, 1.f);
    p.line(hx + 0.02f, hy + 0.06f, hx + 0.13f, hy + 0.05f, 0.012f, darker(skin, 0.3f));
}

void drawHoist(Pen& p, Character& c) {
    sf::Color body = c.color;
    p.shadow(0.5f, 0.42f);
    // tracks
    p.rect(0.08f, 1.28f, 0.84f, 0.14f, sf::Color(50, 50, 55));
    for (int i = 0; i < 5; ++i) {
        float x = 0.16f + 0.17f * static_cast<float>(i);
        p.ellipse(x, 1.35f, 0.05f, 0.05f, sf::Color(120, 120, 130));
        float a = 2.f * PI * p.frame / FRAMES + static_cast<float>(i);
        p.line(x, 1.35f, x + 0.04f * std::cos(a), 1.35f + 0.04f * std::sin(a), 0.012f, sf::Color(40, 40, 40));
    }
    // mast and boom
    p.rect(0.66f, 0.10f, 0.08f, 1.0f, darker(body, 0.8f));
    for (int i = 0; i < 8; ++i) {
        float y = 0.12f + 0.12f * static_cast<float>(i);
        p.line(0.66f, y, 0.74f, y + 0.12f, 0.01f, darker(body, 0.5f));
    }
    p.rect(0.10f, 0.06f, 0.70f, 0.07f, darker(body, 0.8f));
    // cable and hook, going up and down
    float drop = 0.38f + 0.22f * p.phase();
    p.line(0.18f, 0.13f, 0.18f, 0.13f + drop, 0.012f, sf::Color(60, 60, 60));
    p.poly({{0.13f, 0.13f + drop}, {0.23f, 0.13f + drop}, {0.20f, 0.20f + drop}, {0.16f, 0.20f + drop}},
           sf::Color(90, 90, 100));
    p.line(0.18f, 0.20f + drop, 0.18f, 0.27f + drop, 0.02f, sf::Color(150, 150, 160));
    p.line(0.18f, 0.27f + drop, 0.24f, 0.25f + drop, 0.02f, sf::Color(150, 150, 160));
    // cabin with a face in its window
    p.rect(0.14f, 0.80f, 0.62f, 0.48f, body);
    p.rect(0.20f, 0.86f, 0.42f, 0.22f, sf::Color(170, 215, 240));
    if (!c.showBack) {
        eyes(p, c, 0.33f, 0.49f, 0.96f, 0.045f, lookOf(c, p));
        p.rect(0.30f, 1.16f, 0.22f, 0.05f, sf::Color(40, 40, 40));
        for (int i = 0; i < 4; ++i) p.rect(0.31f + 0.055f * i, 1.165f, 0.035f, 0.04f, sf::Color(230, 230, 230), false);
    }
    // warning light
    p.ellipse(0.45f, 0.77f, 0.04f, 0.03f, p.frame % 4 < 2 ? sf::Color(255, 140, 0) : sf::Color(120, 60, 0));
}

void drawFlyRobot(Pen& p, Character& c) {
    float hover = 0.12f + 0.05f * p.phase();
    p.shadow(0.5f, 0.2f);
    sf::Color metal = c.color;
    // jet flame
    float flick = 0.06f + 0.03f * std::fabs(p.phase(3.f));
    p.poly({{0.42f, 1.06f - hover}, {0.58f, 1.06f - hover}, {0.5f, 1.12f + flick - hover}},
           sf::Color(255, 170, 40, 220), false);
    p.poly({{0.46f, 1.06f - hover}, {0.54f, 1.06f - hover}, {0.5f, 1.09f + flick * 0.6f - hover}},
           sf::Color(255, 250, 180, 240), false);
    // antenna and rotor
    p.line(0.5f, 0.40f - hover, 0.5f, 0.22f - hover, 0.02f, sf::Color(80, 80, 90));
    float blade = 0.32f * std::fabs(std::cos(2.f * PI * p.frame / FRAMES * 2.f)) + 0.04f;
    p.ellipse(0.5f, 0.22f - hover, blade, 0.025f, sf::Color(60, 60, 70));
    p.ellipse(0.5f, 0.22f - hover, 0.03f, 0.03f, sf::Color(200, 40, 40));
    // body
    p.ellipse(0.5f, 0.75f - hover, 0.34f, 0.34f, metal);
    p.ellipse(0.42f, 0.65f - hover, 0.12f, 0.08f, alpha(sf::Color::White, 90), false);
    // arms (little claws)
    p.limb(0.18f, 0.82f - hover, 0.08f, 0.95f - hover, 0.05f, darker(metal, 0.8f));
    p.limb(0.82f, 0.82f - hover, 0.92f, 0.95f - hover, 0.05f, darker(metal, 0.8f));
    if (c.showBack) {
        p.rect(0.38f, 0.66f - hover, 0.24f, 0.2f, darker(metal, 0.7f));
        return;
    }
    // visor with eyes, and a speaker grill for a mouth
    p.rect(0.24f, 0.62f - hover, 0.52f, 0.16f, sf::Color(30, 35, 50));
    float look = lookOf(c, p) * 0.04f;
    for (float x : {0.38f, 0.62f}) {
        p.ellipse(x + look, 0.70f - hover, 0.055f, 0.045f, c.eyeColor, false);
        p.ellipse(x + look, 0.70f - hover, 0.025f, 0.02f, lighter(c.eyeColor, 0.7f), false);
    }
    p.rect(0.40f, 0.86f - hover, 0.20f, 0.07f, darker(metal, 0.5f));
    for (int i = 0; i < 4; ++i) p.line(0.42f + 0.05f * i, 0.87f - hover, 0.42f + 0.05f * i, 0.92f - hover, 0.01f, sf::Color(200, 200, 200));
}

void drawCat(Pen& p, Character& c) {
    sf::Color fur = c.color;
    p.shadow(0.5f, 0.3f);
    // tail swishing
    float sw = p.phase();
    std::vector<sf::Vector2f> tail;
    for (int i = 0; i < 8; ++i) {
        float t = static_cast<float>(i) / 7.f;
        tail.push_back({0.22f - 0.12f * t + 0.06f * sw * t, 1.15f - 0.45f * t + 0.03f * sw * t * t});
    }
    for (size_t i = 0; i + 1 < tail.size(); ++i)
        p.limb(tail[i].x, tail[i].y, tail[i + 1].x, tail[i + 1].y, 0.07f, fur);
    // body and legs
    p.ellipse(0.48f, 1.12f, 0.3f, 0.22f, fur);
    float step = 0.02f * p.phase();
    for (float x : {0.30f, 0.44f, 0.56f, 0.68f}) {
        float s = (x < 0.5f ? step : -step);
        p.limb(x, 1.22f, x, 1.40f - std::max(0.f, s), 0.07f, fur);
        p.ellipse(x, 1.41f - std::max(0.f, s), 0.05f, 0.03f, lighter(fur, 0.5f), false);
    }
    if (!c.showBack) p.ellipse(0.5f, 1.14f, 0.14f, 0.15f, lighter(fur, 0.45f), false);
    // head with ears
    float hx = 0.52f, hy = 0.72f;
    p.poly({{hx - 0.20f, hy - 0.06f}, {hx - 0.19f, hy - 0.30f}, {hx - 0.05f, hy - 0.16f}}, fur);
    p.poly({{hx + 0.20f, hy - 0.06f}, {hx + 0.19f, hy - 0.30f}, {hx + 0.05f, hy - 0.16f}}, fur);
    p.poly({{hx - 0.17f, hy - 0.09f}, {hx - 0.165f, hy - 0.24f}, {hx - 0.08f, hy - 0.15f}}, sf::Color(240, 160, 170), false);
    p.poly({{hx + 0.17f, hy - 0.09f}, {hx + 0.165f, hy - 0.24f}, {hx + 0.08f, hy - 0.15f}}, sf::Color(240, 160, 170), false);
    p.ellipse(hx, hy, 0.23f, 0.19f, fur);
    if (c.showBack) return;
    // almond eyes with slit pupils
    if (p.frame == FRAMES - 1) {
        p.line(hx - 0.13f, hy - 0.02f, hx - 0.04f, hy - 0.02f, 0.015f, sf::Color(30, 30, 30));
        p.line(hx + 0.04f, hy - 0.02f, hx + 0.13f, hy - 0.02f, 0.015f, sf::Color(30, 30, 30));
    } else {
        float look = lookOf(c, p) * 0.015f;
        for (float x : {hx - 0.085f, hx + 0.085f}) {
            p.ellipse(x, hy - 0.02f, 0.055f, 0.045f, c.eyeColor);
            p.ellipse(x + look, hy - 0.02f, 0.012f, 0.04f, sf::Color(10, 10, 10), false);
            p.ellipse(x - 0.02f, hy - 0.04f, 0.01f, 0.01f, sf::Color::White, false);
        }
    }
    p.poly({{hx - 0.03f, hy + 0.05f}, {hx + 0.03f, hy + 0.05f}, {hx, hy + 0.085f}}, sf::Color(230, 120, 140), false);
    p.line(hx, hy + 0.085f, hx - 0.04f, hy + 0.12f, 0.012f, darker(fur, 0.3f));
    p.line(hx, hy + 0.085f, hx + 0.04f, hy + 0.12f, 0.012f, darker(fur, 0.3f));
    for (float dy : {-0.02f, 0.02f}) {
        p.line(hx - 0.08f, hy + 0.07f, hx - 0.28f, hy + 0.05f + dy * 2, 0.006f, sf::Color(250, 250, 250));
        p.line(hx + 0.08f, hy + 0.07f, hx + 0.28f, hy + 0.05f + dy * 2, 0.006f, sf::Color(250, 250, 250));
    }
}

void drawDragon(Pen& p, Character& c) {
    sf::Color scale = c.color;
    float hover = c.flying ? 0.06f + 0.04f * p.phase() : 0.f;
    p.shadow(0.5f, 0.38f);
    if (!c.flyingNoWings) monsterWings(p, 0.45f, 0.72f - hover, 0.62f);
    // tail
    std::vector<sf::Vector2f> tail{{0.30f, 1.20f}, {0.18f, 1.30f}, {0.08f, 1.26f + 0.04f * p.phase()},
                                   {0.02f, 1.12f + 0.05f * p.phase()}};
    for (size_t i = 0; i + 1 < tail.size(); ++i)
        p.limb(tail[i].x, tail[i].y - hover, tail[i + 1].x, tail[i + 1].y - hover, 0.10f - 0.025f * i, scale);
    p.poly({{0.02f, 1.04f - hover}, {-0.03f, 1.14f - hover}, {0.06f, 1.12f - hover}}, darker(scale, 0.6f));
    // legs and body
    p.limb(0.34f, 1.18f - hover, 0.32f, 1.40f - hover, 0.11f, darker(scale, 0.85f));
    p.limb(0.60f, 1.18f - hover, 0.62f, 1.40f - hover, 0.11f, darker(scale, 0.85f));
    p.ellipse(0.46f, 1.06f - hover, 0.26f, 0.22f, scale);
    p.ellipse(0.50f, 1.10f - hover, 0.15f, 0.15f, sf::Color(240, 210, 140), false);
    for (int i = 0; i < 3; ++i) p.line(0.38f, 1.02f + 0.06f * i - hover, 0.62f, 1.02f + 0.06f * i - hover, 0.01f, sf::Color(200, 160, 90));
    // neck and head
    float nod = 0.02f * p.phase();
    p.limb(0.52f, 0.92f - hover, 0.62f, 0.58f - hover + nod, 0.13f, scale);
    float hx = 0.66f, hy = 0.50f - hover + nod;
    p.poly({{hx - 0.08f, hy - 0.08f}, {hx - 0.16f, hy - 0.24f}, {hx - 0.02f, hy - 0.12f}}, sf::Color(235, 225, 200));
    p.poly({{hx + 0.02f, hy - 0.09f}, {hx + 0.0f, hy - 0.27f}, {hx + 0.09f, hy - 0.10f}}, sf::Color(235, 225, 200));
    p.ellipse(hx, hy, 0.15f, 0.12f, scale);
    p.ellipse(hx + 0.15f, hy + 0.04f, 0.12f, 0.07f, scale); // snout
    if (c.showBack) return;
    p.ellipse(hx + 0.24f, hy + 0.01f, 0.012f, 0.01f, darker(scale, 0.3f), false);
    eyes(p, c, hx - 0.05f, hx + 0.06f, hy - 0.03f, 0.04f, 1.f);
    // jaw with teeth, and smoke puffs
    p.line(hx + 0.06f, hy + 0.08f, hx + 0.26f, hy + 0.07f, 0.015f, darker(scale, 0.3f));
    for (int i = 0; i < 4; ++i)
        p.poly({{hx + 0.08f + 0.045f * i, hy + 0.075f}, {hx + 0.1f + 0.045f * i, hy + 0.11f},
                {hx + 0.12f + 0.045f * i, hy + 0.075f}},
               sf::Color(250, 250, 240), false);
    int puff = p.frame % 4;
    p.ellipse(hx + 0.30f + 0.03f * puff, hy - 0.02f - 0.03f * puff, 0.02f + 0.01f * puff, 0.02f + 0.01f * puff,
              sf::Color(200, 200, 200, static_cast<sf::Uint8>(180 - 40 * puff)), false);
}

void drawBat(Pen& p, Character& c) {
    float hover = 0.25f + 0.06f * p.phase();
    float flap = p.phase(2.f);
    sf::Color fur = c.color;
    sf::Color membrane = darker(fur, 0.7f);
    p.shadow(0.5f, 0.18f);
    float cy = 0.90f - hover;
    for (int side : {-1, 1}) {
        float s = static_cast<float>(side);
        float tipY = cy - 0.22f * flap;
        p.poly({{0.5f + s * 0.08f, cy - 0.06f}, {0.5f + s * 0.30f, cy - 0.18f - 0.1f * flap},
                {0.5f + s * 0.48f, tipY}, {0.5f + s * 0.40f, cy + 0.06f - 0.1f * flap},
                {0.5f + s * 0.30f, cy + 0.0f - 0.05f * flap}, {0.5f + s * 0.20f, cy + 0.08f - 0.04f * flap},
                {0.5f + s * 0.08f, cy + 0.08f}},
               membrane);
        p.line(0.5f + s * 0.08f, cy - 0.05f, 0.5f + s * 0.30f, cy - 0.18f - 0.1f * flap, 0.015f, darker(fur, 0.5f));
        p.line(0.5f + s * 0.30f, cy - 0.18f - 0.1f * flap, 0.5f + s * 0.48f, tipY, 0.012f, darker(fur, 0.5f));
    }
    p.ellipse(0.5f, cy + 0.04f, 0.11f, 0.14f, fur);
    // head with big ears
    p.poly({{0.41f, cy - 0.16f}, {0.38f, cy - 0.34f}, {0.48f, cy - 0.2f}}, fur);
    p.poly({{0.59f, cy - 0.16f}, {0.62f, cy - 0.34f}, {0.52f, cy - 0.2f}}, fur);
    p.ellipse(0.5f, cy - 0.13f, 0.11f, 0.1f, fur);
    if (c.showBack) return;
    eyes(p, c, 0.46f, 0.54f, cy - 0.15f, 0.03f, lookOf(c, p));
    p.line(0.46f, cy - 0.07f, 0.54f, cy - 0.07f, 0.012f, sf::Color(60, 20, 30));
    p.poly({{0.465f, cy - 0.07f}, {0.48f, cy - 0.07f}, {0.472f, cy - 0.04f}}, sf::Color::White, false);
    p.poly({{0.52f, cy - 0.07f}, {0.535f, cy - 0.07f}, {0.528f, cy - 0.04f}}, sf::Color::White, false);
}

void drawSkeleton(Pen& p, Character& c) {
    sf::Color bone(235, 230, 215);
    p.shadow(0.5f, 0.22f);
    float step = p.phase();
    float rattle = 0.01f * p.phase(2.f);
    // legs
    p.limb(0.44f, 1.08f, 0.42f + 0.03f * step, 1.26f, 0.04f, bone);
    p.limb(0.42f + 0.03f * step, 1.26f, 0.42f, 1.42f - 0.02f * std::max(0.f, step), 0.035f, bone);
    p.limb(0.56f, 1.08f, 0.58f - 0.03f * step, 1.26f, 0.04f, bone);
    p.limb(0.58f - 0.03f * step, 1.26f, 0.58f, 1.42f - 0.02f * std::max(0.f, -step), 0.035f, bone);
    p.ellipse(0.40f, 1.43f, 0.05f, 0.025f, bone);
    p.ellipse(0.60f, 1.43f, 0.05f, 0.025f, bone);
    // pelvis, spine, ribs
    p.ellipse(0.5f, 1.06f, 0.11f, 0.05f, bone);
    p.line(0.5f, 0.70f, 0.5f, 1.05f, 0.035f, bone);
    for (int i = 0; i < 4; ++i) {
        float y = 0.78f + 0.065f * i + rattle;
        float w = 0.16f - 0.02f * i;
        p.ellipse(0.5f, y, w, 0.022f, sf::Color(0, 0, 0, 0), false);
        p.line(0.5f - w, y, 0.5f + w, y, 0.022f, bone, true);
    }
    // arms
    float swing = 0.05f * step;
    p.limb(0.32f, 0.76f, 0.27f - swing, 0.94f, 0.032f, bone);
    p.limb(0.27f - swing, 0.94f, 0.26f - swing, 1.10f, 0.028f, bone);
    p.limb(0.68f, 0.76f, 0.73f + swing, 0.94f, 0.032f, bone);
    p.limb(0.73f + swing, 0.94f, 0.74f + swing, 1.10f, 0.028f, bone);
    p.line(0.32f, 0.75f, 0.68f, 0.75f, 0.03f, bone, true);
    // skull
    float hy = 0.50f + rattle;
    p.ellipse(0.5f, hy, 0.18f, 0.17f, bone);
    p.rect(0.42f, hy + 0.1f, 0.16f, 0.08f, bone);
    if (c.showBack) return;
    for (float x : {0.43f, 0.57f}) {
        p.ellipse(x, hy + 0.01f, 0.05f, 0.055f, sf::Color(25, 20, 25), false);
        p.ellipse(x, hy + 0.015f, 0.018f, 0.018f, c.eyeColor, false);
    }
    p.poly({{0.49f, hy + 0.08f}, {0.51f, hy + 0.08f}, {0.5f, hy + 0.05f}}, sf::Color(25, 20, 25), false);
    for (int i = 0; i < 5; ++i) p.line(0.44f + 0.03f * i, hy + 0.12f, 0.44f + 0.03f * i, hy + 0.17f, 0.008f, sf::Color(90, 80, 70));
    p.line(0.43f, hy + 0.145f, 0.57f, hy + 0.145f, 0.008f, sf::Color(90, 80, 70));
}

void drawTower(Pen& p, Character& c) {
    sf::Color stone = c.color;
    p.shadow(0.5f, 0.42f);
    p.rect(0.18f, 0.36f, 0.64f, 1.08f, stone);
    // stone courses
    for (int row = 0; row < 9; ++row) {
        float y = 0.40f + 0.12f * row;
        p.line(0.18f, y, 0.82f, y, 0.008f, darker(stone, 0.6f));
        for (int k = 0; k < 3; ++k) {
            float x = 0.28f + 0.2f * k + (row % 2 ? 0.1f : 0.f);
            p.line(x, y, x, std::min(1.44f, y + 0.12f), 0.008f, darker(stone, 0.6f));
        }
    }
    // battlements
    p.rect(0.12f, 0.27f, 0.76f, 0.1f, lighter(stone, 0.1f));
    for (int k = 0; k < 4; ++k) p.rect(0.12f + 0.21f * k, 0.19f, 0.13f, 0.08f, lighter(stone, 0.1f));
    // flag
    p.line(0.5f, 0.19f, 0.5f, 0.01f, 0.015f, sf::Color(80, 60, 40));
    float wave = 0.03f * p.phase(1.f);
    p.poly({{0.5f, 0.01f}, {0.72f, 0.05f + wave}, {0.5f, 0.11f}}, sf::Color(200, 40, 40));
    if (c.showBack) return;
    // two glowing windows for eyes and an arched door for a mouth
    for (float x : {0.36f, 0.64f}) {
        p.rect(x - 0.06f, 0.50f, 0.12f, 0.16f, sf::Color(30, 25, 25));
        sf::Color glow = c.eyeColor;
        glow.a = static_cast<sf::Uint8>(180 + 70 * std::fabs(p.phase()));
        p.ellipse(x, 0.59f, 0.045f, 0.055f, glow, false);
        p.ellipse(x + lookOf(c, p) * 0.015f, 0.60f, 0.018f, 0.025f, sf::Color(20, 10, 10), false);
    }
    p.ellipse(0.5f, 1.18f, 0.14f, 0.14f, sf::Color(40, 30, 25));
    p.rect(0.36f, 1.18f, 0.28f, 0.26f, sf::Color(40, 30, 25));
    for (int i = 0; i < 4; ++i)
        p.poly({{0.38f + 0.065f * i, 1.10f}, {0.43f + 0.065f * i, 1.10f}, {0.405f + 0.065f * i, 1.16f}},
               sf::Color(230, 230, 220), false);
}

void drawR2Robot(Pen& p, Character& c) {
    sf::Color shell = c.color;
    p.shadow(0.5f, 0.3f);
    // side legs and feet
    p.rect(0.14f, 0.72f, 0.1f, 0.64f, lighter(shell, 0.3f));
    p.rect(0.76f, 0.72f, 0.1f, 0.64f, lighter(shell, 0.3f));
    p.poly({{0.10f, 1.44f}, {0.28f, 1.44f}, {0.24f, 1.32f}, {0.14f, 1.32f}}, sf::Color(150, 150, 160));
    p.poly({{0.72f, 1.44f}, {0.90f, 1.44f}, {0.86f, 1.32f}, {0.76f, 1.32f}}, sf::Color(150, 150, 160));
    // barrel body
    p.rect(0.24f, 0.62f, 0.52f, 0.72f, sf::Color(235, 235, 240));
    p.rect(0.40f, 1.34f, 0.2f, 0.08f, sf::Color(150, 150, 160));
    // dome head, turning a little
    float turn = 0.04f * p.phase(0.5f);
    p.ellipse(0.5f, 0.62f, 0.26f, 0.24f, sf::Color(200, 205, 215));
    p.rect(0.24f, 0.62f, 0.52f, 0.03f, darker(shell, 0.8f), false);
    if (c.showBack) {
        p.rect(0.32f, 0.80f, 0.36f, 0.3f, shell);
        return;
    }
    // panels on the body
    p.rect(0.30f, 0.74f, 0.4f, 0.08f, shell);
    p.rect(0.30f, 0.88f, 0.16f, 0.26f, shell);
    p.rect(0.52f, 0.88f, 0.18f, 0.12f, shell);
    for (int i = 0; i < 3; ++i)
        p.ellipse(0.56f + 0.05f * i, 1.07f, 0.015f, 0.015f,
                  (p.frame + i) % 3 == 0 ? sf::Color(255, 60, 60) : sf::Color(90, 30, 30), false);
    // one big lens eye and a small one, and a speaker slit for a mouth
    float lx = 0.5f + turn + lookOf(c, p) * 0.04f;
    p.ellipse(lx, 0.52f, 0.075f, 0.07f, sf::Color(30, 30, 40));
    p.ellipse(lx, 0.52f, 0.045f, 0.042f, c.eyeColor, false);
    p.ellipse(lx - 0.015f, 0.505f, 0.015f, 0.015f, sf::Color(255, 255, 255, 220), false);
    p.ellipse(lx + 0.13f, 0.56f, 0.025f, 0.025f,
              p.frame % 2 ? sf::Color(255, 80, 80) : sf::Color(120, 30, 30));
    p.rect(lx - 0.08f, 0.64f, 0.16f, 0.03f, sf::Color(40, 40, 50), false);
}

void drawTornado(Pen& p, Character& c) {
    // a whirl of shrinking ellipses, stretched to the figure's height
    std::vector<EllipseShape> rings = makeShrinkingEllipses(p.u * 0.95f);
    if (rings.empty()) return;
    float top = rings.front().getPosition().y, bottom = rings.back().getPosition().y;
    float span = std::max(1.f, bottom - top);
    float stretch = 1.3f * p.u / span;
    sf::Color base = c.color;
    for (size_t i = 0; i < rings.size(); ++i) {
        EllipseShape& e = rings[i];
        float t = static_cast<float>(i) / static_cast<float>(rings.size() - 1);
        float sway = 0.08f * std::sin(2.f * PI * p.frame / FRAMES + t * 4.f) * (0.3f + t);
        float y = 0.08f + 1.3f * (e.getPosition().y - top) / span;
        e.setScale(1.f, stretch * 0.55f);
        e.setPosition(p.at(0.5f + sway, y));
        sf::Color fill = (i + static_cast<size_t>(p.frame)) % 2 ? base : lighter(base, 0.35f);
        fill.a = 200;
        e.setFillColor(p.col(fill));
        e.setOutlineThickness(p.lineWidth());
        e.setOutlineColor(p.col(alpha(darker(base, 0.5f), 220)));
        p.target.draw(e);
    }
    // debris circling the funnel
    for (int i = 0; i < 4; ++i) {
        float a = 2.f * PI * (static_cast<float>(p.frame) / FRAMES + static_cast<float>(i) / 4.f);
        p.ellipse(0.5f + 0.42f * std::cos(a), 0.3f + 0.25f * i + 0.05f * std::sin(a), 0.025f, 0.02f,
                  sf::Color(120, 90, 60));
    }
    if (c.showBack) return;
    float sway = 0.08f * std::sin(2.f * PI * p.frame / FRAMES + 0.8f) * 0.45f;
    eyes(p, c, 0.40f + sway, 0.60f + sway, 0.30f, 0.06f, lookOf(c, p));
    p.ellipse(0.5f + sway, 0.48f, 0.07f, 0.045f + 0.015f * std::fabs(p.phase()), sf::Color(50, 40, 60));
}

void drawSaucer(Pen& p, Character& c) {
    float hover = 0.2f + 0.05f * p.phase();
    sf::Color hull = c.color;
    p.shadow(0.5f, 0.3f);
    // tractor beam
    p.poly({{0.40f, 1.08f - hover}, {0.60f, 1.08f - hover}, {0.72f, 1.44f}, {0.28f, 1.44f}},
           sf::Color(180, 255, 200, static_cast<sf::Uint8>(40 + 30 * std::fabs(p.phase()))), false);
    // glass dome with the pilot inside
    p.ellipse(0.5f, 0.82f - hover, 0.22f, 0.22f, sf::Color(150, 220, 255, 120));
    sf::Color alien(120, 210, 110);
    p.ellipse(0.5f, 0.84f - hover, 0.11f, 0.12f, alien);
    if (!c.showBack) {
        for (float x : {0.455f, 0.545f}) {
            p.ellipse(x, 0.82f - hover, 0.035f, 0.045f, sf::Color(20, 20, 20), false, x < 0.5f ? -20.f : 20.f);
            p.ellipse(x, 0.825f - hover, 0.018f, 0.022f, c.eyeColor, false);
        }
        p.line(0.48f, 0.90f - hover, 0.52f, 0.90f - hover, 0.01f, sf::Color(40, 80, 40));
    }
    p.line(0.46f, 0.73f - hover, 0.42f, 0.64f - hover, 0.01f, alien);
    p.line(0.54f, 0.73f - hover, 0.58f, 0.64f - hover, 0.01f, alien);
    p.ellipse(0.42f, 0.64f - hover, 0.015f, 0.015f, sf::Color(255, 240, 120), false);
    p.ellipse(0.58f, 0.64f - hover, 0.015f, 0.015f, sf::Color(255, 240, 120), false);
    p.ellipse(0.4f, 0.74f - hover, 0.06f, 0.04f, sf::Color(255, 255, 255, 120), false);
    // the disc with running lights
    p.ellipse(0.5f, 1.0f - hover, 0.48f, 0.11f, hull);
    p.ellipse(0.5f, 0.97f - hover, 0.40f, 0.05f, lighter(hull, 0.4f), false);
    p.ellipse(0.5f, 1.07f - hover, 0.22f, 0.05f, darker(hull, 0.6f));
    for (int i = 0; i < 7; ++i) {
        float x = 0.14f + 0.12f * i;
        bool on = (i + p.frame) % 3 == 0;
        p.ellipse(x, 1.02f - hover, 0.022f, 0.018f, on ? sf::Color(255, 230, 80) : sf::Color(120, 90, 40), false);
    }
}

void drawOctopus(Pen& p, Character& c) {
    sf::Color skin = c.color;
    p.shadow(0.5f, 0.4f);
    // eight tentacles, the outer ones first
    for (int k = 0; k < 8; ++k) {
        float baseX = 0.24f + 0.075f * k;
        float dir = (static_cast<float>(k) - 3.5f) / 3.5f;
        float prevX = baseX, prevY = 0.92f;
        for (int j = 1; j <= 6; ++j) {
            float t = static_cast<float>(j) / 6.f;
            float wave = 0.05f * std::sin(2.f * PI * p.frame / FRAMES + static_cast<float>(k) + t * 3.f);
            float x = baseX + dir * 0.22f * t + wave * t;
            float y = 0.92f + 0.5f * t - 0.06f * t * t * std::fabs(dir);
            p.limb(prevX, prevY, x, y, 0.07f * (1.f - 0.7f * t), k % 2 ? skin : darker(skin, 0.85f));
            if (j % 2 == 0) p.ellipse(x, y, 0.012f, 0.012f, lighter(skin, 0.6f), false);
            prevX = x;
            prevY = y;
        }
    }
    // mantle with spots
    float pulse = 0.02f * p.phase();
    p.ellipse(0.5f, 0.62f, 0.32f + pulse, 0.36f - pulse, skin);
    for (auto [x, y] : std::vector<std::pair<float, float>>{{0.36f, 0.42f}, {0.6f, 0.36f}, {0.68f, 0.54f}, {0.44f, 0.32f}})
        p.ellipse(x, y, 0.03f, 0.025f, darker(skin, 0.75f), false);
    if (c.showBack) return;
    eyes(p, c, 0.39f, 0.61f, 0.68f, 0.075f, lookOf(c, p));
    monsterMouth(p, c, 0.5f, 0.86f, 0.16f);
}

void drawImage(Pen& p, Character& c) {
    if (resources == nullptr) return;
    const sf::Texture& tex = resources->getBodyTexture(c.body);
    sf::Vector2u ts = tex.getSize();
    if (ts.x == 0 || ts.y == 0) return;
    float bob = 0.015f * p.phase();
    p.shadow(0.5f, 0.3f);
    // fit the 1 x 1.5 box, standing on the ground line
    float w = std::min(1.f, 1.5f * static_cast<float>(ts.x) / static_cast<float>(ts.y));
    float h = w * static_cast<float>(ts.y) / static_cast<float>(ts.x);
    p.picture(tex, 0.5f, 1.5f - h / 2.f - bob, w, h * (1.f + bob));
}

void drawSlime(Pen& p, Character& c) {
    float squash = 0.08f * p.phase();
    float rx = 0.40f * (1.f + squash), ry = 0.40f * (1.f - squash);
    sf::Color goo = c.color;
    goo.a = 215;
    p.shadow(0.5f, rx * 0.95f);
    std::vector<sf::Vector2f> pts;
    for (int i = 0; i <= 16; ++i) {
        float a = PI + PI * static_cast<float>(i) / 16.f;
        pts.push_back({0.5f + rx * std::cos(a), 1.42f + ry * 1.25f * std::sin(a)});
    }
    pts.push_back({0.5f + rx * 1.04f, 1.44f});
    pts.push_back({0.5f - rx * 1.04f, 1.44f});
    p.poly(pts, goo);
    p.ellipse(0.36f, 1.42f - ry * 0.95f, 0.06f, 0.035f, sf::Color(255, 255, 255, 150), false, -30.f);
    // drips
    for (int i = 0; i < 3; ++i) {
        float x = 0.3f + 0.2f * i;
        float d = 0.02f * ((p.frame + 3 * i) % FRAMES);
        p.ellipse(x, 1.40f + d * 0.3f, 0.02f, 0.03f + d * 0.4f, goo, false);
    }
    if (c.showBack) return;
    float top = 1.42f - ry * 1.25f;
    eyes(p, c, 0.41f, 0.59f, top + 0.22f, 0.06f, lookOf(c, p));
    float open = 0.02f + 0.02f * std::fabs(p.phase());
    p.ellipse(0.5f, top + 0.36f, 0.08f, open, sf::Color(60, 20, 40), false);
}

using FigureFn = void (*)(Pen&, Character&);
const FigureFn FIGURES[CHARACTER_TYPE_COUNT] = {
    drawNormal, drawMonster, drawFairy,  drawGhost,  drawSnake,   drawHoist,
    drawFlyRobot, drawCat,   drawDragon, drawBat,    drawSkeleton, drawTower,
    drawR2Robot, drawTornado, drawSaucer, drawOctopus, drawImage,  drawSlime};

} // namespace

float Character::sizeFactor() const { return size * (flying ? 0.9f : 1.f); }

void Character::draw(sf::RenderTarget& target, Point topLeft, float drawSize, sf::Color tint, bool halo) {
    int t = static_cast<int>(type);
    if (t < 0 || t >= CHARACTER_TYPE_COUNT) fatalAssert("Character", 838, t);
    float u = drawSize * sizeFactor();
    // scaled about the middle of the ground line of the square
    sf::Vector2f ground(static_cast<float>(topLeft.x) + drawSize / 2.f, static_cast<float>(topLeft.y) + drawSize);
    Pen pen{target, {ground.x - u / 2.f, ground.y - 1.5f * u}, u, tint};
    pen.frame = ((frame % FRAMES) + FRAMES) % FRAMES;
    pen.flip = facing == WEST;
    drawnCentre = {ground.x, ground.y - 0.75f * u};
    weaponPoint = drawnCentre;
    if (halo && stats[SHL] > 0) {
        float pulse = 0.03f * pen.phase();
        pen.ellipse(0.5f, 0.8f, 0.6f + pulse, 0.72f + pulse, sf::Color(120, 200, 255, 40), false);
        EllipseShape ring({(0.6f + pulse) * u, (0.72f + pulse) * u});
        ring.setOrigin(ring.getRadius());
        ring.setPosition(pen.at(0.5f, 0.8f));
        ring.setFillColor(sf::Color::Transparent);
        ring.setOutlineThickness(std::max(2.f, u / 25.f));
        ring.setOutlineColor(pen.col(sf::Color(140, 220, 255, 150)));
        target.draw(ring);
    }
    // Figures without wings of their own hover on wings when they fly.
    static const std::set<CharacterType> ownFlight{CharacterType::FAIRY,    CharacterType::MONSTER,
                                                   CharacterType::DRAGON,   CharacterType::BAT,
                                                   CharacterType::SAUCER,   CharacterType::FLYROBOT,
                                                   CharacterType::TORNADO,  CharacterType::GHOST};
    if (flying && !flyingNoWings && ownFlight.count(type) == 0) {
        pen.box.y -= (0.08f + 0.04f * pen.phase()) * u;
        if (type == CharacterType::NORMAL && resources != nullptr && resources->fairyWings.getSize().x > 0) {
            float flap = 0.6f + 0.4f * std::fabs(pen.phase(2.f));
            pen.picture(resources->fairyWings, 0.5f, 0.85f, 1.1f * flap, 0.8f);
        } else {
            monsterWings(pen, 0.5f, 0.75f, 0.6f);
        }
    }
    FIGURES[t](pen, *this);
}

void Character::drawIfVisible(sf::RenderTarget& target, Point view, int tintAlpha, bool halo) {
    Point at{pixel.x * displayTileSize / TILE_SIZE - view.x, pixel.y * displayTileSize / TILE_SIZE - view.y};
    const int margin = 120;
    sf::Vector2u size = target.getSize();
    if (at.x < -margin || at.y < -margin || at.x > static_cast<int>(size.x) + margin ||
        at.y > static_cast<int>(size.y) + margin)
        return;
    draw(target, at, static_cast<float>(displayTileSize),
         sf::Color(0, 0, 0, static_cast<sf::Uint8>(std::clamp(tintAlpha, 0, 255))), halo);
}

void Character::pickRandomThrowObject() {
    if (!isThrower() || objectToThrow.empty() || resources == nullptr) return;
    // the pictures are numbered from 1
    throwObjectNumber = 1 + randomBelow(resources->countStuffToThrow(objectToThrow));
}

const sf::Texture& Character::throwObject() const {
    if (resources == nullptr) fatalAssert("Character", 893, objectToThrow);
    return resources->getStuffToThrowTexture(objectToThrow, throwObjectNumber);
}

sf::Color Character::throwObjectColor() const {
    if (resources == nullptr) fatalAssert("Character", 898, objectToThrow);
    return resources->getStuffToThrowColor(objectToThrow, throwObjectNumber);
}

void drawCharacterInBox(sf::RenderTarget& target, int index, sf::Vector2f boxPosition, sf::Vector2f boxSize) {
    Character& c = people->at(index);
    int w = static_cast<int>(boxSize.x), h = static_cast<int>(boxSize.y);
    float x0 = boxPosition.x, y0 = boxPosition.y;
    if (c.hasPhoto) {
        const sf::Texture& tex = resources->getFaceTexture(c.photo);
        sf::Vector2u ts = tex.getSize();
        if (ts.x == 0 || ts.y == 0) return;
        float s = std::min(static_cast<float>(h) / static_cast<float>(ts.y), static_cast<float>(w) / static_cast<float>(ts.x));
        sf::Sprite sprite(tex);
        sprite.setScale(s, s);
        sprite.setPosition((static_cast<float>(w) - ts.x * s) * 0.5f + x0, (static_cast<float>(h) - ts.y * s) * 0.5f + y0);
        target.draw(sprite);
        return;
    }
    c.spareShowBack = c.showBack ? 1 : 0;
    c.spareFrame = c.frame;
    c.showBack = false;
    c.frame = 1;
    float tile = static_cast<float>(TILE_SIZE);
    float size = tile / 180.f * static_cast<float>(h);
    Point at{static_cast<int>((boxSize.x - tile * boxSize.x / 180.f) * 0.5f + x0),
             static_cast<int>((180.f - tile) * boxSize.y / 180.f + y0)};
    c.draw(target, at, size, sf::Color(0, 0, 0, 0), false);
    c.showBack = c.spareShowBack != 0;
    c.frame = c.spareFrame;
}

Point CompositeMonster::extent(const LargeMonster& record) {
    if (record.cells.empty()) return {record.loaderA, record.loaderB};
    Point size{1, 1};
    for (const Point& cell : record.cells) {
        size.x = std::max(size.x, cell.x - record.base.x + 1);
        size.y = std::max(size.y, cell.y - record.base.y + 1);
    }
    return size;
}

void CompositeMonster::draw(const LargeMonster& record, sf::RenderTarget& target, Point view, int row,
                            int alphaValue) {
    Point size = extent(record);
    if (row < 0 || row >= size.y || size.x <= 0 || resources == nullptr) return;
    const std::vector<sf::Texture>& frames = resources->getAnimation(record.name);
    if (frames.empty()) return;
    int count = static_cast<int>(frames.size());
    const sf::Texture& tex = frames[static_cast<size_t>(((record.frame % count) + count) % count)];
    sf::Vector2u ts = tex.getSize();
    if (ts.x == 0 || ts.y == 0) return;
    int sliceTop = static_cast<int>(ts.y) * row / size.y;
    int sliceBottom = static_cast<int>(ts.y) * (row + 1) / size.y;
    sf::Sprite slice(tex, sf::IntRect(0, sliceTop, static_cast<int>(ts.x), sliceBottom - sliceTop));
    float t = static_cast<float>(displayTileSize);
    slice.setScale(t * static_cast<float>(size.x) / static_cast<float>(ts.x),
                   t / static_cast<float>(std::max(1, sliceBottom - sliceTop)));
    slice.setPosition(static_cast<float>(record.base.x) * t - static_cast<float>(view.x),
                      static_cast<float>(record.base.y + row) * t - static_cast<float>(view.y));
    slice.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(std::clamp(alphaValue, 0, 255))));
    target.draw(slice);
}
