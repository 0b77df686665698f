// The exchange menu's picture: both lists, the name waiting for its swap partner in a colour
// drawn anew each frame (rand() draws), and the members' figures standing under their lists.
#include "game/PartyExchangeMenu.hpp"

#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

void PartyExchangeMenu::draw(sf::RenderTarget& window) {
    if (!active) return;
    partyList.draw(window, true);
    reserveList.draw(window, true);

    if (!pendingName.empty()) {
        sf::Text name(pendingName, resources->getFont("Nice"), 50);
        const sf::Uint8 r = randomChannel(), g = randomChannel(), b = randomChannel();
        name.setFillColor(sf::Color(r, g, b, 255));
        name.setPosition((WINDOW_WIDTH - name.getLocalBounds().width) / 2, 100);
        window.draw(name);
    }

    const int s = partyList.size.x / 13;
    const int step = s + (s - partyList.size.x / 12) / 11;
    auto figures = [&](const std::set<int>& members, const OptionMenu& list) {
        int k = 0;
        for (int i : members) {
            const Point at{list.position.x + k * step, list.position.y + list.size.y - s};
            people->at(i).draw(window, at, float(s), sf::Color(0, 0, 0, 0), false);
            ++k;
        }
    };
    figures(people->party, partyList);
    figures(people->reserve, reserveList);
}
