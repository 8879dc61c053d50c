// The runtime's C header from C++: names keep C linkage, so the archive's symbols match.
#include <cstdio>
#include <string>

#include "zorve.h"

int main() {
    char none[] = "";
    ZORVE_start(nullptr, nullptr, none, 1);
    ZORVE_set_logging(0);
    const std::string greeting = "Be Mine";
    const int drawn = ZORVE_draw_text(ZORVE_PINK, -50, 0, 24, greeting.c_str()) +
                      ZORVE_draw_oval_pt(ZORVE_RED, DrawPoint{-60, 20}, DrawPoint{60, -20}, 2);
    ZORVE_stop();
    std::printf("drawn %d\n", drawn);
    return 0;
}
