// Every line the demo shows in a text box, gathered without drawing: each with the box it goes
// into, set up as the game sets it up, and where it comes from. Measuring the lines needs the
// box's font, which needs a display; gathering them does not.
#pragma once

#include "game/LongText.hpp"

#include <string>
#include <vector>

class Scene;

struct ShownLine {
    // "Game/Town_scene.txt:37", or the story's stage for words the code makes.
    std::string where;
    // As the box shows them: "<MAIN>" stands for the main character's name.
    std::string words;
    LongText box;
    // A portrait square covers the box's right end.
    bool portrait = false;
};

// What the scene can show: its title, its position messages, the PlayMessage, Say and
// ZoomAndTalk lines and every line of its Monologs and dialogs, at the top of the file or in
// its If blocks, triggers and sequences. `file` is the scene file, read for the line numbers.
std::vector<ShownLine> linesShownBy(const Scene& scene, const std::string& file);

// Sabio's advice, shown in the scene's message box.
ShownLine adviceShownIn(const Scene& scene, const std::string& advice, const std::string& where);
