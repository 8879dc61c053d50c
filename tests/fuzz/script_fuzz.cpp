// Arbitrary bytes as the script file, read back through playback until it ends, with
// a dialog asking for the next answer line every other event, into waits that take the
// extra input every third event.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/test_hooks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen("ZORVE.SCR", "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    playback_start();
    // Each read takes a line or one event of a periodic run; the runs are bounded.
    for (int reads = 0; reads < 4096; ++reads) {
        if (reads % 2 == 1) {
            char answer[GETS_ANSWER_SIZE];
            if (script_take_answer(answer) && strnlen(answer, sizeof answer) == sizeof answer) std::abort();
        }
        if (!zorve_test::read_script_event(reads % 3 == 0, 64)) break;
    }
    playback_stop();
    return 0;
}
