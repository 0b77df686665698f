// Cauchemar, the nightmare planet, and the Water shard's old pool: the grounds of Alptraum,
// Moorgrave and Hell, their trees, graves, lamps, fences, palace walls and party furniture, the
// planet and its dim star as space shows them, the devils' horns, the hell party invitation and
// the Tidewell pearl, two battle backdrops and the two tunes of the planet.
#include "Art.hpp"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

using namespace art;

namespace {

// ---------------------------------------------------------------------------------------------
// Grounds: each drawn at a tile of `n` pixels, so the zoomed-out one is a drawing of its own.

struct Ground {
    const char* name;
    std::function<void(Canvas&, float n)> draw;
};

// Cobbles laid in rows, each stone rounded and shaded on its own.
void cobbles(Canvas& c, float n, sf::Color stone, sf::Color gap, std::uint32_t seed) {
    c.fill(gap);
    Rng rng(seed);
    const float row = n / 4;
    for (int r = 0; r < 4; ++r) {
        float x = (r % 2) ? -row * 0.6f : 0;
        while (x < n) {
            const float w = row * rng.range(0.9f, 1.5f);
            const sf::Color s = shade(stone, rng.range(0.78f, 1.12f));
            c.fillRoundRect(x + n / 60, r * row + n / 60, w - n / 30, row - n / 30, row / 3, s);
            c.fillRoundRect(x + n / 30, r * row + n / 30, w - n / 10, row / 4, row / 8, shade(s, 1.15f));
            x += w;
        }
    }
}

// Dark rock with glowing seams that run across the tile and meet its edges where they began.
void glowingSeams(Canvas& c, float n, sf::Color rock, sf::Color glow, std::uint32_t seed) {
    c.noiseFill(0, 0, n, n, rock, 0.35f, n / 5, seed);
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const float v = fractalNoise(static_cast<float>(x), static_cast<float>(y), n / 3, 3, seed + 1,
                                         c.width(), c.height());
            const float seam = 1.f - std::fabs(v - 0.5f) * 34.f;
            if (seam > 0) c.blend(x, y, glow, 0.75f * std::min(1.f, seam));
        }
}

// Polished obsidian and garnet squares with a gilt rim.
void hellFloor(Canvas& c, float n) {
    const float h = n / 2;
    for (int k = 0; k < 4; ++k) {
        const float x = (k % 2) * h, y = static_cast<float>(k / 2) * h;
        const bool dark = (k == 0 || k == 3);
        c.gradientRect(x, y, h, h, dark ? rgb(40, 22, 34) : rgb(130, 20, 40), dark ? rgb(22, 12, 20) : rgb(90, 12, 28));
        c.line(x + h * 0.15f, y + h * 0.2f, x + h * 0.45f, y + h * 0.1f, n / 60 + 0.5f, rgb(255, 255, 255, 70));
    }
    c.strokeRect(0, 0, n, n, n / 60 + 0.5f, rgb(200, 150, 60, 160));
}

const std::vector<Ground>& grounds() {
    static const std::vector<Ground> list{
        // The lanes of Alptraum: violet-grey stones under a night sky.
        {"NightCobble", [](Canvas& c, float n) { cobbles(c, n, rgb(92, 84, 112), rgb(34, 30, 44), 901); }},
        // Moorgrave's earth: dark loam with tufts of pale grave grass.
        {"GraveSoil",
         [](Canvas& c, float n) {
             c.noiseFill(0, 0, n, n, rgb(58, 50, 46), 0.3f, n / 6, 911);
             Rng rng(912);
             for (int i = 0; i < static_cast<int>(n / 3); ++i) {
                 const float x = rng.range(0.f, n), y = rng.range(0.f, n), k = n / 120;
                 c.line(x, y, x - 2 * k, y - 7 * k, 1.2f, rgb(120, 130, 100));
                 c.line(x, y, x + 2 * k, y - 6 * k, 1.2f, rgb(96, 110, 86));
             }
         }},
        // The courtyard before the gates of Hell: black brimstone split by embers.
        {"Brimstone", [](Canvas& c, float n) { glowingSeams(c, n, rgb(46, 32, 30), rgb(255, 110, 30), 921); }},
        // Molten rock, drawn to flow down the tile without a seam.
        {"Lava",
         [](Canvas& c, float n) {
             for (int y = 0; y < c.height(); ++y)
                 for (int x = 0; x < c.width(); ++x) {
                     const float v = fractalNoise(static_cast<float>(x), static_cast<float>(y), n / 3, 3, 931,
                                                  c.width(), c.height());
                     c.set(x, y, v > 0.55f ? mix(rgb(255, 170, 40), rgb(255, 240, 150), (v - 0.55f) * 3)
                                           : mix(rgb(150, 20, 10), rgb(240, 80, 20), v / 0.55f));
                 }
         }},
        // The ballroom of Hell: polished obsidian and garnet squares.
        {"HellFloor", hellFloor},
    };
    return list;
}

// ---------------------------------------------------------------------------------------------
// Bodies in space: lit spheres whose surface a function colours from the point on the disc.

Canvas sphere(int size, const std::function<sf::Color(float dx, float dy, int x, int y)>& surface,
              float lightStrength) {
    Canvas c(size, size);
    const float radius = size * 0.45f, mid = size / 2.f;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = (x + 0.5f - mid) / radius, dy = (y + 0.5f - mid) / radius;
            const float rr = dx * dx + dy * dy;
            if (rr > 1.f) continue;
            const float depth = std::sqrt(1.f - rr);
            const float lit = 1.f - lightStrength + lightStrength * std::clamp(0.3f + 0.8f * (depth - 0.5f * dx - 0.3f * dy), 0.1f, 1.3f);
            c.blend(x, y, shade(surface(dx, dy, x, y), lit), std::clamp((1.f - std::sqrt(rr)) * radius, 0.f, 1.f));
        }
    return c;
}

// ---------------------------------------------------------------------------------------------
// Standing things

Canvas deadTree() {
    Canvas c(140, 220);
    const sf::Color bark = rgb(44, 36, 44);
    c.fillPolygon({{58, 220}, {62, 120}, {70, 120}, {84, 220}}, bark);
    // Branches that fork twice and end in hooks.
    struct Limb {
        float x0, y0, x1, y1, w;
    };
    const Limb limbs[] = {{66, 130, 30, 70, 9},  {66, 120, 104, 60, 9}, {30, 70, 14, 40, 5},  {30, 70, 44, 30, 5},
                          {104, 60, 126, 36, 5}, {104, 60, 96, 18, 5},  {66, 125, 70, 30, 7}, {70, 30, 60, 6, 3},
                          {14, 40, 20, 28, 3},   {126, 36, 132, 48, 3}};
    for (const Limb& l : limbs) c.line(l.x0, l.y0, l.x1, l.y1, l.w, bark);
    c.fillEllipse(72, 214, 26, 7, shade(bark, 0.8f));
    c.noiseShade(0.25f, 6, 941);
    c.outline(rgb(14, 10, 16), 2);
    return c;
}

Canvas gravestone(std::uint32_t seed) {
    Canvas c(120, 120);
    c.fillEllipse(60, 112, 44, 8, rgb(40, 36, 30));
    c.fillRoundRect(30, 24, 60, 92, 28, rgb(128, 126, 134));
    c.fillRect(30, 60, 60, 56, rgb(128, 126, 134));
    c.noiseShade(0.22f, 8, seed);
    c.line(60, 40, 60, 72, 4, rgb(78, 76, 84));
    c.line(48, 50, 72, 50, 4, rgb(78, 76, 84));
    c.line(40, 84, 80, 84, 2, rgb(90, 88, 96));
    c.line(44, 94, 76, 94, 2, rgb(90, 88, 96));
    Rng rng(seed);
    for (int i = 0; i < 6; ++i) c.fillCircle(rng.range(32.f, 88.f), rng.range(96.f, 114.f), rng.range(3.f, 6.f), rgb(70, 100, 70));
    c.outline(rgb(30, 28, 34), 2);
    return c;
}

Canvas ghostLamp() {
    Canvas c(70, 210);
    const sf::Color iron = rgb(78, 80, 98);
    c.line(35, 206, 33, 70, 7, iron);
    c.line(33, 206, 31, 72, 2, rgb(130, 134, 160)); // the moonlit edge of the post
    c.line(33, 74, 48, 52, 4, iron); // the crooked neck
    c.glow(48, 38, 34, rgb(120, 255, 170, 140));
    c.fillRoundRect(36, 24, 24, 30, 5, rgb(170, 255, 200));
    c.fillPolygon({{48, 30}, {42, 46}, {48, 50}, {54, 46}}, rgb(60, 220, 130));
    c.strokeRect(36, 24, 24, 30, 3, iron);
    c.fillPolygon({{32, 24}, {48, 10}, {64, 24}}, iron);
    c.fillRect(24, 200, 22, 8, iron);
    return c;
}

Canvas ironFence() {
    Canvas c(120, 90);
    const sf::Color iron = rgb(30, 28, 36);
    c.fillRect(0, 30, 120, 5, iron);
    c.fillRect(0, 66, 120, 5, iron);
    for (float x = 8; x < 120; x += 20) {
        c.fillRect(x, 12, 5, 78, iron);
        c.fillPolygon({{x - 3, 14}, {x + 2.5f, 0}, {x + 8, 14}}, iron);
    }
    c.outline(rgb(90, 80, 110, 200), 1);
    return c;
}

// A block of the palace of Hell: obsidian courses with a lit arrow-slit.
Canvas palaceWall() {
    Canvas c(120, 180);
    c.gradientRect(0, 20, 120, 160, rgb(54, 30, 40), rgb(26, 14, 22));
    for (float y = 20; y < 180; y += 32) c.line(0, y, 120, y, 2, rgb(16, 8, 14));
    for (int row = 0; row < 5; ++row)
        for (float x = (row % 2) * 30.f; x < 120; x += 60) c.line(x, 20 + row * 32.f, x, 52 + row * 32.f, 2, rgb(16, 8, 14));
    c.glow(60, 78, 30, rgb(255, 90, 30, 160));
    c.fillRoundRect(52, 56, 16, 44, 8, rgb(255, 150, 50));
    // Battlements.
    for (float x = 0; x < 120; x += 40) c.fillRect(x, 0, 24, 22, rgb(54, 30, 40));
    c.bevel(0, 20, 120, 160, 4, 0.3f);
    c.outline(rgb(10, 4, 8), 2);
    return c;
}

Canvas brazier() {
    Canvas c(90, 170);
    c.fillPolygon({{20, 100}, {70, 100}, {58, 126}, {32, 126}}, rgb(60, 50, 50));
    c.fillRect(40, 126, 10, 40, rgb(60, 50, 50));
    c.fillRect(26, 160, 38, 8, rgb(60, 50, 50));
    c.glow(45, 70, 45, rgb(255, 120, 30, 170));
    c.fillPolygon({{45, 10}, {22, 72}, {34, 100}, {56, 100}, {68, 72}}, rgb(255, 100, 20));
    c.fillPolygon({{45, 40}, {32, 80}, {40, 100}, {50, 100}, {58, 80}}, rgb(255, 210, 70));
    c.outline(rgb(30, 15, 10), 1);
    return c;
}

Canvas punchTable() {
    Canvas c(120, 110);
    c.fillRect(8, 50, 104, 12, rgb(120, 30, 40));
    c.fillPolygon({{8, 62}, {112, 62}, {104, 100}, {16, 100}}, rgb(90, 16, 30));
    for (float x : {30.f, 60.f, 90.f}) c.fillCircle(x, 74, 6, rgb(230, 190, 70));
    // A bowl of steaming red punch and two goblets.
    c.fillEllipse(56, 46, 26, 10, rgb(210, 210, 220));
    c.fillEllipse(56, 42, 22, 6, rgb(200, 30, 60));
    for (float x : {22.f, 94.f}) {
        c.fillPolygon({{x - 6, 28}, {x + 6, 28}, {x + 2, 40}, {x - 2, 40}}, rgb(230, 190, 70));
        c.fillRect(x - 1, 40, 2, 8, rgb(230, 190, 70));
    }
    c.fillCircle(48, 28, 5, rgb(255, 255, 255, 70));
    c.fillCircle(62, 20, 6, rgb(255, 255, 255, 50));
    c.outline(rgb(30, 8, 12), 2);
    return c;
}

Canvas djBooth() {
    Canvas c(120, 150);
    c.fillRoundRect(6, 70, 108, 78, 8, rgb(30, 24, 36));
    for (float x : {24.f, 96.f}) {
        c.fillCircle(x, 108, 16, rgb(60, 56, 70));
        c.fillCircle(x, 108, 6, rgb(20, 16, 24));
    }
    c.fillRect(6, 60, 108, 14, rgb(60, 40, 60));
    for (float x : {34.f, 86.f}) {
        c.fillEllipse(x, 60, 20, 6, rgb(20, 20, 24));
        c.fillCircle(x, 60, 3, rgb(220, 60, 60));
    }
    for (int k = 0; k < 6; ++k) {
        const float x = 14 + k * 18.f;
        c.line(x, 40, x + 10, 4 + (k % 3) * 8.f, 3, rgb(255, 60 + 30 * k, 200 - 30 * k, 200)); // light beams
    }
    c.outline(rgb(10, 8, 12), 2);
    return c;
}

Canvas frostPedestal() {
    Canvas c(120, 120);
    c.fillEllipse(60, 110, 40, 8, rgb(30, 40, 50));
    c.fillRect(40, 50, 40, 60, rgb(150, 150, 160));
    c.fillRoundRect(28, 38, 64, 16, 5, rgb(175, 175, 185));
    c.fillRoundRect(32, 100, 56, 12, 4, rgb(130, 130, 140));
    c.noiseShade(0.18f, 8, 951);
    // Rime along the top and a crack where something was wrenched away.
    c.fillEllipse(60, 38, 30, 5, rgb(220, 240, 255, 220));
    for (float x = 34; x < 88; x += 9) c.fillPolygon({{x, 40}, {x + 4, 40}, {x + 2, 48}}, rgb(220, 240, 255, 200));
    c.line(52, 38, 60, 62, 2, rgb(70, 70, 80));
    c.outline(rgb(40, 40, 50), 2);
    return c;
}

// Two horns that curve out and up from the brow, for the devils of Hell.
Canvas horns() {
    Canvas c(128, 96);
    for (int side : {-1, 1}) {
        for (int k = 0; k <= 20; ++k) {
            const float t = k / 20.f;
            const float x = 64 + side * (22 + 30 * std::sin(t * 1.4f));
            const float y = 86 - 74 * t;
            c.fillCircle(x, y, 11 * (1 - t) + 2, mix(rgb(150, 20, 20), rgb(250, 220, 200), t * t));
        }
    }
    c.outline(rgb(40, 8, 8), 2);
    return c;
}

Canvas invitation() {
    Canvas c(128, 128);
    c.fillPolygon({{10, 34}, {118, 22}, {122, 100}, {14, 110}}, rgb(24, 18, 22));
    c.fillPolygon({{10, 34}, {118, 22}, {68, 72}}, rgb(44, 32, 40));
    c.line(10, 34, 68, 72, 2, rgb(200, 160, 60));
    c.line(118, 22, 68, 72, 2, rgb(200, 160, 60));
    c.strokeRect(18, 40, 92, 60, 2, rgb(200, 160, 60, 120));
    // The wax seal: a flame.
    c.fillCircle(68, 72, 17, rgb(180, 20, 30));
    c.fillCircle(68, 72, 12, rgb(210, 40, 40));
    c.fillPolygon({{68, 60}, {61, 76}, {68, 82}, {75, 76}}, rgb(255, 190, 60));
    c.outline(rgb(230, 190, 90, 200), 2);
    return c;
}

Canvas pearl() {
    Canvas c(128, 128);
    c.fillEllipse(64, 84, 48, 30, rgb(200, 170, 150));
    c.fillEllipse(64, 80, 40, 22, rgb(240, 220, 210));
    c.paste(sphere(64, [](float dx, float dy, int, int) {
                return mix(rgb(240, 236, 250), rgb(200, 220, 250), 0.5f + 0.5f * std::sin(dx * 4 + dy * 3));
            }, 0.6f),
            32, 38);
    c.fillCircle(54, 56, 6, rgb(255, 255, 255, 200));
    c.outline(rgb(90, 70, 70, 200), 2);
    return c;
}

// ---------------------------------------------------------------------------------------------
// Battle backdrops, 480 by 270: a sky band over a floor band.

Canvas moorgraveBackdrop() {
    Canvas c(480, 270);
    c.gradientRect(0, 0, 480, 140, rgb(14, 12, 34), rgb(70, 60, 100));
    c.fillCircle(390, 50, 26, rgb(230, 230, 210));
    c.fillCircle(380, 44, 24, rgb(31, 27, 54)); // the sky's own colour leaves a thin crescent
    c.speckle(0, 0, 480, 90, 70, rgb(230, 230, 255, 200), 961);
    for (float x = 0; x < 480; x += 90) c.paste(deadTree().scaled(56, 88), static_cast<int>(x) + 10, 52);
    c.noiseFill(0, 138, 480, 132, rgb(54, 48, 44), 0.3f, 16, 962);
    for (int k = 0; k < 7; ++k) c.paste(gravestone(963 + k).scaled(48, 48), 20 + k * 66, 120 + (k % 2) * 22);
    c.gradientRect(0, 200, 480, 70, rgb(150, 160, 190, 0), rgb(150, 160, 190, 110)); // ground mist
    return c;
}

Canvas infernoBallBackdrop() {
    Canvas c(480, 270);
    c.gradientRect(0, 0, 480, 150, rgb(30, 4, 12), rgb(120, 20, 30));
    for (int k = 0; k < 8; ++k) {
        const float x = 30 + k * 60.f;
        c.line(240, -10, x, 150, 8, withAlpha(k % 2 ? rgb(255, 60, 160) : rgb(80, 160, 255), 60));
    }
    for (float x = 0; x < 480; x += 120) c.paste(palaceWall().scaled(60, 90), static_cast<int>(x) + 30, 58);
    Canvas floor(480, 120), square(40, 40);
    hellFloor(square, 40);
    for (int y = 0; y < 120; y += 40)
        for (int x = 0; x < 480; x += 40) floor.paste(square, x, y);
    c.paste(floor, 0, 150);
    c.gradientRect(0, 146, 480, 12, rgb(0, 0, 0, 160), rgb(0, 0, 0, 0));
    return c;
}

} // namespace

REGISTER_ART(cauchemar_grounds) {
    for (const Ground& g : grounds())
        for (int size : {120, 60}) {
            Canvas c(size, size);
            g.draw(c, static_cast<float>(size));
            ctx.savePicture("Textures", size == 120 ? std::string(g.name) : std::string(g.name) + "_zoomOut", c);
        }
}

REGISTER_ART(cauchemar_objects) {
    ctx.savePicture("Objects", "DeadTree", deadTree());
    ctx.savePicture("Objects", "Gravestone", gravestone(971));
    ctx.savePicture("Objects", "GhostLamp", ghostLamp());
    ctx.savePicture("Objects", "IronFence", ironFence());
    ctx.savePicture("Objects", "PalaceWall", palaceWall());
    ctx.savePicture("Objects", "Brazier", brazier());
    ctx.savePicture("Objects", "PunchTable", punchTable());
    ctx.savePicture("Objects", "DJBooth", djBooth());
    ctx.savePicture("Objects", "FrostPedestal", frostPedestal());
    ctx.savePicture("Hats", "Horns", horns());
    ctx.savePicture("Items", "HellPartyInvitation", invitation());
    ctx.savePicture("Items", "TidePearl", pearl());
}

REGISTER_ART(cauchemar_space) {
    // The nightmare planet: bruise-violet plains cracked by rivers of fire.
    ctx.savePicture("Planets", "Cauchemar", sphere(200, [](float, float, int x, int y) {
        const float land = fractalNoise(static_cast<float>(x), static_cast<float>(y), 40, 4, 981);
        const float crack = 1.f - std::fabs(fractalNoise(static_cast<float>(x), static_cast<float>(y), 30, 3, 982) - 0.5f) * 18.f;
        const sf::Color ground = mix(rgb(50, 24, 60), rgb(100, 40, 70), land);
        return crack > 0 ? mix(ground, rgb(255, 120, 30), std::min(1.f, crack)) : ground;
    }, 0.9f));
    // Its star, a dim red ember with dark spots, lit from within.
    Canvas star = sphere(200, [](float dx, float dy, int x, int y) {
        const float spots = fractalNoise(static_cast<float>(x), static_cast<float>(y), 24, 3, 983);
        const float limb = std::sqrt(dx * dx + dy * dy);
        return mix(mix(rgb(255, 120, 60), rgb(170, 30, 30), limb), rgb(70, 10, 20), spots > 0.62f ? 0.7f : 0.f);
    }, 0.25f);
    star.glow(100, 100, 100, rgb(255, 60, 40, 80));
    ctx.savePicture("Planets", "NightSun", star);
}

REGISTER_ART(cauchemar_battles) {
    ctx.savePicture("BattleBackgrounds", "Moorgrave", moorgraveBackdrop());
    ctx.savePicture("BattleBackgrounds", "InfernoBall", infernoBallBackdrop());
}

REGISTER_ART(cauchemar_musics) {
    constexpr int C4 = -9, D4 = -7, E4 = -5, F4 = -4, G4 = -2, A4 = 0, B4 = 2, C5 = 3, D5 = 5, F5 = 8, G5 = 10,
                  R = -100;
    // Alptraum and its graves: a slow, lopsided waltz in a minor key.
    ctx.saveMusic("Nightmare", renderTune({{E4, G4, B4, R, A4 + 1, G4, E4, R, D4 + 1, F4 + 1, A4, R, B4, A4, G4, R},
                                           {E4, C4, A4 - 12, B4 - 12}, 72.f, Wave::Triangle, Wave::Sine, false, 0.3f}));
    // The Inferno Ball: a hot, stomping dance.
    ctx.saveMusic("InfernoBall", renderTune({{D5, F5, G5, F5, D5, C5, D5, R, D5, F5, G5 + 1, G5, F5, D5, C5, R},
                                             {D4, D4, B4 - 13, C4}, 132.f, Wave::Saw, Wave::Square, true, 0.3f}));
}
