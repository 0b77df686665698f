// The benchmarks' demo worlds, one alive at a time: each world holds an audio source for every
// sound and music it loads, and the audio library has room for two worlds' at most. Asking for a
// world of another kind frees the one held first; a whole run takes the benchmarks file by file,
// so each world still loads once. The last one is freed at exit, so that its sounds close the
// audio device.
#pragma once

#include "support/DemoWorld.hpp"

#include <filesystem>
#include <memory>

struct HeldBenchWorld {
    const void* kind = nullptr;
    std::shared_ptr<void> world;
};

inline HeldBenchWorld& heldBenchWorld() {
    static HeldBenchWorld held;
    return held;
}

template <class W>
inline const char benchWorldKind = 0;

// The world `make` loads (in the run folder), bound; made afresh only when another kind was held.
template <class W, class Make>
W& benchWorld(const Make& make) {
    HeldBenchWorld& held = heldBenchWorld();
    if (held.kind != &benchWorldKind<W>) {
        held = {};
        std::filesystem::current_path(QUORVANE_RUN_DIR);
        held.world = std::shared_ptr<W>(make());
        held.kind = &benchWorldKind<W>;
    }
    W& w = *static_cast<W*>(held.world.get());
    w.bind();
    return w;
}
