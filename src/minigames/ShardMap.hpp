// The shard map (an orrery of the home system, the far systems, the list of shards and the
// chosen shard's panel) and the telescope view: their rules, apart from the drawing.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct OrreryBody {
    int orbit = 0;
    int size = 0;
    int phase = 0;
    int direction = -1;
};

// The home system's bodies by name (drawn in name order).
const std::map<std::string, OrreryBody>& orreryBodies();
// The far star systems and their places on the map, shown from chapter 7 on.
const std::map<std::string, Point>& starSystemPlaces();
bool starSystemsShown(int chapter);

// Seconds since 1970 as the map's clock reads them: a 32-bit value.
std::int32_t orreryClock();
// The step (0 to 299) of a body at clock t: one step per second, modulo 300 taken over the
// unsigned 64-bit value of the 32-bit sum, so a negative sum wraps the way the clock's does.
int orreryStep(int phase, int direction, std::int32_t t);
float orbitRadiusX(int orbit);
int orbitRadiusY(int orbit);
sf::Vector2f orreryPosition(const OrreryBody& body, std::int32_t t);

// What the chosen shard's panel can show of its location.
enum class ShardPlace { UNKNOWN, BODY, SYSTEM, ELSEWHERE };
ShardPlace shardPlaceKind(const std::string& shard, int chapter);

// The list row's fill for a shard state (row -1 and unknown states are grey).
sf::Color shardRowColour(int state);
// The status words for a shard state; empty for a value no state has.
std::string shardStatusText(int state);

// One twinkling dot of light on the telescope's planet.
struct TelescopeDot {
    int radius = 1;
    int x = 0, y = 0;
    sf::Color colour;
};
// The shard whose light the telescope shows on a planet: the last, in name order, located
// there; empty when none lies there or it has been found.
std::string telescopeShard(const std::string& planet);
// The dots of one frame, drawn from rand().
std::vector<TelescopeDot> telescopeCloud();
// The planet the telescope is turned to ("Nada": none); an unset view is fatal.
std::string telescopePlanet();
