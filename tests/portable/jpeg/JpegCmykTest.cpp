// CMYK and YCCK files, as printing programs write them: a bitmap has no room for four inks,
// so they come out as RGB.
#include <gtest/gtest.h>

#include "JpegTestSupport.h"
#include "picture/jpeg/JpegLib.h"

namespace {

// Four-ink pixels given as amounts of ink (0 none, 255 full).
struct Inks {
    uint8_t c, m, y, k;
};

// A file written by libjpeg directly: the left half `left`, the right half `right`. With an
// Adobe marker (always written for CMYK and YCCK) the samples are stored inverted, as
// Adobe's programs store them.
std::vector<uint8_t> WriteFourInkJpeg(Inks left, Inks right, J_COLOR_SPACE stored) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 32;
    info.image_height = 16;
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, stored);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(32 * 4);
    for (int x = 0; x < 32; ++x) {
        Inks ink = x < 16 ? left : right;
        const uint8_t samples[4] = {uint8_t(255 - ink.c), uint8_t(255 - ink.m), uint8_t(255 - ink.y),
                                    uint8_t(255 - ink.k)};
        std::copy(samples, samples + 4, row.begin() + x * 4);
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return bytes;
}

void ExpectNear(const uint8_t* bgr, int red, int green, int blue) {
    EXPECT_NEAR(bgr[2], red, 3);
    EXPECT_NEAR(bgr[1], green, 3);
    EXPECT_NEAR(bgr[0], blue, 3);
}

TEST(JpegFourInkFiles, CmykAndYcckDecodeToRgb) {
    const Inks red{0, 255, 255, 0}, halfGrey{0, 0, 0, 128};
    for (J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
        auto decoded = DecodeBytes(WriteFourInkJpeg(red, halfGrey, stored));
        ASSERT_EQ(decoded.BitsPerPixel(), 24);
        ASSERT_EQ(decoded.Width(), 32);
        for (int y : {0, 15}) {
            ExpectNear(decoded.Row(y) + 3 * 3, 255, 0, 0);
            ExpectNear(decoded.Row(y) + 28 * 3, 127, 127, 127);
        }
    }
}

TEST(JpegFourInkFiles, EightBitOutputGetsAnRgbPalette) {
    TJpegSettings reader;
    reader.OutputDepth = TJpegOutputDepth::Bits8;
    auto decoded = DecodeBytes(WriteFourInkJpeg({255, 0, 255, 0}, {0, 0, 0, 0}, JCS_CMYK), reader);
    ASSERT_EQ(decoded.BitsPerPixel(), 8);
    const TJpegColor& green = decoded.Palette().at(decoded.Row(8)[2]);
    const TJpegColor& white = decoded.Palette().at(decoded.Row(8)[30]);
    EXPECT_LT(green.Red, 40);
    EXPECT_GT(green.Green, 215);
    EXPECT_LT(green.Blue, 40);
    EXPECT_GT(white.Red + white.Green + white.Blue, 3 * 215);
}

}  // namespace
