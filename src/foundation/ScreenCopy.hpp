// Pictures kept in the window's own pixel layout, put on the screen by a framebuffer copy.
//
// The software renderer shades every textured pixel it draws, which makes a screen of textured
// ground cost about as much as the rest of a frame together. A framebuffer blit between
// pictures of the same layout, same size and no scaling is a plain memory copy for it instead.
// It takes that road only when the source is stored BGRA (a texture given unsized RGBA with BGRA
// data) and the rows need no reordering: the window keeps its rows top first, a texture bottom
// first, so a kept picture is drawn into upside down and copied back with a flip. Any other
// renderer copies the same pixels by its own means.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/View.hpp>

#include <memory>

namespace sf {
class RenderWindow;
}

class ScreenCopySource {
public:
    ScreenCopySource() = default;
    ScreenCopySource(const ScreenCopySource&) = delete;
    ScreenCopySource& operator=(const ScreenCopySource&) = delete;
    // Gives back the window's read framebuffer too: it holds the picture's pixels, which the
    // renderer would otherwise keep for as long as the window lives.
    ~ScreenCopySource();

    // False when the renderer lacks framebuffer objects or copies: draw the long way then.
    bool create(unsigned width, unsigned height);
    bool ready() const { return ready_; }
    // The target to draw into, through view(): a view of the picture (0, 0)..(width, height)
    // turned upside down, so that the stored rows come out the right way round.
    sf::RenderTexture& target() { return target_; }
    sf::View view() const;
    // Drawing into the target with its default view and the window's own arithmetic instead of
    // view(): the clip origin turned to the upper left lays the rows top first, and shapes at
    // fractional places (which the upside-down view moves by a pixel now and then) get the
    // window's pixels. False when the renderer cannot turn it: use view() then. Until
    // endUpright(), draw nothing but the target.
    bool beginUpright();
    void endUpright();
    // Ends a run of drawing into the target: it is complete before any copy reads it.
    void finishDrawing();
    // Makes the picture readable from the window's context; false when it cannot be.
    bool attach(sf::RenderWindow& window);
    // Copies the rectangle at `from` (picture pixels, top-left origin) of `size` onto `window`
    // at `to`, clipped to both pictures, after a true attach to that window.
    void copyTo(sf::RenderWindow& window, Point from, Point size, Point to);

private:
    void releaseReadBuffer();
    // attach() with the window's context active.
    bool attachToActive(sf::RenderWindow& window);

    sf::RenderTexture target_;
    unsigned readBuffer_ = 0; // in the window's context: framebuffer objects are not shared
    const sf::RenderWindow* readWindow_ = nullptr;
    sf::Uint64 readContext_ = 0; // that context: a window made later in the same place has another
    unsigned width_ = 0, height_ = 0;
    bool ready_ = false;
};

// Whether drawing into the window can be limited to a rectangle of it (ScissorScope). Makes the
// window's context the active one.
bool windowClipsToRectangles(sf::RenderWindow& window);

// While it lasts, drawing into the active window changes only the pixels inside `area` (window
// pixels, top-left origin); those inside come out as they would without it. Only after a true
// windowClipsToRectangles for that window.
class ScissorScope {
public:
    ScissorScope(const sf::RenderWindow& window, sf::IntRect area);
    ~ScissorScope();
    ScissorScope(const ScissorScope&) = delete;
    ScissorScope& operator=(const ScissorScope&) = delete;
};

// Whether the rectangle of the active target's pixels (counted from its first stored row) holds
// nothing drawn: alpha 0 throughout. False when it cannot be read.
bool readAlphaIsClear(int x, int y, int width, int height);
