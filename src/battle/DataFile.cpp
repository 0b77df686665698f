#include "battle/DataFile.hpp"

#include "foundation/main.hpp"
#include "game/LoadingScreen.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

void readDataFile(const std::string& path, sf::RenderWindow* window, float overall,
                  const char* source, int missingLine,
                  const std::function<void(const std::string&, const std::string&)>& onLine) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) fatalAssert(source, missingLine, path);

    std::ifstream in(path);
    // A folder opens on this platform but reads nothing.
    if (!in.good() || fs::is_directory(status)) {
        // The same words as ever, then the one stop every reader's bad data comes to (it pauses
        // for a key and ends the program as this did, and a caller that can go on may catch it).
        consoleLine("ERROR file ", path, " doesn't exist");
        fatalAssert(source, missingLine, path);
    }
    std::uintmax_t size = fs::is_regular_file(status) ? fs::file_size(path, ec) : 0;
    if (ec) size = 0;

    // Line by line, so that a fatal assertion names the line of the bad data.
    ReadingPlace place(path);
    std::string line;
    int lineNumber = 0;
    std::streamoff next = in.tellg();
    while (true) {
        const std::streamoff start = next;
        if (!std::getline(in, line)) break;
        next = in.tellg();
        ++lineNumber;
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;
        if (window) {
            // The fraction read once the line's first word is in.
            const std::streamoff inLine = words.eof() ? std::streamoff(line.size()) : std::streamoff(words.tellg());
            const std::streamoff pos = start < 0 ? -1 : start + inLine;
            float fraction = 1.0f;
            if (size != 0 && pos >= 0 && pos < static_cast<std::streamoff>(size))
                fraction = static_cast<float>(pos) / static_cast<float>(size);
            showLoadingScreen(window, overall, fraction);
        }
        place.setLine(lineNumber);
        place.setStatement(word);
        std::string rest;
        std::getline(words, rest);
        if (word[0] != '#') onLine(word, rest);
    }
}
