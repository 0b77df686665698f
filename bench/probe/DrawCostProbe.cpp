// Measures the renderer's share of a frame: runs the game's frame loop in one scene at the
// 30 frames-per-second target and prints the process CPU time per frame and the frame rate.
// With "minimal" it runs a program of the same library doing one clear, one text and one sprite
// per frame instead, the floor to compare the game with.
//
//   quorvane_draw_probe <scene|minimal> [frames] [plain] [far] [walk]
//
// plain: draw the long way (no drawing shortcuts); far: the zoomed-out view; walk: walk the
// leader right and left so the view scrolls. Run from the playable folder.
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/Resources.hpp"
#include "game/FrameLoop.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Graphics.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

double wallMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Stretch {
    double cpuMs = 0, wallMs = 0;
    int frames = 0;
};

// The paced loop of the program: `frame` draws one frame into the window (without display).
template <class Frame>
Stretch run(sf::RenderWindow& window, int warmUp, int frames, Frame frame) {
    FramePacer pacer;
    pacer.setTarget(30);
    pacer.start();
    Stretch s;
    double cpu0 = 0, wall0 = 0;
    for (int n = 0; n < warmUp + frames;) {
        if (!pacer.beginFrame()) {
            pacer.waitForFrame();
            continue;
        }
        if (n == warmUp) {
            cpu0 = processCpuMs();
            wall0 = wallMs();
        }
        sf::Event event;
        while (window.pollEvent(event)) {
        }
        frame(n, pacer);
        window.display();
        ++n;
    }
    s.cpuMs = processCpuMs() - cpu0;
    s.wallMs = wallMs() - wall0;
    s.frames = frames;
    return s;
}

void report(const std::string& what, const Stretch& s) {
    std::printf("%s frames=%d cpu_ms_per_frame=%.2f cpu_percent=%.1f fps=%.2f\n", what.c_str(),
                s.frames, s.cpuMs / s.frames, 100.0 * s.cpuMs / s.wallMs,
                1000.0 * s.frames / s.wallMs);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <scene|minimal> [frames] [plain] [far] [walk]\n", argv[0]);
        return 2;
    }
    const std::string sceneName = argv[1];
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
    bool plain = false, far = false, walk = false;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        plain |= a == "plain";
        far |= a == "far";
        walk |= a == "walk";
    }
    std::srand(4044);
    sf::RenderWindow window(sf::VideoMode(1920, 1080, 32), "Quorvane 2.0",
                            sf::Style::Titlebar | sf::Style::Close);

    if (sceneName == "minimal") {
        sf::Font font;
        sf::Texture texture;
        if (!font.loadFromFile("Resources/Fonts/Dialog.ttf") ||
            !texture.loadFromFile("Resources/Misc/Heart.png"))
            return 1;
        report("minimal", run(window, 30, frames, [&](int, const FramePacer& pacer) {
                   window.clear(sf::Color::Black);
                   sf::Sprite sprite(texture);
                   sprite.setPosition(900, 500);
                   window.draw(sprite);
                   sf::Text text(pacer.rateText(), font, 30);
                   text.setPosition(1770, 980);
                   window.draw(text);
               }));
        return 0;
    }

    resources = new Resources();
    // As the game does: the audio device closes at exit only when the last sound is freed.
    std::atexit([] { resources->releaseAudio(); });
    game = new Game();
    people = createPeople();
    magicRepository = new MagicRepository();
    itemList = new ItemList();
    potionRepository = new PotionRepository();
    game->init(&window);
    drawShortcuts = !plain;
    game->gotoScene(sceneName, true, &window);
    if (far) game->toggleZoom();

    const std::string what = sceneName + (plain ? " plain" : " shortcuts") + (far ? " far" : " near") +
                             (walk ? " walking" : " idle");
    report(what, run(window, 30, frames, [&](int n, const FramePacer& pacer) {
               std::vector<int> keys;
               // Forty frames each way, so the walk stays in the scene and the view scrolls.
               if (walk) keys.push_back((n / 40) % 2 == 0 ? keys::Right : keys::Left);
               game->update(keys, &window);
               game->drawFrame(window);
               sf::Text text(pacer.rateText(), resources->getFont("Dialog"), 30);
               text.setFillColor(randomColor());
               text.setPosition(1770, 980);
               window.draw(text);
           }));
    std::printf("ended in %s\n", game->scenes[game->currentScene].name.c_str());
    return 0;
}
