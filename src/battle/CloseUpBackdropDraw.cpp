#include "battle/CloseUpBackdropDraw.hpp"

#include <SFML/Graphics.hpp>
#include <SFML/OpenGL.hpp>
#include <SFML/Window/Context.hpp>

#include <algorithm>
#include <cstdint>
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

namespace {

// Whether the rectangle of the active target's pixels holds nothing drawn (alpha 0 throughout).
bool clearOutside(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return true;
    using ReadPixels = void (*)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
    static const auto readPixels = reinterpret_cast<ReadPixels>(sf::Context::getFunction("glReadPixels"));
    if (!readPixels) return false;
    static std::vector<std::uint8_t> strip;
    strip.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0);
    readPixels(x, y, w, h, 0x80E1 /* GL_BGRA */, GL_UNSIGNED_BYTE, strip.data());
    for (std::size_t i = 3; i < strip.size(); i += 4)
        if (strip[i] != 0) return false;
    return true;
}

} // namespace

CloseUpBackdrop& closeUpBackdrop() {
    static CloseUpBackdrop* kept = new CloseUpBackdrop;
    return *kept;
}

void CloseUpBackdrop::release() {
    // The picture deletes the window's framebuffer that reads it as it goes, so its pixels go too.
    picture_.reset();
    held_ = false;
}

bool CloseUpBackdrop::make(sf::RenderWindow& window) {
    if (unavailable_) return false;
    const sf::Vector2u size = window.getSize();
    if (picture_ && picture_->target().getSize() == size) return true;
    held_ = false;
    if (!picture_) picture_ = std::make_unique<ScreenCopySource>();
    if (!picture_->create(size.x, size.y)) {
        unavailable_ = true;
        picture_.reset();
        return false;
    }
    return window.setActive(true);
}

void CloseUpBackdrop::prepare(sf::RenderWindow& window) { make(window); }

bool CloseUpBackdrop::put(sf::RenderWindow& window, sf::IntRect inside, std::uint64_t key,
                          const std::function<void(sf::RenderTarget&)>& draw) {
    if (unavailable_) return false;
    if (held_ && key_ == key && spills_) return false;
    if (!make(window)) return false;
    const sf::Vector2u size = window.getSize();
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
        // the copy, which covers the frame's inside only. The picture's rows lie top first.
        const int W = static_cast<int>(size.x), H = static_cast<int>(size.y);
        const int left = std::clamp(inside.left, 0, W), right = std::clamp(inside.left + inside.width, 0, W);
        const int top = std::clamp(inside.top, 0, H), bottom = std::clamp(inside.top + inside.height, 0, H);
        spills_ = !(target.setActive(true) && clearOutside(0, 0, W, top) && clearOutside(0, bottom, W, H - bottom) &&
                    clearOutside(0, top, left, bottom - top) && clearOutside(right, top, W - right, bottom - top));
        key_ = key;
        held_ = true;
        if (!window.setActive(true) || spills_) return false;
    }
    picture_->copyTo(window, {inside.left, inside.top}, {inside.width, inside.height}, {inside.left, inside.top});
    ++copies_;
    return true;
}
