// The generated demo tree, loaded through the real loader: every name the code asks for must
// resolve, and every file the generator wrote must be a usable resource.
#include "foundation/Resources.hpp"
#include "game/LoadingScreen.hpp"
#include "support/TestSupport.hpp"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Wanted {
    std::string folder, name;
    int line;
};

std::vector<Wanted> wantedNames() {
    std::vector<Wanted> out;
    std::ifstream in(sourceDir() + "/tools/resource-names.txt");
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        std::istringstream words(text);
        std::string folder, name;
        if (!(words >> folder) || folder[0] == '#') continue;
        words >> name;
        out.push_back({folder, name, line});
    }
    return out;
}

bool usable(const sf::Texture& t) { return t.getSize().x > 0 && t.getSize().y > 0; }

bool usableFrames(const std::vector<sf::Texture>& frames) {
    if (frames.empty()) return false;
    for (const sf::Texture& t : frames)
        if (!usable(t)) return false;
    return true;
}

// Resolves one listed name through the getter its folder is served by; "" when it resolves to a
// usable resource, else what went wrong.
std::string resolve(Resources& r, const Wanted& w) {
    bool ok = false;
    const std::string& n = w.name;
    const std::string stop = fatalMessage([&] {
        const std::string& f = w.folder;
        if (f == "Fonts") ok = !r.getFont(n).getInfo().family.empty();
        else if (f == "Musics") ok = r.getMusic(n).getDuration() > sf::Time::Zero;
        else if (f == "Sounds") ok = r.findSound(n) && r.sounds.at(n).buffer.getSampleCount() > 0;
        else if (f == "Objects") ok = usable(r.getObjectTexture(n));
        else if (f == "Textures") ok = usable(r.getTexture(n, false)) && r.getTileSprite(n).getTexture() != nullptr;
        else if (f == "Gems") ok = usable(r.getGemTexture(n));
        else if (f == "HouseSigns") ok = usable(r.getHouseSignTexture(n));
        else if (f == "Buildings") ok = usable(r.getBuildingTexture(n));
        else if (f == "Slashes") ok = usable(r.getSlashTexture(n));
        else if (f == "Hats") ok = usable(r.getHatTexture(n));
        else if (f == "StuffToThrow") ok = r.countStuffToThrow(n) > 0 && usable(r.getStuffToThrowTexture(n, 1));
        else if (f == "Story") ok = usable(r.getStoryTexture(n));
        else if (f == "Planets") ok = usable(r.getPlanetTexture(n));
        else if (f == "Items") ok = usable(r.getItemTexture(n));
        else if (f == "Misc") ok = usable(r.getMiscTexture(n));
        else if (f == "SkillIcons") ok = usable(r.getSkillIconTexture(n));
        else if (f == "BattleBackgrounds") ok = usable(r.getBattleBackgroundTexture(n));
        else if (f == "Magic") ok = usable(r.getMagicTexture(n));
        else if (f == "STF") ok = usable(r.getStfTexture(n));
        else if (f == "Faces") ok = usable(r.getFaceTexture(n));
        else if (f == "Bodies") ok = usable(r.getBodyTexture(n));
        else if (f == "Flags") ok = usable(r.getFlagTexture(n));
        else if (f == "Animations") ok = usableFrames(r.getAnimation(n));
        else if (f == "backAnimations") ok = usableFrames(r.getBackAnimation(n));
        else if (f == "Characters") {
            if (n == "PotionTemplate") ok = usable(r.potionTemplate);
            else if (n == "FairyWings") ok = usable(r.fairyWings);
            else if (n.rfind("Mouth", 0) == 0) ok = r.mouths.count(toInt(n.substr(5), "test", 0)) && usable(r.mouths.at(toInt(n.substr(5), "test", 0)));
        } else if (f == "Enemies") {
            if (n == "MonsterLeftWing") ok = usable(r.monsterWings[1]);
            else if (n == "MonsterRightWing") ok = usable(r.monsterWings[0]);
            else if (n.rfind("MonsterMouth", 0) == 0) ok = r.monsterMouths.count(toInt(n.substr(12), "test", 0)) && usable(r.monsterMouths.at(toInt(n.substr(12), "test", 0)));
        } else {
            ok = false;
        }
    });
    if (!stop.empty()) return stop;
    return ok ? "" : "not a usable resource";
}

class InFolder {
public:
    explicit InFolder(const std::string& dir) : old_(fs::current_path()) { fs::current_path(dir); }
    ~InFolder() { fs::current_path(old_); }

private:
    fs::path old_;
};

int countFiles(const fs::path& root) {
    int n = 0;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && e.path().filename().string()[0] != '.') ++n;
    return n;
}

} // namespace

TEST(ResourcesTree, EveryNameTheCodeAsksForResolves) {
    InFolder here(runDir());
    const std::vector<Wanted> wanted = wantedNames();
    ASSERT_GT(wanted.size(), 50u);

    sf::RenderWindow window(sf::VideoMode(1920, 1080), "Quorvane 2.0", sf::Style::Titlebar | sf::Style::Close);
    std::vector<std::pair<float, float>> progress;
    LoadingObserver old = setLoadingObserver([&](float o, float s) { progress.emplace_back(o, s); });
    Resources store;
    const auto start = std::chrono::steady_clock::now();
    store.loadAll(&window);
    std::set<std::string> objects, backs;
    for (const Wanted& w : wanted) {
        if (w.folder == "Objects") objects.insert(w.name);
        if (w.folder == "backAnimations") backs.insert(w.name);
    }
    store.loadObjectTextures(&window, objects, 0.9f);
    store.loadBackAnimations(&window, backs, 0.95f);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    setLoadingObserver(old);

    for (const Wanted& w : wanted)
        EXPECT_EQ(resolve(store, w), "") << "tools/resource-names.txt line " << w.line << ": "
                                         << w.folder << " " << w.name;

    // The bars only move forward, and the step bar never runs past its frame.
    float last = 0;
    for (auto& [overall, step] : progress) {
        EXPECT_GE(overall, last);
        EXPECT_TRUE(step >= 0.f && step <= 1.f) << overall << " " << step;
        last = overall;
    }
    const int files = countFiles(fs::path(runDir()) / "Resources");
    std::cout << "Loaded the demo tree (" << files << " files, " << progress.size()
              << " loading frames) in " << ms << " ms\n";
    RecordProperty("LoadMilliseconds", static_cast<int>(ms));
    RecordProperty("Files", files);
}

namespace {
// Green pixels from the left end of a bar.
int filled(const sf::Image& shot, unsigned y) {
    unsigned x = 321;
    while (x < 1920 && shot.getPixel(x, y) == sf::Color::Green) ++x;
    return static_cast<int>(x) - 321;
}
} // namespace

TEST(ResourcesTree, TheBarsMoveWhileTheTreeLoads) {
    InFolder here(runDir());
    sf::RenderWindow window(sf::VideoMode(1920, 1080), "Quorvane 2.0", sf::Style::Titlebar | sf::Style::Close);
    sf::Texture grab;
    ASSERT_TRUE(grab.create(1920, 1080));
    std::vector<int> lower, upper;
    int calls = 0;
    bool titleSeen = false;
    // Each call shows the frame the call before drew; sample some of them.
    LoadingObserver old = setLoadingObserver([&](float, float) {
        if (calls++ % 15 != 1) return;
        grab.update(window);
        const sf::Image shot = grab.copyToImage();
        lower.push_back(filled(shot, 890));
        upper.push_back(filled(shot, 567));
        for (unsigned x = 700; x < 1220 && !titleSeen; ++x) titleSeen = shot.getPixel(x, 420) == sf::Color::White;
    });
    Resources store;
    store.loadAll(&window);
    setLoadingObserver(old);
    ASSERT_GT(lower.size(), 5u);
    EXPECT_TRUE(titleSeen);
    for (std::size_t i = 1; i < lower.size(); ++i) EXPECT_GE(lower[i], lower[i - 1]);
    EXPECT_GT(lower.back(), lower.front() + 300);
    EXPECT_LE(lower.back(), 634); // 0.495 of the bar at most
    // The step bar refills with every folder.
    EXPECT_GT(*std::max_element(upper.begin(), upper.end()), 640);
    EXPECT_FALSE(std::is_sorted(upper.begin(), upper.end()));
}

TEST(ResourcesTree, EveryGeneratedFileIsUsable) {
    InFolder here(runDir());
    Resources store;
    store.loadAll(nullptr);
    auto checkAll = [](const TextureMap& map, const char* folder) {
        for (const auto& [name, texture] : map)
            EXPECT_TRUE(usable(texture)) << folder << " " << name;
    };
    checkAll(store.textures, "Textures");
    checkAll(store.gems, "Gems");
    checkAll(store.houseSigns, "HouseSigns");
    checkAll(store.buildings, "Buildings");
    checkAll(store.slashes, "Slashes");
    checkAll(store.hats, "Hats");
    checkAll(store.stuffToThrow, "StuffToThrow");
    checkAll(store.story, "Story");
    checkAll(store.planets, "Planets");
    checkAll(store.items, "Items");
    checkAll(store.misc, "Misc");
    checkAll(store.skillIcons, "SkillIcons");
    checkAll(store.battleBackgrounds, "BattleBackgrounds");
    checkAll(store.magic, "Magic");
    checkAll(store.stf, "STF");
    checkAll(store.faces, "Faces");
    checkAll(store.bodies, "Bodies");
    checkAll(store.flags, "Flags");
    for (const auto& [name, frames] : store.animations) EXPECT_TRUE(usableFrames(frames)) << "Animations " << name;
    for (const auto& [n, t] : store.mouths) EXPECT_TRUE(usable(t)) << "Mouth" << n;
    for (const auto& [n, t] : store.monsterMouths) EXPECT_TRUE(usable(t)) << "MonsterMouth" << n;
    for (const auto& [name, record] : store.sounds) EXPECT_GT(record.buffer.getSampleCount(), 0u) << "Sounds " << name;
    for (const auto& [name, music] : store.musics) EXPECT_GT(music.getDuration(), sf::Time::Zero) << "Musics " << name;
    for (const auto& [name, font] : store.fonts) EXPECT_FALSE(font.getInfo().family.empty()) << "Fonts " << name;
    // Objects and background animations are read on demand: every file there must load too.
    std::set<std::string> objects, backs;
    std::error_code noObjects, noBacks;
    for (const auto& e : fs::directory_iterator("Resources/Objects", noObjects))
        objects.insert(fileStem(e.path().filename().string()));
    store.loadObjectTextures(nullptr, objects, 0.9f);
    for (const std::string& name : objects) EXPECT_TRUE(store.objects.count(name) && usable(store.objects[name])) << "Objects " << name;
    for (const auto& e : fs::directory_iterator("Resources/backAnimations", noBacks)) {
        const std::string stem = fileStem(e.path().filename().string());
        backs.insert(stem.substr(0, stem.rfind('F')));
    }
    store.loadBackAnimations(nullptr, backs, 0.95f);
    for (const std::string& name : backs)
        EXPECT_TRUE(store.backAnimations.count(name) && usableFrames(store.backAnimations[name])) << "backAnimations " << name;
}
