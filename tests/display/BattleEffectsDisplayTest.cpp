// Spells cast in the demo arena through the battle's own frame update and drawn into a real
// window: every effect kind plays, draws mostly inside the close-up, ends, applies its rule to
// its targets and leaves nothing behind; a contact sheet of all kinds for a look by eye.
#include "battle/Battle.hpp"
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include "support/DemoWorld.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

struct CastingWorld : DemoWorld {
    std::deque<Character> characters; // the roster as loaded, put back before every cast
    std::set<int> party, reserve;
};

CastingWorld& demo() {
    static PerSuite<CastingWorld> world([] {
        return newDemoWorld<CastingWorld>([](CastingWorld& w) {
            w.characters = w.roster->characters;
            w.party = w.roster->party;
            w.reserve = w.roster->reserve;
        });
    });
    return *world;
}

struct Cast {
    const char* spell;
    int level;
};

std::ostream& operator<<(std::ostream& out, const Cast& c) { return out << c.spell << " L" << c.level; }

// One spell of every kind (30 cast at an enemy like the others), then the demo's support spells.
const Cast CASTS[] = {
    {"GreatGig", 1},  {"Cure", 3},       {"Fizzle", 1},      {"Patrician", 1},  {"Pelonado", 1},   {"LaserBeam", 1},
    {"Haunt", 1},     {"BatSwarm", 1},   {"Inferno", 2},     {"CatEscape", 1},  {"Missile", 1},    {"Poison", 1},
    {"Fireball", 2},  {"CatDrama", 1},   {"Poloian", 1},     {"Virus", 1},      {"Shield", 1},     {"Ice", 1},
    {"FrozenOrb", 1}, {"DemonDaze", 1},  {"Dracaris", 1},    {"Culebra", 1},    {"Baham", 1},      {"Yeoj", 1},
    {"Boltiolt", 1},  {"RockFall", 1},   {"Darkness", 1},    {"HackControl", 1}, {"Airstrike", 1}, {"FunkyBomb", 1},
    {"StoneBolt", 1}, {"Zenguened", 1},  {"Moonglobe", 1},   {"DemonScare", 1}, {"Coletote", 1},   {"ChapterLady", 1},
    {"HackDrain", 1}, {"HackImplosion", 1}, {"ManaGift", 1}, {"PoopStrike", 1}, {"KnifeRain", 1},  {"BloodSpit", 1},
    {"HealCircle", 1}, {"Weaken", 1},
};

constexpr int PANEL_X0 = 96, PANEL_Y0 = 54, PANEL_X1 = 96 + 1728, PANEL_Y1 = 54 + 972;

class BattleEffects : public ::testing::TestWithParam<Cast> {
protected:
    void SetUp() override {
        CastingWorld& w = demo();
        w.bind();
        people->characters = w.characters;
        people->party = w.party;
        people->reserve = w.reserve;
        displayTileSize = 120;
        displayWallHeight = 180;
        game->normalZoom = true;
        game->input = {};
    }
    // Nothing may still stream when the process ends (the audio library's teardown would abort).
    void TearDown() override {
        for (auto& [name, music] : resources->musics) music.stop();
    }

    // The arena entered afresh: its battle started, the caster (the joiner who knows every spell)
    // given the turn.
    Scene& arena() {
        game->previousScene = game->findScene("Meadow");
        game->currentScene = game->findScene("Arena");
        Scene& s = game->current();
        s.enter("Meadow");
        Battle& b = s.battle;
        caster = people->indexOf("Lumen");
        Character& c = people->at(caster);
        c.stats[WIS] = 12;
        c.stats[MAXMP] = c.stats[MP] = 500;
        for (std::size_t i = 0; i < b.turnList.size(); ++i)
            if (b.turnList[i] == caster) b.turnIndex = static_cast<int>(i);
        return s;
    }

    static int drawnPixels(MagicInstance& effect, sf::RenderTexture& rt, int* inside) {
        rt.clear(sf::Color::Transparent);
        effect.draw(rt);
        rt.display();
        const sf::Image img = rt.getTexture().copyToImage();
        int n = 0;
        for (unsigned y = 0; y < 1080; y += 2)
            for (unsigned x = 0; x < 1920; x += 2)
                if (img.getPixel(x, y).a > 0) {
                    ++n;
                    if (static_cast<int>(x) >= PANEL_X0 && static_cast<int>(x) < PANEL_X1 && static_cast<int>(y) >= PANEL_Y0 &&
                        static_cast<int>(y) < PANEL_Y1)
                        ++*inside;
                }
        return n;
    }

    long long caster = NO_INDEX;
    GlobalsGuard guard;
};

} // namespace

TEST_P(BattleEffects, CastThroughTheBattleDrawsAppliesAndEnds) {
    const Cast cast = GetParam();
    std::srand(4044);
    Scene& s = arena();
    Battle& b = s.battle;
    const Magic& spell = magicRepository->get(cast.spell);
    ASSERT_NE(caster, NO_INDEX);
    ASSERT_EQ(b.actorIndex(), caster);

    // Targets: two enemies, an injured friend, or the caster and its neighbours for a self-area spell.
    std::vector<long long> enemies;
    for (long long e : b.turnList)
        if (!people->isMember(static_cast<int>(e))) enemies.push_back(e);
    ASSERT_GE(enemies.size(), 2u);
    long long friendIndex = people->indexOf("Oriel");
    const bool ally = spell.target == TARGET_ALLY;
    long long target = ally ? friendIndex : enemies[0];
    std::set<int> further;
    if (!ally) further.insert(static_cast<int>(enemies[1]));
    if (std::string(cast.spell) == "HealCircle") {
        target = caster;
        further = {static_cast<int>(friendIndex)};
    }
    if (spell.target == TARGET_ENEMY_ROBOT) {
        people->at(target).type = CharacterType::FLYROBOT;
        further.clear();
    }
    std::vector<long long> hit{target};
    for (int f : further) hit.push_back(f);
    for (long long t : hit) {
        Character& c = people->at(t);
        c.stats[MAXHP] = 200;
        c.stats[HP] = spell.dmgAt(cast.level) < 0 ? 20 : 200;
        c.stats[MAXMP] = 60;
        c.stats[MP] = spell.mpDmgAt(cast.level) < 0 ? 0 : 60;
    }
    std::map<long long, std::pair<int, int>> before;
    for (long long t : hit) before[t] = {people->at(t).stats[HP], people->at(t).stats[MP]};
    const int casterMp = people->at(caster).stats[MP];

    // The player's confirm in target selection, as the menus leave it.
    b.state = Battle::CHOOSE_TARGET;
    b.chosenKey = {cast.spell, cast.level, ""};
    BattleAction action;
    action.initAction(static_cast<int>(target), people->at(caster).tile, {cast.spell, cast.level}, "", further);
    b.menuActions = {{b.chosenKey, {action}}};
    b.selection = 0;

    static PerSuite<sf::RenderTexture> rt([] {
        auto t = std::make_unique<sf::RenderTexture>();
        t->create(1920, 1080);
        return t;
    });
    sf::RenderWindow& window = testWindow();
    int frames = 0, pixels = 0, inside = 0, pauses = 0;
    bool started = false;
    for (; frames < 2500; ++frames) {
        game->input = {};
        game->input.confirm = frames == 0 || frames % 7 == 0;
        b.update();
        ActionAnimation& a = b.shownAction;
        if (a.playing) started = true;
        if (started && !a.playing) break;
        if (!a.playing) continue;
        if (a.pausing && a.pauseFrame == 1) {
            ++pauses;
            const MagicInstance& e = a.effect;
            EXPECT_TRUE(e.patricianShots.empty() && e.demonObjects.empty() && e.bats.empty() && e.fallingObjects.empty() &&
                        e.slashes.empty() && e.escapingCats.empty() && e.missiles.empty() && e.bubbles.empty() &&
                        e.healParticles.empty() && e.attrObjects.empty() && e.frozenOrbs.empty() && e.bolts.empty() &&
                        e.droppedObjects.empty() && e.hackDots.empty() && e.planes.empty() && e.bombs.empty())
                << "the next target starts with an empty effect";
            EXPECT_EQ(e.frame, 0);
        }
        if (!a.pausing && !a.resuming && a.frame > a.hitFrame && a.frame <= a.totalFrames && a.frame % 10 == 3) {
            window.clear();
            s.draw(window);
            pixels += drawnPixels(a.effect, *rt, &inside);
        }
    }
    ASSERT_TRUE(started) << "the confirm built no action";
    EXPECT_LT(frames, 2500) << "the action never ended";
    EXPECT_FALSE(b.shownAction.playing);
    EXPECT_EQ(pauses, static_cast<int>(hit.size()) - 1);
    EXPECT_EQ(people->at(caster).battleMode, 0);
    EXPECT_FALSE(people->at(caster).casting);

    // Drawing: nothing for the kinds without a picture, otherwise mostly inside the close-up.
    const bool silent = spell.kind == MAGIC_BAD || spell.kind == MAGIC_PELONADO || spell.kind == MAGIC_BUILDTOWER;
    if (silent) {
        EXPECT_EQ(pixels, 0);
    } else {
        EXPECT_GT(pixels, 0);
        EXPECT_GE(inside * 10, pixels * 7) << inside << " of " << pixels << " pixels inside the close-up";
    }

    // The rule, on every target.
    const float dmg = spell.dmgAt(cast.level), mpDmg = spell.mpDmgAt(cast.level);
    const std::string name = cast.spell;
    for (long long t : hit) {
        const Character& c = people->at(t);
        SCOPED_TRACE(c.name);
        if (name == "Poloian" || name == "HackControl") {
            EXPECT_EQ(c.stats[HP], before[t].first);
        } else if (dmg > 0) {
            EXPECT_LT(c.stats[HP], before[t].first);
        } else if (dmg < 0) {
            EXPECT_GT(c.stats[HP], before[t].first);
        }
        if (mpDmg > 0) { EXPECT_LT(c.stats[MP], before[t].second); }
        if (mpDmg < 0) { EXPECT_GT(c.stats[MP], before[t].second); }
        if (!spell.levelAttributes(cast.level).empty() && c.stats[HP] > 0) { EXPECT_EQ(b.modifierTurns[t], 4); }
        if (name == "Poloian") { EXPECT_EQ(b.invisibleTurns[t], 4); }
        if (name == "HackControl") {
            EXPECT_EQ(b.temporaryMembers[t], 4);
            EXPECT_TRUE(people->isMember(static_cast<int>(t)));
        }
    }
    // A drain pays nothing and keeps what it takes; every other cast costs MP.
    if (name == "HackDrain") EXPECT_GE(people->at(caster).stats[MP], casterMp);
    else EXPECT_LT(people->at(caster).stats[MP], casterMp) << "the cast costs MP";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, BattleEffects, ::testing::ValuesIn(CASTS),
                         [](const ::testing::TestParamInfo<Cast>& info) { return std::string(info.param.spell); });

// Every kind at mid-animation in the close-up over the arena's backdrop, and the status panels of
// a fighter (no MP at all) and a caster, on one picture.
TEST_F(BattleEffects, ContactSheet) {
    std::srand(4044);
    Scene& s = arena();
    Battle& b = s.battle;
    std::vector<long long> enemies;
    for (long long e : b.turnList)
        if (!people->isMember(static_cast<int>(e))) enemies.push_back(e);
    ASSERT_FALSE(enemies.empty());
    const int cols = 6, cellW = 320, cellH = 180;
    const int count = 33;
    const int rows = (count + 1 + cols - 1) / cols;
    sf::RenderTexture sheet;
    ASSERT_TRUE(sheet.create(cols * cellW, rows * cellH + 200));
    sheet.clear(sf::Color(30, 30, 40));
    static PerSuite<sf::RenderTexture> rt([] {
        auto t = std::make_unique<sf::RenderTexture>();
        t->create(1920, 1080);
        return t;
    });
    const sf::Font& font = resources->getFont("Dialog");
    for (int k = 0; k < count; ++k) {
        const Cast cast = CASTS[k];
        const Magic& spell = magicRepository->get(cast.spell);
        const long long target = spell.target == TARGET_ALLY ? people->indexOf("Oriel") : enemies[0];
        people->at(target).stats[HP] = people->at(target).stats[MAXHP] = 200;
        b.background = k % 2 == 0 ? "ArenaField" : "";
        ActionAnimation a = makeActionAnimation(caster, target, cast.spell, cast.level);
        for (int f = 0; f < a.hitFrame + 70; ++f) {
            game->input = {};
            a.update(s.name);
        }
        rt->clear(sf::Color::Black);
        a.draw(*rt, b.background);
        rt->display();
        sf::Sprite cell(rt->getTexture());
        cell.setScale(static_cast<float>(cellW) / 1920.f, static_cast<float>(cellH) / 1080.f);
        cell.setPosition(static_cast<float>((k % cols) * cellW), static_cast<float>((k / cols) * cellH));
        sheet.draw(cell);
        sf::Text label(std::to_string(spell.kind) + " " + cast.spell, font, 16);
        label.setPosition(static_cast<float>((k % cols) * cellW + 4), static_cast<float>((k / cols) * cellH + 2));
        label.setOutlineColor(sf::Color::Black);
        label.setOutlineThickness(2);
        sheet.draw(label);
    }
    // A fighter without MP and a caster, side by side under the grid.
    const long long fighter = people->indexOf("Sangra");
    people->at(fighter).stats[MAXMP] = 0;
    people->at(fighter).stats[MP] = 0;
    const float y = static_cast<float>(rows * cellH + 25);
    Battle::drawStatusPanel({500, 150}, sheet, {30, y}, fighter);
    Battle::drawStatusPanel({500, 150}, sheet, {600, y}, caster);
    sheet.display();
    const sf::Image img = sheet.getTexture().copyToImage();
    const std::string dir = binaryDir() + "/screens";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(img.saveToFile(dir + "/battle_contact_sheet.png"));
    // The fighter's MP bar is empty (no green in it), the caster's is full of green.
    auto greenIn = [&](int x0, int y0, int w, int h) {
        int n = 0;
        for (int yy = y0; yy < y0 + h; ++yy)
            for (int xx = x0; xx < x0 + w; ++xx) n += img.getPixel(xx, yy) == sf::Color::Green;
        return n;
    };
    const int mpRow = static_cast<int>(y) + 100 + 5;
    EXPECT_EQ(greenIn(30, mpRow, 500, 20), 0);
    EXPECT_GT(greenIn(600, mpRow, 500, 20), 0);
    // The character view shows an icon for every spell a character knows.
    for (const auto& [name, magic] : magicRepository->spells)
        EXPECT_TRUE(resources->skillIcons.count(name)) << "no skill icon for " << name;
}

// The battle on its grid: the acting combatant's reachable cells, an area spell's frames around
// its target, effect badges and the acting combatant's panel, in and out of zoom.
TEST_F(BattleEffects, GridPicture) {
    std::srand(4044);
    Scene& s = arena();
    Battle& b = s.battle;
    b.computeReachable();
    b.options = b.listEnemyOptions(caster);
    std::vector<long long> enemies;
    for (long long e : b.turnList)
        if (!people->isMember(static_cast<int>(e))) enemies.push_back(e);
    ASSERT_GE(enemies.size(), 2u);
    b.invisibleTurns[caster] = 3;
    b.modifierTurns[enemies[1]] = 2;
    b.state = Battle::CHOOSE_TARGET;
    b.chosenKey = {"Cure", 2, ""};
    BattleAction heal;
    heal.initAction(static_cast<int>(enemies[0]), people->at(caster).tile, {"Cure", 2}, "", {});
    b.menuActions = {{b.chosenKey, {heal}}};
    b.selection = 0;
    b.blink = 1;
    sf::RenderWindow& window = testWindow();
    const std::string dir = binaryDir() + "/screens";
    std::filesystem::create_directories(dir);
    for (int t : {120, 60}) {
        setDisplayZoom(t);
        s.camera = people->at(caster).pixel - Point{960, 540};
        window.clear();
        s.draw(window);
        const sf::Image img = captureWindow(window);
        ASSERT_TRUE(img.saveToFile(dir + "/battle_grid_" + std::to_string(t) + ".png"));
        // The acting combatant's panel at the bottom right, the target's at the bottom left.
        EXPECT_EQ(img.getPixel(1390 + 250, 900 + 5), sf::Color::Blue);
        EXPECT_EQ(img.getPixel(30 + 250, 900 + 5), sf::Color::Blue);
        // Radius 1 around the target: its four neighbours are framed in the battle's colour.
        Point centre = s.camera + Point{960, 540};
        scaleToScreen(centre);
        const Point V = s.viewOffset(centre);
        const Point p = people->at(enemies[0]).tile;
        const sf::Color frame = b.flashColor;
        int framed = 0;
        for (Point n : {Point{p.x + 1, p.y}, Point{p.x - 1, p.y}, Point{p.x, p.y + 1}, Point{p.x, p.y - 1}}) {
            const int x = n.x * t - V.x + 2, y = n.y * t - V.y + t / 2;
            if (x >= 0 && x < 1920 && y >= 0 && y < 1080) framed += img.getPixel(x, y) == frame;
        }
        EXPECT_GE(framed, 2);
    }
    displayTileSize = 120;
    displayWallHeight = 180;
    game->normalZoom = true;
}

// The summoned snake is mirrored about its top-left corner at (1152, 540): it fills the space
// between the two figures, left of that corner, and never the caster's place right of it.
TEST_F(BattleEffects, TheSummonedSnakeStandsBetweenTheFigures) {
    std::srand(4044);
    static sf::RenderTexture* rt = [] {
        auto* t = new sf::RenderTexture();
        t->create(1920, 1080);
        return t;
    }();
    MagicInstance snake("Culebra", {192, 108}, {960, 1026}, 1, 160);
    // Idle pictures while it fades in and out, then the attack (whose slash lands on the target).
    for (int frame : {10, 20, 60, 79, 150}) {
        snake.frame = frame;
        rt->clear(sf::Color::Transparent);
        snake.draw(*rt);
        rt->display();
        const sf::Image img = rt->getTexture().copyToImage();
        int left = 1920, right = -1;
        for (unsigned y = 540; y < 940; y += 2)
            for (unsigned x = 600; x < 1920; ++x)
                if (img.getPixel(x, y).a > 0) {
                    left = std::min(left, static_cast<int>(x));
                    right = std::max(right, static_cast<int>(x));
                }
        SCOPED_TRACE(frame);
        ASSERT_GE(right, 0) << "no snake drawn";
        EXPECT_GE(left, 752);
        EXPECT_LT(right, 1152);
        EXPECT_GT(right - left, 150) << "the snake is a figure, not a sliver";
    }
}
