#include "minigames/GuessFlag.hpp"

#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <SFML/Graphics.hpp>

void GuessFlag::draw(sf::RenderTarget& window) const {
    drawMiniGameFrame(window, sf::Color(50, 50, 0), sf::Color(70, 70, 0), 50, "WON_FLAG");
    if (state == TITLE) drawTitleScreen(window, "Guess Flag game", 810);
    if (state == WON) drawEndText(window, "Victory!");
    if (state == OVER) drawEndText(window, "Game Over");
    if (state == QUESTION || state == ANSWER) {
        // The first frame of a question has no names yet: nothing more, not even the status.
        if (options.empty()) return;
        if (state == QUESTION)
            drawCentredText(window, "Guess which country has this flag.", "Nice", 50,
                            sf::Color::White, 135);
        const sf::Texture& flag = resources->getFlagTexture(options[answer]);
        const sf::Vector2u s = flag.getSize();
        sf::Sprite sprite(flag);
        sprite.setOrigin(float(s.x / 2), float(s.y / 2));
        const float k = s.x ? 500.0f / float(s.x) : 1.0f;
        sprite.setScale(k, k);
        sprite.setPosition(960, 432);
        window.draw(sprite);
        for (std::size_t i = 0; i < options.size(); ++i)
            drawCentredText(window, options[i], "Nice", 30,
                            int(i) == selected ? randomColor() : sf::Color::White,
                            float(648 + 50 * i));
        if (state == ANSWER) {
            const sf::Color c = randomColor();
            drawCentredText(window, selected == answer ? "Correct!" : "Wrong guess...", "Nice", 80,
                            c, 135);
            drawCentredText(window, "Press -> for the next question", "Nice", 30, c, 945);
        }
    }
    drawStatusLine(window,
                   "Question: " + std::to_string(questionsAnswered) + " / " +
                       std::to_string(questionLimit) + " -- Correct: " +
                       std::to_string(rightAnswers) + " / " + std::to_string(rightNeeded),
                   state == ANSWER ? randomColor() : sf::Color::White);
}
