// The GIF encoder: frames indexed here, each image with a colour table of its own, and
// written through giflib's sequential calls into memory.
#include "gif_codec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace codec {
namespace {

constexpr uint32_t RGB_MASK = 0xFFFFFFu;
// What a viewer shows for at least this long; shorter delays are slowed down to 100 ms
// by browsers.
constexpr int SHORTEST_DELAY_CS = 2;

GifFileType* file_of(GifAnimation* gif) { return static_cast<GifFileType*>(gif->file); }

int append(GifFileType* file, const GifByteType* data, int length) {
    auto* gif = static_cast<GifAnimation*>(file->UserData);
    gif->bytes.insert(gif->bytes.end(), data, data + length);
    return length;
}

// A set of at most 256 colours, each with its index in the order they came, found by an
// open-addressed hash (a frame's rectangle is looked up pixel by pixel).
struct ColorSet {
    static constexpr int SLOTS = 1024;  // a power of two, four times the most kept
    uint32_t key[SLOTS];
    int index[SLOTS];
    uint32_t colors[256];
    int count = 0;
    bool overflow = false;  // more than 256 were offered

    ColorSet() { std::memset(index, -1, sizeof index); }
    int slot_of(uint32_t c) const {
        int s = static_cast<int>((c * 2654435761u) >> 22);
        while (index[s] >= 0 && key[s] != c) s = (s + 1) & (SLOTS - 1);
        return s;
    }
    int find(uint32_t c) const { return index[slot_of(c)]; }
    void add(uint32_t c) {
        const int s = slot_of(c);
        if (index[s] >= 0) return;
        if (count == 256) {
            overflow = true;
            return;
        }
        key[s] = c;
        index[s] = count;
        colors[count++] = c;
    }
};

bool put_loop_forever(GifFileType* file) {
    const GifByteType loop[3] = {1, 0, 0};  // sub-block 1: repeat count 0, for ever
    return EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(file, 11, "NETSCAPE2.0") == GIF_OK &&
           EGifPutExtensionBlock(file, 3, loop) == GIF_OK && EGifPutExtensionTrailer(file) == GIF_OK;
}

// One image: its place, its colours (the transparent index after them, if any) and its
// pixels as indices, row by row.
struct Image {
    int x = 0, y = 0, w = 0, h = 0;
    const uint32_t* colors = nullptr;
    int color_count = 0;
    int transparent = -1;
    int delay_cs = SHORTEST_DELAY_CS;
    const GifPixelType* indices = nullptr;
};

bool put_image(GifFileType* file, const Image& image) {
    GraphicsControlBlock control = {};
    control.DisposalMode = DISPOSE_DO_NOT;  // each image is drawn over what is shown
    control.DelayTime = std::clamp(image.delay_cs, SHORTEST_DELAY_CS, 0xFFFF);
    control.TransparentColor = image.transparent;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_OK) return false;
    const int entries = image.color_count + (image.transparent >= 0 ? 1 : 0);
    int size = 2;
    while (size < entries) size *= 2;
    GifColorType colors[256] = {};
    for (int i = 0; i < image.color_count; ++i) {
        const uint32_t c = image.colors[i];
        colors[i] = {GifByteType(c >> 16), GifByteType(c >> 8), GifByteType(c)};
    }
    ColorMapObject* map = GifMakeMapObject(size, colors);
    if (!map) return false;
    bool ok = EGifPutImageDesc(file, image.x, image.y, image.w, image.h, false, map) == GIF_OK;
    GifFreeMapObject(map);
    for (int row = 0; row < image.h && ok; ++row)
        ok = EGifPutLine(file, const_cast<GifPixelType*>(image.indices) + size_t(row) * size_t(image.w), image.w) ==
             GIF_OK;
    return ok;
}

// A rectangle of pixels given by the caller, and the same place in what is shown.
struct Area {
    const uint32_t* pixels;
    int stride, x, y, w, h;
    const uint32_t* row(int r) const { return pixels + ptrdiff_t(r) * stride; }
    uint32_t at(int col, int r) const { return row(r)[col] & RGB_MASK; }
};
uint32_t* shown_row(GifAnimation* gif, const Area& a, int row) {
    return gif->shown.data() + size_t(a.y + row) * size_t(gif->width) + size_t(a.x);
}
uint32_t* shown_at(GifAnimation* gif, const Area& a, int col, int row) { return shown_row(gif, a, row) + col; }

// The common frame: at most 256 colours to write (with the transparent index for the
// pixels a viewer shows already), so one image. False when it needs more.
bool try_one_image(GifAnimation* gif, const Area& a, int delay_cs, bool* ok) {
    ColorSet colors;
    bool any_shown = false;
    const bool first = gif->frames == 0;
    uint32_t last = ~0u;  // runs of one colour are the rule: a colour is added once a run
    for (int row = 0; row < a.h; ++row) {
        const uint32_t* in = a.row(row);
        const uint32_t* shown = shown_row(gif, a, row);
        for (int col = 0; col < a.w; ++col) {
            const uint32_t c = in[col] & RGB_MASK;
            if (!first && c == shown[col])
                any_shown = true;
            else if (c != last)
                colors.add(last = c);
        }
        if (colors.overflow) return false;
    }
    if (colors.count + any_shown > 256) return false;
    std::vector<GifPixelType> indices(size_t(a.w) * size_t(a.h));
    const int transparent = any_shown ? colors.count : -1;
    last = ~0u;
    int last_index = 0;
    for (int row = 0; row < a.h; ++row) {
        const uint32_t* in = a.row(row);
        uint32_t* shown = shown_row(gif, a, row);
        GifPixelType* out = indices.data() + size_t(row) * size_t(a.w);
        for (int col = 0; col < a.w; ++col) {
            const uint32_t c = in[col] & RGB_MASK;
            if (transparent >= 0 && c == shown[col]) {
                out[col] = static_cast<GifPixelType>(transparent);
                continue;
            }
            if (c != last) last_index = colors.find(last = c);
            out[col] = static_cast<GifPixelType>(last_index);
            shown[col] = c;
        }
    }
    Image image{a.x, a.y, a.w, a.h, colors.colors, colors.count, transparent, delay_cs, indices.data()};
    *ok = put_image(file_of(gif), image);
    return true;
}

uint32_t distance(uint32_t a, uint32_t b) {
    const int dr = int(a >> 16 & 0xFF) - int(b >> 16 & 0xFF), dg = int(a >> 8 & 0xFF) - int(b >> 8 & 0xFF),
              db = int(a & 0xFF) - int(b & 0xFF);
    return uint32_t(dr * dr + dg * dg + db * db);
}

// A frame of more colours than one image holds: images one after the other, each with
// the most used of the colours still to write (the kept ones first) and the others at
// their nearest, each next one putting right the pixels the ones before could not hold,
// the rest of it transparent. The images before the last show for the shortest delay.
bool put_layers(GifAnimation* gif, const Area& a, int delay_cs) {
    std::vector<uint8_t> todo(size_t(a.w) * size_t(a.h));  // 1: not yet shown exactly
    bool any_shown = false;
    for (int row = 0; row < a.h; ++row)
        for (int col = 0; col < a.w; ++col) {
            const bool shown = gif->frames > 0 && a.at(col, row) == *shown_at(gif, a, col, row);
            todo[size_t(row) * size_t(a.w) + size_t(col)] = !shown;
            any_shown = any_shown || shown;
        }
    std::vector<GifPixelType> indices;
    for (int layer = 0; layer < GIF_LAYERS_MAX; ++layer) {
        // The colours still to write, how often, and where.
        std::unordered_map<uint32_t, int> counts;
        int left = a.w, right = -1, top = a.h, bottom = -1;
        for (int row = 0; row < a.h; ++row)
            for (int col = 0; col < a.w; ++col) {
                if (!todo[size_t(row) * size_t(a.w) + size_t(col)]) continue;
                ++counts[a.at(col, row)];
                left = std::min(left, col), right = std::max(right, col);
                top = std::min(top, row), bottom = std::max(bottom, row);
            }
        if (counts.empty()) return true;
        const bool transparent = layer > 0 || any_shown;
        const size_t room = transparent ? 255 : 256;
        std::vector<std::pair<uint32_t, int>> by_use(counts.begin(), counts.end());
        const auto kept = [&](uint32_t c) { return std::find(gif->kept.begin(), gif->kept.end(), c) != gif->kept.end(); };
        std::sort(by_use.begin(), by_use.end(), [&](const auto& p, const auto& q) {
            if (kept(p.first) != kept(q.first)) return kept(p.first);
            return p.second != q.second ? p.second > q.second : p.first < q.first;
        });
        const bool last = by_use.size() <= room || layer == GIF_LAYERS_MAX - 1;
        if (by_use.size() > room) by_use.resize(room);
        std::vector<uint32_t> palette;
        std::unordered_map<uint32_t, int> index_of;
        for (const auto& [c, n] : by_use) {
            index_of[c] = int(palette.size());
            palette.push_back(c);
        }
        const int w = right - left + 1, h = bottom - top + 1;
        indices.assign(size_t(w) * size_t(h), GifPixelType(palette.size()));  // transparent
        for (int row = 0; row < h; ++row)
            for (int col = 0; col < w; ++col) {
                const size_t at = size_t(top + row) * size_t(a.w) + size_t(left + col);
                if (!todo[at]) continue;
                const uint32_t c = a.at(left + col, top + row);
                auto found = index_of.find(c);
                if (found == index_of.end()) {
                    // Not in this image: its nearest colour until an image puts it right.
                    int best = 0;
                    for (int i = 1; i < int(palette.size()); ++i)
                        if (distance(c, palette[size_t(i)]) < distance(c, palette[size_t(best)])) best = i;
                    found = index_of.emplace(c, best).first;
                } else if (palette[size_t(found->second)] == c) {
                    todo[at] = 0;
                }
                indices[size_t(row) * size_t(w) + size_t(col)] = GifPixelType(found->second);
                *shown_at(gif, a, left + col, top + row) = palette[size_t(found->second)];
            }
        Image image{a.x + left, a.y + top, w, h, palette.data(), int(palette.size()), transparent ? int(palette.size()) : -1,
                    last ? delay_cs - SHORTEST_DELAY_CS * layer : SHORTEST_DELAY_CS, indices.data()};
        if (!put_image(file_of(gif), image)) return false;
        if (last) return true;
    }
    return true;
}

}  // namespace

bool gif_begin(GifAnimation* gif, int width, int height, const uint32_t* kept, int kept_count) {
    gif_abandon(gif);
    if (width < 1 || height < 1 || width > 0xFFFF || height > 0xFFFF || kept_count < 0 ||
        kept_count > GIF_KEPT_COLORS_MAX)
        return false;
    gif->width = width;
    gif->height = height;
    for (int i = 0; i < kept_count; ++i) gif->kept.push_back(kept[i] & RGB_MASK);
    gif->shown.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    int error = 0;
    GifFileType* file = EGifOpen(gif, append, &error);
    if (!file) return false;
    gif->file = file;
    EGifSetGifVersion(file, true);
    if (EGifPutScreenDesc(file, width, height, 8, 0, nullptr) != GIF_OK || !put_loop_forever(file)) {
        gif_abandon(gif);
        return false;
    }
    return true;
}

bool gif_add_frame(GifAnimation* gif, const uint32_t* pixels, int stride, int x, int y, int w, int h,
                   int delay_cs) {
    GifFileType* file = file_of(gif);
    if (!file || gif->failed) return false;
    const bool whole = x == 0 && y == 0 && w == gif->width && h == gif->height;
    const bool empty = w == 0 || h == 0;
    const bool inside = x >= 0 && y >= 0 && w >= 0 && h >= 0 && x <= gif->width - w && y <= gif->height - h;
    if (!inside || (gif->frames == 0 && !whole) || (!empty && (!pixels || stride < w))) {
        gif->failed = true;
        return false;
    }
    bool ok = true;
    if (empty) {
        // Nothing changed: one transparent pixel holds the frame's time.
        const uint32_t black = 0;
        const GifPixelType transparent = 1;
        ok = put_image(file, Image{0, 0, 1, 1, &black, 1, 1, delay_cs, &transparent});
    } else {
        const Area area{pixels, stride, x, y, w, h};
        if (!try_one_image(gif, area, delay_cs, &ok)) ok = put_layers(gif, area, delay_cs);
    }
    ++gif->frames;
    gif->failed = !ok;
    return ok;
}

bool gif_finish(GifAnimation* gif, std::vector<uint8_t>* out) {
    out->clear();
    GifFileType* file = file_of(gif);
    if (!file) return false;
    gif->file = nullptr;
    int error = 0;
    const bool closed = EGifCloseFile(file, &error) == GIF_OK;
    const bool whole = closed && !gif->failed && gif->frames > 0;
    if (whole) out->swap(gif->bytes);
    *gif = GifAnimation{};
    return whole;
}

void gif_abandon(GifAnimation* gif) {
    if (GifFileType* file = file_of(gif)) {
        int error = 0;
        EGifCloseFile(file, &error);
    }
    *gif = GifAnimation{};
}

}  // namespace codec
