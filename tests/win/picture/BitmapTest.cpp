#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "base/ByteReader.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"

namespace {

void FillBitmap(TBitmap& bitmap, TColor color) {
    bitmap.Canvas().Brush().SetColor(color);
    bitmap.Canvas().FillRect(MakeRect(0, 0, bitmap.Width(), bitmap.Height()));
}

std::vector<uint8_t> SavedBytes(const TBitmap& bitmap) {
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return stream.Bytes();
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t offset) {
    ByteReader reader(bytes.data() + offset, bytes.size() - offset);
    return reader.ReadU32LE();
}

}  // namespace

TEST(BitmapTest, NewBitmapIsEmptyThenWhiteAtTheDisplayDepth) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 0);
    bitmap.SetSize(32, 32);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.PixelFormat(), pfDevice);
    EXPECT_EQ(bitmap.BitsPerPixel(), ScreenColorDepth());
    for (int y = 0; y < 32; y += 7)
        for (int x = 0; x < 32; x += 7) ASSERT_EQ(PixelAt(bitmap, x, y), RGB(255, 255, 255)) << x << "," << y;
}

TEST(BitmapTest, GrowingKeepsPixelsTopLeftAndFillsWithTheBrushColour) {
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    FillBitmap(bitmap, clRed);
    bitmap.Canvas().Brush().SetColor(clBlue);
    bitmap.SetWidth(20);
    bitmap.SetHeight(15);
    EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bitmap, 9, 9), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bitmap, 10, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(bitmap, 0, 14), RGB(0, 0, 255));
    bitmap.SetSize(5, 5);  // shrinking keeps the top-left corner
    EXPECT_EQ(PixelAt(bitmap, 4, 4), RGB(255, 0, 0));
}

TEST(BitmapTest, CopiesShareTheImageUntilOneChanges) {
    TBitmap original;
    original.SetSize(8, 8);
    FillBitmap(original, clLime);
    TBitmap copy;
    copy.Assign(&original);
    EXPECT_TRUE(copy.SharesImageWith(original));
    EXPECT_EQ(PixelAt(copy, 3, 3), RGB(0, 255, 0));
    copy.Canvas().SetPixel(3, 3, clRed);
    EXPECT_FALSE(copy.SharesImageWith(original));
    EXPECT_EQ(PixelAt(copy, 3, 3), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(original, 3, 3), RGB(0, 255, 0));
}

TEST(BitmapTest, ChangeNotificationFollowsCanvasDrawing) {
    TBitmap bitmap;
    int changes = 0;
    bitmap.OnChange = [&](TGraphic*) { ++changes; };
    bitmap.SetSize(4, 4);
    EXPECT_EQ(changes, 1);
    bitmap.Canvas().FillRect(MakeRect(0, 0, 2, 2));
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(bitmap.Modified());
}

TEST(BitmapTest, DeviceBitmapSavesAtTheDisplayDepth) {
    TBitmap bitmap;
    bitmap.SetSize(3, 2);
    FillBitmap(bitmap, RGB(10, 20, 30));
    std::vector<uint8_t> file = SavedBytes(bitmap);
    int depth = ScreenColorDepth();
    ASSERT_EQ(depth, 32) << "the tests expect a true-colour display";
    ASSERT_EQ(file.size(), 14u + 40u + 3u * 2u * 4u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32At(file, 2), file.size());
    EXPECT_EQ(U32At(file, 6), 0u);
    EXPECT_EQ(U32At(file, 10), 54u);
    EXPECT_EQ(U32At(file, 14), 40u);
    EXPECT_EQ(file[28], 32);
    EXPECT_EQ(U32At(file, 30), 0u);  // no compression
    EXPECT_EQ(file[54], 30);         // blue, green, red of the first pixel
    EXPECT_EQ(file[55], 20);
    EXPECT_EQ(file[56], 10);
}

TEST(BitmapTest, SavedBitmapLoadsBackAsADibOfTheSameDepth) {
    TBitmap bitmap;
    bitmap.SetSize(5, 3);
    FillBitmap(bitmap, clWhite);
    bitmap.Canvas().SetPixel(0, 0, clRed);
    bitmap.Canvas().SetPixel(4, 2, clBlue);
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    stream.SetPosition(0);
    TBitmap loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.PixelFormat(), pf32bit);
    EXPECT_EQ(loaded.HandleType(), bmDIB);
    EXPECT_EQ(PixelAt(loaded, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(loaded, 4, 2), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(loaded, 2, 1), RGB(255, 255, 255));
    EXPECT_EQ(SavedBytes(loaded), stream.Bytes());
}

TEST(BitmapTest, PixelFormatConversionsKeepTheColours) {
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    FillBitmap(bitmap, clRed);
    for (TPixelFormat format : {pf24bit, pf16bit, pf15bit, pf8bit, pf4bit, pf32bit, pfDevice}) {
        bitmap.SetPixelFormat(format);
        EXPECT_EQ(bitmap.PixelFormat(), format);
        EXPECT_EQ(PixelAt(bitmap, 2, 2), RGB(255, 0, 0)) << format;
    }
}

TEST(BitmapTest, MonochromeMakesWhiteOneAndEverythingElseZero) {
    TBitmap bitmap;
    bitmap.SetSize(2, 1);
    bitmap.Canvas().SetPixel(0, 0, clWhite);
    bitmap.Canvas().SetPixel(1, 0, RGB(200, 200, 200));
    bitmap.SetMonochrome(true);
    EXPECT_TRUE(bitmap.Monochrome());
    EXPECT_EQ(bitmap.BitsPerPixel(), 1);
    EXPECT_EQ(PixelAt(bitmap, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(bitmap, 1, 0), RGB(0, 0, 0));
}

TEST(BitmapTest, ScanLinesRunBottomUpAndShowThroughTheCanvas) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(3, 3);
    auto* row0 = static_cast<uint8_t*>(bitmap.ScanLine(0));
    auto* row1 = static_cast<uint8_t*>(bitmap.ScanLine(1));
    EXPECT_EQ(row1 - row0, -12);  // 9 bytes padded to 12, bottom row first
    row1[3] = 0;                  // pixel (1, 1): blue 0, green 0, red 255
    row1[4] = 0;
    row1[5] = 255;
    EXPECT_EQ(PixelAt(bitmap, 1, 1), RGB(255, 0, 0));
    EXPECT_THROW(bitmap.ScanLine(3), EInvalidGraphicOperation);
}

TEST(BitmapTest, ShrinkingDropsRowsAndColumnsInsteadOfAveraging) {
    TBitmap source;
    source.SetSize(2, 2);
    FillBitmap(source, clBlack);
    source.Canvas().SetPixel(0, 0, clWhite);
    TBitmap target;
    target.SetSize(1, 1);
    target.Canvas().StretchDraw(MakeRect(0, 0, 1, 1), &source);
    COLORREF pixel = PixelAt(target, 0, 0);
    EXPECT_TRUE(pixel == RGB(0, 0, 0) || pixel == RGB(255, 255, 255)) << std::hex << pixel;
}

TEST(BitmapTest, DrawPutsTheBitmapAtItsOwnSize) {
    TBitmap source;
    source.SetSize(2, 2);
    FillBitmap(source, clRed);
    TBitmap target;
    target.SetSize(6, 6);
    target.Canvas().Draw(3, 3, &source);
    EXPECT_EQ(PixelAt(target, 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(target, 3, 3), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(target, 4, 4), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(target, 5, 5), RGB(255, 255, 255));
}

TEST(BitmapTest, TransparentBitmapLeavesItsKeyColourOut) {
    TBitmap source;
    source.SetSize(4, 4);
    FillBitmap(source, clBlack);
    source.Canvas().SetPixel(1, 1, clRed);
    source.SetTransparentColor(clBlack);
    source.SetTransparent(true);
    TBitmap target;
    target.SetSize(4, 4);
    FillBitmap(target, clLime);
    target.Canvas().Draw(0, 0, &source);
    EXPECT_EQ(PixelAt(target, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(target, 1, 1), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(target, 3, 3), RGB(0, 255, 0));
}

TEST(BitmapTest, BrushCopyReplacesExactlyOneColour) {
    TBitmap source;
    source.SetSize(3, 1);
    source.Canvas().SetPixel(0, 0, clBlack);
    source.Canvas().SetPixel(1, 0, RGB(1, 0, 0));
    source.Canvas().SetPixel(2, 0, clBlue);
    TBitmap target;
    target.SetSize(3, 1);
    target.Canvas().Brush().SetColor(RGB(250, 249, 248));
    RECT all = MakeRect(0, 0, 3, 1);
    target.Canvas().BrushCopy(all, source.Canvas(), all, clBlack);
    EXPECT_EQ(PixelAt(target, 0, 0), RGB(250, 249, 248));
    EXPECT_EQ(PixelAt(target, 1, 0), RGB(1, 0, 0));
    EXPECT_EQ(PixelAt(target, 2, 0), RGB(0, 0, 255));
}

TEST(BitmapTest, CopyModeAppliesToCopyRect) {
    TBitmap source, target;
    source.SetSize(1, 1);
    FillBitmap(source, RGB(0xF0, 0x0F, 0xFF));
    target.SetSize(1, 1);
    FillBitmap(target, RGB(0xFF, 0xFF, 0x00));
    target.Canvas().SetCopyMode(SRCINVERT);
    target.Canvas().CopyRect(MakeRect(0, 0, 1, 1), source.Canvas(), MakeRect(0, 0, 1, 1));
    EXPECT_EQ(PixelAt(target, 0, 0), RGB(0x0F, 0xF0, 0xFF));
}

TEST(BitmapTest, SavedDeviceBitmapsHaveNoStrayAlpha) {
    TBitmap bitmap;
    bitmap.SetSize(32, 32);
    // The application icon carries an alpha channel that drawing copies into the bitmap.
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    DrawIconEx(bitmap.Canvas().Handle(), 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    std::vector<uint8_t> file = SavedBytes(bitmap);
    ASSERT_EQ(file.size(), 54u + 32 * 32 * 4);
    bool anyColour = false;
    for (size_t i = 54; i < file.size(); i += 4) {
        ASSERT_EQ(file[i + 3], 0) << "pixel " << (i - 54) / 4;
        anyColour |= file[i] != 0xFF || file[i + 1] != 0xFF || file[i + 2] != 0xFF;
    }
    EXPECT_TRUE(anyColour) << "the icon was drawn";
}
