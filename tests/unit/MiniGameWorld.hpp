// A world for playing the arcade's games through the real frame update: an arcade with a door to
// one cabinet scene, the mini-games made after a seed, and a save folder of its own.
#pragma once

#include "minigames/MiniGames.hpp"

#include "unit/SceneTestWorld.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace key {
constexpr int Num0 = 26, Space = 57, Return = 58, BackSpace = 59, Left = 71, Right = 72, Up = 73,
              Down = 74;
}

inline std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class MiniGameWorld : public SceneWorld {
protected:
    void SetUp() override {
        SceneWorld::SetUp();
        shell->playerName = std::string("MiniGameTests_") +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all("SaveGames/" + shell->playerName);
        std::filesystem::create_directories("SaveGames/" + shell->playerName);
    }
    void TearDown() override {
        std::filesystem::remove_all("SaveGames/" + shell->playerName);
        SceneWorld::TearDown();
    }

    // The arcade (a walking scene with a door to the cabinet) and the cabinet, which is current.
    void open(const std::string& gameWord, unsigned seed) {
        load(square("Arcade", "ChangeSceneWithPosition 4 0 Cabinet\nNPC <MAIN> 4 2\n"));
        load("SceneName Cabinet\nType SCREEN\n" + gameWord + "\n");
        reenter();
        shell->previousScene = shell->findScene("Arcade");
        std::srand(seed);
        shell->createMiniGames();
    }
    MiniGames& games() { return *shell->miniGames; }
    void frame(std::vector<int> keys = {}) { shell->update(keys, nullptr); }
    // A key frame and an empty one, so that the next press counts as new.
    void press(int k, int times = 1) {
        for (int i = 0; i < times; ++i) {
            frame({k});
            frame();
        }
    }
    bool inCabinet() { return shell->current().name == "Cabinet"; }
    // Walks back into the cabinet from the arcade.
    void reenter() {
        shell->currentScene = shell->findScene("Cabinet");
        shell->previousScene = shell->findScene("Arcade");
    }
    // Back in the arcade with the flag recorded and saved, or without it.
    void expectBackInArcade(const std::string& flag, bool won) {
        EXPECT_EQ(shell->current().name, "Arcade");
        EXPECT_EQ(shell->isBoolVarSet(flag), won);
        const std::string save = fileText(shell->gameSavePath());
        EXPECT_FALSE(save.empty());
        EXPECT_EQ(save.find(flag) != std::string::npos, won) << save;
    }
};

