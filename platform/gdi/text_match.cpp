// Font matching: which font file answers a request for a face name, weight, slant and
// pitch. The project's table decides for the names it holds; fontconfig finds a face
// installed under any other name; a name that nothing answers gets GDI's default face
// rather than a failure, as GDI's font mapper does.
#ifndef ZORVE_NO_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif
#include <strings.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "text.h"

namespace zp {
namespace {

#ifndef ZORVE_NO_FONTCONFIG
bool fontconfig_ready() {
    static const bool ready = FcInit() == FcTrue;
    return ready;
}

bool is_monospaced(FcPattern* p) {
    int spacing = FC_PROPORTIONAL;
    FcPatternGetInteger(p, FC_SPACING, 0, &spacing);
    return spacing >= FC_MONO;
}

bool has_family(FcPattern* p, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(p, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        if (strcasecmp(reinterpret_cast<const char*>(name), family) == 0) return true;
    return false;
}

bool is_scalable(FcPattern* p) {
    FcBool scalable = FcTrue;
    FcPatternGetBool(p, FC_SCALABLE, 0, &scalable);
    return scalable == FcTrue;
}

// The best match for a prepared pattern, or the best scalable one when the best is a
// bitmap font (those have no sizes to scale to). Caller destroys the result.
FcPattern* best_match(FcPattern* request) {
    FcResult result;
    FcPattern* best = FcFontMatch(nullptr, request, &result);
    if (!best || is_scalable(best)) return best;
    FcPatternDestroy(best);
    best = nullptr;
    if (FcFontSet* sorted = FcFontSort(nullptr, request, FcFalse, nullptr, &result)) {
        for (int i = 0; i < sorted->nfont && !best; ++i)
            if (is_scalable(sorted->fonts[i]))
                best = FcFontRenderPrepare(nullptr, request, sorted->fonts[i]);
        FcFontSetDestroy(sorted);
    }
    return best;
}

FcPattern* match(const char* family, int weight, bool italic, bool fixed_pitch) {
    FcPattern* request = FcPatternCreate();
    if (family && *family)
        FcPatternAddString(request, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(request, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(request, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (fixed_pitch) FcPatternAddInteger(request, FC_SPACING, FC_MONO);
    FcPatternAddBool(request, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, request, FcMatchPattern);
    FcDefaultSubstitute(request);
    FcPattern* best = best_match(request);
    FcPatternDestroy(request);
    return best;
}

std::optional<FaceFile> file_of(FcPattern* best) {
    if (!best) return std::nullopt;
    FaceFile file;
    FcChar8* path = nullptr;
    if (FcPatternGetString(best, FC_FILE, 0, &path) == FcResultMatch && path)
        file.path = reinterpret_cast<const char*>(path);
    FcPatternGetInteger(best, FC_INDEX, 0, &file.index);
    FcPatternDestroy(best);
    if (file.path.empty()) return std::nullopt;
    return file;
}

// A face installed under exactly this family name, whatever fontconfig would
// substitute for a name it lacks.
std::optional<FaceFile> installed_face(const char* family, int weight, bool italic) {
    if (!family || !*family || !fontconfig_ready()) return std::nullopt;
    FcPattern* best = match(family, weight, italic, false);
    if (best && !has_family(best, family)) {
        FcPatternDestroy(best);
        best = nullptr;
    }
    return file_of(best);
}

// Fontconfig's own choice, for when the table's files are missing: a fixed-pitch
// request gets a monospaced face, any name the system lacks Arial's stand-in.
std::optional<FaceFile> fontconfig_choice(const char* family, int weight, bool italic,
                                          bool fixed_pitch) {
    if (!fontconfig_ready()) return std::nullopt;
    FcPattern* best = match(family, weight, italic, fixed_pitch);
    if (best && fixed_pitch && !is_monospaced(best) && !(family && has_family(best, family))) {
        FcPatternDestroy(best);
        best = match("monospace", weight, italic, true);
    } else if (best && !fixed_pitch && !(family && has_family(best, family))) {
        FcPatternDestroy(best);
        best = match("Arial", weight, italic, false);
    }
    return file_of(best);
}
#else
// Without fontconfig (the web build) only the table's files exist: a name outside the
// table gets the default face.
std::optional<FaceFile> installed_face(const char*, int, bool) { return std::nullopt; }
std::optional<FaceFile> fontconfig_choice(const char*, int, bool, bool) { return std::nullopt; }
#endif

std::optional<FaceFile> lookup(const char* family, int weight, bool italic, bool fixed_pitch) {
    FaceFile file;
    switch (table_face_file(family, weight, italic, &file)) {
        case TableMatch::Found:
            return file;
        case TableMatch::FileMissing:
            return fontconfig_choice(family, weight, italic, fixed_pitch);
        case TableMatch::NotInTable:
            break;
    }
    if (auto installed = installed_face(family, weight, italic)) return installed;
    const char* fallback = default_face_name(fixed_pitch);
    if (table_face_file(fallback, weight, italic, &file) == TableMatch::Found) return file;
    return fontconfig_choice(family, weight, italic, fixed_pitch);
}

}  // namespace

bool match_face_file(const char* family, int weight, bool italic, bool fixed_pitch,
                     FaceFile* out) {
    if (weight <= 0) weight = FW_NORMAL;
    if (weight > 1000) weight = 1000;
    using Key = std::tuple<std::string, int, bool, bool>;
    // A cache, a pure function of the request and the fonts installed: never reset.
    static std::map<Key, std::optional<FaceFile>> cache;
    Key key{family ? family : "", weight, italic, fixed_pitch};
    auto it = cache.find(key);
    if (it == cache.end()) {
        // Names are arbitrary program input: bound the cache rather than grow forever.
        if (cache.size() >= 1024) cache.clear();
        it = cache.emplace(key, lookup(family, weight, italic, fixed_pitch)).first;
    }
    if (!it->second) return false;
    *out = *it->second;
    return true;
}

}  // namespace zp

#if defined(__has_feature)
#if __has_feature(address_sanitizer) && !defined(__SANITIZE_ADDRESS__)
#define __SANITIZE_ADDRESS__ 1  // clang's way of saying what GCC's macro says
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
// Fontconfig leaks a block while it parses its configuration files, once per process;
// that is not ours to free, and leak checks must stay useful for our own code. Weak, so
// that a program can still supply its own list.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif
