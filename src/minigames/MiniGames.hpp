// The five mini-game objects the Game owns (the shooter is a global of its own). Each lives from
// start-up to the end of the process, so a game left half-way is found as it was.
#pragma once

#include "minigames/Cobrinha.hpp"
#include "minigames/GuessFlag.hpp"
#include "minigames/GuessNumber.hpp"
#include "minigames/Salomao.hpp"
#include "minigames/Taco.hpp"

#include <memory>

// The scene-file mini-game kinds.
enum MiniGameKind : int {
    MINI_GUESS_NUMBER = 1,
    MINI_SALOMAO = 2,
    MINI_SAVE_THE_FUTURE = 3,
    MINI_COBRINHA = 4,
    MINI_GUESS_FLAG = 5,
    MINI_TACO = 6
};

struct MiniGames {
    std::unique_ptr<GuessNumber> guessNumber;
    std::unique_ptr<SalomaoGame> salomao;
    std::unique_ptr<Cobrinha> cobrinha;
    std::unique_ptr<GuessFlag> guessFlag;
    std::unique_ptr<Taco> taco;
};
