// Showing GIF pictures: frame bitmaps with their colours, transparency, tiling, the first-frame
// bitmap and the drawing of still pictures (no thread involved).
#include <gtest/gtest.h>

#include "GifAnimationFixture.h"
#include "base/Exceptions.h"
#include "gif/show/GifFrameDrawing_win.h"
#include "gif/show/GifRenderer_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"

using namespace giftest;

namespace {

std::unique_ptr<TBitmap> Target(int width, int height, COLORREF fill) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(bitmap->Canvas().Handle(), &all, brush);
    DeleteObject(brush);
    return bitmap;
}

COLORREF Rgb(const TGIFColor& c) { return RGB(c.Red, c.Green, c.Blue); }

TEST(GifDisplay, StillFrameUsesTheGlobalColoursAndNeedsNoThread) {
    auto image = MakeAnimation(3, 2, {{}});
    image->Images[0].Data = {0, 1, 2, 3, 2, 1};
    auto target = Target(3, 2, RGB(9, 9, 9));
    image->Draw(target->Canvas(), RECT{0, 0, 3, 2});
    EXPECT_EQ(PixelOf(*target, 0, 0), Rgb(kColors[0]));
    EXPECT_EQ(PixelOf(*target, 1, 0), Rgb(kColors[1]));
    EXPECT_EQ(PixelOf(*target, 2, 0), Rgb(kColors[2]));
    EXPECT_EQ(PixelOf(*target, 0, 1), Rgb(kColors[3]));
    EXPECT_TRUE(image->Display().painters.empty());
    EXPECT_EQ(image->Display().drawPainter, nullptr);
}

TEST(GifDisplay, TransparentPixelsLeaveTheTargetAsItWas) {
    auto image = MakeAnimation(4, 1, {{}});
    image->Images[0].Data = {0, 2, 0, 2};
    auto* control = new TGIFGraphicControlExtension(image.get(), &image->Images[0]);
    control->SetTransparent(true);
    control->TransparentColorIndex = 2;
    image->Images[0].Extensions.Add(std::unique_ptr<TGIFExtension>(control));
    image->Images[0].GraphicControlExtension = control;
    image->Images[0].Transparent = true;
    const COLORREF under = RGB(10, 200, 30);
    auto target = Target(8, 2, under);
    image->Draw(target->Canvas(), RECT{0, 0, 8, 2});  // stretched twice in both directions
    EXPECT_EQ(PixelOf(*target, 0, 0), Rgb(kColors[0]));
    EXPECT_EQ(PixelOf(*target, 1, 1), Rgb(kColors[0]));
    EXPECT_EQ(PixelOf(*target, 2, 0), under);
    EXPECT_EQ(PixelOf(*target, 3, 1), under);
    EXPECT_EQ(PixelOf(*target, 4, 0), Rgb(kColors[0]));
    EXPECT_EQ(PixelOf(*target, 7, 1), under);

    image->PaintFlags &= ~GifPaint::Transparent;
    auto opaque = Target(4, 1, under);
    image->Draw(opaque->Canvas(), RECT{0, 0, 4, 1});
    EXPECT_EQ(PixelOf(*opaque, 1, 0), Rgb(kColors[2]));
}

TEST(GifDisplay, TilingRepeatsTheFrameAtItsOwnSize) {
    auto image = MakeAnimation(2, 1, {{}});
    image->Images[0].Data = {1, 2};
    image->PaintFlags |= GifPaint::Tile;
    auto target = Target(5, 2, RGB(0, 0, 0));
    image->Draw(target->Canvas(), RECT{0, 0, 5, 2});
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 2; ++y) EXPECT_EQ(PixelOf(*target, x, y), Rgb(kColors[1 + x % 2])) << x << "," << y;
}

TEST(GifDisplay, FirstFrameBitmapCopiesAFullFrameAndPlacesASmallerOne) {
    auto full = MakeAnimation(3, 3, {{2}, {1}});
    TBitmap fullBitmap;
    fullBitmap.Assign(full.get());
    ASSERT_EQ(fullBitmap.Width(), 3);
    ASSERT_EQ(fullBitmap.Height(), 3);
    EXPECT_EQ(PixelOf(fullBitmap, 2, 2), Rgb(kColors[2]));

    FrameLayout small;
    small.color = 0, small.left = 1, small.top = 2, small.width = 2, small.height = 1;
    auto placed = MakeAnimation(4, 4, {small, {1}});
    TBitmap placedBitmap;
    placedBitmap.Assign(placed.get());
    ASSERT_EQ(placedBitmap.Width(), 4);
    ASSERT_EQ(placedBitmap.Height(), 4);
    EXPECT_EQ(PixelOf(placedBitmap, 1, 2), Rgb(kColors[0]));
    EXPECT_EQ(PixelOf(placedBitmap, 2, 2), Rgb(kColors[0]));
    EXPECT_NE(PixelOf(placedBitmap, 0, 2), Rgb(kColors[0]));
    EXPECT_NE(PixelOf(placedBitmap, 1, 1), Rgb(kColors[0]));
}

TEST(GifDisplay, FramesWithoutAnyColourTableRaise) {
    auto image = MakeAnimation(2, 2, {{}});
    image->Header.ColorMap.Clear();
    auto target = Target(2, 2, 0);
    try {
        image->Draw(target->Canvas(), RECT{0, 0, 2, 2});
        FAIL() << "expected an error";
    } catch (const GIFException& e) {
        EXPECT_EQ(e.Message(), "No global or local color table defined");
    }
}

TEST(GifDisplay, DitheringMapsMidGreyToTwoWebColours) {
    auto image = MakeAnimation(16, 16, {{}});
    const TGIFColor grey{128, 128, 128};
    image->Header.ColorMap.Assign(&grey, 1);
    image->PaintFlags = (image->PaintFlags | GifPaint::Dither) & ~GifPaint::DitherOnPaletteScreen;
    auto target = Target(16, 16, 0);
    image->Draw(target->Canvas(), RECT{0, 0, 16, 16});
    int dark = 0, light = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const COLORREF c = PixelOf(*target, x, y);
            if (c == RGB(102, 102, 102)) ++dark;
            else if (c == RGB(153, 153, 153)) ++light;
            else ADD_FAILURE() << std::hex << c;
        }
    EXPECT_GT(dark, 64);
    EXPECT_GT(light, 64);
}

TEST(GifDisplay, FrameAreaScalesTheLogicalScreenWithRounding) {
    FrameLayout kind;
    kind.left = 1, kind.top = 1, kind.width = 1, kind.height = 2;
    auto image = MakeAnimation(3, 3, {kind});
    RECT area = GifFrameArea(*image, image->Images[0], RECT{10, 20, 20, 30});
    EXPECT_EQ(area.left, 13);   // 10 + 1 x 10 / 3 = 13.33
    EXPECT_EQ(area.right, 17);  // 10 + 2 x 10 / 3 = 16.67
    EXPECT_EQ(area.top, 23);
    EXPECT_EQ(area.bottom, 30);
}

}  // namespace
