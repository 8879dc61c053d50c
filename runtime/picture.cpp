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

// The reason of a failed file call, in the words the C library uses for it, the same
// on every host.
const char* reason(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "No such file or directory";
        case ERROR_ACCESS_DENIED:
            return "Permission denied";
        case ERROR_WRITE_PROTECT:
            return "Read-only file system";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "No space left on device";
        case ERROR_FILENAME_EXCED_RANGE:
            return "File name too long";
        case ERROR_INVALID_NAME:
            return "Invalid file name";
        case ERROR_TOO_MANY_OPEN_FILES:
            return "Too many open files";
        case ERROR_NOT_ENOUGH_MEMORY:
            return "Not enough memory";
        default:
            return "Input/output error";
    }
}

// Why what has this name cannot be replaced by a picture, or nullptr when it can (a
// plain file that may be written, or nothing).
const char* not_replaceable(const char* path) {
    const DWORD kind = GetFileAttributesA(path);
    if (kind == INVALID_FILE_ATTRIBUTES) return nullptr;
    if (kind & FILE_ATTRIBUTE_DIRECTORY) return "is a folder";
    if (kind & FILE_ATTRIBUTE_DEVICE) return "is not a regular file";
    if (kind & FILE_ATTRIBUTE_READONLY) return "is read-only";
    return nullptr;
}

// Writes `bytes` to a new file of a name no one else has, in the folder of `path`:
// created exclusively, so that nothing already there (a file, or a link to one
// elsewhere) is ever written through, and short, whatever the length of `path`. On
// failure returns false with the Win32 error.
bool write_temporary(const char* path, const std::vector<uint8_t>& bytes, std::string* name, DWORD* error) {
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\' || *p == ':') base = p + 1;
    static unsigned sequence = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char own[40];
        std::snprintf(own, sizeof own, "ZORVE-%lx-%x.partial", static_cast<unsigned long>(GetCurrentProcessId()),
                      sequence++);
        *name = std::string(path, static_cast<size_t>(base - path)) + own;
        HANDLE file = CreateFileA(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            *error = GetLastError();
            if (*error == ERROR_FILE_EXISTS || *error == ERROR_ALREADY_EXISTS) continue;  // someone else's
            return false;
        }
        DWORD written = 0;
        const bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size();
        *error = whole ? 0 : GetLastError();
        const bool closed = CloseHandle(file) != 0;
        if (whole && !closed) *error = GetLastError();
        if (whole && closed) return true;
        DeleteFileA(name->c_str());
        return false;
    }
    return false;  // a hundred names taken: the last error says so
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
    if (const char* why = not_replaceable(path)) {
        cannot_save(path, why);
        return 0;
    }
    const std::vector<uint8_t> bytes = picture_bytes(path);
    if (bytes.empty()) return 0;
    // Written beside its place under another name and then moved there: whoever reads
    // the file sees a whole picture or the one it replaces, never a part of one.
    std::string partial;
    DWORD error = 0;
    if (!write_temporary(path, bytes, &partial, &error)) {
        cannot_save(path, reason(error));
        return 0;
    }
    if (!MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        error = GetLastError();
        DeleteFileA(partial.c_str());
        const char* why = not_replaceable(path);  // something else took the name meanwhile
        cannot_save(path, why ? why : reason(error));
        return 0;
    }
    return 1;
}

void save_picture_command() {
    // The person asked: whatever happens, the console says so where they can see it.
    console_show(1);
    char name[32];
    std::snprintf(name, sizeof name, "ZORVE%d.png", 1);
    const std::vector<uint8_t> bytes = picture_bytes(name);
    if (bytes.empty()) return;
    std::string partial;
    DWORD error = 0;
    if (!write_temporary(name, bytes, &partial, &error)) {
        cannot_save(name, reason(error));
        return;
    }
    // The first of ZORVE1.png, ZORVE2.png, ... that is free, taken in the same step as
    // the picture is moved there: a name another program took meanwhile is never
    // replaced, and the next one is tried. The search starts where the names in use end.
    int n = 1;
    while (n < PICTURE_NAMES_MAX) {
        std::snprintf(name, sizeof name, "ZORVE%d.png", n);
        if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) break;
        ++n;
    }
    for (; n <= PICTURE_NAMES_MAX; ++n) {
        std::snprintf(name, sizeof name, "ZORVE%d.png", n);
        if (MoveFileExA(partial.c_str(), name, 0)) {
            ZORVE_console_printf("Picture saved as %s\n", name);
            return;
        }
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
    }
    DeleteFileA(partial.c_str());
    if (n > PICTURE_NAMES_MAX)
        runtime_problem("Cannot save picture: ZORVE1.png to ZORVE%d.png all exist\n", PICTURE_NAMES_MAX);
    else
        cannot_save(name, reason(error));
}
