// The presenters of a program in a web page: its frames in the page, always.
#include "presenters.h"

namespace zp {
namespace {

const PresenterChoice PRESENTERS[] = {
    {&web_presenter, [](std::string*) { return Availability::AVAILABLE; }},
};
[[maybe_unused]] const bool offered = offer_presenters(PRESENTERS, 1);

}  // namespace
}  // namespace zp
