#include "foundation/DrawBatch.hpp"

#include "foundation/main.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Shape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

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
    if (!drawShortcuts) {
        target_.draw(sprite);
        return;
    }
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

namespace {

sf::Vector2f outwardNormal(sf::Vector2f p1, sf::Vector2f p2) {
    sf::Vector2f normal(p1.y - p2.y, p2.x - p1.x);
    const float length = std::sqrt(normal.x * normal.x + normal.y * normal.y);
    if (length != 0.f) normal /= length;
    return normal;
}

} // namespace

void drawOutlineAlone(sf::RenderTarget& window, const sf::Shape& shape) {
    const std::size_t count = shape.getPointCount();
    if (count < 3 || shape.getOutlineThickness() == 0.f) return;
    std::vector<sf::Vector2f> points(count + 2);
    for (std::size_t i = 0; i < count; ++i) points[i + 1] = shape.getPoint(i);
    points[count + 1] = points[1];
    // The fill's centre, as the library places it: the middle of the points' bounds.
    float left = points[1].x, top = points[1].y, right = points[1].x, bottom = points[1].y;
    for (std::size_t i = 1; i <= count; ++i) {
        left = std::min(left, points[i].x);
        right = std::max(right, points[i].x);
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    points[0] = {left + (right - left) / 2, top + (bottom - top) / 2};
    const float thickness = shape.getOutlineThickness();
    const sf::Color colour = shape.getOutlineColor();
    sf::VertexArray strip(sf::TriangleStrip, (count + 1) * 2);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t index = i + 1;
        const sf::Vector2f p0 = i == 0 ? points[count] : points[index - 1];
        const sf::Vector2f p1 = points[index];
        const sf::Vector2f p2 = points[index + 1];
        sf::Vector2f n1 = outwardNormal(p0, p1);
        sf::Vector2f n2 = outwardNormal(p1, p2);
        const sf::Vector2f toCentre = points[0] - p1;
        if (n1.x * toCentre.x + n1.y * toCentre.y > 0) n1 = -n1;
        if (n2.x * toCentre.x + n2.y * toCentre.y > 0) n2 = -n2;
        const float factor = 1.f + (n1.x * n2.x + n1.y * n2.y);
        const sf::Vector2f normal = (n1 + n2) / factor;
        strip[i * 2 + 0] = sf::Vertex(p1, colour);
        strip[i * 2 + 1] = sf::Vertex(p1 + normal * thickness, colour);
    }
    strip[count * 2 + 0] = strip[0];
    strip[count * 2 + 1] = strip[1];
    sf::RenderStates states;
    states.transform = shape.getTransform();
    window.draw(strip, states);
}

void drawPrimitives(sf::RenderTarget& target, const sf::Vertex* vertices, std::size_t count, sf::PrimitiveType type) {
    if (drawShortcuts) drawInChunks(target, vertices, count, type);
    else target.draw(vertices, count, type);
}

void fillWindow(sf::RenderTarget& target, sf::Color colour) {
    if (drawShortcuts && colour.a == 255 && target.getSize() == sf::Vector2u(WINDOW_WIDTH, WINDOW_HEIGHT) &&
        seenThroughOwnView(target)) {
        target.clear(colour);
        return;
    }
    sf::RectangleShape cover({float(WINDOW_WIDTH), float(WINDOW_HEIGHT)});
    cover.setFillColor(colour);
    target.draw(cover);
}

void drawOutline(sf::RenderTarget& target, const sf::Shape& shape) {
    if (drawShortcuts) drawOutlineAlone(target, shape);
    else target.draw(shape);
}

void drawBlendedQuads(sf::RenderTarget& target, const sf::VertexArray& quads) {
    if (!drawShortcuts) {
        target.draw(quads);
        return;
    }
    // Kept from call to call: a dark scene fills it every frame.
    thread_local std::vector<sf::Vertex> shown;
    shown.clear();
    for (std::size_t i = 0; i + 3 < quads.getVertexCount(); i += 4)
        if (quads[i].color.a != 0 || quads[i + 1].color.a != 0 || quads[i + 2].color.a != 0 || quads[i + 3].color.a != 0)
            for (std::size_t k = i; k < i + 4; ++k) shown.push_back(quads[k]);
    if (!shown.empty()) drawInChunks(target, shown.data(), shown.size(), sf::Quads);
}

void drawSprite(sf::RenderTarget& target, const sf::Sprite& sprite) {
    if (drawShortcuts && sprite.getColor().a == 255 && sprite.getTexture() && textureIsOpaque(*sprite.getTexture()))
        target.draw(sprite, sf::BlendNone);
    else
        target.draw(sprite);
}

namespace {

// One glyph's two triangles as the library lays a one-letter text out: the baseline one
// character size below the text's position, the glyph's box grown by a pixel all round.
void appendGlyph(std::vector<sf::Vertex>& out, const sf::Glyph& glyph, sf::Vector2f at, sf::Color colour) {
    const float padding = 1.f;
    const float left = glyph.bounds.left - padding, top = glyph.bounds.top - padding;
    const float right = glyph.bounds.left + glyph.bounds.width + padding;
    const float bottom = glyph.bounds.top + glyph.bounds.height + padding;
    const float u1 = static_cast<float>(glyph.textureRect.left) - padding;
    const float v1 = static_cast<float>(glyph.textureRect.top) - padding;
    const float u2 = static_cast<float>(glyph.textureRect.left + glyph.textureRect.width) + padding;
    const float v2 = static_cast<float>(glyph.textureRect.top + glyph.textureRect.height) + padding;
    const sf::Vertex a({at.x + left, at.y + top}, colour, {u1, v1});
    const sf::Vertex b({at.x + right, at.y + top}, colour, {u2, v1});
    const sf::Vertex c({at.x + left, at.y + bottom}, colour, {u1, v2});
    const sf::Vertex d({at.x + right, at.y + bottom}, colour, {u2, v2});
    out.insert(out.end(), {a, b, c, c, b, d});
}

// A text laid out as appendGlyph lays it: regular, without outline, placed without turning,
// scaling or moved origin.
bool laidOutAsGlyphs(const sf::Text& text) {
    return text.getFont() != nullptr && text.getStyle() == sf::Text::Regular && text.getOutlineThickness() == 0.f &&
           text.getRotation() == 0.f && text.getScale() == sf::Vector2f(1.f, 1.f) &&
           text.getOrigin() == sf::Vector2f(0.f, 0.f);
}

} // namespace

void drawLetters(sf::RenderTarget& target, sf::Text& text, const std::vector<PlacedLetter>& letters) {
    const bool batched = drawShortcuts && seenThroughOwnView(target) && laidOutAsGlyphs(text);
    const unsigned size = text.getCharacterSize();
    std::array<const sf::Glyph*, 128> glyphs{};
    const sf::Texture* page = nullptr;
    if (batched) {
        std::array<bool, 128> used{};
        for (const PlacedLetter& l : letters)
            if (static_cast<unsigned char>(l.letter) < used.size()) used[static_cast<unsigned char>(l.letter)] = true;
        for (std::size_t c = 0; c < used.size(); ++c)
            if (used[c]) glyphs[c] = &text.getFont()->getGlyph(static_cast<sf::Uint32>(c), size, false);
        // Taken after every letter is in: a new glyph may move the page to a larger texture.
        page = &text.getFont()->getTexture(size);
    }
    static std::vector<sf::Vertex> run;
    run.clear();
    const sf::Vector2f bounds(target.getSize());
    const auto flush = [&] {
        if (run.empty()) return;
        sf::RenderStates states;
        states.texture = page;
        target.draw(run.data(), run.size(), sf::Triangles, states);
        run.clear();
    };
    const float baseline = static_cast<float>(size);
    for (const PlacedLetter& l : letters) {
        const unsigned char c = static_cast<unsigned char>(l.letter);
        const sf::Glyph* g = batched && c < glyphs.size() ? glyphs[c] : nullptr;
        if (g != nullptr) {
            const float top = l.at.y + baseline + g->bounds.top - 1.f, bottom = top + g->bounds.height + 2.f;
            const float left = l.at.x + g->bounds.left - 1.f, right = left + g->bounds.width + 2.f;
            if (top >= bounds.y || bottom <= 0.f || left >= bounds.x || right <= 0.f) continue;
            if (top >= 0.f && left >= 0.f && bottom <= bounds.y && right <= bounds.x) {
                appendGlyph(run, *g, {l.at.x, l.at.y + baseline}, text.getFillColor());
                if (run.size() >= 24 * 6) flush();
                continue;
            }
            flush();
        }
        text.setString(sf::String(l.letter));
        text.setPosition(l.at);
        target.draw(text);
    }
    flush();
}
