// Scene storage, lookups, scene switching, planet loading and the handler of a lost battle.
#include "game/Game.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/GameStartup.hpp"
#include "game/Globals.hpp"
#include "game/LoadingScreen.hpp"
#include "minigames/Shooter.hpp"
#include "scenes/Scene.hpp"

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// SceneList: a deque never moves its elements when it grows at the end.

struct SceneList::Store {
    std::deque<Scene> scenes;
};

SceneList::SceneList() : store_(std::make_unique<Store>()) {}
SceneList::~SceneList() = default;

long long SceneList::size() const { return static_cast<long long>(store_->scenes.size()); }

Scene& SceneList::operator[](long long index) {
    return store_->scenes[static_cast<std::size_t>(index)];
}

const Scene& SceneList::operator[](long long index) const {
    return store_->scenes[static_cast<std::size_t>(index)];
}

Scene& SceneList::at(long long index) {
    if (index < 0 || index >= size()) fatalAssert("Game", 495, "Scene");
    return (*this)[index];
}

Scene& SceneList::back() { return store_->scenes.back(); }

Scene& SceneList::addScene() { return store_->scenes.emplace_back(); }

// ---------------------------------------------------------------------------------------------
// Lookups

long long Game::findScene(const std::string& name) const {
    for (long long i = 0; i < scenes.size(); ++i)
        if (scenes[i].name == name) return i;
    return -1;
}

Scene& Game::sceneByName(const std::string& name) {
    long long index = findScene(name);
    if (index < 0) fatalAssert("Game", 344, name);
    return scenes[index];
}

Scene& Game::current() { return scenes.at(currentScene); }

// ---------------------------------------------------------------------------------------------
// Small operations on the current scene

void Game::toggleZoom() {
    bool wasNormal = normalZoom;
    normalZoom = !normalZoom;
    if (wasNormal) {
        displayTileSize = 60;
        displayWallHeight = 90;
    } else {
        displayTileSize = 120;
        displayWallHeight = 180;
    }
    if (currentScene < 0 || currentScene >= scenes.size()) return;
    Scene& scene = scenes[currentScene];
    for (int index : scene.persons) {
        Character& c = people->at(index);
        c.pixel = {c.tile.x * TILE_SIZE, c.tile.y * TILE_SIZE};
    }
    scene.flame.pixel = {scene.flame.tile.x * TILE_SIZE, scene.flame.tile.y * TILE_SIZE};
    for (Background& layer : scene.backgrounds) layer.initCelular();
}

void Game::pauseSceneMusic() {
    const std::string& name = current().music;
    if (!name.empty()) resources->getMusic(name).pause();
}

void Game::resumeSceneMusic() {
    const std::string& name = current().music;
    if (name.empty()) return;
    sf::Music& music = resources->getMusic(name);
    if (music.getStatus() != sf::SoundSource::Playing) music.play();
}

void Game::showMessage(const std::string& text) { current().message.setText(text, nullptr); }

void Game::showCharacter(int rosterIndex) {
    shownCharacter = rosterIndex;
    viewedCharacter = people->at(rosterIndex);
    viewedCharacter.previousFacing = viewedCharacter.facing;
    viewedCharacter.facing = SOUTH;
    viewedCharacter.showBack = false;
}

void Game::sleep() {
    sleepFrame = 0;
    sleeping = true;
    resources->playSound("Sleep");
    for (int index : people->party) {
        Character& c = people->at(index);
        c.stats[HP] = c.stats[MAXHP];
        c.stats[MP] = c.stats[MAXMP];
    }
    saveGame();
    pauseSceneMusic();
}

void Game::bumpBack() {
    resources->playSound("Ouch");
    showMessage("Ouch");
    Character& leader = people->mainCharacter();
    Point target = leader.previousTile;
    if (target == leader.tile) target = current().entryTile;
    leader.tile = target;
    leader.targetTile = target;
    leader.pixel = {target.x * TILE_SIZE, target.y * TILE_SIZE};
}

// ---------------------------------------------------------------------------------------------
// Switching

bool Game::gotoScene(std::string name, bool immediate, sf::RenderWindow* window) {
    if (name == "BACK") name = scenes.at(previousScene).name;
    pendingScene = name;
    auto planet = scenePlanets.find(name);
    if (planet != scenePlanets.end() && loadedPlanets.count(planet->second) == 0)
        loadPlanet(planet->second, window);
    if (currentScene >= 0 && currentScene < scenes.size() &&
        scenes[currentScene].type == SCENE_WALK && previousScene != currentScene && !immediate) {
        switchPending = true;
        return false;
    }
    // A switch made now ends one that was waiting; it would otherwise enter its scene again.
    switchPending = false;
    switchFrame = 0;
    switchScene();
    return true;
}

void Game::switchScene() {
    long long found = findScene(pendingScene);
    if (found < 0) fatalAssert("Game", 1017, pendingScene);
    const long long left = currentScene;
    // A landing keeps the scene the rocket took off from as the one to go back to: going back
    // to the flight itself would fly again with no destination.
    const bool landing =
        left >= 0 && left < scenes.size() && scenes[left].type == SCENE_ROCKET_FLIGHT;
    if (!landing) previousScene = currentScene;
    currentScene = found;

    // A silent scene on either side leaves the other's music alone; the same music goes on.
    const std::string oldMusic = left >= 0 && left < scenes.size() ? scenes[left].music : "";
    const std::string newMusic = scenes[currentScene].music;
    if (!oldMusic.empty() && oldMusic != newMusic) resources->getMusic(oldMusic).stop();
    if (!newMusic.empty() && newMusic != oldMusic) resources->getMusic(newMusic).play();

    Scene& scene = scenes[currentScene];
    scene.enter(scenes[left].name);
    if (saveTheFuture) SaveTheFuture::reset();
    if (scene.type == SCENE_ROCKET_FLIGHT) rocketFlight.reset();
    if (scene.type == SCENE_SYSTEM_TRAVEL) systemTravel.reset();
}

// ---------------------------------------------------------------------------------------------
// Planets

void Game::loadPlanet(const std::string& planet, sf::RenderWindow* window) {
    // Callers without a window (a lost battle's exit, the travel views) load with the Game's.
    if (!window) window = this->window;
    consoleLine("LOADING planet ", planet);
    loadedPlanets.insert(planet);

    const fs::path folder = fs::path("Game") / planet;
    const std::string charactersPath = planetCharactersFile(planet);
    if (fs::exists(charactersPath)) {
        std::set<std::string> created;
        people->loadCharacters(charactersPath, window, 0.0f, false, &created);
        for (const std::string& name : created) {
            auto stored = storedCharacterLines.find(name);
            if (stored == storedCharacterLines.end()) continue;
            int index = people->indexOf(name);
            if (index == NO_INDEX)
                fatalAssert("Game", 821,
                            "The loadPlanet function just told me that this caracter was just "
                            "created...");
            // The save keeps whole "Character <name> ..." lines; the reader takes what follows
            // the name.
            std::istringstream line(stored->second);
            std::string first, storedName;
            std::streampos start = line.tellg();
            if (line >> first && first == "Character") line >> storedName;
            else line.seekg(start);
            people->at(index).readDefinition(line);
            storedCharacterLines.erase(stored);
        }
    }

    int total = 0;
    for (const auto& entry : scenePlanets)
        if (entry.second == planet) ++total;

    std::set<std::string> objectNames;
    std::set<std::string> animationNames;
    std::map<long long, std::vector<Point>> generation;
    int i = 0;
    for (const auto& entry : sortedEntries(folder)) {
        if (!isSceneFile(entry)) continue;
        Scene& scene = scenes.addScene();
        long long sceneIndex = scenes.size() - 1;
        for (const std::string& n : scene.load(entry.path().generic_string()))
            objectNames.insert(n);
        scene.planet = planet;
        for (const std::string& n : scene.backgroundAnimationNames()) animationNames.insert(n);
        auto saved = savedScenes.find(scene.name);
        if (saved != savedScenes.end()) scene.restoreState(saved->second);
        if (!scene.mandelbrotMaze.empty()) generation[sceneIndex] = scene.mandelbrotMaze;
        showLoadingScreen(window, 0.3f, total ? float(i) / float(total) : 0.0f);
        ++i;
    }

    resources->loadObjectTextures(window, objectNames, 0.5f);
    if (!generation.empty()) {
        double step = 0.3 / double(generation.size());
        int k = 0;
        for (const auto& [sceneIndex, points] : generation) {
            float fraction = float(k * step + 0.6);
            showLoadingScreen(window, fraction, 0);
            generatePlanet(window, fraction, points, sceneIndex);
            showLoadingScreen(window, fraction, 1);
            ++k;
        }
    }
    resources->loadBackAnimations(window, animationNames, 0.9f);
    finishPlanetLoad();
    showLoadingScreen(window, 1, 1);
}

void Game::finishPlanetLoad() {
    struct Mark {
        long long scene;
        bool indoor;
    };
    std::vector<Mark> work;
    for (long long i = 0; i < scenes.size(); ++i) {
        const Scene& s = scenes[i];
        if (s.type != SCENE_WALK) continue;
        if (s.alwaysIndoor) work.push_back({i, true});
        else if (s.placements.count(MAIN_CHARACTER_KEY)) work.push_back({i, false});
        else if (s.light.dark) work.push_back({i, true});
        else if (s.backgrounds[LAYER_FOREGROUND].kind != 0) work.push_back({i, true});
    }
    std::set<long long> handled;
    for (std::size_t w = 0; w < work.size(); ++w) {
        const Mark mark = work[w];
        if (!handled.insert(mark.scene).second) continue;
        Scene& scene = scenes[mark.scene];
        scene.indoor = scene.alwaysIndoor ? true : mark.indoor;
        scene.scanBlockedNeighbours();
        for (const auto& building : scene.buildings) {
            if (!building || building->scene.empty()) continue;
            long long target = findScene(building->scene);
            if (target >= 0) work.push_back({target, true});
        }
        auto spread = [&](const std::string& targetName) {
            if (targetName == "BACK") return;
            long long target = findScene(targetName);
            if (target >= 0) work.push_back({target, scene.indoor});
        };
        for (const auto& [tile, targetName] : scene.exits) spread(targetName);
        for (const auto& [direction, targetName] : scene.borderExits) spread(targetName);
    }
}

void Game::gotoPreviousScene() {
    Scene& scene = current();
    Battle& battle = scene.battle;
    if (!battle.music.empty() && resources) resources->getMusic(battle.music).stop();
    const std::string exitName = battle.egress;
    if (battle.startedByScript) battle.inBattle = false;
    // Once per battle; a finished battle no longer takes the frame.
    battle.finish(false);
    if (!scene.planet.empty()) setStrVar("SceneVar", landingScene(scene.planet));
    leavingLostBattle = !exitName.empty();
    if (exitName == "PREV") gotoScene("BACK", false, nullptr);
    else if (!exitName.empty()) gotoScene(exitName, false, nullptr);
}
