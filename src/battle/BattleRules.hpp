// The arithmetic of a battle action's hit, apart from the close-up that shows it: plain-attack
// damage and the experience an action earns.
#pragma once

#include <string>
#include <vector>

struct Character;

namespace battlerules {

// The HP a plain attack of value attack (above 0) takes from target: attack minus the target's
// defence (DEX and SPD, each at least 1), doubled when deadly, minus SHL and AMR; at least 1.
int attackDamage(int attack, const Character& target, bool deadly);

// Experience before division and equipment: for a standing target 5, 10 or 20 by (target is a
// member, spell); for a defeated one 60 (caster) or 40 times the stat sums' ratio, 5..48.
int experienceBase(const Character& actor, const Character& target, bool targetIsMember, bool spell,
                   bool defeated);

// base shared among targetCount targets, times the whole-number product of the equipped XP
// factors, raised for several targets.
int experienceShare(int base, int targetCount, const Character& actor);

} // namespace battlerules
