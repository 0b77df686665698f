// The party menu on X: every member of the party and the reserve with portrait, stats and
// equipment, and the eight options View, Use/Equip, Give, Lock, Refresh, Settings, Quit and Back.
#pragma once

#include "foundation/main.hpp"
#include "game/OptionMenu.hpp"

#include <map>
#include <string>
#include <vector>

namespace sf {
class RenderWindow;
class RenderTarget;
} // namespace sf

struct Item;
struct Character;

class PartyMenu {
public:
    enum State : int {
        MAIN_LIST = 0,
        CHOOSE_MEMBER = 1,
        ITEM_LIST = 3,
        ACCESSORY_SLOT = 4,
        LOCK = 5,
        GIVE = 6,
    };

    int state = MAIN_LIST;
    OptionMenu mainList;
    bool isOpen = false;
    Point panelOrigin;
    Point panelSize;
    int firstRow = 0;
    int visibleRows = 4;
    int rowHeight = 0;
    int selectedRow = 0;
    int framesOpen = 0;
    int accessorySlot = 0;
    int lockSlot = 0;
    float pictureSide = 0;
    // Roster indices: the party in ascending order, then the reserve in ascending order.
    std::vector<int> members;
    OptionMenu itemList;
    std::vector<std::string> optionTexts;
    // Where the last drawing put each member's lines, and the selected member's stat texts.
    std::map<int, Point> hpPositions;
    std::map<int, Point> mpPositions;
    std::map<int, Point> atkPositions;
    std::map<Stat, Point> statPositions;

    PartyMenu();

    // Prepares the menu for showing; the caller sets isOpen.
    void open();
    // One frame of the Game's input.
    void update();
    void draw(sf::RenderWindow& window);

    // "count label" for each item the member holds (a count of 0 is left out), then "-- Back".
    std::vector<std::string> buildItemList(int rosterIndex) const;

    // The roster index of the selected row (the row is kept inside the members list).
    int selectedMember() const;

private:
    // False when back closed the menu (the frame then ends at once).
    bool updateMainList();
    void updateMemberChoice();
    void updateItemList();
    void updateAccessorySlot();
    void updateGift();
    void leaveItemList();
    void refillItemList(int member);
    // The catalogue index of the item the item list's selected row names, NO_ITEM when none.
    int selectedItem() const;
    void finishFrame();

    void drawMemberRow(sf::RenderTarget& target, int row, int member);
    void drawEquipPreview(sf::RenderTarget& target);
};

// The item's name, " (W)" or " (A)" for weapons and accessories, spaces up to 13 characters,
// then a space and its bonuses when it has any.
std::string itemLabel(const Item& item);

// Puts an accessory (or NO_ITEM) into slot 0 or 1 of the member as the menu's accessory-slot
// confirm does: the old one back to the inventory with its bonuses off, the new one out of the
// inventory with its bonuses on.
void equipAccessoryFromInventory(Character& member, int accessorySlot, int item);

// The picture "Lock", 20 pixels wide, centred on the position.
void drawLockIcon(sf::RenderTarget& target, sf::Vector2f position);
