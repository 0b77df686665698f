// Helpers shared by the spell effects' rules and drawing.
#pragma once

#include <string>

struct Magic;
struct MagicInstance;

namespace spellfx {
// rand() % n, or 0 without a draw when n is 0 or less.
int roll(int n);
// Plays a sound of the resource store; silent when it has none (or there is no store).
void sound(const std::string& name);
// Frames of an animation of the resource store; 0 without a store.
int animationLength(const std::string& name);
// The instance's spell; an unknown name is fatal.
const Magic& spellOf(const MagicInstance& m);
} // namespace spellfx
