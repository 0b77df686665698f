#include "minigames/GuessFlag.hpp"

#include "foundation/Resources.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"
#include "minigames/MiniGameFrame.hpp"

#include <algorithm>
#include <cstdlib>

std::vector<std::string> GuessFlag::flagNames() {
    std::vector<std::string> names;
    if (resources)
        for (const auto& [name, texture] : resources->flags) names.push_back(name);
    // Five different names could never be drawn from fewer.
    if (names.size() < 5)
        fatalAssert("GuessFlag", 17,
                    "Resources//Flags holds " + std::to_string(names.size()) +
                        " flag pictures, 5 needed");
    return names;
}

void GuessFlag::askQuestion() {
    const std::vector<std::string> names = flagNames();
    const int count = static_cast<int>(names.size());
    while (options.size() < 5) {
        const std::string& name = names[std::rand() % count];
        if (std::find(options.begin(), options.end(), name) == options.end())
            options.push_back(name);
    }
    answer = std::rand() % 5;
}

void GuessFlag::reset() {
    state = TITLE;
    questionsAnswered = 0;
    rightAnswers = 0;
    rightNeeded = 10;
    questionLimit = 20;
    selected = 0;
    margin = 50;
    options.clear();
}

bool GuessFlag::update() {
    const InputFlags& in = game->input;
    switch (state) {
    case TITLE:
        if (in.confirm) state = QUESTION;
        break;
    case QUESTION: {
        if (options.empty()) askQuestion();
        if (in.downPressed) ++selected;
        if (in.upPressed) --selected;
        const int count = static_cast<int>(options.size());
        if (selected < 0) selected = count - 1;
        if (selected >= count) selected = 0;
        if (in.confirm) {
            state = ANSWER;
            playMiniGameSound(selected == answer ? "SalomaoLibra" : "Denial");
        }
        break;
    }
    case ANSWER:
        if (in.rightPressed) {
            ++questionsAnswered;
            state = QUESTION;
            options.clear();
            if (selected == answer) ++rightAnswers;
            if (rightAnswers >= rightNeeded) {
                state = WON;
                recordMiniGameWin("WON_FLAG");
            }
            // Tested last: the twentieth question ends the game even when it was the winning one.
            if (questionsAnswered >= questionLimit) state = OVER;
        }
        break;
    case WON:
    case OVER:
        if (in.confirm) {
            reset();
            return false;
        }
        break;
    }
    return true;
}
