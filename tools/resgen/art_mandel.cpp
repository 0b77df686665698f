// The Mandelbrot planet and its star system: the glass shore over the nebula, its stairs and
// those of the depth levels, up and down, the Bubble King's seal, the landing ring, the Bubble
// King's palace and the flyers' roost, the rooms hidden in the depths (the lift home, the oasis),
// the vault's battle backdrop, the gate in the Hall of Wonders, and the worlds and wormhole of the
// Mandel system.
#include "Art.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace art;

namespace {

// A ground texture and its zoomed-out drawing (60 pixels, coarser detail), from one function of
// the canvas and the scale k (1 or 0.5).
template <class Draw>
void groundPair(Context& ctx, const std::string& name, Draw draw) {
    Canvas full(120, 120), half(60, 60);
    draw(full, 1.f);
    draw(half, 0.5f);
    ctx.savePicture("Textures", name, full);
    ctx.savePicture("Textures", name + "_zoomOut", half);
}

// Escape count of c = (re, im) under z -> z^2 + c, in 0..limit.
int escapeCount(float re, float im, int limit, float zr = 0.f, float zi = 0.f) {
    int n = 0;
    while (n < limit && zr * zr + zi * zi < 4.f) {
        const float t = zr * zr - zi * zi + re;
        zi = 2 * zr * zi + im;
        zr = t;
        ++n;
    }
    return n;
}

// The nebula's own colours, cycled by a count: the deep blue, cyan, gold and ember of its picture.
sf::Color nebulaColour(int n, int limit) {
    if (n >= limit) return rgb(12, 6, 40);
    const sf::Color keys[] = {rgb(20, 10, 80), rgb(40, 200, 255), rgb(255, 240, 120), rgb(255, 80, 40)};
    const float t = std::fmod(std::sqrt(static_cast<float>(n)) * 0.9f, 4.f);
    const int a = static_cast<int>(t);
    return mix(keys[a], keys[(a + 1) % 4], t - a);
}

// A little picture of the whole set inside the circle (cx, cy, r), with a glowing rim.
void miniSet(Canvas& c, float cx, float cy, float r) {
    for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r); ++y)
        for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r); ++x) {
            const float dx = (x + 0.5f - cx) / r, dy = (y + 0.5f - cy) / r;
            const float d = std::sqrt(dx * dx + dy * dy);
            if (d > 1.f) continue;
            const int n = escapeCount(dx * 1.5f - 0.6f, dy * 1.5f, 60);
            c.blend(x, y, nebulaColour(n, 60), std::clamp((1.f - d) * r, 0.f, 1.f));
        }
    c.strokeCircle(cx, cy, r, std::max(1.5f, r * 0.06f), rgb(255, 220, 250, 220));
}

// A round bubble with a white highlight.
void bubble(Canvas& c, float x, float y, float r, sf::Color tint) {
    c.fillCircle(x, y, r, withAlpha(tint, 70));
    c.strokeCircle(x, y, r, std::max(1.f, r * 0.12f), withAlpha(shade(tint, 1.4f), 200));
    c.fillCircle(x - r * 0.35f, y - r * 0.35f, r * 0.22f, rgb(255, 255, 255, 210));
}

// A world seen from space: a disc whose surface colourAt(u, v) paints (u and v run from -1 to 1
// across it), drawn a row at a time and lit from the upper left.
template <class Surface>
Canvas world(int size, Surface colourAt) {
    Canvas c(size, size);
    const float r = size * 0.46f, m = size / 2.f;
    for (int row = 0; row < size; ++row) {
        const float v = (row + 0.5f - m) / r;
        if (std::fabs(v) >= 1.f) continue;
        const float half = std::sqrt(1.f - v * v) * r;
        for (int col = static_cast<int>(m - half); col <= static_cast<int>(m + half); ++col) {
            const float u = (col + 0.5f - m) / r, depth = std::sqrt(std::max(0.f, 1.f - u * u - v * v));
            const float lit = 0.3f + 0.9f * std::max(0.f, 0.7f * depth - 0.55f * u - 0.45f * v);
            c.blend(col, row, shade(colourAt(u, v), std::min(lit, 1.25f)), std::min(1.f, depth * r * 0.5f));
        }
    }
    return c;
}

// A post standing on its shadow in a picture 120 wide: from top down to the foot, where the
// shadow lies.
void post(Canvas& c, float top, float foot, float width, sf::Color colour) {
    c.fillEllipse(60, foot, width * 2.8f, 6.5f, rgb(0, 0, 0, 85));
    c.fillRect(60 - width / 2, top, width, foot - top, colour);
}

// Glass steps seen from above, winding round (cx, cy) at the scale k (1 or 0.5); the deeper
// steps are drawn first, step s (0 the outermost, 11 the deepest) in colourOf(s).
template <class StepColour>
void windingSteps(Canvas& c, float cx, float cy, float k, StepColour colourOf) {
    for (int s = 11; s >= 0; --s) {
        const float a0 = 2.4f + s * 0.62f, a1 = a0 + 0.56f;
        const float outer = (50 - s * 2.6f) * k, inner = outer - 16 * k;
        std::vector<sf::Vector2f> step;
        for (float a = a0; a <= a1; a += 0.05f) step.push_back({cx + outer * std::cos(a), cy + outer * 0.72f * std::sin(a)});
        for (float a = a1; a >= a0; a -= 0.05f) step.push_back({cx + inner * std::cos(a), cy + inner * 0.72f * std::sin(a)});
        c.fillPolygon(step, colourOf(s));
    }
}

// A way down through the nebula: the steps wind into a glowing hole, the deeper ones darker.
void stairsDown(Canvas& c, float k) {
    const float cx = 60 * k, cy = 62 * k;
    c.glow(cx, cy, 60 * k, rgb(120, 230, 255, 170));
    c.fillEllipse(cx, cy, 50 * k, 36 * k, rgb(10, 5, 30));
    windingSteps(c, cx, cy, k, [](int s) { return shade(rgb(190, 240, 255), 1.05f - s * 0.07f); });
    c.strokeCircle(cx, cy, 6 * k, 2 * k, rgb(255, 255, 255, 200));
    c.glow(cx, cy, 10 * k, rgb(255, 255, 255, 200));
}

// A way up: the same steps climb toward a warm light falling from the level above, the higher
// ones brighter, so that up and down are told apart at a glance.
void stairsUp(Canvas& c, float k) {
    const float cx = 60 * k, cy = 62 * k;
    c.glow(cx, cy, 60 * k, rgb(255, 220, 130, 170));
    c.fillEllipse(cx, cy, 50 * k, 36 * k, rgb(120, 80, 40, 200));
    windingSteps(c, cx, cy, k, [](int s) { return mix(rgb(235, 200, 150), rgb(255, 250, 225), s / 11.f); });
    c.glow(cx, cy, 18 * k, rgb(255, 255, 235));
    c.fillCircle(cx, cy, 7 * k, rgb(255, 255, 245));
    for (int i = 0; i < 8; ++i) {
        const float a = i * PI / 4;
        c.line(cx + 9 * k * std::cos(a), cy + 9 * k * std::sin(a), cx + 16 * k * std::cos(a), cy + 16 * k * std::sin(a),
               2 * k, rgb(255, 240, 180, 220));
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The grounds

REGISTER_ART(mandel_grounds) {
    // Glass laid over the nebula: the picture shows through, a faint hexagon and a glint on top.
    groundPair(ctx, "NebulaGlass", [](Canvas& c, float k) {
        const float n = 120 * k, m = n / 2;
        c.fill(rgb(200, 230, 255, 18));
        for (int s = 0; s < 6; ++s) {
            const float a0 = s * PI / 3, a1 = (s + 1) * PI / 3;
            c.line(m + 50 * k * std::cos(a0), m + 50 * k * std::sin(a0), m + 50 * k * std::cos(a1),
                   m + 50 * k * std::sin(a1), 1.5f * k + 0.5f, rgb(220, 240, 255, 70));
        }
        c.strokeRect(0, 0, n, n, 1, rgb(220, 240, 255, 45));
        c.line(18 * k, 34 * k, 34 * k, 18 * k, 2 * k, rgb(255, 255, 255, 90));
        c.fillCircle(92 * k, 88 * k, 2.5f * k, rgb(255, 255, 255, 140));
    });
    // The rim's way back: a glowing landing ring on the glass, its arrow pointing off the shore.
    groundPair(ctx, "NebulaGate", [](Canvas& c, float k) {
        const float n = 120 * k, m = n / 2;
        c.fill(rgb(200, 230, 255, 30));
        c.glow(m, m, 58 * k, rgb(90, 230, 220, 150));
        c.fillCircle(m, m, 44 * k, rgb(30, 60, 90, 230));
        c.strokeCircle(m, m, 44 * k, 6 * k, rgb(120, 250, 230));
        c.strokeCircle(m, m, 32 * k, 2 * k, rgb(200, 255, 245, 180));
        c.fillPolygon({{m - 26 * k, m}, {m - 2 * k, m - 22 * k}, {m - 2 * k, m + 22 * k}}, rgb(240, 255, 250));
        c.fillRect(m - 4 * k, m - 8 * k, 30 * k, 16 * k, rgb(240, 255, 250));
    });
    // The landing ring's guard rail: posts and two rails with a faint field between them, space
    // showing through.
    groundPair(ctx, "NebulaRail", [](Canvas& c, float k) {
        const float n = 120 * k;
        c.fillRect(0, 26 * k, n, 56 * k, rgb(255, 140, 230, 45));
        for (float y : {26.f, 80.f}) {
            c.fillRect(0, y * k, n, 7 * k, rgb(90, 80, 140));
            c.fillRect(0, y * k, n, 2 * k, rgb(170, 160, 220));
        }
        for (float x : {8.f, 60.f, 112.f}) {
            c.fillRect((x - 4) * k, 18 * k, 8 * k, 84 * k, rgb(60, 50, 100));
            c.fillCircle(x * k, 18 * k, 5 * k, rgb(255, 180, 240));
        }
    });
    // The palace's floor of pearl tiles, and its walls of blue bubble-glass.
    groundPair(ctx, "PearlFloor", [](Canvas& c, float k) {
        const float n = 120 * k, h = n / 2;
        for (int i = 0; i < 4; ++i) {
            const float x = (i % 2) * h, y = (i / 2) * h;
            c.gradientRect(x, y, h, h, rgb(250, 240, 250), i % 3 ? rgb(220, 215, 240) : rgb(240, 215, 230));
            c.bevel(x, y, h, h, static_cast<int>(3 * k) + 1, 0.3f);
        }
        c.line(10 * k, 50 * k, 50 * k, 10 * k, 3 * k, rgb(190, 240, 255, 90));
        c.line(70 * k, 110 * k, 110 * k, 70 * k, 3 * k, rgb(255, 200, 240, 90));
    });
    groundPair(ctx, "BubbleWall", [](Canvas& c, float k) {
        const float n = 120 * k;
        c.gradientRect(0, 0, n, n, rgb(40, 70, 150), rgb(20, 30, 90));
        Rng rng(3131);
        for (int i = 0; i < 9; ++i)
            bubble(c, rng.range(10.f, 110.f) * k, rng.range(10.f, 110.f) * k, rng.range(6.f, 16.f) * k,
                   rgb(150, 210, 255));
        c.bevel(0, 0, n, n, static_cast<int>(5 * k) + 1, 0.4f);
    });
    // The roost: woven twigs.
    groundPair(ctx, "RoostStraw", [](Canvas& c, float k) {
        const float n = 120 * k;
        c.noiseFill(0, 0, n, n, rgb(200, 165, 95), 0.2f, 14 * k, 3141);
        Rng rng(3142);
        for (int i = 0; i < static_cast<int>(70 * k); ++i) {
            const float x = rng.range(0.f, n), y = rng.range(0.f, n), a = rng.range(0.f, PI);
            c.line(x, y, x + 14 * k * std::cos(a), y + 14 * k * std::sin(a), 1.5f,
                   rng.below(2) ? rgb(150, 110, 55) : rgb(235, 205, 130));
        }
    });
    // The lift that carries the party up out of a hidden room: a round pad under rising bubbles.
    groundPair(ctx, "BubbleLift", [](Canvas& c, float k) {
        const float n = 120 * k, m = n / 2;
        c.fill(rgb(20, 30, 60));
        c.fillCircle(m, m, 52 * k, rgb(60, 120, 190));
        c.strokeCircle(m, m, 52 * k, 5 * k, rgb(180, 230, 255));
        for (int a = 0; a < 3; ++a) {
            const float y = (30 + 28 * a) * k;
            c.fillPolygon({{m, y - 12 * k}, {m + 16 * k, y + 6 * k}, {m - 16 * k, y + 6 * k}}, rgb(230, 250, 255));
        }
        bubble(c, 24 * k, 30 * k, 8 * k, rgb(200, 240, 255));
        bubble(c, 96 * k, 84 * k, 10 * k, rgb(200, 240, 255));
    });
    // The oasis spring: green-blue water with rings (drawn moving).
    groundPair(ctx, "OasisWater", [](Canvas& c, float k) {
        const float n = 120 * k;
        c.noiseFill(0, 0, n, n, rgb(40, 160, 170), 0.2f, 24 * k, 3151);
        for (float y = 14 * k; y < n; y += 30 * k)
            for (float x = 0; x < n; x += 1)
                c.blend(static_cast<int>(x), static_cast<int>(y + 3 * k * std::sin(x * 4 * PI / n)), rgb(200, 255, 240, 170));
        c.strokeCircle(40 * k, 80 * k, 10 * k, 1.5f, rgb(220, 255, 245, 150));
    });
}

// ---------------------------------------------------------------------------------------------
// What stands on the tiles

REGISTER_ART(mandel_gate_and_stairs) {
    {
        // The gate in the Hall of Wonders: a ring of turning nebula on the metal plate, the set
        // itself glowing inside it.
        Canvas c(120, 190);
        c.fillEllipse(60, 178, 46, 10, rgb(0, 0, 0, 90));
        c.fillRoundRect(20, 160, 80, 20, 6, rgb(120, 125, 140));
        c.glow(60, 95, 62, rgb(220, 90, 200, 140));
        for (float a = 0; a < 2 * PI; a += 0.02f) {
            const float r = 50 + 4 * std::sin(a * 9);
            c.fillCircle(60 + r * std::cos(a), 95 + r * std::sin(a) * 1.25f, 5,
                         mix(rgb(60, 210, 255), rgb(255, 120, 220), 0.5f + 0.5f * std::sin(a * 3)));
        }
        miniSet(c, 60, 95, 40);
        for (int i = 0; i < 8; ++i) {
            const float a = i * PI / 4;
            c.fillCircle(60 + 56 * std::cos(a), 95 + 70 * std::sin(a), 3, rgb(255, 255, 220));
        }
        c.outline(rgb(30, 10, 50, 200));
        ctx.savePicture("Objects", "NebulaPortal", c);
    }
    {
        // The shore's way down, standing on its glass; the depth levels' stairs lie flat.
        Canvas c(120, 120);
        stairsDown(c, 1.f);
        ctx.savePicture("Objects", "NebulaStairs", c);
    }
    groundPair(ctx, "NebulaStairsDown", stairsDown);
    groundPair(ctx, "NebulaStairsUp", stairsUp);
    {
        // The Bubble King's seal over a way down: a great bubble holding his golden crown.
        Canvas c(120, 130);
        c.glow(60, 70, 62, rgb(255, 220, 120, 120));
        bubble(c, 60, 70, 54, rgb(170, 220, 255));
        c.fillPolygon({{32, 86}, {32, 58}, {44, 70}, {60, 50}, {76, 70}, {88, 58}, {88, 86}}, rgb(250, 205, 70));
        c.fillRect(32, 84, 56, 8, rgb(220, 170, 40));
        for (float x : {32.f, 60.f, 88.f}) c.fillCircle(x, x == 60.f ? 50 : 58, 4, rgb(255, 120, 180));
        c.outline(rgb(60, 40, 10, 160));
        ctx.savePicture("Objects", "NebulaSeal", c);
    }
}

REGISTER_ART(mandel_palace_objects) {
    const sf::Color pearl = rgb(245, 235, 250), sky = rgb(150, 210, 255);
    {
        // The Bubble King's throne: a high back of stacked bubbles over a pearl seat.
        Canvas c(120, 180);
        c.fillRoundRect(22, 40, 76, 110, 18, rgb(90, 120, 200));
        for (int row = 0; row < 4; ++row)
            for (int i = 0; i <= row; ++i)
                bubble(c, 60 - row * 13 + i * 26.f, 30 + row * 24.f, 13, sky);
        c.fillRoundRect(16, 120, 88, 26, 10, pearl);
        c.fillRoundRect(22, 144, 14, 32, 5, shade(pearl, 0.8f));
        c.fillRoundRect(84, 144, 14, 32, 5, shade(pearl, 0.8f));
        c.fillCircle(60, 20, 9, rgb(255, 215, 80));
        c.outline(rgb(30, 30, 70));
        ctx.savePicture("Objects", "BubbleThrone", c);
    }
    {
        // A column of bubbles standing on a pearl foot.
        Canvas c(120, 220);
        c.fillRoundRect(36, 196, 48, 18, 6, pearl);
        for (int i = 0; i < 7; ++i) bubble(c, 60 + 6 * std::sin(i * 1.3f), 182 - i * 26.f, 18 - i * 0.8f, sky);
        c.fillRoundRect(34, 22, 52, 12, 5, pearl);
        c.outline(rgb(30, 40, 80, 200));
        ctx.savePicture("Objects", "BubbleColumn", c);
    }
    {
        // A lantern of the landing ring: a glass orb of light on a slim post.
        Canvas c(120, 190);
        post(c, 70, 180, 8, rgb(70, 60, 110));
        c.fillRoundRect(44, 172, 32, 10, 3, rgb(90, 80, 130));
        c.glow(60, 50, 50, rgb(255, 150, 230, 150));
        c.fillCircle(60, 50, 24, rgb(255, 200, 240, 200));
        c.fillCircle(52, 42, 7, rgb(255, 255, 255, 230));
        c.strokeCircle(60, 50, 24, 2, rgb(120, 60, 140));
        c.outline(rgb(30, 20, 50, 200));
        ctx.savePicture("Objects", "BubbleLantern", c);
    }
    {
        // A flyer's perch: a twig nest on a forked post.
        Canvas c(120, 170);
        post(c, 70, 162, 10, rgb(110, 75, 40));
        c.line(60, 90, 30, 60, 6, rgb(110, 75, 40));
        c.line(60, 96, 92, 66, 6, rgb(110, 75, 40));
        c.fillEllipse(60, 66, 44, 16, rgb(150, 110, 55));
        Rng rng(3161);
        for (int i = 0; i < 30; ++i) {
            const float x = rng.range(20.f, 100.f), y = rng.range(56.f, 76.f);
            c.line(x, y, x + rng.range(-12.f, 12.f), y + rng.range(-4.f, 4.f), 2, rgb(200, 160, 90));
        }
        c.fillEllipse(60, 58, 30, 6, rgb(90, 60, 30));
        c.fillEllipse(50, 56, 8, 6, rgb(250, 245, 235));
        c.fillEllipse(66, 57, 8, 6, rgb(235, 240, 255));
        c.outline(rgb(40, 25, 10));
        ctx.savePicture("Objects", "Perch", c);
    }
    {
        // A palm of the oasis, its fronds over a curved trunk.
        Canvas c(120, 230);
        c.fillEllipse(60, 222, 26, 6, rgb(0, 0, 0, 80));
        for (int s = 0; s < 12; ++s) {
            const float t = s / 11.f;
            c.fillEllipse(60 + 14 * std::sin(t * 2.2f), 220 - t * 150, 10 - t * 3, 9, s % 2 ? rgb(150, 105, 60) : rgb(120, 85, 45));
        }
        const float tx = 60 + 14 * std::sin(2.2f), ty = 70;
        for (int f = 0; f < 7; ++f) {
            const float a = -PI + f * PI / 6;
            std::vector<sf::Vector2f> frond;
            for (int i = 0; i <= 10; ++i) {
                const float u = i / 10.f;
                frond.push_back({tx + 58 * u * std::cos(a), ty + 58 * u * std::sin(a) + 30 * u * u});
            }
            for (int i = 10; i >= 0; --i) {
                const float u = i / 10.f, w = 11 * std::sin(u * PI);
                frond.push_back({tx + 58 * u * std::cos(a) - w * std::sin(a), ty + 58 * u * std::sin(a) + 30 * u * u + w});
            }
            c.fillPolygon(frond, f % 2 ? rgb(60, 170, 80) : rgb(40, 140, 70));
        }
        c.fillCircle(tx - 5, ty + 6, 6, rgb(120, 80, 40));
        c.fillCircle(tx + 6, ty + 7, 6, rgb(120, 80, 40));
        c.outline(rgb(20, 40, 20));
        ctx.savePicture("Objects", "PalmTree", c);
    }
}

// ---------------------------------------------------------------------------------------------
// The Mandel system and the vault's battle

REGISTER_ART(mandel_system) {
    // Julia: the set's twin, a world whose seas are a Julia picture.
    ctx.savePicture("Planets", "Julia", world(200, [](float u, float v) {
                        return nebulaColour(escapeCount(-0.8f, 0.156f, 48, u * 1.6f, v * 1.6f), 48);
                    }));
    // The Space Tavern: a ringed brown moon, its lit windows in bands.
    Canvas tavern = world(200, [](float u, float v) {
        const float band = 0.5f + 0.5f * std::sin(v * 14.f + 2.f * fractalNoise(u * 30 + 50, v * 30 + 50, 8.f, 3, 3171));
        sf::Color hull = mix(rgb(120, 80, 50), rgb(190, 140, 90), band);
        if (std::fmod((u + 1.f) * 40.f, 3.f) < 0.6f && std::fabs(std::sin(v * 14.f)) < 0.25f) hull = rgb(255, 220, 120);
        return hull;
    });
    for (float a = 0; a < 2 * PI; a += 0.01f)
        tavern.fillCircle(100 + 96 * std::cos(a), 104 + 20 * std::sin(a), 2.5f,
                          std::sin(a) > 0 ? rgb(230, 200, 150, 220) : rgb(230, 200, 150, 90));
    ctx.savePicture("Planets", "SpaceTavern", tavern);

    // The gate back to the nebula: a wormhole whose throat shows the nebula's picture.
    Canvas gate(240, 240);
    gate.glow(120, 120, 118, rgb(150, 80, 255, 140));
    for (int arm = 0; arm < 3; ++arm)
        for (float a = 0; a < 3 * PI; a += 0.01f) {
            const float r = 112 - a * 7.5f, turn = a + arm * 2 * PI / 3;
            gate.fillCircle(120 + r * std::cos(turn), 120 + r * std::sin(turn), 1.5f + r * 0.035f,
                            mix(rgb(140, 90, 255, 150), rgb(255, 160, 230, 220), a / (3 * PI)));
        }
    miniSet(gate, 120, 120, 34);
    ctx.savePicture("Misc", "WormHoleMandelbrotShard", gate);

    // The shard vault as the battle shows it: a dark dome over a floor of the nebula's colours.
    Canvas vault(480, 270);
    vault.gradientRect(0, 0, 480, 150, rgb(8, 4, 30), rgb(50, 20, 90));
    Rng rng(3181);
    for (int i = 0; i < 120; ++i)
        vault.fillCircle(rng.range(0.f, 480.f), rng.range(0.f, 140.f), rng.range(0.5f, 1.6f), rgb(255, 255, 255, 200));
    miniSet(vault, 240, 70, 52);
    for (int y = 140; y < 270; ++y)
        for (int x = 0; x < 480; ++x) {
            const float re = -2.1f + x / 480.f * 2.8f, im = (y - 205) / 65.f * 0.9f;
            vault.set(x, y, shade(nebulaColour(escapeCount(re, im, 40), 40), 0.55f + (y - 140) / 260.f));
        }
    vault.gradientRect(0, 136, 480, 14, rgb(20, 10, 40, 200), rgb(20, 10, 40, 0));
    ctx.savePicture("BattleBackgrounds", "NebulaVault", vault);
}
