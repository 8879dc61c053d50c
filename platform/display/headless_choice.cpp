// A program linked with the headless presenter alone runs on it.
#include "../presenter.h"

namespace zp {

extern const Presenter headless_presenter;

const Presenter& choose_presenter() { return headless_presenter; }

}  // namespace zp
