// Reading a scene file: one statement per line, the command word first.
#include "scenes/Scene.hpp"

#include "characters/People.hpp"
#include "foundation/NumberRanges.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/TileKind.hpp"
#include "minigames/RocketTravel.hpp"
#include "minigames/EinsteinPuzzle.hpp"
#include "scenes/Maze.hpp"
#include "minigames/Sokoban.hpp"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

void stripLineEnd(std::string& line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
}

// The next line of a block; false when the stream has ended.
bool blockLine(std::istream& block, std::string& line) {
    if (!std::getline(block, line)) return false;
    stripLineEnd(line);
    return true;
}

std::string firstWord(const std::string& line) {
    std::istringstream in(line);
    std::string w;
    in >> w;
    return w;
}

std::vector<Point> readPairs(std::istream& in) { return WordReader(in, "Scene", 40).points(); }

} // namespace

// ---------------------------------------------------------------------------------------------
// Block readers

void Monolog::read(std::istream& head, std::istream& block) {
    WordReader r(head, "Scene", 48);
    speakerName = r.word("Monolog speaker");
    const int n = r.integer("Monolog", "lines");
    std::string w;
    while (r.next(w)) {
        if (w == "TALKING") {
            speakerName = r.word(w);
        } else if (w == "SEQUENCE") {
            sequence = r.word(w);
        } else if (w == "IMPORTANT") {
            important = true;
        } else if (w == "TEXT") {
            lines.push_back(r.rest());
            break;
        }
    }
    // A block cut short by the end of the file keeps the lines it has.
    std::string line;
    for (int i = 0; i < n && blockLine(block, line); ++i) lines.push_back(line);
}

void MonologSequence::read(std::istream& head, std::istream& block) {
    WordReader r(head, "Scene", 70);
    const int m = r.integer("MonologSequence", "monologs");
    std::string w;
    while (r.next(w)) {
        if (w == "IMPORTANT") important = true;
        else if (w == "SEQUENCE") sequence = r.word(w);
        else if (w == "ACHIEVE") achievement = r.word(w);
    }
    std::string line;
    for (int i = 0; i < m && blockLine(block, line); ++i) {
        std::istringstream monologHead(line);
        Monolog monolog;
        monolog.read(monologHead, block);
        monolog.position.y += i * monologSpacing(monolog);
        if (monolog.speakerName == "<MAIN>") monolog.color = sf::Color::Red;
        monologs.push_back(monolog);
    }
}

void SceneCredits::read(std::istream& head, std::istream& block) {
    WordReader r(head, "Scene", 90);
    const int n = r.integer("Credits", "lines");
    std::string w;
    while (r.next(w)) {
        if (w == "PICTURE") {
            int k = r.integer("Credits", "PICTURE");
            pictures.push_back({r.word(w), k});
        }
    }
    std::string line;
    for (int i = 0; i < n + 1 && blockLine(block, line); ++i) lines.push_back(line);
    scrollY = WINDOW_HEIGHT;
    frame = 0;
    active = !lines.empty();
}

void ZoomAndTalk::read(std::istream& head) {
    WordReader r(head, "Scene", 5872);
    std::string w;
    while (r.next(w)) {
        if (w == "WHO") {
            person = personIndex(r.word(w), 5872);
        } else if (w == "TEXT") {
            text = r.rest();
            return;
        } else {
            fatalAssert("Scene", 5872, w);
        }
    }
}

void MoveEntry::read(std::istream& head) {
    WordReader r(head, "Scene", 5911);
    int who = personIndex(r.word("Move person"), 5911);
    int x = r.integer("Tile", "x");
    int y = r.integer("Tile", "y");
    moves[who] = {x, y};
    std::string w;
    while (r.next(w)) {
        if (w == "WAIT") wait = r.integer("Move", "WAIT");
        else if (w == "DIRLOOK") look = parseDirection(r.word(w));
        else fatalAssert("Scene", 5911, w);
    }
}

void MoveEntry::readMultiple(std::istream& head) {
    WordReader r(head, "Scene", 5950);
    std::string w;
    while (r.next(w)) {
        if (w == "WHO") {
            int who = personIndex(r.word(w), 5950);
            int x = r.integer("Tile", "x");
            int y = r.integer("Tile", "y");
            moves[who] = {x, y};
        } else if (w == "WAIT") {
            wait = r.integer("Move", "WAIT");
        } else if (w == "DIRLOOK") {
            look = parseDirection(r.word(w));
        } else {
            fatalAssert("Scene", 5950, w);
        }
    }
}

void MovingTeleporter::read(std::istream& head) {
    WordReader r(head, "Scene", 155);
    name = r.word("MovingTeleporter name");
    std::string w;
    if (!r.next(w) || w == "RANDOMPLACE") {
        place = {-1, -1};
        return;
    }
    place.x = inRange("Tile", "x", leadingInt(w, "Scene", 162));
    place.y = r.integer("Tile", "y");
}

// ---------------------------------------------------------------------------------------------
// The file

std::set<std::string> Scene::load(const std::string& path) {
    std::ifstream file(path);
    if (!file) fatalAssert("Scene", 171, path);
    std::ostringstream text;
    text << file.rdbuf();
    return loadText(text.str(), path);
}

std::set<std::string> Scene::loadText(const std::string& text, const std::string& path) {
    std::istringstream file(text);
    std::set<std::string> names{"Door", "CatRocket", "Rocket", "SokobanBlock"};
    std::string line;
    int lineNumber = 0;
    // Block statements read their own lines, so a statement's line is counted from where it starts.
    ReadingPlace place(path);
    std::size_t counted = 0;
    int startLine = 1;
    int battleLine = 0; // of the last "Battle" statement, whose definition the scene keeps
    int pictureLine = 0; // of the last "Mandelbrot" statement
    while (true) {
        const std::streamoff at = file.tellg();
        if (at >= 0) {
            const std::size_t upTo = std::min(text.size(), static_cast<std::size_t>(at));
            startLine += static_cast<int>(std::count(text.begin() + static_cast<long>(counted),
                                                     text.begin() + static_cast<long>(upTo), '\n'));
            counted = upTo;
        }
        if (!blockLine(file, line)) break;
        ++lineNumber;
        place.setLine(startLine);
        std::istringstream head(line);
        std::string word;
        if (!(head >> word) || word[0] == '#') continue;
        place.setStatement(word);
        if (word == "Battle") battleLine = startLine;
        if (word == "Mandelbrot") pictureLine = startLine;
        readStatement(word, head, file, lineNumber, names);
    }
    if (pictureLine > 0 && mapWidth() > 0 && mapHeight() > 0) {
        // Before the picture's count cache is sized to the map.
        place.setLine(pictureLine);
        place.setStatement("Mandelbrot");
        checkMandelbrotPictureSize();
    }
    finishPictureLoad();
    if (battleLine > 0) {
        // Checked against the whole map, which the file may give after the battle.
        place.setLine(battleLine);
        place.setStatement("Battle");
        battleDefinition.checkCellsOnGrid(mapSize());
    }
    if (light.dark) {
        std::set<Point> walls;
        for (int x = 0; x < mapWidth(); ++x)
            for (int y = 0; y < mapHeight(); ++y)
                if (cellTileFlag({x, y})) walls.insert({x, y});
        light.spread(mapSize(), walls);
    }
    for (const SceneObject& o : objects)
        if (!o.hat && !o.planet) names.insert(o.name);
    for (const SceneObject& o : objects2)
        if (!o.hat && !o.planet) names.insert(o.name);
    return names;
}

std::set<std::string> Scene::backgroundAnimationNames() const {
    std::set<std::string> names;
    for (const Background& layer : backgrounds) {
        std::set<std::string> own = layer.animationNames();
        names.insert(own.begin(), own.end());
    }
    return names;
}

void Scene::readStatement(const std::string& word, std::istream& head, std::istream& file,
                          int& lineNumber, std::set<std::string>& names) {
    WordReader r(head, "Scene", 245);
    if (word == "SceneName") {
        name = r.word(word);
    } else if (word == "Type") {
        std::string t = r.word(word);
        if (t == "SCREEN") type = SCENE_SCREEN;
        else if (t == "WALK") type = SCENE_WALK;
        else if (t == "SPACE") type = SCENE_SPACE;
        else if (t == "WATCH") type = SCENE_WATCH;
        else fatalAssert("Scene", 254, t);
    } else if (word == "Music") {
        music = r.word(word);
    } else if (word == "MixedGroundTexture") {
        mixedGroundTexture = r.word(word);
    } else if (word == "Indoor") {
        alwaysIndoor = true;
    } else if (word == "CornerReference") {
        firstCellBackdrop = true;
    } else if (word == "PlayerControlHere") {
        playerControlHere = true;
    } else if (word == "SplitTeamScene") {
        splitTeamScene = true;
    } else if (word == "FinalHQ") {
        finalHQ = true;
    } else if (word == "SaveQuorvane") {
        saveQuorvane = true;
    } else if (word == "Tile") {
        TileKind kind;
        std::vector<LegendRecord> records;
        char c = readLegendBlock(
            head, kind,
            [&](const std::string& keyword, const std::string& argument, std::istream& in) {
                LegendRecord rec{keyword, argument};
                if (keyword == "OBJECT2" || keyword == "OBJECT3" || keyword == "OBJECT4" ||
                    keyword == "ANIMATION" || keyword == "CHEST" || keyword == "SCHEST") {
                    WordReader words(in, "Scene", 280);
                    rec.argument = words.word(keyword);
                }
                if (keyword == "OBJECT" || keyword == "SOBJECT" || keyword == "OBJECT2" ||
                    keyword == "OBJECT3" || keyword == "OBJECT4")
                    names.insert(rec.argument);
                records.push_back(rec);
            },
            [&](const std::string& unknown) { fatalAssert("Scene", 288, unknown); });
        legend[c] = game->addTileKind(kind);
        legendRecords_[c] = records;
    } else if (word == "Map") {
        readMap(file, lineNumber);
    } else if (word == "Background" || word == "Background2" || word == "Foreground") {
        int slot = word == "Background" ? LAYER_BACKGROUND
                   : word == "Background2" ? LAYER_BACKGROUND2 : LAYER_FOREGROUND;
        backgrounds[slot].read(head);
    } else if (word == "DarkScene") {
        light.dark = true;
        light.level = r.integer("DarkScene", "level");
        light.reach = r.integer("DarkScene", "reach");
        std::string w;
        if (r.next(w)) {
            int red = toInt(w, "Scene", 303);
            int green = r.integer();
            int blue = r.integer();
            light.colour = sf::Color(red & 255, green & 255, blue & 255);
        }
    } else if (word == "DiscoLights") {
        light.disco = true;
    } else if (word == "Heat") {
        light.heat = true;
    } else if (word == "Snow") {
        snow = makeSnow(r.integer("Snow", "count"), mapSize());
    } else if (word == "Title") {
        titleText = r.rest();
    } else if (word == "TitlePicture") {
        titlePicture = r.word(word);
    } else if (word == "Text") {
        SceneText t;
        t.read(head);
        texts.push_back(t);
    } else if (word == "NPC") {
        const std::string person = r.word(word);
        // "<MAIN>" gives the main character's tile, whoever leads at entry.
        const bool leader = person == "<MAIN>";
        int who = leader ? people->mainCharacterIndex : personIndex(person, 326);
        std::string xw = r.word(word);
        Point tile;
        if (xw == "RANDOMPLACE") {
            tile = pickFreeTile(people->at(who).fixedPosition, mapSize(), blocked[0], blocked[1]);
        } else {
            // As a script's "NPC" reads it: leading digits, the rest of the word ignored.
            tile.x = inRange("Tile", "x", leadingInt(xw, "Scene", 333));
            tile.y = r.integer("Tile", "y");
        }
        if (leader) {
            placements[MAIN_CHARACTER_KEY] = tile;
            return;
        }
        addPerson(who);
        placements[who] = tile;
        people->at(who).setTilePosition(tile);
        std::string w;
        if (r.next(w)) {
            if (w != "STAND") fatalAssert("Scene", 345, w);
            standSet.insert(who);
            people->at(who).wandering = false;
        }
    } else if (word == "Quorvane") {
        quorvaneTiles = readPairs(head);
    } else if (word == "SpareQuorvane") {
        spareQuorvaneTiles = readPairs(head);
    } else if (word == "SetMainPlayer") {
        mainPlayer = r.word(word);
        personIndex(mainPlayer, 355);
    } else if (word == "SetLove") {
        std::string a = r.word(word);
        lovePairs[a] = r.word(word);
    } else if (word == "PlayMonolog") {
        entryMonologPerson = r.word(word);
    } else if (word == "ChangeSceneAtBorder") {
        std::string d = r.word(word);
        if (d != "WEST" && d != "EAST" && d != "NORTH" && d != "SOUTH")
            fatalAssert("Scene", 364, d);
        borderExits[parseDirection(d)] = r.word(word);
    } else if (word == "VarExit") {
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        varExits[{x, y}] = r.word(word);
    } else if (word == "ComeBackLocation") {
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        comeBackLocations.push_back({x, y});
    } else if (word == "SetBlockedLocations") {
        for (Point p : readPairs(head)) {
            blockedLocations.insert(p);
            blocked[0].insert(p);
        }
    } else if (word == "SetBattleBlockedLocations") {
        for (Point p : readPairs(head)) {
            battle.extraWalkerCells.insert(p);
            battleDefinition.extraWalkerCells.insert(p);
        }
    } else if (word == "PositionMessage") {
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        positionMessages[{x, y}] = r.rest();
    } else if (word == "FrontObject") {
        FrontObject o;
        o.read(head);
        frontObjects[o.row()].push_back(o);
        names.insert(o.name);
    } else if (word == "WishingWell") {
        wishingWell.read(head);
    } else if (word == "Tunnel") {
        Tunnel t;
        t.read(head);
        tunnels.push_back(t);
    } else if (word == "FlyingAnim") {
        FlyingAnimation f;
        f.animation.name = r.word(word);
        f.x = static_cast<float>(r.integer("FlyingAnim", "pixel"));
        f.y = static_cast<float>(r.integer("FlyingAnim", "pixel"));
        f.speed = r.real("FlyingAnim", "speed");
        f.animation.position = {static_cast<int>(f.x), static_cast<int>(f.y)};
        flyingAnimations.push_back(f);
    } else if (word == "Planet") {
        Planet p;
        p.tile.x = r.integer("Tile", "x");
        p.tile.y = r.integer("Tile", "y");
        p.name = r.word(word);
        p.size = r.integer("Planet", "size");
        planets.push_back(p);
    } else if (word == "Comet") {
        Comet c;
        c.name = r.word(word);
        c.start.x = r.integer("Tile", "x");
        c.start.y = r.integer("Tile", "y");
        c.end.x = r.integer("Tile", "x");
        c.end.y = r.integer("Tile", "y");
        c.size = r.integer("Comet", "size");
        std::string w;
        if (r.next(w)) c.rowOffset = inRange("Comet", "row", toInt(w, "Scene", 423));
        c.update(0);
        comets.push_back(c);
    } else if (word == "Shard") {
        // A shard lying on its platform, taken with confirm.
        ShardPiece piece;
        piece.name = r.word(word);
        piece.tile.x = r.integer("Tile", "x");
        piece.tile.y = r.integer("Tile", "y");
        shardAnimations[piece.tile].push_back(piece);
        blocked[0].insert(piece.tile);
    } else if (word == "SleepLocation") {
        int x = r.integer("Tile", "x");
        sleepLocations.insert({x, r.integer("Tile", "y")});
    } else if (word == "AmbientSound") {
        ambientSounds.push_back(r.word(word));
    } else if (isBuildingKind(word)) {
        std::shared_ptr<BaseBuilding> b = readBuilding(word, head);
        for (Point p : b->coveredTiles()) blocked[0].insert(p);
        for (const CeilingObject& o : b->ceilingObjects()) {
            SceneObject obj;
            obj.name = o.name;
            obj.x = static_cast<float>(o.tile.x);
            obj.scale = o.scale;
            objects.push_back(obj);
            objectRows[o.tile.y].push_back(static_cast<int>(objects.size()) - 1);
        }
        buildings.push_back(b);
    } else if (word == "If" || word == "IfOnce") {
        addConditionBlock(r.rest(), word == "IfOnce", file, lineNumber);
    } else if (word == "Trigger") {
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        std::vector<std::string>& body = triggers[{x, y}];
        std::string line;
        while (true) {
            if (!blockLine(file, line)) fatalAssert("Scene", 459, "EndTrigger");
            ++lineNumber;
            if (firstWord(line) == "EndTrigger") break;
            body.push_back(line);
        }
    } else if (word == "Sequence") {
        std::vector<std::string>& body = sequences[r.word(word)];
        body.clear();
        std::string line;
        while (true) {
            if (!blockLine(file, line)) fatalAssert("Scene", 469, "EndSequence");
            ++lineNumber;
            if (firstWord(line) == "EndSequence") break;
            if (isBlank(line) || firstWord(line)[0] == '#') continue;
            body.push_back(line);
        }
    } else if (word == "Battle") {
        battle.load(r.rest());
        battle.sceneName = name;
        battle.gridSize = mapSize();
        battleDefinition = battle;
    } else if (word == "GenerateMaze") {
        readGenerateMaze(*this, head);
    } else if (word == "MovingTeleporter") {
        MovingTeleporter t;
        t.read(head);
        movingTeleporters.push_back(t);
    } else if (word == "RocketTravelPlace") {
        readRocketTravelPlace(*this, head);
    } else if (word == "RocketDestinations") {
        readRocketDestinations(*this, head, names);
    } else if (word == "EinsteinPuzzle") {
        if (!einstein) einstein = std::make_shared<EinsteinPuzzle>();
        einstein->read(head);
        // Fulano's house shows one of these pets, chosen on entry.
        for (const char* pet : {"Dog", "Cat", "Raccoon", "FatFox"}) names.insert(pet);
    } else if (word == "GuessNumberGame") {
        miniGame = 1;
    } else if (word == "SalomaoGame") {
        miniGame = 2;
    } else if (word == "SaveTheFutureGame") {
        miniGame = 3;
    } else if (word == "CobrinhaGame") {
        miniGame = 4;
    } else if (word == "GuessFlagGame") {
        miniGame = 5;
    } else if (word == "TacoGame") {
        miniGame = 6;
    } else if (word == "DamagedMusic") {
        damagedMusic = r.word(word);
    } else if (word == "DamageTile") {
        // An intact tile character and the damaged one that replaces it.
        std::string a = r.word(word);
        std::string b = r.word(word);
        damageTable[a[0]] = b[0];
    } else if (word == "SetAdvice") {
        // Deprecated; the line is ignored without holding up loading.
        consoleLine("SetAdvice is deprecated - scene ", name);
    } else if (readPictureStatement(word, head, names)) {
    } else if (!runCommand(word, head, file)) {
        fatalAssert("Scene", 519, word);
    }
}

void Scene::addConditionBlock(const std::string& header, bool once, std::istream& file,
                              int& lineNumber) {
    std::istringstream in(header);
    WordReader r(in, "Scene", 526);
    SceneCondition c;
    c.argument = r.word("If argument");
    c.kind = r.word("If kind");
    c.once = once;
    if (!isConditionKind(c.kind)) fatalAssert("Scene", 531, c.kind);
    // A chapter that is no number stops here rather than when the block is first tested.
    if (c.kind == "CHAPTER") toInt(c.argument, "Scene", 533);
    std::string line;
    while (true) {
        if (!blockLine(file, line)) fatalAssert("Scene", 536, "EndIf");
        ++lineNumber;
        if (firstWord(line) == "EndIf") break;
        c.body.push_back(line);
    }
    conditions.push_back(c);
}

void Scene::readMap(std::istream& file, int& lineNumber) {
    std::vector<std::string> rows;
    std::string line;
    while (true) {
        if (!blockLine(file, line)) fatalAssert("Scene", 548, "EndMap");
        ++lineNumber;
        if (firstWord(line) == "EndMap") break;
        if (isBlank(line)) continue;
        if (!rows.empty() && line.size() != rows[0].size())
            fatalAssert("Scene", 553, "map row " + std::to_string(rows.size()) + " length");
        rows.push_back(line);
    }
    const int height = static_cast<int>(rows.size());
    const int width = height == 0 ? 0 : static_cast<int>(rows[0].size());
    grid.assign(width, std::vector<int>(height, 0));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            char c = rows[y][x];
            auto it = legend.find(c);
            if (it == legend.end()) fatalAssert("Scene", 563, std::string(1, c));
            grid[x][y] = it->second;
            if (game->tileKindAt(it->second).blocking) blocked[0].insert({x, y});
        }
    }
    // What the legend records for a character goes on every cell that shows it.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            auto rec = legendRecords_.find(rows[y][x]);
            if (rec == legendRecords_.end()) continue;
            const Point cell{x, y};
            for (const LegendRecord& r : rec->second) {
                const std::string& k = r.keyword;
                if (k == "BLOCKH") {
                    blockedHLocations.insert(cell);
                    blocked[0].insert(cell);
                    blocked[1].insert(cell);
                } else if (k == "OBJECT2" || k == "OBJECT3" || k == "OBJECT4") {
                    SceneObject o;
                    o.name = r.argument;
                    o.x = static_cast<float>(x);
                    objects.push_back(o);
                    objectRows[y].push_back(static_cast<int>(objects.size()) - 1);
                } else if (k == "ANIMATION") {
                    AnimatedObject a;
                    a.name = r.argument;
                    a.position = {x * TILE_SIZE + TILE_SIZE / 2, (y + 1) * TILE_SIZE - 90};
                    animatedObjects[y].push_back(a);
                } else if (k == "TRAP") {
                    traps.push_back(cell);
                } else if (k == "TORCH") {
                    torches.insert(cell);
                    light.addLight(cell);
                } else if (k == "LIGHT") {
                    light.addLight(cell);
                } else if (k == "CHEST" || k == "SCHEST") {
                    chests[y].push_back({r.argument, cell});
                    blocked[0].insert(cell);
                    if (k == "SCHEST") blocked[1].insert(cell);
                } else if (k == "SHARDMAP") {
                    shardMapTiles.insert(cell);
                } else if (k == "TELESCOPE") {
                    telescopeTiles.insert(cell);
                } else if (k == "BATTLEPOS") {
                    battlePositions.push_back(cell);
                } else if (k == "BATTLEDEST") {
                    battleDestinations.push_back(cell);
                } else if (k == "VIEW") {
                    zoomTiles[cell] = r.argument;
                } else if (k == "SOKOBANBLOCK" || k == "SOKOBANRET") {
                    if (!sokoban) sokoban = std::make_shared<Sokoban>();
                    if (k == "SOKOBANBLOCK") sokoban->addBlock(cell);
                    else sokoban->addTarget(cell);
                }
                // DOOR, OBJECT and SOBJECT live in the tile kind; their names were reported.
            }
            const TileKind& kind = game->tileKindAt(grid[x][y]);
            if (kind.zoomable && !zoomTiles.count(cell)) zoomTiles[cell] = kind.zoomPicture;
        }
    }
}
