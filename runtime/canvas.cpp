// The canvas: an off-screen 601 x 540 bitmap that every drawing lands on, and the
// renderer that draws one record on it.
#include <climits>
#include <cstring>

#include "runtime.h"

namespace {

// Runtime point to canvas pixel, saturated to the int range that GDI takes.
int canvas_x(int x, int extra = 0) { return saturate(static_cast<long long>(runtime.origin_x) + x + extra); }
int canvas_y(int y, int extra = 0) { return saturate(static_cast<long long>(runtime.origin_y) - y + extra); }

// The font of drawn text: characters ptsize pixels high (0: the face's default).
HFONT text_font(int ptsize) {
    return CreateFontA(-ptsize, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "ZORVE-font");
}

void draw_text_lines(const DrawRecord& record, COLORREF color) {
    SetTextColor(runtime.canvas_dc, color);
    int previous_mode = SetBkMode(runtime.canvas_dc, TRANSPARENT);
    HFONT font = text_font(record.ptsize);
    HGDIOBJ previous_font = SelectObject(runtime.canvas_dc, font);
    const char* text = static_cast<const char*>(GlobalLock(record.text_block));
    if (text) {
        int length = static_cast<int>(std::strlen(text));
        SIZE extent = {0, 0};
        GetTextExtentPoint32A(runtime.canvas_dc, text, length, &extent);
        const long long step = extent.cy;
        const int x = canvas_x(record.p1.x);
        int start = 0;
        for (long long line = 0;; ++line) {
            const char* newline =
                static_cast<const char*>(std::memchr(text + start, '\n', size_t(length - start)));
            int n = newline ? static_cast<int>(newline - (text + start)) : length - start;
            // The anchor is the lower-left corner of the first line's cell.
            int y = saturate(static_cast<long long>(runtime.origin_y) - record.p1.y + (line - 1) * step);
            if (n > 0) TextOutA(runtime.canvas_dc, x, y, text + start, n);
            if (!newline) break;
            start += n + 1;
        }
        GlobalUnlock(record.text_block);
    }
    SetBkMode(runtime.canvas_dc, previous_mode);
    SelectObject(runtime.canvas_dc, previous_font);
    DeleteObject(font);
}

}  // namespace

int canvas_text_width(int ptsize, const char* text) {
    HFONT font = text_font(ptsize);
    HGDIOBJ previous_font = SelectObject(runtime.canvas_dc, font);
    int widest = 0;
    for (const char* line = text;;) {
        const char* end = std::strchr(line, '\n');
        const int n = static_cast<int>(end ? end - line : static_cast<long>(std::strlen(line)));
        SIZE extent = {0, 0};
        if (n > 0 && GetTextExtentPoint32A(runtime.canvas_dc, line, n, &extent) && extent.cx > widest)
            widest = extent.cx;
        if (!end) break;
        line = end + 1;
    }
    SelectObject(runtime.canvas_dc, previous_font);
    DeleteObject(font);
    return widest;
}

void canvas_create(HWND window) {
    runtime.window_dc = GetDC(window);
    runtime.canvas_bitmap = CreateCompatibleBitmap(runtime.window_dc, CANVAS_WIDTH, CANVAS_HEIGHT);
    runtime.canvas_dc = CreateCompatibleDC(runtime.window_dc);
    SelectObject(runtime.canvas_dc, runtime.canvas_bitmap);
}

void render_pixel(int color, DrawPoint p) {
    SetPixel(runtime.canvas_dc, canvas_x(p.x), canvas_y(p.y), palette[color]);
    runtime.canvas_dirty = 1;
}

void render_record(const DrawRecord& record) {
    const COLORREF color = palette[record.color];
    switch (record.kind) {
        case DRAW_TRIANGLE:
        case DRAW_RECT:
        case DRAW_OVAL:
        case DRAW_LINE: {
            HPEN pen = CreatePen(PS_SOLID, record.width, color);
            HBRUSH brush = nullptr;
            HGDIOBJ previous_brush = nullptr;
            if (record.kind != DRAW_LINE) {
                brush = record.width == 0 ? CreateSolidBrush(color)
                                          : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
                previous_brush = SelectObject(runtime.canvas_dc, brush);
            }
            HGDIOBJ previous_pen = SelectObject(runtime.canvas_dc, pen);
            const int x1 = canvas_x(record.p1.x), y1 = canvas_y(record.p1.y);
            if (record.kind == DRAW_TRIANGLE) {
                POINT points[3] = {{x1, y1},
                                   {canvas_x(record.p2.x), canvas_y(record.p2.y)},
                                   {canvas_x(record.p3.x), canvas_y(record.p3.y)}};
                Polygon(runtime.canvas_dc, points, 3);
            } else if (record.kind == DRAW_LINE) {
                MoveToEx(runtime.canvas_dc, x1, y1, nullptr);
                LineTo(runtime.canvas_dc, canvas_x(record.p2.x), canvas_y(record.p2.y));
            } else {
                // The primitives leave out the far column and row; + 1 takes them in.
                const int x2 = canvas_x(record.p2.x, 1), y2 = canvas_y(record.p2.y, 1);
                if (record.kind == DRAW_RECT)
                    Rectangle(runtime.canvas_dc, x1, y1, x2, y2);
                else
                    Ellipse(runtime.canvas_dc, x1, y1, x2, y2);
            }
            SelectObject(runtime.canvas_dc, previous_pen);
            if (previous_brush) SelectObject(runtime.canvas_dc, previous_brush);
            DeleteObject(pen);
            if (record.width == 0 && brush) DeleteObject(brush);
            break;
        }
        case DRAW_PIXEL:
            render_pixel(record.color, record.p1);
            break;
        case DRAW_TEXT:
            draw_text_lines(record, color);
            break;
        default:
            break;  // unknown kinds draw nothing
    }
    runtime.canvas_dirty = 1;
}

void canvas_clear() {
    HBRUSH white = CreateSolidBrush(palette[ZORVE_WHITE]);
    HGDIOBJ previous = SelectObject(runtime.canvas_dc, white);
    Rectangle(runtime.canvas_dc, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT);
    SelectObject(runtime.canvas_dc, previous);
    DeleteObject(white);
    runtime.canvas_dirty = 1;
}

void canvas_present() {
    // Through the kept window DC, as every copy to the screen goes.
    BitBlt(runtime.window_dc, 0, 0, CANVAS_WIDTH, CANVAS_HEIGHT, runtime.canvas_dc, 0, 0, SRCCOPY);
    runtime.canvas_dirty = 0;
}

void canvas_size_changed(HWND window) {
    RECT client = {0, 0, 0, 0};  // a failed call leaves it unwritten
    GetClientRect(window, &client);
    runtime.origin_x = client.left + (client.right - client.left) / 2;
    runtime.origin_y = client.top + (client.bottom - client.top) / 2;
    runtime.client_width = client.right - client.left;
    runtime.client_height = client.bottom - client.top;
}

void canvas_paint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    canvas_present();
    EndPaint(window, &paint);
}
