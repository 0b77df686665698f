// The walk over the game folder that start-up and planet loading share.
#pragma once

#include <filesystem>
#include <vector>

// The entries directly in a folder, sorted by name, so that every run and every machine walks
// them in the same order (none when the folder cannot be read).
std::vector<std::filesystem::directory_entry> sortedEntries(const std::filesystem::path& folder);

// A scene file is any file whose name contains "scene.txt".
bool isSceneFile(const std::filesystem::directory_entry& entry);
