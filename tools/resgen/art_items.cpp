// Item icons (Items folder) and the spell pictures the demo spells name (Magic folder).
#include "Art.hpp"

#include <cmath>

using namespace art;

namespace {

constexpr int S = 128;
const sf::Color STEEL = rgb(196, 204, 214);
const sf::Color DARK_STEEL = rgb(110, 118, 130);
const sf::Color GOLD = rgb(232, 190, 60);
const sf::Color WOOD = rgb(140, 92, 48);
const sf::Color LEATHER = rgb(110, 60, 34);

// A blade from (x0, y0) to the tip (x1, y1), with a hilt and guard at the base.
void blade(Canvas& c, float x0, float y0, float x1, float y1, float width, sf::Color metal) {
    float dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
    float nx = -dy / len, ny = dx / len, ux = dx / len, uy = dy / len;
    float w = width / 2;
    c.fillPolygon({{x0 + nx * w, y0 + ny * w}, {x1 - ux * width + nx * w, y1 - uy * width + ny * w},
                   {x1, y1}, {x1 - ux * width - nx * w, y1 - uy * width - ny * w}, {x0 - nx * w, y0 - ny * w}},
                  metal);
    c.line(x0, y0, x1 - ux * width * 0.5f, y1 - uy * width * 0.5f, std::max(1.f, width / 6), shade(metal, 1.4f));
    // guard, grip, pommel
    c.line(x0 + nx * width * 1.3f, y0 + ny * width * 1.3f, x0 - nx * width * 1.3f, y0 - ny * width * 1.3f,
           width * 0.45f, GOLD);
    c.line(x0, y0, x0 - ux * width * 1.8f, y0 - uy * width * 1.8f, width * 0.5f, LEATHER);
    c.fillCircle(x0 - ux * width * 2.1f, y0 - uy * width * 2.1f, width * 0.4f, GOLD);
}

void bottle(Canvas& c, sf::Color liquid, float fill) {
    c.fillRoundRect(54, 18, 20, 26, 4, rgb(200, 220, 230, 200));
    c.fillRect(52, 14, 24, 8, rgb(150, 100, 60));
    c.fillCircle(64, 78, 34, rgb(210, 230, 240, 150));
    float top = 78 + 34 - 68 * fill;
    for (int y = static_cast<int>(top); y < 112; ++y)
        for (int x = 30; x < 98; ++x)
            if ((x - 64) * (x - 64) + (y - 78) * (y - 78) < 31 * 31) c.blend(x, y, liquid);
    c.fillEllipse(52, 66, 7, 12, rgb(255, 255, 255, 120));
    c.strokeCircle(64, 78, 34, 2, rgb(80, 90, 100, 200));
}

void scroll(Canvas& c, sf::Color seal) {
    c.fillRoundRect(26, 30, 76, 70, 6, rgb(236, 222, 180));
    c.fillRoundRect(20, 24, 88, 14, 7, rgb(214, 196, 150));
    c.fillRoundRect(20, 92, 88, 14, 7, rgb(214, 196, 150));
    for (int i = 0; i < 4; ++i) c.line(36, 48 + i * 10.f, 92 - (i % 2) * 14.f, 48 + i * 10.f, 2, rgb(120, 100, 80));
    c.fillCircle(84, 88, 11, seal);
    c.strokeCircle(84, 88, 11, 2, shade(seal, 0.6f));
}

void finish(Context& ctx, const std::string& folder, const std::string& name, Canvas& c) {
    c.outline(rgb(30, 24, 20, 220), 2);
    ctx.savePicture(folder, name, c);
}

} // namespace

REGISTER_ART(item_weapons) {
    {
        Canvas c(S, S);
        blade(c, 40, 88, 108, 20, 12, STEEL);
        finish(ctx, "Items", "Sword", c);
    }
    {
        Canvas c(S, S);
        blade(c, 34, 94, 112, 16, 18, DARK_STEEL);
        finish(ctx, "Items", "Greatsword", c);
    }
    {
        Canvas c(S, S);
        blade(c, 50, 78, 94, 34, 10, STEEL);
        finish(ctx, "Items", "Dagger", c);
    }
    {
        Canvas c(S, S);
        for (int i = 0; i < 40; ++i) {
            float a0 = -PI / 2.6f + PI / 1.3f * i / 40, a1 = -PI / 2.6f + PI / 1.3f * (i + 1) / 40;
            c.line(40 + 50 * std::cos(a0), 64 + 50 * std::sin(a0), 40 + 50 * std::cos(a1), 64 + 50 * std::sin(a1), 7, WOOD);
        }
        c.line(40 + 50 * std::cos(-PI / 2.6f), 64 + 50 * std::sin(-PI / 2.6f), 40 + 50 * std::cos(PI / 2.6f),
               64 + 50 * std::sin(PI / 2.6f), 2, rgb(230, 230, 220));
        c.line(30, 64, 104, 64, 3, WOOD);
        c.fillPolygon({{104, 56}, {118, 64}, {104, 72}}, STEEL);
        finish(ctx, "Items", "Bow", c);
    }
    {
        Canvas c(S, S);
        c.line(36, 116, 82, 26, 9, WOOD);
        c.glow(86, 20, 22, rgb(120, 200, 255, 200));
        c.fillCircle(86, 20, 11, rgb(90, 170, 255));
        c.fillCircle(82, 16, 4, rgb(230, 250, 255));
        finish(ctx, "Items", "Staff", c);
    }
    {
        Canvas c(S, S);
        c.line(34, 100, 90, 36, 6, rgb(60, 40, 30));
        c.line(84, 43, 90, 36, 7, GOLD);
        c.glow(94, 32, 18, rgb(255, 240, 140, 220));
        for (int i = 0; i < 5; ++i) {
            float a = PI * 2 * i / 5 - PI / 2;
            c.line(94, 32, 94 + 14 * std::cos(a), 32 + 14 * std::sin(a), 2, rgb(255, 250, 200));
        }
        finish(ctx, "Items", "Wand", c);
    }
    {
        Canvas c(S, S);
        c.fillRoundRect(22, 42, 78, 24, 6, rgb(80, 90, 110));
        c.fillRect(100, 48, 18, 12, rgb(60, 66, 80));
        c.fillRoundRect(34, 62, 18, 40, 5, rgb(60, 66, 80));
        c.fillRect(30, 48, 60, 5, rgb(90, 220, 255));
        c.glow(118, 54, 10, rgb(90, 220, 255, 220));
        finish(ctx, "Items", "Blaster", c);
    }
    {
        Canvas c(S, S);
        c.line(30, 24, 74, 80, 7, WOOD);
        c.fillEllipse(84, 94, 22, 18, rgb(160, 110, 60));
        c.fillEllipse(84, 90, 15, 10, rgb(110, 70, 40));
        finish(ctx, "Items", "Ladle", c);
    }
}

REGISTER_ART(item_accessories) {
    {
        Canvas c(S, S);
        c.strokeCircle(64, 72, 30, 10, GOLD);
        c.fillCircle(64, 40, 14, rgb(220, 40, 50));
        c.fillCircle(60, 36, 4, rgb(255, 180, 180));
        finish(ctx, "Items", "PowerRing", c);
    }
    {
        Canvas c(S, S);
        for (int i = 0; i < 24; ++i) {
            float a0 = PI * (0.1f + 0.8f * i / 24), a1 = PI * (0.1f + 0.8f * (i + 1) / 24);
            c.line(64 + 40 * std::cos(a0 + PI), 60 + 40 * std::sin(a0 + PI), 64 + 40 * std::cos(a1 + PI),
                   60 + 40 * std::sin(a1 + PI), 3, GOLD);
        }
        c.line(26, 48, 64, 66, 3, GOLD);
        c.line(102, 48, 64, 66, 3, GOLD);
        c.fillPolygon({{64, 64}, {86, 88}, {64, 116}, {42, 88}}, rgb(70, 110, 230));
        c.fillPolygon({{64, 72}, {76, 88}, {64, 100}, {52, 88}}, rgb(150, 190, 255));
        finish(ctx, "Items", "WisdomAmulet", c);
    }
    {
        Canvas c(S, S);
        c.fillRoundRect(30, 24, 30, 64, 8, rgb(60, 140, 90));
        c.fillRoundRect(30, 76, 66, 28, 12, rgb(60, 140, 90));
        c.fillRect(26, 100, 74, 8, rgb(40, 40, 40));
        c.fillPolygon({{24, 40}, {8, 30}, {14, 50}}, rgb(250, 250, 250));
        c.fillPolygon({{24, 56}, {6, 52}, {16, 66}}, rgb(250, 250, 250));
        finish(ctx, "Items", "SwiftBoots", c);
    }
    {
        Canvas c(S, S);
        c.fillPolygon({{24, 20}, {104, 20}, {104, 64}, {64, 116}, {24, 64}}, DARK_STEEL);
        c.fillPolygon({{32, 28}, {96, 28}, {96, 62}, {64, 104}, {32, 62}}, rgb(150, 40, 40));
        c.line(64, 28, 64, 104, 6, GOLD);
        c.line(32, 56, 96, 56, 6, GOLD);
        finish(ctx, "Items", "IronShield", c);
    }
    {
        Canvas c(S, S);
        for (int i = 0; i < 4; ++i) {
            float a = PI / 2 * i + PI / 4;
            c.fillCircle(64 + 18 * std::cos(a), 60 + 18 * std::sin(a), 18, rgb(60, 170, 70));
        }
        c.line(64, 70, 76, 112, 5, rgb(50, 120, 50));
        c.fillCircle(64, 60, 6, rgb(120, 220, 110));
        finish(ctx, "Items", "LuckyCharm", c);
    }
    {
        Canvas c(S, S);
        std::vector<sf::Vector2f> star;
        for (int i = 0; i < 10; ++i) {
            float r = i % 2 == 0 ? 52.f : 22.f, a = PI * i / 5 - PI / 2;
            star.push_back({64 + r * std::cos(a), 66 + r * std::sin(a)});
        }
        c.fillPolygon(star, GOLD);
        c.fillCircle(64, 66, 14, rgb(240, 80, 200));
        c.glow(58, 60, 10, rgb(255, 255, 255, 200));
        finish(ctx, "Items", "StarBrooch", c);
    }
}

REGISTER_ART(item_usables) {
    {
        Canvas c(S, S);
        c.fillCircle(52, 72, 32, rgb(210, 30, 40));
        c.fillCircle(76, 72, 32, rgb(210, 30, 40));
        c.fillEllipse(50, 60, 8, 12, rgb(255, 140, 140));
        c.line(64, 44, 70, 22, 5, rgb(100, 60, 30));
        c.fillEllipse(84, 28, 14, 7, rgb(70, 160, 60));
        finish(ctx, "Items", "Apple", c);
    }
    {
        Canvas c(S, S);
        c.fillRoundRect(14, 50, 100, 50, 24, rgb(200, 140, 70));
        c.fillEllipse(64, 54, 48, 26, rgb(222, 166, 92));
        for (int i = 0; i < 3; ++i) c.line(36 + i * 24.f, 40, 48 + i * 24.f, 62, 4, rgb(170, 110, 50));
        finish(ctx, "Items", "Bread", c);
    }
    {
        Canvas c(S, S);
        c.fillPolygon({{20, 96}, {108, 96}, {108, 60}, {20, 60}}, rgb(240, 200, 150));
        c.fillRect(20, 74, 88, 8, rgb(200, 60, 90));
        c.fillEllipse(64, 60, 44, 14, rgb(255, 240, 245));
        c.fillCircle(64, 44, 8, rgb(220, 20, 40));
        c.line(64, 36, 68, 26, 2, rgb(60, 120, 40));
        finish(ctx, "Items", "Cake", c);
    }
    {
        Canvas c(S, S);
        c.fillRoundRect(28, 50, 62, 56, 10, rgb(240, 240, 240));
        c.strokeCircle(96, 76, 14, 6, rgb(240, 240, 240));
        c.fillEllipse(59, 54, 28, 8, rgb(120, 160, 60));
        for (int i = 0; i < 3; ++i) c.line(46 + i * 14.f, 40, 50 + i * 14.f, 18, 3, rgb(255, 255, 255, 150));
        finish(ctx, "Items", "HerbTea", c);
    }
    {
        Canvas c(S, S);
        bottle(c, rgb(255, 210, 60, 230), 0.8f);
        c.glow(64, 80, 24, rgb(255, 255, 200, 150));
        finish(ctx, "Items", "Elixir", c);
    }
    {
        Canvas c(S, S);
        c.fillEllipse(64, 74, 22, 32, rgb(150, 100, 50));
        c.fillEllipse(58, 64, 6, 12, rgb(200, 150, 90));
        c.line(64, 42, 64, 20, 4, rgb(80, 170, 60));
        c.fillEllipse(52, 22, 12, 6, rgb(80, 190, 70));
        c.fillEllipse(76, 18, 12, 6, rgb(80, 190, 70));
        finish(ctx, "Items", "StrengthSeed", c);
    }
    {
        Canvas c(S, S);
        scroll(c, rgb(240, 110, 20));
        finish(ctx, "Items", "PotionScriptFirewater", c);
    }
    {
        Canvas c(S, S);
        scroll(c, rgb(170, 90, 220));
        finish(ctx, "Items", "PotionScriptSlumber", c);
    }
    {
        Canvas c(S, S);
        scroll(c, rgb(150, 110, 70));
        finish(ctx, "Items", "YeojScript", c);
    }
    {
        Canvas c(S, S);
        scroll(c, rgb(255, 120, 220));
        finish(ctx, "Items", "ZenguenedScript", c);
    }
}

REGISTER_ART(item_specials) {
    {
        Canvas c(S, S);
        c.strokeCircle(40, 64, 20, 9, GOLD);
        c.line(58, 64, 112, 64, 9, GOLD);
        c.line(96, 64, 96, 84, 8, GOLD);
        c.line(110, 64, 110, 80, 8, GOLD);
        finish(ctx, "Items", "OldKey", c);
    }
    {
        Canvas c(S, S);
        c.fillPolygon({{16, 28}, {48, 20}, {80, 28}, {112, 20}, {112, 100}, {80, 108}, {48, 100}, {16, 108}},
                      rgb(236, 222, 170));
        c.line(48, 20, 48, 100, 2, rgb(180, 160, 110));
        c.line(80, 28, 80, 108, 2, rgb(180, 160, 110));
        c.fillEllipse(40, 60, 14, 18, rgb(120, 180, 100));
        c.line(60, 40, 96, 86, 3, rgb(90, 120, 220));
        c.line(86, 52, 100, 66, 4, rgb(200, 40, 40));
        c.line(100, 52, 86, 66, 4, rgb(200, 40, 40));
        finish(ctx, "Items", "TownMap", c);
    }
    {
        Canvas c(S, S);
        c.glow(64, 64, 56, rgb(150, 200, 255, 160));
        c.fillPolygon({{64, 10}, {92, 52}, {80, 112}, {48, 112}, {36, 52}}, rgb(170, 210, 255));
        c.fillPolygon({{64, 10}, {64, 112}, {48, 112}, {36, 52}}, rgb(130, 170, 240));
        c.line(36, 52, 92, 52, 2, rgb(230, 245, 255));
        finish(ctx, "Items", "MoonCrystal", c);
    }
}

// The numbered pictures that spells name with PICTUREBASE (base + 1, base + 2, ...) and the
// bare base picture for effects that draw one picture.
REGISTER_ART(magic_pictures) {
    auto leaf = [](sf::Color colour) {
        Canvas c(S, S);
        c.fillPolygon({{64, 8}, {100, 48}, {92, 96}, {64, 120}, {36, 96}, {28, 48}}, colour);
        c.line(64, 16, 64, 118, 3, shade(colour, 0.6f));
        for (int i = 0; i < 4; ++i) {
            c.line(64, 40 + i * 18.f, 88, 28 + i * 18.f, 2, shade(colour, 0.7f));
            c.line(64, 40 + i * 18.f, 40, 28 + i * 18.f, 2, shade(colour, 0.7f));
        }
        return c;
    };
    const sf::Color leaves[3] = {rgb(90, 170, 60), rgb(200, 160, 40), rgb(190, 80, 40)};
    for (int i = 0; i < 3; ++i) {
        Canvas c = leaf(leaves[i]);
        ctx.savePicture("Magic", "Leaf" + std::to_string(i + 1), c);
    }
    ctx.savePicture("Magic", "Leaf", leaf(leaves[0]));

    auto rocket = [] {
        Canvas c(S, S);
        c.fillRoundRect(30, 50, 68, 28, 12, rgb(220, 220, 230));
        c.fillPolygon({{98, 50}, {122, 64}, {98, 78}}, rgb(220, 50, 50));
        c.fillPolygon({{30, 50}, {14, 36}, {40, 50}}, rgb(220, 50, 50));
        c.fillPolygon({{30, 78}, {14, 92}, {40, 78}}, rgb(220, 50, 50));
        c.fillCircle(74, 64, 7, rgb(90, 170, 255));
        c.glow(22, 64, 16, rgb(255, 170, 40, 230));
        return c;
    };
    ctx.savePicture("Magic", "Rocket", rocket());
    ctx.savePicture("Magic", "Rocket1", rocket());

    for (int i = 0; i <= 3; ++i) {
        Canvas c(S, S);
        float tilt = 6.f * (i % 3);
        blade(c, 64 - tilt, 24, 64 + tilt, 116, 12 + 2.f * (i % 2), STEEL);
        c.outline(rgb(30, 24, 20, 220), 1);
        ctx.savePicture("Magic", i == 0 ? std::string("Knife") : "Knife" + std::to_string(i), c);
    }

    for (int i = 0; i <= 2; ++i) {
        Canvas c(S, S);
        c.fillCircle(64, 64, 50, rgb(250, 240, 200));
        c.strokeCircle(64, 64, 50, 6, i == 2 ? rgb(60, 120, 220) : GOLD);
        for (int h = 0; h < 12; ++h) {
            float a = PI * 2 * h / 12;
            c.line(64 + 40 * std::cos(a), 64 + 40 * std::sin(a), 64 + 46 * std::cos(a), 64 + 46 * std::sin(a), 3,
                   rgb(60, 50, 40));
        }
        float hour = i == 1 ? 0.8f : 2.2f;
        c.line(64, 64, 64 + 26 * std::cos(hour), 64 + 26 * std::sin(hour), 5, rgb(40, 30, 30));
        c.line(64, 64, 64 + 38 * std::cos(hour * 3), 64 + 38 * std::sin(hour * 3), 3, rgb(40, 30, 30));
        ctx.savePicture("Magic", i == 0 ? std::string("Clock") : "Clock" + std::to_string(i), c);
    }

    for (int i = 0; i <= 2; ++i) {
        Canvas c(S, S);
        std::vector<sf::Vector2f> stone;
        Rng rng(40 + i);
        for (int k = 0; k < 9; ++k) {
            float a = PI * 2 * k / 9, r = rng.range(38.f, 54.f);
            stone.push_back({64 + r * std::cos(a), 64 + r * 0.8f * std::sin(a)});
        }
        c.fillPolygon(stone, rgb(130 + 20 * i, 110 + 10 * i, 90));
        c.noiseShade(0.3f, 16, 7 + i);
        c.fillEllipse(50, 50, 12, 7, rgb(255, 255, 255, 70));
        ctx.savePicture("Magic", i == 0 ? std::string("Pebble") : "Pebble" + std::to_string(i), c);
    }

    for (int i = 0; i <= 2; ++i) {
        Canvas c(S, S);
        sf::Color green = rgb(60, 255, 90);
        c.glow(64, 64, 56, withAlpha(green, 90));
        if (i != 2) {
            c.strokeRect(28, 28, 72, 72, 5, green);
            c.line(28, 64, 100, 64, 4, green);
            c.line(64, 28, 64, 100, 4, green);
        } else {
            c.strokeCircle(64, 64, 38, 5, green);
            c.line(40, 40, 88, 88, 5, green);
            c.line(88, 40, 40, 88, 5, green);
        }
        ctx.savePicture("Magic", i == 0 ? std::string("Glyph") : "Glyph" + std::to_string(i), c);
    }
}
