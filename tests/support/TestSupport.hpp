// Shared test helpers: catching the fatal assertion, and reaching the built demo folder.
#pragma once

#include "foundation/main.hpp"

#include <gtest/gtest.h>

#include <functional>
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

// Puts the six global object pointers back as they were when it was made.
class GlobalsGuard {
public:
    GlobalsGuard();
    ~GlobalsGuard();
    GlobalsGuard(const GlobalsGuard&) = delete;
    GlobalsGuard& operator=(const GlobalsGuard&) = delete;

private:
    void* saved_[6];
};

// Runs fn and returns the fatal assertion's message, or "" when it did not stop.
std::string fatalMessage(const std::function<void()>& fn);

#define EXPECT_FATAL(statement, message) EXPECT_EQ(fatalMessage([&] { statement; }), message)

// The built demo folder (Game.txt, Game/, Resources/, SaveGames/) and the source tree.
std::string runDir();
std::string sourceDir();
std::string binaryDir();

// A fresh scratch folder under the build folder, emptied on creation.
std::string scratchDir(const std::string& name);
