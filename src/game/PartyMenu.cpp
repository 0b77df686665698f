// The party menu's rules: opening, the states of one frame of input, the item rows and the
// equipment locks.
#include "game/PartyMenu.hpp"

#include "battle/Items.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/DialogSound.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <algorithm>
#include <cstdlib>

namespace {

const char* const BACK_ROW = "-- Back";

} // namespace

PartyMenu::PartyMenu()
    : optionTexts{"View", "Use/Equip", "Give", "Lock", "Refresh", "Settings", "Quit", BACK_ROW} {}

std::string itemLabel(const Item& item) {
    std::string label = item.name;
    if (item.type == Item::WEAPON) label += " (W)";
    else if (item.type == Item::ACCESSORY) label += " (A)";
    if (label.size() < 13) label.append(13 - label.size(), ' ');
    const std::string bonuses = item.describeBonuses();
    if (!bonuses.empty()) label += " " + bonuses;
    return label;
}

void equipAccessoryFromInventory(Character& member, int accessorySlot, int item) {
    int& slot = member.slot(accessorySlot + 1);
    if (slot != NO_ITEM) {
        member.addItemCount(slot, 1);
        member.applyItemStats(slot, -1);
    }
    slot = item;
    if (item != NO_ITEM) {
        member.addItemCount(item, -1);
        member.applyItemStats(item, 1);
    }
}

void Game::toggleEquipmentLock(std::uint64_t rosterIndex, int slot) {
    std::set<int>& locks = equipmentLocks[rosterIndex];
    if (!locks.erase(slot)) locks.insert(slot);
}

std::vector<std::string> PartyMenu::buildItemList(int rosterIndex) const {
    std::vector<std::string> rows;
    for (const auto& [item, count] : people->at(rosterIndex).inventory) {
        if (count == 0) continue;
        std::string row = std::to_string(count) + " " + itemLabel(::itemList->at(item));
        consoleLine("ITEM ", row);
        rows.push_back(row);
    }
    rows.push_back(BACK_ROW);
    return rows;
}

void PartyMenu::open() {
    state = MAIN_LIST;
    framesOpen = 0;
    panelOrigin = {48, 27};
    panelSize = {1179, 984};

    members.clear();
    for (int i : people->party) members.push_back(i);
    for (int i : people->reserve) members.push_back(i);

    mainList.position = {1536, 27};
    mainList.characterSize = 32;
    mainList.setSize(336, panelSize.y / 3);
    mainList.scroll = 0;
    mainList.open(optionTexts, true);
    mainList.focused = true;

    firstRow = 0;
    visibleRows = 4;
    rowHeight = panelSize.y / 4;

    itemList.position = {panelOrigin.x + panelSize.x + 2, panelOrigin.y};
    const int width = mainList.position.x - itemList.position.x + mainList.size.x;
    pictureSide = float(width) * 3 / 7;
    itemList.setSize(width, int(float(panelSize.y) - pictureSide));
}

int PartyMenu::selectedMember() const {
    if (members.empty()) return people->mainCharacterIndex;
    return members[std::size_t(std::clamp(selectedRow, 0, int(members.size()) - 1))];
}

int PartyMenu::selectedItem() const {
    return ::itemList->indexOf(splitFirstWord(itemList));
}

void PartyMenu::refillItemList(int member) {
    itemList.options = buildItemList(member);
    itemList.selected = 0;
    itemList.scroll = 0;
    itemList.setSelectedText(itemList.options.front());
}

void PartyMenu::leaveItemList() {
    state = CHOOSE_MEMBER;
    itemList.active = false;
    itemList.setSelectedText("");
}

void PartyMenu::update() {
    switch (state) {
    case MAIN_LIST:
        if (!updateMainList()) return;
        break;
    case CHOOSE_MEMBER:
    case LOCK: updateMemberChoice(); break;
    case ITEM_LIST: updateItemList(); break;
    case ACCESSORY_SLOT: updateAccessorySlot(); break;
    case GIVE: updateGift(); break;
    default: break;
    }
    finishFrame();
}

bool PartyMenu::updateMainList() {
    if (!mainList.update()) return true;
    const std::string choice = mainList.selectedText();
    if (choice.empty()) {
        // Back on the main list closes at once, without the frame's common end.
        isOpen = false;
        return false;
    }
    if (choice == BACK_ROW) {
        isOpen = false;
    } else if (choice == "Settings") {
        game->settingsOpen = true;
        AnimatedObject& a = game->settingsAnimation;
        a = AnimatedObject{};
        a.name = "arara";
        a.position = {1280, 720};
        a.tick(resources != nullptr ? int(resources->getAnimation(a.name).size()) : -1);
    } else if (choice == "Lock") {
        state = LOCK;
    } else if (choice == "Quit") {
        // A confirmed quit ends the program at once; nothing is saved.
        game->askAreYouSure([] { std::exit(1); }, "quit game");
    } else if (choice == "Refresh") {
        playDialogSound("UseItem");
        if (game->autoDistributeFood) people->distributeUsableItems();
        if (game->autoDistributeWeapons) people->distributeEquipableItems();
    } else {
        state = CHOOSE_MEMBER;
    }
    return true;
}

void PartyMenu::updateMemberChoice() {
    const InputFlags& in = game->input;
    if (in.upPressed) --selectedRow;
    if (in.downPressed) ++selectedRow;
    if (in.back) {
        state = MAIN_LIST;
        return;
    }
    if (state == LOCK) {
        if (in.leftPressed && lockSlot > 0) --lockSlot;
        if (in.rightPressed && lockSlot < 2) ++lockSlot;
        if (in.confirm) {
            playDialogSound("UseItem");
            game->toggleEquipmentLock(std::uint64_t(selectedMember()), lockSlot);
        }
        return;
    }
    if (!in.confirm) return;
    // The row may have been moved this frame; the frame's end brings it back inside the list.
    selectedRow = std::clamp(selectedRow, 0, std::max(0, int(members.size()) - 1));
    const std::string choice = mainList.selectedText();
    if (choice == "View") {
        game->showCharacter(selectedMember());
    } else if (choice == "Use/Equip" || choice == "Give") {
        refillItemList(selectedMember());
        itemList.active = true;
        state = ITEM_LIST;
    }
}

void PartyMenu::updateItemList() {
    if (itemList.update()) {
        const std::string row = itemList.selectedText();
        if (row == BACK_ROW || row.empty()) {
            leaveItemList();
            return;
        }
        const int item = selectedItem();
        const int memberIndex = selectedMember();
        Character& member = people->at(memberIndex);
        const std::string choice = mainList.selectedText();
        if (choice == "Use/Equip") {
            const Item& it = ::itemList->at(item);
            if (it.type == Item::USABLE && it.isAllowed(member.className)) {
                member.useScript(item);
                playDialogSound("UseItem");
                refillItemList(memberIndex);
            } else if (it.type == Item::WEAPON && it.isAllowed(member.className)) {
                member.equipWeapon(item, true);
                playDialogSound("UseItem");
                refillItemList(memberIndex);
            } else if (it.type == Item::ACCESSORY) {
                state = ACCESSORY_SLOT;
            } else {
                playDialogSound("Denial");
            }
        } else if (choice == "Give") {
            game->chooseMember();
            state = GIVE;
        }
    }
    if (state == ITEM_LIST && game->input.back) leaveItemList();
}

void PartyMenu::updateAccessorySlot() {
    const InputFlags& in = game->input;
    if (accessorySlot == 0 && in.rightPressed) accessorySlot = 1;
    if (accessorySlot == 1 && in.leftPressed) accessorySlot = 0;
    if (in.back) {
        state = ITEM_LIST;
        return;
    }
    if (!in.confirm) return;
    state = ITEM_LIST;
    const int memberIndex = selectedMember();
    equipAccessoryFromInventory(people->at(memberIndex), accessorySlot, selectedItem());
    playDialogSound("UseItem");
    refillItemList(memberIndex);
}

void PartyMenu::updateGift() {
    // The choice box takes the frames until it closes.
    if (game->box1.active) return;
    const std::string receiverName = game->choiceBox1Selection();
    const int item = selectedItem();
    if (!receiverName.empty() && item != NO_ITEM) {
        playDialogSound("UseItem");
        const int receiver = people->indexOf(receiverName);
        people->at(selectedMember()).addItemCount(item, -1);
        people->at(receiver).addItemCount(item, 1);
    }
    state = MAIN_LIST;
    itemList.active = false;
}

void PartyMenu::finishFrame() {
    const InputFlags& in = game->input;
    if (in.action || in.menu || in.back || in.confirm || in.upHeld || in.downHeld || in.leftHeld ||
        in.rightHeld)
        playDialogSound("Menu");
    if (in.menu && framesOpen >= 1) {
        isOpen = false;
        // The next opening starts on the main list: a list left open would cover it.
        itemList.active = false;
        itemList.setSelectedText("");
    }
    const int n = int(members.size());
    if (selectedRow >= n) selectedRow = n - 1;
    if (selectedRow < 0) selectedRow = 0;
    if (selectedRow < firstRow) firstRow = selectedRow;
    if (selectedRow >= firstRow + visibleRows) firstRow = selectedRow - visibleRows + 1;
    ++framesOpen;
    mainList.focused = state == MAIN_LIST;
}
