// Pictures of what the graphics window shows, as PNG files: ZORVE_save_picture, the
// Run menu's "Save Picture", and the snapshot a headless run asks for.
#include <cerrno>
#include <cstdio>
#include <cstring>
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

}  // namespace

// Written beside its place under another name and then moved there: whoever reads the
// file sees a whole one or the one it replaces, never a part of one.
bool write_file_whole(const char* path, const std::vector<uint8_t>& bytes, std::string* why) {
    const std::string partial = std::string(path) + ".partial";
    std::FILE* f = std::fopen(partial.c_str(), "wb");
    if (!f) {
        *why = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const int write_error = errno;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        *why = std::strerror(written ? errno : write_error);
        std::remove(partial.c_str());
        return false;
    }
    if (!MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        *why = "it cannot replace what has that name";
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

extern "C" int ZORVE_save_picture(const char* path) {
    if (!path || !*path) {
        runtime_problem("Cannot save picture: no file name\n");
        return 0;
    }
    if (!runtime_started("ZORVE_save_picture") || !runtime.canvas_dc) return 0;
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = shown_pixels(&width, &height);
    if (pixels.empty()) {
        runtime_problem("Cannot save picture %s: the window's pixels cannot be read\n", shown_name(path).text);
        return 0;
    }
    std::string why;
    if (!write_file_whole(path, codec::png_encode(pixels.data(), width, height, width), &why)) {
        runtime_problem("Cannot save picture %s: %s\n", shown_name(path).text, why.c_str());
        return 0;
    }
    return 1;
}

void save_picture_command() {
    // The first of ZORVE1.png, ZORVE2.png, ... that does not exist yet.
    char name[32];
    int n = 1;
    for (;; ++n) {
        std::snprintf(name, sizeof name, "ZORVE%d.png", n);
        if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES || n == PICTURE_NAMES_MAX) break;
    }
    // The person asked: whatever happens, the console says so where they can see it.
    console_show(1);
    if (GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES)
        runtime_problem("Cannot save picture: ZORVE1.png to %s all exist\n", name);
    else if (ZORVE_save_picture(name))
        ZORVE_console_printf("Picture saved as %s\n", name);
}
