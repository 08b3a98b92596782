#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/CheckedMath.h"
#include "base/Exceptions.h"
#include "base/Streams.h"
#include "icowriter/IconFileLayout.h"

namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

// What the system reports for a device-dependent bitmap: type, width, height, row bytes,
// planes, bits per pixel, bits pointer.
std::vector<uint8_t> BitmapDescription(int32_t width, int32_t height) {
    std::vector<uint8_t> d(24, 0);
    std::memcpy(&d[4], &width, 4);
    std::memcpy(&d[8], &height, 4);
    d[16] = 1;
    d[18] = 32;
    return d;
}

// What the system reports for a device-independent section: the bitmap part, then its header.
std::vector<uint8_t> SectionDescription(const TBitmapInfoHeader& header) {
    std::vector<uint8_t> d = BitmapDescription(header.width, header.height < 0 ? -header.height : header.height);
    d.resize(84, 0);
    auto bytes = StoreBitmapInfoHeader(header);
    std::memcpy(&d[24], bytes.data(), bytes.size());
    return d;
}

TBitmapInfoHeader HeaderFor(const std::vector<uint8_t>& description, uint32_t colours) {
    return InfoHeaderFromDescription(description.data(), description.size(), colours);
}

// Reads a w x h icon image the way the Windows side does, with recognisable bytes in every
// part, and returns the written file.
std::vector<uint8_t> WriteIcon(int32_t w, int32_t h, uint32_t colours) {
    TBitmapInfoHeader colour = HeaderFor(BitmapDescription(w, h), colours);
    TBitmapInfoHeader mask = HeaderFor(BitmapDescription(w, h), IconFile::MaskColours);
    TDIBSizes colourSizes = MeasureDIBHeader(colour);
    TIconImageData image;
    image.colourHeader.assign(colourSizes.headerAndTable, 0xC1);
    auto headerBytes = StoreBitmapInfoHeader(colour);
    std::memcpy(image.colourHeader.data(), headerBytes.data(), headerBytes.size());
    image.colourPixels.assign(colourSizes.pixels, 0xAA);
    image.maskPixels.assign(MeasureDIBHeader(mask).pixels, 0x55);
    TMemoryStream out;
    WriteIconImage(out, image);
    return out.Bytes();
}

void ExpectInvalidBitmap(const std::vector<uint8_t>& description, uint32_t colours = IconFile::PaletteColours) {
    try {
        HeaderFor(description, colours);
        FAIL() << "accepted an unusable bitmap";
    } catch (const EInvalidGraphic& error) {
        EXPECT_EQ(error.Message(), "Bitmap image is not valid");
    }
}

}  // namespace

TEST(AlignedRowSizeTest, RowsArePaddedToWholeWords) {
    EXPECT_EQ(AlignedRowBytes(32, 8), 32u);
    EXPECT_EQ(AlignedRowBytes(32, 16), 64u);
    EXPECT_EQ(AlignedRowBytes(32, 1), 4u);
    EXPECT_EQ(AlignedRowBytes(48, 1), 8u);
    EXPECT_EQ(AlignedRowBytes(1, 1), 4u);
    EXPECT_EQ(AlignedRowBytes(33, 1), 8u);
    EXPECT_EQ(AlignedRowBytes(5, 8), 8u);
    EXPECT_EQ(AlignedRowBytes(3, 16), 8u);
    EXPECT_EQ(AlignedRowBytes(0, 8), 0u);
}

struct SizeRow {
    int side;
    uint32_t colours;
    uint32_t hc, pc, pm, dataSize, fileSize;
};

class IconSizesTest : public ::testing::TestWithParam<SizeRow> {};

TEST_P(IconSizesTest, PartsAndFileHaveTheTabledSizes) {
    const SizeRow& row = GetParam();
    TBitmapInfoHeader colour = HeaderFor(BitmapDescription(row.side, row.side), row.colours);
    TDIBSizes c = MeasureDIBHeader(colour);
    TDIBSizes m = MeasureDIBHeader(HeaderFor(BitmapDescription(row.side, row.side), IconFile::MaskColours));
    EXPECT_EQ(c.headerAndTable, row.hc);
    EXPECT_EQ(c.pixels, row.pc);
    EXPECT_EQ(m.headerAndTable, 48u);
    EXPECT_EQ(m.pixels, row.pm);
    std::vector<uint8_t> file = WriteIcon(row.side, row.side, row.colours);
    EXPECT_EQ(file.size(), row.fileSize);
    EXPECT_EQ(U32At(file, 14), row.dataSize);
    EXPECT_EQ(U32At(file, 18), 22u);
}

INSTANTIATE_TEST_SUITE_P(Table, IconSizesTest,
                         ::testing::Values(SizeRow{32, 256, 1064, 1024, 128, 2216, 2238},
                                           SizeRow{32, 65536, 40, 2048, 128, 2216, 2238},
                                           SizeRow{16, 256, 1064, 256, 64, 1384, 1406},
                                           SizeRow{16, 65536, 40, 512, 64, 616, 638},
                                           SizeRow{48, 256, 1064, 2304, 384, 3752, 3774},
                                           SizeRow{48, 65536, 40, 4608, 384, 5032, 5054}));

TEST(IconFileLayoutTest, PaletteIconOf32IsLaidOutByteForByte) {
    std::vector<uint8_t> file = WriteIcon(32, 32, IconFile::PaletteColours);
    ASSERT_EQ(file.size(), 2238u);
    const std::vector<uint8_t> head = {0, 0, 1, 0, 1, 0};
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 6), head);
    const std::vector<uint8_t> entry = {0x20, 0x20, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00,
                                        0xA8, 0x08, 0x00, 0x00, 0x16, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 6, file.begin() + 22), entry);
    EXPECT_EQ(U32At(file, 22), 40u);
    EXPECT_EQ(U32At(file, 26), 32u);
    EXPECT_EQ(U32At(file, 30), 64u);
    EXPECT_EQ(U16At(file, 34), 1u);
    EXPECT_EQ(U16At(file, 36), 8u);
    EXPECT_EQ(U32At(file, 38), 0u);
    EXPECT_EQ(U32At(file, 42), 1024u);
    for (size_t at = 46; at < 62; at += 4) EXPECT_EQ(U32At(file, at), 0u) << "offset " << at;
    // The 256-entry table, then the rows, then the mask: each part where the sizes put it.
    EXPECT_EQ(file[62], 0xC1);
    EXPECT_EQ(file[62 + 1023], 0xC1);
    EXPECT_EQ(file[1086], 0xAA);
    EXPECT_EQ(file[1086 + 1023], 0xAA);
    EXPECT_EQ(file[2110], 0x55);
    EXPECT_EQ(file.back(), 0x55);
}

TEST(IconFileLayoutTest, TrueColourIconOf32HasItsPixelsRightBehindTheHeader) {
    std::vector<uint8_t> file = WriteIcon(32, 32, IconFile::HighColours);
    ASSERT_EQ(file.size(), 2238u);
    EXPECT_EQ(file[8], 0x10);
    EXPECT_EQ(file[9], 0x00);
    EXPECT_EQ(U32At(file, 14), 2216u);
    EXPECT_EQ(U32At(file, 30), 64u);
    EXPECT_EQ(U16At(file, 36), 16u);
    EXPECT_EQ(U32At(file, 42), 2048u);
    EXPECT_EQ(file[61], 0x00);
    EXPECT_EQ(file[62], 0xAA);
    EXPECT_EQ(file[62 + 2047], 0xAA);
    EXPECT_EQ(file[2110], 0x55);
}

TEST(IconFileLayoutTest, SizeBytesKeepTheLowEightBits) {
    std::vector<uint8_t> wide = WriteIcon(256, 300, IconFile::HighColours);
    EXPECT_EQ(wide[6], 0);
    EXPECT_EQ(wide[7], 300 - 256);
    EXPECT_EQ(U32At(wide, 26), 256u);
    EXPECT_EQ(U32At(wide, 30), 600u);
    EXPECT_EQ(wide.size(), 22u + 40u + 300u * 512u + 300u * 32u);
}

TEST(IconFileLayoutTest, OddWidthsPadEveryRow) {
    // 5 pixels: 8-byte colour rows, 4-byte mask rows.
    std::vector<uint8_t> file = WriteIcon(5, 3, IconFile::PaletteColours);
    EXPECT_EQ(U32At(file, 42), 24u);
    EXPECT_EQ(file.size(), 22u + 1064u + 24u + 12u);
}

TEST(InfoHeaderTest, UnusableBitmapsAreRefused) {
    ExpectInvalidBitmap({});
    ExpectInvalidBitmap(std::vector<uint8_t>(16, 0));  // not a bitmap's description
    ExpectInvalidBitmap(BitmapDescription(0, 32));
    ExpectInvalidBitmap(BitmapDescription(32, 0));
    ExpectInvalidBitmap(BitmapDescription(-4, 32));
    ExpectInvalidBitmap(BitmapDescription(IconFile::MaxSide + 1, 32));
    ExpectInvalidBitmap(BitmapDescription(32, IconFile::MaxSide + 1), IconFile::HighColours);
    EXPECT_THROW(HeaderFor(BitmapDescription(32, 32), 16), EInvalidGraphicOperation);
}

TEST(InfoHeaderTest, DeviceDependentBitmapGetsAPlainHeader) {
    TBitmapInfoHeader h = HeaderFor(BitmapDescription(48, 48), IconFile::MaskColours);
    EXPECT_EQ(h.size, 40u);
    EXPECT_EQ(h.width, 48);
    EXPECT_EQ(h.height, 48);
    EXPECT_EQ(h.planes, 1);
    EXPECT_EQ(h.bitCount, 1);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 384u);
    EXPECT_EQ(MeasureDIBHeader(h).headerAndTable, 48u);
}

TEST(InfoHeaderTest, SectionKeepsItsBitFieldsAtTheSameDepth) {
    TBitmapInfoHeader section;
    section.width = 32;
    section.height = 32;
    section.bitCount = 16;
    section.compression = 3;  // bit fields
    section.xPelsPerMeter = 2835;
    section.yPelsPerMeter = 2835;
    section.sizeImage = 2048;
    TBitmapInfoHeader h = HeaderFor(SectionDescription(section), IconFile::HighColours);
    EXPECT_EQ(h.compression, 3u);
    EXPECT_EQ(h.xPelsPerMeter, 2835);
    EXPECT_EQ(MeasureDIBHeader(h).headerAndTable, 52u);
    EXPECT_EQ(MeasureDIBHeader(h).pixels, 2048u);
}

TEST(InfoHeaderTest, SectionHeaderIsMadeToDescribeTheRowsWritten) {
    TBitmapInfoHeader section;
    section.width = 32;
    section.height = -32;  // top-down
    section.bitCount = 32;
    section.compression = 3;
    section.sizeImage = 4096;
    section.clrUsed = 16;
    section.clrImportant = 16;
    TBitmapInfoHeader h = HeaderFor(SectionDescription(section), IconFile::PaletteColours);
    EXPECT_EQ(h.height, 32);
    EXPECT_EQ(h.bitCount, 8);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.sizeImage, 1024u);
    EXPECT_EQ(h.clrUsed, 0u);
    EXPECT_EQ(h.clrImportant, 0u);
    EXPECT_EQ(MeasureDIBHeader(h).headerAndTable, 1064u);

    section.bitCount = 8;
    section.compression = 0;
    section.sizeImage = 16;  // too small for the rows: never trusted
    EXPECT_EQ(HeaderFor(SectionDescription(section), IconFile::PaletteColours).sizeImage, 1024u);
}

TEST(InfoHeaderTest, ShortOrForeignSectionHeaderFallsBackToTheBitmapSize) {
    TBitmapInfoHeader section;
    section.size = 12;  // an old core header is not copied
    section.width = 99;
    section.height = 99;
    section.compression = 3;
    std::vector<uint8_t> description = SectionDescription(section);
    std::memcpy(&description[4], "\x10\x00\x00\x00\x08\x00\x00\x00", 8);  // 16 x 8
    TBitmapInfoHeader h = HeaderFor(description, IconFile::HighColours);
    EXPECT_EQ(h.width, 16);
    EXPECT_EQ(h.height, 8);
    EXPECT_EQ(h.compression, 0u);
    EXPECT_EQ(h.size, 40u);
}

TEST(InfoHeaderTest, HeaderBytesRoundTrip) {
    TBitmapInfoHeader h;
    h.width = -7;
    h.height = 123456;
    h.bitCount = 16;
    h.compression = 3;
    h.sizeImage = 0xDEADBEEF;
    h.xPelsPerMeter = -1;
    h.clrUsed = 256;
    auto bytes = StoreBitmapInfoHeader(h);
    TBitmapInfoHeader back = LoadBitmapInfoHeader(bytes.data());
    EXPECT_EQ(std::memcmp(&StoreBitmapInfoHeader(back)[0], bytes.data(), bytes.size()), 0);
    EXPECT_EQ(back.width, -7);
    EXPECT_EQ(back.sizeImage, 0xDEADBEEFu);
    EXPECT_EQ(back.xPelsPerMeter, -1);
}

TEST(IconFileLayoutTest, ImageWithoutAHeaderIsRefusedBeforeWriting) {
    TIconImageData image;
    image.colourHeader.assign(12, 0);
    TMemoryStream out;
    EXPECT_THROW(WriteIconImage(out, image), EInvalidGraphic);
    EXPECT_EQ(out.Size(), 0);
}
