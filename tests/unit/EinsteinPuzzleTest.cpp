// The logic puzzle: its generator against a plain search of our own on many seeds, its texts,
// and a village that poses it on entry and shows its clues at the signpost.
#include "minigames/EinsteinPuzzle.hpp"

#include "SceneTestWorld.hpp"
#include "scenes/Buildings.hpp"

#include <cstdlib>
#include <functional>
#include <sstream>

namespace {

// A plain count: every house in turn takes every value still free of each searched attribute,
// and a partial assignment is dropped as soon as a clue on the value just placed breaks.
int referenceCount(const EinsteinPuzzle& p) {
    int house[4][5];
    for (auto& row : house)
        for (int& h : row) h = -1;
    for (int h = 0; h < 5; ++h) house[0][p.solution[h][0]] = h;
    // The clues that name each attribute and value, with whether they are same-house clues.
    std::vector<std::pair<PuzzleClue, bool>> naming[4][5];
    for (int kind = 0; kind < 2; ++kind)
        for (const PuzzleClue& c : kind == 0 ? p.sameHouseClues : p.nextToClues) {
            naming[c.attributeA][c.valueA].push_back({c, kind == 0});
            naming[c.attributeB][c.valueB].push_back({c, kind == 0});
        }
    auto breaks = [&](int attribute, int value) {
        for (const auto& [c, same] : naming[attribute][value]) {
            const int x = house[c.attributeA][c.valueA], y = house[c.attributeB][c.valueB];
            if (x < 0 || y < 0) continue;
            if (same ? x != y : std::abs(x - y) != 1) return true;
        }
        return false;
    };
    auto fill = [&](auto&& self, int cell) -> int {
        if (cell == 15) return 1;
        const int h = cell / 3, attribute = cell % 3 + 1;
        int total = 0;
        for (int v = 0; v < 5; ++v) {
            if (house[attribute][v] >= 0) continue;
            house[attribute][v] = h;
            if (!breaks(attribute, v)) total += self(self, cell + 1);
            house[attribute][v] = -1;
        }
        return total;
    };
    return fill(fill, 0);
}

// The generator's rules over the reference count, on the same random sequence.
EinsteinPuzzle referenceGenerate() {
    EinsteinPuzzle p;
    for (int h = 0; h < 5; ++h) {
        std::vector<int> row;
        for (int at = 0; at < 4; ++at) {
            std::vector<int> free;
            for (int v = 0; v < 5; ++v) {
                bool used = false;
                for (int before = 0; before < h; ++before) used = used || p.solution[before][at] == v;
                if (!used) free.push_back(v);
            }
            row.push_back(free[std::rand() % free.size()]);
        }
        p.solution.push_back(row);
    }
    auto has = [](const std::vector<PuzzleClue>& list, PuzzleClue c) {
        for (const PuzzleClue& k : list)
            if (k == c || k == c.mirrored()) return true;
        return false;
    };
    int count = referenceCount(p);
    while (count >= 2) {
        const int r = std::rand();
        const int h = std::rand() % 5;
        int A = std::rand() % 4, B = std::rand() % 4;
        std::vector<PuzzleClue>* list = &p.nextToClues;
        if (r % 2 == 0) {
            while (B == A) B = std::rand() % 4;
            PuzzleClue c{A, p.solution[h][A], B, p.solution[h][B]};
            if (has(p.sameHouseClues, c) || (A == 2 && c.valueA == 0) || (B == 2 && c.valueB == 0))
                continue;
            list = &p.sameHouseClues;
            list->push_back(c);
        } else {
            std::vector<int> around;
            if (h > 0) around.push_back(h - 1);
            if (h < 4) around.push_back(h + 1);
            const int h2 = around[std::rand() % around.size()];
            do {
                A = std::rand() % 4;
                B = std::rand() % 4;
            } while (A == 0 && B == 0);
            PuzzleClue c{A, p.solution[h][A], B, p.solution[h2][B]};
            if (has(p.nextToClues, c)) continue;
            list->push_back(c);
        }
        const int n = referenceCount(p);
        if (n == count) list->pop_back();
        count = n;
    }
    return p;
}

bool sameClues(const std::vector<PuzzleClue>& a, const std::vector<PuzzleClue>& b) { return a == b; }

TEST(EinsteinPuzzle, GeneratorMatchesAPlainSearchOnManySeeds) {
    std::ostringstream sink;
    auto* old = std::cout.rdbuf(sink.rdbuf()); // the generator logs every puzzle
    EinsteinPuzzle fast;
    fast.solution = {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2}, {3, 3, 3, 3}, {4, 4, 4, 4}};
    EXPECT_EQ(fast.numSolutions(), 1728000);
    EXPECT_EQ(referenceCount(fast), 1728000);
    int clues = 0;
#ifdef QUORVANE_SANITIZED
    constexpr unsigned SEEDS = 40;
#else
    constexpr unsigned SEEDS = 200;
#endif
    for (unsigned seed = 1; seed <= SEEDS; ++seed) {
        std::srand(seed);
        fast.generate();
        const int after = std::rand();
        std::srand(seed);
        const EinsteinPuzzle slow = referenceGenerate();
        ASSERT_EQ(std::rand(), after) << "seed " << seed;
        ASSERT_EQ(fast.solution, slow.solution) << "seed " << seed;
        ASSERT_TRUE(sameClues(fast.sameHouseClues, slow.sameHouseClues)) << "seed " << seed;
        ASSERT_TRUE(sameClues(fast.nextToClues, slow.nextToClues)) << "seed " << seed;
        ASSERT_EQ(referenceCount(fast), 1);
        // The clue kept last, the end of one of the two lists, was needed.
        int without = 0;
        for (int list = 0; list < 2; ++list) {
            EinsteinPuzzle fewer = fast;
            auto& clueList = list == 0 ? fewer.sameHouseClues : fewer.nextToClues;
            if (clueList.empty()) continue;
            clueList.pop_back();
            without = std::max(without, fewer.numSolutions());
        }
        EXPECT_GE(without, 2) << "seed " << seed;
        for (const PuzzleClue& c : fast.sameHouseClues) {
            EXPECT_NE(c.attributeA, c.attributeB);
            EXPECT_FALSE(c.attributeA == 2 && c.valueA == 0);
            EXPECT_FALSE(c.attributeB == 2 && c.valueB == 0);
        }
        for (const PuzzleClue& c : fast.nextToClues) EXPECT_FALSE(c.attributeA == 0 && c.attributeB == 0);
        clues += int(fast.sameHouseClues.size() + fast.nextToClues.size());
    }
    std::cout.rdbuf(old);
    EXPECT_GT(clues, static_cast<int>(SEEDS) * 5);
}

TEST(EinsteinPuzzle, TextsReadingAndBadValues) {
    CatchFatal catcher;
    EinsteinPuzzle p;
    p.solution = {{0, 0, 1, 2}, {1, 1, 0, 3}, {2, 2, 2, 4}, {3, 3, 3, 0}, {4, 4, 4, 1}};
    p.sameHouseClues = {{0, 0, 1, 0}};
    p.nextToClues = {{1, 1, 2, 2}};
    EXPECT_EQ(p.cluesText(),
              "The house colored Yellow is the same as the house with a pet Dog\n\n"
              "The house with a pet Cat is next to the house owned by Ciclano\n");
    EXPECT_TRUE(p.isFulanoHouse(1));
    EXPECT_FALSE(p.isFulanoHouse(0));
    EXPECT_EQ(p.houseColor(3), sf::Color::Cyan);
    EXPECT_EQ(p.housePet(1), "Cat");
    EXPECT_EQ(p.houseFruit(1), "Mango");
    EXPECT_EQ(p.assignmentText({{0, 1, 2, 3}}), "<Yellow Cat Ciclano Mango > ");
    EXPECT_EQ(fatalDetail([&] { p.attributeText(4, 0); }), "4");
    p.attributes[0].values[3] = "Purple";
    EXPECT_EQ(fatalDetail([&] { p.houseColor(3); }), "BAD COLOR");

    std::istringstream twice("1 2 3 4 5 6 7 8 9 10 11 12 Plain Special 1 1 2 2 3 3 4 4 5 5 6 6 A B");
    p.read(twice);
    p.read(twice);
    EXPECT_TRUE(p.present);
    EXPECT_EQ(p.houseTiles.size(), 10u);
    EXPECT_EQ(p.clueTile, Point(6, 6));
    EXPECT_EQ(p.firstWord(), "A");
    EXPECT_EQ(p.secondWord(), "B");
}

// A village of five houses: entering colours them and routes their doors, Fulano's house gets
// the pet and the fruit, and the signpost shows the clues.
TEST_F(SceneWorld, VillagePosesThePuzzleOnEveryEntry) {
    std::ostringstream sink;
    auto* old = std::cout.rdbuf(sink.rdbuf());
    load(square("Ordinary"));
    Scene& home = load(square("Fulano", "Container Box LOCATION 6 1 OBJECTS 1 Box\n"));
    std::string village = "SceneName Village\nType WALK\nTile . END\nTile # BLOCK END\nMap\n";
    village += std::string(22, '#') + "\n";
    for (int row = 0; row < 10; ++row) village += "#" + std::string(20, '.') + "#\n";
    village += std::string(22, '#') + "\nEndMap\n";
    for (int x : {2, 6, 10, 14, 18}) village += "House " + std::to_string(x) + " 2 3 3 DOOR 1 2\n";
    village += "EinsteinPuzzle 3 4 7 4 11 4 15 4 19 4 11 7 Ordinary Fulano\nNPC <MAIN> 11 8\n";
    Scene& v = load(village);
    std::srand(5);
    for (int visit = 0; visit < 3; ++visit) {
        enter(v, "Ordinary");
        const EinsteinPuzzle& p = *v.einstein;
        int fulanoDoors = 0;
        for (int i = 0; i < 5; ++i) {
            const BaseBuilding& b = *v.buildings[i];
            ASSERT_EQ(b.door, p.houseTiles[i]);
            EXPECT_EQ(b.colour, p.houseColor(i));
            EXPECT_EQ(b.scene, p.isFulanoHouse(i) ? "Fulano" : "Ordinary");
            if (!p.isFulanoHouse(i)) continue;
            ++fulanoDoors;
            const std::string pet = p.housePet(i);
            if (pet == "Parrot") {
                ASSERT_EQ(home.flyingAnimations.size(), 1u);
                EXPECT_EQ(home.flyingAnimations[0].animation.name, "Parrot");
            } else {
                ASSERT_EQ(home.objects.size(), 1u);
                EXPECT_EQ(home.objects[0].name, pet == "Fox" ? "FatFox" : pet);
            }
            EXPECT_EQ(home.containers.begin()->second.front().name, p.houseFruit(i));
        }
        EXPECT_EQ(fulanoDoors, 1);
        // Facing the signpost tile and confirming shows every clue line.
        Character& leader = people->mainCharacter();
        leader.setTilePosition({11, 8});
        leader.setFacing(NORTH);
        shell->input = confirm();
        v.update(nullptr);
        shell->input = {};
        std::vector<std::string> lines;
        std::istringstream text(p.cluesText());
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        while (!lines.empty() && lines.back().empty()) lines.pop_back();
        EXPECT_EQ(v.message.lines, lines);
        v.message.lines.clear();
    }
    std::cout.rdbuf(old);
}

} // namespace
