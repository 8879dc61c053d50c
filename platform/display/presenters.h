// The presenters display/ holds, and when each can run: what the lists of presenters
// (presenters_*.cpp), one of which each program links, are made of.
#ifndef ZORVE_PLATFORM_DISPLAY_PRESENTERS_H
#define ZORVE_PLATFORM_DISPLAY_PRESENTERS_H

#include <string>

#include "../presenter.h"

namespace zp {

extern const Presenter headless_presenter;
extern const Presenter fltk_presenter;
extern const Presenter web_presenter;

// The headless presenter when the environment asks for a run without a display:
// ZORVE_HEADLESS is 1, yes, true or on (in any case); 0, no, false, off or nothing do
// not ask, and any other value is refused as a mistake. The one reader of ZORVE_HEADLESS.
Availability headless_when_asked(std::string* why);
// The desktop presenter when it can open the display.
Availability fltk_when_display_opens(std::string* why);

}  // namespace zp

#endif
