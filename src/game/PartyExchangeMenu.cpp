// The exchange menu's rules: the two lists follow the roster's sets every frame, and a pick moves
// one member across or, in a full roster, marks the first half of a swap.
#include "game/PartyExchangeMenu.hpp"

#include "characters/People.hpp"
#include "game/DialogSound.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <algorithm>
#include <iterator>

namespace {

constexpr int FULL_ROSTER = 2 * PARTY_LIMIT;

std::vector<std::string> titles(const std::set<int>& members) {
    std::vector<std::string> out;
    for (int i : members) out.push_back(people->at(i).titleText());
    return out;
}

void giveInput(OptionMenu& from, OptionMenu& to) {
    from.active = false;
    to.active = true;
}

} // namespace

void movePartyMember(People& roster, std::string partyName, std::string reserveName) {
    const int partyIndex = roster.indexOf(partyName);
    const int reserveIndex = roster.indexOf(reserveName);
    consoleLine("Out of the party: ", partyName, " ", partyIndex, " Into the party: ", reserveName, " ",
                reserveIndex);
    roster.moveToReserve(partyIndex, true);
    roster.moveToParty(reserveIndex, true);
}

void PartyExchangeMenu::open() {
    active = true;
    // A name left pending by an earlier visit would pair with the wrong side.
    pendingName.clear();
    partyList.active = true;
    partyList.setSelectedText(partyList.options.empty() ? std::string()
                                                        : partyList.options[std::size_t(std::clamp(partyList.selected, 0, int(partyList.options.size()) - 1))]);
    reserveList.active = false;
    reserveList.setSelectedText("");

    partyList.characterSize = 40;
    partyList.setSize(768, 720);
    partyList.position = {160, 180};
    partyList.color = sf::Color::Red;
    reserveList.characterSize = 40;
    reserveList.setSize(768, 720);
    reserveList.position = {1120, 180};
    reserveList.color = sf::Color::Blue;
    consoleLine("Done active");
}

bool PartyExchangeMenu::update() {
    const InputFlags& in = game->input;
    if (in.back) {
        active = false;
        pendingName.clear();
        return false;
    }
    if (!active) return false;

    People& roster = *people;
    if (roster.reserve.empty() && roster.party.size() > 1) {
        // The main character always stays in the party.
        for (auto it = roster.party.rbegin(); it != roster.party.rend(); ++it) {
            if (*it == roster.mainCharacterIndex) continue;
            roster.moveToReserve(*it, false);
            break;
        }
    }

    partyList.options = titles(roster.party);
    reserveList.options = titles(roster.reserve);
    for (int i : roster.party) roster.at(i).update();
    for (int i : roster.reserve) roster.at(i).update();

    full = int(roster.party.size() + roster.reserve.size()) >= FULL_ROSTER;

    if ((in.leftPressed || in.rightPressed) && !partyList.options.empty() && !reserveList.options.empty()) {
        std::swap(partyList.active, reserveList.active);
        pendingName.clear();
    }

    if (partyList.active && partyList.update()) {
        const int position = partyList.selected;
        if (position < 0 || position >= int(roster.party.size())) fatalAssert("People", 148, "Bla");
        const int member = *std::next(roster.party.begin(), position);
        const std::string name = splitLastWord(partyList);
        if (member == roster.mainCharacterIndex) {
            playDialogSound("Denial");
        } else if (!full) {
            if (int(roster.reserve.size()) >= PARTY_LIMIT) playDialogSound("Denial");
            roster.moveToReserve(member, false);
        } else if (pendingName.empty()) {
            pendingName = name;
            giveInput(partyList, reserveList);
        } else {
            movePartyMember(roster, name, pendingName);
            pendingName.clear();
            giveInput(partyList, reserveList);
        }
    } else if (reserveList.active && reserveList.update()) {
        const int position = reserveList.selected;
        // An empty reserve list has nothing to pick.
        if (position < 0 || position >= int(roster.reserve.size())) return true;
        const int member = *std::next(roster.reserve.begin(), position);
        const std::string name = splitLastWord(reserveList);
        if (!full) {
            if (int(roster.party.size()) >= PARTY_LIMIT) playDialogSound("Denial");
            roster.moveToParty(member, false);
        } else if (pendingName.empty()) {
            pendingName = name;
            giveInput(reserveList, partyList);
        } else {
            movePartyMember(roster, pendingName, name);
            pendingName.clear();
            giveInput(reserveList, partyList);
        }
    }
    return true;
}
