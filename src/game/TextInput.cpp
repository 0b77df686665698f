#include "game/TextInput.hpp"

#include "game/DialogSound.hpp"

#include <array>
#include <cctype>

namespace {

constexpr int KEY_LSHIFT = 38;
constexpr int KEY_RSHIFT = 42;
constexpr int KEY_RETURN = 58;
constexpr int KEY_BACKSPACE = 59;

const std::array<const char*, 66> NAMED_KEYS = {
    "Escape",  "LControl", "LShift",   "LAlt",     "LSystem",  "RControl",  "RShift",  "RAlt",
    "RSystem", "Menu",     "LBracket", "RBracket", "SemiColon", "Comma",    "Period",  "Quote",
    "Slash",   "BackSlash", "Tilde",   "Equal",    "Dash",     "Space",     "Return",  "BackSpace",
    "Tab",     "PageUp",   "PageDown", "End",      "Home",     "Insert",    "Delete",  "Add",
    "Subtract", "Multiply", "Divide",  "Left",     "Right",    "Up",        "Down",    "Numpad0",
    "Numpad1", "Numpad2",  "Numpad3",  "Numpad4",  "Numpad5",  "Numpad6",   "Numpad7", "Numpad8",
    "Numpad9", "F1",       "F2",       "F3",       "F4",       "F5",        "F6",      "F7",
    "F8",      "F9",       "F10",      "F11",      "F12",      "F13",       "F14",     "F15",
    "Pause",   "KeyCount"};

} // namespace

std::string keyToString(int code) {
    if (code >= 0 && code <= 25) return std::string(1, char('A' + code));
    if (code >= 26 && code <= 35) return std::string(1, char('0' + code - 26));
    if (code >= 36 && code <= 101) return NAMED_KEYS[std::size_t(code - 36)];
    return "Unknow";
}

bool TextInput::update(const std::vector<int>& keyCodes) {
    for (int code : keyCodes) {
        if (code == KEY_LSHIFT || code == KEY_RSHIFT) continue;
        if (code == KEY_BACKSPACE && !text.empty()) {
            text.pop_back();
            continue;
        }
        if (code == KEY_RETURN) return true;
        const std::string name = keyToString(code);
        const unsigned char c = static_cast<unsigned char>(name[0]);
        const std::string longer = text + char(text.empty() ? std::toupper(c) : std::tolower(c));
        if (name.size() == 1 && (maxLength == 0 || text.size() < maxLength) &&
            (!refuseOverflow || fits(longer))) {
            playDialogSound("Menu");
            text = longer;
        } else {
            playDialogSound("Denial");
        }
    }
    return false;
}

bool TextInput::update(const std::vector<sf::Keyboard::Key>& keyCodes) {
    std::vector<int> codes;
    codes.reserve(keyCodes.size());
    for (sf::Keyboard::Key k : keyCodes) codes.push_back(int(k));
    return update(codes);
}
