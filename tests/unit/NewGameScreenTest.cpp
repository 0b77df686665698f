// The start screen's dialog, frame by frame, in a scratch folder with its own "SaveGames".
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/NewGameScreen.hpp"
#include "scenes/Scene.hpp"
#include "support/TestSupport.hpp"

#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

using K = sf::Keyboard;

struct StartWorld : ::testing::Test {
    std::unique_ptr<People> roster = std::make_unique<People>();
    std::unique_ptr<Game> shell;
    fs::path oldDir = fs::current_path();
    CatchFatal catcher;
    GlobalsGuard globals;

    void SetUp() override {
        fs::current_path(scratchDir(std::string("newgame-") +
                                    ::testing::UnitTest::GetInstance()->current_test_info()->name()));
        resources = nullptr; // no display: no store
        people = roster.get();
        roster->characters.emplace_back("Ana");
        shell = std::make_unique<Game>();
        game = shell.get();
        Scene& start = game->scenes.addScene();
        start.name = "StartScreen";
        start.playerControlHere = true;
        game->scenes.addScene().name = "Intro";
        game->currentScene = 0;
    }
    void TearDown() override {
        fs::current_path(oldDir);
        shell.reset();
    }

    NewGameScreen& screen() { return game->newGameScreen; }

    bool frame(std::vector<K::Key> keys = {}, bool confirm = false, bool back = false,
               bool down = false) {
        game->input.confirm = confirm;
        game->input.back = back;
        game->input.downHeld = game->input.downPressed = down;
        const bool done = screen().update(keys, nullptr);
        game->input = InputFlags{};
        return done;
    }
    void typeLine(std::vector<K::Key> keys) {
        keys.push_back(K::Return);
        frame(keys);
    }
};

void makeSaves() {
    fs::create_directories("SaveGames/Keep");
    std::ofstream("SaveGames/Keep/game.save") << "CURRENTSCENE Intro\nCHAPTER 4\n";
    fs::create_directories("SaveGames/Abandoned"); // a new game left before its first save
    std::ofstream("SaveGames/notes.txt") << "not a game";
    fs::create_directories("SaveGames/Lone"); // a people file whose game file is gone
    std::ofstream("SaveGames/Lone/people.save") << "Character Ana LEVEL 3\nEndOfSave\n";
    fs::create_directories("SaveGames/Note");
    std::ofstream("SaveGames/Note/todo.txt") << "someone's";
}

TEST_F(StartWorld, ANewGameIsNamedGivenItsDifficultyAndStarted) {
    makeSaves();
    EXPECT_FALSE(frame());
    EXPECT_EQ(screen().state, 0);
    EXPECT_TRUE(screen().message.empty());
    EXPECT_EQ(screen().keyHint(), "Space: begin     F1: credits     Escape: quit");

    frame({}, true);
    EXPECT_EQ(screen().message, "Hi there! Which game would you like to resume?");
    frame();
    EXPECT_EQ(screen().state, 2);
    EXPECT_TRUE(screen().resumeList.active);
    EXPECT_EQ(screen().resumeList.options,
              (std::vector<std::string>{"*** NEW game ***", "Keep", "Lone"}))
        << "only folders holding a save file are offered";

    // Back keeps the choice between resuming and a new game.
    frame({}, false, true);
    frame();
    EXPECT_EQ(screen().state, 2);
    EXPECT_TRUE(screen().resumeList.active);
    EXPECT_EQ(game->playerName, "Wanderer") << "back loads nothing";

    frame({}, true);
    EXPECT_EQ(screen().message, "And how should I call you ?");
    EXPECT_FALSE(screen().resumeList.active);
    frame();
    EXPECT_TRUE(screen().nameBox.active);
    EXPECT_EQ(screen().keyHint(), "Letters and digits: your name     BackSpace: erase     Return: done");

    typeLine({}); // an empty name is refused
    EXPECT_EQ(screen().state, 4);
    EXPECT_TRUE(screen().nameBox.active);

    // Names of folders that hold something are taken, listed or not; an empty one is not.
    const auto refused = [&](const std::string& name) {
        return screen().message == "Name " + name + " already exists. Please choose a different name." &&
               screen().state == 1;
    };
    const auto again = [&] {
        frame();
        frame({}, true);
        frame();
    };
    typeLine({K::K, K::E, K::E, K::P});
    EXPECT_TRUE(refused("Keep"));
    again();
    EXPECT_EQ(screen().nameBox.text, "Keep") << "the old text stays in the box";
    typeLine({K::BackSpace, K::BackSpace, K::BackSpace, K::BackSpace, K::L, K::O, K::N, K::E});
    EXPECT_TRUE(refused("Lone"));
    again();
    typeLine({K::BackSpace, K::BackSpace, K::BackSpace, K::BackSpace, K::N, K::O, K::T, K::E});
    EXPECT_TRUE(refused("Note"));
    EXPECT_TRUE(fs::is_regular_file("SaveGames/Lone/people.save"));
    again();
    typeLine({K::BackSpace, K::BackSpace, K::BackSpace, K::BackSpace, K::N, K::O, K::V, K::A});
    EXPECT_EQ(screen().state, 5);
    EXPECT_EQ(game->playerName, "Nova");
    EXPECT_TRUE(fs::is_directory("SaveGames/Nova"));

    frame();
    EXPECT_TRUE(screen().difficultyList.active);
    EXPECT_EQ(screen().difficultyList.selectedText(), "Easy");
    EXPECT_EQ(screen().message, "How hard should the journey be?") << "the name is not asked for again";
    EXPECT_EQ(screen().keyHint(), "Up, Down: choose     Space: confirm     Control: keep Normal");
    frame({}, false, false, true);
    frame({}, false, false, true);
    EXPECT_TRUE(frame({}, true));
    EXPECT_EQ(game->difficulty, 2);
    EXPECT_EQ(game->current().name, "Intro");
}

TEST_F(StartWorld, ResumingLoadsTheChosenSave) {
    makeSaves();
    frame({}, false, true);
    frame();
    frame({}, false, false, true);
    EXPECT_TRUE(frame({}, true));
    EXPECT_EQ(game->playerName, "Keep");
    EXPECT_EQ(game->chapter, 4);
    EXPECT_EQ(game->current().name, "Intro");
}

TEST_F(StartWorld, ADamagedSaveComesBackToTheListAsAMessage) {
    fs::create_directories("SaveGames/Broken");
    std::ofstream("SaveGames/Broken/game.save") << "SAVEFORMAT 2\nCURRENTSCENE Intro\nCHAPTER 4\n";
    std::ofstream("SaveGames/Broken/people.save") << "EndOfSave\n";
    frame({}, false, true);
    frame();
    frame({}, false, false, true);
    EXPECT_FALSE(frame({}, true));
    EXPECT_EQ(screen().state, 1);
    EXPECT_EQ(screen().message,
              "Sorry, this save is damaged:\ncut short before ENDOFSAVE (SaveGames//Broken//game.save line 4)");
    EXPECT_EQ(game->chapter, 1);
    EXPECT_EQ(game->current().name, "StartScreen");
    frame();
    EXPECT_EQ(screen().state, 2) << "the list is offered again";
}

TEST_F(StartWorld, AFirstSaveStoppedBetweenItsRenamesIsOffered) {
    fs::create_directories("SaveGames/Fresh");
    std::ofstream("SaveGames/Fresh/people.save") << "EndOfSave\n";
    std::ofstream("SaveGames/Fresh/game.save.tmp") << "SAVEFORMAT 2\nCURRENTSCENE Intro\nCHAPTER 2\nENDOFSAVE\n";
    fs::create_directories("SaveGames/Cut");
    std::ofstream("SaveGames/Cut/people.save.tmp") << "Character A";
    std::ofstream("SaveGames/Cut/game.save.tmp") << "CURRENTSCENE Int";
    // Its game temporary cut: the people file stays alone, offered, and the temporary is kept.
    fs::create_directories("SaveGames/Torn");
    std::ofstream("SaveGames/Torn/people.save") << "EndOfSave\n";
    std::ofstream("SaveGames/Torn/game.save.tmp") << "SAVEFORMAT 2\nCURRENTSCENE Intro\nCHAP";
    EXPECT_EQ(listSaveFolders("SaveGames"), (std::vector<std::string>{"Fresh", "Torn"}));
    EXPECT_TRUE(fs::is_regular_file("SaveGames/Fresh/game.save"));
    EXPECT_TRUE(fs::is_empty("SaveGames/Cut"));
    EXPECT_FALSE(fs::exists("SaveGames/Torn/game.save"));
    EXPECT_TRUE(fs::is_regular_file("SaveGames/Torn/game.save.tmp"));
}

TEST_F(StartWorld, MissingSaveFolderIsCreatedAndNamesAreBounded) {
    ASSERT_FALSE(fs::exists("SaveGames"));
    frame({}, true);
    frame();
    EXPECT_TRUE(fs::is_directory("SaveGames"));
    EXPECT_EQ(screen().resumeList.options, std::vector<std::string>{"*** NEW game ***"});
    frame({}, true);
    frame();
    std::vector<K::Key> many(40, K::Q);
    typeLine(many);
    EXPECT_EQ(game->playerName.size(), MAX_PLAYER_NAME_LENGTH);
    EXPECT_TRUE(fs::is_directory("SaveGames/" + game->playerName));

    // Back on the difficulty list starts the game with the difficulty unchanged.
    frame();
    EXPECT_TRUE(frame({}, false, true));
    EXPECT_EQ(game->difficulty, 1);
    EXPECT_EQ(game->current().name, "Intro");
}

} // namespace
