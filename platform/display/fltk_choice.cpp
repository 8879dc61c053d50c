// A program linked with the desktop presenter shows real windows, unless the
// environment asks for a run without a display (ZORVE_HEADLESS=1).
#include <cstdlib>
#include <cstring>

#include "../presenter.h"

namespace zp {

extern const Presenter fltk_presenter;
extern const Presenter headless_presenter;

const Presenter& choose_presenter() {
    const char* headless = std::getenv("ZORVE_HEADLESS");
    if (headless && std::strcmp(headless, "1") == 0) return headless_presenter;
    return fltk_presenter;
}

}  // namespace zp
