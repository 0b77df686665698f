// The frame update: shard bookkeeping, key and joystick mapping, and the dispatch of the frame to
// exactly one consumer.
#include "game/Game.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "game/PartyExchangeMenu.hpp"
#include "minigames/Shooter.hpp"
#include "scenes/Scene.hpp"
#include "scenes/StepQueue.hpp"

#include <algorithm>

namespace {

bool holds(const std::vector<int>& keyCodes, int code) {
    return std::find(keyCodes.begin(), keyCodes.end(), code) != keyCodes.end();
}

// Each story transition of the shard tables is applied once. The marks live in BOOLVARS so that
// a loaded game does not apply them again over a shard retrieved since.
bool firstTime(std::set<std::string>& boolVars, const std::string& mark) {
    return boolVars.insert(mark).second;
}

} // namespace

void Game::shardBookkeeping() {
    if (isBoolVarSet("DROPPED_Chip") && firstTime(BOOLVARS, "SHARDS_APPLIED_DROPPED_Chip")) {
        SHARDLOCATION["Air"] = "Saturn";
        SHARDLOCATION["Cave"] = "Mercury";
        SHARDLOCATION["Forest"] = "Neptune";
        SHARDS["Fire"] = 2;
    }
    if (isBoolVarSet("DROPPED_Chip2") && firstTime(BOOLVARS, "SHARDS_APPLIED_DROPPED_Chip2"))
        SHARDLOCATION["Rainbow"] = "PinkBubblegum";
    if (chapter >= 7 && firstTime(BOOLVARS, "SHARDS_APPLIED_CHAPTER7")) {
        SHARDLOCATION["Water"] = "CauchemarSystem";
        SHARDLOCATION["Princess"] = "MandelSystem";
        SHARDLOCATION["Sun"] = "BesixdouzeSystem";
        for (const char* shard : {"Moon", "Forest", "RitPliar", "Air"}) SHARDS[shard] = 2;
    }
    if (chapter >= 10) {
        // Won as soon as the last enemy falls, a few frames before the battle's finish would
        // save: the story ends unsaved, its last save the one before the final battle.
        long long finalBattle = findScene("FinalBattle");
        if (finalBattle >= 0 && scenes[finalBattle].battle.won) gameFinished = true;
    }
}

void Game::mapInput(const std::vector<int>& keyCodes) {
    InputFlags& f = input;
    f.confirmOrBackHeld = false;
    f.upHeld = f.downHeld = f.leftHeld = f.rightHeld = false;
    f.confirm = f.back = f.menu = f.action = false;
    for (int code : keyCodes) {
        switch (code) {
        case keys::Up: f.upHeld = true; break;
        case keys::Down: f.downHeld = true; break;
        case keys::Left: f.leftHeld = true; break;
        case keys::Right: f.rightHeld = true; break;
        case keys::Space:
            if (!f.commandKeyHeld) f.confirm = true;
            f.confirmOrBackHeld = true;
            break;
        case keys::LControl:
            if (!f.commandKeyHeld) f.back = true;
            f.confirmOrBackHeld = true;
            break;
        case keys::X:
            if (!f.commandKeyHeld) f.menu = true;
            break;
        case keys::Z:
            if (!f.commandKeyHeld) f.action = true;
            break;
        default: break;
        }
    }

    JoystickState js = joystick ? joystick->read() : JoystickState{};
    if (js.axisX < -JOYSTICK_THRESHOLD) f.leftHeld = true;
    if (js.axisX > JOYSTICK_THRESHOLD) f.rightHeld = true;
    if (js.axisY < -JOYSTICK_THRESHOLD) f.upHeld = true;
    if (js.axisY > JOYSTICK_THRESHOLD) f.downHeld = true;
    if (!f.commandKeyHeld) {
        if (js.buttons[2]) f.confirm = true;
        if (js.buttons[1]) f.back = true;
        if (js.buttons[0]) f.action = true;
        if (js.buttons[3]) f.menu = true;
    }
    if (js.buttons[2] || js.buttons[1]) f.confirmOrBackHeld = true;

    bool anyButton = js.buttons[0] || js.buttons[1] || js.buttons[2] || js.buttons[3];
    f.commandKeyHeld = anyButton || holds(keyCodes, keys::Z) || holds(keyCodes, keys::X) ||
                       holds(keyCodes, keys::Space) || holds(keyCodes, keys::LControl);

    f.upPressed = f.upHeld && !f.directionHeld;
    f.downPressed = f.downHeld && !f.directionHeld;
    f.leftPressed = f.leftHeld && !f.directionHeld;
    f.rightPressed = f.rightHeld && !f.directionHeld;
    f.directionHeld = f.upHeld || f.downHeld || f.leftHeld || f.rightHeld;
}

void Game::updateSettings() {
    if (input.upHeld && settingsRow > 0) --settingsRow;
    if (input.downHeld && settingsRow < 2) ++settingsRow;
    if (input.back) settingsOpen = false;
    if (input.confirm) {
        if (settingsRow == 0) autoDistributeWeapons = !autoDistributeWeapons;
        else if (settingsRow == 1) autoDistributeFood = !autoDistributeFood;
    }
    if (settingsRow == 2) {
        if (input.leftHeld && targetFps > 15) targetFps -= 5;
        if (input.rightHeld && targetFps < 50) targetFps += 5;
    }
    // The party menu names the animation when it opens the dialog.
    AnimatedObject& a = settingsAnimation;
    if (a.name.empty()) return;
    int before = a.tickCounter++;
    if (before >= a.ticksPerFrame) {
        int frames = static_cast<int>(resources->getAnimation(a.name).size());
        if (++a.frameIndex >= frames) a.frameIndex = 0;
        a.tickCounter = 0;
    }
}

void Game::updateSleep() {
    if (++sleepFrame < sleepFrames) return;
    sleeping = false;
    Scene& scene = current();
    Character& leader = people->mainCharacter();
    // The party wakes one tile below the bed, or stays put when that cell cannot be entered.
    Point below = leader.tile.offset(0, 1);
    if (scene.isInside(below) && !scene.isBlocked(below, false)) {
        leader.tile = below;
        leader.targetTile = below;
        leader.pixel = {below.x * TILE_SIZE, below.y * TILE_SIZE};
    }
    resumeSceneMusic();
}

void Game::serveTab() {
    Scene& scene = current();
    scene.blockedLocations.insert(people->mainCharacter().tile);
    for (Point p : scene.blockedLocations) scene.blocked[0].insert(p);
    for (Point p : scene.blockedHLocations) scene.blocked[1].insert(p);
    // The set's word, then the x and y of each cell in set order, as a scene file lists cells.
    auto listed = [](std::string line, const std::set<Point>& locations) {
        for (Point p : locations) line += std::to_string(p.x) + " " + std::to_string(p.y) + " ";
        return line;
    };
    consoleLine(listed("SetBlockedLocationsH ", scene.blockedHLocations));
    consoleLine(listed("SetBlockedLocations ", scene.blockedLocations));
}

bool Game::runSceneFrame(const std::vector<int>& keyCodes, sf::RenderWindow* window) {
    if (sleeping) {
        lastConsumer = FrameConsumer::SLEEP;
        updateSleep();
        return false;
    }
    if (switchPending) {
        lastConsumer = FrameConsumer::DELAYED_SWITCH;
        if (++switchFrame >= switchDelayFrames) {
            switchFrame = 0;
            switchPending = false;
            switchScene();
        }
        return false;
    }
    if (pictureShown) {
        lastConsumer = FrameConsumer::PICTURE_VIEW;
        if (pictureFrame < pictureMinFrames) ++pictureFrame;
        else if (input.confirm || input.back) pictureShown = false;
        return false;
    }
    Scene& scene = current();
    if (scene.type == SCENE_ROCKET_FLIGHT) {
        lastConsumer = FrameConsumer::ROCKET_FLIGHT;
        rocketFlight.update(window);
        return false;
    }
    if (scene.type == SCENE_SYSTEM_TRAVEL) {
        lastConsumer = FrameConsumer::SYSTEM_TRAVEL;
        systemTravel.update();
        return false;
    }
    if (scene.miniGame == 0) {
        lastConsumer = FrameConsumer::WALKING_SCENE;
        scene.update(window);
        return false;
    }
    // Kinds 1 to 6: one that reports its end sends the game back and skips the rest of the
    // frame. (The shooter, kind 3, runs here with its own code.)
    lastConsumer = FrameConsumer::MINI_GAME;
    if (!updateMiniGame(scene.miniGame, keyCodes)) {
        gotoScene(scenes[previousScene].name, false, nullptr);
        return true;
    }
    return false;
}

void Game::update(const std::vector<int>& keyCodes, sf::RenderWindow* window) {
    ++frameCounter;
    shardBookkeeping();

    if (currentScene >= 0 && currentScene < scenes.size() && current().name == "StartScreen" &&
        holds(keyCodes, keys::F1))
        currentScene = findScene("CreditsStart");

    mapInput(keyCodes);

    if (confirmShown) {
        lastConsumer = FrameConsumer::CONFIRM_DIALOG;
        consoleLine("Checking are you sure");
        if (input.leftHeld) confirmYes = false;
        if (input.rightHeld) confirmYes = true;
        if (input.back) confirmShown = false;
        if (input.confirm) {
            confirmShown = false;
            if (confirmYes && confirmAction) {
                auto action = confirmAction;
                action();
            }
        }
        return;
    }
    if (shownCharacter != NO_INDEX) {
        lastConsumer = FrameConsumer::CHARACTER_VIEW;
        if (input.back) shownCharacter = NO_INDEX;
        viewedCharacter.update();
        return;
    }
    if (int box = updateChoiceBoxes()) {
        lastConsumer = box == 1   ? FrameConsumer::CHOICE_BOX_1
                       : box == 2 ? FrameConsumer::CHOICE_BOX_2
                                  : FrameConsumer::CHOICE_BOX_3;
        return;
    }
    if (settingsOpen) {
        lastConsumer = FrameConsumer::SETTINGS;
        updateSettings();
        return;
    }
    if (input.menu && current().type == SCENE_WALK) {
        if (!partyMenu.isOpen) {
            partyMenu.isOpen = true;
            partyMenu.open();
        }
        lastConsumer = FrameConsumer::PARTY_MENU;
        partyMenu.update();
        return;
    }
    if (partyMenu.isOpen) {
        lastConsumer = FrameConsumer::PARTY_MENU;
        partyMenu.update();
        return;
    }
    if (shardMap.shown) {
        lastConsumer = FrameConsumer::SHARD_MAP;
        if (input.back) shardMap.shown = false;
        shardMap.background.update();
        if (input.downPressed) shardMap.selected = std::min(9, shardMap.selected + 1);
        if (input.upPressed) shardMap.selected = std::max(-1, shardMap.selected - 1);
        return;
    }
    if (telescope.shown) {
        lastConsumer = FrameConsumer::TELESCOPE;
        if (input.back) telescope.shown = false;
        telescope.background.update();
        return;
    }

    if (input.action) toggleZoom();
    if (runSceneFrame(keyCodes, window)) return;

    // A chapter end raises the chapter and switches to its scene. Not while a switch waits: the
    // next chapter's row could hold too and replace the end that is about to be shown.
    if (!switchPending) {
        const std::string chapterEnd = checkChapterEnd();
        if (!chapterEnd.empty()) {
            ++chapter;
            gotoScene(chapterEnd, false, window);
        }
    }
    if (current().playerControlHere) newGameScreen.update(keyCodes, window);
    if (holds(keyCodes, keys::Tab)) serveTab();
}

namespace {

// A text box acts on confirm at once only when its page has been typed: before that, confirm
// completes the page instead of turning it.
bool typing(const LongText& box) { return box.isActive() && !box.pageFull; }

bool typing(const MonologSequence& dialog) {
    if (!dialog.isActive()) return false;
    for (const Monolog& m : dialog.monologs)
        if (!m.finished && !m.lines.empty()) return typing(m);
    return false;
}

} // namespace

// Follows the order in which update() hands out the frame: what takes the frame decides.
const char* Game::inputWait() {
    if (confirmShown || shownCharacter != NO_INDEX || box1.active || box2.active || box3.active ||
        settingsOpen || partyMenu.isOpen || shardMap.shown || telescope.shown)
        return "ready";
    if (sleeping) return "sleeping";
    if (switchPending) return "switching";
    if (pictureShown) return pictureFrame < pictureMinFrames ? "picture" : "ready";
    if (currentScene < 0 || currentScene >= static_cast<long long>(scenes.size())) return "ready";
    const Scene& scene = current();
    if (scene.type == SCENE_ROCKET_FLIGHT || scene.type == SCENE_SYSTEM_TRAVEL || scene.miniGame != 0)
        return "ready";
    if (scene.monolog.isActive()) return typing(scene.monolog) ? "typing" : "ready";
    if (scene.dialog.isActive()) return typing(scene.dialog) ? "typing" : "ready";
    if (typing(scene.message) || typing(scene.infoBox)) return "typing";
    if (scene.textBoxActive()) return "ready";
    if ((scene.exchangeMenu && scene.exchangeMenu->active) || scene.advisorMenu) return "ready";
    if (scene.type != SCENE_WALK || scene.battle.isActive()) return "ready";
    if (!scene.sequence.name.empty()) return "sequence";
    // Taps that come during a step are queued, a few at most: a full queue drops the next.
    if (scene.stepQueue.size() >= StepQueue::CAPACITY) return "steps queued";
    if ((people && people->mainCharacter().walking) || scene.stepQueue.size() > 0) return "walking";
    return "ready";
}
