// Arbitrary bytes as the script file, read back through playback until it ends.
#include <cstdint>
#include <cstdio>

#include "runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen("ZORVE.SCR", "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    runtime.play_periodic_count = 0;
    playback_start();
    // Each read takes a line or one event of a periodic run; bound the runs.
    for (int reads = 0; reads < 4096 && script_read_event(); ++reads)
        if (runtime.play_periodic_count > 64) runtime.play_periodic_count = 64;
    playback_stop();
    return 0;
}
