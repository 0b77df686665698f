// Bad numbers in every reader: a value just outside each row of the range table, and the lines
// that once crashed, hung or overflowed, each through the reader of its file kind. Each must end
// in the fatal assertion naming the word and the value (and, read from a file, its place).
#include "FuzzTargets.hpp"

#include "battle/Items.hpp"
#include "characters/Character.hpp"
#include "foundation/NumberRanges.hpp"
#include "game/Globals.hpp"
#include "scenes/Maze.hpp"
#include "support/TestSupport.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string SCENE = "SceneName T\nType WALK\nTile . END\nMap\n........\n........\nEndMap\n";

struct Sample {
    const char* target;
    std::string text; // "{}" stands for the value
    const char* word; // what the assertion names
};

// One sample line for each row of the table: a new row needs its line here.
const std::map<std::pair<std::string, std::string>, Sample> SAMPLES{
    {{"*", "number"}, {"scene", SCENE + "DarkScene 5 3 {} 0 0", "DarkScene"}},
    {{"GenerateMaze", "x0"}, {"scene", SCENE + "GenerateMaze {} 1 5 5 Wall x S 0", "GenerateMaze"}},
    {{"GenerateMaze", "y0"}, {"scene", SCENE + "GenerateMaze 1 {} 5 5 Wall x S 0", "GenerateMaze"}},
    {{"GenerateMaze", "x1"}, {"scene", SCENE + "GenerateMaze 1 1 {} 5 Wall x S 0", "GenerateMaze"}},
    {{"GenerateMaze", "y1"}, {"scene", SCENE + "GenerateMaze 1 1 5 {} Wall x S 0", "GenerateMaze"}},
    {{"Snow", "count"}, {"scene", SCENE + "Snow {}", "Snow"}},
    {{"Background", "COUNT"}, {"scene", SCENE + "Background Space COUNT {}", "Background"}},
    {{"Credits", "lines"}, {"scene", SCENE + "Credits {}", "Credits"}},
    {{"Credits", "PICTURE"}, {"scene", SCENE + "Credits 0 PICTURE {} Pic", "Credits"}},
    {{"Building", "x"}, {"scene", SCENE + "House {} 2 3 3", "House"}},
    {{"Building", "y"}, {"scene", SCENE + "House 2 {} 3 3", "House"}},
    {{"Building", "width"}, {"scene", SCENE + "House 2 2 {} 3", "House"}},
    {{"Building", "height"}, {"scene", SCENE + "House 2 2 3 {}", "House"}},
    {{"Building", "DOOR"}, {"scene", SCENE + "House 2 2 3 3 DOOR {} 1", "House"}},
    {{"Box", "x0"}, {"scene", SCENE + "BlockBox {} 0 1 1", "BlockBox"}},
    {{"Box", "y0"}, {"scene", SCENE + "UnblockBox 0 {} 1 1", "UnblockBox"}},
    {{"Box", "x1"}, {"scene", SCENE + "RemoveBlockedInBox 0 0 {} 1", "RemoveBlockedInBox"}},
    {{"Box", "y1"}, {"scene", SCENE + "EnergyField 0 0 1 {}", "EnergyField"}},
    {{"Tile", "x"}, {"scene", SCENE + "SleepLocation {} 1", "SleepLocation"}},
    {{"Tile", "y"}, {"scene", SCENE + "Quorvane 1 1 2 {}", "Quorvane"}},
    {{"Comet", "size"}, {"scene", SCENE + "Comet c 0 0 1 1 {}", "Comet"}},
    {{"Comet", "row"}, {"scene", SCENE + "Comet c 0 0 1 1 1 {}", "Comet"}},
    {{"Object", "LOCATION"}, {"scene", SCENE + "Object Barrel LOCATION {} 0", "Object"}},
    {{"Object", "SIZEX"}, {"scene", SCENE + "Object Barrel SIZEX {}", "Object"}},
    {{"DeleteObjectsInBox", "corner"}, {"scene", SCENE + "DeleteObjectsInBox 0 {} 0 0", "DeleteObjectsInBox"}},
    {{"ColorizeObject", "tile"}, {"scene", SCENE + "ColorizeObject {} 0 1 1 1", "ColorizeObject"}},
    {{"NPCAnimAt", "scale"}, {"scene", SCENE + "NPCAnimAt Pic {} 1 0 0", "NPCAnimAt"}},
    {{"Container", "count"}, {"scene", SCENE + "Container Box ITEMS {}", "Container"}},
    {{"Container", "HOWMANY"}, {"scene", SCENE + "Container Box HOWMANY {}", "Container"}},
    {{"Container", "SIZEX"}, {"scene", SCENE + "Container Box SIZEX {}", "Container"}},
    {{"Monolog", "lines"}, {"scene", SCENE + "Monolog Ravi {} TEXT hello", "Monolog"}},
    {{"MonologSequence", "monologs"}, {"scene", SCENE + "Dialog Ravi {}", "Dialog"}},
    {{"FlyingAnim", "pixel"}, {"scene", SCENE + "FlyingAnim Bird {} 0 1", "FlyingAnim"}},
    {{"FlyingAnim", "speed"}, {"scene", SCENE + "FlyingAnim Bird 0 0 {}", "FlyingAnim"}},
    {{"Planet", "size"}, {"scene", SCENE + "Planet 1 1 Mars {}", "Planet"}},
    {{"DarkScene", "level"}, {"scene", SCENE + "DarkScene {} 3", "DarkScene"}},
    {{"DarkScene", "reach"}, {"scene", SCENE + "DarkScene 5 {}", "DarkScene"}},
    {{"FrontObject", "size"}, {"scene", SCENE + "FrontObject Tree 1 1 SCALE {}", "FrontObject"}},
    {{"Text", "pixel"}, {"scene", SCENE + "Text {} 0 10 1 1 1 hi", "Text"}},
    {{"Text", "size"}, {"scene", SCENE + "Text 0 0 {} 1 1 1 hi", "Text"}},
    {{"WaitSequence", "frames"}, {"scene", SCENE + "Sequence S\nWait {}\nEndSequence", "WaitSequence"}},
    {{"Move", "WAIT"}, {"scene", SCENE + "Sequence S\nMove Ravi 1 1 WAIT {}\nEndSequence", "Move"}},
    {{"NPCAnimAt", "frames"}, {"scene", SCENE + "NPCAnimAt Pic 1 {} 0 0", "NPCAnimAt"}},
    {{"Mandelbrot", "COLOR"}, {"scene", SCENE + "Mandelbrot COLOR 1 {} 3", "Mandelbrot"}},
    {{"Tile", "ROTATE"}, {"scene", SCENE + "Tile r ROTATE {} END", "Tile"}},
    {{"Mandelbrot", "RANDOMCOLORS"}, {"scene", SCENE + "Mandelbrot RANDOMCOLORS {}", "Mandelbrot"}},
    {{"Mandelbrot", "Location"}, {"scene", SCENE + "Mandelbrot COLOR 1 2 3 Location -2 -1 1 {}", "Mandelbrot"}},
    // A map's area, not a number written: APictureTooLargeToHold... reads maps around its ends.
    {{"Mandelbrot", "picture"}, {"scene", "", "Mandelbrot"}},
    {{"SokobanGame", "tile"}, {"scene", SCENE + "SokobanGame 1 1 Prize 1 1 {} 0", "SokobanGame"}},
    {{"AlivePicture", "tile"}, {"scene", SCENE + "AlivePicture Lady 1 {}", "AlivePicture"}},
    {{"EinsteinPuzzle", "tile"}, {"scene", SCENE + "EinsteinPuzzle 1 1 2 1 3 1 4 1 {} 1 5 2 A B", "EinsteinPuzzle"}},
    {{"SpaceChapterGate", "tile"}, {"scene", SCENE + "SpaceChapterGate {} 1 Water Dock Water Sun", "SpaceChapterGate"}},
    {{"RocketTravelPlace", "tile"}, {"scene", SCENE + "RocketTravelPlace 1 {}", "RocketTravelPlace"}},
    {{"RocketDestinations", "tile"}, {"scene", SCENE + "RocketDestinations {} 1 Mars", "RocketDestinations"}},
    {{"Character", "stat"}, {"characters", "Character Fuzz STR {}", "STR"}},
    {{"Character", "LEVEL"}, {"characters", "Character Fuzz LEVEL {}", "LEVEL"}},
    {{"Character", "ITEMS"}, {"characters", "Character Fuzz ITEMS {}", "ITEMS"}},
    {{"Character", "item count"}, {"characters", "Character Fuzz ITEMS 1 Sword {}", "ITEMS"}},
    {{"Character", "OBJINSAC"}, {"characters", "Character Fuzz OBJINSAC {}", "OBJINSAC"}},
    {{"Character", "MAGIC"}, {"characters", "Character Fuzz MAGIC Fire {}", "MAGIC"}},
    {{"Character", "MOUTH"}, {"characters", "Character Fuzz MOUTH {}", "MOUTH"}},
    {{"Character", "SIZE"}, {"characters", "Character Fuzz SIZE {}", "SIZE"}},
    {{"Item", "bonus"}, {"items", "ITEM Fuzz WEAPON SPD {}", "SPD"}},
    {{"Item", "RANGE"}, {"items", "ITEM Fuzz WEAPON RANGE {}", "RANGE"}},
    {{"Magic", "number"}, {"spells", "Fuzz KIND Flame LEVELS {}", "LEVELS"}},
    {{"Battle", "count"}, {"battle", "ENEMIES {}", "ENEMIES"}},
    {{"Save", "count"}, {"game_save", "STRVARS {}", "STRVARS"}},
    {{"Save", "TARGETFPS"}, {"game_save", "TARGETFPS {}", "TARGETFPS"}},
    {{"Save", "DIFFICULTY"}, {"game_save", "DIFFICULTY {}", "DIFFICULTY"}},
};

std::string failure(const char* target, const std::string& text) {
    const FuzzTarget* t = findFuzzTarget(target);
    return t ? fuzzTargetFailure(*t, text) : std::string("no target ") + target;
}

std::string withValue(std::string text, const std::string& value) {
    text.replace(text.find("{}"), 2, value);
    return text;
}

std::string number(double v) {
    std::ostringstream out;
    out.precision(10);
    out << v;
    return out.str();
}

} // namespace

TEST(BadData, AValueJustOutsideEachRangeStopsWithTheWordAndTheValue) {
    for (const NumberRange& row : numberRanges()) {
        const auto sample = SAMPLES.find({row.statement, row.argument});
        ASSERT_NE(sample, SAMPLES.end()) << "no sample line for " << row.statement << " " << row.argument;
        const Sample& s = sample->second;
        if (s.text.empty()) continue;
        for (double outside : {row.low - 1, row.high + 1}) {
            const std::string value = number(outside);
            const std::string message = failure(s.target, withValue(s.text, value));
            EXPECT_NE(message.find(std::string(" : ") + s.word + " " + value), std::string::npos)
                << row.statement << " " << row.argument << ": " << message;
            if (std::string(s.target) != "battle") {
                EXPECT_NE(message.find(" line "), std::string::npos) << message;
            }
        }
    }
}

TEST(BadData, LinesThatOnceCrashedHungOrOverflowedStopWithTheWordAndTheValue) {
    const std::vector<std::tuple<const char*, std::string, std::string>> lines{
        {"scene", "GenerateMaze 1 1 1401 1401 Wall x S 0", "GenerateMaze 1401"},
        {"scene", "GenerateMaze 1 1 2000000000 2 Wall x S 0", "GenerateMaze 2000000000"},
        {"scene", "Snow 2000000000", "Snow 2000000000"},
        {"scene", "Background Space COUNT 2000000000", "Background 2000000000"},
        {"scene", "House 0 0 100000 100000", "House 100000"},
        {"scene", "BlockBox 0 0 2147483647 0", "BlockBox 2147483647"},
        {"scene", "UnblockBox 0 0 2147483647 0", "UnblockBox 2147483647"},
        {"scene", "RemoveBlockedInBox 0 0 2147483647 0", "RemoveBlockedInBox 2147483647"},
        {"scene", "Comet c 0 0 20000000 0 1", "Comet 20000000"},
        {"scene", "Credits 2147483647", "Credits 2147483647"},
        {"scene", "SetPosition Ravi 20000000 0", "SetPosition 20000000"},
        {"scene", "AnimationsAt Pic 20000000 1", "AnimationsAt 20000000"},
        {"scene", "Object Barrel LOCATION 0 1e30", "Object 1e30"},
        {"scene", "DeleteObjectsInBox 0 0 0 1e30", "DeleteObjectsInBox 1e30"},
        {"scene", "Tile r ROTATE 2147483647 END", "Tile 2147483647"},
        {"characters", "Character Fuzz POS 20000000 0", "POS 20000000"},
        {"characters", "Character Fuzz ITEMS 2 Sword 2147483647 Sword 1", "ITEMS 2147483647"},
        {"characters", "Character Fuzz STR 2147483647 WEAPON Sword", "STR 2147483647"},
        {"items", "ITEM Fuzz WEAPON SPD 4E11", "SPD 4e+11"},
        {"items", "ITEM Fuzz WEAPON STR -1e31", "STR -1e+31"},
        // Words the ranges allow whose value cannot be used: named, with the file and line.
        {"characters", "Character Fuzz MAGIC(", "MAGIC("},
        {"characters", "Character Fuzz MAGIC(x) Fire 1", "MAGIC(x)"},
        {"game_save", "CURRENTSCENE Start\nAUTODISTRIBUTEWEAPONS 7", "AUTODISTRIBUTEWEAPONS 7"},
        {"game_save", "AUTODISTRIBUTEFOOD -1", "AUTODISTRIBUTEFOOD -1"},
        {"game_save", "SCENE Start CHESTS 0 BATTLEV 2", "BATTLEV 2"},
        {"scene", "Battle JOINS 2 Ravi Ravi", "Ravi listed twice"},
        {"scene", "Battle ENEMIES 1 Ravi ENEMYPOS 1000 1000", "ENEMYPOS 1000 1000 outside the 8 x 2 map"},
        {"scene", "Battle ENEMYPOS 1 1 ENEMYPOSNAME Rat 8 0", "ENEMYPOSNAME Rat 8 0 outside the 8 x 2 map"},
    };
    // The place is the file and the line of the statement (the scene's eighth).
    const std::string musik = failure("scene", SCENE + "Musik Town\n");
    EXPECT_EQ(musik.rfind("ASSERT file Scene line ", 0), 0u) << musik;
    EXPECT_EQ(musik.substr(musik.find(" : ")), " : Musik (Game/Fuzz_scene.txt line 8)");
    for (const auto& [target, line, detail] : lines) {
        const std::string text = std::string(target) == "scene" ? SCENE + line : line;
        const std::string message = failure(target, text);
        EXPECT_NE(message.find(" : " + detail + " ("), std::string::npos) << line << ": " << message;
    }
}

// The count cache of a Mandelbrot picture holds a count per pixel of its map: the deepest
// generated level's size reads, a map past the row stops before anything is allocated.
TEST(BadData, APictureTooLargeToHoldStopsWithTheSceneAndItsSize) {
    const auto scene = [](int columns, int rows, const std::string& more) {
        std::string text = "SceneName Deep\nType WALK\nTile . END\nMap\n";
        for (int y = 0; y < rows; ++y) text += std::string(static_cast<std::size_t>(columns), '.') + "\n";
        return text + "EndMap\nMandelbrot COLOR 1 2 3 COLOR 4 5 6 Location -2 -1 1 1\n" + more;
    };
    EXPECT_EQ(failure("scene", scene(48, 27, "")), "");
    EXPECT_EQ(failure("scene", scene(48, 48, "")), ""); // 33177600 pixels, below the row's end
    const std::string over = failure("scene", scene(49, 48, ""));
    EXPECT_NE(over.find(" : Mandelbrot 33868800 pixels (5880 x 5760) of scene Deep (Game/Fuzz_scene.txt line 54)"),
              std::string::npos)
        << over;
    const std::string huge = failure("scene", scene(256, 256, "# a comment\n"));
    EXPECT_NE(huge.find(" : Mandelbrot 943718400 pixels (30720 x 30720) of scene Deep (Game/Fuzz_scene.txt line 262)"),
              std::string::npos)
        << huge;
}

TEST(BadData, StatisticsAndBonusesSaturateInsteadOfWrapping) {
    EXPECT_EQ(saturatingAdd(std::numeric_limits<int>::max() - 5, 100), std::numeric_limits<int>::max());
    EXPECT_EQ(saturatingAdd(std::numeric_limits<int>::min() + 5, -100), std::numeric_limits<int>::min());
    EXPECT_EQ(saturatingInt(1e30), std::numeric_limits<int>::max());
    EXPECT_EQ(saturatingInt(-1e30), std::numeric_limits<int>::min());
    // A stat grown to the top keeps its top with a weapon's bonus on it.
    ItemList items;
    Item sword;
    sword.name = "Sword";
    sword.type = Item::WEAPON;
    sword.bonuses[STR] = 1e6f;
    sword.bonuses[DEX] = 3e9f;
    sword.bonuses[WIS] = 3e9f;
    items.items.push_back(sword);
    GlobalsGuard globals;
    itemList = &items;
    Character c("Strong");
    std::array<int, STAT_COUNT> base = c.baseStats();
    base[STR] = std::numeric_limits<int>::max() - 10;
    c.weapon = 0;
    c.setFromBaseStats(base);
    EXPECT_EQ(c.stats[STR], std::numeric_limits<int>::max());
    EXPECT_EQ(Item::score(items, 0), std::numeric_limits<int>::max());
}

// Every input that ever stopped a reader the wrong way: each must come back to the harness.
TEST(BadData, TheFuzzFindingsReadWithoutACrash) {
    namespace fs = std::filesystem;
    // The build makes a harness, and the runs seed a corpus, for each name of the list.
    std::vector<std::string> listed, readers;
    std::ifstream list(fs::path(QUORVANE_SOURCE_DIR) / "fuzz" / "targets.txt");
    for (std::string name; std::getline(list, name);) listed.push_back(name);
    for (const FuzzTarget& t : fuzzTargets()) readers.push_back(t.name);
    EXPECT_EQ(listed, readers);
    int replayed = 0;
    for (const auto& folder : fs::directory_iterator(fs::path(QUORVANE_SOURCE_DIR) / "fuzz" / "regressions")) {
        const FuzzTarget* target = findFuzzTarget(folder.path().filename().string());
        ASSERT_NE(target, nullptr) << folder.path();
        for (const auto& file : fs::directory_iterator(folder.path())) {
            std::ifstream in(file.path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            runFuzzTarget(*target, text.str());
            ++replayed;
        }
    }
    EXPECT_GT(replayed, 0);
}
