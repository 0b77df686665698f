// Shared test helpers: catching the fatal assertion, and reaching the built demo folder.
#pragma once

#include "foundation/main.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

// Thrown by the test fatal handler in place of pausing and exiting.
struct FatalStop : std::runtime_error {
    explicit FatalStop(const std::string& m) : std::runtime_error(m) {}
};

// While alive, the fatal assertion throws FatalStop and the pause does not wait.
class CatchFatal {
public:
    CatchFatal();
    ~CatchFatal();
    CatchFatal(const CatchFatal&) = delete;
    CatchFatal& operator=(const CatchFatal&) = delete;

private:
    FatalHandler old_;
    std::function<void()> oldWait_;
};

// Puts the six global object pointers back as they were when it was made. A fixture declares it
// after its own members, so that the pointers are back before those members go.
class GlobalsGuard {
public:
    GlobalsGuard();
    ~GlobalsGuard();
    GlobalsGuard(const GlobalsGuard&) = delete;
    GlobalsGuard& operator=(const GlobalsGuard&) = delete;

private:
    void* saved_[6];
};

// How many draws of the game's one random sequence fn makes, found by replaying the sequence
// from the seed; -1 for more than a hundred.
int randomDrawsMadeBy(const std::function<void()>& fn, unsigned seed = 77);

// Runs fn and returns the fatal assertion's message, or "" when it did not stop.
std::string fatalMessage(const std::function<void()>& fn);

#define EXPECT_FATAL(statement, message) EXPECT_EQ(fatalMessage([&] { statement; }), message)

// The built demo folder (Game.txt, Game/, Resources/, SaveGames/) and the source tree.
std::string runDir();
std::string sourceDir();
std::string binaryDir();

// A fresh scratch folder, emptied on creation: build/scratch/<name>, or <name> under the folder
// QUORVANE_SCRATCH names (a run of the tests beside the others gets a root of its own there, and
// then also works in a demo folder of its own, "run", so that nothing it writes meets theirs).
// Tests run side by side in processes of their own: each test asks for names of its own, and
// a name that two tests of one process ask for fails the second.
std::string scratchDir(const std::string& name);

// A scratch folder that holds the built demo through links and a "SaveGames" of its own.
std::string demoFolder(const std::string& name);

// Runs `release` when the test suite running now ends (or, called outside a suite, when the next
// one ends). Then the six global object pointers are cleared: every suite starts as it would in a
// process of its own, and one that leans on what an earlier suite left fails at once.
void releaseAtSuiteEnd(std::function<void()> release);

// Something costly that the tests of one suite share (a loaded demo, a resource store): made on
// first use and freed when the suite ends. A run of the whole binary in one process then holds
// one suite's textures, sounds and streams at a time, where the audio library has sources for
// only a few stores.
template <class T>
class PerSuite {
public:
    explicit PerSuite(std::function<std::unique_ptr<T>()> make) : make_(std::move(make)) {}
    PerSuite(const PerSuite&) = delete;
    PerSuite& operator=(const PerSuite&) = delete;

    T& operator*() {
        if (!held_) {
            held_ = make_();
            releaseAtSuiteEnd([this] { held_.reset(); });
        }
        return *held_;
    }
    T* operator->() { return &**this; }

private:
    std::function<std::unique_ptr<T>()> make_;
    std::unique_ptr<T> held_;
};

// Whether the audio library's device is open: it opens with the first sound, sound buffer or
// music made and closes when the last of them is gone.
bool audioDeviceOpen();
