// The contract between the platform and a presenter, in both directions.
//
// A presenter shows top-level windows to a person (or to a test) and turns the
// person's input into window messages. The platform tells it what changed through
// the Presenter table; the presenter reads windows, menus and dialog controls and
// delivers input through the functions below the table. It sees nothing else of the
// platform, and the platform names no presenter: a program's list of presenters
// offers itself (offer_presenters) and the platform takes the first that can run.
// The headless presenter (display/headless*) is the reference implementation; the
// desktop presenter (display/fltk*) shows real windows, the web presenter
// (display/web*) frames in a browser page.
#ifndef ZORVE_PLATFORM_PRESENTER_H
#define ZORVE_PLATFORM_PRESENTER_H

#include <cstdint>
#include <string>
#include <vector>

#include "rect.h"
#include "win32.h"

namespace zp {

// Height of a top-level window's menu bar, as the platform's non-client metrics count
// it (Wine's default): the client area starts this far below the menu bar's top.
constexpr int MENU_BAR_HEIGHT = 19;

// Pixels as a presenter receives them: 0x00RRGGBB words, rows from the top, `stride`
// words apart. Valid until the platform next runs.
struct Pixels {
    const uint32_t* data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// ---- What the platform calls on a presenter -------------------------------------------

struct Presenter {
    const char* name;
    // Whether a person sees the windows (false: a run without a display, which the
    // program learns from its window station).
    bool visible;
    // Size of the screen in pixels, as GetSystemMetrics reports it.
    void (*screen_size)(int* width, int* height);
    // A top-level window was created, or its visibility, position, size, title, menu
    // (items, check marks, greying) or its controls' texts changed.
    void (*window_changed)(HWND window);
    // A top-level window is about to be destroyed; it can still be read during the call.
    void (*window_destroyed)(HWND window);
    // Pixels of a top-level window's client area changed, inside `changed`.
    void (*window_drawn)(HWND window, const RECT& changed);
    // Delivers pending input without blocking.
    void (*poll)();
    // Blocks until input may have arrived or the timeout (milliseconds; < 0: none) ends.
    void (*wait)(int64_t timeout_ms);
    // Monotonic milliseconds, for timers.
    int64_t (*now_ms)();
};

// ---- Which presenter a program runs on ---------------------------------------------------

// Whether a presenter can run this program here and now; when not, `why` says why.
enum class Availability {
    AVAILABLE,
    NOT_ASKED,   // it could, but this run does not ask for it: told only if nothing runs
    CANNOT_RUN,  // something the person should hear of (no display to open)
};

struct PresenterChoice {
    const Presenter* presenter;
    Availability (*available)(std::string* why);
};

// Hands the platform the presenters a program links, in the order they are tried. Each
// program links one list (display/presenters_*.cpp), which offers itself before main;
// the platform chooses once, when it first needs a presenter.
bool offer_presenters(const PresenterChoice* choices, int count);

// The first available presenter of `choices`, or none. `said` gets the lines the person
// is told: each refusal that is a problem, then the presenter chosen after one, or why
// none can run.
const Presenter* choose_presenter(const PresenterChoice* choices, int count, std::string* said);

// ---- What a presenter may call ----------------------------------------------------------

// Mouse messages (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP,
// WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEMOVE) at client coordinates. The platform
// keeps which buttons are held for the messages' wParam, and keeps one mouse move
// queued at most, the latest, as Win32 does.
void input_mouse(HWND window, UINT message, int client_x, int client_y);
// The window that holds the mouse capture (SetCapture), or none: while it holds it, it
// gets the mouse messages of a drag that leaves it, at coordinates outside its client
// area.
HWND mouse_capture();
// WM_KEYDOWN / WM_KEYUP with a Win32 virtual-key code. For key-down, `character` is the
// character the key types as the presenter knows it (0: TranslateMessage derives it
// from the key code and the Ctrl and Shift state).
void input_key(HWND window, UINT message, int virtual_key, int character = 0);
// A menu item picked with the mouse: WM_COMMAND with the item's id.
void input_menu_command(HWND window, UINT id);
// The close box: WM_SYSCOMMAND(SC_CLOSE), which default processing turns into WM_CLOSE.
void input_close(HWND window);
// The person changed a control's text (typed into an edit field).
void input_set_text(HWND control, const char* text);
// A top-level window of the program gained or lost the keyboard focus.
void input_focus(HWND window, bool gained);

// Whether the program could take a message now (posted, input, quit, paint, due timer).
bool messages_available();
// Whether any timer is set, so that letting time pass can bring a message.
bool timers_running();

// An icon as a presenter receives it: 0xAARRGGBB words (straight alpha), rows from the
// top, `width` words apart; no data: no icon.
struct IconPixels {
    const uint32_t* data = nullptr;
    int width = 0;
    int height = 0;
};

struct WindowView {
    Pixels client;  // the client area's pixels
    std::string title;
    int x = 0, y = 0;  // outer position on the screen
    int outer_width = 0, outer_height = 0;
    int client_width = 0, client_height = 0;
    bool visible = false;
    bool dialog = false;  // a modal dialog: shown with its controls, not its pixels
    HMENU menu = nullptr;  // menu bar, or none
    // The icons the program gave the window (WM_SETICON), for task bars and window
    // switchers; none: the desktop's default.
    IconPixels icon_big, icon_small;
};
bool window_view(HWND window, WindowView* view);
std::vector<HWND> top_level_windows();

struct MenuItemView {
    UINT flags = 0;  // MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED
    UINT id = 0;
    std::string text;  // with '&' mnemonics and "\t" shortcut text, as appended
    HMENU popup = nullptr;
};
std::vector<MenuItemView> menu_items(HMENU menu);

// Child windows (dialog controls) of a window, in creation order.
struct ControlView {
    HWND handle = nullptr;
    std::string class_name;  // "Button", "Edit", "Static"
    std::string text;
    DWORD style = 0;
    int id = 0;
    int x = 0, y = 0, width = 0, height = 0;  // in the parent's client coordinates
};
std::vector<ControlView> window_controls(HWND parent);
// The control that has the keyboard focus, or none.
HWND focused_control();
// The cell height of the font dialogs are laid out in (the dialog base unit's height).
int dialog_font_height();

// The program's name, its executable's file name: desktops group its windows under it
// and find its launcher and icon by it. Empty when the system does not say.
std::string program_name();

// The pixels a device context draws on, for pictures of what a test or program drew.
bool dc_pixels(HDC dc, Pixels* pixels);

}  // namespace zp

#endif
