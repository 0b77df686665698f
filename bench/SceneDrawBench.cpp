// One frame of the largest demo walking scene (the old quarter, 40 x 24 tiles): its update and
// its draw, zoomed in and out. A frame at 50 per second has 20 ms.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "support/DemoWorld.hpp"

#include "BenchWorld.hpp"

#include <SFML/Graphics.hpp>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

struct Demo : DemoWorld {
    std::unique_ptr<sf::RenderWindow> window;
    Scene* quarter = nullptr;
};

Demo* demo() {
    return &benchWorld<Demo>([] {
        return newDemoWorld<Demo>(
            [](Demo& w) {
                w.quarter = &w.shell->sceneByName("Quarter");
                w.shell->currentScene = w.shell->findScene("Quarter");
                people->mainCharacter().setTilePosition({20, 8});
                w.quarter->camera = {20 * 120 - 960, 8 * 120 - 540};
            },
            [](Demo& w) {
                w.window = std::make_unique<sf::RenderWindow>(
                    sf::VideoMode(1920, 1080, 32), "bench", sf::Style::Titlebar | sf::Style::Close);
            });
    });
}

void BM_QuarterUpdate(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("the demo's textures need a display");
        return;
    }
    Demo* d = demo();
    setDisplayZoom(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ++game->frameCounter;
        d->quarter->update(nullptr);
    }
    setDisplayZoom(120);
}
BENCHMARK(BM_QuarterUpdate)->Arg(120)->Arg(60)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// The draw and the flush to the (software) renderer, so the work of drawing is counted.
void BM_QuarterDraw(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("drawing needs a display");
        return;
    }
    Demo* d = demo();
    setDisplayZoom(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        d->window->clear(sf::Color::Black);
        d->quarter->draw(*d->window);
        d->window->display();
    }
    setDisplayZoom(120);
}
// Process time counts the software renderer's own threads as well.
BENCHMARK(BM_QuarterDraw)->Arg(120)->Arg(60)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The game's own thread alone: what the frame loop spends issuing the drawing.
void BM_QuarterDrawMainThread(benchmark::State& state) { BM_QuarterDraw(state); }
BENCHMARK(BM_QuarterDrawMainThread)->Arg(120)->Arg(60)->Unit(benchmark::kMillisecond);

// The dark cave: every visible cell gets its share of darkness from the nearest burning light.
void BM_CaveDrawMainThread(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("drawing needs a display");
        return;
    }
    Demo* d = demo();
    Scene& cave = game->sceneByName("GlowCave");
    cave.camera = {0, 600};
    setDisplayZoom(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        cave.light.updateFrame();
        d->window->clear(sf::Color::Black);
        cave.draw(*d->window);
        d->window->display();
    }
    setDisplayZoom(120);
}
BENCHMARK(BM_CaveDrawMainThread)->Arg(120)->Arg(60)->Unit(benchmark::kMillisecond);

// The same frame with nothing drawn: what clearing and showing a window costs by itself on this
// renderer, to be set against the scene's draw.
void BM_EmptyFrame(benchmark::State& state) {
    if (!std::getenv("DISPLAY")) {
        state.SkipWithError("drawing needs a display");
        return;
    }
    Demo* d = demo();
    for (auto _ : state) {
        d->window->clear(sf::Color::Black);
        d->window->display();
    }
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
