// The desktop presenter's scale: which setting decides, and what is refused.
#include <gtest/gtest.h>

#include "platform/display/fltk_scale.h"

using zp::fltk::choose_scale;
using zp::fltk::x_resource;

namespace {

// The scale, and whatever warning came with it.
struct Chosen {
    int scale;
    std::string warning;
};
Chosen choose(const char* zorve, const char* gdk, const char* dpi) {
    Chosen c{0, ""};
    c.scale = choose_scale(zorve, gdk, dpi, &c.warning);
    return c;
}

}  // namespace

TEST(FltkScale, ZorveScaleDecidesWhenSetAndRefusesAnythingButOneToFour) {
    for (int s = 1; s <= 4; ++s) {
        const std::string v = std::to_string(s);
        // It wins over the desktop's settings either way.
        Chosen c = choose(v.c_str(), "3", "288");
        EXPECT_EQ(c.scale, s);
        EXPECT_EQ(c.warning, "");
    }
    for (const char* bad : {"0", "5", "-2", "2.0", " 2", "2x", "two", "99999999999999999999"}) {
        Chosen c = choose(bad, "3", "192");
        EXPECT_EQ(c.scale, 1) << bad;
        // One line, naming the value it refuses.
        EXPECT_NE(c.warning.find(std::string("\"") + bad + "\""), std::string::npos) << c.warning;
        EXPECT_EQ(c.warning.find('\n'), std::string::npos);
    }
    // Empty is the same as not set.
    EXPECT_EQ(choose("", nullptr, "192").scale, 2);
}

TEST(FltkScale, WithoutZorveScaleTheDesktopsScaleThenItsDensity) {
    EXPECT_EQ(choose(nullptr, nullptr, nullptr).scale, 1);
    EXPECT_EQ(choose(nullptr, "2", nullptr).scale, 2);
    EXPECT_EQ(choose(nullptr, "1", "192").scale, 1);  // the desktop's own choice stands
    EXPECT_EQ(choose(nullptr, "9", nullptr).scale, 4);
    // A GDK_SCALE that GTK would not take either falls through to the density, quietly.
    Chosen c = choose(nullptr, "1.5", "192");
    EXPECT_EQ(c.scale, 2);
    EXPECT_EQ(c.warning, "");
    EXPECT_EQ(choose(nullptr, "0", nullptr).scale, 1);
    // Densities: below one and a half times 96 stays 1; from there dpi / 96 rounded
    // down, but 2 at least and 4 at most.
    const std::pair<const char*, int> densities[] = {
        {"96", 1}, {"120", 1}, {"143.9", 1}, {"144", 2}, {"168", 2}, {"191", 2}, {"192", 2},
        {"288", 3}, {"384", 4}, {"600", 4}, {"junk", 1}, {"-200", 1}, {"1e300", 1}};
    for (const auto& [dpi, scale] : densities) EXPECT_EQ(choose(nullptr, nullptr, dpi).scale, scale) << dpi;
}

TEST(FltkScale, ResourceIsReadFromItsOwnLineOnly) {
    const char* db = "Xft.antialias:\t1\nXft.dpiX:\t300\nXft.dpi:\t192\n*background:\tgrey\n";
    EXPECT_EQ(x_resource(db, "Xft.dpi"), "192");
    EXPECT_EQ(x_resource(db, "Xft.antialias"), "1");
    EXPECT_EQ(x_resource("Xft.dpi:  144  \r", "Xft.dpi"), "144");  // the last line, no newline
    EXPECT_EQ(x_resource("Xft.hinting:\t1\n", "Xft.dpi"), "");
    EXPECT_EQ(x_resource(nullptr, "Xft.dpi"), "");
    EXPECT_EQ(x_resource("", "Xft.dpi"), "");
}
