// The project's own faces: the names programs ask for, mapped onto font files that
// the set-up scripts install, so that text is drawn the same on every machine
// whatever other fonts it has and whatever its fontconfig preferences say.
//
// The classic Windows faces get their metric-compatible free faces (Liberation, from
// Debian's fonts-liberation), the generic names and GDI's stock fonts the same three.
#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "text.h"

#ifndef ZORVE_FONT_DIR
#define ZORVE_FONT_DIR "/usr/share/fonts/truetype/liberation"
#endif

namespace zp {
namespace {

// The four styles of one family, as file names in the font folder.
struct Family {
    const char* regular;
    const char* bold;
    const char* italic;
    const char* bold_italic;
};

constexpr Family SANS = {"LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf",
                          "LiberationSans-Italic.ttf", "LiberationSans-BoldItalic.ttf"};
constexpr Family SERIF = {"LiberationSerif-Regular.ttf", "LiberationSerif-Bold.ttf",
                           "LiberationSerif-Italic.ttf", "LiberationSerif-BoldItalic.ttf"};
constexpr Family MONO = {"LiberationMono-Regular.ttf", "LiberationMono-Bold.ttf",
                          "LiberationMono-Italic.ttf", "LiberationMono-BoldItalic.ttf"};

struct Entry {
    const char* name;
    const Family* family;
};

// Compared without regard to case, as GDI compares face names.
constexpr Entry TABLE[] = {
    {"Arial", &SANS},
    {"Helvetica", &SANS},
    {"Liberation Sans", &SANS},
    {"MS Sans Serif", &SANS},
    {"MS Shell Dlg", &SANS},
    {"MS Shell Dlg 2", &SANS},
    {"System", &SANS},
    {"sans-serif", &SANS},
    {"Times New Roman", &SERIF},
    {"Times", &SERIF},
    {"Liberation Serif", &SERIF},
    {"MS Serif", &SERIF},
    {"serif", &SERIF},
    {"Courier New", &MONO},
    {"Courier", &MONO},
    {"Liberation Mono", &MONO},
    {"Fixedsys", &MONO},
    {"Terminal", &MONO},
    {"monospace", &MONO},
};

// The folders searched, in order: ZORVE_FONT_DIR from the environment (a list
// separated by ':'), else the folder fixed at build time.
std::string find_file(const char* name) {
    const char* env = std::getenv("ZORVE_FONT_DIR");
    const std::string dirs = env && *env ? env : ZORVE_FONT_DIR;
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        if (end > start) {
            std::string path = dirs.substr(start, end - start) + "/" + name;
            if (access(path.c_str(), R_OK) == 0) return path;
        }
        start = end + 1;
    }
    return {};
}

// What has been told about the table's files, so that each thing is told once.
struct Reports {
    bool missing = false;
    std::set<std::string> unusable;
};
Reports& reports() {
    static Reports r;
    return r;
}

void report_missing(const char* name) {
    if (reports().missing) return;
    reports().missing = true;
    const char* env = std::getenv("ZORVE_FONT_DIR");
    std::fprintf(stderr,
                 "zorve: font file %s not found in %s (Debian package fonts-liberation); "
                 "text uses fontconfig's faces instead\n",
                 name, env && *env ? env : ZORVE_FONT_DIR);
}

// A table file that FreeType cannot draw with, told once per file.
void report_unusable(const std::string& path, const std::string& why) {
    if (!reports().unusable.insert(path).second) return;
    std::fprintf(stderr, "zorve: font file %s cannot be used (%s); text uses fontconfig's faces instead\n",
                 path.c_str(), why.c_str());
}

}  // namespace

TableMatch table_face_file(const char* family, int weight, bool italic, FaceFile* out) {
    if (!family) return TableMatch::NotInTable;
    const Family* found = nullptr;
    for (const Entry& e : TABLE)
        if (strcasecmp(e.name, family) == 0) found = e.family;
    if (!found) return TableMatch::NotInTable;
    const bool bold = weight >= 600;  // FW_SEMIBOLD and heavier: the bold file
    const char* name = bold ? (italic ? found->bold_italic : found->bold)
                            : (italic ? found->italic : found->regular);
    std::string path = find_file(name);
    if (path.empty()) {
        report_missing(name);
        return TableMatch::FileMissing;
    }
    out->path = std::move(path);
    out->index = 0;
    // A file there that cannot be drawn with counts as missing: the same fallback.
    std::string why;
    if (!face_file_usable(*out, &why)) {
        report_unusable(out->path, why);
        return TableMatch::FileMissing;
    }
    return TableMatch::Found;
}

const char* default_face_name(bool fixed_pitch) { return fixed_pitch ? "Courier New" : "Arial"; }

}  // namespace zp
