// The frame's picture: the scene, then the shell's overlays in a fixed order.
#include "game/Game.hpp"

#include "foundation/DrawBatch.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "minigames/Shooter.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>

namespace {

sf::Text makeText(const std::string& font, const std::string& string, unsigned size) {
    sf::Text text;
    text.setFont(resources->getFont(font));
    text.setString(string);
    text.setCharacterSize(size);
    return text;
}

void fillRect(sf::RenderWindow& window, float x, float y, float w, float h, sf::Color colour) {
    sf::RectangleShape rect(sf::Vector2f(w, h));
    rect.setPosition(x, y);
    rect.setFillColor(colour);
    window.draw(rect);
}

} // namespace

void Game::drawFrame(sf::RenderWindow& window) {
    // A picture that fills the window itself makes the clear a wasted pass over every pixel.
    const bool filled = !shardMap.shown && !telescope.shown && currentScene >= 0 &&
                        currentScene < scenes.size() && scenes[currentScene].type != SCENE_ROCKET_FLIGHT &&
                        scenes[currentScene].type != SCENE_SYSTEM_TRAVEL && scenes[currentScene].drawFillsWindow(window);
    if (!filled) window.clear(sf::Color::Black);
    draw(window);
}

void Game::draw(sf::RenderWindow& window) {
    if (shardMap.shown) {
        shardMap.draw(window);
        return;
    }
    if (telescope.shown) {
        telescope.draw(window);
        return;
    }
    if (currentScene < 0 || currentScene >= scenes.size()) fatalAssert("Game", 495, "Scene");
    Scene& scene = scenes[currentScene];
    if (scene.type == SCENE_ROCKET_FLIGHT) rocketFlight.draw(window);
    if (scene.type == SCENE_SYSTEM_TRAVEL) systemTravel.draw(window);
    scene.draw(window);

    partyMenu.draw(window);

    drawChoiceBoxes(window);

    if (sleeping) {
        int alpha = sleepFrame > sleepFadeFrames ? 255 : sleepFrame * 255 / sleepFadeFrames;
        fillRect(window, 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, sf::Color(0, 0, 0, static_cast<sf::Uint8>(alpha)));
    }
    if (switchPending) {
        int h = switchFrame * 540 / switchDelayFrames;
        int w = switchFrame * 960 / switchDelayFrames;
        fillRect(window, 0, 0, WINDOW_WIDTH, float(h), sf::Color::Black);
        fillRect(window, 0, float(WINDOW_HEIGHT - h), WINDOW_WIDTH, float(h), sf::Color::Black);
        fillRect(window, 0, 0, float(w), WINDOW_HEIGHT, sf::Color::Black);
        fillRect(window, float(WINDOW_WIDTH - w), 0, float(w), WINDOW_HEIGHT, sf::Color::Black);
    }
    if (pictureShown) {
        sf::Texture& texture = resources->getObjectTexture(viewedPicture);
        sf::Vector2u size = texture.getSize();
        sf::Sprite sprite(texture);
        float scale = std::min(float(WINDOW_HEIGHT) / float(size.y), float(WINDOW_WIDTH) / float(size.x));
        sprite.setScale(scale, scale);
        sprite.setOrigin(float(size.x / 2), float(size.y / 2));
        sprite.setPosition(960, 540);
        window.draw(sprite);
    }
    if (confirmShown) drawConfirmPanel(window);
    if (settingsOpen) drawSettingsPanel(window);
    if (shownCharacter != NO_INDEX) drawCharacterView(window);
    if (scene.playerControlHere) newGameScreen.draw(window);
    // The active mini-game (kinds 1 to 6) is drawn last, over everything.
    drawMiniGame(window, scene.miniGame);
}

void Game::drawConfirmPanel(sf::RenderWindow& window) {
    sf::RectangleShape outer(sf::Vector2f(640, 360));
    outer.setOrigin(320, 180);
    outer.setFillColor(sf::Color(150, 150, 0, 255));
    outer.setOutlineColor(randomColor());
    outer.setOutlineThickness(2);
    outer.setPosition(960, 540);
    window.draw(outer);

    sf::RectangleShape inner(sf::Vector2f(640 * 0.9f, 360 * 0.9f));
    inner.setOrigin(640 * 0.9f / 2, 360 * 0.9f / 2);
    inner.setFillColor(outer.getFillColor());
    inner.setOutlineThickness(2);
    inner.setOutlineColor(randomColor());
    inner.setPosition(960, 540);
    window.draw(inner);

    // The texts are laid out from the panel's real top-left corner, (640, 360), so that they
    // stand centred on it.
    const float left = 960 - 320, top = 540 - 180;
    sf::Text title = makeText("Nice", "Are you sure?", 70);
    title.setPosition(left + (640 - title.getLocalBounds().width) * 0.5f, top + 360 / 5.0f);
    window.draw(title);

    sf::Text question = makeText("Nice", "(" + confirmQuestion + ")", 30);
    question.setPosition(left + (640 - question.getLocalBounds().width) * 0.5f, top + 360 * 0.5f);
    window.draw(question);

    auto answer = [&](const std::string& word, float x, bool selected) {
        sf::Text text = makeText("Nice", word, 50);
        sf::FloatRect bounds = text.getLocalBounds();
        text.setOrigin(bounds.left + bounds.width / 2, bounds.top + bounds.height / 2);
        text.setPosition(x, top + 2 * 360 / 3.0f);
        if (selected) {
            text.setFillColor(randomColor());
            text.setStyle(sf::Text::Bold);
        }
        window.draw(text);
    };
    answer("Yes", left + 2 * 640 / 3.0f, confirmYes);
    answer("No", left + 640 / 3.0f, !confirmYes);
}

void Game::drawSettingsPanel(sf::RenderWindow& window) {
    sf::RectangleShape panel(sf::Vector2f(960, 540));
    panel.setOrigin(480, 270);
    panel.setFillColor(sf::Color(255, 0, 0));
    panel.setOutlineColor(sf::Color::White);
    panel.setOutlineThickness(2);
    panel.setPosition(960, 540);
    window.draw(panel);

    sf::Text title = makeText("Nice", "Settings", 50);
    title.setPosition(480 + (960 - title.getLocalBounds().width) * 0.5f, 270 + 540 / 14.0f);
    window.draw(title);

    sf::RectangleShape rule(sf::Vector2f(960, 1));
    rule.setOrigin(480, 0.5f);
    rule.setOutlineColor(sf::Color::White);
    rule.setOutlineThickness(1);
    rule.setPosition(960, 270 + 540 / 5.0f);
    window.draw(rule);

    auto rowBox = [&](float x, float y, bool highlighted, bool on) {
        sf::RectangleShape box(sf::Vector2f(50, 50));
        box.setFillColor(sf::Color::Transparent);
        box.setOrigin(25, 25);
        box.setPosition(x, y);
        sf::Color outline = highlighted ? randomColor() : sf::Color::White;
        box.setOutlineColor(outline);
        box.setOutlineThickness(highlighted ? 8 : 1);
        window.draw(box);
        if (on) {
            sf::CircleShape circle(25, 30);
            circle.setOrigin(25, 25);
            circle.setFillColor(outline);
            circle.setPosition(x, y);
            window.draw(circle);
        }
    };

    const float box0x = 480 + 960 / 6.0f, box0y = 270 + 540 / 3.0f;
    rowBox(box0x, box0y, settingsRow == 0, autoDistributeWeapons);
    sf::Text label0 = makeText("Nice", "Automatically distribute/equip weapons", 30);
    float label0Height = label0.getLocalBounds().height;
    label0.setPosition(box0x + 50, box0y - label0Height * 0.5f);
    window.draw(label0);

    const float box1x = 640, box1y = 270 + 540 * 5 / 9.0f;
    rowBox(box1x, box1y, settingsRow == 1, autoDistributeFood);
    sf::Text label1 = makeText("Nice", "Automatically distribute food", 30);
    label1.setPosition(box1x + 50, box1y - label0Height * 0.5f);
    window.draw(label1);

    sf::Text fpsLabel = makeText("Nice", "Target FPS: ", 30);
    const float labelX = label1.getPosition().x, labelY = 270 + 540 * 7 / 9.0f;
    fpsLabel.setPosition(labelX, labelY);
    window.draw(fpsLabel);

    const bool onFps = settingsRow == 2;
    sf::Text value = makeText("Nice", std::to_string(targetFps), 30);
    const float valueX = labelX + fpsLabel.getLocalBounds().width + 100;
    value.setPosition(valueX, labelY);
    value.setFillColor(onFps ? randomColor() : sf::Color::White);
    window.draw(value);

    sf::Text less = makeText("Nice", "<", 30);
    less.setPosition(valueX - 50, labelY);
    less.setFillColor(onFps && input.leftHeld ? randomColor() : sf::Color::White);
    window.draw(less);

    sf::Text more = makeText("Nice", ">", 30);
    more.setPosition(valueX + 75, labelY);
    more.setFillColor(onFps && input.rightHeld ? randomColor() : sf::Color::White);
    window.draw(more);

    if (!settingsAnimation.name.empty()) settingsAnimation.draw(window);
}
