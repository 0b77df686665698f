#include "support/TestSupport.hpp"

#include "game/Globals.hpp"

#include <dlfcn.h>

#include <cstdlib>

#include <filesystem>
#include <utility>
#include <vector>

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

int randomDrawsMadeBy(const std::function<void()>& fn, unsigned seed) {
    std::srand(seed);
    fn();
    const int next = std::rand();
    std::srand(seed);
    for (int n = 0; n < 100; ++n)
        if (std::rand() == next) return n;
    return -1;
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

namespace {

std::vector<std::function<void()>>& pendingReleases() {
    static std::vector<std::function<void()>> releases;
    return releases;
}

void releaseAll() {
    // Newest first: what was made later may lean on what was made before it.
    std::vector<std::function<void()>> releases = std::move(pendingReleases());
    pendingReleases().clear();
    for (auto it = releases.rbegin(); it != releases.rend(); ++it) (*it)();
    resources = nullptr;
    game = nullptr;
    people = nullptr;
    magicRepository = nullptr;
    itemList = nullptr;
    potionRepository = nullptr;
}

// A suite that leaves a sound or a music alive keeps the audio device open: in one process the
// next suites then run short of audio sources, and at exit the device is left unclosed.
struct ReleaseAtSuiteEnd : ::testing::EmptyTestEventListener {
    void OnTestSuiteEnd(const ::testing::TestSuite& suite) override {
        releaseAll();
        if (audioDeviceOpen())
            ADD_FAILURE() << "the suite " << suite.name()
                          << " left a sound, sound buffer or music alive";
    }
    void OnTestProgramEnd(const ::testing::UnitTest&) override { releaseAll(); }
};

// Each test starts from the random numbers a new process starts with, whether it runs alone or
// after others in one process, where an earlier one may have left them seeded from the clock (a
// generated planet does).
struct FreshRandomNumbers : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { std::srand(1); }
};

[[maybe_unused]] const bool listening = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ReleaseAtSuiteEnd);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshRandomNumbers);
    return true;
}();

} // namespace

void releaseAtSuiteEnd(std::function<void()> release) {
    pendingReleases().push_back(std::move(release));
}

bool audioDeviceOpen() {
    // The audio library comes with the game's; its header is not needed for this one call.
    using GetContext = void* (*)();
    static const auto current =
        reinterpret_cast<GetContext>(dlsym(RTLD_DEFAULT, "alcGetCurrentContext"));
    return current != nullptr && current() != nullptr;
}
