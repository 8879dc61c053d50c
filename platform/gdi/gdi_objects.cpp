// GDI objects: the handle table, stock objects, pens, brushes, bitmaps, device
// contexts, selection and deletion.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "counts.h"
#include "gdi.h"
#include "text.h"

namespace zp {

namespace {

// Stores of surfaces that went away, a few and at most 16 MB, newest last: memory that
// is already the program's is cleared faster than fresh pages are faulted in.
struct Spare {
    uint32_t* pixels;
    size_t count;
};
constexpr size_t SPARES_MAX = 4;
constexpr size_t SPARE_PIXELS_MAX = size_t(4) << 20;

// Objects of one type in chunks that never move, cells reused through a free list.
template <class T>
class Pool {
public:
    template <class... Args>
    T* make(Args&&... args) {
        if (free_.empty()) grow();
        void* cell = free_.back();
        free_.pop_back();
        return new (cell) T(std::forward<Args>(args)...);
    }
    void destroy(T* object) {
        object->~T();
        free_.push_back(object);
    }

private:
    static constexpr size_t CHUNK = 64;
    struct alignas(T) Cell {
        unsigned char bytes[sizeof(T)];
    };
    void grow() {
        chunks_.push_back(std::make_unique<Cell[]>(CHUNK));
        for (size_t i = CHUNK; i-- > 0;) free_.push_back(&chunks_.back()[i]);
    }
    std::vector<std::unique_ptr<Cell[]>> chunks_;
    std::vector<void*> free_;
};

constexpr int STOCK_COUNT = 18;
constexpr int DEFAULT_BITMAP = STOCK_COUNT;  // the 1 x 1 bitmap of a new memory DC

// Everything the object layer keeps besides the handle table (gdi.h). It never starts
// again: handles and surfaces stay valid until the process ends.
struct Objects {
    Pool<Pen> pens;
    Pool<Brush> brushes;
    Pool<Font> fonts;
    Pool<Bitmap> bitmaps;
    Pool<DC> dcs;
    std::vector<uint32_t> free_slots;
    int live[static_cast<int>(ObjType::Count)] = {};
    HGDIOBJ stock[STOCK_COUNT + 1] = {};  // made on first use
    std::vector<Spare> spares;
    Surface nowhere;  // what a DC draws on once its window's surface is gone: nothing
};

// Never destroyed: objects refer to each other through the table while they go, a
// program's last objects live until the process ends, and surfaces may outlive it all.
Objects& objects() {
    static Objects* o = new Objects;
    return *o;
}

std::vector<Spare>& spares() { return objects().spares; }

size_t pixel_count(int w, int h) {
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    return n ? n : 1;
}

uint32_t* zeroed_pixels(size_t n) {
    auto& kept = spares();
    for (auto it = kept.begin(); it != kept.end(); ++it)
        if (it->count == n) {
            uint32_t* p = it->pixels;
            kept.erase(it);
            std::memset(p, 0, n * sizeof(uint32_t));
            return p;
        }
    return static_cast<uint32_t*>(std::calloc(n, sizeof(uint32_t)));
}

}  // namespace

void Surface::Free::operator()(uint32_t* p) const {
    if (!p) return;
    auto& kept = spares();
    size_t total = count;
    for (const Spare& s : kept) total += s.count;
    while (!kept.empty() && (kept.size() == SPARES_MAX || total > SPARE_PIXELS_MAX)) {
        total -= kept.front().count;
        std::free(kept.front().pixels);
        kept.erase(kept.begin());
    }
    if (total > SPARE_PIXELS_MAX) {
        std::free(p);
        return;
    }
    kept.push_back({p, count});
}

Surface::Surface(int w, int h)
    : width(w), height(h), stride(w), store_(zeroed_pixels(pixel_count(w, h)), Free{pixel_count(w, h)}) {
    if (!store_) throw std::bad_alloc();
    pixels = store_.get();
}

void Surface::resize(int w, int h) {
    if (w == width && h == height) return;
    if (w == width && h < height && h > 0) {
        // Fewer rows of the same width (a menu bar added): the rows that stay are where
        // they were, and the pixels need not move.
        height = h;
        damage = {0, 0, 0, 0};
        mark_all();
        return;
    }
    const size_t n = pixel_count(w, h);
    std::unique_ptr<uint32_t[], Free> fresh(zeroed_pixels(n), Free{n});
    if (!fresh) throw std::bad_alloc();
    if (width > 0 && height > 0) {
        // What stays inside keeps its pixels; what is new is white.
        for (int y = 0; y < h; ++y) {
            uint32_t* out = fresh.get() + static_cast<size_t>(y) * w;
            const int kept = y < height ? std::min(w, width) : 0;
            if (kept > 0) std::copy(row(y), row(y) + kept, out);
            std::fill(out + kept, out + w, 0xFFFFFFu);
        }
    }
    store_ = std::move(fresh);
    width = w;
    height = h;
    stride = w;
    pixels = store_.get();
    damage = {0, 0, 0, 0};
    mark_all();
}

HandleTable handle_table = {nullptr, 0};

namespace {

HGDIOBJ encode(uint64_t index, uint64_t generation) {
    return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>((generation << HANDLE_INDEX_BITS) | (index + 1)));
}

HGDIOBJ enter(GdiObject* object) {
    Objects& o = objects();
    uint64_t index;
    if (!o.free_slots.empty()) {
        index = o.free_slots.back();
        o.free_slots.pop_back();
    } else {
        HandleTable& t = handle_table;
        // As many entries as handles can name (a million where pointers have 32 bits):
        // beyond that, creating an object fails, as Win32's does at its own limit.
        if (t.size >= HANDLE_INDEX_MASK) return nullptr;
        // Grown by copying: nothing keeps a pointer to an entry across a call.
        const uint64_t capacity = std::min<uint64_t>(t.size == 0 ? 256 : t.size * 2, HANDLE_INDEX_MASK);
        auto* grown = new HandleSlot[capacity];
        std::copy(t.slots, t.slots + t.size, grown);
        delete[] t.slots;
        t.slots = grown;
        for (uint64_t i = capacity; i-- > t.size + 1;) o.free_slots.push_back(uint32_t(i));
        index = t.size;
        t.size = capacity;
    }
    HandleSlot& s = handle_table.slots[index];
    uint64_t generation = (s.tag >> 32) + 1;
    if (generation > HANDLE_GENERATION_MASK) generation = 1;
    s.tag = (generation << 32) | static_cast<uint64_t>(object->type);
    s.object = object;
    s.selections = 0;
    if (!object->stock) ++o.live[static_cast<int>(object->type)];
    object->handle = encode(index, generation);
    return object->handle;
}

void free_slot(HandleSlot& s) {
    Objects& o = objects();
    GdiObject* object = s.object;
    const uint64_t index = static_cast<uint64_t>(&s - handle_table.slots);
    // The entry is free before the object goes: a DC deselects its objects as it goes,
    // which may free their entries in turn.
    s.tag &= ~uint64_t(0xFFFFFFFF);
    s.object = nullptr;
    s.selections = 0;
    if (!object->stock) --o.live[static_cast<int>(object->type)];
    switch (object->type) {
        case ObjType::Pen: o.pens.destroy(static_cast<Pen*>(object)); break;
        case ObjType::Brush: o.brushes.destroy(static_cast<Brush*>(object)); break;
        case ObjType::Font: o.fonts.destroy(static_cast<Font*>(object)); break;
        case ObjType::Bitmap: o.bitmaps.destroy(static_cast<Bitmap*>(object)); break;
        case ObjType::DC: o.dcs.destroy(static_cast<DC*>(object)); break;
        default: break;
    }
    o.free_slots.push_back(static_cast<uint32_t>(index));
}

void note_selected(HGDIOBJ h) {
    if (HandleSlot* s = handle_slot(h)) ++s->selections;
}

void note_deselected(HGDIOBJ h) {
    HandleSlot* s = handle_slot(h);
    if (!s) return;
    if (s->selections > 0) --s->selections;
    if (s->selections == 0 && (s->tag & DELETE_PENDING)) free_slot(*s);
}

HGDIOBJ make_stock(int which) {
    switch (which) {
        case WHITE_BRUSH:
        case LTGRAY_BRUSH:
        case GRAY_BRUSH:
        case DKGRAY_BRUSH:
        case BLACK_BRUSH:
        case NULL_BRUSH: {
            static const BYTE gray[] = {255, 192, 128, 64, 0, 0};
            Brush* b = new_object<Brush>(true);
            b->style = which == NULL_BRUSH ? BS_NULL : BS_SOLID;
            b->color = RGB(gray[which], gray[which], gray[which]);
            return b->handle;
        }
        case WHITE_PEN:
        case BLACK_PEN:
        case NULL_PEN: {
            Pen* p = new_object<Pen>(true);
            p->style = which == NULL_PEN ? PS_NULL : PS_SOLID;
            p->width = 1;
            p->color = which == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0);
            return p->handle;
        }
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case ANSI_VAR_FONT:
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
        case SYSTEM_FIXED_FONT:
        case DEFAULT_GUI_FONT: {
            Font* f = new_object<Font>(true);
            bool fixed = which == OEM_FIXED_FONT || which == ANSI_FIXED_FONT ||
                         which == SYSTEM_FIXED_FONT;
            f->fixed_pitch = fixed;
            f->height = which == DEFAULT_GUI_FONT ? -11 : 16;
            f->weight = which == SYSTEM_FONT ? FW_BOLD : FW_NORMAL;
            // GDI's default faces from the font table, as every text must come out the same.
            std::strcpy(f->face_name, default_face_name(fixed));
            return f->handle;
        }
        default:
            return nullptr;
    }
}

HGDIOBJ stock_object(int which) {
    if (which < 0 || which > STOCK_COUNT) return nullptr;
    HGDIOBJ* stock = objects().stock;
    if (!stock[which]) {
        if (which == DEFAULT_BITMAP) {
            Bitmap* b = new_bitmap(1, 1, true);
            b->surface.row(0)[0] = 0xFFFFFF;
            stock[which] = b->handle;
        } else {
            stock[which] = make_stock(which);
        }
    }
    return stock[which];
}

// Very large bitmaps are refused rather than allocated.
constexpr int64_t MAX_BITMAP_PIXELS = int64_t(1) << 27;

}  // namespace

template <class T>
T* new_object(bool stock) {
    Objects& o = objects();
    T* object;
    if constexpr (std::is_same_v<T, Pen>) object = o.pens.make();
    else if constexpr (std::is_same_v<T, Brush>) object = o.brushes.make();
    else if constexpr (std::is_same_v<T, Font>) object = o.fonts.make();
    else object = o.dcs.make();
    object->stock = stock;
    if (!enter(object)) {
        if constexpr (std::is_same_v<T, Pen>) o.pens.destroy(object);
        else if constexpr (std::is_same_v<T, Brush>) o.brushes.destroy(object);
        else if constexpr (std::is_same_v<T, Font>) o.fonts.destroy(object);
        else o.dcs.destroy(object);
        return nullptr;
    }
    return object;
}
template Pen* new_object<Pen>(bool);
template Brush* new_object<Brush>(bool);
template Font* new_object<Font>(bool);
template DC* new_object<DC>(bool);

Bitmap* new_bitmap(int width, int height, bool stock) {
    Bitmap* b = objects().bitmaps.make(width, height);
    b->stock = stock;
    if (!enter(b)) {
        objects().bitmaps.destroy(b);
        return nullptr;
    }
    return b;
}

int live_objects(ObjType type) { return objects().live[static_cast<int>(type)]; }

int live_objects_total() {
    int n = 0;
    for (int i = 1; i < static_cast<int>(ObjType::Count); ++i) n += objects().live[i];
    return n;
}

DC::DC() : GdiObject(ObjType::DC) {
    pen = stock_object(BLACK_PEN);
    brush = stock_object(WHITE_BRUSH);
    font = stock_object(SYSTEM_FONT);
    note_selected(pen);
    note_selected(brush);
    note_selected(font);
    pen_selected(*this, *static_cast<Pen*>(lookup(pen)));
    brush_selected(*this, *static_cast<Brush*>(lookup(brush)));
}

DC::~DC() {
    note_deselected(pen);
    note_deselected(brush);
    note_deselected(font);
    if (bitmap_handle) {
        if (bitmap) bitmap->selected_into = 0;
        note_deselected(bitmap_handle);
    }
}

void detach_surface_dcs(const Surface* surface) {
    Surface* nowhere = &objects().nowhere;
    for (uint64_t i = 0; i < handle_table.size; ++i) {
        const HandleSlot& s = handle_table.slots[i];
        if ((s.tag & 0xFF) != static_cast<uint64_t>(ObjType::DC)) continue;
        auto* dc = static_cast<DC*>(s.object);
        if (dc->surface == surface && !dc->memory) dc->surface = nowhere;
    }
}

HDC create_surface_dc(Surface* surface) {
    DC* dc = new_object<DC>();
    if (!dc) return nullptr;
    dc->surface = surface;
    return static_cast<HDC>(dc->handle);
}

}  // namespace zp

using namespace zp;

extern "C" {

HGDIOBJ WINAPI GetStockObject(int which) {
    if (which == DEFAULT_BITMAP) return nullptr;  // not a public stock object
    return stock_object(which);
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    Pen* p = new_object<Pen>();
    if (!p) return nullptr;
    p->style = style == PS_NULL ? PS_NULL : PS_SOLID;
    p->width = width < 0 ? 0 : width;
    p->color = color & 0x00FFFFFF;
    return static_cast<HPEN>(p->handle);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    Brush* b = new_object<Brush>();
    if (!b) return nullptr;
    b->style = BS_SOLID;
    b->color = color & 0x00FFFFFF;
    return static_cast<HBRUSH>(b->handle);
}

HDC WINAPI CreateCompatibleDC(HDC) {
    DC* dc = new_object<DC>();
    if (!dc) return nullptr;
    dc->memory = true;
    HGDIOBJ bmp = stock_object(DEFAULT_BITMAP);
    dc->bitmap_handle = bmp;
    dc->bitmap = lookup_as<Bitmap>(bmp, ObjType::Bitmap);
    dc->surface = &dc->bitmap->surface;
    note_selected(bmp);
    return static_cast<HDC>(dc->handle);
}

BOOL WINAPI DeleteDC(HDC handle) {
    if (!lookup_dc(handle)) return FALSE;
    return DeleteObject(handle);
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (!lookup_dc(dc) || width < 0 || height < 0) return nullptr;
    if (width == 0 || height == 0) return static_cast<HBITMAP>(stock_object(DEFAULT_BITMAP));
    if (static_cast<int64_t>(width) * height > MAX_BITMAP_PIXELS) return nullptr;
    Bitmap* b = new_bitmap(width, height);
    return b ? static_cast<HBITMAP>(b->handle) : nullptr;
}

HGDIOBJ WINAPI SelectObject(HDC handle, HGDIOBJ object) {
    DC* dc = lookup_dc(handle);
    GdiObject* o = lookup(object);
    if (!dc || !o) return nullptr;
    HGDIOBJ* place = nullptr;
    switch (o->type) {
        case ObjType::Pen: place = &dc->pen; break;
        case ObjType::Brush: place = &dc->brush; break;
        case ObjType::Font: place = &dc->font; break;
        case ObjType::Bitmap: {
            if (!dc->memory) return nullptr;
            auto* bmp = static_cast<Bitmap*>(o);
            if (object == dc->bitmap_handle) return object;
            if (bmp->selected_into && !bmp->stock) return nullptr;
            HGDIOBJ previous = dc->bitmap_handle;
            if (dc->bitmap) dc->bitmap->selected_into = 0;
            bmp->selected_into = 1;
            dc->bitmap = bmp;
            dc->bitmap_handle = object;
            dc->surface = &bmp->surface;
            note_selected(object);
            note_deselected(previous);
            return previous;
        }
        default: return nullptr;
    }
    HGDIOBJ previous = *place;
    if (previous == object) return previous;
    *place = object;
    if (o->type == ObjType::Pen) pen_selected(*dc, *static_cast<Pen*>(o));
    if (o->type == ObjType::Brush) brush_selected(*dc, *static_cast<Brush*>(o));
    note_selected(object);
    note_deselected(previous);
    return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    HandleSlot* s = handle_slot(object);
    if (!s || (s->tag & DELETE_PENDING)) return FALSE;
    if (s->object->stock) return TRUE;
    if (s->selections > 0) {
        // As in Win32, deleting a selected object is deferred until it is deselected.
        s->tag |= DELETE_PENDING;
        return TRUE;
    }
    free_slot(*s);
    return TRUE;
}

COLORREF WINAPI SetTextColor(HDC handle, COLORREF color) {
    DC* dc = lookup_dc(handle);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->text_color;
    dc->text_color = color & 0x00FFFFFF;
    return previous;
}

COLORREF WINAPI SetBkColor(HDC handle, COLORREF color) {
    DC* dc = lookup_dc(handle);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->bk_color;
    dc->bk_color = color & 0x00FFFFFF;
    return previous;
}

COLORREF WINAPI GetBkColor(HDC handle) {
    DC* dc = lookup_dc(handle);
    return dc ? dc->bk_color : CLR_INVALID;
}

int WINAPI SetBkMode(HDC handle, int mode) {
    DC* dc = lookup_dc(handle);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    int previous = dc->bk_mode;
    dc->bk_mode = mode;
    return previous;
}

}  // extern "C"
