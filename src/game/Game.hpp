// The single object that holds a running game: the scenes and which one is current, the shared
// tile-kind table, the frame's input flags, the shell's pauses, dialogs and menus, the game
// variables, the shard tables, the settings and the maps that tie scenes to planets.
#pragma once

#include "characters/Character.hpp"
#include "foundation/main.hpp"
#include "game/NewGameScreen.hpp"
#include "game/OptionMenu.hpp"
#include "game/PartyMenu.hpp"
#include "game/TileKind.hpp"
#include "scenes/Background.hpp"
#include "scenes/Objects.hpp"
#include "scenes/SceneState.hpp"

#include <SFML/Graphics/Color.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace sf {
class RenderWindow;
class RenderTarget;
} // namespace sf

class Scene;
struct MiniGames;
struct GameSaveRecord;

// ---------------------------------------------------------------------------------------------
// The scenes, addressed by index. Elements never move once added: a scene may append planets
// while one of its own operations is running.

class SceneList {
public:
    SceneList();
    ~SceneList();
    SceneList(const SceneList&) = delete;
    SceneList& operator=(const SceneList&) = delete;

    long long size() const;
    bool empty() const { return size() == 0; }
    // Unchecked like a vector's; use at() for a range-tested access.
    Scene& operator[](long long index);
    const Scene& operator[](long long index) const;
    // An index outside the list is the fatal assertion (Game 495, "Scene").
    Scene& at(long long index);
    Scene& back();
    // Appends a default-constructed scene and returns it.
    Scene& addScene();

    class iterator {
    public:
        iterator(SceneList* list, long long i) : list_(list), i_(i) {}
        Scene& operator*() const { return (*list_)[i_]; }
        Scene* operator->() const { return &(*list_)[i_]; }
        iterator& operator++() { ++i_; return *this; }
        bool operator!=(const iterator& o) const { return i_ != o.i_; }
        bool operator==(const iterator& o) const { return i_ == o.i_; }
        long long index() const { return i_; }

    private:
        SceneList* list_;
        long long i_;
    };
    iterator begin() { return {this, 0}; }
    iterator end() { return {this, size()}; }

private:
    struct Store;
    std::unique_ptr<Store> store_;
};

// ---------------------------------------------------------------------------------------------
// Input

// The frame's input flags, set once per frame before any consumer runs.
struct InputFlags {
    bool upHeld = false, downHeld = false, leftHeld = false, rightHeld = false;
    bool confirm = false, back = false, menu = false, action = false;
    bool upPressed = false, downPressed = false, leftPressed = false, rightPressed = false;
    // Space, left Control, button 2 or button 1 present this frame.
    bool confirmOrBackHeld = false;
    // Carried into the next frame: blocks its commands.
    bool commandKeyHeld = false;
    // Carried into the next frame: blocks its direction edges.
    bool directionHeld = false;
};

// Joystick 0 as the frame update reads it: axes from -100 to 100, buttons 0 to 3.
struct JoystickState {
    float axisX = 0;
    float axisY = 0;
    bool buttons[4] = {false, false, false, false};
};

class JoystickSource {
public:
    virtual ~JoystickSource() = default;
    virtual JoystickState read() = 0;
};

// The real joystick 0 through SFML (all released when none is connected).
class SfmlJoystick : public JoystickSource {
public:
    JoystickState read() override;
};

// SFML key codes the shell reads.
namespace keys {
constexpr int Z = 25, X = 23, Escape = 36, LControl = 37, Space = 57, Tab = 60, Left = 71,
              Right = 72, Up = 73, Down = 74, F1 = 85;
}

// Who took the frame in the last update.
enum class FrameConsumer {
    NONE,
    CONFIRM_DIALOG,
    CHARACTER_VIEW,
    CHOICE_BOX_1,
    CHOICE_BOX_2,
    CHOICE_BOX_3,
    SETTINGS,
    PARTY_MENU,
    SHARD_MAP,
    TELESCOPE,
    SLEEP,
    DELAYED_SWITCH,
    PICTURE_VIEW,
    ROCKET_FLIGHT,
    SYSTEM_TRAVEL,
    WALKING_SCENE,
    MINI_GAME
};

// ---------------------------------------------------------------------------------------------
// The full-screen views and travel states that the Game holds. Their frames and drawing belong
// to the mini-games and space code; the Game sets them up and resets them on entry.

struct ShardMap {
    bool shown = false;
    Background background;
    std::vector<std::string> shardNames{"RitPliar", "Cave",     "Forest", "Water", "Air",
                                        "Fire",     "Princess", "Moon",   "Sun",   "Rainbow"};
    int selected = -1; // -1 (none) to 9

    void draw(sf::RenderWindow& window);
};

struct TelescopeView {
    bool shown = false;
    Background background;

    void draw(sf::RenderWindow& window);
};

struct RocketFlight {
    // The first a drifting space field, the second of background kind 6.
    Background space;
    Background clouds;
    int phase = 0;
    int frameCounter = 0;
    int angle = 0; // degrees
    int offsetX = 0;
    int offsetY = 0;
    int speed = 100; // the length of each phase in frames

    // Draws rand() four times: the drift of the space field, then the angle.
    RocketFlight();
    // On entering the rocket-flight scene.
    void reset();
    // Phase 0 leaves ORIGIN, 1 is the porthole, 2 arrives at FLIGHT and lands there.
    void update(sf::RenderWindow* window);
    void draw(sf::RenderWindow& window);
};

struct SystemTravel {
    int frameCounter = 0;
    Background sky;
    Flame rocket;
    int length = 300;
    int progress = 0;
    Point centre{960, 540};
    int direction = 2;
    int step = 1;

    // On entering the star-system travel scene.
    void reset();
    void update();
    void draw(sf::RenderWindow& window);
};

// A passage of the generated 3D maze: a cell and its depth.
struct MazeNode {
    Point cell;
    int depth = 0;
    bool operator<(const MazeNode& o) const {
        return cell != o.cell ? cell < o.cell : depth < o.depth;
    }
    bool operator==(const MazeNode&) const = default;
};

struct MazePlacement {
    int x = 0;
    int y = 0;
    int level = 0;
    bool operator<(const MazePlacement& o) const {
        if (x != o.x) return x < o.x;
        if (y != o.y) return y < o.y;
        return level < o.level;
    }
    bool operator==(const MazePlacement&) const = default;
};

// ---------------------------------------------------------------------------------------------

class Game {
public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // --- scenes ---
    SceneList scenes;
    long long currentScene = 0;
    long long previousScene = 0;
    bool gameFinished = false;
    std::vector<TileKind> tileKinds;
    bool normalZoom = true;

    // --- input ---
    InputFlags input;
    std::unique_ptr<JoystickSource> joystick; // SfmlJoystick unless a test installs another
    FrameConsumer lastConsumer = FrameConsumer::NONE;

    // --- pauses ---
    bool sleeping = false;
    int sleepFrame = 0;
    int sleepFrames = 150;
    int sleepFadeFrames = 100;
    bool switchPending = false;
    int switchFrame = 0;
    int switchDelayFrames = 10;
    std::string pendingScene;
    std::string viewedPicture;
    int pictureFrame = 0;
    int pictureMinFrames = 10;
    bool pictureShown = false;

    // --- full-screen views ---
    ShardMap shardMap;
    TelescopeView telescope;

    // --- the "Are you sure?" dialog ---
    bool confirmShown = false;
    std::function<void()> confirmAction;
    bool confirmYes = false; // kept from one question to the next
    std::string confirmQuestion;

    // --- settings ---
    bool settingsOpen = false;
    int settingsRow = 0;
    bool autoDistributeWeapons = true;
    bool autoDistributeFood = true;
    int targetFps = 30;
    int chapter = 1;
    std::uint32_t frameCounter = 0;
    int shownCharacter = NO_INDEX;
    // The Settings panel's animation (the party menu places it): "arara" at (1280, 720).
    AnimatedObject settingsAnimation;
    // Roster index -> locked slots (0 weapon, 1 first accessory, 2 second accessory).
    std::map<std::uint64_t, std::set<int>> equipmentLocks;
    Character viewedCharacter;

    // --- planets and shards ---
    std::map<std::string, std::string> landingScenes;
    std::map<std::string, std::string> SHARDLOCATION;
    RocketFlight rocketFlight;
    SystemTravel systemTravel;
    std::map<std::string, int> SHARDS{{"RitPliar", 1}};
    int difficulty = 1;
    std::string playerName = "Wanderer";
    std::map<std::string, std::string> scenePlanets;
    std::set<std::string> loadedPlanets;
    std::map<std::string, SceneState> savedScenes;
    // Character name -> saved description, for characters of planets not loaded yet.
    std::map<std::string, std::string> storedCharacterLines;
    std::string LASTSHARD = "None";
    // The owned mini-game objects (GuessNumber, SalomaoGame, Cobrinha, GuessFlag, Taco).
    std::shared_ptr<MiniGames> miniGames;
    std::set<std::pair<MazeNode, MazeNode>> mazeCells;
    MazePlacement shardPlacement;
    std::map<MazePlacement, std::string> mandelbrotPlacements;
    std::map<std::string, int> mandelbrotScenes{{"MandelbrotShardScene", 3},
                                                {"MandelbrotCompassScene", 1},
                                                {"MandelbrotGreenPowder", 2},
                                                {"MandelbrotPotions", 2},
                                                {"MandelbrotBeefLiver", 2}};

    // The window the Game draws into and loads planets with (set by init).
    sf::RenderWindow* window = nullptr;

    // --- game variables ---
    std::map<std::string, std::string> STRVARS;
    std::map<std::string, std::set<std::string>> SETVARS;
    std::set<std::string> BOOLVARS;
    bool isBoolVarSet(const std::string& name) const;
    bool hasSetVar(const std::string& name) const;
    // An empty set when absent (nothing is inserted).
    const std::set<std::string>& getSetVar(const std::string& name) const;
    void addToSetVar(const std::string& name, const std::string& word);
    void setStrVar(const std::string& name, const std::string& value);
    std::string getStrVar(const std::string& name) const;
    void clearStrVar(const std::string& name);
    int shardState(const std::string& name) const;
    // A won mini-game's flag (saved with BOOLVARS); adding it again changes nothing.
    void addFlag(const std::string& name);
    void obtainShard(const std::string& name);
    // A planet missing from the table is fatal (Game 512).
    std::string landingScene(const std::string& planet) const;

    // --- scene lookups ---
    // -1 when no scene has the name; the first of equal names wins.
    long long findScene(const std::string& name) const;
    // A name no scene has is fatal (Game 344).
    Scene& sceneByName(const std::string& name);
    Scene& current();

    // --- input, music and small dialogs ---
    bool isNormalZoom() const { return normalZoom; }
    void toggleZoom();
    bool confirmPressed() const { return input.confirm; }
    bool anyKey() const;
    void pauseSceneMusic();
    void resumeSceneMusic();
    void askAreYouSure(std::function<void()> action, const std::string& question);
    void showMessage(const std::string& text);
    void showCharacter(int rosterIndex);
    void sleep();
    // A trap's answer: "Ouch", and the party leader goes back to the tile it came from (the
    // scene's entry tile when it has not moved yet).
    void bumpBack();

    // --- tile kinds ---
    int addTileKind(const TileKind& kind);
    // An index outside the table is fatal (Game 285).
    const TileKind& tileKindAt(long long index) const;

    // --- frame ---
    void update(const std::vector<int>& keyCodes, sf::RenderWindow* window);
    // What would keep a key pressed now from acting ("walking", "typing", ...), or "ready".
    const char* inputWait();
    // The game's picture over what the window shows.
    void draw(sf::RenderWindow& window);
    // A whole frame, from a black window: what the frame loop draws.
    void drawFrame(sf::RenderWindow& window);

    // --- start-up ---
    void init(sf::RenderWindow* window);
    void readGameFile(sf::RenderWindow* window, float fraction);
    // The folder "Game": its scene files loaded, its planet folders scanned for scene names, then
    // the object pictures and background animations those scenes name.
    void loadGameFolder(sf::RenderWindow* window);
    void createTravelScenes();
    // The five owned mini-games, in the order of their random draws.
    void createMiniGames();
    // One frame of the mini-game of that kind; false when it has ended.
    bool updateMiniGame(int kind, const std::vector<int>& keyCodes);
    void drawMiniGame(sf::RenderTarget& window, int kind);

    // --- scene switching and planets ---
    // True when the switch happened now, false when it waits for the 10-frame delay. The window
    // may be null: the Game then loads planets with its own.
    bool gotoScene(std::string name, bool immediate, sf::RenderWindow* window);
    void switchScene();
    void loadPlanet(const std::string& planet, sf::RenderWindow* window);
    void finishPlanetLoad();
    void gotoPreviousScene();

    // --- chapters and planet generation ---
    // The scene to switch to when the chapter has ended; empty otherwise.
    std::string checkChapterEnd();
    void generatePlanet(sf::RenderWindow* window, float fraction, const std::vector<Point>& points,
                        long long sceneIndex);
    // The nodes of depths 1 and 2 over the cells that the search from the start points missed.
    std::vector<MazeNode> generate3DMaze_(const std::vector<Point>& cells, int unused,
                                          const std::vector<Point>& starts);
    void prepareMadScientist(Scene& scene);
    std::string shardCoordsHint();

    // --- character view: drawn while shownCharacter is not NO_INDEX ---
    void drawCharacterView(sf::RenderWindow& window);

    // --- the party menu and quest advice ---
    PartyMenu partyMenu;
    // Adds the slot to the member's locked slots, or removes it when it is there.
    void toggleEquipmentLock(std::uint64_t rosterIndex, int slot);
    // One hint sentence from the story state; reads only.
    std::string getAdvice() const;

    // --- choice boxes and the new-game screen ---
    OptionMenu box1;
    OptionMenu box2;
    OptionMenu box3;
    NewGameScreen newGameScreen;

    void openChoiceBox1(const std::vector<std::string>& options, bool resetSelection,
                        sf::Color colour);
    void openChoiceBox2(const std::vector<std::string>& options, bool resetSelection);
    void openChoiceBox3(const std::vector<std::string>& options, bool resetSelection);
    void chooseMember();
    OptionMenu& choiceBox1() { return box1; }
    OptionMenu& choiceBox2() { return box2; }
    OptionMenu& choiceBox3() { return box3; }
    std::string choiceBox1Selection() const { return box1.selectedText(); }
    std::string choiceBox2Selection() const { return box2.selectedText(); }
    std::string choiceBox3Selection() const { return box3.selectedText(); }
    void closeChoiceBox2();
    // Gives the frame to the first active choice box (1, 2, 3); returns its number, 0 for none.
    int updateChoiceBoxes();
    // Draws the active boxes, box 3 on top.
    void drawChoiceBoxes(sf::RenderTarget& window);

    // --- saves ---
    // "SaveGames//<player>//people.save" and "...//game.save".
    std::string peopleSavePath() const;
    std::string gameSavePath() const;
    // Writes both files, each to a temporary file beside it that is flushed to disk and then
    // renamed over the old one. False (and a console line) when a file could not be written;
    // the old pair then stays as it was.
    bool saveGame();
    // Set while the party leaves a lost battle through its exit; the scene it enters then saves
    // nothing.
    bool leavingLostBattle = false;
    // Finishes, in a save folder, a save that was stopped between its two renames, and removes
    // the temporaries of a save stopped earlier. Loading and listing the saves call it.
    static void completeInterruptedSave(const std::string& folder);
    void writePeopleSave(std::ostream& out) const;
    void writeGameSave(std::ostream& out);
    // False, with the reason in `damage`, when the save does not read whole; the running game is
    // then left as it was.
    bool loadGame(sf::RenderWindow* window, std::string* damage = nullptr);
    void readGameSave(const std::string& path, sf::RenderWindow* window, float overall);
    void applyGameSave(const GameSaveRecord& record, sf::RenderWindow* window, float overall);

private:
    void shardBookkeeping();
    void mapInput(const std::vector<int>& keyCodes);
    void updateSettings();
    void updateSleep();
    void serveTab();
    // True when a mini-game ended this frame.
    bool runSceneFrame(const std::vector<int>& keyCodes, sf::RenderWindow* window);
    void drawConfirmPanel(sf::RenderWindow& window);
    void drawSettingsPanel(sf::RenderWindow& window);
};

// The joystick axis bound beyond which a direction is on (the bound itself is off).
constexpr float JOYSTICK_THRESHOLD = 90.0f;
