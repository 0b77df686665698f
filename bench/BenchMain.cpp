// The benchmarks' own main: the game's fatal stop would write its text to a console that most
// benchmarks silence and then wait for a key, so a benchmark that meets one would hang or end
// with nothing said. Here the text goes to standard error and the program exits at once with 1.
#include "foundation/main.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    setFatalHandler([](const std::string& message) {
        std::cerr << message << std::endl;
        std::exit(1);
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
