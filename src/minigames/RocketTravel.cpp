#include "minigames/RocketTravel.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------------------------
// Paths and places

Point rocketEdgePoint(int angle) {
    const int degrees = (angle - 90) % 360; // the remainder keeps the sign
    const float theta = static_cast<float>(degrees) * 3.14159f / 180.0f;
    const float s = std::sin(theta), c = std::cos(theta);
    // The ray from the centre meets the lines y = 0 or 1080 after |540 / sin| and x = 0 or 1920
    // after |960 / cos|; the nearer one is the screen's edge. (Taking the signed lengths would
    // pick the crossing behind the centre, far off screen, in three quarters of the angles.)
    const float p = std::fabs(540.0f / s), q = std::fabs(960.0f / c);
    const float m = std::min(p, q);
    return {960 - static_cast<int>(c * m), 540 - static_cast<int>(s * m)};
}

Point rocketPathPoint(Point from, Point to, int f, int L) {
    if (L <= 0) return to;
    return {from.x + (to.x - from.x) * f / L, from.y + (to.y - from.y) * f / L};
}

Point rocketFlightPoint(int angle, bool leaving, int f, int L) {
    const Point centre{960, 540};
    const Point edge = rocketEdgePoint(angle);
    return leaving ? rocketPathPoint(centre, edge, f, L) : rocketPathPoint(edge, centre, f, L);
}

std::string starSystemOf(const std::string& origin) {
    static const std::set<std::string> cauchemar{"Cauchemar", "HeavensShip"};
    static const std::set<std::string> mandel{"Mandelbrot", "SpaceTavern"};
    static const std::set<std::string> besixdouze{"Chicken", "Pocuri", "B612", "Jacarock",
                                                  "Ice",     "Orange", "Pollux"};
    if (cauchemar.count(origin)) return "CauchemarSystem";
    if (mandel.count(origin)) return "MandelSystem";
    if (besixdouze.count(origin)) return "BesixdouzeSystem";
    return "SolarSystem";
}

std::string planetOfScene(const Scene& scene) {
    if (!scene.planet.empty()) return scene.planet;
    for (const auto& [planet, landing] : game->landingScenes)
        if (landing == scene.name) return planet;
    return "Earth";
}

void stepRocket(Flame& rocket, Point mapSize) {
    if (resources) {
        rocket.update({}, mapSize);
        return;
    }
    const InputFlags& in = game->input;
    rocket.step({}, mapSize, in.upHeld, in.downHeld, in.leftHeld, in.rightHeld, 1);
}

// ---------------------------------------------------------------------------------------------
// The flight between planets and the launch into a star system

void RocketFlight::update(sf::RenderWindow* window) {
    ++frameCounter;
    // `speed` holds the length of a phase in frames.
    if (frameCounter >= speed || game->input.back || game->input.confirm) {
        if (phase == 2 || game->input.back) {
            // Cleared before the switch: entering the landing scene saves the game, and a save
            // that still held the flight would resume with the launch hatch where the rocket is.
            const std::string landing = game->landingScene(game->getStrVar("FLIGHT"));
            game->clearStrVar("FLIGHT");
            game->clearStrVar("ORIGIN");
            game->gotoScene(landing, false, window);
        } else {
            ++phase;
            frameCounter = 0;
        }
    }
    if (phase == 1) clouds.update();
    else space.update();
}

void SystemTravel::update() {
    ++frameCounter;
    if (frameCounter >= length || game->input.back || game->input.confirm) {
        frameCounter = 0;
        // Without a window: a system on a planet not loaded yet loads with the Game's own.
        game->gotoScene(starSystemOf(game->getStrVar("ORIGIN")), false, nullptr);
    }
    sky.update();
    stepRocket(rocket, {0, 0});
}

// ---------------------------------------------------------------------------------------------
// The rocket pad of a walking scene

void readRocketTravelPlace(Scene& scene, std::istream& head) {
    WordReader r(head, "Scene", 101);
    scene.hasRocketTravelPlace = true;
    scene.rocketTravelPlace.x = r.integer("RocketTravelPlace", "tile");
    scene.rocketTravelPlace.y = r.integer("RocketTravelPlace", "tile");
}

void readRocketDestinations(Scene& scene, std::istream& head, std::set<std::string>& names) {
    WordReader r(head, "Scene", 108);
    Point tile;
    tile.x = r.integer("RocketDestinations", "tile");
    tile.y = r.integer("RocketDestinations", "tile");
    std::vector<std::string>& list = scene.rocketDestinationLists[tile];
    std::string planet;
    while (r.next(planet)) {
        list.push_back(planet);
        names.insert(planet);
    }
}

std::map<int, std::string> Scene::rocketDestinations(Point tile) const {
    auto found = rocketDestinationLists.find(tile);
    if (found == rocketDestinationLists.end()) fatalAssert("Scene", 3291, "Oduna");
    const std::string here = planetOfScene(*this);
    // A planet is on offer once the party has learnt of it, or while a shard not yet found is
    // known to lie there. Numbered from the column beside the pad, where they are drawn.
    std::set<std::string> shardPlaces;
    for (const auto& [shard, place] : game->SHARDLOCATION)
        if (game->shardState(shard) == 0) shardPlaces.insert(place);
    const std::set<std::string>& learnt = game->getSetVar("DESTINATIONS");
    std::map<int, std::string> offered;
    int number = tile.x + 1;
    for (const std::string& planet : found->second) {
        if (planet == here) continue;
        if (!learnt.count(planet) && !shardPlaces.count(planet)) continue;
        offered[number++] = planet;
    }
    return offered;
}

void openRocketMenu(Scene& scene, Point tile) {
    const std::map<int, std::string> offered = scene.rocketDestinations(tile);
    if (offered.empty()) {
        scene.message.setText("The rocket has nowhere to fly yet.", nullptr);
        return;
    }
    std::vector<std::string> options;
    for (const auto& [number, planet] : offered) options.push_back(planet);
    options.push_back(OPEN_SPACE);
    game->openChoiceBox1(options, true, sf::Color(20, 30, 90, 255));
    scene.rocketMenuTile = tile;
}

bool finishRocketMenu(Scene& scene, sf::RenderWindow* window) {
    if (scene.rocketMenuTile.x == -1) return false;
    if (game->box1.active) return true;
    scene.rocketMenuTile = {-1, -1};
    const std::string choice = game->choiceBox1Selection();
    if (choice.empty()) return true; // the player stepped back from the pad
    game->setStrVar("ORIGIN", planetOfScene(scene));
    if (choice == OPEN_SPACE) {
        game->gotoScene("RocketLaunch", false, window);
        return true;
    }
    game->setStrVar("FLIGHT", choice);
    game->gotoScene("SpaceTravelAnimation", false, window);
    return true;
}
