// A walking scene's side of the logic puzzle: posing it on entry and showing its clues.
#include "minigames/EinsteinPuzzle.hpp"

#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Buildings.hpp"
#include "scenes/Scene.hpp"

#include <sstream>

void Scene::posePuzzle() {
    if (!einstein->present) return;
    EinsteinPuzzle& puzzle = *einstein;
    puzzle.generate();
    // The statement may have been read twice; the houses are always the first five tiles.
    for (int i = 0; i < puzzle.houseCount && i < static_cast<int>(puzzle.houseTiles.size()); ++i) {
        const bool fulano = puzzle.isFulanoHouse(i);
        for (const auto& building : buildings) {
            if (building->door != puzzle.houseTiles[i]) continue;
            building->setColor(puzzle.houseColor(i));
            building->scene = fulano ? puzzle.secondWord() : puzzle.firstWord();
        }
        if (fulano) {
            Scene& home = game->sceneByName(puzzle.secondWord());
            home.setContainerContents(puzzle.houseFruit(i));
            home.setPet(puzzle.housePet(i));
        }
    }
}

bool Scene::useClueTile(Point tile) {
    if (!einstein || !einstein->present || tile != einstein->clueTile) return false;
    message.setText("");
    message.lines.clear();
    std::istringstream text(einstein->cluesText());
    for (std::string line; std::getline(text, line);) message.lines.push_back(line);
    while (!message.lines.empty() && message.lines.back().empty()) message.lines.pop_back();
    return true;
}
