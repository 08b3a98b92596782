// BMP reading and writing checked against ImageMagick, which writes files at every depth for
// the reader and reads every file the writer makes.
#include <gtest/gtest.h>

#include "BmpTestSupport.h"
#include "base/ByteReader.h"
#include "picture/bmp/BmpBitFields.h"
#include "picture/bmp/BmpReader.h"
#include "picture/bmp/BmpWriter.h"

namespace {

constexpr uint32_t kWidth = 7, kHeight = 5;

// A pattern of `colours` distinct colours, odd width so every row needs padding.
std::vector<uint8_t> Pattern(int colours) {
    std::vector<uint8_t> rgb;
    for (uint32_t y = 0; y < kHeight; ++y)
        for (uint32_t x = 0; x < kWidth; ++x) {
            int i = static_cast<int>(x + y * 3) % colours;
            rgb.insert(rgb.end(), {static_cast<uint8_t>(i * 37 % 256), static_cast<uint8_t>(255 - i * 11),
                                   static_cast<uint8_t>(i % 2 ? 0 : 200)});
        }
    return rgb;
}

std::vector<uint8_t> BlackAndWhite() {
    std::vector<uint8_t> rgb;
    for (uint32_t i = 0; i < kWidth * kHeight; ++i) {
        uint8_t v = (i % 3) ? 255 : 0;
        rgb.insert(rgb.end(), {v, v, v});
    }
    return rgb;
}

struct ImageMagickCase {
    const char* name;
    std::vector<uint8_t> rgb;
    const char* options;
    uint16_t bitCount;
    bool runLength;
};

uint16_t StoredBitCount(const std::vector<uint8_t>& file) {
    ByteReader reader(file.data() + 28, 2);
    return reader.ReadU16LE();
}

// A channel of `bits` bits widened to 8 by repeating its bits, as readers of 16-bit
// pictures (ImageMagick, the system) do.
uint8_t Widen(uint32_t top, int bits) { return ExtractChannel(top, (1u << bits) - 1); }

}  // namespace

TEST(BmpImageMagickTest, ReadsWhatImageMagickWritesAtEveryDepth) {
    TScratchFolder folder;
    std::vector<ImageMagickCase> cases = {
        {"1-bit", BlackAndWhite(), "-type Bilevel -compress None BMP3:", 1, false},
        {"4-bit", Pattern(6), "-type Palette -compress None BMP3:", 4, false},
        {"8-bit", Pattern(40), "-type Palette -compress None BMP3:", 8, false},
        {"RLE8", Pattern(40), "-type Palette -compress RLE BMP3:", 8, true},
        {"24-bit", Pattern(40), "-type TrueColor BMP3:", 24, false},
        {"32-bit bit fields", Pattern(40), "-alpha on BMP:", 32, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder.Path("in.rgb"), c.rgb);
        ASSERT_TRUE(Convert("-size 7x5 -depth 8 rgb:" + folder.Path("in.rgb") + " " + c.options +
                            folder.Path("out.bmp")));
        std::vector<uint8_t> file = ReadFileBytes(folder.Path("out.bmp"));
        ASSERT_EQ(StoredBitCount(file), c.bitCount);
        TBmpImage image = ReadBmp(file.data(), file.size());
        EXPECT_EQ(image.format.bitCount, c.bitCount) << "the file's own depth is kept";
        EXPECT_EQ(image.runLengthEncoded, c.runLength);
        EXPECT_EQ(image.consumed, file.size());
        EXPECT_EQ(DibToRgb(image.format, image.width, image.height, image.bits), c.rgb);
    }
}

TEST(BmpImageMagickTest, ReadsSixteenBitFilesOfBothChannelLayouts) {
    TScratchFolder folder;
    std::vector<uint8_t> rgb = Pattern(40);
    WriteBytes(folder.Path("in.rgb"), rgb);
    struct {
        const char* subtype;
        TPixelFormat format;
    } layouts[] = {{"RGB565", pf16bit}, {"RGB555", pf15bit}};
    for (const auto& layout : layouts) {
        SCOPED_TRACE(layout.subtype);
        ASSERT_TRUE(Convert("-size 7x5 -depth 8 rgb:" + folder.Path("in.rgb") + " -define bmp:subtype=" +
                            layout.subtype + " BMP:" + folder.Path("out.bmp")));
        std::vector<uint8_t> file = ReadFileBytes(folder.Path("out.bmp"));
        TBmpImage image = ReadBmp(file.data(), file.size());
        EXPECT_EQ(PixelFormatOf(image.format), layout.format);
        std::vector<uint8_t> ours = DibToRgb(image.format, image.width, image.height, image.bits);
        EXPECT_EQ(ours, ImageMagickRgb(folder, "out.bmp"));
    }
}

TEST(BmpImageMagickTest, ImageMagickReadsWhatTheWriterMakesAtEveryDepth) {
    TScratchFolder folder;
    std::vector<uint8_t> rgb = Pattern(6);
    WriteBytes(folder.Path("in.rgb"), rgb);
    // Start from ImageMagick's own 4-bit file and write the same pixels at every depth.
    ASSERT_TRUE(Convert("-size 7x5 -depth 8 rgb:" + folder.Path("in.rgb") + " -type TrueColor BMP3:" +
                        folder.Path("source.bmp")));
    std::vector<uint8_t> source = ReadFileBytes(folder.Path("source.bmp"));
    TBmpImage truth = ReadBmp(source.data(), source.size());
    for (TPixelFormat target : {pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        SCOPED_TRACE(target);
        TDibFormat format = DibFormatFor(target);
        std::vector<uint8_t> bits(*DibImageBytes(kWidth, kHeight, format.bitCount));
        uint32_t row = *DibRowBytes(kWidth, format.bitCount);
        std::vector<uint8_t> expected;
        for (uint32_t y = 0; y < kHeight; ++y) {
            for (uint32_t x = 0; x < kWidth; ++x) {
                // Indexed pictures use table entries 9..14 of the default table (pure colours).
                uint8_t* p = bits.data() + static_cast<size_t>(kHeight - 1 - y) * row;
                size_t i = (y * kWidth + x);
                uint8_t r = rgb[i * 3], g = rgb[i * 3 + 1], b = rgb[i * 3 + 2];
                if (format.bitCount <= 8) {
                    uint8_t index = static_cast<uint8_t>(9 + (x + y * 3) % 6);
                    if (format.bitCount == 8) p[x] = index;
                    else p[x / 2] |= static_cast<uint8_t>(x % 2 ? index : index << 4);
                    const TRgbQuad& q = format.colors[index];
                    r = q.red, g = q.green, b = q.blue;
                } else if (format.bitCount == 16) {
                    bool six = target == pf16bit;
                    uint16_t v = six ? static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3))
                                     : static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
                    p[x * 2] = static_cast<uint8_t>(v);
                    p[x * 2 + 1] = static_cast<uint8_t>(v >> 8);
                    r = Widen(r >> 3, 5), g = six ? Widen(g >> 2, 6) : Widen(g >> 3, 5), b = Widen(b >> 3, 5);
                } else {
                    size_t step = format.bitCount / 8;
                    p[x * step] = b, p[x * step + 1] = g, p[x * step + 2] = r;
                }
                expected.insert(expected.end(), {r, g, b});
            }
        }
        std::vector<uint8_t> file = WriteBmp(format, kWidth, kHeight, bits.data(), bits.size());
        WriteBytes(folder.Path("ours.bmp"), file);
        EXPECT_EQ(ImageMagickRgb(folder, "ours.bmp"), expected);
        // And our own reader agrees and keeps the layout.
        TBmpImage back = ReadBmp(file.data(), file.size());
        EXPECT_EQ(back.format, format);
        EXPECT_EQ(back.bits, bits);
    }
    EXPECT_EQ(DibToRgb(truth.format, truth.width, truth.height, truth.bits), rgb);
}

TEST(BmpImageMagickTest, RunLengthFourBitMatchesImageMagick) {
    TScratchFolder folder;
    // 6 x 3 pixels: a run, a literal with padding, a jump, end of line, end of bitmap.
    std::vector<uint8_t> rle = {
        4, 0x12,                    // row 0 (bottom): 1 2 1 2
        0, 2, 0, 1,                 // jump 0 right, 1 up -> row 1, column 4
        2, 0x33,                    // row 1: columns 4, 5 = 3
        0, 0,                       // end of line -> row 2
        0, 3, 0x45, 0x60,           // literal 4 5 6, padded to a word
        0, 1,                       // end of bitmap
    };
    std::vector<uint32_t> colors;
    for (uint32_t i = 0; i < 16; ++i) colors.push_back(i * 0x111111);
    std::vector<uint8_t> file = HandMadeBmp(6, 3, 4, 2, colors, rle);
    WriteBytes(folder.Path("rle4.bmp"), file);
    TBmpImage image = ReadBmp(file.data(), file.size());
    EXPECT_TRUE(image.runLengthEncoded);
    EXPECT_EQ(image.format.bitCount, 4);
    EXPECT_EQ(DibToRgb(image.format, image.width, image.height, image.bits), ImageMagickRgb(folder, "rle4.bmp"));
    // Pixels no code reached keep index 0.
    EXPECT_EQ(image.bits[*DibRowBytes(6, 4)] & 0xF0, 0);
}

TEST(BmpImageMagickTest, UnusualBitFieldsKeepTheirLayout) {
    TScratchFolder folder;
    // 32 bits with blue in the top byte: ImageMagick reads the same colours.
    std::vector<uint8_t> pixels32 = {0x00, 0x00, 0xFF, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x34, 0x12, 0x80};
    std::vector<uint8_t> file32 = HandMadeBmp(3, 1, 32, 3, {0x0000FF00, 0x00FF0000, 0xFF000000}, pixels32);
    WriteBytes(folder.Path("fields.bmp"), file32);
    TBmpImage image = ReadBmp(file32.data(), file32.size());
    EXPECT_EQ(PixelFormatOf(image.format), pfCustom) << "the file's own layout is kept";
    EXPECT_EQ(image.bits, pixels32);
    EXPECT_EQ(DibToRgb(image.format, image.width, image.height, image.bits), ImageMagickRgb(folder, "fields.bmp"));
    // 16 bits as 4-4-4: 4-bit channels widen by repetition (0xF -> 0xFF, 0x8 -> 0x88).
    std::vector<uint8_t> pixels16 = {0x00, 0x0F, 0xF0, 0x00, 0x0F, 0x00, 0x8C, 0x04};
    std::vector<uint8_t> file16 = HandMadeBmp(4, 1, 16, 3, {0x0F00, 0x00F0, 0x000F}, pixels16);
    image = ReadBmp(file16.data(), file16.size());
    EXPECT_EQ(image.format.bitCount, 16);
    EXPECT_EQ(DibToRgb(image.format, image.width, image.height, image.bits),
              (std::vector<uint8_t>{0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0x44, 0x88, 0xCC}));
}

TEST(BmpImageMagickTest, MasksTheSystemCannotUseAreRepackedToEightBitsAChannel) {
    // Red split in two pieces, green and blue overlapping: no usable layout.
    std::vector<uint8_t> pixels = {0x01, 0x80, 0xFF, 0x7F};
    std::vector<uint8_t> file = HandMadeBmp(2, 1, 16, 3, {0x8001, 0x00F0, 0x00FF}, pixels);
    TBmpImage image = ReadBmp(file.data(), file.size());
    EXPECT_EQ(PixelFormatOf(image.format), pf32bit);
    EXPECT_EQ(image.bits.size(), 8u);
    // Pixel 0 = 0x8001: red mask bits 0x8001 span 16 bits; blue 0x01 of 0xFF.
    EXPECT_EQ(image.bits[0], ExtractChannel(0x8001, 0x00FF));
    EXPECT_EQ(image.bits[2], ExtractChannel(0x8001, 0x8001));
}
