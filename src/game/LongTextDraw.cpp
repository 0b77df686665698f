#include "game/LongText.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

namespace {

sf::Text makeText(const std::string& s, const char* font, unsigned size, sf::Color colour) {
    sf::Text text(s, resources->getFont(font), size);
    text.setFillColor(colour);
    return text;
}

sf::Vector2f textureCentre(const sf::Texture& t) {
    return {float(int(t.getSize().x / 2)), float(int(t.getSize().y / 2))};
}

} // namespace

void LongText::draw(sf::RenderTarget& window, bool always) const {
    if (!always && finished) return;

    const float x0 = float(position.x + 50);
    const float y0 = float(position.y + 50);
    const float h = boxHeight();

    float w = 0;
    if (fullWidth) {
        w = rightEnd() - x0;
    } else {
        for (const std::string& line : lines) {
            sf::Text t = makeText(line, LINE_FONT, LINE_SIZE, sf::Color::White);
            w = std::max(w, 1.2f * t.getGlobalBounds().width);
        }
    }

    sf::RectangleShape box({w, h});
    box.setFillColor(color);
    box.setOutlineColor(sf::Color::White);
    box.setOutlineThickness(2);
    box.setPosition(x0, y0);
    window.draw(box);

    const std::string who = getSpeaker();
    if (!who.empty()) {
        sf::Text label = makeText(who, "Dialog", 30, sf::Color::Yellow);
        label.setPosition(x0, y0 - 35);
        window.draw(label);
    }

    for (std::size_t i = pageStart;
         i < lines.size() && i <= currentLine && i < pageStart + linesPerPage; ++i) {
        const std::string shown =
            i == currentLine ? lines[i].substr(0, std::min(charsShown, lines[i].size())) : lines[i];
        sf::Text t = makeText(shown, LINE_FONT, LINE_SIZE, sf::Color::White);
        t.setPosition(lineLeft(), y0 + 11 + float((i - pageStart) * 35));
        window.draw(t);
    }

    if (pageFull && currentLine < lines.size()) {
        sf::Text more = makeText("(...)", "Dialog", 35, sf::Color::White);
        more.setPosition(x0 + w * 29 / 30, y0 + float(linesPerPage * 35) - 24);
        window.draw(more);
    }

    // The portrait square at the right edge, centred on the box.
    const float s = portraitSide();
    const sf::Vector2f centre(portraitLeft() + s / 2, y0 + h / 2);
    sf::RectangleShape square({s, s});
    square.setOrigin(s / 2, s / 2);
    square.setPosition(centre);
    square.setFillColor(sf::Color(0, 0, 50, 255));
    square.setOutlineColor(sf::Color::White);
    square.setOutlineThickness(2);

    if (!drawsPortrait()) return;
    window.draw(square);
    if (picture != nullptr) {
        sf::Sprite sprite(*picture);
        sprite.setOrigin(textureCentre(*picture));
        sprite.setPosition(centre);
        const float k = std::min(s / float(picture->getSize().y), s / float(picture->getSize().x));
        sprite.setScale(k, k);
        window.draw(sprite);
        return;
    }
    const int index = people->indexOf(who);
    if (index == NO_INDEX) {
        drawGem(window, who, centre, false);
        return;
    }
    Character& c = people->at(index);
    if (c.hasPhoto) {
        const sf::Texture& face = resources->getFaceTexture(c.photo);
        sf::Sprite sprite(face);
        sprite.setOrigin(textureCentre(face));
        sprite.setPosition(centre);
        const float k = s / float(std::max(face.getSize().x, face.getSize().y));
        sprite.setScale(k, k);
        window.draw(sprite);
    } else {
        const float d = float(TILE_SIZE) * s / 180;
        const float left = centre.x - s / 2;
        const bool oldBack = c.showBack;
        const int oldFrame = c.frame;
        c.showBack = false;
        c.frame = 1;
        c.draw(window, Point(int(left + (s - d) / 2), int(centre.y - s / 4)), d,
               sf::Color(0, 0, 0, 0), false);
        c.showBack = oldBack;
        c.frame = oldFrame;
    }
}

void MonologSequence::draw(sf::RenderTarget& window) const {
    if (!isActive()) return;
    for (std::size_t i = std::size_t(std::max(firstShown, 0)); i < monologs.size(); ++i) {
        monologs[i].draw(window, true);
        if (!monologs[i].finished) break;
    }
}
