#include "foundation/NumberRanges.hpp"

#include "foundation/main.hpp"

#include <cmath>
#include <limits>
#include <sstream>

namespace {
constexpr double T = MAX_TILE;
constexpr double P = MAX_PIXEL;
constexpr double C = MAX_COUNT;
constexpr double S = MAX_STAT;

const std::vector<NumberRange> RANGES{
    // Any number that has no row of its own: small enough that a tile-to-pixel product, a sum of a
    // few of them or a float to int conversion of it stays in int.
    {"*", "number", -1e7, 1e7},

    // Scene files and scripts
    {"GenerateMaze", "x0", 0, T}, {"GenerateMaze", "y0", 0, T},
    {"GenerateMaze", "x1", 0, T}, {"GenerateMaze", "y1", 0, T},
    {"Snow", "count", 0, C},
    {"Background", "COUNT", 0, C},
    {"Credits", "lines", 0, C},
    {"Credits", "PICTURE", -P, P},
    {"Building", "x", -1, T}, {"Building", "y", -1, T},
    {"Building", "width", 0, 64}, {"Building", "height", 0, 64},
    {"Building", "DOOR", -64, 64},
    {"Box", "x0", -1, T}, {"Box", "y0", -1, T}, {"Box", "x1", -1, T}, {"Box", "y1", -1, T},
    {"Tile", "x", -1, T}, {"Tile", "y", -1, T},
    {"Comet", "size", 0, 1000}, {"Comet", "row", -T, T},
    {"Object", "LOCATION", -1, T}, {"Object", "SIZEX", 0, 100},
    {"DeleteObjectsInBox", "corner", -T, T},
    {"ColorizeObject", "tile", -T, T},
    {"NPCAnimAt", "scale", 0, 100},
    {"Container", "count", 0, C}, {"Container", "HOWMANY", 0, C}, {"Container", "SIZEX", 0, 100},
    {"Monolog", "lines", 0, C}, {"MonologSequence", "monologs", 0, C},
    {"FlyingAnim", "pixel", -P, P}, {"FlyingAnim", "speed", -1000, 1000},
    {"Planet", "size", 0, 1000},
    {"DarkScene", "level", 0, 255}, {"DarkScene", "reach", 0, 64},
    {"FrontObject", "size", 0, 64},
    {"Text", "pixel", -P, P}, {"Text", "size", 0, 1000},
    {"WaitSequence", "frames", 0, 1e6}, {"Move", "WAIT", 0, 1e6},
    {"NPCAnimAt", "frames", 0, C},
    // A legend's ROTATE is added to the ninety degrees of ROTATED; one turn either way is all it
    // can mean.
    {"Tile", "ROTATE", -360, 360},

    // Pictures, puzzles and rocket pads of a scene. Their tiles lie on a map (a Sokoban door's
    // destination on the map of another scene). Beyond two from the origin every point of the
    // Mandelbrot set's plane escapes at once: a window reaching past four shows nothing more.
    {"Mandelbrot", "COLOR", 0, 255}, {"Mandelbrot", "RANDOMCOLORS", 0, 99},
    {"Mandelbrot", "Location", -4, 4},
    // The picture's pixels, one count of four bytes each (its map's tiles times 120 x 120): room
    // for the deepest generated level (48 x 27 tiles, 5760 x 3240) and not past 128 MiB.
    {"Mandelbrot", "picture", 0, 33554432},
    {"SokobanGame", "tile", 0, T - 1},
    {"AlivePicture", "tile", 0, T - 1},
    {"EinsteinPuzzle", "tile", 0, T - 1},
    {"SpaceChapterGate", "tile", 0, T - 1},
    {"RocketTravelPlace", "tile", 0, T - 1}, {"RocketDestinations", "tile", 0, T - 1},

    // Character and enemy files, people.save
    {"Character", "stat", -S, S},
    {"Character", "LEVEL", 0, 10000},
    {"Character", "ITEMS", 0, C}, {"Character", "item count", 0, 1e6},
    {"Character", "OBJINSAC", 0, C},
    {"Character", "MAGIC", 0, 10000},
    {"Character", "MOUTH", 0, 1000},
    {"Character", "SIZE", 0, 100},

    // Item, spell and potion files
    {"Item", "bonus", -1e6, 1e6}, {"Item", "RANGE", 0, T},
    {"Magic", "number", -1e6, 1e6},

    // The battle definition
    {"Battle", "count", -C, C},

    // game.save
    {"Save", "count", 0, 1e6}, {"Save", "TARGETFPS", 0, 1000}, {"Save", "DIFFICULTY", 0, 2},
};

// The word a reader's place names (the statement as written) or else the table's.
std::string describe(const char* statement, double value, int digits) {
    const ReadingPlace* place = ReadingPlace::current();
    std::ostringstream out;
    out.precision(digits);
    out << (place && !place->statement().empty() ? place->statement() : std::string(statement)) << ' '
        << value;
    return out.str();
}

bool outside(const NumberRange& range, double value) {
    return !(value >= range.low && value <= range.high); // NaN is outside every range
}
} // namespace

const std::vector<NumberRange>& numberRanges() { return RANGES; }

const NumberRange& numberRange(std::string_view statement, std::string_view argument) {
    for (const NumberRange& r : RANGES)
        if (statement == r.statement && argument == r.argument) return r;
    fatalAssert("NumberRanges", 104, std::string(statement) + " " + std::string(argument));
}

int inRange(const char* statement, const char* argument, int value) {
    if (outside(numberRange(statement, argument), value))
        fatalAssert("NumberRanges", 109, describe(statement, value, 10));
    return value;
}

float inRange(const char* statement, const char* argument, float value) {
    if (outside(numberRange(statement, argument), value))
        fatalAssert("NumberRanges", 115, describe(statement, value, 7)); // a float's digits
    return value;
}

int saturatingAdd(int a, int b) {
    int out = 0;
    if (!__builtin_add_overflow(a, b, &out)) return out;
    return b > 0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();
}

int saturatingInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}
