// One entry of a scene's tile legend. Equal kinds are stored once in the Game's table; a scene's
// legend maps each tile character to an index into that table.
#pragma once

#include <SFML/Graphics/Color.hpp>

#include <istream>
#include <string>

namespace sf {
class RenderTarget;
}

class TileKind {
public:
    std::string object;     // object picture on the tile ("Door" for DOOR)
    std::string houseSign;
    std::string texture;    // empty for a plain tile
    bool blocking = false;  // BLOCK, BLOCKH, DOOR
    bool stairs = false;
    int rotation = 0;       // ROTATED: 90
    bool front = false;     // AFTER, FRONT: drawn in front of the characters
    bool door = false;
    bool stairsDown = false;
    bool stairsUp = false;
    bool zoomable = false;  // ZOOM, VIEW: a picture to look at
    bool window = false;
    std::string zoomPicture;
    sf::Color colour = sf::Color(255, 255, 255, 255);
    int rotate = 0;         // ROTATE n
    bool solidObject = false;
    bool solid = false;
    std::string sequence;   // a scene sequence tied to the tile
    bool moving = false;

    TileKind() = default;

    bool operator==(const TileKind& other) const;

    // One setter per legend keyword; each sets only the fields of its keyword.
    void setObject(const std::string& name) { object = name; }
    void setSolidObject(const std::string& name) { object = name; solidObject = true; }
    void setHouseSign(const std::string& word) { houseSign = word; }
    void setTexture(const std::string& name) { texture = name; }
    void setBlock() { blocking = true; }
    void setStairs() { stairs = true; }
    void setRotated() { rotation = 90; }
    void setFront() { front = true; }
    void setDoor() { door = true; blocking = true; object = "Door"; }
    void setStairsDown() { stairsDown = true; }
    void setStairsUp() { stairsUp = true; }
    // ZOOM copies the object of this moment.
    void setZoom() { zoomable = true; zoomPicture = object; }
    void setView(const std::string& picture) { zoomable = true; zoomPicture = picture; }
    void setWindow() { window = true; }
    // The low 8 bits of each component are used.
    void setColour(int r, int g, int b);
    void setSolid(int r, int g, int b) { solid = true; setColour(r, g, b); }
    void setTransparent() { colour = sf::Color(255, 255, 255, 125); }
    void setRotate(int n) { rotate = n; }
    void setSequence(const std::string& word) { sequence = word; }
    void setMoving() { moving = true; }

    // Drawing lives with the scene visuals (TileKindDraw.cpp).
    void draw(sf::RenderTarget& window, float x, float y, float size) const;
};

// What the legend reader did with a keyword of a "Tile" block.
enum class LegendWord {
    FILLED,        // changed the TileKind only
    FILLED_RECORD, // changed the TileKind; the scene also keeps a record (BLOCKH, DOOR, OBJECT,
                   // SOBJECT, VIEW)
    RECORD,        // left the TileKind alone; the scene records it for the tile character
    UNKNOWN        // not a legend keyword: the scene loader's fatal assertion
};

// Applies one legend keyword to kind, reading its arguments from in. argument receives the word
// argument of OBJECT, SOBJECT, VIEW (for the scene's own record). A numeric argument that does
// not read ends in the fatal assertion naming the tile character and the keyword.
LegendWord applyLegendWord(TileKind& kind, char tileChar, const std::string& keyword,
                           std::istream& in, std::string* argument = nullptr);

// True for the keywords the scene records for the tile character without touching the kind.
bool isSceneLegendRecord(const std::string& keyword);

// Reads the rest of a "Tile <char> ... END" block (from the character on). Keywords that the
// scene itself records go to onRecord(keyword, stream) which must consume their arguments; a
// word that is neither ends in onUnknown(word). Returns the tile character; kind receives the
// filled record. Reading stops at "END" or when the stream fails.
template <class OnRecord, class OnUnknown>
char readLegendBlock(std::istream& in, TileKind& kind, OnRecord onRecord, OnUnknown onUnknown) {
    char tileChar = 0;
    in >> tileChar;
    std::string word;
    while (in >> word && word != "END") {
        std::string argument;
        switch (applyLegendWord(kind, tileChar, word, in, &argument)) {
        case LegendWord::FILLED:
            break;
        case LegendWord::FILLED_RECORD:
        case LegendWord::RECORD:
            onRecord(word, argument, in);
            break;
        case LegendWord::UNKNOWN:
            onUnknown(word);
            break;
        }
    }
    return tileChar;
}
