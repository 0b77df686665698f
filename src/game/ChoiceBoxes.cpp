// The Game's three choice boxes: pop-up lists that scenes, the battle and the party menu open to
// ask the player for a choice, read once the box has closed.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

namespace {

void openBox(OptionMenu& box, const std::vector<std::string>& options, bool resetSelection,
             Point position, sf::Color colour) {
    box.open(options, resetSelection);
    // Sizing needs the font; without a resource store (the battle's logic in tests) it waits.
    if (resources != nullptr) box.fitSize();
    box.position = position;
    box.color = colour;
}

} // namespace

void Game::openChoiceBox1(const std::vector<std::string>& options, bool resetSelection,
                          sf::Color colour) {
    openBox(box1, options, resetSelection, {50, 50}, colour);
}

void Game::openChoiceBox2(const std::vector<std::string>& options, bool resetSelection) {
    openBox(box2, options, resetSelection, {100, 75}, sf::Color::Red);
}

void Game::openChoiceBox3(const std::vector<std::string>& options, bool resetSelection) {
    // Box 3 always reopens where the player left it.
    openBox(box3, options, false, {300, 100}, sf::Color(0, 100, 0, 255));
}

void Game::chooseMember() {
    std::vector<std::string> names;
    for (int index : people->party) names.push_back(people->at(index).name);
    openChoiceBox1(names, false, sf::Color::Red);
}

void Game::closeChoiceBox2() {
    box2.active = false;
    box2.options.clear();
    box2.selected = 0;
}

int Game::updateChoiceBoxes() {
    if (box1.active) {
        if (box1.update()) box1.active = false;
        return 1;
    }
    if (box2.active) {
        if (box2.update()) box2.active = false;
        return 2;
    }
    if (box3.active) {
        if (box3.update()) {
            if (!box3.selectedText().empty())
                box3.active = false;
            else
                box2.active = true; // back: the list beneath comes up again
        }
        return 3;
    }
    return 0;
}

void Game::drawChoiceBoxes(sf::RenderTarget& window) {
    box1.draw(window, false);
    box2.draw(window, false);
    box3.draw(window, false);
}
