#include "scenes/FindingText.hpp"

#include <cctype>

std::string readableItemName(const std::string& item) {
    std::string out;
    for (std::size_t i = 0; i < item.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(item[i]);
        const unsigned char before = i > 0 ? static_cast<unsigned char>(item[i - 1]) : ' ';
        if (std::isupper(c) && (std::islower(before) || std::isdigit(before))) out += ' ';
        out += item[i];
    }
    return out;
}

std::string foundItemText(const std::string& item) { return "You found " + readableItemName(item) + "!"; }
