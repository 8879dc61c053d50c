// Choosing the scale. Kept apart from the Win32 headers: it reads the X display's
// resources, and Xlib's names would collide with theirs.
#include "fltk_scale.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zp::fltk {

namespace {

// A whole decimal number and nothing else, or -1.
long whole_number(const char* text) {
    if (!text || !*text) return -1;
    for (const char* p = text; *p; ++p)
        if (*p < '0' || *p > '9') return -1;
    errno = 0;
    const long v = std::strtol(text, nullptr, 10);
    return errno ? -1 : v;
}

}  // namespace

int choose_scale(const char* zorve_scale, const char* gdk_scale, const char* xft_dpi, std::string* warning) {
    if (zorve_scale && *zorve_scale) {
        const long v = whole_number(zorve_scale);
        if (v >= 1 && v <= MAX_SCALE) return static_cast<int>(v);
        *warning = std::string("ZORVE_SCALE=\"") + zorve_scale + "\" is not a scale from 1 to " +
                   std::to_string(MAX_SCALE) + ": windows are shown at scale 1";
        return 1;
    }
    // GTK's own variable: a value it would not take either is not ours to complain of.
    if (const long v = whole_number(gdk_scale); v >= 1) return static_cast<int>(std::min<long>(v, MAX_SCALE));
    if (xft_dpi && *xft_dpi) {
        char* end = nullptr;
        const double dpi = std::strtod(xft_dpi, &end);
        if (end != xft_dpi && dpi >= 144 && dpi < 1e6)
            return std::clamp(static_cast<int>(dpi / 96), 2, MAX_SCALE);
    }
    return 1;
}

std::string x_resource(const char* database, const std::string& name) {
    if (!database) return "";
    for (const char* line = database; *line;) {
        const char* end = std::strchr(line, '\n');
        if (!end) end = line + std::strlen(line);
        const char* colon = static_cast<const char*>(std::memchr(line, ':', static_cast<size_t>(end - line)));
        if (colon && std::string(line, colon) == name) {
            const char* value = colon + 1;
            while (value < end && (*value == ' ' || *value == '\t')) ++value;
            const char* last = end;
            while (last > value && (last[-1] == ' ' || last[-1] == '\t' || last[-1] == '\r')) --last;
            return std::string(value, last);
        }
        line = *end ? end + 1 : end;
    }
    return "";
}

int window_scale() {
    static const int scale = [] {
        // The desktop's resources, as xrdb loaded them on the root window.
        const std::string dpi = fl_display ? x_resource(XResourceManagerString(fl_display), "Xft.dpi") : "";
        std::string warning;
        const int s = choose_scale(std::getenv("ZORVE_SCALE"), std::getenv("GDK_SCALE"), dpi.c_str(), &warning);
        if (!warning.empty()) std::fprintf(stderr, "%s\n", warning.c_str());
        return s;
    }();
    return scale;
}

}  // namespace zp::fltk
