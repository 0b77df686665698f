#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

TEST(Display, RenderTextureReadsBack) {
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(8, 8));
    target.clear(sf::Color::Red);
    target.display();
    EXPECT_EQ(target.getTexture().copyToImage().getPixel(3, 3), sf::Color::Red);
}
