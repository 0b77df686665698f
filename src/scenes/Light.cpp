#include "scenes/Objects.hpp"

#include "foundation/RandomColor.hpp"

#include <cstdlib>
#include <deque>

std::map<Point, int> spreadLight(Point light, int reach, Point mapSize,
                                 const std::set<Point>& blocked) {
    std::map<Point, int> dist;
    auto inside = [&](Point p) { return p.x >= 0 && p.y >= 0 && p.x < mapSize.x && p.y < mapSize.y; };
    if (!inside(light) || reach < 0) return dist;
    std::deque<Point> open{light};
    dist[light] = 0;
    while (!open.empty()) {
        const Point p = open.front();
        open.pop_front();
        const int d = dist[p];
        // The light's own tile is often a wall holding the torch: it still shines out.
        if (d >= reach || (p != light && blocked.count(p))) continue;
        for (int dir : DIRECTIONS) {
            Point n = p;
            movePoint(n, dir, 1);
            if (!inside(n) || dist.count(n)) continue;
            dist[n] = d + 1;
            open.push_back(n);
        }
    }
    return dist;
}

// A negative reach lights nothing (and would divide by zero).
int darknessAlpha(int n, int r, int d) {
    if (d < 0 || r < 0) return n;
    return (n * d) / (r + 1);
}

void SceneLight::addLight(Point tile) {
    for (const Point& p : lights)
        if (p == tile) return;
    lights.push_back(tile);
}

void SceneLight::spread(Point mapSize, const std::set<Point>& blocked) {
    distances.clear();
    lit.clear();
    for (const Point& l : lights) {
        auto& m = distances[l];
        m = spreadLight(l, reach, mapSize, blocked);
        for (const auto& [cell, d] : m) lit.insert(cell);
    }
}

bool SceneLight::spreadIsCurrent() const {
    if (distances.size() != lights.size()) return false;
    for (const Point& l : lights)
        if (!distances.count(l)) return false;
    return true;
}

void SceneLight::updateFrame(std::uint32_t gameFrame) {
    flickerFrame = gameFrame;
    flickered.clear();
    for (const Point& l : lights)
        if (std::rand() % 15 == 0) flickered.insert(l);
    if (disco) colour = randomColor();
}

int SceneLight::overlayAlpha(Point cell, bool withFlicker) const {
    int best = -1;
    for (const auto& [l, m] : distances) {
        if (withFlicker && flickered.count(l)) continue;
        auto it = m.find(cell);
        if (it != m.end() && (best < 0 || it->second < best)) best = it->second;
    }
    return darknessAlpha(level, reach, best);
}
