// The battle record: the definition read from a scene's "Battle" line and, copied from it when the
// battle starts, the live battle the scene runs. Plain data, copied member by member.
#pragma once

#include "battle/ActionAnimation.hpp"
#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
}

// One chosen or possible battle action.
struct BattleAction {
    int target = NO_INDEX; // NO_INDEX: no action
    Point cell;            // where the action is done from
    SpellRef spell;        // NO_SPELL for a plain attack
    std::string potion;    // the potion thrown, empty when none
    std::set<int> furtherTargets;

    void initAction(int target_, Point cell_, const SpellRef& spell_, const std::string& potion_,
                    const std::set<int>& furtherTargets_);
};

// The kind of action picked in the command or spell menu.
struct BattleMenuKey {
    std::string spell;
    int level = 0;
    std::string potion;
    auto operator<=>(const BattleMenuKey&) const = default;
    bool operator==(const BattleMenuKey&) const = default;
};

// A monster drawn over several cells, its members standing at offsets from its base.
struct LargeMonster {
    std::string name;
    int frameCount = 0;
    int loaderA = 0; // the pair the scene loader sets
    int loaderB = 0;
    std::map<long long, Point> members; // roster index -> offset from base
    int frame = 0;
    int tick = 0;
    int ticksPerFrame = 0;
    Point base;
    std::set<Point> cells;
};

// The dots drawn over a combatant while it dies.
struct DotCloud {
    Point pos;                           // scene pixels
    Point size;                          // width, height
    int dots = 1000;
    bool colourful = false;
};

// A vampire flying as a bat for one turn.
struct BatForm {
    int actor = 0;
    Point restTile;
    Point tile;
    Point pixel;
    Direction direction = NORTH;
    int frame = 0;
};

struct SummonedCreature {
    int summoner = 0;
    std::string ownName;
};

// A search node of the grid path search.
struct PathNode {
    int f = 0; // estimated total cost
    int g = 0; // steps from the start
    int h = 0; // estimate to the goals
    Point pos;
    Point parent; // the start is its own parent
};

// An enemy's chosen action and the way to the cell it is done from.
struct PlannedAction {
    BattleAction action;
    std::vector<Point> path;
};

// How good a candidate action is; smaller compares better (see operator<).
struct ActionScore {
    int maxHp = 0;
    int maxMp = 0;
    int targets = 1;
    int spellScore = 0;
    int pathLength = 0;
    // More targets first, then the higher spell score, the lower MAXHP, the lower MAXMP, the
    // shorter path.
    bool operator<(const ActionScore& o) const;
};

class Scene;

namespace BattleLog {
void addLine(std::vector<std::string>& lines, const std::string& text);
}

class Battle {
public:
    enum Sky : int { SKY_NONE = 0, SKY_STARS = 1, SKY_CIRCUS = 2, SKY_TRAIN = 3 };

    // What the battle's frame is doing. The numbers are the states' own and never change.
    enum BattleState : int {
        NEXT_TURN = 0,         // the turn passes to the next combatant
        PLAYER_MOVES = 1,      // a member of the party walks within its reach
        FREE_CURSOR = 2,       // the cursor looks about the grid
        ENEMY_ACTS = 3,        // an enemy walks its planned way and acts
        COMMAND_MENU = 4,      // the command menu is open
        CHOOSE_TARGET = 5,     // the player picks the target of an attack, potion or spell
        CHOOSE_TOWER_CELL = 6, // the player picks the cell a tower is built on
        SPELL_MENU = 7,
        POTION_MENU = 8,       // the alchemist switches the potion it throws
        ITEM_MENU = 9,
        BAT_FORM = 10,         // a vampire flies as a bat
        BATTLE_OVER = 11,      // won or lost: the fade, then the end
    };

    // --- The definition: read from the scene's "Battle" line by load, kept while the battle runs ---
    int sky = SKY_NONE;
    std::vector<long long> enemies;
    std::vector<int> joins;
    std::string egress; // "PREV": the previous scene
    std::string music;
    std::string background;
    bool watch = false; // a stealth battle; cleared when an enemy spots the leader
    bool practice = false;
    bool sifter = false;
    bool enemyRandomPos = false;
    // x0 = -1: no box given (start then fills in the whole grid less its border).
    int enemyBoxX0 = -1, enemyBoxX1 = 1, enemyBoxY0 = -1, enemyBoxY1 = -1;
    // "" holds the ENEMYPOS cells, other keys the ENEMYPOSNAME cells of that name.
    std::map<std::string, std::vector<Point>> enemyPositions;
    // Fixed for every battle.
    int deathDelay = 25;
    int treasureChance = 2; // out of 1000
    int treasureDemonTurnLimit = 4;
    int treasureDemonFleeChance = 10; // per cent per demon turn
    int fadeFull = 50;

    // --- Set by the scene and its scripts, kept when a new definition is read ---
    std::string sceneName;
    Point gridSize; // columns, rows
    std::map<long long, Point> presetTiles; // "SetStartingBattlePos"
    std::map<long long, Point> posts;       // "SetDesiredBattlePos"
    std::set<Point> extraWalkerCells;       // "SetBattleBlockedLocations"
    std::vector<LargeMonster> largeMonsters;
    // The loot dropped in the last battle fought here: the next start takes it off the ground.
    std::set<int> droppedItems;

    // --- Whether the battle runs and how it ended: load, finish, the scene and its scripts set
    // these; start leaves them ---
    bool inBattle = false;
    bool won = false;
    bool startedByScript = false;
    // The scene a scripted walk is routed in, while it is (null otherwise).
    const Scene* routingScene = nullptr;

    // --- What lasts one battle: start resets these (resetRuntime), and looks up treasureDemon ---
    BattleState state = NEXT_TURN;
    bool finished = false; // finish has run for this battle
    bool armed = false;    // a script set the battle up; the scene starts it once
    bool turnsBegun = false; // the first turn has come (turnIndex alone can fall back to -1)
    // While a scene character is routed, every other person blocks the way.
    bool sceneRouting_ = false;
    std::vector<long long> turnList;
    int turnIndex = -1;
    int blink = 0;
    long long dying = NO_INDEX;
    DotCloud dyingCloud;
    int deathCountdown = 20;
    int fade = 50;
    int treasureDemon = NO_INDEX; // its roster index, looked up by start
    bool treasureDemonPresent = false;
    bool treasureDemonArrived = false;
    int treasureDemonTurns = 0;
    Point treasureDemonGoal{-1, -1};
    std::map<long long, int> invisibleTurns;
    std::map<long long, std::map<int, int>> statModifiers; // roster index -> Stat -> amount
    std::map<long long, int> modifierTurns;
    std::map<long long, int> temporaryMembers;
    std::map<long long, SummonedCreature> summonedCreatures;
    bool necromancerPresent = false;
    std::map<Point, long long> bones;
    int skeletonCounters[3] = {1, 1, 1};  // "Skeleton", "MageSkeleton", "HealerSkeleton"
    int towerCounters[4] = {1, 1, 1, 1};  // "Tesla", "MissleLauncher", "SawTrap", "SentryTurret"
    ActionAnimation shownAction; // the close-up of the action being played

    // --- What lasts one turn: nextTurn and the turn's states set these; start resets them too ---
    bool turnIntro = false;
    Point actorTile;
    // The actor's tile when its turn began: the free cursor moves the actor tile, and leaving the
    // cursor puts it back to this, so that the actor's reach stays its own.
    Point turnStartTile;
    std::set<Point> reachableCells;
    std::set<Point> frontierCells;
    std::set<Point> opponentCells;
    std::vector<BattleAction> options;
    std::map<BattleMenuKey, std::vector<BattleAction>> menuActions;
    BattleMenuKey chosenKey;
    int selection = 0;
    std::map<Point, std::vector<Point>> towerCells;
    BattleAction pendingAction;
    std::vector<Point> path;
    int walking = 0;
    BatForm bat;

    // --- What lasts one frame: update fills these afresh (start clears the watched cells) ---
    std::set<Point> watchedCells;
    sf::Color flashColor;

    // Reads a definition from the rest of a "Battle" line. Unknown words, enemy names and joiner
    // names are fatal.
    void load(const std::string& text);
    // The enemy cells the definition lists must lie on the grid (columns, rows) of its scene:
    // checked when the scene is read, so that the file and line are named.
    void checkCellsOnGrid(Point grid) const;
    // Binds the battle to its scene: name and grid size.
    void setScene(const std::string& name);
    // A finished battle no longer takes the frame, even while its in-battle flag stays on.
    bool isActive() const { return inBattle && !finished; }
    // Sets the shown action's targets to the set, in set order, and counts them in.
    static void refillIndexList(ActionAnimation& shown, const std::set<int>& targets);
    void eraseKey(long long index) { invisibleTurns.erase(index); }
    bool hasStatModifier(long long combatant, Stat stat) const;

    // --- drawing (BattleDraw.cpp) ---
    // The battle's share of one tile row (row -1: the overlay pass with the close-up and panels).
    void draw(sf::RenderTarget& window, Point view, int row);
    // A watch battle's guards and the cells they watch, while no battle runs.
    void drawWatch(sf::RenderTarget& window, Point view) const;
    // What stands in one row, bottom layer first. The overlay pass (row -1) takes this pass too:
    // a spell's radius may reach above the grid, and the tower cell's frame is drawn there.
    void drawRow(sf::RenderTarget& window, Point view, int row) const;
    // Over every row, once a frame: the dying combatant, the close-up and the panels.
    void drawOverlay(sf::RenderTarget& window, Point view);
    // The cell frames of the state: the free cursor, the target and its spell's radius, the
    // tower cell.
    void drawStateMarks(sf::RenderTarget& window, Point view, int row) const;
    // The target the player's choice points at; NO_INDEX when there is none.
    long long selectedTarget() const;
    void drawTargetFrames(sf::RenderTarget& window, Point view, int row) const;
    void drawTowerCellFrame(sf::RenderTarget& window, Point view, int row) const;
    void drawReachableCells(sf::RenderTarget& window, Point view, int row) const;
    void drawLargeMonsters(sf::RenderTarget& window, Point view, int row) const;
    // The blinking ellipse under the actor, in its side's colour (a rand() draw).
    void drawActorMarker(sf::RenderTarget& window, Point view, int row) const;
    void drawBat(sf::RenderTarget& window, Point view, int row) const;
    void drawBones(sf::RenderTarget& window, Point view, int row) const;
    // The combatants with their counters of invisible, changed and borrowed turns.
    void drawCombatants(sf::RenderTarget& window, Point view, int row) const;
    void drawDying(sf::RenderTarget& window, Point view) const;
    static void drawMessageBox(const ActionAnimation& box, sf::RenderTarget& window);
    static void drawRandomCircles(const DotCloud& cloud, sf::RenderTarget& window, Point view);
    // A bar of at most maxWidth pixels; a maximum of 0 or less gives an empty bar.
    static void drawStatusBar(sf::RenderTarget& window, sf::Vector2f position, float maxWidth,
                              int maximum, float fraction);
    static void drawStatusPanel(sf::Vector2f size, sf::RenderTarget& window, sf::Vector2f position,
                                long long index);
    void drawCellFrame(sf::RenderTarget& window, Point view, Point cell) const;
    static void drawCounterBadge(Point view, sf::RenderTarget& window, Point pixel, sf::Color colour,
                                 int count);

    // --- the running battle: start and finish, frames, turns, raised combatants, enemy plans
    // and the grid path search ---
    void start();
    // The steps of start: enemies up to the party's strength, the turn order of enemies, party
    // and joiners, and enemies scattered over their box.
    void levelEnemies();
    void lineUpCombatants();
    void scatterEnemies(const Scene& scene);
    void placeParty();
    void placeEnemies();
    void finish(bool won);
    void clearStatModifiers(long long combatant);
    void update();
    // The steps of update: the combatants' frame and the start of a death, the wait for the
    // death and its loot, the view's trip to a new actor, and a planned walk (true while the
    // walk takes the frame).
    void updateCombatants();
    void waitOutDeath(Scene& scene);
    void bringViewToActor(Scene& scene, long long actor);
    bool walkPlannedPath(Scene& scene, long long actor);
    void nextTurn();
    // The steps of nextTurn: the treasure demon's arrival and escape, the turn handed to the
    // next combatant with its reach and options, the end when a side is gone, and the actor's
    // effects that run out on its turns.
    void treasureDemonMayArrive();
    void treasureDemonMayEscape();
    void passTurnOn();
    void endIfOneSideIsGone(Scene& scene);
    void countDownTurnEffects(long long actor);
    void computeReachable();
    void raiseSkeleton(long long boneTarget, long long caster, const std::string& spellName);
    void buildTower(Point cell, long long builder, const std::string& spellName);
    std::vector<BattleAction> listEnemyOptions(long long actor);
    BattleAction moveEnemy();
    PlannedAction planEnemyTurn();
    ActionScore scoreAction(const BattleAction& candidate, int pathLength) const;
    bool isOccupied(Point cell) const;
    Point randomFreeCell() const;
    std::vector<std::vector<Point>> findPath(Point start, const std::set<Point>& targets,
                                             bool moverSide, int limit,
                                             bool stopWhenFirstTooLong) const;
    static PathNode nearestCellDistance(Point cell, const std::set<Point>& targets);
    std::vector<Point> findPathOnScene(long long character, Point start, Point target);

    // The combatant whose turn it is; NO_INDEX when there is none.
    long long actorIndex() const;
    // Removes a combatant from the turn list, keeping the turn on the right combatant.
    // False when it was not in the list.
    bool removeFromTurnList(long long combatant);

    // The frame's steps and the placement helpers.
    bool updateWatch();
    // One step of the state machine: the function of the current state.
    void stateStep();
    void playerMoves(Scene& scene, long long actor);
    void moveFreeCursor(Scene& scene);
    void enemyActs(long long actor);
    void chooseCommand(long long actor);
    void chooseTarget();
    void chooseTowerCell(long long actor);
    void chooseSpell();
    void choosePotion(long long actor);
    void chooseItem(long long actor);
    void flyAsBat(Scene& scene, long long actor);
    void endBattle();
    void openCommandMenu();
    void confirmTarget(const BattleAction& choice);
    void applyPotionFactors(const std::string& potionName, long long target);
    void resetRuntime();
    void settleOverlaps();
    Point nearestFreeCell(Point from, bool flying, const std::set<Point>& taken) const;
};
