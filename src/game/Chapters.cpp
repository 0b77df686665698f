// The story's chapters: where each one ends, and the preparation of the final opponent.
#include "game/Game.hpp"

#include "battle/Items.hpp"
#include "characters/People.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

namespace {

bool collected(const Game& g, const std::string& shard) { return g.shardState(shard) != 0; }

bool leaderOn(Point tile) { return people->mainCharacter().tile == tile; }

} // namespace

std::string Game::checkChapterEnd() {
    const Scene& scene = current();
    const std::string& here = scene.name;
    switch (chapter) {
    case 1:
        if (here == "Solaris" && collected(*this, "Moon") && leaderOn({25, 15})) return "Chapter1End";
        break;
    case 2:
        if (here == "Solaris" && isBoolVarSet("TalkedGamer") &&
            people->partyHasItemNamed("Chip"))
            return "Chapter2End";
        break;
    case 3:
        if (here == "Solaris" && collected(*this, "Air")) return "Chapter3End";
        break;
    case 4:
        if (here == "Solaris" && collected(*this, "Forest")) return "Chapter4End";
        break;
    case 5:
        if (here == "Solaris" && scene.battle.won && leaderOn({25, 15})) return "Chapter5End";
        break;
    case 6:
        if (here == "CeresCastleF3" && scene.battle.won && leaderOn({11, 6})) return "Chapter6End";
        break;
    case 7:
    case 8:
    case 9: {
        if (here != "SolarSystem") break;
        int held = 0;
        for (const char* shard : {"Water", "Princess", "Sun"}) held += collected(*this, shard) ? 1 : 0;
        // One of the three ends chapter 7, two end chapter 8, all three chapter 9.
        if (chapter - 7 < held) return "Chapter" + std::to_string(chapter) + "End";
        break;
    }
    default: break;
    }
    return "";
}

void Game::prepareMadScientist(Scene&) {
    // The whole side fights the last battle, however many that makes.
    for (int index : people->reserve) people->party.insert(index);
    people->reserve.clear();
    if (autoDistributeFood) people->distributeUsableItems();
    if (autoDistributeWeapons) people->distributeEquipableItems();

    const int who = people->indexOf("MadScientist");
    if (who == NO_INDEX) fatalAssert("Game", 64, "MadScientist");
    Character& scientist = people->at(who);
    beforeLevelling();
    scientist.setLevel(people->partyAveragePower());
    if (scientist.accessory1 != NO_ITEM) scientist.applyItemStats(scientist.accessory1, -1);
    scientist.accessory1 = itemList->indexOf("ShieldGenRing");
    if (scientist.accessory1 != NO_ITEM) scientist.applyItemStats(scientist.accessory1, 1);
}
