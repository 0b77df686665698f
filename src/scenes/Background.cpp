#include "scenes/Background.hpp"

#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"

#include <cmath>
#include <cstdlib>
#include <random>

namespace {

const std::vector<std::string> KIND_NAMES{
    "Nada", "MovingShapes", "MovingShards", "CrazyCircles", "HotLava", "PineSun", "SpaceTravel",
    "Space", "Celular", "Image", "Tile", "AnimTile", "AnimTile2"};

constexpr int CELL_PIXELS = 60;

// While a drifting space field places its stars, they come from the field's own sequence: the
// game's one sequence gives a drift exactly its three draws, so every later seeded outcome
// (the rocket angle, system travel, planet layers) stays where the rules put it.
std::minstd_rand* starSource = nullptr;

int nextRandom() { return starSource ? static_cast<int>((*starSource)() & 0x7fffffff) : std::rand(); }

float randomUnit() { return static_cast<float>(nextRandom() % 10000) / 10000.0f; }

// Drawn red, green, blue in turn (not as call arguments, whose order the compiler picks), so
// one random sequence gives the same colours everywhere.
sf::Color randomBright() {
    const auto r = static_cast<sf::Uint8>(80 + std::rand() % 176);
    const auto g = static_cast<sf::Uint8>(80 + std::rand() % 176);
    const auto b = static_cast<sf::Uint8>(80 + std::rand() % 176);
    return sf::Color(r, g, b, 255);
}

// How many items a kind keeps, bounded by the layer's limit.
int itemTarget(int kind, int limit) {
    int wanted = 0;
    switch (kind) {
    case BG_MOVING_SHAPES: wanted = 40; break;
    case BG_MOVING_SHARDS: wanted = 24; break;
    case BG_CRAZY_CIRCLES: wanted = 14; break;
    case BG_HOT_LAVA: wanted = 36; break;
    case BG_PINE_SUN: wanted = 30; break; // drifting pollen
    case BG_SPACE_TRAVEL: wanted = 600; break;
    case BG_SPACE: wanted = limit; break;
    default: wanted = 0;
    }
    return std::max(0, std::min(wanted, limit));
}

void respawnTravelStar(BackgroundItem& s, bool atCentre) {
    s.angle = randomUnit() * 6.2831853f;
    s.size = atCentre ? 5.0f + randomUnit() * 40.0f : 5.0f + randomUnit() * 900.0f;
    s.spin = 0.5f + randomUnit() * 2.0f;
}

void wrap(float& v, float size) {
    if (size <= 0) return;
    while (v < 0) v += size;
    while (v >= size) v -= size;
}

} // namespace

int Background::kindFromName(const std::string& name) {
    for (int k = 0; k < BACKGROUND_KIND_COUNT; ++k)
        if (KIND_NAMES[k] == name) return k;
    fatalAssert("Background", 69, name);
}

const std::string& Background::kindName(int kind) {
    static const std::string bad = "Nada";
    return kind >= 0 && kind < BACKGROUND_KIND_COUNT ? KIND_NAMES[kind] : bad;
}

void Background::read(std::istream& in) {
    WordReader reader(in, "Background", 78);
    kind = kindFromName(reader.word("background kind"));
    std::string w;
    while (reader.next(w)) {
        if (w == "PICTURE") {
            picture = reader.word("picture");
        } else if (w == "COLOR") {
            int r = reader.integer(), g = reader.integer(), b = reader.integer();
            colour = sf::Color(static_cast<sf::Uint8>(r), static_cast<sf::Uint8>(g),
                               static_cast<sf::Uint8>(b), 255);
        } else if (w == "COUNT") {
            count = reader.integer("Background", "COUNT");
        } else if (w == "OPTION") {
            option = true;
        } else {
            fatalAssert("Background", 93, w);
        }
    }
    items.clear();
    ensureItems();
    initCelular();
}

std::set<std::string> Background::animationNames() const {
    if ((kind == BG_ANIM_TILE || kind == BG_ANIM_TILE2) && !picture.empty()) return {picture};
    return {};
}

void Background::ensureItems() {
    const int target = itemTarget(kind, count);
    if (static_cast<int>(items.size()) >= target) return;
    const float w = static_cast<float>(pixelSize.x), h = static_cast<float>(pixelSize.y);
    while (static_cast<int>(items.size()) < target) {
        BackgroundItem it;
        it.x = randomUnit() * w;
        it.y = randomUnit() * h;
        it.angle = randomUnit() * 360.0f;
        switch (kind) {
        case BG_MOVING_SHAPES:
            it.size = 20 + randomUnit() * 70;
            it.vx = (randomUnit() - 0.5f) * 3;
            it.vy = (randomUnit() - 0.5f) * 3;
            it.spin = (randomUnit() - 0.5f) * 4;
            it.shape = std::rand() % 4;
            it.colour = randomBright();
            it.colour.a = 150;
            break;
        case BG_MOVING_SHARDS:
            it.size = 30 + randomUnit() * 60;
            it.vx = (randomUnit() - 0.5f) * 2;
            it.vy = 0.3f + randomUnit() * 1.5f;
            it.spin = (randomUnit() - 0.5f) * 3;
            it.shape = std::rand();
            it.colour = randomBright();
            break;
        case BG_CRAZY_CIRCLES:
            it.size = randomUnit() * 600;
            it.vx = 2 + randomUnit() * 6; // growth per frame
            it.colour = randomBright();
            break;
        case BG_HOT_LAVA:
            it.size = 30 + randomUnit() * 90;
            it.vy = -(0.3f + randomUnit() * 1.2f);
            it.spin = randomUnit() * 6.28f;
            it.colour = sf::Color(255, static_cast<sf::Uint8>(60 + std::rand() % 120), 0, 200);
            break;
        case BG_PINE_SUN:
            it.size = 2 + randomUnit() * 4;
            it.vx = 0.3f + randomUnit();
            it.vy = (randomUnit() - 0.5f) * 0.5f;
            it.colour = sf::Color(255, 240, 180, 180);
            break;
        case BG_SPACE_TRAVEL:
            respawnTravelStar(it, false);
            it.colour = option ? randomBright() : sf::Color::White;
            break;
        case BG_SPACE: {
            it.shape = nextRandom() % 3; // depth: far stars drift slower
            it.size = 1.0f + static_cast<float>(it.shape);
            const int tint = nextRandom() % 6;
            it.colour = tint == 0   ? sf::Color(180, 200, 255)
                        : tint == 1 ? sf::Color(255, 230, 190)
                                    : sf::Color(235, 235, 235);
            break;
        }
        default: break;
        }
        items.push_back(it);
    }
}

void Background::update() {
    ++frame;
    ensureItems();
    const float w = static_cast<float>(pixelSize.x), h = static_cast<float>(pixelSize.y);
    switch (kind) {
    case BG_MOVING_SHAPES:
    case BG_MOVING_SHARDS:
    case BG_PINE_SUN:
        for (auto& it : items) {
            it.x += it.vx;
            it.y += it.vy;
            it.angle += it.spin;
            wrap(it.x, w);
            wrap(it.y, h);
        }
        break;
    case BG_CRAZY_CIRCLES:
        for (auto& it : items) {
            it.size += it.vx;
            if (it.size > 1200) {
                it.size = 0;
                it.colour = randomBright();
            }
        }
        break;
    case BG_HOT_LAVA:
        for (auto& it : items) {
            it.y += it.vy;
            it.spin += 0.05f;
            it.x += std::sin(it.spin) * 0.6f;
            if (it.y < -it.size) {
                it.y = h + it.size;
                it.x = randomUnit() * w;
            }
        }
        break;
    case BG_SPACE_TRAVEL:
        for (auto& it : items) {
            it.size += it.spin + it.size * 0.03f;
            if (it.size > 1300) respawnTravelStar(it, true);
        }
        break;
    case BG_SPACE:
        for (auto& it : items) {
            const float depth = 0.4f + 0.3f * static_cast<float>(it.shape);
            it.x += driftSpeed * static_cast<float>(driftSignA) * depth;
            it.y += driftSpeed * static_cast<float>(driftSignB) * depth * 0.5f;
            wrap(it.x, w);
            wrap(it.y, h);
        }
        break;
    case BG_CELULAR: {
        if (cells.empty()) initCelular();
        // Cells copy a neighbour's colour: patches grow, merge and fade into one another.
        const int n = static_cast<int>(cells.size());
        for (int k = 0; k < n / 12 + 1; ++k) {
            const int i = std::rand() % cellColumns, j = std::rand() % cellRows;
            const int d = std::rand() % 4;
            Point nb{i, j};
            movePoint(nb, d, 1);
            nb.x = (nb.x + cellColumns) % cellColumns;
            nb.y = (nb.y + cellRows) % cellRows;
            sf::Color& c = cells[i * cellRows + j];
            const sf::Color& o = cells[nb.x * cellRows + nb.y];
            c = sf::Color(static_cast<sf::Uint8>((c.r + 3 * o.r) / 4),
                          static_cast<sf::Uint8>((c.g + 3 * o.g) / 4),
                          static_cast<sf::Uint8>((c.b + 3 * o.b) / 4), 255);
        }
        // A fresh spot now and then keeps the field from settling to one colour.
        if (frame % 20 == 0) cells[std::rand() % n] = randomBright();
        break;
    }
    default: break;
    }
}

void Background::initCelular() {
    if (kind != BG_CELULAR) return;
    cellColumns = std::max(1, (pixelSize.x + CELL_PIXELS - 1) / CELL_PIXELS);
    cellRows = std::max(1, (pixelSize.y + CELL_PIXELS - 1) / CELL_PIXELS);
    cells.assign(static_cast<size_t>(cellColumns) * cellRows, sf::Color::Black);
    for (auto& c : cells) c = randomBright();
}

void Background::startSpaceDrift() {
    kind = BG_SPACE;
    count = 500;
    const int r1 = std::rand();
    const int r2 = std::rand();
    const int r3 = std::rand();
    const float magnitude = static_cast<float>(5000 + r2 % 5000) / 1000.0f;
    driftSpeed = (r1 % 2 == 1) ? magnitude : -magnitude;
    driftSignA = (r3 % 2 == 0) ? 1 : -1;
    driftSignB = driftSpeed > 0 ? driftSignA : -driftSignA;
    items.clear();
    std::minstd_rand own(static_cast<unsigned>(r1) ^ (static_cast<unsigned>(r2) << 7) ^
                         (static_cast<unsigned>(r3) << 13));
    starSource = &own;
    ensureItems();
    starSource = nullptr;
}
