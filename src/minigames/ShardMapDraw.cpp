#include "minigames/ShardMap.hpp"

#include "foundation/Ellipse.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <cstdlib>

namespace {

sf::Text dialogText(const std::string& string, unsigned size) {
    sf::Text text(string, resources->getFont("Dialog"), size);
    text.setFillColor(sf::Color::White);
    return text;
}

void drawPicture(sf::RenderTarget& window, const sf::Texture& tex, sf::Vector2f at, float scale) {
    const sf::Vector2u s = tex.getSize();
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, s.y / 2.f);
    sprite.setScale(scale, scale);
    sprite.setPosition(at);
    window.draw(sprite);
}

sf::Uint8 channel(int value) { return static_cast<sf::Uint8>(value); }

// A line of the panel centred across the frame at height y, over a box of twice its height.
void drawBoxedLine(sf::RenderTarget& window, const std::string& string, float y, int state) {
    sf::Text text = dialogText(string, 20);
    const sf::FloatRect bounds = text.getLocalBounds();
    text.setPosition(1536 + (324 - bounds.width) / 2, y);
    sf::RectangleShape box({bounds.width, 2 * bounds.height});
    box.setPosition(text.getPosition());
    if (state == 0) {
        const int blue = 150 + std::rand() % 100;
        const int red = 150 + std::rand() % 100;
        box.setFillColor({channel(red), 0, channel(blue), 255});
    } else if (state == 1) {
        box.setFillColor({0, channel(150 + std::rand() % 100), 0, 255});
    } else if (state == 2) {
        box.setFillColor({channel(150 + std::rand() % 100), 0, 0, 255});
    }
    window.draw(box);
    window.draw(text);
}

void drawPanel(sf::RenderTarget& window, const std::string& shard, int h,
               const std::map<std::string, sf::Vector2f>& bodyPlaces) {
    sf::RectangleShape panel({384, 360});
    panel.setPosition(1506, 30);
    panel.setFillColor(sf::Color::Blue);
    window.draw(panel);
    for (float height : {300.f, static_cast<float>(h)}) {
        sf::RectangleShape frame({324, height});
        frame.setPosition(1536, 60);
        frame.setFillColor(sf::Color::Transparent);
        frame.setOutlineColor(sf::Color::White);
        frame.setOutlineThickness(1);
        window.draw(frame);
    }
    drawGem(window, shard, {1536 + 70, 60.f + h / 2}, false);
    sf::Text name = dialogText(shard, 25);
    name.setPosition(1536 + 140, 60.f + h / 5);
    window.draw(name);
    sf::Text word = dialogText("shard", 25);
    word.setPosition(1536 + 140, 60.f + 3 * h / 5);
    window.draw(word);

    const ShardPlace place = shardPlaceKind(shard, game->chapter);
    if (place == ShardPlace::UNKNOWN) {
        drawBoxedLine(window, "UNKNOWN LOCATION", 60 + 150, 0);
        return;
    }
    if (place == ShardPlace::ELSEWHERE) return;
    const std::string location = game->SHARDLOCATION.at(shard);
    if (place == ShardPlace::BODY) {
        const sf::Texture& tex = resources->getPlanetTexture(location);
        const sf::Vector2f at = bodyPlaces.at(location);
        if (tex.getSize().y > 0) drawPicture(window, tex, at, 150.f / tex.getSize().y);
        drawGem(window, shard, at, true);
    } else {
        const sf::Texture& tex = resources->getMiscTexture("WormHole" + location + "Shard");
        const Point p = starSystemPlaces().at(location);
        const sf::Vector2f at{static_cast<float>(p.x), static_cast<float>(p.y)};
        if (tex.getSize().x > 0) drawPicture(window, tex, at, 250.f / tex.getSize().x);
        drawGem(window, shard, at, true);
    }
    sf::Text where = dialogText("Location: " + location, 20);
    where.setPosition(1536 + 30, 60.f + h + 30);
    window.draw(where);
    const int state = game->shardState(shard);
    drawBoxedLine(window, shardStatusText(state), 60 + 225, state);
}

} // namespace

void ShardMap::draw(sf::RenderWindow& window) {
    background.draw(window, {0, 0});

    // The home system turns with the real clock: one of 300 steps a second.
    const std::int32_t t = orreryClock();
    std::map<std::string, sf::Vector2f> bodyPlaces;
    for (const auto& [name, body] : orreryBodies()) {
        const float rx = orbitRadiusX(body.orbit);
        const float ry = static_cast<float>(orbitRadiusY(body.orbit));
        if (body.orbit != 0) {
            EllipseShape orbit({rx, ry});
            orbit.setOrigin(rx, ry);
            orbit.setPosition(960, 540);
            orbit.setFillColor(sf::Color::Transparent);
            orbit.setOutlineColor(sf::Color::White);
            orbit.setOutlineThickness(1);
            window.draw(orbit);
        }
        const sf::Vector2f at = orreryPosition(body, t);
        bodyPlaces[name] = at;
        const sf::Texture& tex = resources->getPlanetTexture(name);
        if (tex.getSize().y > 0)
            drawPicture(window, tex, at, static_cast<float>((body.size * WINDOW_HEIGHT) / 350) / tex.getSize().y);
    }

    if (starSystemsShown(game->chapter)) {
        const sf::Texture& hole = resources->getMiscTexture("WormHole");
        for (const auto& [name, p] : starSystemPlaces())
            if (hole.getSize().x > 0)
                drawPicture(window, hole, {static_cast<float>(p.x), static_cast<float>(p.y)},
                            150.f / hole.getSize().x);
    }

    const int n = static_cast<int>(shardNames.size());
    const int h = WINDOW_HEIGHT / (n + 2);
    for (int r = -1; r < n; ++r) {
        const float y = static_cast<float>((r + 2) * h);
        sf::RectangleShape row({100, 0.9f * h});
        row.setOrigin(50, 0.45f * h);
        row.setPosition(80, y);
        row.setFillColor(r < 0 ? shardRowColour(0) : shardRowColour(game->shardState(shardNames[r])));
        if (r == selected) {
            row.setOutlineColor(randomColor());
            row.setOutlineThickness(2);
        }
        window.draw(row);
        if (r < 0) {
            sf::Text none = dialogText("NONE", 30);
            none.setPosition(35, y - none.getLocalBounds().height / 2);
            window.draw(none);
        } else {
            drawGem(window, shardNames[r], {70, y}, false);
            if (r == selected) drawPanel(window, shardNames[r], h, bodyPlaces);
        }
    }
}
