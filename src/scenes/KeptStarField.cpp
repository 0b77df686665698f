#include "scenes/KeptStarField.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/ScreenCopy.hpp"

#include <SFML/Graphics.hpp>

#include <cstring>

namespace {

struct KeptStarField {
    ScreenCopySource picture;
    std::vector<sf::Vertex> stars;
    std::string overKey;
    bool drawn = false;
    bool unusable = false;
};

KeptStarField& keptStarField() {
    // Never freed: its textures must not outlive the graphics context at exit.
    static auto* kept = new KeptStarField();
    return *kept;
}

bool sameStars(const std::vector<sf::Vertex>& kept, const std::vector<sf::Vertex>& now) {
    return kept.size() == now.size() &&
           (kept.empty() || std::memcmp(kept.data(), now.data(), kept.size() * sizeof(sf::Vertex)) == 0);
}

bool copyKeptStars(sf::RenderWindow& window, const std::vector<sf::Vertex>& stars, sf::Color backdrop,
                   const std::string& overKey, const std::function<void(sf::RenderTarget&)>& over) {
    KeptStarField& kept = keptStarField();
    const sf::Vector2u size = window.getSize();
    if (kept.unusable || !seenThroughOwnView(window)) return false;
    if (!kept.picture.ready() || kept.picture.target().getSize() != size) {
        kept.drawn = false;
        if (!kept.picture.create(size.x, size.y)) {
            kept.unusable = true;
            return false;
        }
    }
    if (!kept.picture.attach(window)) {
        kept.unusable = true;
        return false;
    }
    if (!kept.drawn || kept.overKey != overKey || !sameStars(kept.stars, stars)) {
        if (!kept.picture.beginUpright()) {
            kept.unusable = true;
            return false;
        }
        sf::RenderTexture& target = kept.picture.target();
        target.clear(backdrop);
        drawInChunks(target, stars.data(), stars.size(), sf::Quads);
        if (over) over(target);
        kept.picture.endUpright();
        kept.picture.finishDrawing();
        kept.stars = stars;
        kept.overKey = overKey;
        kept.drawn = true;
    }
    kept.picture.copyTo(window, {0, 0}, {static_cast<int>(size.x), static_cast<int>(size.y)}, {0, 0});
    return true;
}

} // namespace

bool copyKeptStarField(sf::RenderWindow& window, const std::function<const std::vector<sf::Vertex>&()>& stars,
                       sf::Color backdrop, const std::string& overKey,
                       const std::function<void(sf::RenderTarget&)>& over) {
    return drawShortcuts && copyKeptStars(window, stars(), backdrop, overKey, over);
}
