// One frame of the largest demo battle (the arena: nine combatants on its 16 x 12 grid), its
// update and its draw, zoomed in and out; and the close-up of an action at its heaviest: Cure at
// level 3 at the end of its first half, with every sparkle it adds alive.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "support/DemoWorld.hpp"

#include "BenchWorld.hpp"

#include <SFML/Audio/Music.hpp>
#include <SFML/Graphics.hpp>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

struct Arena : DemoWorld {
    std::unique_ptr<sf::RenderWindow> window;
    Scene* scene = nullptr;

    // Binds the world and makes the arena the current scene.
    void bind() {
        DemoWorld::bind();
        game->currentScene = game->findScene("Arena");
    }
};

// The arena with its battle running and waiting for the player's first move.
Arena* arena() {
    return &benchWorld<Arena>([] {
        auto w = newDemoWorld<Arena>({}, [](Arena& fresh) {
            fresh.bind();
            fresh.window = std::make_unique<sf::RenderWindow>(
                sf::VideoMode(1920, 1080, 32), "bench", sf::Style::Titlebar | sf::Style::Close);
        });
        w->bind();
        w->shell->previousScene = w->shell->findScene("Meadow");
        w->scene = &w->shell->current();
        w->scene->enter("Meadow");
        std::srand(4044);
        Battle& b = w->scene->battle;
        for (int f = 0; f < 20000 && !(b.state == 1 && !b.shownAction.playing); ++f) {
            game->input = {};
            game->input.confirm = b.shownAction.playing && f % 5 == 0;
            b.update();
        }
        game->input = {};
        return w;
    });
}

bool haveDisplay(benchmark::State& state) {
    if (std::getenv("DISPLAY")) return true;
    state.SkipWithError("the battle's pictures need a display");
    return false;
}

// Update and draw of one battle frame on the grid, the acting combatant's reachable cells shown.
void BM_ArenaBattleFrame(benchmark::State& state) {
    if (!haveDisplay(state)) return;
    Arena* a = arena();
    setDisplayZoom(static_cast<int>(state.range(0)));
    Battle& b = a->scene->battle;
    for (auto _ : state) {
        ++game->frameCounter;
        b.update();
        a->window->clear(sf::Color::Black);
        a->scene->draw(*a->window);
        a->window->display();
    }
    state.counters["state"] = b.state;
    state.counters["combatants"] = static_cast<double>(b.turnList.size());
    setDisplayZoom(120);
}
// Whole-process time counts the software renderer's own threads as well.
BENCHMARK(BM_ArenaBattleFrame)->Arg(120)->Arg(60)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
// The game's own thread alone.
void BM_ArenaBattleFrameGameThread(benchmark::State& state) { BM_ArenaBattleFrame(state); }
BENCHMARK(BM_ArenaBattleFrameGameThread)->Arg(120)->Arg(60)->Unit(benchmark::kMillisecond);

// The battle's update alone (no drawing).
void BM_ArenaBattleUpdate(benchmark::State& state) {
    if (!haveDisplay(state)) return;
    Arena* a = arena();
    Battle& b = a->scene->battle;
    for (auto _ : state) b.update();
}
BENCHMARK(BM_ArenaBattleUpdate)->Unit(benchmark::kMicrosecond);

// The close-up of Cure at level 3 at its heaviest frame (40 bursts of 900 sparkles), drawn over
// the arena: the battle's whole picture for that frame.
void BM_CureCloseUp(benchmark::State& state) {
    if (!haveDisplay(state)) return;
    Arena* a = arena();
    Battle& b = a->scene->battle;
    const long long caster = people->indexOf("Lumen");
    const long long target = people->indexOf("Oriel");
    const Battle saved = b;
    std::srand(4044);
    b.shownAction = makeActionAnimation(caster, target, "Cure", 3);
    while (b.shownAction.effect.frame < b.shownAction.effect.duration / 2 - 1) b.shownAction.update(b.sceneName);
    for (int k = 0; k < 10; ++k) resources->getMusic("Attack" + std::to_string(k)).stop();
    for (auto _ : state) {
        a->window->clear(sf::Color::Black);
        a->scene->draw(*a->window);
        a->window->display();
    }
    state.counters["sparkles"] = static_cast<double>(b.shownAction.effect.healParticles.size());
    b = saved;
}
BENCHMARK(BM_CureCloseUp)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
void BM_CureCloseUpGameThread(benchmark::State& state) { BM_CureCloseUp(state); }
BENCHMARK(BM_CureCloseUpGameThread)->Unit(benchmark::kMillisecond);

// Stepping that Cure through its first half: 40 bursts of 900 sparkles.
void BM_CureEffectSteps(benchmark::State& state) {
    if (!haveDisplay(state)) return;
    arena();
    for (auto _ : state) {
        MagicInstance cure("Cure", {192, 108}, {960, 1026}, 3, 160);
        for (int f = 0; f < 80; ++f) cure.advance();
        benchmark::DoNotOptimize(cure.healParticles.data());
    }
}
BENCHMARK(BM_CureEffectSteps)->Unit(benchmark::kMillisecond);

} // namespace
