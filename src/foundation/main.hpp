// The shared vocabulary of the whole game: grid points and rectangles, direction codes, the
// tile-size globals, random helpers, the fatal assertion and the small global tables.
#pragma once

#include <SFML/System/Vector2.hpp>

#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// The window's size in pixels: every screen is laid out for it.
inline constexpr int WINDOW_WIDTH = 1920;
inline constexpr int WINDOW_HEIGHT = 1080;

// ---------------------------------------------------------------------------------------------
// Points, rectangles and directions

struct Point {
    int x = 0;
    int y = 0;

    constexpr Point() = default;
    constexpr Point(int x_, int y_) : x(x_), y(y_) {}

    constexpr int operator[](int axis) const { return axis == 0 ? x : y; }
    constexpr void set(int axis, int value) { (axis == 0 ? x : y) = value; }
    constexpr Point operator+(Point o) const { return {x + o.x, y + o.y}; }
    constexpr Point operator-(Point o) const { return {x - o.x, y - o.y}; }
    constexpr bool operator==(const Point&) const = default;
    constexpr Point offset(int dx, int dy) const { return {x + dx, y + dy}; }
    constexpr bool operator<(Point o) const { return x != o.x ? x < o.x : y < o.y; }
};

// Both corners inclusive; never normalised, so an inverted rectangle contains nothing.
struct Rect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;

    constexpr Rect() = default;
    constexpr Rect(int x0_, int y0_, int x1_, int y1_) : x0(x0_), y0(y0_), x1(x1_), y1(y1_) {}

    constexpr int low(int axis) const { return axis == 0 ? x0 : y0; }
    constexpr int high(int axis) const { return axis == 0 ? x1 : y1; }
    bool contains(Point p) const;
    // Cells along one axis, corners included.
    constexpr int size(int axis) const { return high(axis) - low(axis) + 1; }
    constexpr bool operator==(const Rect&) const = default;
};

using Direction = int;
constexpr Direction WEST = 0;
constexpr Direction EAST = 1;
constexpr Direction NORTH = 2;
constexpr Direction SOUTH = 3;
constexpr Direction NO_DIRECTION = 4;

// ---------------------------------------------------------------------------------------------
// Tile sizes. Only the Game's zoom toggle writes the two drawn sizes, always as a pair.

extern const int TILE_SIZE;
extern int displayTileSize;
extern int displayWallHeight;

// ---------------------------------------------------------------------------------------------
// Point arithmetic

void movePoint(Point& p, Direction d, int n);
Direction directionTo(Point from, Point to);
void approach(Point& p, Point target, int step);
int manhattanDistance(Point a, Point b);
Point tileToPixel(Point tile);
Point scaleToScreen(Point& v);
// The pixel point divided by the drawn tile size on each axis (truncating).
Point pixelToTile(Point pixel);
std::vector<Point> pointsAround(Point centre, int d, int pattern);

// ---------------------------------------------------------------------------------------------
// Randomness. Every random choice of the game comes from rand(), seeded once at start.

int randomBelow(int n);
Point randomScreenBorderPoint();

// Where a replayed story may seed the numbers so that each fight draws from its own seed: how
// many numbers came before depends on every frame drawn and every word typed since the game
// began. The game itself sets no hook; each setter returns the hook it replaces.
//
// Called right before opponents are levelled to the party's strength: at the top of a battle's
// start, and when the Mad Scientist is readied on entering his hall.
std::function<void()> setBeforeLevellingHook(std::function<void()> hook);
void beforeLevelling();
// Called at the top of a battle's first turn, before anything of the turn draws a number. The
// words that open a fight (the scene's title, an entry monolog) type between the start and this
// turn, and the frames drawn meanwhile take numbers as well.
std::function<void()> setBeforeFirstTurnHook(std::function<void()> hook);
void beforeFirstTurn();

// A shift generator over a state the caller owns; the same seed gives the same outline.
class XorShift {
public:
    explicit XorShift(int* state) : state_(state) {}
    int next(int n);
    static int step(int s);

private:
    int* state_;
};

std::vector<sf::Vector2f> randomJaggedPolygon(int seed, bool big);

// ---------------------------------------------------------------------------------------------
// Statistics and strings

int medianOf(std::vector<int> values);
std::string toLower(const std::string& s);
int parseParenInt(std::string s);

// ---------------------------------------------------------------------------------------------
// The fatal assertion. It writes "ASSERT file <source> line <n> : <detail>" to standard output,
// then hands over to the stop handler, which by default pauses for a key and exits with 1.
// Tests replace the handler (for example with one that throws) without changing the text.

using FatalHandler = std::function<void(const std::string& message)>;

// Installs a handler and returns the one it replaces.
FatalHandler setFatalHandler(FatalHandler handler);
// The default final step: pause, then exit(1).
void defaultFatalStop(const std::string& message);

// Waits for one character of standard input after writing the pause line.
// (Named apart from POSIX pause(), which every SFML header pulls in.)
void pauseGame();
// Tests and the console-less runner may replace how the pause waits (default: getchar()).
std::function<void()> setPauseWait(std::function<void()> wait);

[[noreturn]] void fatalAssertText(const char* source, int line, const std::string& detail);

// How a reader's failure reaches a caller that can go on without the data: while a
// FailedReadThrows lives, the stop handler throws ReadFailure with the assertion's whole text
// (after it has been written to standard output as always) instead of pausing and exiting. The
// game does this for the save files only (a damaged save comes back to the resume screen as a
// message); the fuzz harnesses do it for every reader. Everything else keeps the default stop.
struct ReadFailure {
    std::string message;
};

class FailedReadThrows {
public:
    FailedReadThrows();
    ~FailedReadThrows();
    FailedReadThrows(const FailedReadThrows&) = delete;
    FailedReadThrows& operator=(const FailedReadThrows&) = delete;

private:
    FatalHandler outer_;
};

// Where a reader is: while one lives, a fatal assertion's detail ends in "(<file> line <n>)", so
// that whoever wrote the file can find the bad data (text read from no file names no place). Places nest; the innermost one is named.
// The statement word is what an out-of-range number is named by when no reader names it.
class ReadingPlace {
public:
    explicit ReadingPlace(std::string file, int line = 0);
    ~ReadingPlace();
    ReadingPlace(const ReadingPlace&) = delete;
    ReadingPlace& operator=(const ReadingPlace&) = delete;

    void setLine(int line) { line_ = line; }
    void setStatement(std::string word) { statement_ = std::move(word); }

    // The innermost place, or null when no reader is at work.
    static const ReadingPlace* current();
    // Names the statement of the innermost place (nothing when no reader is at work).
    static void setCurrentStatement(std::string word);
    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& statement() const { return statement_; }

private:
    std::string file_;
    int line_;
    std::string statement_;
    ReadingPlace* outer_;
};

template <class T>
[[noreturn]] void fatalAssert(const char* source, int line, const T& detail) {
    std::ostringstream out;
    out << detail;
    fatalAssertText(source, line, out.str());
}

// ---------------------------------------------------------------------------------------------
// The console. Every line the game writes there goes out through consoleLine, which ends the line
// and flushes it, so that whoever watches the console sees each line as it happens.

void consoleLine(std::string_view line);

// A line of several parts, each written as a text stream writes it.
template <class First, class... Rest>
    requires(sizeof...(Rest) > 0)
void consoleLine(const First& first, const Rest&... rest) {
    std::ostringstream out;
    out << first;
    (out << ... << rest);
    consoleLine(std::string_view(out.str()));
}

// ---------------------------------------------------------------------------------------------
// Text-to-number conversion shared by every reader: a text that is not a number, or one out of
// range, ends in the fatal assertion with the text as detail.

// The whole text must be an integer (surrounding blanks allowed).
int toInt(std::string_view text, const char* source, int line);
// Like toInt, but any int is taken: for numbers the game itself wrote whose range is all of int
// (random seeds).
int toFullInt(std::string_view text, const char* source, int line);
// Like std::stoi: leading blanks, a sign, then the digits up to the first other character.
int leadingInt(std::string_view text, const char* source, int line);
float toFloat(std::string_view text, const char* source, int line);

// ---------------------------------------------------------------------------------------------
// Statistics of the character record

enum Stat : int {
    DMG = 0, DEF, STR, DEX, WIS, SPD, MOB, AMR, HP, MP, MAXHP, MAXMP, XP, SHL,
    STAT_NONE = 14
};
constexpr int STAT_COUNT = 14;

Stat statFromName(const std::string& word);
const std::string& statName(Stat stat);

// ---------------------------------------------------------------------------------------------
// Global tables

struct SpellRef {
    std::string name;
    int level = 0;
    bool operator==(const SpellRef&) const = default;
};

inline const std::vector<int> AXES{0, 1};
inline const std::vector<int> DIRECTIONS{0, 1, 2, 3};
inline const SpellRef NO_SPELL{"", 0};
extern const std::vector<std::string> CLASS_NAMES;
extern const std::map<std::string, std::string> CLASS_PRIMARY_STAT;
extern const std::map<std::string, std::string> CLASS_SECONDARY_STAT;
extern const std::set<std::string> EVIL_PERSONALITIES;
extern const std::set<std::string> NICE_PERSONALITIES;
extern const std::vector<std::string> SAUCER_NAMES;

// The marks of absence used across the game.
constexpr int NO_INDEX = 999999;
constexpr int NO_ITEM = 0x7fffffff;
