// One plain record for every party member, townsperson and enemy, held by value in the roster
// and addressed elsewhere by roster index. No textures live here: the drawing asks the resource
// store by name, so the rules can be used without a window.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

#include <array>
#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace sf {
class RenderTarget;
class Texture;
} // namespace sf

// The eighteen figures (0 to 17). The numbers are stored in files and compared by callers.
enum class CharacterType : int {
    NORMAL = 0,
    MONSTER = 1,
    FAIRY = 2,
    GHOST = 3, // its battle attack is energy rings
    SNAKE_LR = 4,
    HOIST = 5,
    FLYROBOT = 6,
    CAT = 7,
    DRAGON = 8,
    BAT = 9,
    SKELETON = 10,
    TOWER = 11,
    R2ROBOT = 12, // its laser is blue
    TORNADO = 13,
    SAUCER = 14,
    OCTOPUS = 15,
    IMAGE = 16, // a picture of the Bodies folder named by BODY
    SLIME = 17,
};
constexpr int CHARACTER_TYPE_COUNT = 18;

// "TYPE" words, index = type number.
const std::vector<std::string>& characterTypeNames();
// -1 when the word names no type.
int characterTypeFromName(const std::string& word);

// BEH: how an enemy chooses between attacking and keeping away.
enum class Behaviour : int { AGRESSIVE = 0, MODERATE = 1, DEFENSIVE = 2 };

// TOG: scales the points given to setLevel.
enum class Toughness : int { NONE = 0, VERYEASY, EASY, MEDDIUM, HARD, BIGBOSS, BIGBIGBOSS, FINALBOSS };

// MOVESTYLE: the pattern code handed to pointsAround.
enum class MoveStyle : int { NORMAL = 0, PAWNSOUTH = 1, KNIGHT = 2, BISHOP = 3, ROOK = 4, QUEEN = 5 };

// The arrows of one frame, for a character walked by the player.
struct WalkInput {
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
};

// Flags of Character::move.
enum MoveFlags : unsigned {
    MOVE_NONE = 0,
    MOVE_IGNORE_BLOCKED = 1, // walks through blocked cells (scripted moves)
};

struct Character {
    // --- identity ---
    CharacterType type = CharacterType::NORMAL;
    std::string name;
    std::string className;
    std::string personality;
    int level = 1;
    // Indexed by Stat. stats[XP] is the experience; DMG and DEF are derived (see getStat).
    // Equipped items' bonuses are included: the base value is the stat less those bonuses.
    std::array<int, STAT_COUNT> stats{0, 0, 0, 0, 0, 0, 1, 0, 10, 0, 10, 0, 0, 0};

    // --- place and walking ---
    Point tile;
    Point targetTile;
    Point previousTile;
    Point pixel; // full-size pixels, normally tile * TILE_SIZE
    bool walking = false;
    bool wandering = false;
    Direction facing = SOUTH;
    Direction previousFacing = SOUTH;
    bool showBack = false;
    int walkingLayer = 0;        // which blocked set applies (0 or 1)
    Point fixedPosition{-1, -1}; // x = -1: none
    int lovePartner = NO_INDEX;
    MoveStyle moveStyle = MoveStyle::NORMAL;

    // --- animation ---
    int frame = 0;
    int frameTick = 0;
    // Saved show-back flag and frame while the figure is drawn into a box.
    unsigned char spareShowBack = 0;
    int spareFrame = 0;
    // Where the last draw put the figure's centre and (NORMAL type) its weapon hand, in pixels.
    sf::Vector2f drawnCentre;
    sf::Vector2f weaponPoint;

    // --- appearance ---
    std::string photo; // a Faces picture
    bool hasPhoto = false;
    sf::Color color{70, 110, 200};  // clothes / main body colour
    sf::Color skin{240, 200, 160};
    sf::Color hair{90, 60, 30};
    sf::Color eyeColor{40, 40, 40};
    std::string body; // a Bodies picture (IMAGE type)
    std::string hat;  // a Hats picture, empty for none
    int mouth = 0;    // a mouth number of the resource store
    float size = 1.0f;
    bool flying = false;
    bool flyingNoWings = false;
    bool noTransp = false;

    // --- belongings ---
    std::map<int, int> inventory; // item index -> count
    int weapon = NO_ITEM;
    int accessory1 = NO_ITEM;
    int accessory2 = NO_ITEM;
    std::set<std::string> potions;
    std::string selectedPotion;
    sf::Color potionColor{255, 255, 255};
    // Character level at which a spell is known -> spell name -> spell level.
    std::map<int, std::map<std::string, int>> spellsByLevel;
    std::vector<std::string> objectsInSac; // OBJINSAC words
    std::string objectToThrow;             // thrown-object picture names contain this word
    int throwObjectNumber = 1; // thrown-object pictures are numbered from 1

    // --- battle ---
    bool mayAttack = true;
    Behaviour behaviour = Behaviour::AGRESSIVE;
    Toughness toughness = Toughness::NONE;
    int battleMode = 0; // 0 idle, 1 acting, 2 after the hit
    bool casting = false;
    // Set by SAVED in a character's definition or its people.save line: its stats are final, so
    // a battle does not level it (a practice battle still does).
    bool savedGameInitialised = false;

    Character() = default;
    explicit Character(std::string name_) : name(std::move(name_)) {}

    // --- file format ---
    // Applies the keyword and value pairs of a description (the rest of a "Character <name>"
    // line, from a character file or people.save) to this character. Stat keywords give base
    // values; equipment bonuses are applied on top once the line is read. An unknown keyword is
    // fatal.
    void readDefinition(std::istream& in);
    // "Character <name> TYPE ..." without a line end; readDefinition reads it back. SAVED is
    // written only where the definition set it: a save comes between battles, and a line that
    // marked everyone settled would keep a resumed game's enemies at their file stats.
    void writeSave(std::ostream& out) const;

    // --- place and walking ---
    void setTilePosition(Point t);
    void setFacing(Direction d);
    void startMoveTo(Point t);
    // One frame of walking: 20 pixels toward the target tile. With input (non-null) and the
    // character standing on its tile, the arrows choose the next cell; a cell outside the grid
    // (gridSize columns x rows) or in either blocked set is refused, the character only turning.
    // Returns true while the character is still between tiles.
    bool move(const WalkInput* input, Point gridSize, const std::set<Point>& blocked,
              const std::set<Point>& extraBlocked, unsigned flags = MOVE_NONE);
    // Per-frame animation tick and frame advance.
    void update();

    // --- stats ---
    int getStat(Stat s) const;
    void addStat(Stat s, int amount);
    // "STR", "DEX", "SPD", "WIS", "AMR", "SHL", "MOB", "HP", "MP", "MAXHP", "MAXMP"; -1 otherwise.
    int getStatByName(const std::string& statWord) const;
    void spendMP(int amount);
    // Adds experience; at 101 or more the level rises and experience restarts at 0.
    // Returns the level-up lines.
    std::vector<std::string> gainExperience(int amount);
    // Whether experience can raise this character: it has levels and its class has a level
    // table (monsters, robots and towers have neither).
    bool canGainLevels() const;
    // Raises a character that can gain levels to at least the level, in steps of 100
    // experience; any other character stays as it is. Returns the level-up lines.
    std::vector<std::string> raiseToLevel(int target);
    // Rolls the stats anew from points (difficulty and toughness scaled); worn items' bonuses
    // stay on top. The flag is ignored and the level field is left alone.
    void setLevel(int points, bool flag = false);
    // +2 to the class's primary stat, +1 to its secondary, HP and MP refilled. A class missing
    // from the class tables is fatal.
    void levelUp();

    // --- battle rules ---
    int getAttack() const;
    float weaponFactor() const;
    int getAttackRange() const;
    bool hasLevel() const;
    bool isRobot() const;
    bool isThrower() const;
    bool knowsSpells() const;
    // (spell name, spell level) for every character level up to the current one.
    std::vector<std::pair<std::string, int>> availableMagic() const;
    void selectPotion(const std::string& potionName);
    // Applies a spell of the spell repository from caster to target.
    static void monsterAction(Character& caster, const std::string& spell, int spellLevel,
                              Character& target, bool first);

    // --- items ---
    // Adds sign x each bonus of the item to the stats, then keeps HP and MP within their maxima.
    void applyItemStats(int item, int sign);
    void equipWeapon(int item, bool moveStock);
    // The exchange of equipWeapon for slot 1 or 2 (slot 0 is the weapon itself).
    void equipAccessory(int slot, int item, bool moveStock);
    // 0 weapon, 1 first accessory, 2 second accessory.
    int& slot(int which);
    int slot(int which) const;
    std::vector<int> equippedItems() const;
    void addItemCount(int item, int n);
    // Uses a usable item (learning scripts included). Returns true. message receives the
    // learning message when there is one.
    bool useScript(int item, std::string* message = nullptr);
    // The stats less the bonuses of the equipped items.
    std::array<int, STAT_COUNT> baseStats() const;
    // stats := base plus the bonuses of the equipped items, HP and MP kept within their maxima.
    void setFromBaseStats(const std::array<int, STAT_COUNT>& base);

    // --- texts ---
    std::string titleText() const;
    std::string hpText() const;
    std::string mpText() const;

    // --- drawing (CharacterDraw.cpp) ---
    // The figure stands on the size x size square at topLeft and reaches size / 2 above it
    // (scaled by sizeFactor). tint is subtracted from the figure's colours and its alpha fades
    // it; the halo is a ring drawn when SHL is above 0. A type outside 0-17 is fatal.
    void draw(sf::RenderTarget& target, Point topLeft, float drawSize, sf::Color tint, bool halo);
    // At pixel * displayTileSize / TILE_SIZE - view, with size displayTileSize, when that lies
    // within the window widened by 120 pixels.
    void drawIfVisible(sf::RenderTarget& target, Point view, int tintAlpha = 0, bool halo = false);
    float sizeFactor() const;
    void pickRandomThrowObject();
    const sf::Texture& throwObject() const;
    sf::Color throwObjectColor() const;
};

// The roster entry drawn into a box: its face when it has a photo, else its front figure at
// frame 1 filling the box's height.
void drawCharacterInBox(sf::RenderTarget& target, int index, sf::Vector2f boxPosition,
                        sf::Vector2f boxSize);

// A large monster (the battle's LargeMonster record) standing over several cells: one animation,
// sliced into rows so that each row is drawn between the scene's rows. Its width and height in
// cells are those of its covered cells (relative to its base), else the loader's pair.
struct LargeMonster;
struct CompositeMonster {
    // Draws row `row` (0 = top) of the record's current frame, faded by alpha.
    static void draw(const LargeMonster& record, sf::RenderTarget& target, Point view, int row,
                     int alpha);
    // Width and height in cells.
    static Point extent(const LargeMonster& record);
};
