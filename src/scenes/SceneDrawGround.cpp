#include "scenes/Scene.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"

#include <SFML/Graphics.hpp>

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

bool groundCoversScreen(const Scene& scene, Point view) {
    if (scene.type != SCENE_WALK && scene.type != SCENE_WATCH) return false;
    const Point first = pixelToTile(view + Point{-1, -1});
    const Point last = pixelToTile(view + Point{1921, 1081});
    if (first.x < 0 || first.y < 0 || last.x >= scene.mapWidth() || last.y >= scene.mapHeight())
        return false;
    const float T = static_cast<float>(displayTileSize);
    for (int y = first.y; y <= last.y; ++y)
        for (int x = first.x; x <= last.x; ++x) {
            // Cells the ground pass skips show what is under them.
            const TileKind& kind = scene.tileKindAtCell(x, y);
            if (kind.front || scene.openedDoors.count({x, y})) return false;
            if (!scene.mandelbrotMaze.empty() && kind.stairsDown) return false;
            if ((kind.rotation + kind.rotate) % 360 != 0) return false;
            // A solid kind's square is its colour; a texture is tinted by the colour unless solid.
            const bool square = kind.solid && kind.colour.a == 255;
            const bool texture = !kind.texture.empty() && (kind.solid || kind.colour.a == 255) &&
                                 textureIsOpaque(resources->getTexture(kind.texture, T <= 60.f));
            if (!square && !texture) return false;
        }
    return true;
}
