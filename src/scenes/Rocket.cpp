#include "scenes/Objects.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

void Flame::update(const std::set<Point>& blocked, Point mapSize) {
    const int frames = static_cast<int>(resources->getAnimation("Flame").size());
    const InputFlags& in = game->input;
    step(blocked, mapSize, in.upHeld, in.downHeld, in.leftHeld, in.rightHeld, frames);
}

void drawCatRocket(const Flame& rocket, sf::RenderTarget& window, Point v) {
    const int T = displayTileSize;
    const float half = static_cast<float>(T / 2);
    Point p = rocket.pixel;
    scaleToScreen(p);
    const sf::Vector2f at{p.x + half - v.x, p.y + half - v.y};

    // The flame goes first so that the rocket's tail covers its root.
    if (rocket.betweenTiles()) {
        const auto& frames = resources->getAnimation("Flame");
        if (!frames.empty()) {
            const sf::Texture& tex = frames[static_cast<size_t>(rocket.frame) % frames.size()];
            const sf::Vector2u s = tex.getSize();
            sf::Sprite flame(tex);
            flame.setOrigin(s.x / 2.f, static_cast<float>(s.y));
            const float k = static_cast<float>(T) / std::max(1u, s.y);
            flame.setScale(k, k);
            sf::Vector2f f = at;
            float rotation = 270;
            switch (rocket.direction) {
            case SOUTH: f.y -= half; rotation = 0; break;
            case NORTH: f.y += half; rotation = 180; break;
            case WEST: f.x += half; rotation = 90; break;
            default: f.x -= half; rotation = 270; break;
            }
            flame.setRotation(rotation);
            flame.setPosition(f);
            window.draw(flame);
        }
    }

    const sf::Texture& tex = resources->getObjectTexture("CatRocket");
    const sf::Vector2u s = tex.getSize();
    sf::Sprite sprite(tex);
    sprite.setOrigin(s.x / 2.f, s.y / 2.f);
    const float k = static_cast<float>(T) / std::max({1u, s.x, s.y});
    sprite.setScale(k, k);
    float rotation = 0;
    if (rocket.direction == SOUTH) rotation = 180;
    else if (rocket.direction == WEST) rotation = 270;
    else if (rocket.direction == EAST) rotation = 90;
    sprite.setRotation(rotation);
    sprite.setPosition(at);
    window.draw(sprite);
}
