// The exchange between party and reserve played through the real Game::update: the automatic
// step, plain moves within the limits, swaps in a full roster, and a seeded run of random input
// that must keep the two teams whole.
#include "SceneTestWorld.hpp"

#include "game/PartyExchangeMenu.hpp"

#include <cstdlib>

namespace {

class Exchange : public SceneWorld {
protected:
    void SetUp() override {
        SceneWorld::SetUp();
        for (int i = 0; i < 24; ++i) roster.characters.emplace_back("M" + std::to_string(i));
        for (Character& c : roster.characters) c.className = "Warrior";
        enter(load(square("Camp", "SplitTeamScene\nNPC <MAIN> 2 1\n")), "");
        shell->current().exchangeMenu = std::make_shared<PartyExchangeMenu>();
    }
    PartyExchangeMenu& menu() { return *shell->current().exchangeMenu; }
    void open() {
        menu().open();
        frame();
    }
    void frame(int key = -1) {
        shell->update(key < 0 ? std::vector<int>{} : std::vector<int>{key}, nullptr);
        shell->update({}, nullptr);
    }
    // Roster indices M<from> .. M<to - 1>.
    std::set<int> ms(int from, int to) {
        std::set<int> out;
        for (int i = from; i < to; ++i) out.insert(index("M" + std::to_string(i)));
        return out;
    }
    // Moves the active list's bar to the position and confirms.
    void pick(int position) {
        OptionMenu& list = menu().partyList.active ? menu().partyList : menu().reserveList;
        for (int i = 0; i < 30 && list.selected != position; ++i) frame(list.selected < position ? keys::Down : keys::Up);
        ASSERT_EQ(list.selected, position);
        frame(keys::Space);
    }
};

TEST_F(Exchange, TheAutomaticStepKeepsTheReserveFilledAndTheMainCharacterHome) {
    roster.party = {0, 1, 2};
    roster.reserve.clear();
    roster.mainCharacterIndex = 2; // the greatest index in the party leads
    open();
    EXPECT_EQ(roster.reserve, std::set<int>{1}) << "the leader stays in the party";
    EXPECT_EQ(menu().partyList.options[0], "Warrior Ana L1");
    // Moving the last reserve member in brings the greatest other member back out next frame.
    frame(keys::Right);
    pick(0);
    EXPECT_EQ(roster.reserve, std::set<int>{1});
    // The leader refuses to leave; another member goes across and the input stays.
    frame(keys::Left);
    pick(1);
    pick(0);
    EXPECT_EQ(roster.party, std::set<int>{2});
    EXPECT_TRUE(menu().partyList.active);
    // With one member and an empty reserve, Left and Right have nowhere to go.
    frame(keys::LControl);
    EXPECT_FALSE(menu().active);
    roster.reserve.clear();
    open();
    frame(keys::Right);
    EXPECT_TRUE(menu().partyList.active);
}

TEST_F(Exchange, LimitsAndSwapsInAFullRoster) {
    // Eleven in the party, fewer in the reserve: a reserve pick moves nobody.
    roster.party = ms(0, 11);
    roster.mainCharacterIndex = index("M0");
    roster.reserve = ms(11, 15);
    open();
    frame(keys::Right);
    pick(2);
    EXPECT_EQ(roster.party, ms(0, 11));
    EXPECT_FALSE(menu().full);

    // Eleven and eleven: a pick on each side swaps the two; Left or Right between them cancels.
    roster.reserve = ms(11, 22);
    frame();
    EXPECT_TRUE(menu().full);
    frame(keys::Left);
    pick(3);
    EXPECT_EQ(menu().pendingName, "M3");
    EXPECT_TRUE(menu().reserveList.active);
    frame(keys::Left);
    EXPECT_EQ(menu().pendingName, "");
    frame(keys::Right);
    pick(0);
    EXPECT_EQ(menu().pendingName, "M11");
    ASSERT_TRUE(menu().partyList.active);
    pick(3);
    EXPECT_EQ(roster.party.count(index("M11")), 1u);
    EXPECT_EQ(roster.reserve.count(index("M3")), 1u);
    EXPECT_EQ(roster.party.size(), 11u);
    EXPECT_EQ(roster.reserve.size(), 11u);
    EXPECT_TRUE(menu().reserveList.active) << "a finished swap hands the input across";

    // A name left pending when the menu closes does not survive into the next visit.
    frame(keys::Left);
    pick(4); // M3 has left: the fifth row is M5
    EXPECT_EQ(menu().pendingName, "M5");
    frame(keys::LControl);
    open();
    EXPECT_EQ(menu().pendingName, "");
    pick(4);
    EXPECT_EQ(menu().pendingName, "M5") << "a fresh first pick, not a swap with a stale name";

    // Over-filled by other code (12 and 11): still swaps.
    frame(keys::LControl);
    roster.party = ms(0, 12);
    roster.reserve = ms(12, 23);
    open();
    pick(5);
    pick(0);
    EXPECT_EQ(roster.party.size(), 12u);
    EXPECT_EQ(roster.reserve.count(index("M5")), 1u);
    EXPECT_EQ(roster.party.count(index("M12")), 1u);
}

// Random input over random splits: nobody is lost or doubled, the leader never leaves, an ordinary
// move never fills a team beyond its limit, and a running menu never leaves the reserve empty.
TEST_F(Exchange, SeededRunsKeepBothTeamsWhole) {
    const int keyChoices[] = {-1, keys::Up, keys::Down, keys::Left, keys::Right, keys::Space, keys::Space};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::srand(seed);
        const int total = 2 + std::rand() % 23;
        std::vector<int> all;
        for (int i = 0; i < total; ++i) all.push_back(index("M" + std::to_string(i)));
        roster.party.clear();
        roster.reserve.clear();
        roster.mainCharacterIndex = all[std::size_t(std::rand() % total)];
        for (int i : all) {
            if (i == roster.mainCharacterIndex) roster.party.insert(i);
            else if (int(roster.party.size()) < PARTY_LIMIT && std::rand() % 2) roster.party.insert(i);
            else if (int(roster.reserve.size()) < PARTY_LIMIT) roster.reserve.insert(i);
            else roster.party.insert(i);
        }
        const std::set<int> everyone(all.begin(), all.end());
        const std::size_t partyCap = std::max<std::size_t>(PARTY_LIMIT, roster.party.size());
        const std::size_t reserveCap = std::max<std::size_t>(PARTY_LIMIT, roster.reserve.size());
        open();
        for (int step = 0; step < 300; ++step) {
            if (std::rand() % 40 == 0) {
                frame(keys::LControl);
                open();
            } else {
                frame(keyChoices[std::rand() % 7]);
            }
            std::set<int> joined = roster.party;
            for (int r : roster.reserve) {
                ASSERT_EQ(roster.party.count(r), 0u) << "seed " << seed << " step " << step;
                joined.insert(r);
            }
            ASSERT_EQ(joined, everyone) << "seed " << seed << " step " << step;
            ASSERT_EQ(roster.party.count(roster.mainCharacterIndex), 1u) << "seed " << seed;
            ASSERT_LE(roster.party.size(), partyCap) << "seed " << seed;
            ASSERT_LE(roster.reserve.size(), reserveCap) << "seed " << seed;
            if (roster.party.size() > 1) { ASSERT_FALSE(roster.reserve.empty()) << "seed " << seed; }
        }
        frame(keys::LControl);
    }
}

} // namespace
