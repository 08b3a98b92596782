// What the PNG writer produces, read back by Debian's libpng pixel for pixel, in the layout
// each kind of picture gets; and the pictures with transparency that icons turn into and
// come from.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "LibpngCodec.h"
#include "base/Exceptions.h"
#include "picture/ico/IconDirectory.h"
#include "picture/png/AlphaPicture.h"
#include "picture/png/PngWriter.h"

namespace {

TAlphaPicture MakeAlphaPicture(int width, int height, const std::function<void(int, int, uint8_t*)>& pixel) {
    TAlphaPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixel(x, y, picture.Pixel(x, y));
    return picture;
}

TEST(PngWriter, EachPictureInItsLayoutReadBackTheSameByLibpng) {
    const struct {
        const char* name;
        TAlphaPicture picture;
        uint8_t colorType;  // byte 25 of the file
    } cases[] = {
        {"few colours, some see-through: a palette with its alpha",
         MakeAlphaPicture(37, 5, [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 6), p[1] = uint8_t(y), p[2] = 9, p[3] = uint8_t(x % 3 * 100); }),
         3},
        {"exactly 256 colours: still a palette",
         MakeAlphaPicture(16, 16, [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 16 + y), p[1] = 1, p[2] = 2, p[3] = 255; }),
         3},
        {"many colours, opaque: RGB",
         MakeAlphaPicture(300, 20, [](int x, int y, uint8_t* p) { p[0] = uint8_t(x), p[1] = uint8_t(x * y), p[2] = uint8_t(y * 9), p[3] = 255; }),
         2},
        {"many colours, one pixel see-through: RGBA",
         MakeAlphaPicture(300, 20, [](int x, int y, uint8_t* p) { p[0] = uint8_t(x), p[1] = uint8_t(x * y), p[2] = uint8_t(y), p[3] = x == 7 ? 0 : 255; }),
         6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryStream out;
        WritePngPicture(out, c.picture);
        const std::vector<uint8_t>& file = out.Bytes();
        ASSERT_GT(file.size(), 33u);
        EXPECT_EQ(file[25], c.colorType);
        int width = 0, height = 0;
        EXPECT_EQ(LibpngDecodeBgra(file, width, height), c.picture.Pixels);
        EXPECT_EQ(width, c.picture.Width);
        EXPECT_EQ(height, c.picture.Height);
    }
}

TEST(PngWriter, MissingRowsAndFailingStreamsAreErrors) {
    TMemoryStream out;
    TPngWriter writer(out, 2, 2, TPngLayout::Rgb);
    const uint8_t row[6] = {};
    writer.AddRow(row);
    EXPECT_THROW(writer.Finish(), EPNG);
    writer.AddRow(row);
    writer.Finish();
    EXPECT_THROW(writer.AddRow(row), EPNG);
    EXPECT_THROW(TPngWriter(out, 0, 5, TPngLayout::Rgb), EPNG);
}

TEST(IconPictures, TheMaskComesFromAlphaZeroAndGoesBackToIt) {
    const TAlphaPicture picture = MakeAlphaPicture(
        9, 3, [](int x, int y, uint8_t* p) { p[0] = uint8_t(x * 20), p[1] = uint8_t(y * 50), p[2] = 7, p[3] = uint8_t(x * 30); });
    const TIconImage icon = IconImageFromAlphaPicture(picture);
    const TAlphaPicture back = AlphaPictureFromIconImage(icon);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 9; ++x) {
            const uint8_t* p = back.Pixel(x, y);
            const bool transparent = x == 0;  // alpha 0 only there; every other alpha is opaque
            EXPECT_EQ(p[3], transparent ? 0 : 255) << x << "," << y;
            if (!transparent) EXPECT_EQ(std::vector<uint8_t>(p, p + 3), std::vector<uint8_t>(picture.Pixel(x, y), picture.Pixel(x, y) + 3));
        }
    // The file the icon writer's layout makes of it reads back as the same image.
    const std::vector<uint8_t> file = WriteIconFile(icon);
    const TIconDirectory directory = ReadIconDirectory(file.data(), file.size());
    EXPECT_EQ(AlphaPictureFromIconImage(ReadIconImage(file.data(), file.size(), directory.entries[0])).Pixels, back.Pixels);
}

TEST(IconPictures, ThirtyTwoBitIconsKeepTheirAlpha) {
    TIconImage icon;
    icon.format.bitCount = 32;
    icon.width = 2, icon.height = 1;
    icon.colorBits = {10, 20, 30, 0, 40, 50, 60, 128};
    icon.maskBits = {0x80, 0, 0, 0};
    EXPECT_EQ(AlphaPictureFromIconImage(icon).Pixels, (std::vector<uint8_t>{10, 20, 30, 0, 40, 50, 60, 128}));
}

TEST(IconPictures, LargerPicturesAreStretchedSmallerOnesKeptInTheCorner) {
    const TAlphaPicture big = MakeAlphaPicture(64, 8, [](int x, int y, uint8_t* p) { p[0] = uint8_t(x), p[1] = uint8_t(y), p[2] = 0, p[3] = 255; });
    const TAlphaPicture stretched = FitAlphaPicture(big, 32, 32);
    EXPECT_EQ(stretched.Pixel(31, 31)[0], 62);
    EXPECT_EQ(stretched.Pixel(31, 31)[1], 7);
    EXPECT_FALSE(stretched.HasTransparency());
    const TAlphaPicture small = MakeAlphaPicture(16, 16, [](int, int, uint8_t* p) { p[0] = 5, p[3] = 255; });
    const TAlphaPicture framed = FitAlphaPicture(small, 32, 32);
    EXPECT_EQ(framed.Pixel(15, 15)[0], 5);
    EXPECT_EQ(framed.Pixel(15, 15)[3], 255);
    EXPECT_EQ(framed.Pixel(16, 0)[3], 0);
    EXPECT_EQ(framed.Pixel(0, 16)[3], 0);
}

}  // namespace
