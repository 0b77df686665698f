#include "battle/MagicInstance.hpp"

FallingObject::FallingObject(sf::Vector2f from, sf::Vector2f to, float size_, int startFrame_,
                             int endFrame_, int pictureCount) {}
MagicInstance::MagicInstance(const std::string& name_, Point topLeft_, Point bottomRight_, int level_,
                             int duration_)
    : name(name_), duration(duration_), topLeft(topLeft_), bottomRight(bottomRight_), level(level_) {}
bool MagicInstance::advance() { return ++frame >= duration; }
void MagicInstance::reset() { frame = 0; }
