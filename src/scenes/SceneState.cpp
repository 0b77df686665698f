// The scene's line in the save file.
#include "scenes/SceneState.hpp"

#include "foundation/TextReader.hpp"
#include "scenes/Scene.hpp"

#include <algorithm>

namespace {

void writeChests(std::ostream& out, const std::vector<SavedChest>& chests) {
    out << chests.size();
    for (const SavedChest& c : chests) out << " " << c.tile.x << " " << c.tile.y << " '" << c.item << "'";
}

std::vector<SavedChest> readChests(WordReader& r) {
    std::vector<SavedChest> out;
    const int n = r.integer("Save", "count");
    for (int i = 0; i < n; ++i) {
        SavedChest c;
        c.tile = r.tile();
        std::string quoted = r.word("chest name");
        if (quoted.size() < 2) fatalAssert("Scene", 23, quoted);
        c.item = quoted.substr(1, quoted.size() - 2);
        out.push_back(c);
    }
    return out;
}

} // namespace

void SceneState::write(std::ostream& out) const {
    out << "CHESTS ";
    writeChests(out, chests);
    out << " BATTLEV " << (battleWon ? 1 : 0);
    if (!playedBlocks.empty()) {
        out << " IFSPLAYED " << playedBlocks.size() << " ";
        for (const std::string& key : playedBlocks) out << "<" << key << "> ";
    }
    if (!pendingChests.empty()) {
        out << " PENDING ";
        writeChests(out, pendingChests);
    }
}

void SceneState::read(std::istream& in) {
    WordReader r(in, "Scene", 47);
    std::string w = r.word("CHESTS");
    if (w != "CHESTS") fatalAssert("Scene", 183, w);
    chests = readChests(r);
    w = r.word("BATTLEV");
    if (w != "BATTLEV") fatalAssert("Scene", 198, w);
    battleWon = r.boolean("BATTLEV");
    while (r.next(w)) {
        if (w == "IFSPLAYED") {
            const int p = r.integer("Save", "count");
            for (int i = 0; i < p; ++i) {
                std::string key;
                std::string part;
                while (true) {
                    if (!r.next(part)) fatalAssert("Scene", 212, key);
                    key += key.empty() ? part : " " + part;
                    if (part.find('>') != std::string::npos) break;
                }
                playedBlocks.push_back(key.substr(1, key.size() - 2));
            }
        } else if (w == "PENDING") {
            pendingChests = readChests(r);
        } else {
            return;
        }
    }
}

SceneState Scene::buildState() const {
    SceneState state;
    for (const auto& [row, list] : chests)
        for (const Chest& c : list) state.chests.push_back({c.item, c.tile});
    for (Point p : openedChestRecords) state.chests.push_back({"", p});
    state.battleWon = battle.won;
    for (const SceneCondition& c : conditions)
        if (c.once && c.played) state.playedBlocks.push_back(c.key());
    for (const Chest& c : pendingChests) state.pendingChests.push_back({c.item, c.tile});
    return state;
}

void Scene::save(std::ostream& out) const {
    out << "SCENE " << name << " ";
    buildState().write(out);
    out << "\n";
}

void Scene::restoreState(const SceneState& state) {
    for (const SavedChest& saved : state.chests) {
        if (!saved.item.empty()) continue;
        if (Chest* c = chestAt(saved.tile)) c->item.clear();
        // A chest a script has not placed yet: it comes opened when it does.
        else openedChestRecords.insert(saved.tile);
    }
    if (state.battleWon) {
        battle.inBattle = false;
        battle.won = true;
        battle.watch = false;
        animatedObjects.clear();
    }
    for (const std::string& key : state.playedBlocks)
        for (SceneCondition& c : conditions)
            if (c.key() == key) c.played = true;
    for (const SavedChest& p : state.pendingChests) {
        bool queued = std::any_of(pendingChests.begin(), pendingChests.end(),
                                  [&](const Chest& c) { return c.tile == p.tile; });
        if (!queued) pendingChests.push_back({p.item, p.tile});
    }
}
