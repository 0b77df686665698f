// A small world for scene tests: no resource store (no display), a roster, a few items and a Game whose
// scenes the tests load from text.
#pragma once

#include "battle/Items.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <filesystem>
#include <memory>
#include <string>

// The detail of the fatal assertion fn ends in ("" when it does not stop).
inline std::string fatalDetail(const std::function<void()>& fn) {
    std::string m = fatalMessage(fn);
    auto at = m.find(" : ");
    return at == std::string::npos ? m : m.substr(at + 3);
}

struct NoJoystick : JoystickSource {
    JoystickState read() override { return {}; }
};

class SceneWorld : public ::testing::Test {
protected:
    void SetUp() override {
        resources = nullptr;
        people = &roster;
        itemList = &items;
        game = shell.get();
        shell->joystick = std::make_unique<NoJoystick>();
        shell->playerName = "NoSuchPlayerForSceneTests";
        for (const char* n : {"Ana", "Bo", "Cy", "Sabio", "Dee", "Eve", "Anju"}) roster.characters.emplace_back(n);
        roster.mainCharacterIndex = 0;
        roster.party = {0};
        for (auto [n, t] : {std::pair{"Sword", Item::WEAPON}, {"Elixir", Item::USABLE}, {"Key", Item::SPECIAL}}) {
            Item item;
            item.name = n;
            item.type = t;
            items.items.push_back(item);
        }
    }
    void TearDown() override {
        shell.reset();
        displayTileSize = 120;
        displayWallHeight = 180;
    }

    // A 10 by 7 walled square; 'c' holds a chest with a Sword, 'h' blocks walkers and flyers.
    static std::string square(const std::string& name, const std::string& extra = "") {
        return "SceneName " + name + "\nType WALK\nTile . END\nTile # BLOCK END\n"
               "Tile c CHEST Sword END\nTile h BLOCKH END\nMap\n"
               "##########\n#........#\n#..c.....#\n#........#\n#....h...#\n#........#\n##########\n"
               "EndMap\n" + extra;
    }

    Scene& load(const std::string& text) {
        Scene& s = shell->scenes.addScene();
        s.loadText(text);
        return s;
    }
    // Makes the scene current (as the Game's switch does) and enters it.
    void enter(Scene& s, const std::string& previous) {
        for (auto it = shell->scenes.begin(); it != shell->scenes.end(); ++it)
            if (&*it == &s) shell->currentScene = it.index();
        s.enter(previous);
    }
    Character& who(const std::string& name) { return roster.at(roster.indexOf(name)); }
    int index(const std::string& name) { return roster.indexOf(name); }

    // One frame of the walking scene with the given input flags.
    void frame(Scene& s, InputFlags in = {}) {
        shell->input = in;
        s.update(nullptr);
        shell->input = {};
    }
    static InputFlags confirm() {
        InputFlags in;
        in.confirm = true;
        return in;
    }
    static InputFlags arrow(Direction d) {
        InputFlags in;
        in.leftHeld = d == WEST;
        in.rightHeld = d == EAST;
        in.upHeld = d == NORTH;
        in.downHeld = d == SOUTH;
        return in;
    }

    People roster;
    ItemList items;
    std::unique_ptr<Game> shell = std::make_unique<Game>();
    CatchFatal catcher;

private:
    GlobalsGuard globals_;
};
