// Pictures of what the graphics window shows, as PNG files: ZORVE_save_picture, the
// Run menu's "Save Picture", and the snapshot a headless run asks for.
#include <cstdio>
#include <string>
#include <vector>

#include "codec/png_codec.h"
#include "runtime.h"

namespace {

// The client area's pixels: the top-left corner of the canvas, which the window shows
// (the frame just drawn is shown first, so that the picture is what the person sees).
std::vector<uint32_t> shown_pixels(int* width, int* height) {
    if (runtime.canvas_dirty && !runtime.stopped && IsWindow(runtime.graphics_window)) canvas_present();
    *width = runtime.client_width < CANVAS_WIDTH ? runtime.client_width : CANVAS_WIDTH;
    *height = runtime.client_height < CANVAS_HEIGHT ? runtime.client_height : CANVAS_HEIGHT;
    std::vector<uint32_t> pixels(static_cast<size_t>(*width) * static_cast<size_t>(*height));
    if (pixels.empty()) return pixels;
    // Read through a bitmap of its own: a bitmap is read while no DC holds it.
    HDC copy = CreateCompatibleDC(runtime.canvas_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(runtime.canvas_dc, *width, *height);
    HGDIOBJ previous = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, *width, *height, runtime.canvas_dc, 0, 0, SRCCOPY);
    SelectObject(copy, previous);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = *width;
    info.bmiHeader.biHeight = -*height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int rows = GetDIBits(copy, bitmap, 0, static_cast<UINT>(*height), pixels.data(), &info,
                               DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(copy);
    if (rows != *height) pixels.clear();
    return pixels;
}

void cannot_save(const char* path, const char* why) {
    runtime_problem("Cannot save picture %s: %s\n", shown_name(path).text, why);
}

// The picture of what the window shows, as PNG bytes; empty (and said why) when the
// runtime cannot take one.
std::vector<uint8_t> picture_bytes(const char* path) {
    if (!runtime.canvas_dc) {
        cannot_save(path, "the runtime is not started");
        return {};
    }
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = shown_pixels(&width, &height);
    if (pixels.empty()) {
        cannot_save(path, "the window's pixels cannot be read");
        return {};
    }
    return codec::png_encode(pixels.data(), width, height, width);
}

}  // namespace

extern "C" int ZORVE_save_picture(const char* path) {
    if (!path || !*path) {
        runtime_problem("Cannot save picture: no file name\n");
        return 0;
    }
    if (!runtime_started("ZORVE_save_picture")) return 0;
    if (const char* why = file_not_replaceable(path)) {
        cannot_save(path, why);
        return 0;
    }
    const std::vector<uint8_t> bytes = picture_bytes(path);
    if (bytes.empty()) return 0;
    if (const char* why = file_write_whole(path, bytes.data(), bytes.size())) {
        cannot_save(path, why);
        return 0;
    }
    return 1;
}

void save_picture_command() {
    // The person asked: whatever happens, the console says so where they can see it.
    console_show(1);
    const std::vector<uint8_t> bytes = picture_bytes("ZORVE1.png");
    if (bytes.empty()) return;
    std::string name;
    const char* why = file_write_numbered("ZORVE%d.png", PICTURE_NAMES_MAX, bytes.data(), bytes.size(), &name);
    if (!why)
        ZORVE_console_printf("Picture saved as %s\n", name.c_str());
    else if (why == FILE_NAMES_TAKEN)
        runtime_problem("Cannot save picture: ZORVE1.png to ZORVE%d.png all exist\n", PICTURE_NAMES_MAX);
    else
        cannot_save(name.c_str(), why);
}
