#include "game/LoadingScreen.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <filesystem>

namespace {

bool isWhite(sf::Color c) { return c.r > 200 && c.g > 200 && c.b > 200; }

// Bounding box of the white pixels of the title band.
sf::IntRect titleBox(const sf::Image& image) {
    int x0 = 1920, x1 = -1, y0 = 1080, y1 = -1;
    for (unsigned y = 300; y < 530; ++y)
        for (unsigned x = 0; x < 1920; ++x)
            if (isWhite(image.getPixel(x, y))) {
                x0 = std::min(x0, int(x)), x1 = std::max(x1, int(x));
                y0 = std::min(y0, int(y)), y1 = std::max(y1, int(y));
            }
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

struct LoadingScreenTest : ::testing::Test {
    sf::RenderWindow window{sf::VideoMode(1920, 1080), "Quorvane 2.0", sf::Style::Titlebar | sf::Style::Close};
};

} // namespace

TEST_F(LoadingScreenTest, TitleAndTwoBars) {
    showLoadingScreen(&window, 0.5f, 0.f);
    const sf::Image image = captureWindow(window);
    // Upper bar: the red frame only, with its white outline.
    EXPECT_EQ(image.getPixel(330, 560), sf::Color::Red);
    EXPECT_EQ(image.getPixel(1590, 560), sf::Color::Red);
    EXPECT_EQ(image.getPixel(319, 560), sf::Color::White);
    EXPECT_EQ(image.getPixel(330, 539), sf::Color::White);
    EXPECT_EQ(image.getPixel(330, 594), sf::Color::White);
    // Lower bar half filled.
    EXPECT_EQ(image.getPixel(330, 890), sf::Color::Green);
    EXPECT_EQ(image.getPixel(955, 890), sf::Color::Green);
    EXPECT_EQ(image.getPixel(975, 890), sf::Color::Red);
    EXPECT_EQ(image.getPixel(960, 890), sf::Color::White); // the fill's own outline
    // Black around.
    EXPECT_EQ(image.getPixel(100, 100), sf::Color::Black);
    EXPECT_EQ(image.getPixel(1700, 560), sf::Color::Black);
    // "Loading..." centred at 360.
    const sf::IntRect title = titleBox(image);
    EXPECT_GT(title.width, 300);
    EXPECT_NEAR(title.left + title.width / 2, 960, 12);
    EXPECT_GE(title.top, 360);
    EXPECT_LT(title.top, 400);
}

TEST_F(LoadingScreenTest, FractionsAreNotClampedAndMoveTheBars) {
    showLoadingScreen(&window, 0.f, 1.5f);
    sf::Image image = captureWindow(window);
    // 1.5 x 1280 = 1920: the upper fill runs past the frame to the window edge.
    EXPECT_EQ(image.getPixel(1700, 560), sf::Color::Green);
    EXPECT_EQ(image.getPixel(1915, 560), sf::Color::Green);
    EXPECT_EQ(image.getPixel(330, 890), sf::Color::Red);

    showLoadingScreen(&window, 0.25f, 0.75f);
    image = captureWindow(window);
    EXPECT_EQ(image.getPixel(1250, 560), sf::Color::Green);
    EXPECT_EQ(image.getPixel(1300, 560), sf::Color::Red);
    EXPECT_EQ(image.getPixel(600, 890), sf::Color::Green);
    EXPECT_EQ(image.getPixel(660, 890), sf::Color::Red);
    EXPECT_EQ(image.getPixel(1700, 560), sf::Color::Black);
}

TEST_F(LoadingScreenTest, WithoutTheFontTheBarsStillShow) {
    const std::string dir = scratchDir("loading_nofont");
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    showLoadingScreen(&window, 1.f, 0.f);
    std::filesystem::current_path(old);
    const sf::Image image = captureWindow(window);
    const sf::IntRect none = titleBox(image);
    // No glyphs: at most the library's few-pixel placeholder where the text would start.
    EXPECT_LT(none.width, 5);
    EXPECT_EQ(image.getPixel(1500, 890), sf::Color::Green);
}

TEST_F(LoadingScreenTest, ObserverHearsEveryCallEvenWithoutAWindow) {
    std::vector<std::pair<float, float>> calls;
    LoadingObserver old = setLoadingObserver([&](float o, float s) { calls.emplace_back(o, s); });
    showLoadingScreen(nullptr, 0.2f, 0.4f);
    showLoadingScreen(&window, 0.3f, 0.6f);
    setLoadingObserver(old);
    EXPECT_EQ(calls, (std::vector<std::pair<float, float>>{{0.2f, 0.4f}, {0.3f, 0.6f}}));
}
