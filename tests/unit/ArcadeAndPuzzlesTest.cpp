// The shooter played through its held-input seam, the block vault solved on foot, and the
// portraits' gaze.
#include "SceneTestWorld.hpp"

#include "minigames/AlivePicture.hpp"
#include "minigames/Shooter.hpp"
#include "minigames/Sokoban.hpp"

#include <fstream>
#include <sstream>

namespace {

// Held keys as a test script sets them; no joystick.
struct ScriptedHeld : ShooterHeldInput {
    bool keys[6] = {false, false, false, false, false, false};
    void keyboard(bool held[6]) override {
        for (int i = 0; i < 6; ++i) held[i] = keys[i];
    }
    void joystick(float& x, float& y, bool& b1, bool& b2) override {
        x = y = 0;
        b1 = b2 = false;
    }
};

class Arcade : public SceneWorld {
protected:
    void SetUp() override {
        SceneWorld::SetUp();
        old_ = {saveTheFuture, saveTheFutureShip, saveTheFutureSaucers};
        saveTheFuture = &stf;
        saveTheFutureShip = &ship;
        saveTheFutureSaucers = &saucers;
        oldInput_ = std::move(shooterHeldInput);
        auto scripted = std::make_unique<ScriptedHeld>();
        held = scripted.get();
        shooterHeldInput = std::move(scripted);
        SaveTheFuture::reset();
    }
    void TearDown() override {
        shooterHeldInput = std::move(oldInput_);
        std::tie(saveTheFuture, saveTheFutureShip, saveTheFutureSaucers) = old_;
        SceneWorld::TearDown();
    }
    // Plays until the game ends (or the frame limit); the policy sets the held keys each frame.
    template <class Policy>
    int play(Policy policy, int limit) {
        int frames = 0;
        while (stf.state == SaveTheFuture::PLAYING && frames < limit) {
            policy();
            EXPECT_TRUE(stf.update({}));
            ++frames;
            EXPECT_TRUE(ship.health >= 0 && ship.health <= ship.maxHealth);
            EXPECT_LE(ship.weaponLevel, 4);
            EXPECT_LE(stf.activeSaucers.size(), 10u);
        }
        return frames;
    }
    void startPlaying() {
        SaveTheFuture::reset();
        EXPECT_TRUE(stf.update({keys::LControl})); // Back starts the game on the title
        ASSERT_EQ(stf.state, SaveTheFuture::PLAYING);
    }
    // Keeps low and under the nearest saucer, firing all the time.
    void hunter() {
        std::fill(std::begin(held->keys), std::end(held->keys), false);
        held->keys[SaveTheFuture::CONFIRM] = true;
        int best = -1;
        for (int i : stf.activeSaucers)
            if (saucers[i].health > 0 && (best < 0 || std::abs(saucers[i].x - ship.x) < std::abs(saucers[best].x - ship.x)))
                best = i;
        if (best >= 0 && saucers[best].x < ship.x - 10) held->keys[SaveTheFuture::LEFT] = true;
        if (best >= 0 && saucers[best].x > ship.x + 10) held->keys[SaveTheFuture::RIGHT] = true;
        if (ship.y < 980) held->keys[SaveTheFuture::DOWN] = true;
    }

    SaveTheFuture stf;
    SaveTheFutureShip ship;
    std::vector<SaveTheFutureSaucer> saucers;
    ScriptedHeld* held = nullptr;

private:
    std::tuple<SaveTheFuture*, SaveTheFutureShip*, std::vector<SaveTheFutureSaucer>*> old_;
    std::unique_ptr<ShooterHeldInput> oldInput_;
};

} // namespace

TEST_F(Arcade, TheShooterIsWonByAHunterAndLostByAnIdler) {
    bool won = false;
    for (unsigned seed = 1; seed <= 6 && !won; ++seed) {
        std::srand(seed);
        startPlaying();
        const int n = play([&] { hunter(); }, 200000);
        EXPECT_GT(n, 41 * 50) << seed; // about one saucer every hundred frames
        won = stf.state == SaveTheFuture::WON;
    }
    ASSERT_TRUE(won);
    EXPECT_EQ(ship.score, 41);
    EXPECT_TRUE(shell->isBoolVarSet("WON_STF"));
    EXPECT_TRUE(stf.update({}));                   // the won screen stays
    EXPECT_FALSE(stf.update({keys::LControl}));    // Back leaves it

    // The next visit starts on the title; the old saucers stay listed but out of play.
    const std::size_t listed = saucers.size();
    std::srand(3);
    startPlaying();
    EXPECT_EQ(saucers.size(), listed);
    EXPECT_TRUE(stf.activeSaucers.empty());
    std::fill(std::begin(held->keys), std::end(held->keys), false);
    play([] {}, 200000);
    EXPECT_EQ(stf.state, SaveTheFuture::LOST);
    EXPECT_LT(ship.score, 41);
    EXPECT_FALSE(stf.update({keys::LControl}));
}

// A missile that flies into a live saucer hurts it, once; a saucer that moved onto a missile
// in its own step has already taken that missile's damage.
TEST_F(Arcade, AMissileHurtsTheSaucerItHitsExactlyOnce) {
    for (int startY : {338, 300}) {
        std::srand(11);
        startPlaying();
        saucers.clear();
        SaveTheFutureSaucer s;
        s.texture = "Saucer1";
        s.x = 500;
        s.y = 300;
        s.health = s.maxHealth = 5000;
        saucers.push_back(s);
        stf.activeSaucers = {0};
        SaveTheFutureMissile m;
        m.x = 500;
        m.y = startY;
        stf.missiles = {m};
        stf.update({});
        EXPECT_TRUE(stf.missiles.empty()) << startY;
        EXPECT_GE(saucers[0].health, 4001) << startY;
        EXPECT_LE(saucers[0].health, 4500) << startY;
        EXPECT_EQ(stf.hitTimers.count(0), 1u);
    }
}

TEST_F(SceneWorld, TheBlockVaultIsSolvedOnFootAndPutBack) {
    std::ifstream file(sourceDir() + "/data/Game/BlockPuzzle_scene.txt");
    std::stringstream text;
    text << file.rdbuf();
    Scene& vault = load(text.str());
    enter(vault, "WonderHall");
    Character& leader = people->mainCharacter();
    ASSERT_EQ(leader.tile, Point(1, 3));
    ASSERT_TRUE(vault.sokoban && vault.sokoban->present);
    auto dismiss = [&] {
        for (int f = 0; f < 200 && vault.textBoxActive(); ++f) frame(vault, f % 2 ? confirm() : InputFlags{});
        ASSERT_FALSE(vault.textBoxActive());
    };
    dismiss(); // the title
    auto press = [&](Direction d, int times = 1) {
        for (int k = 0; k < times; ++k) {
            InputFlags in = arrow(d);
            in.leftPressed = d == WEST;
            in.rightPressed = d == EAST;
            in.upPressed = d == NORTH;
            in.downPressed = d == SOUTH;
            frame(vault, in);
            for (int f = 0; f < 40; ++f) frame(vault);
        }
    };
    press(NORTH);
    press(EAST);
    press(EAST, 9); // one push, then four times a step and a push
    EXPECT_EQ(vault.sokoban->blocks[0].tile, Point(8, 2));
    press(WEST, 4);
    press(SOUTH, 2);
    press(EAST, 11);
    press(WEST, 5);
    press(SOUTH, 2);
    EXPECT_FALSE(vault.sokoban->isSolved());
    EXPECT_EQ(vault.teleports.count({10, 0}), 0u);
    press(EAST, 11);
    ASSERT_TRUE(vault.sokoban->isSolved());
    frame(vault);
    EXPECT_EQ(vault.teleports.at({10, 0}).scene, "BlockPrize");
    EXPECT_EQ(vault.teleports.at({10, 0}).tile, Point(5, 4));
    // The door lies far from the last crate: a message says it opened.
    ASSERT_TRUE(vault.message.isActive());
    EXPECT_NE(vault.message.lines.front().find("door"), std::string::npos);
    dismiss();
    // The lever puts the crates back; the door stays open.
    press(WEST, 5);
    press(SOUTH);
    dismiss(); // the note on the lever
    press(WEST); // faces the lever
    frame(vault, confirm());
    EXPECT_EQ(vault.sokoban->blocks, vault.sokoban->startBlocks);
    EXPECT_EQ(vault.teleports.count({10, 0}), 1u);

    // A crate at the map's edge is not pushed off it.
    Sokoban edge;
    edge.present = true;
    edge.addBlock({0, 1});
    PushInput push;
    push.leader = {1, 1};
    push.left = true;
    edge.update({}, {3, 3}, push);
    EXPECT_EQ(edge.blocks, edge.startBlocks);
}

TEST_F(SceneWorld, PortraitsLookTowardTheLeadersColumn) {
    AlivePicture p;
    std::istringstream line("PortraitCat 4 1");
    p.read(line);
    EXPECT_EQ(p.texture, "PortraitCat");
    for (auto [x, gaze] : {std::pair{0, -1}, {3, -1}, {4, 0}, {5, 1}, {9, 1}}) {
        for (int y : {0, 1, 6}) {
            who("Ana").setTilePosition({x, y});
            p.update();
            EXPECT_EQ(p.gaze, gaze) << x << "," << y;
        }
    }
}

// The Game hands a cabinet scene's frames to the shooter, takes the party back when a finished
// game is left, and every scene switch starts the next visit on the title.
TEST_F(Arcade, TheCabinetSceneRunsTheShooterInsideTheGame) {
    load(square("Hall"));
    load("SceneName Cabinet\nType SCREEN\nSaveTheFutureGame\n");
    shell->currentScene = shell->findScene("Hall");
    ASSERT_TRUE(shell->gotoScene("Cabinet", true, nullptr));
    shell->update({keys::Space}, nullptr);
    EXPECT_EQ(stf.state, SaveTheFuture::PLAYING);
    stf.state = SaveTheFuture::WON;
    shell->update({}, nullptr);
    EXPECT_EQ(shell->current().name, "Cabinet");
    shell->update({keys::LControl}, nullptr);
    EXPECT_EQ(shell->current().name, "Hall");
    EXPECT_EQ(stf.state, SaveTheFuture::TITLE);
}
