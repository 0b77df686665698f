#include "support/DisplaySupport.hpp"

#include "foundation/Resources.hpp"
#include "scenes/Scene.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/Texture.hpp>

#include <gtest/gtest.h>

#include <filesystem>

sf::RenderWindow& testWindow() {
    static sf::RenderWindow window(sf::VideoMode(1920, 1080, 32), "Quorvane 2.0 test",
                                   sf::Style::Titlebar | sf::Style::Close);
    return window;
}

sf::Image captureWindow(sf::RenderWindow& window) {
    sf::Texture texture;
    texture.create(window.getSize().x, window.getSize().y);
    texture.update(window);
    return texture.copyToImage();
}

Resources& dialogResources() {
    static Resources* store = [] {
        auto* r = new Resources;
        r->loadFonts("Resources//Fonts", nullptr, 0, r->fonts);
        r->loadMusics("Resources//Musics", nullptr, 0, r->musics);
        r->loadSounds("Resources//Sounds", nullptr, 0);
        r->loadTextureFolder("Resources//Gems", nullptr, 0, r->gems);
        return r;
    }();
    return *store;
}

sf::Image drawSceneFrame(Scene& scene) {
    sf::RenderWindow& w = testWindow();
    w.clear(sf::Color::Black);
    scene.draw(w);
    return captureWindow(w);
}

void saveScreenshot(const sf::Image& img, const std::string& name) {
    const std::string dir = binaryDir() + "/screens";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(img.saveToFile(dir + "/" + name + ".png"));
}
