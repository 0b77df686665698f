// Helpers for tests that draw: one shared game-sized window, and reading back what it shows.
#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

// A 1920x1080 window like the game's, opened once per test process.
sf::RenderWindow& testWindow();

class Resources;
// The fonts, musics, sounds and gems of the generated tree, loaded once per test process: what
// text boxes, menus and the start screen draw and play.
Resources& dialogResources();

// What the window shows now (read before display()).
sf::Image captureWindow(sf::RenderWindow& window);
