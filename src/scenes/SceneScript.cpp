// The script language of If bodies, trigger bodies, entry scripts and sequence lines.
#include "scenes/Scene.hpp"

#include "battle/Items.hpp"
#include "characters/People.hpp"
#include "foundation/NumberRanges.hpp"
#include "foundation/Resources.hpp"
#include "foundation/TextReader.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/SpaceGates.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string_view>
#include <unordered_map>

namespace {


template <class F>
void forBox(WordReader& r, F f) {
    const int x0 = r.integer("Box", "x0"), y0 = r.integer("Box", "y0");
    const int x1 = r.integer("Box", "x1"), y1 = r.integer("Box", "y1");
    for (int x = x0; x <= x1; ++x)
        for (int y = y0; y <= y1; ++y) f(Point{x, y});
}

void playMusic(const std::string& name) {
    if (name.empty() || !resources) return;
    sf::Music& m = resources->getMusic(name);
    m.setLoop(true);
    if (m.getStatus() != sf::SoundSource::Playing) m.play();
}

void stopMusic(const std::string& name) {
    if (name.empty() || !resources) return;
    resources->getMusic(name).stop();
}

} // namespace

void Scene::forEachStatement(const std::vector<std::string>& lines,
                             const std::function<void(const std::string&, std::istream&, std::istream&)>& statement) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    std::istringstream script(text);
    std::string word;
    while (script >> word) {
        std::string rest;
        std::getline(script, rest);
        if (word[0] == '#') continue;
        std::istringstream args(rest);
        statement(word, args, script);
    }
}

void Scene::runScript(const std::vector<std::string>& lines) {
    forEachStatement(lines, [this](const std::string& word, std::istream& args, std::istream& script) {
        if (!runCommand(word, args, script)) fatalAssert("Scene", 4655, word);
    });
}

void Scene::runIfBlocks() {
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        if (!conditions[i].isTrue()) continue;
        conditions[i].played = true;
        const std::vector<std::string> body = conditions[i].body;
        runScript(body);
    }
}

void Scene::startSequence(const std::string& sequenceName) {
    if (!sequences.count(sequenceName)) fatalAssert("Scene", 67, sequenceName);
    sequence = SequenceRun();
    sequence.name = sequenceName;
}

// One script statement being run: the scene, the statement's word, the reader of its arguments
// and the lines after it, which the statements that open a block read on. One handler per
// statement or family of statements; `find` lists them all.
struct Scene::ScriptStatement {
    Scene& scene;
    const std::string& word;
    std::istream& args;
    std::istream& block;
    WordReader r{args, "Scene", 73};

    using Handler = void (ScriptStatement::*)();
    // The handler of a statement word; null when the word is no script statement.
    static Handler find(std::string_view word);

    // ----- talk, messages and texts

    void dialog() {
        int who = personIndex(r.word(word), 4002, " - bad character in Dialog statement");
        scene.monologs.erase(who);
        MonologSequence d;
        d.read(args, block);
        scene.dialogs[who] = d;
    }

    void monolog() {
        Monolog m;
        m.read(args, block);
        int who = personIndex(m.speakerName, 4323, " - bad character in TalkTo statement");
        scene.monologs[who] = m;
    }

    void credits() {
        scene.credits = SceneCredits();
        scene.credits.read(args, block);
    }

    void playDialog() {
        std::string who = r.word(word);
        int i = personIndex(who, 4518);
        auto it = scene.dialogs.find(i);
        if (it == scene.dialogs.end()) fatalAssert("Scene", 4520, who);
        scene.dialog = it->second;
    }

    // A first word that names a person speaks the rest; otherwise the whole line is the message.
    void playMessage() {
        std::string first = r.word(word);
        std::string rest = r.rest();
        int i = people->indexOf(first);
        if (i != NO_INDEX) scene.message.set(rest, i);
        else scene.message.setText(rest.empty() ? first : first + " " + rest, nullptr);
    }

    void say() { scene.message.set(r.rest(), people->mainCharacterIndex); }

    void text() {
        SceneText t;
        t.read(args);
        scene.texts.push_back(t);
    }

    void zoomAndTalk() {
        ZoomAndTalk z;
        z.read(args);
        scene.zoomAndTalk.push_back(z);
    }

    void zoomOut() {
        if (game->normalZoom) game->toggleZoom();
    }

    // ----- sounds, sequences and the game's variables

    void playSound() {
        std::string n = r.word(word);
        if (resources) resources->playSound(n);
    }

    void playSequence() { scene.startSequence(r.word(word)); }

    void setBoolVar() {
        std::string n = r.word(word);
        game->BOOLVARS.insert(n);
    }

    void setStringVar() {
        std::string n = r.word(word);
        game->setStrVar(n, r.word(word));
    }

    void appendToVar() {
        std::string n = r.word(word);
        std::string w;
        while (r.next(w)) game->addToSetVar(n, w);
    }

    // ----- ways out of the scene

    // ChangeSceneWithPosition and ChangeSceneWithKeyAndPosition: walked onto, or confirmed on.
    void exitAt() {
        Point tile = r.tile();
        std::string target = r.word(word);
        (word == "ChangeSceneWithPosition" ? scene.exits : scene.keyExits)[tile] = target;
    }

    void changeSceneAnyKey() { scene.anyKeyScene = r.word(word); }

    void teleportLocation() {
        Point from = r.tile();
        TeleportTarget t;
        t.scene = r.word(word);
        t.tile = r.tile();
        scene.teleports[from] = t;
    }

    void clearTeleport() { scene.teleports.clear(); }

    // ChangeHouseSign and ChangeHouseScene: the building whose door is on the tile.
    void changeHouse() {
        Point door = r.tile();
        std::string value = r.word(word);
        for (auto& b : scene.buildings) {
            if (b->door != door) continue;
            if (word == "ChangeHouseSign") b->setSign(value);
            else b->scene = value;
        }
    }

    // ----- people

    void setPosition() {
        int who = personIndex(r.word(word), 4333);
        Point t = r.tile();
        Character& c = people->at(who);
        c.setTilePosition(t);
        scene.placements[who] = t;
        c.wandering = false;
        scene.addPerson(who);
    }

    void npc() {
        std::string who = r.word(word);
        std::string xw = r.word(word);
        if (xw == "RANDOMPLACE") fatalAssert("Scene", 4392, "RANDOMPLACE not supported inside of ifs");
        Point t;
        t.x = inRange("Tile", "x", leadingInt(xw, "Scene", 4392));
        t.y = r.integer("Tile", "y");
        int i = personIndex(who, 4395);
        scene.addPerson(i);
        people->at(i).setTilePosition(t);
        std::string w;
        if (r.next(w) && w == "STAND") {
            scene.standSet.insert(i);
            people->at(i).wandering = false;
        }
    }

    void addToStandList() {
        std::string w;
        while (r.next(w)) {
            int i = personIndex(w, 4107);
            scene.standSet.insert(i);
            people->at(i).wandering = false;
        }
    }

    void deleteNPCs() {
        std::string w;
        while (r.next(w)) {
            int i = people->indexOf(w);
            if (i != NO_INDEX) scene.removePerson(i);
        }
    }

    void deleteAllNPCs() { scene.persons.clear(); }

    void setDirLooking() {
        int i = personIndex(r.word(word), 196);
        people->at(i).setFacing(parseDirection(r.word(word)));
    }

    void addToJoinList() {
        int i = personIndex(r.word(word), 4210);
        std::vector<int>& joinList = scene.joinList;
        if (std::find(joinList.begin(), joinList.end(), i) == joinList.end()) joinList.push_back(i);
    }

    // ----- the scene's battle

    // SetDesiredBattlePos and SetStartingBattlePos. The definition keeps them too: starting the
    // battle copies it over the live one.
    void battlePosition() {
        int i = personIndex(r.word(word), 202);
        Point t = r.tile();
        if (word == "SetDesiredBattlePos") {
            scene.battle.posts[i] = t;
            scene.battleDefinition.posts[i] = t;
        } else {
            scene.battle.presetTiles[i] = t;
            scene.battleDefinition.presetTiles[i] = t;
        }
    }

    // A battle already won here is not armed again.
    void battle() {
        std::string definition = r.rest();
        Battle& b = scene.battle;
        if (!b.inBattle && b.won) return;
        b.load(definition);
        b.checkCellsOnGrid(scene.mapSize());
        b.sceneName = scene.name;
        b.gridSize = scene.mapSize();
        b.startedByScript = true;
        b.armed = true;
        scene.battleDefinition = b;
    }

    void cancelBattle() {
        Battle& b = scene.battle;
        b.inBattle = false;
        b.won = true;
        b.watch = false;
        b.armed = false;
    }

    // ----- the city's damage

    void damageCity() {
        if (!scene.damaged) scene.toggleCityDamage();
    }

    void restoreCity() {
        if (scene.damaged) scene.toggleCityDamage();
    }

    // ----- blocked cells and animations on the ground

    void blockBox() {
        forBox(r, [&](Point p) { scene.blocked[0].insert(p); });
    }

    // UnblockBox and RemoveBlockedInBox.
    void unblockBox() {
        forBox(r, [&](Point p) { scene.unblockCell(p); });
    }

    void removeBlockedAt() {
        for (Point p : r.points()) scene.unblockCell(p);
    }

    void animationsAt() {
        std::string picture = r.word(word);
        for (Point p : r.points()) {
            AnimatedObject a;
            a.name = picture;
            a.position = {p.x * TILE_SIZE + 60, (p.y + 1) * TILE_SIZE - 90};
            a.scale = 1.0f;
            a.colour = sf::Color::White;
            scene.animatedObjects[p.y].push_back(a);
            scene.blocked[0].insert(p);
            scene.blocked[1].insert(p);
        }
    }

    // Every animation whose anchor lies in one of the given cells.
    void removeAnimsAt() {
        for (Point p : r.points()) {
            auto it = scene.animatedObjects.find(p.y);
            if (it == scene.animatedObjects.end()) continue;
            Rect square(p.x * TILE_SIZE, p.y * TILE_SIZE, p.x * TILE_SIZE + TILE_SIZE - 1,
                        p.y * TILE_SIZE + TILE_SIZE - 1);
            auto& list = it->second;
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](const AnimatedObject& a) { return square.contains(a.position); }),
                       list.end());
        }
    }

    void clearAnimations() {
        std::string picture = r.word(word);
        for (auto& [row, list] : scene.animatedObjects)
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](const AnimatedObject& a) { return a.name == picture; }),
                       list.end());
    }

    void npcAnimAt() {
        SceneObject o;
        o.name = r.word(word);
        o.scale = r.real("NPCAnimAt", "scale");
        r.integer("NPCAnimAt", "frames"); // the drawing asks the store for the frame count
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        o.x = static_cast<float>(x);
        scene.objects2.push_back(o);
        scene.objectRows2[y].push_back(static_cast<int>(scene.objects2.size()) - 1);
    }

    void clearNPCAnims() {
        scene.objects2.clear();
        scene.objectRows2.clear();
    }

    // ----- objects

    void object() {
        SceneObject o;
        o.name = r.word(word);
        float y = 0;
        std::string w;
        while (r.next(w)) {
            if (w == "LOCATION") {
                o.x = r.real("Object", "LOCATION");
                y = r.real("Object", "LOCATION");
            } else if (w == "SIZEX") {
                o.scale = r.real("Object", "SIZEX");
            } else if (w == "COLORIZE") {
                int red = r.integer(), green = r.integer(), blue = r.integer();
                o.colour = sf::Color(red & 255, green & 255, blue & 255);
            } else {
                fatalAssert("Scene", 4545, w + " scene " + scene.name);
            }
        }
        // The fraction of the row is how far down the tile the object stands.
        int row = static_cast<int>(std::floor(y));
        o.yOffset = static_cast<int>((y - row) * TILE_SIZE);
        scene.objects.push_back(o);
        scene.objectRows[row].push_back(static_cast<int>(scene.objects.size()) - 1);
    }

    // ObjectOnTable, HatOnTable and PlanetOnTable: small, and raised to a table's top.
    void objectOnTable() {
        SceneObject o;
        o.name = r.word(word);
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        o.x = static_cast<float>(x);
        o.scale = 0.6f;
        o.yOffset = (TILE_SIZE / 3 - 180) / 2;
        o.hat = word == "HatOnTable";
        o.planet = word == "PlanetOnTable";
        scene.objects.push_back(o);
        scene.objectRows[y].push_back(static_cast<int>(scene.objects.size()) - 1);
    }

    void colorizeObject() {
        float x = r.real("ColorizeObject", "tile");
        float y = r.real("ColorizeObject", "tile");
        int red = r.integer(), green = r.integer(), blue = r.integer();
        auto it = scene.objectRows.find(static_cast<int>(std::floor(y)));
        if (it == scene.objectRows.end()) return;
        for (int i : it->second)
            if (scene.objects[i].x == std::floor(x))
                scene.objects[i].colour = sf::Color(red & 255, green & 255, blue & 255);
    }

    void deleteObjectsInBox() {
        const char* corner = "corner";
        float x0 = r.real(word.c_str(), corner), y0 = r.real(word.c_str(), corner);
        float x1 = r.real(word.c_str(), corner), y1 = r.real(word.c_str(), corner);
        const std::vector<SceneObject>& objects = scene.objects;
        for (int row = static_cast<int>(std::floor(y0)); row <= static_cast<int>(std::floor(y1)); ++row) {
            auto it = scene.objectRows.find(row);
            if (it == scene.objectRows.end()) continue;
            auto& list = it->second;
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](int i) { return objects[i].x >= x0 && objects[i].x <= x1; }),
                       list.end());
        }
    }

    // ----- containers, chests and items on the ground

    void container() {
        Container c;
        c.name = r.word(word);
        std::string w;
        while (r.next(w)) {
            if (w == "LOCATION") {
                c.tile = r.tile();
            } else if (w == "OBJECTS" || w == "ITEMS") {
                c.holdsItems = w == "ITEMS";
                int n = r.integer("Container", "count");
                c.contents.clear();
                for (int i = 0; i < n; ++i) c.contents.push_back(r.word(w));
            } else if (w == "SIZEX") {
                c.sizeX = r.integer("Container", "SIZEX");
            } else if (w == "TEXTURE") {
                c.texture = r.word(w);
            } else if (w == "HOWMANY") {
                c.howMany = r.integer("Container", "HOWMANY");
            } else if (w == "GET") {
                c.get = r.word(w);
            } else {
                fatalAssert("Scene", 4641, w);
            }
        }
        scene.containers[c.tile.y].push_back(c);
        scene.blocked[0].insert(c.tile);
    }

    void clearContainers() { scene.containers.clear(); }

    // Chest, and ChestNextEntry, which waits for the scene's next entry.
    void chest() {
        Point t = r.tile();
        std::string item = r.word(word);
        if (word == "ChestNextEntry") {
            scene.pendingChests.push_back({item, t});
            return;
        }
        if (!scene.chestAt(t)) {
            // A chest the save file says was opened before the script placed it.
            bool opened = scene.openedChestRecords.erase(t) > 0;
            scene.chests[t.y].push_back({opened ? std::string() : item, t});
        }
        scene.blocked[0].insert(t);
    }

    // Drop and DropOnTable. A special item the party holds already is not dropped again.
    void drop() {
        std::string item = r.word(word);
        Point t = r.tile();
        int i = itemList->indexOf(item);
        if (i == NO_ITEM) fatalAssert("Scene", 4474, item);
        if (itemList->at(i).type == Item::SPECIAL && people->partyHasItem(i)) return;
        scene.dropItem(i, t, word == "DropOnTable");
    }

    void dropSite() {
        std::string item = r.word(word);
        DropSite s;
        s.item = itemList->indexOf(item);
        if (s.item == NO_ITEM) fatalAssert("Scene", 392, item);
        s.tile = r.tile();
        s.flag = r.boolean(word);
        scene.dropSites[s.tile.y].push_back(s);
    }

    // ----- cells, fields, traps and messages

    void swapTile() {
        Point t = r.tile();
        std::string c = r.word(word);
        scene.setCell(t, c[0], 4275);
    }

    void energyField() {
        int x = r.integer("Box", "x0"), y = r.integer("Box", "y0");
        int a = r.integer("Box", "x1"), b = r.integer("Box", "y1");
        scene.energyFields.push_back(Rect(x, y, a, b));
    }

    void eraseEnergyFieldAt() {
        Point corner = r.tile();
        std::vector<Rect>& fields = scene.energyFields;
        auto it = std::find_if(fields.begin(), fields.end(),
                               [&](const Rect& f) { return f.x0 == corner.x && f.y0 == corner.y; });
        if (it != fields.end()) fields.erase(it);
    }

    void clearAllTraps() { scene.traps.clear(); }

    void clearAllMessages() { scene.positionMessages.clear(); }

    void shardRoom() {
        for (Point p : r.points()) scene.shardRoomCells.push_back(p);
    }

    // ----- rockets and the gates of space

    void rocketTravel() { scene.rocketTravelTiles.push_back(r.tile()); }

    void clearRocketTravel() { scene.rocketTravelTiles.clear(); }

    void extraRocketDoor() { scene.extraRocketDoors.insert(r.tile()); }

    void zweenyRocket() { scene.zweenyRocket = r.tile(); }

    void spaceChapterGate() { addSpaceGate(scene, args); }

    // Deprecated: the line is ignored without holding up the game.
    void setAdvice() {
        consoleLine("SetAdvice is deprecated - scene ", scene.name);
    }
};

Scene::ScriptStatement::Handler Scene::ScriptStatement::find(std::string_view word) {
    using S = ScriptStatement;
    static const std::unordered_map<std::string_view, Handler> handlers{
        {"Dialog", &S::dialog},
        {"Monolog", &S::monolog},
        {"Credits", &S::credits},
        {"PlayDialog", &S::playDialog},
        {"PlayMessage", &S::playMessage},
        {"Say", &S::say},
        {"Text", &S::text},
        {"ZoomAndTalk", &S::zoomAndTalk},
        {"ZoomOut", &S::zoomOut},

        {"PlaySound", &S::playSound},
        {"PlaySequence", &S::playSequence},
        {"SetBoolVar", &S::setBoolVar},
        {"SetStringVar", &S::setStringVar},
        {"AppendToVar", &S::appendToVar},

        {"ChangeSceneWithPosition", &S::exitAt},
        {"ChangeSceneWithKeyAndPosition", &S::exitAt},
        {"ChangeSceneAnyKey", &S::changeSceneAnyKey},
        {"TeleportLocation", &S::teleportLocation},
        {"ClearTeleport", &S::clearTeleport},
        {"ChangeHouseSign", &S::changeHouse},
        {"ChangeHouseScene", &S::changeHouse},

        {"SetPosition", &S::setPosition},
        {"NPC", &S::npc},
        {"AddToStandList", &S::addToStandList},
        {"DeleteNPCs", &S::deleteNPCs},
        {"DeleteAllNPCs", &S::deleteAllNPCs},
        {"SetDirLooking", &S::setDirLooking},
        {"AddToJoinList", &S::addToJoinList},

        {"SetDesiredBattlePos", &S::battlePosition},
        {"SetStartingBattlePos", &S::battlePosition},
        {"Battle", &S::battle},
        {"CancelBattle", &S::cancelBattle},

        {"DamageCity", &S::damageCity},
        {"RestoreCity", &S::restoreCity},

        {"BlockBox", &S::blockBox},
        {"UnblockBox", &S::unblockBox},
        {"RemoveBlockedInBox", &S::unblockBox},
        {"RemoveBlockedAt", &S::removeBlockedAt},
        {"AnimationsAt", &S::animationsAt},
        {"RemoveAnimsAt", &S::removeAnimsAt},
        {"ClearAnimations", &S::clearAnimations},
        {"NPCAnimAt", &S::npcAnimAt},
        {"ClearNPCAnims", &S::clearNPCAnims},

        {"Object", &S::object},
        {"ObjectOnTable", &S::objectOnTable},
        {"HatOnTable", &S::objectOnTable},
        {"PlanetOnTable", &S::objectOnTable},
        {"ColorizeObject", &S::colorizeObject},
        {"DeleteObjectsInBox", &S::deleteObjectsInBox},

        {"Container", &S::container},
        {"ClearContainers", &S::clearContainers},
        {"Chest", &S::chest},
        {"ChestNextEntry", &S::chest},
        {"Drop", &S::drop},
        {"DropOnTable", &S::drop},
        {"DropSite", &S::dropSite},

        {"SwapTile", &S::swapTile},
        {"EnergyField", &S::energyField},
        {"EraseEnergyFieldAt", &S::eraseEnergyFieldAt},
        {"ClearAllTraps", &S::clearAllTraps},
        {"ClearAllMessages", &S::clearAllMessages},
        {"ShardRoom", &S::shardRoom},

        {"RocketTravel", &S::rocketTravel},
        {"ClearRocketTravel", &S::clearRocketTravel},
        {"ExtraRocketDoor", &S::extraRocketDoor},
        {"ZweenyRocket", &S::zweenyRocket},
        {"SpaceChapterGate", &S::spaceChapterGate},

        {"SetAdvice", &S::setAdvice},
    };
    auto it = handlers.find(word);
    return it == handlers.end() ? nullptr : it->second;
}

bool Scene::runCommand(const std::string& word, std::istream& args, std::istream& block) {
    const ScriptStatement::Handler handler = ScriptStatement::find(word);
    if (!handler) return false;
    ScriptStatement statement{*this, word, args, block};
    (statement.*handler)();
    return true;
}

void Scene::toggleCityDamage() {
    stopMusic(music);
    damaged = !damaged;
    if (damaged) {
        intactMusic = music;
        music = damagedMusic;
        setAsideFlying = flyingAnimations;
        flyingAnimations.clear();
    } else {
        music = intactMusic;
        flyingAnimations = setAsideFlying;
        setAsideFlying.clear();
    }
    for (auto& b : buildings) b->damaged = damaged;
    for (const auto& [intact, broken] : damageTable) {
        auto a = legend.find(intact);
        auto b = legend.find(broken);
        if (a == legend.end()) fatalAssert("Scene", 457, std::string(1, intact));
        if (b == legend.end()) fatalAssert("Scene", 458, std::string(1, broken));
        const int from = damaged ? a->second : b->second;
        const int to = damaged ? b->second : a->second;
        for (auto& column : grid)
            for (int& cell : column)
                if (cell == from) cell = to;
    }
    playMusic(music);
}

// ---------------------------------------------------------------------------------------------
// Sequences

bool Scene::runSequenceStep() {
    if (sequence.name.empty()) return false;
    if (sequence.moving) {
        // The frame in which the last mover arrives ends the move.
        updateSequenceMovers();
        return true;
    }
    if (sequence.wait > 0) {
        --sequence.wait;
        return true;
    }
    auto it = sequences.find(sequence.name);
    if (it == sequences.end() || sequence.line >= it->second.size()) {
        sequence = SequenceRun();
        return false;
    }
    const std::vector<std::string>& lines = it->second;
    const std::string line = lines[sequence.line++];
    std::istringstream head(line);
    std::string word;
    head >> word;
    if (word == "Move" || word == "MoveMultiple") {
        MoveEntry m;
        if (word == "Move") m.read(head);
        else m.readMultiple(head);
        sequence.move = m;
        sequence.moving = true;
        updateSequenceMovers();
    } else if (word == "Wait") {
        WordReader r(head, "Scene", 500);
        sequence.wait = r.integer("WaitSequence", "frames");
    } else {
        // Block commands read the lines that follow in the sequence.
        std::string rest;
        for (std::size_t i = sequence.line; i < lines.size(); ++i) rest += lines[i] + "\n";
        std::istringstream block(rest);
        std::string args;
        std::getline(head, args);
        std::istringstream argStream(args);
        const std::string running = sequence.name;
        if (!runCommand(word, argStream, block)) fatalAssert("Scene", 4655, word);
        if (sequence.name == running && !block.eof()) {
            std::streamoff used = block.tellg();
            if (used > 0) sequence.line += std::count(rest.begin(), rest.begin() + used, '\n');
        } else if (sequence.name == running) {
            sequence.line = lines.size();
        }
    }
    return true;
}

void Scene::updateSequenceMovers() {
    bool anyMoving = false;
    for (const auto& [who, destination] : sequence.move.moves) {
        Character& c = people->at(who);
        if (!c.walking && c.tile == destination && c.pixel == tileToPixel(destination)) continue;
        if (!c.walking || c.pixel == tileToPixel(c.targetTile)) {
            if (c.walking) {
                c.previousTile = c.tile;
                c.tile = c.targetTile;
                c.walking = false;
            }
            if (c.tile == destination) continue;
            c.startMoveTo(routedStep(who, destination));
        }
        c.move(nullptr, mapSize(), blocked[0], blocked[1], MOVE_IGNORE_BLOCKED);
        if (c.walking || c.tile != destination) anyMoving = true;
    }
    if (anyMoving) return;
    sequence.moving = false;
    if (sequence.move.look != NO_DIRECTION)
        for (const auto& [who, destination] : sequence.move.moves) people->at(who).setFacing(sequence.move.look);
    sequence.wait = sequence.move.wait;
}
