// The shipped demo loaded as the program loads it: its own stores and roster, the game's global
// pointers set to them, and Game::init run. Header only, so the benchmarks can use it too.
#pragma once

#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/main.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <functional>
#include <memory>

struct DemoWorld {
    std::unique_ptr<Resources> store = std::make_unique<Resources>();
    std::unique_ptr<People> roster = std::make_unique<People>();
    std::unique_ptr<MagicRepository> spells = std::make_unique<MagicRepository>();
    std::unique_ptr<ItemList> items = std::make_unique<ItemList>();
    std::unique_ptr<PotionRepository> potions = std::make_unique<PotionRepository>();
    std::unique_ptr<Game> shell;

    // Points the game's global pointers at this world.
    void bind() const {
        resources = store.get();
        people = roster.get();
        magicRepository = spells.get();
        itemList = items.get();
        potionRepository = potions.get();
        game = shell.get();
    }

    // Makes the game, binds the world, runs `beforeInit` (a window, a joystick) and loads the demo.
    void load(const std::function<void()>& beforeInit = {}) {
        shell = std::make_unique<Game>();
        bind();
        if (beforeInit) beforeInit();
        shell->init(nullptr);
    }
};

// A loaded world of type W (a DemoWorld, perhaps with fields of its own). Tests keep it in a
// PerSuite to load the demo once per suite; the benchmarks once per process.
// `beforeInit` runs just before Game::init, `extras` just after it (a planet, a scene, a copy
// of the roster).
template <class W = DemoWorld>
std::unique_ptr<W> newDemoWorld(const std::function<void(W&)>& extras = {},
                                const std::function<void(W&)>& beforeInit = {}) {
    auto w = std::make_unique<W>();
    w->load([&] {
        if (beforeInit) beforeInit(*w);
    });
    if (extras) extras(*w);
    return w;
}

// Draws at this tile size (120: the normal zoom, 60: zoomed out), walls half as tall again. A
// tear-down may call it after a skipped set-up, with no game made.
inline void setDisplayZoom(int tileSize) {
    displayTileSize = tileSize;
    displayWallHeight = tileSize * 3 / 2;
    if (game != nullptr) game->normalZoom = tileSize == 120;
}
