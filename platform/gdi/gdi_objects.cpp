// GDI objects: the handle table, stock objects, pens, brushes, bitmaps, device
// contexts, selection and deletion.
#include <algorithm>
#include <cstring>

#include "counts.h"
#include "gdi.h"

namespace zp {

Surface::Surface(int w, int h) : width(w), height(h), stride(w) {
    store_.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    pixels = store_.data();
}

void Surface::resize(int w, int h) {
    if (w == width && h == height) return;
    std::vector<uint32_t> fresh(static_cast<size_t>(w) * static_cast<size_t>(h), 0xFFFFFF);
    for (int y = 0; y < std::min(h, height); ++y)
        std::copy(row(y), row(y) + std::min(w, width), fresh.data() + static_cast<size_t>(y) * w);
    store_.swap(fresh);
    width = w;
    height = h;
    stride = w;
    pixels = store_.data();
    damage = {0, 0, 0, 0};
    mark_all();
}

namespace {

struct Slot {
    std::unique_ptr<GdiObject> object;
    uint32_t generation = 1;
    int selections = 0;       // how many DCs have it selected
    bool delete_pending = false;  // deleted while selected: freed on the last deselect
};

struct Table {
    std::vector<Slot> slots;
    std::vector<uint32_t> free_slots;
    int live[static_cast<int>(ObjType::Count)] = {};
};

// Never destroyed: objects refer to each other through the table while they go, and
// a program's last objects live until the process ends.
Table& table() {
    static Table* t = new Table;
    return *t;
}

// A handle is the slot's index + 1 with the slot's generation above it: 32 bits each
// where pointers have 64; where they have 32 (WebAssembly), 20 bits of index and the
// generation's low 12.
constexpr int INDEX_BITS = sizeof(uintptr_t) >= 8 ? 32 : 20;
constexpr uint64_t INDEX_MASK = (uint64_t(1) << INDEX_BITS) - 1;
constexpr uint64_t GENERATION_MASK = sizeof(uintptr_t) >= 8 ? 0xFFFFFFFFu : 0xFFFu;

HGDIOBJ encode(size_t index, uint32_t generation) {
    uint64_t v = ((generation & GENERATION_MASK) << INDEX_BITS) | (static_cast<uint64_t>(index) + 1);
    return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(v));
}

Slot* slot_of(HGDIOBJ handle) {
    uint64_t v = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle));
    uint64_t index = (v & INDEX_MASK);
    if (index == 0) return nullptr;
    Table& t = table();
    if (index > t.slots.size()) return nullptr;
    Slot& s = t.slots[index - 1];
    if (!s.object || (s.generation & GENERATION_MASK) != ((v >> INDEX_BITS) & GENERATION_MASK)) return nullptr;
    return &s;
}

void free_slot(HGDIOBJ handle) {
    Table& t = table();
    uint64_t v = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(handle));
    size_t index = static_cast<size_t>(v & INDEX_MASK) - 1;
    Slot& s = t.slots[index];
    if (!s.object->stock) --t.live[static_cast<int>(s.object->type)];
    s.object.reset();
    s.delete_pending = false;
    s.selections = 0;
    ++s.generation;
    if (s.generation == 0) s.generation = 1;
    t.free_slots.push_back(static_cast<uint32_t>(index));
}

void note_selected(HGDIOBJ h) {
    if (Slot* s = slot_of(h)) ++s->selections;
}

void note_deselected(HGDIOBJ h) {
    Slot* s = slot_of(h);
    if (!s) return;
    if (s->selections > 0) --s->selections;
    if (s->selections == 0 && s->delete_pending) free_slot(h);
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
            auto b = std::make_unique<Brush>();
            b->style = which == NULL_BRUSH ? BS_NULL : BS_SOLID;
            b->color = RGB(gray[which], gray[which], gray[which]);
            b->stock = true;
            return register_object(std::move(b));
        }
        case WHITE_PEN:
        case BLACK_PEN:
        case NULL_PEN: {
            auto p = std::make_unique<Pen>();
            p->style = which == NULL_PEN ? PS_NULL : PS_SOLID;
            p->width = 1;
            p->color = which == WHITE_PEN ? RGB(255, 255, 255) : RGB(0, 0, 0);
            p->stock = true;
            return register_object(std::move(p));
        }
        case OEM_FIXED_FONT:
        case ANSI_FIXED_FONT:
        case ANSI_VAR_FONT:
        case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT:
        case SYSTEM_FIXED_FONT:
        case DEFAULT_GUI_FONT: {
            auto f = std::make_unique<Font>();
            bool fixed = which == OEM_FIXED_FONT || which == ANSI_FIXED_FONT ||
                         which == SYSTEM_FIXED_FONT;
            f->fixed_pitch = fixed;
            f->height = which == DEFAULT_GUI_FONT ? -11 : 16;
            f->weight = which == SYSTEM_FONT ? FW_BOLD : FW_NORMAL;
            // Fixed choices from the font table, as every text must come out the same.
            std::strcpy(f->face_name, fixed ? "Courier New" : "Arial");
            f->stock = true;
            return register_object(std::move(f));
        }
        default:
            return nullptr;
    }
}

constexpr int kStockCount = 18;
constexpr int kDefaultBitmap = kStockCount;  // the 1 x 1 bitmap of a new memory DC

HGDIOBJ stock_object(int which) {
    static HGDIOBJ objects[kStockCount + 1] = {};
    if (which < 0 || which > kStockCount) return nullptr;
    if (!objects[which]) {
        if (which == kDefaultBitmap) {
            auto b = std::make_unique<Bitmap>(1, 1);
            b->surface.row(0)[0] = 0xFFFFFF;
            b->stock = true;
            objects[which] = register_object(std::move(b));
        } else {
            objects[which] = make_stock(which);
        }
    }
    return objects[which];
}

// Very large bitmaps are refused rather than allocated.
constexpr int64_t kMaxBitmapPixels = int64_t(1) << 27;

}  // namespace

HGDIOBJ register_object(std::unique_ptr<GdiObject> object) {
    Table& t = table();
    size_t index;
    if (!t.free_slots.empty()) {
        index = t.free_slots.back();
        t.free_slots.pop_back();
    } else {
        index = t.slots.size();
        if (index >= INDEX_MASK) return nullptr;  // no handle left to give
        t.slots.emplace_back();
    }
    Slot& s = t.slots[index];
    if (!object->stock) ++t.live[static_cast<int>(object->type)];
    s.object = std::move(object);
    return encode(index, s.generation);
}

GdiObject* lookup(HGDIOBJ handle) {
    Slot* s = slot_of(handle);
    return (s && !s->delete_pending) ? s->object.get() : nullptr;
}

int live_objects(ObjType type) { return table().live[static_cast<int>(type)]; }

int live_objects_total() {
    int n = 0;
    for (int i = 1; i < static_cast<int>(ObjType::Count); ++i) n += table().live[i];
    return n;
}

DC::DC() : GdiObject(ObjType::DC) {
    pen = stock_object(BLACK_PEN);
    brush = stock_object(WHITE_BRUSH);
    font = stock_object(SYSTEM_FONT);
    note_selected(pen);
    note_selected(brush);
    note_selected(font);
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
    static Surface nowhere;
    for (Slot& s : table().slots) {
        if (!s.object || s.object->type != ObjType::DC) continue;
        auto* dc = static_cast<DC*>(s.object.get());
        if (dc->surface == surface && !dc->memory) dc->surface = &nowhere;
    }
}

HDC create_surface_dc(Surface* surface) {
    auto dc = std::make_unique<DC>();
    dc->surface = surface;
    return static_cast<HDC>(register_object(std::move(dc)));
}

}  // namespace zp

using namespace zp;

extern "C" {

HGDIOBJ WINAPI GetStockObject(int which) {
    if (which == kDefaultBitmap) return nullptr;  // not a public stock object
    return stock_object(which);
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    auto p = std::make_unique<Pen>();
    p->style = style == PS_NULL ? PS_NULL : PS_SOLID;
    p->width = width < 0 ? 0 : width;
    p->color = color & 0x00FFFFFF;
    return static_cast<HPEN>(register_object(std::move(p)));
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    auto b = std::make_unique<Brush>();
    b->style = BS_SOLID;
    b->color = color & 0x00FFFFFF;
    return static_cast<HBRUSH>(register_object(std::move(b)));
}

HDC WINAPI CreateCompatibleDC(HDC) {
    auto dc = std::make_unique<DC>();
    dc->memory = true;
    HGDIOBJ bmp = stock_object(kDefaultBitmap);
    dc->bitmap_handle = bmp;
    dc->bitmap = lookup_as<Bitmap>(bmp, ObjType::Bitmap);
    dc->surface = &dc->bitmap->surface;
    note_selected(bmp);
    return static_cast<HDC>(register_object(std::move(dc)));
}

BOOL WINAPI DeleteDC(HDC handle) {
    if (!lookup_dc(handle)) return FALSE;
    return DeleteObject(handle);
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (!lookup_dc(dc) || width < 0 || height < 0) return nullptr;
    if (width == 0 || height == 0) return static_cast<HBITMAP>(stock_object(kDefaultBitmap));
    if (static_cast<int64_t>(width) * height > kMaxBitmapPixels) return nullptr;
    return static_cast<HBITMAP>(register_object(std::make_unique<Bitmap>(width, height)));
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
    note_selected(object);
    note_deselected(previous);
    return previous;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    Slot* s = slot_of(object);
    if (!s || s->delete_pending) return FALSE;
    if (s->object->stock) return TRUE;
    if (s->selections > 0) {
        // As in Win32, deleting a selected object is deferred until it is deselected.
        s->delete_pending = true;
        return TRUE;
    }
    free_slot(object);
    return TRUE;
}

COLORREF WINAPI SetTextColor(HDC handle, COLORREF color) {
    DC* dc = lookup_dc(handle);
    if (!dc) return CLR_INVALID;
    COLORREF previous = dc->text_color;
    dc->text_color = color & 0x00FFFFFF;
    return previous;
}

COLORREF WINAPI GetTextColor(HDC handle) {
    DC* dc = lookup_dc(handle);
    return dc ? dc->text_color : CLR_INVALID;
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

int WINAPI GetBkMode(HDC handle) {
    DC* dc = lookup_dc(handle);
    return dc ? dc->bk_mode : 0;
}

}  // extern "C"
