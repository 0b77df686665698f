#include "minigames/SpaceGates.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/RocketTravel.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Audio/Music.hpp>

#include <algorithm>

std::string shardQuestFlag(const std::string& name) { return "Getting" + name + "Shard"; }

void SpaceChapterGate::read(std::istream& in) {
    WordReader r(in, "SpaceChapterGate", 18);
    tile.x = r.integer("SpaceChapterGate", "tile");
    tile.y = r.integer("SpaceChapterGate", "tile");
    r.next(chapter);
    r.next(destination);
    for (int i = 0; i < 2; ++i) {
        std::string shard;
        r.next(shard);
        shards.push_back(shard);
    }
}

bool SpaceChapterGate::isOpen() const {
    for (const std::string& s : shards)
        if (game->isBoolVarSet(shardQuestFlag(s)) && game->shardState(s) == 0) return false;
    return true;
}

void SpaceChapterGate::startTravel() {
    travelling = true;
    tripFrame = 0;
    if (resources) {
        stopSceneMusic(game->current().name, false);
        resources->getMusic("SpaceTravel").play();
    }
    tripBackground.kind = BG_SPACE_TRAVEL;
    tripBackground.count = 500;
    tripBackground.option = false;
    rocket.pixel = {960, 540};
    rocket.direction = NORTH;
    rocket.frame = 0;
    rocket.drifting = true;
    TilePosition placed;
    placed.setTile({10, 5});
    rocket.tile = placed.tile;
    rocket.pixel = placed.pixel;
    if (!game->isNormalZoom()) game->toggleZoom();
}

void SpaceChapterGate::updateTravel() {
    if (!travelling) return;
    ++tripFrame;
    tripBackground.update();
    stepRocket(rocket, {16, 9});
    if (tripFrame < tripLength && !game->input.confirm && !game->input.back) return;
    // Without a window: a destination on a planet not loaded yet loads with the Game's own.
    game->gotoScene(destination, false, nullptr);
    game->BOOLVARS.insert(shardQuestFlag(chapter));
    travelling = false;
    if (resources) resources->getMusic("SpaceTravel").stop();
}

void updateSpaceGates(Scene& scene) {
    const Point party =
        scene.type == SCENE_SPACE ? scene.flame.tile : people->mainCharacter().tile;
    // A trip under way holds the scene: the other gates wait until it is over.
    for (auto& gate : scene.gates) {
        if (!gate->travelling) continue;
        gate->updateTravel();
        return;
    }
    const bool standing = scene.type != SCENE_SPACE || !scene.flame.betweenTiles();
    for (auto& gate : scene.gates) {
        const bool here = standing && gate->tile == party;
        const bool arrived = here && !gate->underParty;
        gate->underParty = here;
        if (arrived && gate->isOpen()) {
            gate->startTravel();
            return;
        }
    }
}

void addSpaceGate(Scene& scene, std::istream& args) {
    auto gate = std::make_shared<SpaceChapterGate>();
    gate->read(args);
    for (const auto& g : scene.gates)
        if (*g == *gate || g->tile == gate->tile) return;
    scene.gates.push_back(gate);
}

const SpaceChapterGate* travellingGate(const Scene& scene) {
    for (const auto& g : scene.gates)
        if (g->travelling) return g.get();
    return nullptr;
}
