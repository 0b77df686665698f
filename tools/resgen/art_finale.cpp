// The story's last chapters: the castle of Ceres's throne and writing desk, the Mad Scientist's
// fortress (its walls, lab floor, shield machines and shielded gate, and the party's camp before
// it), the close-up backdrops of the beacon, castle and fortress battles, the shard splinters, the
// Shield Nullifier and the Mad Scientist's ring, and the last battle's music.
#include "Art.hpp"

#include <cmath>
#include <functional>

using namespace art;

namespace {

const sf::Color STEEL = rgb(88, 96, 110);
const sf::Color DARK_STEEL = rgb(46, 50, 60);
const sf::Color RIVET = rgb(150, 158, 172);
const sf::Color SHIELD_GLOW = rgb(120, 220, 255);

// A ground texture at full size and at the zoomed-out size, drawn by the same function so that
// the small one keeps its own detail.
void groundAtBothSizes(Context& ctx, const std::string& name, const std::function<void(Canvas&, float)>& draw) {
    for (int size : {120, 60}) {
        Canvas c(size, size);
        draw(c, size / 120.f);
        ctx.savePicture("Textures", size == 120 ? name : name + "_zoomOut", c);
    }
}

// A glowing splinter of a shard: a thin crystal with a bright edge and sparks around it.
Canvas splinter(sf::Color body, sf::Color light, std::uint32_t seed) {
    Canvas c(128, 128);
    c.glow(64, 66, 54, withAlpha(light, 150));
    c.fillPolygon({{58, 14}, {78, 40}, {72, 112}, {52, 104}, {46, 46}}, body);
    c.fillPolygon({{58, 14}, {62, 50}, {52, 104}, {46, 46}}, shade(body, 0.75f));
    c.line(60, 20, 74, 104, 2, shade(light, 1.3f));
    Rng rng(seed);
    for (int i = 0; i < 7; ++i) {
        const float a = rng.range(0.f, 2 * PI), r = rng.range(34.f, 52.f);
        c.fillCircle(64 + r * std::cos(a), 66 + r * std::sin(a), rng.range(1.5f, 3.5f), withAlpha(light, 220));
    }
    c.outline(rgb(30, 24, 20, 220), 2);
    return c;
}

// A stand of machinery with a glowing shield lens on top, as the fortress's walls carry them.
Canvas shieldMachine() {
    Canvas c(120, 190);
    c.fillRoundRect(18, 70, 84, 116, 10, STEEL);
    c.fillRect(18, 176, 84, 10, DARK_STEEL);
    for (float y = 88; y < 170; y += 22) {
        c.fillRect(28, y, 64, 12, DARK_STEEL);
        for (float x = 34; x < 90; x += 12) c.fillCircle(x, y + 6, 3, x < 60 ? rgb(90, 230, 120) : rgb(240, 90, 60));
    }
    c.line(60, 70, 60, 40, 8, DARK_STEEL);
    c.glow(60, 34, 34, withAlpha(SHIELD_GLOW, 200));
    c.fillCircle(60, 34, 18, rgb(190, 240, 255));
    c.strokeCircle(60, 34, 18, 4, RIVET);
    c.bevel(18, 70, 84, 116, 3, 0.3f);
    c.outline(rgb(20, 22, 28), 2);
    return c;
}

// A heavy steel gate under an arch, with a red warning light.
Canvas fortressGate() {
    Canvas c(120, 150);
    c.fillRoundRect(4, 20, 112, 130, 20, DARK_STEEL);
    c.fillRect(16, 34, 88, 116, STEEL);
    c.line(60, 34, 60, 150, 4, DARK_STEEL);
    for (float y = 50; y < 150; y += 24) {
        c.line(16, y, 104, y, 3, DARK_STEEL);
        for (float x : {24.f, 52.f, 68.f, 96.f}) c.fillCircle(x, y + 10, 3, RIVET);
    }
    c.glow(60, 16, 18, rgb(255, 60, 40, 200));
    c.fillCircle(60, 16, 7, rgb(255, 90, 70));
    c.bevel(16, 34, 88, 116, 3, 0.3f);
    c.outline(rgb(15, 16, 20), 2);
    return c;
}

// The same gate behind the fortress's shield: a pane of cyan light, latticed with hexagons and
// rimmed bright, that a player sees from across the dunes.
Canvas shieldedGate() {
    Canvas c = fortressGate();
    const float cx = 60, cy = 84, rx = 58, ry = 64;
    auto inside = [&](float x, float y) {
        const float dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.f;
    };
    c.fillEllipse(cx, cy, rx, ry, withAlpha(SHIELD_GLOW, 90));
    c.glow(cx, cy, 46, withAlpha(SHIELD_GLOW, 110));
    // The lattice: the edges of a honeycomb, kept to the pane.
    const float r = 11, w = r * std::sqrt(3.f);
    for (int row = -1; row * 1.5f * r < 150 + r; ++row)
        for (float x0 = (row % 2 ? w / 2 : 0) - w; x0 < 120 + w; x0 += w) {
            const float hx = x0, hy = row * 1.5f * r;
            for (int k = 0; k < 6; ++k) {
                const float a0 = PI / 6 + k * PI / 3, a1 = a0 + PI / 3;
                const float x1 = hx + r * std::cos(a0), y1 = hy + r * std::sin(a0);
                const float x2 = hx + r * std::cos(a1), y2 = hy + r * std::sin(a1);
                if (inside(x1, y1) && inside(x2, y2)) c.line(x1, y1, x2, y2, 1.5f, rgb(200, 245, 255, 150));
            }
        }
    // The rim, brightest at the top where the field stands tallest.
    for (int i = 0; i < 72; ++i) {
        const float a0 = 2 * PI * i / 72, a1 = 2 * PI * (i + 1) / 72;
        const int alpha = static_cast<int>(150 + 90 * std::max(0.f, -std::sin(a0)));
        c.line(cx + rx * std::cos(a0), cy + ry * std::sin(a0), cx + rx * std::cos(a1), cy + ry * std::sin(a1), 3,
               rgb(225, 250, 255, alpha));
    }
    Rng rng(851);
    for (int i = 0; i < 10; ++i) {
        const float a = rng.range(0.f, 2 * PI), k = rng.range(0.2f, 0.9f);
        c.fillCircle(cx + k * rx * std::cos(a), cy + k * ry * std::sin(a), rng.range(1.5f, 3.f), rgb(255, 255, 255, 220));
    }
    return c;
}

// A dark band down the middle of a 480 x 270 close-up backdrop, where the fighters stand out.
void floorShadow(Canvas& c, float top) {
    c.gradientRect(0, top, 480, 14, rgb(0, 0, 0, 110), rgb(0, 0, 0, 0));
}

} // namespace

REGISTER_ART(finale_ground) {
    // Riveted steel plates, dark and cold: the walls of the Mad Scientist's fortress.
    groundAtBothSizes(ctx, "FortressWall", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.noiseFill(0, 0, n, n, STEEL, 0.18f, 14 * k, 811);
        for (float y = 0; y < n; y += n / 2) {
            c.fillRect(0, y, n, 4 * k, DARK_STEEL);
            for (float x = 10 * k; x < n; x += 25 * k) c.fillCircle(x, y + 10 * k, 3 * k, RIVET);
        }
        c.fillRect(n / 2 - 2 * k, 0, 4 * k, n, DARK_STEEL);
        c.bevel(0, 0, n, n, static_cast<int>(3 * k) + 1, 0.25f);
    });
    // The lab's floor: pale green tiles with dark joints and a few scuffs.
    groundAtBothSizes(ctx, "LabFloor", [](Canvas& c, float k) {
        const float n = static_cast<float>(c.width());
        c.fill(rgb(60, 72, 70));
        const float t = n / 2;
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                c.fillRect(i * t + 2 * k, j * t + 2 * k, t - 4 * k, t - 4 * k,
                           (i + j) % 2 ? rgb(170, 195, 185) : rgb(185, 208, 198));
        c.noiseShade(0.1f, 10 * k + 1, 812);
        c.speckle(0, 0, n, n, static_cast<int>(25 * k), rgb(120, 140, 135), 813);
    });
}

REGISTER_ART(finale_objects) {
    ctx.savePicture("Objects", "Throne", [] {
        // A tall gold-trimmed throne with a red cushion and the star of Ceres on its back.
        Canvas c(120, 180);
        const sf::Color gold = rgb(225, 180, 60);
        c.fillRoundRect(22, 10, 76, 120, 14, rgb(150, 30, 45));
        c.strokeRect(22, 10, 76, 120, 6, gold);
        c.fillPolygon({{60, 28}, {67, 48}, {88, 48}, {71, 60}, {78, 82}, {60, 68}, {42, 82}, {49, 60}, {32, 48}, {53, 48}}, gold);
        c.fillRoundRect(14, 110, 92, 30, 8, rgb(190, 50, 60));
        c.fillRect(14, 136, 92, 12, gold);
        c.fillRect(18, 148, 12, 30, shade(gold, 0.7f));
        c.fillRect(90, 148, 12, 30, shade(gold, 0.7f));
        c.fillRoundRect(6, 96, 16, 46, 6, gold);
        c.fillRoundRect(98, 96, 16, 46, 6, gold);
        c.outline(rgb(60, 30, 10), 2);
        return c;
    }());
    ctx.savePicture("Objects", "Desk", [] {
        // A writing desk with an inkwell, papers and a brass lamp.
        Canvas c(120, 120);
        const sf::Color wood = rgb(120, 75, 40);
        c.noiseFill(4, 34, 112, 20, shade(wood, 1.2f), 0.15f, 8, 821);
        c.fillRect(10, 54, 100, 40, wood);
        c.fillRect(14, 58, 44, 14, shade(wood, 0.8f));
        c.fillRect(62, 58, 44, 14, shade(wood, 0.8f));
        c.fillCircle(36, 65, 3, rgb(230, 190, 80));
        c.fillCircle(84, 65, 3, rgb(230, 190, 80));
        c.fillRect(10, 94, 10, 24, shade(wood, 0.7f));
        c.fillRect(100, 94, 10, 24, shade(wood, 0.7f));
        c.fillPolygon({{30, 30}, {62, 26}, {66, 40}, {34, 44}}, rgb(245, 240, 225));
        c.line(36, 33, 58, 30, 1, rgb(120, 120, 140));
        c.line(37, 37, 60, 34, 1, rgb(120, 120, 140));
        c.fillCircle(76, 34, 6, rgb(30, 30, 50));
        c.line(76, 30, 86, 14, 2, rgb(240, 240, 240));
        c.line(98, 36, 98, 12, 3, rgb(180, 140, 60));
        c.fillPolygon({{88, 14}, {108, 14}, {102, 4}, {94, 4}}, rgb(200, 160, 70));
        c.glow(98, 18, 16, rgb(255, 230, 150, 160));
        c.outline(rgb(50, 30, 15), 2);
        return c;
    }());
    ctx.savePicture("Objects", "CampTent", [] {
        // A canvas tent with its flap tied open and a small fire in front.
        Canvas c(120, 130);
        c.fillPolygon({{6, 112}, {60, 14}, {114, 112}}, rgb(190, 160, 100));
        c.fillPolygon({{60, 14}, {114, 112}, {84, 112}}, rgb(160, 130, 80));
        c.fillPolygon({{44, 112}, {60, 56}, {76, 112}}, rgb(60, 45, 30));
        c.line(60, 14, 60, 6, 3, rgb(100, 70, 40));
        c.fillPolygon({{60, 6}, {78, 10}, {60, 14}}, rgb(200, 50, 50));
        for (float x : {34.f, 86.f}) c.line(x, 118, x + (x < 60 ? 6.f : -6.f), 126, 3, rgb(90, 60, 30));
        c.fillEllipse(60, 122, 16, 5, rgb(80, 60, 40));
        c.glow(60, 114, 18, rgb(255, 170, 60, 200));
        c.fillPolygon({{52, 122}, {60, 104}, {68, 122}}, rgb(255, 150, 40));
        c.fillPolygon({{56, 122}, {60, 112}, {64, 122}}, rgb(255, 230, 120));
        c.outline(rgb(60, 40, 20), 2);
        return c;
    }());
    ctx.savePicture("Objects", "ShieldMachine", shieldMachine());
    ctx.savePicture("Objects", "ShieldedGate", shieldedGate());
}

REGISTER_ART(finale_backdrops) {
    {
        // The beacon of Solaris under the dome: a violet sky through glass ribs, the beacon's
        // light, and the sandy square.
        Canvas c(480, 270);
        c.gradientRect(0, 0, 480, 140, rgb(30, 20, 70), rgb(120, 70, 140));
        Rng rng(831);
        for (int i = 0; i < 90; ++i) c.fillCircle(rng.range(0.f, 480.f), rng.range(0.f, 120.f), rng.range(0.5f, 1.5f), rgb(255, 255, 255, 200));
        for (int k = -3; k <= 3; ++k) c.line(240 + k * 90.f, 140, 240 + k * 30.f, 0, 3, rgb(170, 170, 210, 120));
        c.strokeCircle(240, 300, 290, 3, rgb(170, 170, 210, 120));
        c.noiseFill(0, 140, 480, 130, rgb(210, 185, 130), 0.2f, 14, 832);
        c.fillRect(380, 70, 26, 80, rgb(110, 105, 170));
        c.glow(393, 66, 60, rgb(200, 190, 255, 200));
        c.fillCircle(393, 66, 14, rgb(235, 230, 255));
        floorShadow(c, 140);
        ctx.savePicture("BattleBackgrounds", "SolarisBeacon", c);
    }
    {
        // The castle's third floor: brick walls, banners, torches and the red carpet.
        Canvas c(480, 270);
        c.noiseFill(0, 0, 480, 150, rgb(120, 70, 60), 0.15f, 10, 841);
        for (float y = 0; y < 150; y += 18)
            for (float x = (static_cast<int>(y / 18) % 2) * 20.f; x < 480; x += 40) c.strokeRect(x, y, 40, 18, 1, rgb(80, 45, 40));
        for (float x : {90.f, 240.f, 390.f}) {
            c.fillRect(x - 22, 20, 44, 90, rgb(150, 30, 45));
            c.fillPolygon({{x - 22, 110}, {x, 124}, {x + 22, 110}}, rgb(150, 30, 45));
            c.fillCircle(x, 60, 12, rgb(230, 185, 60));
        }
        for (float x : {165.f, 315.f}) {
            c.glow(x, 60, 30, rgb(255, 170, 60, 200));
            c.fillPolygon({{x - 6, 70}, {x, 48}, {x + 6, 70}}, rgb(255, 200, 80));
            c.fillRect(x - 3, 70, 6, 26, rgb(90, 60, 30));
        }
        c.noiseFill(0, 150, 480, 120, rgb(140, 95, 55), 0.15f, 12, 842);
        c.fillPolygon({{200, 150}, {280, 150}, {400, 270}, {80, 270}}, rgb(170, 35, 45));
        floorShadow(c, 150);
        ctx.savePicture("BattleBackgrounds", "CastleThrone", c);
    }
    {
        // The shield room: steel walls, glowing shield machines, a lab floor lit from below.
        Canvas c(480, 270);
        c.gradientRect(0, 0, 480, 150, rgb(30, 34, 44), rgb(60, 66, 80));
        for (float x = 0; x < 480; x += 60) {
            c.line(x, 0, x, 150, 3, DARK_STEEL);
            for (float y = 12; y < 150; y += 30) c.fillCircle(x + 8, y, 2, RIVET);
        }
        const Canvas machine = shieldMachine().scaled(60, 95);
        for (int x : {40, 380}) c.paste(machine, x, 55);
        c.glow(240, 70, 90, rgb(120, 220, 255, 120));
        c.strokeCircle(240, 70, 46, 3, rgb(160, 235, 255, 200));
        c.strokeCircle(240, 70, 30, 2, rgb(160, 235, 255, 160));
        for (int y = 150; y < 270; ++y) {
            const float t = (y - 150) / 120.f;
            c.fillRect(0, static_cast<float>(y), 480, 1, mix(rgb(90, 110, 105), rgb(150, 175, 165), t));
        }
        for (float x = -200; x < 700; x += 60) c.line(240 + (x - 240) * 0.35f, 150, x, 270, 1, rgb(70, 90, 85));
        floorShadow(c, 150);
        ctx.savePicture("BattleBackgrounds", "FortressLab", c);
    }
}

REGISTER_ART(finale_items) {
    ctx.savePicture("Items", "MoonShardRemains", splinter(rgb(200, 215, 240), rgb(230, 240, 255), 851));
    ctx.savePicture("Items", "AirShardRemains", splinter(rgb(170, 230, 240), rgb(210, 255, 255), 852));
    ctx.savePicture("Items", "ForestShardRemains", splinter(rgb(90, 190, 90), rgb(170, 255, 150), 853));
    {
        // A brass rod with three splinters set in its head and a spark between them.
        Canvas c(128, 128);
        c.line(30, 112, 74, 50, 10, rgb(190, 150, 60));
        c.line(30, 112, 74, 50, 3, rgb(240, 210, 120));
        c.fillCircle(84, 40, 22, rgb(70, 60, 50));
        c.fillPolygon({{84, 8}, {90, 28}, {78, 28}}, rgb(200, 215, 240));
        c.fillPolygon({{112, 44}, {94, 50}, {94, 36}}, rgb(170, 230, 240));
        c.fillPolygon({{66, 66}, {74, 50}, {82, 58}}, rgb(90, 190, 90));
        c.glow(84, 40, 30, withAlpha(SHIELD_GLOW, 200));
        c.fillCircle(84, 40, 8, rgb(230, 250, 255));
        c.outline(rgb(30, 24, 20, 220), 2);
        ctx.savePicture("Items", "ShieldNullifier", c);
    }
    {
        // A steel ring whose stone throws a small shield of light around itself.
        Canvas c(128, 128);
        c.glow(64, 56, 50, withAlpha(SHIELD_GLOW, 110));
        c.strokeCircle(64, 76, 30, 10, RIVET);
        c.strokeCircle(64, 76, 30, 3, rgb(210, 215, 225));
        c.fillCircle(64, 44, 16, rgb(60, 180, 240));
        c.fillCircle(59, 39, 5, rgb(220, 245, 255));
        c.strokeCircle(64, 44, 26, 2, withAlpha(SHIELD_GLOW, 200));
        c.outline(rgb(30, 24, 20, 220), 2);
        ctx.savePicture("Items", "ShieldGenRing", c);
    }
}

REGISTER_ART(finale_music) {
    // The last battle: fast, low and urgent, a minor line over a pounding bass.
    constexpr int A3 = -12, C4 = -9, D4 = -7, E4 = -5, F4 = -4, G4 = -2, A4 = 0, B4 = 2, C5 = 3, E5 = 7, R = -100;
    ctx.saveMusic("BattleFinal", renderTune({{A4, C5, E5, C5, A4, B4, C5, R, G4, B4, D4 + 12, B4, G4, A4, B4, R,
                                              F4, A4, C5, A4, E4, G4, B4, E5},
                                             {A3, F4 - 12, G4 - 12, E4 - 12, A3, C4 - 12},
                                             176.f, Wave::Saw, Wave::Square, true, 0.3f}));
}
