// The player's two save files: "people.save" (one line per character) and "game.save" (the
// game variables, settings, shard tables, party sets, chapter and one record per scene).
#include "characters/People.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/GameStartup.hpp"
#include "game/Globals.hpp"
#include "game/LoadingScreen.hpp"
#include "game/SaveRecords.hpp"
#include "minigames/RocketTravel.hpp"
#include "scenes/Scene.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A quoted word less its first and last character (the quotes are not looked at).
std::string unquote(const std::string& word) {
    return word.size() >= 2 ? word.substr(1, word.size() - 2) : std::string();
}

// Writes the content to the temporary file and flushes it to disk. False with the reason otherwise.
bool writeTemporary(const std::string& tmp, const std::string& content, std::string& error) {
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = std::strerror(errno);
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        data += n;
        left -= std::size_t(n);
    }
    const bool synced = ::fsync(fd) == 0;
    if (!synced) error = std::strerror(errno);
    const bool closed = ::close(fd) == 0;
    if (synced && !closed) error = std::strerror(errno);
    if (!synced || !closed) {
        ::unlink(tmp.c_str());
        return false;
    }
    return true;
}

// Makes the folder's entries (new files, renames) durable.
void syncFolder(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

void reportFailure(const std::string& path, const std::string& error,
                   const char* outcome = "the previous save is kept") {
    consoleLine("Could not save ", path, ": ", error, " (", outcome, ")");
}

// The planet folder whose "Characters.txt" defines the character, or "" when none does.
std::string planetDefining(const std::string& name) {
    std::set<std::string> planets;
    for (const auto& entry : game->scenePlanets) planets.insert(entry.second);
    for (const std::string& planet : planets) {
        if (game->loadedPlanets.count(planet) != 0) continue;
        std::ifstream in(planetCharactersFile(planet));
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream words(line);
            std::string first, second;
            words >> first >> second;
            if (first == "Character" && second == name) return planet;
        }
    }
    return "";
}

void loadPlanetOf(const std::string& planet, sf::RenderWindow* window) {
    if (planet.empty() || game->loadedPlanets.count(planet) != 0) return;
    game->loadPlanet(planet, window);
}

int lookUpMember(const std::string& name, int line) {
    const int index = people->indexOf(name);
    if (index == NO_INDEX) fatalAssert("Game", line, name);
    return index;
}

void applyPartyRecord(const PartyRecord& r) {
    if (r.key == "QUORVANE") {
        people->party.clear();
        for (const std::string& name : r.names) {
            const int index = lookUpMember(name, 1956);
            if (int(people->party.size()) >= PARTY_LIMIT)
                people->reserve.insert(index);
            else
                people->party.insert(index);
        }
    } else if (r.key == "SAVEDQUORVANE") {
        for (const std::string& name : r.names) people->savedParty.insert(lookUpMember(name, 1967));
    } else if (r.key == "SPAREQUORVANE") {
        for (const std::string& name : r.names) people->reserve.insert(lookUpMember(name, 1978));
    } else { // MAINCHARACTER
        const int index = people->indexOf(r.names.front());
        if (index == NO_INDEX)
            consoleLine("The saved main character ", r.names.front(),
                        " is not in the roster; the main character is kept");
        else
            people->mainCharacterIndex = index;
    }
}

} // namespace

std::string Game::peopleSavePath() const { return "SaveGames//" + playerName + "//people.save"; }
std::string Game::gameSavePath() const { return "SaveGames//" + playerName + "//game.save"; }

void Game::writePeopleSave(std::ostream& out) const {
    for (const Character& c : people->characters) {
        c.writeSave(out);
        out << "\n";
    }
    for (const auto& [name, line] : storedCharacterLines) {
        (void)name;
        out << line << "\n";
    }
    // Written last: a file cut short lacks it.
    out << PEOPLE_SAVE_END << "\n";
}

void Game::writeGameSave(std::ostream& out) {
    out << SAVE_FORMAT_KEY << " " << SAVE_FORMAT << "\n";
    out << "CURRENTSCENE " << current().name << "\n";
    out << "STRVARS " << STRVARS.size() << " ";
    for (const auto& [name, value] : STRVARS) out << name << " '" << value << "' ";
    out << "\n";
    out << "SETVARS " << SETVARS.size() << " ";
    for (const auto& [name, members] : SETVARS) {
        out << " " << name << " { ";
        for (const std::string& m : members) out << "'" << m << "' ";
        out << "} ";
    }
    out << "\n";
    out << "BOOLVARS " << BOOLVARS.size() << " ";
    for (const std::string& name : BOOLVARS) out << name << " ";
    out << "\n";
    out << "AUTODISTRIBUTEWEAPONS " << (autoDistributeWeapons ? 1 : 0) << "\n";
    out << "AUTODISTRIBUTEFOOD " << (autoDistributeFood ? 1 : 0) << "\n";
    out << "TARGETFPS " << targetFps << "\n";
    out << "DIFFICULTY " << difficulty << "\n";
    out << "SHARDS " << SHARDS.size() << " ";
    for (const auto& [name, value] : SHARDS) out << name << " " << value << " ";
    out << "\n";
    out << "LASTSHARD " << LASTSHARD << "\n";
    out << "SHARDLOCATION " << SHARDLOCATION.size() << " ";
    for (const auto& [shard, place] : SHARDLOCATION) out << shard << " " << place << " ";
    out << "\n";
    const auto writeSet = [&](const char* key, const std::set<int>& members) {
        out << key << " " << members.size() << " ";
        for (int index : members) out << people->at(index).name << " ";
        out << "\n";
    };
    writeSet("QUORVANE", people->party);
    writeSet("SPAREQUORVANE", people->reserve);
    writeSet("SAVEDQUORVANE", people->savedParty);
    if (people->mainCharacterIndex >= 0 && people->mainCharacterIndex < people->size())
        out << "MAINCHARACTER " << people->at(people->mainCharacterIndex).name << "\n";
    out << "CHAPTER " << chapter << "\n";

    std::set<std::string> written;
    for (Scene& scene : scenes) {
        scene.save(out);
        written.insert(scene.name);
    }
    for (const auto& [name, state] : savedScenes) {
        if (written.count(name) != 0) continue;
        out << "SCENE " << name << " ";
        state.write(out);
        out << "\n";
    }
    out << GAME_SAVE_END << "\n";
}

// Both files reach the disk under temporary names before either replaces its old file, so at
// every instant a whole pair exists. The people file is renamed first; a game temporary without a
// people temporary beside it therefore means that only the game file's rename is missing, and
// completeInterruptedSave finishes the pair. To keep that true, a stale game temporary goes
// before anything is written, and on a failure the game temporary goes before the people one.
bool Game::saveGame() {
    if (gameFinished) return true;
    std::ostringstream peopleText, gameText;
    writePeopleSave(peopleText);
    writeGameSave(gameText);

    const std::string peoplePath = peopleSavePath(), gamePath = gameSavePath();
    const std::string peopleTmp = peoplePath + ".tmp", gameTmp = gamePath + ".tmp";
    std::string error;
    ::unlink(gameTmp.c_str());
    if (!writeTemporary(peopleTmp, peopleText.str(), error)) {
        reportFailure(peoplePath, error);
        return false;
    }
    if (!writeTemporary(gameTmp, gameText.str(), error)) {
        ::unlink(peopleTmp.c_str());
        reportFailure(gamePath, error);
        return false;
    }
    syncFolder(gamePath);
    if (::rename(peopleTmp.c_str(), peoplePath.c_str()) != 0) {
        error = std::strerror(errno);
        ::unlink(gameTmp.c_str());
        ::unlink(peopleTmp.c_str());
        reportFailure(peoplePath, error);
        return false;
    }
    if (::rename(gameTmp.c_str(), gamePath.c_str()) != 0) {
        reportFailure(gamePath, std::strerror(errno), "loading the game finishes this save");
        return false;
    }
    syncFolder(gamePath);
    return true;
}

namespace {

std::string wholeFile(const std::string& path, int line) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fatalAssert("Game", line, path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Counts the lines up to a stream position as the reader moves on.
struct LineCounter {
    const std::string& text;
    std::size_t counted = 0;
    int line = 1;
    int at(std::streamoff position) {
        if (position < 0) return line;
        const std::size_t upTo = std::min(text.size(), static_cast<std::size_t>(position));
        for (; counted < upTo; ++counted)
            if (text[counted] == '\n') ++line;
        return line;
    }
};

// A party member must be in the roster or come with a planet the save will load.
void checkMember(const std::string& name, int line) {
    if (people->indexOf(name) == NO_INDEX && planetDefining(name).empty()) fatalAssert("Game", line, name);
}

bool sceneKnown(const std::string& name) {
    return game->findScene(name) >= 0 || game->scenePlanets.count(name) != 0;
}

// The value a game variable has once the save is applied.
std::string savedStrVar(const GameSaveRecord& record, const std::string& name) {
    const auto found = record.strVars.find(name);
    return found != record.strVars.end() ? found->second : game->getStrVar(name);
}

// Going to the saved scene must lead somewhere the player can go on from; a save that ends on
// the start screen or on a trip without a destination would stop the game, or bring back the
// list of games, at every resume.
void checkResumable(const GameSaveRecord& record) {
    const long long index = record.sceneToGo.empty() ? -1 : game->findScene(record.sceneToGo);
    if (index < 0) return; // no scene named, or one of a planet loaded with the save
    const Scene& scene = game->scenes[index];
    if (scene.playerControlHere) fatalAssert("Game", 287, "CURRENTSCENE " + scene.name);
    if (scene.type == SCENE_ROCKET_FLIGHT) {
        const std::string flight = savedStrVar(record, "FLIGHT");
        const auto landing = game->landingScenes.find(flight);
        if (landing == game->landingScenes.end() || !sceneKnown(landing->second))
            fatalAssert("Game", 292, "FLIGHT '" + flight + "'");
    } else if (scene.type == SCENE_SYSTEM_TRAVEL) {
        const std::string origin = savedStrVar(record, "ORIGIN");
        if (!sceneKnown(starSystemOf(origin)))
            fatalAssert("Game", 296, "ORIGIN '" + origin + "': no scene " + starSystemOf(origin));
    }
}

void applyPeopleSave(const PeopleSaveRecord& record) {
    for (const auto& [index, character] : record.characters) people->characters[index] = character;
    game->storedCharacterLines = record.stored;
}

} // namespace

PeopleSaveRecord readPeopleSaveText(const std::string& text, const std::string& path) {
    // An empty people file is told from a whole one by the closing record its game file asks
    // for; beside a game file written before the closing records it reads, as it always did.
    ReadingPlace place(path);
    PeopleSaveRecord record;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        place.setLine(++lineNumber);
        place.setStatement("");
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (isBlank(line) || line[0] == '#') continue;
        std::istringstream words(line);
        WordReader r(words, "People", 321);
        const std::string first = r.word();
        if (first.front() == '#') continue;
        if (record.closed) fatalAssert("People", 324, first);
        if (first == PEOPLE_SAVE_END) {
            record.closed = true;
            continue;
        }
        if (first != "Character") fatalAssert("People", 329, first);
        const std::string name = r.word("missing character name");
        const int index = people->indexOf(name);
        if (index == NO_INDEX) {
            // Kept as written for its planet, but it must read whole too.
            Character scratch(name);
            scratch.readDefinition(words);
            record.stored[name] = line;
            continue;
        }
        auto staged = record.characters.find(index);
        Character c = staged != record.characters.end() ? staged->second : people->characters[index];
        c.readDefinition(words);
        record.characters.insert_or_assign(index, std::move(c));
    }
    record.endLine = lineNumber + 1;
    return record;
}

namespace {

// The records of game.save in groups: each reader takes the words of its own keys and returns
// false for any other key.

// The game variables.
bool readVariables(const std::string& key, WordReader& words, GameSaveRecord& record) {
    if (key == "STRVARS") {
        const int n = words.integer("Save", "count");
        for (int i = 0; i < n; ++i) {
            const std::string name = words.word();
            record.strVars[name] = unquote(words.word());
        }
    } else if (key == "SETVARS") {
        const int n = words.integer("Save", "count");
        for (int i = 0; i < n; ++i) {
            const std::string name = words.word();
            const std::string brace = words.word();
            if (brace != "{") fatalAssert("Game", 1886, brace);
            std::string member;
            std::set<std::string>& members = record.setVars[name];
            while (words.next(member) && member != "}") members.insert(unquote(member));
            if (member != "}") fatalAssert("Game", 1886, "}");
        }
    } else if (key == "BOOLVARS") {
        const int n = words.integer("Save", "count");
        for (int i = 0; i < n; ++i) record.boolVars.insert(words.word());
    } else {
        return false;
    }
    return true;
}

// The settings; an ADVICE record is passed over to the end of its line.
bool readSettings(const std::string& key, WordReader& words, GameSaveRecord& record) {
    if (key == "AUTODISTRIBUTEWEAPONS") {
        record.autoDistributeWeapons = words.boolean();
    } else if (key == "AUTODISTRIBUTEFOOD") {
        record.autoDistributeFood = words.boolean();
    } else if (key == "TARGETFPS") {
        record.targetFps = words.integer("Save", "TARGETFPS");
    } else if (key == "ADVICE") {
        std::string ignored;
        std::getline(words.stream(), ignored);
    } else if (key == "DIFFICULTY") {
        record.difficulty = words.integer("Save", "DIFFICULTY");
    } else {
        return false;
    }
    return true;
}

bool readShards(const std::string& key, WordReader& words, GameSaveRecord& record) {
    if (key == "SHARDS") {
        const int n = words.integer("Save", "count");
        for (int i = 0; i < n; ++i) {
            const std::string name = words.word();
            record.shards[name] = words.integer();
        }
    } else if (key == "LASTSHARD") {
        record.lastShard = words.word();
    } else if (key == "SHARDLOCATION") {
        const int n = words.integer("Save", "count");
        for (int i = 0; i < n; ++i) {
            const std::string shard = words.word();
            record.shardLocation[shard] = words.word();
        }
    } else {
        return false;
    }
    return true;
}

// The party sets and the main character.
bool readParty(const std::string& key, WordReader& words, GameSaveRecord& record) {
    if (key == "QUORVANE" || key == "SAVEDQUORVANE" || key == "SPAREQUORVANE") {
        const int line = key == "QUORVANE" ? 1956 : key == "SAVEDQUORVANE" ? 1967 : 1978;
        PartyRecord r{key, {}};
        const int n = words.integer("Save", "count");
        for (int i = 0; i < n; ++i) {
            r.names.push_back(words.word());
            checkMember(r.names.back(), line);
        }
        record.party.push_back(std::move(r));
    } else if (key == "MAINCHARACTER") {
        record.party.push_back({key, {words.word()}});
    } else {
        return false;
    }
    return true;
}

// The scene to go on in, the chapter and each scene's record.
bool readScenes(const std::string& key, WordReader& words, LineCounter& lines,
                GameSaveRecord& record) {
    std::istream& in = words.stream();
    if (key == "CURRENTSCENE") {
        record.sceneToGo = words.word();
        record.sceneLine = lines.at(in.tellg());
        if (!sceneKnown(record.sceneToGo)) fatalAssert("Game", 1017, record.sceneToGo);
    } else if (key == "CHAPTER") {
        record.chapter = words.integer();
    } else if (key == "SCENE") {
        const std::string name = words.word();
        std::string rest;
        std::getline(in, rest);
        std::istringstream restStream(rest);
        SceneState state;
        state.read(restStream);
        record.scenes[name] = state;
    } else {
        return false;
    }
    return true;
}

} // namespace

GameSaveRecord readGameSaveText(const std::string& text, const std::string& path) {
    ReadingPlace place(path);
    if (isBlank(text)) fatalAssert("Game", 350, "empty file");
    GameSaveRecord record;
    std::istringstream in(text);
    WordReader words(in, "Game", 2002);
    LineCounter lines{text};
    bool first = true;
    std::string key;
    in >> key;
    while (!key.empty() && !in.eof()) {
        place.setLine(lines.at(in.tellg()));
        place.setStatement(key);
        if (record.closed) fatalAssert("Game", 361, key);
        if (key == SAVE_FORMAT_KEY) {
            if (!first || words.integer() != SAVE_FORMAT) fatalAssert("Game", 363, key);
            record.versioned = true;
        } else if (key == GAME_SAVE_END) {
            record.closed = true;
        } else if (!readScenes(key, words, lines, record) && !readVariables(key, words, record) &&
                   !readSettings(key, words, record) && !readShards(key, words, record) &&
                   !readParty(key, words, record)) {
            fatalAssert("Game", 2002, key);
        }
        first = false;
        if (in.eof()) break;
        key.clear();
        in >> key;
    }
    // The closing record without the line end after it is still whole; a file that is nothing
    // but a cut first word is not.
    if (key == GAME_SAVE_END && in.eof()) record.closed = true;
    else if (first) fatalAssert("Game", 2002, key);
    record.endLine = lines.at(static_cast<std::streamoff>(text.size()));
    place.setLine(record.sceneLine);
    place.setStatement("CURRENTSCENE");
    checkResumable(record);
    return record;
}

void checkSavePairClosed(const GameSaveRecord& game, const PeopleSaveRecord* people,
                         const std::string& gamePath, const std::string& peoplePath) {
    if (!game.versioned) return;
    if (!game.closed) {
        ReadingPlace place(gamePath, game.endLine);
        fatalAssert("Game", 461, "cut short before " + GAME_SAVE_END);
    }
    ReadingPlace place(peoplePath, people ? people->endLine : 0);
    if (people == nullptr) fatalAssert("Game", 464, "missing file");
    if (!people->closed) fatalAssert("Game", 465, "cut short before " + PEOPLE_SAVE_END);
}

namespace {

// The detail of a failed read, without the assertion's source and line.
std::string failureDetail(const ReadFailure& failure) {
    const std::size_t at = failure.message.find(" : ");
    return at == std::string::npos ? failure.message : failure.message.substr(at + 3);
}

// Whether the game temporary, beside the people file already in place, reads as a whole pair.
bool finishedPairReadsWhole(const std::string& peoplePath, const std::string& gameTmp,
                            std::string& damage) {
    if (game == nullptr || people == nullptr) {
        damage = "no game to read it with";
        return false;
    }
    try {
        FailedReadThrows damaged;
        std::error_code ec;
        std::optional<PeopleSaveRecord> peopleRecord;
        if (fs::exists(peoplePath, ec))
            peopleRecord = readPeopleSaveText(wholeFile(peoplePath, 488), peoplePath);
        const GameSaveRecord gameRecord = readGameSaveText(wholeFile(gameTmp, 489), gameTmp);
        // Every temporary is written with its closing record.
        if (!gameRecord.closed) {
            ReadingPlace place(gameTmp, gameRecord.endLine);
            fatalAssert("Game", 493, "cut short before " + GAME_SAVE_END);
        }
        checkSavePairClosed(gameRecord, peopleRecord ? &*peopleRecord : nullptr, gameTmp, peoplePath);
    } catch (const ReadFailure& failure) {
        damage = failureDetail(failure);
        return false;
    }
    return true;
}

} // namespace

void Game::completeInterruptedSave(const std::string& folder) {
    const std::string peoplePath = folder + "//people.save", gamePath = folder + "//game.save";
    const std::string peopleTmp = peoplePath + ".tmp", gameTmp = gamePath + ".tmp";
    std::error_code ec;
    if (fs::is_regular_file(gameTmp, ec) && !fs::exists(peopleTmp, ec)) {
        // Only the game file's rename is missing, unless the temporary was damaged since: then
        // the pair in place is what there is, and nothing is replaced or removed.
        std::string damage;
        if (!finishedPairReadsWhole(peoplePath, gameTmp, damage)) {
            consoleLine("The unfinished save ", gameTmp, " does not read whole (", damage,
                        "); the files are left as they are");
            return;
        }
        if (::rename(gameTmp.c_str(), gamePath.c_str()) != 0)
            consoleLine("Could not finish the save ", gamePath, ": ", std::strerror(errno));
        return;
    }
    // A save stopped before its first rename: the old pair stands and the temporaries go.
    ::unlink(gameTmp.c_str());
    ::unlink(peopleTmp.c_str());
}

bool Game::loadGame(sf::RenderWindow* window, std::string* damage) {
    completeInterruptedSave("SaveGames//" + playerName);
    const std::string peoplePath = peopleSavePath();
    const std::string gamePath = gameSavePath();
    std::error_code ec;
    const bool hasPeople = fs::exists(peoplePath, ec);
    const bool hasGame = fs::exists(gamePath, ec);
    std::optional<PeopleSaveRecord> peopleRecord;
    std::optional<GameSaveRecord> gameRecord;
    try {
        FailedReadThrows damaged;
        if (hasPeople) peopleRecord = readPeopleSaveText(wholeFile(peoplePath, 539), peoplePath);
        showLoadingScreen(window, 0, 0.5f);
        if (hasGame) {
            gameRecord = readGameSaveText(wholeFile(gamePath, 1846), gamePath);
            checkSavePairClosed(*gameRecord, peopleRecord ? &*peopleRecord : nullptr, gamePath, peoplePath);
        } else if (peopleRecord && peopleRecord->closed) {
            // Written with its game file, which is gone.
            ReadingPlace place(gamePath);
            fatalAssert("Game", 547, "missing file");
        }
    } catch (const ReadFailure& failure) {
        const std::string detail = failureDetail(failure);
        consoleLine("The save ", playerName, " is damaged and was not loaded: ", detail);
        if (damage != nullptr) *damage = detail;
        return false;
    }
    if (peopleRecord) applyPeopleSave(*peopleRecord);
    if (gameRecord) applyGameSave(*gameRecord, window, 0.5f);
    showLoadingScreen(window, 1, 1);
    return true;
}

void Game::readGameSave(const std::string& path, sf::RenderWindow* window, float overall) {
    GameSaveRecord record = readGameSaveText(wholeFile(path, 1846), path);
    if (record.versioned && !record.closed) {
        ReadingPlace place(path, record.endLine);
        fatalAssert("Game", 565, "cut short before " + GAME_SAVE_END);
    }
    applyGameSave(record, window, overall);
}

void Game::applyGameSave(const GameSaveRecord& record, sf::RenderWindow* window, float overall) {
    for (const auto& [name, value] : record.strVars) STRVARS[name] = value;
    for (const auto& [name, members] : record.setVars)
        if (!members.empty()) SETVARS[name].insert(members.begin(), members.end());
    BOOLVARS.insert(record.boolVars.begin(), record.boolVars.end());
    if (record.autoDistributeWeapons) autoDistributeWeapons = *record.autoDistributeWeapons;
    if (record.autoDistributeFood) autoDistributeFood = *record.autoDistributeFood;
    if (record.targetFps) targetFps = *record.targetFps;
    if (record.difficulty) difficulty = *record.difficulty;
    for (const auto& [name, value] : record.shards) {
        SHARDS[name] = value;
        consoleLine("  setting shard ", name, " to ", value);
    }
    if (record.lastShard) LASTSHARD = *record.lastShard;
    for (const auto& [shard, place] : record.shardLocation) {
        SHARDLOCATION[shard] = place;
        consoleLine("  setting shard location ", shard, " to ", place);
    }
    if (record.chapter) chapter = *record.chapter;
    for (const auto& [name, state] : record.scenes) savedScenes[name] = state;
    const std::string& sceneToGo = record.sceneToGo;

    // The saved scene and the saved party may belong to planets not loaded yet: load those
    // first (with the game variables already read, so generated planets come out the same).
    const auto planet = scenePlanets.find(sceneToGo);
    if (planet != scenePlanets.end()) loadPlanetOf(planet->second, window);
    for (const PartyRecord& r : record.party)
        for (const std::string& name : r.names)
            if (people->indexOf(name) == NO_INDEX) loadPlanetOf(planetDefining(name), window);
    for (const PartyRecord& r : record.party) applyPartyRecord(r);

    // The scenes loaded before the save was read get their chests, won battles and played
    // blocks back (planets loaded since have had theirs already; applying twice changes nothing).
    for (Scene& scene : scenes) {
        const auto saved = savedScenes.find(scene.name);
        if (saved != savedScenes.end()) scene.restoreState(saved->second);
    }

    showLoadingScreen(window, overall, 1);
    if (!sceneToGo.empty()) gotoScene(sceneToGo, true, window);
}
