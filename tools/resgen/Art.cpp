#include "Art.hpp"

#include <SFML/Audio/OutputSoundFile.hpp>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace art {

// ---------------------------------------------------------------------------------------------
// Colours

namespace {
std::uint8_t clampByte(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.f, 255.f)));
}
} // namespace

sf::Color rgb(int r, int g, int b, int a) {
    return sf::Color(static_cast<sf::Uint8>(std::clamp(r, 0, 255)),
                     static_cast<sf::Uint8>(std::clamp(g, 0, 255)),
                     static_cast<sf::Uint8>(std::clamp(b, 0, 255)),
                     static_cast<sf::Uint8>(std::clamp(a, 0, 255)));
}

sf::Color shade(sf::Color c, float f) {
    if (f <= 1.f)
        return sf::Color(clampByte(c.r * f), clampByte(c.g * f), clampByte(c.b * f), c.a);
    float t = std::min(f - 1.f, 1.f);
    return sf::Color(clampByte(c.r + (255 - c.r) * t), clampByte(c.g + (255 - c.g) * t),
                     clampByte(c.b + (255 - c.b) * t), c.a);
}

sf::Color mix(sf::Color a, sf::Color b, float t) {
    t = std::clamp(t, 0.f, 1.f);
    return sf::Color(clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t),
                     clampByte(a.b + (b.b - a.b) * t), clampByte(a.a + (b.a - a.a) * t));
}

sf::Color withAlpha(sf::Color c, int alpha) {
    c.a = static_cast<sf::Uint8>(std::clamp(alpha, 0, 255));
    return c;
}

// ---------------------------------------------------------------------------------------------
// Randomness and noise

std::uint32_t Rng::next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_;
}
int Rng::below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<unsigned>(n)); }
float Rng::unit() { return static_cast<float>(next() & 0xffffff) / float(0x1000000); }
float Rng::range(float lo, float hi) { return lo + (hi - lo) * unit(); }
int Rng::range(int lo, int hi) { return lo + below(hi - lo + 1); }

namespace {
float hashUnit(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xffffff) / float(0xffffff);
}
float smooth(float t) { return t * t * (3.f - 2.f * t); }
int wrap(int v, int period) {
    if (period <= 0) return v;
    v %= period;
    return v < 0 ? v + period : v;
}
} // namespace

namespace {
float valueNoiseWrapped(float x, float y, std::uint32_t seed, int periodX, int periodY) {
    int x0 = static_cast<int>(std::floor(x));
    int y0 = static_cast<int>(std::floor(y));
    float fx = smooth(x - x0), fy = smooth(y - y0);
    auto at = [&](int i, int j) { return hashUnit(wrap(i, periodX), wrap(j, periodY), seed); };
    float a = at(x0, y0), b = at(x0 + 1, y0), c = at(x0, y0 + 1), d = at(x0 + 1, y0 + 1);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}
} // namespace

float valueNoise(float x, float y, std::uint32_t seed, int period) {
    return valueNoiseWrapped(x, y, seed, period, period);
}

float fractalNoise(float x, float y, float cell, int octaves, std::uint32_t seed, int w, int h) {
    float sum = 0, norm = 0, amp = 1;
    float c = cell;
    for (int o = 0; o < octaves; ++o) {
        const int px = w > 0 ? std::max(1, static_cast<int>(std::lround(w / c))) : 0;
        const int py = h > 0 ? std::max(1, static_cast<int>(std::lround(h / c))) : 0;
        sum += amp * valueNoiseWrapped(x / c, y / c, seed + 101u * static_cast<unsigned>(o), px, py);
        norm += amp;
        amp *= 0.5f;
        c = std::max(1.f, c / 2.f);
    }
    return norm > 0 ? sum / norm : 0.f;
}

// ---------------------------------------------------------------------------------------------
// Canvas

Canvas::Canvas(int w, int h, sf::Color fillColour) : w_(w), h_(h) {
    img_.create(static_cast<unsigned>(w), static_cast<unsigned>(h), fillColour);
}

sf::Color Canvas::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return CLEAR;
    return img_.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
}

void Canvas::set(int x, int y, sf::Color c) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    img_.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y), c);
}

void Canvas::blend(int x, int y, sf::Color c, float coverage) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || coverage <= 0.f) return;
    float sa = c.a / 255.f * std::min(coverage, 1.f);
    if (sa <= 0.f) return;
    sf::Color d = img_.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
    float da = d.a / 255.f;
    float oa = sa + da * (1 - sa);
    auto ch = [&](float s, float dd) { return (s * sa + dd * da * (1 - sa)) / oa; };
    img_.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y),
                  sf::Color(clampByte(ch(c.r, d.r)), clampByte(ch(c.g, d.g)),
                            clampByte(ch(c.b, d.b)), clampByte(oa * 255.f)));
}

void Canvas::fill(sf::Color c) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) set(x, y, c);
}

void Canvas::fillRect(float x, float y, float w, float h, sf::Color c) {
    int x0 = std::max(0, static_cast<int>(std::floor(x)));
    int y0 = std::max(0, static_cast<int>(std::floor(y)));
    int x1 = std::min(w_, static_cast<int>(std::ceil(x + w)));
    int y1 = std::min(h_, static_cast<int>(std::ceil(y + h)));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
            float cx = std::min<float>(i + 1, x + w) - std::max<float>(i, x);
            float cy = std::min<float>(j + 1, y + h) - std::max<float>(j, y);
            blend(i, j, c, std::clamp(cx, 0.f, 1.f) * std::clamp(cy, 0.f, 1.f));
        }
}

void Canvas::strokeRect(float x, float y, float w, float h, float t, sf::Color c) {
    fillRect(x, y, w, t, c);
    fillRect(x, y + h - t, w, t, c);
    fillRect(x, y + t, t, h - 2 * t, c);
    fillRect(x + w - t, y + t, t, h - 2 * t, c);
}

void Canvas::fillRoundRect(float x, float y, float w, float h, float r, sf::Color c) {
    r = std::min({r, w / 2, h / 2});
    int x0 = std::max(0, static_cast<int>(x)), y0 = std::max(0, static_cast<int>(y));
    int x1 = std::min(w_, static_cast<int>(std::ceil(x + w)));
    int y1 = std::min(h_, static_cast<int>(std::ceil(y + h)));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
            float px = i + 0.5f, py = j + 0.5f;
            float qx = std::max(std::abs(px - (x + w / 2)) - (w / 2 - r), 0.f);
            float qy = std::max(std::abs(py - (y + h / 2)) - (h / 2 - r), 0.f);
            float d = std::sqrt(qx * qx + qy * qy) - r;
            blend(i, j, c, std::clamp(0.5f - d, 0.f, 1.f));
        }
}

void Canvas::fillEllipse(float cx, float cy, float rx, float ry, sf::Color c) {
    if (rx <= 0 || ry <= 0) return;
    int x0 = std::max(0, static_cast<int>(cx - rx - 1)), x1 = std::min(w_, static_cast<int>(cx + rx + 2));
    int y0 = std::max(0, static_cast<int>(cy - ry - 1)), y1 = std::min(h_, static_cast<int>(cy + ry + 2));
    float rm = std::min(rx, ry);
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
            float dx = (i + 0.5f - cx) / rx, dy = (j + 0.5f - cy) / ry;
            float d = (std::sqrt(dx * dx + dy * dy) - 1.f) * rm;
            blend(i, j, c, std::clamp(0.5f - d, 0.f, 1.f));
        }
}

void Canvas::fillCircle(float cx, float cy, float r, sf::Color c) { fillEllipse(cx, cy, r, r, c); }

void Canvas::strokeCircle(float cx, float cy, float r, float t, sf::Color c) {
    int x0 = std::max(0, static_cast<int>(cx - r - t)), x1 = std::min(w_, static_cast<int>(cx + r + t + 2));
    int y0 = std::max(0, static_cast<int>(cy - r - t)), y1 = std::min(h_, static_cast<int>(cy + r + t + 2));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
            float d = std::abs(std::hypot(i + 0.5f - cx, j + 0.5f - cy) - r) - t / 2;
            blend(i, j, c, std::clamp(0.5f - d, 0.f, 1.f));
        }
}

void Canvas::line(float ax, float ay, float bx, float by, float t, sf::Color c) {
    float r = t / 2;
    int x0 = std::max(0, static_cast<int>(std::min(ax, bx) - r - 1));
    int x1 = std::min(w_, static_cast<int>(std::max(ax, bx) + r + 2));
    int y0 = std::max(0, static_cast<int>(std::min(ay, by) - r - 1));
    int y1 = std::min(h_, static_cast<int>(std::max(ay, by) + r + 2));
    float dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
            float px = i + 0.5f - ax, py = j + 0.5f - ay;
            float u = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.f, 1.f) : 0.f;
            float d = std::hypot(px - u * dx, py - u * dy) - r;
            blend(i, j, c, std::clamp(0.5f - d, 0.f, 1.f));
        }
}

void Canvas::fillPolygon(const std::vector<sf::Vector2f>& pts, sf::Color c) {
    if (pts.size() < 3) return;
    float minY = pts[0].y, maxY = pts[0].y;
    for (auto& p : pts) minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    // 4x vertical supersampling per row, exact horizontal coverage per span.
    int y0 = std::max(0, static_cast<int>(minY)), y1 = std::min(h_, static_cast<int>(std::ceil(maxY)) + 1);
    std::vector<float> cover(static_cast<std::size_t>(w_));
    for (int j = y0; j < y1; ++j) {
        std::fill(cover.begin(), cover.end(), 0.f);
        for (int s = 0; s < 4; ++s) {
            float sy = j + (s + 0.5f) / 4.f;
            std::vector<float> xs;
            for (std::size_t k = 0; k < pts.size(); ++k) {
                sf::Vector2f a = pts[k], b = pts[(k + 1) % pts.size()];
                if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
                    xs.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
            }
            std::sort(xs.begin(), xs.end());
            for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
                float xa = std::max(0.f, xs[k]), xb = std::min<float>(w_, xs[k + 1]);
                for (int i = static_cast<int>(xa); i < w_ && i < xb; ++i) {
                    float cov = std::min<float>(i + 1, xb) - std::max<float>(i, xa);
                    if (cov > 0) cover[static_cast<std::size_t>(i)] += cov / 4.f;
                }
            }
        }
        for (int i = 0; i < w_; ++i)
            if (cover[static_cast<std::size_t>(i)] > 0) blend(i, j, c, cover[static_cast<std::size_t>(i)]);
    }
}

void Canvas::gradientRect(float x, float y, float w, float h, sf::Color top, sf::Color bottom) {
    for (int j = 0; j < static_cast<int>(h); ++j)
        fillRect(x, y + j, w, 1, mix(top, bottom, h > 1 ? j / (h - 1) : 0.f));
}

void Canvas::glow(float cx, float cy, float r, sf::Color c) {
    int x0 = std::max(0, static_cast<int>(cx - r)), x1 = std::min(w_, static_cast<int>(cx + r + 1));
    int y0 = std::max(0, static_cast<int>(cy - r)), y1 = std::min(h_, static_cast<int>(cy + r + 1));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
            float d = std::hypot(i + 0.5f - cx, j + 0.5f - cy) / r;
            if (d < 1) blend(i, j, c, (1 - d) * (1 - d));
        }
}

void Canvas::noiseFill(float x, float y, float w, float h, sf::Color base, float strength,
                       float cell, std::uint32_t seed) {
    int x0 = std::max(0, static_cast<int>(x)), x1 = std::min(w_, static_cast<int>(x + w));
    int y0 = std::max(0, static_cast<int>(y)), y1 = std::min(h_, static_cast<int>(y + h));
    for (int j = y0; j < y1; ++j)
        for (int i = x0; i < x1; ++i) {
            float n = fractalNoise(static_cast<float>(i), static_cast<float>(j), cell, 3, seed, w_, h_);
            set(i, j, shade(base, 1.f + (n - 0.5f) * 2.f * strength));
        }
}

void Canvas::noiseShade(float strength, float cell, std::uint32_t seed) {
    for (int j = 0; j < h_; ++j)
        for (int i = 0; i < w_; ++i) {
            sf::Color c = get(i, j);
            if (c.a == 0) continue;
            float n = fractalNoise(static_cast<float>(i), static_cast<float>(j), cell, 3, seed, w_, h_);
            set(i, j, shade(c, 1.f + (n - 0.5f) * 2.f * strength));
        }
}

void Canvas::speckle(float x, float y, float w, float h, int n, sf::Color c, std::uint32_t seed) {
    Rng rng(seed);
    for (int k = 0; k < n; ++k) {
        float px = x + rng.unit() * w, py = y + rng.unit() * h;
        float r = rng.range(0.6f, 1.6f);
        fillCircle(px, py, r, c);
    }
}

void Canvas::outline(sf::Color c, int thickness) {
    for (int t = 0; t < thickness; ++t) {
        sf::Image src = img_;
        auto opaque = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < w_ && y < h_ &&
                   src.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)).a > 100;
        };
        for (int j = 0; j < h_; ++j)
            for (int i = 0; i < w_; ++i) {
                if (opaque(i, j)) continue;
                if (opaque(i - 1, j) || opaque(i + 1, j) || opaque(i, j - 1) || opaque(i, j + 1))
                    blend(i, j, c);
            }
    }
}

void Canvas::bevel(float x, float y, float w, float h, int size, float strength) {
    int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    int x1 = static_cast<int>(x + w) - 1, y1 = static_cast<int>(y + h) - 1;
    for (int k = 0; k < size; ++k) {
        float f = strength * (1.f - static_cast<float>(k) / size);
        for (int i = x0 + k; i <= x1 - k; ++i) {
            set(i, y0 + k, shade(get(i, y0 + k), 1 + f));
            set(i, y1 - k, shade(get(i, y1 - k), 1 - f));
        }
        for (int j = y0 + k + 1; j < y1 - k; ++j) {
            set(x0 + k, j, shade(get(x0 + k, j), 1 + f));
            set(x1 - k, j, shade(get(x1 - k, j), 1 - f));
        }
    }
}

void Canvas::paste(const Canvas& o, int x, int y) {
    for (int j = 0; j < o.height(); ++j)
        for (int i = 0; i < o.width(); ++i) {
            sf::Color c = o.get(i, j);
            if (c.a) blend(x + i, y + j, c);
        }
}

Canvas Canvas::mirrored() const {
    Canvas out(w_, h_);
    for (int j = 0; j < h_; ++j)
        for (int i = 0; i < w_; ++i) out.set(w_ - 1 - i, j, get(i, j));
    return out;
}

Canvas Canvas::scaled(int w, int h) const {
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) out.set(i, j, get(i * w_ / w, j * h_ / h));
    return out;
}

// ---------------------------------------------------------------------------------------------
// Sound

namespace {
constexpr float PI = 3.14159265358979f;
float waveAt(Wave w, float phase, Rng& rng) {
    float p = phase - std::floor(phase);
    switch (w) {
    case Wave::Sine: return std::sin(2 * PI * p);
    case Wave::Square: return p < 0.5f ? 0.6f : -0.6f;
    case Wave::Triangle: return p < 0.5f ? 4 * p - 1 : 3 - 4 * p;
    case Wave::Saw: return (2 * p - 1) * 0.7f;
    case Wave::Noise: return rng.unit() * 2 - 1;
    }
    return 0;
}
} // namespace

void Samples::ensure(std::size_t n) {
    if (data.size() < n) data.resize(n, 0.f);
}

void Samples::tone(float start, float seconds, float freq, float volume, Wave wave, float attack,
                   float release) {
    auto s0 = static_cast<std::size_t>(start * SAMPLE_RATE);
    auto n = static_cast<std::size_t>(seconds * SAMPLE_RATE);
    ensure(s0 + n);
    Rng rng(static_cast<std::uint32_t>(freq * 100) + 7);
    for (std::size_t i = 0; i < n; ++i) {
        float t = static_cast<float>(i) / SAMPLE_RATE;
        float env = 1.f;
        if (attack > 0 && t < attack) env = t / attack;
        float left = seconds - t;
        if (release > 0 && left < release) env *= std::max(0.f, left / release);
        data[s0 + i] += volume * env * waveAt(wave, freq * t, rng);
    }
}

void Samples::sweep(float start, float seconds, float f0, float f1, float volume, Wave wave) {
    auto s0 = static_cast<std::size_t>(start * SAMPLE_RATE);
    auto n = static_cast<std::size_t>(seconds * SAMPLE_RATE);
    ensure(s0 + n);
    Rng rng(99);
    float phase = 0;
    for (std::size_t i = 0; i < n; ++i) {
        float u = static_cast<float>(i) / n;
        float f = f0 + (f1 - f0) * u;
        phase += f / SAMPLE_RATE;
        float env = std::min(1.f, u * 40.f) * (1.f - u);
        data[s0 + i] += volume * env * waveAt(wave, phase, rng);
    }
}

void Samples::noise(float start, float seconds, float volume, float decay, std::uint32_t seed) {
    auto s0 = static_cast<std::size_t>(start * SAMPLE_RATE);
    auto n = static_cast<std::size_t>(seconds * SAMPLE_RATE);
    ensure(s0 + n);
    Rng rng(seed);
    float prev = 0;
    for (std::size_t i = 0; i < n; ++i) {
        float t = static_cast<float>(i) / SAMPLE_RATE;
        float v = rng.unit() * 2 - 1;
        prev = prev * 0.5f + v * 0.5f; // a little softer than white noise
        data[s0 + i] += volume * std::exp(-decay * t) * prev;
    }
}

void Samples::normalise(float peak) {
    float m = 0;
    for (float v : data) m = std::max(m, std::abs(v));
    if (m <= 0) return;
    for (float& v : data) v *= peak / m;
}

float noteFreq(int semitones) { return 440.f * std::pow(2.f, semitones / 12.f); }

Samples renderTune(const Tune& tune) {
    Samples s;
    float beat = 60.f / tune.bpm;
    std::size_t beats = std::max(tune.melody.size(), tune.bass.size() * 4);
    s.ensure(static_cast<std::size_t>(beats * beat * SAMPLE_RATE));
    for (std::size_t i = 0; i < tune.melody.size(); ++i) {
        int n = tune.melody[i];
        if (n <= -100) continue;
        s.tone(i * beat, beat * 0.95f, noteFreq(n), tune.leadVolume, tune.lead, 0.01f, beat * 0.4f);
        // A quiet octave above for shimmer.
        s.tone(i * beat, beat * 0.6f, noteFreq(n + 12), tune.leadVolume * 0.12f, Wave::Sine, 0.01f, beat * 0.3f);
    }
    for (std::size_t b = 0; b < tune.bass.size(); ++b) {
        int n = tune.bass[b];
        if (n <= -100) continue;
        for (int k = 0; k < 2; ++k)
            s.tone((b * 4 + k * 2) * beat, beat * 1.9f, noteFreq(n - 24), 0.3f, tune.bassWave, 0.02f, beat * 0.5f);
        s.tone(b * 4 * beat, beat * 3.8f, noteFreq(n - 12 + 7), 0.08f, Wave::Sine, 0.2f, beat);
    }
    if (tune.drums) {
        for (std::size_t i = 0; i < beats; ++i) {
            if (i % 2 == 0) s.sweep(i * beat, 0.12f, 120.f, 45.f, 0.45f); // kick
            else s.noise(i * beat, 0.08f, 0.15f, 40.f, static_cast<std::uint32_t>(i + 3)); // hat
        }
    }
    s.normalise(0.7f);
    return s;
}

// ---------------------------------------------------------------------------------------------
// Context and registry

Context::Context(std::filesystem::path root) : root_(std::move(root)) {
    std::filesystem::create_directories(root_);
}

std::filesystem::path Context::folder(const std::string& f) {
    auto p = root_ / f;
    std::filesystem::create_directories(p);
    return p;
}

void Context::counted(const std::filesystem::path& p) {
    ++files_;
    std::error_code ec;
    auto size = std::filesystem::file_size(p, ec);
    if (!ec) bytes_ += size;
}

void Context::saveImage(const std::string& f, const std::string& name, const sf::Image& img) {
    auto p = folder(f) / (name + ".png");
    if (!img.saveToFile(p.string())) throw std::runtime_error("cannot write " + p.string());
    counted(p);
}

void Context::savePicture(const std::string& f, const std::string& name, const Canvas& c) {
    saveImage(f, name, c.image());
}

namespace {
void writeSamples(const std::filesystem::path& p, const Samples& s) {
    sf::OutputSoundFile out;
    if (!out.openFromFile(p.string(), SAMPLE_RATE, 1))
        throw std::runtime_error("cannot write " + p.string());
    std::vector<sf::Int16> pcm(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        pcm[i] = static_cast<sf::Int16>(std::clamp(s.data[i], -1.f, 1.f) * 32000.f);
    out.write(pcm.data(), pcm.size());
}
} // namespace

void Context::saveSound(const std::string& name, const Samples& s) {
    auto p = folder("Sounds") / (name + ".ogg");
    writeSamples(p, s);
    counted(p);
}

void Context::saveMusic(const std::string& name, const Samples& s) {
    auto p = folder("Musics") / (name + ".ogg");
    writeSamples(p, s);
    counted(p);
}

void Context::copyFont(const std::string& name, const std::string& liberationFile) {
    auto from = std::filesystem::path("/usr/share/fonts/truetype/liberation") / liberationFile;
    auto to = folder("Fonts") / (name + ".ttf");
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    counted(to);
}

std::vector<Registered>& registry() {
    static std::vector<Registered> all;
    return all;
}

Registrar::Registrar(const char* name, ArtFunction fn) { registry().push_back({name, fn}); }

} // namespace art
