#include "foundation/main.hpp"

#include "foundation/NumberRanges.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <utility>

const int TILE_SIZE = 120;
int displayTileSize = 120;
int displayWallHeight = 180;

bool Rect::contains(Point p) const {
    for (int axis : AXES) {
        if (p[axis] < low(axis) || p[axis] > high(axis)) return false;
    }
    return true;
}

void movePoint(Point& p, Direction d, int n) {
    if (d < 0 || d > 3) return;
    int axis = d / 2;
    p.set(axis, p[axis] + (d % 2 == 1 ? n : -n));
}

Direction directionTo(Point a, Point b) {
    if (a.x < b.x) return EAST;
    if (a.x > b.x) return WEST;
    return a.y < b.y ? SOUTH : NORTH;
}

void approach(Point& p, Point t, int step) {
    for (int axis : AXES) {
        if (p[axis] < t[axis]) p.set(axis, std::min(p[axis] + step, t[axis]));
        else if (p[axis] > t[axis]) p.set(axis, std::max(p[axis] - step, t[axis]));
    }
}

int manhattanDistance(Point a, Point b) { return std::abs(b.x - a.x) + std::abs(b.y - a.y); }

Point tileToPixel(Point p) { return {p.x * TILE_SIZE, p.y * TILE_SIZE}; }

Point scaleToScreen(Point& v) {
    for (int axis : AXES) v.set(axis, v[axis] * displayTileSize / TILE_SIZE);
    return v;
}

Point pixelToTile(Point p) { return {p.x / displayTileSize, p.y / displayTileSize}; }

std::vector<Point> pointsAround(Point c, int d, int pattern) {
    std::vector<Point> out;
    auto orthogonal = [&] {
        out.push_back({c.x, c.y + d});
        out.push_back({c.x, c.y - d});
        out.push_back({c.x - d, c.y});
        out.push_back({c.x + d, c.y});
    };
    auto diagonal = [&] {
        out.push_back({c.x + d, c.y + d});
        out.push_back({c.x - d, c.y + d});
        out.push_back({c.x + d, c.y - d});
        out.push_back({c.x - d, c.y - d});
    };
    switch (pattern) {
    case 0:
    case 4: orthogonal(); break;
    case 1: out.push_back({c.x, c.y + d}); break;
    case 2:
        for (int v : {2, 1, -2, -1}) {
            int sign = v >= 0 ? 1 : -1;
            for (int s : {-1, 1}) {
                for (int axis : AXES) {
                    Point off;
                    off.set(axis, v);
                    off.set(1 - axis, (3 - std::abs(v)) * sign * s);
                    out.push_back(c + off);
                }
            }
        }
        break;
    case 3: diagonal(); break;
    case 5: orthogonal(); diagonal(); break;
    default: break;
    }
    return out;
}

int randomBelow(int n) { return n == 0 ? 0 : std::rand() % n; }

Point randomScreenBorderPoint() {
    switch (std::rand() % 4) {
    case 0: return {0, std::rand() % WINDOW_HEIGHT};
    case 1: return {WINDOW_WIDTH - 1, std::rand() % WINDOW_HEIGHT};
    case 2: return {std::rand() % WINDOW_WIDTH, 0};
    default: return {std::rand() % WINDOW_WIDTH, WINDOW_HEIGHT - 1};
    }
}

namespace {
std::function<void()> levellingHook, firstTurnHook;
} // namespace

std::function<void()> setBeforeLevellingHook(std::function<void()> hook) { return std::exchange(levellingHook, std::move(hook)); }
void beforeLevelling() {
    if (levellingHook) levellingHook();
}

std::function<void()> setBeforeFirstTurnHook(std::function<void()> hook) { return std::exchange(firstTurnHook, std::move(hook)); }
void beforeFirstTurn() {
    if (firstTurnHook) firstTurnHook();
}

int XorShift::step(int s) {
    // Shifts on the unsigned image so that the arithmetic wraps instead of overflowing.
    auto u = static_cast<unsigned>(s);
    u ^= u << 21;
    s = static_cast<int>(u);
    s ^= (s >> 31);
    u = static_cast<unsigned>(s);
    u ^= u << 4;
    s = static_cast<int>(u);
    if (s < 0 && s != std::numeric_limits<int>::min()) s = -s;
    return s;
}

int XorShift::next(int n) {
    if (n == 0) return 0;
    if (n < 0) fatalAssert("main", 1029, n);
    int old = *state_;
    *state_ = step(*state_);
    return old % n;
}

std::vector<sf::Vector2f> randomJaggedPolygon(int seed, bool big) {
    int state = XorShift::step(seed);
    XorShift gen(&state);
    int range = 38;
    if (!big) {
        range = state % 38;
        state = XorShift::step(state);
    }
    int count = big ? seed % 3 + 7 : seed % 3 + 3;
    std::vector<sf::Vector2f> out{{0.f, 0.f}};
    const int na = big ? 20 : 1;
    const int nb = big ? 15 : 1;
    for (int i = 1; i < count; ++i) {
        int a = state;
        state = XorShift::step(state);
        int sumA = 0;
        for (int k = 0; k < na; ++k) sumA += gen.next(range);
        int b = state;
        state = XorShift::step(state);
        int sumB = 0;
        for (int k = 0; k < nb; ++k) sumB += gen.next(range);
        int sa = a % 2 == 0 ? 1 : -1;
        int sb = b % 2 == 0 ? 1 : -1;
        sf::Vector2f prev = out.back();
        out.push_back({prev.x + static_cast<float>(sb * (sumB / nb)),
                       prev.y + static_cast<float>(sa * (sumA / na))});
    }
    return out;
}

int medianOf(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    if (n % 2 == 1) return v[n / 2];
    return static_cast<int>((static_cast<double>(v[n / 2 - 1]) + v[n / 2]) * 0.5);
}

std::string toLower(const std::string& s) {
    std::string out = s;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

int parseParenInt(std::string s) {
    size_t p = s.find('(');
    size_t q = s.find(')');
    size_t start = p == std::string::npos ? 0 : p + 1;
    std::string text;
    if (start <= s.size()) {
        if (q == std::string::npos || p == std::string::npos || q < p) text = s.substr(start);
        else text = s.substr(start, q - p);
    }
    // A word cut inside its parentheses has no number left in them: the word itself is named.
    std::size_t digit = text.find_first_not_of(" \t");
    if (digit != std::string::npos && (text[digit] == '+' || text[digit] == '-')) ++digit;
    if (digit >= text.size() || !std::isdigit(static_cast<unsigned char>(text[digit])))
        fatalAssert("main", 1101, s);
    return leadingInt(text, "main", 1101);
}

// ---------------------------------------------------------------------------------------------

namespace {
FatalHandler& fatalHandler() {
    static FatalHandler handler = defaultFatalStop;
    return handler;
}
std::function<void()>& pauseWait() {
    static std::function<void()> wait = [] { std::getchar(); };
    return wait;
}
} // namespace

FatalHandler setFatalHandler(FatalHandler handler) {
    FatalHandler old = fatalHandler();
    fatalHandler() = handler ? std::move(handler) : FatalHandler(defaultFatalStop);
    return old;
}

std::function<void()> setPauseWait(std::function<void()> wait) {
    auto old = pauseWait();
    pauseWait() = wait ? std::move(wait) : [] { std::getchar(); };
    return old;
}

void consoleLine(std::string_view line) { std::cout << line << std::endl; }

void pauseGame() {
    consoleLine("Paused... press any key to continue");
    pauseWait()();
}

void defaultFatalStop(const std::string&) {
    pauseGame();
    std::exit(1);
}

namespace {
thread_local ReadingPlace* innermostPlace = nullptr;
} // namespace

ReadingPlace::ReadingPlace(std::string file, int line)
    : file_(std::move(file)), line_(line), outer_(innermostPlace) {
    innermostPlace = this;
}

ReadingPlace::~ReadingPlace() { innermostPlace = outer_; }

const ReadingPlace* ReadingPlace::current() { return innermostPlace; }

void ReadingPlace::setCurrentStatement(std::string word) {
    if (innermostPlace != nullptr) innermostPlace->statement_ = std::move(word);
}

FailedReadThrows::FailedReadThrows()
    : outer_(setFatalHandler([](const std::string& message) { throw ReadFailure{message}; })) {}

FailedReadThrows::~FailedReadThrows() { setFatalHandler(outer_); }

void fatalAssertText(const char* source, int line, const std::string& detail) {
    std::string message =
        std::string("ASSERT file ") + source + " line " + std::to_string(line) + " : " + detail;
    const ReadingPlace* place = ReadingPlace::current();
    if (place != nullptr && !place->file().empty()) {
        message += " (" + place->file();
        if (place->line() > 0) message += " line " + std::to_string(place->line());
        message += ")";
    }
    consoleLine(message);
    fatalHandler()(message);
    std::exit(1); // a handler that returns still must not let the caller go on
}

// ---------------------------------------------------------------------------------------------

namespace {
std::string_view trimmed(std::string_view t) {
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
    return t;
}
} // namespace

namespace {
// Every number a reader takes meets at least the table's "number" row.
template <class T>
T withinDefault(T value, std::string_view text, const char* source, int line) {
    const NumberRange& any = numberRange("*", "number");
    if (!(value >= any.low && value <= any.high)) {
        const ReadingPlace* place = ReadingPlace::current();
        std::string word = place && !place->statement().empty() ? place->statement() + " " : "";
        fatalAssert(source, line, word + std::string(trimmed(text)));
    }
    return value;
}
} // namespace

int leadingInt(std::string_view text, const char* source, int line) {
    std::string_view t = text;
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end == t.data()) fatalAssert(source, line, text);
    return withinDefault(value, text, source, line);
}

int toFullInt(std::string_view text, const char* source, int line) {
    std::string_view t = trimmed(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size() || t.empty()) fatalAssert(source, line, text);
    return value;
}

int toInt(std::string_view text, const char* source, int line) {
    return withinDefault(toFullInt(text, source, line), text, source, line);
}

float toFloat(std::string_view text, const char* source, int line) {
    std::string_view t = trimmed(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    float value = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (ec != std::errc() || end != t.data() + t.size() || t.empty()) fatalAssert(source, line, text);
    return withinDefault(value, text, source, line);
}

// ---------------------------------------------------------------------------------------------

namespace {
const std::string STAT_NAMES[STAT_COUNT] = {"DMG", "DEF", "STR", "DEX",   "WIS",   "SPD", "MOB",
                                            "AMR", "HP",  "MP",  "MAXHP", "MAXMP", "XP",  "SHL"};
const std::string NO_STAT_NAME;

template <int Column>
std::map<std::string, std::string> classStats() {
    static const char* pairs[][3] = {
        {"Warrior", "STR", "HP"},     {"Wizard", "WIS", "MP"},      {"Healer", "MP", "HP"},
        {"GoofWarrior", "DEX", "STR"}, {"CatWarrior", "SPD", "DEX"}, {"Alchemist", "WIS", "DEX"},
        {"FoodWarrior", "STR", "DEX"}, {"Dragon", "DEX", "WIS"},     {"Vampire", "STR", "MP"},
        {"UFO", "STR", "WIS"},         {"WhiteMage", "MP", "WIS"},   {"Gladiator", "HP", "STR"},
        {"BlackMage", "WIS", "SPD"},   {"Soldier", "DEX", "SPD"},    {"Caller", "WIS", "HP"},
        {"Sorcerer", "MP", "SPD"},     {"Necromancer", "HP", "MP"},  {"Fighter", "STR", "SPD"},
        {"Engineer", "DEX", "HP"},     {"Samurai", "SPD", "STR"},    {"Hacker", "HP", "WIS"},
        {"Engineer", "DEX", "HP"},     {"Squirel", "WIS", "STR"},
    };
    std::map<std::string, std::string> out;
    for (auto& row : pairs) out.emplace(row[0], row[Column]); // the first pair of a key wins
    return out;
}
} // namespace

Stat statFromName(const std::string& word) {
    for (int i = 0; i < STAT_COUNT; ++i)
        if (STAT_NAMES[i] == word) return static_cast<Stat>(i);
    return STAT_NONE;
}

const std::string& statName(Stat stat) {
    if (stat < 0 || stat >= STAT_COUNT) return NO_STAT_NAME;
    return STAT_NAMES[stat];
}

const std::vector<std::string> CLASS_NAMES{
    "Warrior",    "Wizard",     "Lumberjack", "Healer",  "Knight",     "ForestElf",
    "Sabado",     "Monster",    "Duck",       "GoofWarrior", "ElfMage", "ElfWarrior",
    "Karate",     "Ufo",        "CatWarrior", "Gladiator", "WhiteMage", "Caller",
    "Sorcerer",   "Necromancer", "Fighter",   "Engineer", "Samurai",    "Ninja"};
const std::map<std::string, std::string> CLASS_PRIMARY_STAT = classStats<1>();
const std::map<std::string, std::string> CLASS_SECONDARY_STAT = classStats<2>();
const std::set<std::string> EVIL_PERSONALITIES{"Evil",   "Rude",      "Sinister", "Creepy",
                                               "Voodoo", "HeavyFire", "Hateful",  "Envious"};
const std::set<std::string> NICE_PERSONALITIES{"Loving", "Cute"};
const std::vector<std::string> SAUCER_NAMES{"DiscoDisco", "UFO", "SUS", "DiscoBall"};
