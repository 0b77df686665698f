// Start-up loading: the resource tree, the "Game.txt" index, the folder "Game" and the two
// built-in travel scenes.
#include "game/Game.hpp"

#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "game/GameStartup.hpp"
#include "game/LoadingScreen.hpp"
#include "scenes/Scene.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::vector<fs::directory_entry> sortedEntries(const fs::path& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) entries.push_back(entry);
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    return entries;
}

bool isSceneFile(const fs::directory_entry& entry) {
    return entry.is_regular_file() &&
           entry.path().filename().string().find("scene.txt") != std::string::npos;
}

std::string planetCharactersFile(const std::string& planet) {
    return (fs::path("Game") / planet / "Characters.txt").generic_string();
}

namespace {

// The word after "SceneName", or "" when the file has none.
std::string scanSceneName(const fs::path& path) {
    std::ifstream file(path);
    std::string word;
    while (file >> word)
        if (word == "SceneName") return (file >> word) ? word : std::string();
    return "";
}

} // namespace

std::map<std::string, std::string> planetScenes() {
    std::map<std::string, std::string> planets;
    for (const auto& entry : sortedEntries("Game")) {
        if (!entry.is_directory()) continue;
        const std::string planet = entry.path().filename().string();
        for (const auto& planetEntry : sortedEntries(entry.path())) {
            if (!isSceneFile(planetEntry)) continue;
            std::string sceneName = scanSceneName(planetEntry.path());
            if (sceneName.empty())
                consoleLine("No SceneName in ", planetEntry.path().generic_string());
            else
                planets[sceneName] = planet;
        }
    }
    return planets;
}

void Game::init(sf::RenderWindow* window) {
    this->window = window;

    showLoadingScreen(window, 0, 0);
    resources->loadAll(window);
    showLoadingScreen(window, 0.5f, 0);
    readGameFile(window, 0.5f);
    showLoadingScreen(window, 0.95f, 0.5f);
    loadGameFolder(window);
    showLoadingScreen(window, 1, 1);
    createTravelScenes();
}

void Game::loadGameFolder(sf::RenderWindow* window) {
    std::set<std::string> objectNames;
    std::set<std::string> animationNames;
    scenePlanets = planetScenes();
    for (const auto& entry : sortedEntries("Game")) {
        if (isSceneFile(entry)) {
            Scene& scene = scenes.addScene();
            for (const std::string& name : scene.load(entry.path().generic_string()))
                objectNames.insert(name);
            for (const std::string& name : scene.backgroundAnimationNames())
                animationNames.insert(name);
        }
    }
    resources->loadObjectTextures(window, objectNames, 0.9f);
    resources->loadBackAnimations(window, animationNames, 0.95f);
}

bool readGameIndex(std::vector<GameFileLine>& lines) {
    std::ifstream file("Game.txt");
    if (!file) return false;
    auto readLine = [&file](std::string& line) {
        std::getline(file, line);
        if (!line.empty() && line.back() == '\r') line.pop_back();
    };
    std::string line;
    readLine(line);
    while (true) {
        if (file.eof() && line.empty()) break;
        std::istringstream words(line);
        GameFileLine entry;
        words >> entry.kind >> entry.path;
        lines.push_back(entry);
        if (file.eof()) break;
        readLine(line);
        if (line.empty()) break;
    }
    return true;
}

void Game::readGameFile(sf::RenderWindow* window, float fraction) {
    std::vector<GameFileLine> lines;
    if (!readGameIndex(lines)) {
        consoleLine("Couldn't locate game file");
        pauseGame();
        return;
    }
    for (const auto& [kind, path] : lines) {
        double step = 0.0;
        if (kind == "Characters" || kind == "Enemies") {
            people->loadCharacters(path, window, fraction, false, nullptr);
            step = 0.1;
        } else if (kind == "Magic") {
            magicRepository->load(path, window, fraction);
            step = 0.1;
        } else if (kind == "Items") {
            itemList->load(path, window, fraction);
            step = 0.1;
        } else if (kind == "Potions") {
            potionRepository->load(path, window, fraction);
            step = 0.05;
        }
        fraction = static_cast<float>(double(fraction) + step);
    }
}

void Game::createTravelScenes() {
    Scene& flight = scenes.addScene();
    flight.name = "SpaceTravelAnimation";
    flight.type = SCENE_ROCKET_FLIGHT;
    flight.music = "SpaceTravel";
    Scene& travel = scenes.addScene();
    travel.name = "RocketLaunch";
    travel.type = SCENE_SYSTEM_TRAVEL;
    travel.music = "SpaceTravel";
    createMiniGames();
}
