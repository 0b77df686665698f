// What of a scene survives in the save file: its chests (an empty item name marks an opened
// one), whether its battle was won, and the IfOnce blocks already played.
#pragma once

#include "foundation/main.hpp"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

struct SavedChest {
    std::string item;
    Point tile;
    bool operator==(const SavedChest&) const = default;
};

struct SceneState {
    std::vector<SavedChest> chests;
    bool battleWon = false;
    std::vector<std::string> playedBlocks; // block keys: kind, space, argument
    // Chests a script queued for the next entry ("ChestNextEntry"); written after the played
    // blocks as "PENDING", so that readers of older lines simply stop before it.
    std::vector<SavedChest> pendingChests;

    // The words after "SCENE <name> ", without a line end.
    void write(std::ostream& out) const;
    // Reads what write wrote, from the rest of a "SCENE" line.
    void read(std::istream& in);
};
