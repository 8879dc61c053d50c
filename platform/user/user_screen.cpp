// The screen and what shows it: the presenter the program runs on, chosen from the list
// the program links, the screen's metrics and device context, the window station's
// visibility, and the changed pixels of windows handed to the presenter.
#include <cstdio>
#include <cstdlib>

#include "../presenter.h"
#include "user.h"

namespace zp {
namespace {

// The presenters offered. Constant-initialised, so that a list offered before main
// finds it ready; the choice from it, and the screen, are settled once, for the process.
struct Offered {
    const PresenterChoice* choices = nullptr;
    int count = 0;
    int lists = 0;
};
Offered offered;

}  // namespace

bool offer_presenters(const PresenterChoice* choices, int count) {
    offered.choices = choices;
    offered.count = count;
    ++offered.lists;
    return true;
}

const Presenter* choose_presenter(const PresenterChoice* choices, int count, std::string* said) {
    std::string not_asked;  // why the quiet refusals refused, in case nothing runs
    bool problem = false;
    for (int i = 0; i < count; ++i) {
        const Presenter* p = choices[i].presenter;
        std::string why;
        switch (choices[i].available(&why)) {
            case Availability::AVAILABLE:
                if (problem) *said += std::string("zorve: presenter ") + p->name + " chosen\n";
                return p;
            case Availability::NOT_ASKED:
                not_asked += std::string(not_asked.empty() ? " (" : "; ") + p->name + ": " + why;
                break;
            case Availability::CANNOT_RUN:
                // The reason first: it is what the person looks for ("cannot open display").
                *said += why + " (presenter " + p->name + " refused)\n";
                problem = true;
                break;
        }
    }
    *said += "zorve: no presenter can run this program here" + not_asked + (not_asked.empty() ? "\n" : ")\n");
    return nullptr;
}

const Presenter& presenter() {
    static const Presenter& chosen = [&]() -> const Presenter& {
        std::string said;
        const Presenter* p = nullptr;
        if (offered.lists > 1)
            said = "zorve: this program links more than one list of presenters\n";
        else
            p = choose_presenter(offered.choices, offered.count, &said);
        std::fputs(said.c_str(), stderr);
        if (!p) std::exit(1);
        return *p;
    }();
    return chosen;
}

Surface& screen_surface() {
    static Surface* screen = [] {
        int w = 0, h = 0;
        presenter().screen_size(&w, &h);
        return new Surface(w, h);
    }();
    return *screen;
}

void flush_drawn_windows() {
    // GDI marks what it draws on a window's client surface; the presenter hears of it
    // here, once per batch of drawing, before the program next looks for input.
    for_each_window([](Window& w) {
        if ((w.style & WS_CHILD) || rect_empty(w.surface.damage)) return;
        const RECT changed = w.surface.take_damage();
        presenter().window_drawn(w.handle, changed);
    });
}

bool dc_pixels(HDC handle, Pixels* pixels) {
    const DC* dc = lookup_dc(handle);
    if (!dc || !dc->surface || !pixels) return false;
    const Surface& s = *dc->surface;
    *pixels = {s.pixels, s.width, s.height, s.stride};
    return true;
}

}  // namespace zp

using namespace zp;

extern "C" int WINAPI GetSystemMetrics(int index) {
    int w = 0, h = 0;
    presenter().screen_size(&w, &h);
    switch (index) {
        case SM_CXSCREEN: return w;
        case SM_CYSCREEN: return h;
        // Win32's icon sizes at the usual 96 dots per inch.
        case SM_CXICON: case SM_CYICON: return 32;
        case SM_CXSMICON: case SM_CYSMICON: return 16;
        default: return 0;
    }
}

// One window station, the process's own. It has visible display surfaces when the
// presenter shows windows to a person; a run without a display is like a service's
// station, whose windows nobody sees.
extern "C" HWINSTA WINAPI GetProcessWindowStation() {
    static HWINSTA__ station;  // only its address is used
    return &station;
}

extern "C" BOOL WINAPI GetUserObjectInformationA(HANDLE object, int index, PVOID info, DWORD length,
                                                 LPDWORD needed) {
    if (object != GetProcessWindowStation() || index != UOI_FLAGS) return FALSE;
    if (needed) *needed = sizeof(USEROBJECTFLAGS);
    if (!info || length < sizeof(USEROBJECTFLAGS)) return FALSE;
    USEROBJECTFLAGS* flags = static_cast<USEROBJECTFLAGS*>(info);
    *flags = {};
    flags->dwFlags = presenter().visible ? WSF_VISIBLE : 0;
    return TRUE;
}
