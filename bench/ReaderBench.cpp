// The maze carve (a scene may ask for up to 511 by 511 cells) and reading a scene file, whose
// every number now meets its range.
#include "scenes/Maze.hpp"

#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
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
