// The GDI handle table: handles of deleted objects and made-up handles are refused even
// when their entry has been reused, a delete while selected waits for the deselect, and
// the live counts follow every object, however many there are.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/gdi/counts.h"
#include "platform/win32.h"

namespace {

constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// A memory DC on an 8 x 8 bitmap, white.
class Handles : public ::testing::Test {
protected:
    void SetUp() override {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateCompatibleBitmap(dc_, 8, 8);
        old_bitmap_ = SelectObject(dc_, bitmap_);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) SetPixel(dc_, x, y, WHITE);
    }
    void TearDown() override {
        SelectObject(dc_, old_bitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_bitmap_ = nullptr;
};

HDC as_dc(HGDIOBJ handle) { return reinterpret_cast<HDC>(handle); }

HGDIOBJ with_bits(HGDIOBJ handle, uint64_t xor_bits) {
    return reinterpret_cast<HGDIOBJ>(reinterpret_cast<uintptr_t>(handle) ^ xor_bits);
}

TEST_F(Handles, DeletedHandlesStayRefusedAfterTheirEntryIsReused) {
    const HPEN gone = CreatePen(PS_SOLID, 1, RED);
    ASSERT_TRUE(DeleteObject(gone));
    // New objects take freed entries first; none may answer to the old handle.
    std::vector<HGDIOBJ> fresh;
    for (int i = 0; i < 4; ++i) fresh.push_back(CreateCompatibleDC(nullptr));
    for (int i = 0; i < 4; ++i) fresh.push_back(CreatePen(PS_SOLID, 1, RED));
    EXPECT_EQ(SelectObject(dc_, gone), nullptr);
    EXPECT_FALSE(DeleteObject(gone));
    EXPECT_EQ(SetPixel(as_dc(gone), 0, 0, RED), CLR_INVALID);
    for (HGDIOBJ h : fresh) {
        EXPECT_NE(h, gone);
        EXPECT_TRUE(DeleteObject(h));
    }
}

TEST_F(Handles, MadeUpHandlesAreRefusedAndDrawNothing) {
    const HPEN pen = CreatePen(PS_SOLID, 1, RED);
    const HDC forged_dcs[] = {
        as_dc(pen),                                          // a pen as a DC
        as_dc(with_bits(dc_, uint64_t(1) << 32)),            // another generation
        as_dc(with_bits(dc_, uint64_t(1) << 31)),            // far past the table
        as_dc(reinterpret_cast<HGDIOBJ>(uintptr_t(7) << 32)),  // no entry at all
    };
    for (HDC forged : forged_dcs) {
        EXPECT_EQ(SetPixel(forged, 2, 2, RED), CLR_INVALID);
        EXPECT_FALSE(Rectangle(forged, 0, 0, 8, 8));
        EXPECT_EQ(SelectObject(forged, pen), nullptr);
    }
    EXPECT_EQ(SelectObject(dc_, dc_), nullptr);  // a DC is not something to select
    EXPECT_EQ(SelectObject(dc_, with_bits(pen, uint64_t(3) << 32)), nullptr);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) ASSERT_EQ(GetPixel(dc_, x, y), WHITE) << x << "," << y;
    EXPECT_TRUE(DeleteObject(pen));
}

TEST_F(Handles, DeletingASelectedPenWaitsForItsDeselect) {
    const int pens = zp::live_objects(zp::ObjType::Pen);
    const HPEN pen = CreatePen(PS_SOLID, 1, RED);
    const HGDIOBJ old = SelectObject(dc_, pen);
    ASSERT_NE(old, nullptr);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(zp::live_objects(zp::ObjType::Pen), pens + 1);  // still selected
    MoveToEx(dc_, 0, 3, nullptr);
    LineTo(dc_, 8, 3);
    EXPECT_EQ(GetPixel(dc_, 5, 3), RED) << "a pen deleted while selected still draws";
    EXPECT_FALSE(DeleteObject(pen));                         // but no longer handed out
    EXPECT_EQ(SelectObject(dc_, old), pen);                  // deselected: now it goes
    EXPECT_EQ(zp::live_objects(zp::ObjType::Pen), pens);
    EXPECT_EQ(SelectObject(dc_, pen), nullptr);
}

TEST_F(Handles, ThousandsOfObjectsKeepTheirOwnStateAndAreAllCounted) {
    const int pens = zp::live_objects(zp::ObjType::Pen);
    const int total = zp::live_objects_total();
    std::vector<HPEN> made;
    for (int i = 0; i < 3000; ++i) made.push_back(CreatePen(PS_SOLID, 1, RGB(i % 256, i / 256, 7)));
    EXPECT_EQ(zp::live_objects(zp::ObjType::Pen), pens + 3000);
    // The first and the last still draw in their own colours.
    for (int i : {0, 2999}) {
        const HGDIOBJ old = SelectObject(dc_, made[size_t(i)]);
        MoveToEx(dc_, 0, 3, nullptr);
        LineTo(dc_, 8, 3);
        SelectObject(dc_, old);
        EXPECT_EQ(GetPixel(dc_, 4, 3), RGB(i % 256, i / 256, 7));
    }
    for (HPEN p : made) ASSERT_TRUE(DeleteObject(p));
    EXPECT_EQ(zp::live_objects(zp::ObjType::Pen), pens);
    EXPECT_EQ(zp::live_objects_total(), total);
}

// The pixels of a deleted bitmap are kept for the next one of its size, which must
// start black as a new one does.
TEST_F(Handles, ANewBitmapStartsBlackWhateverTheLastOfItsSizeShowed) {
    for (int round = 0; round < 3; ++round) {
        const HBITMAP bitmap = CreateCompatibleBitmap(dc_, 61, 47);
        const HDC memory = CreateCompatibleDC(dc_);
        const HGDIOBJ old = SelectObject(memory, bitmap);
        int black = 0;
        for (int y = 0; y < 47; ++y)
            for (int x = 0; x < 61; ++x) black += GetPixel(memory, x, y) == RGB(0, 0, 0);
        EXPECT_EQ(black, 61 * 47) << "round " << round;
        for (int y = 0; y < 47; ++y)
            for (int x = 0; x < 61; ++x) SetPixel(memory, x, y, RED);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
}

}  // namespace
