// The character view's picture: portrait, the figure on a backdrop of the scene's ground, title,
// stats, equipment and the spells and potions. Everything is rebuilt from the Game's copy of the
// character each frame; the yellow marking of battle-changed stats is looked up live. A scene
// without a ground texture gets a backdrop in a random colour each frame (rand() draws).
#include "game/Game.hpp"

#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/CharacterView.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>

namespace {

sf::RectangleShape box(float x, float y, float w, float h, sf::Color fill, float outline) {
    sf::RectangleShape r({w, h});
    r.setPosition(x, y);
    r.setFillColor(fill);
    r.setOutlineColor(sf::Color::White);
    r.setOutlineThickness(outline);
    return r;
}

// Tiles the texture over the part of the backdrop from y0 to y1, cut at the backdrop's edges.
void tileBackdrop(sf::RenderTarget& window, const std::string& textureName, float left, float top,
                  int width, int height, int y0, int y1) {
    const sf::Texture& texture = resources->getTexture(textureName, false);
    if (texture.getSize().x == 0) return;
    const float s = float(TILE_SIZE) / float(texture.getSize().x);
    for (int x = 0; x < width; x += TILE_SIZE) {
        for (int y = y0; y < y1; y += TILE_SIZE) {
            sf::Sprite sprite(texture);
            sprite.setPosition(left + float(x), top + float(y));
            sprite.setScale(s, s);
            sprite.setTextureRect({0, 0, int(float(std::min(width - x, TILE_SIZE)) / s),
                                   int(float(std::min(height - y, TILE_SIZE)) / s)});
            window.draw(sprite);
        }
    }
}

// Right-aligned texts of an equipment column grow to the left: a long one would leave its column
// and the panel, so its character size shrinks until it fits.
void fitWidth(sf::Text& text, float width) {
    while (text.getLocalBounds().width > width && text.getCharacterSize() > 8)
        text.setCharacterSize(text.getCharacterSize() - 1);
}

// Where the parts go: the portrait at the top left, the backdrop with the figure at the right,
// the texts between them and the equipment, spells and potions below.
constexpr float portraitX = 98, portraitY = 77, portraitSide = 320;
constexpr int backW = 640, backH = 926;
constexpr float backX = 48 + 1824 - 640 - 50, backY = 77;

void drawPanelAndPortrait(sf::RenderTarget& window, int shownCharacter) {
    sf::RectangleShape panel = box(960, 540, 1824, 1026, sf::Color::Blue, 2);
    panel.setOrigin(912, 513);
    window.draw(panel);

    window.draw(box(portraitX, portraitY, portraitSide, portraitSide, sf::Color(50, 50, 50, 255), 2));
    drawCharacterInBox(window, shownCharacter, {portraitX, portraitY}, {portraitSide, portraitSide});
}

// The scene's ground below, its first cell's texture above when the scene asks for it.
void drawBackdrop(sf::RenderTarget& window, const Game& g, const Scene& scene) {
    const std::string ground = scene.groundTileKind();
    window.draw(box(backX, backY, float(backW), float(backH),
                    ground.empty() ? randomColor() : sf::Color(135, 206, 235, 255), 2));
    if (!ground.empty()) tileBackdrop(window, ground, backX, backY, backW, backH, backH / 2, backH);
    std::string upper;
    if (scene.firstCellBackdrop && !scene.grid.empty() && !scene.grid[0].empty())
        upper = g.tileKindAt(scene.grid[0][0]).texture;
    if (!upper.empty()) tileBackdrop(window, upper, backX, backY, backW, backH, 0, backH / 2);
}

void drawFigure(sf::RenderTarget& window, Character& figure) {
    const int figureSize = backW;
    const int F = figureSize * 180 / TILE_SIZE;
    const Point figureAt{int(backX), int(float(180 - TILE_SIZE) * float(figureSize) / float(TILE_SIZE) +
                                         float(backH - F) * 0.5f + backY)};
    figure.draw(window, figureAt, float(figureSize), sf::Color(0, 0, 0, 0), false);
}

// The title, then the stats in yellow where the live battle changed them; the line's colour is
// left as the last stat's. Returns the top of the second column.
float drawTitleAndStats(sf::RenderTarget& window, const Character& c, const Scene& scene,
                        const sf::Font& font, sf::Text& line) {
    const float textX = portraitX + portraitSide + 50;
    sf::Text title(c.titleText(), font, 50);
    title.setPosition(textX, portraitY);
    window.draw(title);
    const float titleHeight = title.getLocalBounds().height;

    const int rosterIndex = people->indexOf(c.name);
    float y = portraitY + titleHeight;
    float lastHeight = 0;
    for (const char* word : {"STR", "DEX", "SPD", "WIS", "AMR", "MOB"}) {
        const bool changed = scene.battle.hasStatModifier(rosterIndex, statFromName(word));
        line.setFillColor(changed ? sf::Color::Yellow : sf::Color::White);
        line.setString(std::string(word) + ":");
        y += line.getLocalBounds().height + 10;
        line.setPosition(textX, y);
        window.draw(line);
        line.setString(std::to_string(c.getStatByName(word)));
        line.setPosition(textX + 100, y);
        window.draw(line);
        lastHeight = line.getLocalBounds().height;
    }
    return portraitY + titleHeight + lastHeight + 10;
}

// Attack and defence, a blank line, then the points. The column keeps the colour of the last
// stat line.
void drawSecondColumn(sf::RenderTarget& window, const Character& c, sf::Text& line, float y) {
    const float columnX = float(int((portraitX + portraitSide + backX) * 0.5f));
    auto columnLine = [&](const std::string& text) {
        line.setString(text);
        line.setPosition(columnX, y);
        window.draw(line);
        y += line.getLocalBounds().height + 10;
    };
    columnLine("Attack: " + std::to_string(c.getAttack()));
    columnLine("Defense: " + std::to_string(std::max(1, c.stats[DEX]) + std::max(1, c.stats[SPD])));
    y += line.getLocalBounds().height + 10;
    columnLine("HP: " + c.hpText());
    columnLine("MP: " + c.mpText());
    columnLine("XP: " + std::to_string(c.stats[XP]) + " / 100");
}

// The weapon and the two accessories in a strip under the portrait: each slot's name and
// bonuses right-aligned before its picture.
void drawEquipmentStrip(sf::RenderTarget& window, const Character& c, const sf::Font& font,
                        float stripY) {
    const int column = int((backX - 50 - portraitX) / 3);
    window.draw(box(portraitX, stripY, float(3 * column), 100, sf::Color(0, 170, 222, 255), 1));
    const int offset = 2 * column / 3;
    for (int k = 0; k < 3; ++k) {
        const int item = c.slot(k);
        if (item == NO_ITEM) continue;
        const Item& it = itemList->at(item);
        const float left = portraitX + float(k * column);
        const float iconX = left + float(offset);
        sf::Text name(it.name, font, 30);
        fitWidth(name, float(offset - 12 - 6));
        name.setPosition(iconX - 12 - name.getLocalBounds().width, stripY);
        window.draw(name);
        const std::string bonuses = it.describeBonuses();
        sf::Text bonusText(k == 0 ? " (" + bonuses + ")" : "(" + bonuses + ")", font, 25);
        fitWidth(bonusText, float(offset - 12 - 6));
        bonusText.setPosition(iconX - 12 - bonusText.getLocalBounds().width, stripY + 50);
        window.draw(bonusText);
        sf::RectangleShape iconBox = box(iconX, stripY, 100, 100, sf::Color(100, 100, 100, 255), 1);
        window.draw(iconBox);
        const sf::Texture& texture = resources->getItemTexture(it.name);
        const sf::Vector2u size = texture.getSize();
        if (size.x == 0 || size.y == 0) continue;
        sf::Sprite icon(texture);
        icon.setOrigin(float(size.x / 2), float(size.y / 2));
        icon.setPosition(iconX + 50, stripY + 50);
        if (k == 0) {
            const float s = std::sqrt(2.0f) * std::min(135.0f / float(size.y), 135.0f / float(size.x));
            icon.setRotation(45);
            icon.setScale(s, s);
        } else {
            const float s = std::min(100.0f / float(size.y), 100.0f / float(size.x));
            icon.setScale(s, s);
        }
        window.draw(icon);
    }
}

// A potion's icon carries its flask in the potion's colour.
void drawFlask(sf::RenderTarget& window, const std::string& potion, sf::Vector2f at) {
    const sf::Texture& flask = resources->getPotionTexture(potionRepository->get(potion).color);
    sf::Sprite liquid(flask);
    liquid.setOrigin(float(flask.getSize().x / 2), float(flask.getSize().y / 2));
    const float s = 58.5f / float(std::max(1u, flask.getSize().y));
    liquid.setScale(s, s);
    liquid.setPosition(at + sf::Vector2f(32.5f, 32.5f));
    window.draw(liquid);
}

std::string spellLevelsText(const std::string& spell, const std::set<int>& levels) {
    std::string text = spell + " Magic lv ";
    bool first = true;
    for (int level : levels) {
        text += (first ? "" : ", ") + std::to_string(level);
        first = false;
    }
    return text;
}

// One row per spell and potion, flowing into a second column at the bottom of the panel.
void drawSpellsAndPotions(sf::RenderTarget& window, const Character& c, const sf::Font& font,
                          float firstRowY) {
    const float bottom = 27 + 1026 - 50 - 65;
    const float secondColumnX = (48 + backX) * 0.5f + 50;
    int n = 0, m = 0;
    for (const auto& [key, levels] : characterViewEntries(c)) {
        const bool potion = key.first == 1;
        const sf::Texture& iconTexture = resources->getSkillIconTexture(potion ? "Potion" : key.second);
        sf::Sprite icon(iconTexture);
        const float scale = 65.0f / float(std::max(1u, iconTexture.getSize().x));
        icon.setScale(scale, scale);
        sf::Vector2f at(portraitX, firstRowY + 81.0f * float(n));
        ++n;
        if (at.y > bottom) {
            at = {secondColumnX, firstRowY + 81.0f * float(m)};
            ++m;
        }
        icon.setPosition(at);
        window.draw(icon);
        if (potion) drawFlask(window, key.second, at);
        sf::Text label(potion ? key.second + " Potion" : spellLevelsText(key.second, levels), font);
        label.setPosition(at.x + 65 + 16, at.y + (65 - label.getLocalBounds().height) * 0.5f);
        window.draw(label);
    }
}

} // namespace

void Game::drawCharacterView(sf::RenderWindow& window) {
    const Character& c = viewedCharacter;
    Scene& scene = current();
    drawPanelAndPortrait(window, shownCharacter);
    drawBackdrop(window, *this, scene);
    drawFigure(window, viewedCharacter);
    const sf::Font& font = resources->getFont("Nice");
    sf::Text line("", font, 30);
    const float secondColumnY = drawTitleAndStats(window, c, scene, font, line);
    drawSecondColumn(window, c, line, secondColumnY);
    const float stripY = float(int(portraitY + portraitSide + 50));
    drawEquipmentStrip(window, c, font, stripY);
    drawSpellsAndPotions(window, c, font, stripY + 150);
}
