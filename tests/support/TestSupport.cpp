#include "support/TestSupport.hpp"

#include "game/Globals.hpp"

#include <dlfcn.h>

#include <cstdlib>

#include <filesystem>
#include <map>
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

namespace {

std::filesystem::path scratchRoot() {
    const char* own = std::getenv("QUORVANE_SCRATCH");
    if (own != nullptr && *own != '\0') return own;
    return std::filesystem::path(QUORVANE_BINARY_DIR) / "scratch";
}

std::string currentTestName() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test == nullptr ? std::string() : std::string(test->test_suite_name()) + "." + test->name();
}

} // namespace

std::string scratchDir(const std::string& name) {
    // Run one test a process, as ctest runs them, two tests that ask for one name empty the
    // folder under each other; in one process they only take turns, so it is caught here.
    static std::map<std::string, std::string> askedBy;
    const std::string test = currentTestName();
    if (auto [at, first] = askedBy.emplace(name, test); !first && at->second != test)
        ADD_FAILURE() << "the scratch folder " << name << " is asked for by " << at->second << " and by " << test
                      << ": give each test a name of its own";
    std::filesystem::path dir = scratchRoot() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string demoFolder(const std::string& name) {
    const std::string folder = scratchDir(name);
    for (const auto& entry : std::filesystem::directory_iterator(runDir()))
        if (entry.path().filename() != "SaveGames")
            std::filesystem::create_symlink(entry.path(), std::filesystem::path(folder) / entry.path().filename());
    std::filesystem::create_directories(std::filesystem::path(folder) / "SaveGames");
    return folder;
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

// A process given a scratch root of its own also plays in a demo folder of its own there, so that
// the saves its tests make in the working folder meet no other process's.
struct OwnWorkingFolder : ::testing::EmptyTestEventListener {
    void OnTestProgramStart(const ::testing::UnitTest&) override {
        const char* own = std::getenv("QUORVANE_SCRATCH");
        if (own != nullptr && *own != '\0') std::filesystem::current_path(demoFolder("run"));
    }
};

[[maybe_unused]] const bool listening = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new OwnWorkingFolder);
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
