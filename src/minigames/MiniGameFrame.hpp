// What every full-screen mini-game shares: the win flags, sounds that stay silent without a
// resource store, and the screen frame, title, end texts, status line and trophy they draw.
// Every random colour below is one randomColor() call (three rand() draws), so drawing a
// mini-game moves the game's random sequence each frame.
#pragma once

#include <SFML/Graphics/Color.hpp>

#include <string>

namespace sf {
class RenderTarget;
}

// Records a mini-game's win in BOOLVARS (saved with the game); winning again changes nothing.
void recordMiniGameWin(const std::string& flag);
// Plays a sound of the store; silent when there is no store or no such sound.
void playMiniGameSound(const std::string& name);

// Clears with the background, draws the centred panel (1920 - 2 margin by 1080 - 2 margin, a
// 1-pixel white outline) and the trophy when the flag is set (an empty flag: no trophy).
void drawMiniGameFrame(sf::RenderTarget& window, sf::Color background, sf::Color panel,
                       int margin, const std::string& winFlag);
// Misc "Trophy" at (5, 5), 40 pixels high.
void drawTrophy(sf::RenderTarget& window);
// A text whose left edge makes it centred across the window, its position's y at y.
void drawCentredText(sf::RenderTarget& window, const std::string& text, const std::string& font,
                     unsigned size, sf::Color colour, float y);
// The title in a random colour at y 432 and the key line at pressY.
void drawTitleScreen(sf::RenderTarget& window, const std::string& title, float pressY);
// "Victory!" or "Game Over" in a random colour at y 432.
void drawEndText(sf::RenderTarget& window, const std::string& text);
// The line at (20, 1030) over a dark blue band 1.3 times as wide as the text.
void drawStatusLine(sf::RenderTarget& window, const std::string& text, sf::Color colour);
