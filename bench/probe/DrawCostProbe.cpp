// Measures the renderer's share of a frame: runs the game's frame loop in one scene at the
// 30 frames-per-second target and prints the process CPU time per frame and the frame rate.
// With "minimal" it runs a program of the same library doing one clear, one text and one sprite
// per frame instead, the floor to compare the game with.
//
//   quorvane_draw_probe <scene|minimal> [frames] [plain] [far] [walk]
//   quorvane_draw_probe closeups [rounds] [cast ...]
//
// plain: draw the long way (no drawing shortcuts); far: the zoomed-out view; walk: walk the
// leader right and left so the view scrolls. Run from the playable folder.
//
// closeups: the arena's battle. "arena" is its grid frame with every combatant standing, any
// other cast a close-up played through the battle's own frame update from start to end: "none"
// a close-up without an effect, "attack" a plain attack, otherwise a spell of the arena's caster
// (name or name:level). Each round draws every cast the long way and with the shortcuts from
// the same seed; per frame the median over the rounds counts. Prints, per cast and way, the
// mean CPU per frame and the heaviest frame. A cast "shortcuts-only" leaves the long way out.
#include "battle/Battle.hpp"
#include "battle/CloseUpBackdropDraw.hpp"
#include "battle/Items.hpp"
#include "battle/Magic.hpp"
#include "characters/People.hpp"
#include "foundation/DrawBatch.hpp"
#include "foundation/RandomColor.hpp"
#include "foundation/Resources.hpp"
#include "game/FrameLoop.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"

#include <SFML/Graphics.hpp>

#include <algorithm>
#include <chrono>
#include <map>
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

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// The CPU of each frame of one cast, unpaced: update, draw, display.
std::vector<double> playCast(sf::RenderWindow& window, const std::string& cast, bool plain, unsigned seed) {
    Scene& arena = game->current();
    Battle& b = arena.battle;
    const long long caster = people->indexOf("Lumen");
    for (std::size_t i = 0; i < b.turnList.size(); ++i)
        if (b.turnList[i] == caster) b.turnIndex = static_cast<int>(i);
    long long enemy = NO_INDEX;
    for (long long e : b.turnList)
        if (!people->isMember(static_cast<int>(e)) && enemy == NO_INDEX) enemy = e;
    drawShortcuts = !plain;
    std::srand(seed);
    std::vector<double> cpu;
    if (cast == "arena") {
        b.state = Battle::PLAYER_MOVES;
        for (int n = 0; n < 65; ++n) {
            const double t0 = processCpuMs();
            game->drawFrame(window);
            window.display();
            // The first frames make the kept pictures.
            if (n >= 5) cpu.push_back(processCpuMs() - t0);
        }
        return cpu;
    }
    std::string spell = cast == "attack" ? "" : cast == "none" ? "Fizzle" : cast;
    int level = 1;
    if (auto colon = spell.find(':'); colon != std::string::npos) {
        level = std::atoi(spell.c_str() + colon + 1);
        spell.resize(colon);
    }
    const bool ally = !spell.empty() && magicRepository->get(spell).target == TARGET_ALLY;
    const long long target = ally ? people->indexOf("Oriel") : enemy;
    b.state = Battle::NEXT_TURN;
    b.shownAction = makeActionAnimation(caster, target, spell, level);
    for (int n = 0; n < 2000 && b.shownAction.playing; ++n) {
        const double t0 = processCpuMs();
        // The player confirms every seventh frame, as the message box and the pauses ask.
        game->update(n % 7 == 0 ? std::vector<int>{keys::Space} : std::vector<int>{}, &window);
        if (!b.shownAction.playing) break;
        game->drawFrame(window);
        window.display();
        cpu.push_back(processCpuMs() - t0);
    }
    return cpu;
}

int closeups(sf::RenderWindow& window, int rounds, std::vector<std::string> casts) {
    const auto only = std::find(casts.begin(), casts.end(), "shortcuts-only");
    const bool bothWays = only == casts.end();
    if (!bothWays) casts.erase(only);
    if (casts.empty()) casts = {"arena", "none", "attack"};
    game->gotoScene("Arena", true, &window);
    if (!game->current().battle.inBattle) return 1;
    // Every cast starts from the arena as entered: the roster and the battle put back.
    const std::deque<Character> roster = people->characters;
    const std::set<int> party = people->party, reserve = people->reserve;
    const Battle battle = game->current().battle;
    std::map<std::pair<std::string, bool>, std::vector<std::vector<double>>> runs;
    for (int r = 0; r < rounds; ++r)
        for (const std::string& cast : casts)
            for (bool plain : {true, false}) {
                if (plain && !bothWays) continue;
                people->characters = roster;
                people->party = party;
                people->reserve = reserve;
                game->current().battle = battle;
                // Each cast as the first of a new battle, whose frames before it make the kept
                // backdrop anew.
                closeUpBackdrop().release();
                game->drawFrame(window);
                window.display();
                runs[{cast, plain}].push_back(playCast(window, cast, plain, 4044u));
            }
    for (const std::string& cast : casts)
        for (bool plain : {true, false}) {
            if (plain && !bothWays) continue;
            const auto& rs = runs[{cast, plain}];
            std::size_t frames = rs.front().size();
            for (const auto& v : rs) frames = std::min(frames, v.size());
            double sum = 0, heaviest = 0;
            std::size_t at = 0;
            for (std::size_t i = 0; i < frames; ++i) {
                std::vector<double> column;
                for (const auto& v : rs) column.push_back(v[i]);
                const double m = median(column);
                sum += m;
                if (m > heaviest) heaviest = m, at = i;
            }
            std::printf("closeup %s %s frames=%zu mean_ms=%.2f heaviest_ms=%.2f heaviest_frame=%zu\n",
                        cast.c_str(), plain ? "plain" : "shortcuts", frames, frames ? sum / static_cast<double>(frames) : 0.0,
                        heaviest, at);
        }
    return 0;
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
    if (sceneName == "closeups") {
        std::vector<std::string> casts(argv + std::min(argc, 3), argv + argc);
        return closeups(window, argc > 2 ? std::max(1, std::atoi(argv[2])) : 3, casts);
    }
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
