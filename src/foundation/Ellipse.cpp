#include "foundation/Ellipse.hpp"

#include "foundation/main.hpp"

#include <cmath>

EllipseShape::EllipseShape(const sf::Vector2f& radius) : radius_(radius) { update(); }

std::size_t EllipseShape::getPointCount() const { return static_cast<std::size_t>(pointCount_); }

sf::Vector2f EllipseShape::getPoint(std::size_t index) const {
    float angle = static_cast<float>(2 * index) * 3.1415927f / static_cast<float>(getPointCount()) -
                  1.5707964f;
    return {std::cos(angle) * radius_.x + radius_.x, std::sin(angle) * radius_.y + radius_.y};
}

std::vector<EllipseShape> makeShrinkingEllipses(float s) {
    std::vector<EllipseShape> out;
    const float h = s * 180.f / (static_cast<float>(TILE_SIZE) * 25.f);
    int prev = 0;
    int i = 0;
    while (s > h) {
        EllipseShape e({s * 0.5f, h * 0.5f});
        e.setOrigin(e.getRadius());
        ++i;
        int cur = static_cast<int>(static_cast<float>(i) * h * 0.5f);
        e.setPosition(0.f, static_cast<float>(prev + (cur - prev) / 2));
        out.push_back(e);
        prev = cur;
        s = s * 4.0f / 5.0f;
    }
    return out;
}
