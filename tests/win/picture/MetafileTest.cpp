#include <gtest/gtest.h>

#include "PictureTestSupport.h"
#include "base/ByteReader.h"
#include "picture/Picture_win.h"
#include "picture/bmp/Bitmap_win.h"
#include "picture/metafile/Metafile_win.h"
#include "toolkit/Canvas_win.h"

namespace {

// Fills the whole 100 x 50 picture with red through the given device context.
void PaintRed(HDC dc) {
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all = {0, 0, 100, 50};
    FillRect(dc, &all, red);
    DeleteObject(red);
}

std::vector<uint8_t> RedEnhancedMetafile() {
    RECT frame = {0, 0, 2646, 1323};  // 0.01 mm: about 100 x 50 pixels at 96 dpi
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    PaintRed(dc);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::vector<uint8_t> bits(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), bits.data());
    DeleteEnhMetaFile(emf);
    return bits;
}

std::vector<uint8_t> RedPlaceableMetafile() {
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowExtEx(dc, 100, 50, nullptr);
    PaintRed(dc);
    HMETAFILE wmf = CloseMetaFile(dc);
    std::vector<uint8_t> bits(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, static_cast<UINT>(bits.size()), bits.data());
    DeleteMetaFile(wmf);
    std::vector<uint8_t> file;
    PutU32LE(file, 0x9AC6CDD7);
    for (uint16_t v : {0, 0, 0, 100, 50, 96}) PutU16LE(file, v);
    PutU32LE(file, 0);
    PutU16LE(file, 0);
    PutBytes(file, bits.data(), bits.size());
    return file;
}

}  // namespace

TEST(MetafileTest, EnhancedAndWindowsMetafilesLoadByExtensionAndDraw) {
    struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } files[] = {{"red.emf", RedEnhancedMetafile()}, {"red.wmf", RedPlaceableMetafile()}};
    for (auto& f : files) {
        SCOPED_TRACE(f.name);
        std::string path = TempPath(f.name);
        WriteFileBytes(path, f.bytes);
        TPicture picture;
        picture.LoadFromFile(path);
        ASSERT_NE(picture.Graphic(), nullptr);
        EXPECT_STREQ(picture.Graphic()->ClassName(), "TMetafile");
        EXPECT_NEAR(picture.Width(), 100, 2);
        EXPECT_NEAR(picture.Height(), 50, 2);
        TBitmap target;
        target.SetSize(40, 40);
        target.Canvas().StretchDraw(MakeRect(10, 10, 30, 30), picture.Graphic());
        EXPECT_EQ(PixelAt(target, 20, 20), RGB(255, 0, 0));
        EXPECT_EQ(PixelAt(target, 5, 5), RGB(255, 255, 255));
        EXPECT_EQ(PixelAt(target, 35, 35), RGB(255, 255, 255));
        DeleteFileIfExists(path);
    }
}

TEST(MetafileTest, DamagedMetafilesAreRefused) {
    std::vector<uint8_t> emf = RedEnhancedMetafile();
    emf.resize(emf.size() - 8);
    std::string path = TempPath("cut.emf");
    WriteFileBytes(path, emf);
    TPicture picture;
    try {
        picture.LoadFromFile(path);
        FAIL();
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message(), "Metafile is not valid");
    }
    EXPECT_EQ(picture.Graphic(), nullptr);
    DeleteFileIfExists(path);
}

TEST(MetafileTest, SavesAsTheExtensionAsks) {
    TMetafile metafile;
    TMemoryStream in(RedEnhancedMetafile());
    metafile.LoadFromStream(in);
    std::string emfPath = TempPath("saved.emf"), wmfPath = TempPath("saved.wmf");
    metafile.SaveToFile(emfPath);
    metafile.SaveToFile(wmfPath);
    std::vector<uint8_t> emf = ReadFileBytes(emfPath), wmf = ReadFileBytes(wmfPath);
    ASSERT_GE(emf.size(), 8u);
    ASSERT_GE(wmf.size(), 22u);
    EXPECT_EQ(ByteReader(emf.data(), 4).ReadU32LE(), 1u);
    EXPECT_EQ(ByteReader(wmf.data(), 4).ReadU32LE(), 0x9AC6CDD7u);
    TPicture picture;
    picture.LoadFromFile(wmfPath);
    EXPECT_FALSE(picture.Graphic()->Empty());
    DeleteFileIfExists(emfPath);
    DeleteFileIfExists(wmfPath);
}
