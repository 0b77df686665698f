#include "foundation/main.hpp"

#include <benchmark/benchmark.h>

static void BM_PointsAroundKnight(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pointsAround({5, 5}, 1, 2));
}
BENCHMARK(BM_PointsAroundKnight);

// Gem outlines are rebuilt for every shard drawn, so their cost shows up per frame.
static void BM_RandomJaggedPolygon(benchmark::State& state) {
    int seed = 1;
    for (auto _ : state) benchmark::DoNotOptimize(randomJaggedPolygon(seed++, state.range(0) != 0));
}
BENCHMARK(BM_RandomJaggedPolygon)->Arg(0)->Arg(1);
