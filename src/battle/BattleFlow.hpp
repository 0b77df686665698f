// Small services shared by the running battle's files: the scene that holds the battle, the
// sides, sounds and music that stay silent without a resource store.
#pragma once

#include "battle/Battle.hpp"

#include <string>

class Scene;
namespace sf {
class Music;
}

// The scene the battle is bound to; the current scene for a record bound to none.
Scene& battleScene(const Battle& battle);
// Party or reserve member: the player's side.
bool isPlayerSide(long long combatant);
void battleSound(const std::string& name);
// Null without a resource store or for an empty name.
sf::Music* battleMusic(const std::string& name);
