// The presenters of a desktop program: none shown when the environment asks for a run
// without a display, else real windows on the display.
#include "presenters.h"

namespace zp {
namespace {

const PresenterChoice PRESENTERS[] = {
    {&headless_presenter, headless_when_asked},
    {&fltk_presenter, fltk_when_display_opens},
};
[[maybe_unused]] const bool offered = offer_presenters(PRESENTERS, 2);

}  // namespace
}  // namespace zp
