// The graphics window, its "&Run" menu and shortcuts, start and stop, and the
// application's animation and logging controls.
#include <cstdlib>

#include "runtime.h"

namespace {

void build_menu(HWND window) {
    HMENU bar = CreateMenu();
    runtime.run_menu = CreatePopupMenu();
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_ANIMATE, "&Animate\tCtrl+A");
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_HALT, "&Halt animation\tCtrl+H");
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_ADVANCE_FRAME, "Advance one &frame\tCtrl+F");
    AppendMenuA(runtime.run_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(runtime.run_menu, MF_STRING | MF_CHECKED, MENU_LOGGING, "&Logging\tCtrl+L");
    AppendMenuA(runtime.run_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_RECORD_SCRIPT, "&Record Script\tCtrl+R");
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_PLAYBACK_SCRIPT, "&Playback Script\tCtrl+P");
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_PLAY_ONE, "Play &One Script\tCtrl+O");
    AppendMenuA(runtime.run_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_QUIT, "&Quit\tCtrl+Q");
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_SAVE_PICTURE, "&Save Picture\tCtrl+S");
    AppendMenuA(runtime.run_menu, MF_STRING, MENU_SAVE_ANIMATION, "Save &Animation\tCtrl+G");
    AppendMenuA(runtime.run_menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(runtime.run_menu, MF_STRING | MF_GRAYED, MENU_INFO, "ZORVE v2.2 July 1997");
    AppendMenuA(runtime.run_menu, MF_STRING | MF_GRAYED, MENU_INFO, "Maintained by the ZORVE runtime team");
    AppendMenuA(runtime.run_menu, MF_STRING | MF_GRAYED, MENU_INFO, "Questions: zorve-help@cordelune.example");
    AppendMenuA(runtime.run_menu, MF_STRING | MF_GRAYED, MENU_INFO, "Bug reports: attach ZORVE.SCR if you can");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(runtime.run_menu), "&Run");
    SetMenu(window, bar);
    DrawMenuBar(window);
}

}  // namespace

void focus_leaving(HWND next) {
    // Keys released in another program's window never reach ours: Ctrl must not stay
    // held for the runtime, or the next plain letter would act as a shortcut.
    if (next != runtime.graphics_window && next != runtime.console_window) runtime.ctrl_down = 0;
}

void check_menu_item(UINT id, bool checked) {
    CheckMenuItem(runtime.run_menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

namespace {

// The action of a menu command; shortcuts and menu picks share it.
void run_command(int id) {
    switch (id) {
        case MENU_ANIMATE:
            runtime.run_flag = 1;
            break;
        case MENU_HALT:
            runtime.run_flag = 0;
            break;
        case MENU_ADVANCE_FRAME:
            runtime.run_flag = 0;
            runtime.step_flag = 1;
            break;
        case MENU_LOGGING:
            runtime.logging_flag = !runtime.logging_flag;
            check_menu_item(MENU_LOGGING, runtime.logging_flag);
            break;
        case MENU_RECORD_SCRIPT:
            if (runtime.recording_flag)
                recording_stop();
            else
                recording_start();
            break;
        case MENU_PLAYBACK_SCRIPT:
            if (runtime.playing_flag)
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
        case MENU_SAVE_PICTURE:
            save_picture_command();
            break;
        case MENU_SAVE_ANIMATION:
            save_animation_command();
            break;
        default:
            break;  // the greyed lines and unknown ids do nothing
    }
}

// The command of a Ctrl shortcut: both the upper- and the lower-case code act (the
// lower-case codes of p, q and r are also those of F1, F2 and F3, which so act too).
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
        // The letter only: the lower-case codes are also F4's and the keypad's 7.
        case 'S': return MENU_SAVE_PICTURE;
        case 'G': return MENU_SAVE_ANIMATION;
        default: return 0;
    }
}

// What this run is: one without a display when nobody sees the window station's
// windows (the platform's headless presenter, like a service's station on Windows).
// The script, picture and report it asks for are the run's (run_start).
void take_run_settings() {
    USEROBJECTFLAGS station = {};
    DWORD needed = 0;
    runtime.headless_run = GetUserObjectInformationA(GetProcessWindowStation(), UOI_FLAGS, &station,
                                                     sizeof station, &needed) &&
                           !(station.dwFlags & WSF_VISIBLE);
}

// The program's own icon, its icon resource 1 where it has one, on a top-level window for
// task bars and window switchers; the window class keeps the standard application icon.
void give_program_icon(HINSTANCE instance, HWND window) {
    HMODULE module = instance ? instance : GetModuleHandleA(nullptr);
    const int kinds[][3] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
    for (const auto& kind : kinds) {
        HANDLE icon = LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, GetSystemMetrics(kind[1]),
                                 GetSystemMetrics(kind[2]), LR_SHARED);
        if (icon) SendMessageA(window, WM_SETICON, static_cast<WPARAM>(kind[0]), reinterpret_cast<LPARAM>(icon));
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
                runtime.ctrl_down = 1;
            else if (runtime.ctrl_down && shortcut_command(wparam))
                run_command(shortcut_command(wparam));
            else
                input_key_down(wparam);  // the extra input: keys by their code
            return 0;
        case WM_KEYUP:
            if (wparam == VK_CONTROL)
                runtime.ctrl_down = 0;
            else
                input_key_up(wparam);
            return 0;
        case WM_KILLFOCUS:
            focus_leaving(reinterpret_cast<HWND>(wparam));
            return 0;
        case WM_CHAR:
            if (!runtime.ctrl_down) {
                runtime.pending_kind = ZORVE_KBD;
                runtime.pending_key = static_cast<char>(wparam & 0xFF);
                input_character(static_cast<int>(wparam & 0xFF));
            }
            return 0;
        case WM_COMMAND:
            run_command(LOWORD(wparam));
            return 0;
        case WM_TIMER:
            runtime.tick_flag = 1;
            run_tick();
            animation_tick();
            return 0;
        case WM_CLOSE:
            run_window_closing();
            return DefWindowProcA(window, message, wparam, lparam);
        case WM_LBUTTONDOWN:
            runtime.pending_x = static_cast<int>(LOWORD(lparam)) - runtime.origin_x;
            runtime.pending_y = runtime.origin_y - static_cast<int>(HIWORD(lparam));
            runtime.pending_kind = ZORVE_MOUSE;
            input_mouse_message(message, wparam, lparam);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEMOVE:
            // The extra input only; a plain wait hears nothing of these.
            input_mouse_message(message, wparam, lparam);
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

extern "C" {

int ZORVE_start(void* instance, void* previous_instance, const char*, int show_state) {
    // Started once: a second start while running changes nothing. After a stop, the
    // old windows go and the runtime starts afresh.
    if (runtime.graphics_window && !runtime.stopped) return 1;
    if (runtime.stopped) runtime_reset();
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
    runtime.run_flag = 0;
    runtime.step_flag = 0;
    runtime.graphics_window = CreateWindowExA(0, "DrawWndClass", "ZORVE Graphics", WS_CAPTION | WS_SYSMENU,
                                      0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, nullptr, nullptr,
                                      hinstance, nullptr);
    runtime.console_window = CreateWindowExA(0, "TextWndClass", "ZORVE Text", WS_OVERLAPPEDWINDOW, 0,
                                     2 * screen_height / 3 + 1, screen_width, screen_height / 3,
                                     nullptr, nullptr, hinstance, nullptr);
    runtime.module_instance = hinstance;
    give_program_icon(hinstance, runtime.graphics_window);
    give_program_icon(hinstance, runtime.console_window);
    canvas_create(runtime.graphics_window);
    ShowWindow(runtime.console_window, show_state);
    ShowWindow(runtime.graphics_window, show_state);
    SetTimer(runtime.graphics_window, ANIMATION_TIMER, static_cast<UINT>(runtime.tick_ms), nullptr);
    take_run_settings();
    run_start();
    return 1;
}

int ZORVE_stop(void) {
    // A recording keeps its last periodic events: they are written before it closes.
    if (runtime.recording_flag) recording_stop();
    if (runtime.graphics_window && !runtime.stopped) {
        animation_end_early("the program stopped");
        runtime.stopped = true;
        run_stop();
        ReleaseDC(runtime.graphics_window, runtime.window_dc);
    }
    script_close();
    session_close();
    return 1;
}

int ZORVE_set_animation(int action) {
    if (!runtime_started("ZORVE_set_animation")) return 0;
    switch (static_cast<unsigned>(action)) {
        case ANIMATE_HALT:
            runtime.step_flag = 0;
            runtime.run_flag = 0;
            break;
        case ANIMATE_STEP:
            runtime.step_flag = 1;
            break;
        case ANIMATE_RUN:
            runtime.run_flag = 1;
            break;
        case ANIMATE_QUIT:
            runtime.quit_flag = 1;
            break;
        default:
            break;
    }
    return 1;
}

int ZORVE_set_logging(int on) {
    if (!runtime_started("ZORVE_set_logging")) return 0;
    runtime.logging_flag = on != 0;
    check_menu_item(MENU_LOGGING, runtime.logging_flag);
    if (runtime.logging_flag) console_show(1);
    return 1;
}

}  // extern "C"
