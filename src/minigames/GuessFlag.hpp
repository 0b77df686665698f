// The flag quiz: a flag and five names, ten right answers of twenty win.
#pragma once

#include <string>
#include <vector>

namespace sf {
class RenderTarget;
}

class GuessFlag {
public:
    // 0 title, 1 question, 2 answer shown, 3 won, 4 over.
    enum { TITLE = 0, QUESTION = 1, ANSWER = 2, WON = 3, OVER = 4 };

    int state = TITLE;
    int questionsAnswered = 0;
    int rightAnswers = 0;
    int rightNeeded = 10;
    int questionLimit = 20;
    int selected = 0;
    std::vector<std::string> options;
    int answer = 0;
    int margin = 50;

    bool update();
    void draw(sf::RenderTarget& window) const;

    // The flag names, in key order, of the store's Flags folder; fewer than five cannot make a
    // question and are fatal naming the folder.
    static std::vector<std::string> flagNames();

private:
    void askQuestion();
    void reset();
};
