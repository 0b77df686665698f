#include "game/OptionMenu.hpp"

#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

void OptionMenu::draw(sf::RenderTarget& window, bool always) const {
    if (!active && !always) return;

    sf::RectangleShape box({float(size.x), float(size.y)});
    box.setFillColor(color);
    box.setOutlineThickness(2);
    box.setOutlineColor(focused ? sf::Color::White : sf::Color(100, 100, 100, 255));
    box.setPosition(float(position.x), float(position.y));
    window.draw(box);

    const int h = rowHeight();
    int drawn = 0;
    for (std::uint64_t r = scroll; r < options.size() && drawn < visibleRows; ++r, ++drawn) {
        const float rowY = float(position.y + h / 3 + int(r - scroll) * h);
        if (active && r == std::uint64_t(selected)) {
            sf::RectangleShape bar({float(size.x), float(h + h / 12)});
            bar.setFillColor(sf::Color(100, 100, 100, 255));
            bar.setOutlineColor(sf::Color::White);
            bar.setOutlineThickness(2);
            bar.setPosition(float(position.x), rowY);
            window.draw(bar);
        }
        sf::Text text(options[r], resources->getFont("Dialog"), unsigned(characterSize));
        text.setFillColor(sf::Color::White);
        text.setPosition(float(position.x + h), rowY);
        window.draw(text);
    }
}
