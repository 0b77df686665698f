// Reading scene files: the grid and its legend, every statement of the loader, the block readers
// of monologs, dialogs, credits and sequence entries, and the lines that must stop loading.
#include "SceneTestWorld.hpp"

#include "game/TileKind.hpp"

#include <sstream>

namespace {

std::string harbourPath() { return sourceDir() + "/tests/data/scenes/Harbour_scene.txt"; }

class SceneLoad : public SceneWorld {};

} // namespace

TEST_F(SceneLoad, GridLegendAndBlockedLayers) {
    Scene& s = load(square("Square"));
    EXPECT_EQ(s.name, "Square");
    EXPECT_EQ(s.type, SCENE_WALK);
    EXPECT_EQ(s.mapWidth(), 10);
    EXPECT_EQ(s.mapHeight(), 7);
    EXPECT_TRUE(s.isInside({9, 6}));
    EXPECT_FALSE(s.isInside({10, 6}));
    EXPECT_FALSE(s.isInside({0, -1}));
    // BLOCK fills layer 0 only, BLOCKH both; a legend chest blocks its tile for walkers.
    EXPECT_TRUE(s.isBlocked({0, 0}, false));
    EXPECT_FALSE(s.isBlocked({0, 0}, true));
    EXPECT_TRUE(s.isBlocked({5, 4}, false));
    EXPECT_TRUE(s.isBlocked({5, 4}, true));
    ASSERT_NE(s.chestAt({3, 2}), nullptr);
    EXPECT_EQ(s.chestAt({3, 2})->item, "Sword");
    EXPECT_TRUE(s.isBlocked({3, 2}, false));
    EXPECT_FALSE(s.isBlocked({4, 2}, false));
    // The same legend block in a second scene names the same tile kind.
    Scene& t = load(square("Other"));
    EXPECT_EQ(s.legend.at('#'), t.legend.at('#'));
    EXPECT_NE(s.legend.at('#'), s.legend.at('.'));
    EXPECT_TRUE(shell->tileKindAt(s.grid[0][0]).blocking);
}

TEST_F(SceneLoad, EveryLoaderStatementOfAFile) {
    Scene& s = shell->scenes.addScene();
    std::set<std::string> names = s.load(harbourPath());
    EXPECT_EQ(s.name, "Harbour");
    EXPECT_EQ(s.music, "Town");
    EXPECT_TRUE(s.alwaysIndoor);
    EXPECT_TRUE(s.firstCellBackdrop);
    EXPECT_TRUE(s.splitTeamScene);
    EXPECT_TRUE(s.saveQuorvane);
    EXPECT_TRUE(s.finalHQ);
    EXPECT_FALSE(s.playerControlHere);
    EXPECT_EQ(s.miniGame, 0);

    // Legend records placed on their cells.
    ASSERT_EQ(s.objectRows.count(1), 1u);
    EXPECT_EQ(s.objects[s.objectRows[1][0]].name, "Barrel");
    ASSERT_EQ(s.animatedObjects[1].size(), 1u);
    EXPECT_EQ(s.animatedObjects[1][0].name, "Gull");
    EXPECT_EQ(s.traps, std::vector<Point>{Point(3, 1)});
    EXPECT_EQ(s.light.lights, std::vector<Point>{Point(5, 1)});
    EXPECT_EQ(s.torches.count({5, 1}), 1u);
    EXPECT_EQ(s.chestAt({7, 1})->item, "Sword");
    EXPECT_EQ(s.chestAt({9, 1})->item, "Elixir");
    EXPECT_TRUE(s.isBlocked({9, 1}, true)); // SCHEST blocks flyers too
    EXPECT_FALSE(s.isBlocked({7, 1}, true));
    EXPECT_EQ(s.shardMapTiles.count({1, 2}), 1u);
    EXPECT_EQ(s.telescopeTiles.count({3, 2}), 1u);
    EXPECT_EQ(s.battlePositions, std::vector<Point>{Point(5, 2)});
    EXPECT_EQ(s.battleDestinations, std::vector<Point>{Point(7, 2)});
    EXPECT_EQ(s.blockedHLocations, (std::set<Point>{{1, 3}, {2, 3}}));
    EXPECT_TRUE(s.isBlocked({5, 3}, false)); // DOOR blocks
    EXPECT_EQ(s.zoomTiles.at({7, 3}), "Painting");
    for (const char* n : {"Barrel", "Crate", "Anchor", "Door", "CatRocket", "Rocket", "SokobanBlock", "Lantern"})
        EXPECT_EQ(names.count(n), 1u) << n;

    // Layers, light and weather.
    EXPECT_EQ(s.backgrounds[LAYER_BACKGROUND].kind, BG_ANIM_TILE);
    EXPECT_EQ(s.backgrounds[LAYER_BACKGROUND2].kind, BG_SPACE);
    EXPECT_EQ(s.backgroundAnimationNames(), std::set<std::string>{"Waves"});
    EXPECT_TRUE(s.light.dark);
    EXPECT_EQ(s.light.level, 200);
    EXPECT_EQ(s.light.reach, 3);
    EXPECT_EQ(s.light.colour, sf::Color(10, 20, 30));
    EXPECT_FALSE(s.light.distances.empty()); // spread once the file is read
    EXPECT_TRUE(s.light.disco);
    EXPECT_TRUE(s.light.heat);
    EXPECT_EQ(s.snow.size(), 12u);
    EXPECT_EQ(s.titleText, "Welcome to the harbour");
    EXPECT_EQ(s.titlePicture, "Moon");
    ASSERT_EQ(s.texts.size(), 1u);
    EXPECT_EQ(s.texts[0].text, "Harbour of Nowhere");

    // People.
    EXPECT_EQ(s.persons, (std::vector<int>{index("Bo"), index("Cy")}));
    EXPECT_EQ(s.placements.at(index("Bo")), Point(3, 4));
    EXPECT_EQ(s.standSet, std::set<int>{index("Bo")});
    EXPECT_EQ(s.placements.at(MAIN_CHARACTER_KEY), Point(2, 5));
    EXPECT_TRUE(s.isInside(s.placements.at(index("Cy"))));
    EXPECT_EQ(s.quorvaneTiles, (std::vector<Point>{{4, 5}, {5, 5}}));
    EXPECT_EQ(s.spareQuorvaneTiles, std::vector<Point>{Point(6, 5)});
    EXPECT_EQ(s.mainPlayer, "Ana");
    EXPECT_EQ(s.lovePairs.at("Bo"), "Cy");
    EXPECT_EQ(s.entryMonologPerson, "Bo");
    EXPECT_EQ(s.monologs.at(index("Bo")).lines, (std::vector<std::string>{"Ahoy.", "Keep clear of the water."}));

    // Exits and places.
    EXPECT_EQ(s.borderExits.at(SOUTH), "Town");
    EXPECT_EQ(s.varExits.at({10, 6}), "HarbourExit");
    EXPECT_EQ(s.comeBackLocations, std::vector<Point>{Point(9, 6)});
    EXPECT_EQ(s.blockedLocations, (std::set<Point>{{8, 5}, {8, 6}}));
    EXPECT_TRUE(s.isBlocked({8, 6}, false));
    EXPECT_EQ(s.battle.extraWalkerCells.count({1, 6}), 1u);
    EXPECT_EQ(s.positionMessages.at({6, 6}), "The water smells of salt.");
    EXPECT_EQ(s.frontObjects[4].at(0).name, "Arch");
    EXPECT_TRUE(s.wishingWell.exists());
    EXPECT_EQ(s.tunnels.size(), 1u);
    EXPECT_EQ(s.flyingAnimations.at(0).animation.name, "Parrot");
    EXPECT_EQ(s.planets.at(0).name, "Moon");
    EXPECT_EQ(s.comets.at(0).rowOffset, 1);
    EXPECT_EQ(s.ambientSounds, std::vector<std::string>{"Train"});
    EXPECT_EQ(s.shardAnimations.at({10, 3}).at(0).name, "Sun");
    EXPECT_EQ(s.sleepLocations.count({1, 5}), 1u);
    ASSERT_EQ(s.buildings.size(), 1u);
    EXPECT_EQ(s.buildings[0]->scene, "Shack");
    EXPECT_EQ(s.buildings[0]->door, Point(6, 4));
    EXPECT_TRUE(s.isBlocked({7, 4}, false));
    EXPECT_FALSE(s.isBlocked({6, 4}, false));
    EXPECT_EQ(s.damagedMusic, "Battle");
    EXPECT_EQ(s.damageTable.at('.'), 'x');

    // Scripts and the battle.
    ASSERT_EQ(s.conditions.size(), 2u);
    EXPECT_EQ(s.conditions[0].key(), "FLAG Seen");
    EXPECT_FALSE(s.conditions[0].once);
    EXPECT_EQ(s.conditions[1].key(), "ALWAYS Arrived");
    EXPECT_TRUE(s.conditions[1].once);
    EXPECT_EQ(s.conditions[1].body, std::vector<std::string>{"SetBoolVar ArrivedOnce"});
    EXPECT_EQ(s.triggers.at({4, 4}), std::vector<std::string>{"SetStringVar Tide high"});
    EXPECT_EQ(s.sequences.at("Wave"), (std::vector<std::string>{"Wait 2", "Move Bo 4 4 WAIT 1 DIRLOOK WEST"}));
    EXPECT_TRUE(s.battle.inBattle);
    EXPECT_TRUE(s.battle.practice);
    EXPECT_EQ(s.battleDefinition.enemies, std::vector<long long>{index("Eve")});
    EXPECT_EQ(s.battleDefinition.sceneName, "Harbour");
    ASSERT_EQ(s.movingTeleporters.size(), 2u);
    EXPECT_EQ(s.movingTeleporters[0].place, Point(2, 6));
    EXPECT_EQ(s.movingTeleporters[1].place, Point(-1, -1));

    // Script commands work in files too.
    EXPECT_EQ(s.chestAt({10, 5})->item, "Key");
    EXPECT_EQ(s.exits.at({1, 6}), "Town");
    EXPECT_EQ(s.teleports.at({10, 1}).scene, "Town");
    EXPECT_EQ(s.teleports.at({10, 1}).tile, Point(3, 3));
    ASSERT_EQ(s.objectRows[5].size(), 1u);
    EXPECT_EQ(s.objects[s.objectRows[5][0]].yOffset, 30);
}

TEST_F(SceneLoad, MiniGameWordsSetTheKind) {
    Scene& arcade = shell->scenes.addScene();
    arcade.load(sourceDir() + "/tests/data/scenes/Arcade_scene.txt");
    EXPECT_EQ(arcade.miniGame, 6);
    const char* words[] = {"GuessNumberGame", "SalomaoGame", "SaveTheFutureGame", "CobrinhaGame", "GuessFlagGame", "TacoGame"};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(load(std::string("SceneName G\n") + words[k] + "\n").miniGame, k + 1);
}

TEST_F(SceneLoad, CommentsBlankLinesAndGroundTexture) {
    Scene& s = load("# a comment line\n\nSceneName Field\n   \n#Type SPACE\nTile g TEXTURE Grass END\n"
                    "Tile r TEXTURE Rock END\nTile s TEXTURE Sky END\nCornerReference\nMap\n"
                    "sssss\nsssss\nggggg\ngggrg\nggggg\nEndMap\nMixedGroundTexture Dirt\n");
    EXPECT_EQ(s.type, SCENE_SCREEN);
    EXPECT_EQ(s.mixedGroundTexture, "Dirt");
    // Centre (2, 2) is grass; a backdrop equal to it would send the lookup to (3, 3).
    EXPECT_EQ(s.groundTileKind(), "Grass");
    Scene& t = load("SceneName Sky\nTile s TEXTURE Sky END\nTile r TEXTURE Rock END\nCornerReference\nMap\n"
                    "sssss\nsssss\nsssss\nsssrs\nsssss\nEndMap\n");
    EXPECT_EQ(t.groundTileKind(), "Rock");
}

TEST_F(SceneLoad, BadLinesStopLoadingWithTheWord) {
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nFlyAway 3\n"); }), "FlyAway");
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nType DIAGONAL\n"); }), "DIAGONAL");
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nTile . END\nMap\n..\n.z\nEndMap\n"); }), "z");
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nTile . WOBBLY END\n"); }), "WOBBLY");
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nIf Key FLAG\nSetBoolVar A\n"); }), "EndIf");
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nIf Key MAYBE\nEndIf\n"); }), "MAYBE");
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nIf two CHAPTER\nEndIf\n"); }), "two");
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nTrigger 1 1\n"); }), "EndTrigger");
    EXPECT_EQ(fatalDetail([&] { load("SceneName X\nChangeSceneAtBorder UP Town\n"); }), "UP");
    EXPECT_NE(fatalDetail([&] { load("SceneName X\nTile . END\nMap\n...\n..\nEndMap\n"); }), "");
}

TEST_F(SceneLoad, SetAdviceIsIgnoredWithoutPausing) {
    int pauses = 0;
    auto old = setPauseWait([&] { ++pauses; });
    Scene& s = load(square("Advice", "SetAdvice Talk to the mayor first.\nMusic Town\n"));
    setPauseWait(old);
    EXPECT_EQ(pauses, 0);
    EXPECT_EQ(s.music, "Town"); // loading went on
    pauses = 0;
    old = setPauseWait([&] { ++pauses; });
    s.runScript({"SetAdvice ignored here too", "SetBoolVar AfterAdvice"});
    setPauseWait(old);
    EXPECT_EQ(pauses, 0);
    EXPECT_TRUE(shell->isBoolVarSet("AfterAdvice"));
}

TEST_F(SceneLoad, NumberWordsThatAreNoNumbersStopWithTheWord) {
    EXPECT_EQ(fatalDetail([&] { load(square("N", "NPC Bo x3 4\n")); }), "x3");
    EXPECT_EQ(fatalDetail([&] { load(square("N", "NPC Bo 3 four\n")); }), "four");
    EXPECT_EQ(fatalDetail([&] { load(square("N", "MovingTeleporter Town abc 4\n")); }), "abc");
    EXPECT_EQ(fatalDetail([&] { load(square("N", "MovingTeleporter Town 99999999999 4\n")); }), "99999999999");
    // Both read x the way stoi does: the leading digits of the word.
    EXPECT_EQ(load(square("N", "MovingTeleporter Town 7th 4\n")).movingTeleporters.at(0).place, Point(7, 4));
    EXPECT_EQ(load(square("N", "NPC Cy 5a 2\n")).placements.at(index("Cy")), Point(5, 2));
    Scene& s = load(square("N"));
    EXPECT_EQ(fatalDetail([&] { s.runScript({"NPC Bo zz 4"}); }), "zz");
    EXPECT_EQ(fatalMessage([&] { s.runScript({"NPC Bo RANDOMPLACE"}); }),
              "ASSERT file Scene line 4392 : RANDOMPLACE not supported inside of ifs");
    // A script NPC reads x the way stoi does.
    s.runScript({"NPC Bo 4abc 3 STAND"});
    EXPECT_EQ(who("Bo").tile, Point(4, 3));
    EXPECT_EQ(s.standSet.count(index("Bo")), 1u);
}

TEST_F(SceneLoad, NamesNotInTheRosterStopAtTheirLine) {
    EXPECT_EQ(fatalDetail([&] { load(square("R", "SetMainPlayer Nobody\n")); }), "Nobody");
    EXPECT_EQ(fatalDetail([&] { load(square("R", "NPC Ghost 2 2\n")); }), "Ghost");
    EXPECT_EQ(fatalDetail([&] { load(square("R", "ZoomAndTalk WHO Ghost TEXT boo\n")); }), "Ghost");
    Scene& s = load(square("R", "Sequence Walk\nMove Ghost 2 2\nEndSequence\nSequence Walk2\nMoveMultiple WHO Bo 2 2 WHO Phantom 3 3\nEndSequence\n"));
    EXPECT_EQ(fatalDetail([&] { s.runScript({"SetDesiredBattlePos Ghost 1 1"}); }), "Ghost");
    EXPECT_EQ(fatalDetail([&] { s.runScript({"SetStartingBattlePos Spook 1 1"}); }), "Spook");
    s.startSequence("Walk");
    EXPECT_EQ(fatalDetail([&] { s.runSequenceStep(); }), "Ghost");
    s.startSequence("Walk2");
    EXPECT_EQ(fatalDetail([&] { s.runSequenceStep(); }), "Phantom");
    s.runScript({"SetDesiredBattlePos Bo 3 4", "SetStartingBattlePos Cy 5 1"});
    EXPECT_EQ(s.battle.posts.at(index("Bo")), Point(3, 4));
    EXPECT_EQ(s.battleDefinition.presetTiles.at(index("Cy")), Point(5, 1));
}

TEST_F(SceneLoad, MonologAndDialogBlocks) {
    Scene& s = load(square("Talk",
                           "Monolog Bo 2 TALKING Cy IMPORTANT SEQUENCE After TEXT Hello there, friend.\n"
                           "line one\nline two\n"
                           "Dialog Bo 3 ACHIEVEMENT Big ACHIEVE TalkCy SEQUENCE Chat\n"
                           "Cy 1\nfirst\n<MAIN> 1 FOO\nsecond\nDee 0 TEXT third\n"
                           "Monolog Dee 1\n"));
    const Monolog& m = s.monologs.at(index("Cy"));
    EXPECT_EQ(m.speakerName, "Cy");
    EXPECT_TRUE(m.important);
    EXPECT_EQ(m.sequence, "After");
    EXPECT_EQ(m.lines, (std::vector<std::string>{"Hello there, friend.", "line one", "line two"}));
    const MonologSequence& d = s.dialogs.at(index("Bo"));
    EXPECT_EQ(d.achievement, "TalkCy"); // "ACHIEVEMENT" is skipped like any unknown option
    EXPECT_EQ(d.sequence, "Chat");
    ASSERT_EQ(d.monologs.size(), 3u);
    EXPECT_EQ(d.monologs[1].position.y - d.monologs[0].position.y, 315);
    EXPECT_EQ(d.monologs[2].position.y - d.monologs[0].position.y, 630);
    EXPECT_EQ(d.monologs[1].color, sf::Color::Red);
    EXPECT_EQ(d.monologs[2].lines, std::vector<std::string>{"third"});
    // A block cut short by the end of the file keeps what it has.
    EXPECT_TRUE(s.monologs.at(index("Dee")).lines.empty());
    // "Dialog" takes the person's monolog away.
    EXPECT_EQ(s.monologs.count(index("Cy")), 1u);
    s.runScript({"Dialog Cy 1", "Cy 1", "again"});
    EXPECT_EQ(s.monologs.count(index("Cy")), 0u);
    EXPECT_EQ(s.dialogs.at(index("Cy")).monologs.at(0).lines, std::vector<std::string>{"again"});
    EXPECT_EQ(fatalMessage([&] { s.runScript({"Monolog Zed 1", "x"}); }),
              "ASSERT file Scene line 4323 : Zed - bad character in TalkTo statement");
    EXPECT_EQ(fatalMessage([&] { s.runScript({"Dialog Zed 0"}); }),
              "ASSERT file Scene line 4002 : Zed - bad character in Dialog statement");
}

TEST_F(SceneLoad, CreditsZoomAndMoveEntries) {
    Scene& s = load(square("Roll", "Credits 2 PICTURE 3 Star SPEED 9\nA\nB\nC\nSetBoolVar After\n"
                                   "ZoomAndTalk WHO Bo WHO <MAIN> TEXT Look at this!\nZoomAndTalk WHO Cy\n"));
    EXPECT_EQ(s.credits.lines, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(s.credits.pictures.at(0), (std::pair<std::string, int>{"Star", 3}));
    EXPECT_TRUE(s.credits.active);
    EXPECT_TRUE(shell->isBoolVarSet("After")); // the statement after the block still ran
    ASSERT_EQ(s.zoomAndTalk.size(), 2u);
    EXPECT_EQ(s.zoomAndTalk[0].person, 0);
    EXPECT_EQ(s.zoomAndTalk[0].text, "Look at this!");
    EXPECT_EQ(s.zoomAndTalk[1].text, "");
    EXPECT_EQ(fatalMessage([&] { s.runScript({"ZoomAndTalk WHO Bo SAY hi"}); }), "ASSERT file Scene line 5872 : SAY");

    MoveEntry multi;
    std::istringstream head("WHO <MAIN> 3 4 WHO Bo 5 4 WAIT 10");
    multi.readMultiple(head);
    EXPECT_EQ(multi.moves, (std::map<int, Point>{{0, {3, 4}}, {index("Bo"), {5, 4}}}));
    EXPECT_EQ(multi.wait, 10);
    EXPECT_EQ(multi.look, NO_DIRECTION);
    MoveEntry one;
    std::istringstream oneHead("Cy 2 3 DIRLOOK EAST WAIT 4");
    one.read(oneHead);
    EXPECT_EQ(one.moves.at(index("Cy")), Point(2, 3));
    EXPECT_EQ(one.look, EAST);
    EXPECT_EQ(one.wait, 4);
    MoveEntry bad;
    std::istringstream badHead("Cy 2 3 RUN");
    EXPECT_EQ(fatalMessage([&] { bad.read(badHead); }), "ASSERT file Scene line 5911 : RUN");
    std::istringstream badMulti("WHO Cy 2 3 JUMP");
    EXPECT_EQ(fatalMessage([&] { bad.readMultiple(badMulti); }), "ASSERT file Scene line 5950 : JUMP");
    EXPECT_EQ(parseDirection("WEST"), WEST);
    EXPECT_EQ(parseDirection("SOUTH"), SOUTH);
    EXPECT_EQ(parseDirection("south"), NORTH);
}

TEST_F(SceneLoad, ViewAndBlockedCellServices) {
    // A 20 x 12 field: the view centres on a pixel and stays on the map.
    std::string rows;
    for (int y = 0; y < 12; ++y) rows += std::string(20, y == 0 ? '#' : '.') + "\n";
    Scene& s = load("SceneName Wide\nTile . END\nTile # BLOCK END\nMap\n" + rows + "EndMap\n");
    EXPECT_EQ(s.findFreeTile({1200, 600}), Point(240, 120));
    EXPECT_EQ(s.findFreeTile({0, 0}), Point(0, 0));
    EXPECT_EQ(s.findFreeTile({5000, 5000}), Point(479, 359));
    s.placeAtFreeTile({1200, 600});
    EXPECT_EQ(s.view, Point(240, 120));
    EXPECT_EQ(s.viewOffset({1500, 1000}), Point(479, 359));
    displayTileSize = 60; // zoomed out: 32 x 18 tiles fit, more than the map
    EXPECT_EQ(s.viewOffset({600, 300}), Point(-721, -361));

    // Walls touching a blocked cell join it; indoors they block flyers as well.
    s.blocked[0] = {{3, 1}};
    s.indoor = true;
    s.scanBlockedNeighbours();
    EXPECT_EQ(s.blocked[0], (std::set<Point>{{3, 0}, {3, 1}}));
    EXPECT_EQ(s.blocked[1], (std::set<Point>{{3, 0}, {3, 1}}));
    s.blockedLocations = {{9, 9}};
    s.blocked[0] = {{5, 5}};
    s.syncBlockedCells({{5, 5}, {6, 0}, {7, 7}});
    EXPECT_EQ(s.blocked[0], (std::set<Point>{{5, 5}, {6, 0}, {9, 9}}));
    s.unblockCell({5, 5});
    EXPECT_FALSE(s.isBlocked({5, 5}, false));
}

TEST_F(SceneLoad, GenerateMazeWallsTheMaze) {
    std::string rows;
    for (int y = 0; y < 9; ++y) rows += std::string(9, '.') + "\n";
    Scene& maze = load("SceneName Maze\nTile . END\nMap\n" + rows + "EndMap\nGenerateMaze 1 1 7 7 Hedge H S 0\n");
    EXPECT_FALSE(maze.objects.empty());
    EXPECT_EQ(maze.objects[0].name, "Hedge");
    EXPECT_TRUE(maze.isBlocked({2, 2}, false)); // a corner post
    EXPECT_TRUE(maze.isBlocked({2, 2}, true));
    EXPECT_EQ(fatalMessage([&] { load("SceneName M\nTile . END\nMap\n" + rows + "EndMap\nGenerateMaze 0 1 7 7 Hedge H S 0\n"); }),
              "ASSERT file Scene line 778 : Maze must be 1 unit offset from border");
}
