#include "game/OptionMenu.hpp"

#include "foundation/Resources.hpp"
#include "game/DialogSound.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics/Text.hpp>

#include <algorithm>

MenuKeys currentMenuKeys() {
    MenuKeys k;
    k.up = game->input.upHeld;
    k.down = game->input.downHeld;
    k.left = game->input.leftHeld;
    k.right = game->input.rightHeld;
    k.upPressed = game->input.upPressed;
    k.downPressed = game->input.downPressed;
    k.confirm = game->input.confirm;
    k.back = game->input.back;
    k.menu = game->input.menu;
    k.action = game->input.action;
    return k;
}

OptionMenu::OptionMenu(std::vector<std::string> options_) : options(std::move(options_)) {}

void OptionMenu::fitSize() {
    int width = 200;
    for (const std::string& option : options) {
        sf::Text t(option, resources->getFont("Dialog"), unsigned(characterSize));
        width = std::max(width, int(t.getLocalBounds().width * 1.3f));
    }
    setSize(width, int(options.size() + 1) * rowHeight());
}

void OptionMenu::setSize(int width, int height) {
    size = {width, height};
    const int h = rowHeight();
    visibleRows = h > 0 ? (height - h / 3) / h : 0;
}

void OptionMenu::open(const std::vector<std::string>& newOptions, bool resetSelection) {
    options = newOptions;
    const int n = int(options.size());
    if (n > 0 && selected >= n) selected = n - 1;
    active = true;
    if (resetSelection) selected = 0;
    if (selected < 0) selected = 0;
    selectedText_ = n > 0 ? options[std::size_t(selected)] : std::string();
}

bool OptionMenu::update() { return update(currentMenuKeys()); }

bool OptionMenu::update(const MenuKeys& k) {
    if (k.upPressed) --selected;
    if (k.downPressed) ++selected;
    const int n = int(options.size());
    if (selected >= n) selected = n - 1;
    if (selected < 0) selected = 0;
    if (std::uint64_t(selected) < scroll) scroll = std::uint64_t(selected);
    if (visibleRows > 0 && std::uint64_t(selected) >= scroll + std::uint64_t(visibleRows))
        scroll = std::uint64_t(selected - visibleRows + 1);
    // A menu without options has no row to take the text from.
    selectedText_ = n > 0 ? options[std::size_t(selected)] : std::string();

    if (k.up || k.down || k.left || k.right || k.confirm || k.back || k.menu || k.action)
        playDialogSound("Menu");
    if (k.confirm) return true;
    if (k.back) {
        selectedText_.clear();
        return true;
    }
    return false;
}

std::string splitFirstWord(const OptionMenu& menu) {
    const std::string text = menu.selectedText();
    const std::size_t first = text.find(' ');
    if (first == std::string::npos) return text;
    const std::size_t next = text.find(' ', first + 1);
    return text.substr(first + 1, next == std::string::npos ? std::string::npos : next - first - 1);
}

std::string splitLastWord(const OptionMenu& menu) {
    const std::string text = menu.selectedText();
    const std::size_t first = text.find(' ');
    if (first == std::string::npos) return text;
    const std::size_t last = text.rfind(' ');
    if (last == first) return text.substr(first + 1);
    return text.substr(first + 1, last - first - 1);
}
