// The logic puzzle a walking scene can pose: five houses, each with a colour, a pet, an owner and
// a fruit; a hidden solution and random true clues, kept only while they narrow the solutions
// down, until exactly one is left.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <istream>
#include <string>
#include <vector>

struct PuzzleAttribute {
    std::string name;
    std::vector<std::string> values;
};

// In a same-house clue both pairs hold for one house; in a next-to clue for two neighbours.
struct PuzzleClue {
    int attributeA = 0;
    int valueA = 0;
    int attributeB = 0;
    int valueB = 0;
    bool operator==(const PuzzleClue&) const = default;
    PuzzleClue mirrored() const { return {attributeB, valueB, attributeA, valueA}; }
};

class EinsteinPuzzle {
public:
    using Assignment = std::vector<std::vector<int>>; // [house][attribute], -1 for unset

    int houseCount = 5;
    std::vector<PuzzleAttribute> attributes;
    std::vector<PuzzleClue> sameHouseClues;
    std::vector<PuzzleClue> nextToClues;
    Assignment solution;
    std::vector<Point> houseTiles;
    bool present = false;
    Point clueTile;
    std::string ordinaryHouseScene; // the first word
    std::string fulanoHouseScene;   // the second word

    EinsteinPuzzle();

    // "<x y> x5 <clue x y> <ordinary house scene> <Fulano's house scene>"; the tiles are appended.
    void read(std::istream& in);
    // A new solution (20 draws) and new clues; stops with the fatal assertion unless exactly one
    // solution is left.
    void generate();
    // Assignments that keep the known colours and break no clue. The flag changes nothing.
    int numSolutions(bool verbose = false) const;
    // No clue broken among the first `filled` houses (-1: all).
    bool checkClues(const Assignment& assignment, int filled) const;

    std::string attributeText(int attribute, int value) const;
    std::string cluesText() const;
    void printClues() const;
    std::string assignmentText(const Assignment& assignment) const;

    bool isFulanoHouse(int house) const;
    sf::Color houseColor(int house) const;
    std::string housePet(int house) const;
    std::string houseFruit(int house) const;
    const std::string& firstWord() const { return ordinaryHouseScene; }
    const std::string& secondWord() const { return fulanoHouseScene; }

private:
    const std::string& valueWord(int house, int attribute) const;
};
