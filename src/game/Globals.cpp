#include "game/Globals.hpp"

Resources* resources = nullptr;
Game* game = nullptr;
People* people = nullptr;
MagicRepository* magicRepository = nullptr;
ItemList* itemList = nullptr;
PotionRepository* potionRepository = nullptr;
