#include "battle/Battle.hpp"

#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

void Battle::setScene(const std::string& name) {
    Scene& scene = game->sceneByName(name);
    sceneName = name;
    gridSize = {scene.mapWidth(), scene.mapHeight()};
}
