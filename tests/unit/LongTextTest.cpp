// Paged text boxes, monologs and dialogs, driven frame by frame through the Game's confirm flag.
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/LongText.hpp"
#include "support/TestSupport.hpp"

#include <memory>

namespace {

// A roster of two ("Ana" the main character, "Bo"), no resource store and a Game.
struct TextWorld : ::testing::Test {
    std::unique_ptr<People> roster = std::make_unique<People>();
    std::unique_ptr<Game> shell;
    CatchFatal catcher;
    GlobalsGuard globals;

    void SetUp() override {
        resources = nullptr; // no display: no store
        people = roster.get();
        shell = std::make_unique<Game>();
        game = shell.get();
        roster->characters.emplace_back("Ana");
        roster->characters.emplace_back("Bo");
        roster->mainCharacterIndex = 0;
    }
    void TearDown() override {
        shell.reset();
    }

    // One frame with or without a new confirm press.
    static bool frame(LongText& box, bool confirm = false) {
        game->input.confirm = confirm;
        const bool done = box.update();
        game->input.confirm = false;
        return done;
    }
};

TEST_F(TextWorld, TypesOneCharacterAFrameAndPagesFourLines) {
    LongText box({0, 0}, {"ab", "c", "d", "e", "fg"});
    EXPECT_TRUE(box.isActive());
    frame(box);
    EXPECT_EQ(box.charsShown, 1u);
    EXPECT_EQ(box.currentLine, 0u);
    frame(box); // "ab" done
    EXPECT_EQ(box.currentLine, 1u);
    EXPECT_EQ(box.charsShown, 0u);
    frame(box);
    frame(box);
    EXPECT_FALSE(box.pageFull);
    frame(box); // fourth line done: the page is full
    EXPECT_TRUE(box.pageFull);
    EXPECT_EQ(box.currentLine, 4u);
    // Waiting: frames without confirm change nothing.
    for (int i = 0; i < 5; ++i) frame(box);
    EXPECT_TRUE(box.pageFull);
    EXPECT_EQ(box.pageStart, 0u);
    frame(box, true); // next page
    EXPECT_FALSE(box.pageFull);
    EXPECT_EQ(box.pageStart, 4u);
    frame(box);
    frame(box); // "fg" done: last line, waits once more
    EXPECT_TRUE(box.pageFull);
    EXPECT_FALSE(box.finished);
    EXPECT_TRUE(frame(box, true));
    EXPECT_TRUE(box.finished);
    EXPECT_FALSE(box.isActive());
    EXPECT_TRUE(frame(box, true)); // stays finished
}

TEST_F(TextWorld, ConfirmCompletesTheLineAndEmptyLinesTakeOneFrame) {
    LongText box({0, 0}, {"", "a long line", "x"});
    frame(box);
    EXPECT_EQ(box.currentLine, 1u) << "an empty line takes one frame";
    frame(box, true);
    EXPECT_EQ(box.currentLine, 2u) << "confirm shows the rest of the line at once";
    EXPECT_EQ(box.charsShown, 0u);
}

TEST_F(TextWorld, EmptyBoxIsInactiveAndUnchanged) {
    LongText box;
    EXPECT_FALSE(box.isActive());
    EXPECT_FALSE(frame(box, true));
    EXPECT_FALSE(box.finished);
    EXPECT_FALSE(box.pageFull);
    EXPECT_EQ(box.currentLine, 0u);
}

TEST_F(TextWorld, MainIsReplacedOnceWhenItsLineStarts) {
    LongText box({0, 0}, {"<MAIN> and <MAIN>", "hi <MAIN>"});
    frame(box);
    EXPECT_EQ(box.lines[0], "Ana and <MAIN>");
    EXPECT_EQ(box.lines[1], "hi <MAIN>") << "a later line stays until it starts";
    frame(box, true);
    frame(box);
    EXPECT_EQ(box.lines[1], "hi Ana");

    std::string s = "no token";
    replaceFirst(s, "<MAIN>", "X");
    EXPECT_EQ(s, "no token");
    s = "ab<MAIN>cd";
    replaceFirst(s, "<MAIN>", "");
    EXPECT_EQ(s, "abcd");
}

TEST_F(TextWorld, ResettingClearsTheStateButKeepsTheLook) {
    LongText box({10, 20}, {"abc", "d"});
    box.fullWidth = false;
    box.color = sf::Color::Red;
    box.important = true;
    box.sound = "JoinFanfare";
    box.speaker = "Old";
    box.pageFull = true;
    box.currentLine = 1;
    box.charsShown = 1;
    box.pageStart = 1;
    box.finished = true;

    box.setText("new", nullptr);
    EXPECT_EQ(box.lines, std::vector<std::string>{"new"});
    EXPECT_EQ(box.currentLine, 0u);
    EXPECT_EQ(box.charsShown, 0u);
    EXPECT_EQ(box.pageStart, 0u);
    EXPECT_FALSE(box.finished);
    EXPECT_FALSE(box.important);
    EXPECT_FALSE(box.pageFull) << "a reset box must type its new text, not wait on an empty page";
    EXPECT_TRUE(box.sound.empty());
    EXPECT_TRUE(box.speaker.empty());
    EXPECT_EQ(box.position, Point(10, 20));
    EXPECT_FALSE(box.fullWidth);
    EXPECT_EQ(box.color, sf::Color::Red);
    frame(box);
    EXPECT_EQ(box.charsShown, 1u) << "types at once";

    box.pageFull = true;
    box.set("spoken", 1);
    EXPECT_EQ(box.getSpeaker(), "Bo");
    EXPECT_FALSE(box.pageFull);
    EXPECT_EQ(box.picture, nullptr);
    const std::string outside = fatalMessage([] { people->at(7); });
    EXPECT_FALSE(outside.empty());
    EXPECT_FATAL(box.set("x", 7), outside);
}

TEST_F(TextWorld, MonologSpeakers) {
    Monolog main;
    main.speakerName = "<MAIN>";
    EXPECT_EQ(main.getSpeaker(), "Ana");
    EXPECT_EQ(main.speakerIndex(), NO_INDEX);
    Monolog bo;
    bo.speakerName = "Bo";
    EXPECT_EQ(bo.getSpeaker(), "Bo");
    EXPECT_EQ(bo.speakerIndex(), 1);
    Monolog stranger;
    stranger.speakerName = "Nobody";
    EXPECT_EQ(stranger.getSpeaker(), "Nobody");
    EXPECT_EQ(stranger.speakerIndex(), NO_INDEX);
    EXPECT_EQ(main.position, Point(0, 0));
    EXPECT_TRUE(main.lines.empty());
}

MonologSequence dialogOf(int count, int linesEach = 1) {
    MonologSequence d;
    for (int i = 0; i < count; ++i) {
        Monolog m;
        m.speakerName = "Bo";
        m.lines.assign(std::size_t(linesEach), "x");
        m.position = {0, i * monologSpacing(m)};
        d.monologs.push_back(m);
    }
    return d;
}

// Runs frames with confirm on every other frame until the dialog ends; returns the frame count.
int playThrough(MonologSequence& d, int limit = 1000) {
    int frames = 0;
    while (d.isActive() && frames < limit) {
        game->input.confirm = frames % 2 == 1;
        d.update();
        game->input.confirm = false;
        ++frames;
    }
    return frames;
}

TEST_F(TextWorld, DialogScrollsOneStepAfterTwoFinishedMonologs) {
    MonologSequence d = dialogOf(4);
    EXPECT_EQ(d.monologs[1].position.y, 315);
    ASSERT_TRUE(d.isActive());
    int frames = 0;
    while (d.isActive() && frames < 100) {
        game->input.confirm = true;
        d.update();
        game->input.confirm = false;
        ++frames;
        // Two frames per Monolog; the scroll comes in the frame after Monolog 2 finished.
        if (frames == 6) {
            EXPECT_EQ(d.firstShown, 0);
        }
        if (frames == 7) {
            EXPECT_EQ(d.firstShown, 1);
        }
    }
    EXPECT_EQ(frames, 8);
    // Monolog 2 finished: the next frame scrolls once, so Monolog 3 stands where 2 stood.
    EXPECT_EQ(d.firstShown, 1);
    EXPECT_EQ(d.monologs[0].position.y, -315);
    EXPECT_EQ(d.monologs[3].position.y, 630);
    EXPECT_FALSE(d.isActive());
}

TEST_F(TextWorld, DialogEndAddsTheAchievementOnce) {
    MonologSequence d = dialogOf(2);
    d.achievement = "MetBo";
    playThrough(d);
    EXPECT_FALSE(d.isActive());
    EXPECT_TRUE(game->isBoolVarSet("MetBo"));
    EXPECT_EQ(game->BOOLVARS.size(), 1u);

    MonologSequence again = dialogOf(1);
    again.achievement = "MetBo";
    playThrough(again);
    EXPECT_EQ(game->BOOLVARS.size(), 1u);

    MonologSequence none = dialogOf(1);
    playThrough(none);
    EXPECT_EQ(game->BOOLVARS.size(), 1u) << "no key, nothing added";
}

TEST_F(TextWorld, DialogWithAnEmptyMonologStillEnds) {
    MonologSequence d = dialogOf(3);
    d.monologs[1].lines.clear();
    d.achievement = "Done";
    const int frames = playThrough(d);
    EXPECT_LT(frames, 1000) << "the dialog locked on a Monolog with no lines";
    EXPECT_FALSE(d.isActive());
    EXPECT_TRUE(game->isBoolVarSet("Done"));

    MonologSequence lastEmpty = dialogOf(2);
    lastEmpty.monologs[1].lines.clear();
    EXPECT_FALSE(lastEmpty.isActive()) << "a dialog whose last Monolog is empty never runs";
    MonologSequence empty;
    EXPECT_FALSE(empty.isActive());
    empty.update();
}

TEST_F(TextWorld, MusicAndSoundsNeedNoStore) {
    // The game here has no scene: without a store nothing may reach the scene music either.
    LongText box({0, 0}, {"joined!", "yes"});
    box.important = true;
    box.sound = "JoinFanfare";
    int frames = 0;
    while (!frame(box, frames % 3 == 2) && frames < 100) ++frames;
    EXPECT_TRUE(box.finished);

    MonologSequence d = dialogOf(2);
    d.important = true;
    d.monologs[0].important = true;
    d.monologs[1].sound = "ShardFanfare";
    d.achievement = "Heard";
    EXPECT_LT(playThrough(d), 1000);
    EXPECT_TRUE(game->isBoolVarSet("Heard"));
}

} // namespace
