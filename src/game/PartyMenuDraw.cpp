// The party menu's picture: the member panel with one row per member, the two lists, and while
// an item is being picked the preview of what equipping it would change. The highlighted row's
// outline and the flashing slots take a random colour each frame (rand() draws, see
// randomColor).
#include "game/PartyMenu.hpp"

#include "battle/Items.hpp"
#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>

namespace {

const sf::Color GREY(100, 100, 100, 255);

sf::Text niceText(const std::string& string, unsigned size, sf::Color colour = sf::Color::White) {
    sf::Text text(string, resources->getFont("Nice"), size);
    text.setFillColor(colour);
    return text;
}

void square(sf::RenderTarget& target, float x, float y, float side, sf::Color fill,
            sf::Color outline, float thickness) {
    sf::RectangleShape box({side, side});
    box.setPosition(x, y);
    box.setFillColor(fill);
    box.setOutlineColor(outline);
    box.setOutlineThickness(thickness);
    target.draw(box);
}

// An item picture centred on a point: weapons stand diagonally and a little larger.
void itemPicture(sf::RenderTarget& target, int item, sf::Vector2f centre, float side, bool weapon) {
    const sf::Texture& texture = resources->getItemTexture(::itemList->at(item).name);
    const sf::Vector2u size = texture.getSize();
    if (size.x == 0 || size.y == 0) return;
    float scale = std::min(side / float(size.y), side / float(size.x));
    sf::Sprite sprite(texture);
    sprite.setOrigin(float(size.x) / 2, float(size.y) / 2);
    if (weapon) {
        sprite.setRotation(45);
        scale *= std::sqrt(2.0f);
    }
    sprite.setScale(scale, scale);
    sprite.setPosition(centre);
    target.draw(sprite);
}

// "+n" in green, a negative n in red, nothing for 0.
void drawDifference(sf::RenderTarget& target, int difference, sf::Vector2f at, unsigned size) {
    if (difference == 0) return;
    sf::Text text = difference > 0 ? niceText("+" + std::to_string(difference), size, sf::Color::Green)
                                   : niceText(std::to_string(difference), size, sf::Color::Red);
    text.setPosition(at);
    target.draw(text);
}

sf::Vector2f toVector(Point p) { return {float(p.x), float(p.y)}; }

} // namespace

void drawLockIcon(sf::RenderTarget& target, sf::Vector2f position) {
    const sf::Texture& texture = resources->getMiscTexture("Lock");
    const sf::Vector2u size = texture.getSize();
    if (size.x == 0) return;
    sf::Sprite sprite(texture);
    sprite.setOrigin(float(size.x) / 2, float(size.y) / 2);
    const float scale = 20.0f / float(size.x);
    sprite.setScale(scale, scale);
    sprite.setPosition(position);
    target.draw(sprite);
}

void PartyMenu::draw(sf::RenderWindow& window) {
    if (!isOpen) return;
    sf::RectangleShape panel(toVector(panelSize));
    panel.setPosition(toVector(panelOrigin));
    panel.setFillColor(sf::Color::Blue);
    panel.setOutlineThickness(2);
    panel.setOutlineColor(state == CHOOSE_MEMBER || state == LOCK ? sf::Color::White : GREY);
    window.draw(panel);

    for (int i = 0; i < visibleRows && firstRow + i < int(members.size()); ++i)
        drawMemberRow(window, i, members[std::size_t(firstRow + i)]);

    mainList.draw(window, false);
    itemList.draw(window, false);
    if ((state == ITEM_LIST || state == ACCESSORY_SLOT) && itemList.active) drawEquipPreview(window);
}

namespace {

// One member's row of the panel, drawn in steps. Ox and W are the panel's left edge and width,
// R the row's height, P the portrait's side, S an equipment slot's side and T the row's top;
// X0, X1 and X2 are the slots' left edges.
class MemberRow {
public:
    MemberRow(PartyMenu& menu, sf::RenderTarget& target, int i, int member);
    void draw();

private:
    PartyMenu& menu;
    sf::RenderTarget& target;
    const Character& c;
    const int member;
    const bool selected;
    const bool inParty;
    const float Ox, W;
    const int R, P;
    const float S, T;
    const int X0, X1, X2;
    const float slotY;
    const float slotX[3];
    const float accessoriesWidth;

    void drawFrame();
    void drawPortraitAndTitle();
    void drawStats();
    void drawPoints();
    void drawSlots();
    void drawAttackAndDefence();
    void drawBonuses();
};

MemberRow::MemberRow(PartyMenu& menu, sf::RenderTarget& target, int i, int member)
    : menu(menu), target(target), c(people->at(member)), member(member),
      selected(menu.firstRow + i == menu.selectedRow),
      inParty(menu.firstRow + i < int(people->party.size())),
      Ox(float(menu.panelOrigin.x)), W(float(menu.panelSize.x)), R(menu.rowHeight), P(R - 76),
      S(float(P / 2)), T(float(menu.panelOrigin.y + R * i)),
      X0(menu.panelOrigin.x + menu.panelSize.x * 9 / 15), X1(X0 + menu.panelSize.x / 7),
      X2(X1 + menu.panelSize.x / 8), slotY(T + 73), slotX{float(X0), float(X1), float(X2)},
      accessoriesWidth(float(X2) + S - float(X1)) {}

void MemberRow::draw() {
    drawFrame();
    drawPortraitAndTitle();
    drawStats();
    drawPoints();
    drawSlots();
    drawAttackAndDefence();
    drawBonuses();
}

// The selected row stands out while a member is being chosen or equipped.
void MemberRow::drawFrame() {
    using enum PartyMenu::State;
    const int state = menu.state;
    sf::RectangleShape frame({W - 38, float(R - 38)});
    frame.setPosition(Ox + 19, T + 19);
    if (selected && (state == CHOOSE_MEMBER || state == ITEM_LIST || state == LOCK)) {
        frame.setFillColor(inParty ? sf::Color(0, 150, 177) : sf::Color(120, 120, 0));
        frame.setOutlineColor(randomColor());
        frame.setOutlineThickness(4);
    } else {
        frame.setFillColor(inParty ? sf::Color::Blue : GREY);
        frame.setOutlineColor(sf::Color::White);
        frame.setOutlineThickness(1);
    }
    target.draw(frame);
}

void MemberRow::drawPortraitAndTitle() {
    square(target, Ox + 38, T + 38, float(P), GREY, sf::Color::Transparent, 0);
    drawCharacterInBox(target, member, {Ox + 38, T + 38}, {float(P), float(P)});

    sf::Text title = niceText(c.titleText(), 35);
    title.setPosition(Ox + float(R), T + 25);
    target.draw(title);
}

// A stat that an equipped item changes shows in yellow.
void MemberRow::drawStats() {
    const std::vector<int> equipped = c.equippedItems();
    static const char* const STAT_WORDS[] = {"STR", "DEX", "WIS", "SPD", "AMR", "SHL", "MOB"};
    for (int k = 0; k < 7; ++k) {
        const Stat stat = statFromName(STAT_WORDS[k]);
        bool boosted = false;
        for (int item : equipped) boosted = boosted || ::itemList->at(item).bonus(stat) != 0;
        sf::Text text = niceText(std::string(STAT_WORDS[k]) + ":  " + std::to_string(c.getStatByName(STAT_WORDS[k])),
                                 20, boosted ? sf::Color::Yellow : sf::Color::White);
        const Point at{int(Ox) + R, int(T + 66 + 20 * k)};
        text.setPosition(toVector(at));
        target.draw(text);
        if (selected) menu.statPositions[stat] = at;
    }
}

void MemberRow::drawPoints() {
    const Point hpAt{int(Ox) + P + 251, int(T) + 73};
    const Point mpAt{int(Ox) + P + 251, int(T) + 128};
    for (auto [line, at] : {std::pair{"HP: " + c.hpText(), hpAt}, std::pair{"MP: " + c.mpText(), mpAt}}) {
        sf::Text text = niceText(line, 35);
        text.setPosition(toVector(at));
        target.draw(text);
    }
    menu.hpPositions[member] = hpAt;
    menu.mpPositions[member] = mpAt;
    if (selected) {
        menu.statPositions[MAXHP] = hpAt;
        menu.statPositions[MAXMP] = mpAt;
    }
}

// The weapon's slot and the two accessories' under their labels: the slot being locked or
// filled flashes, and a locked slot shows its lock.
void MemberRow::drawSlots() {
    using enum PartyMenu::State;
    const int state = menu.state;
    sf::Text weaponLabel = niceText("Weapon", 20);
    weaponLabel.setPosition(float(X0) + (S - weaponLabel.getLocalBounds().width) / 2, T + 38);
    target.draw(weaponLabel);

    const auto locks = game->equipmentLocks.find(std::uint64_t(member));
    for (int k = 0; k < 3; ++k) {
        bool flashing = false;
        if (selected) {
            flashing = (state == LOCK && menu.lockSlot == k) ||
                       (state == ACCESSORY_SLOT && k > 0 && menu.accessorySlot == k - 1);
        }
        if (flashing) square(target, slotX[k], slotY, S, GREY, randomColor(), 5);
        else square(target, slotX[k], slotY, S, GREY, sf::Color::White, 1);
        const int item = c.slot(k);
        if (item != NO_ITEM) itemPicture(target, item, {slotX[k] + S / 2, slotY + S / 2}, S, k == 0);
        if (locks != game->equipmentLocks.end() && locks->second.count(k))
            drawLockIcon(target, {slotX[k], slotY});
    }

    sf::Text accessoriesLabel = niceText("Accessories", 20);
    accessoriesLabel.setPosition(float(X1) + (accessoriesWidth - accessoriesLabel.getLocalBounds().width) / 2, T + 38);
    target.draw(accessoriesLabel);
}

void MemberRow::drawAttackAndDefence() {
    sf::Text attack = niceText("ATK: " + std::to_string(c.getAttack()), 35);
    const Point atkAt{int(float(X0) + (S - attack.getLocalBounds().width) / 2), int(slotY + S)};
    attack.setPosition(toVector(atkAt));
    target.draw(attack);
    menu.atkPositions[member] = atkAt;

    const int defence = std::max(1, c.stats[SPD]) + std::max(1, c.stats[DEX]);
    sf::Text def = niceText("DEF: " + std::to_string(defence), 35);
    def.setPosition(float(X1) + (accessoriesWidth - def.getLocalBounds().width) / 2, slotY + S);
    target.draw(def);
}

void MemberRow::drawBonuses() {
    for (int k = 0; k < 3; ++k) {
        const int item = c.slot(k);
        if (item == NO_ITEM) continue;
        sf::Text bonuses = niceText(::itemList->at(item).describeBonuses(), 15);
        bonuses.setPosition(slotX[k] + (S - bonuses.getLocalBounds().width) / 2, T + float(R) - 19 - 17);
        target.draw(bonuses);
    }
}

} // namespace

void PartyMenu::drawMemberRow(sf::RenderTarget& target, int i, int member) {
    MemberRow(*this, target, i, member).draw();
}

void PartyMenu::drawEquipPreview(sf::RenderTarget& target) {
    const int item = ::itemList->indexOf(splitFirstWord(itemList));
    if (item == NO_ITEM) return;
    const Item& it = ::itemList->at(item);
    const int memberIndex = selectedMember();
    const Character& member = people->at(memberIndex);

    if ((it.type == Item::WEAPON || it.type == Item::ACCESSORY) && it.isAllowed(member.className)) {
        Character copy = member;
        if (it.type == Item::WEAPON) copy.equipWeapon(item, true);
        else equipAccessoryFromInventory(copy, accessorySlot, item);

        if (auto at = atkPositions.find(memberIndex); at != atkPositions.end())
            drawDifference(target, copy.getAttack() - member.getAttack(), toVector(at->second) + sf::Vector2f(157.5f, 0), 35);
        for (Stat stat : {STR, DEX, SPD, WIS, MOB, AMR, MAXHP, MAXMP}) {
            const std::string& word = statName(stat);
            const int before = member.getStatByName(word), after = copy.getStatByName(word);
            consoleLine("Before ", word, " : ", before, " after ", after);
            auto at = statPositions.find(stat);
            if (at == statPositions.end()) continue;
            const float shift = stat == MAXHP || stat == MAXMP ? 200.0f : 100.0f;
            drawDifference(target, after - before, toVector(at->second) + sf::Vector2f(shift, 0), 20);
        }
    }

    const float listX = float(itemList.position.x), listY = float(itemList.position.y);
    const float listW = float(itemList.size.x), listH = float(itemList.size.y);
    square(target, listX + (listW - pictureSide) / 2, listY + listH + 2, pictureSide, sf::Color::Blue,
           sf::Color::White, 2);
    const sf::Texture& texture = resources->getItemTexture(it.name);
    const sf::Vector2u size = texture.getSize();
    if (size.x == 0 || size.y == 0) return;
    const float scale = std::min(pictureSide / float(size.y), pictureSide / float(size.x));
    sf::Sprite sprite(texture);
    sprite.setScale(scale, scale);
    sprite.setPosition(listX + (listW - float(size.x) * scale) / 2,
                       listY + listH + (pictureSide - float(size.y) * scale) / 2);
    target.draw(sprite);
}
