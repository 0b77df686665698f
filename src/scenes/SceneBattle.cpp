// The walking scene's side of its live battle: a battle a script armed starts once, the frame
// goes to a running battle, and scripted walkers are routed around the scene's obstacles.
#include "scenes/Scene.hpp"

#include "characters/People.hpp"
#include "game/Globals.hpp"

bool Scene::updateBattle() {
    if (battle.armed) {
        battle.armed = false;
        if (battle.inBattle) battle.start();
    }
    // The watch phase runs beside the walking party until an enemy spots the leader.
    if (battle.watch && !battle.inBattle) {
        battle.update();
        return battle.isActive();
    }
    if (!battle.isActive()) return false;
    battle.update();
    return true;
}

Point Scene::routedStep(int who, Point destination) {
    const Character& c = people->at(who);
    battle.routingScene = this;
    std::vector<Point> way = battle.findPathOnScene(who, c.tile, destination);
    battle.routingScene = nullptr;
    if (!way.empty() && way.front() != c.tile) return way.front();
    Point next = c.tile;
    if (next.x != destination.x) next.x += destination.x > next.x ? 1 : -1;
    else next.y += destination.y > next.y ? 1 : -1;
    return next;
}
