// Drawing the card's objects: the exact drawing calls each object makes (read back as
// the log lines they produce), the pseudo-random draws of hearts and starbursts, and a
// few decisive canvas pixels per kind of object.
#include "shapes.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "card.h"
#include "runtime_fixture.h"

namespace {

using fixture::pixel_at;
using Lines = std::vector<std::string>;

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF BLACK = RGB(0, 0, 0);
constexpr COLORREF GRAY = RGB(128, 128, 128);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF PINK = RGB(255, 153, 204);
constexpr COLORREF PURPLE = RGB(153, 0, 204);
constexpr int TURQUOISE = 12;

std::string fmt(const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}
std::string pixel(const char* c, int x, int y) { return fmt("%s pixel at (%d,%d)\n", c, x, y); }
std::string circle(const char* c, int x, int y, int r) {
    return fmt("%s circle at (%d,%d), radius %d\n", c, x, y, r);
}
std::string line(const char* c, int x1, int y1, int x2, int y2) {
    return fmt("%s line from (%d,%d) to (%d,%d), width 1\n", c, x1, y1, x2, y2);
}

CardObject make_shape(int kind, int x, int y, int color) {
    CardObject o{};
    o.state = OBJ_SHAPE;
    o.kind = kind;
    o.color = color;
    o.x = x;
    o.y = y;
    if (kind >= 0 && kind < SHAPE_KINDS) object_refresh_extents(o);
    return o;
}

CardObject make_message(int text, int x, int y, int color) {
    CardObject o{};
    o.state = OBJ_MESSAGE;
    o.kind = text;
    o.color = color;
    o.x = x;
    o.y = y;
    o.point_size = 20;
    return o;
}

// A seed whose first pseudo-random number is `wanted` modulo `modulus`.
unsigned seed_giving(int modulus, int wanted) {
    for (unsigned seed = 1;; ++seed) {
        std::srand(seed);
        if (std::rand() % modulus == wanted) return seed;
    }
}

// The pseudo-random number that follows the first `used` ones after seeding.
int number_after(unsigned seed, int used) {
    std::srand(seed);
    for (int i = 0; i < used; ++i) std::rand();
    return std::rand();
}

// How many pseudo-random numbers were taken since srand(seed).
int numbers_taken_since(unsigned seed) {
    const int next = std::rand();
    std::srand(seed);
    for (int taken = 0; taken < 1000; ++taken)
        if (std::rand() == next) return taken;
    return -1;
}

class Shapes : public fixture::Canvas {
protected:
    // Lines logged while `draw` runs.
    template <class F>
    Lines logged(F draw) {
        lines().clear();
        zt::set_logging_quietly(true);
        draw();
        zt::set_logging_quietly(false);
        return lines();
    }
};

// ---- the drawing calls, as logged ----------------------------------------------------

TEST_F(Shapes, HeartDiscsAndTriangleFollowItsPulse) {
    const int x = 40, y = -30;
    const CardObject heart = make_shape(SHAPE_HEART, x, y, ZORVE_RED);
    for (int d = 17; d <= 20; ++d) {
        const unsigned seed = seed_giving(4, d - 17);
        std::srand(seed);
        const Lines got = logged([&] { draw_heart(heart, TURQUOISE, false); });
        EXPECT_EQ(got, (Lines{circle("red", x - d + 5, y, d), circle("red", x + d - 5, y, d),
                              fmt("red triangle at (%d,%d), (%d,%d), (%d,%d)\n", x - 2 * d + 5,
                                  y - 5, x + 2 * d - 5, y - 5, x, y - 2 * d - 5)}))
            << "d = " << d;
        EXPECT_EQ(numbers_taken_since(seed), 1) << "one number per heart";
    }
}

// Whether `got` is `exact` truncated toward zero. Where the exact value is a whole
// number (cos 60 degrees x 40 = 20), the computed cosine may fall a last bit to either
// side of it, and C runtimes differ in which: both truncations are right there.
bool truncated_toward_zero(int got, double exact) {
    const double whole = std::round(exact);
    if (std::fabs(exact - whole) < 1e-9 && whole != 0.0)
        return got == static_cast<int>(whole) || got == static_cast<int>(whole - std::copysign(1.0, whole));
    return got == static_cast<int>(exact);
}

TEST_F(Shapes, StarburstDrawsFiveSixOrSevenDiameters) {
    const int x = 10, y = 20;
    // The first ends of the diameters, as the exact angles give them; for five, for
    // instance, cos 72 degrees x 40 = 12.36 truncates to 12 and cos 144 degrees x 40 =
    // -32.36 toward zero to -32, not down to -33.
    const std::vector<std::vector<int>> ends = {
        {40, 0, 12, 38, -32, 23, -32, -23, 12, -38},
        {40, 0, 20, 34, -20, 34, -40, 0, -20, -34, 20, -34},
        {40, 0, 24, 31, -8, 38, -36, 17, -36, -17, -8, -38, 24, -31}};
    const long double pi = 3.141592653589793238462643383279502884L;
    for (int n = 5; n <= 7; ++n) {
        const unsigned seed = seed_giving(3, n - 5);
        std::srand(seed);
        const Lines got = logged([&] {
            draw_starburst(make_shape(SHAPE_STARBURST, x, y, ZORVE_BLUE), TURQUOISE, false);
        });
        EXPECT_EQ(numbers_taken_since(seed), 1) << "one number per starburst";
        const std::vector<int>& e = ends[static_cast<size_t>(n - 5)];
        ASSERT_EQ(got.size(), e.size() / 2) << "n = " << n;
        for (size_t i = 0; i < got.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "n = " << n << ", diameter " << i);
            int x1, y1, x2, y2, width;
            ASSERT_EQ(std::sscanf(got[i].c_str(), "blue line from (%d,%d) to (%d,%d), width %d",
                                  &x1, &y1, &x2, &y2, &width),
                      5)
                << got[i];
            const long double angle = 2 * pi * static_cast<long double>(i) / n;
            const double gx = static_cast<double>(40 * std::cos(angle));
            const double gy = static_cast<double>(40 * std::sin(angle));
            EXPECT_TRUE(truncated_toward_zero(x1 - x, gx)) << got[i];
            EXPECT_TRUE(truncated_toward_zero(y1 - y, gy)) << got[i];
            EXPECT_TRUE(truncated_toward_zero(e[2 * i], gx)) << "table entry " << e[2 * i];
            EXPECT_TRUE(truncated_toward_zero(e[2 * i + 1], gy)) << "table entry " << e[2 * i + 1];
            EXPECT_EQ(x2 - x, x - x1);  // a diameter through the centre
            EXPECT_EQ(y2 - y, y - y1);
            EXPECT_EQ(width, 1);
        }
    }
}

TEST_F(Shapes, SmileArcIsPlottedPointByPointTruncatingTowardZero) {
    const int cx = 10, cy = 20;
    const Lines got = logged([&] { draw_arc(ZORVE_BLACK, 22, 3.4, 6.02, cx, cy, 1); });
    ASSERT_EQ(got.size(), 116u);
    // cos(3.4) x 22 = -21.27 and sin(3.4) x 22 = -5.60: toward zero, not down.
    EXPECT_EQ(got.front(), pixel("black", cx - 21, cy - 5));
    EXPECT_EQ(got[1], pixel("black", cx - 21, cy - 6));
    EXPECT_EQ(got.back(), pixel("black", cx + 21, cy - 5));
    // Half a pixel of arc per step: about two points per pixel, none merged.
    EXPECT_EQ(std::set<std::string>(got.begin(), got.end()).size(), 60u);
}

TEST_F(Shapes, ArcThicknessGivesItsRingsInnermostFirst) {
    EXPECT_TRUE(logged([] { draw_arc(ZORVE_BLACK, 22, 3.4, 6.02, 0, 0, 0); }).empty());

    const Lines three = logged([] { draw_arc(ZORVE_RED, 20, 0.0, FULL_TURN, 5, 5, 3); });
    ASSERT_EQ(three.size(), 239u + 252u + 264u);
    EXPECT_EQ(three[0], pixel("red", 5 + 19, 5));
    EXPECT_EQ(three[238], pixel("red", 5 + 18, 5));
    EXPECT_EQ(three[239], pixel("red", 5 + 20, 5));
    EXPECT_EQ(three[239 + 252], pixel("red", 5 + 21, 5));

    // A start equal to the end still plots its one point.
    EXPECT_EQ(logged([] { draw_arc(ZORVE_RED, 5, 1.0, 1.0, 0, 0, 1); }),
              (Lines{pixel("red", 2, 4)}));
}

// Rings are kept from one call to the next: more rings than are kept, each radius with
// two starts and two ends, drawn twice over at other centres, give exactly the points
// of the arc worked out afresh.
TEST_F(Shapes, ArcsDrawnAgainGiveTheSamePoints) {
    auto fresh = [](int r, double start, double end, int cx, int cy) {
        Lines want;
        for (double a = start; a <= end; a = a + ((1.0 / r) * 5.0) / 10.0)
            want.push_back(pixel("red", cx + static_cast<int>(std::cos(a) * r),
                                 cy + static_cast<int>(std::sin(a) * r)));
        return want;
    };
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 60; ++i) {
            const int r = 3 + i / 3, variant = i % 3, cx = 7 * i - round, cy = round - 3 * i;
            const double start = variant == 1 ? 0.4 : -0.3, end = variant == 2 ? 2.9 : 2.2;
            ASSERT_EQ(logged([&] { draw_arc(ZORVE_RED, r, start, end, cx, cy, 1); }),
                      fresh(r, start, end, cx, cy))
                << "radius " << r << " from " << start << " to " << end << ", round " << round;
        }
    }
}

TEST_F(Shapes, OutlinedFaceIsTwoRingsEyesAndATwoRingSmile) {
    const int x = -50, y = 40;
    const unsigned seed = 77;
    std::srand(seed);
    const Lines got = logged([&] {
        draw_outlined_face(make_shape(SHAPE_OUTLINED_FACE, x, y, ZORVE_PURPLE), TURQUOISE, false);
    });
    ASSERT_EQ(got.size(), 377u + 390u + 2u + 95u + 100u);
    EXPECT_EQ(got[0], pixel("purple", x + 30, y));
    EXPECT_EQ(got[376], pixel("purple", x + 29, y));
    EXPECT_EQ(got[377], pixel("purple", x + 31, y));
    EXPECT_EQ(got[766], pixel("purple", x + 30, y));
    EXPECT_EQ(got[767], circle("purple", x + 10, y + 7, 2));
    EXPECT_EQ(got[768], circle("purple", x - 10, y + 7, 2));
    EXPECT_EQ(got[769], pixel("purple", x - 17, y - 4));
    EXPECT_EQ(got[769 + 94], pixel("purple", x + 17, y - 4));
    EXPECT_EQ(got[769 + 95], pixel("purple", x - 18, y - 4));
    EXPECT_EQ(got.back(), pixel("purple", x + 18, y - 5));
    for (size_t i = 0; i < got.size(); ++i) {
        if (i != 767 && i != 768) {
            ASSERT_EQ(got[i].rfind("purple pixel at (", 0), 0u) << i;
        }
    }
    EXPECT_EQ(numbers_taken_since(seed), 0) << "faces draw no random numbers";
}

TEST_F(Shapes, FilledFaceFeaturesContrastWithTheFace) {
    const int x = 30, y = -20;
    const struct {
        int color;
        const char* name;
        const char* feature;
    } cases[] = {{ZORVE_PINK, "pink", "black"},
                 {ZORVE_BLACK, "black", "50% gray"},
                 {ZORVE_WHITE, "white", "black"}};
    for (const auto& c : cases) {
        const Lines got = logged([&] {
            draw_filled_face(make_shape(SHAPE_FILLED_FACE, x, y, c.color), TURQUOISE, false);
        });
        ASSERT_EQ(got.size(), 3u + 116u) << c.name;
        EXPECT_EQ(got[0], circle(c.name, x, y, 30));
        EXPECT_EQ(got[1], circle(c.feature, x + 10, y + 7, 2));
        EXPECT_EQ(got[2], circle(c.feature, x - 10, y + 7, 2));
        EXPECT_EQ(got[3], pixel(c.feature, x - 21, y - 5));
        EXPECT_EQ(got.back(), pixel(c.feature, x + 21, y - 5));
    }
}

TEST_F(Shapes, BareFaceIsEyesAndSmileInItsOwnColour) {
    const Lines got = logged(
        [] { draw_bare_face(make_shape(SHAPE_BARE_FACE, 0, 0, ZORVE_BLACK), ZORVE_BLACK, false); });
    ASSERT_EQ(got.size(), 2u + 116u);
    EXPECT_EQ(got[0], circle("black", 10, 7, 2));
    EXPECT_EQ(got[1], circle("black", -10, 7, 2));
    EXPECT_EQ(got[2], pixel("black", -21, -5));
}

TEST_F(Shapes, MessagesAndTheirTicks) {
    const char* texts[] = {"LUV U",   "Be Mine", "Be My Valentine", "TRUE LOVE!!!",
                           "Call Me", "Fax Me",  "E-mail Me",       "You're Fine, Valentine!"};
    for (int t = 0; t < 8; ++t) {
        const Lines got =
            logged([&] { draw_message(make_message(t, -7, 9, ZORVE_BLUE), TURQUOISE, false); });
        EXPECT_EQ(got, (Lines{fmt("blue text at (-7,9), \"%s\"\n", texts[t])}));
    }
    const CardObject message = make_message(0, 0, 0, ZORVE_BLUE);
    const Lines ticks = {line("black", 0, 0, 0, 5), line("black", 0, 0, 10, 0),
                         line("black", 0, 20, 0, 15), line("black", 0, 20, 10, 20)};
    Lines expected = {"blue text at (0,0), \"LUV U\"\n"};
    expected.insert(expected.end(), ticks.begin(), ticks.end());
    EXPECT_EQ(logged([&] { draw_message(message, ZORVE_WHITE, true); }), expected);

    // On a black card the ticks are grey.
    const Lines grey = logged([&] { draw_message(message, ZORVE_BLACK, true); });
    ASSERT_EQ(grey.size(), 5u);
    EXPECT_EQ(grey[4], line("50% gray", 0, 20, 10, 20));
}

TEST_F(Shapes, SelectionMarksAreEightTicksAtTheHitBoxCorners) {
    const int x = 5, y = -10;
    std::srand(1);
    const Lines heart =
        logged([&] { draw_shape(make_shape(SHAPE_HEART, x, y, ZORVE_RED), TURQUOISE, true); });
    ASSERT_EQ(heart.size(), 3u + 8u);
    // Extents 17 up, 35 down and sideways: 3 x 35 / 4 truncates to 26.
    EXPECT_EQ(Lines(heart.begin() + 3, heart.end()),
              (Lines{line("black", x - 35, y - 35, x - 35, y - 26),
                     line("black", x - 35, y - 35, x - 26, y - 35),
                     line("black", x - 35, y + 17, x - 35, y + 12),
                     line("black", x - 35, y + 17, x - 26, y + 17),
                     line("black", x + 35, y - 35, x + 35, y - 26),
                     line("black", x + 35, y - 35, x + 26, y - 35),
                     line("black", x + 35, y + 17, x + 35, y + 12),
                     line("black", x + 35, y + 17, x + 26, y + 17)}));

    // Every other kind ends with its own marks, grey on a black card.
    for (int kind : {SHAPE_STARBURST, SHAPE_FILLED_FACE, SHAPE_OUTLINED_FACE, SHAPE_BARE_FACE}) {
        const int e = kind == SHAPE_STARBURST ? 40 : 30;
        const Lines got =
            logged([&] { draw_shape(make_shape(kind, 0, 0, ZORVE_RED), ZORVE_BLACK, true); });
        ASSERT_GE(got.size(), 8u);
        EXPECT_EQ(got[got.size() - 8], line("50% gray", -e, -e, -e, -3 * e / 4)) << "kind " << kind;
        EXPECT_EQ(got.back(), line("50% gray", e, e, 3 * e / 4, e)) << "kind " << kind;
    }
}

TEST_F(Shapes, UnknownShapeKindDrawsNothing) {
    std::srand(5);
    EXPECT_TRUE(
        logged([] { draw_shape(make_shape(7, 0, 0, ZORVE_RED), TURQUOISE, true); }).empty());
    EXPECT_TRUE(
        logged([] { draw_shape(make_shape(-1, 0, 0, ZORVE_RED), TURQUOISE, true); }).empty());
    EXPECT_EQ(numbers_taken_since(5), 0);
}

// ---- the whole table ------------------------------------------------------------------

TEST_F(Shapes, ObjectsAreDrawnInSlotOrderUpToTheFirstEmptySlot) {
    ObjectTable table;
    table_reset(table);
    table[0] = make_shape(SHAPE_HEART, -60, 0, ZORVE_RED);
    table[1] = make_message(3, 0, 0, ZORVE_BLUE);
    table[2] = make_shape(SHAPE_BARE_FACE, 60, 0, ZORVE_GREEN);
    table[3] = make_shape(SHAPE_STARBURST, 0, 80, ZORVE_MAGENTA);
    // Past the first empty slot nothing is drawn, whatever a slot says.
    table[5] = make_shape(SHAPE_FILLED_FACE, 0, 0, ZORVE_YELLOW);

    const unsigned seed = 2024;
    std::srand(seed);
    const int d = 17 + number_after(seed, 0) % 4;
    const int n = 5 + number_after(seed, 1) % 3;
    std::srand(seed);
    const Lines got = logged([&] { draw_objects(TURQUOISE, 2, table); });
    ASSERT_EQ(got.size(), static_cast<size_t>(3 + 1 + 118 + 8 + n));
    EXPECT_EQ(got[0], circle("red", -60 - d + 5, 0, d));
    EXPECT_EQ(got[3], "blue text at (0,0), \"TRUE LOVE!!!\"\n");
    EXPECT_EQ(got[4], circle("green", 70, 7, 2));
    EXPECT_EQ(got[4 + 118], line("black", 30, -30, 30, -22));  // marks on slot 2 only
    EXPECT_EQ(got[4 + 118 + 8], line("magenta", 40, 80, -40, 80));
    EXPECT_EQ(numbers_taken_since(seed), 2) << "one number per heart and starburst";
}

TEST_F(Shapes, OnlyTheSelectedSlotCarriesMarks) {
    ObjectTable table;
    table_reset(table);
    for (int i = 0; i < 3; ++i) table[i] = make_shape(SHAPE_BARE_FACE, -80 + 80 * i, 0, ZORVE_BLUE);
    auto marks = [](const Lines& got) {
        std::vector<size_t> at;
        for (size_t i = 0; i < got.size(); ++i)
            if (got[i].find(" line from ") != std::string::npos) at.push_back(i);
        return at;
    };
    for (EditMode mode : {MODE_ADD_SHAPE, MODE_ADD_MESSAGE, MODE_SELECT, MODE_CARD_FULL}) {
        EXPECT_TRUE(marks(logged([&] { draw_objects(TURQUOISE, mode, table); })).empty()) << mode;
    }
    const Lines got = logged([&] { draw_objects(TURQUOISE, 1, table); });
    const std::vector<size_t> at = marks(got);
    ASSERT_EQ(at.size(), 8u);
    EXPECT_EQ(at.front(), 2u * 118u);
    EXPECT_EQ(got[at.front()], line("black", -30, -30, -30, -22));
}

TEST_F(Shapes, AFullCardStopsAtTheEndMarker) {
    ObjectTable table;
    table_reset(table);
    for (int i = 0; i < END_SLOT; ++i)
        table[i] = make_shape(SHAPE_BARE_FACE, i - 50, i % 7, ZORVE_BLACK);
    const Lines got = logged([&] { draw_objects(ZORVE_BLACK, 98, table); });
    ASSERT_EQ(got.size(), 99u * 118u + 8u);
    EXPECT_EQ(got[98 * 118], circle("black", 48 + 10, 0 + 7, 2));
    EXPECT_EQ(got.back(), line("50% gray", 48 + 30, 30, 48 + 22, 30));
}

// ---- on the canvas ------------------------------------------------------------------------

TEST_F(Shapes, HeartPicture) {
    const int x = -100, y = 40;
    for (int d : {17, 20}) {
        fixture::start_canvas();
        std::srand(seed_giving(4, d - 17));
        draw_heart(make_shape(SHAPE_HEART, x, y, ZORVE_RED), TURQUOISE, false);
        EXPECT_EQ(pixel_at(x - (d - 5), y + d - 2), RED) << d;    // top of the left lobe
        EXPECT_EQ(pixel_at(x - (d - 5), y + d + 2), WHITE) << d;  // just above it
        EXPECT_EQ(pixel_at(x + d - 5, y + d - 2), RED) << d;
        EXPECT_EQ(pixel_at(x, y + 25), WHITE) << d;         // the notch between lobes
        EXPECT_EQ(pixel_at(x, y - 2 * d - 2), RED) << d;    // near the point
        EXPECT_EQ(pixel_at(x, y - 2 * d - 8), WHITE) << d;  // below the point
    }
}

TEST_F(Shapes, StarburstPicture) {
    for (int n : {5, 6}) {
        fixture::start_canvas();
        std::srand(seed_giving(3, n - 5));
        draw_starburst(make_shape(SHAPE_STARBURST, 0, 0, ZORVE_BLUE), TURQUOISE, false);
        EXPECT_EQ(pixel_at(30, 0), BLUE) << n;
        EXPECT_EQ(pixel_at(-30, 0), BLUE) << n;
        EXPECT_EQ(pixel_at(30, 6), WHITE) << n;
        EXPECT_EQ(pixel_at(0, 30), WHITE) << n;
        // The 60-degree diameter exists for six only.
        EXPECT_EQ(pixel_at(10, 17), n == 6 ? BLUE : WHITE) << n;
    }
}

TEST_F(Shapes, FilledFacePicture) {
    draw_filled_face(make_shape(SHAPE_FILLED_FACE, 0, 0, ZORVE_PINK), TURQUOISE, false);
    EXPECT_EQ(pixel_at(0, -12), PINK);
    EXPECT_EQ(pixel_at(0, 27), PINK);
    EXPECT_EQ(pixel_at(0, 33), WHITE);
    EXPECT_EQ(pixel_at(10, 7), BLACK);
    EXPECT_EQ(pixel_at(-10, 7), BLACK);
    EXPECT_EQ(pixel_at(-21, -5), BLACK);
    EXPECT_EQ(pixel_at(21, -5), BLACK);
    EXPECT_EQ(pixel_at(-22, -6), PINK);  // where rounding down would have put the point

    fixture::start_canvas();
    draw_filled_face(make_shape(SHAPE_FILLED_FACE, 0, 0, ZORVE_BLACK), TURQUOISE, false);
    EXPECT_EQ(pixel_at(0, -12), BLACK);
    EXPECT_EQ(pixel_at(10, 7), GRAY);
    EXPECT_EQ(pixel_at(-21, -5), GRAY);
}

TEST_F(Shapes, OutlinedFacePicture) {
    draw_outlined_face(make_shape(SHAPE_OUTLINED_FACE, 0, 0, ZORVE_PURPLE), TURQUOISE, false);
    EXPECT_EQ(pixel_at(30, 0), PURPLE);
    EXPECT_EQ(pixel_at(31, 0), PURPLE);
    EXPECT_EQ(pixel_at(-30, 0), PURPLE);
    EXPECT_EQ(pixel_at(32, 0), WHITE);
    EXPECT_EQ(pixel_at(28, 0), WHITE);
    EXPECT_EQ(pixel_at(0, 0), WHITE);
    EXPECT_EQ(pixel_at(0, -12), WHITE);
    EXPECT_EQ(pixel_at(10, 7), PURPLE);
    EXPECT_EQ(pixel_at(-17, -4), PURPLE);
    EXPECT_EQ(pixel_at(-18, -4), PURPLE);
    EXPECT_EQ(pixel_at(-16, -4), WHITE);
}

TEST_F(Shapes, BareFacePictureWithMarksOnABlackCard) {
    draw_bare_face(make_shape(SHAPE_BARE_FACE, 0, 0, ZORVE_BLUE), ZORVE_BLACK, true);
    EXPECT_EQ(pixel_at(10, 7), BLUE);
    EXPECT_EQ(pixel_at(-10, 7), BLUE);
    EXPECT_EQ(pixel_at(-21, -5), BLUE);
    EXPECT_EQ(pixel_at(0, -12), WHITE);
    EXPECT_EQ(pixel_at(0, 0), WHITE);
    EXPECT_EQ(pixel_at(-30, -27), GRAY);
    EXPECT_EQ(pixel_at(-27, -30), GRAY);
    EXPECT_EQ(pixel_at(30, 27), GRAY);
    EXPECT_EQ(pixel_at(27, 30), GRAY);
    EXPECT_EQ(pixel_at(-30, -15), WHITE);  // the ticks stop short of the middle
    EXPECT_EQ(pixel_at(15, 30), WHITE);
}

TEST_F(Shapes, MessagePictureWithTicks) {
    draw_message(make_message(0, 0, 0, ZORVE_BLUE), ZORVE_WHITE, true);
    int in_first_letter = 0, outside_band = 0;
    for (int y = -10; y <= 30; ++y)
        for (int x = -10; x <= 120; ++x) {
            if (pixel_at(x, y) != BLUE) continue;
            if (x > 0 && x < 20 && y > 0 && y < 20) ++in_first_letter;
            if (x < -1 || y < -2 || y > 22) ++outside_band;
        }
    EXPECT_GT(in_first_letter, 10);
    EXPECT_EQ(outside_band, 0);
    EXPECT_EQ(pixel_at(0, 2), BLACK);
    EXPECT_EQ(pixel_at(5, 0), BLACK);
    EXPECT_EQ(pixel_at(0, 18), BLACK);
    EXPECT_EQ(pixel_at(5, 20), BLACK);
    EXPECT_NE(pixel_at(0, 10), BLACK);
    EXPECT_NE(pixel_at(15, 20), BLACK);
}

}  // namespace
