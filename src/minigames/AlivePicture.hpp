// A picture hung on a scene tile whose eyes look toward the main character's column.
#pragma once

#include "foundation/main.hpp"

#include <istream>
#include <string>

namespace sf {
class RenderTarget;
}

class AlivePicture {
public:
    Point tile;
    std::string texture;
    int gaze = 0; // -1 left, 0 same column, 1 right

    // "AlivePicture name x y" after its command word.
    void read(std::istream& in);
    void update();
    // Looks from the picture's column toward mainX.
    void lookAt(int mainX);
    // Placed and scaled with the drawn tile size, so that it stays on its tile at both zooms.
    void draw(sf::RenderTarget& window, Point viewOffset) const;
};
