// The exchange between the party, which walks and fights, and the reserve, which waits: two lists
// side by side, members moved from one to the other within the limit of 11 each, and swapped in
// pairs once the two together are full.
#pragma once

#include "game/OptionMenu.hpp"

#include <string>

namespace sf {
class RenderTarget;
}

class People;

class PartyExchangeMenu {
public:
    OptionMenu partyList;
    OptionMenu reserveList;
    bool active = false;
    // The party and the reserve together held 22 or more at the last update: picks swap.
    bool full = false;
    // In a full roster, the name picked first for a swap; empty when none.
    std::string pendingName;

    void open();
    // One frame; false when the menu is not active or has just been closed.
    bool update();
    void draw(sf::RenderTarget& window);
};

// Swaps a party member and a reserve member, whatever the limits.
void movePartyMember(People& roster, std::string partyName, std::string reserveName);
