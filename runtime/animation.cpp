// Animations of what the graphics window shows, as GIF files: ZORVE_save_animation and
// the Run menu's "Save Animation". A frame is the client area's pixels at a tick of the
// timer that paces periodic events, so the frames come at the animation's own pace and
// each lasts one tick period. Collecting a frame only reads the canvas and keeps the
// rectangle that changed since the frame before; frames are encoded when the last one
// is taken (and, while those waiting hold much memory, one at each tick).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime.h"

namespace {

// Rows read from the canvas at a time: a band small enough to stay in the processor's
// cache while it is compared with the frame before.
constexpr int BAND_ROWS = 16;

AnimationCapture& capture() { return runtime.animation; }

// The oldest `count` frames waiting, handed to the encoder.
bool encode_pending(size_t count) {
    AnimationCapture& a = capture();
    if (count > a.pending.size()) count = a.pending.size();
    bool ok = true;
    for (size_t i = 0; i < count; ++i) {
        const AnimationFrame& f = a.pending[i];
        ok = ok && codec::gif_add_frame(&a.gif, f.pixels.data(), f.width, f.x, f.y, f.width, f.height, f.delay_cs);
        a.pending_bytes -= f.pixels.size() * sizeof(uint32_t);
    }
    a.pending.erase(a.pending.begin(), a.pending.begin() + static_cast<ptrdiff_t>(count));
    return ok;
}

// Reads the canvas's top-left width x height into `previous`, band by band, and returns
// the rectangle where it differs from what `previous` held (all of it the first time).
RECT read_changes() {
    AnimationCapture& a = capture();
    const bool first = a.frames_taken == 0;
    RECT changed = {a.width, a.height, 0, 0};
    // A bitmap is read while no DC holds it: the canvas DC holds a spare one meanwhile.
    HBITMAP spare = CreateCompatibleBitmap(runtime.canvas_dc, 1, 1);
    HGDIOBJ canvas = SelectObject(runtime.canvas_dc, spare);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = CANVAS_WIDTH;
    info.bmiHeader.biHeight = CANVAS_HEIGHT;  // rows from the bottom, as scan lines count
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const size_t row_bytes = size_t(a.width) * sizeof(uint32_t);
    for (int top = 0; top < a.height; top += BAND_ROWS) {
        const int rows = a.height - top < BAND_ROWS ? a.height - top : BAND_ROWS;
        const UINT first_scan = static_cast<UINT>(CANVAS_HEIGHT - (top + rows));
        if (GetDIBits(runtime.canvas_dc, runtime.canvas_bitmap, first_scan, static_cast<UINT>(rows), a.band.data(),
                      &info, DIB_RGB_COLORS) != rows)
            std::memset(a.band.data(), 0, a.band.size() * sizeof(uint32_t));
        for (int r = 0; r < rows; ++r) {
            const int y = top + r;
            const uint32_t* now = a.band.data() + size_t(rows - 1 - r) * CANVAS_WIDTH;
            uint32_t* before = a.previous.data() + size_t(y) * size_t(a.width);
            if (!first && std::memcmp(now, before, row_bytes) == 0) continue;
            int left = 0, right = a.width - 1;
            if (!first) {
                while (now[left] == before[left]) ++left;
                while (now[right] == before[right]) --right;
            }
            if (left < changed.left) changed.left = left;
            if (right + 1 > changed.right) changed.right = right + 1;
            if (y < changed.top) changed.top = y;
            changed.bottom = y + 1;
            std::memcpy(before + left, now + left, size_t(right + 1 - left) * sizeof(uint32_t));
        }
    }
    SelectObject(runtime.canvas_dc, canvas);
    DeleteObject(spare);
    if (changed.right <= changed.left) changed = {0, 0, 0, 0};
    return changed;
}

// The frame the window shows now, kept as its changed rectangle.
void take_frame() {
    AnimationCapture& a = capture();
    if (runtime.canvas_dirty && !runtime.stopped && IsWindow(runtime.graphics_window)) canvas_present();
    const RECT r = read_changes();
    AnimationFrame f;
    f.x = r.left;
    f.y = r.top;
    f.width = r.right - r.left;
    f.height = r.bottom - r.top;
    f.pixels.reserve(size_t(f.width) * size_t(f.height));
    for (int y = 0; y < f.height; ++y) {
        const uint32_t* row = a.previous.data() + size_t(f.y + y) * size_t(a.width) + size_t(f.x);
        f.pixels.insert(f.pixels.end(), row, row + f.width);
    }
    // A frame lasts one tick; delays in hundredths of a second keep the sum of what came
    // before right, so that 33 ms ticks alternate 3 and 4.
    a.elapsed_ms += runtime.tick_ms;
    f.delay_cs = static_cast<int>((a.elapsed_ms + 5) / 10 - a.elapsed_cs);
    if (f.delay_cs < 2) f.delay_cs = 2;
    a.elapsed_cs += f.delay_cs;
    a.pending_bytes += f.pixels.size() * sizeof(uint32_t);
    a.pending.push_back(std::move(f));
    ++a.frames_taken;
}

// Encodes and writes what was collected, says how it went, and ends the collecting.
// `why_short`: why fewer frames than asked for were taken, or null.
void finish(const char* why_short) {
    AnimationCapture& a = capture();
    const std::string file = a.file;
    const int taken = a.frames_taken, wanted = a.frames_wanted;
    std::vector<uint8_t> bytes;
    const bool encoded = taken > 0 && encode_pending(a.pending.size()) && codec::gif_finish(&a.gif, &bytes);
    animation_abandon();
    const ShownName shown = shown_name(file.c_str());
    const char* name = shown.text;
    const char* why = nullptr;
    if (taken == 0)
        runtime_problem("Cannot save animation %s: %s before its first frame\n", name, why_short);
    else if (!encoded)
        runtime_problem("Cannot save animation %s: it cannot be encoded (no memory for it)\n", name);
    else if ((why = file_write_whole(file.c_str(), bytes.data(), bytes.size())))
        runtime_problem("Cannot save animation %s: %s\n", name, why);
    else if (why_short)
        ZORVE_console_printf("Animation saved as %s with %d of its %d frames: %s\n", name, taken, wanted, why_short);
    else
        ZORVE_console_printf("Animation saved as %s\n", name);
}

}  // namespace

void animation_tick() {
    AnimationCapture& a = capture();
    if (!a.collecting || runtime.stopped || !runtime.canvas_dc) return;
    take_frame();
    if (a.frames_taken >= a.frames_wanted)
        finish(nullptr);
    else if (a.pending_bytes >= ANIMATION_PENDING_BYTES)
        encode_pending(1);  // a frame in, a frame out: memory stays bounded, no tick stalls
}

void animation_end_early(const char* why) {
    if (capture().collecting) finish(why);
}

void animation_abandon() {
    codec::gif_abandon(&capture().gif);
    capture() = AnimationCapture{};
}

extern "C" int ZORVE_save_animation(const char* file, int frames) {
    if (!file || !*file) {
        runtime_problem("Cannot save animation: no file name\n");
        return 0;
    }
    if (!runtime_started("ZORVE_save_animation") || !runtime.canvas_dc) return 0;
    AnimationCapture& a = capture();
    if (a.collecting) {
        ZORVE_console_printf("Already collecting an animation for %s; not starting another\n",
                             shown_name(a.file.c_str()).text);
        return 0;
    }
    const int corrected = frames < 1 ? 1 : (frames > ANIMATION_FRAMES_MAX ? ANIMATION_FRAMES_MAX : frames);
    if (corrected != frames) ZORVE_console_printf("Frames of %d not possible, using %d\n", frames, corrected);
    const int width = runtime.client_width < CANVAS_WIDTH ? runtime.client_width : CANVAS_WIDTH;
    const int height = runtime.client_height < CANVAS_HEIGHT ? runtime.client_height : CANVAS_HEIGHT;
    // The palette's colours stay exact even in a frame of more than 256 colours.
    uint32_t kept[ZORVE_COLORS];
    for (int i = 0; i < ZORVE_COLORS; ++i)
        kept[i] = uint32_t(GetRValue(palette[i])) << 16 | uint32_t(GetGValue(palette[i])) << 8 | GetBValue(palette[i]);
    if (width < 1 || height < 1 || !codec::gif_begin(&a.gif, width, height, kept, ZORVE_COLORS)) {
        runtime_problem("Cannot save animation %s: the window has no pixels to show\n", shown_name(file).text);
        animation_abandon();
        return 0;
    }
    a.collecting = true;
    a.file = file;
    a.frames_wanted = corrected;
    a.width = width;
    a.height = height;
    a.previous.assign(size_t(width) * size_t(height), 0);
    a.band.assign(size_t(CANVAS_WIDTH) * BAND_ROWS, 0);
    return 1;
}

void save_animation_command() {
    // The person asked: what happens shows in the console.
    console_show(1);
    if (capture().collecting) {
        ZORVE_save_animation(capture().file.c_str(), ANIMATION_MENU_FRAMES);  // says so
        return;
    }
    char name[32];
    for (int n = 1;; ++n) {
        std::snprintf(name, sizeof name, "ZORVE%d.gif", n);
        if (GetFileAttributesA(name) == INVALID_FILE_ATTRIBUTES) break;
        if (n == PICTURE_NAMES_MAX) {
            runtime_problem("Cannot save animation: ZORVE1.gif to %s all exist\n", name);
            return;
        }
    }
    if (ZORVE_save_animation(name, ANIMATION_MENU_FRAMES))
        ZORVE_console_printf("Collecting %d frames for %s\n", ANIMATION_MENU_FRAMES, name);
}
