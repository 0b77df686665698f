// Pictures of the characters: mouths and fairy wings (Characters folder),
// monster mouths and wings (Enemies), faces, bodies, hats and the objects throwers throw.
#include "Art.hpp"

#include <cmath>
#include <tuple>

using namespace art;

namespace {

const sf::Color INK = rgb(40, 24, 20);
const sf::Color LIPS = rgb(170, 60, 60);
const sf::Color TEETH = rgb(250, 248, 240);
const sf::Color THROAT = rgb(90, 20, 30);

void save(Context& ctx, const std::string& folder, const std::string& name, Canvas& c, bool outline = true) {
    if (outline) c.outline(rgb(30, 20, 20, 220), 1);
    ctx.savePicture(folder, name, c);
}

// A curve y = cy + depth * (1 - ((x - cx) / half)^2) drawn as short segments.
void smileCurve(Canvas& c, float cx, float cy, float half, float depth, float thick, sf::Color col) {
    float px = cx - half, py = cy;
    for (int i = 1; i <= 20; ++i) {
        float t = -1.f + 2.f * i / 20.f;
        float x = cx + half * t, y = cy + depth * (1 - t * t);
        c.line(px, py, x, y, thick, col);
        px = x;
        py = y;
    }
}

// ------------------------------------------------------------------------------------------
// Faces: head and shoulders for the portraits of text boxes and the party menu

struct FaceLook {
    sf::Color skin;
    sf::Color hair;
    sf::Color eyes;
    sf::Color clothes;
    int hairStyle = 0; // 0 short, 1 long, 2 bald with side hair, 3 bun, 4 spiky
    bool beard = false;
    bool glasses = false;
    bool cat = false;
};

void drawFace(Canvas& c, const FaceLook& f) {
    const float cx = 64;
    // shoulders
    c.fillEllipse(cx, 132, 54, 34, f.clothes);
    c.fillPolygon({{cx - 12, 100}, {cx, 114}, {cx + 12, 100}}, shade(f.skin, 0.9f));
    if (f.cat) {
        c.fillPolygon({{26, 50}, {30, 8}, {56, 34}}, f.skin);
        c.fillPolygon({{102, 50}, {98, 8}, {72, 34}}, f.skin);
        c.fillPolygon({{32, 44}, {34, 18}, {50, 34}}, rgb(240, 160, 170));
        c.fillPolygon({{96, 44}, {94, 18}, {78, 34}}, rgb(240, 160, 170));
    }
    if (f.hairStyle == 1) c.fillRoundRect(cx - 42, 30, 84, 84, 30, f.hair);
    if (f.hairStyle == 3) c.fillCircle(cx, 18, 16, f.hair);
    c.fillRect(cx - 10, 84, 20, 22, shade(f.skin, 0.92f));
    c.fillEllipse(cx - 38, 64, 7, 10, f.skin);
    c.fillEllipse(cx + 38, 64, 7, 10, f.skin);
    c.fillEllipse(cx, 58, 38, 42, f.skin);
    switch (f.hairStyle) {
    case 0:
    case 1:
    case 3:
        c.fillPolygon({{cx - 40, 60}, {cx - 36, 26}, {cx, 12}, {cx + 36, 26}, {cx + 40, 60}, {cx + 24, 34},
                       {cx - 6, 36}, {cx - 26, 40}},
                      f.hair);
        break;
    case 2:
        c.fillEllipse(cx - 36, 50, 8, 18, f.hair);
        c.fillEllipse(cx + 36, 50, 8, 18, f.hair);
        break;
    case 4:
        for (int i = 0; i < 7; ++i) {
            float x = cx - 36 + 12 * i;
            c.fillPolygon({{x - 9, 40}, {x + 2, 4 + (i % 2) * 8.f}, {x + 11, 40}}, f.hair);
        }
        c.fillEllipse(cx, 32, 38, 12, f.hair);
        break;
    default: break;
    }
    if (f.cat) {
        for (float x : {cx - 15.f, cx + 15.f}) {
            c.fillEllipse(x, 58, 10, 8, f.eyes);
            c.fillEllipse(x, 58, 2.5f, 7, INK);
        }
        c.fillPolygon({{cx - 5, 70}, {cx + 5, 70}, {cx, 76}}, rgb(230, 120, 140));
        c.line(cx, 76, cx - 6, 82, 2, INK);
        c.line(cx, 76, cx + 6, 82, 2, INK);
        for (int k = -1; k <= 1; ++k) {
            c.line(cx - 14, 74, cx - 44, 70 + 5 * k, 1, rgb(250, 250, 250));
            c.line(cx + 14, 74, cx + 44, 70 + 5 * k, 1, rgb(250, 250, 250));
        }
        return;
    }
    for (float x : {cx - 15.f, cx + 15.f}) {
        c.fillEllipse(x, 60, 8, 9, rgb(250, 250, 250));
        c.fillCircle(x + 1, 61, 5, f.eyes);
        c.fillCircle(x + 1, 61, 2.5f, INK);
        c.fillCircle(x - 1, 58, 1.5f, rgb(255, 255, 255));
        c.line(x - 9, 47, x + 8, 46, 3, shade(f.hair, 0.8f));
    }
    if (f.glasses) {
        c.strokeCircle(cx - 15, 60, 11, 2, rgb(60, 60, 70));
        c.strokeCircle(cx + 15, 60, 11, 2, rgb(60, 60, 70));
        c.line(cx - 4, 60, cx + 4, 60, 2, rgb(60, 60, 70));
    }
    c.fillEllipse(cx + 1, 72, 4, 3, shade(f.skin, 0.8f));
    c.fillEllipse(cx - 24, 76, 7, 4, rgb(240, 120, 120, 80));
    c.fillEllipse(cx + 24, 76, 7, 4, rgb(240, 120, 120, 80));
    if (f.beard) {
        c.fillPolygon({{cx - 34, 70}, {cx - 20, 104}, {cx, 118}, {cx + 20, 104}, {cx + 34, 70}, {cx + 16, 84},
                       {cx - 16, 84}},
                      f.hair);
        c.fillEllipse(cx, 86, 9, 4, rgb(120, 50, 50));
    } else {
        smileCurve(c, cx, 84, 11, 5, 3, LIPS);
    }
}

// A guard's face under a steel helmet with a nose guard.
void drawGuardFace(Canvas& c, const FaceLook& f) {
    drawFace(c, f);
    const sf::Color steel = rgb(160, 165, 175), dark = rgb(90, 95, 105);
    c.fillPolygon({{20, 52}, {24, 24}, {44, 8}, {84, 8}, {104, 24}, {108, 52}, {96, 44}, {32, 44}}, steel);
    c.fillRect(20, 40, 88, 8, dark);
    c.fillRect(61, 44, 6, 22, steel);
    c.line(64, 8, 64, 40, 3, rgb(200, 205, 215));
}

// The hauling crane's cab: a yellow box with a round lens and a hook cable overhead.
void drawCraneFace(Canvas& c) {
    const sf::Color yellow = rgb(240, 190, 40), dark = rgb(120, 90, 20);
    c.fillRect(60, 0, 8, 26, rgb(70, 70, 80));
    c.fillRoundRect(20, 24, 88, 74, 12, yellow);
    c.fillRect(20, 86, 88, 12, dark);
    for (float x = 26; x < 106; x += 16) c.fillPolygon({{x, 86}, {x + 8, 86}, {x + 2, 98}, {x - 6, 98}}, rgb(40, 40, 50));
    c.fillCircle(64, 56, 20, rgb(40, 40, 60));
    c.fillCircle(64, 56, 13, rgb(90, 200, 240));
    c.fillCircle(59, 51, 4, rgb(230, 250, 255));
    c.fillRect(30, 34, 12, 6, rgb(250, 80, 60));
    c.fillEllipse(64, 124, 52, 18, shade(yellow, 0.7f));
}

// The golem's stone head with glowing eyes.
void drawGolemFace(Canvas& c) {
    const sf::Color stone = rgb(130, 125, 115), dark = rgb(90, 86, 80);
    c.fillEllipse(64, 126, 60, 30, dark);
    c.fillRoundRect(26, 16, 76, 84, 16, stone);
    c.noiseShade(0.25f, 10, 17);
    c.fillRect(30, 44, 68, 6, dark);
    c.glow(48, 60, 12, rgb(120, 255, 200, 220));
    c.glow(80, 60, 12, rgb(120, 255, 200, 220));
    c.fillCircle(48, 60, 5, rgb(220, 255, 240));
    c.fillCircle(80, 60, 5, rgb(220, 255, 240));
    c.fillRect(48, 80, 32, 6, rgb(50, 46, 42));
    c.line(36, 24, 50, 40, 2, rgb(70, 66, 60));
}

// ------------------------------------------------------------------------------------------
// Hats, drawn 128 wide; the figure places their centre at the top of the head

void hat(Context& ctx, const std::string& name, int kind) {
    Canvas c(128, 96);
    switch (kind) {
    case 0: // wizard hat
        c.fillPolygon({{20, 78}, {70, 4}, {108, 78}}, rgb(60, 50, 150));
        c.fillEllipse(64, 80, 60, 12, rgb(50, 40, 130));
        c.fillRect(28, 66, 74, 8, rgb(230, 190, 60));
        for (auto [x, y] : std::vector<std::pair<float, float>>{{60, 40}, {78, 56}, {50, 60}})
            c.fillCircle(x, y, 3, rgb(255, 240, 150));
        break;
    case 1: // crown
        c.fillPolygon({{20, 86}, {20, 34}, {40, 56}, {64, 20}, {88, 56}, {108, 34}, {108, 86}}, rgb(235, 190, 50));
        for (float x : {40.f, 64.f, 88.f}) c.fillCircle(x, 72, 6, rgb(200, 30, 60));
        break;
    case 2: // cap
        c.fillEllipse(64, 62, 46, 30, rgb(200, 50, 50));
        for (int y = 62; y < 96; ++y)
            for (int x = 0; x < 128; ++x) c.set(x, y, CLEAR);
        c.fillEllipse(84, 64, 40, 8, rgb(160, 30, 30));
        c.fillCircle(64, 32, 5, rgb(240, 240, 240));
        break;
    case 3: // helmet
        c.fillEllipse(64, 64, 50, 44, rgb(170, 178, 190));
        for (int y = 70; y < 96; ++y)
            for (int x = 0; x < 128; ++x) c.set(x, y, CLEAR);
        c.fillRect(14, 62, 100, 10, rgb(130, 138, 150));
        c.fillPolygon({{58, 22}, {64, 0}, {70, 22}}, rgb(200, 40, 40));
        break;
    case 4: // chef's hat
        for (auto [x, y, r] : std::vector<std::tuple<float, float, float>>{{40, 40, 22}, {64, 30, 26}, {88, 40, 22}})
            c.fillCircle(x, y, r, rgb(250, 250, 250));
        c.fillRect(30, 44, 68, 36, rgb(245, 245, 245));
        c.line(30, 72, 98, 72, 2, rgb(210, 210, 210));
        break;
    case 5: // ribbon
        c.fillPolygon({{64, 60}, {24, 36}, {26, 84}}, rgb(240, 90, 160));
        c.fillPolygon({{64, 60}, {104, 36}, {102, 84}}, rgb(240, 90, 160));
        c.fillCircle(64, 60, 12, rgb(220, 60, 140));
        break;
    default: // goggles
        c.fillRect(10, 52, 108, 12, rgb(90, 60, 40));
        for (float x : {42.f, 86.f}) {
            c.fillCircle(x, 58, 19, rgb(150, 120, 60));
            c.fillCircle(x, 58, 13, rgb(120, 220, 240, 220));
            c.fillCircle(x - 4, 53, 4, rgb(255, 255, 255, 200));
        }
        break;
    }
    save(ctx, "Hats", name, c);
}

// ------------------------------------------------------------------------------------------
// Thrown objects: several numbered variants of each

void thrown(Context& ctx, const std::string& name, int variant) {
    Canvas c(64, 64);
    if (name == "Flask") {
        sf::Color liquid = variant == 0 ? rgb(90, 220, 40) : variant == 1 ? rgb(240, 110, 20) : rgb(60, 120, 255);
        c.fillCircle(32, 40, 18, rgb(210, 230, 240, 200));
        c.fillCircle(32, 42, 15, liquid);
        c.fillRect(27, 8, 10, 16, rgb(210, 230, 240, 220));
        c.fillRect(26, 4, 12, 6, rgb(150, 100, 60));
        c.fillEllipse(26, 36, 3, 6, rgb(255, 255, 255, 150));
    } else if (name == "Apple") {
        sf::Color skin = variant == 0 ? rgb(210, 30, 40) : rgb(120, 200, 50);
        c.fillCircle(24, 36, 16, skin);
        c.fillCircle(40, 36, 16, skin);
        c.fillCircle(32, 44, 16, skin);
        c.line(32, 22, 34, 10, 3, rgb(100, 60, 30));
        c.fillEllipse(42, 14, 8, 4, rgb(60, 160, 50));
        c.fillEllipse(24, 32, 4, 6, rgb(255, 255, 255, 120));
    } else if (name == "Ladle") {
        c.line(10, 10, 36, 38, 5, rgb(140, 92, 48));
        c.fillCircle(42, 44, 13, variant == 0 ? rgb(160, 110, 60) : rgb(190, 195, 205));
        c.fillCircle(42, 42, 8, shade(variant == 0 ? rgb(160, 110, 60) : rgb(190, 195, 205), 0.7f));
    } else if (name == "Dagger") {
        c.fillPolygon({{14, 50}, {46, 12}, {54, 10}, {52, 18}, {18, 54}},
                      variant == 0 ? rgb(200, 206, 216) : rgb(150, 160, 175));
        c.line(12, 40, 26, 54, 5, rgb(230, 190, 60));
        c.line(8, 58, 16, 50, 6, rgb(110, 60, 34));
    } else { // Ink
        c.fillCircle(32, 32, 16 + 3 * variant, rgb(40, 20, 60));
        for (int i = 0; i < 6; ++i) {
            float a = 2 * PI * i / 6 + variant;
            c.fillCircle(32 + 22 * std::cos(a), 32 + 22 * std::sin(a), 5, rgb(40, 20, 60));
        }
    }
    save(ctx, "StuffToThrow", name + std::to_string(variant + 1), c); // numbered from 1
}

} // namespace

// ------------------------------------------------------------------------------------------

REGISTER_ART(character_mouths) {
    // Mouth1 smile, 2 open laugh, 3 neutral, 4 surprised, 5 smirk, 6 toothy grin
    for (int n = 1; n <= 6; ++n) {
        Canvas c(64, 32);
        switch (n) {
        case 1: smileCurve(c, 32, 10, 22, 10, 4, LIPS); break;
        case 2:
            c.fillPolygon({{8, 8}, {56, 8}, {46, 24}, {32, 28}, {18, 24}}, THROAT);
            c.fillRect(12, 8, 40, 5, TEETH);
            c.fillEllipse(32, 24, 10, 4, rgb(230, 100, 110));
            break;
        case 3: c.line(14, 16, 50, 16, 4, LIPS); break;
        case 4:
            c.fillEllipse(32, 16, 9, 11, THROAT);
            c.strokeCircle(32, 16, 9, 2, LIPS);
            break;
        case 5:
            c.line(14, 18, 38, 18, 4, LIPS);
            smileCurve(c, 46, 18, 9, -6, 4, LIPS);
            break;
        default:
            c.fillRoundRect(8, 6, 48, 20, 8, THROAT);
            c.fillRect(12, 8, 40, 14, TEETH);
            for (int i = 1; i < 5; ++i) c.line(12 + 8.f * i, 8, 12 + 8.f * i, 22, 1, rgb(180, 170, 160));
            break;
        }
        save(ctx, "Characters", "Mouth" + std::to_string(n), c, false);
    }
}

REGISTER_ART(character_wings) {
    {
        // Fairy wings: two translucent pairs with veins, spread left and right of the back.
        Canvas c(160, 120);
        for (int side : {-1, 1}) {
            float s = static_cast<float>(side);
            c.fillEllipse(80 + s * 42, 40, 38, 30, rgb(180, 230, 255, 150));
            c.fillEllipse(80 + s * 34, 86, 26, 22, rgb(220, 190, 255, 150));
            c.line(80, 60, 80 + s * 70, 22, 1.5f, rgb(120, 160, 220, 200));
            c.line(80, 60, 80 + s * 52, 100, 1.5f, rgb(160, 120, 220, 200));
            c.fillCircle(80 + s * 56, 34, 6, rgb(255, 255, 255, 120));
        }
        save(ctx, "Characters", "FairyWings", c, false);
    }
    {
        // Monster wings: a bat-like membrane; the left wing is the mirror of the right one.
        Canvas c(128, 128);
        sf::Color membrane = rgb(110, 40, 60), bone = rgb(60, 20, 30);
        c.fillPolygon({{8, 70}, {40, 20}, {80, 8}, {124, 4}, {110, 40}, {118, 70}, {96, 66}, {88, 96}, {64, 84},
                       {48, 110}, {30, 88}},
                      membrane);
        c.line(8, 70, 124, 4, 4, bone);
        c.line(8, 70, 118, 70, 3, bone);
        c.line(8, 70, 88, 96, 3, bone);
        c.line(8, 70, 48, 110, 3, bone);
        c.noiseShade(0.15f, 16, 7);
        c.outline(rgb(30, 10, 15, 230), 2);
        ctx.savePicture("Enemies", "MonsterRightWing", c);
        Canvas left = c.mirrored();
        ctx.savePicture("Enemies", "MonsterLeftWing", left);
    }
}

REGISTER_ART(character_monster_mouths) {
    for (int n = 1; n <= 4; ++n) {
        Canvas c(96, 48);
        switch (n) {
        case 1: // grin with fangs
            c.fillPolygon({{6, 8}, {90, 8}, {72, 32}, {48, 40}, {24, 32}}, THROAT);
            c.fillPolygon({{18, 8}, {28, 8}, {23, 26}}, TEETH);
            c.fillPolygon({{68, 8}, {78, 8}, {73, 26}}, TEETH);
            for (int i = 0; i < 4; ++i) c.fillPolygon({{32 + 9.f * i, 8}, {40 + 9.f * i, 8}, {36 + 9.f * i, 15}}, TEETH);
            break;
        case 2: // roar
            c.fillEllipse(48, 24, 40, 20, THROAT);
            for (int i = 0; i < 6; ++i) {
                c.fillPolygon({{16 + 11.f * i, 6}, {26 + 11.f * i, 6}, {21 + 11.f * i, 16}}, TEETH);
                c.fillPolygon({{16 + 11.f * i, 42}, {26 + 11.f * i, 42}, {21 + 11.f * i, 32}}, TEETH);
            }
            c.fillEllipse(48, 34, 16, 7, rgb(220, 90, 110));
            break;
        case 3: // zigzag
            c.fillRoundRect(6, 10, 84, 28, 10, THROAT);
            for (int i = 0; i < 8; ++i) {
                c.fillPolygon({{8 + 10.f * i, 10}, {18 + 10.f * i, 10}, {13 + 10.f * i, 24}}, TEETH);
                c.fillPolygon({{13 + 10.f * i, 38}, {23 + 10.f * i, 38}, {18 + 10.f * i, 26}}, TEETH);
            }
            break;
        default: // tongue out
            smileCurve(c, 48, 10, 38, 12, 5, THROAT);
            c.fillEllipse(60, 30, 12, 14, rgb(230, 90, 120));
            c.line(60, 22, 60, 40, 2, rgb(180, 50, 80));
            break;
        }
        save(ctx, "Enemies", "MonsterMouth" + std::to_string(n), c);
    }
}

REGISTER_ART(character_faces) {
    struct Named {
        const char* name;
        FaceLook look;
    };
    const std::vector<Named> faces{
        {"Ravi", {rgb(224, 172, 120), rgb(50, 30, 20), rgb(70, 110, 60), rgb(60, 90, 170), 4}},
        {"Mira", {rgb(246, 214, 190), rgb(150, 60, 30), rgb(60, 120, 200), rgb(90, 60, 160), 1}},
        {"Tomas", {rgb(200, 150, 110), rgb(30, 30, 30), rgb(100, 70, 40), rgb(60, 130, 90), 0, false, true}},
        {"Kesh", {rgb(230, 150, 60), rgb(230, 150, 60), rgb(120, 220, 90), rgb(150, 60, 50), 0, false, false, true}},
        {"Pip", {rgb(250, 225, 210), rgb(250, 220, 120), rgb(200, 80, 200), rgb(120, 200, 140), 3}},
        {"Bruno", {rgb(190, 130, 90), rgb(90, 50, 20), rgb(70, 50, 30), rgb(230, 230, 230), 2, true}},
        {"Sabio", {rgb(230, 200, 170), rgb(235, 235, 240), rgb(80, 110, 160), rgb(80, 70, 150), 2, true, true}},
        {"Anju", {rgb(240, 200, 170), rgb(30, 20, 40), rgb(110, 60, 30), rgb(220, 90, 120), 1}},
        {"MadScientist", {rgb(235, 215, 200), rgb(240, 240, 240), rgb(200, 40, 40), rgb(240, 240, 240), 4, false, true}},
        {"Smith", {rgb(200, 140, 100), rgb(40, 30, 25), rgb(60, 40, 30), rgb(90, 60, 40), 2, true}},
        {"Banker", {rgb(235, 205, 180), rgb(120, 120, 125), rgb(70, 90, 120), rgb(40, 60, 90), 0, false, true}},
        {"Orla", {rgb(225, 180, 140), rgb(220, 200, 80), rgb(90, 120, 60), rgb(180, 90, 40), 3}},
        {"Whiskers", {rgb(90, 90, 100), rgb(90, 90, 100), rgb(250, 200, 40), rgb(70, 70, 80), 0, false, false, true}},
        {"Tobin", {rgb(200, 150, 90), rgb(200, 150, 90), rgb(110, 200, 120), rgb(120, 80, 50), 0, false, false, true}},
        {"Nerin", {rgb(235, 210, 190), rgb(225, 220, 245), rgb(140, 70, 200), rgb(110, 60, 160), 1}},
    };
    for (const Named& n : faces) {
        Canvas c(128, 128);
        drawFace(c, n.look);
        save(ctx, "Faces", n.name, c);
    }
    {
        Canvas c(128, 128);
        drawGuardFace(c, {rgb(215, 165, 125), rgb(70, 50, 30), rgb(70, 70, 60), rgb(120, 120, 140), 0});
        save(ctx, "Faces", "Guard", c);
    }
    {
        Canvas c(128, 128);
        drawCraneFace(c);
        save(ctx, "Faces", "Crane", c);
    }
    {
        Canvas c(128, 128);
        drawGolemFace(c);
        save(ctx, "Faces", "Golem", c);
    }
}

REGISTER_ART(character_bodies) {
    // A stone golem standing full length (the IMAGE figure type draws a Bodies picture).
    Canvas c(128, 192);
    sf::Color stone = rgb(130, 125, 115), dark = rgb(90, 86, 80);
    c.fillRoundRect(30, 130, 26, 56, 8, dark);
    c.fillRoundRect(72, 130, 26, 56, 8, dark);
    c.fillRoundRect(6, 62, 26, 78, 10, dark);
    c.fillRoundRect(96, 62, 26, 78, 10, dark);
    c.fillRoundRect(24, 56, 80, 84, 14, stone);
    c.fillRoundRect(36, 12, 56, 48, 12, stone);
    c.noiseShade(0.25f, 12, 11);
    c.line(40, 80, 60, 100, 2, rgb(60, 56, 50));
    c.line(80, 70, 70, 120, 2, rgb(60, 56, 50));
    c.glow(52, 34, 10, rgb(120, 255, 200, 220));
    c.glow(76, 34, 10, rgb(120, 255, 200, 220));
    c.fillCircle(52, 34, 4, rgb(220, 255, 240));
    c.fillCircle(76, 34, 4, rgb(220, 255, 240));
    c.fillRect(52, 46, 24, 5, rgb(50, 46, 42));
    c.fillCircle(64, 96, 8, rgb(120, 255, 200, 180));
    save(ctx, "Bodies", "Golem", c);
}

REGISTER_ART(character_hats) {
    hat(ctx, "WizardHat", 0);
    hat(ctx, "Crown", 1);
    hat(ctx, "Cap", 2);
    hat(ctx, "Helmet", 3);
    hat(ctx, "ChefHat", 4);
    hat(ctx, "Ribbon", 5);
    hat(ctx, "Goggles", 6);
}

REGISTER_ART(character_thrown_objects) {
    for (int v = 0; v < 3; ++v) thrown(ctx, "Flask", v);
    for (int v = 0; v < 2; ++v) thrown(ctx, "Apple", v);
    for (int v = 0; v < 2; ++v) thrown(ctx, "Ladle", v);
    for (int v = 0; v < 2; ++v) thrown(ctx, "Dagger", v);
    for (int v = 0; v < 2; ++v) thrown(ctx, "Ink", v);
}
