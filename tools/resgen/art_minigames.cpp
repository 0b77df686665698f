// The arcade's pictures: the trophy, the cave game's rock, treasure and title pictures, the
// snake, the obstacle runner, more flags for the quiz, and the pets of the puzzle village.
#include "Art.hpp"

#include <cmath>

using namespace art;

namespace {

const sf::Color GOLD = rgb(240, 196, 50);
const sf::Color DARK_GOLD = rgb(170, 120, 20);
const sf::Color INK = rgb(30, 24, 20, 230);

void finish(Context& ctx, const std::string& folder, const std::string& name, Canvas& c) {
    c.outline(INK, 2);
    ctx.savePicture(folder, name, c);
}

// A cut gem seen from the front: crown facets over a pointed pavilion.
void gem(Canvas& c, float cx, float cy, float r, sf::Color colour) {
    const float top = cy - r * 0.55f, girdle = cy - r * 0.1f, tip = cy + r * 0.9f;
    c.fillPolygon({{cx - r * 0.55f, top}, {cx + r * 0.55f, top}, {cx + r, girdle}, {cx - r, girdle}},
                  shade(colour, 1.3f));
    c.fillPolygon({{cx - r, girdle}, {cx + r, girdle}, {cx, tip}}, colour);
    c.fillPolygon({{cx - r * 0.35f, girdle}, {cx + r * 0.35f, girdle}, {cx, tip}}, shade(colour, 1.15f));
    c.line(cx - r * 0.55f, top, cx - r * 0.25f, girdle, 2, shade(colour, 1.6f));
    c.line(cx + r * 0.55f, top, cx + r * 0.25f, girdle, 2, shade(colour, 0.7f));
    c.fillCircle(cx - r * 0.3f, top + r * 0.15f, r * 0.1f, rgb(255, 255, 255, 220));
}

// Cave rock: noisy grey stone with cracks, tiling without seams.
void caveRock(Canvas& c, sf::Color base, std::uint32_t seed, float crackiness) {
    const int w = c.width(), h = c.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float n = fractalNoise(float(x), float(y), w / 4.f, 4, seed, w, h);
            c.set(x, y, shade(base, 0.6f + 0.8f * n));
        }
    Rng rng(seed);
    for (int k = 0; k < int(crackiness * w / 20); ++k) {
        float x = rng.range(0.f, float(w)), y = rng.range(0.f, float(h));
        for (int s = 0; s < 5; ++s) {
            const float nx = x + rng.range(-14.f, 14.f), ny = y + rng.range(-14.f, 14.f);
            c.line(x, y, nx, ny, 1.5f, withAlpha(shade(base, 0.35f), 200));
            x = nx;
            y = ny;
        }
    }
}

void rockTexture(Context& ctx, const std::string& name, sf::Color base, std::uint32_t seed,
                 float cracks, bool blocks) {
    for (int size : {120, 60}) {
        Canvas c(size * 2, size * 2);
        caveRock(c, base, seed, cracks);
        if (blocks) {
            // Heavy masonry: dark joints every half picture, offset on alternate rows.
            const float b = float(size);
            for (int row = 0; row < 2; ++row) {
                c.fillRect(0, row * b, float(c.width()), 3, shade(base, 0.3f));
                const float off = row % 2 ? b / 2 : 0;
                for (float x = off; x < c.width(); x += b) c.fillRect(x, row * b, 3, b, shade(base, 0.3f));
            }
            c.bevel(0, 0, float(c.width()), float(c.height()), 3, 0.3f);
        }
        ctx.savePicture("Textures", size == 120 ? name : name + "_zoomOut", c);
    }
}

// A snake coiled low, head to the right, tongue out on alternate frames. The cave game turns it
// round when the player is on its left, so it must face right here.
Canvas snakeFrame(int frame) {
    Canvas c(120, 120);
    const sf::Color body = rgb(70, 160, 60), belly = rgb(200, 210, 110);
    const float phase = frame * PI / 2;
    for (int i = 24; i >= 0; --i) {
        const float t = float(i) / 24;
        const float x = 26 + t * 80;
        const float y = 78 + std::sin(t * 2.5f * PI + phase) * 12 * t;
        const float r = 13 - t * 7;
        c.fillCircle(x, y, r, i % 3 == 0 ? shade(body, 0.8f) : body);
        c.fillCircle(x, y + r * 0.45f, r * 0.5f, belly);
    }
    c.fillEllipse(22, 70, 16, 12, body);
    c.fillCircle(17, 64, 4, rgb(255, 255, 255));
    c.fillCircle(16, 64, 2, rgb(0, 0, 0));
    if (frame % 2 == 0) {
        c.line(7, 74, -2, 74, 2, rgb(220, 30, 40));
        c.line(-2, 74, -6, 70, 1.5f, rgb(220, 30, 40));
    }
    c.outline(INK, 2);
    // Laid out head to the left, then turned to face right.
    return c.mirrored();
}

// A parrot in flight, wings up or down.
Canvas parrotFrame(int frame) {
    Canvas c(160, 160);
    const float wing = std::sin(frame * PI / 2) * 40;
    c.fillPolygon({{70, 80}, {20, 80 - wing}, {40, 95 - wing * 0.5f}, {90, 95}}, rgb(40, 90, 220));
    c.fillEllipse(90, 92, 42, 22, rgb(220, 40, 40));
    c.fillPolygon({{50, 96}, {10, 120}, {18, 104}}, rgb(40, 170, 80));
    c.fillCircle(128, 80, 18, rgb(230, 50, 40));
    c.fillCircle(134, 76, 5, rgb(255, 255, 255));
    c.fillCircle(135, 76, 2.5f, rgb(0, 0, 0));
    c.fillPolygon({{142, 80}, {158, 86}, {144, 94}}, rgb(250, 210, 60));
    c.fillPolygon({{80, 92}, {115, 60 + wing}, {120, 72 + wing * 0.5f}, {100, 100}}, rgb(250, 200, 40));
    c.outline(INK, 2);
    return c;
}

// A four-legged animal side on, facing right: body, head, ears, tail, in the given colours.
struct Beast {
    sf::Color coat, light, dark;
    float bodyW, bodyH, headR, earH, tailLength;
    bool pointedEars, stripedTail, mask;
};

Canvas beast(const Beast& b) {
    Canvas c(180, 160);
    const float cx = 82, cy = 96;
    // tail
    for (int i = 0; i < 12; ++i) {
        const float t = i / 11.f;
        const float x = cx - b.bodyW + 6 - t * b.tailLength, y = cy - 4 - std::sin(t * PI * 0.8f) * 26;
        sf::Color col = b.stripedTail && (i / 2) % 2 ? b.dark : b.coat;
        if (i == 11 && !b.stripedTail) col = b.light;
        c.fillCircle(x, y, 9 - t * 2 + (b.stripedTail ? 3 : 0), col);
    }
    // legs
    for (float lx : {cx - b.bodyW * 0.6f, cx - b.bodyW * 0.3f, cx + b.bodyW * 0.35f, cx + b.bodyW * 0.65f})
        c.fillRoundRect(lx - 6, cy, 12, 42, 5, shade(b.coat, 0.85f));
    c.fillEllipse(cx, cy, b.bodyW, b.bodyH, b.coat);
    c.fillEllipse(cx + 4, cy + b.bodyH * 0.45f, b.bodyW * 0.7f, b.bodyH * 0.4f, b.light);
    // head
    const float hx = cx + b.bodyW * 0.9f, hy = cy - b.bodyH - 4;
    if (b.pointedEars) {
        c.fillPolygon({{hx - b.headR * 0.8f, hy - b.headR * 0.3f}, {hx - b.headR * 0.5f, hy - b.headR - b.earH}, {hx - b.headR * 0.05f, hy - b.headR * 0.6f}}, b.coat);
        c.fillPolygon({{hx + b.headR * 0.1f, hy - b.headR * 0.6f}, {hx + b.headR * 0.5f, hy - b.headR - b.earH}, {hx + b.headR * 0.8f, hy - b.headR * 0.3f}}, b.coat);
    } else {
        c.fillEllipse(hx - b.headR * 0.7f, hy - b.headR * 0.3f, b.headR * 0.35f, b.earH, shade(b.coat, 0.7f));
    }
    c.fillCircle(hx, hy, b.headR, b.coat);
    if (b.mask) c.fillEllipse(hx + 2, hy - 2, b.headR * 0.9f, b.headR * 0.35f, b.dark);
    c.fillEllipse(hx + b.headR * 0.75f, hy + b.headR * 0.3f, b.headR * 0.5f, b.headR * 0.35f, b.light);
    c.fillCircle(hx + b.headR * 1.15f, hy + b.headR * 0.2f, 4, rgb(20, 20, 20));
    c.fillCircle(hx + b.headR * 0.3f, hy - b.headR * 0.15f, 5, rgb(255, 255, 255));
    c.fillCircle(hx + b.headR * 0.35f, hy - b.headR * 0.15f, 2.5f, rgb(10, 10, 10));
    c.outline(INK, 2);
    return c;
}

// A flag of stripes (horizontal unless vertical), 150 by 100.
Canvas stripes(const std::vector<sf::Color>& colours, bool vertical) {
    Canvas c(150, 100);
    const float n = float(colours.size());
    for (std::size_t i = 0; i < colours.size(); ++i) {
        if (vertical) c.fillRect(150 * i / n, 0, 150 / n + 1, 100, colours[i]);
        else c.fillRect(0, 100 * i / n, 150, 100 / n + 1, colours[i]);
    }
    return c;
}

void star(Canvas& c, float cx, float cy, float r, sf::Color colour) {
    std::vector<sf::Vector2f> points;
    for (int k = 0; k < 10; ++k) {
        const float a = -PI / 2 + k * PI / 5, rr = k % 2 ? r * 0.42f : r;
        points.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
    }
    c.fillPolygon(points, colour);
}

} // namespace

REGISTER_ART(minigame_trophy_and_treasures) {
    {
        Canvas c(128, 128);
        c.fillRoundRect(34, 106, 60, 14, 3, rgb(110, 70, 40));
        c.fillRect(52, 80, 24, 28, DARK_GOLD);
        c.strokeCircle(26, 44, 16, 7, GOLD);
        c.strokeCircle(102, 44, 16, 7, GOLD);
        c.fillPolygon({{24, 18}, {104, 18}, {96, 60}, {80, 82}, {48, 82}, {32, 60}}, GOLD);
        c.fillEllipse(64, 20, 40, 8, shade(GOLD, 1.3f));
        c.fillRect(40, 30, 8, 36, rgb(255, 245, 200, 160));
        star(c, 64, 50, 14, shade(GOLD, 0.7f));
        finish(ctx, "Misc", "Trophy", c);
    }
    {
        Canvas c(128, 128);
        gem(c, 64, 66, 52, rgb(70, 170, 250));
        finish(ctx, "Misc", "Diamond", c);
    }
    {
        // Pale stone the cave game tints brown.
        Canvas c(120, 120);
        caveRock(c, rgb(220, 220, 220), 71, 1.5f);
        c.bevel(0, 0, 120, 120, 6, 0.45f);
        ctx.savePicture("Misc", "SalomonWall", c);
    }
    {
        // The king's gold: an open chest spilling coins and a crown.
        Canvas c(256, 256);
        c.fillEllipse(128, 214, 110, 26, rgb(200, 150, 30));
        for (int k = 0; k < 40; ++k) {
            Rng rng(900 + k);
            c.fillCircle(rng.range(30.f, 226.f), rng.range(190.f, 236.f), 10, k % 2 ? GOLD : shade(GOLD, 0.8f));
        }
        c.fillRoundRect(48, 110, 160, 96, 8, rgb(130, 70, 30));
        c.fillRect(48, 140, 160, 10, DARK_GOLD);
        c.fillPolygon({{48, 112}, {208, 112}, {196, 64}, {60, 64}}, rgb(150, 85, 40));
        c.fillEllipse(128, 112, 80, 18, GOLD);
        for (int k = 0; k < 12; ++k) c.fillCircle(60 + k * 12.f, 104 - (k % 3) * 6.f, 9, shade(GOLD, 1.1f + (k % 2) * 0.15f));
        c.fillPolygon({{96, 92}, {104, 60}, {116, 80}, {128, 52}, {140, 80}, {152, 60}, {160, 92}}, shade(GOLD, 1.2f));
        gem(c, 128, 80, 8, rgb(220, 30, 60));
        c.fillRoundRect(118, 146, 20, 24, 4, DARK_GOLD);
        c.glow(128, 100, 120, rgb(255, 230, 120, 80));
        finish(ctx, "Misc", "goldSalomao", c);
    }
    {
        // The cave game's title picture: a lantern-lit tunnel with a pick and a glint of gold.
        Canvas c(300, 300);
        caveRock(c, rgb(90, 70, 60), 77, 1.0f);
        c.fillEllipse(150, 190, 100, 120, rgb(20, 14, 12));
        c.glow(150, 200, 110, rgb(255, 190, 90, 90));
        c.fillEllipse(150, 290, 110, 30, rgb(60, 45, 35));
        c.line(110, 250, 190, 170, 8, rgb(130, 80, 40));
        c.fillPolygon({{170, 150}, {222, 176}, {200, 186}, {180, 168}}, rgb(180, 190, 200));
        c.fillPolygon({{170, 150}, {150, 120}, {164, 138}}, rgb(180, 190, 200));
        gem(c, 96, 230, 16, rgb(250, 200, 40));
        c.strokeRect(2, 2, 296, 296, 4, rgb(200, 170, 90));
        ctx.savePicture("Misc", "SalomaoGame", c);
    }
    {
        // The old map to the treasure: a parchment with a dotted path to a cross.
        Canvas c(300, 300);
        c.fillRoundRect(20, 30, 260, 240, 12, rgb(232, 214, 168));
        c.noiseShade(0.2f, 30, 78);
        Rng rng(79);
        float x = 50, y = 60;
        for (int k = 0; k < 14; ++k) {
            const float nx = x + rng.range(8.f, 20.f), ny = y + rng.range(4.f, 16.f);
            c.fillCircle((x + nx) / 2, (y + ny) / 2, 3, rgb(120, 60, 30));
            x = nx;
            y = ny;
        }
        c.line(x - 14, y - 14, x + 14, y + 14, 6, rgb(190, 30, 30));
        c.line(x - 14, y + 14, x + 14, y - 14, 6, rgb(190, 30, 30));
        for (int k = 0; k < 5; ++k) c.fillPolygon({{60.f + k * 40, 230}, {80.f + k * 40, 190}, {100.f + k * 40, 230}}, rgb(120, 100, 80));
        c.strokeRect(20, 30, 260, 240, 3, rgb(120, 80, 40));
        ctx.savePicture("Misc", "SalomaoCode", c);
    }
    {
        // The obstacle course's runner: a round fellow in a folded tortilla coat.
        Canvas c(150, 150);
        c.fillRoundRect(52, 112, 16, 30, 6, rgb(60, 40, 30));
        c.fillRoundRect(82, 112, 16, 30, 6, rgb(60, 40, 30));
        c.fillEllipse(75, 84, 46, 38, rgb(240, 200, 90));
        c.fillEllipse(75, 92, 36, 22, rgb(90, 170, 60));
        for (int k = 0; k < 5; ++k) c.fillCircle(50 + k * 12.f, 78 + (k % 2) * 6.f, 5, rgb(220, 50, 40));
        c.fillEllipse(75, 84, 46, 10, rgb(250, 220, 120));
        c.fillCircle(75, 40, 24, rgb(250, 215, 170));
        c.fillCircle(67, 36, 4, rgb(20, 20, 20));
        c.fillCircle(85, 36, 4, rgb(20, 20, 20));
        c.line(66, 50, 84, 50, 3, rgb(120, 40, 30));
        c.fillEllipse(75, 18, 40, 8, rgb(200, 60, 40));
        c.fillEllipse(75, 12, 18, 10, rgb(220, 80, 50));
        finish(ctx, "Misc", "TacoMan", c);
    }
}

REGISTER_ART(minigame_cave_textures) {
    rockTexture(ctx, "Rock1", rgb(70, 58, 52), 91, 0.8f, false);
    rockTexture(ctx, "RockWall", rgb(110, 104, 100), 92, 0.4f, true);
}

REGISTER_ART(minigame_animals) {
    for (int f = 1; f <= 4; ++f) {
        ctx.savePicture("Animations", "SnakeF" + std::to_string(f), snakeFrame(f - 1));
        ctx.savePicture("Animations", "ParrotF" + std::to_string(f), parrotFrame(f - 1));
    }
    ctx.savePicture("Objects", "Dog",
                    beast({rgb(170, 120, 70), rgb(230, 200, 160), rgb(90, 60, 30), 46, 26, 22, 22, 40, false, false, false}));
    ctx.savePicture("Objects", "Cat",
                    beast({rgb(120, 120, 130), rgb(220, 220, 225), rgb(60, 60, 70), 40, 20, 20, 14, 56, true, false, false}));
    ctx.savePicture("Objects", "Raccoon",
                    beast({rgb(130, 130, 120), rgb(210, 205, 195), rgb(40, 40, 40), 44, 26, 22, 10, 46, true, true, true}));
    ctx.savePicture("Objects", "FatFox",
                    beast({rgb(230, 110, 30), rgb(250, 240, 230), rgb(120, 50, 10), 56, 36, 22, 18, 52, true, false, false}));
}

REGISTER_ART(minigame_more_flags) {
    ctx.savePicture("Flags", "Ireland", stripes({rgb(22, 155, 98), rgb(255, 255, 255), rgb(255, 136, 62)}, true));
    ctx.savePicture("Flags", "Nigeria", stripes({rgb(0, 135, 81), rgb(255, 255, 255), rgb(0, 135, 81)}, true));
    ctx.savePicture("Flags", "Poland", stripes({rgb(255, 255, 255), rgb(220, 20, 60)}, false));
    ctx.savePicture("Flags", "Chile", [] {
        Canvas c = stripes({rgb(255, 255, 255), rgb(213, 43, 30)}, false);
        c.fillRect(0, 0, 50, 50, rgb(0, 57, 166));
        star(c, 25, 25, 14, rgb(255, 255, 255));
        return c;
    }());
    ctx.savePicture("Flags", "Greece", [] {
        std::vector<sf::Color> s;
        for (int i = 0; i < 9; ++i) s.push_back(i % 2 ? rgb(255, 255, 255) : rgb(13, 94, 175));
        Canvas c = stripes(s, false);
        c.fillRect(0, 0, 56, 56, rgb(13, 94, 175));
        c.fillRect(22, 0, 12, 56, rgb(255, 255, 255));
        c.fillRect(0, 22, 56, 12, rgb(255, 255, 255));
        return c;
    }());
    ctx.savePicture("Flags", "India", [] {
        Canvas c = stripes({rgb(255, 153, 51), rgb(255, 255, 255), rgb(19, 136, 8)}, false);
        c.strokeCircle(75, 50, 13, 2.5f, rgb(0, 0, 128));
        for (int k = 0; k < 12; ++k)
            c.line(75, 50, 75 + 12 * std::cos(k * PI / 6), 50 + 12 * std::sin(k * PI / 6), 1.2f, rgb(0, 0, 128));
        return c;
    }());
}

namespace {

// What each arcade game shows on its cabinet's screen, so that the row of cabinets can be told
// apart from across the hall.
enum class Screen { Sparks, Number, Gems, Snake, Flag, Course, Ship };

// A game cabinet for the arcade's floor: marquee, glowing screen, joystick and buttons.
Canvas cabinet(sf::Color body, sf::Color marquee, Screen screen) {
    Canvas c(100, 200);
    const sf::Color side = shade(body, 0.7f);
    c.fillPolygon({{8, 10}, {92, 10}, {92, 196}, {8, 196}}, side);
    c.fillPolygon({{14, 14}, {86, 14}, {86, 196}, {14, 196}}, body);
    c.fillRoundRect(12, 8, 76, 26, 4, marquee);
    c.glow(50, 21, 40, rgb(255, 255, 200, 120));
    for (int k = 0; k < 5; ++k) c.fillCircle(24 + k * 13.f, 21, 4, k % 2 ? rgb(220, 40, 60) : rgb(40, 120, 220));
    c.fillRoundRect(20, 44, 60, 50, 4, rgb(15, 15, 25));
    c.fillRoundRect(24, 48, 52, 42, 3, rgb(20, 60, 40));
    switch (screen) {
    case Screen::Sparks: {
        Rng rng(4242);
        for (int k = 0; k < 14; ++k)
            c.fillRect(float(28 + rng.below(40)), float(52 + rng.below(32)), 4, 4,
                       k % 3 == 0 ? rgb(250, 220, 60) : k % 3 == 1 ? rgb(90, 250, 120) : rgb(250, 90, 200));
        break;
    }
    case Screen::Number: // a question mark
        c.strokeCircle(50, 62, 9, 4, rgb(250, 230, 90));
        c.fillRect(40, 52, 12, 8, rgb(20, 60, 40));
        c.line(50, 71, 50, 78, 4, rgb(250, 230, 90));
        c.fillCircle(50, 84, 2.5f, rgb(250, 230, 90));
        break;
    case Screen::Gems: // a digger's pick over gems in rock
        c.fillRect(24, 72, 52, 18, rgb(110, 80, 50));
        c.fillPolygon({{36, 78}, {42, 72}, {48, 78}, {42, 86}}, rgb(90, 230, 250));
        c.fillPolygon({{56, 80}, {62, 74}, {68, 80}, {62, 88}}, rgb(250, 80, 120));
        c.line(34, 52, 62, 66, 3, rgb(190, 190, 200));
        c.line(44, 66, 58, 52, 3, rgb(140, 90, 50));
        break;
    case Screen::Snake: // a green snake after an apple
        for (int k = 0; k < 9; ++k) c.fillCircle(30 + k * 4.f, 70 + 8 * std::sin(k * 0.8f), 3.5f, rgb(90, 230, 90));
        c.fillCircle(68, 60, 4, rgb(230, 40, 40));
        break;
    case Screen::Flag: // a striped flag on its pole
        c.line(32, 52, 32, 88, 2, rgb(220, 220, 220));
        c.fillRect(33, 54, 34, 8, rgb(230, 50, 50));
        c.fillRect(33, 62, 34, 8, rgb(250, 250, 250));
        c.fillRect(33, 70, 34, 8, rgb(40, 90, 210));
        break;
    case Screen::Course: // a runner before hurdles
        c.fillRect(24, 84, 52, 3, rgb(200, 200, 200));
        for (float x : {46.f, 62.f}) c.fillRect(x, 70, 4, 14, rgb(250, 150, 40));
        c.fillCircle(32, 70, 4, rgb(250, 220, 160));
        c.line(32, 74, 32, 82, 3, rgb(250, 220, 160));
        break;
    case Screen::Ship: // a ship firing up at a saucer
        c.fillPolygon({{50, 72}, {42, 86}, {58, 86}}, rgb(200, 210, 250));
        c.line(50, 70, 50, 62, 2, rgb(250, 240, 90));
        c.fillEllipse(50, 56, 12, 4, rgb(160, 250, 160));
        break;
    }
    c.glow(50, 69, 34, rgb(120, 255, 160, 60));
    c.fillPolygon({{10, 104}, {90, 104}, {96, 124}, {4, 124}}, shade(body, 0.55f));
    c.line(32, 114, 30, 100, 4, rgb(30, 30, 30));
    c.fillCircle(30, 99, 6, rgb(220, 30, 40));
    c.fillCircle(58, 114, 5, rgb(250, 210, 40));
    c.fillCircle(72, 114, 5, rgb(60, 200, 90));
    c.fillRect(40, 150, 20, 14, rgb(30, 20, 40));
    c.fillRect(46, 154, 8, 3, marquee);
    return c;
}

} // namespace

REGISTER_ART(minigame_arcade_cabinet) {
    struct Cabinet {
        const char* name;
        sf::Color body, marquee;
        Screen screen;
    };
    // The plain cabinet, then one per game of the arcade, each in its own colours and showing its
    // own game.
    const Cabinet cabinets[] = {
        {"ArcadeCabinet", rgb(70, 40, 120), rgb(250, 200, 60), Screen::Sparks},
        {"CabinetGuessNumber", rgb(150, 40, 40), rgb(250, 230, 90), Screen::Number},
        {"CabinetMines", rgb(110, 75, 40), rgb(120, 230, 250), Screen::Gems},
        {"CabinetSnake", rgb(40, 110, 50), rgb(170, 250, 120), Screen::Snake},
        {"CabinetFlags", rgb(40, 70, 160), rgb(250, 250, 250), Screen::Flag},
        {"CabinetCourse", rgb(200, 110, 30), rgb(250, 240, 200), Screen::Course},
        {"CabinetShooter", rgb(30, 30, 60), rgb(200, 120, 250), Screen::Ship},
    };
    for (const Cabinet& k : cabinets) {
        Canvas c = cabinet(k.body, k.marquee, k.screen);
        finish(ctx, "Objects", k.name, c);
    }
}
