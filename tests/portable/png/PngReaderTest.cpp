// The PNG reader against files that Debian's libpng writes in every colour type, bit depth
// and interlace, and against damaged and hostile files, each with its message.
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "LibpngCodec.h"
#include "base/Exceptions.h"
#include "picture/png/AlphaPicture.h"
#include "picture/png/PngReader.h"

namespace {

constexpr int W = 11, H = 7;  // odd sizes: partial bytes at low depths, every Adam7 pass partial

// The sample of channel c at (x, y) for a depth: every value of small depths turns up; 16-bit
// samples are b * 257, whose 8-bit form is b whichever way a decoder rounds.
uint32_t Sample(int x, int y, int c, int depth) {
    const uint32_t v = static_cast<uint32_t>(x * 37 + y * 91 + c * 53 + x * y);
    if (depth == 16) return (v & 255) * 257;
    return v & ((1u << depth) - 1);
}
uint8_t To8(uint32_t sample, int depth) { return depth == 16 ? uint8_t(sample >> 8) : uint8_t(sample * 255 / ((1u << depth) - 1)); }

void PutSample(std::vector<uint8_t>& row, int index, uint32_t sample, int depth) {
    if (depth == 16) {
        row[size_t(index) * 2] = uint8_t(sample >> 8), row[size_t(index) * 2 + 1] = uint8_t(sample);
    } else if (depth == 8) {
        row[size_t(index)] = uint8_t(sample);
    } else {
        const int bit = index * depth;
        row[size_t(bit / 8)] |= uint8_t(sample << (8 - depth - bit % 8));
    }
}

struct ColourCase {
    int colorType, channels;
    std::vector<int> depths;
};

// A picture in the colour type and depth, and the blue, green, red, alpha pixels it stands for.
LibpngPicture MakePicture(int colorType, int channels, int depth, bool interlaced, std::vector<uint8_t>& expected) {
    LibpngPicture p{W, H, depth, colorType, interlaced, {}, {}, {}};
    expected.assign(size_t(W) * H * 4, 255);
    const bool indexed = colorType == PNG_COLOR_TYPE_PALETTE;
    if (indexed) {
        for (int i = 0; i < (1 << depth); ++i) p.palette.insert(p.palette.end(), {uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 3)});
        for (int i = 0; i < (1 << depth) / 2; ++i) p.trns.push_back(uint8_t(i * 40));  // the first half see-through
    }
    for (int y = 0; y < H; ++y) {
        std::vector<uint8_t> row((size_t(W) * channels * depth + 7) / 8, 0);
        for (int x = 0; x < W; ++x) {
            uint8_t* e = &expected[(size_t(y) * W + x) * 4];
            for (int c = 0; c < channels; ++c) PutSample(row, x * channels + c, Sample(x, y, c, depth), depth);
            if (indexed) {
                const uint32_t i = Sample(x, y, 0, depth);
                e[0] = p.palette[i * 3 + 2], e[1] = p.palette[i * 3 + 1], e[2] = p.palette[i * 3];
                e[3] = i < p.trns.size() ? p.trns[i] : 255;
                continue;
            }
            const bool grey = channels <= 2;
            e[2] = To8(Sample(x, y, 0, depth), depth);
            e[1] = grey ? e[2] : To8(Sample(x, y, 1, depth), depth);
            e[0] = grey ? e[2] : To8(Sample(x, y, 2, depth), depth);
            if (channels == 2 || channels == 4) e[3] = To8(Sample(x, y, channels - 1, depth), depth);
        }
        p.rows.push_back(row);
    }
    return p;
}

TEST(PngReader, EveryColourTypeBitDepthAndInterlace) {
    const ColourCase cases[] = {
        {PNG_COLOR_TYPE_GRAY, 1, {1, 2, 4, 8, 16}},     {PNG_COLOR_TYPE_GRAY_ALPHA, 2, {8, 16}},
        {PNG_COLOR_TYPE_RGB, 3, {8, 16}},               {PNG_COLOR_TYPE_RGB_ALPHA, 4, {8, 16}},
        {PNG_COLOR_TYPE_PALETTE, 1, {1, 2, 4, 8}},
    };
    for (const ColourCase& c : cases)
        for (int depth : c.depths)
            for (bool interlaced : {false, true}) {
                SCOPED_TRACE("colour type " + std::to_string(c.colorType) + ", depth " + std::to_string(depth) +
                             (interlaced ? ", interlaced" : ""));
                std::vector<uint8_t> expected;
                const std::vector<uint8_t> file = LibpngEncode(MakePicture(c.colorType, c.channels, depth, interlaced, expected));
                ASSERT_FALSE(file.empty());
                const TPngHeader header = ReadPngHeader(file.data(), file.size());
                EXPECT_EQ(header.HasAlpha, c.channels == 2 || c.channels == 4 || c.colorType == PNG_COLOR_TYPE_PALETTE);
                const TAlphaPicture picture = DecodePngPicture(file.data(), file.size());
                ASSERT_EQ(picture.Width, W);
                ASSERT_EQ(picture.Height, H);
                EXPECT_EQ(picture.Pixels, expected);
            }
}

TEST(PngReader, TransparencyChunkOfGreyAndRgbPicturesMakesTheirKeyTransparent) {
    for (int colorType : {PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_RGB}) {
        std::vector<uint8_t> expected;
        LibpngPicture p = MakePicture(colorType, colorType == PNG_COLOR_TYPE_GRAY ? 1 : 3, 8, false, expected);
        const std::vector<uint8_t>& first = p.rows[0];
        p.trns = colorType == PNG_COLOR_TYPE_GRAY ? std::vector<uint8_t>{0, first[0]}
                                                  : std::vector<uint8_t>{0, first[0], 0, first[1], 0, first[2]};
        const std::vector<uint8_t> file = LibpngEncode(p);
        const TAlphaPicture picture = DecodePngPicture(file.data(), file.size());
        EXPECT_EQ(picture.Pixel(0, 0)[3], 0);
        EXPECT_EQ(picture.Pixel(1, 0)[3], 255);
    }
}

std::string MessageOf(const std::vector<uint8_t>& file) {
    try {
        DecodePngPicture(file.data(), file.size());
    } catch (const EPNG& e) {
        return e.Message();
    }
    return "";
}

size_t ChunkAt(const std::vector<uint8_t>& file, const char* type) {
    for (size_t i = 8; i + 8 <= file.size();) {
        if (std::memcmp(&file[i + 4], type, 4) == 0) return i;
        i += 12 + (uint32_t(file[i]) << 24 | uint32_t(file[i + 1]) << 16 | uint32_t(file[i + 2]) << 8 | file[i + 3]);
    }
    return 0;
}

void PutU32BE(std::vector<uint8_t>& file, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = uint8_t(v >> (24 - 8 * i));
}

// A file with a fresh CRC for the chunk at `at` after its bytes were changed.
void FixCrc(std::vector<uint8_t>& file, size_t at) {
    const uint32_t length = uint32_t(file[at]) << 24 | uint32_t(file[at + 1]) << 16 | uint32_t(file[at + 2]) << 8 | file[at + 3];
    PutU32BE(file, at + 8 + length, uint32_t(crc32(0, &file[at + 4], 4 + length)));
}

TEST(PngReader, DamagedAndHostileFilesGetTheirMessage) {
    std::vector<uint8_t> expected;
    const std::vector<uint8_t> good = LibpngEncode(MakePicture(PNG_COLOR_TYPE_RGB, 3, 8, false, expected));
    const size_t idat = ChunkAt(good, "IDAT");
    ASSERT_GT(idat, 0u);
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        const char* message;
    };
    std::vector<Case> cases;
    auto add = [&](const char* name, const char* message, auto change) {
        std::vector<uint8_t> file = good;
        change(file);
        cases.push_back({name, file, message});
    };
    add("not a PNG", ErrorText::PngInvalid, [](auto& f) { f[1] = 'J'; });
    add("bad CRC", ErrorText::PngBadCrc, [&](auto& f) { f[ChunkAt(f, "IEND") - 1] ^= 0x55; });  // the image data's
    add("cut short", ErrorText::PngTruncated, [&](auto& f) { f.resize(idat + 20); });
    add("header chunk of the wrong length", ErrorText::PngBadChunkLength, [](auto& f) { PutU32BE(f, 8, 12); });
    add("image data chunk longer than the file", ErrorText::PngTruncated, [&](auto& f) { PutU32BE(f, idat, 1u << 30); });
    add("damaged compressed data", ErrorText::PngBadData, [&](auto& f) {
        f[idat + 8] ^= 0x0F;
        FixCrc(f, idat);
    });
    add("sides beyond the limit", ErrorText::PngTooLarge, [](auto& f) {
        PutU32BE(f, 16, PngLimits::MaxSide + 1);
        FixCrc(f, 8);
    });
    add("more pixels than the budget", ErrorText::PngTooLarge, [](auto& f) {
        PutU32BE(f, 16, 20000), PutU32BE(f, 20, 20000);
        FixCrc(f, 8);
    });
    add("a tiny file claiming a big picture", ErrorText::PngTooLittleData, [](auto& f) {
        PutU32BE(f, 16, 8000), PutU32BE(f, 20, 8000);
        FixCrc(f, 8);
    });
    for (const Case& c : cases) EXPECT_EQ(MessageOf(c.file), c.message) << c.name;
    EXPECT_EQ(MessageOf(good), "");
}

// libspng 0.7.3 refuses a whole file for an empty eXIf chunk; the build's patch drops the
// chunk alone (fuzz/corpus/png_read/empty_exif is the same file).
TEST(PngReader, AnEmptyExifChunkIsDroppedAndThePictureRead) {
    std::vector<uint8_t> expected;
    std::vector<uint8_t> file = LibpngEncode(MakePicture(PNG_COLOR_TYPE_GRAY, 1, 8, false, expected));
    const std::vector<uint8_t> exif = {0, 0, 0, 0, 'e', 'X', 'I', 'f', 0, 0, 0, 0};
    file.insert(file.begin() + long(ChunkAt(file, "IDAT")), exif.begin(), exif.end());
    FixCrc(file, ChunkAt(file, "eXIf"));
    const TAlphaPicture picture = DecodePngPicture(file.data(), file.size());
    EXPECT_EQ(picture.Pixels, expected);
}

}  // namespace
