#include <gtest/gtest.h>

#include "BmpTestSupport.h"
#include "base/ByteReader.h"
#include "picture/bmp/BmpReader.h"
#include "picture/bmp/BmpRle.h"
#include "picture/bmp/BmpWriter.h"

namespace {

std::string ErrorOf(const std::vector<uint8_t>& file) {
    try {
        ReadBmp(file.data(), file.size());
    } catch (const Exception& error) {
        return error.Message();
    }
    return "(read)";
}

void SetU32(std::vector<uint8_t>& file, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::vector<uint8_t> Small24() { return HandMadeBmp(2, 2, 24, 0, {}, std::vector<uint8_t>(16, 0x40)); }

}  // namespace

TEST(BmpReaderTest, TopDownFilesAreStoredBottomUp) {
    std::vector<uint8_t> pixels = {1, 0, 0, 0, 2, 0, 0, 0};  // 1 pixel wide, 8-bit, rows padded to 4
    std::vector<uint8_t> file = HandMadeBmp(1, -2, 8, 0, {0, 0xFFFFFF, 0x00FF00}, pixels);
    TBmpImage image = ReadBmp(file.data(), file.size());
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.bits[0], 2) << "the file's last row is the bottom one";
    EXPECT_EQ(image.bits[4], 1);
}

TEST(BmpReaderTest, CoreHeaderFilesWithThreeByteColoursAreRead) {
    std::vector<uint8_t> file;
    PutU16LE(file, 0x4D42);
    PutU32LE(file, 0);
    PutU32LE(file, 0);
    PutU32LE(file, 14 + 12 + 6);
    PutU32LE(file, 12);
    PutU16LE(file, 2);
    PutU16LE(file, 1);
    PutU16LE(file, 1);
    PutU16LE(file, 1);
    PutBytes(file, "\x00\x00\xFF\xFF\x00\x00", 6);  // red, blue
    PutBytes(file, "\x40\x00\x00\x00", 4);          // pixels 0 1
    TBmpImage image = ReadBmp(file.data(), file.size());
    ASSERT_EQ(image.format.colors.size(), 2u);
    EXPECT_EQ(DibToRgb(image.format, 2, 1, image.bits), (std::vector<uint8_t>{255, 0, 0, 0, 0, 255}));
}

TEST(BmpReaderTest, ColourCountsBeyondTheDepthAreClampedAndShortTablesKept) {
    std::vector<uint32_t> colors(3, 0x123456);
    std::vector<uint8_t> file = HandMadeBmp(1, 1, 1, 0, colors, {0x80, 0, 0, 0});
    SetU32(file, 46, 3);  // three colours claimed for a 1-bit picture
    TBmpImage image = ReadBmp(file.data(), file.size());
    EXPECT_EQ(image.format.colors.size(), 2u);
    std::vector<uint8_t> twoOfEight = HandMadeBmp(1, 1, 8, 0, {0xFF0000, 0x00FF00}, {1, 0, 0, 0});
    image = ReadBmp(twoOfEight.data(), twoOfEight.size());
    EXPECT_EQ(image.format.colors.size(), 2u);
    EXPECT_EQ(DibToRgb(image.format, 1, 1, image.bits), (std::vector<uint8_t>{0, 255, 0}));
}

TEST(BmpReaderTest, LyingPixelOffsetsFallBackToTheEndOfTheTable) {
    std::vector<uint8_t> file = Small24();
    SetU32(file, 10, 3);  // inside the headers
    EXPECT_EQ(ReadBmp(file.data(), file.size()).bits.size(), 16u);
    SetU32(file, 10, 0xFFFFFFF0);  // far past the end
    EXPECT_EQ(ReadBmp(file.data(), file.size()).bits.size(), 16u);
}

TEST(BmpReaderTest, HostileHeadersGiveTheBitmapError) {
    const std::string invalid = "Bitmap image is not valid";
    EXPECT_EQ(ErrorOf({}), invalid);
    EXPECT_EQ(ErrorOf({'B', 'M', 1, 2}), invalid);
    std::vector<uint8_t> notBm = Small24();
    notBm[0] = 'X';
    EXPECT_EQ(ErrorOf(notBm), invalid);
    struct Patch {
        size_t offset;
        uint32_t value;
        const char* what;
    } patches[] = {
        {14, 7, "header size 7"},           {14, 0xFFFFFFF0, "header size past the end"},
        {18, 0, "width 0"},                 {18, 0x80000000, "negative width"},
        {22, 0, "height 0"},                {22, 0x80000000, "the most negative height"},
        {18, 0x10000, "width beyond the limit"}, {28, 2, "2 bits per pixel"},
        {28, 0, "0 bits per pixel"},        {30, 4, "JPEG compression"},
        {30, 1, "RLE8 at 24 bits"},         {30, 3, "bit fields at 24 bits"},
        {46, 0x40000000, "a colour table larger than the file"},
    };
    for (const Patch& p : patches) {
        std::vector<uint8_t> file = Small24();
        if (p.offset == 28) {
            file[28] = static_cast<uint8_t>(p.value);
        } else {
            SetU32(file, p.offset, p.value);
        }
        if (p.offset == 46) file[28] = 8;
        EXPECT_EQ(ErrorOf(file), invalid) << p.what;
    }
    std::vector<uint8_t> topDownRle = HandMadeBmp(2, -2, 8, 1, std::vector<uint32_t>(256, 0), {0, 1});
    EXPECT_EQ(ErrorOf(topDownRle), invalid);
}

TEST(BmpReaderTest, PixelsCutShortAreAStreamReadError) {
    std::vector<uint8_t> file = Small24();
    file.resize(file.size() - 1);
    EXPECT_EQ(ErrorOf(file), "Stream read error");
    // A huge picture in a small file is refused before anything is allocated.
    std::vector<uint8_t> huge = Small24();
    SetU32(huge, 18, 60000);
    SetU32(huge, 22, 60000);
    EXPECT_NE(ErrorOf(huge), "(read)");
}

TEST(BmpReaderTest, RunLengthPicturesAreBoundedByTheirData) {
    // Three bytes of data cannot describe a 60000 x 60000 picture.
    std::vector<uint8_t> file = HandMadeBmp(60000, 60000, 8, 1, std::vector<uint32_t>(256, 0), {0, 1, 0});
    EXPECT_EQ(ErrorOf(file), "Bitmap image is not valid");
    // A blank 2000 x 2000 picture from one end-of-bitmap code is within the budget.
    std::vector<uint8_t> blank = HandMadeBmp(2000, 2000, 8, 1, std::vector<uint32_t>(256, 0), {0, 1});
    TBmpImage image = ReadBmp(blank.data(), blank.size());
    EXPECT_EQ(image.bits.size(), 4000000u);
    EXPECT_EQ(image.consumed, blank.size());
}

TEST(BmpReaderTest, RunLengthDecodingClipsRunsAndJumps) {
    // 3 x 2 at 8 bits: a run longer than the row, a jump off the picture, a literal past the end.
    std::vector<uint8_t> data = {5, 7, 0, 0, 0, 4, 1, 2, 3, 4, 0, 2, 200, 200, 9, 9};
    std::vector<uint8_t> rows = DecodeRle(data.data(), data.size(), 8, 3, 2);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(rows.begin(), rows.begin() + 3), (std::vector<uint8_t>{7, 7, 7}));
    EXPECT_EQ(std::vector<uint8_t>(rows.begin() + 4, rows.begin() + 7), (std::vector<uint8_t>{1, 2, 3}));
    // Data that ends inside a literal or a jump stops cleanly.
    std::vector<uint8_t> cut = {0, 9, 1, 2};
    EXPECT_EQ(DecodeRle(cut.data(), cut.size(), 4, 4, 1), (std::vector<uint8_t>{0x01, 0x02, 0, 0}));
    std::vector<uint8_t> cutJump = {0, 2, 1};
    EXPECT_EQ(DecodeRle(cutJump.data(), cutJump.size(), 8, 1, 1), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(BmpReaderTest, RunLengthFilesReportTheirOwnLength) {
    std::vector<uint8_t> file = HandMadeBmp(2, 1, 8, 1, std::vector<uint32_t>(256, 0), {2, 5, 0, 1});
    size_t own = file.size();
    file.insert(file.end(), {0xAA, 0xBB});  // whatever follows in the stream
    TBmpImage image = ReadBmp(file.data(), file.size());
    EXPECT_EQ(image.consumed, own);
    EXPECT_EQ(image.bits[0], 5);
    EXPECT_EQ(image.bits[1], 5);
}

TEST(BmpReaderTest, PackedDibsHaveNoFileHeader) {
    std::vector<uint8_t> file = Small24();
    TBmpImage image = ReadPackedDib(file.data() + 14, file.size() - 14);
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.bits, std::vector<uint8_t>(16, 0x40));
}

TEST(BmpWriterTest, HeadersFollowTheLayout) {
    TDibFormat format = DibFormatFor(pf16bit);
    std::vector<uint8_t> bits(8, 0);
    std::vector<uint8_t> file = WriteBmp(format, 2, 2, bits.data(), bits.size());
    ASSERT_EQ(file.size(), 14u + 40 + 12 + 8);
    ByteReader r(file.data(), file.size());
    EXPECT_EQ(r.ReadU16LE(), 19778);
    EXPECT_EQ(r.ReadU32LE(), file.size());
    EXPECT_EQ(r.ReadU32LE(), 0u);
    EXPECT_EQ(r.ReadU32LE(), 66u);
    EXPECT_EQ(r.ReadU32LE(), 40u);
    r.Skip(12);
    EXPECT_EQ(r.ReadU32LE(), 3u);  // bit fields
    EXPECT_EQ(r.ReadU32LE(), 8u);  // image size
    r.Skip(16);
    EXPECT_EQ(r.ReadU32LE(), 0xF800u);
    EXPECT_EQ(r.ReadU32LE(), 0x07E0u);
    EXPECT_EQ(r.ReadU32LE(), 0x001Fu);
    // Indexed pictures carry their table, counted only when it is not full.
    TDibFormat gray = DibFormatFor(pf8bit);
    gray.colors.resize(3);
    std::vector<uint8_t> one(4, 2);
    std::vector<uint8_t> indexed = WriteBmp(gray, 1, 1, one.data(), one.size());
    EXPECT_EQ(indexed.size(), 14u + 40 + 12 + 4);
    EXPECT_EQ(indexed[46], 3);
    EXPECT_THROW(WriteBmp(gray, 2, 2, one.data(), one.size()), EInvalidGraphic) << "too few pixel bytes";
}
