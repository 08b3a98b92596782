// The writer at the level of icon handles: the bytes of the file, the pixels in it, and icons
// it must refuse before writing anything.
#include <windows.h>

#include <gtest/gtest.h>

#include "IcoTestFile.h"
#include "TestIcons.h"
#include "base/Exceptions.h"
#include "base/Streams.h"
#include "icowriter/IconWriter_win.h"
#include "toolkit/GdiGuards_win.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kLime = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF, kYellow = 0xFFFF00;

// Four quadrants of system colours (each is in any 256-colour table the system uses), black
// lines, and a transparent corner and stripe.
TIconPicture Quadrants(int side) {
    return MakePicture(side, side, [side](int x, int y) -> uint32_t {
        if (x < side / 4 && y < side / 4) return kClear;
        if (y == side / 2) return kClear;
        if (x == side - 2) return 0x000000;
        bool right = x >= side / 2, bottom = y >= side / 2;
        return bottom ? (right ? kYellow : kBlue) : (right ? kLime : kRed);
    });
}

std::vector<uint8_t> WriteToMemory(HICON icon, uint32_t colours) {
    TMemoryStream stream;
    TIconWriter::WriteIconStream(stream, icon, colours);
    return stream.Bytes();
}

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

void ExpectInvalidBitmap(HICON icon) {
    try {
        WriteToMemory(icon, IconFile::PaletteColours);
        ADD_FAILURE() << "the icon was written";
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message(), "Bitmap image is not valid");
    }
}

}  // namespace

TEST(IconWriterStreamTest, PaletteIconOf32HasTheDocumentedBytesAndPixels) {
    TIconPicture picture = Quadrants(32);
    TIconHandle icon(MakeIcon(picture));
    ASSERT_TRUE(icon);
    std::vector<uint8_t> file = WriteToMemory(icon.Get(), IconFile::PaletteColours);

    ASSERT_EQ(file.size(), 2238u);
    const std::vector<uint8_t> directory = {0, 0, 1, 0, 1, 0, 0x20, 0x20, 0x08, 0x00, 0x00,
                                            0x00, 0x00, 0x00, 0xA8, 0x08, 0x00, 0x00, 0x16, 0x00,
                                            0x00, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 22), directory);
    EXPECT_EQ(U32At(file, 22), 40u);
    EXPECT_EQ(U32At(file, 26), 32u);
    EXPECT_EQ(U32At(file, 30), 64u);
    EXPECT_EQ(U16At(file, 34), 1u);
    EXPECT_EQ(U16At(file, 36), 8u);
    EXPECT_EQ(U32At(file, 38), 0u);
    EXPECT_EQ(U32At(file, 42), 1024u);
    EXPECT_EQ(U32At(file, 54), 0u) << "colours used";

    TIcoTestFile parsed(file);
    EXPECT_TRUE(SamePicture(PictureOf(parsed), picture, 0));
    ExportIcon("palette32", file, picture, 0);
}

TEST(IconWriterStreamTest, TrueColourIconOf32Has16BitPixelsAtOffset62) {
    // Colours off the 5-bit grid as well: each channel keeps its top 5 bits.
    TIconPicture picture = MakePicture(32, 32, [](int x, int y) -> uint32_t {
        if (x == 0 && y < 4) return kClear;
        return (static_cast<uint32_t>(x * 8) << 16) | (static_cast<uint32_t>(y * 8) << 8) | 0x9C;
    });
    TIconHandle icon(MakeIcon(picture));
    std::vector<uint8_t> file = WriteToMemory(icon.Get(), IconFile::HighColours);

    ASSERT_EQ(file.size(), 2238u);
    EXPECT_EQ(file[8], 0x10);
    EXPECT_EQ(file[9], 0x00);
    EXPECT_EQ(U32At(file, 14), 2216u);
    EXPECT_EQ(U32At(file, 30), 64u);
    EXPECT_EQ(U16At(file, 36), 16u);
    EXPECT_EQ(U32At(file, 42), 2048u);
    // The first pixel word is the bottom-left pixel (0, 31): red 0, green 248, blue 0x9C.
    EXPECT_EQ(U16At(file, 62), (0u << 10) | (31u << 5) | (0x9Cu >> 3));
    // The second is (1, 31): red 8.
    EXPECT_EQ(U16At(file, 64), (1u << 10) | (31u << 5) | (0x9Cu >> 3));
    EXPECT_EQ(U16At(file, 62) & 0x8000, 0);

    TIcoTestFile parsed(file);
    EXPECT_TRUE(SamePicture(PictureOf(parsed), picture, 7));
    ExportIcon("truecolour32", file, picture, 8);
}

TEST(IconWriterStreamTest, OtherIconSizesKeepTheirOwnSize) {
    struct Case {
        int side;
        uint32_t colours;
        size_t fileSize;
    };
    for (Case c : {Case{16, IconFile::PaletteColours, 1406}, Case{16, IconFile::HighColours, 638},
                   Case{48, IconFile::PaletteColours, 3774}, Case{48, IconFile::HighColours, 5054}}) {
        TIconPicture picture = Quadrants(c.side);
        TIconHandle icon(MakeIcon(picture));
        std::vector<uint8_t> file = WriteToMemory(icon.Get(), c.colours);
        EXPECT_EQ(file.size(), c.fileSize) << c.side << " " << c.colours;
        EXPECT_EQ(file[6], c.side);
        EXPECT_EQ(file[7], c.side);
        TIcoTestFile parsed(file);
        EXPECT_TRUE(SamePicture(PictureOf(parsed), picture, 0)) << c.side << " " << c.colours;
        ExportIcon("quadrants" + std::to_string(c.side) + "_" + std::to_string(parsed.BitCount()), file, picture, 0);
    }
}

TEST(IconWriterStreamTest, WrittenFilesLoadBackThroughTheSystem) {
    TIconPicture picture = Quadrants(32);
    TIconHandle icon(MakeIcon(picture));
    for (uint32_t colours : {IconFile::PaletteColours, IconFile::HighColours}) {
        std::vector<uint8_t> file = WriteToMemory(icon.Get(), colours);
        std::string name = OutputFolder() + "/system-readback.ico";
        WriteFileBytes(name, file);
        TIconHandle loaded(static_cast<HICON>(LoadImageA(nullptr, name.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
        ASSERT_TRUE(loaded) << colours;
        EXPECT_TRUE(SamePicture(RenderIcon(loaded.Get(), 32, 32), picture, 0)) << colours;
        DeleteFileA(name.c_str());
    }
}

TEST(IconWriterStreamTest, IconsWithoutUsableBitmapsAreRefused) {
    ExpectInvalidBitmap(nullptr);

    // A monochrome icon has a mask of twice the height and no colour image.
    std::vector<uint8_t> andBits(32 * 4, 0x00), xorBits(32 * 4, 0xFF);
    TIconHandle monochrome(CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, andBits.data(), xorBits.data()));
    ASSERT_TRUE(monochrome);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(monochrome.Get(), &info));
    DeleteObject(info.hbmMask);
    if (info.hbmColor) {
        DeleteObject(info.hbmColor);
        GTEST_SKIP() << "this system gives monochrome icons a colour image";
    }
    ExpectInvalidBitmap(monochrome.Get());

    HICON destroyed = MakeIcon(Quadrants(32));
    DestroyIcon(destroyed);
    ExpectInvalidBitmap(destroyed);
}

TEST(IconWriterStreamTest, TheIconHandleStaysUsableAndNothingLeaks) {
    TIconHandle icon(MakeIcon(Quadrants(32)));
    std::vector<uint8_t> first = WriteToMemory(icon.Get(), IconFile::PaletteColours);
    for (int i = 0; i < 200; ++i) WriteToMemory(icon.Get(), i % 2 ? IconFile::PaletteColours : IconFile::HighColours);
    EXPECT_EQ(WriteToMemory(icon.Get(), IconFile::PaletteColours), first);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

TEST(IconWriterStreamTest, MaskAndHeaderOfTheInternalSteps) {
    TIconHandle icon(MakeIcon(Quadrants(48)));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.Get(), &info));
    TBitmapHandle mask(info.hbmMask), colour(info.hbmColor);

    TDIBSizes maskSizes = TIconWriter::MeasureDIB(mask.Get(), IconFile::MaskColours);
    EXPECT_EQ(maskSizes.headerAndTable, 48u);
    EXPECT_EQ(maskSizes.pixels, 384u);
    std::vector<uint8_t> header, pixels;
    ASSERT_TRUE(TIconWriter::ReadDIBBits(mask.Get(), IconFile::MaskColours, header, pixels));
    ASSERT_EQ(pixels.size(), 384u);
    // Top row (last in the buffer): 12 transparent pixels, then opaque; row 24 all transparent.
    const uint8_t* top = &pixels[47 * 8];
    EXPECT_EQ(top[0], 0xFF);
    EXPECT_EQ(top[1], 0xF0);
    EXPECT_EQ(top[2], 0x00);
    const uint8_t* stripe = &pixels[(47 - 24) * 8];
    for (int i = 0; i < 6; ++i) EXPECT_EQ(stripe[i], 0xFF) << i;

    TBitmapInfoHeader filled;
    TIconWriter::FillBitmapInfoHeader(colour.Get(), filled, IconFile::HighColours);
    EXPECT_EQ(filled.width, 48);
    EXPECT_EQ(filled.height, 48);
    EXPECT_EQ(filled.bitCount, 16);
    EXPECT_EQ(filled.sizeImage, 4608u);
    EXPECT_THROW(TIconWriter::FillBitmapInfoHeader(nullptr, filled, IconFile::HighColours), EInvalidGraphic);
}

TEST(IconWriterStreamTest, BitFieldSectionKeepsItsMasksBehindTheHeader) {
    struct {
        BITMAPINFOHEADER header;
        DWORD masks[3];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = 20;
    info.header.biHeight = -10;  // top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = 16;
    info.header.biCompression = BI_BITFIELDS;
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
    void* bits = nullptr;
    TBitmapHandle section(
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(section);
    static_cast<uint16_t*>(bits)[0] = 0xF800;  // top-left pixel red

    TDIBSizes sizes = TIconWriter::MeasureDIB(section.Get(), IconFile::HighColours);
    EXPECT_EQ(sizes.headerAndTable, 52u);
    EXPECT_EQ(sizes.pixels, 400u);
    std::vector<uint8_t> header, pixels;
    ASSERT_TRUE(TIconWriter::ReadDIBBits(section.Get(), IconFile::HighColours, header, pixels));
    TBitmapInfoHeader read = LoadBitmapInfoHeader(header.data());
    EXPECT_EQ(read.height, 10) << "rows are written bottom row first";
    EXPECT_EQ(read.compression, 3u);
    EXPECT_EQ(U32At(header, 40), 0xF800u);
    EXPECT_EQ(U32At(header, 48), 0x001Fu);
    EXPECT_EQ(U16At(pixels, 9 * 40), 0xF800u) << "the top row comes last";

    // At 8 bits the section's bit fields no longer apply.
    EXPECT_EQ(TIconWriter::MeasureDIB(section.Get(), IconFile::PaletteColours).headerAndTable, 1064u);
}
