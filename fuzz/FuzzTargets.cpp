#include "FuzzTargets.hpp"

#include "battle/Battle.hpp"
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/SaveRecords.hpp"
#include "game/TileKind.hpp"
#include "scenes/Scene.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A scratch folder beside the demo's data: the readers that take a path read files written here.
struct FuzzWorld {
    People roster;
    ItemList items;
    MagicRepository magic;
    PotionRepository potions;
    std::unique_ptr<Game> shell;
    std::size_t baseTileKinds = 0;

    fs::path scratch = fs::temp_directory_path() / ("quorvane-fuzz-" + std::to_string(::getpid()));

    FuzzWorld() {
        fs::create_directories(scratch);
        for (const char* folder : {"Data", "Game"}) {
            std::error_code ec;
            fs::create_directory_symlink(fs::path(QUORVANE_DATA_DIR) / folder, scratch / folder, ec);
        }
        // A small copy of each data file (its first records), so that a Game.txt naming them
        // reads quickly enough to be fuzzed a million times.
        fs::create_directories(scratch / "Mini");
        for (const char* name : {"Magic", "Items", "Potions", "Characters", "Enemies"}) {
            std::ifstream in(fs::path(QUORVANE_DATA_DIR) / "Data" / (std::string(name) + ".txt"));
            std::ofstream out(scratch / "Mini" / (std::string(name) + ".txt"));
            int kept = 0;
            for (std::string line; kept < 3 && std::getline(in, line);)
                if (!line.empty() && line[0] != '#') {
                    out << line << "\n";
                    ++kept;
                }
        }
        shell = std::make_unique<Game>();
        install();
        game->playerName = "Fuzz";
        items.load("Data/Items.txt", nullptr, 0);
        magic.load("Data/Magic.txt", nullptr, 0);
        potions.load("Data/Potions.txt", nullptr, 0);
        roster.loadCharacters("Data/Characters.txt", nullptr, 0, false, nullptr);
        roster.loadCharacters("Data/Enemies.txt", nullptr, 0, false, nullptr);
        roster.mainCharacterIndex = 0;
        roster.party = {0};
        Scene& start = game->scenes.addScene();
        start.loadText("SceneName Start\nType WALK\nTile . END\nMap\n....\n....\nEndMap\n");
        game->currentScene = 0;
        baseTileKinds = game->tileKinds.size();
    }
    ~FuzzWorld() {
        std::error_code ec;
        fs::remove_all(scratch, ec);
    }

    void install() {
        fs::current_path(scratch);
        resources = nullptr;
        people = &roster;
        itemList = &items;
        magicRepository = &magic;
        potionRepository = &potions;
        game = shell.get();
    }
};

// The world is the running game's only while a target reads: what was there before comes back.
class WorldScope {
public:
    WorldScope()
        : dir_(fs::current_path()), resources_(resources), people_(people), items_(itemList),
          magic_(magicRepository), potions_(potionRepository), game_(game) {
        static FuzzWorld* w = nullptr;
        if (w == nullptr) {
            FailedReadThrows demoDataIsWhole; // (a fault there ends the run with its message)
            w = new FuzzWorld();
            // The world lives to the end of the process; its scratch folder goes with it.
            std::atexit([] {
                std::error_code ec;
                fs::remove_all(fs::temp_directory_path() / ("quorvane-fuzz-" + std::to_string(::getpid())), ec);
            });
        }
        world_ = w;
        world_->install();
    }
    ~WorldScope() {
        fs::current_path(dir_);
        resources = resources_;
        people = people_;
        itemList = items_;
        magicRepository = magic_;
        potionRepository = potions_;
        game = game_;
    }
    FuzzWorld& world() { return *world_; }

private:
    fs::path dir_;
    Resources* resources_;
    People* people_;
    ItemList* items_;
    MagicRepository* magic_;
    PotionRepository* potions_;
    Game* game_;
    FuzzWorld* world_ = nullptr;
};

std::size_t baseTileKinds = 0;

std::string scratchFile(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary | std::ios::trunc) << text;
    return name;
}

void readWords(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    int kind = 0;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        WordReader r(in, "Fuzz", 1);
        switch (kind++ % 7) {
        case 0: r.integer(); break;
        case 1: r.real(); break;
        case 2: r.points(); break;
        case 3: r.boolean(); break;
        case 4: r.tile(); break;
        case 5: parseParenInt(r.word()); break;
        default: leadingInt(r.rest(), "Fuzz", 1); break;
        }
        r.rest();
    }
}

void readCharacterFile(const std::string& text) {
    People scratch;
    People* old = people;
    people = &scratch;
    struct Restore {
        People* old;
        ~Restore() { people = old; }
    } restore{old};
    scratch.loadCharacters(scratchFile("Characters.txt", text), nullptr, 0, false, nullptr);
}

void readPeopleSave(const std::string& text) { readPeopleSaveText(text, "people.save"); }

void readSpellFile(const std::string& text) {
    MagicRepository magic;
    magic.load(scratchFile("Magic.txt", text), nullptr, 0);
}

void readPotionFile(const std::string& text) {
    PotionRepository potions;
    potions.load(scratchFile("Potions.txt", text), nullptr, 0);
}

void readItemFile(const std::string& text) {
    ItemList items;
    items.load(scratchFile("Items.txt", text), nullptr, 0);
}

void readBattle(const std::string& text) {
    ReadingPlace place(""); // a battle line comes inside a scene file; the words are named alike
    Battle battle;
    battle.load(text);
}

void readScene(const std::string& text) {
    struct Restore {
        ~Restore() { game->tileKinds.resize(baseTileKinds); }
    } restore;
    Scene scene;
    scene.loadText(text, "Game/Fuzz_scene.txt");
    // The script lines are read when they run: play each sequence for a while, and each block.
    ReadingPlace place("Game/Fuzz_scene.txt");
    std::vector<std::string> names;
    for (const auto& [name, lines] : scene.sequences) names.push_back(name);
    for (const std::string& name : names) {
        scene.startSequence(name);
        for (int step = 0; step < 64 && scene.runSequenceStep(); ++step) scene.sequence.wait = 0;
    }
    const std::vector<SceneCondition> conditions = scene.conditions;
    for (const SceneCondition& c : conditions) scene.runScript(c.body);
    std::vector<std::vector<std::string>> bodies;
    for (const auto& [tile, body] : scene.triggers) bodies.push_back(body);
    for (const auto& body : bodies) scene.runScript(body);
}

void readLegend(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        TileKind kind;
        readLegendBlock(
            in, kind, [](const std::string&, const std::string&, std::istream& args) { std::string w; args >> w; },
            [](const std::string& unknown) { fatalAssert("Fuzz", 1, unknown); });
    }
}

void readGameFile(const std::string& text) {
    People roster;
    ItemList items;
    MagicRepository magic;
    PotionRepository potions;
    People* oldPeople = people;
    ItemList* oldItems = itemList;
    MagicRepository* oldMagic = magicRepository;
    PotionRepository* oldPotions = potionRepository;
    struct Restore {
        People* p;
        ItemList* i;
        MagicRepository* m;
        PotionRepository* o;
        ~Restore() {
            people = p;
            itemList = i;
            magicRepository = m;
            potionRepository = o;
        }
    } restore{oldPeople, oldItems, oldMagic, oldPotions};
    people = &roster;
    itemList = &items;
    magicRepository = &magic;
    potionRepository = &potions;
    scratchFile("Game.txt", text);
    game->readGameFile(nullptr, 0);
}

void readGameSave(const std::string& text) {
    const GameSaveRecord record = readGameSaveText(text, "game.save");
    PeopleSaveRecord closedPeople;
    closedPeople.closed = true;
    checkSavePairClosed(record, &closedPeople, "game.save", "people.save");
}

const std::vector<FuzzTarget> TARGETS{
    {"words", readWords},         {"characters", readCharacterFile}, {"people_save", readPeopleSave},
    {"spells", readSpellFile},    {"potions", readPotionFile},       {"items", readItemFile},
    {"battle", readBattle},       {"scene", readScene},              {"legend", readLegend},
    {"game_txt", readGameFile},   {"game_save", readGameSave},
};

} // namespace

const std::vector<FuzzTarget>& fuzzTargets() { return TARGETS; }

const FuzzTarget* findFuzzTarget(const std::string& name) {
    for (const FuzzTarget& t : TARGETS)
        if (name == t.name) return &t;
    return nullptr;
}

bool runFuzzTarget(const FuzzTarget& target, const std::string& text) {
    WorldScope scope;
    baseTileKinds = scope.world().baseTileKinds;
    FailedReadThrows stops;
    try {
        target.read(text);
        return true;
    } catch (const ReadFailure&) {
        return false;
    }
}

std::string fuzzTargetFailure(const FuzzTarget& target, const std::string& text) {
    WorldScope scope;
    baseTileKinds = scope.world().baseTileKinds;
    FailedReadThrows stops;
    try {
        target.read(text);
        return "";
    } catch (const ReadFailure& failure) {
        return failure.message;
    }
}
