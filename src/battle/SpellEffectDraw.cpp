#include "battle/MagicInstance.hpp"

void MagicInstance::draw(sf::RenderTarget& window) {}
void MagicInstance::drawProps(sf::RenderTarget& window) {}
void MagicInstance::drawEllipses(sf::RenderTarget& window) {}
void MagicInstance::drawPatrician(sf::RenderTarget& window) {}
void MagicInstance::drawDemonScare(sf::RenderTarget& window) {}
void MagicInstance::drawBolts(sf::RenderTarget& window) {}
void drawConvexPolygon(sf::RenderTarget& window, int x, int topY, int bottomY, sf::Color colour,
                       int thickness) {}
