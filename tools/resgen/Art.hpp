// The demo resource generator's framework. Each area of the game adds a file art_<area>.cpp
// holding one or more
//
//     REGISTER_ART(trees) {
//         Canvas c(120, 120);
//         c.fillCircle(60, 50, 40, rgb(40, 140, 60));
//         ctx.savePicture("Objects", "Tree", c);
//     }
//
// blocks. Every registered function runs once per generation, in name order, and writes into
// the Resources tree through its context `ctx`. Pictures are PNG (transparent where nothing is
// drawn), sounds and musics are OGG, fonts are copies of Debian's Liberation fonts.
#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace art {

// ---------------------------------------------------------------------------------------------
// Colours

sf::Color rgb(int r, int g, int b, int a = 255);
// factor < 1 darkens toward black, > 1 lightens toward white (2 = white).
sf::Color shade(sf::Color c, float factor);
sf::Color mix(sf::Color a, sf::Color b, float t);
// c with its alpha replaced.
sf::Color withAlpha(sf::Color c, int alpha);
inline const sf::Color CLEAR{0, 0, 0, 0};
// The pictures' angles all use this one value, so every picture comes out as it always has.
constexpr float PI = 3.14159265f;

// ---------------------------------------------------------------------------------------------
// Deterministic randomness and noise (the tree is the same on every build)

class Rng {
public:
    explicit Rng(std::uint32_t seed) : s_(seed ? seed : 0x9e3779b9u) {}
    std::uint32_t next();
    int below(int n);                 // 0 .. n-1
    float unit();                     // 0 .. 1
    float range(float lo, float hi);
    int range(int lo, int hi);        // lo .. hi inclusive

private:
    std::uint32_t s_;
};

// Smooth value noise in 0..1; period > 0 makes it tile with that period (in cells).
float valueNoise(float x, float y, std::uint32_t seed, int period = 0);
// Several octaves of valueNoise, 0..1; cell is the size of the coarsest octave in pixels.
// With w, h > 0 the noise wraps every w pixels across and h down, so a w x h tile repeats
// without seams (best when w and h are multiples of cell).
float fractalNoise(float x, float y, float cell, int octaves, std::uint32_t seed, int w = 0,
                   int h = 0);

// ---------------------------------------------------------------------------------------------
// Pictures: an sf::Image with blending drawing operations. Shapes are anti-aliased on their
// edges; colours with alpha below 255 blend over what is there.

class Canvas {
public:
    Canvas(int w, int h, sf::Color fill = CLEAR);
    int width() const { return w_; }
    int height() const { return h_; }
    sf::Image& image() { return img_; }
    const sf::Image& image() const { return img_; }

    sf::Color get(int x, int y) const;
    void set(int x, int y, sf::Color c);            // replaces, no blending
    void blend(int x, int y, sf::Color c, float coverage = 1.f);

    void fill(sf::Color c);
    void fillRect(float x, float y, float w, float h, sf::Color c);
    void strokeRect(float x, float y, float w, float h, float thickness, sf::Color c);
    void fillRoundRect(float x, float y, float w, float h, float radius, sf::Color c);
    void fillCircle(float cx, float cy, float r, sf::Color c);
    void strokeCircle(float cx, float cy, float r, float thickness, sf::Color c);
    void fillEllipse(float cx, float cy, float rx, float ry, sf::Color c);
    void line(float x0, float y0, float x1, float y1, float thickness, sf::Color c);
    void fillPolygon(const std::vector<sf::Vector2f>& points, sf::Color c);
    // Vertical gradient over a rectangle.
    void gradientRect(float x, float y, float w, float h, sf::Color top, sf::Color bottom);
    // Radial glow: colour at the centre fading to nothing at radius r.
    void glow(float cx, float cy, float r, sf::Color c);

    // Every pixel of the rectangle becomes base shaded by fractal noise (strength 0..1).
    void noiseFill(float x, float y, float w, float h, sf::Color base, float strength,
                   float cell, std::uint32_t seed);
    // Shades already drawn pixels by noise, keeping their alpha.
    void noiseShade(float strength, float cell, std::uint32_t seed);
    // Scatters n small specks of colour c over the rectangle.
    void speckle(float x, float y, float w, float h, int n, sf::Color c, std::uint32_t seed);
    // Draws a 1-pixel (or thicker) outline of colour c around every opaque region.
    void outline(sf::Color c, int thickness = 1);
    // Lightens the top-left edges and darkens the bottom-right ones of the rectangle: a bevel.
    void bevel(float x, float y, float w, float h, int size, float strength);
    // Pastes another canvas with blending at (x, y).
    void paste(const Canvas& other, int x, int y);
    // A copy flipped left to right.
    Canvas mirrored() const;
    // A copy scaled by nearest neighbour to w x h.
    Canvas scaled(int w, int h) const;

private:
    int w_, h_;
    sf::Image img_;
};

// ---------------------------------------------------------------------------------------------
// Sound: mono 16-bit sample buffers at SAMPLE_RATE, mixed in floats (-1..1).

constexpr unsigned SAMPLE_RATE = 22050;

enum class Wave { Sine, Square, Triangle, Saw, Noise };

struct Samples {
    std::vector<float> data;
    std::size_t size() const { return data.size(); }
    // Adds a tone starting at `start` seconds. Attack and release in seconds.
    void tone(float start, float seconds, float freq, float volume, Wave wave = Wave::Sine,
              float attack = 0.01f, float release = 0.05f);
    // A tone whose frequency slides from f0 to f1.
    void sweep(float start, float seconds, float f0, float f1, float volume,
               Wave wave = Wave::Sine);
    // Noise burst with an exponential decay (per second).
    void noise(float start, float seconds, float volume, float decay, std::uint32_t seed = 1);
    // Scales so that the loudest sample is `peak`.
    void normalise(float peak = 0.8f);
    void ensure(std::size_t n);
};

// Frequency of a note by semitones from A4 (440 Hz): 0 = A4, 3 = C5, -9 = C4.
float noteFreq(int semitonesFromA4);

// A short looping tune: a melody (semitone offsets, -100 for a rest), each note one beat,
// over a bass line of one note per bar (4 beats), with a light drum.
struct Tune {
    std::vector<int> melody;
    std::vector<int> bass;
    float bpm = 110.f;
    Wave lead = Wave::Triangle;
    Wave bassWave = Wave::Sine;
    bool drums = true;
    float leadVolume = 0.35f;
};
Samples renderTune(const Tune& tune);

// ---------------------------------------------------------------------------------------------
// The context handed to every registered function.

class Context {
public:
    explicit Context(std::filesystem::path root);
    const std::filesystem::path& root() const { return root_; }
    // Resources/<folder>, created on first use.
    std::filesystem::path folder(const std::string& folder);

    // Resources/<folder>/<name>.png
    void savePicture(const std::string& folder, const std::string& name, const Canvas& c);
    void saveImage(const std::string& folder, const std::string& name, const sf::Image& img);
    // Resources/Sounds/<name>.ogg
    void saveSound(const std::string& name, const Samples& s);
    // Resources/Musics/<name>.ogg
    void saveMusic(const std::string& name, const Samples& s);
    // Resources/Fonts/<name>.ttf, a copy of a Debian Liberation font file such as
    // "LiberationSans-Regular.ttf".
    void copyFont(const std::string& name, const std::string& liberationFile);

    int filesWritten() const { return files_; }
    std::uintmax_t bytesWritten() const { return bytes_; }

private:
    void counted(const std::filesystem::path& p);
    std::filesystem::path root_;
    int files_ = 0;
    std::uintmax_t bytes_ = 0;
};

using ArtFunction = void (*)(Context&);

struct Registrar {
    Registrar(const char* name, ArtFunction fn);
};

struct Registered {
    std::string name;
    ArtFunction fn;
};
std::vector<Registered>& registry();

} // namespace art

#define REGISTER_ART(name)                                                   \
    static void art_fn_##name(art::Context& ctx);                           \
    static const art::Registrar art_registrar_##name(#name, art_fn_##name); \
    static void art_fn_##name([[maybe_unused]] art::Context& ctx)
