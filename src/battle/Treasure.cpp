#include "battle/Treasure.hpp"

#include "battle/Items.hpp"

std::vector<int> treasureDemonDrop(const ItemList& catalogue) { return {}; }
bool isTreasureCandidate(const ItemList& catalogue, int index, int best) { return false; }
std::string popPendingMessage(PendingMessage& message, bool silent) { return ""; }
