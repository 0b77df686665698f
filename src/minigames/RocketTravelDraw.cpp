#include "minigames/RocketTravel.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

namespace {

// A planet picture centred on the screen, scaled so that `extent` of it (its height or width)
// measures `pixels`. An unset planet name shows no planet.
void drawPlanet(sf::RenderTarget& window, const std::string& name, float pixels, bool byWidth) {
    if (name.empty()) return;
    const sf::Texture& tex = resources->getPlanetTexture(name);
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0) return;
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, s.y / 2.f);
    const float k = pixels / static_cast<float>(byWidth ? s.x : s.y);
    sprite.setScale(k, k);
    sprite.setPosition(960, 540);
    window.draw(sprite);
}

sf::CircleShape porthole() {
    sf::CircleShape circle(490, 30);
    circle.setOrigin(490, 490);
    circle.setPosition(960, 540);
    return circle;
}

} // namespace

void RocketFlight::draw(sf::RenderWindow& window) {
    const int f = frameCounter, L = speed;
    if (phase == 1) {
        window.clear(sf::Color(189, 189, 189, 255));
        sf::CircleShape dark = porthole();
        dark.setFillColor(sf::Color::Black);
        window.draw(dark);
        // The stars rush by inside the porthole only: the tunnel is painted off screen and laid
        // into the circle.
        static sf::RenderTexture tunnel;
        if (tunnel.getSize().x != WINDOW_WIDTH) tunnel.create(WINDOW_WIDTH, WINDOW_HEIGHT);
        tunnel.clear(sf::Color::Black);
        clouds.draw(tunnel, {0, 0});
        tunnel.display();
        sf::CircleShape view = porthole();
        view.setTexture(&tunnel.getTexture());
        view.setTextureRect({960 - 490, 540 - 490, 980, 980});
        window.draw(view);
        sf::CircleShape glass = porthole();
        glass.setOutlineColor(sf::Color(52, 73, 94, 255));
        glass.setOutlineThickness(60);
        glass.setFillColor(sf::Color(52, 152, 219, 50));
        window.draw(glass);
        return;
    }
    space.draw(window, {0, 0});
    const bool leaving = phase == 0;
    const float s = leaving ? static_cast<float>(L - f) / L + 1 : static_cast<float>(f) / L + 1;
    drawPlanet(window, game->getStrVar(leaving ? "ORIGIN" : "FLIGHT"), s * 360, false);

    const sf::Texture& tex = resources->getObjectTexture("Rocket");
    const sf::Vector2u size = tex.getSize();
    if (size.y == 0) return;
    const Point at = rocketFlightPoint(angle, leaving, f, L);
    sf::Sprite rocket(tex);
    rocket.setOrigin(size.x / 2.f, size.y / 2.f);
    const float k = (leaving ? WINDOW_HEIGHT / 10 : WINDOW_HEIGHT / 8) / static_cast<float>(size.y);
    rocket.setScale(k, k);
    rocket.setRotation(static_cast<float>(leaving ? angle : (angle + 180) % 360));
    rocket.setPosition(static_cast<float>(at.x), static_cast<float>(at.y));
    window.draw(rocket);
}

void SystemTravel::draw(sf::RenderWindow& window) {
    sky.draw(window, {0, 0});
    const float shrink = 1 - 0.5f * static_cast<float>(frameCounter) / static_cast<float>(length);
    drawPlanet(window, game->getStrVar("ORIGIN"), shrink * WINDOW_WIDTH, true);
    drawCatRocket(rocket, window, {0, 0});
}
