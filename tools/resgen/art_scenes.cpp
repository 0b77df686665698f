// Scene pictures: ground textures (each also drawn at 60 pixels for the zoomed-out view),
// building pictures, house signs, objects that stand on tiles, planets, story pictures for the
// credits, animations and background animations.
#include "Art.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

using namespace art;

namespace {

// A ground texture drawn by one function at both sizes, so the small one is a real drawing with
// coarser detail rather than a shrunken copy.
using TextureFn = std::function<void(Canvas&, float)>;
void texture(Context& ctx, const std::string& name, const TextureFn& fn) {
    for (int size : {120, 60}) {
        Canvas c(size, size);
        fn(c, size / 120.f);
        ctx.savePicture("Textures", size == 120 ? name : name + "_zoomOut", c);
    }
}

void stones(Canvas& c, float k, sf::Color base, sf::Color joint, std::uint32_t seed, int perRow) {
    const float n = static_cast<float>(c.width());
    c.fill(joint);
    Rng rng(seed);
    const float h = n / perRow;
    for (int r = 0; r * h < c.height(); ++r) {
        const float off = (r % 2) * h * 0.5f;
        for (float x = -off; x < n; x += h) {
            const sf::Color s = shade(base, rng.range(0.8f, 1.15f));
            c.fillRoundRect(x + 2 * k, r * h + 2 * k, h - 4 * k, h - 4 * k, 5 * k, s);
        }
    }
    c.noiseShade(0.12f, 8 * k + 1, seed + 1);
}

void grassTexture(Canvas& c, float k) {
    const float n = static_cast<float>(c.width());
    c.noiseFill(0, 0, n, n, rgb(76, 150, 62), 0.22f, 24 * k, 11);
    Rng rng(12);
    for (int i = 0; i < static_cast<int>(90 * k); ++i) {
        const float x = rng.range(0.f, n), y = rng.range(0.f, n);
        c.line(x, y, x + rng.range(-2.f, 2.f) * k, y - rng.range(4.f, 9.f) * k, 1.2f,
               rng.below(3) == 0 ? rgb(120, 200, 90) : rgb(50, 110, 40));
    }
}

// ---------------------------------------------------------------------------------------------
// Building pictures: drawn to fill the footprint the scene gives them.

void brickWall(Canvas& c, float x, float y, float w, float h, sf::Color brick, std::uint32_t seed) {
    c.fillRect(x, y, w, h, shade(brick, 0.6f));
    Rng rng(seed);
    const float bh = 12, bw = 28;
    int row = 0;
    for (float yy = y; yy < y + h; yy += bh, ++row)
        for (float xx = x - (row % 2) * bw / 2; xx < x + w; xx += bw) {
            const float x0 = std::max(xx + 1, x), x1 = std::min(xx + bw - 1, x + w);
            if (x1 > x0) c.fillRect(x0, yy + 1, x1 - x0, std::min(bh - 2, y + h - yy - 1), shade(brick, rng.range(0.85f, 1.1f)));
        }
}

void windowPane(Canvas& c, float x, float y, float w, float h, bool lit) {
    c.fillRect(x - 4, y - 4, w + 8, h + 8, rgb(90, 60, 35));
    c.gradientRect(x, y, w, h, lit ? rgb(255, 230, 140) : rgb(150, 200, 235), lit ? rgb(240, 170, 70) : rgb(90, 130, 180));
    c.line(x + w / 2, y, x + w / 2, y + h, 3, rgb(90, 60, 35));
    c.line(x, y + h / 2, x + w, y + h / 2, 3, rgb(90, 60, 35));
    c.fillRect(x - 6, y + h + 2, w + 12, 6, rgb(200, 190, 170));
}

Canvas house() {
    Canvas c(360, 360);
    c.noiseFill(20, 150, 320, 210, rgb(235, 215, 170), 0.12f, 16, 3);   // plaster
    for (float x = 20; x < 340; x += 80) c.fillRect(x, 150, 10, 210, rgb(120, 75, 40)); // timber
    c.fillRect(20, 150, 320, 10, rgb(120, 75, 40));
    c.fillRect(20, 250, 320, 8, rgb(120, 75, 40));
    windowPane(c, 50, 180, 50, 50, false);
    windowPane(c, 260, 180, 50, 50, true);
    windowPane(c, 50, 280, 50, 50, false);
    windowPane(c, 260, 280, 50, 50, false);
    // A mansard roof whose top runs the whole width, so a chimney can stand on it.
    c.fillPolygon({{0, 160}, {360, 160}, {330, 0}, {30, 0}}, rgb(170, 60, 45));
    for (float y = 10; y < 160; y += 18)
        c.line(30 - y * 0.19f + 2, y, 330 + y * 0.19f - 2, y, 2, rgb(120, 40, 30));
    c.noiseShade(0.1f, 10, 5);
    windowPane(c, 160, 60, 40, 40, true);
    c.outline(rgb(40, 25, 15), 2);
    return c;
}

Canvas qv1House() {
    Canvas c(360, 360);
    c.noiseFill(10, 90, 340, 270, rgb(170, 190, 210), 0.1f, 20, 9);
    for (float y = 100; y < 360; y += 22) c.line(10, y, 350, y, 2, rgb(130, 150, 170));
    c.fillRect(0, 0, 360, 90, rgb(60, 80, 110)); // flat roof slab
    c.fillRect(0, 80, 360, 14, rgb(40, 55, 80));
    windowPane(c, 40, 140, 70, 60, true);
    windowPane(c, 250, 140, 70, 60, false);
    c.fillRoundRect(250, 240, 70, 50, 8, rgb(90, 160, 90)); // window box of plants
    for (int i = 0; i < 6; ++i) c.fillCircle(258 + i * 11.f, 240, 7, i % 2 ? rgb(230, 80, 120) : rgb(250, 220, 80));
    c.outline(rgb(20, 30, 45), 2);
    return c;
}

Canvas building() {
    Canvas c(360, 480);
    brickWall(c, 0, 20, 360, 460, rgb(160, 80, 60), 21);
    c.fillRect(0, 0, 360, 26, rgb(90, 90, 100));
    for (int r = 0; r < 3; ++r)
        for (int k = 0; k < 3; ++k) windowPane(c, 40 + k * 110.f, 60 + r * 110.f, 60, 60, (r + k) % 3 == 0);
    c.fillRect(0, 380, 360, 12, rgb(220, 210, 190));
    c.outline(rgb(40, 20, 15), 2);
    return c;
}

Canvas tower() {
    Canvas c(240, 480);
    stones(c, 1, rgb(150, 150, 160), rgb(90, 90, 100), 31, 8);
    // Crenellations along the top.
    for (float x = 0; x < 240; x += 48) c.fillRect(x + 24, 0, 24, 26, CLEAR);
    for (float x = 0; x < 240; x += 48)
        for (int y = 0; y < 26; ++y)
            for (int xx = 24; xx < 48; ++xx) c.set(static_cast<int>(x) + xx, y, CLEAR);
    c.fillRoundRect(95, 110, 50, 80, 24, rgb(30, 30, 40));
    c.fillRoundRect(95, 240, 50, 70, 24, rgb(30, 30, 40));
    c.bevel(0, 26, 240, 454, 6, 0.3f);
    c.outline(rgb(40, 40, 50), 2);
    return c;
}

Canvas castle() {
    Canvas c(600, 480);
    Canvas wall(600, 480);
    stones(wall, 1, rgb(170, 165, 150), rgb(100, 95, 85), 41, 20);
    // Two corner towers, a lower curtain wall between them.
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 600; ++x) {
            const bool towerPart = x < 130 || x >= 470;
            const int top = towerPart ? 0 : 60;
            const bool merlon = ((towerPart ? x : x - 130) / 26) % 2 == 1;
            const int crown = top + (merlon ? 24 : 0);
            if (y >= crown) c.set(x, y, wall.get(x, y));
        }
    c.fillRoundRect(45, 90, 40, 60, 20, rgb(30, 30, 40));
    c.fillRoundRect(515, 90, 40, 60, 20, rgb(30, 30, 40));
    c.fillRoundRect(190, 200, 40, 60, 20, rgb(30, 30, 40));
    c.fillRoundRect(370, 200, 40, 60, 20, rgb(30, 30, 40));
    // Banners on the curtain wall.
    for (float x : {260.f, 320.f}) {
        c.fillRect(x, 170, 26, 90, rgb(40, 70, 170));
        c.fillPolygon({{x, 260}, {x + 26, 260}, {x + 13, 280}}, rgb(40, 70, 170));
        c.fillCircle(x + 13, 200, 7, rgb(240, 200, 60));
    }
    c.bevel(0, 0, 600, 480, 5, 0.2f);
    c.outline(rgb(40, 40, 40), 2);
    return c;
}

Canvas pyramid() {
    Canvas c(480, 360);
    c.fillPolygon({{0, 360}, {480, 360}, {240, 0}}, rgb(220, 185, 110));
    c.fillPolygon({{240, 0}, {480, 360}, {300, 360}}, rgb(185, 150, 85)); // shaded face
    for (float y = 30; y < 360; y += 30) {
        const float half = y * 240 / 360;
        c.line(240 - half, y, 240 + half, y, 2, rgb(160, 125, 70));
    }
    c.noiseShade(0.12f, 12, 51);
    c.fillPolygon({{225, 20}, {255, 20}, {240, 0}}, rgb(250, 220, 90)); // gilded cap
    c.outline(rgb(90, 70, 30), 2);
    return c;
}

Canvas circus() {
    Canvas c(480, 360);
    // Striped walls and a conical top whose apex is the middle of the upper edge.
    for (float x = 0; x < 480; x += 40)
        c.fillRect(x, 150, 40, 210, (static_cast<int>(x) / 40) % 2 ? rgb(230, 40, 50) : rgb(250, 245, 235));
    for (int i = 0; i < 12; ++i) {
        const float x0 = i * 40.f, x1 = x0 + 40;
        c.fillPolygon({{240, 0}, {x0, 150}, {x1, 150}}, i % 2 ? rgb(250, 245, 235) : rgb(230, 40, 50));
    }
    for (float x = 0; x < 480; x += 40) c.fillCircle(x + 20, 152, 20, rgb(250, 200, 50)); // scalloped rim
    c.fillRect(0, 150, 480, 6, rgb(200, 150, 30));
    c.outline(rgb(80, 20, 20), 2);
    return c;
}

Canvas treeBuilding() {
    Canvas c(360, 480);
    c.noiseFill(120, 160, 120, 320, rgb(120, 80, 45), 0.3f, 10, 61); // trunk
    c.fillPolygon({{120, 480}, {80, 480}, {125, 420}}, rgb(110, 72, 40));
    c.fillPolygon({{240, 480}, {285, 480}, {235, 420}}, rgb(110, 72, 40));
    Rng rng(62);
    for (int i = 0; i < 26; ++i) {
        const float a = rng.range(0.f, 2 * PI), r = rng.range(0.f, 110.f);
        c.fillCircle(180 + std::cos(a) * r * 1.3f, 130 + std::sin(a) * r * 0.8f, rng.range(40.f, 70.f),
                     shade(rgb(70, 150, 60), rng.range(0.75f, 1.15f)));
    }
    windowPane(c, 155, 240, 50, 46, true);
    c.fillRect(110, 330, 140, 10, rgb(90, 60, 30)); // balcony
    for (float x = 115; x < 250; x += 14) c.line(x, 310, x, 330, 3, rgb(90, 60, 30));
    c.outline(rgb(30, 50, 20), 2);
    return c;
}

Canvas mushroom() {
    Canvas c(360, 360);
    c.fillEllipse(180, 130, 180, 125, rgb(220, 40, 40));     // cap, its lower half cut away
    for (int y = 150; y < 360; ++y)
        for (int x = 0; x < 360; ++x) c.set(x, y, CLEAR);
    c.fillRoundRect(110, 140, 140, 220, 30, rgb(245, 235, 210)); // stem
    c.noiseShade(0.05f, 10, 70);
    c.fillEllipse(180, 150, 175, 16, rgb(200, 180, 150));    // gills rim
    for (auto [x, y, r] : {std::tuple{90.f, 80.f, 22.f}, {180.f, 40.f, 26.f}, {270.f, 85.f, 20.f}, {140.f, 115.f, 14.f}, {230.f, 120.f, 15.f}})
        c.fillCircle(x, y, r, rgb(255, 250, 240));
    windowPane(c, 155, 200, 50, 46, true);
    c.fillRoundRect(160, 290, 40, 70, 18, rgb(120, 80, 45));
    c.outline(rgb(80, 20, 20), 2);
    return c;
}

Canvas caveEntry() {
    Canvas c(360, 240);
    Rng rng(81);
    std::vector<sf::Vector2f> hill{{0, 240}};
    for (int i = 0; i <= 12; ++i) {
        const float x = i * 30.f;
        const float y = 40 + std::pow(std::abs(x - 180) / 180.f, 2.f) * 120 + rng.range(-12.f, 12.f);
        hill.push_back({x, y});
    }
    hill.push_back({360, 240});
    c.fillPolygon(hill, rgb(120, 110, 100));
    c.noiseShade(0.3f, 14, 82);
    for (int i = 0; i < 8; ++i) c.fillCircle(rng.range(20.f, 340.f), rng.range(120.f, 230.f), rng.range(8.f, 18.f), rgb(95, 88, 80));
    c.fillEllipse(180, 60, 60, 14, rgb(90, 140, 70)); // moss on top
    c.outline(rgb(40, 35, 30), 2);
    return c;
}

// ---------------------------------------------------------------------------------------------
// House signs: a hanging board with a picture of the trade.

Canvas signBoard(const std::function<void(Canvas&)>& emblem, sf::Color board) {
    Canvas c(128, 96);
    c.line(24, 0, 24, 14, 3, rgb(60, 60, 60));
    c.line(104, 0, 104, 14, 3, rgb(60, 60, 60));
    c.fillRoundRect(4, 12, 120, 80, 10, board);
    c.noiseShade(0.12f, 6, 91);
    c.strokeRect(10, 18, 108, 68, 3, shade(board, 0.6f));
    emblem(c);
    c.outline(rgb(40, 25, 10), 2);
    return c;
}

// ---------------------------------------------------------------------------------------------
// Objects standing on tiles (120 wide for a whole tile).

Canvas treeObject(sf::Color leaves, std::uint32_t seed) {
    Canvas c(120, 200);
    c.noiseFill(52, 120, 16, 80, rgb(115, 75, 40), 0.3f, 6, seed);
    Rng rng(seed);
    for (int i = 0; i < 14; ++i)
        c.fillCircle(60 + rng.range(-30.f, 30.f), 70 + rng.range(-40.f, 35.f), rng.range(22.f, 34.f),
                     shade(leaves, rng.range(0.75f, 1.2f)));
    c.outline(rgb(20, 50, 20), 2);
    return c;
}

Canvas pineObject(bool snowy) {
    Canvas c(120, 210);
    c.fillRect(52, 170, 16, 40, rgb(100, 65, 35));
    for (int k = 0; k < 4; ++k) {
        const float top = 10 + k * 38.f, half = 24 + k * 10.f;
        c.fillPolygon({{60, top}, {60 - half, top + 60}, {60 + half, top + 60}}, rgb(30, 100, 60));
        if (snowy) c.fillPolygon({{60, top}, {60 - half * 0.55f, top + 30}, {60 + half * 0.55f, top + 30}}, rgb(245, 250, 255));
    }
    c.outline(rgb(10, 40, 25), 2);
    return c;
}

Canvas animFrameButterfly(int f) {
    Canvas c(48, 40);
    const float open = 0.35f + 0.65f * std::abs(std::sin(f * PI / 4));
    for (float s : {-1.f, 1.f}) {
        c.fillEllipse(24 + s * 10 * open, 14, 10 * open + 1, 10, rgb(250, 150, 40));
        c.fillEllipse(24 + s * 8 * open, 27, 7 * open + 1, 7, rgb(240, 90, 30));
        c.fillCircle(24 + s * 11 * open, 12, 3 * open + 0.5f, rgb(40, 20, 10));
    }
    c.fillEllipse(24, 20, 2.5f, 11, rgb(40, 30, 20));
    c.line(24, 10, 19, 2, 1, rgb(40, 30, 20));
    c.line(24, 10, 29, 2, 1, rgb(40, 30, 20));
    return c;
}

Canvas torchFireFrame(int f) {
    Canvas c(48, 72);
    Rng rng(200 + f);
    const float sway = std::sin(f * PI / 2) * 4;
    c.glow(24, 40, 24, rgb(255, 180, 60, 120));
    c.fillPolygon({{24 + sway, 4}, {10, 50}, {24, 66}, {38, 50}}, rgb(255, 120, 20));
    c.fillPolygon({{24 + sway * 0.6f, 22}, {15, 52}, {24, 64}, {33, 52}}, rgb(255, 210, 60));
    c.fillEllipse(24, 56, 6, 8, rgb(255, 250, 200));
    for (int i = 0; i < 3; ++i) c.fillCircle(rng.range(14.f, 34.f), rng.range(4.f, 24.f), 1.5f, rgb(255, 200, 80));
    return c;
}

Canvas planet(int r, sf::Color a, sf::Color b, std::uint32_t seed, bool rings) {
    const int size = r * 2 + (rings ? r : 8);
    Canvas c(size + (rings ? r : 0), size);
    const float cx = c.width() / 2.f, cy = c.height() / 2.f;
    if (rings) c.fillEllipse(cx, cy, r * 1.9f, r * 0.45f, rgb(210, 190, 140, 200));
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const float dx = (x - cx) / r, dy = (y - cy) / r;
            const float d2 = dx * dx + dy * dy;
            if (d2 > 1) continue;
            const float band = fractalNoise(x * 0.6f, y * 2.2f, 24, 4, seed);
            sf::Color col = mix(a, b, band);
            const float light = std::clamp(0.35f + 0.9f * (1 - std::sqrt(d2)) + (-dx - dy) * 0.35f, 0.2f, 1.25f);
            col = shade(col, light);
            c.blend(x, y, col, std::clamp((1 - std::sqrt(d2)) * r, 0.f, 1.f));
        }
    if (rings) {
        // The front half of the ring crosses the planet.
        for (int y = static_cast<int>(cy); y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) {
                const float ex = (x - cx) / (r * 1.9f), ey = (y - cy) / (r * 0.45f);
                const float e = ex * ex + ey * ey;
                if (e <= 1 && e > 0.55f) c.blend(x, y, rgb(225, 205, 150, 220));
            }
    }
    return c;
}

Canvas storyPicture(int which) {
    Canvas c(960, 540);
    if (which == 1) { // dawn over the hills
        c.gradientRect(0, 0, 960, 540, rgb(250, 160, 90), rgb(255, 230, 170));
        c.glow(480, 330, 260, rgb(255, 250, 200, 200));
        c.fillCircle(480, 330, 70, rgb(255, 240, 180));
        for (int k = 0; k < 3; ++k) {
            std::vector<sf::Vector2f> hill{{0, 540}};
            for (int x = 0; x <= 960; x += 20)
                hill.push_back({float(x), 330 + k * 60 + 40 * std::sin(x * 0.008f + k * 2.f)});
            hill.push_back({960, 540});
            c.fillPolygon(hill, shade(rgb(70, 120, 80), 1.1f - k * 0.25f));
        }
    } else if (which == 2) { // a rocket among the stars
        c.gradientRect(0, 0, 960, 540, rgb(5, 5, 25), rgb(30, 20, 60));
        Rng rng(401);
        for (int i = 0; i < 400; ++i) c.fillCircle(rng.range(0.f, 960.f), rng.range(0.f, 540.f), rng.range(0.5f, 1.8f), rgb(255, 255, 255, rng.range(120, 255)));
        c.paste(planet(90, rgb(80, 140, 220), rgb(40, 180, 120), 402, false), 650, 260);
        c.fillRoundRect(300, 180, 70, 170, 30, rgb(230, 230, 240));
        c.fillPolygon({{300, 220}, {335, 120}, {370, 220}}, rgb(220, 50, 50));
        c.fillCircle(335, 240, 18, rgb(120, 190, 240));
        c.fillPolygon({{300, 350}, {270, 390}, {300, 320}}, rgb(220, 50, 50));
        c.fillPolygon({{370, 350}, {400, 390}, {370, 320}}, rgb(220, 50, 50));
        c.fillPolygon({{315, 350}, {335, 440}, {355, 350}}, rgb(255, 160, 40));
    } else { // a castle under the moon
        c.gradientRect(0, 0, 960, 540, rgb(20, 20, 60), rgb(60, 50, 110));
        c.glow(760, 110, 120, rgb(240, 240, 200, 120));
        c.fillCircle(760, 110, 50, rgb(250, 250, 225));
        Canvas castlePic = castle();
        c.paste(castlePic.scaled(400, 320), 280, 160);
        c.fillRect(0, 470, 960, 70, rgb(30, 40, 40));
        c.fillRect(0, 480, 960, 60, rgb(20, 30, 30));
    }
    // The credits' lines, in colours that keep changing, roll up the middle of these pictures:
    // dusk them down, and lay a dark band with soft edges behind the words so that every colour
    // stays clear against it.
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            const float edge = std::clamp((std::abs(x - 480.f) - 190.f) / 50.f, 0.f, 1.f);
            c.set(x, y, mix(mix(c.get(x, y), rgb(10, 10, 30), 0.6f), rgb(4, 4, 10), 0.85f * (1 - edge)));
        }
    return c;
}

} // namespace

REGISTER_ART(scene_textures) {
    texture(ctx, "Grass", grassTexture);
    texture(ctx, "Dirt", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(150, 110, 70), 0.25f, 20 * k, 21);
        c.speckle(0, 0, n, n, static_cast<int>(40 * k), rgb(110, 80, 50), 22);
        c.speckle(0, 0, n, n, static_cast<int>(20 * k), rgb(190, 150, 100), 23);
    });
    texture(ctx, "Cobble", [](Canvas& c, float k) { stones(c, k, rgb(160, 155, 145), rgb(90, 85, 80), 31, 4); });
    texture(ctx, "Sand", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(225, 200, 140), 0.15f, 16 * k, 41);
        for (float y = 10 * k; y < n; y += 24 * k)
            for (float x = 0; x < n; x += 2) c.blend(static_cast<int>(x), static_cast<int>(y + 3 * std::sin(x * 0.1f / k)), rgb(200, 175, 120), 0.6f);
    });
    texture(ctx, "Water", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(40, 110, 190), 0.2f, 30 * k, 51);
        for (float y = 8 * k; y < n; y += 20 * k)
            for (float x = 0; x < n; x += 1)
                c.blend(static_cast<int>(x), static_cast<int>(y + 3 * k * std::sin(x * 2 * PI / n * 2)), rgb(170, 215, 255, 200), 0.8f);
    });
    texture(ctx, "WoodFloor", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(160, 110, 60), 0.15f, 6 * k + 1, 61);
        for (float y = 0; y < n; y += 20 * k) c.fillRect(0, y, n, 1.5f, rgb(90, 60, 30));
    });
    texture(ctx, "CaveFloor", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(95, 85, 78), 0.3f, 18 * k, 71);
        c.speckle(0, 0, n, n, static_cast<int>(30 * k), rgb(60, 55, 50), 72);
    });
    texture(ctx, "CaveWall", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(70, 62, 58), 0.45f, 22 * k, 81);
        Rng rng(82);
        for (int i = 0; i < 6; ++i) {
            const float x = rng.range(0.f, n), y = rng.range(0.f, n);
            c.line(x, y, x + rng.range(-20.f, 20.f) * k, y + rng.range(5.f, 25.f) * k, 2 * k, rgb(35, 30, 28));
        }
        c.bevel(0, 0, n, n, static_cast<int>(4 * k) + 1, 0.25f);
    });
    texture(ctx, "Snow", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(236, 242, 250), 0.08f, 26 * k, 91);
        c.speckle(0, 0, n, n, static_cast<int>(30 * k), rgb(200, 215, 235), 92);
    });
    texture(ctx, "Ice", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.gradientRect(0, 0, n, n, rgb(180, 220, 245), rgb(140, 195, 235));
        c.line(10 * k, 20 * k, 70 * k, 90 * k, 1.5f, rgb(240, 250, 255));
        c.line(60 * k, 10 * k, 110 * k, 50 * k, 1.5f, rgb(240, 250, 255));
        c.line(70 * k, 90 * k, 100 * k, 115 * k, 1.5f, rgb(240, 250, 255));
    });
    // The rusty dust of Mars, strewn with dark pebbles, and the same ground pitted by a crater.
    texture(ctx, "MarsDust", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(178, 88, 54), 0.25f, 18 * k, 111);
        c.speckle(0, 0, n, n, static_cast<int>(36 * k), rgb(120, 52, 32), 112);
        c.speckle(0, 0, n, n, static_cast<int>(18 * k), rgb(215, 130, 90), 113);
    });
    texture(ctx, "MarsCrater", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(178, 88, 54), 0.25f, 18 * k, 111);
        c.speckle(0, 0, n, n, static_cast<int>(36 * k), rgb(120, 52, 32), 112);
        c.fillEllipse(n / 2, n / 2 + 4 * k, 40 * k, 28 * k, rgb(212, 120, 80));
        c.fillEllipse(n / 2, n / 2 + 2 * k, 34 * k, 22 * k, rgb(128, 58, 36));
        c.fillEllipse(n / 2, n / 2 + 6 * k, 26 * k, 14 * k, rgb(150, 70, 44));
    });
    texture(ctx, "BrickWall", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.fill(rgb(110, 60, 50));
        Rng rng(101);
        const float bh = 15 * k, bw = 40 * k;
        int row = 0;
        for (float y = 0; y < n; y += bh, ++row)
            for (float x = -(row % 2) * bw / 2; x < n; x += bw)
                c.fillRect(x + 1, y + 1, bw - 2, bh - 2, shade(rgb(175, 85, 65), rng.range(0.85f, 1.1f)));
    });
    texture(ctx, "MetalPlatformSQ", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.gradientRect(0, 0, n, n, rgb(170, 175, 185), rgb(110, 115, 125));
        c.bevel(0, 0, n, n, static_cast<int>(6 * k) + 1, 0.35f);
        for (float x : {12 * k, n - 12 * k})
            for (float y : {12 * k, n - 12 * k}) c.fillCircle(x, y, 4 * k, rgb(80, 85, 95));
        for (float d = 20 * k; d < n - 20 * k; d += 12 * k) c.line(d, 25 * k, d + 8 * k, 33 * k, 1.5f, rgb(140, 145, 155));
    });
    texture(ctx, "HedgeGround", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, rgb(120, 170, 90), 0.18f, 14 * k, 111);
        for (float x = 0; x < n; x += 30 * k) c.fillRect(x, 0, 15 * k, n, rgb(110, 160, 80, 90)); // mown stripes
    });
}

REGISTER_ART(scene_buildings) {
    ctx.savePicture("Buildings", "House", house());
    ctx.savePicture("Buildings", "QV1House", qv1House());
    ctx.savePicture("Buildings", "Building", building());
    ctx.savePicture("Buildings", "Tower", tower());
    ctx.savePicture("Buildings", "Castle", castle());
    ctx.savePicture("Buildings", "Pyramid", pyramid());
    ctx.savePicture("Buildings", "Circus", circus());
    ctx.savePicture("Buildings", "TreeBuilding", treeBuilding());
    ctx.savePicture("Buildings", "MushroomBuilding", mushroom());
    ctx.savePicture("Buildings", "CaveEntry", caveEntry());
    // TextureBuilding is drawn from its ground texture and needs no picture of its own, but the
    // store keeps one so a scene may name it like any other kind.
    ctx.savePicture("Buildings", "TextureBuilding", house());
}

REGISTER_ART(scene_house_signs) {
    const sf::Color wood = rgb(150, 100, 55);
    ctx.savePicture("HouseSigns", "Inn", signBoard([](Canvas& c) { // a foaming mug
        c.fillRoundRect(44, 36, 34, 42, 5, rgb(230, 180, 60));
        c.strokeCircle(84, 56, 10, 5, rgb(230, 180, 60));
        c.fillEllipse(61, 36, 20, 9, rgb(255, 255, 245));
        c.fillCircle(50, 32, 7, rgb(255, 255, 245));
    }, wood));
    ctx.savePicture("HouseSigns", "Shop", signBoard([](Canvas& c) { // a bag of coins
        c.fillCircle(64, 60, 24, rgb(190, 150, 90));
        c.fillPolygon({{52, 38}, {76, 38}, {70, 28}, {58, 28}}, rgb(170, 130, 80));
        c.fillCircle(64, 62, 10, rgb(250, 210, 60));
        c.fillRect(62, 54, 4, 16, rgb(180, 140, 30));
    }, wood));
    ctx.savePicture("HouseSigns", "Smith", signBoard([](Canvas& c) { // an anvil and hammer
        c.fillPolygon({{36, 44}, {94, 44}, {84, 56}, {46, 56}}, rgb(70, 70, 80));
        c.fillRect(56, 56, 18, 14, rgb(70, 70, 80));
        c.fillRect(46, 70, 38, 8, rgb(70, 70, 80));
        c.line(80, 26, 96, 42, 4, rgb(140, 90, 50));
        c.fillRect(72, 22, 16, 9, rgb(160, 160, 170));
    }, wood));
    ctx.savePicture("HouseSigns", "Magic", signBoard([](Canvas& c) { // a star and a moon
        std::vector<sf::Vector2f> star;
        for (int i = 0; i < 10; ++i) {
            const float a = -PI / 2 + i * PI / 5, r = i % 2 ? 9.f : 22.f;
            star.push_back({50 + r * std::cos(a), 54 + r * std::sin(a)});
        }
        c.fillPolygon(star, rgb(250, 220, 80));
        c.fillCircle(88, 48, 14, rgb(230, 230, 255));
        c.fillCircle(94, 44, 12, rgb(60, 50, 120));
    }, rgb(60, 50, 120)));
    ctx.savePicture("HouseSigns", "Circus", signBoard([](Canvas& c) { // a juggling ball trio
        c.fillCircle(48, 60, 12, rgb(230, 40, 50));
        c.fillCircle(80, 60, 12, rgb(40, 110, 230));
        c.fillCircle(64, 36, 12, rgb(250, 210, 40));
    }, rgb(250, 240, 220)));
    ctx.savePicture("HouseSigns", "Dojo", signBoard([](Canvas& c) { // two crossed practice staffs
        c.line(38, 30, 90, 80, 6, rgb(200, 160, 100));
        c.line(90, 30, 38, 80, 6, rgb(200, 160, 100));
        c.strokeCircle(64, 55, 26, 4, rgb(250, 240, 220));
    }, rgb(150, 30, 35)));
}

REGISTER_ART(scene_objects) {
    ctx.savePicture("Objects", "Tree", treeObject(rgb(60, 140, 55), 301));
    ctx.savePicture("Objects", "AppleTree", [] {
        Canvas c = treeObject(rgb(70, 150, 60), 302);
        Rng rng(303);
        for (int i = 0; i < 9; ++i) c.fillCircle(rng.range(35.f, 85.f), rng.range(40.f, 100.f), 5, rgb(220, 40, 40));
        return c;
    }());
    ctx.savePicture("Objects", "PineSnow", pineObject(true));
    ctx.savePicture("Objects", "Pine", pineObject(false));
    ctx.savePicture("Objects", "Bush", [] {
        Canvas c(120, 90);
        Rng rng(311);
        for (int i = 0; i < 9; ++i) c.fillCircle(60 + rng.range(-35.f, 35.f), 55 + rng.range(-15.f, 15.f), rng.range(18.f, 26.f), shade(rgb(60, 130, 50), rng.range(0.8f, 1.15f)));
        c.outline(rgb(20, 50, 20), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Flowers", [] {
        Canvas c(120, 70);
        Rng rng(321);
        for (int i = 0; i < 9; ++i) {
            const float x = rng.range(15.f, 105.f), y = rng.range(25.f, 60.f);
            c.line(x, y, x, 70, 2, rgb(50, 120, 40));
            const sf::Color petal = i % 3 == 0 ? rgb(240, 80, 120) : i % 3 == 1 ? rgb(250, 220, 60) : rgb(150, 110, 240);
            for (int p = 0; p < 5; ++p) c.fillCircle(x + 6 * std::cos(p * 1.256f), y + 6 * std::sin(p * 1.256f), 4, petal);
            c.fillCircle(x, y, 3, rgb(255, 240, 150));
        }
        return c;
    }());
    ctx.savePicture("Objects", "Rock", [] {
        Canvas c(120, 80);
        c.fillPolygon({{10, 78}, {20, 35}, {50, 12}, {90, 20}, {112, 55}, {108, 78}}, rgb(130, 125, 120));
        c.noiseShade(0.3f, 10, 331);
        c.outline(rgb(50, 48, 45), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Crystal", [] {
        Canvas c(120, 130);
        c.glow(60, 80, 50, rgb(150, 120, 255, 120));
        for (auto [x, h, w] : {std::tuple{60.f, 110.f, 18.f}, {36.f, 70.f, 13.f}, {84.f, 80.f, 14.f}}) {
            c.fillPolygon({{x - w, 125}, {x - w, 125 - h + w}, {x, 125 - h}, {x + w, 125 - h + w}, {x + w, 125}}, rgb(160, 120, 250, 230));
            c.fillPolygon({{x, 125 - h}, {x + w, 125 - h + w}, {x + w, 125}, {x, 125}}, rgb(110, 80, 210, 230));
        }
        c.outline(rgb(60, 30, 120), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Torch", [] {
        Canvas c(60, 120);
        c.fillRect(26, 50, 8, 70, rgb(110, 70, 35));
        c.fillRoundRect(20, 40, 20, 16, 4, rgb(80, 80, 90));
        c.fillPolygon({{30, 4}, {18, 36}, {30, 46}, {42, 36}}, rgb(255, 140, 30));
        c.fillPolygon({{30, 18}, {23, 38}, {30, 44}, {37, 38}}, rgb(255, 230, 90));
        c.outline(rgb(40, 25, 10), 1);
        return c;
    }());
    ctx.savePicture("Objects", "Snowman", [] {
        Canvas c(120, 150);
        c.fillCircle(60, 115, 33, rgb(245, 248, 255));
        c.fillCircle(60, 65, 25, rgb(245, 248, 255));
        c.fillCircle(60, 30, 18, rgb(245, 248, 255));
        c.fillPolygon({{60, 30}, {82, 34}, {60, 36}}, rgb(250, 140, 30));
        c.fillCircle(54, 25, 2.5f, rgb(20, 20, 20));
        c.fillCircle(66, 25, 2.5f, rgb(20, 20, 20));
        c.fillRect(44, 4, 32, 12, rgb(30, 30, 40));
        c.fillRect(38, 14, 44, 4, rgb(30, 30, 40));
        c.line(38, 62, 10, 45, 3, rgb(110, 70, 35));
        c.line(82, 62, 110, 45, 3, rgb(110, 70, 35));
        c.fillRect(40, 48, 40, 7, rgb(200, 40, 40));
        c.outline(rgb(120, 140, 170), 2);
        return c;
    }());
    ctx.savePicture("Objects", "HedgeWall", [] {
        Canvas c(120, 150);
        c.noiseFill(4, 10, 112, 140, rgb(45, 115, 50), 0.35f, 10, 341);
        Rng rng(342);
        for (int i = 0; i < 40; ++i) c.fillCircle(rng.range(8.f, 112.f), rng.range(14.f, 146.f), rng.range(4.f, 8.f), shade(rgb(60, 140, 60), rng.range(0.8f, 1.25f)));
        c.bevel(4, 10, 112, 140, 5, 0.25f);
        c.outline(rgb(20, 50, 20), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Bench", [] {
        Canvas c(120, 80);
        c.fillRect(10, 20, 100, 10, rgb(150, 95, 50));
        c.fillRect(10, 36, 100, 10, rgb(150, 95, 50));
        c.fillRect(10, 50, 100, 8, rgb(130, 80, 40));
        for (float x : {16.f, 96.f}) c.fillRect(x, 20, 8, 60, rgb(60, 60, 65));
        c.outline(rgb(50, 30, 15), 1);
        return c;
    }());
    ctx.savePicture("Objects", "RoseArch", [] {
        Canvas c(240, 260);
        for (float x : {20.f, 206.f}) c.fillRect(x, 60, 14, 200, rgb(240, 240, 235));
        for (int i = 0; i < 40; ++i) {
            const float a = PI + i * PI / 39;
            const float x = 120 + 100 * std::cos(a), y = 80 + 70 * std::sin(a);
            c.fillCircle(x, y, 12, rgb(60, 130, 50));
            if (i % 3 == 0) c.fillCircle(x, y - 4, 6, rgb(230, 60, 90));
        }
        for (float y = 90; y < 250; y += 22)
            for (float x : {27.f, 213.f}) {
                c.fillCircle(x, y, 10, rgb(60, 130, 50));
                c.fillCircle(x + 3, y - 3, 5, rgb(230, 60, 90));
            }
        c.outline(rgb(30, 60, 30), 2);
        return c;
    }());
    ctx.savePicture("Misc", "WishingWell", [] {
        Canvas c(240, 260);
        c.fillRect(30, 20, 12, 150, rgb(110, 70, 35));
        c.fillRect(198, 20, 12, 150, rgb(110, 70, 35));
        c.fillPolygon({{10, 40}, {120, 0}, {230, 40}}, rgb(160, 60, 45));
        c.line(42, 70, 198, 70, 5, rgb(110, 70, 35));
        c.line(120, 70, 120, 120, 2, rgb(80, 80, 80));
        c.fillRoundRect(108, 118, 24, 22, 4, rgb(120, 90, 60));
        Canvas wall(240, 260);
        stones(wall, 1, rgb(160, 155, 150), rgb(95, 90, 85), 351, 13);
        for (int y = 150; y < 260; ++y)
            for (int x = 10; x < 230; ++x) c.set(x, y, wall.get(x, y));
        c.fillEllipse(120, 152, 108, 18, rgb(30, 70, 120));
        c.fillEllipse(120, 152, 95, 12, rgb(50, 110, 170));
        c.outline(rgb(40, 35, 30), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Lamp", [] {
        Canvas c(60, 200);
        c.fillRect(26, 40, 8, 160, rgb(40, 45, 50));
        c.glow(30, 30, 28, rgb(255, 230, 150, 150));
        c.fillRoundRect(16, 14, 28, 30, 6, rgb(255, 230, 150));
        c.strokeRect(16, 14, 28, 30, 3, rgb(40, 45, 50));
        c.fillPolygon({{12, 14}, {30, 2}, {48, 14}}, rgb(40, 45, 50));
        return c;
    }());
    ctx.savePicture("Objects", "Fence", [] {
        Canvas c(120, 70);
        for (float x = 6; x < 120; x += 28) c.fillPolygon({{x, 70}, {x, 14}, {x + 8, 4}, {x + 16, 14}, {x + 16, 70}}, rgb(235, 225, 200));
        c.fillRect(0, 26, 120, 8, rgb(215, 205, 180));
        c.fillRect(0, 50, 120, 8, rgb(215, 205, 180));
        c.outline(rgb(90, 80, 60), 1);
        return c;
    }());
    ctx.savePicture("Objects", "Door", [] {
        Canvas c(120, 120);
        c.fillRoundRect(18, 10, 84, 110, 40, rgb(90, 55, 30));
        c.fillRoundRect(24, 16, 72, 104, 34, rgb(140, 90, 45));
        for (float x : {48.f, 72.f}) c.fillRect(x, 16, 3, 104, rgb(100, 60, 30));
        c.fillCircle(84, 70, 5, rgb(230, 200, 80));
        c.outline(rgb(40, 25, 10), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Chimney", [] {
        Canvas c(80, 120);
        brickWall(c, 14, 16, 52, 104, rgb(170, 80, 60), 361);
        c.fillRect(8, 8, 64, 12, rgb(90, 90, 95));
        c.fillCircle(40, 6, 6, rgb(120, 120, 120, 120));
        return c;
    }());
    ctx.savePicture("Objects", "Pennant", [] {
        Canvas c(80, 140);
        c.fillRect(10, 0, 5, 140, rgb(80, 80, 85));
        c.fillPolygon({{15, 6}, {75, 24}, {15, 44}}, rgb(220, 40, 50));
        c.fillCircle(32, 25, 6, rgb(250, 220, 70));
        return c;
    }());
    ctx.savePicture("Objects", "RoofAntenna", [] {
        Canvas c(80, 140);
        c.fillRect(37, 20, 6, 120, rgb(120, 120, 130));
        for (float y : {30.f, 55.f, 80.f}) c.line(15, y, 65, y, 3, rgb(120, 120, 130));
        c.fillCircle(40, 16, 6, rgb(230, 50, 50));
        return c;
    }());
    ctx.savePicture("Objects", "Signpost", [] {
        Canvas c(120, 140);
        c.fillRect(56, 30, 8, 110, rgb(110, 70, 35));
        c.fillPolygon({{20, 30}, {96, 30}, {110, 44}, {96, 58}, {20, 58}}, rgb(170, 120, 65));
        c.line(30, 44, 90, 44, 3, rgb(90, 60, 30));
        c.outline(rgb(50, 30, 15), 1);
        return c;
    }());
    ctx.savePicture("Objects", "Bed", [] {
        Canvas c(120, 150);
        c.fillRect(8, 10, 104, 130, rgb(120, 75, 40));
        c.fillRect(14, 16, 92, 118, rgb(240, 235, 225));
        c.fillRoundRect(24, 22, 72, 26, 10, rgb(255, 255, 250));
        c.fillRect(14, 60, 92, 74, rgb(170, 50, 60));
        for (float y = 70; y < 134; y += 16) c.line(14, y, 106, y, 2, rgb(140, 35, 45));
        c.fillRect(8, 4, 104, 10, rgb(100, 60, 30));
        c.outline(rgb(50, 30, 15), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Anvil", [] {
        Canvas c(120, 100);
        const sf::Color iron = rgb(70, 70, 80);
        c.fillPolygon({{6, 22}, {104, 22}, {90, 44}, {30, 44}}, iron);
        c.fillPolygon({{104, 22}, {118, 26}, {104, 32}}, iron);
        c.fillRect(44, 44, 32, 26, iron);
        c.fillRect(24, 70, 72, 14, iron);
        c.fillRect(16, 84, 88, 12, rgb(110, 70, 40));
        c.line(10, 24, 100, 24, 2, rgb(150, 150, 165));
        c.outline(rgb(30, 30, 35), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Counter", [] {
        Canvas c(120, 110);
        c.noiseFill(0, 30, 120, 80, rgb(130, 85, 45), 0.2f, 8, 371);
        c.fillRect(0, 22, 120, 12, rgb(170, 115, 60));
        for (float x : {20.f, 60.f, 100.f}) c.fillRect(x - 2, 40, 4, 66, rgb(100, 60, 30));
        c.outline(rgb(50, 30, 15), 2);
        return c;
    }());
    ctx.savePicture("Objects", "CatRocket", [] {
        Canvas c(120, 240);
        c.fillRoundRect(30, 40, 60, 170, 28, rgb(240, 240, 245));
        c.fillPolygon({{30, 80}, {60, 0}, {90, 80}}, rgb(235, 120, 40));
        // Cat ears on the nose cone.
        c.fillPolygon({{44, 40}, {50, 22}, {56, 40}}, rgb(235, 120, 40));
        c.fillPolygon({{64, 40}, {70, 22}, {76, 40}}, rgb(235, 120, 40));
        c.fillCircle(60, 100, 16, rgb(110, 180, 240));
        c.strokeCircle(60, 100, 16, 4, rgb(150, 150, 160));
        c.fillPolygon({{30, 170}, {6, 230}, {30, 210}}, rgb(235, 120, 40));
        c.fillPolygon({{90, 170}, {114, 230}, {90, 210}}, rgb(235, 120, 40));
        c.fillRect(45, 205, 30, 20, rgb(90, 90, 100));
        c.outline(rgb(50, 50, 60), 2);
        return c;
    }());
}

REGISTER_ART(scene_space) {
    ctx.savePicture("Planets", "RedPlanet", planet(120, rgb(200, 90, 50), rgb(150, 50, 30), 501, false));
    ctx.savePicture("Planets", "BluePlanet", planet(120, rgb(50, 120, 210), rgb(60, 170, 110), 502, false));
    ctx.savePicture("Planets", "RingPlanet", planet(100, rgb(230, 200, 130), rgb(190, 140, 80), 503, true));
    ctx.savePicture("Planets", "Comet", [] {
        // The head on the right, its tail trailing left: it flies toward +x.
        Canvas c(320, 120);
        for (int i = 0; i < 60; ++i) {
            const float t = i / 59.f;
            c.fillCircle(40 + 220 * t, 60, 6 + 26 * t, rgb(160, 210, 255, static_cast<int>(20 + 60 * t)));
        }
        c.noiseShade(0.2f, 8, 504);
        c.glow(270, 60, 56, rgb(230, 245, 255, 230));
        c.fillCircle(270, 60, 24, rgb(235, 240, 250));
        c.fillCircle(264, 54, 9, rgb(255, 255, 255));
        return c;
    }());
}

REGISTER_ART(scene_story) {
    for (int i = 1; i <= 3; ++i) ctx.savePicture("Story", "Credits" + std::to_string(i), storyPicture(i));
}

REGISTER_ART(scene_animations) {
    for (int f = 1; f <= 8; ++f) ctx.savePicture("Animations", "ButterflyF" + std::to_string(f), animFrameButterfly(f));
    for (int f = 1; f <= 4; ++f) ctx.savePicture("Animations", "TorchFireF" + std::to_string(f), torchFireFrame(f));
    // A curtain of northern lights (background animation), four frames that loop.
    for (int f = 1; f <= 4; ++f) {
        Canvas c(480, 270);
        c.gradientRect(0, 0, 480, 270, rgb(5, 10, 30), rgb(20, 30, 60));
        for (int band = 0; band < 3; ++band)
            for (int x = 0; x < 480; ++x) {
                const float y0 = 60 + band * 35 + 25 * std::sin(x * 0.02f + f * PI / 2 + band);
                for (int y = 0; y < 70; ++y) {
                    const float a = (1 - y / 70.f) * 0.5f;
                    c.blend(x, static_cast<int>(y0) + y, band == 1 ? rgb(120, 240, 170) : rgb(90, 200, 230), a);
                }
            }
        Rng rng(600);
        for (int i = 0; i < 60; ++i) c.fillCircle(rng.range(0.f, 480.f), rng.range(0.f, 270.f), 1, rgb(255, 255, 255, 200));
        ctx.savePicture("backAnimations", "AuroraF" + std::to_string(f), c);
    }
    {
        Canvas c(240, 240);
        c.gradientRect(0, 0, 240, 240, rgb(120, 180, 240), rgb(170, 210, 250));
        c.fillEllipse(70, 80, 50, 22, rgb(255, 255, 255, 220));
        c.fillEllipse(100, 70, 36, 26, rgb(255, 255, 255, 230));
        c.fillEllipse(180, 170, 46, 18, rgb(255, 255, 255, 200));
        ctx.savePicture("Misc", "SkyTile", c);
    }
    {
        // Two tiles of lawn: laid under a whole scene it shows wherever a tile has no ground.
        Canvas tile(120, 120);
        grassTexture(tile, 1.f);
        Canvas c(240, 240);
        for (int x : {0, 120})
            for (int y : {0, 120}) c.paste(tile, x, y);
        ctx.savePicture("Misc", "GrassBack", c);
    }
}
