// Entering a scene: where the leader and the persons stand, what is re-armed, the If blocks, the
// battle and the save on entry.
#include "SceneTestWorld.hpp"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class SceneEnter : public SceneWorld {
protected:
    Character& leader() { return roster.mainCharacter(); }
};

} // namespace

TEST_F(SceneEnter, DoorPlacementPrefersTheLaterDoorAndTheCellBelow) {
    // Two exits back to "Cave": the later one in (x, y) order wins; below beats above, right, left.
    Scene& s = load(square("Hall", "ChangeSceneWithPosition 2 2 Cave\nChangeSceneWithPosition 6 3 Cave\n"));
    load(square("Cave"));
    enter(s, "Cave");
    EXPECT_EQ(leader().tile, Point(6, 4));
    EXPECT_EQ(leader().facing, SOUTH);
    // Below blocked: above; then right; then left.
    s.blocked[0].insert({6, 4});
    enter(s, "Cave");
    EXPECT_EQ(leader().tile, Point(6, 2));
    s.blocked[0].insert({6, 2});
    enter(s, "Cave");
    EXPECT_EQ(leader().tile, Point(7, 3));
    // A person standing there, or walking there, makes the cell unusable; so does an exit tile.
    s.addPerson(index("Bo"));
    who("Bo").setTilePosition({7, 3});
    s.runScript({"ChangeSceneWithPosition 5 3 Elsewhere"});
    enter(s, "Cave");
    EXPECT_EQ(leader().tile, Point(2, 3)); // only the first door has a free neighbour left
}

TEST_F(SceneEnter, BuildingDoorsBackDoorsAndBorders) {
    Scene& s = load(square("Yard", "House 3 3 2 2 DOOR 1 1 SCENE Hut\nChangeSceneAtBorder EAST Field\n"
                                   "ChangeSceneAtBorder WEST Hut\nNPC <MAIN> 2 1\n"));
    load(square("Hut"));
    load(square("Field"));
    enter(s, "Hut");
    EXPECT_EQ(leader().tile, Point(4, 5)); // below the house's door at (4, 4)
    // No door leads to Field: the border puts the leader one tile inside the east edge, on the
    // row the main-character placement gave it.
    enter(s, "Field");
    EXPECT_EQ(leader().tile, Point(8, 1));
    EXPECT_EQ(leader().facing, WEST);
    // Nothing leads to "Nowhere": the main-character placement applies.
    enter(s, "Nowhere");
    EXPECT_EQ(leader().tile, Point(2, 1));
    // A door to "BACK" places the leader beside it whatever the previous scene was.
    s.runScript({"ChangeSceneWithPosition 8 1 BACK"});
    enter(s, "Nowhere");
    EXPECT_EQ(leader().tile, Point(8, 2));
}

TEST_F(SceneEnter, PlacementsSabioAndTheReserve) {
    Scene& s = load(square("Camp", "NPC Sabio 4 2\nNPC Bo 6 3\nNPC <MAIN> 1 1\n"));
    roster.reserve = {index("Cy"), index("Dee"), index("Eve")};
    roster.at(0).level = 5;
    who("Eve").className = "Monster"; // no level table: entering must not stop the game
    who("Eve").level = 1;
    who("Cy").level = 2;
    who("Cy").className = "Warrior";
    who("Dee").className = "Warrior";
    who("Dee").stats[XP] = -1000000; // will not level in any reasonable number of gains
    who("Bo").wandering = false;
    who("Bo").setFacing(NORTH);
    enter(s, "Somewhere");
    EXPECT_EQ(leader().tile, Point(4, 4)); // two below Sabio, over the main-character entry
    EXPECT_EQ(who("Bo").tile, Point(6, 3));
    EXPECT_EQ(who("Bo").facing, SOUTH);
    EXPECT_TRUE(who("Bo").wandering); // not in the STAND set
    EXPECT_EQ(who("Cy").level, 5);
    EXPECT_EQ(who("Dee").level, 1); // bounded: entry still returns
    EXPECT_EQ(who("Eve").level, 1);
    EXPECT_EQ(s.entryTile, Point(4, 4));
    EXPECT_EQ(s.focusTile, Point(4, 4));
    // Two below Sabio would be off the map: the main-character entry applies.
    s.placements[index("Sabio")] = {4, 5};
    enter(s, "Somewhere");
    EXPECT_EQ(leader().tile, Point(1, 1));
    // Without Sabio present, the reserve is not raised and the main-character entry applies.
    s.removePerson(index("Sabio"));
    who("Cy").level = 1;
    enter(s, "Somewhere");
    EXPECT_EQ(who("Cy").level, 1);
    EXPECT_EQ(leader().tile, Point(1, 1));
    // An empty party raises nobody.
    s.addPerson(index("Sabio"));
    roster.party.clear();
    enter(s, "Somewhere");
    EXPECT_EQ(who("Cy").level, 1);
}

TEST_F(SceneEnter, QuorvaneListsLoveAndMainPlayer) {
    Scene& s = load(square("Stage", "Quorvane 1 1 2 1\nSpareQuorvane 3 5\nSetLove Bo Cy\nSaveQuorvane\n"));
    roster.party = {0, index("Bo"), index("Eve")};
    roster.reserve = {index("Dee")};
    enter(s, "X");
    EXPECT_EQ(leader().tile, Point(1, 1));
    EXPECT_EQ(who("Bo").tile, Point(2, 1));
    EXPECT_EQ(s.persons, (std::vector<int>{index("Bo"), index("Dee")}));
    EXPECT_EQ(who("Dee").tile, Point(3, 5));
    EXPECT_EQ(who("Bo").lovePartner, index("Cy"));
    EXPECT_EQ(who("Cy").lovePartner, index("Bo"));
    EXPECT_EQ(roster.savedParty, roster.party);
    Scene& m = load(square("Throne", "SetMainPlayer Cy\n"));
    enter(m, "Stage");
    EXPECT_EQ(roster.mainCharacterIndex, index("Cy"));
    EXPECT_TRUE(roster.party.empty());
    Scene& bad = load(square("Bad", "SetLove Bo Zed\n"));
    EXPECT_EQ(fatalMessage([&] { enter(bad, "X"); }), "ASSERT file Scene line 4788 : Zed");
    bad.lovePairs = {{"Zed", "Bo"}};
    EXPECT_EQ(fatalMessage([&] { enter(bad, "X"); }), "ASSERT file Scene line 4787 : Zed");
}

TEST_F(SceneEnter, VariableExitsAreLeftOutWhileTheVariableIsEmpty) {
    Scene& s = load(square("Crossing", "VarExit 8 5 NextStop\n"));
    enter(s, "X");
    EXPECT_EQ(s.exits.count({8, 5}), 0u);
    shell->setStrVar("NextStop", "Mill");
    enter(s, "X");
    EXPECT_EQ(s.exits.at({8, 5}), "Mill");
    shell->clearStrVar("NextStop");
    enter(s, "X");
    EXPECT_EQ(s.exits.count({8, 5}), 0u);
}

TEST_F(SceneEnter, PendingChestsTriggersTemporaryBlocksAndIfBlocks) {
    Scene& s = load(square("Vault", "IfOnce First ALWAYS\nAppendToVar Entries first\nEndIf\n"
                                    "If Open FLAG\nAppendToVar Entries open\nEndIf\n"
                                    "Title Into the vault\n"));
    s.runScript({"ChestNextEntry 5 5 Elixir", "ChestNextEntry 3 2 Key"});
    s.firedTriggers.insert({1, 1});
    s.tempBlocked.insert({2, 5});
    s.blocked[0].insert({2, 5});
    s.blocked[1].insert({2, 5});
    enter(s, "X");
    EXPECT_EQ(s.chestAt({5, 5})->item, "Elixir");
    EXPECT_EQ(s.chestAt({3, 2})->item, "Sword"); // a chest already stood there
    EXPECT_TRUE(s.pendingChests.empty());
    EXPECT_TRUE(s.firedTriggers.empty());
    EXPECT_FALSE(s.isBlocked({2, 5}, false));
    EXPECT_FALSE(s.isBlocked({2, 5}, true));
    EXPECT_EQ(shell->getSetVar("Entries"), std::set<std::string>{"first"});
    EXPECT_EQ(s.message.lines, std::vector<std::string>{"Into the vault"});
    shell->BOOLVARS.insert("Open");
    shell->SETVARS.clear();
    enter(s, "X");
    EXPECT_EQ(shell->getSetVar("Entries"), std::set<std::string>{"open"});
}

TEST_F(SceneEnter, BattlesStartOrTheGameIsSaved) {
    const std::string folder = "SaveGames/H5EnterSaves";
    fs::remove_all(folder);
    fs::create_directories(folder);
    shell->playerName = "H5EnterSaves";
    auto saved = [&] {
        bool there = fs::exists(folder + "/game.save");
        fs::remove(folder + "/game.save");
        fs::remove(folder + "/people.save");
        return there;
    };
    Scene& start = load("SceneName Start\nPlayerControlHere\n");
    Scene& walk = load(square("Walk"));
    Scene& chapter = load("SceneName Chapter2\nType SCREEN\n");
    Scene& screen = load("SceneName Gallery\nType SCREEN\n");
    enter(walk, "Start");
    EXPECT_FALSE(saved()); // coming from the new-game screen
    enter(walk, "Walk");
    EXPECT_FALSE(saved()); // from itself
    enter(walk, "Gallery");
    EXPECT_TRUE(saved());
    enter(screen, "Walk");
    EXPECT_FALSE(saved());
    enter(chapter, "Walk");
    EXPECT_TRUE(saved());
    (void)start;

    // A practice battle starts at every entry and saves nothing.
    Scene& arena = load(square("Arena", "Battle ENEMIES 1 Eve PRACTICE EGRESS PREV\n"));
    arena.battle.inBattle = false;
    enter(arena, "Walk");
    EXPECT_TRUE(arena.battle.inBattle);
    EXPECT_EQ(arena.battle.enemies, std::vector<long long>{index("Eve")});
    EXPECT_FALSE(saved());
    // A won battle does not start again; its enemies' talk entries go.
    Scene& field = load(square("Field", "Battle ENEMIES 1 Eve\nZoomAndTalk WHO Eve TEXT Grr\n"));
    field.runScript({"CancelBattle"});
    enter(field, "Walk");
    EXPECT_FALSE(field.battle.inBattle);
    EXPECT_TRUE(field.zoomAndTalk.empty());
    EXPECT_TRUE(saved());
    fs::remove_all(folder);
}

TEST_F(SceneEnter, EntryMonologTeleportersAndShardRoom) {
    Scene& s = load(square("Lab", "Monolog Bo 1\nWelcome to the lab.\nPlayMonolog Bo\n"
                                  "MovingTeleporter Moon 7 1\nMovingTeleporter Sun RANDOMPLACE\n"
                                  "ShardRoom 1 5 2 5\n"));
    shell->SHARDS = {{"Air", 1}, {"Cave", 2}, {"Fire", 1}, {"Moon", 1}};
    enter(s, "X");
    EXPECT_EQ(s.monolog.lines, std::vector<std::string>{"Welcome to the lab."});
    EXPECT_EQ(s.movingTeleporters[0].tile, Point(7, 1));
    EXPECT_EQ(s.movingTeleporters[0].pixel, Point(840, 120));
    EXPECT_TRUE(s.isInside(s.movingTeleporters[1].tile));
    EXPECT_FALSE(s.isBlocked(s.movingTeleporters[1].tile, false));
    // Two cells for three retrieved shards: the first two by name are shown, the cells block.
    ASSERT_EQ(s.shardAnimations.size(), 2u);
    EXPECT_EQ(s.shardAnimations.at({1, 5}).at(0).name, "Air");
    EXPECT_EQ(s.shardAnimations.at({2, 5}).at(0).name, "Fire");
    EXPECT_FALSE(s.shardAnimations.at({1, 5}).at(0).taken);
    EXPECT_TRUE(s.isBlocked({2, 5}, false));

    // Anju's monolog tells where the Mandelbrot scenes are.
    Scene& clinic = load(square("Clinic", "Monolog Anju 1\nHello.\n"));
    enter(clinic, "X");
    EXPECT_EQ(clinic.monologs.at(index("Anju")).lines, std::vector<std::string>{shell->shardCoordsHint()});

    Scene& nobody = load(square("Empty", "PlayMonolog Zed\n"));
    EXPECT_EQ(fatalMessage([&] { enter(nobody, "X"); }), "ASSERT file Scene line 5053 : Zed");
    Scene& silent = load(square("Silent", "PlayMonolog Cy\n"));
    EXPECT_EQ(fatalMessage([&] { enter(silent, "X"); }), "ASSERT file Scene line 5055 : Cy");
}

TEST_F(SceneEnter, ShardDisplaysAndSpaceFocus) {
    Scene& s = load(square("Museum"));
    ShardPiece shown;
    shown.name = "Air";
    ShardPiece missing;
    missing.name = "Sun";
    s.shardAnimations[{4, 1}] = {shown, missing};
    s.light.addLight({4, 1});
    s.light.spread(s.mapSize(), {});
    shell->SHARDS = {{"Air", 1}};
    enter(s, "X");
    EXPECT_TRUE(s.shardAnimations.at({4, 1})[0].taken);
    EXPECT_FALSE(s.shardAnimations.at({4, 1})[1].taken);
    EXPECT_TRUE(s.light.lights.empty());
    EXPECT_TRUE(s.light.distances.empty());

    Scene& sky = load("SceneName Sky\nType SPACE\nTile . END\nMap\n..........\n..........\n..........\n"
                      "..........\n..........\n..........\nEndMap\nPlanet 3 1 Ceres 1\nComet Ice 1 1 8 4 1 1\n");
    shell->setStrVar("ORIGIN", "Ceres");
    enter(sky, "X");
    EXPECT_EQ(sky.focusTile, Point(3, 3));
    EXPECT_EQ(sky.marker.tile, Point(3, 3));
    shell->setStrVar("ORIGIN", "Ice");
    enter(sky, "X");
    EXPECT_EQ(sky.focusTile, Point(sky.comets[0].position.x / TILE_SIZE, sky.comets[0].position.y / TILE_SIZE + 1));
}

TEST_F(SceneEnter, BorderArrivalStaysOnTheMapAndOffWalls) {
    Scene& s = load(square("Ledge", "ChangeSceneAtBorder SOUTH Deep\n"));
    load(square("Deep"));
    // The column kept from the other scene is free: it is used as it is.
    leader().setTilePosition({4, 2});
    enter(s, "Deep");
    EXPECT_EQ(leader().tile, Point(4, 5));
    EXPECT_EQ(leader().facing, NORTH);
    // A column beyond this map's width: the nearest free cell of the row inside the border.
    leader().setTilePosition({30, 2});
    enter(s, "Deep");
    EXPECT_EQ(leader().tile, Point(8, 5));
    // Someone stands on the kept cell: of two cells as near, the lower column.
    s.addPerson(index("Bo"));
    who("Bo").setTilePosition({4, 5});
    leader().setTilePosition({4, 2});
    enter(s, "Deep");
    EXPECT_EQ(leader().tile, Point(3, 5));
    // A walled row leaves the border unused: the leader keeps its tile.
    s.runScript({"BlockBox 1 5 8 5"});
    leader().setTilePosition({4, 2});
    enter(s, "Deep");
    EXPECT_EQ(leader().tile, Point(4, 2));
}
