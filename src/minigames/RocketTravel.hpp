// Rocket trips: the pad of a walking scene that offers its destinations, the flight from planet
// to planet, and the launch into the star system a planet belongs to.
#pragma once

#include "foundation/main.hpp"

#include <istream>
#include <set>
#include <string>

namespace sf {
class RenderWindow;
}
class Scene;
struct Flame;

// The point the leaving rocket flies to (and the arriving one comes from) for a rocket angle in
// degrees: where the ray from the screen centre at that angle first meets the screen edge.
Point rocketEdgePoint(int angle);
// The rocket's place at frame f of a phase of length L, going from `from` to `to`.
Point rocketPathPoint(Point from, Point to, int f, int L);
// The flight's rocket at frame f of a phase of length L: leaving (phase 0) from the centre to the
// edge point, arriving (phase 2) from the edge point to the centre.
Point rocketFlightPoint(int angle, bool leaving, int f, int L);
// The star-system scene that a planet belongs to.
std::string starSystemOf(const std::string& origin);
// The planet a scene lies on: its planet folder, else the planet it is the landing place of,
// else the home world, Earth (the scenes of the "Game" folder itself).
std::string planetOfScene(const Scene& scene);

// The choice that leaves the planet into its star system instead of flying to another planet.
inline const char* const OPEN_SPACE = "Open space";

// Scene-file statements of a rocket pad: "RocketTravelPlace x y" and
// "RocketDestinations x y <planet> ...". Destination names join the object pictures to load.
void readRocketTravelPlace(Scene& scene, std::istream& head);
void readRocketDestinations(Scene& scene, std::istream& head, std::set<std::string>& names);

// The leader has stepped on a rocket-travel tile: the destinations on offer are asked for.
void openRocketMenu(Scene& scene, Point tile);
// The frame after the choice: sets ORIGIN (and FLIGHT) and starts the trip. False while no
// rocket choice is waiting.
bool finishRocketMenu(Scene& scene, sf::RenderWindow* window);
// A rocket's frame with the Game's held directions (the flame's frame count needs the store).
void stepRocket(Flame& rocket, Point mapSize);
