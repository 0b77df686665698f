// The walk over the game folder that start-up and planet loading share.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// The entries directly in a folder, sorted by name, so that every run and every machine walks
// them in the same order (none when the folder cannot be read).
std::vector<std::filesystem::directory_entry> sortedEntries(const std::filesystem::path& folder);

// A scene file is any file whose name contains "scene.txt".
bool isSceneFile(const std::filesystem::directory_entry& entry);

// The planets: each folder under "Game" with scene files in it, found by the names of its scenes
// (scene name to planet folder). A scene file without a name is reported and left out.
std::map<std::string, std::string> planetScenes();

// A planet's own people: the file in its folder under "Game" that loading the planet reads.
std::string planetCharactersFile(const std::string& planet);

// One line of "Game.txt": the kind of data file ("Characters", "Enemies", "Magic", "Items",
// "Potions") and its path.
struct GameFileLine {
    std::string kind, path;
};

// The lines of "Game.txt" as start-up reads them, up to the first empty one after the first
// line; false when there is no "Game.txt".
bool readGameIndex(std::vector<GameFileLine>& lines);
