// The resource store: every picture, font, music and sound of the "Resources" tree, loaded once
// and served by name. A missing name stops the game; only a missing sound is silently ignored.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>

#include <array>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// The text before the first "." of a file name; the whole name when it has none.
std::string fileStem(const std::string& fileName);

struct SoundRecord {
    sf::SoundBuffer buffer;
    sf::Sound sound;
};

// A tile texture's name (without "_zoomOut") and the drawn tile size its sprite is scaled to.
struct TileSpriteKey {
    std::string name;
    int width = 0;
    int height = 0;

    bool operator<(const TileSpriteKey& o) const {
        if (width != o.width) return width < o.width;
        if (height != o.height) return height < o.height;
        return name < o.name;
    }
};

struct ColorLess {
    bool operator()(const sf::Color& a, const sf::Color& b) const {
        if (a.r != b.r) return a.r < b.r;
        if (a.g != b.g) return a.g < b.g;
        if (a.b != b.b) return a.b < b.b;
        return a.a < b.a;
    }
};

using TextureMap = std::map<std::string, sf::Texture>;
using AnimationMap = std::map<std::string, std::vector<sf::Texture>>;

// Gives the music name of a scene (battle false) or of that scene's live battle (battle true).
// The store knows no scenes: the game installs the lookup every new store starts with (one that
// asks the global Game, whose assertion stops on an unknown scene) before main runs, in
// src/game/Globals.cpp.
using SceneMusicLookup = std::function<std::string(const std::string& sceneName, bool battle)>;
// Returns the lookup it replaces.
SceneMusicLookup setDefaultSceneMusicLookup(SceneMusicLookup lookup);

// How the loaders show their progress: overall fills the lower bar, fileFraction (the current
// step) the upper one. The game installs its loading screen here before main runs; without one,
// loading shows nothing. Returns the one it replaces.
using LoadingProgress =
    std::function<void(sf::RenderWindow* window, float overall, float fileFraction)>;
LoadingProgress setLoadingProgress(LoadingProgress show);

class Resources {
public:
    Resources();
    // Also gives back what the drawing shortcuts kept of its pictures.
    ~Resources();
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    // --- the stored resources (node-based maps: links into them stay valid) ---
    std::map<std::string, sf::Font> fonts;
    std::map<std::string, sf::Music> musics;
    TextureMap objects;
    std::map<const sf::Texture*, sf::Texture> halfSizes; // made from the pictures kept above
    TextureMap textures;
    TextureMap gems;
    TextureMap houseSigns;
    TextureMap buildings;
    TextureMap slashes;
    TextureMap hats;
    TextureMap stuffToThrow;
    TextureMap story;
    TextureMap planets;
    TextureMap items;
    TextureMap misc;
    TextureMap skillIcons;
    TextureMap battleBackgrounds;
    TextureMap magic;
    TextureMap stf;
    TextureMap faces;
    TextureMap bodies;
    std::map<TileSpriteKey, sf::Sprite> tileSprites;
    AnimationMap animations;
    AnimationMap backAnimations;
    TextureMap flags;
    std::map<int, sf::Texture> mouths;
    std::vector<int> mouthNumbers;
    std::map<int, sf::Texture> monsterMouths;
    std::vector<int> monsterMouthNumbers;
    // Index 1 the left wing, index 0 the other.
    std::array<sf::Texture, 2> monsterWings;
    sf::Texture fairyWings;
    std::map<std::string, SoundRecord> sounds;
    sf::Texture potionTemplate;
    std::map<sf::Color, sf::Texture, ColorLess> potionTextures;
    std::map<std::string, sf::Color> stuffToThrowColors;

    // How stopSceneMusic learns a scene's music names.
    SceneMusicLookup sceneMusicName;

    // --- getters: a missing name ends in the fatal assertion ---
    sf::Font& getFont(const std::string& name);
    sf::Music& getMusic(const std::string& name);
    sf::Texture& getObjectTexture(const std::string& name);
    // A picture at half size for the zoomed-out view, made when first asked for from every
    // other texel. Drawn at its own size each pixel is one texel, whichever part of it is drawn
    // and wherever; the full picture drawn at half size samples on the texels' edges, where
    // rounding decides which of two texels shows.
    sf::Texture& getHalfSize(const sf::Texture& full);
    sf::Texture& getHalfObjectTexture(const std::string& name) { return getHalfSize(getObjectTexture(name)); }
    // With preferZoomOut the "_zoomOut" variant wins when there is one.
    sf::Texture& getTexture(const std::string& name, bool preferZoomOut);
    sf::Texture& getGemTexture(const std::string& name);
    sf::Texture& getHouseSignTexture(const std::string& name);
    sf::Texture& getBuildingTexture(const std::string& name);
    std::vector<sf::Texture>& getAnimation(const std::string& name);
    std::vector<sf::Texture>& getBackAnimation(const std::string& name);
    // The sprite scaled for the current drawn tile size.
    sf::Sprite& getTileSprite(const std::string& name);
    sf::Texture& getSlashTexture(const std::string& name);
    sf::Texture& getStuffToThrowTexture(const std::string& name, int index);
    sf::Color getStuffToThrowColor(const std::string& name, int index);
    sf::Texture& getHatTexture(const std::string& name);
    sf::Texture& getStoryTexture(const std::string& name);
    // Thrown-object keys that contain the name anywhere.
    int countStuffToThrow(const std::string& name);
    sf::Texture& getPlanetTexture(const std::string& name);
    sf::Texture& getItemTexture(const std::string& name);
    sf::Texture& getMiscTexture(const std::string& name);
    sf::Texture& getSkillIconTexture(const std::string& name);
    sf::Texture& getBattleBackgroundTexture(const std::string& name);
    sf::Texture& getMagicTexture(const std::string& name);
    sf::Texture& getStfTexture(const std::string& name);
    sf::Texture& getFaceTexture(const std::string& name);
    sf::Texture& getBodyTexture(const std::string& name);
    sf::Texture& getFlagTexture(const std::string& name);

    // --- getters without failure ---
    std::vector<std::string> getGemNames() const;
    sf::Sound* findSound(const std::string& name);
    void playSound(const std::string& name);

    // --- loading (the window may be null: then the progress is reported but not drawn) ---
    void loadAll(sf::RenderWindow* window);
    void loadTextureFolder(const std::string& folder, sf::RenderWindow* window, float overall,
                           TextureMap& target);
    void loadFonts(const std::string& folder, sf::RenderWindow* window, float overall,
                   std::map<std::string, sf::Font>& target);
    void loadMusics(const std::string& folder, sf::RenderWindow* window, float overall,
                    std::map<std::string, sf::Music>& target);
    void loadSounds(const std::string& folder, sf::RenderWindow* window, float overall);
    // Mouths, the potion template and the fairy wings.
    void loadCharacterPictures(const std::string& folder, sf::RenderWindow* window, float overall);
    // Monster mouths and wings.
    void loadEnemyPictures(const std::string& folder, sf::RenderWindow* window, float overall);
    // Frame files "<name>F<n>" or "<name>F (<n>)".
    void loadAnimations(const std::string& folder, sf::RenderWindow* window, float overall);
    void buildTileSprites();
    void loadObjectTextures(sf::RenderWindow* window, const std::set<std::string>& names,
                            float overall);
    void loadBackAnimations(sf::RenderWindow* window, const std::set<std::string>& names,
                            float overall);

    // --- recoloured potions and scene music ---
    sf::Texture& getPotionTexture(sf::Color colour);
    void stopSceneMusic(const std::string& sceneName, bool battle);
    // Stops every music stream and sound, so that no audio thread runs on into the exit.
    void stopAllAudio();
    // Frees every music and sound. The audio library closes its device only when the last of
    // them is gone; the program's store lives to the end, so it calls this on its way out.
    void releaseAudio();
};

// The template colours that getPotionTexture replaces.
inline const sf::Color POTION_BASE_COLOR{86, 84, 86, 255};
inline const sf::Color POTION_HIGHLIGHT_COLOR{142, 139, 142, 255};

// A gem as a jagged shard whose outline is fixed by its name.
void drawGem(sf::RenderTarget& window, const std::string& name, sf::Vector2f position,
             bool outline, bool glow = false);
// A gem as a cut stone: a pentagon with facet lines.
void drawGemShape(sf::RenderTarget& window, const std::string& name, sf::Vector2f position);
// The seed of a gem's outline: the low 32 bits of the 64-bit FNV-1a hash of its name.
int gemSeed(const std::string& name);

// The store the whole game reads from: main makes it once, before anything else; tests point
// it at stores of their own.
extern Resources* resources;

// stopSceneMusic through the global store.
void stopSceneMusic(const std::string& sceneName, bool battle);
