// Typing into a text box and the key-name table.
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "game/TextInput.hpp"
#include "support/TestSupport.hpp"

#include <memory>

namespace {

using K = sf::Keyboard;

struct TypingWorld : ::testing::Test {
    GlobalsGuard globals;
    void SetUp() override { resources = nullptr; } // no display: no store
};

TEST(KeyNames, TableMatchesTheKeyboardCodes) {
    EXPECT_EQ(keyToString(K::A), "A");
    EXPECT_EQ(keyToString(K::Z), "Z");
    EXPECT_EQ(keyToString(K::Num0), "0");
    EXPECT_EQ(keyToString(K::Num9), "9");
    EXPECT_EQ(keyToString(K::Escape), "Escape");
    EXPECT_EQ(keyToString(K::SemiColon), "SemiColon");
    EXPECT_EQ(keyToString(K::Space), "Space");
    EXPECT_EQ(keyToString(K::Return), "Return");
    EXPECT_EQ(keyToString(K::BackSpace), "BackSpace");
    EXPECT_EQ(keyToString(K::Divide), "Divide");
    EXPECT_EQ(keyToString(K::Down), "Down");
    EXPECT_EQ(keyToString(K::Numpad0), "Numpad0");
    EXPECT_EQ(keyToString(K::Numpad9), "Numpad9");
    EXPECT_EQ(keyToString(K::F1), "F1");
    EXPECT_EQ(keyToString(K::F15), "F15");
    EXPECT_EQ(keyToString(K::Pause), "Pause");
    EXPECT_EQ(keyToString(K::KeyCount), "KeyCount");
    EXPECT_EQ(keyToString(-1), "Unknow");
    EXPECT_EQ(keyToString(102), "Unknow");
}

TEST_F(TypingWorld, LettersAndDigitsFirstUpperThenLower) {
    TextInput box;
    EXPECT_FALSE(box.update(std::vector<K::Key>{K::A, K::B, K::C}));
    EXPECT_EQ(box.text, "Abc");
    TextInput digits;
    digits.update(std::vector<K::Key>{K::Num1, K::A, K::B});
    EXPECT_EQ(digits.text, "1ab");
}

TEST_F(TypingWorld, RefusedKeysShiftAndBackSpace) {
    TextInput box;
    box.update(std::vector<K::Key>{K::LShift, K::RShift, K::Space, K::Numpad1, K::Left,
                                   K::BackSpace, K::Period});
    EXPECT_EQ(box.text, "") << "shift skipped; space, keypad, arrows, BackSpace on empty refused";
    box.update(std::vector<K::Key>{K::Q, K::W, K::BackSpace, K::E});
    EXPECT_EQ(box.text, "Qe");
}

TEST_F(TypingWorld, ReturnEndsTheFrameAndDropsLaterKeys) {
    TextInput box;
    EXPECT_TRUE(box.update(std::vector<K::Key>{K::X, K::Return, K::Y}));
    EXPECT_EQ(box.text, "X");
    TextInput empty;
    EXPECT_TRUE(empty.update(std::vector<int>{int(K::Return)}));
    EXPECT_EQ(empty.text, "");
}

TEST_F(TypingWorld, LengthLimitRefusesFurtherKeys) {
    TextInput box;
    box.maxLength = 3;
    box.update(std::vector<K::Key>{K::A, K::B, K::C, K::D, K::E});
    EXPECT_EQ(box.text, "Abc");
    box.update(std::vector<K::Key>{K::BackSpace, K::Z});
    EXPECT_EQ(box.text, "Abz");
    TextInput unlimited;
    for (int i = 0; i < 100; ++i) unlimited.update(std::vector<K::Key>{K::M});
    EXPECT_EQ(unlimited.text.size(), 100u);
}

} // namespace
