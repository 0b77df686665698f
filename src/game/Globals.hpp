// The global objects that every subsystem reaches. main creates each once, in this order, and
// never destroys them.
#pragma once

#include <vector>

class Resources;
class Game;
class People;
class MagicRepository;
class ItemList;
class PotionRepository;

// The store belongs to the lower floor and is defined with it (foundation/Resources.cpp); it is
// named here too, beside the other globals main creates.
extern Resources* resources;
extern Game* game;
extern People* people;
extern MagicRepository* magicRepository;
extern ItemList* itemList;
extern PotionRepository* potionRepository;
