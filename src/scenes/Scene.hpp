// One place of the game, built from one scene file: its tile map and legend, the people and the
// party placed in it, exits, buildings, things lying about, light and weather, the three script
// stores (If blocks, triggers, sequences), its dialogs and its live battle. Textures stay out of
// the scene: it holds names, so the logic runs without a window.
#pragma once

#include "battle/Battle.hpp"
#include "foundation/main.hpp"
#include "game/LongText.hpp"
#include "scenes/Background.hpp"
#include "scenes/Buildings.hpp"
#include "scenes/MovingTeleporter.hpp"
#include "scenes/Objects.hpp"
#include "scenes/SceneCondition.hpp"
#include "scenes/SceneCredits.hpp"
#include "scenes/SceneState.hpp"
#include "scenes/StepQueue.hpp"

#include <SFML/Graphics/Color.hpp>

#include <array>
#include <functional>
#include <istream>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sf {
class RenderWindow;
class RenderTarget;
}

class TileKind;
class PartyExchangeMenu;
class EinsteinPuzzle;
class Sokoban;
class AlivePicture;
class SpaceChapterGate;
class Mandelbrot;

// Scene types as scene files give them; the two travel types belong to built-in scenes.
enum SceneType : int {
    SCENE_SCREEN = 0,
    SCENE_WALK = 1,
    SCENE_SPACE = 3,
    SCENE_ROCKET_FLIGHT = 4,
    SCENE_SYSTEM_TRAVEL = 5,
    SCENE_WATCH = 6,
};

// The placement-map key that stands for whoever is the main character at entry.
constexpr int MAIN_CHARACTER_KEY = 9999999;

// Background layer slots.
constexpr int LAYER_BACKGROUND = 0;
constexpr int LAYER_BACKGROUND2 = 1;
constexpr int LAYER_FOREGROUND = 2;

struct Chest {
    std::string item; // empty: opened
    Point tile;
};

struct DroppedItem {
    int item = NO_ITEM;
    Point tile;
    bool onTable = false;
};

// Where a party member holding the item may put it down ("DropSite").
struct DropSite {
    int item = NO_ITEM;
    Point tile;
    bool flag = false;
};

struct Container {
    std::string name;
    Point tile;
    bool holdsItems = false; // ITEMS instead of OBJECTS
    std::vector<std::string> contents;
    int sizeX = TILE_SIZE / 5;
    std::string texture;
    int howMany = 30;
    std::string get;
};

struct TeleportTarget {
    std::string scene;
    Point tile;
};

// A picture that drifts over the screen ("FlyingAnim", the parrot pet).
struct FlyingAnimation {
    AnimatedObject animation; // position in window pixels
    Point size{200, 200};
    float speed = 0.5f;
    float x = 0, y = 0;
    float vx = 0, vy = 0;

    void update();
};

// A "ZoomAndTalk" entry: the camera goes to a person, who says the text.
struct ZoomAndTalk {
    int person = NO_INDEX;
    std::string text;

    void read(std::istream& head);
};

// "Move" and "MoveMultiple" lines of a sequence: who walks where, then how long to wait and
// where to look.
struct MoveEntry {
    std::map<int, Point> moves; // roster index -> destination
    int wait = 0;
    Direction look = NO_DIRECTION;

    void read(std::istream& head);         // "Move"
    void readMultiple(std::istream& head); // "MoveMultiple"
};

// The running sequence: one line per frame, a Move holding it until its movers have arrived.
struct SequenceRun {
    std::string name; // empty: none runs
    std::size_t line = 0;
    int wait = 0;
    bool moving = false;
    MoveEntry move;
};

class Scene {
public:
    Scene();
    ~Scene();
    Scene(const Scene&);
    Scene& operator=(const Scene&);

    // --- identity and kind ---
    std::string name;
    int type = SCENE_SCREEN;
    int miniGame = 0; // 0 walking scene, 1..6 the mini-games
    std::string music;
    std::string planet;
    std::string templateName;
    Point mazeCell{-1, -1};
    bool indoor = false;       // computed by the game shell
    bool alwaysIndoor = false; // "Indoor"
    int frameCounter = 0;
    // Full-size pixels; the view centres on the camera.
    Point camera;
    Point view;
    bool followView = false;
    Point focusTile;
    TilePosition marker;
    Point mapPos{-1, -1};
    std::string mapSceneName;
    bool playerControlHere = false;
    bool splitTeamScene = false;
    bool finalHQ = false;
    bool saveQuorvane = false;

    // --- backgrounds: Background, Background2, Foreground ---
    std::array<Background, 3> backgrounds;

    // --- tile grid ---
    std::vector<std::vector<int>> grid; // grid[x][y]: index into the Game's tile kinds
    std::map<char, int> legend;
    // "CornerReference": cell (0, 0) is the upper backdrop, never the ground.
    bool firstCellBackdrop = false;
    // "MixedGroundTexture": laid across the middle of the battle backdrop's ground.
    std::string mixedGroundTexture;
    // [0] blocks walkers, [1] flyers.
    std::array<std::set<Point>, 2> blocked;
    std::set<Point> blockedLocations;  // "SetBlockedLocations" cells
    std::set<Point> blockedHLocations; // BLOCKH tiles
    std::set<Point> tempBlocked;       // freed again at every entry
    std::set<Point> openedDoors;

    // --- people ---
    std::vector<int> persons;
    std::vector<int> persons2;            // members held apart while teams are split
    std::map<int, Point> placements;      // roster index (or MAIN_CHARACTER_KEY) -> tile
    Point entryTile;
    // Where a teleport into this scene puts the leader on its next entry; x = -1: none.
    Point arrivalTile{-1, -1};
    std::set<int> standSet;
    std::vector<int> joinList;
    std::set<Point> switchTeamTiles;
    std::set<Point> finishTeamSplitTiles;
    std::map<std::string, std::string> lovePairs;
    std::string mainPlayer;
    std::string entryMonologPerson;       // "PlayMonolog"
    std::vector<Point> quorvaneTiles;
    std::vector<Point> spareQuorvaneTiles;

    // --- exits ---
    std::map<Point, std::string> exits;
    std::map<Point, std::string> varExits; // tile -> STRVARS name of the destination
    std::map<Point, std::string> keyExits; // act on confirm while standing on the tile
    std::map<int, std::string> borderExits;
    std::map<Point, TeleportTarget> teleports;
    std::vector<Point> comeBackLocations;
    std::string anyKeyScene;
    bool hasRocketTravelPlace = false;
    Point rocketTravelPlace;
    std::vector<Point> rocketTravelTiles;
    std::map<Point, std::vector<std::string>> rocketDestinationLists;
    std::set<Point> extraRocketDoors;
    Point zweenyRocket{-1, -1};
    // The rocket-travel tile whose choice of destinations is open; x = -1: none.
    Point rocketMenuTile{-1, -1};

    // --- things placed ---
    std::vector<std::shared_ptr<BaseBuilding>> buildings;
    std::map<int, std::vector<Chest>> chests; // by row
    std::vector<Chest> pendingChests;         // "ChestNextEntry"
    // Opened chests the save file names on tiles where no chest stands yet.
    std::set<Point> openedChestRecords;
    std::map<int, std::vector<DroppedItem>> drops;
    std::map<int, std::vector<DropSite>> dropSites;
    std::set<int> pickedUpItems; // items picked up here at least once
    std::map<int, std::vector<Container>> containers;
    std::vector<SceneObject> objects;
    std::map<int, std::vector<int>> objectRows; // row -> indices into objects
    std::vector<SceneObject> objects2;
    std::map<int, std::vector<int>> objectRows2;
    std::vector<FlyingAnimation> flyingAnimations;
    std::map<int, std::vector<AnimatedObject>> animatedObjects; // by row
    std::map<int, std::vector<FrontObject>> frontObjects;       // by row
    std::map<int, std::vector<ShardPiece>> pieces;              // by row
    std::map<Point, std::vector<ShardPiece>> shardAnimations;   // shard displays by cell
    std::set<Point> shardRoomEntries; // cells whose shard display the shard room made
    std::vector<Point> shardRoomCells;
    WishingWell wishingWell;
    std::vector<std::shared_ptr<AlivePicture>> alivePictures;
    std::shared_ptr<Sokoban> sokoban;
    std::vector<std::shared_ptr<SpaceChapterGate>> gates;
    std::vector<MovingTeleporter> movingTeleporters;
    std::vector<Planet> planets;
    std::vector<Comet> comets;
    std::vector<Tunnel> tunnels;
    std::vector<Rect> energyFields; // they block both layers
    std::vector<Point> traps;
    std::set<Point> sleepLocations; // "SleepLocation": confirm there rests the party
    std::set<Point> torches;
    std::set<Point> shardMapTiles;
    std::set<Point> telescopeTiles;
    std::map<Point, std::string> zoomTiles; // tile -> picture (ZOOM, VIEW)
    std::map<Point, std::string> positionMessages; // "PositionMessage": shown on stepping there
    std::set<Point> shownMessages;                 // shown in this visit
    std::vector<Point> battlePositions;    // BATTLEPOS tiles, in map order
    std::vector<Point> battleDestinations; // BATTLEDEST tiles

    // --- light and weather ---
    SceneLight light;
    std::vector<SnowFlake> snow;
    std::vector<std::string> ambientSounds;

    // --- texts and scripts ---
    std::vector<SceneCondition> conditions; // If and IfOnce blocks in file order
    std::map<Point, std::vector<std::string>> triggers;
    std::set<Point> firedTriggers;
    StepQueue stepQueue;                      // arrow taps that came during a step
    std::map<std::string, std::vector<std::string>> sequences;
    SequenceRun sequence;
    std::map<int, Monolog> monologs;          // by roster index
    std::map<int, MonologSequence> dialogs;   // by roster index
    Monolog monolog;                          // the one playing
    MonologSequence dialog;                   // the one playing
    LongText message;                         // the pending message / message box
    LongText infoBox;
    std::string titleText;
    std::string titlePicture;                 // a Planets picture shown with the title
    std::vector<SceneText> texts;
    std::vector<ZoomAndTalk> zoomAndTalk;
    SceneCredits credits;
    bool advisorMenu = false;

    // --- battle ---
    Battle battle;           // the live battle
    Battle battleDefinition; // as the scene file or a script gave it
    std::shared_ptr<PartyExchangeMenu> exchangeMenu;
    bool exchangeMenuOpen = false;

    // --- Mandelbrot and the logic puzzle ---
    std::shared_ptr<Mandelbrot> mandelbrot;
    bool mandelbrotFullScreen = false;
    std::string mandelbrotSource;
    Point mandelbrotReturn{-1, -1};
    std::vector<Point> mandelbrotMaze; // "GenerateMandelbrotMaze"
    std::shared_ptr<EinsteinPuzzle> einstein;

    // --- city damage ---
    bool damaged = false;
    std::string damagedMusic;
    std::string intactMusic;
    std::vector<FlyingAnimation> setAsideFlying;
    std::map<char, char> damageTable;

    // --- the steered rocket ---
    Flame flame;

    // ===== loading (SceneLoad.cpp) =====
    // Reads a scene file; returns the object picture names the scene uses.
    std::set<std::string> load(const std::string& path);
    // The same from text already in memory; path only names the file in messages.
    std::set<std::string> loadText(const std::string& text, const std::string& path = "");
    std::set<std::string> backgroundAnimationNames() const;

    // ===== small services (Scene.cpp) =====
    int mapWidth() const;
    int mapHeight() const;
    Point mapSize() const { return {mapWidth(), mapHeight()}; }
    bool isInside(Point cell) const;
    bool isOutsideGrid(Point cell) const { return !isInside(cell); }
    bool isBlocked(Point cell, bool flying) const;
    bool isCellFree(Point cell, int layer) const;
    const TileKind& tileKindAtCell(int x, int y) const;
    // The flag that stops light: the cell's kind blocks.
    bool cellTileFlag(Point cell) const;
    Point findFreeTile(Point pixel) const;
    void placeAtFreeTile(Point pixel);
    Point viewOffset(Point centre) const;
    void dropItem(int item, Point tile, bool onTable);
    void dropItemNear(int item, Point tile);
    void rebuildCharacterList(const std::set<int>& items);
    std::string groundTileKind() const;
    void joinCharacter(const std::string& characterName);
    void obtainShard(const std::string& shardName);
    void removeLightTile(Point tile);
    void setContainerContents(const std::string& contentName);
    void setPet(const std::string& pet);
    // The logic puzzle on entry: a new puzzle, the houses coloured and their doors routed, the
    // pet and the fruit set in Fulano's house.
    void posePuzzle();
    // Shows the puzzle's clues when the tile is its clue tile; false otherwise.
    bool useClueTile(Point tile);
    void scanBlockedNeighbours();
    void syncBlockedCells(const std::set<Point>& cells);
    void unblockCell(Point tile);
    // The whole "GenerateMaze" statement after its checks: carve, wall and open the exits.
    void generateMaze_(Point a, Point b, const std::string& wall, char second,
                       const std::string& exits, bool flag);
    // One wall of a maze: a wall object on the tile and the tile blocked (for flyers too unless
    // keepOutOfSecond).
    void addWall(Point tile, const std::string& wall, bool keepOutOfSecond);
    // The destinations a rocket-travel tile offers now, by running number (the column they are
    // drawn in). A tile without a destination list is fatal.
    std::map<int, std::string> rocketDestinations(Point tile) const;
    // The chest on a tile, or null.
    Chest* chestAt(Point tile);
    // The building whose door is on the tile, or null.
    BaseBuilding* buildingWithDoor(Point tile) const;
    // A person of the person list standing on (or walking to) the tile; NO_INDEX when none.
    int personAt(Point tile) const;
    void addPerson(int index);
    void removePerson(int index);
    // Sets a grid cell to the legend entry of a character (fatal when the legend lacks it).
    void setCell(Point cell, char tileChar, int assertLine);

    // ===== entering (SceneEnter.cpp) =====
    void enter(const std::string& previousSceneName);

    // ===== scripts (SceneScript.cpp) =====
    void runScript(const std::vector<std::string>& lines);
    // Each statement of a script in turn: its word, the rest of its line, and the script, from
    // which a statement that opens a block reads its lines on.
    static void forEachStatement(const std::vector<std::string>& lines,
                                 const std::function<void(const std::string& word, std::istream& args, std::istream& script)>& statement);
    void runIfBlocks();
    void toggleCityDamage();
    // One line of the running sequence; false when no sequence runs.
    bool runSequenceStep();
    void startSequence(const std::string& sequenceName);

    // ===== the walking scene (SceneUpdate.cpp) =====
    void update(sf::RenderWindow* window);
    // Whether a text box of the scene takes the frame.
    bool textBoxActive() const;
    // Starts a battle a script armed, runs the live battle's frame; true when the battle takes
    // the frame (SceneBattle.cpp).
    bool updateBattle();

    // ===== save record (SceneState.cpp) =====
    SceneState buildState() const;
    void save(std::ostream& out) const;
    void restoreState(const SceneState& state);

    // ===== Mandelbrot pictures, block pushing and living pictures =====
    // The picture of the source scene over the return tile (fatal when the source is missing).
    void populateMandelbrotCache();
    void populateMandelbrotCacheFrom(const std::string& source, Point tile);
    // Walls, blocked cells and the special-scene teleport of a numbered maze level.
    void rebuildMandelbrotLevel();
    // Walking off an open side of a maze level onto the neighbouring cell; true when it did.
    bool crossMandelbrotBorder(Direction d);
    // The statements of these three; false when the word is none of them.
    bool readPictureStatement(const std::string& word, std::istream& head,
                              std::set<std::string>& names);
    // After the whole file: the picture sized to the grid, its colours and its cache.
    void finishPictureLoad();
    // A picture the size of this scene's map must fit the range table's "Mandelbrot picture"
    // row; fatal, naming the scene and the size, when it does not.
    void checkMandelbrotPictureSize() const;
    // Entry steps: the level rebuilt from its source, then the dense cells blocked.
    void enterMandelbrotLevel();
    void blockDenseCells();
    // Per frame: colour rotation, the map position, the puzzle and the gazes.
    void updatePictures();
    void drawMandelbrotGround(sf::RenderTarget& window, Point V);
    void drawPicturesRow(sf::RenderTarget& window, Point V, int row, bool livingPictures);
    void drawMandelbrotMap(sf::RenderTarget& window);
    // Mandelbrot "Location" and colours as read, before the grid sizes the picture.
    bool mandelbrotRead = false;

    // ===== drawing (scene visuals) =====
    void draw(sf::RenderWindow& window);
    // Whether draw() fills the whole window before anything else shows (its backdrop, or the
    // opaque ground of a walking scene), so that nothing drawn before it shows.
    bool drawFillsWindow(const sf::RenderWindow& window) const;
    void drawBattleBackdrop(sf::RenderTarget& window, Rect frame);

private:
    // Loader pieces.
    void readMap(std::istream& file, int& lineNumber);
    // One scene-file statement: the file's own, a building, a picture's or a script statement,
    // in that order of precedence; any other word is fatal.
    void readStatement(const std::string& word, std::istream& head, std::istream& file,
                       int& lineNumber, std::set<std::string>& objectNames);
    void addConditionBlock(const std::string& header, bool once, std::istream& file,
                           int& lineNumber);
    // One script statement; false when the word is no script command.
    bool runCommand(const std::string& word, std::istream& args, std::istream& block);
    // The handlers of the scene file's own statements (SceneLoad.cpp) and of the script
    // statements (SceneScript.cpp), each with its table from statement word to handler.
    struct FileStatement;
    struct ScriptStatement;
    // Update pieces.
    void updateLeader(sf::RenderWindow* window);
    void arriveOnTile(Point tile);
    void useFacedTile();
    void updateSequenceMovers();
    // The next cell of a scripted walk: routed around blocked cells and people, straight on
    // when no route exists (SceneBattle.cpp).
    Point routedStep(int who, Point destination);
    void updateZoomAndTalk();
    void updateAdvisor();
    void raiseReserveLevels();

    // Per-tile-character records of the legend, placed on the map's cells after it is read.
    struct LegendRecord {
        std::string keyword;
        std::string argument;
    };
    std::map<char, std::vector<LegendRecord>> legendRecords_;
};

// "WEST" 0, "EAST" 1, "NORTH" 2, "SOUTH" 3, any other word NORTH.
Direction parseDirection(const std::string& word);

// The roster index of a person a scene file or script names ("<MAIN>" is the main character);
// a name not in the roster stops the game at the line that names it.
int personIndex(const std::string& name, int line, const std::string& suffix = "");
