// Rectangle, Ellipse, Polygon and LineTo against footprints recorded from Wine's GDI
// (tests/tools/record_footprints.cpp). Natively this checks our rasterizer; in the
// cross build it runs under Wine against Wine's own GDI, which proves the footprints.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/gdi_footprints_draw.h"

namespace {

const FootprintCase CASES[] = {
#include "data/gdi_footprints.inc"
};

std::vector<std::string> rows_of(const std::string& pixels) {
    std::vector<std::string> rows;
    size_t start = 0;
    while (start < pixels.size()) {
        size_t end = pixels.find('\n', start);
        if (end == std::string::npos) end = pixels.size();
        rows.push_back(pixels.substr(start, end - start));
        start = end + 1;
    }
    return rows;
}

// Wine's footprint and ours side by side; rows that differ are marked with '<'.
std::string side_by_side(const std::string& wine, const std::string& ours) {
    const std::vector<std::string> a = rows_of(wine), b = rows_of(ours);
    std::string out = "wine | ours\n";
    for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const std::string l = i < a.size() ? a[i] : "", r = i < b.size() ? b[i] : "";
        out += l + " | " + r + (l == r ? "\n" : "  <\n");
    }
    return out;
}

bool starts_with(const char* name, const char* prefix) {
    return std::strncmp(name, prefix, std::strlen(prefix)) == 0;
}

// Draws every case whose name starts with one of the prefixes; returns how many.
int check_family(std::initializer_list<const char*> prefixes) {
    int checked = 0;
    for (const FootprintCase& c : CASES) {
        bool member = false;
        for (const char* p : prefixes) member = member || starts_with(c.name, p);
        if (!member) continue;
        ++checked;
        const std::string ours = draw_footprint(c);
        EXPECT_EQ(ours, c.pixels) << c.name << "\n" << side_by_side(c.pixels, ours);
    }
    return checked;
}

const std::initializer_list<const char*> RECTANGLES = {"rect_", "tiny_rect_", "big_rect"};
const std::initializer_list<const char*> ELLIPSES = {"ellipse_", "tiny_ellipse_",
                                                      "big_ellipse"};
const std::initializer_list<const char*> POLYGONS = {"triangle", "star_", "polygon_"};
const std::initializer_list<const char*> LINES = {"line_"};
const std::initializer_list<const char*> CLIPPED = {"clip_", "far_"};

TEST(GdiConformance, RectanglesWithEveryPenAndBrush) { EXPECT_GT(check_family(RECTANGLES), 50); }

TEST(GdiConformance, EllipsesIncludingTinyOnes) { EXPECT_GT(check_family(ELLIPSES), 80); }

TEST(GdiConformance, PolygonsFilledAlternateAndOutlined) {
    EXPECT_GT(check_family(POLYGONS), 40);
}

TEST(GdiConformance, LinesInEveryDirectionAndWidth) { EXPECT_GT(check_family(LINES), 80); }

TEST(GdiConformance, FiguresClippedAtTheEdgeOrFarOutside) {
    EXPECT_GT(check_family(CLIPPED), 20);
}

// Every recorded case belongs to one of the families above, so none goes unchecked.
TEST(GdiConformance, EveryRecordedCaseIsChecked) {
    for (const FootprintCase& c : CASES) {
        int families = 0;
        for (auto family : {RECTANGLES, ELLIPSES, POLYGONS, LINES, CLIPPED}) {
            bool member = false;
            for (const char* p : family) member = member || starts_with(c.name, p);
            families += member;
        }
        EXPECT_EQ(families, 1) << c.name;
    }
}

}  // namespace
