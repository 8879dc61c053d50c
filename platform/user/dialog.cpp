// Modal dialogs from in-memory templates, and their controls: edit fields, buttons and
// static texts. Controls keep their text; presenters draw them.
#include <cstring>

#include "../presenter.h"
#include "user.h"

namespace zp {

namespace {

const char* const DIALOG_CLASS = "#32770";

// Template strings are 16-bit characters; only 8-bit ones survive the narrowing.
struct TemplateReader {
    const BYTE* base;
    size_t offset;

    WORD word() {
        WORD w;
        std::memcpy(&w, base + offset, sizeof w);
        offset += sizeof w;
        return w;
    }
    std::string text() {
        std::string s;
        for (WORD c = word(); c != 0; c = word()) s += c < 256 ? static_cast<char>(c) : '?';
        return s;
    }
    // A menu or class field: none, an ordinal, or a string.
    std::string name_or_ordinal(WORD* ordinal) {
        *ordinal = 0;
        WORD first = word();
        if (first == 0) return {};
        if (first == 0xFFFF) {
            *ordinal = word();
            return {};
        }
        offset -= sizeof first;
        return text();
    }
    void align() { offset = (offset + 3) & ~size_t(3); }
};

const char* class_of_ordinal(WORD ordinal) {
    switch (ordinal) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        default: return nullptr;
    }
}

LRESULT CALLBACK edit_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* w = find_window(window);
    if (w && message == WM_CHAR) {
        const int c = static_cast<int>(wparam & 0xFF);
        if (c == '\b') {
            if (!w->title.empty()) w->title.pop_back();
        } else if (c >= 32) {
            w->title += static_cast<char>(c);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK button_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* w = find_window(window);
    if (w && message == WM_LBUTTONUP && w->parent) {
        const WORD id = static_cast<WORD>(reinterpret_cast<uintptr_t>(w->menu));
        SendMessageA(w->parent, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(window));
        return 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK static_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

// The dialog's window procedure: the application's dialog procedure first, then the
// defaults of a dialog (closing means cancel; nothing destroys it but its end).
LRESULT CALLBACK dialog_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* w = find_window(window);
    if (w && w->dialog_proc) {
        if (INT_PTR handled = w->dialog_proc(window, message, wparam, lparam)) return handled;
    }
    switch (message) {
        case WM_CLOSE:
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

HWND default_button(HWND dialog) {
    for (Window* c : children_of(dialog))
        if (c->window_class->name == "Button" && (c->style & 0x0F) == BS_DEFPUSHBUTTON) return c->handle;
    return nullptr;
}

bool in_dialog(HWND dialog, HWND window) {
    for (Window* w = find_window(window); w; w = find_window(w->parent))
        if (w->handle == dialog) return true;
    return false;
}

// Enter presses the default button, Escape cancels: the keyboard interface of a dialog.
bool dialog_key(HWND dialog, const MSG& m) {
    if (m.message != WM_KEYDOWN || !in_dialog(dialog, m.hwnd)) return false;
    if (m.wParam == VK_RETURN) {
        HWND button = default_button(dialog);
        WORD id = button ? static_cast<WORD>(reinterpret_cast<uintptr_t>(find_window(button)->menu)) : IDOK;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(button));
        return true;
    }
    if (m.wParam == VK_ESCAPE) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return true;
    }
    return false;
}

bool is_input(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR ||
           message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_MOUSEMOVE;
}

// Where a dialog unit lands in pixels: MulDiv's rounding.
int scale(int units, int base, int divisor) {
    const long long v = static_cast<long long>(units) * base;
    return static_cast<int>((v >= 0 ? v + divisor / 2 : v - divisor / 2) / divisor);
}

}  // namespace

bool is_dialog_class(const WindowClass& window_class) { return window_class.name == DIALOG_CLASS; }

int dialog_font_height() { return HIWORD(GetDialogBaseUnits()); }

void register_control_classes() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSA c = {};
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    c.lpfnWndProc = dialog_window_proc;
    c.lpszClassName = DIALOG_CLASS;
    RegisterClassA(&c);
    c.lpfnWndProc = button_proc;
    c.lpszClassName = "Button";
    RegisterClassA(&c);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    c.lpfnWndProc = edit_proc;
    c.lpszClassName = "Edit";
    RegisterClassA(&c);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    c.lpfnWndProc = static_proc;
    c.lpszClassName = "Static";
    RegisterClassA(&c);
}

void input_set_text(HWND control, const char* text) {
    if (Window* w = find_window(control)) w->title = text ? text : "";
}

}  // namespace zp

using namespace zp;

extern "C" {

LONG WINAPI GetDialogBaseUnits(void) {
    // The dialog font's average letter width and its height (the system font).
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SIZE letters{};
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32A(dc, alphabet, 52, &letters);
    SelectObject(dc, old);
    DeleteDC(dc);
    const int x = (letters.cx / 26 + 1) / 2;
    return MAKELONG(x > 0 ? x : 8, tm.tmHeight > 0 ? tm.tmHeight : 16);
}

INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE instance, LPCDLGTEMPLATEA dialog_template,
                                       HWND owner, DLGPROC procedure, LPARAM init_param) {
    if (!dialog_template) return -1;
    register_control_classes();
    TemplateReader in{reinterpret_cast<const BYTE*>(dialog_template), 0};
    DLGTEMPLATE header;
    std::memcpy(&header, in.base, sizeof header);
    if ((header.style & 0xFFFF0000u) == 0xFFFF0000u) return -1;  // extended templates
    in.offset = sizeof header;
    WORD ordinal = 0;
    in.name_or_ordinal(&ordinal);  // menu: none is used
    in.name_or_ordinal(&ordinal);  // class: the dialog class
    const std::string title = in.text();
    if (header.style & DS_SETFONT) {
        in.word();
        in.text();
    }
    const LONG units = GetDialogBaseUnits();
    const int bx = LOWORD(units), by = HIWORD(units);
    auto px = [&](int u) { return scale(u, bx, 4); };
    auto py = [&](int u) { return scale(u, by, 8); };

    // The template gives the client area, placed relative to the owner's client area.
    Window* own = find_window(owner);
    int origin_x = 0, origin_y = 0;
    if (own) {
        int cw = 0, ch = 0;
        client_size_of(*own, &cw, &ch);
        origin_x = own->x + (own->width - cw) / 2;
        origin_y = own->y + (own->height - ch) - (own->width - cw) / 2;
    }
    const DWORD style = header.style & ~(WS_VISIBLE | WS_CHILD);
    Window probe;
    probe.style = style;
    probe.width = 1000;
    probe.height = 1000;
    int cw = 0, ch = 0;
    client_size_of(probe, &cw, &ch);
    const int frame_x = (1000 - cw) / 2, frame_bottom = frame_x, frame_top = 1000 - ch - frame_bottom;
    HWND dialog = CreateWindowExA(header.dwExtendedStyle, DIALOG_CLASS, title.c_str(), style,
                                  origin_x + px(header.x) - frame_x, origin_y + py(header.y) - frame_top,
                                  px(header.cx) + 2 * frame_x, py(header.cy) + frame_top + frame_bottom,
                                  owner, nullptr, instance, nullptr);
    Window* d = find_window(dialog);
    if (!d) return -1;

    HWND first_tab_stop = nullptr;
    for (int i = 0; i < header.cdit; ++i) {
        in.align();
        DLGITEMTEMPLATE item;
        std::memcpy(&item, in.base + in.offset, sizeof item);
        in.offset += sizeof item;
        std::string class_name = in.name_or_ordinal(&ordinal);
        if (ordinal) class_name = class_of_ordinal(ordinal) ? class_of_ordinal(ordinal) : "";
        const std::string text = in.name_or_ordinal(&ordinal);
        const WORD extra = in.word();
        in.offset += extra;
        HWND control = CreateWindowExA(item.dwExtendedStyle, class_name.c_str(), text.c_str(),
                                       item.style | WS_CHILD, px(item.x), py(item.y), px(item.cx),
                                       py(item.cy), dialog, reinterpret_cast<HMENU>(uintptr_t(item.id)),
                                       instance, nullptr);
        if (!first_tab_stop && control && (item.style & WS_TABSTOP)) first_tab_stop = control;
    }

    d->dialog_proc = procedure;
    if (procedure(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first_tab_stop), init_param) &&
        first_tab_stop)
        SetFocus(first_tab_stop);
    if ((d = find_window(dialog)) == nullptr) return -1;
    // The owner is disabled before the dialog appears, as a modal dialog's owner is.
    const bool owner_was_enabled = own && IsWindowEnabled(owner);
    if (own) EnableWindow(owner, FALSE);
    if ((header.style & WS_VISIBLE) && !d->dialog_ended) ShowWindow(dialog, SW_SHOW);

    INT_PTR result = 0;
    for (;;) {
        d = find_window(dialog);
        if (!d) break;
        if (d->dialog_ended) {
            result = d->dialog_result;
            break;
        }
        MSG m;
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (m.message == WM_QUIT) {
            // The program is ending: the quit is left for its own loop.
            PostQuitMessage(static_cast<int>(m.wParam));
            break;
        }
        if (dialog_key(dialog, m)) continue;
        Window* target = find_window(m.hwnd);
        if (is_input(m.message) && target && !target->enabled) continue;  // the disabled owner
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    if (owner_was_enabled) EnableWindow(owner, TRUE);
    if (find_window(dialog)) DestroyWindow(dialog);
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    Window* d = find_window(dialog);
    if (!d) return FALSE;
    d->dialog_ended = true;
    d->dialog_result = result;
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    for (Window* c : children_of(dialog))
        if (static_cast<int>(reinterpret_cast<uintptr_t>(c->menu)) == id) return c->handle;
    return nullptr;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int max_count) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (text && max_count > 0) text[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(item, text, max_count));
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    return SetWindowTextA(GetDlgItem(dialog, id), text);
}

}  // extern "C"
