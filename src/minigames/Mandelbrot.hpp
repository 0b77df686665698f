// An escape-time picture of a rectangle of the complex plane: a cache of iteration counts shown
// through a cycling palette, as a scene's full-screen ground or as a small grey map. The counts
// also shape the walkable world (dense cells block, varied cells carry the generated maze).
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <cstdint>
#include <deque>
#include <vector>

namespace sf {
class RenderTarget;
}

// The iteration limit; a pixel that reaches it counts as inside the set.
constexpr std::int32_t MANDELBROT_LIMIT = 100;

struct MandelbrotView {
    double re0 = -2.5, im0 = -1.25, re1 = 1.0, im1 = 1.25;
    bool operator==(const MandelbrotView&) const = default;
};

class Mandelbrot {
public:
    std::deque<sf::Color> palette;
    MandelbrotView view;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool cachePopulated = false;
    // The key colours the scene file gave (random ones already drawn), kept so that a copy can
    // be shown inverted without reading the file again.
    std::vector<sf::Color> keyColours;

    // Sizes the count cache to width x height and forgets every count.
    void resize(std::int32_t w, std::int32_t h);
    // The record without its counts: what planet generation copies before sizing the copy.
    Mandelbrot copyWithoutCounts() const;

    // Takes the current view as the one the cache holds. Counts are computed the first time they
    // are read, each exactly as a full fill at this call would compute it, so every picture drawn
    // is identical and a later change of `view` changes no count until the next call.
    // Re-populating with the view the cache already holds keeps the counts.
    void PopulateCache();
    // Computes every count now (what a full fill costs).
    void fillAll();
    void setColors(const std::vector<sf::Color>& keys);
    void rotateColors();

    // countBuffer_[x][y]: 1 to 100. The caller keeps x and y inside the picture.
    std::int32_t count(int x, int y);
    // A row of counts, computed where still unknown: source columns x0, x0 + step, ... below
    // x1 of row y.
    void ensureRow(int y, int x0, int x1, int step);

    std::vector<Point> findDenseCells(Point gridSize);
    std::vector<Point> findVariedCells(Point gridSize);

    // The picture under the map's cells for the scene's view offset (window pixels whose source
    // lies outside it stay clear) and the view's numbers; draws three rand() for the text colour (blue, green, red).
    void draw(sf::RenderTarget& window, Point viewOffset);
    // The 250 x 250 grey map, sampled over the whole picture whatever the zoom.
    void drawThumbnail(sf::RenderTarget& window, Point position);
    // The window image draw() shows, as RGBA bytes of 1920 x 1080 (what the benchmark times).
    const std::vector<std::uint8_t>& fillScreenImage(Point viewOffset, bool zoomedOut);
    // The 250 x 250 thumbnail as RGBA bytes.
    std::vector<std::uint8_t> thumbnailImage();

private:
    std::vector<std::int32_t> counts_; // row-major, 0 = not computed yet
    MandelbrotView cachedView_;
    bool cacheValid_ = false;
    std::vector<std::uint8_t> screen_;

    void holdView();
    double pixelRe(int x) const;
    double pixelIm(int y) const;
    std::vector<Point> sampleCells(Point gridSize, int samples, bool dense);
};

// The plain escape-time count of one point (the reference every fast path must match).
std::int32_t mandelbrotEscapeCount(double re, double im);
// The count of every pixel of a picture computed the plain way, row-major.
std::vector<std::int32_t> mandelbrotReferenceCounts(const MandelbrotView& view, int width,
                                                    int height);
