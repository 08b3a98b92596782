#include <gtest/gtest.h>

#include <memory>

#include "GifTestBuilder.h"
#include "base/Exceptions.h"
#include "gif/codec/GifBitReader.h"
#include "gif/codec/GifLzwDecoder.h"

using giftest::PackCodes;

namespace {

struct Decoded {
    std::vector<uint8_t> pixels;
    TGifLzwStop stop;
};

Decoded DecodeCodes(const std::vector<int>& codes, int minCodeSize, size_t count, uint8_t fill = 0xEE) {
    std::vector<uint8_t> data = PackCodes(codes, minCodeSize);
    data.resize(data.size() + TGifBitReader::kPadding);
    TGifBitReader bits(data.data(), data.size() - TGifBitReader::kPadding);
    auto decoder = std::make_unique<TGifLzwDecoder>();
    Decoded out{std::vector<uint8_t>(count, fill), TGifLzwStop::Complete};
    out.stop = decoder->Decode(bits, minCodeSize, out.pixels.data(), count, fill);
    return out;
}

TEST(GifBitReader, TakesCodesLeastSignificantBitFirstAcrossBytes) {
    const uint8_t data[2 + TGifBitReader::kPadding] = {0xB4, 0x0A};  // 1011 0100, 0000 1010
    TGifBitReader bits(data, 2);
    EXPECT_EQ(bits.Read(3), 4);      // 100
    EXPECT_EQ(bits.Read(7), 0x56);   // 10110 + 10
    EXPECT_EQ(bits.Read(5), 0x02);   // 00010
    EXPECT_EQ(bits.BitsLeft(), 1u);
    EXPECT_EQ(bits.Read(2), -1);     // only one bit left: no whole code
    EXPECT_EQ(bits.Read(1), 0);
    EXPECT_EQ(bits.Read(1), -1);
}

TEST(GifBitReader, GivesEveryWholeCodeUpToTheLastBitAndNoMore) {
    // The end is tested only near it, so every length and every position of the last code
    // (a lead of other bits first) is tried.
    std::vector<uint8_t> data(6 + TGifBitReader::kPadding, 0xFF);
    for (size_t bytes = 1; bytes <= 6; ++bytes)
        for (unsigned lead = 0; lead < 12; ++lead)
            for (unsigned width = 1; width <= 12; ++width) {
                TGifBitReader bits(data.data(), bytes);
                if (lead > 0 && bits.Read(lead) < 0) continue;
                size_t codes = 0;
                while (codes <= 48 && bits.Read(width) >= 0) ++codes;  // bounded: a wrong end test never ends
                const size_t rest = bytes * 8 - lead;
                EXPECT_EQ(codes, rest / width) << bytes << " bytes, lead " << lead << ", width " << width;
                EXPECT_EQ(bits.BitsLeft(), rest % width) << bytes << " bytes, lead " << lead << ", width " << width;
            }
}

TEST(GifLzwDecoder, ExpandsStringsIncludingTheCodeBeingDefined) {
    // Colours 0..3 (clear 4, end 5). Entries: 6 = "1 1" (used while being defined),
    // 7 = "1 1 1", 8 = "1 1 2", 9 = "2 2" (again used while being defined).
    auto d = DecodeCodes({4, 1, 6, 6, 2, 9, 5}, 2, 10);
    EXPECT_EQ(d.stop, TGifLzwStop::EndCode);
    EXPECT_EQ(d.pixels, (std::vector<uint8_t>{1, 1, 1, 1, 1, 2, 2, 2, 0xEE, 0xEE}));
}

TEST(GifLzwDecoder, WidensCodesAndClearsLikeAnEncoder) {
    // A long run of one colour walks through 9, 10, 11 and 12 bit codes and a clear.
    std::vector<uint8_t> pixels = giftest::NoisePixels(300000, 256, 7);
    auto d = DecodeCodes(giftest::LiteralCodes(pixels, 8), 8, pixels.size());
    EXPECT_EQ(d.stop, TGifLzwStop::Complete);
    EXPECT_EQ(d.pixels, pixels);
}

TEST(GifLzwDecoder, EarlyEndKeepsTheFillValue) {
    // Three 3-bit codes and a 4-bit one fill two bytes exactly.
    auto d = DecodeCodes({4, 1, 2, 3, 3}, 2, 40, 7);
    EXPECT_EQ(d.stop, TGifLzwStop::OutOfData);
    std::vector<uint8_t> expected(40, 7);
    expected[0] = 1, expected[1] = 2, expected[2] = 3, expected[3] = 3;
    EXPECT_EQ(d.pixels, expected);
}

TEST(GifLzwDecoder, StopsWhenEveryPixelIsStoredEvenInsideAString) {
    auto d = DecodeCodes({4, 3, 6, 6, 6, 5}, 2, 4);
    EXPECT_EQ(d.stop, TGifLzwStop::Complete);
    EXPECT_EQ(d.pixels, (std::vector<uint8_t>{3, 3, 3, 3}));
}

TEST(GifLzwDecoder, ClearCodesInARowAndAtTheStartAreSkipped) {
    auto d = DecodeCodes({4, 4, 4, 2, 4, 3, 6, 5}, 2, 5);
    EXPECT_EQ(d.pixels, (std::vector<uint8_t>{2, 3, 3, 3, 0xEE}));
}

TEST(GifLzwDecoder, UndefinedCodesFallBackToTheTableWalkWithoutFault) {
    // 12 is above the next free code (8); the previous string and its first pixel are used,
    // as for the code being defined.
    auto d = DecodeCodes({4, 1, 2, 3, 12, 5}, 2, 8);
    EXPECT_EQ(d.stop, TGifLzwStop::EndCode);
    EXPECT_EQ(d.pixels, (std::vector<uint8_t>{1, 2, 3, 3, 3, 0xEE, 0xEE, 0xEE}));
    // A run that starts with a code that is not a colour keeps going.
    auto e = DecodeCodes({4, 7, 1, 5}, 2, 3);
    EXPECT_EQ(e.pixels[0], 7);
}

TEST(GifLzwDecoder, LoopingChainsRaiseCircularEntry) {
    // An undefined code makes entry 7 its own prefix; using it must not loop.
    std::vector<int> codes{4, 1, 7, 7, 7};
    try {
        DecodeCodes(codes, 2, 1000);
        FAIL() << "expected an error";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Circular decoder table entry");
    }
}

TEST(GifLzwDecoder, LargestCodeSizeAndTinyCodeSizesAreSafe) {
    auto d = DecodeCodes({2048, 300, 1000, 2049}, 11, 3);
    EXPECT_EQ(d.pixels, (std::vector<uint8_t>{300 & 0xFF, 1000 & 0xFF, 0xEE}));
    for (int m = 0; m < 2; ++m) {
        std::vector<int> codes;
        for (int i = 0; i < 5000; ++i) codes.push_back(i % 3 == 0 ? 0 : (i % (1 << (m + 1))));
        DecodeCodes(codes, m, 5000);  // must neither fault nor hang
    }
}

}  // namespace
