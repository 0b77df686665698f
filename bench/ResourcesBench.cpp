#include "foundation/Resources.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace {

// The whole start-up resource load of the demo tree (no loading screen drawn).
void BM_LoadDemoTree(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("textures need a display");
        return;
    }
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(QUORVANE_RUN_DIR);
    for (auto _ : state) {
        Resources store;
        store.loadAll(nullptr);
        benchmark::DoNotOptimize(store.textures.size());
    }
    std::filesystem::current_path(old);
}
BENCHMARK(BM_LoadDemoTree)->Unit(benchmark::kMillisecond);

void BM_TextureLookup(benchmark::State& state) {
    Resources store;
    for (int i = 0; i < 200; ++i) store.misc["Picture" + std::to_string(i)];
    const std::string name = "Picture150";
    for (auto _ : state) benchmark::DoNotOptimize(&store.getMiscTexture(name));
}
BENCHMARK(BM_TextureLookup);

} // namespace
