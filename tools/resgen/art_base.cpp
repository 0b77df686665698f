// Fonts, sounds and musics of the demo game.
#include "Art.hpp"

using namespace art;

REGISTER_ART(fonts) {
    ctx.copyFont("Liberation", "LiberationSans-Regular.ttf");
    ctx.copyFont("Dialog", "LiberationSans-Bold.ttf");
    ctx.copyFont("Nice", "LiberationSerif-Bold.ttf");
    ctx.copyFont("Lutuna", "LiberationSansNarrow-Bold.ttf");
    ctx.copyFont("CaviarDreams", "LiberationSans-Italic.ttf");
}

namespace {
// Note names as semitones from A4.
constexpr int C4 = -9, D4 = -7, E4 = -5, F4 = -4, G4 = -2, A4 = 0, B4 = 2, C5 = 3, D5 = 5,
              E5 = 7, F5 = 8, G5 = 10, A5 = 12, C6 = 15, R = -100;

Samples arpeggio(std::initializer_list<int> notes, float step, float len, Wave wave, float vol) {
    Samples s;
    float t = 0;
    for (int n : notes) {
        s.tone(t, len, noteFreq(n), vol, wave, 0.005f, len * 0.6f);
        t += step;
    }
    s.normalise(0.7f);
    return s;
}
} // namespace

REGISTER_ART(sounds) {
    // Interface
    {
        Samples s;
        s.tone(0, 0.06f, noteFreq(E5), 0.5f, Wave::Square, 0.002f, 0.03f);
        s.normalise(0.5f);
        ctx.saveSound("Menu", s);
    }
    ctx.saveSound("UseItem", arpeggio({C5, E5, G5}, 0.06f, 0.12f, Wave::Triangle, 0.5f));
    {
        Samples s;
        s.tone(0, 0.12f, noteFreq(C4 - 5), 0.5f, Wave::Square, 0.002f, 0.04f);
        s.tone(0.13f, 0.2f, noteFreq(C4 - 6), 0.5f, Wave::Square, 0.002f, 0.08f);
        s.normalise(0.55f);
        ctx.saveSound("Denial", s);
    }
    ctx.saveSound("Achievement", arpeggio({C5, E5, G5, C6, G5, C6}, 0.08f, 0.2f, Wave::Square, 0.4f));
    ctx.saveSound("JoinFanfare", arpeggio({G4, C5, E5, G5, R, E5, G5}, 0.11f, 0.25f, Wave::Triangle, 0.5f));
    {
        Samples s = arpeggio({C5, G5, C6, E5, G5, C6}, 0.1f, 0.4f, Wave::Triangle, 0.4f);
        s.tone(0.6f, 0.8f, noteFreq(C6), 0.3f, Wave::Sine, 0.01f, 0.5f);
        s.normalise(0.7f);
        ctx.saveSound("ShardFanfare", s);
    }
    ctx.saveSound("Discovery", arpeggio({D5, F5 + 1, A5, D5 + 12}, 0.09f, 0.3f, Wave::Sine, 0.5f));
    ctx.saveSound("SalomaoDiamond", arpeggio({E5, B4 + 12, E5 + 12}, 0.05f, 0.25f, Wave::Sine, 0.5f));
    ctx.saveSound("SalomaoHeart", arpeggio({C5, E5, C5, E5}, 0.07f, 0.12f, Wave::Triangle, 0.5f));
    ctx.saveSound("SalomaoLibra", arpeggio({G4, D5, G5}, 0.07f, 0.2f, Wave::Sine, 0.5f));
    {
        Samples s;
        s.noise(0, 0.25f, 0.6f, 14.f, 21);
        s.sweep(0, 0.2f, 220, 90, 0.5f, Wave::Square);
        s.normalise(0.6f);
        ctx.saveSound("SalomaoWall", s);
    }
    ctx.saveSound("Sleep", arpeggio({G5, E5, C5, G4, C4}, 0.25f, 0.6f, Wave::Sine, 0.4f));
    {
        Samples s;
        s.sweep(0, 0.25f, 600, 250, 0.5f, Wave::Saw);
        s.noise(0, 0.1f, 0.3f, 30.f, 5);
        s.normalise(0.6f);
        ctx.saveSound("Ouch", s);
    }
    {
        Samples s; // wheels on rails: two soft clacks a second, over a rumble
        s.noise(0, 2.0f, 0.12f, 0.f, 31);
        for (int k = 0; k < 4; ++k) {
            s.noise(k * 0.5f, 0.08f, 0.6f, 35.f, 40u + static_cast<unsigned>(k));
            s.noise(k * 0.5f + 0.12f, 0.08f, 0.5f, 35.f, 50u + static_cast<unsigned>(k));
        }
        s.normalise(0.5f);
        ctx.saveSound("Train", s);
    }
    // Battle
    {
        Samples s;
        s.noise(0, 0.2f, 0.7f, 25.f, 7);
        s.sweep(0, 0.18f, 900, 200, 0.3f, Wave::Saw);
        s.normalise(0.7f);
        ctx.saveSound("MonsterSlash", s);
    }
    {
        Samples s;
        s.sweep(0, 0.12f, 160, 50, 0.8f, Wave::Sine);
        s.noise(0, 0.06f, 0.4f, 50.f, 9);
        s.normalise(0.75f);
        ctx.saveSound("Punch", s);
    }
    ctx.saveSound("BattleTurn", arpeggio({A4, E5}, 0.07f, 0.15f, Wave::Square, 0.4f));
    {
        Samples s;
        s.sweep(0, 0.5f, 80, 400, 0.5f, Wave::Saw);
        s.noise(0.3f, 0.4f, 0.5f, 8.f, 11);
        s.normalise(0.7f);
        ctx.saveSound("Deadly", s);
    }
    {
        Samples s;
        s.noise(0, 0.9f, 0.9f, 5.f, 13);
        s.sweep(0, 0.6f, 90, 30, 0.6f, Wave::Sine);
        s.normalise(0.8f);
        ctx.saveSound("Explosion", s);
    }
    {
        Samples s;
        s.sweep(0, 0.5f, 300, 1200, 0.3f, Wave::Sine);
        s.sweep(0.05f, 0.5f, 450, 1500, 0.2f, Wave::Triangle);
        s.normalise(0.6f);
        ctx.saveSound("DazeMagic", s);
    }
    ctx.saveSound("Zenguened1", arpeggio({C4, G4, C5, G5, C6}, 0.05f, 0.5f, Wave::Saw, 0.3f));
    {
        Samples s;
        s.sweep(0, 0.6f, 500, 900, 0.4f, Wave::Triangle);
        s.sweep(0.1f, 0.5f, 700, 1100, 0.3f, Wave::Sine);
        s.normalise(0.6f);
        ctx.saveSound("CatMiau", s);
    }
    {
        Samples s;
        s.sweep(0, 0.25f, 800, 1400, 0.4f, Wave::Triangle);
        s.sweep(0.2f, 0.3f, 1400, 700, 0.4f, Wave::Triangle);
        s.normalise(0.6f);
        ctx.saveSound("Amile", s);
    }
    {
        Samples s;
        for (int k = 0; k < 3; ++k) {
            s.noise(k * 0.22f, 0.12f, 0.6f, 30.f, 60u + static_cast<unsigned>(k));
            s.sweep(k * 0.22f, 0.1f, 300, 200, 0.3f, Wave::Square);
        }
        s.normalise(0.6f);
        ctx.saveSound("Construction", s);
    }
    ctx.saveSound("TreasureGoblinEscape", arpeggio({G5, E5, C5, G4}, 0.05f, 0.1f, Wave::Square, 0.4f));
    ctx.saveSound("TreasureDemonAppear", arpeggio({C4, C4 + 1, C4 + 6, C4 + 7}, 0.12f, 0.35f, Wave::Saw, 0.4f));
    // Mini-games
    {
        Samples s;
        s.sweep(0, 0.18f, 1600, 300, 0.5f, Wave::Square);
        s.normalise(0.5f);
        ctx.saveSound("laser", s);
    }
    {
        Samples s;
        s.sweep(0, 0.35f, 2000, 150, 0.5f, Wave::Saw);
        s.normalise(0.55f);
        ctx.saveSound("hoistlaser", s);
    }
    {
        Samples s;
        s.sweep(0, 0.7f, 500, 60, 0.5f, Wave::Square);
        s.noise(0, 0.5f, 0.4f, 6.f, 17);
        s.normalise(0.7f);
        ctx.saveSound("death", s);
    }
    {
        Samples s;
        s.noise(0, 0.08f, 0.8f, 40.f, 19);
        s.sweep(0, 0.08f, 700, 200, 0.4f, Wave::Square);
        s.normalise(0.6f);
        ctx.saveSound("Shot1", s);
    }
    {
        Samples s;
        for (int k = 0; k < 5; ++k) s.noise(k * 0.07f, 0.05f, 0.8f, 60.f, 70u + static_cast<unsigned>(k));
        s.normalise(0.6f);
        ctx.saveSound("MachineGun", s);
    }
    {
        Samples s;
        s.tone(0, 0.6f, 180, 0.3f, Wave::Saw, 0.02f, 0.1f);
        s.noise(0, 0.6f, 0.3f, 1.f, 23);
        s.normalise(0.55f);
        ctx.saveSound("Saw", s);
    }
    ctx.saveSound("SokobanMove", arpeggio({C4}, 0.1f, 0.08f, Wave::Triangle, 0.5f));
    {
        Samples s;
        s.sweep(0, 0.3f, 400, 100, 0.5f, Wave::Square);
        s.normalise(0.6f);
        ctx.saveSound("SnakeHit", s);
    }
    ctx.saveSound("GameOver", arpeggio({G4, F4, E4, D4, C4}, 0.2f, 0.4f, Wave::Triangle, 0.5f));
}

REGISTER_ART(musics) {
    // Travel through space: wide, floating, minor.
    ctx.saveMusic("SpaceTravel", renderTune({{A4, C5, E5, R, D5, C5, B4, R, A4, E5, G5, R, F5, E5, D5, R},
                                             {A4, F4, C4, E4}, 96.f, Wave::Sine, Wave::Triangle, false}));
    ctx.saveMusic("ImportantDialog", renderTune({{E4, G4, B4, R, A4, G4, E4, R, D4, F4, A4, R, G4, F4, D4, R},
                                                 {E4, D4, C4, B4 - 12}, 80.f, Wave::Triangle, Wave::Sine, false}));
    ctx.saveMusic("Mandelbrot", renderTune({{C5, D5 + 1, G5, D5 + 1, C5, G4, A4 - 1, G4, C5, D5 + 1, F5, G5, D5 + 1, C5, B4, R},
                                            {C4, A4 - 13, F4, G4}, 100.f, Wave::Saw, Wave::Sine, true}));
    // Short battle-action stings, one per digit.
    const int roots[10] = {A4, C5, D5, E4, G4, B4, F4, A4, C5, E5};
    for (int k = 0; k < 10; ++k) {
        int r = roots[k];
        Tune t{{r, r + 3, r + 7, r + 12, r + 7, r + 3, r + 10, r + 12}, {r, r - 2}, 150.f,
               k % 2 ? Wave::Square : Wave::Saw, Wave::Triangle, true, 0.3f};
        ctx.saveMusic("Attack" + std::to_string(k), renderTune(t));
    }
    // Scene musics the demo scenes may name.
    ctx.saveMusic("Town", renderTune({{C5, E5, G5, E5, F5, A5, G5, R, E5, D5, C5, D5, E5, C5, D5, R},
                                      {C4, F4, C4, G4}, 112.f}));
    ctx.saveMusic("Title", renderTune({{G4, C5, E5, G5, F5, E5, D5, R, E5, F5, G5, A5, G5, E5, C5, R},
                                       {C4, A4 - 12, F4, G4}, 100.f, Wave::Triangle, Wave::Sine, false}));
    ctx.saveMusic("Cave", renderTune({{A4, R, C5, B4, R, E4, R, A4, G4, R, F4, E4, R, R, E4, R},
                                      {A4 - 12, F4, D4, E4}, 84.f, Wave::Sine, Wave::Sine, false, 0.3f}));
    ctx.saveMusic("Battle", renderTune({{E5, E5, G5, E5, D5, C5, D5, B4, E5, E5, G5, A5, G5, E5, D5, E5},
                                        {E4, C4, D4, B4 - 12}, 150.f, Wave::Square, Wave::Saw, true, 0.3f}));
    ctx.saveMusic("Snow", renderTune({{E5, G5, B4 + 12, A5, G5, E5, D5, R, C5, E5, G5, F5 + 1, E5, D5, B4, R},
                                      {E4, C4, G4, D4}, 90.f, Wave::Sine, Wave::Triangle, false}));
    ctx.saveMusic("Credits", renderTune({{C5, D5, E5, G5, E5, D5, C5, A4, G4, A4, C5, D5, E5, D5, C5, R},
                                         {C4, A4 - 12, F4, G4}, 96.f}));
    ctx.saveMusic("Victory", renderTune({{C5, C5, C5, C5, A4 - 1, B4 + 1, C5, R, B4 + 1, C5, R, R},
                                         {C4, A4 - 13, C4}, 140.f, Wave::Square, Wave::Triangle, true}));
}
