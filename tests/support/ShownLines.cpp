#include "support/ShownLines.hpp"

#include "characters/People.hpp"
#include "foundation/TextReader.hpp"
#include "game/Globals.hpp"
#include "scenes/Scene.hpp"
#include "scenes/SceneCredits.hpp"

#include <fstream>
#include <sstream>

namespace {

struct Gatherer {
    const Scene& scene;
    std::string file;
    std::vector<std::string> fileLines;
    std::vector<ShownLine> out;

    Gatherer(const Scene& s, const std::string& path) : scene(s), file(path) {
        std::ifstream in(path);
        for (std::string line; std::getline(in, line);) fileLines.push_back(line);
    }

    // The first line of the file, comments aside, that holds the words.
    std::string whereIs(const std::string& words) const {
        for (std::size_t i = 0; i < fileLines.size(); ++i)
            if (fileLines[i].rfind("#", 0) != 0 && fileLines[i].find(words) != std::string::npos)
                return file + ":" + std::to_string(i + 1);
        return file;
    }

    void add(const std::string& words, const LongText& box, bool picture = false) {
        ShownLine l;
        l.where = whereIs(words);
        l.words = words;
        replaceFirst(l.words, "<MAIN>", people->mainCharacter().name);
        l.box = box;
        l.box.setText(l.words, nullptr);
        l.box.speaker = box.getSpeaker();
        l.portrait = picture || box.drawsPortrait();
        out.push_back(l);
    }

    void addMessage(const std::string& text, int speaker = NO_INDEX) {
        LongText box = scene.message;
        if (speaker != NO_INDEX) box.set(text, speaker);
        else box.setText(text, nullptr);
        add(text, box);
    }

    void addMonolog(const Monolog& m) {
        for (const std::string& line : m.lines) add(line, m);
    }

    // A script as the scene runs it, statement by statement: the statements that open a block
    // read their lines on with the game's own readers.
    void addScript(const std::vector<std::string>& lines) {
        Scene::forEachStatement(lines, [this](const std::string& word, std::istream& args, std::istream& script) {
            if (word == "PlayMessage") {
                // As the scene reads it: a first word that names a person speaks the rest.
                WordReader r(args, "Scene", 73);
                const std::string first = r.word(word);
                const std::string said = r.rest();
                const int i = people->indexOf(first);
                if (i != NO_INDEX) addMessage(said, i);
                else addMessage(said.empty() ? first : first + " " + said);
            } else if (word == "Say") {
                WordReader r(args, "Scene", 73);
                addMessage(r.rest(), people->mainCharacterIndex);
            } else if (word == "ZoomAndTalk") {
                ZoomAndTalk z;
                z.read(args);
                if (z.person != NO_INDEX) addMessage(z.text, z.person);
            } else if (word == "Monolog") {
                Monolog m;
                m.read(args, script);
                addMonolog(m);
            } else if (word == "Dialog") {
                WordReader r(args, "Scene", 73);
                r.word(word);
                MonologSequence d;
                d.read(args, script);
                for (const Monolog& m : d.monologs) addMonolog(m);
            } else if (word == "Credits") {
                SceneCredits c;
                c.read(args, script);
            }
        });
    }
};

} // namespace

std::vector<ShownLine> linesShownBy(const Scene& scene, const std::string& file) {
    Gatherer g(scene, file);
    if (!scene.titleText.empty()) {
        LongText box = scene.message;
        box.setText(scene.titleText, nullptr);
        g.add(scene.titleText, box, !scene.titlePicture.empty());
    }
    for (const auto& [tile, text] : scene.positionMessages) g.addMessage(text);
    for (const ZoomAndTalk& z : scene.zoomAndTalk)
        if (z.person != NO_INDEX) g.addMessage(z.text, z.person);
    for (const auto& [who, m] : scene.monologs) g.addMonolog(m);
    for (const auto& [who, d] : scene.dialogs)
        for (const Monolog& m : d.monologs) g.addMonolog(m);
    for (const SceneCondition& c : scene.conditions) g.addScript(c.body);
    for (const auto& [tile, body] : scene.triggers) g.addScript(body);
    for (const auto& [name, body] : scene.sequences) g.addScript(body);
    return g.out;
}

ShownLine adviceShownIn(const Scene& scene, const std::string& advice, const std::string& where) {
    ShownLine l;
    l.where = where;
    l.words = advice;
    l.box = scene.message;
    l.box.setText(advice, nullptr);
    l.portrait = l.box.drawsPortrait();
    return l;
}
