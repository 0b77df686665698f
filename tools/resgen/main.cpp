// Writes the demo game's Resources tree into the folder given as the only argument: every
// registered art function runs once, in name order, into a freshly emptied folder.
#include "Art.hpp"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <iostream>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_resources <Resources folder>\n";
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::filesystem::path root = argv[1];
    // The folder is emptied first: refuse anything but a "Resources" folder, so that a mistyped
    // argument cannot wipe an unrelated directory.
    std::filesystem::path named = root.lexically_normal();
    if (named.filename().empty()) named = named.parent_path(); // a trailing "/"
    if (named.filename() != "Resources") {
        std::cerr << "make_resources: the output folder must be named Resources\n";
        return 2;
    }
    // Start empty so that a picture an art file stopped making does not linger.
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    art::Context ctx(root);
    auto all = art::registry();
    std::sort(all.begin(), all.end(),
              [](const art::Registered& a, const art::Registered& b) { return a.name < b.name; });
    std::vector<std::pair<long long, std::string>> timings;
    for (const auto& entry : all) {
        const auto begin = std::chrono::steady_clock::now();
        try {
            entry.fn(ctx);
        } catch (const std::exception& e) {
            std::cerr << "make_resources: " << entry.name << ": " << e.what() << "\n";
            return 1;
        }
        timings.emplace_back(std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - begin).count(),
                             entry.name);
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start).count();
    std::cout << "make_resources: " << ctx.filesWritten() << " files, "
              << ctx.bytesWritten() / 1024 << " KiB, " << all.size() << " art sets, " << ms
              << " ms\n";
    // The slowest art sets, so that whoever makes the build slow can see it.
    std::sort(timings.rbegin(), timings.rend());
    std::cout << "make_resources: slowest:";
    for (std::size_t i = 0; i < timings.size() && i < 4; ++i)
        std::cout << " " << timings[i].second << " " << timings[i].first << " ms";
    std::cout << "\n";
    return 0;
}
