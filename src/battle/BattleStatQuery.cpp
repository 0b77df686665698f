// Whether a combatant carries a battle-time change of a stat (the character view marks it).
#include "battle/Battle.hpp"

bool Battle::hasStatModifier(long long combatant, Stat stat) const {
    if (!modifierTurns.count(combatant)) return false;
    const auto entry = statModifiers.find(combatant);
    // Turns counted without any change recorded: the two records have come apart.
    if (entry == statModifiers.end()) fatalAssert("Battle", 2886, combatant);
    const auto amount = entry->second.find(int(stat));
    return amount != entry->second.end() && amount->second != 0;
}
