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
#include <iostream>
#include <sstream>

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

void Scene::runScript(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    std::istringstream script(text);
    std::string word;
    while (script >> word) {
        std::string rest;
        std::getline(script, rest);
        if (word[0] == '#') continue;
        std::istringstream args(rest);
        if (!runCommand(word, args, script)) fatalAssert("Scene", 4655, word);
    }
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

bool Scene::runCommand(const std::string& word, std::istream& args, std::istream& block) {
    WordReader r(args, "Scene", 73);
    if (word == "Dialog") {
        int who = personIndex(r.word(word), 4002, " - bad character in Dialog statement");
        monologs.erase(who);
        MonologSequence d;
        d.read(args, block);
        dialogs[who] = d;
    } else if (word == "Monolog") {
        Monolog m;
        m.read(args, block);
        int who = personIndex(m.speakerName, 4323, " - bad character in TalkTo statement");
        monologs[who] = m;
    } else if (word == "Credits") {
        credits = SceneCredits();
        credits.read(args, block);
    } else if (word == "PlayDialog") {
        std::string who = r.word(word);
        int i = personIndex(who, 4518);
        auto it = dialogs.find(i);
        if (it == dialogs.end()) fatalAssert("Scene", 4520, who);
        dialog = it->second;
    } else if (word == "PlayMessage") {
        std::string first = r.word(word);
        std::string rest = r.rest();
        int i = people->indexOf(first);
        if (i != NO_INDEX) message.set(rest, i);
        else message.setText(rest.empty() ? first : first + " " + rest, nullptr);
    } else if (word == "Say") {
        message.set(r.rest(), people->mainCharacterIndex);
    } else if (word == "Text") {
        SceneText t;
        t.read(args);
        texts.push_back(t);
    } else if (word == "ZoomAndTalk") {
        ZoomAndTalk z;
        z.read(args);
        zoomAndTalk.push_back(z);
    } else if (word == "ZoomOut") {
        if (game->normalZoom) game->toggleZoom();
    } else if (word == "PlaySound") {
        std::string n = r.word(word);
        if (resources) resources->playSound(n);
    } else if (word == "PlaySequence") {
        startSequence(r.word(word));
    } else if (word == "SetBoolVar") {
        std::string n = r.word(word);
        game->BOOLVARS.insert(n);
    } else if (word == "SetStringVar") {
        std::string n = r.word(word);
        game->setStrVar(n, r.word(word));
    } else if (word == "AppendToVar") {
        std::string n = r.word(word);
        std::string w;
        while (r.next(w)) game->addToSetVar(n, w);
    } else if (word == "ChangeSceneWithPosition" || word == "ChangeSceneWithKeyAndPosition") {
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        std::string target = r.word(word);
        (word == "ChangeSceneWithPosition" ? exits : keyExits)[{x, y}] = target;
    } else if (word == "ChangeSceneAnyKey") {
        anyKeyScene = r.word(word);
    } else if (word == "TeleportLocation") {
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        TeleportTarget t;
        t.scene = r.word(word);
        t.tile.x = r.integer("Tile", "x");
        t.tile.y = r.integer("Tile", "y");
        teleports[{x, y}] = t;
    } else if (word == "ClearTeleport") {
        teleports.clear();
    } else if (word == "ChangeHouseSign" || word == "ChangeHouseScene") {
        Point door;
        door.x = r.integer("Tile", "x");
        door.y = r.integer("Tile", "y");
        std::string value = r.word(word);
        for (auto& b : buildings) {
            if (b->door != door) continue;
            if (word == "ChangeHouseSign") b->setSign(value);
            else b->scene = value;
        }
    } else if (word == "SetPosition") {
        int who = personIndex(r.word(word), 4333);
        Point t;
        t.x = r.integer("Tile", "x");
        t.y = r.integer("Tile", "y");
        Character& c = people->at(who);
        c.setTilePosition(t);
        placements[who] = t;
        c.wandering = false;
        addPerson(who);
    } else if (word == "NPC") {
        std::string who = r.word(word);
        std::string xw = r.word(word);
        if (xw == "RANDOMPLACE") fatalAssert("Scene", 4392, "RANDOMPLACE not supported inside of ifs");
        Point t;
        t.x = inRange("Tile", "x", leadingInt(xw, "Scene", 4392));
        t.y = r.integer("Tile", "y");
        int i = personIndex(who, 4395);
        addPerson(i);
        people->at(i).setTilePosition(t);
        std::string w;
        if (r.next(w) && w == "STAND") {
            standSet.insert(i);
            people->at(i).wandering = false;
        }
    } else if (word == "AddToStandList") {
        std::string w;
        while (r.next(w)) {
            int i = personIndex(w, 4107);
            standSet.insert(i);
            people->at(i).wandering = false;
        }
    } else if (word == "DeleteNPCs") {
        std::string w;
        while (r.next(w)) {
            int i = people->indexOf(w);
            if (i != NO_INDEX) removePerson(i);
        }
    } else if (word == "DeleteAllNPCs") {
        persons.clear();
    } else if (word == "SetDirLooking") {
        int i = personIndex(r.word(word), 196);
        people->at(i).setFacing(parseDirection(r.word(word)));
    } else if (word == "AddToJoinList") {
        int i = personIndex(r.word(word), 4210);
        if (std::find(joinList.begin(), joinList.end(), i) == joinList.end()) joinList.push_back(i);
    } else if (word == "SetDesiredBattlePos" || word == "SetStartingBattlePos") {
        int i = personIndex(r.word(word), 202);
        Point t;
        t.x = r.integer("Tile", "x");
        t.y = r.integer("Tile", "y");
        // The definition keeps them too: starting the battle copies it over the live one.
        if (word == "SetDesiredBattlePos") {
            battle.posts[i] = t;
            battleDefinition.posts[i] = t;
        } else {
            battle.presetTiles[i] = t;
            battleDefinition.presetTiles[i] = t;
        }
    } else if (word == "Battle") {
        std::string definition = r.rest();
        if (!battle.inBattle && battle.won) return true;
        battle.load(definition);
        battle.checkCellsOnGrid(mapSize());
        battle.sceneName = name;
        battle.gridSize = mapSize();
        battle.startedByScript = true;
        battle.armed = true;
        battleDefinition = battle;
    } else if (word == "CancelBattle") {
        battle.inBattle = false;
        battle.won = true;
        battle.watch = false;
        battle.armed = false;
    } else if (word == "DamageCity") {
        if (!damaged) toggleCityDamage();
    } else if (word == "RestoreCity") {
        if (damaged) toggleCityDamage();
    } else if (word == "BlockBox") {
        forBox(r, [&](Point p) { blocked[0].insert(p); });
    } else if (word == "UnblockBox" || word == "RemoveBlockedInBox") {
        forBox(r, [&](Point p) { unblockCell(p); });
    } else if (word == "RemoveBlockedAt") {
        for (Point p : r.points()) unblockCell(p);
    } else if (word == "AnimationsAt") {
        std::string picture = r.word(word);
        for (Point p : r.points()) {
            AnimatedObject a;
            a.name = picture;
            a.position = {p.x * TILE_SIZE + 60, (p.y + 1) * TILE_SIZE - 90};
            a.scale = 1.0f;
            a.colour = sf::Color::White;
            animatedObjects[p.y].push_back(a);
            blocked[0].insert(p);
            blocked[1].insert(p);
        }
    } else if (word == "RemoveAnimsAt") {
        for (Point p : r.points()) {
            auto it = animatedObjects.find(p.y);
            if (it == animatedObjects.end()) continue;
            Rect square(p.x * TILE_SIZE, p.y * TILE_SIZE, p.x * TILE_SIZE + TILE_SIZE - 1,
                        p.y * TILE_SIZE + TILE_SIZE - 1);
            auto& list = it->second;
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](const AnimatedObject& a) { return square.contains(a.position); }),
                       list.end());
        }
    } else if (word == "ClearAnimations") {
        std::string picture = r.word(word);
        for (auto& [row, list] : animatedObjects)
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](const AnimatedObject& a) { return a.name == picture; }),
                       list.end());
    } else if (word == "NPCAnimAt") {
        SceneObject o;
        o.name = r.word(word);
        o.scale = r.real("NPCAnimAt", "scale");
        r.integer("NPCAnimAt", "frames"); // the drawing asks the store for the frame count
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        o.x = static_cast<float>(x);
        objects2.push_back(o);
        objectRows2[y].push_back(static_cast<int>(objects2.size()) - 1);
    } else if (word == "ClearNPCAnims") {
        objects2.clear();
        objectRows2.clear();
    } else if (word == "Object") {
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
                fatalAssert("Scene", 4545, w + " scene " + name);
            }
        }
        int row = static_cast<int>(std::floor(y));
        o.yOffset = static_cast<int>((y - row) * TILE_SIZE);
        objects.push_back(o);
        objectRows[row].push_back(static_cast<int>(objects.size()) - 1);
    } else if (word == "ObjectOnTable" || word == "HatOnTable" || word == "PlanetOnTable") {
        SceneObject o;
        o.name = r.word(word);
        int x = r.integer("Tile", "x");
        int y = r.integer("Tile", "y");
        o.x = static_cast<float>(x);
        o.scale = 0.6f;
        o.yOffset = (TILE_SIZE / 3 - 180) / 2;
        o.hat = word == "HatOnTable";
        o.planet = word == "PlanetOnTable";
        objects.push_back(o);
        objectRows[y].push_back(static_cast<int>(objects.size()) - 1);
    } else if (word == "ColorizeObject") {
        float x = r.real("ColorizeObject", "tile");
        float y = r.real("ColorizeObject", "tile");
        int red = r.integer(), green = r.integer(), blue = r.integer();
        auto it = objectRows.find(static_cast<int>(std::floor(y)));
        if (it != objectRows.end())
            for (int i : it->second)
                if (objects[i].x == std::floor(x)) objects[i].colour = sf::Color(red & 255, green & 255, blue & 255);
    } else if (word == "DeleteObjectsInBox") {
        const char* corner = "corner";
        float x0 = r.real(word.c_str(), corner), y0 = r.real(word.c_str(), corner);
        float x1 = r.real(word.c_str(), corner), y1 = r.real(word.c_str(), corner);
        for (int row = static_cast<int>(std::floor(y0)); row <= static_cast<int>(std::floor(y1)); ++row) {
            auto it = objectRows.find(row);
            if (it == objectRows.end()) continue;
            auto& list = it->second;
            list.erase(std::remove_if(list.begin(), list.end(),
                                      [&](int i) { return objects[i].x >= x0 && objects[i].x <= x1; }),
                       list.end());
        }
    } else if (word == "Container") {
        Container c;
        c.name = r.word(word);
        std::string w;
        while (r.next(w)) {
            if (w == "LOCATION") {
                c.tile.x = r.integer("Tile", "x");
                c.tile.y = r.integer("Tile", "y");
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
        containers[c.tile.y].push_back(c);
        blocked[0].insert(c.tile);
    } else if (word == "ClearContainers") {
        containers.clear();
    } else if (word == "Chest" || word == "ChestNextEntry") {
        Point t;
        t.x = r.integer("Tile", "x");
        t.y = r.integer("Tile", "y");
        std::string item = r.word(word);
        if (word == "ChestNextEntry") {
            pendingChests.push_back({item, t});
        } else {
            if (!chestAt(t)) {
                // A chest the save file says was opened before the script placed it.
                bool opened = openedChestRecords.erase(t) > 0;
                chests[t.y].push_back({opened ? std::string() : item, t});
            }
            blocked[0].insert(t);
        }
    } else if (word == "Drop" || word == "DropOnTable") {
        std::string item = r.word(word);
        Point t;
        t.x = r.integer("Tile", "x");
        t.y = r.integer("Tile", "y");
        int i = itemList->indexOf(item);
        if (i == NO_ITEM) fatalAssert("Scene", 4474, item);
        if (itemList->at(i).type == Item::SPECIAL && people->partyHasItem(i)) return true;
        dropItem(i, t, word == "DropOnTable");
    } else if (word == "DropSite") {
        std::string item = r.word(word);
        DropSite s;
        s.item = itemList->indexOf(item);
        if (s.item == NO_ITEM) fatalAssert("Scene", 392, item);
        s.tile.x = r.integer("Tile", "x");
        s.tile.y = r.integer("Tile", "y");
        s.flag = r.boolean(word);
        dropSites[s.tile.y].push_back(s);
    } else if (word == "SwapTile") {
        Point t;
        t.x = r.integer("Tile", "x");
        t.y = r.integer("Tile", "y");
        std::string c = r.word(word);
        setCell(t, c[0], 4275);
    } else if (word == "EnergyField") {
        int x = r.integer("Box", "x0"), y = r.integer("Box", "y0");
        int a = r.integer("Box", "x1"), b = r.integer("Box", "y1");
        energyFields.push_back(Rect(x, y, a, b));
    } else if (word == "EraseEnergyFieldAt") {
        int x = r.integer("Tile", "x"), y = r.integer("Tile", "y");
        auto it = std::find_if(energyFields.begin(), energyFields.end(),
                               [&](const Rect& f) { return f.x0 == x && f.y0 == y; });
        if (it != energyFields.end()) energyFields.erase(it);
    } else if (word == "ClearAllTraps") {
        traps.clear();
    } else if (word == "ClearAllMessages") {
        positionMessages.clear();
    } else if (word == "ShardRoom") {
        for (Point p : r.points()) shardRoomCells.push_back(p);
    } else if (word == "RocketTravel") {
        int x = r.integer("Tile", "x");
        rocketTravelTiles.push_back({x, r.integer("Tile", "y")});
    } else if (word == "ClearRocketTravel") {
        rocketTravelTiles.clear();
    } else if (word == "ExtraRocketDoor") {
        int x = r.integer("Tile", "x");
        extraRocketDoors.insert({x, r.integer("Tile", "y")});
    } else if (word == "ZweenyRocket") {
        int x = r.integer("Tile", "x");
        zweenyRocket = {x, r.integer("Tile", "y")};
    } else if (word == "SpaceChapterGate") {
        addSpaceGate(*this, args);
    } else if (word == "SetAdvice") {
        // Deprecated: the line is ignored without holding up the game.
        consoleLine("SetAdvice is deprecated - scene ", name);
    } else {
        return false;
    }
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
