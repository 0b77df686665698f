// Drawing that gives the same pixels for less renderer work: one vertex array per texture
// instead of a sprite per thing, no blending where the source is opaque, and pictures kept
// ready at the size they are drawn.
#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/VertexArray.hpp>

#include <vector>

namespace sf {
class RenderTarget;
class Shape;
class Sprite;
class Text;
}

// Off, every frame is drawn the long way, one shape at a time; the comparison test and the cost
// probe switch it to check that both ways give the same picture.
inline bool drawShortcuts = true;

// Draws the vertices in calls of a few dozen: the software renderer's cost per vertex grows with
// the length of a call, so many short calls cost less than one long one. The primitives and
// their order stay as they are.
void drawInChunks(sf::RenderTarget& target, const sf::Vertex* vertices, std::size_t count,
                  sf::PrimitiveType type, const sf::RenderStates& states = sf::RenderStates::Default);
void drawInChunks(sf::RenderTarget& target, const sf::VertexArray& vertices,
                  const sf::RenderStates& states = sf::RenderStates::Default);

// Draws the primitives the way drawInChunks does while the shortcuts are on, in one call when off.
void drawPrimitives(sf::RenderTarget& target, const sf::Vertex* vertices, std::size_t count, sf::PrimitiveType type);

// Covers the whole window in an opaque colour. Clearing leaves the same pixels as filling a
// window-sized rectangle, at a fraction of the cost, when the target is the whole window seen
// through its own view.
void fillWindow(sf::RenderTarget& target, sf::Color colour);

// A shape's outline alone, built as the library builds it: the same pixels as drawing a shape
// whose fill is fully transparent. Such a fill leaves every pixel as it was, yet the software
// renderer blends each one of them: for the close-up's frame, most of the screen.
void drawOutlineAlone(sf::RenderTarget& target, const sf::Shape& shape);

// A shape's outline without its fill (drawOutlineAlone) while the shortcuts are on; the whole
// shape, whose fill is transparent, when they are off.
void drawOutline(sf::RenderTarget& target, const sf::Shape& shape);

// Quads drawn with alpha blending. While the shortcuts are on, those whose corners are all fully
// transparent (they change no pixel) are left out and the rest drawn in chunks; off, all of them
// in one call.
void drawBlendedQuads(sf::RenderTarget& target, const sf::VertexArray& quads);

// A sprite over what is under it. While the shortcuts are on, one whose texture and colour are
// wholly opaque replaces those pixels without blending them.
void drawSprite(sf::RenderTarget& target, const sf::Sprite& sprite);

// Whether every pixel of the texture is fully opaque (read back once per texture).
bool textureIsOpaque(const sf::Texture& texture);
// Whether the target is seen through its own default view: one drawn unit is one pixel, placed
// where it is drawn.
bool seenThroughOwnView(const sf::RenderTarget& target);

// Sprites drawn in one call while they share a texture: a sprite of another texture first draws
// the run so far, so the order of the picture never changes. Each sprite keeps its own triangle
// strip (the strips are joined by empty triangles), so every pixel samples the texel it would
// alone. Call flush() before drawing anything else into the target. While the shortcuts are off,
// each sprite is drawn alone as it comes.
class SpriteBatch {
public:
    explicit SpriteBatch(sf::RenderTarget& target) : target_(target) {}
    ~SpriteBatch() { flush(); }
    SpriteBatch(const SpriteBatch&) = delete;
    SpriteBatch& operator=(const SpriteBatch&) = delete;
    void add(const sf::Sprite& sprite);
    void flush();

private:
    sf::RenderTarget& target_;
    const sf::Texture* texture_ = nullptr;
    sf::VertexArray strip_{sf::TriangleStrip};
    int sprites_ = 0;
};

// One character of a run of one-letter texts, at the text's position.
struct PlacedLetter {
    char letter;
    sf::Vector2f at;
};

// The letters, in order, each drawn as `text` (its font, size and colour) showing that letter at
// that place; `text` is left showing the last letter drawn alone. While the shortcuts are on and
// the target is seen through its own view, a plain text is drawn as its glyphs' triangles a few
// dozen letters to a call: the same pixels for a fraction of the renderer's work. A letter that
// crosses the target's edge is drawn alone then, as the renderer cuts it, and one wholly outside
// is left out.
void drawLetters(sf::RenderTarget& target, sf::Text& text, const std::vector<PlacedLetter>& letters);
