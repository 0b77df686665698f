// The spell effects, frame by frame. Each kind adds its particle records at its burst frames and
// moves or ages them; the random draws follow a fixed order so a seeded battle replays exactly.
#include "battle/MagicInstance.hpp"

#include "battle/Magic.hpp"
#include "battle/SpellEffectSupport.hpp"
#include "foundation/Ellipse.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <algorithm>
#include <cstdlib>

namespace spellfx {

int roll(int n) { return n <= 0 ? 0 : std::rand() % n; }

void sound(const std::string& name) {
    if (resources != nullptr) resources->playSound(name);
}

int animationLength(const std::string& name) {
    if (resources == nullptr) return 0;
    return static_cast<int>(resources->getAnimation(name).size());
}

const Magic& spellOf(const MagicInstance& m) {
    if (magicRepository == nullptr) fatalAssert("Magic", 29, m.name);
    return magicRepository->get(m.name);
}

} // namespace spellfx

using spellfx::roll;
using spellfx::sound;

FallingObject::FallingObject(sf::Vector2f from, sf::Vector2f to, float size_, int startFrame_,
                             int endFrame_, int pictureCount)
    : fromX(from.x), fromY(from.y), toX(to.x), toY(to.y), size(size_), startFrame(startFrame_),
      endFrame(endFrame_) {
    const std::vector<EllipseShape> ellipses = makeShrinkingEllipses(size);
    for (std::size_t i = 0; i < ellipses.size(); ++i) {
        const int points = static_cast<int>(ellipses[i].getPointCount());
        const int k = static_cast<int>(ellipses[i].getRadius().x / 50.f + 1.f);
        for (int j = 0; j < k; ++j) {
            const int point = roll(points);
            const int picture = roll(pictureCount);
            const int angle = roll(360);
            decorations[static_cast<int>(i)][point] = {angle, picture + 1};
        }
    }
}

MagicInstance::MagicInstance(const std::string& name_, Point topLeft_, Point bottomRight_, int level_,
                             int duration_)
    : name(name_), duration(duration_), topLeft(topLeft_), bottomRight(bottomRight_), level(level_) {
    if (name.empty()) return;
    effectFrames.insert(1);
    const int n = spellfx::spellOf(*this).numExplosionsAt(level);
    for (int i = 0; i < n - 1; ++i) effectFrames.insert(roll(duration));
}

void MagicInstance::reset() {
    frame = 0;
    patricianShots.clear();
    demonObjects.clear();
    bats.clear();
    fallingObjects.clear();
    slashes.clear();
    escapingCats.clear();
    missiles.clear();
    bubbles.clear();
    healParticles.clear();
    attrObjects.clear();
    frozenOrbs.clear();
    bombs.clear();
    droppedObjects.clear();
    // A replayed effect (the next target of a multi-target spell) starts from empty lists here
    // too; the burst schedule and the laser's aim belong to the cast and stay.
    bolts.clear();
    hackDots.clear();
    planes.clear();
}

namespace {

int width(const MagicInstance& m) { return m.bottomRight.x - m.topLeft.x; }
int height(const MagicInstance& m) { return m.bottomRight.y - m.topLeft.y; }

// A point in the middle third of the effect rectangle, the vertical number drawn first.
Point middleThird(const MagicInstance& m) {
    const int w = width(m), h = height(m);
    const int y = m.topLeft.y + h / 3 + roll(h / 3);
    const int x = m.topLeft.x + w / 3 + roll(w / 3);
    return {x, y};
}

void addFallingObject(MagicInstance& m, const Magic& spell, bool variantV) {
    const int w = width(m), h = height(m);
    float fx = static_cast<float>(roll(w));
    float fy = static_cast<float>(roll(h));
    float tx = static_cast<float>(roll(w));
    float ty = static_cast<float>(roll(h));
    float size = static_cast<float>(2 * w / 3);
    if (variantV) {
        size = static_cast<float>(w);
        fx = static_cast<float>(w);
        fy = static_cast<float>(h / 2);
        tx = static_cast<float>(w / 2);
        ty = static_cast<float>(h / 2 - h / 5 + roll(h / 10));
    }
    m.fallingObjects.emplace_back(sf::Vector2f(fx, fy), sf::Vector2f(tx, ty), size, m.frame, m.duration,
                                  spell.pictureCount);
}

void spinDecorations(MagicInstance& m) {
    for (FallingObject& f : m.fallingObjects)
        for (auto& [i, points] : f.decorations)
            for (auto& [p, deco] : points) deco.first = (deco.first + 1) % 360;
}

void explodeBombs(MagicInstance& m) {
    const std::size_t existing = m.bombs.size();
    for (std::size_t i = 0; i < existing; ++i) {
        if (m.bombs[i].explodeFrame != m.frame) continue;
        sound("explosion");
        const FunkyBomb parent = m.bombs[i];
        if (parent.generation >= 3) continue;
        const int explodeFrame = m.frame + 2 + roll(10);
        const int arc = (parent.generation + 1) * 50 + roll(100);
        const int size = static_cast<int>(static_cast<float>(parent.size) * 0.75f);
        for (int k = 0; k < 2; ++k) {
            if (roll(3) == 0) continue;
            FunkyBomb child;
            const int b = roll(255), g = roll(255), r = roll(255);
            child.color = sf::Color(r, g, b, 255);
            const int magnitude = roll(200);
            const int sign = std::rand() % 2 == 0 ? 1 : -1;
            child.fromX = parent.toX;
            child.fromY = parent.toY;
            child.toX = parent.toX + static_cast<float>(sign * magnitude);
            child.toY = parent.toY;
            child.generation = parent.generation + 1;
            child.startFrame = m.frame;
            child.explodeFrame = explodeFrame;
            child.size = size;
            child.arc = arc;
            m.bombs.push_back(child);
        }
    }
}

} // namespace

namespace spellfx::step {

void tornado(const Step& s) {
    if (s.m.frame == 1) sound(s.m.name == "GreatGig" ? "PieceOfPiano" : "WindMagic");
    if (s.burst) addFallingObject(s.m, s.spell, false);
    spinDecorations(s.m);
}

void patrician(const Step& s) {
    MagicInstance& m = s.m;
    if (s.burst) {
        for (int i = 0; i < 30; ++i) {
            PatricianShot shot;
            shot.speed = 9 + roll(9);
            shot.startX = roll(960);
            shot.endFrame = m.frame + 4 + roll(10);
            const Point t = middleThird(m);
            shot.targetX = t.x;
            shot.targetY = t.y;
            shot.startFrame = m.frame;
            m.patricianShots.push_back(shot);
        }
        sound("Patrician");
    }
    std::erase_if(m.patricianShots, [&](const PatricianShot& shot) { return shot.endFrame < m.frame; });
}

void laser(const Step& s) {
    if (s.m.frame == 1) {
        sound("laser");
        s.m.laserTarget = middleThird(s.m);
    }
}

void demonScare(const Step& s) {
    MagicInstance& m = s.m;
    for (DemonObject& d : m.demonObjects) {
        d.angle = (d.angle + d.spin) % 360;
        d.size += d.growth;
        if (d.size <= 0) {
            d.size = 1;
            d.growth = std::abs(d.growth);
        }
    }
    if (!s.burst) return;
    sound(s.spell.pictureBase.empty() ? "EvilLaugh" : "Amile");
    DemonObject d;
    d.x = roll(960);
    d.y = roll(WINDOW_HEIGHT);
    d.size = 50 + roll(640);
    d.angle = roll(360);
    d.spin = roll(30);
    d.growth = roll(10) - 5;
    m.demonObjects.push_back(d);
}

void bats(const Step& s) {
    MagicInstance& m = s.m;
    if (m.frame == 1) sound("BatAttack");
    const int n = spellfx::animationLength("Bat");
    for (MagicBat& b : m.bats) b.picture = n > 0 ? (b.picture + 1) % n : 0;
    if (!s.burst) return;
    MagicBat b;
    b.startX = roll(960);
    b.startY = WINDOW_HEIGHT;
    const Point t = middleThird(m);
    b.targetX = t.x;
    b.targetY = t.y;
    b.spanA = 4 * TILE_SIZE + roll(5 * TILE_SIZE);
    b.spanB = TILE_SIZE;
    b.launchFrame = m.frame;
    b.picture = 0;
    b.arrivalFrame = m.frame + 4 + roll(10);
    m.bats.push_back(b);
}

void infernalV(const Step& s) {
    MagicInstance& m = s.m;
    if (s.burst) {
        sound("MonsterSlash");
        const Point p = middleThird(m);
        m.slashes.push_back({p.x, p.y, m.frame + 10 + roll(10)});
    }
    if (m.frame == 1 && m.level >= 2) {
        sound("FireWinds");
        addFallingObject(m, s.spell, true);
    }
    if (m.frame == m.duration - spellfx::animationLength("Explosion")) {
        sound("explosion");
        consoleLine("Playing explosion sound");
    }
    spinDecorations(m);
}

void catEscape(const Step& s) {
    if (!s.burst) return;
    sound("CatMiau");
    const Point p = middleThird(s.m);
    s.m.escapingCats.push_back({p.x, p.y, s.m.frame});
}

void missiles(const Step& s) {
    MagicInstance& m = s.m;
    for (MagicMissile& mi : m.missiles)
        if (mi.hitFrame < m.frame) ++mi.framesSinceHit;
    for (const MagicMissile& mi : m.missiles)
        if (mi.hitFrame == m.frame) sound(m.name == "BloodSpit" ? "FoodSlash" : "explosion");
    if (!s.burst) return;
    const Point t = middleThird(m);
    MagicMissile mi;
    mi.startX = 1440.f;
    mi.startY = 540.f;
    mi.targetX = static_cast<float>(t.x);
    mi.targetY = static_cast<float>(t.y);
    mi.launchFrame = m.frame;
    mi.hitFrame = m.frame + 7;
    m.missiles.push_back(mi);
}

void bubbles(const Step& s) {
    MagicInstance& m = s.m;
    if (m.frame == 1 && m.name == "Poison") sound("Poison");
    for (MagicBubble& b : m.bubbles) b.y -= 25;
    if (!s.burst) return;
    const int k = roll(100);
    MagicBubble b;
    b.size = 75 + k;
    b.x = roll(960);
    b.y = 1155 + k;
    m.bubbles.push_back(b);
}

void flame(const Step& s) {
    if (s.m.frame == 1) sound("FlameMagic");
}

void catDrama(const Step& s) {
    if (s.burst) sound("catDrama");
}

void poloian(const Step& s) {
    if (s.m.frame == 1) {
        sound("Poloian");
        addFallingObject(s.m, s.spell, false);
    }
    spinDecorations(s.m);
}

void yeoj(const Step& s) {
    if (s.m.frame == 1) addFallingObject(s.m, s.spell, false);
    spinDecorations(s.m);
}

void healSparkles(const Step& s) {
    MagicInstance& m = s.m;
    if (m.frame == 1) sound("Heal");
    if (m.frame < m.duration / 2 && m.frame % 2 == 1) {
        const int count = m.level * 300;
        m.healParticles.reserve(m.healParticles.size() + static_cast<std::size_t>(std::max(count, 0)));
        for (int i = 0; i < count; ++i) {
            HealParticle p;
            p.color = s.spell.levelColor(m.level);
            p.jitter = static_cast<float>(roll(5));
            p.shape = roll(6);
            p.x = static_cast<float>(m.topLeft.x - 5 + roll(10) + 6 * m.frame);
            p.y = static_cast<float>(m.topLeft.y + roll(height(m) / 10));
            p.birthFrame = m.frame;
            p.speed = static_cast<float>(roll(2200) / 100) + 1.0f;
            m.healParticles.push_back(p);
        }
    }
    if (m.frame >= m.duration) m.healParticles.clear();
}

void statObjects(const Step& s) {
    MagicInstance& m = s.m;
    if (m.frame == 1)
        sound(m.name == "Virus" ? "virus" : s.spell.target == TARGET_ALLY ? "ImprovementMagic" : "ReductionMagic");
    if (!s.burst || s.spell.pictureCount < 1) return;
    sound("SnakeHit");
    AttrObject a;
    a.y = static_cast<float>(roll(WINDOW_HEIGHT));
    a.x = static_cast<float>(roll(960));
    a.size = 100 + roll(100);
    a.span = 5 * a.size;
    a.endFrame = m.frame + 4 + roll(10);
    a.angle = roll(360);
    a.picture = roll(s.spell.pictureCount) + 1;
    a.startFrame = m.frame;
    m.attrObjects.push_back(a);
}

void shield(const Step& s) {
    if (s.m.frame == 1) sound("ShieldUp");
}

void ice(const Step& s) {
    if (s.m.frame == 1) sound("IceMagic");
}

void frozenOrbs(const Step& s) {
    if (!s.burst) return;
    sound("FrozenOrb");
    FrozenOrb o;
    o.y = static_cast<float>(540 + roll(270));
    o.x = static_cast<float>(roll(960));
    o.endFrame = s.m.frame + 4 + roll(20);
    o.startFrame = s.m.frame;
    s.m.frozenOrbs.push_back(o);
}

void demonDaze(const Step& s) {
    if (s.m.frame == 1) sound("DazeMagic");
}

void dracaris(const Step& s) {
    if (s.m.frame == 1) sound("FlameMagic");
}

void call(const Step& s) {
    if (s.m.frame == 1) sound("CallMagic");
}

void baham(const Step& s) {
    if (s.m.frame == 1) sound("CallMagic");
    if (s.m.frame == s.m.duration / 2) sound("FlameMagic");
}

void bolts(const Step& s) {
    MagicInstance& m = s.m;
    if (m.frame == 1) sound("BoltAmbience");
    for (MagicBolt& b : m.bolts) --b.life;
    std::erase_if(m.bolts, [](const MagicBolt& b) { return b.life <= 0; });
    if (!s.burst) return;
    sound("BoltExplosion2");
    const int h = height(m);
    MagicBolt b;
    b.life = m.frame + roll(m.duration - m.frame);
    b.bottomY = m.topLeft.y + h / 2 + roll(h / 2);
    b.topY = m.topLeft.y + roll(h / 2);
    b.x = m.topLeft.x + roll(width(m));
    m.bolts.push_back(b);
}

void droppedObjects(const Step& s) {
    MagicInstance& m = s.m;
    for (const DroppedObject& d : m.droppedObjects)
        if (m.frame == d.startFrame + d.fallFrames) sound("MetalImpact");
    if (!s.burst) return;
    DroppedObject d;
    d.x = roll(740);
    d.y = 540 + roll(360);
    d.picture = roll(s.spell.pictureCount) + 1;
    d.fallFrames = 1 + roll(4);
    d.startFrame = m.frame;
    m.droppedObjects.push_back(d);
}

void darkness(const Step& s) {
    if (s.m.frame == 1) sound("Darkness");
}

// The stat objects of kind 15, then the digit rain's dots and the console's sounds.
void hack(const Step& s) {
    statObjects(s);
    MagicInstance& m = s.m;
    if (m.frame == 1)
        for (int i = 0; i < 100; ++i) {
            HackDot d;
            d.x = roll(960);
            d.y = 5 + roll(40);
            d.appearFrame = roll(m.duration);
            m.hackDots.push_back(d);
        }
    if (m.name == "HackImplosion" && m.frame == m.duration - spellfx::animationLength("Explosion"))
        sound("explosion");
    if (m.name == "HackControl" && m.frame == m.duration) sound("Zemguened2");
}

void planes(const Step& s) {
    MagicInstance& m = s.m;
    if (s.burst) {
        AirPlane p;
        p.startY = roll(540);
        p.endY = roll(100);
        p.startFrame = m.frame;
        p.endFrame = m.frame + 1 + roll(m.duration - m.frame + 1);
        p.dropFrame = -1;
        m.planes.push_back(p);
    }
    for (AirPlane& p : m.planes) {
        const int span = std::max(1, p.endFrame - p.startFrame);
        p.y = static_cast<float>(p.startY + (p.endY - p.startY) * (m.frame - p.startFrame) / span);
        p.x = static_cast<float>(WINDOW_WIDTH + (p.startFrame - m.frame) * WINDOW_WIDTH / span);
        if (p.dropFrame == -1 && p.x <= 640.f) {
            p.dropFrame = m.frame;
            p.dropY = static_cast<int>(p.y);
            p.dropX = static_cast<int>(p.x);
        }
    }
}

void funkyBombs(const Step& s) {
    MagicInstance& m = s.m;
    explodeBombs(m);
    if (!s.burst) return;
    FunkyBomb b;
    b.fromX = 1280.f;
    b.fromY = 540.f;
    b.toX = 640.f;
    b.toY = 540.f;
    b.startFrame = m.frame;
    b.explodeFrame = m.frame + 10 + roll(10);
    b.generation = 0;
    b.color = sf::Color(0, 0, 0, 255);
    b.size = 50;
    b.arc = 150 + roll(100);
    m.bombs.push_back(b);
}

} // namespace spellfx::step

bool spellfx::showsSparkles(const MagicInstance& m, const SpellKind& row) {
    return row.sparkles || m.name == "ChapterLady";
}

bool MagicInstance::advance() {
    ++frame;
    const Magic& spell = spellfx::spellOf(*this);
    const spellfx::SpellKind& row = spellfx::spellKind(spell.kind);
    const spellfx::Step step{*this, spell, effectFrames.count(frame) > 0};
    // In the order the kinds' table gives.
    if (row.early) row.early(step);
    if (spellfx::showsSparkles(*this, row)) spellfx::step::healSparkles(step);
    if (row.late) row.late(step);
    return frame >= duration;
}
