#include "battle/Battle.hpp"

void Battle::draw(sf::RenderTarget& window, Point view, int row) {}
void ActionAnimation::draw(sf::RenderTarget& window, const std::string& background) {}
void Battle::drawMessageBox(const ActionAnimation& box, sf::RenderTarget& window) {}
void Battle::drawRandomCircles(const DotCloud& cloud, sf::RenderTarget& window, Point view) {}
void Battle::drawStatusBar(sf::RenderTarget& window, sf::Vector2f position, float maxWidth, int maximum,
                           float fraction) {}
void Battle::drawStatusPanel(sf::Vector2f size, sf::RenderTarget& window, sf::Vector2f position,
                             long long index) {}
void Battle::drawCellFrame(sf::RenderTarget& window, Point view, Point cell) const {}
void Battle::drawCounterBadge(Point view, sf::RenderTarget& window, Point pixel, sf::Color colour,
                              int count) {}
