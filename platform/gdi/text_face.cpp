// Sized faces: FreeType faces at the pixel size a font asks for, their Win32 text
// metrics, and their rendered glyphs, all cached for the life of the process.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "text.h"

namespace zp {
namespace {

// Heights beyond this many pixels are clamped: a glyph image is height squared bytes.
constexpr int MAX_PIXEL_HEIGHT = 1000;
// GDI's default for a font created with height 0: a 16-pixel cell.
constexpr int DEFAULT_CELL_HEIGHT = 16;
// Rendered glyphs kept before the whole glyph cache is dropped and rebuilt on demand.
constexpr size_t GLYPH_BUDGET_BYTES = size_t(64) << 20;

constexpr BYTE FAMILY_ROMAN = 0x10, FAMILY_SWISS = 0x20, FAMILY_MODERN = 0x30,
               FAMILY_SCRIPT = 0x40, FAMILY_DECORATIVE = 0x50;

// ANSI (code page 1252) byte to Unicode; 0 for bytes with no character, which draw
// as the font's default glyph, as control characters do.
uint32_t unicode_of(unsigned char c) {
    static const uint16_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (c < 0x20 || c == 0x7F) return 0;
    if (c >= 0x80 && c < 0xA0) return high[c - 0x80];
    return c;
}

struct Glyph {
    bool rendered = false;
    int left = 0, top = 0, width = 0, rows = 0;
    std::unique_ptr<uint8_t[]> coverage;
};

struct SizedFace : FontFace {
    FT_Face ft = nullptr;
    FT_Size size = nullptr;
    int embolden = 0;  // extra stroke width in pixels, for bold the file lacks
    bool slant = false;
    FT_UInt index[256] = {};
    Glyph glyphs[256];
};

struct OpenedFace {
    FT_Face face = nullptr;
    std::string why;  // when face is null
};

// What makes two font requests equal, kept flat so that a lookup neither allocates
// nor compares more than a few words.
struct RequestKey {
    char name[LF_FACESIZE] = {};
    int height = 0;
    int weight = 0;
    bool italic = false;
    bool fixed = false;
    bool operator==(const RequestKey& o) const {
        return height == o.height && weight == o.weight && italic == o.italic &&
               fixed == o.fixed && std::strcmp(name, o.name) == 0;
    }
};

struct RequestHash {
    size_t operator()(const RequestKey& k) const {
        uint64_t h = 1469598103934665603ull;
        auto mix = [&h](uint64_t v) { h = (h ^ v) * 1099511628211ull; };
        for (const char* p = k.name; *p; ++p) mix(static_cast<unsigned char>(*p));
        mix(static_cast<uint32_t>(k.height));
        mix(static_cast<uint32_t>(k.weight) << 2 | k.italic << 1 | k.fixed);
        return static_cast<size_t>(h);
    }
};

// Everything the text module keeps. Apart from whether the missing font was reported,
// it is all caches, each a pure function of its key and the font files, so it never
// needs resetting; and it is never destroyed, because fonts point at its faces.
struct TextState {
    FT_Library library = nullptr;  // null when FreeType could not start
    bool no_font_reported = false;
    // Opened face files by path and index, sized faces by face, height, synthetic
    // weight and slant, stand-ins for when no font opens by height, and the faces of
    // font requests (an index over the others).
    std::map<std::pair<std::string, int>, OpenedFace> opened;
    std::map<std::tuple<FT_Face, int, int, bool>, std::unique_ptr<SizedFace>> sized;
    std::map<int, std::unique_ptr<FontFace>> fallback;
    std::unordered_map<RequestKey, const FontFace*, RequestHash> requests;
    size_t glyph_bytes = 0;  // of the glyphs rendered in the sized faces
};

TextState& text_state() {
    static TextState& state = *[] {
        auto* t = new TextState;
        if (FT_Init_FreeType(&t->library) != 0) t->library = nullptr;
        return t;
    }();
    return state;
}

FT_Library freetype() { return text_state().library; }

void report_no_font(const char* why) {
    if (text_state().no_font_reported) return;
    text_state().no_font_reported = true;
    std::fprintf(stderr, "zorve: no usable font (%s); text will not be drawn\n", why);
}

void drop_all_glyphs() {
    for (auto& [key, face] : text_state().sized)
        for (Glyph& g : face->glyphs) {
            g.coverage.reset();
            g.rendered = false;
        }
    text_state().glyph_bytes = 0;
}

// FreeType reads a face file through a descriptor the file was checked on.
unsigned long read_stream(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
    if (count == 0) return offset > stream->size ? 1 : 0;  // a seek: 0 when it stays inside
    const ssize_t n = pread(static_cast<int>(stream->descriptor.value), buffer, count, static_cast<off_t>(offset));
    return n > 0 ? static_cast<unsigned long>(n) : 0;
}

void close_stream(FT_Stream stream) {
    close(static_cast<int>(stream->descriptor.value));
    delete stream;
}

// A file cut short still opens: FreeType leaves out the tables that the cut reaches,
// and draws glyphs without outlines as empty ones. The glyph of 'A', where the font
// maps one, must have its outline.
bool glyphs_load(FT_Face face) {
    const FT_UInt a = FT_Get_Char_Index(face, 'A');
    return !a || (FT_Load_Glyph(face, a, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0 &&
                  face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && face->glyph->outline.n_points > 0);
}

// Opens a face, or says why it cannot be used. Only a regular file is opened: opening
// a pipe would wait for a writer, and reading a device has no end.
FT_Face open_face_file(const FaceFile& file, std::string* why) {
    const int fd = open(file.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = std::strerror(errno);
        return nullptr;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        *why = "not a regular file";
        return nullptr;
    }
    auto* stream = new FT_StreamRec{};
    stream->descriptor.value = fd;
    stream->size = static_cast<unsigned long>(info.st_size);
    stream->read = read_stream;
    stream->close = close_stream;
    FT_Open_Args args = {};
    args.flags = FT_OPEN_STREAM;
    args.stream = stream;
    FT_Face face = nullptr;
    if (!freetype() || FT_Open_Face(freetype(), &args, file.index, &face) != 0) {
        if (!freetype()) close_stream(stream);  // otherwise FreeType closed it
        *why = "FreeType cannot open it";
        return nullptr;
    }
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        *why = "FreeType finds no outlines in it";
    } else if (!glyphs_load(face)) {
        *why = "FreeType cannot load its glyphs";
    } else {
        return face;
    }
    FT_Done_Face(face);
    return nullptr;
}

const OpenedFace& opened_face(const FaceFile& file) {
    auto& faces = text_state().opened;
    auto key = std::make_pair(file.path, file.index);
    auto it = faces.find(key);
    if (it == faces.end()) {
        OpenedFace opened;
        opened.face = open_face_file(file, &opened.why);
        it = faces.emplace(key, std::move(opened)).first;
    }
    return it->second;
}

FT_Face open_face(const FaceFile& file) { return opened_face(file).face; }

int scale(long units, int ppem, int upem) {
    long long v = static_cast<long long>(units) * ppem;
    return static_cast<int>(v >= 0 ? (2 * v + upem) / (2 * upem) : -((-2 * v + upem) / (2 * upem)));
}

int face_weight(FT_Face ft) {
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->usWeightClass) return os2->usWeightClass;
    return (ft->style_flags & FT_STYLE_FLAG_BOLD) ? FW_BOLD : FW_NORMAL;
}

BYTE family_bits(FT_Face ft, const TT_OS2* os2) {
    if (FT_IS_FIXED_WIDTH(ft)) return FAMILY_MODERN;
    if (!os2 || os2->version == 0xFFFF) return FF_DONTCARE;
    switch (os2->panose[0]) {  // PANOSE family kind, then serif style
        case 2: return os2->panose[1] >= 11 && os2->panose[1] <= 13 ? FAMILY_SWISS
                       : os2->panose[1] >= 2 && os2->panose[1] <= 10 ? FAMILY_ROMAN
                                                                    : FF_DONTCARE;
        case 3: return FAMILY_SCRIPT;
        case 4: return FAMILY_DECORATIVE;
        default: return FF_DONTCARE;
    }
}

// Fills the metrics of a face at the size a request asks for. Negative heights ask for
// the em height, positive ones for the cell (ascent + descent), as in Win32.
void size_face(SizedFace& f, int height, int weight, bool italic, bool synthetic_bold) {
    FT_Face ft = f.ft;
    const int upem = ft->units_per_EM;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
    const bool have_os2 = os2 && os2->version != 0xFFFF;
    long asc_u = ft->ascender, desc_u = -ft->descender;
    if (have_os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        asc_u = os2->usWinAscent;
        desc_u = os2->usWinDescent;
    }
    if (asc_u + desc_u <= 0) {
        asc_u = upem * 4 / 5;
        desc_u = upem - asc_u;
    }
    int ppem, asc, desc;
    if (height < 0) {
        ppem = -height;
        asc = scale(asc_u, ppem, upem);
        desc = scale(desc_u, ppem, upem);
        asc = std::max(asc, ppem - desc);  // the cell always holds the em
    } else {
        // The largest em whose rounded cell fits; the rest goes to the ascent.
        ppem = static_cast<int>(static_cast<long long>(height) * upem / (asc_u + desc_u));
        ppem = std::clamp(ppem, 1, height);
        while (ppem > 1 && scale(asc_u, ppem, upem) + scale(desc_u, ppem, upem) > height) --ppem;
        desc = std::min(scale(desc_u, ppem, upem), height - 1);
        asc = height - desc;
    }
    FT_Activate_Size(f.size);
    FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(ppem));
    f.embolden = synthetic_bold ? std::max(1, ppem / 24) : 0;

    int max_advance = 0;
    for (int c = 0; c < 256; ++c) {
        uint32_t u = unicode_of(static_cast<unsigned char>(c));
        f.index[c] = u ? FT_Get_Char_Index(ft, u) : 0;
        FT_Fixed units = 0;
        FT_Get_Advance(ft, f.index[c], FT_LOAD_NO_SCALE, &units);
        f.advance[c] = scale(units, ppem, upem) + f.embolden;
        if (c >= 0x20) max_advance = std::max(max_advance, f.advance[c]);
    }
    f.max_overhang = ppem + f.embolden;

    TEXTMETRICA& tm = f.metrics;
    tm.tmHeight = asc + desc;
    tm.tmAscent = asc;
    tm.tmDescent = desc;
    tm.tmInternalLeading = tm.tmHeight - ppem;
    tm.tmExternalLeading = 0;
    if (have_os2 && hhea) {
        long gap = hhea->Line_Gap - ((asc_u + desc_u) - (hhea->Ascender - hhea->Descender));
        tm.tmExternalLeading = std::max(0, scale(gap, ppem, upem));
    }
    tm.tmAveCharWidth = have_os2 && os2->xAvgCharWidth > 0 ? scale(os2->xAvgCharWidth, ppem, upem)
                                                           : f.advance[static_cast<unsigned char>('x')];
    tm.tmAveCharWidth = std::max<LONG>(1, tm.tmAveCharWidth);
    tm.tmMaxCharWidth = std::max<LONG>(tm.tmAveCharWidth, max_advance);
    tm.tmWeight = f.embolden ? std::max(weight, FW_BOLD) : face_weight(ft);
    tm.tmOverhang = 0;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x1E;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = (italic || f.slant || (ft->style_flags & FT_STYLE_FLAG_ITALIC)) ? 255 : 0;
    // Win32's TMPF_FIXED_PITCH bit is set for variable-pitch faces.
    tm.tmPitchAndFamily = static_cast<BYTE>((FT_IS_FIXED_WIDTH(ft) ? 0 : TMPF_FIXED_PITCH) |
                                            TMPF_VECTOR | (FT_IS_SFNT(ft) ? TMPF_TRUETYPE : 0) |
                                            family_bits(ft, os2));
    tm.tmCharSet = ANSI_CHARSET;
    f.usable = true;
}

// Plausible metrics for when no font can be opened, so that layout code that divides
// by the line height keeps working while nothing is drawn.
const FontFace& fallback_face(int height) {
    auto& slot = text_state().fallback[height];
    if (!slot) {
        slot = std::make_unique<FontFace>();
        const int cell = height > 0 ? height : std::max(1, -height * 7 / 6);
        const int em = height > 0 ? std::max(1, height * 6 / 7) : -height;
        TEXTMETRICA& tm = slot->metrics;
        tm.tmHeight = cell;
        tm.tmDescent = cell / 5;
        tm.tmAscent = cell - tm.tmDescent;
        tm.tmInternalLeading = cell - em;
        tm.tmAveCharWidth = std::max(1, em / 2);
        tm.tmMaxCharWidth = std::max(1, em);
        tm.tmWeight = FW_NORMAL;
        tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
        tm.tmFirstChar = 0x1E;
        tm.tmLastChar = 0xFF;
        tm.tmDefaultChar = 0x1F;
        tm.tmBreakChar = 0x20;
        tm.tmPitchAndFamily = TMPF_FIXED_PITCH;
        tm.tmCharSet = ANSI_CHARSET;
        std::fill(std::begin(slot->advance), std::end(slot->advance), tm.tmAveCharWidth);
    }
    return *slot;
}

const FontFace& resolve(const Font& font, int height) {
    FaceFile file;
    if (!match_face_file(font.face_name, font.weight, font.italic, font.fixed_pitch, &file)) {
        report_no_font("fontconfig found no font");
        return fallback_face(height);
    }
    FT_Face ft = open_face(file);
    if (!ft) {
        std::string why = file.path + ": " + opened_face(file).why;
        report_no_font(why.c_str());
        return fallback_face(height);
    }
    // Styles the file lacks are synthesized, as GDI does: the file decides, not
    // fontconfig's configuration.
    const bool embolden = font.weight >= 600 && face_weight(ft) < 600;
    const bool slant = font.italic && !(ft->style_flags & FT_STYLE_FLAG_ITALIC);
    auto key = std::make_tuple(ft, height, embolden ? std::max(font.weight, FW_BOLD) : 0, slant);
    auto& slot = text_state().sized[key];
    if (!slot) {
        auto f = std::make_unique<SizedFace>();
        f->ft = ft;
        f->slant = slant;
        if (FT_New_Size(ft, &f->size) != 0) {
            text_state().sized.erase(key);
            report_no_font("FreeType cannot size a face");
            return fallback_face(height);
        }
        size_face(*f, height, font.weight, font.italic, embolden);
        slot = std::move(f);
    }
    return *slot;
}

int normalized_height(int height) {
    if (height == 0) return DEFAULT_CELL_HEIGHT;
    if (height > 0) return std::min(height, MAX_PIXEL_HEIGHT);
    return height < -MAX_PIXEL_HEIGHT ? -MAX_PIXEL_HEIGHT : height;
}

}  // namespace

const FontFace& font_face(Font& font) {
    if (font.face) return *font.face;
    auto& requests = text_state().requests;
    RequestKey key;
    std::memcpy(key.name, font.face_name, sizeof key.name);
    key.name[LF_FACESIZE - 1] = 0;
    key.height = normalized_height(font.height);
    key.weight = font.weight;
    key.italic = font.italic;
    key.fixed = font.fixed_pitch;
    auto it = requests.find(key);
    if (it == requests.end()) {
        if (requests.size() >= 4096) requests.clear();  // faces stay; only the index goes
        it = requests.emplace(key, &resolve(font, key.height)).first;
    }
    font.face = it->second;
    return *font.face;
}

bool face_file_usable(const FaceFile& file, std::string* why) {
    const OpenedFace& opened = opened_face(file);
    if (!opened.face && why) *why = opened.why;
    return opened.face != nullptr;
}

GlyphImage glyph_image(const FontFace& face, unsigned char byte) {
    if (!face.usable) return {};
    // Only SizedFaces are usable.
    auto& f = const_cast<SizedFace&>(static_cast<const SizedFace&>(face));
    Glyph& g = f.glyphs[byte];
    if (!g.rendered) {
        if (text_state().glyph_bytes > GLYPH_BUDGET_BYTES) drop_all_glyphs();
        g.rendered = true;
        FT_Activate_Size(f.size);
        FT_GlyphSlot slot = f.ft->glyph;
        if (FT_Load_Glyph(f.ft, f.index[byte], FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP) == 0 &&
            slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (f.slant) {
                FT_Matrix shear = {0x10000, 0x0366A, 0, 0x10000};  // about 12 degrees
                FT_Outline_Transform(&slot->outline, &shear);
            }
            if (f.embolden) FT_Outline_EmboldenXY(&slot->outline, f.embolden * 64, 0);
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
                slot->bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                const FT_Bitmap& b = slot->bitmap;
                g.left = slot->bitmap_left;
                g.top = slot->bitmap_top;
                g.width = static_cast<int>(b.width);
                g.rows = static_cast<int>(b.rows);
                const size_t pitch = size_t(g.width) + GLYPH_ROW_PADDING;
                if (g.width > 0 && g.rows > 0) {
                    const size_t bytes = pitch * size_t(g.rows);
                    g.coverage = std::make_unique<uint8_t[]>(bytes);  // zeroed
                    for (int r = 0; r < g.rows; ++r)
                        std::memcpy(g.coverage.get() + size_t(r) * pitch,
                                    b.buffer + static_cast<ptrdiff_t>(r) * b.pitch,
                                    size_t(g.width));
                    text_state().glyph_bytes += bytes;
                }
            }
        }
    }
    GlyphImage image;
    if (g.coverage) {
        image.left = g.left;
        image.top = g.top;
        image.width = g.width;
        image.rows = g.rows;
        image.pitch = g.width + GLYPH_ROW_PADDING;
        image.coverage = g.coverage.get();
    }
    return image;
}

}  // namespace zp
