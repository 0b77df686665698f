// Helpers for tests that draw: one shared game-sized window, and reading back what it shows.
#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

#include <string>

// A 1920x1080 window like the game's, opened once per test process.
sf::RenderWindow& testWindow();

class Resources;
class Scene;
// The fonts, musics, sounds and gems of the generated tree, loaded once per test suite: what
// text boxes, menus and the start screen draw and play.
Resources& dialogResources();

// What the window shows now (read before display()).
sf::Image captureWindow(sf::RenderWindow& window);

// The scene drawn on a black window, as the window then shows it.
sf::Image drawSceneFrame(Scene& scene);

// Saves the picture as <name>.png in the "screens" folder of the build, for a look by eye.
void saveScreenshot(const sf::Image& img, const std::string& name);
