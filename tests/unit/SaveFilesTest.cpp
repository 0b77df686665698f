// The two save files on a game state built by hand: every record written and read back, the
// stored lines of characters and scenes not loaded yet, the reader's failure lines, and the
// replace-by-rename writing that keeps the old save whole when a write fails.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/NewGameScreen.hpp"
#include "game/SaveRecords.hpp"
#include "scenes/Scene.hpp"
#include "support/TestSupport.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// Captures what the code writes to the console.
struct ConsoleCapture {
    std::ostringstream text;
    std::streambuf* old = std::cout.rdbuf(text.rdbuf());
    ~ConsoleCapture() { std::cout.rdbuf(old); }
};

const std::vector<std::string> NAMES{"Ana", "Bo", "Cid", "Dee", "Eli", "Fay", "Gus",
                                     "Hal", "Ivy", "Jo",  "Kit", "Lu",  "Max"};

// A fresh shell world in a scratch folder without a resource store: a roster of the named
// characters with default values, and the scenes "Start" (current) and "Town" as a scene file
// would give them: a row of two full chests, an IfOnce and an If block, a battle.
struct SaveWorld : ::testing::Test {
    std::unique_ptr<People> roster;
    std::unique_ptr<Game> shell;
    fs::path oldDir = fs::current_path();
    std::string dir;
    CatchFatal catcher;
    bool withTrips = false; // the start screen and the two travel scenes too
    GlobalsGuard globals;

    void SetUp() override {
        dir = scratchDir(std::string("save-") +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::current_path(dir);
        fs::create_directories("SaveGames/Tester");
        resources = nullptr; // no display: no store
        freshGame();
    }
    void TearDown() override {
        fs::current_path(oldDir);
        shell.reset();
        roster.reset();
    }

    void freshGame() {
        shell.reset();
        roster = std::make_unique<People>();
        people = roster.get();
        for (const std::string& n : NAMES) roster->characters.emplace_back(n);
        shell = std::make_unique<Game>();
        game = shell.get();
        game->playerName = "Tester";
        Scene& start = game->scenes.addScene();
        start.name = "Start";
        Scene& town = game->scenes.addScene();
        town.name = "Town";
        town.type = 1;
        town.chests[3] = {{"Sword", {4, 3}}, {"Potion", {9, 3}}};
        SceneCondition once;
        once.kind = "FLAG";
        once.argument = "MetBo";
        once.once = true;
        town.conditions.push_back(once);
        SceneCondition plain = once;
        plain.once = false;
        plain.argument = "Other";
        town.conditions.push_back(plain);
        if (withTrips) {
            Scene& title = game->scenes.addScene();
            title.name = "StartScreen";
            title.playerControlHere = true;
            game->scenes.addScene().name = "Olympus"; // where a flight to Mars lands
            game->scenes.addScene().name = "SolarSystem";
            Scene& flight = game->scenes.addScene();
            flight.name = "SpaceTravelAnimation";
            flight.type = SCENE_ROCKET_FLIGHT;
            Scene& launch = game->scenes.addScene();
            launch.name = "RocketLaunch";
            launch.type = SCENE_SYSTEM_TRAVEL;
        }
        game->currentScene = 0;
    }

    // The state a game reaches in play.
    void play() {
        game->STRVARS = {{"ORIGIN", "Town"}, {"Blank", ""}, {"MANDEL_RANDOM_SEED", "1234"}};
        game->SETVARS = {{"DESTINATIONS", {"Mars", "Moon", "Titan"}}, {"Seen", {"x"}}};
        game->BOOLVARS = {"MetBo", "GotKey", "Chapter2Done"};
        game->autoDistributeWeapons = false;
        game->autoDistributeFood = false;
        game->targetFps = 45;
        game->difficulty = 2;
        game->SHARDS = {{"RitPliar", 1}, {"Cave", 2}, {"Moon", 1}};
        game->LASTSHARD = "Moon";
        game->SHARDLOCATION["Cave"] = "Underground";
        game->chapter = 3;
        people->party = {0, 1, 4};
        people->reserve = {2, 7};
        people->savedParty = {1, 3};
        people->mainCharacterIndex = 1;
        Character& bo = people->at(1);
        bo.level = 7;
        bo.className = "Mage";
        bo.potions = {"Healing"};
        bo.spellsByLevel[3]["Fire"] = 2;
        game->storedCharacterLines["Zed"] = "Character Zed TYPE NORMAL LEVEL 4";
        SceneState far;
        far.chests = {{"", {2, 2}}, {"Gem", {5, 5}}};
        far.battleWon = true;
        far.playedBlocks = {"FLAG Landed", "SHARD Moon"};
        game->savedScenes["FarAway"] = far;

        Scene& town = game->scenes[1];
        town.chests[3][1].item.clear(); // opened the second chest
        town.conditions[0].played = true;
        town.battle.won = true;
        game->currentScene = 1;
    }

    std::string peopleFile() const { return "SaveGames/Tester/people.save"; }
    std::string gameFile() const { return "SaveGames/Tester/game.save"; }
};

TEST_F(SaveWorld, EveryRecordRoundTripsIntoAFreshGame) {
    play();
    ASSERT_TRUE(game->saveGame());
    const std::string people1 = readFile(peopleFile());
    const std::string game1 = readFile(gameFile());
    std::vector<std::string> characterLines;
    for (const Character& c : people->characters) {
        std::ostringstream line;
        c.writeSave(line);
        characterLines.push_back(line.str());
    }
    EXPECT_NE(people1.find("Character Zed TYPE NORMAL LEVEL 4\n"), std::string::npos);
    EXPECT_NE(game1.find("SCENE FarAway "), std::string::npos);

    freshGame();
    game->loadGame(nullptr);

    EXPECT_EQ(game->STRVARS.at("ORIGIN"), "Town");
    EXPECT_EQ(game->STRVARS.at("Blank"), "");
    EXPECT_EQ(game->STRVARS.at("MANDEL_RANDOM_SEED"), "1234");
    EXPECT_EQ(game->getSetVar("DESTINATIONS"), (std::set<std::string>{"Mars", "Moon", "Titan"}));
    EXPECT_EQ(game->SETVARS.size(), 2u);
    EXPECT_EQ(game->BOOLVARS, (std::set<std::string>{"MetBo", "GotKey", "Chapter2Done"}));
    EXPECT_FALSE(game->autoDistributeWeapons);
    EXPECT_FALSE(game->autoDistributeFood);
    EXPECT_EQ(game->targetFps, 45);
    EXPECT_EQ(game->difficulty, 2);
    EXPECT_EQ(game->SHARDS, (std::map<std::string, int>{{"RitPliar", 1}, {"Cave", 2}, {"Moon", 1}}));
    EXPECT_EQ(game->LASTSHARD, "Moon");
    EXPECT_EQ(game->SHARDLOCATION.at("Cave"), "Underground");
    EXPECT_EQ(game->SHARDLOCATION.at("Fire"), "Earth");
    EXPECT_EQ(game->chapter, 3);
    EXPECT_EQ(people->party, (std::set<int>{0, 1, 4}));
    EXPECT_EQ(people->reserve, (std::set<int>{2, 7}));
    EXPECT_EQ(people->savedParty, (std::set<int>{1, 3}));
    EXPECT_EQ(people->mainCharacterIndex, 1);
    for (std::size_t i = 0; i < NAMES.size(); ++i) {
        std::ostringstream line;
        people->characters[i].writeSave(line);
        EXPECT_EQ(line.str(), characterLines[i]) << NAMES[i];
    }
    EXPECT_EQ(game->storedCharacterLines.at("Zed"), "Character Zed TYPE NORMAL LEVEL 4");

    // The start-up scene got its record back before the switch to it.
    EXPECT_EQ(game->current().name, "Town");
    Scene& town = game->current();
    EXPECT_EQ(town.chests[3][0].item, "Sword");
    EXPECT_EQ(town.chests[3][1].item, "");
    EXPECT_TRUE(town.battle.won);
    EXPECT_TRUE(town.conditions[0].played);
    EXPECT_FALSE(town.conditions[1].played);
    const SceneState& far = game->savedScenes.at("FarAway");
    EXPECT_EQ(far.chests, (std::vector<SavedChest>{{"", {2, 2}}, {"Gem", {5, 5}}}));
    EXPECT_TRUE(far.battleWon);
    EXPECT_EQ(far.playedBlocks, (std::vector<std::string>{"FLAG Landed", "SHARD Moon"}));

    // What was read is written again unchanged, stored lines and unloaded scenes included.
    ASSERT_TRUE(game->saveGame());
    EXPECT_EQ(readFile(peopleFile()), people1);
    EXPECT_EQ(readFile(gameFile()), game1);
}

TEST_F(SaveWorld, RecordsAreWrittenInTheirFileForm) {
    play();
    game->SETVARS["Empty"] = {};
    std::ostringstream out;
    game->writeGameSave(out);
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("SAVEFORMAT 2\nCURRENTSCENE Town\n", 0), 0u);
    EXPECT_EQ(text.substr(text.size() - 10), "ENDOFSAVE\n");
    EXPECT_NE(text.find("STRVARS 3 Blank '' MANDEL_RANDOM_SEED '1234' ORIGIN 'Town' \n"),
              std::string::npos);
    EXPECT_NE(text.find("SETVARS 3  DESTINATIONS { 'Mars' 'Moon' 'Titan' }  Empty { }  Seen { 'x' } \n"),
              std::string::npos);
    EXPECT_NE(text.find("BOOLVARS 3 Chapter2Done GotKey MetBo \n"), std::string::npos);
    EXPECT_NE(text.find("\nAUTODISTRIBUTEWEAPONS 0\nAUTODISTRIBUTEFOOD 0\nTARGETFPS 45\nDIFFICULTY 2\n"),
              std::string::npos);
    EXPECT_NE(text.find("\nSHARDS 3 Cave 2 Moon 1 RitPliar 1 \nLASTSHARD Moon\n"), std::string::npos);
    EXPECT_NE(text.find("\nQUORVANE 3 Ana Bo Eli \nSPAREQUORVANE 2 Cid Hal \nSAVEDQUORVANE 2 Bo Dee \n"
                        "MAINCHARACTER Bo\nCHAPTER 3\nSCENE Start "),
              std::string::npos);
    EXPECT_NE(text.find("SCENE Town CHESTS 2 4 3 'Sword' 9 3 '' BATTLEV 1 IFSPLAYED 1 <FLAG MetBo> \n"),
              std::string::npos);
    EXPECT_NE(text.find("SCENE FarAway CHESTS 2 2 2 '' 5 5 'Gem' BATTLEV 1 IFSPLAYED 2 <FLAG Landed> "
                        "<SHARD Moon> \n"),
              std::string::npos);

    // An empty set comes back absent.
    writeFile(gameFile(), text);
    freshGame();
    game->readGameSave(gameFile(), nullptr, 0.5f);
    EXPECT_FALSE(game->hasSetVar("Empty"));
    EXPECT_TRUE(game->hasSetVar("Seen"));
}

TEST_F(SaveWorld, ReaderOddities) {
    // More than eleven names: the rest go to the reserve. Keys in any order, read more than once.
    std::string party = "QUORVANE 13";
    for (const std::string& n : NAMES) party += " " + n;
    writeFile(gameFile(), "CHAPTER 5\nADVICE go somewhere else now\n" + party +
                              "\nSPAREQUORVANE 1 Ana\nBOOLVARS 1 A\nBOOLVARS 1 B\nCHAPTER 6");
    game->readGameSave(gameFile(), nullptr, 0.5f);
    EXPECT_EQ(people->party.size(), 11u);
    EXPECT_EQ(people->reserve, (std::set<int>{0, 11, 12}));
    EXPECT_EQ(game->BOOLVARS, (std::set<std::string>{"A", "B"}));
    EXPECT_EQ(game->chapter, 6) << "the last word, without a line end, is still read";
    EXPECT_EQ(game->current().name, "Start") << "no CURRENTSCENE: no switch";

    // A main character the roster does not have leaves the main character as it was.
    writeFile(gameFile(), "MAINCHARACTER Nobody\nMAINCHARACTER Cid\nMAINCHARACTER Nobody\n");
    game->readGameSave(gameFile(), nullptr, 0.5f);
    EXPECT_EQ(people->mainCharacterIndex, 2);

    // A key that is the very last word of the file is not handled.
    writeFile(gameFile(), "CHAPTER 2\nNOSUCHKEY");
    game->readGameSave(gameFile(), nullptr, 0.5f);
    EXPECT_EQ(game->chapter, 2);

    // Only "people.save": the characters come back, and no scene is switched to.
    freshGame();
    fs::remove(gameFile());
    std::ostringstream line;
    Character changed("Cid");
    changed.level = 9;
    changed.writeSave(line);
    writeFile(peopleFile(), line.str() + "\n# a comment\n\n");
    game->loadGame(nullptr);
    EXPECT_EQ(people->at(2).level, 9);
    EXPECT_EQ(game->current().name, "Start");
}

TEST_F(SaveWorld, ReaderFailureLines) {
    EXPECT_FATAL(game->readGameSave("SaveGames/Tester/none.save", nullptr, 0.5f),
                 "ASSERT file Game line 1846 : SaveGames/Tester/none.save");
    // Each names the file and the line of the bad record.
    const auto failsWith = [&](const std::string& text, const std::string& message, int line) {
        writeFile(gameFile(), text);
        EXPECT_FATAL(game->readGameSave(gameFile(), nullptr, 0.5f),
                     message + " (" + gameFile() + " line " + std::to_string(line) + ")") << text;
    };
    failsWith("SETVARS 1 Seen ( 'x' }\n", "ASSERT file Game line 1886 : (", 1);
    failsWith("QUORVANE 2 Ana Nobody\n", "ASSERT file Game line 1956 : Nobody", 1);
    failsWith("SAVEDQUORVANE 1 Nobody\n", "ASSERT file Game line 1967 : Nobody", 1);
    failsWith("SPAREQUORVANE 1 Nobody\n", "ASSERT file Game line 1978 : Nobody", 1);
    failsWith("CHAPTER 1\nWHATEVER 3\n", "ASSERT file Game line 2002 : WHATEVER", 2);
    failsWith("CHAPTER 1\n\n\nSCENE Town BOXES 0 BATTLEV 0\n", "ASSERT file Scene line 183 : BOXES", 4);
    // Through the resume path the failure comes back as the reason, and nothing is loaded.
    writeFile(peopleFile(), "Person Ana LEVEL 2\n");
    std::string damage;
    EXPECT_FALSE(game->loadGame(nullptr, &damage));
    EXPECT_EQ(damage, "Person (SaveGames//Tester//people.save line 1)");
}

TEST_F(SaveWorld, AFailedWriteKeepsTheOldSaveAndSaysSo) {
    play();
    ASSERT_TRUE(game->saveGame());
    const std::string people1 = readFile(peopleFile());
    const std::string game1 = readFile(gameFile());

    game->chapter = 4;
    people->at(0).level = 50;
    // Something in the way of the temporary game file: the game file cannot be written.
    fs::create_directory(gameFile() + ".tmp");
    {
        ConsoleCapture console;
        EXPECT_FALSE(game->saveGame());
        EXPECT_NE(console.text.str().find("Could not save SaveGames//Tester//game.save"),
                  std::string::npos)
            << console.text.str();
    }
    EXPECT_EQ(readFile(peopleFile()), people1) << "the pair stays the old pair";
    EXPECT_EQ(readFile(gameFile()), game1);
    EXPECT_FALSE(fs::exists(peopleFile() + ".tmp"));
    fs::remove(gameFile() + ".tmp");

    ASSERT_TRUE(game->saveGame());
    EXPECT_NE(readFile(gameFile()).find("CHAPTER 4"), std::string::npos);
    EXPECT_NE(readFile(peopleFile()), people1);

    // No save folder: nothing is created, and the console says so.
    game->playerName = "Ghost";
    {
        ConsoleCapture console;
        EXPECT_FALSE(game->saveGame());
        EXPECT_NE(console.text.str().find("Could not save SaveGames//Ghost//people.save"),
                  std::string::npos);
    }
    EXPECT_FALSE(fs::exists("SaveGames/Ghost"));
}

TEST_F(SaveWorld, ASaveStoppedBetweenItsRenamesIsFinishedAtLoad) {
    play();
    ASSERT_TRUE(game->saveGame());
    const std::string oldGame = readFile(gameFile());
    game->chapter = 4;
    people->at(0).level = 50;
    ASSERT_TRUE(game->saveGame());
    const std::string newPeople = readFile(peopleFile());
    const std::string newGame = readFile(gameFile());
    // The state of a save killed after the people file's rename, before the game file's.
    fs::rename(gameFile(), gameFile() + ".tmp");
    writeFile(gameFile(), oldGame);

    freshGame();
    game->loadGame(nullptr);
    EXPECT_EQ(game->chapter, 4);
    EXPECT_EQ(people->at(0).level, 50);
    EXPECT_EQ(readFile(gameFile()), newGame);
    EXPECT_EQ(readFile(peopleFile()), newPeople);
    EXPECT_FALSE(fs::exists(gameFile() + ".tmp"));

    // A save killed while it wrote its temporaries: the old pair stands, the temporaries go.
    writeFile(peopleFile() + ".tmp", "Character Ana LEV");
    writeFile(gameFile() + ".tmp", "CURRENTSCENE Sta");
    freshGame();
    game->loadGame(nullptr);
    EXPECT_EQ(game->chapter, 4);
    EXPECT_EQ(readFile(gameFile()), newGame);
    EXPECT_FALSE(fs::exists(gameFile() + ".tmp"));
    EXPECT_FALSE(fs::exists(peopleFile() + ".tmp"));
}

TEST_F(SaveWorld, AFailedSaveLeavesNoGameTemporaryToBeTakenForItsOwn) {
    play();
    ASSERT_TRUE(game->saveGame());
    const std::string game1 = readFile(gameFile());
    // A cut-off game temporary of an older save, and a people file that cannot be written now.
    writeFile(gameFile() + ".tmp", "CURRENTSCENE Sta");
    fs::create_directory(peopleFile() + ".tmp");
    {
        ConsoleCapture console;
        EXPECT_FALSE(game->saveGame());
    }
    EXPECT_FALSE(fs::exists(gameFile() + ".tmp"));
    fs::remove(peopleFile() + ".tmp");
    Game::completeInterruptedSave("SaveGames//Tester");
    EXPECT_EQ(readFile(gameFile()), game1);
}

TEST_F(SaveWorld, NothingIsSavedOnceTheGameIsFinishedAndSavingTwiceIsStable) {
    play();
    ASSERT_TRUE(game->saveGame());
    const std::string game1 = readFile(gameFile());
    ASSERT_TRUE(game->saveGame());
    EXPECT_EQ(readFile(gameFile()), game1);
    game->gameFinished = true;
    game->chapter = 9;
    game->saveGame();
    EXPECT_EQ(readFile(gameFile()), game1);
}

} // namespace

// Every damaged copy of a real pair: each file cut after every line and inside every line,
// emptied, with a bad value in each record, and whole but ending where the game cannot go on
// (the start screen, trips to nowhere). None loads, each says which file and line, the running
// game stays as it was and the files stay as they are. A cut temporary and a lone people file
// change nothing either.
TEST_F(SaveWorld, ADamagedSaveIsNeverLoadedHalf) {
    withTrips = true;
    freshGame();
    play();
    ASSERT_TRUE(game->saveGame());
    const std::map<std::string, std::string> whole{{peopleFile(), readFile(peopleFile())},
                                                   {gameFile(), readFile(gameFile())}};
    std::vector<std::pair<std::string, std::string>> damaged; // file, its damaged text
    const auto replaced = [](std::string text, const std::string& from, const std::string& to) {
        const std::size_t at = text.find(from);
        return at == std::string::npos ? "not found: " + from : text.replace(at, from.size(), to);
    };
    const std::string& gameText = whole.at(gameFile());
    const std::string strVars = "STRVARS 3 ";
    // Each with the detail its message gives.
    const std::vector<std::pair<std::string, std::string>> deadEnds{
        {replaced(gameText, "CURRENTSCENE Town", "CURRENTSCENE StartScreen"), "CURRENTSCENE StartScreen"},
        {replaced(gameText, "CURRENTSCENE Town", "CURRENTSCENE SpaceTravelAnimation"), "FLIGHT ''"},
        {replaced(replaced(gameText, "CURRENTSCENE Town", "CURRENTSCENE SpaceTravelAnimation"), strVars,
                  "STRVARS 4 FLIGHT 'Nowhere' "),
         "FLIGHT 'Nowhere'"},
        {replaced(replaced(gameText, "CURRENTSCENE Town", "CURRENTSCENE RocketLaunch"), "ORIGIN 'Town'",
                  "ORIGIN 'Cauchemar'"),
         "ORIGIN 'Cauchemar': no scene CauchemarSystem"},
    };
    for (const auto& [text, detail] : deadEnds) {
        const std::string message = fatalMessage([&] { readGameSaveText(text, "game.save"); });
        EXPECT_NE(message.find(" : " + detail + " (game.save line 2)"), std::string::npos) << message;
        damaged.push_back({gameFile(), text});
    }
    // The same trips with a destination read.
    EXPECT_EQ(readGameSaveText(replaced(replaced(gameText, "CURRENTSCENE Town", "CURRENTSCENE SpaceTravelAnimation"),
                                        strVars, "STRVARS 4 FLIGHT 'Mars' "),
                               "game.save").sceneToGo,
              "SpaceTravelAnimation");
    EXPECT_EQ(readGameSaveText(replaced(gameText, "CURRENTSCENE Town", "CURRENTSCENE RocketLaunch"), "game.save")
                  .sceneToGo,
              "RocketLaunch");
    // Cut inside a spell's "MAGIC(": the message names the word.
    const std::string& peopleText = whole.at(peopleFile());
    const std::string cutMagic = peopleText.substr(0, peopleText.find("MAGIC(") + 6);
    EXPECT_FATAL(readPeopleSaveText(cutMagic, "people.save"), "ASSERT file main line 1101 : MAGIC( (people.save line 2)");
    damaged.push_back({peopleFile(), cutMagic});
    for (const auto& [file, text] : whole) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) lines.push_back(line + "\n");
        std::string kept;
        for (const std::string& line : lines) {
            damaged.push_back({file, kept});                               // cut before the line
            damaged.push_back({file, kept + line.substr(0, line.size() / 2)}); // cut inside it
            // A bad value: the first number of the record, else its key, spoiled.
            std::vector<std::string> words;
            std::istringstream ws(line);
            for (std::string w; ws >> w;) words.push_back(w);
            auto number = std::find_if(words.begin(), words.end(), [](const std::string& w) {
                return std::isdigit(static_cast<unsigned char>(w[0]));
            });
            if (number != words.end()) *number = "1x" + *number;
            else words[0] = "X" + words[0];
            std::string spoiled;
            for (const std::string& w : words) spoiled += w + " ";
            damaged.push_back({file, text.substr(0, kept.size()) + spoiled + "\n" +
                                         text.substr(kept.size() + line.size())});
            kept += line;
        }
    }
    ASSERT_GT(damaged.size(), 60u);

    for (const auto& [file, text] : damaged) {
        freshGame();
        for (const auto& [path, original] : whole) writeFile(path, path == file ? text : original);
        std::ostringstream peopleBefore, gameBefore;
        game->writePeopleSave(peopleBefore);
        game->writeGameSave(gameBefore);

        std::string damage;
        EXPECT_FALSE(game->loadGame(nullptr, &damage)) << file << ":\n" << text;
        const std::string name = fs::path(file).filename().string();
        EXPECT_TRUE(damage.find(name + " line ") != std::string::npos ||
                    damage.find(name + ")") != std::string::npos)
            << damage;
        std::ostringstream peopleAfter, gameAfter;
        game->writePeopleSave(peopleAfter);
        game->writeGameSave(gameAfter);
        EXPECT_TRUE(peopleAfter.str() == peopleBefore.str() && gameAfter.str() == gameBefore.str())
            << "changed by " << file << ":\n" << text;
        EXPECT_TRUE(readFile(file) == text);
    }

    // A game file gone from beside a people file that was written with one.
    freshGame();
    writeFile(peopleFile(), whole.at(peopleFile()));
    fs::remove(gameFile());
    std::string damage;
    EXPECT_FALSE(game->loadGame(nullptr, &damage));
    EXPECT_EQ(damage, "missing file (SaveGames//Tester//game.save)");
    // It is still offered, so that no new game of that name writes over it.
    EXPECT_EQ(listSaveFolders("SaveGames"), std::vector<std::string>{"Tester"});
    EXPECT_EQ(readFile(peopleFile()), whole.at(peopleFile()));

    // A cut game temporary beside a whole pair: the pair loads, and no file is replaced or removed.
    for (bool listedFirst : {true, false}) {
        freshGame();
        for (const auto& [path, original] : whole) writeFile(path, original);
        const std::string cut = gameText.substr(0, gameText.size() / 2);
        writeFile(gameFile() + ".tmp", cut);
        if (listedFirst) {
            EXPECT_EQ(listSaveFolders("SaveGames"), std::vector<std::string>{"Tester"});
            EXPECT_EQ(readFile(gameFile()), gameText);
            EXPECT_EQ(readFile(gameFile() + ".tmp"), cut);
        }
        // (Entering the saved walking scene saves again, which clears the temporary away.)
        EXPECT_TRUE(game->loadGame(nullptr));
        EXPECT_EQ(game->chapter, 3);
        EXPECT_EQ(readFile(gameFile()), gameText);
    }

    // The whole pair still loads, and a pair written before the closing records reads as it did.
    freshGame();
    for (const auto& [path, original] : whole) writeFile(path, original);
    EXPECT_TRUE(game->loadGame(nullptr));
    EXPECT_EQ(game->chapter, 3);
    freshGame();
    std::string oldGame = whole.at(gameFile()), oldPeople = whole.at(peopleFile());
    oldGame = oldGame.substr(oldGame.find('\n') + 1);
    oldGame.erase(oldGame.rfind("ENDOFSAVE"));
    oldPeople.erase(oldPeople.rfind("EndOfSave"));
    writeFile(gameFile(), oldGame);
    writeFile(peopleFile(), oldPeople);
    EXPECT_TRUE(game->loadGame(nullptr));
    EXPECT_EQ(game->chapter, 3);
    EXPECT_EQ(people->at(1).level, 7);
}
