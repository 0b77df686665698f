#include "minigames/Salomao.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <algorithm>
#include <cstdlib>

std::vector<Direction> directionsAlongAxis(int axis) {
    std::vector<Direction> along;
    for (Direction d : DIRECTIONS)
        if (d / 2 == axis) along.push_back(d);
    return along;
}

void SalomaoGame::resizeGrid(int columns, int rows) {
    grid.resize(static_cast<std::size_t>(columns));
    for (auto& column : grid) column.resize(static_cast<std::size_t>(rows), EMPTY);
}

void SalomaoGame::generate() {
    state = TITLE;
    resizeGrid(n, n);
    for (int x = 0; x < n; ++x)
        for (int y = 0; y < n; ++y) {
            const int k = 2 * n - std::min(2 * n - 100, x + y);
            int cell = EMPTY;
            if (std::rand() % k < 55) cell = ROCK;
            else if (std::rand() % 40 == 0) cell = HEART;
            else if (std::rand() % 100 == 0) cell = DIAMOND;
            else if (std::rand() % 700 == 0) cell = GRAIL;
            grid[x][y] = cell;
        }
    player = {50, 50};
    health = 1000;
    treasureCounter = 0;
    const int a = std::rand() % (n / 5);
    const int b = std::rand() % (n / 5);
    // The outer ring is never entered: a treasure drawn onto it is held to the last inner cell,
    // so that every cave can be won.
    treasure = {std::min(4 * n / 5 + b, n - 2), std::min(4 * n / 5 + a, n - 2)};
    grid[treasure.x][treasure.y] = EMPTY;
    snakes.clear();
}

bool SalomaoGame::update(const std::vector<int>& keyCodes) {
    const InputFlags& in = game->input;
    switch (state) {
    case TITLE:
        if (!keyCodes.empty()) state = PLAYING;
        return true;
    case LOST:
    case WON:
        if (state == WON && treasureCounter < treasureLimit) ++treasureCounter;
        if (in.confirm) state = LAST;
        return true;
    case LAST:
        if (!in.confirm) return true;
        generate();
        return false;
    default:
        play();
        return true;
    }
}

void SalomaoGame::play() {
    const InputFlags& in = game->input;
    Character& hero = people->mainCharacter();
    Direction facing = hero.facing;
    bool moved = false;
    if (in.leftPressed) { --player.x; facing = WEST; moved = true; }
    if (in.rightPressed) { ++player.x; facing = EAST; moved = true; }
    if (in.upPressed) { --player.y; facing = NORTH; moved = true; }
    if (in.downPressed) { ++player.y; facing = SOUTH; moved = true; }
    if (moved) {
        --health;
        const int a = std::rand() % n;
        const int b = std::rand() % n;
        if (grid[a][b] == EMPTY) snakes.push_back({0, false, {a, b}});
    }
    player.x = std::clamp(player.x, 1, n - 2);
    player.y = std::clamp(player.y, 1, n - 2);
    view.x = std::clamp(player.x - viewMargin.x, 0, n - viewColumns);
    view.y = std::clamp(player.y - viewMargin.y, 0, n - viewRows);
    hero.update();
    hero.setFacing(facing);

    int& here = grid[player.x][player.y];
    switch (here) {
    case ROCK: health -= 100; playMiniGameSound("SalomaoWall"); break;
    case DIAMOND: health += 80; playMiniGameSound("SalomaoDiamond"); break;
    case HEART: health += 20; playMiniGameSound("SalomaoHeart"); break;
    case GRAIL: health += 150; playMiniGameSound("SalomaoLibra"); break;
    default: break;
    }
    if (player == treasure) {
        state = WON;
        playMiniGameSound("ShardFanfare");
        recordMiniGameWin("WON_SALOMAO");
    } else {
        here = EMPTY;
        std::vector<Point> bitten;
        const std::size_t frames =
            resources ? std::max<std::size_t>(1, resources->getAnimation("Snake").size()) : 1;
        for (CaveSnake& s : snakes) {
            if (moved) {
                moveSnake(s);
                if (s.cell == player) {
                    playMiniGameSound("SnakeHit");
                    health -= 80;
                    bitten.push_back(s.cell);
                }
            }
            if (s.toggle) {
                s.frame = static_cast<int>((static_cast<std::size_t>(s.frame) + 1) % frames);
                s.toggle = false;
            } else {
                s.toggle = true;
            }
        }
        for (Point p : bitten) {
            auto it = std::find_if(snakes.begin(), snakes.end(),
                                   [&](const CaveSnake& s) { return s.cell == p; });
            if (it != snakes.end()) snakes.erase(it);
        }
    }
    // Also after a win: the last of the health spent on the treasure still loses.
    if (health < 0) {
        state = LOST;
        playMiniGameSound("GameOver");
    }
}

void SalomaoGame::moveSnake(CaveSnake& snake) const {
    Point to = snake.cell;
    const Point s = snake.cell, p = player;
    if (manhattanDistance(s, p) == 1) {
        // Beside the player: a coin decides between backing off and staying.
        const int axis = s.x == p.x ? 1 : 0;
        Direction away;
        if (axis == 0) away = p.x < s.x ? EAST : WEST;
        else away = p.y < s.y ? SOUTH : NORTH;
        const std::vector<Direction> along = directionsAlongAxis(axis);
        const Direction chosen = along[static_cast<std::size_t>(std::rand() % 2)];
        if (chosen == away) movePoint(to, away, 1);
    } else {
        movePoint(to, s.x <= p.x ? EAST : WEST, 1);
        movePoint(to, p.y < s.y ? NORTH : SOUTH, 1);
    }
    if (to.x < 0 || to.y < 0 || to.x >= n || to.y >= n || grid[to.x][to.y] != EMPTY) return;
    snake.cell = to;
}
