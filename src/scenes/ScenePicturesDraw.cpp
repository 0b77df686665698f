// Drawing the Mandelbrot ground and map, the block-pushing puzzle and the living pictures of a
// walking scene.
#include "scenes/Scene.hpp"

#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/AlivePicture.hpp"
#include "minigames/Mandelbrot.hpp"
#include "minigames/Sokoban.hpp"

#include <SFML/Graphics.hpp>

#include <cstdlib>

void Scene::drawMandelbrotGround(sf::RenderTarget& window, Point V) {
    if (mandelbrotFullScreen && mandelbrot && mandelbrot->width > 0) mandelbrot->draw(window, V);
}

void Scene::drawPicturesRow(sf::RenderTarget& window, Point V, int row, bool livingPictures) {
    if (!livingPictures) {
        if (sokoban) sokoban->draw(window, V, row);
        return;
    }
    for (const auto& picture : alivePictures)
        if (picture->tile.y == row) picture->draw(window, V);
}

void Scene::drawMandelbrotMap(sf::RenderTarget& window) {
    if (mapSceneName.empty() || !people || !people->partyHasItemNamed("MandelbrotMap")) return;
    const long long index = game->findScene(mapSceneName);
    if (index < 0) fatalAssert("Scene", 33, "MandelbrotMapScene " + mapSceneName);
    Scene& map = game->scenes[index];
    if (!map.mandelbrot || map.mapWidth() == 0) fatalAssert("Scene", 35, "MandelbrotMapScene " + mapSceneName);
    const int T = displayTileSize;
    const int columns = map.mapWidth();
    map.mandelbrot->drawThumbnail(window, {1670 - T, T});

    sf::RectangleShape marker({static_cast<float>(250 / columns), 250.0f / static_cast<float>(columns)});
    marker.setFillColor(randomColor());
    marker.setOutlineThickness(1);
    marker.setPosition(static_cast<float>((mapPos.x * 250) / columns + 1670 - T),
                       static_cast<float>((mapPos.y * 250) / columns + T));
    window.draw(marker);

    sf::Text text(std::to_string(mapPos.x) + "," + std::to_string(mapPos.y), resources->getFont("Dialog"));
    const sf::Uint8 v = static_cast<sf::Uint8>(std::rand() & 0xff);
    text.setFillColor(sf::Color(v, v, v, 255));
    text.setPosition(static_cast<float>(1670 - T), static_cast<float>(T));
    window.draw(text);
}
