// Drawing a Mandelbrot picture: the full-screen ground through the palette, and the grey map.
#include "minigames/Mandelbrot.hpp"

#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <array>
#include <cstdio>
#include <algorithm>
#include <cstring>

namespace {

constexpr int SCREEN_W = WINDOW_WIDTH;
constexpr int SCREEN_H = WINDOW_HEIGHT;
constexpr int THUMB = 250;

inline void putPixel(std::uint8_t* p, sf::Color c) {
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
}

} // namespace

const std::vector<std::uint8_t>& Mandelbrot::fillScreenImage(Point viewOffset, bool zoomedOut) {
    // The picture lies under the cells it belongs to: window pixel w shows the map pixel
    // viewOffset + w, which is picture pixel (viewOffset + w) x 2 when zoomed out. A map
    // narrower than the screen has a negative offset, and the picture then starts right of or
    // below the window's corner, where the map's first cell is drawn.
    const Point o = viewOffset;
    const int scale = zoomedOut ? 2 : 1;
    screen_.resize(static_cast<std::size_t>(SCREEN_W) * SCREEN_H * 4);
    if (counts_.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        std::fill(screen_.begin(), screen_.end(), 0);
        return screen_;
    }

    // One colour per count; the picture's Magenta is masked out like the image's own fill.
    std::array<sf::Color, MANDELBROT_LIMIT + 1> lut;
    for (int c = 0; c <= MANDELBROT_LIMIT; ++c) {
        sf::Color colour = c == MANDELBROT_LIMIT || palette.empty()
                               ? sf::Color::Black
                               : palette[static_cast<std::size_t>(c) % palette.size()];
        if (colour == sf::Color::Magenta) colour = sf::Color::Transparent;
        lut[static_cast<std::size_t>(c)] = colour;
    }
    // The window pixels whose source lies inside the picture; the rest stay clear.
    const int xBegin = std::max(0, -o.x), yBegin = std::max(0, -o.y);
    const int xEnd = std::min(SCREEN_W, (width + scale - 1) / scale - o.x);
    const int yEnd = std::min(SCREEN_H, (height + scale - 1) / scale - o.y);
    for (int wy = 0; wy < SCREEN_H; ++wy) {
        std::uint8_t* out = screen_.data() + static_cast<std::size_t>(wy) * SCREEN_W * 4;
        if (wy < yBegin || wy >= yEnd || xBegin >= xEnd) {
            std::fill(out, out + SCREEN_W * 4, 0);
            continue;
        }
        std::fill(out, out + xBegin * 4, 0);
        std::fill(out + xEnd * 4, out + SCREEN_W * 4, 0);
        const int sy = (o.y + wy) * scale;
        const int sx0 = (o.x + xBegin) * scale;
        const int sx1 = (o.x + xEnd - 1) * scale + 1;
        ensureRow(sy, sx0, sx1, scale);
        const std::int32_t* row = counts_.data() + static_cast<std::size_t>(sy) * width;
        for (int wx = xBegin; wx < xEnd; ++wx)
            putPixel(out + wx * 4, lut[static_cast<std::size_t>(row[sx0 + (wx - xBegin) * scale])]);
    }
    return screen_;
}

void Mandelbrot::draw(sf::RenderTarget& window, Point viewOffset) {
    static sf::Texture texture;
    if (texture.getSize() != sf::Vector2u(SCREEN_W, SCREEN_H)) texture.create(SCREEN_W, SCREEN_H);
    const std::vector<std::uint8_t>& pixels = fillScreenImage(viewOffset, displayTileSize != TILE_SIZE);
    texture.update(pixels.data());
    window.draw(sf::Sprite(texture));

    char numbers[128];
    std::snprintf(numbers, sizeof numbers, "%.6f %.6f %.6f %.6f", view.re0, view.im0, view.re1,
                  view.im1);
    sf::Text text(numbers, resources->getFont("Nice"));
    text.setFillColor(randomColor());
    text.setPosition(50, 50);
    window.draw(text);
}

std::vector<std::uint8_t> Mandelbrot::thumbnailImage() {
    std::vector<std::uint8_t> image(static_cast<std::size_t>(THUMB) * THUMB * 4, 0);
    if (width <= 0 || height <= 0) return image;
    for (int py = 0; py < THUMB; ++py) {
        const int sy = static_cast<int>(static_cast<long long>(py) * height / THUMB);
        for (int px = 0; px < THUMB; ++px) {
            const int sx = static_cast<int>(static_cast<long long>(px) * width / THUMB);
            const std::int32_t c = count(sx, sy);
            const sf::Color colour =
                c != MANDELBROT_LIMIT && !palette.empty()
                    ? sf::Color(static_cast<sf::Uint8>(c), static_cast<sf::Uint8>(c),
                                static_cast<sf::Uint8>(c), 100)
                    : sf::Color::Black;
            putPixel(image.data() + (static_cast<std::size_t>(py) * THUMB + px) * 4, colour);
        }
    }
    return image;
}

void Mandelbrot::drawThumbnail(sf::RenderTarget& window, Point position) {
    static sf::Texture texture;
    if (texture.getSize() != sf::Vector2u(THUMB, THUMB)) texture.create(THUMB, THUMB);
    const std::vector<std::uint8_t> pixels = thumbnailImage();
    texture.update(pixels.data());
    sf::Sprite sprite(texture);
    sprite.setPosition(static_cast<float>(position.x), static_cast<float>(position.y));
    window.draw(sprite);
}
