#include "minigames/ShardMap.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

void TelescopeView::draw(sf::RenderWindow& window) {
    background.draw(window, {0, 0});
    const std::string planet = telescopePlanet();
    if (planet == "Nada") return;
    const sf::Texture& tex = resources->getPlanetTexture(planet);
    const sf::Vector2u s = tex.getSize();
    if (s.x > 0) {
        sf::Sprite sprite(tex);
        sprite.setOrigin(s.x / 2.f, s.y / 2.f);
        sprite.setScale(640.f / s.x, 640.f / s.x);
        sprite.setPosition(960, 540);
        window.draw(sprite);
    }
    // A shard not yet found glints on the planet's face.
    if (telescopeShard(planet).empty()) return;
    for (const TelescopeDot& dot : telescopeCloud()) {
        sf::CircleShape light(static_cast<float>(dot.radius), 30);
        light.setOrigin(static_cast<float>(dot.radius), static_cast<float>(dot.radius));
        light.setPosition(static_cast<float>(dot.x), static_cast<float>(dot.y));
        light.setFillColor(dot.colour);
        window.draw(light);
    }
}
