#include "minigames/MiniGameFrame.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

void recordMiniGameWin(const std::string& flag) { game->addFlag(flag); }

void playMiniGameSound(const std::string& name) {
    if (resources) resources->playSound(name);
}
