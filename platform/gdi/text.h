// Inside of the text module: fonts resolved to sized faces, and their glyph images.
//
// A Font object only records the request; the first text call that uses it resolves
// it to a FontFace through a chain of caches (request -> font file -> FreeType
// face -> size), so creating and deleting a font per drawing costs a hash lookup.
// FontFaces live as long as the process: Font objects point at them.
#ifndef ZORVE_PLATFORM_GDI_TEXT_H
#define ZORVE_PLATFORM_GDI_TEXT_H

#include <cstdint>
#include <string>

#include "gdi.h"

namespace zp {

// Coverage of one character, 0 (none) to 255 (full), one byte per pixel, row-major.
// Each row is followed by GLYPH_ROW_PADDING zero bytes, so that eight coverage bytes
// can be read from any pixel of a row at once.
constexpr int GLYPH_ROW_PADDING = 8;
struct GlyphImage {
    int left = 0;  // of the image, from the pen position
    int top = 0;   // of the image, above the baseline
    int width = 0;
    int rows = 0;
    int pitch = 0;  // bytes from one row to the next
    const uint8_t* coverage = nullptr;
};

// A face at one pixel size, with everything an ANSI text call needs.
struct FontFace {
    TEXTMETRICA metrics = {};
    int advance[256] = {};  // pen advance of each ANSI byte, in pixels
    int max_overhang = 0;   // bound on how far a glyph image reaches outside its cell
    bool usable = false;    // false: no font could be opened; text draws nothing
};

// The face a font resolves to (cached in font.face). Never fails: without any usable
// font it returns a face with plausible metrics and usable == false.
const FontFace& font_face(Font& font);

// The image of one byte's glyph, rendered on first use. Valid until the next call.
GlyphImage glyph_image(const FontFace& face, unsigned char byte);

// Where a face lives: a font file and the face inside it.
struct FaceFile {
    std::string path;
    int index = 0;
};

// The file that answers a request for a face name, weight, slant and pitch (cached):
// the project's table for the names it knows, fontconfig for a face installed under
// the name asked for, and GDI's default face for any other name. False when no font
// can be found at all.
bool match_face_file(const char* family, int weight, bool italic, bool fixed_pitch,
                     FaceFile* out);

// Whether FreeType can draw with a face file (opened once and kept): a regular file
// that opens and whose glyphs load. If not, `why` says why.
bool face_file_usable(const FaceFile& file, std::string* why);

// The project's fixed table of faces (font_table.cpp).
enum class TableMatch { Found, NotInTable, FileMissing };
TableMatch table_face_file(const char* family, int weight, bool italic, FaceFile* out);
// The name GDI's mapper falls back on: its default face, or a fixed-pitch one.
const char* default_face_name(bool fixed_pitch);

}  // namespace zp

#endif
