#include "minigames/GuessNumber.hpp"

#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <SFML/Graphics.hpp>

void GuessNumber::draw(sf::RenderTarget& window) const {
    drawMiniGameFrame(window, sf::Color(50, 0, 0), sf::Color(70, 0, 0), 50, "WON_GUESSNUMBER");
    switch (state) {
    case TITLE:
        drawTitleScreen(window, "Guess Number", 810);
        drawCentredText(window, "A small puzzle of the Quorvane arcade, made by its own team",
                        "Nice", 20, sf::Color::White, 945);
        break;
    case TYPING:
        drawCentredText(window, "Try to guess the number I am thinking (between 0-19)", "Nice", 70,
                        sf::Color::White, 432);
        input.draw(window);
        break;
    case ANSWER: {
        const bool congratulation = message.find("Congra") != std::string::npos;
        drawCentredText(window, message, "Nice", 70,
                        congratulation ? randomColor() : sf::Color::White, 720);
        break;
    }
    case OVER:
        drawEndText(window, "Game Over");
        break;
    default:
        break;
    }
    if (state == TYPING || state == ANSWER) {
        sf::Text t("Attempts: " + std::to_string(attempts) + " / 3", resources->getFont("Nice"), 30);
        t.setFillColor(sf::Color::White);
        t.setPosition(1820 - t.getLocalBounds().width, 100);
        window.draw(t);
    }
}
