// Scene switching, the music handover, planets and start-up loading, on scene files in a scratch
// game folder and on the demo itself.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include <tuple>
#include "game/LoadingScreen.hpp"
#include "scenes/Scene.hpp"

#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace {

void writeText(const fs::path& path, const std::string& text) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

std::string walkScene(const std::string& name, const std::string& extra) {
    return "SceneName " + name + "\nType WALK\n" + extra +
           "Tile . END\nTile # BLOCK END\nMap\n#####\n#...#\n#...#\n#####\nEndMap\n";
}

// The musics and sounds of the demo, loaded once for the whole suite.
Resources& sharedResources() {
    static PerSuite<Resources> store([] {
        auto r = std::make_unique<Resources>();
        std::string dir = runDir() + "/Resources/";
        r->loadFonts(dir + "Fonts", nullptr, 0, r->fonts);
        r->loadMusics(dir + "Musics", nullptr, 0, r->musics);
        r->loadSounds(dir + "Sounds", nullptr, 0);
        r->loadAnimations(dir + "Animations", nullptr, 0); // the travel views' rocket flame
        return r;
    });
    return *store;
}

bool playing(const std::string& music) {
    return resources->getMusic(music).getStatus() == sf::SoundSource::Playing;
}

// A scratch game folder with a roster file, four start-up scenes and the planet "Ceres".
class GameScenes : public ::testing::Test {
protected:
    void SetUp() override {
        // A folder per test: the suite may run its tests in parallel processes.
        dir_ = scratchDir(std::string("GameScenes_") +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
        writeText(dir_ + "/Game.txt", "Characters Data/Hero.txt\n");
        writeText(dir_ + "/Data/Hero.txt", "Character Hero TYPE NORMAL CLASS Warrior\n");
        writeText(dir_ + "/Game/Town_scene.txt", walkScene("Town", "Music Town\n"));
        writeText(dir_ + "/Game/Hall_scene.txt", walkScene("Hall", "Music Town\n"));
        writeText(dir_ + "/Game/Quiet_scene.txt", "SceneName Quiet\nType SCREEN\n");
        writeText(dir_ + "/Game/Title_scene.txt", "SceneName Title\nType SCREEN\nMusic Title\n");
        writeText(dir_ + "/Game/Ceres/Solaris_scene.txt",
                  walkScene("Solaris", "Music Cave\nNPC Orla 2 1\n"));
        writeText(dir_ + "/Game/Ceres/Dock_scene.txt", walkScene("Dock", "Music Cave\n"));
        writeText(dir_ + "/Game/Ceres/Characters.txt",
                  "Character Orla TYPE NORMAL CLASS Warrior LEVEL 2\n");
        fs::create_directories(dir_ + "/SaveGames/SceneTester");
        fs::create_directory_symlink(runDir() + "/Resources", dir_ + "/Resources");
        old_ = fs::current_path();
        fs::current_path(dir_);

        saved_ = {resources, game, people};
        resources = &sharedResources();
        for (auto& [name, music] : resources->musics) music.stop();
        roster_ = std::make_unique<People>();
        people = roster_.get();
        g_ = std::make_unique<Game>();
        game = g_.get();
        g_->playerName = "SceneTester";
        g_->readGameFile(nullptr, 0.5f);
        g_->loadGameFolder(nullptr);
        g_->createTravelScenes();
    }
    void TearDown() override {
        for (auto& [name, music] : resources->musics) music.stop();
        resources = saved_.resources;
        game = saved_.game;
        people = saved_.people;
        fs::current_path(old_);
    }
    Game& g() { return *g_; }
    std::string currentName() { return g().scenes[g().currentScene].name; }
    void frames(int n) {
        for (int i = 0; i < n; ++i) g().update({}, nullptr);
    }

    std::string dir_;
    fs::path old_;
    struct {
        Resources* resources;
        Game* game;
        People* people;
    } saved_{};
    std::unique_ptr<People> roster_;
    std::unique_ptr<Game> g_;
};

} // namespace

TEST_F(GameScenes, StartUpLoadsTopLevelScenesAndOnlyScansPlanets) {
    // Four top-level scenes in name order, then the two travel scenes.
    ASSERT_EQ(g().scenes.size(), 6);
    EXPECT_EQ(g().scenes[0].name, "Hall");
    EXPECT_EQ(g().scenes[3].name, "Town");
    EXPECT_EQ(g().scenes[4].name, "SpaceTravelAnimation");
    EXPECT_EQ(g().scenes[4].type, SCENE_ROCKET_FLIGHT);
    EXPECT_EQ(g().scenes[5].name, "RocketLaunch");
    EXPECT_EQ(g().scenes[5].type, SCENE_SYSTEM_TRAVEL);
    EXPECT_EQ(g().scenes[5].music, "SpaceTravel");
    EXPECT_EQ(g().scenePlanets, (std::map<std::string, std::string>{{"Dock", "Ceres"},
                                                                      {"Solaris", "Ceres"}}));
    EXPECT_EQ(g().findScene("Solaris"), -1);
    EXPECT_EQ(people->indexOf("Orla"), NO_INDEX);
    EXPECT_EQ(people->indexOf("Hero"), 0);
}

TEST_F(GameScenes, ASwitchFromAWalkingSceneWaitsTenFrames) {
    // "BACK" on the first switch names scene 0, and right after start-up the current scene is
    // its own previous scene, so even a walking scene switches at once.
    EXPECT_TRUE(g().gotoScene("BACK", false, nullptr));
    EXPECT_EQ(currentName(), "Hall");
    EXPECT_TRUE(g().gotoScene("Town", false, nullptr));
    EXPECT_EQ(currentName(), "Town");
    // Now from a walking scene that is not the previous one: delayed.
    EXPECT_FALSE(g().gotoScene("Quiet", false, nullptr));
    EXPECT_TRUE(g().switchPending);
    frames(9);
    EXPECT_EQ(currentName(), "Town");
    EXPECT_EQ(g().lastConsumer, FrameConsumer::DELAYED_SWITCH);
    frames(1);
    EXPECT_EQ(currentName(), "Quiet");
    EXPECT_FALSE(g().switchPending);
    EXPECT_EQ(g().switchFrame, 0);
    EXPECT_EQ(g().scenes[g().previousScene].name, "Town");
    // "BACK" goes to the recorded previous scene; from a screen there is no delay.
    EXPECT_TRUE(g().gotoScene("BACK", false, nullptr));
    EXPECT_EQ(currentName(), "Town");
    // Immediate skips the delay.
    EXPECT_TRUE(g().gotoScene("Hall", true, nullptr));
    EXPECT_EQ(currentName(), "Hall");
    // An immediate switch while another waits ends the wait: the scene is entered once.
    EXPECT_FALSE(g().gotoScene("Quiet", false, nullptr));
    frames(4);
    EXPECT_TRUE(g().gotoScene("Town", true, nullptr));
    EXPECT_FALSE(g().switchPending);
    EXPECT_EQ(g().switchFrame, 0);
    frames(10);
    EXPECT_EQ(currentName(), "Town");
    EXPECT_EQ(g().scenes[g().previousScene].name, "Hall");
    EXPECT_FATAL(g().gotoScene("Nowhere", true, nullptr), "ASSERT file Game line 1017 : Nowhere");
}

TEST_F(GameScenes, MusicIsHandedOverOnlyBetweenNamedDifferentMusics) {
    g().gotoScene("Town", true, nullptr);
    EXPECT_TRUE(playing("Town"));
    // Same music: left playing.
    g().gotoScene("Hall", true, nullptr);
    EXPECT_TRUE(playing("Town"));
    // A silent scene stops the old music and asks for no music of its own.
    g().gotoScene("Quiet", true, nullptr);
    EXPECT_FALSE(playing("Town"));
    // A scene with music entered from a silent scene starts it.
    g().gotoScene("Title", true, nullptr);
    EXPECT_TRUE(playing("Title"));
    g().gotoScene("Town", true, nullptr);
    EXPECT_FALSE(playing("Title"));
    EXPECT_TRUE(playing("Town"));
}

TEST_F(GameScenes, APlanetLoadsOnItsFirstSceneOnlyAndWithoutAWindow) {
    g().gotoScene("Town", true, nullptr);
    Scene* town = &g().scenes[g().currentScene];
    testing::internal::CaptureStdout();
    // No window anywhere: the planet still loads.
    EXPECT_TRUE(g().gotoScene("Solaris", true, nullptr));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("LOADING planet Ceres\n"), std::string::npos) << out;
    EXPECT_EQ(currentName(), "Solaris");
    EXPECT_EQ(g().scenes[g().currentScene].planet, "Ceres");
    EXPECT_EQ(g().loadedPlanets, std::set<std::string>{"Ceres"});
    EXPECT_EQ(g().scenes.size(), 8);
    // The planet's scene files are appended in name order, as at start-up.
    EXPECT_EQ(g().scenes[6].name, "Dock");
    EXPECT_EQ(g().scenes[7].name, "Solaris");
    EXPECT_NE(people->indexOf("Orla"), NO_INDEX);
    EXPECT_TRUE(playing("Cave"));
    // The scenes already there did not move.
    EXPECT_EQ(&g().sceneByName("Town"), town);

    testing::internal::CaptureStdout();
    g().gotoScene("Dock", true, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("LOADING planet"), std::string::npos);
    EXPECT_EQ(g().scenes.size(), 8);
}

TEST_F(GameScenes, StoredSaveLinesApplyWhenThePlanetLoads) {
    g().storedCharacterLines["Orla"] = "Character Orla TYPE NORMAL LEVEL 7";
    g().storedCharacterLines["Nobody"] = "LEVEL 3";
    SceneState opened;
    opened.battleWon = true;
    g().savedScenes["Dock"] = opened;
    g().gotoScene("Solaris", true, nullptr);
    EXPECT_EQ(people->at(people->indexOf("Orla")).level, 7);
    EXPECT_EQ(g().storedCharacterLines.count("Orla"), 0u);
    EXPECT_EQ(g().storedCharacterLines.count("Nobody"), 1u);
    EXPECT_EQ(g().savedScenes.count("Dock"), 1u); // records stay in the map
}

TEST_F(GameScenes, ALostBattleGoesToItsExitAndSkipsAnEmptyBattleMusic) {
    g().gotoScene("Town", true, nullptr);
    g().gotoScene("Solaris", true, nullptr);
    Scene& solaris = g().scenes[g().currentScene];
    solaris.battle.inBattle = true;
    solaris.battle.startedByScript = true;
    solaris.battle.egress = "PREV";
    solaris.battle.music = "";
    g().gotoPreviousScene();
    EXPECT_FALSE(solaris.battle.inBattle);
    EXPECT_EQ(g().getStrVar("SceneVar"), "Solaris"); // the landing scene of Ceres
    // Solaris is a walking scene that is not the previous one: the exit waits its 10 frames.
    EXPECT_TRUE(g().switchPending);
    EXPECT_EQ(g().pendingScene, "Town");
    frames(10);
    EXPECT_EQ(currentName(), "Town");

    // A battle music is stopped; no exit word leaves the party where it is.
    Scene& town = g().scenes[g().currentScene];
    resources->getMusic("Battle").play();
    town.battle.music = "Battle";
    town.battle.egress = "";
    g().gotoPreviousScene();
    EXPECT_FALSE(playing("Battle"));
    EXPECT_EQ(currentName(), "Town");
    EXPECT_FALSE(g().switchPending);
}

TEST_F(GameScenes, IndoorMarksSpreadFromTheirSeedsAfterAPlanetLoad) {
    struct House : BaseBuilding {
        std::string kindName() const override { return "House"; }
    };
    auto add = [&](const std::string& name) -> Scene& {
        Scene& s = g().scenes.addScene();
        s.name = name;
        s.type = SCENE_WALK;
        return s;
    };
    Scene& street = add("Street");
    street.placements[MAIN_CHARACTER_KEY] = {1, 1};
    auto shop = std::make_shared<House>();
    shop->scene = "Shop";
    street.buildings.push_back(shop);
    street.exits[{1, 2}] = "Square";
    street.exits[{2, 2}] = "BACK";
    street.borderExits[EAST] = "Cellar";
    add("Shop").exits[{1, 1}] = "ShopYard";
    add("ShopYard");
    add("Square").exits[{1, 1}] = "Backyard";
    add("Backyard");
    add("Cellar").alwaysIndoor = true;
    Scene& cave = add("DarkCave");
    cave.light.dark = true;
    cave.exits[{1, 1}] = "Grotto";
    add("Grotto");
    add("Island"); // reached from nowhere: keeps its flag
    g().scenes[g().findScene("Island")].indoor = true;
    g().finishPlanetLoad();
    auto indoor = [&](const std::string& name) { return g().sceneByName(name).indoor; };
    EXPECT_FALSE(indoor("Street"));
    EXPECT_TRUE(indoor("Shop"));      // through a building door
    EXPECT_TRUE(indoor("ShopYard"));  // a door of an indoor scene passes its mark on
    EXPECT_FALSE(indoor("Square"));   // a door of an outdoor scene
    EXPECT_FALSE(indoor("Backyard"));
    EXPECT_TRUE(indoor("Cellar"));    // always indoor, though reached from outdoors
    EXPECT_TRUE(indoor("DarkCave"));
    EXPECT_TRUE(indoor("Grotto"));
    EXPECT_TRUE(indoor("Island"));
}

TEST_F(GameScenes, SleepRestoresThePartyAndPausesTheMusicForItsFrames) {
    g().gotoScene("Town", true, nullptr);
    Character& hero = people->at(0);
    hero.stats[MAXHP] = 40;
    hero.stats[HP] = 3;
    hero.stats[MAXMP] = 12;
    hero.stats[MP] = 0;
    hero.tile = hero.targetTile = {1, 1};
    g().sleep();
    EXPECT_TRUE(g().sleeping);
    EXPECT_EQ(hero.stats[HP], 40);
    EXPECT_EQ(hero.stats[MP], 12);
    EXPECT_EQ(resources->getMusic("Town").getStatus(), sf::SoundSource::Paused);
    EXPECT_TRUE(fs::exists("SaveGames/SceneTester/game.save"));
    frames(149);
    EXPECT_TRUE(g().sleeping);
    EXPECT_EQ(g().lastConsumer, FrameConsumer::SLEEP);
    frames(1);
    EXPECT_FALSE(g().sleeping);
    EXPECT_TRUE(playing("Town"));
    EXPECT_EQ(hero.tile, Point(1, 2));
}

TEST_F(GameScenes, ChoiceBoxesTakeTheFrameOneAtATimeInOrder) {
    g().gotoScene("Title", true, nullptr);
    auto open = [](OptionMenu& box, std::vector<std::string> options) {
        box.options = std::move(options);
        box.selected = 0;
        box.visibleRows = 4;
        box.active = true;
    };
    open(g().box1, {"a", "b"});
    open(g().box2, {"c", "d"});
    open(g().box3, {"e", "f"});
    auto frame = [&](std::vector<int> keyCodes) { g().update(keyCodes, nullptr); };

    frame({keys::Down});
    EXPECT_EQ(g().lastConsumer, FrameConsumer::CHOICE_BOX_1);
    frame({});
    frame({keys::Space});
    EXPECT_FALSE(g().box1.active);
    EXPECT_EQ(g().choiceBox1Selection(), "b");
    EXPECT_EQ(g().box2.selected, 0); // box 2 did not see the frames of box 1

    frame({keys::Down});
    EXPECT_EQ(g().lastConsumer, FrameConsumer::CHOICE_BOX_2);
    frame({});
    frame({keys::Space});
    EXPECT_FALSE(g().box2.active);
    EXPECT_EQ(g().choiceBox2Selection(), "d");

    // Backing out of box 3 brings box 2 back; box 3 waits beneath it.
    frame({});
    frame({keys::LControl});
    EXPECT_EQ(g().lastConsumer, FrameConsumer::CHOICE_BOX_3);
    EXPECT_TRUE(g().box2.active);
    EXPECT_TRUE(g().box3.active);
    frame({});
    EXPECT_EQ(g().lastConsumer, FrameConsumer::CHOICE_BOX_2);
    frame({keys::Space});
    EXPECT_FALSE(g().box2.active);
    frame({});
    frame({keys::Space});
    EXPECT_EQ(g().lastConsumer, FrameConsumer::CHOICE_BOX_3);
    EXPECT_FALSE(g().box3.active);
    EXPECT_EQ(g().choiceBox3Selection(), "e");
    frame({});
    EXPECT_EQ(g().lastConsumer, FrameConsumer::WALKING_SCENE);
}

TEST_F(GameScenes, EnteringATravelSceneResetsItsState) {
    g().rocketFlight.phase = 3;
    g().rocketFlight.frameCounter = 77;
    g().gotoScene("SpaceTravelAnimation", true, nullptr);
    EXPECT_EQ(g().rocketFlight.phase, 0);
    EXPECT_EQ(g().rocketFlight.frameCounter, 0);
    EXPECT_TRUE(playing("SpaceTravel"));
    frames(1);
    EXPECT_EQ(g().lastConsumer, FrameConsumer::ROCKET_FLIGHT);

    g().systemTravel.frameCounter = 40;
    g().systemTravel.rocket.pixel = {5, 5};
    g().systemTravel.rocket.direction = WEST;
    g().gotoScene("RocketLaunch", true, nullptr);
    EXPECT_EQ(g().systemTravel.frameCounter, 0);
    EXPECT_EQ(g().systemTravel.sky.kind, BG_SPACE);
    EXPECT_EQ(g().systemTravel.rocket.tile, Point(0, 0));
    EXPECT_EQ(g().systemTravel.rocket.pixel, Point(960, 540));
    EXPECT_EQ(g().systemTravel.rocket.direction, NORTH);
    EXPECT_TRUE(playing("SpaceTravel")); // the same music goes on
    frames(1);
    EXPECT_EQ(g().lastConsumer, FrameConsumer::SYSTEM_TRAVEL);
}

namespace {

struct ProgressLog {
    std::vector<float> overall;
    LoadingObserver old;
    ProgressLog() {
        old = setLoadingObserver([this](float o, float) {
            if (overall.empty() || overall.back() != o) overall.push_back(o);
        });
    }
    ~ProgressLog() { setLoadingObserver(old); }
};

} // namespace

TEST_F(GameScenes, TheIndexFileIsReadLineByLineUntilAnEmptyLine) {
    writeText("Data/A.txt", "Character Ann TYPE NORMAL\n");
    writeText("Data/B.txt", "Character Ben TYPE NORMAL\n");
    writeText("Data/C.txt", "Character Cid TYPE NORMAL\n");
    auto reset = [&] {
        roster_ = std::make_unique<People>();
        people = roster_.get();
    };
    // Lower-case kinds load nothing; the third, empty line ends the reading.
    reset();
    writeText("Game.txt", "Characters Data/A.txt\ncharacters Data/B.txt\n\nEnemies Data/C.txt\n");
    g().readGameFile(nullptr, 0.5f);
    EXPECT_NE(people->indexOf("Ann"), NO_INDEX);
    EXPECT_EQ(people->indexOf("Ben"), NO_INDEX);
    EXPECT_EQ(people->indexOf("Cid"), NO_INDEX);
    // An empty first line is passed over; a last line without a line end still loads.
    reset();
    writeText("Game.txt", "\nEnemies Data/B.txt\nCharacters Data/C.txt");
    g().readGameFile(nullptr, 0.5f);
    EXPECT_NE(people->indexOf("Ben"), NO_INDEX);
    EXPECT_NE(people->indexOf("Cid"), NO_INDEX);
}

TEST_F(GameScenes, EachIndexLineStartsAtTheFractionItsPredecessorsLeft) {
    sf::RenderWindow window(sf::VideoMode(320, 200), "progress");
    writeText("Data/A.txt", "Character Ann TYPE NORMAL\n");
    writeText("Data/B.txt", "Character Ben TYPE NORMAL\n");
    writeText("Data/C.txt", "Character Cid TYPE NORMAL\n");
    const std::string data = runDir() + "/Data/";
    writeText("Game.txt", "Characters Data/A.txt\nEnemies Data/B.txt\nMagic " + data +
                              "Magic.txt\nItems " + data + "Items.txt\nPotions " + data +
                              "Potions.txt\nCharacters Data/C.txt\n");
    roster_ = std::make_unique<People>();
    people = roster_.get();
    MagicRepository spells;
    ItemList items;
    PotionRepository potions;
    auto saved = std::make_tuple(magicRepository, itemList, potionRepository);
    magicRepository = &spells;
    itemList = &items;
    potionRepository = &potions;
    ProgressLog log;
    g().readGameFile(&window, 0.5f);
    std::tie(magicRepository, itemList, potionRepository) = saved;
    // The character loader reports its start fraction; the catalogues add 0.1 each, potions
    // 0.05.
    ASSERT_GE(log.overall.size(), 3u);
    EXPECT_FLOAT_EQ(log.overall.front(), 0.5f);
    EXPECT_FLOAT_EQ(log.overall[1], 0.6f);
    EXPECT_FLOAT_EQ(log.overall.back(), 0.95f);
    EXPECT_GT(items.size(), 0);
    EXPECT_NE(people->indexOf("Cid"), NO_INDEX);
}

TEST_F(GameScenes, AMissingIndexFileIsReportedAndPassedOver) {
    fs::remove("Game.txt");
    bool waited = false;
    auto oldWait = setPauseWait([&] { waited = true; });
    testing::internal::CaptureStdout();
    g().readGameFile(nullptr, 0.5f);
    std::string out = testing::internal::GetCapturedStdout();
    setPauseWait(oldWait);
    EXPECT_EQ(out, "Couldn't locate game file\nPaused... press any key to continue\n");
    EXPECT_TRUE(waited);
}

TEST_F(GameScenes, AWindowlessSwitchLoadsThePlanetBehindTheGamesOwnWindow) {
    sf::RenderWindow window(sf::VideoMode(320, 200), "planet");
    g().window = &window;
    ProgressLog log;
    g().gotoScene("Solaris", true, nullptr);
    // Only the character loader reports at overall 0, and it reports only with a window.
    EXPECT_NE(std::find(log.overall.begin(), log.overall.end(), 0.0f), log.overall.end());
    EXPECT_FLOAT_EQ(log.overall.back(), 1.0f);
}

TEST_F(GameScenes, BumpBackReturnsTheLeaderToItsLastTileOrTheEntryTile) {
    g().gotoScene("Town", true, nullptr);
    Scene& town = g().scenes[g().currentScene];
    Character& hero = people->at(0);
    hero.previousTile = {1, 1};
    hero.tile = {2, 1};
    hero.pixel = {250, 130};
    g().bumpBack();
    EXPECT_EQ(hero.tile, Point(1, 1));
    EXPECT_EQ(hero.targetTile, Point(1, 1));
    EXPECT_EQ(hero.pixel, Point(120, 120));
    ASSERT_FALSE(town.message.lines.empty());
    EXPECT_EQ(town.message.lines[0], "Ouch");
    town.entryTile = {3, 2};
    g().bumpBack(); // previous tile and tile are now the same
    EXPECT_EQ(hero.tile, Point(3, 2));
}

TEST_F(GameScenes, TheCharacterViewShowsACopyFacingTheViewer) {
    Character& hero = people->at(0);
    hero.facing = WEST;
    hero.showBack = true;
    g().showCharacter(0);
    EXPECT_EQ(g().shownCharacter, 0);
    EXPECT_EQ(g().viewedCharacter.name, "Hero");
    EXPECT_EQ(g().viewedCharacter.facing, SOUTH);
    EXPECT_EQ(g().viewedCharacter.previousFacing, WEST);
    EXPECT_FALSE(g().viewedCharacter.showBack);
    EXPECT_EQ(hero.facing, WEST); // the roster entry is left alone
}
