// The graphics window, its "&Run" menu and shortcuts, start and stop, and the
// application's animation and logging controls.
#include "runtime.h"

HWND graphics_window = nullptr;
HWND console_window = nullptr;
HINSTANCE module_instance = nullptr;
HMENU run_menu = nullptr;
int run_flag = 0;
int step_flag = 0;
int tick_flag = 0;
int quit_flag = 0;
int ctrl_down = 0;

namespace {

constexpr int GRAPHICS_WIDTH = 601;
constexpr int GRAPHICS_HEIGHT = 540;

void build_menu(HWND window) {
    HMENU bar = CreateMenu();
    run_menu = CreatePopupMenu();
    AppendMenuA(run_menu, MF_STRING, MENU_ANIMATE, "&Animate\tCtrl+A");
    AppendMenuA(run_menu, MF_STRING, MENU_HALT, "&Halt animation\tCtrl+H");
    AppendMenuA(run_menu, MF_STRING, MENU_ADVANCE_FRAME, "Advance one &frame\tCtrl+F");
    AppendMenuA(run_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run_menu, MF_STRING | MF_CHECKED, MENU_LOGGING, "&Logging\tCtrl+L");
    AppendMenuA(run_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run_menu, MF_STRING, MENU_RECORD_SCRIPT, "&Record Script\tCtrl+R");
    AppendMenuA(run_menu, MF_STRING, MENU_PLAYBACK_SCRIPT, "&Playback Script\tCtrl+P");
    AppendMenuA(run_menu, MF_STRING, MENU_PLAY_ONE, "Play &One Script\tCtrl+O");
    AppendMenuA(run_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run_menu, MF_STRING, MENU_QUIT, "&Quit\tCtrl+Q");
    AppendMenuA(run_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(run_menu, MF_STRING | MF_GRAYED, MENU_INFO, "ZORVE v2.2 July 1997");
    AppendMenuA(run_menu, MF_STRING | MF_GRAYED, MENU_INFO, "Maintained by the ZORVE runtime team");
    AppendMenuA(run_menu, MF_STRING | MF_GRAYED, MENU_INFO, "Questions: zorve-help@cordelune.example");
    AppendMenuA(run_menu, MF_STRING | MF_GRAYED, MENU_INFO, "Bug reports: attach ZORVE.SCR if you can");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(run_menu), "&Run");
    SetMenu(window, bar);
    DrawMenuBar(window);
}

// The action of a menu command; shortcuts and menu picks share it.
void run_command(int id) {
    switch (id) {
        case MENU_ANIMATE:
            run_flag = 1;
            break;
        case MENU_HALT:
            run_flag = 0;
            break;
        case MENU_ADVANCE_FRAME:
            run_flag = 0;
            step_flag = 1;
            break;
        case MENU_LOGGING:
            logging_flag = !logging_flag;
            CheckMenuItem(run_menu, MENU_LOGGING,
                          MF_BYCOMMAND | (logging_flag ? MF_CHECKED : MF_UNCHECKED));
            break;
        case MENU_RECORD_SCRIPT:
            if (recording_flag)
                recording_stop();
            else
                recording_start();
            break;
        case MENU_PLAYBACK_SCRIPT:
            if (playing_flag)
                playback_stop();
            else
                playback_start();
            break;
        case MENU_PLAY_ONE:
            play_one_start();
            break;
        case MENU_QUIT:
            PostQuitMessage(0);
            break;
        default:
            break;  // the greyed lines and unknown ids do nothing
    }
}

// The command of a Ctrl shortcut: both the upper- and the lower-case code act.
int shortcut_command(WPARAM key) {
    switch (key) {
        case 'A': case 'a': return MENU_ANIMATE;
        case 'H': case 'h': return MENU_HALT;
        case 'F': case 'f': return MENU_ADVANCE_FRAME;
        case 'L': case 'l': return MENU_LOGGING;
        case 'R': case 'r': return MENU_RECORD_SCRIPT;
        case 'P': case 'p': return MENU_PLAYBACK_SCRIPT;
        case 'O': case 'o': return MENU_PLAY_ONE;
        case 'Q': case 'q': return MENU_QUIT;
        default: return 0;
    }
}

}  // namespace

LRESULT CALLBACK graphics_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            build_menu(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, ANIMATION_TIMER);
            PostQuitMessage(0);
            return 0;
        case WM_SIZE:
            canvas_size_changed(window);
            return 0;
        case WM_PAINT:
            canvas_paint(window);
            return 0;
        case WM_KEYDOWN:
            if (wparam == VK_CONTROL)
                ctrl_down = 1;
            else if (ctrl_down)
                run_command(shortcut_command(wparam));
            return 0;
        case WM_KEYUP:
            if (wparam == VK_CONTROL) ctrl_down = 0;
            return 0;
        case WM_CHAR:
            if (!ctrl_down) {
                pending_kind = ZORVE_KBD;
                pending_key = static_cast<char>(wparam & 0xFF);
            }
            return 0;
        case WM_COMMAND:
            run_command(LOWORD(wparam));
            return 0;
        case WM_TIMER:
            tick_flag = 1;
            return 0;
        case WM_LBUTTONDOWN:
            pending_x = static_cast<int>(LOWORD(lparam)) - origin_x;
            pending_y = origin_y - static_cast<int>(HIWORD(lparam));
            pending_kind = ZORVE_MOUSE;
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

extern "C" {

int ZORVE_start(void* instance, void* previous_instance, char*, int show_state) {
    HINSTANCE hinstance = static_cast<HINSTANCE>(instance);
    if (!previous_instance) {
        WNDCLASSA description = {};
        description.style = CS_HREDRAW | CS_VREDRAW;
        description.lpfnWndProc = graphics_window_proc;
        description.hInstance = hinstance;
        description.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
        description.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        description.hbrBackground = CreateSolidBrush(palette[ZORVE_WHITE]);
        description.lpszMenuName = "generic";
        description.lpszClassName = "DrawWndClass";
        RegisterClassA(&description);
        description.lpfnWndProc = console_window_proc;
        description.lpszClassName = "TextWndClass";
        RegisterClassA(&description);
    }
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    run_flag = 0;
    step_flag = 0;
    graphics_window = CreateWindowExA(0, "DrawWndClass", "ZORVE Graphics", WS_CAPTION | WS_SYSMENU,
                                      0, 0, GRAPHICS_WIDTH, GRAPHICS_HEIGHT, nullptr, nullptr,
                                      hinstance, nullptr);
    console_window = CreateWindowExA(0, "TextWndClass", "ZORVE Text", WS_OVERLAPPEDWINDOW, 0,
                                     2 * screen_height / 3 + 1, screen_width, screen_height / 3,
                                     nullptr, nullptr, hinstance, nullptr);
    module_instance = hinstance;
    canvas_create(graphics_window);
    ShowWindow(console_window, show_state);
    ShowWindow(graphics_window, show_state);
    SetTimer(graphics_window, ANIMATION_TIMER, ANIMATION_PERIOD_MS, nullptr);
    return 1;
}

int ZORVE_stop(void) {
    ReleaseDC(graphics_window, window_dc);
    script_close();
    return 1;
}

int ZORVE_set_animation(int action) {
    if (!graphics_window) return 0;
    switch (static_cast<unsigned>(action)) {
        case ANIMATE_HALT:
            step_flag = 0;
            run_flag = 0;
            break;
        case ANIMATE_STEP:
            step_flag = 1;
            break;
        case ANIMATE_RUN:
            run_flag = 1;
            break;
        case ANIMATE_QUIT:
            quit_flag = 1;
            break;
        default:
            break;
    }
    return 1;
}

int ZORVE_set_logging(int on) {
    if (!graphics_window) return 0;
    logging_flag = on != 0;
    CheckMenuItem(run_menu, MENU_LOGGING, MF_BYCOMMAND | (logging_flag ? MF_CHECKED : MF_UNCHECKED));
    if (logging_flag) console_show(1);
    return 1;
}

}  // extern "C"
