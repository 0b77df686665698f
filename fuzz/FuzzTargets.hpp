// Every text reader of the game, each fed one text as the game would read a file of its kind,
// for the fuzz harnesses and for the replay of the inputs they ever found.
//
// A reader's answer to bad data is the fatal assertion. Here it throws ReadFailure (see
// FailedReadThrows in foundation/main.hpp), so that the run comes back and the next input is
// tried; a crash, a hang, a leak or a sanitizer report is a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct FuzzTarget {
    const char* name; // also the corpus folder name
    void (*read)(const std::string& text);
};

// The fatal assertion's text when the target stops on the text, "" when it reads whole.
std::string fuzzTargetFailure(const FuzzTarget& target, const std::string& text);

const std::vector<FuzzTarget>& fuzzTargets();
const FuzzTarget* findFuzzTarget(const std::string& name);

// Prepares the world once (roster, items, spells and potions from the demo's data folder), makes
// it the game's for the read, then reads the text with the target; true when the text read whole.
// The globals and the working folder are the caller's again afterwards.
bool runFuzzTarget(const FuzzTarget& target, const std::string& text);
