// The battle's effects: hit pictures, spell pictures and animations (bats, summoned creatures),
// the skill icon of every spell, and the effects' sounds.
#include "Art.hpp"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

using namespace art;

namespace {

// A curved slash of `arcs` strokes across a 128 square.
Canvas slashPicture(sf::Color col, int arcs, float bend, float width) {
    Canvas c(128, 128);
    c.glow(64, 64, 60, withAlpha(col, 50));
    for (int k = 0; k < arcs; ++k) {
        const float off = (k - (arcs - 1) / 2.f) * 20;
        for (int s = 0; s < 48; ++s) {
            const float u = s / 47.f;
            const float x = 12 + u * 104 + off;
            const float y = 116 - u * 104 + off + bend * std::sin(u * PI);
            const float w = width * std::sin(u * PI) + 1;
            c.fillCircle(x, y, w / 2, withAlpha(col, 210));
            c.fillCircle(x, y, w / 5, rgb(255, 255, 255, 235));
        }
    }
    return c;
}

Canvas starBurst(sf::Color col, int rays, float inner, float outer) {
    Canvas c(128, 128);
    c.glow(64, 64, 62, withAlpha(col, 90));
    std::vector<sf::Vector2f> pts;
    for (int i = 0; i < rays * 2; ++i) {
        const float a = PI * i / rays;
        const float r = i % 2 == 0 ? outer : inner;
        pts.push_back({64 + r * std::cos(a), 64 + r * std::sin(a)});
    }
    c.fillPolygon(pts, col);
    c.fillCircle(64, 64, inner * 0.8f, rgb(255, 255, 255, 230));
    return c;
}

// A bat with its wings at phase t (0..1 a flap).
Canvas batFrame(float t) {
    Canvas c(128, 96);
    const float lift = 26 * std::cos(t * 2 * PI);
    const sf::Color wing = rgb(55, 35, 70), body = rgb(40, 25, 50);
    for (int side : {-1, 1}) {
        std::vector<sf::Vector2f> w = {{64.f, 48.f},
                                       {64.f + side * 22.f, 40.f - lift * 0.5f},
                                       {64.f + side * 58.f, 34.f - lift},
                                       {64.f + side * 50.f, 56.f - lift * 0.4f},
                                       {64.f + side * 40.f, 50.f},
                                       {64.f + side * 30.f, 60.f},
                                       {64.f + side * 18.f, 54.f}};
        c.fillPolygon(w, wing);
        c.line(64, 48, 64 + side * 58.f, 34 - lift, 2, rgb(90, 60, 110));
    }
    c.fillEllipse(64, 52, 11, 15, body);
    c.fillCircle(64, 38, 9, body);
    c.fillPolygon({{57, 33}, {59, 22}, {62, 31}}, body);
    c.fillPolygon({{71, 33}, {69, 22}, {66, 31}}, body);
    c.fillCircle(60, 37, 2, rgb(255, 60, 60));
    c.fillCircle(68, 37, 2, rgb(255, 60, 60));
    c.outline(rgb(15, 10, 20));
    return c;
}

// A yellow snake coiled low, its neck reaching up to the picture's right edge (the summon is
// drawn mirrored, so it rears toward the target); mouth open when striking.
// `rise` lifts the head and `reach` draws it back toward the coils; the open mouth reaches 36
// pixels right of the head's centre and its top 20 above it, so a head with rise 20 or less and
// reach 4 or more stays whole inside the picture.
Canvas snakeFrame(float rise, bool open, float reach = 0) {
    Canvas c(200, 200);
    const sf::Color skin = rgb(230, 200, 40), belly = rgb(250, 240, 150), spot = rgb(160, 120, 20);
    c.fillEllipse(90, 176, 76, 20, skin);
    c.fillEllipse(80, 158, 52, 16, skin);
    const float hx = 164 - reach, hy = 40 - rise;
    for (int s = 0; s < 36; ++s) {
        const float u = s / 35.f;
        const float x = 70 + (hx - 70) * u + 14 * std::sin(u * 5);
        const float y = 150 - (150 - hy - 14) * u;
        c.fillCircle(x, y, 17 - 6 * u, skin);
        if (s % 5 == 0) c.fillCircle(x - 3, y, 4, spot);
    }
    c.fillEllipse(hx, hy, 26, 17, skin);
    c.fillEllipse(hx, hy + 7, 17, 7, belly);
    c.fillCircle(hx + 9, hy - 6, 4, rgb(20, 20, 20));
    c.fillCircle(hx + 10, hy - 7, 1.5f, rgb(255, 255, 255));
    if (open) {
        c.fillPolygon({{hx + 24, hy + 2}, {hx + 36, hy - 12}, {hx + 36, hy + 16}}, rgb(200, 40, 60));
        c.line(hx + 30, hy + 4, hx + 36, hy + 4, 2, rgb(220, 30, 30));
    } else {
        c.line(hx + 24, hy + 4, hx + 34, hy + 2, 2, rgb(220, 30, 30));
    }
    c.outline(rgb(70, 50, 10));
    return c;
}

// A long-legged bird (the summoned roadrunner) in a running pose.
Canvas birdFrame(float stride, bool pecking) {
    Canvas c(200, 200);
    const sf::Color plume = rgb(120, 90, 60), light = rgb(220, 200, 170);
    for (int side : {-1, 1}) {
        const float a = stride * side;
        c.line(100, 120, 100 + 30 * std::sin(a), 180, 4, rgb(230, 140, 40));
        c.line(100 + 30 * std::sin(a), 180, 112 + 30 * std::sin(a), 184, 3, rgb(230, 140, 40));
    }
    c.fillEllipse(96, 104, 44, 24, plume);
    c.fillPolygon({{56, 96}, {10, 70}, {24, 100}}, plume);
    c.fillEllipse(100, 110, 26, 10, light);
    const float hx = pecking ? 160 : 140, hy = pecking ? 100 : 54;
    c.line(120, 96, hx, hy, 10, plume);
    c.fillCircle(hx, hy, 14, plume);
    c.fillPolygon({{hx + 10, hy - 4}, {hx + 40, hy + 2}, {hx + 10, hy + 6}}, rgb(60, 60, 60));
    c.fillCircle(hx + 2, hy - 4, 3, rgb(255, 255, 255));
    c.fillCircle(hx + 3, hy - 4, 1.5f, rgb(0, 0, 0));
    c.fillPolygon({{hx - 6, hy - 12}, {hx - 22, hy - 30}, {hx - 2, hy - 16}}, rgb(40, 80, 160));
    c.outline(rgb(40, 30, 20));
    return c;
}

// A lady in a long gown raising her arms by `raise`, a glow around her hands.
Canvas ladyFrame(float raise) {
    Canvas c(200, 200);
    const sf::Color gown = rgb(240, 120, 190), skin = rgb(250, 220, 200);
    c.glow(100, 90, 90, rgb(255, 220, 240, 70));
    c.fillPolygon({{100, 70}, {150, 196}, {50, 196}}, gown);
    c.fillRoundRect(86, 64, 28, 40, 8, gown);
    for (int side : {-1, 1}) {
        const float hx = 100 + side * (40 + 10 * raise), hy = 90 - 50 * raise;
        c.line(100 + side * 10.f, 74, hx, hy, 6, skin);
        c.glow(hx, hy, 16, rgb(255, 255, 200, 180));
    }
    c.fillCircle(100, 48, 16, skin);
    c.fillEllipse(100, 38, 20, 12, rgb(120, 60, 30));
    c.fillPolygon({{88, 28}, {100, 12}, {112, 28}}, rgb(255, 210, 60));
    c.fillCircle(94, 48, 2, rgb(40, 40, 40));
    c.fillCircle(106, 48, 2, rgb(40, 40, 40));
    c.outline(rgb(90, 40, 70));
    return c;
}

Canvas door(bool open, bool sliding) {
    Canvas c(160, 240);
    c.fillRect(0, 0, 160, 240, rgb(90, 60, 40));
    c.fillRect(12, 12, 136, 228, rgb(25, 20, 30));
    if (sliding) {
        c.fillRect(12, 12, 70, 228, rgb(150, 110, 70));
        c.strokeRect(18, 20, 58, 100, 3, rgb(110, 80, 50));
        c.strokeRect(18, 130, 58, 100, 3, rgb(110, 80, 50));
        c.fillRect(70, 120, 6, 20, rgb(220, 200, 80));
    } else if (open) {
        c.fillPolygon({{12, 12}, {50, 28}, {50, 226}, {12, 240}}, rgb(150, 110, 70));
        c.glow(100, 130, 60, rgb(255, 240, 180, 120));
    } else {
        c.fillRect(12, 12, 136, 228, rgb(150, 110, 70));
        c.strokeRect(24, 24, 112, 90, 3, rgb(110, 80, 50));
        c.strokeRect(24, 128, 112, 96, 3, rgb(110, 80, 50));
        c.fillCircle(126, 130, 7, rgb(220, 200, 80));
    }
    c.bevel(0, 0, 160, 240, 4, 0.3f);
    return c;
}

Canvas cat(bool running) {
    Canvas c(160, 120);
    const sf::Color fur = rgb(240, 150, 60), dark = rgb(180, 100, 30);
    if (running) {
        c.fillEllipse(80, 70, 50, 20, fur);
        c.line(34, 66, 6, 40, 8, fur);
        for (float x : {50.f, 62.f, 98.f, 110.f}) c.line(x, 80, x + (x < 80 ? -18 : 18), 108, 6, dark);
        c.fillCircle(128, 56, 20, fur);
    } else {
        c.fillEllipse(80, 84, 34, 30, fur);
        c.line(112, 100, 140, 70, 7, fur);
        c.fillCircle(80, 44, 24, fur);
    }
    const float hx = running ? 128 : 80, hy = running ? 56 : 44;
    c.fillPolygon({{hx - 18, hy - 8}, {hx - 14, hy - 30}, {hx - 2, hy - 16}}, fur);
    c.fillPolygon({{hx + 18, hy - 8}, {hx + 14, hy - 30}, {hx + 2, hy - 16}}, fur);
    c.fillCircle(hx - 8, hy - 2, 4, rgb(60, 160, 60));
    c.fillCircle(hx + 8, hy - 2, 4, rgb(60, 160, 60));
    c.fillCircle(hx, hy + 6, 3, rgb(230, 120, 140));
    for (int k = 0; k < 3; ++k) c.line(hx - 30, hy + 4 + 4 * k, hx - 8, hy + 6, 1, dark);
    c.outline(rgb(90, 50, 20));
    return c;
}

Canvas skull(sf::Color bone) {
    Canvas c(128, 128);
    c.fillCircle(64, 56, 40, bone);
    c.fillRoundRect(40, 78, 48, 30, 8, bone);
    c.fillEllipse(48, 58, 11, 13, rgb(30, 20, 30));
    c.fillEllipse(80, 58, 11, 13, rgb(30, 20, 30));
    c.fillPolygon({{64, 70}, {58, 84}, {70, 84}}, rgb(30, 20, 30));
    for (int k = 0; k < 5; ++k) c.line(46 + k * 9.f, 92, 46 + k * 9.f, 106, 2, rgb(80, 70, 70));
    c.outline(rgb(40, 30, 30));
    return c;
}

Canvas bomber() {
    Canvas c(256, 128);
    const sf::Color hull = rgb(110, 125, 100), dark = rgb(70, 85, 65);
    c.fillEllipse(128, 64, 110, 20, hull);
    c.fillPolygon({{110, 60}, {150, 60}, {120, 6}, {100, 6}}, dark);
    c.fillPolygon({{110, 68}, {150, 68}, {120, 122}, {100, 122}}, dark);
    c.fillPolygon({{220, 60}, {250, 40}, {250, 88}, {220, 68}}, dark);
    c.fillEllipse(34, 62, 16, 8, rgb(150, 200, 240));
    for (float y : {30.f, 98.f}) c.fillEllipse(112, y, 14, 8, rgb(50, 55, 50));
    c.outline(rgb(30, 35, 30));
    return c;
}

Canvas bomb(bool poop) {
    Canvas c(64, 96);
    if (poop) {
        for (int k = 0; k < 3; ++k) c.fillEllipse(32, 80 - k * 18.f, 26 - k * 7.f, 12, rgb(120 - k * 10, 75, 35));
        c.fillCircle(24, 48, 4, rgb(255, 255, 255));
        c.fillCircle(40, 48, 4, rgb(255, 255, 255));
    } else {
        c.fillEllipse(32, 56, 20, 34, rgb(60, 60, 70));
        c.fillPolygon({{18, 20}, {32, 4}, {46, 20}}, rgb(90, 90, 100));
        c.fillEllipse(26, 44, 5, 12, rgb(150, 150, 160));
    }
    c.outline(rgb(20, 20, 20));
    return c;
}

Canvas iceCube() {
    Canvas c(200, 250);
    c.fillRoundRect(10, 10, 180, 230, 18, rgb(190, 230, 255, 170));
    c.fillPolygon({{20, 20}, {90, 20}, {30, 120}}, rgb(255, 255, 255, 120));
    c.line(140, 40, 170, 90, 4, rgb(255, 255, 255, 180));
    c.strokeRect(10, 10, 180, 230, 4, rgb(120, 190, 240, 230));
    return c;
}

Canvas numbered(int kind, int variant) {
    Canvas c(128, 128);
    switch (kind) {
    case 0: { // a music note
        const sf::Color ink = variant == 1 ? rgb(40, 40, 60) : rgb(200, 40, 120);
        c.fillEllipse(44, 96, 20, 14, ink);
        c.line(62, 96, 62, 20, 6, ink);
        if (variant == 2) c.fillEllipse(92, 86, 20, 14, ink), c.line(110, 86, 110, 14, 6, ink);
        c.line(62, 20, variant == 2 ? 110 : 96, variant == 2 ? 14 : 40, 8, ink);
        break;
    }
    case 1: { // an ember
        const sf::Color core = variant == 1 ? rgb(255, 200, 60) : rgb(255, 120, 30);
        c.glow(64, 64, 60, withAlpha(core, 150));
        c.fillPolygon({{64, 10}, {92, 70}, {64, 118}, {36, 70}}, core);
        c.fillPolygon({{64, 50}, {78, 80}, {64, 108}, {50, 80}}, rgb(255, 250, 200));
        break;
    }
    case 2: { // a feather
        const sf::Color vane = variant == 1 ? rgb(170, 120, 220) : rgb(120, 90, 200);
        c.fillEllipse(64, 60, 22, 52, vane);
        c.line(64, 8, 64, 124, 3, rgb(240, 240, 250));
        for (int k = 0; k < 8; ++k) c.line(64, 20 + k * 11.f, 44 + (k % 2) * 40.f, 26 + k * 11.f, 1, shade(vane, 0.7f));
        break;
    }
    case 3: { // a virus
        const sf::Color body = variant == 1 ? rgb(90, 220, 90) : rgb(200, 230, 60);
        for (int k = 0; k < 10; ++k) {
            const float a = 2 * PI * k / 10;
            c.line(64, 64, 64 + 52 * std::cos(a), 64 + 52 * std::sin(a), 5, shade(body, 0.7f));
            c.fillCircle(64 + 54 * std::cos(a), 64 + 54 * std::sin(a), 7, body);
        }
        c.fillCircle(64, 64, 34, body);
        c.speckle(40, 40, 48, 48, 12, shade(body, 0.6f), 11u + static_cast<unsigned>(variant));
        break;
    }
    case 4: { // a chain link
        const sf::Color steel = variant == 1 ? rgb(170, 170, 180) : rgb(120, 120, 130);
        c.strokeCircle(44, 64, 28, 10, steel);
        c.strokeCircle(84, 64, 28, 10, shade(steel, 1.2f));
        break;
    }
    case 5: { // an arrow upwards
        const sf::Color gold = variant == 1 ? rgb(255, 200, 60) : rgb(255, 150, 40);
        c.fillPolygon({{64, 6}, {110, 56}, {80, 56}, {80, 122}, {48, 122}, {48, 56}, {18, 56}}, gold);
        c.glow(64, 40, 40, rgb(255, 255, 200, 120));
        break;
    }
    case 6: { // a boulder
        const sf::Color stone = variant == 1 ? rgb(140, 120, 100) : rgb(110, 105, 100);
        c.fillPolygon({{20, 80}, {30, 36}, {64, 14}, {102, 30}, {116, 74}, {90, 114}, {40, 112}}, stone);
        c.noiseShade(0.35f, 12, 31u + static_cast<unsigned>(variant));
        c.line(50, 40, 70, 70, 3, shade(stone, 0.6f));
        break;
    }
    case 7: { // a gear
        const sf::Color metal = variant == 1 ? rgb(150, 160, 170) : rgb(200, 170, 80);
        for (int k = 0; k < 10; ++k) {
            const float a = 2 * PI * k / 10;
            c.fillCircle(64 + 46 * std::cos(a), 64 + 46 * std::sin(a), 11, metal);
        }
        c.fillCircle(64, 64, 44, metal);
        c.fillCircle(64, 64, 16, CLEAR);
        c.strokeCircle(64, 64, 16, 4, shade(metal, 0.6f));
        break;
    }
    case 8: { // a drop of blood
        c.fillCircle(64, 80, 34, rgb(170, 10, 30));
        c.fillPolygon({{34, 70}, {64, 8}, {94, 70}}, rgb(170, 10, 30));
        c.fillEllipse(52, 76, 8, 14, rgb(240, 120, 130));
        break;
    }
    default: break;
    }
    c.outline(rgb(20, 20, 30, 220));
    return c;
}

// The small round badge of a spell, its sign drawn by its effect kind.
Canvas skillIcon(int sign, sf::Color col) {
    Canvas c(64, 64);
    c.fillCircle(32, 32, 30, shade(col, 0.45f));
    c.fillCircle(32, 32, 26, shade(col, 0.8f));
    c.glow(32, 26, 22, withAlpha(shade(col, 1.5f), 150));
    const sf::Color ink = rgb(255, 255, 255, 235);
    switch (sign) {
    case 0: // swirl
        for (int s = 0; s < 40; ++s) {
            const float a = s * 0.35f, r = 4 + s * 0.45f;
            c.fillCircle(32 + r * std::cos(a), 32 + r * std::sin(a), 2, ink);
        }
        break;
    case 1: // cross
        c.fillRect(27, 14, 10, 36, ink);
        c.fillRect(14, 27, 36, 10, ink);
        break;
    case 2: // flame
        c.fillPolygon({{32, 10}, {46, 36}, {40, 52}, {24, 52}, {18, 36}}, rgb(255, 200, 60));
        c.fillPolygon({{32, 28}, {38, 42}, {32, 50}, {26, 42}}, rgb(255, 250, 200));
        break;
    case 3: // bolt
        c.fillPolygon({{36, 8}, {20, 36}, {30, 36}, {26, 56}, {44, 26}, {34, 26}}, rgb(255, 240, 120));
        break;
    case 4: // snowflake
        for (int k = 0; k < 3; ++k) {
            const float a = PI * k / 3;
            c.line(32 - 20 * std::cos(a), 32 - 20 * std::sin(a), 32 + 20 * std::cos(a), 32 + 20 * std::sin(a), 3, ink);
        }
        break;
    case 5: // bubbles
        c.strokeCircle(26, 36, 10, 3, ink);
        c.strokeCircle(40, 24, 7, 3, ink);
        c.strokeCircle(42, 42, 5, 2, ink);
        break;
    case 6: // shield
        c.fillPolygon({{32, 10}, {50, 18}, {46, 40}, {32, 54}, {18, 40}, {14, 18}}, ink);
        break;
    case 7: // skull-ish face
        c.fillCircle(32, 28, 14, ink);
        c.fillRect(24, 36, 16, 12, ink);
        c.fillCircle(27, 28, 4, shade(col, 0.4f));
        c.fillCircle(37, 28, 4, shade(col, 0.4f));
        break;
    case 8: // bat wings
        c.fillPolygon({{32, 30}, {8, 20}, {14, 40}, {32, 36}, {50, 40}, {56, 20}}, rgb(40, 20, 50));
        break;
    case 9: // rocket / arrow
        c.fillPolygon({{50, 14}, {40, 40}, {24, 40}}, ink);
        c.line(34, 36, 16, 52, 6, ink);
        break;
    case 10: // eye (invisibility, darkness)
        c.fillEllipse(32, 32, 22, 12, ink);
        c.fillCircle(32, 32, 7, shade(col, 0.3f));
        break;
    case 11: // gear (hack)
        for (int k = 0; k < 8; ++k) c.fillCircle(32 + 18 * std::cos(k * PI / 4), 32 + 18 * std::sin(k * PI / 4), 5, ink);
        c.fillCircle(32, 32, 15, ink);
        c.fillCircle(32, 32, 6, shade(col, 0.5f));
        break;
    case 12: // plane
        c.fillEllipse(32, 32, 22, 5, ink);
        c.fillPolygon({{30, 32}, {40, 12}, {44, 12}, {38, 32}}, ink);
        c.fillPolygon({{30, 32}, {40, 52}, {44, 52}, {38, 32}}, ink);
        break;
    case 13: // stars
        for (int k = 0; k < 3; ++k) c.fillCircle(20 + k * 12.f, 24 + (k % 2) * 16.f, 5, ink);
        break;
    case 14: // cat face
        c.fillCircle(32, 36, 14, ink);
        c.fillPolygon({{20, 30}, {22, 14}, {30, 24}}, ink);
        c.fillPolygon({{44, 30}, {42, 14}, {34, 24}}, ink);
        break;
    case 15: // globe rings
        for (int r = 20; r > 0; r -= 5) c.strokeCircle(32, 32, static_cast<float>(r), 2, ink);
        break;
    case 16: // rock
        c.fillPolygon({{14, 44}, {20, 22}, {36, 14}, {50, 26}, {50, 46}, {30, 52}}, rgb(180, 160, 140));
        break;
    default: // spark
        c.fillPolygon({{32, 10}, {38, 26}, {54, 32}, {38, 38}, {32, 54}, {26, 38}, {10, 32}, {26, 26}}, ink);
        break;
    }
    c.strokeCircle(32, 32, 30, 2, rgb(250, 240, 200));
    return c;
}

} // namespace

REGISTER_ART(battle_slashes) {
    ctx.savePicture("Slashes", "General", slashPicture(rgb(255, 255, 255), 1, 0, 14));
    ctx.savePicture("Slashes", "Monster", slashPicture(rgb(255, 255, 255), 3, 10, 10));
    ctx.savePicture("Slashes", "CatScratch", slashPicture(rgb(255, 220, 220), 4, 6, 6));
    ctx.savePicture("Slashes", "Dragon", slashPicture(rgb(255, 150, 40), 3, -12, 16));
    ctx.savePicture("Slashes", "steel", slashPicture(rgb(225, 235, 255), 1, 14, 12));
    ctx.savePicture("Slashes", "wood", starBurst(rgb(200, 150, 90), 7, 14, 52));
    ctx.savePicture("Slashes", "WandSparkle", starBurst(rgb(190, 140, 255), 5, 12, 58));
    ctx.savePicture("Slashes", "Potion", starBurst(rgb(255, 255, 255), 9, 22, 60));
    Canvas duck(128, 128);
    duck.fillEllipse(60, 80, 40, 26, rgb(250, 220, 60));
    duck.fillCircle(88, 50, 20, rgb(250, 220, 60));
    duck.fillPolygon({{104, 48}, {124, 54}, {104, 60}}, rgb(240, 130, 30));
    duck.fillCircle(92, 46, 4, rgb(20, 20, 20));
    duck.fillEllipse(50, 74, 18, 10, rgb(230, 190, 40));
    duck.outline(rgb(120, 90, 20));
    ctx.savePicture("Slashes", "Duck", duck);
}

REGISTER_ART(battle_creatures) {
    for (int f = 1; f <= 6; ++f) ctx.savePicture("Animations", "BatF" + std::to_string(f), batFrame((f - 1) / 6.f));
    for (int f = 1; f <= 4; ++f)
        ctx.savePicture("Animations", "YellowSnakeF" + std::to_string(f), snakeFrame(6 * std::sin(f * PI / 2), false));
    // The strike: the head draws back and up while the mouth opens, then lunges at the target.
    for (int f = 1; f <= 8; ++f) {
        const float back = f <= 3 ? 10.f * f : std::max(4.f, 30.f - 7.f * (f - 3));
        ctx.savePicture("Animations", "YellowSnakeAttackF" + std::to_string(f),
                        snakeFrame(6.f + 4.f * std::min(f, 3) - (f > 5 ? 4.f : 0.f), f >= 4, back));
    }
    for (int f = 1; f <= 4; ++f)
        ctx.savePicture("Animations", "ColetoteF" + std::to_string(f), birdFrame(0.5f * std::sin(f * PI / 2), false));
    for (int f = 1; f <= 4; ++f)
        ctx.savePicture("Animations", "ColetoteSlashF" + std::to_string(f), birdFrame(0.2f, f % 2 == 0));
    for (int f = 1; f <= 6; ++f)
        ctx.savePicture("Animations", "ChapterLadyF" + std::to_string(f), ladyFrame(0.5f + 0.5f * std::sin(f * PI / 3)));
}

REGISTER_ART(battle_magic) {
    Canvas demon(200, 200);
    demon.glow(100, 100, 98, rgb(200, 20, 40, 120));
    demon.fillEllipse(100, 110, 70, 76, rgb(140, 20, 40));
    demon.fillPolygon({{44, 70}, {20, 6}, {70, 50}}, rgb(90, 10, 20));
    demon.fillPolygon({{156, 70}, {180, 6}, {130, 50}}, rgb(90, 10, 20));
    demon.fillPolygon({{56, 90}, {90, 100}, {60, 112}}, rgb(255, 230, 60));
    demon.fillPolygon({{144, 90}, {110, 100}, {140, 112}}, rgb(255, 230, 60));
    demon.fillPolygon({{60, 140}, {140, 140}, {120, 170}, {80, 170}}, rgb(40, 0, 10));
    for (int k = 0; k < 5; ++k) demon.fillPolygon({{66 + k * 16.f, 140}, {74 + k * 16.f, 140}, {70 + k * 16.f, 154}}, rgb(250, 250, 240));
    demon.outline(rgb(30, 0, 10));
    ctx.savePicture("Magic", "DemonScare", demon);
    ctx.savePicture("Magic", "Skull", skull(rgb(235, 230, 215)));
    ctx.savePicture("Magic", "CatEscaping", cat(true));
    ctx.savePicture("Magic", "CatWaiting", cat(false));
    ctx.savePicture("Magic", "OpenDoor", door(true, false));
    ctx.savePicture("Magic", "ClosedDoor", door(false, false));
    ctx.savePicture("Magic", "SliddingDoor", door(false, true));
    Canvas meow(256, 128);
    meow.fillRoundRect(8, 8, 240, 100, 40, rgb(255, 255, 255));
    meow.fillPolygon({{60, 100}, {40, 126}, {90, 104}}, rgb(255, 255, 255));
    for (int k = 0; k < 5; ++k) meow.fillCircle(50 + k * 38.f, 56, 14 - k, rgb(40, 40, 40));
    meow.outline(rgb(20, 20, 20), 2);
    ctx.savePicture("Magic", "Meaow", meow);
    ctx.savePicture("Magic", "IceCube", iceCube());
    Canvas yeoj(200, 200);
    yeoj.fillPolygon({{100, 10}, {180, 90}, {140, 190}, {60, 190}, {20, 90}}, rgb(150, 110, 70));
    yeoj.noiseShade(0.3f, 20, 77);
    yeoj.fillCircle(76, 92, 14, rgb(255, 230, 80));
    yeoj.fillCircle(124, 92, 14, rgb(255, 230, 80));
    yeoj.fillCircle(76, 92, 6, rgb(30, 20, 10));
    yeoj.fillCircle(124, 92, 6, rgb(30, 20, 10));
    yeoj.line(70, 146, 130, 146, 6, rgb(60, 40, 20));
    yeoj.outline(rgb(50, 35, 20), 2);
    ctx.savePicture("Magic", "Yeoj", yeoj);
    Canvas zen(256, 256);
    for (int r = 120; r > 0; r -= 12) zen.strokeCircle(128, 128, static_cast<float>(r), 5, mix(rgb(255, 80, 200), rgb(80, 200, 255), r / 120.f));
    for (int k = 0; k < 6; ++k) {
        const float a = PI * k / 3;
        zen.line(128, 128, 128 + 120 * std::cos(a), 128 + 120 * std::sin(a), 4, rgb(255, 255, 255, 200));
    }
    ctx.savePicture("Magic", "Zenguened", zen);
    Canvas chaos(400, 240);
    chaos.noiseFill(0, 0, 400, 240, rgb(60, 20, 80), 0.6f, 40, 5);
    Rng r(9);
    for (int k = 0; k < 30; ++k)
        chaos.line(r.range(0.f, 400.f), r.range(0.f, 240.f), r.range(0.f, 400.f), r.range(0.f, 240.f), 2, rgb(255, 120 + r.below(120), 255, 160));
    ctx.savePicture("Magic", "Chaos", chaos);
    ctx.savePicture("Magic", "Bomber", bomber());
    ctx.savePicture("Magic", "Bomb", bomb(false));
    ctx.savePicture("Magic", "Poop", bomb(true));
    const std::pair<const char*, int> bases[] = {{"Note", 0}, {"Ember", 1}, {"Feather", 2}, {"Virus", 3},
                                                 {"Chain", 4}, {"Arrow", 5}, {"Boulder", 6}, {"Gear", 7}};
    for (const auto& [base, kind] : bases) {
        ctx.savePicture("Magic", base, numbered(kind, 1));
        for (int v = 1; v <= 2; ++v) ctx.savePicture("Magic", base + std::to_string(v), numbered(kind, v));
    }
    ctx.savePicture("Magic", "Skull1", skull(rgb(235, 230, 215)));
    ctx.savePicture("Magic", "BloodDrop", numbered(8, 1));
    ctx.savePicture("Magic", "BloodDrop1", numbered(8, 1));

    Canvas bones(128, 96);
    for (int k = 0; k < 2; ++k) {
        const float a = k == 0 ? 0.5f : -0.5f;
        const float dx = 44 * std::cos(a), dy = 44 * std::sin(a);
        bones.line(64 - dx, 60 - dy, 64 + dx, 60 + dy, 10, rgb(235, 230, 210));
        for (int s : {-1, 1}) {
            bones.fillCircle(64 + s * dx - 5 * std::sin(a), 60 + s * dy + 5 * std::cos(a), 7, rgb(235, 230, 210));
            bones.fillCircle(64 + s * dx + 5 * std::sin(a), 60 + s * dy - 5 * std::cos(a), 7, rgb(235, 230, 210));
        }
    }
    bones.paste(skull(rgb(235, 230, 210)).scaled(56, 56), 36, 0);
    bones.outline(rgb(70, 60, 50));
    ctx.savePicture("Misc", "Bones", bones);

    Canvas baham(300, 240);
    const sf::Color scale = rgb(70, 70, 110), wing = rgb(50, 40, 90);
    baham.fillPolygon({{150, 120}, {20, 20}, {60, 120}, {10, 160}, {130, 150}}, wing);
    baham.fillPolygon({{150, 120}, {280, 20}, {240, 120}, {290, 160}, {170, 150}}, wing);
    baham.fillEllipse(150, 150, 50, 70, scale);
    baham.fillEllipse(150, 70, 34, 28, scale);
    baham.fillPolygon({{130, 50}, {118, 14}, {142, 44}}, rgb(220, 210, 180));
    baham.fillPolygon({{170, 50}, {182, 14}, {158, 44}}, rgb(220, 210, 180));
    baham.fillCircle(138, 68, 5, rgb(255, 200, 40));
    baham.fillCircle(162, 68, 5, rgb(255, 200, 40));
    baham.fillEllipse(150, 160, 28, 46, rgb(150, 140, 170));
    baham.outline(rgb(20, 15, 40), 2);
    ctx.savePicture("Misc", "Baham", baham);
}

// One icon per spell of the demo's spell file: the sign of its effect kind in its colour.
REGISTER_ART(battle_skill_icons) {
    struct Icon {
        const char* name;
        int sign;
        sf::Color colour;
    };
    const Icon icons[] = {
        {"Fire", 2, rgb(230, 90, 20)},        {"Heal", 1, rgb(90, 200, 110)},        {"Lightning", 3, rgb(110, 110, 220)},
        {"Frost", 4, rgb(90, 160, 230)},      {"Whirlwind", 0, rgb(90, 170, 90)},    {"Bubbles", 5, rgb(60, 120, 220)},
        {"Rocket", 9, rgb(200, 120, 40)},     {"KnifeRain", 16, rgb(150, 150, 170)}, {"Barrier", 6, rgb(220, 190, 70)},
        {"Haste", 13, rgb(220, 220, 120)},    {"Vanish", 10, rgb(120, 60, 160)},     {"Yeoj", 16, rgb(150, 110, 70)},
        {"Zenguened", 15, rgb(220, 80, 200)}, {"Drain", 11, rgb(40, 160, 70)},       {"Bite", 8, rgb(150, 30, 40)},
        {"GreatGig", 0, rgb(220, 60, 140)},   {"Cure", 1, rgb(80, 210, 120)},        {"HealCircle", 1, rgb(230, 200, 80)},
        {"ManaGift", 5, rgb(70, 100, 230)},   {"Fizzle", 17, rgb(120, 120, 120)},    {"Patrician", 13, rgb(200, 160, 40)},
        {"Pelonado", 0, rgb(160, 160, 180)},  {"LaserBeam", 9, rgb(230, 40, 60)},    {"DemonScare", 7, rgb(150, 20, 40)},
        {"Haunt", 7, rgb(110, 110, 120)},     {"BatSwarm", 8, rgb(110, 40, 80)},     {"InfernalV", 2, rgb(240, 70, 20)},
        {"CatEscape", 14, rgb(240, 150, 60)}, {"Missle", 9, rgb(200, 130, 50)},      {"BloodSpit", 5, rgb(160, 10, 30)},
        {"Poison", 5, rgb(60, 170, 40)},      {"Fireball", 2, rgb(250, 120, 0)},     {"CatDrama", 14, rgb(200, 120, 160)},
        {"Poloian", 10, rgb(150, 90, 200)},   {"Virus", 11, rgb(90, 200, 90)},       {"Weaken", 7, rgb(120, 120, 130)},
        {"Strengthen", 9, rgb(230, 170, 50)}, {"Shield", 6, rgb(150, 150, 190)},     {"Ice", 4, rgb(150, 210, 250)},
        {"FrozenOrb", 4, rgb(90, 130, 230)},  {"DemonDaze", 15, rgb(180, 60, 180)},  {"Dracaris", 2, rgb(220, 80, 30)},
        {"Culebra", 17, rgb(220, 200, 40)},   {"Coletote", 17, rgb(160, 120, 80)},   {"ChapterLady", 1, rgb(240, 120, 190)},
        {"Baham", 2, rgb(80, 70, 140)},       {"Boltiolt", 3, rgb(150, 170, 250)},   {"RockFall", 16, rgb(140, 120, 100)},
        {"Darkness", 10, rgb(40, 40, 60)},    {"HackControl", 11, rgb(40, 170, 80)}, {"HackDrain", 11, rgb(40, 130, 160)},
        {"HackSlow", 11, rgb(120, 160, 60)},  {"HackImplosion", 11, rgb(200, 80, 40)}, {"Airstrike", 12, rgb(110, 125, 100)},
        {"PoopStrike", 12, rgb(140, 100, 50)}, {"FunkyBomb", 13, rgb(230, 80, 200)}, {"StoneBolt", 16, rgb(130, 120, 110)},
        {"Globe199", 15, rgb(160, 160, 170)}, {"RaiseSkeleton", 7, rgb(200, 200, 190)}, {"RaiseMageSkeleton", 7, rgb(150, 150, 230)},
        {"RaiseHealerSkeleton", 7, rgb(150, 220, 150)}, {"BuildTeslaCoil", 3, rgb(90, 130, 220)},
        {"BuildMissleLauncher", 9, rgb(160, 160, 160)}, {"BuildSawTrap", 11, rgb(150, 140, 140)},
        {"BuildSentryTurret", 9, rgb(220, 60, 60)},
    };
    for (const Icon& i : icons) ctx.savePicture("SkillIcons", i.name, skillIcon(i.sign, i.colour));
}

REGISTER_ART(battle_sounds) {
    auto save = [&](const char* name, auto&& make) {
        Samples s;
        make(s);
        s.normalise(0.7f);
        ctx.saveSound(name, s);
    };
    save("Heal", [](Samples& s) { for (int k = 0; k < 5; ++k) s.tone(0.08f * k, 0.3f, noteFreq(3 + 4 * k), 0.3f, Wave::Sine); });
    save("ImprovementMagic", [](Samples& s) { s.sweep(0, 0.6f, 300, 900, 0.4f, Wave::Triangle); });
    save("ReductionMagic", [](Samples& s) { s.sweep(0, 0.6f, 900, 250, 0.4f, Wave::Triangle); });
    save("virus", [](Samples& s) { for (int k = 0; k < 8; ++k) s.tone(0.05f * k, 0.05f, 200.f + 150.f * (k % 3), 0.3f, Wave::Square); });
    save("Patrician", [](Samples& s) { s.tone(0, 0.4f, noteFreq(0), 0.3f, Wave::Saw); s.tone(0.1f, 0.5f, noteFreq(7), 0.3f, Wave::Saw); });
    save("EvilLaugh", [](Samples& s) { for (int k = 0; k < 5; ++k) s.sweep(0.16f * k, 0.12f, 260, 180, 0.5f, Wave::Saw); });
    save("BatAttack", [](Samples& s) { for (int k = 0; k < 12; ++k) s.sweep(0.05f * k, 0.04f, 3000, 1800, 0.2f); });
    save("FireWinds", [](Samples& s) { s.noise(0, 1.2f, 0.6f, 1.5f, 3); });
    save("explosion", [](Samples& s) { s.noise(0, 0.9f, 0.9f, 5.f, 4); s.sweep(0, 0.5f, 120, 40, 0.6f); });
    save("Poison", [](Samples& s) { for (int k = 0; k < 6; ++k) s.sweep(0.1f * k, 0.08f, 300, 700, 0.3f); });
    save("FlameMagic", [](Samples& s) { s.noise(0, 0.8f, 0.7f, 2.5f, 5); s.sweep(0, 0.6f, 200, 80, 0.3f, Wave::Saw); });
    save("catDrama", [](Samples& s) { s.sweep(0, 0.5f, 500, 900, 0.4f, Wave::Triangle); s.sweep(0.5f, 0.5f, 900, 400, 0.4f, Wave::Triangle); });
    save("Poloian", [](Samples& s) { s.sweep(0, 0.8f, 1200, 200, 0.3f, Wave::Sine); });
    save("ShieldUp", [](Samples& s) { s.tone(0, 0.5f, noteFreq(12), 0.3f, Wave::Triangle); s.tone(0, 0.5f, noteFreq(19), 0.2f, Wave::Sine); });
    save("IceMagic", [](Samples& s) { for (int k = 0; k < 6; ++k) s.tone(0.06f * k, 0.2f, noteFreq(24 - k), 0.25f, Wave::Sine); });
    save("FrozenOrb", [](Samples& s) { s.sweep(0, 0.4f, 1600, 800, 0.3f, Wave::Sine); });
    save("CallMagic", [](Samples& s) { s.tone(0, 0.3f, noteFreq(-5), 0.4f, Wave::Square); s.tone(0.3f, 0.6f, noteFreq(2), 0.4f, Wave::Square); });
    save("BoltAmbience", [](Samples& s) { s.noise(0, 1.5f, 0.3f, 0.8f, 6); });
    save("BoltExplosion2", [](Samples& s) { s.noise(0, 0.5f, 0.9f, 8.f, 7); s.sweep(0, 0.2f, 2000, 300, 0.5f, Wave::Square); });
    save("MetalImpact", [](Samples& s) { s.tone(0, 0.4f, 1400, 0.4f, Wave::Triangle, 0.001f, 0.3f); s.noise(0, 0.1f, 0.5f, 30.f, 8); });
    save("Darkness", [](Samples& s) { s.sweep(0, 1.2f, 110, 55, 0.6f, Wave::Saw); });
    save("Zemguened2", [](Samples& s) { s.sweep(0, 0.6f, 400, 1200, 0.4f, Wave::Square); });
    save("Zenguened2", [](Samples& s) { s.sweep(0, 0.6f, 600, 1500, 0.4f, Wave::Triangle); });
    save("Zenguened3", [](Samples& s) { for (int k = 0; k < 4; ++k) s.tone(0.15f * k, 0.3f, noteFreq(k * 5), 0.4f, Wave::Square); });
    save("Globe199", [](Samples& s) { s.sweep(0, 1.4f, 80, 200, 0.5f, Wave::Sine); s.noise(1.0f, 0.6f, 0.5f, 4.f, 9); });
    save("duck", [](Samples& s) { s.sweep(0, 0.15f, 700, 400, 0.5f, Wave::Saw); s.sweep(0.2f, 0.15f, 700, 400, 0.5f, Wave::Saw); });
    save("bombFall", [](Samples& s) { s.sweep(0, 0.7f, 1800, 400, 0.3f, Wave::Sine); });
    save("PotionBreak", [](Samples& s) { s.noise(0, 0.3f, 0.6f, 12.f, 10); for (int k = 0; k < 4; ++k) s.tone(0.02f * k, 0.15f, 2500.f + 300.f * k, 0.2f); });
    save("ObjectHit", [](Samples& s) { s.tone(0, 0.15f, 180, 0.6f, Wave::Square, 0.001f, 0.1f); s.noise(0, 0.1f, 0.4f, 25.f, 11); });
    save("FoodSlash", [](Samples& s) { s.noise(0, 0.25f, 0.6f, 14.f, 12); s.sweep(0, 0.2f, 300, 120, 0.4f); });
    save("WandSlash", [](Samples& s) { s.sweep(0, 0.3f, 800, 2400, 0.3f, Wave::Sine); });
    save("MetalSlash", [](Samples& s) { s.noise(0, 0.2f, 0.5f, 18.f, 13); s.tone(0, 0.3f, 2200, 0.3f, Wave::Triangle, 0.001f, 0.25f); });
    save("PieceOfPiano", [](Samples& s) { const int n[] = {0, 4, 7, 12, 7, 4}; for (int k = 0; k < 6; ++k) s.tone(0.15f * k, 0.4f, noteFreq(n[k]), 0.3f, Wave::Triangle); });
    save("WindMagic", [](Samples& s) { s.noise(0, 1.0f, 0.4f, 1.f, 14); s.sweep(0, 1.0f, 300, 600, 0.1f); });
}
