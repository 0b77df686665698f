// Sounds and music of the dialog widgets, taken from the resource store. Without a store (the
// dialog logic runs without a display in tests) they are silent and touch no scene music.
#pragma once

#include <string>

namespace sf {
class Music;
class Sound;
} // namespace sf

// Plays a sound once; silent for a missing sound.
void playDialogSound(const std::string& name);
// The sound of that name, or null for a missing sound.
sf::Sound* findDialogSound(const std::string& name);
// The music of that name (a missing music is fatal, as in the store), or null without a store.
sf::Music* findDialogMusic(const std::string& name);
