// The presenters of a program built to run without a display: the headless one, always.
#include "presenters.h"

namespace zp {
namespace {

const PresenterChoice PRESENTERS[] = {
    {&headless_presenter, [](std::string*) { return Availability::AVAILABLE; }},
};
[[maybe_unused]] const bool offered = offer_presenters(PRESENTERS, 1);

}  // namespace
}  // namespace zp
