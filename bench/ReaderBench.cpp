// The maze carve (a scene may ask for up to 511 by 511 cells), reading a scene file's numbers, each
// held to its range, and reading the demo's scene files whole.
#include "scenes/Maze.hpp"

#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

static void BM_CarveMaze(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    std::srand(7);
    for (auto _ : state) benchmark::DoNotOptimize(carveMaze(side, side));
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_CarveMaze)->Arg(20)->Arg(100)->Arg(511)->Unit(benchmark::kMicrosecond);

// A line of tile pairs through the checked reader: the cost of the range checks per number.
static void BM_ReadTilePairs(benchmark::State& state) {
    std::string line;
    for (int i = 0; i < 500; ++i) line += std::to_string(i % 90) + " " + std::to_string(i % 70) + " ";
    for (auto _ : state) {
        std::istringstream in(line);
        benchmark::DoNotOptimize(WordReader(in, "Bench", 1).points());
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ReadTilePairs);

// Every scene file of the demo read from memory into a fresh scene, as the program's start reads
// them (Mandelbrot pictures, whose cache costs more than the rest, left out): the cost of going
// from a statement's word to what it does, line by line.
struct SceneTexts {
    People roster;
    ItemList items;
    MagicRepository spells;
    PotionRepository potions;
    std::unique_ptr<Game> shell = std::make_unique<Game>();
    std::vector<std::pair<std::string, std::string>> files; // path, text

    SceneTexts() {
        namespace fs = std::filesystem;
        fs::current_path(QUORVANE_RUN_DIR);
        resources = nullptr;
        people = &roster;
        itemList = &items;
        magicRepository = &spells;
        potionRepository = &potions;
        game = shell.get();
        shell->readGameFile(nullptr, 0.5f);
        std::vector<fs::path> folders{"Game"};
        for (const auto& entry : fs::directory_iterator("Game"))
            if (entry.is_directory()) folders.push_back(entry.path());
        for (const fs::path& folder : folders)
            if (folder != "Game" && fs::exists(folder / "Characters.txt"))
                roster.loadCharacters((folder / "Characters.txt").generic_string(), nullptr, 0.0f, false, nullptr);
        for (const fs::path& folder : folders)
            for (const auto& entry : fs::directory_iterator(folder)) {
                if (entry.path().filename().string().find("scene.txt") == std::string::npos) continue;
                std::ifstream in(entry.path());
                std::ostringstream text;
                text << in.rdbuf();
                if (text.str().find("\nMandelbrot ") == std::string::npos)
                    files.push_back({entry.path().generic_string(), text.str()});
            }
        std::sort(files.begin(), files.end());
    }
};

static void BM_LoadDemoScenes(benchmark::State& state) {
    std::cout.setstate(std::ios::failbit);
    static SceneTexts* demo = new SceneTexts();
    long long lines = 0;
    for (const auto& file : demo->files) lines += std::count(file.second.begin(), file.second.end(), '\n');
    for (auto _ : state)
        for (const auto& [path, text] : demo->files) {
            Scene scene;
            benchmark::DoNotOptimize(scene.loadText(text, path));
        }
    state.SetItemsProcessed(state.iterations() * lines);
    std::cout.clear();
}
BENCHMARK(BM_LoadDemoScenes)->Unit(benchmark::kMillisecond);
