#include "minigames/Cobrinha.hpp"

#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <algorithm>
#include <cstdlib>

void Cobrinha::reset() {
    margin = 50;
    cell = 20;
    grid.clear();
    grid.assign((960 - margin) * 2 / cell, std::vector<bool>((540 - margin) * 2 / cell, false));
    length = 1;
    body.clear();
    body.push_back({columns() / 2, rows() / 2});
    grid[body.front().x][body.front().y] = true;
    direction = NORTH;
    winningLength = 500;
    frameCounter = 0;
    stepPeriod = 1;
    apples.clear();
}

bool Cobrinha::update() {
    const InputFlags& in = game->input;
    if (state == TITLE) {
        if (in.confirm) state = PLAYING;
        return true;
    }
    if (state == WON || state == LOST) {
        if (!in.confirm) return true;
        state = TITLE;
        reset();
        return false;
    }
    // Each test sees the direction the tests before it left; a turn straight back is refused.
    if (in.downPressed && direction != NORTH) direction = SOUTH;
    if (in.upPressed && direction != SOUTH) direction = NORTH;
    if (in.leftPressed && direction != EAST) direction = WEST;
    if (in.rightPressed && direction != WEST) direction = EAST;
    if (frameCounter < stepPeriod) {
        ++frameCounter;
        return true;
    }
    frameCounter = 0;
    step();
    return true;
}

void Cobrinha::step() {
    Point head = body.front();
    movePoint(head, direction, 1);
    const int size[2] = {columns(), rows()};
    for (int axis : AXES) {
        if (head[axis] == -1) head.set(axis, size[axis] - 1);
        else if (head[axis] == size[axis]) head.set(axis, 0);
    }
    body.push_front(head);
    // The tail still holds its cell here, so running into it is a bite too.
    if (grid[head.x][head.y]) {
        state = LOST;
        return;
    }
    grid[head.x][head.y] = true;
    if (auto apple = std::find(apples.begin(), apples.end(), head); apple != apples.end()) {
        apples.erase(apple);
        playMiniGameSound("SalomaoHeart");
        if (++length >= winningLength) {
            state = WON;
            recordMiniGameWin("WON_COBRINHA");
            return;
        }
    }
    if (static_cast<int>(body.size()) > length) {
        const Point tail = body.back();
        body.pop_back();
        grid[tail.x][tail.y] = false;
    }
    if (std::rand() % 5 == 0) dropApple();
}

void Cobrinha::dropApple() {
    for (int tries = 0; tries < 100; ++tries) {
        const int y = std::rand() % rows();
        const int x = std::rand() % columns();
        const Point p{x, y};
        if (grid[x][y] || std::find(apples.begin(), apples.end(), p) != apples.end()) continue;
        apples.push_back(p);
        return;
    }
}
