#include "minigames/AlivePicture.hpp"

#include "characters/People.hpp"
#include "foundation/TextReader.hpp"
#include "game/Globals.hpp"

void AlivePicture::read(std::istream& in) {
    WordReader r(in, "AlivePicture", 8);
    texture = r.word("AlivePicture picture");
    tile.x = r.integer("AlivePicture", "tile");
    tile.y = r.integer("AlivePicture", "tile");
}

void AlivePicture::lookAt(int mainX) { gaze = mainX > tile.x ? 1 : mainX == tile.x ? 0 : -1; }

void AlivePicture::update() { lookAt(people->mainCharacter().tile.x); }
