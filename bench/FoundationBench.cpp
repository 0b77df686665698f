#include "foundation/main.hpp"

#include <benchmark/benchmark.h>

static void BM_PointsAroundKnight(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pointsAround({5, 5}, 1, 2));
}
BENCHMARK(BM_PointsAroundKnight);
