// Gems and shards, the potion template, chests, hearts, snow, locks, the rocket flame and the
// settings parrot.
#include "Art.hpp"

#include <cmath>

using namespace art;

namespace {
// A cut crystal filling the whole square: facets of one hue in different lights, a rim of
// darker facets, and small star glints (their place set by `phase` so several pictures of one
// gem can twinkle).
Canvas crystal(int size, sf::Color base, std::uint32_t seed, float phase) {
    Canvas c(size, size);
    Rng rng(seed);
    struct Site {
        float x, y, light;
    };
    std::vector<Site> sites;
    for (int k = 0; k < 14; ++k)
        sites.push_back({rng.range(0.f, float(size)), rng.range(0.f, float(size)), rng.range(0.55f, 1.45f)});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float best = 1e9f, second = 1e9f;
            int bi = 0;
            for (int k = 0; k < int(sites.size()); ++k) {
                float d = std::hypot(x - sites[k].x, y - sites[k].y);
                if (d < best) second = best, best = d, bi = k;
                else if (d < second) second = d;
            }
            // Light falls from the top left.
            float fall = 1.15f - 0.45f * (x + y) / (2.f * size);
            sf::Color col = shade(base, sites[bi].light * fall);
            if (second - best < 1.2f) col = shade(col, 1.35f); // facet edges catch the light
            c.set(x, y, col);
        }
    c.glow(size * 0.32f, size * 0.28f, size * 0.35f, rgb(255, 255, 255, 110));
    Rng glint(seed * 7 + static_cast<std::uint32_t>(phase * 10));
    for (int k = 0; k < 3; ++k) {
        float gx = glint.range(size * 0.15f, size * 0.85f), gy = glint.range(size * 0.15f, size * 0.85f);
        float len = size * (0.08f + 0.1f * std::abs(std::sin(phase + k * 2.1f)));
        c.line(gx - len, gy, gx + len, gy, 1.2f, rgb(255, 255, 255, 230));
        c.line(gx, gy - len, gx, gy + len, 1.2f, rgb(255, 255, 255, 230));
        c.fillCircle(gx, gy, 1.6f, rgb(255, 255, 255));
    }
    return c;
}

void drawStar(Canvas& c, float cx, float cy, float r, sf::Color col) {
    c.line(cx - r, cy, cx + r, cy, 1.5f, col);
    c.line(cx, cy - r, cx, cy + r, 1.5f, col);
    c.line(cx - r * 0.5f, cy - r * 0.5f, cx + r * 0.5f, cy + r * 0.5f, 1.f, col);
    c.line(cx - r * 0.5f, cy + r * 0.5f, cx + r * 0.5f, cy - r * 0.5f, 1.f, col);
    c.fillCircle(cx, cy, r * 0.18f, col);
}

// A wooden chest seen from the front, lid open or shut.
Canvas chest(bool open) {
    const int S = 120;
    Canvas c(S, S);
    const sf::Color wood = rgb(150, 92, 42), dark = rgb(70, 40, 18), metal = rgb(214, 178, 70);
    c.fillEllipse(60, 110, 50, 8, rgb(0, 0, 0, 90)); // shadow
    // body
    c.noiseFill(14, 56, 92, 52, wood, 0.25f, 6, 11);
    for (int k = 1; k < 4; ++k) c.fillRect(14, 56 + k * 13, 92, 1.5f, shade(wood, 0.6f));
    c.strokeRect(14, 56, 92, 52, 3, dark);
    c.fillRect(24, 56, 7, 52, metal);
    c.fillRect(89, 56, 7, 52, metal);
    c.bevel(24, 56, 7, 52, 2, 0.3f);
    c.bevel(89, 56, 7, 52, 2, 0.3f);
    if (!open) {
        // Domed lid.
        c.fillRoundRect(12, 26, 96, 34, 14, wood);
        c.noiseShade(0.2f, 5, 12);
        c.fillRect(12, 44, 96, 16, wood);
        c.fillRect(12, 58, 96, 3, dark);
        c.fillRect(24, 26, 7, 34, metal);
        c.fillRect(89, 26, 7, 34, metal);
        c.line(14, 40, 106, 40, 1.5f, shade(wood, 1.3f));
        // lock plate
        c.fillRoundRect(51, 50, 18, 22, 3, metal);
        c.fillCircle(60, 58, 3, dark);
        c.fillRect(59, 59, 2, 7, dark);
    } else {
        // Inside of the lid tipped back over an emptied box: bare planks and shadow.
        c.fillPolygon({{14, 56}, {106, 56}, {100, 14}, {20, 14}}, shade(wood, 0.55f));
        c.strokeRect(20, 14, 80, 4, 2, dark);
        c.line(14, 56, 20, 14, 3, dark);
        c.line(106, 56, 100, 14, 3, dark);
        c.fillRect(24, 18, 6, 38, shade(metal, 0.8f));
        c.fillRect(90, 18, 6, 38, shade(metal, 0.8f));
        c.fillRect(17, 56, 86, 12, rgb(40, 22, 10));
        c.fillRect(17, 66, 86, 2, shade(wood, 0.45f));
        c.line(40, 58, 40, 66, 1.5f, rgb(60, 34, 16));
        c.line(80, 58, 80, 66, 1.5f, rgb(60, 34, 16));
    }
    c.outline(rgb(30, 16, 6, 220));
    return c;
}

Canvas flameFrame(int frame) {
    Canvas c(48, 96);
    float t = frame * 2 * PI / 8;
    float sway = 3.f * std::sin(t);
    float h = 78 + 10 * std::sin(t * 2 + 1);
    auto body = [&](float widen, float top, sf::Color col) {
        std::vector<sf::Vector2f> pts;
        for (int k = 0; k <= 20; ++k) {
            float u = k / 20.f; // 0 bottom .. 1 tip
            float w = widen * std::sin(PI * (0.15f + 0.85f * (1 - u))) * (1 - u * 0.9f);
            pts.push_back({24 + sway * u - w, 94 - u * top});
        }
        for (int k = 20; k >= 0; --k) {
            float u = k / 20.f;
            float w = widen * std::sin(PI * (0.15f + 0.85f * (1 - u))) * (1 - u * 0.9f);
            pts.push_back({24 + sway * u + w, 94 - u * top});
        }
        c.fillPolygon(pts, col);
    };
    c.glow(24, 70, 26, rgb(255, 120, 0, 120));
    body(18, h, rgb(230, 60, 10, 230));
    body(12, h * 0.75f, rgb(255, 160, 20, 240));
    body(6, h * 0.5f, rgb(255, 240, 160));
    Rng r(static_cast<std::uint32_t>(frame + 3));
    for (int k = 0; k < 3; ++k)
        c.fillCircle(24 + r.range(-12.f, 12.f), 94 - h - r.range(-6.f, 14.f) + 20, 1.8f, rgb(255, 200, 60, 200));
    return c;
}

// A wing lying along +x from its shoulder, turned by `angle` (radians, clockwise on screen).
std::vector<sf::Vector2f> wingShape(sf::Vector2f shoulder, float angle, float length, float width,
                                   float from, float to) {
    const float c = std::cos(angle), s = std::sin(angle);
    // Leading edge above, a fuller trailing edge below, both narrowing to the tip; `from`..`to`
    // (0..1 along the wing) picks a band of it.
    auto top = [&](float t) { return -width * 0.4f * (1 - 0.7f * t); };
    auto bottom = [&](float t) { return width * 0.6f * (1 - 0.8f * t * t); };
    std::vector<sf::Vector2f> local;
    for (int k = 0; k <= 4; ++k) {
        const float t = from + (to - from) * k / 4.f;
        local.push_back({length * t, top(t)});
    }
    for (int k = 4; k >= 0; --k) {
        const float t = from + (to - from) * k / 4.f;
        local.push_back({length * t, bottom(t)});
    }
    std::vector<sf::Vector2f> out;
    for (const sf::Vector2f& p : local)
        out.push_back({shoulder.x + p.x * c - p.y * s, shoulder.y + p.x * s + p.y * c});
    return out;
}

// The macaw ("arara") of the settings dialog, facing left, wings at one of four beats.
Canvas macaw(int frame) {
    Canvas c(160, 160);
    const sf::Color red = rgb(214, 30, 36), blue = rgb(30, 90, 210), yellow = rgb(250, 200, 30);
    // Frame 1 wings high, 3 folded down along the back, 2 and 4 level.
    const float beat = std::sin(frame * PI / 2);
    const float angle = (10.f - 60.f * beat) * PI / 180.f;
    auto wing = [&](sf::Vector2f shoulder, float turn, float shadeBy) {
        const float a = angle + turn;
        c.fillPolygon(wingShape(shoulder, a, 62, 26, 0.f, 1.f), shade(red, shadeBy));
        c.fillPolygon(wingShape(shoulder, a, 62, 26, 0.35f, 0.75f), shade(yellow, shadeBy));
        c.fillPolygon(wingShape(shoulder, a, 62, 26, 0.7f, 1.f), shade(blue, shadeBy));
    };
    // tail
    c.fillPolygon({{78, 100}, {92, 100}, {100, 156}, {86, 158}}, red);
    c.fillPolygon({{84, 112}, {94, 112}, {100, 156}, {92, 156}}, blue);
    wing({90, 66}, -0.25f, 0.7f); // far wing, behind the body
    // body and head
    c.fillEllipse(80, 82, 22, 32, red);
    c.fillEllipse(72, 46, 17, 17, red);
    wing({80, 72}, 0.f, 1.f); // near wing
    // face
    c.fillEllipse(64, 48, 8, 9, rgb(245, 240, 235));
    c.fillCircle(64, 46, 3, rgb(20, 20, 20));
    c.fillCircle(65, 45, 1, rgb(255, 255, 255));
    c.fillPolygon({{56, 42}, {44, 48}, {48, 60}, {58, 54}}, rgb(40, 40, 40));
    c.fillPolygon({{56, 42}, {46, 46}, {50, 52}}, rgb(90, 90, 90));
    // feet
    c.line(74, 112, 72, 120, 3, rgb(90, 80, 80));
    c.line(86, 112, 88, 120, 3, rgb(90, 80, 80));
    c.noiseShade(0.15f, 6, static_cast<std::uint32_t>(frame + 41));
    c.outline(rgb(30, 10, 10, 200));
    return c;
}
} // namespace

REGISTER_ART(gems) {
    struct Gem {
        const char* name;
        sf::Color colour;
    };
    // The ten shards first, then loose gems for chests and shops.
    const Gem gems[] = {
        {"RitPliar", rgb(180, 80, 220)}, {"Cave", rgb(150, 110, 70)},   {"Forest", rgb(40, 170, 70)},
        {"Water", rgb(40, 120, 230)},    {"Air", rgb(190, 230, 245)},   {"Fire", rgb(235, 70, 30)},
        {"Princess", rgb(245, 120, 190)}, {"Moon", rgb(200, 205, 220)}, {"Sun", rgb(250, 200, 40)},
        {"Rainbow", rgb(255, 255, 255)},  {"Ruby", rgb(210, 20, 50)},   {"Emerald", rgb(20, 160, 90)},
        {"Sapphire", rgb(30, 60, 200)},   {"Amethyst", rgb(140, 60, 200)}, {"Topaz", rgb(240, 160, 40)},
        {"Diamond", rgb(225, 240, 255)},
    };
    std::uint32_t seed = 1;
    for (const Gem& g : gems) {
        Canvas c = crystal(64, g.colour, seed * 977u, static_cast<float>(seed));
        ++seed;
        if (std::string(g.name) == "Rainbow") {
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 64; ++x) {
                    float hue = (x + y) / 128.f * 6.f;
                    int i = static_cast<int>(hue) % 6;
                    const sf::Color bands[6] = {rgb(255, 60, 60), rgb(255, 170, 40), rgb(250, 240, 60),
                                                rgb(60, 220, 90), rgb(60, 130, 255), rgb(170, 70, 230)};
                    c.set(x, y, mix(c.get(x, y), bands[i], 0.5f));
                }
        }
        ctx.savePicture("Gems", g.name, c);
    }
    // Twinkling shards for scenes that animate them.
    for (int f = 1; f <= 6; ++f) {
        Canvas c(64, 64);
        Canvas body = crystal(40, rgb(120, 200, 255), 4242, f * 1.05f);
        c.fillPolygon({{32, 4}, {54, 24}, {46, 58}, {18, 58}, {10, 24}}, rgb(255, 255, 255));
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                if (c.get(x, y).a) c.set(x, y, withAlpha(body.get(x * 40 / 64, y * 40 / 64), c.get(x, y).a));
        float a = f * PI / 3;
        drawStar(c, 32 + 14 * std::cos(a), 30 + 14 * std::sin(a), 6 + 4 * std::sin(a * 2), rgb(255, 255, 255));
        c.outline(rgb(20, 40, 80, 200));
        ctx.savePicture("Animations", "ShardSparkleF" + std::to_string(f), c);
    }
}

REGISTER_ART(potion) {
    // Hard-edged template: the base and highlight colours must survive exactly for recolouring.
    const sf::Color base(86, 84, 86, 255), highlight(142, 139, 142, 255);
    auto drawFlask = [&](Canvas& c, bool forIcon) {
        const sf::Color glass = rgb(200, 225, 240, 150), rim = rgb(60, 70, 90);
        c.fillCircle(24, 42, 18, glass);
        c.fillRect(18, 8, 12, 20, glass);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 48; ++x) {
                float d = std::hypot(x + 0.5f - 24, y + 0.5f - 42);
                if (d < 15.5f && y >= 33) {
                    bool shine = std::hypot(x + 0.5f - 17, y + 0.5f - 38) < 4.5f;
                    sf::Color liquid = shine ? highlight : base;
                    if (forIcon) liquid = shine ? rgb(255, 150, 170) : rgb(210, 30, 60);
                    c.set(x, y, liquid);
                }
            }
        c.strokeCircle(24, 42, 18, 2, rim);
        c.line(18, 8, 18, 26, 2, rim);
        c.line(30, 8, 30, 26, 2, rim);
        c.fillRoundRect(16, 2, 16, 8, 2, rgb(150, 100, 60));
        c.fillRect(16, 8, 16, 2, rgb(110, 70, 40));
    };
    Canvas tpl(48, 64);
    drawFlask(tpl, false);
    ctx.savePicture("Characters", "PotionTemplate", tpl);
    Canvas icon(48, 64);
    drawFlask(icon, true);
    ctx.savePicture("SkillIcons", "Potion", icon);
}

REGISTER_ART(misc) {
    ctx.savePicture("Misc", "closedChest", chest(false));
    ctx.savePicture("Misc", "openChest", chest(true));
    {
        Canvas c(64, 64);
        const sf::Color ice = rgb(235, 245, 255);
        for (int k = 0; k < 6; ++k) {
            float a = k * PI / 3;
            float ex = 32 + 28 * std::cos(a), ey = 32 + 28 * std::sin(a);
            c.line(32, 32, ex, ey, 3, ice);
            for (float at : {0.45f, 0.7f}) {
                float bx = 32 + 28 * at * std::cos(a), by = 32 + 28 * at * std::sin(a);
                for (float s : {-1.f, 1.f}) {
                    float b = a + s * PI / 4;
                    c.line(bx, by, bx + 9 * std::cos(b), by + 9 * std::sin(b), 2, ice);
                }
            }
        }
        c.fillCircle(32, 32, 5, ice);
        c.outline(rgb(120, 170, 230, 160));
        ctx.savePicture("Misc", "SnowFlake", c);
    }
    {
        Canvas c(64, 64);
        const sf::Color red = rgb(225, 30, 60);
        c.fillCircle(20, 22, 15, red);
        c.fillCircle(44, 22, 15, red);
        c.fillPolygon({{6.5f, 28}, {57.5f, 28}, {32, 58}}, red);
        c.fillEllipse(19, 17, 6, 4, rgb(255, 190, 200, 200));
        c.outline(rgb(110, 0, 20));
        ctx.savePicture("Misc", "Heart", c);
    }
    {
        Canvas c(64, 64);
        const sf::Color gold = rgb(220, 180, 60);
        c.strokeCircle(32, 24, 13, 6, rgb(160, 160, 170));
        c.fillRect(12, 26, 40, 8, CLEAR);
        c.fillRoundRect(12, 28, 40, 32, 5, gold);
        c.bevel(12, 28, 40, 32, 3, 0.35f);
        c.fillCircle(32, 41, 5, rgb(60, 40, 10));
        c.fillPolygon({{29, 43}, {35, 43}, {37, 53}, {27, 53}}, rgb(60, 40, 10));
        c.outline(rgb(40, 30, 10));
        ctx.savePicture("Misc", "Lock", c);
    }
    ctx.savePicture("Misc", "Grail", [] {
        Canvas c(64, 64);
        const sf::Color gold = rgb(230, 185, 50);
        c.fillEllipse(32, 16, 20, 12, gold);
        c.fillEllipse(32, 12, 17, 5, shade(gold, 0.6f));
        c.fillRect(29, 24, 6, 22, gold);
        c.fillEllipse(32, 54, 16, 6, gold);
        c.fillCircle(32, 18, 3, rgb(200, 30, 50));
        c.noiseShade(0.2f, 4, 77);
        c.outline(rgb(90, 60, 10));
        return c;
    }());
}

REGISTER_ART(animations) {
    for (int f = 1; f <= 8; ++f) ctx.savePicture("Animations", "FlameF" + std::to_string(f), flameFrame(f));
    for (int f = 1; f <= 4; ++f) ctx.savePicture("Animations", "araraF" + std::to_string(f), macaw(f));
}

REGISTER_ART(shard_carpets) {
    // The platforms the shard room lays the retrieved and stolen shards on.
    auto carpet = [&](const char* name, sf::Color col) {
        Canvas c(120, 120);
        c.noiseFill(0, 0, 120, 120, col, 0.18f, 4, 301);
        c.strokeRect(6, 6, 108, 108, 6, rgb(230, 190, 70));
        c.strokeRect(16, 16, 88, 88, 2, shade(col, 1.4f));
        c.fillPolygon({{60, 28}, {92, 60}, {60, 92}, {28, 60}}, shade(col, 1.25f));
        c.fillPolygon({{60, 40}, {80, 60}, {60, 80}, {40, 60}}, shade(col, 0.75f));
        for (int k = 0; k < 120; k += 6) {
            c.fillRect(float(k), 0, 3, 3, rgb(240, 220, 160));
            c.fillRect(float(k), 117, 3, 3, rgb(240, 220, 160));
        }
        ctx.savePicture("Textures", name, c);
    };
    carpet("BlueCarpet", rgb(40, 60, 170));
    carpet("RedCarpet", rgb(170, 30, 40));
}
