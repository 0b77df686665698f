#include "foundation/OpaqueCopies.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/ScreenCopy.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace {

// Rows taken together: the opaque columns of a band become one copy, so a sloping roof costs a
// copy per band rather than per row.
constexpr int BAND = 8;

struct Layout {
    std::vector<sf::IntRect> copied; // wholly opaque
    std::vector<sf::IntRect> drawn;  // the rest that shows anything
};

// Adds the band's spans to `rects`, lengthening a rectangle of the band above with the same span.
void addSpans(std::vector<sf::IntRect>& rects, const std::vector<std::pair<int, int>>& spans, int top, int height) {
    for (const std::pair<int, int>& span : spans) {
        const int from = span.first, width = span.second - span.first;
        auto above = std::find_if(rects.begin(), rects.end(), [&](const sf::IntRect& r) {
            return r.left == from && r.width == width && r.top + r.height == top;
        });
        if (above != rects.end()) above->height += height;
        else rects.push_back({from, top, width, height});
    }
}

Layout layOut(const sf::Image& image) {
    const int w = static_cast<int>(image.getSize().x), h = static_cast<int>(image.getSize().y);
    const sf::Uint8* pixels = image.getPixelsPtr();
    Layout out;
    std::vector<char> opaque(static_cast<std::size_t>(w)), visible(static_cast<std::size_t>(w));
    for (int top = 0; top < h; top += BAND) {
        const int height = std::min(BAND, h - top);
        for (int x = 0; x < w; ++x) {
            bool all = true, any = false;
            for (int y = top; y < top + height; ++y) {
                const sf::Uint8 a = pixels[(static_cast<std::size_t>(y) * w + x) * 4 + 3];
                all = all && a == 255;
                any = any || a != 0;
            }
            opaque[static_cast<std::size_t>(x)] = all;
            visible[static_cast<std::size_t>(x)] = any;
        }
        // Opaque runs narrower than a band are drawn: a copy of a sliver costs more than it saves.
        std::vector<std::pair<int, int>> copied, drawn;
        for (int x = 0; x < w;) {
            int end = x;
            while (end < w && opaque[static_cast<std::size_t>(end)]) ++end;
            if (end - x >= BAND) copied.push_back({x, end});
            x = std::max(end, x + 1);
        }
        // Between the copies, what shows anything is drawn.
        auto gap = [&](int from, int to) {
            while (from < to && !visible[static_cast<std::size_t>(from)]) ++from;
            while (to > from && !visible[static_cast<std::size_t>(to - 1)]) --to;
            if (to > from) drawn.push_back({from, to});
        };
        int from = 0;
        for (const auto& [a, b] : copied) {
            gap(from, a);
            from = b;
        }
        gap(from, w);
        addSpans(out.copied, copied, top, height);
        addSpans(out.drawn, drawn, top, height);
    }
    return out;
}

struct Kept {
    ScreenCopySource picture;
    Layout layout;
    bool unusable = false;
};

using KeptKey = std::tuple<const sf::Texture*, unsigned, unsigned, unsigned, sf::Uint32>;

std::map<KeptKey, std::unique_ptr<Kept>>& keptCopies() {
    // Never destroyed as a whole: the pictures must not outlive the graphics context at exit.
    static auto* kept = new std::map<KeptKey, std::unique_ptr<Kept>>();
    return *kept;
}

Kept* keptFor(const sf::Texture& texture, sf::Color tint) {
    const sf::Vector2u size = texture.getSize();
    auto& entry = keptCopies()[{&texture, texture.getNativeHandle(), size.x, size.y, tint.toInteger()}];
    if (entry) return entry->unusable ? nullptr : entry.get();
    entry = std::make_unique<Kept>();
    if (!entry->picture.create(size.x, size.y)) {
        entry->unusable = true;
        return nullptr;
    }
    entry->layout = layOut(texture.copyToImage());
    sf::RenderTexture& target = entry->picture.target();
    target.setView(entry->picture.view());
    target.clear(sf::Color::Transparent);
    sf::Sprite sprite(texture);
    sprite.setColor(tint);
    target.draw(sprite);
    entry->picture.finishDrawing();
    return entry.get();
}

} // namespace

bool drawByOpaqueCopies(sf::RenderTarget& target, const sf::Texture& texture, sf::Color tint, sf::Vector2f at) {
    auto* window = dynamic_cast<sf::RenderWindow*>(&target);
    if (!drawShortcuts || !window || tint.a != 255 || at.x != std::floor(at.x) || at.y != std::floor(at.y)) return false;
    if (!seenThroughOwnView(*window)) return false;
    Kept* kept = keptFor(texture, tint);
    if (!kept) return false;
    if (!kept->picture.attach(*window)) {
        kept->unusable = true;
        return false;
    }
    const Point corner{static_cast<int>(at.x), static_cast<int>(at.y)};
    for (const sf::IntRect& r : kept->layout.copied)
        kept->picture.copyTo(*window, {r.left, r.top}, {r.width, r.height}, {corner.x + r.left, corner.y + r.top});
    SpriteBatch batch(*window);
    for (const sf::IntRect& r : kept->layout.drawn) {
        sf::Sprite piece(texture, r);
        piece.setColor(tint);
        piece.setPosition(at.x + static_cast<float>(r.left), at.y + static_cast<float>(r.top));
        batch.add(piece);
    }
    return true;
}

void forgetOpaqueCopies(const sf::Texture& texture) {
    auto& kept = keptCopies();
    auto it = kept.lower_bound(KeptKey{&texture, 0, 0, 0, 0});
    while (it != kept.end() && std::get<0>(it->first) == &texture) it = kept.erase(it);
}
