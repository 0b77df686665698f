// The script interpreter: every command's effect on the scene and the game variables, the If
// blocks, city damage and the commands that must stop the game.
#include "SceneTestWorld.hpp"

#include "game/TileKind.hpp"

namespace {

class SceneScript : public SceneWorld {
protected:
    Scene& s() {
        if (!scene_) scene_ = &load(square("Square", "House 5 1 2 2 DOOR 1 1 SCENE Hut SIGN Old\n"
                                                     "Tile x BLOCK END\nDamageTile . x\n"));
        return *scene_;
    }
    Scene* scene_ = nullptr;
};

} // namespace

TEST_F(SceneScript, EmptyAndCommentScriptsDoNothing) {
    Scene& scene = s();
    const auto blocked = scene.blocked;
    scene.runScript({});
    scene.runScript({"# nothing here", "   ", "#SetBoolVar Hidden"});
    EXPECT_EQ(scene.blocked, blocked);
    EXPECT_FALSE(shell->isBoolVarSet("Hidden"));
    // "#" is only a comment at the start of the command word.
    scene.runScript({"SetStringVar Tag #1"});
    EXPECT_EQ(shell->getStrVar("Tag"), "#1");
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"If Key FLAG"}); }), "ASSERT file Scene line 4655 : If");
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"Sequence A"}); }), "ASSERT file Scene line 4655 : Sequence");
    // The damage table and its music come from the scene file only.
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"DamageTile . x"}); }), "ASSERT file Scene line 4655 : DamageTile");
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"DamagedMusic Battle"}); }), "ASSERT file Scene line 4655 : DamagedMusic");
}

TEST_F(SceneScript, MessagesVariablesAndSequences) {
    Scene& scene = s();
    scene.runScript({"PlayMessage Bo Good day to you"});
    EXPECT_EQ(scene.message.lines, std::vector<std::string>{"Good day to you"});
    EXPECT_EQ(scene.message.speaker, "Bo");
    scene.runScript({"PlayMessage Nobody knows this place"});
    EXPECT_EQ(scene.message.lines, std::vector<std::string>{"Nobody knows this place"});
    EXPECT_EQ(scene.message.speaker, "");
    scene.runScript({"Say I should rest"});
    EXPECT_EQ(scene.message.speaker, "Ana");
    scene.runScript({"SetBoolVar Met", "SetStringVar Mood happy", "AppendToVar Bag apple pear apple"});
    EXPECT_TRUE(shell->isBoolVarSet("Met"));
    EXPECT_EQ(shell->getStrVar("Mood"), "happy");
    EXPECT_EQ(shell->getSetVar("Bag"), (std::set<std::string>{"apple", "pear"}));
    scene.sequences["Walk"] = {"Wait 1"};
    scene.runScript({"PlaySequence Walk"});
    EXPECT_EQ(scene.sequence.name, "Walk");
    EXPECT_EQ(fatalDetail([&] { scene.runScript({"PlaySequence Nope"}); }), "Nope");
    scene.runScript({"Text 100 200 30 255 0 0 Hello world", "ZoomAndTalk WHO Bo TEXT hi"});
    EXPECT_EQ(scene.texts.back().text, "Hello world");
    EXPECT_EQ(scene.zoomAndTalk.back().person, index("Bo"));
    scene.runScript({"ZoomOut"});
    EXPECT_FALSE(shell->normalZoom);
    scene.runScript({"ZoomOut"});
    EXPECT_FALSE(shell->normalZoom);
    scene.dialogs[index("Cy")].sequence = "Chat";
    scene.runScript({"PlayDialog Cy"});
    EXPECT_EQ(scene.dialog.sequence, "Chat");
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"PlayDialog Zed"}); }), "ASSERT file Scene line 4518 : Zed");
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"PlayDialog Dee"}); }), "ASSERT file Scene line 4520 : Dee");
    scene.runScript({"Credits 0", "The end"});
    EXPECT_EQ(scene.credits.lines, std::vector<std::string>{"The end"});
}

TEST_F(SceneScript, ExitsTeleportsAndBuildings) {
    Scene& scene = s();
    scene.runScript({"ChangeSceneWithPosition 2 3 Cave", "ChangeSceneWithPosition 2 3 Mine",
                     "ChangeSceneWithKeyAndPosition 4 4 Vault", "ChangeSceneAnyKey Title",
                     "TeleportLocation 1 1 Moon 7 8", "ChangeHouseSign 6 2 Bakery",
                     "ChangeHouseScene 6 2 Bakery"});
    EXPECT_EQ(scene.exits.at({2, 3}), "Mine");
    EXPECT_EQ(scene.keyExits.at({4, 4}), "Vault");
    EXPECT_EQ(scene.anyKeyScene, "Title");
    EXPECT_EQ(scene.teleports.at({1, 1}).scene, "Moon");
    EXPECT_EQ(scene.teleports.at({1, 1}).tile, Point(7, 8));
    EXPECT_EQ(scene.buildings[0]->sign, "Bakery");
    EXPECT_EQ(scene.buildings[0]->scene, "Bakery");
    scene.runScript({"ClearTeleport"});
    EXPECT_TRUE(scene.teleports.empty());
}

TEST_F(SceneScript, PeopleCommands) {
    Scene& scene = s();
    who("Bo").wandering = true;
    scene.runScript({"SetPosition Bo 2 4"});
    EXPECT_EQ(who("Bo").tile, Point(2, 4));
    EXPECT_EQ(who("Bo").pixel, Point(240, 480));
    EXPECT_EQ(scene.placements.at(index("Bo")), Point(2, 4));
    EXPECT_FALSE(who("Bo").wandering);
    scene.runScript({"NPC Cy 3 3", "NPC Cy 3 4", "AddToStandList Dee Eve", "SetDirLooking Cy WEST",
                     "AddToJoinList Eve", "AddToJoinList Eve"});
    EXPECT_EQ(scene.persons, (std::vector<int>{index("Bo"), index("Cy")}));
    EXPECT_EQ(who("Cy").tile, Point(3, 4));
    EXPECT_EQ(scene.standSet, (std::set<int>{index("Dee"), index("Eve")}));
    EXPECT_EQ(who("Cy").facing, WEST);
    EXPECT_EQ(scene.joinList, std::vector<int>{index("Eve")});
    scene.runScript({"DeleteNPCs Bo Nobody"});
    EXPECT_EQ(scene.persons, std::vector<int>{index("Cy")});
    scene.runScript({"DeleteAllNPCs"});
    EXPECT_TRUE(scene.persons.empty());
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"SetPosition Zed 1 1"}); }), "ASSERT file Scene line 4333 : Zed");
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"NPC Zed 1 1"}); }), "ASSERT file Scene line 4395 : Zed");
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"AddToStandList Bo Zed"}); }), "ASSERT file Scene line 4107 : Zed");
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"AddToJoinList Zed"}); }), "ASSERT file Scene line 4210 : Zed");
}

TEST_F(SceneScript, BattleCommands) {
    Scene& scene = s();
    scene.runScript({"Battle ENEMIES 1 Eve EGRESS Town"});
    EXPECT_TRUE(scene.battle.inBattle);
    EXPECT_TRUE(scene.battle.startedByScript);
    EXPECT_EQ(scene.battleDefinition.egress, "Town");
    EXPECT_EQ(scene.battleDefinition.sceneName, "Square");
    scene.runScript({"CancelBattle"});
    EXPECT_FALSE(scene.battle.inBattle);
    EXPECT_TRUE(scene.battle.won);
    // A won battle that is not running ignores every later "Battle".
    scene.runScript({"Battle ENEMIES 1 Dee EGRESS Cave"});
    EXPECT_FALSE(scene.battle.inBattle);
    EXPECT_EQ(scene.battleDefinition.egress, "Town");
}

TEST_F(SceneScript, BlockingAndAnimations) {
    Scene& scene = s();
    scene.runScript({"BlockBox 1 1 2 2"});
    EXPECT_TRUE(scene.isBlocked({2, 2}, false));
    EXPECT_FALSE(scene.isBlocked({2, 2}, true));
    scene.runScript({"AnimationsAt Fire 3 3 4 3"});
    EXPECT_TRUE(scene.isBlocked({4, 3}, true));
    ASSERT_EQ(scene.animatedObjects[3].size(), 2u);
    EXPECT_EQ(scene.animatedObjects[3][0].position, Point(420, 390));
    scene.runScript({"UnblockBox 2 2 3 3", "RemoveBlockedInBox 1 1 1 1", "RemoveBlockedAt 4 3 5 4"});
    for (Point p : {Point(2, 2), Point(3, 3), Point(1, 1), Point(4, 3), Point(5, 4)}) {
        EXPECT_FALSE(scene.isBlocked(p, false)) << p.x << "," << p.y;
        EXPECT_FALSE(scene.isBlocked(p, true)) << p.x << "," << p.y;
    }
    scene.runScript({"RemoveAnimsAt 3 3"});
    ASSERT_EQ(scene.animatedObjects[3].size(), 1u);
    scene.runScript({"AnimationsAt Smoke 1 5", "ClearAnimations Fire"});
    EXPECT_TRUE(scene.animatedObjects[3].empty());
    EXPECT_EQ(scene.animatedObjects[5].size(), 1u);
    scene.runScript({"EnergyField 2 1 3 2"});
    EXPECT_TRUE(scene.isBlocked({3, 2}, false));
    EXPECT_TRUE(scene.isBlocked({3, 2}, true));
    scene.runScript({"EraseEnergyFieldAt 2 1"});
    EXPECT_FALSE(scene.isBlocked({3, 2}, false));
    scene.runScript({"ClearAllTraps", "ClearAllMessages", "ShardRoom 1 1 2 1", "RocketTravel 3 3",
                     "ExtraRocketDoor 4 4", "ZweenyRocket 5 5"});
    EXPECT_EQ(scene.shardRoomCells, (std::vector<Point>{{1, 1}, {2, 1}}));
    EXPECT_EQ(scene.rocketTravelTiles, std::vector<Point>{Point(3, 3)});
    EXPECT_EQ(scene.extraRocketDoors.count({4, 4}), 1u);
    EXPECT_EQ(scene.zweenyRocket, Point(5, 5));
    scene.runScript({"ClearRocketTravel"});
    EXPECT_TRUE(scene.rocketTravelTiles.empty());
}

TEST_F(SceneScript, ObjectsAndContainers) {
    Scene& scene = s();
    scene.runScript({"Object Vase LOCATION 2 3.5 SIZEX 0.5 COLORIZE 300 10 20",
                     "ObjectOnTable Cup 4 3", "HatOnTable Cap 5 3", "PlanetOnTable Moon 6 3",
                     "NPCAnimAt Cat 0.8 4 2 2"});
    const std::vector<int>& row = scene.objectRows.at(3);
    ASSERT_EQ(row.size(), 4u);
    const SceneObject& vase = scene.objects[row[0]];
    EXPECT_EQ(vase.x, 2.0f);
    EXPECT_EQ(vase.scale, 0.5f);
    EXPECT_EQ(vase.yOffset, 60);
    EXPECT_EQ(vase.colour, sf::Color(44, 10, 20));
    EXPECT_EQ(scene.objects[row[1]].yOffset, -70);
    EXPECT_EQ(scene.objects[row[1]].scale, 0.6f);
    EXPECT_TRUE(scene.objects[row[2]].hat);
    EXPECT_TRUE(scene.objects[row[3]].planet);
    EXPECT_EQ(scene.objects2.at(scene.objectRows2.at(2)[0]).name, "Cat");
    scene.runScript({"ColorizeObject 4.7 3.2 1 2 3"});
    EXPECT_EQ(scene.objects[row[1]].colour, sf::Color(1, 2, 3));
    EXPECT_EQ(scene.objects[row[0]].colour, sf::Color(44, 10, 20));
    scene.runScript({"DeleteObjectsInBox 3.5 3 5 3", "ClearNPCAnims"});
    EXPECT_EQ(scene.objectRows.at(3).size(), 2u);
    EXPECT_TRUE(scene.objects2.empty());
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"Object Vase HEIGHT 3"}); }),
              "ASSERT file Scene line 4545 : HEIGHT scene Square");

    scene.runScript({"Container Box LOCATION 2 5 ITEMS 2 Sword Key TEXTURE Wood HOWMANY 3 GET Sword SIZEX 40"});
    const Container& box = scene.containers.at(5).at(0);
    EXPECT_TRUE(box.holdsItems);
    EXPECT_EQ(box.contents, (std::vector<std::string>{"Sword", "Key"}));
    EXPECT_EQ(box.sizeX, 40);
    EXPECT_EQ(box.howMany, 3);
    EXPECT_EQ(box.texture, "Wood");
    EXPECT_TRUE(scene.isBlocked({2, 5}, false));
    scene.setContainerContents("Bone");
    EXPECT_EQ(scene.containers.at(5).at(0).contents, (std::vector<std::string>{"Bone", "Bone"}));
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"Container Box LID 1"}); }), "ASSERT file Scene line 4641 : LID");
    scene.runScript({"ClearContainers"});
    EXPECT_TRUE(scene.containers.empty());
}

TEST_F(SceneScript, ChestsDropsAndTiles) {
    Scene& scene = s();
    scene.blocked[0].erase({3, 2});
    scene.runScript({"Chest 3 2 Elixir"}); // a chest already stands there: only re-blocks
    EXPECT_EQ(scene.chestAt({3, 2})->item, "Sword");
    EXPECT_TRUE(scene.isBlocked({3, 2}, false));
    scene.runScript({"Chest 7 5 Elixir", "ChestNextEntry 8 5 Key"});
    EXPECT_EQ(scene.chestAt({7, 5})->item, "Elixir");
    EXPECT_EQ(scene.chestAt({8, 5}), nullptr);
    EXPECT_EQ(scene.pendingChests.size(), 1u);

    scene.runScript({"Drop Sword 2 2", "Drop Sword 2 2", "DropOnTable Elixir 4 4"});
    EXPECT_EQ(scene.drops.at(2).size(), 1u);
    EXPECT_TRUE(scene.drops.at(4).at(0).onTable);
    roster.at(0).addItemCount(items.indexOf("Key"), 1);
    scene.runScript({"Drop Key 5 5"}); // a special item the party holds is not dropped again
    EXPECT_EQ(scene.drops.count(5), 0u);
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"Drop Pebble 1 1"}); }), "ASSERT file Scene line 4474 : Pebble");
    scene.runScript({"DropSite Key 6 5 1"});
    EXPECT_EQ(scene.dropSites.at(5).at(0).item, items.indexOf("Key"));
    EXPECT_TRUE(scene.dropSites.at(5).at(0).flag);
    scene.rebuildCharacterList({items.indexOf("Sword")});
    EXPECT_TRUE(scene.drops.at(2).empty());
    EXPECT_EQ(scene.drops.at(4).size(), 1u);

    scene.runScript({"SwapTile 1 1 #"});
    EXPECT_EQ(scene.grid[1][1], scene.legend.at('#'));
    EXPECT_EQ(fatalMessage([&] { scene.runScript({"SwapTile 1 1 Q"}); }), "ASSERT file Scene line 4275 : Q");
}

TEST_F(SceneScript, DropNearFindsTheClosestFreeCell) {
    Scene& scene = s();
    auto where = [&](int item) {
        for (const auto& [row, list] : scene.drops)
            for (const DroppedItem& d : list)
                if (d.item == item) return d.tile;
        return Point(-1, -1);
    };
    scene.dropItemNear(0, {1, 1});
    EXPECT_EQ(where(0), Point(1, 1));
    scene.dropItemNear(1, {1, 1}); // taken now: the nearest free cell
    EXPECT_EQ(manhattanDistance(where(1), {1, 1}), 1);
    EXPECT_FALSE(scene.isBlocked(where(1), false));
    scene.dropItemNear(2, {0, 0}); // from inside a wall
    EXPECT_EQ(manhattanDistance(where(2), {0, 0}), 3);
    EXPECT_FALSE(scene.isBlocked(where(2), false));
}

TEST_F(SceneScript, CityDamageSwitchesBothWays) {
    Scene& scene = s();
    FlyingAnimation bird;
    bird.animation.name = "Bird";
    scene.flyingAnimations.push_back(bird);
    const int intact = scene.legend.at('.');
    const int broken = scene.legend.at('x');
    scene.runScript({"RestoreCity"});
    EXPECT_FALSE(scene.damaged);
    scene.runScript({"DamageCity"});
    EXPECT_TRUE(scene.damaged);
    EXPECT_EQ(scene.grid[1][1], broken);
    EXPECT_TRUE(scene.buildings[0]->damaged);
    EXPECT_TRUE(scene.flyingAnimations.empty());
    scene.runScript({"DamageCity"});
    EXPECT_EQ(scene.setAsideFlying.size(), 1u);
    scene.runScript({"RestoreCity"});
    EXPECT_FALSE(scene.damaged);
    EXPECT_EQ(scene.grid[1][1], intact);
    EXPECT_FALSE(scene.buildings[0]->damaged);
    EXPECT_EQ(scene.flyingAnimations.size(), 1u);
}

TEST_F(SceneScript, TheParrotFliesInFromItsCornerAndStaysOnScreen) {
    Scene& scene = s();
    scene.setPet("Parrot");
    ASSERT_EQ(scene.flyingAnimations.size(), 1u);
    FlyingAnimation& parrot = scene.flyingAnimations[0];
    int inside = 0;
    for (int frame = 0; frame < 2000; ++frame) {
        parrot.update();
        // A bounce may carry it one step past an edge for a frame.
        const float step = 10;
        const bool whole = parrot.x >= -step && parrot.y >= -step && parrot.x + parrot.size.x <= WINDOW_WIDTH + step &&
                           parrot.y + parrot.size.y <= WINDOW_HEIGHT + step;
        if (frame >= 40) { EXPECT_TRUE(whole) << "frame " << frame << " at " << parrot.x << "," << parrot.y; }
        inside += whole;
        if (HasFailure()) break;
    }
    EXPECT_GT(inside, 1900);
}

TEST_F(SceneScript, IfBlocksRunInFileOrderAndOnceBlocksOnce) {
    Scene& scene = load(square("Ifs", "If Lamp FLAG\nSetStringVar Seen lamp\nEndIf\n"
                                      "IfOnce Start ALWAYS\nSetBoolVar Lamp\nAppendToVar Log once\nEndIf\n"
                                      "If Lamp FLAG\nAppendToVar Log after\nEndIf\n"
                                      "If Sword ITEM\nSetBoolVar HasSword\nEndIf\n"
                                      "If Sword NOITEM\nSetBoolVar NoSword\nEndIf\n"
                                      "If RitPliar SHARD\nSetBoolVar Shard\nEndIf\n"
                                      "If Moon NOSHARD\nSetBoolVar NoMoon\nEndIf\n"
                                      "If 1 CHAPTER\nSetBoolVar ChapterOne\nEndIf\n"
                                      "If Ifs WON\nSetBoolVar Won\nEndIf\n"
                                      "If Lamp NOFLAG\nSetBoolVar Dark\nEndIf\n"));
    scene.runIfBlocks();
    // The first block was tested before the IfOnce body set its flag; the third after.
    EXPECT_EQ(shell->getStrVar("Seen"), "");
    EXPECT_EQ(shell->getSetVar("Log"), (std::set<std::string>{"once", "after"}));
    EXPECT_TRUE(shell->isBoolVarSet("NoSword"));
    EXPECT_FALSE(shell->isBoolVarSet("HasSword"));
    EXPECT_TRUE(shell->isBoolVarSet("Shard"));
    EXPECT_TRUE(shell->isBoolVarSet("NoMoon"));
    EXPECT_TRUE(shell->isBoolVarSet("ChapterOne"));
    EXPECT_FALSE(shell->isBoolVarSet("Won"));
    EXPECT_FALSE(shell->isBoolVarSet("Dark"));
    EXPECT_TRUE(scene.conditions[1].played);
    shell->SETVARS.erase("Log");
    roster.at(0).addItemCount(items.indexOf("Sword"), 1);
    scene.battle.won = true;
    scene.runIfBlocks();
    EXPECT_EQ(shell->getStrVar("Seen"), "lamp");
    EXPECT_EQ(shell->getSetVar("Log"), std::set<std::string>{"after"}); // the IfOnce block is spent
    EXPECT_TRUE(shell->isBoolVarSet("HasSword"));
    EXPECT_TRUE(shell->isBoolVarSet("Won"));
}
