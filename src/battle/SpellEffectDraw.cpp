// The spell effects' pictures. Drawing changes no record, but it does draw rand() (random
// colours, sizes and places) and plays a few sounds, in the order each kind gives.
#include "battle/MagicInstance.hpp"

#include "battle/Magic.hpp"
#include "battle/SpellEffectSupport.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/Ellipse.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <array>
#include <cmath>

using spellfx::roll;
using spellfx::sound;

namespace {

constexpr float PI = 3.14159265f;

sf::Texture& magicPicture(const std::string& name) { return resources->getMagicTexture(name); }

float texW(const sf::Texture& t) { return static_cast<float>(std::max(1u, t.getSize().x)); }
float texH(const sf::Texture& t) { return static_cast<float>(std::max(1u, t.getSize().y)); }

// A sprite with its origin at the texture's middle.
sf::Sprite centred(const sf::Texture& t, float x, float y, float scale, sf::Color colour = sf::Color::White) {
    sf::Sprite s(t);
    s.setOrigin(static_cast<float>(t.getSize().x) / 2.f, static_cast<float>(t.getSize().y) / 2.f);
    s.setPosition(x, y);
    s.setScale(scale, scale);
    s.setColor(colour);
    return s;
}

void flash(sf::RenderTarget& window) { fillWindow(window, sf::Color::White); }

// The fade-in over the first 15 frames and fade-out over the last 15 (the fade-out wins).
int fade15(const MagicInstance& m) {
    int alpha = 255;
    if (m.frame < 15) alpha = 255 * m.frame / 15;
    if (m.frame > m.duration - 15)
        alpha = static_cast<int>(255.f * (1.f - static_cast<float>(m.frame - m.duration + 15) / 15.f));
    return std::clamp(alpha, 0, 255);
}

const std::vector<sf::Texture>& animation(const std::string& name) { return resources->getAnimation(name); }

// Frame (frame mod 2n) / 2 of an animation: each picture shows for two frames.
const sf::Texture* slowFrame(const std::string& name, int frame) {
    const auto& frames = animation(name);
    if (frames.empty()) return nullptr;
    const int n = static_cast<int>(frames.size());
    return &frames[static_cast<std::size_t>((frame % (2 * n)) / 2)];
}

// 200 / width and the like: the explosions are scaled by a whole number.
float wholeScale(int numerator, const std::vector<sf::Texture>& frames) {
    if (frames.empty()) return 0.f;
    return static_cast<float>(numerator / static_cast<int>(std::max(1u, frames[0].getSize().x)));
}

void drawExplosionFrame(sf::RenderTarget& window, int index, float x, float y, float scale) {
    const auto& frames = animation("Explosion");
    if (index < 0 || index >= static_cast<int>(frames.size())) return;
    window.draw(centred(frames[static_cast<std::size_t>(index)], x, y, scale));
}

void drawCatWaiting(sf::RenderTarget& window) {
    const sf::Texture& cat = magicPicture("CatWaiting");
    sf::Sprite s(cat);
    const float k = 100.f / texH(cat);
    s.setScale(k, k);
    s.setPosition(1060.f + 100.f, 720.f + 150.f);
    s.setColor(sf::Color(255, 255, 255, 180));
    window.draw(s);
}

void drawDoor(sf::RenderTarget& window, const std::string& name) {
    const sf::Texture& door = magicPicture(name);
    window.draw(centred(door, 1060.f, 720.f, 500.f / texH(door), sf::Color(255, 255, 255, 180)));
}

// The picture and position of a summon, chosen by the spell's name.
struct Summon {
    std::string idle, attack;
    float x = 0, y = 0;
    bool mirrored = false;
    int slow = 3;
};

Summon summonOf(const std::string& name) {
    if (name == "Culebra") return {"YellowSnake", "YellowSnakeAttack", 1152, 540, true, 3};
    if (name == "Coletote") return {"Coletote", "ColetoteSlash", 768, 270, false, 8};
    if (name == "ChapterLady") return {"ChapterLady", "ChapterLady", 0, 0, false, 3};
    fatalAssert("Magic", 1083, "Didn't find the animation");
}

// The explosion of "HackImplosion", the question marks of "HackControl", and the console's box,
// text and progress bar.
void drawHackConsole(const MagicInstance& m, sf::RenderTarget& window) {
    if (m.name == "HackImplosion") {
        const auto& frames = animation("Explosion");
        const int index = m.duration - 1 + static_cast<int>(frames.size()) - m.frame;
        if (index > 0 && index < static_cast<int>(frames.size()))
            drawExplosionFrame(window, index, 640.f, 540.f, wholeScale(700, frames));
    }
    if (m.name == "HackControl" && m.frame >= m.duration / 2) {
        const sf::Font& dialog = resources->getFont("Dialog");
        for (int i = 0; i < 50; ++i) {
            sf::Text q("?", dialog, static_cast<unsigned>(50 + roll(100)));
            q.setFillColor(randomColor());
            const int y = roll(WINDOW_HEIGHT);
            const int x = roll(960);
            q.setPosition(static_cast<float>(x), static_cast<float>(y));
            window.draw(q);
        }
    }
    if (m.frame > m.duration) return;
    sf::RectangleShape box({480.f, 270.f});
    box.setOrigin(240.f, 135.f);
    box.setPosition(640.f, 540.f);
    box.setFillColor(sf::Color(100, 100, 100));
    box.setOutlineColor(sf::Color::White);
    box.setOutlineThickness(1);
    window.draw(box);
    const char* label = m.name == "HackSlow"        ? "Slowing Down..."
                        : m.name == "HackImplosion" ? "Preparing implosion..."
                        : m.name == "HackDrain"     ? "Draining MP..."
                                                    : "Loging in...";
    sf::Text text(label, resources->getFont("Nice"), 30);
    const sf::FloatRect r = text.getLocalBounds();
    text.setOrigin(r.left + r.width / 2.f, r.top + r.height / 2.f);
    text.setPosition(640.f, 540.f - 67.5f);
    window.draw(text);
    sf::RectangleShape frame({320.f, 54.f});
    frame.setOrigin(160.f, 27.f);
    frame.setPosition(640.f, 607.5f);
    frame.setFillColor(sf::Color::Transparent);
    frame.setOutlineColor(sf::Color::White);
    frame.setOutlineThickness(1);
    window.draw(frame);
    const float fill = 320.f * static_cast<float>(std::min(m.frame, m.duration)) / static_cast<float>(std::max(1, m.duration));
    sf::RectangleShape bar({fill, 54.f});
    bar.setOrigin(160.f, 27.f);
    bar.setPosition(640.f, 607.5f);
    bar.setFillColor(sf::Color::Blue);
    window.draw(bar);
}

} // namespace

void drawConvexPolygon(sf::RenderTarget& window, int x, int topY, int bottomY, sf::Color colour, int thickness) {
    const float T = static_cast<float>(thickness), X = static_cast<float>(x);
    const float top = static_cast<float>(topY), bottom = static_cast<float>(bottomY);
    const float m = static_cast<float>((topY + bottomY) / 2);
    sf::ConvexShape s(7);
    s.setPoint(0, {X - T / 2, top});
    s.setPoint(1, {X - T, m});
    s.setPoint(2, {X - T / 2, m});
    s.setPoint(3, {X, bottom});
    s.setPoint(4, {X + T / 2, m - T / 2});
    s.setPoint(5, {X, m - T / 2});
    s.setPoint(6, {X + T / 2, top});
    s.setFillColor(colour);
    window.draw(s);
}

void MagicInstance::drawEllipses(sf::RenderTarget& window) const {
    const Magic& spell = spellfx::spellOf(*this);
    for (const FallingObject& f : fallingObjects) {
        const float t = static_cast<float>(frame - f.startFrame) / static_cast<float>(std::max(1, f.endFrame - f.startFrame));
        const std::vector<EllipseShape> ellipses = makeShrinkingEllipses(f.size);
        for (const auto& [i, points] : f.decorations) {
            if (i < 0 || i >= static_cast<int>(ellipses.size())) continue;
            const EllipseShape& e = ellipses[static_cast<std::size_t>(i)];
            const float rx = e.getRadius().x;
            const float X = std::trunc(f.fromX + (f.toX - f.fromX) * t + e.getPosition().x - rx);
            const float Y = std::trunc(f.fromY + (f.toY - f.fromY) * t + e.getPosition().y);
            const int count = static_cast<int>(e.getPointCount());
            for (const auto& [p, deco] : points) {
                const sf::Texture& tex = magicPicture(spell.pictureBase + std::to_string(deco.second));
                const sf::Vector2f at = e.getPoint(static_cast<std::size_t>((frame * level + p) % count));
                sf::Sprite s = centred(tex, at.x + X, at.y + Y, (f.size / 10.f) / texW(tex));
                s.setRotation(static_cast<float>(deco.first));
                window.draw(s);
            }
        }
    }
}

void MagicInstance::drawPatrician(sf::RenderTarget& window) const {
    if (effectFrames.count(frame)) {
        flash(window);
        return;
    }
    const Magic& spell = spellfx::spellOf(*this);
    for (const PatricianShot& s : patricianShots) {
        const float t = static_cast<float>(frame - s.startFrame) / static_cast<float>(std::max(1, s.endFrame - s.startFrame));
        const float k = static_cast<float>(s.speed);
        sf::ConvexShape shot(4);
        shot.setPoint(0, {-k, 0.f});
        shot.setPoint(1, {0.f, 1.2f * k});
        shot.setPoint(2, {k, 0.f});
        shot.setPoint(3, {0.f, -1.2f * k});
        shot.setPosition(static_cast<float>(s.startX) + static_cast<float>(s.targetX - s.startX) * t,
                         static_cast<float>(s.targetY) * t);
        shot.setFillColor(spell.levelColor(level));
        shot.setOutlineColor(sf::Color::White);
        shot.setOutlineThickness(2);
        window.draw(shot);
    }
}

void MagicInstance::drawDemonScare(sf::RenderTarget& window) const {
    if (effectFrames.count(frame)) {
        flash(window);
        return;
    }
    const Magic& spell = spellfx::spellOf(*this);
    const sf::Texture& t = magicPicture(spell.pictureBase.empty() ? "DemonScare" : spell.pictureBase);
    for (const DemonObject& d : demonObjects) {
        sf::Sprite s = centred(t, static_cast<float>(d.x), static_cast<float>(d.y), static_cast<float>(d.size) / texW(t));
        s.setRotation(static_cast<float>(d.angle));
        window.draw(s);
    }
}

void MagicInstance::drawBolts(sf::RenderTarget& window) const {
    if (effectFrames.count(frame)) {
        flash(window);
        return;
    }
    const Magic& spell = spellfx::spellOf(*this);
    const sf::Color range = spell.colorModifAt(level);
    const sf::Color core = spell.colorAt(level);
    const int W = (bottomRight.x - topLeft.x) / 10;
    const int s = W / 2;
    for (const MagicBolt& b : bolts) {
        const int ob = roll(range.b), og = roll(range.g), orr = roll(range.r);
        for (int k = 0; k < 10; ++k) {
            const int alpha = ((-255 * k / 10) % 256 + 256) % 256;
            const sf::Color glow(static_cast<sf::Uint8>(255 - range.r + orr), static_cast<sf::Uint8>(255 - range.g + og),
                                 static_cast<sf::Uint8>(255 - range.b + ob), static_cast<sf::Uint8>(alpha));
            drawConvexPolygon(window, b.x, b.topY, b.bottomY, glow, W + (k * s) / 10);
        }
        const sf::Color c(static_cast<sf::Uint8>(std::min(255, core.r + orr)), static_cast<sf::Uint8>(std::min(255, core.g + og)),
                          static_cast<sf::Uint8>(std::min(255, core.b + ob)), 255);
        drawConvexPolygon(window, b.x, b.topY, b.bottomY, c, W);
    }
}

namespace spellfx::paint {

void fallingObjects(const MagicInstance& m, const Magic&, sf::RenderTarget& window) { m.drawEllipses(window); }

void patrician(const MagicInstance& m, const Magic&, sf::RenderTarget& window) { m.drawPatrician(window); }

void laser(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window) {
    if (m.frame >= m.duration / 2) return;
    sf::ConvexShape beam(4);
    beam.setPoint(0, {1280.f, 540.f});
    beam.setPoint(1, {1280.f, 550.f});
    beam.setPoint(2, {static_cast<float>(m.laserTarget.x), static_cast<float>(m.laserTarget.y + 10)});
    beam.setPoint(3, {static_cast<float>(m.laserTarget.x), static_cast<float>(m.laserTarget.y)});
    beam.setFillColor(spell.colorAt(m.level));
    window.draw(beam);
}

void demonScare(const MagicInstance& m, const Magic&, sf::RenderTarget& window) { m.drawDemonScare(window); }

void bats(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    const auto& frames = animation("Bat");
    if (frames.empty()) return;
    for (const MagicBat& b : m.bats) {
        const sf::Texture& t = frames[static_cast<std::size_t>(b.picture) % frames.size()];
        const bool arrived = m.frame >= b.arrivalFrame;
        const float u = static_cast<float>(m.frame - b.launchFrame) / static_cast<float>(std::max(1, b.arrivalFrame - b.launchFrame));
        const float span = arrived ? static_cast<float>(b.spanB) : static_cast<float>(b.spanA) - static_cast<float>(b.spanA - b.spanB) * u;
        const float x = arrived ? static_cast<float>(b.targetX) : static_cast<float>(b.startX) + static_cast<float>(b.targetX - b.startX) * u;
        const float y = arrived ? static_cast<float>(b.targetY) : static_cast<float>(b.startY) + static_cast<float>(b.targetY - b.startY) * u;
        sf::Sprite s = centred(t, x, y, span / texW(t));
        if (b.startX > b.targetX) s.setScale(-span / texW(t), span / texW(t));
        window.draw(s);
    }
}

// The falling objects, the dragon slashes, the closing explosion, and at level 2 and above the
// falling objects once more, over it all.
void infernalV(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window) {
    fallingObjects(m, spell, window);
    const sf::Texture& dragon = resources->getSlashTexture("Dragon");
    for (const MagicSlash& s : m.slashes)
        if (s.endFrame >= m.frame)
            window.draw(centred(dragon, static_cast<float>(s.x), static_cast<float>(s.y), 200.f / texW(dragon)));
    const auto& explosion = animation("Explosion");
    const int n = static_cast<int>(explosion.size());
    if (m.duration - n <= m.frame && m.frame < m.duration)
        drawExplosionFrame(window, m.frame - m.duration + n, 480.f, 540.f, 400.f / texW(explosion[0]));
    if (m.level >= 2) fallingObjects(m, spell, window);
}

void catEscape(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    const sf::Texture& general = resources->getSlashTexture("General");
    const sf::Texture& cat = magicPicture("CatEscaping");
    for (const EscapingCat& c : m.escapingCats) {
        if (c.startFrame - m.frame > 10) continue;
        window.draw(centred(general, static_cast<float>(c.x), static_cast<float>(c.y), 100.f / texH(general)));
        sf::Sprite s(cat);
        s.setOrigin(0.f, texH(cat) / 2.f);
        s.setScale(150.f / texH(cat), 150.f / texH(cat));
        s.setPosition(static_cast<float>(c.x), static_cast<float>(c.y));
        window.draw(s);
    }
    drawDoor(window, "OpenDoor");
}

void missiles(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window) {
    const sf::Texture& rocket = magicPicture(spell.pictureBase);
    const auto& explosion = animation("Explosion");
    for (const MagicMissile& mi : m.missiles) {
        if (m.frame <= mi.hitFrame) {
            const float t = static_cast<float>(m.frame - mi.launchFrame) / static_cast<float>(std::max(1, mi.hitFrame - mi.launchFrame));
            window.draw(centred(rocket, mi.startX + (mi.targetX - mi.startX) * t, mi.startY + (mi.targetY - mi.startY) * t,
                                150.f / texW(rocket)));
        }
        if (m.frame >= mi.hitFrame && mi.framesSinceHit < static_cast<int>(explosion.size()))
            drawExplosionFrame(window, mi.framesSinceHit, mi.targetX, mi.targetY, wholeScale(200, explosion));
    }
}

void bubbles(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window) {
    const sf::Color base = spell.colorAt(m.level);
    const sf::Color range = spell.colorModifAt(m.level);
    sf::CircleShape bubble(1.f, 30);
    bubble.setOutlineThickness(6);
    for (const MagicBubble& b : m.bubbles) {
        const int r = (base.r + roll(range.r)) % 256;
        const int g = (base.g + roll(range.g)) % 256;
        const int bl = (base.b + roll(range.b)) % 256;
        bubble.setRadius(static_cast<float>(b.size));
        bubble.setOrigin(static_cast<float>(b.size), static_cast<float>(b.size));
        bubble.setPosition(static_cast<float>(b.x), static_cast<float>(b.y));
        bubble.setFillColor(sf::Color(r, g, bl, 100));
        bubble.setOutlineColor(sf::Color(r, g, bl, 255));
        window.draw(bubble);
    }
}

void flame(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    if (const sf::Texture* t = slowFrame("Flame", m.frame))
        window.draw(centred(*t, 480.f, 540.f, 864.f / texH(*t), sf::Color(255, 255, 255, 130)));
}

void catDrama(const MagicInstance&, const Magic&, sf::RenderTarget& window) {
    drawDoor(window, "SliddingDoor");
    drawCatWaiting(window);
    const sf::Texture& meow = magicPicture("Meaow");
    window.draw(centred(meow, 640.f, 540.f, 400.f / texH(meow), randomColor()));
}

void healSparkles(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    if (m.healParticles.empty() || m.duration <= 0) return;
    const int alpha = std::clamp((m.duration - m.frame) * 255 / m.duration, 0, 255);
    // Tens of thousands of sparkles: one triangle list, kept between frames so that its memory
    // is not taken afresh every frame. A sparkle of n corners is n - 2 triangles.
    static std::vector<sf::Vertex> tris;
    static const auto corners = [] {
        std::array<std::array<sf::Vector2f, 6>, 6> unit{};
        for (int n = 3; n <= 5; ++n)
            for (int k = 0; k < n; ++k) {
                const float a = 2.f * PI * static_cast<float>(k) / static_cast<float>(n) - PI / 2.f;
                unit[static_cast<std::size_t>(n)][static_cast<std::size_t>(k)] = {std::cos(a), std::sin(a)};
            }
        return unit;
    }();
    tris.clear();
    tris.reserve(m.healParticles.size() * 9);
    for (const HealParticle& p : m.healParticles) {
        if (p.shape < 3 || p.shape > 5 || p.jitter <= 0.f) continue;
        // Each burst is a column of sparkles down the effect, drifting down at its own speed.
        const float y = static_cast<float>(m.frame) * p.speed + p.y - static_cast<float>(p.birthFrame);
        if (y > float(WINDOW_HEIGHT)) continue;
        const sf::Color c(p.color.r, p.color.g, p.color.b, static_cast<sf::Uint8>(alpha));
        const auto& unit = corners[static_cast<std::size_t>(p.shape)];
        const sf::Vector2f first(p.x + unit[0].x * p.jitter, y + unit[0].y * p.jitter);
        for (int k = 1; k + 1 < p.shape; ++k) {
            tris.emplace_back(first, c);
            tris.emplace_back(sf::Vector2f(p.x + unit[static_cast<std::size_t>(k)].x * p.jitter,
                                           y + unit[static_cast<std::size_t>(k)].y * p.jitter), c);
            tris.emplace_back(sf::Vector2f(p.x + unit[static_cast<std::size_t>(k + 1)].x * p.jitter,
                                           y + unit[static_cast<std::size_t>(k + 1)].y * p.jitter), c);
        }
    }
    if (tris.empty()) return;
    drawPrimitives(window, tris.data(), tris.size(), sf::Triangles);
}

void statObjects(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window) {
    for (const AttrObject& a : m.attrObjects) {
        const sf::Texture& t = magicPicture(spell.pictureBase + std::to_string(a.picture));
        const int r = roll(255), b = roll(255), g = roll(255);
        int size = a.size, angle = 0;
        if (m.frame < a.endFrame) {
            const int q = m.frame - a.startFrame, d = std::max(1, a.endFrame - a.startFrame);
            size = a.span + (a.size - a.span) * q / d;
            angle = a.angle + (1080 - a.angle) * q / d;
        }
        sf::Sprite s = centred(t, a.x, a.y, static_cast<float>(size) / texW(t), sf::Color(r, g, b, 200));
        s.setRotation(static_cast<float>(angle));
        window.draw(s);
    }
}

void shield(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    const int n = m.level * (m.frame < m.duration / 2 ? m.frame : m.duration - m.frame);
    sf::CircleShape dot(1.f, 30);
    for (int i = 0; i < 2 * n; ++i) {
        const float radius = static_cast<float>(10 + roll(20));
        const int alpha = roll(200);
        const int y = roll(WINDOW_HEIGHT);
        const int x = roll(960);
        dot.setRadius(radius);
        dot.setOrigin(radius, radius);
        dot.setFillColor(sf::Color(180, 180, 200, static_cast<sf::Uint8>(alpha)));
        dot.setPosition(static_cast<float>(x), static_cast<float>(y));
        window.draw(dot);
    }
}

void ice(const MagicInstance&, const Magic&, sf::RenderTarget& window) {
    const sf::Texture& cube = magicPicture("IceCube");
    sf::Sprite s = centred(cube, 480.f, 540.f, 1.f, sf::Color(255, 255, 255, 100));
    s.setScale(640.f / texW(cube), 810.f / texH(cube));
    window.draw(s);
}

void frozenOrbs(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    sf::CircleShape tri(1.f, 3);
    for (const FrozenOrb& o : m.frozenOrbs) {
        if (m.frame < o.endFrame) {
            const float t = static_cast<float>(m.frame - o.startFrame) / static_cast<float>(std::max(1, o.endFrame - o.startFrame));
            sf::CircleShape orb(static_cast<float>(TILE_SIZE) * t, 30);
            orb.setPosition(1440.f + (o.x - 1440.f) * t, 540.f + (o.y - 540.f) * t);
            const int c = roll(255);
            const int a = roll(255);
            orb.setFillColor(sf::Color(c / 2, c / 2, c, a));
            window.draw(orb);
        }
        const float k = static_cast<float>(m.frame - o.endFrame);
        for (int angle = 0; angle < 360; angle += 10) {
            const float radius = static_cast<float>(10 + roll(5));
            const int c = roll(255);
            tri.setRadius(radius);
            tri.setOrigin(radius, radius);
            tri.setFillColor(sf::Color(c / 2, c / 2, c, 255));
            const float rad = static_cast<float>(angle) * PI / 180.f;
            tri.setPosition(o.x + std::cos(rad) * 30.f * k, o.y + std::sin(rad) * 50.f * k);
            window.draw(tri);
        }
    }
}

void demonDaze(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    const sf::Texture& demon = magicPicture("DemonScare");
    for (float x : {192.f, 768.f}) {
        sf::Sprite s = centred(demon, x, 540.f, 250.f / texW(demon), sf::Color(255, 255, 255, 100));
        s.setRotation(static_cast<float>((10 * m.frame) % 360));
        window.draw(s);
    }
    EllipseShape ring({240.f, 108.f});
    ring.setOrigin(240.f, 108.f);
    ring.setFillColor(sf::Color::Transparent);
    ring.setOutlineThickness(2);
    for (int j = 0; j < 54000; j += 1080) {
        ring.setOutlineColor(randomColor());
        ring.setPosition(480.f, static_cast<float>(j) / 50.f);
        drawOutline(window, ring);
    }
}

void dracaris(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window) {
    if (const sf::Texture* t = slowFrame("Flame", m.frame)) {
        const sf::Color c = spell.color.empty() ? sf::Color(255, 120, 0) : spell.color[0];
        sf::Sprite s = centred(*t, 640.f, 540.f, 972.f / texH(*t), sf::Color(c.r, c.g, c.b, 130));
        s.setRotation(-80.f);
        window.draw(s);
    }
}

void summon(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    const Summon who = summonOf(m.name);
    if (m.frame > m.duration) return;
    const auto& attackFrames = animation(who.attack);
    const int attackLength = static_cast<int>(attackFrames.size());
    const bool attacking = m.duration / 2 <= m.frame && m.frame < m.duration / 2 + 2 * attackLength * who.slow;
    const auto& frames = attacking ? attackFrames : animation(who.idle);
    if (frames.empty()) return;
    int picture = (m.frame / 2) % static_cast<int>(frames.size());
    if (m.frame < 15 || m.frame > m.duration - 15) picture = 0;
    const sf::Texture& t = frames[static_cast<std::size_t>(picture)];
    sf::Sprite s(t);
    const float k = 400.f / texH(t);
    // Mirrored about its top-left origin, the snake reaches left of (x, y), between the two
    // figures; shifted back by its width it would stand on the caster and be drawn over.
    s.setScale(who.mirrored ? -k : k, k);
    s.setPosition(who.x, who.y);
    s.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(fade15(m))));
    window.draw(s);
    bool hit = false;
    if (m.name == "Culebra" && attacking) {
        if (picture == 4) sound("SnakeHit");
        hit = picture >= 4 && picture <= 7;
    } else if (m.name == "Coletote") {
        if (m.frame == m.duration / 2) sound("duck");
        hit = attacking;
    }
    if (hit) {
        const sf::Texture& slash = resources->getSlashTexture(m.name == "Culebra" ? "General" : "Duck");
        window.draw(centred(slash, 480.f, 540.f, 1.f, randomColor()));
    }
}

void baham(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    if (m.frame > m.duration) return;
    const sf::Texture& picture = resources->getMiscTexture("Baham");
    sf::Sprite s(picture);
    s.setScale(500.f / texW(picture), 500.f / texW(picture));
    s.setPosition(768.f, 270.f);
    s.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(fade15(m))));
    window.draw(s);
    if (m.duration / 2 <= m.frame && m.frame <= m.duration - 15)
        if (const sf::Texture* t = slowFrame("Flame", m.frame)) {
            sf::Sprite fire = centred(*t, 620.f, 540.f, 432.f / texH(*t), sf::Color(255, 255, 255, 130));
            fire.setRotation(-120.f);
            window.draw(fire);
        }
}

void yeoj(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    if (m.frame > m.duration) return;
    const sf::Texture& picture = magicPicture("Yeoj");
    sf::Sprite s(picture);
    s.setScale(300.f / texW(picture), 300.f / texW(picture));
    s.setPosition(768.f, 540.f);
    s.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(fade15(m))));
    window.draw(s);
}

void bolts(const MagicInstance& m, const Magic&, sf::RenderTarget& window) { m.drawBolts(window); }

void droppedObjects(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window) {
    const bool tall = m.name == "KnifeRain" || m.name == "Icicle" || m.name == "Stalac";
    for (const DroppedObject& d : m.droppedObjects) {
        const int k = m.frame - d.startFrame;
        if (k > d.fallFrames + 20) continue;
        const sf::Texture& t = magicPicture(spell.pictureBase + std::to_string(d.picture));
        const float scale = tall ? 120.f / texH(t) : 250.f / texW(t);
        if (k < d.fallFrames) {
            window.draw(centred(t, static_cast<float>(d.x), static_cast<float>(k * d.y / std::max(1, d.fallFrames)), scale));
        } else {
            const int alpha = std::clamp(255 - 255 * (k - d.fallFrames) / 20, 0, 255);
            window.draw(centred(t, static_cast<float>(d.x), static_cast<float>(d.y), scale,
                                sf::Color(255, 255, 255, static_cast<sf::Uint8>(alpha))));
        }
    }
}

void darkness(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    const int p = std::max(2, m.duration / 6);
    const int phase = m.frame % p;
    const int h = std::max(1, p / 2);
    EllipseShape cloud({320.f, 36.f});
    cloud.setOrigin(320.f, 36.f);
    const int alpha = std::clamp(150 * m.frame / std::max(1, m.duration) + 100, 0, 255);
    cloud.setFillColor(sf::Color(0, 0, 0, static_cast<sf::Uint8>(alpha)));
    for (int i = 0; i < 20; ++i) {
        const bool odd = i % 2 == 1;
        int v = (phase <= h) == odd ? p - phase : phase;
        if (odd) v -= h;
        cloud.setPosition(480.f + 160.f * static_cast<float>(v) / static_cast<float>(h), 270.f + 36.f * static_cast<float>(i));
        window.draw(cloud);
    }
}

// The green digits running down from each dot: thousands of one-letter texts a frame.
void hackDigits(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    sf::Text digit("0", resources->getFont("Nice"), 20);
    digit.setFillColor(sf::Color::Green);
    const float lineHeight = std::max(1.f, digit.getLocalBounds().height + digit.getLocalBounds().top);
    // Kept between frames so that its memory is not taken afresh every frame.
    static std::vector<PlacedLetter> digits;
    digits.clear();
    for (const HackDot& d : m.hackDots) {
        const int k = m.frame - d.appearFrame;
        for (int i = 0; i < d.y && k - i >= 0; ++i) {
            if (k - i >= 1081) continue;
            const char n = static_cast<char>('0' + roll(10));
            digits.push_back({n, {static_cast<float>(d.x), static_cast<float>(k - i) * lineHeight}});
        }
    }
    drawLetters(window, digit, digits);
}

void statObjectsAndConsole(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window) {
    statObjects(m, spell, window);
    drawHackConsole(m, window);
}

void planes(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    const auto& explosion = animation("Explosion");
    const int explosionLength = static_cast<int>(explosion.size());
    for (const AirPlane& p : m.planes) {
        const sf::Texture& bomber = magicPicture("Bomber");
        const float planeScale = 300.f / texW(bomber);
        window.draw(centred(bomber, p.x, p.y, planeScale));
        if (p.dropFrame == -1) continue;
        const int d = m.frame - p.dropFrame;
        const bool poop = m.name == "PoopStrike";
        const float dx = static_cast<float>(p.dropX), dy = static_cast<float>(p.dropY);
        if (d == 0) sound("bombFall");
        if (d >= 0 && d < 5) {
            const sf::Texture& bomb = magicPicture(poop ? "Poop" : "Bomb");
            window.draw(centred(bomb, dx, dy + 100.f * static_cast<float>(d), 100.f / texH(bomb)));
        } else if (d >= 5) {
            const int e = d - 5;
            if (poop) {
                if (e == 0) sound("FoodSlash");
                if (e < 10)
                    window.draw(centred(resources->getSlashTexture("Potion"), dx, dy + 500.f, planeScale,
                                        sf::Color(154, 100, 50, 255)));
            } else {
                if (e == 0) sound("explosion");
                if (e < explosionLength) drawExplosionFrame(window, e, dx, dy + 500.f, wholeScale(300, explosion));
            }
        }
    }
}

void bombs(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    const auto& explosion = animation("Explosion");
    const int explosionLength = static_cast<int>(explosion.size());
    for (const FunkyBomb& b : m.bombs) {
        if (m.frame <= b.explodeFrame) {
            const float t = static_cast<float>(m.frame - b.startFrame) / static_cast<float>(std::max(1, b.explodeFrame - b.startFrame));
            sf::CircleShape ball(static_cast<float>(b.size), 30);
            ball.setOrigin(static_cast<float>(b.size), static_cast<float>(b.size));
            ball.setFillColor(b.color);
            ball.setOutlineColor(sf::Color::White);
            ball.setOutlineThickness(1);
            const float x = std::trunc(b.fromX + (b.toX - b.fromX) * t);
            const float y = std::trunc(b.fromY - static_cast<float>(b.arc) * (100.f * t) * (100.f - 100.f * t) / 2500.f);
            ball.setPosition(x, y);
            window.draw(ball);
        } else {
            const int e = m.frame - b.explodeFrame - 1;
            if (e >= 0 && e < explosionLength)
                drawExplosionFrame(window, e, b.toX, b.toY, 2.f * static_cast<float>(b.size) / texW(explosion[0]));
        }
    }
}

void zenguened(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    if (m.frame == 0) sound("Zenguened2");
    if (m.frame == m.duration / 2) sound("Zenguened3");
    const sf::Texture& z = magicPicture("Zenguened");
    const bool late = m.frame >= m.duration / 2;
    for (int i = late ? 4 : 0; i >= 0; --i) {
        sf::Color c(255, 255, 255, 200);
        if (i > 0) {
            const int r = roll(255), g = roll(255), b = roll(255);
            c = sf::Color(r, g, b, 150);
        }
        sf::Sprite s = centred(z, 640.f, 540.f, static_cast<float>((i + 5) * 100) / texW(z), c);
        if (late) s.setRotation(static_cast<float>((m.frame - m.duration / 2) % 360));
        window.draw(s);
    }
    sf::Text text(late ? "GOT ZENGU'ED" : "You have just", resources->getFont("Nice"), late ? 100 : 60);
    const sf::FloatRect r = text.getLocalBounds();
    text.setOrigin(r.left + r.width / 2.f, 0.f);
    text.setPosition(640.f, 720.f);
    window.draw(text);
}

void globe(const MagicInstance& m, const Magic&, sf::RenderTarget& window) {
    if (m.frame == 1) sound("Globe199");
    const int span = std::max(1, static_cast<int>(0.8f * static_cast<float>(m.duration)));
    const float t = static_cast<float>(std::min(span, m.frame)) / static_cast<float>(span);
    const int alpha = m.frame > span ? 255 - std::min(5 * (m.frame - span), 255) : 255;
    const int R = static_cast<int>(300.f - 100.f * t);
    const sf::Vector2f centre(960.f - 480.f * t, 940.f * t - 400.f);
    sf::CircleShape ring(1.f, 30);
    for (int r = R; r > 0; r -= 10) {
        const int g = 100 - 100 * r / std::max(1, R);
        ring.setRadius(static_cast<float>(r));
        ring.setOrigin(static_cast<float>(r), static_cast<float>(r));
        ring.setPosition(centre);
        ring.setFillColor(sf::Color(g, g, g, alpha));
        window.draw(ring);
    }
    sf::CircleShape rim(static_cast<float>(R), 30);
    sf::ConvexShape glint(3);
    glint.setPoint(0, centre);
    glint.setPoint(1, centre + rim.getPoint(static_cast<std::size_t>(m.frame % 30)) - sf::Vector2f(static_cast<float>(R), static_cast<float>(R)));
    glint.setPoint(2, centre + rim.getPoint(static_cast<std::size_t>((m.frame + 1) % 30)) - sf::Vector2f(static_cast<float>(R), static_cast<float>(R)));
    glint.setFillColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(std::min(alpha, 100))));
    window.draw(glint);
}

void catEscapeBackdrop(const MagicInstance&, const Magic&, sf::RenderTarget& window) {
    drawDoor(window, "ClosedDoor");
    drawCatWaiting(window);
}

void catDramaBackdrop(const MagicInstance&, const Magic&, sf::RenderTarget& window) {
    drawDoor(window, "SliddingDoor");
    drawCatWaiting(window);
}

void chaosBackdrop(const MagicInstance&, const Magic&, sf::RenderTarget& window) {
    const sf::Texture& t = magicPicture("Chaos");
    sf::Sprite s(t);
    const float k = 800.f / texW(t);
    s.setScale(k, k);
    s.setPosition(320.f, 360.f);
    s.setColor(sf::Color(255, 255, 255, 150));
    window.draw(s);
}

} // namespace spellfx::paint

void MagicInstance::drawProps(sf::RenderTarget& window) {
    if (name.empty() || resources == nullptr) return;
    const Magic& spell = spellfx::spellOf(*this);
    const spellfx::SpellKind& row = spellfx::spellKind(spell.kind);
    if (row.backdrop) row.backdrop(*this, spell, window);
}

void MagicInstance::draw(sf::RenderTarget& window) {
    if (name.empty() || resources == nullptr) return;
    const Magic& spell = spellfx::spellOf(*this);
    const spellfx::SpellKind& row = spellfx::spellKind(spell.kind);
    // Bottom to top, as the kinds' table gives.
    if (row.under) row.under(*this, spell, window);
    if (spellfx::showsSparkles(*this, row)) spellfx::paint::healSparkles(*this, spell, window);
    if (row.over) row.over(*this, spell, window);
}
