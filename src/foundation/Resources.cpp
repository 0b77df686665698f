#include "foundation/Resources.hpp"

#include "foundation/OpaqueCopies.hpp"

#include <algorithm>
#include <utility>

// Every getter stops the game when its name is missing: a resource is never replaced by a
// stand-in, so a missing file shows up at once and by name.

Resources* resources = nullptr;

namespace {
SceneMusicLookup& defaultSceneMusicLookup() {
    static SceneMusicLookup lookup;
    return lookup;
}
} // namespace

SceneMusicLookup setDefaultSceneMusicLookup(SceneMusicLookup lookup) {
    return std::exchange(defaultSceneMusicLookup(), std::move(lookup));
}

// Scene music names come from the game's scenes; tests may install a lookup of their own.
Resources::Resources() : sceneMusicName(defaultSceneMusicLookup()) {}

Resources::~Resources() {
    // Buildings are the pictures drawn by copies, at their own size or at half size.
    for (auto& [name, picture] : buildings) forgetOpaqueCopies(picture);
    for (auto& [full, half] : halfSizes) forgetOpaqueCopies(half);
}

namespace {
template <class Map>
auto& lookup(Map& map, const typename Map::key_type& key, int line,
             const std::string& detail) {
    auto it = map.find(key);
    if (it == map.end()) fatalAssert("Resources", line, detail);
    return it->second;
}

std::string throwKey(const std::string& name, int index) { return name + std::to_string(index); }
} // namespace

sf::Font& Resources::getFont(const std::string& name) { return lookup(fonts, name, 328, name); }

sf::Music& Resources::getMusic(const std::string& name) {
    auto it = musics.find(name);
    if (it != musics.end()) return it->second;
    // A scene without music asks for the empty name.
    fatalAssert("Resources", 172, name.empty() ? std::string("Esta scene nao tem musica.") : name);
}

sf::Texture& Resources::getObjectTexture(const std::string& name) {
    return lookup(objects, name, 340, name);
}

sf::Texture& Resources::getHalfSize(const sf::Texture& picture) {
    if (auto it = halfSizes.find(&picture); it != halfSizes.end()) return it->second;
    const sf::Image full = picture.copyToImage();
    const sf::Vector2u s = full.getSize();
    sf::Image half;
    half.create((s.x + 1) / 2, (s.y + 1) / 2, sf::Color::Transparent);
    for (unsigned y = 0; y < half.getSize().y; ++y)
        for (unsigned x = 0; x < half.getSize().x; ++x)
            half.setPixel(x, y, full.getPixel(2 * x, 2 * y));
    sf::Texture& texture = halfSizes[&picture];
    texture.loadFromImage(half);
    return texture;
}

sf::Texture& Resources::getTexture(const std::string& name, bool preferZoomOut) {
    if (preferZoomOut) {
        auto it = textures.find(name + "_zoomOut");
        if (it != textures.end()) return it->second;
    }
    return lookup(textures, name, 354, name);
}

sf::Texture& Resources::getGemTexture(const std::string& name) { return lookup(gems, name, 361, name); }
sf::Texture& Resources::getHouseSignTexture(const std::string& name) {
    return lookup(houseSigns, name, 368, name);
}
sf::Texture& Resources::getBuildingTexture(const std::string& name) {
    return lookup(buildings, name, 375, name);
}
std::vector<sf::Texture>& Resources::getAnimation(const std::string& name) {
    return lookup(animations, name, 134, name);
}
std::vector<sf::Texture>& Resources::getBackAnimation(const std::string& name) {
    return lookup(backAnimations, name, 141, name);
}
sf::Sprite& Resources::getTileSprite(const std::string& name) {
    return lookup(tileSprites, TileSpriteKey{name, displayTileSize, displayTileSize}, 151, name);
}
sf::Texture& Resources::getSlashTexture(const std::string& name) {
    return lookup(slashes, name, 183, name);
}
sf::Texture& Resources::getStuffToThrowTexture(const std::string& name, int index) {
    const std::string key = throwKey(name, index);
    return lookup(stuffToThrow, key, 190, key);
}
sf::Color Resources::getStuffToThrowColor(const std::string& name, int index) {
    const std::string key = throwKey(name, index);
    return lookup(stuffToThrowColors, key, 197, key);
}
sf::Texture& Resources::getHatTexture(const std::string& name) { return lookup(hats, name, 203, name); }
sf::Texture& Resources::getStoryTexture(const std::string& name) {
    return lookup(story, name, 209, name);
}

int Resources::countStuffToThrow(const std::string& name) {
    int count = 0;
    for (const auto& [key, texture] : stuffToThrow)
        if (key.find(name) != std::string::npos) ++count;
    if (count == 0) fatalAssert("Resources", 222, name);
    return count;
}

sf::Texture& Resources::getPlanetTexture(const std::string& name) {
    return lookup(planets, name, 228, name);
}
sf::Texture& Resources::getItemTexture(const std::string& name) { return lookup(items, name, 233, name); }
sf::Texture& Resources::getMiscTexture(const std::string& name) { return lookup(misc, name, 239, name); }
sf::Texture& Resources::getSkillIconTexture(const std::string& name) {
    return lookup(skillIcons, name, 245, name);
}
sf::Texture& Resources::getBattleBackgroundTexture(const std::string& name) {
    return lookup(battleBackgrounds, name, 251, name);
}
sf::Texture& Resources::getMagicTexture(const std::string& name) { return lookup(magic, name, 257, name); }
sf::Texture& Resources::getStfTexture(const std::string& name) { return lookup(stf, name, 263, name); }
sf::Texture& Resources::getFaceTexture(const std::string& name) { return lookup(faces, name, 269, name); }
sf::Texture& Resources::getBodyTexture(const std::string& name) { return lookup(bodies, name, 275, name); }
sf::Texture& Resources::getFlagTexture(const std::string& name) { return lookup(flags, name, 287, name); }

std::vector<std::string> Resources::getGemNames() const {
    std::vector<std::string> names;
    names.reserve(gems.size());
    for (const auto& [name, texture] : gems) names.push_back(name);
    return names;
}

sf::Sound* Resources::findSound(const std::string& name) {
    auto it = sounds.find(name);
    return it == sounds.end() ? nullptr : &it->second.sound;
}

void Resources::playSound(const std::string& name) {
    if (sf::Sound* sound = findSound(name)) sound->play();
}

// The names come from sceneMusicName; the game's lookup, which every store starts with, is
// installed once in src/game/Globals.cpp.
void Resources::stopSceneMusic(const std::string& sceneName, bool battle) {
    // Without a scene table no scene can be found.
    if (!sceneMusicName) fatalAssert("Resources", 148, sceneName);
    const std::string musicName = sceneMusicName(sceneName, battle);
    if (musicName.empty()) return;
    sf::Music& music = getMusic(musicName);
    if (music.getStatus() == sf::SoundSource::Playing) music.stop();
}

void stopSceneMusic(const std::string& sceneName, bool battle) {
    resources->stopSceneMusic(sceneName, battle);
}

void Resources::stopAllAudio() {
    for (auto& [name, music] : musics) music.stop();
    for (auto& [name, record] : sounds) record.sound.stop();
}

void Resources::releaseAudio() {
    stopAllAudio();
    musics.clear();
    sounds.clear();
}
