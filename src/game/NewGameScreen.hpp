// The start screen's dialog: resume a saved game from "SaveGames" or name a new one and choose
// its difficulty. It runs while the current scene carries "PlayerControlHere".
#pragma once

#include "game/OptionMenu.hpp"
#include "game/TextInput.hpp"

#include <SFML/Window/Keyboard.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
class RenderWindow;
} // namespace sf

// Longest player name the name box accepts; it names the save folder.
constexpr std::size_t MAX_PLAYER_NAME_LENGTH = 20;

class NewGameScreen {
public:
    // 0 waiting, 1 listing, 2 choosing, 3 prompting, 4 typing, 5 and 6 the difficulty.
    int state = 0;
    OptionMenu resumeList;
    TextInput nameBox;
    OptionMenu difficultyList;
    // The line at the top; not drawn while empty.
    std::string message;

    NewGameScreen();

    // True in the frame in which a saved game has been loaded or a new game started.
    bool update(const std::vector<int>& keyCodes, sf::RenderWindow* window);
    bool update(const std::vector<sf::Keyboard::Key>& keyCodes, sf::RenderWindow* window);
    void draw(sf::RenderTarget& window) const;
    void draw(sf::RenderTarget* window) const { draw(*window); }

    // The key hint at the foot of the screen for what is open now, naming the keys that work.
    std::string keyHint() const;

private:
    // The steps of update: the list of saved games, choosing one (true when it has loaded),
    // the new game's name and its difficulty (true when the new game has started).
    void listGames();
    bool chooseGame(sf::RenderWindow* window);
    void takeName(const std::vector<int>& keyCodes);
    bool chooseDifficulty(sf::RenderWindow* window);
};

// The names of the folders under saveRoot that hold a "game.save" or a "people.save", sorted.
// A save stopped between its two renames is finished first, so that its folder is offered.
std::vector<std::string> listSaveFolders(const std::string& saveRoot);
