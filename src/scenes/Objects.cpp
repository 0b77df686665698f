#include "scenes/Objects.hpp"

#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"

#include <cmath>
#include <cstdlib>

namespace {

sf::Color readColour(WordReader& reader) {
    const int r = reader.integer(), g = reader.integer(), b = reader.integer();
    return sf::Color(static_cast<sf::Uint8>(r), static_cast<sf::Uint8>(g),
                     static_cast<sf::Uint8>(b), 255);
}

} // namespace

void FrontObject::read(std::istream& in) {
    WordReader reader(in, "Objects", 20);
    name = reader.word("front object name");
    tile = reader.tile();
    std::string w;
    while (reader.next(w)) {
        if (w == "SCALE") scale = reader.real("FrontObject", "size");
        else if (w == "COLOR") colour = readColour(reader);
        else fatalAssert("Objects", 27, w);
    }
}

void WishingWell::read(std::istream& in) {
    WordReader reader(in, "Objects", 32);
    tile = reader.tile();
    if (!reader.atEnd()) {
        width = reader.integer("Building", "width");
        height = reader.integer("Building", "height");
    }
    if (width < 1 || height < 1) fatalAssert("Objects", 38, "wishing well size");
}

void SceneText::read(std::istream& in, bool isTitle) {
    WordReader reader(in, "Objects", 42);
    title = isTitle;
    if (isTitle) {
        text = reader.rest();
        position = {960, 150};
        size = 90;
        font = "Lutuna";
        return;
    }
    position.x = reader.integer("Text", "pixel");
    position.y = reader.integer("Text", "pixel");
    size = reader.integer("Text", "size");
    colour = readColour(reader);
    text = reader.rest();
}

void AnimatedObject::tick(int frameCount) {
    const bool advance = tickCounter >= ticksPerFrame;
    ++tickCounter;
    if (!advance) return;
    ++frameIndex;
    if (frameCount > 0 && frameIndex >= frameCount) frameIndex = 0;
    tickCounter = 0;
}

// Each axis slides from the start tile's centre toward the end tile and starts over; an axis on
// which both tiles agree has nothing to slide along and keeps the centre.
void Comet::update(int frameCounter) {
    for (int axis : AXES) {
        const int s = start[axis] * TILE_SIZE + TILE_SIZE / 2;
        const int span = (end[axis] - start[axis]) * TILE_SIZE;
        if (span == 0) {
            position.set(axis, s);
            continue;
        }
        const long long travelled = (static_cast<long long>(frameCounter) * 5) % std::llabs(span);
        position.set(axis, s + static_cast<int>(span > 0 ? travelled : -travelled));
    }
}

float Comet::angle() const {
    const int dx = (end.x - start.x) * TILE_SIZE, dy = (end.y - start.y) * TILE_SIZE;
    if (dx == 0) return dy == 0 ? 0.0f : 90.0f;
    return static_cast<float>(static_cast<int>(std::atan(static_cast<float>(dy) / static_cast<float>(dx)) * 180.0 / 3.14159265358979));
}

void Tunnel::read(std::istream& in) {
    WordReader reader(in, "Objects", 89);
    a = reader.tile();
    b = reader.tile();
    std::string w;
    while (reader.next(w)) {
        if (w == "COLOR") colour = readColour(reader);
        else fatalAssert("Objects", 95, w);
    }
}

TunnelExit tunnelExit(const Tunnel& tunnel, Point tile, Point target,
                      const std::set<Point>& blocked, Point mapSize) {
    TunnelExit out;
    if (tile == tunnel.a && target == tunnel.a) out.tile = tunnel.b;
    else if (tile == tunnel.b && target == tunnel.b) out.tile = tunnel.a;
    else return out;
    out.moved = true;
    out.next = out.tile.offset(0, 1);
    out.steps = out.next.x >= 0 && out.next.y >= 0 && out.next.x < mapSize.x &&
                out.next.y < mapSize.y && blocked.count(out.next) == 0;
    if (!out.steps) out.next = out.tile;
    return out;
}

bool Flame::betweenTiles() const { return pixel.x % TILE_SIZE != 0 || pixel.y % TILE_SIZE != 0; }

void Flame::step(const std::set<Point>& blocked, Point mapSize, bool up, bool down, bool left,
                 bool right, int frameCount) {
    frame = frameCount > 0 ? (frame + 1) % frameCount : 0;
    if (drifting) {
        if (direction == WEST) --pixel.x;
        else if (direction == EAST) ++pixel.x;
        else if (direction == NORTH) --pixel.y;
        else if (direction == SOUTH) ++pixel.y;
        return;
    }
    if (betweenTiles()) {
        movePoint(pixel, direction, 20);
        if (!betweenTiles()) tile = {pixel.x / TILE_SIZE, pixel.y / TILE_SIZE};
        return;
    }
    bool move = true;
    if (up) direction = NORTH;
    else if (down) direction = SOUTH;
    else if (left) direction = WEST;
    else if (right) direction = EAST;
    else move = false;
    if (!move) return;
    Point target = tile;
    movePoint(target, direction, 1);
    if (target.x < 0 || target.y < 0 || target.x >= mapSize.x || target.y >= mapSize.y) return;
    if (blocked.count(target)) return;
    movePoint(pixel, direction, 20);
}

void TilePosition::setTile(Point t) {
    tile = t;
    pixel = {t.x * TILE_SIZE, t.y * TILE_SIZE};
}

Point pickFreeTile(Point fixedPosition, Point mapSize, const std::set<Point>& blocked,
                   const std::set<Point>& blocked2) {
    if (fixedPosition.x != -1) return fixedPosition;
    auto draw = [&] {
        Point p;
        p.y = randomBelow(mapSize.y);
        p.x = randomBelow(mapSize.x);
        return p;
    };
    Point p = draw();
    for (int redraw = 0; redraw < 100 && (blocked.count(p) || blocked2.count(p)); ++redraw)
        p = draw();
    return p;
}

// ---------------------------------------------------------------------------------------------
// Snow

std::vector<SnowFlake> makeSnow(int count, Point mapSize) {
    std::vector<SnowFlake> flakes;
    flakes.reserve(static_cast<size_t>(std::max(0, count)));
    for (int i = 0; i < count; ++i) {
        SnowFlake f;
        f.x = static_cast<float>(std::rand() % std::max(1, mapSize.x * 100)) / 100.0f;
        f.y = static_cast<float>(std::rand() % std::max(1, mapSize.y * 100)) / 100.0f;
        f.height = std::rand() % 50;
        f.spin = 1 + std::rand() % 5;
        flakes.push_back(f);
    }
    return flakes;
}

void updateSnow(std::vector<SnowFlake>& flakes, Point mapSize) {
    for (auto& f : flakes) {
        // Near flakes (small height) fall faster than far ones.
        f.y += 0.01f + 0.02f * static_cast<float>(50 - f.height) / 50.0f;
        f.x += 0.006f * std::sin(f.y * 3.0f + static_cast<float>(f.spin));
        if (f.y > static_cast<float>(mapSize.y)) {
            f.y = -0.5f;
            f.x = static_cast<float>(std::rand() % std::max(1, mapSize.x * 100)) / 100.0f;
        }
        if (f.x < 0) f.x += static_cast<float>(mapSize.x);
        if (f.x > static_cast<float>(mapSize.x)) f.x -= static_cast<float>(mapSize.x);
    }
}
