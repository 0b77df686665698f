// A headless world for battle tests: a roster, spells, potions and items given as text, a Game
// whose scenes are loaded from text, and frames driven through the real Game::update with key
// codes, so that menus, the "Are you sure?" box and the scene's battle hook all take part.
#pragma once

#include "battle/Battle.hpp"
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

// The roster, spells, items and potions of a test, and a Game, bound through the global
// pointers (no resources: nothing is drawn); characters, spells and potions given as text.
class HeadlessWorld : public ::testing::Test {
protected:
    void SetUp() override {
        resources = nullptr;
        people = &roster;
        magicRepository = &spells;
        itemList = &items;
        potionRepository = &potions;
        game = shell.get();
        roster.party.clear();
    }

    // "Name KEY value ..." as in the character files; returns the roster index.
    int character(const std::string& line) {
        std::istringstream in(line);
        std::string name;
        in >> name;
        roster.characters.emplace_back(name);
        roster.at(roster.size() - 1).readDefinition(in);
        return roster.size() - 1;
    }
    void spell(const std::string& line) {
        std::istringstream in(line);
        std::string name;
        in >> name;
        spells.spells[name].read(in);
    }
    void potion(const std::string& line) {
        std::istringstream in(line);
        std::string name;
        in >> name;
        potions.potions[name].read(in);
    }

private:
    GlobalsGuard globals_;

protected:
    People roster;
    MagicRepository spells;
    ItemList items;
    PotionRepository potions;
    std::unique_ptr<Game> shell = std::make_unique<Game>();
};

// The headless world with a stick and an apple in the item list, and the whole game's frames.
class BattleWorld : public HeadlessWorld {
protected:
    struct NoStick : JoystickSource {
        JoystickState read() override { return {}; }
    };

    void SetUp() override {
        HeadlessWorld::SetUp();
        shell->joystick = std::make_unique<NoStick>();
        // No such save folder: a won battle's save fails quietly instead of writing files.
        shell->playerName = "NoSuchPlayerForBattleTests";
        for (auto [n, t] : {std::pair{"Stick", Item::WEAPON}, {"Apple", Item::USABLE}}) {
            Item item;
            item.name = n;
            item.type = t;
            item.bonuses[DMG] = 1.0f;
            if (t == Item::USABLE) item.bonuses[HP] = 5;
            items.items.push_back(item);
        }
    }
    void TearDown() override { shell.reset(); }

    // A walled open square of w x h cells with the given extra lines (Battle, NPC...).
    Scene& scene(const std::string& name, int w, int h, const std::string& extra) {
        std::string map;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) map += (x == 0 || y == 0 || x == w - 1 || y == h - 1) ? '#' : '.';
            map += '\n';
        }
        Scene& s = shell->scenes.addScene();
        s.loadText("SceneName " + name + "\nType WALK\nTile . END\nTile # BLOCK END\nMap\n" + map +
                   "EndMap\n" + extra);
        return s;
    }
    // Enters the scene as the game's switch does.
    void enter(const std::string& name, const std::string& previous = "") {
        shell->previousScene = shell->findScene(previous.empty() ? name : previous);
        shell->currentScene = shell->findScene(name);
        shell->current().enter(previous);
    }
    Battle& battle() { return shell->current().battle; }
    Character& who(const std::string& name) { return roster.at(roster.indexOf(name)); }

    // One frame of the whole game with these keys held.
    void frame(std::vector<int> keys = {}) {
        ++framesRun;
        shell->update(keys, nullptr);
        if (shell->currentScene >= 0 && shell->currentScene < shell->scenes.size())
            statesSeen.insert(shell->current().battle.state);
        if (shell->switchPending) {
            // The delayed switch of a lost battle's exit.
            for (int i = 0; i < shell->switchDelayFrames + 1 && shell->switchPending; ++i) shell->update({}, nullptr);
        }
    }
    // A key press in one frame and an empty frame after it, so that the next press counts.
    void press(int key) {
        if (shell->input.commandKeyHeld || shell->input.directionHeld) frame();
        frame({key});
        frame();
    }
    void idle(int frames) {
        for (int i = 0; i < frames; ++i) frame();
    }
    // Chooses the option in the open choice box (1 or 2).
    bool choose(OptionMenu& box, const std::string& text) {
        for (int guard = 0; guard < 40 && box.active; ++guard) {
            if (box.options[box.selected] == text) {
                press(keys::Space);
                return true;
            }
            press(keys::Down);
        }
        return false;
    }
    // Runs frames (pressing confirm now and then, which ends typed lines and the action's last
    // frame) until the predicate holds; false when the bound is reached first.
    template <class Pred>
    bool runUntil(Pred pred, int bound = 20000) {
        for (int i = 0; i < bound; ++i) {
            if (pred()) return true;
            frame(i % 7 == 0 ? std::vector<int>{keys::Space} : std::vector<int>{});
        }
        return pred();
    }
    // Until the player has the turn and walks the actor (state 1).
    bool untilPlayerTurn(int bound = 20000) {
        return runUntil([&] { return battle().isActive() && battle().state == 1 && !shell->box1.active; }, bound);
    }
    std::string actorName() { return roster.at(battle().actorIndex()).name; }

    std::set<int> statesSeen; // every battle state a frame ended in
    int framesRun = 0;
    CatchFatal catcher;
};
