// Writes the demo game's Resources tree into the folder given as the only argument.
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_resources <Resources folder>\n";
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    return 0;
}
