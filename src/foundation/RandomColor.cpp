#include "foundation/RandomColor.hpp"

#include <cstdlib>

sf::Uint8 randomChannel() { return static_cast<sf::Uint8>(std::rand() % 255); }

sf::Color randomColor() {
    const sf::Uint8 blue = randomChannel();
    const sf::Uint8 green = randomChannel();
    const sf::Uint8 red = randomChannel();
    return sf::Color(red, green, blue, 255);
}
