// The two-thread JPEG to PNG conversion: the same file as the decoded photograph written row
// by row after decoding, holding exactly the decoded pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "convert/JpegPngPipeline.h"
#include "picture/png/AlphaPicture.h"
#include "picture/png/PngWriter.h"
#include "portable/jpeg/JpegTestSupport.h"

namespace {

TEST(JpegPngPipeline, WritesTheFileOfTheStagesInTurnWithTheDecodedPixels) {
    for (const auto& [width, height, bottomUp] : {std::tuple{1, 1, false}, {333, 277, true}, {64, 700, false}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const std::vector<uint8_t> jpeg = EncodeToBytes(MakeSyntheticPhoto(width, height));
        const MemoryDecodeTarget decoded = DecodeBytes(jpeg, {}, bottomUp);
        TMemoryStream inTurn;
        TPngWriter writer(inTurn, width, height, TPngLayout::Rgb);
        for (int y = 0; y < height; ++y) writer.AddRow(decoded.Row(y));
        writer.Finish();

        TMemoryStream in(jpeg), onTwoThreads;
        MemoryDecodeTarget rows(bottomUp);
        PipeJpegToPng(in, {}, rows, onTwoThreads);
        EXPECT_EQ(onTwoThreads.Bytes(), inTurn.Bytes());

        const TAlphaPicture picture = DecodePngPicture(onTwoThreads.Memory(), onTwoThreads.Bytes().size());
        ASSERT_EQ(picture.Height, height);
        for (int y = 0; y < height; y += 7)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(0, std::memcmp(picture.Pixel(x, y), decoded.Row(y) + x * 3, 3)) << x << "," << y;
    }
}

}  // namespace
