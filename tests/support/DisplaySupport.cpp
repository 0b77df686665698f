#include "support/DisplaySupport.hpp"

#include "foundation/Resources.hpp"
#include "scenes/Scene.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Context.hpp>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <memory>

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
    static PerSuite<Resources> store([] {
        auto r = std::make_unique<Resources>();
        r->loadFonts("Resources//Fonts", nullptr, 0, r->fonts);
        r->loadMusics("Resources//Musics", nullptr, 0, r->musics);
        r->loadSounds("Resources//Sounds", nullptr, 0);
        r->loadTextureFolder("Resources//Gems", nullptr, 0, r->gems);
        return r;
    });
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

namespace {
// The software GL driver is unloaded whenever the last GL context goes, still holding what it
// allocated; the leak checker of a sanitizer build then finds that memory with no code left to
// name it. Loading it once before the tests and holding it open to the end lets its leaks be
// named, and only they are let off (tools/lsan-suppressions.txt).
struct KeepTheGlDriverLoaded : ::testing::Environment {
    void SetUp() override {
        sf::Context loadsTheDriver;
        for (const char* driver : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so",
                                   "/usr/lib/x86_64-linux-gnu/dri/kms_swrast_dri.so"})
            dlopen(driver, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    }
};
[[maybe_unused]] ::testing::Environment* const keepTheGlDriver =
    ::testing::AddGlobalTestEnvironment(new KeepTheGlDriverLoaded);
} // namespace
