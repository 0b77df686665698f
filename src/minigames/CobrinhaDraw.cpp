#include "minigames/Cobrinha.hpp"

#include "foundation/Ellipse.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

void Cobrinha::draw(sf::RenderTarget& window) const {
    drawMiniGameFrame(window, sf::Color(50, 0, 50), sf::Color(70, 0, 70), margin, "WON_COBRINHA");
    if (state != TITLE) {
        sf::RectangleShape square({float(cell), float(cell)});
        square.setFillColor(sf::Color::Green);
        for (int x = 0; x < columns(); ++x)
            for (int y = 0; y < rows(); ++y) {
                if (!grid[x][y]) continue;
                square.setPosition(float(cell * x + margin), float(cell * y + margin));
                window.draw(square);
            }
        if (!body.empty()) {
            const Point h = body.front();
            const float cx = float(cell * h.x + margin + cell / 2);
            const float cy = float(cell * h.y + margin + cell / 2);
            EllipseShape eye({cell / 2 * 0.5f, cell / 2 * 0.8f});
            eye.setFillColor(sf::Color::White);
            eye.setOrigin(cell / 2 * 0.5f, cell / 2 * 0.8f);
            eye.setPosition(cx, cy);
            window.draw(eye);
            sf::CircleShape pupil(cell / 2 * 0.5f, 30);
            pupil.setFillColor(sf::Color::Black);
            pupil.setOrigin(cell / 2 * 0.5f, cell / 2 * 0.5f);
            pupil.setPosition(cx, cy);
            window.draw(pupil);
        }
        const sf::Texture& apple = resources->getItemTexture("Apple");
        const sf::Vector2u s = apple.getSize();
        const float k = float(cell) / float(std::max(1u, std::max(s.x, s.y)));
        for (const Point& a : apples) {
            sf::Sprite sprite(apple);
            sprite.setOrigin(float(s.x / 2), float(s.y / 2));
            sprite.setScale(k, k);
            sprite.setPosition(float(cell * a.x + margin + cell / 2),
                               float(cell * a.y + margin + cell / 2));
            window.draw(sprite);
        }
    }
    if (state == TITLE) drawTitleScreen(window, "Cobrinha game", 810);
    if (state == WON) drawEndText(window, "Victory!");
    if (state == LOST) drawEndText(window, "Game Over");
    drawStatusLine(window,
                   "Length: " + std::to_string(length) + " / " + std::to_string(winningLength),
                   state == WON ? randomColor() : sf::Color::White);
}
