#include "support/DisplaySupport.hpp"

#include <SFML/Graphics/Texture.hpp>

sf::RenderWindow& testWindow() {
    static sf::RenderWindow window(sf::VideoMode(1920, 1080, 32), "Quorvane 2.0 test",
                                   sf::Style::Titlebar | sf::Style::Close);
    return window;
}

sf::Image captureWindow(sf::RenderWindow& window) {
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
}
