// The line loop shared by the item, spell and potion files.
#pragma once

#include <functional>
#include <string>

namespace sf {
class RenderWindow;
}

// Calls onLine(first word, rest of line) for every line that is neither empty nor a comment
// ("#..."), redrawing the loading screen once per line when window is not null. A file that does
// not exist is the fatal assertion (source, missingLine, path); one that exists but cannot be
// read (a folder) is reported as "ERROR file <path> doesn't exist", then the same assertion.
void readDataFile(const std::string& path, sf::RenderWindow* window, float overall,
                  const char* source, int missingLine,
                  const std::function<void(const std::string& word, const std::string& rest)>& onLine);
