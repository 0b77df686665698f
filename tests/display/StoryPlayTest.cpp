// The demo played as a whole game, from the name screen through every chapter to the credits,
// in one process as the frame loop plays it, drawing one frame in eight (counted from the
// latest fight's seed) to keep the whole story within a few minutes. The party is
// walked by the map's shortest ways a key at a time and fights as a careful player does; every
// save and every fight on the way is compared with tests/data/story-play/.
#include "support/RoutePlay.hpp"

namespace {

class StoryPlay : public route::RoutePlay {
protected:
    StoryPlay() { drawEvery_ = 8; }

    // Walks onto the rocket pad at the tile and flies to the planet, reading the landing's words.
    void fly(Point pad, const std::string& planet, const std::string& landing) {
        walkTo(pad);
        choose(planet);
        readAll(); // what was found on the pad holds the launch until it is read
        expectScene(landing);
        readAll();
    }
    // Goes the nearest way into the scene and reads what it says on arrival.
    void enter(const std::string& scene) {
        goTo(scene);
        readAll();
    }
    // A chapter's end screen, and on any key the scene the story goes on from.
    void endChapter(int chapter) {
        expectScene("Chapter" + std::to_string(chapter) + "End");
        keys({S});
        expectScene(chapter <= 6 ? "Solaris" : "SolarSystem");
        readAll();
    }
    // From the solar system home to Solaris: the Fire gate to Earth's beach, then the pad.
    void homeToSolaris() {
        steerTo({1, 7});
        expectScene("Bombinhas");
        readAll();
        fly({2, 3}, "Ceres", "Solaris");
    }

    // The nebula's depths are laid out from a seed that the game keeps in its variables and
    // saves; a new game takes it from the clock, and the planet's making leaves the game's random
    // numbers to the clock too. The play gives the seed, and seeds the numbers again on the
    // frame of the landing, so that the story plays the same every time.
    void landOnMandelbrot() {
        shell->setStrVar("MANDEL_RANDOM_SEED", "1208");
        choose("Mandelbrot");
        readAll();
        for (int i = 0; i < 3000 && shell->current().name != "MandelbrotStartingPoint"; ++i) frame();
        std::srand(RECORDED_SEED);
        expectScene("MandelbrotStartingPoint");
    }

    // Through the nebula's maze to the room hidden at a cell and depth. A level shows one cell of
    // the shore; its stairs lead a level up or down over the same cell, and a side that no
    // light walls leads to the neighbouring cell at the same depth.
    void findHiddenRoom(const std::string& room) {
        if (HasFatalFailure()) return;
        MazeNode goal{{-1, -1}, 0};
        for (const auto& [place, name] : shell->mandelbrotPlacements)
            if (name == room) goal = {{place.x, place.y}, place.level};
        ASSERT_NE(goal.depth, 0) << room << " is hidden nowhere";
        const std::string level = "MandelbrotNebula_template_depth_";
        for (int step = 0; step < 200 && !HasFatalFailure() && shell->current().name != room; ++step) {
            const Scene& s = shell->current();
            ASSERT_EQ(s.name.rfind(level, 0), 0u) << "lost in " << s.name;
            const MazeNode at{s.mandelbrotReturn, s.name.back() - '0'};
            if (at == goal) {
                ASSERT_EQ(s.teleports.size(), 1u) << "no way into " << room;
                walkTo(s.teleports.begin()->first);
                break;
            }
            // The first step of a shortest way through the maze.
            std::map<MazeNode, MazeNode> cameFrom{{at, at}};
            std::deque<MazeNode> queue{at};
            while (!queue.empty() && !cameFrom.count(goal)) {
                const MazeNode n = queue.front();
                queue.pop_front();
                std::vector<MazeNode> next{{n.cell, n.depth - 1}, {n.cell, n.depth + 1}};
                for (Direction d : {WEST, EAST, NORTH, SOUTH}) {
                    Point c = n.cell;
                    movePoint(c, d, 1);
                    if (shell->mazeCells.count({n, {c, n.depth}})) next.push_back({c, n.depth});
                }
                for (const MazeNode& m : next)
                    if (m.depth >= 1 && m.depth <= 3 && cameFrom.emplace(m, n).second) queue.push_back(m);
            }
            ASSERT_TRUE(cameFrom.count(goal)) << "the maze does not lead to " << room;
            MazeNode first = goal;
            while (!(cameFrom[first] == at)) first = cameFrom[first];
            if (first.depth != at.depth) {
                goTo(level + std::to_string(first.depth));
                continue;
            }
            Direction side = first.cell.x < at.cell.x ? WEST : first.cell.x > at.cell.x ? EAST
                           : first.cell.y < at.cell.y ? NORTH : SOUTH;
            std::set<Point> edge;
            for (int x = 0; x < s.mapWidth(); ++x)
                for (int y = 0; y < s.mapHeight(); ++y) {
                    Point p{x, y}, beyond{x, y};
                    movePoint(beyond, side, 1);
                    if (!s.isInside(beyond) && open(s, p)) edge.insert(p);
                }
            walkToNearest(edge, "the level's side");
            keys({arrow(side)});
            readAll();
            ASSERT_EQ(shell->current().mandelbrotReturn, first.cell) << "the side did not lead on";
        }
        expectScene(room);
    }

    std::size_t savesNoted() const {
        const std::string log = log_.str();
        return static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
    }
};

TEST_F(StoryPlay, TheWholeStoryFromTheNameScreenToTheCredits) {
    keys({S, S, K::R, K::O, K::U, K::T, K::E, K::Enter, K::LControl});
    expectScene("Intro");
    keys({S});
    expectScene("Town");
    readAll();
    // Chapter 1. Allies from the guild hall in the old quarter.
    enter("Quarter");
    enter("Guildhall");
    for (const char* ally : {"Mira", "Tomas", "Kesh", "Pip", "Bruno"}) talkTo(ally);
    // The guild's chests arm them (what is found goes to whoever can use it best).
    for (Point chest : {Point{1, 1}, Point{3, 1}, Point{10, 1}, Point{12, 1}, Point{1, 6}, Point{12, 6}, Point{7, 7}})
        use(chest);
    enter("Quarter");
    enter("Town");
    // The glint by the path opens the east road to the meadow, where the cat joins.
    walkTo({14, 9});
    readAll();
    enter("Meadow");
    talkTo("Whiskers");
    fly({11, 3}, "Ceres", "Solaris");
    talkTo("Leo");
    fly({4, 3}, "Mars", "Olympus");
    use({6, 7});
    fly({2, 3}, "Ceres", "Solaris");
    walkTo({25, 15});
    endChapter(1);
#ifdef QUORVANE_SANITIZED
    // Under the sanitizers the first chapter stands for the whole story.
    compareWithRecordedStart("story-play");
    return;
#endif
    // Chapter 2. The gamer's spare chip by his console.
    walkTo({14, 10});
    endChapter(2);
    // Chapters 3 and 4: the Air and Forest shards on their platforms in the dome town.
    use({20, 4});
    endChapter(3);
    use({5, 14});
    endChapter(4);
    // Chapter 5. On Mercury a demon boasts of the march on Solaris; at home they wait by the pad.
    fly({4, 3}, "Mercury", "Mercury1");
    talkTo("Grell");
    walkTo({2, 3});
    choose("Ceres");
    readAll();
    expectScene("Solaris");
    fightWell();
    readAll();
    walkTo({25, 15});
    endChapter(5);
    // Chapter 6. The demons' captain on the castle's third floor, then the throne's dais.
    walkTo({26, 8});
    expectScene("CeresCastleF3");
    fightWell();
    readAll();
    walkTo({11, 6});
    endChapter(6);
    // Chapter 7. On Cauchemar the gravedigger's invitation, won from the restless dead, opens
    // Hell's ball, where the Water shard is; home through the Cauchemar system's gate.
    fly({4, 3}, "Cauchemar", "Alptraum");
    enter("Moorgrave");
    walkTo({10, 5});
    fightWell();
    readAll();
    talkTo("Grimble");
    walkTo({8, 3});
    readAll();
    enter("Alptraum");
    fly({2, 3}, "Open space", "CauchemarSystem");
    steerTo({9, 4});
    expectScene("Hell");
    readAll();
    walkTo({3, 3});
    fightWell();
    readAll();
    use({3, 2});
    fly({2, 10}, "Open space", "CauchemarSystem");
    steerTo({14, 7});
    endChapter(7);
    // Chapter 8. Orange's king lost his daughter's eight dolls; his jester knows the last one.
    // Once they are all home he sends the party to Pocuri, whose nebula keeps the Sun shard.
    homeToSolaris();
    fly({4, 3}, "Orange", "Orange");
    enter("OrangePalace");
    talkTo("Clementin");
    walkTo({8, 1});
    readAll();
    use({12, 5});
    enter("Orange");
    use({8, 11});
    use({21, 1});
    enter("OrangeGrove");
    use({9, 8});
    walkTo({6, 5});
    readAll();
    walkTo({15, 5});
    readAll();
    walkTo({15, 4});
    fightWell();
    readAll();
    use({19, 1});
    enter("Orange");
    talkTo("Zest");
    use({14, 8});
    enter("OrangePalace");
    talkTo("Clementin");
    enter("Orange");
    fly({2, 3}, "Pocuri", "Pocuri");
    goTo("PocuriNebula");
    readAll();
    fightWell();
    readAll();
    use({18, 3});
    enter("Pocuri");
    fly({2, 3}, "Open space", "BesixdouzeSystem");
    steerTo({2, 7});
    endChapter(8);
    // Chapter 9. The Bubble King of the Mandelbrot nebula gives his leave and lends a flyer, who
    // leads the party over the nebula's dark cores down to the Princess shard's vault.
    homeToSolaris();
    walkTo({4, 3});
    landOnMandelbrot();
    readAll();
    enter("BubblePalace");
    talkTo("KingFizz");
    enter("FlyersRoost");
    talkTo("YYZ");
    goTo("BubblePalace");
    goTo("MandelbrotStartingPoint");
    talkTo("Sabio");
    choose("Change the main character");
    choose("YYZ");
    enter("MandelbrotNebula");
    use({3, 6});
    talkTo("Anju");
    goTo("MandelbrotNebula_template_depth_1");
    findHiddenRoom("MandelbrotShardScene");
    fightWell();
    readAll();
    use({8, 3});
    enter("MandelbrotStartingPoint");
    fly({2, 5}, "Open space", "MandelSystem");
    steerTo({2, 7});
    endChapter(9);
    // Chapter 10. The artificers' council in Solaris; the three splinters laid one by one on the
    // king's desk make the Shield Nullifier, which opens the Mad Scientist's fortress on Earth.
    homeToSolaris();
    talkTo("Linguini");
    readAll();
    enter("CeresObservatory");
    use({7, 1});
    enter("Solaris");
    for (Point splinter : {Point{-1, -1}, Point{21, 4}, Point{6, 14}}) {
        if (splinter.x >= 0) use(splinter);
        goTo("CeresCastleF3");
        readAll();
        use({6, 1});
        goTo("Solaris");
        readAll();
    }
    use({26, 10});
    fly({4, 3}, "Earth", "Bombinhas");
    enter("MadFortress");
    use({2, 5});
    enter("FortressHall");
    talkTo("MadScientist");
    readAll();
    goTo("FinalBattle");
    // Nothing is saved once the final battle is won: the story's last save is the hall's.
    const std::size_t savesBefore = savesNoted();
    fightWell();
    readAll();
    goTo("Epilogue");
    keys({S});
    expectScene("CreditsStart");
    for (int i = 0; i < 600; ++i) frame(i % 100 == 99 ? std::vector<int>{S} : std::vector<int>{});
    if (HasFatalFailure()) return; // a step that failed has said why; what follows would only echo it
    EXPECT_EQ(shell->current().name, "CreditsStart") << "the credits answer a key by rolling again";
    EXPECT_TRUE(shell->gameFinished);
    EXPECT_EQ(savesNoted(), savesBefore) << "a save was written from the final battle to the credits";
    const std::string log = log_.str();
    EXPECT_NE(log.find(" in FortressHall: ", log.rfind("\n", log.size() - 2)), std::string::npos)
        << "the story's last save is not the one before the final battle";
    compareWithRecorded("story-play");
}

} // namespace
