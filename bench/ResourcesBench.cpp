#include "foundation/Resources.hpp"
#include "game/LoadingScreen.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

// The whole start-up resource load of the demo tree; with a window every loader call also
// presents one loading frame, as the game does.
void BM_LoadDemoTree(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("textures need a display");
        return;
    }
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(QUORVANE_RUN_DIR);
    std::unique_ptr<sf::RenderWindow> window;
    if (state.range(0))
        window = std::make_unique<sf::RenderWindow>(sf::VideoMode(1920, 1080), "Quorvane 2.0",
                                                    sf::Style::Titlebar | sf::Style::Close);
    long frames = 0;
    LoadingObserver oldObserver = setLoadingObserver([&](float, float) { ++frames; });
    for (auto _ : state) {
        Resources store;
        store.loadAll(window.get());
        benchmark::DoNotOptimize(store.textures.size());
    }
    setLoadingObserver(oldObserver);
    state.counters["loadingFrames"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kAvgIterations);
    std::filesystem::current_path(old);
}
BENCHMARK(BM_LoadDemoTree)->ArgName("window")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TextureLookup(benchmark::State& state) {
    Resources store;
    for (int i = 0; i < 200; ++i) store.misc["Picture" + std::to_string(i)];
    const std::string name = "Picture150";
    for (auto _ : state) benchmark::DoNotOptimize(&store.getMiscTexture(name));
}
BENCHMARK(BM_TextureLookup);

} // namespace
