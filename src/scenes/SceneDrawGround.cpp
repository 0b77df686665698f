#include "scenes/Scene.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"

#include <SFML/Graphics.hpp>
#include <SFML/OpenGL.hpp>
#include <SFML/Window/Context.hpp>

#include <algorithm>

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

bool groundPassSkips(const Scene& scene, int x, int y) {
    const TileKind& kind = scene.tileKindAtCell(x, y);
    return kind.front || scene.openedDoors.count({x, y}) || (!scene.mandelbrotMaze.empty() && kind.stairsDown);
}

namespace {

// Whether the ground pass fills the cell with opaque pixels.
bool cellCovered(const Scene& scene, int x, int y, float T) {
    const TileKind& kind = scene.tileKindAtCell(x, y);
    if (groundPassSkips(scene, x, y)) return false;
    if ((kind.rotation + kind.rotate) % 360 != 0) return false;
    // A solid kind's square is its colour; a texture is tinted by the colour unless solid.
    const bool square = kind.solid && kind.colour.a == 255;
    const bool texture = !kind.texture.empty() && (kind.solid || kind.colour.a == 255) &&
                         textureIsOpaque(resources->getTexture(kind.texture, T <= 60.f));
    return square || texture;
}

sf::IntRect onScreen(int left, int top, int right, int bottom) {
    left = std::max(0, left);
    top = std::max(0, top);
    right = std::min(WINDOW_WIDTH, right);
    bottom = std::min(WINDOW_HEIGHT, bottom);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

} // namespace

bool uncoveredByGround(const Scene& scene, Point view, std::vector<sf::IntRect>& out) {
    out.clear();
    if (scene.type != SCENE_WALK && scene.type != SCENE_WATCH) return false;
    const Point first = pixelToTile(view + Point{-1, -1});
    const Point last = pixelToTile(view + Point{1921, 1081});
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
            if (cellCovered(scene, x, y, static_cast<float>(t))) {
                ++x;
                continue;
            }
            const int start = x;
            while (x <= x1 && !cellCovered(scene, x, y, static_cast<float>(t))) ++x;
            add(onScreen(start * t - view.x, y * t - view.y, x * t - view.x, (y + 1) * t - view.y));
            // Each piece draws the layers once more: past a few, the whole screen costs less.
            if (out.size() > 8) return false;
        }
    return true;
}

namespace {

using GlEnable = void (*)(GLenum);
using GlScissor = void (*)(GLint, GLint, GLsizei, GLsizei);

} // namespace

void drawBackgroundAroundGround(Scene& scene, sf::RenderWindow& window, Point view) {
    auto layers = [&](bool wholeWindow) {
        if (wholeWindow) scene.backgrounds[LAYER_BACKGROUND].drawOverWindow(window, view);
        else scene.backgrounds[LAYER_BACKGROUND].draw(window, view);
        scene.backgrounds[LAYER_BACKGROUND2].draw(window, view);
    };
    if (scene.backgrounds[LAYER_BACKGROUND].kind == BG_NADA && scene.backgrounds[LAYER_BACKGROUND2].kind == BG_NADA)
        return;
    std::vector<sf::IntRect> pieces;
    const sf::Vector2u size = window.getSize();
    static const auto enable = reinterpret_cast<GlEnable>(sf::Context::getFunction("glEnable"));
    static const auto disable = reinterpret_cast<GlEnable>(sf::Context::getFunction("glDisable"));
    static const auto scissor = reinterpret_cast<GlScissor>(sf::Context::getFunction("glScissor"));
    if (!uncoveredByGround(scene, view, pieces) || size != sf::Vector2u(WINDOW_WIDTH, WINDOW_HEIGHT) || !enable ||
        !disable || !scissor || !window.setActive(true)) {
        layers(true);
        return;
    }
    // Only the uncovered pieces are drawn: the scissor drops the rest of each layer's pixels
    // without changing those it keeps.
    for (const sf::IntRect& b : pieces) {
        enable(GL_SCISSOR_TEST);
        scissor(b.left, WINDOW_HEIGHT - b.top - b.height, b.width, b.height);
        layers(false);
        disable(GL_SCISSOR_TEST);
    }
}
