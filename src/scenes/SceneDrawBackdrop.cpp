#include "scenes/Scene.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Lays a texture from (x0, y0) over the rectangle up to (right, bottom), each copy cut to what
// is left of the rectangle.
void layClipped(sf::RenderTarget& window, const sf::Texture& tex, sf::Color colour, float k,
                float x0, float y0, float right, float bottom) {
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0 || k <= 0) return;
    sf::Sprite sprite(tex);
    sprite.setColor(colour);
    sprite.setScale(k, k);
    for (float x = x0; x < right; x += s.x * k)
        for (float y = y0; y < bottom; y += s.y * k) {
            const int w = std::min(static_cast<int>(s.x), static_cast<int>((right - x) / k));
            const int h = std::min(static_cast<int>(s.y), static_cast<int>((bottom - y) / k));
            if (w <= 0 || h <= 0) continue;
            sprite.setTextureRect({0, 0, w, h});
            sprite.setPosition(x, y);
            window.draw(sprite);
        }
}

} // namespace

void Scene::drawBattleBackdrop(sf::RenderTarget& window, Rect frame) {
    const float left = static_cast<float>(frame.x0), top = static_cast<float>(frame.y0);
    const float W = static_cast<float>(frame.size(0)), H = static_cast<float>(frame.size(1));
    const bool hasGrid = !grid.empty() && !grid[0].empty();
    const bool cornerEmpty = hasGrid && game->tileKindAt(grid[0][0]).texture.empty();
    float s = top + H / 5;
    if (firstCellBackdrop && cornerEmpty) s = top;

    // The sky: the first background layer's picture, when it is one.
    const Background& sky = backgrounds[LAYER_BACKGROUND];
    if ((sky.kind == BG_TILE || sky.kind == BG_ANIM_TILE) && !sky.picture.empty()) {
        const float k = game->isNormalZoom() ? 1.0f : 0.5f;
        if (sky.kind == BG_TILE) {
            layClipped(window, resources->getMiscTexture(sky.picture), sky.colour, k, left, s, left + W, top + H);
        } else {
            const auto& frames = resources->getBackAnimation(sky.picture);
            if (!frames.empty())
                layClipped(window, frames[(game->frameCounter / 3) % frames.size()], sky.colour, k,
                           left, s, left + W, top + H);
        }
    }

    // The ground in large squares.
    const std::string ground = groundTileKind();
    if (!ground.empty()) {
        const sf::Texture& tex = resources->getTexture(ground, false);
        const sf::Texture* mixed =
            mixedGroundTexture.empty() ? nullptr : &resources->getTexture(mixedGroundTexture, false);
        // Squares whose top lies within one square of the frame's middle take the mixed ground.
        const float middle = top + H / 2;
        for (float y = s; y < top + H; y += 240.f) {
            const bool inBand = mixed && std::abs(y - middle) < 240.f;
            const sf::Texture& row = inBand ? *mixed : tex;
            if (row.getSize().x > 0)
                layClipped(window, row, sf::Color::White, 240.f / row.getSize().x, left, y,
                           left + W, std::min(y + 240.f, top + H));
        }
    }

    // Indoors: a wall band along the top.
    if (firstCellBackdrop && cornerEmpty) {
        const sf::Texture* band = nullptr;
        if (auto it = animatedObjects.find(0); it != animatedObjects.end()) {
            for (const AnimatedObject& a : it->second)
                if (a.position.x < TILE_SIZE && a.position.y < TILE_SIZE) {
                    const auto& frames = resources->getAnimation(a.name);
                    if (!frames.empty()) band = &frames[(game->frameCounter / 3) % frames.size()];
                }
        }
        if (!band) {
            const std::string& object = game->tileKindAt(grid[0][0]).object;
            if (!object.empty()) band = &resources->getObjectTexture(object);
        }
        if (band && band->getSize().y > 0) {
            const float k = (H / 3) / band->getSize().y;
            layClipped(window, *band, sf::Color::White, k, left, top, left + W, top + H / 3);
        }
    }

    // The scene's most common objects stand on the ground.
    std::map<std::string, int> counts;
    for (const auto& column : grid)
        for (int index : column) {
            const std::string& object = game->tileKindAt(index).object;
            if (!object.empty() && object != "Lever" && object != "Bed1") ++counts[object];
        }
    std::vector<std::pair<int, std::string>> ranked;
    for (const auto& [objectName, n] : counts) ranked.push_back({n, objectName});
    // Highest count first; among equal counts the later name wins.
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second > b.second;
    });
    const sf::Vector2f slots[3] = {{1152, 414}, {1536, 427}, {768, 420}};
    for (size_t i = 0; i < ranked.size() && i < 3; ++i) {
        const sf::Texture& tex = resources->getObjectTexture(ranked[i].second);
        const sf::Vector2u ts = tex.getSize();
        if (ts.x == 0) continue;
        sf::Sprite decoration(tex);
        decoration.setOrigin(ts.x / 2.f, ts.y / 2.f);
        const float k = 360.f / ts.x;
        decoration.setScale(k, k);
        decoration.setPosition(slots[i]);
        window.draw(decoration);
    }
}
