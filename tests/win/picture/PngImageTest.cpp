// The PNG graphic as the picture container and the canvas use it: drawn by its alpha over
// what lies beneath, turned into a bitmap on white, and a damaged file refused with the
// picture left as it was.
#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "picture/Picture_win.h"
#include "picture/png/AlphaPicture.h"
#include "picture/png/PngImage_win.h"
#include "toolkit/Canvas_win.h"

namespace {

// The PNG unit's registration for one test: other tests see the registry without it.
struct TPngUnit {
    TPngUnit() { InitializePngUnit(); }
    ~TPngUnit() { FinalizePngUnit(); }
};

// 3 x 1: opaque red, half-transparent blue, fully transparent.
std::string SavedPng(const std::string& name) {
    TAlphaPicture picture(3, 1);
    const uint8_t pixels[] = {0, 0, 255, 255, 255, 0, 0, 128, 9, 9, 9, 0};
    picture.Pixels.assign(pixels, pixels + sizeof pixels);
    TMemoryStream file;
    WritePngPicture(file, picture);
    const std::string path = TempPath(name);
    WriteFileBytes(path, file.Bytes());
    return path;
}

TEST(PngImageTest, DrawnByItsAlphaOverTheCanvasAndOnWhiteAsABitmap) {
    TPngUnit unit;
    TPicture picture;
    picture.LoadFromFile(SavedPng("alpha.png"));
    ASSERT_STREQ(picture.Graphic()->ClassName(), "TPNGImage");
    TBitmap green;
    green.SetPixelFormat(pf24bit);
    green.SetSize(3, 1);
    green.Canvas().Brush().SetColor(RGB(0, 255, 0));
    green.Canvas().FillRect(RECT{0, 0, 3, 1});
    green.Canvas().Draw(0, 0, picture.Graphic());
    EXPECT_EQ(PixelAt(green, 0, 0), RGB(255, 0, 0));
    const COLORREF half = PixelAt(green, 1, 0);
    EXPECT_NEAR(GetGValue(half), 127, 2);
    EXPECT_NEAR(GetBValue(half), 128, 2);
    EXPECT_EQ(PixelAt(green, 2, 0), RGB(0, 255, 0));

    TBitmap onWhite;
    onWhite.Assign(picture.Graphic());
    EXPECT_EQ(PixelAt(onWhite, 2, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelAt(onWhite, 0, 0), RGB(255, 0, 0));
}

TEST(PngImageTest, ADamagedFileLeavesThePictureAsItWas) {
    TPngUnit unit;
    TPicture picture;
    const std::string good = SavedPng("good.png"), cut = TempPath("cut.png");
    picture.LoadFromFile(good);
    std::vector<uint8_t> bytes = ReadFileBytes(good);
    bytes.resize(bytes.size() - 20);  // cut in its image data
    WriteFileBytes(cut, bytes);
    try {
        picture.LoadFromFile(cut);
        ADD_FAILURE() << "a cut file loaded";
    } catch (const EPNG& error) {
        EXPECT_EQ(error.Message(), ErrorText::PngTruncated);
    }
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 3);
}

}  // namespace
