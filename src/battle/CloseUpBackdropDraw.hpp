// The close-up's still backdrop (its sky colour, the sky details and the background picture or
// the scene's composed backdrop) kept as a picture and copied into the frame's inside, which it
// fills whole. Everything the close-up draws there before the figures is the same every frame
// while the backdrop's inputs stay the same, and filling a screen-sized panel with a textured
// picture costs the software renderer as much as the rest of the frame. The frame's outline,
// which takes a new random colour every frame, and the parts of stars that reach onto it are
// drawn the long way.
#pragma once

#include "foundation/ScreenCopy.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <cstdint>
#include <functional>
#include <memory>

namespace sf {
class RenderTarget;
class RenderWindow;
class Shape;
}

class CloseUpBackdrop {
public:
    // Puts the backdrop inside `inside` on the window: from the kept picture when `key` names
    // what it shows, else drawn by `draw` (given a target) into the picture first. False when no
    // picture can be kept or copied here, or when `draw` reaches outside `inside` (what it puts
    // there would be lost): draw it the long way then.
    bool put(sf::RenderWindow& window, sf::IntRect inside, std::uint64_t key,
             const std::function<void(sf::RenderTarget&)>& draw);
    // Whether backdrops are kept at all: only while the drawing shortcuts are on. When not, the
    // close-up draws its backdrop the long way.
    bool keeps() const;
    // Makes the picture ahead of the first close-up, so that it costs no close-up's frame (when
    // backdrops are kept).
    void prepare(sf::RenderWindow& window);
    // How many frames took the backdrop from a kept picture so far.
    long copies() const { return copies_; }
    // Lets the picture go (the owner stays, and makes another when next asked).
    void release();

private:
    bool make(sf::RenderWindow& window);

    std::unique_ptr<ScreenCopySource> picture_;
    std::uint64_t key_ = 0;
    bool held_ = false;        // the picture shows key_
    bool spills_ = false;      // key_'s backdrop reaches outside the frame: drawn the long way
    long copies_ = 0;
    bool unavailable_ = false; // the renderer cannot keep pictures: always the long way
};

// The one kept backdrop of the game's window. It outlives the program's statics: its picture
// belongs to a graphics context that may be gone at exit.
CloseUpBackdrop& closeUpBackdrop();

// What of the screen the battle may leave undrawn where it lies wholly inside the playing
// close-up's opaque frame: the frame while the drawing shortcuts are on, nothing when off.
sf::FloatRect coveredByCloseUp(sf::FloatRect frame);
