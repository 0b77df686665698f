#include "minigames/Taco.hpp"

#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

constexpr int STEP = 50;
constexpr int REACH = 75; // half the figure's square; fixed whatever the margin
constexpr int TRIES = 300;
constexpr int LEVELS = 30;

} // namespace

bool Taco::touches(Point p, const Rect& r) {
    return r.x0 <= p.x + REACH && p.x - REACH <= r.x1 && r.y0 <= p.y + REACH && p.y - REACH <= r.y1;
}

Taco::Taco() {
    for (int i = 0; i < LEVELS; ++i) {
        TacoLevel level;
        level.obstacleCount = i;
        level.margin = 50;
        generateLevel(level);
        levels.push_back(level);
    }
}

void Taco::generateLevel(TacoLevel& level) {
    const int m = level.margin;
    for (int attempt = 0; attempt < TRIES; ++attempt) {
        level.obstacles.clear();
        for (int k = 0; k < level.obstacleCount; ++k) {
            Rect r;
            r.x0 = m + std::rand() % ((960 - m) * 2);
            r.x1 = std::min(r.x0 + 50 + std::rand() % 384, WINDOW_WIDTH - m);
            r.y0 = m + std::rand() % ((540 - m) * 2);
            r.y1 = std::min(r.y0 + 50 + std::rand() % 216, WINDOW_HEIGHT - m);
            level.obstacles.push_back(r);
        }
        if (isSolvable(level)) return;
    }
    // A level no try could prove crossable is played empty.
    level.obstacles.clear();
}

// Whether the goal point can be reached at all from the start through points of the 50-pixel
// lattice that touch no obstacle. The order in which points are visited cannot change that
// answer, so a flood over a bit grid replaces a priority-ordered search.
bool Taco::isSolvable(const TacoLevel& level) {
    const int m = level.margin;
    // Lattice points: x = m + 50 i within m..1920 - m, y = 540 + 50 j within m..1080 - m.
    const int columns = (WINDOW_WIDTH - 2 * m) / STEP + 1;
    const int below = (540 - m) / STEP, above = (WINDOW_HEIGHT - m - 540) / STEP;
    const int rows = below + above + 1;
    const int goalX = ((WINDOW_WIDTH - m) / STEP) * STEP;
    if (columns <= 0 || rows <= 0 || columns > 64) return false;
    auto yOf = [&](int j) { return 540 + STEP * (j - below); };

    // free[j] holds one bit per column: the point touches no obstacle.
    std::array<std::uint64_t, 64> freeRows{};
    if (rows > 64) return false;
    const std::uint64_t all = columns == 64 ? ~0ULL : (1ULL << columns) - 1;
    for (int j = 0; j < rows; ++j) freeRows[j] = all;
    for (const Rect& r : level.obstacles) {
        // Points whose square meets r: x in [x0 - 75, x1 + 75], y likewise.
        auto firstAtLeast = [](int lo, int origin) {
            const int d = lo - origin;
            return d <= 0 ? 0 : (d + STEP - 1) / STEP;
        };
        auto lastAtMost = [](int hi, int origin) {
            const int d = hi - origin;
            return d < 0 ? -1 : d / STEP;
        };
        const int i0 = firstAtLeast(r.x0 - REACH, m), i1 = std::min(columns - 1, lastAtMost(r.x1 + REACH, m));
        const int yBase = yOf(0);
        const int j0 = firstAtLeast(r.y0 - REACH, yBase), j1 = std::min(rows - 1, lastAtMost(r.y1 + REACH, yBase));
        if (i0 > i1 || j0 > j1) continue;
        const std::uint64_t span = (i1 - i0 + 1 == 64 ? ~0ULL : ((1ULL << (i1 - i0 + 1)) - 1)) << i0;
        for (int j = j0; j <= j1; ++j) freeRows[j] &= ~span;
    }
    const int startJ = below, startI = 0;
    const int goalI = (goalX - m) / STEP;
    if (goalX < m || goalX > WINDOW_WIDTH - m || (goalX - m) % STEP != 0) return false;
    if (!(freeRows[startJ] >> startI & 1)) return false;
    if (!(freeRows[startJ] >> goalI & 1)) return false;

    std::array<std::uint64_t, 64> seen{};
    seen[startJ] = 1ULL << startI;
    bool grew = true;
    while (grew) {
        grew = false;
        for (int j = 0; j < rows; ++j) {
            const std::uint64_t s = seen[j];
            std::uint64_t next = s | (s << 1) | (s >> 1);
            if (j > 0) next |= seen[j - 1];
            if (j + 1 < rows) next |= seen[j + 1];
            next &= freeRows[j];
            if (next != s) {
                seen[j] = next;
                grew = true;
            }
        }
        if (seen[startJ] >> goalI & 1) return true;
    }
    return false;
}

bool Taco::update() {
    const InputFlags& in = game->input;
    hit = false;
    if (state == TITLE) {
        if (in.confirm) state = PLAYING;
        return true;
    }
    if (state == WON || state == LOST) {
        if (!in.back && !in.confirm) return true;
        margin = 50;
        position = {50, 540};
        life = 100;
        maxLife = 100;
        state = TITLE;
        currentLevel = 0;
        return false;
    }
    const Point old = position;
    if (in.upHeld) position.y -= STEP;
    if (in.downHeld) position.y += STEP;
    if (in.leftHeld) position.x -= STEP;
    if (in.rightHeld) position.x += STEP;
    if (position.x < margin || position.x > WINDOW_WIDTH - margin) position = old;
    if (position.y < margin || position.y > WINDOW_HEIGHT - margin) position = old;
    for (const Rect& r : levels[currentLevel].obstacles) {
        if (!touches(position, r)) continue;
        playMiniGameSound("Ouch");
        position = old;
        --life;
        hit = true;
        if (life < 0) state = LOST;
        break;
    }
    if (std::abs(540 - position.y) + std::abs((WINDOW_WIDTH - margin) - position.x) <= REACH) {
        ++currentLevel;
        position = {margin, 540};
        if (currentLevel >= levels.size()) {
            state = WON;
            recordMiniGameWin("WON_TACO");
        }
    }
    return true;
}
