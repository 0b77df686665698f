// Raised skeletons and built towers: prepared, numbered roster characters that join the party
// for the rest of the battle, with stats drawn from their caster's.
#include "battle/BattleFlow.hpp"

#include "characters/People.hpp"
#include "game/Globals.hpp"

#include <algorithm>

namespace {

int sixStatPower(const Character& c) {
    return c.stats[MAXHP] + c.stats[MAXMP] + c.stats[STR] + c.stats[DEX] + c.stats[SPD] + c.stats[WIS];
}

std::string shuffled(std::string text) {
    for (int i = static_cast<int>(text.size()) - 1; i > 0; --i)
        std::swap(text[i], text[std::rand() % (i + 1)]);
    return text;
}

void joinBattle(Battle& battle, long long index, long long summoner, const std::string& rosterName) {
    people->insertPartyIndex(static_cast<int>(index));
    battle.turnList.push_back(index);
    battle.summonedCreatures[index] = {static_cast<int>(summoner), rosterName};
}

} // namespace

void Battle::raiseSkeleton(long long boneTarget, long long caster, const std::string& spellName) {
    // Each kind of skeleton counts with its own counter.
    int* counter = &skeletonCounters[0];
    std::string base;
    if (spellName == "RaiseMageSkeleton") {
        counter = &skeletonCounters[1];
        base = "MageSkeleton";
    } else if (spellName == "RaiseHealerSkeleton") {
        counter = &skeletonCounters[2];
        base = "HealerSkeleton";
    } else if (spellName == "RaiseSkeleton") {
        base = "Skeleton";
    } else {
        fatalAssert("Battle", 2507, "IDJFIDFD");
    }
    // The roster holds the numbered skeletons ready ("Skeleton1", "Skeleton2"...); the counter
    // names the next one.
    const std::string rosterName = base + std::to_string(*counter);
    const int index = people->indexOf(rosterName);
    if (index == NO_INDEX) fatalAssert("Battle", 2511, rosterName);
    ++*counter;
    // It rises as strong as its caster, rested.
    Character& skeleton = people->at(index);
    skeleton.setLevel(sixStatPower(people->at(caster)), false);
    skeleton.stats[HP] = skeleton.stats[MAXHP];
    skeleton.stats[MP] = skeleton.stats[MAXMP];
    // It takes the fallen one's letters, in an order no roster character bears.
    const std::string fallen = people->at(boneTarget).name;
    std::string shown = shuffled(fallen);
    for (int attempt = 0; attempt < 10 && people->indexOf(shown) != NO_INDEX; ++attempt) shown = shuffled(fallen);
    if (people->indexOf(shown) == NO_INDEX) skeleton.name = shown;
    // The bones are used up; the skeleton stands where they lay and fights for the caster.
    const Point boneCell = people->at(boneTarget).tile;
    auto bone = bones.find(boneCell);
    if (bone == bones.end()) fatalAssert("Battle", 2530, "Bone");
    bones.erase(bone);
    skeleton.setTilePosition(boneCell);
    joinBattle(*this, index, caster, rosterName);
}

void Battle::buildTower(Point cell, long long builder, const std::string& spellName) {
    // Each kind of tower counts with its own counter.
    int* counter = nullptr;
    std::string base;
    if (spellName == "BuildTeslaCoil") {
        counter = &towerCounters[0];
        base = "Tesla";
    } else if (spellName == "BuildMissleLauncher") {
        counter = &towerCounters[1];
        base = "MissleLauncher";
    } else if (spellName == "BuildSawTrap") {
        counter = &towerCounters[2];
        base = "SawTrap";
    } else if (spellName == "BuildSentryTurret") {
        counter = &towerCounters[3];
        base = "SentryTurret";
    } else {
        fatalAssert("Battle", 2549, "Invalid tower " + spellName);
    }
    // The roster holds the numbered towers ready ("Tesla1", "Tesla2"...); the counter names the
    // next one.
    const std::string rosterName = base + std::to_string(*counter);
    const int index = people->indexOf(rosterName);
    if (index == NO_INDEX) fatalAssert("Battle", 2553, rosterName);
    ++*counter;
    // It stands as strong as its builder, whole, on the chosen cell, and fights for the builder.
    Character& tower = people->at(index);
    tower.setLevel(sixStatPower(people->at(builder)), false);
    tower.stats[HP] = tower.stats[MAXHP];
    tower.stats[MP] = tower.stats[MAXMP];
    tower.setTilePosition(cell);
    joinBattle(*this, index, builder, rosterName);
}
