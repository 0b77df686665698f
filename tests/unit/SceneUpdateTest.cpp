// One frame at a time through a walking scene: walking, talking, chests, triggers, exits,
// pick-ups, sequences, the credits page and the moving teleporters.
#include "SceneTestWorld.hpp"

#include <cstdlib>

namespace {

class SceneFrames : public SceneWorld {
protected:
    Character& leader() { return roster.mainCharacter(); }
    // Presses an arrow for one frame, then lets the step finish.
    void step(Scene& s, Direction d) {
        frame(s, arrow(d));
        for (int i = 0; i < 8 && leader().walking; ++i) frame(s);
    }
    Scene& start(const std::string& extra, Point at = {1, 1}) {
        Scene& s = load(square("Plaza", extra));
        load(square("Elsewhere"));
        enter(s, "Elsewhere");
        shell->previousScene = 1; // as if the party came from "Elsewhere"
        leader().setTilePosition(at);
        leader().setFacing(SOUTH);
        return s;
    }
};

} // namespace

TEST_F(SceneFrames, TheLeaderWalksTwentyPixelsAFrame) {
    Scene& s = start("");
    frame(s, arrow(EAST));
    EXPECT_TRUE(leader().walking);
    EXPECT_EQ(leader().pixel, Point(140, 120));
    for (int i = 0; i < 4; ++i) frame(s);
    EXPECT_EQ(leader().tile, Point(1, 1));
    frame(s);
    EXPECT_EQ(leader().tile, Point(2, 1)); // six frames a tile
    EXPECT_FALSE(leader().walking);
    EXPECT_EQ(leader().facing, EAST);
    // Walls, the chest and people refuse the step; the leader only turns.
    step(s, NORTH);
    EXPECT_EQ(leader().tile, Point(2, 1));
    EXPECT_EQ(leader().facing, NORTH);
    s.addPerson(index("Bo"));
    who("Bo").setTilePosition({2, 2});
    step(s, SOUTH);
    EXPECT_EQ(leader().tile, Point(2, 1));
    s.runScript({"EnergyField 3 1 3 1"});
    step(s, EAST);
    EXPECT_EQ(leader().tile, Point(2, 1));
}

TEST_F(SceneFrames, ConfirmTalksToTheBestPlacedPerson) {
    Scene& s = start("NPC Bo 3 1 STAND\nNPC Cy 1 3 STAND\nNPC Dee 2 2 STAND\n"
                     "Monolog Bo 1\nI am Bo.\nMonolog Cy 1\nI am Cy.\nMonolog Dee 1\nI am Dee.\n");
    // Bo two tiles east (4 x 2 = 8), Cy two tiles south and faced (2): Cy; Dee is diagonal.
    frame(s, confirm());
    EXPECT_EQ(s.monolog.lines, std::vector<std::string>{"I am Cy."});
    EXPECT_EQ(who("Cy").facing, NORTH);
    // While the box is active the walk waits.
    frame(s, arrow(EAST));
    EXPECT_EQ(leader().pixel, Point(120, 120));
    s.monolog = Monolog();
    leader().setFacing(EAST);
    frame(s, confirm());
    EXPECT_EQ(s.monolog.lines, std::vector<std::string>{"I am Bo."});
    // With nobody near nothing happens.
    s.monolog = Monolog();
    leader().setTilePosition({7, 5});
    frame(s, confirm());
    EXPECT_FALSE(s.textBoxActive());
}

TEST_F(SceneFrames, DialogsJoinersAndTheirSequences) {
    Scene& s = start("NPC Bo 1 2 STAND\nDialog Bo 1 SEQUENCE After\nBo 1\nHello.\n"
                     "Sequence After\nSetBoolVar AfterDialog\nEndSequence\n"
                     "NPC Eve 2 1 STAND\nAddToJoinList Eve\n");
    frame(s, confirm());
    ASSERT_TRUE(s.dialog.isActive());
    for (int i = 0; i < 20 && s.dialog.isActive(); ++i) frame(s, i % 2 ? confirm() : InputFlags{});
    EXPECT_FALSE(s.dialog.isActive());
    EXPECT_EQ(s.sequence.name, "After");
    frame(s);
    EXPECT_TRUE(shell->isBoolVarSet("AfterDialog"));
    // A person on the join list joins the party when talked to.
    leader().setFacing(EAST);
    frame(s, confirm());
    EXPECT_EQ(roster.party.count(index("Eve")), 1u);
    EXPECT_TRUE(s.joinList.empty());
    EXPECT_EQ(s.persons, std::vector<int>{index("Bo")});
    EXPECT_TRUE(shell->isBoolVarSet("JOINED_Eve"));
    EXPECT_EQ(s.message.lines, std::vector<std::string>{"Eve joined the Quorvane!"});
    EXPECT_EQ(s.message.sound, "JoinFanfare");
    EXPECT_EQ(s.message.color, sf::Color::Red);
    s.obtainShard("Moon");
    EXPECT_EQ(s.message.sound, "ShardFanfare");
}

TEST_F(SceneFrames, ChestsOpenOnceAndGiveTheirItem) {
    Scene& s = start("", {3, 1});
    frame(s, confirm()); // facing SOUTH onto the chest at (3, 2)
    EXPECT_EQ(s.chestAt({3, 2})->item, "");
    EXPECT_EQ(leader().inventory.at(items.indexOf("Sword")), 1);
    EXPECT_EQ(s.message.lines, std::vector<std::string>{"You found Sword!"});
    for (int i = 0; i < 30 && s.message.isActive(); ++i) frame(s, i % 2 ? confirm() : InputFlags{});
    frame(s, confirm());
    EXPECT_EQ(leader().inventory.at(items.indexOf("Sword")), 1);
    EXPECT_EQ(s.message.lines, std::vector<std::string>{"The chest is empty."});
}

TEST_F(SceneFrames, TriggersFireOncePerVisit) {
    Scene& s = start("Trigger 2 1\nAppendToVar Steps one\nSetStringVar Count x\nEndTrigger\n");
    step(s, EAST);
    EXPECT_EQ(shell->getStrVar("Count"), "x");
    shell->clearStrVar("Count");
    step(s, EAST);
    step(s, WEST);
    frame(s);
    EXPECT_EQ(shell->getStrVar("Count"), ""); // not again in this visit
    enter(s, "Elsewhere");
    leader().setTilePosition({1, 1});
    step(s, EAST);
    EXPECT_EQ(shell->getStrVar("Count"), "x"); // re-armed by the entry
}

TEST_F(SceneFrames, ExitsDoorsBordersAndTeleports) {
    Scene& s = start("ChangeSceneWithPosition 2 1 Elsewhere\nChangeSceneAtBorder WEST Elsewhere\n"
                     "TeleportLocation 5 5 Elsewhere 4 3\nChangeSceneWithKeyAndPosition 1 5 Elsewhere\n");
    step(s, EAST);
    EXPECT_TRUE(shell->switchPending);
    EXPECT_EQ(shell->pendingScene, "Elsewhere");
    shell->switchPending = false;
    shell->pendingScene.clear();
    // Off the west edge through a gap in the wall.
    s.grid[0][3] = s.legend.at('.');
    s.blocked[0].erase({0, 3});
    leader().setTilePosition({0, 3});
    frame(s, arrow(WEST));
    EXPECT_EQ(shell->pendingScene, "Elsewhere");
    shell->pendingScene.clear();
    // A teleport names the arrival tile of the other scene.
    leader().setTilePosition({5, 4});
    step(s, SOUTH);
    EXPECT_EQ(shell->pendingScene, "Elsewhere");
    EXPECT_EQ(shell->sceneByName("Elsewhere").arrivalTile, Point(4, 3));
    shell->pendingScene.clear();
    // A keyed exit waits for confirm on its tile.
    leader().setTilePosition({2, 4});
    step(s, SOUTH);
    step(s, WEST);
    EXPECT_EQ(shell->pendingScene, "");
    frame(s, confirm());
    EXPECT_EQ(shell->pendingScene, "Elsewhere");
    Scene& other = shell->sceneByName("Elsewhere");
    enter(other, "Plaza");
    EXPECT_EQ(leader().tile, Point(4, 3));
    EXPECT_EQ(other.arrivalTile, Point(-1, -1));
}

TEST_F(SceneFrames, FirstPickUpRunsTheIfBlocks) {
    Scene& s = start("Drop Elixir 2 1\nDrop Elixir 4 1\nIf Elixir ITEM\nAppendToVar Runs r\nEndIf\n"
                     "DropSite Key 6 1 0\n");
    shell->SETVARS.clear();
    step(s, EAST);
    EXPECT_EQ(leader().inventory.at(items.indexOf("Elixir")), 1);
    EXPECT_EQ(shell->getSetVar("Runs"), std::set<std::string>{"r"});
    for (int i = 0; i < 30 && s.message.isActive(); ++i) frame(s, i % 2 ? confirm() : InputFlags{});
    shell->SETVARS.clear();
    step(s, EAST);
    step(s, EAST);
    EXPECT_EQ(leader().inventory.at(items.indexOf("Elixir")), 2);
    EXPECT_TRUE(shell->getSetVar("Runs").empty()); // only the first pick-up of an item
    // A drop site takes the item a member holds.
    for (int i = 0; i < 30 && s.message.isActive(); ++i) frame(s, i % 2 ? confirm() : InputFlags{});
    leader().addItemCount(items.indexOf("Key"), 1);
    leader().setTilePosition({5, 1});
    leader().setFacing(EAST);
    frame(s, confirm());
    EXPECT_EQ(leader().inventory[items.indexOf("Key")], 0);
    EXPECT_TRUE(shell->isBoolVarSet("DROPPED_Key"));
    EXPECT_EQ(s.drops.at(1).back().item, items.indexOf("Key"));
}

TEST_F(SceneFrames, SequencesRunALineAFrameAndWaitForMovers) {
    Scene& s = start("NPC Bo 2 3 STAND\nSequence Walk\nMove Bo 5 3 WAIT 2 DIRLOOK NORTH\n"
                     "SetBoolVar Arrived\nWait 1\nSetBoolVar Done\nEndSequence\n");
    s.startSequence("Walk");
    int frames = 0;
    while (!shell->isBoolVarSet("Arrived") && frames < 100) {
        frame(s, arrow(EAST)); // the leader does not walk during a sequence
        ++frames;
    }
    EXPECT_EQ(who("Bo").tile, Point(5, 3));
    EXPECT_EQ(who("Bo").facing, NORTH);
    EXPECT_EQ(leader().tile, Point(1, 1));
    // Three tiles of six frames, the wait of 2 and the line itself.
    EXPECT_EQ(frames, 3 * 6 + 2 + 1);
    frame(s);
    EXPECT_FALSE(shell->isBoolVarSet("Done"));
    frame(s);
    frame(s);
    EXPECT_TRUE(shell->isBoolVarSet("Done"));
    frame(s);
    EXPECT_EQ(s.sequence.name, "");
}

TEST_F(SceneFrames, ZoomAndTalkAndAnyKey) {
    Scene& s = start("ZoomAndTalk WHO Bo TEXT Over here!\nChangeSceneAnyKey Elsewhere\n");
    frame(s);
    EXPECT_EQ(s.message.lines, std::vector<std::string>{"Over here!"});
    EXPECT_EQ(s.message.speaker, "Bo");
    EXPECT_TRUE(s.zoomAndTalk.empty());
    s.message = LongText();
    frame(s);
    EXPECT_EQ(shell->pendingScene, "");
    frame(s, arrow(NORTH));
    EXPECT_EQ(shell->pendingScene, "Elsewhere");
}

TEST_F(SceneFrames, CreditsPageScrollsAndCycles) {
    SceneCredits c;
    c.lines = {"#SQV of #SQV shards, #SMS stolen", "plain"};
    c.active = true;
    c.scrollY = 1000;
    shell->SHARDS = {{"A", 1}, {"B", 1}, {"C", 2}};
    c.update();
    EXPECT_EQ(c.lines[0], "2 of #SQV shards, 1 stolen");
    EXPECT_EQ(c.scrollY, 999);
    shell->input.back = true;
    c.update();
    EXPECT_EQ(c.scrollY, 979);
    EXPECT_EQ(c.frame, 21);
    shell->input = {};
    c.color[0] = 255;
    c.channel = 0;
    c.rising = true;
    c.update();
    EXPECT_EQ(c.color[0], 255);
    EXPECT_EQ(c.channel, 1);
    EXPECT_FALSE(c.rising);
    c.update();
    EXPECT_EQ(c.color[1], 254);
    c.active = false;
    c.update();
    EXPECT_TRUE(c.lines.empty());
}

TEST_F(SceneFrames, MovingTeleportersWanderInsideTheFreeCells) {
    MovingTeleporter t;
    t.setTile({0, 0});
    std::srand(7);
    const std::set<Point> blocked{{1, 0}};
    int starts = 0;
    for (int i = 0; i < 4000; ++i) {
        bool wasMoving = t.moving;
        t.step({3, 3}, blocked, {});
        if (!wasMoving && t.moving) ++starts;
        EXPECT_TRUE(t.tile.x >= 0 && t.tile.y >= 0 && t.tile.x < 3 && t.tile.y < 3);
        EXPECT_EQ(blocked.count(t.target), 0u);
    }
    EXPECT_GT(starts, 20);
    EXPECT_LT(starts, 100);
    // A walk of one tile takes six frames.
    MovingTeleporter w;
    w.setTile({1, 1});
    w.target = {2, 1};
    w.moving = true;
    w.pixel = {140, 120};
    int frames = 1;
    while (w.moving) {
        w.step({3, 3}, {}, {});
        ++frames;
    }
    EXPECT_EQ(frames, 6);
    EXPECT_EQ(w.tile, Point(2, 1));
    EXPECT_EQ(w.previous, Point(1, 1));
    // Touching one takes the party to the scene it names.
    Scene& s = start("MovingTeleporter Elsewhere 2 1\nBlockBox 1 1 1 1\nBlockBox 3 1 3 1\nBlockBox 2 2 2 2\n");
    s.movingTeleporters[0].setTile({2, 1}); // with every neighbour blocked it stays
    leader().setTilePosition({2, 1});
    frame(s);
    EXPECT_EQ(shell->pendingScene, "Elsewhere");
}

TEST_F(SceneFrames, TunnelsCarryTheLeaderToTheOtherMouth) {
    Scene& s = start("Tunnel 2 1 7 4\n");
    step(s, EAST);
    EXPECT_EQ(leader().tile, Point(7, 4));
    EXPECT_EQ(leader().targetTile, Point(7, 5)); // out one step south
    for (int i = 0; i < 8 && leader().walking; ++i) frame(s);
    EXPECT_EQ(leader().tile, Point(7, 5));
    // South of a mouth is a wall: the leader stays on the far mouth and is not sent back.
    Scene& t = start("Tunnel 2 1 7 5\n");
    step(t, EAST);
    EXPECT_EQ(leader().tile, Point(7, 5));
    EXPECT_FALSE(leader().walking);
    frame(t);
    EXPECT_EQ(leader().tile, Point(7, 5));
}

TEST_F(SceneFrames, ShardsAreTakenWithConfirm) {
    Scene& s = start("Shard Moon 1 2\n");
    EXPECT_TRUE(s.isBlocked({1, 2}, false));
    frame(s, confirm()); // facing south onto the shard
    EXPECT_EQ(shell->shardState("Moon"), 1);
    EXPECT_EQ(shell->LASTSHARD, "Moon");
    EXPECT_TRUE(s.shardAnimations.at({1, 2}).at(0).taken);
    EXPECT_EQ(s.message.lines, std::vector<std::string>{"You found the Moon shard!"});
    EXPECT_EQ(s.message.sound, "ShardFanfare");
}

TEST_F(SceneFrames, LayersAndBuildingsAnimateByTheFrame) {
    Scene& s = start("Background MovingShapes\nBackground2 Space\nHouse 5 1 2 2 DOOR 1 1 SCENE Elsewhere\n");
    frame(s);
    const std::vector<BackgroundItem> before = s.backgrounds[LAYER_BACKGROUND].items;
    ASSERT_FALSE(before.empty());
    frame(s);
    EXPECT_EQ(s.backgrounds[LAYER_BACKGROUND].frame, 2);
    EXPECT_EQ(s.backgrounds[LAYER_BACKGROUND2].frame, 2);
    EXPECT_EQ(s.backgrounds[LAYER_FOREGROUND].frame, 2);
    EXPECT_NE(s.backgrounds[LAYER_BACKGROUND].items[0].x, before[0].x);
    EXPECT_EQ(s.buildings[0]->frame, 2);
    // A text box takes the whole frame.
    s.message.setText("Wait.", nullptr);
    frame(s);
    EXPECT_EQ(s.buildings[0]->frame, 2);
    // A screen scene's layers move as well.
    Scene& title = load("SceneName Title\nType SCREEN\nBackground MovingShapes\n");
    frame(title);
    EXPECT_EQ(title.backgrounds[LAYER_BACKGROUND].frame, 1);
}
