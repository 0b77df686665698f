#include "scenes/Scene.hpp"
#include "scenes/GroundCache.hpp"
#include "scenes/SceneDrawGeometry.hpp"

#include "battle/Items.hpp"
#include "characters/Character.hpp"
#include "characters/People.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "game/PartyExchangeMenu.hpp"
#include "game/TileKind.hpp"
#include "minigames/SpaceGates.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

sf::Uint8 randomChannel() { return static_cast<sf::Uint8>(std::rand() % 255); }

int characterRow(const Character& c) { return std::max(c.tile.y, c.targetTile.y); }

// A sprite of a texture fitted into a square: uniform scale size / the texture's width.
void drawFitted(sf::RenderTarget& window, const sf::Texture& tex, sf::Vector2f at,
                sf::Vector2f origin, float scale, float rotation = 0) {
    sf::Sprite s(tex);
    s.setOrigin(origin);
    s.setScale(scale, scale);
    s.setRotation(rotation);
    s.setPosition(at);
    window.draw(s);
}

void drawSquare(sf::RenderTarget& window, float side, sf::Vector2f centre, sf::Color fill) {
    sf::RectangleShape r({side, side});
    r.setOrigin(side / 2, side / 2);
    r.setPosition(centre);
    r.setFillColor(fill);
    window.draw(r);
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

} // namespace

bool Scene::drawFillsWindow(const sf::RenderWindow& window) const {
    if (!drawShortcuts || travellingGate(*this) != nullptr || window.getSize() != sf::Vector2u(WINDOW_WIDTH, WINDOW_HEIGHT))
        return false;
    if (type == SCENE_WALK || type == SCENE_WATCH) {
        // Every pixel under the map's opaque ground: nothing drawn before the ground shows.
        Point centre = camera + Point{960, 540};
        scaleToScreen(centre);
        std::vector<sf::IntRect> uncovered;
        return uncoveredByGround(*this, viewOffset(centre), uncovered) && uncovered.empty();
    }
    // The credits leave the layers out.
    return !creditsClearTheScreen(credits) && backgrounds[LAYER_BACKGROUND].fillsWindow();
}

void Scene::draw(sf::RenderWindow& window) {
    const int T = displayTileSize;
    const int C = displayWallHeight;
    const float Tf = static_cast<float>(T);
    const int columns = mapWidth();
    const int rows = mapHeight();
    Point centre = camera + Point{960, 540};
    scaleToScreen(centre);
    const Point V = viewOffset(centre);
    auto cellCorner = [&](int x, int y) {
        return sf::Vector2f(static_cast<float>(x * T - V.x), static_cast<float>(y * T - V.y));
    };
    auto cellCentre = [&](int x, int y) {
        return sf::Vector2f(static_cast<float>(x * T - V.x + T / 2),
                            static_cast<float>(y * T - V.y + T / 2));
    };
    // A gate trip fills the screen alone.
    if (const SpaceChapterGate* gate = travellingGate(*this)) {
        gate->draw(window, V);
        return;
    }
    const bool zoomedOut = T == 60;
    const bool shake = ambientSounds.size() == 1 && ambientSounds[0] == "Train" && randomBelow(30) == 9;

    // Per-frame scratch.
    std::map<int, std::vector<int>> peopleByRow, people2ByRow;
    for (int i : persons) peopleByRow[characterRow(people->at(i))].push_back(i);
    for (int i : persons2) people2ByRow[characterRow(people->at(i))].push_back(i);
    std::set<size_t> drawnBuildings;
    bool wellDrawn = false;

    // A screen's texts lie straight on its backdrop, which may keep them with its picture.
    bool textsDrawn = false;
    if (drawShortcuts) {
        if (type == SCENE_SCREEN && backgrounds[LAYER_BACKGROUND2].kind == BG_NADA && !creditsClearTheScreen(credits)) {
            backgrounds[LAYER_BACKGROUND].drawOverWindow(window, V, textsKey(texts), [&](sf::RenderTarget& target) {
                for (const SceneText& t : texts) t.draw(target);
            });
            textsDrawn = true;
        } else if (!creditsClearTheScreen(credits)) {
            drawBackgroundAroundGround(*this, window, V);
        }
    } else {
        backgrounds[LAYER_BACKGROUND].draw(window, V);
        backgrounds[LAYER_BACKGROUND2].draw(window, V);
    }

    const Point first = pixelToTile(V + Point{-1, -1});
    const Point last = pixelToTile(V + Point{1921, 1081});

    if (type == SCENE_WALK || type == SCENE_WATCH) {
        drawMandelbrotGround(window, V);
        GroundCache* cache = &groundCache();
        if (!drawShortcuts || !cache->prepare(*this, window, V, first, last)) cache = nullptr;
        for (int y = first.y; y < rows && y <= last.y; ++y) {
            if (y < 0) continue;
            // Ground. Plain textures of the row go down in one batch per texture; what stands on
            // the tiles follows in column order, so it is never covered by a neighbour's ground.
            std::map<const sf::Texture*, sf::VertexArray> groundBatch;
            std::vector<std::pair<int, const TileKind*>> standing;
            for (int x = first.x; x < columns && x <= last.x; ++x) {
                if (x < 0) continue;
                const TileKind& kind = tileKindAtCell(x, y);
                if (kind.door && y < rows - 1) {
                    const TileKind& below = tileKindAtCell(x, y + 1);
                    if (!below.texture.empty()) {
                        const sf::Texture& tex = resources->getTexture(below.texture, zoomedOut);
                        const sf::Vector2u s = tex.getSize();
                        if (s.x > 0)
                            drawFitted(window, tex, cellCentre(x, y), {s.x / 2.f, s.y / 2.f}, Tf / s.x);
                    }
                }
                if (kind.front || openedDoors.count({x, y})) continue;
                if (!mandelbrotMaze.empty() && kind.stairsDown &&
                    !(people->mainCharacter().flying && game->isBoolVarSet("TalkedBubbleKing")))
                    continue;
                const sf::Vector2f p = cellCorner(x, y);
                if (cache && cache->kept(x, y)) {
                    // Copied with the row's batches below.
                } else if (const sf::Texture* tex = batchableTileTexture(kind, Tf)) {
                    sf::VertexArray& quads = groundBatch[tex];
                    quads.setPrimitiveType(sf::Quads);
                    appendTileQuad(quads, *tex, kind.colour, p.x, p.y, Tf);
                } else {
                    drawTileBase(kind, window, p.x, p.y, Tf);
                }
                if (!kind.object.empty() || !kind.houseSign.empty()) standing.push_back({x, &kind});
            }
            for (const auto& [tex, quads] : groundBatch) drawGroundBatch(window, quads, *tex);
            if (cache) cache->copyRow(window, y);
            {
                SpriteBatch standingBatch(window);
                for (const auto& [x, kind] : standing) {
                    const sf::Vector2f p = cellCorner(x, y);
                    const ObjectPart part = cache && cache->objectKept(x, y) ? ObjectPart::OutsideCell : ObjectPart::Whole;
                    drawTileExtras(*kind, window, p.x, p.y, Tf, drawShortcuts ? &standingBatch : nullptr, part);
                }
            }
            if (auto it = objectRows.find(y); it != objectRows.end()) {
                SpriteBatch rowBatch(window);
                for (int i : it->second) {
                    const SceneObject& o = objects[i];
                    const bool keptPart = cache && cache->sceneObjectsKept(static_cast<int>(o.x), y);
                    o.draw(window, y, V, drawShortcuts ? &rowBatch : nullptr,
                           keptPart ? ObjectPart::OutsideCell : ObjectPart::Whole);
                }
            }
            // The cat rocket stands six rows tall: redrawn after each of them.
            if (zweenyRocket.x != -1 && y >= zweenyRocket.y - 5 && y <= zweenyRocket.y) {
                const sf::Texture& tex = resources->getObjectTexture("CatRocket");
                const sf::Vector2u s = tex.getSize();
                if (s.x > 0)
                    drawFitted(window, tex, cellCentre(zweenyRocket.x, zweenyRocket.y),
                               {s.x / 2.f, static_cast<float>(s.y)}, 5 * Tf / s.x);
                sf::RectangleShape hatch({0.8f * Tf, static_cast<float>(C)});
                hatch.setPosition(static_cast<float>((zweenyRocket.x + 1) * T - V.x),
                                  static_cast<float>(zweenyRocket.y * T - V.y - C));
                hatch.setFillColor(sf::Color::Black);
                window.draw(hatch);
            }
            if (auto it = drops.find(y); it != drops.end() && itemList) {
                for (const DroppedItem& d : it->second) {
                    const sf::Texture& tex = resources->getItemTexture(itemList->at(d.item).name);
                    const sf::Vector2u s = tex.getSize();
                    if (s.x == 0 || s.y == 0) continue;
                    sf::Vector2f at = cellCentre(d.tile.x, d.tile.y);
                    if (d.onTable) at.y -= static_cast<float>(3 * T / 4);
                    drawFitted(window, tex, at, {s.x / 2.f, s.y / 2.f},
                               (Tf / 2) / static_cast<float>(std::max(s.x, s.y)));
                }
            }
            if (auto it = objectRows2.find(y); it != objectRows2.end())
                for (int i : it->second) objects2[i].draw(window, y, V);
            for (const Tunnel& t : tunnels) t.drawRow(window, V, y);
            for (size_t b = 0; b < buildings.size(); ++b)
                if (buildings[b]->row() == y) {
                    buildings[b]->draw(window, V);
                    drawnBuildings.insert(b);
                }
            for (const Point& d : extraRocketDoors) {
                sf::RectangleShape hatch({0.8f * Tf, static_cast<float>(C)});
                hatch.setPosition(d.x * Tf - V.x + (Tf - 0.8f * Tf) / 2,
                                  static_cast<float>((d.y + 1) * T - V.y - C));
                hatch.setFillColor(sf::Color::Black);
                window.draw(hatch);
            }
            if (hasRocketTravelPlace && !game->getStrVar("FLIGHT").empty() &&
                y == rocketTravelPlace.y + 1) {
                const float px = static_cast<float>(rocketTravelPlace.x * T - V.x);
                const float py = static_cast<float>((rocketTravelPlace.y + 1) * T - V.y);
                sf::RectangleShape hatch({0.8f * Tf, static_cast<float>(C)});
                hatch.setPosition(px + (Tf - 0.8f * Tf) / 2, py - C);
                hatch.setFillColor(sf::Color::Black);
                window.draw(hatch);
                sf::ConvexShape pad(4);
                pad.setPoint(0, {px, py});
                pad.setPoint(1, {px - Tf / 10, py + Tf});
                pad.setPoint(2, {px + Tf + Tf / 10, py + Tf});
                pad.setPoint(3, {px + Tf, py});
                pad.setFillColor(sf::Color(75, 75, 75, 255));
                window.draw(pad);
            }
            for (const auto& [tile, target] : teleports) {
                if (tile.y != y) continue;
                sf::Color c = randomColor();
                c.a = static_cast<sf::Uint8>(randomBelow(255));
                drawSquare(window, 0.9f * Tf, cellCentre(tile.x, tile.y), c);
            }
            for (const MovingTeleporter& m : movingTeleporters) {
                if (m.row() != y) continue;
                Point p = m.pixel;
                scaleToScreen(p);
                drawSquare(window, 0.7f * Tf,
                           {static_cast<float>(p.x + T / 2 - V.x), static_cast<float>(p.y + T / 2 - V.y)},
                           randomColor());
            }
            drawPicturesRow(window, V, y, false);
            for (const Point& p : comeBackLocations) {
                if (p.y != y) continue;
                sf::CircleShape ring(Tf / 2, 30);
                ring.setOrigin(Tf / 2, Tf / 2);
                ring.setPosition(cellCentre(p.x, p.y));
                ring.setFillColor(sf::Color(0, 180, 222, randomChannel()));
                window.draw(ring);
            }
            for (const Point& p : switchTeamTiles) {
                if (p.y != y) continue;
                const sf::Uint8 r = randomChannel(), g = randomChannel(), a = randomChannel();
                drawSquare(window, 0.9f * Tf, cellCentre(p.x, p.y), sf::Color(r, g, 0, a));
            }
            for (const Point& p : finishTeamSplitTiles) {
                if (p.y != y) continue;
                const sf::Uint8 r = randomChannel(), b = randomChannel(), a = randomChannel();
                drawSquare(window, 0.9f * Tf, cellCentre(p.x, p.y), sf::Color(r, 0, b, a));
            }
            if (type == SCENE_WALK && people->mainCharacterIndex != NO_INDEX) {
                Character& leader = people->mainCharacter();
                if (characterRow(leader) == y && !battle.isActive())
                    leader.drawIfVisible(window, V + Point{0, shake ? 4 : 0});
                if (leader.flying && characterRow(leader) == y - 1 &&
                    isInside(leader.tile) && isInside(leader.targetTile) &&
                    !tileKindAtCell(leader.tile.x, leader.tile.y).front &&
                    !tileKindAtCell(leader.targetTile.x, leader.targetTile.y).front)
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
            if (auto it = frontObjects.find(y); it != frontObjects.end())
                for (const FrontObject& f : it->second) f.draw(window, V);
            if (auto it = chests.find(y); it != chests.end()) {
                for (const Chest& c : it->second) {
                    const int left = c.tile.x * T - V.x;
                    if (left < -T || left > WINDOW_WIDTH + T) continue;
                    const sf::Texture& tex = resources->getMiscTexture(c.item.empty() ? "openChest" : "closedChest");
                    const sf::Vector2u s = tex.getSize();
                    if (s.x > 0)
                        drawFitted(window, tex, cellCentre(c.tile.x, c.tile.y),
                                   {s.x / 2.f, static_cast<float>(s.y)}, Tf / s.x);
                }
            }
            // (The live battle draws its share of this row here.)
            if (battle.isActive() || battle.watch) battle.draw(window, V, y);
            if (wishingWell.exists() && wishingWell.row() == y) {
                wishingWell.draw(window, V, frameCounter);
                wellDrawn = true;
            }
            auto drawPiece = [&](const ShardPiece& p) {
                std::string platform = "MetalPlatformSQ";
                if (isInside({p.tile.x, y})) {
                    const TileKind& k = tileKindAtCell(p.tile.x, y);
                    if (!k.texture.empty()) platform = k.texture;
                }
                drawShardPiece(p, window, V, resources->getTexture(platform, zoomedOut));
            };
            if (auto it = pieces.find(y); it != pieces.end())
                for (const ShardPiece& p : it->second) drawPiece(p);
            // The shards lying on their platforms ("Shard", the shard room) show in their row.
            for (const auto& [cell, shown] : shardAnimations)
                if (cell.y == y)
                    for (const ShardPiece& p : shown) drawPiece(p);
            if (auto it = animatedObjects.find(y); it != animatedObjects.end())
                for (const AnimatedObject& a : it->second) a.draw(window, &V);
            drawPicturesRow(window, V, y, true);
            // Front pass.
            for (int x = first.x; x < columns && x <= last.x; ++x) {
                if (x < 0) continue;
                const TileKind& kind = tileKindAtCell(x, y);
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
                if (x > 0 && kind.door && y > 0) {
                    const TileKind& left = tileKindAtCell(x - 1, y);
                    if (!left.texture.empty()) {
                        const sf::Texture& tex = resources->getTexture(left.texture, zoomedOut);
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
            }
            // The destinations a rocket pad offers, beside it in its row.
            for (const auto& [pad, list] : rocketDestinationLists) {
                if (pad.y != y) continue;
                for (const auto& [number, destination] : rocketDestinations(pad)) {
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
        for (size_t b = 0; b < buildings.size(); ++b)
            if (!drawnBuildings.count(b)) buildings[b]->draw(window, V);
        const Point shaken = V + Point{0, shake ? 4 : 0};
        for (auto it = objectRows.upper_bound(last.y); it != objectRows.end(); ++it)
            for (int i : it->second) objects[i].draw(window, it->first, shaken);
        for (auto it = animatedObjects.upper_bound(last.y); it != animatedObjects.end(); ++it)
            for (const AnimatedObject& a : it->second) a.draw(window, &V);
        for (auto it = objectRows2.upper_bound(last.y); it != objectRows2.end(); ++it)
            for (int i : it->second) objects2[i].draw(window, it->first, V);
        if (wishingWell.exists() && !wellDrawn) wishingWell.draw(window, V, frameCounter);
    } else if (type == SCENE_SCREEN) {
        if (!textsDrawn)
            for (const SceneText& t : texts) t.draw(window);
    } else if (type == SCENE_SPACE) {
        for (const auto& gate : gates) gate->draw(window, V);
        for (const auto& [row, list] : objectRows)
            for (int i : list) objects[i].draw(window, row, V);
        for (const Planet& p : planets) {
            const sf::Texture& tex = resources->getPlanetTexture(p.name);
            const sf::Vector2u s = tex.getSize();
            if (s.x > 0)
                drawFitted(window, tex, cellCentre(p.tile.x, p.tile.y), {s.x / 2.f, s.y / 2.f},
                           p.size * Tf / s.x);
        }
        // The path position follows the frame counter, whether or not the update ran this frame.
        for (const Comet& comet : comets) {
            Comet c = comet;
            c.update(frameCounter);
            const sf::Texture& tex = resources->getPlanetTexture(c.name);
            const sf::Vector2u s = tex.getSize();
            if (s.x == 0) continue;
            Point p = c.position;
            scaleToScreen(p);
            drawFitted(window, tex, {static_cast<float>(p.x - V.x), static_cast<float>(p.y - V.y)},
                       {s.x / 2.f, s.y / 2.f}, c.size * Tf / s.x, c.angle());
        }
        drawCatRocket(flame, window, V);
    }

    // Energy fields.
    for (const Rect& f : energyFields) {
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
    for (const FlyingAnimation& f : flyingAnimations) f.animation.draw(window);

    drawDarkness(*this, window, V, first, last);

    if (monolog.isActive()) monolog.draw(window, false);
    if (dialog.isActive()) dialog.draw(window);
    if (message.isActive()) message.draw(window, false);
    if (infoBox.isActive()) infoBox.draw(window, false);
    if (exchangeMenu) exchangeMenu->draw(window);

    if (people->mainCharacterIndex != NO_INDEX) {
        const Character& leader = people->mainCharacter();
        std::string readout = std::to_string(leader.tile.x) + "  " + std::to_string(leader.tile.y) + " " + name;
        if (mapPos != Point{-1, -1})
            readout += " <" + std::to_string(mapPos.x) + "," + std::to_string(mapPos.y) + ">";
        sf::Text text(readout, resources->getFont("Dialog"), 30);
        text.setPosition(10, 980);
        text.setFillColor(randomColor());
        window.draw(text);
    }

    if (!credits.lines.empty()) drawCredits(credits, window);
    // (The live battle's panels are drawn here.)
    if (battle.isActive() || battle.watch) battle.draw(window, V, -1);
    backgrounds[LAYER_FOREGROUND].draw(window, V, true);
    if (light.heat) {
        sf::RectangleShape heat({WINDOW_WIDTH, WINDOW_HEIGHT});
        heat.setFillColor(sf::Color(255, 0, 0, 50));
        window.draw(heat);
    }
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
    sf::VertexArray quads(sf::Quads);
    for (int y = std::max(0, first.y); y < rows && y <= last.y; ++y)
        for (int x = std::max(0, first.x); x < columns && x <= last.x; ++x) {
            const int a = game != nullptr ? light.overlayAlphaAt({x, y}, game->frameCounter)
                                          : light.overlayAlpha({x, y});
            const sf::Color c(static_cast<sf::Uint8>(light.colour.r * (n - a) / n),
                              static_cast<sf::Uint8>(light.colour.g * (n - a) / n),
                              static_cast<sf::Uint8>(light.colour.b * (n - a) / n),
                              static_cast<sf::Uint8>(a & 0xff));
            // A fully transparent cell changes no pixel.
            if (drawShortcuts && c.a == 0) continue;
            const float px = static_cast<float>(x * T - V.x), py = static_cast<float>(y * T - V.y);
            quads.append(sf::Vertex({px, py}, c));
            quads.append(sf::Vertex({px + T, py}, c));
            quads.append(sf::Vertex({px + T, py + T}, c));
            quads.append(sf::Vertex({px, py + T}, c));
        }
    if (drawShortcuts) drawInChunks(window, quads);
    else window.draw(quads);
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
