// The treasure demon's loot and the scene's pending message.
#pragma once

#include <string>
#include <vector>

class ItemList;

// 2 to 5 catalogue indices (repeats allowed) of items no better than the party's best equipped
// item. No candidate: no loot, and no random number beyond the count is drawn.
std::vector<int> treasureDemonDrop(const ItemList& catalogue);

// Whether an item may drop, given the party's best equipped score.
bool isTreasureCandidate(const ItemList& catalogue, int index, int best);

// A message waiting to be shown, with the fanfare that announces a found shard.
struct PendingMessage {
    std::string text;
    bool fanfare = false;
};

// The text, leaving the record empty; "ShardFanfare" plays when the fanfare flag is set and the
// call is not silent.
std::string popPendingMessage(PendingMessage& message, bool silent);
