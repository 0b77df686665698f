// The catalogue loaders redraw the loading screen once per line when they are given a window.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "game/LoadingScreen.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <fstream>
#include <utility>
#include <vector>

namespace {

struct Heard {
    std::vector<std::pair<float, float>> calls;
    Heard() {
        old = setLoadingObserver([this](float overall, float fraction) { calls.push_back({overall, fraction}); });
    }
    ~Heard() { setLoadingObserver(old); }
    LoadingObserver old;
};

void expectOnePerLine(const std::vector<std::pair<float, float>>& calls, size_t lines, float overall) {
    ASSERT_EQ(calls.size(), lines);
    float last = -1;
    for (auto [o, f] : calls) {
        EXPECT_FLOAT_EQ(o, overall);
        EXPECT_GE(f, 0.f);
        EXPECT_LE(f, 1.f);
        EXPECT_GT(f, last); // the read position only moves forward
        last = f;
    }
}

TEST(CatalogueLoading, EachLoaderRedrawsOncePerLineWithTheFileFraction) {
    sf::RenderWindow window(sf::VideoMode(320, 200), "loading");
    std::string dir = scratchDir("catalogue_loading");
    std::ofstream(dir + "/Items.txt") << "ITEM Sword WEAPON DMG 2\n# comment\nITEM Bread USABLE HP 3\n";
    std::ofstream(dir + "/Magic.txt") << "Fire KIND Flame TARGET enemy LEVELS 1\n\nHeal KIND Cure TARGET ally LEVELS 1\n";
    std::ofstream(dir + "/Potions.txt") << "Acid TARGET enemy COLOR 0 255 0 DMG 2 MPDMG 0 MP 1";

    {
        Heard heard;
        ItemList items;
        items.load(dir + "/Items.txt", &window, 0.6f);
        expectOnePerLine(heard.calls, 3, 0.6f); // the comment line counts, the final empty one not
    }
    {
        Heard heard;
        MagicRepository spells;
        spells.load(dir + "/Magic.txt", &window, 0.62f);
        expectOnePerLine(heard.calls, 2, 0.62f); // an empty line yields no word of its own
    }
    {
        Heard heard;
        PotionRepository potions;
        potions.load(dir + "/Potions.txt", &window, 0.64f);
        expectOnePerLine(heard.calls, 1, 0.64f);
        EXPECT_FLOAT_EQ(heard.calls.back().second, static_cast<float>(4) / 50); // after "Acid"
    }
    {
        // Without a window nothing is drawn.
        Heard heard;
        ItemList items;
        items.load(dir + "/Items.txt", nullptr, 0.6f);
        EXPECT_TRUE(heard.calls.empty());
    }
}

} // namespace
