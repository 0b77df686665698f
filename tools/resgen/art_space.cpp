// Space: the planets the orrery adds, wormholes with the shard they lead to, the flight rocket
// and the destination markers of a rocket pad.
#include "Art.hpp"

#include <cmath>

using namespace art;

namespace {
// A lit globe: surface from two colours mixed by noise, optional stripes, lit from the top left.
Canvas globe(int size, sf::Color a, sf::Color b, std::uint32_t seed, int stripes) {
    Canvas c(size, size);
    const float r = size * 0.46f, cx = size / 2.f, cy = size / 2.f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            const float d2 = dx * dx + dy * dy;
            if (d2 > 1.f) continue;
            const float z = std::sqrt(1 - d2);
            float n = fractalNoise(dx * 40.f + 100, dy * 40.f + 100, 12.f, 4, seed);
            if (stripes > 0) n = 0.5f + 0.5f * std::sin(dy * stripes + 2.5f * n);
            const float light = std::clamp(0.25f + 0.95f * (-0.55f * dx - 0.45f * dy + 0.7f * z), 0.12f, 1.25f);
            const float edge = std::clamp((1.f - std::sqrt(d2)) * r, 0.f, 1.f);
            c.blend(x, y, shade(mix(a, b, n), light), edge);
        }
    return c;
}

// A swirl of light falling into a dark centre; `tint` colours its arms.
Canvas wormhole(int size, sf::Color tint, std::uint32_t seed) {
    Canvas c(size, size);
    const float cx = size / 2.f, cy = size / 2.f, R = size * 0.48f;
    c.glow(cx, cy, R, withAlpha(tint, 120));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = x + 0.5f - cx, dy = y + 0.5f - cy;
            const float d = std::sqrt(dx * dx + dy * dy) / R;
            if (d > 1.f) continue;
            const float a = std::atan2(dy, dx);
            // Three arms winding inward, brighter toward the rim of the throat.
            const float arm = 0.5f + 0.5f * std::sin(3 * a + 9.f * std::log(d + 0.05f));
            const float n = fractalNoise(x * 1.f, y * 1.f, size / 8.f, 3, seed);
            const float strength = arm * (1 - d) * 1.6f * (0.6f + 0.6f * n);
            c.blend(x, y, mix(tint, rgb(255, 255, 255), 0.35f * arm), std::clamp(strength, 0.f, 1.f));
        }
    // The throat.
    for (int k = 8; k > 0; --k)
        c.fillCircle(cx, cy, R * 0.08f * k / 2.f, rgb(5, 0, 20, 40 + k * 8));
    c.fillCircle(cx, cy, R * 0.12f, rgb(0, 0, 0));
    Rng r(seed);
    for (int k = 0; k < 40; ++k) {
        const float a = r.range(0.f, 2 * PI), d = r.range(0.2f, 0.95f) * R;
        c.fillCircle(cx + d * std::cos(a), cy + d * std::sin(a), r.range(0.6f, 1.6f), rgb(255, 255, 255, 200));
    }
    return c;
}

// A faceted shard crystal, pointing up.
void shard(Canvas& c, float cx, float cy, float h, sf::Color colour) {
    const float w = h * 0.42f;
    c.glow(cx, cy, h * 0.9f, withAlpha(colour, 110));
    c.fillPolygon({{cx, cy - h / 2}, {cx + w / 2, cy - h * 0.1f}, {cx + w * 0.3f, cy + h / 2},
                   {cx - w * 0.3f, cy + h / 2}, {cx - w / 2, cy - h * 0.1f}},
                  colour);
    c.fillPolygon({{cx, cy - h / 2}, {cx + w / 2, cy - h * 0.1f}, {cx, cy + h * 0.05f}}, shade(colour, 1.45f));
    c.fillPolygon({{cx, cy + h * 0.05f}, {cx + w * 0.3f, cy + h / 2}, {cx + w / 2, cy - h * 0.1f}}, shade(colour, 0.7f));
    c.line(cx, cy - h / 2, cx, cy + h / 2, 1.f, rgb(255, 255, 255, 120));
}

} // namespace

REGISTER_ART(space_planets) {
    ctx.savePicture("Planets", "Ceres", globe(200, rgb(150, 140, 130), rgb(95, 90, 85), 801, 0));
    ctx.savePicture("Planets", "AppleSky", globe(200, rgb(200, 40, 40), rgb(120, 200, 70), 802, 7));
    Canvas rainbow(200, 200);
    {
        const sf::Color bands[6] = {rgb(255, 70, 70), rgb(255, 170, 50), rgb(250, 235, 70),
                                    rgb(70, 210, 100), rgb(70, 140, 255), rgb(170, 80, 230)};
        const float r = 92, cx = 100, cy = 100;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) {
                const float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
                const float d2 = dx * dx + dy * dy;
                if (d2 > 1.f) continue;
                const float z = std::sqrt(1 - d2);
                const int band = std::clamp(static_cast<int>((dy + 1) * 3), 0, 5);
                const float light = std::clamp(0.3f + 0.9f * (-0.55f * dx - 0.45f * dy + 0.7f * z), 0.15f, 1.2f);
                const float edge = std::clamp((1.f - std::sqrt(d2)) * r, 0.f, 1.f);
                rainbow.blend(x, y, shade(bands[band], light), edge);
            }
        rainbow.glow(cx, cy, 100, rgb(255, 255, 255, 50));
    }
    ctx.savePicture("Planets", "RainbowSky", rainbow);
}

REGISTER_ART(space_wormholes) {
    ctx.savePicture("Misc", "WormHole", wormhole(240, rgb(120, 90, 255), 811));
    struct Hole {
        const char* name;
        sf::Color colour;
    };
    // Gates lead to the shards' chapters; the far systems hold stolen shards later on.
    const Hole holes[] = {
        {"RitPliar", rgb(180, 80, 220)},   {"Cave", rgb(150, 110, 70)},     {"Forest", rgb(40, 170, 70)},
        {"Water", rgb(40, 120, 230)},      {"Air", rgb(190, 230, 245)},     {"Fire", rgb(235, 70, 30)},
        {"Princess", rgb(245, 120, 190)},  {"Moon", rgb(200, 205, 220)},    {"Sun", rgb(250, 200, 40)},
        {"Rainbow", rgb(255, 255, 255)},   {"CauchemarSystem", rgb(200, 40, 60)},
        {"MandelSystem", rgb(220, 90, 200)}, {"BesixdouzeSystem", rgb(80, 220, 200)},
    };
    std::uint32_t seed = 820;
    for (const Hole& h : holes) {
        Canvas c = wormhole(240, h.colour, seed++);
        shard(c, 120, 120, 70, h.colour);
        ctx.savePicture("Misc", std::string("WormHole") + h.name + "Shard", c);
    }
}

REGISTER_ART(space_rocket) {
    // The flight rocket: a white hull with a porthole, red fins and nose. Drawn nose up, kept nose
    // down: the flight turns it by its angle, and at angle 0 it leaves toward the bottom edge.
    Canvas c(120, 240);
    const sf::Color hull = rgb(235, 235, 240), red = rgb(210, 40, 40);
    c.fillPolygon({{30, 170}, {8, 222}, {40, 205}}, red);
    c.fillPolygon({{90, 170}, {112, 222}, {80, 205}}, red);
    c.fillRoundRect(30, 60, 60, 150, 22, hull);
    c.fillPolygon({{30, 78}, {60, 6}, {90, 78}}, red);
    c.fillEllipse(60, 70, 30, 14, red);
    c.gradientRect(30, 80, 12, 120, rgb(255, 255, 255, 90), rgb(255, 255, 255, 0));
    c.fillRect(76, 80, 14, 128, rgb(0, 0, 0, 40));
    c.fillCircle(60, 115, 15, rgb(70, 80, 100));
    c.fillCircle(60, 115, 11, rgb(90, 170, 230));
    c.fillCircle(56, 111, 4, rgb(220, 245, 255));
    c.fillRect(50, 206, 20, 10, rgb(90, 90, 100));
    c.fillPolygon({{60, 222}, {45, 210}, {75, 210}}, rgb(255, 170, 40, 220));
    c.outline(rgb(30, 30, 40));
    c.image().flipVertically();
    ctx.savePicture("Objects", "Rocket", c);
}

REGISTER_ART(space_destinations) {
    // What a rocket pad offers, beside it: a little globe of the planet on a lit stand.
    struct Dest {
        const char* name;
        sf::Color a, b;
        int stripes;
    };
    const Dest dests[] = {
        {"Earth", rgb(30, 80, 190), rgb(60, 150, 60), 0},
        {"Mars", rgb(190, 80, 40), rgb(120, 50, 30), 0},
        {"Ceres", rgb(150, 140, 130), rgb(95, 90, 85), 0},
        {"Moon", rgb(190, 190, 195), rgb(120, 120, 130), 0},
        {"Mercury", rgb(160, 150, 140), rgb(100, 95, 90), 0},
        {"Cauchemar", rgb(70, 20, 40), rgb(200, 60, 30), 2},
        {"Mandelbrot", rgb(40, 20, 90), rgb(220, 90, 200), 3},
        {"Orange", rgb(250, 150, 30), rgb(200, 90, 20), 1},
    };
    std::uint32_t seed = 840;
    for (const Dest& d : dests) {
        Canvas c(120, 120);
        c.fillEllipse(60, 112, 30, 7, rgb(0, 0, 0, 80));
        c.fillRect(55, 70, 10, 40, rgb(110, 110, 125));
        c.fillRect(40, 104, 40, 8, rgb(80, 80, 95));
        c.glow(60, 44, 44, rgb(150, 200, 255, 90));
        c.paste(globe(76, d.a, d.b, seed++, d.stripes), 22, 6);
        c.outline(rgb(25, 25, 35));
        ctx.savePicture("Objects", d.name, c);
    }
}

REGISTER_ART(space_observatory) {
    // A brass telescope on a tripod, aimed up and to the right.
    Canvas t(120, 160);
    const sf::Color legs = rgb(70, 60, 50), brass = rgb(200, 160, 70);
    t.line(60, 92, 28, 154, 5, legs);
    t.line(60, 92, 92, 154, 5, legs);
    t.line(60, 92, 60, 156, 5, legs);
    t.fillCircle(60, 90, 8, shade(brass, 0.7f));
    t.line(22, 118, 104, 34, 18, brass);
    t.line(22, 118, 104, 34, 7, shade(brass, 1.35f));
    t.fillCircle(106, 32, 12, shade(brass, 0.8f));
    t.fillCircle(106, 32, 8, rgb(120, 190, 240));
    t.fillCircle(20, 120, 6, rgb(40, 40, 40));
    t.outline(rgb(30, 25, 20));
    ctx.savePicture("Objects", "Telescope", t);

    // A star chart on a lectern: a dark map with orbits, planets and a few marked shards.
    Canvas m(120, 150);
    m.fillRect(54, 80, 12, 64, rgb(100, 70, 40));
    m.fillRect(34, 138, 52, 8, rgb(80, 55, 30));
    m.fillRoundRect(8, 14, 104, 76, 6, rgb(120, 85, 50));
    m.fillRoundRect(13, 19, 94, 66, 4, rgb(18, 22, 48));
    for (float r : {10.f, 18.f, 26.f, 33.f}) m.strokeCircle(60, 52, r, 1.f, rgb(200, 200, 230, 120));
    m.fillCircle(60, 52, 5, rgb(255, 220, 80));
    m.fillCircle(70, 44, 3, rgb(60, 130, 230));
    m.fillCircle(44, 62, 3, rgb(200, 80, 40));
    m.fillCircle(86, 60, 3, rgb(230, 200, 140));
    m.speckle(14, 20, 92, 64, 30, rgb(255, 255, 255, 180), 851);
    m.fillPolygon({{28, 28}, {31, 33}, {28, 38}, {25, 33}}, rgb(240, 120, 190));
    m.fillPolygon({{92, 30}, {95, 35}, {92, 40}, {89, 35}}, rgb(60, 200, 110));
    m.outline(rgb(30, 20, 10));
    ctx.savePicture("Objects", "StarChart", m);

    // The gamer's chip: a green circuit board square with gold pins.
    Canvas chip(64, 64);
    for (int k = 0; k < 6; ++k) {
        const float p = 12 + k * 8;
        chip.fillRect(p, 4, 3, 10, rgb(230, 190, 70));
        chip.fillRect(p, 50, 3, 10, rgb(230, 190, 70));
        chip.fillRect(4, p, 10, 3, rgb(230, 190, 70));
        chip.fillRect(50, p, 10, 3, rgb(230, 190, 70));
    }
    chip.fillRoundRect(12, 12, 40, 40, 4, rgb(30, 110, 60));
    chip.fillRoundRect(20, 20, 24, 24, 2, rgb(35, 35, 40));
    chip.line(16, 30, 20, 30, 1.5f, rgb(220, 220, 120));
    chip.line(44, 36, 48, 36, 1.5f, rgb(220, 220, 120));
    chip.fillCircle(25, 25, 2, rgb(200, 200, 210));
    chip.outline(rgb(15, 40, 20));
    ctx.savePicture("Items", "Chip", chip);
}
