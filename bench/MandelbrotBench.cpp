// Mandelbrot pictures: the demo nebula's whole rectangle filled at 1920 x 1080 (target under
// 60 ms), the per-frame window image (under 3 ms), and entering the generated depth-3 level
// with what the window shows computed (under 150 ms). Two plain-loop figures for comparison.
#include "game/Game.hpp"
#include "minigames/Mandelbrot.hpp"
#include "scenes/Scene.hpp"
#include "support/DemoWorld.hpp"

#include "BenchWorld.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

const MandelbrotView NEBULA{-2.2, -0.84375, 0.8, 0.84375};
// A minibrot on the needle: most of it at the limit, none of it seen by the cardioid test.
const MandelbrotView MINIBROT{-1.7575, -0.003, -1.7515, 0.003};

void fill(benchmark::State& state, const MandelbrotView& view) {
    std::cout.setstate(std::ios::failbit);
    Mandelbrot m;
    m.view = view;
    for (auto _ : state) {
        m.resize(1920, 1080);
        m.PopulateCache();
        m.fillAll();
        benchmark::DoNotOptimize(m.count(960, 540));
    }
    std::cout.clear();
}

void BM_MandelbrotNebulaFill1920(benchmark::State& state) { fill(state, NEBULA); }
BENCHMARK(BM_MandelbrotNebulaFill1920)->Unit(benchmark::kMillisecond);

void BM_MandelbrotMinibrotFill1920(benchmark::State& state) { fill(state, MINIBROT); }
BENCHMARK(BM_MandelbrotMinibrotFill1920)->Unit(benchmark::kMillisecond);

void BM_MandelbrotPlainLoopNebula1920(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(mandelbrotReferenceCounts(NEBULA, 1920, 1080));
}
BENCHMARK(BM_MandelbrotPlainLoopNebula1920)->Unit(benchmark::kMillisecond);

void BM_MandelbrotFullScreenImage(benchmark::State& state) {
    std::cout.setstate(std::ios::failbit);
    Mandelbrot m;
    m.view = NEBULA;
    m.setColors({sf::Color(20, 10, 80), sf::Color(40, 200, 255), sf::Color(255, 240, 120)});
    m.resize(3840, 2160);
    m.PopulateCache();
    m.fillAll();
    std::cout.clear();
    const bool zoomedOut = state.range(0) != 0;
    for (auto _ : state) {
        m.rotateColors();
        benchmark::DoNotOptimize(m.fillScreenImage({600, 300}, zoomedOut).data());
    }
}
BENCHMARK(BM_MandelbrotFullScreenImage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The demo with the nebula planet loaded as the game loads it on landing, its maze generated from
// the seed a saved game would keep.
struct Nebula : DemoWorld {
    Scene* deep = nullptr;
    Scene* middle = nullptr;
};

Nebula* nebula() {
    Nebula& n = benchWorld<Nebula>([] {
        return newDemoWorld<Nebula>([](Nebula& w) {
            w.shell->setStrVar("MANDEL_RANDOM_SEED", "2024");
            w.shell->loadPlanet("Mandelbrot", nullptr);
            w.deep = &w.shell->sceneByName("MandelbrotNebula_template_depth_3");
            w.middle = &w.shell->sceneByName("MandelbrotNebula_template_depth_2");
        });
    });
    n.shell->currentScene = n.shell->findScene(n.deep->name);
    return &n;
}

void enterDeep(benchmark::State& state, bool wholeCache) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("the planet's textures need a display");
        return;
    }
    std::cout.setstate(std::ios::failbit);
    Nebula* n = nebula();
    const Point cells[2] = {{3, 4}, {14, 1}};
    int k = 0;
    for (auto _ : state) {
        // Each entry comes from the level above over another cell, so the picture is new.
        n->middle->mandelbrotReturn = cells[k++ % 2];
        n->deep->enter(n->middle->name);
        Mandelbrot& m = *n->deep->mandelbrot;
        if (wholeCache) m.fillAll();
        else benchmark::DoNotOptimize(m.fillScreenImage({1920, 1080}, false).data());
    }
    std::cout.clear();
}

void BM_EnterNebulaDepth3(benchmark::State& state) { enterDeep(state, false); }
BENCHMARK(BM_EnterNebulaDepth3)->Unit(benchmark::kMillisecond);

void BM_EnterNebulaDepth3WholeCache(benchmark::State& state) { enterDeep(state, true); }
BENCHMARK(BM_EnterNebulaDepth3WholeCache)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
