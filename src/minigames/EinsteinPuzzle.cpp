#include "minigames/EinsteinPuzzle.hpp"

#include "foundation/TextReader.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int HOUSES = 5;
constexpr int PERMUTATIONS = 120;

// Every ordering of five values, as the house each value stands in.
struct Orderings {
    std::array<std::array<std::int8_t, HOUSES>, PERMUTATIONS> houseOf{};
    Orderings() {
        std::array<int, HOUSES> order{0, 1, 2, 3, 4};
        int i = 0;
        do {
            for (int h = 0; h < HOUSES; ++h) houseOf[i][order[h]] = static_cast<std::int8_t>(h);
            ++i;
        } while (std::next_permutation(order.begin(), order.end()));
    }
};
const Orderings& orderings() {
    static const Orderings table;
    return table;
}

// Up to 120 orderings as bits.
struct OrderingSet {
    std::uint64_t word[2] = {0, 0};
    void add(int i) { word[i >> 6] |= 1ULL << (i & 63); }
    int countAnd(const OrderingSet& o) const {
        return std::popcount(word[0] & o.word[0]) + std::popcount(word[1] & o.word[1]);
    }
};

struct Relation {
    int attributeA, valueA, attributeB, valueB;
    bool sameHouse;
    bool holds(int houseA, int houseB) const {
        return sameHouse ? houseA == houseB : std::abs(houseA - houseB) == 1;
    }
};

} // namespace

EinsteinPuzzle::EinsteinPuzzle() {
    attributes = {
        {"color", {"Yellow", "Blue", "Green", "Cyan", "Magenta"}},
        {"pet", {"Dog", "Cat", "Parrot", "Raccoon", "Fox"}},
        {"name", {"Fulano", "Beltrano", "Ciclano", "Maria", "Joaquina"}},
        {"fruit", {"Banani", "Apple", "Pineapple", "Mango", "Pitanga"}},
    };
}

void EinsteinPuzzle::read(std::istream& in) {
    WordReader r(in, "Special", 63);
    present = true;
    auto tile = [&r] {
        const int x = r.integer("EinsteinPuzzle", "tile");
        return Point{x, r.integer("EinsteinPuzzle", "tile")};
    };
    for (int i = 0; i < 5; ++i) houseTiles.push_back(tile());
    clueTile = tile();
    ordinaryHouseScene = r.word("EinsteinPuzzle");
    fulanoHouseScene = r.word("EinsteinPuzzle");
}

const std::string& EinsteinPuzzle::valueWord(int house, int attribute) const {
    return attributes[attribute].values[solution[house][attribute]];
}

void EinsteinPuzzle::generate() {
    solution.clear();
    sameHouseClues.clear();
    nextToClues.clear();
    const int attributeCount = static_cast<int>(attributes.size());
    for (int h = 0; h < houseCount; ++h) {
        std::vector<int> row;
        for (int a = 0; a < attributeCount; ++a) {
            std::vector<int> candidates;
            for (int v = 0; v < static_cast<int>(attributes[a].values.size()); ++v) {
                bool taken = false;
                for (int before = 0; before < h; ++before) taken = taken || solution[before][a] == v;
                if (!taken) candidates.push_back(v);
            }
            row.push_back(candidates[std::rand() % static_cast<int>(candidates.size())]);
        }
        solution.push_back(row);
    }
    consoleLine("SOLUTION : ", assignmentText(solution));
    for (int blank = 0; blank < 8; ++blank) consoleLine("");

    auto holds = [](const std::vector<PuzzleClue>& list, const PuzzleClue& c) {
        return std::find(list.begin(), list.end(), c) != list.end() ||
               std::find(list.begin(), list.end(), c.mirrored()) != list.end();
    };
    int count = numSolutions();
    while (count >= 2) {
        const int r = std::rand();
        const int h = std::rand() % houseCount;
        int A = std::rand() % attributeCount;
        int B = std::rand() % attributeCount;
        std::vector<PuzzleClue>* list;
        if (r % 2 == 0) {
            while (B == A) B = std::rand() % attributeCount;
            const PuzzleClue clue{A, solution[h][A], B, solution[h][B]};
            if (holds(sameHouseClues, clue)) continue;
            // Fulano's house is what the player is looking for: no clue names him beside a house.
            if (valueWord(h, A) == "Fulano" || valueWord(h, B) == "Fulano") continue;
            sameHouseClues.push_back(clue);
            list = &sameHouseClues;
        } else {
            std::vector<int> neighbours;
            if (h > 0) neighbours.push_back(h - 1);
            if (h < houseCount - 1) neighbours.push_back(h + 1);
            const int h2 = neighbours[std::rand() % static_cast<int>(neighbours.size())];
            A = std::rand() % attributeCount;
            B = std::rand() % attributeCount;
            while (A == 0 && B == 0) {
                A = std::rand() % attributeCount;
                B = std::rand() % attributeCount;
            }
            const PuzzleClue clue{A, solution[h][A], B, solution[h2][B]};
            if (holds(nextToClues, clue)) continue;
            nextToClues.push_back(clue);
            list = &nextToClues;
        }
        const int n = numSolutions();
        if (n == count) list->pop_back(); // it ruled nothing out
        count = n;
    }
    printClues();
    const int left = numSolutions();
    if (left != 1) fatalAssert("Special", 140, "Hein??? " + std::to_string(left));
}

// The colours are known; the pets, names and fruits are three orderings of five values each, so
// the count is the number of triples of orderings that break no clue. Clues that tie one
// attribute to itself or to the colours filter each attribute's orderings on their own; the
// others tie two attributes, and the third is counted for each compatible pair with bit sets.
int EinsteinPuzzle::numSolutions(bool) const {
    const auto& houseOf = orderings().houseOf;
    std::array<int, HOUSES> colourHouse{};
    for (int h = 0; h < HOUSES; ++h) colourHouse[solution[h][0]] = h;

    std::vector<Relation> relations;
    for (const PuzzleClue& c : sameHouseClues)
        relations.push_back({c.attributeA, c.valueA, c.attributeB, c.valueB, true});
    for (const PuzzleClue& c : nextToClues)
        relations.push_back({c.attributeA, c.valueA, c.attributeB, c.valueB, false});

    // The house of a value under an ordering of its attribute (attribute 0: the known colours).
    auto house = [&](int attribute, int value, int ordering) {
        return attribute == 0 ? colourHouse[value] : int(houseOf[ordering][value]);
    };

    std::array<std::vector<int>, 4> allowed;
    for (int a = 1; a <= 3; ++a)
        for (int p = 0; p < PERMUTATIONS; ++p) {
            bool ok = true;
            for (const Relation& r : relations) {
                if ((r.attributeA != 0 && r.attributeA != a) || (r.attributeB != 0 && r.attributeB != a))
                    continue;
                if (!r.holds(house(r.attributeA, r.valueA, p), house(r.attributeB, r.valueB, p))) {
                    ok = false;
                    break;
                }
            }
            if (ok) allowed[a].push_back(p);
        }

    // Whether orderings pa of attribute a and pb of attribute b (a < b) agree on their clues.
    auto compatible = [&](int a, int pa, int b, int pb) {
        for (const Relation& r : relations) {
            if (r.attributeA == a && r.attributeB == b) {
                if (!r.holds(houseOf[pa][r.valueA], houseOf[pb][r.valueB])) return false;
            } else if (r.attributeA == b && r.attributeB == a) {
                if (!r.holds(houseOf[pb][r.valueA], houseOf[pa][r.valueB])) return false;
            }
        }
        return true;
    };
    const std::vector<int>& s1 = allowed[1];
    const std::vector<int>& s2 = allowed[2];
    const std::vector<int>& s3 = allowed[3];
    std::vector<OrderingSet> with1(s1.size()), with2(s2.size());
    for (std::size_t i = 0; i < s1.size(); ++i)
        for (std::size_t k = 0; k < s3.size(); ++k)
            if (compatible(1, s1[i], 3, s3[k])) with1[i].add(int(k));
    for (std::size_t j = 0; j < s2.size(); ++j)
        for (std::size_t k = 0; k < s3.size(); ++k)
            if (compatible(2, s2[j], 3, s3[k])) with2[j].add(int(k));
    int total = 0;
    for (std::size_t i = 0; i < s1.size(); ++i)
        for (std::size_t j = 0; j < s2.size(); ++j)
            if (compatible(1, s1[i], 2, s2[j])) total += with1[i].countAnd(with2[j]);
    return total;
}

bool EinsteinPuzzle::checkClues(const Assignment& assignment, int filled) const {
    const int houses = filled < 0 ? houseCount : filled;
    auto find = [&](int attribute, int value) {
        int found = -1;
        for (int h = 0; h < houses; ++h)
            if (assignment[h][attribute] == value) found = h;
        return found;
    };
    for (const PuzzleClue& c : sameHouseClues) {
        const int a = find(c.attributeA, c.valueA), b = find(c.attributeB, c.valueB);
        if (a >= 0 && b >= 0 && a != b) return false;
    }
    for (const PuzzleClue& c : nextToClues) {
        const int a = find(c.attributeA, c.valueA), b = find(c.attributeB, c.valueB);
        if (a >= 0 && b >= 0 && std::abs(a - b) != 1) return false;
    }
    return true;
}

std::string EinsteinPuzzle::attributeText(int attribute, int value) const {
    static const char* const PHRASES[] = {"colored ", "with a pet ", "owned by ", "with a box of "};
    if (attribute < 0 || attribute > 3) fatalAssert("Special", 227, attribute);
    return PHRASES[attribute] + attributes[attribute].values[value];
}

std::string EinsteinPuzzle::cluesText() const {
    std::string text;
    for (const PuzzleClue& c : sameHouseClues)
        text += "The house " + attributeText(c.attributeA, c.valueA) + " is the same as the house " +
                attributeText(c.attributeB, c.valueB) + "\n";
    text += "\n";
    for (const PuzzleClue& c : nextToClues)
        text += "The house " + attributeText(c.attributeA, c.valueA) + " is next to the house " +
                attributeText(c.attributeB, c.valueB) + "\n";
    return text;
}

void EinsteinPuzzle::printClues() const {
    std::string colours = "COLORS ";
    for (int h = 0; h < houseCount; ++h) colours += valueWord(h, 0) + " ";
    consoleLine(colours);
    for (const PuzzleClue& c : sameHouseClues)
        consoleLine("The house ", attributeText(c.attributeA, c.valueA), " is the same as the house ",
                    attributeText(c.attributeB, c.valueB));
    for (const PuzzleClue& c : nextToClues)
        consoleLine("The house ", attributeText(c.attributeA, c.valueA), " is next to the house ",
                    attributeText(c.attributeB, c.valueB));
}

std::string EinsteinPuzzle::assignmentText(const Assignment& assignment) const {
    std::string text;
    for (const auto& row : assignment) {
        text += "<";
        for (std::size_t a = 0; a < row.size(); ++a)
            text += (row[a] >= 0 ? attributes[a].values[row[a]] : std::string("?")) + " ";
        text += "> ";
    }
    return text;
}

bool EinsteinPuzzle::isFulanoHouse(int house) const { return valueWord(house, 2) == "Fulano"; }

sf::Color EinsteinPuzzle::houseColor(int house) const {
    const std::string& word = valueWord(house, 0);
    if (word == "Yellow") return sf::Color::Yellow;
    if (word == "Blue") return sf::Color::Blue;
    if (word == "Cyan") return sf::Color::Cyan;
    if (word == "Magenta") return sf::Color::Magenta;
    if (word == "Green") return sf::Color::Green;
    fatalAssert("Special", 276, "BAD COLOR");
}

std::string EinsteinPuzzle::housePet(int house) const { return valueWord(house, 1); }
std::string EinsteinPuzzle::houseFruit(int house) const { return valueWord(house, 3); }
