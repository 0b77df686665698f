// Pictures of Brookvale's first hours: the glint of the guards' lost key on the square, the
// founder's statue and the notice board at the end of the old quarter's lane, and the night view
// of the town behind the intro's words.
#include "Art.hpp"

#include <cmath>

using namespace art;

namespace {

// A four-pointed twinkle: long rays up, down and sideways, short ones on the diagonals, a white
// core in a golden haze. `r` is the length of the long rays.
void twinkle(Canvas& c, float cx, float cy, float r, int alpha) {
    if (r < 1) return;
    c.glow(cx, cy, r * 1.1f, rgb(255, 220, 120, alpha * 3 / 5));
    const sf::Color ray = rgb(255, 250, 220, alpha);
    const float w = std::max(1.5f, r * 0.16f);
    c.fillPolygon({{cx, cy - r}, {cx + w, cy}, {cx, cy + r}, {cx - w, cy}}, ray);
    c.fillPolygon({{cx - r, cy}, {cx, cy - w}, {cx + r, cy}, {cx, cy + w}}, ray);
    const float d = r * 0.42f, dw = w * 0.6f;
    c.fillPolygon({{cx - d, cy - d}, {cx + dw, cy - dw}, {cx + d, cy + d}, {cx - dw, cy + dw}}, withAlpha(ray, alpha * 2 / 3));
    c.fillPolygon({{cx + d, cy - d}, {cx + dw, cy + dw}, {cx - d, cy + d}, {cx - dw, cy - dw}}, withAlpha(ray, alpha * 2 / 3));
    c.fillCircle(cx, cy, std::max(1.5f, r * 0.14f), rgb(255, 255, 255, alpha));
}

// The glint of the lost key: a bright twinkle that flares and fades, then a faint shimmer
// until the next flare. Its foot stands a little above the middle of the tile, over the key.
Canvas glintFrame(int frame) {
    Canvas c(90, 90);
    const float cx = 45, cy = 62;
    if (frame < 10) {
        const float t = std::sin(PI * (frame + 0.5f) / 10);
        twinkle(c, cx, cy, 8 + 26 * t, 150 + static_cast<int>(105 * t));
    } else {
        const float t = 0.5f + 0.5f * std::sin(PI * (frame - 10) / 5);
        twinkle(c, cx, cy, 5 + 3 * t, 110);
    }
    return c;
}

// Founder of Brookvale, in weathered stone on a plinth with a brass plaque: a cloaked figure
// raising a lantern over the road.
Canvas statue() {
    Canvas c(120, 230);
    const sf::Color stone = rgb(168, 166, 158), dark = rgb(112, 110, 104), light = rgb(205, 203, 195);
    // The plinth: a stepped base and a block with the plaque.
    c.fillRect(8, 196, 104, 32, dark);
    c.fillRect(14, 150, 92, 50, stone);
    c.fillRect(10, 144, 100, 10, light);
    c.bevel(14, 150, 92, 50, 3, 0.3f);
    c.fillRoundRect(36, 162, 48, 24, 3, rgb(190, 150, 60));
    c.strokeRect(36, 162, 48, 24, 2, rgb(120, 90, 30));
    for (float y : {169.f, 175.f, 181.f}) c.line(42, y, 78, y, 1.5f, rgb(120, 90, 30));
    // The figure: cloak, arm raised with the lantern, hooded head.
    c.fillPolygon({{34, 144}, {44, 70}, {60, 58}, {76, 70}, {86, 144}}, stone);
    c.fillPolygon({{60, 58}, {76, 70}, {86, 144}, {64, 144}}, dark);
    c.fillPolygon({{44, 80}, {30, 44}, {38, 40}, {54, 76}}, stone);
    c.fillCircle(60, 48, 13, stone);
    c.fillPolygon({{47, 50}, {60, 30}, {73, 50}, {67, 44}, {53, 44}}, dark);
    c.line(33, 40, 33, 24, 2.5f, dark);
    c.fillRoundRect(25, 8, 16, 18, 3, rgb(150, 148, 140));
    c.fillRect(29, 12, 8, 10, rgb(255, 220, 130));
    c.glow(33, 17, 16, rgb(255, 220, 130, 90));
    for (float y = 96; y < 140; y += 14) c.line(50, y, 56, y + 10, 1.5f, dark);
    c.noiseShade(0.18f, 8, 7101);
    c.outline(rgb(60, 58, 54), 2);
    return c;
}

// The town's notice board: two posts under a little shingled roof, papers pinned to the boards,
// the bandits' wanted poster in red.
Canvas noticeBoard() {
    Canvas c(120, 160);
    const sf::Color post = rgb(110, 70, 35), board = rgb(165, 118, 66), plank = rgb(135, 92, 48);
    for (float x : {14.f, 98.f}) c.fillRect(x, 30, 8, 130, post);
    c.fillRect(8, 40, 104, 78, board);
    for (float y = 52; y < 118; y += 13) c.line(8, y, 112, y, 1.5f, plank);
    c.fillPolygon({{0, 42}, {60, 14}, {120, 42}, {112, 46}, {60, 22}, {8, 46}}, rgb(150, 60, 45));
    c.fillPolygon({{8, 46}, {60, 22}, {112, 46}}, rgb(120, 48, 36));
    // Papers: two notes and the poster.
    auto note = [&](float x, float y, float w, float h, sf::Color paper, sf::Color ink) {
        c.fillRect(x, y, w, h, paper);
        for (float ly = y + 7; ly < y + h - 3; ly += 6) c.line(x + 4, ly, x + w - 5, ly, 1.2f, ink);
        c.fillCircle(x + w / 2, y + 3, 2.2f, rgb(200, 40, 40));
    };
    note(16, 50, 26, 34, rgb(245, 240, 220), rgb(120, 110, 100));
    note(76, 56, 28, 40, rgb(235, 232, 210), rgb(120, 110, 100));
    c.fillRect(44, 48, 30, 44, rgb(250, 235, 200));
    c.fillRect(44, 48, 30, 9, rgb(190, 40, 40));
    c.fillCircle(59, 69, 8, rgb(90, 70, 50));
    c.fillRect(51, 66, 16, 4, rgb(30, 30, 30));
    c.fillRect(49, 80, 20, 8, rgb(90, 70, 50));
    c.fillCircle(59, 50, 2.2f, rgb(60, 60, 60));
    note(22, 92, 30, 20, rgb(240, 236, 215), rgb(120, 110, 100));
    c.outline(rgb(50, 30, 15), 2);
    return c;
}

// One pine of the woods' edge, as a silhouette standing on y.
void pineSilhouette(Canvas& c, float x, float y, float h, sf::Color colour) {
    for (int k = 0; k < 4; ++k) {
        const float top = y - h + k * h * 0.2f, half = h * (0.12f + 0.06f * k);
        c.fillPolygon({{x, top}, {x - half, top + h * 0.34f}, {x + half, top + h * 0.34f}}, colour);
    }
    c.fillRect(x - h * 0.03f, y - h * 0.12f, h * 0.06f, h * 0.12f, colour);
}

// A house of the town as a silhouette: walls, a pitched roof, a chimney, and a lit window or two.
void houseSilhouette(Canvas& c, float x, float y, float w, float h, sf::Color colour, Rng& rng) {
    c.fillRect(x, y - h, w, h, colour);
    c.fillPolygon({{x - 6, y - h}, {x + w / 2, y - h - w * 0.45f}, {x + w + 6, y - h}}, colour);
    c.fillRect(x + w * 0.7f, y - h - w * 0.42f, w * 0.1f, w * 0.25f, colour);
    const int windows = 1 + rng.below(2);
    for (int i = 0; i < windows; ++i) {
        const float wx = x + w * (0.2f + 0.45f * i), wy = y - h * 0.65f;
        c.glow(wx + 7, wy + 8, 22, rgb(255, 190, 90, 70));
        c.fillRect(wx, wy, 14, 16, rgb(255, 205, 110));
        c.line(wx + 7, wy, wx + 7, wy + 16, 1.5f, colour);
    }
}

// Brookvale by night from the hill: stars and the moon over dark woods, the town's roofs and lit
// windows low at either side. The middle band, where the intro's words stand, is left quiet and
// dark so they read clearly; so is the ground under the key hint at the bottom.
Canvas introPicture() {
    const int W = 1920, H = 1080;
    Canvas c(W, H, rgb(8, 10, 32));
    c.gradientRect(0, 0, W, 778, rgb(8, 10, 32), rgb(34, 30, 70));
    c.gradientRect(0, 778, W, H - 778, rgb(34, 30, 70), rgb(60, 40, 72));
    Rng rng(7201);
    for (int i = 0; i < 420; ++i) {
        const float x = rng.range(0.f, float(W)), y = rng.range(0.f, H * 0.62f);
        const float r = rng.range(0.6f, 1.8f);
        const int alpha = rng.range(90, 220);
        // Fewer and fainter behind the words.
        const bool behindWords = y > 340 && y < 640 && x > 240 && x < W - 240;
        if (behindWords && i % 3 != 0) continue;
        c.fillCircle(x, y, r, rgb(255, 250, 230, behindWords ? alpha / 3 : alpha));
    }
    for (int i = 0; i < 6; ++i) twinkle(c, rng.range(80.f, float(W - 80)), rng.range(40.f, 250.f), rng.range(6.f, 11.f), 200);
    // The moon, high on the right, away from the words.
    c.glow(1640, 170, 170, rgb(255, 240, 200, 60));
    c.fillCircle(1640, 170, 62, rgb(245, 238, 215));
    c.fillCircle(1618, 152, 12, rgb(220, 212, 190));
    c.fillCircle(1662, 196, 9, rgb(225, 217, 195));
    c.fillCircle(1652, 140, 6, rgb(228, 220, 198));
    // Far hills, then the woods' edge, then the near slope.
    const sf::Color hills = rgb(30, 28, 58), woods = rgb(18, 20, 38), near = rgb(10, 12, 24);
    std::vector<sf::Vector2f> far{{0, float(H)}};
    for (int x = 0; x <= W; x += 40) far.push_back({float(x), 760 + 40 * std::sin(x * 0.004f) + 25 * std::sin(x * 0.011f + 1)});
    far.push_back({float(W), float(H)});
    c.fillPolygon(far, hills);
    // The woods stand on dark ground: no sky shows between the trunks.
    std::vector<sf::Vector2f> floor{{0, float(H)}};
    for (int x = 0; x <= W; x += 20) floor.push_back({float(x), 835 + 20 * std::sin(x * 0.006f)});
    floor.push_back({float(W), float(H)});
    c.fillPolygon(floor, woods);
    for (int x = -20; x < W + 40; x += 34) {
        const float h = rng.range(90.f, 150.f);
        pineSilhouette(c, x + rng.range(-8.f, 8.f), 850 + 20 * std::sin(x * 0.006f), h, woods);
    }
    std::vector<sf::Vector2f> slope{{0, float(H)}};
    for (int x = 0; x <= W; x += 40) slope.push_back({float(x), 900 + 30 * std::sin(x * 0.003f + 2)});
    slope.push_back({float(W), float(H)});
    c.fillPolygon(slope, woods);
    // The town: houses gathered left and right of the middle, where the key hint is read.
    for (float x : {90.f, 200.f, 330.f, 450.f, 560.f}) houseSilhouette(c, x, 960 + rng.range(-10.f, 10.f), rng.range(80.f, 110.f), rng.range(60.f, 90.f), near, rng);
    for (float x : {1300.f, 1420.f, 1560.f, 1680.f, 1800.f}) houseSilhouette(c, x, 960 + rng.range(-10.f, 10.f), rng.range(80.f, 110.f), rng.range(60.f, 90.f), near, rng);
    // The inn's tower on the left with its lamp.
    c.fillRect(640, 820, 60, 150, near);
    c.fillPolygon({{630, 820}, {670, 760}, {710, 820}}, near);
    c.glow(670, 850, 40, rgb(255, 200, 100, 90));
    c.fillRect(660, 838, 20, 24, rgb(255, 210, 120));
    c.fillRect(0, 960, W, H - 960, near);
    return c;
}

} // namespace

REGISTER_ART(mends_glint) {
    for (int f = 0; f < 20; ++f) ctx.savePicture("Animations", "GlintF" + std::to_string(f + 1), glintFrame(f));
}

REGISTER_ART(mends_founders_square) {
    ctx.savePicture("Objects", "Statue", statue());
    ctx.savePicture("Objects", "NoticeBoard", noticeBoard());
}

REGISTER_ART(mends_intro) {
    ctx.savePicture("Misc", "IntroBrookvale", introPicture());
}
