// Program entry: seeds the random sequence, opens the window, creates the globals, loads the game
// and runs the paced frame loop until the window closes.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/FrameLoop.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/Shooter.hpp"
#include "scenes/StepQueue.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <vector>

namespace {

void drawFrameRate(sf::RenderWindow& window, const FramePacer& pacer) {
    sf::Text text;
    text.setFont(resources->getFont("Dialog"));
    text.setString(pacer.rateText());
    text.setCharacterSize(30);
    text.setFillColor(randomColor());
    text.setPosition(1770, 980);
    window.draw(text);
}

} // namespace

int main() {
    const auto startTime = std::chrono::steady_clock::now();
    std::srand(4044);

    sf::RenderWindow window(sf::VideoMode(WINDOW_WIDTH, WINDOW_HEIGHT, 32), "Quorvane 2.0",
                            sf::Style::Titlebar | sf::Style::Close);

    resources = new Resources();
    // The store is never destroyed, and the audio library closes its device only when the last
    // sound and music are gone; one left open is reported at exit. Registered before anything
    // is loaded, this runs on every way out (return, Quit, a fatal stop, even while loading),
    // after whatever was made later has gone.
    std::atexit([] { resources->releaseAudio(); });
    game = new Game();
    people = createPeople();
    magicRepository = new MagicRepository();
    itemList = new ItemList();
    potionRepository = new PotionRepository();
    createSaveTheFuture();

    game->init(&window);
    game->gotoScene("StartScreen", false, nullptr);

    FramePacer pacer;
    pacer.start();
    int target = 30;
    pacer.setTarget(target);

    KeyPressFilter& keyFilter = windowKeyFilter();
    bool firstFrame = true;
    // Programs that play the game through key events read this report, printed whenever it
    // changes: how many key presses frames have taken, and whether the next one would act now.
    // A key waits for frames without any, so that a command key counts again and an arrow
    // counts as a new tap.
    long long keysTaken = 0;
    int quietFrames = StepQueue::QUIET_FRAMES;
    long long reportedKeys = -1;
    const char* reportedWait = "";
    while (window.isOpen()) {
        if (!pacer.beginFrame()) {
            pacer.waitForFrame();
            continue;
        }
        std::vector<int> keyCodes;
        sf::Event event;
        while (window.pollEvent(event)) {
            if (event.type == sf::Event::Closed) {
                window.close();
            } else if (event.type == sf::Event::KeyPressed) {
                if (keyFilter.press(static_cast<int>(event.key.code)))
                    keyCodes.push_back(static_cast<int>(event.key.code));
                if (event.key.code == sf::Keyboard::Escape) window.close();
            } else {
                keyFilter.noteDrained(event);
            }
        }
        game->update(keyCodes, &window);
        target = game->targetFps;
        pacer.setTarget(target);
        game->drawFrame(window);
        drawFrameRate(window, pacer);
        window.display();
        if (firstFrame) {
            firstFrame = false;
            auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - startTime)
                          .count();
            consoleLine("First frame after ", ms, " ms");
        }
        keysTaken += static_cast<long long>(keyCodes.size());
        quietFrames = keyCodes.empty() ? std::min(quietFrames + 1, StepQueue::QUIET_FRAMES) : 0;
        const char* wait = quietFrames < StepQueue::QUIET_FRAMES ? "keys" : game->inputWait();
        if (keysTaken != reportedKeys || std::strcmp(wait, reportedWait) != 0) {
            consoleLine("Input after ", keysTaken, " keys: ", wait);
            reportedKeys = keysTaken;
            reportedWait = wait;
        }
    }
    return 0;
}
