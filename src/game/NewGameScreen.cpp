#include "game/NewGameScreen.hpp"

#include "game/DialogSound.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/OptionMenu.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char* const SAVE_ROOT = "SaveGames";
const char* const NEW_GAME_ENTRY = "*** NEW game ***";

} // namespace

std::vector<std::string> listSaveFolders(const std::string& saveRoot) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(saveRoot, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        if (!it->is_directory(entryError)) continue;
        Game::completeInterruptedSave(it->path().string());
        // Every folder with a save file in it: one that lacks its partner is offered too, and
        // loading it says what is wrong, rather than a new game of that name writing over it.
        // A folder without either is a new game left before its first save point.
        if (fs::exists(it->path() / "game.save", entryError) ||
            fs::exists(it->path() / "people.save", entryError))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string NewGameScreen::keyHint() const {
    switch (state) {
    case 0: return "Space: begin     F1: credits     Escape: quit";
    case 1:
    case 2: return "Up, Down: choose     Space: confirm     F1: credits     Escape: quit";
    case 3:
    case 4: return "Letters and digits: your name     BackSpace: erase     Return: done";
    default: {
        static const char* const levels[] = {"Easy", "Normal", "Hard"};
        const int kept = game != nullptr ? std::clamp(game->difficulty, 0, 2) : 1;
        return std::string("Up, Down: choose     Space: confirm     Control: keep ") + levels[kept];
    }
    }
}

NewGameScreen::NewGameScreen() {
    // The visible rows follow from the size at the default character size.
    resumeList.setSize(640, 270);
    resumeList.characterSize = 30;
    resumeList.position = {1900 - 640, (1296 - 270) / 2};
    resumeList.color = sf::Color(100, 100, 0, 255);

    nameBox.x = 480;
    nameBox.y = 540;
    nameBox.width = 960;
    nameBox.characterSize = 55;
    nameBox.fillColor = sf::Color::Blue;
    nameBox.label = "Enter your name";
    nameBox.maxLength = MAX_PLAYER_NAME_LENGTH;
    nameBox.refuseOverflow = true;

    difficultyList.options = {"Easy", "Normal", "Hard"};
    difficultyList.setSize(640 / 3, 270 * 2 / 3);
    difficultyList.position = {1900 - 640 / 3, 513};
    difficultyList.characterSize = 30;
    difficultyList.color = sf::Color(0, 100, 100, 255);
}

bool NewGameScreen::update(const std::vector<sf::Keyboard::Key>& keyCodes,
                           sf::RenderWindow* window) {
    std::vector<int> codes;
    for (sf::Keyboard::Key k : keyCodes) codes.push_back(int(k));
    return update(codes, window);
}

bool NewGameScreen::update(const std::vector<int>& keyCodes, sf::RenderWindow* window) {
    switch (state) {
    case 0:
        if (game->input.confirm || game->input.back) {
            message = "Hi there! Which game would you like to resume?";
            state = 1;
        }
        return false;
    case 1:
        listGames();
        return false;
    case 2: return chooseGame(window);
    case 3:
        nameBox.active = true;
        state = 4;
        return false;
    case 4:
        takeName(keyCodes);
        return false;
    case 5:
        message = "How hard should the journey be?";
        state = 6;
        difficultyList.active = true;
        difficultyList.setSelectedText(
            difficultyList.options[std::size_t(std::clamp(difficultyList.selected, 0, 2))]);
        return false;
    case 6: return chooseDifficulty(window);
    }
    return false;
}

void NewGameScreen::listGames() {
    std::vector<std::string> entries{NEW_GAME_ENTRY};
    std::error_code ec;
    if (!fs::exists(SAVE_ROOT, ec)) fs::create_directory(SAVE_ROOT, ec);
    if (ec) consoleLine("Could not create the folder ", SAVE_ROOT, ": ", ec.message());
    for (const std::string& name : listSaveFolders(SAVE_ROOT)) entries.push_back(name);
    resumeList.open(entries, false);
    state = 2;
}

bool NewGameScreen::chooseGame(sf::RenderWindow* window) {
    if (!resumeList.update()) return false;
    const std::string choice = resumeList.selectedText();
    if (choice.empty()) {
        // Back: the list of games stays up.
        state = 1;
        return false;
    }
    resumeList.active = false;
    resumeList.setSelectedText("");
    if (choice.find("*** ") != std::string::npos) {
        message = "And how should I call you ?";
        state = 3;
        return false;
    }
    const std::string previousName = game->playerName;
    game->playerName = choice;
    std::string damage;
    if (!game->loadGame(window, &damage)) {
        // Nothing of it was loaded and its files stay as they are: the list comes back.
        game->playerName = previousName;
        message = "Sorry, this save is damaged:\n" + damage;
        playDialogSound("Denial");
        state = 1;
        return false;
    }
    consoleLine("Game ", choice, " resumed");
    return true;
}

void NewGameScreen::takeName(const std::vector<int>& keyCodes) {
    if (!nameBox.update(keyCodes)) return;
    const std::string name = nameBox.text;
    if (name.empty()) {
        // The save folder needs a name.
        playDialogSound("Denial");
        return;
    }
    nameBox.active = false;
    const fs::path folder = fs::path(SAVE_ROOT) / name;
    std::error_code ec;
    const bool listed =
        std::find(resumeList.options.begin(), resumeList.options.end(), name) !=
        resumeList.options.end();
    // Any folder of that name that holds something is someone's (an empty one is a new
    // game left before its first save point, and is taken over).
    const bool taken =
        fs::exists(folder, ec) && !(fs::is_directory(folder, ec) && fs::is_empty(folder, ec));
    if (listed || taken) {
        message = "Name " + name + " already exists. Please choose a different name.";
        state = 1;
        return;
    }
    if (!fs::is_directory(folder, ec)) fs::create_directory(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) {
        message = "Cannot save as " + name + ". Please choose a different name.";
        state = 1;
        return;
    }
    state = 5;
    game->playerName = name;
}

bool NewGameScreen::chooseDifficulty(sf::RenderWindow* window) {
    if (!difficultyList.update()) return false;
    const std::string level = difficultyList.selectedText();
    if (level == "Easy") game->difficulty = 0;
    if (level == "Normal") game->difficulty = 1;
    if (level == "Hard") game->difficulty = 2;
    difficultyList.active = false;
    game->gotoScene("Intro", true, window);
    consoleLine("New game ", game->playerName, " started");
    return true;
}
