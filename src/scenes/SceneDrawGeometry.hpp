// Screen geometry and the drawing pieces of a walking scene.
#pragma once

#include "foundation/main.hpp"
#include "scenes/Objects.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <vector>

namespace sf {
class RenderTarget;
class RenderWindow;
class Texture;
class VertexArray;
}
class TileKind;
class SpriteBatch;
class Scene;
struct SceneCredits;

// The darkness of a dark scene over the visible cells first..last.
void drawDarkness(const Scene& scene, sf::RenderTarget& window, Point view, Point first, Point last);
void drawHearts(const Scene& scene, sf::RenderTarget& window, Point view);
void drawShardCompass(const Scene& scene, sf::RenderTarget& window);
// One frame of a credits roll; clears its active flag once every line has left the top.
void drawCredits(SceneCredits& credits, sf::RenderTarget& window);
// Whether this frame of the credits starts by clearing the screen (a picture is up): what was
// drawn under it does not show.
bool creditsClearTheScreen(const SceneCredits& credits);

// A tile kind's picture in two parts: its ground (solid colour and texture) and what stands on it
// (object, house sign). TileKind::draw is the two in turn.
void drawTileBase(const TileKind& kind, sf::RenderTarget& window, float x, float y, float size);
// With a batch, the object's sprite joins it (the caller flushes it). The house sign goes with
// the part outside the cell.
void drawTileExtras(const TileKind& kind, sf::RenderTarget& window, float x, float y, float size,
                    SpriteBatch* batch = nullptr, ObjectPart part = ObjectPart::Whole);
// The texture of a kind whose ground is a plain, unturned, unanimated texture (null otherwise):
// such grounds of one row can be laid in one batch.
const sf::Texture* batchableTileTexture(const TileKind& kind, float size);
// One row's ground of one texture; with the shortcuts, opaque ground replaces what is under it
// without blending (GroundLayer.cpp).
void drawGroundBatch(sf::RenderTarget& window, const sf::VertexArray& quads, const sf::Texture& texture);
// A sprite of a texture fitted into a square: uniform scale, turned by `rotation` about `origin`.
void drawFitted(sf::RenderTarget& window, const sf::Texture& tex, sf::Vector2f at, sf::Vector2f origin, float scale,
                float rotation = 0);
void appendTileQuad(sf::VertexArray& quads, const sf::Texture& texture, sf::Color colour, float x,
                    float y, float size);
