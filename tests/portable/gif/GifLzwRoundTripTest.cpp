// The LZW coder against giflib's, code for code, and the reader on what giflib writes, over
// pictures whose strings are short (noise), of every length up to thousands of pixels (runs),
// and repeat their paths (photographs), large enough for the decoder's roomy middle and small
// enough for its careful end alone.
#include <gtest/gtest.h>

#include <cmath>

#include "GifTestBuilder.h"
#include "GifTestSupport.h"
#include "GiflibPeer.h"
#include "gif/codec/GifLzwEncoder.h"

namespace {

// A smooth picture with a little dither noise in `colors` levels, as a reduced photograph is.
std::vector<uint8_t> PhotoPixels(int width, int height, int colors) {
    std::vector<uint8_t> pixels;
    uint32_t noise = 99;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const double v = 0.5 + 0.3 * std::sin(x / 41.0) + 0.2 * std::cos(y / 23.0);
            pixels.push_back(static_cast<uint8_t>(std::min(colors - 1.0, v * (colors - 1) + (noise >> 31))));
        }
    return pixels;
}

// The minimum code size and the joined sub-blocks of the one frame of a file.
std::vector<uint8_t> CodeData(const std::vector<uint8_t>& file) {
    size_t at = 13 + ((file[10] & 0x80) ? size_t{3} << ((file[10] & 7) + 1) : 0);
    auto skipBlocks = [&] {
        while (file.at(at) != 0) at += size_t{1} + file[at];
        ++at;
    };
    while (file.at(at) == 0x21) at += 2, skipBlocks();
    const uint8_t packed = file.at(at + 9);
    at += 10 + ((packed & 0x80) ? size_t{3} << ((packed & 7) + 1) : 0);
    std::vector<uint8_t> data{file.at(at++)};
    while (file.at(at) != 0) {
        data.insert(data.end(), file.begin() + static_cast<long>(at) + 1,
                    file.begin() + static_cast<long>(at) + 1 + file[at]);
        at += size_t{1} + file[at];
    }
    return data;
}

// The same pixels coded a row at a time, as the converter hands them over, by a coder that
// keeps at most stepLimit four-pixel steps.
std::vector<uint8_t> CodedInRows(const std::vector<uint8_t>& pixels, int width, int bitsPerPixel,
                                 uint32_t stepLimit = TFourStepTable::Size / 2) {
    TMemoryStream stream;
    TGIFWriter writer(stream);
    TLZWEncoder encoder(stepLimit);
    encoder.Begin(writer, bitsPerPixel, 1 << bitsPerPixel);
    for (size_t row = 0; row < pixels.size(); row += static_cast<size_t>(width))
        encoder.Add(pixels.data() + row, static_cast<size_t>(width));
    encoder.Finish();
    writer.Finish();
    std::vector<uint8_t> data{static_cast<uint8_t>(bitsPerPixel)};
    const std::vector<uint8_t>& blocks = stream.Bytes();
    for (size_t at = 0; blocks[at] != 0; at += size_t{1} + blocks[at])
        data.insert(data.end(), blocks.begin() + static_cast<long>(at) + 1,
                    blocks.begin() + static_cast<long>(at) + 1 + blocks[at]);
    return data;
}

TEST(GifLzwRoundTrip, CodesAsGiflibAndReadsBackWhatGiflibWrites) {
    struct Case {
        const char* kind;
        int width, height, colors;
        std::vector<uint8_t> pixels;
    };
    const Case cases[] = {
        {"photograph", 900, 700, 216, PhotoPixels(900, 700, 216)},
        {"photograph, few colours", 333, 200, 16, PhotoPixels(333, 200, 16)},
        {"runs", 640, 480, 256, RunPixels(640 * 480, 256, 700, 5)},
        {"long runs of two colours", 1000, 300, 2, RunPixels(1000 * 300, 2, 5000, 6)},
        {"noise", 512, 400, 256, RandomPixels(512 * 400, 256, 7)},
        {"small photograph", 7, 5, 216, PhotoPixels(7, 5, 216)},
        {"small runs", 3, 9, 4, RunPixels(27, 4, 6, 8)},
        {"rows of three", 3, 2000, 256, RunPixels(6000, 3, 40, 9)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const int tableSize = 1 << TGIFColorMap::DepthForCount(c.colors);
        TGIFImageModel image;
        AddFrame(image, c.width, c.height, GreyRamp(tableSize), c.pixels);
        giftest::PeerImage peer;
        peer.width = c.width, peer.height = c.height, peer.globalColors = tableSize;
        peer.frames.push_back({0, 0, c.width, c.height, false, 0, -1, 0, 0, c.pixels});
        const std::vector<uint8_t> theirs = giftest::WriteWithGiflib(peer);
        ASSERT_FALSE(theirs.empty());

        const std::vector<uint8_t> ours = CodeData(SaveToBytes(image));
        EXPECT_TRUE(ours == CodeData(theirs)) << "codes differ from giflib's";
        const int bits = std::max(2, TGIFColorMap::DepthForCount(c.colors));
        EXPECT_TRUE(CodedInRows(c.pixels, c.width, bits) == ours) << "coding a row at a time changed the codes";
        // Where the table of steps is full, a string goes on by single steps past where a step
        // would have taken it.
        for (uint32_t stepLimit : {0u, 40u})
            EXPECT_TRUE(CodedInRows(c.pixels, c.width, bits, stepLimit) == ours) << "with " << stepLimit << " steps";
        giftest::Loaded loaded = giftest::Load(theirs);
        ASSERT_EQ(loaded.error, "");
        ASSERT_EQ(loaded.Frames(), 1);
        EXPECT_TRUE(loaded.Frame(0).Data == c.pixels) << "decoded pixels differ";
        EXPECT_TRUE(loaded.warnings.empty());
    }
}

}  // namespace
