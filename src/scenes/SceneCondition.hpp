// An If or IfOnce block of a scene file: a condition, and the script lines run when it holds.
#pragma once

#include <string>
#include <vector>

struct SceneCondition {
    // FLAG NOFLAG SHARD NOSHARD ITEM NOITEM CHAPTER WON ALWAYS
    std::string kind;
    std::string argument;
    bool once = false;   // IfOnce: runs at most once per game
    bool played = false;
    std::vector<std::string> body;

    // The kind, a space and the argument: how the save file names the block.
    std::string key() const { return kind + " " + argument; }

    // Whether the condition holds now; a played IfOnce block never holds again.
    bool isTrue() const;
};

// The kinds a condition may name; any other is refused by the loader.
bool isConditionKind(const std::string& word);
