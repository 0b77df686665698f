// Paged text boxes: a LongText types its lines one character a frame, four lines to a page, and
// waits for confirm at the end of each page. A Monolog is a LongText spoken by a scene-file
// speaker; a MonologSequence plays Monologs one after another, stacked down the screen.
#pragma once

#include "foundation/main.hpp"

#include <SFML/Graphics/Color.hpp>

#include <cstddef>
#include <istream>
#include <string>
#include <vector>

namespace sf {
class RenderTarget;
class Texture;
} // namespace sf

class LongText {
public:
    // The box's top-left corner is at (x + 50, y + 50).
    Point position{0, 0};
    std::vector<std::string> lines;
    std::size_t currentLine = 0;
    std::size_t charsShown = 0;
    // true: the box reaches x = 1870; false: it fits the widest line.
    bool fullWidth = true;
    std::size_t pageStart = 0;
    std::size_t linesPerPage = 4;
    bool finished = false;
    // Waiting for confirm: the page is full or the last line has been typed.
    bool pageFull = false;
    // The music "ImportantDialog" replaces the scene music while the text runs.
    bool important = false;
    sf::Color color = sf::Color::Blue;
    // Played when the text starts ("JoinFanfare", "ShardFanfare"); empty for none.
    std::string sound;
    std::string speaker;
    // Shown in the portrait square; owned by the resource store.
    const sf::Texture* picture = nullptr;

    LongText() = default;
    LongText(Point position, std::vector<std::string> lines);

    virtual std::string getSpeaker() const;

    // Start again with one line. The position, width, page size and colour stay.
    void setText(const std::string& text, const sf::Texture* picture = nullptr);
    // The same, spoken by a roster character.
    void set(const std::string& text, int rosterIndex);

    // One frame; returns finished.
    bool update();
    // A finished box draws nothing unless always is set.
    void draw(sf::RenderTarget& window, bool always) const;
    void draw(sf::RenderTarget* window, bool always) const { draw(*window, always); }

    bool isActive() const { return !lines.empty() && !finished; }
    bool isFinished() const { return finished; }

    // Where the box's lines go, as drawn: the font and size they are written in, the x where each
    // starts, and where a full-width box ends (one that fits its widest line has no fixed end).
    static constexpr const char* LINE_FONT = "Nice";
    static constexpr unsigned LINE_SIZE = 35;
    float lineLeft() const { return float(position.x + 50 + 35); }
    float boxHeight() const { return float((linesPerPage + 1) * 35); }
    float rightEnd() const { return 1870.0f; }
    // The portrait square over the box's right end: its side and its left edge.
    float portraitSide() const { return 1.2f * boxHeight(); }
    float portraitLeft() const { return 1820.0f - portraitSide(); }
    // Whether the square is drawn: a picture, or a speaker in the roster or among the gems.
    bool drawsPortrait() const;
};

class Monolog : public LongText {
public:
    // "<MAIN>" stands for the main character.
    std::string speakerName;
    // A scene sequence started by the scene code.
    std::string sequence;

    Monolog() = default;

    std::string getSpeaker() const override;
    // The roster index of speakerName; 999999 when not in the roster ("<MAIN>" included).
    int speakerIndex() const;

    // Reads a "Monolog" block of a scene file: the head is the rest of the command's line,
    // the block the lines that follow. (Scene file reading lives with the scenes.)
    void read(std::istream& head, std::istream& block);
};

struct MonologSequence {
    std::vector<Monolog> monologs;
    // The first Monolog drawn; rises as the list scrolls up.
    int firstShown = 0;
    bool important = false;
    std::string sequence;
    // Added to BOOLVARS when the sequence ends; empty for none.
    std::string achievement;

    void update();
    void draw(sf::RenderTarget& window) const;
    void draw(sf::RenderTarget* window) const { draw(*window); }
    bool isActive() const;

    // Reads a "Dialog" block of a scene file. (Scene file reading lives with the scenes.)
    void read(std::istream& head, std::istream& block);

    static Monolog& at(std::vector<Monolog>& list, std::size_t i) { return list[i]; }
    static const Monolog& at(const std::vector<Monolog>& list, std::size_t i) { return list[i]; }
    static std::size_t count(const std::vector<Monolog>& list) { return list.size(); }
};

// Vertical distance between Monolog i and i + 1 of a dialog.
inline int monologSpacing(const LongText& box) { return int(box.linesPerPage + 5) * 35; }

// Replaces the first occurrence of token in text; no occurrence leaves the text as it is.
void replaceFirst(std::string& text, const std::string& token, const std::string& replacement);
