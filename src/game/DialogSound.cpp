#include "game/DialogSound.hpp"

#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

void playDialogSound(const std::string& name) {
    if (resources != nullptr) resources->playSound(name);
}

sf::Sound* findDialogSound(const std::string& name) {
    return resources != nullptr ? resources->findSound(name) : nullptr;
}

sf::Music* findDialogMusic(const std::string& name) {
    return resources != nullptr ? &resources->getMusic(name) : nullptr;
}
