// The block vault's prize door in its cave wall: it must read as a door at a glance, shut until
// the puzzle is solved and then filled by the light of the way on.
#include "Art.hpp"

#include <cmath>
#include <vector>

using namespace art;

namespace {

} // namespace

REGISTER_ART(doors_vault) {
    // The prize room's door in the vault's north wall: a dressed stone arch round a heavy door of
    // iron-bound oak, its lock plate marked with a crate on a mark, a gold star on the keystone.
    Canvas c(120, 120);
    const sf::Color stone = rgb(150, 142, 130), joint = rgb(70, 64, 58);
    c.fillRect(10, 30, 100, 90, stone);
    c.fillCircle(60, 44, 50, stone);
    c.noiseShade(0.18f, 10, 611);
    // Joints of the arch's voussoirs and the jambs' blocks.
    for (int i = 0; i <= 8; ++i) {
        const float a = PI + i * PI / 8;
        c.line(60 + 34 * std::cos(a), 44 + 34 * std::sin(a), 60 + 50 * std::cos(a), 44 + 50 * std::sin(a), 2, joint);
    }
    for (float y : {62.f, 84.f, 106.f}) {
        c.line(10, y, 26, y, 2, joint);
        c.line(94, y, 110, y, 2, joint);
    }
    // The opening and the door in it.
    c.fillRect(26, 44, 68, 76, rgb(25, 18, 12));
    c.fillCircle(60, 44, 34, rgb(25, 18, 12));
    c.fillRect(30, 46, 60, 74, rgb(110, 70, 38));
    c.fillCircle(60, 46, 30, rgb(110, 70, 38));
    for (float x : {45.f, 60.f, 75.f}) c.line(x, 20, x, 120, 2, rgb(70, 42, 22));
    for (float y : {40.f, 96.f}) {
        c.fillRect(30, y, 60, 7, rgb(60, 60, 66));
        for (float x : {35.f, 52.f, 68.f, 85.f}) c.fillCircle(x, y + 3.5f, 2, rgb(170, 170, 180));
    }
    c.fillRoundRect(48, 60, 24, 24, 3, rgb(215, 175, 60));
    c.strokeRect(52, 64, 16, 16, 2, rgb(110, 70, 25));
    c.line(52, 64, 68, 80, 2, rgb(110, 70, 25));
    c.line(68, 64, 52, 80, 2, rgb(110, 70, 25));
    c.fillCircle(82, 76, 4, rgb(60, 60, 66));
    c.strokeCircle(82, 83, 5, 2, rgb(60, 60, 66));
    // The keystone and its star.
    c.fillRect(52, 0, 16, 16, shade(stone, 1.15f));
    std::vector<sf::Vector2f> star;
    for (int i = 0; i < 10; ++i) {
        const float a = -PI / 2 + i * PI / 5, r = i % 2 ? 3.f : 7.f;
        star.push_back({60 + r * std::cos(a), 8 + r * std::sin(a)});
    }
    c.fillPolygon(star, rgb(250, 210, 70));
    c.outline(rgb(30, 25, 20, 200));
    ctx.savePicture("Objects", "VaultDoor", c);
}
