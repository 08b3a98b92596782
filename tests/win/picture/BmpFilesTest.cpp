// BMP files written by ImageMagick at every depth: each loads into a bitmap of the file's own
// layout whose pixels are the colours ImageMagick reads from the same file.
#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "base/ByteReader.h"
#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "toolkit/Canvas_win.h"

namespace {

struct Fixture {
    const char* name;
    TPixelFormat format;
};

std::vector<uint8_t> Saved(const TBitmap& bitmap) {
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    return stream.Bytes();
}

uint32_t Compression(const std::vector<uint8_t>& file) { return ByteReader(file.data() + 30, 4).ReadU32LE(); }

}  // namespace

TEST(BmpFilesTest, EveryDepthLoadsInItsOwnLayoutWithImageMagicksColours) {
    const Fixture fixtures[] = {
        {"bilevel", pf1bit},    {"palette4", pf4bit}, {"palette8", pf8bit}, {"rle4", pf4bit},
        {"rle8", pf8bit},       {"fields565", pf16bit}, {"true24", pf24bit}, {"alpha32", pf32bit},
        {"os2", pf24bit},
    };
    for (const Fixture& f : fixtures) {
        SCOPED_TRACE(f.name);
        TBitmap bitmap;
        bitmap.LoadFromFile(FixturePath(std::string(f.name) + ".bmp"));
        EXPECT_EQ(bitmap.PixelFormat(), f.format);
        std::vector<uint8_t> rgb = ReadFileBytes(FixturePath(std::string(f.name) + ".rgb"));
        ASSERT_EQ(rgb.size(), static_cast<size_t>(bitmap.Width() * bitmap.Height() * 3));
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) {
                size_t i = static_cast<size_t>(y * bitmap.Width() + x) * 3;
                ASSERT_EQ(PixelAt(bitmap, x, y), RGB(rgb[i], rgb[i + 1], rgb[i + 2])) << x << "," << y;
            }
        // Saved and loaded again, the pixels and the layout stay.
        TMemoryStream stream;
        bitmap.SaveToStream(stream);
        stream.SetPosition(0);
        TBitmap again;
        again.LoadFromStream(stream);
        EXPECT_EQ(again.PixelFormat(), f.format);
        EXPECT_EQ(PixelAt(again, bitmap.Width() - 1, 0), PixelAt(bitmap, bitmap.Width() - 1, 0));
    }
}

TEST(BmpFilesTest, RunLengthBytesAreWrittenBackUntilTheBitmapChanges) {
    std::vector<uint8_t> file = ReadFileBytes(FixturePath("rle8.bmp"));
    ASSERT_EQ(Compression(file), 1u);
    TBitmap bitmap;
    bitmap.LoadFromFile(FixturePath("rle8.bmp"));
    EXPECT_TRUE(bitmap.HasKeptFileBytes());
    EXPECT_EQ(Saved(bitmap), file);
    TBitmap copy;
    copy.Assign(&bitmap);
    EXPECT_EQ(Saved(copy), file) << "a copy shares the kept bytes";
    copy.Canvas().SetPixel(0, 0, clBlack);
    std::vector<uint8_t> changed = Saved(copy);
    EXPECT_EQ(Compression(changed), 0u);
    EXPECT_EQ(changed[28], 8) << "still 8 bits per pixel";
    EXPECT_EQ(Saved(bitmap), file) << "the original keeps its bytes";
    bitmap.SetWidth(3);
    EXPECT_FALSE(bitmap.HasKeptFileBytes());
}

TEST(BmpFilesTest, DamagedFilesFailWithThePicturesErrorAndChangeNothing) {
    std::vector<uint8_t> file = ReadFileBytes(FixturePath("true24.bmp"));
    std::string truncated = TempPath("truncated.bmp"), lying = TempPath("lying.bmp");
    WriteFileBytes(truncated, std::vector<uint8_t>(file.begin(), file.end() - 10));
    std::vector<uint8_t> bad = file;
    bad[28] = 3;  // 3 bits per pixel
    WriteFileBytes(lying, bad);
    TPicture picture;
    picture.Bitmap()->SetSize(2, 2);
    try {
        picture.LoadFromFile(truncated);
        FAIL();
    } catch (const EReadError& error) {
        EXPECT_EQ(error.Message(), "Stream read error");
    }
    try {
        picture.LoadFromFile(lying);
        FAIL();
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message(), "Bitmap image is not valid");
    }
    EXPECT_EQ(picture.Width(), 2);
    DeleteFileIfExists(truncated);
    DeleteFileIfExists(lying);
}

TEST(BmpFilesTest, IndexedBitmapsSaveTheirColourTable) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(3, 1);
    bitmap.Canvas().SetPixel(1, 0, clRed);
    std::vector<uint8_t> file = Saved(bitmap);
    ASSERT_EQ(file.size(), 14u + 40 + 256 * 4 + 4);
    EXPECT_EQ(file[28], 8);
    ByteReader reader(file.data() + 10, 4);
    EXPECT_EQ(reader.ReadU32LE(), 14u + 40 + 1024);
    uint8_t index = file[14 + 40 + 1024 + 1];
    EXPECT_EQ(file[54 + index * 4 + 2], 255) << "the table entry of the red pixel is red";
    EXPECT_EQ(file[54 + index * 4 + 1], 0);
    bitmap.SetColorTable({{0, 0, 0, 0}, {255, 0, 0, 0}});
    EXPECT_EQ(bitmap.DibFormat().colors.size(), 2u);
}
