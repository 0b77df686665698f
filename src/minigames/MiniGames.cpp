// The Game's side of the mini-games: creating them at start-up, handing them the frame and
// drawing them over everything else.
#include "minigames/MiniGames.hpp"

#include "game/Game.hpp"
#include "minigames/Shooter.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

void Game::addFlag(const std::string& name) { BOOLVARS.insert(name); }

void Game::createMiniGames() {
    if (!miniGames) miniGames = std::make_shared<MiniGames>();
    // The order matters: the cave and the course draw many random numbers when they are made.
    miniGames->guessNumber = std::make_unique<GuessNumber>();
    miniGames->salomao = std::make_unique<SalomaoGame>();
    miniGames->salomao->generate();
    miniGames->cobrinha = std::make_unique<Cobrinha>();
    miniGames->cobrinha->reset();
    miniGames->guessFlag = std::make_unique<GuessFlag>();
    miniGames->taco = std::make_unique<Taco>();
}

bool Game::updateMiniGame(int kind, const std::vector<int>& keyCodes) {
    if (kind == MINI_SAVE_THE_FUTURE) return !saveTheFuture || saveTheFuture->update(keyCodes);
    if (!miniGames) return true;
    switch (kind) {
    case MINI_GUESS_NUMBER: return miniGames->guessNumber->update(keyCodes);
    case MINI_SALOMAO: return miniGames->salomao->update(keyCodes);
    case MINI_COBRINHA: return miniGames->cobrinha->update();
    case MINI_GUESS_FLAG: return miniGames->guessFlag->update();
    case MINI_TACO: return miniGames->taco->update();
    default: return true;
    }
}

void Game::drawMiniGame(sf::RenderTarget& window, int kind) {
    if (kind == MINI_SAVE_THE_FUTURE) {
        if (saveTheFuture) saveTheFuture->draw(window);
        return;
    }
    if (!miniGames) return;
    switch (kind) {
    case MINI_GUESS_NUMBER: miniGames->guessNumber->draw(window); break;
    case MINI_SALOMAO: miniGames->salomao->draw(window); break;
    case MINI_COBRINHA: miniGames->cobrinha->draw(window); break;
    case MINI_GUESS_FLAG: miniGames->guessFlag->draw(window); break;
    case MINI_TACO: miniGames->taco->draw(window); break;
    default: break;
    }
}
