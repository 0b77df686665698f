// Screen geometry and the drawing pieces of a walking scene.
#pragma once

#include "foundation/main.hpp"

namespace sf {
class RenderTarget;
}
class Scene;
struct SceneCredits;

// The darkness of a dark scene over the visible cells first..last.
void drawDarkness(const Scene& scene, sf::RenderTarget& window, Point view, Point first, Point last);
void drawHearts(const Scene& scene, sf::RenderTarget& window, Point view);
void drawShardCompass(const Scene& scene, sf::RenderTarget& window);
// One frame of a credits roll; clears its active flag once every line has left the top.
void drawCredits(SceneCredits& credits, sf::RenderTarget& window);
