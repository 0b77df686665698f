// The demo played as a whole game, from the name screen through every chapter to the credits,
// in one process as the frame loop plays it, drawing one frame in four to keep the whole story
// within a few minutes. The party is walked by the map's shortest ways a key at a time and fights
// as a careful player does; every save written on the way is compared with tests/data/story-play/.
#include "support/RoutePlay.hpp"

namespace {

class StoryPlay : public route::RoutePlay {
protected:
    StoryPlay() { drawEvery_ = 4; }
};

TEST_F(StoryPlay, TheWholeStoryFromTheNameScreenToTheCredits) {
    keys({S, S, K::R, K::O, K::U, K::T, K::E, K::Enter, K::LControl});
    expectScene("Intro");
    keys({S});
    expectScene("Town");
    readAll();
    // Chapter 1. Allies from the guild hall in the old quarter.
    goTo("Quarter");
    readAll();
    goTo("Guildhall");
    readAll();
    for (const char* ally : {"Mira", "Tomas", "Kesh", "Pip", "Bruno"}) talkTo(ally);
    // The guild's chests arm them (what is found goes to whoever can use it best).
    for (Point chest : {Point{1, 1}, Point{3, 1}, Point{10, 1}, Point{12, 1}, Point{1, 6}, Point{12, 6}, Point{7, 7}})
        use(chest);
    goTo("Quarter");
    readAll();
    goTo("Town");
    readAll();
    // The glint by the path opens the east road to the meadow, where the cat joins.
    walkTo({14, 9});
    readAll();
    goTo("Meadow");
    readAll();
    talkTo("Whiskers");
    walkTo({11, 3});
    choose("Ceres");
    expectScene("Solaris");
    readAll();
    talkTo("Leo");
    walkTo({4, 3});
    choose("Mars");
    expectScene("Olympus");
    readAll();
    use({6, 7});
    walkTo({2, 3});
    choose("Ceres");
    expectScene("Solaris");
    readAll();
    walkTo({25, 15});
    expectScene("Chapter1End");
    keys({S});
    expectScene("Solaris");
    readAll();
#ifdef QUORVANE_SANITIZED
    // Under the sanitizers the first chapter stands for the whole story.
    compareWithRecordedStart("story-play");
    return;
#endif
    // Chapter 2. The gamer's spare chip by his console.
    walkTo({14, 10});
    expectScene("Chapter2End");
    keys({S});
    expectScene("Solaris");
    readAll();
    // Chapters 3 and 4: the Air and Forest shards on their platforms in the dome town.
    use({20, 4});
    expectScene("Chapter3End");
    keys({S});
    expectScene("Solaris");
    readAll();
    use({5, 14});
    expectScene("Chapter4End");
    keys({S});
    expectScene("Solaris");
    readAll();
    // Chapter 5. On Mercury a demon boasts of the march on Solaris; at home they wait by the pad.
    walkTo({4, 3});
    choose("Mercury");
    expectScene("Mercury1");
    readAll();
    talkTo("Grell");
    walkTo({2, 3});
    choose("Ceres");
    expectScene("Solaris");
    fightWell();
    readAll();
    walkTo({25, 15});
    expectScene("Chapter5End");
    keys({S});
    expectScene("Solaris");
    readAll();
    // Chapter 6. The demons' captain on the castle's third floor, then the throne's dais.
    walkTo({26, 8});
    expectScene("CeresCastleF3");
    fightWell();
    readAll();
    walkTo({11, 6});
    expectScene("Chapter6End");
    keys({S});
    expectScene("Solaris");
    readAll();
    // Chapter 7. On Cauchemar the gravedigger's invitation, won from the restless dead, opens
    // Hell's ball, where the Water shard is; home through the Cauchemar system's gate.
    walkTo({4, 3});
    choose("Cauchemar");
    expectScene("Alptraum");
    readAll();
    goTo("Moorgrave");
    readAll();
    walkTo({10, 5});
    fightWell();
    readAll();
    talkTo("Grimble");
    walkTo({8, 3});
    readAll();
    goTo("Alptraum");
    readAll();
    walkTo({2, 3});
    choose("Open space");
    expectScene("CauchemarSystem");
    readAll();
    steerTo({9, 4});
    expectScene("Hell");
    readAll();
    walkTo({3, 3});
    fightWell();
    readAll();
    use({3, 2});
    walkTo({2, 10});
    choose("Open space");
    expectScene("CauchemarSystem");
    readAll();
    steerTo({14, 7});
    expectScene("Chapter7End");
    keys({S});
    expectScene("SolarSystem");
    readAll();
    compareWithRecorded("story-play");
}

} // namespace
