#include "platform/vcl/core/graphics.h"

#include <gtest/gtest.h>

using namespace vcl;

TEST(Graphics, LineToLeavesOutTheEndPoint) {
    TBitmap bmp(10, 10);
    bmp.Canvas().Brush.Color = clBlack;
    bmp.Canvas().FillRect(Rect(0, 0, 10, 10));
    bmp.Canvas().Pen.Color = clRed;
    bmp.Canvas().MoveTo(2, 8);
    bmp.Canvas().LineTo(2, 3);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(bmp.GetPixel(2, y), (y > 3 && y <= 8) ? clRed : clBlack) << y;
}

TEST(Graphics, RectangleCoversX1ToX2Minus1) {
    TBitmap bmp(10, 10);
    auto& c = bmp.Canvas();
    c.Brush.Color = clBlack;
    c.FillRect(Rect(0, 0, 10, 10));
    c.Pen.Color = clLime;
    c.Brush.Color = clLime;
    c.Rectangle(2, 3, 6, 9);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(bmp.GetPixel(x, y), (x >= 2 && x < 6 && y >= 3 && y < 9) ? clLime : clBlack)
                << x << "," << y;
}

TEST(Graphics, RowsArePaddedAndBlueGreenRed) {
    TBitmap bmp(3, 2, pf24bit);
    EXPECT_EQ(bmp.RowStride(), 12);
    bmp.PutPixel(1, 1, RGB(10, 20, 30));
    const std::uint8_t* p = bmp.ScanLine(1) + 3;
    EXPECT_EQ(p[0], 30);
    EXPECT_EQ(p[1], 20);
    EXPECT_EQ(p[2], 10);
}

TEST(Graphics, BitBltRopsAndClipping) {
    TBitmap a(4, 4), b(4, 4);
    a.Canvas().Brush.Color = RGB(0xF0, 0x0F, 0xFF);
    a.Canvas().FillRect(Rect(0, 0, 4, 4));
    b.Canvas().Brush.Color = RGB(0x3C, 0x3C, 0x00);
    b.Canvas().FillRect(Rect(0, 0, 4, 4));
    BitBlt(a.Canvas(), 2, 2, 10, 10, b.Canvas(), 0, 0, SRCAND);
    EXPECT_EQ(a.GetPixel(3, 3), RGB(0x30, 0x0C, 0x00));
    EXPECT_EQ(a.GetPixel(1, 1), RGB(0xF0, 0x0F, 0xFF));
    BitBlt(a.Canvas(), -1, -1, 2, 2, b.Canvas(), 0, 0, SRCPAINT);
    EXPECT_EQ(a.GetPixel(0, 0), RGB(0xFC, 0x3F, 0xFF));
    EXPECT_EQ(a.GetPixel(1, 1), RGB(0xF0, 0x0F, 0xFF));
}

TEST(Graphics, SystemColoursResolveOnlyInsideTheTable) {
    EXPECT_EQ(ColorToRGB(clRed), clRed);
    EXPECT_NE(ColorToRGB(clBtnFace), 0);
    EXPECT_EQ(GetSysColor(0x7F000002), 0u);
}
