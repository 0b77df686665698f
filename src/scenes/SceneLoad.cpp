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
#include <sstream>
#include <string_view>
#include <unordered_map>

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

// One statement of a scene file being read: the scene, the statement's word, the reader of the
// rest of its line, and the file, from which the statements that open a block read their lines
// on (counted in lineNumber). Object and animation names the scene will ask the store for go to
// `names`. One handler per statement or family of statements; `find` lists them all.
struct Scene::FileStatement {
    Scene& scene;
    const std::string& word;
    std::istream& head;
    std::istream& file;
    int& lineNumber;
    std::set<std::string>& names;
    WordReader r{head, "Scene", 245};

    using Handler = void (FileStatement::*)();
    // The handler of a statement word; null when the word is none of the file's own.
    static Handler find(std::string_view word);

    // ----- what the scene is

    // The statements that name one thing the scene keeps: its name, music, textures.
    template <std::string Scene::*field>
    void keepWord() {
        scene.*field = r.word(word);
    }

    // The statements that only switch something about the scene on.
    template <bool Scene::*flag>
    void switchOn() {
        scene.*flag = true;
    }

    // The mini-game statements: the scene is the mini-game of that number.
    template <int number>
    void miniGame() {
        scene.miniGame = number;
    }

    void type() {
        std::string t = r.word(word);
        if (t == "SCREEN") scene.type = SCENE_SCREEN;
        else if (t == "WALK") scene.type = SCENE_WALK;
        else if (t == "SPACE") scene.type = SCENE_SPACE;
        else if (t == "WATCH") scene.type = SCENE_WATCH;
        else fatalAssert("Scene", 254, t);
    }

    void title() { scene.titleText = r.rest(); }

    void text() {
        SceneText t;
        t.read(head);
        scene.texts.push_back(t);
    }

    void ambientSound() { scene.ambientSounds.push_back(r.word(word)); }

    // ----- the grid, its tiles and its layers

    void tile() {
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
        scene.legend[c] = game->addTileKind(kind);
        scene.legendRecords_[c] = records;
    }

    void map() { scene.readMap(file, lineNumber); }

    // Background, Background2 and Foreground.
    void layer() {
        int slot = word == "Background" ? LAYER_BACKGROUND
                   : word == "Background2" ? LAYER_BACKGROUND2 : LAYER_FOREGROUND;
        scene.backgrounds[slot].read(head);
    }

    // A level and a reach, then perhaps the colour of the dark.
    void darkScene() {
        SceneLight& light = scene.light;
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
    }

    void discoLights() { scene.light.disco = true; }

    void heat() { scene.light.heat = true; }

    void snow() { scene.snow = makeSnow(r.integer("Snow", "count"), scene.mapSize()); }

    // The damaged city: an intact tile character and the damaged one that replaces it.
    void damageTile() {
        std::string a = r.word(word);
        std::string b = r.word(word);
        scene.damageTable[a[0]] = b[0];
    }

    // ----- people

    void npc() {
        const std::string person = r.word(word);
        // "<MAIN>" gives the main character's tile, whoever leads at entry.
        const bool leader = person == "<MAIN>";
        int who = leader ? people->mainCharacterIndex : personIndex(person, 326);
        std::string xw = r.word(word);
        Point tile;
        if (xw == "RANDOMPLACE") {
            tile = pickFreeTile(people->at(who).fixedPosition, scene.mapSize(), scene.blocked[0],
                                scene.blocked[1]);
        } else {
            // As a script's "NPC" reads it: leading digits, the rest of the word ignored.
            tile.x = inRange("Tile", "x", leadingInt(xw, "Scene", 333));
            tile.y = r.integer("Tile", "y");
        }
        if (leader) {
            scene.placements[MAIN_CHARACTER_KEY] = tile;
            return;
        }
        scene.addPerson(who);
        scene.placements[who] = tile;
        people->at(who).setTilePosition(tile);
        std::string w;
        if (r.next(w)) {
            if (w != "STAND") fatalAssert("Scene", 345, w);
            scene.standSet.insert(who);
            people->at(who).wandering = false;
        }
    }

    void setMainPlayer() {
        scene.mainPlayer = r.word(word);
        personIndex(scene.mainPlayer, 355);
    }

    void setLove() {
        std::string a = r.word(word);
        scene.lovePairs[a] = r.word(word);
    }

    // ----- ways in and out, and the cells that hold something

    void quorvane() { scene.quorvaneTiles = readPairs(head); }

    void spareQuorvane() { scene.spareQuorvaneTiles = readPairs(head); }

    void changeSceneAtBorder() {
        std::string d = r.word(word);
        if (d != "WEST" && d != "EAST" && d != "NORTH" && d != "SOUTH")
            fatalAssert("Scene", 364, d);
        scene.borderExits[parseDirection(d)] = r.word(word);
    }

    void varExit() {
        Point t = r.tile();
        scene.varExits[t] = r.word(word);
    }

    void comeBackLocation() { scene.comeBackLocations.push_back(r.tile()); }

    void setBlockedLocations() {
        for (Point p : readPairs(head)) {
            scene.blockedLocations.insert(p);
            scene.blocked[0].insert(p);
        }
    }

    void setBattleBlockedLocations() {
        for (Point p : readPairs(head)) {
            scene.battle.extraWalkerCells.insert(p);
            scene.battleDefinition.extraWalkerCells.insert(p);
        }
    }

    void positionMessage() {
        Point t = r.tile();
        scene.positionMessages[t] = r.rest();
    }

    void sleepLocation() { scene.sleepLocations.insert(r.tile()); }

    // A shard lying on its platform, taken with confirm.
    void shard() {
        ShardPiece piece;
        piece.name = r.word(word);
        piece.tile = r.tile();
        scene.shardAnimations[piece.tile].push_back(piece);
        scene.blocked[0].insert(piece.tile);
    }

    // ----- what stands, flies and moves in the scene

    void frontObject() {
        FrontObject o;
        o.read(head);
        scene.frontObjects[o.row()].push_back(o);
        names.insert(o.name);
    }

    void wishingWell() { scene.wishingWell.read(head); }

    void tunnel() {
        Tunnel t;
        t.read(head);
        scene.tunnels.push_back(t);
    }

    void flyingAnim() {
        FlyingAnimation f;
        f.animation.name = r.word(word);
        f.x = static_cast<float>(r.integer("FlyingAnim", "pixel"));
        f.y = static_cast<float>(r.integer("FlyingAnim", "pixel"));
        f.speed = r.real("FlyingAnim", "speed");
        f.animation.position = {static_cast<int>(f.x), static_cast<int>(f.y)};
        scene.flyingAnimations.push_back(f);
    }

    void planet() {
        Planet p;
        p.tile = r.tile();
        p.name = r.word(word);
        p.size = r.integer("Planet", "size");
        scene.planets.push_back(p);
    }

    void comet() {
        Comet c;
        c.name = r.word(word);
        c.start = r.tile();
        c.end = r.tile();
        c.size = r.integer("Comet", "size");
        std::string w;
        if (r.next(w)) c.rowOffset = inRange("Comet", "row", toInt(w, "Scene", 423));
        c.update(0);
        scene.comets.push_back(c);
    }

    void movingTeleporter() {
        MovingTeleporter t;
        t.read(head);
        scene.movingTeleporters.push_back(t);
    }

    // A building covers its tiles; the objects under its ceiling stand in the scene's rows.
    void building() {
        std::shared_ptr<BaseBuilding> b = readBuilding(word, head);
        for (Point p : b->coveredTiles()) scene.blocked[0].insert(p);
        for (const CeilingObject& o : b->ceilingObjects()) {
            SceneObject obj;
            obj.name = o.name;
            obj.x = static_cast<float>(o.tile.x);
            obj.scale = o.scale;
            scene.objects.push_back(obj);
            scene.objectRows[o.tile.y].push_back(static_cast<int>(scene.objects.size()) - 1);
        }
        scene.buildings.push_back(b);
    }

    // ----- blocks of script and the battle

    // If and IfOnce, up to EndIf.
    void ifBlock() { scene.addConditionBlock(r.rest(), word == "IfOnce", file, lineNumber); }

    // The script run on stepping onto the tile, up to EndTrigger.
    void trigger() {
        Point t = r.tile();
        std::vector<std::string>& body = scene.triggers[t];
        std::string line;
        while (true) {
            if (!blockLine(file, line)) fatalAssert("Scene", 459, "EndTrigger");
            ++lineNumber;
            if (firstWord(line) == "EndTrigger") break;
            body.push_back(line);
        }
    }

    // A named script played a line at a time, up to EndSequence; blank and comment lines left out.
    void sequence() {
        std::vector<std::string>& body = scene.sequences[r.word(word)];
        body.clear();
        std::string line;
        while (true) {
            if (!blockLine(file, line)) fatalAssert("Scene", 469, "EndSequence");
            ++lineNumber;
            if (firstWord(line) == "EndSequence") break;
            if (isBlank(line) || firstWord(line)[0] == '#') continue;
            body.push_back(line);
        }
    }

    // The file's battle; its cells are checked against the map once the whole file is read.
    void battle() {
        Battle& b = scene.battle;
        b.load(r.rest());
        b.sceneName = scene.name;
        b.gridSize = scene.mapSize();
        scene.battleDefinition = b;
    }

    // ----- mini-games and their places

    void generateMaze() { readGenerateMaze(scene, head); }

    void rocketTravelPlace() { readRocketTravelPlace(scene, head); }

    void rocketDestinations() { readRocketDestinations(scene, head, names); }

    void einsteinPuzzle() {
        if (!scene.einstein) scene.einstein = std::make_shared<EinsteinPuzzle>();
        scene.einstein->read(head);
        // Fulano's house shows one of these pets, chosen on entry.
        for (const char* pet : {"Dog", "Cat", "Raccoon", "FatFox"}) names.insert(pet);
    }

    // Deprecated; the line is ignored without holding up loading.
    void setAdvice() {
        consoleLine("SetAdvice is deprecated - scene ", scene.name);
    }
};

Scene::FileStatement::Handler Scene::FileStatement::find(std::string_view word) {
    using S = FileStatement;
    static const std::unordered_map<std::string_view, Handler> handlers{
        {"SceneName", &S::keepWord<&Scene::name>},
        {"Type", &S::type},
        {"Music", &S::keepWord<&Scene::music>},
        {"DamagedMusic", &S::keepWord<&Scene::damagedMusic>},
        {"AmbientSound", &S::ambientSound},
        {"Title", &S::title},
        {"TitlePicture", &S::keepWord<&Scene::titlePicture>},
        {"Text", &S::text},
        {"Indoor", &S::switchOn<&Scene::alwaysIndoor>},
        {"CornerReference", &S::switchOn<&Scene::firstCellBackdrop>},
        {"PlayerControlHere", &S::switchOn<&Scene::playerControlHere>},
        {"SplitTeamScene", &S::switchOn<&Scene::splitTeamScene>},
        {"FinalHQ", &S::switchOn<&Scene::finalHQ>},
        {"SaveQuorvane", &S::switchOn<&Scene::saveQuorvane>},
        {"SetAdvice", &S::setAdvice},

        {"Tile", &S::tile},
        {"Map", &S::map},
        {"MixedGroundTexture", &S::keepWord<&Scene::mixedGroundTexture>},
        {"Background", &S::layer},
        {"Background2", &S::layer},
        {"Foreground", &S::layer},
        {"DarkScene", &S::darkScene},
        {"DiscoLights", &S::discoLights},
        {"Heat", &S::heat},
        {"Snow", &S::snow},
        {"DamageTile", &S::damageTile},

        {"NPC", &S::npc},
        {"SetMainPlayer", &S::setMainPlayer},
        {"SetLove", &S::setLove},
        {"PlayMonolog", &S::keepWord<&Scene::entryMonologPerson>},

        {"Quorvane", &S::quorvane},
        {"SpareQuorvane", &S::spareQuorvane},
        {"ChangeSceneAtBorder", &S::changeSceneAtBorder},
        {"VarExit", &S::varExit},
        {"ComeBackLocation", &S::comeBackLocation},
        {"SetBlockedLocations", &S::setBlockedLocations},
        {"SetBattleBlockedLocations", &S::setBattleBlockedLocations},
        {"PositionMessage", &S::positionMessage},
        {"SleepLocation", &S::sleepLocation},
        {"Shard", &S::shard},

        {"FrontObject", &S::frontObject},
        {"WishingWell", &S::wishingWell},
        {"Tunnel", &S::tunnel},
        {"FlyingAnim", &S::flyingAnim},
        {"Planet", &S::planet},
        {"Comet", &S::comet},
        {"MovingTeleporter", &S::movingTeleporter},

        {"If", &S::ifBlock},
        {"IfOnce", &S::ifBlock},
        {"Trigger", &S::trigger},
        {"Sequence", &S::sequence},
        {"Battle", &S::battle},

        {"GenerateMaze", &S::generateMaze},
        {"RocketTravelPlace", &S::rocketTravelPlace},
        {"RocketDestinations", &S::rocketDestinations},
        {"EinsteinPuzzle", &S::einsteinPuzzle},
        {"GuessNumberGame", &S::miniGame<1>},
        {"SalomaoGame", &S::miniGame<2>},
        {"SaveTheFutureGame", &S::miniGame<3>},
        {"CobrinhaGame", &S::miniGame<4>},
        {"GuessFlagGame", &S::miniGame<5>},
        {"TacoGame", &S::miniGame<6>},
    };
    auto it = handlers.find(word);
    return it == handlers.end() ? nullptr : it->second;
}

// The file's own statements come first: where a script statement has the same word (Text, NPC,
// Battle, SetAdvice), the file's reading of it is the one that holds at load.
void Scene::readStatement(const std::string& word, std::istream& head, std::istream& file,
                          int& lineNumber, std::set<std::string>& names) {
    FileStatement statement{*this, word, head, file, lineNumber, names};
    if (const FileStatement::Handler handler = FileStatement::find(word)) (statement.*handler)();
    else if (isBuildingKind(word)) statement.building();
    else if (readPictureStatement(word, head, names)) return;
    else if (!runCommand(word, head, file)) fatalAssert("Scene", 519, word);
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
