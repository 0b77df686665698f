#include "battle/CloseUpBackdropDraw.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

sf::Vector2f outwardNormal(sf::Vector2f p1, sf::Vector2f p2) {
    sf::Vector2f normal(p1.y - p2.y, p2.x - p1.x);
    const float length = std::sqrt(normal.x * normal.x + normal.y * normal.y);
    if (length != 0.f) normal /= length;
    return normal;
}

} // namespace

void drawOutlineAlone(sf::RenderTarget& window, const sf::Shape& shape) {
    const std::size_t count = shape.getPointCount();
    if (count < 3 || shape.getOutlineThickness() == 0.f) return;
    std::vector<sf::Vector2f> points(count + 2);
    for (std::size_t i = 0; i < count; ++i) points[i + 1] = shape.getPoint(i);
    points[count + 1] = points[1];
    // The fill's centre, as the library places it: the middle of the points' bounds.
    float left = points[1].x, top = points[1].y, right = points[1].x, bottom = points[1].y;
    for (std::size_t i = 1; i <= count; ++i) {
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    points[0] = {left + (right - left) / 2, top + (bottom - top) / 2};
    const float thickness = shape.getOutlineThickness();
    const sf::Color colour = shape.getOutlineColor();
    sf::VertexArray strip(sf::TriangleStrip, (count + 1) * 2);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t index = i + 1;
        const sf::Vector2f p0 = i == 0 ? points[count] : points[index - 1];
        const sf::Vector2f p1 = points[index];
        const sf::Vector2f p2 = points[index + 1];
        sf::Vector2f n1 = outwardNormal(p0, p1);
        sf::Vector2f n2 = outwardNormal(p1, p2);
        const sf::Vector2f toCentre = points[0] - p1;
        if (n1.x * toCentre.x + n1.y * toCentre.y > 0) n1 = -n1;
        if (n2.x * toCentre.x + n2.y * toCentre.y > 0) n2 = -n2;
        const float factor = 1.f + (n1.x * n2.x + n1.y * n2.y);
        const sf::Vector2f normal = (n1 + n2) / factor;
        strip[i * 2 + 0] = sf::Vertex(p1, colour);
        strip[i * 2 + 1] = sf::Vertex(p1 + normal * thickness, colour);
    }
    strip[count * 2 + 0] = strip[0];
    strip[count * 2 + 1] = strip[1];
    sf::RenderStates states;
    states.transform = shape.getTransform();
    window.draw(strip, states);
}

CloseUpBackdrop& closeUpBackdrop() {
    static CloseUpBackdrop* kept = new CloseUpBackdrop;
    return *kept;
}

void CloseUpBackdrop::release() {
    // Shrunk in place rather than destroyed: a framebuffer of the window's context that reads
    // the picture would keep a destroyed texture's pixels alive, a shrunk one's it cannot.
    if (picture_) picture_->create(1, 1);
    held_ = false;
}

bool CloseUpBackdrop::put(sf::RenderWindow& window, sf::IntRect inside, std::uint64_t key,
                          const std::function<void(sf::RenderTarget&)>& draw) {
    if (unavailable_) return false;
    if (held_ && key_ == key && spills_) return false;
    const sf::Vector2u size = window.getSize();
    if (!picture_ || picture_->target().getSize() != size) {
        held_ = false;
        if (!picture_) picture_ = std::make_unique<ScreenCopySource>();
        if (!picture_->create(size.x, size.y)) {
            unavailable_ = true;
            picture_.reset();
            return false;
        }
    }
    if (!picture_->attach(window)) {
        unavailable_ = true;
        picture_.reset();
        return false;
    }
    if (!held_ || key_ != key) {
        held_ = false;
        // Drawn with the window's own arithmetic, or not kept at all: shapes at fractional places
        // would land a pixel off now and then.
        if (!picture_->beginUpright()) {
            unavailable_ = true;
            picture_.reset();
            return false;
        }
        sf::RenderTexture& target = picture_->target();
        target.clear(sf::Color::Transparent);
        draw(target);
        picture_->endUpright();
        picture_->finishDrawing();
        // Read back once per backdrop: whatever it put outside the frame would be missing from
        // the copy, which covers the frame's inside only.
        const sf::Image drawn = target.getTexture().copyToImage();
        const sf::Uint8* pixels = drawn.getPixelsPtr();
        const auto clearRun = [&](unsigned y, unsigned x0, unsigned x1) {
            for (unsigned x = x0; x < x1; ++x)
                if (pixels[(static_cast<std::size_t>(y) * size.x + x) * 4 + 3] != 0) return false;
            return true;
        };
        const unsigned left = static_cast<unsigned>(std::max(0, inside.left));
        const unsigned right = static_cast<unsigned>(std::clamp(inside.left + inside.width, 0, static_cast<int>(size.x)));
        const unsigned top = static_cast<unsigned>(std::max(0, inside.top));
        const unsigned bottom = static_cast<unsigned>(std::clamp(inside.top + inside.height, 0, static_cast<int>(size.y)));
        spills_ = false;
        for (unsigned y = 0; y < size.y && !spills_; ++y) {
            if (y < top || y >= bottom) spills_ = !clearRun(y, 0, size.x);
            else spills_ = !clearRun(y, 0, std::min(left, size.x)) || !clearRun(y, right, size.x);
        }
        key_ = key;
        held_ = true;
        if (!window.setActive(true) || spills_) return false;
    }
    picture_->copyTo(window, {inside.left, inside.top}, {inside.width, inside.height}, {inside.left, inside.top});
    ++copies_;
    return true;
}
