// Helpers shared by the spell effects' rules and drawing, and the table that says, for each spell
// kind, how its effect steps and what it draws.
#pragma once

#include "battle/Magic.hpp"

#include <array>
#include <string>

struct MagicInstance;

namespace sf {
class RenderTarget;
}

namespace spellfx {
// rand() % n, or 0 without a draw when n is 0 or less.
int roll(int n);
// Plays a sound of the resource store; silent when it has none (or there is no store).
void sound(const std::string& name);
// Frames of an animation of the resource store; 0 without a store.
int animationLength(const std::string& name);
// The instance's spell; an unknown name is fatal.
const Magic& spellOf(const MagicInstance& m);

// One frame of an effect being stepped: the frame counter is already moved on, and `burst` says
// whether the new frame is one of the instance's burst frames.
struct Step {
    MagicInstance& m;
    const Magic& spell;
    bool burst;
};
using StepFn = void (*)(const Step&);
using PaintFn = void (*)(const MagicInstance&, const Magic&, sf::RenderTarget&);

// Each kind's particles and sounds of one frame (SpellEffect.cpp).
namespace step {
void tornado(const Step& s);
void patrician(const Step& s);
void laser(const Step& s);
void demonScare(const Step& s);
void bats(const Step& s);
void infernalV(const Step& s);
void catEscape(const Step& s);
void missiles(const Step& s);
void bubbles(const Step& s);
void flame(const Step& s);
void catDrama(const Step& s);
void poloian(const Step& s);
void yeoj(const Step& s);
void healSparkles(const Step& s);
void statObjects(const Step& s);
void shield(const Step& s);
void ice(const Step& s);
void frozenOrbs(const Step& s);
void demonDaze(const Step& s);
void dracaris(const Step& s);
void call(const Step& s);
void baham(const Step& s);
void bolts(const Step& s);
void droppedObjects(const Step& s);
void darkness(const Step& s);
void hack(const Step& s);
void planes(const Step& s);
void funkyBombs(const Step& s);
} // namespace step

// Each kind's pictures of one frame (SpellEffectDraw.cpp); drawing calls rand() and plays a few
// sounds in the order each kind gives.
namespace paint {
void fallingObjects(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void patrician(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void laser(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void demonScare(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void bats(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void infernalV(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void catEscape(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void missiles(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void bubbles(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void flame(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void catDrama(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void healSparkles(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void statObjects(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void shield(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void ice(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void frozenOrbs(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void demonDaze(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void dracaris(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void summon(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void baham(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void yeoj(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void bolts(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void droppedObjects(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void darkness(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void hackDigits(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
// The stat objects, then the console over them.
void statObjectsAndConsole(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void planes(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void bombs(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void zenguened(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void globe(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
// The backdrops shown before the hit frame.
void catEscapeBackdrop(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void catDramaBackdrop(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
void chaosBackdrop(const MagicInstance& m, const Magic& spell, sf::RenderTarget& window);
} // namespace paint

// What a spell kind does. The close-up shows the whole effect over the target and under the
// actor: before the hit frame only the kind's backdrop, from the hit frame on its pictures. A
// frame runs, in this order, the kind's early step, the heal sparkles' step, its late step; and
// draws, bottom to top, the kind's under picture, the heal sparkles, its over picture. The heal
// sparkles belong to the kinds whose row says so and to the spell "ChapterLady", whatever its
// kind; so a kind's early step and under picture come before them, the late and over after.
// A kind without a row entry steps or draws nothing there.
struct SpellKind {
    int kind = MAGIC_NO_KIND;
    StepFn early = nullptr;
    StepFn late = nullptr;
    PaintFn under = nullptr;
    PaintFn over = nullptr;
    bool sparkles = false;
    PaintFn backdrop = nullptr;
};

// One row per kind, in the kinds' order.
inline constexpr std::array<SpellKind, MAGIC_NO_KIND> SPELL_KINDS{{
    {.kind = MAGIC_TORNADO, .early = step::tornado, .under = paint::fallingObjects},
    {.kind = MAGIC_CURE, .sparkles = true},
    {.kind = MAGIC_BAD},
    {.kind = MAGIC_PATRICIAN, .early = step::patrician, .under = paint::patrician},
    {.kind = MAGIC_PELONADO},
    {.kind = MAGIC_LASER, .early = step::laser, .under = paint::laser},
    {.kind = MAGIC_DEMONSCARE, .early = step::demonScare, .under = paint::demonScare},
    {.kind = MAGIC_BATATTACK, .early = step::bats, .under = paint::bats},
    {.kind = MAGIC_INFERNALV, .early = step::infernalV, .under = paint::infernalV},
    {.kind = MAGIC_CATESCAPE, .early = step::catEscape, .under = paint::catEscape, .backdrop = paint::catEscapeBackdrop},
    {.kind = MAGIC_MISSLE, .early = step::missiles, .under = paint::missiles},
    {.kind = MAGIC_BUBBLES, .early = step::bubbles, .under = paint::bubbles},
    {.kind = MAGIC_FLAME, .early = step::flame, .under = paint::flame},
    {.kind = MAGIC_CATDRAMA, .early = step::catDrama, .under = paint::catDrama, .backdrop = paint::catDramaBackdrop},
    {.kind = MAGIC_POLOIAN, .early = step::poloian, .under = paint::fallingObjects},
    {.kind = MAGIC_ATTROBJS, .late = step::statObjects, .over = paint::statObjects},
    {.kind = MAGIC_SHIELD, .late = step::shield, .over = paint::shield},
    {.kind = MAGIC_ICE, .late = step::ice, .over = paint::ice},
    {.kind = MAGIC_FROZENORB, .late = step::frozenOrbs, .over = paint::frozenOrbs},
    {.kind = MAGIC_DEMONDAZE, .late = step::demonDaze, .over = paint::demonDaze},
    {.kind = MAGIC_DRACARIS, .late = step::dracaris, .over = paint::dracaris},
    {.kind = MAGIC_CALL, .late = step::call, .over = paint::summon},
    {.kind = MAGIC_BAHAM, .late = step::baham, .over = paint::baham},
    {.kind = MAGIC_YEOJ, .early = step::yeoj, .under = paint::fallingObjects, .over = paint::yeoj},
    {.kind = MAGIC_BOLTIOLT, .late = step::bolts, .over = paint::bolts},
    {.kind = MAGIC_FALLINGOBJS, .late = step::droppedObjects, .over = paint::droppedObjects},
    {.kind = MAGIC_DARKNESS, .late = step::darkness, .over = paint::darkness},
    {.kind = MAGIC_HACK, .late = step::hack, .under = paint::hackDigits, .over = paint::statObjectsAndConsole},
    {.kind = MAGIC_AIRSTRIKE, .late = step::planes, .over = paint::planes},
    {.kind = MAGIC_FUNKYBOMB, .late = step::funkyBombs, .over = paint::bombs},
    {.kind = MAGIC_BUILDTOWER},
    {.kind = MAGIC_ZENGUENED, .over = paint::zenguened, .backdrop = paint::chaosBackdrop},
    {.kind = MAGIC_GLOBE199, .over = paint::globe},
}};

constexpr bool rowsInKindOrder() {
    for (std::size_t i = 0; i < SPELL_KINDS.size(); ++i)
        if (SPELL_KINDS[i].kind != static_cast<int>(i)) return false;
    return true;
}
static_assert(rowsInKindOrder(), "each spell kind's row stands at its own number");

// The row of a kind; an empty one for a number outside the table (a spell given no kind).
inline const SpellKind& spellKind(int kind) {
    static constexpr SpellKind NONE{};
    if (kind < 0 || kind >= static_cast<int>(SPELL_KINDS.size())) return NONE;
    return SPELL_KINDS[static_cast<std::size_t>(kind)];
}

// Whether the instance's frames step and draw heal sparkles (its kind's row, or its name).
bool showsSparkles(const MagicInstance& m, const SpellKind& row);
} // namespace spellfx
