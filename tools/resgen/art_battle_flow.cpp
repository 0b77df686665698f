// The battles' own pictures and music: the arena's close-up backdrop and three battle tunes.
#include "Art.hpp"

using namespace art;

namespace {
constexpr int C4 = -9, D4 = -7, E4 = -5, F4 = -4, G4 = -2, A4 = 0, B4 = 2, C5 = 3, D5 = 5,
              E5 = 7, F5 = 8, G5 = 10, A5 = 12, R = -100;
} // namespace

REGISTER_ART(battle_flow_backdrop) {
    // An old stone arena at dusk: sky, tiers of stands with banners, a sand floor.
    Canvas c(480, 270);
    c.gradientRect(0, 0, 480, 120, rgb(70, 60, 120), rgb(230, 140, 90));
    c.glow(380, 95, 60, rgb(255, 210, 140, 150));
    for (int tier = 0; tier < 4; ++tier) {
        const float y = 70 + tier * 16.f;
        const sf::Color stone = shade(rgb(150, 130, 110), 0.75f + tier * 0.08f);
        c.fillRect(0, y, 480, 17, stone);
        for (int b = 0; b < 24; ++b) c.line(b * 20.f + (tier % 2) * 10, y, b * 20.f + (tier % 2) * 10, y + 16, 1, shade(stone, 0.7f));
        c.line(0, y, 480, y, 2, shade(stone, 1.25f));
    }
    for (int k = 0; k < 6; ++k) {
        const float x = 30 + k * 84.f;
        c.line(x, 40, x, 72, 2, rgb(90, 70, 50));
        const sf::Color banner = k % 2 ? rgb(180, 40, 40) : rgb(40, 80, 170);
        c.fillPolygon({{x + 1, 42}, {x + 24, 46}, {x + 1, 58}}, banner);
    }
    c.noiseFill(0, 134, 480, 136, rgb(205, 175, 120), 0.3f, 16, 91);
    c.fillEllipse(240, 205, 170, 45, rgb(190, 155, 100, 120));
    c.speckle(0, 140, 480, 130, 300, rgb(150, 120, 80), 92);
    c.gradientRect(0, 130, 480, 10, rgb(60, 50, 40, 160), rgb(60, 50, 40, 0));
    ctx.savePicture("BattleBackgrounds", "ArenaField", c);
}

REGISTER_ART(battle_flow_yard_and_dojo) {
    {
        // The watchtower yard: an evening sky over the broken tower, a hedge and the cobbles.
        Canvas c(480, 270);
        c.gradientRect(0, 0, 480, 130, rgb(40, 50, 100), rgb(200, 120, 110));
        c.glow(90, 110, 50, rgb(255, 200, 150, 140));
        c.fillRect(300, 30, 70, 100, rgb(110, 105, 100));
        c.fillPolygon({{300, 30}, {318, 18}, {334, 30}, {350, 14}, {370, 30}}, rgb(110, 105, 100));
        for (float y = 40; y < 130; y += 14) c.line(300, y, 370, y, 1, rgb(80, 76, 72));
        c.fillRect(326, 60, 18, 26, rgb(30, 28, 30));
        c.noiseFill(0, 112, 480, 30, rgb(50, 110, 55), 0.35f, 10, 95);
        Canvas ground(480, 130);
        ground.noiseFill(0, 0, 480, 130, rgb(150, 145, 135), 0.25f, 12, 96);
        for (float y = 6; y < 130; y += 16)
            for (float x = (static_cast<int>(y) / 16 % 2) * 12.f; x < 480; x += 24) ground.strokeRect(x, y, 22, 14, 1, rgb(100, 96, 90));
        c.paste(ground, 0, 140);
        c.gradientRect(0, 136, 480, 10, rgb(30, 40, 30, 160), rgb(30, 40, 30, 0));
        ctx.savePicture("BattleBackgrounds", "WatchtowerYard", c);
    }
    {
        // The dojo's hall: paper screens in a timber frame, a hanging scroll and a wooden floor.
        Canvas c(480, 270);
        c.fill(rgb(120, 80, 45));
        for (int k = 0; k < 6; ++k) {
            const float x = 8 + k * 79.f;
            c.fillRect(x, 14, 70, 120, rgb(240, 230, 200));
            for (float gx = x + 17; gx < x + 70; gx += 17) c.line(gx, 14, gx, 134, 1.5f, rgb(150, 110, 70));
            for (float gy = 44; gy < 134; gy += 30) c.line(x, gy, x + 70, gy, 1.5f, rgb(150, 110, 70));
        }
        c.fillRect(214, 24, 52, 96, rgb(250, 245, 230));
        c.strokeRect(214, 24, 52, 96, 3, rgb(90, 50, 30));
        c.line(240, 40, 240, 100, 6, rgb(30, 30, 30));
        c.line(228, 60, 252, 56, 4, rgb(30, 30, 30));
        c.fillRect(0, 134, 480, 8, rgb(80, 50, 25));
        c.noiseFill(0, 142, 480, 128, rgb(175, 125, 70), 0.15f, 6, 97);
        for (float y = 150; y < 270; y += 18) c.line(0, y, 480, y, 1.5f, rgb(110, 75, 40));
        ctx.savePicture("BattleBackgrounds", "DojoHall", c);
    }
}

REGISTER_ART(battle_flow_musics) {
    // The arena: brisk and bright. The ambush: driving, minor. The watchtower: tense and low.
    ctx.saveMusic("BattleA", renderTune({{E5, G5, A5, G5, E5, D5, E5, R, C5, D5, E5, G5, D5, C5, B4, R},
                                         {E4, C4, D4, B4 - 12}, 156.f, Wave::Square, Wave::Saw, true, 0.3f}));
    ctx.saveMusic("BattleB", renderTune({{A4, C5, E5, A4, D5, F5, E5, R, A4, C5, E5, G5, F5, E5, D5, R},
                                         {A4 - 12, D4, F4, E4}, 168.f, Wave::Saw, Wave::Square, true, 0.28f}));
    ctx.saveMusic("BattleC", renderTune({{E4, R, G4, R, E4, F4, E4, R, D4, R, F4, R, E4, D4, C4, R},
                                         {E4 - 12, C4 - 12, D4 - 12, B4 - 24}, 120.f, Wave::Triangle, Wave::Sine, true, 0.35f}));
}
