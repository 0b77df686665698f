#include "scenes/Scene.hpp"
#include "scenes/GroundLayer.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include "battle/Items.hpp"
#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/PartyExchangeMenu.hpp"
#include "game/TileKind.hpp"
#include "minigames/SpaceGates.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>

void drawFitted(sf::RenderTarget& window, const sf::Texture& tex, sf::Vector2f at, sf::Vector2f origin, float scale,
                float rotation) {
    sf::Sprite s(tex);
    s.setOrigin(origin);
    s.setScale(scale, scale);
    s.setRotation(rotation);
    s.setPosition(at);
    window.draw(s);
}

namespace {

int characterRow(const Character& c) { return std::max(c.tile.y, c.targetTile.y); }

void drawSquare(sf::RenderTarget& window, float side, sf::Vector2f centre, sf::Color fill) {
    sf::RectangleShape r({side, side});
    r.setOrigin(side / 2, side / 2);
    r.setPosition(centre);
    r.setFillColor(fill);
    window.draw(r);
}

// The black opening of a rocket's hatch, `width` wide, with its lower left corner at (left, bottom).
void drawHatch(sf::RenderTarget& window, float left, float bottom, float width) {
    sf::RectangleShape hatch({width, static_cast<float>(displayWallHeight)});
    hatch.setPosition(left, bottom - static_cast<float>(displayWallHeight));
    hatch.setFillColor(sf::Color::Black);
    window.draw(hatch);
}

// Everything a screen's texts are drawn from: equal keys, equal pixels.
std::string textsKey(const std::vector<SceneText>& texts) {
    std::string key;
    auto add = [&key](const auto& value) { key.append(reinterpret_cast<const char*>(&value), sizeof value); };
    add(resources);
    for (const SceneText& t : texts) {
        add(t.text.size());
        key += t.text;
        add(t.font.size());
        key += t.font;
        add(t.position);
        add(t.size);
        add(t.colour.toInteger());
        add(t.title);
    }
    return key;
}

// How this frame's backdrop goes down under the scene.
enum class Backdrop {
    Layers,      // the two layers whole, the long way
    Cleared,     // not at all: the credits clear the screen over it
    WithTexts,   // a screen's backdrop with its texts, over the whole window
    AroundGround // the layers where the map's ground leaves them showing
};

// The one place the scene's own drawing asks for the shortcuts: everything after follows the way.
Backdrop backdropOf(const Scene& scene) {
    if (!drawShortcuts) return Backdrop::Layers;
    if (scene.type == SCENE_SCREEN && scene.backgrounds[LAYER_BACKGROUND2].kind == BG_NADA &&
        !creditsClearTheScreen(scene.credits))
        return Backdrop::WithTexts;
    return creditsClearTheScreen(scene.credits) ? Backdrop::Cleared : Backdrop::AroundGround;
}

// Draws the backdrop; true when the screen's texts went down with it.
bool drawBackdrop(Scene& scene, sf::RenderWindow& window, Point V) {
    switch (backdropOf(scene)) {
    case Backdrop::Layers:
        scene.backgrounds[LAYER_BACKGROUND].draw(window, V);
        scene.backgrounds[LAYER_BACKGROUND2].draw(window, V);
        return false;
    case Backdrop::WithTexts:
        // A screen's texts lie straight on its backdrop, which may keep them with its picture.
        scene.backgrounds[LAYER_BACKGROUND].drawOverWindow(window, V, textsKey(scene.texts), [&](sf::RenderTarget& target) {
            for (const SceneText& t : scene.texts) t.draw(target);
        });
        return true;
    case Backdrop::AroundGround: GroundLayer::drawBackdropAround(scene, window, V); return false;
    case Backdrop::Cleared: return false;
    }
    return false;
}

// One frame of a walking scene's map, drawn row by row from the top, each row's things in the
// frame's order; then whatever no visible row reached.
class MapFrame {
public:
    MapFrame(Scene& scene, sf::RenderWindow& window, Point view, Point first, Point last, bool shake)
        : scene(scene), window(window), V(view), first(first), last(last), shake(shake) {
        for (int i : scene.persons) peopleByRow[characterRow(people->at(i))].push_back(i);
        for (int i : scene.persons2) people2ByRow[characterRow(people->at(i))].push_back(i);
    }

    void draw() {
        scene.drawMandelbrotGround(window, V);
        const GroundLayer ground(scene, window, V, first, last);
        for (int y = std::max(0, first.y); y < scene.mapHeight() && y <= last.y; ++y) {
            ground.drawRow(y);
            drawRocketsAndDrops(y);
            drawSecondObjectsAndBuildings(y);
            drawRocketHatches(y);
            drawTeleporters(y);
            scene.drawPicturesRow(window, V, y, false);
            drawTeamMarkers(y);
            drawPeople(y);
            drawFrontObjectsAndChests(y);
            // The live battle draws its share of the row here.
            if (scene.battle.isActive() || scene.battle.watch) scene.battle.draw(window, V, y);
            drawWellAndShards(y);
            if (auto it = scene.animatedObjects.find(y); it != scene.animatedObjects.end())
                for (const AnimatedObject& a : it->second) a.draw(window, &V);
            scene.drawPicturesRow(window, V, y, true);
            drawFrontTiles(y);
            drawRocketDestinations(y);
        }
        drawBelowLastRow();
    }

private:
    sf::Vector2f cellCorner(int x, int y) const {
        return sf::Vector2f(static_cast<float>(x * T - V.x), static_cast<float>(y * T - V.y));
    }
    sf::Vector2f cellCentre(int x, int y) const {
        return sf::Vector2f(static_cast<float>(x * T - V.x + T / 2), static_cast<float>(y * T - V.y + T / 2));
    }

    void drawRocketsAndDrops(int y) {
        const Point& rocket = scene.zweenyRocket;
        // The cat rocket stands six rows tall: redrawn after each of them.
        if (rocket.x != -1 && y >= rocket.y - 5 && y <= rocket.y) {
            const sf::Texture& tex = resources->getObjectTexture("CatRocket");
            const sf::Vector2u s = tex.getSize();
            if (s.x > 0)
                drawFitted(window, tex, cellCentre(rocket.x, rocket.y), {s.x / 2.f, static_cast<float>(s.y)},
                           5 * Tf / s.x);
            drawHatch(window, static_cast<float>((rocket.x + 1) * T - V.x), static_cast<float>(rocket.y * T - V.y),
                      0.8f * Tf);
        }
        if (auto it = scene.drops.find(y); it != scene.drops.end() && itemList) {
            for (const DroppedItem& d : it->second) {
                const sf::Texture& tex = resources->getItemTexture(itemList->at(d.item).name);
                const sf::Vector2u s = tex.getSize();
                if (s.x == 0 || s.y == 0) continue;
                sf::Vector2f at = cellCentre(d.tile.x, d.tile.y);
                if (d.onTable) at.y -= static_cast<float>(3 * T / 4);
                drawFitted(window, tex, at, {s.x / 2.f, s.y / 2.f}, (Tf / 2) / static_cast<float>(std::max(s.x, s.y)));
            }
        }
    }

    void drawSecondObjectsAndBuildings(int y) {
        if (auto it = scene.objectRows2.find(y); it != scene.objectRows2.end())
            for (int i : it->second) scene.objects2[i].draw(window, y, V);
        for (const Tunnel& t : scene.tunnels) t.drawRow(window, V, y);
        for (size_t b = 0; b < scene.buildings.size(); ++b)
            if (scene.buildings[b]->row() == y) {
                scene.buildings[b]->draw(window, V);
                drawnBuildings.insert(b);
            }
    }

    void drawRocketHatches(int y) {
        for (const Point& d : scene.extraRocketDoors)
            drawHatch(window, d.x * Tf - V.x + (Tf - 0.8f * Tf) / 2, static_cast<float>((d.y + 1) * T - V.y), 0.8f * Tf);
        const Point& place = scene.rocketTravelPlace;
        if (scene.hasRocketTravelPlace && !game->getStrVar("FLIGHT").empty() && y == place.y + 1) {
            const float px = static_cast<float>(place.x * T - V.x);
            const float py = static_cast<float>((place.y + 1) * T - V.y);
            drawHatch(window, px + (Tf - 0.8f * Tf) / 2, py, 0.8f * Tf);
            sf::ConvexShape pad(4);
            pad.setPoint(0, {px, py});
            pad.setPoint(1, {px - Tf / 10, py + Tf});
            pad.setPoint(2, {px + Tf + Tf / 10, py + Tf});
            pad.setPoint(3, {px + Tf, py});
            pad.setFillColor(sf::Color(75, 75, 75, 255));
            window.draw(pad);
        }
    }

    void drawTeleporters(int y) {
        for (const auto& [tile, target] : scene.teleports) {
            if (tile.y != y) continue;
            sf::Color c = randomColor();
            c.a = static_cast<sf::Uint8>(randomBelow(255));
            drawSquare(window, 0.9f * Tf, cellCentre(tile.x, tile.y), c);
        }
        for (const MovingTeleporter& m : scene.movingTeleporters) {
            if (m.row() != y) continue;
            Point p = m.pixel;
            scaleToScreen(p);
            drawSquare(window, 0.7f * Tf, {static_cast<float>(p.x + T / 2 - V.x), static_cast<float>(p.y + T / 2 - V.y)},
                       randomColor());
        }
    }

    void drawTeamMarkers(int y) {
        for (const Point& p : scene.comeBackLocations) {
            if (p.y != y) continue;
            sf::CircleShape ring(Tf / 2, 30);
            ring.setOrigin(Tf / 2, Tf / 2);
            ring.setPosition(cellCentre(p.x, p.y));
            ring.setFillColor(sf::Color(0, 180, 222, randomChannel()));
            window.draw(ring);
        }
        for (const Point& p : scene.switchTeamTiles) {
            if (p.y != y) continue;
            const sf::Uint8 r = randomChannel(), g = randomChannel(), a = randomChannel();
            drawSquare(window, 0.9f * Tf, cellCentre(p.x, p.y), sf::Color(r, g, 0, a));
        }
        for (const Point& p : scene.finishTeamSplitTiles) {
            if (p.y != y) continue;
            const sf::Uint8 r = randomChannel(), b = randomChannel(), a = randomChannel();
            drawSquare(window, 0.9f * Tf, cellCentre(p.x, p.y), sf::Color(r, 0, b, a));
        }
    }

    void drawPeople(int y) {
        if (scene.type == SCENE_WALK && people->mainCharacterIndex != NO_INDEX) {
            Character& leader = people->mainCharacter();
            if (characterRow(leader) == y && !scene.battle.isActive())
                leader.drawIfVisible(window, V + Point{0, shake ? 4 : 0});
            // Flying, the leader shows once more over the row below, unless a front tile hides it.
            if (leader.flying && characterRow(leader) == y - 1 && scene.isInside(leader.tile) &&
                scene.isInside(leader.targetTile) && !scene.tileKindAtCell(leader.tile.x, leader.tile.y).front &&
                !scene.tileKindAtCell(leader.targetTile.x, leader.targetTile.y).front)
                leader.drawIfVisible(window, V);
        }
        if (auto it = peopleByRow.find(y); it != peopleByRow.end()) {
            for (int i : it->second) {
                Character& c = people->at(i);
                const Point at{c.pixel.x * T / TILE_SIZE - V.x, c.pixel.y * T / TILE_SIZE - V.y};
                if (at.x >= -T && at.x <= WINDOW_WIDTH + T && at.y >= -T && at.y <= WINDOW_HEIGHT + T)
                    c.draw(window, at, Tf, sf::Color(0, 0, 0, 0), false);
            }
        }
        if (auto it = people2ByRow.find(y); it != people2ByRow.end())
            for (int i : it->second) people->at(i).drawIfVisible(window, V);
    }

    void drawFrontObjectsAndChests(int y) {
        if (auto it = scene.frontObjects.find(y); it != scene.frontObjects.end())
            for (const FrontObject& f : it->second) f.draw(window, V);
        if (auto it = scene.chests.find(y); it != scene.chests.end()) {
            for (const Chest& c : it->second) {
                const int left = c.tile.x * T - V.x;
                if (left < -T || left > WINDOW_WIDTH + T) continue;
                const sf::Texture& tex = resources->getMiscTexture(c.item.empty() ? "openChest" : "closedChest");
                const sf::Vector2u s = tex.getSize();
                if (s.x > 0)
                    drawFitted(window, tex, cellCentre(c.tile.x, c.tile.y), {s.x / 2.f, static_cast<float>(s.y)},
                               Tf / s.x);
            }
        }
    }

    void drawWellAndShards(int y) {
        if (scene.wishingWell.exists() && scene.wishingWell.row() == y) {
            scene.wishingWell.draw(window, V, scene.frameCounter);
            wellDrawn = true;
        }
        auto drawPiece = [&](const ShardPiece& p) {
            std::string platform = "MetalPlatformSQ";
            if (scene.isInside({p.tile.x, y})) {
                const TileKind& k = scene.tileKindAtCell(p.tile.x, y);
                if (!k.texture.empty()) platform = k.texture;
            }
            drawShardPiece(p, window, V, resources->getTexture(platform, T == 60));
        };
        if (auto it = scene.pieces.find(y); it != scene.pieces.end())
            for (const ShardPiece& p : it->second) drawPiece(p);
        // The shards lying on their platforms ("Shard", the shard room) show in their row.
        for (const auto& [cell, shown] : scene.shardAnimations)
            if (cell.y == y)
                for (const ShardPiece& p : shown) drawPiece(p);
    }

    // The tiles drawn in front of what stands in their row, window frames and door lintels.
    void drawFrontTiles(int y) {
        for (int x = std::max(0, first.x); x < scene.mapWidth() && x <= last.x; ++x) {
            const TileKind& kind = scene.tileKindAtCell(x, y);
            const sf::Vector2f p{static_cast<float>(x * T - V.x),
                                 static_cast<float>(y * T - V.y + (shake && y >= 1 ? 4 : 0))};
            if (kind.front) kind.draw(window, p.x, p.y, Tf);
            if (kind.window) {
                const float edge = static_cast<float>(T / 10);
                sf::RectangleShape frameShape({Tf - 2 * edge, Tf - 2 * edge});
                frameShape.setPosition(p.x + edge, p.y + edge);
                frameShape.setFillColor(sf::Color::Transparent);
                frameShape.setOutlineColor(sf::Color::White);
                frameShape.setOutlineThickness(edge);
                window.draw(frameShape);
            }
            if (x > 0 && kind.door && y > 0) drawLintel(x, y);
        }
    }

    // Over a door, the ground of its left neighbour with a black line along the top. The strip is
    // cut in full-size texels, so it takes the full-size picture at either zoom and is scaled down.
    void drawLintel(int x, int y) {
        const TileKind& left = scene.tileKindAtCell(x - 1, y);
        if (!left.texture.empty()) {
            const sf::Texture& tex = resources->getTexture(left.texture, false);
            const sf::Vector2u s = tex.getSize();
            if (s.x > 0) {
                sf::Sprite lintel(tex);
                lintel.setTextureRect({0, 0, 120, 54});
                lintel.setOrigin(s.x / 2.f, s.y / 2.f);
                lintel.setScale(Tf / s.x, Tf / s.x);
                lintel.setPosition(cellCentre(x, y - 1));
                window.draw(lintel);
            }
        }
        sf::RectangleShape line({Tf, static_cast<float>(T / 20)});
        line.setPosition(cellCorner(x, y - 1));
        line.setFillColor(sf::Color::Black);
        window.draw(line);
    }

    // The destinations a rocket pad offers, beside it in its row.
    void drawRocketDestinations(int y) {
        for (const auto& [pad, list] : scene.rocketDestinationLists) {
            if (pad.y != y) continue;
            for (const auto& [number, destination] : scene.rocketDestinations(pad)) {
                SceneObject sign;
                sign.name = destination;
                sign.x = static_cast<float>(number);
                sign.yOffset = (TILE_SIZE / 3 - TILE_SIZE) / 2;
                sign.tileAnchored = true;
                sign.draw(window, y, V);
            }
        }
    }

    // What no visible row reached.
    void drawBelowLastRow() {
        for (size_t b = 0; b < scene.buildings.size(); ++b)
            if (!drawnBuildings.count(b)) scene.buildings[b]->draw(window, V);
        const Point shaken = V + Point{0, shake ? 4 : 0};
        for (auto it = scene.objectRows.upper_bound(last.y); it != scene.objectRows.end(); ++it)
            for (int i : it->second) scene.objects[i].draw(window, it->first, shaken);
        for (auto it = scene.animatedObjects.upper_bound(last.y); it != scene.animatedObjects.end(); ++it)
            for (const AnimatedObject& a : it->second) a.draw(window, &V);
        for (auto it = scene.objectRows2.upper_bound(last.y); it != scene.objectRows2.end(); ++it)
            for (int i : it->second) scene.objects2[i].draw(window, it->first, V);
        if (scene.wishingWell.exists() && !wellDrawn) scene.wishingWell.draw(window, V, scene.frameCounter);
    }

    Scene& scene;
    sf::RenderWindow& window;
    const Point V, first, last;
    const bool shake; // a passing train shakes the ground and who stands on it by a few pixels
    const int T = displayTileSize;
    const float Tf = static_cast<float>(displayTileSize);
    std::map<int, std::vector<int>> peopleByRow, people2ByRow;
    std::set<size_t> drawnBuildings;
    bool wellDrawn = false;
};

void drawSpace(Scene& scene, sf::RenderTarget& window, Point V) {
    const int T = displayTileSize;
    const float Tf = static_cast<float>(T);
    for (const auto& gate : scene.gates) gate->draw(window, V);
    for (const auto& [row, list] : scene.objectRows)
        for (int i : list) scene.objects[i].draw(window, row, V);
    for (const Planet& p : scene.planets) {
        const sf::Texture& tex = resources->getPlanetTexture(p.name);
        const sf::Vector2u s = tex.getSize();
        if (s.x > 0)
            drawFitted(window, tex,
                       {static_cast<float>(p.tile.x * T - V.x + T / 2), static_cast<float>(p.tile.y * T - V.y + T / 2)},
                       {s.x / 2.f, s.y / 2.f}, p.size * Tf / s.x);
    }
    // The path position follows the frame counter, whether or not the update ran this frame.
    for (const Comet& comet : scene.comets) {
        Comet c = comet;
        c.update(scene.frameCounter);
        const sf::Texture& tex = resources->getPlanetTexture(c.name);
        const sf::Vector2u s = tex.getSize();
        if (s.x == 0) continue;
        Point p = c.position;
        scaleToScreen(p);
        drawFitted(window, tex, {static_cast<float>(p.x - V.x), static_cast<float>(p.y - V.y)}, {s.x / 2.f, s.y / 2.f},
                   c.size * Tf / s.x, c.angle());
    }
    drawCatRocket(scene.flame, window, V);
}

// Each field a stack of thirty shrinking rectangles of random colours, faint at the rim.
void drawEnergyFields(const Scene& scene, sf::RenderTarget& window, Point V) {
    const int T = displayTileSize;
    for (const Rect& f : scene.energyFields) {
        const float w = static_cast<float>(f.size(0) * T), h = static_cast<float>(f.size(1) * T);
        const sf::Vector2f centre{static_cast<float>((f.x0 * T) / 2 + (f.x1 * T) / 2 - V.x + T / 2),
                                  static_cast<float>((f.y0 * T) / 2 + (f.y1 * T) / 2 - V.y + T / 2)};
        for (int i = 0; i < 30; ++i) {
            const float shrink = static_cast<float>(i * (T / 5));
            if (w - shrink <= 0 || h - shrink <= 0) break;
            sf::RectangleShape r({w - shrink, h - shrink});
            r.setOrigin((w - shrink) / 2, (h - shrink) / 2);
            r.setPosition(centre);
            sf::Color fill = randomColor();
            fill.a = static_cast<sf::Uint8>(i);
            r.setFillColor(fill);
            window.draw(r);
        }
    }
}

void drawTextBoxes(Scene& scene, sf::RenderTarget& window) {
    if (scene.monolog.isActive()) scene.monolog.draw(window, false);
    if (scene.dialog.isActive()) scene.dialog.draw(window);
    if (scene.message.isActive()) scene.message.draw(window, false);
    if (scene.infoBox.isActive()) scene.infoBox.draw(window, false);
    if (scene.exchangeMenu) scene.exchangeMenu->draw(window);
}

// The leader's tile, the scene's name and the map position, in a colour of the frame.
void drawPositionReadout(const Scene& scene, sf::RenderTarget& window) {
    if (people->mainCharacterIndex == NO_INDEX) return;
    const Character& leader = people->mainCharacter();
    std::string readout = std::to_string(leader.tile.x) + "  " + std::to_string(leader.tile.y) + " " + scene.name;
    if (scene.mapPos != Point{-1, -1})
        readout += " <" + std::to_string(scene.mapPos.x) + "," + std::to_string(scene.mapPos.y) + ">";
    sf::Text text(readout, resources->getFont("Dialog"), 30);
    text.setPosition(10, 980);
    text.setFillColor(randomColor());
    window.draw(text);
}

void drawHeat(const Scene& scene, sf::RenderTarget& window) {
    if (!scene.light.heat) return;
    sf::RectangleShape heat({WINDOW_WIDTH, WINDOW_HEIGHT});
    heat.setFillColor(sf::Color(255, 0, 0, 50));
    window.draw(heat);
}

} // namespace

bool Scene::drawFillsWindow(const sf::RenderWindow& window) const {
    if (backdropOf(*this) == Backdrop::Layers || travellingGate(*this) != nullptr ||
        window.getSize() != sf::Vector2u(WINDOW_WIDTH, WINDOW_HEIGHT))
        return false;
    if (type == SCENE_WALK || type == SCENE_WATCH) {
        // Every pixel under the map's opaque ground: nothing drawn before the ground shows.
        Point centre = camera + Point{WINDOW_WIDTH / 2, WINDOW_HEIGHT / 2};
        scaleToScreen(centre);
        return GroundLayer::coversWindow(*this, viewOffset(centre));
    }
    // The credits leave the layers out.
    return !creditsClearTheScreen(credits) && backgrounds[LAYER_BACKGROUND].fillsWindow();
}

void Scene::draw(sf::RenderWindow& window) {
    Point centre = camera + Point{WINDOW_WIDTH / 2, WINDOW_HEIGHT / 2};
    scaleToScreen(centre);
    const Point V = viewOffset(centre);
    // A gate trip fills the screen alone.
    if (const SpaceChapterGate* gate = travellingGate(*this)) {
        gate->draw(window, V);
        return;
    }
    const bool shake = ambientSounds.size() == 1 && ambientSounds[0] == "Train" && randomBelow(30) == 9;
    const bool textsDrawn = drawBackdrop(*this, window, V);
    const Point first = pixelToTile(V + Point{-1, -1});
    const Point last = pixelToTile(V + Point{WINDOW_WIDTH + 1, WINDOW_HEIGHT + 1});
    if (type == SCENE_WALK || type == SCENE_WATCH) {
        MapFrame(*this, window, V, first, last, shake).draw();
    } else if (type == SCENE_SCREEN) {
        if (!textsDrawn)
            for (const SceneText& t : texts) t.draw(window);
    } else if (type == SCENE_SPACE) {
        drawSpace(*this, window, V);
    }
    drawEnergyFields(*this, window, V);
    for (const FlyingAnimation& f : flyingAnimations) f.animation.draw(window);
    drawDarkness(*this, window, V, first, last);
    drawTextBoxes(*this, window);
    drawPositionReadout(*this, window);
    if (!credits.lines.empty()) drawCredits(credits, window);
    // The live battle's panels go over everything of the scene but its foreground.
    if (battle.isActive() || battle.watch) battle.draw(window, V, -1);
    backgrounds[LAYER_FOREGROUND].draw(window, V, true);
    drawHeat(*this, window);
    drawSnow(snow, window, V);
    drawMandelbrotMap(window);
    drawShardCompass(*this, window);
    drawHearts(*this, window, V);
}

// Each visible cell gets the darkness of its nearest light that burns this frame; a scene
// whose darkness level is 0 or less has nothing to darken.
void drawDarkness(const Scene& scene, sf::RenderTarget& window, Point V, Point first, Point last) {
    const SceneLight& light = scene.light;
    if (!light.dark || light.level <= 0) return;
    const int T = displayTileSize;
    const int n = light.level;
    const int columns = scene.mapWidth(), rows = scene.mapHeight();
    const int x0 = std::max(0, first.x), x1 = std::min(columns - 1, last.x);
    const int y0 = std::max(0, first.y), y1 = std::min(rows - 1, last.y);
    sf::VertexArray quads(sf::Quads, static_cast<std::size_t>(std::max(0, x1 - x0 + 1) * std::max(0, y1 - y0 + 1) * 4));
    std::size_t corner = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const int a = game != nullptr ? light.overlayAlphaAt({x, y}, game->frameCounter)
                                          : light.overlayAlpha({x, y});
            const sf::Color c(static_cast<sf::Uint8>(light.colour.r * (n - a) / n),
                              static_cast<sf::Uint8>(light.colour.g * (n - a) / n),
                              static_cast<sf::Uint8>(light.colour.b * (n - a) / n),
                              static_cast<sf::Uint8>(a & 0xff));
            const float px = static_cast<float>(x * T - V.x), py = static_cast<float>(y * T - V.y);
            quads[corner++] = sf::Vertex({px, py}, c);
            quads[corner++] = sf::Vertex({px + T, py}, c);
            quads[corner++] = sf::Vertex({px + T, py + T}, c);
            quads[corner++] = sf::Vertex({px, py + T}, c);
        }
    drawBlendedQuads(window, quads);
}

void drawHearts(const Scene& scene, sf::RenderTarget& window, Point V) {
    if (scene.lovePairs.empty() || people->mainCharacterIndex == NO_INDEX) return;
    std::vector<int> present = scene.persons;
    present.push_back(people->mainCharacterIndex);
    const int T = displayTileSize, C = displayWallHeight;
    const sf::Texture& tex = resources->getMiscTexture("Heart");
    const sf::Vector2u s = tex.getSize();
    if (s.x == 0) return;
    for (int i : present) {
        const Character& c = people->at(i);
        if (c.lovePartner == NO_INDEX ||
            std::find(present.begin(), present.end(), c.lovePartner) == present.end())
            continue;
        const Character& partner = people->at(c.lovePartner);
        // Lovers on one tile beat as fast as neighbours do.
        const int d = std::max(1, manhattanDistance(c.tile, partner.tile));
        const int k = (game->frameCounter / (4u * static_cast<unsigned>(d))) % 2 == 1 ? 5 : 10;
        sf::Sprite heart(tex);
        heart.setOrigin(s.x / 2.f, s.y / 2.f);
        const float scale = (static_cast<float>(T) / k) / s.x;
        heart.setScale(scale, scale);
        const int x = c.pixel.x * T / TILE_SIZE - V.x + (partner.tile.x < c.tile.x ? 0 : T);
        const int y = c.pixel.y * T / TILE_SIZE - (C - T) / 2 - V.y;
        heart.setPosition(static_cast<float>(x), static_cast<float>(y));
        window.draw(heart);
    }
}

void drawShardCompass(const Scene& scene, sf::RenderTarget& window) {
    const Point mapPos = scene.mapPos;
    if (mapPos == Point{-1, -1} || !game || !itemList) return;
    const Point g{game->shardPlacement.x, game->shardPlacement.y};
    if (g == mapPos || game->shardState("Princess") != 0) return;
    if (!people->partyHasItemNamed("MandelbrotShardCompass")) return;
    float angle;
    if (g.x == mapPos.x) {
        angle = g.y > mapPos.y ? 90.f : 270.f; // straight up or down the map
    } else {
        angle = static_cast<float>(static_cast<int>(
            std::atan(static_cast<float>(g.y - mapPos.y) / static_cast<float>(g.x - mapPos.x)) * 180 / 3.14159265f));
        if (g.x < mapPos.x) angle = static_cast<float>((static_cast<int>(angle) + 180) % 360);
    }
    const int T = displayTileSize;
    const sf::Vector2f c{static_cast<float>(1895 - T), static_cast<float>(T + 250)};
    const sf::Color colour = randomColor();
    sf::ConvexShape head(3);
    head.setPoint(0, {25, 0});
    head.setPoint(1, {12, 16});
    head.setPoint(2, {12, -16});
    sf::ConvexShape shaft(4);
    shaft.setPoint(0, {12, 6});
    shaft.setPoint(1, {-25, 6});
    shaft.setPoint(2, {-25, -6});
    shaft.setPoint(3, {12, -6});
    for (sf::ConvexShape* s : {&head, &shaft}) {
        s->setPosition(c);
        s->setRotation(angle);
        s->setFillColor(colour);
        window.draw(*s);
    }
    sf::CircleShape ring(25, 30);
    ring.setOrigin(25, 25);
    ring.setPosition(c);
    ring.setFillColor(sf::Color::Transparent);
    ring.setOutlineColor(randomColor());
    ring.setOutlineThickness(1);
    window.draw(ring);
    sf::Text label("Shard Compass: ", resources->getFont("Nice"), 30);
    const sf::FloatRect b = label.getLocalBounds();
    label.setOrigin(0, b.height / 2);
    label.setPosition(c.x - 50 - b.width, c.y);
    label.setFillColor(sf::Color(200, 200, 200, 150));
    window.draw(label);
}
