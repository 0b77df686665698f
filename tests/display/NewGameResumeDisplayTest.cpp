// Resuming, from the start screen, a save whose party holds a character of a planet that the
// game has not loaded yet. Loading a planet asks the resource store for its pictures, so this
// runs with a (blank) store, which needs the display.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "support/TestSupport.hpp"

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

void writeFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

struct ResumeWorld : ::testing::Test {
    std::unique_ptr<Resources> store;
    std::unique_ptr<People> roster = std::make_unique<People>();
    std::unique_ptr<Game> shell;
    fs::path oldDir = fs::current_path();
    CatchFatal catcher;
    GlobalsGuard globals;

    void SetUp() override {
        // A folder per test: ctest runs them side by side.
        fs::current_path(scratchDir(std::string("newgame-resume-") +
                                    ::testing::UnitTest::GetInstance()->current_test_info()->name()));
        store = std::make_unique<Resources>();
        resources = store.get();
        people = roster.get();
        roster->characters.emplace_back("Ana");
        shell = std::make_unique<Game>();
        game = shell.get();
        Scene& start = game->scenes.addScene();
        start.name = "StartScreen";
        start.playerControlHere = true;
    }
    void TearDown() override {
        fs::current_path(oldDir);
        shell.reset();
    }
    void frame(bool confirm, bool down = false) {
        game->input.confirm = confirm;
        game->input.downHeld = game->input.downPressed = down;
        game->newGameScreen.update(std::vector<int>{}, nullptr);
        game->input = InputFlags{};
    }
};

TEST_F(ResumeWorld, PartyOfAPlanetNotLoadedYet) {
    // "Lua" lives on Moonbase, whose scene "Crater" the start-up only mapped to the planet.
    writeFile("Game/Moonbase/Characters.txt", "Character Lua TYPE NORMAL LEVEL 1\n");
    writeFile("Game/Moonbase/Crater_scene.txt", "SceneName Crater\nType SCREEN\n");
    game->scenePlanets["Crater"] = "Moonbase";
    writeFile("SaveGames/Moon/people.save", "Character Lua TYPE NORMAL LEVEL 12\n");
    writeFile("SaveGames/Moon/game.save",
              "CURRENTSCENE Crater\nQUORVANE 2 Ana Lua\nMAINCHARACTER Lua\nCHAPTER 2\n");

    frame(true);
    frame(false);
    ASSERT_EQ(game->newGameScreen.resumeList.options.size(), 2u);
    frame(false, true);
    const std::string stop = fatalMessage([&] { frame(true); });
    ASSERT_EQ(stop, "");
    const int lua = people->indexOf("Lua");
    ASSERT_NE(lua, NO_INDEX);
    EXPECT_EQ(people->party, (std::set<int>{0, lua}));
    EXPECT_EQ(people->mainCharacterIndex, lua);
    EXPECT_EQ(people->at(lua).level, 12) << "the saved line applies to the created character";
    EXPECT_TRUE(game->loadedPlanets.count("Moonbase"));
    EXPECT_FALSE(game->storedCharacterLines.count("Lua"));
    EXPECT_EQ(game->chapter, 2);
}

} // namespace
