// The range every number a reader takes may have. One row per statement argument: a reader
// checks the number where it reads it, and a value outside its row ends in the fatal assertion
// naming the statement and the value. New statements add their rows to the table in
// NumberRanges.cpp; a number no row names still meets the "number" row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Tile coordinates and tile counts: the largest map the game holds on each axis.
constexpr int MAX_TILE = 1024;
// Pixel coordinates of such a map (MAX_TILE * TILE_SIZE).
constexpr int MAX_PIXEL = 122880;
// Counts of things a statement makes or lists (flakes, stars, lines, items).
constexpr int MAX_COUNT = 10000;
// Statistics, experience and item counts in character files and saves.
constexpr int MAX_STAT = 1000000000;

struct NumberRange {
    const char* statement;
    const char* argument;
    double low;
    double high;
};

const std::vector<NumberRange>& numberRanges();
// The row for a statement argument; asking for a row the table lacks is a fault of the code.
const NumberRange& numberRange(std::string_view statement, std::string_view argument);

int inRange(const char* statement, const char* argument, int value);
float inRange(const char* statement, const char* argument, float value);

// Sums of statistics and bonuses stop at the ends of int instead of wrapping.
int saturatingAdd(int a, int b);
// A float held to int's range (NaN reads as 0) before it is truncated.
int saturatingInt(double value);
