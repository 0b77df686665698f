#include "minigames/ShardMap.hpp"

#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <chrono>
#include <cmath>
#include <cstdlib>

const std::map<std::string, OrreryBody>& orreryBodies() {
    static const std::map<std::string, OrreryBody> bodies{
        {"Sun", {0, 18, 0, -1}},           {"Mercury", {25, 6, 0, -1}},
        {"Venus", {40, 9, 222, 1}},        {"Earth", {60, 9, 302, -1}},
        {"Mars", {80, 9, 49020, -1}},      {"Ceres", {95, 8, 32892, -1}},
        {"Jupiter", {125, 15, 3897652, -1}}, {"Saturn", {160, 15, 10, -1}},
        {"Uranus", {200, 11, 320, -1}},    {"Neptune", {230, 11, 2302, -1}},
        {"Pluto", {250, 6, 23, -1}},       {"AppleSky", {270, 8, 249430, -1}},
        {"RainbowSky", {300, 9, 394839, -1}}, {"PinkBubblegum", {330, 8, 839, -1}},
    };
    return bodies;
}

const std::map<std::string, Point>& starSystemPlaces() {
    static const std::map<std::string, Point> places{
        {"BesixdouzeSystem", {1620, 980}}, {"CauchemarSystem", {300, 100}}, {"MandelSystem", {300, 980}}};
    return places;
}

bool starSystemsShown(int chapter) { return chapter > 6; }

std::int32_t orreryClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::int32_t>(std::chrono::duration_cast<std::chrono::seconds>(now).count());
}

int orreryStep(int phase, int direction, std::int32_t t) {
    const auto sum = static_cast<std::int32_t>(static_cast<std::int64_t>(phase) +
                                               static_cast<std::int64_t>(direction) * t);
    const auto wide = static_cast<std::uint64_t>(static_cast<std::int64_t>(sum));
    return static_cast<int>(wide % 300u);
}

float orbitRadiusX(int orbit) { return static_cast<float>(orbit) * 1.7777778f * WINDOW_WIDTH / 1244; }

int orbitRadiusY(int orbit) { return (orbit * WINDOW_HEIGHT) / 700; }

sf::Vector2f orreryPosition(const OrreryBody& body, std::int32_t t) {
    if (body.orbit == 0) return {960, 540};
    const int k = orreryStep(body.phase, body.direction, t);
    const float a = static_cast<float>(k) * 2 * 3.1415927f / 300 - 1.5707964f;
    return {960 + orbitRadiusX(body.orbit) * std::cos(a),
            540 + static_cast<float>(orbitRadiusY(body.orbit)) * std::sin(a)};
}

ShardPlace shardPlaceKind(const std::string& shard, int chapter) {
    auto found = game->SHARDLOCATION.find(shard);
    if (found == game->SHARDLOCATION.end()) return ShardPlace::UNKNOWN;
    if (orreryBodies().count(found->second)) return ShardPlace::BODY;
    if (starSystemsShown(chapter) && starSystemPlaces().count(found->second)) return ShardPlace::SYSTEM;
    return ShardPlace::ELSEWHERE;
}

sf::Color shardRowColour(int state) {
    if (state == 1) return {0, 150, 0, 150};
    if (state == 2) return {150, 0, 0, 150};
    return {150, 150, 150, 150};
}

std::string shardStatusText(int state) {
    switch (state) {
    case 0: return "UNKNOWN STATUS";
    case 1: return "RETRIEVED";
    case 2: return "STOLEN";
    default: return "";
    }
}

std::string telescopeShard(const std::string& planet) {
    std::string last;
    for (const auto& [shard, place] : game->SHARDLOCATION)
        if (place == planet) last = shard;
    if (last.empty() || game->shardState(last) != 0) return "";
    return last;
}

std::vector<TelescopeDot> telescopeCloud() {
    const int count = std::rand() % 50 + 50;
    std::vector<TelescopeDot> dots(static_cast<std::size_t>(count));
    for (TelescopeDot& dot : dots) {
        dot.radius = std::rand() % 3 + 1;
        int sx = 0, sy = 0;
        for (int i = 0; i < 30; ++i) sx += std::rand() % 100;
        for (int i = 0; i < 30; ++i) sy += std::rand() % 100;
        dot.x = 960 + sx / 30;
        dot.y = 540 + sy / 30;
        const int b = std::rand() % 200;
        const int r = 200 + std::rand() % 50;
        const int g = 200 + std::rand() % 50;
        const int a = std::rand() % 200;
        dot.colour = sf::Color(static_cast<sf::Uint8>(r), static_cast<sf::Uint8>(g),
                               static_cast<sf::Uint8>(b), static_cast<sf::Uint8>(a));
    }
    return dots;
}

std::string telescopePlanet() {
    // A script sets the view before the telescope is used; a telescope turned to nothing is an
    // error of the scene data.
    const std::string p = game->getStrVar("TELESCOPEVIEW");
    if (p.empty()) fatalAssert("Telescope", 110, "TELESCOPEVIEW");
    return p;
}
