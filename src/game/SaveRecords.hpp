// The two save files read into staging records before anything of the running game changes:
// a save is applied only when both of its files have read whole.
#pragma once

#include "characters/Character.hpp"
#include "scenes/SceneState.hpp"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

// The first record of a game.save that ends in a closing record, and its people.save with it.
// Files without it were written before the closing records and are read as they are.
inline const std::string SAVE_FORMAT_KEY = "SAVEFORMAT";
constexpr int SAVE_FORMAT = 2;
inline const std::string GAME_SAVE_END = "ENDOFSAVE";
inline const std::string PEOPLE_SAVE_END = "EndOfSave";

struct PeopleSaveRecord {
    // Roster index -> the character as its line leaves it.
    std::map<int, Character> characters;
    // Lines of characters the roster does not have yet (planets not loaded).
    std::map<std::string, std::string> stored;
    bool closed = false;
    int endLine = 1; // the line after the last one read
};

struct PartyRecord {
    std::string key;
    std::vector<std::string> names;
};

struct GameSaveRecord {
    bool versioned = false;
    bool closed = false;
    int endLine = 1;
    std::string sceneToGo;
    int sceneLine = 0; // of the CURRENTSCENE record
    std::map<std::string, std::string> strVars;
    std::map<std::string, std::set<std::string>> setVars;
    std::set<std::string> boolVars;
    std::optional<bool> autoDistributeWeapons, autoDistributeFood;
    std::optional<int> targetFps, difficulty, chapter;
    std::map<std::string, int> shards;
    std::optional<std::string> lastShard;
    std::map<std::string, std::string> shardLocation;
    std::vector<PartyRecord> party;
    std::map<std::string, SceneState> scenes;
};

// Both end in the fatal assertion at the first record that does not read whole (an empty file
// included); path only names the place in it. The roster and the Game are read, not changed.
// A game file whose saved scene cannot be played on from (the start screen, a rocket trip to no
// known place) does not read whole either.
PeopleSaveRecord readPeopleSaveText(const std::string& text, const std::string& path);
GameSaveRecord readGameSaveText(const std::string& text, const std::string& path);
// A pair whose game.save carries the format record must have both closing records.
void checkSavePairClosed(const GameSaveRecord& game, const PeopleSaveRecord* people,
                         const std::string& gamePath, const std::string& peoplePath);
