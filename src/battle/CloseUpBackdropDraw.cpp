#include "battle/CloseUpBackdropDraw.hpp"

#include "foundation/DrawBatch.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cstdint>

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

bool CloseUpBackdrop::keeps() const { return drawShortcuts; }

void CloseUpBackdrop::prepare(sf::RenderWindow& window) {
    if (keeps()) make(window);
}

sf::FloatRect coveredByCloseUp(sf::FloatRect frame) { return drawShortcuts ? frame : sf::FloatRect(); }

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
        spills_ = !(target.setActive(true) && readAlphaIsClear(0, 0, W, top) && readAlphaIsClear(0, bottom, W, H - bottom) &&
                    readAlphaIsClear(0, top, left, bottom - top) && readAlphaIsClear(right, top, W - right, bottom - top));
        key_ = key;
        held_ = true;
        if (!window.setActive(true) || spills_) return false;
    }
    picture_->copyTo(window, {inside.left, inside.top}, {inside.width, inside.height}, {inside.left, inside.top});
    ++copies_;
    return true;
}
