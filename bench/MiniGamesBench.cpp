#include "minigames/EinsteinPuzzle.hpp"
#include "minigames/Salomao.hpp"
#include "minigames/Taco.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

// Entering the puzzle village generates a puzzle in the frame of entry: one generation per
// iteration, a new seed each time.
static void BM_PuzzleGenerate(benchmark::State& state) {
    std::ostringstream sink;
    auto* old = std::cout.rdbuf(sink.rdbuf()); // every generation logs its puzzle
    EinsteinPuzzle puzzle;
    unsigned seed = 1;
    for (auto _ : state) {
        std::srand(seed++);
        puzzle.generate();
        benchmark::DoNotOptimize(puzzle.sameHouseClues.data());
        sink.str("");
    }
    std::cout.rdbuf(old);
}
BENCHMARK(BM_PuzzleGenerate)->Unit(benchmark::kMillisecond)->Iterations(500);

// The widest count: colours only, no clue (1,728,000 assignments).
static void BM_PuzzleCountWithoutClues(benchmark::State& state) {
    EinsteinPuzzle puzzle;
    puzzle.solution = {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}, {4, 4, 4, 4}};
    for (auto _ : state) benchmark::DoNotOptimize(puzzle.numSolutions());
}
BENCHMARK(BM_PuzzleCountWithoutClues)->Unit(benchmark::kMicrosecond);

// The obstacle course is built at start-up: 30 levels, up to 300 tries each.
static void BM_CourseConstruction(benchmark::State& state) {
    for (auto _ : state) {
        std::srand(4044);
        Taco course;
        benchmark::DoNotOptimize(course.levels.data());
    }
}
BENCHMARK(BM_CourseConstruction)->Unit(benchmark::kMillisecond);

// A level walled off half-way: the search has to flood the whole left half before it gives up.
static void BM_CourseSearchWalledLevel(benchmark::State& state) {
    TacoLevel level;
    level.obstacles = {{1000, 50, 1050, 1030}, {300, 50, 400, 300}, {600, 700, 700, 1030}};
    for (auto _ : state) benchmark::DoNotOptimize(Taco::isSolvable(level));
}
BENCHMARK(BM_CourseSearchWalledLevel)->Unit(benchmark::kMicrosecond);

// The cave is dug at start-up and after every finished game: 90,000 cells.
static void BM_CaveGenerate(benchmark::State& state) {
    SalomaoGame cave;
    std::srand(4044);
    for (auto _ : state) cave.generate();
}
BENCHMARK(BM_CaveGenerate)->Unit(benchmark::kMillisecond);
