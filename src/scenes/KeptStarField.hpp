// A still star field drawn once and copied to the window while its stars stay where they are:
// the start screen's thousands of tiny quads cost the renderer far more than the copy. Most
// frames change nothing (the stars twinkle every eighth). One of the drawing shortcuts: with
// them off, the field is always drawn the long way.
#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Vertex.hpp>

#include <functional>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
class RenderWindow;
}

// Puts the star field (its quads over the backdrop colour) and what lies over it on the whole
// window from the kept picture, drawing the picture first when the stars or `overKey` changed.
// `stars` is asked for the quads only when the shortcuts are on. False, with nothing drawn,
// when the shortcuts are off or the copy cannot be made: draw the long way then.
bool copyKeptStarField(sf::RenderWindow& window, const std::function<const std::vector<sf::Vertex>&()>& stars,
                       sf::Color backdrop, const std::string& overKey,
                       const std::function<void(sf::RenderTarget&)>& over);
