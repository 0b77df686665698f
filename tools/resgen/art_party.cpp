// Skill icons for the character view: one per spell of the demo's spell file, read at generation
// time so that a spell added to the file gets its icon without touching this code. The emblem
// follows the spell's kind, the colours its first-level COLOR.
#include "Art.hpp"

#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <tuple>

using namespace art;

namespace {

constexpr int S = 96;
struct SpellLook {
    std::string kind;
    sf::Color colour = rgb(170, 140, 230);
};

// Spell name -> kind and colour, in file order of first mention.
std::map<std::string, SpellLook> readSpellFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read the spell file " + path);
    std::map<std::string, SpellLook> spells;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string name;
        if (!(words >> name) || name[0] == '#') continue;
        SpellLook& look = spells[name];
        std::string word;
        while (words >> word) {
            if (word == "KIND") words >> look.kind;
            if (word == "COLOR(1)") {
                int r = 0, g = 0, b = 0;
                if (words >> r >> g >> b) look.colour = rgb(r, g, b);
            }
        }
    }
    return spells;
}

std::uint32_t hashOf(const std::string& s) {
    std::uint32_t h = 2166136261u;
    for (unsigned char ch : s) h = (h ^ ch) * 16777619u;
    return h;
}

std::vector<sf::Vector2f> star(float cx, float cy, float r0, float r1, int points, float turn) {
    std::vector<sf::Vector2f> out;
    for (int i = 0; i < points * 2; ++i) {
        float a = turn + PI * i / points, r = i % 2 ? r1 : r0;
        out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return out;
}

void flame(Canvas& c, sf::Color col) {
    c.fillPolygon({{48, 12}, {70, 44}, {72, 66}, {60, 82}, {36, 82}, {24, 66}, {28, 44}, {38, 54}}, col);
    c.fillPolygon({{48, 38}, {60, 60}, {56, 78}, {40, 78}, {36, 62}}, shade(col, 1.5f));
}

void cross(Canvas& c, sf::Color col) {
    c.fillRoundRect(38, 16, 20, 64, 4, col);
    c.fillRoundRect(16, 38, 64, 20, 4, col);
    c.fillRoundRect(42, 20, 6, 56, 3, shade(col, 1.4f));
}

void bolt(Canvas& c, sf::Color col) {
    c.fillPolygon({{56, 8}, {26, 52}, {46, 52}, {36, 88}, {72, 40}, {52, 40}, {64, 8}}, col);
}

void snowflake(Canvas& c, sf::Color col) {
    for (int k = 0; k < 6; ++k) {
        float a = k * PI / 3;
        c.line(48, 48, 48 + 36 * std::cos(a), 48 + 36 * std::sin(a), 5, col);
        float bx = 48 + 22 * std::cos(a), by = 48 + 22 * std::sin(a);
        for (float s : {-1.f, 1.f})
            c.line(bx, by, bx + 10 * std::cos(a + s * PI / 4), by + 10 * std::sin(a + s * PI / 4), 3, col);
    }
}

void swirl(Canvas& c, sf::Color col) {
    for (int i = 0; i < 5; ++i) {
        float y = 22 + i * 13.f, half = 34 - i * 6.f;
        c.fillEllipse(48 + (i % 2 ? 4.f : -4.f), y, half, 6, i % 2 ? col : shade(col, 1.4f));
    }
}

void bubbles(Canvas& c, sf::Color col) {
    for (auto [x, y, r] : {std::tuple{40.f, 56.f, 20.f}, {66.f, 36.f, 13.f}, {64.f, 70.f, 10.f}, {30.f, 26.f, 8.f}}) {
        c.fillCircle(x, y, r, withAlpha(col, 150));
        c.strokeCircle(x, y, r, 2.5f, shade(col, 1.5f));
        c.fillCircle(x - r * 0.35f, y - r * 0.35f, r * 0.25f, rgb(255, 255, 255, 200));
    }
}

void rocket(Canvas& c, sf::Color col) {
    c.fillPolygon({{48, 8}, {62, 30}, {62, 66}, {34, 66}, {34, 30}}, rgb(225, 225, 235));
    c.fillPolygon({{34, 50}, {20, 72}, {34, 66}}, col);
    c.fillPolygon({{62, 50}, {76, 72}, {62, 66}}, col);
    c.fillCircle(48, 36, 7, rgb(90, 170, 255));
    c.fillPolygon({{38, 66}, {58, 66}, {48, 90}}, rgb(255, 170, 40));
}

void knives(Canvas& c, sf::Color col) {
    for (int k = 0; k < 3; ++k) {
        float x = 26 + k * 22.f, top = 12 + (k % 2) * 12.f;
        c.fillPolygon({{x - 5, top + 16}, {x + 5, top + 16}, {x + 5, top + 54}, {x, top + 66}, {x - 5, top + 54}},
                      rgb(215, 220, 228));
        c.fillRect(x - 9, top + 12, 18, 5, col);
        c.fillRect(x - 3, top, 6, 13, rgb(110, 60, 34));
    }
}

void shield(Canvas& c, sf::Color col) {
    c.fillPolygon({{48, 10}, {80, 22}, {76, 56}, {48, 86}, {20, 56}, {16, 22}}, col);
    c.fillPolygon({{48, 20}, {70, 28}, {67, 54}, {48, 74}}, shade(col, 1.35f));
    c.line(48, 14, 48, 82, 3, shade(col, 0.6f));
}

void clockFace(Canvas& c, sf::Color col) {
    c.fillCircle(48, 50, 32, rgb(250, 242, 215));
    c.strokeCircle(48, 50, 32, 5, col);
    c.line(48, 50, 48, 28, 4, rgb(50, 40, 40));
    c.line(48, 50, 64, 58, 4, rgb(50, 40, 40));
    c.fillPolygon({{70, 10}, {86, 20}, {72, 26}}, col);
}

void ghost(Canvas& c, sf::Color col) {
    c.fillCircle(48, 40, 26, withAlpha(col, 210));
    c.fillRect(22, 40, 52, 30, withAlpha(col, 210));
    for (int k = 0; k < 4; ++k) c.fillCircle(28.5f + k * 13, 70, 6.5f, withAlpha(col, 210));
    c.fillCircle(39, 40, 5, rgb(20, 10, 30));
    c.fillCircle(57, 40, 5, rgb(20, 10, 30));
}

void fangs(Canvas& c, sf::Color col) {
    c.fillEllipse(48, 44, 34, 22, rgb(60, 20, 30));
    for (float x : {30.f, 62.f}) c.fillPolygon({{x, 30}, {x + 8, 30}, {x + 4, 56}}, rgb(245, 245, 240));
    c.fillCircle(48, 78, 8, col);
}

void orb(Canvas& c, sf::Color col) {
    c.glow(48, 48, 42, withAlpha(col, 200));
    c.fillCircle(48, 48, 24, col);
    c.fillCircle(40, 40, 8, rgb(255, 255, 255, 170));
}

// A rune of strokes, its shape seeded by the spell's name: for kinds without an emblem.
void rune(Canvas& c, sf::Color col, std::uint32_t seed) {
    Rng rng(seed);
    c.strokeCircle(48, 48, 34, 3, withAlpha(col, 200));
    std::vector<sf::Vector2f> points;
    for (int i = 0; i < 6; ++i) {
        float a = rng.range(0.f, 2 * PI);
        points.push_back({48 + 26 * std::cos(a), 48 + 26 * std::sin(a)});
    }
    for (std::size_t i = 1; i < points.size(); ++i)
        c.line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, 4, col);
    c.fillPolygon(star(48, 48, 9, 4, 4, rng.range(0.f, PI)), shade(col, 1.5f));
}

Canvas skillIcon(const std::string& name, const SpellLook& look) {
    Canvas c(S, S);
    const sf::Color col = look.colour;
    // A dark tile in the spell's hue, bevelled like a button.
    c.fillRoundRect(2, 2, S - 4, S - 4, 14, shade(col, 0.3f));
    c.glow(48, 44, 44, withAlpha(shade(col, 0.8f), 140));
    c.bevel(2, 2, S - 4, S - 4, 4, 0.35f);
    const std::string& k = look.kind;
    if (k == "Flame" || k == "InfernalV" || k == "Dracaris") flame(c, col);
    else if (k == "Cure" || k == "Zenguened") cross(c, col);
    else if (k == "Boltiolt" || k == "Laser" || k == "Airstrike") bolt(c, col);
    else if (k == "Ice" || k == "FrozenOrb") snowflake(c, col);
    else if (k == "Tornado" || k == "Pelonado") swirl(c, col);
    else if (k == "Bubbles") bubbles(c, col);
    else if (k == "Missle" || k == "FunkyBomb") rocket(c, col);
    else if (k == "Fallingobjs") knives(c, col);
    else if (k == "Shield" || k == "BuildTower") shield(c, col);
    else if (k == "AttrObjs" || k == "Patrician") clockFace(c, col);
    else if (k == "Poloian" || k == "Darkness" || k == "DemonScare" || k == "DemonDaze") ghost(c, col);
    else if (k == "BatAttack" || k == "CatEscape" || k == "CatDrama" || k == "Hack") fangs(c, col);
    else if (k == "Globe199" || k == "Baham" || k == "Call" || k == "Yeoj") orb(c, col);
    else rune(c, col, hashOf(name));
    c.outline(shade(col, 1.6f), 2);
    return c;
}

} // namespace

REGISTER_ART(party_skill_icons) {
    for (const auto& [name, look] : readSpellFile(std::string(RESGEN_DATA_DIR) + "/Data/Magic.txt"))
        ctx.savePicture("SkillIcons", name, skillIcon(name, look));
}
