// The counts of a Mandelbrot picture, its palette and the cell searches. Counts must come out
// bit for bit as the plain loop gives them: this file is built without fused multiply-add, the
// fast path keeps the plain loop's operation order, and it only skips work for points that are
// known to stay inside (the main cardioid and the period-2 bulb).
#include "minigames/Mandelbrot.hpp"

#include <algorithm>
#include <cstdlib>
#include <set>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// The main cardioid and the period-2 bulb: every orbit there stays far below the escape
// radius, so their count is the limit.
inline bool knownInside(double re, double im) {
    const double a = re - 0.25;
    const double q = a * a + im * im;
    if (q * (q + a) < 0.25 * im * im) return true;
    const double b = re + 1.0;
    return b * b + im * im < 0.0625;
}

inline std::int32_t plainCount(double re, double im) {
    double x = 0, y = 0;
    std::int32_t n = 0;
    while (true) {
        if (n >= MANDELBROT_LIMIT) return n;
        const double nx = x * x - y * y + re;
        const double ny = 2 * x * y + im;
        x = nx;
        y = ny;
        ++n;
        if (!(x * x + y * y < 4.0)) return n;
    }
}

// Sixteen points at once in independent register groups, so that one group's multiplications
// wait on nothing another group does; every lane does the plain loop's operations in its order.
constexpr int BATCH = 16;
constexpr int FULL = (1 << BATCH) - 1;

#if defined(__x86_64__)
// The same sixteen lanes in four AVX registers where the processor has them: wider registers only,
// the same multiplications and additions (no fused multiply-add), so the same counts.
__attribute__((target("avx"))) void batchCountAvx(const double* re, const double* im,
                                                  std::int32_t* out) {
    __m256d cr[4], ci[4], x[4], y[4];
    for (int k = 0; k < 4; ++k) {
        cr[k] = _mm256_loadu_pd(re + 4 * k);
        ci[k] = _mm256_loadu_pd(im + 4 * k);
        x[k] = _mm256_setzero_pd();
        y[k] = _mm256_setzero_pd();
    }
    const __m256d four = _mm256_set1_pd(4.0);
    for (int i = 0; i < BATCH; ++i) out[i] = MANDELBROT_LIMIT;
    int live = FULL;
    for (std::int32_t n = 1; n <= MANDELBROT_LIMIT && live; ++n) {
        int escaped = 0;
        for (int k = 0; k < 4; ++k) {
            const __m256d nx = _mm256_add_pd(_mm256_sub_pd(_mm256_mul_pd(x[k], x[k]), _mm256_mul_pd(y[k], y[k])), cr[k]);
            const __m256d ny = _mm256_add_pd(_mm256_mul_pd(_mm256_add_pd(x[k], x[k]), y[k]), ci[k]);
            x[k] = nx;
            y[k] = ny;
            const __m256d mag = _mm256_add_pd(_mm256_mul_pd(nx, nx), _mm256_mul_pd(ny, ny));
            escaped |= _mm256_movemask_pd(_mm256_cmp_pd(mag, four, _CMP_NLT_UQ)) << (4 * k);
        }
        escaped &= live;
        if (escaped) {
            for (int i = 0; i < BATCH; ++i)
                if (escaped & (1 << i)) out[i] = n;
            live &= ~escaped;
        }
    }
}

const bool HAS_AVX = __builtin_cpu_supports("avx");
#endif

inline void batchCount(const double* re, const double* im, std::int32_t* out) {
#if defined(__x86_64__)
    if (HAS_AVX) {
        batchCountAvx(re, im, out);
        return;
    }
#endif
#if defined(__SSE2__)
    __m128d cr[8], ci[8], x[8], y[8];
    for (int k = 0; k < 8; ++k) {
        cr[k] = _mm_loadu_pd(re + 2 * k);
        ci[k] = _mm_loadu_pd(im + 2 * k);
        x[k] = _mm_setzero_pd();
        y[k] = _mm_setzero_pd();
    }
    const __m128d four = _mm_set1_pd(4.0);
    for (int i = 0; i < BATCH; ++i) out[i] = MANDELBROT_LIMIT;
    int live = FULL;
    for (std::int32_t n = 1; n <= MANDELBROT_LIMIT && live; ++n) {
        int escaped = 0;
        for (int k = 0; k < 8; ++k) {
            const __m128d nx = _mm_add_pd(_mm_sub_pd(_mm_mul_pd(x[k], x[k]), _mm_mul_pd(y[k], y[k])), cr[k]);
            const __m128d ny = _mm_add_pd(_mm_mul_pd(_mm_add_pd(x[k], x[k]), y[k]), ci[k]);
            x[k] = nx;
            y[k] = ny;
            const __m128d mag = _mm_add_pd(_mm_mul_pd(nx, nx), _mm_mul_pd(ny, ny));
            escaped |= _mm_movemask_pd(_mm_cmpnlt_pd(mag, four)) << (2 * k);
        }
        escaped &= live;
        if (escaped) {
            for (int i = 0; i < BATCH; ++i)
                if (escaped & (1 << i)) out[i] = n;
            live &= ~escaped;
        }
    }
#else
    for (int i = 0; i < BATCH; ++i) out[i] = plainCount(re[i], im[i]);
#endif
}

} // namespace

std::int32_t mandelbrotEscapeCount(double re, double im) { return plainCount(re, im); }

std::vector<std::int32_t> mandelbrotReferenceCounts(const MandelbrotView& v, int width,
                                                    int height) {
    std::vector<std::int32_t> out(static_cast<std::size_t>(width) * height);
    for (int j = 1; j <= height; ++j) {
        const double im = (v.im1 - v.im0) * j / height + v.im0;
        for (int i = 1; i <= width; ++i) {
            const double re = (v.re1 - v.re0) * i / width + v.re0;
            out[static_cast<std::size_t>(j - 1) * width + (i - 1)] = plainCount(re, im);
        }
    }
    return out;
}

// Counts come from the view the cache was populated with, not from the public view, which its
// owner may change at any time without a new PopulateCache.
double Mandelbrot::pixelRe(int x) const {
    const MandelbrotView& v = cachedView_;
    return (v.re1 - v.re0) * (x + 1) / width + v.re0;
}

double Mandelbrot::pixelIm(int y) const {
    const MandelbrotView& v = cachedView_;
    return (v.im1 - v.im0) * (y + 1) / height + v.im0;
}

void Mandelbrot::holdView() {
    if (cacheValid_) return;
    // Read before any PopulateCache: the view of the first read is the one kept.
    cachedView_ = view;
    cacheValid_ = true;
}

void Mandelbrot::resize(std::int32_t w, std::int32_t h) {
    if (w < 0 || h < 0) fatalAssert("Mandelbrot", 164, "picture size");
    width = w;
    height = h;
    counts_.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    cacheValid_ = false;
}

Mandelbrot Mandelbrot::copyWithoutCounts() const {
    Mandelbrot m;
    m.palette = palette;
    m.view = view;
    m.keyColours = keyColours;
    return m;
}

void Mandelbrot::PopulateCache() {
    cachePopulated = true;
    consoleLine("PopulateCache countBuffer_: ", width, ",", height);
    if (counts_.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        fatalAssert("Mandelbrot", 183, "count cache smaller than the picture");
    if (!cacheValid_ || !(cachedView_ == view)) {
        std::fill(counts_.begin(), counts_.end(), 0);
        cachedView_ = view;
        cacheValid_ = true;
    }
    consoleLine("populated cache.");
}

void Mandelbrot::ensureRow(int y, int x0, int x1, int step) {
    holdView();
    std::int32_t* row = counts_.data() + static_cast<std::size_t>(y) * width;
    const double im = pixelIm(y);
    double re[BATCH], ims[BATCH];
    int xs[BATCH];
    std::int32_t out[BATCH];
    for (double& v : ims) v = im;
    int pending = 0;
    for (int x = x0; x < x1; x += step) {
        if (row[x] != 0) continue;
        const double r = pixelRe(x);
        if (knownInside(r, im)) {
            row[x] = MANDELBROT_LIMIT;
            continue;
        }
        re[pending] = r;
        xs[pending] = x;
        if (++pending == BATCH) {
            batchCount(re, ims, out);
            for (int i = 0; i < BATCH; ++i) row[xs[i]] = out[i];
            pending = 0;
        }
    }
    for (int i = 0; i < pending; ++i) row[xs[i]] = plainCount(re[i], im);
}

void Mandelbrot::fillAll() {
    if (!cacheValid_) PopulateCache();
    for (int y = 0; y < height; ++y) ensureRow(y, 0, width, 1);
}

std::int32_t Mandelbrot::count(int x, int y) {
    std::int32_t& c = counts_[static_cast<std::size_t>(y) * width + x];
    if (c == 0) {
        holdView();
        const double re = pixelRe(x), im = pixelIm(y);
        c = knownInside(re, im) ? MANDELBROT_LIMIT : plainCount(re, im);
    }
    return c;
}

void Mandelbrot::setColors(const std::vector<sf::Color>& keys) {
    consoleLine("Setting colors ", keys.size());
    if (keys.empty()) fatalAssert("Mandelbrot", 236, "no key colours");
    std::vector<sf::Color> L = keys;
    L.push_back(keys.front());
    const int n = static_cast<int>(keys.size());
    const int step = 100 / (n + 1);
    palette.resize(static_cast<std::size_t>(n * step), sf::Color::Black);
    for (int a = 0; a < n; ++a) {
        for (int t = 0; t < step; ++t) {
            auto channel = [&](sf::Uint8 from, sf::Uint8 to) {
                return static_cast<sf::Uint8>(static_cast<int>(
                    from + (static_cast<double>(to) - from) * t / step));
            };
            const sf::Color c(channel(L[a].r, L[a + 1].r), channel(L[a].g, L[a + 1].g),
                              channel(L[a].b, L[a + 1].b), 255);
            const std::size_t index = static_cast<std::size_t>(a * step + t);
            palette[index] = c;
            consoleLine("setting color ", index, " / ", palette.size(), " to ", int(c.r), ",", int(c.g), ",",
                        int(c.b));
        }
    }
    consoleLine("Done setting colors");
}

void Mandelbrot::rotateColors() {
    if (palette.empty()) return;
    palette.push_back(palette.front());
    palette.pop_front();
}

// Both searches sample the picture inside each cell; the picture is sized to its grid, and a
// grid larger than the picture is refused rather than read past its end.
std::vector<Point> Mandelbrot::sampleCells(Point grid, int samples, bool dense) {
    if (grid.x * TILE_SIZE > width || grid.y * TILE_SIZE > height)
        fatalAssert("Mandelbrot", 269, "picture smaller than its grid");
    std::vector<Point> result;
    for (int cx = 0; cx < grid.x; ++cx) {
        for (int cy = 0; cy < grid.y; ++cy) {
            int hits = 0;
            std::set<std::int32_t> distinct;
            for (int s = 0; s < samples; ++s) {
                const int px = cx * TILE_SIZE + std::rand() % TILE_SIZE;
                const int py = cy * TILE_SIZE + std::rand() % TILE_SIZE;
                const std::int32_t c = count(px, py);
                if (c == MANDELBROT_LIMIT) ++hits;
                distinct.insert(c);
            }
            if (dense ? hits >= 10 : distinct.size() > 3) result.push_back({cx, cy});
        }
    }
    return result;
}

std::vector<Point> Mandelbrot::findDenseCells(Point gridSize) {
    return sampleCells(gridSize, 20, true);
}

std::vector<Point> Mandelbrot::findVariedCells(Point gridSize) {
    return sampleCells(gridSize, 30, false);
}
