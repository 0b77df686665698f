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
#include <iostream>

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

bool MagicInstance::advance() {
    ++frame;
    const Magic& spell = spellfx::spellOf(*this);
    const int kind = spell.kind;
    const bool burst = effectFrames.count(frame) > 0;
    const int w = width(*this), h = height(*this);

    // Kinds 0 to 14 and 23.
    switch (kind) {
    case MAGIC_TORNADO:
        if (frame == 1) sound(name == "GreatGig" ? "PieceOfPiano" : "WindMagic");
        if (burst) addFallingObject(*this, spell, false);
        break;
    case MAGIC_PATRICIAN:
        if (burst) {
            for (int i = 0; i < 30; ++i) {
                PatricianShot s;
                s.speed = 9 + roll(9);
                s.startX = roll(960);
                s.endFrame = frame + 4 + roll(10);
                const Point t = middleThird(*this);
                s.targetX = t.x;
                s.targetY = t.y;
                s.startFrame = frame;
                patricianShots.push_back(s);
            }
            sound("Patrician");
        }
        std::erase_if(patricianShots, [&](const PatricianShot& s) { return s.endFrame < frame; });
        break;
    case MAGIC_LASER:
        if (frame == 1) {
            sound("laser");
            laserTarget = middleThird(*this);
        }
        break;
    case MAGIC_DEMONSCARE:
        for (DemonObject& d : demonObjects) {
            d.angle = (d.angle + d.spin) % 360;
            d.size += d.growth;
            if (d.size <= 0) {
                d.size = 1;
                d.growth = std::abs(d.growth);
            }
        }
        if (burst) {
            sound(spell.pictureBase.empty() ? "EvilLaugh" : "Amile");
            DemonObject d;
            d.x = roll(960);
            d.y = roll(WINDOW_HEIGHT);
            d.size = 50 + roll(640);
            d.angle = roll(360);
            d.spin = roll(30);
            d.growth = roll(10) - 5;
            demonObjects.push_back(d);
        }
        break;
    case MAGIC_BATATTACK: {
        if (frame == 1) sound("BatAttack");
        const int n = spellfx::animationLength("Bat");
        for (MagicBat& b : bats) b.picture = n > 0 ? (b.picture + 1) % n : 0;
        if (burst) {
            MagicBat b;
            b.startX = roll(960);
            b.startY = WINDOW_HEIGHT;
            const Point t = middleThird(*this);
            b.targetX = t.x;
            b.targetY = t.y;
            b.spanA = 4 * TILE_SIZE + roll(5 * TILE_SIZE);
            b.spanB = TILE_SIZE;
            b.launchFrame = frame;
            b.picture = 0;
            b.arrivalFrame = frame + 4 + roll(10);
            bats.push_back(b);
        }
        break;
    }
    case MAGIC_INFERNALV:
        if (burst) {
            sound("MonsterSlash");
            const Point p = middleThird(*this);
            slashes.push_back({p.x, p.y, frame + 10 + roll(10)});
        }
        if (frame == 1 && level >= 2) {
            sound("FireWinds");
            addFallingObject(*this, spell, true);
        }
        if (frame == duration - spellfx::animationLength("Explosion")) {
            sound("explosion");
            consoleLine("Playing explosion sound");
        }
        break;
    case MAGIC_CATESCAPE:
        if (burst) {
            sound("CatMiau");
            const Point p = middleThird(*this);
            escapingCats.push_back({p.x, p.y, frame});
        }
        break;
    case MAGIC_MISSLE:
        for (MagicMissile& mi : missiles)
            if (mi.hitFrame < frame) ++mi.framesSinceHit;
        for (const MagicMissile& mi : missiles)
            if (mi.hitFrame == frame) sound(name == "BloodSpit" ? "FoodSlash" : "explosion");
        if (burst) {
            const Point t = middleThird(*this);
            MagicMissile mi;
            mi.startX = 1440.f;
            mi.startY = 540.f;
            mi.targetX = static_cast<float>(t.x);
            mi.targetY = static_cast<float>(t.y);
            mi.launchFrame = frame;
            mi.hitFrame = frame + 7;
            missiles.push_back(mi);
        }
        break;
    case MAGIC_BUBBLES:
        if (frame == 1 && name == "Poison") sound("Poison");
        for (MagicBubble& b : bubbles) b.y -= 25;
        if (burst) {
            const int k = roll(100);
            MagicBubble b;
            b.size = 75 + k;
            b.x = roll(960);
            b.y = 1155 + k;
            bubbles.push_back(b);
        }
        break;
    case MAGIC_FLAME:
        if (frame == 1) sound("FlameMagic");
        break;
    case MAGIC_CATDRAMA:
        if (burst) sound("catDrama");
        break;
    case MAGIC_POLOIAN:
        if (frame == 1) {
            sound("Poloian");
            addFallingObject(*this, spell, false);
        }
        break;
    case MAGIC_YEOJ:
        if (frame == 1) addFallingObject(*this, spell, false);
        break;
    default:
        break;
    }
    if (kind == MAGIC_TORNADO || kind == MAGIC_INFERNALV || kind == MAGIC_POLOIAN || kind == MAGIC_YEOJ)
        spinDecorations(*this);

    // Healing sparkles.
    if (kind == MAGIC_CURE || name == "ChapterLady") {
        if (frame == 1) sound("Heal");
        if (frame < duration / 2 && frame % 2 == 1) {
            const int count = level * 300;
            healParticles.reserve(healParticles.size() + static_cast<std::size_t>(std::max(count, 0)));
            for (int i = 0; i < count; ++i) {
                HealParticle p;
                p.color = spell.levelColor(level);
                p.jitter = static_cast<float>(roll(5));
                p.shape = roll(6);
                p.x = static_cast<float>(topLeft.x - 5 + roll(10) + 6 * frame);
                p.y = static_cast<float>(topLeft.y + roll(h / 10));
                p.birthFrame = frame;
                p.speed = static_cast<float>(roll(2200) / 100) + 1.0f;
                healParticles.push_back(p);
            }
        }
        if (frame >= duration) healParticles.clear();
    }

    // Stat objects.
    if (kind == MAGIC_ATTROBJS || kind == MAGIC_HACK) {
        if (frame == 1)
            sound(name == "Virus" ? "virus" : spell.target == TARGET_ALLY ? "ImprovementMagic" : "ReductionMagic");
        if (burst && spell.pictureCount >= 1) {
            sound("SnakeHit");
            AttrObject a;
            a.y = static_cast<float>(roll(WINDOW_HEIGHT));
            a.x = static_cast<float>(roll(960));
            a.size = 100 + roll(100);
            a.span = 5 * a.size;
            a.endFrame = frame + 4 + roll(10);
            a.angle = roll(360);
            a.picture = roll(spell.pictureCount) + 1;
            a.startFrame = frame;
            attrObjects.push_back(a);
        }
    }

    // Kinds 16 to 22 and 24 to 29.
    switch (kind) {
    case MAGIC_SHIELD:
        if (frame == 1) sound("ShieldUp");
        break;
    case MAGIC_ICE:
        if (frame == 1) sound("IceMagic");
        break;
    case MAGIC_FROZENORB:
        if (burst) {
            sound("FrozenOrb");
            FrozenOrb o;
            o.y = static_cast<float>(540 + roll(270));
            o.x = static_cast<float>(roll(960));
            o.endFrame = frame + 4 + roll(20);
            o.startFrame = frame;
            frozenOrbs.push_back(o);
        }
        break;
    case MAGIC_DEMONDAZE:
        if (frame == 1) sound("DazeMagic");
        break;
    case MAGIC_DRACARIS:
        if (frame == 1) sound("FlameMagic");
        break;
    case MAGIC_CALL:
        if (frame == 1) sound("CallMagic");
        break;
    case MAGIC_BAHAM:
        if (frame == 1) sound("CallMagic");
        if (frame == duration / 2) sound("FlameMagic");
        break;
    case MAGIC_BOLTIOLT:
        if (frame == 1) sound("BoltAmbience");
        for (MagicBolt& b : bolts) --b.life;
        std::erase_if(bolts, [](const MagicBolt& b) { return b.life <= 0; });
        if (burst) {
            sound("BoltExplosion2");
            MagicBolt b;
            b.life = frame + roll(duration - frame);
            b.bottomY = topLeft.y + h / 2 + roll(h / 2);
            b.topY = topLeft.y + roll(h / 2);
            b.x = topLeft.x + roll(w);
            bolts.push_back(b);
        }
        break;
    case MAGIC_FALLINGOBJS:
        for (const DroppedObject& d : droppedObjects)
            if (frame == d.startFrame + d.fallFrames) sound("MetalImpact");
        if (burst) {
            DroppedObject d;
            d.x = roll(740);
            d.y = 540 + roll(360);
            d.picture = roll(spell.pictureCount) + 1;
            d.fallFrames = 1 + roll(4);
            d.startFrame = frame;
            droppedObjects.push_back(d);
        }
        break;
    case MAGIC_DARKNESS:
        if (frame == 1) sound("Darkness");
        break;
    case MAGIC_HACK:
        if (frame == 1)
            for (int i = 0; i < 100; ++i) {
                HackDot d;
                d.x = roll(960);
                d.y = 5 + roll(40);
                d.appearFrame = roll(duration);
                hackDots.push_back(d);
            }
        if (name == "HackImplosion" && frame == duration - spellfx::animationLength("Explosion"))
            sound("explosion");
        if (name == "HackControl" && frame == duration) sound("Zemguened2");
        break;
    case MAGIC_AIRSTRIKE:
        if (burst) {
            AirPlane p;
            p.startY = roll(540);
            p.endY = roll(100);
            p.startFrame = frame;
            p.endFrame = frame + 1 + roll(duration - frame + 1);
            p.dropFrame = -1;
            planes.push_back(p);
        }
        for (AirPlane& p : planes) {
            const int span = std::max(1, p.endFrame - p.startFrame);
            p.y = static_cast<float>(p.startY + (p.endY - p.startY) * (frame - p.startFrame) / span);
            p.x = static_cast<float>(WINDOW_WIDTH + (p.startFrame - frame) * WINDOW_WIDTH / span);
            if (p.dropFrame == -1 && p.x <= 640.f) {
                p.dropFrame = frame;
                p.dropY = static_cast<int>(p.y);
                p.dropX = static_cast<int>(p.x);
            }
        }
        break;
    case MAGIC_FUNKYBOMB:
        explodeBombs(*this);
        if (burst) {
            FunkyBomb b;
            b.fromX = 1280.f;
            b.fromY = 540.f;
            b.toX = 640.f;
            b.toY = 540.f;
            b.startFrame = frame;
            b.explodeFrame = frame + 10 + roll(10);
            b.generation = 0;
            b.color = sf::Color(0, 0, 0, 255);
            b.size = 50;
            b.arc = 150 + roll(100);
            bombs.push_back(b);
        }
        break;
    default:
        break;
    }
    return frame >= duration;
}
