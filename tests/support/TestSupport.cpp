#include "support/TestSupport.hpp"

#include "game/Globals.hpp"

#include <filesystem>

CatchFatal::CatchFatal() {
    old_ = setFatalHandler([](const std::string& m) { throw FatalStop(m); });
    oldWait_ = setPauseWait([] {});
}

CatchFatal::~CatchFatal() {
    setFatalHandler(old_);
    setPauseWait(oldWait_);
}

std::string fatalMessage(const std::function<void()>& fn) {
    CatchFatal guard;
    try {
        fn();
    } catch (const FatalStop& stop) {
        return stop.what();
    }
    return "";
}

std::string runDir() { return QUORVANE_RUN_DIR; }
std::string sourceDir() { return QUORVANE_SOURCE_DIR; }
std::string binaryDir() { return QUORVANE_BINARY_DIR; }

std::string scratchDir(const std::string& name) {
    std::filesystem::path dir = std::filesystem::path(QUORVANE_BINARY_DIR) / "scratch" / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

GlobalsGuard::GlobalsGuard()
    : saved_{resources, game, people, magicRepository, itemList, potionRepository} {}

GlobalsGuard::~GlobalsGuard() {
    resources = static_cast<Resources*>(saved_[0]);
    game = static_cast<Game*>(saved_[1]);
    people = static_cast<People*>(saved_[2]);
    magicRepository = static_cast<MagicRepository*>(saved_[3]);
    itemList = static_cast<ItemList*>(saved_[4]);
    potionRepository = static_cast<PotionRepository*>(saved_[5]);
}
