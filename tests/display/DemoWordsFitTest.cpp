// The demo's words fit their boxes. A box shows the one line it is given, unwrapped and uncut: the
// rest runs on over the scene past its edge, or hides under the portrait square drawn over its
// right end. Every line the demo can show must end short of that, with room to spare for a longer
// name or a wider font.
#include "foundation/Resources.hpp"
#include "support/DemoRoutes.hpp"
#include "support/DisplaySupport.hpp"
#include "support/ShownLines.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

namespace {

TEST_F(DemoRoutes, EveryLineShownFitsItsBox) {
    // Sabio's advice at every stage of the story, in the scene the party stands in then.
    std::vector<ShownLine> shown;
    playTheStory({}, [&](const Stage& stage) {
        shown.push_back(adviceShownIn(g->current(), g->getAdvice(),
                                      "Sabio's advice in chapter " + std::to_string(stage.chapter) + " in " +
                                          stage.at));
    });
    // Every scene's own words, read with the fonts and gems at hand (a gem may speak, and has a
    // portrait then).
    build();
    resources = &dialogResources();
    for (const Scene& s : g->scenes) {
        std::vector<ShownLine> own = linesShownBy(s, sceneFiles.at(s.name));
        shown.insert(shown.end(), own.begin(), own.end());
    }
    ASSERT_GT(shown.size(), 300u);

    const sf::Font& font = resources->getFont(LongText::LINE_FONT);
    // The spare is five typical characters: the advance of "00000", a digit being as wide as an
    // average letter of the box's font.
    const float spare = sf::Text("00000", font, LongText::LINE_SIZE).findCharacterPos(5).x;
    ASSERT_GT(spare, 0.0f);
    int covered = 0;
    for (const ShownLine& line : shown) {
        const LongText& box = line.box;
        ASSERT_TRUE(box.fullWidth) << line.where;
        sf::Text text(line.words, font, LongText::LINE_SIZE);
        const sf::FloatRect drawn = text.getLocalBounds();
        const float width = drawn.left + drawn.width;
        const float room = (line.portrait ? box.portraitLeft() : box.rightEnd()) - box.lineLeft();
        covered += line.portrait;
        EXPECT_LE(width + spare, room)
            << line.where << ": \"" << line.words << "\" is " << width << " pixels wide; the box has " << room
            << (line.portrait ? " left of the portrait square" : "") << ", and " << spare << " must be spare";
    }
    // Speakers with their portraits are among the lines.
    EXPECT_GT(covered, 100);
}

} // namespace
