#include "minigames/Salomao.hpp"

#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

namespace {

void drawScaled(sf::RenderTarget& window, const sf::Texture& tex, sf::Vector2f at, float k,
                bool centred, sf::Color tint = sf::Color::White) {
    const sf::Vector2u s = tex.getSize();
    sf::Sprite sprite(tex);
    if (centred) sprite.setOrigin(float(s.x / 2), float(s.y / 2));
    sprite.setScale(k, k);
    sprite.setPosition(at);
    sprite.setColor(tint);
    window.draw(sprite);
}

} // namespace

void SalomaoGame::draw(sf::RenderTarget& window) const {
    if (state == TITLE || state == LAST) {
        drawMiniGameFrame(window, sf::Color(0, 0, 50), sf::Color(0, 0, 70), 50, "");
        if (state == LAST) {
            drawEndText(window, "Game Over");
            return;
        }
        drawTitleScreen(window, "Mines of King Salomon", 648);
        drawCentredText(window, "Dig deep, mind the snakes, and bring the old king's gold home",
                        "Nice", 20, sf::Color::White, 864);
        drawCentredText(window, "Drawn and dug by the Quorvane workshop", "Nice", 20,
                        sf::Color::White, 945);
        const sf::Texture& picture = resources->getMiscTexture("SalomaoGame");
        const float k = 300.0f / float(std::max(1u, picture.getSize().x));
        drawScaled(window, picture, {100, 100}, k, false);
        const sf::Texture& code = resources->getMiscTexture("SalomaoCode");
        drawScaled(window, code, {1820 - float(code.getSize().x) * k, 100}, k, false);
        return;
    }
    drawCave(window);
}

void SalomaoGame::drawTreasure(sf::RenderTarget& window) const {
    const int cx = (treasure.x - view.x) * cellSize + cellSize / 2;
    const int cy = (treasure.y - view.y) * cellSize + cellSize / 2;
    const sf::Texture& gold = resources->getMiscTexture("goldSalomao");
    const int size = (640 - 60) * treasureCounter / treasureLimit + 60;
    const float k = float(size) / float(std::max(1u, gold.getSize().x));
    drawScaled(window, gold,
               {float(cx + (960 - cx) * treasureCounter / treasureLimit),
                float(cy + (540 - cy) * treasureCounter / treasureLimit)},
               k, true);
}

void SalomaoGame::drawCave(sf::RenderTarget& window) const {
    // The rock behind everything scrolls with the view.
    const sf::Texture& rock = resources->getTexture("Rock1", false);
    const sf::Vector2u rs = rock.getSize();
    if (rs.x > 0 && rs.y > 0) {
        const int x0 = -((view.x * cellSize) % int(rs.x));
        const int y0 = -((view.y * cellSize) % int(rs.y));
        sf::Sprite tile(rock);
        for (int y = y0; y < WINDOW_HEIGHT; y += int(rs.y))
            for (int x = x0; x < WINDOW_WIDTH; x += int(rs.x)) {
                tile.setPosition(float(x), float(y));
                window.draw(tile);
            }
    }
    sf::Text coords("Sal coord: " + std::to_string(player.x) + "," + std::to_string(player.y),
                    resources->getFont("Nice"), 15);
    coords.setFillColor(randomColor());
    coords.setPosition(20, 20);
    window.draw(coords);

    const sf::Texture& wall = resources->getTexture("RockWall", false);
    const sf::Texture& rockCell = resources->getMiscTexture("SalomonWall");
    const float cs = float(cellSize);
    for (int x = view.x; x < view.x + viewColumns; ++x)
        for (int y = view.y; y < view.y + viewRows; ++y) {
            if (x < 0 || y < 0 || x >= n || y >= n)
                fatalAssert("Salomao", 89, std::to_string(x) + " " + std::to_string(y));
            const sf::Vector2f corner{float((x - view.x) * cellSize), float((y - view.y) * cellSize)};
            const sf::Vector2f centre{corner.x + cs / 2, corner.y + cs / 2};
            if (x == 0 || y == 0 || x == n - 1 || y == n - 1) {
                drawScaled(window, wall, corner, cs / float(std::max(1u, wall.getSize().x)), false);
                continue;
            }
            if (Point{x, y} == treasure) {
                drawTreasure(window);
                continue;
            }
            const int cell = grid[x][y];
            if (cell == ROCK) {
                drawScaled(window, rockCell, corner, cs / float(std::max(1u, rockCell.getSize().x)),
                           false, sf::Color(139, 69, 19));
            } else if (cell == DIAMOND || cell == HEART || cell == GRAIL) {
                const sf::Texture& t = resources->getMiscTexture(
                    cell == DIAMOND ? "Diamond" : cell == HEART ? "Heart" : "Grail");
                const sf::Vector2u s = t.getSize();
                drawScaled(window, t, centre, 30.0f / float(std::max(1u, std::max(s.x, s.y))), true);
            }
        }
    const auto& frames = resources->getAnimation("Snake");
    for (const CaveSnake& s : snakes) {
        if (s.cell.x < view.x || s.cell.y < view.y || s.cell.x >= view.x + viewColumns ||
            s.cell.y >= view.y + viewRows || frames.empty())
            continue;
        const sf::Texture& t = frames[static_cast<std::size_t>(s.frame) % frames.size()];
        const float k = cs / float(std::max(1u, t.getSize().x));
        sf::Sprite sprite(t);
        float x = float((s.cell.x - view.x) * cellSize);
        // The picture faces right; it is turned round when the player is on its left.
        const bool faceLeft = player.x < s.cell.x;
        if (faceLeft) x += cs;
        sprite.setScale(faceLeft ? -k : k, k);
        sprite.setPosition(x, float((s.cell.y - view.y) * cellSize));
        window.draw(sprite);
    }
    if (state == WON) drawTreasure(window);
    drawStatusLine(window,
                   "Health: " + std::to_string(health) + " Depth: " +
                       std::to_string(player.x + player.y) + " / " + std::to_string(2 * n) +
                       " Target: " + std::to_string(treasure.x + treasure.y),
                   state == LOST ? randomColor() : sf::Color::White);
    if (state == PLAYING)
        people->mainCharacter().draw(window,
                                     {(player.x - view.x) * cellSize, (player.y - view.y) * cellSize},
                                     cs, sf::Color(0, 0, 0, 0), false);
    if (game->isBoolVarSet("WON_SALOMAO")) drawTrophy(window);
}
