// The game's random colours: the flashing outlines, texts and markers take a new one every frame.
// Each channel is one rand() % 255 draw, so that every such colour costs a known count of draws
// and replays repeat.
#pragma once

#include <SFML/Graphics/Color.hpp>

// One channel: a single rand() % 255 draw.
sf::Uint8 randomChannel();
// An opaque colour of three randomChannel draws, taken in the order blue, green, red.
sf::Color randomColor();
