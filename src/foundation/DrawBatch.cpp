#include "foundation/DrawBatch.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <tuple>

void drawInChunks(sf::RenderTarget& target, const sf::Vertex* vertices, std::size_t count,
                  sf::PrimitiveType type, const sf::RenderStates& states) {
    // Whole quads and whole triangles: 96 is a multiple of 3 and 4.
    constexpr std::size_t chunk = 96;
    if (type != sf::Quads && type != sf::Triangles) {
        target.draw(vertices, count, type, states);
        return;
    }
    for (std::size_t i = 0; i < count; i += chunk)
        target.draw(vertices + i, std::min(chunk, count - i), type, states);
}

void drawInChunks(sf::RenderTarget& target, const sf::VertexArray& vertices,
                  const sf::RenderStates& states) {
    if (vertices.getVertexCount() == 0) return;
    drawInChunks(target, &vertices[0], vertices.getVertexCount(), vertices.getPrimitiveType(), states);
}

bool textureIsOpaque(const sf::Texture& texture) {
    // Keyed by the texture's place, GL name and size: a picture that replaced a freed one in the
    // same place with the same name and size is the only one taken for another.
    static std::map<std::tuple<const sf::Texture*, unsigned, unsigned, unsigned>, bool> known;
    const unsigned id = texture.getNativeHandle();
    if (id == 0) return false;
    const auto key = std::make_tuple(&texture, id, texture.getSize().x, texture.getSize().y);
    auto it = known.find(key);
    if (it != known.end()) return it->second;
    const sf::Image image = texture.copyToImage();
    const sf::Vector2u s = image.getSize();
    const sf::Uint8* p = image.getPixelsPtr();
    bool opaque = s.x > 0 && s.y > 0;
    for (std::size_t i = 3; opaque && i < static_cast<std::size_t>(s.x) * s.y * 4; i += 4)
        opaque = p[i] == 255;
    known[key] = opaque;
    return opaque;
}

bool seenThroughOwnView(const sf::RenderTarget& target) {
    const sf::View& view = target.getView();
    const sf::Vector2f size(target.getSize());
    return view.getSize() == size && view.getCenter() == size / 2.f && view.getRotation() == 0 &&
           view.getViewport() == sf::FloatRect(0, 0, 1, 1);
}

void SpriteBatch::add(const sf::Sprite& sprite) {
    const sf::Texture* texture = sprite.getTexture();
    if (!texture) return;
    // The renderer cuts primitives that cross the window's edge, and cut ones sample other
    // texels when they come in a longer call: those are drawn alone.
    const sf::Vector2f size(target_.getSize());
    const sf::FloatRect b = sprite.getGlobalBounds();
    if (!seenThroughOwnView(target_) || b.left < 0 || b.top < 0 ||
        b.left + b.width > size.x || b.top + b.height > size.y) {
        flush();
        target_.draw(sprite);
        return;
    }
    // A call of a few dozen sprites: longer ones cost the software renderer more per sprite.
    if (texture != texture_ || sprites_ == 24) flush();
    texture_ = texture;
    // The corners in the order of the sprite's own strip.
    const sf::IntRect r = sprite.getTextureRect();
    const float w = static_cast<float>(std::abs(r.width)), h = static_cast<float>(std::abs(r.height));
    const float left = static_cast<float>(r.left), right = left + r.width;
    const float top = static_cast<float>(r.top), bottom = top + r.height;
    const sf::Transform& t = sprite.getTransform();
    const sf::Color c = sprite.getColor();
    const sf::Vertex v[4] = {{t.transformPoint(0, 0), c, {left, top}},
                             {t.transformPoint(0, h), c, {left, bottom}},
                             {t.transformPoint(w, 0), c, {right, top}},
                             {t.transformPoint(w, h), c, {right, bottom}}};
    // Two repeated corners join the strips with empty triangles and keep each strip starting on
    // an even vertex, so its triangles are split as when drawn alone.
    if (strip_.getVertexCount() > 0) {
        strip_.append(strip_[strip_.getVertexCount() - 1]);
        strip_.append(v[0]);
    }
    for (const sf::Vertex& corner : v) strip_.append(corner);
    ++sprites_;
}

void SpriteBatch::flush() {
    if (strip_.getVertexCount() > 0) target_.draw(strip_, sf::RenderStates(texture_));
    strip_.clear();
    texture_ = nullptr;
    sprites_ = 0;
}
