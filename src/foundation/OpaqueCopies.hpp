// Large pictures drawn unscaled (the buildings) put on the window mostly by copies: the picture's
// opaque blocks are copied from a kept, tinted copy of it, which the software renderer does as
// plain memory, and only the rest (edges, roofs, see-through parts) is drawn as textured pieces.
// An opaque texel covers what lies under it whatever that is, so the copied pixels are the ones
// drawing would give, wherever and whenever the picture is drawn.
#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

namespace sf {
class RenderTarget;
class Texture;
}

// Draws `texture` at its own size with its top-left corner at `at` (whole pixels), tinted by
// `tint`, as a sprite would. False, with nothing drawn, where it cannot be done by copies (the
// drawing shortcuts are off, the target is not a window seen through its own view, the tint lets
// the scene through, or the renderer cannot keep pictures): draw the sprite then.
bool drawByOpaqueCopies(sf::RenderTarget& target, const sf::Texture& texture, sf::Color tint, sf::Vector2f at);

// Gives back the kept copies of `texture` (at every tint): called by whatever owns the texture
// before it goes.
void forgetOpaqueCopies(const sf::Texture& texture);
