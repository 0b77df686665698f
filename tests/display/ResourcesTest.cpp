#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "game/LoadingScreen.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace fs = std::filesystem;

namespace {

void writePicture(const fs::path& path, unsigned w, unsigned h, sf::Color colour) {
    fs::create_directories(path.parent_path());
    sf::Image image;
    image.create(w, h, colour);
    // SFML writes PNG only; the reader goes by content, so a ".gif" name still loads.
    const fs::path png = path.extension() == ".png" ? path : fs::path(path.string() + ".tmp.png");
    ASSERT_TRUE(image.saveToFile(png.string()));
    if (png != path) fs::rename(png, path);
}

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

// Runs the test body in a scratch folder, as the game runs in its working folder.
class InFolder {
public:
    explicit InFolder(const std::string& dir) : old_(fs::current_path()) { fs::current_path(dir); }
    ~InFolder() { fs::current_path(old_); }

private:
    fs::path old_;
};

// Records every loading-screen call while alive.
struct ProgressLog {
    std::vector<std::pair<float, float>> calls;
    LoadingObserver old;
    ProgressLog() {
        old = setLoadingObserver([this](float o, float s) { calls.emplace_back(o, s); });
    }
    ~ProgressLog() { setLoadingObserver(old); }
};

struct StoreFixture : ::testing::Test {
    std::unique_ptr<Resources> store = std::make_unique<Resources>();
    GlobalsGuard globals;
    int oldTile = displayTileSize;
    void SetUp() override { resources = store.get(); }
    void TearDown() override { displayTileSize = oldTile; }
};

sf::Texture solidTexture(unsigned w, unsigned h, sf::Color c) {
    sf::Image image;
    image.create(w, h, c);
    sf::Texture t;
    t.loadFromImage(image);
    return t;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Getters

using ResourcesGetters = StoreFixture;

TEST_F(ResourcesGetters, EveryMissingNameStopsWithItsOwnLine) {
    Resources& r = *store;
    EXPECT_FATAL(r.getFont("Gone"), "ASSERT file Resources line 328 : Gone");
    EXPECT_FATAL(r.getMusic("Gone"), "ASSERT file Resources line 172 : Gone");
    EXPECT_FATAL(r.getObjectTexture("Gone"), "ASSERT file Resources line 340 : Gone");
    EXPECT_FATAL(r.getTexture("Gone", false), "ASSERT file Resources line 354 : Gone");
    EXPECT_FATAL(r.getTexture("Gone", true), "ASSERT file Resources line 354 : Gone");
    EXPECT_FATAL(r.getGemTexture("Gone"), "ASSERT file Resources line 361 : Gone");
    EXPECT_FATAL(r.getHouseSignTexture("Gone"), "ASSERT file Resources line 368 : Gone");
    EXPECT_FATAL(r.getBuildingTexture("Gone"), "ASSERT file Resources line 375 : Gone");
    EXPECT_FATAL(r.getAnimation("Gone"), "ASSERT file Resources line 134 : Gone");
    EXPECT_FATAL(r.getBackAnimation("Gone"), "ASSERT file Resources line 141 : Gone");
    EXPECT_FATAL(r.getTileSprite("Gone"), "ASSERT file Resources line 151 : Gone");
    EXPECT_FATAL(r.getSlashTexture("Gone"), "ASSERT file Resources line 183 : Gone");
    EXPECT_FATAL(r.getStuffToThrowTexture("Shoe", 12), "ASSERT file Resources line 190 : Shoe12");
    EXPECT_FATAL(r.getStuffToThrowColor("Shoe", -3), "ASSERT file Resources line 197 : Shoe-3");
    EXPECT_FATAL(r.getHatTexture("Gone"), "ASSERT file Resources line 203 : Gone");
    EXPECT_FATAL(r.getStoryTexture("Gone"), "ASSERT file Resources line 209 : Gone");
    EXPECT_FATAL(r.countStuffToThrow("Gone"), "ASSERT file Resources line 222 : Gone");
    EXPECT_FATAL(r.getPlanetTexture("Gone"), "ASSERT file Resources line 228 : Gone");
    EXPECT_FATAL(r.getItemTexture("Gone"), "ASSERT file Resources line 233 : Gone");
    EXPECT_FATAL(r.getMiscTexture("Gone"), "ASSERT file Resources line 239 : Gone");
    EXPECT_FATAL(r.getSkillIconTexture("Gone"), "ASSERT file Resources line 245 : Gone");
    EXPECT_FATAL(r.getBattleBackgroundTexture("Gone"), "ASSERT file Resources line 251 : Gone");
    EXPECT_FATAL(r.getMagicTexture("Gone"), "ASSERT file Resources line 257 : Gone");
    EXPECT_FATAL(r.getStfTexture("Gone"), "ASSERT file Resources line 263 : Gone");
    EXPECT_FATAL(r.getFaceTexture("Gone"), "ASSERT file Resources line 269 : Gone");
    EXPECT_FATAL(r.getBodyTexture("Gone"), "ASSERT file Resources line 275 : Gone");
    EXPECT_FATAL(r.getFlagTexture("Gone"), "ASSERT file Resources line 287 : Gone");
}

TEST_F(ResourcesGetters, MusicOfASceneWithoutMusic) {
    EXPECT_FATAL(store->getMusic(""), "ASSERT file Resources line 172 : Esta scene nao tem musica.");
    // A music file named ".ogg" has the empty name and serves it.
    store->musics[""];
    EXPECT_EQ(&store->getMusic(""), &store->musics[""]);
}

TEST_F(ResourcesGetters, ZoomOutVariantOnlyWhenAskedAndPresent) {
    store->textures["Brick"] = solidTexture(4, 4, sf::Color::Red);
    store->textures["Brick_zoomOut"] = solidTexture(2, 2, sf::Color::Blue);
    store->textures["Sand"] = solidTexture(4, 4, sf::Color::Yellow);
    EXPECT_EQ(&store->getTexture("Brick", true), &store->textures["Brick_zoomOut"]);
    EXPECT_EQ(&store->getTexture("Brick", false), &store->textures["Brick"]);
    EXPECT_EQ(&store->getTexture("Sand", true), &store->textures["Sand"]);
}

TEST_F(ResourcesGetters, ThrownObjectsByComposedKeyAndSubstringCount) {
    store->stuffToThrow["Shoe1"];
    store->stuffToThrow["Shoe12"];
    store->stuffToThrow["BigShoe3"];
    store->stuffToThrow["Rock1"];
    store->stuffToThrowColors["Shoe12"] = sf::Color(1, 2, 3, 4);
    EXPECT_EQ(&store->getStuffToThrowTexture("Shoe", 12), &store->stuffToThrow["Shoe12"]);
    EXPECT_EQ(store->getStuffToThrowColor("Shoe", 12), sf::Color(1, 2, 3, 4));
    EXPECT_EQ(store->countStuffToThrow("Shoe"), 3); // "BigShoe3" counts too
    EXPECT_EQ(store->countStuffToThrow(""), 4);
    Resources empty;
    EXPECT_FATAL(empty.countStuffToThrow(""), "ASSERT file Resources line 222 : ");
}

TEST_F(ResourcesGetters, SoundsAndGemNamesWithoutFailure) {
    EXPECT_EQ(store->findSound("Nope"), nullptr);
    EXPECT_FATAL(store->playSound("Nope"), "");
    EXPECT_TRUE(store->sounds.empty());
    EXPECT_TRUE(store->getGemNames().empty());
    store->gems["Ruby"];
    store->gems["Amber"];
    EXPECT_EQ(store->getGemNames(), (std::vector<std::string>{"Amber", "Ruby"}));
}

TEST_F(ResourcesGetters, TileSpriteFollowsTheDrawnTileSize) {
    store->tileSprites[{"Grass", 120, 120}];
    store->tileSprites[{"Grass", 60, 60}];
    displayTileSize = 120;
    EXPECT_EQ(&store->getTileSprite("Grass"), &store->tileSprites.at({"Grass", 120, 120}));
    displayTileSize = 60;
    EXPECT_EQ(&store->getTileSprite("Grass"), &store->tileSprites.at({"Grass", 60, 60}));
}

// ---------------------------------------------------------------------------------------------
// Loading folders

using ResourcesLoading = StoreFixture;

TEST_F(ResourcesLoading, StemsMaskAndSubFolders) {
    const std::string dir = scratchDir("resources_stems");
    writePicture(fs::path(dir) / "Tree.png", 4, 4, sf::Color::Green);
    writePicture(fs::path(dir) / "Tree.gif", 4, 4, sf::Color::Green);
    writePicture(fs::path(dir) / "Rock.big.png", 6, 4, sf::Color::Magenta);
    writePicture(fs::path(dir) / ".png", 2, 2, sf::Color::Blue);
    fs::create_directories(fs::path(dir) / "Inner.d");
    writeText(fs::path(dir) / "Broken.png", "not a picture");
    store->loadTextureFolder(dir, nullptr, 0.3f, store->misc);
    std::vector<std::string> keys;
    for (auto& [k, t] : store->misc) keys.push_back(k);
    EXPECT_EQ(keys, (std::vector<std::string>{"", "Broken", "Inner", "Rock", "Tree"}));
    EXPECT_EQ(store->misc["Rock"].getSize(), sf::Vector2u(6, 4));
    // Pure magenta turns transparent.
    EXPECT_EQ(store->misc["Rock"].copyToImage().getPixel(1, 1), sf::Color(255, 0, 255, 0));
    EXPECT_EQ(store->misc["Inner"].getSize(), sf::Vector2u(0, 0));
    EXPECT_EQ(store->misc["Broken"].getSize(), sf::Vector2u(0, 0));
}

TEST_F(ResourcesLoading, FolderProgressOpensThenCountsEveryEntry) {
    const std::string dir = scratchDir("resources_progress");
    for (const char* n : {"A.png", "B.png", "C.png", "D.png"})
        writePicture(fs::path(dir) / n, 2, 2, sf::Color::White);
    ProgressLog log;
    store->loadTextureFolder(dir, nullptr, 0.37f, store->items);
    ASSERT_EQ(log.calls.size(), 5u);
    EXPECT_EQ(log.calls[0], std::make_pair(0.37f, 0.f));
    EXPECT_EQ(log.calls[1], std::make_pair(0.37f, 0.f));
    EXPECT_EQ(log.calls[4], std::make_pair(0.37f, 0.75f));
    ProgressLog missing;
    store->loadTextureFolder(dir + "/nothing", nullptr, 0.4f, store->items);
    EXPECT_EQ(missing.calls.size(), 1u);
}

TEST_F(ResourcesLoading, ThrownObjectCentreColours) {
    const std::string dir = scratchDir("resources_throw");
    sf::Image shoe;
    shoe.create(5, 3, sf::Color::Black);
    shoe.setPixel(2, 1, sf::Color(10, 20, 30));
    ASSERT_TRUE(shoe.saveToFile(dir + "/Shoe1.png"));
    writePicture(fs::path(dir) / "Ball1.png", 4, 4, sf::Color::Magenta);
    writeText(fs::path(dir) / "Junk1.png", "");
    fs::create_directories(fs::path(dir) / "Box1");
    store->loadTextureFolder(dir, nullptr, 0.33f, store->stuffToThrow);
    EXPECT_EQ(store->getStuffToThrowColor("Shoe", 1), sf::Color(10, 20, 30));
    EXPECT_EQ(store->getStuffToThrowColor("Ball", 1), sf::Color(255, 0, 255, 0));
    // Unreadable pictures have no centre pixel; they get an invisible colour instead of a crash.
    EXPECT_EQ(store->getStuffToThrowColor("Junk", 1), sf::Color::Transparent);
    EXPECT_EQ(store->getStuffToThrowColor("Box", 1), sf::Color::Transparent);
    // Only the thrown-object folder records colours.
    store->loadTextureFolder(dir, nullptr, 0.38f, store->misc);
    EXPECT_EQ(store->stuffToThrowColors.size(), 4u);
}

TEST_F(ResourcesLoading, CharacterFolderMouthsTemplateAndWings) {
    const std::string dir = scratchDir("resources_characters");
    writePicture(fs::path(dir) / "Mouth2.png", 3, 3, sf::Color::Red);
    writePicture(fs::path(dir) / "Mouth10.png", 4, 4, sf::Color::Red);
    writePicture(fs::path(dir) / "Mouth2.gif", 5, 5, sf::Color::Red);
    writePicture(fs::path(dir) / "PotionTemplate.png", 7, 9, sf::Color::White);
    writePicture(fs::path(dir) / "FairyWings.png", 8, 6, sf::Color::White);
    ProgressLog log;
    store->loadCharacterPictures(dir, nullptr, 0.1f);
    EXPECT_EQ(store->mouthNumbers, (std::vector<int>{2, 10}));
    EXPECT_EQ(store->mouths.size(), 2u);
    EXPECT_EQ(store->potionTemplate.getSize(), sf::Vector2u(7, 9));
    EXPECT_EQ(store->fairyWings.getSize(), sf::Vector2u(8, 6));
    ASSERT_EQ(log.calls.size(), 5u);
    EXPECT_EQ(log.calls.back(), std::make_pair(0.1f, 0.8f));
}

TEST_F(ResourcesLoading, BadCharacterAndEnemyFileNamesStopNamingTheFile) {
    struct Case {
        const char* file;
        bool enemies;
        const char* message;
    };
    const Case cases[] = {
        {"Hero.png", false, "ASSERT file Resources line 195 : Hero"},
        {"MouthX.png", false, "ASSERT file Resources line 195 : MouthX"},
        {"Mouth.png", false, "ASSERT file Resources line 195 : Mouth"},
        {"Mouth99999999999.png", false, "ASSERT file Resources line 195 : Mouth99999999999"},
        {"Goblin.png", true, "ASSERT file Resources line 219 : Goblin"},
        {"MonsterMouth.png", true, "ASSERT file Resources line 219 : MonsterMouth"},
        {"MonsterMouthA1.png", true, "ASSERT file Resources line 219 : MonsterMouthA1"},
        {"MonsterTail.png", true, "ASSERT file Resources line 219 : MonsterTail"},
    };
    for (const Case& c : cases) {
        const std::string dir = scratchDir("resources_badnames");
        writePicture(fs::path(dir) / c.file, 2, 2, sf::Color::Red);
        Resources r;
        if (c.enemies) EXPECT_FATAL(r.loadEnemyPictures(dir, nullptr, 0.15f), c.message);
        else EXPECT_FATAL(r.loadCharacterPictures(dir, nullptr, 0.1f), c.message);
    }
    // Text after the number is ignored, a sign is allowed.
    const std::string dir = scratchDir("resources_mouthsuffix");
    writePicture(fs::path(dir) / "Mouth3b.png", 2, 2, sf::Color::Red);
    writePicture(fs::path(dir) / "Mouth-1.png", 2, 2, sf::Color::Red);
    store->loadCharacterPictures(dir, nullptr, 0.1f);
    EXPECT_EQ(store->mouthNumbers, (std::vector<int>{-1, 3}));
}

TEST_F(ResourcesLoading, EnemyFolderWingsAndMouths) {
    const std::string dir = scratchDir("resources_enemies");
    writePicture(fs::path(dir) / "MonsterLeftWing.png", 3, 3, sf::Color::Red);
    writePicture(fs::path(dir) / "MonsterRightWing.png", 4, 4, sf::Color::Red);
    writePicture(fs::path(dir) / "MonsterMouth7.png", 5, 5, sf::Color::Red);
    writePicture(fs::path(dir) / "MonsterMouth1.png", 6, 6, sf::Color::Red);
    ProgressLog log;
    store->loadEnemyPictures(dir, nullptr, 0.15f);
    EXPECT_EQ(store->monsterWings[1].getSize(), sf::Vector2u(3, 3));
    EXPECT_EQ(store->monsterWings[0].getSize(), sf::Vector2u(4, 4));
    EXPECT_EQ(store->monsterMouthNumbers, (std::vector<int>{1, 7}));
    // The enemy step counts its own folder: four entries, four steps below 1.
    ASSERT_EQ(log.calls.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(log.calls[i], std::make_pair(0.15f, i / 4.f));

    // Any other "Monster...Wing" file is the other wing too; whichever is listed later wins.
    writePicture(fs::path(dir) / "MonsterWingBig.png", 7, 7, sf::Color::Red);
    Resources again;
    again.loadEnemyPictures(dir, nullptr, 0.15f);
    EXPECT_EQ(again.monsterWings[1].getSize(), sf::Vector2u(3, 3));
    const sf::Vector2u other = again.monsterWings[0].getSize();
    EXPECT_TRUE(other == sf::Vector2u(4, 4) || other == sf::Vector2u(7, 7)) << other.x;
}

TEST_F(ResourcesLoading, EnemyProgressWithAnEmptyCharacterFolder) {
    const std::string dir = scratchDir("resources_enemyprogress");
    fs::create_directories(fs::path(dir) / "Resources/Characters");
    for (int k = 1; k <= 3; ++k)
        writePicture(fs::path(dir) / ("Resources/Enemies/MonsterMouth" + std::to_string(k) + ".png"), 2, 2,
                     sf::Color::Red);
    InFolder here(dir);
    ProgressLog log;
    store->loadAll(nullptr);
    std::vector<float> enemySteps;
    for (auto& [overall, step] : log.calls) {
        EXPECT_TRUE(step >= 0.f && step <= 1.f) << overall << " " << step;
        if (overall == 0.15f) enemySteps.push_back(step);
    }
    EXPECT_EQ(enemySteps, (std::vector<float>{0.f, 1.f / 3, 2.f / 3}));
}

TEST_F(ResourcesLoading, LoadAllVisitsTheStagesInOrder) {
    const std::string dir = scratchDir("resources_stages");
    fs::create_directories(fs::path(dir) / "Resources");
    InFolder here(dir);
    ProgressLog log;
    store->loadAll(nullptr);
    // An empty tree shows only the opening call of each stage.
    std::vector<float> overall;
    for (auto& [o, s] : log.calls) {
        EXPECT_EQ(s, 0.f);
        overall.push_back(o);
    }
    EXPECT_EQ(overall, (std::vector<float>{0.0f, 0.05f, 0.1f, 0.2f, 0.21f, 0.22f, 0.25f, 0.27f, 0.28f,
                                           0.3f, 0.31f, 0.32f, 0.33f, 0.34f, 0.35f, 0.36f, 0.37f, 0.38f,
                                           0.39f, 0.4f, 0.45f, 0.49f, 0.495f}));
}

TEST_F(ResourcesLoading, AnimationFramesByNumber) {
    const std::string dir = scratchDir("resources_animations");
    writePicture(fs::path(dir) / "FireF1.png", 2, 2, sf::Color::Red);
    writePicture(fs::path(dir) / "FireF3.png", 3, 3, sf::Color::Red);
    writePicture(fs::path(dir) / "FlyF (2).png", 4, 4, sf::Color::Red);
    writePicture(fs::path(dir) / "FlagFlyF (12).png", 5, 5, sf::Color::Red);
    store->loadAnimations(dir, nullptr, 0.25f);
    ASSERT_EQ(store->getAnimation("Fire").size(), 3u);
    EXPECT_EQ(store->getAnimation("Fire")[0].getSize(), sf::Vector2u(2, 2));
    EXPECT_EQ(store->getAnimation("Fire")[1].getSize(), sf::Vector2u(0, 0));
    EXPECT_EQ(store->getAnimation("Fire")[2].getSize(), sf::Vector2u(3, 3));
    ASSERT_EQ(store->getAnimation("Fly").size(), 2u);
    EXPECT_EQ(store->getAnimation("Fly")[1].getSize(), sf::Vector2u(4, 4));
    // The last "F" splits name and frame.
    ASSERT_EQ(store->getAnimation("FlagFly").size(), 12u);
}

TEST_F(ResourcesLoading, BadAnimationFileNamesStopNamingTheFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"walk1.png", "ASSERT file Resources line 236 : walk1"},
        {".png", "ASSERT file Resources line 236 : "},
        {"WalkF (2.png", "ASSERT file Resources line 241 : WalkF (2"},
        {"WalkF ().png", "ASSERT file Resources line 242 : WalkF ()"},
        {"WalkF )(.png", "ASSERT file Resources line 242 : WalkF )("},
    };
    for (auto& [file, message] : cases) {
        const std::string dir = scratchDir("resources_badanim");
        writePicture(fs::path(dir) / file, 2, 2, sf::Color::Red);
        Resources r;
        EXPECT_FATAL(r.loadAnimations(dir, nullptr, 0.25f), message);
    }
    // Frame numbers that would index outside the frame list, or are no number at all.
    for (const std::string stem :
         {"WalkF0", "WalkF-2", "WalkFx", "WalkF", "WalkF (a)", "WalkF999999999"}) {
        const std::string dir = scratchDir("resources_badframe");
        writePicture(fs::path(dir) / (stem + ".png"), 2, 2, sf::Color::Red);
        Resources r;
        const std::string message = fatalMessage([&] { r.loadAnimations(dir, nullptr, 0.25f); });
        EXPECT_EQ(message.rfind("ASSERT file Resources line ", 0), 0u) << message;
        const std::string tail = " : " + stem;
        EXPECT_TRUE(message.size() > tail.size() &&
                    message.compare(message.size() - tail.size(), tail.size(), tail) == 0)
            << message;
        EXPECT_TRUE(r.animations.count("Walk") == 0 || r.animations["Walk"].empty()) << stem;
    }
}

TEST_F(ResourcesLoading, TileSpritesForBothZoomLevels) {
    store->textures["Brick"] = solidTexture(240, 120, sf::Color::Red);
    store->textures["Brick_zoomOut"] = solidTexture(30, 30, sf::Color::Blue);
    store->textures["Sand"] = solidTexture(60, 240, sf::Color::Yellow);
    store->buildTileSprites();
    EXPECT_EQ(store->tileSprites.size(), 4u);
    const sf::Sprite& big = store->tileSprites.at({"Brick", 120, 120});
    EXPECT_EQ(big.getTexture(), &store->textures["Brick"]);
    EXPECT_FLOAT_EQ(big.getScale().x, 0.5f);
    const sf::Sprite& small = store->tileSprites.at({"Brick", 60, 60});
    EXPECT_EQ(small.getTexture(), &store->textures["Brick_zoomOut"]);
    EXPECT_FLOAT_EQ(small.getScale().y, 2.f);
    EXPECT_FLOAT_EQ(store->tileSprites.at({"Sand", 60, 60}).getScale().x, 0.25f);
    EXPECT_EQ(store->tileSprites.count({"Brick_zoomOut", 60, 60}), 0u);
    // An unreadable tile picture has no size to scale by: its sprites stay unscaled.
    store->textures["Broken"];
    store->buildTileSprites();
    EXPECT_EQ(store->tileSprites.at({"Broken", 120, 120}).getScale(), sf::Vector2f(1, 1));
    EXPECT_EQ(store->tileSprites.at({"Broken", 60, 60}).getScale(), sf::Vector2f(1, 1));
}

TEST_F(ResourcesLoading, ObjectPicturesOnDemand) {
    const std::string dir = scratchDir("resources_objects");
    writePicture(fs::path(dir) / "Resources/Objects/Barrel.png", 3, 3, sf::Color::Red);
    writePicture(fs::path(dir) / "Resources/Objects/Barrel.gif", 5, 5, sf::Color::Red);
    writePicture(fs::path(dir) / "Resources/Objects/Crate.gif", 4, 4, sf::Color::Red);
    InFolder here(dir);
    {
        ProgressLog log;
        store->loadObjectTextures(nullptr, {"Barrel", "Crate", "Ghost"}, 0.9f);
        EXPECT_EQ(log.calls, (std::vector<std::pair<float, float>>{
                                 {0.9f, 1.f / 3}, {0.9f, 2.f / 3}, {0.9f, 1.f}, {0.9f, 1.f}}));
    }
    EXPECT_EQ(store->getObjectTexture("Barrel").getSize(), sf::Vector2u(3, 3));
    EXPECT_EQ(store->getObjectTexture("Crate").getSize(), sf::Vector2u(4, 4));
    EXPECT_EQ(store->objects.count("Ghost"), 0u);
    {
        ProgressLog log;
        store->loadObjectTextures(nullptr, {"Barrel", "Crate"}, 0.5f);
        EXPECT_EQ(log.calls, (std::vector<std::pair<float, float>>{{0.5f, 1.f}}));
        store->loadObjectTextures(nullptr, {}, 0.5f);
        EXPECT_EQ(log.calls.size(), 2u);
    }
}

TEST_F(ResourcesLoading, BackgroundAnimationsStopAtTheFirstGap) {
    const std::string dir = scratchDir("resources_back");
    for (int f : {1, 2, 4}) writePicture(fs::path(dir) / ("Resources/backAnimations/WaveF" + std::to_string(f) + ".png"), 2, 2, sf::Color::Blue);
    writePicture(fs::path(dir) / "Resources/backAnimations/StarF1.gif", 3, 3, sf::Color::Blue);
    writePicture(fs::path(dir) / "Resources/backAnimations/RainF2.png", 3, 3, sf::Color::Blue);
    InFolder here(dir);
    store->loadBackAnimations(nullptr, {"Wave", "Star", "Rain"}, 0.95f);
    EXPECT_EQ(store->getBackAnimation("Wave").size(), 2u);
    EXPECT_EQ(store->getBackAnimation("Star").size(), 1u);
    EXPECT_EQ(store->backAnimations.count("Rain"), 0u);
}

TEST_F(ResourcesLoading, SoundsFontsAndMusics) {
    const std::string dir = scratchDir("resources_audio");
    writeText(fs::path(dir) / "Sounds/Bad.wav", "noise");
    fs::copy_file(runDir() + "/Resources/Sounds/Menu.ogg", dir + "/Sounds/Menu.ogg");
    fs::create_directories(fs::path(dir) / "Musics");
    fs::copy_file(runDir() + "/Resources/Musics/SpaceTravel.ogg", dir + "/Musics/SpaceTravel.ogg");
    fs::create_directories(fs::path(dir) / "Fonts");
    fs::copy_file(runDir() + "/Resources/Fonts/Dialog.ttf", dir + "/Fonts/Dialog.ttf");
    int waits = 0;
    auto oldWait = setPauseWait([&] { ++waits; });
    testing::internal::CaptureStdout();
    store->loadSounds(dir + "/Sounds", nullptr, 0.31f);
    const std::string out = testing::internal::GetCapturedStdout();
    setPauseWait(oldWait);
    EXPECT_EQ(out, "Failed to load sound " + dir + "/Sounds/Bad.wav\nPaused... press any key to continue\n");
    EXPECT_EQ(waits, 1);
    // The failed sound exists and plays silence; the good one is bound to its own buffer.
    ASSERT_NE(store->findSound("Bad"), nullptr);
    EXPECT_EQ(store->findSound("Bad")->getBuffer(), &store->sounds["Bad"].buffer);
    EXPECT_EQ(store->sounds["Bad"].buffer.getSampleCount(), 0u);
    ASSERT_NE(store->findSound("Menu"), nullptr);
    EXPECT_EQ(store->findSound("Menu")->getBuffer(), &store->sounds["Menu"].buffer);
    EXPECT_GT(store->sounds["Menu"].buffer.getSampleCount(), 0u);
    store->playSound("Menu");
    EXPECT_EQ(store->findSound("Menu")->getStatus(), sf::SoundSource::Playing);

    store->loadMusics(dir + "/Musics", nullptr, 0.05f, store->musics);
    EXPECT_GT(store->getMusic("SpaceTravel").getDuration().asSeconds(), 1.f);
    store->loadFonts(dir + "/Fonts", nullptr, 0.f, store->fonts);
    EXPECT_EQ(store->getFont("Dialog").getInfo().family, "Liberation Sans");
}

// ---------------------------------------------------------------------------------------------
// Potions, gems and scene music

using ResourcesServices = StoreFixture;

TEST_F(ResourcesServices, PotionsRecolourTheTemplateOncePerColour) {
    sf::Image tpl;
    tpl.create(3, 1, sf::Color::Black);
    tpl.setPixel(0, 0, POTION_BASE_COLOR);
    tpl.setPixel(1, 0, POTION_HIGHLIGHT_COLOR);
    tpl.setPixel(2, 0, sf::Color(86, 84, 86, 254));
    store->potionTemplate.loadFromImage(tpl);
    const sf::Color colour(250, 10, 240, 255);
    sf::Texture& first = store->getPotionTexture(colour);
    const sf::Image out = first.copyToImage();
    EXPECT_EQ(out.getPixel(0, 0), colour);
    EXPECT_EQ(out.getPixel(1, 0), sf::Color(255, 50, 255, 255));
    EXPECT_EQ(out.getPixel(2, 0), sf::Color(86, 84, 86, 254));
    // Cached: the same object, not made again even when the template changes.
    store->potionTemplate = solidTexture(1, 1, POTION_BASE_COLOR);
    EXPECT_EQ(&store->getPotionTexture(colour), &first);
    EXPECT_EQ(store->getPotionTexture(colour).getSize(), sf::Vector2u(3, 1));
    EXPECT_EQ(store->potionTextures.size(), 1u);
    // A translucent base colour is a different key.
    store->getPotionTexture(sf::Color(250, 10, 240, 100));
    EXPECT_EQ(store->potionTextures.size(), 2u);
}

TEST_F(ResourcesServices, PotionFromAnEmptyTemplateIsEmpty) {
    EXPECT_EQ(store->getPotionTexture(sf::Color::Red).getSize(), sf::Vector2u(0, 0));
}

namespace {
// Bounding box of pixels that are not the clear colour.
sf::IntRect drawnBox(const sf::Image& image, sf::Color clear) {
    int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
    for (unsigned y = 0; y < image.getSize().y; ++y)
        for (unsigned x = 0; x < image.getSize().x; ++x)
            if (image.getPixel(x, y) != clear) {
                x0 = std::min(x0, int(x)), y0 = std::min(y0, int(y));
                x1 = std::max(x1, int(x)), y1 = std::max(y1, int(y));
            }
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}
} // namespace

TEST_F(ResourcesServices, GemShardOutlineAndRandomDraws) {
    store->gems["Ruby"] = solidTexture(16, 16, sf::Color::Red);
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(400, 400));
    displayTileSize = 120;
    EXPECT_EQ(randomDrawsMadeBy([&] { drawGem(target, "Ruby", {200, 200}, false); }), 0);
    EXPECT_EQ(randomDrawsMadeBy([&] { drawGem(target, "Ruby", {200, 200}, true); }), 3);
    EXPECT_EQ(randomDrawsMadeBy([&] { drawGem(target, "Ruby", {200, 200}, true, true); }), 3);

    auto box = [&](int tile) {
        displayTileSize = tile;
        target.clear(sf::Color::Black);
        drawGem(target, "Ruby", {200, 200}, false);
        target.display();
        return drawnBox(target.getTexture().copyToImage(), sf::Color::Black);
    };
    const sf::IntRect normal = box(120), again = box(120), zoomed = box(60);
    EXPECT_EQ(normal, again);
    EXPECT_GT(normal.width, 4);
    EXPECT_NEAR(normal.width, 2 * zoomed.width, 2);
    EXPECT_NEAR(normal.height, 2 * zoomed.height, 2);
    EXPECT_FATAL(drawGem(target, "Opal", {0, 0}, true), "ASSERT file Resources line 361 : Opal");
}

TEST_F(ResourcesServices, GemStoneFacetsAreOneLocalPixel) {
    store->gems["Sapphire"] = solidTexture(8, 8, sf::Color::Blue);
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(200, 200));
    displayTileSize = 120;
    target.clear(sf::Color::Black);
    EXPECT_EQ(randomDrawsMadeBy([&] { drawGemShape(target, "Sapphire", {100, 100}); }), 4);
    target.clear(sf::Color::Black);
    drawGemShape(target, "Sapphire", {100, 100});
    target.display();
    const sf::Image image = target.getTexture().copyToImage();
    // Local (x, 19) maps to screen (100 + 2 (x - 19), 76); the horizontal facet covers rows
    // 76 and 77 and is grey, the stone above and below it blue.
    const sf::Color onFacet = image.getPixel(100 + 2 * (18 - 19), 76);
    EXPECT_EQ(onFacet.r, onFacet.b);
    EXPECT_GE(onFacet.r, 120);
    EXPECT_EQ(image.getPixel(100 + 2 * (18 - 19), 77), onFacet);
    EXPECT_EQ(image.getPixel(100 + 2 * (18 - 19), 73), sf::Color::Blue);
    EXPECT_EQ(image.getPixel(100 + 2 * (18 - 19), 80), sf::Color::Blue);
}

TEST_F(ResourcesServices, ReleasingTheAudioClosesTheDeviceEveryTime) {
    // The program frees its store's musics and sounds on its way out: the audio library closes
    // its device only when the last of them is gone. Loaded, played and freed again and again,
    // the store leaves the device closed each time and does not grow.
    const std::string dir = runDir() + "/Resources/";
    // The heap in use: the resident size would hide a leak behind memory that earlier tests
    // freed and this one reuses.
    auto heapKb = [] { return static_cast<long>(mallinfo2().uordblks / 1024); };
    ASSERT_FALSE(audioDeviceOpen()) << "an earlier test left a sound or music alive";
    // From the second round on: the first one also makes what the libraries keep for good.
    long before = 0, loaded = 0, settled = 0;
    for (int round = 0; round < 6; ++round) {
        if (round == 1) before = heapKb();
        store->loadMusics(dir + "Musics", nullptr, 0, store->musics);
        store->loadSounds(dir + "Sounds", nullptr, 0);
        if (round == 1) loaded = heapKb() - before;
        ASSERT_TRUE(audioDeviceOpen());
        ASSERT_EQ(store->sounds.size(), 69u);
        store->getMusic("SpaceTravel").play();
        store->sounds.begin()->second.sound.play();
        store->releaseAudio();
        EXPECT_TRUE(store->musics.empty());
        EXPECT_TRUE(store->sounds.empty());
        EXPECT_FALSE(audioDeviceOpen()) << "round " << round;
        if (round == 1) settled = heapKb();
    }
#ifndef QUORVANE_SANITIZED // the address sanitizer keeps a heap of its own, unseen by mallinfo
    ASSERT_GT(loaded, 256);
    EXPECT_LT(heapKb() - settled, loaded / 2) << "one load took " << loaded << " KiB";
#endif
}

TEST_F(ResourcesServices, StopSceneMusicStopsOnlyAPlayingTrack) {
    const std::string music = runDir() + "/Resources/Musics/SpaceTravel.ogg";
    ASSERT_TRUE(store->musics["Town"].openFromFile(music));
    ASSERT_TRUE(store->musics["Fight"].openFromFile(music));
    std::map<std::string, std::pair<std::string, std::string>> scenes{
        {"Village", {"Town", "Fight"}}, {"Quiet", {"", ""}}};
    store->sceneMusicName = [&](const std::string& name, bool battle) {
        auto it = scenes.find(name);
        if (it == scenes.end()) fatalAssert("Game", 1, name);
        return battle ? it->second.second : it->second.first;
    };
    sf::Music& town = store->musics["Town"];
    sf::Music& fight = store->musics["Fight"];
    town.play();
    fight.play();
    store->stopSceneMusic("Village", true);
    EXPECT_EQ(fight.getStatus(), sf::SoundSource::Stopped);
    EXPECT_EQ(town.getStatus(), sf::SoundSource::Playing);
    town.pause();
    store->stopSceneMusic("Village", false);
    EXPECT_EQ(town.getStatus(), sf::SoundSource::Paused);
    town.play();
    stopSceneMusic("Village", false);
    EXPECT_EQ(town.getStatus(), sf::SoundSource::Stopped);
    EXPECT_FATAL(store->stopSceneMusic("Quiet", false), "");
    EXPECT_FATAL(store->stopSceneMusic("Nowhere", false), "ASSERT file Game line 1 : Nowhere");
    scenes["Quiet"].first = "Silence";
    EXPECT_FATAL(store->stopSceneMusic("Quiet", false), "ASSERT file Resources line 172 : Silence");
}

TEST_F(ResourcesServices, StopSceneMusicReadsTheGamesScenes) {
    const std::string music = runDir() + "/Resources/Musics/SpaceTravel.ogg";
    ASSERT_TRUE(store->musics["Town"].openFromFile(music));
    ASSERT_TRUE(store->musics["Fight"].openFromFile(music));
    auto owned = std::make_unique<Game>();
    GlobalsGuard globals;
    game = owned.get();
    Scene& village = owned->scenes.addScene();
    village.name = "Village";
    village.music = "Town";
    village.battle.music = "Fight";
    Scene& quiet = owned->scenes.addScene();
    quiet.name = "Quiet";
    store->musics["Town"].play();
    store->musics["Fight"].play();
    stopSceneMusic("Village", true);
    EXPECT_EQ(store->musics["Fight"].getStatus(), sf::SoundSource::Stopped);
    EXPECT_EQ(store->musics["Town"].getStatus(), sf::SoundSource::Playing);
    stopSceneMusic("Village", false);
    EXPECT_EQ(store->musics["Town"].getStatus(), sf::SoundSource::Stopped);
    EXPECT_FATAL(stopSceneMusic("Quiet", true), "");
    EXPECT_FATAL(stopSceneMusic("Nowhere", false), "ASSERT file Game line 344 : Nowhere");
}
