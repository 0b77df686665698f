// Filling the resource store from the "Resources" tree, behind the loading screen.
#include "foundation/Resources.hpp"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

std::string fileStem(const std::string& fileName) {
    return fileName.substr(0, fileName.find('.'));
}

namespace {

LoadingProgress& loadingProgress() {
    static LoadingProgress show;
    return show;
}

void showProgress(sf::RenderWindow* window, float overall, float fileFraction) {
    if (loadingProgress()) loadingProgress()(window, overall, fileFraction);
}

} // namespace

LoadingProgress setLoadingProgress(LoadingProgress show) {
    return std::exchange(loadingProgress(), std::move(show));
}

namespace {

struct Entry {
    std::string fileName;
    std::string path;
    bool regular = false;
};

// Every entry of the folder, files and sub-folders alike, in the order the file system gives;
// a folder that cannot be opened lists nothing.
std::vector<Entry> listFolder(const std::string& folder) {
    std::vector<Entry> entries;
    std::error_code ec;
    // Non-throwing steps: a folder that vanishes or fails mid-walk ends the list, not the game.
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const std::string fileName = it->path().filename().string();
        entries.push_back({fileName, folder + "/" + fileName, it->is_regular_file(typeError)});
    }
    return entries;
}

// Reads the picture and makes pure opaque magenta transparent. An unreadable entry gives an
// empty image.
sf::Image readMasked(const std::string& path, bool regular = true) {
    sf::Image image;
    if (regular && image.loadFromFile(path))
        image.createMaskFromColor(sf::Color::Magenta, 0);
    return image;
}

void upload(const sf::Image& image, sf::Texture& target) {
    if (image.getSize().x == 0 || image.getSize().y == 0) {
        target = sf::Texture();
        return;
    }
    target.loadFromImage(image);
}

bool readableFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// The decimal number at the front of text, as the character files name their mouths and frames:
// leading blanks, an optional sign, digits, anything after them ignored. False when there is no
// number or it does not fit.
bool leadingNumber(const std::string& text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && end != first;
}

void addSorted(std::vector<int>& numbers, int n) {
    numbers.push_back(n);
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
}

// A frame beyond this is a typing error in a file name, not an animation.
constexpr int MAX_ANIMATION_FRAMES = 10000;

float fraction(std::size_t i, std::size_t n) {
    return static_cast<float>(i) / static_cast<float>(n);
}

// Walks a folder's entries in order, showing the loading screen before each one.
template <class F>
void forEachEntry(const std::string& folder, sf::RenderWindow* window, float overall, F each) {
    const std::vector<Entry> entries = listFolder(folder);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        showProgress(window, overall, fraction(i, entries.size()));
        each(entries[i], fileStem(entries[i].fileName));
    }
}

} // namespace

void Resources::loadTextureFolder(const std::string& folder, sf::RenderWindow* window,
                                  float overall, TextureMap& target) {
    showProgress(window, overall, 0);
    const bool throwables = &target == &stuffToThrow;
    forEachEntry(folder, window, overall, [&](const Entry& entry, const std::string& stem) {
        sf::Image image = readMasked(entry.path, entry.regular);
        upload(image, target[stem]);
        if (throwables) {
            const sf::Vector2u size = image.getSize();
            // An unreadable picture has no centre: it throws nothing visible.
            stuffToThrowColors[stem] = size.x == 0 || size.y == 0
                                           ? sf::Color::Transparent
                                           : image.getPixel(size.x / 2, size.y / 2);
        }
    });
}

void Resources::loadFonts(const std::string& folder, sf::RenderWindow* window, float overall,
                          std::map<std::string, sf::Font>& target) {
    showProgress(window, overall, 0);
    forEachEntry(folder, window, overall, [&](const Entry& entry, const std::string& stem) {
        target[stem].loadFromFile(entry.path);
    });
}

void Resources::loadMusics(const std::string& folder, sf::RenderWindow* window, float overall,
                           std::map<std::string, sf::Music>& target) {
    showProgress(window, overall, 0);
    forEachEntry(folder, window, overall, [&](const Entry& entry, const std::string& stem) {
        target[stem].openFromFile(entry.path);
    });
}

void Resources::loadSounds(const std::string& folder, sf::RenderWindow* window, float overall) {
    showProgress(window, overall, 0);
    forEachEntry(folder, window, overall, [&](const Entry& entry, const std::string& stem) {
        // Reset in place: the record's node stays where it is, so its sound can point at it.
        SoundRecord& record = sounds[stem];
        record.sound.resetBuffer();
        record.buffer = sf::SoundBuffer();
        if (!record.buffer.loadFromFile(entry.path)) {
            consoleLine("Failed to load sound ", entry.path);
            pauseGame();
        }
        record.sound.setBuffer(record.buffer);
    });
}

void Resources::loadCharacterPictures(const std::string& folder, sf::RenderWindow* window,
                                      float overall) {
    forEachEntry(folder, window, overall, [&](const Entry& entry, const std::string& stem) {
        const sf::Image image = readMasked(entry.path, entry.regular);
        if (stem.rfind("Mouth", 0) == 0) {
            int n = 0;
            if (!leadingNumber(stem.substr(5), n)) fatalAssert("Resources", 195, stem);
            upload(image, mouths[n]);
            addSorted(mouthNumbers, n);
        } else if (stem == "PotionTemplate") {
            upload(image, potionTemplate);
        } else if (stem == "FairyWings") {
            upload(image, fairyWings);
        } else {
            fatalAssert("Resources", 195, stem);
        }
    });
}

void Resources::loadEnemyPictures(const std::string& folder, sf::RenderWindow* window,
                                  float overall) {
    forEachEntry(folder, window, overall, [&](const Entry& entry, const std::string& stem) {
        const sf::Image image = readMasked(entry.path, entry.regular);
        if (stem.rfind("MonsterMouth", 0) == 0) {
            int n = 0;
            if (!leadingNumber(stem.substr(12), n)) fatalAssert("Resources", 219, stem);
            upload(image, monsterMouths[n]);
            addSorted(monsterMouthNumbers, n);
        } else if (stem.rfind("Monster", 0) == 0 && stem.find("Wing") != std::string::npos) {
            upload(image, monsterWings[stem == "MonsterLeftWing" ? 1 : 0]);
        } else {
            fatalAssert("Resources", 219, stem);
        }
    });
}

void Resources::loadAnimations(const std::string& folder, sf::RenderWindow* window,
                               float overall) {
    forEachEntry(folder, window, overall, [&](const Entry& entry, const std::string& stem) {
        if (stem.empty() || stem.find('F') == std::string::npos) fatalAssert("Resources", 236, stem);
        const std::size_t posF = stem.rfind('F');
        std::string frameText;
        const std::size_t open = stem.rfind('(');
        if (open != std::string::npos) {
            const std::size_t close = stem.rfind(')');
            if (close == std::string::npos) fatalAssert("Resources", 241, stem);
            if (close <= open + 1) fatalAssert("Resources", 242, stem);
            frameText = stem.substr(open + 1, close - open - 1);
        } else {
            frameText = stem.substr(posF + 1);
        }
        const std::string name = stem.substr(0, posF);
        int n = 0;
        // Frames count from 1; anything else would index outside the frame list.
        if (!leadingNumber(frameText, n) || n < 1 || n > MAX_ANIMATION_FRAMES)
            fatalAssert("Resources", 204, stem);
        std::vector<sf::Texture>& frames = animations[name];
        if (frames.size() < static_cast<std::size_t>(n)) frames.resize(static_cast<std::size_t>(n));
        upload(readMasked(entry.path, entry.regular),
               frames[static_cast<std::size_t>(n - 1)]);
    });
}

void Resources::buildTileSprites() {
    const std::string zoomOut = "_zoomOut";
    auto scaledSprite = [](const sf::Texture& texture, int size) {
        sf::Sprite sprite(texture);
        const unsigned larger = std::max(texture.getSize().x, texture.getSize().y);
        const float scale = larger == 0 ? 1.f : static_cast<float>(size) / static_cast<float>(larger);
        sprite.setScale(scale, scale);
        return sprite;
    };
    for (const auto& [name, texture] : textures) {
        const std::size_t z = name.find(zoomOut);
        const int size = z != std::string::npos ? 60 : 120;
        tileSprites[TileSpriteKey{name.substr(0, z), size, size}] = scaledSprite(texture, size);
    }
    for (const auto& [name, texture] : textures) {
        if (name.find(zoomOut) != std::string::npos) continue;
        const TileSpriteKey small{name, 60, 60};
        if (tileSprites.find(small) == tileSprites.end()) tileSprites[small] = scaledSprite(texture, 60);
    }
}

void Resources::loadAll(sf::RenderWindow* window) {
    loadFonts("Resources//Fonts", window, 0.0f, fonts);
    loadMusics("Resources//Musics", window, 0.05f, musics);
    showProgress(window, 0.1f, 0);
    loadCharacterPictures("Resources//Characters", window, 0.1f);
    loadEnemyPictures("Resources//Enemies", window, 0.15f);
    loadTextureFolder("Resources//Textures", window, 0.2f, textures);
    loadTextureFolder("Resources//Gems", window, 0.21f, gems);
    showProgress(window, 0.22f, 0);
    loadAnimations("Resources//Animations", window, 0.25f);
    loadTextureFolder("Resources//Faces", window, 0.25f, faces);
    loadTextureFolder("Resources//Bodies", window, 0.27f, bodies);
    loadTextureFolder("Resources//HouseSigns", window, 0.28f, houseSigns);
    loadTextureFolder("Resources//Buildings", window, 0.3f, buildings);
    buildTileSprites();
    loadSounds("Resources//Sounds", window, 0.31f);
    loadTextureFolder("Resources//Slashes", window, 0.32f, slashes);
    loadTextureFolder("Resources//StuffToThrow", window, 0.33f, stuffToThrow);
    loadTextureFolder("Resources//Hats", window, 0.34f, hats);
    loadTextureFolder("Resources//Story", window, 0.35f, story);
    loadTextureFolder("Resources//Planets", window, 0.36f, planets);
    loadTextureFolder("Resources//Items", window, 0.37f, items);
    loadTextureFolder("Resources//Misc", window, 0.38f, misc);
    loadTextureFolder("Resources//SkillIcons", window, 0.39f, skillIcons);
    loadTextureFolder("Resources//BattleBackgrounds", window, 0.4f, battleBackgrounds);
    loadTextureFolder("Resources//Magic", window, 0.45f, magic);
    loadTextureFolder("Resources//STF", window, 0.49f, stf);
    loadTextureFolder("Resources//Flags", window, 0.495f, flags);
}

void Resources::loadObjectTextures(sf::RenderWindow* window, const std::set<std::string>& names,
                                   float overall) {
    std::size_t i = 0;
    for (const std::string& name : names) {
        ++i;
        if (objects.count(name)) continue;
        showProgress(window, overall, fraction(i, names.size()));
        for (const char* extension : {".png", ".gif"}) {
            const std::string path = "Resources//Objects//" + name + extension;
            if (!readableFile(path)) continue;
            upload(readMasked(path), objects[name]);
            break;
        }
    }
    showProgress(window, overall, 1);
}

void Resources::loadBackAnimations(sf::RenderWindow* window, const std::set<std::string>& names,
                                   float overall) {
    std::size_t i = 0;
    for (const std::string& name : names) {
        ++i;
        if (backAnimations.count(name)) continue;
        showProgress(window, overall, fraction(i, names.size()));
        for (int frame = 1; frame < 200; ++frame) {
            std::string found;
            for (const char* extension : {".png", ".gif"}) {
                const std::string path =
                    "Resources//backAnimations//" + name + "F" + std::to_string(frame) + extension;
                if (readableFile(path)) {
                    found = path;
                    break;
                }
            }
            if (found.empty()) break;
            std::vector<sf::Texture>& frames = backAnimations[name];
            frames.resize(static_cast<std::size_t>(frame));
            upload(readMasked(found), frames.back());
        }
    }
    showProgress(window, overall, 1);
}
