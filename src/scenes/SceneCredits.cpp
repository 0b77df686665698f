#include "scenes/SceneCredits.hpp"

#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/LongText.hpp"

void SceneCredits::update() {
    int retrieved = 0, stolen = 0;
    for (const auto& [shard, state] : game->SHARDS) {
        if (state == 1) ++retrieved;
        if (state == 2) ++stolen;
    }
    for (std::string& line : lines) {
        replaceFirst(line, "#SQV", std::to_string(retrieved));
        replaceFirst(line, "#SMS", std::to_string(stolen));
    }
    const int step = game->input.back || game->input.confirmOrBackHeld ? 20 : 1;
    scrollY -= step;
    frame += step;

    const int next = color[channel] + (rising ? 1 : -1);
    if (next < 0 || next > 255) {
        channel = (channel + 1) % 3;
        rising = !rising;
    } else {
        color[channel] = static_cast<unsigned char>(next);
    }
    if (!active) lines.clear();
}
