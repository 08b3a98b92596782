#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/ico/Icon_win.h"
#include "toolkit/Canvas_win.h"

namespace {

void LoadInto(TIcon& icon, const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    icon.LoadFromStream(stream);
}

// Draws the icon at (0, 0) onto a white bitmap of the given size.
void DrawOnWhite(TIcon& icon, TBitmap& target, int size) {
    target.SetSize(size, size);
    target.Canvas().Draw(0, 0, &icon);
}

}  // namespace

TEST(IconTest, SixteenOnlyIconReportsTheSystemSizeUntilDrawn) {
    ASSERT_EQ(SystemIconWidth(), 32);
    TIcon icon;
    LoadInto(icon, BuildIconFile({{16, 16, 24, 0, RGB(255, 0, 0)}}));
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
    EXPECT_FALSE(icon.HandleAllocated());
    TBitmap target;
    DrawOnWhite(icon, target, icon.Width());
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(PixelAt(target, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(target, 15, 15), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(target, 16, 16), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(target, 31, 0), RGB(255, 255, 255));
}

TEST(IconTest, SameColourCountPrefersTheSystemSize) {
    TIcon icon;
    LoadInto(icon, BuildIconFile({{16, 16, 8, 0, RGB(255, 0, 0)}, {32, 32, 8, 0, RGB(0, 0, 255)}}));
    TBitmap target;
    DrawOnWhite(icon, target, 32);
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(PixelAt(target, 20, 20), RGB(0, 0, 255));
}

TEST(IconTest, TrueColourDisplayPrefersTheRicherImage) {
    TIcon icon;
    LoadInto(icon, BuildIconFile({{32, 32, 4, 16, RGB(255, 0, 0)}, {32, 32, 8, 0, RGB(0, 0, 255)}}));
    TBitmap target;
    DrawOnWhite(icon, target, 32);
    EXPECT_EQ(PixelAt(target, 5, 5), RGB(0, 0, 255));
    // And the other way round the earlier, richer image stays.
    LoadInto(icon, BuildIconFile({{32, 32, 8, 0, RGB(0, 0, 255)}, {32, 32, 4, 16, RGB(255, 0, 0)}}));
    DrawOnWhite(icon, target, 32);
    EXPECT_EQ(PixelAt(target, 5, 5), RGB(0, 0, 255));
}

TEST(IconTest, LargeIconDrawsAtItsOwnSizeWhateverTheRectangle) {
    TIcon icon;
    LoadInto(icon, BuildIconFile({{48, 48, 24, 0, RGB(0, 128, 0)}}));
    TBitmap target;
    target.SetSize(64, 64);
    target.Canvas().StretchDraw(MakeRect(0, 0, 32, 32), &icon);
    EXPECT_EQ(icon.Width(), 48);
    EXPECT_EQ(PixelAt(target, 40, 40), RGB(0, 128, 0));
    EXPECT_EQ(PixelAt(target, 50, 50), RGB(255, 255, 255));
    // In a 32 x 32 target it is clipped, not scaled.
    TBitmap small;
    small.SetSize(32, 32);
    small.Canvas().StretchDraw(MakeRect(0, 0, 32, 32), &icon);
    EXPECT_EQ(PixelAt(small, 31, 31), RGB(0, 128, 0));
}

TEST(IconTest, HandleIconReportsTheSystemSizeAndOwnsTheHandle) {
    TIcon icon;
    HICON handle = CopyIcon(LoadIconA(nullptr, IDI_APPLICATION));
    icon.SetHandle(handle);
    EXPECT_EQ(icon.Handle(), handle);
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
    icon.SetHandle(nullptr);
    EXPECT_TRUE(icon.Empty());
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(handle, &info)) << "the replaced handle is destroyed";
}

TEST(IconTest, TypeZeroGivesTheApplicationIcon) {
    TIcon icon;
    LoadInto(icon, {0, 0, 0, 0, 0, 0});
    EXPECT_NE(icon.Handle(), nullptr);
}

TEST(IconTest, CursorsBitmapsAndLyingDirectoriesAreRefused) {
    std::vector<std::vector<uint8_t>> bad = {
        {0, 0, 2, 0, 1, 0},                     // a cursor
        {'B', 'M', 0x36, 0x0C, 0, 0, 0, 0},     // a bitmap under an icon's name
        {0, 0, 1, 0, 200, 0, 1, 2, 3},          // 200 entries in 3 bytes
        {0, 0, 1},                              // cut inside the header
    };
    std::vector<uint8_t> pastEnd = BuildIconFile({{16, 16, 24, 0, RGB(1, 2, 3)}});
    pastEnd[18] = 0xFF;  // image offset beyond the data
    bad.push_back(pastEnd);
    for (const auto& bytes : bad) {
        TIcon icon;
        try {
            LoadInto(icon, bytes);
            FAIL() << "accepted " << bytes.size() << " bytes";
        } catch (const EInvalidGraphic& error) {
            EXPECT_EQ(error.Message(), "Icon image is not valid");
        }
        EXPECT_TRUE(icon.Empty());
    }
}

TEST(IconTest, CopiesShareTheImageAndABitmapCannotTakeAnIcon) {
    TIcon icon;
    LoadInto(icon, BuildIconFile({{32, 32, 24, 0, RGB(9, 9, 9)}}));
    TIcon copy;
    copy.Assign(&icon);
    EXPECT_TRUE(copy.SharesImageWith(icon));
    EXPECT_EQ(copy.Handle(), icon.Handle());
    TBitmap bitmap;
    try {
        bitmap.Assign(&icon);
        FAIL();
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "Cannot assign a TIcon to a TBitmap");
    }
    EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);
}

TEST(IconTest, LoadedBytesAreWrittenBackUnchanged) {
    std::vector<uint8_t> bytes = BuildIconFile({{16, 16, 8, 0, RGB(1, 2, 3)}, {32, 32, 24, 0, RGB(4, 5, 6)}});
    TIcon icon;
    LoadInto(icon, bytes);
    icon.Handle();
    TMemoryStream out;
    icon.SaveToStream(out);
    EXPECT_EQ(out.Bytes(), bytes);
}

TEST(IconTest, HandleIconSavesAsAnIconFileThatLoadsBack) {
    TIcon source;
    LoadInto(source, BuildIconFile({{32, 32, 24, 0, RGB(200, 10, 10)}}));
    TIcon fromHandle;
    fromHandle.SetHandle(CopyIcon(source.Handle()));
    TMemoryStream out;
    fromHandle.SaveToStream(out);
    ASSERT_GT(out.Size(), 22);
    out.SetPosition(0);
    TIcon reloaded;
    reloaded.LoadFromStream(out);
    TBitmap target;
    DrawOnWhite(reloaded, target, 32);
    EXPECT_EQ(PixelAt(target, 10, 10), RGB(200, 10, 10));
}
