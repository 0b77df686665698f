// Potions are drawn from one grey template, recoloured once per colour and then cached.
#include "foundation/Resources.hpp"

#include <algorithm>

sf::Texture& Resources::getPotionTexture(sf::Color colour) {
    auto cached = potionTextures.find(colour);
    if (cached != potionTextures.end()) return cached->second;
    sf::Texture& texture = potionTextures[colour];
    if (potionTemplate.getSize().x == 0 || potionTemplate.getSize().y == 0) return texture;
    sf::Image image = potionTemplate.copyToImage();
    const sf::Color highlight(static_cast<sf::Uint8>(std::min(colour.r + 40, 255)),
                              static_cast<sf::Uint8>(std::min(colour.g + 40, 255)),
                              static_cast<sf::Uint8>(std::min(colour.b + 40, 255)), 255);
    const sf::Vector2u size = image.getSize();
    for (unsigned x = 0; x < size.x; ++x)
        for (unsigned y = 0; y < size.y; ++y) {
            const sf::Color p = image.getPixel(x, y);
            if (p == POTION_BASE_COLOR) image.setPixel(x, y, colour);
            else if (p == POTION_HIGHLIGHT_COLOR) image.setPixel(x, y, highlight);
        }
    texture.loadFromImage(image);
    return texture;
}
