// The treasure demon's loot and the taking of a pending message.
#include "battle/Treasure.hpp"

#include "battle/Items.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <algorithm>
#include <cstdlib>

bool isTreasureCandidate(const ItemList& catalogue, int index, int best) {
    const Item& item = catalogue.at(index);
    if (item.type == Item::WEAPON || item.type == Item::SPECIAL) return false;
    // The XP entry is an experience factor (1 by default), not a bonus: it takes no part in
    // the usable item's two tests.
    bool scoreTestPassed = false;
    if (item.type == Item::USABLE) {
        bool otherPositive = false, allZero = true;
        for (int s = 0; s < STAT_COUNT; ++s) {
            if (s == XP) continue;
            if (item.bonuses[s] != 0.0f) allZero = false;
            if (s != HP && s != MP && item.bonuses[s] > 0.0f) otherPositive = true;
        }
        if (allZero) return false;
        scoreTestPassed = !otherPositive;
    }
    if (!scoreTestPassed && Item::score(catalogue, index) > best) return false;
    return item.allowedClasses.empty() && !item.unique;
}

std::vector<int> treasureDemonDrop(const ItemList& catalogue) {
    const int picks = 2 + std::rand() % 4;
    int best = 1;
    if (people != nullptr)
        for (int member : people->party) {
            const Character& c = people->at(member);
            for (int item : {c.weapon, c.accessory1, c.accessory2}) best = std::max(best, Item::score(catalogue, item));
        }
    std::vector<int> candidates;
    for (int i = 0; i < catalogue.size(); ++i)
        if (isTreasureCandidate(catalogue, i, best)) candidates.push_back(i);
    std::vector<int> loot;
    // Nothing qualifies: no loot (and no draw among nothing).
    if (candidates.empty()) return loot;
    for (int k = 0; k < picks; ++k) {
        const int j = candidates[static_cast<std::size_t>(std::rand() % static_cast<int>(candidates.size()))];
        loot.push_back(j);
        consoleLine("Treasure Demon will drop ", catalogue.at(j).name);
    }
    return loot;
}

std::string popPendingMessage(PendingMessage& message, bool silent) {
    std::string text = message.text;
    message.text.clear();
    message.fanfare = false;
    if (message.fanfare && !silent && resources != nullptr) resources->playSound("ShardFanfare");
    return text;
}
