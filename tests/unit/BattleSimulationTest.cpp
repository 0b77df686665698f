// The demo's arena fought a thousand times with random key presses through the real game frame.
//
// Input policy: every frame one key, drawn with rand() from a seed of the battle's own: none
// (three times as likely as any other), an arrow, Space (twice as likely) or left Control; while
// the "Egress?" question is open, left Control (19 times in 20) or Right. So the player walks at
// random, opens menus, picks at random, and now and then takes the egress.
// Frame bound: 60,000 frames a battle; a battle that reaches it is reported with its seed.
//
// Invariants: no fatal assertion; at every new turn no two living combatants share a cell;
// after each battle the stats of every party member and joiner equal their values before plus
// their level-up gains plus the bonuses of the items they used, and the living have HP >= 1.
#include "BattleTestWorld.hpp"

#include <cstdlib>
#include <iostream>
#include <map>

namespace {

#ifdef QUORVANE_SANITIZED
constexpr int BATTLES = 200;
#else
constexpr int BATTLES = 1000;
#endif
constexpr int FRAME_BOUND = 60000;
const Stat CHECKED[] = {STR, DEX, SPD, WIS, MAXHP, MAXMP, AMR, SHL, MOB};

class BattleSimulation : public BattleWorld {
protected:
    void SetUp() override {
        BattleWorld::SetUp();
        items.items.clear();
        roster = People();
        roster.party.clear();
        shell->readGameFile(nullptr, 0.5f);
        for (const char* file : {"Game/Meadow_scene.txt", "Game/Arena_scene.txt"}) shell->scenes.addScene().load(file);
        for (Scene& s : shell->scenes) s.music.clear();
        // The Quorvane as the demo has them once all six have joined.
        roster.mainCharacterIndex = 0;
        roster.party = {0, 1, 2, 3, 4, 5};
    }

    // Expected stat after a battle: levels and used items.
    static int expected(const Character& before, const Character& after, Stat s) {
        int value = before.stats[s];
        const int levels = after.level - before.level;
        auto grows = [&](const std::map<std::string, std::string>& table, int amount) {
            auto it = table.find(after.className);
            if (it == table.end()) return;
            Stat g = statFromName(it->second);
            if (g == HP) g = MAXHP;
            if (g == MP) g = MAXMP;
            if (g == s) value += amount * levels;
        };
        grows(CLASS_PRIMARY_STAT, 2);
        grows(CLASS_SECONDARY_STAT, 1);
        for (auto& [item, count] : before.inventory) {
            auto now = after.inventory.find(item);
            const int used = count - (now == after.inventory.end() ? 0 : now->second);
            if (used > 0) value += used * static_cast<int>(itemList->at(item).bonuses[s]);
        }
        return value;
    }
};

} // namespace

TEST_F(BattleSimulation, AThousandArenaBattlesWithRandomInputKeepTheirInvariants) {
    const People start = roster;
    const int arena = static_cast<int>(shell->findScene("Arena"));
    static const int KEYS[] = {0, 0, 0, keys::Left, keys::Right, keys::Up, keys::Down, keys::Space, keys::Space,
                               keys::LControl};
    int won = 0, lost = 0;
    std::vector<unsigned> bounded;
    std::map<int, int> statesReached;
    int fewestTurns = FRAME_BOUND;
    for (int n = 0; n < BATTLES; ++n) {
        const unsigned seed = 1000 + n;
        roster = start;
        shell->switchPending = false;
        shell->confirmShown = false;
        shell->shownCharacter = NO_INDEX;
        shell->box1.active = shell->box2.active = shell->box3.active = false;
        shell->scenes[arena].battle = shell->scenes[arena].battleDefinition;
        std::srand(seed);
        enter("Arena", "Meadow");
        Battle& b = shell->scenes[arena].battle;
        ASSERT_TRUE(b.isActive());
        const People before = roster;
        std::set<int> side(roster.party.begin(), roster.party.end());
        bool intro = false;
        int frames = 0, turns = 0;
        for (; frames < FRAME_BOUND && !b.finished; ++frames) {
            int key = KEYS[std::rand() % 10];
            // The "Egress?" question is mostly turned down, so that battles also get fought out.
            if (shell->confirmShown) key = std::rand() % 20 == 0 ? keys::Right : keys::LControl;
            frame(key ? std::vector<int>{key} : std::vector<int>{});
            ++statesReached[b.state];
            // A new turn: the turn step has run (the view's return to an actor in state 1 is none).
            if (b.turnIntro && !intro && b.state == 0) {
                ++turns;
                std::set<Point> cells;
                for (long long c : b.turnList)
                    if (roster.at(c).stats[HP] > 0)
                        ASSERT_TRUE(cells.insert(roster.at(c).tile).second)
                            << "seed " << seed << ": two combatants on " << roster.at(c).tile.x << ","
                            << roster.at(c).tile.y << " (" << roster.at(c).name << ")" << [&] { std::string o; for (long long d : b.turnList) o += " " + roster.at(d).name + "@" + std::to_string(roster.at(d).tile.x) + "," + std::to_string(roster.at(d).tile.y); return o + " frame " + std::to_string(frames); }();
            }
            intro = b.turnIntro;
        }
        if (!b.finished) {
            bounded.push_back(seed);
            fewestTurns = std::min(fewestTurns, turns);
            continue;
        }
        (b.won ? won : lost)++;
        for (int i : side) {
            const Character& was = before.at(i);
            const Character& now = roster.at(i);
            for (Stat s : CHECKED)
                ASSERT_EQ(now.stats[s], expected(was, now, s))
                    << "seed " << seed << ": " << now.name << " " << statName(s);
            if (roster.party.count(i)) EXPECT_GE(now.stats[HP], 1) << "seed " << seed << " " << now.name;
        }
    }
    std::cout << "won " << won << ", lost " << lost << ", at the frame bound " << bounded.size() << ":";
    for (unsigned s : bounded) std::cout << " " << s;
    std::cout << "\nfewest turns in a battle at the bound: " << fewestTurns << "\nstates:";
    for (auto [s, count] : statesReached) std::cout << " " << s << "=" << count;
    std::cout << std::endl;
    EXPECT_EQ(won + lost + static_cast<int>(bounded.size()), BATTLES);
    EXPECT_GT(won, 0);
    EXPECT_GT(lost, 0);
    // A battle at the bound is slow, not stuck: random walking takes long to bring the party
    // within reach of enemies that act only on what they can reach this turn. A soft-lock would
    // show as a battle whose turns stop.
    EXPECT_GE(fewestTurns, 20);
}
