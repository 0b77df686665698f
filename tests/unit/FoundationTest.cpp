#include "foundation/main.hpp"
#include "support/TestSupport.hpp"

TEST(Foundation, Placeholder) { EXPECT_EQ(manhattanDistance({0, 0}, {3, -4}), 7); }
