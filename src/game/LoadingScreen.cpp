#include "game/LoadingScreen.hpp"

#include "foundation/main.hpp"
#include "game/FrameLoop.hpp"

#include <SFML/Graphics.hpp>

namespace {
LoadingObserver& observer() {
    static LoadingObserver current;
    return current;
}

void drawBar(sf::RenderWindow& window, float y, float fraction) {
    sf::RectangleShape frame({1280, 54});
    frame.setPosition((WINDOW_WIDTH - 1280) / 2, y);
    frame.setFillColor(sf::Color::Red);
    frame.setOutlineColor(sf::Color::White);
    frame.setOutlineThickness(1);
    window.draw(frame);
    if (fraction > 0) {
        sf::RectangleShape fill({fraction * 3840 / 3, 54});
        fill.setPosition(frame.getPosition());
        fill.setFillColor(sf::Color::Green);
        fill.setOutlineColor(sf::Color::White);
        fill.setOutlineThickness(1);
        window.draw(fill);
    }
}
} // namespace

LoadingObserver setLoadingObserver(LoadingObserver next) {
    LoadingObserver old = std::move(observer());
    observer() = std::move(next);
    return old;
}

void showLoadingScreen(sf::RenderWindow* window, float overall, float fileFraction) {
    if (observer()) observer()(overall, fileFraction);
    if (!window) return;
    window->clear(sf::Color(0, 0, 0, 255));
    // Loaded afresh on every call: the screen keeps nothing between calls.
    sf::Font font;
    font.loadFromFile("Resources//Fonts//Liberation.ttf");
    sf::Text title("Loading...", font, 100);
    title.setFillColor(sf::Color::White);
    title.setPosition((WINDOW_WIDTH - title.getLocalBounds().width) / 2, 360);
    window->draw(title);
    drawBar(*window, 540, fileFraction);
    drawBar(*window, 864, overall);
    window->display();
    sf::Event event;
    while (window->pollEvent(event)) windowKeyFilter().noteDrained(event);
}
