// The demo's arena fought a thousand times with random key presses through the real game frame.
//
// Input policy: every frame one key, drawn with rand() from a seed of the battle's own: none
// (three times as likely as any other), an arrow, Space (twice as likely) or left Control; while
// the "Egress?" question is open, left Control (19 times in 20) or Right. So the player walks at
// random, opens menus, picks at random, and now and then takes the egress.
// Frame bound: 60,000 frames a battle; a battle that reaches it is reported with its seed.
//
// Invariants: no fatal assertion; at every new turn no two living combatants share a cell and
// none stands on a cell blocked for it;
// at every action the actor acts from one of its reachable cells of that turn, on targets within
// the action's range from there, with an action planned (enemy) or chosen (party) for it this
// turn; after each battle the stats of every party member and joiner equal their values before
// plus their level-up gains plus the bonuses of the items they used, and the living have HP >= 1.
// And every seed's battle ends as the kept lines in tests/data/battle-every-seed.txt say.
#include "BattleTestWorld.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

#ifdef QUORVANE_SANITIZED
constexpr int BATTLES = 200;
#else
constexpr int BATTLES = 1000;
#endif
constexpr int FRAME_BOUND = 60000;
// A party that only ends its turns loses the arena within this many frames.
constexpr int IDLE_FRAME_BOUND = 40000;
constexpr int IDLE_BATTLES = 10;
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

    // The action that has just begun to play: who acts, from where (the turn's start and the
    // enemy's planned path given), on whom, and whether it is the actor's own for this turn.
    // Empty when all holds.
    std::string actionFault(const Battle& b, Point turnStart, const std::vector<Point>& planned) const {
        const ActionAnimation& shown = b.shownAction;
        const long long actor = b.actorIndex();
        if (shown.actor != actor) return "the action's actor is not the actor of the turn";
        const Character& a = roster.at(actor);
        auto where = [&](Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); };
        const std::string who = a.name + " on " + where(a.tile) + ": ";
        if (roster.isMember(static_cast<int>(actor))) {
            // The player walks the actor within the reachable cells.
            if (!b.reachableCells.count(a.tile)) return who + "acts from outside its reach";
        } else {
            // An enemy walks its planned path, one move of its own style a step, no further than
            // its moves: a knight may jump where the plain steps of the reachable cells do not lead.
            const int moves = a.behaviour == Behaviour::DEFENSIVE ? a.stats[MOB] / 2 : a.stats[MOB];
            if (static_cast<int>(planned.size()) > moves) return who + "walked further than its moves";
            Point at = turnStart;
            for (Point next : planned) {
                const std::vector<Point> around = pointsAround(at, 1, static_cast<int>(a.moveStyle));
                if (std::find(around.begin(), around.end(), next) == around.end() ||
                    shell->current().isBlocked(next, a.flying))
                    return who + "stepped from " + where(at) + " to " + where(next) + " against its moves";
                at = next;
            }
            if (at != a.tile) return who + "acts away from the end of its path";
        }
        BattleAction played;
        if (roster.isMember(static_cast<int>(actor))) {
            played.initAction(static_cast<int>(shown.target), a.tile, {b.chosenKey.spell, b.chosenKey.level},
                              b.chosenKey.potion, {});
        } else {
            played = b.pendingAction;
            if (played.target != shown.target || played.cell != a.tile)
                return who + "plays an action not planned for it here";
        }
        const std::set<int> further(shown.pendingTargets.begin(), shown.pendingTargets.end());
        const bool listed = std::any_of(b.options.begin(), b.options.end(), [&](const BattleAction& o) {
            return o.target == played.target && o.cell == a.tile && o.spell == played.spell &&
                   o.potion == played.potion && o.furtherTargets == further;
        });
        if (!listed) return who + "plays an action that is none of its options this turn";
        int lo = 0, hi = a.getAttackRange();
        if (played.spell != NO_SPELL) {
            const Magic& m = spells.get(played.spell.name);
            lo = m.minRangeAt(played.spell.level);
            hi = m.maxRangeAt(played.spell.level);
        }
        const Point t = roster.at(shown.target).tile;
        const int d = std::abs(t.x - a.tile.x) + std::abs(t.y - a.tile.y);
        if (d < lo || d > hi) return who + "reaches a target on " + where(t) + " out of range";
        return "";
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

    // What the thousand battles came to, and one line per battle: its seed, how it ended, its
    // frames and turns, and where each combatant stands with what HP.
    struct Tally {
        int won = 0, lost = 0, actions = 0, built = 0, raised = 0;
        std::vector<unsigned> bounded;
        std::map<int, int> statesReached;
        int fewestTurns = FRAME_BOUND;
        std::string everySeed;
    };

    // The arena fought BATTLES times, each from a seed of its own, checking the invariants.
    Tally fightTheArena() {
        Tally t;
        const People start = roster;
        const int arena = static_cast<int>(shell->findScene("Arena"));
        for (int n = 0; n < BATTLES && !HasFatalFailure(); ++n) {
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
            int frames = 0, turns = 0;
            fightOne(b, seed, arena, t, frames, turns);
            std::ostringstream line;
            line << seed << " " << (!b.finished ? "bound" : b.won ? "won" : "lost") << " frames " << frames
                 << " turns " << turns;
            std::set<long long> combatants(b.enemies.begin(), b.enemies.end());
            combatants.insert(start.party.begin(), start.party.end());
            for (long long c : combatants) {
                const Character& ch = roster.at(c);
                line << " " << ch.name << " " << ch.stats[HP] << "@" << ch.tile.x << "," << ch.tile.y;
            }
            t.everySeed += line.str() + "\n";
        }
        return t;
    }

    // One battle, entered: counted into the tally, its frames and turns given back.
    void fightOne(Battle& b, unsigned seed, int arena, Tally& t, int& frames, int& turns) {
        static const int KEYS[] = {0, 0, 0, keys::Left, keys::Right, keys::Up, keys::Down, keys::Space, keys::Space,
                                   keys::LControl};
        ASSERT_TRUE(b.isActive());
        const People before = roster;
        std::set<int> side(roster.party.begin(), roster.party.end());
        bool intro = false;
        Point turnStart;
        std::vector<Point> planned;
        for (; frames < FRAME_BOUND && !b.finished; ++frames) {
            int key = KEYS[std::rand() % 10];
            // The "Egress?" question is mostly turned down, so that battles also get fought out.
            if (shell->confirmShown) key = std::rand() % 20 == 0 ? keys::Right : keys::LControl;
            const bool playing = b.shownAction.playing;
            frame(key ? std::vector<int>{key} : std::vector<int>{});
            ++t.statesReached[b.state];
            if (!playing && b.shownAction.playing) {
                ++t.actions;
                const std::string fault = actionFault(b, turnStart, planned);
                ASSERT_EQ(fault, "") << "seed " << seed << " frame " << frames;
            }
            // A new turn: the turn step has run (the view's return to an actor in state 1 is none).
            if (b.turnIntro && !intro && b.state == 0) {
                ++turns;
                turnStart = roster.at(b.actorIndex()).tile;
                planned = b.path;
                std::set<Point> cells;
                for (long long c : b.turnList) {
                    // Built towers and raised skeletons too stand where they may: flyers over
                    // rocks, walkers only on open ground.
                    const Character& ch = roster.at(c);
                    ASSERT_FALSE(ch.stats[HP] > 0 && shell->scenes[arena].isBlocked(ch.tile, ch.flying))
                        << "seed " << seed << ": " << ch.name << " on a blocked cell " << ch.tile.x << "," << ch.tile.y;
                    if (roster.at(c).stats[HP] > 0) {
                        ASSERT_TRUE(cells.insert(roster.at(c).tile).second)
                            << "seed " << seed << ": two combatants on " << roster.at(c).tile.x << ","
                            << roster.at(c).tile.y << " (" << roster.at(c).name << ")" << [&] { std::string o; for (long long d : b.turnList) o += " " + roster.at(d).name + "@" + std::to_string(roster.at(d).tile.x) + "," + std::to_string(roster.at(d).tile.y); return o + " frame " + std::to_string(frames); }();
                    }
                }
            }
            intro = b.turnIntro;
        }
        for (int k : b.towerCounters) t.built += k - 1;
        for (int k : b.skeletonCounters) t.raised += k - 1;
        if (!b.finished) {
            t.bounded.push_back(seed);
            t.fewestTurns = std::min(t.fewestTurns, turns);
            return;
        }
        (b.won ? t.won : t.lost)++;
        for (int i : side) {
            const Character& was = before.at(i);
            const Character& now = roster.at(i);
            for (Stat s : CHECKED)
                ASSERT_EQ(now.stats[s], expected(was, now, s))
                    << "seed " << seed << ": " << now.name << " " << statName(s);
            if (roster.party.count(i)) {
                EXPECT_GE(now.stats[HP], 1) << "seed " << seed << " " << now.name;
            }
        }
    }
};

} // namespace

TEST_F(BattleSimulation, AThousandArenaBattlesWithRandomInputKeepTheirInvariants) {
    const Tally t = fightTheArena();
    ASSERT_FALSE(HasFatalFailure());
    std::cout << "won " << t.won << ", lost " << t.lost << ", actions checked " << t.actions << ", towers built "
              << t.built << ", skeletons raised " << t.raised << ", at the frame bound " << t.bounded.size() << ":";
    for (unsigned s : t.bounded) std::cout << " " << s;
    std::cout << "\nfewest turns in a battle at the bound: " << t.fewestTurns << "\nstates:";
    for (auto [s, count] : t.statesReached) std::cout << " " << s << "=" << count;
    std::cout << std::endl;
    EXPECT_EQ(t.won + t.lost + static_cast<int>(t.bounded.size()), BATTLES);
    EXPECT_GT(t.won, 0);
    EXPECT_GT(t.lost, 0);
    // A battle at the bound is slow, not stuck: random walking takes long to bring the party
    // within reach of enemies that act only on what they can reach this turn. A soft-lock would
    // show as a battle whose turns stop.
    EXPECT_GE(t.fewestTurns, 20);
}

// The same battles end, every one, as they ended when the kept lines were written: a change in
// the battle's rules or its random draws shows at the seed where it first matters. To write the
// lines afresh (only when the battle is meant to play differently), run the test with
// QUORVANE_WRITE_EXPECTED=1 in the environment.
TEST_F(BattleSimulation, EverySeedEndsAsBefore) {
    const Tally t = fightTheArena();
    ASSERT_FALSE(HasFatalFailure());
    const std::filesystem::path kept = std::filesystem::path(sourceDir()) / "tests/data/battle-every-seed.txt";
    if (std::getenv("QUORVANE_WRITE_EXPECTED") != nullptr && BATTLES == 1000) std::ofstream(kept) << t.everySeed;
    std::ifstream in(kept);
    std::string expectedLines, line;
    // A shorter run (the sanitized build's) meets the first of the kept lines.
    for (int n = 0; n < BATTLES && std::getline(in, line); ++n) expectedLines += line + "\n";
    EXPECT_EQ(t.everySeed, expectedLines) << "(QUORVANE_WRITE_EXPECTED=1 writes the lines afresh)";
}

TEST_F(BattleSimulation, AnIdlePartyLosesTheArenaLeavesAtOneHpSavesNothingAndComesBackToAFreshBattle) {
    const People start = roster;
    const int arena = static_cast<int>(shell->findScene("Arena"));
    const int goblin = roster.indexOf("Goblin1");
    const int dagger = itemList->indexOf("Dagger");
    ASSERT_NE(dagger, NO_INDEX);
    shell->playerName = "BattleSimulationIdle";
    const std::string folder = "SaveGames/" + shell->playerName;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Scene& scene = shell->scenes[arena];
    auto daggersOnTheGround = [&] {
        int n = 0;
        for (auto& [row, list] : scene.drops)
            for (const DroppedItem& d : list) n += d.item == dagger;
        return n;
    };
    int longest = 0;
    for (int n = 0; n < IDLE_BATTLES; ++n) {
        roster = start;
        std::srand(2000 + n);
        enter("Arena", "Meadow");
        Battle& b = scene.battle;
        ASSERT_TRUE(b.isActive());
        // In the last battle the goblin falls at once, so that its dagger lies on the ground.
        const bool loot = n == IDLE_BATTLES - 1;
        if (loot) roster.at(goblin).stats[HP] = 0;
        const int first = framesRun;
        while (!b.finished && framesRun - first < IDLE_FRAME_BOUND) {
            if (shell->box1.active) choose(shell->box1, "Stand");
            else if (b.state == 1 && !b.turnIntro) press(keys::Space);
            else frame(framesRun % 7 == 0 ? std::vector<int>{keys::Space} : std::vector<int>{});
        }
        ASSERT_TRUE(b.finished) << "seed " << 2000 + n << " still fighting after " << IDLE_FRAME_BOUND << " frames";
        longest = std::max(longest, framesRun - first);
        EXPECT_FALSE(b.won);
        idle(5);
        EXPECT_EQ(shell->current().name, "Meadow");
        for (int m : roster.party) EXPECT_EQ(roster.at(m).stats[HP], 1) << roster.at(m).name;
        EXPECT_TRUE(std::filesystem::is_empty(folder)) << "a lost battle is not saved";
        if (loot) {
            EXPECT_GT(daggersOnTheGround(), 0);
        }
    }
    std::cout << "idle party: " << IDLE_BATTLES << " arena battles lost, the longest in " << longest << " frames"
              << std::endl;
    // Back in: a new battle, the goblin up again, and the last fight's loot gone.
    enter("Arena", "Meadow");
    EXPECT_TRUE(scene.battle.isActive());
    EXPECT_EQ(scene.battle.turnIndex, -1);
    EXPECT_EQ(roster.at(goblin).stats[HP], roster.at(goblin).stats[MAXHP]);
    EXPECT_EQ(daggersOnTheGround(), 0);
    std::filesystem::remove_all(folder);
}
