// Gems drawn as jagged shards (outline fixed by the name) or as cut stones with facets.
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
// The Game's zoom toggle writes the drawn tile size; normal zoom draws tiles at full size.
bool normalZoom() { return displayTileSize == TILE_SIZE; }

sf::Vector2f boxCentreWithOrigin(const std::vector<sf::Vector2f>& points) {
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const sf::Vector2f& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return {(minX + maxX) / 2, (minY + maxY) / 2};
}

// A random colour; the glow keeps only a yellow of the stronger of its red and green.
sf::Color randomOutlineColour(bool glow) {
    const sf::Color colour = randomColor();
    if (!glow) return colour;
    const sf::Uint8 m = std::max(colour.r, colour.g);
    return sf::Color(m, m, 0, 100);
}

// The bare shape with a thick outline; the textured shape is drawn over it afterwards.
void drawOutline(sf::RenderTarget& window, sf::ConvexShape& shape, sf::Color outline) {
    shape.setOutlineColor(outline);
    shape.setOutlineThickness(2);
    window.draw(shape);
    shape.setOutlineThickness(0);
}

const sf::Vector2f STONE[5] = {{19, 0}, {38, 15}, {28, 38}, {9, 38}, {0, 15}};
const sf::Vector2f FACETS[7][2] = {
    {STONE[4], {6, 19}}, {{6, 19}, {31, 19}}, {{31, 19}, STONE[1]}, {{6, 19}, STONE[3]},
    {STONE[2], {31, 19}}, {STONE[0], {6, 19}}, {STONE[0], {31, 19}},
};
} // namespace

int gemSeed(const std::string& name) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return static_cast<int>(static_cast<std::uint32_t>(hash & 0xffffffffu));
}

void drawGem(sf::RenderTarget& window, const std::string& name, sf::Vector2f position,
             bool outline, bool glow) {
    const std::vector<sf::Vector2f> points = randomJaggedPolygon(gemSeed(name), true);
    sf::ConvexShape shape(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) shape.setPoint(i, points[i]);
    shape.setOrigin(boxCentreWithOrigin(points));
    shape.setPosition(position);
    const float scale = normalZoom() ? 2.f : 1.f;
    shape.setScale(scale, scale);
    if (outline) drawOutline(window, shape, randomOutlineColour(glow));
    shape.setTexture(&resources->getGemTexture(name), true);
    window.draw(shape);
}

void drawGemShape(sf::RenderTarget& window, const std::string& name, sf::Vector2f position) {
    sf::ConvexShape stone(5);
    for (std::size_t i = 0; i < 5; ++i) stone.setPoint(i, STONE[i]);
    stone.setOrigin(19, 19);
    stone.setPosition(position.x, position.y - static_cast<float>(displayTileSize / 5));
    const float scale = normalZoom() ? 2.f : 1.f;
    stone.setScale(scale, scale);
    drawOutline(window, stone, randomOutlineColour(true));
    stone.setTexture(&resources->getGemTexture(name), true);
    window.draw(stone);

    const auto g = static_cast<sf::Uint8>(std::rand() % 120 + 120);
    const sf::Color facet(g, g, g, 255);
    for (const auto& line : FACETS) {
        const sf::Vector2f a = line[0], b = line[1];
        // One local pixel thick: horizontal lines grow downward, the others to the right.
        const sf::Vector2f d = a.y == b.y ? sf::Vector2f(0, 1) : sf::Vector2f(1, 0);
        sf::ConvexShape quad(4);
        quad.setPoint(0, a);
        quad.setPoint(1, b);
        quad.setPoint(2, b + d);
        quad.setPoint(3, a + d);
        quad.setFillColor(facet);
        quad.setOrigin(stone.getOrigin());
        quad.setPosition(stone.getPosition());
        quad.setScale(stone.getScale());
        window.draw(quad);
    }
}
