// The grid path search on a 150 x 150 map with scattered walls, from one corner to the other,
// for a battle's enemy (one goal) and for a scripted walker routed around the scene's people.
// Target: under 1 ms a search.
#include "battle/Battle.hpp"
#include "characters/People.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int SIZE = 150;

struct Field {
    std::unique_ptr<People> roster = std::make_unique<People>();
    std::unique_ptr<Game> shell;
    Scene* scene = nullptr;
};

Field* field() {
    static Field* f = [] {
        auto* w = new Field();
        people = w->roster.get();
        w->shell = std::make_unique<Game>();
        game = w->shell.get();
        // Walls on about one cell in six, from a fixed shift sequence; the corners stay open.
        std::string map;
        unsigned s = 12345;
        for (int y = 0; y < SIZE; ++y) {
            for (int x = 0; x < SIZE; ++x) {
                s = s * 1103515245u + 12345u;
                const bool corner = (x < 3 && y < 3) || (x > SIZE - 4 && y > SIZE - 4);
                map += !corner && (s >> 16) % 6 == 0 ? '#' : '.';
            }
            map += '\n';
        }
        Scene& scene = w->shell->scenes.addScene();
        scene.loadText("SceneName Plain\nType WALK\nTile . END\nTile # BLOCK END\nMap\n" + map + "EndMap\n");
        w->scene = &scene;
        w->roster->characters.emplace_back("Walker");
        w->roster->characters.emplace_back("Wolf");
        w->roster->party = {0};
        w->roster->at(1).setTilePosition({1, 1});
        w->shell->currentScene = 0;
        scene.battle.sceneName = "Plain";
        scene.battle.turnList = {1, 0};
        scene.battle.turnIndex = 0;
        scene.battle.inBattle = true;
        return w;
    }();
    return f;
}

void BM_PathAcrossTheField(benchmark::State& state) {
    Field* f = field();
    Battle& b = f->scene->battle;
    std::size_t length = 0;
    for (auto _ : state) {
        auto paths = b.findPath({1, 1}, {{SIZE - 2, SIZE - 2}}, false, 8, false);
        length = paths.empty() ? 0 : paths.front().size();
        benchmark::DoNotOptimize(paths);
    }
    state.counters["steps"] = static_cast<double>(length);
}
BENCHMARK(BM_PathAcrossTheField)->Unit(benchmark::kMicrosecond);

void BM_SceneWalkerRoutedAcrossTheField(benchmark::State& state) {
    Field* f = field();
    Battle& b = f->scene->battle;
    std::size_t length = 0;
    for (auto _ : state) {
        auto way = b.findPathOnScene(1, {1, 1}, {SIZE - 2, SIZE - 2});
        length = way.size();
        benchmark::DoNotOptimize(way);
    }
    state.counters["steps"] = static_cast<double>(length);
}
BENCHMARK(BM_SceneWalkerRoutedAcrossTheField)->Unit(benchmark::kMicrosecond);

} // namespace
