#include "minigames/AlivePicture.hpp"

#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Graphics.hpp>

void AlivePicture::draw(sf::RenderTarget& window, Point V) const {
    // The drawn tile size, not the full one: the view offset follows the zoom, so the picture
    // must too, or zoomed out it would stand at twice its place and twice its size.
    const int T = displayTileSize;
    const sf::Texture& tex = resources->getObjectTexture(texture);
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0 || s.y == 0) return;
    sf::Sprite sprite(tex);
    sprite.setOrigin(static_cast<float>(s.x / 2), static_cast<float>(3 * s.y / 4));
    const float scale = static_cast<float>(T) / static_cast<float>(s.x);
    sprite.setScale(scale, scale);
    const sf::Vector2f P(static_cast<float>(tile.x * T - V.x + T / 2),
                         static_cast<float>(tile.y * T - V.y + T / 2));
    sprite.setPosition(P);
    window.draw(sprite);

    const float eyeR = static_cast<float>(T / 20);
    const float pupilR = static_cast<float>(T / 25);
    for (int side : {-1, 1}) {
        const sf::Vector2f eyeAt(P.x + side * eyeR, P.y - static_cast<float>(T / 2.9));
        sf::CircleShape eye(eyeR, 30);
        eye.setOrigin(eyeR, eyeR);
        eye.setPosition(eyeAt);
        eye.setFillColor(sf::Color::White);
        eye.setOutlineColor(sf::Color::Black);
        eye.setOutlineThickness(1);
        window.draw(eye);
        sf::CircleShape pupil(pupilR, 30);
        pupil.setOrigin(pupilR, pupilR);
        pupil.setPosition(eyeAt.x + gaze * (eyeR - pupilR), eyeAt.y);
        pupil.setFillColor(sf::Color::Black);
        window.draw(pupil);
    }
}
