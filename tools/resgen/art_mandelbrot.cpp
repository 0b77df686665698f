// The Hall of Wonders and the Mandelbrot nebula: the watching portraits, the vault's crate and
// lever, the light balls that wall the nebula's maze, the nebula map and the shard compass, and
// the arcade's trophy.
#include "Art.hpp"

#include <cmath>
#include <string>

using namespace art;

namespace {

// A framed painting 120 wide and 160 tall. The game paints the eyes: they sit 41 pixels above
// the point three quarters down the picture, so the face is drawn around (60, 85) without them.
Canvas portrait(sf::Color backdrop, sf::Color skin, sf::Color clothes, sf::Color hair, int style,
                std::uint32_t seed) {
    Canvas c(120, 160);
    c.fillRect(0, 0, 120, 160, rgb(120, 80, 30));
    c.bevel(0, 0, 120, 160, 6, 0.5f);
    c.noiseFill(12, 12, 96, 136, backdrop, 0.25f, 24, seed);
    c.fillEllipse(60, 150, 40, 34, clothes);
    c.fillRect(52, 104, 16, 18, shade(skin, 0.9f));
    if (style == 2) { // a cat: ears and whiskers
        c.fillPolygon({{36, 70}, {42, 46}, {54, 62}}, hair);
        c.fillPolygon({{84, 70}, {78, 46}, {66, 62}}, hair);
        c.fillCircle(60, 84, 28, hair);
        c.fillEllipse(60, 96, 12, 8, shade(hair, 1.4f));
        c.fillPolygon({{56, 90}, {64, 90}, {60, 95}}, rgb(230, 120, 140));
        for (int s : {-1, 1}) {
            c.line(60 + s * 8, 96, 60 + s * 30, 92, 1, rgb(40, 30, 30));
            c.line(60 + s * 8, 99, 60 + s * 30, 101, 1, rgb(40, 30, 30));
        }
    } else {
        if (style == 1) c.fillEllipse(60, 70, 34, 26, hair); // long hair behind
        c.fillEllipse(60, 86, 24, 30, skin);
        if (style == 0) c.fillEllipse(60, 62, 26, 12, hair);
        if (style == 1) c.fillEllipse(60, 60, 25, 10, hair);
        if (style == 3) { // a knight's helmet with an open visor
            c.fillRoundRect(34, 52, 52, 22, 8, rgb(170, 175, 185));
            c.fillRect(58, 40, 4, 14, rgb(200, 40, 40));
            c.bevel(34, 52, 52, 22, 3, 0.4f);
        }
        if (style == 1) c.fillEllipse(60, 110, 16, 12, rgb(230, 230, 235)); // the sage's beard
        c.fillEllipse(60, 93, 3, 4, shade(skin, 0.8f));
        c.line(52, 103, 68, 103, 2, rgb(150, 60, 60));
        c.fillCircle(46, 96, 4, rgb(240, 140, 130, 90));
        c.fillCircle(74, 96, 4, rgb(240, 140, 130, 90));
    }
    c.strokeRect(10, 10, 100, 140, 3, rgb(230, 190, 80));
    return c;
}

} // namespace

REGISTER_ART(wonder_portraits) {
    ctx.savePicture("Objects", "PortraitLady",
                    portrait(rgb(60, 90, 70), rgb(240, 205, 180), rgb(150, 40, 90), rgb(110, 60, 30), 0, 71));
    ctx.savePicture("Objects", "PortraitSage",
                    portrait(rgb(40, 50, 90), rgb(225, 190, 160), rgb(60, 50, 140), rgb(220, 220, 225), 1, 72));
    ctx.savePicture("Objects", "PortraitCat",
                    portrait(rgb(110, 80, 50), rgb(0, 0, 0), rgb(60, 120, 60), rgb(230, 150, 60), 2, 73));
    ctx.savePicture("Objects", "PortraitKnight",
                    portrait(rgb(90, 40, 40), rgb(235, 200, 170), rgb(140, 140, 150), rgb(80, 60, 40), 3, 74));
}

REGISTER_ART(wonder_crate) {
    Canvas c(120, 120);
    c.noiseFill(6, 6, 108, 108, rgb(170, 115, 60), 0.3f, 16, 81);
    for (float y : {6.f, 40.f, 76.f}) c.fillRect(6, y, 108, 6, rgb(120, 75, 35, 120));
    c.strokeRect(6, 6, 108, 108, 8, rgb(110, 70, 30));
    c.line(14, 14, 106, 106, 9, rgb(120, 78, 36));
    c.line(106, 14, 14, 106, 9, rgb(120, 78, 36));
    for (float x : {12.f, 108.f})
        for (float y : {12.f, 108.f}) c.fillCircle(x, y, 4, rgb(80, 80, 90));
    c.bevel(6, 6, 108, 108, 4, 0.5f);
    c.outline(rgb(40, 25, 10));
    ctx.savePicture("Objects", "SokobanBlock", c);
}

// The vault's reset lever: an iron arm with a red knob thrown back in its slotted stone housing,
// a crate-on-a-mark plaque on the housing's face, so that it reads as the crates' lever at a
// glance and not as a sign.
REGISTER_ART(wonder_vault_lever) {
    Canvas c(120, 130);
    const sf::Color stone = rgb(128, 120, 110), iron = rgb(70, 70, 78);
    c.fillRoundRect(18, 72, 84, 54, 6, stone);
    c.noiseShade(0.15f, 8, 83);
    c.bevel(18, 72, 84, 54, 4, 0.4f);
    // The slot the arm swings in, and the arm thrown back toward the wall.
    c.fillRoundRect(36, 74, 48, 10, 4, rgb(30, 26, 24));
    c.line(60, 80, 34, 18, 9, iron);
    c.line(60, 80, 34, 18, 3, rgb(150, 150, 162));
    c.fillCircle(60, 80, 8, iron);
    c.fillCircle(33, 15, 12, rgb(205, 40, 40));
    c.fillCircle(29, 11, 4, rgb(250, 150, 140));
    // The plaque: a crate on its mark, the crates' own sign.
    c.fillRect(44, 92, 32, 26, rgb(215, 175, 60));
    c.fillRect(51, 96, 18, 15, rgb(150, 95, 45));
    c.line(51, 96, 69, 111, 2, rgb(90, 55, 25));
    c.line(69, 96, 51, 111, 2, rgb(90, 55, 25));
    c.fillRect(56, 112, 8, 4, rgb(40, 170, 60));
    c.outline(rgb(35, 28, 22));
    ctx.savePicture("Objects", "VaultLever", c);
}

REGISTER_ART(nebula_light_balls) {
    // Drawn standing on the cell's centre: the ball floats over the lower half of the frame.
    for (int f = 1; f <= 6; ++f) {
        Canvas c(120, 180);
        const float pulse = 0.85f + 0.15f * std::sin(static_cast<float>(f) * 1.047f);
        c.glow(60, 150, 60 * pulse, rgb(120, 200, 255, 160));
        c.fillCircle(60, 150, 24 * pulse, rgb(190, 235, 255));
        c.fillCircle(54, 144, 10 * pulse, rgb(255, 255, 255));
        ctx.savePicture("Animations", "LightBallF" + std::to_string(f), c);
    }
}

REGISTER_ART(nebula_items) {
    {
        // A scroll with a little nebula on it.
        Canvas c(128, 128);
        c.fillRoundRect(14, 24, 100, 80, 8, rgb(236, 222, 170));
        c.fillEllipse(14, 64, 8, 42, rgb(210, 190, 130));
        c.fillEllipse(114, 64, 8, 42, rgb(210, 190, 130));
        c.fillCircle(66, 64, 22, rgb(30, 20, 60));
        c.fillCircle(46, 64, 10, rgb(30, 20, 60));
        c.strokeCircle(66, 64, 24, 3, rgb(200, 80, 200));
        c.strokeCircle(46, 64, 12, 2, rgb(80, 160, 240));
        c.fillCircle(84, 44, 3, rgb(230, 60, 40));
        c.outline(rgb(30, 24, 20, 220), 2);
        ctx.savePicture("Items", "MandelbrotMap", c);
    }
    {
        // A brass compass whose needle points at a shard.
        Canvas c(128, 128);
        c.fillCircle(64, 64, 50, rgb(200, 160, 60));
        c.fillCircle(64, 64, 42, rgb(245, 240, 225));
        for (int k = 0; k < 8; ++k) {
            const float a = k * 0.785f;
            c.line(64 + 34 * std::cos(a), 64 + 34 * std::sin(a), 64 + 40 * std::cos(a),
                   64 + 40 * std::sin(a), 2, rgb(80, 60, 40));
        }
        c.fillPolygon({{64, 26}, {71, 64}, {57, 64}}, rgb(220, 40, 60));
        c.fillPolygon({{64, 102}, {71, 64}, {57, 64}}, rgb(60, 60, 80));
        c.fillCircle(64, 64, 5, rgb(200, 160, 60));
        c.fillPolygon({{96, 10}, {104, 22}, {96, 34}, {88, 22}}, rgb(250, 130, 220));
        c.outline(rgb(30, 24, 20, 220), 2);
        ctx.savePicture("Items", "MandelbrotShardCompass", c);
    }
}
