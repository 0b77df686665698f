// One best-first search over a scene's grid for battles and walking scenes. It returns a path
// for each goal it reaches, in the order reached.
#include "battle/BattleFlow.hpp"

#include "characters/People.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <algorithm>
#include <cstdlib>

namespace {

// The heap keeps its largest element on top, so "less" means "expanded later": the top has the
// smallest f, then the most steps, then the larger x, then the larger y.
bool expandedLater(const PathNode& a, const PathNode& b) {
    if (a.f != b.f) return a.f > b.f;
    if (a.g != b.g) return a.g < b.g;
    if (a.pos.x != b.pos.x) return a.pos.x < b.pos.x;
    return a.pos.y < b.pos.y;
}

bool isSlider(MoveStyle style) {
    return style == MoveStyle::BISHOP || style == MoveStyle::ROOK || style == MoveStyle::QUEEN;
}

} // namespace

PathNode Battle::nearestCellDistance(Point cell, const std::set<Point>& targets) {
    PathNode node;
    node.pos = node.parent = cell;
    int best = -1;
    for (const Point& t : targets) {
        const int d = std::abs(cell.x - t.x) + std::abs(cell.y - t.y);
        if (best < 0 || d < best) best = d;
    }
    node.h = node.f = best;
    return node;
}

std::vector<std::vector<Point>> Battle::findPath(Point start, const std::set<Point>& targets,
                                                 bool moverSide, int limit,
                                                 bool stopWhenFirstTooLong) const {
    // Standing on a goal already is a way of its own.
    if (targets.count(start)) return {{start}};
    const Scene& scene = battleScene(*this);
    // Who stands where: bit 1 a player-side combatant, bit 2 any other.
    std::map<Point, int> standing;
    for (long long c : turnList) standing[people->at(c).tile] |= isPlayerSide(c) ? 1 : 2;
    auto otherSideOn = [&](Point p) {
        auto it = standing.find(p);
        return it != standing.end() && (it->second & (moverSide ? 2 : 1)) != 0;
    };
    // A goal the other side stands on cannot be reached.
    std::set<Point> goals;
    for (const Point& t : targets)
        if (!otherSideOn(t)) goals.insert(t);
    if (goals.empty()) return {};
    const long long moverIndex = actorIndex();
    const Character* mover = moverIndex == NO_INDEX ? nullptr : &people->at(moverIndex);
    const MoveStyle style = mover ? mover->moveStyle : MoveStyle::NORMAL;
    const bool flying = mover && mover->flying;
    const bool noTransp = mover && mover->noTransp;

    std::vector<std::vector<Point>> result;
    std::vector<PathNode> open;
    open.reserve(1024);
    // Closed cells and their parents, one slot per cell of the grid (x = -1: open).
    const int width = scene.mapWidth(), height = scene.mapHeight();
    std::vector<Point> closed(static_cast<std::size_t>(width) * height, Point{-1, -1});
    auto slot = [&](Point p) -> Point& { return closed[static_cast<std::size_t>(p.x) * height + p.y]; };
    // The first way found decides what the search collects: ways within the limit if it is
    // within it, otherwise every way (or none, when the caller stops at a first way too long).
    open.push_back(nearestCellDistance(start, targets));
    bool modeSet = false, withinLimit = false;
    std::vector<Point> around;
    around.reserve(8);
    // Cells are expanded best first; a goal closed gives its way, traced back through parents.
    while (!open.empty()) {
        std::pop_heap(open.begin(), open.end(), expandedLater);
        const PathNode n = open.back();
        open.pop_back();
        if (!scene.isInside(n.pos) || slot(n.pos).x != -1) continue;
        slot(n.pos) = n.parent;
        if (goals.count(n.pos)) {
            std::vector<Point> way;
            Point p = n.pos;
            while (p != start) {
                way.push_back(p);
                p = slot(p);
            }
            std::reverse(way.begin(), way.end());
            const int cells = static_cast<int>(way.size()) + 1;
            if (!modeSet) {
                modeSet = true;
                withinLimit = cells <= limit;
                if (!withinLimit && stopWhenFirstTooLong) return {};
            }
            if (withinLimit && cells > limit) break;
            result.push_back(std::move(way));
            if (result.size() == goals.size()) break;
        }
        if (isSlider(style) && n.pos != start && n.g <= limit)
            around.assign(1, {2 * n.pos.x - n.parent.x, 2 * n.pos.y - n.parent.y});
        else if (style == MoveStyle::NORMAL || style == MoveStyle::ROOK)
            around.assign({n.pos.offset(0, 1), n.pos.offset(0, -1), n.pos.offset(-1, 0), n.pos.offset(1, 0)});
        else
            around = pointsAround(n.pos, 1, static_cast<int>(style));
        for (const Point& c : around) {
            // A closed cell would only be skipped when popped: it is not pushed at all.
            if (!scene.isInside(c) || slot(c).x != -1) continue;
            if (scene.isBlocked(c, flying) || opponentCells.count(c)) continue;
            if (!flying && extraWalkerCells.count(c)) continue;
            auto here = standing.find(c);
            const bool occupied = here != standing.end() && c != start;
            bool blocking = false;
            if (occupied) {
                const int sides = here->second;
                const bool other = (sides & (moverSide ? 2 : 1)) != 0;
                const bool same = (sides & (moverSide ? 1 : 2)) != 0;
                // Routing a scene character: every other person is in the way.
                blocking = other || sceneRouting_ || (same && inBattle && frontierCells.count(c));
                if (n.g + 1 == limit || goals.count(c) || noTransp) continue;
            }
            if (blocking) continue;
            PathNode next = nearestCellDistance(c, targets);
            next.g = n.g + 1;
            next.f = next.g + next.h;
            next.parent = n.pos;
            open.push_back(next);
            std::push_heap(open.begin(), open.end(), expandedLater);
        }
    }
    return result;
}

std::vector<Point> Battle::findPathOnScene(long long character, Point start, Point target) {
    // The battle's fields are borrowed for the search and come back as they were, whatever the
    // search did.
    const std::vector<long long> savedTurns = turnList;
    const int savedIndex = turnIndex;
    const bool savedRouting = sceneRouting_;
    const std::set<Point> savedOpponents = opponentCells;
    // Outside a running battle the cells of its last turn hold nobody.
    if (!isActive()) opponentCells.clear();
    // The walker acts as the only actor; the scene's other people and the leader stand in the way.
    const Scene& scene = battleScene(*this);
    turnList.assign(1, character);
    turnIndex = 0;
    for (int p : scene.persons)
        if (p != character) turnList.push_back(p);
    if (people->mainCharacterIndex != character && people->mainCharacterIndex != NO_INDEX)
        turnList.push_back(people->mainCharacterIndex);
    sceneRouting_ = true;
    auto paths = findPath(start, {target}, false, 100, false);
    turnList = savedTurns;
    turnIndex = savedIndex;
    sceneRouting_ = savedRouting;
    opponentCells = savedOpponents;
    if (paths.empty()) return {};
    return paths.front();
}
