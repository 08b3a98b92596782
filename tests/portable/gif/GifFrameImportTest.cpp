#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "GiflibDecode.h"
#include "base/Exceptions.h"

namespace {

TGIFBitmapSource SourceOf(int width, int height, int bitsPerPixel, const std::vector<std::vector<uint8_t>>& rows,
                          std::vector<TGIFColor> colors = {}) {
    TGIFBitmapSource source;
    source.Width = width;
    source.Height = height;
    source.BitsPerPixel = bitsPerPixel;
    source.Colors = std::move(colors);
    source.Row = [&rows](int row) { return rows[static_cast<size_t>(row)].data(); };
    return source;
}

}  // namespace

TEST(GifFrameImportTest, PackedDepthsUnpackHighBitsFirst) {
    TGIFImageModel image;
    std::vector<std::vector<uint8_t>> oneBit = {{0xA5, 0x80}, {0x01, 0x00}};
    image.AssignBitmap(SourceOf(9, 2, 1, oneBit, {{0, 0, 0}, {255, 255, 255}}));
    EXPECT_EQ(image.Images[0].Data, (std::vector<uint8_t>{1, 0, 1, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(image.Images[0].ColorMap.Count(), 2);

    std::vector<std::vector<uint8_t>> fourBit = {{0x12, 0xF0}};
    image.AssignBitmap(SourceOf(3, 1, 4, fourBit, GreyRamp(16)));
    EXPECT_EQ(image.Images.Count(), 1);
    EXPECT_EQ(image.Images[0].Data, (std::vector<uint8_t>{1, 2, 15}));
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 1);

    std::vector<std::vector<uint8_t>> eightBit = {{9, 8, 7, 0xEE}, {1, 2, 3, 0xEE}};
    image.AssignBitmap(SourceOf(3, 2, 8, eightBit, GreyRamp(10)));
    EXPECT_EQ(image.Images[0].Data, (std::vector<uint8_t>{9, 8, 7, 1, 2, 3}));
    TDecodedGif decoded = DecodeWithGiflib(SaveToBytes(image));
    ASSERT_TRUE(decoded.Ok);
    EXPECT_EQ(decoded.Frames[0].Pixels, (std::vector<uint8_t>{9, 8, 7, 1, 2, 3}));
}

TEST(GifFrameImportTest, TrueColorKeepsItsColorsInOrderOfAppearance) {
    // Twelve colours cycling: more than the ring holds, so colours come back after a miss.
    const int width = 40, height = 3;
    std::vector<std::vector<uint8_t>> rows(height);
    std::vector<uint8_t> expected;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int k = (x * (y + 1)) % 12;
            rows[static_cast<size_t>(y)].insert(rows[static_cast<size_t>(y)].end(),
                                                {static_cast<uint8_t>(k), static_cast<uint8_t>(2 * k), static_cast<uint8_t>(100 + k)});
            expected.push_back(static_cast<uint8_t>(k));  // first row shows 0 .. 11 in order
        }
    TGIFImageModel image;
    image.AssignBitmap(SourceOf(width, height, 24, rows));
    const TGIFSubImage& frame = image.Images[0];
    ASSERT_EQ(frame.ColorMap.Count(), 12);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(frame.ColorMap[k], (TGIFColor{static_cast<uint8_t>(100 + k), static_cast<uint8_t>(2 * k), static_cast<uint8_t>(k)}));
    EXPECT_EQ(frame.Data, expected);
    TDecodedGif decoded = DecodeWithGiflib(SaveToBytes(image));
    ASSERT_TRUE(decoded.Ok);
    EXPECT_EQ(decoded.Frames[0].Pixels, expected);
    EXPECT_EQ(decoded.Frames[0].LocalColors.size(), 16u);
}

TEST(GifFrameImportTest, MoreThan256TrueColorsOverflow) {
    std::vector<std::vector<uint8_t>> rows(1);
    for (int i = 0; i < 257; ++i) rows[0].insert(rows[0].end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i >> 8), 0});
    TGIFImageModel image;
    try {
        image.AssignBitmap(SourceOf(257, 1, 24, rows));
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Color table overflow");
    }
    rows[0].resize(256 * 3);
    EXPECT_EQ(image.AssignBitmap(SourceOf(256, 1, 24, rows)).ColorMap.Count(), 256);
}

TEST(GifFrameImportTest, ColorMapGrowthAndDepths) {
    TGIFColorMap map;
    EXPECT_EQ(map.BitsPerPixel(), 0);
    std::vector<int> capacities;
    for (int i = 0; i < 256; ++i) {
        map.Add({static_cast<uint8_t>(i), 0, 0});
        if (capacities.empty() || capacities.back() != map.Capacity()) capacities.push_back(map.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{16, 48, 80, 112, 144, 176, 208, 240, 256}));
    EXPECT_THROW(map.Add({}), GIFException);
    const std::pair<int, int> depths[] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {8, 3}, {9, 4}, {128, 7}, {129, 8}, {256, 8}};
    for (auto [count, depth] : depths) EXPECT_EQ(TGIFColorMap::DepthForCount(count), depth) << count;
}

TEST(GifFrameImportTest, TransparentBitmapsGainAGraphicControlExtension) {
    std::vector<std::vector<uint8_t>> rows = {{0, 1, 2}};
    TGIFBitmapSource source = SourceOf(3, 1, 8, rows, {{1, 2, 3}, {200, 0, 0}, {0, 0, 200}});
    source.Transparent = true;
    source.TransparentColor = {200, 0, 0};
    TGIFImageModel image;
    TGIFSubImage& frame = image.AssignBitmap(source);
    ASSERT_NE(frame.GraphicControlExtension, nullptr);
    EXPECT_TRUE(frame.Transparent);
    EXPECT_TRUE(frame.GraphicControlExtension->Transparent());
    EXPECT_EQ(frame.GraphicControlExtension->TransparentColorIndex, 1);
    std::vector<uint8_t> file = SaveToBytes(image);
    EXPECT_EQ(file[4], '9');
    TDecodedGif decoded = DecodeWithGiflib(file);
    ASSERT_TRUE(decoded.Ok);
    EXPECT_EQ(decoded.ExtensionBlocks, 1);
}

TEST(GifFrameImportTest, ScreenGrowsWithFramesAndWarns) {
    TGIFImageModel image;
    std::vector<std::string> warnings;
    image.OnWarning = [&](const std::string& text) { warnings.push_back(text); };
    auto first = std::make_unique<TGIFSubImage>(&image);
    first->SetBounds(0, 0, 10, 5);
    image.Images.Add(std::move(first));
    EXPECT_TRUE(warnings.empty());
    auto second = std::make_unique<TGIFSubImage>(&image);
    second->SetBounds(4, 0, 10, 5);
    image.Images.Add(std::move(second));
    EXPECT_EQ(warnings, (std::vector<std::string>{"Image width too small for contained frames",
                                                  "Image exceeds Logical Screen size"}));
    EXPECT_EQ(image.Width(), 14);
    try {
        image.Header.SetHeight(4);
        ADD_FAILURE();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Image height too small for contained frames");
    }
    EXPECT_THROW(image.Header.SetWidth(13), GIFException);
    image.Header.SetWidth(20);
    EXPECT_EQ(image.Width(), 20);
}

TEST(GifFrameImportTest, ProgressEvery32RowsAndWhileSaving) {
    std::vector<std::vector<uint8_t>> rows(70, std::vector<uint8_t>(4, 0));
    TGIFImageModel image;
    std::vector<std::string> messages;
    image.OnProgress = [&](TGIFProgressStage, int, const std::string& text) { messages.push_back(text); };
    image.AssignBitmap(SourceOf(4, 70, 8, rows, GreyRamp(2)));
    EXPECT_EQ(messages, (std::vector<std::string>{"Converting...", "Converting...", "Converting..."}));
    messages.clear();
    SaveToBytes(image);
    EXPECT_EQ(messages, (std::vector<std::string>{"Saving...", "Saving...", "Saving..."}));
}

TEST(GifFrameImportTest, EmptyBitmapGivesAnEmptyFrame) {
    TGIFImageModel image;
    TGIFSubImage& frame = image.AssignBitmap(TGIFBitmapSource{});
    EXPECT_TRUE(frame.Empty());
    EXPECT_EQ(frame.ColorMap.Count(), 0);
    EXPECT_FALSE(image.Empty());
    // A picture whose only frame has no pixels is a header and a trailer.
    std::vector<uint8_t> file = SaveToBytes(image);
    EXPECT_EQ(file.size(), 14u);
    EXPECT_EQ(file.back(), 0x3B);
}
