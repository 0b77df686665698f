#include "minigames/Shooter.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Window/Joystick.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

SaveTheFuture* saveTheFuture = nullptr;
SaveTheFutureShip* saveTheFutureShip = nullptr;
std::vector<SaveTheFutureSaucer>* saveTheFutureSaucers = nullptr;

namespace {

class RealHeldInput : public ShooterHeldInput {
public:
    void keyboard(bool held[6]) override {
        using K = sf::Keyboard;
        const K::Key keys[6] = {K::Up, K::Down, K::Left, K::Right, K::Space, K::LControl};
        for (int i = 0; i < 6; ++i) held[i] = K::isKeyPressed(keys[i]);
    }
    void joystick(float& axisX, float& axisY, bool& button1, bool& button2) override {
        axisX = axisY = 0;
        button1 = button2 = false;
        if (!sf::Joystick::isConnected(0)) return;
        axisX = sf::Joystick::getAxisPosition(0, sf::Joystick::X);
        axisY = sf::Joystick::getAxisPosition(0, sf::Joystick::Y);
        button1 = sf::Joystick::isButtonPressed(0, 1);
        button2 = sf::Joystick::isButtonPressed(0, 2);
    }
};

void play(const char* sound) {
    if (resources) resources->playSound(sound);
}

int explosionFrames() {
    return resources ? static_cast<int>(resources->getAnimation("Explosion").size()) : 16;
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}

SaveTheFutureShip& ship() { return *saveTheFutureShip; }
std::vector<SaveTheFutureSaucer>& saucers() { return *saveTheFutureSaucers; }

} // namespace

std::unique_ptr<ShooterHeldInput> shooterHeldInput = std::make_unique<RealHeldInput>();

void createSaveTheFuture() {
    saveTheFuture = new SaveTheFuture();
    saveTheFutureShip = new SaveTheFutureShip();
    saveTheFutureSaucers = new std::vector<SaveTheFutureSaucer>();
}

Rect SaveTheFutureShip::box() const {
    const int hw = static_cast<int>(halfWidth), hh = static_cast<int>(halfHeight);
    return {x - hw, y - hh, x + hw, y + hh};
}

Rect SaveTheFuture::saucerBox(const SaveTheFutureSaucer& s) const {
    // The drawn height follows the picture's proportions.
    float texW = 200, texH = 120;
    if (resources) {
        const sf::Vector2u size = resources->getStfTexture(s.texture).getSize();
        texW = static_cast<float>(size.x);
        texH = static_cast<float>(size.y);
    }
    const int w = s.width;
    const int h = static_cast<int>(texH * (static_cast<float>(w) / texW));
    return {s.x - w / 2, s.y - h / 2, s.x + w / 2, s.y + h / 2};
}

void SaveTheFuture::reset() {
    *saveTheFuture = SaveTheFuture();
    *saveTheFutureShip = SaveTheFutureShip();
}

void SaveTheFuture::readInput(const std::vector<int>& keyCodes) {
    std::fill(std::begin(held), std::end(held), false);
    for (int code : keyCodes) {
        if (code == 73) held[UP] = true;
        if (code == 74) held[DOWN] = true;
        if (code == 71) held[LEFT] = true;
        if (code == 72) held[RIGHT] = true;
        if (code == 57) held[CONFIRM] = true;
        if (code == 37) held[BACK] = true;
    }
    if (!shooterHeldInput) return;
    float ax = 0, ay = 0;
    bool b1 = false, b2 = false;
    shooterHeldInput->joystick(ax, ay, b1, b2);
    if (ax < -90) held[LEFT] = true;
    if (ax > 90) held[RIGHT] = true;
    if (ay < -90) held[UP] = true;
    if (ay > 90) held[DOWN] = true;
    if (b2) held[CONFIRM] = true;
    if (b1) held[BACK] = true;
    bool keys[6] = {false, false, false, false, false, false};
    shooterHeldInput->keyboard(keys);
    for (int i = 0; i < 6; ++i) held[i] = held[i] || keys[i];
}

bool SaveTheFuture::update(const std::vector<int>& keyCodes) {
    readInput(keyCodes);
    if (state == TITLE) {
        if (held[CONFIRM] || held[BACK]) state = PLAYING;
        return true;
    }
    if (state == LOST || state == WON) return !held[BACK];
    playingStep();
    return true;
}

void SaveTheFuture::playingStep() {
    SaveTheFutureShip& s = ship();
    ageExplosions();
    updateSaucers(s);
    updateShip(s);
    // A saucer's status panel shows while its hit timer runs.
    for (auto it = hitTimers.begin(); it != hitTimers.end();) {
        if (--it->second < 1) it = hitTimers.erase(it);
        else ++it;
    }
    // At most ten saucers are in play; a new one comes about once in a hundred frames.
    if (activeSaucers.size() < 10 && std::rand() % 100 == 0) {
        spawnSaucer(saucers());
        activeSaucers.push_back(static_cast<int>(saucers().size()) - 1);
    }
    groundScroll += 10;
    moveShots();
    flyMissiles();
    catchPickups(s);
    // The 41st saucer destroyed wins; a frame that both wins and loses ends lost, with the win
    // recorded.
    if (s.score > 40) {
        state = WON;
        if (game) game->BOOLVARS.insert("WON_STF");
    }
    if (s.health < 1) state = LOST;
}

// Explosions play their animation once and are gone after its last frame.
void SaveTheFuture::ageExplosions() {
    const int frames = explosionFrames();
    for (auto& e : explosions) ++e.frame;
    std::erase_if(explosions, [&](const SaveTheFutureExplosion& e) { return e.frame >= frames; });
}

// A destroyed saucer scores, explodes and may drop a pickup; one that has wandered off the
// screen just leaves play. Both leave only after the loop, so every saucer is seen once.
void SaveTheFuture::updateSaucers(SaveTheFutureShip& s) {
    std::vector<bool> leaving(activeSaucers.size(), false);
    for (std::size_t k = 0; k < activeSaucers.size(); ++k) {
        const int i = activeSaucers[k];
        SaveTheFutureSaucer& S = saucers()[static_cast<std::size_t>(i)];
        if (S.health < 1) {
            ++s.score;
            explosions.push_back({S.x, S.y, 0});
            play("Explosion");
            const int r = std::rand() % 100;
            if (r < 25) pickups.push_back({sf::Color(0, 255, 0), false, S.x, S.y, 300});
            else if (r < 35) pickups.push_back({sf::Color(0, 0, 255), false, S.x, S.y, 0});
            else if (r < 45) pickups.push_back({sf::Color(255, 165, 0), true, S.x, S.y, 0});
            leaving[k] = true;
        } else if (S.x < -S.width || S.x > WINDOW_WIDTH - S.width || S.y < 0 || S.y > WINDOW_HEIGHT) {
            leaving[k] = true;
        } else if (updateSaucer(S)) {
            hitTimers[i] = 300;
        }
    }
    std::vector<int> kept;
    for (std::size_t k = 0; k < activeSaucers.size(); ++k)
        if (!leaving[k]) kept.push_back(activeSaucers[k]);
    activeSaucers = kept;
}

// Shots fly straight on until they leave the screen.
void SaveTheFuture::moveShots() {
    for (auto& shot : shots) {
        shot.x += shot.dx;
        shot.y += shot.dy;
    }
    std::erase_if(shots, [](const SaveTheFutureShot& t) {
        return t.y < 0 || t.y > WINDOW_HEIGHT || t.x < 0 || t.x > WINDOW_WIDTH;
    });
}

// A missile that flies into a live saucer explodes on it. Its damage is dealt here unless the
// saucer's own step already took it, so every missile hurts exactly once.
void SaveTheFuture::flyMissiles() {
    std::vector<SaveTheFutureMissile> flying;
    for (SaveTheFutureMissile& m : missiles) {
        if (steerMissile(m)) continue;
        int struck = -1;
        for (int i : activeSaucers) {
            const SaveTheFutureSaucer& S = saucers()[static_cast<std::size_t>(i)];
            if (S.health > 0 && saucerBox(S).contains({m.x, m.y})) {
                struck = i;
                break;
            }
        }
        if (struck < 0) {
            flying.push_back(m);
            continue;
        }
        if (!m.dealt) {
            SaveTheFutureSaucer& S = saucers()[static_cast<std::size_t>(struck)];
            S.health = std::max(S.health - std::rand() % 500 - 500, 0);
            hitTimers[struck] = 300;
            play("SalomaoDiamond");
        }
    }
    missiles = flying;
}

// Pickups fall until the ship catches them (a missile, health or a better weapon) or they leave
// the bottom of the screen.
void SaveTheFuture::catchPickups(SaveTheFutureShip& s) {
    std::vector<SaveTheFuturePickup> falling;
    const Rect box = s.box();
    for (SaveTheFuturePickup p : pickups) {
        p.y += 2;
        if (p.y > WINDOW_HEIGHT) continue;
        if (!box.contains({p.x, p.y})) {
            falling.push_back(p);
            continue;
        }
        if (p.missile) ++s.missiles;
        else if (p.heal != 0) s.health = std::min(s.health + p.heal, s.maxHealth);
        else if (s.weaponLevel < 4) ++s.weaponLevel;
        play("SalomaoLibra");
    }
    pickups = falling;
}

void SaveTheFuture::updateShip(SaveTheFutureShip& s) {
    s.phase = (s.phase + 1) % s.period;
    ++s.frameCounter;
    if (s.shieldOn) {
        if (++s.shieldOnFrames > s.shieldDuration) {
            s.shieldOn = false;
            s.shieldOnFrames = s.shieldOffFrames = 0;
        }
    } else if (s.kind == 3) {
        if (++s.shieldOffFrames > s.shieldCooldown) {
            s.shieldOn = true;
            s.shieldOnFrames = s.shieldOffFrames = 0;
        }
    }
    const int oldX = s.x, oldY = s.y;
    if (held[LEFT]) s.x -= s.speed;
    if (held[RIGHT]) s.x += s.speed;
    if (held[UP]) s.y -= s.speed;
    if (held[DOWN]) s.y += s.speed;
    if (s.x < 0 || s.y < 0 || s.x > WINDOW_WIDTH || s.y > WINDOW_HEIGHT) {
        s.x = oldX;
        s.y = oldY;
    }
    if (held[CONFIRM]) fire(s);
    if (s.shieldOn) return;
    const Rect box = s.box();
    for (const SaveTheFutureShot& shot : shots) {
        if (shot.fromPlayer || !box.contains({shot.x, shot.y})) continue;
        play("SalomaoWall");
        s.health = std::max(s.health - std::rand() % 90 - 1, 0);
    }
    for (int i : activeSaucers)
        if (overlaps(saucerBox(saucers()[static_cast<std::size_t>(i)]), box))
            s.health = std::max(s.health - 100, 0);
}

void SaveTheFuture::fire(SaveTheFutureShip& s) {
    std::vector<SaveTheFutureShot> fresh;
    auto shot = [&](int offset, int dx) {
        SaveTheFutureShot t;
        t.x = s.x + offset;
        t.y = s.y - 20;
        t.dx = dx;
        t.dy = -20;
        t.fromPlayer = true;
        t.elongated = true;
        t.radius = 4;
        t.colour = std::rand() % 2 == 1 ? sf::Color::Yellow : sf::Color::Red;
        fresh.push_back(t);
    };
    switch (s.weaponLevel) {
    case 0: shot(0, 0); break;
    case 1: shot(-20, 0); shot(20, 0); break;
    case 2: shot(0, 0); shot(-20, 0); shot(20, 0); break;
    case 3: shot(0, 0); shot(0, -7); shot(0, 7); break;
    default:
        shot(0, 0);
        for (int dx : {-1, -3, -5, -7, -9, 1, 3, 5, 7, 9}) shot(0, dx);
        break;
    }
    if (s.missiles > 0 && s.frameCounter % std::max(1, 70 / s.missiles) == 0) {
        SaveTheFutureMissile left, right;
        left.x = s.x - 40;
        left.y = s.y;
        right.x = s.x + 40;
        right.y = s.y;
        missiles.push_back(left);
        missiles.push_back(right);
    }
    shots.insert(shots.end(), fresh.begin(), fresh.end());
    play("Shot1");
}

bool SaveTheFuture::updateSaucer(SaveTheFutureSaucer& S) {
    bool hit = false;
    if (std::rand() % 15 == 0) {
        S.vy = std::rand() % 15 - 5;
        S.vx = std::rand() % 15 - 7;
    }
    S.x += S.vx;
    S.y += S.vy;
    S.angle = (S.angle + 10) % 360;
    const Rect box = saucerBox(S);
    for (const SaveTheFutureShot& shot : shots) {
        if (!shot.fromPlayer || !box.contains({shot.x, shot.y})) continue;
        hit = true;
        S.health = std::max(S.health - std::rand() % 3 - 1, 0);
    }
    for (SaveTheFutureMissile& m : missiles) {
        if (m.dealt || !box.contains({m.x, m.y})) continue;
        hit = true;
        m.dealt = true;
        S.health = std::max(S.health - std::rand() % 500 - 500, 0);
    }
    if (overlaps(box, ship().box())) {
        hit = true;
        S.health = std::max(S.health - 100, 0);
    }
    if (hit) play("SalomaoDiamond");
    if (S.shoots && std::rand() % 160 == 0) {
        const double a = std::atan2(static_cast<double>(ship().y - S.y), static_cast<double>(ship().x - S.x));
        SaveTheFutureShot t;
        t.x = S.x;
        t.y = S.y;
        t.dx = static_cast<int>(std::cos(static_cast<float>(a)) * 20);
        t.dy = static_cast<int>(std::sin(static_cast<float>(a)) * 20);
        t.colour = sf::Color::Cyan;
        t.radius = 8;
        shots.push_back(t);
    }
    return hit;
}

void SaveTheFuture::spawnSaucer(std::vector<SaveTheFutureSaucer>& list) {
    SaveTheFutureSaucer S;
    S.texture = "Saucer" + std::to_string(std::rand() % 5 + 1);
    S.name = SAUCER_NAMES[static_cast<std::size_t>(std::rand()) % SAUCER_NAMES.size()];
    S.y = std::rand() % 540;
    S.x = std::rand() % WINDOW_WIDTH;
    list.push_back(S);
}

bool SaveTheFuture::steerMissile(SaveTheFutureMissile& m) {
    int target = -1;
    float best = 0;
    for (int i : activeSaucers) {
        const SaveTheFutureSaucer& S = saucers()[static_cast<std::size_t>(i)];
        if (S.health <= 0) continue;
        const int dx = S.x - m.x, dy = S.y - m.y;
        const float d = std::sqrt(static_cast<float>(dx * dx) + static_cast<float>(dy * dy));
        if (target < 0 || d < best) {
            target = i;
            best = d;
        }
    }
    int tx = m.x, ty = -20;
    if (target >= 0) {
        consoleLine("Closest enemy ", target);
        tx = saucers()[static_cast<std::size_t>(target)].x;
        ty = saucers()[static_cast<std::size_t>(target)].y;
    } else {
        consoleLine("Missle doesn't have a target");
    }
    if (tx != m.x) {
        const float a = std::atan2(static_cast<float>(ty - m.y), static_cast<float>(tx - m.x));
        m.rotation = 90 + static_cast<int>(a * 180 / 3.14159f);
        m.x += static_cast<int>(std::cos(a) * m.speed);
        m.y += static_cast<int>(std::sin(a) * m.speed);
    } else {
        m.rotation = 0;
        m.y += ty > m.y ? m.speed : -m.speed;
    }
    return m.y < 0;
}

int SaveTheFuture::shownSaucer() const {
    int best = -1, bestCount = 0;
    for (const auto& [index, frames] : hitTimers) {
        if (best < 0 || frames > bestCount) {
            best = index;
            bestCount = frames;
        }
    }
    return best;
}

float SaveTheFuture::glowScale(int p, int P) {
    const int q = P / 4;
    if (p < q) return 0.9f + p * 0.1f / q;
    if (p < P / 2) return 0.9f + (P / 2 - p) * 0.1f / q;
    return 0.8f + std::abs(p - 3 * P / 4) * 0.1f / q;
}
