// The battle's picture: its share of each tile row of the scene (cells, markers, combatants,
// badges) and, in the overlay pass, the dying combatant, the action close-up and the panels.
#include "battle/Battle.hpp"

#include "battle/CloseUpBackdropDraw.hpp"
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/Ellipse.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

int rollBelow(int n) { return n <= 0 ? 0 : std::rand() % n; }

// A combatant's full-size pixel position at the drawn tile size.
sf::Vector2f drawnPixel(Point pixel, Point view) {
    const float k = static_cast<float>(displayTileSize) / static_cast<float>(TILE_SIZE);
    return {static_cast<float>(pixel.x) * k - static_cast<float>(view.x),
            static_cast<float>(pixel.y) * k - static_cast<float>(view.y)};
}

bool sameSide(long long a, long long b) {
    return people->isMember(static_cast<int>(a)) == people->isMember(static_cast<int>(b));
}

int combatantRow(const Character& c) { return std::max(c.tile.y, c.targetTile.y); }

void fillCell(sf::RenderTarget& window, Point view, Point cell, sf::Color colour) {
    const int T = displayTileSize;
    sf::RectangleShape square({static_cast<float>(T), static_cast<float>(T)});
    square.setPosition(static_cast<float>(cell.x * T - view.x), static_cast<float>(cell.y * T - view.y));
    square.setFillColor(colour);
    window.draw(square);
}

// The colour of a reachable cell by the options that are done from it.
sf::Color reachableColour(const Battle& b, Point cell, long long actor) {
    bool any = false, allFriendly = true, allSpells = true;
    for (const BattleAction& o : b.options) {
        if (o.cell != cell) continue;
        any = true;
        if (o.target == NO_INDEX || !sameSide(o.target, actor)) allFriendly = false;
        if (o.spell.name.empty()) allSpells = false;
    }
    if (!any) return {250, 250, 250, 125};
    if (allFriendly) return {0, 255, 0, 125};
    if (allSpells) return {250, 0, 250, 125};
    return {250, 0, 0, 125};
}

} // namespace

void Battle::drawCellFrame(sf::RenderTarget& window, Point view, Point cell) const {
    const int T = displayTileSize;
    sf::RectangleShape frame({static_cast<float>(T - 10), static_cast<float>(T - 10)});
    frame.setFillColor(sf::Color::Transparent);
    frame.setOutlineColor(flashColor);
    frame.setOutlineThickness(5);
    frame.setPosition(static_cast<float>(cell.x * T - view.x + 5), static_cast<float>(cell.y * T - view.y + 5));
    window.draw(frame);
}

void Battle::drawCounterBadge(Point view, sf::RenderTarget& window, Point pixel, sf::Color colour, int count) {
    const int T = displayTileSize;
    const sf::Vector2f p = drawnPixel(pixel, view);
    const float x = p.x + static_cast<float>(T / 2) - static_cast<float>(0.35 * T);
    const float y = p.y + static_cast<float>(T / 2) - static_cast<float>(0.35 * T);
    sf::CircleShape badge(static_cast<float>(T / 10), 30);
    badge.setFillColor(colour);
    badge.setOrigin(static_cast<float>(T / 10), static_cast<float>(T / 10));
    badge.setPosition(x, y);
    window.draw(badge);
    sf::Text text(std::to_string(count), resources->getFont("Nice"), 20);
    text.setFillColor(sf::Color::White);
    const sf::FloatRect r = text.getLocalBounds();
    text.setOrigin(r.width / 2.f, r.height);
    text.setPosition(x, y);
    window.draw(text);
}

void Battle::drawRandomCircles(const DotCloud& cloud, sf::RenderTarget& window, Point view) {
    if (cloud.dots < 1) return;
    const int w = cloud.size.x, h = cloud.size.y;
    sf::CircleShape dot(1.f, 30);
    for (int i = 0; i < cloud.dots; ++i) {
        const float radius = static_cast<float>(std::rand() % 2 + 1);
        const int c = randomChannel();
        sf::Color colour(c, c, c, 255);
        if (cloud.colourful) {
            if (c > 0) {
                const int b = std::rand() % c;
                const int r = std::rand() % c;
                colour = sf::Color(r, c, b, 255);
            } else {
                colour = sf::Color(0, 0, 0, 255);
            }
        }
        const int d = (std::rand() % 3) * 2 + 2;
        const int sx = w / d, sy = h / d;
        const int ySign = std::rand() % 2 == 1 ? 1 : -1;
        const int yOff = rollBelow(sy);
        const int xSign = std::rand() % 2 == 1 ? 1 : -1;
        const int xOff = rollBelow(sx);
        dot.setRadius(radius);
        dot.setFillColor(colour);
        // The cloud is held in full-size pixels like the combatant it covers; zoomed out it
        // shrinks with the grid.
        const float k = static_cast<float>(displayTileSize) / static_cast<float>(TILE_SIZE);
        dot.setPosition(static_cast<float>(cloud.pos.x + w / 2 + xSign * xOff) * k - static_cast<float>(view.x),
                        static_cast<float>(cloud.pos.y + h / 2 + ySign * yOff) * k - static_cast<float>(view.y));
        window.draw(dot);
    }
}

void Battle::drawStatusBar(sf::RenderTarget& window, sf::Vector2f position, float maxWidth, int maximum,
                           float fraction) {
    // A stat whose maximum is 0 (a fighter's MP) has an empty bar, not a division by zero; a
    // bar that has no width at all is not drawn (its outline alone would be a stray tick).
    if (maximum <= 0) return;
    if (!std::isfinite(fraction)) fraction = 0.f;
    fraction = std::clamp(fraction, 0.f, 1.f);
    const float w = std::max(0.f, std::min(4.f * static_cast<float>(maximum), maxWidth));
    sf::RectangleShape bar({w, 30.f});
    bar.setPosition(position);
    bar.setFillColor(sf::Color::Red);
    bar.setOutlineColor(sf::Color::White);
    bar.setOutlineThickness(2);
    window.draw(bar);
    sf::RectangleShape filled({w * fraction, 30.f});
    filled.setPosition(position);
    filled.setFillColor(sf::Color::Green);
    window.draw(filled);
}

void Battle::drawStatusPanel(sf::Vector2f size, sf::RenderTarget& window, sf::Vector2f position, long long index) {
    const Character& c = people->at(index);
    sf::RectangleShape panel(size);
    panel.setPosition(position);
    panel.setFillColor(sf::Color::Blue);
    panel.setOutlineColor(sf::Color::White);
    panel.setOutlineThickness(2);
    window.draw(panel);
    const sf::Font& font = resources->getFont("Dialog");
    const float x = position.x, y = position.y, w = size.x, h = size.y;
    sf::Text title(c.titleText(), font, 30), hp(c.hpText(), font, 30), mp(c.mpText(), font, 30);
    title.setPosition(x + 17, y);
    hp.setPosition(x + 17, y + h / 3);
    mp.setPosition(x + 17, y + 2 * h / 3);
    for (sf::Text* t : {&title, &hp, &mp}) {
        t->setFillColor(sf::Color::White);
        window.draw(*t);
    }
    const float g = std::floor(std::max(hp.getGlobalBounds().width, mp.getGlobalBounds().width));
    const auto fraction = [](int v, int m) { return m > 0 ? static_cast<float>(v) / static_cast<float>(m) : 0.f; };
    drawStatusBar(window, {x + g + 30, y + h / 3}, 2 * w / 3, c.stats[MAXHP], fraction(c.stats[HP], c.stats[MAXHP]));
    drawStatusBar(window, {x + g + 30, y + 2 * h / 3}, 2 * w / 3, c.stats[MAXMP], fraction(c.stats[MP], c.stats[MAXMP]));
}

void Battle::drawMessageBox(const ActionAnimation& box, sf::RenderTarget& window) {
    const float x = static_cast<float>(box.messageBoxPos.x), y = static_cast<float>(box.messageBoxPos.y);
    sf::RectangleShape frame({static_cast<float>(box.messageBoxSize.x), static_cast<float>(box.messageBoxSize.y)});
    frame.setPosition(x, y);
    frame.setFillColor(sf::Color::Blue);
    frame.setOutlineColor(sf::Color::White);
    frame.setOutlineThickness(2);
    window.draw(frame);
    const int fit = box.messageBoxSize.y / 35;
    const int first = std::max(0, box.shownLine - fit + 1);
    const sf::Font& font = resources->getFont("Dialog");
    const int count = static_cast<int>(box.lines.size());
    for (int i = first; i < count && i < first + fit && i <= box.shownLine; ++i) {
        std::string line = box.lines[i];
        if (i == box.shownLine) line = line.substr(0, static_cast<std::size_t>(std::max(0, box.shownChars)));
        sf::Text text(line, font, 35);
        text.setFillColor(sf::Color::White);
        text.setPosition(x + 17, y + static_cast<float>(35 * (i - first)));
        window.draw(text);
    }
}

void Battle::draw(sf::RenderTarget& window, Point view, int row) {
    if (!isActive()) {
        drawWatch(window, view);
        return;
    }
    drawRow(window, view, row);
    if (row == -1) drawOverlay(window, view);
}

void Battle::drawWatch(sf::RenderTarget& window, Point view) const {
    // Once fought out, a watch battle's enemies are no longer on guard (nor alive).
    if (!watch || finished) return;
    for (long long e : enemies) people->at(e).drawIfVisible(window, view, 0, false);
    for (Point c : watchedCells) fillCell(window, view, c, {200, 200, 100, 20});
}

void Battle::drawRow(sf::RenderTarget& window, Point view, int row) const {
    drawStateMarks(window, view, row);
    drawReachableCells(window, view, row);
    drawLargeMonsters(window, view, row);
    drawActorMarker(window, view, row);
    if (state == BAT_FORM) drawBat(window, view, row);
    drawBones(window, view, row);
    drawCombatants(window, view, row);
}

void Battle::drawOverlay(sf::RenderTarget& window, Point view) {
    if (dying != NO_INDEX) drawDying(window, view);
    // The panels are opaque and the same in every row's call, so they are drawn once, here.
    const long long target = state == CHOOSE_TARGET ? selectedTarget() : NO_INDEX;
    if (target != NO_INDEX) drawStatusPanel({500, 150}, window, {30, 900}, target);
    if (!shownAction.playing)
        if (auto* shownOn = dynamic_cast<sf::RenderWindow*>(&window)) closeUpBackdrop().prepare(*shownOn);
    shownAction.draw(window, background);
    const long long actor = actorIndex();
    if (!shownAction.playing && state != NEXT_TURN && actor != NO_INDEX)
        drawStatusPanel({500, 150}, window, {1390, 900}, actor);
}

void Battle::drawStateMarks(sf::RenderTarget& window, Point view, int row) const {
    switch (state) {
    case FREE_CURSOR:
        if (actorTile.y == row) drawCellFrame(window, view, actorTile);
        break;
    case CHOOSE_TARGET: drawTargetFrames(window, view, row); break;
    case CHOOSE_TOWER_CELL: drawTowerCellFrame(window, view, row); break;
    default: break;
    }
}

long long Battle::selectedTarget() const {
    auto it = menuActions.find(chosenKey);
    if (it == menuActions.end() || selection < 0 || selection >= static_cast<int>(it->second.size())) return NO_INDEX;
    return it->second[selection].target;
}

void Battle::drawTargetFrames(sf::RenderTarget& window, Point view, int row) const {
    const long long target = selectedTarget();
    if (target == NO_INDEX) return;
    const Point p = people->at(target).tile;
    const int r = chosenKey.spell.empty() ? 0 : magicRepository->get(chosenKey.spell).radiusAt(chosenKey.level);
    if (p.y == row) drawCellFrame(window, view, p);
    for (int x = p.x - r; x <= p.x + r; ++x)
        for (int y = p.y - r; y <= p.y + r; ++y)
            if (Point{x, y} != p && std::abs(x - p.x) + std::abs(y - p.y) <= r && y == row)
                drawCellFrame(window, view, {x, y});
}

void Battle::drawTowerCellFrame(sf::RenderTarget& window, Point view, int row) const {
    const long long actor = actorIndex();
    if (actor == NO_INDEX) return;
    auto it = towerCells.find(people->at(actor).tile);
    if (it == towerCells.end()) fatalAssert("Battle", 2677, "Oduna");
    if (it->second.empty()) fatalAssert("Battle", 2678, "Oduncular");
    // Opaque and the same in every call: drawn once, in the overlay's.
    if (row != -1) return;
    const int n = static_cast<int>(it->second.size());
    drawCellFrame(window, view, it->second[((selection % n) + n) % n]);
}

void Battle::drawReachableCells(sf::RenderTarget& window, Point view, int row) const {
    const long long actor = actorIndex();
    if (actor == NO_INDEX) return;
    const int T = displayTileSize;
    // While the close-up plays, its opaque frame covers whatever lies wholly inside it.
    sf::FloatRect covered;
    if (shownAction.playing)
        covered = coveredByCloseUp({shownAction.panelMargin * float(WINDOW_WIDTH) / 2.f, shownAction.panelMargin * float(WINDOW_HEIGHT) / 2.f, shownAction.panelWidth,
                   shownAction.panelHeight});
    const auto hidden = [&](Point cell) {
        const float x = static_cast<float>(cell.x * T - view.x), y = static_cast<float>(cell.y * T - view.y);
        return x >= covered.left && y >= covered.top && x + static_cast<float>(T) <= covered.left + covered.width &&
               y + static_cast<float>(T) <= covered.top + covered.height;
    };
    for (Point c : reachableCells)
        if (c.y == row && !hidden(c)) fillCell(window, view, c, reachableColour(*this, c, actor));
}

void Battle::drawLargeMonsters(sf::RenderTarget& window, Point view, int row) const {
    // They fade out with the battle's end.
    const int alpha = state == BATTLE_OVER ? 255 * fade / std::max(1, fadeFull) : 255;
    for (const LargeMonster& m : largeMonsters) {
        const int base = m.base.y;
        const int rows = CompositeMonster::extent(m).y;
        if (row >= base && row < base + rows) CompositeMonster::draw(m, window, view, row - base, alpha);
    }
}

void Battle::drawActorMarker(sf::RenderTarget& window, Point view, int row) const {
    const long long actor = actorIndex();
    if (state == NEXT_TURN || !blink || actor == NO_INDEX || row != combatantRow(people->at(actor))) return;
    const int T = displayTileSize;
    const Character& a = people->at(actor);
    EllipseShape marker({static_cast<float>(T / 2), static_cast<float>(T / 4)});
    marker.setFillColor(people->isMember(static_cast<int>(actor)) ? sf::Color(50, randomChannel(), 50, 255)
                                                                   : sf::Color(randomChannel(), 50, 50, 255));
    marker.setOrigin(static_cast<float>(T / 2), static_cast<float>(T / 4));
    const sf::Vector2f p = drawnPixel(a.pixel, view);
    marker.setPosition(p.x + static_cast<float>(T / 2), p.y + static_cast<float>(3 * T / 4));
    window.draw(marker);
}

void Battle::drawBat(sf::RenderTarget& window, Point view, int row) const {
    if (row != std::max(bat.restTile.y, bat.tile.y)) return;
    const auto& frames = resources->getAnimation("Bat");
    if (frames.empty()) return;
    const int T = displayTileSize;
    const sf::Texture& tex = frames[static_cast<std::size_t>(bat.frame) % frames.size()];
    sf::Sprite sprite(tex);
    const float s = static_cast<float>(T) / static_cast<float>(std::max(1u, tex.getSize().x));
    const bool flip = bat.direction == EAST || bat.direction == SOUTH;
    sprite.setScale(flip ? -s : s, s);
    sprite.setOrigin(tex.getSize().x / 2.f, tex.getSize().y / 2.f);
    const sf::Vector2f p = drawnPixel(bat.pixel, view);
    sprite.setPosition(p.x + static_cast<float>(T / 2), p.y + static_cast<float>(T / 2));
    window.draw(sprite);
}

void Battle::drawBones(sf::RenderTarget& window, Point view, int row) const {
    const int T = displayTileSize;
    for (const auto& [cell, fallen] : bones) {
        if (cell.y != row) continue;
        const sf::Texture& tex = resources->getMiscTexture("Bones");
        sf::Sprite sprite(tex);
        const float s = (2.f * static_cast<float>(T) / 3.f) / static_cast<float>(std::max(1u, tex.getSize().x));
        sprite.setScale(s, s);
        sprite.setOrigin(tex.getSize().x / 2.f, tex.getSize().y / 2.f);
        sprite.setPosition(static_cast<float>(cell.x * T + T / 2 - view.x), static_cast<float>(cell.y * T + T / 2 - view.y));
        window.draw(sprite);
    }
}

void Battle::drawCombatants(sf::RenderTarget& window, Point view, int row) const {
    for (long long c : turnList) {
        Character& ch = people->at(c);
        if (combatantRow(ch) != row) continue;
        int tint = 0;
        if (c == treasureDemon) tint = 255 * treasureDemonTurns / std::max(1, treasureDemonTurnLimit);
        else if (invisibleTurns.count(c)) tint = 150;
        bool inMonster = false;
        for (const LargeMonster& m : largeMonsters)
            if (m.members.count(c)) inMonster = true;
        if (!inMonster && !(state == BAT_FORM && c == bat.actor)) ch.drawIfVisible(window, view, tint, true);
        if (auto it = invisibleTurns.find(c); it != invisibleTurns.end())
            drawCounterBadge(view, window, ch.pixel, sf::Color::Green, it->second);
        if (auto it = modifierTurns.find(c); it != modifierTurns.end())
            drawCounterBadge(view, window, ch.pixel, sf::Color::Blue, it->second);
        if (auto it = temporaryMembers.find(c); it != temporaryMembers.end())
            drawCounterBadge(view, window, ch.pixel, sf::Color::Magenta, it->second);
    }
}

void Battle::drawDying(sf::RenderTarget& window, Point view) const {
    const int a = 255 * (deathDelay - deathCountdown) / std::max(1, deathDelay);
    people->at(dying).drawIfVisible(window, view, a, false);
    drawRandomCircles(dyingCloud, window, view);
}

// ---------------------------------------------------------------------------------------------
// The close-up

namespace {

sf::Color skyColour(int sky) {
    switch (sky) {
    case Battle::SKY_STARS: return {0, 0, 0};
    case Battle::SKY_CIRCUS: return {255, 255, 255};
    case Battle::SKY_TRAIN: return {128, 128, 128};
    default: return {135, 206, 235};
    }
}

// The same field every frame, from a fixed seed: 1000 white 3 x 3 squares in one list. With
// `within`, only the parts of the squares inside it (`inside` true) or outside it (false).
void drawStars(sf::RenderTarget& window, sf::Vector2f O, float W, float H, const sf::IntRect* within, bool inside) {
    static std::vector<sf::Vertex> quads;
    quads.clear();
    quads.reserve(6000);
    const auto add = [](int l, int t, int r, int b) {
        if (r <= l || b <= t) return;
        const float x0 = static_cast<float>(l), y0 = static_cast<float>(t);
        const float x1 = static_cast<float>(r), y1 = static_cast<float>(b);
        const sf::Vertex a({x0, y0}, sf::Color::White), c({x1, y1}, sf::Color::White);
        quads.insert(quads.end(), {a, sf::Vertex({x1, y0}, sf::Color::White), c, a, c, sf::Vertex({x0, y1}, sf::Color::White)});
    };
    std::uint32_t state = 22;
    const auto step = [&state]() {
        state = state * 1103515245u + 12345u;
        return static_cast<std::int32_t>(state);
    };
    for (int i = 0; i < 1000; ++i) {
        const int y = std::abs(step() % static_cast<int>(H)) + static_cast<int>(O.y);
        const int x = std::abs(step() % static_cast<int>(W)) + static_cast<int>(O.x);
        // Corners on whole pixels: a square cut into strips covers the pixels it covers whole.
        const int l = x - 1, t = y - 1, r = l + 3, b = t + 3;
        if (!within) {
            add(l, t, r, b);
            continue;
        }
        const int L = within->left, T = within->top, R = L + within->width, B = T + within->height;
        const int il = std::max(l, L), it = std::max(t, T), ir = std::min(r, R), ib = std::min(b, B);
        if (inside) {
            add(il, it, ir, ib);
        } else if (il >= ir || it >= ib) {
            add(l, t, r, b);
        } else {
            add(l, t, r, it);  // above
            add(l, ib, r, b);  // below
            add(l, it, il, ib); // left
            add(ir, it, r, ib); // right
        }
    }
    if (!quads.empty()) window.draw(quads.data(), quads.size(), sf::Triangles);
}

// The circus stripes and the background picture, or the scene's composed backdrop.
void drawSkyDetailsAndBackground(sf::RenderTarget& window, int sky, sf::Vector2f O, float W, float H,
                                 const std::string& background) {
    if (sky == Battle::SKY_CIRCUS) {
        sf::RectangleShape stripe({200.f, H});
        stripe.setFillColor(sf::Color::Red);
        for (int k = 0; O.x + 200 + 400 * k < O.x + W; ++k) {
            stripe.setPosition(O.x + 200.f + 400.f * static_cast<float>(k), O.y);
            window.draw(stripe);
        }
    }
    if (background.empty()) {
        if (game != nullptr)
            game->current().drawBattleBackdrop(
                window, Rect(static_cast<int>(O.x), static_cast<int>(O.y), static_cast<int>(O.x + W) - 1, static_cast<int>(O.y + H) - 1));
    } else {
        const sf::Texture& tex = resources->getBattleBackgroundTexture(background);
        const sf::Vector2u ts = tex.getSize();
        if (ts.x > 0 && ts.y > 0) {
            const float c = std::max(H / static_cast<float>(ts.y), W / static_cast<float>(ts.x));
            const int sx = static_cast<int>((static_cast<int>(static_cast<float>(ts.x) * c) - static_cast<int>(W)) / (2 * c));
            const int sy = static_cast<int>((static_cast<int>(static_cast<float>(ts.y) * c) - static_cast<int>(H)) / (2 * c));
            sf::Sprite sprite(tex, sf::IntRect(sx, sy, static_cast<int>(ts.x) - 2 * sx, static_cast<int>(ts.y) - 2 * sy));
            sprite.setScale(c, c);
            sprite.setPosition(O);
            window.draw(sprite);
        }
    }
}

// What the still backdrop shows: the sky, the frame's place, the background picture or, for the
// scene's composed backdrop, all it is made of (the scene, its cells, ground, sky layer and
// zoom); 0 for a backdrop that moves.
std::uint64_t backdropKey(const std::string& background, int sky, const sf::IntRect& inside) {
    std::uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](std::uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            h ^= (v >> (8 * i)) & 0xff;
            h *= 1099511628211ull;
        }
    };
    const auto mixText = [&](const std::string& text) {
        mix(text.size());
        for (char c : text) mix(static_cast<unsigned char>(c));
    };
    mix(static_cast<std::uint64_t>(sky));
    for (int v : {inside.left, inside.top, inside.width, inside.height}) mix(static_cast<std::uint64_t>(v));
    mixText(background);
    if (!background.empty() || game == nullptr) return h;
    const Scene& scene = game->current();
    mix(reinterpret_cast<std::uintptr_t>(&scene));
    mix(game->isNormalZoom());
    mix(scene.firstCellBackdrop);
    mixText(scene.mixedGroundTexture);
    mixText(scene.groundTileKind());
    const Background& layer = scene.backgrounds[LAYER_BACKGROUND];
    mix(static_cast<std::uint64_t>(layer.kind));
    mixText(layer.picture);
    mix(layer.colour.toInteger());
    for (const auto& column : scene.grid) {
        mix(column.size());
        for (int index : column) mix(static_cast<std::uint64_t>(index));
    }
    // A backdrop that moves would be drawn again every third frame, and read back: not kept.
    const bool moves = layer.kind == BG_ANIM_TILE || (scene.firstCellBackdrop && scene.animatedObjects.count(0) != 0);
    return moves ? 0 : h;
}

// The figure turned to a facing for its drawing, then turned back.
void drawFacing(Character& c, sf::RenderTarget& window, Point pos, float size, sf::Color tint, bool halo,
                Direction facing, bool back) {
    const Direction oldFacing = c.facing;
    const bool oldBack = c.showBack;
    c.facing = facing;
    c.showBack = back;
    c.draw(window, pos, size, tint, halo);
    c.facing = oldFacing;
    c.showBack = oldBack;
}

bool holdsBlaster(const Character& c) {
    return c.weapon != NO_ITEM && itemList != nullptr && itemList->at(c.weapon).classWord == "Blaster";
}

// The target's figure on the left half of the close-up; it slides out to the left before the
// next target and back in after it. Sets the panel position the hit pictures aim at.
void drawTargetFigure(ActionAnimation& a, sf::RenderTarget& window, Character& targetRef, sf::Vector2f O, float W,
                      float H, int S) {
    const float Sf = static_cast<float>(S);
    const int f = a.frame, h = a.hitFrame;
    int px = static_cast<int>(O.x + (W / 2 - Sf) / 2);
    const int py = static_cast<int>(H - 8 * Sf / 7);
    if (a.pausing) px = static_cast<int>(static_cast<float>((px + S) * (a.pauseLength - a.pauseFrame)) / static_cast<float>(a.pauseLength) - Sf);
    else if (a.resuming) px = static_cast<int>(static_cast<float>((px + S) * a.pauseFrame) / static_cast<float>(a.pauseLength) - Sf);
    a.panelPos = {px, py};
    // Who acts on itself is drawn once, as the actor, until the hit.
    if (a.actor == a.target && f < h) return;
    sf::Color tint(0, 0, 0, static_cast<sf::Uint8>(std::clamp(a.fadeAlpha, 0, 255)));
    // A poisoned target takes on the poison's opposite colour after the hit.
    if (a.effect.name == "Poison" && f > h && magicRepository != nullptr) {
        const sf::Color c = magicRepository->get("Poison").colorAt(1);
        tint.r = 255 - c.r;
        tint.g = 255 - c.g;
        tint.b = 255 - c.b;
    }
    const bool halo = a.effect.name == "Shield" ? f >= a.totalFrames / 2 : true;
    drawFacing(targetRef, window, a.panelPos, Sf, tint, halo, SOUTH, false);
}

// The weapon's slash over the target after the hit frame; gives the height the beams and rings
// aim at (0 when no slash is drawn, the blaster's muzzle height for a blaster).
float drawSlash(const ActionAnimation& a, sf::RenderTarget& window, const Character& actorRef, float Sf) {
    float slashY = 0.f;
    if (a.slashName.empty() || resources == nullptr) return slashY;
    const sf::Texture& tex = resources->getSlashTexture(a.slashName);
    const sf::Vector2u ts = tex.getSize();
    const float k = 3.f * static_cast<float>(TILE_SIZE) / static_cast<float>(std::max(1u, ts.x));
    sf::Sprite sprite(tex);
    sprite.setScale(k, k);
    sprite.setOrigin(0.f, static_cast<float>(ts.y) / 2.f);
    slashY = static_cast<float>(a.panelPos.y) + (Sf - static_cast<float>(ts.y) * k) * static_cast<float>(TILE_SIZE) / 360.f;
    if (holdsBlaster(actorRef)) slashY = actorRef.weaponPoint.y;
    sprite.setPosition(static_cast<float>(a.panelPos.x) + (Sf - 3.f * static_cast<float>(TILE_SIZE)) / 2.f, slashY);
    sprite.setColor(a.slashColor);
    window.draw(sprite);
    return slashY;
}

// A thrower's object spins from the actor to the hit point for seven frames, then splashes there
// in the colour of what was thrown.
void drawThrow(const ActionAnimation& a, sf::RenderTarget& window, Character& actorRef, float Sf) {
    const int f = a.frame, h = a.hitFrame;
    if (f - h <= 7) {
        const sf::Texture& tex = actorRef.throwObject();
        sf::Sprite sprite(tex);
        sprite.setOrigin(tex.getSize().x / 2.f, tex.getSize().y / 2.f);
        sprite.setRotation(static_cast<float>(std::rand() % 360));
        const float k = (Sf / 5.f) / static_cast<float>(std::max(1u, tex.getSize().y));
        sprite.setScale(k, k);
        const sf::Vector2f c = actorRef.drawnCentre;
        const float t = static_cast<float>(f - h) / 7.f;
        sprite.setPosition(c.x - (c.x - a.hitX) * t, c.y - (c.y - a.hitY) * t);
        window.draw(sprite);
        return;
    }
    const bool alchemist = actorRef.className == "Alchemist";
    const sf::Texture& tex = resources->getSlashTexture(alchemist ? "Potion" : "General");
    sf::Color tint = alchemist ? actorRef.potionColor : actorRef.eyeColor;
    if (actorRef.className == "FoodWarrior") {
        tint = actorRef.throwObjectColor();
        if (tint == sf::Color::Transparent) tint = randomColor();
    }
    if (actorRef.name == "OctopusHead") tint = sf::Color(147, 3, 133, 255);
    sf::Sprite sprite(tex);
    sprite.setOrigin(tex.getSize().x / 2.f, tex.getSize().y / 2.f);
    const float k = (Sf * 0.25f) / static_cast<float>(std::max(1u, tex.getSize().x));
    sprite.setScale(k, k);
    sprite.setColor(tint);
    sprite.setPosition(a.hitX, a.hitY);
    window.draw(sprite);
}

// The beam of a blaster (green, from its muzzle) or of a robot or UFO (from the actor's figure)
// to the target.
void drawBeam(const ActionAnimation& a, sf::RenderTarget& window, const Character& actorRef, float Sf,
              Point actorPlace, float slashY) {
    sf::ConvexShape beam(4);
    if (holdsBlaster(actorRef)) {
        const sf::Vector2f p0 = actorRef.weaponPoint;
        const sf::Vector2f p1 = p0 + sf::Vector2f(0.f, 10.f);
        const sf::Vector2f p2(static_cast<float>(a.panelPos.x) + Sf / 2.f, p1.y);
        beam.setPoint(0, p0);
        beam.setPoint(1, p1);
        beam.setPoint(2, p2);
        beam.setPoint(3, p2 - sf::Vector2f(0.f, 10.f));
        beam.setFillColor(sf::Color::Green);
    } else {
        const float u = actorRef.className == "UFO" ? Sf / 2.f : 0.f;
        const sf::Vector2f p0(static_cast<float>(actorPlace.x) + 2.f * Sf / 3.f - 50.f, static_cast<float>(actorPlace.y) + u);
        const sf::Vector2f p2(static_cast<float>(a.panelPos.x) + Sf / 2.f + 50.f, slashY);
        beam.setPoint(0, p0);
        beam.setPoint(1, p0 + sf::Vector2f(100.f, 0.f));
        beam.setPoint(2, p2);
        beam.setPoint(3, p2 - sf::Vector2f(100.f, 0.f));
        beam.setFillColor(actorRef.type == CharacterType::R2ROBOT ? sf::Color::Blue : sf::Color(200, 50, 50, 255));
    }
    window.draw(beam);
}

// A ghost's attack: 150 rings of random colours strung from the ghost to the target.
void drawGhostRings(const ActionAnimation& a, sf::RenderTarget& window, const Character& actorRef, float Sf,
                    Point actorPlace, float slashY) {
    const float z = actorRef.sizeFactor();
    EllipseShape ring({15.f * z, 25.f * z});
    ring.setFillColor(sf::Color::Transparent);
    ring.setOutlineThickness(1);
    const Point start{static_cast<int>(2 * z * Sf / 3 + static_cast<float>(actorPlace.x)),
                      static_cast<int>(static_cast<float>(actorPlace.y) + Sf / 2 - z * Sf / 2)};
    const Point end{static_cast<int>(static_cast<float>(a.panelPos.x) + Sf / 2), static_cast<int>(slashY)};
    for (int i = 0; i < 150; ++i) {
        ring.setOutlineColor(randomColor());
        ring.setPosition(static_cast<float>(start.x + (end.x - start.x) * i / 150),
                         static_cast<float>(start.y + (end.y - start.y) * i / 150));
        window.draw(ring);
    }
}

// What a plain attack (no spell) draws between the figures: the slash and the thrown object
// after the hit frame, the beam and the ghost's rings from it on, up to the hit's end.
void drawAttackPictures(const ActionAnimation& a, sf::RenderTarget& window, Character& actorRef, float Sf,
                        Point actorPlace) {
    const int f = a.frame, h = a.hitFrame, e = a.hitEndFrame;
    float slashY = 0.f;
    if (h < f && f <= e) slashY = drawSlash(a, window, actorRef, Sf);
    if (h < f && f <= e && actorRef.isThrower() && resources != nullptr) drawThrow(a, window, actorRef, Sf);
    const bool blaster = holdsBlaster(actorRef);
    if (h <= f && f <= e && (actorRef.isRobot() || actorRef.className == "UFO" || blaster))
        drawBeam(a, window, actorRef, Sf, actorPlace, slashY);
    if (h <= f && f <= e && actorRef.type == CharacterType::GHOST) drawGhostRings(a, window, actorRef, Sf, actorPlace, slashY);
}

} // namespace

void ActionAnimation::draw(sf::RenderTarget& window, const std::string& background) {
    if (!playing) return;
    const float W = panelWidth, H = panelHeight;
    const sf::Vector2f O(panelMargin * float(WINDOW_WIDTH) / 2.f, panelMargin * float(WINDOW_HEIGHT) / 2.f);
    const int f = frame, h = hitFrame;
    const bool zoomedOut = game != nullptr && !game->isNormalZoom();
    const int S = (zoomedOut ? 8 : 4) * TILE_SIZE;
    const float Sf = static_cast<float>(S);
    const int sky = game != nullptr ? game->current().battle.sky : 0;
    Character& actorRef = people->at(actor);
    Character& targetRef = people->at(target);
    const bool spell = carriesSpell();

    sf::RectangleShape frameRect({W, H});
    frameRect.setPosition(O);
    frameRect.setFillColor(skyColour(sky));
    frameRect.setOutlineColor(randomColor());
    frameRect.setOutlineThickness(5);
    // The sky, its details and the background, all within the frame's inside.
    auto drawStill = [&](sf::RenderTarget& target, const sf::IntRect* starsWithin) {
        sf::RectangleShape fill({W, H});
        fill.setPosition(O);
        fill.setFillColor(skyColour(sky));
        target.draw(fill);
        if (sky == Battle::SKY_STARS) drawStars(target, O, W, H, starsWithin, true);
        drawSkyDetailsAndBackground(target, sky, O, W, H, background);
    };
    auto* shownOn = dynamic_cast<sf::RenderWindow*>(&window);
    const sf::IntRect inside(static_cast<int>(O.x), static_cast<int>(O.y), static_cast<int>(W), static_cast<int>(H));
    const bool whole = static_cast<float>(inside.left) == O.x && static_cast<float>(inside.top) == O.y &&
                       static_cast<float>(inside.width) == W && static_cast<float>(inside.height) == H;
    const std::uint64_t key = closeUpBackdrop().keeps() && shownOn != nullptr && whole ? backdropKey(background, sky, inside) : 0;
    if (key != 0) {
        // The outline first: nothing of it lies inside, and the stars that reach onto it come after.
        drawOutlineAlone(window, frameRect);
        if (closeUpBackdrop().put(*shownOn, inside, key, [&](sf::RenderTarget& t) { drawStill(t, &inside); })) {
            if (sky == Battle::SKY_STARS) drawStars(window, O, W, H, &inside, false);
        } else {
            drawStill(window, nullptr);
        }
    } else {
        window.draw(frameRect);
        if (sky == Battle::SKY_STARS) drawStars(window, O, W, H, nullptr, true);
        drawSkyDetailsAndBackground(window, sky, O, W, H, background);
    }

    drawTargetFigure(*this, window, targetRef, O, W, H, S);
    const int ax = static_cast<int>(O.x + W / 2 + (W / 2 - Sf) / 2);
    const int ay = static_cast<int>(H - 10 * Sf / 11);
    if (!spell) drawAttackPictures(*this, window, actorRef, Sf, {ax, ay});

    if (spell) {
        if (f >= h) {
            effect.draw(window);
        } else {
            effect.drawProps(window);
            if (f == 0 && effect.name == "Zenguened" && resources != nullptr)
                if (sf::Sound* s = resources->findSound("Zenguened1")) s->play();
        }
    }

    if (!(actor == target && f >= h)) drawFacing(actorRef, window, {ax, ay}, Sf, sf::Color(0, 0, 0, 0), false, NORTH, true);

    if (f == h) {
        fillWindow(window, sf::Color::White);
    }

    Battle::drawStatusPanel({500, 150}, window, {30, 900}, target);
    Battle::drawStatusPanel({500, 150}, window, {1390, 900}, actor);
    Battle::drawMessageBox(*this, window);
}
