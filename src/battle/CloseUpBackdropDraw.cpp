#include "battle/CloseUpBackdropDraw.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

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
