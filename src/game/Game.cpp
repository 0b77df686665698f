#include "game/Game.hpp"

#include "foundation/Resources.hpp"
#include "game/Globals.hpp"

#include <SFML/Window/Joystick.hpp>

#include <cstdlib>

// ---------------------------------------------------------------------------------------------
// The views and travel states

RocketFlight::RocketFlight() {
    space.startSpaceDrift();
    clouds.kind = BG_SPACE_TRAVEL;
    clouds.count = 500;
    clouds.option = true;
    angle = std::rand() % 360;
}

void RocketFlight::reset() {
    phase = 0;
    frameCounter = 0;
    angle = std::rand() % 360;
}

void SystemTravel::reset() {
    frameCounter = 0;
    sky.startSpaceDrift();
    rocket.tile = {0, 0};
    rocket.pixel = {960, 540};
    rocket.direction = NORTH;
    rocket.frame = 0;
    rocket.drifting = true;
}

JoystickState SfmlJoystick::read() {
    JoystickState state;
    if (!sf::Joystick::isConnected(0)) return state;
    state.axisX = sf::Joystick::getAxisPosition(0, sf::Joystick::X);
    state.axisY = sf::Joystick::getAxisPosition(0, sf::Joystick::Y);
    for (unsigned b = 0; b < 4; ++b) state.buttons[b] = sf::Joystick::isButtonPressed(0, b);
    return state;
}

// ---------------------------------------------------------------------------------------------
// Construction

Game::Game()
    : joystick(std::make_unique<SfmlJoystick>()),
      landingScenes{{"Ceres", "Solaris"},
                    {"Mars", "Olympus"},
                    {"Earth", "Bombinhas"},
                    {"Moon", "DarkSideOfTheMoon"},
                    {"Saturn", "Cassini"},
                    {"Titan", "Titan"},
                    {"Neptune", "Galatea"},
                    {"Europa", "Paris"},
                    {"Mercury", "Mercury1"},
                    {"PinkBubblegum", "OutsideBabalu"},
                    {"Jupiter", "JupiterMain"},
                    {"Venus", "VenusMain"},
                    {"Sun", "SunMain"},
                    {"Cambodia", "Cambodia"},
                    {"Cauchemar", "Alptraum"},
                    {"HeavensShip", "HeavensShip"},
                    {"Mandelbrot", "MandelbrotStartingPoint"},
                    {"Orange", "Orange"},
                    {"Ice", "IceMain"},
                    {"Pocuri", "Pocuri"},
                    {"B612", "B612"},
                    {"Jacarock", "Brest"},
                    {"Chicken", "ChickenPlanet"},
                    {"Pollux", "PolluxMain"}},
      SHARDLOCATION{{"RitPliar", "Ceres"}, {"Moon", "Mars"}, {"Fire", "Earth"}} {
    settingsAnimation.name = "";
    settingsAnimation.scale = 1.0f;
    settingsAnimation.colour = sf::Color::White;
}

Game::~Game() = default;

// ---------------------------------------------------------------------------------------------
// Game variables and shards

bool Game::isBoolVarSet(const std::string& name) const { return BOOLVARS.count(name) > 0; }

bool Game::hasSetVar(const std::string& name) const { return SETVARS.count(name) > 0; }

const std::set<std::string>& Game::getSetVar(const std::string& name) const {
    static const std::set<std::string> none;
    auto it = SETVARS.find(name);
    return it == SETVARS.end() ? none : it->second;
}

void Game::addToSetVar(const std::string& name, const std::string& word) {
    SETVARS[name].insert(word);
}

void Game::setStrVar(const std::string& name, const std::string& value) { STRVARS[name] = value; }

std::string Game::getStrVar(const std::string& name) const {
    auto it = STRVARS.find(name);
    return it == STRVARS.end() ? std::string() : it->second;
}

void Game::clearStrVar(const std::string& name) { STRVARS[name] = ""; }

int Game::shardState(const std::string& name) const {
    auto it = SHARDS.find(name);
    return it == SHARDS.end() ? 0 : it->second;
}

void Game::obtainShard(const std::string& name) {
    SHARDS[name] = 1;
    LASTSHARD = name;
}

std::string Game::landingScene(const std::string& planet) const {
    auto it = landingScenes.find(planet);
    if (it == landingScenes.end()) fatalAssert("Game", 512, planet);
    return it->second;
}

bool Game::anyKey() const {
    return input.upHeld || input.downHeld || input.leftHeld || input.rightHeld || input.confirm ||
           input.back || input.menu || input.action;
}

void Game::askAreYouSure(std::function<void()> action, const std::string& question) {
    confirmShown = true;
    confirmAction = std::move(action);
    confirmQuestion = question;
}

// ---------------------------------------------------------------------------------------------
// Tile kinds

int Game::addTileKind(const TileKind& kind) {
    for (std::size_t i = 0; i < tileKinds.size(); ++i)
        if (tileKinds[i] == kind) return static_cast<int>(i);
    tileKinds.push_back(kind);
    return static_cast<int>(tileKinds.size()) - 1;
}

const TileKind& Game::tileKindAt(long long index) const {
    if (index < 0 || index >= static_cast<long long>(tileKinds.size()))
        fatalAssert("Game", 285, "TileKind");
    return tileKinds[static_cast<std::size_t>(index)];
}

// ---------------------------------------------------------------------------------------------

std::string Game::shardCoordsHint() {
    std::string text = "Check out these coords: ";
    for (const auto& [place, name] : mandelbrotPlacements) {
        if (name == "MandelbrotShardScene") continue;
        text += "(" + std::to_string(place.x) + "," + std::to_string(place.y) + "," +
                std::to_string(place.level) + ") ";
    }
    return text;
}
