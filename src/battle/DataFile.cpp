#include "battle/DataFile.hpp"

#include "foundation/main.hpp"
#include "game/LoadingScreen.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

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
        std::cout << "ERROR file " << path << " doesn't exist" << std::endl;
        char c = 0;
        std::cin >> c;
        std::exit(1);
    }
    std::uintmax_t size = fs::is_regular_file(status) ? fs::file_size(path, ec) : 0;
    if (ec) size = 0;

    std::string word;
    in >> word;
    while (true) {
        if (in.eof() && word.empty()) break;
        if (window) {
            float fraction = 1.0f;
            if (size != 0 && !in.eof()) {
                std::streamoff pos = in.tellg();
                fraction = pos < 0 ? 1.0f : static_cast<float>(pos) / static_cast<float>(size);
            }
            showLoadingScreen(window, overall, fraction);
        }
        std::string rest;
        std::getline(in, rest);
        if (!word.empty() && word[0] != '#') onLine(word, rest);
        if (in.eof()) break;
        // A failed extraction leaves the old word in place: clear it so a blank tail ends the loop.
        word.clear();
        in >> word;
    }
}
