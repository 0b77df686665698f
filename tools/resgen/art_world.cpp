// Planets, the shooter's pictures, slashes, thrown objects, story and battle backdrops, flags.
#include "Art.hpp"

#include <cmath>

using namespace art;

namespace {
// A lit sphere with a surface of noise bands or continents, optional ring.
Canvas planet(int size, sf::Color a, sf::Color b, std::uint32_t seed, bool banded, bool ring,
              bool continents = false) {
    Canvas c(size, size);
    const float r = ring ? size * 0.3f : size * 0.46f, cx = size / 2.f, cy = size / 2.f;
    auto ringPass = [&](bool front) {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                float dx = (x + 0.5f - cx) / (size * 0.48f), dy = (y + 0.5f - cy) / (size * 0.14f);
                float d = std::sqrt(dx * dx + dy * dy);
                if (d < 0.62f || d > 1.f) continue;
                if ((y + 0.5f > cy) != front) continue;
                float band = 0.7f + 0.3f * std::sin(d * 40.f);
                c.blend(x, y, withAlpha(shade(mix(a, b, 0.5f), 0.8f + 0.4f * band), 200));
            }
    };
    if (ring) ringPass(false);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            float d2 = dx * dx + dy * dy;
            if (d2 > 1.f) continue;
            float z = std::sqrt(1 - d2);
            float n;
            if (banded) n = 0.5f + 0.5f * std::sin(dy * 9.f + 3.f * fractalNoise(x * 1.f, y * 1.f, size / 4.f, 3, seed));
            else n = fractalNoise(dx / (1.3f - 0.3f * z) * 40.f + 100, dy * 40.f + 100, 14.f, 4, seed);
            sf::Color col = continents ? (n > 0.52f ? mix(b, shade(b, 0.6f), (n - 0.52f) * 4) : mix(a, shade(a, 0.7f), (0.52f - n) * 2))
                                       : mix(a, b, n);
            float light = std::clamp(0.25f + 0.95f * (-0.55f * dx - 0.45f * dy + 0.7f * z), 0.12f, 1.25f);
            float edge = std::clamp((1.f - std::sqrt(d2)) * r, 0.f, 1.f);
            c.blend(x, y, shade(col, light), edge);
        }
    if (continents) c.glow(cx, cy, r * 1.08f, rgb(140, 190, 255, 60));
    if (ring) ringPass(true);
    return c;
}

Canvas saucer(sf::Color hull, sf::Color dome, int lights) {
    Canvas c(120, 80);
    c.fillEllipse(60, 36, 26, 22, withAlpha(dome, 200));
    c.fillEllipse(52, 28, 8, 6, rgb(255, 255, 255, 140));
    c.fillEllipse(60, 48, 56, 16, hull);
    c.fillEllipse(60, 44, 50, 9, shade(hull, 1.3f));
    for (int k = 0; k < lights; ++k) {
        float x = 18 + k * (84.f / (lights - 1));
        c.fillCircle(x, 50, 3.5f, k % 2 ? rgb(255, 240, 80) : rgb(80, 255, 200));
    }
    c.fillEllipse(60, 62, 20, 5, shade(hull, 0.6f));
    c.glow(60, 70, 22, rgb(120, 255, 220, 90));
    c.outline(rgb(20, 20, 30));
    return c;
}

Canvas flag(const std::vector<sf::Color>& stripes, bool vertical, int emblem, sf::Color emblemColour) {
    Canvas c(150, 100);
    const int n = static_cast<int>(stripes.size());
    for (int k = 0; k < n; ++k) {
        if (vertical) c.fillRect(150.f * k / n, 0, 150.f / n + 1, 100, stripes[static_cast<std::size_t>(k)]);
        else c.fillRect(0, 100.f * k / n, 150, 100.f / n + 1, stripes[static_cast<std::size_t>(k)]);
    }
    if (emblem == 1) c.fillCircle(75, 50, 22, emblemColour);
    if (emblem == 2) {
        std::vector<sf::Vector2f> star;
        for (int k = 0; k < 10; ++k) {
            float a = -PI / 2 + k * PI / 5, rr = k % 2 ? 10.f : 25.f;
            star.push_back({75 + rr * std::cos(a), 50 + rr * std::sin(a)});
        }
        c.fillPolygon(star, emblemColour);
    }
    if (emblem == 3) c.fillPolygon({{0, 0}, {60, 50}, {0, 100}}, emblemColour);
    if (emblem == 4) {
        c.fillRect(0, 40, 150, 20, emblemColour);
        c.fillRect(45, 0, 20, 100, emblemColour);
    }
    c.strokeRect(0, 0, 150, 100, 1, rgb(40, 40, 40, 160));
    return c;
}
} // namespace

REGISTER_ART(planets) {
    struct P {
        const char* name;
        sf::Color a, b;
        bool banded, ring, continents;
    };
    const P list[] = {
        {"Earth", rgb(30, 80, 190), rgb(60, 150, 60), false, false, true},
        {"Mars", rgb(190, 80, 40), rgb(120, 50, 30), false, false, false},
        {"Moon", rgb(190, 190, 195), rgb(120, 120, 130), false, false, false},
        {"Mercury", rgb(160, 150, 140), rgb(100, 95, 90), false, false, false},
        {"Venus", rgb(230, 200, 130), rgb(200, 160, 90), true, false, false},
        {"Jupiter", rgb(220, 180, 140), rgb(160, 100, 70), true, false, false},
        {"Saturn", rgb(230, 210, 150), rgb(190, 160, 100), true, true, false},
        {"Uranus", rgb(150, 220, 230), rgb(110, 190, 210), true, true, false},
        {"Neptune", rgb(60, 100, 230), rgb(40, 60, 180), true, false, false},
        {"Pluto", rgb(210, 190, 170), rgb(150, 120, 100), false, false, false},
        {"Sun", rgb(255, 230, 90), rgb(255, 150, 30), false, false, false},
        {"PinkBubblegum", rgb(250, 150, 200), rgb(200, 90, 170), true, true, false},
        {"Mandelbrot", rgb(40, 20, 90), rgb(220, 90, 200), false, false, true},
        {"Ice", rgb(210, 235, 250), rgb(150, 190, 230), false, false, false},
    };
    std::uint32_t seed = 500;
    for (const P& p : list) {
        Canvas c = planet(200, p.a, p.b, seed++, p.banded, p.ring, p.continents);
        if (std::string(p.name) == "Sun") c.glow(100, 100, 100, rgb(255, 220, 80, 90));
        ctx.savePicture("Planets", p.name, c);
    }
}

REGISTER_ART(shooter) {
    Canvas ground(240, 240);
    ground.noiseFill(0, 0, 240, 240, rgb(50, 110, 45), 0.35f, 30, 901);
    Rng r(902);
    for (int k = 0; k < 14; ++k) {
        float x = r.range(0.f, 240.f), y = r.range(0.f, 240.f), s = r.range(12.f, 22.f);
        ground.fillCircle(x + 3, y + 4, s, rgb(0, 0, 0, 60));
        ground.fillCircle(x, y, s, rgb(30, 90, 35));
        ground.fillCircle(x - s * 0.3f, y - s * 0.3f, s * 0.55f, rgb(70, 140, 60));
    }
    ctx.savePicture("STF", "ForestTile", ground);
    const sf::Color hulls[5] = {rgb(170, 175, 190), rgb(200, 90, 90), rgb(90, 160, 210), rgb(200, 180, 80), rgb(150, 100, 200)};
    for (int k = 0; k < 5; ++k)
        ctx.savePicture("STF", "Saucer" + std::to_string(k + 1), saucer(hulls[k], rgb(150, 230, 255), 4 + k));
    Canvas missile(16, 64);
    missile.fillRoundRect(4, 8, 8, 46, 3, rgb(210, 210, 220));
    missile.fillPolygon({{4, 10}, {12, 10}, {8, 0}}, rgb(220, 40, 40));
    missile.fillPolygon({{4, 46}, {0, 58}, {4, 54}}, rgb(220, 40, 40));
    missile.fillPolygon({{12, 46}, {16, 58}, {12, 54}}, rgb(220, 40, 40));
    missile.fillEllipse(8, 59, 3, 5, rgb(255, 180, 40));
    missile.outline(rgb(30, 30, 40));
    ctx.savePicture("STF", "Missle1", missile);
    for (int f = 1; f <= 8; ++f) {
        Canvas c(96, 96);
        float t = f / 8.f;
        c.glow(48, 48, 20 + 28 * t, rgb(255, 230, 120, static_cast<int>(255 * (1 - t * 0.7f))));
        c.fillCircle(48, 48, 8 + 30 * t, rgb(255, 140, 30, static_cast<int>(220 * (1 - t))));
        c.fillCircle(48, 48, 4 + 18 * t, rgb(255, 240, 180, static_cast<int>(255 * (1 - t))));
        Rng d(static_cast<std::uint32_t>(f * 13));
        for (int k = 0; k < 10; ++k) {
            float a = d.range(0.f, 2 * PI), dist = 10 + 36 * t;
            c.fillCircle(48 + dist * std::cos(a), 48 + dist * std::sin(a), 3 * (1 - t) + 1, rgb(90, 80, 70, 200));
        }
        ctx.savePicture("Animations", "ExplosionF" + std::to_string(f), c);
    }
}

REGISTER_ART(slashes) {
    auto slash = [&](const char* name, sf::Color col, int arcs) {
        Canvas c(128, 128);
        for (int k = 0; k < arcs; ++k) {
            float off = (k - (arcs - 1) / 2.f) * 18;
            for (int s = 0; s < 40; ++s) {
                float u = s / 39.f;
                float x0 = 14 + u * 100 + off, y0 = 114 - u * 100 + off;
                float w = 10 * std::sin(u * PI) + 1;
                c.fillCircle(x0, y0, w / 2, withAlpha(col, 200));
                c.fillCircle(x0, y0, w / 5, rgb(255, 255, 255, 230));
            }
        }
        c.glow(64, 64, 60, withAlpha(col, 60));
        ctx.savePicture("Slashes", name, c);
    };
    slash("Sword", rgb(230, 240, 255), 1);
    slash("Claw", rgb(255, 90, 60), 3);
    slash("Squirel", rgb(250, 200, 80), 2);
    slash("Magic", rgb(170, 110, 255), 2);
}

REGISTER_ART(thrown) {
    // Each thrown object gets numbered variants; the centre pixel gives its trail colour.
    Canvas shoe(64, 48);
    shoe.fillRoundRect(6, 18, 52, 22, 10, rgb(130, 70, 40));
    shoe.fillRoundRect(4, 36, 56, 8, 3, rgb(60, 40, 30));
    shoe.fillRoundRect(8, 8, 22, 20, 6, rgb(130, 70, 40));
    shoe.line(14, 20, 28, 26, 2, rgb(240, 230, 210));
    shoe.outline(rgb(40, 20, 10));
    ctx.savePicture("StuffToThrow", "Shoe1", shoe);
    ctx.savePicture("StuffToThrow", "Shoe2", shoe.mirrored());
    for (int k = 1; k <= 2; ++k) {
        Canvas rock(48, 48);
        rock.fillPolygon({{8, 30}, {14, 10}, {30, 6}, {42, 18}, {40, 38}, {20, 42}}, rgb(130 + k * 10, 125, 120));
        rock.noiseShade(0.3f, 6, 7u + static_cast<unsigned>(k));
        rock.outline(rgb(50, 50, 50));
        ctx.savePicture("StuffToThrow", "Rock" + std::to_string(k), rock);
    }
    Canvas apple(48, 48);
    apple.fillCircle(24, 28, 16, rgb(210, 30, 40));
    apple.fillEllipse(18, 22, 5, 4, rgb(255, 150, 150));
    apple.line(24, 14, 26, 4, 3, rgb(90, 60, 30));
    apple.fillEllipse(32, 8, 7, 3, rgb(60, 160, 60));
    apple.outline(rgb(80, 10, 10));
    ctx.savePicture("StuffToThrow", "Apple1", apple);
}

REGISTER_ART(story) {
    Canvas c(480, 270);
    c.gradientRect(0, 0, 480, 270, rgb(10, 10, 40), rgb(60, 30, 90));
    c.speckle(0, 0, 480, 200, 120, rgb(255, 255, 230, 200), 77);
    Canvas world = planet(200, rgb(30, 80, 190), rgb(60, 150, 60), 501, false, false, true);
    c.paste(world, 260, 120);
    // Ten shards flying apart from one point.
    for (int k = 0; k < 10; ++k) {
        float a = k * 2 * PI / 10;
        float x = 160 + 90 * std::cos(a), y = 110 + 60 * std::sin(a);
        c.line(160, 110, x, y, 1, rgb(255, 255, 255, 60));
        c.fillPolygon({{x, y - 8}, {x + 6, y}, {x, y + 8}, {x - 6, y}}, mix(rgb(255, 80, 80), rgb(80, 160, 255), k / 9.f));
    }
    c.glow(160, 110, 40, rgb(255, 255, 200, 160));
    ctx.savePicture("Story", "Shards", c);
}

REGISTER_ART(battle_backgrounds) {
    Canvas field(480, 270);
    field.gradientRect(0, 0, 480, 150, rgb(110, 170, 240), rgb(190, 220, 250));
    field.noiseFill(0, 150, 480, 120, rgb(80, 150, 60), 0.25f, 12, 33);
    for (int k = 0; k < 6; ++k) field.fillEllipse(40 + k * 85.f, 150, 60, 18, rgb(60, 120, 60));
    field.fillEllipse(120, 50, 40, 14, rgb(255, 255, 255, 200));
    field.fillEllipse(330, 70, 55, 16, rgb(255, 255, 255, 180));
    ctx.savePicture("BattleBackgrounds", "Field", field);
    Canvas cave(480, 270);
    cave.noiseFill(0, 0, 480, 270, rgb(60, 50, 50), 0.35f, 20, 34);
    cave.fillEllipse(240, 300, 300, 120, rgb(40, 32, 30));
    for (int k = 0; k < 9; ++k) {
        float x = 20 + k * 55.f;
        cave.fillPolygon({{x, 0}, {x + 22, 0}, {x + 11, 40.f + (k % 3) * 20}}, rgb(80, 70, 70));
    }
    cave.glow(240, 200, 140, rgb(255, 150, 60, 50));
    ctx.savePicture("BattleBackgrounds", "Cave", cave);
}

REGISTER_ART(flags) {
    ctx.savePicture("Flags", "Brazil", [] {
        Canvas c(150, 100, rgb(0, 150, 60));
        c.fillPolygon({{75, 10}, {140, 50}, {75, 90}, {10, 50}}, rgb(250, 220, 0));
        c.fillCircle(75, 50, 22, rgb(20, 40, 130));
        c.line(54, 46, 96, 56, 4, rgb(255, 255, 255));
        return c;
    }());
    ctx.savePicture("Flags", "France", flag({rgb(0, 35, 150), rgb(255, 255, 255), rgb(240, 40, 50)}, true, 0, {}));
    ctx.savePicture("Flags", "Italy", flag({rgb(0, 146, 70), rgb(255, 255, 255), rgb(206, 43, 55)}, true, 0, {}));
    ctx.savePicture("Flags", "Germany", flag({rgb(0, 0, 0), rgb(221, 0, 0), rgb(255, 206, 0)}, false, 0, {}));
    ctx.savePicture("Flags", "Japan", flag({rgb(255, 255, 255)}, false, 1, rgb(190, 0, 40)));
    ctx.savePicture("Flags", "Vietnam", flag({rgb(218, 37, 29)}, false, 2, rgb(255, 255, 0)));
    ctx.savePicture("Flags", "Sweden", flag({rgb(0, 106, 167)}, false, 4, rgb(254, 204, 0)));
    ctx.savePicture("Flags", "Austria", flag({rgb(237, 41, 57), rgb(255, 255, 255), rgb(237, 41, 57)}, false, 0, {}));
    ctx.savePicture("Flags", "Czechia", flag({rgb(255, 255, 255), rgb(215, 20, 26)}, false, 3, rgb(17, 69, 126)));
    ctx.savePicture("Flags", "Portugal", [] {
        Canvas c(150, 100, rgb(255, 0, 0));
        c.fillRect(0, 0, 60, 100, rgb(0, 102, 0));
        c.fillCircle(60, 50, 18, rgb(255, 220, 0));
        c.fillCircle(60, 50, 11, rgb(255, 0, 0));
        return c;
    }());
}
