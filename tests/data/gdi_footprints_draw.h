// One footprint case: a primitive drawn into a small black bitmap, and the pixels that
// Wine's GDI produced for it. Shared by the recorder (tests/tools/record_footprints.cpp)
// and the conformance test, so that both draw every case through the same calls.
#ifndef ZORVE_TESTS_GDI_FOOTPRINTS_DRAW_H
#define ZORVE_TESTS_GDI_FOOTPRINTS_DRAW_H

#include <string>

#include "platform/win32.h"

struct FootprintCase {
    const char* name;
    char shape;         // 'R' Rectangle, 'E' Ellipse, 'P' Polygon, 'L' MoveToEx + LineTo...
    int pen;            // PS_SOLID width; -1 for PS_NULL
    int brush;          // 0: NULL_BRUSH, 1: solid brush, 2: solid brush in the pen's colour
    int width, height;  // of the bitmap
    int count;          // points in pts (Rectangle and Ellipse: the two corners)
    int pts[16];        // x, y pairs
    const char* pixels; // rows of '.' untouched, '#' pen, 'o' brush, '?' other; '\n' after each
};

constexpr COLORREF FOOTPRINT_PEN = RGB(255, 0, 0);
constexpr COLORREF FOOTPRINT_BRUSH = RGB(0, 0, 255);

// Draws the case into a new bitmap and returns its pixels in the footprint form.
inline std::string draw_footprint(const FootprintCase& c) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, c.width, c.height);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    HPEN pen = CreatePen(c.pen < 0 ? PS_NULL : PS_SOLID, c.pen < 0 ? 0 : c.pen, FOOTPRINT_PEN);
    HBRUSH brush = c.brush ? CreateSolidBrush(c.brush == 2 ? FOOTPRINT_PEN : FOOTPRINT_BRUSH)
                           : nullptr;
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush ? static_cast<HGDIOBJ>(brush)
                                               : GetStockObject(NULL_BRUSH));
    const int* p = c.pts;
    switch (c.shape) {
        case 'R': Rectangle(dc, p[0], p[1], p[2], p[3]); break;
        case 'E': Ellipse(dc, p[0], p[1], p[2], p[3]); break;
        case 'P': {
            POINT points[8];
            for (int i = 0; i < c.count; ++i) points[i] = {p[2 * i], p[2 * i + 1]};
            Polygon(dc, points, c.count);
            break;
        }
        case 'L':
            MoveToEx(dc, p[0], p[1], nullptr);
            for (int i = 1; i < c.count; ++i) LineTo(dc, p[2 * i], p[2 * i + 1]);
            break;
    }
    std::string rows;
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            COLORREF v = GetPixel(dc, x, y);
            rows += v == 0 ? '.' : v == FOOTPRINT_PEN ? '#' : v == FOOTPRINT_BRUSH ? 'o' : '?';
        }
        rows += '\n';
    }
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_bitmap);
    if (brush) DeleteObject(brush);
    DeleteObject(pen);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return rows;
}

#endif
