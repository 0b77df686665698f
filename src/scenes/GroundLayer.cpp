#include "scenes/GroundLayer.hpp"

#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "foundation/ScreenCopy.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"
#include "scenes/GroundCache.hpp"
#include "scenes/Scene.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <map>

void drawGroundBatch(sf::RenderTarget& window, const sf::VertexArray& quads, const sf::Texture& texture) {
    sf::RenderStates states(&texture);
    if (!drawShortcuts) {
        window.draw(quads, states);
        return;
    }
    bool opaque = textureIsOpaque(texture);
    for (std::size_t i = 0; opaque && i < quads.getVertexCount(); ++i) opaque = quads[i].color.a == 255;
    if (opaque) states.blendMode = sf::BlendNone;
    drawInChunks(window, quads, states);
}

GroundLayer::GroundLayer(const Scene& scene, sf::RenderWindow& window, Point view, Point first, Point last)
    : scene_(scene), window_(window), view_(view), first_(first), last_(last) {
    GroundCache* cache = &groundCache();
    if (drawShortcuts && cache->prepare(scene, window, view, first, last, &GroundLayer::skips)) cache_ = cache;
}

bool GroundLayer::skips(const Scene& scene, int x, int y) {
    const TileKind& kind = scene.tileKindAtCell(x, y);
    return kind.front || scene.openedDoors.count({x, y}) ||
           (!scene.mandelbrotMaze.empty() && kind.stairsDown &&
            !(people->mainCharacter().flying && game->isBoolVarSet("TalkedBubbleKing")));
}

void GroundLayer::drawRow(int y) const {
    const Standing standing = drawGround(y);
    drawStanding(y, standing);
}

GroundLayer::Standing GroundLayer::drawGround(int y) const {
    const int T = displayTileSize;
    const float Tf = static_cast<float>(T);
    const int columns = scene_.mapWidth(), rows = scene_.mapHeight();
    // Plain textures of the row go down in one batch per texture; what stands on the tiles
    // follows in column order, so it is never covered by a neighbour's ground.
    std::map<const sf::Texture*, sf::VertexArray> groundBatch;
    Standing standing;
    for (int x = std::max(0, first_.x); x < columns && x <= last_.x; ++x) {
        const TileKind& kind = scene_.tileKindAtCell(x, y);
        // A door shows the ground of the cell below it through its opening.
        if (kind.door && y < rows - 1) {
            const TileKind& below = scene_.tileKindAtCell(x, y + 1);
            if (!below.texture.empty()) {
                const sf::Texture& tex = resources->getTexture(below.texture, T == 60);
                const sf::Vector2u s = tex.getSize();
                if (s.x > 0)
                    drawFitted(window_, tex,
                               {static_cast<float>(x * T - view_.x + T / 2), static_cast<float>(y * T - view_.y + T / 2)},
                               {s.x / 2.f, s.y / 2.f}, Tf / s.x);
            }
        }
        if (skips(scene_, x, y)) continue;
        const sf::Vector2f p(static_cast<float>(x * T - view_.x), static_cast<float>(y * T - view_.y));
        if (cache_ && cache_->kept(x, y)) {
            // Copied with the row's batches below.
        } else if (const sf::Texture* tex = batchableTileTexture(kind, Tf)) {
            sf::VertexArray& quads = groundBatch[tex];
            quads.setPrimitiveType(sf::Quads);
            appendTileQuad(quads, *tex, kind.colour, p.x, p.y, Tf);
        } else {
            drawTileBase(kind, window_, p.x, p.y, Tf);
        }
        if (!kind.object.empty() || !kind.houseSign.empty()) standing.push_back({x, &kind});
    }
    for (const auto& [tex, quads] : groundBatch) drawGroundBatch(window_, quads, *tex);
    if (cache_) cache_->copyRow(window_, y);
    return standing;
}

void GroundLayer::drawStanding(int y, const Standing& standing) const {
    const int T = displayTileSize;
    const float Tf = static_cast<float>(T);
    // A kept cell already holds the part of its objects within it: the rest is drawn here.
    {
        SpriteBatch standingBatch(window_);
        for (const auto& [x, kind] : standing) {
            const ObjectPart part = cache_ && cache_->objectKept(x, y) ? ObjectPart::OutsideCell : ObjectPart::Whole;
            drawTileExtras(*kind, window_, static_cast<float>(x * T - view_.x), static_cast<float>(y * T - view_.y), Tf,
                           &standingBatch, part);
        }
    }
    if (auto it = scene_.objectRows.find(y); it != scene_.objectRows.end()) {
        SpriteBatch rowBatch(window_);
        for (int i : it->second) {
            const SceneObject& o = scene_.objects[i];
            const bool keptPart = cache_ && cache_->sceneObjectsKept(static_cast<int>(o.x), y);
            o.draw(window_, y, view_, &rowBatch, keptPart ? ObjectPart::OutsideCell : ObjectPart::Whole);
        }
    }
}

bool GroundLayer::covers(const Scene& scene, int x, int y, float T) {
    const TileKind& kind = scene.tileKindAtCell(x, y);
    if (skips(scene, x, y)) return false;
    if ((kind.rotation + kind.rotate) % 360 != 0) return false;
    // A solid kind's square is its colour; a texture is tinted by the colour unless solid.
    const bool square = kind.solid && kind.colour.a == 255;
    const bool texture = !kind.texture.empty() && (kind.solid || kind.colour.a == 255) &&
                         textureIsOpaque(resources->getTexture(kind.texture, T <= 60.f));
    return square || texture;
}

namespace {

sf::IntRect onScreen(int left, int top, int right, int bottom) {
    left = std::max(0, left);
    top = std::max(0, top);
    right = std::min(WINDOW_WIDTH, right);
    bottom = std::min(WINDOW_HEIGHT, bottom);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

} // namespace

bool GroundLayer::uncovered(const Scene& scene, Point view, std::vector<sf::IntRect>& out) {
    out.clear();
    if (scene.type != SCENE_WALK && scene.type != SCENE_WATCH) return false;
    const Point first = pixelToTile(view + Point{-1, -1});
    const Point last = pixelToTile(view + Point{WINDOW_WIDTH + 1, WINDOW_HEIGHT + 1});
    const int x0 = std::max(0, first.x), y0 = std::max(0, first.y);
    const int x1 = std::min(scene.mapWidth() - 1, last.x), y1 = std::min(scene.mapHeight() - 1, last.y);
    if (x0 > x1 || y0 > y1) return false;
    const int t = displayTileSize;
    auto add = [&](const sf::IntRect& r) {
        if (r.width > 0 && r.height > 0) out.push_back(r);
    };
    const sf::IntRect map = onScreen(x0 * t - view.x, y0 * t - view.y, (x1 + 1) * t - view.x, (y1 + 1) * t - view.y);
    if (map.width <= 0) return false;
    add(onScreen(0, 0, WINDOW_WIDTH, map.top));
    add(onScreen(0, map.top + map.height, WINDOW_WIDTH, WINDOW_HEIGHT));
    add(onScreen(0, map.top, map.left, map.top + map.height));
    add(onScreen(map.left + map.width, map.top, WINDOW_WIDTH, map.top + map.height));
    // Runs of cells of a row that let the layers under them show.
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1;) {
            if (covers(scene, x, y, static_cast<float>(t))) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= x1 && !covers(scene, x, y, static_cast<float>(t))) ++x;
            add(onScreen(start * t - view.x, y * t - view.y, x * t - view.x, (y + 1) * t - view.y));
            // Each piece draws the layers once more: past a few, the whole screen costs less.
            if (out.size() > 8) return false;
        }
    return true;
}

bool GroundLayer::coversWindow(const Scene& scene, Point view) {
    std::vector<sf::IntRect> pieces;
    return uncovered(scene, view, pieces) && pieces.empty();
}

void GroundLayer::drawBackdropAround(Scene& scene, sf::RenderWindow& window, Point view) {
    auto layers = [&](bool wholeWindow) {
        if (wholeWindow) scene.backgrounds[LAYER_BACKGROUND].drawOverWindow(window, view);
        else scene.backgrounds[LAYER_BACKGROUND].draw(window, view);
        scene.backgrounds[LAYER_BACKGROUND2].draw(window, view);
    };
    if (scene.backgrounds[LAYER_BACKGROUND].kind == BG_NADA && scene.backgrounds[LAYER_BACKGROUND2].kind == BG_NADA)
        return;
    std::vector<sf::IntRect> pieces;
    if (!uncovered(scene, view, pieces) || window.getSize() != sf::Vector2u(WINDOW_WIDTH, WINDOW_HEIGHT) ||
        !windowClipsToRectangles(window)) {
        layers(true);
        return;
    }
    // Only the uncovered pieces are drawn: the scissor drops the rest of each layer's pixels
    // without changing those it keeps.
    for (const sf::IntRect& b : pieces) {
        const ScissorScope within(window, b);
        layers(false);
    }
}
