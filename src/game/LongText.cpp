#include "game/LongText.hpp"

#include "characters/People.hpp"
#include "foundation/Resources.hpp"
#include "game/DialogSound.hpp"
#include "game/Game.hpp"
#include "game/Globals.hpp"

#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/Sound.hpp>

namespace {

const char* const IMPORTANT_MUSIC = "ImportantDialog";

void startImportantMusic() {
    sf::Music* music = findDialogMusic(IMPORTANT_MUSIC);
    if (music != nullptr && music->getStatus() != sf::Music::Playing) {
        game->pauseSceneMusic();
        music->play();
    }
}

void stopImportantMusic() {
    sf::Music* music = findDialogMusic(IMPORTANT_MUSIC);
    if (music == nullptr) return;
    music->stop();
    game->resumeSceneMusic();
}

} // namespace

void replaceFirst(std::string& text, const std::string& token, const std::string& replacement) {
    const std::size_t at = text.find(token);
    if (at == std::string::npos) return;
    text.replace(at, token.size(), replacement);
}

LongText::LongText(Point position_, std::vector<std::string> lines_)
    : position(position_), lines(std::move(lines_)) {}

std::string LongText::getSpeaker() const { return speaker; }

void LongText::setText(const std::string& text, const sf::Texture* picture_) {
    currentLine = 0;
    charsShown = 0;
    pageStart = 0;
    finished = false;
    important = false;
    // A box replaced while it waited at a page end must not keep waiting on an empty page.
    pageFull = false;
    sound.clear();
    speaker.clear();
    lines = {text};
    picture = picture_;
}

void LongText::set(const std::string& text, int rosterIndex) {
    setText(text, nullptr);
    speaker = people->at(rosterIndex).name;
}

bool LongText::update() {
    if (finished) return true;
    if (important) startImportantMusic();
    if (!sound.empty() && currentLine == 0 && charsShown == 0) {
        sf::Sound* s = findDialogSound(sound);
        if (s != nullptr && s->getStatus() == sf::Sound::Stopped) {
            game->pauseSceneMusic();
            s->play();
        }
    }

    const bool confirm = game->input.confirm;
    if (pageFull) {
        if (confirm) {
            pageFull = false;
            if (currentLine < lines.size())
                pageStart = currentLine;
            else
                finished = true;
        }
    } else if (currentLine < lines.size()) {
        std::string& line = lines[currentLine];
        if (charsShown == 0) replaceFirst(line, "<MAIN>", people->mainCharacter().name);
        if (confirm)
            charsShown = line.size();
        else
            ++charsShown;
        if (charsShown >= line.size()) {
            charsShown = 0;
            ++currentLine;
            if (currentLine >= lines.size() || currentLine >= pageStart + linesPerPage)
                pageFull = true;
        }
    }

    if (important && finished) stopImportantMusic();
    if (!sound.empty()) {
        sf::Sound* s = findDialogSound(sound);
        if (s != nullptr && (s->getStatus() == sf::Sound::Stopped || finished)) {
            if (s->getStatus() == sf::Sound::Playing) s->stop();
            game->resumeSceneMusic();
        }
    }
    return finished;
}

std::string Monolog::getSpeaker() const {
    if (speakerName == "<MAIN>") return people->mainCharacter().name;
    return speakerName;
}

bool LongText::drawsPortrait() const {
    if (picture != nullptr) return true;
    const std::string who = getSpeaker();
    if (who.empty()) return false;
    return people->indexOf(who) != NO_INDEX || (resources != nullptr && resources->gems.count(who) != 0);
}

int Monolog::speakerIndex() const { return people->indexOf(speakerName); }

bool MonologSequence::isActive() const {
    return !monologs.empty() && !monologs.back().lines.empty() && !monologs.back().finished;
}

void MonologSequence::update() {
    if (!isActive()) return;
    if (important) startImportantMusic();

    for (Monolog& m : monologs) {
        // A Monolog with nothing to say would never finish and hold the whole dialog.
        if (!m.finished && m.lines.empty()) m.finished = true;
        if (!m.finished) {
            m.update();
            break;
        }
        const std::size_t next = std::size_t(firstShown) + 2;
        if (next < monologs.size() && monologs[next].finished) {
            ++firstShown;
            for (Monolog& moved : monologs) moved.position.y -= monologSpacing(moved);
        }
    }

    const Monolog& last = monologs.back();
    if (!last.finished) return;
    if (important) stopImportantMusic();
    if (!achievement.empty()) {
        if (!game->isBoolVarSet(achievement)) playDialogSound("Achievement");
        game->BOOLVARS.insert(achievement);
    }
}
