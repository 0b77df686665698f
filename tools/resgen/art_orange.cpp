// The Besixdouze system: Orange, the planet inside the star, with its town, its palace and its
// groves; Pocuri at the edge of its nebula; the star, its worlds and their globes on the rocket
// pads; the eight numbered dolls of the king's hunt, the jester's cap, the faces of the king and
// his jester, two battle backdrops and the two planets' tunes.
#include "Art.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

using namespace art;

namespace {

// The colours Orange is painted in: its fruit, its leaves and bark, and the gold of its court.
struct Palette {
    sf::Color peel = rgb(245, 145, 30);
    sf::Color leaf = rgb(40, 120, 50);
    sf::Color bark = rgb(105, 70, 40);
    sf::Color gold = rgb(240, 195, 60);
};
const Palette ORANGE;
const sf::Color PEEL = ORANGE.peel, LEAF = ORANGE.leaf, BARK = ORANGE.bark, GOLD = ORANGE.gold;

// The finished picture, with a two-pixel outline of ink around everything drawn.
Canvas outlined(Canvas c, sf::Color ink) {
    c.outline(ink, 2);
    return c;
}

// One fruit with the shine of the sun on its upper left.
void fruit(Canvas& c, float x, float y, float r, sf::Color skin = PEEL) {
    c.fillCircle(x, y, r, skin);
    c.fillCircle(x - r * 0.3f, y - r * 0.3f, r * 0.3f, shade(skin, 1.45f));
}

// ---------------------------------------------------------------------------------------------
// Ground: each drawn by one function at the full and the zoomed-out size (k = size / 120).

using Ground = std::function<void(Canvas&, float)>;

void saveGround(Context& ctx, const std::string& name, const Ground& draw) {
    for (const int size : {120, 60}) {
        Canvas c(size, size);
        draw(c, size / 120.f);
        ctx.savePicture("Textures", size == 60 ? name + "_zoomOut" : name, c);
    }
}

// Warm apricot earth, baked under a sky that is all sunlight, with peel-coloured pebbles.
void orangeSoil(Canvas& c, float k) {
    const float n = static_cast<float>(c.width());
    c.noiseFill(0, 0, n, n, rgb(226, 168, 104), 0.2f, 22 * k, 1201);
    c.speckle(0, 0, n, n, static_cast<int>(34 * k), rgb(186, 120, 62), 1202);
    Rng r(1203);
    for (int i = 0; i < static_cast<int>(7 * k) + 2; ++i)
        c.fillEllipse(r.range(4.f, n - 4), r.range(4.f, n - 4), 2.5f * k + 0.5f, 1.8f * k + 0.5f, rgb(240, 150, 60));
}

// The town's streets: amber flagstones in staggered rows, laid so that tiles meet seamlessly.
void orangePaving(Canvas& c, float k) {
    const float n = static_cast<float>(c.width());
    c.fill(rgb(150, 90, 40));
    const float h = n / 3, w = n / 2;
    Rng r(1211);
    for (int row = 0; row < 3; ++row)
        for (int i = 0; i < 2; ++i) {
            const float x = i * w + (row % 2) * w / 2;
            const sf::Color stone = shade(rgb(235, 170, 85), r.range(0.86f, 1.1f));
            for (const float dx : {0.f, -n}) // the stone cut by the right edge goes on at the left
                c.fillRoundRect(x + dx + 2 * k, row * h + 2 * k, w - 4 * k, h - 4 * k, 6 * k, stone);
        }
    c.noiseShade(0.1f, 10 * k + 1, 1212);
}

// The palace floor: gold and cream squares, each with a little sun at its middle.
void sunMosaic(Canvas& c, float k) {
    const float n = static_cast<float>(c.width()), q = n / 2;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            const float x = i * q, y = j * q;
            c.fillRect(x, y, q, q, (i + j) % 2 ? rgb(250, 225, 160) : rgb(236, 180, 70));
            c.strokeRect(x, y, q, q, 1.5f * k + 0.5f, rgb(170, 110, 40));
            c.fillCircle(x + q / 2, y + q / 2, 7 * k, rgb(250, 140, 30));
            for (int a = 0; a < 8; ++a) {
                const float t = a * PI / 4;
                c.line(x + q / 2 + 9 * k * std::cos(t), y + q / 2 + 9 * k * std::sin(t),
                       x + q / 2 + 15 * k * std::cos(t), y + q / 2 + 15 * k * std::sin(t), 1.5f * k + 0.5f,
                       rgb(230, 120, 30));
            }
        }
}

// The palace's walls: glazed amber blocks with a darker joint.
void amberWall(Canvas& c, float k) {
    const float n = static_cast<float>(c.width());
    c.fill(rgb(120, 60, 20));
    const float bh = 20 * k, bw = 40 * k;
    Rng r(1221);
    for (int row = 0; row * bh < n; ++row)
        for (float x = -(row % 2) * bw / 2; x < n; x += bw) {
            const sf::Color glaze = shade(rgb(210, 120, 40), r.range(0.85f, 1.12f));
            c.fillRoundRect(x + 1.5f * k, row * bh + 1.5f * k, bw - 3 * k, bh - 3 * k, 3 * k, glaze);
            c.line(x + 4 * k, row * bh + 4 * k, x + bw - 8 * k, row * bh + 4 * k, 1.f, rgb(250, 190, 110, 160));
        }
}

// The groves' grass, bleached yellow by the endless day, strewn with fallen leaves.
void groveGrass(Canvas& c, float k) {
    const float n = static_cast<float>(c.width());
    c.noiseFill(0, 0, n, n, rgb(170, 175, 70), 0.22f, 20 * k, 1231);
    // Dry tufts: three stalks fanning out of one root.
    Rng r(1232);
    for (int i = 0; i < static_cast<int>(22 * k) + 3; ++i) {
        const float x = r.range(4.f, n - 4), y = r.range(8.f, n);
        const sf::Color stalk = r.below(2) ? rgb(215, 205, 100) : rgb(120, 130, 50);
        for (const float lean : {-3.f, 0.f, 3.f}) c.line(x, y, x + lean * k, y - 7 * k, 1.f, stalk);
    }
    for (int i = 0; i < static_cast<int>(4 * k) + 1; ++i)
        c.fillEllipse(r.range(6.f, n - 6), r.range(6.f, n - 6), 5 * k, 2.5f * k, rgb(70, 120, 40));
}

// Pocuri's violet moss, with spores that glow in the nebula's light.
void pocuriMoss(Canvas& c, float k) {
    const float n = static_cast<float>(c.width());
    c.noiseFill(0, 0, n, n, rgb(110, 70, 140), 0.3f, 16 * k, 1241);
    c.speckle(0, 0, n, n, static_cast<int>(40 * k), rgb(80, 45, 110), 1242);
    Rng r(1243);
    for (int i = 0; i < static_cast<int>(8 * k) + 2; ++i) {
        const float x = r.range(3.f, n - 3), y = r.range(3.f, n - 3);
        c.glow(x, y, 6 * k + 1, rgb(170, 255, 230, 150));
        c.fillCircle(x, y, 1.2f * k + 0.4f, rgb(220, 255, 245));
    }
}

// The nebula's walkable mist: pink, violet and blue gas, thick enough to stand on, drawn from
// noise that wraps at the tile's edges so the ground runs on without seams.
void nebulaMist(Canvas& c, float k) {
    const int n = c.width();
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            // Small wisps rather than broad bands: a band would stripe the ground tile after tile.
            const float gas = fractalNoise(x / k, y / k, 20, 3, 1251, 120, 120);
            const float cold = fractalNoise(x / k, y / k, 15, 2, 1253, 120, 120);
            c.set(x, y, mix(mix(rgb(110, 65, 150), rgb(180, 90, 165), gas), rgb(100, 135, 210), 0.45f * cold));
        }
    c.speckle(0, 0, static_cast<float>(n), static_cast<float>(n), static_cast<int>(10 * k) + 2, rgb(255, 250, 220), 1252);
}

// ---------------------------------------------------------------------------------------------
// Things that stand on the tiles (foot on the picture's lower edge).

Canvas orangeTree(bool lemons) {
    Canvas c(120, 180);
    c.fillEllipse(60, 174, 34, 6, rgb(0, 0, 0, 60));
    c.fillPolygon({{52, 176}, {54, 110}, {66, 110}, {70, 176}}, BARK);
    c.line(60, 120, 40, 96, 6, BARK);
    c.line(62, 116, 84, 92, 6, BARK);
    Rng r(lemons ? 1302 : 1301);
    for (int i = 0; i < 14; ++i)
        c.fillCircle(60 + r.range(-38.f, 38.f), 70 + r.range(-38.f, 30.f), r.range(16.f, 24.f),
                     shade(LEAF, r.range(0.8f, 1.2f)));
    c.noiseShade(0.15f, 8, lemons ? 1304 : 1303);
    const sf::Color fruit = lemons ? rgb(250, 235, 70) : PEEL;
    for (int i = 0; i < 11; ++i) {
        const float x = 60 + r.range(-36.f, 36.f), y = 70 + r.range(-34.f, 32.f);
        if (lemons) c.fillEllipse(x, y, 8, 6, fruit);
        else c.fillCircle(x, y, 7, fruit);
        c.fillCircle(x - 2, y - 2, 2.5f, shade(fruit, 1.5f));
    }
    return outlined(c, rgb(20, 50, 20));
}

Canvas fruitStall() {
    Canvas c(120, 160);
    for (float x : {10.f, 104.f}) c.fillRect(x, 40, 6, 120, rgb(120, 80, 45));
    // The awning, peel and cream stripes.
    for (int s = 0; s < 6; ++s)
        c.fillPolygon({{4 + s * 19.f, 22}, {23 + s * 19.f, 22}, {23 + s * 19.f, 50}, {4 + s * 19.f, 50}},
                      s % 2 ? rgb(255, 245, 220) : PEEL);
    for (int s = 0; s < 6; ++s) c.fillCircle(13.5f + s * 19.f, 50, 9.5f, s % 2 ? rgb(255, 245, 220) : PEEL);
    c.fillRect(2, 14, 116, 10, rgb(200, 100, 20));
    c.fillRect(4, 104, 112, 56, rgb(160, 105, 55));
    for (float y : {118.f, 134.f, 150.f}) c.line(4, y, 116, y, 2, rgb(120, 75, 40));
    c.fillRect(0, 96, 120, 10, rgb(190, 130, 70));
    for (int i = 0; i < 16; ++i) fruit(c, 16 + (i % 8) * 12.f + (i % 3) - 1, 88 - (i / 8) * 9.f, 7, i % 5 == 2 ? rgb(250, 230, 70) : PEEL);
    return outlined(c, rgb(60, 30, 10));
}

Canvas juiceFountain() {
    Canvas c(120, 150);
    c.fillEllipse(60, 126, 56, 20, rgb(200, 130, 60));
    c.fillRect(4, 108, 112, 20, rgb(200, 130, 60));
    c.fillEllipse(60, 108, 56, 18, rgb(230, 160, 80));
    c.fillEllipse(60, 108, 48, 13, rgb(255, 150, 20));
    c.fillEllipse(54, 105, 20, 4, rgb(255, 210, 120, 200));
    c.fillRect(52, 54, 16, 56, rgb(220, 150, 70));
    c.fillEllipse(60, 56, 26, 9, rgb(230, 160, 80));
    c.fillCircle(60, 36, 16, PEEL);
    c.fillEllipse(66, 24, 6, 3, LEAF);
    // Juice arching out of the fruit on both sides.
    for (int s : {-1, 1})
        for (int i = 0; i < 14; ++i) {
            const float t = i / 13.f;
            c.fillCircle(60 + s * (10 + 34 * t), 36 + 70 * t * t - 10 * t, 3.5f, rgb(255, 170, 40, 220));
        }
    return outlined(c, rgb(90, 50, 20));
}

Canvas orangeCrate() {
    Canvas c(120, 100);
    c.fillRect(12, 44, 96, 52, rgb(180, 130, 70));
    for (float y : {58.f, 74.f}) c.line(12, y, 108, y, 3, rgb(130, 90, 45));
    c.strokeRect(12, 44, 96, 52, 4, rgb(120, 80, 40));
    for (int i = 0; i < 9; ++i) fruit(c, 24 + i * 9.f, 40 - (i % 3) * 5.f, 9);
    return outlined(c, rgb(60, 35, 15));
}

Canvas sunLamp() {
    Canvas c(60, 200);
    c.fillRect(27, 44, 6, 156, rgb(150, 90, 30));
    c.fillRect(18, 190, 24, 10, rgb(120, 70, 25));
    c.glow(30, 28, 30, rgb(255, 220, 120, 170));
    for (int a = 0; a < 12; ++a) {
        const float t = a * PI / 6;
        c.line(30 + 14 * std::cos(t), 28 + 14 * std::sin(t), 30 + 22 * std::cos(t), 28 + 22 * std::sin(t), 2.5f,
               rgb(255, 190, 60));
    }
    c.fillCircle(30, 28, 12, rgb(255, 230, 120));
    return c;
}

Canvas throne() {
    Canvas c(120, 190);
    // The sun disc behind the seat.
    for (int a = 0; a < 16; ++a) {
        const float t = a * PI / 8;
        c.fillPolygon({{60 + 30 * std::cos(t - 0.12f), 50 + 30 * std::sin(t - 0.12f)},
                       {60 + 54 * std::cos(t), 50 + 54 * std::sin(t)},
                       {60 + 30 * std::cos(t + 0.12f), 50 + 30 * std::sin(t + 0.12f)}},
                      rgb(250, 170, 40));
    }
    c.fillCircle(60, 50, 34, GOLD);
    c.fillCircle(60, 50, 24, PEEL);
    c.fillRoundRect(26, 70, 68, 80, 10, rgb(220, 160, 50));
    c.fillRoundRect(34, 78, 52, 60, 8, rgb(190, 40, 50));
    c.fillRect(20, 120, 80, 20, rgb(220, 160, 50));
    c.fillRoundRect(24, 112, 72, 18, 6, rgb(200, 50, 60));
    for (float x : {24.f, 88.f}) c.fillRect(x, 140, 8, 46, rgb(200, 140, 40));
    c.fillRect(14, 180, 92, 10, rgb(170, 110, 30));
    return outlined(c, rgb(90, 50, 10));
}

// A long high table laid for a banquet: a tablecloth, fruit bowls and a jug. Its top is level with
// the top of its cell, where a thing laid on it is drawn.
Canvas banquetTable() {
    Canvas c(120, 170);
    for (float x : {14.f, 100.f}) c.fillRect(x, 60, 7, 110, rgb(120, 75, 35));
    c.line(17, 150, 103, 150, 4, rgb(100, 60, 30));
    c.fillRect(2, 50, 116, 36, rgb(250, 240, 215));
    c.fillPolygon({{2, 86}, {118, 86}, {112, 98}, {8, 98}}, rgb(230, 215, 185));
    for (float x = 8; x < 118; x += 16) c.line(x, 86, x + 4, 98, 1.5f, rgb(240, 150, 40));
    c.fillEllipse(24, 50, 16, 6, rgb(200, 200, 210));
    for (float x : {17.f, 24.f, 31.f}) c.fillCircle(x, 45, 5, PEEL);
    c.fillRoundRect(96, 26, 12, 26, 5, rgb(240, 150, 40));
    c.fillRect(99, 22, 6, 6, rgb(240, 150, 40));
    return outlined(c, rgb(70, 40, 15));
}

Canvas vase(sf::Color glaze) {
    Canvas c(120, 130);
    c.fillEllipse(60, 126, 30, 5, rgb(0, 0, 0, 60));
    c.fillEllipse(60, 84, 34, 40, glaze);
    c.fillRect(46, 20, 28, 40, glaze);
    c.fillEllipse(60, 20, 18, 6, shade(glaze, 0.6f));
    c.fillRect(40, 14, 40, 6, shade(glaze, 1.2f));
    c.line(28, 84, 92, 84, 4, GOLD);
    c.fillEllipse(48, 74, 6, 16, rgb(255, 255, 255, 90));
    return outlined(c, rgb(40, 30, 30));
}

// The wall hanging of the palace: the royal sun on a peel-coloured banner.
Canvas sunBanner() {
    Canvas c(120, 150);
    c.fillRect(20, 6, 80, 6, rgb(150, 100, 40));
    c.fillPolygon({{26, 12}, {94, 12}, {94, 130}, {60, 112}, {26, 130}}, rgb(200, 60, 40));
    c.fillCircle(60, 58, 20, GOLD);
    for (int a = 0; a < 12; ++a) {
        const float t = a * PI / 6;
        c.line(60 + 22 * std::cos(t), 58 + 22 * std::sin(t), 60 + 30 * std::cos(t), 58 + 30 * std::sin(t), 3, GOLD);
    }
    return outlined(c, rgb(80, 30, 20));
}

// The fruit cart of the groves, its box piled high with oranges up to the top of its cell.
Canvas fruitCart() {
    Canvas c(120, 150);
    c.line(104, 110, 120, 94, 5, rgb(120, 75, 40));
    c.fillRect(10, 84, 94, 40, rgb(170, 110, 55));
    c.strokeRect(10, 84, 94, 40, 3, rgb(110, 70, 35));
    for (int layer = 0; layer < 5; ++layer)
        for (int i = 0; i < 6 - layer; ++i)
            fruit(c, 18 + layer * 7.5f + i * 15.f, 78 - layer * 11.f, 8, layer == 4 ? rgb(250, 230, 70) : PEEL);
    for (float x : {30.f, 84.f}) {
        c.fillCircle(x, 132, 16, rgb(90, 60, 35));
        c.fillCircle(x, 132, 5, rgb(160, 120, 80));
    }
    return outlined(c, rgb(60, 35, 15));
}

// The hive of the grove wasps, hanging from a broken branch.
Canvas waspHive() {
    Canvas c(120, 170);
    c.fillPolygon({{54, 170}, {56, 60}, {66, 60}, {70, 170}}, BARK);
    c.line(60, 64, 98, 30, 6, BARK);
    for (int band = 0; band < 6; ++band) {
        const float y = 60 + band * 12.f, w = 20 + 10 * std::sin((band + 0.5f) * PI / 6);
        c.fillEllipse(92, y, w, 8, band % 2 ? rgb(200, 150, 60) : rgb(230, 180, 80));
    }
    c.fillCircle(92, 112, 6, rgb(50, 35, 20));
    Rng r(1341);
    for (int i = 0; i < 6; ++i) {
        const float x = r.range(20.f, 110.f), y = r.range(20.f, 140.f);
        c.fillEllipse(x, y, 5, 3, rgb(250, 190, 30));
        c.line(x - 3, y, x + 3, y, 1.5f, rgb(40, 30, 10));
        c.fillEllipse(x, y - 4, 4, 2, rgb(255, 255, 255, 170));
    }
    return outlined(c, rgb(50, 35, 15));
}

// Mushrooms that glow on Pocuri's moss.
Canvas glowShroom() {
    Canvas c(120, 110);
    const std::array<std::array<float, 3>, 3> caps{{{40, 70, 18}, {72, 56, 24}, {92, 82, 12}}};
    for (const auto& [x, top, r] : caps) {
        c.glow(x, top, r * 2.2f, rgb(120, 255, 220, 120));
        c.fillRect(x - r * 0.25f, top, r * 0.5f, 106 - top, rgb(220, 215, 235));
        c.fillEllipse(x, top, r, r * 0.6f, rgb(90, 220, 200));
        c.fillEllipse(x - r * 0.3f, top - r * 0.2f, r * 0.35f, r * 0.18f, rgb(210, 255, 245));
    }
    return outlined(c, rgb(40, 30, 70));
}

// The walls of the nebula: thick puffs of gas lit from within.
Canvas nebulaPuff() {
    Canvas c(120, 150);
    Rng r(1351);
    for (int i = 0; i < 12; ++i) {
        const float x = 60 + r.range(-40.f, 40.f), y = 90 + r.range(-50.f, 40.f), s = r.range(18.f, 30.f);
        c.fillCircle(x, y, s, mix(rgb(120, 70, 170), rgb(230, 120, 190), r.unit()));
    }
    c.noiseShade(0.25f, 12, 1352);
    c.glow(60, 90, 50, rgb(255, 200, 240, 90));
    c.speckle(10, 30, 100, 110, 14, rgb(255, 255, 230), 1353);
    return c;
}

// The seal of sunlight that closes the nebula's heart: upright golden rays around a sun glyph.
Canvas sunSeal() {
    Canvas c(120, 200);
    c.glow(60, 110, 70, rgb(255, 210, 90, 150));
    for (float x = 14; x <= 106; x += 13)
        c.gradientRect(x - 3, 10, 6, 186, rgb(255, 250, 200, 60), rgb(255, 190, 60, 230));
    c.fillCircle(60, 100, 20, rgb(255, 230, 120));
    c.strokeCircle(60, 100, 27, 3, rgb(255, 170, 40));
    for (int a = 0; a < 8; ++a) {
        const float t = a * PI / 4;
        c.line(60 + 30 * std::cos(t), 100 + 30 * std::sin(t), 60 + 38 * std::cos(t), 100 + 38 * std::sin(t), 3,
               rgb(255, 170, 40));
    }
    return c;
}

// The warden's signal light on Pocuri: a crystal on a post that points the way into the nebula.
Canvas nebulaBeacon() {
    Canvas c(80, 200);
    c.fillRect(36, 60, 8, 140, rgb(90, 80, 110));
    c.fillRect(24, 190, 32, 10, rgb(70, 60, 90));
    c.glow(40, 40, 36, rgb(200, 150, 255, 160));
    c.fillPolygon({{40, 10}, {54, 40}, {40, 66}, {26, 40}}, rgb(210, 170, 255));
    c.fillPolygon({{40, 10}, {54, 40}, {40, 40}}, rgb(245, 225, 255));
    return outlined(c, rgb(50, 30, 80));
}

// ---------------------------------------------------------------------------------------------
// Worlds, as the star system and the flights show them.

// A sphere of the given surface, lit from the upper left; the surface function gets the point's
// coordinates on the disc (-1..1) and gives its colour.
Canvas sphere(int size, const std::function<sf::Color(float, float)>& surface) {
    Canvas c(size, size);
    const float r = size * 0.47f, mid = size / 2.f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float u = (x + 0.5f - mid) / r, v = (y + 0.5f - mid) / r;
            const float d = std::sqrt(u * u + v * v);
            if (d > 1) continue;
            const float depth = std::sqrt(1 - d * d);
            const float lit = std::clamp(0.3f + 0.85f * (0.6f * depth - 0.45f * u - 0.4f * v), 0.15f, 1.3f);
            c.blend(x, y, shade(surface(u, v), lit), std::clamp((1 - d) * r, 0.f, 1.f));
        }
    return c;
}

// Orange: a dimpled peel-coloured world, patched with the dark green of its groves, under a thin
// golden haze.
Canvas orangeWorld(int size) {
    Canvas c = sphere(size, [](float u, float v) {
        const float peel = fractalNoise(u * 90 + 50, v * 90 + 50, 6, 2, 1401);
        const float groves = fractalNoise(u * 40 + 9, v * 40 + 9, 14, 4, 1402);
        const sf::Color ground = mix(rgb(250, 165, 45), rgb(215, 105, 20), peel);
        return groves > 0.6f ? mix(ground, rgb(70, 130, 40), std::min(1.f, (groves - 0.6f) * 6)) : ground;
    });
    c.glow(size / 2.f, size / 2.f, size * 0.5f, rgb(255, 220, 120, 60));
    return c;
}

// Pocuri: a violet world of moss and glassy seas, swirled by the nebula's winds.
Canvas pocuriWorld(int size) {
    return sphere(size, [](float u, float v) {
        const float n = fractalNoise(u * 50 + 20 + 10 * v, v * 50 + 20, 12, 4, 1411);
        return n > 0.55f ? mix(rgb(150, 90, 190), rgb(200, 150, 230), (n - 0.55f) * 2)
                         : mix(rgb(40, 120, 160), rgb(60, 170, 190), n);
    });
}

// Jacarock: a bare boulder of a world, cratered and grey-brown.
Canvas jacarockWorld(int size) {
    Canvas c = sphere(size, [](float u, float v) {
        const float n = fractalNoise(u * 40 + 70, v * 40 + 70, 8, 4, 1421);
        return mix(rgb(120, 100, 85), rgb(175, 155, 130), n);
    });
    Rng r(1422);
    for (int i = 0; i < 7; ++i) {
        const float a = r.range(0.f, 2 * PI), d = r.range(0.f, 0.7f) * size * 0.45f, s = r.range(4.f, 11.f) * size / 200;
        const float x = size / 2.f + d * std::cos(a), y = size / 2.f + d * std::sin(a);
        c.fillCircle(x, y, s, rgb(90, 75, 65, 160));
        c.fillCircle(x - s * 0.25f, y - s * 0.25f, s * 0.7f, rgb(140, 120, 100, 140));
    }
    return c;
}

// Besixdouze, the star Orange circles inside: a ring of fire around a clear, gold heart where
// the planet can be seen.
Canvas besixdouzeStar(int size) {
    Canvas c(size, size);
    const float mid = size / 2.f, R = size * 0.48f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = x + 0.5f - mid, dy = y + 0.5f - mid;
            const float d = std::sqrt(dx * dx + dy * dy) / R;
            if (d > 1) continue;
            // Around the ring the noise wraps, so its flames meet where the angle comes round.
            const float around = (std::atan2(dy, dx) + PI) / (2 * PI) * 96;
            const float flicker = fractalNoise(around, d * 40, 6, 3, 1431, 96, 96);
            // Bright in the rim, thinning to a clear golden heart and out into the corona.
            const float rim = std::exp(-std::pow((d - 0.62f) / (0.16f + 0.08f * flicker), 2));
            const float heart = d < 0.45f ? 0.35f * (1 - d / 0.45f) : 0.f;
            const sf::Color colour = mix(rgb(255, 120, 20), rgb(255, 245, 170), rim);
            c.blend(x, y, colour, std::clamp(rim * 1.2f + heart + 0.15f * (1 - d), 0.f, 1.f));
        }
    c.glow(mid, mid, R, rgb(255, 200, 90, 90));
    return c;
}

// The Pocuri nebula as space shows it: drifting veils of pink and blue with young stars.
Canvas nebulaCloud(int size) {
    Canvas c(size, size);
    const float mid = size / 2.f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float d = std::hypot(x + 0.5f - mid, y + 0.5f - mid) / mid;
            if (d > 1) continue;
            const float n = fractalNoise(static_cast<float>(x), static_cast<float>(y), size / 4.f, 4, 1441);
            const float veil = std::clamp((n - 0.3f) * 3.f, 0.f, 1.f) * (1 - d * d);
            c.blend(x, y, mix(rgb(250, 110, 200), rgb(100, 180, 255), fractalNoise(x * 1.f, y * 1.f, size / 3.f, 2, 1442)),
                    veil);
        }
    Rng r(1443);
    for (int i = 0; i < 24; ++i) {
        const float a = r.range(0.f, 2 * PI), d = r.range(0.f, 0.8f) * mid;
        c.fillCircle(mid + d * std::cos(a), mid + d * std::sin(a), r.range(0.8f, 2.f), rgb(255, 255, 240, 220));
    }
    return c;
}

// The swirl in space that dives back down to Orange: arms of peel winding into a cut orange.
Canvas orangeSwirl() {
    Canvas c(240, 240);
    const float mid = 120, R = 112;
    c.glow(mid, mid, R, rgb(255, 170, 60, 110));
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 240; ++x) {
            const float dx = x + 0.5f - mid, dy = y + 0.5f - mid, d = std::sqrt(dx * dx + dy * dy) / R;
            if (d > 1 || d < 0.2f) continue;
            const float arms = 0.5f + 0.5f * std::cos(4 * std::atan2(dy, dx) - 10 * d);
            c.blend(x, y, mix(PEEL, rgb(255, 235, 160), arms * 0.5f), std::clamp(arms * (1 - d) * 1.8f, 0.f, 1.f));
        }
    // The cut fruit at the heart: rind, pith and eight segments.
    c.fillCircle(mid, mid, 30, rgb(230, 120, 20));
    c.fillCircle(mid, mid, 26, rgb(255, 240, 210));
    c.fillCircle(mid, mid, 23, rgb(250, 160, 40));
    for (int k = 0; k < 8; ++k) {
        const float a = k * PI / 4;
        c.line(mid, mid, mid + 23 * std::cos(a), mid + 23 * std::sin(a), 1.5f, rgb(255, 235, 200));
    }
    return c;
}

// A world's globe as a rocket pad shows it beside the pad, held in a little brass ring.
Canvas padGlobe(const Canvas& world) {
    Canvas c(120, 120);
    c.fillPolygon({{36, 116}, {60, 92}, {84, 116}}, rgb(170, 130, 60));
    c.fillRect(57, 80, 6, 20, rgb(150, 110, 50));
    c.strokeCircle(60, 46, 40, 4, rgb(200, 160, 70));
    c.paste(world.scaled(72, 72), 24, 10);
    c.outline(rgb(40, 30, 20));
    return c;
}

// ---------------------------------------------------------------------------------------------
// The king's dolls: painted wooden dolls, each with its number on its apron.

// Two eyes (a dark dot, with a glint when `glint` is above 0) and two rosy cheeks below them,
// either side of the face's middle line cx.
struct FaceSpots {
    float eyeY, eyeGap, eyeR, glint, cheekY, cheekGap, cheekR;
};
void eyesAndCheeks(Canvas& c, float cx, const FaceSpots& f) {
    for (const float side : {-1.f, 1.f}) {
        c.fillCircle(cx + side * f.eyeGap, f.eyeY, f.eyeR, rgb(40, 30, 30));
        if (f.glint > 0) c.fillCircle(cx + side * f.eyeGap + f.glint, f.eyeY - f.glint, f.glint, rgb(255, 255, 255));
        c.fillCircle(cx + side * f.cheekGap, f.cheekY, f.cheekR, rgb(240, 115, 110, 145));
    }
}

// A digit drawn with seven segments in the box (x, y, w, h).
void digit(Canvas& c, int d, float x, float y, float w, float h, float thick, sf::Color ink) {
    static const std::array<int, 10> lit{0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const float m = y + h / 2;
    const std::array<std::array<float, 4>, 7> seg{{{x, y, x + w, y},
                                                   {x + w, y, x + w, m},
                                                   {x + w, m, x + w, y + h},
                                                   {x, y + h, x + w, y + h},
                                                   {x, m, x, y + h},
                                                   {x, y, x, m},
                                                   {x, m, x + w, m}}};
    for (int s = 0; s < 7; ++s)
        if (lit[d] >> s & 1) c.line(seg[s][0], seg[s][1], seg[s][2], seg[s][3], thick, ink);
}

Canvas doll(int number, sf::Color dress, sf::Color scarf) {
    Canvas c(128, 128);
    c.fillEllipse(64, 120, 34, 6, rgb(0, 0, 0, 60));
    c.fillPolygon({{40, 60}, {88, 60}, {100, 118}, {28, 118}}, dress);
    c.fillEllipse(64, 118, 36, 8, shade(dress, 0.8f));
    c.fillEllipse(64, 88, 20, 22, rgb(255, 248, 230));
    digit(c, number, 57, 76, 14, 22, 3.5f, shade(dress, 0.6f));
    c.fillCircle(64, 40, 24, scarf);
    c.fillCircle(64, 44, 17, rgb(250, 220, 190));
    c.fillPolygon({{46, 30}, {82, 30}, {64, 16}}, shade(scarf, 1.2f));
    eyesAndCheeks(c, 64, {43, 7, 2.5f, 0, 50, 11, 4});
    c.line(60, 53, 68, 53, 2, rgb(180, 60, 60));
    for (int i = 0; i < 5; ++i) c.fillCircle(44 + i * 10.f, 110, 3, GOLD);
    return outlined(c, rgb(50, 30, 20));
}

// ---------------------------------------------------------------------------------------------
// Faces for the talk boxes: the king of Orange and his jester.

// A head and shoulders on a glowing backdrop, with the eyes and cheeks where `spots` puts them.
Canvas portrait(sf::Color backdrop, sf::Color clothes, sf::Color skin, const FaceSpots& spots) {
    Canvas c(128, 128, backdrop);
    c.glow(64, 64, 64, shade(backdrop, 1.5f));
    c.fillEllipse(64, 122, 49, 24, clothes);
    c.fillEllipse(64, 70, 29, 33, skin);
    eyesAndCheeks(c, 64, spots);
    return c;
}

Canvas kingFace() {
    const sf::Color skin = rgb(235, 190, 150);
    Canvas c = portrait(rgb(250, 200, 110), rgb(200, 60, 40), skin, {64, 12, 2.5f, 0, 76, 19, 4});
    c.fillRect(40, 100, 48, 12, GOLD);
    // A round beard the colour of marmalade.
    c.fillEllipse(64, 96, 28, 18, rgb(220, 120, 40));
    c.fillEllipse(64, 86, 12, 6, skin);
    c.line(45, 56, 58, 54, 3, rgb(200, 110, 40));
    c.line(70, 54, 83, 56, 3, rgb(200, 110, 40));
    c.fillEllipse(64, 74, 4, 6, rgb(215, 160, 125));
    c.line(56, 86, 72, 86, 3, rgb(150, 50, 40));
    // The crown: an orange on each point.
    c.fillPolygon({{30, 44}, {30, 16}, {44, 32}, {64, 8}, {84, 32}, {98, 16}, {98, 44}}, GOLD);
    for (float x : {30.f, 64.f, 98.f}) c.fillCircle(x, x == 64 ? 8.f : 16.f, 7, PEEL);
    c.fillRect(30, 38, 68, 8, rgb(200, 150, 40));
    return outlined(c, rgb(90, 50, 20));
}

Canvas jesterFace() {
    Canvas c = portrait(rgb(120, 200, 150), rgb(250, 200, 40), rgb(250, 215, 190), {66, 12, 4, 1.5f, 80, 16, 5});
    // The ruff of white points round his neck.
    for (int k = 0; k < 6; ++k) c.fillPolygon({{20 + k * 16.f, 104}, {36 + k * 16.f, 104}, {28 + k * 16.f, 116}}, rgb(250, 250, 250));
    c.fillPolygon({{70, 70}, {78, 78}, {68, 78}}, rgb(230, 150, 130));
    // A wide grin.
    for (int i = 0; i <= 10; ++i) {
        const float t = i / 10.f;
        c.fillCircle(50 + 28 * t, 86 + 6 * std::sin(t * PI), 2, rgb(160, 40, 60));
    }
    // The cap: two floppy points with bells, peel and green.
    c.fillPolygon({{34, 50}, {64, 40}, {60, 10}, {14, 22}}, PEEL);
    c.fillPolygon({{94, 50}, {64, 40}, {68, 10}, {114, 22}}, rgb(60, 160, 90));
    c.fillRect(34, 44, 60, 10, rgb(250, 200, 40));
    c.fillCircle(12, 24, 7, GOLD);
    c.fillCircle(116, 24, 7, GOLD);
    return outlined(c, rgb(40, 60, 40));
}

// The jester's cap as the walking figure wears it (128 wide, centred on the top of the head).
Canvas jesterCap() {
    Canvas c(128, 96);
    c.fillPolygon({{30, 80}, {62, 64}, {46, 22}, {6, 30}}, PEEL);
    c.fillPolygon({{98, 80}, {66, 64}, {82, 22}, {122, 30}}, rgb(60, 160, 90));
    c.fillPolygon({{50, 76}, {64, 60}, {78, 76}, {64, 14}}, rgb(200, 50, 60));
    c.fillRoundRect(24, 72, 80, 16, 6, rgb(250, 200, 40));
    for (auto [x, y] : std::array<std::pair<float, float>, 3>{{{8, 30}, {120, 30}, {64, 14}}}) c.fillCircle(x, y, 7, GOLD);
    return outlined(c, rgb(50, 40, 20));
}

// ---------------------------------------------------------------------------------------------
// Battle backdrops.

// The groves under a sky of pure sunlight, rows of trees going off to the horizon.
Canvas groveBackdrop() {
    Canvas c(480, 270);
    c.gradientRect(0, 0, 480, 140, rgb(255, 235, 150), rgb(255, 170, 70));
    c.glow(240, -40, 220, rgb(255, 255, 220, 220));
    for (int row = 0; row < 4; ++row) {
        const float y = 112 + row * 18.f, s = 10 + row * 6.f;
        for (float x = -20 + (row % 2) * s; x < 500; x += s * 2.4f) {
            c.fillCircle(x, y, s, shade(LEAF, 0.7f + row * 0.1f));
            c.fillCircle(x + s * 0.3f, y - s * 0.2f, s * 0.25f, PEEL);
        }
    }
    c.noiseFill(0, 180, 480, 90, rgb(170, 175, 70), 0.25f, 14, 1501);
    c.speckle(0, 185, 480, 85, 60, PEEL, 1502);
    c.gradientRect(0, 176, 480, 10, rgb(60, 60, 20, 150), rgb(60, 60, 20, 0));
    return c;
}

// The nebula's heart: veils of gas around a gleam of sunlight far away.
Canvas nebulaBackdrop() {
    Canvas c(480, 270);
    c.gradientRect(0, 0, 480, 270, rgb(30, 15, 60), rgb(90, 40, 110));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 480; ++x) {
            const float n = fractalNoise(static_cast<float>(x), static_cast<float>(y), 90, 4, 1511);
            if (n > 0.45f) c.blend(x, y, mix(rgb(230, 100, 190), rgb(90, 170, 250), y / 200.f), (n - 0.45f) * 1.6f);
        }
    c.speckle(0, 0, 480, 200, 90, rgb(255, 255, 235), 1512);
    c.glow(380, 70, 50, rgb(255, 220, 120, 200));
    c.noiseFill(0, 190, 480, 80, rgb(120, 80, 170), 0.3f, 20, 1513);
    c.gradientRect(0, 186, 480, 10, rgb(20, 10, 40, 160), rgb(20, 10, 40, 0));
    return c;
}

constexpr int C4 = -9, D4 = -7, E4 = -5, F4 = -4, G4 = -2, A4 = 0, B4 = 2, C5 = 3, D5 = 5, E5 = 7, F5 = 8,
              G5 = 10, A5 = 12, R = -100;

} // namespace

REGISTER_ART(orange_ground) {
    saveGround(ctx, "OrangeSoil", orangeSoil);
    saveGround(ctx, "OrangePaving", orangePaving);
    saveGround(ctx, "SunMosaic", sunMosaic);
    saveGround(ctx, "AmberWall", amberWall);
    saveGround(ctx, "GroveGrass", groveGrass);
    saveGround(ctx, "PocuriMoss", pocuriMoss);
    saveGround(ctx, "NebulaMist", nebulaMist);
}

REGISTER_ART(orange_objects) {
    const std::vector<std::pair<const char*, Canvas>> objects{
        {"OrangeTree", orangeTree(false)},  {"LemonTree", orangeTree(true)},
        {"FruitStall", fruitStall()},       {"JuiceFountain", juiceFountain()},
        {"OrangeCrate", orangeCrate()},     {"SunLamp", sunLamp()},
        {"Throne", throne()},               {"BanquetTable", banquetTable()},
        {"BlueVase", vase(rgb(60, 110, 200))}, {"SunBanner", sunBanner()},
        {"FruitCart", fruitCart()},         {"WaspHive", waspHive()},
        {"GlowShroom", glowShroom()},       {"NebulaPuff", nebulaPuff()},
        {"SunSeal", sunSeal()},             {"NebulaBeacon", nebulaBeacon()},
        {"Pocuri", padGlobe(pocuriWorld(120))},
    };
    for (const auto& [name, picture] : objects) ctx.savePicture("Objects", name, picture);
}

REGISTER_ART(orange_worlds) {
    ctx.savePicture("Planets", "Orange", orangeWorld(200));
    ctx.savePicture("Planets", "Pocuri", pocuriWorld(200));
    ctx.savePicture("Planets", "Jacarock", jacarockWorld(200));
    ctx.savePicture("Planets", "Besixdouze", besixdouzeStar(400));
    ctx.savePicture("Planets", "PocuriCloud", nebulaCloud(300));
    ctx.savePicture("Misc", "WormHoleOrangeShard", orangeSwirl());
}

REGISTER_ART(orange_dolls) {
    const std::array<std::pair<sf::Color, sf::Color>, 8> paints{{{rgb(230, 80, 60), rgb(250, 180, 40)},
                                                                 {rgb(60, 130, 210), rgb(240, 240, 250)},
                                                                 {rgb(70, 160, 80), rgb(250, 220, 60)},
                                                                 {rgb(160, 80, 190), rgb(250, 150, 200)},
                                                                 {rgb(240, 150, 30), rgb(200, 50, 50)},
                                                                 {rgb(40, 170, 170), rgb(250, 130, 60)},
                                                                 {rgb(200, 60, 120), rgb(120, 200, 240)},
                                                                 {rgb(250, 200, 40), rgb(240, 110, 30)}}};
    for (int n = 1; n <= 8; ++n)
        ctx.savePicture("Items", "Clue" + std::to_string(n), doll(n, paints[n - 1].first, paints[n - 1].second));
}

REGISTER_ART(orange_court) {
    ctx.savePicture("Faces", "Clementin", kingFace());
    ctx.savePicture("Faces", "Zest", jesterFace());
    ctx.savePicture("Hats", "JesterCap", jesterCap());
}

REGISTER_ART(orange_battle_backdrops) {
    ctx.savePicture("BattleBackgrounds", "OrangeGrove", groveBackdrop());
    ctx.savePicture("BattleBackgrounds", "PocuriNebula", nebulaBackdrop());
}

REGISTER_ART(orange_musics) {
    // Orange: a sunny skipping tune. Pocuri: slow and dreamy, for the nebula's edge.
    ctx.saveMusic("Orange", renderTune({{C5, E5, G5, E5, A5, G5, E5, R, D5, F5, A5, F5, G5, E5, C5, R},
                                        {C4, F4, A4 - 12, G4}, 124.f, Wave::Triangle, Wave::Sine, true, 0.32f}));
    ctx.saveMusic("Pocuri", renderTune({{E5, R, B4, D5, R, A4, B4, R, G4, R, D5, C5, R, B4, A4, R},
                                        {E4, C4, G4, D4}, 76.f, Wave::Sine, Wave::Triangle, false, 0.3f}));
}
