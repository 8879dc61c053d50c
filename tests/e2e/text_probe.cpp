// A small program on the runtime for the end-to-end tests of the console window and
// the text dialog. It prints what a script needs to know, one line each.
//
//   text_probe console  the console hidden, as the designer starts; each typed key is a
//                       step: 'l' switches logging on (which shows the console), 'b'
//                       draws with a colour that does not exist, 'e' writes an empty
//                       console line
//   text_probe gets     asks for a line of text twice, prints each answer, then prints
//                       the events it gets
#include <cstdio>
#include <cstring>

#include "platform/win32.h"
#include "zorve.h"

namespace {

// The text the bad colour below makes the console show.
const char* const ILLEGAL_COLOR = "Illegal color 30; using RED.";

// The first column with ink when `text` is drawn at x = 0 in the font selected into
// `dc`: where a console line's ink starts, past its first glyph's left bearing.
int first_ink_column(HDC dc, const char* text) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 64, 64);
    HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
    HGDIOBJ old_font = SelectObject(memory, GetStockObject(ANSI_FIXED_FONT));
    HGDIOBJ old_brush = SelectObject(memory, GetStockObject(WHITE_BRUSH));
    HGDIOBJ old_pen = SelectObject(memory, GetStockObject(NULL_PEN));
    Rectangle(memory, 0, 0, 65, 65);
    SetTextColor(memory, RGB(0, 0, 0));
    SetBkMode(memory, TRANSPARENT);
    TextOutA(memory, 0, 0, text, static_cast<int>(std::strlen(text)));
    int column = -1;
    for (int x = 0; x < 64 && column < 0; ++x)
        for (int y = 0; y < 64 && column < 0; ++y) {
            const COLORREF p = GetPixel(memory, x, y);
            if ((GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3 < 128) column = x;
        }
    SelectObject(memory, old_pen);
    SelectObject(memory, old_brush);
    SelectObject(memory, old_font);
    SelectObject(memory, old_bitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return column;
}

// The console's line height, the width of ILLEGAL_COLOR, the average letter width and
// where the ink of the two lines a bad colour writes starts, measured as the console
// draws: the stock fixed-pitch font in the console window's device context.
void print_console_metrics() {
    HWND console = FindWindowA(nullptr, "ZORVE Text");
    HDC dc = GetDC(console);
    HGDIOBJ old = SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SIZE extent{};
    GetTextExtentPoint32A(dc, ILLEGAL_COLOR, static_cast<int>(std::strlen(ILLEGAL_COLOR)), &extent);
    const int ink_correction = first_ink_column(dc, "I");  // "Illegal color ..."
    const int ink_log = first_ink_column(dc, "r");         // "red rectangle ..."
    SelectObject(dc, old);
    ReleaseDC(console, dc);
    std::printf("console %ld %ld %ld %d %d\n", static_cast<long>(tm.tmHeight + tm.tmExternalLeading),
                static_cast<long>(extent.cx), static_cast<long>(tm.tmAveCharWidth), ink_correction,
                ink_log);
}

int run_console() {
    ShowWindow(FindWindowA(nullptr, "ZORVE Text"), SW_HIDE);
    print_console_metrics();
    std::fflush(stdout);
    for (;;) {
        EventRecord event{};
        const int kind = ZORVE_wait_event(&event);
        if (kind == ZORVE_QUIT) break;
        if (kind != ZORVE_KBD) continue;
        if (event.key == 'l') {
            ZORVE_set_logging(1);
            std::printf("logging\n");
        } else if (event.key == 'b') {
            ZORVE_draw_rect(30, -20, 20, 20, -20, 0);
            std::printf("drawn\n");
        } else if (event.key == 'e') {
            ZORVE_console_printf("\n");
            std::printf("empty\n");
        }
        std::fflush(stdout);
    }
    std::printf("quit\n");
    return 0;
}

void ask(const char* prompt, char* answer) {
    const int result = ZORVE_gets(prompt, answer);
    std::printf("gets %d \"%s\"\n", result, answer);
    std::fflush(stdout);
}

int run_gets() {
    const LONG units = GetDialogBaseUnits();
    std::printf("units %d %d\n", LOWORD(units), HIWORD(units));
    std::fflush(stdout);
    char answer[256] = "untouched";
    ask("Your name?", answer);
    std::strcpy(answer, "untouched");
    ask("Once more?", answer);
    for (;;) {
        EventRecord event{};
        switch (ZORVE_wait_event(&event)) {
            case ZORVE_MOUSE: std::printf("mouse %d %d\n", event.x, event.y); break;
            case ZORVE_KBD: std::printf("key %d\n", static_cast<unsigned char>(event.key)); break;
            case ZORVE_QUIT: std::printf("quit\n"); return 0;
            default: continue;
        }
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "";
    if (std::strcmp(mode, "console") != 0 && std::strcmp(mode, "gets") != 0) {
        std::fprintf(stderr, "usage: text_probe console|gets\n");
        return 2;
    }
    ZORVE_start(nullptr, nullptr, const_cast<char*>(""), SW_SHOWNORMAL);
    ZORVE_set_logging(0);
    ZORVE_clear();
    const int status = std::strcmp(mode, "console") == 0 ? run_console() : run_gets();
    std::fflush(stdout);
    ZORVE_stop();
    return status;
}
