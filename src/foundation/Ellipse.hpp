// A two-radius ellipse on SFML's shape base, and the stack of shrinking ellipses that the
// whirlwinds are drawn with.
#pragma once

#include <SFML/Graphics/Shape.hpp>

#include <vector>

class EllipseShape : public sf::Shape {
public:
    explicit EllipseShape(const sf::Vector2f& radius = {0.f, 0.f});

    std::size_t getPointCount() const override;
    sf::Vector2f getPoint(std::size_t index) const override;
    const sf::Vector2f& getRadius() const { return radius_; }

private:
    sf::Vector2f radius_;
    int pointCount_ = 30;
};

std::vector<EllipseShape> makeShrinkingEllipses(float size);
