// The one reader every text format of the game goes through: words by stream extraction, and
// numbers that either read whole or end the game with the fatal assertion naming the word.
#pragma once

#include "foundation/main.hpp"

#include <istream>
#include <string>
#include <vector>

class WordReader {
public:
    // source and line name the check in the fatal assertion of a failed read.
    WordReader(std::istream& in, const char* source, int line) : in_(in), source_(source), line_(line) {}

    // The next word; false at the end of the stream.
    bool next(std::string& word);
    // The next word; the end of the stream is fatal with `missing` as detail.
    std::string word(const std::string& missing = "missing word");
    // The next word as a whole number; a word that is not one is fatal with the word as detail.
    int integer();
    float real();
    // The same, held to the range table's row for the statement argument.
    int integer(const char* statement, const char* argument);
    float real(const char* statement, const char* argument);
    // A tile coordinate pair.
    Point tile();
    // "1" or "0"; any other word is fatal, named after `name` (else the reader's statement).
    bool boolean(const std::string& name = "");
    // x y tile pairs up to the end of the stream; a lone, non-numeric or out-of-range coordinate
    // is fatal.
    std::vector<Point> points();
    // Everything left on the stream, leading blanks skipped.
    std::string rest();
    bool atEnd();

    std::istream& stream() { return in_; }

private:
    std::istream& in_;
    const char* source_;
    int line_;
};

// The words of one line.
std::vector<std::string> splitWords(const std::string& line);

// True for a line that holds nothing but blanks.
bool isBlank(const std::string& line);
