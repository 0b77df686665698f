#include "game/TileKind.hpp"

#include "foundation/NumberRanges.hpp"
#include "foundation/main.hpp"

#include <charconv>
#include <set>

bool TileKind::operator==(const TileKind& o) const {
    return door == o.door && front == o.front && rotation == o.rotation && stairs == o.stairs &&
           stairsDown == o.stairsDown && stairsUp == o.stairsUp && blocking == o.blocking &&
           texture == o.texture && object == o.object && zoomable == o.zoomable &&
           zoomPicture == o.zoomPicture && window == o.window && colour == o.colour &&
           houseSign == o.houseSign && rotate == o.rotate && solidObject == o.solidObject &&
           solid == o.solid && sequence == o.sequence && moving == o.moving;
}

void TileKind::setColour(int r, int g, int b) {
    colour = sf::Color(static_cast<sf::Uint8>(r & 0xff), static_cast<sf::Uint8>(g & 0xff),
                       static_cast<sf::Uint8>(b & 0xff), 255);
}

bool isSceneLegendRecord(const std::string& keyword) {
    static const std::set<std::string> records{
        "OBJECT2", "OBJECT3",  "OBJECT4",   "ANIMATION", "TRAP",      "TORCH",     "LIGHT",
        "CHEST",   "SCHEST",   "SOKOBANBLOCK", "SOKOBANRET", "SHARDMAP", "TELESCOPE",
        "BATTLEPOS", "BATTLEDEST"};
    return records.count(keyword) > 0;
}

namespace {

// A half-read block would silently give the tile a wrong colour or angle, so a number that does
// not read is fatal and names the tile and the keyword.
int legendInteger(std::istream& in, char tileChar, const std::string& keyword) {
    std::string word;
    int value = 0;
    if (in >> word) {
        const char* first = word.data();
        const char* last = first + word.size();
        if (*first == '+') ++first;
        auto [end, ec] = std::from_chars(first, last, value);
        if (ec == std::errc() && end == last && first != last) return value;
    }
    fatalAssert("TileKind", 45, std::string("Tile ") + tileChar + " " + keyword);
}

std::string legendWord(std::istream& in) {
    std::string word;
    in >> word;
    return word;
}

} // namespace

LegendWord applyLegendWord(TileKind& kind, char tileChar, const std::string& keyword,
                           std::istream& in, std::string* argument) {
    auto keep = [&](const std::string& word) {
        if (argument) *argument = word;
        return word;
    };
    if (keyword == "OBJECT") {
        kind.setObject(keep(legendWord(in)));
        return LegendWord::FILLED_RECORD;
    }
    if (keyword == "SOBJECT") {
        kind.setSolidObject(keep(legendWord(in)));
        return LegendWord::FILLED_RECORD;
    }
    if (keyword == "VIEW") {
        kind.setView(keep(legendWord(in)));
        return LegendWord::FILLED_RECORD;
    }
    if (keyword == "BLOCKH") {
        kind.setBlock();
        return LegendWord::FILLED_RECORD;
    }
    if (keyword == "DOOR") {
        kind.setDoor();
        return LegendWord::FILLED_RECORD;
    }
    if (keyword == "HOUSESIGN") kind.setHouseSign(legendWord(in));
    else if (keyword == "TEXTURE") kind.setTexture(legendWord(in));
    else if (keyword == "SEQUENCE") kind.setSequence(legendWord(in));
    else if (keyword == "BLOCK") kind.setBlock();
    else if (keyword == "STAIRS") kind.setStairs();
    else if (keyword == "ROTATED") kind.setRotated();
    else if (keyword == "AFTER" || keyword == "FRONT") kind.setFront();
    else if (keyword == "STAIRSDOWN") kind.setStairsDown();
    else if (keyword == "STAIRSUP") kind.setStairsUp();
    else if (keyword == "ZOOM") kind.setZoom();
    else if (keyword == "WINDOW") kind.setWindow();
    else if (keyword == "TRANSPARENT") kind.setTransparent();
    else if (keyword == "MOVING") kind.setMoving();
    else if (keyword == "COLORIZE" || keyword == "SOLID") {
        int r = legendInteger(in, tileChar, keyword);
        int g = legendInteger(in, tileChar, keyword);
        int b = legendInteger(in, tileChar, keyword);
        if (keyword == "SOLID") kind.setSolid(r, g, b);
        else kind.setColour(r, g, b);
    } else if (keyword == "ROTATE") {
        // The drawing adds it to ROTATED's ninety degrees.
        kind.setRotate(inRange("Tile", "ROTATE", legendInteger(in, tileChar, keyword)));
    } else if (isSceneLegendRecord(keyword)) return LegendWord::RECORD;
    else return LegendWord::UNKNOWN;
    return LegendWord::FILLED;
}
