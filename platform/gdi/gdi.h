// Inside of the GDI subset: surfaces, objects and device contexts.
//
// Handles are small table indices with a generation count, as Win32's are, so a stale
// or forged handle is refused by a bounds and type check instead of being followed.
#ifndef ZORVE_PLATFORM_GDI_H
#define ZORVE_PLATFORM_GDI_H

#include <cstdint>
#include <memory>
#include <vector>

#include "../rect.h"
#include "../win32.h"

namespace zp {

// 32-bit pixels, 0x00RRGGBB (the byte order of a Win32 top-down 32-bit DIB), rows
// top to bottom `stride` pixels apart. A surface owns its pixels, or (for tests) lays
// itself over memory owned elsewhere.
//
// Every drawing marks the bounds of what it changed in `damage`; the surface's owner
// (the window layer, for a window's client area) takes them to show what changed.
struct Surface {
    int width = 0;
    int height = 0;
    int stride = 0;
    uint32_t* pixels = nullptr;
    RECT damage = {0, 0, 0, 0};  // empty while nothing changed

    Surface() = default;
    Surface(int w, int h);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    uint32_t* row(int y) const { return pixels + static_cast<ptrdiff_t>(y) * stride; }
    // Changes the size in place, keeping the pixels that stay inside; new pixels are
    // white (DCs keep pointing at the same Surface). A surface sized for the first time
    // starts black, as a new bitmap does, until something is drawn or erased there.
    void resize(int w, int h);

    // Adds [left, right) x [top, bottom), clipped to the surface, to the damage.
    void mark(int64_t left, int64_t top, int64_t right, int64_t bottom) {
        if (left < 0) left = 0;
        if (top < 0) top = 0;
        if (right > width) right = width;
        if (bottom > height) bottom = height;
        if (left >= right || top >= bottom) return;
        damage = rect_union(damage, {LONG(left), LONG(top), LONG(right), LONG(bottom)});
    }
    void mark_all() { mark(0, 0, width, height); }
    // mark() for one pixel known to be inside the surface. Mostly the pixel is inside
    // the damage already, and then nothing is written.
    void mark_pixel(int x, int y) {
        if (x >= damage.left && x < damage.right && y >= damage.top && y < damage.bottom) return;
        mark(x, y, int64_t(x) + 1, int64_t(y) + 1);
    }
    // The damage so far, which starts again empty.
    RECT take_damage() {
        const RECT d = damage;
        damage = {0, 0, 0, 0};
        return d;
    }

private:
    // From calloc: the system hands out zero pages, so a surface that is never drawn on
    // (a hidden window's) takes no memory. A store that goes is kept for the next
    // surface of its size (windows closed and opened again, a picture's bitmap).
    struct Free {
        size_t count;  // pixels allocated
        void operator()(uint32_t* p) const;
    };
    std::unique_ptr<uint32_t[], Free> store_;
};

// Red and blue change places; the high byte is dropped.
inline uint32_t pixel_from_colorref(COLORREF c) { return __builtin_bswap32(c) >> 8; }
inline COLORREF colorref_from_pixel(uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

enum class ObjType : uint8_t { None = 0, Pen, Brush, Font, Bitmap, DC, Count };

// Objects live in pools by type, so that the pen and brush a drawing creates and
// deletes around itself cost no allocation; the pool destroys each by its own type.
struct GdiObject {
    ObjType type;
    bool stock = false;
    HGDIOBJ handle = nullptr;
    explicit GdiObject(ObjType t) : type(t) {}
};

struct Pen : GdiObject {
    int style = PS_SOLID;
    int width = 1;  // as created; 0 and 1 both draw the thin cosmetic pen
    COLORREF color = 0;
    Pen() : GdiObject(ObjType::Pen) {}
};

struct Brush : GdiObject {
    int style = BS_SOLID;
    COLORREF color = 0;
    Brush() : GdiObject(ObjType::Brush) {}
};

struct FontFace;  // owned by the text module's cache

struct Font : GdiObject {
    int height = 0;  // as requested: < 0 character height, > 0 cell height, 0 default
    int weight = FW_NORMAL;
    bool italic = false;
    bool fixed_pitch = false;  // the request asked for a fixed-pitch face
    char face_name[LF_FACESIZE] = {};
    const FontFace* face = nullptr;  // resolved by the text module on first use
    Font() : GdiObject(ObjType::Font) {}
};

struct Bitmap : GdiObject {
    Surface surface;
    int selected_into = 0;  // a bitmap can be selected into one DC at a time
    Bitmap(int w, int h) : GdiObject(ObjType::Bitmap), surface(w, h) {}
};

namespace raster {
struct Stroker;
}

struct DC : GdiObject {
    Surface* surface = nullptr;  // the pixels it draws on
    Bitmap* bitmap = nullptr;    // memory DCs: the selected bitmap
    bool memory = false;
    HGDIOBJ pen, brush, font, bitmap_handle = nullptr;
    // What the selected pen and brush draw with, settled when they are selected (a pen
    // deleted while selected still draws, as in Win32).
    const raster::Stroker* stroker = nullptr;
    uint32_t pen_pixel = 0;
    int pen_width = 0;
    bool brush_fills = false;
    uint32_t brush_pixel = 0;
    POINT position = {0, 0};
    COLORREF text_color = RGB(0, 0, 0);
    COLORREF bk_color = RGB(255, 255, 255);
    int bk_mode = OPAQUE;
    DC();
    ~DC();
};

// Settles how a DC draws with a newly selected pen or brush.
void pen_selected(DC& dc, const Pen& pen);
void brush_selected(DC& dc, const Brush& brush);

// New objects, entered in the handle table (object->handle). Stock objects are not
// counted among the live ones, and DeleteObject leaves them alone.
template <class T>
T* new_object(bool stock = false);
Bitmap* new_bitmap(int width, int height, bool stock = false);

// The handle table. A handle is the entry's index + 1 in its low 32 bits and the
// entry's generation in its high ones; the entry's tag holds the generation, the type
// of its object (None while free) and whether a delete waits for the last deselect, so
// that checking a handle for a type is one comparison.
struct HandleSlot {
    uint64_t tag = 0;
    GdiObject* object = nullptr;
    int selections = 0;  // how many DCs have the object selected
};
constexpr uint64_t DELETE_PENDING = 0x100;
struct HandleTable {  // trivially destructible: handles stay valid until the process ends
    HandleSlot* slots;
    uint64_t size;
};
extern HandleTable handle_table;

// A handle is the entry's index + 1 with its generation above it: 32 bits each where
// pointers have 64; where they have 32 (WebAssembly), 20 bits of index and 12 of
// generation.
constexpr int HANDLE_INDEX_BITS = sizeof(uintptr_t) >= 8 ? 32 : 20;
constexpr uint64_t HANDLE_INDEX_MASK = (uint64_t(1) << HANDLE_INDEX_BITS) - 1;
constexpr uint64_t HANDLE_GENERATION_MASK = sizeof(uintptr_t) >= 8 ? 0xFFFFFFFFu : 0xFFFu;

inline HandleSlot* handle_slot(HGDIOBJ handle) {
    const uint64_t v = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle));
    const uint64_t index = (v & HANDLE_INDEX_MASK) - 1;  // a null index wraps round and is refused
    if (index >= handle_table.size) return nullptr;
    HandleSlot& s = handle_table.slots[index];
    if ((s.tag >> 32) != (v >> HANDLE_INDEX_BITS) || (s.tag & 0xFF) == 0) return nullptr;
    return &s;
}

// The object of a live handle of any type, or null (also while a delete is pending).
inline GdiObject* lookup(HGDIOBJ handle) {
    const HandleSlot* s = handle_slot(handle);
    return (s && !(s->tag & DELETE_PENDING)) ? s->object : nullptr;
}

template <class T>
T* lookup_as(HGDIOBJ handle, ObjType type) {
    const uint64_t v = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle));
    const uint64_t index = (v & HANDLE_INDEX_MASK) - 1;
    if (index >= handle_table.size) return nullptr;
    const HandleSlot& s = handle_table.slots[index];
    if (s.tag != ((v >> HANDLE_INDEX_BITS) << 32 | static_cast<uint64_t>(type))) return nullptr;
    return static_cast<T*>(s.object);
}
inline DC* lookup_dc(HDC dc) { return lookup_as<DC>(dc, ObjType::DC); }

// The font selected into a DC (pens and brushes settle how they draw when selected).
inline Font* dc_font(const DC& dc) { return lookup_as<Font>(dc.font, ObjType::Font); }

// A DC on a surface owned elsewhere (a window's client area, the screen).
HDC create_surface_dc(Surface* surface);
// Points the DCs that draw on `surface` at an empty one, before its owner frees it, so
// that late drawing is clipped away instead of reaching freed pixels.
void detach_surface_dcs(const Surface* surface);

}  // namespace zp

#endif
