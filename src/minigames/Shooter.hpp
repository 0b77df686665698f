// "Save The Future": the full-screen shooter of a scene whose mini-game kind is 3. The player
// flies a ship over a scrolling forest, shoots wandering saucers, dodges their aimed shots and
// wins after destroying 41 of them. The game lives in three globals created once at start-up.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sf {
class RenderWindow;
class RenderTarget;
}

struct SaveTheFutureShip {
    int x = 960, y = 540;
    int speed = 20;
    int health = 1000;
    int maxHealth = 1000;
    int score = 0;
    int weaponLevel = 0;
    int kind = 3;
    bool shieldOn = false;
    int shieldOffFrames = 0;
    int shieldOnFrames = 0;
    int shieldDuration = 300;
    int shieldCooldown = 500;
    float bodyUnit = 10.0f;
    float halfHeight = 50.0f;
    float halfWidth = 45.0f;
    int phase = 0;
    int period = 100;
    int missiles = 0;
    int frameCounter = 0;

    Rect box() const;
};

struct SaveTheFutureSaucer {
    std::string texture;
    int health = 300, maxHealth = 300;
    std::string name;
    int x = 0, y = 0;
    int vx = 3, vy = 4;
    int angle = 0;
    int width = 100;
    bool shoots = true;
};

struct SaveTheFutureShot {
    int x = 0, y = 0;
    bool fromPlayer = false;
    bool elongated = false;
    sf::Color colour;
    int dx = 0, dy = 0;
    int radius = 4;
};

struct SaveTheFutureMissile {
    int x = 0, y = 0;
    bool live = true;
    std::string texture = "Missle1";
    int rotation = 0;
    int speed = 10;
    int length = 50;
    // Its damage has been dealt (a missile hurts once).
    bool dealt = false;
};

struct SaveTheFuturePickup {
    sf::Color colour;
    bool missile = false;
    int x = 0, y = 0;
    int heal = 0;
};

struct SaveTheFutureExplosion {
    int x = 0, y = 0;
    int frame = 0;
};

// Where the shooter reads held keys and joystick 0; tests install their own.
class ShooterHeldInput {
public:
    virtual ~ShooterHeldInput() = default;
    // Up, Down, Left, Right, Confirm, Back as the keyboard holds them now.
    virtual void keyboard(bool held[6]) = 0;
    // Axes -100..100 and buttons 1 and 2 of joystick 0.
    virtual void joystick(float& axisX, float& axisY, bool& button1, bool& button2) = 0;
};

class SaveTheFuture {
public:
    enum State { TITLE = 0, PLAYING = 1, LOST = 2, WON = 3 };
    enum Held { UP = 0, DOWN, LEFT, RIGHT, CONFIRM, BACK };

    int groundScroll = 0;
    std::vector<SaveTheFutureShot> shots;
    std::vector<SaveTheFutureMissile> missiles;
    std::vector<SaveTheFuturePickup> pickups;
    std::vector<SaveTheFutureExplosion> explosions;
    std::vector<int> activeSaucers;
    std::map<int, int> hitTimers;
    bool held[6] = {false, false, false, false, false, false};
    int state = TITLE;

    // True while the game goes on; false sends the Game back to the previous scene.
    bool update(const std::vector<int>& keyCodes);
    static void reset();
    void spawnSaucer(std::vector<SaveTheFutureSaucer>& saucers);
    void updateShip(SaveTheFutureShip& ship);
    void fire(SaveTheFutureShip& ship);
    bool updateSaucer(SaveTheFutureSaucer& saucer);
    bool steerMissile(SaveTheFutureMissile& missile);
    Rect saucerBox(const SaveTheFutureSaucer& saucer) const;

    void draw(sf::RenderTarget& window);
    void drawTitle(sf::RenderTarget& window);
    void drawShip(const SaveTheFutureShip& ship, sf::RenderTarget& window);
    void drawShipKind3(const SaveTheFutureShip& ship, sf::RenderTarget& window);
    void drawEngineGlow(const SaveTheFutureShip& ship, int phase, sf::RenderTarget& window);
    void drawHud(const SaveTheFutureShip& ship, sf::RenderTarget& window);
    void drawSaucerStatus(int saucer, Point position, Point size, sf::RenderTarget& window);
    void drawBar(sf::RenderTarget& window, Point position, int width, float fraction,
                 sf::Color fill, sf::Color background);
    // The saucer whose panel shows: the largest remaining hit timer, the smaller index on a tie;
    // -1 when none.
    int shownSaucer() const;
    // The engine glow's size factor at a phase of the period.
    static float glowScale(int phase, int period);

private:
    void readInput(const std::vector<int>& keyCodes);
    // One frame of play, in the steps below.
    void playingStep();
    void ageExplosions();
    void updateSaucers(SaveTheFutureShip& ship);
    void moveShots();
    void flyMissiles();
    void catchPickups(SaveTheFutureShip& ship);
};

// The three globals, created by the program entry after the potion repository.
extern SaveTheFuture* saveTheFuture;
extern SaveTheFutureShip* saveTheFutureShip;
extern std::vector<SaveTheFutureSaucer>* saveTheFutureSaucers;
// The held-input source; the real keyboard and joystick unless a test installed another.
extern std::unique_ptr<ShooterHeldInput> shooterHeldInput;

// Creates the three globals once (the program entry calls it).
void createSaveTheFuture();
