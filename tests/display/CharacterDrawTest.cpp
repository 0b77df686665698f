#include "battle/Battle.hpp"
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/Globals.hpp"
#include "game/LoadingScreen.hpp"
#include "support/DisplaySupport.hpp"
#include "support/TestSupport.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <fstream>
#include <memory>

namespace {

const sf::Color BACKDROP(0, 0, 0, 0);

struct Counts {
    int inside = 0;  // drawn pixels within the figure's box (the square and the half above it)
    int outside = 0; // drawn pixels beyond the box widened by half a square
};

Counts countDrawn(const sf::Image& img, Point topLeft, int size) {
    Counts n;
    sf::Vector2u s = img.getSize();
    for (unsigned y = 0; y < s.y; ++y)
        for (unsigned x = 0; x < s.x; ++x) {
            if (img.getPixel(x, y).a == 0) continue;
            int px = static_cast<int>(x), py = static_cast<int>(y);
            bool inBox = px >= topLeft.x && px < topLeft.x + size && py >= topLeft.y - size / 2 &&
                         py < topLeft.y + size;
            bool nearBox = px >= topLeft.x - size / 2 && px < topLeft.x + size + size / 2 &&
                           py >= topLeft.y - size && py < topLeft.y + size + size / 4;
            if (inBox) ++n.inside;
            if (!nearBox) ++n.outside;
        }
    return n;
}

class CharacterDrawing : public ::testing::Test {
protected:
    static std::unique_ptr<Resources> store;
    static std::unique_ptr<ItemList> catalogue;
    static std::unique_ptr<MagicRepository> spells;
    static std::unique_ptr<PotionRepository> potions;
    static std::unique_ptr<People> roster;
    CatchFatal catchFatal;

    static void SetUpTestSuite() {
        store = std::make_unique<Resources>();
        store->loadCharacterPictures("Resources//Characters", nullptr, 0.f);
        store->loadEnemyPictures("Resources//Enemies", nullptr, 0.f);
        store->loadTextureFolder("Resources//Faces", nullptr, 0.f, store->faces);
        store->loadTextureFolder("Resources//Bodies", nullptr, 0.f, store->bodies);
        store->loadTextureFolder("Resources//Hats", nullptr, 0.f, store->hats);
        store->loadTextureFolder("Resources//StuffToThrow", nullptr, 0.f, store->stuffToThrow);
        store->loadTextureFolder("Resources//Items", nullptr, 0.f, store->items);
        catalogue = std::make_unique<ItemList>();
        spells = std::make_unique<MagicRepository>();
        potions = std::make_unique<PotionRepository>();
        roster = std::make_unique<People>();
        resources = store.get();
        itemList = catalogue.get();
        magicRepository = spells.get();
        potionRepository = potions.get();
        people = roster.get();
        spells->load("Data/Magic.txt", nullptr, 0.f);
        catalogue->load("Data/Items.txt", nullptr, 0.f);
        potions->load("Data/Potions.txt", nullptr, 0.f);
        roster->loadCharacters("Data/Characters.txt", nullptr, 0.f, false, nullptr);
        roster->loadCharacters("Data/Enemies.txt", nullptr, 0.f, false, nullptr);
    }

    static void TearDownTestSuite() {
        resources = nullptr;
        itemList = nullptr;
        magicRepository = nullptr;
        potionRepository = nullptr;
        people = nullptr;
        roster.reset();
        potions.reset();
        spells.reset();
        catalogue.reset();
        store.reset();
    }

    // The first demo character of each type.
    static Character figure(int type) {
        for (const Character& c : roster->characters)
            if (static_cast<int>(c.type) == type) return c;
        ADD_FAILURE() << "no demo character of type " << type;
        Character c("Type" + std::to_string(type));
        c.type = static_cast<CharacterType>(type);
        return c;
    }

    static sf::Image render(Character c, int size, bool back, int frame, sf::Color tint = BACKDROP,
                            bool halo = false) {
        sf::RenderTexture rt;
        rt.create(static_cast<unsigned>(size * 3), static_cast<unsigned>(size * 3));
        rt.clear(BACKDROP);
        c.showBack = back;
        c.frame = frame;
        c.draw(rt, {size, size}, static_cast<float>(size), tint, halo);
        rt.display();
        return rt.getTexture().copyToImage();
    }
};

std::unique_ptr<Resources> CharacterDrawing::store;
std::unique_ptr<ItemList> CharacterDrawing::catalogue;
std::unique_ptr<MagicRepository> CharacterDrawing::spells;
std::unique_ptr<PotionRepository> CharacterDrawing::potions;
std::unique_ptr<People> CharacterDrawing::roster;

bool sameImage(const sf::Image& a, const sf::Image& b) {
    if (a.getSize() != b.getSize()) return false;
    sf::Vector2u s = a.getSize();
    for (unsigned y = 0; y < s.y; ++y)
        for (unsigned x = 0; x < s.x; ++x)
            if (a.getPixel(x, y) != b.getPixel(x, y)) return false;
    return true;
}

} // namespace

TEST_F(CharacterDrawing, EveryTypeDrawsInsideItsSquareAtBothZoomsFrontAndBack) {
    for (int type = 0; type < CHARACTER_TYPE_COUNT; ++type) {
        Character c = figure(type);
        for (int size : {120, 60}) {
            for (bool back : {false, true}) {
                sf::Image img = render(c, size, back, 1);
                Counts n = countDrawn(img, {size, size}, size);
                std::string what = characterTypeNames()[type] + " size " + std::to_string(size) +
                                   (back ? " back" : " front");
                // at least a tenth of the box is covered, and nearly nothing strays far from it
                EXPECT_GT(n.inside, size * size * 3 / 2 / 10) << what;
                EXPECT_LT(n.outside, size * size / 50 + 1) << what;
            }
            // it moves: two frames of the cycle differ
            EXPECT_FALSE(sameImage(render(c, size, false, 0), render(c, size, false, 2)))
                << characterTypeNames()[type] << " size " << size;
        }
        // the face is only on the front (a picture body has no back view)
        if (type != static_cast<int>(CharacterType::IMAGE)) {
            EXPECT_FALSE(sameImage(render(c, 120, false, 1), render(c, 120, true, 1))) << type;
        }
    }
}

TEST_F(CharacterDrawing, TypesOutsideTheEighteenAreFatal) {
    Character c("Nobody");
    sf::RenderTexture rt;
    rt.create(60, 60);
    for (int bad : {18, -1, 99}) {
        c.type = static_cast<CharacterType>(bad);
        std::string message = fatalMessage([&] { c.draw(rt, {0, 0}, 60.f, sf::Color(0, 0, 0, 0), false); });
        EXPECT_EQ(message.rfind("ASSERT file Character line ", 0), 0u) << bad;
        EXPECT_NE(message.find(" : " + std::to_string(bad)), std::string::npos) << message;
    }
}

TEST_F(CharacterDrawing, TintFadesHaloRingsAndSizeScales) {
    Character c = figure(0);
    Counts plain = countDrawn(render(c, 120, false, 1), {120, 120}, 120);
    // the invisibility tint keeps the figure, fainter
    sf::Image faded = render(c, 120, false, 1, sf::Color(0, 0, 0, 150));
    EXPECT_GT(countDrawn(faded, {120, 120}, 120).inside, plain.inside / 2);
    auto totalAlpha = [](const sf::Image& img) {
        long long sum = 0;
        for (unsigned y = 0; y < img.getSize().y; ++y)
            for (unsigned x = 0; x < img.getSize().x; ++x) sum += img.getPixel(x, y).a;
        return sum;
    };
    EXPECT_LT(totalAlpha(faded), totalAlpha(render(c, 120, false, 1)) * 3 / 4);
    // a full fade draws nothing
    EXPECT_EQ(countDrawn(render(c, 120, false, 1, sf::Color(0, 0, 0, 255)), {120, 120}, 120).inside, 0);
    // a poison tint takes its colour out of the figure
    sf::Image green = render(c, 120, false, 1, sf::Color(0, 255, 0, 0));
    for (unsigned y = 0; y < 360; y += 3)
        for (unsigned x = 0; x < 360; x += 3) ASSERT_EQ(green.getPixel(x, y).g, 0);
    // the halo shows only with a shield and the flag
    c.stats[SHL] = 0;
    EXPECT_TRUE(sameImage(render(c, 120, false, 1, BACKDROP, true), render(c, 120, false, 1)));
    c.stats[SHL] = 2;
    EXPECT_GT(countDrawn(render(c, 120, false, 1, BACKDROP, true), {120, 120}, 120).inside, plain.inside);
    EXPECT_TRUE(sameImage(render(c, 120, false, 1, BACKDROP, false), render(c, 120, false, 1)));
    // size factor: a smaller figure covers less, standing on the same ground line
    c.stats[SHL] = 0;
    c.size = 0.5f;
    EXPECT_LT(countDrawn(render(c, 120, false, 1), {120, 120}, 120).inside, plain.inside / 2);
    Character flyer = c;
    flyer.size = 1.f;
    flyer.flying = true;
    EXPECT_FLOAT_EQ(flyer.sizeFactor(), 0.9f);
    // a walker that flies gets wings beside it
    auto sides = [](const sf::Image& img) {
        int n = 0;
        for (unsigned y = 0; y < 360; ++y)
            for (unsigned x = 0; x < 360; ++x)
                if ((x < 135 || x >= 225) && img.getPixel(x, y).a > 0) ++n;
        return n;
    };
    Character walker = figure(0);
    Character winged = walker;
    winged.flying = true;
    EXPECT_GT(sides(render(winged, 120, false, 1)), sides(render(walker, 120, false, 1)) + 500);
    winged.flyingNoWings = true;
    EXPECT_LT(sides(render(winged, 120, false, 1)), sides(render(walker, 120, false, 1)));
    // the drawn centre and the weapon point are recorded
    sf::RenderTexture rt;
    rt.create(360, 360);
    c.size = 1.f;
    c.draw(rt, {120, 120}, 120.f, BACKDROP, false);
    EXPECT_FLOAT_EQ(c.drawnCentre.x, 180.f);
    EXPECT_FLOAT_EQ(c.drawnCentre.y, 150.f);
    EXPECT_GT(c.weaponPoint.x, 180.f);
    EXPECT_GT(c.weaponPoint.y, 150.f);
}

TEST_F(CharacterDrawing, VisibleOnlyNearTheWindowAndInBoxes) {
    sf::RenderTexture rt;
    rt.create(400, 300);
    Character c = figure(1);
    auto drawnAfter = [&](Point pixel, Point view) {
        rt.clear(BACKDROP);
        c.pixel = pixel;
        c.drawIfVisible(rt, view);
        rt.display();
        sf::Image img = rt.getTexture().copyToImage();
        int n = 0;
        for (unsigned y = 0; y < 300; ++y)
            for (unsigned x = 0; x < 400; ++x) n += img.getPixel(x, y).a > 0;
        return n;
    };
    int old = displayTileSize;
    displayTileSize = 120;
    EXPECT_GT(drawnAfter({120, 120}, {0, 0}), 1000);
    EXPECT_EQ(drawnAfter({1200, 120}, {0, 0}), 0);  // beyond the right margin
    EXPECT_EQ(drawnAfter({120, 120}, {300, 0}), 0); // at x = -180: beyond the left margin
    EXPECT_GT(drawnAfter({120, 120}, {200, 0}), 0); // at x = -80: within the margin, partly seen
    displayTileSize = 60;                           // zoomed out: positions and size halve
    EXPECT_GT(drawnAfter({240, 240}, {0, 0}), 200);
    displayTileSize = old;

    // in a box: the face when there is a photo, else the front figure at frame 1
    int mira = roster->indexOf("Mira");
    int guard = roster->indexOf("Guard1");
    roster->at(guard).showBack = true;
    roster->at(guard).frame = 5;
    rt.clear(BACKDROP);
    drawCharacterInBox(rt, guard, {10.f, 20.f}, {180.f, 180.f});
    EXPECT_TRUE(roster->at(guard).showBack);
    EXPECT_EQ(roster->at(guard).frame, 5);
    rt.display();
    sf::Image img = rt.getTexture().copyToImage();
    int inBox = 0, outBox = 0;
    for (unsigned y = 0; y < 300; ++y)
        for (unsigned x = 0; x < 400; ++x) {
            if (img.getPixel(x, y).a == 0) continue;
            (x >= 10 && x < 190 && y >= 20 && y < 200 ? inBox : outBox)++;
        }
    EXPECT_GT(inBox, 2000);
    EXPECT_LT(outBox, inBox / 200); // at most outline pixels
    rt.clear(BACKDROP);
    drawCharacterInBox(rt, mira, {0.f, 0.f}, {100.f, 100.f});
    rt.display();
    sf::Image face = rt.getTexture().copyToImage();
    EXPECT_GT(face.getPixel(50, 50).a, 0);
    EXPECT_EQ(face.getPixel(150, 50).a, 0);
}

TEST_F(CharacterDrawing, ThrowersPickTheirObjects) {
    Character a = roster->at(roster->indexOf("Tomas"));
    srand(7);
    std::set<int> picked;
    for (int i = 0; i < 40; ++i) {
        a.pickRandomThrowObject();
        picked.insert(a.throwObjectNumber);
        EXPECT_EQ(&a.throwObject(), &resources->getStuffToThrowTexture("Flask", a.throwObjectNumber));
    }
    EXPECT_EQ(picked, (std::set<int>{1, 2, 3}));
    EXPECT_EQ(a.throwObjectColor(), resources->getStuffToThrowColor("Flask", a.throwObjectNumber));
    Character w = roster->at(roster->indexOf("Ravi"));
    w.objectToThrow = "Flask";
    w.throwObjectNumber = 2;
    w.pickRandomThrowObject(); // not a thrower: nothing
    EXPECT_EQ(w.throwObjectNumber, 2);
    // every demo thrower, and every weapon a food or goof warrior may hold, has pictures
    for (const Character& c : roster->characters) {
        if (c.isThrower()) { EXPECT_GT(resources->countStuffToThrow(c.objectToThrow), 0) << c.name; }
    }
    for (const Item& item : *catalogue) {
        if (item.type == Item::WEAPON && (item.isAllowed("FoodWarrior") || item.isAllowed("GoofWarrior"))) {
            EXPECT_EQ(fatalMessage([&] { resources->countStuffToThrow(item.name); }), "") << item.name;
        }
    }
}

TEST_F(CharacterDrawing, LargeMonsterRowsAreSlices) {
    sf::Image frameImage;
    frameImage.create(40, 60, sf::Color::Red);
    for (unsigned y = 30; y < 60; ++y)
        for (unsigned x = 0; x < 40; ++x) frameImage.setPixel(x, y, sf::Color::Blue);
    std::vector<sf::Texture> frames(2);
    frames[0].loadFromImage(frameImage);
    frames[1].loadFromImage(frameImage);
    resources->animations["TestGiant"] = frames;
    LargeMonster giant;
    giant.name = "TestGiant";
    giant.frameCount = 2;
    giant.base = {1, 0};
    giant.cells = {{1, 0}, {2, 0}, {1, 1}, {2, 1}};
    EXPECT_EQ(CompositeMonster::extent(giant), Point(2, 2));
    int old = displayTileSize;
    displayTileSize = 60;
    sf::RenderTexture rt;
    rt.create(300, 200);
    rt.clear(BACKDROP);
    CompositeMonster::draw(giant, rt, {0, 0}, 1, 255);
    CompositeMonster::draw(giant, rt, {0, 0}, 2, 255); // beyond its rows: nothing
    rt.display();
    sf::Image img = rt.getTexture().copyToImage();
    EXPECT_EQ(img.getPixel(90, 90), sf::Color::Blue);   // row 1 only, at y 60..120
    EXPECT_EQ(img.getPixel(90, 30).a, 0);               // row 0 not drawn
    EXPECT_EQ(img.getPixel(30, 90).a, 0);               // left of the base
    EXPECT_EQ(img.getPixel(175, 90), sf::Color::Blue);  // two cells wide
    rt.clear(BACKDROP);
    CompositeMonster::draw(giant, rt, {0, 0}, 0, 100);
    rt.display();
    sf::Color top = rt.getTexture().copyToImage().getPixel(90, 30);
    EXPECT_GT(top.r, 0); // the top row, red, faded
    EXPECT_EQ(top.b, 0);
    EXPECT_EQ(top.a, 100);
    displayTileSize = old;
    resources->animations.erase("TestGiant");
}

TEST_F(CharacterDrawing, EveryTypeAndEveryFaceLooksItsOwn) {
    // All eighteen side by side: front at full size, back, then front zoomed out at another
    // frame facing west; below, a few faces close up. Saved too, for a look by eye.
    const int cellW = 150, cellH = 200, faceY = cellH * 6 + 90, faceW = 260;
    const sf::Color ground(96, 140, 88);
    sf::RenderTexture rt;
    rt.create(cellW * 9, cellH * 6 + 300);
    rt.clear(ground);
    for (int type = 0; type < CHARACTER_TYPE_COUNT; ++type) {
        Character c = figure(type);
        int col = type % 9, band = type / 9;
        int x = col * cellW + (cellW - 120) / 2;
        int y = band * cellH * 3 + 70;
        c.frame = 1;
        c.showBack = false;
        c.draw(rt, {x, y}, 120.f, sf::Color(0, 0, 0, 0), false);
        c.showBack = true;
        c.frame = 4;
        c.draw(rt, {x, y + cellH}, 120.f, sf::Color(0, 0, 0, 0), false);
        c.showBack = false;
        c.frame = 3;
        c.facing = WEST;
        c.draw(rt, {x + 30, y + 2 * cellH - 10}, 60.f, sf::Color(0, 0, 0, 0), c.stats[SHL] > 0);
    }
    const std::vector<std::string> faces{"Ravi", "Sabio", "Anju", "Bruno", "Pip"};
    for (std::size_t i = 0; i < faces.size(); ++i) {
        Character c = roster->at(roster->indexOf(faces[i]));
        c.frame = 2;
        c.draw(rt, {20 + static_cast<int>(i) * faceW, faceY}, 200.f, sf::Color(0, 0, 0, 0), false);
    }
    rt.display();
    const sf::Image gallery = rt.getTexture().copyToImage();
    saveScreenshot(gallery, "characters");

    // A type drawn as another (a case that falls through, a shared picture) and a face drawn for
    // the wrong person show here as two equal cells.
    auto cell = [&](unsigned x0, unsigned y0, unsigned w, unsigned h) {
        std::vector<sf::Uint32> pixels;
        for (unsigned y = y0; y < y0 + h; ++y)
            for (unsigned x = x0; x < x0 + w; ++x) pixels.push_back(gallery.getPixel(x, y).toInteger());
        return pixels;
    };
    auto drawnIn = [&](const std::vector<sf::Uint32>& pixels) {
        return std::count_if(pixels.begin(), pixels.end(),
                             [&](sf::Uint32 p) { return p != ground.toInteger(); });
    };
    std::vector<std::vector<sf::Uint32>> types, portraits;
    for (int type = 0; type < CHARACTER_TYPE_COUNT; ++type)
        types.push_back(cell((type % 9) * cellW, (type / 9) * cellH * 3, cellW, cellH * 3));
    for (std::size_t i = 0; i < faces.size(); ++i)
        portraits.push_back(cell(20 + static_cast<unsigned>(i) * faceW, faceY - 100, 200, 300));
    for (std::size_t a = 0; a < types.size(); ++a) {
        EXPECT_GT(drawnIn(types[a]), 120 * 120 / 5) << characterTypeNames()[a];
        for (std::size_t b = a + 1; b < types.size(); ++b)
            EXPECT_NE(types[a], types[b]) << characterTypeNames()[a] << " and " << characterTypeNames()[b];
    }
    for (std::size_t a = 0; a < portraits.size(); ++a) {
        EXPECT_GT(drawnIn(portraits[a]), 200 * 200 / 5) << faces[a];
        for (std::size_t b = a + 1; b < portraits.size(); ++b)
            EXPECT_NE(portraits[a], portraits[b]) << faces[a] << " and " << faces[b];
    }
}

TEST(CharacterFiles, LoadingShowsProgressBeforeEachHandledLine) {
    CatchFatal catchFatal;
    std::string dir = scratchDir("characters_progress");
    std::string path = dir + "/people.txt";
    {
        std::ofstream out(path);
        out << "# three people\n\nCharacter A TYPE BAT\n  \nCharacter B\nCharacter C TYPE SLIME\n";
    }
    std::vector<std::pair<float, float>> calls;
    LoadingObserver old = setLoadingObserver([&](float overall, float part) { calls.emplace_back(overall, part); });
    sf::RenderWindow window(sf::VideoMode(320, 200), "progress");
    People roster;
    roster.loadCharacters(path, &window, 0.25f, false, nullptr);
    setLoadingObserver(old);
    ASSERT_EQ(calls.size(), 3u);
    float last = -1.f;
    for (auto& [overall, part] : calls) {
        EXPECT_FLOAT_EQ(overall, 0.25f);
        EXPECT_GT(part, last);
        EXPECT_LT(part, 1.f);
        last = part;
    }
    EXPECT_EQ(roster.characters.size(), 3u);
    // without a window nothing is shown
    calls.clear();
    old = setLoadingObserver([&](float overall, float part) { calls.emplace_back(overall, part); });
    People quiet;
    quiet.loadCharacters(path, nullptr, 0.25f, false, nullptr);
    setLoadingObserver(old);
    EXPECT_TRUE(calls.empty());
}
