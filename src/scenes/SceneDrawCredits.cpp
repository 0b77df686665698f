#include "scenes/SceneCredits.hpp"
#include "scenes/SceneDrawGeometry.hpp"
#include "scenes/Objects.hpp"

#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

namespace {

void drawShardDisplay(sf::RenderTarget& window) {
    std::vector<std::string> retrieved, stolen;
    for (const auto& [name, state] : game->SHARDS) {
        if (state == 1) retrieved.push_back(name);
        else if (state == 2) stolen.push_back(name);
    }
    window.clear(sf::Color::Black);
    if (people->mainCharacterIndex != NO_INDEX)
        people->mainCharacter().draw(window, {100, 200}, 200, sf::Color(0, 0, 0, 0), false);
    const int scientist = people->indexOf("MadScientist");
    if (scientist != NO_INDEX) people->at(scientist).draw(window, {100, 700}, 200, sf::Color(0, 0, 0, 0), false);
    sf::RectangleShape band({WINDOW_WIDTH, 4});
    band.setPosition(0, 538);
    band.setFillColor(randomColor());
    window.draw(band);
    auto lay = [&](const std::vector<std::string>& names, int row, const std::string& carpet) {
        for (size_t i = 0; i < names.size(); ++i) {
            ShardPiece piece;
            piece.counter = 0;
            piece.period = 60;
            piece.tile = {3 + 2 * static_cast<int>(i), row};
            piece.name = names[i];
            piece.taken = false;
            piece.showPlatform = true;
            piece.glow = true;
            drawShardPiece(piece, window, {0, 0}, resources->getTexture(carpet, false));
        }
    };
    lay(retrieved, 200 / TILE_SIZE, "BlueCarpet");
    lay(stolen, 700 / TILE_SIZE, "RedCarpet");
}

} // namespace

bool creditsClearTheScreen(const SceneCredits& credits) {
    if (credits.lines.empty()) return false;
    for (const auto& picture : credits.pictures)
        if (picture.second <= credits.frame) return true;
    return false;
}

void drawCredits(SceneCredits& credits, sf::RenderTarget& window) {
    const auto& pictures = credits.pictures;
    int current = -1;
    for (int i = static_cast<int>(pictures.size()) - 1; i >= 0; --i)
        if (pictures[i].second <= credits.frame) {
            current = i;
            break;
        }
    if (current >= 0) {
        const std::string& name = pictures[current].first;
        if (name == "DISPLAYSHARDS") {
            drawShardDisplay(window);
        } else {
            const sf::Texture& tex = resources->getStoryTexture(name);
            const int start = pictures[current].second;
            const int age = credits.frame - start;
            int alpha = 255;
            if (age < 30) alpha = ((age + 1) * 255) / 30;
            else if (current + 1 < static_cast<int>(pictures.size()) &&
                     pictures[current + 1].second - credits.frame < 30)
                alpha = ((pictures[current + 1].second - credits.frame + 1) * 255) / 30;
            alpha = std::clamp(alpha, 0, 255);
            window.clear(alpha == 255 ? randomColor() : sf::Color::Black);
            const sf::Vector2u s = tex.getSize();
            if (s.x > 0 && s.y > 0) {
                const float k = std::max(float(WINDOW_HEIGHT) / s.y, float(WINDOW_WIDTH) / s.x);
                sf::Sprite sprite(tex);
                sprite.setScale(k, k);
                sprite.setColor(sf::Color(255, 255, 255, static_cast<sf::Uint8>(alpha)));
                // An opaque picture at full strength replaces the cleared screen outright.
                drawSprite(window, sprite);
            }
        }
    }

    const sf::Font& font = resources->getFont("Dialog");
    const sf::Color colour(credits.color[0], credits.color[1], credits.color[2], 255);
    int y = credits.scrollY;
    bool drewAny = false;
    for (const std::string& line : credits.lines) {
        sf::Text text(line.empty() ? std::string("X") : line, font,
                      static_cast<unsigned>(std::max(1, credits.characterSize)));
        text.setFillColor(colour);
        const sf::FloatRect b = text.getLocalBounds();
        text.setPosition((WINDOW_WIDTH - b.width) * 0.5f, static_cast<float>(y));
        y = static_cast<int>(b.height * 2 + static_cast<float>(y));
        if (y <= WINDOW_HEIGHT && y + b.height >= 0 && !line.empty()) {
            window.draw(text);
            drewAny = true;
        }
    }
    if (!drewAny && y < 0) credits.active = false;

    sf::Text label("Frame " + std::to_string(credits.frame), font,
                   static_cast<unsigned>(std::max(1, credits.characterSize)));
    label.setFillColor(randomColor());
    label.setPosition(0, 1000);
    window.draw(label);
}
