#include "battle/Battle.hpp"

#include "characters/People.hpp"
#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <algorithm>
#include <sstream>

void BattleAction::initAction(int target_, Point cell_, const SpellRef& spell_, const std::string& potion_,
                              const std::set<int>& furtherTargets_) {
    target = target_;
    cell = cell_;
    spell = spell_;
    potion = potion_;
    furtherTargets = furtherTargets_;
}

void BattleLog::addLine(std::vector<std::string>& lines, const std::string& text) { lines.push_back(text); }

void Battle::refillIndexList(ActionAnimation& shown, const std::set<int>& targets) {
    shown.pendingTargets.assign(targets.begin(), targets.end());
    shown.targetCount += static_cast<int>(targets.size());
}

void Battle::load(const std::string& text) {
    // A new definition starts from a default record: nothing of an earlier one (its joiners,
    // WATCH, PRACTICE, music...) carries over, except what the scene set from outside and the
    // loot the next start clears away.
    Battle fresh;
    fresh.presetTiles = std::move(presetTiles);
    fresh.posts = std::move(posts);
    fresh.extraWalkerCells = std::move(extraWalkerCells);
    fresh.largeMonsters = std::move(largeMonsters);
    fresh.droppedItems = std::move(droppedItems);
    fresh.sceneName = std::move(sceneName);
    fresh.gridSize = gridSize;
    *this = std::move(fresh);
    inBattle = true;

    std::istringstream in(text);
    WordReader reader(in, "Battle", 43);
    std::string word;
    in >> word;
    sky = SKY_NONE;
    while (true) {
        if (in.eof() && word.empty()) break;
        ReadingPlace::setCurrentStatement(word);
        if (word == "EGRESS") {
            egress = reader.word(word);
        } else if (word == "WATCH") {
            watch = true;
        } else if (word == "MUSIC") {
            music = reader.word(word);
        } else if (word == "BACKGROUND") {
            background = reader.word(word);
        } else if (word == "SKY") {
            std::string name = reader.word(word);
            if (name == "STARS") sky = SKY_STARS;
            else if (name == "CIRCUS") sky = SKY_CIRCUS;
            else if (name == "TRAIN") sky = SKY_TRAIN;
        } else if (word == "ENEMYPOS") {
            int x = reader.integer("Tile", "x");
            int y = reader.integer("Tile", "y");
            enemyPositions[""].push_back({x, y});
        } else if (word == "ENEMYPOSNAME") {
            std::string key = reader.word(word);
            int x = reader.integer("Tile", "x");
            int y = reader.integer("Tile", "y");
            enemyPositions[key].push_back({x, y});
        } else if (word == "PRACTICE") {
            practice = true;
        } else if (word == "SIFTER") {
            sifter = true;
        } else if (word == "ENEMIES") {
            int n = reader.integer("Battle", "count");
            for (int i = 0; i < n; ++i) {
                std::string name;
                in >> name;
                int index = people->indexOf(name);
                if (index == NO_INDEX) fatalAssert("Battle", 770, name);
                enemies.push_back(index);
            }
        } else if (word == "ENEMYRANDOMPOS") {
            enemyRandomPos = true;
        } else if (word == "ENEMYBOX") {
            enemyBoxX0 = reader.integer("Box", "x0");
            enemyBoxY0 = reader.integer("Box", "y0");
            enemyBoxX1 = reader.integer("Box", "x1");
            enemyBoxY1 = reader.integer("Box", "y1");
        } else if (word == "JOINS") {
            int n = reader.integer("Battle", "count");
            for (int i = 0; i < n; ++i) {
                std::string name;
                in >> name;
                int index = people->indexOf(name);
                // The battle start needs a real roster index for every joiner.
                if (index == NO_INDEX) fatalAssert("Battle", 99, name);
                // The start would add it to the party once and the end hand it back twice.
                if (std::find(joins.begin(), joins.end(), index) != joins.end())
                    fatalAssert("Battle", 102, name + " listed twice");
                joins.push_back(index);
            }
        } else {
            fatalAssert("Battle", 789, word);
        }
        if (in.eof()) break;
        word.clear();
        in >> word;
    }
}

void Battle::checkCellsOnGrid(Point grid) const {
    for (const auto& [key, cells] : enemyPositions)
        for (const Point& p : cells)
            if (p.x < 0 || p.y < 0 || p.x >= grid.x || p.y >= grid.y)
                fatalAssert("Battle", 118,
                            (key.empty() ? "ENEMYPOS " : "ENEMYPOSNAME " + key + " ") + std::to_string(p.x) +
                                " " + std::to_string(p.y) + " outside the " + std::to_string(grid.x) +
                                " x " + std::to_string(grid.y) + " map");
}

void Battle::setScene(const std::string& name) {
    Scene& scene = game->sceneByName(name);
    sceneName = name;
    gridSize = {scene.mapWidth(), scene.mapHeight()};
}
