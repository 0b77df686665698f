#include "scenes/Objects.hpp"

#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

void Tunnel::drawRow(sf::RenderTarget& window, Point v, int row) const {
    const float T = static_cast<float>(displayTileSize);
    const float C = static_cast<float>(displayWallHeight);
    for (const Point& m : {a, b}) {
        if (m.y != row) continue;
        const sf::Vector2f centre{m.x * T + T / 2 - v.x, (m.y + 1) * T + C / 2 - v.y - C};
        sf::RectangleShape mouth({0.9f * T, 0.9f * C});
        mouth.setOrigin(0.45f * T, 0.45f * C);
        mouth.setPosition(centre);
        mouth.setFillColor(colour);
        window.draw(mouth);
        // The dark inside of the mouth.
        sf::RectangleShape inside({0.6f * T, 0.65f * C});
        inside.setOrigin(0.3f * T, 0.65f * C - 0.45f * C);
        inside.setPosition(centre);
        inside.setFillColor(sf::Color(5, 5, 8));
        window.draw(inside);
    }
}

void Tunnel::pass(const std::set<Point>& blocked, Point mapSize) const {
    Character& c = people->mainCharacter();
    const TunnelExit exit = tunnelExit(*this, c.tile, c.targetTile, blocked, mapSize);
    if (!exit.moved) return;
    c.tile = exit.tile;
    c.targetTile = exit.tile;
    c.pixel = {exit.tile.x * TILE_SIZE, exit.tile.y * TILE_SIZE};
    if (!exit.steps) return;
    c.targetTile = exit.next;
    c.walking = true;
    c.facing = directionTo(c.tile, exit.next);
    c.showBack = c.facing == NORTH;
}

void placeOnFreeTile(Character& character, Point mapSize, const std::set<Point>& blocked,
                     const std::set<Point>& blocked2) {
    const Point t = pickFreeTile(character.fixedPosition, mapSize, blocked, blocked2);
    character.tile = t;
    character.targetTile = t;
    character.previousTile = t;
    character.pixel = {t.x * TILE_SIZE, t.y * TILE_SIZE};
    character.walking = false;
}
