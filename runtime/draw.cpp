// The drawing calls: correct the arguments, log, build one record, render it.
// Each call corrects its arguments in its own order (colour or width first): the order
// of the correction messages in the console is part of what a program's log shows.
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "runtime.h"

namespace {

// |value|, where the most negative int (which has no positive counterpart) becomes
// the largest int.
int magnitude(int value) { return value == INT_MIN ? INT_MAX : (value < 0 ? -value : value); }

// A negative value becomes its magnitude, announced with `message` (its two %d: the
// value passed and the value used).
int not_negative(int value, const char* message) {
    if (value >= 0) return value;
    const int corrected = magnitude(value);
    ZORVE_console_printf(message, value, corrected);
    return corrected;
}

int check_width(int width) { return not_negative(width, "Width of %d not possible, using width %d\n"); }

int check_radius(int radius) {
    return not_negative(radius, "Radius of %d not possible, using radius %d\n");
}

int check_ptsize(int ptsize) {
    ptsize = not_negative(ptsize, "ptsize of %d not possible, using ptsize %d\n");
    if (ptsize >= 128) {
        ZORVE_console_printf("ptsize of %d not possible, using ptsize %d\n", ptsize, 127);
        ptsize = 127;
    }
    return ptsize;
}

// Upper-left corner first: smaller x, larger y.
void sort_corners(DrawPoint& p1, DrawPoint& p2) {
    if (p1.x > p2.x) {
        int t = p1.x;
        p1.x = p2.x;
        p2.x = t;
    }
    if (p1.y < p2.y) {
        int t = p1.y;
        p1.y = p2.y;
        p2.y = t;
    }
}

void render_figure(int kind, int color, int width, DrawPoint p1, DrawPoint p2,
                   DrawPoint p3 = {0, 0}) {
    DrawRecord record{};
    record.kind = kind;
    record.color = color;
    record.width = width;
    record.p1 = p1;
    record.p2 = p2;
    record.p3 = p3;
    render_record(record);
}

}  // namespace

extern "C" {

int ZORVE_draw_pixel_pt(int color, DrawPoint p) {
    if (!runtime_started("ZORVE_draw_pixel_pt")) return 1;
    color = check_color(color);
    if (runtime.logging_flag)
        ZORVE_console_printf("%s pixel at (%d,%d)\n", palette_names[color], p.x, p.y);
    render_pixel(color, p);
    return 1;
}

int ZORVE_draw_circle_pt(int color, DrawPoint centre, int radius) {
    if (!runtime_started("ZORVE_draw_circle_pt")) return 1;
    color = check_color(color);
    radius = check_radius(radius);
    if (runtime.logging_flag)
        ZORVE_console_printf("%s circle at (%d,%d), radius %d\n", palette_names[color],
                             centre.x, centre.y, radius);
    // Saturated, so that a circle far out keeps a sane box.
    DrawPoint upper_left{saturate(static_cast<long long>(centre.x) - radius),
                         saturate(static_cast<long long>(centre.y) + radius)};
    DrawPoint lower_right{saturate(static_cast<long long>(centre.x) + radius),
                          saturate(static_cast<long long>(centre.y) - radius)};
    render_figure(DRAW_OVAL, color, 0, upper_left, lower_right);
    return 1;
}

int ZORVE_draw_triangle_pt(int color, DrawPoint p1, DrawPoint p2, DrawPoint p3, int width) {
    if (!runtime_started("ZORVE_draw_triangle_pt")) return 1;
    color = check_color(color);
    width = check_width(width);
    if (runtime.logging_flag)
        ZORVE_console_printf("%s triangle at (%d,%d), (%d,%d), (%d,%d)\n", palette_names[color],
                             p1.x, p1.y, p2.x, p2.y, p3.x, p3.y);
    render_figure(DRAW_TRIANGLE, color, width, p1, p2, p3);
    return 1;
}

int ZORVE_draw_rect_pt(int color, DrawPoint p1, DrawPoint p2, int width) {
    if (!runtime_started("ZORVE_draw_rect_pt")) return 1;
    sort_corners(p1, p2);
    color = check_color(color);
    width = check_width(width);
    if (runtime.logging_flag) {
        if (width == 0)
            ZORVE_console_printf("%s rectangle with bounding box (%d,%d) to (%d,%d), filled\n",
                                 palette_names[color], p1.x, p1.y, p2.x, p2.y);
        else
            ZORVE_console_printf(
                "%s rectangle with bounding box (%d,%d) to (%d,%d) with line width %d\n",
                palette_names[color], p1.x, p1.y, p2.x, p2.y, width);
    }
    render_figure(DRAW_RECT, color, width, p1, p2);
    return 1;
}

int ZORVE_draw_oval_pt(int color, DrawPoint p1, DrawPoint p2, int width) {
    if (!runtime_started("ZORVE_draw_oval_pt")) return 1;
    sort_corners(p1, p2);
    width = check_width(width);
    color = check_color(color);
    if (runtime.logging_flag) {
        if (width == 0)
            ZORVE_console_printf("%s oval with bounding box (%d,%d) to (%d,%d), filled\n",
                                 palette_names[color], p1.x, p1.y, p2.x, p2.y);
        else
            ZORVE_console_printf("%s oval with bounding box (%d,%d) to (%d,%d), line width %d\n",
                                 palette_names[color], p1.x, p1.y, p2.x, p2.y, width);
    }
    render_figure(DRAW_OVAL, color, width, p1, p2);
    return 1;
}

int ZORVE_draw_line_pt(int color, DrawPoint p1, DrawPoint p2, int width) {
    if (!runtime_started("ZORVE_draw_line_pt")) return 1;
    width = check_width(width);
    color = check_color(color);
    if (runtime.logging_flag)
        ZORVE_console_printf("%s line from (%d,%d) to (%d,%d), width %d\n", palette_names[color],
                             p1.x, p1.y, p2.x, p2.y, width);
    render_figure(DRAW_LINE, color, width == 0 ? 1 : width, p1, p2);
    return 1;
}

int ZORVE_draw_text_pt(int color, DrawPoint anchor, int ptsize, const char* text) {
    if (!runtime_started("ZORVE_draw_text_pt")) return 1;
    ptsize = check_ptsize(ptsize);
    color = check_color(color);
    if (!text) {
        ZORVE_console_printf("NULL text not possible, drawing nothing\n");
        return 1;
    }
    if (runtime.logging_flag)
        ZORVE_console_printf("%s text at (%d,%d), \"%s\"\n", palette_names[color], anchor.x,
                             anchor.y, text);
    // A record carries text only as a movable block, never as the caller's pointer: the
    // copy is the record's own, as every text the runtime keeps is.
    size_t n = std::strlen(text);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n + 1);
    if (!block) return 1;  // nothing to draw from; the call still succeeds
    void* copy = GlobalLock(block);
    std::memcpy(copy, text, n + 1);
    GlobalUnlock(block);
    DrawRecord record{};
    record.kind = DRAW_TEXT;
    record.color = color;
    record.p1 = anchor;
    record.ptsize = ptsize;
    record.text_block = block;
    render_record(record);
    GlobalFree(block);
    return 1;
}

// A NULL format has nothing to format: it says so and draws nothing.
static bool refuse_null_format(const char* format) {
    if (format) return false;
    ZORVE_console_printf("NULL format not possible, drawing nothing\n");
    return true;
}

int ZORVE_draw_textf_pt(int color, DrawPoint anchor, int ptsize, const char* format, ...) {
    const bool started = runtime_started("ZORVE_draw_textf_pt");
    if (refuse_null_format(format)) return 0;
    char buffer[CONSOLE_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    int produced = format_line(buffer, format, args);
    va_end(args);
    if (started) ZORVE_draw_text_pt(color, anchor, ptsize, buffer);
    return produced;
}

int ZORVE_draw_textf(int color, int x, int y, int ptsize, const char* format, ...) {
    const bool started = runtime_started("ZORVE_draw_textf");
    if (refuse_null_format(format)) return 0;
    char buffer[CONSOLE_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    int produced = format_line(buffer, format, args);
    va_end(args);
    if (started) ZORVE_draw_text(color, x, y, ptsize, buffer);
    return produced;
}

// The coordinate forms only pack their points.
int ZORVE_draw_pixel(int color, int x, int y) {
    if (!runtime_started("ZORVE_draw_pixel")) return 1;
    return ZORVE_draw_pixel_pt(color, {x, y});
}

int ZORVE_draw_circle(int color, int x, int y, int radius) {
    if (!runtime_started("ZORVE_draw_circle")) return 1;
    return ZORVE_draw_circle_pt(color, {x, y}, radius);
}

int ZORVE_draw_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
    if (!runtime_started("ZORVE_draw_triangle")) return 1;
    return ZORVE_draw_triangle_pt(color, {x1, y1}, {x2, y2}, {x3, y3}, width);
}

int ZORVE_draw_rect(int color, int x1, int y1, int x2, int y2, int width) {
    if (!runtime_started("ZORVE_draw_rect")) return 1;
    return ZORVE_draw_rect_pt(color, {x1, y1}, {x2, y2}, width);
}

int ZORVE_draw_oval(int color, int x1, int y1, int x2, int y2, int width) {
    if (!runtime_started("ZORVE_draw_oval")) return 1;
    return ZORVE_draw_oval_pt(color, {x1, y1}, {x2, y2}, width);
}

int ZORVE_draw_line(int color, int x1, int y1, int x2, int y2, int width) {
    if (!runtime_started("ZORVE_draw_line")) return 1;
    return ZORVE_draw_line_pt(color, {x1, y1}, {x2, y2}, width);
}

int ZORVE_draw_text(int color, int x, int y, int ptsize, const char* text) {
    if (!runtime_started("ZORVE_draw_text")) return 1;
    return ZORVE_draw_text_pt(color, {x, y}, ptsize, text);
}

int ZORVE_text_width(int ptsize, const char* text) {
    if (!runtime_started("ZORVE_text_width")) return 0;
    ptsize = check_ptsize(ptsize);
    if (!text) {
        ZORVE_console_printf("NULL text not possible, measuring nothing\n");
        return 0;
    }
    return canvas_text_width(ptsize, text);
}

int ZORVE_clear(void) {
    if (!runtime_started("ZORVE_clear")) return 1;
    if (runtime.logging_flag) ZORVE_console_printf("Clearing the graphics window\n");
    canvas_clear();
    return 1;
}

int ZORVE_undo(void) {
    ZORVE_console_printf("ZORVE_undo is no longer supported.\n");
    return 1;
}

}  // extern "C"
