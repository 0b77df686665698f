#include "foundation/TextReader.hpp"

#include "foundation/NumberRanges.hpp"
#include "foundation/main.hpp"

#include <cctype>
#include <sstream>

bool WordReader::next(std::string& word) { return static_cast<bool>(in_ >> word); }

std::string WordReader::word(const std::string& missing) {
    std::string w;
    if (!(in_ >> w)) fatalAssert(source_, line_, missing);
    return w;
}

int WordReader::integer() {
    std::string w;
    if (!(in_ >> w)) fatalAssert(source_, line_, "missing number");
    return toInt(w, source_, line_);
}

float WordReader::real() {
    std::string w;
    if (!(in_ >> w)) fatalAssert(source_, line_, "missing number");
    return toFloat(w, source_, line_);
}

int WordReader::integer(const char* statement, const char* argument) {
    return inRange(statement, argument, integer());
}

float WordReader::real(const char* statement, const char* argument) {
    return inRange(statement, argument, real());
}

Point WordReader::tile() {
    const int x = integer("Tile", "x");
    return {x, integer("Tile", "y")};
}

bool WordReader::boolean(const std::string& name) {
    std::string w;
    if (!(in_ >> w)) fatalAssert(source_, line_, "missing flag");
    if (w != "0" && w != "1") {
        // Any other number would once have read as true: a flag written 0 or 1 cannot have
        // become anything else without damage.
        const ReadingPlace* place = ReadingPlace::current();
        const std::string word = !name.empty() ? name : place != nullptr ? place->statement() : "";
        fatalAssert(source_, line_, word.empty() ? w : word + " " + w);
    }
    return w == "1";
}

std::vector<Point> WordReader::points() {
    std::vector<Point> out;
    std::string w;
    while (next(w)) {
        const int x = inRange("Tile", "x", toInt(w, source_, line_));
        out.push_back({x, integer("Tile", "y")});
    }
    return out;
}

std::string WordReader::rest() {
    std::string out;
    in_ >> std::ws;
    std::getline(in_, out, '\0');
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
    return out;
}

bool WordReader::atEnd() {
    in_ >> std::ws;
    return in_.peek() == std::char_traits<char>::eof();
}

std::vector<std::string> splitWords(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    std::string w;
    while (in >> w) out.push_back(w);
    return out;
}

bool isBlank(const std::string& line) {
    for (char c : line)
        if (!std::isspace(static_cast<unsigned char>(c))) return false;
    return true;
}
