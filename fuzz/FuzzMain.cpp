// One libFuzzer harness; the build names its reader with QUORVANE_FUZZ_TARGET.
#include "FuzzTargets.hpp"

#include <cstdlib>
#include <iostream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzTarget* target = findFuzzTarget(QUORVANE_FUZZ_TARGET);
    if (target == nullptr) {
        std::cerr << "no reader " << QUORVANE_FUZZ_TARGET << std::endl;
        std::abort();
    }
    runFuzzTarget(*target, std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}

// The readers' console lines only slow the runs; the fatal assertion's text is not needed here.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::cout.setstate(std::ios::failbit);
    return 0;
}
